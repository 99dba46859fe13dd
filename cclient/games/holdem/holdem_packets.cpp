#include "cclient/games/holdem/holdem_packets.h"

#include <cstdio>
#include <cstring>
#include <string>

#include "cclient/games/kit/game_log.h"
#include "cclient/games/kit/packet_dump.h"
#include "cclient/games/kit/packet_reader.h"
#include "cclient/games/kit/packet_writer.h"

namespace {

using Reader = PacketFieldReader;

// The final packet is a minimum of 1; every other length is exact.
constexpr PacketSizeRule kSizes[] = {
    {HOLDEM_PACKET_ERROR, 5, 5, "HOLDEM_PACKET_ERROR Wrong size"},
    {HOLDEM_PACKET_GAME_STATE, 174, 174, "Holdem Game State Packet Wrong size"},
    {HOLDEM_COLLECT_PACKET, 166, 166, "HOLDEM_COLLECT_PACKET Wrong size"},
    {HOLDEM_PACKET_FINAL, 1, kPacketNoMaximum, "Holdem Final Packet Wrong size"},
    {HOLDEM_PACKET_REFUND, 17, 17, "HOLDEM_PACKET_REFUND Wrong size"},
    {HOLDEM_OPTION_INDICATE, 4, 4, "HOLDEM_OPTION_INDICATE Wrong size"},
    {HOLDEM_PACKET_DISPLAY_I_AM_BACK, 4, 4, "HOLDEM_PACKET_DISPLAY_I_AM_BACK Wrong size"},
    {HOLDEM_PACKET_ASK_SHOW_MUCK, 20, 20, "HOLDEM_PACKET_ASK_SHOW_MUCK Wrong size"},
    {HOLDEM_PACKET_PLAYER_STATUS, 61, 61, "HOLDEM_PACKET_PLAYER_STATUS Wrong size"},
    {HOLDEM_PACKET_CLEAR_TABLE, HOLDEM_PACKET_CLEAR_TABLE_LENGTH, HOLDEM_PACKET_CLEAR_TABLE_LENGTH, "HOLDEM_PACKET_CLEAR_TABLE_LENGTH Wrong size"},
    {HOLDEM_PACKET_MOVE_D_BUTTON, 3, 3, "HOLDEM_PACKET_MOVE_D_BUTTON Wrong size"},
    {HOLDEM_PACKET_SHOW_PLAY_NOW, 9, 9, "HOLDEM_PACKET_SHOW_PLAY_NOW Wrong size"},
    {HOLDEM_PACKET_LOCAL_PLAYER_STATUS_NOTIFICATION, 1, 1, "HOLDEM_PACKET_LOCAL_PLAYER_STATUS_NOTIFICATION Wrong size"},
    {HOLDEM_PACKET_FORCE_TO_SHOW_BUY_MORE_WINDOW, 4, 4, "HOLDEM_PACKET_FORCE_TO_SHOW_BUY_MORE_WINDOW Wrong size"},
};

void ReadStatus(Reader& r, uint8_t* status, uint8_t* sit_out) {
  r.Bytes(status, kHoldemSeats);
  if (sit_out != nullptr) {
    for (int32_t s = 0; s < kHoldemSeats; ++s) sit_out[s] = Holdem_SitOutMark(status[s]);
  }
}

void ReadU32s(Reader& r, uint32_t* out, int32_t count) {
  for (int32_t i = 0; i < count; ++i) r.U32(&out[i]);
}

std::unique_ptr<GameRecord> ParseGameState(Reader& r, int32_t local_seat) {
  auto rec = std::make_unique<HoldemGameStateRecord>();
  r.U32(&rec->hand);
  r.U32(&rec->round);
  ReadStatus(r, rec->status, rec->sit_out);
  r.Bytes(rec->seat_flags, kHoldemSeats);
  int8_t dealer_status = 0;
  r.I8(&dealer_status);
  rec->dealer_status = dealer_status;
  int8_t hole[2] = {};
  r.I8(&hole[0]);
  r.I8(&hole[1]);
  for (int32_t s = 0; s < kHoldemSeats; ++s) {
    const bool local = s == local_seat;
    rec->cards[s][0] = local ? hole[0] : -1;
    rec->cards[s][1] = local ? hole[1] : -1;
  }
  for (int32_t s = 0; s < kHoldemSeats; ++s) r.U32(&rec->bets[s][0]);
  ReadU32s(r, rec->chips, kHoldemSeats);
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
  if (!r.ok()) return nullptr;
  if (rec->previous_action < kHoldemActionCodes) rec->previous_flags[rec->previous_action] = 1;
  Holdem_DecodeMask(rec->next_mask, rec->next_flags);
  Holdem_DecodeMask(rec->pre_action_mask & 0x7F, rec->pre_action_flags);
  rec->enough_chips = rec->enough_chips != 0 ? 1 : 0;
  return rec;
}

std::unique_ptr<GameRecord> ParseCollect(Reader& r) {
  auto rec = std::make_unique<HoldemCollectRecord>();
  r.U32(&rec->hand);
  r.U32(&rec->round);
  ReadStatus(r, rec->status, nullptr);
  for (int32_t pot = 0; pot < 3; ++pot) {
    for (int32_t s = 0; s < kHoldemSeats; ++s) r.U32(&rec->towards[s][pot]);
  }
  ReadU32s(r, rec->pots, 3);
  ReadU32s(r, rec->to_house, 3);
  r.U32(&rec->house_take);
  if (!r.ok()) return nullptr;
  return rec;
}

std::unique_ptr<GameRecord> ParseFinal(Reader& r, uint32_t length) {
  auto rec = std::make_unique<HoldemFinalRecord>();
  r.U32(&rec->hand);
  r.U32(&rec->round);
  ReadStatus(r, rec->status, rec->sit_out);
  r.Bytes(rec->seat_flags, kHoldemSeats);
  uint8_t dealer_status = 0;
  r.U8(&dealer_status);
  rec->dealer_status = dealer_status;
  for (int8_t& card : rec->board) r.I8(&card);
  ReadU32s(r, rec->chips, kHoldemSeats);
  for (auto& pair : rec->cards) {
    r.I8(&pair[0]);
    r.I8(&pair[1]);
  }
  ReadU32s(r, rec->pots, 3);
  r.U32(&rec->house_take);
  r.U8(&rec->paying_pot);
  int8_t count = 0;
  r.I8(&count);
  rec->winner_count = count;
  if (!r.ok()) return nullptr;
  // At most 9 winners: the check after parsing refuses the record (and says why).
  if (count >= 10) return rec;
  const int32_t n = count > 0 ? count : 0;
  for (int32_t i = 0; i < n; ++i) r.I8(&rec->winners[i]);
  for (int32_t i = 0; i < n; ++i) r.U32(&rec->winning_chips[i]);
  for (int8_t& card : rec->winner_cards) r.I8(&card);
  r.I8(&rec->show_card_seconds);
  r.I8(&rec->show_muck_seconds);
  uint8_t last = 0;
  r.U8(&last);
  rec->last_packet = last == 1 ? 1 : 0;
  r.U8(&rec->table_type);
  if (!r.ok()) return nullptr;
  rec->button_seat = -1;
  if (length >= static_cast<uint32_t>(122 + 5 * n)) r.I8(&rec->button_seat);
  return rec;
}

}  // namespace

