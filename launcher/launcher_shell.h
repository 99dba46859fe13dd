// The launcher program: reads "root.ini" and its command line, shows the splash window while the
// upgrade thread brings the install up to date, and then replaces its own process with the
// program the upgrade server named, or with the default program of "root.ini".
//
//   LauncherMain = Launcher_Start, the message loop, Launcher_Finish
//
// The two halves are separate so that a test can drive the message loop itself. Every failure
// is logged to "root.log" and shown in a message box with no owner, the caption "Error" and the
// warning icon. UI thread only.
#pragma once

#include <string_view>

struct LauncherStartResult {
  bool run_loop = false;  // the splash and the upgrade thread are running
  int exit_code = 0;      // when not: what the program returns
};

// Steps up to starting the upgrade thread. A program that is started replaces the process, so
// this returns only when nothing was started or the start failed.
LauncherStartResult Launcher_Start(std::string_view command_line, int show_command);

// After the message loop: by the upgrade state, replaces the process with the meta file's
// program (done) or the default program (the upgrade server could not be used), or starts
// nothing. Returns what the program returns when it is still running: 0 when the upgrade server
// failed, else `last_wparam`.
int Launcher_Finish(int last_wparam);

// The whole program. Returns only when nothing was started (a failure, shown and logged, or a
// cancelled upgrade): 1; a run that went well has replaced the process.
int LauncherMain(std::string_view command_line, int show_command);

// Replaces the process with the default program of "root.ini" (from its folder, with its
// arguments, a blank and the rest of the command line). Returns when it could not.
void RunDefaultProgram();
