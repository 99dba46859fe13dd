// An area of the plane made of horizontal bands, the shape behind clip regions.
//
// A band covers the rows [top, bottom) and, on each of those rows, the same sorted list of
// half-open spans [left, right). Bands are sorted top-down, never overlap, never hold an empty
// span list, and two bands that touch vertically always differ in their spans (equal neighbours
// are merged), so equal areas have equal band lists.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/draw/gdi_types.h"

namespace platform {

struct RegionSpan {
  int32_t left;
  int32_t right;
  bool operator==(const RegionSpan&) const = default;
};

struct RegionBand {
  int32_t top;
  int32_t bottom;
  std::vector<RegionSpan> spans;
  bool operator==(const RegionBand&) const = default;
};

class RegionBands {
 public:
  enum class Operation { kIntersect, kUnion, kDifference, kExclusiveOr };

  RegionBands() = default;

  // The rectangle's pixels (right and bottom exclusive); an empty or inverted rectangle gives an
  // empty area.
  static RegionBands FromRect(const RECT& rect);
  // The pixels whose centres lie inside the ellipse inscribed in `rect` (edges included); rows
  // more than 2^20 pixels from the origin are left out.
  static RegionBands FromEllipse(const RECT& rect);
  static RegionBands Combine(const RegionBands& a, const RegionBands& b, Operation operation);

  bool Empty() const { return bands_.empty(); }
  bool IsRectangle() const { return bands_.size() == 1 && bands_[0].spans.size() == 1; }
  bool Contains(int32_t x, int32_t y) const;
  // The smallest rectangle holding the area; all zero when the area is empty.
  RECT Bounds() const;
  const std::vector<RegionBand>& Bands() const { return bands_; }
  bool operator==(const RegionBands&) const = default;

 private:
  // Appends rows [top, bottom) with `spans`, merging with the previous band when it ends at
  // `top` with the same spans; empty span lists are dropped.
  void AppendBand(int32_t top, int32_t bottom, std::vector<RegionSpan>&& spans);

  std::vector<RegionBand> bands_;
};

}  // namespace platform
