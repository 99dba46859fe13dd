// What a tournament window reaches outside itself: its game-server connection, the main window,
// sign-in and the opening of tables.
//
// Each method does exactly what the function it is named after does. The tournament windows call
// them through the neighbours in force: the program's own, unless a test has put a recording set
// in their place.
//
// UI thread only.
#pragma once

#include <cstdint>

#include "platform/window/window_types.h"

class TourneyNeighbours {
 public:
  virtual ~TourneyNeighbours() = default;

  // The network object.
  virtual uint8_t Network_Init(const char* host, uint16_t port, uint8_t server_list_index);
  virtual void Network_Release(uint8_t connection_id, bool immediately);
  virtual int Network_SendPacket(uint32_t type, const void* payload, uint32_t length,
                                 uint8_t connection_id);
  virtual uint32_t Network_GetLinkQuality(uint8_t connection_id);

  // The main window.
  virtual void Main_MoveLobbyConnection();
  virtual void Main_BringToFront();
  virtual int32_t Main_GameCodeToType(const char* code);

  // Sign-in.
  virtual bool Login_IsLoggedIn();
  // The signed-in name ("" when nobody is signed in).
  virtual const char* Login_GetUserName();
  virtual void Login_ShowDialog(platform::HWND parent, int32_t mode, int32_t table_id, int32_t seat);

  virtual void OpenOrForegroundTable(uint32_t table_id, int32_t game_type, int32_t seat,
                                     uint8_t server_list_index, const char* host, uint16_t port,
                                     int table_kind);
  virtual bool PlayMoneyEdition();
};

// The neighbours in force.
TourneyNeighbours& Tourney_GetNeighbours();
// Puts `neighbours` in force (nullptr: the program's own again). The caller keeps them alive.
void Tourney_SetNeighbours(TourneyNeighbours* neighbours);
