#include "tests/server/holdem_wire.h"

#include <utility>

namespace holdem_wire {

namespace {

uint32_t ReadU32(const std::vector<uint8_t>& bytes, size_t at) {
  return (uint32_t{bytes[at]} << 24) | (uint32_t{bytes[at + 1]} << 16) | (uint32_t{bytes[at + 2]} << 8) |
         bytes[at + 3];
}

}  // namespace

std::vector<uint8_t> ForTable(uint32_t table_id, const std::vector<uint8_t>& payload) {
  std::vector<uint8_t> bytes = Writer(0).U32(table_id).Done().bytes;
  bytes.insert(bytes.end(), payload.begin(), payload.end());
  return bytes;
}

Packet Encode(const Error& packet) { return Writer(kError).U32(packet.hand).U8(packet.code).Done(); }

Packet Encode(const GameState& p) {
  Writer w(kGameState);
  w.U32(p.hand).U32(p.round).Bytes(p.status).Bytes(p.seat_flags).I8(p.dealer_status).Cards(p.hole_cards);
  w.Amounts(p.bet).Amounts(p.chips).Cards(p.board);
  w.U32(p.main_pot).U32(p.side_pot).U32(p.second_side_pot).U32(p.dead_pot).U32(p.house_take);
  w.U8(p.dealer).U8(p.previous_player).U8(p.previous_action).U32(p.previous_amount).U32(p.previous_dead_amount);
  w.U8(p.next_player).U32(p.next_mask).U8(p.enough_chips).U32(p.pre_action_mask);
  w.U32(p.bet_or_call).U32(p.raise_to).U32(p.maximum).U32(p.timer_seconds).U8(p.table_type);
  return w.Done();
}

Packet Encode(const Collect& p) {
  Writer w(kCollect);
  w.U32(p.hand).U32(p.round).Bytes(p.status).Amounts(p.to_main).Amounts(p.to_side).Amounts(p.to_second_side);
  w.U32(p.main_pot).U32(p.side_pot).U32(p.second_side_pot);
  w.U32(p.house_from_main).U32(p.house_from_side).U32(p.house_from_second_side).U32(p.house_taken);
  return w.Done();
}

Packet Encode(const Final& p) {
  Writer w(kFinal);
  w.U32(p.hand).U32(p.round).Bytes(p.status).Bytes(p.seat_flags).U8(p.dealer_status).Cards(p.board);
  w.Amounts(p.chips);
  for (const auto& cards : p.cards) w.Cards(cards);
  w.U32(p.main_pot).U32(p.side_pot).U32(p.second_side_pot).U32(p.house_taken).U8(p.paying_pot);
  w.I8(static_cast<int8_t>(p.winners.size()));
  for (const Winner& winner : p.winners) w.I8(winner.seat);
  for (const Winner& winner : p.winners) w.U32(winner.chips);
  w.Cards(p.winner_cards).I8(p.show_card_seconds).I8(p.show_muck_seconds).U8(p.last ? 1 : 0).U8(p.table_type);
  if (p.button_seat) w.I8(*p.button_seat);
  return w.Done();
}

Packet Encode(const Refund& p) {
  return Writer(kRefund)
      .U32(p.hand)
      .U8(p.seat)
      .U32(p.refund)
      .U32(static_cast<uint32_t>(p.balance))
      .U32(p.current_bet)
      .Done();
}

Packet Encode(const AskShowMuck& p) {
  return Writer(kAskShowMuck)
      .U32(p.hand)
      .Bytes(p.status)
      .U8(p.show ? 1 : 0)
      .U8(p.muck ? 1 : 0)
      .U32(p.timer_seconds)
      .Done();
}

Packet Encode(const PlayerStatus& p) {
  return Writer(kPlayerStatus).Bytes(p.status).Bytes(p.seat_flags).Amounts(p.chips).U8(p.table_type).Done();
}

Packet Encode(const MoveDealerButton& p) {
  return Writer(kMoveDealerButton).U8(p.from).U8(p.to).U8(p.along_path ? 1 : 0).Done();
}

Packet Encode(const ShowPlayNow& p) {
  return Writer(kShowPlayNow).U8(p.show ? 1 : 0).U32(p.first_amount).U32(p.second_amount).Done();
}

Packet EncodeOptionIndicate(uint32_t hand) { return Writer(kOptionIndicate).U32(hand).Done(); }

Packet EncodeDisplayIAmBack(uint32_t hand) { return Writer(kDisplayIAmBack).U32(hand).Done(); }

Packet EncodeClearTable(const SeatAmounts& chips) { return Writer(kClearTable).U32(0).Amounts(chips).Done(); }

Packet EncodeLocalPlayerStatus(uint8_t status) { return Writer(kLocalPlayerStatus).U8(status).Done(); }

Packet EncodeForceBuyMore(uint32_t amount) { return Writer(kForceBuyMore).U32(amount).Done(); }

std::vector<uint8_t> EncodeClient(const ClientPacket& p) {
  Writer w(p.type);
  w.U32(p.table_id);
  switch (p.type) {
    case kPlayNow:
      w.U8(p.code);
      break;
    case kAction:
      w.U32(p.hand).U32(p.round).U8(p.code).U32(p.amount);
      break;
    case kSitOutNextHand:
    case kShowMuckResponse:
      w.U32(p.hand).U32(p.round).U8(p.code);
      break;
    default:  // 2411, 2412
      w.U32(p.hand).U32(p.round);
      break;
  }
  return w.U8(0).Done().bytes;
}

std::optional<ClientPacket> DecodeClient(uint16_t type, const std::vector<uint8_t>& payload) {
  size_t length = 0;
  switch (type) {
    case kAction: length = 18; break;
    case kSitOutNextHand:
    case kShowMuckResponse: length = 14; break;
    case kFinishGame:
    case kIAmBack: length = 13; break;
    case kPlayNow: length = 6; break;
    default: return std::nullopt;
  }
  if (payload.size() != length || payload.back() != 0) return std::nullopt;
  ClientPacket packet;
  packet.type = type;
  packet.table_id = ReadU32(payload, 0);
  if (type == kPlayNow) {
    packet.code = payload[4];
    return packet;
  }
  packet.hand = ReadU32(payload, 4);
  packet.round = ReadU32(payload, 8);
  if (length >= 14) packet.code = payload[12];
  if (type == kAction) packet.amount = ReadU32(payload, 13);
  return packet;
}

namespace table {

namespace {

Writer& PutSeatRecord(Writer& w, const SeatRecord& record) {
  return w.U8(record.seat).Fixed(record.name, 11).U32(record.cents).Fixed(record.text, 32).U32(record.flags);
}

}  // namespace

Packet Encode(const JoinResult& p) {
  Writer w(kJoinResult);
  w.U8(p.result);
  if (p.result != 0) return w.Done();
  w.U32(p.flags).Fixed(p.name, 32).Fixed(p.stakes, 32).U32(0).U32(p.hand).U32(0);
  w.U32(p.minimum_sit).U32(p.maximum_sit).U32(0).U8(p.seat_count).U8(0);
  w.U8(static_cast<uint8_t>(p.players.size()));
  for (const SeatRecord& record : p.players) PutSeatRecord(w, record);
  return w.Done();
}

Packet EncodeAddPlayer(const SeatRecord& record) {
  Writer w(kAddPlayer);
  PutSeatRecord(w, record);
  return w.Done();
}

Packet EncodeSitResult(uint8_t result) { return Writer(kSitResult).U8(result).Done(); }

Packet EncodeRemovePlayer(uint8_t seat) { return Writer(kRemovePlayer).U8(seat).Done(); }

Packet EncodeText(uint16_t type, const std::string& text) { return Writer(type).Text(text).Done(); }

Packet EncodePlayerBalance(uint8_t seat, uint32_t cents) {
  return Writer(kUpdatePlayerBalance).U8(seat).U32(cents).Done();
}

std::optional<SitRequest> DecodeSitRequest(const std::vector<uint8_t>& payload) {
  if (payload.size() != 9) return std::nullopt;
  return SitRequest{ReadU32(payload, 0), payload[4], ReadU32(payload, 5)};
}

}  // namespace table

}  // namespace holdem_wire
