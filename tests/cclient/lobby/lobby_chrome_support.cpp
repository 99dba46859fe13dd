#include "tests/cclient/lobby/lobby_chrome_support.h"

#include <cstdlib>
#include <filesystem>
#include <system_error>

#include "cclient/base/options.h"
#include "cclient/base/startup_file.h"
#include "platform/draw/png_writer.h"
#include "platform/system/process.h"
#include "platform/window/headless.h"
#include "platform/window/message_queue.h"
#include "platform/window/window.h"

namespace {

platform::LRESULT QuietProcedure(platform::HWND hwnd, platform::UINT message,
                                 platform::WPARAM wparam, platform::LPARAM lparam) {
  return platform::DefWindowProc(hwnd, message, wparam, lparam);
}

}  // namespace

void LobbyChromeTest::SetUp() {
  const std::string config = folder_.PathOf("config/");
  std::filesystem::create_directories(config);
  ::setenv("TVK_CONFIG_ROOT", config.c_str(), 1);
  Registry_SetOptionsKey(kDefaultOptionsKey);
  old_edition_ = PlayMoneyEdition;
  PlayMoneyEdition = 0;
  platform::headless::Reset();
  platform::WNDCLASS window_class;
  window_class.lpfnWndProc = QuietProcedure;
  window_class.lpszClassName = "LobbyChromeMain";
  (void)platform::RegisterClass(&window_class);
  main_window_ = platform::CreateWindow("LobbyChromeMain", "lobby", 0, 0, 0, 800, 600, nullptr,
                                        nullptr, nullptr, nullptr);
  ASSERT_NE(main_window_, nullptr);
}

void LobbyChromeTest::TearDown() {
  platform::headless::Reset();
  PlayMoneyEdition = old_edition_;
  ::unsetenv("TVK_CONFIG_ROOT");
}

void LobbyChromeTest::WriteArt() {
  ASSERT_EQ(platform::SpawnProgramAndWait(PLACEHOLDER_ART_PATH,
                                          {PLACEHOLDER_ART_PATH, folder_.Path()}),
            0);
}

std::vector<int32_t> LobbyChromeTest::TakeSwitches() {
  std::vector<int32_t> rows;
  platform::MSG message{};
  while (platform::PeekMessage(&message, main_window_, platform::WM_APP + 2, platform::WM_APP + 2,
                               platform::PM_REMOVE)) {
    rows.push_back(static_cast<int32_t>(message.wParam));
  }
  return rows;
}

LobbyCanvas::LobbyCanvas() {
  window.Fill(0x000000);
  back.Fill(0x000000);
  background.Fill(0x505050);
}

void SaveForPerson(platform::HDC dc, const std::string& name) {
  const char* env = std::getenv("TVK_WIDGET_PNG_DIR");
  std::filesystem::path folder;
  if (env != nullptr && *env != '\0') {
    folder = env;
  } else {
    folder = std::filesystem::canonical("/proc/self/exe").parent_path() / "widget_pngs";
  }
  std::error_code error;
  std::filesystem::create_directories(folder, error);
  EXPECT_TRUE(platform::SaveDCPng(dc, (folder / (name + ".png")).string())) << name;
}
