// The picture ("5700.b") that bobs over the hand whose turn it is: shown between two points, it
// travels from the first to the second in the given time and back again, endlessly, until
// hidden. Its top-left corner is at start + (end - start) x elapsed / time on the way out and
// end + (start - end) x elapsed / time on the way back, truncated toward zero.
//
// Frame protocol, each tick: Update, Erase, Draw, GetDirtyRect (see WidgetFrame). Rectangles are
// inclusive of right and bottom. UI thread only.
#pragma once

#include <cstdint>

#include "cclient/widgets/chip_image.h"
#include "cclient/widgets/transparent_draw.h"
#include "cclient/widgets/widget_frame.h"
#include "platform/draw/gdi.h"

class TurnMarker {
 public:
  TurnMarker() { frame_.SetAlwaysRedraw(false); }
  TurnMarker(const TurnMarker&) = delete;
  TurnMarker& operator=(const TurnMarker&) = delete;

  // False when the file does not load (the marker then draws nothing but still moves).
  bool Load(const char* file, platform::COLORREF key, TransparentDraw* drawer);
  // False while shown. A time of 0 or less keeps the marker at the first point.
  bool Show(int32_t x0, int32_t y0, int32_t x1, int32_t y1, double seconds);
  void Hide();
  bool IsShown() const { return shown_; }
  int32_t GetX() const { return x_; }
  int32_t GetY() const { return y_; }

  void Update(double seconds);
  bool Erase(platform::HDC destination, platform::HDC background, platform::RECT* out) {
    return frame_.Erase(destination, background, out);
  }
  bool NeedsRedraw() const { return frame_.NeedsRedraw(shown_); }
  void Draw(platform::HDC dc);
  bool GetDirtyRect(platform::RECT* out) const { return frame_.GetDirtyRect(out); }
  void Invalidate() { frame_.Invalidate(); }
  void Invalidate(const platform::RECT& rect);
  // Where the marker stands now; false while hidden.
  bool GetRect(platform::RECT* out) const;

 private:
  void Place();

  ChipImage picture_;
  bool shown_ = false;
  int32_t x0_ = 0, y0_ = 0, x1_ = 0, y1_ = 0;
  int32_t x_ = 0, y_ = 0;
  double sweep_seconds_ = 0;
  double elapsed_ = 0;
  bool back_ = false;
  WidgetFrame frame_;
};
