#include "cclient/widgets/bmp_reader.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "tests/cclient/widgets/image_fixtures.h"
#include "tests/support/temp_program_folder.h"

namespace {

using BmpReaderTest = ProgramFolderTest;

BmpFixture Bmp24(int32_t width, int32_t height) {
  BmpFixture bmp;
  bmp.width = width;
  bmp.height = height;
  bmp.bits = 24;
  bmp.rows = PatternRows(width, height, 24);
  return bmp;
}

BmpFixture Bmp8(int32_t width, int32_t height) {
  BmpFixture bmp;
  bmp.width = width;
  bmp.height = height;
  bmp.bits = 8;
  bmp.with_palette = true;
  bmp.palette = PatternPalette();
  bmp.rows = PatternRows(width, height, 8);
  return bmp;
}

// The palette as callers get it: red, green, blue per entry, each of the file's values >> 2.
std::vector<uint8_t> ExpectedPalette() {
  std::vector<uint8_t> palette(768);
  for (int i = 0; i < 256; ++i) {
    palette[i * 3 + 0] = static_cast<uint8_t>((i ^ 0x5A) >> 2);
    palette[i * 3 + 1] = static_cast<uint8_t>((255 - i) >> 2);
    palette[i * 3 + 2] = static_cast<uint8_t>(i >> 2);
  }
  return palette;
}

TEST_F(BmpReaderTest, load_bmp_reads_rows_in_file_order_without_padding) {
  struct Case {
    const char* name;
    BmpFixture bmp;
  } const cases[] = {
      {"24_bit_width_4_no_pad", Bmp24(4, 3)},
      {"24_bit_width_5_pad_1", Bmp24(5, 3)},
      {"24_bit_width_3_pad_3", Bmp24(3, 2)},
      {"8_bit_width_3_pad_1", Bmp8(3, 2)},
      {"8_bit_width_4_no_pad", Bmp8(4, 2)},
      {"8_bit_width_5_pad_3", Bmp8(5, 3)},
  };
  for (const Case& c : cases) {
    folder_.WriteFile("pic.b", c.bmp.Bytes());
    int32_t width = -1, height = -1, bits = -1;
    uint8_t* pixels = nullptr;
    ASSERT_EQ(LoadBmp("pic.b", &width, &height, &bits, &pixels), LOADBMP_OK) << c.name;
    EXPECT_EQ(width, c.bmp.width) << c.name;
    EXPECT_EQ(height, c.bmp.height) << c.name;
    EXPECT_EQ(bits, c.bmp.bits) << c.name;
    ASSERT_NE(pixels, nullptr) << c.name;
    EXPECT_EQ(std::vector<uint8_t>(pixels, pixels + c.bmp.rows.size()), c.bmp.rows) << c.name;
    FreeBmp(&pixels);
    EXPECT_EQ(pixels, nullptr) << c.name;
  }
}

TEST_F(BmpReaderTest, read_pixels_codes) {
  BmpFixture wrong_offset = Bmp8(4, 2);
  wrong_offset.data_offset = 1074;  // the palette is complete, the offset is not 1078
  BmpFixture short_pixels = Bmp24(5, 3);
  short_pixels.rows.resize(short_pixels.rows.size() - 15);  // the last row is missing
  BmpFixture short_palette = Bmp8(4, 2);
  BmpFixture bmp16 = Bmp24(4, 2);
  bmp16.bits = 16;
  bmp16.rows = PatternRows(4, 2, 16);
  BmpFixture bmp32 = Bmp24(4, 2);
  bmp32.bits = 32;
  bmp32.rows = PatternRows(4, 2, 32);
  BmpFixture rle8 = Bmp8(4, 2);
  rle8.compression = 1;
  BmpFixture large_header_24 = Bmp24(4, 2);
  large_header_24.data_offset = 138;  // pixels after a 124-byte information header
  BmpFixture top_down = Bmp24(4, 2);
  top_down.height = -2;

  struct Case {
    const char* name;
    std::string bytes;
    bool want_pixels;
    bool want_palette;
    int32_t width, height, bits;
    int expected;
  } const cases[] = {
      {"missing_file", "", true, false, 4, 2, 24, BMP_OPEN_FAILED},
      {"40_byte_file", Bmp24(4, 2).Bytes().substr(0, 40), true, false, 4, 2, 24, BMP_SHORT_HEADER},
      {"8_bit_offset_not_1078", wrong_offset.Bytes(), true, false, 4, 2, 8, BMP_BAD_DATA_OFFSET},
      {"8_bit_palette_cut", short_palette.Bytes().substr(0, 54 + 1000), true, false, 4, 2, 8, BMP_SHORT_PALETTE},
      {"width_differs", Bmp24(4, 2).Bytes(), true, false, 5, 2, 24, BMP_SIZE_MISMATCH},
      {"height_differs", Bmp24(4, 2).Bytes(), true, false, 4, 3, 24, BMP_SIZE_MISMATCH},
      {"pixels_cut", short_pixels.Bytes(), true, false, 5, 3, 24, BMP_SHORT_PIXELS},
      {"caller_says_24_of_8_bit", Bmp8(4, 2).Bytes(), true, false, 4, 2, 24, BMP_UNSUPPORTED},
      {"caller_says_8_of_24_bit", Bmp24(4, 2).Bytes(), true, false, 4, 2, 8, BMP_UNSUPPORTED},
      {"16_bit", bmp16.Bytes(), true, false, 4, 2, 16, BMP_UNSUPPORTED},
      {"32_bit", bmp32.Bytes(), true, false, 4, 2, 32, BMP_UNSUPPORTED},
      {"palette_of_24_bit", Bmp24(4, 2).Bytes(), true, true, 4, 2, 24, BMP_PALETTE_OF_24_BIT},
      {"rle8_compressed", rle8.Bytes(), true, false, 4, 2, 8, BMP_UNSUPPORTED},
      {"24_bit_pixels_not_after_header", large_header_24.Bytes(), true, false, 4, 2, 24, BMP_BAD_DATA_OFFSET},
      {"top_down_rows", top_down.Bytes(), true, false, 4, -2, 24, BMP_SIZE_REFUSED},
      {"height_0_reads_nothing", Bmp24(4, 0).Bytes(), true, false, 4, 0, 24, BMP_OK},
  };
  for (const Case& c : cases) {
    if (!c.bytes.empty()) folder_.WriteFile("pic.b", c.bytes);
    std::vector<uint8_t> pixels(64, 0);
    std::vector<uint8_t> palette(768, 0);
    EXPECT_EQ(ReadBmpPixels(c.bytes.empty() ? "absent.b" : "pic.b", c.want_pixels ? pixels.data() : nullptr,
                            c.want_palette ? palette.data() : nullptr, c.width, c.height, c.bits),
              c.expected)
        << c.name;
  }
}

TEST_F(BmpReaderTest, palette_without_pixels_is_read_and_scaled) {
  folder_.WriteFile("pic.b", Bmp8(3, 2).Bytes());
  std::vector<uint8_t> palette(768, 0);
  // The sizes do not matter when no pixels are asked for.
  ASSERT_EQ(ReadBmpPixels("pic.b", nullptr, palette.data(), 99, 99, 8), BMP_OK);
  EXPECT_EQ(palette, ExpectedPalette());

  std::vector<uint8_t> pixels(6, 0);
  palette.assign(768, 0);
  ASSERT_EQ(ReadBmpPixels("pic.b", pixels.data(), palette.data(), 3, 2, 8), BMP_OK);
  EXPECT_EQ(palette, ExpectedPalette());
  EXPECT_EQ(pixels, PatternRows(3, 2, 8));
}

TEST_F(BmpReaderTest, read_header_takes_offsets_18_22_28) {
  folder_.WriteFile("pic.b", Bmp8(7, 3).Bytes());
  int32_t width = 0, height = 0, bits = 0;
  ASSERT_EQ(ReadBmpHeader("pic.b", &width, &height, &bits), BMP_OK);
  EXPECT_EQ(width, 7);
  EXPECT_EQ(height, 3);
  EXPECT_EQ(bits, 8);
}

// Sizes that overflow 32-bit arithmetic, or would claim gigabytes, are refused before anything is
// allocated; a picture at the bound is read as usual.
TEST_F(BmpReaderTest, load_bmp_failures_leave_no_block) {
  BmpFixture bmp16 = Bmp24(4, 2);
  bmp16.bits = 16;
  bmp16.rows = PatternRows(4, 2, 16);
  BmpFixture overflowing = Bmp24(4, 2);
  overflowing.width = 0x7FFFFFFF;
  BmpFixture overflowing_product = Bmp24(4, 2);
  overflowing_product.width = 65536;
  overflowing_product.height = 65536;  // 65536 x 65536 x 3 wraps to 0 in 32 bits
  BmpFixture beyond_bound = Bmp24(4, 2);
  beyond_bound.width = kBmpMaxSide + 1;
  beyond_bound.height = 1;
  BmpFixture negative_width = Bmp24(4, 2);
  negative_width.width = -4;
  BmpFixture top_down = Bmp24(4, 2);
  top_down.height = -2;
  BmpFixture empty = Bmp24(0, 0);
  BmpFixture cut = Bmp24(5, 3);
  cut.rows.resize(20);

  struct Case {
    const char* name;
    std::string bytes;
    int expected;
  } const cases[] = {
      {"missing_file", "", LOADBMP_NO_HEADER},
      {"40_byte_file", Bmp24(4, 2).Bytes().substr(0, 40), LOADBMP_NO_HEADER},
      {"16_bit", bmp16.Bytes(), LOADBMP_NO_PIXELS},
      {"pixels_cut", cut.Bytes(), LOADBMP_NO_PIXELS},
      {"width_0x7fffffff", overflowing.Bytes(), LOADBMP_NO_MEMORY},
      {"65536_squared", overflowing_product.Bytes(), LOADBMP_NO_MEMORY},
      {"wider_than_bound", beyond_bound.Bytes(), LOADBMP_NO_MEMORY},
      {"negative_width", negative_width.Bytes(), LOADBMP_NO_MEMORY},
      {"top_down", top_down.Bytes(), LOADBMP_NO_MEMORY},
      {"empty_picture", empty.Bytes(), LOADBMP_NO_MEMORY},
  };
  for (const Case& c : cases) {
    if (!c.bytes.empty()) folder_.WriteFile("pic.b", c.bytes);
    int32_t width = 0, height = 0, bits = 0;
    uint8_t sentinel = 0;
    uint8_t* pixels = &sentinel;
    EXPECT_EQ(LoadBmp(c.bytes.empty() ? "absent.b" : "pic.b", &width, &height, &bits, &pixels), c.expected)
        << c.name;
    EXPECT_EQ(pixels, nullptr) << c.name;
  }
}

}  // namespace
