#include "platform/controls/control_base.h"

#include <algorithm>
#include <cstring>

#include "platform/controls/control_look.h"
#include "platform/window/message_queue.h"

namespace platform::controls {

bool ControlBase::Bordered() const {
  return (style() & WS_BORDER) != 0 || (GetWindowLongPtr(hwnd_, GWL_EXSTYLE) & WS_EX_CLIENTEDGE) != 0;
}

RECT ControlBase::Inside() const {
  const RECT area = Client();
  if (!Bordered()) return area;
  return RECT{area.left + 2, area.top + 2, area.right - 2, area.bottom - 2};
}

bool ControlBase::Notify(int code) {
  const HWND parent = GetParent(hwnd_);
  if (parent != nullptr) {
    SendMessage(parent, WM_COMMAND, MAKEWPARAM(id(), code), reinterpret_cast<LPARAM>(hwnd_));
  }
  return IsWindow(hwnd_) && !destroyed_;
}

LRESULT ControlBase::NotifyStructure(NMHDR* header, UINT code) {
  header->hwndFrom = hwnd_;
  header->idFrom = static_cast<UINT_PTR>(id());
  header->code = code;
  const HWND parent = GetParent(hwnd_);
  if (parent == nullptr) return 0;
  return SendMessage(parent, WM_NOTIFY, static_cast<WPARAM>(id()), reinterpret_cast<LPARAM>(header));
}

bool ControlBase::NotifyFocus(int code) {
  const HWND parent = GetParent(hwnd_);
  if (parent != nullptr) SendMessage(parent, kControlFocusMessage, reinterpret_cast<WPARAM>(hwnd_), 0);
  if (!IsWindow(hwnd_) || destroyed_) return false;
  return Notify(code);
}

LRESULT ControlBase::DefaultThenRedraw(UINT message, WPARAM wParam, LPARAM lParam) {
  const LRESULT result = DefWindowProc(hwnd_, message, wParam, lParam);
  Redraw();
  return result;
}

bool ControlBase::HandleCommon(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
  switch (message) {
    case WM_SETFONT:
      font_ = reinterpret_cast<HFONT>(wParam);
      OnFontChanged();
      if (lParam != 0) Redraw();
      *result = 0;
      return true;
    case WM_GETFONT:
      *result = reinterpret_cast<LRESULT>(font_);
      return true;
    case WM_ERASEBKGND:
      *result = 1;  // the paint covers the whole control
      return true;
    case WM_ENABLE:
      Redraw();
      *result = 0;
      return true;
    default:
      return false;
  }
}

void RegisterControlClass(const char* name, WNDPROC procedure, UINT class_style) {
  WNDCLASS window_class;
  window_class.style = class_style;
  window_class.lpfnWndProc = procedure;
  window_class.cbWndExtra = sizeof(LONG_PTR);
  window_class.hCursor = LoadCursor(nullptr, IDC_ARROW);
  window_class.lpszClassName = name;
  RegisterClass(&window_class);
}

HFONT FontOrDefault(HFONT font) { return font != nullptr ? font : look::DefaultFont(); }

LRESULT CopyTextOut(const std::string& text, WPARAM size, LPARAM buffer) {
  char* out = reinterpret_cast<char*>(buffer);
  if (out == nullptr || size == 0) return 0;
  const size_t length = std::min(text.size(), static_cast<size_t>(size) - 1);
  std::memcpy(out, text.data(), length);
  out[length] = 0;
  return static_cast<LRESULT>(length);
}

}  // namespace platform::controls
