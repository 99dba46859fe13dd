// Feeds arbitrary bytes, as a file, to the BMP reader: LoadBmp, the palette read and a direct
// ReadBmpPixels with the header's own sizes.
#include <cstdint>
#include <vector>

#include "cclient/widgets/bmp_reader.h"
#include "fuzz/fuzz_input_file.h"

namespace {

// Pictures claiming more than this are left to the unit tests: allocating hundreds of megabytes
// per input would only slow the search down.
constexpr int64_t kMaxFuzzBytes = 16 << 20;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const FuzzInputFile input("fuzz_bmp_reader", ".b", data, size);
  if (!input.written()) return 0;
  const char* name = input.path();

  int32_t width = 0, height = 0, bits = 0;
  if (ReadBmpHeader(name, &width, &height, &bits) != BMP_OK) return 0;
  const bool in_bound = width >= 0 && width <= kBmpMaxSide && height >= 0 && height <= kBmpMaxSide;
  const int64_t claimed = in_bound ? int64_t{width} * height * (bits / 8) : 0;
  if (claimed > kMaxFuzzBytes) return 0;

  uint8_t* pixels = nullptr;
  if (LoadBmp(name, &width, &height, &bits, &pixels) == LOADBMP_OK) {
    // Touch every byte the reader claims to have filled.
    const size_t count = static_cast<size_t>(width) * height * bits / 8;
    volatile uint8_t sum = 0;
    for (size_t i = 0; i < count; ++i) sum = sum + pixels[i];
    FreeBmp(&pixels);
  }

  uint8_t palette[768];
  (void)ReadBmpPixels(name, nullptr, palette, width, height, bits);
  if ((bits == 8 || bits == 24) && claimed > 0) {
    std::vector<uint8_t> block(static_cast<size_t>(claimed));
    (void)ReadBmpPixels(name, block.data(), bits == 8 ? palette : nullptr, width, height, bits);
  }
  return 0;
}
