#include "cclient/widgets/button_bar.h"

#include <gtest/gtest.h>

#include <cstring>

#include "tools/widget-gallery/table_art.h"
#include "tests/cclient/widgets/widget_test_support.h"
#include "tests/platform/draw/memory_picture.h"

namespace {

using platform::RECT;

constexpr platform::COLORREF kFelt = 0x205020;
constexpr platform::COLORREF kNormal = platform::RGB(40, 90, 40);
constexpr platform::COLORREF kHover = platform::RGB(60, 140, 60);
constexpr platform::COLORREF kPressed = platform::RGB(20, 50, 20);

// The Hold'em bar's fold (28), check (16) and bet (17) buttons, shown at (0, 450), hidden at
// (0, 479), on a back buffer of the table's size.
class ButtonBarTest : public TableArtTest {
 protected:
  void SetUp() override {
    TableArtTest::SetUp();
    const int32_t ids[] = {28, 16, 17};
    const int32_t xs[] = {158, 237, 338};
    const int32_t ys[] = {0, 0, 0};
    const char* files[] = {"4040.b", "4031.b", "4011.b"};
    RECT rects[9];
    for (int i = 0; i < 9; ++i) rects[i] = {0, 0, 99, 28};
    font_ = platform::CreateFont(14, 0, 0, 0, 700, 0, 0, 0, 0, 0, 0, 0, 2, "Arial");
    const uint32_t formats[] = {41, 41, 41};
    ASSERT_EQ(bar_.AddLabelledButtons(3, ids, xs, ys, files, rects, font_, formats), nullptr);
    bar_.SetShownPosition(0, 450);
    bar_.SetHiddenPosition(0, 479);
    bar_.SetAlwaysRedraw(false);
    background_.Fill(kFelt);
    back_buffer_.Fill(kFelt);
  }
  void TearDown() override {
    bar_.Free();
    platform::DeleteObject(font_);
  }
  void Frame(float seconds, int32_t mouse_x = 0, int32_t mouse_y = 0) {
    RECT erased;
    bar_.Update(seconds, mouse_x, mouse_y);
    (void)bar_.EraseUncovered(back_buffer_.dc, background_.dc, &erased);
    bar_.Draw(back_buffer_.dc);
  }

