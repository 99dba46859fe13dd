#include "cclient/widgets/slide_list.h"

#include <gtest/gtest.h>

#include "cclient/widgets/image_button.h"
#include "tests/cclient/widgets/widget_test_support.h"
#include "tests/platform/draw/memory_picture.h"

namespace {

using platform::RECT;

constexpr platform::COLORREF kFelt = 0x205020;
constexpr platform::COLORREF kNormal = platform::RGB(40, 90, 40);
constexpr platform::COLORREF kHover = platform::RGB(60, 140, 60);

int g_clicks = 0;
void CountClick() { ++g_clicks; }

// Pan's sit-in slide "bsitin.b" / "ositin.b" / "dsitin.b" (80 x 29) and Chinese Poker's undo-row
// slide (69 x 23, sliding across).
class SlideListTest : public TableArtTest {
 protected:
  void SetUp() override {
    TableArtTest::SetUp();
    g_clicks = 0;
    ImageButton_SetClickSound(CountClick);
    background_.Fill(kFelt);
    back_buffer_.Fill(kFelt);
  }
  void TearDown() override { ImageButton_SetClickSound(nullptr); }
  void Frame(float seconds, DirtyRectList* dirty = nullptr) {
    list_.Draw(back_buffer_.dc, seconds, background_.dc, false, dirty);
  }
  RECT Shown(int32_t index) {
    RECT r{};
    EXPECT_EQ(list_.GetSlideRect(index, &r), 0);
    return r;
  }

