#include "platform/system/clock.h"

#include <gtest/gtest.h>

namespace {

TEST(Clock, fake_clock_moves_only_when_told) {
  platform::UseFakeClock(true, 0xFFFFFFF0u);
  const uint32_t start = platform::GetTickCount();
  EXPECT_EQ(platform::GetTickCount(), start);
  platform::AdvanceFakeClock(40);
  // Wrap-around is harmless when readings are compared by difference.
  EXPECT_EQ(static_cast<int32_t>(platform::GetTickCount() - start), 40);
  platform::Sleep(10);
  EXPECT_EQ(static_cast<int32_t>(platform::GetTickCount() - start), 50);
  platform::UseFakeClock(false);
}

TEST(Clock, real_clock_advances_across_sleep) {
  const uint32_t start = platform::GetTickCount();
  platform::Sleep(20);
  EXPECT_GE(static_cast<int32_t>(platform::GetTickCount() - start), 20);
}

}  // namespace
