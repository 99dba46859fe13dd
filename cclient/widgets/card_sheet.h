// A card sheet: the 56 x 78 cards from which the table painters draw and the card sprites take
// their pixels. Two global sheets exist (the first, and the second that the Hold'em painter
// draws from); the main window loads them at start-up and when the deck options change.
//
// Besides the drawable face sheet and back, a sheet keeps the face sheet's raw pixels: 13 x 56 =
// 728 by 4 x 78 = 312 pixels at 24 bits, rows bottom-up, 2,184 bytes per row. A card sprite
// borrows one card's cell of them (CellPixels) with that row stride. A faces file of any other
// size or depth draws as it is but gives no raw pixels.
//
// UI thread only.
#pragma once

#include <cstdint>

#include "cclient/widgets/bitmap_file.h"
#include "platform/draw/gdi.h"

class CardSheet {
 public:
  static constexpr int32_t kCardWidth = 56;
  static constexpr int32_t kCardHeight = 78;
  static constexpr int32_t kSheetWidth = kCardWidth * 13;
  static constexpr int32_t kSheetHeight = kCardHeight * 4;
  static constexpr int32_t kRowStride = kSheetWidth * 3;

  CardSheet() = default;
  ~CardSheet() { Free(); }
  CardSheet(const CardSheet&) = delete;
  CardSheet& operator=(const CardSheet&) = delete;

  // Frees, loads both files for drawing, then reads the faces file's raw pixels. Files that do not
  // load leave their parts empty; the result is always none.
  const char* Load(const char* faces_file, const char* back_file);
  void Free();

  // Rows 0 and 77 are 52 wide at x + 2, rows 1 and 76 54 wide at x + 1, rows 2 to 75 56 wide.
  void DrawCard(platform::HDC dc, int32_t x, int32_t y, int32_t card) const;
  // Only the top `height` rows of the card (capped at 78), each with its inset in the whole card;
  // nothing for a height of 0 or less. For cards that lie under others.
  void DrawCardTop(platform::HDC dc, int32_t x, int32_t y, int32_t card, int32_t height) const;

  // The raw face sheet (kSheetHeight rows of kRowStride bytes, bottom row first), or null.
  const uint8_t* RawFaces() const { return raw_faces_; }
  // Where card `card`'s cell begins in the raw pixels: its bottom row, read upwards with a stride
  // of kRowStride. Null without raw pixels or for an index that is not a face.
  const uint8_t* CellPixels(int32_t card) const;

 private:
  BitmapFile faces_;
  BitmapFile back_;
  uint8_t* raw_faces_ = nullptr;
};

// The program's first and second sheets (which = 0 or 1; anything else gives the first).
CardSheet& GlobalCardSheet(int32_t which);
