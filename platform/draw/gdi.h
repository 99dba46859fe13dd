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
#include <vector>

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
// your own to draw on it. `reference` is accepted for shape only.
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

// System colours of the classic grey scheme, by the indexes programs use for them (a window
// class's "COLOR_WINDOW + 1" background means GetSysColorBrush(COLOR_WINDOW)).
constexpr int32_t COLOR_SCROLLBAR = 0;
constexpr int32_t COLOR_BACKGROUND = 1;
constexpr int32_t COLOR_ACTIVECAPTION = 2;
constexpr int32_t COLOR_INACTIVECAPTION = 3;
constexpr int32_t COLOR_MENU = 4;
constexpr int32_t COLOR_WINDOW = 5;
constexpr int32_t COLOR_WINDOWFRAME = 6;
constexpr int32_t COLOR_MENUTEXT = 7;
constexpr int32_t COLOR_WINDOWTEXT = 8;
constexpr int32_t COLOR_CAPTIONTEXT = 9;
constexpr int32_t COLOR_ACTIVEBORDER = 10;
constexpr int32_t COLOR_INACTIVEBORDER = 11;
constexpr int32_t COLOR_APPWORKSPACE = 12;
constexpr int32_t COLOR_HIGHLIGHT = 13;
constexpr int32_t COLOR_HIGHLIGHTTEXT = 14;
constexpr int32_t COLOR_BTNFACE = 15;
constexpr int32_t COLOR_BTNSHADOW = 16;
constexpr int32_t COLOR_GRAYTEXT = 17;
constexpr int32_t COLOR_BTNTEXT = 18;
constexpr int32_t COLOR_INACTIVECAPTIONTEXT = 19;
constexpr int32_t COLOR_BTNHIGHLIGHT = 20;
constexpr int32_t COLOR_3DDKSHADOW = 21;
constexpr int32_t COLOR_3DLIGHT = 22;
constexpr int32_t COLOR_INFOTEXT = 23;
constexpr int32_t COLOR_INFOBK = 24;

// The colour of a system colour index; 0 (black) for an unknown index.
COLORREF GetSysColor(int32_t index);
// A stock brush of that colour (never delete it); null for an unknown index.
HBRUSH GetSysColorBrush(int32_t index);

constexpr int32_t PS_SOLID = 0;
constexpr int32_t PS_NULL = 5;
// A solid pen of the given width (0 and 1 give one-pixel lines) or the null pen style. Other
// styles are refused (null). Widths beyond kMaxPenWidth, far wider than anything the program
// draws, are cut to it, so that a wild width cannot make one line paint for minutes.
constexpr int32_t kMaxPenWidth = 1024;
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

// ---- Pixel rows ------------------------------------------------------------------------------
//
// Rows handed in or out as a device-independent block: 24-bit pixels of blue, green, red, each
// row padded to a multiple of 4 bytes, described by a header whose positive height means
// bottom-up rows (scan line 0 is the bottom row) and negative height top-down rows (scan line 0
// is the top row). Only 24 bits, one plane and no compression are accepted.

struct BITMAPINFOHEADER {
  uint32_t biSize;  // sizeof(BITMAPINFOHEADER), 40
  int32_t biWidth;
  int32_t biHeight;
  uint16_t biPlanes;
  uint16_t biBitCount;
  uint32_t biCompression;
  uint32_t biSizeImage;
  int32_t biXPelsPerMeter;
  int32_t biYPelsPerMeter;
  uint32_t biClrUsed;
  uint32_t biClrImportant;
};

struct RGBQUAD {
  uint8_t rgbBlue;
  uint8_t rgbGreen;
  uint8_t rgbRed;
  uint8_t rgbReserved;
};

struct BITMAPINFO {
  BITMAPINFOHEADER bmiHeader;
  RGBQUAD bmiColors[1];
};

constexpr uint32_t BI_RGB = 0;
constexpr uint32_t DIB_RGB_COLORS = 0;
constexpr uint32_t CBM_INIT = 4;

// A colour bitmap of the block's size; with CBM_INIT in `init` its rows come from `bits`
// described by `info`. Null when the header is refused.
[[nodiscard]] HBITMAP CreateDIBitmap(HDC dc, const BITMAPINFOHEADER* header, uint32_t init, const void* bits,
                                     const BITMAPINFO* info, uint32_t usage);

// Stores scan lines [first_scan, first_scan + scan_count) of the block (the first of them at
// `bits`) into the bitmap, the block's top-left pixel on the bitmap's top-left pixel; rows and
// columns beyond the bitmap are dropped. Works while the bitmap is selected into a context.
// Returns the number of scan lines stored, 0 on failure.
int32_t SetDIBits(HDC dc, HBITMAP bitmap, uint32_t first_scan, uint32_t scan_count, const void* bits,
                  const BITMAPINFO* info, uint32_t usage);

// Reads scan lines of the bitmap into `bits`; the header must give the bitmap's own width and
// height (either row order). Returns the number of scan lines read, 0 on failure.
int32_t GetDIBits(HDC dc, HBITMAP bitmap, uint32_t first_scan, uint32_t scan_count, void* bits, BITMAPINFO* info,
                  uint32_t usage);

