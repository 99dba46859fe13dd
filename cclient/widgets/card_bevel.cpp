#include "cclient/widgets/card_bevel.h"

#include <algorithm>

void DrawSteppedCardRows(platform::HDC destination, int32_t x, int32_t y, int32_t width, int32_t height,
                         int32_t rows, platform::HDC source, int32_t source_x, int32_t source_y, int32_t step) {
  if (destination == nullptr || source == nullptr || width <= 0 || height <= 0 || rows <= 0) return;
  rows = std::min(rows, height);
  step = std::max(step, 0);
  // Rows [step, height - step) are full width; they are copied as one block.
  const int32_t block_top = std::min(step, height);
  const int32_t block_end = std::max(block_top, height - step);
  int32_t row = 0;
  while (row < rows) {
    if (row >= block_top && row < block_end) {
      const int32_t end = std::min(block_end, rows);
      platform::BitBlt(destination, x, y + row, width, end - row, source, source_x, source_y + row,
                       platform::SRCCOPY);
      row = end;
      continue;
    }
    const int32_t inset = step - std::min(row, height - 1 - row);
    if (width - 2 * inset > 0) {
      platform::BitBlt(destination, x + inset, y + row, width - 2 * inset, 1, source, source_x + inset,
                       source_y + row, platform::SRCCOPY);
    }
    ++row;
  }
}
