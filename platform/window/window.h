// Windows: classes, creation and destruction, the default procedure, and the window's properties.
//
// UI thread only (the thread that created the window), except where a function says otherwise.
// Every function accepts an invalid or destroyed handle and then fails without effect.
//
// Geometry: a top-level window's rectangle is in screen coordinates and includes its frame (a
// caption bar and border for captioned windows, a border for framed popups, and the menu band when
// it has a menu); a child window's rectangle is in its parent's client coordinates and has no
// frame. The client area of every window has its own picture (see paint.h); a top-level window
// shows its client picture with its children's pictures composed over it.
#pragma once

#include <cstddef>

#include "platform/window/virtual_keys.h"
#include "platform/window/window_messages.h"
#include "platform/window/window_types.h"

namespace platform {

// Classes. Names compare without regard to case; registering a name twice fails (returns 0) and
// leaves the first registration in force.
ATOM RegisterClass(const WNDCLASS* window_class);
bool UnregisterClass(const char* class_name, HINSTANCE instance);
int GetClassName(HWND hwnd, char* buffer, int buffer_size);

// Creates a window. `parent` is the parent of a WS_CHILD window and the owner of any other window
// (an owned window is destroyed with its owner and kept in front of it); `menu` is the control id
// of a child window and the menu bar of a top-level window. Sends WM_CREATE (a result of -1
// destroys the window again and returns nullptr), then WM_SIZE and WM_MOVE, then shows the window
// when WS_VISIBLE is set. Top-level windows are activated when shown.
HWND CreateWindowEx(uint32_t ex_style, const char* class_name, const char* title, uint32_t style, int x,
                    int y, int width, int height, HWND parent, HMENU menu, HINSTANCE instance,
                    void* create_param);
inline HWND CreateWindow(const char* class_name, const char* title, uint32_t style, int x, int y, int width,
                         int height, HWND parent, HMENU menu, HINSTANCE instance, void* create_param) {
  return CreateWindowEx(0, class_name, title, style, x, y, width, height, parent, menu, instance,
                        create_param);
}

// Destroys the window, its owned windows (first) and its children. Order of messages: the owned
// windows are destroyed completely; the window is hidden and loses the focus and the activation;
// WM_DESTROY goes to the window, then to each child (parents before children); WM_NCDESTROY goes to
// the children (deepest first), then to the window. Safe from inside the window's own procedure and
// from inside WM_DESTROY (a second call for a window already being destroyed does nothing). Timers,
// posted messages and the mouse capture of the window go with it.
bool DestroyWindow(HWND hwnd);

LRESULT DefWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CallWindowProc(WNDPROC proc, HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

bool IsWindow(HWND hwnd);  // any thread
bool IsWindowVisible(HWND hwnd);  // the window and all its ancestors are shown
bool IsWindowEnabled(HWND hwnd);
bool IsIconic(HWND hwnd);
bool IsChild(HWND parent, HWND hwnd);  // `hwnd` is a descendant of `parent`

// Returns whether the window was visible before.
bool ShowWindow(HWND hwnd, int command);
bool OpenIcon(HWND hwnd);  // restores a minimised window
// Returns whether the window was disabled before. A disabled window gets no mouse or key input;
// disabling the window that has the focus (or one of its ancestors) takes the focus away.
bool EnableWindow(HWND hwnd, bool enable);

bool SetWindowText(HWND hwnd, const char* text);  // sends WM_SETTEXT
int GetWindowText(HWND hwnd, char* buffer, int buffer_size);  // sends WM_GETTEXT; returns the length copied
int GetWindowTextLength(HWND hwnd);

bool GetClientRect(HWND hwnd, RECT* rect);  // {0, 0, client width, client height}
bool GetWindowRect(HWND hwnd, RECT* rect);  // outer rectangle in screen coordinates
bool MoveWindow(HWND hwnd, int x, int y, int width, int height, bool repaint);
bool SetWindowPos(HWND hwnd, HWND insert_after, int x, int y, int width, int height, uint32_t flags);
bool BringWindowToTop(HWND hwnd);
bool ClientToScreen(HWND hwnd, POINT* point);
bool ScreenToClient(HWND hwnd, POINT* point);

// The parent of a child window, the owner of a popup, nullptr otherwise.
HWND GetParent(HWND hwnd);
HWND GetWindow(HWND hwnd, UINT relation);
HWND GetDlgItem(HWND parent, int control_id);
int GetDlgCtrlID(HWND hwnd);
// A top-level window with that class name (and title, unless nullptr), front-most first; this
// program's windows only.
HWND FindWindow(const char* class_name, const char* title);

LONG_PTR GetWindowLongPtr(HWND hwnd, int index);
LONG_PTR SetWindowLongPtr(HWND hwnd, int index, LONG_PTR value);  // returns the old value

// Screen size and the window core's frame measures.
int GetSystemMetrics(int index);
// Grows a client rectangle to the outer rectangle of a window with that style (and a menu bar).
bool AdjustWindowRect(RECT* rect, uint32_t style, bool has_menu);
bool AdjustWindowRectEx(RECT* rect, uint32_t style, bool has_menu, uint32_t ex_style);

// The menu bar of a top-level window. The band above the client area is reserved while a menu is
// set (the client area shrinks; the outer rectangle stays); the menu code draws it and handles its
// input through the hooks below.
bool SetMenu(HWND hwnd, HMENU menu);
HMENU GetMenu(HWND hwnd);
bool DrawMenuBar(HWND hwnd);  // marks the band for drawing (WM_NCPAINT)

// Installed by the menu code; DefWindowProc calls them for windows that have a menu.
struct MenuBarHooks {
  // WM_NCPAINT: draw the whole band, `width` x `height` pixels, into `band_dc`.
  void (*paint)(HWND hwnd, HMENU menu, HDC band_dc, int width, int height) = nullptr;
  // WM_NCMOUSEMOVE, WM_NCLBUTTONDOWN, WM_NCLBUTTONUP at band coordinates.
  void (*mouse)(HWND hwnd, HMENU menu, UINT message, int x, int y) = nullptr;
  // WM_SYSKEYDOWN, WM_SYSKEYUP, WM_SYSCHAR (Alt and Alt + letter); true when the menu used it.
  bool (*key)(HWND hwnd, HMENU menu, UINT message, WPARAM wParam, LPARAM lParam) = nullptr;
};
void SetMenuBarHooks(const MenuBarHooks& hooks);

}  // namespace platform
