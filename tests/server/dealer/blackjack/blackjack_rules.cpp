#include "tests/server/dealer/blackjack/blackjack_rules.h"

#include <algorithm>

namespace blackjack {

int CardPoints(uint8_t card) {
  const int rank = card % 13;
  return rank >= 9 ? 10 : rank + 1;
}

HandValue ValueOf(const Cards& cards) {
  int hard = 0;
  bool ace = false;
  for (uint8_t card : cards) {
    hard += CardPoints(card);
    ace = ace || IsAce(card);
  }
  HandValue value;
  value.soft = ace && hard + 10 <= 21;
  value.total = value.soft ? hard + 10 : hard;
  value.bust = value.total > 21;
  return value;
}

bool IsBlackjack(const Cards& cards, bool from_split) {
  return !from_split && cards.size() == 2 && ValueOf(cards).total == 21;
}

Shoe::Shoe(int decks, uint32_t seed) : random_(seed) {
  for (int deck = 0; deck < decks; ++deck) {
    for (uint8_t card = 0; card < 52; ++card) cards_.push_back(card);
  }
  Shuffle();
}

void Shoe::Shuffle() {
  std::shuffle(cards_.begin(), cards_.end(), random_);
  next_ = 0;
}

void Shoe::StackNext(const Cards& cards) { stacked_.insert(stacked_.end(), cards.begin(), cards.end()); }

uint8_t Shoe::Deal() {
  if (!stacked_.empty()) {
    const uint8_t card = stacked_.front();
    stacked_.erase(stacked_.begin());
    return card;
  }
  if (next_ >= cards_.size()) Shuffle();
  return cards_[next_++];
}

bool DealerDraws(const Cards& dealer) { return ValueOf(dealer).total < 17; }

Payment Settle(const Cards& hand, bool from_split, const Cards& dealer, uint32_t bet) {
  const HandValue mine = ValueOf(hand);
  const HandValue theirs = ValueOf(dealer);
  const bool my_blackjack = IsBlackjack(hand, from_split);
  const bool dealer_blackjack = IsBlackjack(dealer, false);
  if (mine.bust) return {1, 0};
  if (my_blackjack && dealer_blackjack) return {3, 0};
  if (my_blackjack) return {2, bet * 3 / 2};
  if (dealer_blackjack) return {1, 0};
  if (theirs.bust || mine.total > theirs.total) return {2, bet};
  if (mine.total == theirs.total) return {3, 0};
  return {1, 0};
}

uint32_t InsurancePay(uint32_t insurance, bool dealer_blackjack) { return dealer_blackjack ? insurance * 2 : 0; }

namespace {

// The dealer's up card as 2-11 (an ace is 11).
int UpValue(uint8_t up) { return IsAce(up) ? 11 : CardPoints(up); }

Move PairMove(int pair_points, int up) {
  switch (pair_points) {
    case 1:  // aces
    case 8: return Move::kSplit;
    case 10: return Move::kStand;
    case 9: return (up == 7 || up >= 10) ? Move::kStand : Move::kSplit;
    case 5: return Move::kHit;  // played as a hard 10
    case 4: return (up == 5 || up == 6) ? Move::kSplit : Move::kHit;
    case 6: return up <= 6 ? Move::kSplit : Move::kHit;
    default: return up <= 7 ? Move::kSplit : Move::kHit;  // twos, threes, sevens
  }
}

}  // namespace

Move BasicStrategy(const Cards& hand, uint8_t dealer_up, bool may_double, bool may_split) {
  const int up = UpValue(dealer_up);
  const HandValue value = ValueOf(hand);
  if (may_split && hand.size() == 2 && CardPoints(hand[0]) == CardPoints(hand[1])) {
    const Move move = PairMove(CardPoints(hand[0]), up);
    if (move == Move::kSplit) return move;
  }
  const auto double_or = [&](Move otherwise) { return may_double ? Move::kDouble : otherwise; };
  if (value.soft) {
    if (value.total >= 19) return Move::kStand;
    if (value.total == 18) return up <= 6 ? double_or(Move::kStand) : (up <= 8 ? Move::kStand : Move::kHit);
    if (value.total >= 15 && up >= 4 && up <= 6) return double_or(Move::kHit);
    if (value.total >= 13 && up >= 5 && up <= 6) return double_or(Move::kHit);
    return Move::kHit;
  }
  if (value.total >= 17) return Move::kStand;
  if (value.total >= 13) return up <= 6 ? Move::kStand : Move::kHit;
  if (value.total == 12) return (up >= 4 && up <= 6) ? Move::kStand : Move::kHit;
  if (value.total == 11) return double_or(Move::kHit);
  if (value.total == 10) return up <= 9 ? double_or(Move::kHit) : Move::kHit;
  if (value.total == 9) return (up >= 3 && up <= 6) ? double_or(Move::kHit) : Move::kHit;
  return Move::kHit;
}

}  // namespace blackjack
