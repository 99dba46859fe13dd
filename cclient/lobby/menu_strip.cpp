#include "cclient/lobby/menu_strip.h"

#include <algorithm>

#include "cclient/base/core_access.h"

namespace {

constexpr uint32_t kStripIntervalMs = 200;
constexpr int32_t kStripSteps = 7;
constexpr int32_t kFrameWidth = 144;
constexpr int32_t kFrameHeight = 106;
constexpr platform::POINT kStripPosition = {649, 409};

bool Overlap(const platform::RECT& a, const platform::RECT& b) {
  return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

bool Inside(const platform::RECT& inner, const platform::RECT& outer) {
  return inner.left >= outer.left && inner.right <= outer.right && inner.top >= outer.top &&
         inner.bottom <= outer.bottom;
}

void Copy(platform::HDC to, const platform::RECT& area, platform::HDC from, int32_t from_x,
          int32_t from_y) {
  if (to == nullptr || from == nullptr) return;
  platform::BitBlt(to, area.left, area.top, area.right - area.left, area.bottom - area.top, from,
                   from_x, from_y, platform::SRCCOPY);
}

void CopySame(platform::HDC to, const platform::RECT& area, platform::HDC from) {
  Copy(to, area, from, area.left, area.top);
}

}  // namespace

void AnimatedStrip::Setup(platform::HDC dc, const char* picture_file, uint32_t interval_ms,
                          const std::vector<platform::RECT>& frames,
                          const std::vector<int32_t>& step_frames,
                          const std::vector<platform::POINT>& positions) {
  (void)picture_.Load(dc, picture_file);
  interval_ms_ = interval_ms;
  frames_ = frames;
  step_frames_ = step_frames;
  positions_ = positions;
  step_ = 0;
  previous_step_ = -1;
  timed_ = false;
}

void AnimatedStrip::Run() {
  stopped_ = false;
  frozen_ = false;
}

void AnimatedStrip::Stop(bool erase) {
  if (erase) {
    frozen_ = true;
    needs_drawing_ = true;
  } else {
    stopped_ = true;
  }
}

bool AnimatedStrip::Step(uint32_t now_ms) {
  if (stopped_) return false;
  if (frozen_) {
    needs_drawing_ = true;
    return true;
  }
  if (step_frames_.empty()) return false;
  if (!timed_) {
    timed_ = true;
    last_step_ms_ = now_ms;
    return false;
  }
  if (now_ms - last_step_ms_ < interval_ms_ && interval_ms_ != kShowAtOnce) return false;
  step_ = step_ + 1 < static_cast<int32_t>(step_frames_.size()) ? step_ + 1 : 0;
  last_step_ms_ = now_ms;
  needs_drawing_ = true;
  if (interval_ms_ == kShowAtOnce) interval_ms_ = kShowAtOnce - 1;
  return true;
}

platform::RECT AnimatedStrip::StepArea(int32_t step) const {
  const platform::RECT& frame = frames_[static_cast<size_t>(step_frames_[static_cast<size_t>(step)])];
  const platform::POINT& at = positions_[static_cast<size_t>(step)];
  return {at.x, at.y, at.x + frame.right, at.y + frame.bottom};
}

void AnimatedStrip::Draw(platform::HDC window_dc, platform::HDC back_dc,
                         platform::HDC background_dc) {
  if (stopped_ || step_frames_.empty()) return;
  const platform::RECT area = StepArea(step_);
  if (frozen_) {
    CopySame(back_dc, area, background_dc);
    CopySame(window_dc, area, background_dc);
    stopped_ = true;
    needs_drawing_ = false;
    previous_step_ = -1;
    return;
  }
  const bool had_previous = previous_step_ >= 0;
  const platform::RECT previous = had_previous ? StepArea(previous_step_) : area;
  if (had_previous && !Inside(previous, area)) CopySame(back_dc, previous, background_dc);
  if (picture_.GetDC() != nullptr) {
    const platform::RECT& frame =
        frames_[static_cast<size_t>(step_frames_[static_cast<size_t>(step_)])];
    Copy(back_dc, area, picture_.GetDC(), frame.left, frame.top);
  }
  if (had_previous && Overlap(previous, area)) {
    const platform::RECT both = {std::min(area.left, previous.left), std::min(area.top, previous.top),
                                 std::max(area.right, previous.right),
                                 std::max(area.bottom, previous.bottom)};
    CopySame(window_dc, both, back_dc);
  } else {
    if (had_previous) CopySame(window_dc, previous, back_dc);
    CopySame(window_dc, area, back_dc);
  }
  previous_step_ = step_;
  needs_drawing_ = false;
}

MenuStrip::MenuStrip() {
  const platform::RECT rect = {649, 409, 793, 515};
  buttons_[kSignInButton] = {rect, 2, 0, false};
  buttons_[kCashierButton] = {rect, 3, 1, false};
}

void MenuStrip::Create(platform::HDC dc) {
  const bool play_money = Main_IsPlayMoneyEdition();
  const char* files[kStrips] = {"msignin.a", play_money ? "mhelp.a" : "mcashier.a", "msignino.a",
                                play_money ? "mhelpo.a" : "mcasho.a"};
  std::vector<platform::RECT> frames;
  std::vector<int32_t> step_frames;
  std::vector<platform::POINT> positions;
  for (int32_t i = 0; i < kStripSteps; ++i) {
    frames.push_back({0, kFrameHeight * i, kFrameWidth, kFrameHeight});
    step_frames.push_back(i);
    positions.push_back(kStripPosition);
  }
  for (int32_t i = 0; i < kStrips; ++i) {
    strips_[i].Setup(dc, files[i], kStripIntervalMs, frames, step_frames, positions);
  }
  strips_[2].Stop(false);
  strips_[3].Stop(false);
}

int32_t MenuStrip::CurrentStrip(int32_t button) const {
  const ButtonArea& area = buttons_[button];
  return area.hover && area.hover_strip >= 0 ? area.hover_strip : area.normal_strip;
}

void MenuStrip::Start(int32_t button) {
  if (button < 0 || button >= kButtons) return;
  strips_[CurrentStrip(button)].Run();
}

void MenuStrip::Stop(int32_t button, int erase) {
  if (button < 0 || button >= kButtons) return;
  strips_[CurrentStrip(button)].Stop(erase != 0);
}

void MenuStrip::MouseMove(int32_t x, int32_t y) {
  for (ButtonArea& area : buttons_) {
    const bool inside = x >= area.rect.left && x < area.rect.right && y >= area.rect.top &&
                        y < area.rect.bottom;
    AnimatedStrip& normal = strips_[area.normal_strip];
    if (inside && !area.hover) {
      if (!normal.IsStopped()) {
        normal.Stop(area.hover_strip < 0);
        if (area.hover_strip >= 0) strips_[area.hover_strip].Run();
      }
      area.hover = true;
    } else if (!inside && area.hover) {
      if (area.hover_strip >= 0 && !strips_[area.hover_strip].IsStopped()) {
        strips_[area.hover_strip].Stop(false);
        normal.Run();
      }
      area.hover = false;
    }
  }
}

bool MenuStrip::Tick(uint32_t now_ms) {
  bool any = false;
  for (AnimatedStrip& strip : strips_) {
    if (strip.Step(now_ms)) any = true;
  }
  return any;
}

void MenuStrip::Draw(platform::HDC window_dc, platform::HDC back_dc,
                     platform::HDC background_dc) {
  for (AnimatedStrip& strip : strips_) {
    if (strip.NeedsDrawing()) strip.Draw(window_dc, back_dc, background_dc);
  }
}

MenuStrip& GlobalMenuStrip() {
  static MenuStrip strip;
  return strip;
}
