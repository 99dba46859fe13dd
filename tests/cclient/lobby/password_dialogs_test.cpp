#include "cclient/lobby/password_dialogs.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "cclient/base/client_globals.h"
#include "cclient/app/login.h"
#include "cclient/base/main_message_box.h"
#include "cclient/base/startup_file.h"
#include "platform/controls/common_controls.h"
#include "platform/controls/control_messages.h"
#include "platform/controls/dialog.h"
#include "platform/window/headless.h"
#include "platform/window/message_queue.h"
#include "platform/window/virtual_keys.h"
#include "platform/window/window.h"
#include "tests/cclient/lobby/lobby_test_support.h"

namespace {

void Command(platform::HWND dialog, int id) {
  platform::SendMessage(dialog, platform::WM_COMMAND, platform::MAKEWPARAM(id, 0),
                        reinterpret_cast<platform::LPARAM>(platform::GetDlgItem(dialog, id)));
  platform::headless::RunUntilIdle();
}

class PasswordDialogsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    platform::headless::Reset();
    platform::InitCommonControls();
    saved_settings_ = g_StartupSettings;
    std::strcpy(g_StartupSettings.display_name, "Card Room");
    g_StartupSettings.site_id = 0x0A0B0C0D;
    BadSignInDialogHolder = &bad_sign_in_;
  }
  void TearDown() override {
    PasswordDialogs_Close();
    bad_sign_in_.Close();
    BadSignInDialogHolder = nullptr;
    g_StartupSettings = saved_settings_;
    platform::headless::Reset();
  }
  static const platform::headless::MessageBoxRecord* LastBox() {
    const auto& boxes = platform::headless::MessageBoxes();
    return boxes.empty() ? nullptr : &boxes.back();
  }

  RecordingLobby lobby_;
  DialogHolder bad_sign_in_;
  StartupSettings saved_settings_{};
};

TEST_F(PasswordDialogsTest, holder_gives_keys_to_its_dialog_and_closes_or_destroys_it) {
  DialogHolder holder;
  platform::MSG tab{};
  tab.message = platform::WM_KEYDOWN;
  tab.wParam = platform::VK_TAB;
  EXPECT_EQ(holder.PreTranslate(&tab), 1) << "no dialog held";

  ForgotPasswordDialog::Open(nullptr, nullptr);
  const platform::HWND first = ForgotPasswordDialogHolder().dialog;
  ASSERT_NE(first, nullptr);
  tab.hwnd = platform::GetDlgItem(first, kForgotEmailEdit);
  EXPECT_EQ(ForgotPasswordDialogHolder().PreTranslate(&tab), 0);

  ForgotPasswordDialog::Open(nullptr, nullptr);
  EXPECT_FALSE(platform::IsWindow(first)) << "opening again replaces the dialog";
  const platform::HWND second = ForgotPasswordDialogHolder().dialog;
  ASSERT_TRUE(platform::IsWindow(second));

  PasswordDialogs_Destroy();
  EXPECT_FALSE(platform::IsWindow(second));
  EXPECT_EQ(ForgotPasswordDialogHolder().dialog, second) << "Destroy leaves the handle";
  EXPECT_EQ(ForgotPasswordDialogHolder().PreTranslate(&tab), 1);
  ForgotPasswordDialogHolder().Close();
  EXPECT_EQ(ForgotPasswordDialogHolder().dialog, nullptr);
}

TEST_F(PasswordDialogsTest, forgotten_password_sends_the_trimmed_address_padded_to_65_bytes) {
  ForgotPasswordDialog::Open(nullptr, nullptr);
  const platform::HWND dialog = ForgotPasswordDialogHolder().dialog;
  platform::SetDlgItemText(dialog, kForgotEmailEdit, "   bob@mail.test  ");
  Command(dialog, platform::IDOK);
  std::vector<uint8_t> expected(65, 0);
  std::memcpy(expected.data(), "bob@mail.test", 13);
  EXPECT_EQ(lobby_.sent, (std::vector<LobbySent>{{1090, expected}}));
  EXPECT_FALSE(platform::IsWindow(dialog));
  EXPECT_TRUE(platform::headless::MessageBoxes().empty());
}

