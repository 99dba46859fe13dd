#include "platform/controls/menu.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "tests/platform/controls/controls_fixture.h"

namespace controlstest {
namespace {

enum : UINT {
  kLogIn = 1003,
  kLogOut = 32776,
  kExit = 105,
  kSounds = 32773,
  kMusic = 32777,
  kHighest = 32793,
  kLowest = 32792,
};

constexpr MenuItemTemplate kMenu[] = {
    {"File", 0, MF_POPUP},
        {"Log In...", kLogIn},
        {"Log Out", kLogOut, MF_GRAYED},
        {nullptr, 0, MF_SEPARATOR},
        {"Logout and Exit", kExit, MF_END},
    {"Options", 0, MF_POPUP | MF_END},
        {"Enable Sounds", kSounds, MF_CHECKED},
        {"Enable Music", kMusic},
        {"Speed", 0, MF_POPUP | MF_END},
            {"Highest", kHighest},
            {"Lowest", kLowest, MF_END},
};

class MenuTest : public ControlsTest {
 protected:
  void SetUp() override {
    ControlsTest::SetUp();
    menu_ = LoadMenuIndirect(kMenu);
    ASSERT_NE(menu_, nullptr);
    host_ = CreateHost(300, 200);
    SetMenu(host_, menu_);
    SendMessage(host_, WM_NCPAINT, 0, 0);
    edit_ = CreateControl(host_, WC_EDIT, "", WS_BORDER, 10, 10, 150, 150, 20);
    SetFocus(edit_);
    headless::RunUntilIdle();
    ClearNotices();
  }

  void TearDown() override {
    ControlsTest::TearDown();
    DestroyMenu(menu_);
  }

  static int OpenDropDowns() {
    int open = 0;
    for (const auto& window : headless::ListWindows()) {
      if (window.class_name == "TvkMenuDropDown" && window.visible) ++open;
    }
    return open;
  }

  static HWND FirstDropDown() {
    for (const auto& window : headless::ListWindows()) {
      if (window.class_name == "TvkMenuDropDown" && window.visible) return window.hwnd;
    }
    return nullptr;
  }

  // A point on the menu band over the title that begins at `x` from the window's left edge.
  void ClickBand(int x) { Click(host_, x, -GetSystemMetrics(SM_CYMENU) / 2); }