  SlideListClass list_;
  MemoryPicture background_{800, 560};
  MemoryPicture back_buffer_{800, 560};
};

TEST_F(SlideListTest, a_new_button_slides_out_across_in_half_a_second) {
  // Anchored at (201, 163): when shown it covers (132, 140) .. (200, 162).
  ASSERT_EQ(list_.AddSlide(7, 201, 163, 71, 23, "bundorow.b", "oundorow.b", "dundorow.b", true, false), nullptr);
  Frame(0.125f);
  Frame(0.125f);
  RECT r = Shown(0);
  EXPECT_EQ(r.right - r.left + 1, 36) << "71 - trunc(71 x 0.5)";
  EXPECT_EQ(r.right, 200);
  EXPECT_EQ(r.top, 140);
  SaveForPerson(back_buffer_.dc, "slide_half_out");
  Frame(0.125f);
  Frame(0.125f);
  r = Shown(0);
  EXPECT_EQ(r.left, 130);
  EXPECT_EQ(back_buffer_.At(131, 150), platform::RGB(40, 40, 110));
  Frame(0.125f);
  Frame(0.125f);
  EXPECT_EQ(list_.Slot(0)->RedrawState(), SlideButton::kIdle) << "settles once out";
}

TEST_F(SlideListTest, disabling_a_half_shown_button_slides_it_back_and_erases_it) {
  ASSERT_EQ(list_.AddSlide(17, 480, 544, 80, 29, "bsitin.b", "ositin.b", "dsitin.b", false, true), nullptr);
  Frame(0.25f);
  EXPECT_EQ(Shown(0).top, 544 - 15) << "29 - trunc(29 x 0.5) rows out";
  list_.DisableSlide(17);
  DirtyRectList dirty(20);
  Frame(0.125f, &dirty);
  ASSERT_GE(dirty.Count(), 1);
  EXPECT_EQ(dirty[0].top, 529) << "the rows it leaves are erased";
  EXPECT_EQ(dirty[0].bottom, 535);  // the next top: 544 - 29 + trunc(29 x 0.75)
  EXPECT_EQ(back_buffer_.At(440, 530), kFelt);
  EXPECT_EQ(back_buffer_.At(440, 540), kNormal);
  Frame(0.125f);
  Frame(0.125f);
  EXPECT_EQ(list_.Slot(0)->RedrawState(), SlideButton::kIdle);
  EXPECT_EQ(back_buffer_.At(440, 543), kFelt);
  dirty.Clear();
  Frame(0.125f, &dirty);
  EXPECT_EQ(dirty.Count(), 0) << "a hidden button reports nothing";
  EXPECT_EQ(list_.OnMouseDown(440, 540), -1);
  EXPECT_EQ(list_.OnMouseUp(440, 540), -1);
  EXPECT_EQ(g_clicks, 0);
}

TEST_F(SlideListTest, clicks_need_the_press_and_release_on_the_enabled_button) {
  ASSERT_EQ(list_.AddSlide(17, 480, 544, 80, 29, "bsitin.b", "ositin.b", "dsitin.b", false, true), nullptr);
  Frame(0.5f);
  struct Case {
    const char* name;
    bool drag_off;
    int32_t up_x;
    int32_t expected;
  } const cases[] = {
      {"press_and_release", false, 440, 17},
      {"drag_off_and_back", true, 440, -1},
      {"release_elsewhere", false, 300, -1},
  };
  for (const Case& c : cases) {
    g_clicks = 0;
    EXPECT_EQ(list_.OnMouseDown(440, 530), -1);
    if (c.drag_off) {
      EXPECT_EQ(list_.OnMouseMove(300, 530, true), -1);
      EXPECT_EQ(list_.OnMouseMove(440, 530, true), -1);
    }
    EXPECT_EQ(list_.OnMouseUp(c.up_x, 530), c.expected) << c.name;
    EXPECT_EQ(g_clicks, c.expected == -1 ? 0 : 1) << c.name;
  }
  list_.OnMouseMove(440, 530, false);
  Frame(0.02f);
  EXPECT_EQ(back_buffer_.At(402, 517), kHover);
}

TEST_F(SlideListTest, overlapping_buttons_in_one_column_merge_their_rectangles) {
  ASSERT_EQ(list_.AddSlide(1, 480, 544, 80, 29, "bsitin.b", nullptr, nullptr, false, true), nullptr);
  ASSERT_EQ(list_.AddSlide(2, 480, 530, 80, 29, "bsitin.b", nullptr, nullptr, false, true), nullptr);
  DirtyRectList dirty(20);
  list_.Draw(back_buffer_.dc, 0.5f, nullptr, true, &dirty);
  ASSERT_EQ(dirty.Count(), 2);
  EXPECT_EQ(dirty[0].top, 501) << "the first grew over the second";
  EXPECT_EQ(dirty[0].bottom, 543);
  EXPECT_EQ(dirty[1].top, 501);
  EXPECT_EQ(dirty[1].bottom, 529);

  RECT a{0, 10, 9, 19};
  EXPECT_FALSE(SlideListClass::MergeRects(&a, {0, 20, 9, 29})) << "adjacent rectangles stay apart";
  EXPECT_FALSE(SlideListClass::MergeRects(&a, {1, 12, 9, 29})) << "another column";
  EXPECT_TRUE(SlideListClass::MergeRects(&a, {0, 19, 9, 29}));
  EXPECT_EQ(a.bottom, 29);
}

TEST_F(SlideListTest, a_button_without_pictures_draws_a_rectangle_moved_while_pressed) {
  ASSERT_EQ(list_.AddSlide(3, 120, 60, 20, 10, nullptr, nullptr, nullptr, false, false), nullptr);
  platform::SelectObject(back_buffer_.dc, static_cast<platform::HBRUSH>(platform::GetStockObject(platform::WHITE_BRUSH)));
  platform::SelectObject(back_buffer_.dc, static_cast<platform::HPEN>(platform::GetStockObject(platform::BLACK_PEN)));
  Frame(0.02f);
  EXPECT_EQ(back_buffer_.At(100, 50), 0x000000u) << "the outline's corner";
  EXPECT_EQ(back_buffer_.At(105, 55), 0xFFFFFFu);
  EXPECT_EQ(list_.OnMouseDown(105, 55), -1);
  back_buffer_.Fill(kFelt);
  list_.Draw(back_buffer_.dc, 0.02f, nullptr, true, nullptr);
  EXPECT_EQ(back_buffer_.At(100, 50), kFelt);
  EXPECT_EQ(back_buffer_.At(102, 52), 0x000000u) << "moved 2 pixels right and down";
}

TEST_F(SlideListTest, the_33rd_button_is_refused_and_positions_are_checked) {
  for (int32_t i = 0; i < 32; ++i) {
    ASSERT_EQ(list_.AddSlide(i, 100, 100, 10, 10, nullptr, nullptr, nullptr, false, true), nullptr);
  }
  EXPECT_STREQ(list_.AddSlide(99, 100, 100, 10, 10, nullptr, nullptr, nullptr, false, true),
               "Maximum slides for slide list reached");
  EXPECT_EQ(list_.Count(), 32);
  RECT r;
  EXPECT_EQ(list_.GetSlideRect(-1, &r), -1);
  EXPECT_EQ(list_.GetSlideRect(32, &r), -1);
  EXPECT_EQ(list_.GetSlideRect(31, &r), 0);
  list_.Clear();
  EXPECT_EQ(list_.GetSlideRect(0, &r), -1);
}

}  // namespace
