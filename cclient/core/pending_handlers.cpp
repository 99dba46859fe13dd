// The main window's, sign-in's and the lobby's operations that this build does not have yet.
// Each one logs its call and does nothing else (a packet handler answers "not handled"), except
// where it says what it stands in for. Each function moves out of this file into its own module
// when that module is written.
#include <cstdint>

#include "cclient/core/client_globals.h"
#include "cclient/core/debug_log.h"
#include "cclient/core/login.h"
#include "cclient/core/main_window.h"
#include "cclient/core/main_message_box.h"
#include "cclient/core/player_flags.h"
#include "cclient/lobby/account_dialogs.h"
#include "cclient/lobby/buddy_list.h"
#include "cclient/lobby/history_bonus_window.h"
#include "cclient/lobby/password_dialogs.h"
#include "cclient/lobby/pending_bonus_window.h"
#include "cclient/lobby/sign_up_dialog.h"
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

// Only the opening of the new-password dialog is built.
int Login_HandleTempPasswordEntrySuccessful(const uint8_t* payload, uint32_t length) {
  if (length != 0) return 1;
  PasswordChangeDialog::Open(ProgramInstance, Main_GetMessageBoxOwner());
  return 0;
}

int Login_HandleSendEmailAddressResult(const uint8_t* payload, uint32_t length) {
  return NotHandled("Login_HandleSendEmailAddressResult", length);
}

// Only the closing of the signed-in user's windows is built; the rest of log-out is not.
void Login_LogOut() {
  BuddyList_Close();
  PendingBonusWindow_Close();
  HistoryBonusWindow_Close();
  AccountDialogs_CloseAtSignOut();
  DebugLog_WriteLevel(1, "Login_LogOut: not in this build.\n");
}

// The count of accounts made on this machine is not kept yet, so the form always opens.
void Login_OpenSignUp() { SignUpDialog_Open(ProgramInstance, MainWindow); }

void Main_OpenJoinWaitList(uint32_t table_id, uint32_t seats) {
  DebugLog_WriteLevel(1, "Main_OpenJoinWaitList(%lu, %lu): not in this build.\n",
                      static_cast<unsigned long>(table_id), static_cast<unsigned long>(seats));
}

// The count of accounts made on this machine is not kept yet.
void Login_CountNewAccount() { DebugLog_WriteLevel(1, "Login_CountNewAccount: not in this build.\n"); }

// No hosting program can start this build, so it is never hosted.
int Main_IsHosted() { return 0; }
void Main_HostShowCashier() { DebugLog_WriteLevel(1, "Main_HostShowCashier: not in this build.\n"); }
