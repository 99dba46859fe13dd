// Basic types shared by the window core and the drawing layer.
//
// Rectangles follow the program's drawing convention: left and top inclusive, right and bottom
// exclusive (a 10 x 10 rectangle at the origin is {0, 0, 10, 10}). Widgets that pass inclusive
// right and bottom edges between themselves convert at their own boundary.
#pragma once

#include <cstdint>

namespace platform {

// A colour as the program writes it: 0x00BBGGRR (blue in the high byte).
using COLORREF = uint32_t;

constexpr COLORREF RGB(uint8_t r, uint8_t g, uint8_t b) {
  return static_cast<COLORREF>(r) | (static_cast<COLORREF>(g) << 8) | (static_cast<COLORREF>(b) << 16);
}
constexpr uint8_t GetRValue(COLORREF c) { return static_cast<uint8_t>(c); }
constexpr uint8_t GetGValue(COLORREF c) { return static_cast<uint8_t>(c >> 8); }
constexpr uint8_t GetBValue(COLORREF c) { return static_cast<uint8_t>(c >> 16); }

struct POINT {
  int32_t x;
  int32_t y;
};

struct SIZE {
  int32_t cx;
  int32_t cy;
};

struct RECT {
  int32_t left;
  int32_t top;
  int32_t right;
  int32_t bottom;
};

// A drawing context. Created by the drawing layer (memory contexts, contexts over a window's
// backing picture) and handed out by the window core (GetDC, BeginPaint).
struct DeviceContext;
using HDC = DeviceContext*;

}  // namespace platform
