#include "platform/window/window.h"

#include <gtest/gtest.h>

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

}  // namespace
}  // namespace windowtest
