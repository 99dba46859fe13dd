// Modeless dialogs made from C++ template tables, and the calls that work on their items.
//
// A template gives the dialog's style, size, caption and font and one row per control: class,
// text, id, style and rectangle. Sizes and positions are in dialog units: a horizontal unit is a
// quarter of the dialog font's average character width, a vertical unit an eighth of its height,
// so a layout keeps its proportions whatever the font measures.
//
//   constexpr DialogItemTemplate kItems[] = {
//       dialog_item::LText("Name:", -1, 7, 9, 30, 8),
//       dialog_item::EditText(1001, 40, 7, 90, 12, ES_AUTOHSCROLL),
//       dialog_item::DefPushButton("OK", IDOK, 40, 26, 50, 14),
//   };
//   constexpr DialogTemplate kNameDialog{.style = WS_POPUP | WS_CAPTION | DS_MODALFRAME | DS_CENTER,
//                                        .width = 137, .height = 47, .caption = "Name", .items = kItems};
//
// The dialog procedure gets every message first and returns nonzero when it handled it; the rest
// get the dialog's default handling: the face-coloured background, WM_CLOSE as IDCANCEL, the focus
// kept across activation, and the default push button following the focus. Dialogs are modeless:
// hand each message to IsDialogMessage (dialog_navigation.h) in the pre-translation step so that
// Tab, the arrows, Enter and Esc work.
//
// UI thread only.
#pragma once

#include <cstdint>
#include <span>

#include "platform/controls/control_messages.h"
#include "platform/controls/control_types.h"

