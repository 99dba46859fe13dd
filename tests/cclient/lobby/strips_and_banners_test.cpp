#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "cclient/lobby/jpeg_image.h"
#include "cclient/lobby/lobby_banner.h"
#include "cclient/lobby/menu_strip.h"
#include "tests/cclient/lobby/lobby_chrome_support.h"
#include "tests/cclient/widgets/image_fixtures.h"

namespace {

// One colour (red, green, blue) over the whole picture.
std::string SolidJpeg(int32_t width, int32_t height, uint8_t r, uint8_t g, uint8_t b) {
  std::vector<uint8_t> pixels;
  for (int32_t i = 0; i < width * height; ++i) {
    pixels.push_back(r);
    pixels.push_back(g);
    pixels.push_back(b);
  }
  return EncodeJpeg(JpegKind::kColour, width, height, pixels, 100);
}

// A strip of 7 frames of 144 x 106 whose frame i is grey 30 * (i + 1).
std::string StripJpeg() {
  std::vector<uint8_t> pixels;
  for (int32_t y = 0; y < 7 * 106; ++y) {
    const uint8_t grey = static_cast<uint8_t>(30 * (y / 106 + 1));
    for (int32_t x = 0; x < 144 * 3; ++x) pixels.push_back(grey);
  }
  return EncodeJpeg(JpegKind::kColour, 144, 7 * 106, pixels, 100);
}

bool Near(platform::COLORREF colour, uint8_t r, uint8_t g, uint8_t b) {
  auto close = [](int a, int b) { return std::abs(a - b) <= 6; };
  return close(platform::GetRValue(colour), r) && close(platform::GetGValue(colour), g) &&
         close(platform::GetBValue(colour), b);
}

class StripsAndBannersTest : public LobbyChromeTest {
 protected:
  LobbyCanvas canvas_;
};

TEST_F(StripsAndBannersTest, jpeg_image_takes_widths_that_are_a_multiple_of_4) {
  struct Case {
    const char* file;
    std::string bytes;
    bool loads;
  };
  const std::vector<Case> cases = {
      {"wide.a", SolidJpeg(640, 8, 200, 10, 10), true},
      {"odd.a", SolidJpeg(641, 8, 200, 10, 10), false},
      {"cmyk.a", EncodeJpeg(JpegKind::kCmyk, 8, 8, std::vector<uint8_t>(8 * 8 * 4, 100)), false},
      {"broken.a", "not a picture", false},
  };
  JpegImage image;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.file);
    folder_.WriteFile(c.file, c.bytes);
    EXPECT_EQ(image.Load(canvas_.window.dc, c.file), c.loads);
    EXPECT_EQ(image.GetDC() != nullptr, c.loads);
    EXPECT_EQ(image.GetWidth(), c.loads ? 640 : 0);
    if (c.loads) {
      // Red stays red: the decoder's order is turned into the bitmap's.
      EXPECT_TRUE(Near(platform::GetPixel(image.GetDC(), 5, 5), 200, 10, 10));
    }
  }
  EXPECT_FALSE(image.Load(canvas_.window.dc, "missing.a"));
}

TEST_F(StripsAndBannersTest, strip_steps_every_200_ms_and_hover_swaps_the_animation) {
  for (const char* name : {"msignin.a", "mcashier.a", "msignino.a", "mcasho.a"}) {
    folder_.WriteFile(name, StripJpeg());
  }
  MenuStrip strip;
  strip.Create(canvas_.back.dc);
  EXPECT_TRUE(strip.Strip(2).IsStopped());
  EXPECT_TRUE(strip.Strip(3).IsStopped());
  strip.Stop(MenuStrip::kCashierButton, 0);
  EXPECT_FALSE(strip.Tick(1000));  // the first tick only starts the clock
  EXPECT_FALSE(strip.Tick(1199));
  EXPECT_TRUE(strip.Tick(1200));
  EXPECT_EQ(strip.Strip(0).CurrentStep(), 1);
  strip.Draw(canvas_.window.dc, canvas_.back.dc, canvas_.background.dc);
  EXPECT_TRUE(Near(canvas_.window.At(700, 450), 60, 60, 60));  // frame 1
  for (uint32_t t = 1400; t <= 2400; t += 200) EXPECT_TRUE(strip.Tick(t));
  EXPECT_EQ(strip.Strip(0).CurrentStep(), 0);  // after the seventh step it starts over

  // The pointer over the corner: the hover strip runs, the normal one keeps its frame.
  strip.MouseMove(700, 450);
  EXPECT_TRUE(strip.IsHovering(0));
  EXPECT_TRUE(strip.Strip(0).IsStopped());
  EXPECT_FALSE(strip.Strip(2).IsStopped());
  // The stopped cashier button only notes the hover.
  EXPECT_TRUE(strip.IsHovering(1));
  EXPECT_TRUE(strip.Strip(3).IsStopped());
  // Off the edge (x 793 is outside): back to the normal strip.
  strip.MouseMove(793, 450);
  EXPECT_FALSE(strip.IsHovering(0));
  EXPECT_TRUE(strip.Strip(2).IsStopped());
  EXPECT_FALSE(strip.Strip(0).IsStopped());

  // Stopping with erase shows the background and draws nothing more until started.
  strip.Stop(MenuStrip::kSignInButton, 1);
  EXPECT_TRUE(strip.Tick(2500));
  strip.Draw(canvas_.window.dc, canvas_.back.dc, canvas_.background.dc);
  EXPECT_EQ(canvas_.window.At(700, 450), 0x505050u);
  EXPECT_EQ(canvas_.back.At(700, 450), 0x505050u);
  EXPECT_FALSE(strip.Tick(5000));
  strip.Start(MenuStrip::kSignInButton);
  EXPECT_TRUE(strip.Tick(5200));
  strip.Draw(canvas_.window.dc, canvas_.back.dc, canvas_.background.dc);
  EXPECT_NE(canvas_.window.At(700, 450), 0x505050u);
  // Unknown buttons are ignored.
  strip.Start(2);
  strip.Stop(-1, 1);
}

