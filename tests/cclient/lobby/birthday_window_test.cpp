#include "cclient/lobby/birthday_window.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "cclient/base/debug_log.h"
#include "platform/window/headless.h"
#include "platform/window/window.h"
#include "tests/cclient/lobby/lobby_chrome_support.h"
#include "tests/cclient/widgets/image_fixtures.h"

namespace {

class BirthdayWindowTest : public LobbyChromeTest {};

TEST_F(BirthdayWindowTest, a_second_greeting_repaints_the_open_window) {
  std::vector<uint8_t> pixels(320 * 60 * 3, 0);
  for (size_t i = 0; i < pixels.size(); i += 3) pixels[i] = 230;  // red
  folder_.WriteFile("birthday.a", EncodeJpeg(JpegKind::kColour, 320, 60, pixels, 100));
  BirthdayWindow_Show(nullptr, main_window(), "Happy birthday, Ann!");
  (void)platform::headless::RunUntilIdle();
  const platform::HWND window = BirthdayWindow_GetWindow();
  ASSERT_NE(window, nullptr);
  BirthdayWindow_Show(nullptr, main_window(), "Many happy returns");
  (void)platform::headless::RunUntilIdle();
  EXPECT_EQ(BirthdayWindow_GetWindow(), window);
  EXPECT_STREQ(BirthdayWindow_GetText(), "Many happy returns");
  EXPECT_EQ(platform::FindWindow("HappyBirthday", "Happy Birthday"), window);

  platform::DestroyWindow(window);
  EXPECT_EQ(BirthdayWindow_GetWindow(), nullptr);
  // A greeting longer than the buffer is cut at its end; a picture that does not suit (a width
  // that is not a multiple of 4) leaves the text on white.
  folder_.WriteFile("birthday.a", EncodeJpeg(JpegKind::kColour, 321, 60,
                                             std::vector<uint8_t>(321 * 60 * 3, 200), 100));
  const std::string long_text(5000, 'x');
  BirthdayWindow_Show(nullptr, main_window(), long_text.c_str());
  (void)platform::headless::RunUntilIdle();
  EXPECT_NE(BirthdayWindow_GetWindow(), nullptr);
  EXPECT_EQ(std::string(BirthdayWindow_GetText()), long_text.substr(0, kBirthdayTextBytes - 1));
  platform::DestroyWindow(BirthdayWindow_GetWindow());
}

}  // namespace
