// Feeds arbitrary bytes, as a file, to the JPEG file decoder.
#include <csetjmp>
#include <cstdint>
#include <cstdio>  // jpeglib.h needs FILE and size_t declared first

#include <jpeglib.h>

#include "cclient/widgets/jpeg_file.h"
#include "fuzz/fuzz_input_file.h"

namespace {

// Pictures larger than this are left to the unit tests: the library would spend seconds and
// gigabytes on one input. The decoder's own bound is far above it.
constexpr uint64_t kMaxFuzzPixels = 1 << 20;

struct HeaderErrors {
  jpeg_error_mgr manager;
  std::jmp_buf jump;
};

[[noreturn]] void HeaderErrorExit(j_common_ptr common) {
  std::longjmp(reinterpret_cast<HeaderErrors*>(common->err)->jump, 1);
}
void Quiet(j_common_ptr) {}

// The picture's size from its frame header, 0 when the library cannot read the header.
uint64_t ClaimedPixels(const uint8_t* data, size_t size) {
  jpeg_decompress_struct cinfo{};
  HeaderErrors errors{};
  cinfo.err = jpeg_std_error(&errors.manager);
  errors.manager.error_exit = HeaderErrorExit;
  errors.manager.output_message = Quiet;
  if (setjmp(errors.jump) != 0) {
    jpeg_destroy_decompress(&cinfo);
    return 0;
  }
  jpeg_create_decompress(&cinfo);
  jpeg_mem_src(&cinfo, data, static_cast<unsigned long>(size));
  jpeg_read_header(&cinfo, TRUE);
  const uint64_t pixels = uint64_t{cinfo.image_width} * cinfo.image_height;
  jpeg_destroy_decompress(&cinfo);
  return pixels;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size > 0 && ClaimedPixels(data, size) > kMaxFuzzPixels) return 0;
  const FuzzInputFile input("fuzz_jpeg_file", ".a", data, size);
  if (!input.written()) return 0;
  int32_t width = 0, height = 0, bits = 0;
  uint8_t* buffer = nullptr;
  if (DecodeJpegFile(input.path(), &width, &height, &bits, &buffer) == nullptr) {
    const size_t count = static_cast<size_t>(width) * height * 3;
    volatile uint8_t sum = 0;
    for (size_t i = 0; i < count; ++i) sum = sum + buffer[i];
    SwapRedBlue(buffer, width * height);
    FreeDecodedImage(&buffer);
  }
  return 0;
}
