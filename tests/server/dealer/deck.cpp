#include "tests/server/dealer/deck.h"

#include <cassert>
#include <utility>

namespace dealer {

namespace {
constexpr char kRanks[] = "A23456789TJQK";
constexpr char kSuits[] = "cdhs";
}  // namespace

std::string CardName(Card card) {
  if (card < 0 || card > 51) return "??";
  return std::string{kRanks[card % 13], kSuits[card / 13]};
}

Card CardOf(const std::string& name) {
  for (Card card = 0; card < 52; ++card) {
    if (CardName(card) == name) return card;
  }
  return -1;
}

void Deck::Shuffle() {
  for (int i = 0; i < 52; ++i) cards_[i] = static_cast<Card>(i);
  // Fisher-Yates with our own index draw: std::shuffle and the standard distributions may differ
  // between libraries, the generator's raw output does not.
  for (int i = 51; i > 0; --i) {
    const int j = static_cast<int>(random_() % static_cast<uint32_t>(i + 1));
    std::swap(cards_[i], cards_[j]);
  }
  next_ = 0;
}

Card Deck::Deal() {
  assert(next_ < 52);
  return cards_[next_++];
}

}  // namespace dealer
