#include "cclient/lobby/jpeg_image.h"

#include "cclient/widgets/jpeg_file.h"

JpegImage::~JpegImage() { Release(); }

bool JpegImage::Load(platform::HDC dc, const char* file_name) {
  Release();
  int32_t width = 0;
  int32_t height = 0;
  int32_t bits = 0;
  uint8_t* pixels = nullptr;
  if (DecodeJpegFile(file_name, &width, &height, &bits, &pixels) != nullptr) return false;
  if (bits == 24 && width % 4 == 0 && width > 0 && height > 0) {
    SwapRedBlue(pixels, width * height);
    dc_ = platform::CreateCompatibleDC(dc);
    bitmap_ = platform::CreateCompatibleBitmap(dc, width, height);
    if (dc_ != nullptr && bitmap_ != nullptr) {
      old_bitmap_ = platform::SelectObject(dc_, bitmap_);
      platform::BITMAPINFO info{};
      info.bmiHeader.biSize = sizeof info.bmiHeader;
      info.bmiHeader.biWidth = width;
      info.bmiHeader.biHeight = -height;  // top-down
      info.bmiHeader.biPlanes = 1;
      info.bmiHeader.biBitCount = 24;
      info.bmiHeader.biCompression = platform::BI_RGB;
      (void)platform::SetDIBitsToDevice(dc_, 0, 0, static_cast<uint32_t>(width),
                                        static_cast<uint32_t>(height), 0, 0, 0,
                                        static_cast<uint32_t>(height), pixels, &info,
                                        platform::DIB_RGB_COLORS);
      width_ = width;
      height_ = height;
    } else {
      Release();
    }
  }
  FreeDecodedImage(&pixels);
  return dc_ != nullptr;
}

void JpegImage::Release() {
  if (dc_ != nullptr && old_bitmap_ != nullptr) platform::SelectObject(dc_, old_bitmap_);
  if (bitmap_ != nullptr) platform::DeleteObject(bitmap_);
  if (dc_ != nullptr) platform::DeleteDC(dc_);
  dc_ = nullptr;
  bitmap_ = nullptr;
  old_bitmap_ = nullptr;
  width_ = 0;
  height_ = 0;
}
