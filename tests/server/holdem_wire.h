// The Hold'em packets as the game server writes and reads them: one struct per packet type, an
// encoder that gives the exact payload the client parses (after the table id, which the list of
// open tables takes off), and decoders for what the client sends. Also the few table-level
// packets a dealer needs (join result, seat records, sit result, messages).
//
// For the scripted game server and the tests; the client does not use it. Every integer on the
// wire is big-endian; money is in cents, or in whole units at a whole-units table; a card is 0-51,
// -1 face down, below -1 none.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace holdem_wire {

constexpr int kSeats = 10;
constexpr uint8_t kNoSeat = 255;
constexpr int8_t kNoCard = -2;
constexpr int8_t kHiddenCard = -1;

// Packet types of the Hold'em block; the client sends 2401, 2406, 2411, 2412, 2414 and 2420.
constexpr uint16_t kError = 2400;
constexpr uint16_t kAction = 2401;
constexpr uint16_t kGameState = 2402;
constexpr uint16_t kCollect = 2403;
constexpr uint16_t kFinal = 2404;
constexpr uint16_t kRefund = 2405;
constexpr uint16_t kSitOutNextHand = 2406;
constexpr uint16_t kOptionIndicate = 2407;
constexpr uint16_t kDisplayIAmBack = 2409;
constexpr uint16_t kFinishGame = 2411;
constexpr uint16_t kIAmBack = 2412;
constexpr uint16_t kAskShowMuck = 2413;
constexpr uint16_t kShowMuckResponse = 2414;
constexpr uint16_t kPlayerStatus = 2415;
constexpr uint16_t kClearTable = 2418;
constexpr uint16_t kMoveDealerButton = 2419;
constexpr uint16_t kPlayNow = 2420;
constexpr uint16_t kShowPlayNow = 2421;
constexpr uint16_t kLocalPlayerStatus = 2422;
constexpr uint16_t kForceBuyMore = 2423;

// Bits of a seat's player status byte. A seated player in the hand has only kSeated set.
constexpr uint8_t kStatusSeated = 1;
constexpr uint8_t kStatusFolded = 2;
constexpr uint8_t kStatusSittingOut = 4;
constexpr uint8_t kStatusAllIn = 8;
constexpr uint8_t kStatusLeaving = 16;
constexpr uint8_t kStatusSitOutMark = 32;
constexpr uint8_t kStatusNotInHand = 64;

// Action codes, the same numbers in both directions.
enum Action : uint8_t {
  kCheck = 1,
  kBet = 2,
  kCall = 3,
  kRaise = 4,
  kReRaise = 5,
  kCap = 6,
  kFold = 7,
  kPostSmall = 8,
  kPostBig = 9,
  kSitOut = 11,
  kPostNow = 15,
  kWaitForBigBlind = 16,
  kCompleteTo = 17,
  kPostDead = 18,
  kPostAfterButton = 19,
};

// The bit of an action mask that offers `action`.
constexpr uint32_t MaskOf(Action action) { return uint32_t{1} << (action - 1); }

// A payload with its type. `bytes` starts after the table id for server packets.
struct Packet {
  uint16_t type = 0;
  std::vector<uint8_t> bytes;
};

using SeatBytes = std::array<uint8_t, kSeats>;
using SeatAmounts = std::array<uint32_t, kSeats>;
using Board = std::array<int8_t, 5>;

// Builds a payload field by field, big-endian.
class Writer {
 public:
  explicit Writer(uint16_t type) { packet_.type = type; }
  Writer& U8(uint8_t value) {
    packet_.bytes.push_back(value);
    return *this;
  }
  Writer& I8(int8_t value) { return U8(static_cast<uint8_t>(value)); }
  Writer& U32(uint32_t value) {
    for (int shift = 24; shift >= 0; shift -= 8) packet_.bytes.push_back(static_cast<uint8_t>(value >> shift));
    return *this;
  }
  template <size_t N>
  Writer& Bytes(const std::array<uint8_t, N>& values) {
    for (uint8_t value : values) U8(value);
    return *this;
  }
  template <size_t N>
  Writer& Cards(const std::array<int8_t, N>& values) {
    for (int8_t value : values) I8(value);
    return *this;
  }
  Writer& Amounts(const SeatAmounts& values) {
    for (uint32_t value : values) U32(value);
    return *this;
  }
  // A fixed text field of `size` bytes, NUL-padded, its last byte always NUL.
  Writer& Fixed(const std::string& text, size_t size) {
    for (size_t i = 0; i < size; ++i) U8(i + 1 < size && i < text.size() ? static_cast<uint8_t>(text[i]) : 0);
    return *this;
  }
  Writer& Text(const std::string& text) {
    for (char c : text) U8(static_cast<uint8_t>(c));
    return U8(0);
  }
  Packet Done() { return std::move(packet_); }

