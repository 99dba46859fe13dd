// Painting: invalid areas, the erase and paint messages, and the window's drawing context.
//
// Every window keeps a picture of its client area (24-bit, exact) that the backend shows and tests
// read back. A window's drawing context draws straight into that picture; it is the same context
// every time (GetDC, BeginPaint, the erase message), so a window may take it once, keep it and draw
// into it at any time; what it draws is shown promptly whether or not a paint message is running.
//
// Invalidating with erase produces the erase message (WM_ERASEBKGND) first and then WM_PAINT. The
// default procedure erases the invalid area with the class's background brush; a procedure that
// answers the erase message itself (with any result) is never cleared by the window core.
// Painting is not clipped to the invalid area.
//
// UI thread only.
#pragma once

#include "platform/draw/surface.h"
#include "platform/window/window_types.h"

namespace platform {

// `rect` nullptr: the whole client area. Returns false for an invalid handle.
bool InvalidateRect(HWND hwnd, const RECT* rect, bool erase);
// Removes the area from the invalid area; nullptr (or an area that covers it) removes all of it.
bool ValidateRect(HWND hwnd, const RECT* rect);
// The bounding rectangle of the invalid area; false when nothing is invalid.
bool GetUpdateRect(HWND hwnd, RECT* rect, bool erase);
// Paints the window now (erase, then WM_PAINT) when it has an invalid area.
bool UpdateWindow(HWND hwnd);

// Sends the erase message if it is still due, validates the window and returns its drawing
// context. `paint->rcPaint` is the area that was invalid.
HDC BeginPaint(HWND hwnd, PAINTSTRUCT* paint);
bool EndPaint(HWND hwnd, const PAINTSTRUCT* paint);

// The window's drawing context (the same one every time; ReleaseDC does not end it). GetDC(nullptr)
// gives a context over a tiny picture of its own, for measuring and as a reference for compatible
// contexts.
HDC GetDC(HWND hwnd);
int ReleaseDC(HWND hwnd, HDC dc);

}  // namespace platform
