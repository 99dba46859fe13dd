// What the user has marked about other players: notes kept and players blocked.
//
// One store keyed by the player's name in lower case (names of at most 31 characters; longer ones
// are neither stored nor found). It is filled at start-up from the notes files in the current
// folder and the "Blocked" registry key beside the options key, and the blocked marks are written
// back at the end of the program.
//
// UI thread only.
#pragma once

#include <cstdint>

constexpr uint8_t kPlayerFlagNotes = 1;
constexpr uint8_t kPlayerFlagBlocked = 2;
constexpr uint32_t kPlayerFlagsMaxName = 31;

// The flags of the name; 0 for a name that is too long, unknown, or the signed-in user's own.
uint8_t PlayerFlagsGet(const char* name);
// `notes` and `blocked`: 1 set, 0 clear, -1 leave as is.
void PlayerFlagsSet(const char* name, int notes, int blocked);
// Fills the store at start-up from the notes files and the registry; the registry call's result.
int32_t PlayerFlagsLoad();
// Writes the blocked marks back to the registry.
void PlayerFlagsSave();
// The signed-in user's name, or nullptr while nobody is signed in. The table host sets it when its
// neighbours come in force; before that every name is someone else's.
using PlayerFlagsOwnName = const char* (*)();
void PlayerFlags_SetOwnName(PlayerFlagsOwnName own_name);
// Forgets every stored name (tests).
void PlayerFlagsClear();
