#include "platform/window/message_box.h"

#include <gtest/gtest.h>

#include "platform/system/clock.h"
#include "platform/window/activation.h"
#include "tests/platform/window/recording_window.h"

namespace windowtest {
namespace {

using namespace platform;

constexpr UINT kAskMessage = WM_APP + 10;
constexpr UINT kTablePost = WM_APP + 11;

class MessageBoxTest : public WindowTest {
 protected:
  static HWND OpenBox() {
    for (const auto& info : headless::ListWindows()) {
      if (info.class_name == "TvkMessageBox") return info.hwnd;
    }
    return nullptr;
  }
};

// The lobby asks whether to leave while a table animates on its own timer: the table keeps its
// ticks and posted messages, the lobby gets nothing (it is disabled) until the box is answered.
TEST_F(MessageBoxTest, nested_loop_keeps_other_windows_timers_and_posts_flowing) {
  const HWND main = CreateTopLevel("main");
  const HWND table = CreateTopLevel("table");
  SetTimer(table, 1, 40);
  int result = -1;
  Handle(main, [&](HWND h, UINT message, WPARAM, LPARAM) -> std::optional<LRESULT> {
    if (message == kAskMessage) {
      result = MessageBox(h, "Are you sure you want to leave the cardroom?", "Exit Confirmation", 0x134);
    }
    return std::nullopt;
  });
  headless::RunUntilIdle();

  bool main_enabled_while_open = true;
  HWND box = nullptr;
  headless::AnswerMessageBox(IDNO, [&] {
    main_enabled_while_open = IsWindowEnabled(main);
    box = OpenBox();
    EXPECT_EQ(GetForegroundWindow(), box);
    ClearLog();
    PostMessage(table, kTablePost, 0, 0);
    headless::InjectClick(main, 10, 10);
    headless::AdvanceClock(120);
  });
  PostMessage(main, kAskMessage, 0, 0);
  headless::RunUntilIdle();

  EXPECT_EQ(result, IDNO);
  EXPECT_FALSE(main_enabled_while_open);
  EXPECT_NE(box, nullptr);
  EXPECT_FALSE(IsWindow(box));
  EXPECT_EQ(Trace({WM_TIMER, kTablePost, WM_LBUTTONDOWN}),
            (std::vector<std::string>{std::to_string(kTablePost) + "@table", "TIMER@table", "TIMER@table",
                                      "TIMER@table"}));
  EXPECT_TRUE(IsWindowEnabled(main));
  EXPECT_EQ(GetForegroundWindow(), main);

  ASSERT_EQ(headless::MessageBoxes().size(), 1u);
  const headless::MessageBoxRecord& record = headless::MessageBoxes()[0];
  EXPECT_EQ(record.owner, main);
  EXPECT_EQ(record.text, "Are you sure you want to leave the cardroom?");
  EXPECT_EQ(record.caption, "Exit Confirmation");
  EXPECT_EQ(record.flags, 0x134u);
  EXPECT_EQ(record.buttons, (std::vector<std::string>{"Yes", "No"}));
  EXPECT_EQ(record.result, IDNO);
}

// A table's tick shows a box of its own while the lobby's box is open; each is answered in turn and
// the lobby stays disabled until its own box closes.
TEST_F(MessageBoxTest, box_opened_while_another_is_open) {
  const HWND main = CreateTopLevel("main");
  const HWND table = CreateTopLevel("table");
  headless::RunUntilIdle();
  int inner_result = -1;
  bool main_enabled_after_inner = true;
  bool table_enabled_after_inner = false;
  Handle(table, [&](HWND h, UINT message, WPARAM, LPARAM) -> std::optional<LRESULT> {
    if (message == WM_TIMER) {
      KillTimer(h, 1);
      inner_result = MessageBox(h, "This table has been shutdown.", "Game Table", MB_OK | MB_ICONSTOP | MB_TOPMOST);
      main_enabled_after_inner = IsWindowEnabled(main);
      table_enabled_after_inner = IsWindowEnabled(h);
    }
    return std::nullopt;
  });
  headless::AnswerMessageBox(IDYES, [&] {
    SetTimer(table, 1, 40);
    headless::AdvanceClock(40);
  });
  headless::AnswerMessageBox(IDOK);

  const int outer_result = MessageBox(main, "Leave?", "Exit Confirmation", MB_YESNO | MB_ICONQUESTION);

  EXPECT_EQ(outer_result, IDYES);
  EXPECT_EQ(inner_result, IDOK);
  EXPECT_FALSE(main_enabled_after_inner);
  EXPECT_TRUE(table_enabled_after_inner);
  EXPECT_TRUE(IsWindowEnabled(main));
  ASSERT_EQ(headless::MessageBoxes().size(), 2u);
  EXPECT_EQ(headless::MessageBoxes()[0].caption, "Exit Confirmation");
  EXPECT_EQ(headless::MessageBoxes()[0].result, IDYES);
  EXPECT_EQ(headless::MessageBoxes()[1].text, "This table has been shutdown.");
  EXPECT_EQ(headless::MessageBoxes()[1].owner, table);
  EXPECT_EQ(headless::MessageBoxes()[1].result, IDOK);
}

struct KeyAnswerCase {
  const char* name;
  UINT flags;
  std::vector<int> keys;
  int expected;
};

void PrintTo(const KeyAnswerCase& c, std::ostream* os) { *os << c.name; }

class MessageBoxKeysTest : public MessageBoxTest, public ::testing::WithParamInterface<KeyAnswerCase> {};

TEST_P(MessageBoxKeysTest, keyboard_chooses_the_button) {
  const KeyAnswerCase& c = GetParam();
  const HWND main = CreateTopLevel("main");
  headless::RunUntilIdle();
  headless::AnswerMessageBox(0, [&] {
    for (int key : c.keys) headless::InjectKeyPress(key);
    headless::RunUntilIdle();
  });
  EXPECT_EQ(MessageBox(main, "Question", "Caption", c.flags), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Keys, MessageBoxKeysTest,
    ::testing::Values(KeyAnswerCase{"enter_takes_the_default", MB_YESNO, {VK_RETURN}, IDYES},
                      KeyAnswerCase{"second_button_default", MB_YESNO | MB_DEFBUTTON2, {VK_RETURN}, IDNO},
                      KeyAnswerCase{"escape_cancels", MB_OKCANCEL, {VK_ESCAPE}, IDCANCEL},
                      KeyAnswerCase{"escape_on_ok_box", MB_OK, {VK_ESCAPE}, IDOK},
                      KeyAnswerCase{"escape_does_not_answer_yes_no", MB_YESNO, {VK_ESCAPE, VK_TAB, VK_RETURN}, IDNO},
                      KeyAnswerCase{"tab_moves_to_the_next_button", MB_OKCANCEL, {VK_TAB, VK_RETURN}, IDCANCEL}),
    [](const ::testing::TestParamInfo<KeyAnswerCase>& info) { return std::string(info.param.name); });

// The program's loop ends (WM_QUIT) while a box is open: the box closes and the quit goes on to the
// outer loop.
TEST_F(MessageBoxTest, quit_inside_the_box_reaches_the_outer_loop) {
  const HWND main = CreateTopLevel("main");
  headless::RunUntilIdle();
  headless::AnswerMessageBox(IDOK, [] { PostQuitMessage(5); });

  EXPECT_EQ(MessageBox(main, "Working", "Caption", MB_OK), 0);
  EXPECT_EQ(headless::RunUntilIdle(), std::optional<int>(5));
  EXPECT_TRUE(IsWindowEnabled(main));
}

// A box without an owner (before the main window exists) is system modal, topmost and draws its
// text, icon and button; the picture is written for a person to look at.
TEST_F(MessageBoxTest, box_without_owner_draws_its_text_and_buttons) {
  Surface picture;
  headless::AnswerMessageBox(IDOK, [&] {
    const HWND box = OpenBox();
    ASSERT_NE(box, nullptr);
    EXPECT_NE(GetWindowLongPtr(box, GWL_EXSTYLE) & WS_EX_TOPMOST, 0);
    picture = headless::GetWindowPicture(box);
    EXPECT_TRUE(headless::SaveWindowPicture(box, "message_box_stop.png"));
  });
  EXPECT_EQ(MessageBox(nullptr, "Error initializing, please reinstall this product.\n", "Gaming",
                       0x51010),
            IDOK);

  ASSERT_GT(picture.width, 0);
  // Something dark (text) right of the icon on the first line, and in the middle of the OK button.
  auto has_dark = [&picture](int left, int top, int right, int bottom) {
    for (int y = top; y < bottom; ++y) {
      for (int x = left; x < right; ++x) {
        const COLORREF c = ColourAt(picture, x, y);
        if (GetRValue(c) < 80 && GetGValue(c) < 80 && GetBValue(c) < 80) return true;
      }
    }
    return false;
  };
  EXPECT_TRUE(has_dark(60, 12, picture.width - 12, 30));
  EXPECT_TRUE(has_dark(picture.width / 2 - 10, picture.height - 30, picture.width / 2 + 10, picture.height - 16));
}

}  // namespace
}  // namespace windowtest
