#include "cclient/lobby/bonus_records.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>

#include "cclient/base/debug_log.h"
#include "tests/cclient/lobby/lobby_test_support.h"

namespace {

Bytes PendingRecord(const std::string& key, uint32_t seconds, uint32_t required, uint32_t earned,
                    uint8_t state) {
  Bytes bytes;
  bytes.Text(key).U32(5).U32(2).Text("Title " + key).Text("$10").U32(seconds).Text("Play hands.");
  bytes.U32(required).U32(earned).U8(state).Text("note");
  return bytes;
}

Bytes Packet(uint8_t count, int records, bool history = false) {
  Bytes bytes;
  bytes.U32(0).U8(count);
  for (int i = 0; i < records; ++i) {
    if (history) {
      bytes.Text("k" + std::to_string(i)).U32(5).U32(25).Text("T").Text("V").Text("D");
      bytes.U32(100).U32(50).U8(3).Text("Earned 1/2/2024");
    } else {
      bytes.Raw(PendingRecord("k" + std::to_string(i), 61, 5000, 1250, 1).data(),
                PendingRecord("k" + std::to_string(i), 61, 5000, 1250, 1).size());
    }
  }
  return bytes;
}

std::string ReadLog() {
  std::ifstream in(DebugLog_GetPath());
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

TEST(BonusRecords, counts_above_the_window_are_cut_and_short_fields_keep_what_was_read) {
  DebugLog_Init("bonus_records_test.log");
  BonusRecord records[kBonusMaxRows] = {};
  int32_t count = -1;

  const Bytes twenty = Packet(20, 20);
  EXPECT_EQ(Bonus_ReadRecords(BonusKind::kPending, twenty.data(), twenty.size(), records, &count), 0);
  EXPECT_EQ(count, 16);
  EXPECT_STREQ(records[15].key, "k15");
  EXPECT_EQ(records[15].seconds_left, 61u);
  EXPECT_EQ(records[15].earned, 1250u);
  EXPECT_EQ(records[15].state, 1);
  EXPECT_NE(ReadLog().find("Truncating Pending Bonus Count from 20 to 16\r\n"), std::string::npos);

  const Bytes forty = Packet(40, 40, true);
  EXPECT_EQ(Bonus_ReadRecords(BonusKind::kHistory, forty.data(), forty.size(), records, &count), 0);
  EXPECT_EQ(count, 32);
  EXPECT_STREQ(records[31].note, "Earned 1/2/2024");
  EXPECT_EQ(records[31].seconds_left, 0u);
  EXPECT_EQ(Bonus_PictureIndex(records[31].image_index), 0);  // 25 shows picture 0
  EXPECT_NE(ReadLog().find("Truncating Pending Bonus Count from 40 to 32\r\n"), std::string::npos);

  const Bytes three = Packet(3, 3);
  for (uint32_t cut : {1u, 4u, 5u, three.size() - 1}) {
    EXPECT_EQ(Bonus_ReadRecords(BonusKind::kPending, three.data(), cut, records, &count), 1) << cut;
    EXPECT_EQ(count, cut < three.size() - 1 ? 0 : 2) << cut;
  }
}

TEST(BonusRecords, progress_words_and_strip_widths) {
  struct Case {
    uint32_t earned;
    uint32_t required;
    const char* text;
    int32_t width;
  } const cases[] = {
      {1250, 5000, "12.50 / 50", 49},
      {500, 1000, "5 / 10", 98},
      {1000, 1050, "10 / 10.50", 186},
      {1, 3, "0.01 / 0.03", 65},
      {7000, 5000, "70 / 50", 196},  // earned above required: the strip stops at its end
      {4000000000u, 4000000000u, "40000000 / 40000000", 196},
      {4000000000u, 4294967295u, "40000000 / 42949672.95", 182},
      {0, 5000, "0 / 50", 0},
      {5000, 0, "50 / 0", 0},
  };
  for (const Case& c : cases) {
    char text[64];
    Bonus_ProgressText(c.earned, c.required, text, sizeof text);
    EXPECT_STREQ(text, c.text);
    EXPECT_EQ(Bonus_StripWidth(c.earned, c.required), c.width) << c.text;
  }
}

TEST(BonusRecords, time_left_words) {
  struct Case {
    uint32_t seconds;
    const char* text;
  } const cases[] = {
      {90061, "Time Left to Earn: 1 day 1 hr"},
      {86400 + 7200, "Time Left to Earn: 1 day 2 hrs"},
      {3 * 86400 + 3600, "Time Left to Earn: 3 days 1 hrs"},
      {3 * 86400 + 5 * 3600, "Time Left to Earn: 3 days 5 hrs"},
      {3660, "Time Left to Earn: 1 hr 1 min"},
      {7260, "Time Left to Earn: 2 hrs 1 min"},
      {7500, "Time Left to Earn: 2 hrs 5 min"},
      {61, "Time Left to Earn: 1 min 1 sec"},
      {1, "Time Left to Earn: 1 second!"},
      {0, "Time Left to Earn: 0 seconds!"},
      {59, "Time Left to Earn: 59 seconds!"},
  };
  for (const Case& c : cases) {
    char text[64];
    Bonus_TimeLeftText(c.seconds, text, sizeof text);
    EXPECT_STREQ(text, c.text) << c.seconds;
  }
}

TEST(BonusRecords, row_buttons_follow_the_states) {
  BonusRecord records[4] = {};
  const uint8_t states[] = {1, 2, 4, 1};
  for (int i = 0; i < 4; ++i) records[i].state = states[i];
  struct Case {
    BonusKind kind;
    bool refreshing;
    int32_t row;
    bool more, up, down;
  } const cases[] = {
      {BonusKind::kPending, false, 0, true, false, true},   // the first row has no "up"
      {BonusKind::kPending, false, 1, true, true, false},   // followed by a cancelled bonus
      {BonusKind::kPending, false, 2, true, false, false},  // cancelled: neither
      {BonusKind::kPending, false, 3, true, true, false},   // the last row has no "down"
      {BonusKind::kPending, false, 4, false, false, false},
      {BonusKind::kPending, true, 0, false, false, false},
      {BonusKind::kHistory, false, 0, true, false, false},
  };
  for (const Case& c : cases) {
    const BonusRowButtons buttons = Bonus_RowButtons(c.kind, records, 4, c.refreshing, c.row);
    EXPECT_EQ(buttons.more, c.more) << c.row;
    EXPECT_EQ(buttons.up, c.up) << c.row;
    EXPECT_EQ(buttons.down, c.down) << c.row;
  }
}

TEST(BonusRecords, scrolling_stays_within_the_rows) {
  EXPECT_EQ(Bonus_ClampOffset(100, 3), 0);  // 342 pixels fit the page
  EXPECT_EQ(Bonus_ClampOffset(-38, 10), 0);
  EXPECT_EQ(Bonus_ClampOffset(500, 10), 500);
  EXPECT_EQ(Bonus_ClampOffset(5000, 10), 1140 - 385);
}

TEST(BonusRecords, the_pending_clock_refreshes_each_minute_and_counts_whole_seconds) {
  BonusRecord records[2] = {};
  records[0].seconds_left = 61;
  records[1].seconds_left = 1;
  PendingBonusClock clock;
  int refreshes = 0;
  for (int step = 0; step < 25; ++step) {  // 25 steps of 0.4 s: 10 seconds
    const PendingBonusStep result = PendingBonus_Step(&clock, 0.4f, records, 2);
    refreshes += result.send_refresh;
  }
  EXPECT_EQ(refreshes, 0);
  EXPECT_EQ(records[0].seconds_left, 51u);
  EXPECT_EQ(records[1].seconds_left, 0u);  // never below 0
  EXPECT_TRUE(PendingBonus_Step(&clock, 50.0f, records, 2).send_refresh);
  EXPECT_EQ(records[0].seconds_left, 1u);
  EXPECT_FLOAT_EQ(clock.countdown, 60.0f);
  const PendingBonusStep small = PendingBonus_Step(&clock, 0.25f, records, 2);
  EXPECT_FALSE(small.time_changed);
  EXPECT_FALSE(small.send_refresh);
}

}  // namespace
