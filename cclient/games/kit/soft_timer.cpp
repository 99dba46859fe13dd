#include "cclient/games/kit/soft_timer.h"

#include "cclient/games/kit/game_log.h"

bool SoftTimer::Start(double seconds, GameLog* log) { return Start(seconds, slot_, log); }

bool SoftTimer::Start(double seconds, uint32_t slot, GameLog* log) {
  if (!free_) {
    if (log != nullptr) log->Line(refusal_);
    return false;
  }
  free_ = false;
  length_ = seconds;
  remaining_ = seconds < 0 ? 0 : seconds;
  slot_ = slot;
  return true;
}

bool SoftTimer::Countdown(double seconds) {
  if (free_) return false;
  remaining_ -= seconds;
  if (remaining_ <= 0) remaining_ = 0;
  return remaining_ == 0;
}
