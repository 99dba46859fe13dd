// Card pictures for the card tests: face sheets of 13 x 4 cells and backs, every pixel a colour
// that tells which card, column and row it belongs to, so that a test can say which source pixel
// must appear where.
#pragma once

#include <cstdint>
#include <string>

#include "platform/draw/gdi_types.h"
#include "tests/cclient/widgets/image_fixtures.h"

// The colour of pixel (x, y) (y from the top) of face `card` in a sheet.
platform::COLORREF FaceColour(int32_t card, int32_t x, int32_t y);
// The colour of pixel (x, y) of a back.
platform::COLORREF BackColour(int32_t x, int32_t y);

// A 24-bit face sheet of cells cell_width x cell_height.
BmpFixture FaceSheetBmp(int32_t cell_width, int32_t cell_height);
// A 24-bit back of the given size.
BmpFixture BackBmp(int32_t width, int32_t height);
// The same pictures at 8 bits (a grey palette), for the depth checks.
BmpFixture EightBitBmp(int32_t width, int32_t height);
