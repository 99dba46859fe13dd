// The client's start-up file "tarvik.ini": 21 tokens in a fixed order, no keys.
//
// A token is a run of characters up to a blank, tab, CR or LF, or a text in double quotes (which
// may hold blanks). The file fixes the site's identity, display name, default servers and web
// addresses before anything else runs; it is required.
#pragma once

#include <cstdint>
#include <cstdio>

constexpr int kStartupServerCount = 4;

struct StartupServer {
  char host[64];
  uint32_t port;
};

struct StartupSettings {
  uint8_t play_money_edition;  // token 1: version 0 ordinary, 1 play-money
  uint32_t os_id;
  uint32_t variant_id;
  uint32_t site_id;
  uint32_t upgrade_series;
  char display_name[64];
  StartupServer servers[kStartupServerCount];
  char site_base_address[256];
  char secure_base_address[256];
  char splash_page_address[256];
  char options_key[128];
  char server_status_address[256];
  char banner_base_address[256];
};

// The values before the file is read: "Gaming", hosts "server" on port 8085, and so on.
StartupSettings StartupSettings_BuiltIn();

// The settings in force. Built-in values until ReadStartupFile succeeds; only the UI thread
// writes them, at start-up, before any other thread exists.
extern StartupSettings g_StartupSettings;
// 1 in the play-money edition; set once from the file's first token and only read afterwards.
extern uint8_t PlayMoneyEdition;

// The server ports the file may give; any other number fails the file.
constexpr long kStartupLowestPort = 1;
constexpr long kStartupHighestPort = 65535;

// Which token of the file failed, and why.
struct StartupFileFault {
  int token = 0;             // 1-21
  const char* name = "";     // "server 1 port", ...
  const char* reason = "";   // "cannot be read", "is not a port (1-65535)", ...
};

// Reads the start-up file at `path` and, only when the whole file is good, stores its values in
// g_StartupSettings and PlayMoneyEdition. Returns nullptr on success, else "Unable to open INI
// file", "Unable to read INI file" or "Unsupported INI version"; a failure changes nothing, and a
// file that opened but failed logs the path, the token and why.
const char* ReadStartupFile(const char* path);

// Parses an open stream into `out` (which is written only on success). Same results as above;
// on a failure `fault` (when given) names the token.
const char* ReadStartupStream(FILE* stream, StartupSettings* out, StartupFileFault* fault = nullptr);

// Reads the next token into `buffer` of `size` bytes. 0 on success; -1 at the end of the file
// (also inside a quoted text); -2 when the token has more than size - 1 characters.
int ReadFileToken(FILE* stream, char* buffer, int size);

// Reads the next token as a number ("%ld"). 0 on success; -1 when no token could be read; 1 when
// the token is not a number.
int ReadFileNumber(FILE* stream, long* number);
