#include "platform/window/window.h"

#include <gtest/gtest.h>

#include <functional>
#include <map>

#include "platform/window/activation.h"
#include "platform/window/paint.h"
#include "tests/platform/window/recording_window.h"

namespace windowtest {
namespace {

using namespace platform;

struct SelfDestroyCase {
  const char* name;
  bool destroy_child_in_wm_destroy;  // the procedure destroys its child itself, as programs do
  bool destroy_again_in_wm_destroy;
};

void PrintTo(const SelfDestroyCase& c, std::ostream* os) { *os << c.name; }

class SelfDestroyTest : public WindowTest, public ::testing::WithParamInterface<SelfDestroyCase> {};

// The main window (with a child that has a child, an owned window, a timer and a posted message
// waiting) destroys itself from inside its click handler and goes on using its handle.
TEST_P(SelfDestroyTest, window_destroyed_inside_its_own_handler_goes_cleanly) {
  const SelfDestroyCase& c = GetParam();
  const HWND main = CreateTopLevel("main");
  const HWND child = CreateChild(main, 1, 10, 10, 50, 50);
  CreateChild(child, 2, 5, 5, 10, 10);
  CreateTopLevel("owned", 100, 80, "Recorder", main);
  SetForegroundWindow(main);
  SetTimer(main, 1, 40);
  headless::RunUntilIdle();

  std::vector<bool> after_destroy;
  Handle(main, [&](HWND h, UINT message, WPARAM, LPARAM) -> std::optional<LRESULT> {
    if (message == WM_DESTROY) {
      if (c.destroy_child_in_wm_destroy) {
        EXPECT_TRUE(DestroyWindow(child));
      }
      if (c.destroy_again_in_wm_destroy) {
        EXPECT_FALSE(DestroyWindow(h));
      }
    }
    if (message == WM_LBUTTONDOWN) {
      PostMessage(h, WM_APP, 0, 0);
      EXPECT_TRUE(DestroyWindow(h));
      const RECT area{0, 0, 10, 10};
      after_destroy = {IsWindow(h),
                       PostMessage(h, WM_APP, 1, 0),
                       SetTimer(h, 2, 10) != 0,
                       InvalidateRect(h, &area, true),
                       SetWindowText(h, "x"),
                       ShowWindow(h, SW_SHOW),
                       GetDC(h) != nullptr,
                       DestroyWindow(h),
                       IsWindow(child)};
      return 0;
    }
    return std::nullopt;
  });
  ClearLog();

  headless::InjectClick(main, 100, 100);
  headless::AdvanceClock(100);

  EXPECT_EQ(after_destroy, std::vector<bool>(9, false));
  EXPECT_EQ(Trace({WM_DESTROY, WM_NCDESTROY}),
            (std::vector<std::string>{"DESTROY@owned", "NCDESTROY@owned", "DESTROY@main", "DESTROY@child1",
                                      "DESTROY@child2", "NCDESTROY@child2", "NCDESTROY@child1", "NCDESTROY@main"}));
  // Nothing reaches the window after its last message: not the click's button-up, not the posted
  // message, not the timer.
  const auto all = Messages();
  const auto last = std::find_if(all.rbegin(), all.rend(), [main](const Recorded& r) { return r.hwnd == main; });
  ASSERT_NE(last, all.rend());
  EXPECT_EQ(last->message, WM_NCDESTROY);
  EXPECT_TRUE(headless::ListWindows().empty());

  // A new window never gets the old handle.
  const HWND next = CreateTopLevel("next");
  EXPECT_NE(next, main);
  EXPECT_FALSE(IsWindow(main));
}

INSTANTIATE_TEST_SUITE_P(SelfDestroy, SelfDestroyTest,
                         ::testing::Values(SelfDestroyCase{"plain", false, false},
                                           SelfDestroyCase{"child_destroyed_by_the_procedure", true, false},
                                           SelfDestroyCase{"destroyed_again_from_wm_destroy", false, true}),
                         [](const ::testing::TestParamInfo<SelfDestroyCase>& info) {
                           return std::string(info.param.name);
                         });

struct GeometryCase {
  const char* name;
  uint32_t style;
  bool menu;
  RECT client_on_screen;  // where the client area is asked to be
};

void PrintTo(const GeometryCase& c, std::ostream* os) { *os << c.name; }

class GeometryTest : public WindowTest, public ::testing::WithParamInterface<GeometryCase> {};

// A window created with the outer rectangle that AdjustWindowRect gives has exactly the client area
// that was asked for, where it was asked for; the frame grows the rectangle on every side.
TEST_P(GeometryTest, adjusted_rectangle_gives_the_client_area_asked_for) {
  const GeometryCase& c = GetParam();
  RegisterRecordingClass("Recorder");
  RECT outer = c.client_on_screen;
  ASSERT_TRUE(AdjustWindowRect(&outer, c.style, c.menu));
  if (c.style != WS_POPUP) {
    EXPECT_LT(outer.left, c.client_on_screen.left);
    EXPECT_LT(outer.top, c.client_on_screen.top);
  }
  static MenuObject* const fake_menu = reinterpret_cast<MenuObject*>(uintptr_t{0x1000});
  const HWND hwnd = CreateWindowEx(0, "Recorder", "w", c.style, outer.left, outer.top, outer.right - outer.left,
                                   outer.bottom - outer.top, nullptr, c.menu ? fake_menu : nullptr, nullptr, nullptr);
  ASSERT_NE(hwnd, nullptr);

  RECT client;
  RECT window;
  GetClientRect(hwnd, &client);
  GetWindowRect(hwnd, &window);
  POINT origin{0, 0};
  ClientToScreen(hwnd, &origin);
  EXPECT_EQ(client.right, c.client_on_screen.right - c.client_on_screen.left);
  EXPECT_EQ(client.bottom, c.client_on_screen.bottom - c.client_on_screen.top);
  EXPECT_EQ(origin.x, c.client_on_screen.left);
  EXPECT_EQ(origin.y, c.client_on_screen.top);
  EXPECT_EQ(window.left, outer.left);
  EXPECT_EQ(window.bottom, outer.bottom);
  const Surface picture = headless::GetWindowPicture(hwnd);
  EXPECT_EQ(picture.width, client.right);
  EXPECT_EQ(picture.height, client.bottom);
}

INSTANTIATE_TEST_SUITE_P(
    Geometry, GeometryTest,
    ::testing::Values(GeometryCase{"captioned_with_menu", 0x00CA0000, true, {112, 126, 912, 642}},
                      GeometryCase{"captioned", 0x00CA0000, false, {0, 0, 800, 555}},
                      GeometryCase{"popup_with_border", WS_POPUP | WS_BORDER, false, {10, 20, 110, 70}},
                      GeometryCase{"plain_popup", WS_POPUP, false, {10, 20, 110, 70}}),
    [](const ::testing::TestParamInfo<GeometryCase>& info) { return std::string(info.param.name); });

struct ActivationCase {
  const char* name;
  const char* active;  // made the foreground window first
  std::function<void(HWND a, HWND b, HWND c)> action;
  const char* expected;
};

void PrintTo(const ActivationCase& c, std::ostream* os) { *os << c.name; }

class ActivationTest : public WindowTest, public ::testing::WithParamInterface<ActivationCase> {};

// Windows "a" and "b", and "c" owned by "a". When the active window goes away the activation moves
// to its owner, else to the front-most other shown window; the new active window has the focus.
TEST_P(ActivationTest, activation_moves_to_the_owner_or_the_next_window_in_front) {
  const ActivationCase& c = GetParam();
  const HWND a = CreateTopLevel("a");
  const HWND b = CreateTopLevel("b");
  const HWND owned = CreateTopLevel("c", 100, 80, "Recorder", a);
  std::map<std::string, HWND> by_name{{"a", a}, {"b", b}, {"c", owned}};
  SetForegroundWindow(by_name[c.active]);
  headless::RunUntilIdle();
  ClearLog();

  c.action(a, b, owned);
  headless::RunUntilIdle();

  EXPECT_EQ(GetForegroundWindow(), by_name[c.expected]);
  EXPECT_EQ(GetFocus(), by_name[c.expected]);
  const auto activations = Messages({WM_ACTIVATE});
  ASSERT_FALSE(activations.empty());
  EXPECT_EQ(activations.back().hwnd, by_name[c.expected]);
  EXPECT_NE(LOWORD(activations.back().wParam), WA_INACTIVE);
}

INSTANTIATE_TEST_SUITE_P(
    Activation, ActivationTest,
    ::testing::Values(
        ActivationCase{"hidden_owned_window_returns_it_to_its_owner", "c",
                       [](HWND, HWND, HWND c) { ShowWindow(c, SW_HIDE); }, "a"},
        ActivationCase{"destroyed_owned_window_returns_it_to_its_owner", "c",
                       [](HWND, HWND, HWND c) { DestroyWindow(c); }, "a"},
        ActivationCase{"minimised_window_passes_it_to_the_next_in_front", "b",
                       [](HWND, HWND b, HWND) { ShowWindow(b, SW_MINIMIZE); }, "c"},
        ActivationCase{"restored_window_takes_it_back", "b",
                       [](HWND, HWND b, HWND) {
                         ShowWindow(b, SW_MINIMIZE);
                         OpenIcon(b);
                       },
                       "b"},
        ActivationCase{"click_on_a_disabled_owner_brings_its_owned_window_forward", "b",
                       [](HWND a, HWND, HWND) {
                         EnableWindow(a, false);
                         headless::InjectClick(a, 5, 5);
                       },
                       "c"}),
    [](const ::testing::TestParamInfo<ActivationCase>& info) { return std::string(info.param.name); });

struct MenuCalls {
  int paints = 0;
  int band_width = 0;
  int band_height = 0;
  std::vector<POINT> clicks;
};
MenuCalls g_menu_calls;

class MenuBandTest : public WindowTest {};

// The menu band takes the top of a top-level window's inner area: the client area shrinks by its
// height (the outer rectangle stays), the menu code draws the band and gets the clicks in it at
// band coordinates, and clicks below it reach the window at client coordinates.
TEST_F(MenuBandTest, band_sits_above_the_client_area_and_gets_its_own_input) {
  g_menu_calls = MenuCalls{};
  MenuBarHooks hooks;
  hooks.paint = [](HWND, HMENU, HDC dc, int width, int height) {
    ++g_menu_calls.paints;
    g_menu_calls.band_width = width;
    g_menu_calls.band_height = height;
    const HBRUSH brush = CreateSolidBrush(RGB(0, 0, 255));
    const RECT all{0, 0, width, height};
    FillRect(dc, &all, brush);
    DeleteObject(brush);
  };
  hooks.mouse = [](HWND, HMENU, UINT message, int x, int y) {
    if (message == WM_NCLBUTTONDOWN) g_menu_calls.clicks.push_back(POINT{x, y});
  };
  SetMenuBarHooks(hooks);
  const HWND hwnd = CreateTopLevel("main", 300, 200);
  RECT outer_before;
  GetWindowRect(hwnd, &outer_before);
  static MenuObject* const fake_menu = reinterpret_cast<MenuObject*>(uintptr_t{0x1000});
  ASSERT_TRUE(SetMenu(hwnd, fake_menu));
  headless::RunUntilIdle();
  ClearLog();

  const int band = GetSystemMetrics(SM_CYMENU);
  RECT client;
  RECT outer_after;
  GetClientRect(hwnd, &client);
  GetWindowRect(hwnd, &outer_after);
  EXPECT_EQ(client.right, 300);
  EXPECT_EQ(client.bottom, 200 - band);
  EXPECT_EQ(outer_after.top, outer_before.top);
  EXPECT_EQ(outer_after.bottom, outer_before.bottom);
  EXPECT_EQ(g_menu_calls.paints, 1);
  EXPECT_EQ(g_menu_calls.band_width, 300);
  EXPECT_EQ(g_menu_calls.band_height, band);

  // The band shows above the client area in the window's full picture.
  const Surface picture = headless::GetWindowPictureWithMenu(hwnd);
  EXPECT_EQ(picture.height, 200);
  EXPECT_EQ(ColourAt(picture, 150, band - 1), RGB(0, 0, 255));

  // A click 5 pixels above the client area lands in the band; one at client (5, 5) in the window.
  headless::InjectClick(hwnd, 20, -5);
  headless::InjectClick(hwnd, 5, 5);
  headless::RunUntilIdle();
  ASSERT_EQ(g_menu_calls.clicks.size(), 1u);
  EXPECT_EQ(g_menu_calls.clicks[0].x, 20);
  EXPECT_EQ(g_menu_calls.clicks[0].y, band - 5);
  const auto downs = Messages({WM_LBUTTONDOWN});
  ASSERT_EQ(downs.size(), 1u);
  EXPECT_EQ(GET_X_LPARAM(downs[0].lParam), 5);
  EXPECT_EQ(GET_Y_LPARAM(downs[0].lParam), 5);
}

}  // namespace
}  // namespace windowtest
