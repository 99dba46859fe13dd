// The table-level packets of one table: joining, seats, chat, cash answers, overlay, title texts,
// rebuys and the play-money refill. Each handler gets the payload after the table id.
#include "cclient/table/table_packets.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "cclient/base/debug_log.h"
#include "cclient/base/packet_reader.h"
#include "cclient/base/player_flags.h"
#include "cclient/table/rebuy_dialog.h"
#include "cclient/table/table.h"
#include "cclient/table/table_neighbours.h"
#include "platform/window/message_box.h"
#include "platform/window/window.h"

namespace {

// A cursor over a payload that may be null or empty.
struct Reader {
  Reader(const uint8_t* payload, uint32_t length)
      : read(payload), left(payload != nullptr ? static_cast<int32_t>(std::min<uint32_t>(length, INT32_MAX)) : 0) {}
  bool U8(uint8_t* out) { return PacketReadU8(out, &read, &left) == 0; }
  bool U32(uint32_t* out) { return PacketReadU32(out, &read, &left) == 0; }
  bool Bytes(void* out, int32_t count) { return PacketReadBytes(out, count, &read, &left) == 0; }
  bool Text(char* out, int32_t limit) { return PacketReadString(out, limit, &read, &left) == 0; }

  const uint8_t* read;
  int32_t left;
};

struct SeatRecord {
  uint8_t seat = 0;
  char name[11] = {};
  uint32_t amount = 0;
  char text[32] = {};
  uint32_t flags = 0;
};

bool ReadSeatRecord(Reader* reader, SeatRecord* record) {
  if (!reader->U8(&record->seat) || !reader->Bytes(record->name, sizeof record->name) ||
      !reader->U32(&record->amount) || !reader->Bytes(record->text, sizeof record->text) ||
      !reader->U32(&record->flags)) {
    return false;
  }
  record->name[sizeof record->name - 1] = '\0';
  record->text[sizeof record->text - 1] = '\0';
  return true;
}

// A text packet must end with its NUL.
bool IsTerminatedText(const uint8_t* payload, uint32_t length) {
  if (payload == nullptr || length == 0 || payload[length - 1] != '\0') {
    DebugLog_Write("No terminator for packet string.\n");
    return false;
  }
  return true;
}

// The table name without a leading "[...]" tag, when something follows the tag.
const char* ShownTableName(const char* name) {
  if (name[0] != '[') return name;
  const char* close = std::strchr(name, ']');
  if (close == nullptr || close[1] == '\0') return name;
  return close + 1;
}

}  // namespace

const char* TablePacketName(uint32_t type) {
  switch (type) {
    case PACKETTYPE_JOINTABLERESULT: return "PACKETTYPE_JOINTABLERESULT";
    case PACKETTYPE_TABLEDEALERMESSAGE: return "PACKETTYPE_TABLEDEALERMESSAGE";
    case PACKETTYPE_TABLEDEALERSUMMARYMESSAGE: return "PACKETTYPE_TABLEDEALERSUMMARYMESSAGE";
    case PACKETTYPE_TABLEPLAYERMESSAGE: return "PACKETTYPE_TABLEPLAYERMESSAGE";
    case PACKETTYPE_TABLESITRESULT: return "PACKETTYPE_TABLESITRESULT";
    case PACKETTYPE_TABLEADDPLAYER: return "PACKETTYPE_TABLEADDPLAYER";
    case PACKETTYPE_TABLEREMOVEPLAYER: return "PACKETTYPE_TABLEREMOVEPLAYER";
    case PACKETTYPE_TABLELEAVERESPONSE: return "PACKETTYPE_TABLELEAVERESPONSE";
    case PACKETTYPE_TABLEBALANCERESPONSE: return "PACKETTYPE_TABLEBALANCERESPONSE";
    case PACKETTYPE_TABLESEATSTATECHANGE: return "PACKETTYPE_TABLESEATSTATECHANGE";
    case PACKETTYPE_TABLEUPDATEPLAYERBALANCE: return "PACKETTYPE_TABLEUPDATEPLAYERBALANCE";
    case PACKETTYPE_TABLEUPDATEPLAYERFLAGS: return "PACKETTYPE_TABLEUPDATEPLAYERFLAGS";
    case PACKETTYPE_TABLEOVERLAYMESSAGE: return "PACKETTYPE_TABLEOVERLAYMESSAGE";
    case PACKETTYPE_FORCECLOSETABLE: return "PACKETTYPE_FORCECLOSETABLE";
    case PACKETTYPE_UPDATESTAKESSTRING: return "PACKETTYPE_UPDATESTAKESSTRING";
    case PACKETTYPE_UPDATEWINNERSEAT: return "PACKETTYPE_UPDATEWINNERSEAT";
    case PACKETTYPE_TABLESHOWREBUYWINDOW: return "PACKETTYPE_TABLESHOWREBUYWINDOW";
    case PACKETTYPE_TABLECLOSEREBUYWINDOW: return "PACKETTYPE_TABLECLOSEREBUYWINDOW";
    case PACKETTYPE_PLAYMONEYTOPUPRESULT: return "PACKETTYPE_PLAYMONEYTOPUPRESULT";
    default: return nullptr;
  }
}

