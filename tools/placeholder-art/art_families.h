// The families of placeholder files, one source file each. Every function writes its files into
// the output's folder and records failures there.
#pragma once

#include "tools/placeholder-art/art_output.h"
#include "tools/placeholder-art/art_paint.h"

namespace art {

// Card sheets and backs ("cards*.b", "card*.b", "4000.b", "cardbarb.b").
void WriteCardArt(Output& out);
// Pictures every poker table shares: chips, seat plates, dealer button, table frame buttons,
// link icons, the refill button.
void WriteTableWidgetArt(Output& out);
// The table backgrounds of every game (800 x 560 JPEGs).
void WriteTableBackgrounds(Output& out);
// Hold'em and Omaha, Seven Card Stud and Guts: bars, toggles, pop-ups, the bet window.
void WritePokerArt(Output& out);
// Black Jack: chips, the tray, labels, lights, marker, shoe, bars and its own table ("bjtable.a").
void WriteBlackJackArt(Output& out);
// Big 2, Chinese Poker and Pan.
void WriteOtherGameArt(Output& out);
// The lobby: background, buttons, headings, navigation tree, tiles, strips, splash and the
// small windows; the program icon.
void WriteLobbyArt(Output& out);
// The tournament window and the two bonus windows.
void WriteWindowArt(Output& out);
// Sounds and the lobby music.
void WriteSounds(Output& out);
// "tarvik.ini" (when none is there), "root.ini", "userterm.txt" and the banner links file.
void WriteStartupFiles(Output& out);
// The pictures the client downloads from the site, under "site/" as their addresses name them.
void WriteSitePictures(Output& out);

// A card table of the given game drawn into an 800 x 560 canvas (also used for the site copies).
void PaintTableBackground(Canvas& canvas, const char* game_title, Rgb felt);
// The Black Jack table: the dealer's straight rail, five betting circles, the insurance line, the
// shoe and the discard tray, on the felt the table's card places keep to.
void PaintBlackJackTable(Canvas& canvas, const char* game_title, Rgb felt);
// The parts of every table background: the room behind the table, and the console, top bar and
// frame buttons over it.
void PaintRoom(Canvas& canvas);
void PaintConsoleAndFrame(Canvas& canvas);

}  // namespace art
