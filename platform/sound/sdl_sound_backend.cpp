// The SDL2_mixer backend. Wave sounds play on mixer channel 0 only, so a new one cuts off the old;
// music plays on the mixer's one music stream.
#include <SDL.h>
#include <SDL_mixer.h>

#include <atomic>

#include "platform/sound/sound_backend.h"

namespace platform {
namespace {

// The mixer's finished-music hook has no user data, so the handler and the "we are stopping it
// ourselves" flag live here. Read on the audio thread.
std::atomic<SoundBackend::MusicEndedHandler> music_ended_handler{nullptr};
std::atomic<bool> halting_music{false};

void SDLCALL OnMusicFinished() {
  if (halting_music.load(std::memory_order_acquire)) return;
  if (const SoundBackend::MusicEndedHandler handler = music_ended_handler.load(std::memory_order_acquire)) {
    handler();
  }
}

class SdlSoundBackend : public SoundBackend {
 public:
  ~SdlSoundBackend() override {
    Mix_HookMusicFinished(nullptr);
    Mix_HaltChannel(-1);
    if (wave_ != nullptr) Mix_FreeChunk(wave_);
    Mix_HaltMusic();
    Mix_CloseAudio();
    Mix_Quit();
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    music_ended_handler.store(nullptr, std::memory_order_release);
  }

  const char* Name() const override { return "SDL2_mixer"; }
  void Record(const std::string&) override {}

  bool PlayWave(const std::string& path) override {
    // The file is opened and closed here: the mixer's own file loader loses its file handle
    // when the file is not a sound it can decode.
    SDL_RWops* file = SDL_RWFromFile(path.c_str(), "rb");
    if (file == nullptr) return false;
    Mix_Chunk* chunk = Mix_LoadWAV_RW(file, 0);
    SDL_RWclose(file);
    if (chunk == nullptr) return false;
    StopWave();
    if (Mix_PlayChannel(0, chunk, 0) < 0) {
      Mix_FreeChunk(chunk);
      return false;
    }
    wave_ = chunk;
    return true;
  }

  // Halting waits for the mixer, so the chunk is no longer in use when it is freed.
  void StopWave() override {
    Mix_HaltChannel(0);
    if (wave_ != nullptr) Mix_FreeChunk(wave_);
    wave_ = nullptr;
  }

  void* LoadMusic(const std::string& path) override { return Mix_LoadMUS(path.c_str()); }

  bool PlayMusic(void* music) override {
    HaltMusic();
    return Mix_PlayMusic(static_cast<Mix_Music*>(music), 0) == 0;
  }

  void HaltMusic() override {
    halting_music.store(true, std::memory_order_release);
    Mix_HaltMusic();  // runs the finished hook before it returns
    halting_music.store(false, std::memory_order_release);
  }

  void FreeMusic(void* music) override {
    halting_music.store(true, std::memory_order_release);
    Mix_FreeMusic(static_cast<Mix_Music*>(music));  // halts it first when it is playing
    halting_music.store(false, std::memory_order_release);
  }

  void SetMusicEndedHandler(MusicEndedHandler handler) override {
    music_ended_handler.store(handler, std::memory_order_release);
  }

 private:
  Mix_Chunk* wave_ = nullptr;
};

}  // namespace

std::unique_ptr<SoundBackend> OpenSdlSoundBackend(std::string* error) {
  if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
    *error = SDL_GetError();
    return nullptr;
  }
  if (Mix_OpenAudio(44100, MIX_DEFAULT_FORMAT, 2, 2048) != 0) {
    *error = Mix_GetError();
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    return nullptr;
  }
  Mix_Init(MIX_INIT_MID);
  Mix_AllocateChannels(1);
  Mix_HookMusicFinished(&OnMusicFinished);
  return std::make_unique<SdlSoundBackend>();
}

}  // namespace platform
