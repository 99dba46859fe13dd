#include "cclient/widgets/holdem_player_seat.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

#include "cclient/widgets/table_layout.h"
#include "tools/widget-gallery/table_art.h"
#include "tests/cclient/widgets/widget_test_support.h"
#include "tests/platform/draw/memory_picture.h"

namespace {

using platform::RECT;

constexpr platform::COLORREF kFelt = 0x205020;

// One seat as the poker tables set it up: plate "4002.b" of 91 x 35, text rectangle (7, 3, 83,
// 31), action timing 0.5 / 1.0 / 0.5 s; taken at (100, 40), open at (100, 40).
class SeatTest : public TableArtTest {
 protected:
  void SetUp() override {
    TableArtTest::SetUp();
    seat_ = std::make_unique<HoldemPlayerSeat>();
    HoldemPlayerSeat::LoadSharedImage("4002.b", 91, 35, kSeatKey, 1);
    HoldemPlayerSeat::SetTextRect(7, 3, 83, 31);
    HoldemPlayerSeat::SetActionTiming(0.5f, 1.0f, 0.5f);
    platform::LOGFONT name_font, winner_font, action_font;
    MakeFont(&name_font, 15, 500, nullptr);
    MakeFont(&winner_font, 20, 700, nullptr);
    MakeFont(&action_font, 20, 700, nullptr);
    HoldemPlayerSeat::CreateFonts(name_font, winner_font, action_font);
    seat_->SetPositions(100, 40, 100, 40);
    seat_->SetAlwaysRedraw(false);
    background_.Fill(kFelt);
    back_buffer_.Fill(kFelt);
  }
  void TearDown() override { seat_.reset(); }

  void TakeSeat() {
    seat_->SetOpen(false);
    seat_->SetName("Player One");
    seat_->SetChipsText("$125.50");
  }
  // One frame as the owner runs it; true when the seat reported a dirty rectangle.
  bool Frame(float seconds, RECT* dirty = nullptr) {
    RECT erased;
    seat_->Update(seconds);
    (void)seat_->Erase(back_buffer_.dc, background_.dc, &erased);
    seat_->Draw(back_buffer_.dc);
    RECT rect;
    const bool reported = seat_->GetDirtyRect(&rect);
    if (dirty != nullptr) *dirty = rect;
    return reported;
  }

