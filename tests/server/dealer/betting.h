// The betting rules of one betting round, fixed-limit, pot-limit or no-limit: what a player may do
// at their turn and what an action costs. Amounts are in the table's money (cents).
#pragma once

#include <cstdint>
#include <optional>

#include "tests/server/holdem_wire.h"

namespace dealer {

using holdem_wire::Action;

struct Stakes {
  uint32_t small_blind = 100;
  uint32_t big_blind = 200;
  bool fixed_limit = true;
  bool pot_limit = false;  // without a fixed limit: no bet or raise above the pot
};

// What the player to act is offered, as the game state tells it.
struct Offer {
  uint32_t mask = 0;          // action mask, bit (code - 1) per offered action
  Action raise_kind = holdem_wire::kRaise;  // raise, reraise or cap, by the raises so far
  uint32_t to_call = 0;       // chips a call adds (all the player has when that is less)
  uint32_t bet = 0;           // the smallest bet
  uint32_t raise_to = 0;      // the smallest raise, as the round's total for the player
  uint32_t maximum = 0;       // the largest total for the player this round
};

class BettingRound {
 public:
  // `street` 0 before the flop (the big blind counts as the round's opening bet), 1 flop, 2 turn,
  // 3 river. `pot` is what earlier rounds put in the pots (a pot limit counts it).
  BettingRound(Stakes stakes, int street, uint32_t pot = 0);

  Offer OfferFor(uint32_t own_bet, uint32_t chips) const;
  // Checks an action of a player who has `own_bet` in front and `chips` behind. Returns the chips
  // the action adds to the player's bet, or none when the rules do not allow it. `amount` is what
  // the client sent: the bet, or the total raised to (no-limit only; a fixed limit sets it).
  std::optional<uint32_t> Apply(Action action, uint32_t amount, uint32_t own_bet, uint32_t chips);
  // A blind post of `amount` (all the chips when fewer) that sets the round's bet.
  uint32_t PostBlind(uint32_t amount, uint32_t chips);

  uint32_t current_bet() const { return current_bet_; }
  // True when the last action raised the bet, so everybody else must act again.
  bool reopened() const { return reopened_; }

 private:
  uint32_t BetSize() const;
  // The largest total a pot-limit bet or raise may reach for a player with `own_bet` in front:
  // the call, then the whole pot after it.
  uint32_t PotLimitTotal(uint32_t own_bet) const;

  Stakes stakes_;
  int street_;
  uint32_t pot_;             // earlier rounds' pots and every chip put in this round
  uint32_t current_bet_ = 0;
  uint32_t last_raise_ = 0;  // the size of the last full bet or raise (no-limit minimum raise)
  int bets_ = 0;             // bets and raises so far (fixed-limit cap at 4)
  bool reopened_ = false;
};

}  // namespace dealer
