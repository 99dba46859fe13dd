#include "platform/draw/image_file.h"

#include <cstring>
#include <new>

#include "platform/draw/gdi.h"

namespace platform {

namespace {

constexpr size_t kFileHeaderSize = 14;
constexpr size_t kInfoHeaderSize = 40;

uint16_t Load16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }
uint32_t Load32(const uint8_t* p) {
  return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) | (static_cast<uint32_t>(p[2]) << 16) |
         (static_cast<uint32_t>(p[3]) << 24);
}

// True when [offset, offset + length) lies inside a block of `size` bytes.
bool Inside(uint64_t offset, uint64_t length, size_t size) { return offset <= size && length <= size - offset; }

uint64_t RowBytes(int64_t width, uint32_t bits) { return ((static_cast<uint64_t>(width) * bits + 31) / 32) * 4; }

bool SideAccepted(int64_t width, int64_t height) {
  return width > 0 && height > 0 && width <= kMaxBitmapSide && height <= kMaxBitmapSide &&
         width * height <= kMaxBitmapPixels;
}

// The fields of an information header that the decoders use.
struct InfoHeader {
  uint32_t size;
  int64_t width;
  int64_t height;  // as stored: negative means top-down rows
  uint16_t planes;
  uint16_t bits;
  uint32_t compression;
  uint32_t colours_used;
};

bool ReadInfoHeader(const uint8_t* bytes, size_t size, size_t offset, InfoHeader* h) {
  if (!Inside(offset, kInfoHeaderSize, size)) return false;
  const uint8_t* p = bytes + offset;
  h->size = Load32(p);
  h->width = static_cast<int32_t>(Load32(p + 4));
  h->height = static_cast<int32_t>(Load32(p + 8));
  h->planes = Load16(p + 12);
  h->bits = Load16(p + 14);
  h->compression = Load32(p + 16);
  h->colours_used = Load32(p + 32);
  return h->size >= kInfoHeaderSize && Inside(offset, h->size, size);
}

bool Allocate(Surface* picture, int64_t width, int64_t height) {
  try {
    *picture = Surface(static_cast<int32_t>(width), static_cast<int32_t>(height));
    return true;
  } catch (const std::bad_alloc&) {
    return false;
  }
}

// An icon's pictures as listed in its directory.
struct IconEntry {
  uint64_t offset;
  uint64_t length;
  InfoHeader header;
};

}  // namespace

const char* DecodeBmp(const uint8_t* bytes, size_t size, Surface* picture) {
  *picture = Surface();
  if (size < kFileHeaderSize + kInfoHeaderSize) return "file too short";
  if (bytes[0] != 'B' || bytes[1] != 'M') return "not a bitmap file";
  const uint64_t data_offset = Load32(bytes + 10);
  InfoHeader h;
  if (!ReadInfoHeader(bytes, size, kFileHeaderSize, &h)) return "bad information header";
  if (h.planes != 1) return "more than one plane";
  if (h.bits != 8 && h.bits != 24) return "unsupported bits per pixel";
  if (h.compression != 0) return "compressed bitmap";
  const int64_t rows = h.height < 0 ? -h.height : h.height;
  if (!SideAccepted(h.width, rows)) return "bad or oversized dimensions";

  RGBQUAD palette[256] = {};
  if (h.bits == 8) {
    const uint64_t entries = h.colours_used == 0 ? 256 : h.colours_used;
    if (entries > 256) return "palette too large";
    const uint64_t palette_offset = kFileHeaderSize + h.size;
    if (!Inside(palette_offset, entries * 4, size) || palette_offset + entries * 4 > data_offset) {
      return "palette outside the file";
    }
    std::memcpy(palette, bytes + palette_offset, static_cast<size_t>(entries) * 4);
  }
  const uint64_t stride = RowBytes(h.width, h.bits);
  if (data_offset < kFileHeaderSize + h.size || !Inside(data_offset, stride * static_cast<uint64_t>(rows), size)) {
    return "pixel rows outside the file";
  }
  if (!Allocate(picture, h.width, rows)) return "out of memory";

  for (int64_t scan = 0; scan < rows; ++scan) {
    const uint8_t* in = bytes + data_offset + static_cast<uint64_t>(scan) * stride;
    uint8_t* out = picture->Row(static_cast<int32_t>(h.height > 0 ? rows - 1 - scan : scan));
    if (h.bits == 24) {
      std::memcpy(out, in, static_cast<size_t>(h.width) * 3);
      continue;
    }
    // Indexes beyond a short palette read its unused, all-black entries.
    for (int64_t x = 0; x < h.width; ++x, out += 3) {
      const RGBQUAD& c = palette[in[x]];
      out[0] = c.rgbBlue;
      out[1] = c.rgbGreen;
      out[2] = c.rgbRed;
    }
  }
  return nullptr;
}

