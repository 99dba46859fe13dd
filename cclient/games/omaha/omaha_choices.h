// The Omaha table's own decisions, without widgets: which pre-action options its option bar
// offers (its ids are Hold'em's less 2, and its rules keep more of the player's selection), how a
// single winner's nine card bytes pick the board and hole cards that rise at the show-down, and
// how long the loop waits after the winners are shown. UI thread only; nothing here draws,
// sends or logs.
#pragma once

#include <cstdint>

#include "cclient/games/holdem/holdem_choices.h"
#include "cclient/games/holdem/holdem_packets.h"

// Ids of the Omaha pre-action options (46 is not used).
enum OmahaOptionId : int32_t {
  OMAHA_OPTION_FOLD = 40,
  OMAHA_OPTION_CHECK = 41,
  OMAHA_OPTION_CHECK_FOLD = 42,
  OMAHA_OPTION_CHECK_CALL_ANY = 43,
  OMAHA_OPTION_BET = 44,
  OMAHA_OPTION_BET_RAISE_ANY = 45,
  OMAHA_OPTION_RAISE = 47,
  OMAHA_OPTION_RAISE_ANY = 48,
  OMAHA_OPTION_CALL = 49,
  OMAHA_OPTION_CALL_ANY = 50,
};
// Omaha's option id less this is Hold'em's id for the same option.
constexpr int32_t kOmahaOptionShift = -2;

// The options offered after a game state, given the selected option (-1 none). Unlike Hold'em's
// plan, a bet next to a raise or a check next to a call are both offered, `select` moves the
// selection without stopping its countdown, and a selection no longer offered is never cleared.
HoldemOptionPlan OmahaChoices_PlanOptionBar(const HoldemOffer& offer, bool fixed_limit, bool whole_units,
                                            int32_t selected);

// True when one of a winner's nine card bytes is not a card (below 0, or 52 and above).
bool OmahaChoices_HandHasNoCard(const int8_t* nine);

// Which of the board's five and the winner's four hole cards the nine bytes hold: each board
// card takes the first unclaimed byte that holds it, then each hole card the first byte not yet
// claimed by a hole card. Only real cards (0-51) are matched.
struct OmahaWinningMarks {
  uint8_t board[kHoldemBoardCards] = {};
  uint8_t hole[4] = {};
};
OmahaWinningMarks OmahaChoices_MatchWinningCards(const int8_t* nine, const int8_t* board, const int8_t* hole);

// The wait after the winners are shown: the packet's timer less 1.7 s, less 2 s more when a
// winner paid rake, less 1 s more at a table of kind 1 whose house take holds chips; at least 1 s.
double OmahaChoices_WinnerWait(uint32_t timer_seconds, bool rake_taken, bool kind1_house_take);
