#include "platform/text/font_face.h"

#include <fontconfig/fontconfig.h>
#include FT_SYNTHESIS_H
#include FT_TRUETYPE_TABLES_H

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <map>
#include <memory>
#include <strings.h>

namespace platform {

namespace {

constexpr int32_t kDefaultCellHeight = 16;

// Characters 0x80 to 0x9F of Windows-1252; the rest of the code page equals Unicode. The five
// unassigned positions map to themselves.
constexpr uint16_t kWindows1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

uint32_t UnicodeOf(uint8_t character) {
  return character >= 0x80 && character <= 0x9F ? kWindows1252High[character - 0x80] : character;
}

// The family asked of fontconfig for a face name of the program.
std::string FamilyFor(const char* face_name) {
  if (face_name[0] == '\0' || strcasecmp(face_name, "Arial") == 0) return "Liberation Sans";
  if (strcasecmp(face_name, "MS Sans Serif") == 0) return "DejaVu Sans";
  return face_name;
}

// FreeType, fontconfig and the faces made with them, released together when the program ends so
// that leak checkers see a clean exit.
struct TextLibraries {
  FT_Library freetype = nullptr;
  FcConfig* fontconfig = nullptr;
  // A null entry remembers a description that found no face, so it is logged only once.
  std::map<std::string, std::unique_ptr<FontFace>> faces;

  TextLibraries() {
    if (FT_Init_FreeType(&freetype) != 0) freetype = nullptr;
    fontconfig = FcInitLoadConfigAndFonts();
  }
  ~TextLibraries() {
    faces.clear();
    if (freetype != nullptr) FT_Done_FreeType(freetype);
    if (fontconfig != nullptr) FcConfigDestroy(fontconfig);
    FcFini();
  }
};

TextLibraries& Libraries() {
  static TextLibraries libraries;
  return libraries;
}

struct Match {
  std::string file;
  int index = 0;
  std::string family;
  bool bold_face = false;
};

bool MatchFamily(const std::string& family, int32_t weight, bool italic, Match* match) {
  FcConfig* config = Libraries().fontconfig;
  if (config == nullptr) return false;
  FcPattern* pattern = FcPatternCreate();
  if (pattern == nullptr) return false;
  FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(family.c_str()));
  FcPatternAddInteger(pattern, FC_WEIGHT, FcWeightFromOpenType(weight >= 600 ? 700 : 400));
  FcPatternAddInteger(pattern, FC_SLANT, italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
  FcPatternAddBool(pattern, FC_SCALABLE, FcTrue);
  FcConfigSubstitute(config, pattern, FcMatchPattern);
  FcDefaultSubstitute(pattern);
  FcResult result = FcResultNoMatch;
  FcPattern* found = FcFontMatch(config, pattern, &result);
  FcPatternDestroy(pattern);
  if (found == nullptr) return false;
  FcChar8* file = nullptr;
  FcChar8* found_family = nullptr;
  int found_weight = FC_WEIGHT_REGULAR;
  const bool ok = FcPatternGetString(found, FC_FILE, 0, &file) == FcResultMatch;
  if (ok) {
    match->file = reinterpret_cast<const char*>(file);
    if (FcPatternGetInteger(found, FC_INDEX, 0, &match->index) != FcResultMatch) match->index = 0;
    if (FcPatternGetString(found, FC_FAMILY, 0, &found_family) == FcResultMatch) {
      match->family = reinterpret_cast<const char*>(found_family);
    }
    FcPatternGetInteger(found, FC_WEIGHT, 0, &found_weight);
    match->bold_face = found_weight >= FC_WEIGHT_DEMIBOLD;
  }
  FcPatternDestroy(found);
  return ok;
}

std::string CacheKey(const LOGFONT& d) {
  char face[LF_FACESIZE + 1] = {};
  std::memcpy(face, d.lfFaceName, LF_FACESIZE);
  std::string family = FamilyFor(face);
  std::transform(family.begin(), family.end(), family.begin(), [](unsigned char c) { return std::tolower(c); });
  return family + "|" + std::to_string(d.lfHeight) + "|" + (d.lfWeight >= 600 ? "b" : "r") + (d.lfItalic ? "i" : "u");
}

}  // namespace

std::mutex& TextLock() {
  static std::mutex lock;
  return lock;
}

FontFace* FontFace::Find(const LOGFONT& description) {
  std::map<std::string, std::unique_ptr<FontFace>>& faces = Libraries().faces;
  const std::string key = CacheKey(description);
  if (auto it = faces.find(key); it != faces.end()) return it->second.get();

  char face_name[LF_FACESIZE + 1] = {};
  std::memcpy(face_name, description.lfFaceName, LF_FACESIZE);
  const std::string family = FamilyFor(face_name);
  Match match;
  FT_Face face = nullptr;
  FT_Library library = Libraries().freetype;
  if (library == nullptr || !MatchFamily(family, description.lfWeight, description.lfItalic != 0, &match) ||
      FT_New_Face(library, match.file.c_str(), match.index, &face) != 0) {
    std::fprintf(stderr, "text: no face for \"%s\" (%s)\n", face_name, family.c_str());
    faces[key] = nullptr;
    return nullptr;
  }
  const bool embolden = description.lfWeight >= 600 && !match.bold_face;
  auto* made = new FontFace(face, match.family, embolden, description);
  faces[key].reset(made);
  return made;
}

FontFace::FontFace(FT_Face face, std::string family, bool embolden, const LOGFONT& description)
    : face_(face), family_(std::move(family)), embolden_(embolden) {
  const auto* os2 = static_cast<const TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2));
  const auto* hhea = static_cast<const TT_HoriHeader*>(FT_Get_Sfnt_Table(face, FT_SFNT_HHEA));
  const double units = face->units_per_EM > 0 ? face->units_per_EM : 2048;
  const double win_ascent = os2 != nullptr ? os2->usWinAscent : face->ascender;
  const double win_descent = os2 != nullptr ? os2->usWinDescent : -face->descender;
  const double cell_units = std::max(1.0, win_ascent + win_descent);

  // A positive height is the cell (ascent plus descent); a negative one the em size.
  const int32_t height = description.lfHeight == 0 ? kDefaultCellHeight : description.lfHeight;
  double em;
  if (height > 0) {
    em = height * units / cell_units;
    metrics_.tmAscent = static_cast<int32_t>(std::lround(win_ascent * height / cell_units));
    metrics_.tmDescent = height - metrics_.tmAscent;
  } else {
    em = -static_cast<double>(height);
    metrics_.tmAscent = static_cast<int32_t>(std::lround(win_ascent * em / units));
    metrics_.tmDescent = static_cast<int32_t>(std::lround(win_descent * em / units));
  }
  const double scale = em / units;
  metrics_.tmHeight = metrics_.tmAscent + metrics_.tmDescent;
  metrics_.tmInternalLeading = metrics_.tmHeight - static_cast<int32_t>(std::lround(em));
  if (hhea != nullptr) {
    const double gap = hhea->Line_Gap - (cell_units - (hhea->Ascender - hhea->Descender));
    metrics_.tmExternalLeading = std::max(0, static_cast<int32_t>(std::lround(gap * scale)));
  }
  metrics_.tmAveCharWidth =
      static_cast<int32_t>(std::lround((os2 != nullptr ? os2->xAvgCharWidth : face->max_advance_width / 2) * scale));
  metrics_.tmMaxCharWidth = static_cast<int32_t>(std::lround(face->max_advance_width * scale));
  metrics_.tmWeight = description.lfWeight == 0 ? FW_NORMAL : description.lfWeight;
  FT_Set_Char_Size(face_, 0, static_cast<FT_F26Dot6>(std::lround(em * 64)), 72, 72);
}

