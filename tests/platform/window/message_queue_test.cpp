#include "platform/window/message_queue.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "platform/system/clock.h"
#include "tests/platform/window/recording_window.h"

namespace windowtest {
namespace {

using namespace platform;

constexpr UINT kFrameMessage = WM_APP + 1;
constexpr UINT kOtherMessage = WM_APP + 2;

class MessageQueueTest : public WindowTest {};

// A program that posts itself a message every frame until it is handled relies on each one being
// consumed before the next timer tick.
TEST_F(MessageQueueTest, posted_messages_come_before_a_due_timer) {
  const HWND hwnd = CreateTopLevel("main");
  SetTimer(hwnd, 123, 40);
  int reposts_left = 2;
  Handle(hwnd, [&](HWND h, UINT message, WPARAM, LPARAM) -> std::optional<LRESULT> {
    if (message == kFrameMessage && reposts_left-- > 0) PostMessage(h, kFrameMessage, 0, 0);
    return std::nullopt;
  });
  headless::RunUntilIdle();
  ClearLog();

  AdvanceFakeClock(40);  // the timer is due, but the loop has not run yet
  PostMessage(hwnd, kFrameMessage, 0, 0);
  PostMessage(hwnd, kOtherMessage, 0, 0);
  headless::RunUntilIdle();

  EXPECT_EQ(Trace({kFrameMessage, kOtherMessage, WM_TIMER}),
            (std::vector<std::string>{"32769@main", "32770@main", "32769@main", "32769@main", "TIMER@main"}));
}

TEST_F(MessageQueueTest, expiries_missed_while_busy_fold_into_one_timer_message) {
  const HWND hwnd = CreateTopLevel("main");
  SetTimer(hwnd, 7, 40);
  headless::RunUntilIdle();
  ClearLog();
  const uint32_t start = GetTickCount();

  AdvanceFakeClock(200);  // five expiries pass while the loop does not run
  headless::RunUntilIdle();
  headless::AdvanceClock(39);  // the next expiry counts from the message, not from the missed ones

  const auto timers = Messages({WM_TIMER});
  ASSERT_EQ(timers.size(), 1u);
  EXPECT_EQ(timers[0].wParam, 7u);
  EXPECT_EQ(timers[0].time_ms - start, 200u);
  headless::AdvanceClock(1);
  EXPECT_EQ(Messages({WM_TIMER}).size(), 2u);
}

struct TimerCase {
  const char* name;
  uint32_t first_period_ms;
  uint32_t rearm_after_ms;  // 0: never re-armed
  uint32_t second_period_ms;
  bool kill;
  std::vector<uint32_t> expected_ms;  // when the messages come, from the first SetTimer
};

void PrintTo(const TimerCase& c, std::ostream* os) { *os << c.name; }

class TimerTimesTest : public WindowTest, public ::testing::WithParamInterface<TimerCase> {};

// An idle loop gets every expiry at its own time; setting an id that exists replaces its period
// and counts from the new call; a killed timer sends nothing more.
TEST_P(TimerTimesTest, messages_arrive_at_the_expected_times) {
  const TimerCase& c = GetParam();
  const HWND hwnd = CreateTopLevel("main");
  headless::RunUntilIdle();
  const uint32_t start = GetTickCount();
  SetTimer(hwnd, 5, c.first_period_ms);
  if (c.rearm_after_ms != 0) {
    headless::AdvanceClock(c.rearm_after_ms);
    if (c.kill) {
      EXPECT_TRUE(KillTimer(hwnd, 5));
    } else {
      EXPECT_EQ(SetTimer(hwnd, 5, c.second_period_ms), 5u);
    }
  }
  headless::AdvanceClock(200 - (GetTickCount() - start));

  std::vector<uint32_t> times;
  for (const Recorded& timer : Messages({WM_TIMER})) times.push_back(timer.time_ms - start);
  EXPECT_EQ(times, c.expected_ms);
}

INSTANTIATE_TEST_SUITE_P(
    Timers, TimerTimesTest,
    ::testing::Values(TimerCase{"every_40_ms", 40, 0, 0, false, {40, 80, 120, 160, 200}},
                      TimerCase{"rearmed_shorter", 100, 60, 30, false, {90, 120, 150, 180}},
                      TimerCase{"rearmed_longer", 30, 50, 100, false, {30, 150}},
                      TimerCase{"rearmed_same_restarts_count", 50, 70, 50, false, {50, 120, 170}},
                      TimerCase{"killed", 40, 100, 0, true, {40, 80}}),
    [](const ::testing::TestParamInfo<TimerCase>& info) { return std::string(info.param.name); });

TEST_F(MessageQueueTest, quit_comes_after_the_messages_already_posted_and_before_timers) {
  const HWND hwnd = CreateTopLevel("main");
  SetTimer(hwnd, 1, 10);
  headless::RunUntilIdle();
  ClearLog();
  AdvanceFakeClock(10);
  PostMessage(hwnd, kFrameMessage, 0, 0);
  PostQuitMessage(3);

  MSG msg;
  std::vector<UINT> order;
  while (GetMessage(&msg, nullptr, 0, 0) != 0) {
    order.push_back(msg.message);
    DispatchMessage(&msg);
  }
  EXPECT_EQ(order, std::vector<UINT>{kFrameMessage});
  EXPECT_EQ(msg.wParam, 3u);
}

TEST_F(MessageQueueTest, messages_for_a_destroyed_window_are_dropped) {
  const HWND keep = CreateTopLevel("keep");
  const HWND gone = CreateTopLevel("gone");
  headless::RunUntilIdle();
  ClearLog();
  PostMessage(gone, kFrameMessage, 0, 0);
  PostMessage(keep, kFrameMessage, 0, 0);
  SetTimer(gone, 1, 10);
  DestroyWindow(gone);

  EXPECT_FALSE(PostMessage(gone, kOtherMessage, 0, 0));
  EXPECT_EQ(SendMessage(gone, kOtherMessage, 0, 0), 0);
  EXPECT_EQ(SetTimer(gone, 2, 10), 0u);
  headless::AdvanceClock(50);
  EXPECT_EQ(Trace({kFrameMessage, kOtherMessage, WM_TIMER}), std::vector<std::string>{"32769@keep"});
}

// With nothing else to do, a waiting loop moves the fake clock straight to the next timer expiry,
// so a program's own loop runs in a test without real waiting.
TEST_F(MessageQueueTest, waiting_loop_jumps_the_fake_clock_to_each_timer_expiry) {
  const HWND hwnd = CreateTopLevel("main");
  headless::RunUntilIdle();
  ClearLog();
  int ticks = 0;
  Handle(hwnd, [&ticks](HWND h, UINT message, WPARAM, LPARAM) -> std::optional<LRESULT> {
    if (message == WM_TIMER && ++ticks == 3) PostQuitMessage(0);
    return std::nullopt;
  });
  const uint32_t start = GetTickCount();
  SetTimer(hwnd, 1, 40);

  EXPECT_EQ(RunMessageLoop(), 0);

  std::vector<uint32_t> times;
  for (const Recorded& timer : Messages({WM_TIMER})) times.push_back(timer.time_ms - start);
  EXPECT_EQ(times, (std::vector<uint32_t>{40, 80, 120}));
  EXPECT_EQ(GetTickCount() - start, 120u);
}

// A worker thread posts to a window; the UI thread's waiting loop wakes for each message.
TEST_F(MessageQueueTest, posts_from_another_thread_wake_the_waiting_loop_in_order) {
  const HWND hwnd = CreateTopLevel("main");
  headless::RunUntilIdle();
  Handle(hwnd, [](HWND, UINT message, WPARAM wParam, LPARAM) -> std::optional<LRESULT> {
    if (message == kOtherMessage) PostQuitMessage(static_cast<int>(wParam));
    return std::nullopt;
  });
  ClearLog();
  std::atomic<bool> go{false};
  std::thread worker([&] {
    while (!go.load(std::memory_order_acquire)) std::this_thread::yield();
    for (WPARAM i = 1; i <= 3; ++i) PostMessage(hwnd, kFrameMessage, i, 0);
    PostMessage(hwnd, kOtherMessage, 9, 0);
  });
  go.store(true, std::memory_order_release);
  const int exit_code = RunMessageLoop();
  worker.join();

  EXPECT_EQ(exit_code, 9);
  std::vector<WPARAM> frames;
  for (const Recorded& entry : Messages({kFrameMessage})) frames.push_back(entry.wParam);
  EXPECT_EQ(frames, (std::vector<WPARAM>{1, 2, 3}));
}

}  // namespace
}  // namespace windowtest
