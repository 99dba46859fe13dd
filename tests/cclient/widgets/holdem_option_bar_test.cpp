#include "cclient/widgets/holdem_option_bar.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "platform/window/headless.h"
#include "platform/window/window_messages.h"
#include "tools/widget-gallery/table_art.h"
#include "tests/cclient/widgets/widget_test_support.h"
#include "tests/platform/draw/memory_picture.h"

namespace {

using platform::RECT;

constexpr platform::COLORREF kBarBackground = platform::RGB(30, 50, 30);
constexpr platform::COLORREF kOptionNormal = platform::RGB(50, 60, 50);
constexpr platform::COLORREF kOptionSelected = platform::RGB(70, 100, 70);

TEST(OptionBarAmounts, amounts_read_from_labels) {
  struct Case {
    const char* label;
    int32_t cents;
  } const cases[] = {
      {"Call 50c", 50},           {"Call $1.15", 115},    {"Call $.50", 50},         {"Raise to $12", 1200},
      {"Check/Fold", 0},          {"Call c", 0},          {"c", 0},                  {"", 0},
      {"Call $1.155", 115},       {"Bet $", 0},           {"Call $99999999999", 2147483647},
      {"Call 99999999999c", 2147483647},
  };
  for (const Case& c : cases) EXPECT_EQ(HoldemOptionBar::ParseOptionAmount(c.label), c.cents) << c.label;
}

// The Hold'em bar of a no-limit table: background "4301.b" (480 x 38), four options from the
// sheet "4303.b" (entries of 120 x 19), shown at (143, 479), hidden at (143, 517).
class OptionBarTest : public TableArtTest {
 protected:
  void SetUp() override {
    TableArtTest::SetUp();
    font_ = platform::CreateFont(13, 0, 0, 0, 500, 0, 0, 0, 0, 0, 0, 0, 2, "Arial");
    ASSERT_EQ(bar_.LoadBackground("4301.b", false, 0xFFFFFF), nullptr);
    EXPECT_STREQ(bar_.LoadBackground("4301.b", false, 0xFFFFFF), "already loaded before");
    const int32_t ids[] = {42, 44, 51, 49};
    const int32_t xs[] = {0, 120, 240, 360};
    const int32_t ys[] = {0, 0, 19, 19};
    int32_t sizes[16];
    for (int i = 0; i < 8; ++i) {
      sizes[2 * i] = 120;
      sizes[2 * i + 1] = 19;
    }
    ASSERT_EQ(bar_.AddButtons(4, ids, xs, ys, nullptr, "4303.b", sizes, nullptr, font_, nullptr), nullptr);
    bar_.SetShownPosition(143, 479);
    bar_.SetHiddenPosition(143, 517);
    bar_.SetAlwaysRedraw(false);
    ASSERT_TRUE(bar_.SetOptionText(42, "Fold"));
    ASSERT_TRUE(bar_.SetOptionText(44, "Check/Fold"));
    ASSERT_TRUE(bar_.SetOptionText(51, "Call $1.15"));
    ASSERT_TRUE(bar_.SetOptionText(49, "Raise to $12"));
    back_buffer_.Fill(0x205020);
  }
  void TearDown() override {
    bar_.Free();
    platform::DeleteObject(font_);
  }
  void Frame(float seconds) {
    bar_.Update(seconds, 0, 0);
    bar_.Draw(back_buffer_.dc);
  }

