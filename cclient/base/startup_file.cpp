#include "cclient/base/startup_file.h"

#include <algorithm>
#include <cstring>

#include "cclient/base/debug_log.h"

StartupSettings g_StartupSettings = StartupSettings_BuiltIn();
uint8_t PlayMoneyEdition = 0;

namespace {

constexpr const char* kOpenError = "Unable to open INI file";
constexpr const char* kReadError = "Unable to read INI file";
constexpr const char* kVersionError = "Unsupported INI version";
constexpr const char* kEndMarker = "END_OF_FILE";

bool IsSeparator(int c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

// Copies `text` into `dest` of `size` bytes, cut so that the last byte stays NUL.
void CopyCut(char* dest, size_t size, const char* text) {
  const size_t length = std::min(std::strlen(text), size - 1);
  std::memcpy(dest, text, length);
  dest[length] = '\0';
}

// Reads a text token of at most `longest` characters.
bool ReadText(FILE* stream, char* buffer, int longest) {
  return ReadFileToken(stream, buffer, longest + 1) == 0;
}

bool ReadNumber(FILE* stream, long* number) { return ReadFileNumber(stream, number) == 0; }

// What each of the 21 tokens is, for the log line that names the one that failed.
constexpr const char* kTokenNames[] = {
    "version",          "OS id",          "variant id",          "site id",
    "upgrade series",   "display name",   "server 1 host",       "server 1 port",
    "server 2 host",    "server 2 port",  "server 3 host",       "server 3 port",
    "server 4 host",    "server 4 port",  "site base address",   "secure base address",
    "splash page address", "options key", "server-status address", "banner base address",
    "end marker"};

// Records the token (numbered from 1) that failed and why; returns `error`.
const char* Fail(StartupFileFault* fault, int token, const char* reason, const char* error) {
  if (fault != nullptr) {
    fault->token = token;
    fault->name = kTokenNames[token - 1];
    fault->reason = reason;
  }
  return error;
}

}  // namespace

StartupSettings StartupSettings_BuiltIn() {
  StartupSettings s{};
  s.play_money_edition = 0;
  s.os_id = 0;
  s.variant_id = 1;
  s.site_id = 1;
  s.upgrade_series = static_cast<uint32_t>(-1);
  CopyCut(s.display_name, sizeof s.display_name, "Gaming");
  for (auto& server : s.servers) {
    CopyCut(server.host, sizeof server.host, "server");
    server.port = 8085;
  }
  CopyCut(s.options_key, sizeof s.options_key, "SOFTWARE\\Gaming\\Options");
  return s;
}

int ReadFileToken(FILE* stream, char* buffer, int size) {
  int c = std::fgetc(stream);
  while (c != EOF && IsSeparator(c)) c = std::fgetc(stream);
  if (c == EOF) return -1;

  int length = 0;
  if (c == '"') {
    for (;;) {
      c = std::fgetc(stream);
      if (c == EOF) return -1;
      if (c == '"') break;
      if (length >= size - 1) return -2;
      buffer[length++] = static_cast<char>(c);
    }
    std::fgetc(stream);  // the character right after the closing quote goes with the token
  } else {
    while (c != EOF && !IsSeparator(c)) {
      if (length >= size - 1) return -2;
      buffer[length++] = static_cast<char>(c);
      c = std::fgetc(stream);
    }
  }
  if (length > size - 1) return -2;  // not even an empty token fits a buffer of no bytes
  buffer[length] = '\0';
  return 0;
}

int ReadFileNumber(FILE* stream, long* number) {
  char token[64];
  if (ReadFileToken(stream, token, sizeof token) != 0) return -1;
  return std::sscanf(token, "%ld", number) == 1 ? 0 : 1;
}

const char* ReadStartupStream(FILE* stream, StartupSettings* out, StartupFileFault* fault) {
  StartupSettings s = *out;
  long number = 0;
  constexpr const char* kUnreadable = "cannot be read";
  int token = 1;

  if (!ReadNumber(stream, &number)) return Fail(fault, token, kUnreadable, kReadError);
  if (number != 0 && number != 1) return Fail(fault, token, "is not 0 or 1", kVersionError);
  s.play_money_edition = static_cast<uint8_t>(number);

  uint32_t* const ids[] = {&s.os_id, &s.variant_id, &s.site_id, &s.upgrade_series};
  for (uint32_t* id : ids) {
    ++token;
    if (!ReadNumber(stream, &number)) return Fail(fault, token, kUnreadable, kReadError);
    *id = static_cast<uint32_t>(number);
  }

  char text[256];
  ++token;
  if (!ReadText(stream, text, 127)) return Fail(fault, token, kUnreadable, kReadError);
  CopyCut(s.display_name, sizeof s.display_name, text);

  for (auto& server : s.servers) {
    ++token;
    if (!ReadText(stream, text, 127)) return Fail(fault, token, kUnreadable, kReadError);
    CopyCut(server.host, sizeof server.host, text);
    ++token;
    if (!ReadNumber(stream, &number)) return Fail(fault, token, kUnreadable, kReadError);
    // A port that TCP cannot hold is refused rather than cut to 16 bits.
    if (number < kStartupLowestPort || number > kStartupHighestPort) {
      return Fail(fault, token, "is not a port (1-65535)", kReadError);
    }
    server.port = static_cast<uint32_t>(number);
  }

  struct TextToken {
    char* dest;
    size_t size;
    int longest;
  };
  const TextToken texts[] = {
      {s.site_base_address, sizeof s.site_base_address, 255},
      {s.secure_base_address, sizeof s.secure_base_address, 255},
      {s.splash_page_address, sizeof s.splash_page_address, 255},
      {s.options_key, sizeof s.options_key, 127},
      {s.server_status_address, sizeof s.server_status_address, 255},
      {s.banner_base_address, sizeof s.banner_base_address, 255},
  };
  for (const TextToken& t : texts) {
    ++token;
    if (!ReadText(stream, text, t.longest)) return Fail(fault, token, kUnreadable, kReadError);
    CopyCut(t.dest, t.size, text);
  }

  ++token;
  if (!ReadText(stream, text, 31)) return Fail(fault, token, kUnreadable, kReadError);
  if (std::strcmp(text, kEndMarker) != 0) {
    return Fail(fault, token, "is not END_OF_FILE", kReadError);
  }

  *out = s;
  return nullptr;
}

const char* ReadStartupFile(const char* path) {
  FILE* stream = std::fopen(path, "rbe");
  if (stream == nullptr) return kOpenError;
  StartupSettings s = g_StartupSettings;
  StartupFileFault fault;
  const char* error = ReadStartupStream(stream, &s, &fault);
  std::fclose(stream);
  if (error != nullptr) {
    DebugLog_Write("%s: token %d (%s) %s.\n", path, fault.token, fault.name, fault.reason);
    return error;
  }
  g_StartupSettings = s;
  PlayMoneyEdition = s.play_money_edition;
  return nullptr;
}
