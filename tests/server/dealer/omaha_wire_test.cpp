#include "tests/server/dealer/omaha_wire.h"

#include <gtest/gtest.h>

namespace omaha_wire {
namespace {

TEST(OmahaWire, sizes_follow_the_round_number_layouts) {
  GameState first;
  first.base.round = 0;
  GameState second;
  second.base.round = 3;
  Final none;
  none.round = 1;
  Final two_first;
  two_first.round = 0;
  two_first.winners.resize(2);
  Final two_second;
  two_second.round = 1;
  two_second.winners.resize(2);
  struct Row {
    const char* name;
    Packet packet;
    uint16_t type;
    size_t size;
  };
  const Row rows[] = {
      {"game state, four bet parts", Encode(first), 2502, 306},
      {"game state, one bet per seat", Encode(second), 2502, 186},
      {"collection", omaha_wire::Encode(holdem_wire::Collect{}), 2503, 166},
      {"final without winners", Encode(none), 2504, 149},
      {"final, two winners, first layout", Encode(two_first), 2504, 177},
      {"final, two winners, second layout", Encode(two_second), 2504, 185},
      {"refund", Encode(Refund{}), 2505, 33},
      {"option indicate", EncodeOptionIndicate(1, 1), 2507, 8},
      {"display I am back", EncodeDisplayIAmBack(1, 1), 2509, 8},
      {"ask show muck", Encode(AskShowMuck{}), 2513, 24},
      {"player status", Encode(PlayerStatus{}), 2515, 72},
      {"clear table", EncodeClearTable({}), 2518, 44},
      {"error", EncodeError(1, 2), 2500, 5},
  };
  for (const Row& row : rows) {
    EXPECT_EQ(row.packet.type, row.type) << row.name;
    EXPECT_EQ(row.packet.bytes.size(), row.size) << row.name;
  }
}

TEST(OmahaWire, game_state_puts_four_hole_cards_after_the_three_seat_arrays) {
  GameState state;
  state.base.round = 1;
  state.base.status[0] = 1;
  state.sit_out[2] = 3;
  state.base.seat_flags[9] = 7;
  state.base.dealer_status = 3;
  state.hole_cards = {10, 20, 30, 40};
  state.base.bet[1] = 0x01020304;
  state.base.chips[0] = 5000;
  state.base.dealer = 4;
  state.base.table_type = 1;
  const std::vector<uint8_t> b = Encode(state).bytes;
  EXPECT_EQ(b[8], 1);
  EXPECT_EQ(b[20], 3);
  EXPECT_EQ(b[37], 7);
  EXPECT_EQ(b[38], 3);
  EXPECT_EQ(b[39], 10);
  EXPECT_EQ(b[42], 40);
  EXPECT_EQ((std::vector<uint8_t>(b.begin() + 47, b.begin() + 51)), (std::vector<uint8_t>{1, 2, 3, 4}));
  EXPECT_EQ(b[83 + 3], 5000 & 0xFF);
  EXPECT_EQ(b[148], 4);
  EXPECT_EQ(b[185], 1);
}

TEST(OmahaWire, client_packets_are_the_holdem_layouts_under_their_own_types) {
  const holdem_wire::ClientPacket call{kAction, 2001, 9, 1, holdem_wire::kCall, 100};
  const std::vector<uint8_t> bytes = omaha_wire::EncodeClient(call);
  EXPECT_EQ(bytes, (std::vector<uint8_t>{0, 0, 0x07, 0xD1, 0, 0, 0, 9, 0, 0, 0, 1, 3, 0, 0, 0, 100, 0}));
  const auto back = DecodeClient(kAction, bytes);
  ASSERT_TRUE(back.has_value());
  EXPECT_EQ(back->type, kAction);
  EXPECT_EQ(back->amount, 100u);
  EXPECT_FALSE(DecodeClient(holdem_wire::kAction, bytes));
  EXPECT_FALSE(DecodeClient(2520, bytes));
}

}  // namespace
}  // namespace omaha_wire
