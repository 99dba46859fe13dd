// The command strings of the music interface, read into their parts.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace platform {

struct MciCommand {
  enum class Verb { kOpen, kPlay, kStop, kClose };
  Verb verb = Verb::kOpen;
  std::string target;       // the file (open) or the device name; "all" for close all
  std::string device_type;  // open: the "type" given, lower case; empty when none
  std::string alias;        // open: the "alias" given; empty when none
  bool has_from = false;    // play: "from" given
  uint32_t from = 0;
  bool notify = false;      // play: "notify" given
  bool wait = false;        // "wait" given
};

// Reads `text` into `command`. Returns 0 or the MCIERR_ code of what is wrong.
uint32_t ParseMciCommand(std::string_view text, MciCommand* command);

}  // namespace platform