const FontFace::Glyph& FontFace::GlyphOf(uint8_t character) {
  Glyph& glyph = glyphs_[character];
  if (glyph.ready) return glyph;
  glyph.ready = true;
  if (FT_Load_Char(face_, UnicodeOf(character), FT_LOAD_DEFAULT) != 0) return glyph;
  FT_GlyphSlot slot = face_->glyph;
  if (embolden_) FT_GlyphSlot_Embolden(slot);
  glyph.advance = static_cast<int32_t>((slot->advance.x + 32) >> 6);
  if (FT_Render_Glyph(slot, FT_RENDER_MODE_NORMAL) != 0 || slot->bitmap.pixel_mode != FT_PIXEL_MODE_GRAY ||
      slot->bitmap.pitch < 0) {
    return glyph;
  }
  const FT_Bitmap& bitmap = slot->bitmap;
  glyph.left = slot->bitmap_left;
  glyph.top = slot->bitmap_top;
  glyph.width = static_cast<int32_t>(bitmap.width);
  glyph.rows = static_cast<int32_t>(bitmap.rows);
  glyph.coverage.resize(static_cast<size_t>(glyph.width) * glyph.rows);
  for (int32_t row = 0; row < glyph.rows; ++row) {
    const uint8_t* in = bitmap.buffer + static_cast<size_t>(row) * static_cast<size_t>(bitmap.pitch);
    std::memcpy(glyph.coverage.data() + static_cast<size_t>(row) * glyph.width, in, static_cast<size_t>(glyph.width));
  }
  return glyph;
}

}  // namespace platform
