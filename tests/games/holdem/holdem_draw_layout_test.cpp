#include "cclient/games/holdem/holdem_draw_layout.h"

#include <gtest/gtest.h>

namespace {

TEST(HoldemDrawLayoutTest, tooltip_stays_inside_the_table) {
  struct Case {
    const char* name;
    int32_t mouse_x, mouse_y, width;
    int32_t left;
  } cases[] = {
      {"near the right edge", 780, 100, 200, 591},
      {"near the left edge", 50, 100, 200, 3},
      {"in the middle", 400, 100, 200, 300},
      {"odd width", 400, 100, 51, 374},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const platform::RECT box = HoldemDraw_PlaceTooltip(c.mouse_x, c.mouse_y, c.width, 16);
    EXPECT_EQ(box.left, c.left);
    EXPECT_EQ(box.right, c.left + c.width);
    EXPECT_EQ(box.top, c.mouse_y + 20);
    EXPECT_EQ(box.bottom, c.mouse_y + 36);
  }
}

TEST(HoldemDrawLayoutTest, overlay_box_is_centred_from_y_176) {
  const platform::RECT box = HoldemDraw_PlaceOverlay(201, 16);
  EXPECT_EQ(box.left, 295);
  EXPECT_EQ(box.right, 504);
  EXPECT_EQ(box.top, 176);
  EXPECT_EQ(box.bottom, 200);
}

TEST(HoldemDrawLayoutTest, clock_shows_minutes_and_a_bar_shrinking_from_both_sides) {
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
    const HoldemClockFace face = HoldemDraw_ClockFace(clock, c.length, c.remaining);
    EXPECT_STREQ(face.text, c.text);
    EXPECT_EQ(face.has_bar, c.has_bar);
    EXPECT_EQ(face.bar.left, c.left);
    EXPECT_EQ(face.bar.right, c.right);
  }
  // An even width closes the bar completely.
  EXPECT_FALSE(HoldemDraw_ClockFace(platform::RECT{0, 0, 100, 10}, 30, 0).has_bar);
}

TEST(HoldemDrawLayoutTest, money_texts_of_the_seats) {
  char text[32];
  struct Case {
    uint64_t amount;
    bool whole;
    const char* bet_total;
  } totals[] = {{50, false, "$.50"}, {300, false, "$3"}, {250, false, "$2.50"}, {7, true, "$7"}};
  for (const Case& c : totals) {
    HoldemDraw_BetTotalText(text, sizeof text, c.amount, c.whole);
    EXPECT_STREQ(text, c.bet_total);
  }
  HoldemDraw_ChipsText(text, sizeof text, 1200, false);
  EXPECT_STREQ(text, "$12.00");
  HoldemDraw_ChipsText(text, sizeof text, 5, false);
  EXPECT_STREQ(text, "$0.05");
  HoldemDraw_ChipsText(text, sizeof text, 1200, true);
  EXPECT_STREQ(text, "$1200");
}

TEST(HoldemDrawLayoutTest, status_texts_give_way_to_the_chips_under_the_mouse) {
  EXPECT_STREQ(HoldemDraw_StatusText(30, false), "Sitting Out");
  EXPECT_STREQ(HoldemDraw_StatusText(20, false), "Leaving");
  EXPECT_STREQ(HoldemDraw_StatusText(60, false), "All-In");
  EXPECT_EQ(HoldemDraw_StatusText(60, true), nullptr);
  EXPECT_EQ(HoldemDraw_StatusText(70, false), nullptr);
}

TEST(HoldemDrawLayoutTest, hurry_warning_is_due_once_at_ten_seconds) {
  EXPECT_FALSE(HoldemDraw_HurryDue(true, 10.01, false));
  EXPECT_TRUE(HoldemDraw_HurryDue(true, 10.0, false));
  EXPECT_FALSE(HoldemDraw_HurryDue(true, 5.0, true));
  EXPECT_FALSE(HoldemDraw_HurryDue(false, 5.0, false));
}

}  // namespace
