// The window of the signed-in user's pending bonuses: up to 16 bonuses being earned, with the
// time left to earn each, refreshed every 60 seconds; an active bonus can be moved up or down.
//
// UI thread only.
#pragma once

#include <cstdint>

#include "cclient/lobby/bonus_records.h"
#include "platform/window/window_types.h"

// PACKETTYPE_PENDINGBONUSDATA: 0 when the packet was used (also for another type), 1 when a
// field was short.
int PendingBonusWindow_OnData(uint32_t type, const uint8_t* payload, uint32_t length);

// Opens the window (an open one is brought to the front) and asks for the bonuses: 0, or 1 when
// the window could not be made.
int PendingBonusWindow_Open();
// Destroys the window when it exists (sign-out).
void PendingBonusWindow_Close();
// The refresh countdown and the time-left count-down (the lobby's timer).
void PendingBonusWindow_Tick(float elapsed_seconds);

// What the window holds.
platform::HWND PendingBonusWindow_GetWindow();
int32_t PendingBonusWindow_GetCount();
const BonusRecord* PendingBonusWindow_GetRecords();
int32_t PendingBonusWindow_GetOffset();
// The details box's text; empty while no details show.
const char* PendingBonusWindow_GetDetails();
