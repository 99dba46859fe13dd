#include "launcher/splash_window.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/window/headless.h"
#include "platform/window/window.h"
#include "tests/cclient/widgets/image_fixtures.h"
#include "tests/launcher/support/upgrade_fixture.h"
#include "tests/support/temp_program_folder.h"

namespace {

using platform::COLORREF;
using platform::RGB;

// A dark blue to purple picture, so that the white status text and the bar stand out.
std::vector<uint8_t> BackgroundPixels() {
  std::vector<uint8_t> pixels;
  for (int y = 0; y < 320; ++y) {
    for (int x = 0; x < 320; ++x) {
      pixels.push_back(static_cast<uint8_t>(20 + y / 4));
      pixels.push_back(20);
      pixels.push_back(static_cast<uint8_t>(60 + x / 8));
    }
  }
  return pixels;
}

COLORREF ColourAt(const platform::Surface& picture, int x, int y) {
  const uint8_t* pixel = picture.Row(y) + x * 3;
  return RGB(pixel[2], pixel[1], pixel[0]);
}

// A program folder and a fresh headless screen; the splash window's state is released after each test.
class SplashTest : public ProgramFolderTest {
 protected:
  void SetUp() override { platform::headless::Reset(); }
  void TearDown() override {
    Splash_Release();
    platform::headless::Reset();
  }
};

struct BarCase {
  const char* name;
  float ratio;
  float shown_ratio;
  // Points of the bar's row t + 21 and their colours; t = 230, the bar's centre x = 160.
  std::vector<std::pair<int, COLORREF>> bar_row;
};

void PrintTo(const BarCase& c, std::ostream* os) { *os << c.name; }

class SplashPictureTest : public SplashTest, public ::testing::WithParamInterface<BarCase> {};

TEST_P(SplashPictureTest, draws_background_status_text_and_bar) {
  const BarCase& c = GetParam();
  folder_.WriteFile("root.ini", ClientRootIni("http://127.0.0.1:9/upgrade.ini"));
  const std::string jpeg = EncodeJpeg(JpegKind::kColour, 320, 320, BackgroundPixels());
  folder_.WriteFile("splash.a", jpeg);
  RootIniSettings settings;
  ASSERT_EQ(ROOTINI_OK, ReadRootIni("root.ini", &settings));
  Splash_SetSettings(&settings);
  ASSERT_EQ(SplashBackground::kDecoded, Splash_LoadBackground("SPLASH.A"));
  ASSERT_TRUE(RegisterSplashClass(nullptr, nullptr));
  ASSERT_EQ(1, CreateSplashWindow(nullptr, platform::SW_SHOWNORMAL, "Tarvik"));
  ASSERT_NE(nullptr, Splash_CreateButton(nullptr));
  Splash_SetStatus("Upgrading files\n\nPlease wait...", c.ratio);
  EXPECT_FLOAT_EQ(c.shown_ratio, Splash_GetRatio());
  platform::headless::RunUntilIdle();

  const platform::HWND splash = Splash_GetWindow();
  const platform::Surface picture = platform::headless::GetWindowPicture(splash);
  ASSERT_TRUE(platform::headless::SaveWindowPicture(splash, std::string(PICTURE_FOLDER) + "/splash_" + c.name + ".png"));
  ASSERT_EQ(320, picture.width);
  ASSERT_EQ(320, picture.height);

  // The background is the picture as the JPEG library decodes it.
  int32_t width = 0;
  int32_t height = 0;
  const std::vector<uint8_t> reference = ReferenceDecode(jpeg, &width, &height);
  ASSERT_EQ(320 * 320 * 3u, reference.size());
  for (const auto& [x, y] : std::vector<std::pair<int, int>>{{5, 5}, {300, 100}, {100, 200}}) {
    const uint8_t* expected = reference.data() + (y * 320 + x) * 3;
    EXPECT_EQ(RGB(expected[0], expected[1], expected[2]), ColourAt(picture, x, y)) << x << "," << y;
  }
  // The bar's rims, then its row.
  EXPECT_EQ(RGB(192, 192, 192), ColourAt(picture, 35, 248));
  EXPECT_EQ(RGB(192, 192, 192), ColourAt(picture, 284, 261));
  EXPECT_EQ(RGB(64, 64, 64), ColourAt(picture, 36, 249));
  for (const auto& [x, colour] : c.bar_row) EXPECT_EQ(colour, ColourAt(picture, x, 251)) << "x " << x;

  // The status text is white in the first line's band.
  bool white_text = false;
  for (int y = 230; y < 246 && !white_text; ++y) {
    for (int x = 100; x < 220 && !white_text; ++x) white_text = ColourAt(picture, x, y) == RGB(255, 255, 255);
  }
  EXPECT_TRUE(white_text);
}

const COLORREF kWhite = RGB(255, 255, 255);
const COLORREF kDarkGrey = RGB(64, 64, 64);

INSTANTIATE_TEST_SUITE_P(
    Ratios, SplashPictureTest,
    ::testing::Values(BarCase{"40_percent", 0.4f, 0.4f, {{37, kWhite}, {120, kWhite}, {200, kDarkGrey}, {283, kDarkGrey}}},
                      BarCase{"150_percent_is_full", 1.5f, 1.0f, {{37, kWhite}, {120, kWhite}, {200, kWhite}, {282, kWhite}, {283, kDarkGrey}}}),
    [](const ::testing::TestParamInfo<BarCase>& info) { return std::string(info.param.name); });

class SplashSettingsTest : public SplashTest {};

// Window coordinates from the settings file are kept within the window's reach, so that a wild
// value neither makes a huge button picture nor overflows the bar's coordinates.
TEST_F(SplashSettingsTest, wild_coordinates_stay_within_the_window) {
  folder_.WriteFile("root.ini",
                    "0 \"\" splash.a FFFFFF 2147483647 Cancel -2147483648 5 2147483647 99999999999 u \"\" \"\" tvk.exe "
                    "\"\" END_OF_FILE");
  RootIniSettings settings;
  ASSERT_EQ(ROOTINI_OK, ReadRootIni("root.ini", &settings));
  Splash_SetSettings(&settings);
  ASSERT_EQ(SplashBackground::kFallback, Splash_LoadBackground("splash.a"));
  ASSERT_TRUE(RegisterSplashClass(nullptr, nullptr));
  ASSERT_EQ(1, CreateSplashWindow(nullptr, platform::SW_SHOWNORMAL, ""));
  const platform::HWND button = Splash_CreateButton(nullptr);
  ASSERT_NE(nullptr, button);
  Splash_SetStatus("Scanning files\n\nPlease wait...", 0.5f);
  platform::headless::RunUntilIdle();

  platform::RECT rect{};
  ASSERT_TRUE(platform::GetWindowRect(button, &rect));
  EXPECT_EQ(320, rect.right - rect.left);
  EXPECT_EQ(320, rect.bottom - rect.top);
  EXPECT_EQ(320, platform::headless::GetWindowPicture(Splash_GetWindow()).width);
}

}  // namespace
