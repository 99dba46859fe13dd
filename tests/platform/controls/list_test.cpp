#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/draw/gdi.h"
#include "platform/text/text.h"
#include "tests/platform/controls/controls_fixture.h"

namespace controlstest {
namespace {

constexpr int kList = 1019;
constexpr int kCombo = 1044;
constexpr const char* kNames[] = {"anna", "bert", "cleo", "dirk", "emil", "fay", "gus", "hana", "ivo", "jan"};

class ListTest : public ControlsTest {
 protected:
  void SetUp() override {
    ControlsTest::SetUp();
    host_ = CreateHost(300, 240);
  }

  HWND CreateList() {
    const HWND list = CreateControl(host_, WC_LISTBOX, "", WS_BORDER | WS_VSCROLL | WS_TABSTOP, kList, 10, 10, 120, 80);
    for (const char* name : kNames) SendMessage(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name));
    headless::RunUntilIdle();
    ClearNotices();
    return list;
  }

  // The middle of a shown row of the list box (counted from its top row).
  static POINT RowPoint(HWND list, int shown_row) {
    const int height = static_cast<int>(SendMessage(list, LB_GETITEMHEIGHT, 0, 0));
    return POINT{20, 2 + shown_row * height + height / 2};
  }

  HWND CreateCombo() {
    const HWND combo = CreateControl(host_, WC_COMBOBOX, "", CBS_DROPDOWNLIST | WS_TABSTOP, kCombo, 150, 10, 120, 120);
    for (const char* name : kNames) SendMessage(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name));
    SendMessage(combo, CB_SETCURSEL, 2, 0);
    headless::RunUntilIdle();
    ClearNotices();
    return combo;
  }

  static HWND OpenedList() {
    for (const auto& window : headless::ListWindows()) {
      if (window.class_name == "TvkDropList" && window.visible) return window.hwnd;
    }
    return nullptr;
  }

  HWND host_ = nullptr;
};

TEST_F(ListTest, list_box_tells_selection_changes_made_by_the_user) {
  const HWND list = CreateList();
  SendMessage(list, LB_SETCURSEL, 1, 0);
  EXPECT_EQ(Notices(), std::vector<Notice>{}) << "the program's own choice is not announced";

  const POINT third = RowPoint(list, 2);
  Click(list, third.x, third.y);
  EXPECT_EQ(SendMessage(list, LB_GETCURSEL, 0, 0), 2);
  Click(list, third.x, third.y);
  Press(VK_DOWN);
  EXPECT_EQ(SendMessage(list, LB_GETCURSEL, 0, 0), 3);
  Type("h");
  EXPECT_EQ(SendMessage(list, LB_GETCURSEL, 0, 0), 7);
  EXPECT_GT(SendMessage(list, LB_GETTOPINDEX, 0, 0), 0) << "the chosen row was scrolled into view";
  Press(VK_HOME);
  const POINT second = RowPoint(list, 1);
  DoubleClick(list, second.x, second.y);
  EXPECT_EQ(Notices(), (std::vector<Notice>{Command(kList, LBN_SELCHANGE), Command(kList, LBN_SELCHANGE),
                                            Command(kList, LBN_SELCHANGE), Command(kList, LBN_SELCHANGE),
                                            Command(kList, LBN_SELCHANGE), Command(kList, LBN_DBLCLK)}));
  EXPECT_EQ(SendMessage(list, LB_GETCURSEL, 0, 0), 1);
}

TEST_F(ListTest, list_box_keeps_its_selection_on_the_same_row_as_rows_come_and_go) {
  const HWND list = CreateList();
  SendMessage(list, LB_SETCURSEL, 4, 0);  // "emil"
  SendMessage(list, LB_DELETESTRING, 0, 0);
  SendMessage(list, LB_INSERTSTRING, 1, reinterpret_cast<LPARAM>("new"));
  char text[16] = {};
  const LRESULT row = SendMessage(list, LB_GETCURSEL, 0, 0);
  SendMessage(list, LB_GETTEXT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(text));
  EXPECT_STREQ(text, "emil");
  SendMessage(list, LB_DELETESTRING, static_cast<WPARAM>(row), 0);
  EXPECT_EQ(SendMessage(list, LB_GETCURSEL, 0, 0), LB_ERR);
  SendMessage(list, LB_RESETCONTENT, 0, 0);
  EXPECT_EQ(SendMessage(list, LB_GETCOUNT, 0, 0), 0);
  EXPECT_EQ(SendMessage(list, LB_GETTEXTLEN, 0, 0), LB_ERR);
  EXPECT_EQ(Notices(), std::vector<Notice>{});
}

