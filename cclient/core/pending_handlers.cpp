// The main window's and the password dialogs' operations that this build does not have yet. Each
// one logs its call and does nothing else. Each function moves out of this file into its own
// module when that module is written.
#include <cstdint>

#include "cclient/core/debug_log.h"
#include "cclient/core/main_window.h"
#include "cclient/lobby/password_dialogs.h"

void Main_OpenJoinWaitList(uint32_t table_id, uint32_t seats) {
  DebugLog_WriteLevel(1, "Main_OpenJoinWaitList(%lu, %lu): not in this build.\n",
                      static_cast<unsigned long>(table_id), static_cast<unsigned long>(seats));
}

void BadSignInDialog::Open(platform::HINSTANCE instance, platform::HWND parent) {
  DebugLog_WriteLevel(1, "BadSignInDialog::Open: not in this build.\n");
}

void ForgotPasswordDialog::Open(platform::HINSTANCE instance, platform::HWND parent) {
  DebugLog_WriteLevel(1, "ForgotPasswordDialog::Open: not in this build.\n");
}

void PasswordChangeDialog::Open(platform::HINSTANCE instance, platform::HWND parent) {
  DebugLog_WriteLevel(1, "PasswordChangeDialog::Open: not in this build.\n");
}
