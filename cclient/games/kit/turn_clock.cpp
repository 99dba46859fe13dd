#include "cclient/games/kit/turn_clock.h"

#include <cstdio>

#include "cclient/games/kit/game_log.h"
#include "platform/text/text.h"

TurnClockFace TurnClock_Face(const platform::RECT& clock, double length, double remaining) {
  TurnClockFace face{};
  int32_t minutes = static_cast<int32_t>(remaining / 60);
  if (minutes < 0) minutes = 0;
  int32_t seconds = static_cast<int32_t>(remaining - 60.0 * minutes);
  if (seconds < 0) seconds = 0;
  std::snprintf(face.text, sizeof face.text, "%d:%02d", minutes, seconds);
  const int32_t width = clock.right - clock.left;
  const int32_t d = length > 0 ? static_cast<int32_t>(width * (length - remaining) / length * 0.5) : 0;
  face.bar = platform::RECT{clock.left + d, clock.top, clock.right - d, clock.bottom};
  face.has_bar = face.bar.left < face.bar.right;
  return face;
}

bool TurnClock_HurryDue(bool running, double remaining, bool warned) {
  return running && remaining <= 10.0 && !warned;
}

bool TurnClock::Start(double seconds, bool warning, GameLog* log) {
  if (seconds < 0) {
    if (log != nullptr) log->Line("in turn timer < 0");
    return false;
  }
  if (!timer_.Start(seconds, log)) return false;
  has_face_ = seconds > 0;
  warned_ = !warning;
  return true;
}

void TurnClock::Stop() {
  timer_.Stop();
  erase_ = true;
}

bool TurnClock::Countdown(double seconds) {
  if (!timer_.Countdown(seconds)) return false;
  timer_.Stop();
  erase_ = true;
  return true;
}

bool TurnClock::Draw(platform::HDC back, platform::HDC background, platform::COLORREF bar_colour,
                     platform::RECT* drawn) {
  const platform::RECT listed{rect_.left, rect_.top, rect_.right - 1, rect_.bottom - 1};
  auto restore = [&] {
    (void)platform::BitBlt(back, listed.left, listed.top, listed.right - listed.left + 1,
                           listed.bottom - listed.top + 1, background, listed.left, listed.top, platform::SRCCOPY);
  };
  if (timer_.IsRunning() && has_face_ && timer_.Length() > 0) {
    restore();
    const TurnClockFace face = TurnClock_Face(rect_, timer_.Length(), timer_.Remaining());
    if (face.has_bar) {
      platform::HBRUSH brush = platform::CreateSolidBrush(bar_colour);
      (void)platform::FillRect(back, &face.bar, brush);
      (void)platform::DeleteObject(brush);
    }
    platform::RECT text = rect_;
    (void)platform::DrawText(back, face.text, -1, &text,
                             platform::DT_CENTER | platform::DT_VCENTER | platform::DT_SINGLELINE |
                                 platform::DT_NOCLIP);
    *drawn = listed;
    return true;
  }
  if (timer_.IsFree() && erase_) {
    restore();
    erase_ = false;
    *drawn = listed;
    return true;
  }
  return false;
}

bool TurnClock::TakeHurryWarning() {
  if (!TurnClock_HurryDue(timer_.IsRunning(), timer_.Remaining(), warned_)) return false;
  warned_ = true;
  return true;
}
