// Small stand-ins for the table pictures, drawn at the sizes and in the layouts the widgets load
// them ("4001.b" chip strip, "4002.b" seat plates, "4700.b" dealer button, button sheets and the
// like), each cell a flat, distinct colour so that a test can tell which cell was drawn. The
// widget tests draw with them, and the widget gallery and the table frame benchmark stand them in
// for pictures a program folder lacks.
#pragma once

#include <cstdint>
#include <string>

#include "platform/draw/gdi.h"

// A picture being made: flat colours, rectangles and ellipses, then written as a 24-bit BMP.
class ArtCanvas {
 public:
  ArtCanvas(int32_t width, int32_t height, platform::COLORREF fill);
  ~ArtCanvas();
  ArtCanvas(const ArtCanvas&) = delete;
  ArtCanvas& operator=(const ArtCanvas&) = delete;

  void Box(int32_t left, int32_t top, int32_t width, int32_t height, platform::COLORREF colour);
  void Disc(int32_t left, int32_t top, int32_t width, int32_t height, platform::COLORREF colour);
  void Text(int32_t left, int32_t top, int32_t width, int32_t height, const char* text, platform::COLORREF colour,
            int32_t font_height = 12);
  platform::HDC dc() const { return dc_; }
  // The picture as the bytes of a bottom-up 24-bit BMP file.
  std::string Bmp() const;
  // Writes the BMP file; false when it cannot be written.
  bool Write(const std::string& path) const;

 private:
  platform::HDC dc_;
  platform::HBITMAP bitmap_;
};

// The colour of chip strip cell i (0 the marker, then the 14 values), its key being pure green.
platform::COLORREF ChipColour(int32_t cell);
constexpr platform::COLORREF kChipKey = 0x00FF00;
// The seat plate strip cell colours: 0 open, 1 open hovered, 2 + 2v lit and 3 + 2v dark for flags v.
platform::COLORREF SeatCellColour(int32_t cell);
constexpr platform::COLORREF kSeatKey = 0x0000FF;

// Writes every stand-in into `folder` (ending in "/"). Returns false when a file cannot be written.
bool WriteTableArt(const std::string& folder);
// The names of the files WriteTableArt writes.
const char* const* TableArtFiles(int32_t* count);
