// Feeds arbitrary bytes to the launcher's settings file reader.
#include <cstdint>
#include <cstdio>
#include <vector>

#include "launcher/root_ini.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  std::vector<uint8_t> copy(data, data + size);
  FILE* stream = fmemopen(copy.data(), copy.size(), "r");
  if (stream == nullptr) return 0;
  RootIniSettings settings;
  (void)ReadRootIniStream(stream, &settings);
  std::fclose(stream);
  return 0;
}
