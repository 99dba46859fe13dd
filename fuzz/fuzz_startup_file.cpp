// Feeds arbitrary bytes to the start-up file reader.
#include <cstdint>
#include <cstdio>
#include <vector>

#include "cclient/base/startup_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  std::vector<uint8_t> copy(data, data + size);
  FILE* stream = fmemopen(copy.data(), copy.size(), "r");
  if (stream == nullptr) return 0;
  StartupSettings settings = StartupSettings_BuiltIn();
  (void)ReadStartupStream(stream, &settings);
  std::fclose(stream);
  return 0;
}
