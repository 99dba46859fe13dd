#include "cclient/games/blackjack/blackjack_packets.h"

#include <cstdio>

#include "cclient/base/packet_reader.h"
#include "cclient/games/kit/game_log.h"

namespace {

void Log(GameLog* log, const char* label, int64_t number) {
  if (log != nullptr) log->LabelNumber(label, number);
}

// A flag byte counts as set when, read as a signed byte, it is above 0.
bool Flag(uint8_t byte) { return static_cast<int8_t>(byte) > 0; }

int32_t Card(uint8_t byte) { return byte == 255 ? -1 : byte; }

// A cursor over the payload whose reads fail once anything is short; the parser tests ok() at the
// points that decide.
class Reader {
 public:
  Reader(const uint8_t* payload, int32_t length) : read_(payload), left_(length) {}
  uint8_t U8() {
    uint8_t value = 0;
    ok_ = ok_ && PacketReadU8(&value, &read_, &left_) == 0;
    return value;
  }
  uint32_t U32() {
    uint32_t value = 0;
    ok_ = ok_ && PacketReadU32(&value, &read_, &left_) == 0;
    return value;
  }
  template <size_t N>
  void U8s(uint8_t (&out)[N]) {
    for (uint8_t& value : out) value = U8();
  }
  template <size_t N>
  void U32s(uint32_t (&out)[N]) {
    for (uint32_t& value : out) value = U32();
  }
  void Cards(BlackJackCards* hand) {
    for (int32_t i = 0; i < hand->count; ++i) hand->cards[i] = Card(U8());
  }
  int32_t Left() const { return left_; }
  bool ok() const { return ok_; }

