// The card painter of a Hold'em, Omaha or Guts table: faces come from a card sheet, the back from
// the table's own back picture ("4000.b") drawn with a stepped bevel. The card dealer paints every
// card through it.
//
// The back's size is kept process-wide, shared by all painters (the last one loaded sets it), so
// that GetDrawSize needs no painter. One painter per game object. UI thread only.
#pragma once

#include <cstdint>

#include "cclient/widgets/bitmap_file.h"
#include "cclient/widgets/card_sheet.h"
#include "platform/draw/gdi.h"

class CardPainter {
 public:
  CardPainter() = default;
  ~CardPainter() { Release(); }
  CardPainter(const CardPainter&) = delete;
  CardPainter& operator=(const CardPainter&) = delete;

  // Keeps the sheet and loads the back picture; false when it does not load. Sets the shared back
  // size.
  [[nodiscard]] bool Load(const CardSheet* sheet, const char* back_file, int32_t bevel);
  void Release();

  // Paints one card and returns the size painted:
  //   - a card that is not a face, without `use_sheet_back`, on a painter with a back: the back
  //     picture with the painter's bevel; the shared back size;
  //   - else with `bottom_y` -1: the sheet's card (its own back for other indexes); 56 x 78;
  //   - else when y <= bottom_y: the top bottom_y - y + 1 rows of the sheet's card; 56 by that
  //     height, at most 78;
  //   - else nothing; 0 x 0.
  platform::SIZE Draw(platform::HDC dc, int32_t x, int32_t y, int32_t card, bool use_sheet_back,
                      int32_t bottom_y) const;
  // The size Draw reports for the same arguments (the first case not asking whether a back was
  // loaded), width in the low and height in the high 32 bits.
  static uint64_t GetDrawSize(int32_t y, int32_t card, bool use_sheet_back, int32_t bottom_y);

  static platform::SIZE SharedBackSize();
  const CardSheet* Sheet() const { return sheet_; }

 private:
  const CardSheet* sheet_ = nullptr;
  BitmapFile back_;
  int32_t bevel_ = 0;
};

inline uint64_t PackDrawSize(int32_t width, int32_t height) {
  return static_cast<uint32_t>(width) | (static_cast<uint64_t>(static_cast<uint32_t>(height)) << 32);
}
inline platform::SIZE UnpackDrawSize(uint64_t packed) {
  return {static_cast<int32_t>(static_cast<uint32_t>(packed)), static_cast<int32_t>(packed >> 32)};
}
