// tarvik: the launcher. Brings the install in the current folder up to date from the upgrade
// server named in "root.ini", then replaces itself with the client.
#include "launcher/launcher_shell.h"
#include "platform/system/process.h"
#include "platform/window/window_types.h"

int main(int argc, char** argv) {
  platform::PrepareProcess();
  return LauncherMain(platform::CommandLineText(argc, argv), platform::SW_SHOWNORMAL);
}
