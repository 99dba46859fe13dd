// Program-wide values of the client that start-up sets and the rest of the program reads.
//
// Start-up keeps the program instance and the command line's choices before the main window
// exists; the main window's handle is kept once the window is made and cleared when it is
// destroyed. UI thread only, except where a value says otherwise.
#pragma once

#include <cstdint>

#include "platform/window/window_types.h"

class DialogHolder;

// The program instance, handed to the windows and dialogs the program creates.
extern platform::HINSTANCE ProgramInstance;

// The main window (the lobby); nullptr while it does not exist. Tests set it to a window of
// their own.
extern platform::HWND MainWindow;

// Paths of the program folder and file: at most 259 characters and the NUL.
constexpr uint32_t kProgramPathBytes = 260;

// The program folder, ending in "/"; empty until start-up sets it. Start-up also makes it the
// current folder, so data files may be named without it.
extern char ProgramFolderPath[kProgramPathBytes];

// 1 when the client was started with "/u": every upgrade notice from a server then means a full
// upgrade through the launcher. Set once at start-up, only read afterwards.
extern uint32_t ForceFullUpgrade;

// The affiliate id kept beside the user options: read at start-up, changed by sign-in, written at
// exit.
extern uint32_t AffiliateId;

// A text the server's force-exit left, shown once at the very end of the program; empty when
// none.
constexpr uint32_t kForceExitTextBytes = 1025;
extern char ForceExitText[kForceExitTextBytes];

// The holder of the "Incorrect Sign-In Name or Password" dialog: made by start-up, closed and
// deleted at shut-down.
extern DialogHolder* BadSignInDialogHolder;
