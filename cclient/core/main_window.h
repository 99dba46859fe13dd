// The main window: the lobby of the card room and its state machine.
//
// UI thread only.
#pragma once

#include <cstdint>

// The main window's states; 3 and 5 are not used.
enum MainState : int32_t {
  MAIN_STATE_NONE = 0,
  MAIN_STATE_CONNECTING = 1,
  MAIN_STATE_CANNOT_CONNECT = 2,
  MAIN_STATE_UPGRADING = 4,
  MAIN_STATE_FULL_UPGRADE = 6,
  MAIN_STATE_LOBBY = 7,
};

// Changes the main state; the only way the state changes.
void Main_SetState(int32_t state);

// Makes `connection_id` the lobby's connection (the hello and log-out paths).
void Main_AdoptLobbyConnection(uint8_t connection_id);

// The game type of a game code ("HO", "OM", ... optionally with "T" or "C" in front), compared as
// a whole NUL-terminated text; -1 for any other text.
int32_t Main_GameCodeToType(const char* code);
