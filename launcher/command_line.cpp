#include "launcher/command_line.h"

#include <algorithm>

#include "platform/system/ascii_text.h"

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

// The rest without any blank-separated word "relocated" (and the blanks that followed it); all
// other characters stay as they were.
std::string WithoutRelocatedWord(std::string_view rest) {
  std::string kept;
  size_t position = 0;
  while (position < rest.size()) {
    size_t word_start = position;
    while (word_start < rest.size() && IsBlank(rest[word_start])) ++word_start;
    size_t word_end = word_start;
    while (word_end < rest.size() && !IsBlank(rest[word_end])) ++word_end;
    const std::string_view word = rest.substr(word_start, word_end - word_start);
    if (platform::EqualsIgnoringCase(word, "relocated")) {
      kept.append(rest.substr(position, word_start - position));
      position = word_end;
      while (position < rest.size() && IsBlank(rest[position])) ++position;
    } else {
      kept.append(rest.substr(position, word_end - position));
      position = word_end;
    }
  }
  return kept;
}

}  // namespace

LauncherCommandLine ParseLauncherCommandLine(std::string_view command_line) {
  LauncherCommandLine parsed;
  size_t position = 0;
  while (position < command_line.size() && IsBlank(command_line[position])) ++position;
  if (!platform::StartsWithIgnoringCase(command_line.substr(position), "/q")) {
    parsed.rest = std::string(command_line.substr(position));
    return parsed;
  }
  position += 2;
  bool stands_alone = true;
  char last_sign = 0;
  while (position < command_line.size()) {
    const char c = command_line[position];
    if (c == '-' || c == '+') {
      last_sign = c;
      stands_alone = false;
      ++position;
    } else if (c == '"') {
      stands_alone = false;
      ++position;
      const size_t close = command_line.find('"', position);
      const size_t end = close == std::string_view::npos ? command_line.size() : close;
      parsed.settings_file = std::string(command_line.substr(position, std::min(end - position, kSettingsFileNameLength)));
      position = close == std::string_view::npos ? end : close + 1;
    } else {
      break;
    }
  }
  parsed.skip_upgrade = stands_alone || last_sign == '-';
  parsed.rest = std::string(command_line.substr(position));
  return parsed;
}

std::string StartedProgramArguments(std::string_view program_arguments, std::string_view rest) {
  std::string text(program_arguments);
  text += ' ';
  text += WithoutRelocatedWord(rest);
  return text;
}
