// The player-notes dialog: free-text notes the user keeps on another player, in a file of their
// own, and the "Mute Chat" mark that hides the player's chat.
//
// UI thread only.
#pragma once

#include <cstdint>

#include "cclient/base/player_note_names.h"

#include "platform/controls/dialog.h"
#include "platform/window/window_types.h"

constexpr int kNotesTextEdit = 1004;
constexpr int kNotesNameEdit = 1005;
constexpr int kNotesMuteCheck = 1117;
// At most this many bytes of a notes file are read, and of the notes text written.
constexpr uint32_t kNotesMaxBytes = 204799;

// Opens the notes dialog for `player` (nothing for an empty name), or brings the open dialog of
// that player forward.
void PlayerNotes_Open(platform::HINSTANCE instance, platform::HWND parent, const char* player);

extern const platform::DialogTemplate kPlayerNotesTemplate;
