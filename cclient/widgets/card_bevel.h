// The stepped corners every card set draws with: a card is copied in a few row copies that leave
// its corners out, so that the felt shows through them.
//
// With a step r, row t of the top r rows is inset by r - t pixels on both sides, the rows between
// are copied whole in one block, and the bottom r rows mirror the top ones. Every copy takes the
// same position within the source cell, so the picture is not shifted. A card shorter than 2r
// rows takes, for each row, the inset of whichever edge it is nearer.
//
// UI thread only.
#pragma once

#include <cstdint>

#include "platform/draw/gdi.h"

// Copies rows [0, rows) of a width x height card whose cell starts at (source_x, source_y) of
// `source` to (x, y) of `destination`, each row with the inset its place in the whole card gives
// it. `rows` is capped at the height; nothing is drawn for a size or row count that is not
// positive, or a null context.
void DrawSteppedCardRows(platform::HDC destination, int32_t x, int32_t y, int32_t width, int32_t height,
                         int32_t rows, platform::HDC source, int32_t source_x, int32_t source_y, int32_t step);

// The whole card.
inline void DrawSteppedCard(platform::HDC destination, int32_t x, int32_t y, int32_t width, int32_t height,
                            platform::HDC source, int32_t source_x, int32_t source_y, int32_t step) {
  DrawSteppedCardRows(destination, x, y, width, height, height, source, source_x, source_y, step);
}

// The number of faces of a deck and the layout of a face sheet: 13 columns by 4 rows of equal
// cells, no gap between them. Any other index means the back.
constexpr int32_t kCardFaces = 52;
constexpr int32_t kCardSheetColumns = 13;
constexpr int32_t kCardSheetRows = 4;

inline bool IsCardFace(int32_t card) { return card >= 0 && card < kCardFaces; }
