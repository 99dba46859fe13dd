#include "launcher/root_ini.h"

#include <cstdlib>
#include <cstring>
#include <functional>

#include "platform/system/files.h"

namespace {

bool IsTokenSpace(int c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

// Reads a number token and converts it with `convert` (a strtol-shaped function).
template <typename Value, typename Convert>
int ReadNumber(std::FILE* stream, Value* value, int base, Convert convert) {
  char token[kRootIniNumberSize];
  if (ReadToken(stream, token, sizeof token) != 0) return -1;
  char* end = nullptr;
  const Value converted = convert(token, &end, base);
  if (end == token) return 1;
  *value = converted;
  return 0;
}

bool ReadString(std::FILE* stream, char* buffer, size_t size) { return ReadToken(stream, buffer, size) == 0; }

// Tokens 2 to 16; *token is the number of the one being read when it fails.
int ReadRequiredTokens(std::FILE* stream, RootIniSettings* settings, int* token) {
  const auto text = [stream](char* buffer, size_t size) { return [=] { return ReadString(stream, buffer, size); }; };
  const auto decimal = [stream](long* value) { return [=] { return ReadLong(stream, value) == 0; }; };
  const std::function<bool()> reads[] = {
      text(settings->icon_file, sizeof settings->icon_file),
      text(settings->background_picture, sizeof settings->background_picture),
      [&] { return ReadHex(stream, &settings->status_text_colour) == 0; },
      decimal(&settings->status_text_top),
      text(settings->button_caption, sizeof settings->button_caption),
      decimal(&settings->button_left),
      decimal(&settings->button_top),
      decimal(&settings->button_width),
      decimal(&settings->button_height),
      text(settings->meta_file_url_1, sizeof settings->meta_file_url_1),
      text(settings->meta_file_url_2, sizeof settings->meta_file_url_2),
      text(settings->default_program_folder, sizeof settings->default_program_folder),
      text(settings->default_program, sizeof settings->default_program),
      text(settings->default_program_arguments, sizeof settings->default_program_arguments),
  };
  for (const auto& read : reads) {
    ++*token;
    if (!read()) return ROOTINI_MISSING_TOKEN;
  }
  ++*token;
  char marker[kRootIniMarkerSize];
  if (!ReadString(stream, marker, sizeof marker)) return ROOTINI_MISSING_TOKEN;
  if (std::strcmp(marker, "END_OF_FILE") != 0) return ROOTINI_NO_END_MARKER;
  return ROOTINI_OK;
}

// Tokens 17 to 20: either all of them count or none.
void ReadOptionalTokens(std::FILE* stream, RootIniSettings* settings) {
  char closing[kRootIniMarkerSize];
  const bool read = ReadString(stream, settings->product_name, sizeof settings->product_name) &&
                    ReadString(stream, settings->registry_key, sizeof settings->registry_key) &&
                    ReadString(stream, settings->shortcut_file_name, sizeof settings->shortcut_file_name) &&
                    ReadString(stream, closing, sizeof closing);
  if (!read) {
    settings->product_name[0] = '\0';
    settings->registry_key[0] = '\0';
    settings->shortcut_file_name[0] = '\0';
  }
}

}  // namespace

int ReadToken(std::FILE* stream, char* buffer, size_t size) {
  if (size == 0) return -2;
  int c = std::getc(stream);
  while (c != EOF && IsTokenSpace(c)) c = std::getc(stream);
  if (c == EOF) return -1;
  size_t length = 0;
  if (c == '"') {
    for (;;) {
      c = std::getc(stream);
      if (c == EOF) return -1;
      if (c == '"') break;
      if (length + 1 >= size) return -2;
      buffer[length++] = static_cast<char>(c);
    }
    (void)std::getc(stream);  // the character after the closing quote goes with it
  } else {
    // A plain token also ends at the end of the stream: a file may stop right after its last token.
    while (c != EOF && !IsTokenSpace(c)) {
      if (length + 1 >= size) return -2;
      buffer[length++] = static_cast<char>(c);
      c = std::getc(stream);
    }
  }
  buffer[length] = '\0';
  return 0;
}

int ReadLong(std::FILE* stream, long* value) { return ReadNumber(stream, value, 10, std::strtol); }

int ReadULong(std::FILE* stream, unsigned long* value) { return ReadNumber(stream, value, 10, std::strtoul); }

int ReadHex(std::FILE* stream, unsigned long* value) { return ReadNumber(stream, value, 16, std::strtoul); }

int ReadRootIniStream(std::FILE* stream, RootIniSettings* settings, int* failed_token) {
  *settings = RootIniSettings{};
  int token = 1;
  if (failed_token != nullptr) *failed_token = token;
  if (ReadLong(stream, &settings->version) != 0) return ROOTINI_NO_VERSION;
  if (settings->version != 0) return ROOTINI_BAD_VERSION;
  const int result = ReadRequiredTokens(stream, settings, &token);
  if (failed_token != nullptr) *failed_token = token;
  if (result != ROOTINI_OK) return result;
  ReadOptionalTokens(stream, settings);
  return ROOTINI_OK;
}

int ReadRootIni(const char* file_name, RootIniSettings* settings, int* failed_token) {
  if (failed_token != nullptr) *failed_token = 0;
  std::FILE* stream = platform::FileOpen(file_name, "rb");
  if (stream == nullptr) {
    *settings = RootIniSettings{};
    return ROOTINI_CANNOT_OPEN;
  }
  const int result = ReadRootIniStream(stream, settings, failed_token);
  std::fclose(stream);
  return result;
}
