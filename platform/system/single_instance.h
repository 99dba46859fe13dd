// One running copy of a program per user.
//
// The first copy takes a lock file in the user's runtime folder and holds it for its whole life;
// a later copy finds it taken, asks the first to come forward and ends. The lock descriptor is
// close-on-exec, so a program that replaces itself by exec gives the lock up to the program it
// starts, and the system drops it when the process ends however it ends.
//
// The holder also listens on a datagram socket beside the lock file; the user-interface thread
// polls it (TakeComeForwardRequest) and brings its main window to the front.
#pragma once

#include <string>

namespace platform {

class SingleInstanceLock {
 public:
  enum class Result {
    kAcquired,       // this process is the only one
    kHeldElsewhere,  // another process holds the lock
    kUnavailable,    // the lock file cannot be made; run without the guard (logged)
  };

  SingleInstanceLock() = default;
  ~SingleInstanceLock();  // releases
  SingleInstanceLock(const SingleInstanceLock&) = delete;
  SingleInstanceLock& operator=(const SingleInstanceLock&) = delete;

  // Takes the lock called `name` (letters, digits, ".", "_" and "-"; anything else becomes "_").
  [[nodiscard]] Result Acquire(const std::string& name);
  void Release();
  bool Held() const { return lock_fd_ >= 0; }

  // Holder: true when at least one request to come forward arrived since the last call.
  // Never blocks. Call from the thread that owns this object.
  bool TakeComeForwardRequest();

  // Any process: asks the holder of `name` to come forward. False when no holder listens.
  static bool AskHolderToComeForward(const std::string& name);

 private:
  int lock_fd_ = -1;
  int socket_fd_ = -1;
  std::string socket_path_;
};

}  // namespace platform
