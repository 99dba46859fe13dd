#include "platform/system/files.h"

#include <dirent.h>
#include <fcntl.h>
#include <fnmatch.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>

#include "platform/system/paths.h"

namespace platform {
namespace {

bool WriteAll(int fd, const char* bytes, size_t size) {
  size_t done = 0;
  while (done < size) {
    const ssize_t n = ::write(fd, bytes + done, size - done);
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    done += static_cast<size_t>(n);
  }
  return true;
}

bool CopyBytes(int from, int to) {
  char chunk[65536];
  for (;;) {
    const ssize_t n = ::read(from, chunk, sizeof chunk);
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    if (n == 0) return true;
    if (!WriteAll(to, chunk, static_cast<size_t>(n))) return false;
  }
}

// Renames `from` to `to` (native paths); without `replace`, an existing `to` makes it fail.
bool RenameNative(const std::string& from, const std::string& to, bool replace) {
  if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), replace ? 0 : RENAME_NOREPLACE) == 0) {
    return true;
  }
  // A file system without the no-replace rename: look first (not atomic, but the best it allows).
  if (errno != EINVAL || replace) return false;
  struct stat info {};
  if (::lstat(to.c_str(), &info) == 0) {
    errno = EEXIST;
    return false;
  }
  return ::rename(from.c_str(), to.c_str()) == 0;
}

bool CopyNative(const std::string& from, const std::string& to, bool fail_if_exists) {
  const int source = ::open(from.c_str(), O_RDONLY | O_CLOEXEC);
  if (source < 0) return false;
  struct stat info {};
  if (::fstat(source, &info) != 0 || !S_ISREG(info.st_mode)) {
    ::close(source);
    return false;
  }
  const std::string temporary = to + ".copying";
  const int target = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
  if (target < 0) {
    ::close(source);
    return false;
  }
  bool ok = CopyBytes(source, target) && ::fchmod(target, info.st_mode & 0777) == 0;
  ok = (::close(target) == 0) && ok;
  ::close(source);
  if (!ok || !RenameNative(temporary, to, !fail_if_exists)) {
    ::unlink(temporary.c_str());
    return false;
  }
  return true;
}

bool MoveNative(const std::string& from, const std::string& to, bool replace) {
  if (RenameNative(from, to, replace)) return true;
  if (errno != EXDEV) return false;
  return CopyNative(from, to, !replace) && ::unlink(from.c_str()) == 0;
}

}  // namespace

std::FILE* FileOpen(std::string_view path, const char* mode) {
  const std::string close_on_exec_mode = std::string(mode) + "e";
  return std::fopen(NativePath(path).c_str(), close_on_exec_mode.c_str());
}

FileInfo GetFileInfo(std::string_view path) {
  FileInfo result;
  struct stat info {};
  if (::stat(NativePath(path).c_str(), &info) != 0) return result;
  result.exists = true;
  result.is_folder = S_ISDIR(info.st_mode);
  result.size = static_cast<uint64_t>(info.st_size);
  result.modified_utc = static_cast<int64_t>(info.st_mtime);
  return result;
}

bool FileExists(std::string_view path) { return GetFileInfo(path).exists; }

bool CopyFile(std::string_view from, std::string_view to, bool fail_if_exists) {
  return CopyNative(NativePath(from), NativePath(to), fail_if_exists);
}

bool MoveFile(std::string_view from, std::string_view to) {
  return MoveNative(NativePath(from), NativePath(to), false);
}

bool MoveFileEx(std::string_view from, std::string_view to, uint32_t flags) {
  return MoveNative(NativePath(from), NativePath(to), (flags & MOVEFILE_REPLACE_EXISTING) != 0);
}

bool DeleteFile(std::string_view path) { return ::unlink(NativePath(path).c_str()) == 0; }

bool CreateDirectory(std::string_view path) { return ::mkdir(NativePath(path).c_str(), 0755) == 0; }

bool RemoveDirectory(std::string_view path) { return ::rmdir(NativePath(path).c_str()) == 0; }

std::vector<std::string> ListFiles(std::string_view folder, std::string_view pattern) {
  std::vector<std::string> names;
  std::string native_folder = NativePath(folder);
  if (native_folder.empty()) native_folder.push_back('.');
  if (native_folder.back() != '/') native_folder.push_back('/');
  const std::string match = pattern == "*.*" ? std::string("*") : std::string(pattern);
  DIR* directory = ::opendir(native_folder.c_str());
  if (directory == nullptr) return names;
  while (const dirent* entry = ::readdir(directory)) {
    if (::fnmatch(match.c_str(), entry->d_name, FNM_CASEFOLD) != 0) continue;
    struct stat info {};
    if (::stat((native_folder + entry->d_name).c_str(), &info) != 0 || !S_ISREG(info.st_mode)) continue;
    names.emplace_back(entry->d_name);
  }
  ::closedir(directory);
  std::sort(names.begin(), names.end());
  return names;
}

}  // namespace platform
