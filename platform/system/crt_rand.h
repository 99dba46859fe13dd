// The process's pseudo-random generator with the C runtime's 15-bit range.
//
// Callers draw whole numbers by rejection from the range 0..kRandMax and seed with the time, so
// the range is part of the contract: draws are always 0..32,767. The generator is the classic
// linear congruential one (state = state * 1103515245 + 12345, draw = bits 16..30 of the state),
// so a seed gives the same sequence on every machine; before any srand the seed is 1.
#pragma once

#include <cstdint>

namespace platform {

inline constexpr int kRandMax = 32767;

// Any thread: restarts the sequence from `seed`.
void srand(uint32_t seed);

// Any thread: the next draw, 0..kRandMax. Draws from several threads each advance the one shared
// sequence exactly once.
int rand();

}  // namespace platform
