// tvk: the client. Runs in the folder of its binary, where its start-up file, pictures and sounds
// are.
#include <string>

#include "cclient/base/debug_log.h"
#include "cclient/app/startup.h"
#include "platform/system/process.h"
#include "platform/system/system_log.h"
#include "platform/window/window_types.h"

namespace {

// The platform layer's own reports go into the debug log with the program's.
void WriteSystemLine(const char* line) { DebugLog_Write("%s", line); }

}  // namespace

int main(int argc, char** argv) {
  platform::PrepareProcess();
  platform::SetSystemLogSink(&WriteSystemLine);
  const std::string command_line = platform::CommandLineText(argc, argv);
  return WinMain(nullptr, nullptr, command_line.c_str(), platform::SW_SHOWNORMAL);
}
