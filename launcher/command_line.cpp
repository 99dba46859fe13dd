#include "launcher/command_line.h"

#include <algorithm>

#include "platform/system/ascii_text.h"

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

constexpr std::string_view kRelocatedWord = "relocated";

// The length of the leading "relocated" word of `rest` with the blanks around it; 0 when the rest
// does not begin with that word.
size_t RelocatedWordLength(std::string_view rest) {
  size_t position = 0;
  while (position < rest.size() && IsBlank(rest[position])) ++position;
  if (rest.substr(position, kRelocatedWord.size()) != kRelocatedWord) return 0;
  position += kRelocatedWord.size();
  if (position < rest.size() && !IsBlank(rest[position])) return 0;
  while (position < rest.size() && IsBlank(rest[position])) ++position;
  return position;
}

}  // namespace

LauncherCommandLine ParseLauncherCommandLine(std::string_view command_line) {
  LauncherCommandLine parsed;
  size_t position = 0;
  while (position < command_line.size() && IsBlank(command_line[position])) ++position;
  if (!platform::StartsWithIgnoringCase(command_line.substr(position), "/q")) {
    parsed.rest = std::string(command_line.substr(position));
    parsed.relocated = RelocatedWordLength(parsed.rest) > 0;
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
  parsed.relocated = RelocatedWordLength(parsed.rest) > 0;
  return parsed;
}

std::string StartedProgramArguments(std::string_view program_arguments, std::string_view rest) {
  std::string text(program_arguments);
  text += ' ';
  text += rest.substr(RelocatedWordLength(rest));
  return text;
}