int SendJoinWaitingList(WaitingListRequest* record, platform::HINSTANCE, platform::HWND, uint32_t table_id,
                        int32_t seat_count, uint8_t connection_id) {
  record->table_id = table_id;
  record->choice = 0;
  record->last_seat = seat_count - 1;
  const uint8_t payload[5] = {static_cast<uint8_t>(table_id >> 24), static_cast<uint8_t>(table_id >> 16),
                              static_cast<uint8_t>(table_id >> 8), static_cast<uint8_t>(table_id), record->choice};
  return Table_GetNeighbours().Network_SendPacket(PACKETTYPE_TABLEWAITLISTREQUEST, payload, sizeof payload,
                                                 connection_id);
}

int TableClass::HandleJoinTableResult(const uint8_t* payload, uint32_t length) {
  TableNeighbours& neighbours = Table_GetNeighbours();
  Reader reader(payload, length);
  uint8_t result = 0;
  if (!reader.U8(&result)) {
    (void)Leave(1, 1, kAnyConnection);
    return 1;
  }
  if (result != 0) {
    DebugLog_WriteLevel(1, "Unable to join table (ret %ld).\n", static_cast<long>(result));
    neighbours.Main_HotPickForget(table_id);
    (void)Leave(1, 1, kAnyConnection);
    return 0;
  }
  uint32_t flags = 0, reserved = 0, hand = 0, minimum = 0, maximum = 0;
  char name[32] = {};
  char stakes[32] = {};
  uint8_t seats = 0, waiting = 0, players = 0;
  bool ok = reader.U32(&flags) && reader.Bytes(name, sizeof name) && reader.Bytes(stakes, sizeof stakes) &&
            reader.U32(&reserved) && reader.U32(&hand) && reader.U32(&reserved) && reader.U32(&minimum) &&
            reader.U32(&maximum) && reader.U32(&reserved) && reader.U8(&seats) && reader.U8(&waiting) &&
            reader.U8(&players);
  if (ok) {
    // Fixed texts from the server need not end with a NUL.
    name[sizeof name - 1] = '\0';
    stakes[sizeof stakes - 1] = '\0';
    DebugLog_WriteLevel(1, "Join phase 2.\n");
    seat_count = std::min<int32_t>(seats, kTableSeats);
    ClearSeats();
    DebugLog_WriteLevel(1, "Join phase 3.\n");
  }
  for (uint32_t index = 0; ok && index < players; ++index) {
    DebugLog_WriteLevel(1, "Join phase 4.%lda.\n", static_cast<long>(index));
    SeatRecord record;
    ok = ReadSeatRecord(&reader, &record) && record.seat < kTableSeats;
    if (!ok) break;
    DebugLog_WriteLevel(1, "Join phase 4.%ldb.\n", static_cast<long>(index));
    (void)AddPlayer(record.seat, record.name, record.text, record.amount, record.flags);
    DebugLog_WriteLevel(1, "Join phase 4.%ldc.\n", static_cast<long>(index));
  }
  if (ok && reader.left > 0) {
    uint8_t reserved_count = 0;
    ok = reader.U8(&reserved_count);
    for (uint32_t index = 0; ok && index < reserved_count; ++index) {
      uint8_t seat = 0;
      ok = reader.U8(&seat);
      if (ok && seat < kTableSeats) seat_reserved[seat] = 1;
    }
    if (ok && reader.left > 0) {
      DebugLog_Write("Extra data on end of join packet, resyncing.\n");
      ok = false;
    }
  }
  if (!ok) {
    (void)Leave(1, 1, kAnyConnection);
    return 1;
  }

  players_seated = players;
  current_hand = hand;
  minimum_sit = minimum;
  maximum_sit = maximum;
  if (minimum < 100 || maximum < 100) {
    DebugLog_Write("Warning: Table %ld id, MinSitCents is %ld, MaxSitCents is %ld\n", static_cast<long>(table_id),
                   static_cast<long>(minimum), static_cast<long>(maximum));
  }
  on_waiting_list = waiting;
  table_flags = flags;
  std::snprintf(table_name, sizeof table_name, "%s", ShownTableName(name));
  std::snprintf(stakes_text, sizeof stakes_text, "%s", stakes);
  UpdateTitle();
  neighbours.Main_HotPickRemember(table_id, stakes_text, (table_flags & kTableFlagTournament) != 0 ? 1 : 0,
                                  game_type, server_list_index, host, static_cast<uint16_t>(port));

  if ((table_flags & kTableFlagNoWaitingList) == 0 && FindMySeat() < 0 && picked_seat < 0) {
    bool all_taken = true;
    for (int32_t seat = 0; seat < seat_count; ++seat) {
      if ((seat_flags[seat] & kSeatOccupied) == 0) all_taken = false;
    }
    if (on_waiting_list != 0) {
      AddDealerSummary("You are on the waiting list for this table.");
    } else if (all_taken) {
      AddDealerSummary(
          "All seats at this table are occupied.  Click 'Join Waiting List' to be added to the waiting list "
          "for this table.");
    } else {
      AddDealerSummary("To play, click SIT at an open seat.");
    }
  }

  joined = 1;
  neighbours.Main_SetLobbyConnection(server_list_index, connection_id);
  ShowNotice("");
  if (picked_seat >= 0) {
    const int32_t seat = picked_seat;
    picked_seat = -1;
    OpenBuyInDialog(seat);
  }
  UpdateTableButtons();
  return 0;
}

