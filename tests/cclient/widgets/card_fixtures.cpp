#include "tests/cclient/widgets/card_fixtures.h"

namespace {

BmpFixture Picture(int32_t width, int32_t height, platform::COLORREF (*colour)(int32_t, int32_t, int32_t),
                   int32_t cell_width, int32_t cell_height) {
  BmpFixture bmp;
  bmp.width = width;
  bmp.height = height;
  bmp.rows.reserve(static_cast<size_t>(width) * height * 3);
  // Stored bottom row first.
  for (int32_t y = height - 1; y >= 0; --y) {
    for (int32_t x = 0; x < width; ++x) {
      const int32_t card = (y / cell_height) * 13 + x / cell_width;
      const platform::COLORREF c = colour(card, x % cell_width, y % cell_height);
      bmp.rows.push_back(platform::GetBValue(c));
      bmp.rows.push_back(platform::GetGValue(c));
      bmp.rows.push_back(platform::GetRValue(c));
    }
  }
  return bmp;
}

platform::COLORREF BackOf(int32_t, int32_t x, int32_t y) { return BackColour(x, y); }

}  // namespace

platform::COLORREF FaceColour(int32_t card, int32_t x, int32_t y) {
  return platform::RGB(static_cast<uint8_t>(y * 2 + 1), static_cast<uint8_t>(x * 3 + 1),
                       static_cast<uint8_t>(card * 4 + 10));
}

platform::COLORREF BackColour(int32_t x, int32_t y) {
  return platform::RGB(static_cast<uint8_t>(y * 2 + 1), static_cast<uint8_t>(x * 3 + 1), 250);
}

BmpFixture FaceSheetBmp(int32_t cell_width, int32_t cell_height) {
  return Picture(cell_width * 13, cell_height * 4, FaceColour, cell_width, cell_height);
}

BmpFixture BackBmp(int32_t width, int32_t height) { return Picture(width, height, BackOf, width, height); }

BmpFixture EightBitBmp(int32_t width, int32_t height) {
  BmpFixture bmp;
  bmp.width = width;
  bmp.height = height;
  bmp.bits = 8;
  bmp.with_palette = true;
  bmp.palette.resize(1024);
  for (int i = 0; i < 256; ++i) bmp.palette[i * 4] = bmp.palette[i * 4 + 1] = bmp.palette[i * 4 + 2] = static_cast<uint8_t>(i);
  bmp.rows.assign(static_cast<size_t>(width) * height, 7);
  return bmp;
}
