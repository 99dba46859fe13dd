#include "platform/system/paths.h"

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <climits>
#include <vector>

#include "platform/system/ascii_text.h"

namespace platform {
namespace {

bool Exists(const std::string& path) {
  struct stat info {};
  return ::lstat(path.c_str(), &info) == 0;
}

// The entry of `folder` whose name matches `name` ignoring case, or empty when none does.
std::string FindIgnoringCase(const std::string& folder, std::string_view name) {
  DIR* directory = ::opendir(folder.empty() ? "." : folder.c_str());
  if (directory == nullptr) return {};
  std::string best;
  while (const dirent* entry = ::readdir(directory)) {
    const std::string_view candidate = entry->d_name;
    if (EqualsIgnoringCase(candidate, name) && (best.empty() || candidate < best)) best = candidate;
  }
  ::closedir(directory);
  return best;
}

}  // namespace

std::string ProgramFile() {
  char path[PATH_MAX];
  const ssize_t n = ::readlink("/proc/self/exe", path, sizeof path - 1);
  if (n <= 0) return {};
  return std::string(path, static_cast<size_t>(n));
}

std::string ProgramFolder() {
  std::string folder = ProgramFile();
  const size_t slash = folder.rfind('/');
  if (slash == std::string::npos) return {};
  folder.resize(slash + 1);
  return folder;
}

std::string NativePath(std::string_view stored_path) {
  std::string path(stored_path);
  for (char& c : path) {
    if (c == '\\') c = '/';
  }
  while (!path.empty() && path.back() == ' ') path.pop_back();

  // Walk the names; `resolved` holds what exists so far, ending in "/" when it is a folder.
  std::string resolved;
  size_t start = 0;
  if (!path.empty() && path.front() == '/') {
    resolved.push_back('/');
    start = 1;
  }
  while (start < path.size()) {
    size_t end = path.find('/', start);
    if (end == std::string::npos) end = path.size();
    const std::string_view name = std::string_view(path).substr(start, end - start);
    const bool last = end == path.size();
    if (name.empty() || name == "." || name == ".." || Exists(resolved + std::string(name))) {
      resolved.append(name);
    } else {
      const std::string match = FindIgnoringCase(resolved, name);
      if (match.empty()) {
        resolved.append(path, start, std::string::npos);  // the rest stays as given
        return resolved;
      }
      resolved += match;
    }
    if (!last) resolved.push_back('/');
    start = end + 1;
  }
  return resolved;
}

std::string NativeProgramPath(std::string_view program) {
  std::string name(program);
  while (!name.empty() && name.back() == ' ') name.pop_back();
  if (name.size() > 4 && EqualsIgnoringCase(std::string_view(name).substr(name.size() - 4), ".exe")) {
    name.resize(name.size() - 4);
  }
  return NativePath(name);
}

std::string GetCurrentDirectory() {
  char path[PATH_MAX];
  if (::getcwd(path, sizeof path) == nullptr) return {};
  std::string folder(path);
  if (folder.back() != '/') folder.push_back('/');
  return folder;
}

bool SetCurrentDirectory(std::string_view folder) {
  const std::string native = NativePath(folder);
  return !native.empty() && ::chdir(native.c_str()) == 0;
}

}  // namespace platform
