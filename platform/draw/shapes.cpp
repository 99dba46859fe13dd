// Outlines and lines: Rectangle, FrameRect, MoveToEx, LineTo.
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <vector>

#include "platform/draw/device_context.h"
#include "platform/draw/gdi.h"

namespace platform {

namespace {

void FillArea(const DeviceContext& dc, const RECT& area, PixelBytes pixel) {
  dc.ForEachVisibleSpan(area, [&](int32_t y, int32_t left, int32_t right) { FillRun(*dc.surface, y, left, right, pixel); });
}

// The rows of a round pen tip of `width` pixels: for each row offset from -radius to radius, how
// far the tip reaches left and right of its centre. A pixel belongs to the tip when its centre is
// within width / 2 of the tip's centre.
std::vector<int32_t> PenTip(int32_t width) {
  const int32_t radius = width / 2;
  std::vector<int32_t> reach;
  const int64_t limit = static_cast<int64_t>(width) * width;
  for (int32_t dy = -radius; dy <= radius; ++dy) {
    int32_t dx = 0;
    while (int64_t{2} * (dx + 1) * 2 * (dx + 1) + int64_t{2} * dy * 2 * dy <= limit) ++dx;
    reach.push_back(dx);
  }
  return reach;
}

// Calls point(x, y) for the pixels of the line from (x0, y0) to (x1, y1), the end included.
template <typename Fn>
void WalkLine(int32_t x0, int32_t y0, int32_t x1, int32_t y1, Fn&& point) {
  const int64_t dx = std::llabs(static_cast<int64_t>(x1) - x0);
  const int64_t dy = -std::llabs(static_cast<int64_t>(y1) - y0);
  const int32_t step_x = x0 < x1 ? 1 : -1;
  const int32_t step_y = y0 < y1 ? 1 : -1;
  int64_t error = dx + dy;
  for (;;) {
    point(x0, y0);
    if (x0 == x1 && y0 == y1) return;
    const int64_t twice = 2 * error;
    if (twice >= dy) {
      error += dy;
      x0 += step_x;
    }
    if (twice <= dx) {
      error += dx;
      y0 += step_y;
    }
  }
}

// Lines far longer than any picture are first cut to a box around the picture, so that a wild
// coordinate cannot make the walk run for billions of steps. Ordinary lines are walked whole,
// which keeps their pixels exact.
constexpr int64_t kLongestWalk = 1 << 20;

bool CutToBox(const DeviceContext& dc, int32_t margin, int32_t& x0, int32_t& y0, int32_t& x1, int32_t& y1) {
  if (std::llabs(static_cast<int64_t>(x1) - x0) <= kLongestWalk && std::llabs(static_cast<int64_t>(y1) - y0) <= kLongestWalk) {
    return true;
  }
  const double box[4] = {-1.0 - margin, -1.0 - margin, dc.surface->width + 1.0 + margin,
                         dc.surface->height + 1.0 + margin};
  const double dx = static_cast<double>(x1) - x0;
  const double dy = static_cast<double>(y1) - y0;
  double enter = 0.0;
  double leave = 1.0;
  const double p[4] = {-dx, dx, -dy, dy};
  const double q[4] = {x0 - box[0], box[2] - x0, y0 - box[1], box[3] - y0};
  for (int i = 0; i < 4; ++i) {
    if (p[i] == 0.0) {
      if (q[i] < 0.0) return false;
      continue;
    }
    const double t = q[i] / p[i];
    if (p[i] < 0.0) {
      enter = std::max(enter, t);
    } else {
      leave = std::min(leave, t);
    }
  }
  if (enter > leave) return false;
  const double start_x = x0 + enter * dx, start_y = y0 + enter * dy;
  x1 = static_cast<int32_t>(std::lround(x0 + leave * dx));
  y1 = static_cast<int32_t>(std::lround(y0 + leave * dy));
  x0 = static_cast<int32_t>(std::lround(start_x));
  y0 = static_cast<int32_t>(std::lround(start_y));
  return true;
}

// Strokes from (x0, y0) to (x1, y1) with the context's pen; see LineTo in gdi.h.
void Stroke(const DeviceContext& dc, int32_t x0, int32_t y0, int32_t x1, int32_t y1) {
  const GdiPen& pen = *dc.pen;
  if (pen.style == PS_NULL) return;
  const PixelBytes pixel = SolidPixelFor(dc, pen.colour);
  const int32_t end_x = x1, end_y = y1;
  if (!CutToBox(dc, pen.width, x0, y0, x1, y1)) return;
  if (pen.width <= 1) {
    WalkLine(x0, y0, x1, y1, [&](int32_t x, int32_t y) {
      if (x == end_x && y == end_y) return;
      if (dc.Visible(x, y)) FillRun(*dc.surface, y, x, x + 1, pixel);
    });
    return;
  }
  const std::vector<int32_t> tip = PenTip(pen.width);
  const int32_t radius = pen.width / 2;
  WalkLine(x0, y0, x1, y1, [&](int32_t x, int32_t y) {
    // A tip that cannot reach the picture is skipped, which also keeps the edge arithmetic below
    // inside 32 bits for points near the ends of the range.
    if (x < -radius - 1 || y < -radius - 1 || static_cast<int64_t>(x) > int64_t{dc.surface->width} + radius ||
        static_cast<int64_t>(y) > int64_t{dc.surface->height} + radius) {
      return;
    }
    for (int32_t row = 0; row < static_cast<int32_t>(tip.size()); ++row) {
      const int32_t ty = y - radius + row;
      FillArea(dc, RECT{x - tip[row], ty, x + tip[row] + 1, ty + 1}, pixel);
    }
  });
}

}  // namespace

bool Rectangle(HDC dc, int32_t left, int32_t top, int32_t right, int32_t bottom) {
  if (dc == nullptr) return false;
  if (left > right) std::swap(left, right);
  if (top > bottom) std::swap(top, bottom);
  if (left == right || top == bottom) return true;
  const bool outlined = dc->pen->style != PS_NULL;
  if (!dc->brush->hollow) {
    const RECT inside = outlined ? RECT{left + 1, top + 1, right - 1, bottom - 1} : RECT{left, top, right, bottom};
    FillArea(*dc, inside, SolidPixelFor(*dc, dc->brush->colour));
  }
  if (!outlined) return true;
  if (dc->pen->width <= 1) {
    const PixelBytes pixel = SolidPixelFor(*dc, dc->pen->colour);
    FillArea(*dc, RECT{left, top, right, top + 1}, pixel);
    FillArea(*dc, RECT{left, bottom - 1, right, bottom}, pixel);
    FillArea(*dc, RECT{left, top, left + 1, bottom}, pixel);
    FillArea(*dc, RECT{right - 1, top, right, bottom}, pixel);
    return true;
  }
  Stroke(*dc, left, top, right - 1, top);
  Stroke(*dc, right - 1, top, right - 1, bottom - 1);
  Stroke(*dc, right - 1, bottom - 1, left, bottom - 1);
  Stroke(*dc, left, bottom - 1, left, top);
  return true;
}

bool FrameRect(HDC dc, const RECT* rect, HBRUSH brush) {
  if (dc == nullptr || rect == nullptr || brush == nullptr) return false;
  if (brush->hollow || rect->left >= rect->right || rect->top >= rect->bottom) return true;
  const PixelBytes pixel = SolidPixelFor(*dc, brush->colour);
  const RECT& r = *rect;
  FillArea(*dc, RECT{r.left, r.top, r.right, r.top + 1}, pixel);
  FillArea(*dc, RECT{r.left, r.bottom - 1, r.right, r.bottom}, pixel);
  FillArea(*dc, RECT{r.left, r.top, r.left + 1, r.bottom}, pixel);
  FillArea(*dc, RECT{r.right - 1, r.top, r.right, r.bottom}, pixel);
  return true;
}

bool MoveToEx(HDC dc, int32_t x, int32_t y, POINT* old) {
  if (dc == nullptr) return false;
  if (old != nullptr) *old = dc->position;
  dc->position = {x, y};
  return true;
}

bool LineTo(HDC dc, int32_t x, int32_t y) {
  if (dc == nullptr) return false;
  Stroke(*dc, dc->position.x, dc->position.y, x, y);
  dc->position = {x, y};
  return true;
}

}  // namespace platform
