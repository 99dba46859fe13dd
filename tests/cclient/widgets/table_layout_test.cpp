#include "cclient/widgets/table_layout.h"

#include <gtest/gtest.h>

#include <cstring>

#include "cclient/widgets/chip_stack.h"

namespace {

using platform::RECT;

TEST(TableLayout, chip_layout_offsets_match_the_pile_table) {
  struct Case {
    int32_t piles;
    std::vector<std::pair<int32_t, int32_t>> offsets;
  } const cases[] = {
      {1, {{0, 0}}},
      {2, {{10, 0}, {-10, 0}}},
      {5, {{40, 0}, {20, 0}, {0, 0}, {-20, 0}, {-40, 0}}},
      {6, {{20, 18}, {0, 18}, {-20, 18}, {-30, 0}, {-10, 0}, {10, 0}}},
      {7, {{28, 20}, {8, 20}, {-12, 20}, {-32, 20}, {-30, 0}, {-10, 0}, {10, 0}}},
      {9, {{37, 20}, {17, 20}, {-3, 20}, {-23, 20}, {-43, 20}, {-40, 0}, {-20, 0}, {0, 0}, {20, 0}}},
      {11,
       {{47, 20}, {27, 20}, {7, 20}, {-13, 20}, {-33, 20}, {-53, 20}, {-50, 0}, {-30, 0}, {-10, 0}, {10, 0}, {30, 0}}},
  };
  for (const Case& c : cases) {
    int32_t xs[12];
    int32_t ys[12];
    ChipLayout_Offsets(c.piles, xs, ys);
    for (size_t i = 0; i < c.offsets.size(); ++i) {
      EXPECT_EQ(xs[i], c.offsets[i].first) << c.piles << " piles, offset " << i;
      EXPECT_EQ(ys[i], c.offsets[i].second) << c.piles << " piles, offset " << i;
    }
  }
}

TEST(TableLayout, chip_layout_outside_one_to_eleven_writes_nothing) {
  for (int32_t piles : {0, -1, 12}) {
    int32_t xs[12];
    int32_t ys[12];
    std::memset(xs, 0x5A, sizeof xs);
    std::memset(ys, 0x5A, sizeof ys);
    ChipLayout_Offsets(piles, xs, ys);
    for (int i = 0; i < 12; ++i) {
      EXPECT_EQ(xs[i], 0x5A5A5A5A) << piles;
      EXPECT_EQ(ys[i], 0x5A5A5A5A) << piles;
    }
  }
}

TEST(TableLayout, fill_table_fills_pair_k_with_k_offsets) {
  int32_t storage_x[15][15] = {};
  int32_t storage_y[15][15] = {};
  int32_t* xs[15];
  int32_t* ys[15];
  for (int k = 0; k < 15; ++k) {
    xs[k] = storage_x[k];
    ys[k] = storage_y[k];
  }
  ChipLayout_FillTable(11, xs, ys);
  EXPECT_EQ(storage_x[2][0], 20);
  EXPECT_EQ(storage_x[2][2], -20);
  EXPECT_EQ(storage_y[7][0], 18);
  EXPECT_EQ(storage_x[10][10], 30);
}

TEST(TableLayout, rect_overlaps_counts_touching_edges) {
  struct Case {
    const char* name;
    RECT a, b;
    bool overlaps;
  } const cases[] = {
      {"touching_corners", {0, 0, 10, 10}, {10, 10, 20, 20}, true},
      {"one_column_apart", {0, 0, 9, 9}, {10, 0, 20, 20}, false},
      {"inside", {5, 5, 6, 6}, {0, 0, 10, 10}, true},
      {"around", {0, 0, 10, 10}, {5, 5, 6, 6}, true},
      {"below", {0, 11, 10, 20}, {0, 0, 10, 10}, false},
      {"above", {0, 0, 10, 4}, {0, 5, 10, 10}, false},
      {"right", {11, 0, 20, 10}, {0, 0, 10, 10}, false},
      {"sharing_bottom_edge", {0, 10, 10, 20}, {0, 0, 10, 10}, true},
  };
  for (const Case& c : cases) EXPECT_EQ(Rect_Overlaps(c.a, c.b), c.overlaps) << c.name;
}

TEST(TableLayout, rect_union_with_empty_rectangles) {
  RECT a{5, 0, 5, 10};
  Rect_Union(&a, {1, 2, 3, 4});
  EXPECT_EQ(a.left, 1);
  EXPECT_EQ(a.top, 2);
  EXPECT_EQ(a.right, 3);
  EXPECT_EQ(a.bottom, 4);

  RECT b{0, 0, 10, 10};
  Rect_Union(&b, {5, 5, 5, 9});
  EXPECT_EQ(b.right, 10);
  EXPECT_EQ(b.bottom, 10);

  RECT c{0, 0, 10, 10};
  Rect_Union(&c, {-5, 3, 4, 30});
  EXPECT_EQ(c.left, -5);
  EXPECT_EQ(c.top, 0);
  EXPECT_EQ(c.right, 10);
  EXPECT_EQ(c.bottom, 30);
}

TEST(TableLayout, make_font_fills_the_description) {
  platform::LOGFONT font;
  std::memset(&font, 0x77, sizeof font);
  MakeFont(&font, 16, 500, nullptr);
  EXPECT_EQ(font.lfHeight, 16);
  EXPECT_EQ(font.lfWeight, 500);
  EXPECT_EQ(font.lfWidth, 0);
  EXPECT_EQ(font.lfItalic, 0);
  EXPECT_EQ(font.lfQuality, 0);
  EXPECT_EQ(font.lfPitchAndFamily, 2);
  EXPECT_STREQ(font.lfFaceName, "Arial");
  MakeFont(&font, 20, 700, "Arial %d");
  EXPECT_STREQ(font.lfFaceName, "Arial %d");
}

TEST(TableLayout, touches_rect_skips_empty_stacks) {
  ChipImage chip(25);
  ChipImage* images[] = {&chip};
  ChipStack stacks[4];
  for (ChipStack& s : stacks) {
    s.Init(1, images, 0, 0, nullptr, 9, 9);
    s.SetPileMode(true, false);
  }
  const RECT seat{100, 100, 190, 134};
  EXPECT_EQ(ChipStacks_TouchesRect(stacks, seat, seat), -1);

  // Without pictures a stack has no size; give stack 2 an amount and a picture size through a
  // strip cell.
  platform::HDC no_strip = nullptr;
  chip.SetFromStrip(&no_strip, 20, 19, 0, 0, 0, nullptr);
  for (ChipStack& s : stacks) s.Init(1, images, 0, 0, nullptr, 9, 9);
  stacks[2].SetPosition(300, 300);
  ASSERT_TRUE(stacks[2].SetAmount(50));
  EXPECT_EQ(ChipStacks_TouchesRect(stacks, seat, seat), 2);
  EXPECT_EQ(ChipStacks_TouchesRect(stacks, seat, {0, 0, 10, 10}), -1);
  EXPECT_EQ(ChipStacks_TouchesRect(stacks, seat, {305, 290, 310, 300}), 2);
}

}  // namespace
