#include "cclient/widgets/widget_frame.h"

#include <gtest/gtest.h>

#include "platform/draw/gdi.h"
#include "tests/platform/draw/memory_picture.h"

namespace {

using platform::COLORREF;
using platform::RECT;

constexpr COLORREF kBackBuffer = 0x404040;
constexpr COLORREF kBackground = 0x808000;

// An owner's back buffer and background of 40 x 30, each one flat colour, and a widget's frame.
class WidgetFrameEraseTest : public ::testing::Test {
 protected:
  void SetUp() override {
    back_buffer.Fill(kBackBuffer);
    background.Fill(kBackground);
  }

  MemoryPicture back_buffer{40, 30};
  MemoryPicture background{40, 30};
  WidgetFrame frame;
};

// A widget moved after painting at (5, 6)-(14, 11) (inclusive): the owner's erase step restores the
// background over exactly that rectangle, once.
TEST_F(WidgetFrameEraseTest, erase_after_a_move_restores_the_rectangle_painted_last) {
  frame.Painted({5, 6, 14, 11});
  RECT out{};
  EXPECT_FALSE(frame.Erase(back_buffer.dc, background.dc, &out));

  frame.Moved();
  ASSERT_TRUE(frame.Erase(back_buffer.dc, background.dc, &out));
  EXPECT_EQ(out.left, 5);
  EXPECT_EQ(out.top, 6);
  EXPECT_EQ(out.right, 14);
  EXPECT_EQ(out.bottom, 11);
  EXPECT_EQ(platform::GetPixel(back_buffer.dc, 5, 6), kBackground);
  EXPECT_EQ(platform::GetPixel(back_buffer.dc, 14, 11), kBackground);
  EXPECT_EQ(platform::GetPixel(back_buffer.dc, 15, 11), kBackBuffer);
  EXPECT_EQ(platform::GetPixel(back_buffer.dc, 14, 12), kBackBuffer);
  EXPECT_EQ(platform::GetPixel(back_buffer.dc, 4, 6), kBackBuffer);
  EXPECT_FALSE(frame.Erase(back_buffer.dc, background.dc, &out));
}

TEST(WidgetFrameTest, needs_redraw_follows_shown_pending_and_always) {
  struct Case {
    const char* name;
    bool always;
    bool invalidate;
    bool shown;
    bool expected;
  } const cases[] = {
      {"always_redraw_even_hidden", true, false, false, true},
      {"nothing_pending", false, false, true, false},
      {"invalidated_and_shown", false, true, true, true},
      {"invalidated_but_hidden", false, true, false, false},
  };
  for (const Case& c : cases) {
    WidgetFrame frame;
    frame.SetAlwaysRedraw(c.always);
    frame.Painted({0, 0, 9, 9});
    if (c.invalidate) frame.Invalidate();
    EXPECT_EQ(frame.NeedsRedraw(c.shown), c.expected) << c.name;
  }
}

TEST(WidgetFrameTest, dirty_rect_is_what_the_last_draw_painted) {
  WidgetFrame frame;
  RECT out{};
  EXPECT_FALSE(frame.GetDirtyRect(&out));
  frame.Painted({1, 2, 3, 4});
  ASSERT_TRUE(frame.GetDirtyRect(&out));
  EXPECT_EQ(out.right, 3);
  frame.Painted({-1, -1, -1, -1});
  EXPECT_FALSE(frame.GetDirtyRect(&out));
}

// A paint settles a move: when the owner drew the moved widget without an erase step in between
// (no background that tick), a later erase must not wipe the widget where it now stands.
TEST_F(WidgetFrameEraseTest, a_paint_after_a_move_cancels_the_pending_erase) {
  frame.Painted({5, 6, 14, 11});
  frame.Moved();
  frame.Painted({20, 6, 29, 11});
  RECT out{};
  EXPECT_FALSE(frame.Erase(back_buffer.dc, background.dc, &out));
  EXPECT_EQ(platform::GetPixel(back_buffer.dc, 20, 6), kBackBuffer);
  ASSERT_TRUE(frame.GetDirtyRect(&out));
  EXPECT_EQ(out.left, 20);
}

}  // namespace