// A list box is only as tall as whole rows allow within the height it was given (never a row cut
// in half at the bottom), also after a new font; LBS_NOINTEGRALHEIGHT keeps the height given.
TEST_F(ListTest, list_box_height_holds_whole_rows_unless_told_otherwise) {
  struct Case {
    uint32_t style;
    int height;
  };
  const HFONT big = CreateFont(-20, 0, 0, 0, FW_NORMAL, 0, 0, 0, ANSI_CHARSET, 0, 0, 0, VARIABLE_PITCH, "Arial");
  for (const Case& c : {Case{0, 80}, Case{0, 81}, Case{0, 95}, Case{WS_VSCROLL, 77}, Case{LBS_NOINTEGRALHEIGHT, 81}}) {
    SCOPED_TRACE(c.height);
    const HWND list = CreateControl(host_, WC_LISTBOX, "", WS_BORDER | c.style, kList, 10, 10, 120, c.height);
    for (const HFONT font : {HFONT{nullptr}, big}) {
      if (font != nullptr) SendMessage(list, WM_SETFONT, reinterpret_cast<WPARAM>(font), 1);
      const int row = static_cast<int>(SendMessage(list, LB_GETITEMHEIGHT, 0, 0));
      ASSERT_GT(row, 0);
      RECT client;
      GetClientRect(list, &client);
      const int inside = client.bottom - 4;  // within the two-pixel sunken edge
      if ((c.style & LBS_NOINTEGRALHEIGHT) != 0) {
        EXPECT_EQ(client.bottom, c.height);
      } else {
        EXPECT_EQ(inside % row, 0) << "row height " << row << ", inside " << inside;
        EXPECT_LE(client.bottom, c.height);
        EXPECT_GT(client.bottom + row, c.height);
      }
    }
    DestroyWindow(list);
  }
  DeleteObject(big);
}

TEST_F(ListTest, drop_down_list_chooses_with_keys_and_pointer) {
  const HWND combo = CreateCombo();
  SetFocus(combo);
  headless::RunUntilIdle();
  Press(VK_DOWN);  // closed: the choice changes at once
  EXPECT_EQ(SendMessage(combo, CB_GETCURSEL, 0, 0), 3);

  Press(VK_F4);
  ASSERT_EQ(SendMessage(combo, CB_GETDROPPEDSTATE, 0, 0), 1);
  Press(VK_DOWN);
  Press(VK_DOWN);
  Press(VK_ESCAPE);  // open: moves are dropped by Esc
  EXPECT_EQ(SendMessage(combo, CB_GETDROPPEDSTATE, 0, 0), 0);
  EXPECT_EQ(SendMessage(combo, CB_GETCURSEL, 0, 0), 3);

  PressWith(VK_MENU, VK_DOWN);
  Press(VK_DOWN);
  Press(VK_RETURN);
  EXPECT_EQ(SendMessage(combo, CB_GETCURSEL, 0, 0), 4);

  Click(combo, 10, 5);
  const HWND opened = OpenedList();
  ASSERT_NE(opened, nullptr);
  const int row_height = static_cast<int>(SendMessage(combo, CB_GETITEMHEIGHT, 0, 0));
  Click(opened, 10, 1 + row_height / 2);  // the top row shown
  EXPECT_EQ(SendMessage(combo, CB_GETDROPPEDSTATE, 0, 0), 0);
  char text[16] = {};
  SendMessage(combo, CB_GETLBTEXT, static_cast<WPARAM>(SendMessage(combo, CB_GETCURSEL, 0, 0)),
              reinterpret_cast<LPARAM>(text));
  EXPECT_STREQ(text, "anna");

  Click(combo, 10, 5);
  Click(host_, 290, 230);  // elsewhere: closes unchanged
  EXPECT_EQ(OpenedList(), nullptr);
  EXPECT_EQ(SendMessage(combo, CB_GETCURSEL, 0, 0), 0);

  std::vector<Notice> choices;
  for (const Notice& notice : Notices()) {
    if (notice.code == CBN_SELCHANGE) choices.push_back(notice);
  }
  EXPECT_EQ(choices, (std::vector<Notice>{Command(kCombo, CBN_SELCHANGE), Command(kCombo, CBN_SELCHANGE),
                                          Command(kCombo, CBN_SELCHANGE)}));
}

}  // namespace
}  // namespace controlstest