 private:
  const uint8_t* read_;
  int32_t left_;
  bool ok_ = true;
};

// Reads the ten card counts; false (logged) when one is above 15. S, their sum, goes to *sum.
bool ReadCounts(Reader& r, BlackJackCards (&hands)[kBlackJackSeats][kBlackJackHands], int32_t* sum,
                const char* too_many, GameLog* log) {
  bool fits = true;
  *sum = 0;
  for (auto& seat : hands) {
    for (BlackJackCards& hand : seat) {
      hand.count = r.U8();
      *sum += hand.count;
      if (hand.count > kBlackJackHandCards) {
        Log(log, too_many, hand.count);
        fits = false;
      }
    }
  }
  return fits;
}

void ReadHands(Reader& r, BlackJackCards (&hands)[kBlackJackSeats][kBlackJackHands]) {
  for (auto& seat : hands) {
    for (BlackJackCards& hand : seat) r.Cards(&hand);
  }
}

template <typename T>
void ReadPerHand(Reader& r, T (&values)[kBlackJackSeats][kBlackJackHands]) {
  for (auto& seat : values) {
    for (T& value : seat) value = static_cast<T>(sizeof(T) == 1 ? r.U8() : r.U32());
  }
}

// False (logged) when a packet of fixed size has another length.
bool FixedSizeFits(uint32_t type, int32_t length, GameLog* log) {
  for (const BlackJackPacketSize& size : kBlackJackFixedSizes) {
    if (size.type != type) continue;
    if (length == size.length) return true;
    Log(log, size.wrong_size, length);
    return false;
  }
  return true;
}

std::unique_ptr<GameRecord> ParsePlayerStatus(const uint8_t* payload, int32_t length, GameLog* log) {
  if (!FixedSizeFits(BLACKJACK_PACKET_PLAYER_STATUS, length, log)) return nullptr;
  auto record = std::make_unique<BlackJackPlayerStatusRecord>();
  Reader r(payload, length);
  record->hand_number = r.U32();
  record->game_type = r.U8();
  r.U8s(record->seat_status);
  record->total_hands = r.U8();
  r.U32s(record->balance);
  record->dealer_button = r.U8();
  record->new_game = Flag(r.U8());
  const uint32_t first = r.U32();
  const uint32_t second = r.U32();
  record->min_bet = first > second ? second : first;
  record->max_bet = first > second ? first : second;
  if (!r.ok()) return nullptr;
  return record;
}

std::unique_ptr<GameRecord> ParseFatalError(const uint8_t* payload, int32_t length, GameLog* log) {
  if (!FixedSizeFits(BLACKJACK_PACKET_SERVER_FATAL_ERROR, length, log)) return nullptr;
  auto record = std::make_unique<BlackJackFatalErrorRecord>();
  Reader r(payload, length);
  record->hand_number = r.U32();
  record->error_code = r.U8();
  if (!r.ok()) return nullptr;
  return record;
}

void SetActionFlags(BlackJackActionRecord* record) {
  switch (record->previous_action) {
    case 1: record->stand = true; break;
    case 2: record->hit = true; break;
    case 3: record->insurance = true; break;
    case 4: record->double_down = true; break;
    case 5: record->split = true; break;
    case 7: record->deal = true; break;
    case 9: record->even_money = true; break;
    default: break;
  }
  const uint32_t mask = record->allowed_mask;
  record->allow_stand = (mask & 1) != 0;
  record->allow_hit = (mask & 2) != 0;
  record->allow_insurance = (mask & 4) != 0;
  record->allow_double = (mask & 8) != 0;
  record->allow_split = (mask & 16) != 0;
  record->allow_pass = (mask & 128) != 0;
  record->allow_even_money = (mask & 256) != 0;
}

std::unique_ptr<GameRecord> ParseAction(const uint8_t* payload, int32_t length, GameLog* log) {
  auto record = std::make_unique<BlackJackActionRecord>();
  Reader r(payload, length);
  record->hand_number = r.U32();
  r.U8s(record->seat_status);
  record->dealer_button = r.U8();
  record->dealer_new_cards = r.U8();
  record->dealer.count = r.U8();
  if (!r.ok()) return nullptr;
  const int32_t n = record->dealer.count;
  if (r.Left() < n + 29) {
    Log(log, "BlackJack Action Packet size must be more than", n + 41);
    return nullptr;
  }
  if (n > kBlackJackHandCards) {
    Log(log, "BlackJack Action Packet has too many dealer cards", n);
    return nullptr;
  }
  r.Cards(&record->dealer);
  record->turn_seat = r.U8();
  record->turn_hand = r.U8();
  record->previous_seat = r.U8();
  record->previous_hand = r.U8();
  record->previous_action = r.U8();
  record->allowed_mask = r.U32();
  ReadPerHand(r, record->new_cards);
  int32_t s = 0;
  if (!ReadCounts(r, record->hands, &s, "BlackJack Action Packet has too many cards in a hand", log)) return nullptr;
  if (!r.ok() || r.Left() != s + 86) {
    Log(log, "BlackJack Action Packet has Wrong size", length);
    Log(log, "BlackJack Action Packet expected size", 127 + n + s);
    return nullptr;
  }
  ReadHands(r, record->hands);
  ReadPerHand(r, record->bet);
  r.U32s(record->insurance_bet);
  r.U32s(record->balance);
  record->decision_seconds = r.U32();
  record->check_blackjack = Flag(r.U8());
  record->dealer_blackjack = Flag(r.U8());
  if (!r.ok()) return nullptr;
  SetActionFlags(record.get());
  return record;
}

std::unique_ptr<GameRecord> ParseScore(const uint8_t* payload, int32_t length, GameLog* log) {
  auto record = std::make_unique<BlackJackScoreRecord>();
  Reader r(payload, length);
  record->hand_number = r.U32();
  r.U8s(record->seat_status);
  record->dealer_button = r.U8();
  const uint8_t n_byte = r.U8();
  // A dealer button that is no seat, or a negative count, refuses the packet without a word.
  if (!r.ok() || record->dealer_button > 4 || static_cast<int8_t>(n_byte) < 0) return nullptr;
  const int32_t n = n_byte;
  if (r.Left() < n + 15) return nullptr;
  if (n > kBlackJackHandCards) {
    Log(log, "BlackJack Score Packet has too many dealer cards", n);
    return nullptr;
  }
  record->dealer.count = n;
  r.Cards(&record->dealer);
  int32_t s = 0;
  if (!ReadCounts(r, record->hands, &s, "BlackJack Score Packet has too many cards in a hand", log)) return nullptr;
  if (!r.ok() || r.Left() != s + 154) {
    Log(log, "BlackJack Score Packet has Wrong size", length);
    Log(log, "BlackJack Score Packet expected size", 175 + n + s);
    return nullptr;
  }
  ReadHands(r, record->hands);
  ReadPerHand(r, record->bet);
  r.U32s(record->insurance_bet);
  ReadPerHand(r, record->result);
  ReadPerHand(r, record->pay);
  r.U32s(record->insurance_pay);
  r.U32s(record->final_balance);
  record->timer = r.U32();
  if (!r.ok()) return nullptr;
  return record;
}

}  // namespace

