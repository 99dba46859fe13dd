#include "cclient/base/hidden_picture.h"

#include <array>

#include "cclient/base/client_globals.h"
#include "platform/window/paint.h"

namespace {

using PictureRows = std::array<uint8_t, static_cast<size_t>(kHiddenPictureStride) * kHiddenPictureHeight>;

// A framed colour wash: red grows to the right, green downwards, over a blue ground; the frame is
// two pixels of gold.
PictureRows MakePicture() {
  PictureRows rows{};
  constexpr int32_t kFrame = 2;
  for (int32_t y = 0; y < kHiddenPictureHeight; ++y) {
    uint8_t* row = rows.data() + static_cast<size_t>(y) * kHiddenPictureStride;
    for (int32_t x = 0; x < kHiddenPictureWidth; ++x) {
      uint8_t* pixel = row + x * 3;
      const bool frame = x < kFrame || y < kFrame || x >= kHiddenPictureWidth - kFrame ||
                         y >= kHiddenPictureHeight - kFrame;
      if (frame) {
        pixel[0] = kHiddenPictureFrame[0];
        pixel[1] = kHiddenPictureFrame[1];
        pixel[2] = kHiddenPictureFrame[2];
        continue;
      }
      pixel[0] = 0x60;
      pixel[1] = static_cast<uint8_t>(y * 200 / kHiddenPictureHeight);
      pixel[2] = static_cast<uint8_t>(x * 200 / kHiddenPictureWidth);
    }
  }
  return rows;
}

}  // namespace

const uint8_t* HiddenPictureRows() {
  static const PictureRows rows = MakePicture();
  return rows.data();
}

void DrawHiddenPicture(platform::HDC background_dc, platform::HDC back_dc, int32_t x, int32_t y) {
  platform::BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(platform::BITMAPINFOHEADER);
  info.bmiHeader.biWidth = kHiddenPictureWidth;
  info.bmiHeader.biHeight = -kHiddenPictureHeight;  // top-down
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 24;
  info.bmiHeader.biCompression = platform::BI_RGB;
  info.bmiHeader.biSizeImage = kHiddenPictureStride * kHiddenPictureHeight;
  platform::SetDIBitsToDevice(background_dc, x, y, kHiddenPictureWidth, kHiddenPictureHeight, 0, 0,
                              0, kHiddenPictureHeight, HiddenPictureRows(), &info,
                              platform::DIB_RGB_COLORS);
  platform::BitBlt(back_dc, x, y, kHiddenPictureWidth, kHiddenPictureHeight, background_dc, x, y,
                   platform::SRCCOPY);
  if (MainWindow != nullptr) {
    const platform::RECT shown{x, y, x + kHiddenPictureWidth, y + kHiddenPictureHeight};
    platform::InvalidateRect(MainWindow, &shown, false);
  }
}
