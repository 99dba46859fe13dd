// An exact 24-bit picture: the pixels of bitmaps, memory drawing contexts and each window's
// backing picture. Colours are never converted or dithered, so a colour key compares exact values.
#pragma once

#include <cstddef>
#include <algorithm>
#include <cstdint>
#include <limits>
#include <vector>

namespace platform {

struct Surface {
  int32_t width = 0;
  int32_t height = 0;
  // Rows top-down, no padding, 3 bytes per pixel in blue, green, red order.
  std::vector<uint8_t> pixels;
  // The rows [drawn_first, drawn_end) were reached for writing (through the non-const Row) since
  // the last TakeDrawnRows: the window core presents only these rows of a window's picture. Write
  // pixels through Row, and read through a const surface, so that reads do not count.
  int32_t drawn_first = std::numeric_limits<int32_t>::max();
  int32_t drawn_end = 0;

  Surface() = default;
  Surface(int32_t w, int32_t h) : width(w), height(h), pixels(static_cast<size_t>(w) * h * 3, 0) {}

  size_t Stride() const { return static_cast<size_t>(width) * 3; }
  uint8_t* Row(int32_t y) {
    drawn_first = std::min(drawn_first, y);
    drawn_end = std::max(drawn_end, y + 1);
    return pixels.data() + static_cast<size_t>(y) * Stride();
  }
  const uint8_t* Row(int32_t y) const { return pixels.data() + static_cast<size_t>(y) * Stride(); }

  // Whether any row was reached for writing since the last TakeDrawnRows.
  bool HasDrawnRows() const { return drawn_first < drawn_end; }
  // Marks every row drawn (the pixels were replaced as a whole).
  void MarkAllDrawn() {
    drawn_first = 0;
    drawn_end = height;
  }
  // The drawn rows, clipped to the picture, as [first, end); forgets them. False when no row of
  // the picture was drawn.
  bool TakeDrawnRows(int32_t* first, int32_t* end) {
    *first = std::max(drawn_first, 0);
    *end = std::min(drawn_end, height);
    drawn_first = std::numeric_limits<int32_t>::max();
    drawn_end = 0;
    return *first < *end;
  }
};

}  // namespace platform
