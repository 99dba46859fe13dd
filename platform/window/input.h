// Mouse and keyboard input: the state the program may ask for, the mouse capture, and the entry
// points through which a backend (or a test) feeds input to the windows.
//
// UI thread only.
#pragma once

#include <cstdint>

#include "platform/window/window_types.h"

namespace platform {

// High bit set (negative) while the key or mouse button is down.
int16_t GetKeyState(int virtual_key);
// Last known pointer position in screen coordinates.
bool GetCursorPos(POINT* point);

// Every mouse message goes to the capture window (in its client coordinates, which may be
// negative) until ReleaseCapture. WM_CAPTURECHANGED goes to the window that loses it.
HWND SetCapture(HWND hwnd);
bool ReleaseCapture();
HWND GetCapture();

}  // namespace platform

namespace platform::internal {

// A mouse message (WM_MOUSEMOVE, WM_LBUTTONDOWN/UP, WM_RBUTTONDOWN/UP) at `point` in the coordinates
// of the top-level window's content (its menu band, if any, above its client area). Finds the
// window under the point (or the capture window), turns a second quick click into a double click
// when that window's class asks for them, and queues the message in the target's client
// coordinates. Input for a disabled window (or one inside a disabled window) is dropped.
void DeliverMouse(HWND top_level, UINT message, POINT point);
// A wheel turn of `delta` (multiples of 120) with the pointer at `point` of the top-level window's
// content; it goes to the focus window, in that window's client coordinates.
void DeliverWheel(HWND top_level, int delta, POINT point);
// WM_KEYDOWN or WM_KEYUP for the focus window (the active window when nothing has the focus).
// `character` is what the key produces (0: none); with Alt held the messages become WM_SYSKEY*.
void DeliverKey(UINT message, int virtual_key, int character);
// The user asked to close a top-level window (its close box).
void DeliverClose(HWND top_level);

// The character a key produces with the given modifiers on a plain keyboard: letters (upper case
// with Shift), digits, space, and the control characters (Enter 13, Esc 27, Tab 9, Backspace 8,
// Ctrl + letter 1-26). 0 for keys that produce none.
int CharacterForKey(int virtual_key, bool shift, bool control);

// Forgets every window-related input state (capture, double-click memory, held keys).
void ResetInputState();
// Capture, double-click memory and pointer target forget a destroyed window.
void ForgetInputWindow(HWND hwnd);

}  // namespace platform::internal
