#include "cclient/widgets/chat_box.h"

#include <gtest/gtest.h>

#include <string>

#include "platform/text/text.h"
#include "tests/platform/draw/memory_picture.h"

namespace {

// The table's box: 231 x 109 at (538, 381), nine lines.
constexpr int32_t kX = 538;
constexpr int32_t kY = 381;
constexpr int32_t kWidth = 231;
constexpr int32_t kHeight = 109;

class ChatBoxTest : public ::testing::Test {
 protected:
  ChatBoxTest() : picture_(800, 560) {
    font_ = platform::CreateFont(-12, 0, 0, 0, 400, 0, 0, 0, 0, 0, 0, 0, 0, "Arial");
    old_font_ = platform::SelectObject(picture_.dc, font_);
  }
  ~ChatBoxTest() override {
    platform::SelectObject(picture_.dc, old_font_);
    platform::DeleteObject(font_);
  }
  int32_t Extent(const std::string& text) {
    platform::SIZE size{};
    EXPECT_TRUE(platform::GetTextExtentPoint32(picture_.dc, text.c_str(), static_cast<int32_t>(text.size()), &size));
    return size.cx;
  }

  MemoryPicture picture_;
  platform::HFONT font_ = nullptr;
  platform::HFONT old_font_ = nullptr;
};

TEST_F(ChatBoxTest, lines_wrap_at_the_box_width_in_the_given_font) {
  const int32_t both = Extent("aaa bbb");
  struct Case {
    const char* name;
    int32_t width;
    std::vector<std::string> newest_first;
  } const cases[] = {
      {"narrower_than_the_box", both + 1, {"aaa bbb"}},
      {"as_wide_as_the_box", both, {"bbb", "aaa"}},
      {"wider_than_the_box", both - 1, {"bbb", "aaa"}},
  };
  for (const Case& c : cases) {
    ChatBox box(0, 0, c.width, kHeight);
    box.AddLine(picture_.dc, "aaa bbb", 0x80FFFF);
    ASSERT_EQ(box.LinesWritten(), static_cast<int32_t>(c.newest_first.size())) << c.name;
    for (size_t i = 0; i < c.newest_first.size(); ++i) {
      EXPECT_EQ(box.LineFromNewest(static_cast<int32_t>(i)), c.newest_first[i]) << c.name;
      EXPECT_EQ(box.ColourFromNewest(static_cast<int32_t>(i)), 0x80FFFFu) << c.name;
    }
  }
}

TEST_F(ChatBoxTest, a_long_sentence_wraps_into_lines_that_each_fit) {
  ChatBox box(kX, kY, kWidth, kHeight);
  const std::string text =
      "All seats at this table are occupied.  Click 'Join Waiting List' to be added to the waiting list for "
      "this table.";
  box.AddLine(picture_.dc, text.c_str(), 0xFFFFFF);
  ASSERT_GT(box.LinesWritten(), 1);
  std::string joined;
  for (int32_t back = box.LinesWritten() - 1; back >= 0; --back) {
    const std::string line = box.LineFromNewest(back);
    EXPECT_LT(Extent(line), kWidth) << line;
    EXPECT_LE(line.size(), 59u);
    joined += joined.empty() ? line : " " + line;
  }
  EXPECT_EQ(joined, text);
}

TEST_F(ChatBoxTest, a_word_wider_than_the_box_gets_a_line_of_its_own_cut_to_the_slot) {
  ChatBox box(kX, kY, 40, kHeight);
  const std::string word(80, 'w');
  box.AddLine(picture_.dc, ("ab " + word + " cd").c_str(), 0xFFFFFF);
  ASSERT_EQ(box.LinesWritten(), 3);
  EXPECT_STREQ(box.LineFromNewest(2), "ab");
  EXPECT_EQ(std::string(box.LineFromNewest(1)), std::string(59, 'w'));
  EXPECT_STREQ(box.LineFromNewest(0), "cd");
}

TEST_F(ChatBoxTest, the_ring_keeps_the_newest_hundred_lines) {
  ChatBox box(kX, kY, kWidth, kHeight);
  EXPECT_STREQ(box.LineFromNewest(0), "");  // nothing written: no slot is read
  for (int i = 1; i <= 101; ++i) box.AddLine(picture_.dc, ("line " + std::to_string(i)).c_str(), 0xFFFFFF);
  EXPECT_EQ(box.LinesWritten(), 101);
  EXPECT_EQ(box.LinesAdded(), 101);
  EXPECT_STREQ(box.LineFromNewest(0), "line 101");
  EXPECT_STREQ(box.LineFromNewest(99), "line 2");
  EXPECT_STREQ(box.LineFromNewest(100), "");
}

TEST_F(ChatBoxTest, scrolling_stays_within_the_ring_and_holds_the_view) {
  ChatBox box(kX, kY, kWidth, kHeight);
  EXPECT_EQ(box.VisibleLines(), 9);
  box.Scroll(-200);
  EXPECT_EQ(box.ScrollBack(), 91);
  box.Scroll(88);
  EXPECT_EQ(box.ScrollBack(), 3);
  box.Scroll(5);
  EXPECT_EQ(box.ScrollBack(), 0);

  box.Scroll(-4);
  box.AddLine(picture_.dc, "held", 0xFFFFFF);  // within the 3 s hold: the view stays back
  EXPECT_EQ(box.ScrollBack(), 4);
  box.Draw(picture_.dc, 3.5f, nullptr, nullptr, nullptr, 0);
  box.AddLine(picture_.dc, "released", 0xFFFFFF);
  EXPECT_EQ(box.ScrollBack(), 0);
}

TEST_F(ChatBoxTest, the_scroll_track_answers_only_beside_the_box) {
  struct Case {
    const char* name;
    int32_t x;
    int32_t y;
    int result;
    int32_t scroll_back;
  } const cases[] = {
      {"fourteen_right_at_the_top", kX + kWidth + 14, kY + 13, 0, (83 * 91) / 83},
      {"at_the_edge_near_the_bottom", kX + kWidth, kY + kHeight - 14, 0, (1 * 91) / 83},
      {"sixteen_right", kX + kWidth + 16, kY + 40, 1, 0},
      {"inside_the_box", kX + kWidth - 1, kY + 40, 1, 0},
      {"above_the_track", kX + kWidth + 5, kY + 12, 1, 0},
  };
  for (const Case& c : cases) {
    ChatBox box(kX, kY, kWidth, kHeight);
    EXPECT_EQ(box.ScrollBarClick(c.x, c.y), c.result) << c.name;
    EXPECT_EQ(box.ScrollBack(), c.scroll_back) << c.name;
    EXPECT_EQ(box.IsDragging(), c.result == 0) << c.name;
  }
}

TEST_F(ChatBoxTest, a_drag_follows_the_pointer_until_the_button_is_released) {
  ChatBox box(kX, kY, kWidth, kHeight);
  EXPECT_EQ(box.ScrollBarDrag(kX + kWidth, kY, true), 1);  // no drag yet
  ASSERT_EQ(box.ScrollBarClick(kX + kWidth + 5, kY + 60), 0);
  EXPECT_EQ(box.ScrollBarDrag(kX + kWidth + 5, kY + 2, true), 0);
  EXPECT_EQ(box.ScrollBack(), 91);
  EXPECT_EQ(box.ScrollBarDrag(kX + kWidth + 60, kY + 50, true), 1);  // too far right: ignored
  EXPECT_EQ(box.ScrollBack(), 91);
  EXPECT_EQ(box.ScrollBarDrag(kX + kWidth - 10, kY + kHeight, true), 0);
  EXPECT_EQ(box.ScrollBack(), 0);
  EXPECT_EQ(box.ScrollBarDrag(kX + kWidth, kY + 50, false), 0);
  EXPECT_FALSE(box.IsDragging());
}

TEST_F(ChatBoxTest, lines_are_drawn_bottom_up_in_their_colours_with_the_thumb_beside_them) {
  MemoryPicture background(800, 560);
  background.Fill(0x204020);
  platform::BitBlt(picture_.dc, 0, 0, 800, 560, background.dc, 0, 0, platform::SRCCOPY);
  ChatBox box(kX, kY, kWidth, kHeight);
  box.AddLine(picture_.dc, "WWWW dealer", 0x80FFFF);
  box.AddLine(picture_.dc, "WWWW player", 0xFFFF80);
  platform::RECT rects[4];
  int32_t count = 0;
  box.Draw(picture_.dc, 0.02f, background.dc, rects, &count, 4);
  EXPECT_FALSE(box.IsDirty());
  ASSERT_EQ(count, 1);
  EXPECT_EQ(rects[0].left, 536);
  EXPECT_EQ(rects[0].bottom, 490);

  auto has_colour = [&](int32_t top, int32_t bottom, platform::COLORREF colour) {
    for (int32_t y = top; y < bottom; ++y) {
      for (int32_t x = kX; x < kX + 60; ++x) {
        if (picture_.At(x, y) == colour) return true;
      }
    }
    return false;
  };
  // The newest line sits at the bottom, the older one 11 pixels above it.
  const int32_t newest_top = kY + kHeight - 1 - 14;
  EXPECT_TRUE(has_colour(newest_top, newest_top + 14, 0xFFFF80));
  EXPECT_FALSE(has_colour(newest_top, newest_top + 14, 0x80FFFF));
  EXPECT_TRUE(has_colour(newest_top - 11, newest_top + 3, 0x80FFFF));
  // The thumb stands at the bottom of its track: dark edge right, grey inside.
  const int32_t thumb_top = kY + (kHeight - 42) + 13;
  EXPECT_EQ(picture_.At(kX + kWidth + 11, thumb_top + 5), 0x404040u);
  EXPECT_EQ(picture_.At(kX + kWidth + 5, thumb_top + 5), 0x808080u);
}

TEST(ChatInputLineTest, typing_keeps_at_most_59_characters_without_the_sender_mark) {
  ChatInputLine line(550, 501, 225, 15);
  line.AddChar(8);
  EXPECT_EQ(line.GetLength(), 0);
  line.AddChar('h');
  line.AddChar('>');
  line.AddChar('i');
  EXPECT_STREQ(line.GetText(), "hi");
  line.AddChar(8);
  EXPECT_STREQ(line.GetText(), "h");
  for (int i = 0; i < 70; ++i) line.AddChar('x');
  EXPECT_EQ(line.GetLength(), 59);
  line.Clear();
  EXPECT_STREQ(line.GetText(), "");
  EXPECT_EQ(line.GetRect().right, 775);
}

}  // namespace
