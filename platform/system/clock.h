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

// Test clock. While it is on, GetTickCount returns a counter that only moves when a test calls
// AdvanceFakeClock or when a thread sleeps (a Sleep moves the counter forward by its length and
// returns at once), so runs are repeatable.
void UseFakeClock(bool on, uint32_t start_ms = 0);
bool IsFakeClock();
void AdvanceFakeClock(uint32_t ms);

}  // namespace platform
