#include "platform/sound/recording_sound_backend.h"

#include <unistd.h>

namespace platform {

void RecordingSoundBackend::Record(const std::string& request) {
  std::lock_guard<std::mutex> lock(mutex_);
  requests_.push_back(request);
}

bool RecordingSoundBackend::PlayWave(const std::string& path) { return ::access(path.c_str(), R_OK) == 0; }

// Any readable file loads: the silent backend never decodes.
void* RecordingSoundBackend::LoadMusic(const std::string& path) {
  if (::access(path.c_str(), R_OK) != 0) return nullptr;
  return new Music{path};
}

bool RecordingSoundBackend::PlayMusic(void* music) {
  std::lock_guard<std::mutex> lock(mutex_);
  playing_ = static_cast<Music*>(music);
  return true;
}

void RecordingSoundBackend::HaltMusic() {
  std::lock_guard<std::mutex> lock(mutex_);
  playing_ = nullptr;
}

void RecordingSoundBackend::FreeMusic(void* music) {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    if (playing_ == music) playing_ = nullptr;
  }
  delete static_cast<Music*>(music);
}

std::vector<std::string> RecordingSoundBackend::Requests() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return requests_;
}

void RecordingSoundBackend::ClearRequests() {
  std::lock_guard<std::mutex> lock(mutex_);
  requests_.clear();
}

bool RecordingSoundBackend::EndPlayingMusic() {
  std::lock_guard<std::mutex> lock(mutex_);
  if (playing_ == nullptr) return false;
  playing_ = nullptr;
  return true;
}

}  // namespace platform
