// What the lobby panel tests share: a program folder with the placeholder art, the user's registry
// in a folder of its own, a headless main window that collects the messages the panels post, and
// writing a picture for a person to look at.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/draw/gdi.h"
#include "platform/window/window_types.h"
#include "tests/platform/draw/memory_picture.h"
#include "tests/support/temp_program_folder.h"

class LobbyChromeTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Writes the placeholder art into the program folder (once per test that needs pictures).
  void WriteArt();
  // The WM_APP + 2 messages posted to the main window since the last call, by their first
  // parameter.
  std::vector<int32_t> TakeSwitches();
  platform::HWND main_window() const { return main_window_; }

  TempProgramFolder folder_;
  platform::HWND main_window_ = nullptr;
  uint8_t old_edition_ = 0;
};

// The lobby's three 800 x 600 pictures the panels draw into: the window, the back buffer and the
// background (a grey the panels restore from).
struct LobbyCanvas {
  LobbyCanvas();
  MemoryPicture window{800, 600};
  MemoryPicture back{800, 600};
  MemoryPicture background{800, 600};
};

// Writes the picture as "<name>.png" into the folder named by TVK_WIDGET_PNG_DIR, or, without it,
// into "widget_pngs" beside the test program.
void SaveForPerson(platform::HDC dc, const std::string& name);
