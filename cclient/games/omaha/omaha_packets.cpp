#include "cclient/games/omaha/omaha_packets.h"

#include <cstdio>
#include <cstring>
#include <string>

#include "cclient/games/kit/game_log.h"
#include "cclient/games/kit/packet_dump.h"
#include "cclient/games/kit/packet_reader.h"

namespace {

// The kit's reader with Omaha's two compound fields.
class Reader : public PacketFieldReader {
 public:
  using PacketFieldReader::PacketFieldReader;
  // The round number, and the table kind it sets (2 for a round other than 0, else 1).
  void Round(uint32_t* round, int32_t* table_kind) {
    U32(round);
    if (ok()) *table_kind = *round != 0 ? 2 : 1;
  }
  // Ten status bytes: the Hold'em reading of each kept in `status`.
  void Status(uint8_t* status) {
    Bytes(status, kHoldemSeats);
    for (int32_t s = 0; s < kHoldemSeats; ++s) status[s] = Omaha_HoldemStatusByte(status[s]);
  }
};

constexpr uint32_t kGameStateLong = 306;
constexpr uint32_t kGameStateShort = 186;

// The game state is one of two sizes, picked by the table kind; the final packet a minimum.
constexpr PacketSizeRule kSizes[] = {
    {OMAHA_PACKET_ERROR, 5, 5, "OmahaErrorPacket Wrong size"},
    {OMAHA_PACKET_GAME_STATE, kGameStateShort, kGameStateLong, "OmahaGameStatePacket Wrong size"},
    {OMAHA_PACKET_COLLECTION, 166, 166, "OmahaCollectionPacket Wrong size"},
    {OMAHA_PACKET_FINAL, 149, kPacketNoMaximum, "do not reach minimum length of OmahaFinalPacket"},
    {OMAHA_PACKET_REFUND, 33, 33, "OmahaRefundPacket Wrong size"},
    {OMAHA_PACKET_OPTION_INDICATE, 8, 8, "OmahaOptionIndicatePacket Wrong size"},
    {OMAHA_PACKET_DISPLAY_I_AM_BACK, 8, 8, "OmahaDisplayIAmBackPacket Wrong size"},
    {OMAHA_PACKET_ASK_SHOW_MUCK, 24, 24, "OmahaAskShowMuckPacket Wrong size"},
    {OMAHA_PACKET_PLAYER_STATUS, 72, 72, "OmahaPlayerStatusPacket Wrong size"},
    {OMAHA_PACKET_CLEAR_TABLE, 44, 44, "Omaha Clear Table Packet Length Wrong size"},
};

bool SizeFits(const PacketSizeRule& rule, uint32_t length, int32_t kind) {
  switch (rule.type) {
    case OMAHA_PACKET_GAME_STATE:
      if (kind == 1) return length == kGameStateLong;
      if (kind == 2) return length == kGameStateShort;
      return length == kGameStateLong || length == kGameStateShort;
    default:
      return length >= rule.min_len && length <= rule.max_len;
  }
}

std::unique_ptr<GameRecord> ParseGameState(Reader& r, int32_t local_seat, int32_t* table_kind) {
  auto rec = std::make_unique<OmahaGameStateRecord>();
  r.U32(&rec->hand);
  r.Round(&rec->round, table_kind);
  rec->kind = rec->round != 0 ? 2 : 1;
  r.Status(rec->status);
  r.Bytes(rec->sit_out, kHoldemSeats);
  r.Bytes(rec->seat_flags, kHoldemSeats);
  int8_t dealer_status = 0;
  r.I8(&dealer_status);
  rec->dealer_status = dealer_status;
  int8_t hole[kOmahaHoleCards] = {};
  for (int8_t& card : hole) r.I8(&card);
  for (int32_t s = 0; s < kHoldemSeats; ++s) {
    const bool local = s == local_seat;
    for (int32_t c = 0; c < kOmahaHoleCards; ++c) rec->cards[s][c] = local ? hole[c] : -1;
  }
  for (int32_t s = 0; s < kHoldemSeats; ++s) {
    if (rec->kind == 1) {
      r.U32s(rec->bets[s], 4);
    } else {
      r.U32(&rec->bets[s][0]);
    }
  }
  r.U32s(rec->chips, kHoldemSeats);
  for (int8_t& card : rec->board) r.I8(&card);
  r.U32(&rec->main_pot);
  r.U32(&rec->side_pot);
  r.U32(&rec->second_side_pot);
  r.U32(&rec->dead_pot);
  r.U32(&rec->house_take);
  r.U8(&rec->dealer);
  r.U8(&rec->previous_player);
  r.U8(&rec->previous_action);
  r.U32(&rec->previous_amount);
  r.U32(&rec->previous_dead);
  r.U8(&rec->next_player);
  r.U32(&rec->next_mask);
  r.U8(&rec->enough_chips);
  r.U32(&rec->pre_action_mask);
  r.U32(&rec->bet_amount);
  r.U32(&rec->raise_amount);
  r.U32(&rec->max_amount);
  r.U32(&rec->timer);
  r.U8(&rec->table_type);
  if (!r.ok() || r.left() != 0) return nullptr;
  if (rec->previous_action < kHoldemActionCodes) rec->previous_flags[rec->previous_action] = 1;
  // Omaha has no option above post dead; the skipped bits are never offered (bit tests).
  Holdem_DecodeMask(rec->next_mask & 0x3FFFFu, rec->next_flags);
  Holdem_DecodeMask(rec->pre_action_mask & 0x7Fu, rec->pre_action_flags);
  rec->enough_chips = rec->enough_chips != 0 ? 1 : 0;
  return rec;
}

std::unique_ptr<GameRecord> ParseFinal(Reader& r, int32_t* table_kind, GameLog* log) {
  auto rec = std::make_unique<OmahaFinalRecord>();
  auto invalid = [&]() -> std::unique_ptr<GameRecord> {
    if (log != nullptr) log->Line("invalid final packet");
    return nullptr;
  };
  r.U32(&rec->hand);
  r.Round(&rec->round, table_kind);
  rec->kind = rec->round != 0 ? 2 : 1;
  uint8_t raw_status[kHoldemSeats] = {};
  r.Bytes(raw_status, kHoldemSeats);
  for (int32_t s = 0; s < kHoldemSeats; ++s) rec->status[s] = Omaha_HoldemStatusByte(raw_status[s]);
  r.Bytes(rec->sit_out, kHoldemSeats);
  r.Bytes(rec->seat_flags, kHoldemSeats);
  r.U8(&rec->show_result);
  uint8_t dealer_status = 0;
  r.U8(&dealer_status);
  rec->dealer_status = dealer_status;
  for (int8_t& card : rec->board) r.I8(&card);
  r.U32s(rec->chips, kHoldemSeats);
  for (int32_t s = 0; s < kHoldemSeats; ++s) {
    for (int32_t c = 0; c < kOmahaHoleCards; ++c) r.I8(&rec->cards[s][c]);
  }
  r.U32(&rec->house_take);
  r.U32(&rec->timer);
  uint8_t last = 0;
  r.U8(&last);
  rec->last_packet = last == 1 ? 1 : 0;
  r.U32s(rec->pots, 3);
  r.U8(&rec->paying_pot);
  int8_t count = 0;
  r.I8(&count);
  if (!r.ok()) return invalid();
  rec->winner_count = count;
  // The record holds ten winners; a count outside 0-10 is refused.
  if (count < 0 || count > kOmahaMaxWinners) {
    if (log != nullptr) log->LabelNumber("invalid final packet: winner count", count);
    return nullptr;
  }
  const int32_t entry = rec->kind == 1 ? 14 : 18;
  if (r.left() != count * entry + 1) return invalid();
  for (int32_t i = 0; i < count; ++i) r.I8(&rec->winners[i]);
  r.U32s(rec->winning_chips, count);
  if (rec->kind == 2) r.U32s(rec->rake_returns, count);
  for (int32_t i = 0; i < count; ++i) {
    for (int8_t& card : rec->winner_hands[i]) r.I8(&card);
  }
  r.U8(&rec->table_type);
  if (!r.ok()) return invalid();
  // The Hold'em fields the loop reads: a single winner's best five are not sent (the nine bytes
  // are matched at the show-down), and the wait after the winners is the packet's timer.
  for (int8_t& card : rec->winner_cards) card = -1;
  rec->show_card_seconds = static_cast<int8_t>(rec->timer > 127 ? 127 : rec->timer);
  rec->show_muck_seconds = 0;
  rec->button_seat = -1;
  return rec;
}

}  // namespace

