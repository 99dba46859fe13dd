#include "platform/draw/image_file.h"

#include <gtest/gtest.h>

#include <functional>

#include "platform/draw/gdi.h"
#include "tests/platform/draw/picture_compare.h"
#include "tests/support/temp_program_folder.h"

using namespace platform;

namespace {

void Put16(std::string& s, size_t at, uint32_t v) {
  s[at] = static_cast<char>(v);
  s[at + 1] = static_cast<char>(v >> 8);
}
void Put32(std::string& s, size_t at, uint32_t v) {
  for (int i = 0; i < 4; ++i) s[at + i] = static_cast<char>(v >> (8 * i));
}

// The colour of pixel (x, y) of the fixture pictures: distinct in every pixel.
COLORREF FixtureColour(int32_t x, int32_t y) { return RGB(10 + 40 * x, 20 + 50 * y, 200 - 30 * x - 20 * y); }

// A BMP file as the system's tools write one: 14-byte file header, 40-byte information header,
// for 8 bits a 256-entry palette (entry i is the colour of fixture pixel (i % 5, i / 5)), then
// bottom-up rows padded to 4 bytes with junk in the padding.
std::string MakeBmp(int32_t width, int32_t height, int bits) {
  const uint32_t palette_bytes = bits == 8 ? 1024 : 0;
  const uint32_t stride = ((width * bits + 31) / 32) * 4;
  const uint32_t offset = 54 + palette_bytes;
  std::string file(offset + stride * height, '\x77');
  file[0] = 'B';
  file[1] = 'M';
  Put32(file, 2, static_cast<uint32_t>(file.size()));
  Put32(file, 6, 0);
  Put32(file, 10, offset);
  Put32(file, 14, 40);
  Put32(file, 18, width);
  Put32(file, 22, height);
  Put16(file, 26, 1);
  Put16(file, 28, bits);
  Put32(file, 30, 0);
  Put32(file, 34, stride * height);
  for (size_t at = 38; at < 54; ++at) file[at] = 0;
  for (uint32_t i = 0; i < palette_bytes / 4; ++i) {
    const COLORREF c = FixtureColour(i % 5, i / 5);
    file[54 + i * 4] = static_cast<char>(GetBValue(c));
    file[54 + i * 4 + 1] = static_cast<char>(GetGValue(c));
    file[54 + i * 4 + 2] = static_cast<char>(GetRValue(c));
    file[54 + i * 4 + 3] = 0;
  }
  for (int32_t y = 0; y < height; ++y) {
    const size_t row = offset + static_cast<size_t>(height - 1 - y) * stride;
    for (int32_t x = 0; x < width; ++x) {
      if (bits == 8) {
        file[row + x] = static_cast<char>(y * 5 + x);
        continue;
      }
      const COLORREF c = FixtureColour(x, y);
      file[row + x * 3] = static_cast<char>(GetBValue(c));
      file[row + x * 3 + 1] = static_cast<char>(GetGValue(c));
      file[row + x * 3 + 2] = static_cast<char>(GetRValue(c));
    }
  }
  return file;
}

Surface FixturePicture(int32_t width, int32_t height) {
  Surface s(width, height);
  for (int32_t y = 0; y < height; ++y) {
    for (int32_t x = 0; x < width; ++x) {
      const COLORREF c = FixtureColour(x, y);
      uint8_t* p = s.Row(y) + x * 3;
      p[0] = GetBValue(c);
      p[1] = GetGValue(c);
      p[2] = GetRValue(c);
    }
  }
  return s;
}

using LoadImageTest = ProgramFolderTest;

TEST_F(LoadImageTest, bmp_files_of_8_and_24_bits_load_with_their_row_padding) {
  for (const int bits : {8, 24}) {
    for (const int32_t width : {3, 4, 5}) {
      const std::string name = "w" + std::to_string(width) + "_" + std::to_string(bits) + ".b";
      folder_.WriteFile(name, MakeBmp(width, 3, bits));
      auto* bitmap = static_cast<HBITMAP>(LoadImage(folder_.PathOf(name).c_str(), IMAGE_BITMAP, 0, 0,
                                                    LR_LOADFROMFILE | LR_DEFAULTSIZE));
      ASSERT_NE(bitmap, nullptr) << name;
      BITMAP record{};
      ASSERT_EQ(GetObject(bitmap, sizeof record, &record), static_cast<int>(sizeof record));
      EXPECT_EQ(record.bmWidth, width);
      EXPECT_EQ(record.bmHeight, 3);
      EXPECT_EQ(record.bmBitsPixel, 24);
      EXPECT_TRUE(SamePicture(*GetBitmapSurface(bitmap), FixturePicture(width, 3), name));
      DeleteObject(bitmap);
    }
  }
}

TEST_F(LoadImageTest, top_down_bmp_loads_upright_and_missing_files_give_null) {
  std::string file = MakeBmp(4, 2, 24);
  // The same rows stored top-down: swap them and negate the height.
  const std::string row0 = file.substr(54, 12);
  file.replace(54, 12, file.substr(66, 12));
  file.replace(66, 12, row0);
  Put32(file, 22, static_cast<uint32_t>(-2));
  folder_.WriteFile("top.b", file);
  auto* bitmap = static_cast<HBITMAP>(LoadImage(folder_.PathOf("top.b").c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE));
  ASSERT_NE(bitmap, nullptr);
  EXPECT_TRUE(SamePicture(*GetBitmapSurface(bitmap), FixturePicture(4, 2), "top_down"));
  DeleteObject(bitmap);
  EXPECT_EQ(LoadImage(folder_.PathOf("missing.b").c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE), nullptr);
  EXPECT_EQ(LoadImage(folder_.PathOf("top.b").c_str(), IMAGE_BITMAP, 8, 8, LR_LOADFROMFILE), nullptr);
}

TEST(DecodeBmp, malformed_or_oversized_files_are_refused) {
  struct Case {
    const char* name;
    std::function<void(std::string&)> spoil;
  } const cases[] = {
      {"shorter_than_headers", [](std::string& f) { f.resize(53); }},
      {"bad_signature", [](std::string& f) { f[0] = 'X'; }},
      {"16_bits", [](std::string& f) { Put16(f, 28, 16); }},
      {"32_bits", [](std::string& f) { Put16(f, 28, 32); }},
      {"compressed", [](std::string& f) { Put32(f, 30, 1); }},
      {"two_planes", [](std::string& f) { Put16(f, 26, 2); }},
      {"zero_width", [](std::string& f) { Put32(f, 18, 0); }},
      {"negative_width", [](std::string& f) { Put32(f, 18, static_cast<uint32_t>(-5)); }},
      {"lowest_height", [](std::string& f) { Put32(f, 22, 0x80000000u); }},
      {"huge_sides", [](std::string& f) { Put32(f, 18, 0x7FFFFFFF); Put32(f, 22, 0x7FFFFFFF); }},
      {"too_many_pixels", [](std::string& f) { Put32(f, 18, 16384); Put32(f, 22, 16384); }},
      {"rows_cut_short", [](std::string& f) { f.resize(f.size() - 1); }},
      {"data_offset_past_the_end", [](std::string& f) { Put32(f, 10, 0xFFFFFFF0u); }},
      {"data_offset_inside_header", [](std::string& f) { Put32(f, 10, 20); }},
      {"header_size_past_the_end", [](std::string& f) { Put32(f, 14, 0xFFFFFFFFu); }},
      {"palette_too_large", [](std::string& f) { Put32(f, 46, 300); }},
      {"palette_over_the_rows", [](std::string& f) { Put32(f, 10, 54 + 512); }},
  };
  for (const Case& c : cases) {
    std::string file = MakeBmp(5, 3, 8);
    c.spoil(file);
    Surface picture;
    EXPECT_NE(DecodeBmp(reinterpret_cast<const uint8_t*>(file.data()), file.size(), &picture), nullptr) << c.name;
    EXPECT_EQ(picture.width, 0) << c.name;
  }
}

// An icon file with one bitmap picture per entry; each picture's pixels are the fixture colours
// and its opacity comes from `alpha` (32 bits) or from the mask (pixels on the diagonal are
// transparent).
struct IconPicture {
  int32_t size;
  int bits;
};

std::string MakeIco(const std::vector<IconPicture>& pictures, bool with_png_entry) {
  const size_t count = pictures.size() + (with_png_entry ? 1 : 0);
  std::string file(6 + 16 * count, '\0');
  Put16(file, 2, 1);
  Put16(file, 4, static_cast<uint32_t>(count));
  size_t entry = 6;
  for (const IconPicture& p : pictures) {
    const uint32_t colour_stride = ((p.size * p.bits + 31) / 32) * 4;
    const uint32_t mask_stride = ((p.size + 31) / 32) * 4;
    std::string image(40 + (colour_stride + mask_stride) * p.size, '\0');
    Put32(image, 0, 40);
    Put32(image, 4, p.size);
    Put32(image, 8, p.size * 2);
    Put16(image, 12, 1);
    Put16(image, 14, p.bits);
    for (int32_t y = 0; y < p.size; ++y) {
      const size_t row = 40 + static_cast<size_t>(p.size - 1 - y) * colour_stride;
      const size_t mask = 40 + colour_stride * p.size + static_cast<size_t>(p.size - 1 - y) * mask_stride;
      for (int32_t x = 0; x < p.size; ++x) {
        const COLORREF c = FixtureColour(x, y);
        const size_t at = row + x * (p.bits / 8);
        image[at] = static_cast<char>(GetBValue(c));
        image[at + 1] = static_cast<char>(GetGValue(c));
        image[at + 2] = static_cast<char>(GetRValue(c));
        if (p.bits == 32) image[at + 3] = static_cast<char>(x == y ? 0 : 255);
        if (x == y) image[mask + x / 8] = static_cast<char>(image[mask + x / 8] | (0x80 >> (x % 8)));
      }
    }
    file[entry] = static_cast<char>(p.size);
    file[entry + 1] = static_cast<char>(p.size);
    Put16(file, entry + 6, p.bits);
    Put32(file, entry + 8, static_cast<uint32_t>(image.size()));
    Put32(file, entry + 12, static_cast<uint32_t>(file.size()));
    file += image;
    entry += 16;
  }
  if (with_png_entry) {
    const std::string png = "\x89PNG\r\n\x1a\n and the rest of a large compressed picture";
    file[entry] = 0;  // 256 x 256
    Put16(file, entry + 6, 32);
    Put32(file, entry + 8, static_cast<uint32_t>(png.size()));
    Put32(file, entry + 12, static_cast<uint32_t>(file.size()));
    file += png;
  }
  return file;
}

TEST(DecodeIco, largest_bitmap_picture_is_taken_with_its_transparency) {
  struct Case {
    const char* name;
    std::vector<IconPicture> pictures;
    int32_t expected_size;
  } const cases[] = {
      {"24_bit_with_mask", {{6, 24}}, 6},
      {"32_bit_with_alpha", {{5, 32}}, 5},
      {"largest_of_three", {{4, 24}, {7, 32}, {5, 24}}, 7},
  };
  for (const Case& c : cases) {
    const std::string file = MakeIco(c.pictures, true);
    Surface picture;
    std::vector<uint8_t> alpha;
    ASSERT_EQ(DecodeIco(reinterpret_cast<const uint8_t*>(file.data()), file.size(), &picture, &alpha), nullptr)
        << c.name;
    EXPECT_TRUE(SamePicture(picture, FixturePicture(c.expected_size, c.expected_size), c.name));
    ASSERT_EQ(alpha.size(), static_cast<size_t>(c.expected_size * c.expected_size));
    for (int32_t y = 0; y < c.expected_size; ++y) {
      for (int32_t x = 0; x < c.expected_size; ++x) {
        EXPECT_EQ(alpha[y * c.expected_size + x], x == y ? 0 : 255) << c.name << " at " << x << "," << y;
      }
    }
  }
}

TEST(DecodeIco, malformed_icons_are_refused) {
  const std::string good = MakeIco({{4, 24}}, false);
  struct Case {
    const char* name;
    std::function<void(std::string&)> spoil;
  } const cases[] = {
      {"empty", [](std::string& f) { f.clear(); }},
      {"not_an_icon", [](std::string& f) { Put16(f, 2, 2); }},
      {"no_entries", [](std::string& f) { Put16(f, 4, 0); }},
      {"directory_past_the_end", [](std::string& f) { Put16(f, 4, 4000); }},
      {"picture_past_the_end", [](std::string& f) { Put32(f, 6 + 12, 0xFFFFFF00u); }},
      {"length_past_the_end", [](std::string& f) { Put32(f, 6 + 8, 0x7FFFFFFFu); }},
      {"mask_cut_off", [](std::string& f) { f.resize(f.size() - 16); Put32(f, 6 + 8, static_cast<uint32_t>(f.size() - 22)); }},
      {"8_bit_only", [](std::string& f) { Put16(f, 22 + 14, 8); }},
      {"odd_height_zero_rows", [](std::string& f) { Put32(f, 22 + 8, 1); }},
  };
  for (const Case& c : cases) {
    std::string file = good;
    c.spoil(file);
    Surface picture;
    std::vector<uint8_t> alpha;
    EXPECT_NE(DecodeIco(reinterpret_cast<const uint8_t*>(file.data()), file.size(), &picture, &alpha), nullptr)
        << c.name;
  }
}

}  // namespace
