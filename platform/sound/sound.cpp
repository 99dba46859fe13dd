#include "platform/sound/sound.h"

#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <map>
#include <memory>
#include <mutex>

#include "platform/sound/mci_command.h"
#include "platform/sound/recording_sound_backend.h"
#include "platform/sound/sound_backend.h"
#include "platform/system/ascii_text.h"
#include "platform/system/paths.h"
#include "platform/system/system_log.h"

namespace platform {
namespace {

struct MusicDevice {
  uint32_t id = 0;
  void* music = nullptr;
};

// Devices and the backend: user-interface thread's calls, one at a time under `state_mutex`.
std::mutex state_mutex;
std::unique_ptr<SoundBackend> backend;
RecordingSoundBackend* recording = nullptr;  // the backend, when it is the silent one
std::map<std::string, MusicDevice> devices;  // by folded name
uint32_t playing_device = 0;                 // 0: none
uint32_t next_device_id = 1;

// The notice owed for the music playing, and where to send it. Taken by whichever comes first: the
// music's natural end (any thread, possibly inside the mixer's lock) or a stop, close or new play.
// Never held while calling the backend, so the end handler can always take it.
std::mutex notify_mutex;
struct PendingNotice {
  bool owed = false;
  uintptr_t window = 0;
  uint32_t device_id = 0;
} pending_notice;
MciNotifyCallback notify_callback;

void OnMusicEnded() {
  PendingNotice notice;
  MciNotifyCallback callback;
  {
    std::lock_guard<std::mutex> lock(notify_mutex);
    notice = pending_notice;
    pending_notice.owed = false;
    callback = notify_callback;
  }
  if (notice.owed && callback) callback(notice.window, MCI_NOTIFY_SUCCESSFUL, notice.device_id);
}

void DropPendingNotice() {
  std::lock_guard<std::mutex> lock(notify_mutex);
  pending_notice.owed = false;
}

// Under `state_mutex`: opens the backend at first use.
SoundBackend& Backend() {
  if (backend) return *backend;
  const char* headless = std::getenv("TVK_HEADLESS");
  std::string error = "headless";
  if (headless == nullptr || std::strcmp(headless, "1") != 0) backend = OpenSdlSoundBackend(&error);
  if (!backend) {
    if (error != "headless") SystemLog("No audio device (%s): sounds are recorded, not played.\n", error.c_str());
    auto silent = std::make_unique<RecordingSoundBackend>();
    recording = silent.get();
    backend = std::move(silent);
  }
  backend->SetMusicEndedHandler(&OnMusicEnded);
  return *backend;
}

void StopMusicLocked() {
  DropPendingNotice();
  if (playing_device != 0) Backend().HaltMusic();
  playing_device = 0;
}

void CloseDeviceLocked(std::map<std::string, MusicDevice>::iterator device) {
  if (device->second.id == playing_device) StopMusicLocked();
  Backend().FreeMusic(device->second.music);
  devices.erase(device);
}

MCIERROR Open(const MciCommand& command) {
  if (!command.device_type.empty() && command.device_type != "sequencer") return MCIERR_UNSUPPORTED_FUNCTION;
  const std::string name = AsciiLower(command.alias.empty() ? command.target : command.alias);
  if (name == "all" || devices.count(name) != 0) return MCIERR_DUPLICATE_ALIAS;
  const std::string path = NativePath(command.target);
  if (::access(path.c_str(), R_OK) != 0) return MCIERR_FILE_NOT_FOUND;
  void* music = Backend().LoadMusic(path);
  if (music == nullptr) return MCIERR_CANNOT_LOAD_DRIVER;
  devices[name] = MusicDevice{next_device_id++, music};
  return MCIERR_NONE;
}

MCIERROR Play(const MciCommand& command, uintptr_t callback_window) {
  if (command.wait) return MCIERR_UNSUPPORTED_FUNCTION;
  if (command.has_from && command.from != 0) return MCIERR_UNSUPPORTED_FUNCTION;
  const auto device = devices.find(AsciiLower(command.target));
  if (device == devices.end()) return MCIERR_INVALID_DEVICE_NAME;
  StopMusicLocked();
  if (command.notify) {
    std::lock_guard<std::mutex> lock(notify_mutex);
    pending_notice = PendingNotice{true, callback_window, device->second.id};
  }
  if (!Backend().PlayMusic(device->second.music)) {
    DropPendingNotice();
    return MCIERR_CANNOT_LOAD_DRIVER;
  }
  playing_device = device->second.id;
  return MCIERR_NONE;
}

MCIERROR Stop(const MciCommand& command) {
  const auto device = devices.find(AsciiLower(command.target));
  if (device == devices.end()) return MCIERR_INVALID_DEVICE_NAME;
  if (device->second.id == playing_device) StopMusicLocked();
  return MCIERR_NONE;
}

MCIERROR Close(const MciCommand& command) {
  if (AsciiLower(command.target) == "all") {
    while (!devices.empty()) CloseDeviceLocked(devices.begin());
    return MCIERR_NONE;
  }
  const auto device = devices.find(AsciiLower(command.target));
  if (device == devices.end()) return MCIERR_INVALID_DEVICE_NAME;
  CloseDeviceLocked(device);
  return MCIERR_NONE;
}

struct ErrorText {
  MCIERROR error;
  const char* text;
};

constexpr ErrorText kErrorTexts[] = {
    {MCIERR_NONE, "The command completed."},
    {MCIERR_UNRECOGNIZED_COMMAND, "The command is not one the sound system knows."},
    {MCIERR_INVALID_DEVICE_NAME, "No device is open under that name."},
    {MCIERR_FILE_NOT_FOUND, "The file cannot be found."},
    {MCIERR_CANNOT_LOAD_DRIVER, "The file cannot be played."},
    {MCIERR_MISSING_PARAMETER, "A part of the command is missing."},
    {MCIERR_UNSUPPORTED_FUNCTION, "The device cannot do that."},
    {MCIERR_DUPLICATE_ALIAS, "A device is open under that name already."},
    {MCIERR_BAD_INTEGER, "A number in the command is not a whole number."},
    {MCIERR_UNRECOGNIZED_KEYWORD, "A word of the command is not known."},
};

}  // namespace

bool PlaySound(const char* sound, const void* module, uint32_t flags) {
  std::lock_guard<std::mutex> lock(state_mutex);
  SoundBackend& player = Backend();
  if (sound == nullptr) {
    player.Record("PlaySound (stop)");
    player.StopWave();
    return true;
  }
  player.Record(std::string("PlaySound ") + sound);
  if ((flags & SND_FILENAME) == 0) return false;
  return player.PlayWave(NativePath(sound));
}

MCIERROR mciSendString(const char* command, char* return_text, uint32_t return_size, uintptr_t callback_window) {
  if (return_text != nullptr && return_size > 0) return_text[0] = '\0';
  std::lock_guard<std::mutex> lock(state_mutex);
  Backend().Record(command != nullptr ? command : "");
  MciCommand parsed;
  const MCIERROR parse_error = ParseMciCommand(command != nullptr ? command : "", &parsed);
  if (parse_error != MCIERR_NONE) return parse_error;
  switch (parsed.verb) {
    case MciCommand::Verb::kOpen:
      return Open(parsed);
    case MciCommand::Verb::kPlay:
      return Play(parsed, callback_window);
    case MciCommand::Verb::kStop:
      return Stop(parsed);
    case MciCommand::Verb::kClose:
      return Close(parsed);
  }
  return MCIERR_UNRECOGNIZED_COMMAND;
}

bool mciGetErrorString(MCIERROR error, char* text, uint32_t size) {
  for (const ErrorText& entry : kErrorTexts) {
    if (entry.error != error) continue;
    if (text != nullptr && size > 0) {
      std::strncpy(text, entry.text, size - 1);
      text[size - 1] = '\0';
    }
    return true;
  }
  if (text != nullptr && size > 0) text[0] = '\0';
  return false;
}

void SetMciNotifyCallback(MciNotifyCallback callback) {
  std::lock_guard<std::mutex> lock(notify_mutex);
  notify_callback = std::move(callback);
}

void SoundShutdown() {
  std::lock_guard<std::mutex> lock(state_mutex);
  if (!backend) return;
  StopMusicLocked();
  while (!devices.empty()) CloseDeviceLocked(devices.begin());
  backend->StopWave();
  recording = nullptr;
  backend.reset();
}

std::string SoundBackendName() {
  std::lock_guard<std::mutex> lock(state_mutex);
  return Backend().Name();
}

std::vector<std::string> RecordedSoundRequests() {
  std::lock_guard<std::mutex> lock(state_mutex);
  Backend();
  return recording != nullptr ? recording->Requests() : std::vector<std::string>();
}

void ClearRecordedSoundRequests() {
  std::lock_guard<std::mutex> lock(state_mutex);
  Backend();
  if (recording != nullptr) recording->ClearRequests();
}

bool FinishRecordedMusic() {
  {
    std::lock_guard<std::mutex> lock(state_mutex);
    Backend();
    if (recording == nullptr || !recording->EndPlayingMusic()) return false;
  }
  // Outside the interface's lock, like an end the mixer reports from its own thread.
  OnMusicEnded();
  return true;
}

}  // namespace platform