TEST_F(PasswordDialogsTest, forgotten_password_refusals_keep_the_dialog) {
  struct Case {
    std::string typed;
    const char* box;  // nullptr: nothing at all
  } const cases[] = {
      {"", nullptr},
      {"bob@mail.", "Invalid e-mail address."},
      {"@mail.test", "Invalid e-mail address."},
      {std::string(61, 'a') + "@b.c", "E-mail address is too long."},
  };
  for (const Case& c : cases) {
    platform::headless::Reset();
    platform::InitCommonControls();
    ForgotPasswordDialog::Open(nullptr, nullptr);
    const platform::HWND dialog = ForgotPasswordDialogHolder().dialog;
    platform::SetDlgItemText(dialog, kForgotEmailEdit, c.typed.c_str());
    Command(dialog, platform::IDOK);
    EXPECT_TRUE(lobby_.sent.empty()) << c.typed;
    EXPECT_TRUE(platform::IsWindow(dialog)) << c.typed;
    if (c.box == nullptr) {
      EXPECT_EQ(LastBox(), nullptr) << c.typed;
      continue;
    }
    ASSERT_NE(LastBox(), nullptr) << c.typed;
    EXPECT_EQ(LastBox()->text, c.box);
    EXPECT_EQ(LastBox()->caption, "Card Room");
    EXPECT_EQ(LastBox()->owner, dialog);
    EXPECT_EQ(LastBox()->flags, kMainErrorBoxFlags);
  }
}

TEST_F(PasswordDialogsTest, new_password_goes_with_the_kept_one_and_replaces_it) {
  uint8_t temporary[kLoginPasswordBytes] = {};
  std::memcpy(temporary, "tmp987", 6);
  Login_ScramblePassword(temporary);
  Login_SetRecord("bob", temporary);

  PasswordChangeDialog::Open(nullptr, nullptr);
  const platform::HWND dialog = PasswordChangeDialogHolder().dialog;
  ASSERT_NE(dialog, nullptr);
  platform::SetDlgItemText(dialog, kNewPasswordEdit, "fresh123");
  Command(dialog, platform::IDOK);
  ASSERT_NE(LastBox(), nullptr) << "typed in one box only";
  EXPECT_EQ(LastBox()->text,
            "The passwords you typed do not match. Type the new password in both text boxes.");
  EXPECT_TRUE(lobby_.sent.empty());

  platform::SetDlgItemText(dialog, kConfirmNewPasswordEdit, "fresh123");
  Command(dialog, platform::IDOK);
  EXPECT_FALSE(platform::IsWindow(dialog));
  std::vector<uint8_t> expected(69, 0);
  std::memcpy(&expected[0], "fresh123", 8);
  std::memcpy(&expected[21], "tmp987", 6);
  std::memcpy(&expected[42], "bob", 3);
  expected[53] = 0x0A, expected[54] = 0x0B, expected[55] = 0x0C, expected[56] = 0x0D;
  std::memcpy(&expected[57], "SESSION-0042", 12);
  EXPECT_EQ(lobby_.sent, (std::vector<LobbySent>{{1089, expected}}));

  Login_UnscramblePassword();
  EXPECT_STREQ(reinterpret_cast<const char*>(Login_GetRecordPassword()), "fresh123");
  EXPECT_STREQ(Login_GetRecordName(), "bob");
}

TEST_F(PasswordDialogsTest, bad_sign_in_retry_help_and_close) {
  BadSignInDialog::Open(nullptr, nullptr);
  platform::HWND dialog = bad_sign_in_.dialog;
  ASSERT_NE(dialog, nullptr);
  char caption[80] = {};
  platform::GetWindowText(dialog, caption, sizeof caption);
  EXPECT_STREQ(caption, "Incorrect Sign-In Name or Password");
  Command(dialog, kBadSignInRetryButton);
  EXPECT_FALSE(platform::IsWindow(dialog));
  EXPECT_EQ(lobby_.calls, std::vector<std::string>{"Login_ShowSignIn"});

  BadSignInDialog::Open(nullptr, nullptr);
  dialog = bad_sign_in_.dialog;
  Command(dialog, platform::IDOK);  // Help
  EXPECT_FALSE(platform::IsWindow(dialog));
  EXPECT_TRUE(platform::IsWindow(ForgotPasswordDialogHolder().dialog));

  BadSignInDialog::Open(nullptr, nullptr);
  dialog = bad_sign_in_.dialog;
  platform::headless::InjectClose(dialog);
  platform::headless::RunUntilIdle();
  EXPECT_FALSE(platform::IsWindow(dialog));
  EXPECT_EQ(bad_sign_in_.dialog, nullptr);
}

}  // namespace
