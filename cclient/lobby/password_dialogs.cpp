#include "cclient/lobby/password_dialogs.h"

#include <cstring>

#include "cclient/base/client_globals.h"
#include "cclient/base/debug_log.h"
#include "cclient/base/login_record.h"
#include "cclient/base/main_message_box.h"
#include "cclient/base/startup_file.h"
#include "cclient/lobby/account_records.h"
#include "cclient/lobby/lobby_neighbours.h"
#include "platform/controls/control_messages.h"
#include "platform/controls/dialog.h"
#include "platform/window/message_box.h"
#include "platform/window/window.h"

namespace {

constexpr int kPasswordCharacters = 20;
// The forgotten-password dialog reads one character more than an address may have, so that an
// address that does not fit is seen and refused.
constexpr int kTypedAddressBytes = kEmailAddressBytes + 1;

DialogHolder forgot_holder;
DialogHolder password_change_holder;

using namespace platform::dialog_item;

constexpr uint32_t kDialogStyle = platform::WS_POPUP | platform::WS_CAPTION |
                                  platform::WS_SYSMENU | platform::WS_VISIBLE |
                                  platform::DS_MODALFRAME | platform::DS_CENTER;

constexpr platform::DialogItemTemplate kForgotItems[] = {
    LText("Your email address:", -1, 7, 9, 70, 8),
    EditText(kForgotEmailEdit, 78, 7, 140, 12, platform::ES_AUTOHSCROLL),
    DefPushButton("Submit", platform::IDOK, 56, 28, 50, 14),
    PushButton("Cancel", platform::IDCANCEL, 118, 28, 50, 14),
};
constexpr platform::DialogTemplate kForgotDialog{.style = kDialogStyle,
                                                 .width = 225,
                                                 .height = 49,
                                                 .caption = "Forgotten Password",
                                                 .items = kForgotItems};

constexpr platform::DialogItemTemplate kPasswordChangeItems[] = {
    LText("You must now select a new password before you can login.", -1, 7, 7, 200, 8),
    LText("New Password:", -1, 7, 25, 62, 8),
    EditText(kNewPasswordEdit, 72, 23, 100, 12, platform::ES_AUTOHSCROLL | platform::ES_PASSWORD),
    LText("Confirm Password:", -1, 7, 41, 62, 8),
    EditText(kConfirmNewPasswordEdit, 72, 39, 100, 12,
             platform::ES_AUTOHSCROLL | platform::ES_PASSWORD),
    DefPushButton("OK", platform::IDOK, 48, 60, 50, 14),
    PushButton("Cancel", platform::IDCANCEL, 110, 60, 50, 14),
};
constexpr platform::DialogTemplate kPasswordChangeDialog{.style = kDialogStyle,
                                                         .width = 210,
                                                         .height = 81,
                                                         .caption = "New Password",
                                                         .items = kPasswordChangeItems};

constexpr platform::DialogItemTemplate kBadSignInItems[] = {
    LText("Your Sign-In Name or Password is incorrect.\n\nClick 'Retry' to try again.\n\nIf you "
          "have forgotten your Sign-In Name of Password, click 'Help' below.",
          -1, 7, 7, 190, 58),
    DefPushButton("Retry", kBadSignInRetryButton, 44, 70, 50, 14),
    PushButton("Help", platform::IDOK, 106, 70, 50, 14),
};
constexpr platform::DialogTemplate kBadSignInDialog{.style = kDialogStyle,
                                                    .width = 204,
                                                    .height = 91,
                                                    .caption = "Incorrect Sign-In Name or Password",
                                                    .items = kBadSignInItems};

// A button's click (or the dialog's Esc and close box); not the focus notices buttons also send.
bool IsClick(platform::UINT message, platform::WPARAM wParam) {
  return message == platform::WM_COMMAND && platform::HIWORD(wParam) == platform::BN_CLICKED;
}

void ErrorBox(platform::HWND owner, const char* text) {
  platform::MessageBox(owner, text, g_StartupSettings.display_name, kMainErrorBoxFlags);
}

// Creates the dialog in place of the one the holder has.
void OpenIn(DialogHolder& holder, platform::HINSTANCE instance, const platform::DialogTemplate& dialog,
            platform::HWND parent, platform::DLGPROC procedure) {
  holder.Close();
  holder.dialog = platform::CreateDialogIndirect(instance, &dialog, parent, procedure);
  if (holder.dialog == nullptr) DebugLog_WriteLevel(1, "Unable to create dialog '%s'.\n", dialog.caption);
}

void SubmitForgottenAddress(platform::HWND dialog) {
  char typed[kTypedAddressBytes] = {};
  platform::GetDlgItemText(dialog, kForgotEmailEdit, typed, sizeof typed);
  uint8_t address[kEmailAddressBytes];
  if (const char* error = EmailAddress_Prepare(typed, address)) {
    ErrorBox(dialog, error);
    return;
  }
  if (address[0] == '\0') return;
  forgot_holder.Close();
  Lobby_GetNeighbours().SendLobbyPacket(PACKETTYPE_SENDEMAILADDRESS, address, kEmailAddressBytes);
}

platform::INT_PTR ForgotProc(platform::HWND dialog, platform::UINT message, platform::WPARAM wParam,
                             platform::LPARAM) {
  if (message == platform::WM_INITDIALOG) return 1;
  if (!IsClick(message, wParam)) return 0;
  switch (platform::LOWORD(wParam)) {
    case platform::IDOK:
      SubmitForgottenAddress(dialog);
      return 1;
    case platform::IDCANCEL:
      forgot_holder.Close();
      return 1;
    default:
      return 0;
  }
}

// Sends the new password with the one the sign-in record keeps, then keeps the new one there.
void SendNewPassword(const char* new_password) {
  Login_UnscramblePassword();
  char current[kPasswordCharacters + 1] = {};
  std::memcpy(current, Login_GetRecordPassword(), kPasswordCharacters);
  char name[kLoginNameBytes] = {};
  std::strncpy(name, Login_GetRecordName(), kLoginNameBytes - 1);

  LobbyNeighbours& neighbours = Lobby_GetNeighbours();
  uint8_t record[kPasswordChangeRecordBytes];
  PasswordChange_BuildRecord(new_password, current, name, g_StartupSettings.site_id,
                             neighbours.Login_GetSessionId(), record);
  neighbours.SendLobbyPacket(PACKETTYPE_TEMPPASSWORDENTRY, record, sizeof record);

  uint8_t kept[kLoginPasswordBytes] = {};
  std::memcpy(kept, new_password, std::strlen(new_password));
  Login_ScramblePassword(kept);
  Login_SetRecord(name, kept);
  std::memset(current, 0, sizeof current);
  std::memset(record, 0, sizeof record);
}

void ConfirmNewPassword(platform::HWND dialog) {
  char password[kPasswordCharacters + 1] = {};
  char confirm[kPasswordCharacters + 1] = {};
  platform::GetDlgItemText(dialog, kNewPasswordEdit, password, sizeof password);
  platform::GetDlgItemText(dialog, kConfirmNewPasswordEdit, confirm, sizeof confirm);
  bool nothing = false;
  if (const char* error = PasswordChange_Check(password, confirm, &nothing)) {
    ErrorBox(dialog, error);
  } else if (!nothing) {
    password_change_holder.Close();
    SendNewPassword(password);
  }
  std::memset(password, 0, sizeof password);
  std::memset(confirm, 0, sizeof confirm);
}

platform::INT_PTR PasswordChangeProc(platform::HWND dialog, platform::UINT message,
                                     platform::WPARAM wParam, platform::LPARAM) {
  switch (message) {
    case platform::WM_INITDIALOG:
      platform::SendDlgItemMessage(dialog, kNewPasswordEdit, platform::EM_LIMITTEXT,
                                   kPasswordCharacters, 0);
      platform::SendDlgItemMessage(dialog, kConfirmNewPasswordEdit, platform::EM_LIMITTEXT,
                                   kPasswordCharacters, 0);
      return 1;
    case platform::WM_COMMAND:
      if (!IsClick(message, wParam)) return 0;
      switch (platform::LOWORD(wParam)) {
        case platform::IDOK:
          ConfirmNewPassword(dialog);
          return 1;
        case platform::IDCANCEL:
          password_change_holder.Close();
          return 1;
        default:
          return 0;
      }
    default:
      return 0;
  }
}

void CloseBadSignIn() {
  if (BadSignInDialogHolder != nullptr) BadSignInDialogHolder->Close();
}

platform::INT_PTR BadSignInProc(platform::HWND, platform::UINT message, platform::WPARAM wParam,
                                platform::LPARAM) {
  if (message == platform::WM_INITDIALOG) return 1;
  if (!IsClick(message, wParam)) return 0;
  switch (platform::LOWORD(wParam)) {
    case kBadSignInRetryButton:
      CloseBadSignIn();
      Lobby_GetNeighbours().Login_ShowSignIn();
      return 1;
    case platform::IDOK:
      CloseBadSignIn();
      ForgotPasswordDialog::Open(ProgramInstance, Main_GetMessageBoxOwner());
      return 1;
    case platform::IDCANCEL:
      CloseBadSignIn();
      return 1;
    default:
      return 0;
  }
}

}  // namespace