int TableClass::AddDealerMessage(const uint8_t* payload, uint32_t length) {
  if (!IsTerminatedText(payload, length)) return 1;
  if (show_dealer_messages != 0) AddChatText(reinterpret_cast<const char*>(payload), kDealerChatColour);
  return 0;
}

int TableClass::AddDealerSummary(const uint8_t* payload, uint32_t length) {
  if (!IsTerminatedText(payload, length)) return 1;
  AddChatText(reinterpret_cast<const char*>(payload), kSummaryChatColour);
  return 0;
}

int TableClass::AddPlayerMessage(const uint8_t* payload, uint32_t length) {
  if (!IsTerminatedText(payload, length)) return 1;
  if (show_player_messages == 0) return 0;
  const char* text = reinterpret_cast<const char*>(payload);
  const char* mark = static_cast<const char*>(std::memchr(text, '>', strnlen(text, 32)));
  if (mark != nullptr) {
    char sender[32] = {};
    std::memcpy(sender, text, std::min<size_t>(static_cast<size_t>(mark - text), 31));
    if ((PlayerFlagsGet(sender) & kPlayerFlagBlocked) != 0) return 0;
  }
  AddChatText(text, kPlayerChatColour);
  return 0;
}

int TableClass::HandleTableSitResult(const uint8_t* payload, uint32_t length) {
  DebugLog_WriteLevel(1, "HandleTableSitResult\n");
  if (payload == nullptr || length != 1) return 1;
  const uint8_t result = payload[0];
  if (result == 0) {
    DebugLog_WriteLevel(1, "SitResult success\n");
  } else {
    (void)MessageBox(result == 2
                         ? "Your funds are temporarily unavailable to bring to the table.\nPlease try again later."
                         : "The seat you have selected is not available.\nPlease choose a different seat.");
    DebugLog_WriteLevel(1, "SitResult error (%ld)\n", static_cast<long>(result));
  }
  DebugLog_WriteLevel(1, "HandleTableSitResult done, ret 0\n");
  return 0;
}

int TableClass::HandleTableAddPlayer(const uint8_t* payload, uint32_t length) {
  Reader reader(payload, length);
  SeatRecord record;
  if (!ReadSeatRecord(&reader, &record)) return 1;
  if (AddPlayer(record.seat, record.name, record.text, record.amount, record.flags) != 0) return 1;
  UpdateTableButtons();
  return 0;
}

int TableClass::HandleTableRemovePlayer(const uint8_t* payload, uint32_t length) {
  Reader reader(payload, length);
  uint8_t seat = 0;
  if (!reader.U8(&seat) || seat >= kTableSeats) return 1;
  uint8_t reserved = 0;
  if (reader.left > 0 && reader.U8(&reserved)) seat_reserved[seat] = reserved > 0 ? 1 : 0;
  if (players_seated > 0) --players_seated;
  seat_flags[seat] = 0;
  std::memset(seat_names[seat], 0, sizeof seat_names[seat]);
  std::memset(seat_texts[seat], 0, sizeof seat_texts[seat]);
  seat_amounts[seat] = 0;
  UpdateTableButtons();
  return 0;
}

int TableClass::HandleTableLeaveResponse(const uint8_t*, uint32_t) {
  UpdateTableButtons();
  return 0;
}

