// The lobby's, accounts' and tournaments' operations that this build does not have yet. Each one
// logs its call and does nothing else (a packet handler answers "not handled", a query answers
// "none"), except where it says what it stands in for. Operations the main window calls on every
// tick or mouse move do nothing without logging, so that the log stays readable. Each function
// moves out of this file into its own module when that module is written.
#include <cstdint>

#include "cclient/core/debug_log.h"
#include "cclient/lobby/birthday_window.h"
#include "cclient/lobby/buddy_list.h"
#include "cclient/lobby/device_id.h"
#include "cclient/lobby/email_validation_dialog.h"
#include "cclient/lobby/game_list.h"
#include "cclient/lobby/history_bonus_window.h"
#include "cclient/lobby/hot_picks_panel.h"
#include "cclient/lobby/info_dialogs.h"
#include "cclient/lobby/lobby_banner.h"
#include "cclient/lobby/menu_strip.h"
#include "cclient/lobby/nav_tree.h"
#include "cclient/lobby/pending_bonus_window.h"
#include "cclient/lobby/sign_up_dialog.h"
#include "cclient/lobby/tourney_list.h"
#include "cclient/lobby/web_pages.h"
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

void SignUpDialog_Open(platform::HINSTANCE instance, platform::HWND parent) {
  NotInBuild("SignUpDialog_Open");
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

void EmailValidationDialog::Close() { NotInBuild("EmailValidationDialog::Close"); }

DeviceIdClass& GlobalDeviceId() {
  static DeviceIdClass device_id;
  return device_id;
}

void DeviceIdClass::SendDeviceString() { NotInBuild("DeviceIdClass::SendDeviceString"); }

int DeviceIdClass::HandleResponse(const uint8_t* payload, uint32_t length) {
  return NotHandled("DeviceIdClass::HandleResponse");
}

void Web_SetSiteUrl(const char* text) { NotInBuild("Web_SetSiteUrl"); }
void Web_SetSecureUrl(const char* text) { NotInBuild("Web_SetSecureUrl"); }
void Web_SetSplashUrl(const char* text) { NotInBuild("Web_SetSplashUrl"); }

void OpenWebPage(platform::HWND window, const char* address) {
  DebugLog_WriteLevel(1, "OpenWebPage(%s): not in this build.\n", address);
}

void OpenSitePage(platform::HWND window, const char* path) {
  DebugLog_WriteLevel(1, "OpenSitePage(%s): not in this build.\n", path);
}

void OpenSecurePage(platform::HWND window, const char* path, int32_t site_id) {
  DebugLog_WriteLevel(1, "OpenSecurePage(%s, %ld): not in this build.\n", path,
                      static_cast<long>(site_id));
}

void OpenSplashPage(platform::HWND window) { NotInBuild("OpenSplashPage"); }
void OpenCashier(platform::HWND window) { NotInBuild("OpenCashier"); }
void OpenUpdateProfile(platform::HWND window) { NotInBuild("OpenUpdateProfile"); }
void OpenGameHistory(platform::HWND window) { NotInBuild("OpenGameHistory"); }

void OpenGameHelp(platform::HWND window, int32_t page) {
  DebugLog_WriteLevel(1, "OpenGameHelp(%ld): not in this build.\n", static_cast<long>(page));
}

void AboutBox_Show(platform::HINSTANCE instance, platform::HWND parent, const char* program_name,
                   int32_t version_major, int32_t version_minor) {
  NotInBuild("AboutBox_Show");
}

void SystemInfoDialog_Show(platform::HINSTANCE instance, platform::HWND parent,
                           int32_t version_major, int32_t version_minor) {
  NotInBuild("SystemInfoDialog_Show");
}

void EmailValidation_RequestStatus() { NotInBuild("EmailValidation_RequestStatus"); }

int SignUpDialog_PreTranslate(platform::MSG* message) { return 1; }

