// The lobby's, accounts' and tournaments' operations that this build does not have yet. Each one
// logs its call and does nothing else; a packet handler answers "not handled". Each function
// moves out of this file into its own module when that module is written.
#include <cstdint>

#include "cclient/core/debug_log.h"
#include "cclient/lobby/birthday_window.h"
#include "cclient/lobby/device_id.h"
#include "cclient/lobby/email_validation_dialog.h"
#include "cclient/lobby/game_list.h"
#include "cclient/lobby/hot_picks_panel.h"
#include "cclient/lobby/lobby_banner.h"
#include "cclient/lobby/sign_up_dialog.h"
#include "cclient/lobby/tourney_list.h"
#include "cclient/net/use_packet.h"

namespace {

void NotInBuild(const char* operation) {
  DebugLog_WriteLevel(1, "%s: not in this build.\n", operation);
}

int NotHandled(const char* handler) {
  NotInBuild(handler);
  return kPacketUnknown;
}

}  // namespace

void BirthdayWindow_Show(platform::HINSTANCE instance, platform::HWND owner, const char* text) {
  NotInBuild("BirthdayWindow_Show");
}

int GameList_OnTableDetail(const uint8_t* payload, uint32_t length) {
  return NotHandled("GameList_OnTableDetail");
}

int GameList_OnDetailsText(const uint8_t* payload, uint32_t length) {
  return NotHandled("GameList_OnDetailsText");
}

int GameList_OnUserBalances(const uint8_t* payload, uint32_t length) {
  return NotHandled("GameList_OnUserBalances");
}

void GameList_RefreshDetails(int32_t list, int no_request) {
  NotInBuild("GameList_RefreshDetails");
}

int SignUpDialog_OnSignUpResult(const uint8_t* payload, uint32_t length) {
  return NotHandled("SignUpDialog_OnSignUpResult");
}

EmailValidationDialog& GlobalEmailValidationDialog() {
  static EmailValidationDialog dialog;
  return dialog;
}

int EmailValidationDialog::OnEmailAndStatusResult(const uint8_t* payload, uint32_t length) {
  return NotHandled("EmailValidationDialog::OnEmailAndStatusResult");
}

int EmailValidationDialog::OnValidateEmailResult(const uint8_t* payload, uint32_t length) {
  return NotHandled("EmailValidationDialog::OnValidateEmailResult");
}

int EmailValidationDialog::OnSendValidationCodeResult(const uint8_t* payload, uint32_t length) {
  return NotHandled("EmailValidationDialog::OnSendValidationCodeResult");
}

DeviceIdClass& GlobalDeviceId() {
  static DeviceIdClass device_id;
  return device_id;
}

int DeviceIdClass::HandleResponse(const uint8_t* payload, uint32_t length) {
  return NotHandled("DeviceIdClass::HandleResponse");
}

TourneyListClass& GlobalTourneyList() {
  static TourneyListClass list;
  return list;
}

int TourneyListClass::HandlePacket(uint32_t type, const uint8_t* payload, uint32_t length) {
  return NotHandled("TourneyListClass::HandlePacket");
}

TourneyClass* TourneyListClass::FindByHwnd(platform::HWND window) {
  NotInBuild("TourneyListClass::FindByHwnd");
  return nullptr;
}

void TourneyListClass::CloseAll() { NotInBuild("TourneyListClass::CloseAll"); }

void LobbyBanner::Setup(platform::HDC back_dc, platform::HDC background_dc,
                        const char* normal_file, const char* hover_file, const char* link,
                        int32_t side) {
  DebugLog_WriteLevel(1, "LobbyBanner::Setup(%s, %s, \"%s\", %d): not in this build.\n",
                      normal_file, hover_file, link, side);
}

void HotPicksPanel::Save() { NotInBuild("HotPicksPanel::Save"); }
