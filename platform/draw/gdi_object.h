// The drawing objects behind the handles of gdi.h: bitmaps, brushes, pens, regions, icons, and
// the base of the fonts that platform/text adds.
//
// Ownership: whoever creates an object deletes it with DeleteObject (DestroyIcon for icons).
// A drawing context keeps a counted reference to each object selected into it; deleting an
// object that is still selected only marks it, and it is freed when the last context lets it go,
// so a context never draws with freed memory. Stock objects are never freed.
//
// UI thread only, like the contexts that use them.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/draw/gdi_types.h"
#include "platform/draw/region_bands.h"
#include "platform/draw/surface.h"

namespace platform {

enum class GdiKind { kBitmap, kBrush, kPen, kFont, kRegion, kIcon };

struct GdiObject {
  explicit GdiObject(GdiKind k) : kind(k) {}
  virtual ~GdiObject() = default;
  GdiObject(const GdiObject&) = delete;
  GdiObject& operator=(const GdiObject&) = delete;

  // Fills the object's description record (BITMAP for bitmaps, LOGFONT for fonts) when `size`
  // is large enough; returns the bytes written, 0 when the object has no such record.
  virtual int Describe(int size, void* out) const { return 0; }

  const GdiKind kind;
  bool stock = false;
  int32_t selections = 0;         // contexts that hold this object selected
  bool delete_requested = false;  // DeleteObject came while it was selected
};

// A colour bitmap holds exact 24-bit pixels. A monochrome bitmap uses the same layout with every
// pixel either black (bit 0) or white (bit 1), so both kinds share the copy code.
struct GdiBitmap : GdiObject {
  GdiBitmap(int32_t width, int32_t height, bool mono) : GdiObject(GdiKind::kBitmap), surface(width, height), monochrome(mono) {}
  int Describe(int size, void* out) const override;

  Surface surface;
  const bool monochrome;
};

struct GdiBrush : GdiObject {
  GdiBrush(COLORREF c, bool is_null) : GdiObject(GdiKind::kBrush), colour(c), hollow(is_null) {}
  const COLORREF colour;
  const bool hollow;  // the null brush paints nothing
};

struct GdiPen : GdiObject {
  GdiPen(int32_t s, int32_t w, COLORREF c) : GdiObject(GdiKind::kPen), style(s), width(w), colour(c) {}
  const int32_t style;
  const int32_t width;
  const COLORREF colour;
};

struct GdiRegion : GdiObject {
  GdiRegion() : GdiObject(GdiKind::kRegion) {}
  RegionBands area;
};

// An icon: colour pixels plus one opacity byte per pixel (0 transparent, 255 opaque), rows
// top-down like the surface.
struct GdiIcon : GdiObject {
  GdiIcon(int32_t width, int32_t height)
      : GdiObject(GdiKind::kIcon), colour(width, height), alpha(static_cast<size_t>(width) * height, 255) {}
  Surface colour;
  std::vector<uint8_t> alpha;
};

// A new black bitmap; null when the size is not positive, too large, or memory runs out.
GdiBitmap* NewBitmap(int32_t width, int32_t height, bool monochrome);

// Defined by platform/text.
struct GdiFont;

// Reference counting of selections (see the ownership note above).
void RetainSelection(GdiObject* object);
void ReleaseSelection(GdiObject* object);

}  // namespace platform
