// Feeds arbitrary bytes to the registry file reader. Whatever it accepts must write back to a
// text that reads as the same tree.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "platform/system/registry_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const std::optional<platform::RegistryTree> tree = platform::RegistryTree::Parse(text);
  if (!tree) return 0;
  const std::string written = tree->Serialize();
  const std::optional<platform::RegistryTree> again = platform::RegistryTree::Parse(written);
  if (!again || again->Serialize() != written) std::abort();
  return 0;
}
