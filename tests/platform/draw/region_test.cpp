#include <gtest/gtest.h>

#include <climits>
#include <functional>

#include "platform/draw/gdi.h"
#include "tests/platform/draw/memory_picture.h"
#include "tests/platform/draw/picture_compare.h"

using namespace platform;

namespace {

const std::map<char, COLORREF> kPalette = {{'.', RGB(255, 255, 255)}, {'#', RGB(0, 0, 0)}};

std::vector<std::string> RegionGrid(HRGN region, int32_t width, int32_t height) {
  std::vector<std::string> rows;
  for (int32_t y = 0; y < height; ++y) {
    std::string row;
    for (int32_t x = 0; x < width; ++x) row += PtInRegion(region, x, y) ? '#' : '.';
    rows.push_back(row);
  }
  return rows;
}

TEST(Regions, ellipse_holds_the_pixels_whose_centres_lie_inside) {
  struct Case {
    const char* name;
    RECT box;
    int32_t width, height;
    std::vector<std::string> expected;
  } const cases[] = {
      {"wide", {0, 0, 8, 6}, 8, 6, {"..####..", ".######.", "########", "########", ".######.", "..####.."}},
      {"circle_5", {0, 0, 5, 5}, 5, 5, {".###.", "#####", "#####", "#####", ".###."}},
      {"offset_circle_4", {2, 1, 6, 5}, 8, 6,
       {"........", "...##...", "..####..", "..####..", "...##...", "........"}},
      {"empty", {3, 3, 3, 8}, 4, 4, {"....", "....", "....", "...."}},
  };
  for (const Case& c : cases) {
    HRGN region = CreateEllipticRgnIndirect(&c.box);
    ASSERT_NE(region, nullptr);
    EXPECT_EQ(RegionGrid(region, c.width, c.height), c.expected) << c.name;
    DeleteObject(region);
  }
}

TEST(Regions, ellipses_as_large_as_the_coordinates_allow_keep_their_shape) {
  // Sides of 2^32 - 1 pixels: the inside test's products reach 2^128.
  HRGN whole = CreateEllipticRgn(INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX);
  ASSERT_NE(whole, nullptr);
  EXPECT_TRUE(PtInRegion(whole, 0, 0));
  EXPECT_TRUE(PtInRegion(whole, -1000000, 1000000));
  DeleteObject(whole);
  // Three rows across the whole range: the middle row reaches both ends, the outer rows (whose
  // centres lie a third of the half-height from the edge) cover sqrt(5) / 3 of the width.
  HRGN thin = CreateEllipticRgn(INT32_MIN, 0, INT32_MAX, 3);
  ASSERT_NE(thin, nullptr);
  struct Case {
    int32_t x, y;
    bool inside;
  } const cases[] = {
      {INT32_MIN, 1, true}, {INT32_MAX - 1, 1, true}, {INT32_MAX, 1, false}, {0, 0, true},       {0, 2, true},
      {INT32_MIN, 0, false}, {-1500000000, 2, true}, {-1700000000, 2, false}, {1500000000, 0, true},
  };
  for (const Case& c : cases) EXPECT_EQ(PtInRegion(thin, c.x, c.y), c.inside) << c.x << "," << c.y;
  DeleteObject(thin);
}

TEST(Regions, difference_of_rectangle_and_ellipse_clips_a_fill) {
  HRGN rect = CreateRectRgn(0, 0, 8, 6);
  HRGN ellipse = CreateEllipticRgn(2, 1, 6, 5);
  HRGN ring = CreateRectRgn(0, 0, 0, 0);
  EXPECT_EQ(CombineRgn(ring, rect, ellipse, RGN_DIFF), COMPLEXREGION);
  MemoryPicture picture(8, 6);
  const RECT all{0, 0, 8, 6};
  FillRect(picture.dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  EXPECT_EQ(SelectClipRgn(picture.dc, ring), COMPLEXREGION);
  FillRect(picture.dc, &all, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
  EXPECT_TRUE(SamePicture(picture.picture(),
                          PictureFromRows({"########", "###..###", "##....##", "##....##", "###..###", "########"},
                                          kPalette),
                          "ring_fill"));
  EXPECT_EQ(CombineRgn(ring, rect, ellipse, RGN_AND), COMPLEXREGION);
  EXPECT_EQ(CombineRgn(ring, rect, nullptr, RGN_COPY), SIMPLEREGION);
  EXPECT_EQ(CombineRgn(ring, ellipse, rect, RGN_DIFF), NULLREGION);
  EXPECT_EQ(CombineRgn(ring, rect, ellipse, 99), RGN_ERROR);
  DeleteObject(rect);
  DeleteObject(ellipse);
  DeleteObject(ring);
}

TEST(Clipping, clip_rectangles_and_regions_limit_every_copy) {
  struct Case {
    const char* name;
    std::function<void(HDC)> clip;
    std::vector<std::string> expected;
  } const cases[] = {
      {"intersect", [](HDC dc) { IntersectClipRect(dc, 1, 1, 5, 3); }, {"......", ".####.", ".####.", "......"}},
      {"exclude", [](HDC dc) { ExcludeClipRect(dc, 2, 0, 4, 4); }, {"##..##", "##..##", "##..##", "##..##"}},
      {"intersect_then_exclude",
       [](HDC dc) {
         IntersectClipRect(dc, 1, 1, 5, 3);
         ExcludeClipRect(dc, 2, 0, 3, 4);
       },
       {"......", ".#.##.", ".#.##.", "......"}},
      {"cleared",
       [](HDC dc) {
         IntersectClipRect(dc, 1, 1, 5, 3);
         SelectClipRgn(dc, nullptr);
       },
       {"######", "######", "######", "######"}},
      {"selected_region_is_a_copy",
       [](HDC dc) {
         HRGN region = CreateEllipticRgn(0, 0, 6, 4);
         SelectClipRgn(dc, region);
         DeleteObject(region);
       },
       {".####.", "######", "######", ".####."}},
  };
  for (const Case& c : cases) {
    MemoryPicture source(6, 4);
    const RECT all{0, 0, 6, 4};
    FillRect(source.dc, &all, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    MemoryPicture picture(6, 4);
    FillRect(picture.dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    c.clip(picture.dc);
    // A copy from a negative origin that covers the whole picture, so source clipping and the
    // clip area act together.
    ASSERT_TRUE(BitBlt(picture.dc, -1, -1, 8, 6, source.dc, -1, -1, SRCCOPY));
    EXPECT_TRUE(SamePicture(picture.picture(), PictureFromRows(c.expected, kPalette), std::string("clip_") + c.name));
    EXPECT_EQ(GetPixel(picture.dc, 0, 0), c.expected[0][0] == '#' ? RGB(0, 0, 0) : CLR_INVALID) << c.name;
  }
}

}  // namespace
