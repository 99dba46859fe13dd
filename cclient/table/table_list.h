// The one list of open tables (at most four).
//
// UI thread only.
#pragma once

#include <cstdint>

#include "platform/window/window_types.h"

class TableClass;

constexpr int kTableSlots = 4;
// CloseAll's connection filter that takes the tables of every connection.
constexpr int32_t kAnyConnection = -1;

class TableListClass {
 public:
  // PACKETTYPE_RESUMETABLES: 0, or 1 for a bad packet.
  int ResumeTables(const uint8_t* payload, uint32_t length);
  // Routes one packet of type 2100 or above to its table: the table's or game's result, 0 for a
  // table that is not open, 1 for an unknown type or a payload shorter than 4 bytes.
  int HandlePacket(uint32_t type, const uint8_t* payload, uint32_t length);
  // Leaves every table (of `connection_filter`'s connection, or of all with kAnyConnection) in
  // slot order: 0 when all are gone, else the number of tables still open.
  int CloseAll(int skip_confirmation, int send_leave, int32_t connection_filter);
  // The open table with that id: on-waiting-list = `flag`.
  void SetWaitingList(uint32_t table_id, int flag);
  // The table whose window it is, else nullptr.
  TableClass* FindByWindow(platform::HWND window);
  // The slot's window (nullptr) or table id (-1); a slot outside 0-3 gives nullptr / -1.
  platform::HWND GetWindow(int slot);
  long GetTableId(int slot);
  // Shows the slot's table window and brings it to the front.
  void ShowTable(int slot);
  // Steps every open table by the elapsed time.
  void Tick(float elapsed_seconds);
  // Redraws every open table, reloading its background first when `reload` is set.
  void RedrawAll(int reload);
  void SoundOnAll();
  void SoundOffAll();
  // A server's message to the open tables of server-list entry `server_list_index` (the table
  // with `table_id`, or all of them for 0).
  void ShowServerMessage(uint8_t server_list_index, uint32_t table_id, const char* text);
  // Marks the open tables of server-list entry `server_list_index` (every table for 0) as on a
  // server that shuts down.
  void SetServerShuttingDown(uint8_t server_list_index);
};

// The program's list of open tables.
TableListClass& GlobalTableList();

// Brings an open table to the front or opens a new one; errors are shown to the user. `seat` -1
// picks no seat; `table_kind` is the table-kind flag the server gave with the table.
void OpenOrForegroundTable(uint32_t table_id, int32_t game_type, int32_t seat,
                           uint8_t server_list_index, const char* host, uint16_t port,
                           int table_kind);
