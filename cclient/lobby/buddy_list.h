// The buddy list dialog.
//
// UI thread only. Packet handlers get the payload after the frame header and its length and
// return 0 when the packet was used, 1 for a bad packet.
#pragma once

#include <cstdint>

int BuddyList_OnBuddyList(const uint8_t* payload, uint32_t length);          // PACKETTYPE_BUDDYLIST
int BuddyList_OnAddBuddyResult(const uint8_t* payload, uint32_t length);     // PACKETTYPE_ADDBUDDYRESULT
int BuddyList_OnRemoveBuddyResult(const uint8_t* payload, uint32_t length);  // PACKETTYPE_REMOVEBUDDYRESULT
