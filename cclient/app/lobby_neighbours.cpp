#include "cclient/lobby/lobby_neighbours.h"

#include "cclient/base/client_globals.h"
#include "cclient/app/login.h"
#include "cclient/app/main_window.h"
#include "cclient/base/server_list.h"
#include "cclient/net/network.h"
#include "cclient/table/table_list.h"
#include "platform/system/web_page.h"

namespace {

LobbyNeighbours* g_InForce = nullptr;

}  // namespace

int LobbyNeighbours::SendLobbyPacket(uint32_t type, const void* payload, uint32_t length) {
  return GlobalNetwork().SendPacket(type, payload, length, g_Main.lobby_connection);
}

bool LobbyNeighbours::Login_IsLoggedIn() { return ::Login_IsLoggedIn(); }

int32_t LobbyNeighbours::Main_GameCodeToType(const char* code) {
  return ::Main_GameCodeToType(code);
}

const char* LobbyNeighbours::ServerList_GetHost(uint8_t index) {
  return GlobalServerList().GetHost(index);
}

uint16_t LobbyNeighbours::ServerList_GetPort(uint8_t index) {
  return GlobalServerList().GetPort(index);
}

void LobbyNeighbours::OpenOrForegroundTable(uint32_t table_id, int32_t game_type, int32_t seat,
                                            uint8_t server_list_index, const char* host,
                                            uint16_t port, int table_kind) {
  ::OpenOrForegroundTable(table_id, game_type, seat, server_list_index, host, port, table_kind);
}

const uint8_t* LobbyNeighbours::Login_GetSessionId() { return ::Login_GetSessionId(); }

uint32_t LobbyNeighbours::Login_GetUserId() { return ::Login_GetUserId(); }

void LobbyNeighbours::Login_ShowSignIn() {
  ::Login_ShowDialog(ProgramInstance, MainWindow, LOGIN_MODE_PLAIN, -1, -1);
}

void LobbyNeighbours::Login_CountNewAccount() { ::Login_CountNewAccount(); }

bool LobbyNeighbours::Main_IsHosted() { return ::Main_IsHosted(); }

void LobbyNeighbours::Main_HostShowCashier() { ::Main_HostShowCashier(); }

bool LobbyNeighbours::OpenBrowser(const char* address) { return platform::OpenWebPage(address); }

LobbyNeighbours& Lobby_GetNeighbours() {
  static LobbyNeighbours program_own;
  return g_InForce != nullptr ? *g_InForce : program_own;
}

void Lobby_SetNeighbours(LobbyNeighbours* neighbours) { g_InForce = neighbours; }
