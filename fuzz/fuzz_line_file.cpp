// Feeds arbitrary bytes to the line file reader (the banner links file comes from the web site),
// then checks what it kept: every line within the limit, and a write and re-read giving the same.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "cclient/base/line_file.h"
#include "fuzz/fuzz_input_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzInputFile input("fuzz_line_file", ".txt", data, size);
  if (!input.written()) return 0;
  LineFile lines;
  const int count = lines.Read(input.path());
  if (count < 0) return 0;
  if (static_cast<uint32_t>(count) != lines.GetCount()) std::abort();
  for (uint32_t i = 0; i < lines.GetCount(); ++i) {
    if (std::strlen(lines.GetLine(i)) > LineFile::kMaxLine) std::abort();
  }
  if (lines.GetCount() == 0) return 0;

  const std::string copy_path = std::string(input.path()) + ".out";
  if (!lines.Write(copy_path.c_str())) return 0;
  LineFile again;
  again.Read(copy_path.c_str());
  std::remove(copy_path.c_str());
  // A line holding a lone CR or an embedded NUL may be split or cut differently on the way back,
  // so only lines of plain text are compared.
  for (uint32_t i = 0; i < lines.GetCount() && i < again.GetCount(); ++i) {
    const char* line = lines.GetLine(i);
    if (std::strchr(line, '\r') != nullptr) break;
    if (std::strcmp(line, again.GetLine(i)) != 0) std::abort();
  }
  return 0;
}
