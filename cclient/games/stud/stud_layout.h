// The fixed places of the Seven Card Stud table (an 800 wide client area): where each seat's cards
// lie for every hand size in the closed and the open layout, and the card animator's timings and
// geometry. Pure tables; nothing here draws.
#pragma once

#include <cstdint>

#include "cclient/games/stud/stud_animator.h"

// Per seat: the y of its cards, and for hand sizes 1-7 the x of every card, left to right.
struct StudSeatCardRows {
  int32_t y;
  int32_t closed[7][7];
  int32_t open[7][7];
};
extern const StudSeatCardRows kStudCardRows[SevenCardsAnimator::kSeats];

// The seat's layout as the animator takes it.
SevenCardsSeatLayout StudLayout_Cards(int32_t seat, bool closed);

extern const uint8_t kStudTurnMirror[SevenCardsAnimator::kSeats];
extern const double kStudFlightTimes[SevenCardsAnimator::kSeats];
extern const int32_t kStudShowdownLifts[SevenCardsAnimator::kSeats];
constexpr double kStudLiftTime = 0.2;
constexpr double kStudDimDelay = 0.1;
constexpr int32_t kStudWorkWidth = 56;
constexpr int32_t kStudWorkHeight = 98;
SevenCardsAnimatorParameters StudLayout_AnimatorParameters();

// The whole set-up of the table's card animator, in the order it must happen: the copier, the
// pictures and work bitmaps, the layouts, mirror flags, flight times, showdown lifts, every seat
// closed, the parameters. False when the card back does not load.
bool StudLayout_SetUpAnimator(SevenCardsAnimator* animator, TransparentDraw* draw, platform::HDC dc,
                              const CardSheet* sheet);
