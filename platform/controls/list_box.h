// List boxes (class "LISTBOX"): a column of texts with at most one selected row.
//
// The user selects with a click (a drag follows the pointer), the arrow keys, Page Up / Down, Home,
// End, or the first letter of a row; each change by the user sends LBN_SELCHANGE (LB_SETCURSEL by
// the program sends nothing). A double click sends LBN_DBLCLK after the selection notice. Taking the
// focus sends LBN_SETFOCUS. With WS_VSCROLL a scroll bar appears along the right edge while rows are
// hidden (always, greyed when all fit, with LBS_DISABLENOSCROLL); the wheel scrolls three rows.
#pragma once

namespace platform::controls {

void RegisterListBoxClass();

}  // namespace platform::controls
