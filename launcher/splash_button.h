// The splash window's one push button, drawn by the launcher itself until the platform's controls
// offer a push button class.
//
// A child window of this class shows its window text centred on a raised face and, when clicked
// (pressed and released over it), posts WM_COMMAND to its parent with its control id in the low
// word of wParam, BN_CLICKED in the high word and its handle in lParam. Posting rather than
// sending lets the parent destroy the button from its handler.
//
// UI thread only.
#pragma once

#include "platform/window/window_types.h"

constexpr const char* kSplashButtonClass = "TarvikSplashButton";
constexpr platform::WPARAM BN_CLICKED = 0;

// Registers the class; calling it again changes nothing.
void RegisterSplashButtonClass(platform::HINSTANCE instance);
