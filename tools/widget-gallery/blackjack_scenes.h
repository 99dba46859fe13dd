// The Black Jack table's own widgets and layouts drawn for a person to look at: hand labels in
// every state, the check lights through their phases, the chip tray sliding and clicked, the turn
// marker's sweep, and the card places of every seat.
#pragma once

#include <string>

#include "platform/draw/gdi.h"

// Writes each scene through `save` (a picture and its name). The current folder must hold the
// Black Jack pictures (the program folder's or the stand-ins).
void DrawBlackJackScenes(void (*save)(platform::HDC dc, const char* name));

// Copies the Black Jack pictures (and the table picture) from the program folder into `work`,
// over stand-ins written there first; names each stand-in used on the standard output.
void PrepareBlackJackPictures(const std::string& work, const char* program_folder);
