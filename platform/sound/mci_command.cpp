#include "platform/sound/mci_command.h"

#include <vector>

#include "platform/sound/sound.h"
#include "platform/system/ascii_text.h"

namespace platform {
namespace {

// Blank-separated words; a word in double quotes may hold blanks. False for an open quote.
bool SplitWords(std::string_view text, std::vector<std::string>* words) {
  size_t position = 0;
  while (position < text.size()) {
    if (text[position] == ' ' || text[position] == '\t') {
      ++position;
      continue;
    }
    if (text[position] == '"') {
      const size_t end = text.find('"', position + 1);
      if (end == std::string_view::npos) return false;
      words->emplace_back(text.substr(position + 1, end - position - 1));
      position = end + 1;
      continue;
    }
    const size_t start = position;
    while (position < text.size() && text[position] != ' ' && text[position] != '\t') ++position;
    words->emplace_back(text.substr(start, position - start));
  }
  return true;
}

bool ReadNumber(const std::string& word, uint32_t* number) {
  if (word.empty() || word.size() > 9) return false;
  uint32_t value = 0;
  for (const char c : word) {
    if (c < '0' || c > '9') return false;
    value = value * 10 + static_cast<uint32_t>(c - '0');
  }
  *number = value;
  return true;
}

}  // namespace

uint32_t ParseMciCommand(std::string_view text, MciCommand* command) {
  std::vector<std::string> words;
  if (!SplitWords(text, &words)) return MCIERR_MISSING_PARAMETER;
  if (words.empty()) return MCIERR_UNRECOGNIZED_COMMAND;
  *command = MciCommand{};
  const std::string verb = AsciiLower(words[0]);
  if (verb == "open") {
    command->verb = MciCommand::Verb::kOpen;
  } else if (verb == "play") {
    command->verb = MciCommand::Verb::kPlay;
  } else if (verb == "stop") {
    command->verb = MciCommand::Verb::kStop;
  } else if (verb == "close") {
    command->verb = MciCommand::Verb::kClose;
  } else {
    return MCIERR_UNRECOGNIZED_COMMAND;
  }
  if (words.size() < 2) return MCIERR_MISSING_PARAMETER;
  command->target = words[1];

  for (size_t i = 2; i < words.size(); ++i) {
    const std::string keyword = AsciiLower(words[i]);
    const bool has_value = i + 1 < words.size();
    if (keyword == "wait") {
      command->wait = true;
    } else if (keyword == "type" && command->verb == MciCommand::Verb::kOpen) {
      if (!has_value) return MCIERR_MISSING_PARAMETER;
      command->device_type = AsciiLower(words[++i]);
    } else if (keyword == "alias" && command->verb == MciCommand::Verb::kOpen) {
      if (!has_value) return MCIERR_MISSING_PARAMETER;
      command->alias = words[++i];
    } else if (keyword == "from" && command->verb == MciCommand::Verb::kPlay) {
      if (!has_value) return MCIERR_MISSING_PARAMETER;
      if (!ReadNumber(words[++i], &command->from)) return MCIERR_BAD_INTEGER;
      command->has_from = true;
    } else if (keyword == "notify" && command->verb == MciCommand::Verb::kPlay) {
      command->notify = true;
    } else {
      return MCIERR_UNRECOGNIZED_KEYWORD;
    }
  }
  return MCIERR_NONE;
}

}  // namespace platform
