// Font objects and metrics.
#include <algorithm>
#include <cstring>
#include <new>

#include "platform/draw/device_context.h"
#include "platform/text/font_face.h"
#include "platform/text/text.h"

namespace platform {

namespace {

GdiFont* DefaultFont() {
  static GdiFont* const font = [] {
    LOGFONT d{};
    d.lfHeight = 16;
    d.lfWeight = FW_BOLD;
    d.lfPitchAndFamily = VARIABLE_PITCH;
    std::strcpy(d.lfFaceName, "MS Sans Serif");
    auto* f = new GdiFont(d);
    f->stock = true;
    return f;
  }();
  return font;
}

}  // namespace

int GdiFont::Describe(int size, void* out) const {
  if (size < static_cast<int>(sizeof(LOGFONT)) || out == nullptr) return 0;
  std::memcpy(out, &description, sizeof(LOGFONT));
  return static_cast<int>(sizeof(LOGFONT));
}

// The face a context draws with. Call with TextLock() held.
FontFace* FaceOf(HDC dc) {
  GdiFont* font = dc->font != nullptr ? static_cast<GdiFont*>(dc->font) : DefaultFont();
  if (font->face == nullptr) font->face = FontFace::Find(font->description);
  return font->face;
}

HFONT CreateFontIndirect(const LOGFONT* description) {
  if (description == nullptr) return nullptr;
  LOGFONT d = *description;
  d.lfFaceName[LF_FACESIZE - 1] = '\0';
  return new (std::nothrow) GdiFont(d);
}

HFONT CreateFont(int32_t height, int32_t width, int32_t escapement, int32_t orientation, int32_t weight,
                 uint32_t italic, uint32_t underline, uint32_t strike_out, uint32_t charset, uint32_t out_precision,
                 uint32_t clip_precision, uint32_t quality, uint32_t pitch_and_family, const char* face_name) {
  LOGFONT d{};
  d.lfHeight = height;
  d.lfWidth = width;
  d.lfEscapement = escapement;
  d.lfOrientation = orientation;
  d.lfWeight = weight;
  d.lfItalic = static_cast<uint8_t>(italic);
  d.lfUnderline = static_cast<uint8_t>(underline);
  d.lfStrikeOut = static_cast<uint8_t>(strike_out);
  d.lfCharSet = static_cast<uint8_t>(charset);
  d.lfOutPrecision = static_cast<uint8_t>(out_precision);
  d.lfClipPrecision = static_cast<uint8_t>(clip_precision);
  d.lfQuality = static_cast<uint8_t>(quality);
  d.lfPitchAndFamily = static_cast<uint8_t>(pitch_and_family);
  if (face_name != nullptr) std::strncpy(d.lfFaceName, face_name, LF_FACESIZE - 1);
  return CreateFontIndirect(&d);
}

HFONT SelectObject(HDC dc, HFONT font) {
  if (dc == nullptr || font == nullptr) return nullptr;
  GdiObject* old = SelectObject(dc, static_cast<HGDIOBJ>(font));
  return old != nullptr ? static_cast<GdiFont*>(old) : DefaultFont();
}

std::string GetResolvedFontFamily(HFONT font) {
  if (font == nullptr) return {};
  std::lock_guard<std::mutex> hold(TextLock());
  if (font->face == nullptr) font->face = FontFace::Find(font->description);
  return font->face != nullptr ? font->face->Family() : std::string();
}

bool GetTextMetrics(HDC dc, TEXTMETRIC* metrics) {
  if (dc == nullptr || metrics == nullptr) return false;
  std::lock_guard<std::mutex> hold(TextLock());
  FontFace* face = FaceOf(dc);
  if (face == nullptr) return false;
  *metrics = face->Metrics();
  return true;
}

}  // namespace platform
