#include "cclient/games/blackjack/blackjack_packets.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "cclient/games/kit/game_log.h"
#include "tests/server/dealer/blackjack/blackjack_wire.h"

namespace {

namespace bw = blackjack_wire;

// The module log's lines, kept by a test.
class LogLines {
 public:
  LogLines() { log.SetEcho(Keep, this); }
  GameLog log;
  std::vector<std::string> lines;

 private:
  static void Keep(void* self, const char* line) { static_cast<LogLines*>(self)->lines.emplace_back(line); }
};

std::unique_ptr<GameRecord> Parse(uint32_t type, const std::vector<uint8_t>& bytes, LogLines* log) {
  return BlackJack_ParsePacket(type, bytes.data(), static_cast<int32_t>(bytes.size()), &log->log);
}

// An action whose dealer holds `n` cards and whose seats hold `s` cards in all, 15 to a hand (seat
// 0's hands first, then seat 1's ...).
bw::Action ActionWith(size_t n, size_t s) {
  bw::Action action;
  action.hand = 3;
  action.dealer.assign(n, 5);
  for (size_t i = 0; i < s; ++i) action.cards[i / 30][(i / 15) % 2].push_back(static_cast<uint8_t>(i % 52));
  return action;
}

bw::Score ScoreWith(size_t n, size_t s) {
  bw::Score score;
  score.hand = 3;
  score.button = 1;
  score.dealer.assign(n, 5);
  for (size_t i = 0; i < s; ++i) score.cards[i / 30][(i / 15) % 2].push_back(static_cast<uint8_t>(i % 52));
  return score;
}

TEST(BlackJackPackets, an_action_is_127_plus_n_plus_s_bytes_and_a_wrong_length_logs_both_sizes) {
  const struct {
    size_t n, s;
    int32_t shift;  // bytes added to (or, negative, taken from) the right length
    bool accepted;
  } rows[] = {
      {2, 4, 0, true},  {0, 0, 0, true},  {15, 15, 0, true}, {2, 4, -1, false},
      {2, 4, 1, false}, {3, 0, -1, false}, {0, 10, 5, false},
  };
  for (const auto& row : rows) {
    std::vector<uint8_t> bytes = bw::Encode(ActionWith(row.n, row.s)).bytes;
    ASSERT_EQ(bytes.size(), 127 + row.n + row.s);
    if (row.shift < 0) bytes.resize(bytes.size() - static_cast<size_t>(-row.shift));
    if (row.shift > 0) bytes.resize(bytes.size() + static_cast<size_t>(row.shift), 0);
    LogLines log;
    const auto record = Parse(BLACKJACK_PACKET_ACTION, bytes, &log);
    EXPECT_EQ(record != nullptr, row.accepted) << row.n << "/" << row.s << "/" << row.shift;
    if (row.accepted) {
      EXPECT_TRUE(log.lines.empty());
      continue;
    }
    ASSERT_EQ(log.lines.size(), 2u) << row.n << "/" << row.s << "/" << row.shift;
    EXPECT_EQ(log.lines[0], "BlackJack Action Packet has Wrong size = " + std::to_string(bytes.size()));
    EXPECT_EQ(log.lines[1], "BlackJack Action Packet expected size = " + std::to_string(127 + row.n + row.s));
  }
}

TEST(BlackJackPackets, an_action_too_short_for_its_dealer_cards_logs_n_plus_41) {
  // N = 10 after the first 12 bytes, and fewer than N + 29 bytes after them.
  std::vector<uint8_t> bytes = bw::Encode(ActionWith(10, 0)).bytes;
  bytes.resize(12 + 10 + 28);
  LogLines log;
  EXPECT_EQ(Parse(BLACKJACK_PACKET_ACTION, bytes, &log), nullptr);
  ASSERT_EQ(log.lines.size(), 1u);
  EXPECT_EQ(log.lines[0], "BlackJack Action Packet size must be more than = 51");
}

TEST(BlackJackPackets, a_score_is_175_plus_n_plus_s_bytes_and_a_dealer_button_outside_the_seats_is_refused_silently) {
  const struct {
    size_t n, s;
    int32_t shift;
    bool accepted;
  } rows[] = {{3, 4, 0, true}, {2, 30, 0, true}, {3, 4, -1, false}, {3, 4, 2, false}};
  for (const auto& row : rows) {
    std::vector<uint8_t> bytes = bw::Encode(ScoreWith(row.n, row.s)).bytes;
    ASSERT_EQ(bytes.size(), 175 + row.n + row.s);
    if (row.shift < 0) bytes.resize(bytes.size() - static_cast<size_t>(-row.shift));
    if (row.shift > 0) bytes.resize(bytes.size() + static_cast<size_t>(row.shift), 0);
    LogLines log;
    EXPECT_EQ(Parse(BLACKJACK_PACKET_SCORE, bytes, &log) != nullptr, row.accepted) << row.n << "/" << row.shift;
    if (row.accepted) continue;
    ASSERT_EQ(log.lines.size(), 2u);
    EXPECT_EQ(log.lines[0], "BlackJack Score Packet has Wrong size = " + std::to_string(bytes.size()));
    EXPECT_EQ(log.lines[1], "BlackJack Score Packet expected size = " + std::to_string(175 + row.n + row.s));
  }
  bw::Score button_five = ScoreWith(3, 4);
  button_five.button = 5;
  LogLines log;
  EXPECT_EQ(Parse(BLACKJACK_PACKET_SCORE, bw::Encode(button_five).bytes, &log), nullptr);
  EXPECT_TRUE(log.lines.empty()) << "refused without a word";
}

TEST(BlackJackPackets, card_counts_above_fifteen_refuse_the_packet) {
  const struct {
    const char* name;
    uint32_t type;
    size_t count_at;  // the count byte to set
    uint8_t count;
  } rows[] = {
      {"action, dealer 16", BLACKJACK_PACKET_ACTION, 11, 16},
      {"action, a hand of 16", BLACKJACK_PACKET_ACTION, 31, 16},
      {"action, a hand of 255", BLACKJACK_PACKET_ACTION, 31 + 9, 255},
      {"score, dealer 16", BLACKJACK_PACKET_SCORE, 10, 16},
      {"score, a hand of 16", BLACKJACK_PACKET_SCORE, 11 + 4, 16},
  };
  for (const auto& row : rows) {
    // A packet long enough for every count it claims, so only the count can refuse it.
    std::vector<uint8_t> bytes = row.type == BLACKJACK_PACKET_ACTION ? bw::Encode(ActionWith(0, 0)).bytes
                                                                     : bw::Encode(ScoreWith(0, 0)).bytes;
    bytes[row.count_at] = row.count;
    bytes.resize(bytes.size() + row.count, 7);
    LogLines log;
    EXPECT_EQ(Parse(row.type, bytes, &log), nullptr) << row.name;
    EXPECT_FALSE(log.lines.empty()) << row.name << ": logged";
  }
}

TEST(BlackJackPackets, player_status_takes_the_smaller_limit_as_the_minimum) {
  bw::PlayerStatus status;
  status.hand = 12;
  status.new_game = true;
  status.limit_1 = 500;
  status.limit_2 = 100;
  LogLines log;
  const auto record = Parse(BLACKJACK_PACKET_PLAYER_STATUS, bw::Encode(status).bytes, &log);
  ASSERT_NE(record, nullptr);
  const auto& p = static_cast<const BlackJackPlayerStatusRecord&>(*record);
  EXPECT_EQ(p.min_bet, 100u);
  EXPECT_EQ(p.max_bet, 500u);
  EXPECT_TRUE(p.new_game);
  EXPECT_EQ(p.hand_number, 12u);

  std::vector<uint8_t> bytes = bw::Encode(status).bytes;
  bytes[32] = 0x80;  // a flag byte counts only from 1 to 127
  const auto negative = Parse(BLACKJACK_PACKET_PLAYER_STATUS, bytes, &log);
  ASSERT_NE(negative, nullptr);
  EXPECT_FALSE(static_cast<const BlackJackPlayerStatusRecord&>(*negative).new_game);
  bytes.pop_back();
  EXPECT_EQ(Parse(BLACKJACK_PACKET_PLAYER_STATUS, bytes, &log), nullptr);
  EXPECT_EQ(log.lines.back(), "BlackJack Player Status Packet has Wrong size = 40");
}

TEST(BlackJackPackets, an_action_reads_its_previous_action_and_allowed_moves) {
  bw::Action action = ActionWith(2, 0);
  action.dealer = {12, bw::kFaceDown};
  action.previous_action = bw::kSplit;
  action.allowed = bw::kAllowStand | bw::kAllowHit | bw::kAllowEvenMoney;
  action.cards[2][0] = {7, 20};
  action.cards[2][1] = {33};
  action.new_cards[2][0] = 1;
  action.bets[2][1] = 2500;
  LogLines log;
  const auto record = Parse(BLACKJACK_PACKET_ACTION, bw::Encode(action).bytes, &log);
  ASSERT_NE(record, nullptr);
  const auto& a = static_cast<const BlackJackActionRecord&>(*record);
  EXPECT_TRUE(a.split);
  EXPECT_FALSE(a.stand || a.hit || a.insurance || a.double_down || a.deal || a.even_money);
  EXPECT_TRUE(a.allow_stand && a.allow_hit && a.allow_even_money);
  EXPECT_FALSE(a.allow_insurance || a.allow_double || a.allow_split || a.allow_pass);
  EXPECT_EQ(a.dealer.count, 2);
  EXPECT_EQ(a.dealer.cards[1], -1) << "255 is a face-down card";
  EXPECT_EQ(a.hands[2][0].count, 2);
  EXPECT_EQ(a.hands[2][1].cards[0], 33);
  EXPECT_EQ(a.new_cards[2][0], 1);
  EXPECT_EQ(a.bet[2][1], 2500u);
}

TEST(BlackJackPackets, types_without_a_record_log_unknown_packet) {
  for (const uint32_t type : {2802u, 2803u, 2805u, 2807u, 2808u, 2809u}) {
    LogLines log;
    EXPECT_EQ(Parse(type, {}, &log), nullptr) << type;
    ASSERT_EQ(log.lines.size(), 1u) << type;
    EXPECT_EQ(log.lines[0], "Unknown packet = " + std::to_string(type));
  }
  LogLines log;
  EXPECT_EQ(Parse(BLACKJACK_PACKET_SERVER_FATAL_ERROR, {0, 0, 0, 1}, &log), nullptr);
  EXPECT_EQ(log.lines.back(), "BlackJack Player Server Fatal Error Packet has Wrong size = 4");
}

TEST(BlackJackPackets, the_clients_packets_have_their_layouts) {
  const struct {
    std::vector<uint8_t> bytes;
    uint16_t type;
    uint32_t bet;
    uint8_t code;
  } rows[] = {
      {BlackJack_DealPayload(77, 9, 500), bw::kDeal, 500, 0},
      {BlackJack_ResponsePayload(77, 9, 5), bw::kResponse, 0, 5},
      {BlackJack_FinishHandPayload(77, 9), bw::kFinishHand, 0, 0},
  };
  for (const auto& row : rows) {
    const auto packet = bw::DecodeClient(row.type, row.bytes);
    ASSERT_TRUE(packet.has_value()) << row.type;
    EXPECT_EQ(packet->table_id, 77u);
    EXPECT_EQ(packet->hand, 9u);
    EXPECT_EQ(packet->bet, row.bet);
    EXPECT_EQ(packet->code, row.code);
  }
}

}  // namespace