int TableClass::HandleTableBalanceResponse(const uint8_t* payload, uint32_t length) {
  int result = 0;
  platform::HWND opened = nullptr;
  if (pending_cash_dialog == 0) {
    result = buy_in_dialog->Open(instance_, window, payload, length);
    opened = buy_in_dialog->Window();
  } else {
    result = more_cash_dialog->Open(instance_, window, payload, length);
    opened = more_cash_dialog->Window();
  }
  if (refilled != 0) {
    refilled = 0;
    ShowTableBox(opened != nullptr ? opened : window, "Your play money balance has been refilled to $1000.",
                 kTableNoticeBoxFlags);
  }
  return result;
}

int TableClass::HandleTableUpdatePlayerBalance(const uint8_t* payload, uint32_t length) {
  Reader reader(payload, length);
  uint8_t seat = 0;
  uint32_t amount = 0;
  if (length != 5 || !reader.U8(&seat) || !reader.U32(&amount)) return 1;
  if (seat < kTableSeats) seat_amounts[seat] = amount;
  return 0;
}

int TableClass::HandleTableUpdatePlayerFlags(const uint8_t* payload, uint32_t length) {
  Reader reader(payload, length);
  uint8_t seat = 0;
  uint32_t flags = 0;
  if (length != 5 || !reader.U8(&seat) || !reader.U32(&flags)) return 1;
  if (seat < kTableSeats) seat_flags[seat] = flags;
  DebugLog_WriteLevel(1, "HandleTableUpdatePlayerFlags: seat:%ld flags:%ld\n", static_cast<long>(seat),
                      static_cast<long>(flags));
  return 0;
}

int TableClass::HandleOverlayMessage(const uint8_t* payload, uint32_t length) {
  Reader reader(payload, length);
  uint32_t milliseconds = 0;
  char text[sizeof overlay_text];
  if (!reader.U32(&milliseconds) || !reader.Text(text, sizeof text) || reader.left > 0) return 1;
  overlay_seconds = static_cast<float>(milliseconds) * 0.001f;
  std::memcpy(overlay_text, text, sizeof overlay_text);
  return 0;
}

int TableClass::HandleUpdateStakesString(const uint8_t* payload, uint32_t length) {
  Reader reader(payload, length);
  char stakes[sizeof stakes_text];
  if (!reader.Text(stakes, sizeof stakes)) return 1;
  std::memcpy(stakes_text, stakes, sizeof stakes_text);
  UpdateTitle();
  return 0;
}

int TableClass::HandleUpdateWinnerSeat(const uint8_t* payload, uint32_t length) {
  Reader reader(payload, length);
  uint8_t seat = 0;
  char name[sizeof winner_name];
  uint32_t unused = 0;
  if (!reader.U8(&seat) || !reader.Text(name, sizeof name) || !reader.U32(&unused)) return 1;
  winner_seat = seat;
  std::memcpy(winner_name, name, sizeof winner_name);
  return 0;
}

int TableClass::ShowRebuyWindow(const uint8_t* payload, uint32_t length) {
  if (!rebuy_dialog) return 0;
  return rebuy_dialog->Open(instance_, window, table_id, payload, length);
}

int TableClass::CloseRebuyWindow(const uint8_t* payload, uint32_t length) {
  if (!rebuy_dialog) return 0;
  return rebuy_dialog->Close(payload, length);
}

int TableClass::HandlePlayMoneyTopupResult(const uint8_t* payload, uint32_t length) {
  DebugLog_WriteLevel(1, "HandlePlayMoneyTopupResult\n");
  if (payload == nullptr || length != 1) return 1;
  platform::HWND owner = window;
  if (buy_in_dialog->Window() != nullptr) {
    owner = buy_in_dialog->Window();
  } else if (more_cash_dialog->Window() != nullptr) {
    owner = more_cash_dialog->Window();
  }
  const uint8_t result = payload[0];
  if (result == 0) {
    if (buy_in_dialog->Window() != nullptr) {
      OpenBuyInDialog(buy_in_seat);
    } else if (more_cash_dialog->Window() != nullptr) {
      OpenMoreCashDialog();
    }
    refilled = 1;
    DebugLog_WriteLevel(1, "PlayMoneyTopupResult success\n");
  } else {
    ShowTableBox(owner,
                 result == 1 ? "Your refill was unsuccessful.\nPlease try again when your total available balance "
                               "is below $100."
                             : "Your refill was unsuccessful.\nPlease try again.",
                 kTableErrorBoxFlags);
    DebugLog_WriteLevel(1, "PlayMoneyTopupResult error (%ld)\n", static_cast<long>(result));
  }
  DebugLog_WriteLevel(1, "HandlePlayMoneyTopupResult done, ret 0\n");
  return 0;
}
