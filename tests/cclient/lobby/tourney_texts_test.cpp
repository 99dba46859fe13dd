#include "cclient/lobby/tourney_texts.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

namespace {

std::string Duration(double seconds, int32_t style) {
  char out[96];
  FormatDuration(seconds, out, sizeof out, style);
  return out;
}

std::string Clock(double seconds) {
  char out[96];
  FormatClock(seconds, out, sizeof out);
  return out;
}

TEST(TourneyTextsTest, durations_by_style) {
  struct Case {
    double seconds;
    int32_t style;
    const char* text;
  };
  const Case cases[] = {
      {0, TOURNEY_DURATION_LONG, ""},
      {-5, TOURNEY_DURATION_SHORT, ""},
      {1, TOURNEY_DURATION_LONG, "1 second"},
      {0.2, TOURNEY_DURATION_LONG, "1 second"},  // rounded up
      {59, TOURNEY_DURATION_LONG, "59 seconds"},
      {51, TOURNEY_DURATION_SHORT, "1 min"},
      {51, TOURNEY_DURATION_TIGHT, "1min"},
      {50, TOURNEY_DURATION_SHORT, "50 sec"},
      {41, TOURNEY_DURATION_SHORT, "50 sec"},
      {3, TOURNEY_DURATION_TIGHT, "10sec"},
      {61, TOURNEY_DURATION_LONG, "1 minute 1 second"},
      {125, TOURNEY_DURATION_LONG, "2 minutes 5 seconds"},
      {61, TOURNEY_DURATION_SHORT, "2 min"},
      {120, TOURNEY_DURATION_TIGHT, "2min"},
      {3600, TOURNEY_DURATION_LONG, "1 hour 0 minute"},
      {3600, TOURNEY_DURATION_TIGHT, "1 hour 0 minute"},
      {7322, TOURNEY_DURATION_SHORT, "2 hours 3 minutes"},
      {86400, TOURNEY_DURATION_LONG, "24 hours 0 minute"},
      {90061, TOURNEY_DURATION_LONG, "1 day 1 hour 2 minutes"},
      {2 * 86400 + 7200, TOURNEY_DURATION_LONG, "2 days 2 hours 0 minute"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Duration(c.seconds, c.style), c.text) << c.seconds << " s, style " << c.style;
  }
}

TEST(TourneyTextsTest, clocks_switch_to_days_at_ninety_thousand_seconds) {
  EXPECT_EQ(Clock(0), "");
  EXPECT_EQ(Clock(61.5), "0h:1m:2s");
  EXPECT_EQ(Clock(89999), "24h:59m:59s");
  EXPECT_EQ(Clock(90000), "1d:1h:0m");
  EXPECT_EQ(Clock(90001), "1d:1h:1m");  // minutes rounded up
  EXPECT_EQ(Clock(1e30), Clock(9.0e15));  // absurd values stay bounded
}

TEST(TourneyTextsTest, chips_are_money_only_with_the_dollar_text) {
  TourneyPlayer player;
  char out[64];
  std::snprintf(player.chips_text, sizeof player.chips_text, "$");
  player.chips = 150050;
  TourneyChipsText(player, out, sizeof out);
  EXPECT_STREQ(out, "1500.50");
  player.chips = 150000;
  TourneyChipsText(player, out, sizeof out);
  EXPECT_STREQ(out, "1500");
  std::snprintf(player.chips_text, sizeof player.chips_text, "Out");
  TourneyChipsText(player, out, sizeof out);
  EXPECT_STREQ(out, "Out");
}

TEST(TourneyTextsTest, sort_codes_after_column_clicks) {
  struct Case {
    int32_t current, column;
    bool flip;
    int32_t next;
  };
  const Case cases[] = {
      {0, 1, true, 1},  {1, 1, true, -1}, {-1, 1, true, 1},  {2, 1, true, 1},
      {3, 4, true, -4}, {4, 3, true, -3}, {-3, 4, true, 4},  {3, 4, false, 4},
      {1, 3, true, 3},  {4, 2, true, 2},  {-2, 2, false, 2}, {1, 2, false, 2},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(TourneyNextSortCode(c.current, c.column, c.flip), c.next)
        << c.current << " then column " << c.column << (c.flip ? " (player list)" : "");
  }
}

TEST(TourneyTextsTest, buttons_follow_sign_in_registration_and_state) {
  auto shown = [](const TourneyDetails& d) {
    uint32_t bits = 0;
    EXPECT_TRUE(TourneyShownButtons(d, &bits));
    std::string ids;
    for (int id = 1; id <= 5; ++id) {
      if (bits & (1u << id)) ids += std::to_string(id);
    }
    return ids;
  };
  TourneyDetails d;
  d.Reset(false);
  EXPECT_EQ(shown(d), "");  // no details yet: only Close
  d.state = TOURNEY_DETAILS_UP_TO_DATE;
  d.general.state = TOURNEY_STATE_REGISTERING;
  d.general.maximum_players = 10;
  d.registered_count = 3;
  d.registration_known = d.registration_open = true;
  EXPECT_EQ(shown(d), "1");
  d.tables = {{101, "Table 101"}};
  d.table_entries = {{0, 1, 500, 500}};
  d.chosen_table_id = 101;
  d.chosen_table_row = 0;
  EXPECT_EQ(shown(d), "15");  // nobody logged in: Sign In, Go To Table
  d.logged_in = true;
  EXPECT_EQ(shown(d), "25");
  d.registered_count = 10;  // full
  EXPECT_EQ(shown(d), "5");
  d.registered_count = 3;
  d.registration_open = false;
  EXPECT_EQ(shown(d), "5");
  d.registration_open = true;
  d.registered = true;
  EXPECT_EQ(shown(d), "35");
  TourneyPlayer me;
  me.player_id = 9;
  me.table_id = 101;
  d.players = {me};
  d.own_row = 0;
  EXPECT_EQ(shown(d), "345");
  d.general.state = TOURNEY_STATE_RUNNING;
  d.players[0].table_id = -1;
  EXPECT_EQ(shown(d), "5");
  uint32_t untouched = 0xFFFF;
  d.state = TOURNEY_DETAILS_FULL_REQUESTED;
  EXPECT_FALSE(TourneyShownButtons(d, &untouched));
  EXPECT_EQ(untouched, 0xFFFFu);
}

}  // namespace
