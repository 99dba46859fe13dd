#include "cclient/games/kit/game_sounds.h"

#include "cclient/base/lobby_sounds.h"
#include "cclient/base/sound_bank.h"

GameSounds::GameSounds(int32_t slots, const File* files, size_t file_count, const Lobby* lobby,
                       size_t lobby_count)
    : values_(static_cast<size_t>(slots), kNone),
      files_(files),
      file_count_(file_count),
      lobby_(lobby),
      lobby_count_(lobby_count) {}

void GameSounds::On() {
  Load();
  on_ = true;
}

void GameSounds::Off() {
  Release();
  on_ = false;
}

void GameSounds::Load() {
  for (size_t i = 0; i < file_count_; ++i) {
    int32_t& value = values_[static_cast<size_t>(files_[i].slot)];
    if (value < 0) value = GlobalSoundBank().Load(files_[i].file);
  }
  for (size_t i = 0; i < lobby_count_; ++i) values_[static_cast<size_t>(lobby_[i].slot)] = lobby_[i].sound;
}

void GameSounds::Release() {
  for (size_t i = 0; i < file_count_; ++i) {
    const int32_t value = values_[static_cast<size_t>(files_[i].slot)];
    if (value >= 0) (void)GlobalSoundBank().Release(value);
  }
  for (int32_t& value : values_) value = kNone;
}

void GameSounds::Play(int32_t slot) const {
  if (!on_) return;
  const int32_t value = Value(slot);
  (void)GlobalSoundBank().StopAll();
  if (value >= 0) {
    (void)GlobalSoundBank().Play(value);
  } else if (value == kLobbyYourTurn) {
    Main_PlayYourTurnSound();
  } else if (value == kLobbyClick) {
    Main_PlayClickSound();
  } else if (value == kLobbyCard) {
    Main_PlayCardSound();
  }
}
