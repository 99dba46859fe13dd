#include "platform/system/clock.h"

#include <atomic>
#include <chrono>
#include <thread>

namespace platform {

namespace {
std::atomic<bool> g_fake{false};
std::atomic<uint32_t> g_fake_now{0};
}  // namespace

uint32_t GetTickCount() {
  if (g_fake.load(std::memory_order_acquire)) return g_fake_now.load(std::memory_order_acquire);
  const auto now = std::chrono::steady_clock::now().time_since_epoch();
  return static_cast<uint32_t>(std::chrono::duration_cast<std::chrono::milliseconds>(now).count());
}

void Sleep(uint32_t ms) {
  if (g_fake.load(std::memory_order_acquire)) {
    g_fake_now.fetch_add(ms, std::memory_order_acq_rel);
    std::this_thread::yield();
    return;
  }
  std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

void UseFakeClock(bool on, uint32_t start_ms) {
  g_fake_now.store(start_ms, std::memory_order_release);
  g_fake.store(on, std::memory_order_release);
}

bool IsFakeClock() { return g_fake.load(std::memory_order_acquire); }

void AdvanceFakeClock(uint32_t ms) { g_fake_now.fetch_add(ms, std::memory_order_acq_rel); }

}  // namespace platform
