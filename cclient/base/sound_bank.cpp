#include "cclient/base/sound_bank.h"

#include <strings.h>

#include <cstdio>
#include <cstring>

#include "cclient/base/debug_log.h"
#include "platform/sound/sound.h"
#include "platform/system/files.h"
#include "platform/window/message_queue.h"

namespace {

constexpr uint32_t kErrorTextBytes = 1024;

// The slot with `name` and references, else the first slot without references (in `free_slot`,
// -1 when none). Returns the shared slot or -1.
int32_t FindSlot(const int32_t* references, const char (*names)[kSoundNameBytes], int32_t count,
                 const char* name, int32_t* free_slot) {
  *free_slot = -1;
  for (int32_t slot = 0; slot < count; ++slot) {
    if (references[slot] > 0) {
      if (::strcasecmp(names[slot], name) == 0) return slot;
    } else if (*free_slot < 0) {
      *free_slot = slot;
    }
  }
  return -1;
}

bool FitsSlot(const char* file_name) {
  return file_name != nullptr && std::strlen(file_name) < kSoundNameBytes;
}

// The music interface hands its notices over on its own thread; posting them to the window they
// were asked for brings them to the UI thread, where the window procedure passes them on.
void PostMusicNotice(uintptr_t window, uint32_t flags, uint32_t device_id) {
  platform::PostMessage(reinterpret_cast<platform::HWND>(window), platform::MM_MCINOTIFY, flags,
                        static_cast<platform::LPARAM>(device_id));
}

}  // namespace

int FileExists(const char* file_name) {
  if (file_name == nullptr) return 0;
  std::FILE* file = platform::FileOpen(file_name, "rb");
  if (file == nullptr) return 0;
  std::fclose(file);
  return 1;
}

SoundBank::~SoundBank() { Shutdown(); }

const char* SoundBank::Init(platform::HINSTANCE instance, platform::HWND owner) {
  instance_ = instance;
  owner_ = owner;
  initialised_ = 1;
  platform::SetMciNotifyCallback(&PostMusicNotice);
  return nullptr;
}

int32_t SoundBank::Load(const char* file_name) {
  // A longer name could not be kept whole, and a cut name would play another file.
  if (!FitsSlot(file_name)) return kSoundBadSlot;
  int32_t free_slot = -1;
  const int32_t shared = FindSlot(wave_references_, wave_names_, kWaveSlots, file_name, &free_slot);
  if (shared >= 0) {
    ++wave_references_[shared];
    return shared;
  }
  if (free_slot < 0 || !FileExists(file_name)) return kSoundBadSlot;
  std::snprintf(wave_names_[free_slot], kSoundNameBytes, "%s", file_name);
  wave_references_[free_slot] = 1;
  return free_slot;
}

int32_t SoundBank::Release(int32_t slot) {
  if (!WaveSlotInRange(slot)) return kSoundBadSlot;
  if (wave_references_[slot] <= 0) return kSoundNotLoaded;
  --wave_references_[slot];
  return 0;
}

int32_t SoundBank::Play(int32_t slot) {
  if (!WaveSlotInRange(slot)) return kSoundBadSlot;
  if (wave_references_[slot] <= 0) return kSoundNotLoaded;
  platform::PlaySound(wave_names_[slot], nullptr, platform::SND_ASYNC | platform::SND_FILENAME);
  return 0;
}

int32_t SoundBank::StopAll() {
  platform::PlaySound(nullptr, nullptr, 0);
  return 0;
}

bool SoundBank::SendMusicCommand(const char* command, const char* failure_format) {
  const platform::MCIERROR error =
      platform::mciSendString(command, nullptr, 0, reinterpret_cast<uintptr_t>(owner_));
  if (error == platform::MCIERR_NONE) return true;
  char text[kErrorTextBytes];
  if (!platform::mciGetErrorString(error, text, sizeof text)) {
    std::snprintf(text, sizeof text, "Unknown error %ld", static_cast<long>(error));
  }
  DebugLog_Write(failure_format, text);
  return false;
}

int32_t SoundBank::LoadMusic(const char* file_name) {
  if (!FitsSlot(file_name)) return kSoundBadSlot;
  int32_t free_slot = -1;
  const int32_t shared =
      FindSlot(music_references_, music_names_, kMusicSlots, file_name, &free_slot);
  if (shared >= 0) {
    ++music_references_[shared];
    return shared;
  }
  if (free_slot < 0) return kSoundBadSlot;
  std::snprintf(music_names_[free_slot], kSoundNameBytes, "%s", file_name);
  char command[kSoundNameBytes + 64];
  std::snprintf(command, sizeof command, "open %s type sequencer alias music%ld", file_name,
                static_cast<long>(free_slot));
  if (!SendMusicCommand(command, "Load music error (%s)\n")) return kSoundBadSlot;
  music_references_[free_slot] = 1;
  return free_slot;
}

int32_t SoundBank::FreeMusic(int32_t slot) {
  if (!MusicSlotInRange(slot)) return kSoundBadSlot;
  if (music_references_[slot] <= 0) return kSoundNotLoaded;
  if (--music_references_[slot] > 0) return 0;
  if (playing_music_ == slot) playing_music_ = -1;
  char command[32];
  std::snprintf(command, sizeof command, "close music%ld", static_cast<long>(slot));
  return SendMusicCommand(command, "Free music error (%s)\n") ? 0 : kSoundBadSlot;
}

int32_t SoundBank::PlayLoopMusic(int32_t slot) {
  if (!MusicSlotInRange(slot)) return kSoundBadSlot;
  if (music_references_[slot] <= 0) return kSoundNotLoaded;
  char command[48];
  std::snprintf(command, sizeof command, "play music%ld from 0 notify", static_cast<long>(slot));
  (void)SendMusicCommand(command, "PlayLoopMusic error (%s)\n");
  playing_music_ = slot;
  return 0;
}

int32_t SoundBank::StopMusic(int32_t slot) {
  if (!MusicSlotInRange(slot)) return kSoundBadSlot;
  if (music_references_[slot] <= 0) return kSoundNotLoaded;
  playing_music_ = -1;
  char command[32];
  std::snprintf(command, sizeof command, "stop music%ld", static_cast<long>(slot));
  (void)SendMusicCommand(command, "StopMusic error (%s)\n");
  return 0;
}

void SoundBank::OnMusicNotify(uint32_t flags, uint32_t device_id) {
  if (flags == platform::MCI_NOTIFY_SUCCESSFUL && playing_music_ >= 0) {
    PlayLoopMusic(playing_music_);
  }
}

void SoundBank::ReleaseAll() {
  if (!initialised_) return;
  for (int32_t slot = 0; slot < kWaveSlots; ++slot) wave_references_[slot] = 0;
  for (int32_t slot = 0; slot < kMusicSlots; ++slot) {
    if (music_references_[slot] <= 0) continue;
    music_references_[slot] = 1;
    (void)FreeMusic(slot);
  }
  playing_music_ = -1;
  initialised_ = 0;
}

void SoundBank::Shutdown() {
  if (initialised_) ReleaseAll();
}

int32_t SoundBank::WaveReferences(int32_t slot) const {
  return WaveSlotInRange(slot) ? wave_references_[slot] : 0;
}

int32_t SoundBank::MusicReferences(int32_t slot) const {
  return MusicSlotInRange(slot) ? music_references_[slot] : 0;
}

SoundBank& GlobalSoundBank() {
  static SoundBank bank;
  return bank;
}
