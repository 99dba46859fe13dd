#include "platform/draw/png_writer.h"

#include <png.h>

#include <csetjmp>
#include <cstdio>

#include "platform/draw/gdi.h"

namespace platform {

namespace {

// libpng reports errors by long-jumping back here; nothing with a destructor lives in between.
bool WritePng(FILE* file, const Surface& picture) {
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  if (png == nullptr) return false;
  png_infop info = png_create_info_struct(png);
  if (info == nullptr) {
    png_destroy_write_struct(&png, nullptr);
    return false;
  }
  if (setjmp(png_jmpbuf(png))) {
    png_destroy_write_struct(&png, &info);
    return false;
  }
  png_init_io(png, file);
  png_set_IHDR(png, info, static_cast<png_uint_32>(picture.width), static_cast<png_uint_32>(picture.height), 8,
               PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  png_write_info(png, info);
  png_set_bgr(png);  // our pixels are blue, green, red
  for (int32_t y = 0; y < picture.height; ++y) png_write_row(png, const_cast<png_bytep>(picture.Row(y)));
  png_write_end(png, nullptr);
  png_destroy_write_struct(&png, &info);
  return true;
}

}  // namespace

bool SaveSurfacePng(const Surface& picture, const std::string& path) {
  if (picture.width <= 0 || picture.height <= 0) return false;
  FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr) return false;
  const bool written = WritePng(file, picture);
  return std::fclose(file) == 0 && written;
}

bool SaveDCPng(HDC dc, const std::string& path) {
  const Surface* picture = GetDCSurface(dc);
  return picture != nullptr && SaveSurfacePng(*picture, path);
}

}  // namespace platform