// Draws the block's rectangle (source_x, source_y, width, height) at (x, y) of the context,
// clipped like every drawing call. As for such blocks, source_y counts from the bottom row of a
// bottom-up block and from the top row of a top-down one. Only the scan lines
// [first_scan, first_scan + scan_count) are given (the first at `bits`). Returns the number of
// scan lines given that exist in the block, 0 on failure.
int32_t SetDIBitsToDevice(HDC dc, int32_t x, int32_t y, uint32_t width, uint32_t height, int32_t source_x,
                          int32_t source_y, uint32_t first_scan, uint32_t scan_count, const void* bits,
                          const BITMAPINFO* info, uint32_t usage);

// ---- Picture files ---------------------------------------------------------------------------

constexpr uint32_t IMAGE_BITMAP = 0;
constexpr uint32_t IMAGE_ICON = 1;
constexpr uint32_t LR_DEFAULTSIZE = 0x0040;
constexpr uint32_t LR_LOADFROMFILE = 0x0010;

// Loads a picture file; LR_LOADFROMFILE is required (there are no built-in resources) and
// `name` is a path as given (case-insensitive lookup in the program folder is the caller's).
//   IMAGE_BITMAP: a BMP file of 8 bits (paletted) or 24 bits per pixel, rows bottom-up or
//     top-down, becomes a colour bitmap of the file's own size (cast the result to HBITMAP).
//     `width` and `height` must be 0 or the file's own size: pictures are never stretched.
//   IMAGE_ICON: an ICO file; the largest 24- or 32-bit picture becomes an icon (cast to HICON)
//     whatever size is asked.
// Malformed, unsupported or oversized files give null and a line on the standard error.
[[nodiscard]] HGDIOBJ LoadImage(const char* name, uint32_t type, int32_t width, int32_t height, uint32_t flags);

bool DestroyIcon(HICON icon);

// Draws the icon with its top-left corner at (x, y), blended by its opacity.
bool DrawIcon(HDC dc, int32_t x, int32_t y, HICON icon);

// The icon's pixels as red, green, blue, opacity bytes, rows top-down (as a window icon wants
// them).
bool GetIconPixels(HICON icon, int32_t* width, int32_t* height, std::vector<uint8_t>* rgba);

// ---- Fills ----------------------------------------------------------------------------------

// Fills the rectangle with the brush's colour. A null brush paints nothing.
bool FillRect(HDC dc, const RECT* rect, HBRUSH brush);

// Draws the rectangle's outline with the current pen and fills its inside with the current
// brush. With a one-pixel pen the outline is the outermost ring of pixels of [left, right) x
// [top, bottom); a wider pen is centred on that ring. A null pen leaves the whole rectangle to
// the brush; a null brush leaves the inside alone.
bool Rectangle(HDC dc, int32_t left, int32_t top, int32_t right, int32_t bottom);

// Paints the outermost ring of pixels of the rectangle with the brush's colour.
bool FrameRect(HDC dc, const RECT* rect, HBRUSH brush);

// Moves the current position without drawing; the old position goes to `old` when given.
bool MoveToEx(HDC dc, int32_t x, int32_t y, POINT* old);

// Draws a line with the current pen from the current position to (x, y), which becomes the
// current position. A one-pixel line leaves out its last pixel, so that joined lines never paint
// a pixel twice; a wider pen paints a round-ended stroke of its width centred on the line, ends
// included.
bool LineTo(HDC dc, int32_t x, int32_t y);

// ---- Regions and clipping -------------------------------------------------------------------

// Region results: an error, an empty area, a single rectangle or anything else.
constexpr int32_t RGN_ERROR = 0;
constexpr int32_t NULLREGION = 1;
constexpr int32_t SIMPLEREGION = 2;
constexpr int32_t COMPLEXREGION = 3;

constexpr int32_t RGN_AND = 1;
constexpr int32_t RGN_OR = 2;
constexpr int32_t RGN_XOR = 3;
constexpr int32_t RGN_DIFF = 4;  // in the first region and not in the second
constexpr int32_t RGN_COPY = 5;  // a copy of the first region

[[nodiscard]] HRGN CreateRectRgn(int32_t left, int32_t top, int32_t right, int32_t bottom);
[[nodiscard]] HRGN CreateRectRgnIndirect(const RECT* rect);
// The ellipse inscribed in the rectangle: the pixels whose centres lie inside it or on its edge.
[[nodiscard]] HRGN CreateEllipticRgn(int32_t left, int32_t top, int32_t right, int32_t bottom);
[[nodiscard]] HRGN CreateEllipticRgnIndirect(const RECT* rect);

// destination = a (mode) b; `b` is unused for RGN_COPY. The destination may be a or b. Returns
// the result's kind, RGN_ERROR for a null region or an unknown mode.
int32_t CombineRgn(HRGN destination, HRGN a, HRGN b, int32_t mode);
bool PtInRegion(HRGN region, int32_t x, int32_t y);

// Makes a copy of the region the context's clip area (the region stays the caller's); a null
// region removes the clip area. Returns the kind of the new clip area.
int32_t SelectClipRgn(HDC dc, HRGN region);
// Narrows the clip area to its intersection with the rectangle, or removes the rectangle from it.
int32_t IntersectClipRect(HDC dc, int32_t left, int32_t top, int32_t right, int32_t bottom);
int32_t ExcludeClipRect(HDC dc, int32_t left, int32_t top, int32_t right, int32_t bottom);

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
