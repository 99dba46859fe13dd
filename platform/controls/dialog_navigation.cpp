#include "platform/controls/dialog_navigation.h"

#include <vector>

#include "platform/controls/control_messages.h"
#include "platform/window/activation.h"
#include "platform/window/input.h"
#include "platform/window/message_queue.h"
#include "platform/window/window.h"

namespace platform {

namespace {

std::vector<HWND> Children(HWND dialog) {
  std::vector<HWND> children;
  for (HWND child = GetWindow(dialog, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
    children.push_back(child);
  }
  return children;
}

uint32_t StyleOf(HWND hwnd) { return static_cast<uint32_t>(GetWindowLongPtr(hwnd, GWL_STYLE)); }

bool CanFocus(HWND hwnd) { return IsWindowVisible(hwnd) && IsWindowEnabled(hwnd); }

LRESULT DialogCodeOf(HWND control, WPARAM key, MSG* msg) {
  return SendMessage(control, WM_GETDLGCODE, key, reinterpret_cast<LPARAM>(msg));
}

// Moves the focus to a control the keyboard reached; an edit gets its whole text selected.
void FocusControl(HWND control) {
  SetFocus(control);
  if ((DialogCodeOf(control, 0, nullptr) & DLGC_HASSETSEL) != 0) SendMessage(control, EM_SETSEL, 0, -1);
}

// Clicks a button through its own message, or tells the dialog about a button it does not have.
void PressButton(HWND dialog, int id) {
  const HWND button = GetDlgItem(dialog, id);
  if (button == nullptr) {
    SendMessage(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0);
    return;
  }
  if (IsWindowEnabled(button)) SendMessage(button, BM_CLICK, 0, 0);
}

void OnEnter(HWND dialog, HWND focus, LRESULT code) {
  if (focus != nullptr && (code & (DLGC_DEFPUSHBUTTON | DLGC_UNDEFPUSHBUTTON)) != 0) {
    if (IsWindowEnabled(focus)) SendMessage(focus, BM_CLICK, 0, 0);
    return;
  }
  PressButton(dialog, static_cast<int>(SendMessage(dialog, DM_GETDEFID, 0, 0)));
}

void OnArrow(HWND dialog, HWND focus, bool previous) {
  const HWND next = GetNextDlgGroupItem(dialog, focus, previous);
  if (next == nullptr || next == focus) return;
  FocusControl(next);
  if ((DialogCodeOf(next, 0, nullptr) & DLGC_RADIOBUTTON) != 0 && IsWindow(next)) {
    SendMessage(next, BM_CLICK, 0, 0);
  }
}

// Handles a key with a dialog meaning; false leaves the key to the focused control.
bool HandleKey(HWND dialog, MSG* msg) {
  HWND focus = GetFocus();
  if (focus != nullptr && focus != dialog && !IsChild(dialog, focus)) focus = nullptr;
  // A control inside a control (a list's scroll bar) speaks for the control that holds it.
  while (focus != nullptr && GetParent(focus) != dialog && focus != dialog) focus = GetParent(focus);
  if (focus == dialog) focus = nullptr;
  const WPARAM key = msg->wParam;
  const LRESULT code = focus != nullptr ? DialogCodeOf(focus, key, msg) : 0;
  if ((code & DLGC_WANTMESSAGE) != 0) return false;
  switch (key) {
    case VK_TAB: {
      if ((code & DLGC_WANTTAB) != 0) return false;
      const HWND next = GetNextDlgTabItem(dialog, focus, GetKeyState(VK_SHIFT) < 0);
      if (next != nullptr) FocusControl(next);
      return true;
    }
    case VK_LEFT:
    case VK_UP:
    case VK_RIGHT:
    case VK_DOWN:
      if ((code & DLGC_WANTARROWS) != 0) return false;
      OnArrow(dialog, focus, key == VK_LEFT || key == VK_UP);
      return true;
    case VK_RETURN:
      OnEnter(dialog, focus, code);
      return true;
    case VK_ESCAPE:
      PressButton(dialog, IDCANCEL);
      return true;
    default:
      return false;
  }
}

}  // namespace

bool IsDialogMessage(HWND dialog, MSG* msg) {
  if (msg == nullptr || !IsWindow(dialog)) return false;
  if (msg->hwnd != dialog && !IsChild(dialog, msg->hwnd)) return false;
  if (msg->message == WM_KEYDOWN && HandleKey(dialog, msg)) return true;
  TranslateMessage(msg);
  DispatchMessage(msg);
  return true;
}

HWND GetNextDlgTabItem(HWND dialog, HWND control, bool previous) {
  const std::vector<HWND> children = Children(dialog);
  const int count = static_cast<int>(children.size());
  if (count == 0) return nullptr;
  int start = previous ? count : -1;
  for (int i = 0; i < count; ++i) {
    if (children[static_cast<size_t>(i)] == control) start = i;
  }
  for (int step = 1; step <= count; ++step) {
    const int index = ((start + (previous ? -step : step)) % count + count) % count;
    const HWND candidate = children[static_cast<size_t>(index)];
    if ((StyleOf(candidate) & WS_TABSTOP) != 0 && CanFocus(candidate)) return candidate;
  }
  return nullptr;
}

HWND GetNextDlgGroupItem(HWND dialog, HWND control, bool previous) {
  const std::vector<HWND> children = Children(dialog);
  const int count = static_cast<int>(children.size());
  int position = -1;
  for (int i = 0; i < count; ++i) {
    if (children[static_cast<size_t>(i)] == control) position = i;
  }
  if (position < 0) return nullptr;
  // The group runs from the nearest control with WS_GROUP at or before `control` to the one
  // before the next control with WS_GROUP.
  int first = position;
  while (first > 0 && (StyleOf(children[static_cast<size_t>(first)]) & WS_GROUP) == 0) --first;
  int end = position + 1;
  while (end < count && (StyleOf(children[static_cast<size_t>(end)]) & WS_GROUP) == 0) ++end;
  const int size = end - first;
  for (int step = 1; step < size; ++step) {
    const int offset = ((position - first + (previous ? -step : step)) % size + size) % size;
    const HWND candidate = children[static_cast<size_t>(first + offset)];
    if (CanFocus(candidate) && (DialogCodeOf(candidate, 0, nullptr) & DLGC_STATIC) == 0) return candidate;
  }
  return control;
}

}  // namespace platform
