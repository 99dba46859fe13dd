// The raw reader of Windows bitmap files (".b" pictures and any BMP), for code that needs the
// pixels themselves rather than a drawable bitmap (card sheets, card sprites).
//
// What the reader takes: the 14-byte file header and the 40-byte information header (54 bytes),
// an uncompressed picture of 8 bits (a full palette of 256 entries, pixels at byte 1078) or 24 bits
// (pixels at byte 54), stored bottom row first. The signature is not checked. Rows in the file are
// padded to a multiple of 4 bytes; the pixels handed back are not.
//
// Every function opens and closes the file itself; no state is kept between calls.
#pragma once

#include <cstdint>

// Largest width and height the reader accepts: 16384 x 16384 at 24 bits is 768 MiB.
constexpr int32_t kBmpMaxSide = 16384;

// The raw image LoadBmp produces: its size, depth and pixel block (owned by whoever holds it and
// freed with FreeBmp).
struct BmpImage {
  int32_t width = 0;
  int32_t height = 0;
  int32_t bits = 0;
  uint8_t* block = nullptr;
};

// Results of ReadBmpHeader and ReadBmpPixels.
enum BmpReadResult : int {
  BMP_OK = 0,
  BMP_OPEN_FAILED = 1,         // the file does not open
  BMP_SHORT_HEADER = 2,        // fewer than 54 bytes
  BMP_BAD_DATA_OFFSET = 3,     // the pixels are not where the depth puts them
  BMP_SHORT_PALETTE = 4,       // the 1024-byte palette could not be read
  BMP_SIZE_MISMATCH = 5,       // the file's width or height is not the caller's
  BMP_SHORT_PIXELS = 6,        // the pixel rows could not be read
  BMP_SIZE_REFUSED = 7,        // negative width, top-down rows or a side above kBmpMaxSide
  BMP_UNSUPPORTED = -1,        // depth other than 8 or 24, depth not the caller's, or compressed
  BMP_PALETTE_OF_24_BIT = -2,  // a palette asked of a 24-bit file
};

// Results of LoadBmp.
enum LoadBmpResult : int {
  LOADBMP_OK = 0,
  LOADBMP_NO_HEADER = -1,    // ReadBmpHeader failed
  LOADBMP_NO_MEMORY = -2,    // the block could not be allocated, or its size is refused
  LOADBMP_NO_PIXELS = -3,    // ReadBmpPixels failed
};

// Reads the header's width (offset 18), height (offset 22) and bit count (offset 28).
// Returns BMP_OK, BMP_OPEN_FAILED or BMP_SHORT_HEADER; the outputs are set only on success.
[[nodiscard]] int ReadBmpHeader(const char* file_name, int32_t* width, int32_t* height, int32_t* bits);

// Reads the pixels and/or the palette of a file whose width, height and bit count the caller
// states (usually from ReadBmpHeader). Either output may be nullptr:
// - `pixels`: width x height x bits / 8 bytes, rows in file order (bottom row first), row padding
//   removed; a 24-bit pixel is blue, green, red, an 8-bit pixel a palette index.
// - `palette` (8-bit files only): 768 bytes, red, green, blue per entry, each value shifted right
//   by 2 (0 to 63).
// With `pixels` nullptr the call ends after the palette with BMP_OK, whatever the sizes. The
// caller owns both blocks and must size `pixels` for the stated width, height and bits.
[[nodiscard]] int ReadBmpPixels(const char* file_name, uint8_t* pixels, uint8_t* palette, int32_t width,
                                int32_t height, int32_t bits);

// Reads a whole file: header, then a heap block of width x height x bits / 8 bytes holding its
// pixels as ReadBmpPixels gives them. Returns a LoadBmpResult; on every failure *pixels is nullptr.
// The block belongs to the caller, who releases it with FreeBmp.
[[nodiscard]] int LoadBmp(const char* file_name, int32_t* width, int32_t* height, int32_t* bits,
                          uint8_t** pixels);

// Frees the block (when there is one) and sets the pointer to nullptr.
void FreeBmp(uint8_t** pixels);
