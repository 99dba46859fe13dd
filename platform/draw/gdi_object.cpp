#include "platform/draw/gdi_object.h"

#include <algorithm>
#include <cstring>
#include <new>

#include "platform/draw/gdi.h"

namespace platform {

namespace {

template <typename T>
T* MakeStock(T* object) {
  object->stock = true;
  return object;
}

// Built on first use and never freed, so stock handles stay valid for the whole run.
HGDIOBJ StockTable(int32_t index) {
  static HGDIOBJ const table[] = {
      MakeStock(new GdiBrush(RGB(255, 255, 255), false)), MakeStock(new GdiBrush(RGB(192, 192, 192), false)),
      MakeStock(new GdiBrush(RGB(128, 128, 128), false)), MakeStock(new GdiBrush(RGB(64, 64, 64), false)),
      MakeStock(new GdiBrush(RGB(0, 0, 0), false)),       MakeStock(new GdiBrush(0, true)),
      MakeStock(new GdiPen(PS_SOLID, 1, RGB(255, 255, 255))), MakeStock(new GdiPen(PS_SOLID, 1, RGB(0, 0, 0))),
      MakeStock(new GdiPen(PS_NULL, 1, 0)),
  };
  if (index < 0 || index >= static_cast<int32_t>(sizeof table / sizeof table[0])) return nullptr;
  return table[index];
}

void FreeObject(GdiObject* object) {
  if (object->stock) return;
  delete object;
}

}  // namespace

int GdiBitmap::Describe(int size, void* out) const {
  if (size < static_cast<int>(sizeof(BITMAP)) || out == nullptr) return 0;
  BITMAP record{};
  record.bmType = 0;
  record.bmWidth = surface.width;
  record.bmHeight = surface.height;
  record.bmWidthBytes = static_cast<int32_t>(surface.Stride());
  record.bmPlanes = 1;
  record.bmBitsPixel = monochrome ? 1 : 24;
  record.bmBits = nullptr;
  std::memcpy(out, &record, sizeof record);
  return static_cast<int>(sizeof record);
}

void RetainSelection(GdiObject* object) {
  if (object != nullptr) ++object->selections;
}

void ReleaseSelection(GdiObject* object) {
  if (object == nullptr) return;
  --object->selections;
  if (object->selections == 0 && object->delete_requested) FreeObject(object);
}

HGDIOBJ GetStockObject(int32_t index) { return StockTable(index); }

namespace {

constexpr COLORREF kSystemColours[] = {
    RGB(192, 192, 192), RGB(0, 128, 128),   RGB(0, 0, 128),     RGB(128, 128, 128), RGB(192, 192, 192),
    RGB(255, 255, 255), RGB(0, 0, 0),       RGB(0, 0, 0),       RGB(0, 0, 0),       RGB(255, 255, 255),
    RGB(192, 192, 192), RGB(192, 192, 192), RGB(128, 128, 128), RGB(0, 0, 128),     RGB(255, 255, 255),
    RGB(192, 192, 192), RGB(128, 128, 128), RGB(128, 128, 128), RGB(0, 0, 0),       RGB(192, 192, 192),
    RGB(255, 255, 255), RGB(0, 0, 0),       RGB(192, 192, 192), RGB(0, 0, 0),       RGB(255, 255, 225),
};
constexpr int32_t kSystemColourCount = static_cast<int32_t>(sizeof kSystemColours / sizeof kSystemColours[0]);

}  // namespace

COLORREF GetSysColor(int32_t index) {
  return index >= 0 && index < kSystemColourCount ? kSystemColours[index] : 0;
}

HBRUSH GetSysColorBrush(int32_t index) {
  static GdiBrush* const* const brushes = [] {
    auto** table = new GdiBrush*[kSystemColourCount];
    for (int32_t i = 0; i < kSystemColourCount; ++i) table[i] = MakeStock(new GdiBrush(kSystemColours[i], false));
    return table;
  }();
  return index >= 0 && index < kSystemColourCount ? brushes[index] : nullptr;
}

HBRUSH CreateSolidBrush(COLORREF colour) { return new (std::nothrow) GdiBrush(colour & 0xFFFFFF, false); }

HPEN CreatePen(int32_t style, int32_t width, COLORREF colour) {
  if (style != PS_SOLID && style != PS_NULL) return nullptr;
  width = std::clamp(width, 1, kMaxPenWidth);
  return new (std::nothrow) GdiPen(style, width, colour & 0xFFFFFF);
}

bool DeleteObject(HGDIOBJ object) {
  if (object == nullptr) return false;
  if (object->stock) return true;
  if (object->selections > 0) {
    object->delete_requested = true;
    return true;
  }
  FreeObject(object);
  return true;
}

int GetObject(HGDIOBJ object, int size, void* out) {
  if (object == nullptr) return 0;
  return object->Describe(size, out);
}

}  // namespace platform
