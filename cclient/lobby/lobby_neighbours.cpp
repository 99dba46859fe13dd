#include "cclient/lobby/lobby_neighbours.h"

#include "cclient/core/login.h"
#include "cclient/core/main_window.h"
#include "cclient/core/server_list.h"
#include "cclient/net/network.h"
#include "cclient/table/table_list.h"

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

LobbyNeighbours& Lobby_GetNeighbours() {
  static LobbyNeighbours program_own;
  return g_InForce != nullptr ? *g_InForce : program_own;
}

void Lobby_SetNeighbours(LobbyNeighbours* neighbours) { g_InForce = neighbours; }
