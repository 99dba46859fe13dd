// What the lobby's panels around the lists read from the client core, each value by its own name
// instead of through the core's globals.
//
// UI thread only.
#pragma once

#include <cstdint>

#include "platform/draw/gdi.h"

class GameListView;

// The connection the lobby talks to its server on (255 while there is none).
uint8_t Main_GetLobbyConnection();
// The program's icon "tarvik.ico" for the program's own windows; nullptr when it did not load.
platform::HICON Main_GetProgramIcon();
// The information panel's title font and body font; nullptr before the main window made them.
platform::HFONT Main_GetPanelTitleFont();
platform::HFONT Main_GetPanelBodyFont();
// Shows (and draws afresh at the next lobby button redraw) or hides lobby button 8 (sign up),
// which stands where the information panel's text goes.
void Main_ShowSignUpButton(bool shown);
// The list view of the sub-lobby the lobby shows.
GameListView& Main_GetShownListView();
// 1 in the play-money edition.
bool Main_IsPlayMoneyEdition();
