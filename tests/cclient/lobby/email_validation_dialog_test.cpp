#include "cclient/lobby/email_validation_dialog.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "cclient/base/client_globals.h"
#include "cclient/base/main_message_box.h"
#include "cclient/base/startup_file.h"
#include "platform/controls/common_controls.h"
#include "platform/controls/control_messages.h"
#include "platform/controls/dialog.h"
#include "platform/window/headless.h"
#include "platform/window/message_queue.h"
#include "platform/window/window.h"
#include "tests/cclient/lobby/lobby_test_support.h"

namespace {

std::vector<uint8_t> StatusPayload(uint8_t status, const std::string& address) {
  std::vector<uint8_t> bytes{status};
  bytes.insert(bytes.end(), address.begin(), address.end());
  bytes.push_back(0);
  return bytes;
}

class EmailValidationTest : public ::testing::Test {
 protected:
  void SetUp() override {
    platform::headless::Reset();
    platform::InitCommonControls();
    saved_settings_ = g_StartupSettings;
    std::strcpy(g_StartupSettings.display_name, "Card Room");
  }
  void TearDown() override {
    dialog().Close();
    g_StartupSettings = saved_settings_;
    platform::headless::Reset();
  }
  static EmailValidationDialog& dialog() { return GlobalEmailValidationDialog(); }
  static int Status(const std::vector<uint8_t>& payload) {
    return dialog().OnEmailAndStatusResult(payload.data(), static_cast<uint32_t>(payload.size()));
  }
  static void Command(int id) {
    const platform::HWND window = dialog().Window();
    platform::SendMessage(window, platform::WM_COMMAND, platform::MAKEWPARAM(id, 0),
                          reinterpret_cast<platform::LPARAM>(platform::GetDlgItem(window, id)));
    platform::headless::RunUntilIdle();
  }
  static std::string Item(int id) {
    char text[512] = {};
    platform::GetDlgItemText(dialog().Window(), id, text, sizeof text);
    return text;
  }
  static bool Enabled(int id) {
    return platform::IsWindowEnabled(platform::GetDlgItem(dialog().Window(), id));
  }
  static const platform::headless::MessageBoxRecord* LastBox() {
    const auto& boxes = platform::headless::MessageBoxes();
    return boxes.empty() ? nullptr : &boxes.back();
  }

