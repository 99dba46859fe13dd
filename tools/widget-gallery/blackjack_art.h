// Small stand-ins for the Black Jack table's own pictures, at the sizes and in the layouts its
// widgets load them: the hand label plate "5100.b", the chip tray's bar "5200.b" and chip sheets
// "5201.b" and "5202.b", the check lights "5600.b", the turn marker "5700.b" and the shoe
// "5502.b". Each part is a flat colour that a test can tell apart; keyed parts use the colour
// keys the table draws them with (named below).
#pragma once

#include <cstdint>
#include <string>

#include "platform/draw/gdi_types.h"

namespace blackjack_art {

constexpr platform::COLORREF kLabelKey = 0xFF0000;   // "5100.b"
constexpr platform::COLORREF kTrayKey = 0xFF0000;    // "5200.b" to "5202.b"
constexpr platform::COLORREF kMarkerKey = 0x0000FF;  // "5700.b"
constexpr platform::COLORREF kShoeKey = 0xFFFFFF;    // "5502.b"

// The label plate: 60 x 20, caps of 15; left cap, middle and right cap each one colour.
constexpr platform::COLORREF kLabelLeftCap = 0x203040;
constexpr platform::COLORREF kLabelMiddle = 0x405060;
constexpr platform::COLORREF kLabelRightCap = 0x607080;
// The tray bar: 262 x 36, caps of 28.
constexpr platform::COLORREF kTrayBar = 0x184A74;
// Chip sheets: 5 chips x 3 cells of 32 x 29. Cell c of chip i is ChipCellColour(i, c) (second
// sheet: SecondChipCellColour), with a one-pixel border of the key round each cell.
platform::COLORREF ChipCellColour(int32_t chip, int32_t cell);
platform::COLORREF SecondChipCellColour(int32_t chip, int32_t cell);
// The lights: three 12 x 12 lamps.
platform::COLORREF LampColour(int32_t lamp);
// The marker: 16 x 16, a box of this colour inside a key-coloured border of 2.
constexpr platform::COLORREF kMarkerColour = 0x40C0E0;

// Writes every stand-in into `folder` (ending in "/"); false when a file cannot be written.
bool WriteBlackJackArt(const std::string& folder);
// Plain cards for the animator's scenes when no program folder gives the real ones: the small
// face sheet "cardssml.b" (13 x 4 cells of 56 x 78, each white with its rank and suit letter)
// and the back "cardbacs.b".
bool WriteCardStandIns(const std::string& folder);
// The names of the files WriteBlackJackArt writes.
const char* const* BlackJackArtFiles(int32_t* count);

}  // namespace blackjack_art