TEST_F(StripsAndBannersTest, banner_fallbacks_and_edges) {
  folder_.WriteFile("blue.a", SolidJpeg(200, 40, 0, 0, 220));
  folder_.WriteFile("green.a", SolidJpeg(200, 40, 0, 220, 0));
  struct Case {
    const char* name;
    const char* normal;
    const char* hover;
    int32_t side;
    platform::RECT rect;
    bool hover_changes;
    bool shows_background;
  };
  const std::vector<Case> cases = {
      {"both", "blue.a", "green.a", kLeftBanner, {0, 0, 200, 40}, true, false},
      {"right side", "blue.a", "green.a", kRightBanner, {600, 0, 800, 40}, true, false},
      {"hover missing", "blue.a", "missing.a", kLeftBanner, {0, 0, 200, 40}, false, false},
      {"normal missing", "missing.a", "green.a", kLeftBanner, {0, 0, 200, 40}, false, false},
      {"empty banner", "000000000.a", "green.a", kRightBanner, {600, 0, 800, 40}, true, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    LobbyCanvas canvas;
    LobbyBanner banner;
    banner.Setup(canvas.back.dc, canvas.background.dc, c.normal, c.hover, "http://x.example/a",
                 c.side);
    EXPECT_EQ(banner.Rect().left, c.rect.left);
    EXPECT_EQ(banner.Rect().right, c.rect.right);
    EXPECT_EQ(banner.Rect().bottom, c.rect.bottom);
    EXPECT_STREQ(banner.GetLink(), "http://x.example/a");
    EXPECT_TRUE(banner.NeedsRedraw());
    banner.Draw(canvas.window.dc, canvas.back.dc);
    EXPECT_FALSE(banner.NeedsRedraw());
    const int32_t x = c.rect.left + 10;
    if (c.shows_background) {
      EXPECT_EQ(canvas.window.At(x, 10), 0x505050u);
    } else {
      EXPECT_FALSE(Near(canvas.window.At(x, 10), 0, 0, 0));
    }
    // Half-open: the right and bottom edges are outside.
    EXPECT_TRUE(banner.HitTest(c.rect.left, 0));
    EXPECT_TRUE(banner.HitTest(c.rect.right - 1, c.rect.bottom - 1));
    EXPECT_FALSE(banner.HitTest(c.rect.right, 5));
    EXPECT_FALSE(banner.HitTest(x, c.rect.bottom));
    banner.MouseMove(x, 10);
    EXPECT_EQ(banner.NeedsRedraw(), c.hover_changes);
    if (c.hover_changes) {
      banner.Draw(canvas.window.dc, canvas.back.dc);
      EXPECT_TRUE(Near(canvas.window.At(x, 10), 0, 220, 0));
      EXPECT_TRUE(Near(canvas.back.At(x, 10), 0, 220, 0));
      banner.MouseMove(x, c.rect.bottom);
      EXPECT_TRUE(banner.NeedsRedraw());
    }
  }
  LobbyBanner nothing;
  nothing.Setup(canvas_.back.dc, canvas_.background.dc, "missing.a", "missing.a", nullptr,
                kLeftBanner);
  EXPECT_STREQ(nothing.GetLink(), "");
  EXPECT_FALSE(nothing.HitTest(0, 0));
}

}  // namespace
