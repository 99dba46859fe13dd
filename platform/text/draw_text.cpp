// Measuring and drawing text.
#include <algorithm>
#include <climits>
#include <cstring>
#include <vector>

#include "platform/draw/device_context.h"
#include "platform/text/font_face.h"
#include "platform/text/text.h"

namespace platform {

namespace {

// Larger than any picture, small enough that no edge arithmetic overflows.
constexpr RECT kNoClip{-(1 << 28), -(1 << 28), 1 << 28, 1 << 28};

struct TextLine {
  const uint8_t* begin;
  size_t length;
  int32_t width;
};

int32_t WidthOf(FontFace& face, const uint8_t* text, size_t length) {
  int64_t width = 0;
  for (size_t i = 0; i < length; ++i) width += face.Advance(text[i]);
  return static_cast<int32_t>(std::min<int64_t>(width, 1 << 28));
}

// Breaks one paragraph (no line breaks inside) at the blanks before each word that would pass
// `max_width`. The blanks at a break are dropped; a word wider than the line stays whole.
void WrapParagraph(FontFace& face, const uint8_t* begin, const uint8_t* end, int32_t max_width,
                   std::vector<TextLine>* lines) {
  const uint8_t* line_start = begin;
  const uint8_t* line_end = begin;  // end of the last word on the line
  bool has_word = false;
  const uint8_t* at = begin;
  while (at < end) {
    const uint8_t* word = at;
    while (word < end && *word == ' ') ++word;
    const uint8_t* word_end = word;
    while (word_end < end && *word_end != ' ') ++word_end;
    if (has_word && word < end && WidthOf(face, line_start, static_cast<size_t>(word_end - line_start)) > max_width) {
      lines->push_back({line_start, static_cast<size_t>(line_end - line_start), 0});
      line_start = word;
    }
    line_end = word_end;
    has_word = has_word || word < end;
    at = word_end;
  }
  lines->push_back({line_start, static_cast<size_t>(line_end - line_start), 0});
}

std::vector<TextLine> LayOut(FontFace& face, const uint8_t* text, size_t length, uint32_t format, int32_t max_width) {
  std::vector<TextLine> lines;
  if (format & DT_SINGLELINE) {
    lines.push_back({text, length, 0});
  } else {
    const uint8_t* const end = text + length;
    const uint8_t* paragraph = text;
    while (paragraph < end) {
      const uint8_t* stop = paragraph;
      while (stop < end && *stop != '\n' && *stop != '\r') ++stop;
      if (format & DT_WORDBREAK) {
        WrapParagraph(face, paragraph, stop, max_width, &lines);
      } else {
        lines.push_back({paragraph, static_cast<size_t>(stop - paragraph), 0});
      }
      // "\r\n" is one break; a break at the very end starts no further line.
      if (stop < end && *stop == '\r' && stop + 1 < end && stop[1] == '\n') ++stop;
      paragraph = stop + 1;
    }
  }
  for (TextLine& line : lines) line.width = WidthOf(face, line.begin, line.length);
  return lines;
}

// The rectangle with each edge brought within kNoClip, so that text placed anywhere can be laid
// out without overflowing; nothing beyond those edges can be seen on any picture.
RECT WithinReach(const RECT& r) {
  const auto within = [](int32_t v) { return std::clamp(v, kNoClip.left, kNoClip.right); };
  return {within(r.left), within(r.top), within(r.right), within(r.bottom)};
}

int32_t Saturated(int64_t v) {
  return static_cast<int32_t>(std::clamp<int64_t>(v, INT32_MIN, INT32_MAX));
}

RECT Intersect(const RECT& a, const RECT& b) {
  return {std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right), std::min(a.bottom, b.bottom)};
}

void BlendGlyph(const DeviceContext& dc, const FontFace::Glyph& glyph, int32_t x, int32_t y, const RECT& clip) {
  if (glyph.width == 0 || glyph.rows == 0) return;
  const PixelBytes ink = SolidPixelFor(dc, dc.text_colour);
  const bool monochrome = dc.Monochrome();
  const RECT box = Intersect(RECT{x, y, x + glyph.width, y + glyph.rows}, clip);
  dc.ForEachVisibleSpan(box, [&](int32_t row, int32_t left, int32_t right) {
    const uint8_t* coverage = glyph.coverage.data() + static_cast<size_t>(row - y) * glyph.width + (left - x);
    uint8_t* out = dc.surface->Row(row) + static_cast<size_t>(left) * 3;
    for (int32_t i = 0; i < right - left; ++i, out += 3) {
      const uint32_t c = coverage[i];
      if (c == 0) continue;
      if (monochrome) {
        if (c >= 128) out[0] = out[1] = out[2] = ink.b;
        continue;
      }
      out[0] = static_cast<uint8_t>((ink.b * c + out[0] * (255 - c) + 127) / 255);
      out[1] = static_cast<uint8_t>((ink.g * c + out[1] * (255 - c) + 127) / 255);
      out[2] = static_cast<uint8_t>((ink.r * c + out[2] * (255 - c) + 127) / 255);
    }
  });
}

void DrawLine(const DeviceContext& dc, FontFace& face, const TextLine& line, int32_t x, int32_t y,
              int32_t line_height, const RECT& clip) {
  if (dc.background_mode == OPAQUE) {
    const PixelBytes fill = SolidPixelFor(dc, dc.background_colour);
    dc.ForEachVisibleSpan(Intersect(RECT{x, y, x + line.width, y + line_height}, clip),
                          [&](int32_t row, int32_t left, int32_t right) { FillRun(*dc.surface, row, left, right, fill); });
  }
  const int32_t baseline = y + face.Metrics().tmAscent;
  int32_t pen = x;
  for (size_t i = 0; i < line.length; ++i) {
    const FontFace::Glyph& glyph = face.GlyphOf(line.begin[i]);
    BlendGlyph(dc, glyph, pen + glyph.left, baseline - glyph.top, clip);
    pen += glyph.advance;
  }
}

}  // namespace

