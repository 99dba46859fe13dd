// The client program. This build reads the start-up file and opens the debug log; windows,
// connections and the lobby are not part of it yet, so it reports what it read and ends.
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "cclient/core/debug_log.h"
#include "cclient/core/startup_file.h"
#include "platform/system/paths.h"

int main(int argc, char** argv) {
  const std::string folder = platform::ProgramFolder();
  if (!folder.empty() && ::chdir(folder.c_str()) != 0) {
    std::fprintf(stderr, "tvk: cannot enter the program folder %s\n", folder.c_str());
    return 1;
  }
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "/debuglog") == 0) DebugLevel = 100;
  }
  DebugLog_Init("tvk.log");

  if (const char* error = ReadStartupFile("tarvik.ini")) {
    DebugLog_Write("%s\n", error);
    std::fprintf(stderr, "tvk: %s\n", error);
    return 1;
  }
  const StartupSettings& s = g_StartupSettings;
  DebugLog_Write("Start-up file read: %s, site %u, first server %s:%u\n", s.display_name,
                 s.site_id, s.servers[0].host, s.servers[0].port);
  std::printf("%s (%s edition), site %u\n", s.display_name,
              PlayMoneyEdition ? "play-money" : "real-money", s.site_id);
  for (const StartupServer& server : s.servers) std::printf("  server %s:%u\n", server.host, server.port);
  std::printf("This build has no window yet; see README.md.\n");
  return 0;
}
