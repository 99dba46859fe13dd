#include "cclient/table/table_neighbours.h"

#include "cclient/base/main_message_box.h"
#include "cclient/app/login.h"
#include "cclient/app/main_window.h"
#include "cclient/base/server_list.h"
#include "cclient/lobby/web_pages.h"
#include "cclient/net/network.h"

namespace {

TableNeighbours& ProgramNeighbours() {
  static TableNeighbours neighbours;
  return neighbours;
}

TableNeighbours* g_neighbours = nullptr;

}  // namespace

TableNeighbours& Table_GetNeighbours() {
  return g_neighbours != nullptr ? *g_neighbours : ProgramNeighbours();
}

void Table_SetNeighbours(TableNeighbours* neighbours) { g_neighbours = neighbours; }

uint8_t TableNeighbours::Network_Init(platform::HWND owner, const char* host, uint32_t port,
                                      uint8_t server_list_index) {
  return GlobalNetwork().Init(owner, host, port, server_list_index);
}

void TableNeighbours::Network_Release(uint8_t connection_id, bool immediately) {
  GlobalNetwork().Release(connection_id, immediately);
}

int TableNeighbours::Network_SendPacket(uint32_t type, const void* payload, uint32_t length,
                                        uint8_t connection_id) {
  return GlobalNetwork().SendPacket(type, payload, length, connection_id);
}

bool TableNeighbours::Network_IsServerLinked(const char* host, uint32_t port) {
  return GlobalNetwork().IsServerLinked(host, port);
}

void TableNeighbours::Network_AddPendingTable(uint32_t table_id, uint8_t connection_id) {
  GlobalNetwork().AddPendingTable(table_id, connection_id);
}

uint32_t TableNeighbours::Network_GetLinkQuality(uint8_t connection_id) {
  return GlobalNetwork().GetLinkQuality(connection_id);
}

void TableNeighbours::Main_BringToFront() { ::Main_BringToFront(); }

void TableNeighbours::Main_ErrorBox(const char* text) { ::Main_ErrorBox(text); }

int32_t TableNeighbours::Main_GameCodeToType(const char* code) {
  return ::Main_GameCodeToType(code);
}

bool TableNeighbours::ServerList_GetServer(uint8_t server_list_index, const char** host,
                                           uint16_t* port) {
  const ServerList& list = GlobalServerList();
  const char* entry_host = list.GetHost(server_list_index);
  if (entry_host == nullptr || entry_host[0] == '\0') return false;
  *host = entry_host;
  *port = list.GetPort(server_list_index);
  return true;
}

void TableNeighbours::Main_HotPickTableOpened(uint32_t table_id, int32_t game_type, int table_kind) {
  ::Main_HotPickTableOpened(table_id, game_type, table_kind);
}

void TableNeighbours::Main_HotPickTableClosed(uint32_t table_id) {
  ::Main_HotPickTableClosed(table_id);
}

void TableNeighbours::Main_HotPickRemember(uint32_t table_id, const char* name, int redraw_only,
                                           int32_t game_type, uint8_t server_id, const char* host,
                                           uint16_t port) {
  ::Main_HotPickRemember(table_id, name, redraw_only, game_type, server_id, host, port);
}

void TableNeighbours::Main_HotPickForget(uint32_t table_id) { ::Main_HotPickForget(table_id); }

void TableNeighbours::Main_SetLobbyConnection(uint8_t server_list_index, uint8_t connection_id) {
  ::Main_SetLobbyConnection(server_list_index, connection_id);
}

void TableNeighbours::Main_MoveLobbyConnection() { ::Main_MoveLobbyConnection(); }

void TableNeighbours::Main_EnterLobbyIfNotThere() { ::Main_EnterLobbyIfNotThere(); }

const char* TableNeighbours::Login_GetSignedInName() {
  return ::Login_IsLoggedIn() ? ::Login_GetUserName() : nullptr;
}

void TableNeighbours::Login_CancelDialog() { ::Login_CancelDialog(); }

void TableNeighbours::Login_ShowDialog(platform::HINSTANCE instance, platform::HWND parent,
                                       int32_t mode, int32_t table_id, int32_t seat) {
  ::Login_ShowDialog(instance, parent, mode, table_id, seat);
}

void TableNeighbours::OpenGameHelp(platform::HWND window, int32_t game) {
  ::OpenGameHelp(window, game);
}

void TableNeighbours::OpenSitePage(platform::HWND window, const char* path) {
  ::OpenSitePage(window, path);
}

void TableNeighbours::OpenCashier(platform::HWND window) { ::OpenCashier(window); }
