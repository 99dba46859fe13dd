#include "cclient/widgets/sprite.h"

#include <cmath>

#include "platform/window/message_queue.h"

SpriteClass::SpriteClass() : ChipImage(0) {}
SpriteClass::~SpriteClass() = default;

void SpriteClass::Load(TransparentDraw* drawer) {
  if (loaded_) return;
  (void)ChipImage::Load("4700.b", 0xFFFFFF, drawer);
  shown_ = false;
  moving_ = false;
  start_x_ = start_y_ = x_ = y_ = previous_x_ = previous_y_ = -1;
  loaded_ = true;
}

void SpriteClass::SetPath(int32_t count, const int32_t* xs, const int32_t* ys, const double* travel_times) {
  const size_t n = count > 0 ? static_cast<size_t>(count) : 0;
  path_x_.assign(xs, xs + 2 * n);
  path_y_.assign(ys, ys + 2 * n);
  travel_times_.assign(travel_times, travel_times + n);
  if (path_point_ >= static_cast<int32_t>(n)) path_point_ = -1;
}

int32_t SpriteClass::Wrap(int64_t point) const {
  const int64_t count = static_cast<int64_t>(travel_times_.size());
  if (count == 0) return 0;
  const int64_t wrapped = point % count;
  return static_cast<int32_t>(wrapped < 0 ? wrapped + count : wrapped);
}

bool SpriteClass::SetPosition(int32_t x, int32_t y) {
  if (moving_) return false;
  if (shown_ && (x != x_ || y != y_)) {
    erase_pending_ = redraw_pending_ = changed_ = true;
  }
  start_x_ = x_ = x;
  start_y_ = y_ = y;
  return true;
}

bool SpriteClass::SetPathPoint(int32_t point) {
  if (moving_ || point < 0 || point >= static_cast<int32_t>(travel_times_.size())) return false;
  path_point_ = point;
  return SetPosition(path_x_[2 * static_cast<size_t>(point)], path_y_[2 * static_cast<size_t>(point)]);
}

bool SpriteClass::Hide() {
  if (moving_) return false;
  if (shown_) {
    shown_ = false;
    erase_pending_ = true;
  }
  return true;
}

void SpriteClass::Show() {
  if (!loaded_ || shown_) return;
  shown_ = true;
  redraw_pending_ = changed_ = true;
}

void SpriteClass::StartMove(int32_t x, int32_t y, double seconds, bool notify, platform::HWND window,
                            platform::UINT message, platform::WPARAM wparam, platform::LPARAM lparam) {
  Show();
  start_x_ = x_;
  start_y_ = y_;
  target_x_ = x;
  target_y_ = y;
  duration_ = (x == x_ && y == y_ && !path_move_) ? 0 : (seconds > 0 ? seconds : 0);
  elapsed_ = 0;
  // A sprite already at its target arrives at once; any other reaches the target at a tick of
  // its own, even in no time, and posts at the tick after.
  arrived_ = x == x_ && y == y_ && !path_move_;
  notify_ = notify;
  window_ = window;
  message_ = message;
  wparam_ = wparam;
  lparam_ = lparam;
  moving_ = true;
}

bool SpriteClass::MoveTo(int32_t x, int32_t y, double seconds, bool notify, platform::HWND window,
                         platform::UINT message, platform::WPARAM wparam, platform::LPARAM lparam) {
  if (!loaded_ || moving_) return false;
  path_move_ = false;
  StartMove(x, y, seconds, notify, window, message, wparam, lparam);
  return true;
}

bool SpriteClass::MoveToPathPoint(int32_t point, double seconds, bool notify, platform::HWND window,
                                  platform::UINT message, platform::WPARAM wparam, platform::LPARAM lparam) {
  if (!loaded_ || moving_ || point < 0 || point >= static_cast<int32_t>(travel_times_.size())) return false;
  if (path_point_ < 0) {
    (void)SetPathPoint(point);
    return false;
  }
  path_move_ = false;
  StartMove(path_x_[2 * static_cast<size_t>(point)], path_y_[2 * static_cast<size_t>(point)], seconds, notify,
            window, message, wparam, lparam);
  path_point_ = point;
  return true;
}

