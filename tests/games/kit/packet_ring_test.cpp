// The packet ring: order, wrap-around, overflow, one dump per record, and the step kept.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "cclient/games/kit/game_log.h"
#include "cclient/games/kit/packet_ring.h"
#include "cclient/games/kit/soft_timer.h"

namespace {

struct Numbered : GameRecord {
  explicit Numbered(int n, int* alive) : n(n), alive(alive) { ++*alive; }
  ~Numbered() override { --*alive; }
  int n;
  int* alive;
};

TEST(PacketRingTest, records_come_out_in_order_across_the_wrap_and_the_65th_is_dropped) {
  GameLog log;
  std::vector<std::string> lines;
  log.SetEcho([](void* out, const char* line) { static_cast<std::vector<std::string>*>(out)->push_back(line); },
              &lines);
  PacketRing ring(&log);
  int alive = 0;
  for (int i = 0; i < 40; ++i) ASSERT_TRUE(ring.Push(2400 + i % 24, std::make_unique<Numbered>(i, &alive)));
  for (int i = 0; i < 30; ++i) ASSERT_TRUE(ring.Pop());
  for (int i = 40; i < 94; ++i) ASSERT_TRUE(ring.Push(2400, std::make_unique<Numbered>(i, &alive)));
  EXPECT_EQ(ring.Count(), 64);
  EXPECT_FALSE(ring.Push(2401, std::make_unique<Numbered>(999, &alive)));
  EXPECT_EQ(alive, 64);  // the dropped record was freed
  for (int expected = 30; expected < 94; ++expected) {
    ASSERT_EQ(ring.HeadAs<Numbered>()->n, expected);
    ASSERT_TRUE(ring.Pop());
  }
  EXPECT_FALSE(ring.Pop());
  EXPECT_EQ(alive, 0);
  EXPECT_EQ(lines.front(), "!!!!push packet = 2400");
  EXPECT_EQ(lines.back(), "!!!!pop packet = 2400");
  // Pushing onto an empty ring starts again at slot 0.
  ASSERT_TRUE(ring.Push(2402, std::make_unique<Numbered>(1, &alive)));
  EXPECT_EQ(ring.Head(), 0);
  ring.Clear();
  EXPECT_EQ(alive, 0);
}

TEST(PacketRingTest, a_record_is_visited_first_once_and_keeps_its_step_afterwards) {
  PacketRing ring;
  int alive = 0;
  ASSERT_TRUE(ring.Push(2402, std::make_unique<Numbered>(1, &alive)));
  ASSERT_TRUE(ring.Push(2403, std::make_unique<Numbered>(2, &alive)));
  ring.step = 7;
  EXPECT_TRUE(ring.FirstVisit());
  EXPECT_EQ(ring.step, -1);
  ring.step = 2;
  EXPECT_FALSE(ring.FirstVisit());
  EXPECT_EQ(ring.step, 2);
  ring.Pop();
  EXPECT_TRUE(ring.FirstVisit());
  EXPECT_EQ(ring.step, -1);
  ring.Clear();
}

TEST(SoftTimerTest, a_running_timer_refuses_a_start_and_posts_when_it_reaches_zero) {
  GameLog log;
  std::vector<std::string> lines;
  log.SetEcho([](void* out, const char* line) { static_cast<std::vector<std::string>*>(out)->push_back(line); },
              &lines);
  SoftTimer timer(0, "delay timer is in use");
  EXPECT_FALSE(timer.Countdown(1.0));
  ASSERT_TRUE(timer.Start(0.1, &log));
  EXPECT_FALSE(timer.Start(5.0, &log));
  EXPECT_EQ(lines, std::vector<std::string>{"delay timer is in use"});
  EXPECT_FALSE(timer.Countdown(0.04));
  EXPECT_FALSE(timer.Countdown(0.04));
  EXPECT_TRUE(timer.Countdown(0.04));
  EXPECT_EQ(timer.Remaining(), 0.0);
  EXPECT_TRUE(timer.Countdown(0.04));  // posts at every frame until its handler frees it
  timer.Stop();
  SoftTimer instant(8, "instant timer is in use");
  ASSERT_TRUE(instant.Start(0.0, &log));
  EXPECT_TRUE(instant.Countdown(0.04));
}

}  // namespace
