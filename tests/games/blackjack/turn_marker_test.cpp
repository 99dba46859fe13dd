#include "cclient/games/blackjack/turn_marker.h"

#include <gtest/gtest.h>

#include "tests/games/blackjack/blackjack_art_test.h"

namespace {

using platform::RECT;

class TurnMarkerTest : public BlackJackArtTest {
 protected:
  void SetUp() override {
    BlackJackArtTest::SetUp();
    ASSERT_TRUE(marker_.Load("5700.b", blackjack_art::kMarkerKey, &drawer_));
  }
  RECT Frame() {
    RECT erased{-1, -1, -1, -1};
    (void)marker_.Erase(back_.dc, background_.dc, &erased);
    if (marker_.NeedsRedraw()) marker_.Draw(back_.dc);
    return erased;
  }

  TransparentDraw drawer_;
  TurnMarker marker_;
};

TEST_F(TurnMarkerTest, the_marker_sweeps_out_and_back_endlessly) {
  // From (100, 200) to (96, 192) in 0.5 s: out, back, out again.
  const struct {
    double seconds;
    int32_t x, y;
  } rows[] = {
      {0.0, 100, 200},  {0.26, 98, 196}, {0.45, 97, 193},  {0.52, 96, 192}, {0.76, 98, 196},
      {0.95, 99, 199},  {1.02, 100, 200}, {1.1, 100, 199}, {2.76, 98, 196},
  };
  for (const auto& row : rows) {
    TurnMarker marker;
    ASSERT_TRUE(marker.Show(100, 200, 96, 192, 0.5));
    // Frames of 0.05 s, then the rest of the row's time in one.
    double left = row.seconds;
    while (left > 0.05 + 1e-9) {
      marker.Update(0.05);
      left -= 0.05;
    }
    marker.Update(left);
    EXPECT_EQ(marker.GetX(), row.x) << row.seconds;
    EXPECT_EQ(marker.GetY(), row.y) << row.seconds;
  }
}

TEST_F(TurnMarkerTest, a_shown_marker_refuses_another_show_until_hidden) {
  ASSERT_TRUE(marker_.Show(10, 20, 10, 12, 0.5));
  EXPECT_FALSE(marker_.Show(300, 300, 300, 292, 0.5));
  marker_.Hide();
  EXPECT_TRUE(marker_.Show(300, 300, 300, 292, 0.5));
  EXPECT_EQ(marker_.GetX(), 300);
}

TEST_F(TurnMarkerTest, each_move_erases_the_old_place_and_hiding_leaves_the_background) {
  ASSERT_TRUE(marker_.Show(100, 200, 100, 192, 0.5));
  Frame();
  EXPECT_EQ(back_.At(100 + 8, 200 + 8), blackjack_art::kMarkerColour);
  EXPECT_EQ(back_.At(100, 200), kTable) << "the key colour is left out";
  marker_.Update(0.25);
  const RECT erased = Frame();
  EXPECT_EQ(erased.top, 200);
  EXPECT_EQ(erased.bottom, 215);
  EXPECT_EQ(back_.At(100 + 8, 196 + 8), blackjack_art::kMarkerColour);
  EXPECT_EQ(back_.At(100 + 8, 196 + 14), kFelt) << "the rows it left are the background";
  marker_.Hide();
  Frame();
  EXPECT_EQ(back_.At(100 + 8, 196 + 8), kFelt);
  RECT rect;
  EXPECT_FALSE(marker_.GetRect(&rect));
}

}  // namespace
