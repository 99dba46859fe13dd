// Inside the window core: the picture a window shows, made from its own picture and its children's.
#pragma once

#include <optional>

#include "platform/draw/surface.h"
#include "platform/window/window_table.h"

namespace platform::internal {

// The window's client picture with every shown child composed over it (later children over
// earlier ones, each clipped to its parent's client area). For a top-level window with a menu the
// band comes first, above the client area. `out` is resized as needed.
void ComposeWindowPicture(const Window& window, bool with_menu_band, Surface* out);

// The rows [first, end) that differ between two pictures of the same size, first to last
// differing row; nullopt when they are the same. Pictures of different sizes differ everywhere.
struct RowRange {
  int32_t first = 0;
  int32_t end = 0;
};
std::optional<RowRange> ChangedRows(const Surface& before, const Surface& after);

}  // namespace platform::internal
