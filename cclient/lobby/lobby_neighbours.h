// What the lobby's windows and the account dialogs reach outside themselves: the lobby
// connection's send, the signed-in state and session, the game codes, the server list, the
// opening of a table, the sign-in dialog, the account count, hosted mode and the browser.
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
  // The 12 bytes of the server session id received at sign-in.
  virtual const uint8_t* Login_GetSessionId();
  virtual uint32_t Login_GetUserId();
  // Login_ShowDialog for a plain sign-in over the main window.
  virtual void Login_ShowSignIn();
  virtual void Login_CountNewAccount();
  virtual bool Main_IsHosted();
  virtual void Main_HostShowCashier();
  // platform::OpenWebPage: true when the browser was started.
  virtual bool OpenBrowser(const char* address);
};

// The neighbours in force.
LobbyNeighbours& Lobby_GetNeighbours();
// Puts `neighbours` in force (nullptr: the program's own again). The caller keeps it alive.
void Lobby_SetNeighbours(LobbyNeighbours* neighbours);
