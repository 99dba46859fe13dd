#include "cclient/net/dispatch_neighbours.h"

#include "cclient/app/lobby_lists.h"
#include "cclient/app/lobby_session.h"
#include "cclient/app/login.h"
#include "cclient/base/main_message_box.h"
#include "cclient/app/main_window.h"
#include "cclient/lobby/birthday_window.h"
#include "cclient/lobby/buddy_list.h"
#include "cclient/lobby/device_id.h"
#include "cclient/lobby/email_validation_dialog.h"
#include "cclient/app/game_list.h"
#include "cclient/lobby/history_bonus_window.h"
#include "cclient/lobby/pending_bonus_window.h"
#include "cclient/lobby/sign_up_dialog.h"
#include "cclient/lobby/tourney_list.h"
#include "cclient/net/network.h"
#include "cclient/table/table.h"
#include "cclient/table/table_list.h"

namespace {

DispatchNeighbours& ProgramNeighbours() {
  static DispatchNeighbours neighbours;
  return neighbours;
}

DispatchNeighbours* g_neighbours = nullptr;

}  // namespace

DispatchNeighbours& Dispatch_GetNeighbours() {
  return g_neighbours != nullptr ? *g_neighbours : ProgramNeighbours();
}

void Dispatch_SetNeighbours(DispatchNeighbours* neighbours) { g_neighbours = neighbours; }

int DispatchNeighbours::Network_SendPacket(uint32_t type, const void* payload, uint32_t length,
                                           uint8_t connection_id) {
  return GlobalNetwork().SendPacket(type, payload, length, connection_id);
}

void DispatchNeighbours::Main_SetState(int32_t state) { ::Main_SetState(state); }

void DispatchNeighbours::Main_AdoptLobbyConnection(uint8_t connection_id) {
  ::Main_AdoptLobbyConnection(connection_id);
}

platform::HWND DispatchNeighbours::Main_GetMessageBoxOwner() {
  return ::Main_GetMessageBoxOwner();
}

void DispatchNeighbours::Main_InfoBox(const char* text) { ::Main_InfoBox(text); }

void DispatchNeighbours::Main_ErrorBox(const char* text) { ::Main_ErrorBox(text); }

int32_t DispatchNeighbours::Main_GameCodeToType(const char* code) {
  return ::Main_GameCodeToType(code);
}

int DispatchNeighbours::Main_HandleLobbyList(const uint8_t* payload, uint32_t length,
                                             int tournament) {
  return ::Main_HandleLobbyList(payload, length, tournament);
}

int DispatchNeighbours::Main_HandleFullUpgradeRequired(const uint8_t* payload, uint32_t length) {
  return ::Main_HandleFullUpgradeRequired(payload, length);
}

int DispatchNeighbours::Main_HandleUpgradeData(const uint8_t* payload, uint32_t length) {
  return ::Main_HandleUpgradeData(payload, length);
}

int DispatchNeighbours::Main_HandlePopupMessage(const uint8_t* payload, uint32_t length) {
  return ::Main_HandlePopupMessage(payload, length);
}

int DispatchNeighbours::Main_HandleMainLobbyInfo(const uint8_t* payload, uint32_t length) {
  return ::Main_HandleMainLobbyInfo(payload, length);
}

int DispatchNeighbours::Main_HandlePopupHtml(const uint8_t* payload, uint32_t length) {
  return ::Main_HandlePopupHtml(payload, length);
}

int DispatchNeighbours::Main_HandleSetScrollBanner(const uint8_t* payload, uint32_t length) {
  return ::Main_HandleSetScrollBanner(payload, length);
}

int DispatchNeighbours::Main_HandleForceExit(const uint8_t* payload, uint32_t length) {
  return ::Main_HandleForceExit(payload, length);
}

int DispatchNeighbours::Main_HandleBuyMembershipResult(const uint8_t* payload, uint32_t length) {
  return ::Main_HandleBuyMembershipResult(payload, length);
}

int DispatchNeighbours::Main_HandleServerIdIpMapResult(const uint8_t* payload, uint32_t length) {
  return ::Main_HandleServerIdIpMapResult(payload, length);
}

int DispatchNeighbours::Main_HandleShutdownServer(const uint8_t* payload, uint32_t length) {
  return ::Main_HandleShutdownServer(payload, length);
}

void DispatchNeighbours::Login_SetUserLoggedOut() { ::Login_SetUserLoggedOut(); }

int DispatchNeighbours::Login_HandleLoginResult(const uint8_t* payload, uint32_t length) {
  return ::Login_HandleLoginResult(payload, length);
}

int DispatchNeighbours::Login_HandleLogoutResult(uint8_t connection_id, const uint8_t* payload,
                                                 uint32_t length) {
  return ::Login_HandleLogoutResult(connection_id, payload, length);
}

int DispatchNeighbours::Login_HandleTempPasswordEntrySuccessful(const uint8_t* payload,
                                                                uint32_t length) {
  return ::Login_HandleTempPasswordEntrySuccessful(payload, length);
}

