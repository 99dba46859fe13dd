// List views (class "LISTVIEW"), report mode: columns under a header (none with
// LVS_NOCOLUMNHEADER), one row per item, at most one selected row.
//
// Texts may be held by the list or, given as LPSTR_TEXTCALLBACK, asked of the parent each time they
// are drawn or read (LVN_GETDISPINFO). The parent hears through WM_NOTIFY: a click on a header
// column LVN_COLUMNCLICK (when the button is released over the column it went down on), a click
// on the rows NM_CLICK and a double click NM_DBLCLK (iItem -1 below the last row), every change of
// a row's selection or focus LVN_ITEMCHANGED, and NM_SETFOCUS / NM_KILLFOCUS. A click or the arrow
// keys (Page Up / Down, Home, End) select a row and scroll it into view; the selection stays marked
// without the focus with LVS_SHOWSELALWAYS. A scroll bar appears along the right edge while rows
// are hidden; the wheel scrolls three rows.
#pragma once

namespace platform::controls {

void RegisterListViewClass();

}  // namespace platform::controls
