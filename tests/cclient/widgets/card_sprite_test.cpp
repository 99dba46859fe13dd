#include "cclient/widgets/card_sprite.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "platform/draw/gdi.h"
#include "platform/draw/png_writer.h"
#include "tests/platform/draw/memory_picture.h"

namespace {

using platform::COLORREF;
using platform::SIZE;

constexpr COLORREF kKey = platform::RGB(0, 255, 0);
constexpr COLORREF kFelt = platform::RGB(0, 90, 30);

// A card picture built top row first, handed to the sprite bottom-up as the sheets store it.
struct SyntheticCard {
  int32_t width;
  int32_t height;
  std::vector<uint8_t> bottom_up;

  SyntheticCard(int32_t w, int32_t h) : width(w), height(h), bottom_up(static_cast<size_t>(w) * h * 3) {}
  void Set(int32_t x, int32_t y, COLORREF c) {
    uint8_t* p = bottom_up.data() + (static_cast<size_t>(height - 1 - y) * width + x) * 3;
    p[0] = platform::GetBValue(c);
    p[1] = platform::GetGValue(c);
    p[2] = platform::GetRValue(c);
  }
};

// A full-size card: a light face with a dark frame line and a coloured middle, corners cut by the
// stepped bevel of `step` (key colour).
SyntheticCard FullCard(int32_t w = 56, int32_t h = 78, int32_t step = 2) {
  SyntheticCard card(w, h);
  for (int32_t y = 0; y < h; ++y) {
    for (int32_t x = 0; x < w; ++x) {
      const int32_t from_edge = std::min(y, h - 1 - y);
      const int32_t inset = from_edge < step ? step - from_edge : 0;
      COLORREF c = platform::RGB(240, 240, 230);
      if (x < inset || x >= w - inset) {
        c = kKey;
      } else if (x == inset || x == w - 1 - inset || y == 0 || y == h - 1) {
        c = platform::RGB(40, 40, 40);
      } else if (x > w / 4 && x < 3 * w / 4 && y > h / 4 && y < 3 * h / 4) {
        c = platform::RGB(200, 20, 20);
      }
      card.Set(x, y, c);
    }
  }
  return card;
}

// The frame bitmap a caller keeps, and the table it is drawn on.
struct Target {
  MemoryPicture bitmap;
  explicit Target(int32_t w, int32_t h) : bitmap(w, h) { bitmap.Fill(platform::RGB(1, 2, 3)); }
};

COLORREF FramePixel(const Target& t, int32_t x, int32_t y) { return t.bitmap.At(x, y); }

TEST(CardSpriteTest, plain_copy_keeps_the_card_and_records_its_corner_runs) {
  SyntheticCard card = FullCard(12, 10);
  CardSprite sprite;
  sprite.CopyPixels(card.bottom_up.data(), 12, 10, kKey);
  Target t(12, 10);
  SIZE size{-1, -1};
  EXPECT_EQ(sprite.RenderRotateSkew(t.bitmap.dc, t.bitmap.bitmap, 0, 0, 100, 100, &size), 12);
  EXPECT_EQ(size.cx, 12);
  EXPECT_EQ(size.cy, 10);
  SyntheticCard again = FullCard(12, 10);
  for (int32_t y = 0; y < 10; ++y) {
    for (int32_t x = 0; x < 12; ++x) {
      const uint8_t* p = again.bottom_up.data() + (static_cast<size_t>(9 - y) * 12 + x) * 3;
      ASSERT_EQ(FramePixel(t, x, y), platform::RGB(p[2], p[1], p[0])) << x << "," << y;
    }
  }
  int32_t runs[8];
  EXPECT_EQ(sprite.GetEdgeRuns(2, runs), 2);
  // Top-left, top-right, bottom-left, bottom-right; outermost row first.
  const int32_t expected[8] = {2, 1, 2, 1, 2, 1, 2, 1};
  for (int i = 0; i < 8; ++i) EXPECT_EQ(runs[i], expected[i]) << i;
  int32_t three[12];
  EXPECT_EQ(sprite.GetEdgeRuns(3, three), 2);
  EXPECT_EQ(three[2], 0);
  EXPECT_EQ(three[3], 2);
}

TEST(CardSpriteTest, half_the_columns_shown_keeps_the_first_and_last) {
  SyntheticCard card(56, 4);
  for (int32_t y = 0; y < 4; ++y) {
    for (int32_t x = 0; x < 56; ++x) card.Set(x, y, platform::RGB(static_cast<uint8_t>(x + 1), 100, 100));
  }
  CardSprite sprite;
  sprite.CopyPixels(card.bottom_up.data(), 56, 4, kKey);
  Target t(56, 4);
  SIZE size{};
  EXPECT_EQ(sprite.RenderRotateSkew(t.bitmap.dc, t.bitmap.bitmap, 0, 0, 50, 100, &size), 28);
  EXPECT_EQ(size.cx, 28);
  EXPECT_EQ(platform::GetRValue(FramePixel(t, 0, 1)), 1);
  EXPECT_EQ(platform::GetRValue(FramePixel(t, 27, 1)), 56);
  int32_t previous = 0;
  for (int32_t x = 0; x < 28; ++x) {
    const int32_t column = platform::GetRValue(FramePixel(t, x, 1));
    EXPECT_GT(column, previous) << x;
    previous = column;
  }
}

TEST(CardSpriteTest, slant_down_to_one_column_shows_the_card_edge_on) {
  SyntheticCard card(8, 10);
  for (int32_t y = 0; y < 10; ++y) {
    for (int32_t x = 0; x < 8; ++x) card.Set(x, y, platform::RGB(static_cast<uint8_t>(10 * x + 5), static_cast<uint8_t>(y), 0));
  }
  CardSprite sprite;
  sprite.CopyPixels(card.bottom_up.data(), 8, 10, kKey);
  Target t(8, 16);
  SIZE size{};
  // Narrowed by 7 of 8 columns with the right edge 3 rows lower: 13 rows high.
  EXPECT_EQ(sprite.RenderSlanted(t.bitmap.dc, t.bitmap.bitmap, 3, 7, &size), 1);
  EXPECT_EQ(size.cy, 13);
  for (int32_t y = 0; y < 13; ++y) {
    // Rows 0 to height - 3 show the left edge from the top; the rest the right edge's bottom.
    const int32_t column = y <= 7 ? 0 : 7;
    const int32_t row = y <= 7 ? y : y - 13 + 10;
    EXPECT_EQ(FramePixel(t, 0, y), platform::RGB(static_cast<uint8_t>(10 * column + 5), static_cast<uint8_t>(row), 0)) << y;
    for (int32_t x = 1; x < 8; ++x) EXPECT_EQ(FramePixel(t, x, y), kKey) << x << "," << y;
  }
  EXPECT_EQ(sprite.RenderSlanted(t.bitmap.dc, t.bitmap.bitmap, 3, -1, &size), -1);
}

TEST(CardSpriteTest, a_slant_lowers_one_edge_by_its_rows_and_keeps_every_column_whole) {
  SyntheticCard card = FullCard(20, 30);
  CardSprite sprite;
  sprite.CopyPixels(card.bottom_up.data(), 20, 30, kKey);
  Target t(20, 40);
  SIZE size{};
  ASSERT_EQ(sprite.RenderSlanted(t.bitmap.dc, t.bitmap.bitmap, 6, 4, &size), 16);
  EXPECT_EQ(size.cx, 16);
  EXPECT_EQ(size.cy, 36);
  // A positive slant lowers the left edge by the whole slant; the right edge stays at the top.
  for (int32_t x = 0; x < 16; ++x) {
    int32_t first = -1;
    int32_t last = -1;
    for (int32_t y = 0; y < 36; ++y) {
      if (FramePixel(t, x, y) == kKey) continue;
      if (first < 0) first = y;
      last = y;
    }
    ASSERT_GE(first, 0) << x;
    EXPECT_LE(last - first + 1, 30) << x;
    EXPECT_GE(last - first + 1, 26) << x;  // the cut corners shorten the edge columns
  }
  EXPECT_EQ(FramePixel(t, 8, 0), kKey);
  EXPECT_NE(FramePixel(t, 15, 2), kKey);
  EXPECT_EQ(FramePixel(t, 0, 5), kKey);
  EXPECT_NE(FramePixel(t, 0, 8), kKey);
}

TEST(CardSpriteTest, dimming_scales_every_byte) {
  SyntheticCard card(4, 2);
  card.Set(0, 0, platform::RGB(255, 1, 100));
  card.Set(3, 1, platform::RGB(10, 200, 255));
  CardSprite sprite;
  sprite.CopyPixels(card.bottom_up.data(), 4, 2, kKey);
  Target t(4, 2);
  SIZE size{};
  EXPECT_EQ(sprite.RenderDimmed(t.bitmap.dc, t.bitmap.bitmap, 70, &size), 4);
  EXPECT_EQ(size.cx, 4);
  EXPECT_EQ(size.cy, 2);
  EXPECT_EQ(FramePixel(t, 0, 0), platform::RGB(178, 0, 70));
  EXPECT_EQ(FramePixel(t, 3, 1), platform::RGB(7, 140, 178));
}

// A 4 x 2 card, top row then bottom row:
//   A B key key
//   C D key key
class ScaledTest : public ::testing::Test {
 protected:
  void SetUp() override {
    card.Set(0, 0, platform::RGB(100, 0, 8));
    card.Set(1, 0, platform::RGB(201, 50, 4));
    card.Set(0, 1, platform::RGB(10, 30, 60));
    card.Set(1, 1, platform::RGB(31, 70, 40));
    for (int32_t y = 0; y < 2; ++y) card.Set(2, y, kKey), card.Set(3, y, kKey);
    sprite.CopyPixels(card.bottom_up.data(), 4, 2, kKey);
    table.Fill(platform::RGB(50, 60, 70));
  }
  SyntheticCard card{4, 2};
  CardSprite sprite;
  Target t{4, 2};
  MemoryPicture table{20, 20};
};

TEST_F(ScaledTest, scaling_to_half_averages_two_pixels_per_axis_and_blends_key_taps_with_the_table) {
  SIZE size{-1, -1};
  // f = 0.5 both ways: one frame row from both source rows.
  ASSERT_EQ(sprite.RenderScaled(table.dc, t.bitmap.bitmap, 2.0, 1.0, false, 5, 6, &size), 2);
  EXPECT_EQ(size.cx, 2);  // the shown width
  EXPECT_EQ(size.cy, 1);
  // Column 0: rows' colours trunc((A + B) / 2) = (150, 25, 6) and trunc((C + D) / 2) = (20, 50, 50);
  // then their mean: (85, 37, 28).
  EXPECT_EQ(FramePixel(t, 0, 0), platform::RGB(85, 37, 28));
  // Column 1: all four taps are key.
  EXPECT_EQ(FramePixel(t, 1, 0), kKey);

  // A 2 x 2 card (A over key) to 1 x 1: only the top row counts, with half the weight, and the
  // table under the frame pixel (50, 60, 70) takes the other half.
  SyntheticCard half(2, 2);
  half.Set(0, 0, platform::RGB(100, 0, 8));
  half.Set(1, 0, platform::RGB(201, 50, 4));
  half.Set(0, 1, kKey);
  half.Set(1, 1, kKey);
  CardSprite top_only;
  top_only.CopyPixels(half.bottom_up.data(), 2, 2, kKey);
  ASSERT_EQ(top_only.RenderScaled(table.dc, t.bitmap.bitmap, 1.0, 1.0, false, 5, 6, &size), 1);
  // Row colour (150, 25, 6); pixel trunc(table x 0.5 + row x 0.5) = (100, 42, 38).
  EXPECT_EQ(FramePixel(t, 0, 0), platform::RGB(100, 42, 38));
}

TEST_F(ScaledTest, transforms_out_of_range_are_refused_and_draw_nothing) {
  SIZE size{-7, -7};
  EXPECT_EQ(sprite.RenderScaled(table.dc, t.bitmap.bitmap, 4.0, 2.0, false, 0, 0, &size), 0);
  EXPECT_EQ(size.cx, -7);
  for (double angle : {0.0, 90.0, -90.0, 135.0}) {
    EXPECT_EQ(sprite.RenderRotated(table.dc, t.bitmap.bitmap, angle, false, 0, 0, &size), 0) << angle;
    EXPECT_EQ(sprite.RenderScaledRotated(table.dc, t.bitmap.bitmap, 3.0, 3.0, angle, false, 0, 0, &size), 0) << angle;
  }
  const double ratios[][2] = {{-0.1, 0.0}, {1.1, 0.0}, {0.5, -1.5}, {0.5, 1.01}};
  for (const auto& r : ratios) {
    EXPECT_EQ(sprite.RenderTurned(table.dc, t.bitmap.bitmap, r[0], r[1], false, 0, 0, &size), 0);
    EXPECT_EQ(sprite.RenderScaledTurned(table.dc, t.bitmap.bitmap, 3.0, 3.0, r[0], r[1], false, 0, 0, &size), 0);
  }
  EXPECT_EQ(size.cx, -7);
  EXPECT_EQ(FramePixel(t, 0, 0), platform::RGB(1, 2, 3));
}

TEST(CardSpriteTest, a_sprite_without_pixels_refuses_every_transform) {
  MemoryPicture table(10, 10);
  Target t(8, 8);
  CardSprite empty;
  CardSprite strip_of_nothing;
  strip_of_nothing.SetStrip(nullptr, 56, 78, 2184, kKey);
  CardSprite no_size;
  const uint8_t one[3] = {1, 2, 3};
  no_size.CopyPixels(one, 0, 1, kKey);
  for (CardSprite* sprite : {&empty, &strip_of_nothing, &no_size}) {
    SIZE size{-7, -7};
    EXPECT_FALSE(sprite->HasPixels());
    EXPECT_EQ(sprite->RenderRotateSkew(table.dc, t.bitmap.bitmap, 0, 0, 100, 100, &size), 0);
    EXPECT_EQ(sprite->RenderRotateSkew(table.dc, t.bitmap.bitmap, 10, 5, 90, 90, &size), 0);
    EXPECT_EQ(sprite->RenderSlanted(table.dc, t.bitmap.bitmap, 2, 1, &size), 0);
    EXPECT_EQ(sprite->RenderDimmed(table.dc, t.bitmap.bitmap, 70, &size), 0);
    EXPECT_EQ(sprite->RenderScaled(table.dc, t.bitmap.bitmap, 3.0, 3.0, false, 0, 0, &size), 0);
    EXPECT_EQ(sprite->RenderRotated(table.dc, t.bitmap.bitmap, 10.0, false, 0, 0, &size), 0);
    EXPECT_EQ(sprite->RenderTurned(table.dc, t.bitmap.bitmap, 0.5, 0.1, false, 0, 0, &size), 0);
    EXPECT_EQ(sprite->RenderWarped(table.dc, t.bitmap.bitmap, 0, 5, 1, 4, 6, false, 0, 0, &size), 0);
    EXPECT_EQ(size.cx, -7);
  }
}

TEST(CardSpriteTest, a_borrowed_cell_reads_through_its_row_stride) {
  // Two cells side by side, 3 x 2 each, in a strip of 6 x 2 (rows 18 bytes apart).
  std::vector<uint8_t> strip(18 * 2);
  for (size_t i = 0; i < strip.size(); ++i) strip[i] = static_cast<uint8_t>(i + 1);
  CardSprite sprite;
  sprite.SetStrip(strip.data() + 9, 3, 2, 18, kKey);
  Target t(4, 2);
  SIZE size{};
  ASSERT_EQ(sprite.RenderRotateSkew(t.bitmap.dc, t.bitmap.bitmap, 0, 0, 100, 100, &size), 3);
  // Frame row 1 (the bottom) is the strip's first row, from byte 9 on.
  EXPECT_EQ(FramePixel(t, 0, 1), platform::RGB(12, 11, 10));
  EXPECT_EQ(FramePixel(t, 2, 0), platform::RGB(36, 35, 34));
}

TEST(CardSpriteTest, warped_with_equal_edges_is_the_scaled_card) {
  SyntheticCard card = FullCard();
  CardSprite sprite;
  sprite.CopyPixels(card.bottom_up.data(), 56, 78, kKey);
  MemoryPicture table(200, 200);
  table.Fill(kFelt);
  Target scaled(64, 70);
  Target warped(64, 70);
  SIZE a{}, b{};
  ASSERT_GT(sprite.RenderScaled(table.dc, scaled.bitmap.bitmap, 40.5, 60.25, false, 10, 10, &a), 0);
  ASSERT_GT(sprite.RenderWarped(table.dc, warped.bitmap.bitmap, 3.0, 40.5, 3.0, 40.5, 60.25, false, 10, 10, &b), 0);
  EXPECT_EQ(a.cx, b.cx);
  EXPECT_EQ(a.cy, b.cy);
  for (int32_t y = 0; y < a.cy; ++y) {
    for (int32_t x = 0; x < a.cx; ++x) ASSERT_EQ(FramePixel(scaled, x, y), FramePixel(warped, x, y)) << x << "," << y;
  }
}

// Frames of a full card under many arguments: the frame fits the scratch and the bitmap, columns
// past the shown width are key, the card's pixels in each row are one run (the key colour only
// where the card is not), their number is close to the card's area, and every pixel on it lies
// between the card's colours and the table's (the edge blend). The card's corners are square, so
// that its outline is convex.
TEST(CardSpriteTest, anti_aliased_frames_of_a_full_card_keep_their_invariants) {
  SyntheticCard card = FullCard(56, 78, 0);
  CardSprite sprite;
  sprite.CopyPixels(card.bottom_up.data(), 56, 78, kKey);
  MemoryPicture table(300, 300);
  table.Fill(kFelt);
  struct Case {
    std::string name;
    double area;  // the card's area in the frame
    std::function<int32_t(platform::HBITMAP, SIZE*, bool)> render;
  };
  std::vector<Case> cases;
  for (double angle : {-80.0, -33.3, -5.0, 1.0, 17.5, 45.0, 89.0}) {
    cases.push_back({"rotated " + std::to_string(angle), 56.0 * 78.0, [&, angle](platform::HBITMAP b, SIZE* s, bool m) {
                       return sprite.RenderRotated(table.dc, b, angle, m, 20, 30, s);
                     }});
    cases.push_back({"scaled rotated " + std::to_string(angle), 40.0 * 55.5,
                     [&, angle](platform::HBITMAP b, SIZE* s, bool m) {
                       return sprite.RenderScaledRotated(table.dc, b, 40.0, 55.5, angle, m, 20, 30, s);
                     }});
  }
  for (double w : {10.3, 28.0, 55.0, 70.6, 100.0}) {
    cases.push_back({"scaled " + std::to_string(w), w * 60.7, [&, w](platform::HBITMAP b, SIZE* s, bool m) {
                       return sprite.RenderScaled(table.dc, b, w, 60.7, m, 20, 30, s);
                     }});
  }
  for (double ratio : {0.05, 0.3, 0.77, 1.0}) {
    for (double slant : {-0.2, 0.0, 0.13}) {
      cases.push_back({"turned " + std::to_string(ratio) + " " + std::to_string(slant), 56.0 * ratio * 78.0,
                       [&, ratio, slant](platform::HBITMAP b, SIZE* s, bool m) {
                         return sprite.RenderTurned(table.dc, b, ratio, slant, m, 20, 30, s);
                       }});
    }
  }
  cases.push_back({"scaled turned", 50.0 * 0.6 * 70.0, [&](platform::HBITMAP b, SIZE* s, bool m) {
                     return sprite.RenderScaledTurned(table.dc, b, 50.0, 70.0, 0.6, -0.1, m, 20, 30, s);
                   }});
  cases.push_back({"warped", (40.0 + 30.0) / 2 * 70.0, [&](platform::HBITMAP b, SIZE* s, bool m) {
                     return sprite.RenderWarped(table.dc, b, 0.0, 40.0, 5.5, 30.0, 70.0, m, 20, 30, s);
                   }});
  cases.push_back({"warped offsets", (45.0 + 31.0) / 2 * 50.0, [&](platform::HBITMAP b, SIZE* s, bool m) {
                     return sprite.RenderWarped(table.dc, b, 7.25, 45.0, 2.0, 31.0, 50.0, m, 20, 30, s);
                   }});

  const COLORREF face = platform::RGB(240, 240, 230);
  for (const Case& c : cases) {
    Target t(132, 134);
    SIZE measured{};
    const int32_t shown = c.render(t.bitmap.bitmap, &measured, true);
    ASSERT_GT(shown, 0) << c.name;
    EXPECT_EQ(t.bitmap.At(0, 0), platform::RGB(1, 2, 3)) << c.name << ": measuring draws nothing";
    SIZE size{};
    ASSERT_EQ(c.render(t.bitmap.bitmap, &size, false), shown) << c.name;
    EXPECT_EQ(size.cx, measured.cx) << c.name;
    EXPECT_EQ(size.cy, measured.cy) << c.name;
    EXPECT_LE(size.cy * 132 * 3, CardSprite::kScratchBytes) << c.name;
    EXPECT_LE(shown, 132) << c.name;
    int64_t card_pixels = 0;
    for (int32_t y = 0; y < size.cy; ++y) {
      int32_t runs = 0;
      bool inside = false;
      for (int32_t x = 0; x < 132; ++x) {
        const COLORREF p = t.bitmap.At(x, y);
        const bool on_card = p != kKey;
        if (x >= shown) {
          ASSERT_FALSE(on_card) << c.name << " at " << x << "," << y;
          continue;
        }
        if (on_card && !inside) ++runs;
        inside = on_card;
        if (!on_card) continue;
        ++card_pixels;
        // Every channel lies between the darkest and lightest colours the card or the table has.
        EXPECT_LE(platform::GetGValue(p), platform::GetGValue(face)) << c.name;
        EXPECT_LE(platform::GetBValue(p), platform::GetBValue(face)) << c.name;
      }
      EXPECT_LE(runs, 1) << c.name << " row " << y;
    }
    const double area = c.area;
    EXPECT_NEAR(static_cast<double>(card_pixels), area, 0.02 * area + 2.0 * (size.cx + size.cy)) << c.name;
  }
}

TEST(CardSpriteTest, frames_are_cut_to_the_scratch_and_the_bitmap) {
  SyntheticCard card = FullCard();
  CardSprite sprite;
  sprite.CopyPixels(card.bottom_up.data(), 56, 78, kKey);
  MemoryPicture table(400, 400);
  struct Case {
    const char* name;
    int32_t bitmap_width;
    int32_t bitmap_height;
    int32_t width;
    int32_t height;
  } const cases[] = {
      {"wide bitmap cuts rows", 200, 200, 120, 89},   // 89 x 600 <= 53,868 < 90 x 600
      {"narrow bitmap cuts columns", 40, 200, 40, 120},
      {"short bitmap caps the height", 160, 50, 120, 50},
  };
  for (const Case& c : cases) {
    Target t(c.bitmap_width, c.bitmap_height);
    SIZE size{};
    const int32_t shown = sprite.RenderScaled(table.dc, t.bitmap.bitmap, 120.0, 120.0, false, 0, 0, &size);
    EXPECT_EQ(size.cx, c.width) << c.name;
    EXPECT_EQ(size.cy, c.height) << c.name;
    EXPECT_LE(shown, c.bitmap_width) << c.name;
  }
  // The integer skew gives up slant rows the scratch cannot hold.
  Target narrow(56, 400);
  SIZE size{};
  EXPECT_EQ(sprite.RenderRotateSkew(narrow.bitmap.dc, narrow.bitmap.bitmap, 0, 89, 100, 100, &size), 56);
  EXPECT_EQ(size.cy, CardSprite::kScratchBytes / (56 * 3));
}

// Pictures for a person to look at: a card rotated, slanted, turned, scaled and warped on felt.
TEST(CardSpriteTest, gallery_of_transformed_cards) {
  SyntheticCard card = FullCard();
  CardSprite sprite;
  sprite.CopyPixels(card.bottom_up.data(), 56, 78, kKey);
  MemoryPicture table(800, 150);
  table.Fill(kFelt);
  const auto show = [&](int32_t x, const std::function<int32_t(platform::HDC, platform::HBITMAP, SIZE*)>& render) {
    MemoryPicture frame(132, 134);
    SIZE size{};
    ASSERT_GT(render(frame.dc, frame.bitmap, &size), 0);
    platform::TransparentBlt(table.dc, x, 10, size.cx, size.cy, frame.dc, 0, 0, size.cx, size.cy, kKey);
  };
  show(5, [&](platform::HDC, platform::HBITMAP b, SIZE* s) {
    return sprite.RenderRotateSkew(table.dc, b, 0, 0, 100, 100, s);
  });
  show(70, [&](platform::HDC, platform::HBITMAP b, SIZE* s) { return sprite.RenderRotated(table.dc, b, 25.0, false, 70, 10, s); });
  show(180, [&](platform::HDC, platform::HBITMAP b, SIZE* s) { return sprite.RenderSlanted(table.dc, b, 12, 24, s); });
  show(230, [&](platform::HDC, platform::HBITMAP b, SIZE* s) {
    return sprite.RenderRotateSkew(table.dc, b, 20, 10, 100, 100, s);
  });
  show(340, [&](platform::HDC, platform::HBITMAP b, SIZE* s) {
    return sprite.RenderTurned(table.dc, b, 0.45, 0.15, false, 340, 10, s);
  });
  show(400, [&](platform::HDC, platform::HBITMAP b, SIZE* s) {
    return sprite.RenderScaledRotated(table.dc, b, 80.0, 110.0, -30.0, false, 400, 10, s);
  });
  show(540, [&](platform::HDC, platform::HBITMAP b, SIZE* s) {
    return sprite.RenderWarped(table.dc, b, 0.0, 70.0, 12.0, 46.0, 90.0, false, 540, 10, s);
  });
  show(630, [&](platform::HDC, platform::HBITMAP b, SIZE* s) { return sprite.RenderDimmed(table.dc, b, 70, s); });
  EXPECT_TRUE(platform::SaveDCPng(table.dc, "card_sprite_gallery.png"));
}

}  // namespace
