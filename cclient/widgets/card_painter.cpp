#include "cclient/widgets/card_painter.h"

#include <algorithm>

#include "cclient/widgets/card_bevel.h"

namespace {

platform::SIZE shared_back_size{0, 0};

}  // namespace

bool CardPainter::Load(const CardSheet* sheet, const char* back_file, int32_t bevel) {
  sheet_ = sheet;
  ReleaseBitmapFile(&back_);
  if (!LoadBitmapFile(back_file, &back_)) return false;
  shared_back_size = GetBitmapFileSize(back_);
  bevel_ = bevel;
  return true;
}

void CardPainter::Release() { ReleaseBitmapFile(&back_); }

platform::SIZE CardPainter::SharedBackSize() { return shared_back_size; }

platform::SIZE CardPainter::Draw(platform::HDC dc, int32_t x, int32_t y, int32_t card, bool use_sheet_back,
                                 int32_t bottom_y) const {
  if (!IsCardFace(card) && !use_sheet_back && back_.dc != nullptr) {
    DrawSteppedCard(dc, x, y, shared_back_size.cx, shared_back_size.cy, back_.dc, 0, 0, bevel_);
    return shared_back_size;
  }
  if (bottom_y == -1) {
    if (sheet_ != nullptr) sheet_->DrawCard(dc, x, y, card);
    return {CardSheet::kCardWidth, CardSheet::kCardHeight};
  }
  if (y <= bottom_y) {
    const int32_t height = bottom_y - y + 1;
    if (sheet_ != nullptr) sheet_->DrawCardTop(dc, x, y, card, height);
    return {CardSheet::kCardWidth, std::min(height, CardSheet::kCardHeight)};
  }
  return {0, 0};
}

uint64_t CardPainter::GetDrawSize(int32_t y, int32_t card, bool use_sheet_back, int32_t bottom_y) {
  if (!IsCardFace(card) && !use_sheet_back) return PackDrawSize(shared_back_size.cx, shared_back_size.cy);
  if (bottom_y == -1) return PackDrawSize(CardSheet::kCardWidth, CardSheet::kCardHeight);
  if (y <= bottom_y) return PackDrawSize(CardSheet::kCardWidth, std::min(bottom_y - y + 1, CardSheet::kCardHeight));
  return 0;
}