 private:
  Packet packet_;
};

// Puts the table id in front of a server packet's payload, as the server sends it.
std::vector<uint8_t> ForTable(uint32_t table_id, const std::vector<uint8_t>& payload);

// 2400.
struct Error {
  uint32_t hand = 0;
  uint8_t code = 0;
};

// 2402, 174 bytes.
struct GameState {
  uint32_t hand = 0;
  uint32_t round = 0;
  SeatBytes status{};
  SeatBytes seat_flags{};
  int8_t dealer_status = -1;  // board cards shown: -1 before the deal, 0, 3, 4, 5
  std::array<int8_t, 2> hole_cards{kNoCard, kNoCard};  // the receiving player's own
  SeatAmounts bet{};
  SeatAmounts chips{};
  Board board{kNoCard, kNoCard, kNoCard, kNoCard, kNoCard};
  uint32_t main_pot = 0;
  uint32_t side_pot = 0;
  uint32_t second_side_pot = 0;
  uint32_t dead_pot = 0;
  uint32_t house_take = 0;
  uint8_t dealer = 0;
  uint8_t previous_player = kNoSeat;
  uint8_t previous_action = 0;
  uint32_t previous_amount = 0;
  uint32_t previous_dead_amount = 0;
  uint8_t next_player = kNoSeat;
  uint32_t next_mask = 0;
  uint8_t enough_chips = 1;
  uint32_t pre_action_mask = 0;  // the receiving player's, bits of check..fold only
  uint32_t bet_or_call = 0;
  uint32_t raise_to = 0;
  uint32_t maximum = 0;
  uint32_t timer_seconds = 0;
  uint8_t table_type = 0;  // 0 fixed limit
};

// 2403, 166 bytes.
struct Collect {
  uint32_t hand = 0;
  uint32_t round = 0;
  SeatBytes status{};
  SeatAmounts to_main{};
  SeatAmounts to_side{};
  SeatAmounts to_second_side{};
  uint32_t main_pot = 0;
  uint32_t side_pot = 0;
  uint32_t second_side_pot = 0;
  uint32_t house_from_main = 0;
  uint32_t house_from_side = 0;
  uint32_t house_from_second_side = 0;
  uint32_t house_taken = 0;
};

struct Winner {
  int8_t seat = 0;
  uint32_t chips = 0;
};

// 2404, 121 + 5n bytes (122 + 5n with the button seat).
struct Final {
  uint32_t hand = 0;
  uint32_t round = 0;
  SeatBytes status{};
  SeatBytes seat_flags{};
  uint8_t dealer_status = 0;
  Board board{kNoCard, kNoCard, kNoCard, kNoCard, kNoCard};
  SeatAmounts chips{};
  std::array<std::array<int8_t, 2>, kSeats> cards{};  // shown hands; kNoCard where none
  uint32_t main_pot = 0;
  uint32_t side_pot = 0;
  uint32_t second_side_pot = 0;
  uint32_t house_taken = 0;
  uint8_t paying_pot = 0;  // 0 main, 1 first side, 2 second side
  std::vector<Winner> winners;
  Board winner_cards{kNoCard, kNoCard, kNoCard, kNoCard, kNoCard};
  int8_t show_card_seconds = 0;
  int8_t show_muck_seconds = 0;
  bool last = true;
  uint8_t table_type = 0;
  std::optional<int8_t> button_seat;
};

// 2405, 17 bytes.
struct Refund {
  uint32_t hand = 0;
  uint8_t seat = 0;
  uint32_t refund = 0;
  int32_t balance = 0;  // negative: no refund is shown
  uint32_t current_bet = 0;
};

// 2413, 20 bytes.
struct AskShowMuck {
  uint32_t hand = 0;
  SeatBytes status{};
  bool show = true;
  bool muck = true;
  uint32_t timer_seconds = 0;
};

