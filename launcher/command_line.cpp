#include "launcher/command_line.h"

#include <algorithm>

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

bool IsRelocatedWord(std::string_view word) {
  constexpr std::string_view kRelocated = "relocated";
  if (word.size() != kRelocated.size()) return false;
  for (size_t i = 0; i < word.size(); ++i) {
    char c = word[i];
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    if (c != kRelocated[i]) return false;
  }
  return true;
}

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
    if (word_start < word_end && IsRelocatedWord(rest.substr(word_start, word_end - word_start))) {
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
  const bool has_q = command_line.size() >= position + 2 && command_line[position] == '/' &&
                     (command_line[position + 1] == 'q' || command_line[position + 1] == 'Q');
  if (!has_q) {
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
