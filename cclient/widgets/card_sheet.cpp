#include "cclient/widgets/card_sheet.h"

#include "cclient/widgets/bmp_reader.h"
#include "cclient/widgets/card_bevel.h"

namespace {

constexpr int32_t kBevelStep = 2;

}  // namespace

const char* CardSheet::Load(const char* faces_file, const char* back_file) {
  Free();
  (void)LoadBitmapFile(faces_file, &faces_);
  (void)LoadBitmapFile(back_file, &back_);
  int32_t width = 0;
  int32_t height = 0;
  int32_t bits = 0;
  if (LoadBmp(faces_file, &width, &height, &bits, &raw_faces_) == LOADBMP_OK &&
      (width != kSheetWidth || height != kSheetHeight || bits != 24)) {
    // The sprites read cells at fixed offsets of a sheet of exactly this layout.
    FreeBmp(&raw_faces_);
  }
  return nullptr;
}

void CardSheet::Free() {
  ReleaseBitmapFile(&faces_);
  ReleaseBitmapFile(&back_);
  FreeBmp(&raw_faces_);
}

void CardSheet::DrawCard(platform::HDC dc, int32_t x, int32_t y, int32_t card) const {
  DrawCardTop(dc, x, y, card, kCardHeight);
}

void CardSheet::DrawCardTop(platform::HDC dc, int32_t x, int32_t y, int32_t card, int32_t height) const {
  if (IsCardFace(card)) {
    DrawSteppedCardRows(dc, x, y, kCardWidth, kCardHeight, height, faces_.dc, (card % kCardSheetColumns) * kCardWidth,
                        (card / kCardSheetColumns) * kCardHeight, kBevelStep);
  } else {
    DrawSteppedCardRows(dc, x, y, kCardWidth, kCardHeight, height, back_.dc, 0, 0, kBevelStep);
  }
}

const uint8_t* CardSheet::CellPixels(int32_t card) const {
  if (raw_faces_ == nullptr || !IsCardFace(card)) return nullptr;
  const int32_t sheet_row_from_bottom = kCardSheetRows - 1 - card / kCardSheetColumns;
  return raw_faces_ + static_cast<size_t>(sheet_row_from_bottom) * kCardHeight * kRowStride +
         static_cast<size_t>(card % kCardSheetColumns) * kCardWidth * 3;
}

CardSheet& GlobalCardSheet(int32_t which) {
  static CardSheet sheets[2];
  return sheets[which == 1 ? 1 : 0];
}
