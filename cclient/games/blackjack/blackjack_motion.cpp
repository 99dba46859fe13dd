#include "cclient/games/blackjack/blackjack_motion.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "cclient/widgets/card_animation.h"

namespace blackjack_motion {

SlotKind KindFor(bool turning, bool scaled, bool rotated) {
  if (turning) return scaled ? kScaledTurned : kTurned;
  if (scaled && rotated) return kScaledRotated;
  if (scaled) return kScaled;
  if (rotated) return kRotated;
  return kPlain;
}

std::vector<ScheduledCard> DealSchedule(const int32_t* counts, int32_t positions, int32_t dealer, int32_t start,
                                        bool reverse, double delay, double gap) {
  std::vector<ScheduledCard> schedule;
  if (positions < 1) return schedule;
  int32_t rounds = 0;
  for (int32_t p = 0; p < positions; ++p) rounds = std::max(rounds, counts[p]);
  double clock = -delay;
  const auto deal = [&](int32_t position, int32_t round) {
    if (counts[position] <= round) return;
    schedule.push_back({position, round, clock});
    clock -= gap;
  };
  for (int32_t round = 0; round < rounds; ++round) {
    for (int32_t k = 0; k < positions; ++k) {
      const int32_t step = reverse ? -k : k;
      const int32_t position = ((start + step) % positions + positions) % positions;
      if (position != dealer) deal(position, round);
    }
    if (dealer >= 0 && dealer < positions) deal(dealer, round);
  }
  return schedule;
}

Look FlightLook(double p, const FlightSettings& settings, double start_size, double start_angle, bool face_up) {
  p = std::clamp(p, 0.0, 100.0);
  Look look;
  const double d = p * std::sqrt(p) / 10;
  look.part = d / 100;
  look.angle = p < settings.rotation_end ? (1 - p / settings.rotation_end) * start_angle : 0.0;
  const double size = CardGrowPercent(start_size, std::min(d / settings.growth_span, 1.0));
  look.width = size * kCardWidth / 100;
  look.height = size * kCardHeight / 100;
  // A face-down card never turns.
  const CardTurn turn = face_up ? CardTurnAt(p, settings.turn_start, settings.turn_span) : CardTurn{};
  look.face = turn.second_side;
  if (turn.turning) {
    look.width_ratio = turn.second_side ? turn.u : 1 - turn.u;
    look.slant_ratio = turn.second_side ? 0.6 * (1 - turn.u) : -0.6 * turn.u;
  }
  look.kind = KindFor(turn.turning, size < 100, look.angle != 0);
  return look;
}

double AddedCardFlightTime(double base_seconds, platform::POINT start, platform::POINT first_place,
                           platform::POINT new_place) {
  const double to_first = std::hypot(first_place.x - start.x, first_place.y - start.y);
  if (to_first <= 0) return base_seconds;
  return base_seconds * std::hypot(new_place.x - start.x, new_place.y - start.y) / to_first;
}

double SlidePart(double seconds, double slide_seconds) {
  if (slide_seconds <= 0) return 1.0;
  const double t = seconds / slide_seconds;
  return std::min(t * t, 1.0);
}

int32_t PeekLift(double seconds, double move, double hold, int32_t lift) {
  const double t = seconds - kPeekWait;
  double part = 0;
  if (t <= 0) {
    part = 0;
  } else if (t < move) {
    part = t / move;
  } else if (t < move + hold) {
    part = 1;
  } else if (t < move + hold + move) {
    part = 1 - (t - move - hold) / move;
  }
  return static_cast<int32_t>(lift * part);
}

double PeekSeconds(double move, double hold) { return kPeekWait + move + hold + move; }

RevealLook RevealAt(double seconds, double reveal_seconds, int32_t drop) {
  RevealLook look;
  const double u = reveal_seconds > 0 ? seconds / (reveal_seconds / 2) : 2.0;
  if (u < 1) {
    look.width_ratio = 1 - u;
    look.slant_ratio = 0.6 * u;
    look.down = static_cast<int32_t>(std::lround(drop * u));
  } else {
    const double v = std::min(u - 1, 1.0);
    look.face = true;
    look.width_ratio = v;
    look.slant_ratio = -0.6 * (1 - v);
    look.down = static_cast<int32_t>(std::lround(drop * (1 - v)));
  }
  return look;
}

double TrayCardHeight(const double tray[5]) { return std::hypot(tray[0] - tray[2], tray[4]); }
double TrayCardWidth(const double tray[5]) { return TrayCardHeight(tray) * kCardWidth / kCardHeight; }

Look CollectLook(double p, const CollectSettings& settings) {
  p = std::clamp(p, 0.0, 100.0);
  Look look;
  look.part = p / 100;
  // The card shrinks evenly to the tray card, whose sides keep the card's proportions.
  const double end_percent = TrayCardHeight(settings.tray) * 100 / kCardHeight;
  const auto size_at = [&](double q) { return CardShrinkPercent(end_percent, q / 100); };
  look.width = size_at(p) * kCardWidth / 100;
  look.height = size_at(p) * kCardHeight / 100;
  const CardTurn turn = CardTurnAt(p, settings.turn_start, settings.turn_span);
  look.face = !turn.second_side;
  if (p >= settings.warp_start) {
    const double w = size_at(settings.warp_start) * kCardWidth / 100;
    const double h = size_at(settings.warp_start) * kCardHeight / 100;
    const double t = std::min((p - settings.warp_start) / (100 - settings.warp_start), 1.0);
    look.kind = kWarped;
    look.warp[0] = settings.tray[0] * t;
    look.warp[1] = (settings.tray[1] - w) * t + w;
    look.warp[2] = settings.tray[2] * t;
    look.warp[3] = (settings.tray[3] - w) * t + w;
    look.warp[4] = (settings.tray[4] - h) * t + h;
  } else if (turn.turning) {
    // The face narrows and shears away, then the back widens in.
    look.width_ratio = turn.second_side ? turn.u : 1 - turn.u;
    look.slant_ratio = 0.6 * (turn.second_side ? 1 - turn.u : turn.u);
    look.kind = kScaledTurned;
  } else {
    look.kind = p > 0 ? kScaled : kPlain;
  }
  return look;
}

}  // namespace blackjack_motion