uint32_t Holdem_StatusCode(uint8_t status_byte) {
  if ((status_byte & 1) == 0) return SEAT_EMPTY;
  if ((status_byte & 16) != 0) return SEAT_LEAVING;
  if ((status_byte & 2) != 0) return SEAT_FOLDED;
  if ((status_byte & 4) != 0) return SEAT_SITTING_OUT;
  if ((status_byte & 8) != 0) return SEAT_ALL_IN;
  if ((status_byte & 64) != 0) return SEAT_OUT_OF_HAND;
  return SEAT_IN_HAND;
}

uint8_t Holdem_SitOutMark(uint8_t status_byte) { return (status_byte & 32) != 0 ? 3 : 0; }

void Holdem_DecodeMask(uint32_t mask, uint8_t flags[kHoldemActionCodes]) {
  std::memset(flags, 0, kHoldemActionCodes);
  for (int32_t code = 1; code < kHoldemActionCodes; ++code) {
    if (code == 10 || (code >= 12 && code <= 14)) continue;
    if ((mask & (1u << (code - 1))) != 0) flags[code] = 1;
  }
}

const char* Holdem_ActionLabel(int32_t code) {
  switch (code) {
    case ACTION_CHECK: return "Check";
    case ACTION_BET: return "Bet";
    case ACTION_CALL: return "Call";
    case ACTION_RAISE: return "Raise";
    case ACTION_RERAISE: return "ReRaise";
    case ACTION_CAP: return "Cap";
    case ACTION_FOLD: return "Fold";
    case ACTION_POST_SMALL: return "Post Small";
    case ACTION_POST_BIG: return "Post Big";
    case ACTION_SIT_OUT: return "Sit Out";
    case ACTION_POST_NOW: return "Post Now";
    case ACTION_WAIT_FOR_BIG_BLIND: return "Wait For Big Blind";
    case ACTION_COMPLETE_TO: return "Complete to";
    case ACTION_POST_DEAD: return "Post Dead";
    default: return "None";
  }
}

