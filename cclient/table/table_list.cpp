#include "cclient/table/table_list.h"

#include <cstring>

#include "cclient/base/client_globals.h"
#include "cclient/base/debug_log.h"
#include "cclient/base/packet_reader.h"
#include "cclient/net/packet_types.h"
#include "cclient/table/rebuy_dialog.h"
#include "cclient/table/stats_window.h"
#include "cclient/table/table_neighbours.h"
#include "cclient/table/table_packets.h"
#include "platform/window/activation.h"
#include "platform/window/window.h"

namespace {

constexpr uint32_t kMaxResumeEntries = 100;
constexpr int kResumeUsedEntries = kTableSlots;

struct ResumeEntry {
  uint8_t server_list_index = 0;
  uint32_t table_id = 0;
  char game_code[4] = {};
  uint32_t flags = 0;
  bool done = false;
};

void SendJoinRequest(const TableClass& table) {
  const uint8_t payload[4] = {static_cast<uint8_t>(table.table_id >> 24), static_cast<uint8_t>(table.table_id >> 16),
                              static_cast<uint8_t>(table.table_id >> 8), static_cast<uint8_t>(table.table_id)};
  (void)Table_GetNeighbours().Network_SendPacket(PACKETTYPE_JOINTABLEREQUEST, payload, sizeof payload,
                                                 table.connection_id);
}

}  // namespace

TableListClass& GlobalTableList() {
  static TableListClass list;
  return list;
}

TableListClass::BusyScope::~BusyScope() {
  if (--list_->busy_depth_ == 0) list_->DeleteRetired();
}

TableListClass::~TableListClass() { Clear(); }

void TableListClass::Clear() {
  for (auto& slot : slots_) slot.reset();
  retired_.clear();
}

void TableListClass::Retire(int slot) {
  if (!slots_[slot]) return;
  retired_.push_back(std::move(slots_[slot]));
  if (busy_depth_ == 0) DeleteRetired();
}

void TableListClass::DeleteRetired() {
  // A table's destructor may end windows whose procedures enter table code again; hold the list
  // busy meanwhile, so that nothing is deleted twice.
  while (!retired_.empty()) {
    std::vector<std::unique_ptr<TableClass>> gone;
    gone.swap(retired_);
    ++busy_depth_;
    gone.clear();
    --busy_depth_;
  }
}

int TableListClass::FirstFreeSlot() const {
  for (int slot = 0; slot < kTableSlots; ++slot) {
    if (!slots_[slot]) return slot;
  }
  return -1;
}

const char* TableListClass::NewTable(platform::HINSTANCE instance, platform::HWND owner, int32_t game_type,
                                     uint32_t table_id, const char* name, int32_t picked_seat,
                                     uint8_t server_list_index, const char* host, uint32_t port,
                                     uint8_t table_kind) {
  DebugLog_WriteLevel(1, "Openning Table of Game ID %ld\n", static_cast<long>(table_id));
  DebugLog_WriteLevel(1, "TableListClass::NewTable\n");
  const int slot = FirstFreeSlot();
  if (slot < 0) {
    return "You have already opened the maximum of 4 tables.\nPlease close a table before opening a new one.";
  }
  TableNeighbours& neighbours = Table_GetNeighbours();
  DebugLog_WriteLevel(1, "TableListClass::NewTable preA\n");
  slots_[slot] = std::make_unique<TableClass>();
  TableClass* table = slots_[slot].get();
  DebugLog_WriteLevel(1, "TableListClass::NewTable A\n");
  const bool linked = neighbours.Network_IsServerLinked(host, port);
  const char* error = table->Create(instance, owner, game_type, table_id, name, picked_seat, server_list_index,
                                    host, port, table_kind);
  DebugLog_WriteLevel(1, "TableListClass::NewTable B\n");
  if (error != nullptr) {
    // The connection the table asked for is given back, once.
    (void)table->ReleaseConnection();
    if (table->Window() != nullptr) platform::DestroyWindow(table->Window());
    if (slots_[slot].get() == table) Retire(slot);
    return error;
  }
  if (linked) {
    SendJoinRequest(*table);
  } else {
    neighbours.Network_AddPendingTable(table_id, table->connection_id);
  }
  DebugLog_WriteLevel(1, "TableListClass::NewTable C\n");
  neighbours.Main_RedrawButtons();
  neighbours.Main_HotPickTableOpened(table_id, game_type, table_kind);
  return nullptr;
}

