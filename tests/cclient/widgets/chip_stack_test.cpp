#include "cclient/widgets/chip_stack.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "platform/window/headless.h"
#include "platform/window/message_queue.h"
#include "platform/window/window.h"
#include "tools/widget-gallery/table_art.h"
#include "tests/cclient/widgets/widget_test_support.h"
#include "tests/platform/draw/memory_picture.h"

namespace {

using platform::RECT;

// The chip count of each value in the stack's layout, the marker under value 0.
std::map<int32_t, int32_t> CountsByValue(const ChipStack& stack) {
  std::map<int32_t, int32_t> counts;
  for (int32_t kind = 0; kind < 14; ++kind) {
    if (stack.GetKindCount(kind) > 0) counts[stack.GetKindValue(kind)] = stack.GetKindCount(kind);
  }
  if (stack.GetKindCount(14) > 0) counts[0] = stack.GetKindCount(14);
  return counts;
}

class ChipStackTest : public TableArtTest {
 protected:
  void SetUp() override {
    TableArtTest::SetUp();
    chips_ = std::make_unique<TableChipSet>();
  }
  std::unique_ptr<TableChipSet> chips_;
};

TEST_F(ChipStackTest, breakdowns_and_labels_for_a_table_of_amounts) {
  struct Case {
    const char* name;
    int32_t cents;
    bool single_pile;
    std::map<int32_t, int32_t> counts;  // value -> chips; 0 the marker
    const char* label;
  } const cases[] = {
      {"five_cents_is_only_the_marker", 5, false, {{0, 1}}, "$.05"},
      {"thirty_cents_shows_the_marker_for_the_remainder", 30, false, {{25, 1}, {0, 1}}, "$.30"},
      {"whole_dollars", 500, false, {{500, 1}}, "$5"},
      {"dollars_and_cents", 1234, false, {{1000, 1}, {100, 2}, {25, 1}, {0, 1}}, "$12.34"},
      {"kind_order_piles", 12575, false, {{10000, 1}, {2500, 1}, {25, 3}}, "$125.75"},
      {"single_pile_cut_to_nine_with_the_marker", 9875, true, {{2500, 3}, {1000, 2}, {100, 3}, {0, 1}}, "$98.75"},
  };
  for (const Case& c : cases) {
    ChipStack stack;
    chips_->SetUpStack(&stack);
    stack.SetPileMode(c.single_pile, !c.single_pile);
    ASSERT_TRUE(stack.SetAmount(c.cents)) << c.name;
    EXPECT_EQ(CountsByValue(stack), c.counts) << c.name;
    EXPECT_STREQ(stack.GetLabelText(), c.label) << c.name;
  }
}

TEST_F(ChipStackTest, more_kinds_than_piles_draw_the_largest_piles_and_the_marker) {
  // 123456789 cents takes 11 kinds; by count the 4 x 100000 pile comes first.
  ChipStack stack;
  chips_->SetUpStack(&stack);
  stack.SetPileMode(false, false);
  ASSERT_TRUE(stack.SetAmount(123456789));
  EXPECT_EQ(stack.GetPileCount(), 9);
  EXPECT_EQ(stack.GetKindCount(14), 1) << "the marker stands for the piles left out";
  EXPECT_STREQ(stack.GetLabelText(), "$1234567.89");
}

TEST_F(ChipStackTest, remainder_chip_without_a_marker_adds_the_smallest_kind) {
  // The set without its marker cell.
  ChipStack stack;
  stack.Init(14, chips_->Images() + 1, 0, 0, nullptr, 9, 9);
  stack.EnableRemainderChip();
  ASSERT_TRUE(stack.SetAmount(30));
  EXPECT_EQ(CountsByValue(stack), (std::map<int32_t, int32_t>{{25, 2}}));
}

TEST_F(ChipStackTest, split_amount_spreads_by_kind_into_parts) {
  ChipStack stack;
  chips_->SetUpStack(&stack);
  int32_t parts[4] = {-1, -1, -1, -1};
  EXPECT_EQ(stack.SplitAmount(12575, 4, parts), 3);
  EXPECT_EQ(parts[0], 10000);
  EXPECT_EQ(parts[1], 2500);
  EXPECT_EQ(parts[2], 75);
  EXPECT_EQ(parts[3], 0);
  // More kinds than parts: the rest lands on the last part; a remainder below the smallest chip
  // too.
  EXPECT_EQ(stack.SplitAmount(111130, 4, parts), 4);
  EXPECT_EQ(parts[0], 100000);
  EXPECT_EQ(parts[1], 10000);
  EXPECT_EQ(parts[2], 1000);
  EXPECT_EQ(parts[3], 130);
}

class ChipMoveTest : public ChipStackTest {
 protected:
  void SetUp() override {
    ChipStackTest::SetUp();
    platform::headless::Reset();
    platform::WNDCLASS window_class;
    window_class.lpfnWndProc = platform::DefWindowProc;
    window_class.lpszClassName = "ChipStackTestWindow";
    (void)platform::RegisterClass(&window_class);
    window_ = platform::CreateWindow("ChipStackTestWindow", "table", 0, 0, 0, 200, 100, nullptr, nullptr, nullptr,
                                     nullptr);
    ASSERT_NE(window_, nullptr);
    chips_->SetUpStack(&stack_);
    stack_.SetPosition(100, 300);
    ASSERT_TRUE(stack_.SetAmount(2500));
  }
  void TearDown() override { platform::headless::Reset(); }

