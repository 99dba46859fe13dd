#include "tests/server/dealer/blackjack/blackjack_wire.h"

#include <gtest/gtest.h>

namespace blackjack_wire {
namespace {

uint32_t U32At(const std::vector<uint8_t>& bytes, size_t at) {
  return (uint32_t{bytes[at]} << 24) | (uint32_t{bytes[at + 1]} << 16) | (uint32_t{bytes[at + 2]} << 8) | bytes[at + 3];
}

TEST(BlackJackWire, player_status_is_41_bytes_with_the_limits_last) {
  PlayerStatus status;
  status.hand = 77;
  status.balance[4] = 123456;
  status.button = 3;
  status.new_game = true;
  status.limit_1 = 500;
  status.limit_2 = 100;
  const Packet packet = Encode(status);
  EXPECT_EQ(packet.type, 2800);
  ASSERT_EQ(packet.bytes.size(), 41u);
  EXPECT_EQ(U32At(packet.bytes, 0), 77u);
  EXPECT_EQ(U32At(packet.bytes, 11 + 16), 123456u);
  EXPECT_EQ(packet.bytes[31], 3);
  EXPECT_EQ(packet.bytes[32], 1);
  EXPECT_EQ(U32At(packet.bytes, 33), 500u);
  EXPECT_EQ(U32At(packet.bytes, 37), 100u);
  const auto back = DecodePlayerStatus(packet.bytes);
  ASSERT_TRUE(back.has_value());
  EXPECT_EQ(back->limit_2, 100u);
}

TEST(BlackJackWire, an_action_is_127_bytes_and_its_cards_with_every_field_at_its_offset) {
  Action action;
  action.hand = 9;
  action.dealer_new = 2;
  action.dealer = {0, kFaceDown};  // N = 2
  action.turn_seat = 1;
  action.previous_action = kDealt;
  action.allowed = kAllowStand | kAllowHit | kAllowDouble;
  action.new_cards[1][0] = 2;
  action.cards[1][0] = {12, 25};
  action.cards[3][0] = {5};
  action.cards[3][1] = {6, 7};  // S = 5
  action.bets[3][1] = 2500;
  action.insurance[0] = 50;
  action.balance[4] = 9999;
  action.decision_seconds = 20;
  action.check_blackjack = true;
  const Packet packet = Encode(action);
  const size_t n = 2, s = 5;
  ASSERT_EQ(packet.bytes.size(), 127 + n + s);
  EXPECT_EQ(packet.bytes[11], n);
  EXPECT_EQ(packet.bytes[12 + 1], kFaceDown);
  EXPECT_EQ(packet.bytes[12 + n], 1) << "in-turn seat";
  EXPECT_EQ(packet.bytes[16 + n], kDealt);
  EXPECT_EQ(U32At(packet.bytes, 17 + n), 11u);
  EXPECT_EQ(packet.bytes[21 + n + 2], 2) << "new cards of seat 1, hand 0";
  EXPECT_EQ(packet.bytes[31 + n + 7], 2) << "C(3, 1)";
  EXPECT_EQ(packet.bytes[41 + n], 12) << "the first card is seat 1's";
  EXPECT_EQ(packet.bytes[41 + n + 4], 7) << "seat 3's hand 1 last";
  EXPECT_EQ(U32At(packet.bytes, 41 + n + s + 8 * 3 + 4), 2500u);
  EXPECT_EQ(U32At(packet.bytes, 81 + n + s), 50u);
  EXPECT_EQ(U32At(packet.bytes, 101 + n + s + 16), 9999u);
  EXPECT_EQ(U32At(packet.bytes, 121 + n + s), 20u);
  EXPECT_EQ(packet.bytes[125 + n + s], 1);
  EXPECT_EQ(packet.bytes[126 + n + s], 0);

  const auto back = DecodeAction(packet.bytes);
  ASSERT_TRUE(back.has_value());
  EXPECT_EQ(back->cards[3][1], (Cards{6, 7}));
  EXPECT_EQ(back->bets[3][1], 2500u);
  std::vector<uint8_t> short_by_one = packet.bytes;
  short_by_one.pop_back();
  EXPECT_FALSE(DecodeAction(short_by_one).has_value());
}

TEST(BlackJackWire, a_score_is_175_bytes_and_its_cards) {
  Score score;
  score.hand = 9;
  score.button = 2;
  score.dealer = {0, 9, 20};  // N = 3
  score.cards[0][0] = {1, 2};
  score.cards[0][1] = {3, 4};  // S = 4
  score.results[0][1] = kPush;
  score.pays[4][0] = 150;
  score.insurance_pays[2] = 100;
  score.final_balance[0] = 777;
  score.timer = 10;
  const Packet packet = Encode(score);
  const size_t n = 3, s = 4;
  ASSERT_EQ(packet.bytes.size(), 175 + n + s);
  EXPECT_EQ(packet.bytes[9], 2);
  EXPECT_EQ(packet.bytes[10], n);
  EXPECT_EQ(packet.bytes[81 + n + s + 1], kPush);
  EXPECT_EQ(U32At(packet.bytes, 91 + n + s + 32), 150u);
  EXPECT_EQ(U32At(packet.bytes, 131 + n + s + 8), 100u);
  EXPECT_EQ(U32At(packet.bytes, 151 + n + s), 777u);
  EXPECT_EQ(U32At(packet.bytes, 171 + n + s), 10u);
  ASSERT_TRUE(DecodeScore(packet.bytes).has_value());
}

TEST(BlackJackWire, client_packets_have_their_lengths_and_a_trailing_zero) {
  const struct {
    ClientPacket packet;
    size_t length;
  } rows[] = {
      {{kDeal, 1001, 9, 500, 0}, 13},
      {{kResponse, 1001, 9, 0, kSplit}, 10},
      {{kFinishHand, 1001, 9, 0, 0}, 9},
  };
  for (const auto& row : rows) {
    const std::vector<uint8_t> bytes = EncodeClient(row.packet);
    ASSERT_EQ(bytes.size(), row.length) << row.packet.type;
    const auto back = DecodeClient(row.packet.type, bytes);
    ASSERT_TRUE(back.has_value()) << row.packet.type;
    EXPECT_EQ(back->table_id, 1001u);
    EXPECT_EQ(back->hand, 9u);
    EXPECT_EQ(back->bet, row.packet.bet);
    EXPECT_EQ(back->code, row.packet.code);
    std::vector<uint8_t> wrong = bytes;
    wrong.back() = 1;
    EXPECT_FALSE(DecodeClient(row.packet.type, wrong).has_value()) << "a trailing byte that is not zero";
    wrong = bytes;
    wrong.push_back(0);
    EXPECT_FALSE(DecodeClient(row.packet.type, wrong).has_value()) << "one byte long";
  }
  EXPECT_FALSE(DecodeClient(2801, std::vector<uint8_t>(13, 0)).has_value());
}

}  // namespace
}  // namespace blackjack_wire
