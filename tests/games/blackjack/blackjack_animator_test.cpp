#include "cclient/games/blackjack/blackjack_animator.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "cclient/widgets/card_sheet.h"
#include "cclient/widgets/transparent_draw.h"
#include "platform/window/headless.h"
#include "platform/window/message_queue.h"
#include "platform/window/window.h"
#include "tests/cclient/widgets/card_fixtures.h"
#include "tests/platform/draw/memory_picture.h"
#include "tests/support/temp_program_folder.h"
#include "tools/widget-gallery/blackjack_art.h"

namespace {

using platform::RECT;

constexpr platform::UINT kCardsDone = 8000;
constexpr float kTick = 1.0f / 64.0f;
constexpr int32_t kDealer = 5;
constexpr int32_t kDown = BlackJackAnimator::kFaceDown;

platform::LRESULT PlainProcedure(platform::HWND hwnd, platform::UINT message, platform::WPARAM wparam,
                                 platform::LPARAM lparam) {
  return platform::DefWindowProc(hwnd, message, wparam, lparam);
}

// The blue of the fixture pictures tells what was drawn: a face of card c is c * 4 + 10, a back 250.
int32_t Blue(platform::COLORREF colour) { return static_cast<int32_t>((colour >> 16) & 0xFF); }

class BlackJackAnimatorTest : public ProgramFolderTest {
 protected:
  void SetUp() override {
    platform::headless::Reset();
    platform::WNDCLASS window_class;
    window_class.lpfnWndProc = PlainProcedure;
    window_class.lpszClassName = "BlackJackAnimatorTestWindow";
    (void)platform::RegisterClass(&window_class);
    window_ = platform::CreateWindow("BlackJackAnimatorTestWindow", "table", 0, 0, 0, 200, 100, nullptr, nullptr,
                                     nullptr, nullptr);
    ASSERT_NE(window_, nullptr);
    ASSERT_TRUE(blackjack_art::WriteBlackJackArt(folder_.Path()));
    folder_.WriteFile("cardssml.b", FaceSheetBmp(56, 78).Bytes());
    folder_.WriteFile("cardbacs.b", BackBmp(56, 78).Bytes());
    ASSERT_EQ(sheet_.Load("cardssml.b", "cardbacs.b"), nullptr);
    background_.Fill(platform::RGB(0, 100, 0));
    back_.Fill(platform::RGB(0, 100, 0));
    ASSERT_TRUE(BlackJackAnimator_SetUpTable(&animator_, &draw_, back_.dc, &sheet_));
  }
  void TearDown() override { platform::headless::Reset(); }

  // One frame as the table runs it.
  void Frame(float seconds = kTick) {
    animator_.Step(back_.dc, seconds);
    animator_.EraseDirtyRects(back_.dc, background_.dc);
    animator_.Draw(back_.dc);
    animator_.ClearDirtyList();
    animator_.ClearChangedFlags();
  }
  // Frames until the animation ends (or many frames passed); returns the seconds it took.
  double RunToEnd() {
    double seconds = 0;
    for (int frame = 0; frame < 4000 && !animator_.IsIdle(); ++frame) {
      Frame();
      seconds += kTick;
    }
    return seconds;
  }
  int TakeDoneMessages() {
    int posts = 0;
    platform::MSG message;
    while (platform::PeekMessage(&message, window_, kCardsDone, kCardsDone, platform::PM_REMOVE)) ++posts;
    return posts;
  }
  // Lays hands at rest: hand 0 of each listed position.
  void Lay(int32_t position, std::vector<int32_t> cards, int32_t hand = 0) {
    ASSERT_TRUE(animator_.SetHand(position, hand, static_cast<int32_t>(cards.size()), cards.data()));
  }
  bool Showing(int32_t seat, int32_t hand, int32_t card) {
    RECT rect;
    return animator_.GetCardRect(seat, hand, card, &rect);
  }

