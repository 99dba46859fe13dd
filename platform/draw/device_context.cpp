#include "platform/draw/device_context.h"

#include <cstring>
#include <new>
#include <utility>

#include "platform/draw/gdi.h"

namespace platform {

namespace {

// The 1 x 1 monochrome bitmap every memory context starts with. Shared and never freed; drawing
// on it is harmless.
GdiBitmap* DefaultBitmap() {
  static GdiBitmap* const bitmap = [] {
    auto* b = new GdiBitmap(1, 1, true);
    b->stock = true;
    return b;
  }();
  return bitmap;
}

DeviceContext* NewContext(Surface* surface, GdiBitmap* bitmap) {
  auto* dc = new (std::nothrow) DeviceContext;
  if (dc == nullptr) return nullptr;
  dc->surface = surface;
  dc->bitmap = bitmap;
  dc->brush = static_cast<GdiBrush*>(GetStockObject(WHITE_BRUSH));
  dc->pen = static_cast<GdiPen*>(GetStockObject(BLACK_PEN));
  RetainSelection(dc->bitmap);
  RetainSelection(dc->brush);
  RetainSelection(dc->pen);
  return dc;
}

template <typename T>
T* Swap(T*& slot, T* object) {
  T* old = slot;
  RetainSelection(object);
  slot = object;
  ReleaseSelection(old);
  return old;
}

}  // namespace

PixelBytes SolidPixelFor(const DeviceContext& dc, COLORREF colour) {
  if (!dc.Monochrome()) return ToPixel(colour);
  const int sum = GetRValue(colour) + GetGValue(colour) + GetBValue(colour);
  return sum >= 3 * 128 ? PixelBytes{255, 255, 255} : PixelBytes{0, 0, 0};
}

void FillRun(Surface& surface, int32_t y, int32_t left, int32_t right, PixelBytes pixel) {
  uint8_t* p = surface.Row(y) + static_cast<size_t>(left) * 3;
  const size_t count = static_cast<size_t>(right - left);
  if (pixel.b == pixel.g && pixel.g == pixel.r) {
    std::memset(p, pixel.b, count * 3);
    return;
  }
  for (size_t i = 0; i < count; ++i, p += 3) {
    p[0] = pixel.b;
    p[1] = pixel.g;
    p[2] = pixel.r;
  }
}

HDC CreateSurfaceDC(Surface* target) {
  if (target == nullptr) return nullptr;
  return NewContext(target, nullptr);
}

HDC CreateCompatibleDC(HDC reference) {
  GdiBitmap* bitmap = DefaultBitmap();
  return NewContext(&bitmap->surface, bitmap);
}

bool DeleteDC(HDC dc) {
  if (dc == nullptr) return false;
  ReleaseSelection(dc->bitmap);
  ReleaseSelection(dc->brush);
  ReleaseSelection(dc->pen);
  ReleaseSelection(dc->font);
  delete dc;
  return true;
}

Surface* GetDCSurface(HDC dc) { return dc == nullptr ? nullptr : dc->surface; }

HBITMAP SelectObject(HDC dc, HBITMAP bitmap) {
  if (dc == nullptr || bitmap == nullptr || dc->bitmap == nullptr) return nullptr;
  HBITMAP old = Swap(dc->bitmap, bitmap);
  dc->surface = &bitmap->surface;
  return old;
}

HBRUSH SelectObject(HDC dc, HBRUSH brush) {
  if (dc == nullptr || brush == nullptr) return nullptr;
  return Swap(dc->brush, brush);
}

HPEN SelectObject(HDC dc, HPEN pen) {
  if (dc == nullptr || pen == nullptr) return nullptr;
  return Swap(dc->pen, pen);
}

HGDIOBJ SelectObject(HDC dc, HGDIOBJ object) {
  if (dc == nullptr || object == nullptr) return nullptr;
  switch (object->kind) {
    case GdiKind::kBitmap: return SelectObject(dc, static_cast<HBITMAP>(object));
    case GdiKind::kBrush: return SelectObject(dc, static_cast<HBRUSH>(object));
    case GdiKind::kPen: return SelectObject(dc, static_cast<HPEN>(object));
    case GdiKind::kFont: return Swap(dc->font, object);
    case GdiKind::kRegion:
    case GdiKind::kIcon: return nullptr;
  }
  return nullptr;
}

COLORREF SetTextColor(HDC dc, COLORREF colour) {
  if (dc == nullptr) return CLR_INVALID;
  const COLORREF old = dc->text_colour;
  dc->text_colour = colour & 0xFFFFFF;
  return old;
}

COLORREF SetBkColor(HDC dc, COLORREF colour) {
  if (dc == nullptr) return CLR_INVALID;
  const COLORREF old = dc->background_colour;
  dc->background_colour = colour & 0xFFFFFF;
  return old;
}

int32_t SetBkMode(HDC dc, int32_t mode) {
  if (dc == nullptr || (mode != TRANSPARENT && mode != OPAQUE)) return 0;
  const int32_t old = dc->background_mode;
  dc->background_mode = mode;
  return old;
}

COLORREF GetTextColor(HDC dc) { return dc == nullptr ? CLR_INVALID : dc->text_colour; }
COLORREF GetBkColor(HDC dc) { return dc == nullptr ? CLR_INVALID : dc->background_colour; }
int32_t GetBkMode(HDC dc) { return dc == nullptr ? 0 : dc->background_mode; }

int32_t SetMapMode(HDC dc, int32_t mode) {
  if (dc == nullptr || mode != MM_TEXT) return 0;
  const int32_t old = dc->map_mode;
  dc->map_mode = mode;
  return old;
}

int32_t GetMapMode(HDC dc) { return dc == nullptr ? 0 : dc->map_mode; }

COLORREF GetPixel(HDC dc, int32_t x, int32_t y) {
  if (dc == nullptr || !dc->Visible(x, y)) return CLR_INVALID;
  const uint8_t* p = std::as_const(*dc->surface).Row(y) + static_cast<size_t>(x) * 3;
  return RGB(p[2], p[1], p[0]);
}

}  // namespace platform
