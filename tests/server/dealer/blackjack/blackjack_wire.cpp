#include "tests/server/dealer/blackjack/blackjack_wire.h"

namespace blackjack_wire {

namespace {

using holdem_wire::Writer;

Writer& Amounts(Writer& w, const SeatAmounts& amounts) {
  for (uint32_t amount : amounts) w.U32(amount);
  return w;
}

Writer& Bytes(Writer& w, const SeatBytes& bytes) {
  for (uint8_t byte : bytes) w.U8(byte);
  return w;
}

template <typename T>
void EachHand(const PerHand<T>& values, const auto& write) {
  for (int seat = 0; seat < kSeats; ++seat) {
    for (int hand = 0; hand < 2; ++hand) write(values[seat][hand]);
  }
}

// The card counts of every hand, then every hand's cards, as 2801 and 2806 carry them.
void WriteHands(Writer& w, const PerHand<Cards>& cards) {
  EachHand(cards, [&](const Cards& hand) { w.U8(static_cast<uint8_t>(hand.size())); });
  EachHand(cards, [&](const Cards& hand) {
    for (uint8_t card : hand) w.U8(card);
  });
}

void WriteDealer(Writer& w, const Cards& dealer) {
  w.U8(static_cast<uint8_t>(dealer.size()));
  for (uint8_t card : dealer) w.U8(card);
}

uint32_t ReadU32(const std::vector<uint8_t>& bytes, size_t at) {
  return (uint32_t{bytes[at]} << 24) | (uint32_t{bytes[at + 1]} << 16) | (uint32_t{bytes[at + 2]} << 8) |
         bytes[at + 3];
}

// Reads a payload front to back; any read past the end marks it failed.
class Reader {
 public:
  explicit Reader(const std::vector<uint8_t>& bytes) : bytes_(bytes) {}
  uint8_t U8() {
    if (at_ + 1 > bytes_.size()) {
      failed_ = true;
      return 0;
    }
    return bytes_[at_++];
  }
  uint32_t U32() {
    uint32_t value = 0;
    for (int i = 0; i < 4; ++i) value = (value << 8) | U8();
    return value;
  }
  Cards Take(size_t count) {
    Cards cards;
    for (size_t i = 0; i < count && !failed_; ++i) cards.push_back(U8());
    return cards;
  }
  SeatBytes Seats() {
    SeatBytes values{};
    for (uint8_t& value : values) value = U8();
    return values;
  }
  SeatAmounts Amounts() {
    SeatAmounts values{};
    for (uint32_t& value : values) value = U32();
    return values;
  }
  template <typename T, typename Read>
  PerHand<T> Hands(Read read) {
    PerHand<T> values{};
    for (auto& seat : values) {
      for (T& value : seat) value = read();
    }
    return values;
  }
  // The card counts of every hand, then their cards; failed when a count is above 15.
  PerHand<Cards> HandCards() {
    const PerHand<uint8_t> counts = Hands<uint8_t>([this] { return U8(); });
    PerHand<Cards> cards{};
    for (int seat = 0; seat < kSeats; ++seat) {
      for (int hand = 0; hand < 2; ++hand) {
        if (counts[seat][hand] > kMaxCards) failed_ = true;
        cards[seat][hand] = Take(counts[seat][hand]);
      }
    }
    return cards;
  }
  Cards DealerCards() {
    const uint8_t count = U8();
    if (count > kMaxCards) failed_ = true;
    return Take(count);
  }
  bool Done() const { return !failed_ && at_ == bytes_.size(); }

