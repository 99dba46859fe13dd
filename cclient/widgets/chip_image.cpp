#include "cclient/widgets/chip_image.h"

ChipImage::~ChipImage() { FreeGdi(); }

void ChipImage::SetFromStrip(platform::HDC* strip_dc, int32_t width, int32_t height, int32_t x, int32_t y,
                             platform::COLORREF key, TransparentDraw* drawer) {
  strip_dc_ = strip_dc;
  shared_source_ = true;
  width_ = width;
  height_ = height;
  source_x_ = x;
  source_y_ = y;
  key_ = key;
  drawer_ = drawer;
  if (drawer_ != nullptr) drawer_->Reserve(width, height);
}

const char* ChipImage::Load(const char* file_name, platform::COLORREF key, TransparentDraw* drawer) {
  if (own_.bitmap != nullptr) return "Loaded before!";
  if (file_name == nullptr || !LoadBitmapFile(file_name, &own_)) return "image file is not found";
  const platform::SIZE size = GetBitmapFileSize(own_);
  width_ = size.cx;
  height_ = size.cy;
  shared_source_ = false;
  source_x_ = 0;
  source_y_ = 0;
  key_ = key;
  drawer_ = drawer;
  if (drawer_ != nullptr) drawer_->Reserve(width_, height_);
  return nullptr;
}

void ChipImage::DrawTransparent(platform::HDC dc, int32_t x, int32_t y) {
  const platform::HDC source = shared_source_ ? (strip_dc_ != nullptr ? *strip_dc_ : nullptr) : own_.dc;
  if (source == nullptr || width_ <= 0 || height_ <= 0) return;
  if (drawer_ != nullptr) {
    drawer_->Draw(source, source_x_, source_y_, width_, height_, dc, x, y, key_);
    return;
  }
  if (mask_drawer_ == nullptr) {
    mask_drawer_ = std::make_unique<TransparentDraw>(TransparentDraw::Method::kMask);
    mask_drawer_->Reserve(width_, height_);
  }
  mask_drawer_->Draw(source, source_x_, source_y_, width_, height_, dc, x, y, key_);
}

void ChipImage::FreeGdi() {
  ReleaseBitmapFile(&own_);
  mask_drawer_.reset();
}

void ChipImage::Reset() {
  FreeGdi();
  strip_dc_ = nullptr;
  source_x_ = source_y_ = 0;
  shared_source_ = false;
  key_ = 0;
  width_ = height_ = 0;
  value_ = 0;
  drawer_ = nullptr;
}