  HoldemOptionBar bar_;
  platform::HFONT font_ = nullptr;
  MemoryPicture back_buffer_{800, 560};
};

TEST_F(OptionBarTest, a_bar_without_background_or_enabled_options_is_not_shown) {
  HoldemOptionBar empty;
  const int32_t id = 1, x = 0, y = 0, size[2] = {120, 19};
  ASSERT_EQ(empty.AddButtons(1, &id, &x, &y, nullptr, "4303.b", size, nullptr, nullptr, nullptr), nullptr);
  empty.SetShownPosition(0, 0);
  empty.SetHiddenPosition(0, 40);
  empty.DisableAllOptions();
  EXPECT_FALSE(empty.Slide(false, 0.0f));
  ASSERT_TRUE(empty.EnableOption(1));
  EXPECT_TRUE(empty.Slide(false, 0.0f));
  EXPECT_STREQ(empty.AddButtons(0, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr),
               "No button is added");
}

TEST_F(OptionBarTest, slides_in_unfolds_and_selects_with_clicks) {
  InputWindow window([&](platform::UINT message, platform::WPARAM, int32_t x, int32_t y) {
    if (message == platform::WM_LBUTTONDOWN) (void)bar_.OnClick(x, y);
  });
  ASSERT_TRUE(bar_.Slide(false, 0.1f));
  EXPECT_FALSE(bar_.Slide(false, 0.1f)) << "a slide runs";
  Frame(0.05f);
  EXPECT_EQ(bar_.GetY(), 498);  // 479 + trunc(38 x 0.5)
  EXPECT_EQ(back_buffer_.At(150, 510), kBarBackground);
  EXPECT_EQ(back_buffer_.At(150, 517), 0x205020u) << "nothing at or below the hidden y";
  Frame(0.05f);
  EXPECT_EQ(bar_.GetY(), 479);
  bar_.UnfoldOptions(0.1f);
  Frame(0.05f);
  // Halfway the band is open 19 rows around the middle: rows 479 + 9 .. 479 + 28.
  EXPECT_EQ(back_buffer_.At(150, 481), kBarBackground);
  EXPECT_EQ(back_buffer_.At(253, 490), kOptionNormal);
  SaveForPerson(back_buffer_.dc, "option_bar_unfolding");
  Frame(0.05f);
  Frame(0.01f);
  EXPECT_EQ(back_buffer_.At(150, 481), kOptionNormal);

  platform::headless::InjectClick(window.hwnd(), 150 + 240, 479 + 25);
  window.Deliver();
  EXPECT_EQ(bar_.GetSelectedOption(), 51);
  EXPECT_EQ(bar_.GetOptionAmount(51), 115);
  EXPECT_TRUE(bar_.IsSelectionCountdownRunning());
  Frame(0.01f);
  EXPECT_EQ(back_buffer_.At(143 + 240 + 20, 479 + 19 + 1), kOptionSelected);
  SaveForPerson(back_buffer_.dc, "option_bar_selected");
  Frame(0.5f);
  EXPECT_FALSE(bar_.IsSelectionCountdownRunning());

  // The same text keeps the selection; a new one clears it.
  ASSERT_TRUE(bar_.SetOptionText(51, "Call $1.15"));
  EXPECT_EQ(bar_.GetSelectedOption(), 51);
  ASSERT_TRUE(bar_.SetOptionText(51, "Call $2.30"));
  EXPECT_EQ(bar_.GetSelectedOption(), -1);

  platform::headless::InjectClick(window.hwnd(), 150, 485);
  window.Deliver();
  EXPECT_EQ(bar_.GetSelectedOption(), 42);
  platform::headless::InjectClick(window.hwnd(), 151, 486);
  window.Deliver();
  EXPECT_EQ(bar_.GetSelectedOption(), -1) << "selecting the selected option again clears it";
}

TEST_F(OptionBarTest, sliding_out_disables_every_option) {
  ASSERT_TRUE(bar_.Slide(false, -1.0f));
  Frame(0.01f);
  EXPECT_EQ(bar_.GetY(), 479);
  RECT shown;
  ASSERT_TRUE(bar_.GetShownRect(&shown));
  EXPECT_EQ(shown.left, 143);
  EXPECT_EQ(shown.bottom, 479 + 37);
  ASSERT_TRUE(bar_.Slide(true, 0.1f));
  EXPECT_EQ(bar_.HitTest(150, 485), -1);
  Frame(0.1f);
  EXPECT_EQ(bar_.GetY(), 517);
  EXPECT_TRUE(bar_.NoOptionEnabled());
  EXPECT_FALSE(bar_.Slide(true, 0.1f));
}

// A label that does not fit beside the check box at an option's left (as wide as the option is
// high) is drawn in a smaller size, centred clear of the box; a short label keeps the bar's font.
class OptionBarLabelTest : public TableArtTest {};

TEST_F(OptionBarLabelTest, a_label_too_wide_for_its_option_is_drawn_smaller_clear_of_the_check_box) {
  const platform::HFONT font = platform::CreateFont(14, 0, 0, 0, 700, 0, 0, 0, 0, 0, 0, 0, 2, "Arial");
  struct Case {
    const char* label;
  } const cases[] = {{"Check/Fold"}, {"Raise To $1,234"}, {"Fold"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    HoldemOptionBar bar;
    const int32_t id = 44, x = 0, y = 0, size[2] = {84, 14};
    ASSERT_EQ(bar.LoadBackground("4301.b", false, 0xFFFFFF), nullptr);
    ASSERT_EQ(bar.AddButtons(1, &id, &x, &y, nullptr, "4303.b", size, nullptr, font, nullptr), nullptr);
    bar.SetShownPosition(0, 0);
    bar.SetHiddenPosition(0, 40);
    bar.SetAlwaysRedraw(true);
    MemoryPicture plain(200, 60), labelled(200, 60);
    ASSERT_TRUE(bar.Slide(false, 0.0f));
    bar.UnfoldOptions(0.0f);
    for (MemoryPicture* picture : {&plain, &labelled}) {
      ASSERT_TRUE(bar.SetOptionText(id, picture == &plain ? "" : c.label));
      for (int i = 0; i < 3; ++i) {
        bar.Update(0.05f, 500, 500);
        bar.Draw(picture->dc);
      }
    }
    int32_t first = -1, last = -1;
    for (int32_t row = 0; row < 14; ++row) {
      for (int32_t column = 0; column < 84; ++column) {
        if (plain.At(column, row) == labelled.At(column, row)) continue;
        if (first < 0 || column < first) first = column;
        last = std::max(last, column);
      }
    }
    ASSERT_GE(first, 0) << "no label drawn";
    EXPECT_GE(first, 14) << "over the check box";
    EXPECT_LE(last, 84 - 14);
  }
  platform::DeleteObject(font);
}

}  // namespace
