// One ".a" picture decoded once into a memory context, so that the lobby's strips, banners and
// hot-pick tiles can copy parts of it with BitBlt.
//
// UI thread only.
#pragma once

#include <cstdint>

#include "platform/draw/gdi.h"

class JpegImage {
 public:
  JpegImage() = default;
  virtual ~JpegImage();
  JpegImage(const JpegImage&) = delete;
  JpegImage& operator=(const JpegImage&) = delete;

  // Releases any picture held, then decodes `file_name`. Only a 24-bit picture whose width is a
  // multiple of 4 is kept; any other leaves the object empty. True when a picture is held.
  bool Load(platform::HDC dc, const char* file_name);
  void Release();

  // The context holding the picture; nullptr when none is loaded.
  platform::HDC GetDC() const { return dc_; }
  int32_t GetWidth() const { return width_; }
  int32_t GetHeight() const { return height_; }

 private:
  int32_t height_ = 0;
  int32_t width_ = 0;
  platform::HDC dc_ = nullptr;
  platform::HBITMAP bitmap_ = nullptr;
  platform::HGDIOBJ old_bitmap_ = nullptr;
};
