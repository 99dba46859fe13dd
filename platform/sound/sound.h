// Sounds: short wave files played from file, and music driven by command strings.
//
// The calls have the shape of the system's multimedia calls the program was designed against:
//
//   PlaySound("check.wav", nullptr, SND_ASYNC | SND_FILENAME);  // cuts off the sound playing
//   PlaySound(nullptr, nullptr, 0);                              // silence
//   mciSendString("open lobby.mid type sequencer alias music0", nullptr, 0, 0);
//   mciSendString("play music0 from 0 notify", nullptr, 0, main_window);
//   mciSendString("stop music0", nullptr, 0, 0);
//   mciSendString("close music0", nullptr, 0, 0);
//
// Commands understood: "open FILE [type sequencer] [alias NAME] [wait]", "play NAME [from 0]
// [notify]", "stop NAME [wait]", "close NAME [wait]", "close all". Words compare without regard
// to case; a file name with blanks goes in double quotes; file names are stored names (see
// platform/system/paths.h). One music plays at a time: playing one stops any other.
//
// When a music started with "notify" plays to its end, the notify callback receives the window
// given with the play command, MCI_NOTIFY_SUCCESSFUL and the device's id. A music that is
// stopped, closed or replaced is not reported. The callback may run on the sound system's own
// thread, inside its lock: it must only hand the notice on (post a message) and never call back
// into this interface.
//
// The sounds play through SDL2_mixer. Under TVK_HEADLESS=1, or when no audio device can be
// opened, a silent backend takes their place: it plays nothing, records every request and command
// string in order, and lets a test end the playing music as if it had played to its end.
//
// Calls come from the user-interface thread; the callback setter and the recording calls from
// any thread.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace platform {

enum : uint32_t {
  SND_SYNC = 0x0000,  // accepted; sounds always play in the background
  SND_ASYNC = 0x0001,
  SND_NODEFAULT = 0x0002,
  SND_FILENAME = 0x0004,
};

// Plays the wave file `sound` (a stored file name; SND_FILENAME must be given), cutting off any
// wave sound playing. nullptr stops the wave sound playing. `module` is not used. Returns false
// when the file cannot be found or played.
bool PlaySound(const char* sound, const void* module, uint32_t flags);

using MCIERROR = uint32_t;

enum : MCIERROR {
  MCIERR_NONE = 0,
  MCIERR_UNRECOGNIZED_COMMAND = 1,
  MCIERR_UNRECOGNIZED_KEYWORD = 2,
  MCIERR_MISSING_PARAMETER = 3,
  MCIERR_BAD_INTEGER = 4,
  MCIERR_INVALID_DEVICE_NAME = 5,
  MCIERR_DUPLICATE_ALIAS = 6,
  MCIERR_FILE_NOT_FOUND = 7,
  MCIERR_CANNOT_LOAD_DRIVER = 8,   // the file is there but cannot be played
  MCIERR_UNSUPPORTED_FUNCTION = 9,
};

enum : uint32_t { MCI_NOTIFY_SUCCESSFUL = 1 };

// The window message a program posts itself to carry a music notice to its window procedure
// (wParam: the flags, lParam: the device id), in the range the window core leaves to sound
// notices.
constexpr uint32_t MM_MCINOTIFY = 0x03B9;

// Runs `command`. `return_text` (may be nullptr) receives the command's answer, "" for these
// commands. `callback_window` is the window a "notify" reports to. 0 on success, else an error.
MCIERROR mciSendString(const char* command, char* return_text, uint32_t return_size, uintptr_t callback_window);

// The text of an error, cut to fit `size` bytes with its NUL. False for an unknown error.
bool mciGetErrorString(MCIERROR error, char* text, uint32_t size);

using MciNotifyCallback = std::function<void(uintptr_t window, uint32_t flags, uint32_t device_id)>;
// Any thread. An empty callback drops notices.
void SetMciNotifyCallback(MciNotifyCallback callback);

// Stops every sound, closes every music and the audio device. The next call opens them again.
void SoundShutdown();

// "SDL2_mixer" or "recording": which backend plays (opening it when none is open yet).
std::string SoundBackendName();

// Recording backend (tests). What was asked, in order: "PlaySound NAME", "PlaySound (stop)" and
// each command string as given. Empty under the SDL2_mixer backend.
std::vector<std::string> RecordedSoundRequests();
void ClearRecordedSoundRequests();
// Ends the playing music as if it had played to its end, and reports it to the notify callback
// on the calling thread. False when no music plays.
bool FinishRecordedMusic();

}  // namespace platform
