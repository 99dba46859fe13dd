// The Black Jack packets as the game server writes them (2800, 2801, 2804, 2806, 2808) and reads
// them (2802, 2803, 2807). Payloads here start after the table id, as the table's game module
// sees them; all integers are big-endian.
//
// Cards are bytes 0-51 (rank card % 13, ace first; suit card / 13) and 255 for a face-down card.
// A hand holds at most 15 cards on the wire.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

#include "tests/server/holdem_wire.h"

namespace blackjack_wire {

using holdem_wire::Packet;

constexpr uint16_t kPlayerStatus = 2800;
constexpr uint16_t kAction = 2801;
constexpr uint16_t kDeal = 2802;
constexpr uint16_t kResponse = 2803;
constexpr uint16_t kFatalError = 2804;
constexpr uint16_t kScore = 2806;
constexpr uint16_t kFinishHand = 2807;
constexpr uint16_t kDealReject = 2808;

constexpr int kSeats = 5;
constexpr int kMaxCards = 15;
constexpr uint8_t kFaceDown = 255;
constexpr uint8_t kNobody = 255;

// Seat status bits: taken, and dealt into the hand.
constexpr uint8_t kTaken = 1;
constexpr uint8_t kDealtIn = 2;

// The previous action of 2801, and the response codes of 2803 (equal where both exist).
enum ActionCode : uint8_t {
  kNoAction = 0,
  kStand = 1,
  kHit = 2,
  kInsurance = 3,
  kDouble = 4,
  kSplit = 5,
  kDealt = 7,
  kPass = 8,
  kEvenMoney = 9,
};

// Allowed-action mask bits of 2801.
constexpr uint32_t kAllowStand = 1;
constexpr uint32_t kAllowHit = 2;
constexpr uint32_t kAllowInsurance = 4;
constexpr uint32_t kAllowDouble = 8;
constexpr uint32_t kAllowSplit = 16;
constexpr uint32_t kAllowPass = 128;
constexpr uint32_t kAllowEvenMoney = 256;

// Result ids of 2806.
enum Result : uint8_t { kNoResult = 0, kDealerWins = 1, kPlayerWins = 2, kPush = 3 };

using SeatBytes = std::array<uint8_t, kSeats>;
using SeatAmounts = std::array<uint32_t, kSeats>;
using Cards = std::vector<uint8_t>;
template <typename T>
using PerHand = std::array<std::array<T, 2>, kSeats>;

// 2800, 41 bytes.
struct PlayerStatus {
  uint32_t hand = 0;
  uint8_t game_type = 0;
  SeatBytes status{};
  uint8_t total_hands = 0;
  SeatAmounts balance{};
  uint8_t button = 0;
  bool new_game = false;
  uint32_t limit_1 = 0;  // the smaller and the larger bet limit, in either order
  uint32_t limit_2 = 0;
};

// 2801, 127 + N + S bytes.
struct Action {
  uint32_t hand = 0;
  SeatBytes status{};
  uint8_t button = 0;
  uint8_t dealer_new = 0;
  Cards dealer;
  uint8_t turn_seat = kNobody;
  uint8_t turn_hand = 0;
  uint8_t previous_seat = kNobody;
  uint8_t previous_hand = 0;
  uint8_t previous_action = kNoAction;
  uint32_t allowed = 0;
  PerHand<uint8_t> new_cards{};
  PerHand<Cards> cards{};
  PerHand<uint32_t> bets{};
  SeatAmounts insurance{};
  SeatAmounts balance{};
  uint32_t decision_seconds = 0;
  bool check_blackjack = false;
  bool dealer_blackjack = false;
};

// 2806, 175 + N + S bytes.
struct Score {
  uint32_t hand = 0;
  SeatBytes status{};
  uint8_t button = 0;
  Cards dealer;
  PerHand<Cards> cards{};
  PerHand<uint32_t> bets{};
  SeatAmounts insurance{};
  PerHand<uint8_t> results{};
  PerHand<uint32_t> pays{};
  SeatAmounts insurance_pays{};
  SeatAmounts final_balance{};
  uint32_t timer = 0;
};

Packet Encode(const PlayerStatus& packet);
Packet Encode(const Action& packet);
Packet Encode(const Score& packet);
Packet EncodeFatalError(uint32_t hand, uint8_t code);
Packet EncodeDealReject();

// The server's packets read back (for tests and tools); none when the payload's length does not
// match what its counts say or a count is above 15.
std::optional<PlayerStatus> DecodePlayerStatus(const std::vector<uint8_t>& payload);
std::optional<Action> DecodeAction(const std::vector<uint8_t>& payload);
std::optional<Score> DecodeScore(const std::vector<uint8_t>& payload);

// What the client sends.
struct ClientPacket {
  uint16_t type = 0;
  uint32_t table_id = 0;
  uint32_t hand = 0;
  uint32_t bet = 0;   // 2802
  uint8_t code = 0;   // 2803
};

// The whole payload the client sends (table id included): 2802 13 bytes, 2803 10, 2807 9.
std::vector<uint8_t> EncodeClient(const ClientPacket& packet);
// Reads a client packet (table id included); none when the type is not 2802, 2803 or 2807, the
// length is not the type's or the trailing zero byte is not zero.
std::optional<ClientPacket> DecodeClient(uint16_t type, const std::vector<uint8_t>& payload);

}  // namespace blackjack_wire
