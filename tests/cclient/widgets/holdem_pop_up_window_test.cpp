#include "cclient/widgets/holdem_pop_up_window.h"

#include <gtest/gtest.h>

#include "tests/cclient/widgets/widget_test_support.h"
#include "tests/platform/draw/memory_picture.h"

namespace {

using platform::RECT;

constexpr platform::COLORREF kFelt = 0x205020;
constexpr platform::COLORREF kPanel = platform::RGB(50, 40, 70);
constexpr platform::COLORREF kYes = platform::RGB(40, 90, 40);

// The fold confirmation: "4900.b" (200 x 82) at (306, 348); button 8 at (29, 46) and 9 at
// (103, 46), each with a pressed picture only (68 x 26).
class PopUpTest : public TableArtTest {
 protected:
  void SetUp() override {
    TableArtTest::SetUp();
    ASSERT_EQ(window_.LoadBackground("4900.b", 306, 348), nullptr);
    const int32_t ids[] = {8, 9};
    const int32_t xs[] = {29, 103};
    const int32_t ys[] = {46, 46};
    const char* pressed[] = {"4912.b", "4922.b"};
    const char* none[] = {"", nullptr};
    ASSERT_EQ(window_.AddButtons(2, ids, xs, ys, pressed, none, none, nullptr, nullptr), nullptr);
    window_.SetAlwaysRedraw(false);
    background_.Fill(kFelt);
    back_buffer_.Fill(kFelt);
  }
  bool Frame(float seconds, RECT* dirty = nullptr) {
    RECT rect;
    window_.Update(seconds, 0, 0);
    (void)window_.Erase(back_buffer_.dc, background_.dc, &rect);
    window_.Draw(back_buffer_.dc);
    RECT d;
    const bool reported = window_.GetDirtyRect(&d);
    if (dirty != nullptr) *dirty = d;
    return reported;
  }

  HoldemPopUpWindow window_;
  MemoryPicture background_{800, 560};
  MemoryPicture back_buffer_{800, 560};
};

TEST_F(PopUpTest, opening_zooms_from_the_centre_from_t_0) {
  EXPECT_STREQ(window_.AddButtons(0, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr),
               "No button is added");
  ASSERT_TRUE(window_.Open());
  EXPECT_FALSE(window_.Open());
  EXPECT_EQ(window_.GetTransition(), 1);
  struct Step {
    float seconds;
    RECT painted;
  } const steps[] = {
      // f = 1 - 5t; inset trunc((size x f + 1) / 2) on each side.
      {0.0f, {306 + 100, 348 + 41, 306 + 99, 348 + 40}},  // nothing yet
      {0.05f, {306 + 75, 348 + 31, 306 + 124, 348 + 50}},
      {0.05f, {306 + 50, 348 + 21, 306 + 149, 348 + 60}},
      {0.05f, {306 + 25, 348 + 10, 306 + 174, 348 + 71}},
  };
  for (const Step& step : steps) {
    RECT dirty;
    ASSERT_TRUE(Frame(step.seconds, &dirty)) << step.seconds;
    EXPECT_EQ(dirty.left, step.painted.left);
    EXPECT_EQ(dirty.top, step.painted.top);
    EXPECT_EQ(dirty.right, step.painted.right);
    EXPECT_EQ(dirty.bottom, step.painted.bottom);
  }
  SaveForPerson(back_buffer_.dc, "popup_opening");
  EXPECT_EQ(back_buffer_.At(306 + 30, 348 + 50), kPanel) << "no buttons during the zoom";
  RECT dirty;
  ASSERT_TRUE(Frame(0.05f, &dirty)) << "the draw after the opening ends paints everything";
  EXPECT_EQ(window_.GetTransition(), 0);
  EXPECT_EQ(dirty.left, 306);
  EXPECT_EQ(dirty.right, 306 + 199);
  EXPECT_EQ(back_buffer_.At(306 + 30, 348 + 50), kYes);
  SaveForPerson(back_buffer_.dc, "popup_open");
  EXPECT_FALSE(Frame(0.02f)) << "nothing changed";
}

TEST_F(PopUpTest, buttons_click_only_when_released_over_the_pressed_one) {
  ASSERT_TRUE(window_.Open());
  Frame(0.25f);
  Frame(0.0f);
  EXPECT_EQ(window_.HitTest(306 + 60, 348 + 60), 8);
  EXPECT_EQ(window_.HitTest(306 + 29, 348 + 60), -2) << "the button's left edge is the panel";
  EXPECT_EQ(window_.HitTest(306 + 5, 348 + 5), -2);
  EXPECT_EQ(window_.HitTest(300, 300), -1);
  EXPECT_EQ(window_.OnMouseDown(306 + 60, 348 + 60), 8);
  EXPECT_EQ(window_.OnMouseUp(306 + 120, 348 + 60), -1) << "released over the other button";
  EXPECT_EQ(window_.OnMouseDown(306 + 120, 348 + 60), 9);
  EXPECT_EQ(window_.OnMouseUp(306 + 121, 348 + 61), 9);
  EXPECT_EQ(window_.OnMouseUp(306 + 121, 348 + 61), -1);
}

TEST_F(PopUpTest, closing_soon_after_opening_continues_the_running_zoom) {
  ASSERT_TRUE(window_.Open());
  Frame(0.1f);
  ASSERT_TRUE(window_.Close());
  EXPECT_EQ(window_.GetTransition(), -1);
  RECT dirty;
  ASSERT_TRUE(Frame(0.0f, &dirty));
  EXPECT_EQ(dirty.left, 306 + 50) << "half open: f = 5 x 0.1";
  Frame(0.05f);
  EXPECT_EQ(window_.GetTransition(), -1);
  EXPECT_FALSE(Frame(0.05f)) << "closed: only erased";
  EXPECT_EQ(window_.GetTransition(), 0) << "ended 0.1 s after the close";
  EXPECT_EQ(back_buffer_.At(306 + 100, 348 + 41), kFelt) << "erased";
  RECT rect;
  EXPECT_FALSE(window_.GetRect(&rect));
}

}  // namespace