uint32_t Omaha_StatusCode(uint8_t status_byte) {
  if ((status_byte & 1) == 0) return 0;
  if ((status_byte & 16) != 0) return 20;
  if ((status_byte & 2) != 0) return 40;
  if ((status_byte & 4) != 0) return 30;
  if ((status_byte & 8) != 0) return 50;
  return 60;
}

uint8_t Omaha_HoldemStatusByte(uint8_t status_byte) { return static_cast<uint8_t>(status_byte & ~0x60u); }

std::unique_ptr<GameRecord> Omaha_ParsePacket(uint32_t type, const uint8_t* payload, uint32_t length,
                                              int32_t local_seat, int32_t* table_kind, GameLog* log) {
  const PacketSizeRule* rule = PacketRules_Find(kSizes, type, log);
  if (rule == nullptr) return nullptr;
  if (!SizeFits(*rule, length, *table_kind)) {
    PacketRules_RefuseSize(*rule, length, log);
    return nullptr;
  }
  Reader r(payload, length);
  std::unique_ptr<GameRecord> record;
  switch (type) {
    case OMAHA_PACKET_ERROR: {
      auto rec = std::make_unique<HoldemErrorRecord>();
      r.U32(&rec->hand);
      r.U8(&rec->code);
      record = std::move(rec);
      break;
    }
    case OMAHA_PACKET_GAME_STATE:
      record = ParseGameState(r, local_seat, table_kind);
      break;
    case OMAHA_PACKET_COLLECTION: {
      auto rec = std::make_unique<HoldemCollectRecord>();
      r.U32(&rec->hand);
      r.Round(&rec->round, table_kind);
      r.Status(rec->status);
      for (int32_t pot = 0; pot < 3; ++pot) {
        for (int32_t s = 0; s < kHoldemSeats; ++s) r.U32(&rec->towards[s][pot]);
      }
      r.U32s(rec->pots, 3);
      r.U32s(rec->to_house, 3);
      r.U32(&rec->house_take);
      record = std::move(rec);
      break;
    }
    case OMAHA_PACKET_FINAL:
      record = ParseFinal(r, table_kind, log);
      if (record == nullptr) return nullptr;
      break;
    case OMAHA_PACKET_REFUND: {
      auto rec = std::make_unique<OmahaRefundRecord>();
      r.U32(&rec->hand);
      r.Round(&rec->round, table_kind);
      r.U8(&rec->seat);
      r.U32(&rec->refund);
      r.I32(&rec->balance);  // signed: a negative balance means none
      r.U32s(rec->bets, 4);
      record = std::move(rec);
      break;
    }
    case OMAHA_PACKET_OPTION_INDICATE:
    case OMAHA_PACKET_DISPLAY_I_AM_BACK: {
      auto rec = std::make_unique<OmahaHandRecord>();
      r.U32(&rec->hand);
      r.Round(&rec->round, table_kind);
      record = std::move(rec);
      break;
    }
    case OMAHA_PACKET_ASK_SHOW_MUCK: {
      auto rec = std::make_unique<OmahaAskShowMuckRecord>();
      r.U32(&rec->hand);
      r.Round(&rec->round, table_kind);
      r.Status(rec->status);
      r.U8(&rec->show);
      r.U8(&rec->muck);
      r.U32(&rec->timer);
      rec->show = rec->show == 1 ? 1 : 0;
      rec->muck = rec->muck == 1 ? 1 : 0;
      record = std::move(rec);
      break;
    }
    case OMAHA_PACKET_PLAYER_STATUS: {
      auto rec = std::make_unique<OmahaPlayerStatusRecord>();
      r.Status(rec->status);
      r.Bytes(rec->sit_out, kHoldemSeats);
      r.Bytes(rec->seat_flags, kHoldemSeats);
      r.U32s(rec->chips, kHoldemSeats);
      r.U8(&rec->dealer);
      r.U8(&rec->table_type);
      record = std::move(rec);
      break;
    }
    case OMAHA_PACKET_CLEAR_TABLE: {
      auto rec = std::make_unique<HoldemClearTableRecord>();
      r.U32(&rec->unused);
      r.U32s(rec->chips, kHoldemSeats);
      record = std::move(rec);
      break;
    }
    default:
      break;
  }
  if (record == nullptr || !r.ok()) return nullptr;
  if (type == OMAHA_PACKET_PLAYER_STATUS) {
    // The dealer position names a seat; outside 0-9 it names none and the button stays.
    Holdem_SkipBadSeat(type, &static_cast<OmahaPlayerStatusRecord&>(*record).dealer, "dealer seat", log);
  }
  if (type == OMAHA_PACKET_FINAL) {
    // Up to ten winners (Hold'em's check stops at nine): the pot and the seats checked here.
    auto& rec = static_cast<OmahaFinalRecord&>(*record);
    if (rec.paying_pot > 2) {
      if (log != nullptr) log->LabelNumber("Packet 2504 dropped: paying pot out of range", rec.paying_pot);
      return nullptr;
    }
    for (int32_t i = 0; i < rec.Winners(); ++i) Holdem_SkipBadSeat(type, &rec.winners[i], "winner seat", log);
    Holdem_SkipBadSeat(type, &rec.button_seat, "button seat", log);
    return record;
  }
  if (!Holdem_CheckRecord(Omaha_HoldemType(type), *record, log)) return nullptr;
  return record;
}

