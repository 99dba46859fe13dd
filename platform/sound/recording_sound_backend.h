// The silent backend: plays nothing, keeps every request, and ends the playing music when a test
// says so. Used under TVK_HEADLESS=1 and when no audio device opens.
#pragma once

#include <mutex>
#include <string>
#include <vector>

#include "platform/sound/sound_backend.h"

namespace platform {

class RecordingSoundBackend : public SoundBackend {
 public:
  const char* Name() const override { return "recording"; }
  void Record(const std::string& request) override;
  bool PlayWave(const std::string& path) override;
  void StopWave() override {}
  void* LoadMusic(const std::string& path) override;
  bool PlayMusic(void* music) override;
  void HaltMusic() override;
  void FreeMusic(void* music) override;
  // The interface reports the end itself (see EndPlayingMusic), outside its lock.
  void SetMusicEndedHandler(MusicEndedHandler) override {}

  // Any thread.
  std::vector<std::string> Requests() const;
  void ClearRequests();
  // Ends the playing music as if it had played to its end; false when none plays. The caller
  // reports the end.
  bool EndPlayingMusic();

 private:
  struct Music {
    std::string path;
  };

  mutable std::mutex mutex_;
  std::vector<std::string> requests_;
  Music* playing_ = nullptr;
};

}  // namespace platform
