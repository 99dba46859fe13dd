// The software timers of a game module: counted down by the game's own frame step, not by the
// window system. A running timer that runs out posts the table window message 7000 with its slot
// as the first parameter; the game's message handler decides what the expiry does.
//
// A start sets length and remaining time and marks the timer running; a start while it runs is
// refused with the timer's own log line. The countdown subtracts the frame's seconds, clamps at 0
// and asks for the post when the remaining time is 0. UI thread only.
#pragma once

#include <cstdint>

class GameLog;

class SoftTimer {
 public:
  // `refusal` is the line logged when a start is refused ("delay timer is in use").
  SoftTimer(uint32_t slot, const char* refusal) : slot_(slot), refusal_(refusal) {}

  bool Start(double seconds, GameLog* log);
  // The sound timer posts the slot it was started with.
  bool Start(double seconds, uint32_t slot, GameLog* log);
  void Stop() { free_ = true; }
  bool IsFree() const { return free_; }
  bool IsRunning() const { return !free_; }
  double Length() const { return length_; }
  double Remaining() const { return remaining_; }
  uint32_t Slot() const { return slot_; }

  // One frame: false while free. Returns true when the timer is to post now.
  bool Countdown(double seconds);

 private:
  bool free_ = true;
  double length_ = 0;
  double remaining_ = 0;
  uint32_t slot_;
  const char* refusal_;
};
