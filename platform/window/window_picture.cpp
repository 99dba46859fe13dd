#include "platform/window/window_picture.h"

#include <algorithm>
#include <cstring>

namespace platform::internal {

namespace {

struct ClipRect {
  int32_t left, top, right, bottom;
};

// Where composed rows go: row `row` of the composed picture is row `row - first_row` of `out`.
struct Target {
  Surface* out;
  int32_t first_row;
};

// Copies `source` with its top-left corner at (x, y) of the composed picture, inside `clip`.
void CopyClipped(const Surface& source, int32_t x, int32_t y, const ClipRect& clip, const Target& target) {
  Surface& out = *target.out;
  const int32_t left = std::max({x, clip.left, 0});
  const int32_t top = std::max({y, clip.top, target.first_row});
  const int32_t right = std::min({x + source.width, clip.right, out.width});
  const int32_t bottom = std::min({y + source.height, clip.bottom, target.first_row + out.height});
  if (left >= right || top >= bottom) return;
  const size_t bytes = static_cast<size_t>(right - left) * 3;
  for (int32_t row = top; row < bottom; ++row) {
    std::memcpy(out.Row(row - target.first_row) + static_cast<size_t>(left) * 3,
                source.Row(row - y) + static_cast<size_t>(left - x) * 3, bytes);
  }
}

// Composes the shown children of `window`, whose client area sits at (x, y) of the composed
// picture, clipped to `clip`.
void ComposeChildren(const Window& window, int32_t x, int32_t y, const ClipRect& clip, const Target& target) {
  for (HWND child_handle : window.children) {
    const auto child = FindWindowRecord(child_handle);
    if (!child || !child->visible || !child->surface) continue;
    const int32_t child_x = x + child->rect.left;
    const int32_t child_y = y + child->rect.top;
    const ClipRect child_clip{std::max(clip.left, child_x), std::max(clip.top, child_y),
                              std::min(clip.right, child_x + child->client_width),
                              std::min(clip.bottom, child_y + child->client_height)};
    if (child_clip.left >= child_clip.right || child_clip.top >= child_clip.bottom) continue;
    CopyClipped(*child->surface, child_x, child_y, child_clip, target);
    ComposeChildren(*child, child_x, child_y, child_clip, target);
  }
}

int32_t BandHeight(const Window& window, bool with_menu_band) {
  return (with_menu_band && window.menu_band) ? window.menu_band->height : 0;
}

void Widen(std::optional<RowRange>* range, int32_t first, int32_t end) {
  if (first >= end) return;
  if (!*range) {
    *range = RowRange{first, end};
    return;
  }
  (*range)->first = std::min((*range)->first, first);
  (*range)->end = std::max((*range)->end, end);
}

// Takes the drawn rows of `window`'s picture and of its children's, whose client area sits at row
// `y` of the composed picture, clipped to the rows [clip_top, clip_bottom); `shown` is false under
// a hidden window, whose rows are forgotten without being reported.
void TakeDrawnRowsOf(Window& window, int32_t y, int32_t clip_top, int32_t clip_bottom, bool shown,
                     std::optional<RowRange>* range) {
  if (window.surface) {
    int32_t first = 0;
    int32_t end = 0;
    if (window.surface->TakeDrawnRows(&first, &end) && shown) {
      Widen(range, std::max(y + first, clip_top), std::min(y + end, clip_bottom));
    }
  }
  for (HWND child_handle : window.children) {
    const auto child = FindWindowRecord(child_handle);
    if (!child) continue;
    const int32_t child_y = y + child->rect.top;
    TakeDrawnRowsOf(*child, child_y, std::max(clip_top, child_y),
                    std::min(clip_bottom, child_y + child->client_height), shown && child->visible, range);
  }
}

}  // namespace

void ComposeWindowPicture(const Window& window, bool with_menu_band, Surface* out) {
  const int32_t width = window.client_width;
  const int32_t height = window.client_height + BandHeight(window, with_menu_band);
  if (out->width != width || out->height != height) {
    out->width = width;
    out->height = height;
    out->pixels.assign(static_cast<size_t>(width) * height * 3, 0);
  }
  ComposeWindowRows(window, with_menu_band, RowRange{0, height}, out);
}

void ComposeWindowRows(const Window& window, bool with_menu_band, RowRange rows, Surface* out) {
  const int32_t band = BandHeight(window, with_menu_band);
  const int32_t width = window.client_width;
  const Target target{out, rows.first};
  const int32_t top = std::max(rows.first, 0);
  const int32_t bottom = rows.end;
  if (band > 0) CopyClipped(*window.menu_band, 0, 0, ClipRect{0, top, width, std::min(bottom, band)}, target);
  if (!window.surface) return;
  const ClipRect client{0, std::max(top, band), width, bottom};
  if (client.top >= client.bottom) return;
  CopyClipped(*window.surface, 0, band, client, target);
  ComposeChildren(window, 0, band, client, target);
}

std::optional<RowRange> TakeDrawnRows(Window& window, bool with_menu_band) {
  const int32_t band = BandHeight(window, with_menu_band);
  std::optional<RowRange> range;
  if (window.menu_band) {
    int32_t first = 0;
    int32_t end = 0;
    if (window.menu_band->TakeDrawnRows(&first, &end) && band > 0) Widen(&range, first, end);
  }
  TakeDrawnRowsOf(window, band, band, band + window.client_height, true, &range);
  return range;
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
