#include "cclient/widgets/dirty_rect_list.h"

DirtyRectList::DirtyRectList(int32_t capacity) : capacity_(capacity > 0 ? capacity : 0) {
  rects_.reserve(static_cast<size_t>(capacity_));
}

void DirtyRectList::Add(const platform::RECT& rect) {
  if (IsEmpty(rect)) return;
  if (Count() >= capacity_) {
    overflowed_ = true;
    return;
  }
  rects_.push_back(rect);
}

void DirtyRectList::Clear() {
  rects_.clear();
  overflowed_ = false;
}
