// One face at one size: found through fontconfig, loaded with FreeType, with its line metrics
// and a cache of rendered glyphs. Faces are shared by every font with the same description and
// live until the program ends, so a font may keep a plain pointer to its face.
//
// Every call, and every use of a glyph it returns, must hold TextLock().
#pragma once

#include <ft2build.h>
#include FT_FREETYPE_H

#include <array>
#include <cstdint>
#include <mutex>
#include <string>
#include <vector>

#include "platform/text/text.h"

namespace platform {

// Guards FreeType, fontconfig and every face's glyph cache.
std::mutex& TextLock();

class FontFace {
 public:
  // A rendered character: coverage bytes (0 none to 255 full), `width` x `rows`, placed with its
  // top-left at (pen x + left, baseline - top); the pen then moves by `advance`.
  struct Glyph {
    int32_t left = 0;
    int32_t top = 0;
    int32_t width = 0;
    int32_t rows = 0;
    int32_t advance = 0;
    std::vector<uint8_t> coverage;
    bool ready = false;
  };

  // The face for a description; null when no face can be found or loaded (logged once per
  // description).
  static FontFace* Find(const LOGFONT& description);

  ~FontFace() { FT_Done_Face(face_); }
  FontFace(const FontFace&) = delete;
  FontFace& operator=(const FontFace&) = delete;

  const std::string& Family() const { return family_; }
  const TEXTMETRIC& Metrics() const { return metrics_; }

  // The glyph of a Windows-1252 character, rendered on first use.
  const Glyph& GlyphOf(uint8_t character);
  int32_t Advance(uint8_t character) { return GlyphOf(character).advance; }

 private:
  FontFace(FT_Face face, std::string family, bool embolden, const LOGFONT& description);

  FT_Face face_;
  std::string family_;
  bool embolden_;  // a bold font whose family has no bold face is thickened
  TEXTMETRIC metrics_{};
  std::array<Glyph, 256> glyphs_;
};

// The face a context draws with: its selected font's, or the default font's. Null when no face
// can be found. Call with TextLock() held.
FontFace* FaceOf(HDC dc);

}  // namespace platform
