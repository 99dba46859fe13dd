// The lobby's information panel beside the game lists.
//
// UI thread only. Packet handlers get the payload after the frame header and its length and
// return 0 when the packet was used, 1 for a bad packet.
#pragma once

#include <cstdint>

int GameList_OnTableDetail(const uint8_t* payload, uint32_t length);   // PACKETTYPE_TABLEDETAIL
int GameList_OnDetailsText(const uint8_t* payload, uint32_t length);   // PACKETTYPE_DETAILSTEXT
int GameList_OnUserBalances(const uint8_t* payload, uint32_t length);  // PACKETTYPE_USERBALANCES

// Keeps the information panel current for the shown list (0 a game list, 100-103 a tournament
// list): asks for the selected table's details, shows a tournament row's summary, or asks for
// the balances at most every 30 s. `force` asks for the balances at once.
void GameList_RefreshDetails(int32_t list, int force);

#include "platform/draw/gdi.h"

// Asks for and shows the details of the selected row of the list `list_code` (0 a game list, or
// a tournament list selector 100-103).
void GameList_UpdateSpecificTableDetails(int32_t row, int32_t list_code);
// Rebuilds the panel's balances text (signed-in or signed-out wording).
void GameList_BuildBalancesText();
// Draws the information panel into the back buffer and copies it to the window.
void GameList_DrawInfoPanel(platform::HDC window_dc, platform::HDC back_dc,
                            platform::HDC background_dc);
// A row of the shown list: 1 for a bad row, else 0 with the table or tournament id, the list
// code (the game type of a game list, 100-103 for a tournament list), whether the row is in a
// tournament list and, when `name` is not null, the row's name (valid until the list changes).
int GameList_GetRowInfo(int32_t row, uint32_t* id, int32_t* list_code, int* tournament_list,
                        const char** name);
// The table id of a row of the shown list (-1 outside it).
int32_t GameList_GetRowTableId(int32_t row);
// The type byte of a row of the shown list (0 in a tournament list, which has none; -1 outside).
int32_t GameList_GetRowGameType(int32_t row);
// The seat count of a row of the shown list (0 in a tournament list; -1 outside it).
int32_t GameList_GetRowSeats(int32_t row);
