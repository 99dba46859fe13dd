// The birthday greeting window.
//
// UI thread only.
#pragma once

#include "platform/window/window_types.h"

// Shows the greeting window with `text` (NUL-terminated); an open one is repainted and brought
// forward.
void BirthdayWindow_Show(platform::HINSTANCE instance, platform::HWND owner, const char* text);
