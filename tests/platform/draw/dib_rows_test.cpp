#include <gtest/gtest.h>

#include "platform/draw/gdi.h"
#include "tests/platform/draw/memory_picture.h"
#include "tests/platform/draw/picture_compare.h"

using namespace platform;

namespace {

// A 3 x 2 picture: top row red, green, blue; bottom row white, black, grey.
const std::map<char, COLORREF> kPalette = {{'r', RGB(255, 0, 0)}, {'g', RGB(0, 255, 0)}, {'b', RGB(0, 0, 255)},
                                           {'w', RGB(255, 255, 255)}, {'k', RGB(0, 0, 0)},
                                           {'y', RGB(128, 128, 128)}, {'.', RGB(9, 9, 9)}};

// Rows of 3 pixels padded to 12 bytes; the padding is filled with junk that must be skipped.
const uint8_t kTopRow[12] = {0, 0, 255, 0, 255, 0, 255, 0, 0, 0xAA, 0xBB, 0xCC};
const uint8_t kBottomRow[12] = {255, 255, 255, 0, 0, 0, 128, 128, 128, 0xAA, 0xBB, 0xCC};

std::vector<uint8_t> Block(bool bottom_up) {
  std::vector<uint8_t> block;
  const uint8_t* first = bottom_up ? kBottomRow : kTopRow;
  const uint8_t* second = bottom_up ? kTopRow : kBottomRow;
  block.insert(block.end(), first, first + 12);
  block.insert(block.end(), second, second + 12);
  return block;
}

BITMAPINFO Header(int32_t width, int32_t height) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 24;
  info.bmiHeader.biCompression = BI_RGB;
  return info;
}

TEST(DibRows, bitmaps_made_from_bottom_up_and_top_down_rows_are_the_same_picture) {
  const Surface expected = PictureFromRows({"rgb", "wky"}, kPalette);
  for (const bool bottom_up : {true, false}) {
    const std::vector<uint8_t> block = Block(bottom_up);
    const BITMAPINFO info = Header(3, bottom_up ? 2 : -2);
    HBITMAP bitmap = CreateDIBitmap(nullptr, &info.bmiHeader, CBM_INIT, block.data(), &info, DIB_RGB_COLORS);
    ASSERT_NE(bitmap, nullptr);
    EXPECT_TRUE(SamePicture(*GetBitmapSurface(bitmap), expected, bottom_up ? "dib_bottom_up" : "dib_top_down"));
    DeleteObject(bitmap);
  }
}

TEST(DibRows, rows_set_into_a_selected_bitmap_show_through_its_context) {
  MemoryPicture picture(4, 3);
  const RECT all{0, 0, 4, 3};
  HBRUSH fill = CreateSolidBrush(RGB(9, 9, 9));
  FillRect(picture.dc, &all, fill);
  DeleteObject(fill);
  // A bottom-up block shorter and narrower than the bitmap lands on its top-left corner.
  const std::vector<uint8_t> block = Block(true);
  const BITMAPINFO info = Header(3, 2);
  EXPECT_EQ(SetDIBits(picture.dc, picture.bitmap, 0, 2, block.data(), &info, DIB_RGB_COLORS), 2);
  EXPECT_TRUE(SamePicture(picture.picture(), PictureFromRows({"rgb.", "wky.", "...."}, kPalette), "set_dibits"));
  EXPECT_EQ(GetPixel(picture.dc, 2, 1), RGB(128, 128, 128));
  EXPECT_EQ(GetPixel(picture.dc, 4, 0), CLR_INVALID);
  EXPECT_EQ(GetPixel(picture.dc, -1, 0), CLR_INVALID);

  // Only scan line 1 of a bottom-up block (its top row) given on its own.
  MemoryPicture second(3, 2);
  EXPECT_EQ(SetDIBits(second.dc, second.bitmap, 1, 1, kTopRow, &info, DIB_RGB_COLORS), 1);
  EXPECT_EQ(GetPixel(second.dc, 0, 0), RGB(255, 0, 0));
  EXPECT_EQ(GetPixel(second.dc, 0, 1), RGB(0, 0, 0));
}

TEST(DibRows, rows_drawn_onto_a_context_clip_at_its_edges) {
  struct Case {
    const char* name;
    bool bottom_up;
    int32_t x, y;
    std::vector<std::string> expected;
  } const cases[] = {
      {"top_down_inside", false, 1, 1, {"....", ".rgb", ".wky"}},
      {"bottom_up_inside", true, 1, 1, {"....", ".rgb", ".wky"}},
      {"negative_origin", true, -1, -1, {"ky..", "....", "...."}},
      {"past_the_right", false, 2, 0, {"..rg", "..wk", "...."}},
  };
  for (const Case& c : cases) {
    MemoryPicture picture(4, 3);
    const RECT all{0, 0, 4, 3};
    HBRUSH fill = CreateSolidBrush(RGB(9, 9, 9));
    FillRect(picture.dc, &all, fill);
    DeleteObject(fill);
    const std::vector<uint8_t> block = Block(c.bottom_up);
    const BITMAPINFO info = Header(3, c.bottom_up ? 2 : -2);
    EXPECT_EQ(SetDIBitsToDevice(picture.dc, c.x, c.y, 3, 2, 0, 0, 0, 2, block.data(), &info, DIB_RGB_COLORS), 2);
    EXPECT_TRUE(SamePicture(picture.picture(), PictureFromRows(c.expected, kPalette), std::string("to_device_") + c.name));
  }
}

TEST(DibRows, rows_read_out_match_the_rows_put_in_with_zero_padding) {
  const std::vector<uint8_t> block = Block(true);
  BITMAPINFO info = Header(3, 2);
  HBITMAP bitmap = CreateDIBitmap(nullptr, &info.bmiHeader, CBM_INIT, block.data(), &info, DIB_RGB_COLORS);
  std::vector<uint8_t> out(24, 0x55);
  EXPECT_EQ(GetDIBits(nullptr, bitmap, 0, 2, out.data(), &info, DIB_RGB_COLORS), 2);
  std::vector<uint8_t> expected = block;
  for (const size_t pad : {9, 10, 11, 21, 22, 23}) expected[pad] = 0;
  EXPECT_EQ(out, expected);
  DeleteObject(bitmap);
}

TEST(DibRows, unsupported_row_formats_are_refused) {
  const std::vector<uint8_t> block = Block(true);
  struct Case {
    const char* name;
    BITMAPINFO info;
  } cases[] = {{"32_bits", Header(3, 2)}, {"compressed", Header(3, 2)}, {"zero_height", Header(3, 0)},
               {"huge", Header(1 << 20, 2)}, {"lowest_height", Header(3, INT32_MIN)}};
  cases[0].info.bmiHeader.biBitCount = 32;
  cases[1].info.bmiHeader.biCompression = 1;
  for (const Case& c : cases) {
    EXPECT_EQ(CreateDIBitmap(nullptr, &c.info.bmiHeader, CBM_INIT, block.data(), &c.info, DIB_RGB_COLORS), nullptr)
        << c.name;
  }
}

}  // namespace
