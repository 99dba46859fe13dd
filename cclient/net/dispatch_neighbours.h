// Everything the central dispatch reaches outside itself: the network's send, the main window,
// sign-in, the list of open tables and the lobby's, accounts' and tournaments' packet handlers.
//
// Each method is named after the function it stands for ("TableList_CloseAll" for
// TableListClass::CloseAll of the program's list) and does exactly what that function does. The
// dispatch calls them through the neighbours in force: the program's own, which forward to those
// functions, unless a test has put a recording set in their place.
//
// UI thread only.
#pragma once

#include <cstdint>

#include "platform/window/window_types.h"

// The main window's states (Main_SetState); 3 and 5 are not used.
enum MainState : int32_t {
  MAIN_STATE_NONE = 0,
  MAIN_STATE_CONNECTING = 1,
  MAIN_STATE_CANNOT_CONNECT = 2,
  MAIN_STATE_UPGRADING = 4,
  MAIN_STATE_FULL_UPGRADE = 6,
  MAIN_STATE_LOBBY = 7,
};


class DispatchNeighbours {
 public:
  virtual ~DispatchNeighbours() = default;

  // The network object.
  virtual int Network_SendPacket(uint32_t type, const void* payload, uint32_t length,
                                 uint8_t connection_id);

  // The main window.
  virtual void Main_SetState(int32_t state);
  virtual void Main_AdoptLobbyConnection(uint8_t connection_id);
  virtual platform::HWND Main_GetMessageBoxOwner();
  virtual void Main_InfoBox(const char* text);
  virtual void Main_ErrorBox(const char* text);
  virtual int32_t Main_GameCodeToType(const char* code);

  // The lobby's lists and session packets.
  virtual int Main_HandleLobbyList(const uint8_t* payload, uint32_t length, int tournament);
  virtual int Main_HandleFullUpgradeRequired(const uint8_t* payload, uint32_t length);
  virtual int Main_HandleUpgradeData(const uint8_t* payload, uint32_t length);
  virtual int Main_HandlePopupMessage(const uint8_t* payload, uint32_t length);
  virtual int Main_HandleMainLobbyInfo(const uint8_t* payload, uint32_t length);
  virtual int Main_HandlePopupHtml(const uint8_t* payload, uint32_t length);
  virtual int Main_HandleSetScrollBanner(const uint8_t* payload, uint32_t length);
  virtual int Main_HandleForceExit(const uint8_t* payload, uint32_t length);
  virtual int Main_HandleBuyMembershipResult(const uint8_t* payload, uint32_t length);
  virtual int Main_HandleServerIdIpMapResult(const uint8_t* payload, uint32_t length);
  virtual int Main_HandleShutdownServer(const uint8_t* payload, uint32_t length);

  // Sign-in.
  virtual void Login_SetUserLoggedOut();
  virtual int Login_HandleLoginResult(const uint8_t* payload, uint32_t length);
  virtual int Login_HandleLogoutResult(uint8_t connection_id, const uint8_t* payload,
                                       uint32_t length);
  virtual int Login_HandleTempPasswordEntrySuccessful(const uint8_t* payload, uint32_t length);
  virtual int Login_HandleSendEmailAddressResult(const uint8_t* payload, uint32_t length);

  // The list of open tables.
  virtual int TableList_ResumeTables(const uint8_t* payload, uint32_t length);
  virtual int TableList_HandlePacket(uint32_t type, const uint8_t* payload, uint32_t length);
  virtual int TableList_CloseAll(int skip_confirmation, int send_leave, int32_t connection_filter);
  virtual void TableList_SetWaitingList(uint32_t table_id, int flag);
  virtual long TableList_GetTableId(int slot);
  virtual platform::HWND TableList_GetWindow(int slot);
  virtual void TableList_ShowTable(int slot);
  // TableClass::SetSeatNotification of the table whose window it is; false when none is.
  virtual bool Table_SetSeatNotification(platform::HWND table_window, const char* title,
                                         const char* text);
  virtual void OpenOrForegroundTable(uint32_t table_id, int32_t game_type, int32_t seat,
                                     uint8_t server_list_index, const char* host, uint16_t port,
                                     int table_kind);

  // Lobby, accounts and tournaments.
  virtual void BirthdayWindow_Show(platform::HINSTANCE instance, platform::HWND owner,
                                   const char* text);
  virtual int GameList_OnTableDetail(const uint8_t* payload, uint32_t length);
  virtual int GameList_OnDetailsText(const uint8_t* payload, uint32_t length);
  virtual int GameList_OnUserBalances(const uint8_t* payload, uint32_t length);
  virtual void GameList_RefreshDetails(int32_t list, int no_request);
  virtual int BuddyList_OnBuddyList(const uint8_t* payload, uint32_t length);
  virtual int BuddyList_OnAddBuddyResult(const uint8_t* payload, uint32_t length);
  virtual int BuddyList_OnRemoveBuddyResult(const uint8_t* payload, uint32_t length);
  virtual int SignUpDialog_OnSignUpResult(const uint8_t* payload, uint32_t length);
  virtual int EmailValidationDialog_OnEmailAndStatusResult(const uint8_t* payload,
                                                           uint32_t length);
  virtual int EmailValidationDialog_OnValidateEmailResult(const uint8_t* payload,
                                                          uint32_t length);
  virtual int EmailValidationDialog_OnSendValidationCodeResult(const uint8_t* payload,
                                                               uint32_t length);
  virtual int PendingBonusWindow_OnData(uint32_t type, const uint8_t* payload, uint32_t length);
  virtual int HistoryBonusWindow_OnData(uint32_t type, const uint8_t* payload, uint32_t length);
  virtual int DeviceId_HandleResponse(const uint8_t* payload, uint32_t length);
  virtual int TourneyList_HandlePacket(uint32_t type, const uint8_t* payload, uint32_t length);
};

// The neighbours the dispatch uses now.
DispatchNeighbours& Dispatch_GetNeighbours();
// Puts `neighbours` in force (the caller keeps ownership and keeps them alive while in force);
// nullptr puts the program's own back.
void Dispatch_SetNeighbours(DispatchNeighbours* neighbours);
