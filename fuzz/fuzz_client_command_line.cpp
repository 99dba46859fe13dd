// Feeds arbitrary bytes to the client's command-line word reader, as a parameter file's text
// would reach it.
#include <cstdint>
#include <string>

#include "cclient/base/client_command_line.h"
#include "cclient/base/debug_log.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  DebugLevel = -1;  // no log file for the rejected options
  const std::string text(reinterpret_cast<const char*>(data), size);
  CommandLineWords words;
  (void)ReadCommandLineWords(text.c_str(), &words);
  return 0;
}
