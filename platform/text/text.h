// Fonts and text: fonts described by face name, height and weight, text extent and metrics, and
// DrawText with its alignment, line-breaking and measuring flags. Shaped after the calls the
// program was designed against; drawing contexts and colours are in platform/draw/gdi.h.
//
// Faces are found through fontconfig and drawn with FreeType. "Arial" (and an empty face name)
// resolves to Liberation Sans and "MS Sans Serif" to DejaVu Sans; other names go to fontconfig as
// they are. Text bytes are Windows-1252 characters.
//
// Glyph edges are blended with what is already on the picture. Draw text only onto a finished
// picture, never into a keyed sprite before it is copied, so that a blended edge can never take
// a key colour by accident.
//
// Drawing and measuring may be called from any thread (faces and glyphs are shared under a lock),
// but each context belongs to one thread, as everywhere in the drawing layer.
#pragma once

#include <cstdint>
#include <string>

#include "platform/draw/gdi.h"

namespace platform {

constexpr int32_t LF_FACESIZE = 32;

// A font description. Only the height, weight, italic flag and face name choose the font; the
// other fields are kept and reported back but change nothing.
struct LOGFONT {
  // > 0: cell height in pixels (ascent plus descent); < 0: character height (the em size) in
  // pixels; 0: a default of 16 pixels of cell height.
  int32_t lfHeight;
  int32_t lfWidth;
  int32_t lfEscapement;
  int32_t lfOrientation;
  int32_t lfWeight;  // 0 or 400 regular, 700 bold; 600 and more picks a bold face
  uint8_t lfItalic;
  uint8_t lfUnderline;
  uint8_t lfStrikeOut;
  uint8_t lfCharSet;
  uint8_t lfOutPrecision;
  uint8_t lfClipPrecision;
  uint8_t lfQuality;
  uint8_t lfPitchAndFamily;
  char lfFaceName[LF_FACESIZE];
};

constexpr int32_t FW_DONTCARE = 0;
constexpr int32_t FW_NORMAL = 400;
constexpr int32_t FW_BOLD = 700;
constexpr uint32_t ANSI_CHARSET = 0;
constexpr uint32_t DEFAULT_PITCH = 0;
constexpr uint32_t VARIABLE_PITCH = 2;

class FontFace;

// The font object behind an HFONT.
struct GdiFont : GdiObject {
  explicit GdiFont(const LOGFONT& d) : GdiObject(GdiKind::kFont), description(d) {}
  int Describe(int size, void* out) const override;

  const LOGFONT description;
  FontFace* face = nullptr;  // resolved on first use; faces live until the program ends
};

[[nodiscard]] HFONT CreateFontIndirect(const LOGFONT* description);
[[nodiscard]] HFONT CreateFont(int32_t height, int32_t width, int32_t escapement, int32_t orientation,
                               int32_t weight, uint32_t italic, uint32_t underline, uint32_t strike_out,
                               uint32_t charset, uint32_t out_precision, uint32_t clip_precision, uint32_t quality,
                               uint32_t pitch_and_family, const char* face_name);

// Selects a font and returns the one it replaces; a context that had none returns the default
// font (a stock object: "MS Sans Serif", 16 pixels of cell height, bold), so restoring it works.
HFONT SelectObject(HDC dc, HFONT font);

// The family of the face a font resolved to ("Liberation Sans"); empty when no face was found.
// For tests and logs.
std::string GetResolvedFontFamily(HFONT font);

struct TEXTMETRIC {
  int32_t tmHeight;  // tmAscent + tmDescent: the height of one line
  int32_t tmAscent;
  int32_t tmDescent;
  int32_t tmInternalLeading;  // tmHeight minus the em size
  int32_t tmExternalLeading;  // extra room the face suggests between lines
  int32_t tmAveCharWidth;
  int32_t tmMaxCharWidth;
  int32_t tmWeight;
};

// Metrics of the context's font. False for a null context, or when no face can be found.
bool GetTextMetrics(HDC dc, TEXTMETRIC* metrics);

// Width (sum of the characters' advances) and height (the font's line height) of `length`
// characters of `text` in the context's font.
bool GetTextExtentPoint32(HDC dc, const char* text, int32_t length, SIZE* size);

// DrawText formats. Horizontal: left (0), centre, right. Vertical alignment applies to single
// lines only; other text is laid out from the top.
constexpr uint32_t DT_TOP = 0x0000;
constexpr uint32_t DT_LEFT = 0x0000;
constexpr uint32_t DT_CENTER = 0x0001;
constexpr uint32_t DT_RIGHT = 0x0002;
constexpr uint32_t DT_VCENTER = 0x0004;
constexpr uint32_t DT_BOTTOM = 0x0008;
constexpr uint32_t DT_WORDBREAK = 0x0010;  // wrap lines between words that would pass the right edge
constexpr uint32_t DT_SINGLELINE = 0x0020;  // one line: "\r" and "\n" do not break it
constexpr uint32_t DT_NOCLIP = 0x0100;      // draw past the rectangle
constexpr uint32_t DT_EXTERNALLEADING = 0x0200;
constexpr uint32_t DT_CALCRECT = 0x0400;    // measure only (see DrawText)
constexpr uint32_t DT_NOPREFIX = 0x0800;    // accepted; "&" is never special

// Draws `length` characters of `text` (-1: up to its terminator) in the rectangle with the
// context's font and text colour; in OPAQUE mode each line's box is first filled with the
// background colour. Lines break at "\n" (also "\r\n" and "\r") unless DT_SINGLELINE, and with
// DT_WORDBREAK also at the blanks before a word that would pass the right edge (a word longer
// than the line stays whole). Drawing is clipped to the rectangle unless DT_NOCLIP.
//
// With DT_CALCRECT nothing is drawn: the rectangle's right becomes left plus the widest line and
// its bottom becomes top plus the height of all lines.
//
// Returns the height of the text, or with DT_VCENTER or DT_BOTTOM on a single line the distance
// from the rectangle's top to the bottom of the text; 0 on failure.
int32_t DrawText(HDC dc, const char* text, int32_t length, RECT* rect, uint32_t format);

}  // namespace platform
