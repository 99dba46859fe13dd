#include "platform/controls/list_navigation.h"

#include <algorithm>

#include "platform/window/virtual_keys.h"

namespace platform::controls {

std::optional<int> RowAfterKey(int key, int current, int page, int count) {
  if (count == 0) return std::nullopt;
  const int step = std::max(1, page - 1);
  int row = current;
  switch (key) {
    case VK_UP: row = current < 0 ? 0 : current - 1; break;
    case VK_DOWN: row = current < 0 ? 0 : current + 1; break;
    case VK_PRIOR: row = current - step; break;
    case VK_NEXT: row = current + step; break;
    case VK_HOME: row = 0; break;
    case VK_END: row = count - 1; break;
    default: return std::nullopt;
  }
  return std::clamp(row, 0, count - 1);
}

int TopShowing(int row, int top, int page) {
  if (row < 0) return top;
  if (row < top) top = row;
  if (row >= top + page) top = row - page + 1;
  return top;
}

int ClampTop(int top, int count, int page) { return std::clamp(top, 0, std::max(0, count - page)); }

void FollowInsert(int* row, int inserted) {
  if (inserted >= 0 && *row >= inserted) ++*row;
}

void FollowRemove(int* row, int removed) {
  if (*row == removed) {
    *row = -1;
  } else if (*row > removed) {
    --*row;
  }
}

}  // namespace platform::controls
