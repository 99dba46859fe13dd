#include "cclient/widgets/bmp_reader.h"

#include <cstdio>
#include <cstdlib>
#include <memory>

namespace {

constexpr size_t kHeaderSize = 54;
constexpr size_t kPaletteSize = 1024;
constexpr int64_t kMaxPixelBytes = int64_t{kBmpMaxSide} * kBmpMaxSide * 3;

struct FileCloser {
  void operator()(FILE* file) const { std::fclose(file); }
};
using File = std::unique_ptr<FILE, FileCloser>;

int32_t LoadLE32(const uint8_t* bytes) {
  return static_cast<int32_t>(static_cast<uint32_t>(bytes[0]) | (static_cast<uint32_t>(bytes[1]) << 8) |
                              (static_cast<uint32_t>(bytes[2]) << 16) | (static_cast<uint32_t>(bytes[3]) << 24));
}

int32_t LoadLE16(const uint8_t* bytes) { return bytes[0] | (bytes[1] << 8); }

struct BmpHeader {
  int32_t data_offset;
  int32_t width;
  int32_t height;
  int32_t bits;
  int32_t compression;
};

BmpHeader ParseHeader(const uint8_t (&bytes)[kHeaderSize]) {
  return BmpHeader{LoadLE32(bytes + 10), LoadLE32(bytes + 18), LoadLE32(bytes + 22), LoadLE16(bytes + 28),
                   LoadLE32(bytes + 30)};
}

[[nodiscard]] bool ReadExactly(FILE* file, void* buffer, size_t count) {
  return count == 0 || std::fread(buffer, 1, count, file) == count;
}

// Reads `height` rows of `row_length` bytes, each followed by `pad` bytes that are dropped.
[[nodiscard]] bool ReadRows(FILE* file, uint8_t* pixels, int32_t height, size_t row_length, size_t pad) {
  if (height <= 0) return true;
  if (pad == 0) return ReadExactly(file, pixels, static_cast<size_t>(height) * row_length);
  uint8_t scratch[4];
  for (int32_t row = 0; row < height; ++row) {
    if (!ReadExactly(file, pixels, row_length) || !ReadExactly(file, scratch, pad)) return false;
    pixels += row_length;
  }
  return true;
}

}  // namespace

int ReadBmpHeader(const char* file_name, int32_t* width, int32_t* height, int32_t* bits) {
  File file(std::fopen(file_name, "rb"));
  if (!file) return BMP_OPEN_FAILED;
  uint8_t bytes[kHeaderSize];
  if (!ReadExactly(file.get(), bytes, sizeof bytes)) return BMP_SHORT_HEADER;
  const BmpHeader header = ParseHeader(bytes);
  *width = header.width;
  *height = header.height;
  *bits = header.bits;
  return BMP_OK;
}

int ReadBmpPixels(const char* file_name, uint8_t* pixels, uint8_t* palette, int32_t width, int32_t height,
                  int32_t bits) {
  File file(std::fopen(file_name, "rb"));
  if (!file) return BMP_OPEN_FAILED;
  uint8_t bytes[kHeaderSize];
  if (!ReadExactly(file.get(), bytes, sizeof bytes)) return BMP_SHORT_HEADER;
  const BmpHeader header = ParseHeader(bytes);

  // Computed in 64 bits: the caller's width and bits are not trusted to keep it small.
  const int64_t row_length = int64_t{width} * bits / 8;
  const int64_t pad = row_length % 4 != 0 ? 4 - row_length % 4 : 0;

  if (header.bits == 8) {
    if (bits != 8 || header.compression != 0) return BMP_UNSUPPORTED;
    if (int64_t{header.data_offset} - static_cast<int64_t>(kHeaderSize) != static_cast<int64_t>(kPaletteSize))
      return BMP_BAD_DATA_OFFSET;
    uint8_t entries[kPaletteSize];
    if (!ReadExactly(file.get(), entries, sizeof entries)) return BMP_SHORT_PALETTE;
    if (palette != nullptr) {
      // The file holds blue, green, red, reserved; callers take red, green, blue at 6 bits.
      for (size_t i = 0; i < 256; ++i) {
        palette[i * 3 + 0] = entries[i * 4 + 2] >> 2;
        palette[i * 3 + 1] = entries[i * 4 + 1] >> 2;
        palette[i * 3 + 2] = entries[i * 4 + 0] >> 2;
      }
    }
  } else if (header.bits == 24) {
    if (bits != 24 || header.compression != 0) return BMP_UNSUPPORTED;
    if (palette != nullptr) return BMP_PALETTE_OF_24_BIT;
    // Pixels are read straight after the header, so a file that keeps them elsewhere (a larger
    // information header, a colour table) would be read shifted.
    if (header.data_offset != static_cast<int32_t>(kHeaderSize)) return BMP_BAD_DATA_OFFSET;
  } else {
    return BMP_UNSUPPORTED;
  }

  if (pixels == nullptr) return BMP_OK;
  if (header.width != width || header.height != height) return BMP_SIZE_MISMATCH;
  if (width < 0 || width > kBmpMaxSide || height < 0 || height > kBmpMaxSide) return BMP_SIZE_REFUSED;
  if (!ReadRows(file.get(), pixels, height, static_cast<size_t>(row_length), static_cast<size_t>(pad)))
    return BMP_SHORT_PIXELS;
  return BMP_OK;
}

int LoadBmp(const char* file_name, int32_t* width, int32_t* height, int32_t* bits, uint8_t** pixels) {
  *pixels = nullptr;
  int32_t file_width = 0;
  int32_t file_height = 0;
  int32_t file_bits = 0;
  if (ReadBmpHeader(file_name, &file_width, &file_height, &file_bits) != BMP_OK) return LOADBMP_NO_HEADER;
  *width = file_width;
  *height = file_height;
  *bits = file_bits;

  // A depth the reader does not take fails when the pixels are read; no block is needed for that.
  if (file_bits != 8 && file_bits != 24) return LOADBMP_NO_PIXELS;
  // Top-down rows, empty pictures and sides beyond the bound are refused before any arithmetic
  // on the size, so the block's size can neither overflow nor exhaust memory.
  if (file_width < 1 || file_width > kBmpMaxSide || file_height < 1 || file_height > kBmpMaxSide)
    return LOADBMP_NO_MEMORY;
  const int64_t byte_count = int64_t{file_width} * file_height * file_bits / 8;
  if (byte_count > kMaxPixelBytes) return LOADBMP_NO_MEMORY;

  auto* block = static_cast<uint8_t*>(std::malloc(static_cast<size_t>(byte_count)));
  if (block == nullptr) return LOADBMP_NO_MEMORY;
  if (ReadBmpPixels(file_name, block, nullptr, file_width, file_height, file_bits) != BMP_OK) {
    std::free(block);
    return LOADBMP_NO_PIXELS;
  }
  *pixels = block;
  return LOADBMP_OK;
}

void FreeBmp(uint8_t** pixels) {
  if (*pixels == nullptr) return;
  std::free(*pixels);
  *pixels = nullptr;
}