std::unique_ptr<GameRecord> BlackJack_ParsePacket(uint32_t type, const uint8_t* payload, int32_t length,
                                                  GameLog* log) {
  if (length < 0 || (payload == nullptr && length > 0)) return nullptr;
  switch (type) {
    case BLACKJACK_PACKET_PLAYER_STATUS: return ParsePlayerStatus(payload, length, log);
    case BLACKJACK_PACKET_ACTION: return ParseAction(payload, length, log);
    case BLACKJACK_PACKET_SERVER_FATAL_ERROR: return ParseFatalError(payload, length, log);
    case BLACKJACK_PACKET_SCORE: return ParseScore(payload, length, log);
    default:
      Log(log, "Unknown packet", type);
      return nullptr;
  }
}

namespace {

void DumpHands(const BlackJackCards (&hands)[kBlackJackSeats][kBlackJackHands], GameLog* log) {
  char label[48];
  for (int32_t seat = 0; seat < kBlackJackSeats; ++seat) {
    for (int32_t hand = 0; hand < kBlackJackHands; ++hand) {
      const BlackJackCards& cards = hands[seat][hand];
      std::snprintf(label, sizeof label, "seat %d hand %d cards", static_cast<int>(seat), static_cast<int>(hand));
      log->LabelNumber(label, cards.count);
      for (int32_t i = 0; i < cards.count; ++i) log->LabelNumber("\tcard", cards.cards[i]);
    }
  }
}

template <typename T>
void DumpSeats(const char* name, const T (&values)[kBlackJackSeats], GameLog* log) {
  char label[48];
  for (int32_t seat = 0; seat < kBlackJackSeats; ++seat) {
    std::snprintf(label, sizeof label, "%s[%d]", name, static_cast<int>(seat));
    log->LabelNumber(label, values[seat]);
  }
}

template <typename T>
void DumpPerHand(const char* name, const T (&values)[kBlackJackSeats][kBlackJackHands], GameLog* log) {
  char label[48];
  for (int32_t seat = 0; seat < kBlackJackSeats; ++seat) {
    for (int32_t hand = 0; hand < kBlackJackHands; ++hand) {
      std::snprintf(label, sizeof label, "%s[%d][%d]", name, static_cast<int>(seat), static_cast<int>(hand));
      log->LabelNumber(label, values[seat][hand]);
    }
  }
}

void DumpDealer(const BlackJackCards& dealer, GameLog* log) {
  log->LabelNumber("dealer cards", dealer.count);
  for (int32_t i = 0; i < dealer.count; ++i) log->LabelNumber("\tcard", dealer.cards[i]);
}

}  // namespace

