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

}  // namespace
