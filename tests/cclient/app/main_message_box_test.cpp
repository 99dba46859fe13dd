#include "cclient/base/main_message_box.h"

#include <gtest/gtest.h>

#include <cstdio>

#include "cclient/base/client_globals.h"
#include "cclient/base/startup_file.h"
#include "platform/window/headless.h"
#include "platform/window/window.h"

namespace {

platform::LRESULT PlainProcedure(platform::HWND hwnd, platform::UINT message,
                                 platform::WPARAM wParam, platform::LPARAM lParam) {
  return platform::DefWindowProc(hwnd, message, wParam, lParam);
}

class MainMessageBoxTest : public ::testing::Test {
 protected:
  void SetUp() override {
    platform::headless::Reset();
    g_StartupSettings = StartupSettings_BuiltIn();
    std::snprintf(g_StartupSettings.display_name, sizeof g_StartupSettings.display_name,
                  "Lucky Room");
    MainWindow = nullptr;
  }
  void TearDown() override {
    MainWindow = nullptr;
    platform::headless::Reset();
  }
  static platform::HWND MakeMainWindow() {
    platform::WNDCLASS window_class;
    window_class.lpfnWndProc = PlainProcedure;
    window_class.lpszClassName = "TarvikEXEClass";
    (void)platform::RegisterClass(&window_class);
    return platform::CreateWindow("TarvikEXEClass", "Lucky Room", 0, 0, 0, 800, 516, nullptr,
                                  nullptr, nullptr, nullptr);
  }
};

TEST_F(MainMessageBoxTest, boxes_carry_the_display_name_and_their_flags) {
  struct Case {
    const char* name;
    bool main_window;
    bool error;
    platform::UINT flags;
  } const cases[] = {
      {"info_before_main_window", false, false, 0x51040},
      {"error_before_main_window", false, true, 0x50010},
      {"info", true, false, 0x50040},
      {"error", true, true, 0x50010},
  };
  for (const Case& c : cases) {
    platform::headless::Reset();
    MainWindow = c.main_window ? MakeMainWindow() : nullptr;
    if (c.error) {
      Main_ErrorBox("Timer initialization failure.");
    } else {
      Main_InfoBox("Welcome back.");
    }
    const auto& boxes = platform::headless::MessageBoxes();
    ASSERT_EQ(boxes.size(), 1u) << c.name;
    EXPECT_EQ(boxes[0].text, c.error ? "Timer initialization failure." : "Welcome back.")
        << c.name;
    EXPECT_EQ(boxes[0].caption, "Lucky Room") << c.name;
    EXPECT_EQ(boxes[0].flags, c.flags) << c.name;
    EXPECT_EQ(boxes[0].owner, MainWindow) << c.name;
  }
}

TEST_F(MainMessageBoxTest, a_destroyed_main_window_owns_no_box) {
  MainWindow = MakeMainWindow();
  EXPECT_EQ(Main_GetMessageBoxOwner(), MainWindow);
  platform::DestroyWindow(MainWindow);
  EXPECT_EQ(Main_GetMessageBoxOwner(), nullptr);
}

}  // namespace
