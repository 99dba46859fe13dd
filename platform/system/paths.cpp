#include "platform/system/paths.h"

#include <unistd.h>

#include <climits>

namespace platform {

std::string ProgramFolder() {
  char path[PATH_MAX];
  const ssize_t n = ::readlink("/proc/self/exe", path, sizeof path - 1);
  if (n <= 0) return {};
  std::string folder(path, static_cast<size_t>(n));
  const size_t slash = folder.rfind('/');
  if (slash == std::string::npos) return {};
  folder.resize(slash + 1);
  return folder;
}

}  // namespace platform