// 2415, 61 bytes.
struct PlayerStatus {
  SeatBytes status{};
  SeatBytes seat_flags{};
  SeatAmounts chips{};
  uint8_t table_type = 0;
};

// 2419, 3 bytes.
struct MoveDealerButton {
  uint8_t from = 0;
  uint8_t to = 0;
  bool along_path = false;
};

// 2421, 9 bytes.
struct ShowPlayNow {
  bool show = true;
  uint32_t first_amount = 0;
  uint32_t second_amount = 0;
};

Packet Encode(const Error& packet);
Packet Encode(const GameState& packet);
Packet Encode(const Collect& packet);
Packet Encode(const Final& packet);
Packet Encode(const Refund& packet);
Packet Encode(const AskShowMuck& packet);
Packet Encode(const PlayerStatus& packet);
Packet Encode(const MoveDealerButton& packet);
Packet Encode(const ShowPlayNow& packet);
Packet EncodeOptionIndicate(uint32_t hand);
Packet EncodeDisplayIAmBack(uint32_t hand);
Packet EncodeClearTable(const SeatAmounts& chips);
Packet EncodeLocalPlayerStatus(uint8_t status);
Packet EncodeForceBuyMore(uint32_t amount);

// What the client sends, all with the table id in front. The hand and round are those of the last
// game state or final packet the client saw.
struct ClientPacket {
  uint16_t type = 0;
  uint32_t table_id = 0;
  uint32_t hand = 0;
  uint32_t round = 0;
  uint8_t code = 0;     // 2401 action code; 2406 1 sit out / 0 not; 2414 1 show / 2 muck; 2420 choice
  uint32_t amount = 0;  // 2401 only
};

// The whole payload the client sends for `packet` (2401, 2406, 2411, 2412, 2414, 2420; 2420 has
// only the table id and the choice).
std::vector<uint8_t> EncodeClient(const ClientPacket& packet);
// Reads a client packet; none when the type is not one the client sends or the length or the
// trailing zero byte is wrong.
std::optional<ClientPacket> DecodeClient(uint16_t type, const std::vector<uint8_t>& payload);

// Table-level packets (2100 block) around a game.
namespace table {

constexpr uint16_t kJoinRequest = 2100;
constexpr uint16_t kJoinResult = 2101;
constexpr uint16_t kDealerMessage = 2102;
constexpr uint16_t kDealerSummary = 2103;
constexpr uint16_t kPlayerMessage = 2104;
constexpr uint16_t kSitRequest = 2105;
constexpr uint16_t kSitResult = 2106;
constexpr uint16_t kChatMessage = 2107;
constexpr uint16_t kAddPlayer = 2108;
constexpr uint16_t kRemovePlayer = 2109;
constexpr uint16_t kLeaveRequest = 2110;
constexpr uint16_t kLeaveResponse = 2111;
constexpr uint16_t kBalanceRequest = 2112;
constexpr uint16_t kBalanceResponse = 2113;
constexpr uint16_t kBringMoreRequest = 2120;
constexpr uint16_t kUpdatePlayerBalance = 2122;

// Table flags of the join result.
constexpr uint32_t kFlagWholeUnits = 8;

struct SeatRecord {
  uint8_t seat = 0;
  std::string name;
  uint32_t cents = 0;
  std::string text;
  uint32_t flags = 1;  // 1 occupied
};

struct JoinResult {
  uint8_t result = 0;
  uint32_t flags = 0;
  std::string name;
  std::string stakes;
  uint32_t hand = 0;
  uint32_t minimum_sit = 0;
  uint32_t maximum_sit = 0;
  uint8_t seat_count = 10;
  std::vector<SeatRecord> players;
};

Packet Encode(const JoinResult& packet);
Packet EncodeAddPlayer(const SeatRecord& record);
Packet EncodeSitResult(uint8_t result);
Packet EncodeRemovePlayer(uint8_t seat);
Packet EncodeText(uint16_t type, const std::string& text);  // 2102, 2103, 2104
Packet EncodePlayerBalance(uint8_t seat, uint32_t cents);

// 2105: table id, seat, cents.
struct SitRequest {
  uint32_t table_id = 0;
  uint8_t seat = 0;
  uint32_t cents = 0;
};
std::optional<SitRequest> DecodeSitRequest(const std::vector<uint8_t>& payload);

}  // namespace table

}  // namespace holdem_wire
