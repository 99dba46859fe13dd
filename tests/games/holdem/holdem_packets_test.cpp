// Parsing, checking and building Hold'em packets, without a table.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "cclient/games/holdem/holdem_packets.h"
#include "cclient/games/kit/game_log.h"
#include "tests/games/holdem/holdem_bytes.h"

namespace {

struct LogCapture {
  GameLog log;
  std::vector<std::string> lines;
  LogCapture() {
    log.SetEcho([](void* self, const char* line) { static_cast<LogCapture*>(self)->lines.push_back(line); }, this);
  }
};

std::unique_ptr<GameRecord> Parse(uint32_t type, const std::vector<uint8_t>& bytes, LogCapture* capture,
                                  int32_t local = -1) {
  return Holdem_ParsePacket(type, bytes.data(), static_cast<uint32_t>(bytes.size()), local, &capture->log);
}

TEST(HoldemPacketsTest, every_type_is_taken_at_its_size_and_refused_one_byte_either_side) {
  struct Case {
    uint32_t type;
    uint32_t size;
    const char* text;
  };
  const Case cases[] = {
      {2400, 5, "HOLDEM_PACKET_ERROR Wrong size"},
      {2402, 174, "Holdem Game State Packet Wrong size"},
      {2403, 166, "HOLDEM_COLLECT_PACKET Wrong size"},
      {2405, 17, "HOLDEM_PACKET_REFUND Wrong size"},
      {2407, 4, "HOLDEM_OPTION_INDICATE Wrong size"},
      {2409, 4, "HOLDEM_PACKET_DISPLAY_I_AM_BACK Wrong size"},
      {2413, 20, "HOLDEM_PACKET_ASK_SHOW_MUCK Wrong size"},
      {2415, 61, "HOLDEM_PACKET_PLAYER_STATUS Wrong size"},
      {2418, 44, "HOLDEM_PACKET_CLEAR_TABLE_LENGTH Wrong size"},
      {2419, 3, "HOLDEM_PACKET_MOVE_D_BUTTON Wrong size"},
      {2421, 9, "HOLDEM_PACKET_SHOW_PLAY_NOW Wrong size"},
      {2422, 1, "HOLDEM_PACKET_LOCAL_PLAYER_STATUS_NOTIFICATION Wrong size"},
      {2423, 4, "HOLDEM_PACKET_FORCE_TO_SHOW_BUY_MORE_WINDOW Wrong size"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.type);
    LogCapture capture;
    EXPECT_NE(Parse(c.type, std::vector<uint8_t>(c.size, 0), &capture), nullptr);
    for (uint32_t wrong : {c.size - 1, c.size + 1}) {
      capture.lines.clear();
      EXPECT_EQ(Parse(c.type, std::vector<uint8_t>(wrong, 0), &capture), nullptr);
      ASSERT_EQ(capture.lines.size(), 1u);
      EXPECT_EQ(capture.lines[0], std::string(c.text) + " = " + std::to_string(wrong));
    }
  }
}

TEST(HoldemPacketsTest, types_the_server_does_not_send_are_unknown) {
  for (uint32_t type : {2399u, 2401u, 2406u, 2408u, 2410u, 2411u, 2412u, 2414u, 2416u, 2417u, 2420u, 2424u}) {
    LogCapture capture;
    EXPECT_EQ(Parse(type, std::vector<uint8_t>(8, 0), &capture), nullptr);
    ASSERT_EQ(capture.lines.size(), 1u);
    EXPECT_EQ(capture.lines[0], "Unknow packet = " + std::to_string(type));
  }
}

TEST(HoldemPacketsTest, a_final_packet_needs_all_its_winners_and_the_button_seat_is_optional) {
  holdem_bytes::Final f;
  f.count = 3;
  f.winners = {0, 4, 9};
  f.amounts = {100, 200, 300};
  f.status[4] = holdem_bytes::kIn;
  LogCapture capture;
  std::vector<uint8_t> bytes = f.Bytes();
  ASSERT_EQ(bytes.size(), 136u);
  auto record = Parse(2404, bytes, &capture);
  ASSERT_NE(record, nullptr);
  auto* final = static_cast<HoldemFinalRecord*>(record.get());
  EXPECT_EQ(final->Winners(), 3);
  EXPECT_EQ(final->winners[2], 9);
  EXPECT_EQ(final->winning_chips[1], 200u);
  EXPECT_EQ(final->button_seat, -1);
  EXPECT_EQ(final->last_packet, 1);
  bytes.push_back(7);
  record = Parse(2404, bytes, &capture);
  ASSERT_NE(record, nullptr);
  EXPECT_EQ(static_cast<HoldemFinalRecord*>(record.get())->button_seat, 7);
  bytes.resize(135);
  capture.lines.clear();
  EXPECT_EQ(Parse(2404, bytes, &capture), nullptr);
  EXPECT_TRUE(capture.lines.empty());  // dropped silently
}

TEST(HoldemPacketsTest, winner_counts_of_ten_or_more_are_refused_and_negative_counts_list_no_winners) {
  holdem_bytes::Final f;
  f.count = 9;
  for (int i = 0; i < 9; ++i) {
    f.winners.push_back(static_cast<int8_t>(i));
    f.amounts.push_back(10);
  }
  LogCapture capture;
  EXPECT_NE(Parse(2404, f.Bytes(), &capture), nullptr);
  f.count = 10;
  f.winners.push_back(9);
  f.amounts.push_back(10);
  EXPECT_EQ(Parse(2404, f.Bytes(), &capture), nullptr);
  holdem_bytes::Final negative;
  negative.count = -1;
  auto record = Parse(2404, negative.Bytes(), &capture);
  ASSERT_NE(record, nullptr);
  EXPECT_EQ(static_cast<HoldemFinalRecord*>(record.get())->Winners(), 0);
}

// A seat byte outside 0-9 names no seat: the field reads "none" (255, or -1 for the signed winner
// and button seats) and the rest of the packet is kept, with one log line for a value that was not
// already "none". Only a pot index past the three pots refuses the packet.
TEST(HoldemPacketsTest, a_seat_byte_out_of_range_is_skipped_and_the_packet_kept) {
  struct Case {
    const char* what;
    uint32_t type;
    std::vector<uint8_t> bytes;
    bool accepted;
    int32_t field;  // the checked field after parsing
    size_t lines;   // log lines written
  };
  auto state = [](uint8_t dealer, uint8_t next, uint8_t previous) {
    holdem_bytes::GameState gs;
    gs.dealer = dealer;
    gs.next = next;
    gs.previous = previous;
    return gs.Bytes();
  };
  auto final = [](int8_t winner, uint8_t pot) {
    holdem_bytes::Final f;
    f.count = 1;
    f.winners = {winner};
    f.amounts = {5};
    f.paying_pot = pot;
    return f.Bytes();
  };
  auto field = [](uint32_t type, const std::string& what, const GameRecord& record) -> int32_t {
    switch (type) {
      case 2402: {
        const auto& r = static_cast<const HoldemGameStateRecord&>(record);
        return what.rfind("dealer", 0) == 0 ? r.dealer : what.rfind("next", 0) == 0 ? r.next_player : r.previous_player;
      }
      case 2404:
        return static_cast<const HoldemFinalRecord&>(record).winners[0];
      case 2405:
        return static_cast<const HoldemRefundRecord&>(record).seat;
      default: {
        const auto& r = static_cast<const HoldemMoveButtonRecord&>(record);
        return what.find("from") != std::string::npos ? r.from : r.to;
      }
    }
  };
  const std::vector<Case> cases = {
      {"dealer 9", 2402, state(9, 255, 255), true, 9, 0},
      {"dealer 10", 2402, state(10, 255, 255), true, 255, 1},
      {"dealer 255", 2402, state(255, 255, 255), true, 255, 0},
      {"next 254", 2402, state(0, 254, 255), true, 255, 1},
      {"next 10", 2402, state(0, 10, 255), true, 255, 1},
      {"previous 10", 2402, state(0, 255, 10), true, 255, 1},
      {"winner seat 9", 2404, final(9, 0), true, 9, 0},
      {"winner seat 10", 2404, final(10, 0), true, -1, 1},
      {"winner seat 127", 2404, final(127, 0), true, -1, 1},
      {"winner without a seat", 2404, final(-1, 0), true, -1, 0},
      {"pot 2", 2404, final(0, 2), true, 0, 0},
      {"pot 3", 2404, final(0, 3), false, 0, 1},
      {"pot 255", 2404, final(0, 255), false, 0, 1},
      {"button from 200", 2419, {200, 1, 0}, true, 255, 1},
      {"button to 200", 2419, {1, 200, 0}, true, 255, 1},
      {"button 9 to 0", 2419, {9, 0, 1}, true, 0, 0},
      {"refund seat 10", 2405, {0, 0, 0, 1, 10, 0, 0, 0, 5, 0, 0, 0, 0, 0, 0, 0, 0}, true, 255, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    LogCapture capture;
    const auto record = Parse(c.type, c.bytes, &capture);
    ASSERT_EQ(record != nullptr, c.accepted);
    EXPECT_EQ(capture.lines.size(), c.lines);
    if (record != nullptr) EXPECT_EQ(field(c.type, c.what, *record), c.field);
  }
}

TEST(HoldemPacketsTest, a_game_state_keeps_hole_cards_at_the_local_seat_and_decodes_masks_by_bits) {
  holdem_bytes::GameState gs;
  gs.hole[0] = 12;
  gs.hole[1] = 40;
  gs.status[3] = 1 | 32;  // in the hand with the sit-out mark
  gs.previous = 2;
  gs.previous_action = 9;
  gs.next = 3;
  gs.next_mask = 0x4000 | 0x200 | 0x80000000u;  // post now, a code-10 bit and a high bit
  gs.pre_mask = 0x60 | 0x100;                     // cap, fold and a bit outside the pre-action bits
  gs.bets[3] = 25;
  LogCapture capture;
  auto record = Parse(2402, gs.Bytes(), &capture, 3);
  ASSERT_NE(record, nullptr);
  const auto& r = *static_cast<HoldemGameStateRecord*>(record.get());
  EXPECT_EQ(r.cards[3][0], 12);
  EXPECT_EQ(r.cards[3][1], 40);
  EXPECT_EQ(r.cards[0][0], -1);
  EXPECT_EQ(r.sit_out[3], 3);
  EXPECT_EQ(r.previous_flags[ACTION_POST_BIG], 1);
  EXPECT_EQ(r.bets[3][0], 25u);
  EXPECT_EQ(r.bets[3][1], 0u);
  for (int code = 0; code < kHoldemActionCodes; ++code) {
    EXPECT_EQ(r.next_flags[code], code == ACTION_POST_NOW ? 1 : 0) << code;
    EXPECT_EQ(r.pre_action_flags[code], code == ACTION_CAP || code == ACTION_FOLD ? 1 : 0) << code;
  }
  auto unseated = Parse(2402, gs.Bytes(), &capture, -1);
  EXPECT_EQ(static_cast<HoldemGameStateRecord*>(unseated.get())->cards[3][0], -1);
}

TEST(HoldemPacketsTest, status_bytes_read_by_the_first_matching_rule) {
  const std::pair<uint8_t, uint32_t> cases[] = {{0, 0},   {16, 0},  {1, 70},  {17, 20}, {3, 50}, {5, 30},
                                                {9, 60},  {65, 40}, {31, 20}, {7, 50},  {33, 70}, {255, 20}};
  for (const auto& [byte, code] : cases) EXPECT_EQ(Holdem_StatusCode(byte), code) << int(byte);
}

TEST(HoldemPacketsTest, the_client_packets_are_laid_out_byte_for_byte) {
  EXPECT_EQ(Holdem_ActionPacket(0x01020304, 7, 2, ACTION_RAISE, 500),
            (std::vector<uint8_t>{1, 2, 3, 4, 0, 0, 0, 7, 0, 0, 0, 2, 4, 0, 0, 1, 0xF4, 0}));
  EXPECT_EQ(Holdem_FlagPacket(9, 7, 2, 1), (std::vector<uint8_t>{0, 0, 0, 9, 0, 0, 0, 7, 0, 0, 0, 2, 1, 0}));
  EXPECT_EQ(Holdem_HandPacket(9, 7, 2), (std::vector<uint8_t>{0, 0, 0, 9, 0, 0, 0, 7, 0, 0, 0, 2, 0}));
  EXPECT_EQ(Holdem_PlayNowPacket(9, 3), (std::vector<uint8_t>{0, 0, 0, 9, 3, 0}));
  const char* line = nullptr;
  EXPECT_EQ(Holdem_ActionOfButton(40, &line), 19);
  EXPECT_STREQ(line, "Action POST AFTER D PASSED is sent according to yuor choice");
  EXPECT_EQ(Holdem_ActionOfButton(99, &line), 0);
  EXPECT_EQ(line, nullptr);
}

}  // namespace
