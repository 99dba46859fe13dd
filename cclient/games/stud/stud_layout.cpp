#include "cclient/games/stud/stud_layout.h"

const StudSeatCardRows kStudCardRows[SevenCardsAnimator::kSeats] = {
    {4,
     {{264},
      {264, 276},
      {258, 270, 282},
      {248, 260, 272, 284},
      {248, 254, 260, 272, 284},
      {236, 242, 248, 260, 272, 284},
      {224, 230, 236, 248, 260, 272, 284}},
     {{264},
      {264, 276},
      {258, 270, 282},
      {248, 260, 272, 284},
      {236, 248, 260, 272, 284},
      {224, 236, 248, 260, 272, 284},
      {212, 224, 236, 248, 260, 272, 284}}},
    {32,
     {{49},
      {49, 61},
      {43, 55, 67},
      {37, 49, 61, 73},
      {37, 43, 49, 61, 73},
      {25, 31, 37, 49, 61, 73},
      {13, 19, 25, 37, 49, 61, 73}},
     {{49},
      {49, 61},
      {43, 55, 67},
      {37, 49, 61, 73},
      {25, 37, 49, 61, 73},
      {13, 25, 37, 49, 61, 73},
      {1, 13, 25, 37, 49, 61, 73}}},
    {277,
     {{17},
      {17, 29},
      {11, 23, 35},
      {5, 17, 29, 41},
      {5, 11, 17, 29, 41},
      {1, 7, 13, 25, 37, 49},
      {1, 7, 13, 25, 37, 49, 61}},
     {{17},
      {17, 29},
      {11, 23, 35},
      {5, 17, 29, 41},
      {1, 13, 25, 37, 49},
      {1, 13, 25, 37, 49, 61},
      {1, 13, 25, 37, 49, 61, 73}}},
    {348,
     {{256},
      {256, 268},
      {250, 262, 274},
      {244, 256, 268, 280},
      {244, 250, 256, 268, 280},
      {238, 244, 250, 262, 274, 286},
      {232, 238, 244, 256, 268, 280, 292}},
     {{256},
      {256, 268},
      {250, 262, 274},
      {244, 256, 268, 280},
      {238, 250, 262, 274, 286},
      {232, 244, 256, 268, 280, 292},
      {226, 238, 250, 262, 274, 286, 298}}},
    {351,
     {{453},
      {453, 465},
      {447, 459, 471},
      {441, 453, 465, 477},
      {441, 447, 453, 465, 477},
      {429, 435, 441, 453, 465, 477},
      {417, 423, 429, 441, 453, 465, 477}},
     {{453},
      {453, 465},
      {447, 459, 471},
      {441, 453, 465, 477},
      {429, 441, 453, 465, 477},
      {417, 429, 441, 453, 465, 477},
      {405, 417, 429, 441, 453, 465, 477}}},
    {277,
     {{707},
      {707, 719},
      {701, 713, 725},
      {696, 708, 720, 732},
      {696, 702, 708, 720, 732},
      {692, 698, 704, 716, 728, 740},
      {680, 686, 692, 704, 716, 728, 740}},
     {{707},
      {707, 719},
      {701, 713, 725},
      {696, 708, 720, 732},
      {692, 704, 716, 728, 740},
      {680, 692, 704, 716, 728, 740},
      {668, 680, 692, 704, 716, 728, 740}}},
    {32,
     {{682},
      {682, 694},
      {676, 688, 700},
      {671, 683, 695, 707},
      {671, 677, 683, 695, 707},
      {671, 677, 683, 695, 707, 719},
      {671, 677, 683, 695, 707, 719, 731}},
     {{682},
      {682, 694},
      {676, 688, 700},
      {671, 683, 695, 707},
      {671, 683, 695, 707, 719},
      {671, 683, 695, 707, 719, 731},
      {668, 680, 692, 704, 716, 728, 740}}},
    {4,
     {{472},
      {472, 484},
      {466, 478, 490},
      {460, 472, 484, 496},
      {460, 466, 472, 484, 496},
      {460, 466, 472, 484, 496, 508},
      {450, 456, 462, 474, 486, 498, 510}},
     {{472},
      {472, 484},
      {466, 478, 490},
      {460, 472, 484, 496},
      {460, 472, 484, 496, 508},
      {448, 460, 472, 484, 496, 508},
      {448, 459, 470, 481, 492, 503, 514}}},
};

const uint8_t kStudTurnMirror[SevenCardsAnimator::kSeats] = {1, 1, 1, 1, 0, 0, 0, 0};
const double kStudFlightTimes[SevenCardsAnimator::kSeats] = {0.1, 0.15, 0.2, 0.25, 0.25, 0.2, 0.15, 0.1};
const int32_t kStudShowdownLifts[SevenCardsAnimator::kSeats] = {-10, -10, 10, 10, 10, 10, -10, -10};

SevenCardsSeatLayout StudLayout_Cards(int32_t seat, bool closed) {
  SevenCardsSeatLayout layout{};
  if (seat < 0 || seat >= SevenCardsAnimator::kSeats) return layout;
  const StudSeatCardRows& rows = kStudCardRows[seat];
  for (int32_t size = 1; size <= 7; ++size) {
    for (int32_t card = 0; card < size; ++card) {
      layout.rows[size - 1][card] = {closed ? rows.closed[size - 1][card] : rows.open[size - 1][card], rows.y};
    }
  }
  return layout;
}

SevenCardsAnimatorParameters StudLayout_AnimatorParameters() {
  SevenCardsAnimatorParameters parameters;
  parameters.card_gap = 0.1;
  parameters.round_gap = 0.15;
  parameters.turn_time = 0.3;
  parameters.show_pause = 0.5;
  parameters.show_slide = 0.2;
  parameters.gather_time = 0.2;
  parameters.pile_pause = 0.2;
  parameters.community_time = 0.2;
  parameters.deck_x = 385;
  parameters.deck_y = -40;
  parameters.community_x = 372;
  parameters.community_y = 132;
  parameters.start_size = 50.0;
  parameters.skew_angle = 25.0;
  parameters.turn_start = 60.0;
  parameters.turn_span = 20.0;
  return parameters;
}

bool StudLayout_SetUpAnimator(SevenCardsAnimator* animator, TransparentDraw* draw, platform::HDC dc,
                              const CardSheet* sheet) {
  animator->SetTransparentDraw(draw);
  const bool loaded = animator->Setup(dc, sheet, kStudWorkWidth, kStudWorkHeight);
  for (int32_t seat = 0; seat < SevenCardsAnimator::kSeats; ++seat) {
    animator->SetSeatLayoutTables(seat, StudLayout_Cards(seat, true), StudLayout_Cards(seat, false));
  }
  animator->SetTurnMirror(kStudTurnMirror);
  animator->SetFlightTimes(kStudFlightTimes);
  animator->SetShowdownLifts(kStudShowdownLifts, kStudLiftTime, kStudDimDelay);
  const uint8_t all_closed[SevenCardsAnimator::kSeats] = {1, 1, 1, 1, 1, 1, 1, 1};
  animator->SetSeatLayouts(all_closed);
  animator->SetParameters(StudLayout_AnimatorParameters());
  return loaded;
}
