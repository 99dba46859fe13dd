// The built-in picture that the lobby's hidden key sequence shows: 333 x 185 pixels of 24 bits,
// kept in the program in the layout of a top-down device-independent bitmap.
//
// UI thread only.
#pragma once

#include <cstdint>

#include "platform/draw/gdi.h"

constexpr int32_t kHiddenPictureWidth = 333;
constexpr int32_t kHiddenPictureHeight = 185;
// Rows of a 24-bit device-independent bitmap are padded to a multiple of four bytes: 999 bytes of
// pixels take 1,000.
constexpr uint32_t kHiddenPictureStride = (kHiddenPictureWidth * 3 + 3) & ~3u;
// The frame colour of the picture's outermost pixels, as blue, green, red.
constexpr uint8_t kHiddenPictureFrame[3] = {0x00, 0xD7, 0xFF};

// The picture's rows, top first, blue, green, red, each kHiddenPictureStride bytes.
const uint8_t* HiddenPictureRows();

// Sets the picture into the background context at (x, y), copies it from there to the back
// buffer, and marks that rectangle of the main window for its next paint.
void DrawHiddenPicture(platform::HDC background_dc, platform::HDC back_dc, int32_t x, int32_t y);