std::unique_ptr<GameRecord> Holdem_ParsePacket(uint32_t type, const uint8_t* payload, uint32_t length,
                                               int32_t local_seat, GameLog* log) {
  if (PacketRules_Check(kSizes, type, length, log) == nullptr) return nullptr;
  Reader r(payload, length);
  std::unique_ptr<GameRecord> record;
  switch (type) {
    case HOLDEM_PACKET_ERROR: {
      auto rec = std::make_unique<HoldemErrorRecord>();
      r.U32(&rec->hand);
      r.U8(&rec->code);
      record = std::move(rec);
      break;
    }
    case HOLDEM_PACKET_GAME_STATE:
      record = ParseGameState(r, local_seat);
      break;
    case HOLDEM_COLLECT_PACKET:
      record = ParseCollect(r);
      break;
    case HOLDEM_PACKET_FINAL:
      record = ParseFinal(r, length);
      break;
    case HOLDEM_PACKET_REFUND: {
      auto rec = std::make_unique<HoldemRefundRecord>();
      r.U32(&rec->hand);
      r.U8(&rec->seat);
      r.U32(&rec->refund);
      r.I32(&rec->balance);
      r.U32(&rec->bets[0]);
      record = std::move(rec);
      break;
    }
    case HOLDEM_OPTION_INDICATE:
    case HOLDEM_PACKET_DISPLAY_I_AM_BACK: {
      auto rec = std::make_unique<HoldemHandRecord>();
      r.U32(&rec->hand);
      record = std::move(rec);
      break;
    }
    case HOLDEM_PACKET_ASK_SHOW_MUCK: {
      auto rec = std::make_unique<HoldemAskShowMuckRecord>();
      r.U32(&rec->hand);
      ReadStatus(r, rec->status, nullptr);
      r.U8(&rec->show);
      r.U8(&rec->muck);
      r.U32(&rec->timer);
      rec->show = rec->show == 1 ? 1 : 0;
      rec->muck = rec->muck == 1 ? 1 : 0;
      record = std::move(rec);
      break;
    }
    case HOLDEM_PACKET_PLAYER_STATUS: {
      auto rec = std::make_unique<HoldemPlayerStatusRecord>();
      ReadStatus(r, rec->status, rec->sit_out);
      r.Bytes(rec->seat_flags, kHoldemSeats);
      ReadU32s(r, rec->chips, kHoldemSeats);
      r.U8(&rec->table_type);
      record = std::move(rec);
      break;
    }
    case HOLDEM_PACKET_CLEAR_TABLE: {
      auto rec = std::make_unique<HoldemClearTableRecord>();
      r.U32(&rec->unused);
      ReadU32s(r, rec->chips, kHoldemSeats);
      record = std::move(rec);
      break;
    }
    case HOLDEM_PACKET_MOVE_D_BUTTON: {
      auto rec = std::make_unique<HoldemMoveButtonRecord>();
      r.U8(&rec->from);
      r.U8(&rec->to);
      r.U8(&rec->along_path);
      rec->along_path = rec->along_path != 0 ? 1 : 0;
      record = std::move(rec);
      break;
    }
    case HOLDEM_PACKET_SHOW_PLAY_NOW: {
      auto rec = std::make_unique<HoldemShowPlayNowRecord>();
      r.U8(&rec->show);
      r.U32(&rec->first);
      r.U32(&rec->second);
      rec->show = rec->show == 1 ? 1 : 0;
      record = std::move(rec);
      break;
    }
    case HOLDEM_PACKET_LOCAL_PLAYER_STATUS_NOTIFICATION: {
      auto rec = std::make_unique<HoldemLocalStatusRecord>();
      r.U8(&rec->status);
      record = std::move(rec);
      break;
    }
    case HOLDEM_PACKET_FORCE_TO_SHOW_BUY_MORE_WINDOW: {
      auto rec = std::make_unique<HoldemBuyMoreRecord>();
      r.U32(&rec->amount);
      record = std::move(rec);
      break;
    }
    default:
      break;
  }
  if (record == nullptr || !r.ok()) return nullptr;
  if (!Holdem_CheckRecord(type, *record, log)) return nullptr;
  return record;
}

