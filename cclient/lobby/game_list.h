// The lobby's information panel beside the game lists.
//
// UI thread only. Packet handlers get the payload after the frame header and its length and
// return 0 when the packet was used, 1 for a bad packet.
#pragma once

#include <cstdint>

int GameList_OnTableDetail(const uint8_t* payload, uint32_t length);   // PACKETTYPE_TABLEDETAIL
int GameList_OnDetailsText(const uint8_t* payload, uint32_t length);   // PACKETTYPE_DETAILSTEXT
int GameList_OnUserBalances(const uint8_t* payload, uint32_t length);  // PACKETTYPE_USERBALANCES

// Keeps the information panel current for a list selector or list flag; `no_request` 1 asks the
// server for nothing.
void GameList_RefreshDetails(int32_t list, int no_request);
