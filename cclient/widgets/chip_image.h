// One chip picture drawn with a colour key: either a cell of a strip shared by a whole chip set
// ("4001.b", cells of 20 x 19) or a bitmap file of its own. Chip stacks draw their chips with it
// and the sprite (the dealer button) is built on it.
//
// UI thread only.
#pragma once

#include <cstdint>
#include <memory>

#include "cclient/widgets/bitmap_file.h"
#include "cclient/widgets/transparent_draw.h"
#include "platform/draw/gdi.h"

class ChipImage {
 public:
  // Value in cents; 0 marks the marker picture, the chip that stands for an odd remainder or for
  // more chips than are shown.
  explicit ChipImage(int32_t value = 0) : value_(value) {}
  ~ChipImage();
  ChipImage(const ChipImage&) = delete;
  ChipImage& operator=(const ChipImage&) = delete;

  // The picture is the width x height cell at (x, y) of the strip selected into *strip_dc, read at
  // each draw, so the strip may be loaded after this call. A drawer is asked to reserve the cell's
  // size.
  void SetFromStrip(platform::HDC* strip_dc, int32_t width, int32_t height, int32_t x, int32_t y,
                    platform::COLORREF key, TransparentDraw* drawer);
  // Loads a bitmap file of its own. nullptr on success, "Loaded before!" when this picture already
  // has a bitmap of its own, or "image file is not found".
  [[nodiscard]] const char* Load(const char* file_name, platform::COLORREF key, TransparentDraw* drawer);

  // Draws the picture with its top-left corner at (x, y), leaving out the key colour: through the
  // drawer when there is one, else by the mask method. Nothing without a picture.
  void DrawTransparent(platform::HDC dc, int32_t x, int32_t y);

  platform::SIZE GetSize() const { return {width_, height_}; }
  int32_t GetWidth() const { return width_; }
  int32_t GetHeight() const { return height_; }
  int32_t GetValue() const { return value_; }
  // Deletes the picture of its own and the mask method's work surfaces.
  void FreeGdi();
  // Back to an empty picture of value 0.
  void Reset();

 private:
  platform::HDC* strip_dc_ = nullptr;
  int32_t source_x_ = 0;
  int32_t source_y_ = 0;
  bool shared_source_ = false;
  BitmapFile own_;
  platform::COLORREF key_ = 0;
  int32_t width_ = 0;
  int32_t height_ = 0;
  int32_t value_ = 0;
  TransparentDraw* drawer_ = nullptr;
  // The mask method's work surfaces, made at the first draw without a drawer.
  std::unique_ptr<TransparentDraw> mask_drawer_;
};