void ForgotPasswordDialog::Open(platform::HINSTANCE instance, platform::HWND parent) {
  OpenIn(forgot_holder, instance, kForgotDialog, parent, &ForgotProc);
}

void PasswordChangeDialog::Open(platform::HINSTANCE instance, platform::HWND parent) {
  OpenIn(password_change_holder, instance, kPasswordChangeDialog, parent, &PasswordChangeProc);
}

void BadSignInDialog::Open(platform::HINSTANCE instance, platform::HWND parent) {
  if (BadSignInDialogHolder == nullptr) return;
  OpenIn(*BadSignInDialogHolder, instance, kBadSignInDialog, parent, &BadSignInProc);
}

DialogHolder& ForgotPasswordDialogHolder() { return forgot_holder; }
DialogHolder& PasswordChangeDialogHolder() { return password_change_holder; }

int PasswordDialogs_PreTranslate(platform::MSG* message) {
  if (forgot_holder.PreTranslate(message) == 0) return 0;
  return password_change_holder.PreTranslate(message);
}

void PasswordDialogs_Close() {
  forgot_holder.Close();
  password_change_holder.Close();
}

void PasswordDialogs_Destroy() {
  forgot_holder.Destroy();
  password_change_holder.Destroy();
}

// The names sign-in opens these dialogs by.
void BadSignInDialog_Show(platform::HWND owner) { BadSignInDialog::Open(ProgramInstance, owner); }

void ForgottenPasswordDialog_Show(platform::HWND owner) {
  ForgotPasswordDialog::Open(ProgramInstance, owner);
}
