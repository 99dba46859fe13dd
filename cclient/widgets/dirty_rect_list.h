// The rectangles of the back buffer that changed in one frame, which the owner copies to the
// window. Widgets append to the owner's list as they erase and draw; the owner empties it at the
// start of each frame.
//
// Rectangles are in the widgets' convention: right and bottom inclusive (right = x + width - 1).
// A rectangle with left >= right or top >= bottom is empty and never kept.
//
// The list holds a fixed number of rectangles. One more than that marks it overflowed: the owner
// then copies the whole back buffer instead. UI thread only.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "platform/draw/gdi_types.h"

class DirtyRectList {
 public:
  explicit DirtyRectList(int32_t capacity);

  // Keeps a non-empty rectangle, or marks the list overflowed when it is full.
  void Add(const platform::RECT& rect);
  // Empties the list and clears the overflow mark.
  void Clear();

  bool Overflowed() const { return overflowed_; }
  int32_t Count() const { return static_cast<int32_t>(rects_.size()); }
  int32_t Capacity() const { return capacity_; }
  const platform::RECT& operator[](int32_t index) const { return rects_[static_cast<size_t>(index)]; }
  // For painters that grow rectangles they reported earlier in the same frame.
  platform::RECT& At(int32_t index) { return rects_[static_cast<size_t>(index)]; }

  static bool IsEmpty(const platform::RECT& rect) { return rect.left >= rect.right || rect.top >= rect.bottom; }

 private:
  int32_t capacity_;
  bool overflowed_ = false;
  std::vector<platform::RECT> rects_;
};
