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

struct RowRange {
  int32_t first = 0;
  int32_t end = 0;
};

// The same for the rows [rows.first, rows.end) of the composed picture only: row 0 of `out` (as
// wide as the window's client area, at least as high as the rows) takes the composed row
// rows.first. Rows of `out` that no picture covers are left alone.
void ComposeWindowRows(const Window& window, bool with_menu_band, RowRange rows, Surface* out);

// The rows of the composed picture (with the menu band when `with_menu_band`) that were drawn into
// since the last call, over the window's own pictures and those of its shown children; nullopt
// when nothing was drawn. Forgets what it reports, also for hidden children.
std::optional<RowRange> TakeDrawnRows(Window& window, bool with_menu_band);

// The rows [first, end) that differ between two pictures of the same size, first to last
// differing row; nullopt when they are the same. Pictures of different sizes differ everywhere.
std::optional<RowRange> ChangedRows(const Surface& before, const Surface& after);

}  // namespace platform::internal
