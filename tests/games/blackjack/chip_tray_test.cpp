#include "cclient/games/blackjack/chip_tray.h"

#include <gtest/gtest.h>

#include "tests/games/blackjack/blackjack_art_test.h"

namespace {

using platform::RECT;

const int32_t kValues[5] = {100, 500, 2500, 10000, 50000};
const int32_t kChipXs[5] = {39, 77, 115, 153, 191};
const int32_t kChipYs[5] = {-11, -11, -11, -11, -11};

// Where chip i's 32 x 29 cell stands while the tray is shown at (154, 464).
constexpr int32_t ChipLeft(int32_t chip) { return 154 + 39 + 38 * chip; }
constexpr int32_t kChipTop = 464 - 11;

class ChipTrayTest : public BlackJackArtTest {
 protected:
  void SetUp() override {
    BlackJackArtTest::SetUp();
    tray_.SetTransparentDraw(&drawer_);
    ASSERT_EQ(tray_.LoadBar("5200.b", 28, 28, blackjack_art::kTrayKey), nullptr);
    ASSERT_EQ(tray_.LoadChips(5, kValues, "5201.b", "5202.b", kChipXs, kChipYs, blackjack_art::kTrayKey), nullptr);
    tray_.SetPosition(154, 505, 464);
  }
  void Show() { ASSERT_TRUE(tray_.Slide(false, 0.0)); }
  RECT Frame() {
    RECT erased{-1, -1, -1, -1};
    (void)tray_.Erase(back_.dc, background_.dc, &erased);
    if (tray_.NeedsRedraw()) tray_.Draw(back_.dc);
    return erased;
  }

