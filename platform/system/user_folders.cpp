#include "platform/system/user_folders.h"

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <fstream>
#include <vector>

namespace platform {
namespace {

constexpr const char* kProductFolder = "tarvik";

std::string Environment(const char* name) {
  const char* value = std::getenv(name);
  return value != nullptr ? std::string(value) : std::string();
}

std::string WithSlash(std::string folder) {
  if (folder.empty() || folder.back() != '/') folder.push_back('/');
  return folder;
}

// The folder of TVK_CONFIG_ROOT ending in "/", or empty when the variable is not set.
std::string TestRoot() {
  const std::string root = Environment("TVK_CONFIG_ROOT");
  return root.empty() ? root : WithSlash(root);
}

std::string PasswordEntryField(bool want_home) {
  std::vector<char> buffer(16384);
  passwd entry{};
  passwd* found = nullptr;
  if (getpwuid_r(geteuid(), &entry, buffer.data(), buffer.size(), &found) != 0 || found == nullptr) {
    return {};
  }
  const char* field = want_home ? found->pw_dir : found->pw_name;
  return field != nullptr ? std::string(field) : std::string();
}

std::string HomeFolder() {
  std::string home = Environment("HOME");
  if (home.empty()) home = PasswordEntryField(true);
  if (home.empty()) home = "/tmp";
  return WithSlash(home);
}

// An XDG base folder: the variable when it holds an absolute path (the rules say relative ones
// are to be ignored), else the home folder + `fallback`.
std::string XdgBase(const char* variable, const char* fallback) {
  const std::string value = Environment(variable);
  if (!value.empty() && value.front() == '/') return WithSlash(value);
  return HomeFolder() + fallback;
}

// XDG_DESKTOP_DIR from user-dirs.dirs: a line XDG_DESKTOP_DIR="$HOME/Desktop" or an absolute path.
std::string DesktopFromUserDirs() {
  std::ifstream file(XdgBase("XDG_CONFIG_HOME", ".config/") + "user-dirs.dirs");
  std::string line;
  const std::string prefix = "XDG_DESKTOP_DIR=\"";
  while (std::getline(file, line)) {
    if (line.compare(0, prefix.size(), prefix) != 0) continue;
    const size_t end = line.find('"', prefix.size());
    if (end == std::string::npos) return {};
    std::string path = line.substr(prefix.size(), end - prefix.size());
    if (path.compare(0, 6, "$HOME/") == 0) return WithSlash(HomeFolder() + path.substr(6));
    if (!path.empty() && path.front() == '/') return WithSlash(path);
    return {};
  }
  return {};
}

}  // namespace

std::string UserConfigFolder() {
  const std::string root = TestRoot();
  if (!root.empty()) return root;
  return XdgBase("XDG_CONFIG_HOME", ".config/") + kProductFolder + "/";
}

std::string UserDataFolder() {
  const std::string root = TestRoot();
  if (!root.empty()) return root + "data/";
  return XdgBase("XDG_DATA_HOME", ".local/share/") + kProductFolder + "/";
}

std::string UserDesktopFolder() {
  const std::string root = TestRoot();
  if (!root.empty()) return root + "Desktop/";
  const std::string desktop = DesktopFromUserDirs();
  return desktop.empty() ? HomeFolder() + "Desktop/" : desktop;
}

std::string UserApplicationsFolder() {
  const std::string root = TestRoot();
  if (!root.empty()) return root + "applications/";
  return XdgBase("XDG_DATA_HOME", ".local/share/") + "applications/";
}

std::string UserRuntimeFolder() {
  const std::string root = TestRoot();
  if (!root.empty()) return root + "run/";
  const std::string runtime = Environment("XDG_RUNTIME_DIR");
  if (!runtime.empty() && runtime.front() == '/') return WithSlash(runtime);
  // Without a runtime folder, a private one in /tmp named after the user id.
  return "/tmp/tarvik-" + std::to_string(static_cast<unsigned long>(geteuid())) + "/";
}

std::string UserHomeFolder() {
  const std::string root = TestRoot();
  if (!root.empty()) return root + "home/";
  return HomeFolder();
}

std::string UserCacheFolder() {
  const std::string root = TestRoot();
  if (!root.empty()) return root + "cache/";
  return XdgBase("XDG_CACHE_HOME", ".cache/");
}

std::string SystemApplicationsFolder() {
  const std::string root = TestRoot();
  if (!root.empty()) return root + "system-applications/";
  // The rules give the folders in order of preference, separated by ":"; relative ones are ignored.
  const std::string dirs = Environment("XDG_DATA_DIRS");
  for (size_t start = 0; start <= dirs.size();) {
    size_t end = dirs.find(':', start);
    if (end == std::string::npos) end = dirs.size();
    const std::string folder = dirs.substr(start, end - start);
    if (!folder.empty() && folder.front() == '/') return WithSlash(folder) + "applications/";
    start = end + 1;
  }
  return "/usr/local/share/applications/";
}

std::string GetUserName() {
  std::string name = PasswordEntryField(false);
  if (name.empty()) name = Environment("USER");
  if (name.empty()) name = Environment("LOGNAME");
  return name.empty() ? std::string("user") : name;
}

bool EnsureFolder(const std::string& folder, unsigned mode) {
  if (folder.empty()) return false;
  for (size_t slash = folder.find('/', 1); ; slash = folder.find('/', slash + 1)) {
    const std::string part = folder.substr(0, slash);
    if (!part.empty() && ::mkdir(part.c_str(), mode) != 0 && errno != EEXIST) return false;
    if (slash == std::string::npos) break;
  }
  struct stat info {};
  return ::stat(folder.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

}  // namespace platform
