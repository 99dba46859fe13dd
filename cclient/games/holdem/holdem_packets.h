// The Hold'em game packets (types 2400-2423): the records the server's packets are parsed into,
// the parser with its single check of every seat, pot and count byte, the module-log dump and the
// builders of the packets the client sends. Parsing needs no table and draws nothing.
//
// Layouts start after the table id (the table list takes it off). Integers are big-endian; money
// is u32 cents (whole chips at a whole-units table); seats 0-9; a card is an i8: 0-51 a face, -1
// a card shown face down, below -1 no card.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "cclient/games/kit/packet_ring.h"

class GameLog;

enum HoldemPacketType : uint32_t {
  HOLDEM_PACKET_ERROR = 2400,
  HOLDEM_PACKET_ACTION = 2401,
  HOLDEM_PACKET_GAME_STATE = 2402,
  HOLDEM_COLLECT_PACKET = 2403,
  HOLDEM_PACKET_FINAL = 2404,
  HOLDEM_PACKET_REFUND = 2405,
  HOLDEM_PACKET_SIT_OUT_NEXT_HAND = 2406,
  HOLDEM_OPTION_INDICATE = 2407,
  HOLDEM_PACKET_DISPLAY_I_AM_BACK = 2409,
  HOLDEM_PACKET_FINISH_GAME = 2411,
  HOLDEM_PACKET_I_AM_BACK = 2412,
  HOLDEM_PACKET_ASK_SHOW_MUCK = 2413,
  HOLDEM_PACKET_SHOW_MUCK_RESPONSE = 2414,
  HOLDEM_PACKET_PLAYER_STATUS = 2415,
  HOLDEM_PACKET_CLEAR_TABLE = 2418,
  HOLDEM_PACKET_MOVE_D_BUTTON = 2419,
  HOLDEM_PACKET_PLAY_NOW = 2420,
  HOLDEM_PACKET_SHOW_PLAY_NOW = 2421,
  HOLDEM_PACKET_LOCAL_PLAYER_STATUS_NOTIFICATION = 2422,
  HOLDEM_PACKET_FORCE_TO_SHOW_BUY_MORE_WINDOW = 2423,
};
constexpr uint32_t HOLDEM_PACKET_CLEAR_TABLE_LENGTH = 44;

constexpr int32_t kHoldemSeats = 10;
constexpr int32_t kHoldemBoardCards = 5;
constexpr int32_t kHoldemHoleCards = 2;
// The card slots of a seat in the records (Omaha's records use all four).
constexpr int32_t kHoldemCardSlots = 4;
constexpr int32_t kHoldemMaxWinners = 10;  // Hold'em lists at most 9, Omaha 10

// Seat status codes (from the status byte).
enum HoldemSeatStatus : uint32_t {
  SEAT_EMPTY = 0,
  SEAT_LEAVING = 20,
  SEAT_SITTING_OUT = 30,
  SEAT_OUT_OF_HAND = 40,
  SEAT_FOLDED = 50,
  SEAT_ALL_IN = 60,
  SEAT_IN_HAND = 70,
};

// Action codes (both directions).
enum HoldemAction : uint8_t {
  ACTION_NONE = 0,
  ACTION_CHECK = 1,
  ACTION_BET = 2,
  ACTION_CALL = 3,
  ACTION_RAISE = 4,
  ACTION_RERAISE = 5,
  ACTION_CAP = 6,
  ACTION_FOLD = 7,
  ACTION_POST_SMALL = 8,
  ACTION_POST_BIG = 9,
  ACTION_SIT_OUT = 11,
  ACTION_POST_NOW = 15,
  ACTION_WAIT_FOR_BIG_BLIND = 16,
  ACTION_COMPLETE_TO = 17,
  ACTION_POST_DEAD = 18,
  ACTION_POST_AFTER_DEALER = 19,
};
constexpr int32_t kHoldemActionCodes = 20;  // flags are indexed by code, 0-19

// The seat status code of a status byte, and its sit-out mark (3 when bit 5 is set, else 0).
uint32_t Holdem_StatusCode(uint8_t status_byte);
uint8_t Holdem_SitOutMark(uint8_t status_byte);
// One flag per action code (index = code) from a mask: bit (code - 1) offers the code. Decoded by
// bit tests; codes 10 and 12-14 are never offered.
void Holdem_DecodeMask(uint32_t mask, uint8_t flags[kHoldemActionCodes]);
// The dump label of an action code ("Check" ... ; "None" for others).
const char* Holdem_ActionLabel(int32_t code);

struct HoldemErrorRecord : GameRecord {
  uint32_t hand = 0;
  uint8_t code = 0;
};

struct HoldemGameStateRecord : GameRecord {
  uint32_t hand = 0;
  uint32_t round = 0;
  uint8_t status[kHoldemSeats] = {};
  uint8_t sit_out[kHoldemSeats] = {};
  uint8_t seat_flags[kHoldemSeats] = {};
  int32_t dealer_status = -1;
  int8_t cards[kHoldemSeats][kHoldemCardSlots] = {};
  uint32_t bets[kHoldemSeats][4] = {};
  uint32_t chips[kHoldemSeats] = {};
  int8_t board[kHoldemBoardCards] = {};
  uint32_t main_pot = 0, side_pot = 0, second_side_pot = 0, dead_pot = 0, house_take = 0;
  uint8_t dealer = 0;
  uint8_t previous_player = 255;
  uint8_t previous_action = 0;
  uint8_t previous_flags[kHoldemActionCodes] = {};
  uint32_t previous_amount = 0;
  uint32_t previous_dead = 0;
  uint8_t next_player = 255;
  uint32_t next_mask = 0;
  uint8_t next_flags[kHoldemActionCodes] = {};
  uint8_t enough_chips = 0;
  uint32_t pre_action_mask = 0;
  uint8_t pre_action_flags[kHoldemActionCodes] = {};
  uint32_t bet_amount = 0, raise_amount = 0, max_amount = 0;
  uint32_t timer = 0;
  uint8_t table_type = 0;
};

