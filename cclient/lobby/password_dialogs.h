// The three small dialogs around the password: the forgotten-password dialog (asks the server to
// mail a temporary password), the new-password dialog (after a sign-in with a temporary password)
// and the "Incorrect Sign-In Name or Password" dialog.
//
// UI thread only. Each dialog exists at most once; opening it again replaces the open copy.
#pragma once

#include "platform/window/window_types.h"

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
  static void Open(platform::HINSTANCE instance, platform::HWND parent);
};
