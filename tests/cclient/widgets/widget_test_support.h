// What the table widget tests share: a program folder holding the stand-in table pictures, the
// table's chip set made from the chip strip, and writing a picture for a person to look at.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "cclient/widgets/bitmap_file.h"
#include "cclient/widgets/chip_image.h"
#include "cclient/widgets/chip_stack.h"
#include "platform/draw/gdi.h"
#include "tests/support/temp_program_folder.h"

// The values of the table chip set's 15 strip cells, in cents; cell 0 is the marker.
extern const int32_t kTableChipValues[15];

// The 15 chips of a poker table, cut from "4001.b" (cells of 20 x 19, key pure green).
class TableChipSet {
 public:
  TableChipSet();
  ~TableChipSet();
  TableChipSet(const TableChipSet&) = delete;
  TableChipSet& operator=(const TableChipSet&) = delete;

  ChipImage* const* Images() { return pointers_; }
  // Init and layout as the poker tables make them: 15 kinds, 9 piles, rows of 20, chip step (1, -3).
  void SetUpStack(ChipStack* stack);

 private:
  BitmapFile strip_;
  std::unique_ptr<ChipImage> chips_[15];
  ChipImage* pointers_[15];
};

// A program folder with the stand-in pictures written into it.
class TableArtTest : public ProgramFolderTest {
 protected:
  void SetUp() override;
};

// Writes the picture as "<name>.png" into the folder named by TVK_WIDGET_PNG_DIR, or, without it,
// into "widget_pngs" beside the test program, for a person to look at.
void SaveForPerson(platform::HDC dc, const std::string& name);

// A headless table window of 800 x 560 whose mouse and character messages go to `handler`, so
// that a test drives widgets with injected input as a table does. One at a time.
#include <functional>

#include "platform/window/window_types.h"

class InputWindow {
 public:
  using Handler = std::function<void(platform::UINT message, platform::WPARAM wparam, int32_t x, int32_t y)>;
  explicit InputWindow(Handler handler);
  ~InputWindow();
  InputWindow(const InputWindow&) = delete;
  InputWindow& operator=(const InputWindow&) = delete;

  platform::HWND hwnd() const { return hwnd_; }
  // Runs the message loop until the injected input has been delivered.
  void Deliver();

 private:
  static platform::LRESULT Procedure(platform::HWND hwnd, platform::UINT message, platform::WPARAM wparam,
                                     platform::LPARAM lparam);
  Handler handler_;
  platform::HWND hwnd_ = nullptr;
};
