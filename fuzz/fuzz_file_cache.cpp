// Feeds arbitrary bytes to the reader of the launcher's cache of good files.
#include <cstdint>
#include <cstdio>
#include <vector>

#include "launcher/file_cache.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  std::vector<uint8_t> copy(data, data + size);
  FILE* stream = fmemopen(copy.data(), copy.size(), "r");
  if (stream == nullptr) return 0;
  (void)LoadFileCacheStream(stream);
  std::fclose(stream);
  return 0;
}
