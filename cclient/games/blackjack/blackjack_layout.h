// Where everything lies on the Black Jack table (800 x 560): the anchors of the five seats and the
// dealer, the felt, and the places of the cards of every hand.
//
// Seat 0 is the rightmost seat, seat 4 the leftmost; position 5 is the dealer. Card places are
// top-left corners of 56 x 78 cards. A hand's card i of n lies at origin[n - 1] + offset[i]:
// the offsets give the hand its shape (rows of cards, each card showing the corner of the one
// before), and the origin moves the hand up a row's step when a row is begun, so that its last
// row always stands just above the hand's total label.
//
// The card tables are designed so that, for every seat, a hand of up to 15 cards, and both hands
// of a split each up to 15 cards, lie on the felt and cover no other seat's cards, betting circle
// or total label, nor the dealer's cards and label, the shoe or the discard tray. A split seat's
// second hand lies left of its first, as its bet does.
//
// Pure data and arithmetic; nothing here draws.
#pragma once

#include <cstdint>

#include "platform/draw/gdi_types.h"

namespace blackjack_layout {

constexpr int32_t kSeats = 5;
constexpr int32_t kPositions = 6;
constexpr int32_t kDealer = 5;
constexpr int32_t kMaxCards = 15;
constexpr int32_t kCardWidth = 56;
constexpr int32_t kCardHeight = 78;

struct SeatAnchors {
  platform::POINT plate;
  platform::POINT circle;  // centre of the betting circle
  int32_t radius;
  platform::POINT bet;     // single hand
  platform::POINT pay;
  platform::POINT split_bet[2];  // hand 0, hand 1
  platform::POINT own_chips;     // where the seat's own chips sit
  platform::POINT insurance;
  platform::POINT insurance_pay;
  platform::POINT label;  // the single hand's total label
};

constexpr SeatAnchors kSeatAnchors[kSeats] = {
    {{645, 265}, {671, 226}, 39, {665, 241}, {630, 168}, {{681, 241}, {644, 241}}, {740, 251}, {537, 192},
     {548, 162}, {641, 204}},
    {{515, 358}, {569, 322}, 45, {553, 340}, {531, 260}, {{574, 339}, {536, 338}}, {638, 354}, {470, 225},
     {474, 194}, {523, 302}},
    {{335, 383}, {402, 355}, 48, {382, 375}, {392, 289}, {{402, 375}, {366, 375}}, {388, 423}, {388, 239},
     {382, 208}, {357, 337}},
    {{162, 335}, {238, 323}, 48, {214, 339}, {226, 257}, {{238, 338}, {199, 338}}, {164, 374}, {299, 223},
     {285, 194}, {192, 301}},
    {{57, 238}, {129, 225}, 40, {98, 240}, {117, 166}, {{126, 241}, {90, 241}}, {30, 257}, {229, 189},
     {219, 159}, {70, 204}},
};

// The dealer's chips wait above the window's top edge, so that they fly in from outside.
constexpr platform::POINT kDealerStack{376, -29};
constexpr platform::POINT kDealerLabel{395, 194};

// A split hand's label stands this far right of the hand's first card, on the single label's row.
constexpr int32_t kSplitLabelShift = 28;

// Fixed pictures the cards keep clear of: the shoe and the discard tray (inclusive rectangles).
constexpr platform::RECT kShoeArea{563, 56, 636, 119};
constexpr platform::RECT kDiscardArea{130, 16, 200, 78};

// The felt: below its straight top edge and above the console, inside the half-ellipse of the
// table's rail. The placeholder table picture paints exactly this shape.
constexpr int32_t kFeltTop = 24;
constexpr int32_t kFeltBottom = 432;
constexpr double kFeltCentreX = 400;
constexpr double kFeltCentreY = 0;
constexpr double kFeltRadiusX = 470;
constexpr double kFeltRadiusY = 440;
constexpr bool OnFelt(double x, double y) {
  const double u = (x - kFeltCentreX) / kFeltRadiusX;
  const double v = (y - kFeltCentreY) / kFeltRadiusY;
  return y >= kFeltTop && y <= kFeltBottom && u * u + v * v <= 1.0;
}

// The 15 origins (by hand size) and 15 offsets (by card) of one hand's layout.
struct HandTable {
  platform::POINT origins[kMaxCards];
  platform::POINT offsets[kMaxCards];
};

// A position's three hand layouts: the single hand and the two hands of a split. The dealer never
// splits; its split tables repeat its single one.
struct PositionCards {
  HandTable single;
  HandTable split[2];
};

// The tables of position 0 to 5 (others give position 5's).
const PositionCards& CardTables(int32_t position);

// The top-left corner of card `index` of a hand of `count` cards (1 to 15; clamped).
platform::POINT CardPlace(const HandTable& table, int32_t count, int32_t index);

}  // namespace blackjack_layout
