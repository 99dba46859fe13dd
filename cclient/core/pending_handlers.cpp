// The main window's, sign-in's and the lobby's operations that this build does not have yet.
// Each one logs its call and does nothing else (a packet handler answers "not handled"), except
// where it says what it stands in for. Each function moves out of this file into its own module
// when that module is written.
#include <cstdint>

#include "cclient/core/debug_log.h"
#include "cclient/core/login.h"
#include "cclient/core/main_window.h"
#include "cclient/core/main_message_box.h"
#include "cclient/core/player_flags.h"
#include "cclient/lobby/buddy_list.h"
#include "cclient/lobby/history_bonus_window.h"
#include "cclient/lobby/pending_bonus_window.h"
#include "cclient/net/use_packet.h"

namespace {

int NotHandled(const char* handler, uint32_t length) {
  DebugLog_WriteLevel(1, "%s(%ld bytes): not in this build.\n", handler,
                      static_cast<long>(length));
  return kPacketUnknown;
}

}  // namespace


int Login_HandleLogoutResult(uint8_t connection_id, const uint8_t* payload, uint32_t length) {
  return NotHandled("Login_HandleLogoutResult", length);
}

int Login_HandleTempPasswordEntrySuccessful(const uint8_t* payload, uint32_t length) {
  return NotHandled("Login_HandleTempPasswordEntrySuccessful", length);
}

int Login_HandleSendEmailAddressResult(const uint8_t* payload, uint32_t length) {
  return NotHandled("Login_HandleSendEmailAddressResult", length);
}

// Only the closing of the signed-in user's windows is built; the rest of log-out is not.
void Login_LogOut() {
  BuddyList_Close();
  PendingBonusWindow_Close();
  HistoryBonusWindow_Close();
  DebugLog_WriteLevel(1, "Login_LogOut: not in this build.\n");
}

void Login_OpenSignUp() { DebugLog_WriteLevel(1, "Login_OpenSignUp: not in this build.\n"); }

void Main_OpenJoinWaitList(uint32_t table_id, uint32_t seats) {
  DebugLog_WriteLevel(1, "Main_OpenJoinWaitList(%lu, %lu): not in this build.\n",
                      static_cast<unsigned long>(table_id), static_cast<unsigned long>(seats));
}

void BadSignInDialog_Show(platform::HWND owner) {
  DebugLog_WriteLevel(1, "BadSignInDialog_Show: not in this build.\n");
}

void ForgottenPasswordDialog_Show(platform::HWND owner) {
  DebugLog_WriteLevel(1, "ForgottenPasswordDialog_Show: not in this build.\n");
}
