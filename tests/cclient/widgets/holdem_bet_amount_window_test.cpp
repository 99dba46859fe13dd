#include "cclient/widgets/holdem_bet_amount_window.h"

#include <gtest/gtest.h>

#include <vector>

#include "platform/window/headless.h"
#include "platform/window/window_messages.h"
#include "tests/cclient/widgets/widget_test_support.h"
#include "tests/platform/draw/memory_picture.h"

namespace {

using platform::RECT;

constexpr int32_t kPanelX = 301;
constexpr int32_t kPanelY = 345;

// The Hold'em panel: pictures "4b00.b" (198 x 92), "4b10.b" (thumb 11 x 19), "4b21.b" and
// "4b31.b" (pressed arrows 22 x 22); three buttons from "4b01.b" (67 x 31); notches from 0 by
// 25, 500 by 500, 10000 by 1000, 20000 by 2500, 50000 by 5000, 100000 by 10000; at (301, 345).
// Mouse and character messages of a headless window go to the panel as a table sends them.
class BetWindowTest : public TableArtTest {
 protected:
  void SetUp() override {
    TableArtTest::SetUp();
    font_ = platform::CreateFont(13, 0, 0, 0, 700, 0, 0, 0, 0, 0, 0, 0, 2, "Arial");
    panel_.LoadImages("4b00.b", "4b10.b", "", "4b21.b", "", "4b31.b");
    const int32_t ids[] = {13, 14, 15};
    const int32_t xs[] = {29, 29, 103};
    const int32_t ys[] = {57, 57, 57};
    const RECT rects[] = {{0, 0, 66, 27}, {2, 0, 66, 28}, {0, 0, 66, 27}, {2, 0, 66, 28}, {0, 0, 66, 27}, {2, 0, 66, 28}};
    ASSERT_EQ(panel_.AddButtons(3, ids, xs, ys, "4b01.b", 67, 31, rects, font_), nullptr);
    HoldemBetAmountWindow::Layout layout{{29, 32, 169, 50}, {75, 11, 123, 25}, font_, 4, 28, 172, 28,
                                         {8, 11, 74, 25},   {124, 11, 190, 25}, font_};
    panel_.SetLayout(layout);
    const int32_t amounts[] = {0, 500, 10000, 20000, 50000, 100000};
    const int32_t steps[] = {25, 500, 1000, 2500, 5000, 10000};
    panel_.SetNotches(6, amounts, steps);
    panel_.SetPosition(kPanelX, kPanelY);
    panel_.SetEditRect(101, 245, 700, 494);
    panel_.SetButtonShowsAmount(13);
    panel_.SetButtonShowsAmount(14);
    panel_.SetAlwaysRedraw(false);
    window_ = std::make_unique<InputWindow>([this](platform::UINT message, platform::WPARAM wparam, int32_t x,
                                                   int32_t y) {
      switch (message) {
        case platform::WM_LBUTTONDOWN: (void)panel_.OnMouseDown(x, y); break;
        case platform::WM_LBUTTONUP: releases_.push_back(panel_.OnMouseUp(x, y)); break;
        case platform::WM_MOUSEMOVE: panel_.OnMouseMove(x, y); break;
        case platform::WM_CHAR: panel_.OnChar(static_cast<int32_t>(wparam)); break;
        default: break;
      }
    });
    background_.Fill(0x205020);
    back_buffer_.Fill(0x205020);
  }
  void TearDown() override {
    window_.reset();
    panel_.FreeResources();
    platform::DeleteObject(font_);
  }
  // Opens the panel on a range and runs past the opening zoom.
  void OpenOn(int32_t minimum, int32_t maximum, int32_t step, int32_t amount) {
    panel_.SetRange(minimum, maximum, step);
    panel_.EnableButton(13);
    panel_.EnableButton(15);
    ASSERT_TRUE(panel_.Open(amount));
    Frame(0.25);
    ASSERT_TRUE(panel_.IsOpen());
  }
  void Frame(double seconds) {
    RECT rect;
    panel_.Update(seconds, 0, 0);
    (void)panel_.Erase(back_buffer_.dc, background_.dc, &rect);
    if (panel_.NeedsRedraw()) panel_.Draw(back_buffer_.dc);
  }
  void Press(int32_t x, int32_t y) {
    platform::headless::InjectMouse(window_->hwnd(), platform::WM_LBUTTONDOWN, x, y);
    window_->Deliver();
  }
  void Release(int32_t x, int32_t y) {
    platform::headless::InjectMouse(window_->hwnd(), platform::WM_LBUTTONUP, x, y);
    window_->Deliver();
  }
  void Type(const char* text) {
    platform::headless::TypeText(text);
    window_->Deliver();
  }

