// LoadImage from files, and icons.
#include <cstdio>
#include <new>
#include <vector>

#include "platform/draw/device_context.h"
#include "platform/draw/gdi.h"
#include "platform/draw/image_file.h"

namespace platform {

namespace {

// No picture the program loads comes near this; larger files are refused unread.
constexpr long kLargestImageFile = 256L << 20;

void LogRefusal(const char* file, const char* reason) { std::fprintf(stderr, "LoadImage: %s: %s\n", file, reason); }

const char* ReadWholeFile(const char* path, std::vector<uint8_t>* bytes) {
  FILE* file = std::fopen(path, "rb");
  if (file == nullptr) return "cannot open the file";
  const char* problem = nullptr;
  long length = -1;
  if (std::fseek(file, 0, SEEK_END) != 0 || (length = std::ftell(file)) < 0 || std::fseek(file, 0, SEEK_SET) != 0) {
    problem = "cannot read the file";
  } else if (length > kLargestImageFile) {
    problem = "file too large";
  } else {
    try {
      bytes->resize(static_cast<size_t>(length));
      if (std::fread(bytes->data(), 1, bytes->size(), file) != bytes->size()) problem = "cannot read the file";
    } catch (const std::bad_alloc&) {
      problem = "out of memory";
    }
  }
  std::fclose(file);
  return problem;
}

HGDIOBJ LoadBitmapFile(const char* name, const std::vector<uint8_t>& bytes, int32_t width, int32_t height) {
  Surface picture;
  if (const char* problem = DecodeBmp(bytes.data(), bytes.size(), &picture)) {
    LogRefusal(name, problem);
    return nullptr;
  }
  if ((width != 0 && width != picture.width) || (height != 0 && height != picture.height)) {
    LogRefusal(name, "asked for another size (pictures are never stretched)");
    return nullptr;
  }
  HBITMAP bitmap = NewBitmap(picture.width, picture.height, false);
  if (bitmap == nullptr) {
    LogRefusal(name, "out of memory");
    return nullptr;
  }
  bitmap->surface = std::move(picture);
  return bitmap;
}

HGDIOBJ LoadIconFile(const char* name, const std::vector<uint8_t>& bytes) {
  Surface picture;
  std::vector<uint8_t> alpha;
  if (const char* problem = DecodeIco(bytes.data(), bytes.size(), &picture, &alpha)) {
    LogRefusal(name, problem);
    return nullptr;
  }
  auto* icon = new (std::nothrow) GdiIcon(0, 0);
  if (icon == nullptr) return nullptr;
  icon->colour = std::move(picture);
  icon->alpha = std::move(alpha);
  return icon;
}

}  // namespace

HGDIOBJ LoadImage(const char* name, uint32_t type, int32_t width, int32_t height, uint32_t flags) {
  if (name == nullptr) return nullptr;
  if ((flags & LR_LOADFROMFILE) == 0 || (type != IMAGE_BITMAP && type != IMAGE_ICON)) {
    LogRefusal(name, "only bitmap and icon files can be loaded");
    return nullptr;
  }
  std::vector<uint8_t> bytes;
  if (const char* problem = ReadWholeFile(name, &bytes)) {
    LogRefusal(name, problem);
    return nullptr;
  }
  return type == IMAGE_BITMAP ? LoadBitmapFile(name, bytes, width, height) : LoadIconFile(name, bytes);
}

bool DestroyIcon(HICON icon) { return DeleteObject(icon); }

bool DrawIcon(HDC dc, int32_t x, int32_t y, HICON icon) {
  if (dc == nullptr || icon == nullptr) return false;
  const Surface& picture = icon->colour;
  const bool monochrome = dc->Monochrome();
  dc->ForEachVisibleSpan(RECT{x, y, x + picture.width, y + picture.height},
                         [&](int32_t row, int32_t left, int32_t right) {
    const int32_t source_row = row - y;
    const uint8_t* in = picture.Row(source_row) + static_cast<size_t>(left - x) * 3;
    const uint8_t* opacity = icon->alpha.data() + static_cast<size_t>(source_row) * picture.width + (left - x);
    uint8_t* out = dc->surface->Row(row) + static_cast<size_t>(left) * 3;
    for (int32_t i = 0; i < right - left; ++i, in += 3, out += 3) {
      const uint32_t a = opacity[i];
      if (a == 0) continue;
      for (int c = 0; c < 3; ++c) out[c] = static_cast<uint8_t>((in[c] * a + out[c] * (255 - a) + 127) / 255);
      if (monochrome) out[0] = out[1] = out[2] = (out[0] + out[1] + out[2] >= 3 * 128) ? 255 : 0;
    }
  });
  return true;
}

bool GetIconPixels(HICON icon, int32_t* width, int32_t* height, std::vector<uint8_t>* rgba) {
  if (icon == nullptr || width == nullptr || height == nullptr || rgba == nullptr) return false;
  const Surface& picture = icon->colour;
  *width = picture.width;
  *height = picture.height;
  rgba->resize(static_cast<size_t>(picture.width) * picture.height * 4);
  uint8_t* out = rgba->data();
  for (int32_t y = 0; y < picture.height; ++y) {
    const uint8_t* in = picture.Row(y);
    for (int32_t x = 0; x < picture.width; ++x, in += 3, out += 4) {
      out[0] = in[2];
      out[1] = in[1];
      out[2] = in[0];
      out[3] = icon->alpha[static_cast<size_t>(y) * picture.width + x];
    }
  }
  return true;
}

}  // namespace platform
