// The Omaha game packets (types 2500-2518). They follow the Hold'em packets with these
// differences: every packet that carries the hand number (the error packet aside) carries the
// round number behind it, a seat has four hole cards and its sit-out flag comes in an array of
// its own, a winner's cards are nine, and the set has no dealer-button, play-now, local-status or
// bring-more-money packets.
//
// Each Omaha record derives from the Hold'em record of the same packet, so the Hold'em packet
// loop handles it as its own: the Hold'em fields are filled (the first two hole cards in the
// Hold'em card pair, the status byte stripped of the bits Omaha does not use) and the Omaha
// fields ride along.
//
// The table kind chooses between two layouts of the game state and the final packet: 1 (round
// number 0) with four bet parts per seat and 14-byte winners, 2 (any other round) with one bet
// per seat and 18-byte winners (the rake taken from each).
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "cclient/games/holdem/holdem_packets.h"

class GameLog;

enum OmahaPacketType : uint32_t {
  OMAHA_PACKET_ERROR = 2500,
  OMAHA_PACKET_ACTION = 2501,
  OMAHA_PACKET_GAME_STATE = 2502,
  OMAHA_PACKET_COLLECTION = 2503,
  OMAHA_PACKET_FINAL = 2504,
  OMAHA_PACKET_REFUND = 2505,
  OMAHA_PACKET_SIT_OUT_NEXT_HAND = 2506,
  OMAHA_PACKET_OPTION_INDICATE = 2507,
  OMAHA_PACKET_DISPLAY_I_AM_BACK = 2509,
  OMAHA_PACKET_FINISH_GAME = 2511,
  OMAHA_PACKET_I_AM_BACK = 2512,
  OMAHA_PACKET_ASK_SHOW_MUCK = 2513,
  OMAHA_PACKET_SHOW_MUCK_RESPONSE = 2514,
  OMAHA_PACKET_PLAYER_STATUS = 2515,
  OMAHA_PACKET_CLEAR_TABLE = 2518,
};

constexpr int32_t kOmahaHoleCards = 4;
constexpr int32_t kOmahaWinnerCards = 9;
constexpr int32_t kOmahaMaxWinners = 10;
// The Hold'em type an Omaha type is handled as (2500 + n becomes 2400 + n).
constexpr uint32_t Omaha_HoldemType(uint32_t type) { return type - 100; }

// Omaha's seat status code of a status byte: 0 no player, 20 leaving, 40 folded, 30 sitting out,
// 50 all in, 60 in the hand.
uint32_t Omaha_StatusCode(uint8_t status_byte);
// The status byte as the Hold'em rules read it to the same meaning (bits 5 and 6 cleared).
uint8_t Omaha_HoldemStatusByte(uint8_t status_byte);

// The four hole cards of a seat are in `cards` (all four card slots).
struct OmahaGameStateRecord : HoldemGameStateRecord {
  int32_t kind = 0;
  // Set once the local seat's sit-out flag was acted on: once per packet, however many passes of
  // the loop it takes.
  mutable bool sit_out_checked = false;
};

struct OmahaFinalRecord : HoldemFinalRecord {
  uint8_t show_result = 0;
  uint32_t timer = 0;
  int8_t winner_hands[kOmahaMaxWinners][kOmahaWinnerCards] = {};
  int32_t kind = 0;
  mutable bool sit_out_checked = false;  // as the game state's
};

struct OmahaRefundRecord : HoldemRefundRecord {
  uint32_t round = 0;
};

struct OmahaHandRecord : HoldemHandRecord {  // 2507 and 2509
  uint32_t round = 0;
};

struct OmahaAskShowMuckRecord : HoldemAskShowMuckRecord {
  uint32_t round = 0;
};

struct OmahaPlayerStatusRecord : HoldemPlayerStatusRecord {
  uint8_t dealer = 0;
};

// Parses one packet: the record, or none after logging why. `table_kind` is the kept kind (0
// before the first packet with a round number), set by every packet that carries a round
// number as soon as it is read. `local_seat` (-1 none) receives the hole cards of a game state.
std::unique_ptr<GameRecord> Omaha_ParsePacket(uint32_t type, const uint8_t* payload, uint32_t length,
                                              int32_t local_seat, int32_t* table_kind, GameLog* log);
// Writes the record's fields to the log (2502, 2503, 2504, 2505, 2513, 2515; others nothing).
void Omaha_DumpPacket(uint32_t type, const GameRecord& record, GameLog* log);
// The action code of a choice number (0 for a choice without one) and its log line.
uint8_t Omaha_ActionOfChoice(int32_t choice, const char** log_line);
