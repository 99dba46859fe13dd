#include "tests/server/dealer/hand_rank.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>
#include <string>
#include <vector>

namespace dealer {
namespace {

std::vector<Card> Cards(const std::string& names) {
  std::vector<Card> cards;
  std::istringstream in(names);
  std::string name;
  while (in >> name) {
    const Card card = CardOf(name);
    EXPECT_GE(card, 0) << name;
    cards.push_back(card);
  }
  return cards;
}

HandValue Holdem(const std::string& hole, const std::string& board) {
  return BestOfAny(Cards(hole), Cards(board)).value;
}

TEST(HandRank, card_numbers_follow_the_card_sheet) {
  EXPECT_EQ(CardOf("Ac"), 0);
  EXPECT_EQ(CardOf("Kc"), 12);
  EXPECT_EQ(CardOf("Ad"), 13);
  EXPECT_EQ(CardOf("2h"), 27);
  EXPECT_EQ(CardOf("Ks"), 51);
  EXPECT_EQ(RankOf(CardOf("As")), 14);
  EXPECT_EQ(RankOf(CardOf("Ts")), 10);
}

TEST(HandRank, every_category_is_recognised_from_seven_cards) {
  struct Row {
    const char* hole;
    const char* board;
    Category category;
  };
  const Row rows[] = {
      {"Ah Kd", "2c 7s 9h Jd 4c", Category::kHighCard},
      {"Ah Ad", "2c 7s 9h Jd 4c", Category::kPair},
      {"Ah 7d", "Ac 7s 9h Jd 4c", Category::kTwoPair},
      {"7h 7d", "7c 2s 9h Jd 4c", Category::kThreeOfAKind},
      {"5h 6d", "7c 8s 9h Jd 2c", Category::kStraight},
      {"Ah 2d", "3c 4s 5h Jd Kc", Category::kStraight},  // the wheel
      {"Th Jd", "Qc Ks Ah 2d 3c", Category::kStraight},  // broadway
      {"2h 9h", "Jh 4h Kh 3c 3d", Category::kFlush},
      {"7h 7d", "7c 9s 9h Jd 4c", Category::kFullHouse},
      {"9c 9d", "9h 9s 2h Jd 4c", Category::kFourOfAKind},
      {"5h 6h", "7h 8h 9h Jd 2c", Category::kStraightFlush},
      {"Ad 2d", "3d 4d 5d Kc Kh", Category::kStraightFlush},  // steel wheel
      {"Qc Kc", "Jd Ac 2h 3h 4h", Category::kHighCard},       // no wrap-around straight
  };
  for (const Row& row : rows) {
    EXPECT_EQ(Holdem(row.hole, row.board).category(), row.category) << row.hole << " / " << row.board;
  }
}

TEST(HandRank, hands_compare_by_category_then_kickers) {
  struct Row {
    const char* name;
    const char* better;  // five cards
    const char* worse;
  };
  const Row rows[] = {
      {"pair kicker", "Ah Ad Kc 7s 2d", "As Ac Qc 7h 2h"},
      {"third kicker of a pair", "8h 8d Ac Ks 4d", "8s 8c Ah Kh 3h"},
      {"two pair: top pair first", "Kh Kd 2c 2s 3d", "Qs Qc Jh Jd Ah"},
      {"two pair: second pair", "Kh Kd 5c 5s 3d", "Ks Kc 4h 4d Ah"},
      {"two pair: kicker", "Kh Kd 5c 5s 9d", "Ks Kc 5h 5d 8h"},
      {"trips over two pair", "2h 2d 2c 5s 9d", "As Ac Kh Kd Qh"},
      {"six-high straight over the wheel", "2h 3d 4c 5s 6d", "Ah 2c 3h 4d 5h"},
      {"flush by its last card", "Ah Jh 9h 6h 3h", "Ad Jd 9d 6d 2d"},
      {"full house: trips first", "3h 3d 3c 2s 2d", "2h 2c 2s Ah Ad"},
      {"quads kicker", "9h 9d 9c 9s Kd", "9h 9d 9c 9s Qd"},
      {"straight flush over quads", "2h 3h 4h 5h 6h", "Ah Ad Ac As Kd"},
      {"high card: last kicker", "Ah Qd 9c 7s 5d", "As Qc 9h 7h 4d"},
  };
  for (const Row& row : rows) {
    const std::vector<Card> better = Cards(row.better);
    const std::vector<Card> worse = Cards(row.worse);
    EXPECT_GT(EvaluateFive({better[0], better[1], better[2], better[3], better[4]}),
              EvaluateFive({worse[0], worse[1], worse[2], worse[3], worse[4]}))
        << row.name;
  }
}

TEST(HandRank, equal_hands_tie_and_the_board_can_play) {
  // Both play the board's straight.
  EXPECT_EQ(Holdem("2c 3d", "9h Th Jd Qc Ks"), Holdem("4s 4h", "9h Th Jd Qc Ks"));
  // Same pair and kickers, suits differ.
  EXPECT_EQ(Holdem("Ah 9d", "Ac 7s 5h 3d 2c"), Holdem("Ad 9c", "Ac 7s 5h 3d 2c"));
  // A sixth card below the best five does not count.
  EXPECT_EQ(Holdem("Ah Kd", "Ac Qs Jh 3d 2c"), Holdem("As Kc", "Ac Qs Jh 4d 2c"));
}

TEST(HandRank, best_five_of_seven_are_the_cards_of_the_hand) {
  const BestHand best = BestOfAny(Cards("Ah Kh"), Cards("Qh Jh Th 2c 2d"));
  EXPECT_EQ(best.value.category(), Category::kStraightFlush);
  std::vector<Card> five(best.cards.begin(), best.cards.end());
  std::sort(five.begin(), five.end());
  std::vector<Card> expected = Cards("Ah Kh Qh Jh Th");
  std::sort(expected.begin(), expected.end());
  EXPECT_EQ(five, expected);
}

TEST(HandRank, omaha_uses_exactly_two_hole_cards_and_three_board_cards) {
  struct Row {
    const char* name;
    const char* hole;
    const char* board;
    Category category;
  };
  const Row rows[] = {
      // Four hearts on the board and one in hand is no flush: two must come from the hand.
      {"one suited hole card", "Ah Kc Qd 2s", "3h 7h 9h Jh 4c", Category::kHighCard},
      {"two suited hole cards", "Ah Kh Qd 2s", "3h 7h 9h Jc 4c", Category::kFlush},
      // Four of a kind in the hand is only a pair.
      {"four of a kind in hand", "9c 9d 9h 9s", "2c 5d 7h Jc Kd", Category::kPair},
      // Trips on the board and a pair in hand make a full house.
      {"trips on board", "8c 2d Kh Ks", "9h 9s 9d 4c 7d", Category::kFullHouse},
      {"straight needs two from hand", "5c 6d Kh Ks", "7h 8s 9d 2c 3d", Category::kStraight},
      {"one hole card to a straight", "6d Kh Ks Qc", "7h 8s 9d Tc 2d", Category::kPair},
      {"wheel", "Ac 2d Kh Qs", "3h 4s 5d Jc Jd", Category::kStraight},
  };
  for (const Row& row : rows) {
    EXPECT_EQ(BestOfTwoAndThree(Cards(row.hole), Cards(row.board)).value.category(), row.category) << row.name;
  }
  // Hold'em's rule would make the flush of the first row.
  EXPECT_EQ(BestOfAny(Cards("Ah Kc"), Cards("3h 7h 9h Jh 4c")).value.category(), Category::kFlush);
}

}  // namespace
}  // namespace dealer
