// The frame of a game table: the picture it loads, the rectangles it copies to the window, the
// overflow to a whole copy, and the window context that never outlives its window.
#include <gtest/gtest.h>

#include <vector>

#include "cclient/games/kit/game_frame.h"
#include "platform/draw/gdi.h"
#include "platform/window/headless.h"
#include "platform/window/paint.h"
#include "platform/window/window.h"
#include "tests/cclient/widgets/image_fixtures.h"
#include "tests/support/temp_program_folder.h"

namespace {

platform::LRESULT Plain(platform::HWND hwnd, platform::UINT message, platform::WPARAM wParam, platform::LPARAM lParam) {
  return platform::DefWindowProc(hwnd, message, wParam, lParam);
}

class GameFrameTest : public ProgramFolderTest {
 protected:
  void SetUp() override {
    platform::headless::Reset();
    platform::WNDCLASS window_class;
    window_class.lpfnWndProc = Plain;
    window_class.lpszClassName = "GameFrameTest";
    (void)platform::RegisterClass(&window_class);
  }
  void TearDown() override { platform::headless::Reset(); }
  platform::HWND MakeWindow() {
    return platform::CreateWindow("GameFrameTest", "Table", platform::WS_CAPTION, 0, 0, 800, 560, nullptr, nullptr,
                                  nullptr, nullptr);
  }
  void WritePicture(const char* name, int32_t width, int32_t height) {
    std::vector<uint8_t> pixels(static_cast<size_t>(width) * height * 3, 0);
    for (size_t i = 0; i < pixels.size(); i += 3) pixels[i] = 200;  // red
    folder_.WriteFile(name, EncodeJpeg(JpegKind::kColour, width, height, pixels, 95));
  }
};

TEST_F(GameFrameTest, the_picture_must_be_800_by_560_and_a_failed_load_keeps_the_old_one) {
  GameFrame frame;
  EXPECT_STREQ(frame.LoadBackground(nullptr, "missing.a"), "Unable to load background image");
  WritePicture("big.a", 800, 600);
  EXPECT_STREQ(frame.LoadBackground("", "big.a"), "Invalid background image size or depth");
  WritePicture("10table.a", 800, 560);
  ASSERT_EQ(frame.LoadBackground("big.a", "10table.a"), nullptr);  // the site picture is refused
  const platform::HDC back = frame.BackBuffer();
  const platform::COLORREF colour = platform::GetPixel(frame.Background(), 400, 300);
  EXPECT_GT(platform::GetRValue(colour), 150);
  EXPECT_LT(platform::GetBValue(colour), 60);
  EXPECT_NE(frame.LoadBackground("big.a", "missing.a"), nullptr);
  EXPECT_EQ(frame.BackBuffer(), back);
}

TEST_F(GameFrameTest, only_dirty_rectangles_are_copied_and_an_overflow_copies_everything) {
  WritePicture("10table.a", 800, 560);
  GameFrame frame;
  ASSERT_EQ(frame.LoadBackground(nullptr, "10table.a"), nullptr);
  const platform::HWND window = MakeWindow();
  frame.Present(window);  // the first copy is whole
  EXPECT_FALSE(frame.RedrawAllPending());
  const platform::HBRUSH blue = platform::CreateSolidBrush(platform::RGB(0, 0, 255));
  const platform::RECT everywhere{0, 0, 800, 560};
  platform::FillRect(frame.BackBuffer(), &everywhere, blue);
  platform::DeleteObject(blue);
  frame.AddDirty({10, 10, 19, 19});
  frame.Present(window);
  const platform::HDC dc = frame.WindowDC();
  EXPECT_EQ(platform::GetPixel(dc, 19, 19), platform::RGB(0, 0, 255));
  EXPECT_NE(platform::GetPixel(dc, 20, 20), platform::RGB(0, 0, 255));
  for (int32_t i = 0; i < GameFrame::kMaxDirty; ++i) frame.AddDirty({0, 0, 1, 1});
  EXPECT_FALSE(frame.RedrawAllPending());
  frame.AddDirty({0, 0, 1, 1});  // the 201st
  EXPECT_TRUE(frame.RedrawAllPending());
  frame.Present(window);
  EXPECT_EQ(platform::GetPixel(dc, 700, 500), platform::RGB(0, 0, 255));
  EXPECT_FALSE(frame.RedrawAllPending());
}

TEST_F(GameFrameTest, the_window_context_goes_with_its_window) {
  WritePicture("10table.a", 800, 560);
  GameFrame frame;
  ASSERT_EQ(frame.LoadBackground(nullptr, "10table.a"), nullptr);
  const platform::HWND first = MakeWindow();
  frame.Present(first);
  ASSERT_NE(frame.WindowDC(), nullptr);
  platform::DestroyWindow(first);
  frame.Present(first);  // a window that is gone is not drawn to
  const platform::HWND second = MakeWindow();
  frame.AddDirty({0, 0, 5, 5});
  frame.Present(second);
  EXPECT_EQ(frame.WindowDC(), platform::GetDC(second));
  frame.Release();
  EXPECT_EQ(frame.WindowDC(), nullptr);
  EXPECT_EQ(frame.BackBuffer(), nullptr);
}

}  // namespace
