// A table's sound slots: each slot holds a sound of the sound bank (a table's own wave file,
// loaded while sound is on) or one of the lobby's sounds the table plays too. A game names its
// slots and gives the files and lobby sounds that fill them; playing a slot stops what the bank
// plays and plays the slot's sound, nothing while sound is off.
//
// UI thread only.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

class GameSounds {
 public:
  // The lobby's sounds a slot may hold (values below 0 that are no sound of the bank).
  static constexpr int32_t kLobbyYourTurn = -4;
  static constexpr int32_t kLobbyClick = -3;
  static constexpr int32_t kLobbyCard = -2;
  static constexpr int32_t kNone = -1;

  struct File {
    int32_t slot;
    const char* file;  // a wave file of the program folder
  };
  struct Lobby {
    int32_t slot;
    int32_t sound;  // kLobbyYourTurn, kLobbyClick or kLobbyCard
  };

  // `slots` slots, all empty; `files` and `lobby` (kept, not copied: static tables) fill them.
  GameSounds(int32_t slots, const File* files, size_t file_count, const Lobby* lobby, size_t lobby_count);

  // Loads the files into the bank and fills the lobby slots, and plays from now on.
  void On();
  // Releases the files and empties every slot; plays nothing from now on.
  void Off();
  bool IsOn() const { return on_; }
  // Plays a slot's sound.
  void Play(int32_t slot) const;
  // A slot's value: a bank sound (0 or above), a lobby sound, or kNone.
  int32_t Value(int32_t slot) const { return values_[static_cast<size_t>(slot)]; }

 private:
  void Load();
  void Release();

  std::vector<int32_t> values_;
  const File* files_;
  size_t file_count_;
  const Lobby* lobby_;
  size_t lobby_count_;
  bool on_ = false;
};
