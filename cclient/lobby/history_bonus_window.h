// The window of the signed-in user's bonus history.
//
// UI thread only.
#pragma once

#include <cstdint>

// PACKETTYPE_BONUSHISTORYDATA: 0 when the packet was used, 1 for a bad packet.
int HistoryBonusWindow_OnData(uint32_t type, const uint8_t* payload, uint32_t length);

void HistoryBonusWindow_Open();
void HistoryBonusWindow_Close();
// Repaints the window when it has new data.
void HistoryBonusWindow_Redraw(float elapsed_seconds);
