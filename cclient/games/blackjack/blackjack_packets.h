// The Black Jack game packets (types 2800-2808): the records the server's packets are parsed
// into, the parser with its size checks and log lines, the module-log dump, and the builders of
// the packets the client sends. Parsing needs no table and draws nothing.
//
// Layouts start after the table id. Integers are big-endian; money is u32 cents. A card is a
// byte 0-51 (rank card % 13 with 0 the ace, suit card / 13) or 255 for a face-down card; the
// records keep cards as int32_t with -1 for face down. A hand holds at most 15 cards: a packet
// whose card counts say more is refused.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "cclient/games/kit/packet_ring.h"

class GameLog;

enum BlackJackPacketType : uint32_t {
  BLACKJACK_PACKET_PLAYER_STATUS = 2800,
  BLACKJACK_PACKET_ACTION = 2801,
  BLACKJACK_PACKET_DEAL = 2802,
  BLACKJACK_PACKET_RESPONSE = 2803,
  BLACKJACK_PACKET_SERVER_FATAL_ERROR = 2804,
  BLACKJACK_PACKET_SCORE = 2806,
  BLACKJACK_PACKET_FINISH_HAND = 2807,
  BLACKJACK_PACKET_DEAL_REJECT = 2808,
};

constexpr int32_t kBlackJackSeats = 5;
constexpr int32_t kBlackJackHands = 2;
constexpr int32_t kBlackJackHandCards = 15;

// The server packets of one fixed size. 2801 and 2806 are checked by their card counts instead:
// 127 + N + S and 175 + N + S bytes.
struct BlackJackPacketSize {
  uint32_t type;
  int32_t length;
  const char* wrong_size;  // the log line of any other length
};
constexpr BlackJackPacketSize kBlackJackFixedSizes[] = {
    {BLACKJACK_PACKET_PLAYER_STATUS, 41, "BlackJack Player Status Packet has Wrong size"},
    {BLACKJACK_PACKET_SERVER_FATAL_ERROR, 5, "BlackJack Player Server Fatal Error Packet has Wrong size"},
};

// A hand's cards: count (0 to 15) and the values.
struct BlackJackCards {
  int32_t count = 0;
  int32_t cards[kBlackJackHandCards] = {};
};

struct BlackJackPlayerStatusRecord : GameRecord {
  uint32_t hand_number = 0;
  uint8_t game_type = 0;
  uint8_t seat_status[kBlackJackSeats] = {};
  uint8_t total_hands = 0;
  uint32_t balance[kBlackJackSeats] = {};
  uint8_t dealer_button = 0;
  bool new_game = false;
  uint32_t min_bet = 0;  // the smaller of the packet's two limits
  uint32_t max_bet = 0;
};

struct BlackJackActionRecord : GameRecord {
  uint32_t hand_number = 0;
  uint8_t seat_status[kBlackJackSeats] = {};
  uint8_t dealer_button = 0;
  uint8_t dealer_new_cards = 0;
  BlackJackCards dealer;
  uint8_t turn_seat = 0;
  uint8_t turn_hand = 0;
  uint8_t previous_seat = 0;
  uint8_t previous_hand = 0;
  uint8_t previous_action = 0;
  // The previous action (at most one set).
  bool stand = false, hit = false, insurance = false, double_down = false, split = false, deal = false,
       even_money = false;
  // What the local player may do.
  uint32_t allowed_mask = 0;
  bool allow_stand = false, allow_hit = false, allow_insurance = false, allow_double = false, allow_split = false,
       allow_pass = false, allow_even_money = false;
  uint8_t new_cards[kBlackJackSeats][kBlackJackHands] = {};
  BlackJackCards hands[kBlackJackSeats][kBlackJackHands];
  uint32_t bet[kBlackJackSeats][kBlackJackHands] = {};
  uint32_t insurance_bet[kBlackJackSeats] = {};
  uint32_t balance[kBlackJackSeats] = {};
  uint32_t decision_seconds = 0;
  bool check_blackjack = false;
  bool dealer_blackjack = false;
};

struct BlackJackFatalErrorRecord : GameRecord {
  uint32_t hand_number = 0;
  uint8_t error_code = 0;
};

struct BlackJackScoreRecord : GameRecord {
  uint32_t hand_number = 0;
  uint8_t seat_status[kBlackJackSeats] = {};
  uint8_t dealer_button = 0;
  BlackJackCards dealer;
  BlackJackCards hands[kBlackJackSeats][kBlackJackHands];
  uint32_t bet[kBlackJackSeats][kBlackJackHands] = {};
  uint32_t insurance_bet[kBlackJackSeats] = {};
  uint8_t result[kBlackJackSeats][kBlackJackHands] = {};  // 0 none, 1 dealer wins, 2 player wins, 3 push
  uint32_t pay[kBlackJackSeats][kBlackJackHands] = {};
  uint32_t insurance_pay[kBlackJackSeats] = {};
  uint32_t final_balance[kBlackJackSeats] = {};
  uint32_t timer = 0;
};

// The record of a server packet, or none: a wrong size or a count past 15 (logged), a 2806 whose
// dealer button is not a seat (not logged), or a type that has no record (logged "Unknown packet";
// 2808 among them, which the table queues without a record). `log` may be null.
std::unique_ptr<GameRecord> BlackJack_ParsePacket(uint32_t type, const uint8_t* payload, int32_t length,
                                                  GameLog* log);

// Writes the record's fields to the module log, one per line (2800, 2801 and 2806; nothing for
// others).
void BlackJack_DumpPacket(uint32_t type, const GameRecord* record, GameLog* log);

// The payloads the client sends (the table id first): 2802 13 bytes, 2803 10, 2807 9.
std::vector<uint8_t> BlackJack_DealPayload(uint32_t table_id, uint32_t hand_number, uint32_t cents);
std::vector<uint8_t> BlackJack_ResponsePayload(uint32_t table_id, uint32_t hand_number, uint8_t code);
std::vector<uint8_t> BlackJack_FinishHandPayload(uint32_t table_id, uint32_t hand_number);
