// The arithmetic of the Black Jack card animator, frame by frame and without drawing: the deal's
// schedule, how a card looks along its flight from the shoe, the dealer's peek and reveal, and the
// pile flying into the discard tray. The animator asks these for each card each frame and renders
// what they say; where a card's centre stands along its path is the shared CardFlightPoint.
//
// Percentages are of the motion's time (p) unless named otherwise; sizes are percent of the
// 56 x 78 card. A card "turns" by narrowing (width ratio) and shearing (slant ratio) one side,
// the back giving way to the face half way.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/draw/gdi_types.h"

namespace blackjack_motion {

constexpr double kCardWidth = 56.0;
constexpr double kCardHeight = 78.0;

// The transform of a work slot. 0 plain, 1 scaled, 2 turned, 3 rotated, 4 scaled and turned,
// 5 scaled and rotated, 6 warped.
enum SlotKind : int32_t {
  kPlain = 0,
  kScaled = 1,
  kTurned = 2,
  kRotated = 3,
  kScaledTurned = 4,
  kScaledRotated = 5,
  kWarped = 6,
};

// The kind for a card turning or not, drawn below full size or not, at an angle or not. A turn
// at an angle has no kind of its own; it is drawn turned (the table's timings keep them apart).
SlotKind KindFor(bool turning, bool scaled, bool rotated);

// One card of the deal: which position and card, and its clock at the start (minus the time
// it waits before it leaves the shoe).
struct ScheduledCard {
  int32_t position;
  int32_t card;
  double clock;
};

// The deal: round by round (as many rounds as the largest count), the positions from the start
// position upward (downward with `reverse`), wrapping, the dealer's card held back to the end of
// each round; each card's clock is `gap` lower than the one before, the first's minus `delay`.
std::vector<ScheduledCard> DealSchedule(const int32_t* counts, int32_t positions, int32_t dealer, int32_t start,
                                        bool reverse, double delay, double gap);

// A seat's flight settings (percent of the flight unless named): the rotation's end, the turn's
// start and span, the growth's span (in eased distance).
struct FlightSettings {
  double rotation_end = 15;
  double turn_start = 25;
  double turn_span = 40;
  double growth_span = 100;
};

// How a card looks at one moment of a motion.
struct Look {
  SlotKind kind = kPlain;
  bool face = false;        // the face shows (else the back)
  double width = kCardWidth;
  double height = kCardHeight;
  double angle = 0;         // degrees
  double width_ratio = 1;   // of a turn
  double slant_ratio = 0;
  double part = 0;          // how far along its path the card's centre is, 0 to 1
  // The warp: top edge offset and length, bottom edge offset and length, height.
  double warp[5] = {};
};

// A card in flight from the shoe at p percent of its flight (0 to 100): the eased distance
// d = p x sqrt(p) / 10 moves and grows it, it turns from start_angle to 0 by the rotation's end,
// and a card with a face (`face_up`) turns over between the turn's start and its end.
Look FlightLook(double p, const FlightSettings& settings, double start_size, double start_angle, bool face_up);

// The flight time of a card added to a hand: the base time scaled by its distance from the
// flight's start over the distance to the hand's first place (the base time when that is 0).
double AddedCardFlightTime(double base_seconds, platform::POINT start, platform::POINT first_place,
                           platform::POINT new_place);

// The covered part of the slide out of the shoe (constant acceleration): (t / slide time)^2,
// at most 1.
double SlidePart(double seconds, double slide_seconds);

// The dealer's hole card during a peek: its offset from its place after `seconds` (0 to `lift`,
// truncated): 0.3 s of waiting, moving over `move`, held for `hold`, back over `move`. The peek
// lasts PeekSeconds.
constexpr double kPeekWait = 0.3;
int32_t PeekLift(double seconds, double move, double hold, int32_t lift);
double PeekSeconds(double move, double hold);

// The hole card turning over on a reveal at `seconds` of `reveal_seconds`: the back narrowing
// and sinking to the middle, then the face widening and rising back; `drop` pixels at the
// middle. face says which side shows; `down` is how far it is moved below its place (before the
// lowering by four fifths of the height it lost).
struct RevealLook {
  bool face = false;
  double width_ratio = 1;
  double slant_ratio = 0;
  int32_t down = 0;
};
RevealLook RevealAt(double seconds, double reveal_seconds, int32_t drop);

// The pile flying into the tray at p percent of the collect time: shrinking from the card to the
// tray's card (its slanted side's height, 35.06 x 48.84 for the table's tray), the face turning to
// the back between turn_start and turn_start + turn_span, then from warp_start on the back
// warped into the tray's quadrilateral (top offset, top length, bottom offset, bottom length,
// height).
struct CollectSettings {
  double turn_start = 10;
  double turn_span = 50;
  double warp_start = 70;
  double tray[5] = {9.0, 47.0, 0.0, 49.0, 48.0};
};
// The size of a card scaled to the tray quadrilateral's slanted side, as the collect ends.
double TrayCardHeight(const double tray[5]);
double TrayCardWidth(const double tray[5]);
Look CollectLook(double p, const CollectSettings& settings);

}  // namespace blackjack_motion