void OpenOrForegroundTable(uint32_t table_id, int32_t game_type, int32_t seat, uint8_t server_list_index,
                           const char* host, uint16_t port, int table_kind) {
  DebugLog_WriteLevel(1, "OpenOrForegroundTable Game ID %ld\n", static_cast<long>(table_id));
  DebugLog_WriteLevel(1, "OpenOrForegroundTable gametype is '%ld'\n", static_cast<long>(game_type));
  DebugLog_WriteLevel(1, "OpenOrForegroundTable seat index is %ld\n", static_cast<long>(seat));
  TableListClass& list = GlobalTableList();
  const TableListClass::BusyScope busy = list.EnterTableCode();
  if (TableClass* table = list.FindById(table_id); table != nullptr) {
    if (platform::IsWindowVisible(table->Window())) platform::ShowWindow(table->Window(), platform::SW_SHOWNORMAL);
    platform::SetForegroundWindow(table->Window());
    if (seat >= 0) table->OpenBuyInDialog(seat);
    return;
  }
  if (game_type == -1) {
    DebugLog_Write("Unknown game code for OpenOrForegroundTable (%ld).\n", static_cast<long>(table_id));
    return;
  }
  if (const char* error = list.NewTable(ProgramInstance, MainWindow, game_type, table_id, "Table", seat,
                                        server_list_index, host, port, static_cast<uint8_t>(table_kind != 0));
      error != nullptr) {
    DebugLog_Write("Create table error '%s'\n", error);
    Table_GetNeighbours().Main_ErrorBox(error);
  }
}

int TableListClass::ResumeTables(const uint8_t* payload, uint32_t length) {
  const BusyScope busy = EnterTableCode();
  TableNeighbours& neighbours = Table_GetNeighbours();
  const uint8_t* read = payload;
  int32_t left = payload != nullptr ? static_cast<int32_t>(std::min<uint32_t>(length, INT32_MAX)) : 0;
  uint32_t count = 0;
  if (PacketReadU32(&count, &read, &left) != 0 || count > kMaxResumeEntries) return 1;
  ResumeEntry entries[kResumeUsedEntries];
  int used = 0;
  for (uint32_t index = 0; index < count; ++index) {
    ResumeEntry entry;
    if (PacketReadU8(&entry.server_list_index, &read, &left) != 0 ||
        PacketReadU32(&entry.table_id, &read, &left) != 0 ||
        PacketReadBytes(entry.game_code, sizeof entry.game_code, &read, &left) != 0 ||
        PacketReadU32(&entry.flags, &read, &left) != 0) {
      return 1;
    }
    entry.game_code[3] = '\0';
    if (used < kResumeUsedEntries) entries[used++] = entry;
  }
  // A table listed twice is opened once.
  for (int i = 0; i < used; ++i) {
    for (int j = 0; j < i; ++j) {
      if (entries[j].table_id == entries[i].table_id) entries[i].done = true;
    }
  }

  int spare = kResumeUsedEntries - used;
  for (int slot = 0; slot < kTableSlots; ++slot) {
    TableClass* table = slots_[slot].get();
    if (table == nullptr) continue;
    bool listed = false;
    for (int i = 0; i < used; ++i) {
      if (entries[i].table_id == table->table_id) {
        if (!listed) SendJoinRequest(*table);
        listed = true;
        entries[i].done = true;
      }
    }
    if (listed) continue;
    if (spare > 0) {
      --spare;
      continue;
    }
    (void)table->Leave(1, 1, kAnyConnection);
    if (slots_[slot].get() == table) Retire(slot);
  }

  for (int i = 0; i < used; ++i) {
    if (entries[i].done) continue;
    const int32_t game_type = neighbours.Main_GameCodeToType(entries[i].game_code);
    if (game_type < 0) {
      DebugLog_Write("Unknown game code for hello resume (%s).\n", entries[i].game_code);
      continue;
    }
    const char* host = "";
    uint16_t port = 0;
    (void)neighbours.ServerList_GetServer(entries[i].server_list_index, &host, &port);
    if (const char* error =
            NewTable(ProgramInstance, MainWindow, game_type, entries[i].table_id, "Resume Table", -1,
                     entries[i].server_list_index, host, port, static_cast<uint8_t>(entries[i].flags & 1));
        error != nullptr) {
      DebugLog_Write("Create table error '%s'\n", error);
      neighbours.Main_ErrorBox(error);
    }
  }
  neighbours.Main_EnterLobbyIfNotThere();
  return 0;
}

