// The card set of a Seven Card Stud or Black Jack card animator: a back picture (whose size is the
// animator's card size), optional faces of the same cell size, a corner radius, and the back's
// raw pixels, read on demand for the back's card sprite. With a card sheet attached, cards are
// drawn from the sheet instead.
//
// One per animator, living inside its game object. UI thread only.
#pragma once

#include <cstdint>

#include "cclient/widgets/bitmap_file.h"
#include "cclient/widgets/card_sheet.h"
#include "platform/draw/gdi.h"

class BlackJackCard {
 public:
  static constexpr int32_t kNameBytes = 20;  // 19 characters and the terminator

  BlackJackCard() = default;
  ~BlackJackCard();
  BlackJackCard(const BlackJackCard&) = delete;
  BlackJackCard& operator=(const BlackJackCard&) = delete;

  // A faces or back file name that is not null or empty is remembered (cut to 19 characters) and
  // its picture loaded in place of any earlier one; a back that loads gives the cell size. The
  // radius is kept in every case. Always true: a picture that does not load leaves its part empty.
  bool Load(const char* faces_file, const char* back_file, int32_t radius);
  // Faces are drawn from the sheet from then on; true when it is not null.
  bool AttachSheet(const CardSheet* sheet);
  platform::SIZE GetCardSize() const { return {cell_width_, cell_height_}; }
  // The back file's raw pixels (cell width x cell height x 3 bytes, rows bottom-up), read on the
  // first call and kept. Null when the file does not read as a 24-bit picture of the cell size.
  const uint8_t* GetBackPixels();
  // With a sheet attached the sheet's card; else the stepped bevel of the radius over the cell
  // size: a face from its cell of the faces picture, any other index the back. A set without a
  // back has a 0 x 0 cell and draws nothing.
  void DrawCard(platform::HDC dc, int32_t x, int32_t y, int32_t card) const;
  void Release();

  // When set, the destructor writes "start..." and "end..." around the release into
  // "BlackJackCard<index>.log", made afresh.
  void SetReleaseLog(bool on, int32_t index) {
    log_release_ = on;
    log_index_ = index;
  }

 private:
  const CardSheet* sheet_ = nullptr;
  BitmapFile faces_;
  BitmapFile back_;
  int32_t radius_ = 0;
  int32_t cell_width_ = 0;
  int32_t cell_height_ = 0;
  char faces_name_[kNameBytes] = {};
  char back_name_[kNameBytes] = {};
  uint8_t* raw_back_ = nullptr;
  bool back_read_ = false;
  bool log_release_ = false;
  int32_t log_index_ = 0;
};
