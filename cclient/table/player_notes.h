// The player-notes dialog: free-text notes the user keeps on another player, in a file of their
// own, and the "Mute Chat" mark that hides the player's chat.
//
// UI thread only.
#pragma once

#include <cstdint>

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

// The notes file name of a player ("<name>.not") in `out` of `size` bytes. Letters and digits are
// kept and every other character is written as "_" and two upper-case hexadecimal digits, so that
// names such as "a.b", "a b" and "a_b" get files of their own. With `legacy`, the older form in
// which every such character was written as "_" alone (read when the new one is missing).
void PlayerNotes_FileName(const char* player, bool legacy, char* out, uint32_t size);
// The player's name from a notes file's name without ".not": the new form decoded, or (when it is
// not one) the older form as it stands.
void PlayerNotes_NameFromFile(const char* file_stem, char* out, uint32_t size);

extern const platform::DialogTemplate kPlayerNotesTemplate;
