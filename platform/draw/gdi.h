// The drawing layer: contexts, bitmaps, brushes, pens, copies with raster operations, fills and
// lines, clip regions, bitmap files and pixel rows. Shaped after the calls the program was
// designed against so that program code reads naturally; fonts and text are in
// platform/text/text.h.
//
// Coordinates are pixels with the origin at the top-left of the context's picture; rectangles
// include left and top and exclude right and bottom. Every drawing call clips to the picture and
// to the context's clip area, so any coordinates (negative ones included) are safe.
//
// Colours are exact: nothing is converted or dithered, so a colour key always matches exactly.
//
// UI thread only: contexts and objects are not shared between threads.
#pragma once

#include <cstdint>
#include <string>

#include "platform/draw/gdi_object.h"
#include "platform/draw/gdi_types.h"
#include "platform/draw/surface.h"

namespace platform {

using HGDIOBJ = GdiObject*;
using HBITMAP = GdiBitmap*;
using HBRUSH = GdiBrush*;
using HPEN = GdiPen*;
using HFONT = GdiFont*;
using HRGN = GdiRegion*;
using HICON = GdiIcon*;

// ---- Contexts -------------------------------------------------------------------------------

// A context that draws straight onto `target`, a picture owned by someone else (a window's
// backing picture). The picture must outlive the context; it may change size between calls.
[[nodiscard]] HDC CreateSurfaceDC(Surface* target);

// A memory context. It starts with a 1 x 1 monochrome stock bitmap selected; select a bitmap of
// your own to draw on it. `reference` is accepted for shape only (every context is 24-bit).
[[nodiscard]] HDC CreateCompatibleDC(HDC reference);

// Deletes a context made by CreateSurfaceDC or CreateCompatibleDC. Its selected objects are let
// go (not deleted). Returns false for a null handle.
bool DeleteDC(HDC dc);

// The picture a context draws on (the selected bitmap's for a memory context); null for a null
// handle. For tests, screenshots and the window core's presentation.
Surface* GetDCSurface(HDC dc);

// Selects a bitmap, brush, pen or font into the context and returns the one it replaces (null on
// failure). A bitmap is refused by a surface context. Regions are selected with SelectClipRgn;
// the font overload is in platform/text/text.h.
HGDIOBJ SelectObject(HDC dc, HGDIOBJ object);
HBITMAP SelectObject(HDC dc, HBITMAP bitmap);
HBRUSH SelectObject(HDC dc, HBRUSH brush);
HPEN SelectObject(HDC dc, HPEN pen);

// Text and background colours: the text layer draws in the text colour and, in OPAQUE mode,
// fills behind the text with the background colour. They are also the colours of monochrome to
// colour copies, and the background colour of a source context is the key of colour to
// monochrome copies (see BitBlt). Each setter returns the previous value.
constexpr COLORREF CLR_INVALID = 0xFFFFFFFF;
constexpr int32_t TRANSPARENT = 1;
constexpr int32_t OPAQUE = 2;
COLORREF SetTextColor(HDC dc, COLORREF colour);
COLORREF SetBkColor(HDC dc, COLORREF colour);
int32_t SetBkMode(HDC dc, int32_t mode);  // 0 for a null handle or an unknown mode
COLORREF GetTextColor(HDC dc);
COLORREF GetBkColor(HDC dc);
int32_t GetBkMode(HDC dc);

// Only the pixel mapping exists: one logical unit is one pixel.
constexpr int32_t MM_TEXT = 1;
int32_t SetMapMode(HDC dc, int32_t mode);  // returns the previous mode; 0 when refused
int32_t GetMapMode(HDC dc);

// The colour of one pixel; CLR_INVALID outside the picture or the clip area. A monochrome
// context reads black or white.
COLORREF GetPixel(HDC dc, int32_t x, int32_t y);

// ---- Objects --------------------------------------------------------------------------------

constexpr int32_t WHITE_BRUSH = 0;
constexpr int32_t LTGRAY_BRUSH = 1;
constexpr int32_t GRAY_BRUSH = 2;
constexpr int32_t DKGRAY_BRUSH = 3;
constexpr int32_t BLACK_BRUSH = 4;
constexpr int32_t NULL_BRUSH = 5;
constexpr int32_t WHITE_PEN = 6;
constexpr int32_t BLACK_PEN = 7;
constexpr int32_t NULL_PEN = 8;

// Stock brushes and pens: white, light grey RGB(192, 192, 192), grey RGB(128, 128, 128), dark grey
// RGB(64, 64, 64), black, null. Null for any other index. Deleting a stock object does nothing.
HGDIOBJ GetStockObject(int32_t index);

[[nodiscard]] HBRUSH CreateSolidBrush(COLORREF colour);

constexpr int32_t PS_SOLID = 0;
constexpr int32_t PS_NULL = 5;
// A solid pen of the given width (0 and 1 give one-pixel lines) or the null pen style. Other
// styles are refused (null).
[[nodiscard]] HPEN CreatePen(int32_t style, int32_t width, COLORREF colour);

// Deletes a bitmap, brush, pen, font, region or icon. An object still selected into a context is
// freed when the context lets it go. Returns false for a null handle.
bool DeleteObject(HGDIOBJ object);

// ---- Bitmaps --------------------------------------------------------------------------------

struct BITMAP {
  int32_t bmType;
  int32_t bmWidth;
  int32_t bmHeight;
  int32_t bmWidthBytes;  // bytes per row of the bitmap's own rows (no padding)
  uint16_t bmPlanes;
  uint16_t bmBitsPixel;  // 1 monochrome, 24 colour
  void* bmBits;          // always null: the pixels are reached through the context
};

// Largest bitmap accepted on either axis, and in pixels altogether.
constexpr int32_t kMaxBitmapSide = 16384;
constexpr int64_t kMaxBitmapPixels = int64_t{1} << 26;

// A colour bitmap of the given size, black. Monochrome when `reference` holds a monochrome bitmap
// that the program selected (a fresh memory context counts as colour, unlike the system this
// stands in for, so that a compatible bitmap is never accidentally monochrome). Null for a size
// that is not positive or too large.
[[nodiscard]] HBITMAP CreateCompatibleBitmap(HDC reference, int32_t width, int32_t height);

// A bitmap of `bits_per_pixel` 1 (monochrome) or 24 (colour) with one plane. `bits`, when given,
// holds the rows top-down, each padded to an even number of bytes as such bitmaps are; else the
// bitmap starts black. Null for anything else.
[[nodiscard]] HBITMAP CreateBitmap(int32_t width, int32_t height, uint32_t planes, uint32_t bits_per_pixel,
                                   const void* bits);

// The picture of a bitmap; null for a null handle.
Surface* GetBitmapSurface(HBITMAP bitmap);

// Copies the object's description record into `out` (BITMAP for a bitmap, LOGFONT for a font)
// when `size` is large enough; returns the bytes written, else 0.
int GetObject(HGDIOBJ object, int size, void* out);

// ---- Fills ----------------------------------------------------------------------------------

// Fills the rectangle with the brush's colour. A null brush paints nothing.
bool FillRect(HDC dc, const RECT* rect, HBRUSH brush);

// ---- Copies ---------------------------------------------------------------------------------

// Raster operations of BitBlt, by the values the program uses for them.
constexpr uint32_t SRCCOPY = 0x00CC0020;     // destination = source
constexpr uint32_t SRCPAINT = 0x00EE0086;    // destination = destination OR source
constexpr uint32_t SRCAND = 0x008800C6;      // destination = destination AND source
constexpr uint32_t NOTSRCCOPY = 0x00330008;  // destination = NOT source

// Copies the source rectangle at (source_x, source_y) to (x, y) of the destination, combining
// with the raster operation. The copy is clipped to the source picture, the destination picture
// and the destination's clip area; pixels outside any of them are left alone.
//
// Between a colour and a monochrome context the source is converted first:
//   colour to monochrome: pixels equal to the source context's background colour become white
//     (1), all others black (0);
//   monochrome to colour: white (1) becomes the destination context's background colour, black
//     (0) its text colour.
// With those, the four-step mask method (mask from the key, AND, AND with the inverted mask, OR)
// gives exactly a colour-keyed copy. Returns false for a null context or an unknown operation.
bool BitBlt(HDC destination, int32_t x, int32_t y, int32_t width, int32_t height, HDC source, int32_t source_x,
            int32_t source_y, uint32_t operation);

// Copies the source rectangle to the destination, leaving the destination unchanged wherever the
// source pixel equals `key` exactly. Both rectangles must have the same size (no stretching;
// false otherwise). Clipped like BitBlt.
bool TransparentBlt(HDC destination, int32_t x, int32_t y, int32_t width, int32_t height, HDC source,
                    int32_t source_x, int32_t source_y, int32_t source_width, int32_t source_height,
                    COLORREF key);

}  // namespace platform
