#include "platform/system/single_instance.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "platform/system/system_log.h"
#include "platform/system/user_folders.h"

namespace platform {
namespace {

constexpr char kComeForward[] = "come forward";

std::string SafeName(const std::string& name) {
  std::string safe = name.empty() ? std::string("instance") : name;
  for (char& c : safe) {
    const bool allowed = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
                         c == '.' || c == '_' || c == '-';
    if (!allowed) c = '_';
  }
  if (safe[0] == '.') safe[0] = '_';
  return safe;
}

// The runtime folder, made when missing. A folder we did not make ourselves must be ours and
// closed to others, or another user could hold our lock or hear our requests.
bool PrepareRuntimeFolder(const std::string& folder) {
  if (!EnsureFolder(folder, 0700)) return false;
  struct stat info {};
  if (::lstat(folder.substr(0, folder.size() - 1).c_str(), &info) != 0) return false;
  return S_ISDIR(info.st_mode) && info.st_uid == ::geteuid() && (info.st_mode & 0022) == 0;
}

bool SocketAddress(const std::string& path, sockaddr_un* address) {
  std::memset(address, 0, sizeof *address);
  address->sun_family = AF_UNIX;
  if (path.size() >= sizeof address->sun_path) return false;
  std::memcpy(address->sun_path, path.c_str(), path.size() + 1);
  return true;
}

}  // namespace

SingleInstanceLock::~SingleInstanceLock() { Release(); }

SingleInstanceLock::Result SingleInstanceLock::Acquire(const std::string& name) {
  Release();
  const std::string folder = UserRuntimeFolder();
  if (!PrepareRuntimeFolder(folder)) {
    SystemLog("Single-instance lock unavailable: runtime folder '%s' is not usable.\n", folder.c_str());
    return Result::kUnavailable;
  }
  const std::string base = folder + SafeName(name);
  const int fd = ::open((base + ".lock").c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
  if (fd < 0) {
    SystemLog("Single-instance lock unavailable: cannot open '%s.lock' (%s).\n", base.c_str(),
              std::strerror(errno));
    return Result::kUnavailable;
  }
  while (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
    if (errno == EINTR) continue;
    const bool held = errno == EWOULDBLOCK;
    ::close(fd);
    return held ? Result::kHeldElsewhere : Result::kUnavailable;
  }
  lock_fd_ = fd;

  // Only the holder binds the socket, so a socket file left by an ended holder can go.
  socket_path_ = base + ".sock";
  sockaddr_un address{};
  if (!SocketAddress(socket_path_, &address)) {
    SystemLog("Single-instance requests unavailable: path '%s' too long.\n", socket_path_.c_str());
    return Result::kAcquired;
  }
  ::unlink(socket_path_.c_str());
  socket_fd_ = ::socket(AF_UNIX, SOCK_DGRAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
  if (socket_fd_ >= 0 && ::bind(socket_fd_, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
    ::close(socket_fd_);
    socket_fd_ = -1;
  }
  return Result::kAcquired;
}

void SingleInstanceLock::Release() {
  if (socket_fd_ >= 0) {
    ::close(socket_fd_);
    ::unlink(socket_path_.c_str());
    socket_fd_ = -1;
  }
  if (lock_fd_ >= 0) {
    ::close(lock_fd_);  // closing drops the lock; the file stays for the next holder
    lock_fd_ = -1;
  }
}

bool SingleInstanceLock::TakeComeForwardRequest() {
  if (socket_fd_ < 0) return false;
  bool requested = false;
  char message[64];
  for (;;) {
    const ssize_t n = ::recv(socket_fd_, message, sizeof message, MSG_DONTWAIT);
    if (n < 0) {
      if (errno == EINTR) continue;
      break;  // nothing more waiting
    }
    if (static_cast<size_t>(n) == sizeof kComeForward - 1 && std::memcmp(message, kComeForward, n) == 0) {
      requested = true;
    }
  }
  return requested;
}

bool SingleInstanceLock::AskHolderToComeForward(const std::string& name) {
  sockaddr_un address{};
  if (!SocketAddress(UserRuntimeFolder() + SafeName(name) + ".sock", &address)) return false;
  const int fd = ::socket(AF_UNIX, SOCK_DGRAM | SOCK_CLOEXEC, 0);
  if (fd < 0) return false;
  const ssize_t sent = ::sendto(fd, kComeForward, sizeof kComeForward - 1, MSG_DONTWAIT,
                                reinterpret_cast<const sockaddr*>(&address), sizeof address);
  ::close(fd);
  return sent == static_cast<ssize_t>(sizeof kComeForward - 1);
}

}  // namespace platform
