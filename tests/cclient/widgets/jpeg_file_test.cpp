#include "cclient/widgets/jpeg_file.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "tests/cclient/widgets/image_fixtures.h"
#include "tests/support/temp_program_folder.h"

namespace {

using JpegFileTest = ProgramFolderTest;

constexpr int32_t kWidth = 16;
constexpr int32_t kHeight = 16;

// Top half red, bottom half blue, as red, green, blue rows top-down.
std::vector<uint8_t> RedOverBlue() {
  std::vector<uint8_t> pixels(kWidth * kHeight * 3, 0);
  for (int32_t y = 0; y < kHeight; ++y)
    for (int32_t x = 0; x < kWidth; ++x) pixels[(y * kWidth + x) * 3 + (y < kHeight / 2 ? 0 : 2)] = 255;
  return pixels;
}

std::string ColourJpeg() { return EncodeJpeg(JpegKind::kColour, kWidth, kHeight, RedOverBlue(), 95); }

// The file with its frame header saying `width` x `height`.
std::string WithFrameSize(std::string jpeg, uint16_t width, uint16_t height) {
  const size_t frame = jpeg.find("\xFF\xC0");
  EXPECT_NE(frame, std::string::npos);
  // Marker, length (2), precision (1), then height and width, big-endian.
  jpeg[frame + 5] = static_cast<char>(height >> 8);
  jpeg[frame + 6] = static_cast<char>(height);
  jpeg[frame + 7] = static_cast<char>(width >> 8);
  jpeg[frame + 8] = static_cast<char>(width);
  return jpeg;
}

TEST_F(JpegFileTest, decodes_rgb_rows_top_down_as_the_library_does) {
  const std::string jpeg = ColourJpeg();
  const std::string with_trailing_junk = jpeg + "trailing junk after the end of image";
  int32_t reference_width = 0, reference_height = 0;
  const std::vector<uint8_t> reference = ReferenceDecode(jpeg, &reference_width, &reference_height);
  ASSERT_EQ(reference.size(), static_cast<size_t>(kWidth * kHeight * 3));

  for (const std::string* bytes : {&jpeg, &with_trailing_junk}) {
    folder_.WriteFile("pic.a", *bytes);
    int32_t width = 0, height = 0, bits = 0;
    uint8_t* buffer = nullptr;
    ASSERT_EQ(DecodeJpegFile("pic.a", &width, &height, &bits, &buffer), nullptr);
    ASSERT_NE(buffer, nullptr);
    EXPECT_EQ(width, kWidth);
    EXPECT_EQ(height, kHeight);
    EXPECT_EQ(bits, 24);
    EXPECT_EQ(std::vector<uint8_t>(buffer, buffer + reference.size()), reference);
    // First row red, last row blue, in red, green, blue order.
    EXPECT_GT(buffer[0], 230);
    EXPECT_LT(buffer[2], 25);
    const uint8_t* last_row = buffer + (kHeight - 1) * kWidth * 3;
    EXPECT_LT(last_row[0], 25);
    EXPECT_GT(last_row[2], 230);
    FreeDecodedImage(&buffer);
    EXPECT_EQ(buffer, nullptr);
  }
}

TEST_F(JpegFileTest, a_grey_picture_loads_as_rgb_with_equal_channels) {
  // Left half dark, right half light.
  std::vector<uint8_t> grey(kWidth * kHeight);
  for (int32_t y = 0; y < kHeight; ++y)
    for (int32_t x = 0; x < kWidth; ++x) grey[y * kWidth + x] = x < kWidth / 2 ? 0x20 : 0xE0;
  folder_.WriteFile("grey.a", EncodeJpeg(JpegKind::kGrey, kWidth, kHeight, grey, 95));

  int32_t width = 0, height = 0, bits = 0;
  uint8_t* buffer = nullptr;
  ASSERT_EQ(DecodeJpegFile("grey.a", &width, &height, &bits, &buffer), nullptr);
  ASSERT_NE(buffer, nullptr);
  EXPECT_EQ(width, kWidth);
  EXPECT_EQ(height, kHeight);
  EXPECT_EQ(bits, 24);
  for (int32_t y = 0; y < kHeight; ++y) {
    for (int32_t x : {0, kWidth - 1}) {
      const uint8_t* pixel = buffer + (y * kWidth + x) * 3;
      EXPECT_EQ(pixel[0], pixel[1]) << x << "," << y;
      EXPECT_EQ(pixel[1], pixel[2]) << x << "," << y;
      EXPECT_NEAR(pixel[0], x == 0 ? 0x20 : 0xE0, 8) << x << "," << y;
    }
  }
  FreeDecodedImage(&buffer);
}

TEST_F(JpegFileTest, refusals_leave_no_buffer) {
  const std::string jpeg = ColourJpeg();
  const size_t end_of_image = jpeg.rfind("\xFF\xD9");
  ASSERT_NE(end_of_image, std::string::npos);
  const size_t scan = jpeg.find("\xFF\xDA");
  ASSERT_NE(scan, std::string::npos);
  std::vector<uint8_t> cmyk(kWidth * kHeight * 4, 0x40);

  struct Case {
    const char* name;
    std::string bytes;  // empty with `missing` set: no file at all
    bool missing;
    const char* expected;
  } const cases[] = {
      {"missing_file", "", true, "Unable in open input file."},
      {"empty_file", "", false, "Error decoding file"},
      {"not_a_jpeg", "BM this is no picture at all", false, "Error decoding file"},
      {"cut_inside_headers", jpeg.substr(0, scan - 20), false, "Error decoding file"},
      {"cut_inside_scan", jpeg.substr(0, end_of_image - 40), false, "Warnings occured during decompression"},
      {"junk_before_end_marker",
       jpeg.substr(0, end_of_image) + std::string(100, 'j') + jpeg.substr(end_of_image), false,
       "Warnings occured during decompression"},
      {"cmyk", EncodeJpeg(JpegKind::kCmyk, kWidth, kHeight, cmyk), false, "Error decoding file"},
      {"wider_than_bound", WithFrameSize(jpeg, kJpegMaxSide + 1, 16), false, "Unable to allocate buffer"},
      {"65500_squared", WithFrameSize(jpeg, 65500, 65500), false, "Unable to allocate buffer"},
  };
  for (const Case& c : cases) {
    if (!c.missing) folder_.WriteFile("pic.a", c.bytes);
    int32_t width = 0, height = 0, bits = 0;
    uint8_t* buffer = reinterpret_cast<uint8_t*>(&width);
    const char* result = DecodeJpegFile(c.missing ? "absent.a" : "pic.a", &width, &height, &bits, &buffer);
    ASSERT_NE(result, nullptr) << c.name;
    EXPECT_STREQ(result, c.expected) << c.name;
    EXPECT_EQ(buffer, nullptr) << c.name;
  }
}

TEST(SwapRedBlueTest, swaps_first_and_third_byte_of_each_pixel) {
  struct Case {
    const char* name;
    int32_t count;
    std::vector<uint8_t> expected;
  } const cases[] = {
      {"two_pixels", 2, {3, 2, 1, 6, 5, 4, 7}},
      {"one_pixel", 1, {3, 2, 1, 4, 5, 6, 7}},
      {"none", 0, {1, 2, 3, 4, 5, 6, 7}},
      {"negative", -1, {1, 2, 3, 4, 5, 6, 7}},
  };
  for (const Case& c : cases) {
    std::vector<uint8_t> pixels = {1, 2, 3, 4, 5, 6, 7};
    SwapRedBlue(pixels.data(), c.count);
    EXPECT_EQ(pixels, c.expected) << c.name;
  }
}

TEST(FreeDecodedImageTest, accepts_no_address_and_no_buffer) {
  FreeDecodedImage(nullptr);
  uint8_t* buffer = nullptr;
  FreeDecodedImage(&buffer);
  EXPECT_EQ(buffer, nullptr);
}

}  // namespace