namespace platform {

struct DialogItemTemplate {
  const char* class_name = WC_STATIC;
  const char* text = "";
  int id = -1;
  uint32_t style = 0;  // WS_CHILD is implied; WS_VISIBLE shows the control
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;  // a drop-down list's height includes its opened list
  uint32_t ex_style = 0;
};

struct DialogTemplate {
  // WS_POPUP or WS_CHILD, WS_CAPTION (with WS_SYSMENU), WS_VISIBLE, DS_MODALFRAME, DS_CENTER,
  // DS_SETFOREGROUND.
  uint32_t style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME;
  uint32_t ex_style = 0;
  int x = 0;  // from the owner's client area's top-left corner (the parent's for WS_CHILD)
  int y = 0;
  int width = 0;  // of the client area
  int height = 0;
  const char* caption = "";
  const char* font_face = "MS Sans Serif";
  int font_points = 8;
  std::span<const DialogItemTemplate> items;
};

// Rows of a template, named after the statements of a dialog script. Each takes the usual styles
// of its kind; `style` adds to them.
namespace dialog_item {

constexpr DialogItemTemplate Control(const char* text, int id, const char* class_name, uint32_t style, int x, int y,
                                     int width, int height, uint32_t ex_style = 0) {
  return DialogItemTemplate{class_name, text, id, style, x, y, width, height, ex_style};
}
constexpr DialogItemTemplate LText(const char* text, int id, int x, int y, int width, int height, uint32_t style = 0) {
  return Control(text, id, WC_STATIC, SS_LEFT | WS_GROUP | WS_VISIBLE | style, x, y, width, height);
}
constexpr DialogItemTemplate CText(const char* text, int id, int x, int y, int width, int height, uint32_t style = 0) {
  return Control(text, id, WC_STATIC, SS_CENTER | WS_GROUP | WS_VISIBLE | style, x, y, width, height);
}
constexpr DialogItemTemplate RText(const char* text, int id, int x, int y, int width, int height, uint32_t style = 0) {
  return Control(text, id, WC_STATIC, SS_RIGHT | WS_GROUP | WS_VISIBLE | style, x, y, width, height);
}
constexpr DialogItemTemplate Icon(int id, int x, int y, int width, int height, uint32_t style = 0) {
  return Control("", id, WC_STATIC, SS_ICON | WS_VISIBLE | style, x, y, width, height);
}
constexpr DialogItemTemplate Bitmap(int id, int x, int y, int width, int height, uint32_t style = 0) {
  return Control("", id, WC_STATIC, SS_BITMAP | WS_VISIBLE | style, x, y, width, height);
}
constexpr DialogItemTemplate PushButton(const char* text, int id, int x, int y, int width, int height,
                                        uint32_t style = 0) {
  return Control(text, id, WC_BUTTON, BS_PUSHBUTTON | WS_TABSTOP | WS_VISIBLE | style, x, y, width, height);
}
constexpr DialogItemTemplate DefPushButton(const char* text, int id, int x, int y, int width, int height,
                                           uint32_t style = 0) {
  return Control(text, id, WC_BUTTON, BS_DEFPUSHBUTTON | WS_TABSTOP | WS_VISIBLE | style, x, y, width, height);
}
constexpr DialogItemTemplate CheckBox(const char* text, int id, int x, int y, int width, int height,
                                      uint32_t style = 0) {
  return Control(text, id, WC_BUTTON, BS_CHECKBOX | WS_TABSTOP | WS_VISIBLE | style, x, y, width, height);
}
constexpr DialogItemTemplate AutoCheckBox(const char* text, int id, int x, int y, int width, int height,
                                          uint32_t style = 0) {
  return Control(text, id, WC_BUTTON, BS_AUTOCHECKBOX | WS_TABSTOP | WS_VISIBLE | style, x, y, width, height);
}
constexpr DialogItemTemplate RadioButton(const char* text, int id, int x, int y, int width, int height,
                                         uint32_t style = 0) {
  return Control(text, id, WC_BUTTON, BS_RADIOBUTTON | WS_VISIBLE | style, x, y, width, height);
}
constexpr DialogItemTemplate GroupBox(const char* text, int id, int x, int y, int width, int height,
                                      uint32_t style = 0) {
  return Control(text, id, WC_BUTTON, BS_GROUPBOX | WS_VISIBLE | style, x, y, width, height);
}
constexpr DialogItemTemplate EditText(int id, int x, int y, int width, int height, uint32_t style = 0) {
  return Control("", id, WC_EDIT, ES_LEFT | WS_BORDER | WS_TABSTOP | WS_VISIBLE | style, x, y, width, height);
}
constexpr DialogItemTemplate ListBox(int id, int x, int y, int width, int height, uint32_t style = 0) {
  return Control("", id, WC_LISTBOX, LBS_NOTIFY | WS_BORDER | WS_VSCROLL | WS_TABSTOP | WS_VISIBLE | style, x, y,
                 width, height);
}
constexpr DialogItemTemplate DropDownList(int id, int x, int y, int width, int height, uint32_t style = 0) {
  return Control("", id, WC_COMBOBOX, CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP | WS_VISIBLE | style, x, y, width,
                 height);
}
constexpr DialogItemTemplate ScrollBar(int id, int x, int y, int width, int height, uint32_t style = 0) {
  return Control("", id, WC_SCROLLBAR, SBS_VERT | WS_VISIBLE | style, x, y, width, height);
}
constexpr DialogItemTemplate ListView(int id, int x, int y, int width, int height, uint32_t style = 0) {
  return Control("", id, WC_LISTVIEW,
                 LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS | WS_BORDER | WS_TABSTOP | WS_VISIBLE | style, x, y,
                 width, height);
}

}  // namespace dialog_item

// Creates the dialog and its controls, sends WM_SETFONT to each control and WM_INITDIALOG (wParam:
// the first control with WS_TABSTOP, lParam: `init_param`) to the procedure; when that returns
// nonzero the focus goes to that control. A dialog with WS_VISIBLE is then shown (a popup is
// activated) and, with DS_SETFOREGROUND, brought to the foreground. A popup is owned by the
// top-level window of `parent`; DS_CENTER centres it over that window. Returns nullptr when the
// template or a control could not be made (nothing is left behind).
HWND CreateDialogIndirectParam(HINSTANCE instance, const DialogTemplate* dialog, HWND parent, DLGPROC procedure,
                               LPARAM init_param);
inline HWND CreateDialogIndirect(HINSTANCE instance, const DialogTemplate* dialog, HWND parent, DLGPROC procedure) {
  return CreateDialogIndirectParam(instance, dialog, parent, procedure, 0);
}

// Converts a rectangle from the dialog's units to pixels.
bool MapDialogRect(HWND dialog, RECT* rect);

// The items of a dialog (any window's children, by control id).
int GetDlgItemText(HWND dialog, int id, char* buffer, int buffer_size);
bool SetDlgItemText(HWND dialog, int id, const char* text);
// Reads the item's text as a decimal integer: an optional minus (only when `is_signed`) and one or
// more digits, nothing else, within the 32-bit range. `translated` (when given) says whether it
// was one; otherwise the result is 0.
UINT GetDlgItemInt(HWND dialog, int id, bool* translated, bool is_signed);
bool SetDlgItemInt(HWND dialog, int id, UINT value, bool is_signed);
bool CheckDlgButton(HWND dialog, int id, UINT check);
UINT IsDlgButtonChecked(HWND dialog, int id);
// Checks `check` and unchecks every other button with an id from `first` to `last`.
bool CheckRadioButton(HWND dialog, int first, int last, int check);
LRESULT SendDlgItemMessage(HWND dialog, int id, UINT message, WPARAM wParam, LPARAM lParam);

// The text GetDlgItemInt accepts, read as a number (the same rules, without a window).
bool ParseDialogInteger(const char* text, bool is_signed, UINT* value);

}  // namespace platform

namespace platform::controls {

void RegisterDialogWindowClass();

}  // namespace platform::controls
