#include "cclient/games/blackjack/blackjack_layout.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

using blackjack_layout::CardPlace;
using blackjack_layout::CardTables;
using blackjack_layout::HandTable;
using blackjack_layout::kSeatAnchors;
using platform::RECT;

constexpr int32_t kResultLabelWidth = 74;  // "Dealer wins", "Player wins": the widest seat label
constexpr int32_t kTotalLabelWidth = 40;

struct Card {
  RECT rect;
  std::string what;
};

RECT CardRect(platform::POINT at) {
  return {at.x, at.y, at.x + blackjack_layout::kCardWidth - 1, at.y + blackjack_layout::kCardHeight - 1};
}

// A seat's label box: 3 pixels past the body on both sides, 14 rows.
RECT LabelBox(int32_t x, int32_t y, int32_t width) { return {x - 3, y, x + width + 2, y + 13}; }

bool Overlap(const RECT& a, const RECT& b) {
  return a.left <= b.right && b.left <= a.right && a.top <= b.bottom && b.top <= a.bottom;
}

bool TouchesDisc(const RECT& r, platform::POINT centre, int32_t radius) {
  const int64_t nx = std::clamp<int64_t>(centre.x, r.left, r.right) - centre.x;
  const int64_t ny = std::clamp<int64_t>(centre.y, r.top, r.bottom) - centre.y;
  return nx * nx + ny * ny <= static_cast<int64_t>(radius) * radius;
}

// Every card any hand of the position can hold: each hand layout at every count from 1 to 15.
std::vector<Card> AllCards(int32_t position) {
  const blackjack_layout::PositionCards& tables = CardTables(position);
  const struct {
    const HandTable* table;
    const char* name;
  } hands[] = {{&tables.single, "single"}, {&tables.split[0], "split 0"}, {&tables.split[1], "split 1"}};
  std::vector<Card> cards;
  for (const auto& hand : hands) {
    for (int32_t count = 1; count <= blackjack_layout::kMaxCards; ++count) {
      for (int32_t i = 0; i < count; ++i) {
        cards.push_back({CardRect(CardPlace(*hand.table, count, i)), "position " + std::to_string(position) + " " +
                                                                         hand.name + " card " + std::to_string(i) +
                                                                         " of " + std::to_string(count)});
      }
    }
  }
  return cards;
}

TEST(BlackJackLayout, every_card_lies_on_the_felt) {
  for (int32_t position = 0; position < blackjack_layout::kPositions; ++position) {
    for (const Card& card : AllCards(position)) {
      const RECT& r = card.rect;
      EXPECT_TRUE(r.left >= 0 && r.top >= 0 && r.right < 800 && r.bottom < 560) << card.what;
      EXPECT_TRUE(blackjack_layout::OnFelt(r.left, r.top) && blackjack_layout::OnFelt(r.right, r.top) &&
                  blackjack_layout::OnFelt(r.left, r.bottom) && blackjack_layout::OnFelt(r.right, r.bottom))
          << card.what;
      if (position != blackjack_layout::kDealer) {
        EXPECT_FALSE(Overlap(r, blackjack_layout::kShoeArea)) << card.what;
        EXPECT_FALSE(Overlap(r, blackjack_layout::kDiscardArea)) << card.what;
      }
    }
  }
}

TEST(BlackJackLayout, no_card_covers_another_positions_cards_circle_or_label) {
  // The dealer's label at its widest ("Bust (%d)": a 56-pixel body between caps of 15) on its
  // 20-row plate.
  const RECT dealer_label{blackjack_layout::kDealerLabel.x, blackjack_layout::kDealerLabel.y,
                          blackjack_layout::kDealerLabel.x + 15 + 56 + 15 - 1, blackjack_layout::kDealerLabel.y + 19};
  std::vector<std::vector<Card>> cards;
  for (int32_t position = 0; position < blackjack_layout::kPositions; ++position) cards.push_back(AllCards(position));

  for (int32_t position = 0; position < blackjack_layout::kPositions; ++position) {
    for (const Card& card : cards[static_cast<size_t>(position)]) {
      for (int32_t other = 0; other < blackjack_layout::kPositions; ++other) {
        if (other == position) continue;
        if (other == blackjack_layout::kDealer) {
          EXPECT_FALSE(Overlap(card.rect, dealer_label)) << card.what << " on the dealer's label";
        } else {
          const blackjack_layout::SeatAnchors& seat = kSeatAnchors[other];
          EXPECT_FALSE(TouchesDisc(card.rect, seat.circle, seat.radius)) << card.what << " on circle " << other;
          EXPECT_FALSE(Overlap(card.rect, LabelBox(seat.label.x, seat.label.y, kResultLabelWidth)))
              << card.what << " on the label of seat " << other;
          for (int32_t hand = 0; hand < 2; ++hand) {
            const platform::POINT first = CardPlace(CardTables(other).split[hand], 1, 0);
            EXPECT_FALSE(Overlap(card.rect, LabelBox(first.x + blackjack_layout::kSplitLabelShift, seat.label.y,
                                                     kTotalLabelWidth)))
                << card.what << " on split label " << hand << " of seat " << other;
          }
        }
        for (const Card& theirs : cards[static_cast<size_t>(other)]) {
          if (Overlap(card.rect, theirs.rect)) {
            ADD_FAILURE() << card.what << " covers " << theirs.what;
            break;
          }
        }
      }
    }
  }
}

TEST(BlackJackLayout, split_labels_stand_apart_and_inside_the_window) {
  for (int32_t seat = 0; seat < blackjack_layout::kSeats; ++seat) {
    RECT boxes[2];
    for (int32_t hand = 0; hand < 2; ++hand) {
      const platform::POINT first = CardPlace(CardTables(seat).split[hand], 1, 0);
      boxes[hand] = LabelBox(first.x + blackjack_layout::kSplitLabelShift, kSeatAnchors[seat].label.y,
                             kTotalLabelWidth);
      // Results are shown one hand at a time, at their full width.
      const RECT widest = LabelBox(boxes[hand].left + 3, boxes[hand].top, kResultLabelWidth);
      EXPECT_TRUE(widest.left >= 0 && widest.right < 800) << "seat " << seat << " hand " << hand;
    }
    EXPECT_FALSE(Overlap(boxes[0], boxes[1])) << "seat " << seat;
    EXPECT_LT(boxes[1].left, boxes[0].left) << "the second hand lies left, as its bet does";
  }
}

TEST(BlackJackLayout, a_hand_keeps_its_last_row_above_its_label_as_it_grows) {
  for (int32_t seat = 0; seat < blackjack_layout::kSeats; ++seat) {
    const HandTable& table = CardTables(seat).single;
    for (int32_t count = 1; count <= blackjack_layout::kMaxCards; ++count) {
      const RECT last = CardRect(CardPlace(table, count, count - 1));
      EXPECT_EQ(last.bottom, kSeatAnchors[seat].label.y - 4) << "seat " << seat << ", " << count << " cards";
      if (count > 1) {
        const RECT before = CardRect(CardPlace(table, count, count - 2));
        EXPECT_TRUE(last.left > before.left || last.top > before.top)
            << "a later card lies right of or below the one before, showing its corner";
      }
    }
  }
}

}  // namespace