const char* DecodeIco(const uint8_t* bytes, size_t size, Surface* picture, std::vector<uint8_t>* alpha) {
  *picture = Surface();
  alpha->clear();
  if (size < 6 || Load16(bytes) != 0 || Load16(bytes + 2) != 1) return "not an icon file";
  const uint32_t count = Load16(bytes + 4);
  if (count == 0 || !Inside(6, static_cast<uint64_t>(count) * 16, size)) return "bad icon directory";

  // Pick the largest picture stored as a bitmap with 24 or 32 bits (ties: more bits).
  bool found = false;
  IconEntry best{};
  for (uint32_t i = 0; i < count; ++i) {
    const uint8_t* e = bytes + 6 + static_cast<size_t>(i) * 16;
    IconEntry entry{Load32(e + 12), Load32(e + 8), {}};
    if (!Inside(entry.offset, entry.length, size)) continue;
    if (!ReadInfoHeader(bytes, static_cast<size_t>(entry.offset + entry.length), static_cast<size_t>(entry.offset),
                        &entry.header)) {
      continue;  // too short, or a compressed (PNG) picture
    }
    const InfoHeader& h = entry.header;
    if (h.planes != 1 || (h.bits != 24 && h.bits != 32) || h.compression != 0 || h.height <= 0 ||
        !SideAccepted(h.width, h.height / 2)) {
      continue;
    }
    const int64_t area = h.width * (h.height / 2);
    const int64_t best_area = found ? best.header.width * (best.header.height / 2) : -1;
    if (area > best_area || (area == best_area && h.bits > best.header.bits)) {
      best = entry;
      found = true;
    }
  }
  if (!found) return "no 24- or 32-bit picture";

  const InfoHeader& h = best.header;
  const int64_t width = h.width;
  const int64_t height = h.height / 2;  // the stored height counts the colour rows and the mask rows
  const uint64_t colour_offset = best.offset + h.size;
  const uint64_t colour_stride = RowBytes(width, h.bits);
  const uint64_t colour_bytes = colour_stride * static_cast<uint64_t>(height);
  const uint64_t entry_end = best.offset + best.length;
  if (colour_offset > entry_end || colour_bytes > entry_end - colour_offset) return "icon pixels outside the file";
  const uint64_t mask_offset = colour_offset + colour_bytes;
  const uint64_t mask_stride = RowBytes(width, 1);
  const bool has_mask = mask_stride * static_cast<uint64_t>(height) <= entry_end - mask_offset;
  if (h.bits == 24 && !has_mask) return "icon mask outside the file";
  if (!Allocate(picture, width, height)) return "out of memory";
  try {
    alpha->assign(static_cast<size_t>(width * height), 255);
  } catch (const std::bad_alloc&) {
    *picture = Surface();
    return "out of memory";
  }

  bool any_alpha = false;
  const size_t pixel_bytes = h.bits / 8;
  for (int64_t scan = 0; scan < height; ++scan) {
    const int32_t row = static_cast<int32_t>(height - 1 - scan);
    const uint8_t* in = bytes + colour_offset + static_cast<uint64_t>(scan) * colour_stride;
    uint8_t* out = picture->Row(row);
    uint8_t* opacity = alpha->data() + static_cast<size_t>(row) * static_cast<size_t>(width);
    for (int64_t x = 0; x < width; ++x, in += pixel_bytes, out += 3) {
      out[0] = in[0];
      out[1] = in[1];
      out[2] = in[2];
      if (pixel_bytes == 4) {
        opacity[x] = in[3];
        any_alpha = any_alpha || in[3] != 0;
      }
    }
  }
  // Pictures without opacity bytes (or with all of them 0) take their transparency from the mask.
  if (h.bits == 32 && any_alpha) return nullptr;
  for (int64_t scan = 0; scan < height; ++scan) {
    const int32_t row = static_cast<int32_t>(height - 1 - scan);
    uint8_t* opacity = alpha->data() + static_cast<size_t>(row) * static_cast<size_t>(width);
    if (!has_mask) {
      std::memset(opacity, 255, static_cast<size_t>(width));
      continue;
    }
    const uint8_t* mask = bytes + mask_offset + static_cast<uint64_t>(scan) * mask_stride;
    for (int64_t x = 0; x < width; ++x) opacity[x] = (mask[x / 8] >> (7 - x % 8)) & 1 ? 0 : 255;
  }
  return nullptr;
}

}  // namespace platform
