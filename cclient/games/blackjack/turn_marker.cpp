#include "cclient/games/blackjack/turn_marker.h"

#include <cmath>

#include "cclient/widgets/table_layout.h"

bool TurnMarker::Load(const char* file, platform::COLORREF key, TransparentDraw* drawer) {
  return picture_.Load(file, key, drawer) == nullptr;
}

bool TurnMarker::Show(int32_t x0, int32_t y0, int32_t x1, int32_t y1, double seconds) {
  if (shown_) return false;
  shown_ = true;
  x0_ = x0;
  y0_ = y0;
  x1_ = x1;
  y1_ = y1;
  sweep_seconds_ = seconds;
  elapsed_ = 0;
  back_ = false;
  Place();
  frame_.Moved();
  return true;
}

void TurnMarker::Hide() {
  if (!shown_) return;
  shown_ = false;
  frame_.Moved();
}

void TurnMarker::Place() {
  const double part = sweep_seconds_ > 0 ? elapsed_ / sweep_seconds_ : 0.0;
  const int32_t from_x = back_ ? x1_ : x0_;
  const int32_t from_y = back_ ? y1_ : y0_;
  const int32_t to_x = back_ ? x0_ : x1_;
  const int32_t to_y = back_ ? y0_ : y1_;
  x_ = from_x + static_cast<int32_t>((to_x - from_x) * part);
  y_ = from_y + static_cast<int32_t>((to_y - from_y) * part);
}

void TurnMarker::Update(double seconds) {
  if (!shown_ || seconds <= 0 || sweep_seconds_ <= 0) return;
  elapsed_ += seconds;
  if (elapsed_ >= sweep_seconds_) {
    const double sweeps = std::floor(elapsed_ / sweep_seconds_);
    elapsed_ -= sweeps * sweep_seconds_;
    if (std::fmod(sweeps, 2.0) != 0.0) back_ = !back_;
  }
  const int32_t old_x = x_;
  const int32_t old_y = y_;
  Place();
  if (x_ != old_x || y_ != old_y) frame_.Moved();
}

bool TurnMarker::GetRect(platform::RECT* out) const {
  if (!shown_) return false;
  *out = {x_, y_, x_ + picture_.GetWidth() - 1, y_ + picture_.GetHeight() - 1};
  return true;
}

void TurnMarker::Invalidate(const platform::RECT& rect) {
  platform::RECT mine;
  if (GetRect(&mine) && Rect_Overlaps(mine, rect)) frame_.Invalidate();
}

void TurnMarker::Draw(platform::HDC dc) {
  platform::RECT rect{-1, -1, -1, -1};
  if (shown_ && picture_.GetWidth() > 0) {
    picture_.DrawTransparent(dc, x_, y_);
    (void)GetRect(&rect);
  }
  frame_.Painted(rect);
}