int TableListClass::HandlePacket(uint32_t type, const uint8_t* payload, uint32_t length) {
  const BusyScope busy = EnterTableCode();
  DebugLog_WriteLevel(1, "TableListClass::HandlePacket(%ld) length %ld\n", static_cast<long>(type),
                      static_cast<long>(length));
  const uint8_t* read = payload;
  int32_t left = payload != nullptr ? static_cast<int32_t>(std::min<uint32_t>(length, INT32_MAX)) : 0;
  uint32_t table_id = 0;
  if (PacketReadU32(&table_id, &read, &left) != 0) return 1;
  const uint32_t rest_length = static_cast<uint32_t>(left);
  TableClass* table = FindById(table_id);
  if (table == nullptr) {
    DebugLog_WriteLevel(1, "Unknown table ID of %ld, ignoring packet (type %ld).\n", static_cast<long>(table_id),
                        static_cast<long>(type));
    return 0;
  }
  struct GameRange {
    uint32_t first;
    int32_t game_type;
  };
  static constexpr GameRange kGameRanges[] = {
      {2400, GAMETYPE_HOLDEM}, {2700, GAMETYPE_PAN},       {2200, GAMETYPE_CHINESE_POKER},
      {2600, GAMETYPE_BIG2},   {2800, GAMETYPE_BLACKJACK}, {2900, GAMETYPE_SEVEN_CARD_STUD},
      {3000, GAMETYPE_GUTS},   {2500, GAMETYPE_OMAHA},
  };
  for (const GameRange& range : kGameRanges) {
    if (type >= range.first && type < range.first + 100) {
      return table->HandleGamePacket(type, range.game_type, read, rest_length);
    }
  }
  const char* name = TablePacketName(type);
  if (name == nullptr) {
    DebugLog_WriteLevel(1, "Unknown packet type (%ld)\n", static_cast<long>(type));
    return 1;
  }
  DebugLog_WriteLevel(1, "%s\n", name);
  switch (type) {
    case PACKETTYPE_JOINTABLERESULT: return table->HandleJoinTableResult(read, rest_length);
    case PACKETTYPE_TABLEDEALERMESSAGE: return table->AddDealerMessage(read, rest_length);
    case PACKETTYPE_TABLEDEALERSUMMARYMESSAGE: return table->AddDealerSummary(read, rest_length);
    case PACKETTYPE_TABLEPLAYERMESSAGE: return table->AddPlayerMessage(read, rest_length);
    case PACKETTYPE_TABLESITRESULT: return table->HandleTableSitResult(read, rest_length);
    case PACKETTYPE_TABLEADDPLAYER: return table->HandleTableAddPlayer(read, rest_length);
    case PACKETTYPE_TABLEREMOVEPLAYER: return table->HandleTableRemovePlayer(read, rest_length);
    case PACKETTYPE_TABLELEAVERESPONSE: return table->HandleTableLeaveResponse(read, rest_length);
    case PACKETTYPE_TABLEBALANCERESPONSE: return table->HandleTableBalanceResponse(read, rest_length);
    case PACKETTYPE_TABLESEATSTATECHANGE: return 0;
    case PACKETTYPE_TABLEUPDATEPLAYERBALANCE: return table->HandleTableUpdatePlayerBalance(read, rest_length);
    case PACKETTYPE_TABLEUPDATEPLAYERFLAGS: return table->HandleTableUpdatePlayerFlags(read, rest_length);
    case PACKETTYPE_TABLEOVERLAYMESSAGE: return table->HandleOverlayMessage(read, rest_length);
    case PACKETTYPE_UPDATESTAKESSTRING: return table->HandleUpdateStakesString(read, rest_length);
    case PACKETTYPE_UPDATEWINNERSEAT: return table->HandleUpdateWinnerSeat(read, rest_length);
    case PACKETTYPE_TABLESHOWREBUYWINDOW: return table->ShowRebuyWindow(read, rest_length);
    case PACKETTYPE_TABLECLOSEREBUYWINDOW: return table->CloseRebuyWindow(read, rest_length);
    case PACKETTYPE_PLAYMONEYTOPUPRESULT: return table->HandlePlayMoneyTopupResult(read, rest_length);
    case PACKETTYPE_FORCECLOSETABLE:
      if (table->Window() != nullptr) platform::DestroyWindow(table->Window());
      for (int slot = 0; slot < kTableSlots; ++slot) {
        if (slots_[slot].get() == table) {
          (void)table->ReleaseConnection();
          Retire(slot);
        }
      }
      return 0;
    default:
      return 1;
  }
}

void TableListClass::Tick(float seconds) {
  const BusyScope busy = EnterTableCode();
  for (auto& slot : slots_) {
    if (slot) slot->Tick(seconds);
  }
}

int TableListClass::CloseAll(int skip_confirmation, int send_leave, int32_t connection_filter) {
  const BusyScope busy = EnterTableCode();
  for (int slot = 0; slot < kTableSlots; ++slot) {
    TableClass* table = slots_[slot].get();
    if (table == nullptr) continue;
    if (table->Leave(skip_confirmation, send_leave, connection_filter) == 1) {
      int open = 0;
      for (int later = slot; later < kTableSlots; ++later) open += slots_[later] ? 1 : 0;
      return open;
    }
    if (slots_[slot].get() == table) Retire(slot);
  }
  return 0;
}

void TableListClass::RedrawAll(bool reload) {
  const BusyScope busy = EnterTableCode();
  for (auto& slot : slots_) {
    if (slot) slot->RedrawAll(reload);
  }
}

