// The Omaha packets as the game server writes them. They follow the Hold'em packets with these
// differences: every packet that carries the hand number (the error packet aside) carries the
// round number behind it, seats have four hole cards and a sit-out flag array of their own, a
// winner's cards are nine, and there are no dealer-button, play-now, local-status or
// bring-more-money packets. The round number picks the layout of the game state and the final
// packet: 0 for the first (four bet parts per seat, 14-byte winners), anything else for the
// second (one bet per seat, 18-byte winners with the rake).
//
// The client's packets have the Hold'em layouts under the types 2501, 2506, 2511, 2512 and 2514;
// `DecodeClient` reads them.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

#include "tests/server/holdem_wire.h"

namespace omaha_wire {

using holdem_wire::Board;
using holdem_wire::Packet;
using holdem_wire::SeatAmounts;
using holdem_wire::SeatBytes;

constexpr uint16_t kError = 2500;
constexpr uint16_t kAction = 2501;
constexpr uint16_t kGameState = 2502;
constexpr uint16_t kCollect = 2503;
constexpr uint16_t kFinal = 2504;
constexpr uint16_t kRefund = 2505;
constexpr uint16_t kSitOutNextHand = 2506;
constexpr uint16_t kOptionIndicate = 2507;
constexpr uint16_t kDisplayIAmBack = 2509;
constexpr uint16_t kFinishGame = 2511;
constexpr uint16_t kIAmBack = 2512;
constexpr uint16_t kAskShowMuck = 2513;
constexpr uint16_t kShowMuckResponse = 2514;
constexpr uint16_t kPlayerStatus = 2515;
constexpr uint16_t kClearTable = 2518;

using Hole = std::array<int8_t, 4>;
using Nine = std::array<int8_t, 9>;

// 2502: 306 bytes with round 0, else 186.
struct GameState {
  holdem_wire::GameState base;  // every field but the hole cards and the bets' other parts
  SeatBytes sit_out{};          // 3 sitting out
  Hole hole_cards{holdem_wire::kNoCard, holdem_wire::kNoCard, holdem_wire::kNoCard, holdem_wire::kNoCard};
  std::array<std::array<uint32_t, 3>, 10> more_bet_parts{};  // round 0 only
};

struct Winner {
  int8_t seat = 0;
  uint32_t chips = 0;
  uint32_t rake = 0;  // round other than 0 only
  Nine cards{};
};

// 2504: 149 bytes and 14 (round 0) or 18 per winner.
struct Final {
  uint32_t hand = 0;
  uint32_t round = 0;
  SeatBytes status{};
  SeatBytes sit_out{};
  SeatBytes seat_flags{};
  bool show_result = false;
  uint8_t dealer_status = 0;
  Board board{holdem_wire::kNoCard, holdem_wire::kNoCard, holdem_wire::kNoCard, holdem_wire::kNoCard,
              holdem_wire::kNoCard};
  SeatAmounts chips{};
  std::array<Hole, 10> cards{};
  uint32_t house_take = 0;
  uint32_t timer_seconds = 0;
  bool last = true;
  uint32_t main_pot = 0;
  uint32_t side_pot = 0;
  uint32_t second_side_pot = 0;
  uint8_t paying_pot = 0;
  std::vector<Winner> winners;
  uint8_t table_type = 0;
};

// 2505, 33 bytes.
struct Refund {
  uint32_t hand = 0;
  uint32_t round = 0;
  uint8_t seat = 0;
  uint32_t refund = 0;
  int32_t balance = 0;
  std::array<uint32_t, 4> current_bet{};
};

// 2513, 24 bytes.
struct AskShowMuck {
  uint32_t hand = 0;
  uint32_t round = 0;
  SeatBytes status{};
  bool show = true;
  bool muck = true;
  uint32_t timer_seconds = 0;
};

// 2515, 72 bytes.
struct PlayerStatus {
  SeatBytes status{};
  SeatBytes sit_out{};
  SeatBytes seat_flags{};
  SeatAmounts chips{};
  uint8_t dealer = 0;
  uint8_t table_type = 0;
};

Packet Encode(const GameState& packet);
Packet Encode(const holdem_wire::Collect& packet);  // 2503, the Hold'em layout
Packet Encode(const Final& packet);
Packet Encode(const Refund& packet);
Packet Encode(const AskShowMuck& packet);
Packet Encode(const PlayerStatus& packet);
Packet EncodeError(uint32_t hand, uint8_t code);
Packet EncodeOptionIndicate(uint32_t hand, uint32_t round);
Packet EncodeDisplayIAmBack(uint32_t hand, uint32_t round);
Packet EncodeClearTable(const SeatAmounts& chips);

// The client's packet of an Omaha type, its type kept; none when the shape is wrong.
std::optional<holdem_wire::ClientPacket> DecodeClient(uint16_t type, const std::vector<uint8_t>& payload);
// The bytes the client sends for `packet` (an Omaha type).
std::vector<uint8_t> EncodeClient(const holdem_wire::ClientPacket& packet);

}  // namespace omaha_wire
