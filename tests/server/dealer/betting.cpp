#include "tests/server/dealer/betting.h"

#include <algorithm>

namespace dealer {

namespace {
constexpr int kFixedLimitCap = 4;  // a bet and three raises
using holdem_wire::MaskOf;
}  // namespace

BettingRound::BettingRound(Stakes stakes, int street, uint32_t pot) : stakes_(stakes), street_(street), pot_(pot) {
  last_raise_ = stakes_.big_blind;
}

uint32_t BettingRound::PotLimitTotal(uint32_t own_bet) const {
  const uint32_t call = current_bet_ > own_bet ? current_bet_ - own_bet : 0;
  return current_bet_ + pot_ + call;
}

uint32_t BettingRound::BetSize() const {
  if (!stakes_.fixed_limit) return stakes_.big_blind;
  return street_ >= 2 ? 2 * stakes_.big_blind : stakes_.big_blind;
}

Offer BettingRound::OfferFor(uint32_t own_bet, uint32_t chips) const {
  Offer offer;
  const uint32_t most = own_bet + chips;
  offer.mask = MaskOf(holdem_wire::kFold);
  if (own_bet >= current_bet_) {
    offer.mask |= MaskOf(holdem_wire::kCheck);
  } else {
    offer.mask |= MaskOf(holdem_wire::kCall);
    offer.to_call = std::min(current_bet_ - own_bet, chips);
  }
  if (chips == 0) return offer;
  if (current_bet_ == 0) {
    offer.mask |= MaskOf(holdem_wire::kBet);
    offer.bet = std::min(BetSize(), chips);
    offer.maximum = stakes_.fixed_limit ? offer.bet : chips;
    if (stakes_.pot_limit) offer.maximum = std::min(chips, std::max(offer.bet, PotLimitTotal(own_bet)));
    return offer;
  }
  const bool capped = stakes_.fixed_limit && bets_ >= kFixedLimitCap;
  if (most > current_bet_ && !capped) {
    offer.raise_kind = bets_ <= 1 ? holdem_wire::kRaise : bets_ == 2 ? holdem_wire::kReRaise : holdem_wire::kCap;
    if (!stakes_.fixed_limit) offer.raise_kind = holdem_wire::kRaise;
    offer.mask |= MaskOf(offer.raise_kind);
    const uint32_t step = stakes_.fixed_limit ? BetSize() : last_raise_;
    offer.raise_to = std::min(current_bet_ + step, most);
    offer.maximum = stakes_.fixed_limit ? offer.raise_to : most;
    if (stakes_.pot_limit) offer.maximum = std::min(most, std::max(offer.raise_to, PotLimitTotal(own_bet)));
  }
  return offer;
}

std::optional<uint32_t> BettingRound::Apply(Action action, uint32_t amount, uint32_t own_bet, uint32_t chips) {
  const Offer offer = OfferFor(own_bet, chips);
  reopened_ = false;
  switch (action) {
    case holdem_wire::kFold:
    case holdem_wire::kCheck:
    case holdem_wire::kCall:
      if ((offer.mask & MaskOf(action)) == 0) return std::nullopt;
      if (action != holdem_wire::kCall) return 0;
      pot_ += offer.to_call;
      return offer.to_call;
    case holdem_wire::kBet:
    case holdem_wire::kRaise:
    case holdem_wire::kReRaise:
    case holdem_wire::kCap: {
      const bool bet = action == holdem_wire::kBet;
      const uint32_t offered = bet ? MaskOf(holdem_wire::kBet) : MaskOf(offer.raise_kind);
      if ((offer.mask & offered) == 0) return std::nullopt;
      const uint32_t smallest = bet ? offer.bet : offer.raise_to;
      uint32_t total = stakes_.fixed_limit ? smallest : amount;
      // Below the smallest is allowed only as all the player has.
      if (total > own_bet + chips || (total < smallest && total != own_bet + chips) || total <= current_bet_ ||
          (stakes_.pot_limit && total > offer.maximum)) {
        return std::nullopt;
      }
      const uint32_t raised_by = total - current_bet_;
      if (raised_by >= last_raise_ || bets_ == 0) last_raise_ = std::max(raised_by, last_raise_);
      current_bet_ = total;
      ++bets_;
      reopened_ = true;
      pot_ += total - own_bet;
      return total - own_bet;
    }
    default:
      return std::nullopt;
  }
}

uint32_t BettingRound::PostBlind(uint32_t amount, uint32_t chips) {
  const uint32_t posted = std::min(amount, chips);
  if (posted > current_bet_) current_bet_ = posted;
  pot_ += posted;
  if (amount >= stakes_.big_blind) bets_ = 1;
  return posted;
}

}  // namespace dealer