 private:
  const std::vector<uint8_t>& bytes_;
  size_t at_ = 0;
  bool failed_ = false;
};

}  // namespace

std::optional<PlayerStatus> DecodePlayerStatus(const std::vector<uint8_t>& payload) {
  Reader r(payload);
  PlayerStatus p;
  p.hand = r.U32();
  p.game_type = r.U8();
  p.status = r.Seats();
  p.total_hands = r.U8();
  p.balance = r.Amounts();
  p.button = r.U8();
  p.new_game = r.U8() != 0;
  p.limit_1 = r.U32();
  p.limit_2 = r.U32();
  if (!r.Done()) return std::nullopt;
  return p;
}

std::optional<Action> DecodeAction(const std::vector<uint8_t>& payload) {
  Reader r(payload);
  Action p;
  p.hand = r.U32();
  p.status = r.Seats();
  p.button = r.U8();
  p.dealer_new = r.U8();
  p.dealer = r.DealerCards();
  p.turn_seat = r.U8();
  p.turn_hand = r.U8();
  p.previous_seat = r.U8();
  p.previous_hand = r.U8();
  p.previous_action = r.U8();
  p.allowed = r.U32();
  p.new_cards = r.Hands<uint8_t>([&r] { return r.U8(); });
  p.cards = r.HandCards();
  p.bets = r.Hands<uint32_t>([&r] { return r.U32(); });
  p.insurance = r.Amounts();
  p.balance = r.Amounts();
  p.decision_seconds = r.U32();
  p.check_blackjack = r.U8() != 0;
  p.dealer_blackjack = r.U8() != 0;
  if (!r.Done()) return std::nullopt;
  return p;
}

std::optional<Score> DecodeScore(const std::vector<uint8_t>& payload) {
  Reader r(payload);
  Score p;
  p.hand = r.U32();
  p.status = r.Seats();
  p.button = r.U8();
  p.dealer = r.DealerCards();
  p.cards = r.HandCards();
  p.bets = r.Hands<uint32_t>([&r] { return r.U32(); });
  p.insurance = r.Amounts();
  p.results = r.Hands<uint8_t>([&r] { return r.U8(); });
  p.pays = r.Hands<uint32_t>([&r] { return r.U32(); });
  p.insurance_pays = r.Amounts();
  p.final_balance = r.Amounts();
  p.timer = r.U32();
  if (!r.Done()) return std::nullopt;
  return p;
}

Packet Encode(const PlayerStatus& packet) {
  Writer w(kPlayerStatus);
  w.U32(packet.hand).U8(packet.game_type);
  Bytes(w, packet.status).U8(packet.total_hands);
  Amounts(w, packet.balance).U8(packet.button).U8(packet.new_game ? 1 : 0).U32(packet.limit_1).U32(packet.limit_2);
  return w.Done();
}

Packet Encode(const Action& packet) {
  Writer w(kAction);
  w.U32(packet.hand);
  Bytes(w, packet.status).U8(packet.button).U8(packet.dealer_new);
  WriteDealer(w, packet.dealer);
  w.U8(packet.turn_seat).U8(packet.turn_hand).U8(packet.previous_seat).U8(packet.previous_hand);
  w.U8(packet.previous_action).U32(packet.allowed);
  EachHand(packet.new_cards, [&](uint8_t count) { w.U8(count); });
  WriteHands(w, packet.cards);
  EachHand(packet.bets, [&](uint32_t bet) { w.U32(bet); });
  Amounts(w, packet.insurance);
  Amounts(w, packet.balance).U32(packet.decision_seconds);
  w.U8(packet.check_blackjack ? 1 : 0).U8(packet.dealer_blackjack ? 1 : 0);
  return w.Done();
}

Packet Encode(const Score& packet) {
  Writer w(kScore);
  w.U32(packet.hand);
  Bytes(w, packet.status).U8(packet.button);
  WriteDealer(w, packet.dealer);
  WriteHands(w, packet.cards);
  EachHand(packet.bets, [&](uint32_t bet) { w.U32(bet); });
  Amounts(w, packet.insurance);
  EachHand(packet.results, [&](uint8_t result) { w.U8(result); });
  EachHand(packet.pays, [&](uint32_t pay) { w.U32(pay); });
  Amounts(w, packet.insurance_pays);
  Amounts(w, packet.final_balance).U32(packet.timer);
  return w.Done();
}

Packet EncodeFatalError(uint32_t hand, uint8_t code) { return Writer(kFatalError).U32(hand).U8(code).Done(); }

Packet EncodeDealReject() { return Writer(kDealReject).Done(); }

std::vector<uint8_t> EncodeClient(const ClientPacket& packet) {
  Writer w(packet.type);
  w.U32(packet.table_id).U32(packet.hand);
  if (packet.type == kDeal) w.U32(packet.bet);
  if (packet.type == kResponse) w.U8(packet.code);
  w.U8(0);
  return w.Done().bytes;
}

std::optional<ClientPacket> DecodeClient(uint16_t type, const std::vector<uint8_t>& payload) {
  size_t length = 0;
  switch (type) {
    case kDeal: length = 13; break;
    case kResponse: length = 10; break;
    case kFinishHand: length = 9; break;
    default: return std::nullopt;
  }
  if (payload.size() != length || payload.back() != 0) return std::nullopt;
  ClientPacket packet;
  packet.type = type;
  packet.table_id = ReadU32(payload, 0);
  packet.hand = ReadU32(payload, 4);
  if (type == kDeal) packet.bet = ReadU32(payload, 8);
  if (type == kResponse) packet.code = payload[8];
  return packet;
}

}  // namespace blackjack_wire
