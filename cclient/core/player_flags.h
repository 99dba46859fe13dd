// What the user has marked about other players: notes kept and players blocked.
//
// UI thread only.
#pragma once

#include <cstdint>

// The flags of a player, by name without regard to case: bit 0 notes kept, bit 1 blocked. 0 for
// an unknown name, a name longer than 31 characters, or the signed-in user.
uint8_t PlayerFlagsGet(const char* name);

// Fills the store at start-up from the notes files and the registry; the registry call's result.
int32_t PlayerFlagsLoad();
// Writes the blocked marks back to the registry.
void PlayerFlagsSave();
