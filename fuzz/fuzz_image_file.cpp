// Picture files from the program folder: BMP bitmaps and ICO icons.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "platform/draw/image_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  platform::Surface picture;
  std::vector<uint8_t> alpha;
  (void)platform::DecodeBmp(data, size, &picture);
  (void)platform::DecodeIco(data, size, &picture, &alpha);
  return 0;
}