  // The chip-animation messages waiting for the window, taken out.
  std::vector<platform::MSG> TakePosts() {
    std::vector<platform::MSG> posts;
    platform::MSG message;
    while (platform::PeekMessage(&message, window_, 10000, 10000, platform::PM_REMOVE)) posts.push_back(message);
    return posts;
  }

  platform::HWND window_ = nullptr;
  ChipStack stack_;
};

TEST_F(ChipMoveTest, bet_to_pot_posts_10000_one_tick_after_arrival) {
  ASSERT_TRUE(stack_.StartMove(300, 100, 0.25f, 0.0f, true, window_, 10000, 3, 7, false, false));
  EXPECT_TRUE(stack_.HasPendingMessage());
  EXPECT_FALSE(stack_.SetAmount(100)) << "no change of amount while moving";
  EXPECT_FALSE(stack_.SetPosition(0, 0));

  stack_.Update(0.125f);
  EXPECT_EQ(stack_.GetX(), 200);  // halfway, rounded to nearest
  EXPECT_EQ(stack_.GetY(), 200);
  EXPECT_TRUE(TakePosts().empty());
  stack_.Update(0.125f);
  EXPECT_EQ(stack_.GetX(), 300) << "arrived";
  EXPECT_EQ(stack_.GetY(), 100);
  EXPECT_TRUE(TakePosts().empty()) << "the message comes at the next tick";
  EXPECT_FALSE(stack_.IsIdle());

  stack_.Update(0.125f);
  const std::vector<platform::MSG> posts = TakePosts();
  ASSERT_EQ(posts.size(), 1u);
  EXPECT_EQ(posts[0].wParam, 3u);
  EXPECT_EQ(posts[0].lParam, 7);
  EXPECT_TRUE(stack_.IsIdle());
  EXPECT_EQ(stack_.GetX(), 300);
  stack_.Update(0.125f);
  EXPECT_TRUE(TakePosts().empty()) << "posted once";
}

TEST_F(ChipMoveTest, zero_time_move_posts_at_the_next_tick) {
  ASSERT_TRUE(stack_.StartMove(10, 20, 0.0f, 0.0f, true, window_, 10000, 0, 0, false, false));
  stack_.Update(0.01f);
  EXPECT_EQ(stack_.GetX(), 10);
  EXPECT_TRUE(TakePosts().empty());
  stack_.Update(0.01f);
  EXPECT_EQ(TakePosts().size(), 1u);
}

TEST_F(ChipMoveTest, negative_delay_jumps_at_once) {
  EXPECT_FALSE(stack_.StartMove(40, 50, 0.25f, -1.0f, true, window_, 10000, 0, 0, false, false));
  EXPECT_EQ(stack_.GetX(), 40);
  EXPECT_EQ(stack_.GetY(), 50);
  EXPECT_TRUE(stack_.IsIdle());
  EXPECT_EQ(stack_.GetHomeX(), 100);
}

TEST_F(ChipMoveTest, empty_stack_does_not_move) {
  ASSERT_TRUE(stack_.SetAmount(0));
  EXPECT_FALSE(stack_.StartMove(40, 50, 0.25f, 0.0f, true, window_, 10000, 0, 0, false, false));
  EXPECT_FALSE(stack_.StartSink(0, 0.02, true, window_, 10000, 0, 0));
}

TEST_F(ChipMoveTest, sink_empties_the_stack_and_posts) {
  stack_.SetCollectSlot(311, 86, 330, 104);
  ASSERT_TRUE(stack_.SetAmount(700));  // 1 x 500, 2 x 100
  ASSERT_TRUE(stack_.StartSink(0.0, 0.02, true, window_, 10000, 1, 2));
  int ticks = 0;
  while (!stack_.IsIdle() && ticks < 100) {
    stack_.Update(0.01f);
    ++ticks;
  }
  EXPECT_TRUE(stack_.IsIdle());
  EXPECT_EQ(stack_.GetAmount(), 0);
  EXPECT_EQ(TakePosts().size(), 1u);
  // 3 chips, 19 rows at 3 per chip: (3 - 1 + 7) x 0.02 = 0.18 s, and the steps around it.
  EXPECT_GE(ticks, 18);
  EXPECT_LE(ticks, 22);
}

TEST_F(ChipMoveTest, sink_with_no_time_per_chip_ends_at_once) {
  ASSERT_TRUE(stack_.StartSink(0.0, 0.0, true, window_, 10000, 0, 0));
  for (int i = 0; i < 6 && !stack_.IsIdle(); ++i) stack_.Update(0.01f);
  EXPECT_TRUE(stack_.IsIdle());
  EXPECT_EQ(TakePosts().size(), 1u);
}

TEST_F(ChipStackTest, draw_and_erase_follow_the_frame) {
  MemoryPicture background(200, 120);
  background.Fill(0x303030);
  MemoryPicture back_buffer(200, 120);
  back_buffer.Fill(0x303030);

  ChipStack stack;
  chips_->SetUpStack(&stack);
  stack.SetLabelSide(0, -1, true);
  stack.SetLabelCharSize(6, 14);
  stack.SetPosition(90, 50);
  ASSERT_TRUE(stack.SetAmount(12575));
  RECT chips{}, label{};
  EXPECT_FALSE(stack.Erase(back_buffer.dc, background.dc, &chips, &label)) << "nothing drawn yet";
  ASSERT_TRUE(stack.Draw(back_buffer.dc));
  ASSERT_TRUE(stack.GetDirtyRects(&chips, &label));
  // Three piles in a row of 20: the first pile (10000) takes the last place (-20), the 2500 the
  // middle, the 25s (3 chips, each 1 right and 3 up) the first (+20).
  EXPECT_EQ(chips.left, 70);
  EXPECT_EQ(chips.right, 90 + 20 + 2 + 19);
  EXPECT_EQ(chips.top, 50 - 6);
  EXPECT_EQ(chips.bottom, 50 + 18);
  EXPECT_EQ(label.top, chips.bottom + 1) << "the label below the chips";
  EXPECT_EQ(back_buffer.At(75, 55), ChipColour(6)) << "the 10000 chip";
  EXPECT_EQ(back_buffer.At(115, 55), ChipColour(1)) << "a 25-cent chip";
  EXPECT_EQ(back_buffer.At(90, 50), 0x303030u) << "the key colour left the background alone";
  SaveForPerson(back_buffer.dc, "chip_stack_12575");

  EXPECT_FALSE(stack.Draw(back_buffer.dc)) << "nothing changed";
  ASSERT_TRUE(stack.SetAmount(0));
  ASSERT_TRUE(stack.Erase(back_buffer.dc, background.dc, &chips, &label));
  EXPECT_EQ(chips.left, 70);
  EXPECT_EQ(back_buffer.At(75, 55), 0x303030u);
  EXPECT_EQ(back_buffer.At(115, 55), 0x303030u);
  EXPECT_FALSE(stack.Draw(back_buffer.dc));
  EXPECT_FALSE(stack.Erase(back_buffer.dc, background.dc, &chips, &label)) << "erased once";
}

}  // namespace
