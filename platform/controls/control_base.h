// What every control class shares: its state object tied to its window, notices to the parent,
// the font it was given, and the inner scroll bar of lists and multi-line edits.
//
// UI thread only.
#pragma once

#include <string>

#include "platform/controls/control_messages.h"
#include "platform/controls/control_types.h"
#include "platform/window/activation.h"
#include "platform/window/input.h"
#include "platform/window/paint.h"
#include "platform/window/window.h"

namespace platform::controls {

// A private message a control sends its parent when it takes the focus (wParam: the control), so
// that a dialog can keep its default push button and remember where its focus was.
constexpr UINT kControlFocusMessage = 0x02F0;

// The state of one control window. A control's procedure may be re-entered while a notice to its
// parent runs, and the parent may destroy the control from there: the state is deleted only when
// the outermost call into the control has returned, so a handler may still touch its members after
// a notice (its window calls then simply fail).
class ControlBase {
 public:
  explicit ControlBase(HWND hwnd) : hwnd_(hwnd) {}
  virtual ~ControlBase() = default;
  ControlBase(const ControlBase&) = delete;
  ControlBase& operator=(const ControlBase&) = delete;

  // Handles a message other than WM_CREATE, WM_NCDESTROY and those HandleCommon answers.
  virtual LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam) = 0;

  HWND hwnd() const { return hwnd_; }
  bool alive() const { return !destroyed_; }
  uint32_t style() const { return static_cast<uint32_t>(GetWindowLongPtr(hwnd_, GWL_STYLE)); }
  bool enabled() const { return IsWindowEnabled(hwnd_); }
  bool focused() const { return GetFocus() == hwnd_; }
  int id() const { return GetDlgCtrlID(hwnd_); }
  HFONT font() const { return font_; }
  void Redraw() { InvalidateRect(hwnd_, nullptr, false); }
  RECT Client() const {
    RECT rect;
    GetClientRect(hwnd_, &rect);
    return rect;
  }
  // WS_BORDER or WS_EX_CLIENTEDGE: the control draws a sunken two-pixel edge round its client area.
  bool Bordered() const;
  // The client area inside that edge (all of it without one).
  RECT Inside() const;

  // WM_COMMAND to the parent. Returns whether the control still exists afterwards.
  bool Notify(int code);
  // WM_NOTIFY to the parent with a structure that begins with NMHDR (filled in here).
  LRESULT NotifyStructure(NMHDR* header, UINT code);
  // Tells the parent the control took the focus (the dialog's bookkeeping, then `code`).
  bool NotifyFocus(int code);
  // The default answer to `message` (a new caption, say), then a repaint to show it.
  LRESULT DefaultThenRedraw(UINT message, WPARAM wParam, LPARAM lParam);

  // WM_SETFONT / WM_GETFONT and the messages every control answers the same way; false when the
  // message is not one of them. ControlProcedure asks it before Handle.
  bool HandleCommon(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);

  // Called by ControlProcedure.
  int call_depth_ = 0;
  bool destroyed_ = false;

 protected:
  HWND hwnd_;
  HFONT font_ = nullptr;  // nullptr until WM_SETFONT: the default font
  virtual void OnFontChanged() {}
};

// The window procedure of a control class whose state is `Control` (made at WM_CREATE from the
// window and its CREATESTRUCT; WM_CREATE fails when the constructor leaves `failed()` true).
template <class Control>
LRESULT ControlProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* control = reinterpret_cast<Control*>(GetWindowLongPtr(hwnd, 0));
  if (message == WM_CREATE) {
    control = new Control(hwnd, *reinterpret_cast<const CREATESTRUCT*>(lParam));
    SetWindowLongPtr(hwnd, 0, reinterpret_cast<LONG_PTR>(control));
    return 0;
  }
  if (control == nullptr) return DefWindowProc(hwnd, message, wParam, lParam);
  ++control->call_depth_;
  LRESULT result = 0;
  if (message == WM_NCDESTROY) {
    SetWindowLongPtr(hwnd, 0, 0);
    control->destroyed_ = true;
  } else if (!control->HandleCommon(message, wParam, lParam, &result)) {
    result = control->Handle(message, wParam, lParam);
  }
  if (--control->call_depth_ == 0 && control->destroyed_) delete control;
  return result;
}

// Registers a control class whose windows keep their state pointer in their extra bytes. Registering
// a class that exists already changes nothing.
void RegisterControlClass(const char* name, WNDPROC procedure, UINT class_style);

// The font a control draws with.
HFONT FontOrDefault(HFONT font);

// Text passed in lParam of WM_SETTEXT, LB_ADDSTRING and the like; null reads as "".
inline std::string TextArgument(LPARAM lParam) {
  const char* text = reinterpret_cast<const char*>(lParam);
  return text != nullptr ? std::string(text) : std::string();
}

// Copies `text` into a WM_GETTEXT-style buffer of `size` bytes; returns the characters copied.
LRESULT CopyTextOut(const std::string& text, WPARAM size, LPARAM buffer);

}  // namespace platform::controls
