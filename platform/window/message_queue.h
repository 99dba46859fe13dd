// The message queue of a UI thread: posting, sending, the message loop and timers.
//
// Order in which a thread's queue hands out messages:
//   1. posted messages and input, in the order they arrived;
//   2. WM_QUIT, once PostQuitMessage was called and nothing is posted any more;
//   3. WM_NCPAINT for a menu band that needs drawing, then WM_PAINT for a shown window with an
//      invalid area (parents before children);
//   4. WM_TIMER for the timer that has been due longest.
// A timer message is made only when nothing above waits, so a program that posts itself a message
// every frame sees each one handled before the next tick. A timer that expired several times while
// the thread was busy produces one message; its next expiry counts from that message.
//
// Messages for a window that no longer exists are dropped.
#pragma once

#include "platform/window/window_messages.h"
#include "platform/window/window_types.h"

namespace platform {

// Any thread. Appends to the queue of the window's thread and wakes it. False for an invalid handle.
bool PostMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
// Calls the window's procedure at once (the window's own thread only; from another thread nothing
// happens and the result is 0). 0 for an invalid handle.
LRESULT SendMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
// Ends the thread's message loop with `exit_code` after the messages already posted.
void PostQuitMessage(int exit_code);

// Waits for the next message. Returns 0 for WM_QUIT (exit code in wParam), else nonzero.
// `hwnd` (and its children) and the range min..max (0, 0: all) filter posted messages.
int GetMessage(MSG* msg, HWND hwnd, UINT min_message, UINT max_message);
// Like GetMessage without waiting; false when nothing is there.
bool PeekMessage(MSG* msg, HWND hwnd, UINT min_message, UINT max_message, UINT remove);
// Waits until the queue has something.
bool WaitMessage();
// A key-down whose key produces a character posts WM_CHAR (WM_SYSCHAR with Alt) as the next
// message. Returns whether it posted.
bool TranslateMessage(const MSG* msg);
LRESULT DispatchMessage(const MSG* msg);

// The step that gives modeless dialogs each message first. The hook returns true when it consumed
// the message (which is then neither translated nor dispatched). Returns the previous hook.
using PreTranslateHook = bool (*)(MSG* msg);
PreTranslateHook SetPreTranslateHook(PreTranslateHook hook);
bool CallPreTranslateHook(MSG* msg);
// The standard loop: get, offer to the hook, translate, dispatch, until WM_QUIT; returns its code.
int RunMessageLoop();

// Starts or re-arms the window's timer `id` (nonzero): setting an id that exists replaces its
// period and starts counting again. Periods below 10 ms count as 10 ms. Returns `id`, 0 on failure.
uintptr_t SetTimer(HWND hwnd, uintptr_t id, UINT period_ms);
bool KillTimer(HWND hwnd, uintptr_t id);

}  // namespace platform
