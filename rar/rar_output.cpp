#include "rar/rar_output.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "rar/rar_messages.h"

namespace {

constexpr mode_t kFolderMode = 0755;
constexpr mode_t kNewFileMode = 0644;
constexpr int kHostUnix = 3;
// What a Unix-made file keeps of its stored mode, and what it always gets.
constexpr uint32_t kKeptModeBits = 0755;
constexpr uint32_t kOwnerReadWrite = 0600;
constexpr uint32_t kUnixTypeBits = 0170000;
constexpr uint32_t kUnixPlainFile = 0100000;
constexpr uint32_t kUnixFolder = 0040000;

bool IsFolder(const std::string& path) {
  struct stat info;
  return ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

}  // namespace

std::string RarOutputPath(const std::string& destination, std::string_view name, bool keep_folders) {
  if (!keep_folders) {
    size_t last = name.find_last_of("\\/");
    if (last != std::string_view::npos) name.remove_prefix(last + 1);
  }
  std::string path = destination;
  for (char ch : name) path.push_back(ch == '\\' ? '/' : ch);
  return path;
}

bool MakePathDirs(const std::string& path) {
  bool made_all = true;
  // Position 0 is skipped so that an absolute destination does not try to make "/".
  for (size_t slash = path.find('/', 1); slash != std::string::npos; slash = path.find('/', slash + 1)) {
    std::string folder = path.substr(0, slash);
    if (folder.empty() || folder.back() == '/' || RarPathExists(folder)) continue;
    if (::mkdir(folder.c_str(), kFolderMode) == 0) {
      RarMessage("\nCreating    %-56s Ok", folder.c_str());
    } else if (!IsFolder(folder)) {
      made_all = false;
    }
  }
  return made_all;
}

bool RarMakeFolder(const std::string& path) {
  std::string folder = path;
  while (folder.size() > 1 && folder.back() == '/') folder.pop_back();
  if (IsFolder(folder)) return true;
  MakePathDirs(folder);
  if (::mkdir(folder.c_str(), kFolderMode) == 0) return true;
  return errno == EEXIST && IsFolder(folder);
}

bool RarPathExists(const std::string& path) {
  struct stat info;
  return ::lstat(path.c_str(), &info) == 0;
}

std::time_t RarDosTimeToUnix(uint32_t dos_time) {
  std::tm parts{};
  parts.tm_sec = static_cast<int>(dos_time & 0x1F) * 2;
  parts.tm_min = static_cast<int>((dos_time >> 5) & 0x3F);
  parts.tm_hour = static_cast<int>((dos_time >> 11) & 0x1F);
  parts.tm_mday = static_cast<int>((dos_time >> 16) & 0x1F);
  parts.tm_mon = static_cast<int>((dos_time >> 21) & 0x0F) - 1;
  parts.tm_year = static_cast<int>(dos_time >> 25) + 80;
  parts.tm_isdst = -1;
  return std::mktime(&parts);
}

bool RarShouldReplace(const std::string& path, uint32_t dos_time, bool freshen_only) {
  struct stat info;
  if (::stat(path.c_str(), &info) != 0) return !freshen_only;
  return info.st_mtime < RarDosTimeToUnix(dos_time);
}

bool RarIsSpecialUnixMode(uint32_t attributes) {
  const uint32_t type = attributes & kUnixTypeBits;
  return type != 0 && type != kUnixPlainFile && type != kUnixFolder;
}

unsigned RarOutputMode(int host_os, uint32_t attributes) {
  if (host_os != kHostUnix || RarIsSpecialUnixMode(attributes)) return kNewFileMode;
  return (attributes & kKeptModeBits) | kOwnerReadWrite;
}

RarOutputFile::~RarOutputFile() { (void)Close(); }

bool RarOutputFile::Create(const std::string& path) {
  constexpr int kFlags = O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC;
  fd_ = ::open(path.c_str(), kFlags, kNewFileMode);
  if (fd_ < 0) {
    MakePathDirs(path);
    fd_ = ::open(path.c_str(), kFlags, kNewFileMode);
  }
  return fd_ >= 0;
}

bool RarOutputFile::Close() {
  if (fd_ < 0) return true;
  bool closed = ::close(fd_) == 0;
  fd_ = -1;
  return closed;
}

bool RarWriteAll(int fd, const void* bytes, size_t count) {
  const auto* data = static_cast<const uint8_t*>(bytes);
  while (count > 0) {
    ssize_t written = ::write(fd, data, count);
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) return false;
    data += written;
    count -= static_cast<size_t>(written);
  }
  return true;
}
