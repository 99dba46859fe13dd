#include "cclient/lobby/tourney_registration.h"

#include <gtest/gtest.h>

#include <vector>

#include "tests/cclient/lobby/tourney_packet_builder.h"

namespace {

struct Option {
  uint8_t pay_code;
  uint8_t image_type;
  uint8_t flags;
};

std::vector<uint8_t> Options(const std::vector<Option>& options) {
  TourneyBytes b;
  b.U8(static_cast<uint8_t>(options.size()));
  for (const Option& o : options) {
    b.U8(o.pay_code).U8(o.image_type).U8(o.flags).Text("pay").Text("have");
  }
  return b.bytes;
}

// Group codes A, B, C, D after placing.
std::vector<int> Codes(const TourneyPayOptions& placed) {
  std::vector<int> codes;
  for (const TourneyPayOption& g : placed.groups) codes.push_back(g.code);
  return codes;
}

TEST(TourneyRegistration, options_go_to_groups_by_image_type_with_fallback) {
  struct Case {
    const char* name;
    std::vector<Option> options;
    bool play_money;
    std::vector<int> codes;  // A, B, C, D
  };
  const Case cases[] = {
      {"each type in its own group", {{0, 3, 1}, {1, 1, 1}, {2, 10, 1}, {3, 5, 1}}, false, {1, 2, 3, 4}},
      {"second type 3 falls back to B", {{0, 3, 1}, {1, 3, 1}}, false, {1, 2, 0, 0}},
      {"unknown type takes B then C", {{4, 4, 1}, {5, 11, 1}}, false, {0, 5, 6, 0}},
      {"fallback order B C D A, a fifth is dropped",
       {{0, 1, 1}, {1, 4, 1}, {2, 4, 1}, {3, 4, 1}, {4, 4, 1}}, false, {4, 1, 2, 3}},
      {"type 2 goes to A", {{6, 2, 1}}, false, {7, 0, 0, 0}},
      {"type 2 dropped in the play-money edition", {{6, 2, 1}}, true, {0, 0, 0, 0}},
      {"pay codes outside 1-127 are skipped", {{127, 1, 1}, {255, 3, 1}, {200, 10, 1}}, false,
       {0, 0, 0, 0}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::vector<uint8_t> bytes = Options(c.options);
    TourneyPayOptions placed;
    ASSERT_EQ(TourneyPlacePayOptions(bytes.data(), static_cast<int32_t>(bytes.size()), c.play_money,
                                     &placed), 0);
    EXPECT_EQ(Codes(placed), c.codes);
  }
}

TEST(TourneyRegistration, icons_and_enabled_flag_follow_the_option) {
  const std::vector<uint8_t> bytes = Options({{0, 3, 1}, {1, 3, 0}, {2, 9, 1}});
  TourneyPayOptions placed;
  ASSERT_EQ(TourneyPlacePayOptions(bytes.data(), static_cast<int32_t>(bytes.size()), false, &placed), 0);
  EXPECT_EQ(placed.groups[TOURNEY_GROUP_A].icon, 1052);
  EXPECT_TRUE(placed.groups[TOURNEY_GROUP_A].enabled);
  EXPECT_EQ(placed.groups[TOURNEY_GROUP_B].icon, 0);  // a fallback group shows no icon
  EXPECT_FALSE(placed.groups[TOURNEY_GROUP_B].enabled);
  EXPECT_EQ(placed.groups[TOURNEY_GROUP_D].icon, 1072);
  EXPECT_EQ(placed.groups[TOURNEY_GROUP_A].pay_text, "pay");
  EXPECT_EQ(placed.groups[TOURNEY_GROUP_A].you_have_text, "have");
}

TEST(TourneyRegistration, truncated_options_are_short_and_keep_earlier_ones) {
  const std::vector<uint8_t> bytes = Options({{0, 3, 1}, {1, 1, 1}});
  for (size_t cut = 0; cut < bytes.size(); ++cut) {
    TourneyPayOptions placed;
    EXPECT_EQ(TourneyPlacePayOptions(bytes.data(), static_cast<int32_t>(cut), false, &placed), 1)
        << "cut at " << cut;
    EXPECT_EQ(placed.groups[TOURNEY_GROUP_B].code, 0) << "cut at " << cut;
  }
}

TEST(TourneyRegistration, result_texts) {
  bool success;
  EXPECT_STREQ(TourneyJoinResultText(1, &success),
               "You have insufficent funds to register for this tournament.");
  EXPECT_FALSE(success);
  EXPECT_STREQ(TourneyJoinResultText(9, &success),
               "You are unable to register for the tournament at this time.");
  EXPECT_STREQ(TourneyUnjoinResultText(0, &success),
               "You have been unregistered from the tournament and your money refunded.");
  EXPECT_TRUE(success);
}

}  // namespace
