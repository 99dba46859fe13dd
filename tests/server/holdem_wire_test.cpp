#include "tests/server/holdem_wire.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace holdem_wire {
namespace {

uint32_t U32At(const std::vector<uint8_t>& bytes, size_t at) {
  return (uint32_t{bytes[at]} << 24) | (uint32_t{bytes[at + 1]} << 16) | (uint32_t{bytes[at + 2]} << 8) |
         bytes[at + 3];
}

TEST(HoldemWire, every_server_packet_has_the_size_the_client_checks) {
  struct Row {
    const char* name;
    Packet packet;
    uint16_t type;
    size_t size;
  };
  Final three_winners;
  three_winners.winners = {{1, 100}, {4, 100}, {7, 50}};
  Final with_button = three_winners;
  with_button.button_seat = 3;
  const Row rows[] = {
      {"error", Encode(Error{}), 2400, 5},
      {"game state", Encode(GameState{}), 2402, 174},
      {"collect", Encode(Collect{}), 2403, 166},
      {"final without winners", Encode(Final{}), 2404, 121},
      {"final with three winners", Encode(three_winners), 2404, 136},
      {"final with the button seat", Encode(with_button), 2404, 137},
      {"refund", Encode(Refund{}), 2405, 17},
      {"option indicate", EncodeOptionIndicate(1), 2407, 4},
      {"display I am back", EncodeDisplayIAmBack(1), 2409, 4},
      {"ask show muck", Encode(AskShowMuck{}), 2413, 20},
      {"player status", Encode(PlayerStatus{}), 2415, 61},
      {"clear table", EncodeClearTable({}), 2418, 44},
      {"move dealer button", Encode(MoveDealerButton{}), 2419, 3},
      {"show play now", Encode(ShowPlayNow{}), 2421, 9},
      {"local player status", EncodeLocalPlayerStatus(1), 2422, 1},
      {"force buy more", EncodeForceBuyMore(500), 2423, 4},
  };
  for (const Row& row : rows) {
    EXPECT_EQ(row.packet.type, row.type) << row.name;
    EXPECT_EQ(row.packet.bytes.size(), row.size) << row.name;
  }
}

TEST(HoldemWire, game_state_fields_sit_at_their_offsets) {
  GameState state;
  state.hand = 0x01020304;
  state.round = 7;
  state.status[4] = kStatusSeated | kStatusSitOutMark;
  state.seat_flags[9] = 0x55;
  state.dealer_status = 3;
  state.hole_cards = {12, 51};
  state.bet[9] = 250;
  state.chips[0] = 0xA0B0C0D0;
  state.board = {1, 2, 3, kNoCard, kNoCard};
  state.main_pot = 1000;
  state.house_take = 50;
  state.dealer = 6;
  state.previous_player = 2;
  state.previous_action = kPostDead;
  state.previous_amount = 200;
  state.previous_dead_amount = 100;
  state.next_player = 4;
  state.next_mask = MaskOf(kCap) | MaskOf(kFold);
  state.enough_chips = 1;
  state.pre_action_mask = 0x41;
  state.bet_or_call = 100;
  state.raise_to = 400;
  state.maximum = 9000;
  state.timer_seconds = 20;
  state.table_type = 2;
  const std::vector<uint8_t> b = Encode(state).bytes;
  EXPECT_EQ(U32At(b, 0), 0x01020304u);
  EXPECT_EQ(U32At(b, 4), 7u);
  EXPECT_EQ(b[8 + 4], 33);
  EXPECT_EQ(b[18 + 9], 0x55);
  EXPECT_EQ(b[28], 3);
  EXPECT_EQ(b[29], 12);
  EXPECT_EQ(b[30], 51);
  EXPECT_EQ(U32At(b, 31 + 9 * 4), 250u);
  EXPECT_EQ(U32At(b, 71), 0xA0B0C0D0u);
  EXPECT_EQ(b[111], 1);
  EXPECT_EQ(b[114], 0xFE);
  EXPECT_EQ(U32At(b, 116), 1000u);
  EXPECT_EQ(U32At(b, 132), 50u);
  EXPECT_EQ(b[136], 6);
  EXPECT_EQ(b[137], 2);
  EXPECT_EQ(b[138], 18);
  EXPECT_EQ(U32At(b, 139), 200u);
  EXPECT_EQ(U32At(b, 143), 100u);
  EXPECT_EQ(b[147], 4);
  EXPECT_EQ(U32At(b, 148), 0x60u);
  EXPECT_EQ(b[152], 1);
  EXPECT_EQ(U32At(b, 153), 0x41u);
  EXPECT_EQ(U32At(b, 157), 100u);
  EXPECT_EQ(U32At(b, 161), 400u);
  EXPECT_EQ(U32At(b, 165), 9000u);
  EXPECT_EQ(U32At(b, 169), 20u);
  EXPECT_EQ(b[173], 2);
}

TEST(HoldemWire, final_packet_lists_winners_then_their_chips_then_the_tail) {
  Final final;
  final.hand = 9;
  final.dealer_status = 5;
  final.chips[3] = 4321;
  final.cards[2] = {40, 41};
  final.house_taken = 30;
  final.paying_pot = 1;
  final.winners = {{2, 600}, {-1, 5}};
  final.winner_cards = {40, 41, 1, 2, 3};
  final.show_card_seconds = 3;
  final.show_muck_seconds = 8;
  final.last = true;
  final.table_type = 1;
  final.button_seat = 5;
  const std::vector<uint8_t> b = Encode(final).bytes;
  ASSERT_EQ(b.size(), 122u + 10u);
  EXPECT_EQ(b[28], 5);
  EXPECT_EQ(U32At(b, 34 + 3 * 4), 4321u);
  EXPECT_EQ(b[74 + 4], 40);
  EXPECT_EQ(b[74 + 5], 41);
  EXPECT_EQ(U32At(b, 106), 30u);
  EXPECT_EQ(b[110], 1);
  EXPECT_EQ(b[111], 2);
  EXPECT_EQ(b[112], 2);
  EXPECT_EQ(b[113], 0xFF);
  EXPECT_EQ(U32At(b, 114), 600u);
  EXPECT_EQ(U32At(b, 118), 5u);
  EXPECT_EQ(b[122], 40);
  EXPECT_EQ(b[126], 3);
  EXPECT_EQ(b[127], 3);
  EXPECT_EQ(b[128], 8);
  EXPECT_EQ(b[129], 1);
  EXPECT_EQ(b[130], 1);
  EXPECT_EQ(b[131], 5);
}

TEST(HoldemWire, collect_and_refund_fields_sit_at_their_offsets) {
  Collect collect;
  collect.to_main[1] = 11;
  collect.to_side[0] = 22;
  collect.to_second_side[9] = 33;
  collect.main_pot = 44;
  collect.house_from_second_side = 55;
  collect.house_taken = 66;
  const std::vector<uint8_t> c = Encode(collect).bytes;
  EXPECT_EQ(U32At(c, 22), 11u);
  EXPECT_EQ(U32At(c, 58), 22u);
  EXPECT_EQ(U32At(c, 98 + 36), 33u);
  EXPECT_EQ(U32At(c, 138), 44u);
  EXPECT_EQ(U32At(c, 158), 55u);
  EXPECT_EQ(U32At(c, 162), 66u);

  const std::vector<uint8_t> r = Encode(Refund{5, 3, 200, -1, 75}).bytes;
  EXPECT_EQ(r, (std::vector<uint8_t>{0, 0, 0, 5, 3, 0, 0, 0, 200, 0xFF, 0xFF, 0xFF, 0xFF, 0, 0, 0, 75}));
}

TEST(HoldemWire, client_packets_round_trip_with_their_exact_bytes) {
  const ClientPacket bet{kAction, 1001, 0x10, 2, kBet, 250};
  const std::vector<uint8_t> bet_bytes = {0, 0, 0x03, 0xE9, 0, 0, 0, 0x10, 0, 0, 0, 2, 2, 0, 0, 0, 250, 0};
  EXPECT_EQ(EncodeClient(bet), bet_bytes);
  const auto decoded = DecodeClient(kAction, bet_bytes);
  ASSERT_TRUE(decoded.has_value());
  EXPECT_EQ(decoded->table_id, 1001u);
  EXPECT_EQ(decoded->hand, 0x10u);
  EXPECT_EQ(decoded->round, 2u);
  EXPECT_EQ(decoded->code, kBet);
  EXPECT_EQ(decoded->amount, 250u);

  EXPECT_EQ(EncodeClient({kFinishGame, 1, 2, 3, 0, 0}),
            (std::vector<uint8_t>{0, 0, 0, 1, 0, 0, 0, 2, 0, 0, 0, 3, 0}));
  EXPECT_EQ(EncodeClient({kShowMuckResponse, 1, 2, 3, 2, 0}),
            (std::vector<uint8_t>{0, 0, 0, 1, 0, 0, 0, 2, 0, 0, 0, 3, 2, 0}));
  EXPECT_EQ(EncodeClient({kPlayNow, 1, 0, 0, 3, 0}), (std::vector<uint8_t>{0, 0, 0, 1, 3, 0}));
  for (uint16_t type : {kSitOutNextHand, kFinishGame, kIAmBack, kShowMuckResponse, kPlayNow}) {
    const ClientPacket sent{type, 7, 8, 9, 1, 0};
    const auto back = DecodeClient(type, EncodeClient(sent));
    ASSERT_TRUE(back.has_value()) << type;
    EXPECT_EQ(back->table_id, 7u) << type;
  }
}

TEST(HoldemWire, client_packets_of_the_wrong_shape_are_refused) {
  std::vector<uint8_t> action = EncodeClient({kAction, 1, 2, 3, kCall, 100});
  std::vector<uint8_t> longer = action;
  longer.push_back(0);
  std::vector<uint8_t> nonzero_tail = action;
  nonzero_tail.back() = 1;
  EXPECT_FALSE(DecodeClient(kAction, longer));
  EXPECT_FALSE(DecodeClient(kAction, std::vector<uint8_t>(action.begin(), action.end() - 1)));
  EXPECT_FALSE(DecodeClient(kAction, nonzero_tail));
  EXPECT_FALSE(DecodeClient(kGameState, action));
}

TEST(HoldemWire, join_result_and_seat_records_have_the_table_layout) {
  table::JoinResult join;
  join.flags = table::kFlagWholeUnits;
  join.name = "Aberdeen";
  join.stakes = "$1/$2";
  join.hand = 77;
  join.minimum_sit = 2000;
  join.maximum_sit = 20000;
  join.players = {{1, "Dora", 15000, "", 1}};
  const std::vector<uint8_t> b = table::Encode(join).bytes;
  ASSERT_EQ(b.size(), 96u + 52u);
  EXPECT_EQ(U32At(b, 1), 8u);
  EXPECT_EQ(b[5], 'A');
  EXPECT_EQ(b[37], '$');
  EXPECT_EQ(U32At(b, 73), 77u);
  EXPECT_EQ(U32At(b, 81), 2000u);
  EXPECT_EQ(U32At(b, 85), 20000u);
  EXPECT_EQ(b[93], 10);
  EXPECT_EQ(b[95], 1);
  EXPECT_EQ(b[96], 1);
  EXPECT_EQ(b[97], 'D');
  EXPECT_EQ(b[96 + 11], 0);
  EXPECT_EQ(U32At(b, 96 + 12), 15000u);
  EXPECT_EQ(U32At(b, 96 + 48), 1u);
  EXPECT_EQ(table::Encode(table::JoinResult{3}).bytes, std::vector<uint8_t>{3});

  const auto sit = table::DecodeSitRequest({0, 0, 0x03, 0xE9, 4, 0, 0, 0x27, 0x10});
  ASSERT_TRUE(sit.has_value());
  EXPECT_EQ(sit->table_id, 1001u);
  EXPECT_EQ(sit->seat, 4);
  EXPECT_EQ(sit->cents, 10000u);
  EXPECT_EQ(ForTable(1001, {9}), (std::vector<uint8_t>{0, 0, 0x03, 0xE9, 9}));
}

}  // namespace
}  // namespace holdem_wire
