// Runs the launcher's shell inside a test: starts it in the test's program folder, drives its
// message loop on the headless window backend while the upgrade thread works in real time, and
// presses its button.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "tests/support/temp_program_folder.h"

class LauncherSessionTest : public ProgramFolderTest {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Launcher_Start with the command line; true when the splash and the thread run.
  bool Start(const std::string& command_line = "");
  // Runs the splash's timer until `done` holds (or the window has closed). Fails the test when
  // the upgrade takes unreasonably long (a hang, not a speed goal).
  void RunUntil(const std::function<bool()>& done);
  // Clicks the button and runs the loop until it is idle; the loop's exit code when it ended.
  std::optional<int> PressButton();
  // The folder's entries that are not in `expected` (temporary files left behind, for one).
  std::string UnexpectedEntries(const std::vector<std::string>& expected) const;
  std::string Log() const { return folder_.ReadFile("root.log"); }

  std::optional<int> exit_code_;  // set once the loop met its quit message
};
