// Decoding an 800 x 560 ".a" picture (the size of a table background) with the program's decoder,
// against the JPEG library's own decode loop over the same file: the decoder should add nothing
// measurable to the library's work.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include <jpeglib.h>

#include "cclient/widgets/jpeg_file.h"

namespace {

constexpr int kWidth = 800;
constexpr int kHeight = 560;

// A picture with smooth areas and edges, encoded once per run at the quality of the program's art.
class BackgroundFile {
 public:
  BackgroundFile() : path_("/tmp/bench_jpeg." + std::to_string(getpid()) + ".a") {
    std::vector<uint8_t> rgb(static_cast<size_t>(kWidth) * kHeight * 3);
    for (int y = 0; y < kHeight; ++y)
      for (int x = 0; x < kWidth; ++x) {
        uint8_t* pixel = &rgb[(static_cast<size_t>(y) * kWidth + x) * 3];
        pixel[0] = static_cast<uint8_t>(x * 255 / kWidth);
        pixel[1] = static_cast<uint8_t>(((x / 40 + y / 40) % 2) * 120 + y * 100 / kHeight);
        pixel[2] = static_cast<uint8_t>((x * y) >> 9);
      }
    FILE* file = std::fopen(path_.c_str(), "wb");
    jpeg_compress_struct cinfo{};
    jpeg_error_mgr errors{};
    cinfo.err = jpeg_std_error(&errors);
    jpeg_create_compress(&cinfo);
    jpeg_stdio_dest(&cinfo, file);
    cinfo.image_width = kWidth;
    cinfo.image_height = kHeight;
    cinfo.input_components = 3;
    cinfo.in_color_space = JCS_RGB;
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, 85, TRUE);
    jpeg_start_compress(&cinfo, TRUE);
    while (cinfo.next_scanline < cinfo.image_height) {
      JSAMPROW row = &rgb[static_cast<size_t>(cinfo.next_scanline) * kWidth * 3];
      jpeg_write_scanlines(&cinfo, &row, 1);
    }
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);
    std::fclose(file);
  }
  ~BackgroundFile() { std::remove(path_.c_str()); }
  const char* Path() const { return path_.c_str(); }

 private:
  std::string path_;
};

const BackgroundFile& Background() {
  static const BackgroundFile file;
  return file;
}

void BM_DecodeJpegFile(benchmark::State& state) {
  const char* path = Background().Path();
  for (auto _ : state) {
    int32_t width = 0, height = 0, bits = 0;
    uint8_t* buffer = nullptr;
    if (DecodeJpegFile(path, &width, &height, &bits, &buffer) != nullptr) {
      state.SkipWithError("decode failed");
      break;
    }
    benchmark::DoNotOptimize(buffer);
    FreeDecodedImage(&buffer);
  }
  state.SetItemsProcessed(static_cast<int64_t>(state.iterations()) * kWidth * kHeight);
}
BENCHMARK(BM_DecodeJpegFile)->Unit(benchmark::kMillisecond);

// The library alone: the same file, stdio source, RGB out, one scanline at a time into a buffer
// that is allocated once.
void BM_LibraryDecodeLoop(benchmark::State& state) {
  const char* path = Background().Path();
  std::vector<uint8_t> buffer(static_cast<size_t>(kWidth) * kHeight * 3);
  for (auto _ : state) {
    FILE* file = std::fopen(path, "rb");
    jpeg_decompress_struct cinfo{};
    jpeg_error_mgr errors{};
    cinfo.err = jpeg_std_error(&errors);
    jpeg_create_decompress(&cinfo);
    jpeg_stdio_src(&cinfo, file);
    jpeg_read_header(&cinfo, TRUE);
    cinfo.out_color_space = JCS_RGB;
    jpeg_start_decompress(&cinfo);
    while (cinfo.output_scanline < cinfo.output_height) {
      JSAMPROW row = &buffer[static_cast<size_t>(cinfo.output_scanline) * kWidth * 3];
      jpeg_read_scanlines(&cinfo, &row, 1);
    }
    jpeg_finish_decompress(&cinfo);
    jpeg_destroy_decompress(&cinfo);
    std::fclose(file);
    benchmark::DoNotOptimize(buffer.data());
  }
  state.SetItemsProcessed(static_cast<int64_t>(state.iterations()) * kWidth * kHeight);
}
BENCHMARK(BM_LibraryDecodeLoop)->Unit(benchmark::kMillisecond);

}  // namespace
