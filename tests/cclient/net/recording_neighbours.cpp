#include "tests/cclient/net/recording_neighbours.h"

namespace {

std::string Bytes(uint32_t length) { return std::to_string(length) + " bytes"; }

}  // namespace

int RecordingNeighbours::Handled(const std::string& name, const uint8_t* payload,
                                 uint32_t length) {
  calls.push_back(name + "(" + Bytes(length) + ")");
  handed_payload.assign(payload, payload + length);
  return handler_result;
}

int RecordingNeighbours::Network_SendPacket(uint32_t type, const void* payload, uint32_t length,
                                            uint8_t connection_id) {
  const auto* bytes = static_cast<const uint8_t*>(payload);
  sent.push_back({type, std::vector<uint8_t>(bytes, bytes + length), connection_id});
  return send_result;
}

void RecordingNeighbours::Main_SetState(int32_t state) {
  calls.push_back("Main_SetState(" + std::to_string(state) + ")");
}

void RecordingNeighbours::Main_AdoptLobbyConnection(uint8_t connection_id) {
  calls.push_back("Main_AdoptLobbyConnection(" + std::to_string(connection_id) + ")");
}

void RecordingNeighbours::Main_InfoBox(const char* text) {
  calls.push_back(std::string("Main_InfoBox(") + text + ")");
}

void RecordingNeighbours::Main_ErrorBox(const char* text) {
  calls.push_back(std::string("Main_ErrorBox(") + text + ")");
}

int32_t RecordingNeighbours::Main_GameCodeToType(const char* code) {
  const auto found = game_types.find(code);
  return found != game_types.end() ? found->second : -1;
}

int RecordingNeighbours::Main_HandleLobbyList(const uint8_t* payload, uint32_t length,
                                              int tournament) {
  return Handled("Main_HandleLobbyList[" + std::to_string(tournament) + "]", payload, length);
}

int RecordingNeighbours::Main_HandleFullUpgradeRequired(const uint8_t* payload,
                                                        uint32_t length) {
  return Handled("Main_HandleFullUpgradeRequired", payload, length);
}

int RecordingNeighbours::Main_HandleUpgradeData(const uint8_t* payload, uint32_t length) {
  return Handled("Main_HandleUpgradeData", payload, length);
}

int RecordingNeighbours::Main_HandlePopupMessage(const uint8_t* payload, uint32_t length) {
  return Handled("Main_HandlePopupMessage", payload, length);
}

int RecordingNeighbours::Main_HandleMainLobbyInfo(const uint8_t* payload, uint32_t length) {
  return Handled("Main_HandleMainLobbyInfo", payload, length);
}

int RecordingNeighbours::Main_HandlePopupHtml(const uint8_t* payload, uint32_t length) {
  return Handled("Main_HandlePopupHtml", payload, length);
}

int RecordingNeighbours::Main_HandleSetScrollBanner(const uint8_t* payload, uint32_t length) {
  return Handled("Main_HandleSetScrollBanner", payload, length);
}

int RecordingNeighbours::Main_HandleForceExit(const uint8_t* payload, uint32_t length) {
  return Handled("Main_HandleForceExit", payload, length);
}

int RecordingNeighbours::Main_HandleBuyMembershipResult(const uint8_t* payload,
                                                        uint32_t length) {
  return Handled("Main_HandleBuyMembershipResult", payload, length);
}

int RecordingNeighbours::Main_HandleServerIdIpMapResult(const uint8_t* payload,
                                                        uint32_t length) {
  return Handled("Main_HandleServerIdIpMapResult", payload, length);
}

int RecordingNeighbours::Main_HandleShutdownServer(const uint8_t* payload, uint32_t length) {
  return Handled("Main_HandleShutdownServer", payload, length);
}

void RecordingNeighbours::Login_SetUserLoggedOut() { calls.push_back("Login_SetUserLoggedOut()"); }

int RecordingNeighbours::Login_HandleLoginResult(const uint8_t* payload, uint32_t length) {
  return Handled("Login_HandleLoginResult", payload, length);
}

int RecordingNeighbours::Login_HandleLogoutResult(uint8_t connection_id, const uint8_t* payload,
                                                  uint32_t length) {
  return Handled("Login_HandleLogoutResult[" + std::to_string(connection_id) + "]", payload,
                 length);
}

int RecordingNeighbours::Login_HandleTempPasswordEntrySuccessful(const uint8_t* payload,
                                                                 uint32_t length) {
  return Handled("Login_HandleTempPasswordEntrySuccessful", payload, length);
}

int RecordingNeighbours::Login_HandleSendEmailAddressResult(const uint8_t* payload,
                                                            uint32_t length) {
  return Handled("Login_HandleSendEmailAddressResult", payload, length);
}

int RecordingNeighbours::TableList_ResumeTables(const uint8_t* payload, uint32_t length) {
  return Handled("TableList_ResumeTables", payload, length);
}

int RecordingNeighbours::TableList_HandlePacket(uint32_t type, const uint8_t* payload,
                                                uint32_t length) {
  return Handled("TableList_HandlePacket[" + std::to_string(type) + "]", payload, length);
}

