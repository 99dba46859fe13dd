#include <gtest/gtest.h>

#include <cstdio>
#include <iterator>
#include <random>
#include <string>

#include "platform/draw/gdi.h"
#include "tests/platform/draw/memory_picture.h"
#include "tests/platform/draw/picture_compare.h"

using namespace platform;

namespace {

constexpr COLORREF kKey = RGB(255, 0, 255);
constexpr COLORREF kBlack = RGB(0, 0, 0);
constexpr COLORREF kWhite = RGB(255, 255, 255);

TEST(BitBlt, raster_operations_follow_their_truth_tables) {
  const std::map<char, COLORREF> palette = {
      {'0', 0x000000}, {'f', 0xFFFFFF}, {'a', 0x0F0F0F}, {'b', 0x123456}, {'c', 0x3C3C3C}, {'g', 0x00FF00},
      {'d', 0x0C0C0C}, {'e', 0x003400}, {'h', 0x3F3F3F}, {'i', 0x12FF56}, {'j', 0xC3C3C3}, {'k', 0xFF00FF},
  };
  const Surface destination = PictureFromRows({"0f", "ab"}, palette);
  const Surface source = PictureFromRows({"f0", "cg"}, palette);
  struct Case {
    const char* name;
    uint32_t operation;
    std::vector<std::string> expected;
  } const cases[] = {
      {"srccopy", SRCCOPY, {"f0", "cg"}},
      {"srcand", SRCAND, {"00", "de"}},
      {"srcpaint", SRCPAINT, {"ff", "hi"}},
      {"notsrccopy", NOTSRCCOPY, {"0f", "jk"}},
  };
  MemoryPicture from(source);
  for (const Case& c : cases) {
    MemoryPicture to(destination);
    ASSERT_TRUE(BitBlt(to.dc, 0, 0, 2, 2, from.dc, 0, 0, c.operation));
    EXPECT_TRUE(SamePicture(to.picture(), PictureFromRows(c.expected, palette), std::string("rop_") + c.name));
  }
  MemoryPicture to(destination);
  EXPECT_FALSE(BitBlt(to.dc, 0, 0, 2, 2, from.dc, 0, 0, 0x00990066));
}

TEST(BitBlt, colour_to_monochrome_keys_on_the_source_background_colour) {
  // The near-key pixel differs from the key in one bit of blue and must stay black.
  const Surface source = PictureFromRows({"kx", "nk"}, {{'k', kKey}, {'x', kWhite}, {'n', RGB(255, 0, 254)}});
  MemoryPicture colour(source);
  MemoryPicture mask(2, 2, true);
  SetBkColor(colour.dc, kKey);
  ASSERT_TRUE(BitBlt(mask.dc, 0, 0, 2, 2, colour.dc, 0, 0, SRCCOPY));
  EXPECT_EQ(GetPixel(mask.dc, 0, 0), kWhite);
  EXPECT_EQ(GetPixel(mask.dc, 1, 0), kBlack);
  EXPECT_EQ(GetPixel(mask.dc, 0, 1), kBlack);
  EXPECT_EQ(GetPixel(mask.dc, 1, 1), kWhite);
}

TEST(BitBlt, monochrome_to_colour_uses_the_destination_text_and_background_colours) {
  MemoryPicture mask(2, 1, true);
  const RECT right_half{1, 0, 2, 1};
  FillRect(mask.dc, &right_half, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  MemoryPicture colour(2, 1);
  SetTextColor(colour.dc, RGB(10, 20, 30));
  SetBkColor(colour.dc, RGB(200, 100, 50));
  ASSERT_TRUE(BitBlt(colour.dc, 0, 0, 2, 1, mask.dc, 0, 0, SRCCOPY));
  EXPECT_EQ(GetPixel(colour.dc, 0, 0), RGB(10, 20, 30));
  EXPECT_EQ(GetPixel(colour.dc, 1, 0), RGB(200, 100, 50));
}

// A sprite of random colours in which roughly a third of the pixels are the key.
Surface RandomSprite(int32_t width, int32_t height, uint32_t seed) {
  std::mt19937 random(seed);
  Surface s(width, height);
  for (int32_t y = 0; y < height; ++y) {
    for (int32_t x = 0; x < width; ++x) {
      const COLORREF c = random() % 3 == 0 ? kKey : (random() & 0xFFFFFF);
      uint8_t* p = s.Row(y) + x * 3;
      p[0] = GetBValue(c);
      p[1] = GetGValue(c);
      p[2] = GetRValue(c);
    }
  }
  return s;
}

// What a keyed copy must give: the sprite's pixels except its key pixels, over the background,
// only where the destination exists.
Surface KeyedCopy(const Surface& background, const Surface& sprite, int32_t at_x, int32_t at_y) {
  Surface out = background;
  for (int32_t y = 0; y < sprite.height; ++y) {
    for (int32_t x = 0; x < sprite.width; ++x) {
      const int32_t dx = at_x + x;
      const int32_t dy = at_y + y;
      if (dx < 0 || dy < 0 || dx >= out.width || dy >= out.height || PixelOf(sprite, x, y) == kKey) continue;
      std::copy_n(sprite.Row(y) + x * 3, 3, out.Row(dy) + dx * 3);
    }
  }
  return out;
}

// The four-step mask method, as the program's transparent drawing runs it.
void MaskMethod(HDC destination, int32_t x, int32_t y, int32_t width, int32_t height, HDC source, COLORREF key) {
  MemoryPicture copy(width, height), work(width, height);
  MemoryPicture back_mask(width, height, true), object_mask(width, height, true);
  SetMapMode(source, GetMapMode(destination));
  BitBlt(copy.dc, 0, 0, width, height, source, 0, 0, SRCCOPY);
  const COLORREF old_background = SetBkColor(copy.dc, key);
  BitBlt(object_mask.dc, 0, 0, width, height, copy.dc, 0, 0, SRCCOPY);
  SetBkColor(copy.dc, old_background);
  BitBlt(back_mask.dc, 0, 0, width, height, object_mask.dc, 0, 0, NOTSRCCOPY);
  BitBlt(work.dc, 0, 0, width, height, destination, x, y, SRCCOPY);
  BitBlt(work.dc, 0, 0, width, height, object_mask.dc, 0, 0, SRCAND);
  BitBlt(copy.dc, 0, 0, width, height, back_mask.dc, 0, 0, SRCAND);
  BitBlt(work.dc, 0, 0, width, height, copy.dc, 0, 0, SRCPAINT);
  BitBlt(destination, x, y, width, height, work.dc, 0, 0, SRCCOPY);
}

TEST(TransparentDrawing, mask_method_and_transparent_blt_both_equal_a_keyed_copy) {
  const uint32_t seed = std::random_device{}();
  SCOPED_TRACE("seed " + std::to_string(seed));
  const Surface sprite = RandomSprite(13, 9, seed);
  const Surface background = RandomSprite(20, 15, seed + 1);
  struct Case {
    const char* name;
    int32_t x, y;
  } const cases[] = {{"inside", 4, 3}, {"top_left_outside", -3, -2}, {"bottom_right_outside", 12, 10}};
  MemoryPicture source(sprite);
  for (const Case& c : cases) {
    const Surface expected = KeyedCopy(background, sprite, c.x, c.y);
    MemoryPicture by_mask(background);
    MaskMethod(by_mask.dc, c.x, c.y, sprite.width, sprite.height, source.dc, kKey);
    EXPECT_TRUE(SamePicture(by_mask.picture(), expected, std::string("mask_method_") + c.name));
    MemoryPicture by_transparent_blt(background);
    ASSERT_TRUE(TransparentBlt(by_transparent_blt.dc, c.x, c.y, sprite.width, sprite.height, source.dc, 0, 0,
                               sprite.width, sprite.height, kKey));
    EXPECT_TRUE(SamePicture(by_transparent_blt.picture(), expected, std::string("transparent_blt_") + c.name));
  }
}

// Colours one byte away from the key, in each channel, beside the key itself, in sprites of every
// width up to 40 pixels: the copy decides pixel by pixel, also where several pixels are decided
// at a time and in the pixels left over at a row's end.
TEST(TransparentDrawing, near_key_colours_are_copied_at_every_width) {
  const COLORREF near_key[] = {kKey, RGB(254, 0, 255), RGB(255, 1, 255), RGB(255, 0, 254), RGB(0, 0, 255),
                               RGB(255, 0, 0), RGB(0, 255, 0), kKey};
  const uint32_t seed = std::random_device{}();
  SCOPED_TRACE("seed " + std::to_string(seed));
  std::mt19937 random(seed);
  for (int32_t width = 1; width <= 40; ++width) {
    SCOPED_TRACE("width " + std::to_string(width));
    Surface sprite(width, 3);
    for (int32_t y = 0; y < sprite.height; ++y) {
      for (int32_t x = 0; x < width; ++x) {
        const COLORREF c = near_key[random() % std::size(near_key)];
        uint8_t* p = sprite.Row(y) + x * 3;
        p[0] = GetBValue(c);
        p[1] = GetGValue(c);
        p[2] = GetRValue(c);
      }
    }
    const Surface background = RandomSprite(width + 4, 5, seed + static_cast<uint32_t>(width));
    MemoryPicture source(sprite);
    MemoryPicture by_transparent_blt(background);
    ASSERT_TRUE(TransparentBlt(by_transparent_blt.dc, 1, 1, width, sprite.height, source.dc, 0, 0, width,
                               sprite.height, kKey));
    EXPECT_TRUE(SamePicture(by_transparent_blt.picture(), KeyedCopy(background, sprite, 1, 1),
                            "near_key_width_" + std::to_string(width)));
  }
}

TEST(TransparentDrawing, transparent_blt_refuses_stretching) {
  MemoryPicture source(4, 4), destination(8, 8);
  EXPECT_FALSE(TransparentBlt(destination.dc, 0, 0, 8, 8, source.dc, 0, 0, 4, 4, kKey));
}

// Where a plain copy must land: each destination pixel that has a source pixel inside the source
// picture takes it; all others keep the background.
Surface PlainCopy(const Surface& background, const Surface& source, int32_t x, int32_t y, int32_t width,
                  int32_t height, int32_t source_x, int32_t source_y) {
  Surface out = background;
  for (int32_t row = 0; row < height; ++row) {
    for (int32_t column = 0; column < width; ++column) {
      const int32_t sx = source_x + column, sy = source_y + row, dx = x + column, dy = y + row;
      if (sx < 0 || sy < 0 || sx >= source.width || sy >= source.height) continue;
      if (dx < 0 || dy < 0 || dx >= out.width || dy >= out.height) continue;
      std::copy_n(source.Row(sy) + sx * 3, 3, out.Row(dy) + dx * 3);
    }
  }
  return out;
}

TEST(BitBlt, copies_clip_to_source_and_destination_on_every_edge) {
  const Surface source = RandomSprite(4, 4, 7);
  const Surface background = RandomSprite(6, 6, 8);
  struct Case {
    const char* name;
    int32_t x, y, width, height, source_x, source_y;
  } const cases[] = {
      {"left_top", -2, -2, 4, 4, 0, 0},          {"right_bottom", 4, 4, 4, 4, 0, 0},
      {"left_bottom", -2, 3, 4, 4, 0, 0},        {"right_top", 3, -2, 4, 4, 0, 0},
      {"negative_source", 1, 1, 4, 4, -1, -2},   {"beyond_source", 0, 0, 6, 6, 2, 1},
      {"all_outside", -10, 2, 4, 4, 0, 0},       {"source_all_outside", 0, 0, 4, 4, 5, 0},
      {"larger_than_both", -3, -3, 20, 20, -5, -5},
  };
  MemoryPicture from(source);
  for (const Case& c : cases) {
    MemoryPicture to(background);
    ASSERT_TRUE(BitBlt(to.dc, c.x, c.y, c.width, c.height, from.dc, c.source_x, c.source_y, SRCCOPY));
    EXPECT_TRUE(SamePicture(to.picture(),
                            PlainCopy(background, source, c.x, c.y, c.width, c.height, c.source_x, c.source_y),
                            std::string("clip_") + c.name));
  }
  // Arguments at the ends of the 32-bit range clip without overflowing.
  MemoryPicture wild(background);
  EXPECT_TRUE(BitBlt(wild.dc, INT32_MAX - 1, INT32_MIN, INT32_MAX, INT32_MAX, from.dc, INT32_MIN, 0, SRCCOPY));
  EXPECT_TRUE(SamePicture(wild.picture(), background, "clip_wild_nothing"));
  EXPECT_TRUE(BitBlt(wild.dc, -2147483000, 0, INT32_MAX, 4, from.dc, -2147483000, 0, SRCCOPY));
  EXPECT_TRUE(SamePicture(wild.picture(), PlainCopy(background, source, 0, 0, 4, 4, 0, 0), "clip_wild_far_origin"));
}

TEST(BitBlt, overlapping_copy_within_one_picture_reads_the_picture_as_it_was) {
  const Surface start = RandomSprite(8, 8, 3);
  for (const int32_t shift : {1, -1}) {
    MemoryPicture picture(start);
    ASSERT_TRUE(BitBlt(picture.dc, shift, shift, 8, 8, picture.dc, 0, 0, SRCCOPY));
    EXPECT_TRUE(SamePicture(picture.picture(), PlainCopy(start, start, shift, shift, 8, 8, 0, 0),
                            "overlap_" + std::to_string(shift)));
  }
}

}  // namespace
