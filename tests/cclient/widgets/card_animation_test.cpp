#include "cclient/widgets/card_animation.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>

#include "cclient/widgets/card_sheet.h"
#include "platform/draw/gdi.h"
#include "platform/window/headless.h"
#include "platform/window/message_queue.h"
#include "platform/window/window.h"
#include "tests/cclient/widgets/card_fixtures.h"
#include "tests/platform/draw/memory_picture.h"
#include "tests/support/temp_program_folder.h"

namespace {

using platform::POINT;
using platform::RECT;

platform::LRESULT PlainProcedure(platform::HWND hwnd, platform::UINT message, platform::WPARAM wParam,
                                 platform::LPARAM lParam) {
  return platform::DefWindowProc(hwnd, message, wParam, lParam);
}

bool SameRect(const RECT& a, const RECT& b) {
  return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

TEST(CardFlightPoint, moves_one_pixel_where_that_keeps_the_remaining_way_on_the_path) {
  struct Case {
    const char* name;
    POINT start;
    POINT end;
    double part;
    POINT expected;
  };
  // Worked by hand: the truncated point, then of it and its three neighbours toward the end the
  // one whose way to the end is most nearly parallel to the whole path (the first on a tie).
  const Case cases[] = {
      {"on_a_level_path_the_truncated_point_stays", {0, 0}, {10, 0}, 0.55, {5, 0}},
      {"on_a_diagonal_the_truncated_point_stays", {0, 0}, {10, 10}, 0.35, {3, 3}},
      // (3, 1) leaves (7, 4), slope 0.571; (4, 2) leaves (6, 3), exactly the path's 0.5.
      {"a_shallow_path_takes_the_diagonal_neighbour", {0, 0}, {10, 5}, 0.3, {4, 2}},
      {"the_same_path_backwards", {10, 5}, {0, 0}, 0.3, {6, 3}},
      // (0, 1) leaves (-3, 9), nearest the path's -3 across for 10 down; its neighbours leave
      // (-2, 9), (-3, 8) and (-2, 8).
      {"a_steep_path_keeps_its_point_when_that_is_nearest", {0, 0}, {-3, 10}, 0.15, {0, 1}},
      {"the_end_is_never_passed", {0, 0}, {10, 3}, 1.0, {10, 3}},
      {"no_way_at_all", {7, 7}, {7, 7}, 0.5, {7, 7}},
  };
  for (const Case& c : cases) {
    const POINT at = CardFlightPoint(c.start, c.end, c.part);
    EXPECT_EQ(at.x, c.expected.x) << c.name;
    EXPECT_EQ(at.y, c.expected.y) << c.name;
  }
}

TEST(CardTurnAt, the_first_side_narrows_in_the_first_half_of_the_span_and_the_second_widens_after) {
  struct Case {
    double percent;
    bool turning;
    bool second_side;
    double u;
  };
  // A turn from 60 to 80 percent of the flight.
  const Case cases[] = {
      {30.0, false, false, 0.0}, {60.0, false, false, 0.0}, {65.0, true, false, 0.5}, {70.0, true, false, 1.0},
      {75.0, true, true, 0.5},   {80.0, true, true, 1.0},   {90.0, false, true, 1.0},
  };
  for (const Case& c : cases) {
    const CardTurn turn = CardTurnAt(c.percent, 60.0, 20.0);
    EXPECT_EQ(turn.turning, c.turning) << c.percent;
    EXPECT_EQ(turn.second_side, c.second_side) << c.percent;
    EXPECT_NEAR(turn.u, c.u, 1e-9) << c.percent;
  }
  EXPECT_DOUBLE_EQ(CardGrowPercent(50.0, 0.5), 75.0);
  EXPECT_DOUBLE_EQ(CardShrinkPercent(50.0, 0.25), 87.5);
}

TEST(CardRectBound, bounds_two_rectangles_and_none_gives_minus_one) {
  const RECT rects[] = {{10, 20, 30, 40}, {5, 25, 12, 60}, {15, 0, 50, 30}};
  EXPECT_TRUE(SameRect(CardRect_Bound(rects[0], rects[1]), RECT{5, 20, 30, 60}));
  EXPECT_TRUE(SameRect(CardRects_Bound(3, rects), RECT{5, 0, 50, 60}));
  EXPECT_TRUE(SameRect(CardRects_Bound(0, rects), RECT{-1, -1, -1, -1}));
}

class CardAnimationTest : public ProgramFolderTest {
 protected:
  void SetUp() override {
    platform::headless::Reset();
    folder_.WriteFile("cardssml.b", FaceSheetBmp(56, 78).Bytes());
    folder_.WriteFile("cardbacs.b", BackBmp(56, 78).Bytes());
    ASSERT_EQ(sheet.Load("cardssml.b", "cardbacs.b"), nullptr);
  }
  void TearDown() override { platform::headless::Reset(); }

  CardSheet sheet;
  MemoryPicture table{200, 200};
};

TEST_F(CardAnimationTest, work_bitmaps_take_the_minimum_when_a_card_fits_else_a_square_of_both_sides) {
  struct Case {
    int32_t min_width;
    int32_t min_height;
    platform::SIZE expected;
  };
  const Case cases[] = {
      {56, 98, {56, 98}},    // the Stud set-up
      {57, 98, {60, 98}},    // the width rounds up to a multiple of 4
      {78, 102, {80, 102}},  // the Black Jack set-up
      {56, 77, {136, 134}},  // a card of 56 x 78 does not fit: 56 + 78 square, width rounded up
      {0, 0, {136, 134}},
  };
  for (const Case& c : cases) {
    CardAnimation animation(3, 10);
    TransparentDraw draw;
    animation.SetTransparentDraw(&draw);
    ASSERT_TRUE(animation.Setup(table.dc, &sheet, c.min_width, c.min_height));
    EXPECT_EQ(animation.SlotBitmapSize().cx, c.expected.cx) << c.min_width << "x" << c.min_height;
    EXPECT_EQ(animation.SlotBitmapSize().cy, c.expected.cy) << c.min_width << "x" << c.min_height;
    platform::BITMAP record{};
    ASSERT_NE(platform::GetObject(animation.Slot(2)->bitmap, sizeof record, &record), 0);
    EXPECT_EQ(record.bmWidth, c.expected.cx);
    EXPECT_EQ(record.bmHeight, c.expected.cy);
  }
}

TEST_F(CardAnimationTest, a_missing_back_fails_the_setup_and_leaves_no_back_sprite) {
  ASSERT_EQ(std::remove(folder_.PathOf("cardbacs.b").c_str()), 0);
  CardAnimation animation(2, 10);
  EXPECT_FALSE(animation.Setup(table.dc, &sheet, 56, 98));
  EXPECT_EQ(animation.Sprite(255), nullptr);
  EXPECT_NE(animation.Sprite(7), nullptr) << "the faces come from the sheet";
  EXPECT_FALSE(animation.RenderRotateSkew(0, 255, 0, 100, 100, true));
}

TEST_F(CardAnimationTest, slots_are_handed_out_in_order_skipping_held_ones_until_none_is_left) {
  CardAnimation animation(4, 10);
  ASSERT_TRUE(animation.Setup(table.dc, &sheet, 56, 98));
  animation.HoldSlot(1, true);
  animation.BeginSlots();
  EXPECT_EQ(animation.NextSlot(), 0);
  EXPECT_EQ(animation.NextSlot(), 2);
  EXPECT_EQ(animation.NextSlot(), 3);
  EXPECT_EQ(animation.NextSlot(), -1);
  animation.ReleaseHeldSlots();
  animation.BeginSlots();
  EXPECT_EQ(animation.NextSlot(), 0);
  EXPECT_EQ(animation.NextSlot(), 1);
}

TEST_F(CardAnimationTest, the_dirty_list_keeps_its_bound_and_reports_overflow_until_emptied) {
  CardAnimation animation(1, 3);
  EXPECT_FALSE(animation.QueueRect(RECT{5, 5, 5, 20}, 0, 0)) << "an empty rectangle is never kept";
  for (int32_t i = 0; i < 3; ++i) EXPECT_TRUE(animation.QueueRect(RECT{i, 0, i + 10, 10}, i, 1));
  EXPECT_FALSE(animation.DirtyOverflowed());
  EXPECT_FALSE(animation.QueueRect(RECT{50, 50, 60, 60}, 4, 0));
  EXPECT_TRUE(animation.DirtyOverflowed());
  EXPECT_EQ(animation.DirtyCount(), 3);
  EXPECT_EQ(animation.DirtyAt(2)->seat, 2);
  EXPECT_EQ(animation.DirtyAt(3), nullptr);
  animation.ClearDirty();
  EXPECT_FALSE(animation.DirtyOverflowed());
  EXPECT_EQ(animation.DirtyCount(), 0);

  EXPECT_TRUE(animation.QueueRectUnlessCovered(RECT{0, 0, 20, 20}, 0, 0));
  EXPECT_FALSE(animation.QueueRectUnlessCovered(RECT{5, 5, 10, 10}, 0, 0)) << "covered by the first";
  EXPECT_TRUE(animation.QueueRectUnlessCovered(RECT{15, 15, 30, 30}, 0, 0));
}

TEST_F(CardAnimationTest, erasing_copies_the_background_over_each_queued_rectangle_inclusively) {
  CardAnimation animation(1, 4);
  MemoryPicture background{200, 200};
  background.Fill(platform::RGB(1, 2, 3));
  table.Fill(platform::RGB(200, 200, 200));
  ASSERT_TRUE(animation.QueueRect(RECT{10, 10, 19, 14}, 0, 0));
  animation.EraseDirtyRects(table.dc, background.dc);
  EXPECT_EQ(table.At(19, 14), platform::RGB(1, 2, 3));
  EXPECT_EQ(table.At(10, 10), platform::RGB(1, 2, 3));
  EXPECT_EQ(table.At(20, 14), platform::RGB(200, 200, 200));
  EXPECT_EQ(table.At(19, 15), platform::RGB(200, 200, 200));
}

TEST_F(CardAnimationTest, the_done_message_is_posted_once_per_stored_message) {
  platform::WNDCLASS window_class;
  window_class.lpfnWndProc = PlainProcedure;
  window_class.lpszClassName = "CardAnimationTestWindow";
  (void)platform::RegisterClass(&window_class);
  const platform::HWND window = platform::CreateWindow("CardAnimationTestWindow", "table", 0, 0, 0, 100, 100,
                                                       nullptr, nullptr, nullptr, nullptr);
  ASSERT_NE(window, nullptr);
  CardAnimation animation(1, 4);
  animation.StoreDoneMessage(true, window, 9000, 3, 0x10001);
  EXPECT_TRUE(animation.HasPendingDoneMessage());
  EXPECT_TRUE(animation.PostDoneMessage());
  EXPECT_FALSE(animation.PostDoneMessage());
  animation.StoreDoneMessage(false, window, 9000, 4, 0);
  EXPECT_FALSE(animation.PostDoneMessage());
  platform::MSG message;
  ASSERT_TRUE(platform::PeekMessage(&message, window, 9000, 9000, platform::PM_REMOVE));
  EXPECT_EQ(message.wParam, 3u);
  EXPECT_EQ(message.lParam, 0x10001);
  EXPECT_FALSE(platform::PeekMessage(&message, window, 9000, 9000, platform::PM_REMOVE));
  platform::DestroyWindow(window);
}

TEST_F(CardAnimationTest, drawing_a_slot_skips_the_cut_corners_and_the_key) {
  CardAnimation animation(2, 4);
  TransparentDraw draw;
  animation.SetTransparentDraw(&draw);
  ASSERT_TRUE(animation.Setup(table.dc, &sheet, 56, 98));
  const platform::COLORREF felt = platform::RGB(0, 90, 0);

  // Rounded: a dimmed face of card 5 at (10, 10); its two top and two bottom rows are cut in.
  ASSERT_TRUE(animation.RenderDimmed(0, 5, 50));
  table.Fill(felt);
  animation.DrawSlotRounded(table.dc, 0, 10, 10);
  EXPECT_EQ(table.At(10 + 1, 10), felt);
  EXPECT_NE(table.At(10 + 2, 10), felt);
  EXPECT_EQ(table.At(10, 10 + 1), felt);
  EXPECT_NE(table.At(10 + 1, 10 + 1), felt);
  EXPECT_NE(table.At(10, 10 + 2), felt);
  EXPECT_EQ(table.At(10 + 54, 10 + 77), felt);
  EXPECT_NE(table.At(10 + 53, 10 + 77), felt);
  // Halved colours of the face: red y * 2 + 1, green x * 3 + 1, blue 5 * 4 + 10.
  EXPECT_EQ(table.At(10 + 20, 10 + 30), platform::RGB((30 * 2 + 1) / 2, (20 * 3 + 1) / 2, 30 / 2));

  // Keyed: a card turned part way over leaves the key pixels around it untouched.
  ASSERT_TRUE(animation.RenderRotateSkew(1, 5, 20, 60, 100, false));
  table.Fill(felt);
  animation.DrawSlotKeyed(table.dc, 1, 0, 0);
  const platform::SIZE size = animation.Slot(1)->size;
  int32_t felt_pixels = 0;
  int32_t key_pixels = 0;
  for (int32_t y = 0; y < size.cy; ++y) {
    for (int32_t x = 0; x < size.cx; ++x) {
      felt_pixels += table.At(x, y) == felt ? 1 : 0;
      key_pixels += table.At(x, y) == kCardAnimationKey ? 1 : 0;
    }
  }
  EXPECT_GT(felt_pixels, 0) << "a slanted card leaves triangles of key that must not be drawn";
  EXPECT_EQ(key_pixels, 0);
}

TEST_F(CardAnimationTest, a_face_sprite_follows_the_sheet_when_the_sheet_is_loaded_again) {
  CardAnimation animation(1, 4);
  ASSERT_TRUE(animation.Setup(table.dc, &sheet, 56, 98));
  ASSERT_NE(animation.Sprite(12), nullptr);
  // The deck option reloads the sheet: its pixels move to a new block.
  ASSERT_EQ(sheet.Load("cardssml.b", "cardbacs.b"), nullptr);
  ASSERT_TRUE(animation.RenderDimmed(0, 12, 100));
  table.Fill(0);
  animation.DrawSlotRounded(table.dc, 0, 0, 0);
  EXPECT_EQ(table.At(10, 40), FaceColour(12, 10, 40));
}

}  // namespace
