#include "cclient/games/blackjack/blackjack_motion.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

namespace blackjack_motion {
namespace {

TEST(BlackJackMotion, the_deal_visits_seats_from_the_start_and_the_dealer_last_in_each_round) {
  const struct {
    const char* name;
    int32_t counts[6];
    int32_t start;
    bool reverse;
    std::vector<int32_t> order;  // positions, both rounds
  } rows[] = {
      {"three players upward from 2", {0, 2, 2, 0, 2, 2}, 2, false, {2, 4, 1, 5, 2, 4, 1, 5}},
      {"three players downward from 2", {0, 2, 2, 0, 2, 2}, 2, true, {2, 1, 4, 5, 2, 1, 4, 5}},
      {"five players from 0", {2, 2, 2, 2, 2, 2}, 0, false, {0, 1, 2, 3, 4, 5, 0, 1, 2, 3, 4, 5}},
      {"one player from an empty seat", {0, 0, 0, 2, 0, 2}, 1, false, {3, 5, 3, 5}},
  };
  for (const auto& row : rows) {
    const std::vector<ScheduledCard> schedule = DealSchedule(row.counts, 6, 5, row.start, row.reverse, 0.5, 0.2);
    ASSERT_EQ(schedule.size(), row.order.size()) << row.name;
    for (size_t i = 0; i < schedule.size(); ++i) {
      EXPECT_EQ(schedule[i].position, row.order[i]) << row.name << ", card " << i;
      EXPECT_EQ(schedule[i].card, i < schedule.size() / 2 ? 0 : 1) << row.name << ", card " << i;
      // A card leaves the shoe when its clock passes 0: 0.5 s, then every 0.2 s.
      EXPECT_NEAR(-schedule[i].clock, 0.5 + 0.2 * static_cast<double>(i), 1e-9) << row.name << ", card " << i;
    }
  }
}

TEST(BlackJackMotion, an_added_card_flies_for_a_time_in_proportion_to_its_distance) {
  EXPECT_DOUBLE_EQ(AddedCardFlightTime(0.3, {0, 0}, {30, 40}, {60, 80}), 0.6);
  EXPECT_DOUBLE_EQ(AddedCardFlightTime(0.3, {0, 0}, {30, 40}, {-15, -20}), 0.15);
  EXPECT_DOUBLE_EQ(AddedCardFlightTime(0.3, {10, 10}, {10, 10}, {60, 80}), 0.3) << "no first distance";
}

TEST(BlackJackMotion, the_slot_kind_follows_turning_size_and_angle) {
  const struct {
    bool turning, scaled, rotated;
    SlotKind kind;
  } rows[] = {
      {false, false, false, kPlain},  {false, true, false, kScaled},      {false, false, true, kRotated},
      {false, true, true, kScaledRotated}, {true, false, false, kTurned}, {true, true, false, kScaledTurned},
      {true, false, true, kTurned},   {true, true, true, kScaledTurned},
  };
  for (const auto& row : rows) {
    EXPECT_EQ(KindFor(row.turning, row.scaled, row.rotated), row.kind)
        << row.turning << row.scaled << row.rotated;
  }
}

TEST(BlackJackMotion, a_card_leaves_the_shoe_small_and_turned_and_turns_its_face_up_on_the_way) {
  const FlightSettings settings;  // 15, 25, 40, 100
  const struct {
    double p;
    bool face_up;
    SlotKind kind;
    bool face;
    double size, angle, width_ratio, slant_ratio;
  } rows[] = {
      {0, true, kScaledRotated, false, 78.5, -57.0, 1, 0},
      {10, true, kScaledRotated, false, 78.5 + 21.5 * 10 * std::sqrt(10.0) / 1000, -19.0, 1, 0},
      {20, true, kScaled, false, 78.5 + 21.5 * 20 * std::sqrt(20.0) / 1000, 0, 1, 0},
      {30, true, kScaledTurned, false, 78.5 + 21.5 * 30 * std::sqrt(30.0) / 1000, 0, 0.75, -0.15},
      {50, true, kScaledTurned, true, 78.5 + 21.5 * 50 * std::sqrt(50.0) / 1000, 0, 0.25, 0.45},
      {50, false, kScaled, false, 78.5 + 21.5 * 50 * std::sqrt(50.0) / 1000, 0, 1, 0},
      {70, true, kScaled, true, 78.5 + 21.5 * 70 * std::sqrt(70.0) / 1000, 0, 1, 0},
      {100, true, kPlain, true, 100, 0, 1, 0},
  };
  for (const auto& row : rows) {
    const Look look = FlightLook(row.p, settings, 78.5, -57.0, row.face_up);
    EXPECT_EQ(look.kind, row.kind) << row.p;
    EXPECT_EQ(look.face, row.face) << row.p;
    EXPECT_NEAR(look.width, row.size * 0.56, 1e-9) << row.p;
    EXPECT_NEAR(look.height, row.size * 0.78, 1e-9) << row.p;
    EXPECT_NEAR(look.angle, row.angle, 1e-9) << row.p;
    EXPECT_NEAR(look.width_ratio, row.width_ratio, 1e-9) << row.p;
    EXPECT_NEAR(look.slant_ratio, row.slant_ratio, 1e-9) << row.p;
    EXPECT_NEAR(look.part, row.p * std::sqrt(row.p) / 1000, 1e-9) << row.p;
  }
}

TEST(BlackJackMotion, a_collected_pile_shrinks_to_the_trays_card_and_warps_into_it) {
  const CollectSettings settings;
  EXPECT_NEAR(TrayCardHeight(settings.tray), 48.84, 0.005);
  EXPECT_NEAR(TrayCardWidth(settings.tray), 35.06, 0.005);
  const struct {
    double p;
    SlotKind kind;
    bool face;
    double width, height;
  } rows[] = {
      {0, kPlain, true, 56, 78},
      {5, kScaled, true, 56 - 20.94 * 0.05, 78 - 29.16 * 0.05},
      {20, kScaledTurned, true, 56 - 20.94 * 0.2, 78 - 29.16 * 0.2},
      {50, kScaledTurned, false, 56 - 20.94 * 0.5, 78 - 29.16 * 0.5},
      {65, kScaled, false, 56 - 20.94 * 0.65, 78 - 29.16 * 0.65},
      {70, kWarped, false, 56 - 20.94 * 0.7, 78 - 29.16 * 0.7},
      {100, kWarped, false, 35.06, 48.84},
  };
  for (const auto& row : rows) {
    const Look look = CollectLook(row.p, settings);
    EXPECT_EQ(look.kind, row.kind) << row.p;
    EXPECT_EQ(look.face, row.face) << row.p;
    EXPECT_NEAR(look.width, row.width, 0.01) << row.p;
    EXPECT_NEAR(look.height, row.height, 0.01) << row.p;
  }
  const Look turning = CollectLook(20, settings);
  EXPECT_NEAR(turning.width_ratio, 0.6, 1e-9);
  EXPECT_NEAR(turning.slant_ratio, 0.24, 1e-9);
  // The warp begins at the size of 70 percent and ends on the tray's quadrilateral.
  const Look start = CollectLook(70, settings);
  EXPECT_NEAR(start.warp[0], 0, 1e-9);
  EXPECT_NEAR(start.warp[1], 56 - 20.94 * 0.7, 0.01);
  EXPECT_NEAR(start.warp[3], 56 - 20.94 * 0.7, 0.01);
  EXPECT_NEAR(start.warp[4], 78 - 29.16 * 0.7, 0.01);
  const Look end = CollectLook(100, settings);
  EXPECT_NEAR(end.warp[0], 9.0, 1e-9);
  EXPECT_NEAR(end.warp[1], 47.0, 1e-9);
  EXPECT_NEAR(end.warp[2], 0.0, 1e-9);
  EXPECT_NEAR(end.warp[3], 49.0, 1e-9);
  EXPECT_NEAR(end.warp[4], 48.0, 1e-9);
}

TEST(BlackJackMotion, the_hole_card_peeks_up_and_turns_over_on_a_reveal) {
  // The table's peek: 0.2 s up, 2.2 s held, 22 pixels.
  EXPECT_NEAR(PeekSeconds(0.2, 2.2), 2.9, 1e-9);
  const struct {
    double seconds;
    int32_t lift;
  } peeks[] = {{0.1, 0}, {0.3, 0}, {0.4, -11}, {0.55, -22}, {2.0, -22}, {2.8, -11}, {2.95, 0}};
  for (const auto& row : peeks) EXPECT_EQ(PeekLift(row.seconds, 0.2, 2.2, -22), row.lift) << row.seconds;

  // The reveal: 45 pixels over 0.5 s.
  const struct {
    double seconds;
    bool face;
    double width_ratio, slant_ratio;
    int32_t down;
  } reveals[] = {
      {0, false, 1, 0, 0},       {0.125, false, 0.5, 0.3, 23}, {0.25, true, 0, -0.6, 45},
      {0.375, true, 0.5, -0.3, 23}, {0.5, true, 1, 0, 0},
  };
  for (const auto& row : reveals) {
    const RevealLook look = RevealAt(row.seconds, 0.5, 45);
    EXPECT_EQ(look.face, row.face) << row.seconds;
    EXPECT_NEAR(look.width_ratio, row.width_ratio, 1e-9) << row.seconds;
    EXPECT_NEAR(look.slant_ratio, row.slant_ratio, 1e-9) << row.seconds;
    EXPECT_EQ(look.down, row.down) << row.seconds;
  }
}

}  // namespace
}  // namespace blackjack_motion
