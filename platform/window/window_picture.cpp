#include "platform/window/window_picture.h"

#include <algorithm>
#include <cstring>

namespace platform::internal {

namespace {

struct ClipRect {
  int32_t left, top, right, bottom;
};

// Copies `source` with its top-left corner at (x, y) of `out`, inside `clip`.
void CopyClipped(const Surface& source, int32_t x, int32_t y, const ClipRect& clip, Surface* out) {
  const int32_t left = std::max({x, clip.left, 0});
  const int32_t top = std::max({y, clip.top, 0});
  const int32_t right = std::min({x + source.width, clip.right, out->width});
  const int32_t bottom = std::min({y + source.height, clip.bottom, out->height});
  if (left >= right || top >= bottom) return;
  const size_t bytes = static_cast<size_t>(right - left) * 3;
  for (int32_t row = top; row < bottom; ++row) {
    std::memcpy(out->Row(row) + static_cast<size_t>(left) * 3,
                source.Row(row - y) + static_cast<size_t>(left - x) * 3, bytes);
  }
}

// Composes the shown children of `window`, whose client area sits at (x, y) of `out` clipped to `clip`.
void ComposeChildren(const Window& window, int32_t x, int32_t y, const ClipRect& clip, Surface* out) {
  for (HWND child_handle : window.children) {
    const auto child = FindWindowRecord(child_handle);
    if (!child || !child->visible || !child->surface) continue;
    const int32_t child_x = x + child->rect.left;
    const int32_t child_y = y + child->rect.top;
    const ClipRect child_clip{std::max(clip.left, child_x), std::max(clip.top, child_y),
                              std::min(clip.right, child_x + child->client_width),
                              std::min(clip.bottom, child_y + child->client_height)};
    if (child_clip.left >= child_clip.right || child_clip.top >= child_clip.bottom) continue;
    CopyClipped(*child->surface, child_x, child_y, child_clip, out);
    ComposeChildren(*child, child_x, child_y, child_clip, out);
  }
}

}  // namespace

void ComposeWindowPicture(const Window& window, bool with_menu_band, Surface* out) {
  const int32_t band = (with_menu_band && window.menu_band) ? window.menu_band->height : 0;
  const int32_t width = window.client_width;
  const int32_t height = window.client_height + band;
  if (out->width != width || out->height != height) {
    out->width = width;
    out->height = height;
    out->pixels.assign(static_cast<size_t>(width) * height * 3, 0);
  }
  const ClipRect all{0, 0, width, height};
  if (band > 0) CopyClipped(*window.menu_band, 0, 0, all, out);
  if (!window.surface) return;
  const ClipRect client{0, band, width, height};
  CopyClipped(*window.surface, 0, band, client, out);
  ComposeChildren(window, 0, band, client, out);
}

std::optional<RowRange> ChangedRows(const Surface& before, const Surface& after) {
  if (before.width != after.width || before.height != after.height) return RowRange{0, after.height};
  const size_t stride = after.Stride();
  int32_t first = 0;
  while (first < after.height && std::memcmp(before.Row(first), after.Row(first), stride) == 0) ++first;
  if (first == after.height) return std::nullopt;
  int32_t end = after.height;
  while (end > first + 1 && std::memcmp(before.Row(end - 1), after.Row(end - 1), stride) == 0) --end;
  return RowRange{first, end};
}

}  // namespace platform::internal
