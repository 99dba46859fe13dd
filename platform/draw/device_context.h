// The drawing context behind an HDC: where drawing lands, what is selected, the colours, the
// current position and the clip area. Internal to the drawing and text layers; programs use the
// functions of gdi.h.
#pragma once

#include <algorithm>
#include <optional>

#include "platform/draw/gdi_object.h"
#include "platform/draw/gdi_types.h"
#include "platform/draw/region_bands.h"
#include "platform/draw/surface.h"

namespace platform {

struct DeviceContext {
  // The picture drawing lands on: the selected bitmap's surface for a memory context, or a
  // surface owned elsewhere (a window's backing picture) for a surface context. Never null.
  Surface* surface = nullptr;
  GdiBitmap* bitmap = nullptr;  // memory contexts only
  GdiBrush* brush = nullptr;
  GdiPen* pen = nullptr;
  GdiObject* font = nullptr;    // a GdiFont of platform/text; null: the text layer's default font
  COLORREF text_colour = 0x000000;
  COLORREF background_colour = 0xFFFFFF;
  int32_t background_mode = 2;  // OPAQUE
  int32_t map_mode = 1;         // MM_TEXT
  POINT position{0, 0};
  std::optional<RegionBands> clip;  // none: the whole surface

  bool Monochrome() const { return bitmap != nullptr && bitmap->monochrome; }
  RECT Bounds() const { return {0, 0, surface->width, surface->height}; }

  // Calls fn(y, left, right) for every visible run of pixels of `area` on row y: inside the
  // surface and the clip area, right exclusive, rows top-down and runs of a row left to right.
  template <typename Fn>
  void ForEachVisibleSpan(const RECT& area, Fn&& fn) const {
    const int32_t left = std::max(area.left, 0);
    const int32_t top = std::max(area.top, 0);
    const int32_t right = std::min(area.right, surface->width);
    const int32_t bottom = std::min(area.bottom, surface->height);
    if (left >= right || top >= bottom) return;
    if (!clip) {
      for (int32_t y = top; y < bottom; ++y) fn(y, left, right);
      return;
    }
    for (const RegionBand& band : clip->Bands()) {
      if (band.bottom <= top) continue;
      if (band.top >= bottom) break;
      const int32_t band_bottom = std::min(band.bottom, bottom);
      for (int32_t y = std::max(band.top, top); y < band_bottom; ++y) {
        for (const RegionSpan& span : band.spans) {
          const int32_t x0 = std::max(span.left, left);
          const int32_t x1 = std::min(span.right, right);
          if (x0 < x1) fn(y, x0, x1);
        }
      }
    }
  }

  bool Visible(int32_t x, int32_t y) const {
    if (x < 0 || y < 0 || x >= surface->width || y >= surface->height) return false;
    return !clip || clip->Contains(x, y);
  }
};

// The three bytes of a pixel of a colour surface, blue first.
struct PixelBytes {
  uint8_t b, g, r;
};

inline PixelBytes ToPixel(COLORREF c) { return {GetBValue(c), GetGValue(c), GetRValue(c)}; }

// The pixel a solid colour gives on `dc`: itself on a colour surface, black or white on a
// monochrome one (white for light colours).
PixelBytes SolidPixelFor(const DeviceContext& dc, COLORREF colour);

// Paints one run of `dc`'s surface in a single pixel value (no clipping: callers pass visible runs).
void FillRun(Surface& surface, int32_t y, int32_t left, int32_t right, PixelBytes pixel);

}  // namespace platform
