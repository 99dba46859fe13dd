#include "platform/controls/dialog.h"

#include <cstdio>
#include <limits>
#include <string>

#include "platform/controls/common_controls.h"
#include "platform/controls/control_base.h"
#include "platform/controls/control_look.h"
#include "platform/controls/dialog_navigation.h"
#include "platform/window/activation.h"
#include "platform/window/message_queue.h"
#include "platform/window/paint.h"
#include "platform/window/window.h"

namespace platform {

namespace {

constexpr int kScreenDpi = 96;
constexpr int kPointsPerInch = 72;
constexpr const char* kAlphabet = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";

// a * b / c rounded to the nearest whole number (c > 0).
int MulDiv(int a, int b, int c) {
  const int64_t product = static_cast<int64_t>(a) * b;
  return static_cast<int>(product >= 0 ? (product + c / 2) / c : -((-product + c / 2) / c));
}

// What a dialog window keeps. Deleted when the outermost call into the dialog's procedure after
// WM_NCDESTROY returns, so the dialog procedure may destroy its own dialog from any handler.
struct DialogState {
  DLGPROC procedure = nullptr;
  HFONT font = nullptr;  // owned
  SIZE base_units{4, 8};  // average character width and height of the font
  bool has_caption = false;
  bool modal_frame = false;
  HWND saved_focus = nullptr;
  int default_id = IDOK;
  int call_depth = 0;
  bool destroyed = false;
  bool attached = false;  // the window took ownership at WM_CREATE
};

DialogState* StateOf(HWND dialog) { return reinterpret_cast<DialogState*>(GetWindowLongPtr(dialog, 0)); }

bool IsDialog(HWND hwnd) {
  char name[32];
  return GetClassName(hwnd, name, sizeof(name)) > 0 && std::string(name) == WC_DIALOG;
}

bool IsPushButton(HWND control) {
  const LRESULT code = SendMessage(control, WM_GETDLGCODE, 0, 0);
  return (code & (DLGC_DEFPUSHBUTTON | DLGC_UNDEFPUSHBUTTON)) != 0;
}

// The default push button follows the focus: the focused push button, else the dialog's default.
void UpdateDefaultButton(HWND dialog, const DialogState& state, HWND focus) {
  const bool focus_is_button = focus != nullptr && GetParent(focus) == dialog && IsPushButton(focus);
  for (HWND child = GetWindow(dialog, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
    if (!IsPushButton(child)) continue;
    const bool is_default = focus_is_button ? child == focus : GetDlgCtrlID(child) == state.default_id;
    SendMessage(child, BM_SETSTYLE, is_default ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON, 1);
  }
}

bool FocusIsInside(HWND dialog) {
  const HWND focus = GetFocus();
  return focus != nullptr && IsChild(dialog, focus);
}

// Puts the focus back on the control that had it, or on the first tab stop.
void RestoreFocus(HWND dialog, DialogState& state) {
  HWND target = state.saved_focus;
  if (target == nullptr || !IsWindow(target) || !IsChild(dialog, target) || !IsWindowEnabled(target) ||
      !IsWindowVisible(target)) {
    target = GetNextDlgTabItem(dialog, nullptr, false);
    if (target != nullptr && (SendMessage(target, WM_GETDLGCODE, 0, 0) & DLGC_HASSETSEL) != 0) {
      SendMessage(target, EM_SETSEL, 0, -1);
    }
  }
  if (target != nullptr) SetFocus(target);
}

void PaintBackground(HWND dialog, const DialogState& state, HDC dc) {
  RECT client;
  GetClientRect(dialog, &client);
  look::Fill(dc, client, look::Face());
  // A popup without caption shows no frame of the window system's: the dialog draws its own edge.
  if (state.modal_frame && !state.has_caption) look::RaisedEdge(dc, client);
}

void SetDefaultId(HWND dialog, DialogState& state, int id) {
  state.default_id = id;
  UpdateDefaultButton(dialog, state, GetFocus());
}

LRESULT DefaultDialogMessage(HWND dialog, DialogState& state, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_ERASEBKGND:
      PaintBackground(dialog, state, reinterpret_cast<HDC>(wParam));
      return 1;
    case WM_PAINT: {
      PAINTSTRUCT paint;
      const HDC dc = BeginPaint(dialog, &paint);
      if (dc != nullptr && paint.fErase) PaintBackground(dialog, state, dc);
      EndPaint(dialog, &paint);
      return 0;
    }
    case WM_CLOSE: {
      const HWND cancel = GetDlgItem(dialog, IDCANCEL);
      if (cancel == nullptr || IsWindowEnabled(cancel)) {
        SendMessage(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), reinterpret_cast<LPARAM>(cancel));
      }
      return 0;
    }
    case WM_ACTIVATE:
      if (LOWORD(wParam) != WA_INACTIVE && !FocusIsInside(dialog)) RestoreFocus(dialog, state);
      return 0;
    case WM_SETFOCUS:
      RestoreFocus(dialog, state);
      return 0;
    case WM_INITDIALOG: return 1;
    case DM_GETDEFID: return state.default_id;
    case DM_SETDEFID:
      SetDefaultId(dialog, state, static_cast<int>(wParam));
      return 1;
    default: return DefWindowProc(dialog, message, wParam, lParam);
  }
}

LRESULT HandleDialogMessage(HWND dialog, DialogState& state, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == controls::kControlFocusMessage) {
    const HWND control = reinterpret_cast<HWND>(wParam);
    if (GetParent(control) == dialog) {
      state.saved_focus = control;
      UpdateDefaultButton(dialog, state, control);
    }
    return 0;
  }
  if (message == WM_ACTIVATE && LOWORD(wParam) == WA_INACTIVE && FocusIsInside(dialog)) {
    state.saved_focus = GetFocus();
  }
  if (state.procedure != nullptr) {
    const INT_PTR handled = state.procedure(dialog, message, wParam, lParam);
    if (handled != 0) return handled;
    if (state.destroyed) return 0;
  }
  return DefaultDialogMessage(dialog, state, message, wParam, lParam);
}