  ButtonBar bar_;
  platform::HFONT font_ = nullptr;
  MemoryPicture background_{800, 560};
  MemoryPicture back_buffer_{800, 560};
};

TEST_F(ButtonBarTest, empty_bar_and_no_shown_button_refuse) {
  ButtonBar empty;
  EXPECT_STREQ(empty.AddButtons(0, nullptr, nullptr, nullptr, nullptr), "No button is added");
  EXPECT_FALSE(bar_.Slide(false, 0.1f)) << "no button shown";
  EXPECT_EQ(bar_.GetY(), 479);
  EXPECT_FALSE(bar_.ShowButton(99));
  EXPECT_FALSE(bar_.SetButtonText(99, "x"));
}

TEST_F(ButtonBarTest, slides_in_halfway_painting_only_rows_above_the_hidden_edge) {
  ASSERT_TRUE(bar_.ShowButton(28));
  ASSERT_TRUE(bar_.ShowButton(17));
  ASSERT_TRUE(bar_.SetButtonText(17, "Bet\n$25"));
  ASSERT_TRUE(bar_.Slide(false, 0.1f));
  EXPECT_EQ(bar_.GetSlideState(), 1);
  EXPECT_FALSE(bar_.Slide(false, 0.1f)) << "already sliding";
  Frame(0.05f);
  EXPECT_EQ(bar_.GetY(), 464);  // 450 + trunc(29 x 0.05 / 0.1)
  EXPECT_EQ(back_buffer_.At(160, 478), kNormal);
  EXPECT_EQ(back_buffer_.At(160, 479), kFelt) << "nothing at or below the hidden y";
  EXPECT_EQ(back_buffer_.At(160, 463), kFelt);
  EXPECT_EQ(back_buffer_.At(240, 470), kFelt) << "check is not shown";
  RECT drawn;
  ASSERT_TRUE(bar_.GetDrawnRect(&drawn));
  EXPECT_EQ(drawn.left, 158);
  EXPECT_EQ(drawn.right, 338 + 108 - 1);
  SaveForPerson(back_buffer_.dc, "action_bar_half_shown");

  Frame(0.05f, 200, 460);
  EXPECT_EQ(bar_.GetSlideState(), 0);
  EXPECT_TRUE(bar_.IsFullyShown());
  EXPECT_EQ(back_buffer_.At(160, 452), kHover) << "the button under the pointer shows its hover cell at once";
  SaveForPerson(back_buffer_.dc, "action_bar_shown");
}

TEST_F(ButtonBarTest, clicks_need_press_and_release_on_the_same_button) {
  ASSERT_TRUE(bar_.ShowButton(28));
  ASSERT_TRUE(bar_.ShowButton(16));
  ASSERT_TRUE(bar_.Slide(false, 0.0f));
  EXPECT_EQ(bar_.HitTest(158, 460), -1) << "the left edge does not hit";
  EXPECT_EQ(bar_.HitTest(170, 450), -1) << "the top edge does not hit";
  EXPECT_EQ(bar_.HitTest(159, 451), 28);
  EXPECT_EQ(bar_.OnMouseDown(170, 460), 28);
  Frame(0.01f, 170, 460);
  EXPECT_EQ(back_buffer_.At(160, 452), kPressed);
  EXPECT_EQ(bar_.OnMouseUp(250, 460), -1) << "released over another button";
  EXPECT_EQ(bar_.OnMouseDown(170, 460), 28);
  EXPECT_EQ(bar_.OnMouseUp(171, 461), 28);
  EXPECT_EQ(bar_.OnMouseUp(171, 461), -1) << "no press any more";
}

TEST_F(ButtonBarTest, hide_at_once_erases_the_former_area_and_hides_every_button) {
  ASSERT_TRUE(bar_.ShowButton(28));
  ASSERT_TRUE(bar_.Slide(false, 0.0f));
  Frame(0.01f);
  EXPECT_EQ(back_buffer_.At(160, 452), kNormal);
  ASSERT_TRUE(bar_.Slide(true, 0.0f));
  EXPECT_EQ(bar_.GetY(), 479);
  EXPECT_TRUE(bar_.NoButtonShown());
  RECT erased;
  ASSERT_TRUE(bar_.EraseUncovered(back_buffer_.dc, background_.dc, &erased));
  EXPECT_EQ(erased.top, 450);
  EXPECT_EQ(erased.bottom, 478);
  EXPECT_EQ(erased.left, 158);
  EXPECT_EQ(back_buffer_.At(160, 452), kFelt);
  EXPECT_FALSE(bar_.Slide(true, 0.1f)) << "already hidden";
}

TEST_F(ButtonBarTest, sliding_out_erases_the_rows_it_leaves) {
  ASSERT_TRUE(bar_.ShowButton(28));
  ASSERT_TRUE(bar_.Slide(false, 0.0f));
  Frame(0.01f);
  ASSERT_TRUE(bar_.Slide(true, 0.1f));
  EXPECT_EQ(bar_.HitTest(170, 460), -1) << "no clicks while sliding";
  Frame(0.05f);
  EXPECT_EQ(bar_.GetY(), 465);  // 479 + trunc(-29 x 0.05 / 0.1), toward zero
  EXPECT_EQ(back_buffer_.At(160, 455), kFelt) << "rows above the bar restored";
  EXPECT_EQ(back_buffer_.At(160, 470), kNormal);
  SaveForPerson(back_buffer_.dc, "action_bar_sliding_out");
  Frame(0.05f);
  Frame(0.01f);
  EXPECT_EQ(bar_.GetY(), 479);
  EXPECT_EQ(back_buffer_.At(160, 470), kFelt);
  EXPECT_FALSE(bar_.IsButtonShown(28));
}

TEST_F(ButtonBarTest, labels_keep_their_first_line_and_drop_line_breaks) {
  ASSERT_TRUE(bar_.SetButtonText(17, "Raise\r\n$1,000"));
  EXPECT_STREQ(bar_.GetButtonText(17), "Raise$1,000");
  ASSERT_TRUE(bar_.SetButtonText(16, "A label far longer than the twenty-nine characters"));
  EXPECT_EQ(std::strlen(bar_.GetButtonText(16)), 29u);
  ButtonBar plain;
  const int32_t id = 1, x = 0, y = 0;
  const char* file = "4040.b";
  ASSERT_EQ(plain.AddButtons(1, &id, &x, &y, &file), nullptr);
  EXPECT_FALSE(plain.SetButtonText(1, "x")) << "an unlabelled bar";
}

}  // namespace
