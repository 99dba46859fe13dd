// The lobby's list packets: the compressed rows of the ring-game and tournament lists.
//
// UI thread only.
#pragma once

#include <cstdint>

// PACKETTYPE_GAMELIST (`tournament` 0) and PACKETTYPE_TOURNEYLIST (`tournament` 1): 0 when used
// or ignored, 1 for a bad packet.
int Main_HandleLobbyList(const uint8_t* payload, uint32_t length, int tournament);