int RecordingNeighbours::TableList_CloseAll(int skip_confirmation, int send_leave,
                                            int32_t connection_filter) {
  calls.push_back("TableList_CloseAll(" + std::to_string(skip_confirmation) + ", " +
                  std::to_string(send_leave) + ", " + std::to_string(connection_filter) + ")");
  return 0;
}

void RecordingNeighbours::TableList_SetWaitingList(uint32_t table_id, int flag) {
  calls.push_back("TableList_SetWaitingList(" + std::to_string(table_id) + ", " +
                  std::to_string(flag) + ")");
}

long RecordingNeighbours::TableList_GetTableId(int slot) {
  const auto found = open_tables.find(slot);
  return found != open_tables.end() ? found->second : -1;
}

platform::HWND RecordingNeighbours::TableList_GetWindow(int slot) {
  const auto found = table_windows.find(slot);
  return found != table_windows.end() ? found->second : nullptr;
}

void RecordingNeighbours::TableList_ShowTable(int slot) {
  calls.push_back("TableList_ShowTable(" + std::to_string(slot) + ")");
}

bool RecordingNeighbours::Table_SetSeatNotification(platform::HWND table_window,
                                                    const char* title, const char* text) {
  std::string window = "other window";
  for (const auto& [slot, hwnd] : table_windows) {
    if (hwnd == table_window) window = "slot " + std::to_string(slot);
  }
  calls.push_back("Table_SetSeatNotification(" + window + ", " + title + ", " + text + ")");
  return seat_notification_taken;
}

void RecordingNeighbours::OpenOrForegroundTable(uint32_t table_id, int32_t game_type,
                                                int32_t seat, uint8_t server_list_index,
                                                const char* host, uint16_t port,
                                                int table_kind) {
  calls.push_back("OpenOrForegroundTable(" + std::to_string(table_id) + ", " +
                  std::to_string(game_type) + ", " + std::to_string(seat) + ", " +
                  std::to_string(server_list_index) + ", " + host + ", " + std::to_string(port) +
                  ", " + std::to_string(table_kind) + ")");
}

void RecordingNeighbours::BirthdayWindow_Show(platform::HINSTANCE instance, platform::HWND owner,
                                              const char* text) {
  calls.push_back(std::string("BirthdayWindow_Show(") + text + ")");
}

int RecordingNeighbours::GameList_OnTableDetail(const uint8_t* payload, uint32_t length) {
  return Handled("GameList_OnTableDetail", payload, length);
}

int RecordingNeighbours::GameList_OnDetailsText(const uint8_t* payload, uint32_t length) {
  return Handled("GameList_OnDetailsText", payload, length);
}

int RecordingNeighbours::GameList_OnUserBalances(const uint8_t* payload, uint32_t length) {
  return Handled("GameList_OnUserBalances", payload, length);
}

void RecordingNeighbours::GameList_RefreshDetails(int32_t list, int no_request) {
  calls.push_back("GameList_RefreshDetails(" + std::to_string(list) + ", " +
                  std::to_string(no_request) + ")");
}

int RecordingNeighbours::BuddyList_OnBuddyList(const uint8_t* payload, uint32_t length) {
  return Handled("BuddyList_OnBuddyList", payload, length);
}

int RecordingNeighbours::BuddyList_OnAddBuddyResult(const uint8_t* payload, uint32_t length) {
  return Handled("BuddyList_OnAddBuddyResult", payload, length);
}

int RecordingNeighbours::BuddyList_OnRemoveBuddyResult(const uint8_t* payload, uint32_t length) {
  return Handled("BuddyList_OnRemoveBuddyResult", payload, length);
}

int RecordingNeighbours::SignUpDialog_OnSignUpResult(const uint8_t* payload, uint32_t length) {
  return Handled("SignUpDialog_OnSignUpResult", payload, length);
}

int RecordingNeighbours::EmailValidationDialog_OnEmailAndStatusResult(const uint8_t* payload,
                                                                      uint32_t length) {
  return Handled("EmailValidationDialog_OnEmailAndStatusResult", payload, length);
}

int RecordingNeighbours::EmailValidationDialog_OnValidateEmailResult(const uint8_t* payload,
                                                                     uint32_t length) {
  return Handled("EmailValidationDialog_OnValidateEmailResult", payload, length);
}

int RecordingNeighbours::EmailValidationDialog_OnSendValidationCodeResult(const uint8_t* payload,
                                                                          uint32_t length) {
  return Handled("EmailValidationDialog_OnSendValidationCodeResult", payload, length);
}

int RecordingNeighbours::PendingBonusWindow_OnData(uint32_t type, const uint8_t* payload,
                                                   uint32_t length) {
  return Handled("PendingBonusWindow_OnData[" + std::to_string(type) + "]", payload, length);
}

int RecordingNeighbours::HistoryBonusWindow_OnData(uint32_t type, const uint8_t* payload,
                                                   uint32_t length) {
  return Handled("HistoryBonusWindow_OnData[" + std::to_string(type) + "]", payload, length);
}

int RecordingNeighbours::DeviceId_HandleResponse(const uint8_t* payload, uint32_t length) {
  return Handled("DeviceId_HandleResponse", payload, length);
}

int RecordingNeighbours::TourneyList_HandlePacket(uint32_t type, const uint8_t* payload,
                                                  uint32_t length) {
  return Handled("TourneyList_HandlePacket[" + std::to_string(type) + "]", payload, length);
}
