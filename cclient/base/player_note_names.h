// The names of the players' notes files: the file a player's notes are kept in, and the player a
// notes file belongs to. The notes dialog writes the files; the player flags read them at
// start-up.
#pragma once

#include <cstdint>

// The notes file name of a player ("<name>.not") in `out` of `size` bytes. Letters and digits are
// kept and every other character is written as "_" and two upper-case hexadecimal digits, so that
// names such as "a.b", "a b" and "a_b" get files of their own. With `legacy`, the older form in
// which every such character was written as "_" alone (read when the new one is missing).
void PlayerNotes_FileName(const char* player, bool legacy, char* out, uint32_t size);
// The player's name from a notes file's name without ".not": the new form decoded, or (when it is
// not one) the older form as it stands.
void PlayerNotes_NameFromFile(const char* file_stem, char* out, uint32_t size);
