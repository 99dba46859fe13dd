#include "tests/server/dealer/betting.h"

#include <gtest/gtest.h>

namespace dealer {
namespace {

using holdem_wire::MaskOf;
namespace hw = holdem_wire;

constexpr Stakes kFixed{100, 200, true};
constexpr Stakes kNoLimit{100, 200, false};
constexpr Stakes kPotLimit{100, 200, false, true};

BettingRound AfterBlinds(Stakes stakes) {
  BettingRound round(stakes, 0);
  round.PostBlind(stakes.small_blind, 10000);
  round.PostBlind(stakes.big_blind, 10000);
  return round;
}

TEST(Betting, offers_follow_the_bet_in_front_of_the_player) {
  struct Row {
    const char* name;
    Stakes stakes;
    int street;
    bool after_blinds;
    uint32_t own_bet;
    uint32_t chips;
    uint32_t mask;
    uint32_t to_call;
    uint32_t bet;
    uint32_t raise_to;
    uint32_t maximum;
    uint32_t pot = 0;  // in the pots from earlier rounds
  };
  const uint32_t fold = MaskOf(hw::kFold);
  const uint32_t check = MaskOf(hw::kCheck);
  const uint32_t call = MaskOf(hw::kCall);
  const uint32_t bet = MaskOf(hw::kBet);
  const uint32_t raise = MaskOf(hw::kRaise);
  const Row rows[] = {
      {"fixed, first to act before the flop", kFixed, 0, true, 0, 10000, fold | call | raise, 200, 0, 400, 400},
      {"fixed, big blind's option", kFixed, 0, true, 200, 9800, fold | check | raise, 0, 0, 400, 400},
      {"fixed, small blind completes", kFixed, 0, true, 100, 9900, fold | call | raise, 100, 0, 400, 400},
      {"fixed, flop opens with the small bet", kFixed, 1, false, 0, 10000, fold | check | bet, 0, 200, 0, 200},
      {"fixed, turn opens with the big bet", kFixed, 2, false, 0, 10000, fold | check | bet, 0, 400, 0, 400},
      {"fixed, short stack calls all in", kFixed, 0, true, 0, 150, fold | call, 150, 0, 0, 0},
      {"fixed, raise capped by the stack", kFixed, 0, true, 0, 300, fold | call | raise, 200, 0, 300, 300},
      {"no limit, open bet up to the stack", kNoLimit, 1, false, 0, 5000, fold | check | bet, 0, 200, 0, 5000},
      {"no limit, raise up to the stack", kNoLimit, 0, true, 0, 5000, fold | call | raise, 200, 0, 400, 5000},
      {"no limit, short stack bets it all", kNoLimit, 1, false, 0, 150, fold | check | bet, 0, 150, 0, 150},
      // Blinds of $1 and $2 make a pot of $3: call $2, then raise by the $5 pot, to $7.
      {"pot limit, raise before the flop", kPotLimit, 0, true, 0, 10000, fold | call | raise, 200, 0, 400, 700},
      {"pot limit, flop bet up to the pot", kPotLimit, 1, false, 0, 10000, fold | check | bet, 0, 200, 0, 1200, 1200},
      {"pot limit, stack below the pot", kPotLimit, 1, false, 0, 500, fold | check | bet, 0, 200, 0, 500, 1200},
      {"pot limit, empty pot still bets a blind", kPotLimit, 1, false, 0, 10000, fold | check | bet, 0, 200, 0, 200},
  };
  for (const Row& row : rows) {
    const BettingRound round =
        row.after_blinds ? AfterBlinds(row.stakes) : BettingRound(row.stakes, row.street, row.pot);
    const Offer offer = round.OfferFor(row.own_bet, row.chips);
    EXPECT_EQ(offer.mask, row.mask) << row.name;
    EXPECT_EQ(offer.to_call, row.to_call) << row.name;
    EXPECT_EQ(offer.bet, row.bet) << row.name;
    EXPECT_EQ(offer.raise_to, row.raise_to) << row.name;
    EXPECT_EQ(offer.maximum, row.maximum) << row.name;
  }
}

TEST(Betting, fixed_limit_raises_are_raise_reraise_cap_then_none) {
  BettingRound round = AfterBlinds(kFixed);
  EXPECT_EQ(round.OfferFor(0, 10000).raise_kind, hw::kRaise);
  // The amount sent does not matter at a fixed limit: a raise is one bet more.
  EXPECT_EQ(round.Apply(hw::kRaise, 99999, 0, 10000), 400u);
  EXPECT_EQ(round.OfferFor(0, 10000).raise_kind, hw::kReRaise);
  EXPECT_EQ(round.Apply(hw::kReRaise, 0, 200, 9800), 400u);  // the big blind makes it 600
  EXPECT_EQ(round.OfferFor(0, 10000).raise_kind, hw::kCap);
  EXPECT_EQ(round.Apply(hw::kCap, 0, 400, 9600), 400u);
  EXPECT_EQ(round.current_bet(), 800u);
  const Offer capped = round.OfferFor(600, 9400);
  EXPECT_EQ(capped.mask, MaskOf(hw::kFold) | MaskOf(hw::kCall));
  EXPECT_FALSE(round.Apply(hw::kRaise, 1000, 600, 9400));
  EXPECT_FALSE(round.Apply(hw::kCap, 1000, 600, 9400));
}

TEST(Betting, no_limit_raises_are_at_least_the_last_raise_or_all_in) {
  BettingRound round(kNoLimit, 1);
  EXPECT_FALSE(round.Apply(hw::kBet, 150, 0, 10000)) << "below the big blind";
  EXPECT_FALSE(round.Apply(hw::kBet, 10001, 0, 10000)) << "more than the stack";
  EXPECT_EQ(round.Apply(hw::kBet, 600, 0, 10000), 600u);
  EXPECT_TRUE(round.reopened());
  EXPECT_EQ(round.OfferFor(0, 10000).raise_to, 1200u);
  EXPECT_FALSE(round.Apply(hw::kRaise, 1000, 0, 10000)) << "less than the last raise";
  EXPECT_EQ(round.Apply(hw::kRaise, 1500, 0, 10000), 1500u);
  EXPECT_EQ(round.OfferFor(600, 9400).raise_to, 2400u);
  // All in for less than a full raise is allowed.
  EXPECT_EQ(round.OfferFor(0, 2000).raise_to, 2000u);
  EXPECT_EQ(round.Apply(hw::kRaise, 2000, 0, 2000), 2000u);
  EXPECT_EQ(round.current_bet(), 2000u);
  EXPECT_EQ(round.OfferFor(600, 9400).raise_to, 2900u) << "a short all-in does not grow the minimum raise";
}

TEST(Betting, pot_limit_bets_and_raises_stop_at_the_pot) {
  BettingRound round(kPotLimit, 1, 1200);
  EXPECT_FALSE(round.Apply(hw::kBet, 1300, 0, 10000)) << "more than the pot";
  EXPECT_EQ(round.Apply(hw::kBet, 1200, 0, 10000), 1200u);
  // The next player may call $12 and raise by the $36 pot after the call: to $48.
  EXPECT_EQ(round.OfferFor(0, 10000).maximum, 4800u);
  EXPECT_FALSE(round.Apply(hw::kRaise, 4801, 0, 10000));
  EXPECT_EQ(round.Apply(hw::kRaise, 4800, 0, 10000), 4800u);
  // The bettor calls $36 more; the next player may call $48 and raise by the $156 pot after that
  // call ($12 earlier, the two $48 bets of this round and their own $48): to $204.
  EXPECT_EQ(round.Apply(hw::kCall, 0, 1200, 8800), 3600u);
  EXPECT_EQ(round.OfferFor(0, 30000).maximum, 20400u);
}

TEST(Betting, actions_that_are_not_offered_are_refused) {
  BettingRound facing = AfterBlinds(kNoLimit);
  EXPECT_FALSE(facing.Apply(hw::kCheck, 0, 0, 10000));
  EXPECT_FALSE(facing.Apply(hw::kBet, 400, 0, 10000));
  EXPECT_FALSE(facing.Apply(hw::kPostSmall, 100, 0, 10000));
  EXPECT_EQ(facing.Apply(hw::kCall, 0, 0, 10000), 200u);
  EXPECT_FALSE(facing.reopened());
  BettingRound open(kNoLimit, 2);
  EXPECT_FALSE(open.Apply(hw::kCall, 0, 0, 10000));
  EXPECT_FALSE(open.Apply(hw::kRaise, 400, 0, 10000));
  EXPECT_EQ(open.Apply(hw::kCheck, 0, 0, 10000), 0u);
  EXPECT_EQ(open.Apply(hw::kFold, 0, 0, 10000), 0u);
}

}  // namespace
}  // namespace dealer
