// What plays the sounds: SDL2_mixer, or the silent backend that records.
//
// The interface (sound.cpp) keeps the devices and calls a backend with the user-interface
// thread's requests, one at a time under its own lock. A backend reports the natural end of a
// music through the handler it was given, from whatever thread it learns of it.
#pragma once

#include <memory>
#include <string>

namespace platform {

class SoundBackend {
 public:
  using MusicEndedHandler = void (*)();

  virtual ~SoundBackend() = default;
  virtual const char* Name() const = 0;

  // The silent backend keeps `request`; the others ignore it.
  virtual void Record(const std::string& request) = 0;

  // Plays the wave file at `path` (a native path), cutting off the one playing.
  virtual bool PlayWave(const std::string& path) = 0;
  virtual void StopWave() = 0;

  // A loaded music, or nullptr when the file cannot be loaded.
  virtual void* LoadMusic(const std::string& path) = 0;
  // Plays `music` once from its beginning, stopping any other.
  virtual bool PlayMusic(void* music) = 0;
  // Stops the music playing, if any. Never reports it as ended.
  virtual void HaltMusic() = 0;
  virtual void FreeMusic(void* music) = 0;

  virtual void SetMusicEndedHandler(MusicEndedHandler handler) = 0;
};

// The SDL2_mixer backend, or nullptr (with `error` set) when no audio device opens.
std::unique_ptr<SoundBackend> OpenSdlSoundBackend(std::string* error);

}  // namespace platform
