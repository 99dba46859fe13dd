// Feeds arbitrary packed data to the 1.5 unpacker, as one file and as a following solid file.
#include "fuzz/rar_unpack_fuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzUnpackFiles(15, data, size);
  return 0;
}
