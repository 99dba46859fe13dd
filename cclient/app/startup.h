// The client's start and end: one running copy, the command line, the start-up file and the user
// options, the main window, the first server connection, the message loop, and the orderly end
// that saves the options, says goodbye to every server and, when an upgrade is due, hands over to
// the launcher.
//
// UI thread only (the thread that runs WinMain).
#pragma once

#include <cstdint>

#include "platform/window/window_types.h"

// Main_PreInit's flags.
constexpr uint32_t kPreInitSoundOff = 1;
constexpr uint32_t kPreInitMusicOff = 2;
constexpr uint32_t kPreInitRawNetLogging = 4;

constexpr const char* kInstanceMutexName = "TarvikEXEInstanceMutex";
constexpr const char* kDefaultDebugLogName = "tarvik.log";

// Set by Main_InitiateSpawnSwitch: the process ends by starting the launcher.
extern uint32_t SpawnLauncherOnExit;

// The client's entry: the exit code of the message loop; 1 after a failed start (the error box
// has been shown and the reason logged); 0 when another copy runs and was asked to come forward.
int WinMain(platform::HINSTANCE instance, platform::HINSTANCE previous, const char* command_line,
            int show);

// Nonzero when another copy of the client runs (it has been asked to come to the front).
int CheckSingleInstance();

// Reads the command line and its parameter file, then pre-initialises. nullptr, or the error text
// to show.
[[nodiscard]] const char* ParseCommandLine(const char* command_line);

// Signs the user out, keeps the instance, class name and program folder (which becomes the
// current folder), opens the debug log, reads the start-up file and the user options, and
// applies the command line's server and flags. nullptr, or the error text.
[[nodiscard]] const char* Main_PreInit(platform::HINSTANCE instance, const char* class_name,
                                       const char* program_folder, const char* log_file_name,
                                       int32_t debug_level, uint32_t flags, const char* host,
                                       int32_t port);

// Registers the main window's class; nonzero on success.
int MyRegisterClass(platform::HINSTANCE instance);
// Creates the main window (hidden) with an 800 x 516 client area centred on the screen; nonzero
// on success.
int InitInstance(int show);

// Builds the lobby's surfaces and buttons, loads the cards, starts the main timer, opens the first
// server connection, and sets up sound and the site images. 0, or 1 when the cards cannot be
// loaded.
int32_t Main_Init(platform::HWND main_window, int32_t mode);

// The main window's close: every table (each may decline: its result is returned and nothing else
// happens) and every tournament window is closed and the main window destroyed.
long main_ExitIfOK(long force);

// The upgrade hand-over: the client leaves at once, and ends by starting the launcher.
void Main_InitiateSpawnSwitch();

// After the message loop: saves the options, says goodbye to every server, saves the server list,
// and releases what start-up made.
void Main_Cleanup();

// Replaces the process with the launcher, after saving what the normal end saves and stopping
// every thread. Returns only when the launcher could not be started.
void ShutDown();

// The program folder (ending in "/") and the program's path (".exe" appended when it does not end
// in it) into `out` of kProgramPathBytes; the length, or 0 (and "") when it cannot be found.
int GetProgramFolder(char* out);
int GetProgramPath(char* out);

// The main timer's step for the single running copy: a later start asked it to come forward.
void CheckComeForwardRequest();

// The main timer's step for a close request by signal (SIGTERM, SIGINT, SIGHUP): the client
// leaves as after a confirmed close, without asking.
void CheckCloseSignal();
