#include "tests/server/dealer/blackjack/blackjack_rules.h"

#include <gtest/gtest.h>

#include <map>

namespace blackjack {
namespace {

// Cards by rank (1 ace ... 13 king) in clubs, and in spades for a second of the same rank.
constexpr uint8_t C(int rank) { return static_cast<uint8_t>(rank - 1); }
constexpr uint8_t S(int rank) { return static_cast<uint8_t>(39 + rank - 1); }

TEST(BlackJackRules, hand_values_count_an_ace_as_eleven_when_it_fits) {
  const struct {
    Cards cards;
    int total;
    bool soft;
    bool bust;
  } rows[] = {
      {{C(1), C(5)}, 16, true, false},       {{C(1), C(13)}, 21, true, false},
      {{C(1), S(1), C(9)}, 21, true, false}, {{C(10), C(6), C(13)}, 26, false, true},
      {{C(1), C(9)}, 20, true, false},       {{C(1), S(1)}, 12, true, false},
      {{C(1), C(5), C(13)}, 16, false, false}, {{C(12), C(11)}, 20, false, false},
  };
  for (const auto& row : rows) {
    const HandValue value = ValueOf(row.cards);
    EXPECT_EQ(value.total, row.total) << row.total;
    EXPECT_EQ(value.soft, row.soft) << row.total;
    EXPECT_EQ(value.bust, row.bust) << row.total;
  }
  EXPECT_TRUE(IsBlackjack({C(1), C(13)}, false));
  EXPECT_FALSE(IsBlackjack({C(1), C(13)}, true)) << "21 from a split is no blackjack";
  EXPECT_FALSE(IsBlackjack({C(1), C(5), C(5)}, false)) << "three cards";
}

TEST(BlackJackRules, the_dealer_draws_to_sixteen_and_stands_on_every_seventeen) {
  EXPECT_TRUE(DealerDraws({C(10), C(6)}));
  EXPECT_FALSE(DealerDraws({C(10), C(7)}));
  EXPECT_FALSE(DealerDraws({C(1), C(6)})) << "soft 17";
  EXPECT_TRUE(DealerDraws({C(1), C(5)})) << "soft 16";
  EXPECT_TRUE(DealerDraws({C(1), C(5), C(13)})) << "hard 16";
}

TEST(BlackJackRules, a_blackjack_pays_three_to_two_and_other_wins_even_money) {
  const Cards twenty{C(10), C(13)};
  const Cards blackjack{C(1), C(12)};
  const struct {
    const char* name;
    Cards hand;
    bool from_split;
    Cards dealer;
    uint32_t bet;
    uint8_t result;
    uint32_t pay;
  } rows[] = {
      {"blackjack against 20", blackjack, false, twenty, 100, 2, 150},
      {"blackjack of an odd bet", blackjack, false, twenty, 125, 2, 187},
      {"blackjack against blackjack", blackjack, false, {S(1), S(10)}, 100, 3, 0},
      {"20 against a dealer's blackjack", twenty, false, {S(1), S(10)}, 100, 1, 0},
      {"21 of three against a dealer's blackjack", {C(7), C(7), C(7)}, false, {S(1), S(10)}, 100, 1, 0},
      {"21 from a split, ace and king", blackjack, true, twenty, 100, 2, 100},
      {"19 against a dealer's bust", {C(10), C(9)}, false, {C(10), C(6), C(8)}, 300, 2, 300},
      {"bust against a dealer's bust", {C(10), C(6), C(9)}, false, {C(10), C(6), C(8)}, 300, 1, 0},
      {"18 against 18", {C(10), C(8)}, false, {S(10), S(8)}, 100, 3, 0},
      {"17 against 18", {C(10), C(7)}, false, {S(10), S(8)}, 100, 1, 0},
  };
  for (const auto& row : rows) {
    const Payment payment = Settle(row.hand, row.from_split, row.dealer, row.bet);
    EXPECT_EQ(payment.result, row.result) << row.name;
    EXPECT_EQ(payment.pay, row.pay) << row.name;
  }
  EXPECT_EQ(InsurancePay(50, true), 100u);
  EXPECT_EQ(InsurancePay(50, false), 0u);
}

TEST(BlackJackRules, a_shoe_holds_each_card_once_per_deck_and_asks_for_a_shuffle_at_a_quarter) {
  Shoe shoe(6, 42);
  ASSERT_EQ(shoe.Size(), 312);
  std::map<uint8_t, int> seen;
  int dealt = 0;
  while (!shoe.NeedsShuffle()) {
    ++seen[shoe.Deal()];
    ++dealt;
  }
  EXPECT_EQ(dealt, 312 - 77) << "fewer than 78 left";
  while (shoe.Left() > 0) ++seen[shoe.Deal()];
  ASSERT_EQ(seen.size(), 52u);
  for (const auto& [card, count] : seen) EXPECT_EQ(count, 6) << int{card};

  Shoe same(6, 42);
  Shoe other(6, 43);
  Shoe again(6, 42);
  bool differs = false;
  for (int i = 0; i < 20; ++i) {
    const uint8_t card = same.Deal();
    EXPECT_EQ(card, again.Deal());
    differs = differs || card != other.Deal();
  }
  EXPECT_TRUE(differs) << "another seed, another order";
}

TEST(BlackJackRules, robots_play_a_basic_strategy) {
  const struct {
    const char* name;
    Cards hand;
    uint8_t up;
    bool may_double;
    bool may_split;
    Move move;
  } rows[] = {
      {"hard 16 against a ten", {C(10), C(6)}, C(10), true, false, Move::kHit},
      {"hard 16 against a six", {C(10), C(6)}, C(6), true, false, Move::kStand},
      {"11 against a six", {C(5), C(6)}, C(6), true, false, Move::kDouble},
      {"11 when doubling is not allowed", {C(5), C(6)}, C(6), false, false, Move::kHit},
      {"aces", {C(1), S(1)}, C(10), true, true, Move::kSplit},
      {"aces that may not split", {C(1), S(1)}, C(10), true, false, Move::kHit},
      {"eights against an ace", {C(8), S(8)}, C(1), true, true, Move::kSplit},
      {"tens", {C(10), S(13)}, C(6), true, true, Move::kStand},
      {"nines against a seven", {C(9), S(9)}, C(7), true, true, Move::kStand},
      {"soft 18 against a three", {C(1), C(7)}, C(3), true, false, Move::kDouble},
      {"soft 18 against a nine", {C(1), C(7)}, C(9), true, false, Move::kHit},
      {"12 against a four", {C(10), C(2)}, C(4), true, false, Move::kStand},
      {"hard 17", {C(10), C(7)}, C(1), true, false, Move::kStand},
  };
  for (const auto& row : rows) {
    EXPECT_EQ(BasicStrategy(row.hand, row.up, row.may_double, row.may_split), row.move) << row.name;
  }
}

}  // namespace
}  // namespace blackjack
