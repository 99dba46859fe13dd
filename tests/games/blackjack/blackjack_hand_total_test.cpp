#include "cclient/games/blackjack/blackjack_hand_total.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// Cards by rank (1 ace ... 13 king) in clubs, and in hearts for a second of the same rank.
constexpr int32_t C(int32_t rank) { return rank - 1; }
constexpr int32_t H(int32_t rank) { return 26 + rank - 1; }

TEST(BlackJackHandTotal, totals_and_their_texts) {
  const struct {
    std::vector<int32_t> cards;
    bool soft;
    int32_t total;
    const char* text;
  } rows[] = {
      {{C(1), C(5)}, true, 16, "6 / 16"},
      {{C(1), C(5)}, false, 16, "16"},
      {{C(1), C(13)}, true, 21, "21"},
      {{C(1), H(1), C(9)}, true, 21, "21"},
      {{C(10), C(6), C(13)}, true, 26, "26"},
      {{C(1), C(9)}, true, 20, "10 / 20"},
      {{C(1), H(1)}, true, 12, "2 / 12"},
      {{C(1), C(5), C(13)}, true, 16, "16"},
      {{C(12), C(11), C(2)}, true, 22, "22"},
      {{C(1), C(5), -1, C(13)}, true, 16, "6 / 16"},  // a face-down card ends the hand
      {{}, true, 0, "0"},
  };
  for (const auto& row : rows) {
    int32_t cards[kBlackJackMaxCards];
    for (int32_t i = 0; i < kBlackJackMaxCards; ++i) {
      cards[i] = i < static_cast<int32_t>(row.cards.size()) ? row.cards[static_cast<size_t>(i)] : -1;
    }
    char text[16] = {};
    EXPECT_EQ(BlackJack_HandTotal(cards, text, sizeof text, row.soft), row.total) << row.text;
    EXPECT_STREQ(text, row.text);
  }
}

TEST(BlackJackHandTotal, reads_no_more_than_fifteen_cards) {
  int32_t cards[kBlackJackMaxCards + 1];
  for (int32_t i = 0; i < kBlackJackMaxCards; ++i) cards[i] = C(1);  // fifteen aces: 15
  cards[kBlackJackMaxCards] = C(13);
  char text[16];
  EXPECT_EQ(BlackJack_HandTotal(cards, text, sizeof text, true), 15);
  EXPECT_STREQ(text, "15");
}

}  // namespace