  HoldemBetAmountWindow panel_;
  platform::HFONT font_ = nullptr;
  std::unique_ptr<InputWindow> window_;
  std::vector<int32_t> releases_;
  MemoryPicture background_{800, 560};
  MemoryPicture back_buffer_{800, 560};
};

TEST_F(BetWindowTest, typing_keeps_two_decimals_and_enter_sets_the_amount) {
  OpenOn(100, 5000, 25, 100);
  Type("12.345");
  EXPECT_STREQ(panel_.GetTypedText(), "12.34") << "the 5 is refused";
  Frame(0.02);
  SaveForPerson(back_buffer_.dc, "bet_window_typing");
  Type("\n");
  EXPECT_EQ(panel_.GetAmount(), 1234);
  EXPECT_TRUE(panel_.WasAmountInRange());
  EXPECT_STREQ(panel_.GetTypedText(), "");
  EXPECT_STREQ(panel_.GetButtonText(13), "$12.34");
  Type("07");
  EXPECT_STREQ(panel_.GetTypedText(), "7") << "a lone 0 is replaced";
  Type("\b\b.");
  EXPECT_STREQ(panel_.GetTypedText(), "") << "no '.' first";
}

TEST_F(BetWindowTest, enter_outside_the_range_clamps_and_clears_the_accepted_flag) {
  struct Case {
    const char* name;
    const char* typed;
    int32_t amount;
    bool accepted;
  } const cases[] = {
      {"above_the_maximum", "999.99\n", 50000, false},
      {"far_too_long_a_number", "9999999999999999999999\n", 50000, false},
      {"below_the_minimum", "0.5\n", 100, false},
      {"inside", "250\n", 25000, true},
      {"nothing_typed", "\n", 100, true},
  };
  for (const Case& c : cases) {
    OpenOn(100, 50000, 25, 100);
    Type(c.typed);
    EXPECT_EQ(panel_.GetAmount(), c.amount) << c.name;
    EXPECT_EQ(panel_.WasAmountInRange(), c.accepted) << c.name;
    ASSERT_TRUE(panel_.Close());
    Frame(0.25);
  }
}

TEST_F(BetWindowTest, minus_and_equals_step_by_the_range_step_only_with_nothing_typed) {
  OpenOn(100, 2000, 50, 500);
  Type("=");
  EXPECT_EQ(panel_.GetAmount(), 550);
  Type("--");
  EXPECT_EQ(panel_.GetAmount(), 450);
  Type("1-");
  EXPECT_EQ(panel_.GetAmount(), 450);
  EXPECT_STREQ(panel_.GetTypedText(), "1");
}

TEST_F(BetWindowTest, a_click_on_the_track_snaps_to_the_notch) {
  OpenOn(100, 2000, 25, 100);
  // The thumb's centre goes to the pointer: thumb x 94 is halfway along 29 .. 159, raw 1050.
  Press(kPanelX + 99, kPanelY + 40);
  EXPECT_EQ(panel_.GetAmount(), 1000);
  Release(kPanelX + 99, kPanelY + 40);
  EXPECT_EQ(releases_.back(), -2);
  EXPECT_EQ(panel_.GetThumbX(), 94) << "the thumb stays where it maps to the snapped amount";
  Type("=");
  EXPECT_EQ(panel_.GetThumbX(), 29 + 63) << "moved to the place of 1025: trunc(130 x 925 / 1900 + 0.5)";
  Frame(0.02);
  SaveForPerson(back_buffer_.dc, "bet_window_open");
}

TEST_F(BetWindowTest, arrows_step_along_the_notches) {
  struct Case {
    int32_t from;
    bool up;
    int32_t to;
  } const cases[] = {{500, false, 475}, {475, true, 500}, {500, true, 1000}, {10000, false, 9500},
                     {480, false, 475}, {100, false, 100}, {20000, true, 20000}, {19990, true, 20000}};
  for (const Case& c : cases) {
    OpenOn(100, 20000, 25, c.from);
    Press(c.up ? kPanelX + 180 : kPanelX + 10, kPanelY + 35);
    Release(c.up ? kPanelX + 180 : kPanelX + 10, kPanelY + 35);
    EXPECT_EQ(panel_.GetAmount(), c.to) << c.from << (c.up ? " up" : " down");
    ASSERT_TRUE(panel_.Close());
    Frame(0.25);
  }
}

TEST_F(BetWindowTest, a_held_arrow_repeats_after_0_2_s_and_then_every_0_03_s) {
  OpenOn(100, 2000, 25, 100);
  Press(kPanelX + 180, kPanelY + 35);
  EXPECT_EQ(panel_.GetAmount(), 125) << "one step at the press";
  std::vector<int32_t> amounts;
  for (int i = 0; i < 4; ++i) {
    Frame(0.1);
    amounts.push_back(panel_.GetAmount());
  }
  EXPECT_EQ(amounts, (std::vector<int32_t>{125, 150, 175, 200}));
  Frame(0.01);
  EXPECT_EQ(panel_.GetAmount(), 200) << "0.03 s have not passed";
  Frame(0.02);
  EXPECT_EQ(panel_.GetAmount(), 225);
  platform::headless::InjectMouse(window_->hwnd(), platform::WM_MOUSEMOVE, kPanelX + 100, kPanelY + 5);
  window_->Deliver();
  Frame(0.1);
  EXPECT_EQ(panel_.GetAmount(), 225) << "leaving the arrow releases it";
}

TEST_F(BetWindowTest, buttons_click_and_the_zoom_erases_on_closing) {
  OpenOn(100, 2000, 25, 800);
  EXPECT_STREQ(panel_.GetButtonText(13), "$8");
  Press(kPanelX + 29 + 30, kPanelY + 57 + 10);
  Release(kPanelX + 103 + 30, kPanelY + 57 + 10);
  EXPECT_EQ(releases_.back(), -2) << "released over another button";
  Press(kPanelX + 29 + 30, kPanelY + 57 + 10);
  Release(kPanelX + 29 + 31, kPanelY + 57 + 11);
  EXPECT_EQ(releases_.back(), 13);

  ASSERT_TRUE(panel_.Close());
  EXPECT_FALSE(panel_.Close());
  Frame(0.1);
  RECT rect;
  ASSERT_TRUE(panel_.GetRect(&rect));
  EXPECT_EQ(rect.right - rect.left + 1, 99) << "half the width halfway through the closing";
  SaveForPerson(back_buffer_.dc, "bet_window_closing");
  Frame(0.1);
  Frame(0.02);
  EXPECT_EQ(back_buffer_.At(kPanelX + 99, kPanelY + 46), 0x205020u) << "erased when closed";
}

}  // namespace
