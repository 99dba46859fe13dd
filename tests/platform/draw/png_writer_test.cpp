#include "platform/draw/png_writer.h"

#include <gtest/gtest.h>
#include <png.h>

#include <vector>

#include "platform/draw/gdi.h"
#include "tests/platform/draw/memory_picture.h"
#include "tests/platform/draw/picture_compare.h"
#include "tests/support/temp_program_folder.h"

using namespace platform;

namespace {

// Reads a PNG back with libpng as 8-bit red, green, blue rows; empty when it cannot be read.
std::vector<uint8_t> ReadPng(const std::string& path, uint32_t* width, uint32_t* height) {
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_file(&image, path.c_str())) return {};
  image.format = PNG_FORMAT_RGB;
  std::vector<uint8_t> rgb(PNG_IMAGE_SIZE(image));
  if (!png_image_finish_read(&image, nullptr, rgb.data(), 0, nullptr)) return {};
  *width = image.width;
  *height = image.height;
  return rgb;
}

using PngWriterTest = ProgramFolderTest;

TEST_F(PngWriterTest, pictures_read_back_with_their_colours_in_red_green_blue_order) {
  const Surface colour = PictureFromRows(
      {"rgb", "wkx"}, {{'r', RGB(255, 0, 0)}, {'g', RGB(0, 255, 0)}, {'b', RGB(0, 0, 255)},
                       {'w', RGB(255, 255, 255)}, {'k', RGB(0, 0, 0)}, {'x', RGB(1, 2, 3)}});
  MemoryPicture mono(3, 1, true);
  const RECT middle{1, 0, 2, 1};
  FillRect(mono.dc, &middle, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  struct Case {
    const char* name;
    const Surface* picture;
    std::vector<uint8_t> expected;
  } const cases[] = {
      {"colour.png", &colour, {255, 0, 0, 0, 255, 0, 0, 0, 255, 255, 255, 255, 0, 0, 0, 1, 2, 3}},
      {"monochrome.png", &mono.picture(), {0, 0, 0, 255, 255, 255, 0, 0, 0}},
  };
  for (const Case& c : cases) {
    ASSERT_TRUE(SaveSurfacePng(*c.picture, folder_.PathOf(c.name))) << c.name;
    uint32_t width = 0, height = 0;
    EXPECT_EQ(ReadPng(folder_.PathOf(c.name), &width, &height), c.expected) << c.name;
    EXPECT_EQ(width, static_cast<uint32_t>(c.picture->width)) << c.name;
    EXPECT_EQ(height, static_cast<uint32_t>(c.picture->height)) << c.name;
  }
  ASSERT_TRUE(SaveDCPng(mono.dc, folder_.PathOf("context.png")));
  uint32_t width = 0, height = 0;
  EXPECT_EQ(ReadPng(folder_.PathOf("context.png"), &width, &height), cases[1].expected);
}

TEST_F(PngWriterTest, empty_pictures_and_unwritable_paths_are_refused) {
  EXPECT_FALSE(SaveSurfacePng(Surface(), folder_.PathOf("empty.png")));
  EXPECT_FALSE(folder_.Exists("empty.png"));
  EXPECT_FALSE(SaveSurfacePng(Surface(2, 2), folder_.PathOf("no_such_folder/picture.png")));
  EXPECT_FALSE(SaveDCPng(nullptr, folder_.PathOf("null.png")));
}

}  // namespace
