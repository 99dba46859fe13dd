// Types, class names and style bits of the standard controls, dialogs and menus.
//
// These are our own declarations, shaped after the calls the program is written against. Control
// and dialog styles live in the low 16 bits of a window style; the high 16 bits are the window
// core's WS_* bits (WS_TABSTOP and WS_GROUP drive dialog navigation).
#pragma once

#include <cstdint>

#include "platform/window/window_types.h"

namespace platform {

using INT_PTR = intptr_t;
using UINT_PTR = uintptr_t;

// Class names to give CreateWindowEx (InitCommonControls registers them).
inline constexpr const char* WC_BUTTON = "BUTTON";
inline constexpr const char* WC_STATIC = "STATIC";
inline constexpr const char* WC_EDIT = "EDIT";
inline constexpr const char* WC_LISTBOX = "LISTBOX";
inline constexpr const char* WC_COMBOBOX = "COMBOBOX";
inline constexpr const char* WC_SCROLLBAR = "SCROLLBAR";
inline constexpr const char* WC_LISTVIEW = "LISTVIEW";
inline constexpr const char* WC_DIALOG = "TvkDialog";

// ---- Buttons (class "BUTTON") ----------------------------------------------------------------
// The kind is the low four bits. Radio buttons never change their own check: the program keeps
// one radio of a group checked (CheckRadioButton). An automatic check box flips itself when
// clicked; a plain one leaves it to the program.
constexpr uint32_t BS_PUSHBUTTON = 0x0000;
constexpr uint32_t BS_DEFPUSHBUTTON = 0x0001;  // chosen by Enter when no other push button has the focus
constexpr uint32_t BS_CHECKBOX = 0x0002;
constexpr uint32_t BS_AUTOCHECKBOX = 0x0003;
constexpr uint32_t BS_RADIOBUTTON = 0x0004;
constexpr uint32_t BS_GROUPBOX = 0x0007;
constexpr uint32_t BS_TYPEMASK = 0x000F;
constexpr uint32_t BS_BITMAP = 0x0080;  // a push button that shows the picture given with BM_SETIMAGE

// Check states (BM_GETCHECK, BM_SETCHECK, CheckDlgButton) and BM_GETSTATE bits.
constexpr UINT BST_UNCHECKED = 0x0000;
constexpr UINT BST_CHECKED = 0x0001;
constexpr UINT BST_PUSHED = 0x0004;
constexpr UINT BST_FOCUS = 0x0008;

// ---- Statics (class "STATIC") ----------------------------------------------------------------
// Text statics break their text at "\n" and between words.
constexpr uint32_t SS_LEFT = 0x0000;
constexpr uint32_t SS_CENTER = 0x0001;
constexpr uint32_t SS_RIGHT = 0x0002;
constexpr uint32_t SS_ICON = 0x0003;     // shows the icon given with STM_SETICON or STM_SETIMAGE
constexpr uint32_t SS_BITMAP = 0x000E;   // shows the bitmap given with STM_SETIMAGE
constexpr uint32_t SS_TYPEMASK = 0x001F;
constexpr uint32_t SS_NOPREFIX = 0x0080;  // accepted; "&" is never special

// ---- Edits (class "EDIT") --------------------------------------------------------------------
// A single-line edit always scrolls sideways to keep the caret in view; a multi-line edit breaks
// lines at CR LF (a bare LF or CR also ends a shown line) and between words at its width.
constexpr uint32_t ES_LEFT = 0x0000;
constexpr uint32_t ES_MULTILINE = 0x0004;
constexpr uint32_t ES_PASSWORD = 0x0020;    // shows one mask character per character; no copying out
constexpr uint32_t ES_AUTOVSCROLL = 0x0040;
constexpr uint32_t ES_AUTOHSCROLL = 0x0080;
constexpr uint32_t ES_READONLY = 0x0800;
constexpr uint32_t ES_WANTRETURN = 0x1000;  // Enter makes a new line in a multi-line edit of a dialog

// ---- List boxes (class "LISTBOX") ------------------------------------------------------------
constexpr uint32_t LBS_NOTIFY = 0x0001;  // accepted; list boxes always notify
constexpr uint32_t LBS_NOINTEGRALHEIGHT = 0x0100;  // keep the height given; else it shrinks to whole rows
constexpr uint32_t LBS_DISABLENOSCROLL = 0x1000;  // with WS_VSCROLL: the bar stays, greyed, when all rows fit

constexpr int LB_OKAY = 0;
constexpr int LB_ERR = -1;

// ---- Drop-down lists (class "COMBOBOX") ------------------------------------------------------
constexpr uint32_t CBS_DROPDOWNLIST = 0x0003;  // the only kind: a fixed list to choose from

constexpr int CB_OKAY = 0;
constexpr int CB_ERR = -1;

// ---- Scroll bars (class "SCROLLBAR") ---------------------------------------------------------
constexpr uint32_t SBS_VERT = 0x0001;  // the only kind: vertical

// The bar argument of SetScrollInfo and friends: only scroll bar controls exist.
constexpr int SB_CTL = 2;

constexpr UINT SIF_RANGE = 0x0001;
constexpr UINT SIF_PAGE = 0x0002;
constexpr UINT SIF_POS = 0x0004;
constexpr UINT SIF_DISABLENOSCROLL = 0x0008;
constexpr UINT SIF_TRACKPOS = 0x0010;
constexpr UINT SIF_ALL = SIF_RANGE | SIF_PAGE | SIF_POS | SIF_TRACKPOS;

struct SCROLLINFO {
  UINT cbSize = sizeof(SCROLLINFO);
  UINT fMask = 0;
  int nMin = 0;
  int nMax = 0;
  UINT nPage = 0;
  int nPos = 0;
  int nTrackPos = 0;  // while the thumb is dragged: where it is
};

// ---- List views (class "LISTVIEW") ----------------------------------------------------------
// Report mode only: columns with a header, one row per item, texts per column.
constexpr uint32_t LVS_REPORT = 0x0001;
constexpr uint32_t LVS_SINGLESEL = 0x0004;       // accepted; one row at most is ever selected
constexpr uint32_t LVS_SHOWSELALWAYS = 0x0008;   // the selection stays marked without the focus
constexpr uint32_t LVS_NOCOLUMNHEADER = 0x4000;

constexpr int LVCFMT_LEFT = 0;
constexpr int LVCFMT_RIGHT = 1;
constexpr int LVCFMT_CENTER = 2;

constexpr UINT LVCF_FMT = 0x0001;
constexpr UINT LVCF_WIDTH = 0x0002;
constexpr UINT LVCF_TEXT = 0x0004;
constexpr UINT LVCF_SUBITEM = 0x0008;

constexpr UINT LVIF_TEXT = 0x0001;
constexpr UINT LVIF_PARAM = 0x0004;
constexpr UINT LVIF_STATE = 0x0008;

constexpr UINT LVIS_FOCUSED = 0x0001;
constexpr UINT LVIS_SELECTED = 0x0002;

// LVM_GETNEXTITEM.
constexpr UINT LVNI_ALL = 0x0000;
constexpr UINT LVNI_FOCUSED = 0x0001;
constexpr UINT LVNI_SELECTED = 0x0002;

// An item text that the list asks its parent for each time it is needed (LVN_GETDISPINFO).
inline char* const LPSTR_TEXTCALLBACK = reinterpret_cast<char*>(static_cast<intptr_t>(-1));

struct LVCOLUMN {
  UINT mask = 0;
  int fmt = LVCFMT_LEFT;
  int cx = 0;  // width in pixels
  const char* pszText = nullptr;
  int cchTextMax = 0;
  int iSubItem = 0;
};

struct LVITEM {
  UINT mask = 0;
  int iItem = 0;
  int iSubItem = 0;
  UINT state = 0;
  UINT stateMask = 0;
  char* pszText = nullptr;  // LPSTR_TEXTCALLBACK for texts supplied by the parent
  int cchTextMax = 0;
  LPARAM lParam = 0;
};

// The head of every WM_NOTIFY (lParam points at it).
struct NMHDR {
  HWND hwndFrom = nullptr;
  UINT_PTR idFrom = 0;
  UINT code = 0;
};

// LVN_ITEMCHANGED, LVN_COLUMNCLICK.
struct NMLISTVIEW {
  NMHDR hdr;
  int iItem = -1;
  int iSubItem = 0;
  UINT uNewState = 0;
  UINT uOldState = 0;
  UINT uChanged = 0;
  POINT ptAction{0, 0};
  LPARAM lParam = 0;
};

// NM_CLICK, NM_DBLCLK from a list view: the row (-1 below the last row) and column clicked.
struct NMITEMACTIVATE {
  NMHDR hdr;
  int iItem = -1;
  int iSubItem = 0;
  UINT uNewState = 0;
  UINT uOldState = 0;
  UINT uChanged = 0;
  POINT ptAction{0, 0};
  LPARAM lParam = 0;
  UINT uKeyFlags = 0;
};

// LVN_GETDISPINFO: the parent copies the text of (item.iItem, item.iSubItem) into item.pszText,
// at most item.cchTextMax bytes with the terminator.
struct NMLVDISPINFO {
  NMHDR hdr;
  LVITEM item;
};

// ---- Dialogs ---------------------------------------------------------------------------------
constexpr uint32_t DS_MODALFRAME = 0x0080;    // a raised frame (drawn inside a dialog without caption)
constexpr uint32_t DS_SETFOREGROUND = 0x0200;  // brought to the foreground when shown at creation
constexpr uint32_t DS_CENTER = 0x0800;         // centred over its owner (on the screen without one)

// WM_GETDLGCODE answers: what a control wants of the keys that dialogs use for navigation.
constexpr LRESULT DLGC_WANTARROWS = 0x0001;
constexpr LRESULT DLGC_WANTTAB = 0x0002;
constexpr LRESULT DLGC_WANTMESSAGE = 0x0004;  // the key in the message asked about (Enter, Esc)
constexpr LRESULT DLGC_HASSETSEL = 0x0008;    // an edit: its text is selected when tabbed to
constexpr LRESULT DLGC_DEFPUSHBUTTON = 0x0010;
constexpr LRESULT DLGC_UNDEFPUSHBUTTON = 0x0020;
constexpr LRESULT DLGC_RADIOBUTTON = 0x0040;
constexpr LRESULT DLGC_WANTCHARS = 0x0080;
constexpr LRESULT DLGC_STATIC = 0x0100;
constexpr LRESULT DLGC_BUTTON = 0x2000;

using DLGPROC = INT_PTR (*)(HWND, UINT, WPARAM, LPARAM);

// ---- Menus -----------------------------------------------------------------------------------
constexpr UINT MF_BYCOMMAND = 0x0000;
constexpr UINT MF_BYPOSITION = 0x0400;
constexpr UINT MF_STRING = 0x0000;
constexpr UINT MF_ENABLED = 0x0000;
constexpr UINT MF_GRAYED = 0x0001;    // shown greyed; cannot be chosen
constexpr UINT MF_DISABLED = 0x0002;  // cannot be chosen (greyed as well in this look)
constexpr UINT MF_UNCHECKED = 0x0000;
constexpr UINT MF_CHECKED = 0x0008;
constexpr UINT MF_POPUP = 0x0010;     // template: the item opens the items that follow it
constexpr UINT MF_END = 0x0080;       // template: the last item of its menu
constexpr UINT MF_SEPARATOR = 0x0800;

// The answer of the menu state calls for an item that does not exist.
constexpr UINT kMenuItemNotFound = 0xFFFFFFFF;

}  // namespace platform