  HMENU menu_ = nullptr;
  HWND host_ = nullptr;
  HWND edit_ = nullptr;
};

TEST_F(MenuTest, check_marks_and_greyed_items_are_kept_and_reported) {
  EXPECT_EQ(GetMenuState(menu_, kSounds, MF_BYCOMMAND), MF_CHECKED);
  EXPECT_EQ(CheckMenuItem(menu_, kSounds, MF_BYCOMMAND | MF_UNCHECKED), MF_CHECKED);
  EXPECT_EQ(CheckMenuItem(menu_, kSounds, MF_BYCOMMAND | MF_UNCHECKED), MF_UNCHECKED);
  // Greyed keeps the check mark: "Enable Music" stays checked while it cannot be chosen.
  EXPECT_EQ(CheckMenuItem(menu_, kMusic, MF_CHECKED), MF_UNCHECKED);
  EXPECT_EQ(EnableMenuItem(menu_, kMusic, MF_GRAYED), MF_ENABLED);
  EXPECT_EQ(GetMenuState(menu_, kMusic, MF_BYCOMMAND), MF_CHECKED | MF_GRAYED);
  EXPECT_EQ(EnableMenuItem(menu_, kLogOut, MF_ENABLED), MF_GRAYED);
  // Items deeper down are found by command; positions count within one menu.
  EXPECT_EQ(CheckMenuItem(menu_, kLowest, MF_CHECKED), MF_UNCHECKED);
  const HMENU options = GetSubMenu(menu_, 1);
  EXPECT_EQ(GetMenuState(GetSubMenu(options, 2), 1, MF_BYPOSITION), MF_CHECKED);
  EXPECT_EQ(GetMenuState(options, 2, MF_BYPOSITION), MF_POPUP);
  EXPECT_EQ(GetMenuItemID(options, 1), kMusic);
  EXPECT_EQ(CheckMenuItem(menu_, 4242, MF_CHECKED), kMenuItemNotFound);
  EXPECT_EQ(GetMenuState(menu_, 9, MF_BYPOSITION), kMenuItemNotFound);
}

TEST_F(MenuTest, malformed_tables_make_no_menu) {
  static constexpr MenuItemTemplate kUnclosedPopup[] = {{"File", 0, MF_POPUP}, {"Open", 1}};
  static constexpr MenuItemTemplate kItemsAfterTheEnd[] = {{"File", 0, MF_POPUP | MF_END}, {"Open", 1, MF_END}, {"Late", 2}};
  EXPECT_EQ(LoadMenuIndirect(kUnclosedPopup), nullptr);
  EXPECT_EQ(LoadMenuIndirect(kItemsAfterTheEnd), nullptr);
  EXPECT_EQ(LoadMenuIndirect({}), nullptr);
}

// The keyboard way through the bar: Alt alone selects the bar, Alt with a letter opens that menu,
// the arrows move, Enter chooses, Esc goes back a step. Afterwards the focus is where it was.
TEST_F(MenuTest, keyboard_reaches_items_and_chooses_them) {
  const auto alt = [] { Press(VK_MENU); };
  const auto alt_with = [](int key) { return [key] { PressWith(VK_MENU, key); }; };
  const auto key = [](int virtual_key) { return [virtual_key] { Press(virtual_key); }; };
  struct Case {
    const char* name;
    std::vector<std::function<void()>> steps;
    std::vector<Notice> commands;
  };
  const std::vector<Case> cases = {
      {"alt then down opens the first menu; enter chooses its first item",
       {alt, key(VK_DOWN), key(VK_RETURN)}, {Command(kLogIn, 0)}},
      {"right moves to the next menu", {alt, key(VK_RIGHT), key(VK_DOWN), key(VK_DOWN), key(VK_RETURN)},
       {Command(kMusic, 0)}},
      {"down passes over the separator", {alt, key(VK_DOWN), key(VK_DOWN), key(VK_DOWN), key(VK_RETURN)},
       {Command(kExit, 0)}},
      {"a greyed item cannot be chosen", {alt, key(VK_DOWN), key(VK_DOWN), key(VK_RETURN), key(VK_ESCAPE),
                                          key(VK_ESCAPE)}, {}},
      {"alt with a letter opens that menu", {alt_with('O'), key(VK_RETURN)}, {Command(kSounds, 0)}},
      {"right opens a menu's own menu", {alt_with('O'), key(VK_UP), key(VK_RIGHT), key(VK_DOWN), key(VK_RETURN)},
       {Command(kLowest, 0)}},
      {"escape steps back out of the menus", {alt, key(VK_DOWN), key(VK_ESCAPE), key(VK_ESCAPE)}, {}},
      {"alt again leaves the bar", {alt, key(VK_DOWN), alt}, {}},
  };
  for (const Case& test : cases) {
    SCOPED_TRACE(test.name);
    for (const auto& step : test.steps) step();
    std::vector<Notice> commands;
    for (const Notice& notice : Notices()) {
      if (notice.message == WM_COMMAND) commands.push_back(notice);
    }
    EXPECT_EQ(commands, test.commands);
    EXPECT_EQ(OpenDropDowns(), 0);
    EXPECT_EQ(GetFocus(), edit_);
    ClearNotices();
  }
}

TEST_F(MenuTest, pointer_opens_menus_and_chooses_items) {
  ClickBand(8);  // "File"
  ASSERT_EQ(OpenDropDowns(), 1);
  const HWND file_menu = FirstDropDown();
  Click(file_menu, 20, 10);  // its first item
  EXPECT_EQ(Notices(), std::vector<Notice>{Command(kLogIn, 0)});
  EXPECT_EQ(OpenDropDowns(), 0);
  EXPECT_EQ(GetFocus(), edit_);

  ClearNotices();
  ClickBand(8);
  const HWND first = FirstDropDown();
  RECT title_file;
  GetWindowRect(first, &title_file);
  ClickBand(60);  // "Options" beside it: the other menu opens instead
  ASSERT_EQ(OpenDropDowns(), 1);
  RECT title_options;
  GetWindowRect(FirstDropDown(), &title_options);
  EXPECT_GT(title_options.left, title_file.left);
  Click(host_, 250, 150);  // outside every menu: closes without a command
  EXPECT_EQ(OpenDropDowns(), 0);
  EXPECT_EQ(Notices(), std::vector<Notice>{});
  EXPECT_EQ(GetFocus(), edit_);
}

}  // namespace
}  // namespace controlstest
