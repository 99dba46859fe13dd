#include "cclient/lobby/info_dialogs.h"

#include <gtest/gtest.h>

#include <string>

#include "cclient/base/startup_file.h"
#include "platform/controls/common_controls.h"
#include "platform/controls/control_messages.h"
#include "platform/controls/dialog.h"
#include "platform/window/headless.h"
#include "platform/window/message_queue.h"
#include "platform/window/window.h"

namespace {

class InfoDialogsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    platform::headless::Reset();
    platform::InitCommonControls();
    saved_settings_ = g_StartupSettings;
  }
  void TearDown() override {
    InfoDialogs_Destroy();
    g_StartupSettings = saved_settings_;
    platform::headless::Reset();
  }
  static std::string Item(platform::HWND dialog, int id) {
    char text[4096] = {};
    platform::GetDlgItemText(dialog, id, text, sizeof text);
    return text;
  }
  static void Click(platform::HWND dialog, int id) {
    platform::SendMessage(dialog, platform::WM_COMMAND, platform::MAKEWPARAM(id, platform::BN_CLICKED),
                          reinterpret_cast<platform::LPARAM>(platform::GetDlgItem(dialog, id)));
    platform::headless::RunUntilIdle();
  }

  StartupSettings saved_settings_{};
};

TEST_F(InfoDialogsTest, about_shows_name_and_version_and_opens_once) {
  AboutBox_Show(nullptr, nullptr, "Card Room", 2, 5);
  const platform::HWND dialog = AboutBox_GetDialog();
  ASSERT_NE(dialog, nullptr);
  EXPECT_EQ(Item(dialog, kAboutNameText), "Card Room");
  EXPECT_EQ(Item(dialog, kAboutVersionText), "Version 2.05");
  AboutBox_Show(nullptr, nullptr, "Card Room", 2, 5);
  EXPECT_EQ(AboutBox_GetDialog(), dialog);
  Click(dialog, platform::IDOK);
  EXPECT_EQ(AboutBox_GetDialog(), nullptr);
  EXPECT_FALSE(platform::IsWindow(dialog));
}

TEST_F(InfoDialogsTest, report_text) {
  SystemInfoValues values;
  values.version_major = 3;
  values.version_minor = 7;
  values.os_id = 1;
  values.variant_id = 2;
  values.site_id = 31;
  values.local_address[0] = 192, values.local_address[1] = 168, values.local_address[3] = 9;
  values.server_seen_address[0] = 10, values.server_seen_address[3] = 1;
  values.link_quality = "Good";
  values.reconnects = 2;
  values.ssl_cipher = "TLS_AES_256_GCM_SHA384";
  values.ssl_subject = "CN=server";
  values.ssl_issuer = "CN=Test CA";
  values.system_description = "Linux version 6.1 (Build x86_64)\r\n\r\n";
  char report[2048];
  SystemInfo_BuildReport(values, report, sizeof report);
  EXPECT_EQ(std::string(report),
            "\r\nClient Version: 3.07 (OS 1) (Variant 2) (Site 31)\r\n\r\n"
            "Detected Local Address: 192.168.0.9\r\nServer Detected Local IP: 10.0.0.1\r\n"
            "Internet Connection Quality is Good.\r\nReconnections 2\r\n"
            "Ping Times:  Last 0 ms, Worst 0 ms, Average 0 ms of 0 pings\r\n\r\n"
            "SSL Cipher is 'TLS_AES_256_GCM_SHA384'.\r\nSSL Subject is 'CN=server'.\r\n"
            "SSL Issuer is 'CN=Test CA'.\r\n\r\nLinux version 6.1 (Build x86_64)\r\n\r\n");

  values.ping_count = 4;
  values.ping_last_ms = 40;
  values.ping_worst_ms = 90;
  values.ping_total_ms = 210;
  SystemInfo_BuildReport(values, report, sizeof report);
  EXPECT_NE(std::string(report).find("Ping Times:  Last 40 ms, Worst 90 ms, Average 52 ms of 4 pings\r\n"),
            std::string::npos);
}

TEST_F(InfoDialogsTest, system_information_refreshes_in_the_same_window) {
  g_StartupSettings.site_id = 12;
  SystemInfoDialog_Show(nullptr, nullptr, 1, 2);
  const platform::HWND dialog = SystemInfoDialog_GetDialog();
  ASSERT_NE(dialog, nullptr);
  const std::string first = Item(dialog, kSystemInfoReport);
  EXPECT_NE(first.find("Client Version: 1.02"), std::string::npos) << first;
  EXPECT_NE(first.find("(Site 12)"), std::string::npos);
  EXPECT_NE(first.find("Average 0 ms of 0 pings"), std::string::npos);
  EXPECT_NE(first.find("Detected Local Address: 0.0.0.0"), std::string::npos);
  platform::headless::RunUntilIdle();
  EXPECT_TRUE(platform::headless::SaveWindowPicture(dialog, "system_information.png"));

  g_StartupSettings.site_id = 13;
  SystemInfoDialog_Show(nullptr, nullptr, 1, 2);
  EXPECT_EQ(SystemInfoDialog_GetDialog(), dialog);
  EXPECT_NE(Item(dialog, kSystemInfoReport).find("(Site 13)"), std::string::npos);
  Click(dialog, platform::IDOK);
  EXPECT_EQ(SystemInfoDialog_GetDialog(), nullptr);
}

}  // namespace