void Holdem_SkipBadSeat(uint32_t type, uint8_t* seat, const char* what, GameLog* log) {
  if (*seat == 255 || *seat < kHoldemSeats) return;
  if (log != nullptr) {
    char line[128];
    std::snprintf(line, sizeof line, "Packet %u: %s out of range, skipped", type, what);
    log->LabelNumber(line, *seat);
  }
  *seat = 255;
}

void Holdem_SkipBadSeat(uint32_t type, int8_t* seat, const char* what, GameLog* log) {
  if (*seat < 0 || *seat < kHoldemSeats) return;
  if (log != nullptr) {
    char line[128];
    std::snprintf(line, sizeof line, "Packet %u: %s out of range, skipped", type, what);
    log->LabelNumber(line, *seat);
  }
  *seat = -1;
}

bool Holdem_CheckRecord(uint32_t type, GameRecord& record, GameLog* log) {
  const char* fault = nullptr;
  int64_t value = 0;
  switch (type) {
    case HOLDEM_PACKET_GAME_STATE: {
      auto& r = static_cast<HoldemGameStateRecord&>(record);
      Holdem_SkipBadSeat(type, &r.dealer, "dealer seat", log);
      Holdem_SkipBadSeat(type, &r.next_player, "next player", log);
      Holdem_SkipBadSeat(type, &r.previous_player, "previous player", log);
      break;
    }
    case HOLDEM_PACKET_FINAL: {
      auto& r = static_cast<HoldemFinalRecord&>(record);
      // The winner count sizes the winners' arrays and the pot names one of three piles: past
      // them the record cannot be read.
      if (r.winner_count >= 10) {
        fault = "winner count";
        value = r.winner_count;
        break;
      }
      if (r.paying_pot > 2) {
        fault = "paying pot";
        value = r.paying_pot;
        break;
      }
      for (int32_t i = 0; i < r.Winners(); ++i) Holdem_SkipBadSeat(type, &r.winners[i], "winner seat", log);
      Holdem_SkipBadSeat(type, &r.button_seat, "button seat", log);
      break;
    }
    case HOLDEM_PACKET_REFUND:
      Holdem_SkipBadSeat(type, &static_cast<HoldemRefundRecord&>(record).seat, "refund seat", log);
      break;
    case HOLDEM_PACKET_MOVE_D_BUTTON: {
      auto& r = static_cast<HoldemMoveButtonRecord&>(record);
      Holdem_SkipBadSeat(type, &r.from, "button from seat", log);
      Holdem_SkipBadSeat(type, &r.to, "button target seat", log);
      break;
    }
    default:
      break;
  }
  if (fault == nullptr) return true;
  if (log != nullptr) {
    char line[128];
    std::snprintf(line, sizeof line, "Packet %u dropped: %s out of range", type, fault);
    log->LabelNumber(line, value);
  }
  return false;
}

