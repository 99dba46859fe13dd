// What the buddy list and the bonus windows reach outside themselves: the lobby connection's
// send, the signed-in state, the game codes, the server list and the opening of a table.
//
// Each method does exactly what the function it is named after does. The windows call them
// through the neighbours in force: the program's own, unless a test has put a recording set in
// their place.
//
// UI thread only.
#pragma once

#include <cstdint>

class LobbyNeighbours {
 public:
  virtual ~LobbyNeighbours() = default;

  // Network::SendPacket on the lobby's connection.
  virtual int SendLobbyPacket(uint32_t type, const void* payload, uint32_t length);
  virtual bool Login_IsLoggedIn();
  virtual int32_t Main_GameCodeToType(const char* code);
  // The server list's host and port of an entry.
  virtual const char* ServerList_GetHost(uint8_t index);
  virtual uint16_t ServerList_GetPort(uint8_t index);
  virtual void OpenOrForegroundTable(uint32_t table_id, int32_t game_type, int32_t seat,
                                     uint8_t server_list_index, const char* host, uint16_t port,
                                     int table_kind);
};

// The neighbours in force.
LobbyNeighbours& Lobby_GetNeighbours();
// Puts `neighbours` in force (nullptr: the program's own again). The caller keeps it alive.
void Lobby_SetNeighbours(LobbyNeighbours* neighbours);
