// Solid fills.
#include "platform/draw/device_context.h"
#include "platform/draw/gdi.h"

namespace platform {

bool FillRect(HDC dc, const RECT* rect, HBRUSH brush) {
  if (dc == nullptr || rect == nullptr || brush == nullptr) return false;
  if (brush->hollow) return true;
  const PixelBytes pixel = SolidPixelFor(*dc, brush->colour);
  dc->ForEachVisibleSpan(*rect, [&](int32_t y, int32_t left, int32_t right) {
    FillRun(*dc->surface, y, left, right, pixel);
  });
  return true;
}

}  // namespace platform
