#include "cclient/games/stud/stud_layout.h"

#include <gtest/gtest.h>

namespace {

// In the closed layout the first two gaps of a hand of five or more cards are 6 pixels (the
// hidden cards overlap) and the others 12; the open layout keeps 12 throughout, but for seat 7's
// seven cards, 11 apart.
int32_t ExpectedGap(int32_t seat, bool closed, int32_t size, int32_t gap) {
  if (closed) return size >= 5 && gap < 2 ? 6 : 12;
  return seat == 7 && size == 7 ? 11 : 12;
}

TEST(StudLayout, card_rows_keep_the_gaps_of_their_layout_and_stay_on_the_table) {
  for (int32_t seat = 0; seat < SevenCardsAnimator::kSeats; ++seat) {
    for (const bool closed : {true, false}) {
      const SevenCardsSeatLayout layout = StudLayout_Cards(seat, closed);
      for (int32_t size = 1; size <= 7; ++size) {
        for (int32_t card = 0; card < size; ++card) {
          const platform::POINT at = layout.rows[size - 1][card];
          EXPECT_EQ(at.y, kStudCardRows[seat].y);
          EXPECT_GE(at.x, 0) << seat << " " << closed << " " << size;
          EXPECT_LE(at.x + 56, 800) << seat << " " << closed << " " << size;
          EXPECT_LE(at.y + 78, 560) << seat;
          if (card == 0) continue;
          EXPECT_EQ(at.x - layout.rows[size - 1][card - 1].x, ExpectedGap(seat, closed, size, card - 1))
              << "seat " << seat << (closed ? " closed" : " open") << " size " << size << " gap " << card - 1;
        }
      }
    }
  }
}

TEST(StudLayout, hands_of_up_to_four_cards_lie_alike_in_both_layouts) {
  for (int32_t seat = 0; seat < SevenCardsAnimator::kSeats; ++seat) {
    for (int32_t size = 1; size <= 4; ++size) {
      for (int32_t card = 0; card < size; ++card) {
        EXPECT_EQ(kStudCardRows[seat].closed[size - 1][card], kStudCardRows[seat].open[size - 1][card])
            << seat << " " << size << " " << card;
      }
    }
  }
}

}  // namespace
