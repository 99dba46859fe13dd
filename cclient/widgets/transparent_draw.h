// Copying a picture with a colour key: pixels of exactly the key colour leave the destination
// unchanged. Used for chips, seats, sprites and turning cards.
//
// Two ways give the same picture: the platform's TransparentBlt, and the mask method, which
// builds a monochrome mask of the key with a colour-to-monochrome copy and combines source and
// destination through it with AND and OR copies on four work surfaces.
//
// UI thread only.
#pragma once

#include <cstdint>

#include "platform/draw/gdi.h"

// Copies the width x height rectangle at (source_x, source_y) of `source` to (x, y) of
// `destination`, leaving the destination unchanged where the source has the colour `key`
// (0x00BBGGRR). Uses the mask method, making and freeing its work surfaces on every call.
void DrawTransparentBitmap(platform::HDC source, int32_t source_x, int32_t source_y, int32_t width, int32_t height,
                           platform::HDC destination, int32_t x, int32_t y, platform::COLORREF key);

// A reusable colour-keyed copier, one per game object, handed by pointer to the seats, chips and
// sprites that draw through it.
//
// Through TransparentBlt (the default) any size draws. With the mask method the work surfaces
// are made once, at the first draw, at the size reserved by then, and kept until destruction:
// every user must Reserve the size of each picture it will draw before the first draw, and a draw
// larger than the reservation paints nothing.
class TransparentDraw {
 public:
  enum class Method { kTransparentBlt, kMask };

  // kMask stands for a system without a colour-keyed copy; the platform always has one.
  explicit TransparentDraw(Method method = Method::kTransparentBlt);
  ~TransparentDraw();
  TransparentDraw(const TransparentDraw&) = delete;
  TransparentDraw& operator=(const TransparentDraw&) = delete;

  // Grows the reserved width and height, each independently, to at least the given values.
  // Never shrinks them.
  void Reserve(int32_t width, int32_t height);

  // The same effect as DrawTransparentBitmap.
  void Draw(platform::HDC source, int32_t source_x, int32_t source_y, int32_t width, int32_t height,
            platform::HDC destination, int32_t x, int32_t y, platform::COLORREF key);

 private:
  void MakeSurfaces(platform::HDC destination);

  int32_t reserved_width_ = 0;
  int32_t reserved_height_ = 0;
  bool surfaces_made_ = false;
  bool use_transparent_blt_ = true;
  platform::HDC copy_dc_ = nullptr;         // the copy of the source picture
  platform::HDC work_dc_ = nullptr;         // the composed result
  platform::HDC back_mask_dc_ = nullptr;    // the inverted mask
  platform::HDC object_mask_dc_ = nullptr;  // the mask: white where the key was
  platform::HBITMAP copy_bitmap_ = nullptr;
  platform::HBITMAP back_mask_bitmap_ = nullptr;
  platform::HBITMAP object_mask_bitmap_ = nullptr;
  platform::HBITMAP work_bitmap_ = nullptr;
};
