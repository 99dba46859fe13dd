// Activation, keyboard focus and the mouse pointer shape.
//
// One top-level window at a time is active (the foreground window): it is in front of the other
// windows of its level and its focus window receives the keys. Activating a window sends
// WM_ACTIVATE (inactive) to the old one and WM_ACTIVATE (active) to the new one; when the new one's
// procedure leaves no focus inside it, the window itself takes the focus.
//
// UI thread only.
#pragma once

#include "platform/window/window_types.h"

namespace platform {

// Returns the window that had the focus. A disabled window cannot take the focus.
HWND SetFocus(HWND hwnd);
HWND GetFocus();

// Brings the top-level window that contains `hwnd` to the front and activates it. A disabled window
// is not activated; the front-most enabled window it owns comes forward instead (a message box in
// front of its owner).
bool SetForegroundWindow(HWND hwnd);
HWND GetForegroundWindow();
HWND SetActiveWindow(HWND hwnd);
HWND GetActiveWindow();

// The arrow is the only shape the window core knows: LoadCursor(nullptr, IDC_ARROW).
HCURSOR LoadCursor(HINSTANCE instance, const char* name);
// Sets the pointer shape; nullptr hides the pointer. Returns the previous shape. A window whose
// class has a cursor gets it back each time the pointer moves over it (WM_SETCURSOR's default).
HCURSOR SetCursor(HCURSOR cursor);
HCURSOR GetCursor();

}  // namespace platform
