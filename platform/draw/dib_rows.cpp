// Pixel rows in and out of bitmaps and contexts, in the device-independent row format: 24-bit
// blue, green, red pixels, rows padded to a multiple of 4 bytes, bottom-up for a positive height
// and top-down for a negative one.
#include <cstring>
#include <utility>

#include "platform/draw/device_context.h"
#include "platform/draw/gdi.h"

namespace platform {

namespace {

// The shape of a row block described by a header, once checked.
struct RowLayout {
  int32_t width;
  int32_t height;  // rows of the picture, positive
  bool bottom_up;
  size_t stride;   // bytes from one row to the next

  // The picture row (counted from the top) that holds scan line `scan`.
  int32_t RowOfScan(int64_t scan) const { return static_cast<int32_t>(bottom_up ? height - 1 - scan : scan); }
  int64_t ScanOfRow(int32_t row) const { return bottom_up ? height - 1 - row : row; }
};

bool ReadLayout(const BITMAPINFOHEADER* header, RowLayout* layout) {
  if (header == nullptr || header->biSize < sizeof(BITMAPINFOHEADER) || header->biPlanes != 1 ||
      header->biBitCount != 24 || header->biCompression != BI_RGB) {
    return false;
  }
  const int64_t height = header->biHeight;
  const int64_t rows = height < 0 ? -height : height;
  if (header->biWidth <= 0 || rows == 0 || header->biWidth > kMaxBitmapSide || rows > kMaxBitmapSide ||
      header->biWidth * rows > kMaxBitmapPixels) {
    return false;
  }
  layout->width = header->biWidth;
  layout->height = static_cast<int32_t>(rows);
  layout->bottom_up = height > 0;
  layout->stride = (static_cast<size_t>(header->biWidth) * 3 + 3) & ~size_t{3};
  return true;
}

// Stores `count` colour pixels, turning them black or white on a monochrome picture.
void StoreRun(uint8_t* out, const uint8_t* in, size_t count, bool monochrome) {
  if (!monochrome) {
    std::memcpy(out, in, count * 3);
    return;
  }
  for (size_t i = 0; i < count; ++i, in += 3, out += 3) {
    const uint8_t bit = in[0] + in[1] + in[2] >= 3 * 128 ? 255 : 0;
    out[0] = out[1] = out[2] = bit;
  }
}

// The scan lines [first, first + count) that exist in the picture.
void ScanRange(const RowLayout& layout, uint32_t first, uint32_t count, int64_t* begin, int64_t* end) {
  *begin = first;
  *end = std::min<int64_t>(static_cast<int64_t>(first) + count, layout.height);
}

}  // namespace

HBITMAP CreateDIBitmap(HDC dc, const BITMAPINFOHEADER* header, uint32_t init, const void* bits,
                       const BITMAPINFO* info, uint32_t usage) {
  RowLayout layout;
  if (!ReadLayout(header, &layout)) return nullptr;
  HBITMAP bitmap = NewBitmap(layout.width, layout.height, false);
  if (bitmap == nullptr || (init & CBM_INIT) == 0) return bitmap;
  if (SetDIBits(dc, bitmap, 0, static_cast<uint32_t>(layout.height), bits, info, usage) == 0) {
    DeleteObject(bitmap);
    return nullptr;
  }
  return bitmap;
}

int32_t SetDIBits(HDC dc, HBITMAP bitmap, uint32_t first_scan, uint32_t scan_count, const void* bits,
                  const BITMAPINFO* info, uint32_t usage) {
  RowLayout layout;
  if (bitmap == nullptr || bits == nullptr || info == nullptr || usage != DIB_RGB_COLORS ||
      !ReadLayout(&info->bmiHeader, &layout)) {
    return 0;
  }
  int64_t begin, end;
  ScanRange(layout, first_scan, scan_count, &begin, &end);
  Surface& picture = bitmap->surface;
  const size_t columns = static_cast<size_t>(std::min(layout.width, picture.width));
  const auto* block = static_cast<const uint8_t*>(bits);
  for (int64_t scan = begin; scan < end; ++scan) {
    // The block's top-left pixel lands on the bitmap's top-left pixel.
    const int32_t row = layout.RowOfScan(scan);
    if (row >= picture.height) continue;
    StoreRun(picture.Row(row), block + static_cast<size_t>(scan - first_scan) * layout.stride, columns,
             bitmap->monochrome);
  }
  return end > begin ? static_cast<int32_t>(end - begin) : 0;
}

int32_t GetDIBits(HDC dc, HBITMAP bitmap, uint32_t first_scan, uint32_t scan_count, void* bits, BITMAPINFO* info,
                  uint32_t usage) {
  RowLayout layout;
  if (bitmap == nullptr || bits == nullptr || info == nullptr || usage != DIB_RGB_COLORS ||
      !ReadLayout(&info->bmiHeader, &layout) || layout.width != bitmap->surface.width ||
      layout.height != bitmap->surface.height) {
    return 0;
  }
  int64_t begin, end;
  ScanRange(layout, first_scan, scan_count, &begin, &end);
  auto* block = static_cast<uint8_t*>(bits);
  for (int64_t scan = begin; scan < end; ++scan) {
    uint8_t* out = block + static_cast<size_t>(scan - first_scan) * layout.stride;
    std::memcpy(out, std::as_const(bitmap->surface).Row(layout.RowOfScan(scan)), static_cast<size_t>(layout.width) * 3);
    std::memset(out + static_cast<size_t>(layout.width) * 3, 0, layout.stride - static_cast<size_t>(layout.width) * 3);
  }
  return end > begin ? static_cast<int32_t>(end - begin) : 0;
}

int32_t SetDIBitsToDevice(HDC dc, int32_t x, int32_t y, uint32_t width, uint32_t height, int32_t source_x,
                          int32_t source_y, uint32_t first_scan, uint32_t scan_count, const void* bits,
                          const BITMAPINFO* info, uint32_t usage) {
  RowLayout layout;
  if (dc == nullptr || bits == nullptr || info == nullptr || usage != DIB_RGB_COLORS ||
      !ReadLayout(&info->bmiHeader, &layout)) {
    return 0;
  }
  int64_t begin, end;
  ScanRange(layout, first_scan, scan_count, &begin, &end);
  if (end <= begin) return 0;
  const int64_t w = std::min<int64_t>(width, kMaxBitmapSide);
  const int64_t h = std::min<int64_t>(height, kMaxBitmapSide);
  // The source rectangle's top row: a bottom-up block counts source_y from its bottom row.
  const int64_t top_row = layout.bottom_up ? static_cast<int64_t>(layout.height) - source_y - h : source_y;
  const auto* block = static_cast<const uint8_t*>(bits);
  const bool monochrome = dc->Monochrome();
  const RECT area{x, y, static_cast<int32_t>(x + w), static_cast<int32_t>(y + h)};
  dc->ForEachVisibleSpan(area, [&](int32_t out_y, int32_t left, int32_t right) {
    const int64_t row = top_row + (out_y - y);
    if (row < 0 || row >= layout.height) return;
    const int64_t scan = layout.ScanOfRow(static_cast<int32_t>(row));
    if (scan < begin || scan >= end) return;
    const int64_t first_column = std::max<int64_t>(static_cast<int64_t>(source_x) + (left - x), 0);
    const int64_t last_column = std::min<int64_t>(static_cast<int64_t>(source_x) + (right - x), layout.width);
    if (first_column >= last_column) return;
    const int32_t out_x = static_cast<int32_t>(x + (first_column - source_x));
    StoreRun(dc->surface->Row(out_y) + static_cast<size_t>(out_x) * 3,
             block + static_cast<size_t>(scan - first_scan) * layout.stride + static_cast<size_t>(first_column) * 3,
             static_cast<size_t>(last_column - first_column), monochrome);
  });
  return static_cast<int32_t>(end - begin);
}

}  // namespace platform
