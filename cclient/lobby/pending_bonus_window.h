// The window of the signed-in user's pending bonuses.
//
// UI thread only.
#pragma once

#include <cstdint>

// PACKETTYPE_PENDINGBONUSDATA: 0 when the packet was used, 1 for a bad packet.
int PendingBonusWindow_OnData(uint32_t type, const uint8_t* payload, uint32_t length);

void PendingBonusWindow_Open();
void PendingBonusWindow_Close();
void PendingBonusWindow_Tick(float elapsed_seconds);