int DispatchNeighbours::Login_HandleSendEmailAddressResult(const uint8_t* payload,
                                                           uint32_t length) {
  return ::Login_HandleSendEmailAddressResult(payload, length);
}

int DispatchNeighbours::TableList_ResumeTables(const uint8_t* payload, uint32_t length) {
  return GlobalTableList().ResumeTables(payload, length);
}

int DispatchNeighbours::TableList_HandlePacket(uint32_t type, const uint8_t* payload,
                                               uint32_t length) {
  return GlobalTableList().HandlePacket(type, payload, length);
}

int DispatchNeighbours::TableList_CloseAll(int skip_confirmation, int send_leave,
                                           int32_t connection_filter) {
  return GlobalTableList().CloseAll(skip_confirmation, send_leave, connection_filter);
}

void DispatchNeighbours::TableList_SetWaitingList(uint32_t table_id, int flag) {
  GlobalTableList().SetWaitingList(table_id, flag);
}

long DispatchNeighbours::TableList_GetTableId(int slot) {
  return GlobalTableList().GetTableId(slot);
}

platform::HWND DispatchNeighbours::TableList_GetWindow(int slot) {
  return GlobalTableList().GetWindow(slot);
}

void DispatchNeighbours::TableList_ShowTable(int slot) { GlobalTableList().ShowTable(slot); }

bool DispatchNeighbours::Table_SetSeatNotification(platform::HWND table_window, const char* title,
                                                   const char* text) {
  TableClass* table = GlobalTableList().FindByWindow(table_window);
  return table != nullptr && table->SetSeatNotification(title, text);
}

void DispatchNeighbours::OpenOrForegroundTable(uint32_t table_id, int32_t game_type, int32_t seat,
                                               uint8_t server_list_index, const char* host,
                                               uint16_t port, int table_kind) {
  ::OpenOrForegroundTable(table_id, game_type, seat, server_list_index, host, port, table_kind);
}

void DispatchNeighbours::BirthdayWindow_Show(platform::HINSTANCE instance, platform::HWND owner,
                                             const char* text) {
  ::BirthdayWindow_Show(instance, owner, text);
}

int DispatchNeighbours::GameList_OnTableDetail(const uint8_t* payload, uint32_t length) {
  return ::GameList_OnTableDetail(payload, length);
}

int DispatchNeighbours::GameList_OnDetailsText(const uint8_t* payload, uint32_t length) {
  return ::GameList_OnDetailsText(payload, length);
}

int DispatchNeighbours::GameList_OnUserBalances(const uint8_t* payload, uint32_t length) {
  return ::GameList_OnUserBalances(payload, length);
}

void DispatchNeighbours::GameList_RefreshDetails(int32_t list, int no_request) {
  ::GameList_RefreshDetails(list, no_request);
}

int DispatchNeighbours::BuddyList_OnBuddyList(const uint8_t* payload, uint32_t length) {
  return ::BuddyList_OnBuddyList(payload, length);
}

int DispatchNeighbours::BuddyList_OnAddBuddyResult(const uint8_t* payload, uint32_t length) {
  return ::BuddyList_OnAddBuddyResult(payload, length);
}

int DispatchNeighbours::BuddyList_OnRemoveBuddyResult(const uint8_t* payload, uint32_t length) {
  return ::BuddyList_OnRemoveBuddyResult(payload, length);
}

int DispatchNeighbours::SignUpDialog_OnSignUpResult(const uint8_t* payload, uint32_t length) {
  return ::SignUpDialog_OnSignUpResult(payload, length);
}

int DispatchNeighbours::EmailValidationDialog_OnEmailAndStatusResult(const uint8_t* payload,
                                                                     uint32_t length) {
  return GlobalEmailValidationDialog().OnEmailAndStatusResult(payload, length);
}

int DispatchNeighbours::EmailValidationDialog_OnValidateEmailResult(const uint8_t* payload,
                                                                    uint32_t length) {
  return GlobalEmailValidationDialog().OnValidateEmailResult(payload, length);
}

int DispatchNeighbours::EmailValidationDialog_OnSendValidationCodeResult(const uint8_t* payload,
                                                                         uint32_t length) {
  return GlobalEmailValidationDialog().OnSendValidationCodeResult(payload, length);
}

int DispatchNeighbours::PendingBonusWindow_OnData(uint32_t type, const uint8_t* payload,
                                                  uint32_t length) {
  return ::PendingBonusWindow_OnData(type, payload, length);
}

int DispatchNeighbours::HistoryBonusWindow_OnData(uint32_t type, const uint8_t* payload,
                                                  uint32_t length) {
  return ::HistoryBonusWindow_OnData(type, payload, length);
}

int DispatchNeighbours::DeviceId_HandleResponse(const uint8_t* payload, uint32_t length) {
  return GlobalDeviceId().HandleResponse(payload, length);
}

int DispatchNeighbours::TourneyList_HandlePacket(uint32_t type, const uint8_t* payload,
                                                 uint32_t length) {
  return GlobalTourneyList().HandlePacket(type, payload, length);
}
