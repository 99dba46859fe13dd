// The in-turn clock's face and hurry warning, and a turn that runs out on the frame's clock.
#include "cclient/games/kit/turn_clock.h"

#include <gtest/gtest.h>

namespace {

TEST(TurnClockTest, clock_shows_minutes_and_a_bar_shrinking_from_both_sides) {
  const platform::RECT clock{19, 501, 134, 513};
  struct Case {
    const char* name;
    double length, remaining;
    const char* text;
    bool has_bar;
    int32_t left, right;
  } cases[] = {
      {"full", 30, 30, "0:30", true, 19, 134},
      {"half", 30, 15, "0:15", true, 47, 106},
      {"minutes", 90, 75.9, "1:15", true, 28, 125},
      {"run out", 30, 0, "0:00", true, 76, 77},
      {"long", 600, 600, "10:00", true, 19, 134},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const TurnClockFace face = TurnClock_Face(clock, c.length, c.remaining);
    EXPECT_STREQ(face.text, c.text);
    EXPECT_EQ(face.has_bar, c.has_bar);
    EXPECT_EQ(face.bar.left, c.left);
    EXPECT_EQ(face.bar.right, c.right);
  }
  // An even width closes the bar completely.
  EXPECT_FALSE(TurnClock_Face(platform::RECT{0, 0, 100, 10}, 30, 0).has_bar);
}

TEST(TurnClockTest, hurry_warning_is_due_once_at_ten_seconds) {
  EXPECT_FALSE(TurnClock_HurryDue(true, 10.01, false));
  EXPECT_TRUE(TurnClock_HurryDue(true, 10.0, false));
  EXPECT_FALSE(TurnClock_HurryDue(true, 5.0, true));
  EXPECT_FALSE(TurnClock_HurryDue(false, 5.0, false));
}

TEST(TurnClockTest, a_turn_runs_out_once_warns_once_and_erases_its_face_once) {
  TurnClock clock(1, platform::RECT{19, 501, 134, 513});
  EXPECT_FALSE(clock.Start(-1, true, nullptr));
  ASSERT_TRUE(clock.Start(12, true, nullptr));
  EXPECT_FALSE(clock.Start(5, true, nullptr)) << "a running turn refuses a second start";
  EXPECT_FALSE(clock.TakeHurryWarning());
  for (int i = 0; i < 8; ++i) EXPECT_FALSE(clock.Countdown(0.25));  // 10 s left
  EXPECT_TRUE(clock.TakeHurryWarning());
  EXPECT_FALSE(clock.TakeHurryWarning());
  int ran_out = 0;
  for (int i = 0; i < 60; ++i) ran_out += clock.Countdown(0.25) ? 1 : 0;
  EXPECT_EQ(ran_out, 1);
  EXPECT_TRUE(clock.Timer().IsFree());

  // A turn whose warning is not armed never warns.
  ASSERT_TRUE(clock.Start(5, false, nullptr));
  EXPECT_FALSE(clock.TakeHurryWarning());
}

}  // namespace
