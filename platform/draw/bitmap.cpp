// Creating bitmaps.
#include <new>

#include "platform/draw/device_context.h"
#include "platform/draw/gdi.h"

namespace platform {

namespace {

bool SizeAccepted(int32_t width, int32_t height) {
  return width > 0 && height > 0 && width <= kMaxBitmapSide && height <= kMaxBitmapSide &&
         static_cast<int64_t>(width) * height <= kMaxBitmapPixels;
}

}  // namespace

// Allocation failure gives null, never an exception.
HBITMAP NewBitmap(int32_t width, int32_t height, bool monochrome) {
  if (!SizeAccepted(width, height)) return nullptr;
  try {
    return new GdiBitmap(width, height, monochrome);
  } catch (const std::bad_alloc&) {
    return nullptr;
  }
}

HBITMAP CreateCompatibleBitmap(HDC reference, int32_t width, int32_t height) {
  const bool monochrome = reference != nullptr && reference->bitmap != nullptr && !reference->bitmap->stock &&
                          reference->bitmap->monochrome;
  return NewBitmap(width, height, monochrome);
}

HBITMAP CreateBitmap(int32_t width, int32_t height, uint32_t planes, uint32_t bits_per_pixel, const void* bits) {
  if (planes != 1 || (bits_per_pixel != 1 && bits_per_pixel != 24)) return nullptr;
  HBITMAP bitmap = NewBitmap(width, height, bits_per_pixel == 1);
  if (bitmap == nullptr || bits == nullptr) return bitmap;
  // Rows of such bitmaps are padded to a multiple of 2 bytes.
  const size_t row_bytes = ((static_cast<size_t>(width) * bits_per_pixel + 15) / 16) * 2;
  const auto* in = static_cast<const uint8_t*>(bits);
  for (int32_t y = 0; y < height; ++y) {
    const uint8_t* row = in + row_bytes * static_cast<size_t>(y);
    uint8_t* out = bitmap->surface.Row(y);
    if (bits_per_pixel == 24) {
      std::copy(row, row + static_cast<size_t>(width) * 3, out);
      continue;
    }
    for (int32_t x = 0; x < width; ++x) {
      const uint8_t value = (row[x / 8] >> (7 - x % 8)) & 1 ? 255 : 0;
      out[x * 3] = out[x * 3 + 1] = out[x * 3 + 2] = value;
    }
  }
  return bitmap;
}

Surface* GetBitmapSurface(HBITMAP bitmap) { return bitmap == nullptr ? nullptr : &bitmap->surface; }

}  // namespace platform
