// The program's monotonic millisecond clock and sleep.
//
// Everything that measures time (ticks, pings, back-off, animations) reads it through here so that
// tests can replace real time with a clock they advance themselves.
#pragma once

#include <cstdint>

namespace platform {

// Milliseconds since an arbitrary start; wraps after about 49 days, so compare two readings as
// (int32_t)(now - then) >= 0, never with < or >.
uint32_t GetTickCount();

// Blocks the calling thread for at least `ms` milliseconds of the program clock.
void Sleep(uint32_t ms);

// Test clock. While it is on, GetTickCount returns a counter that only moves when
//   - a test calls AdvanceFakeClock (or the window core's headless::AdvanceClock, which moves it
//     from one timer expiry to the next and runs the message loop until idle at each),
//   - a thread sleeps (a Sleep moves the counter forward by its length and returns at once, so a
//     short sleep in each tick of the UI thread costs no real time), or
//   - a waiting message loop has nothing to do before its next timer (the window core's headless
//     backend then moves the counter to that timer's expiry),
// so runs are repeatable. Window timers fire by this clock. The headless backend of the window core
// switches it on when TVK_FAKE_CLOCK=1 (the tests set it beside TVK_HEADLESS=1) unless a test did
// so first; a program merely run headless keeps real time.
void UseFakeClock(bool on, uint32_t start_ms = 0);
bool IsFakeClock();
void AdvanceFakeClock(uint32_t ms);

}  // namespace platform
