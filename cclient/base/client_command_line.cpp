#include "cclient/base/client_command_line.h"

#include <strings.h>

#include <cstdio>
#include <limits>

#include "cclient/base/debug_log.h"
#include "platform/system/files.h"

namespace {

constexpr const char* kNoFileName = "Input parameter file name expected for /Z option.";
constexpr const char* kCannotOpenFile = "Unable to open input parameter file for /Z option.";
constexpr const char* kCannotReadFile = "Unable to read input parameters from file for /Z option.";
constexpr const char* kIncorrectParameters = "Incorrect parameters entered\n";

// Blanks and tabs separate words; so do the line breaks of a parameter file, which would otherwise
// end up inside its last word (a host "alpha\r\n" that cannot be found).
bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

const char* SkipBlanks(const char* p) {
  while (IsBlank(*p)) ++p;
  return p;
}

bool IsOptionSign(char c) { return c == '/' || c == '-'; }

// A signed decimal number at the start of `text`, stopping at the first character that is not a
// digit (0 when none is); held to the range of an i32.
int32_t LeadingNumber(const char* text) {
  bool negative = false;
  if (*text == '+' || *text == '-') negative = *text++ == '-';
  int64_t value = 0;
  constexpr int64_t kLimit = int64_t{std::numeric_limits<int32_t>::max()} + 1;
  while (*text >= '0' && *text <= '9') {
    value = value * 10 + (*text++ - '0');
    if (value > kLimit) value = kLimit;
  }
  if (negative) return static_cast<int32_t>(-value);
  return static_cast<int32_t>(value > std::numeric_limits<int32_t>::max() ? std::numeric_limits<int32_t>::max()
                                                                          : value);
}

bool IsPort(int32_t value) { return value >= kLowestPort && value <= kHighestPort; }

// One option word (the characters after its sign). False for an unknown option or a port out of
// range (each logged).
bool ReadOption(const std::string& option, CommandLineWords* words) {
  const char* word = option.c_str();
  if (::strcasecmp(word, "debuglog") == 0) {
    words->debug_level = kDebugLogLevel;
  } else if (::strcasecmp(word, "m") == 0) {
    words->music_off = true;
  } else if (::strcasecmp(word, "n") == 0) {
    words->sound_off = true;
  } else if (::strcasecmp(word, "netlog") == 0) {
    words->net_logging = true;
  } else if (word[0] == 'p' || word[0] == 'P') {
    // A port that a TCP port number cannot hold is refused rather than cut to 16 bits.
    const int32_t port = LeadingNumber(word + 1);
    if (!IsPort(port)) {
      DebugLog_Write("Server port of '%s' is out of range (%ld-%ld).\n", option.c_str(),
                     static_cast<long>(kLowestPort), static_cast<long>(kHighestPort));
      return false;
    }
    words->port = port;
  } else if (::strcasecmp(word, "u") == 0) {
    words->force_full_upgrade = true;
  } else {
    DebugLog_Write("Unknown command line option of '%s'\n", option.c_str());
    return false;
  }
  return true;
}

}  // namespace

const char* ReadCommandText(const char* command_line, std::string* text,
                            bool* force_full_upgrade) {
  const char* p = SkipBlanks(command_line != nullptr ? command_line : "");
  if (p[0] == '/' && (p[1] == 'u' || p[1] == 'U')) {
    *force_full_upgrade = true;
    p = SkipBlanks(p + 2);
  }
  if (!(IsOptionSign(p[0]) && (p[1] == 'z' || p[1] == 'Z'))) {
    *text = p;
    return nullptr;
  }

  p += 2;
  std::string name;
  if (*p == '"') {
    ++p;
    while (*p != '\0' && *p != '"') name.push_back(*p++);
    if (*p == '"') ++p;
  } else {
    while (*p != '\0' && !IsBlank(*p)) name.push_back(*p++);
  }
  if (name.empty()) return kNoFileName;
  std::FILE* file = platform::FileOpen(name, "rb");
  if (file == nullptr) return kCannotOpenFile;
  char bytes[kParameterFileBytes];
  const size_t got = std::fread(bytes, 1, sizeof bytes, file);
  std::fclose(file);
  if (got == 0) return kCannotReadFile;
  // The file's text ends at its first NUL, as a text does.
  size_t length = 0;
  while (length < got && bytes[length] != '\0') ++length;
  *text = std::string(bytes, length) + p;
  return nullptr;
}

const char* ReadCommandLineWords(const char* text, CommandLineWords* words) {
  const char* p = text != nullptr ? text : "";
  for (;;) {
    p = SkipBlanks(p);
    if (*p == '\0') return nullptr;
    const char* start = p;
    while (*p != '\0' && !IsBlank(*p)) ++p;
    const std::string word(start, p);
    if (IsOptionSign(word[0])) {
      const std::string option = word.substr(1);
      if (!ReadOption(option, words)) return kIncorrectParameters;
    } else if (!words->host.empty()) {
      return kIncorrectParameters;
    } else {
      words->host = word;
    }
  }
}
