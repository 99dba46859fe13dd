// Threads that are asked to stop, never killed.
//
// A Thread runs one function on a new operating-system thread with a chosen stack size. Stopping
// is cooperative: RequestStop raises a flag and wakes the thread from WaitForStop; the thread's
// function returns when it sees the flag (or on its own); Join waits for that.
#pragma once

#include <pthread.h>

#include <atomic>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <mutex>

namespace platform {

class Thread {
 public:
  Thread() = default;
  ~Thread();  // requests a stop and joins
  Thread(const Thread&) = delete;
  Thread& operator=(const Thread&) = delete;

  // Starts `body` on a new thread. `stack_bytes` 0 takes the system's default size (a smaller
  // request than the system minimum is raised to it). Returns false when the thread could not be
  // created or one is already running. Call from the thread that owns this object.
  [[nodiscard]] bool Start(std::function<void()> body, size_t stack_bytes = 0);

  // Any thread: asks the thread to stop and wakes it from WaitForStop.
  void RequestStop();

  // Any thread: true once RequestStop has been called since the last Start.
  bool StopRequested() const { return stop_.load(std::memory_order_acquire); }

  // The thread itself: waits up to `ms` milliseconds of real time, returning early (true) as
  // soon as a stop is requested. Returns false when the time ran out.
  bool WaitForStop(uint32_t ms);

  // Owner: waits for the thread's function to return. Safe to call when nothing was started.
  void Join();

  // True from Start until the thread's function has returned.
  bool Running() const { return running_.load(std::memory_order_acquire); }

 private:
  static void* Trampoline(void* self);

  std::function<void()> body_;
  pthread_t handle_{};
  bool joinable_ = false;
  std::atomic<bool> stop_{false};
  std::atomic<bool> running_{false};
  std::mutex mutex_;
  std::condition_variable wake_;
};

}  // namespace platform
