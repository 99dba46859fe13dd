// The three small dialogs around the password: the forgotten-password dialog (sends the address
// on record so that the server mails a temporary password), the new-password dialog (after a
// sign-in with a temporary password) and the "Incorrect Sign-In Name or Password" dialog.
//
// Each exists at most once; opening one again replaces it. The bad sign-in dialog is held by the
// core's BadSignInDialogHolder, the other two by holders of their own. Every packet goes on the
// lobby connection.
//
// UI thread only.
#pragma once

#include "cclient/base/dialog_holder.h"
#include "platform/window/window_types.h"

// Control ids.
constexpr int kForgotEmailEdit = 1101;
constexpr int kNewPasswordEdit = 1102;
constexpr int kConfirmNewPasswordEdit = 1103;
constexpr int kBadSignInRetryButton = 1118;

class ForgotPasswordDialog {
 public:
  static void Open(platform::HINSTANCE instance, platform::HWND parent);
};

class PasswordChangeDialog {
 public:
  static void Open(platform::HINSTANCE instance, platform::HWND parent);
};

class BadSignInDialog {
 public:
  // Nothing when the core has not made its holder yet.
  static void Open(platform::HINSTANCE instance, platform::HWND parent);
};

DialogHolder& ForgotPasswordDialogHolder();
DialogHolder& PasswordChangeDialogHolder();

// Offers a message to the forgotten- and new-password dialogs: 0 when one consumed it, else 1.
int PasswordDialogs_PreTranslate(platform::MSG* message);
// Sign-out: closes both.
void PasswordDialogs_Close();
// Exit: destroys their windows.
void PasswordDialogs_Destroy();
