#include "tests/launcher/support/launcher_session.h"

#include <chrono>
#include <filesystem>
#include <set>
#include <thread>

#include "launcher/launcher_shell.h"
#include "launcher/splash_window.h"
#include "launcher/upgrade_engine.h"
#include "platform/window/headless.h"
#include "platform/window/window.h"

void LauncherSessionTest::SetUp() {
  ASSERT_TRUE(platform::headless::IsHeadless());
  platform::headless::Reset();
}

void LauncherSessionTest::TearDown() {
  Upgrade_Kill();
  Splash_Release();
  platform::headless::Reset();
}

bool LauncherSessionTest::Start(const std::string& command_line) {
  return Launcher_Start(command_line, platform::SW_SHOWNORMAL).run_loop;
}

void LauncherSessionTest::RunUntil(const std::function<bool()>& done) {
  const auto give_up = std::chrono::steady_clock::now() + std::chrono::seconds(60);
  while (!exit_code_ && !done()) {
    ASSERT_LT(std::chrono::steady_clock::now(), give_up) << "the upgrade hangs";
    exit_code_ = platform::headless::AdvanceClock(250);
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
}

std::optional<int> LauncherSessionTest::PressButton() {
  platform::RECT rect{};
  platform::GetWindowRect(Splash_GetButton(), &rect);
  platform::RECT splash{};
  platform::GetWindowRect(Splash_GetWindow(), &splash);
  platform::headless::InjectClick(Splash_GetWindow(), (rect.left + rect.right) / 2 - splash.left,
                                  (rect.top + rect.bottom) / 2 - splash.top);
  exit_code_ = platform::headless::RunUntilIdle();
  return exit_code_;
}

std::string LauncherSessionTest::UnexpectedEntries(const std::vector<std::string>& expected) const {
  const std::set<std::string> allowed(expected.begin(), expected.end());
  std::string unexpected;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(folder_.Path())) {
    const std::string relative = std::filesystem::relative(entry.path(), folder_.Path()).string();
    if (allowed.count(relative) == 0) unexpected += relative + " ";
  }
  return unexpected;
}