bool SpriteClass::MoveAlongPath(int32_t point, bool notify, platform::HWND window, platform::UINT message,
                                platform::WPARAM wparam, platform::LPARAM lparam) {
  if (!loaded_ || moving_ || point < 0 || point >= static_cast<int32_t>(travel_times_.size())) return false;
  if (path_point_ < 0) {
    (void)SetPathPoint(point);
    return false;
  }
  path_distance_ = Wrap(static_cast<int64_t>(path_point_) - point);
  path_start_ = path_point_;
  path_move_ = path_distance_ > 0;
  const double seconds = path_distance_ > 0 ? travel_times_[static_cast<size_t>(path_distance_ - 1)] : 0;
  StartMove(path_x_[2 * static_cast<size_t>(point)], path_y_[2 * static_cast<size_t>(point)], seconds, notify,
            window, message, wparam, lparam);
  if (path_distance_ == 0) duration_ = 0;
  path_point_ = point;
  return true;
}

void SpriteClass::Update(float seconds) {
  if (!shown_ || !moving_) return;
  redraw_pending_ = changed_ = true;
  if (arrived_) {
    // The sprite arrived at the previous tick (or stood at its target): its message comes now.
    moving_ = false;
    if (notify_ && window_ != nullptr) platform::PostMessage(window_, message_, wparam_, lparam_);
    return;
  }
  elapsed_ += seconds;
  erase_pending_ = true;
  if (elapsed_ >= duration_) {
    x_ = target_x_;
    y_ = target_y_;
    arrived_ = true;
    return;
  }
  if (!path_move_) {
    const double f = elapsed_ / duration_;
    x_ = static_cast<int32_t>(std::trunc(start_x_ + (target_x_ - start_x_) * f));
    y_ = static_cast<int32_t>(std::trunc(start_y_ + (target_y_ - start_y_) * f));
    return;
  }
  // Each point takes an equal share of the time: half from its rest place to its pass place,
  // half from there to the next point's rest place.
  const double u = elapsed_ * path_distance_ / duration_;
  const int64_t k = static_cast<int64_t>(std::trunc(u));
  const double fraction = u - static_cast<double>(k);
  const size_t p = static_cast<size_t>(Wrap(static_cast<int64_t>(path_start_) - k));
  double from_x, from_y, to_x, to_y, g;
  if (fraction <= 0.5) {
    from_x = path_x_[2 * p];
    from_y = path_y_[2 * p];
    to_x = path_x_[2 * p + 1];
    to_y = path_y_[2 * p + 1];
    g = 2 * fraction;
  } else {
    const size_t next = static_cast<size_t>(Wrap(static_cast<int64_t>(p) - 1));
    from_x = path_x_[2 * p + 1];
    from_y = path_y_[2 * p + 1];
    to_x = path_x_[2 * next];
    to_y = path_y_[2 * next];
    g = 2 * (fraction - 0.5);
  }
  x_ = static_cast<int32_t>(std::trunc(from_x + (to_x - from_x) * g));
  y_ = static_cast<int32_t>(std::trunc(from_y + (to_y - from_y) * g));
}

platform::RECT SpriteClass::RectAt(int32_t x, int32_t y) const {
  return {x, y, x + GetWidth() - 1, y + GetHeight() - 1};
}

bool SpriteClass::Erase(platform::HDC destination, platform::HDC background, platform::RECT* out) {
  if (!erase_pending_) return false;
  erase_pending_ = false;
  if (previous_x_ < 0 && previous_y_ < 0) return false;
  if (GetWidth() <= 0 || GetHeight() <= 0) return false;
  platform::BitBlt(destination, previous_x_, previous_y_, GetWidth(), GetHeight(), background, previous_x_,
                   previous_y_, platform::SRCCOPY);
  *out = RectAt(previous_x_, previous_y_);
  return true;
}

bool SpriteClass::Draw(platform::HDC dc) {
  erase_pending_ = false;
  if (!shown_ || !(always_draw_ || redraw_pending_)) {
    drawn_ = false;
    return false;
  }
  DrawTransparent(dc, x_, y_);
  previous_x_ = x_;
  previous_y_ = y_;
  redraw_pending_ = false;
  drawn_ = changed_;
  changed_ = false;
  return true;
}

bool SpriteClass::GetDirtyRect(platform::RECT* out) const {
  if (!drawn_) return false;
  *out = RectAt(x_, y_);
  return true;
}

bool SpriteClass::GetRect(platform::RECT* out) const {
  *out = RectAt(x_, y_);
  return shown_;
}
