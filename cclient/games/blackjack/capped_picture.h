// A picture that stretches sideways: a left cap, a middle part repeated as often as the width
// needs, and a right cap, all drawn with a colour key. The hand labels' plate ("5100.b") and the
// chip tray's bar ("5200.b") are drawn this way.
//
// UI thread only.
#pragma once

#include <cstdint>

#include "cclient/widgets/bitmap_file.h"
#include "cclient/widgets/transparent_draw.h"
#include "platform/draw/gdi.h"

struct CappedPicture {
  BitmapFile picture;
  int32_t width = 0;
  int32_t height = 0;
  int32_t left_cap = 0;
  int32_t right_cap = 0;
  platform::COLORREF key = 0;

  bool Loaded() const { return picture.dc != nullptr; }
  // The whole width drawn for a body (the stretched middle) of `body_width` pixels.
  int32_t WidthFor(int32_t body_width) const { return left_cap + body_width + right_cap; }
};

// Loads the file and keeps the caps (each cut to what the picture holds) and the key. False,
// leaving the picture empty, when the file does not load.
[[nodiscard]] bool LoadCappedPicture(const char* file, int32_t left_cap, int32_t right_cap, platform::COLORREF key,
                                     CappedPicture* out);
void ReleaseCappedPicture(CappedPicture* picture);

// Draws the left cap at (x, y), the middle repeated over `body_width` pixels, then the right
// cap, through the drawer. A picture whose caps leave no middle draws only its caps. Nothing
// without a picture or a drawer.
void DrawCappedPicture(const CappedPicture& picture, TransparentDraw* drawer, platform::HDC dc, int32_t x, int32_t y,
                       int32_t body_width);
