// An exact 24-bit picture: the pixels of bitmaps, memory drawing contexts and each window's
// backing picture. Colours are never converted or dithered, so a colour key compares exact values.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace platform {

struct Surface {
  int32_t width = 0;
  int32_t height = 0;
  // Rows top-down, no padding, 3 bytes per pixel in blue, green, red order.
  std::vector<uint8_t> pixels;

  Surface() = default;
  Surface(int32_t w, int32_t h) : width(w), height(h), pixels(static_cast<size_t>(w) * h * 3, 0) {}

  size_t Stride() const { return static_cast<size_t>(width) * 3; }
  uint8_t* Row(int32_t y) { return pixels.data() + static_cast<size_t>(y) * Stride(); }
  const uint8_t* Row(int32_t y) const { return pixels.data() + static_cast<size_t>(y) * Stride(); }
};

}  // namespace platform
