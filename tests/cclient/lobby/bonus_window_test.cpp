#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "cclient/lobby/history_bonus_window.h"
#include "cclient/lobby/pending_bonus_window.h"
#include "platform/controls/common_controls.h"
#include "platform/controls/control_messages.h"
#include "platform/controls/scroll_bar.h"
#include "platform/window/headless.h"
#include "platform/window/message_queue.h"
#include "platform/window/window_messages.h"
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
  // History that arrives after the window closed touches no control that is gone.
  HistoryBonusWindow_Close();
  EXPECT_EQ(HistoryBonusWindow_GetWindow(), nullptr);
  EXPECT_EQ(HistoryBonusWindow_OnData(1105, short_packet.data(), short_packet.size()), 1);
  HistoryBonusWindow_Redraw(0.1f);
  // A background of the wrong size opens nothing.
  folder_.WriteFile("pbbackhy.a", EncodeJpeg(JpegKind::kColour, 64, 64, std::vector<uint8_t>(64 * 64 * 3, 1)));
  EXPECT_EQ(HistoryBonusWindow_Open(), 1);
  EXPECT_EQ(HistoryBonusWindow_GetWindow(), nullptr);
}

// Presses and releases the left button at a point of the window.
void Click(platform::HWND window, int x, int y) {
  platform::SendMessage(window, platform::WM_LBUTTONDOWN, platform::MK_LBUTTON, platform::MAKELPARAM(x, y));
  platform::SendMessage(window, platform::WM_LBUTTONUP, 0, platform::MAKELPARAM(x, y));
}

// Row r's buttons, with the window scrolled to the top: "more" at the top right of the row's
// frame, (409, 62 + 114 r); up and down 34 and 57 pixels below it at x 529.
constexpr int RowY(int row) { return 62 + 114 * row; }

TEST_F(BonusWindowTest, up_and_down_send_the_key_and_a_signed_step) {
  ASSERT_EQ(PendingBonusWindow_Open(), 0);
  const Bytes packet = PendingPacket({{100, 1}, {100, 1}, {100, 1}});
  ASSERT_EQ(PendingBonusWindow_OnData(1101, packet.data(), packet.size()), 0);
  platform::HWND window = PendingBonusWindow_GetWindow();
  lobby_.sent.clear();

  Click(window, 529 + 20, RowY(1) + 34 + 10);  // row 1 up
  ASSERT_EQ(lobby_.sent.size(), 1u);
  EXPECT_EQ(lobby_.sent[0], (LobbySent{1103, {0, 0, 0, 0, 'k', 'e', 'y', '1', 0, 0, 0, 0, 1}}));
  // While the answer is awaited the row buttons are hidden: a second click sends nothing.
  Click(window, 529 + 20, RowY(1) + 57 + 10);
  EXPECT_EQ(lobby_.sent.size(), 1u);

  ASSERT_EQ(PendingBonusWindow_OnData(1101, packet.data(), packet.size()), 0);
  Click(window, 529 + 20, RowY(0) + 57 + 10);  // row 0 down
  ASSERT_EQ(lobby_.sent.size(), 2u);
  EXPECT_EQ(lobby_.sent[1],
            (LobbySent{1103, {0, 0, 0, 0, 'k', 'e', 'y', '0', 0, 0xFF, 0xFF, 0xFF, 0xFF}}));
}

TEST_F(BonusWindowTest, wheel_and_scroll_bar_keep_the_offset_within_the_rows) {
  ASSERT_EQ(PendingBonusWindow_Open(), 0);
  platform::HWND window = PendingBonusWindow_GetWindow();
  const Bytes five = PendingPacket({{1, 1}, {1, 1}, {1, 1}, {1, 1}, {1, 1}});
  ASSERT_EQ(PendingBonusWindow_OnData(1101, five.data(), five.size()), 0);
  const int most = 114 * 5 - 385;
  struct Step {
    const char* name;
    platform::UINT message;
    platform::WPARAM wParam;
    int32_t offset_after;
  };
  const Step steps[] = {
      {"wheel up at the top stays", platform::WM_MOUSEWHEEL, platform::MAKEWPARAM(0, 120), 0},
      {"wheel down a notch", platform::WM_MOUSEWHEEL, platform::MAKEWPARAM(0, -120), 30},
      {"line down", platform::WM_VSCROLL, platform::MAKEWPARAM(platform::SB_LINEDOWN, 0), 68},
      {"line up", platform::WM_VSCROLL, platform::MAKEWPARAM(platform::SB_LINEUP, 0), 30},
      {"page down stops at the last row", platform::WM_VSCROLL, platform::MAKEWPARAM(platform::SB_PAGEDOWN, 0), most},
      {"line down at the bottom stays", platform::WM_VSCROLL, platform::MAKEWPARAM(platform::SB_LINEDOWN, 0), most},
      {"thumb to 100", platform::WM_VSCROLL, platform::MAKEWPARAM(platform::SB_THUMBTRACK, 100), 100},
      {"thumb past the end", platform::WM_VSCROLL, platform::MAKEWPARAM(platform::SB_THUMBTRACK, 5000), most},
      {"page up stops at the top", platform::WM_VSCROLL, platform::MAKEWPARAM(platform::SB_PAGEUP, 0), 0},
  };
  for (const Step& step : steps) {
    platform::SendMessage(window, step.message, step.wParam, 0);
    EXPECT_EQ(PendingBonusWindow_GetOffset(), step.offset_after) << step.name;
  }
  // Fewer rows than the page never scroll.
  const Bytes two = PendingPacket({{1, 1}, {1, 1}});
  ASSERT_EQ(PendingBonusWindow_OnData(1101, two.data(), two.size()), 0);
  platform::SendMessage(window, platform::WM_MOUSEWHEEL, platform::MAKEWPARAM(0, -1200), 0);
  EXPECT_EQ(PendingBonusWindow_GetOffset(), 0);
}

TEST_F(BonusWindowTest, more_shows_the_rows_details_and_the_next_click_hides_them) {
  ASSERT_EQ(PendingBonusWindow_Open(), 0);
  platform::HWND window = PendingBonusWindow_GetWindow();
  const Bytes packet = PendingPacket({{100, 1}, {100, 1}});
  ASSERT_EQ(PendingBonusWindow_OnData(1101, packet.data(), packet.size()), 0);
  EXPECT_STREQ(PendingBonusWindow_GetDetails(), "");
  Click(window, 409 + 40, RowY(1) + 10);
  EXPECT_NE(std::string(PendingBonusWindow_GetDetails()).find("Earn points."), std::string::npos)
      << PendingBonusWindow_GetDetails();
  EXPECT_TRUE(platform::headless::SaveWindowPicture(window, "pending_bonus_details.png"));
  lobby_.sent.clear();
  // The click that closes the box does nothing else, even over a button.
  Click(window, 529 + 20, RowY(1) + 34 + 10);
  EXPECT_STREQ(PendingBonusWindow_GetDetails(), "");
  EXPECT_TRUE(lobby_.sent.empty());
}

}  // namespace
