// A small program the system tests start as a child process. Its first argument names what to do:
//
//   registry-writer NAME COUNT   sets COUNT values under "Concurrent\NAME" and "Concurrent\Shared"
//                                (one save each), exits 0 when every save succeeded
//
// It reports through its exit code and the files it is told to write, never through its output.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "platform/system/registry.h"

namespace {

int WriteRegistryValues(const std::string& name, int count) {
  using namespace platform;
  HKEY own = nullptr;
  HKEY shared = nullptr;
  if (RegCreateKeyEx(HKEY_CURRENT_USER, ("Concurrent\\" + name).c_str(), 0, nullptr, 0, KEY_ALL_ACCESS,
                     nullptr, &own, nullptr) != ERROR_SUCCESS ||
      RegCreateKeyEx(HKEY_CURRENT_USER, "Concurrent\\Shared", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                     &shared, nullptr) != ERROR_SUCCESS) {
    return 2;
  }
  int failures = 0;
  for (int i = 0; i < count; ++i) {
    const uint32_t value = static_cast<uint32_t>(i);
    const std::string value_name = "V" + std::to_string(i);
    const std::string shared_name = name + "-" + std::to_string(i);
    const auto* bytes = reinterpret_cast<const uint8_t*>(&value);
    if (RegSetValueEx(own, value_name.c_str(), 0, REG_DWORD, bytes, 4) != ERROR_SUCCESS) ++failures;
    if (RegSetValueEx(shared, shared_name.c_str(), 0, REG_DWORD, bytes, 4) != ERROR_SUCCESS) ++failures;
  }
  RegCloseKey(own);
  RegCloseKey(shared);
  return failures == 0 ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) return 100;
  const std::string mode = argv[1];
  if (mode == "registry-writer" && argc == 4) return WriteRegistryValues(argv[2], std::atoi(argv[3]));
  return 101;
}
