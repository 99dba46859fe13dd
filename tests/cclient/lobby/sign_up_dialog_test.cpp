#include "cclient/lobby/sign_up_dialog.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "cclient/base/client_globals.h"
#include "cclient/base/main_message_box.h"
#include "cclient/base/startup_file.h"
#include "cclient/lobby/account_records.h"
#include "platform/controls/common_controls.h"
#include "platform/controls/control_messages.h"
#include "platform/controls/dialog.h"
#include "platform/window/headless.h"
#include "platform/window/message_queue.h"
#include "platform/window/window.h"
#include "tests/cclient/lobby/lobby_test_support.h"
#include "tests/support/temp_program_folder.h"

namespace {

class SignUpDialogTest : public ::testing::Test {
 protected:
  void SetUp() override {
    platform::headless::Reset();
    platform::InitCommonControls();
    saved_settings_ = g_StartupSettings;
    g_StartupSettings.site_id = 7;
    AffiliateId = 0x00112233;
  }
  void TearDown() override {
    SignUpDialog_Destroy();
    g_StartupSettings = saved_settings_;
    AffiliateId = 0;
    platform::headless::Reset();
  }
  static platform::HWND Form() { return SignUpDialog_GetForm(); }
  static void Notify(platform::HWND dialog, int id, int code) {
    platform::SendMessage(dialog, platform::WM_COMMAND, platform::MAKEWPARAM(id, code),
                          reinterpret_cast<platform::LPARAM>(platform::GetDlgItem(dialog, id)));
    platform::headless::RunUntilIdle();
  }
  static void Click(int id) { Notify(Form(), id, platform::BN_CLICKED); }
  static std::string Item(int id) {
    char text[1024] = {};
    platform::GetDlgItemText(Form(), id, text, sizeof text);
    return text;
  }
  static void Set(int id, const char* text) { platform::SetDlgItemText(Form(), id, text); }
  static int Row(int list) {
    return static_cast<int>(platform::SendDlgItemMessage(Form(), list, platform::CB_GETCURSEL, 0, 0));
  }
  static void Choose(int list, int row) {
    platform::SendDlgItemMessage(Form(), list, platform::CB_SETCURSEL, static_cast<platform::WPARAM>(row), 0);
  }
  static bool SignUpEnabled() { return platform::IsWindowEnabled(platform::GetDlgItem(Form(), platform::IDOK)); }
  static void FillGoodForm() {
    Set(kSignUpNameEdit, "bob42");
    Set(kSignUpPasswordEdit, "secret1");
    Set(kSignUpConfirmPasswordEdit, "secret1");
    Set(kSignUpEmailEdit, "bob@mail.test");
    Set(kSignUpConfirmEmailEdit, "bob@mail.test");
    Set(kSignUpCityEdit, "Port-Louis");
    Set(kSignUpBonusEdit, "WELCOME1");
    Choose(kSignUpCountryList, Country_Find("MU"));
    Choose(kSignUpHowLearnedList, 12);  // "Friend"
  }

