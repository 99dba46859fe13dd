// Where and with which text a Hold'em table paints its own small things: the seat tooltip, the
// overlay box, the in-turn clock, the bet totals beside the piles, the seat plates' chip texts and
// the seats' action words. Pure geometry and formatting: the game object (holdem_draw.cpp) does
// the painting. Rectangles here are the drawing layer's (right and bottom exclusive) unless a
// function says otherwise.
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/draw/gdi_types.h"

// The tooltip's text box for a text measured `width` x `height` with the mouse at (x, y): centred
// under the pointer, at least 3 from the left edge and ending (with its 1-pixel frame) at 792 at
// the most. Returns the box (left, top, left + width, top + height).
platform::RECT HoldemDraw_PlaceTooltip(int32_t mouse_x, int32_t mouse_y, int32_t width, int32_t height);

// The overlay text's box for a text measured `width` x `height`: centred across the table, from
// y 176.
platform::RECT HoldemDraw_PlaceOverlay(int32_t width, int32_t height);

// The sum of a seat's bet piles as its label reads ("$.50", "$3", "$2.50"); whole units are
// shown as dollars.
void HoldemDraw_BetTotalText(char* out, size_t size, uint64_t amount, bool whole_units);
// A seat plate's chips: "$%d" of the raw number on a whole-units table, else dollars with two
// decimals ("$12.00").
void HoldemDraw_ChipsText(char* out, size_t size, uint32_t chips, bool whole_units);
// The chips text of a taken seat by its player status, or nullptr when the chips are to show
// (status 30 "Sitting Out", 20 "Leaving", 60 "All-In", unless the mouse is over the seat).
const char* HoldemDraw_StatusText(uint32_t status, bool hovered);

// The word a seat shows for a seat action ("Check", "Sml Blind", ...).
enum class HoldemSeatAction : int32_t {
  kCheck,
  kSmallBlind,
  kBigBlind,
  kPost,
  kBet,
  kCall,
  kRaise,
  kReraise,
  kComplete,
  kFold,
};
const char* HoldemDraw_SeatActionText(HoldemSeatAction action);

// What the table's own painting keeps between frames: the seat tooltip, the overlay text's copy
// and box, and the "All-Ins Remaining" line.
struct HoldemDrawState {
  // Seat tooltip (the hovered display position is the game object's).
  char tooltip_text[257] = {};
  bool tooltip_placed = false;  // the box has a place
  platform::RECT tooltip_box{0, 0, 0, 0};
  platform::RECT tooltip_drawn{0, 0, -1, -1};  // the frame last painted, to erase
  bool tooltip_draw = false;
  bool tooltip_list = false;
  bool tooltip_erase = false;
  // Overlay text: the table host's text as last drawn.
  char overlay_text[128] = {};
  int32_t overlay_length = 0;
  bool overlay_changed = false;
  bool overlay_draw = false;
  bool overlay_list = false;
  platform::RECT overlay_box{0, 0, -1, -1};
  // "All-Ins Remaining:%d" of the local player.
  char all_ins_text[64] = {};
  int32_t all_ins_shown = -1;
  bool all_ins_erase = false;
  bool all_ins_draw = false;
  // Per display position: the bet total last drawn beside the piles, and whether to draw it again.
  uint64_t bet_label_amount[10] = {};
  bool bet_label_redraw[10] = {};
};
