// The rules of the scripted Black Jack dealer: the shoe, hand values, the dealer's drawing rule,
// the payment of a hand, and the simple basic strategy the robots play.
//
// Cards are 0-51 as the client draws them: rank card % 13 (0 ace, 1 two ... 9 ten, 10 jack, 11
// queen, 12 king).
#pragma once

#include <cstdint>
#include <random>
#include <vector>

namespace blackjack {

using Cards = std::vector<uint8_t>;

// 1 for an ace, 2-9 by pip, 10 for ten to king.
int CardPoints(uint8_t card);
inline bool IsAce(uint8_t card) { return card % 13 == 0; }
inline bool IsTenValue(uint8_t card) { return card % 13 >= 9; }

struct HandValue {
  int total = 0;      // the best total: an ace counts 11 when that does not bust the hand
  bool soft = false;  // an ace counts 11 in the total
  bool bust = false;
};
HandValue ValueOf(const Cards& cards);
// Two cards totalling 21 in a hand that did not come from a split.
bool IsBlackjack(const Cards& cards, bool from_split);

// Several decks shuffled together by a seeded generator. The shoe is shuffled again before a
// round once fewer than a quarter of its cards are left.
class Shoe {
 public:
  Shoe(int decks, uint32_t seed);
  uint8_t Deal();
  int Left() const { return static_cast<int>(cards_.size() - next_); }
  int Size() const { return static_cast<int>(cards_.size()); }
  bool NeedsShuffle() const { return Left() * 4 < Size(); }
  void Shuffle();
  // The next cards dealt are these, in order, before the shuffled rest (for scripted rounds).
  void StackNext(const Cards& cards);

 private:
  std::mt19937 random_;
  Cards cards_;
  size_t next_ = 0;
  Cards stacked_;
};

// The dealer draws below 17 and stands on every 17, soft ones too.
bool DealerDraws(const Cards& dealer);

// How a finished hand is paid. `pay` is what the dealer adds to the bet, which comes back too on
// a win or a push.
struct Payment {
  uint8_t result = 0;  // 1 dealer wins, 2 player wins, 3 push
  uint32_t pay = 0;
};
// A blackjack pays 3 to 2 (cents rounded down), any other win 1 to 1. A bust hand loses even
// when the dealer busts; a dealer's blackjack beats every hand but a blackjack.
Payment Settle(const Cards& hand, bool from_split, const Cards& dealer, uint32_t bet);
// Insurance of half the bet pays 2 to 1 when the dealer has blackjack.
uint32_t InsurancePay(uint32_t insurance, bool dealer_blackjack);

enum class Move { kStand, kHit, kDouble, kSplit };
// A basic strategy for a multi-deck shoe where the dealer stands on soft 17, with doubling and
// splitting only where allowed.
Move BasicStrategy(const Cards& hand, uint8_t dealer_up, bool may_double, bool may_split);

}  // namespace blackjack