// ---- The dump ----

namespace {

void StatusRow(GameLog* log, const uint8_t* status) {
  uint32_t codes[kHoldemSeats];
  for (int32_t s = 0; s < kHoldemSeats; ++s) codes[s] = Omaha_StatusCode(status[s]);
  PacketDump_Row(log, "Player Status", "%4d", codes, kHoldemSeats);
}

void HoleRows(GameLog* log, const int8_t (*hole)[kOmahaHoleCards]) {
  log->Line("Player Cards:");
  for (int32_t s = 0; s < kHoldemSeats; ++s) {
    log->Printf("\tplayer %d = %d, %d, %d, %d\n", s, hole[s][0], hole[s][1], hole[s][2], hole[s][3]);
  }
}

}  // namespace

void Omaha_DumpPacket(uint32_t type, const GameRecord& record, GameLog* log) {
  if (log == nullptr || !log->IsOpen()) return;
  switch (type) {
    case OMAHA_PACKET_GAME_STATE: {
      const auto& r = static_cast<const OmahaGameStateRecord&>(record);
      log->Line("Game State Packet");
      log->LabelNumber("Hand Number", r.hand);
      log->LabelNumber("Round Number", r.round);
      StatusRow(log, r.status);
      PacketDump_RowBytes(log, "Player Sit out Flags", "%4d", r.sit_out, kHoldemSeats);
      PacketDump_RowBytes(log, "Seat Flags", "%4d", r.seat_flags, kHoldemSeats);
      log->LabelNumber("Dealer Status", r.dealer_status);
      log->Line("Current Betting:");
      for (int32_t s = 0; s < kHoldemSeats; ++s) {
        log->Printf("\tplayer %d = %u, %u, %u, %u\n", s, r.bets[s][0], r.bets[s][1], r.bets[s][2], r.bets[s][3]);
      }
      PacketDump_Row(log, "Total Chips", "%7d", r.chips, kHoldemSeats);
      PacketDump_RowCards(log, "Board Cards", "%4d", r.board, kHoldemBoardCards);
      HoleRows(log, r.cards);
      log->LabelNumber("Main Pot", r.main_pot);
      log->LabelNumber("First Side Pot", r.side_pot);
      log->LabelNumber("Second Side Pot", r.second_side_pot);
      log->LabelNumber("Dead Pot", r.dead_pot);
      log->LabelNumber("House Take", r.house_take);
      log->LabelNumber("Current Dealer Position", r.dealer);
      log->LabelNumber("Previous Player", r.previous_player);
      log->LabelText("Previous Action", Holdem_ActionLabel(r.previous_action));
      log->LabelNumber("Previous Amount", r.previous_amount);
      log->LabelNumber("Previous Dead Amount", r.previous_dead);
      log->LabelNumber("Next Player", r.next_player);
      log->LabelNumber("Next Player Options", r.next_mask);
      log->LabelNumber("Enough Chips", r.enough_chips);
      log->LabelNumber("Pre-turn Options", r.pre_action_mask);
      log->LabelNumber("Bet or Call Amount", r.bet_amount);
      log->LabelNumber("Raise Amount", r.raise_amount);
      log->LabelNumber("Maximum Amount", r.max_amount);
      log->LabelNumber("Timer", r.timer);
      log->LabelNumber("Table type", r.table_type);
      log->Line("");
      break;
    }
    case OMAHA_PACKET_COLLECTION: {
      const auto& r = static_cast<const HoldemCollectRecord&>(record);
      log->Line("Collection Packet");
      log->LabelNumber("Hand Number", r.hand);
      log->LabelNumber("Round Number", r.round);
      StatusRow(log, r.status);
      for (int32_t pot = 0; pot < 3; ++pot) {
        uint32_t towards[kHoldemSeats];
        for (int32_t s = 0; s < kHoldemSeats; ++s) towards[s] = r.towards[s][pot];
        PacketDump_Row(log, pot == 0 ? "To Main Pot" : pot == 1 ? "To First Side Pot" : "To Second Side Pot", "%7d", towards,
            kHoldemSeats);
      }
      PacketDump_Row(log, "Pots", "%7d", r.pots, 3);
      PacketDump_Row(log, "To House", "%7d", r.to_house, 3);
      log->LabelNumber("House Take", r.house_take);
      log->Line("");
      break;
    }
    case OMAHA_PACKET_FINAL: {
      const auto& r = static_cast<const OmahaFinalRecord&>(record);
      log->Line("Final State Packet");
      log->LabelNumber("Hand Number", r.hand);
      log->LabelNumber("Round Number", r.round);
      StatusRow(log, r.status);
      PacketDump_RowBytes(log, "Player Sit out Flags", "%4d", r.sit_out, kHoldemSeats);
      log->Line(r.show_result != 0 ? "showResult = true" : "showResult = false");
      PacketDump_RowCards(log, "Board Cards", "%4d", r.board, kHoldemBoardCards);
      PacketDump_Row(log, "Total Chips", "%7d", r.chips, kHoldemSeats);
      HoleRows(log, r.cards);
      log->LabelNumber("House Take", r.house_take);
      log->LabelNumber("Timer", r.timer);
      log->Line(r.last_packet != 0 ? "This is the last packet" : "This is not last packet");
      PacketDump_Row(log, "Pots", "%7d", r.pots, 3);
      log->LabelNumber("Paying Pot", r.paying_pot);
      const int32_t n = r.Winners();
      uint32_t seats[kOmahaMaxWinners];
      for (int32_t i = 0; i < n; ++i) seats[i] = static_cast<uint32_t>(static_cast<int32_t>(r.winners[i]));
      PacketDump_Row(log, "Winner List: ", "%4d", seats, n);
      PacketDump_Row(log, "Winner Chips: ", "%7d", r.winning_chips, n);
      PacketDump_Row(log, "Rake Chips: ", "%7d", r.rake_returns, n);
      log->Line("Winner Cards: ");
      for (int32_t i = 0; i < n; ++i) PacketDump_RowCards(log, "\t", "%4d", r.winner_hands[i], kOmahaWinnerCards);
      log->LabelNumber("Table type", r.table_type);
      log->Line("");
      break;
    }
    case OMAHA_PACKET_REFUND: {
      const auto& r = static_cast<const OmahaRefundRecord&>(record);
      log->Line("Chip Refund Packet");
      log->LabelNumber("Hand Number", r.hand);
      log->LabelNumber("Round Number", r.round);
      log->LabelNumber("Player", r.seat);
      log->LabelNumber("Refund", r.refund);
      log->LabelNumber("Balance", r.balance);
      PacketDump_Row(log, "Current Betting:", "%7d", r.bets, 4);
      log->Line("");
      break;
    }
    case OMAHA_PACKET_ASK_SHOW_MUCK: {
      const auto& r = static_cast<const OmahaAskShowMuckRecord&>(record);
      log->Line("Show Muck Packet");
      log->LabelNumber("Hand Number", r.hand);
      log->LabelNumber("Round Number", r.round);
      StatusRow(log, r.status);
      log->LabelNumber("Show", r.show);
      log->LabelNumber("Muck", r.muck);
      log->LabelNumber("Timer", r.timer);
      log->Line("");
      break;
    }
    case OMAHA_PACKET_PLAYER_STATUS: {
      const auto& r = static_cast<const OmahaPlayerStatusRecord&>(record);
      log->Line("Player Status Packet");
      StatusRow(log, r.status);
      PacketDump_RowBytes(log, "Player Sit out Flags", "%4d", r.sit_out, kHoldemSeats);
      PacketDump_RowBytes(log, "Seat Flags", "%4d", r.seat_flags, kHoldemSeats);
      PacketDump_Row(log, "Total Chips", "%7d", r.chips, kHoldemSeats);
      log->LabelNumber("Current Dealer Position", r.dealer);
      log->LabelNumber("Table type", r.table_type);
      log->Line("");
      break;
    }
    default:
      break;
  }
}

