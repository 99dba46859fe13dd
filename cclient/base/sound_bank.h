// The one player of the client's sounds: short wave files played from file, and music driven by
// command strings.
//
// Modules load a sound by file name and get a slot; loads of the same name (in any letter case)
// share the slot with a reference count, so the lobby and up to four tables can hold the same
// file. Music slot n is known to the music interface as "music" + n; the owner window receives
// each music's completion notice as MM_MCINOTIFY and hands it to OnMusicNotify, which starts a
// looping music again.
//
// Results: a slot number or 0 on success; kSoundBadSlot for a slot outside the range or a failed
// load; kSoundNotLoaded for a slot that holds nothing.
//
// UI thread only.
#pragma once

#include <cstdint>

#include "platform/window/window_types.h"

constexpr int32_t kWaveSlots = 128;
constexpr int32_t kMusicSlots = 16;
// A slot's name buffer: at most 39 characters and the NUL.
constexpr uint32_t kSoundNameBytes = 40;

constexpr int32_t kSoundBadSlot = -1;
constexpr int32_t kSoundNotLoaded = -2;

class SoundBank {
 public:
  SoundBank() = default;
  ~SoundBank();  // Shutdown
  SoundBank(const SoundBank&) = delete;
  SoundBank& operator=(const SoundBank&) = delete;

  // Keeps the instance and the window that receives the music notices, and starts carrying the
  // music interface's notices to that window. nullptr (no failure is possible here).
  [[nodiscard]] const char* Init(platform::HINSTANCE instance, platform::HWND owner);

  // The slot of a wave file: a loaded slot of the same name gains a reference; else the first free
  // slot takes the name, when the file can be opened for reading. kSoundBadSlot when no slot is
  // free, the file is missing, or the name does not fit a slot's buffer.
  int32_t Load(const char* file_name);
  // Drops one reference; the name stays until the slot is reused.
  int32_t Release(int32_t slot);
  // Plays the slot's file in the background, cutting off the wave sound playing.
  int32_t Play(int32_t slot);
  // Silences any wave sound.
  int32_t StopAll();

  // The slot of a music file, opened under the slot's alias. kSoundBadSlot when no slot is free,
  // the name does not fit, or the music interface refuses the file (logged).
  int32_t LoadMusic(const char* file_name);
  // Drops one reference; the last one closes the music.
  int32_t FreeMusic(int32_t slot);
  // Plays the music from its start, asking for the completion notice; the slot becomes the music
  // playing whether or not the command succeeds.
  int32_t PlayLoopMusic(int32_t slot);
  // Stops the music; nothing plays any more, so a completion notice still on its way is ignored.
  int32_t StopMusic(int32_t slot);
  // A completion notice: a music that ended by playing to its end starts again.
  void OnMusicNotify(uint32_t flags, uint32_t device_id);

  // Releases every wave slot and closes every music slot completely; the bank then needs Init
  // again.
  void ReleaseAll();
  void Shutdown();

  bool IsInitialised() const { return initialised_ != 0; }
  int32_t PlayingMusic() const { return playing_music_; }
  int32_t WaveReferences(int32_t slot) const;
  int32_t MusicReferences(int32_t slot) const;

 private:
  static bool WaveSlotInRange(int32_t slot) { return slot >= 0 && slot < kWaveSlots; }
  static bool MusicSlotInRange(int32_t slot) { return slot >= 0 && slot < kMusicSlots; }
  // Sends a music command for `slot`; on failure logs `failure_format` with the interface's text.
  bool SendMusicCommand(const char* command, const char* failure_format);

  platform::HINSTANCE instance_ = nullptr;
  platform::HWND owner_ = nullptr;
  uint32_t initialised_ = 0;
  int32_t playing_music_ = -1;
  int32_t wave_references_[kWaveSlots] = {};
  char wave_names_[kWaveSlots][kSoundNameBytes] = {};
  int32_t music_references_[kMusicSlots] = {};
  char music_names_[kMusicSlots][kSoundNameBytes] = {};
};

// The program's sound bank.
SoundBank& GlobalSoundBank();

// 1 when the file opens for binary reading (it is closed again), else 0.
int FileExists(const char* file_name);