LRESULT DialogWindowProcedure(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  DialogState* state = StateOf(dialog);
  if (message == WM_CREATE) {
    state = static_cast<DialogState*>(reinterpret_cast<const CREATESTRUCT*>(lParam)->lpCreateParams);
    state->attached = true;
    SetWindowLongPtr(dialog, 0, reinterpret_cast<LONG_PTR>(state));
    return 0;
  }
  if (state == nullptr) return DefWindowProc(dialog, message, wParam, lParam);
  ++state->call_depth;
  LRESULT result = 0;
  if (message == WM_NCDESTROY) {
    if (state->procedure != nullptr) state->procedure(dialog, message, wParam, lParam);
    SetWindowLongPtr(dialog, 0, 0);
    state->destroyed = true;
  } else {
    result = HandleDialogMessage(dialog, *state, message, wParam, lParam);
  }
  if (--state->call_depth == 0 && state->destroyed) {
    DeleteObject(state->font);
    delete state;
  }
  return result;
}

void RegisterDialogClass() {
  WNDCLASS window_class;
  window_class.lpfnWndProc = DialogWindowProcedure;
  window_class.cbWndExtra = sizeof(LONG_PTR);
  window_class.hCursor = LoadCursor(nullptr, IDC_ARROW);
  window_class.lpszClassName = WC_DIALOG;
  RegisterClass(&window_class);
}

HFONT CreateDialogFont(const DialogTemplate& dialog) {
  const int points = dialog.font_points > 0 ? dialog.font_points : 8;
  const char* face = dialog.font_face != nullptr && dialog.font_face[0] != 0 ? dialog.font_face : "MS Sans Serif";
  return CreateFont(-MulDiv(points, kScreenDpi, kPointsPerInch), 0, 0, 0, FW_NORMAL, 0, 0, 0, ANSI_CHARSET, 0, 0, 0,
                    VARIABLE_PITCH, face);
}

// The average character width (from the alphabet, rounded) and the line height of the font.
SIZE BaseUnits(HFONT font) {
  const SIZE alphabet = look::Measure(font, kAlphabet);
  const int width = (alphabet.cx / 26 + 1) / 2;
  return SIZE{width > 0 ? width : 4, alphabet.cy > 0 ? alphabet.cy : 8};
}

RECT ToPixels(const SIZE& base, int x, int y, int width, int height) {
  const int left = MulDiv(x, base.cx, 4);
  const int top = MulDiv(y, base.cy, 8);
  return RECT{left, top, left + MulDiv(width, base.cx, 4), top + MulDiv(height, base.cy, 8)};
}

