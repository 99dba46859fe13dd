#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "cclient/lobby/history_bonus_window.h"
#include "cclient/lobby/pending_bonus_window.h"
#include "platform/controls/common_controls.h"
#include "platform/window/headless.h"
#include "platform/window/window.h"
#include "tests/cclient/lobby/lobby_test_support.h"
#include "tests/cclient/widgets/image_fixtures.h"
#include "tests/support/temp_program_folder.h"

namespace {

Bytes PendingPacket(const std::vector<std::pair<uint32_t, uint8_t>>& rows) {  // seconds, state
  Bytes bytes;
  bytes.U32(0).U8(static_cast<uint8_t>(rows.size()));
  int i = 0;
  for (auto [seconds, state] : rows) {
    bytes.Text("key" + std::to_string(i++)).U32(0).U32(1).Text("Deposit Bonus").Text("$25").U32(seconds);
    bytes.Text("Earn points.").U32(5000).U32(1250).U8(state).Text("");
  }
  return bytes;
}

class BonusWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    platform::headless::Reset();
    platform::InitCommonControls();
    const std::vector<uint8_t> grey(620 * 500 * 3, 0x90);
    folder_.WriteFile("pbback.a", EncodeJpeg(JpegKind::kColour, 620, 500, grey));
    folder_.WriteFile("pbbackhy.a", EncodeJpeg(JpegKind::kColour, 620, 500, grey));
  }
  void TearDown() override {
    PendingBonusWindow_Close();
    HistoryBonusWindow_Close();
    platform::headless::Reset();
  }
  TempProgramFolder folder_;
  RecordingLobby lobby_;
};

TEST_F(BonusWindowTest, pending_window_asks_refreshes_each_minute_and_counts_time_down) {
  ASSERT_EQ(PendingBonusWindow_Open(), 0);
  ASSERT_NE(PendingBonusWindow_GetWindow(), nullptr);
  ASSERT_EQ(lobby_.sent.size(), 1u);
  EXPECT_EQ(lobby_.sent[0], (LobbySent{1100, {0, 0, 0, 1}}));
  const Bytes packet = PendingPacket({{90061, 1}, {61, 2}, {10, 4}});
  ASSERT_EQ(PendingBonusWindow_OnData(1101, packet.data(), packet.size()), 0);
  EXPECT_EQ(PendingBonusWindow_GetCount(), 3);
  for (int i = 0; i < 40; ++i) PendingBonusWindow_Tick(1.5f);  // 60 s
  ASSERT_EQ(lobby_.sent.size(), 2u);
  EXPECT_EQ(lobby_.sent[1], (LobbySent{1100, {0, 0, 0, 0}}));
  EXPECT_EQ(PendingBonusWindow_GetRecords()[0].seconds_left, 90001u);
  EXPECT_EQ(PendingBonusWindow_GetRecords()[1].seconds_left, 1u);
  EXPECT_EQ(PendingBonusWindow_GetRecords()[2].seconds_left, 0u);
  EXPECT_TRUE(platform::headless::SaveWindowPicture(PendingBonusWindow_GetWindow(), "pending_bonuses.png"));

  // Data after the window closed updates nothing that is gone.
  PendingBonusWindow_Close();
  EXPECT_EQ(PendingBonusWindow_GetWindow(), nullptr);
  EXPECT_EQ(PendingBonusWindow_OnData(1101, packet.data(), packet.size()), 0);
  PendingBonusWindow_Tick(100.0f);
  EXPECT_EQ(lobby_.sent.size(), 2u);
}

TEST_F(BonusWindowTest, history_window_leaves_refreshing_when_a_short_packet_ends_it) {
  ASSERT_EQ(HistoryBonusWindow_Open(), 0);
  EXPECT_TRUE(HistoryBonusWindow_IsRefreshing());
  ASSERT_EQ(lobby_.sent.size(), 1u);
  EXPECT_EQ(lobby_.sent[0], (LobbySent{1104, {0, 0, 0, 0}}));
  Bytes short_packet;
  short_packet.U32(0).U8(2).Text("key");
  EXPECT_EQ(HistoryBonusWindow_OnData(1105, short_packet.data(), short_packet.size()), 1);
  EXPECT_FALSE(HistoryBonusWindow_IsRefreshing());
  HistoryBonusWindow_Redraw(0.1f);
  // A background of the wrong size opens nothing.
  HistoryBonusWindow_Close();
  folder_.WriteFile("pbbackhy.a", EncodeJpeg(JpegKind::kColour, 64, 64, std::vector<uint8_t>(64 * 64 * 3, 1)));
  EXPECT_EQ(HistoryBonusWindow_Open(), 1);
  EXPECT_EQ(HistoryBonusWindow_GetWindow(), nullptr);
}

}  // namespace
