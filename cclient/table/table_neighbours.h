// Everything the table host reaches outside itself: the network object, the main window (its hot
// picks, lobby connection, buttons and boxes), sign-in, the game-server list and the web pages.
//
// Each method is named after the function it stands for ("Main_HotPickForget" for the main
// window's Main_HotPickForget) and does exactly what that function does. The table host calls
// them through the neighbours in force: the program's own, unless a test has put a recording set
// in their place.
//
// UI thread only.
#pragma once

#include <cstdint>

#include "platform/window/window_types.h"

class TableNeighbours {
 public:
  virtual ~TableNeighbours() = default;

  // The network object.
  virtual uint8_t Network_Init(platform::HWND owner, const char* host, uint32_t port,
                               uint8_t server_list_index);
  virtual void Network_Release(uint8_t connection_id, bool immediately);
  virtual int Network_SendPacket(uint32_t type, const void* payload, uint32_t length,
                                 uint8_t connection_id);
  virtual bool Network_IsServerLinked(const char* host, uint32_t port);
  virtual void Network_AddPendingTable(uint32_t table_id, uint8_t connection_id);
  virtual uint32_t Network_GetLinkQuality(uint8_t connection_id);

  // The main window.
  virtual void Main_HotPickTableOpened(uint32_t table_id, int32_t game_type, int table_kind);
  virtual void Main_HotPickTableClosed(uint32_t table_id);
  virtual void Main_HotPickRemember(uint32_t table_id, const char* name, int redraw_only,
                                    int32_t game_type, uint8_t server_id, const char* host,
                                    uint16_t port);
  virtual void Main_HotPickForget(uint32_t table_id);
  virtual void Main_SetLobbyConnection(uint8_t server_list_index, uint8_t connection_id);
  virtual void Main_MoveLobbyConnection();
  virtual void Main_BringToFront();
  virtual void Main_RedrawButtons();
  virtual void Main_EnterLobbyIfNotThere();
  virtual void Main_ErrorBox(const char* text);
  virtual int32_t Main_GameCodeToType(const char* code);
  // The game-server list's entry: false when it has none.
  virtual bool ServerList_GetServer(uint8_t server_list_index, const char** host, uint16_t* port);

  // Sign-in.
  // The signed-in user's name; nullptr when nobody is signed in.
  virtual const char* Login_GetSignedInName();
  virtual void Login_ShowDialog(platform::HINSTANCE instance, platform::HWND parent, int32_t mode,
                                int32_t table_id, int32_t seat);
  // Cancels the sign-in dialog when it is open.
  virtual void Login_CancelDialog();

  // Web pages.
  virtual void OpenGameHelp(platform::HWND window, int32_t game);
  virtual void OpenSitePage(platform::HWND window, const char* path);
  virtual void OpenCashier(platform::HWND window);
};

// The neighbours the table host uses now.
TableNeighbours& Table_GetNeighbours();
// Puts `neighbours` in force (the caller keeps them alive while in force); nullptr puts the
// program's own back.
void Table_SetNeighbours(TableNeighbours* neighbours);
