#include "platform/window/activation.h"

#include "platform/window/backend.h"
#include "platform/window/message_queue.h"
#include "platform/window/window.h"
#include "platform/window/window_internal.h"

namespace platform {

using internal::FindWindowRecord;
using internal::TopLevelOf;
using internal::Window;
using internal::WindowTable;

struct CursorObject {
  int shape;
};

namespace {

CursorObject g_arrow{1};

// UI-thread state.
HWND g_active = nullptr;
HWND g_focus = nullptr;
HCURSOR g_cursor = &g_arrow;

bool IsSameOrDescendant(HWND ancestor, HWND hwnd) { return hwnd == ancestor || IsChild(ancestor, hwnd); }

// The windows owned by `owner` come forward with it and stay in front of it.
void BringOwnedToFront(HWND owner) {
  for (const auto& window : WindowTable::Get().All()) {
    if (window->owner != owner || window->destroying || !window->visible) continue;
    WindowTable::Get().BringToFront(window->handle, (window->ex_style & WS_EX_TOPMOST) != 0);
    BringOwnedToFront(window->handle);
  }
}

// The front-most shown, enabled window owned (directly or not) by `owner`.
std::shared_ptr<Window> FrontOwnedEnabled(HWND owner) {
  for (HWND hwnd : WindowTable::Get().ZOrder()) {
    const auto window = FindWindowRecord(hwnd);
    if (!window || window->destroying || !window->visible || !window->enabled) continue;
    for (HWND up = window->owner; up != nullptr;) {
      if (up == owner) return window;
      const auto next = FindWindowRecord(up);
      up = next ? next->owner : nullptr;
    }
  }
  return nullptr;
}

bool CanActivate(const Window& window) {
  return !window.destroying && window.visible && window.enabled && !window.minimized;
}

}  // namespace

namespace internal {

void ActivateWindow(const std::shared_ptr<Window>& top_level) {
  if (!top_level || top_level->destroying) return;
  const HWND hwnd = top_level->handle;
  WindowTable::Get().BringToFront(hwnd, (top_level->ex_style & WS_EX_TOPMOST) != 0);
  BringOwnedToFront(hwnd);
  GetBackend().RaiseNativeWindow(*top_level);
  if (g_active == hwnd) return;

  const HWND old_active = g_active;
  g_active = hwnd;
  if (old_active != nullptr) {
    SendMessage(old_active, WM_ACTIVATE, WA_INACTIVE, reinterpret_cast<LPARAM>(hwnd));
  }
  if (g_focus != nullptr && !IsSameOrDescendant(hwnd, g_focus)) {
    const HWND old_focus = g_focus;
    g_focus = nullptr;
    SendMessage(old_focus, WM_KILLFOCUS, 0, 0);
  }
  if (g_active != hwnd || !IsWindow(hwnd)) return;  // a handler moved the activation on
  SendMessage(hwnd, WM_ACTIVATE, MAKEWPARAM(static_cast<int>(WA_ACTIVE), top_level->minimized ? 1 : 0),
              reinterpret_cast<LPARAM>(old_active));
  // A procedure that handles WM_ACTIVATE itself still leaves its window with the keyboard.
  if (g_active == hwnd && g_focus == nullptr && IsWindow(hwnd) && !top_level->minimized) SetFocus(hwnd);
}

void DropFocusFrom(const Window& window) {
  if (g_focus == nullptr || !IsSameOrDescendant(window.handle, g_focus)) return;
  const HWND old_focus = g_focus;
  g_focus = nullptr;
  SendMessage(old_focus, WM_KILLFOCUS, 0, 0);
}

void HandOffActivation(const Window& window) {
  if (g_active != window.handle) return;
  std::shared_ptr<Window> next;
  if (window.owner != nullptr) {
    const auto owner = FindWindowRecord(window.owner);
    if (owner && CanActivate(*owner)) next = owner;
  }
  if (!next) {
    for (HWND hwnd : WindowTable::Get().ZOrder()) {
      const auto candidate = FindWindowRecord(hwnd);
      if (candidate && hwnd != window.handle && CanActivate(*candidate)) {
        next = candidate;
        break;
      }
    }
  }
  if (next) {
    ActivateWindow(next);
    return;
  }
  g_active = nullptr;
  SendMessage(window.handle, WM_ACTIVATE, WA_INACTIVE, 0);
}

void ResetActivation() {
  g_active = nullptr;
  g_focus = nullptr;
  g_cursor = &g_arrow;
}

}  // namespace internal

HWND SetFocus(HWND hwnd) {
  if (hwnd == nullptr) {
    const HWND old_focus = g_focus;
    g_focus = nullptr;
    if (old_focus != nullptr) SendMessage(old_focus, WM_KILLFOCUS, 0, 0);
    return old_focus;
  }
  const auto window = FindWindowRecord(hwnd);
  if (!window || window->destroying || !IsWindowEnabled(hwnd)) return nullptr;
  for (HWND up = window->parent; up != nullptr;) {
    const auto ancestor = FindWindowRecord(up);
    if (!ancestor || !ancestor->enabled) return nullptr;
    up = (ancestor->style & WS_CHILD) != 0 ? ancestor->parent : nullptr;
  }
  const auto top_level = TopLevelOf(window);
  if (g_active != top_level->handle) internal::ActivateWindow(top_level);
  if (g_focus == hwnd) return hwnd;
  const HWND old_focus = g_focus;
  g_focus = hwnd;
  if (old_focus != nullptr) SendMessage(old_focus, WM_KILLFOCUS, reinterpret_cast<WPARAM>(hwnd), 0);
  if (g_focus == hwnd) SendMessage(hwnd, WM_SETFOCUS, reinterpret_cast<WPARAM>(old_focus), 0);
  return old_focus;
}

HWND GetFocus() { return IsWindow(g_focus) ? g_focus : nullptr; }

bool SetForegroundWindow(HWND hwnd) {
  const auto window = FindWindowRecord(hwnd);
  if (!window || window->destroying) return false;
  auto top_level = TopLevelOf(window);
  if (!top_level->enabled) {
    const auto front = FrontOwnedEnabled(top_level->handle);
    if (!front) return false;
    top_level = front;
  }
  internal::ActivateWindow(top_level);
  return true;
}

HWND GetForegroundWindow() { return GetActiveWindow(); }

HWND SetActiveWindow(HWND hwnd) {
  const HWND old_active = GetActiveWindow();
  SetForegroundWindow(hwnd);
  return old_active;
}

HWND GetActiveWindow() { return IsWindow(g_active) ? g_active : nullptr; }

HCURSOR LoadCursor(HINSTANCE instance, const char* name) {
  if (instance == nullptr && name == IDC_ARROW) return &g_arrow;
  return nullptr;
}

HCURSOR SetCursor(HCURSOR cursor) {
  const HCURSOR old_cursor = g_cursor;
  if (cursor != g_cursor) {
    g_cursor = cursor;
    internal::GetBackend().ApplyCursor(cursor);
  }
  return old_cursor;
}

HCURSOR GetCursor() { return g_cursor; }

}  // namespace platform
