// The lobby's session packets: upgrade orders, pop-up messages and pages, the lobby counters,
// the scroll banner, the forced exit, the membership result, the server-id map and the server
// shut-down notice.
//
// UI thread only. Each handler gets the payload after the frame header and its length and returns
// 0 when the packet was used or ignored, 1 for a bad packet.
#pragma once

#include <cstdint>

int Main_HandleFullUpgradeRequired(const uint8_t* payload, uint32_t length);  // 1003
int Main_HandleUpgradeData(const uint8_t* payload, uint32_t length);          // 1005
int Main_HandlePopupMessage(const uint8_t* payload, uint32_t length);         // 1006
int Main_HandleMainLobbyInfo(const uint8_t* payload, uint32_t length);        // 1019
int Main_HandlePopupHtml(const uint8_t* payload, uint32_t length);            // 1022
int Main_HandleSetScrollBanner(const uint8_t* payload, uint32_t length);      // 1023
int Main_HandleForceExit(const uint8_t* payload, uint32_t length);            // 1033
int Main_HandleBuyMembershipResult(const uint8_t* payload, uint32_t length);  // 1072
int Main_HandleServerIdIpMapResult(const uint8_t* payload, uint32_t length);  // 1093
int Main_HandleShutdownServer(const uint8_t* payload, uint32_t length);       // 1094