struct HoldemCollectRecord : GameRecord {
  uint32_t hand = 0;
  uint32_t round = 0;
  uint8_t status[kHoldemSeats] = {};
  // Per seat: towards the main, first side and second side pot.
  uint32_t towards[kHoldemSeats][3] = {};
  uint32_t pots[3] = {};
  uint32_t to_house[3] = {};
  uint32_t house_take = 0;
};

struct HoldemFinalRecord : GameRecord {
  uint32_t hand = 0;
  uint32_t round = 0;
  uint8_t status[kHoldemSeats] = {};
  uint8_t sit_out[kHoldemSeats] = {};
  uint8_t seat_flags[kHoldemSeats] = {};
  int32_t dealer_status = 0;
  int8_t board[kHoldemBoardCards] = {};
  uint32_t chips[kHoldemSeats] = {};
  int8_t cards[kHoldemSeats][kHoldemCardSlots] = {};
  uint32_t pots[3] = {};
  uint32_t house_take = 0;
  uint8_t paying_pot = 0;
  int32_t winner_count = 0;  // the wire's count; a negative count lists no winners
  int8_t winners[kHoldemMaxWinners] = {};
  uint32_t winning_chips[kHoldemMaxWinners] = {};
  uint32_t rake_returns[kHoldemMaxWinners] = {};
  int8_t winner_cards[kHoldemBoardCards] = {};
  int8_t show_card_seconds = 0;
  int8_t show_muck_seconds = 0;
  uint8_t last_packet = 0;
  uint8_t table_type = 0;
  int8_t button_seat = -1;
  // The winners listed (the count, or 0 when negative).
  int32_t Winners() const { return winner_count > 0 ? winner_count : 0; }
};

struct HoldemRefundRecord : GameRecord {
  uint32_t hand = 0;
  uint8_t seat = 0;
  uint32_t refund = 0;
  int32_t balance = 0;
  uint32_t bets[4] = {};
};

struct HoldemHandRecord : GameRecord {  // 2407 and 2409
  uint32_t hand = 0;
};

struct HoldemAskShowMuckRecord : GameRecord {
  uint32_t hand = 0;
  uint8_t status[kHoldemSeats] = {};
  uint8_t show = 0;
  uint8_t muck = 0;
  uint32_t timer = 0;
};

struct HoldemPlayerStatusRecord : GameRecord {
  uint8_t status[kHoldemSeats] = {};
  uint8_t sit_out[kHoldemSeats] = {};
  uint8_t seat_flags[kHoldemSeats] = {};
  uint32_t chips[kHoldemSeats] = {};
  uint8_t table_type = 0;
};

struct HoldemClearTableRecord : GameRecord {
  uint32_t unused = 0;
  uint32_t chips[kHoldemSeats] = {};
};

struct HoldemMoveButtonRecord : GameRecord {
  uint8_t from = 0;
  uint8_t to = 0;
  uint8_t along_path = 0;
};

struct HoldemShowPlayNowRecord : GameRecord {
  uint8_t show = 0;
  uint32_t first = 0;
  uint32_t second = 0;
};

struct HoldemLocalStatusRecord : GameRecord {
  uint8_t status = 0;
};

struct HoldemBuyMoreRecord : GameRecord {
  uint32_t amount = 0;
};

// Parses one packet: the record, or none after logging why (unknown type, wrong size, a field
// out of range). `local_seat` (-1 none) receives the hole cards of a game state.
std::unique_ptr<GameRecord> Holdem_ParsePacket(uint32_t type, const uint8_t* payload, uint32_t length,
                                               int32_t local_seat, GameLog* log);
// The one check of a parsed record's seat, pot and count bytes. A seat byte outside 0-9 names no
// seat: the field is skipped (it becomes "none": 255, or -1 for the signed winner and button
// seats) with a log line, and the packet is kept. A count or pot that would read past the
// record's arrays refuses the packet: false, with a log line.
bool Holdem_CheckRecord(uint32_t type, GameRecord& record, GameLog* log);
// The skip of one seat byte: a value outside 0-9 that is not already "none" becomes "none".
void Holdem_SkipBadSeat(uint32_t type, uint8_t* seat, const char* what, GameLog* log);
void Holdem_SkipBadSeat(uint32_t type, int8_t* seat, const char* what, GameLog* log);
// Writes the record's fields to the log (2402, 2403, 2404, 2405, 2413, 2415; others nothing).
void Holdem_DumpPacket(uint32_t type, const GameRecord& record, int32_t local_seat, GameLog* log);

// The client's packets (payload after nothing: the table id is their first field).
std::vector<uint8_t> Holdem_ActionPacket(uint32_t table_id, uint32_t hand, uint32_t round, uint8_t code,
                                         uint32_t amount);
std::vector<uint8_t> Holdem_FlagPacket(uint32_t table_id, uint32_t hand, uint32_t round, uint8_t flag);
std::vector<uint8_t> Holdem_HandPacket(uint32_t table_id, uint32_t hand, uint32_t round);
std::vector<uint8_t> Holdem_PlayNowPacket(uint32_t table_id, uint8_t choice);
// The action code of a button or option id (0 for an unknown id) and its log line.
uint8_t Holdem_ActionOfButton(int32_t button_id, const char** log_line);
