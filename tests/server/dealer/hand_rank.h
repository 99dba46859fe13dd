// Poker hand ranking for the dealer's showdowns: the value of five cards, the best five of a
// Hold'em player's seven, and the best Omaha hand (exactly two hole cards and three board cards).
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "tests/server/dealer/deck.h"

namespace dealer {

enum class Category : uint8_t {
  kHighCard,
  kPair,
  kTwoPair,
  kThreeOfAKind,
  kStraight,
  kFlush,
  kFullHouse,
  kFourOfAKind,
  kStraightFlush,
};

// A hand's strength; a greater value wins, equal values split. The category is in the top bits,
// then the ranks that decide ties, most important first.
struct HandValue {
  uint32_t value = 0;
  Category category() const { return static_cast<Category>(value >> 20); }
  friend auto operator<=>(const HandValue&, const HandValue&) = default;
};

struct BestHand {
  HandValue value;
  std::array<Card, 5> cards{};  // the five cards that make the hand
};

HandValue EvaluateFive(const std::array<Card, 5>& cards);
// The best five of the hole cards and the board together (Hold'em: two and five).
BestHand BestOfAny(const std::vector<Card>& hole, const std::vector<Card>& board);
// The best hand of exactly two hole cards and three board cards (Omaha: four and five).
BestHand BestOfTwoAndThree(const std::vector<Card>& hole, const std::vector<Card>& board);

}  // namespace dealer
