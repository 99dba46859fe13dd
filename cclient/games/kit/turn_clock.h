// The in-turn clock: the software timer of the turn the table waits for, drawn in a rectangle of
// the table as "m:ss" over a red bar that shrinks from both ends, and the hurry warning that is
// due once per turn when 10 s or less are left.
//
// The clock runs on the game's frame (Countdown), draws on the back buffer (Draw) and erases
// itself once after it stopped. UI thread only.
#pragma once

#include <cstdint>

#include "cclient/games/kit/soft_timer.h"
#include "platform/draw/gdi.h"

class GameLog;

// The face of a timer of `length` seconds with `remaining` left in the rectangle `clock`.
struct TurnClockFace {
  char text[32];       // "%d:%02d"
  bool has_bar;        // the bar still has width
  platform::RECT bar;  // left + d .. right - d, top .. bottom (exclusive right and bottom)
};
TurnClockFace TurnClock_Face(const platform::RECT& clock, double length, double remaining);
// The hurry warning is due while the timer runs with 10 s or less left and it was not yet given
// for this turn.
bool TurnClock_HurryDue(bool running, double remaining, bool warned);

class TurnClock {
 public:
  // `slot` is the timer's slot (message 7000); `rect` the clock's rectangle (exclusive right and
  // bottom).
  TurnClock(uint32_t slot, platform::RECT rect) : timer_(slot, "in turn timer is in use"), rect_(rect) {}

  // Starts a turn of `seconds` (0: a turn without a clock face). A negative length is refused
  // with "in turn timer < 0"; a running clock with the timer's own line. `warning` arms the
  // hurry warning for this turn.
  bool Start(double seconds, bool warning, GameLog* log);
  // Stops the turn; the face is erased at the next Draw.
  void Stop();
  // One frame: true when the turn ran out now (the clock stops; the caller posts its slot).
  bool Countdown(double seconds);
  // Paints the face on `back` (the background restored under it first), or, once after a stop,
  // restores the background. `drawn` gets the inclusive rectangle painted; false when nothing
  // was painted.
  bool Draw(platform::HDC back, platform::HDC background, platform::COLORREF bar_colour, platform::RECT* drawn);
  // True once per turn when the hurry warning is due; it is then taken.
  bool TakeHurryWarning();
  // Arms (true) or gives up (false) the hurry warning of the running turn.
  void SetWarning(bool armed) { warned_ = !armed; }
  // The face is erased at the next Draw (the turn's own end message came).
  void EraseFace() { erase_ = true; }

  const SoftTimer& Timer() const { return timer_; }
  void SetRect(const platform::RECT& rect) { rect_ = rect; }

 private:
  SoftTimer timer_;
  platform::RECT rect_;
  bool has_face_ = false;
  bool erase_ = false;
  bool warned_ = true;
};