  platform::HWND window_ = nullptr;
  CardSheet sheet_;
  TransparentDraw draw_;
  MemoryPicture background_{800, 560};
  MemoryPicture back_{800, 560};
  BlackJackAnimator animator_;
};

TEST_F(BlackJackAnimatorTest, a_deal_sends_cards_in_seat_order_with_the_dealers_last_each_round) {
  // Players at seats 0, 2 and 4; the dealer shows a king over a face-down card.
  int32_t counts[6] = {2, 0, 2, 0, 2, 2};
  int32_t values[6][15] = {};
  const int32_t cards[6][2] = {{0, 1}, {}, {2, 3}, {}, {4, 5}, {12, kDown}};
  for (int32_t p = 0; p < 6; ++p) {
    values[p][0] = cards[p][0];
    values[p][1] = cards[p][1];
  }
  ASSERT_TRUE(animator_.StartDeal(counts, values, false, 0, 0.0, true, window_, kCardsDone, 0, 0));
  EXPECT_FALSE(animator_.StartDeal(counts, values, false, 0, 0.0, true, window_, kCardsDone, 0, 0)) << "busy";

  // The time each card is first seen leaving the shoe.
  const struct {
    int32_t position, card;
  } order[] = {{0, 0}, {2, 0}, {4, 0}, {5, 0}, {0, 1}, {2, 1}, {4, 1}, {5, 1}};
  double seen[8];
  for (double& s : seen) s = -1;
  double clock = 0;
  for (int frame = 0; frame < 400 && !animator_.IsIdle(); ++frame) {
    Frame();
    clock += kTick;
    for (int i = 0; i < 8; ++i) {
      if (seen[i] < 0 && Showing(order[i].position, 0, order[i].card)) seen[i] = clock;
    }
  }
  for (int i = 0; i < 8; ++i) {
    EXPECT_NEAR(seen[i], 0.2 * i + kTick, kTick + 1e-9) << "card " << i << " of the deal";
  }
  EXPECT_TRUE(animator_.IsIdle());
  EXPECT_EQ(TakeDoneMessages(), 1);
  for (int32_t p : {0, 2, 4, 5}) {
    for (int32_t c = 0; c < 2; ++c) {
      EXPECT_EQ(animator_.GetCardState(p, 0, c), BlackJackAnimator::kResting) << p << "/" << c;
    }
  }
  RECT rect;
  ASSERT_TRUE(animator_.GetCardRect(2, 0, 1, &rect));
  const platform::POINT place = animator_.PlaceOf(2, 0, 2, 1);
  EXPECT_EQ(rect.left, place.x);
  EXPECT_EQ(rect.top, place.y);
  EXPECT_EQ(Blue(back_.At(place.x + 40, place.y + 40)), 3 * 4 + 10) << "seat 2's second card, face up";
  const platform::POINT hole = animator_.PlaceOf(kDealer, 0, 2, 1);
  EXPECT_EQ(Blue(back_.At(hole.x + 40, hole.y + 40)), 250) << "the hole card, face down";
}

TEST_F(BlackJackAnimatorTest, an_added_card_flies_for_a_time_in_proportion_to_its_distance) {
  Lay(2, {7, 20});
  ASSERT_TRUE(animator_.SplitHand(2));
  Lay(2, {7, 30}, 0);
  ASSERT_TRUE(animator_.StartAddCard(true, 2, 33, true, window_, kCardsDone, 0, 0));
  // The flight begins after the 0.1 s slide; seat 2 flies for 1.6 x 0.3 s to the hand's first
  // place, and this card for that time scaled by its own distance.
  const auto centre = [](platform::POINT p) { return platform::POINT{p.x + 28, p.y + 39}; };
  const platform::POINT start{543 + 21, 106 + 30};  // the flight start and half the shoe card
  const platform::POINT first = centre(animator_.PlaceOf(2, 1, 2, 0));
  const platform::POINT added = centre(animator_.PlaceOf(2, 1, 2, 1));
  const double expected = 0.1 + 0.48 * std::hypot(added.x - start.x, added.y - start.y) /
                                    std::hypot(first.x - start.x, first.y - start.y);
  EXPECT_NEAR(RunToEnd(), expected, 2 * kTick);
  EXPECT_EQ(TakeDoneMessages(), 1);
  EXPECT_EQ(animator_.GetCardCount(2, 1), 2);
  EXPECT_EQ(animator_.GetCard(2, 1, 1), 33);
  EXPECT_FALSE(animator_.StartAddCard(true, 3, 33, true, window_, kCardsDone, 0, 0)) << "seat 3 has not split";
}

TEST_F(BlackJackAnimatorTest, peek_and_reveal_need_a_face_down_second_dealer_card) {
  const struct {
    const char* name;
    std::vector<int32_t> dealer;
    bool accepted;
  } rows[] = {
      {"no cards", {}, false},
      {"one card", {12}, false},
      {"two face up", {12, 0}, false},
      {"face down first", {kDown, 0}, false},
      {"three cards", {12, kDown, 4}, false},
      {"an up card and a hole card", {12, kDown}, true},
  };
  for (const auto& row : rows) {
    for (const bool reveal : {false, true}) {
      animator_.ClearAllHands();
      if (!row.dealer.empty()) Lay(kDealer, row.dealer);
      const bool started = reveal ? animator_.StartReveal(0, true, window_, kCardsDone, 3, 0)
                                  : animator_.StartPeek(0.2, 2.2, true, window_, kCardsDone, 2, 0);
      EXPECT_EQ(started, row.accepted) << row.name << (reveal ? " reveal" : " peek");
      if (started) RunToEnd();
      EXPECT_EQ(TakeDoneMessages(), row.accepted ? 1 : 0) << row.name;
    }
  }
}

TEST_F(BlackJackAnimatorTest, the_peek_lifts_the_hole_card_and_the_reveal_turns_it_over) {
  Lay(kDealer, {12, kDown});
  const platform::POINT hole = animator_.PlaceOf(kDealer, 0, 2, 1);
  ASSERT_TRUE(animator_.StartPeek(0.2, 2.2, true, window_, kCardsDone, 2, 0));
  RECT rect;
  double clock = 0;
  int32_t highest = hole.y;
  while (!animator_.IsIdle() && clock < 5) {
    Frame();
    clock += kTick;
    if (animator_.GetCardRect(kDealer, 0, 1, &rect)) highest = std::min(highest, static_cast<int32_t>(rect.top));
  }
  EXPECT_NEAR(clock, 0.3 + 0.2 + 2.2 + 0.2, 2 * kTick);
  EXPECT_EQ(highest, hole.y - 22);
  ASSERT_TRUE(animator_.GetCardRect(kDealer, 0, 1, &rect));
  EXPECT_EQ(rect.top, hole.y) << "back at its place";
  EXPECT_EQ(animator_.GetCard(kDealer, 0, 1), kDown) << "a peek shows nothing";
  EXPECT_EQ(TakeDoneMessages(), 1);

  ASSERT_TRUE(animator_.StartReveal(9, true, window_, kCardsDone, 3, 0));
  Frame(0.2f);
  EXPECT_EQ(animator_.GetCard(kDealer, 0, 1), kDown) << "still the back before the middle";
  ASSERT_TRUE(animator_.GetCardRect(kDealer, 0, 1, &rect));
  EXPECT_GT(rect.top, hole.y) << "moving down as it turns";
  Frame(0.1f);
  EXPECT_EQ(animator_.GetCard(kDealer, 0, 1), 9) << "the value from the middle on";
  EXPECT_NEAR(RunToEnd(), 0.2, 2 * kTick);
  EXPECT_EQ(animator_.GetCardState(kDealer, 0, 1), BlackJackAnimator::kResting);
  EXPECT_EQ(Blue(back_.At(hole.x + 40, hole.y + 40)), 9 * 4 + 10);
  EXPECT_EQ(TakeDoneMessages(), 1);
}

TEST_F(BlackJackAnimatorTest, only_a_players_single_two_card_hand_splits) {
  const struct {
    const char* name;
    int32_t position;
    std::vector<int32_t> cards;
    bool split_first;
    bool accepted;
  } rows[] = {
      {"a pair", 1, {7, 20}, false, true},
      {"the dealer's pair", kDealer, {7, 20}, false, false},
      {"one card", 1, {7}, false, false},
      {"three cards", 1, {7, 20, 3}, false, false},
      {"a seat already split", 1, {7, 20}, true, false},
  };
  for (const auto& row : rows) {
    animator_.ClearAllHands();
    Lay(row.position, row.cards);
    if (row.split_first) ASSERT_TRUE(animator_.SetSplit(row.position, true));
    EXPECT_EQ(animator_.SplitHand(row.position), row.accepted) << row.name;
    if (!row.accepted) continue;
    EXPECT_TRUE(animator_.IsSplit(row.position));
    EXPECT_EQ(animator_.GetCardCount(row.position, 0), 1);
    EXPECT_EQ(animator_.GetCardCount(row.position, 1), 1);
    EXPECT_EQ(animator_.GetCard(row.position, 1, 0), row.cards[1]) << "the second card moves to the second hand";
    Frame();
    RECT first, second;
    ASSERT_TRUE(animator_.GetCardRect(row.position, 0, 0, &first));
    ASSERT_TRUE(animator_.GetCardRect(row.position, 1, 0, &second));
    EXPECT_LT(second.left, first.left) << "the second hand lies left";
  }
  animator_.ClearAllHands();
  Lay(1, {7, 20});
  Lay(kDealer, {12, kDown});
  ASSERT_TRUE(animator_.StartPeek(0.2, 2.2, false, nullptr, 0, 0, 0));
  EXPECT_FALSE(animator_.SplitHand(1)) << "not while animating";
}

TEST_F(BlackJackAnimatorTest, a_collect_gathers_joins_and_flies_every_taken_hand_into_the_tray) {
  Lay(0, {1, 2, 3});
  Lay(3, {7, 20});
  ASSERT_TRUE(animator_.SplitHand(3));
  Lay(3, {7, 4}, 0);
  Lay(3, {20, 5}, 1);
  Lay(kDealer, {12, 8});
  ASSERT_TRUE(animator_.StartCollect(nullptr, true, window_, kCardsDone, 4, 0));
  Frame(0.2f);  // the gather is over
  EXPECT_EQ(animator_.GetCardCount(0, 0), 1) << "a one-card pile";
  EXPECT_EQ(animator_.GetCard(0, 0, 0), 3) << "showing its last card";
  Frame(0.2f);  // the join is over
  EXPECT_EQ(animator_.GetCardCount(3, 0), 0);
  EXPECT_EQ(animator_.GetCardCount(3, 1), 1);
  EXPECT_EQ(animator_.GetCard(3, 1, 0), 4) << "the joined pile shows the first hand's card";
  RECT rect{};
  double clock = 0.4;
  while (!animator_.IsIdle() && clock < 5) {
    animator_.Step(back_.dc, kTick);
    clock += kTick;
    RECT now;
    if (animator_.GetCardRect(0, 0, 0, &now)) rect = now;
    animator_.EraseDirtyRects(back_.dc, background_.dc);
    animator_.Draw(back_.dc);
    animator_.ClearDirtyList();
  }
  // Seat 0 is the farthest from the tray: 2.1 x 0.3 s of flight after the two phases.
  EXPECT_NEAR(clock, 0.4 + 0.63, 2 * kTick);
  // The last frame before it vanished: a frame (2.5 percent) short of the tray point, warped
  // nearly into the tray's shape (56 across at its widest, 48 high).
  EXPECT_NEAR((rect.left + rect.right) / 2.0, 164, 16) << "the last frame lies by the tray";
  EXPECT_NEAR((rect.top + rect.bottom) / 2.0, 46, 16);
  EXPECT_LE(rect.bottom - rect.top + 1, 50) << "shrunk to the tray's card";
  for (int32_t p = 0; p < 6; ++p) {
    EXPECT_EQ(animator_.GetCardCount(p, 0) + animator_.GetCardCount(p, 1), 0) << p;
  }
  EXPECT_EQ(TakeDoneMessages(), 1);
  EXPECT_EQ(Blue(back_.At(animator_.PlaceOf(0, 0, 1, 0).x + 40, animator_.PlaceOf(0, 0, 1, 0).y + 40)), 0)
      << "the felt where the pile lay";
}

TEST_F(BlackJackAnimatorTest, a_collect_that_takes_no_card_is_not_started_and_posts_nothing) {
  Lay(0, {1, 2});
  std::vector<uint8_t> none(6, 0);
  std::vector<uint8_t> empty_hand(6, 0);
  empty_hand[4] = 1;  // seat 4 has no cards
  const uint8_t* nothing[2] = {none.data(), none.data()};
  const uint8_t* no_cards[2] = {empty_hand.data(), none.data()};
  EXPECT_FALSE(animator_.StartCollect(nothing, true, window_, kCardsDone, 4, 0));
  EXPECT_FALSE(animator_.StartCollect(no_cards, true, window_, kCardsDone, 4, 0));
  EXPECT_FALSE(animator_.StartCollectHand(0, 1, true, window_, kCardsDone, 4, 0));
  EXPECT_TRUE(animator_.IsIdle());
  for (int i = 0; i < 10; ++i) Frame();
  EXPECT_EQ(TakeDoneMessages(), 0);
  EXPECT_EQ(animator_.GetCardCount(0, 0), 2);
}

TEST_F(BlackJackAnimatorTest, an_overflowing_dirty_list_marks_every_card_for_drawing) {
  int32_t counts[6] = {2, 2, 2, 2, 2, 2};
  int32_t values[6][15] = {};
  ASSERT_TRUE(animator_.StartDeal(counts, values, false, 0, 0.0, false, nullptr, 0, 0, 0));
  // Frames drawn without emptying the list: every moving card queues a new place each frame.
  for (int i = 0; i < 40; ++i) {
    animator_.Step(back_.dc, kTick);
    if (animator_.DirtyListOverflowed()) break;
    animator_.Draw(back_.dc);
  }
  ASSERT_TRUE(animator_.DirtyListOverflowed());
  EXPECT_EQ(animator_.GetDirtyCount(), BlackJackAnimator::kDirtyCapacity);
  int32_t shown = 0;
  for (int32_t p = 0; p < 6; ++p) {
    for (int32_t c = 0; c < 2; ++c) {
      RECT rect;
      if (!animator_.GetCardRect(p, 0, c, &rect)) continue;
      ++shown;
      EXPECT_TRUE(animator_.IsCardDirty(p, 0, c)) << p << "/" << c;
    }
  }
  EXPECT_GE(shown, 2);
  animator_.ClearDirtyList();
  EXPECT_FALSE(animator_.DirtyListOverflowed());
}

TEST_F(BlackJackAnimatorTest, a_card_leaving_the_shoe_is_drawn_under_the_shoe) {
  int32_t counts[6] = {0, 0, 0, 0, 0, 1};
  int32_t values[6][15] = {};
  ASSERT_TRUE(animator_.StartDeal(counts, values, false, 0, 0.0, false, nullptr, 0, 0, 0));
  Frame(0.05f);
  RECT rect;
  ASSERT_TRUE(animator_.GetCardRect(kDealer, 0, 0, &rect));
  bool back_seen = false;
  bool shoe_seen = false;
  for (int32_t y = rect.top; y <= rect.bottom; ++y) {
    for (int32_t x = rect.left; x <= rect.right; ++x) {
      const platform::COLORREF c = back_.At(x, y);
      back_seen = back_seen || Blue(c) == 250;
      shoe_seen = shoe_seen || c == platform::RGB(96, 30, 34);
    }
  }
  EXPECT_TRUE(back_seen) << "the card's back shows";
  EXPECT_TRUE(shoe_seen) << "the shoe lies over it";
}

}  // namespace
