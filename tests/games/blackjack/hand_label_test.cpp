#include "cclient/games/blackjack/hand_label.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "tests/games/blackjack/blackjack_art_test.h"

namespace {

using platform::RECT;

class HandLabelTest : public BlackJackArtTest {
 protected:
  void SetUp() override {
    BlackJackArtTest::SetUp();
    label_ = std::make_unique<HandLabel>();
    ASSERT_TRUE(HandLabel::LoadShared("5100.b", blackjack_art::kLabelKey, 15, 15, 40));
    label_->SetTransparentDraw(&drawer_);
    label_->Register(1, true, 40, nullptr);
    label_->Register(3, false, 56, "Bust (22)");
    label_->Register(7, false, 130, "Dealer has Black Jack");
    label_->Register(8, false, 34, "Push");
    label_->SetPosition(100, 50);
  }
  // One frame as the table runs it; returns what was erased (or an empty rectangle).
  RECT Frame() {
    RECT erased{-1, -1, -1, -1};
    (void)label_->Erase(back_.dc, background_.dc, &erased);
    if (label_->NeedsRedraw()) label_->Draw(back_.dc);
    return erased;
  }

  TransparentDraw drawer_;
  std::unique_ptr<HandLabel> label_;
};

TEST_F(HandLabelTest, the_same_total_twice_is_not_a_change) {
  ASSERT_TRUE(label_->SetState(1, false, "16"));
  Frame();
  EXPECT_FALSE(label_->NeedsRedraw());

  ASSERT_TRUE(label_->SetState(1, false, "16"));
  EXPECT_FALSE(label_->NeedsRedraw()) << "same text, same length";
  ASSERT_TRUE(label_->SetState(1, false, "17"));
  EXPECT_TRUE(label_->NeedsRedraw()) << "one byte differs";
  Frame();
  ASSERT_TRUE(label_->SetState(1, false, "6 / 16"));
  EXPECT_TRUE(label_->NeedsRedraw()) << "the length differs";
  Frame();
  ASSERT_TRUE(label_->SetState(1, true, "6 / 16"));
  EXPECT_TRUE(label_->NeedsRedraw()) << "the redraw flag repaints an unchanged label";
  EXPECT_STREQ(label_->GetText(), "6 / 16");
}

TEST_F(HandLabelTest, the_registry_holds_twenty_states_and_ignores_a_twenty_first) {
  // Three entries are registered by the fixture; fill up to 20.
  for (int32_t id = 100; id < 117; ++id) EXPECT_TRUE(label_->Register(id, false, 50, "state")) << id;
  EXPECT_FALSE(label_->Register(117, false, 50, "one too many"));
  EXPECT_FALSE(label_->Register(3, false, 99, "again")) << "an id already there";

  EXPECT_FALSE(label_->SetState(117, false, nullptr)) << "never registered";
  EXPECT_EQ(label_->GetState(), HandLabel::kHidden);
  ASSERT_TRUE(label_->SetState(3, false, nullptr));
  EXPECT_STREQ(label_->GetText(), "Bust (22)") << "the first registration stands";
  EXPECT_EQ(label_->GetWidth(), 56);
}

TEST_F(HandLabelTest, a_state_text_given_to_one_label_is_not_shown_by_another) {
  HandLabel other;
  HandLabel third;
  ASSERT_TRUE(label_->SetState(3, false, "Bust (26)"));
  ASSERT_TRUE(other.SetState(3, false, "Bust (24)"));
  ASSERT_TRUE(third.SetState(3, false, nullptr));
  EXPECT_STREQ(label_->GetText(), "Bust (26)");
  EXPECT_STREQ(other.GetText(), "Bust (24)");
  EXPECT_STREQ(third.GetText(), "Bust (22)");
}

TEST_F(HandLabelTest, a_body_is_never_narrower_than_the_minimum) {
  ASSERT_TRUE(label_->SetState(8, false, nullptr));
  EXPECT_EQ(label_->GetWidth(), 40) << "Push is registered 34 wide";
  label_->SetWidth(10);
  EXPECT_EQ(label_->GetWidth(), 40);
}

TEST_F(HandLabelTest, the_picture_style_draws_caps_round_a_tiled_middle) {
  ASSERT_TRUE(label_->SetState(7, false, ""));  // 130 wide: the 30-pixel middle four times and 10
  Frame();
  RECT rect;
  ASSERT_TRUE(label_->GetRect(&rect));
  EXPECT_EQ(rect.left, 100);
  EXPECT_EQ(rect.right, 100 + 15 + 130 + 15 - 1);
  EXPECT_EQ(rect.bottom, 50 + 20 - 1);
  EXPECT_EQ(back_.At(100, 51), blackjack_art::kLabelLeftCap);
  EXPECT_EQ(back_.At(114, 51), blackjack_art::kLabelLeftCap);
  EXPECT_EQ(back_.At(115, 51), blackjack_art::kLabelMiddle);
  EXPECT_EQ(back_.At(115 + 129, 51), blackjack_art::kLabelMiddle) << "the middle reaches the body's end";
  EXPECT_EQ(back_.At(115 + 130, 51), blackjack_art::kLabelRightCap);
  EXPECT_EQ(back_.At(rect.right, 51), blackjack_art::kLabelRightCap);
  EXPECT_EQ(back_.At(rect.right + 1, 51), kTable) << "nothing past the right cap";
  EXPECT_EQ(back_.At(120, 50), kTable) << "the key colour of the plate's top row is left out";
}

TEST_F(HandLabelTest, the_box_style_fills_three_pixels_past_the_body_with_the_text_centred) {
  label_->SetStyle(false, 0x828282, 14);
  label_->SetTextColour(0xFFFFFF);
  ASSERT_TRUE(label_->SetState(1, false, "21"));
  Frame();
  EXPECT_EQ(back_.At(97, 50), 0x828282u);
  EXPECT_EQ(back_.At(96, 50), kTable);
  EXPECT_EQ(back_.At(142, 63), 0x828282u);
  EXPECT_EQ(back_.At(143, 63), kTable);
  EXPECT_EQ(back_.At(120, 64), kTable) << "14 rows high";
  int white = 0;
  for (int32_t y = 50; y < 64; ++y) {
    for (int32_t x = 97; x < 143; ++x) white += back_.At(x, y) == 0xFFFFFFu ? 1 : 0;
  }
  EXPECT_GT(white, 10) << "the text is drawn in the text colour";
  RECT dirty;
  ASSERT_TRUE(label_->GetDirtyRect(&dirty));
  EXPECT_EQ(dirty.left, 97);
  EXPECT_EQ(dirty.right, 142);
}

TEST_F(HandLabelTest, a_narrower_state_or_a_move_erases_what_the_wider_one_covered) {
  ASSERT_TRUE(label_->SetState(7, false, nullptr));
  Frame();
  ASSERT_TRUE(label_->SetState(8, false, nullptr));
  RECT erased = Frame();
  EXPECT_EQ(erased.left, 100);
  EXPECT_EQ(erased.right, 100 + 160 - 1) << "the old, wider rectangle";
  EXPECT_EQ(back_.At(200, 55), kFelt) << "restored from the background";

  label_->SetPosition(300, 80);
  erased = Frame();
  EXPECT_EQ(erased.left, 100);
  EXPECT_EQ(erased.right, 100 + 70 - 1);
  ASSERT_TRUE(label_->SetState(HandLabel::kHidden, false, nullptr));
  EXPECT_FALSE(label_->NeedsRedraw());
  erased = Frame();
  EXPECT_EQ(erased.left, 300) << "hiding erases";
  EXPECT_STREQ(label_->GetText(), "");
}

TEST_F(HandLabelTest, the_shared_part_goes_with_the_last_label) {
  EXPECT_EQ(HandLabel::LiveCount(), 1);
  label_.reset();
  EXPECT_EQ(HandLabel::LiveCount(), 0);
  HandLabel fresh;
  EXPECT_TRUE(fresh.Register(3, false, 60, "Bust")) << "the registry was emptied";
  EXPECT_TRUE(fresh.SetState(3, false, nullptr));
  EXPECT_EQ(fresh.GetWidth(), 60) << "no minimum before the plate is loaded again";
}

}  // namespace