void BlackJack_DumpPacket(uint32_t type, const GameRecord* record, GameLog* log) {
  if (record == nullptr || log == nullptr) return;
  switch (type) {
    case BLACKJACK_PACKET_PLAYER_STATUS: {
      const auto& p = *static_cast<const BlackJackPlayerStatusRecord*>(record);
      log->Line("BlackJack Player Status Packet");
      log->LabelNumber("handNumber", p.hand_number);
      log->LabelNumber("gameType", p.game_type);
      DumpSeats("seatStatus", p.seat_status, log);
      log->LabelNumber("totalHands", p.total_hands);
      DumpSeats("balance", p.balance, log);
      log->LabelNumber("dealerButton", p.dealer_button);
      log->LabelNumber("newGame", p.new_game ? 1 : 0);
      log->LabelNumber("minBet", p.min_bet);
      log->LabelNumber("maxBet", p.max_bet);
      break;
    }
    case BLACKJACK_PACKET_ACTION: {
      const auto& p = *static_cast<const BlackJackActionRecord*>(record);
      log->Line("BlackJack Action Packet");
      log->LabelNumber("handNumber", p.hand_number);
      DumpSeats("seatStatus", p.seat_status, log);
      log->LabelNumber("dealerButton", p.dealer_button);
      log->LabelNumber("dealerNewCards", p.dealer_new_cards);
      DumpDealer(p.dealer, log);
      log->LabelNumber("inTurnSeat", p.turn_seat);
      log->LabelNumber("inTurnHand", p.turn_hand);
      log->LabelNumber("previousSeat", p.previous_seat);
      log->LabelNumber("previousHand", p.previous_hand);
      log->LabelNumber("previousAction", p.previous_action);
      log->LabelNumber("allowedMask", p.allowed_mask);
      DumpPerHand("newCards", p.new_cards, log);
      DumpHands(p.hands, log);
      DumpPerHand("bet", p.bet, log);
      DumpSeats("insurance", p.insurance_bet, log);
      DumpSeats("balance", p.balance, log);
      log->LabelNumber("decisionTime", p.decision_seconds);
      log->LabelNumber("checkBlackJack", p.check_blackjack ? 1 : 0);
      log->LabelNumber("dealerHasBlackJack", p.dealer_blackjack ? 1 : 0);
      break;
    }
    case BLACKJACK_PACKET_SCORE: {
      const auto& p = *static_cast<const BlackJackScoreRecord*>(record);
      log->Line("BlackJack Score Packet");
      log->LabelNumber("handNumber", p.hand_number);
      DumpSeats("seatStatus", p.seat_status, log);
      log->LabelNumber("dealerButton", p.dealer_button);
      DumpDealer(p.dealer, log);
      DumpHands(p.hands, log);
      DumpPerHand("bet", p.bet, log);
      DumpSeats("insurance", p.insurance_bet, log);
      DumpPerHand("result", p.result, log);
      DumpPerHand("pay", p.pay, log);
      DumpSeats("insurancePay", p.insurance_pay, log);
      DumpSeats("finalBalance", p.final_balance, log);
      log->LabelNumber("timer", p.timer);
      break;
    }
    default: break;
  }
}

namespace {

void PutU32(std::vector<uint8_t>* out, uint32_t value) {
  for (int shift = 24; shift >= 0; shift -= 8) out->push_back(static_cast<uint8_t>(value >> shift));
}

}  // namespace

std::vector<uint8_t> BlackJack_DealPayload(uint32_t table_id, uint32_t hand_number, uint32_t cents) {
  std::vector<uint8_t> out;
  PutU32(&out, table_id);
  PutU32(&out, hand_number);
  PutU32(&out, cents);
  out.push_back(0);
  return out;
}

std::vector<uint8_t> BlackJack_ResponsePayload(uint32_t table_id, uint32_t hand_number, uint8_t code) {
  std::vector<uint8_t> out;
  PutU32(&out, table_id);
  PutU32(&out, hand_number);
  out.push_back(code);
  out.push_back(0);
  return out;
}

std::vector<uint8_t> BlackJack_FinishHandPayload(uint32_t table_id, uint32_t hand_number) {
  std::vector<uint8_t> out;
  PutU32(&out, table_id);
  PutU32(&out, hand_number);
  out.push_back(0);
  return out;
}
