#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/controls/clipboard.h"
#include "platform/draw/png_writer.h"
#include "tests/platform/controls/controls_fixture.h"

namespace controlstest {
namespace {

constexpr int kEdit = 1001;
constexpr int kOther = 1002;

std::vector<Notice> ChangesOf(const std::vector<Notice>& notices) {
  std::vector<Notice> changes;
  for (const Notice& notice : notices) {
    if (notice.code == EN_CHANGE || notice.code == EN_MAXTEXT) changes.push_back(notice);
  }
  return changes;
}

// What the user may enter is held to the limit; what the program sets is not; every change,
// whoever makes it, is announced.
TEST_F(ControlsTest, edit_limit_and_change_notices) {
  struct Case {
    const char* name;
    std::string before;
    int limit;
    std::function<void(HWND)> action;
    std::string after;
    std::vector<Notice> notices;
  };
  const std::vector<Case> cases = {
      {"typing stops at the limit", "", 5, [](HWND) { Type("abcdefg"); }, "abcde",
       {Command(kEdit, EN_CHANGE), Command(kEdit, EN_CHANGE), Command(kEdit, EN_CHANGE), Command(kEdit, EN_CHANGE),
        Command(kEdit, EN_CHANGE), Command(kEdit, EN_MAXTEXT), Command(kEdit, EN_MAXTEXT)}},
      {"a paste is cut to what fits", "ab", 5,
       [](HWND) {
         SetClipboardText("12345678");
         PressWith(VK_CONTROL, 'V');
       },
       "ab123", {Command(kEdit, EN_CHANGE), Command(kEdit, EN_MAXTEXT)}},
      {"text set by the program is never cut, and is announced", "", 3,
       [](HWND edit) { SetWindowText(edit, "longer than three"); }, "longer than three", {Command(kEdit, EN_CHANGE)}},
      {"setting the same text again is announced too", "same", 0, [](HWND edit) { SetWindowText(edit, "same"); },
       "same", {Command(kEdit, EN_CHANGE)}},
      {"replacing the selection from the program is announced", "abc", 0,
       [](HWND edit) {
         SendMessage(edit, EM_SETSEL, 1, 2);
         SendMessage(edit, EM_REPLACESEL, 0, reinterpret_cast<LPARAM>("XY"));
       },
       "aXYc", {Command(kEdit, EN_CHANGE)}},
      {"backspace deletes before the caret", "abc", 0, [](HWND) { Press(VK_BACK); }, "ab",
       {Command(kEdit, EN_CHANGE)}},
      {"a typed character replaces the selection", "hello", 0,
       [](HWND) {
         PressWith(VK_SHIFT, VK_HOME);
         Type("j");
       },
       "j", {Command(kEdit, EN_CHANGE)}},
      {"moving the caret changes nothing", "abc", 0,
       [](HWND) {
         Press(VK_LEFT);
         Press(VK_HOME);
       },
       "abc", {}},
  };
  for (const Case& test : cases) {
    SCOPED_TRACE(test.name);
    SetUp();
    const HWND host = CreateHost(200, 60);
    const HWND edit = CreateControl(host, WC_EDIT, "", WS_BORDER, kEdit, 10, 10, 150, 20);
    SendMessage(edit, EM_LIMITTEXT, static_cast<WPARAM>(test.limit), 0);
    SetWindowText(edit, test.before.c_str());
    SendMessage(edit, EM_SETSEL, static_cast<WPARAM>(test.before.size()), static_cast<LPARAM>(test.before.size()));
    SetFocus(edit);
    headless::RunUntilIdle();
    ClearNotices();
    test.action(edit);
    EXPECT_EQ(TextOf(edit), test.after);
    EXPECT_EQ(ChangesOf(Notices()), test.notices);
  }
}

// A password field draws one mask character per character, exactly as a field showing those
// characters would, and never lets its text be copied out.
TEST_F(ControlsTest, password_edit_shows_the_mask_and_refuses_copying) {
  const HWND host = CreateHost(200, 100);
  const HWND password = CreateControl(host, WC_EDIT, "abc", WS_BORDER | ES_PASSWORD, kEdit, 10, 10, 150, 20);
  const HWND masked = CreateControl(host, WC_EDIT, "***", WS_BORDER, kOther, 10, 40, 150, 20);
  const HWND plain = CreateControl(host, WC_EDIT, "abc", WS_BORDER, 1003, 10, 70, 150, 20);
  headless::RunUntilIdle();
  const Surface password_picture = headless::GetWindowPicture(password);
  const Surface masked_picture = headless::GetWindowPicture(masked);
  const Surface plain_picture = headless::GetWindowPicture(plain);
  ASSERT_GT(password_picture.width, 0);
  const bool same_as_mask = password_picture.pixels == masked_picture.pixels;
  EXPECT_TRUE(same_as_mask);
  EXPECT_NE(password_picture.pixels, plain_picture.pixels);
  if (!same_as_mask) {
    EXPECT_TRUE(SaveSurfacePng(password_picture, "password_edit.png"));
    EXPECT_TRUE(SaveSurfacePng(masked_picture, "masked_edit.png"));
  }
  EXPECT_EQ(TextOf(password), "abc") << "the program reads the real text";

  SetClipboardText("before");
  SetFocus(password);
  PressWith(VK_CONTROL, 'A');
  PressWith(VK_CONTROL, 'C');
  PressWith(VK_CONTROL, 'X');
  EXPECT_EQ(GetClipboardText(), "before");
  EXPECT_EQ(TextOf(password), "abc");
}

// Cut, copy and paste go through the program's own clipboard, from one field to another.
TEST_F(ControlsTest, edits_cut_copy_and_paste_within_the_program) {
  const HWND host = CreateHost(200, 100);
  const HWND from = CreateControl(host, WC_EDIT, "hello world", WS_BORDER, kEdit, 10, 10, 150, 20);
  const HWND to = CreateControl(host, WC_EDIT, "say ", WS_BORDER, kOther, 10, 40, 150, 20);
  SetFocus(from);
  SendMessage(from, EM_SETSEL, 6, 11);
  PressWith(VK_CONTROL, 'X');
  EXPECT_EQ(TextOf(from), "hello ");
  SetFocus(to);
  SendMessage(to, EM_SETSEL, 4, 4);
  PressWith(VK_CONTROL, 'V');
  EXPECT_EQ(TextOf(to), "say world");
  PressWith(VK_CONTROL, 'A');
  PressWith(VK_CONTROL, 'C');
  SetFocus(from);
  Press(VK_END);
  PressWith(VK_CONTROL, 'V');
  EXPECT_EQ(TextOf(from), "hello say world");
}

// A multi-line field holds a quarter of a megabyte of CR LF lines unchanged, breaks its lines at
// each CR LF, follows the caret to the end and treats a CR LF as one character.
TEST_F(ControlsTest, multi_line_edit_holds_256_kilobytes_with_cr_lf) {
  std::string text;
  int lines = 0;
  while (text.size() < 256 * 1024) {
    text += "note line " + std::to_string(lines++) + "\r\n";
  }
  const HWND host = CreateHost(400, 200);
  const HWND notes = CreateControl(host, WC_EDIT, "", WS_BORDER | WS_VSCROLL | ES_MULTILINE, kEdit, 10, 10, 380, 180);
  SetWindowText(notes, text.c_str());
  EXPECT_TRUE(TextOf(notes) == text) << "the text comes back unchanged";
  // Each CR LF ends a line; after the last one an empty line remains for the caret.
  EXPECT_EQ(SendMessage(notes, EM_GETLINECOUNT, 0, 0), lines + 1);
  EXPECT_EQ(SendMessage(notes, EM_GETFIRSTVISIBLELINE, 0, 0), 0);

  SetFocus(notes);
  PressWith(VK_CONTROL, VK_END);
  Type("x");
  EXPECT_TRUE(TextOf(notes) == text + "x") << "typed at the very end";
  const LRESULT first_visible = SendMessage(notes, EM_GETFIRSTVISIBLELINE, 0, 0);
  EXPECT_GT(first_visible, lines - 20) << "the caret's line is in view";
  EXPECT_LE(first_visible, lines);

  Press(VK_BACK);
  Press(VK_BACK);
  EXPECT_TRUE(TextOf(notes) == text.substr(0, text.size() - 2)) << "one backspace takes the whole CR LF";
  Press(VK_RETURN);
  EXPECT_TRUE(TextOf(notes) == text) << "Enter puts the CR LF back";
}

// In a dialog, Enter in a multi-line field with ES_WANTRETURN starts a new line instead of
// choosing the default button; a read-only field takes no typing.
TEST_F(ControlsTest, multi_line_edit_in_a_dialog_keeps_enter_when_it_wants_it) {
  static constexpr DialogItemTemplate kItems[] = {
      dialog_item::EditText(kEdit, 7, 7, 120, 40, ES_MULTILINE | ES_WANTRETURN | WS_VSCROLL),
      dialog_item::EditText(kOther, 7, 50, 120, 20, ES_MULTILINE | ES_READONLY),
      dialog_item::DefPushButton("OK", IDOK, 7, 75, 50, 14),
  };
  static constexpr DialogTemplate kDialog{.style = WS_POPUP | WS_VISIBLE | DS_MODALFRAME, .width = 140, .height = 95,
                                   .items = kItems};
  const HWND dialog = OpenDialog(kDialog);
  SetDlgItemText(dialog, kOther, "read only");
  ClearNotices();
  Type("ab");
  Press(VK_RETURN);
  Type("c");
  EXPECT_EQ(TextOf(GetDlgItem(dialog, kEdit)), "ab\r\nc");
  Press(VK_TAB);
  Type("zz");
  Press(VK_BACK);
  EXPECT_EQ(TextOf(GetDlgItem(dialog, kOther)), "read only");
  Press(VK_RETURN);
  std::vector<Notice> commands;
  for (const Notice& notice : Notices()) {
    if (notice.id == IDOK) commands.push_back(notice);
  }
  EXPECT_EQ(commands, std::vector<Notice>{Command(IDOK, BN_CLICKED)});
}

// A multi-line field shows whole lines only: whatever height it has, the line cut by its bottom
// edge is not drawn, so the field looks the same as one holding just the lines that fit.
TEST_F(ControlsTest, multi_line_edit_shows_no_line_cut_in_half) {
  const HWND host = CreateHost(300, 200);
  for (const int height : {40, 44, 49, 53}) {
    SCOPED_TRACE(height);
    std::string all;
    for (int line = 0; line < 8; ++line) all += "line " + std::to_string(line) + "\r\n";
    const HWND full = CreateControl(host, WC_EDIT, all.c_str(), WS_BORDER | ES_MULTILINE, kEdit, 10, 10, 120, height);
    // The highest first line tells how many whole lines fit.
    SendMessage(full, EM_LINESCROLL, 0, 100);
    const int lines = static_cast<int>(SendMessage(full, EM_GETLINECOUNT, 0, 0));
    const int fitting = lines - static_cast<int>(SendMessage(full, EM_GETFIRSTVISIBLELINE, 0, 0));
    SendMessage(full, EM_LINESCROLL, 0, -100);
    ASSERT_GT(fitting, 0);
    std::string shown;
    for (int line = 0; line < fitting; ++line) shown += "line " + std::to_string(line) + "\r\n";
    const HWND part = CreateControl(host, WC_EDIT, shown.c_str(), WS_BORDER | ES_MULTILINE, kOther, 140, 10, 120, height);
    headless::RunUntilIdle();
    const Surface full_picture = headless::GetWindowPicture(full);
    const Surface part_picture = headless::GetWindowPicture(part);
    ASSERT_GT(full_picture.width, 0);
    const bool same = full_picture.pixels == part_picture.pixels;
    EXPECT_TRUE(same);
    if (!same) {
      EXPECT_TRUE(SaveSurfacePng(full_picture, "cut_line_edit.png"));
    }
    DestroyWindow(full);
    DestroyWindow(part);
  }
}

}  // namespace
}  // namespace controlstest
