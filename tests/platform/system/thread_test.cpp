#include "platform/system/thread.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>

namespace {

TEST(Thread, stop_request_wakes_a_long_wait_promptly) {
  platform::Thread thread;
  std::atomic<bool> woke_by_stop{false};
  ASSERT_TRUE(thread.Start([&] { woke_by_stop = thread.WaitForStop(60000); }, 65536));
  const auto start = std::chrono::steady_clock::now();
  thread.RequestStop();
  thread.Join();
  EXPECT_TRUE(woke_by_stop);
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
  EXPECT_FALSE(thread.Running());
}

TEST(Thread, wait_times_out_without_a_stop_and_thread_can_restart) {
  platform::Thread thread;
  std::atomic<int> runs{0};
  for (int i = 0; i < 2; ++i) {
    ASSERT_TRUE(thread.Start([&] {
      if (!thread.WaitForStop(5)) ++runs;
    }));
    thread.Join();
  }
  EXPECT_EQ(runs, 2);
}

TEST(Thread, second_start_while_running_is_refused) {
  platform::Thread thread;
  ASSERT_TRUE(thread.Start([&] { thread.WaitForStop(60000); }));
  EXPECT_FALSE(thread.Start([] {}));
  thread.RequestStop();
  thread.Join();
}

}  // namespace
