// Vertical scroll bars (class "SCROLLBAR" with SBS_VERT): a stand-alone control that reports to
// its parent with WM_VSCROLL, and the same bar inside lists and multi-line edits.
//
// The user's actions become WM_VSCROLL notices: the arrows SB_LINEUP / SB_LINEDOWN (repeated while
// held), the trough above or below the thumb SB_PAGEUP / SB_PAGEDOWN (repeated), dragging the thumb
// SB_THUMBTRACK with the position under the pointer and SB_THUMBPOSITION when released; every
// action ends with SB_ENDSCROLL. With the focus (only bars with WS_TABSTOP take it) the arrow keys,
// Page Up / Down, Home and End do the same. The bar's position changes only when the program sets
// it. With nothing to scroll (the page covers the range) the bar shows no thumb and greyed arrows.
//
// UI thread only.
#pragma once

#include "platform/controls/control_types.h"

namespace platform {

// `bar` must be SB_CTL and `hwnd` a scroll bar; otherwise nothing happens (0 / false). The position
// is kept within min .. max - page + 1 (min .. max without a page). Returns the new position.
int SetScrollInfo(HWND hwnd, int bar, const SCROLLINFO* info, bool redraw);
bool GetScrollInfo(HWND hwnd, int bar, SCROLLINFO* info);
// Returns the old position.
int SetScrollPos(HWND hwnd, int bar, int position, bool redraw);
int GetScrollPos(HWND hwnd, int bar);
bool SetScrollRange(HWND hwnd, int bar, int min, int max, bool redraw);

}  // namespace platform

namespace platform::controls {

void RegisterScrollBarClass();

// Width of a vertical scroll bar in pixels.
constexpr int kScrollBarWidth = 16;

// The rows (or text lines) a list or multi-line edit scrolls for the wParam of WM_MOUSEWHEEL:
// three a notch, positive towards the end.
int WheelRows(WPARAM wParam);

// A vertical scroll bar inside a list or multi-line edit, along its right edge. It reports to the
// control (WM_VSCROLL with the bar as lParam); the control moves its rows and sets the position.
class InnerScrollBar {
 public:
  // Creates the bar as a child of `owner`, hidden until Update needs it (or always shown).
  void Create(HWND owner, bool always_shown);
  // Sets rows 0 .. count - 1 with `page` rows shown from `top`, and places the bar in `area` (the
  // owner's inside, the bar along its right edge). Shows the bar when rows are hidden (or always).
  void Update(int count, int page, int top, const RECT& area);
  // The bar's width when shown, else 0.
  int Width() const;
  HWND hwnd() const { return hwnd_; }

  // The first row shown after a WM_VSCROLL code (thumb codes carry `thumb`), kept within
  // 0 .. count - page.
  static int Scrolled(int code, int thumb, int top, int count, int page);
  // The same for a code from this bar, with the thumb where the bar tracks it.
  int Scrolled(int code, int top, int count, int page) const;

 private:
  HWND hwnd_ = nullptr;
  bool always_shown_ = false;
  bool shown_ = false;
};

}  // namespace platform::controls
