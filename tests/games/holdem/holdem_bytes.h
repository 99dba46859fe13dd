// Hold'em server packets for the client's tests, laid out byte by byte from the packet tables
// (payload after the table id). Each struct holds the fields; Bytes() writes them in wire order.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

namespace holdem_bytes {

using Seats8 = std::array<uint8_t, 10>;
using Seats32 = std::array<uint32_t, 10>;
using Board = std::array<int8_t, 5>;

constexpr uint8_t kIn = 1;        // seated, in the hand
constexpr uint8_t kFolded = 3;    // seated, folded
constexpr uint8_t kOut = 65;      // seated, not in the hand
constexpr Board kNoBoard{-2, -2, -2, -2, -2};

struct Writer {
  std::vector<uint8_t> bytes;
  Writer& U8(uint8_t v) {
    bytes.push_back(v);
    return *this;
  }
  Writer& U32(uint32_t v) {
    for (int s = 24; s >= 0; s -= 8) bytes.push_back(static_cast<uint8_t>(v >> s));
    return *this;
  }
  template <typename T, size_t N>
  Writer& All8(const std::array<T, N>& a) {
    for (T v : a) U8(static_cast<uint8_t>(v));
    return *this;
  }
  Writer& All32(const Seats32& a) {
    for (uint32_t v : a) U32(v);
    return *this;
  }
};

struct GameState {
  uint32_t hand = 1, round = 1;
  Seats8 status{};
  Seats8 flags{};
  int8_t dealer_status = -1;
  int8_t hole[2] = {-2, -2};
  Seats32 bets{};
  Seats32 chips{};
  Board board = kNoBoard;
  uint32_t main = 0, side = 0, second = 0, dead = 0, house = 0;
  uint8_t dealer = 0, previous = 255, previous_action = 0;
  uint32_t previous_amount = 0, previous_dead = 0;
  uint8_t next = 255;
  uint32_t next_mask = 0;
  uint8_t enough = 1;
  uint32_t pre_mask = 0, bet = 0, raise = 0, max = 0, timer = 0;
  uint8_t table_type = 0;
  std::vector<uint8_t> Bytes() const {
    Writer w;
    w.U32(hand).U32(round).All8(status).All8(flags).U8(static_cast<uint8_t>(dealer_status));
    w.U8(static_cast<uint8_t>(hole[0])).U8(static_cast<uint8_t>(hole[1])).All32(bets).All32(chips).All8(board);
    w.U32(main).U32(side).U32(second).U32(dead).U32(house).U8(dealer).U8(previous).U8(previous_action);
    w.U32(previous_amount).U32(previous_dead).U8(next).U32(next_mask).U8(enough).U32(pre_mask).U32(bet);
    w.U32(raise).U32(max).U32(timer).U8(table_type);
    return w.bytes;
  }
};

struct Collect {
  uint32_t hand = 1, round = 1;
  Seats8 status{};
  Seats32 to_main{}, to_side{}, to_second{};
  uint32_t pots[3] = {};
  uint32_t to_house[3] = {};
  uint32_t house = 0;
  std::vector<uint8_t> Bytes() const {
    Writer w;
    w.U32(hand).U32(round).All8(status).All32(to_main).All32(to_side).All32(to_second);
    for (uint32_t v : pots) w.U32(v);
    for (uint32_t v : to_house) w.U32(v);
    w.U32(house);
    return w.bytes;
  }
};

struct Final {
  uint32_t hand = 1, round = 1;
  Seats8 status{};
  Seats8 flags{};
  uint8_t dealer_status = 5;
  Board board = kNoBoard;
  Seats32 chips{};
  std::array<std::array<int8_t, 2>, 10> cards{};
  uint32_t pots[3] = {};
  uint32_t house = 0;
  uint8_t paying_pot = 0;
  int8_t count = 0;  // the wire's count; winners below are written only for a positive count
  std::vector<int8_t> winners;
  std::vector<uint32_t> amounts;
  Board winner_cards = kNoBoard;
  int8_t show_card = 0, show_muck = 0;
  uint8_t last = 1, table_type = 0;
  bool with_button = false;
  int8_t button = -1;
  Final() {
    for (auto& pair : cards) pair = {-2, -2};
  }
  std::vector<uint8_t> Bytes() const {
    Writer w;
    w.U32(hand).U32(round).All8(status).All8(flags).U8(dealer_status).All8(board).All32(chips);
    for (const auto& pair : cards) w.U8(static_cast<uint8_t>(pair[0])).U8(static_cast<uint8_t>(pair[1]));
    for (uint32_t v : pots) w.U32(v);
    w.U32(house).U8(paying_pot).U8(static_cast<uint8_t>(count));
    for (int8_t seat : winners) w.U8(static_cast<uint8_t>(seat));
    for (uint32_t amount : amounts) w.U32(amount);
    w.All8(winner_cards).U8(static_cast<uint8_t>(show_card)).U8(static_cast<uint8_t>(show_muck)).U8(last);
    w.U8(table_type);
    if (with_button) w.U8(static_cast<uint8_t>(button));
    return w.bytes;
  }
};

inline std::vector<uint8_t> PlayerStatus(const Seats8& status, const Seats32& chips, uint8_t table_type = 0) {
  Writer w;
  w.All8(status).All8(Seats8{}).All32(chips).U8(table_type);
  return w.bytes;
}

}  // namespace holdem_bytes
