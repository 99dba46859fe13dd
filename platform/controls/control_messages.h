// Messages the standard controls and dialogs understand, and the notification codes they send.
//
// The controls use 0x0200-0x02FF of the range the window core leaves to the platform's other
// pieces. Controls tell their parent what happened with WM_COMMAND (wParam: control id in the
// low word, notification code in the high word; lParam: the control's window) or, list views,
// with WM_NOTIFY (wParam: control id; lParam: NMHDR* and the structure that begins with it).
// Notices go out with SendMessage, so the parent may destroy the control (or the whole dialog)
// from inside its handler.
#pragma once

#include "platform/controls/control_types.h"
#include "platform/window/message_queue.h"

namespace platform {

// Text transfer for edits (selection to and from the program's own clipboard).
constexpr UINT WM_CUT = 0x0200;
constexpr UINT WM_COPY = 0x0201;
constexpr UINT WM_PASTE = 0x0202;
constexpr UINT WM_CLEAR = 0x0203;

// Dialogs: the id that Enter chooses when no push button has the focus.
constexpr UINT DM_GETDEFID = 0x0208;  // returns the id
constexpr UINT DM_SETDEFID = 0x0209;  // wParam: id

// Buttons.
constexpr UINT BM_GETCHECK = 0x0210;
constexpr UINT BM_SETCHECK = 0x0211;  // wParam: BST_CHECKED or BST_UNCHECKED
constexpr UINT BM_GETSTATE = 0x0212;  // BST_* bits: checked, pushed, focus
constexpr UINT BM_SETSTATE = 0x0213;  // wParam: shown pushed
constexpr UINT BM_SETSTYLE = 0x0214;  // wParam: new BS_* kind (push / default push)
constexpr UINT BM_CLICK = 0x0215;     // as if the user clicked it
constexpr UINT BM_GETIMAGE = 0x0216;
constexpr UINT BM_SETIMAGE = 0x0217;  // wParam: IMAGE_BITMAP, lParam: HBITMAP (kept, not owned); returns the old

// Statics.
constexpr UINT STM_SETICON = 0x0220;   // wParam: HICON (kept, not owned); returns the old
constexpr UINT STM_GETICON = 0x0221;
constexpr UINT STM_SETIMAGE = 0x0222;  // wParam: IMAGE_BITMAP or IMAGE_ICON, lParam: the handle
constexpr UINT STM_GETIMAGE = 0x0223;

// Scroll bars. The bar never moves its own position in answer to the user: it tells its parent
// (WM_VSCROLL) and the parent sets the new position. While the thumb is dragged the thumb follows
// the pointer and SB_THUMBTRACK carries the position under it.
constexpr UINT SBM_SETPOS = 0x0228;         // wParam: position, lParam: redraw; returns the old
constexpr UINT SBM_GETPOS = 0x0229;
constexpr UINT SBM_SETRANGE = 0x022A;       // wParam: min, lParam: max
constexpr UINT SBM_GETRANGE = 0x022B;       // wParam: int* min, lParam: int* max
constexpr UINT SBM_SETSCROLLINFO = 0x022C;  // wParam: redraw, lParam: const SCROLLINFO*; returns the position
constexpr UINT SBM_GETSCROLLINFO = 0x022D;  // lParam: SCROLLINFO* (fMask says which fields)

// WM_VSCROLL codes (low word of wParam; SB_THUMBTRACK and SB_THUMBPOSITION carry the position in the
// high word; lParam is the scroll bar).
constexpr int SB_LINEUP = 0;
constexpr int SB_LINEDOWN = 1;
constexpr int SB_PAGEUP = 2;
constexpr int SB_PAGEDOWN = 3;
constexpr int SB_THUMBPOSITION = 4;
constexpr int SB_THUMBTRACK = 5;
constexpr int SB_TOP = 6;
constexpr int SB_BOTTOM = 7;
constexpr int SB_ENDSCROLL = 8;

// Edits. Positions are character offsets into the text.
constexpr UINT EM_GETSEL = 0x0230;        // wParam, lParam: DWORD* start, end (may be null); returns start | end << 16
constexpr UINT EM_SETSEL = 0x0231;        // wParam: anchor, lParam: caret; -1 as anchor removes the selection, -1 as caret means the end
constexpr UINT EM_REPLACESEL = 0x0232;    // lParam: const char*; obeys the limit; sends EN_CHANGE
constexpr UINT EM_LIMITTEXT = 0x0233;     // wParam: most characters the user may enter (0: no limit)
constexpr UINT EM_SETLIMITTEXT = EM_LIMITTEXT;
constexpr UINT EM_GETLIMITTEXT = 0x0234;
constexpr UINT EM_SETPASSWORDCHAR = 0x0235;  // wParam: mask character, 0 shows the text
constexpr UINT EM_GETPASSWORDCHAR = 0x0236;
constexpr UINT EM_SETREADONLY = 0x0237;   // wParam: read-only
constexpr UINT EM_GETLINECOUNT = 0x0238;  // shown lines of a multi-line edit
constexpr UINT EM_GETFIRSTVISIBLELINE = 0x0239;
constexpr UINT EM_LINESCROLL = 0x023A;    // lParam: lines to scroll down (negative: up)
constexpr UINT EM_SCROLLCARET = 0x023B;
constexpr UINT EM_LINEINDEX = 0x023C;     // wParam: shown line (-1: the caret's); returns its first character
constexpr UINT EM_LINEFROMCHAR = 0x023D;  // wParam: character (-1: the caret); returns its shown line
constexpr UINT EM_GETMODIFY = 0x023E;     // set by user edits, cleared by WM_SETTEXT and EM_SETMODIFY
constexpr UINT EM_SETMODIFY = 0x023F;

// List boxes. Rows are counted from 0; LB_ERR answers a bad row.
constexpr UINT LB_ADDSTRING = 0x0250;     // lParam: text; returns the new row
constexpr UINT LB_INSERTSTRING = 0x0251;  // wParam: row (-1: at the end), lParam: text
constexpr UINT LB_DELETESTRING = 0x0252;  // wParam: row; returns the rows left
constexpr UINT LB_RESETCONTENT = 0x0253;
constexpr UINT LB_GETCOUNT = 0x0254;
constexpr UINT LB_GETCURSEL = 0x0255;     // LB_ERR when none
constexpr UINT LB_SETCURSEL = 0x0256;     // wParam: row, -1 for none; no notice
constexpr UINT LB_GETTEXT = 0x0257;       // wParam: row, lParam: buffer big enough for LB_GETTEXTLEN + 1
constexpr UINT LB_GETTEXTLEN = 0x0258;
constexpr UINT LB_SETITEMDATA = 0x0259;   // wParam: row, lParam: value
constexpr UINT LB_GETITEMDATA = 0x025A;
constexpr UINT LB_GETTOPINDEX = 0x025B;
constexpr UINT LB_SETTOPINDEX = 0x025C;
constexpr UINT LB_FINDSTRINGEXACT = 0x025D;  // wParam: row to start after (-1: from the top), lParam: text; case ignored
constexpr UINT LB_GETITEMHEIGHT = 0x025E;     // height of a row in pixels

// Drop-down lists: the same operations on the list they open.
constexpr UINT CB_ADDSTRING = 0x0270;
constexpr UINT CB_INSERTSTRING = 0x0271;
constexpr UINT CB_DELETESTRING = 0x0272;
constexpr UINT CB_RESETCONTENT = 0x0273;
constexpr UINT CB_GETCOUNT = 0x0274;
constexpr UINT CB_GETCURSEL = 0x0275;
constexpr UINT CB_SETCURSEL = 0x0276;     // no notice
constexpr UINT CB_GETLBTEXT = 0x0277;
constexpr UINT CB_GETLBTEXTLEN = 0x0278;
constexpr UINT CB_SETITEMDATA = 0x0279;
constexpr UINT CB_GETITEMDATA = 0x027A;
constexpr UINT CB_SHOWDROPDOWN = 0x027B;  // wParam: open
constexpr UINT CB_GETDROPPEDSTATE = 0x027C;
constexpr UINT CB_FINDSTRINGEXACT = 0x027D;
constexpr UINT CB_GETITEMHEIGHT = 0x027E;  // wParam -1: the field's height; otherwise a row's height

// List views. Items are rows (counted from 0), sub-items their columns.
constexpr UINT LVM_INSERTCOLUMN = 0x0290;  // wParam: column, lParam: const LVCOLUMN*; returns the column or -1
constexpr UINT LVM_SETCOLUMN = 0x0291;     // wParam: column, lParam: const LVCOLUMN*
constexpr UINT LVM_DELETECOLUMN = 0x0292;
constexpr UINT LVM_INSERTITEM = 0x0293;    // lParam: const LVITEM* (iItem: where); returns the row or -1
constexpr UINT LVM_DELETEITEM = 0x0294;    // wParam: row
constexpr UINT LVM_DELETEALLITEMS = 0x0295;
constexpr UINT LVM_GETITEMCOUNT = 0x0296;
constexpr UINT LVM_SETITEMSTATE = 0x0297;  // wParam: row (-1: every row), lParam: LVITEM* (state, stateMask)
constexpr UINT LVM_GETITEMSTATE = 0x0298;  // wParam: row, lParam: mask
constexpr UINT LVM_GETNEXTITEM = 0x0299;   // wParam: row to start after (-1: from the top), lParam: LVNI_*
constexpr UINT LVM_ENSUREVISIBLE = 0x029A;  // wParam: row
constexpr UINT LVM_GETTOPINDEX = 0x029B;
constexpr UINT LVM_GETITEMTEXT = 0x029C;   // wParam: row, lParam: LVITEM* (iSubItem, pszText, cchTextMax); returns the length
constexpr UINT LVM_SETITEMTEXT = 0x029D;   // wParam: row, lParam: const LVITEM* (iSubItem, pszText)
constexpr UINT LVM_GETCOUNTPERPAGE = 0x029E;
constexpr UINT LVM_SETITEMCOUNT = 0x029F;  // wParam: rows; new rows have callback texts
constexpr UINT LVM_GETCOLUMNWIDTH = 0x02A0;
constexpr UINT LVM_GETITEMRECT = 0x02A1;   // wParam: row, lParam: RECT* for the row in client coordinates

// WM_COMMAND notification codes.
constexpr int BN_CLICKED = 0;
constexpr int BN_SETFOCUS = 1;
constexpr int BN_KILLFOCUS = 2;
constexpr int EN_CHANGE = 0x10;  // the text changed, whether the user or the program changed it
constexpr int EN_SETFOCUS = 0x11;
constexpr int EN_KILLFOCUS = 0x12;
constexpr int EN_MAXTEXT = 0x13;  // typing stopped at the limit
constexpr int LBN_SELCHANGE = 0x20;  // the user changed the selection
constexpr int LBN_DBLCLK = 0x21;
constexpr int LBN_SETFOCUS = 0x22;
constexpr int LBN_KILLFOCUS = 0x23;
constexpr int CBN_SELCHANGE = 0x30;
constexpr int CBN_SETFOCUS = 0x31;
constexpr int CBN_KILLFOCUS = 0x32;
constexpr int CBN_DROPDOWN = 0x33;
constexpr int CBN_CLOSEUP = 0x34;

// WM_NOTIFY codes.
constexpr UINT NM_CLICK = 0x0001;          // NMITEMACTIVATE
constexpr UINT NM_DBLCLK = 0x0002;         // NMITEMACTIVATE
constexpr UINT NM_SETFOCUS = 0x0003;       // NMHDR
constexpr UINT NM_KILLFOCUS = 0x0004;      // NMHDR
constexpr UINT LVN_ITEMCHANGED = 0x0100;   // NMLISTVIEW: a row's selection or focus changed
constexpr UINT LVN_COLUMNCLICK = 0x0101;   // NMLISTVIEW: iSubItem is the column whose header was clicked
constexpr UINT LVN_GETDISPINFO = 0x0102;   // NMLVDISPINFO
constexpr UINT LVN_GETDISPINFOA = LVN_GETDISPINFO;

// Inline forms of the list view messages.
inline int ListView_InsertColumn(HWND list, int column, const LVCOLUMN* description) {
  return static_cast<int>(SendMessage(list, LVM_INSERTCOLUMN, static_cast<WPARAM>(column),
                                      reinterpret_cast<LPARAM>(description)));
}
inline bool ListView_SetColumn(HWND list, int column, const LVCOLUMN* description) {
  return SendMessage(list, LVM_SETCOLUMN, static_cast<WPARAM>(column), reinterpret_cast<LPARAM>(description)) != 0;
}
inline int ListView_InsertItem(HWND list, const LVITEM* item) {
  return static_cast<int>(SendMessage(list, LVM_INSERTITEM, 0, reinterpret_cast<LPARAM>(item)));
}
inline bool ListView_DeleteAllItems(HWND list) { return SendMessage(list, LVM_DELETEALLITEMS, 0, 0) != 0; }
inline int ListView_GetItemCount(HWND list) { return static_cast<int>(SendMessage(list, LVM_GETITEMCOUNT, 0, 0)); }
inline bool ListView_SetItemState(HWND list, int row, UINT state, UINT mask) {
  LVITEM item;
  item.state = state;
  item.stateMask = mask;
  return SendMessage(list, LVM_SETITEMSTATE, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item)) != 0;
}
inline int ListView_GetNextItem(HWND list, int start, UINT flags) {
  return static_cast<int>(SendMessage(list, LVM_GETNEXTITEM, static_cast<WPARAM>(start), static_cast<LPARAM>(flags)));
}
inline bool ListView_EnsureVisible(HWND list, int row) {
  return SendMessage(list, LVM_ENSUREVISIBLE, static_cast<WPARAM>(row), 0) != 0;
}

}  // namespace platform
