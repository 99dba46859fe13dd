// The list of open tables and the table operations that this build does not have yet: no table
// ever opens, so the list is always empty. Each operation logs its call and does nothing else; a
// packet handler answers "not handled". Each function moves out of this file into its own module
// when that module is written.
#include <cstdint>

#include "cclient/core/debug_log.h"
#include "cclient/core/main_window.h"
#include "cclient/net/use_packet.h"
#include "cclient/table/table.h"
#include "cclient/table/table_list.h"

namespace {

void NotInBuild(const char* operation) {
  DebugLog_WriteLevel(1, "%s: not in this build.\n", operation);
}

}  // namespace

TableListClass& GlobalTableList() {
  static TableListClass list;
  return list;
}

// No table can be open in this build, so there is nothing to resume: the server sends this after
// its hello, and what remains is that the lobby is entered.
int TableListClass::ResumeTables(const uint8_t* payload, uint32_t length) {
  NotInBuild("TableListClass::ResumeTables");
  Main_EnterLobbyIfNotThere();
  return kPacketHandled;
}

int TableListClass::HandlePacket(uint32_t type, const uint8_t* payload, uint32_t length) {
  NotInBuild("TableListClass::HandlePacket");
  return kPacketUnknown;
}

int TableListClass::CloseAll(int skip_confirmation, int send_leave, int32_t connection_filter) {
  NotInBuild("TableListClass::CloseAll");
  return 0;
}

void TableListClass::SetWaitingList(uint32_t table_id, int flag) {
  NotInBuild("TableListClass::SetWaitingList");
}

TableClass* TableListClass::FindByWindow(platform::HWND window) {
  NotInBuild("TableListClass::FindByWindow");
  return nullptr;
}

platform::HWND TableListClass::GetWindow(int slot) {
  NotInBuild("TableListClass::GetWindow");
  return nullptr;
}

long TableListClass::GetTableId(int slot) {
  NotInBuild("TableListClass::GetTableId");
  return -1;
}

void TableListClass::ShowTable(int slot) { NotInBuild("TableListClass::ShowTable"); }

void OpenOrForegroundTable(uint32_t table_id, int32_t game_type, int32_t seat,
                           uint8_t server_list_index, const char* host, uint16_t port,
                           int table_kind) {
  NotInBuild("OpenOrForegroundTable");
}

bool TableClass::SetSeatNotification(const char* title, const char* text) {
  NotInBuild("TableClass::SetSeatNotification");
  return false;
}

// No table is ever open in this build: there is nothing to step (and a line per tick would flood
// the log).
void TableListClass::Tick(float elapsed_seconds) {}

void TableListClass::RedrawAll(int reload) { NotInBuild("TableListClass::RedrawAll"); }

void TableListClass::SoundOnAll() { NotInBuild("TableListClass::SoundOnAll"); }

void TableListClass::SoundOffAll() { NotInBuild("TableListClass::SoundOffAll"); }

void TableListClass::ShowServerMessage(uint8_t server_list_index, uint32_t table_id,
                                       const char* text) {
  NotInBuild("TableListClass::ShowServerMessage");
}

void TableListClass::SetServerShuttingDown(uint8_t server_list_index) {
  NotInBuild("TableListClass::SetServerShuttingDown");
}
