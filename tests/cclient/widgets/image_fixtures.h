// Small picture files for the widget tests, made the way other programs make them: BMP files
// byte by byte as the format lays them out, JPEG files through the JPEG library's compressor.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// One BMP file. The defaults describe a well-formed file; tests change single fields to break it.
struct BmpFixture {
  int32_t width = 0;
  int32_t height = 0;
  int32_t bits = 24;
  int32_t data_offset = -1;  // -1: 54, or 1078 with a palette
  int32_t compression = 0;
  bool with_palette = false;  // 256 entries of blue, green, red, reserved
  uint8_t pad_byte = 0xEE;    // fills row padding, so a reader that keeps it is caught
  // Rows as stored: bottom row first, unpadded; (width x bits / 8) bytes each.
  std::vector<uint8_t> rows;
  std::vector<uint8_t> palette;  // 1024 bytes when with_palette

  std::string Bytes() const;
};

// A width x height picture of distinct colours (blue, green, red per pixel, bottom row first).
std::vector<uint8_t> PatternRows(int32_t width, int32_t height, int32_t bits);
// A palette whose entry i is blue = i, green = 255 - i, red = i ^ 0x5A, reserved 0.
std::vector<uint8_t> PatternPalette();

enum class JpegKind { kColour, kGrey, kCmyk };

// Encodes a width x height picture with the JPEG library at the given quality. `pixels` holds
// the components per pixel the kind needs (3, 1 or 4), rows top-down.
std::string EncodeJpeg(JpegKind kind, int32_t width, int32_t height, const std::vector<uint8_t>& pixels,
                       int quality = 90);

// Decodes a JPEG held in memory with the library's own loop, RGB out, as the reference picture.
// Empty when the library fails.
std::vector<uint8_t> ReferenceDecode(const std::string& jpeg, int32_t* width, int32_t* height);