  TransparentDraw drawer_;
  ChipTray tray_;
};

TEST_F(ChipTrayTest, loading_reports_what_is_missing) {
  ChipTray tray;
  EXPECT_STREQ(tray.LoadBar("nothere.b", 28, 28, 0), "load failed by not finding Bar image file name");
  EXPECT_EQ(tray.LoadBar("5200.b", 28, 28, 0), nullptr);
  EXPECT_STREQ(tray.LoadBar("5200.b", 28, 28, 0), "already loaded before!");
  EXPECT_STREQ(tray.LoadChips(0, kValues, "5201.b", "5202.b", kChipXs, kChipYs, 0), "No chip is loaded");
  EXPECT_STREQ(tray.LoadChips(5, nullptr, "5201.b", "5202.b", kChipXs, kChipYs, 0), "No chip value is offered!");
}

TEST_F(ChipTrayTest, only_a_point_strictly_inside_a_cell_hits_its_chip) {
  EXPECT_EQ(tray_.HitTest(ChipLeft(1) + 10, kChipTop + 10), ChipTray::kNoChip) << "hidden";
  Show();
  const struct {
    int32_t x, y, expected;
  } rows[] = {
      {ChipLeft(0) + 1, kChipTop + 1, 0},
      {ChipLeft(4) + 30, kChipTop + 27, 4},
      {ChipLeft(2), kChipTop + 10, ChipTray::kTrayNotChip},       // the cell's left column
      {ChipLeft(2) + 31, kChipTop + 10, ChipTray::kTrayNotChip},  // its right column
      {ChipLeft(3) + 10, kChipTop, ChipTray::kTrayNotChip},       // its top row, above the bar
      {ChipLeft(0) + 34, kChipTop + 5, ChipTray::kNoChip},        // between two chips, above the bar
      {ChipLeft(3) + 10, kChipTop + 28, ChipTray::kTrayNotChip},  // its bottom row, on the bar
      {160, 490, ChipTray::kTrayNotChip},                         // the bar's left end
      {154 + 262, 490, ChipTray::kNoChip},                        // just past the bar
      {300, 520, ChipTray::kNoChip},
  };
  for (const auto& row : rows) EXPECT_EQ(tray_.HitTest(row.x, row.y), row.expected) << row.x << ", " << row.y;
}

TEST_F(ChipTrayTest, a_chip_is_selected_only_by_a_press_and_release_over_it) {
  Show();
  const int32_t on1_x = ChipLeft(1) + 16, on2_x = ChipLeft(2) + 16, on_y = kChipTop + 14;
  const struct {
    const char* name;
    int32_t down_x, down_y, up_x, up_y;
    int32_t clicked;
  } rows[] = {
      {"on the same chip", on1_x, on_y, on1_x + 5, on_y - 5, 1},
      {"released over another chip", on1_x, on_y, on2_x, on_y, ChipTray::kNoChip},
      {"released off the tray", on1_x, on_y, 600, 300, ChipTray::kNoChip},
      {"pressed on a cell's border", ChipLeft(1), on_y, on1_x, on_y, ChipTray::kNoChip},
      {"pressed on the bar", 160, 490, on1_x, on_y, ChipTray::kNoChip},
  };
  for (const auto& row : rows) {
    tray_.Reset();
    (void)tray_.OnMouseDown(row.down_x, row.down_y);
    EXPECT_EQ(tray_.OnMouseUp(row.up_x, row.up_y), row.clicked) << row.name;
    EXPECT_EQ(tray_.GetSelected(), row.clicked) << row.name;
    EXPECT_EQ(tray_.GetSelectedValue(), row.clicked == 1 ? 500 : 0) << row.name;
  }
  // A failed click leaves an earlier selection alone.
  (void)tray_.OnMouseDown(on2_x, on_y);
  ASSERT_EQ(tray_.OnMouseUp(on2_x, on_y), 2);
  (void)tray_.OnMouseDown(on1_x, on_y);
  EXPECT_EQ(tray_.OnMouseUp(on2_x, on_y), ChipTray::kNoChip);
  EXPECT_EQ(tray_.GetSelectedValue(), 2500);
}

TEST_F(ChipTrayTest, a_slide_moves_linearly_and_is_refused_while_sliding_or_already_there) {
  EXPECT_FALSE(tray_.Slide(true, 0.3)) << "already hidden";
  ASSERT_TRUE(tray_.Slide(false, 0.3));
  EXPECT_EQ(tray_.GetSlideState(), ChipTray::SlideState::kToShown);
  EXPECT_FALSE(tray_.Slide(true, 0.3)) << "sliding";
  tray_.Update(0.15);
  EXPECT_EQ(tray_.GetY(), 505 - 20) << "half of 41 rows, truncated";
  EXPECT_EQ(tray_.HitTest(ChipLeft(0) + 10, tray_.GetY() - 11 + 10), ChipTray::kNoChip) << "no input while sliding";
  tray_.Update(0.15);
  EXPECT_EQ(tray_.GetY(), 464);
  EXPECT_TRUE(tray_.IsShown());
  EXPECT_FALSE(tray_.Slide(false, 0.3));
  ASSERT_TRUE(tray_.Slide(true, 0.0)) << "no time: at once";
  EXPECT_EQ(tray_.GetY(), 505);
  EXPECT_EQ(tray_.GetSlideState(), ChipTray::SlideState::kNone);
}

TEST_F(ChipTrayTest, nothing_is_painted_at_or_below_the_hidden_y) {
  ASSERT_TRUE(tray_.Slide(false, 0.3));
  tray_.Update(0.1);  // the bar's top at 505 - 13 = 492
  Frame();
  EXPECT_EQ(back_.At(160, 500), blackjack_art::kTrayBar);
  EXPECT_EQ(back_.At(160, 505), kTable);
  RECT dirty;
  ASSERT_TRUE(tray_.GetDirtyRect(&dirty));
  EXPECT_EQ(dirty.bottom, 504);

  tray_.Update(0.2);
  Frame();
  ASSERT_TRUE(tray_.Slide(true, 0.0));
  const RECT erased = Frame();
  EXPECT_EQ(erased.top, kChipTop);
  EXPECT_EQ(back_.At(160, 490), kFelt);
  EXPECT_FALSE(tray_.NeedsRedraw()) << "a hidden tray paints nothing";
}

TEST_F(ChipTrayTest, hover_and_press_repaint_only_the_chips_that_changed) {
  Show();
  Frame();
  EXPECT_EQ(back_.At(ChipLeft(2) + 16, kChipTop + 14), blackjack_art::ChipCellColour(2, 0));
  EXPECT_EQ(back_.At(160, 490), blackjack_art::kTrayBar);
  back_.Fill(kTable);  // anything repainted now shows against this

  (void)tray_.OnMouseMove(ChipLeft(2) + 16, kChipTop + 14);
  RECT erased = Frame();
  EXPECT_EQ(erased.left, ChipLeft(2));
  EXPECT_EQ(erased.right, ChipLeft(2) + 31);
  RECT dirty;
  ASSERT_TRUE(tray_.GetDirtyRect(&dirty));
  EXPECT_EQ(dirty.left, ChipLeft(2));
  EXPECT_EQ(dirty.right, ChipLeft(2) + 31);
  EXPECT_EQ(back_.At(ChipLeft(2) + 16, kChipTop + 14), blackjack_art::ChipCellColour(2, 1)) << "hover cell";
  EXPECT_EQ(back_.At(ChipLeft(2) + 16, kChipTop + 28), blackjack_art::kTrayBar) << "the bar under the chip again";
  EXPECT_EQ(back_.At(ChipLeft(1) + 16, kChipTop + 14), kTable) << "chip 1 untouched";

  (void)tray_.OnMouseDown(ChipLeft(2) + 16, kChipTop + 14);
  Frame();
  EXPECT_EQ(back_.At(ChipLeft(2) + 16, kChipTop + 14), blackjack_art::ChipCellColour(2, 2)) << "pressed cell";
  ASSERT_EQ(tray_.OnMouseUp(ChipLeft(2) + 16, kChipTop + 14), 2);
  Frame();
  EXPECT_EQ(back_.At(ChipLeft(2) + 16, kChipTop + 14), blackjack_art::SecondChipCellColour(2, 1))
      << "the selected chip, still hovered, from the second sheet";
  EXPECT_EQ(back_.At(ChipLeft(3) + 16, kChipTop + 14), kTable);
}

}  // namespace