// ---- The dump ----

namespace {

void StatusRow(GameLog* log, const uint8_t* status) {
  uint32_t codes[kHoldemSeats];
  for (int32_t s = 0; s < kHoldemSeats; ++s) codes[s] = Holdem_StatusCode(status[s]);
  PacketDump_Row(log, "Player Status", "%4d", codes, kHoldemSeats);
}

void OfferedLine(GameLog* log, const char* label, const uint8_t* flags) {
  static const char* kRunTogether[kHoldemActionCodes] = {
      nullptr, "Check",     "Bet",     nullptr, "Raise",  "ReRaise", "Cap",   "Fold", "PostSmall", "PostBig",
      nullptr, "SitOut",    nullptr,   nullptr, nullptr,  "PostNow", "WaitForBigBlind", "CompleteTo",
      "PostDead", nullptr};
  std::string line;
  for (int32_t code = 1; code < kHoldemActionCodes; ++code) {
    if (flags[code] == 0) continue;
    const char* name = code == ACTION_CALL ? "Call" : kRunTogether[code];
    if (name == nullptr) continue;
    if (!line.empty()) line += " ";
    line += name;
  }
  log->LabelText(label, line.c_str());
}

}  // namespace

void Holdem_DumpPacket(uint32_t type, const GameRecord& record, int32_t local_seat, GameLog* log) {
  if (log == nullptr || !log->IsOpen()) return;
  switch (type) {
    case HOLDEM_PACKET_GAME_STATE: {
      const auto& r = static_cast<const HoldemGameStateRecord&>(record);
      log->LabelText("PacketType", "Game State Packet");
      log->LabelNumber("Hand Number", r.hand);
      log->LabelNumber("Round Number", r.round);
      log->LabelNumber("Dealer Status", r.dealer_status);
      log->LabelNumber("Table type", r.table_type);
      PacketDump_RowBytes(log, "Player Sit out Flags", "%4d", r.sit_out, kHoldemSeats);
      PacketDump_RowCards(log, "Deck Cards", "%4d", r.board, kHoldemBoardCards);
      log->LabelNumber("Current Dealer Position", r.dealer);
      StatusRow(log, r.status);
      PacketDump_Row(log, "PlayerTotalChip", "%7d", r.chips, kHoldemSeats);
      log->Line("Current Betting:");
      for (int32_t s = 0; s < kHoldemSeats; ++s) {
        char label[32];
        std::snprintf(label, sizeof label, "\tPlayer%d =\t", s);
        PacketDump_Row(log, label, "%6d", r.bets[s], 4);
      }
      log->Line("");
      log->LabelNumber("Main Port Chip Value", r.main_pot);
      log->LabelNumber("First Side Port Chip Value", r.side_pot);
      log->LabelNumber("Second Side Port Chip Value", r.second_side_pot);
      log->LabelNumber("Dead Port Chip Value", r.dead_pot);
      log->LabelNumber("House Taken Chip Value", r.house_take);
      log->Line("Player Cards:");
      for (int32_t s = 0; s < kHoldemSeats; ++s) log->Printf("%s [%d, %d]\n", "", r.cards[s][0], r.cards[s][1]);
      log->Line("");
      log->LabelNumber(r.previous_player == local_seat ? "Previous Player(is local player)" : "Previous Player",
                       r.previous_player);
      log->LabelNumber("Previous Player Action Code", r.previous_action);
      log->LabelText("Previous Player Action", Holdem_ActionLabel(r.previous_action));
      log->LabelNumber("PreVious Player Bet/Call Amount", r.previous_amount);
      if (r.previous_action == ACTION_POST_DEAD) log->LabelNumber("PreVious Player Dead Amount", r.previous_dead);
      log->LabelNumber(r.next_player == local_seat ? "Next Player(is local player)" : "Next Player", r.next_player);
      log->LabelNumber("Next Player Action Code", r.next_mask);
      log->Line(r.enough_chips != 0 ? "This player has enough chips" : "This player has not enough chips");
      OfferedLine(log, "Next Player Action", r.next_flags);
      log->LabelNumber("preaction code", r.pre_action_mask);
      OfferedLine(log, "Local Player preTurn Action", r.pre_action_flags);
      log->LabelNumber("Bet / call amount", r.bet_amount);
      log->LabelNumber("Raise amount", r.raise_amount);
      log->LabelNumber("Max amount", r.max_amount);
      log->LabelNumber("Timer", r.timer);
      log->Line("");
      break;
    }
    case HOLDEM_COLLECT_PACKET: {
      const auto& r = static_cast<const HoldemCollectRecord&>(record);
      log->LabelText("PacketType", "Collection Packet");
      log->LabelNumber("Hand Number", r.hand);
      log->LabelNumber("Round Number", r.round);
      StatusRow(log, r.status);
      log->Line("Player Chips Towards Dealer:        Main   FirstSide  SecondSide");
      for (int32_t s = 0; s < kHoldemSeats; ++s) {
        log->Printf("                 Player %d%12d%12d%12d\n", s, static_cast<int32_t>(r.towards[s][0]),
                    static_cast<int32_t>(r.towards[s][1]), static_cast<int32_t>(r.towards[s][2]));
      }
      log->LabelNumber("Chip value from main port to HouseTake", r.to_house[0]);
      log->LabelNumber("Chip value from first side port to HouseTake", r.to_house[1]);
      log->LabelNumber("Chip value from second side port to HouseTake", r.to_house[2]);
      log->LabelNumber("Main Port Chip Value", r.pots[0]);
      log->LabelNumber("First Side Port Chip Value", r.pots[1]);
      log->LabelNumber("Second Side Port Chip Value", r.pots[2]);
      log->LabelNumber("House Taken Chip Value", r.house_take);
      log->Line("");
      break;
    }
    case HOLDEM_PACKET_FINAL: {
      const auto& r = static_cast<const HoldemFinalRecord&>(record);
      log->LabelText("PacketType", "Final State Packet");
      log->LabelNumber("Hand Number", r.hand);
      log->LabelNumber("Round Number", r.round);
      log->LabelNumber("Table type", r.table_type);
      PacketDump_RowBytes(log, "Player Sit out Flags", "%4d", r.sit_out, kHoldemSeats);
      log->Line(r.last_packet != 0 ? "This is the last packet" : "This is not last packet");
      log->LabelNumber("Dealer Status", r.dealer_status);
      PacketDump_RowCards(log, "Deck cards: ", "%4d", r.board, kHoldemBoardCards);
      StatusRow(log, r.status);
      log->Line("player card:");
      for (int32_t s = 0; s < kHoldemSeats; ++s) log->Printf("player %d= %d %d\n", s, r.cards[s][0], r.cards[s][1]);
      log->Line("Player total chips:");
      for (int32_t s = 0; s < kHoldemSeats; ++s) {
        log->Printf("player %d= %10d\n", s, static_cast<int32_t>(r.chips[s]));
      }
      log->LabelNumber("Winner amount", r.winner_count);
      PacketDump_RowCards(log, "Winner List: ", "%4d", r.winners, r.Winners());
      PacketDump_Row(log, "winning chip: ", "%7d", r.winning_chips, r.Winners());
      PacketDump_Row(log, "Rake Return Value: ", "%7d", r.rake_returns, r.Winners());
      PacketDump_RowCards(log, "Winner Cards: ", "%4d", r.winner_cards, kHoldemBoardCards);
      static const char* kPots[3] = {"From main port to winner:", "From side port to winner:",
                                     "From second side port to winner:"};
      if (r.paying_pot < 3) log->Line(kPots[r.paying_pot]);
      log->LabelNumber("Main Port Chip Value", r.pots[0]);
      log->LabelNumber("First Side Port Chip Value", r.pots[1]);
      log->LabelNumber("Second Side Port Chip Value", r.pots[2]);
      log->LabelNumber("House Taken Chip Value", r.house_take);
      log->LabelNumber("Show Card Timer", r.show_card_seconds);
      log->LabelNumber("Show Muck Timer", r.show_muck_seconds);
      log->Line("");
      break;
    }
    case HOLDEM_PACKET_REFUND: {
      const auto& r = static_cast<const HoldemRefundRecord&>(record);
      log->LabelText("PacketType", "Chip Refund Packet");
      log->LabelNumber("Hand Number", r.hand);
      log->LabelNumber("Player Index", r.seat);
      log->LabelNumber("Refund value", r.refund);
      log->LabelNumber("Balance after Refund", r.balance);
      PacketDump_Row(log, "Current Betting after Refund:", "%6d", r.bets, 4);
      log->Line("");
      break;
    }
    case HOLDEM_PACKET_ASK_SHOW_MUCK: {
      const auto& r = static_cast<const HoldemAskShowMuckRecord&>(record);
      log->LabelText("PacketType", "Show Muck Packet");
      log->LabelNumber("Hand Number", r.hand);
      StatusRow(log, r.status);
      log->LabelNumber("Show Card", r.show);
      log->LabelNumber("Muck Card", r.muck);
      log->LabelNumber("Timer", r.timer);
      log->Line("");
      break;
    }
    case HOLDEM_PACKET_PLAYER_STATUS: {
      const auto& r = static_cast<const HoldemPlayerStatusRecord&>(record);
      log->LabelText("PacketType", "Player Status Packet");
      StatusRow(log, r.status);
      PacketDump_RowBytes(log, "Player Sit out Flags", "%4d", r.sit_out, kHoldemSeats);
      PacketDump_Row(log, "PlayerTotalChip", "%7d", r.chips, kHoldemSeats);
      log->LabelNumber("Table type", r.table_type);
      log->Line("");
      break;
    }
    default:
      break;
  }
}

