// Regions and the clip area of a context.
#include <climits>
#include <new>

#include "platform/draw/device_context.h"
#include "platform/draw/gdi.h"

namespace platform {

namespace {

// Stands for "no clip area": larger than any picture, small enough that no edge arithmetic
// overflows.
constexpr RECT kEverything{-(1 << 28), -(1 << 28), 1 << 28, 1 << 28};

int32_t Complexity(const RegionBands& area) {
  if (area.Empty()) return NULLREGION;
  return area.IsRectangle() ? SIMPLEREGION : COMPLEXREGION;
}

HRGN NewRegion(RegionBands area) {
  auto* region = new (std::nothrow) GdiRegion;
  if (region != nullptr) region->area = std::move(area);
  return region;
}

RECT Ordered(int32_t left, int32_t top, int32_t right, int32_t bottom) {
  if (left > right) std::swap(left, right);
  if (top > bottom) std::swap(top, bottom);
  return {left, top, right, bottom};
}

}  // namespace

HRGN CreateRectRgn(int32_t left, int32_t top, int32_t right, int32_t bottom) {
  return NewRegion(RegionBands::FromRect(Ordered(left, top, right, bottom)));
}

HRGN CreateRectRgnIndirect(const RECT* rect) {
  return rect == nullptr ? nullptr : CreateRectRgn(rect->left, rect->top, rect->right, rect->bottom);
}

HRGN CreateEllipticRgn(int32_t left, int32_t top, int32_t right, int32_t bottom) {
  return NewRegion(RegionBands::FromEllipse(Ordered(left, top, right, bottom)));
}

HRGN CreateEllipticRgnIndirect(const RECT* rect) {
  return rect == nullptr ? nullptr : CreateEllipticRgn(rect->left, rect->top, rect->right, rect->bottom);
}

int32_t CombineRgn(HRGN destination, HRGN a, HRGN b, int32_t mode) {
  if (destination == nullptr || a == nullptr) return RGN_ERROR;
  if (mode == RGN_COPY) {
    destination->area = a->area;
    return Complexity(destination->area);
  }
  if (b == nullptr) return RGN_ERROR;
  RegionBands::Operation operation;
  switch (mode) {
    case RGN_AND: operation = RegionBands::Operation::kIntersect; break;
    case RGN_OR: operation = RegionBands::Operation::kUnion; break;
    case RGN_XOR: operation = RegionBands::Operation::kExclusiveOr; break;
    case RGN_DIFF: operation = RegionBands::Operation::kDifference; break;
    default: return RGN_ERROR;
  }
  destination->area = RegionBands::Combine(a->area, b->area, operation);
  return Complexity(destination->area);
}

bool PtInRegion(HRGN region, int32_t x, int32_t y) { return region != nullptr && region->area.Contains(x, y); }

int32_t SelectClipRgn(HDC dc, HRGN region) {
  if (dc == nullptr) return RGN_ERROR;
  if (region == nullptr) {
    dc->clip.reset();
    return SIMPLEREGION;
  }
  dc->clip = region->area;
  return Complexity(*dc->clip);
}

int32_t IntersectClipRect(HDC dc, int32_t left, int32_t top, int32_t right, int32_t bottom) {
  if (dc == nullptr) return RGN_ERROR;
  const RegionBands rect = RegionBands::FromRect(Ordered(left, top, right, bottom));
  dc->clip = dc->clip ? RegionBands::Combine(*dc->clip, rect, RegionBands::Operation::kIntersect) : rect;
  return Complexity(*dc->clip);
}

int32_t ExcludeClipRect(HDC dc, int32_t left, int32_t top, int32_t right, int32_t bottom) {
  if (dc == nullptr) return RGN_ERROR;
  const RegionBands current = dc->clip ? *dc->clip : RegionBands::FromRect(kEverything);
  dc->clip = RegionBands::Combine(current, RegionBands::FromRect(Ordered(left, top, right, bottom)),
                                  RegionBands::Operation::kDifference);
  return Complexity(*dc->clip);
}

}  // namespace platform
