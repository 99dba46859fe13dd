// The buddy list dialog.
//
// UI thread only. Packet handlers get the payload after the frame header and its length and
// return 0 when the packet was used, 1 for a bad packet.
#pragma once

#include <cstdint>

#include "platform/window/window_types.h"

int BuddyList_OnBuddyList(const uint8_t* payload, uint32_t length);          // PACKETTYPE_BUDDYLIST
int BuddyList_OnAddBuddyResult(const uint8_t* payload, uint32_t length);     // PACKETTYPE_ADDBUDDYRESULT
int BuddyList_OnRemoveBuddyResult(const uint8_t* payload, uint32_t length);  // PACKETTYPE_REMOVEBUDDYRESULT

namespace platform {
struct MSG;
}

// Opens the buddy list dialog (asks the user to sign in first while nobody is).
void BuddyList_Open(platform::HINSTANCE instance, platform::HWND parent);
void BuddyList_Close();
// Steps the list's refresh countdown.
void BuddyList_Tick(float elapsed_seconds);
// 0 when the dialog consumed the message, else 1.
int BuddyList_PreTranslate(platform::MSG* message);
