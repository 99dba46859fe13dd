#include "platform/controls/dialog.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/controls/control_look.h"
#include "platform/draw/png_writer.h"
#include "platform/text/text.h"
#include "tests/platform/controls/controls_fixture.h"

namespace controlstest {
namespace {

constexpr int kStatic = -1;
constexpr int kNameEdit = 101;
constexpr int kHiddenEdit = 102;
constexpr int kRememberBox = 103;
constexpr int kDisabledButton = 104;

constexpr DialogItemTemplate kFormItems[] = {
    dialog_item::LText("Name:", kStatic, 7, 9, 30, 8),
    dialog_item::EditText(kNameEdit, 40, 7, 90, 12, ES_AUTOHSCROLL),
    // Neither a hidden nor a disabled control is a tab stop.
    dialog_item::Control("", kHiddenEdit, WC_EDIT, WS_BORDER | WS_TABSTOP, 40, 22, 90, 12),
    dialog_item::AutoCheckBox("Remember", kRememberBox, 40, 37, 90, 10),
    dialog_item::PushButton("Help", kDisabledButton, 7, 52, 40, 14, WS_DISABLED),
    dialog_item::DefPushButton("OK", IDOK, 50, 52, 40, 14),
    dialog_item::PushButton("Cancel", IDCANCEL, 93, 52, 40, 14),
};

constexpr DialogTemplate kForm{.style = WS_POPUP | WS_CAPTION | WS_VISIBLE | DS_MODALFRAME | DS_CENTER,
                               .width = 140,
                               .height = 73,
                               .caption = "Form",
                               .items = kFormItems};

int FocusId() { return GetDlgCtrlID(GetFocus()); }

struct KeyStep {
  int modifier;  // 0 or VK_SHIFT
  int key;
};

// Keyboard navigation: each case starts from a new dialog (the focus on the name field) and
// presses its keys; what the dialog heard and where the focus went are compared.
TEST_F(ControlsTest, tab_enter_and_escape_have_their_dialog_meaning) {
  struct Case {
    const char* name;
    std::vector<KeyStep> keys;
    std::vector<int> focus_after_each;  // control id with the focus after each key
    std::vector<Notice> commands;
  };
  const std::vector<Case> cases = {
      {"tab visits the shown enabled tab stops in order and wraps round",
       {{0, VK_TAB}, {0, VK_TAB}, {0, VK_TAB}, {0, VK_TAB}},
       {kRememberBox, IDOK, IDCANCEL, kNameEdit},
       {}},
      {"shift and tab go backwards from the first tab stop to the last",
       {{VK_SHIFT, VK_TAB}, {VK_SHIFT, VK_TAB}},
       {IDCANCEL, IDOK},
       {}},
      {"enter in an edit chooses the default button", {{0, VK_RETURN}}, {kNameEdit}, {Command(IDOK, BN_CLICKED)}},
      {"enter on a focused push button chooses that button",
       {{VK_SHIFT, VK_TAB}, {0, VK_RETURN}},
       {IDCANCEL, IDCANCEL},
       {Command(IDCANCEL, BN_CLICKED)}},
      {"escape chooses cancel wherever the focus is",
       {{0, VK_TAB}, {0, VK_ESCAPE}},
       {kRememberBox, kRememberBox},
       {Command(IDCANCEL, BN_CLICKED)}},
      {"space clicks the focused check box", {{0, VK_TAB}, {0, VK_SPACE}}, {kRememberBox, kRememberBox},
       {Command(kRememberBox, BN_CLICKED)}},
      {"arrows move within the group of buttons", {{VK_SHIFT, VK_TAB}, {0, VK_LEFT}}, {IDCANCEL, IDOK}, {}},
  };
  for (const Case& test : cases) {
    SCOPED_TRACE(test.name);
    SetUp();
    const HWND dialog = OpenDialog(kForm);
    ASSERT_NE(dialog, nullptr);
    ASSERT_EQ(FocusId(), kNameEdit);
    ClearNotices();
    std::vector<int> focus;
    for (const KeyStep& step : test.keys) {
      if (step.modifier != 0) {
        PressWith(step.modifier, step.key);
      } else {
        Press(step.key);
      }
      focus.push_back(FocusId());
    }
    EXPECT_EQ(focus, test.focus_after_each);
    EXPECT_EQ(Notices(), test.commands);
    EXPECT_EQ(TextOf(GetDlgItem(dialog, kNameEdit)), "") << "no key may reach the edit as a character";
  }
}

// Each control tells the dialog when it gains the focus, so the dialog can show a hint for it.
TEST_F(ControlsTest, controls_report_gaining_the_focus) {
  OpenDialog(kForm);
  ClearNotices();
  Press(VK_TAB);
  Press(VK_TAB);
  PressWith(VK_SHIFT, VK_TAB);
  PressWith(VK_SHIFT, VK_TAB);
  std::vector<Notice> gained;
  for (const Notice& notice : Notices(true)) {
    if (notice.code == BN_SETFOCUS || notice.code == EN_SETFOCUS) gained.push_back(notice);
  }
  EXPECT_EQ(gained, (std::vector<Notice>{Command(kRememberBox, BN_SETFOCUS), Command(IDOK, BN_SETFOCUS),
                                         Command(kRememberBox, BN_SETFOCUS), Command(kNameEdit, EN_SETFOCUS)}));
}

// The default frame follows the focus: a focused push button is the one Enter chooses; away from
// the push buttons the template's default button is again.
TEST_F(ControlsTest, default_button_follows_the_focus) {
  const HWND dialog = OpenDialog(kForm);
  const auto kind = [dialog](int id) { return GetWindowLongPtr(GetDlgItem(dialog, id), GWL_STYLE) & BS_TYPEMASK; };
  EXPECT_EQ(kind(IDOK), static_cast<LONG_PTR>(BS_DEFPUSHBUTTON));
  EXPECT_EQ(kind(IDCANCEL), static_cast<LONG_PTR>(BS_PUSHBUTTON));
  PressWith(VK_SHIFT, VK_TAB);
  EXPECT_EQ(kind(IDOK), static_cast<LONG_PTR>(BS_PUSHBUTTON));
  EXPECT_EQ(kind(IDCANCEL), static_cast<LONG_PTR>(BS_DEFPUSHBUTTON));
  Press(VK_TAB);
  EXPECT_EQ(kind(IDOK), static_cast<LONG_PTR>(BS_DEFPUSHBUTTON));
  EXPECT_EQ(kind(IDCANCEL), static_cast<LONG_PTR>(BS_PUSHBUTTON));
}

// A disabled default button (OK before a choice is made) makes Enter do nothing; closing the
// window is Cancel.
TEST_F(ControlsTest, disabled_default_button_ignores_enter_and_close_means_cancel) {
  const HWND dialog = OpenDialog(kForm);
  EnableWindow(GetDlgItem(dialog, IDOK), false);
  ClearNotices();
  Press(VK_RETURN);
  EXPECT_EQ(Notices(), std::vector<Notice>{});
  headless::InjectClose(dialog);
  headless::RunUntilIdle();
  EXPECT_EQ(Notices(), std::vector<Notice>{Command(IDCANCEL, BN_CLICKED)});
}

// The procedure destroys its dialog while the button that was clicked is still handling the click.
TEST_F(ControlsTest, dialog_may_destroy_itself_from_a_button_click) {
  const HWND dialog = OpenDialog(kForm);
  SetHandler([](HWND hwnd, UINT message, WPARAM wParam, LPARAM) {
    if (message != WM_COMMAND || LOWORD(wParam) != IDCANCEL) return false;
    DestroyWindow(hwnd);
    ControlsTest::dialog_ = nullptr;
    return true;
  });
  const HWND cancel = GetDlgItem(dialog, IDCANCEL);
  Click(cancel, 5, 5);
  EXPECT_FALSE(IsWindow(dialog));
  EXPECT_FALSE(IsWindow(cancel));
}

TEST_F(ControlsTest, integer_reading_accepts_an_optional_minus_and_digits_only) {
  struct Case {
    const char* text;
    bool is_signed;
    bool translated;
    int value;
  };
  const Case cases[] = {
      {"-12", true, true, -12},        {"12a", true, false, 0},         {"", true, false, 0},
      {"-", true, false, 0},           {"007", true, true, 7},          {" 12", true, false, 0},
      {"12 ", true, false, 0},         {"+12", true, false, 0},         {"2147483647", true, true, 2147483647},
      {"2147483648", true, false, 0},  {"-2147483648", true, true, -2147483647 - 1},
      {"-1", false, false, 0},         {"4294967295", false, true, -1}, {"4294967296", false, false, 0},
  };
  const HWND dialog = OpenDialog(kForm);
  for (const Case& test : cases) {
    SCOPED_TRACE(std::string("text \"") + test.text + "\"");
    SetDlgItemText(dialog, kNameEdit, test.text);
    bool translated = !test.translated;
    const UINT value = GetDlgItemInt(dialog, kNameEdit, &translated, test.is_signed);
    EXPECT_EQ(translated, test.translated);
    EXPECT_EQ(static_cast<int>(value), test.value);
  }
  SetDlgItemInt(dialog, kNameEdit, static_cast<UINT>(-250), true);
  EXPECT_EQ(TextOf(GetDlgItem(dialog, kNameEdit)), "-250");
}

// Dialog units: four across make the font's average character width (the alphabet's width over
// 52, rounded) and eight down one line of the font.
TEST_F(ControlsTest, dialog_units_follow_the_dialog_font) {
  static constexpr DialogItemTemplate kItems[] = {dialog_item::LText("x", 200, 4, 8, 40, 16)};
  static constexpr DialogTemplate kDialog{.style = WS_POPUP | WS_VISIBLE, .width = 100, .height = 40,
                                   .font_face = "Arial", .font_points = 10, .items = kItems};
  const HWND dialog = OpenDialog(kDialog);
  const HFONT font = CreateFont(-13, 0, 0, 0, FW_NORMAL, 0, 0, 0, ANSI_CHARSET, 0, 0, 0, VARIABLE_PITCH, "Arial");
  const SIZE alphabet = look::Measure(font, "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
  DeleteObject(font);
  const int width = (alphabet.cx + 26) / 52;
  const int height = alphabet.cy;
  RECT item;
  GetWindowRect(GetDlgItem(dialog, 200), &item);
  POINT origin{0, 0};
  ClientToScreen(dialog, &origin);
  EXPECT_EQ(item.left - origin.x, width);
  EXPECT_EQ(item.top - origin.y, height);
  EXPECT_EQ(item.right - item.left, 10 * width);
  EXPECT_EQ(item.bottom - item.top, 2 * height);
  RECT client;
  GetClientRect(dialog, &client);
  EXPECT_EQ(client.right, 25 * width);
  EXPECT_EQ(client.bottom, 5 * height);
}

// A picture of a dialog for a person to look at, and a few things it must show.
TEST_F(ControlsTest, dialog_picture_is_written_as_png) {
  const HWND dialog = OpenDialog(kForm);
  SetDlgItemText(dialog, kNameEdit, "alice");
  CheckDlgButton(dialog, kRememberBox, BST_CHECKED);
  headless::RunUntilIdle();
  ASSERT_TRUE(headless::SaveWindowPicture(dialog, "dialog_picture.png"));
  const Surface picture = headless::GetWindowPicture(dialog);
  const auto colour = [&picture](HWND control, int x, int y) {
    RECT rect;
    GetWindowRect(control, &rect);
    POINT origin{0, 0};
    ClientToScreen(dialog_, &origin);
    const uint8_t* pixel = picture.Row(rect.top - origin.y + y) + (rect.left - origin.x + x) * 3;
    return RGB(pixel[2], pixel[1], pixel[0]);
  };
  EXPECT_EQ(colour(GetDlgItem(dialog, kStatic), 0, 0), GetSysColor(COLOR_BTNFACE));
  EXPECT_EQ(colour(GetDlgItem(dialog, kNameEdit), 3, 3), GetSysColor(COLOR_WINDOW)) << "edit field";
  EXPECT_EQ(colour(GetDlgItem(dialog, IDOK), 0, 0), GetSysColor(COLOR_3DDKSHADOW)) << "default button frame";
  EXPECT_EQ(colour(GetDlgItem(dialog, IDCANCEL), 0, 0), GetSysColor(COLOR_BTNHIGHLIGHT)) << "plain button edge";
}

// A caption wider than its push button (a bitmap button without its picture shows its words) is
// broken between words and kept inside the button instead of being cut at both sides.
TEST_F(ControlsTest, push_button_caption_too_wide_for_one_line_breaks_between_words) {
  const HWND host = CreateHost(200, 100);
  const HWND wide = CreateControl(host, WC_BUTTON, "Refill Play Money", BS_PUSHBUTTON | BS_BITMAP, 1100, 10, 10, 52, 56);
  const HWND word = CreateControl(host, WC_BUTTON, "Refill", BS_PUSHBUTTON | BS_BITMAP, 1101, 80, 10, 52, 56);
  headless::RunUntilIdle();
  // Rows and columns inside the button's edges that hold text.
  struct Ink {
    int rows = 0;
    bool at_sides = false;
  };
  const auto ink = [](HWND button) {
    const Surface picture = headless::GetWindowPicture(button);
    Ink found;
    for (int y = 4; y < picture.height - 4; ++y) {
      bool row_has_text = false;
      for (int x = 4; x < picture.width - 4; ++x) {
        const uint8_t* pixel = picture.Row(y) + x * 3;
        if (pixel[0] < 80 && pixel[1] < 80 && pixel[2] < 80) {
          row_has_text = true;
          if (x < 6 || x >= picture.width - 6) found.at_sides = true;
        }
      }
      if (row_has_text) ++found.rows;
    }
    return found;
  };
  const Ink one_word = ink(word);
  const Ink three_words = ink(wide);
  ASSERT_GT(one_word.rows, 0);
  EXPECT_GE(three_words.rows, 2 * one_word.rows) << "more than one line of text";
  EXPECT_FALSE(three_words.at_sides) << "no text runs into the edges";
  if (three_words.rows < 2 * one_word.rows || three_words.at_sides) {
    EXPECT_TRUE(headless::SaveWindowPicture(host, "wide_caption_button.png"));
  }
}

}  // namespace
}  // namespace controlstest
