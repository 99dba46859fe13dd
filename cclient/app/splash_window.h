// The splash window: a borderless picture with the client version, a message and up to four
// buttons, shown while connecting, when no server answers, when a full upgrade is needed, and at
// the end of the program.
//
// UI thread only.
#pragma once

#include <cstdint>

#include "platform/window/window_types.h"

// Splash_Show's buttons.
constexpr uint32_t kSplashClose = 1;
constexpr uint32_t kSplashRetry = 2;  // "Retry" and "Server Status"
constexpr uint32_t kSplashFullUpgrade = 4;

// Shows the splash with `text` (nothing happens for nullptr) and the buttons `flags` names,
// creating the window owned by `owner` when it does not exist yet.
void Splash_Show(platform::HINSTANCE instance, platform::HWND owner, const char* text,
                 uint32_t flags);
// Destroys the splash window when it exists.
void Splash_Destroy();
// The address the "Server Status" button checks; set once at start-up from the start-up file.
void Splash_SetServerStatusUrl(const char* url);

// The window procedure of class "SplashWin".
platform::LRESULT SplashWndProc(platform::HWND hwnd, platform::UINT message,
                                platform::WPARAM wParam, platform::LPARAM lParam);

// What the splash shows, for tests: its window (nullptr when none), its text, and whether the
// button with that caption is shown.
platform::HWND Splash_GetWindow();
const char* Splash_GetText();
bool Splash_IsButtonShown(const char* caption);
// Runs the "Server Status" button's check and returns the text it would show.
const char* Splash_CheckServerStatus();
