// The window of the signed-in user's bonus history: up to 32 past bonuses.
//
// UI thread only.
#pragma once

#include <cstdint>

#include "platform/window/window_types.h"

// PACKETTYPE_BONUSHISTORYDATA: 0 when the packet was used (also for another type), 1 when a
// field was short.
int HistoryBonusWindow_OnData(uint32_t type, const uint8_t* payload, uint32_t length);

// Opens the window (an open one is brought to the front) and asks for the history: 0, or 1 when
// the window could not be made.
int HistoryBonusWindow_Open();
// Destroys the window when it exists (sign-out).
void HistoryBonusWindow_Close();
// Repaints the window when it has new data (the lobby's timer).
void HistoryBonusWindow_Redraw(float elapsed_seconds);

platform::HWND HistoryBonusWindow_GetWindow();
bool HistoryBonusWindow_IsRefreshing();