  std::unique_ptr<HoldemPlayerSeat> seat_;
  MemoryPicture background_{300, 120};
  MemoryPicture back_buffer_{300, 120};
};

TEST_F(SeatTest, open_seat_paints_cell_0_and_cell_1_under_the_pointer) {
  RECT dirty;
  ASSERT_TRUE(Frame(0.02f, &dirty));
  EXPECT_EQ(dirty.left, 100);
  EXPECT_EQ(dirty.right, 190);
  EXPECT_EQ(dirty.bottom, 74);
  EXPECT_EQ(back_buffer_.At(104, 60), SeatCellColour(0));
  EXPECT_EQ(back_buffer_.At(100, 40), kFelt) << "the key colour at the corner is left out";
  EXPECT_EQ(seat_->HitTest(150, 60), 1);
  ASSERT_TRUE(Frame(0.02f));
  EXPECT_EQ(back_buffer_.At(104, 60), SeatCellColour(1));
  EXPECT_EQ(seat_->HitTest(100, 60), 0) << "the left edge is outside";
  EXPECT_FALSE(seat_->IsMouseOver());
  SaveForPerson(back_buffer_.dc, "seat_open");
}

TEST_F(SeatTest, names_are_cut_to_19_characters_and_unchanged_text_marks_nothing) {
  TakeSeat();
  ASSERT_TRUE(Frame(0.02f));
  seat_->SetName("Player One");
  EXPECT_FALSE(seat_->NeedsRedraw());
  seat_->SetName("A name of twenty-five chs");
  EXPECT_STREQ(seat_->GetName(), "A name of twenty-fi");
  EXPECT_TRUE(seat_->NeedsRedraw());
  EXPECT_FALSE(seat_->NeedsFullRedraw()) << "texts only";
  RECT dirty;
  ASSERT_TRUE(Frame(0.02f, &dirty));
  EXPECT_EQ(dirty.left, 101) << "a repaint of the texts leaves the insets alone";
  EXPECT_EQ(dirty.right, 189);
  SaveForPerson(back_buffer_.dc, "seat_taken_long_name");
}

TEST_F(SeatTest, action_iris_closes_holds_and_opens_again) {
  TakeSeat();
  seat_->SetActionText("Raise");
  ASSERT_TRUE(seat_->ShowAction());
  EXPECT_FALSE(seat_->ShowAction()) << "already showing";
  struct Step {
    float seconds;  // this frame's step
    bool iris;
    RECT rect;  // the iris when there is one
    const char* png;
  } const steps[] = {
      {0.0f, true, {7, 3, 83, 31}, "seat_action_0.00s"},
      {0.25f, true, {7 + 19, 3 + 7, 83 - 19, 31 - 7}, "seat_action_0.25s"},  // 77 x 29 halved by 0.5
      {0.25f, false, {}, "seat_action_0.50s"},
      {1.0f, false, {}, nullptr},
      {0.25f, true, {26, 10, 64, 24}, "seat_action_1.75s"},
  };
  for (const Step& step : steps) {
    RECT dirty;
    EXPECT_TRUE(Frame(step.seconds, &dirty));
    RECT iris;
    ASSERT_EQ(seat_->GetIris(&iris), step.iris) << step.seconds;
    if (step.iris) {
      EXPECT_EQ(iris.left, step.rect.left);
      EXPECT_EQ(iris.top, step.rect.top);
      EXPECT_EQ(iris.right, step.rect.right);
      EXPECT_EQ(iris.bottom, step.rect.bottom);
    }
    if (step.png != nullptr) SaveForPerson(back_buffer_.dc, step.png);
  }
  EXPECT_TRUE(seat_->IsActionShowing());
  EXPECT_TRUE(Frame(0.25f)) << "at 2.0 s the transition ends with a full redraw";
  EXPECT_FALSE(seat_->IsActionShowing());
  EXPECT_FALSE(Frame(0.25f));
}

TEST_F(SeatTest, turn_blink_flips_every_half_second) {
  TakeSeat();
  ASSERT_TRUE(Frame(0.02f));
  ASSERT_TRUE(seat_->StartTurnBlink());
  ASSERT_TRUE(Frame(0.02f));
  EXPECT_EQ(back_buffer_.At(104, 60), SeatCellColour(3)) << "the dark cell first";
  SaveForPerson(back_buffer_.dc, "seat_blink_dark");
  EXPECT_FALSE(Frame(0.4f));
  EXPECT_TRUE(Frame(0.1f));
  EXPECT_EQ(back_buffer_.At(104, 60), SeatCellColour(2)) << "lit after 0.5 s";
  EXPECT_FALSE(Frame(0.3f));
  EXPECT_TRUE(Frame(0.3f));
  EXPECT_EQ(back_buffer_.At(104, 60), SeatCellColour(3));
  seat_->StopTurnBlink();
  EXPECT_TRUE(Frame(0.02f)) << "stopped in the dark phase: repainted lit";
  EXPECT_EQ(back_buffer_.At(104, 60), SeatCellColour(2));
}

TEST_F(SeatTest, open_seat_does_not_blink_and_a_hidden_seat_is_erased_once) {
  EXPECT_FALSE(seat_->StartTurnBlink());
  ASSERT_TRUE(Frame(0.02f));
  seat_->Hide();
  RECT erased;
  ASSERT_TRUE(seat_->Erase(back_buffer_.dc, background_.dc, &erased));
  EXPECT_EQ(erased.left, 100);
  EXPECT_EQ(erased.bottom, 74);
  EXPECT_EQ(back_buffer_.At(104, 60), kFelt);
  EXPECT_FALSE(seat_->Erase(back_buffer_.dc, background_.dc, &erased));
  EXPECT_FALSE(Frame(0.02f));
  EXPECT_EQ(seat_->HitTest(150, 60), -1);
}

// A text wider than its rectangle in the given font (a long name, "Sml Blind" in the action font)
// is drawn in a smaller size of that font: nothing of it reaches past the rectangle, and the
// plate's edges stay as the picture has them.
TEST_F(SeatTest, texts_wider_than_the_plate_are_drawn_smaller_to_fit) {
  struct Case {
    const char* name;
    const char* chips;
    const char* action;  // shown and held, when given
    int32_t left, right;  // the columns inside the plate that the text may touch
  } const cases[] = {
      {"WWWWWWWWWWW", "$125.50", nullptr, 3, 87},
      {"Player One", "$88888888.88", nullptr, 3, 87},
      {"Player One", "$125.50", "Sml Blind", 7, 83},
      {"Player One", "$125.50", "Complete", 7, 83},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.action != nullptr ? c.action : c.name);
    seat_ = std::make_unique<HoldemPlayerSeat>();
    seat_->SetPositions(100, 40, 100, 40);
    seat_->SetAlwaysRedraw(false);
    seat_->SetOpen(false);
    ASSERT_TRUE(Frame(0.02f));
    const platform::Surface plain = back_buffer_.picture();  // the plate with no text
    seat_->SetName(c.name);
    seat_->SetChipsText(c.chips);
    if (c.action != nullptr) {
      seat_->SetActionText(c.action);
      ASSERT_TRUE(seat_->ShowAction());
      (void)Frame(0.5f);  // the iris has closed: the action text alone
    }
    (void)Frame(0.02f);
    const platform::Surface& shown = back_buffer_.picture();
    int32_t first = -1, last = -1;
    for (int32_t y = 40; y < 40 + 35; ++y) {
      for (int32_t x = 100; x < 100 + 91; ++x) {
        if (std::memcmp(shown.Row(y) + 3 * x, plain.Row(y) + 3 * x, 3) == 0) continue;
        if (first < 0 || x - 100 < first) first = x - 100;
        last = std::max(last, x - 100);
      }
    }
    ASSERT_GE(first, 0) << "no text drawn";
    EXPECT_GE(first, c.left);
    EXPECT_LE(last, c.right);
  }
}

TEST_F(SeatTest, reserved_and_winner_texts) {
  seat_->SetReserved(true);
  EXPECT_EQ(seat_->HitTest(150, 60), 2);
  ASSERT_TRUE(Frame(0.02f));
  SaveForPerson(back_buffer_.dc, "seat_reserved");
  seat_->SetReserved(false);
  TakeSeat();
  seat_->SetWinner();
  ASSERT_TRUE(Frame(0.02f));
  SaveForPerson(back_buffer_.dc, "seat_winner");
}

}  // namespace
