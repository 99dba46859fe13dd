// Starting programs: replacing the running one, and starting children with or without waiting.
//
// The program's command lines are one text whose words the receiving program splits itself: a
// program started with a command line gets it as its single argument after its name, and
// CommandLineText rebuilds that text from what a program received. Program names go through
// NativeProgramPath ("tarvik.exe" is the native binary "tarvik", found ignoring letter case);
// a name without a folder is taken from the current folder, never searched for on PATH.
//
// Children inherit no descriptor but the standard input, output and error: the platform layer
// opens everything close-on-exec, and starting a program closes whatever else a library left open,
// so a replaced process keeps no socket or lock.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace platform {

// Once at start-up, before any thread starts: writing to a socket or pipe whose reader has gone
// then returns an error instead of ending the process (SIGPIPE is ignored); and memory that the
// program frees goes back to the system (see process.cpp).
void PrepareProcess();

// Termination requests from outside (SIGTERM, SIGINT from Ctrl-C, SIGHUP when the terminal goes)
// become a request the program takes on its own thread, so that it can end as it always does.
// The first such signal is caught; a second one ends the process at once, as it would have
// without this. Once, on the thread that later calls TakeCloseSignal.
void CatchCloseSignals();
// The signal number of a close request that came since the last call, else 0. Any thread.
int TakeCloseSignal();

// Replaces the running program with `program`. `arguments` is the whole argument list, the
// program's own name first (as the program will see it, for example "tarvik.exe"). Returns only
// when the program could not be started, with the system's error number.
[[nodiscard]] int ExecProgram(std::string_view program, const std::vector<std::string>& arguments);

// Starts `program` as a child and returns at once: its process id, or -1 when it could not be
// started. Children that nobody waits for are collected at the next start.
int SpawnProgram(std::string_view program, const std::vector<std::string>& arguments);

// Waits for a child started by SpawnProgram: its exit code 0-255, 128 + the signal number when a
// signal ended it, -1 when `process_id` is not a child that can be waited for.
int WaitForProgram(int process_id);

// SpawnProgram, then WaitForProgram. -1 when the program could not be started.
int SpawnProgramAndWait(std::string_view program, const std::vector<std::string>& arguments);

// The command line a program was started with: its arguments after its name, joined by one blank.
std::string CommandLineText(int argc, const char* const* argv);

// Starts `program` found on PATH (as a shell would find it, but without any shell) and returns
// at once: for helpers of the desktop such as a web browser. Same results as SpawnProgram.
int SpawnSearchedProgram(std::string_view program, const std::vector<std::string>& arguments);

}  // namespace platform