uint8_t Omaha_ActionOfChoice(int32_t choice, const char** log_line) {
  static const struct {
    int32_t choice;
    uint8_t code;
    const char* line;
  } kChoices[] = {
      {16, 1, "Action CHECK is sent according to yuor choice"},
      {17, 2, "Action BET is sent according to yuor choice"},
      {19, 3, "Action CALL is sent according to yuor choice"},
      {21, 4, "Action RAISE is sent according to yuor choice"},
      {23, 5, "Action RAISE(2) is sent according to yuor choice"},
      {25, 17, "Action COMPLETE TO is sent according to yuor choice"},
      {26, 6, "Action RAISE(3) is sent according to yuor choice"},
      {28, 7, "Action FOLD is sent according to yuor choice"},
      {29, 11, "Action SIT OUT is sent according to yuor choice"},
      {30, 8, "Action POST SMALL is sent according to yuor choice"},
      {31, 9, "Action POST BIG is sent according to yuor choice"},
      {35, 15, "Action POST NOW is sent according to yuor choice"},
      {36, 16, "Action WAIT FOR BIG BLIND is sent according to yuor choice"},
      {37, 18, "Action POST DEAD is sent according to yuor choice"},
      {38, 19, "Action RAISE OTHER is sent according to yuor choice"},
  };
  for (const auto& entry : kChoices) {
    if (entry.choice == choice) {
      *log_line = entry.line;
      return entry.code;
    }
  }
  *log_line = nullptr;
  return 0;
}