  RecordingLobby lobby_;
  StartupSettings saved_settings_{};
};

TEST_F(SignUpDialogTest, first_opening_presets_the_country_and_sign_up_waits_for_the_agreement) {
  SignUpDialog_Open(nullptr, nullptr);
  ASSERT_NE(Form(), nullptr);
  EXPECT_EQ(Row(kSignUpCountryList), Country_Find("US"));
  EXPECT_EQ(platform::SendDlgItemMessage(Form(), kSignUpCountryList, platform::CB_GETCOUNT, 0, 0), 231);
  EXPECT_EQ(Row(kSignUpHowLearnedList), 0);
  EXPECT_EQ(platform::SendDlgItemMessage(Form(), kSignUpHowLearnedList, platform::CB_GETCOUNT, 0, 0), 13);
  EXPECT_FALSE(SignUpEnabled());
  Click(kSignUpAgreeBox);
  EXPECT_TRUE(SignUpEnabled());
  EXPECT_EQ(platform::IsDlgButtonChecked(Form(), kSignUpAgreeBox), platform::BST_CHECKED);
  Click(kSignUpAgreeBox);
  EXPECT_FALSE(SignUpEnabled());

  Notify(Form(), kSignUpEmailEdit, platform::EN_SETFOCUS);
  EXPECT_EQ(Item(kSignUpHintArea),
            "\n\n\n\n\n<----  Please ensure you enter a\n        valid email account.");
  Notify(Form(), kSignUpCountryList, platform::CBN_SETFOCUS);
  EXPECT_EQ(Item(kSignUpHintArea), "\n\n\n\n\n\n\n\n\n\n<----  Please select your country\n        from the list.");

  FillGoodForm();
  Click(kSignUpAgreeBox);
  EXPECT_TRUE(platform::headless::SaveWindowPicture(Form(), "sign_up_form.png"));
}

TEST_F(SignUpDialogTest, canadian_sites_start_with_canada) {
  g_StartupSettings.site_id = 31;
  SignUpDialog_Open(nullptr, nullptr);
  EXPECT_EQ(Row(kSignUpCountryList), Country_Find("CA"));
}

TEST_F(SignUpDialogTest, a_failed_check_is_shown_in_the_hint_area_and_nothing_is_sent) {
  SignUpDialog_Open(nullptr, nullptr);
  Click(kSignUpAgreeBox);
  FillGoodForm();
  Set(kSignUpNameEdit, "bo b");
  Click(platform::IDOK);
  EXPECT_EQ(Item(kSignUpHintArea),
            "<----  Sign-In Names may only\n        contain letters and numbers.\n        No symbols, spaces or\n"
            "        accented characters.");
  Set(kSignUpNameEdit, "bob42");
  Choose(kSignUpHowLearnedList, 0);
  Click(platform::IDOK);
  EXPECT_EQ(Item(kSignUpHintArea).find("You must select how you learned"), 19u);
  EXPECT_TRUE(lobby_.sent.empty());
  EXPECT_NE(Form(), nullptr);
}

TEST_F(SignUpDialogTest, sign_up_sends_the_record_and_a_refusal_brings_the_form_back_as_typed) {
  SignUpDialog_Open(nullptr, nullptr);
  Click(kSignUpAgreeBox);
  FillGoodForm();
  Click(platform::IDOK);
  EXPECT_EQ(Form(), nullptr);
  ASSERT_EQ(lobby_.sent.size(), 1u);
  EXPECT_EQ(lobby_.sent[0].type, 1078u);
  const std::vector<uint8_t>& record = lobby_.sent[0].payload;
  ASSERT_EQ(record.size(), 726u);
  const SignUpFields fields{.name = "bob42",
                            .password = "secret1",
                            .confirm_password = "secret1",
                            .email = "bob@mail.test",
                            .confirm_email = "bob@mail.test",
                            .city = "Port-Louis",
                            .bonus_code = "WELCOME1",
                            .country_row = Country_Find("MU"),
                            .how_learned_row = 12,
                            .how_learned_text = "Friend"};
  uint8_t expected[kSignUpRecordBytes];
  SignUp_BuildRecord(fields, 7, 0x00112233, expected);
  EXPECT_EQ(record, std::vector<uint8_t>(expected, expected + sizeof expected));
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(&record[461])), "MU");

  const uint8_t taken = 10;
  EXPECT_EQ(SignUpDialog_OnSignUpResult(&taken, 1), 0);
  ASSERT_NE(Form(), nullptr);
  EXPECT_EQ(Item(kSignUpHintArea),
            "\nUNABLE TO CREATE ACCOUNT!\n\nAn account with the given Sign-In Name already exists.\n\n"
            "Please choose a different Sign-In Name.");
  EXPECT_EQ(Item(kSignUpNameEdit), "bob42");
  EXPECT_EQ(Item(kSignUpPasswordEdit), "secret1");
  EXPECT_EQ(Item(kSignUpConfirmPasswordEdit), "secret1");
  EXPECT_EQ(Item(kSignUpConfirmEmailEdit), "bob@mail.test");
  EXPECT_EQ(Item(kSignUpCityEdit), "Port-Louis");
  EXPECT_EQ(Item(kSignUpBonusEdit), "WELCOME1");
  EXPECT_EQ(Row(kSignUpCountryList), Country_Find("MU"));
  EXPECT_EQ(Row(kSignUpHowLearnedList), 12);
  EXPECT_TRUE(SignUpEnabled()) << "the agreement is kept for the run";

  // A cancelled form leaves the record as it was sent.
  Set(kSignUpNameEdit, "other");
  Click(platform::IDCANCEL);
  EXPECT_EQ(Form(), nullptr);
  SignUpDialog_Open(nullptr, nullptr);
  EXPECT_EQ(Item(kSignUpNameEdit), "bob42");
}

TEST_F(SignUpDialogTest, success_counts_the_account_and_wrong_sizes_are_dropped) {
  const uint8_t two[2] = {0, 0};
  EXPECT_EQ(SignUpDialog_OnSignUpResult(two, 2), 1);
  EXPECT_EQ(SignUpDialog_OnSignUpResult(two, 0), 1);
  EXPECT_TRUE(lobby_.calls.empty());
  EXPECT_EQ(SignUpDialog_OnSignUpResult(two, 1), 0);
  EXPECT_EQ(lobby_.calls, std::vector<std::string>{"Login_CountNewAccount"});
  ASSERT_EQ(platform::headless::MessageBoxes().size(), 1u);
  const auto& box = platform::headless::MessageBoxes()[0];
  EXPECT_EQ(box.caption, "Sign Up Success");
  EXPECT_EQ(box.flags, kMainInfoBoxFlags);
  EXPECT_EQ(box.text.rfind("Thank you. Your Sign up was successful.", 0), 0u);
  EXPECT_EQ(Form(), nullptr);
}

TEST_F(SignUpDialogTest, terms_show_the_file_cut_at_16383_bytes_or_nothing_without_it) {
  TempProgramFolder folder;
  SignUpDialog_Open(nullptr, nullptr);
  Click(kSignUpReadTermsButton);
  ASSERT_NE(SignUpDialog_GetTerms(), nullptr);
  EXPECT_EQ(platform::GetWindowTextLength(platform::GetDlgItem(SignUpDialog_GetTerms(), kTermsText)), 0);

  std::string terms(20000, 'x');
  terms.replace(0, 14, "Terms of use.\n");
  folder.WriteFile("userterm.txt", terms);
  const platform::HWND first = SignUpDialog_GetTerms();
  Click(kSignUpReadTermsButton);
  EXPECT_FALSE(platform::IsWindow(first)) << "an open copy is replaced";
  const platform::HWND text = platform::GetDlgItem(SignUpDialog_GetTerms(), kTermsText);
  EXPECT_EQ(platform::GetWindowTextLength(text), 16383);
  Notify(SignUpDialog_GetTerms(), platform::IDCANCEL, platform::BN_CLICKED);
  EXPECT_EQ(SignUpDialog_GetTerms(), nullptr);
}

}  // namespace
