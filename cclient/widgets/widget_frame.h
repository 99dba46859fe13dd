// The per-frame bookkeeping that every table widget keeps, and the steps it takes in the owner's
// frame.
//
// Widgets paint into the owner's back-buffer context, never into the window. Each tick the owner
// calls, on every widget: Update (seconds since the last tick; advances animations, never
// paints), Erase (dest, background, out rect), NeedsRedraw, Draw (dest), GetDirtyRect (out rect);
// it collects the reported rectangles and copies them from the back buffer to the window. When
// something under or over a widget was erased or redrawn, the owner calls Invalidate on it
// (testing overlaps with the widget's GetRect).
//
// A widget embeds one WidgetFrame, forwards Erase, NeedsRedraw, GetDirtyRect, Invalidate and
// SetAlwaysRedraw to it, calls Moved when its position, size or visibility changes, Changed when
// its look changes, and Painted at the end of its Draw.
//
// Rectangles are inclusive of right and bottom (right = x + width - 1). UI thread only.
#pragma once

#include "platform/draw/gdi.h"

class WidgetFrame {
 public:
  // The widget moved, changed its size or was hidden: the rectangle painted last must be erased,
  // and the widget repainted.
  void Moved();
  // The widget's look changed in place: repaint it.
  void Changed() { redraw_pending_ = true; }
  // The owner's mark: something touched the widget's area; repaint it.
  void Invalidate() { redraw_pending_ = true; }
  // Set initially: every tick repaints the widget whether or not it changed.
  void SetAlwaysRedraw(bool always) { always_redraw_ = always; }

  // When an erase is pending, copies the background over the rectangle painted last (SRCCOPY,
  // same coordinates in both contexts), reports that rectangle and returns true; else false.
  bool Erase(platform::HDC destination, platform::HDC background, platform::RECT* out);
  // True when the widget must be painted this tick: shown with a repaint pending, or always.
  bool NeedsRedraw(bool shown) const { return (shown && redraw_pending_) || always_redraw_; }
  // Records what the widget's Draw painted (an empty rectangle when nothing) and clears the
  // pending flags, the erase included.
  void Painted(const platform::RECT& rect);
  // The rectangle the last Draw painted. False when it painted nothing.
  bool GetDirtyRect(platform::RECT* out) const;

 private:
  static constexpr platform::RECT kNothing{-1, -1, -1, -1};

  platform::RECT painted_ = kNothing;
  bool redraw_pending_ = true;
  bool erase_pending_ = false;
  bool always_redraw_ = true;
};
