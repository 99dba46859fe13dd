#include "platform/system/crt_rand.h"

#include <atomic>

namespace platform {
namespace {

std::atomic<uint32_t> state{1};

uint32_t Next(uint32_t current) { return current * 1103515245u + 12345u; }

}  // namespace

void srand(uint32_t seed) { state.store(seed, std::memory_order_relaxed); }

int rand() {
  uint32_t current = state.load(std::memory_order_relaxed);
  while (!state.compare_exchange_weak(current, Next(current), std::memory_order_relaxed)) {
  }
  return static_cast<int>((Next(current) >> 16) & 0x7FFF);
}

}  // namespace platform
