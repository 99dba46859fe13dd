#include "cclient/games/blackjack/check_lights.h"

#include <cmath>

#include "cclient/widgets/dirty_rect_list.h"
#include "cclient/widgets/table_layout.h"

namespace {
constexpr platform::RECT kNone{-1, -1, -1, -1};
}

bool CheckLights::Load(const char* file, const platform::POINT positions[kLamps]) {
  ReleaseBitmapFile(&picture_);
  for (int32_t i = 0; i < kLamps; ++i) positions_[i] = positions[i];
  if (!LoadBitmapFile(file, &picture_)) return false;
  const platform::SIZE size = GetBitmapFileSize(picture_);
  cell_width_ = size.cx / kLamps;
  cell_height_ = size.cy;
  return true;
}

void CheckLights::Release() {
  ReleaseBitmapFile(&picture_);
  cell_width_ = cell_height_ = 0;
}

bool CheckLights::Start(bool dealer_has_blackjack, double delay, double first_phase, double second_phase) {
  if (running_) return false;
  running_ = true;
  dealer_has_blackjack_ = dealer_has_blackjack;
  delay_ = delay;
  first_phase_ = first_phase;
  second_phase_ = second_phase;
  elapsed_ = 0;
  SetLamps(false, false, false);
  return true;
}

void CheckLights::SetLamps(bool left, bool middle, bool right) {
  const bool wanted[kLamps] = {left, middle, right};
  for (int32_t i = 0; i < kLamps; ++i) {
    if (lit_[i] == wanted[i]) continue;
    lit_[i] = wanted[i];
    changed_[i] = true;
  }
}

void CheckLights::Update(double seconds) {
  if (!running_ || seconds <= 0) return;
  elapsed_ += seconds;
  const double in_first = elapsed_ - delay_;
  const double in_second = in_first - first_phase_;
  if (in_first < 0) {
    SetLamps(false, false, false);
  } else if (in_second < 0) {
    // The middle lamp starts lit and changes every blink.
    const bool on = static_cast<int64_t>(std::floor(in_first / kBlinkSeconds)) % 2 == 0;
    SetLamps(false, on, false);
  } else if (in_second < second_phase_) {
    SetLamps(dealer_has_blackjack_, false, !dealer_has_blackjack_);
  } else {
    SetLamps(false, false, false);
    running_ = false;
  }
}

platform::RECT CheckLights::LampRect(int32_t lamp) const {
  const platform::POINT at = positions_[lamp];
  return {at.x, at.y, at.x + cell_width_ - 1, at.y + cell_height_ - 1};
}

bool CheckLights::Erase(platform::HDC destination, platform::HDC background, platform::RECT* out) {
  platform::RECT erased = kNone;
  for (int32_t i = 0; i < kLamps; ++i) {
    if (!changed_[i] || lit_[i] || cell_width_ <= 0) continue;
    const platform::RECT r = LampRect(i);
    platform::BitBlt(destination, r.left, r.top, cell_width_, cell_height_, background, r.left, r.top,
                     platform::SRCCOPY);
    changed_[i] = false;
    Rect_Union(&erased, r);
  }
  if (DirtyRectList::IsEmpty(erased)) return false;
  *out = erased;
  return true;
}

bool CheckLights::NeedsRedraw() const {
  for (int32_t i = 0; i < kLamps; ++i) {
    if (changed_[i] && lit_[i]) return true;
  }
  return false;
}

void CheckLights::Draw(platform::HDC dc) {
  drawn_ = kNone;
  for (int32_t i = 0; i < kLamps; ++i) {
    if (!changed_[i]) continue;
    changed_[i] = false;
    if (!lit_[i] || picture_.dc == nullptr) continue;
    const platform::RECT r = LampRect(i);
    platform::BitBlt(dc, r.left, r.top, cell_width_, cell_height_, picture_.dc, i * cell_width_, 0,
                     platform::SRCCOPY);
    Rect_Union(&drawn_, r);
  }
}

bool CheckLights::GetDirtyRect(platform::RECT* out) const {
  if (DirtyRectList::IsEmpty(drawn_)) return false;
  *out = drawn_;
  return true;
}

void CheckLights::Invalidate(const platform::RECT& rect) {
  for (int32_t i = 0; i < kLamps; ++i) {
    if (lit_[i] && cell_width_ > 0 && Rect_Overlaps(LampRect(i), rect)) changed_[i] = true;
  }
}
