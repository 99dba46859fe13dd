#include "cclient/lobby/tourney_neighbours.h"

#include "cclient/base/client_globals.h"
#include "cclient/app/login.h"
#include "cclient/app/main_window.h"
#include "cclient/base/startup_file.h"
#include "cclient/net/network.h"
#include "cclient/table/table_list.h"

namespace {

TourneyNeighbours* g_InForce = nullptr;

}  // namespace

uint8_t TourneyNeighbours::Network_Init(const char* host, uint16_t port, uint8_t server_list_index) {
  return GlobalNetwork().Init(MainWindow, host, port, server_list_index);
}

void TourneyNeighbours::Network_Release(uint8_t connection_id, bool immediately) {
  GlobalNetwork().Release(connection_id, immediately);
}

int TourneyNeighbours::Network_SendPacket(uint32_t type, const void* payload, uint32_t length,
                                          uint8_t connection_id) {
  return GlobalNetwork().SendPacket(type, payload, length, connection_id);
}

uint32_t TourneyNeighbours::Network_GetLinkQuality(uint8_t connection_id) {
  return GlobalNetwork().GetLinkQuality(connection_id);
}

void TourneyNeighbours::Main_MoveLobbyConnection() { ::Main_MoveLobbyConnection(); }
void TourneyNeighbours::Main_BringToFront() { ::Main_BringToFront(); }
int32_t TourneyNeighbours::Main_GameCodeToType(const char* code) { return ::Main_GameCodeToType(code); }
bool TourneyNeighbours::Login_IsLoggedIn() { return ::Login_IsLoggedIn(); }
const char* TourneyNeighbours::Login_GetUserName() { return ::Login_GetUserName(); }

void TourneyNeighbours::Login_ShowDialog(platform::HWND parent, int32_t mode, int32_t table_id,
                                         int32_t seat) {
  ::Login_ShowDialog(ProgramInstance, parent, mode, table_id, seat);
}

void TourneyNeighbours::OpenOrForegroundTable(uint32_t table_id, int32_t game_type, int32_t seat,
                                              uint8_t server_list_index, const char* host,
                                              uint16_t port, int table_kind) {
  ::OpenOrForegroundTable(table_id, game_type, seat, server_list_index, host, port, table_kind);
}

bool TourneyNeighbours::PlayMoneyEdition() { return ::PlayMoneyEdition != 0; }

TourneyNeighbours& Tourney_GetNeighbours() {
  static TourneyNeighbours program_own;
  return g_InForce != nullptr ? *g_InForce : program_own;
}

void Tourney_SetNeighbours(TourneyNeighbours* neighbours) { g_InForce = neighbours; }
