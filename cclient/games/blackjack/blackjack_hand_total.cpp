#include "cclient/games/blackjack/blackjack_hand_total.h"

#include <cstdio>

int32_t BlackJack_HandTotal(const int32_t* cards, char* text, size_t size, bool soft) {
  int32_t sum = 0;
  int32_t aces = 0;
  for (int32_t i = 0; i < kBlackJackMaxCards; ++i) {
    const int32_t card = cards[i];
    if (card < 0 || card > 51) break;
    const int32_t rank = card % 13;
    if (rank == 0) {
      ++aces;
    } else {
      sum += rank >= 9 ? 10 : rank + 1;
    }
  }
  int32_t total = sum;
  if (aces == 0) {
    std::snprintf(text, size, "%d", static_cast<int>(total));
    return total;
  }
  const int32_t t = sum + aces;
  if (t >= 12) {
    total = t;
    std::snprintf(text, size, "%d", static_cast<int>(total));
  } else if (t == 11) {
    total = 21;
    std::snprintf(text, size, "21");
  } else {
    total = t + 10;
    if (soft) {
      std::snprintf(text, size, "%d / %d", static_cast<int>(t), static_cast<int>(t + 10));
    } else {
      std::snprintf(text, size, "%d", static_cast<int>(total));
    }
  }
  return total;
}
