#include "tests/server/dealer/omaha_wire.h"

namespace omaha_wire {

using holdem_wire::Writer;

Packet Encode(const GameState& packet) {
  const holdem_wire::GameState& p = packet.base;
  const bool four_parts = p.round == 0;
  Writer w(kGameState);
  w.U32(p.hand).U32(p.round).Bytes(p.status).Bytes(packet.sit_out).Bytes(p.seat_flags);
  w.I8(p.dealer_status).Cards(packet.hole_cards);
  for (int seat = 0; seat < holdem_wire::kSeats; ++seat) {
    w.U32(p.bet[seat]);
    if (four_parts) {
      for (uint32_t part : packet.more_bet_parts[seat]) w.U32(part);
    }
  }
  w.Amounts(p.chips).Cards(p.board);
  w.U32(p.main_pot).U32(p.side_pot).U32(p.second_side_pot).U32(p.dead_pot).U32(p.house_take);
  w.U8(p.dealer).U8(p.previous_player).U8(p.previous_action).U32(p.previous_amount).U32(p.previous_dead_amount);
  w.U8(p.next_player).U32(p.next_mask).U8(p.enough_chips).U32(p.pre_action_mask);
  w.U32(p.bet_or_call).U32(p.raise_to).U32(p.maximum).U32(p.timer_seconds).U8(p.table_type);
  return w.Done();
}

Packet Encode(const holdem_wire::Collect& packet) {
  Packet out = holdem_wire::Encode(packet);
  out.type = kCollect;
  return out;
}

Packet Encode(const Final& p) {
  Writer w(kFinal);
  w.U32(p.hand).U32(p.round).Bytes(p.status).Bytes(p.sit_out).Bytes(p.seat_flags);
  w.U8(p.show_result ? 1 : 0).U8(p.dealer_status).Cards(p.board).Amounts(p.chips);
  for (const Hole& hole : p.cards) w.Cards(hole);
  w.U32(p.house_take).U32(p.timer_seconds).U8(p.last ? 1 : 0);
  w.U32(p.main_pot).U32(p.side_pot).U32(p.second_side_pot).U8(p.paying_pot);
  w.I8(static_cast<int8_t>(p.winners.size()));
  for (const Winner& winner : p.winners) w.I8(winner.seat);
  for (const Winner& winner : p.winners) w.U32(winner.chips);
  if (p.round != 0) {
    for (const Winner& winner : p.winners) w.U32(winner.rake);
  }
  for (const Winner& winner : p.winners) w.Cards(winner.cards);
  w.U8(p.table_type);
  return w.Done();
}

Packet Encode(const Refund& p) {
  Writer w(kRefund);
  w.U32(p.hand).U32(p.round).U8(p.seat).U32(p.refund).U32(static_cast<uint32_t>(p.balance));
  for (uint32_t part : p.current_bet) w.U32(part);
  return w.Done();
}

Packet Encode(const AskShowMuck& p) {
  return Writer(kAskShowMuck)
      .U32(p.hand)
      .U32(p.round)
      .Bytes(p.status)
      .U8(p.show ? 1 : 0)
      .U8(p.muck ? 1 : 0)
      .U32(p.timer_seconds)
      .Done();
}

Packet Encode(const PlayerStatus& p) {
  return Writer(kPlayerStatus)
      .Bytes(p.status)
      .Bytes(p.sit_out)
      .Bytes(p.seat_flags)
      .Amounts(p.chips)
      .U8(p.dealer)
      .U8(p.table_type)
      .Done();
}

Packet EncodeError(uint32_t hand, uint8_t code) { return Writer(kError).U32(hand).U8(code).Done(); }

Packet EncodeOptionIndicate(uint32_t hand, uint32_t round) {
  return Writer(kOptionIndicate).U32(hand).U32(round).Done();
}

Packet EncodeDisplayIAmBack(uint32_t hand, uint32_t round) {
  return Writer(kDisplayIAmBack).U32(hand).U32(round).Done();
}

Packet EncodeClearTable(const SeatAmounts& chips) { return Writer(kClearTable).U32(0).Amounts(chips).Done(); }

namespace {
// The Hold'em type of the same packet.
constexpr int kHoldemOffset = int{holdem_wire::kAction} - int{kAction};
}  // namespace

std::optional<holdem_wire::ClientPacket> DecodeClient(uint16_t type, const std::vector<uint8_t>& payload) {
  if (type != kAction && type != kSitOutNextHand && type != kFinishGame && type != kIAmBack &&
      type != kShowMuckResponse) {
    return std::nullopt;
  }
  auto packet = holdem_wire::DecodeClient(static_cast<uint16_t>(type + kHoldemOffset), payload);
  if (packet) packet->type = type;
  return packet;
}

std::vector<uint8_t> EncodeClient(const holdem_wire::ClientPacket& packet) {
  holdem_wire::ClientPacket same = packet;
  same.type = static_cast<uint16_t>(packet.type + kHoldemOffset);
  return holdem_wire::EncodeClient(same);
}

}  // namespace omaha_wire