  RecordingLobby lobby_;
  StartupSettings saved_settings_{};
};

TEST_F(EmailValidationTest, status_answer_opens_the_dialog_for_either_status) {
  ASSERT_EQ(Status(StatusPayload(1, "bob@mail.test")), 0);
  ASSERT_NE(dialog().Window(), nullptr);
  EXPECT_EQ(Item(kValidationAddressText), "bob@mail.test");
  EXPECT_EQ(Item(kValidationNewAddressEdit), "bob@mail.test");
  EXPECT_TRUE(Enabled(kValidationCodeEdit));
  const platform::HWND first = dialog().Window();

  ASSERT_EQ(Status(StatusPayload(0, "bob@mail.test")), 0);
  EXPECT_FALSE(platform::IsWindow(first)) << "an open dialog is replaced";
  EXPECT_EQ(Item(kValidationAddressText), "bob@mail.test");
  EXPECT_EQ(Item(kValidationNewAddressEdit), "");
  EXPECT_EQ(Item(kValidationStatusText), "The above e-mail address has already been validated.");
  EXPECT_EQ(Item(kValidationHintEnd), "validate your e-mail address.");
  EXPECT_NE(Item(kValidationHint).find("If you have changed your e-mail address"), std::string::npos);
  for (int id : {kValidationCodeLabel, kValidationCodeEdit, kValidationValidateButton}) {
    EXPECT_FALSE(Enabled(id)) << id;
  }
  EXPECT_TRUE(platform::headless::MessageBoxes().empty());
}

TEST_F(EmailValidationTest, malformed_status_answers_are_dropped_and_an_unknown_status_is_told) {
  std::vector<uint8_t> trailing = StatusPayload(1, "bob@mail.test");
  trailing.push_back('x');
  std::vector<uint8_t> unterminated = StatusPayload(1, "bob@mail.test");
  unterminated.pop_back();
  struct Case {
    const char* name;
    std::vector<uint8_t> payload;
  } const cases[] = {
      {"65 characters before the NUL", StatusPayload(1, std::string(61, 'a') + "@b.c")},
      {"a byte after the NUL", trailing},
      {"no NUL", unterminated},
      {"status only", {1}},
      {"empty", {}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Status(c.payload), 1) << c.name;
    EXPECT_EQ(dialog().Window(), nullptr) << c.name;
  }
  EXPECT_TRUE(platform::headless::MessageBoxes().empty());

  EXPECT_EQ(Status(StatusPayload(0, std::string(60, 'a') + "@b.c")), 0) << "64 characters fit";
  EXPECT_NE(dialog().Window(), nullptr);

  EXPECT_EQ(Status(StatusPayload(2, "bob@mail.test")), 0);
  EXPECT_EQ(dialog().Window(), nullptr);
  ASSERT_NE(LastBox(), nullptr);
  EXPECT_EQ(LastBox()->text,
            "Unable to determine validation status at this time. Please contact Customer Support.");
  EXPECT_EQ(LastBox()->flags, kMainErrorBoxFlags);
}

TEST_F(EmailValidationTest, validate_sends_a_signed_code_and_refuses_letters) {
  ASSERT_EQ(Status(StatusPayload(1, "bob@mail.test")), 0);
  platform::SetDlgItemText(dialog().Window(), kValidationCodeEdit, "12ab");
  Command(kValidationValidateButton);
  EXPECT_TRUE(lobby_.sent.empty());
  ASSERT_NE(LastBox(), nullptr);
  EXPECT_EQ(LastBox()->owner, dialog().Window());
  EXPECT_EQ(LastBox()->text.rfind("The Validation Code you have entered is invalid.", 0), 0u);

  platform::SetDlgItemText(dialog().Window(), kValidationCodeEdit, "-17");
  Command(kValidationValidateButton);
  EXPECT_EQ(dialog().Window(), nullptr);
  EXPECT_EQ(lobby_.sent, (std::vector<LobbySent>{{1084, {0xFF, 0xFF, 0xFF, 0xEF}}}));
}

TEST_F(EmailValidationTest, submit_sends_a_new_address_and_refuses_the_validated_one) {
  ASSERT_EQ(Status(StatusPayload(0, "bob@mail.test")), 0);
  platform::SetDlgItemText(dialog().Window(), kValidationNewAddressEdit, " bob@mail.test ");
  Command(kValidationSubmitButton);
  EXPECT_TRUE(lobby_.sent.empty());
  ASSERT_NE(LastBox(), nullptr);
  EXPECT_EQ(LastBox()->text, "The e-mail address you entered has already been validated.");
  EXPECT_NE(dialog().Window(), nullptr);

  platform::SetDlgItemText(dialog().Window(), kValidationNewAddressEdit, "  new@mail.test ");
  Command(kValidationSubmitButton);
  EXPECT_EQ(dialog().Window(), nullptr);
  const std::string sent = "new@mail.test";
  std::vector<uint8_t> expected(sent.begin(), sent.end());
  expected.push_back(0);
  EXPECT_EQ(lobby_.sent, (std::vector<LobbySent>{{1086, expected}}));

  EmailValidation_RequestStatus();
  EXPECT_EQ(lobby_.sent.back(), (LobbySent{1082, {}}));
}

TEST_F(EmailValidationTest, result_answers_show_their_box_and_wrong_sizes_are_dropped) {
  MainWindow = nullptr;
  const uint8_t zero = 0, four = 4;
  EXPECT_EQ(dialog().OnValidateEmailResult(&zero, 1), 0);
  EXPECT_EQ(LastBox()->text, "Your e-mail address has been validated successfully.");
  EXPECT_EQ(LastBox()->flags, kMainInfoBoxFlags);
  EXPECT_EQ(LastBox()->caption, "Card Room");
  EXPECT_EQ(dialog().OnSendValidationCodeResult(&four, 1), 0);
  EXPECT_EQ(LastBox()->text, "The e-mail address you entered has already been validated.");
  EXPECT_EQ(LastBox()->flags, kMainErrorBoxFlags);

  const uint8_t two[2] = {0, 0};
  const size_t shown = platform::headless::MessageBoxes().size();
  EXPECT_EQ(dialog().OnValidateEmailResult(two, 2), 1);
  EXPECT_EQ(dialog().OnSendValidationCodeResult(two, 0), 1);
  EXPECT_EQ(platform::headless::MessageBoxes().size(), shown);
}

}  // namespace
