// The client's command line: the leading "/u", the "/z" parameter file whose text takes the
// command line's place, and the words after them.
//
//   /u            every upgrade notice means a full upgrade
//   /z<file>      the parameter file (its name in double quotes when it holds blanks); up to 2,048
//                 bytes of it, followed by the rest of the command line, are read instead
//   /debuglog     the debug log at level 100
//   /m, /n        music off, sound off (and saved so at exit)
//   /netlog       raw dumps of what the connections receive ("net.log", "packet.log")
//   /p<port>      the port of the server named on the command line (1-65535)
//   a free word   the game server's host (one at most)
// Options may start with "-" as well as "/" and are compared without regard to case. Words are
// separated by blanks and tabs, and by the line breaks a parameter file may hold.
//
// Reading the words has no effect of its own: the caller applies what was read.
#pragma once

#include <cstdint>
#include <string>

constexpr uint32_t kParameterFileBytes = 2048;
constexpr int32_t kDebugLogLevel = 100;
constexpr int32_t kNoCommandLinePort = -1;
// The ports a server may be given (on the command line and in the start-up file).
constexpr int32_t kLowestPort = 1;
constexpr int32_t kHighestPort = 65535;

struct CommandLineWords {
  int32_t debug_level = 0;
  bool music_off = false;
  bool sound_off = false;
  bool net_logging = false;
  bool force_full_upgrade = false;
  int32_t port = kNoCommandLinePort;
  std::string host;  // empty: none given
};

// The text whose words are read: the command line after a leading "/u" (which sets
// *force_full_upgrade), or the parameter file's bytes followed by the rest of the command line.
// nullptr, or "Input parameter file name expected for /Z option.", "Unable to open input
// parameter file for /Z option." or "Unable to read input parameters from file for /Z option.".
[[nodiscard]] const char* ReadCommandText(const char* command_line, std::string* text,
                                          bool* force_full_upgrade);

// Reads the words of `text` into `words`. nullptr, or "Incorrect parameters entered\n" for an
// unknown option or a port outside 1-65535 (each logged), or a second host.
[[nodiscard]] const char* ReadCommandLineWords(const char* text, CommandLineWords* words);