void TableListClass::SoundOffAll() {
  for (auto& slot : slots_) {
    if (slot) slot->SoundOff();
  }
}

void TableListClass::SoundOnAll() {
  for (auto& slot : slots_) {
    if (slot) slot->SoundOn();
  }
}

void TableListClass::RefreshPlayer(const char* name) {
  for (auto& slot : slots_) {
    if (slot) slot->RefreshPlayer(name);
  }
}

void TableListClass::ShowServerMessage(uint8_t server_list_index, uint32_t table_id_or_zero, const char* text) {
  const BusyScope busy = EnterTableCode();
  for (auto& slot : slots_) {
    if (slot) slot->ShowServerMessage(server_list_index, table_id_or_zero, text);
  }
}

void TableListClass::SetServerShuttingDown(uint8_t server_list_index) {
  for (auto& slot : slots_) {
    if (slot) slot->SetServerShuttingDown(server_list_index);
  }
}

void TableListClass::SetWaitingList(uint32_t table_id, int flag) {
  if (TableClass* table = FindById(table_id); table != nullptr) {
    table->on_waiting_list = static_cast<uint32_t>(flag);
    table->UpdateTableButtons();
  }
}

void TableListClass::OpenBuyInForTable(uint32_t table_id, int32_t seat) {
  if (TableClass* table = FindById(table_id); table != nullptr) table->OpenBuyInDialog(seat);
}

void TableListClass::JoinWaitingListForTable(uint32_t table_id) {
  if (TableClass* table = FindById(table_id); table != nullptr) table->JoinWaitingList();
}

int TableListClass::PreTranslateMessage(platform::MSG* message) {
  for (auto& slot : slots_) {
    if (slot && slot->PreTranslateDialogs(message) == 0) return 0;
  }
  return 1;
}

BuyInDialog* TableListClass::FindBuyInDialog(platform::HWND dialog) const {
  for (const auto& slot : slots_) {
    if (slot && dialog != nullptr && slot->BuyIn()->Window() == dialog) return slot->BuyIn();
  }
  return nullptr;
}

MoreCashDialog* TableListClass::FindMoreCashDialog(platform::HWND dialog) const {
  for (const auto& slot : slots_) {
    if (slot && dialog != nullptr && slot->MoreCash()->Window() == dialog) return slot->MoreCash();
  }
  return nullptr;
}

StatsWindow* TableListClass::FindStatsWindow(platform::HWND window) const {
  for (const auto& slot : slots_) {
    if (slot && window != nullptr && slot->Stats()->Window() == window) return slot->Stats();
  }
  return nullptr;
}

RebuyDialog* TableListClass::FindRebuyDialog(platform::HWND dialog) const {
  for (const auto& slot : slots_) {
    if (slot && dialog != nullptr && slot->Rebuy()->Window() == dialog) return slot->Rebuy();
  }
  return nullptr;
}

TableClass* TableListClass::FindByWindow(platform::HWND window) const {
  if (window == nullptr) return nullptr;
  for (const auto& slot : slots_) {
    if (slot && slot->Window() == window) return slot.get();
  }
  return nullptr;
}

TableClass* TableListClass::FindById(uint32_t table_id) const {
  for (const auto& slot : slots_) {
    if (slot && slot->table_id == table_id) return slot.get();
  }
  return nullptr;
}

TableClass* TableListClass::GetTable(int slot) const {
  return slot >= 0 && slot < kTableSlots ? slots_[slot].get() : nullptr;
}

platform::HWND TableListClass::GetWindow(int slot) {
  const TableClass* table = GetTable(slot);
  return table != nullptr ? table->Window() : nullptr;
}

long TableListClass::GetTableId(int slot) {
  const TableClass* table = GetTable(slot);
  return table != nullptr ? static_cast<long>(table->table_id) : -1;
}

void TableListClass::ShowTable(int slot) {
  const TableClass* table = GetTable(slot);
  if (table == nullptr || table->Window() == nullptr) return;
  platform::ShowWindow(table->Window(), platform::SW_SHOWNORMAL);
  platform::SetForegroundWindow(table->Window());
}

void TableListClass::OnTableWindowDestroyed(platform::HWND window) {
  TableNeighbours& neighbours = Table_GetNeighbours();
  for (int slot = 0; slot < kTableSlots; ++slot) {
    TableClass* table = slots_[slot].get();
    if (table == nullptr || table->Window() != window) continue;
    const uint32_t table_id = table->table_id;
    if (table->ReleaseConnection()) neighbours.Main_MoveLobbyConnection();
    Retire(slot);
    neighbours.Main_RedrawButtons();
    neighbours.Main_HotPickTableClosed(table_id);
    return;
  }
  neighbours.Main_RedrawButtons();
}
