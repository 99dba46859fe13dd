// A recording stand-in for everything the central dispatch calls outside itself.
//
// Every action is kept as a line of text ("TableList_CloseAll(1, 0, -1)") in the order it was
// made; plain look-ups (a table's id or window, the box owner, a game code's type) answer from
// the fields below and are not recorded. Sent packets are kept apart with their bytes.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "cclient/net/dispatch_neighbours.h"

struct SentPacket {
  uint32_t type;
  std::vector<uint8_t> payload;
  uint8_t connection;
  bool operator==(const SentPacket& other) const {
    return type == other.type && payload == other.payload && connection == other.connection;
  }
};

class RecordingNeighbours : public DispatchNeighbours {
 public:
  std::vector<std::string> calls;
  std::vector<SentPacket> sent;
  // The last payload a packet handler got.
  std::vector<uint8_t> handed_payload;

  // What the stand-ins answer.
  int send_result = 0;
  int handler_result = 0;
  std::map<int, long> open_tables;  // slot -> table id
  std::map<int, platform::HWND> table_windows;
  bool seat_notification_taken = true;
  platform::HWND box_owner = nullptr;
  std::map<std::string, int32_t> game_types = {{"HO", 1}, {"OM", 7}, {"THO", 1}, {"BJ", 5}};

  int Network_SendPacket(uint32_t type, const void* payload, uint32_t length,
                         uint8_t connection_id) override;
  void Main_SetState(int32_t state) override;
  void Main_AdoptLobbyConnection(uint8_t connection_id) override;
  platform::HWND Main_GetMessageBoxOwner() override { return box_owner; }
  void Main_InfoBox(const char* text) override;
  void Main_ErrorBox(const char* text) override;
  int32_t Main_GameCodeToType(const char* code) override;
  int Main_HandleLobbyList(const uint8_t* payload, uint32_t length, int tournament) override;
  int Main_HandleFullUpgradeRequired(const uint8_t* payload, uint32_t length) override;
  int Main_HandleUpgradeData(const uint8_t* payload, uint32_t length) override;
  int Main_HandlePopupMessage(const uint8_t* payload, uint32_t length) override;
  int Main_HandleMainLobbyInfo(const uint8_t* payload, uint32_t length) override;
  int Main_HandlePopupHtml(const uint8_t* payload, uint32_t length) override;
  int Main_HandleSetScrollBanner(const uint8_t* payload, uint32_t length) override;
  int Main_HandleForceExit(const uint8_t* payload, uint32_t length) override;
  int Main_HandleBuyMembershipResult(const uint8_t* payload, uint32_t length) override;
  int Main_HandleServerIdIpMapResult(const uint8_t* payload, uint32_t length) override;
  int Main_HandleShutdownServer(const uint8_t* payload, uint32_t length) override;
  void Login_SetUserLoggedOut() override;
  int Login_HandleLoginResult(const uint8_t* payload, uint32_t length) override;
  int Login_HandleLogoutResult(uint8_t connection_id, const uint8_t* payload,
                               uint32_t length) override;
  int Login_HandleTempPasswordEntrySuccessful(const uint8_t* payload, uint32_t length) override;
  int Login_HandleSendEmailAddressResult(const uint8_t* payload, uint32_t length) override;
  int TableList_ResumeTables(const uint8_t* payload, uint32_t length) override;
  int TableList_HandlePacket(uint32_t type, const uint8_t* payload, uint32_t length) override;
  int TableList_CloseAll(int skip_confirmation, int send_leave, int32_t connection_filter) override;
  void TableList_SetWaitingList(uint32_t table_id, int flag) override;
  long TableList_GetTableId(int slot) override;
  platform::HWND TableList_GetWindow(int slot) override;
  void TableList_ShowTable(int slot) override;
  bool Table_SetSeatNotification(platform::HWND table_window, const char* title,
                                 const char* text) override;
  void OpenOrForegroundTable(uint32_t table_id, int32_t game_type, int32_t seat,
                             uint8_t server_list_index, const char* host, uint16_t port,
                             int table_kind) override;
  void BirthdayWindow_Show(platform::HINSTANCE instance, platform::HWND owner,
                           const char* text) override;
  int GameList_OnTableDetail(const uint8_t* payload, uint32_t length) override;
  int GameList_OnDetailsText(const uint8_t* payload, uint32_t length) override;
  int GameList_OnUserBalances(const uint8_t* payload, uint32_t length) override;
  void GameList_RefreshDetails(int32_t list, int no_request) override;
  int BuddyList_OnBuddyList(const uint8_t* payload, uint32_t length) override;
  int BuddyList_OnAddBuddyResult(const uint8_t* payload, uint32_t length) override;
  int BuddyList_OnRemoveBuddyResult(const uint8_t* payload, uint32_t length) override;
  int SignUpDialog_OnSignUpResult(const uint8_t* payload, uint32_t length) override;
  int EmailValidationDialog_OnEmailAndStatusResult(const uint8_t* payload,
                                                   uint32_t length) override;
  int EmailValidationDialog_OnValidateEmailResult(const uint8_t* payload,
                                                  uint32_t length) override;
  int EmailValidationDialog_OnSendValidationCodeResult(const uint8_t* payload,
                                                       uint32_t length) override;
  int PendingBonusWindow_OnData(uint32_t type, const uint8_t* payload, uint32_t length) override;
  int HistoryBonusWindow_OnData(uint32_t type, const uint8_t* payload, uint32_t length) override;
  int DeviceId_HandleResponse(const uint8_t* payload, uint32_t length) override;
  int TourneyList_HandlePacket(uint32_t type, const uint8_t* payload, uint32_t length) override;

 private:
  // Records "name(length bytes)" and the payload; returns handler_result.
  int Handled(const std::string& name, const uint8_t* payload, uint32_t length);
};
