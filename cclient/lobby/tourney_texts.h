// The texts and rules a tournament window shows its copy by: durations and clocks, money, which
// buttons are offered and how a column click changes a sort code. Nothing here draws.
//
// UI thread only.
#pragma once

#include <cstddef>
#include <cstdint>

#include "cclient/lobby/tourney_details.h"

// Duration styles: 0 long ("2 minutes 5 seconds"), 1 short ("3 min"), 2 short without blanks
// ("3min"). From an hour up every style reads "1 hour 5 minutes".
enum : int32_t {
  TOURNEY_DURATION_LONG = 0,
  TOURNEY_DURATION_SHORT = 1,
  TOURNEY_DURATION_TIGHT = 2,
};
// A duration; 0 seconds or less give "".
void FormatDuration(double seconds, char* out, size_t size, int32_t style);
// A clock "1h:2m:3s", from 90000 seconds "1d:1h:0m"; 0 seconds or less give "".
void FormatClock(double seconds, char* out, size_t size);
// Chips in cents as money: "1500.50", or "1500" when there are no cents.
void TourneyMoneyText(int32_t cents, char* out, size_t size);
// A player's chips: money when the chips text is "$", else the chips text as it stands.
void TourneyChipsText(const TourneyPlayer& player, char* out, size_t size);

// The six buttons of a tournament window.
enum : int32_t {
  TOURNEY_BUTTON_SIGN_IN = 1,
  TOURNEY_BUTTON_REGISTER = 2,
  TOURNEY_BUTTON_UNREGISTER = 3,
  TOURNEY_BUTTON_MY_TABLE = 4,
  TOURNEY_BUTTON_GO_TO_TABLE = 5,
  TOURNEY_BUTTON_CLOSE = 6,
};
// Which of buttons 1-5 are shown (bit 1 << id) for the copy as it is. False while a full copy is
// outstanding: the buttons stay as they are then.
bool TourneyShownButtons(const TourneyDetails& details, uint32_t* shown);

// The sort code after a click on column `column` (1-based) of a list whose code is `current`.
// `chips_rank_flip`: switching between chips (3) and rank (4) from a positive code gives the
// negative code (the player lists).
int32_t TourneyNextSortCode(int32_t current, int32_t column, bool chips_rank_flip);
