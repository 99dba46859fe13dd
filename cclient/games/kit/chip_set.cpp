#include "cclient/games/kit/chip_set.h"

bool ChipSet::Load(const char* file, const int32_t* values, int32_t count, int32_t width, int32_t height,
                   platform::COLORREF key, TransparentDraw* drawer) {
  if (strip_.dc == nullptr && !LoadBitmapFile(file, &strip_)) return false;
  if (count > kMaxKinds) count = kMaxKinds;
  for (int32_t i = 0; i < count; ++i) {
    images_[i] = std::make_unique<ChipImage>(values[i]);
    images_[i]->SetFromStrip(&strip_.dc, width, height, width * i, 0, key, drawer);
    pointers_[i] = images_[i].get();
  }
  count_ = count;
  return true;
}

void ChipSet::Release() {
  for (auto& image : images_) image.reset();
  for (auto& pointer : pointers_) pointer = nullptr;
  ReleaseBitmapFile(&strip_);
  count_ = 0;
}
