#include "platform/window/input.h"

#include <gtest/gtest.h>

#include "platform/system/clock.h"
#include "platform/window/activation.h"
#include "tests/platform/window/recording_window.h"

namespace windowtest {
namespace {

using namespace platform;

class InputTest : public WindowTest {};

struct ClickCase {
  const char* name;
  UINT class_style;
  uint32_t gap_ms;  // between the two clicks
  int moved_px;     // the second click this far to the right
  std::vector<std::string> expected;
};

void PrintTo(const ClickCase& c, std::ostream* os) { *os << c.name; }

class DoubleClickTest : public WindowTest, public ::testing::WithParamInterface<ClickCase> {};

TEST_P(DoubleClickTest, second_click_is_a_double_click_only_when_the_class_asks) {
  const ClickCase& c = GetParam();
  RegisterRecordingClass("Clicks", c.class_style);
  const HWND hwnd = CreateTopLevel("w", 200, 150, "Clicks");
  headless::RunUntilIdle();
  ClearLog();

  headless::InjectClick(hwnd, 50, 60);
  headless::AdvanceClock(c.gap_ms);
  headless::InjectClick(hwnd, 50 + c.moved_px, 60);
  headless::InjectClick(hwnd, 50 + c.moved_px, 60);  // a third click starts over
  headless::RunUntilIdle();

  EXPECT_EQ(Trace({WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK}), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Clicks, DoubleClickTest,
    ::testing::Values(
        ClickCase{"class_with_double_clicks", CS_DBLCLKS, 100, 0,
                  {"LDOWN@w", "LUP@w", "LDBL@w", "LUP@w", "LDOWN@w", "LUP@w"}},
        ClickCase{"class_without_double_clicks", 0, 100, 0,
                  {"LDOWN@w", "LUP@w", "LDOWN@w", "LUP@w", "LDOWN@w", "LUP@w"}},
        ClickCase{"too_slow", CS_DBLCLKS, 600, 0, {"LDOWN@w", "LUP@w", "LDOWN@w", "LUP@w", "LDBL@w", "LUP@w"}},
        ClickCase{"too_far", CS_DBLCLKS, 100, 10, {"LDOWN@w", "LUP@w", "LDOWN@w", "LUP@w", "LDBL@w", "LUP@w"}}),
    [](const ::testing::TestParamInfo<ClickCase>& info) { return std::string(info.param.name); });

struct TargetCase {
  const char* name;
  int x, y;                 // in the parent's client coordinates
  bool capture_on_child;
  bool child_disabled;
  const char* expected_window;  // "" when nothing gets the click
  int expected_x, expected_y;
};

void PrintTo(const TargetCase& c, std::ostream* os) { *os << c.name; }

class MouseTargetTest : public WindowTest, public ::testing::WithParamInterface<TargetCase> {};

// The parent has a child at (50, 40), 100 x 80, and a grandchild at (10, 10) of the child,
// 20 x 20. The click goes to the deepest window under the point (or the capture window), in that
// window's client coordinates.
TEST_P(MouseTargetTest, click_reaches_the_window_under_the_point_in_its_client_coordinates) {
  const TargetCase& c = GetParam();
  const HWND parent = CreateTopLevel("parent", 300, 200);
  const HWND child = CreateChild(parent, 1, 50, 40, 100, 80);
  CreateChild(child, 2, 10, 10, 20, 20);
  if (c.capture_on_child) SetCapture(child);
  if (c.child_disabled) EnableWindow(child, false);
  headless::RunUntilIdle();
  ClearLog();

  headless::InjectMouse(parent, WM_LBUTTONDOWN, c.x, c.y);
  headless::RunUntilIdle();

  const auto downs = Messages({WM_LBUTTONDOWN});
  if (c.expected_window[0] == 0) {
    EXPECT_TRUE(downs.empty());
    return;
  }
  ASSERT_EQ(downs.size(), 1u);
  EXPECT_EQ(names()[downs[0].hwnd], c.expected_window);
  EXPECT_EQ(GET_X_LPARAM(downs[0].lParam), c.expected_x);
  EXPECT_EQ(GET_Y_LPARAM(downs[0].lParam), c.expected_y);
  EXPECT_EQ(downs[0].wParam & MK_LBUTTON, MK_LBUTTON);
}

INSTANTIATE_TEST_SUITE_P(
    Targets, MouseTargetTest,
    ::testing::Values(TargetCase{"parent_outside_child", 10, 10, false, false, "parent", 10, 10},
                      TargetCase{"child", 60, 45, false, false, "child1", 10, 5},
                      TargetCase{"grandchild", 65, 55, false, false, "child2", 5, 5},
                      TargetCase{"child_right_edge_is_outside", 150, 45, false, false, "parent", 150, 45},
                      TargetCase{"capture_outside_child", 20, 30, true, false, "child1", -30, -10},
                      TargetCase{"disabled_child_drops_the_click", 60, 45, false, true, "", 0, 0}),
    [](const ::testing::TestParamInfo<TargetCase>& info) { return std::string(info.param.name); });

TEST_F(InputTest, release_on_a_window_that_closed_meanwhile_still_lets_the_button_go) {
  // The press closes a dialog; the window system reports the release for the dialog, which is
  // gone (as a backend hands it on). The button is up from then on, and the next click elsewhere
  // is an ordinary click.
  const HWND main = CreateTopLevel("main", 300, 200);
  const HWND dialog = CreateTopLevel("dialog", 100, 80);
  headless::RunUntilIdle();
  headless::InjectMouse(dialog, WM_LBUTTONDOWN, 10, 10);
  headless::RunUntilIdle();
  EXPECT_TRUE(internal::IsKeyDownNow(VK_LBUTTON));
  DestroyWindow(dialog);
  internal::DeliverMouse(dialog, WM_LBUTTONUP, POINT{10, 10});
  headless::RunUntilIdle();
  EXPECT_FALSE(internal::IsKeyDownNow(VK_LBUTTON));
  ClearLog();

  headless::InjectMouse(main, WM_MOUSEMOVE, 40, 40);
  headless::InjectClick(main, 40, 40);
  headless::RunUntilIdle();
  const auto moves = Messages({WM_MOUSEMOVE});
  ASSERT_FALSE(moves.empty());
  EXPECT_EQ(moves[0].wParam & MK_LBUTTON, 0u);
  EXPECT_EQ(Trace({WM_LBUTTONDOWN, WM_LBUTTONUP}), (std::vector<std::string>{"LDOWN@main", "LUP@main"}));
}

TEST_F(InputTest, wheel_goes_to_the_focus_window_in_notches_with_the_button_flag) {
  const HWND parent = CreateTopLevel("parent", 300, 200);
  const HWND list = CreateChild(parent, 1, 50, 40, 100, 80);
  SetFocus(list);
  headless::RunUntilIdle();
  ClearLog();

  headless::InjectMouse(parent, WM_LBUTTONDOWN, 200, 150);
  headless::InjectWheel(parent, 70, 50, -2 * WHEEL_DELTA);
  headless::RunUntilIdle();

  // The focus window gets the turn; unhandled, it goes on to the parent in the parent's coordinates.
  const auto wheels = Messages({WM_MOUSEWHEEL});
  ASSERT_EQ(wheels.size(), 2u);
  EXPECT_EQ(wheels[0].hwnd, list);
  EXPECT_EQ(GET_WHEEL_DELTA_WPARAM(wheels[0].wParam), -240);
  EXPECT_EQ(GET_KEYSTATE_WPARAM(wheels[0].wParam) & MK_LBUTTON, static_cast<int>(MK_LBUTTON));
  EXPECT_EQ(GET_X_LPARAM(wheels[0].lParam), 20);
  EXPECT_EQ(GET_Y_LPARAM(wheels[0].lParam), 10);
  EXPECT_EQ(wheels[1].hwnd, parent);
  EXPECT_EQ(GET_X_LPARAM(wheels[1].lParam), 70);
  EXPECT_EQ(GET_Y_LPARAM(wheels[1].lParam), 50);
}

struct KeyCase {
  const char* name;
  std::vector<int> held;  // modifier keys held during the press
  int key;
  int expected_character;  // 0: no WM_CHAR
};

void PrintTo(const KeyCase& c, std::ostream* os) { *os << c.name; }

class KeyTest : public WindowTest, public ::testing::WithParamInterface<KeyCase> {};

TEST_P(KeyTest, key_press_gives_its_code_and_the_character_it_types) {
  const KeyCase& c = GetParam();
  const HWND hwnd = CreateTopLevel("w");
  headless::RunUntilIdle();
  ASSERT_EQ(GetFocus(), hwnd);
  for (int modifier : c.held) headless::InjectKey(WM_KEYDOWN, modifier);
  headless::RunUntilIdle();
  ClearLog();

  headless::InjectKeyPress(c.key);
  headless::RunUntilIdle();

  const auto keys = Messages({WM_KEYDOWN, WM_CHAR, WM_KEYUP});
  ASSERT_EQ(keys.size(), c.expected_character != 0 ? 3u : 2u);
  EXPECT_EQ(keys[0].message, WM_KEYDOWN);
  EXPECT_EQ(keys[0].wParam, static_cast<WPARAM>(c.key));
  if (c.expected_character != 0) {
    EXPECT_EQ(keys[1].message, WM_CHAR);
    EXPECT_EQ(keys[1].wParam, static_cast<WPARAM>(c.expected_character));
  }
  EXPECT_EQ(keys.back().message, WM_KEYUP);
  EXPECT_EQ(keys.back().wParam, static_cast<WPARAM>(c.key));
}

// A key combination handled after its modifier was let go still reads as the combination: the
// modifiers answer as they were when the key was queued.
TEST_F(InputTest, modifiers_read_as_they_were_when_the_key_was_queued) {
  const HWND hwnd = CreateTopLevel("w");
  headless::RunUntilIdle();
  std::vector<bool> shift_seen;
  Handle(hwnd, [&](HWND, UINT message, WPARAM wParam, LPARAM) -> std::optional<LRESULT> {
    if (message == WM_KEYDOWN && wParam == VK_TAB) shift_seen.push_back(GetKeyState(VK_SHIFT) < 0);
    return std::nullopt;
  });

  headless::InjectKey(WM_KEYDOWN, VK_SHIFT);
  headless::InjectKeyPress(VK_TAB);
  headless::InjectKey(WM_KEYUP, VK_SHIFT);
  headless::InjectKeyPress(VK_TAB);
  headless::RunUntilIdle();

  EXPECT_EQ(shift_seen, (std::vector<bool>{true, false}));
}

INSTANTIATE_TEST_SUITE_P(
    Keys, KeyTest,
    ::testing::Values(KeyCase{"f1", {}, VK_F1, 0}, KeyCase{"f12", {}, VK_F12, 0},
                      KeyCase{"enter", {}, VK_RETURN, 13}, KeyCase{"escape", {}, VK_ESCAPE, 27},
                      KeyCase{"tab", {}, VK_TAB, 9}, KeyCase{"backspace", {}, VK_BACK, 8},
                      KeyCase{"left_arrow", {}, VK_LEFT, 0}, KeyCase{"down_arrow", {}, VK_DOWN, 0},
                      KeyCase{"digit", {}, '7', '7'}, KeyCase{"letter", {}, 'P', 'p'},
                      KeyCase{"shifted_letter", {VK_SHIFT}, 'P', 'P'},
                      KeyCase{"control_c", {VK_CONTROL}, 'C', 3}),
    [](const ::testing::TestParamInfo<KeyCase>& info) { return std::string(info.param.name); });

// A window procedure that answers WM_ACTIVATE itself (without the default) still gets the keys.
TEST_F(InputTest, keys_go_to_the_active_window_even_when_it_handles_activation_itself) {
  RegisterRecordingClass("Recorder");
  const HWND first = CreateTopLevel("first");
  const HWND second = CreateTopLevel("second");
  Handle(first, [](HWND, UINT message, WPARAM, LPARAM) -> std::optional<LRESULT> {
    if (message == WM_ACTIVATE) return 0;
    return std::nullopt;
  });
  headless::RunUntilIdle();
  ASSERT_EQ(GetForegroundWindow(), second);

  headless::InjectClick(first, 5, 5);
  headless::TypeText("ok");
  headless::RunUntilIdle();

  EXPECT_EQ(GetForegroundWindow(), first);
  EXPECT_EQ(Trace({WM_CHAR}), (std::vector<std::string>{"CHAR@first", "CHAR@first"}));
}

}  // namespace
}  // namespace windowtest
