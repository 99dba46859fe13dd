// Feeds arbitrary bytes to the upgrade meta file parser.
#include <cstdint>

#include "launcher/meta_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  MetaFileContents contents;
  (void)ParseMetaFile(reinterpret_cast<const char*>(data), size, &contents);
  return 0;
}
