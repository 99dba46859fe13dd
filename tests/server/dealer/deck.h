// Cards and a shuffled deck for the dealer. A card is 0-51 as the client draws it: the suit is
// card / 13 (clubs, diamonds, hearts, spades) and the rank card % 13, ace first (0 ace, 1 two,
// ..., 12 king).
#pragma once

#include <array>
#include <cstdint>
#include <random>
#include <string>

namespace dealer {

using Card = int8_t;

// 2 for a two up to 14 for an ace.
inline int RankOf(Card card) { return card % 13 == 0 ? 14 : card % 13 + 1; }
inline int SuitOf(Card card) { return card / 13; }
// "Ah", "Tc", "2s": for test tables and logs.
std::string CardName(Card card);
// The card of a two-letter name, -1 when the name is not a card.
Card CardOf(const std::string& name);

// 52 cards shuffled by a seeded generator, so a seed gives the same deal on every machine.
class Deck {
 public:
  explicit Deck(uint32_t seed) : random_(seed) {}
  void Shuffle();
  // The next card; deals at most 52 before the next shuffle.
  Card Deal();
  int Left() const { return 52 - next_; }

 private:
  std::mt19937 random_;
  std::array<Card, 52> cards_{};
  int next_ = 52;
};

}  // namespace dealer
