#include "cclient/widgets/transparent_draw.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "platform/draw/gdi.h"
#include "tests/platform/draw/memory_picture.h"
#include "tests/platform/draw/picture_compare.h"

namespace {

using platform::COLORREF;
using platform::HDC;
using platform::Surface;

void SetPixel(Surface* s, int32_t x, int32_t y, COLORREF c) {
  uint8_t* p = s->Row(y) + static_cast<size_t>(x) * 3;
  p[0] = platform::GetBValue(c);
  p[1] = platform::GetGValue(c);
  p[2] = platform::GetRValue(c);
}

// A source of many colours in which every fifth pixel or so has the key colour, and some pixels
// differ from the key in one channel only.
Surface SourcePicture(int32_t width, int32_t height, COLORREF key) {
  Surface s(width, height);
  for (int32_t y = 0; y < height; ++y)
    for (int32_t x = 0; x < width; ++x) {
      COLORREF c = platform::RGB(static_cast<uint8_t>(x * 37 + y * 11), static_cast<uint8_t>(x * y + 3),
                                 static_cast<uint8_t>(200 - x * 5 - y));
      if ((x * 7 + y * 3) % 5 == 0) c = key;
      if ((x * 7 + y * 3) % 11 == 1) c = key ^ 0x000001;
      SetPixel(&s, x, y, c);
    }
  return s;
}

Surface DestinationPicture(int32_t width, int32_t height) {
  Surface s(width, height);
  for (int32_t y = 0; y < height; ++y)
    for (int32_t x = 0; x < width; ++x)
      SetPixel(&s, x, y, platform::RGB(static_cast<uint8_t>(y * 9), static_cast<uint8_t>(255 - x * 4), 90));
  return s;
}

// What a colour-keyed copy means: the source pixel, unless it is the key, within the destination.
Surface Expected(const Surface& source, int32_t source_x, int32_t source_y, int32_t width, int32_t height,
                 const Surface& destination, int32_t x, int32_t y, COLORREF key) {
  Surface out = destination;
  for (int32_t row = 0; row < height; ++row)
    for (int32_t column = 0; column < width; ++column) {
      const int32_t tx = x + column, ty = y + row;
      if (tx < 0 || ty < 0 || tx >= out.width || ty >= out.height) continue;
      const COLORREF c = PixelOf(source, source_x + column, source_y + row);
      if (c != key) SetPixel(&out, tx, ty, c);
    }
  return out;
}

enum class Way { kTransparentBlt, kDrawTransparentBitmap, kTransparentDrawBlt, kTransparentDrawMask };

void DrawWith(Way way, HDC source, int32_t sx, int32_t sy, int32_t w, int32_t h, HDC destination, int32_t x,
              int32_t y, COLORREF key) {
  switch (way) {
    case Way::kTransparentBlt:
      platform::TransparentBlt(destination, x, y, w, h, source, sx, sy, w, h, key);
      break;
    case Way::kDrawTransparentBitmap:
      DrawTransparentBitmap(source, sx, sy, w, h, destination, x, y, key);
      break;
    case Way::kTransparentDrawBlt: {
      TransparentDraw drawer;
      drawer.Draw(source, sx, sy, w, h, destination, x, y, key);
      break;
    }
    case Way::kTransparentDrawMask: {
      TransparentDraw drawer(TransparentDraw::Method::kMask);
      drawer.Reserve(w, h);
      // A second draw through the kept surfaces must not be spoilt by what the first left there.
      drawer.Draw(source, sx, sy, w, h, destination, x, y, key);
      drawer.Draw(source, sx, sy, w, h, destination, x, y, key);
      break;
    }
  }
}

TEST(TransparentDrawTest, mask_method_matches_transparent_blt_pixel_for_pixel) {
  struct Case {
    const char* name;
    COLORREF key;
    int32_t source_x, source_y, width, height, x, y;
  } const cases[] = {
      {"magenta_key", 0xFF00FF, 0, 0, 23, 17, 5, 4},
      {"green_key_source_offset", 0x00FF00, 3, 2, 15, 11, 0, 0},
      {"black_key", 0x000000, 1, 1, 20, 14, 9, 7},
      {"white_key", 0xFFFFFF, 0, 0, 23, 17, 2, 3},
      {"off_left_and_top_edge", 0xFF00FF, 0, 0, 23, 17, -6, -5},
      {"off_right_and_bottom_edge", 0x80FFFF, 0, 0, 23, 17, 30, 20},
  };
  const Way ways[] = {Way::kTransparentBlt, Way::kDrawTransparentBitmap, Way::kTransparentDrawBlt,
                      Way::kTransparentDrawMask};
  const char* way_names[] = {"transparent_blt", "draw_transparent_bitmap", "transparent_draw_blt",
                             "transparent_draw_mask"};
  for (const Case& c : cases) {
    const Surface source = SourcePicture(23, 17, c.key);
    const Surface destination = DestinationPicture(40, 30);
    const Surface expected =
        Expected(source, c.source_x, c.source_y, c.width, c.height, destination, c.x, c.y, c.key);
    for (int way = 0; way < 4; ++way) {
      MemoryPicture from(source);
      MemoryPicture to(destination);
      DrawWith(ways[way], from.dc, c.source_x, c.source_y, c.width, c.height, to.dc, c.x, c.y, c.key);
      EXPECT_TRUE(SamePicture(to.picture(), expected, std::string(c.name) + "_" + way_names[way]));
      EXPECT_TRUE(SamePicture(from.picture(), source, std::string(c.name) + "_" + way_names[way] + "_source"));
    }
  }
}

TEST(TransparentDrawTest, mask_method_draws_only_within_the_reserved_size) {
  const COLORREF key = 0xFF00FF;
  const Surface source = SourcePicture(60, 60, key);
  const Surface destination = DestinationPicture(80, 80);
  struct Case {
    const char* name;
    TransparentDraw::Method method;
    int32_t reserve_width[2], reserve_height[2];
    int32_t width, height;
    bool draws;
  } const cases[] = {
      {"60x40_after_50x40", TransparentDraw::Method::kMask, {50, 0}, {40, 0}, 60, 40, false},
      {"50x41_after_50x40", TransparentDraw::Method::kMask, {50, 0}, {40, 0}, 50, 41, false},
      {"nothing_reserved", TransparentDraw::Method::kMask, {0, 0}, {0, 0}, 10, 10, false},
      {"grows_each_side_alone", TransparentDraw::Method::kMask, {50, 30}, {40, 60}, 50, 60, true},
      {"never_shrinks", TransparentDraw::Method::kMask, {60, 10}, {40, 10}, 60, 40, true},
      {"transparent_blt_ignores_reservation", TransparentDraw::Method::kTransparentBlt, {0, 0}, {0, 0}, 60, 40,
       true},
  };
  for (const Case& c : cases) {
    MemoryPicture from(source);
    MemoryPicture to(destination);
    TransparentDraw drawer(c.method);
    drawer.Reserve(c.reserve_width[0], c.reserve_height[0]);
    drawer.Reserve(c.reserve_width[1], c.reserve_height[1]);
    drawer.Draw(from.dc, 0, 0, c.width, c.height, to.dc, 7, 9, key);
    const Surface expected =
        c.draws ? Expected(source, 0, 0, c.width, c.height, destination, 7, 9, key) : destination;
    EXPECT_TRUE(SamePicture(to.picture(), expected, c.name));
  }
}

}  // namespace