// ---- The client's packets ----

std::vector<uint8_t> Holdem_ActionPacket(uint32_t table_id, uint32_t hand, uint32_t round, uint8_t code,
                                         uint32_t amount) {
  return PacketWriter().U32(table_id).U32(hand).U32(round).U8(code).U32(amount).U8(0).Take();
}

std::vector<uint8_t> Holdem_FlagPacket(uint32_t table_id, uint32_t hand, uint32_t round, uint8_t flag) {
  return PacketWriter().U32(table_id).U32(hand).U32(round).U8(flag).U8(0).Take();
}

std::vector<uint8_t> Holdem_HandPacket(uint32_t table_id, uint32_t hand, uint32_t round) {
  return PacketWriter().U32(table_id).U32(hand).U32(round).U8(0).Take();
}

std::vector<uint8_t> Holdem_PlayNowPacket(uint32_t table_id, uint8_t choice) {
  return PacketWriter().U32(table_id).U8(choice).U8(0).Take();
}

uint8_t Holdem_ActionOfButton(int32_t button_id, const char** log_line) {
  static const struct {
    int32_t id;
    uint8_t code;
    const char* line;
  } kButtons[] = {
      {16, 1, "Action CHECK is sent according to yuor choice"},
      {17, 2, "Action BET is sent according to yuor choice"},
      {19, 3, "Action CALL is sent according to yuor choice"},
      {21, 4, "Action RAISE is sent according to yuor choice"},
      {23, 5, "Action RAISE(2) is sent according to yuor choice"},
      {26, 6, "Action RAISE(3) is sent according to yuor choice"},
      {25, 17, "Action COMPLETE TO is sent according to yuor choice"},
      {28, 7, "Action FOLD is sent according to yuor choice"},
      {29, 11, "Action SIT OUT is sent according to yuor choice"},
      {30, 8, "Action POST SMALL is sent according to yuor choice"},
      {31, 9, "Action POST BIG is sent according to yuor choice"},
      {35, 15, "Action POST NOW is sent according to yuor choice"},
      {36, 16, "Action WAIT FOR BIG BLIND is sent according to yuor choice"},
      {37, 18, "Action POST DEAD is sent according to yuor choice"},
      {40, 19, "Action POST AFTER D PASSED is sent according to yuor choice"},
  };
  for (const auto& button : kButtons) {
    if (button.id == button_id) {
      *log_line = button.line;
      return button.code;
    }
  }
  *log_line = nullptr;
  return 0;
}
