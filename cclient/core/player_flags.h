// What the user has marked about other players: notes kept and players blocked.
//
// UI thread only.
#pragma once

#include <cstdint>

// Fills the store at start-up from the notes files and the registry; the registry call's result.
int32_t PlayerFlagsLoad();
// Writes the blocked marks back to the registry.
void PlayerFlagsSave();
