// A memory context with a bitmap of its own, for drawing tests.
#pragma once

#include "platform/draw/gdi.h"

struct MemoryPicture {
  platform::HDC dc = nullptr;
  platform::HBITMAP bitmap = nullptr;
  platform::HBITMAP old = nullptr;

  MemoryPicture(int32_t width, int32_t height, bool monochrome = false) {
    dc = platform::CreateCompatibleDC(nullptr);
    bitmap = monochrome ? platform::CreateBitmap(width, height, 1, 1, nullptr)
                        : platform::CreateCompatibleBitmap(nullptr, width, height);
    old = platform::SelectObject(dc, bitmap);
  }
  explicit MemoryPicture(const platform::Surface& picture) : MemoryPicture(picture.width, picture.height) {
    *platform::GetBitmapSurface(bitmap) = picture;
  }
  ~MemoryPicture() {
    platform::SelectObject(dc, old);
    platform::DeleteDC(dc);
    platform::DeleteObject(bitmap);
  }
  MemoryPicture(const MemoryPicture&) = delete;
  MemoryPicture& operator=(const MemoryPicture&) = delete;

  const platform::Surface& picture() const { return *platform::GetBitmapSurface(bitmap); }
  platform::COLORREF At(int32_t x, int32_t y) const { return platform::GetPixel(dc, x, y); }

  // Paints the whole picture in one colour.
  void Fill(platform::COLORREF colour) {
    const platform::HBRUSH brush = platform::CreateSolidBrush(colour);
    const platform::RECT all{0, 0, picture().width, picture().height};
    platform::FillRect(dc, &all, brush);
    platform::DeleteObject(brush);
  }
};
