// A table's chip pictures: one strip picture cut into the kinds of chip, each with its value, the
// strip's key colour transparent. The chip piles of the table draw with Images().
//
// UI thread only. The pictures live until Release (or the set's end).
#pragma once

#include <cstdint>
#include <memory>

#include "cclient/widgets/bitmap_file.h"
#include "cclient/widgets/chip_image.h"
#include "platform/draw/gdi.h"

class TransparentDraw;

class ChipSet {
 public:
  static constexpr int32_t kMaxKinds = 15;

  ChipSet() = default;
  ~ChipSet() { Release(); }
  ChipSet(const ChipSet&) = delete;
  ChipSet& operator=(const ChipSet&) = delete;

  // Cuts `count` chips of `width` x `height`, side by side from the left, out of the strip `file`
  // (loaded on the first call and kept); `values` are the kinds' values, smallest first. False
  // when the strip does not load (the kinds stay as they were).
  bool Load(const char* file, const int32_t* values, int32_t count, int32_t width, int32_t height,
            platform::COLORREF key, TransparentDraw* drawer);
  void Release();

  ChipImage* const* Images() const { return pointers_; }
  int32_t Count() const { return count_; }

 private:
  BitmapFile strip_;
  std::unique_ptr<ChipImage> images_[kMaxKinds];
  ChipImage* pointers_[kMaxKinds] = {};
  int32_t count_ = 0;
};
