#include "platform/system/thread.h"

#include <climits>
#include <chrono>

namespace platform {

Thread::~Thread() {
  RequestStop();
  Join();
}

bool Thread::Start(std::function<void()> body, size_t stack_bytes) {
  if (joinable_) return false;
  body_ = std::move(body);
  stop_.store(false, std::memory_order_release);
  running_.store(true, std::memory_order_release);

  pthread_attr_t attr;
  pthread_attr_init(&attr);
  if (stack_bytes > 0) {
    if (stack_bytes < static_cast<size_t>(PTHREAD_STACK_MIN)) stack_bytes = PTHREAD_STACK_MIN;
    pthread_attr_setstacksize(&attr, stack_bytes);
  }
  const int result = pthread_create(&handle_, &attr, &Thread::Trampoline, this);
  pthread_attr_destroy(&attr);
  if (result != 0) {
    running_.store(false, std::memory_order_release);
    return false;
  }
  joinable_ = true;
  return true;
}

void* Thread::Trampoline(void* self) {
  auto* thread = static_cast<Thread*>(self);
  thread->body_();
  thread->running_.store(false, std::memory_order_release);
  return nullptr;
}

void Thread::RequestStop() {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    stop_.store(true, std::memory_order_release);
  }
  wake_.notify_all();
}

bool Thread::WaitForStop(uint32_t ms) {
  std::unique_lock<std::mutex> lock(mutex_);
  return wake_.wait_for(lock, std::chrono::milliseconds(ms),
                        [this] { return stop_.load(std::memory_order_acquire); });
}

void Thread::Join() {
  if (!joinable_) return;
  pthread_join(handle_, nullptr);
  joinable_ = false;
}

}  // namespace platform
