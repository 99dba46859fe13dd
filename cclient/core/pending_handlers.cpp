// The main window's, sign-in's and the lobby's operations that this build does not have yet.
// Each one logs its call and does nothing else (a packet handler answers "not handled"), except
// where it says what it stands in for. Each function moves out of this file into its own module
// when that module is written.
#include <cstdint>

#include "cclient/core/debug_log.h"
#include "cclient/core/lobby_lists.h"
#include "cclient/core/lobby_session.h"
#include "cclient/core/login.h"
#include "cclient/core/client_globals.h"
#include "cclient/core/main_window.h"
#include "cclient/core/player_flags.h"
#include "cclient/core/splash_window.h"
#include "cclient/net/use_packet.h"
#include "platform/window/paint.h"
#include "platform/window/window.h"

namespace {

int NotHandled(const char* handler, uint32_t length) {
  DebugLog_WriteLevel(1, "%s(%ld bytes): not in this build.\n", handler,
                      static_cast<long>(length));
  return kPacketUnknown;
}

}  // namespace

// The splash window and the lobby show the states; while neither is in this build the main window
// stands in for both, so that a person sees the client run: it is shown in every state but none.
void Main_SetState(int32_t state) {
  DebugLog_WriteLevel(1, "Main_SetState(%ld): the splash and the lobby are not in this build.\n",
                      static_cast<long>(state));
  if (state == MAIN_STATE_NONE || MainWindow == nullptr) return;
  if (!platform::IsWindowVisible(MainWindow)) {
    platform::ShowWindow(MainWindow, platform::SW_SHOW);
    platform::UpdateWindow(MainWindow);
  }
}

int Main_PreTranslateMessage(platform::MSG* message) {
  // No modeless dialog exists in this build: every message goes on to be dispatched.
  return 1;
}

int32_t Main_LoadCards() {
  DebugLog_WriteLevel(1, "Main_LoadCards: not in this build.\n");
  return 0;
}

void Main_LoadLobbySounds() { DebugLog_WriteLevel(1, "Main_LoadLobbySounds: not in this build.\n"); }

void Main_StartLobbyMusic() { DebugLog_WriteLevel(1, "Main_StartLobbyMusic: not in this build.\n"); }

void Main_CreateLobbyPanels() {
  DebugLog_WriteLevel(1, "Main_CreateLobbyPanels: not in this build.\n");
}

void Splash_Show(platform::HINSTANCE instance, platform::HWND owner, const char* text,
                 uint32_t flags) {
  DebugLog_WriteLevel(1, "Splash_Show(\"%s\"): not in this build.\n", text != nullptr ? text : "");
}

void Splash_Destroy() { DebugLog_WriteLevel(1, "Splash_Destroy: not in this build.\n"); }

void Splash_SetServerStatusUrl(const char* url) {
  DebugLog_WriteLevel(1, "Splash_SetServerStatusUrl: not in this build.\n");
}

int32_t PlayerFlagsLoad() {
  DebugLog_WriteLevel(1, "PlayerFlagsLoad: not in this build.\n");
  return 0;
}

void PlayerFlagsSave() { DebugLog_WriteLevel(1, "PlayerFlagsSave: not in this build.\n"); }

void Main_AdoptLobbyConnection(uint8_t connection_id) {
  DebugLog_WriteLevel(1, "Main_AdoptLobbyConnection(%d): not in this build.\n", connection_id);
}

int32_t Main_GameCodeToType(const char* code) {
  DebugLog_WriteLevel(1, "Main_GameCodeToType: not in this build.\n");
  return -1;
}

void Login_SetUserLoggedOut() {
  DebugLog_WriteLevel(1, "Login_SetUserLoggedOut: not in this build.\n");
}

// Sign-in is not in this build: nobody is ever signed in.
bool Login_IsLoggedIn() { return false; }

void Login_ScramblePassword(uint8_t* buffer) {
  DebugLog_WriteLevel(1, "Login_ScramblePassword: not in this build.\n");
}

int Login_HandleLoginResult(const uint8_t* payload, uint32_t length) {
  return NotHandled("Login_HandleLoginResult", length);
}

int Login_HandleLogoutResult(uint8_t connection_id, const uint8_t* payload, uint32_t length) {
  return NotHandled("Login_HandleLogoutResult", length);
}

int Login_HandleTempPasswordEntrySuccessful(const uint8_t* payload, uint32_t length) {
  return NotHandled("Login_HandleTempPasswordEntrySuccessful", length);
}

int Login_HandleSendEmailAddressResult(const uint8_t* payload, uint32_t length) {
  return NotHandled("Login_HandleSendEmailAddressResult", length);
}

int Main_HandleLobbyList(const uint8_t* payload, uint32_t length, int tournament) {
  return NotHandled(tournament ? "Main_HandleLobbyList (tournaments)" : "Main_HandleLobbyList",
                    length);
}

int Main_HandleFullUpgradeRequired(const uint8_t* payload, uint32_t length) {
  return NotHandled("Main_HandleFullUpgradeRequired", length);
}

int Main_HandleUpgradeData(const uint8_t* payload, uint32_t length) {
  return NotHandled("Main_HandleUpgradeData", length);
}

int Main_HandlePopupMessage(const uint8_t* payload, uint32_t length) {
  return NotHandled("Main_HandlePopupMessage", length);
}

int Main_HandleMainLobbyInfo(const uint8_t* payload, uint32_t length) {
  return NotHandled("Main_HandleMainLobbyInfo", length);
}

int Main_HandlePopupHtml(const uint8_t* payload, uint32_t length) {
  return NotHandled("Main_HandlePopupHtml", length);
}

int Main_HandleSetScrollBanner(const uint8_t* payload, uint32_t length) {
  return NotHandled("Main_HandleSetScrollBanner", length);
}

int Main_HandleForceExit(const uint8_t* payload, uint32_t length) {
  return NotHandled("Main_HandleForceExit", length);
}

int Main_HandleBuyMembershipResult(const uint8_t* payload, uint32_t length) {
  return NotHandled("Main_HandleBuyMembershipResult", length);
}

int Main_HandleServerIdIpMapResult(const uint8_t* payload, uint32_t length) {
  return NotHandled("Main_HandleServerIdIpMapResult", length);
}

int Main_HandleShutdownServer(const uint8_t* payload, uint32_t length) {
  return NotHandled("Main_HandleShutdownServer", length);
}