bool GetTextExtentPoint32(HDC dc, const char* text, int32_t length, SIZE* size) {
  if (dc == nullptr || size == nullptr || length < 0 || (text == nullptr && length > 0)) return false;
  std::lock_guard<std::mutex> hold(TextLock());
  FontFace* face = FaceOf(dc);
  if (face == nullptr) return false;
  size->cx = WidthOf(*face, reinterpret_cast<const uint8_t*>(text), static_cast<size_t>(length));
  size->cy = face->Metrics().tmHeight;
  return true;
}

int32_t DrawText(HDC dc, const char* text, int32_t length, RECT* rect, uint32_t format) {
  if (dc == nullptr || text == nullptr || rect == nullptr) return 0;
  const size_t count = length < 0 ? std::strlen(text) : static_cast<size_t>(length);
  std::lock_guard<std::mutex> hold(TextLock());
  FontFace* face = FaceOf(dc);
  if (face == nullptr) return 0;
  const TEXTMETRIC& metrics = face->Metrics();
  const int32_t line_height = metrics.tmHeight + ((format & DT_EXTERNALLEADING) ? metrics.tmExternalLeading : 0);
  const RECT area = WithinReach(*rect);
  const std::vector<TextLine> lines =
      LayOut(*face, reinterpret_cast<const uint8_t*>(text), count, format, area.right - area.left);
  const int32_t total_height = Saturated(static_cast<int64_t>(lines.size()) * line_height);

  if (format & DT_CALCRECT) {
    int32_t widest = 0;
    for (const TextLine& line : lines) widest = std::max(widest, line.width);
    rect->right = Saturated(int64_t{rect->left} + widest);
    rect->bottom = Saturated(int64_t{rect->top} + total_height);
    return total_height;
  }

  const bool single = (format & DT_SINGLELINE) != 0;
  int32_t y = area.top;
  // With both DT_VCENTER and DT_BOTTOM, centring wins (corner labels of chip stacks ask for both).
  if (single && (format & DT_VCENTER)) {
    y = (area.top + area.bottom - line_height) / 2;
  } else if (single && (format & DT_BOTTOM)) {
    y = area.bottom - line_height;
  }
  const int32_t first_y = y;
  const RECT clip = (format & DT_NOCLIP) ? kNoClip : area;
  for (const TextLine& line : lines) {
    if (y >= kNoClip.bottom) break;  // this line and the rest lie below every picture
    int32_t x = area.left;
    if (format & DT_RIGHT) {
      x = area.right - line.width;
    } else if (format & DT_CENTER) {
      x = (area.left + area.right - line.width) / 2;
    }
    DrawLine(*dc, *face, line, x, y, line_height, clip);
    y += line_height;
  }
  if (single && (format & (DT_BOTTOM | DT_VCENTER))) return first_y + line_height - area.top;
  return total_height;
}

}  // namespace platform
