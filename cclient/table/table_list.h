// The one list of open tables (at most four): it opens tables, brings an open one forward, reopens
// the tables the server lists after a reconnect, routes every table packet to its table and game,
// closes tables, and fans out the tick and the program-wide changes to every open table.
//
// The list owns the tables. A table leaves its slot when its window is destroyed (leaving, a
// forced close), when its Create fails, or when the list ends. Because a window can be destroyed
// from inside the table's own code (its button handler, its game's tick, a box's nested loop), a
// table whose window is gone is first retired and deleted only when no table code is running:
// every entry into table code (the window procedure, packets, ticks) holds a BusyScope, and the
// last one to end deletes the retired tables.
//
// UI thread only.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "cclient/table/table.h"
#include "platform/window/window_types.h"

class BuyInDialog;
class MoreCashDialog;
class RebuyDialog;
class StatsWindow;

constexpr int kTableSlots = 4;

class TableListClass {
 public:
  TableListClass() = default;
  ~TableListClass();
  TableListClass(const TableListClass&) = delete;
  TableListClass& operator=(const TableListClass&) = delete;

  // Held while table code runs; retired tables are deleted when the last one ends.
  class BusyScope {
   public:
    explicit BusyScope(TableListClass* list) : list_(list) { ++list_->busy_depth_; }
    ~BusyScope();
    BusyScope(const BusyScope&) = delete;
    BusyScope& operator=(const BusyScope&) = delete;

   private:
    TableListClass* list_;
  };
  [[nodiscard]] BusyScope EnterTableCode() { return BusyScope(this); }

  // Opens a table in the first free slot: nullptr on success, else the text to show.
  [[nodiscard]] const char* NewTable(platform::HINSTANCE instance, platform::HWND owner, int32_t game_type,
                                     uint32_t table_id, const char* name, int32_t picked_seat,
                                     uint8_t server_list_index, const char* host, uint32_t port,
                                     uint8_t table_kind);
  // PACKETTYPE_RESUMETABLES: 0, or 1 for a bad packet.
  int ResumeTables(const uint8_t* payload, uint32_t length);
  // Routes one packet of type 2100 or above to its table: the table's or game's result, 0 for a
  // table that is not open, 1 for an unknown type or a payload shorter than 4 bytes.
  int HandlePacket(uint32_t type, const uint8_t* payload, uint32_t length);
  void Tick(float seconds);
  // Leaves every table (of `connection_filter`'s connection, or of all with kAnyConnection) in
  // slot order: 0 when all are gone, else the number of tables still open from the first that
  // stayed.
  int CloseAll(int skip_confirmation, int send_leave, int32_t connection_filter);
  void RedrawAll(bool reload);
  void SoundOffAll();
  void SoundOnAll();
  void RefreshPlayer(const char* name);
  void ShowServerMessage(uint8_t server_list_index, uint32_t table_id_or_zero, const char* text);
  void SetServerShuttingDown(uint8_t server_list_index);
  // The open table with that id: on-waiting-list = `flag`.
  void SetWaitingList(uint32_t table_id, int flag);
  void OpenBuyInForTable(uint32_t table_id, int32_t seat);
  void JoinWaitingListForTable(uint32_t table_id);
  // Offers the message to each table's dialogs: 0 when one consumed it, else 1.
  int PreTranslateMessage(platform::MSG* message);

  BuyInDialog* FindBuyInDialog(platform::HWND dialog) const;
  MoreCashDialog* FindMoreCashDialog(platform::HWND dialog) const;
  StatsWindow* FindStatsWindow(platform::HWND window) const;
  RebuyDialog* FindRebuyDialog(platform::HWND dialog) const;
  // The table whose window it is, else nullptr.
  TableClass* FindByWindow(platform::HWND window) const;
  TableClass* FindById(uint32_t table_id) const;
  // The slot's table, window (nullptr) or table id (-1); a slot outside 0-3 gives nullptr / -1.
  TableClass* GetTable(int slot) const;
  platform::HWND GetWindow(int slot);
  long GetTableId(int slot);
  // Shows the slot's table window and brings it to the front.
  void ShowTable(int slot);
  // A table window was destroyed: its table leaves its slot and is deleted at the next safe point.
  void OnTableWindowDestroyed(platform::HWND window);
  // Deletes every table in the list at once (the end of the program, and tests).
  void Clear();
  size_t RetiredCount() const { return retired_.size(); }

 private:
  void Retire(int slot);
  void DeleteRetired();
  int FirstFreeSlot() const;

  std::unique_ptr<TableClass> slots_[kTableSlots];
  std::vector<std::unique_ptr<TableClass>> retired_;
  int busy_depth_ = 0;
};

// The program's list of open tables.
TableListClass& GlobalTableList();

// Brings an open table to the front or opens a new one; errors are shown to the user. `seat` -1
// picks no seat; `table_kind` is the table-kind flag the server gave with the table.
void OpenOrForegroundTable(uint32_t table_id, int32_t game_type, int32_t seat,
                           uint8_t server_list_index, const char* host, uint16_t port,
                           int table_kind);
