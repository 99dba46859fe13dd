#include "cclient/widgets/black_jack_card.h"

#include <cstdio>
#include <cstring>

#include "cclient/widgets/bmp_reader.h"
#include "cclient/widgets/card_bevel.h"

namespace {

void CopyName(const char* name, char (&field)[BlackJackCard::kNameBytes]) {
  std::strncpy(field, name, sizeof field - 1);
  field[sizeof field - 1] = '\0';
}

}  // namespace

BlackJackCard::~BlackJackCard() {
  std::FILE* log = nullptr;
  if (log_release_) {
    char name[40];
    std::snprintf(name, sizeof name, "BlackJackCard%d.log", static_cast<int>(log_index_));
    log = std::fopen(name, "wb");
  }
  if (log != nullptr) std::fputs("start...\r\n", log);
  Release();
  if (log != nullptr) {
    std::fputs("end...\r\n", log);
    std::fclose(log);
  }
}

bool BlackJackCard::Load(const char* faces_file, const char* back_file, int32_t radius) {
  if (faces_file != nullptr && faces_file[0] != '\0') {
    CopyName(faces_file, faces_name_);
    ReleaseBitmapFile(&faces_);
    (void)LoadBitmapFile(faces_name_, &faces_);
  }
  if (back_file != nullptr && back_file[0] != '\0') {
    CopyName(back_file, back_name_);
    ReleaseBitmapFile(&back_);
    // The raw pixels belong to the back they were read from.
    FreeBmp(&raw_back_);
    back_read_ = false;
    cell_width_ = 0;
    cell_height_ = 0;
    if (LoadBitmapFile(back_name_, &back_)) {
      const platform::SIZE size = GetBitmapFileSize(back_);
      cell_width_ = size.cx;
      cell_height_ = size.cy;
    }
  }
  radius_ = radius;
  return true;
}

bool BlackJackCard::AttachSheet(const CardSheet* sheet) {
  sheet_ = sheet;
  return sheet != nullptr;
}

const uint8_t* BlackJackCard::GetBackPixels() {
  if (back_read_) return raw_back_;
  back_read_ = true;
  int32_t width = 0;
  int32_t height = 0;
  int32_t bits = 0;
  if (LoadBmp(back_name_, &width, &height, &bits, &raw_back_) == LOADBMP_OK &&
      (bits != 24 || width != cell_width_ || height != cell_height_)) {
    // Whoever takes these pixels reads a card of the cell size at 3 bytes a pixel.
    FreeBmp(&raw_back_);
  }
  return raw_back_;
}

void BlackJackCard::DrawCard(platform::HDC dc, int32_t x, int32_t y, int32_t card) const {
  if (sheet_ != nullptr) {
    sheet_->DrawCard(dc, x, y, card);
  } else if (IsCardFace(card)) {
    DrawSteppedCard(dc, x, y, cell_width_, cell_height_, faces_.dc, (card % kCardSheetColumns) * cell_width_,
                    (card / kCardSheetColumns) * cell_height_, radius_);
  } else {
    DrawSteppedCard(dc, x, y, cell_width_, cell_height_, back_.dc, 0, 0, radius_);
  }
}

void BlackJackCard::Release() {
  ReleaseBitmapFile(&faces_);
  ReleaseBitmapFile(&back_);
  FreeBmp(&raw_back_);
  back_read_ = false;
}
