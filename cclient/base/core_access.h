// What the lobby's panels and the table host read from the program's top, each value by its own
// name instead of through the main window's globals. Declared here, below every library that
// calls it; the program's top defines it.
//
// UI thread only.
#pragma once

#include <cstdint>

#include "platform/draw/gdi.h"

// The connection the lobby talks to its server on (255 while there is none).
uint8_t Main_GetLobbyConnection();
// The program's icon "tarvik.ico" for the program's own windows; nullptr when it did not load.
platform::HICON Main_GetProgramIcon();
// The information panel's title font (also the table notices' and the statistics window's) and
// body font; nullptr before the main window made them.
platform::HFONT Main_GetPanelTitleFont();
platform::HFONT Main_GetPanelBodyFont();
// Shows (and draws afresh at the next lobby button redraw) or hides lobby button 8 (sign up),
// which stands where the information panel's text goes.
void Main_ShowSignUpButton(bool shown);
// 1 in the play-money edition.
bool Main_IsPlayMoneyEdition();