// The outer rectangle of a popup dialog whose client area is `client` pixels.
RECT PlacePopup(const DialogTemplate& dialog, uint32_t style, HWND owner, const RECT& client) {
  RECT outer{0, 0, client.right - client.left, client.bottom - client.top};
  AdjustWindowRectEx(&outer, style, false, dialog.ex_style);
  const int width = outer.right - outer.left;
  const int height = outer.bottom - outer.top;
  POINT origin{0, 0};
  if ((dialog.style & DS_CENTER) != 0) {
    RECT area{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    if (owner != nullptr && IsWindowVisible(owner)) GetWindowRect(owner, &area);
    origin = POINT{area.left + ((area.right - area.left) - width) / 2, area.top + ((area.bottom - area.top) - height) / 2};
  } else {
    origin = POINT{client.left, client.top};
    if (owner != nullptr) ClientToScreen(owner, &origin);
  }
  return RECT{origin.x, origin.y, origin.x + width, origin.y + height};
}

HWND TopLevelOf(HWND hwnd) {
  while (hwnd != nullptr && (GetWindowLongPtr(hwnd, GWL_STYLE) & WS_CHILD) != 0) hwnd = GetParent(hwnd);
  return hwnd;
}

bool CreateItems(HWND dialog, const DialogTemplate& dialog_template, const DialogState& state, HINSTANCE instance) {
  for (const DialogItemTemplate& item : dialog_template.items) {
    const RECT rect = ToPixels(state.base_units, item.x, item.y, item.width, item.height);
    const char* class_name = item.class_name != nullptr ? item.class_name : WC_STATIC;
    const HWND control =
        CreateWindowEx(item.ex_style, class_name, item.text != nullptr ? item.text : "", WS_CHILD | item.style,
                       rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, dialog,
                       reinterpret_cast<HMENU>(static_cast<intptr_t>(item.id)), instance, nullptr);
    if (control == nullptr) return false;
    SendMessage(control, WM_SETFONT, reinterpret_cast<WPARAM>(state.font), 0);
  }
  return true;
}

int TemplateDefaultId(HWND dialog) {
  for (HWND child = GetWindow(dialog, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
    if ((SendMessage(child, WM_GETDLGCODE, 0, 0) & DLGC_DEFPUSHBUTTON) != 0) return GetDlgCtrlID(child);
  }
  return IDOK;
}

}  // namespace

namespace controls {

void RegisterDialogWindowClass() { RegisterDialogClass(); }

}  // namespace controls

HWND CreateDialogIndirectParam(HINSTANCE instance, const DialogTemplate* dialog, HWND parent, DLGPROC procedure,
                               LPARAM init_param) {
  InitCommonControls();
  if (dialog == nullptr) return nullptr;
  const bool child = (dialog->style & WS_CHILD) != 0;
  if (child && !IsWindow(parent)) return nullptr;

  auto* state = new DialogState;
  state->procedure = procedure;
  state->font = CreateDialogFont(*dialog);
  state->base_units = BaseUnits(state->font);
  state->has_caption = (dialog->style & WS_CAPTION) == WS_CAPTION;
  state->modal_frame = (dialog->style & DS_MODALFRAME) != 0;

  const uint32_t style = dialog->style & ~WS_VISIBLE;
  const RECT client = ToPixels(state->base_units, dialog->x, dialog->y, dialog->width, dialog->height);
  RECT outer = client;
  HWND owner = parent;
  if (!child) {
    owner = TopLevelOf(parent);
    outer = PlacePopup(*dialog, style, owner, client);
  }
  const HWND hwnd = CreateWindowEx(dialog->ex_style, WC_DIALOG, dialog->caption != nullptr ? dialog->caption : "",
                                   style, outer.left, outer.top, outer.right - outer.left, outer.bottom - outer.top,
                                   child ? parent : owner, nullptr, instance, state);
  if (hwnd == nullptr) {
    if (!state->attached) {
      DeleteObject(state->font);
      delete state;
    }
    return nullptr;
  }
  if (!CreateItems(hwnd, *dialog, *state, instance)) {
    DestroyWindow(hwnd);
    return nullptr;
  }
  state->default_id = TemplateDefaultId(hwnd);
  const HWND first = GetNextDlgTabItem(hwnd, nullptr, false);
  state->saved_focus = first;

  const LRESULT focus_first = SendMessage(hwnd, WM_INITDIALOG, reinterpret_cast<WPARAM>(first), init_param);
  if (!IsWindow(hwnd)) return nullptr;
  if (focus_first != 0 && first != nullptr && (SendMessage(first, WM_GETDLGCODE, 0, 0) & DLGC_HASSETSEL) != 0) {
    SendMessage(first, EM_SETSEL, 0, -1);
  }
  if (focus_first == 0 && FocusIsInside(hwnd)) state->saved_focus = GetFocus();
  UpdateDefaultButton(hwnd, *state, state->saved_focus);
  if ((dialog->style & WS_VISIBLE) != 0) {
    ShowWindow(hwnd, SW_SHOW);
    if (!IsWindow(hwnd)) return nullptr;
    if (child && focus_first != 0 && first != nullptr) SetFocus(first);
    if ((dialog->style & DS_SETFOREGROUND) != 0) SetForegroundWindow(hwnd);
  }
  return IsWindow(hwnd) ? hwnd : nullptr;
}

bool MapDialogRect(HWND dialog, RECT* rect) {
  if (rect == nullptr || !IsDialog(dialog)) return false;
  const DialogState* state = StateOf(dialog);
  if (state == nullptr) return false;
  *rect = ToPixels(state->base_units, rect->left, rect->top, rect->right - rect->left, rect->bottom - rect->top);
  return true;
}

int GetDlgItemText(HWND dialog, int id, char* buffer, int buffer_size) {
  if (buffer != nullptr && buffer_size > 0) buffer[0] = 0;
  return GetWindowText(GetDlgItem(dialog, id), buffer, buffer_size);
}

bool SetDlgItemText(HWND dialog, int id, const char* text) { return SetWindowText(GetDlgItem(dialog, id), text); }

bool ParseDialogInteger(const char* text, bool is_signed, UINT* value) {
  if (text == nullptr) return false;
  const char* p = text;
  const bool negative = *p == '-';
  if (negative) {
    if (!is_signed) return false;
    ++p;
  }
  if (*p == 0) return false;
  uint64_t magnitude = 0;
  for (; *p != 0; ++p) {
    if (*p < '0' || *p > '9') return false;
    magnitude = magnitude * 10 + static_cast<uint64_t>(*p - '0');
    if (magnitude > std::numeric_limits<uint32_t>::max()) return false;
  }
  if (is_signed) {
    const uint64_t ceiling = negative ? uint64_t{1} << 31 : (uint64_t{1} << 31) - 1;
    if (magnitude > ceiling) return false;
    const int64_t signed_value = negative ? -static_cast<int64_t>(magnitude) : static_cast<int64_t>(magnitude);
    *value = static_cast<UINT>(static_cast<int32_t>(signed_value));
    return true;
  }
  *value = static_cast<UINT>(magnitude);
  return true;
}

UINT GetDlgItemInt(HWND dialog, int id, bool* translated, bool is_signed) {
  if (translated != nullptr) *translated = false;
  const HWND item = GetDlgItem(dialog, id);
  if (item == nullptr) return 0;
  const int length = GetWindowTextLength(item);
  std::string text(static_cast<size_t>(length) + 1, '\0');
  GetWindowText(item, text.data(), length + 1);
  UINT value = 0;
  if (!ParseDialogInteger(text.c_str(), is_signed, &value)) return 0;
  if (translated != nullptr) *translated = true;
  return value;
}

bool SetDlgItemInt(HWND dialog, int id, UINT value, bool is_signed) {
  char text[16];
  if (is_signed) {
    std::snprintf(text, sizeof(text), "%d", static_cast<int>(value));
  } else {
    std::snprintf(text, sizeof(text), "%u", value);
  }
  return SetDlgItemText(dialog, id, text);
}

bool CheckDlgButton(HWND dialog, int id, UINT check) {
  const HWND button = GetDlgItem(dialog, id);
  if (button == nullptr) return false;
  SendMessage(button, BM_SETCHECK, check, 0);
  return true;
}

UINT IsDlgButtonChecked(HWND dialog, int id) {
  return static_cast<UINT>(SendMessage(GetDlgItem(dialog, id), BM_GETCHECK, 0, 0));
}

bool CheckRadioButton(HWND dialog, int first, int last, int check) {
  if (!IsWindow(dialog)) return false;
  for (HWND child = GetWindow(dialog, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
    const int id = GetDlgCtrlID(child);
    if (id < first || id > last) continue;
    SendMessage(child, BM_SETCHECK, id == check ? BST_CHECKED : BST_UNCHECKED, 0);
  }
  return true;
}

LRESULT SendDlgItemMessage(HWND dialog, int id, UINT message, WPARAM wParam, LPARAM lParam) {
  return SendMessage(GetDlgItem(dialog, id), message, wParam, lParam);
}

}  // namespace platform
