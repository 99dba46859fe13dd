#include "cclient/games/stud/stud_animator.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "cclient/games/stud/stud_layout.h"
#include "cclient/widgets/card_sheet.h"
#include "cclient/widgets/transparent_draw.h"
#include "platform/draw/gdi.h"
#include "platform/window/headless.h"
#include "platform/window/message_queue.h"
#include "platform/window/window.h"
#include "tests/cclient/widgets/card_fixtures.h"
#include "tests/platform/draw/memory_picture.h"
#include "tests/support/temp_program_folder.h"

namespace {

using platform::RECT;

constexpr platform::UINT kCardsDone = 9000;
constexpr float kTick = 1.0f / 64.0f;
constexpr uint8_t kDown = 255;

platform::LRESULT PlainProcedure(platform::HWND hwnd, platform::UINT message, platform::WPARAM wParam,
                                 platform::LPARAM lParam) {
  return platform::DefWindowProc(hwnd, message, wParam, lParam);
}

bool IsEmpty(const RECT& rect) { return rect.left >= rect.right; }

// The blue of the fixture pictures tells what was drawn: a face of card c is c * 4 + 10, a back 250.
int32_t Blue(platform::COLORREF colour) { return static_cast<int32_t>((colour >> 16) & 0xFF); }

class StudAnimatorTest : public ProgramFolderTest {
 protected:
  void SetUp() override {
    platform::headless::Reset();
    platform::WNDCLASS window_class;
    window_class.lpfnWndProc = PlainProcedure;
    window_class.lpszClassName = "StudAnimatorTestWindow";
    (void)platform::RegisterClass(&window_class);
    window = platform::CreateWindow("StudAnimatorTestWindow", "table", 0, 0, 0, 200, 100, nullptr, nullptr, nullptr,
                                    nullptr);
    ASSERT_NE(window, nullptr);
    folder_.WriteFile("cardssml.b", FaceSheetBmp(56, 78).Bytes());
    folder_.WriteFile("cardbacs.b", BackBmp(56, 78).Bytes());
    ASSERT_EQ(sheet.Load("cardssml.b", "cardbacs.b"), nullptr);
    ASSERT_TRUE(StudLayout_SetUpAnimator(&animator, &draw, back_buffer.dc, &sheet));
    background.Fill(platform::RGB(0, 100, 0));
    back_buffer.Fill(platform::RGB(0, 100, 0));
  }
  void TearDown() override { platform::headless::Reset(); }

  // One frame of the game: advance, erase, draw, end the frame.
  void Frame(float seconds) {
    animator.Step(back_buffer.dc, seconds);
    animator.EraseDirtyRects(back_buffer.dc, background.dc);
    animator.Draw(back_buffer.dc, &sheet, true, true, true);
    animator.ClearChangedFlags();
  }

  int TakeDoneMessages(platform::WPARAM* wparam = nullptr) {
    int posts = 0;
    platform::MSG message;
    while (platform::PeekMessage(&message, window, kCardsDone, kCardsDone, platform::PM_REMOVE)) {
      if (wparam != nullptr) *wparam = message.wParam;
      ++posts;
    }
    return posts;
  }

  // Runs frames until the animation ends (or a generous number of frames passed); the posts seen.
  int RunToEnd(float seconds = kTick) {
    int posts = 0;
    for (int frame = 0; frame < 2000 && animator.IsAnimating(); ++frame) {
      Frame(seconds);
      posts += TakeDoneMessages();
    }
    Frame(seconds);
    return posts + TakeDoneMessages();
  }

  bool Deal(const int32_t (&counts)[8], const int32_t (&fresh)[8], const uint8_t (&values)[8][7], double delay,
            const uint8_t* layouts = nullptr) {
    return animator.StartDeal(layouts, counts, fresh, values, 7, delay, true, window, kCardsDone, 0, 1);
  }

  platform::HWND window = nullptr;
  CardSheet sheet;
  TransparentDraw draw;
  SevenCardsAnimator animator;
  MemoryPicture back_buffer{800, 580};
  MemoryPicture background{800, 580};
};

const uint8_t kNoCards[8][7] = {};

TEST_F(StudAnimatorTest, a_deal_leaves_round_by_round_from_seat_seven_down_and_posts_when_the_last_card_lands) {
  // Three seats with two cards each after a start delay of 1.1 s: the first round leaves at 1.1,
  // 1.2 and 1.3 s, the second (after the round gap) at 1.45, 1.55 and 1.65 s.
  const int32_t counts[8] = {0, 0, 2, 0, 0, 2, 0, 2};
  uint8_t values[8][7];
  std::fill(&values[0][0], &values[0][0] + 56, kDown);
  ASSERT_TRUE(Deal(counts, counts, values, 1.1));

  struct Departure {
    int32_t seat;
    int32_t card;
    double seconds;
  };
  const Departure departures[] = {{7, 0, 1.1}, {5, 0, 1.2}, {2, 0, 1.3}, {7, 1, 1.45}, {5, 1, 1.55}, {2, 1, 1.65}};
  int left_at[6] = {-1, -1, -1, -1, -1, -1};
  int posted_at = -1;
  for (int tick = 1; tick <= 140; ++tick) {
    Frame(kTick);
    for (int i = 0; i < 6; ++i) {
      RECT rect{};
      ASSERT_TRUE(animator.GetCardRect(departures[i].seat, departures[i].card, &rect));
      if (left_at[i] < 0 && !IsEmpty(rect)) left_at[i] = tick;
    }
    const int posts = TakeDoneMessages();
    if (posts > 0) {
      EXPECT_EQ(posts, 1);
      EXPECT_EQ(posted_at, -1) << "posted twice";
      posted_at = tick;
    }
  }
  for (int i = 0; i < 6; ++i) {
    EXPECT_EQ(left_at[i], static_cast<int>(std::floor(departures[i].seconds * 64.0)) + 1) << i;
  }
  // Seat 2's last card leaves at 1.65 s and flies for 0.2 s: it lands in tick ceil(1.85 x 64).
  EXPECT_EQ(posted_at, 119);
  EXPECT_FALSE(animator.IsAnimating());
  for (int32_t seat : {2, 5, 7}) {
    for (int32_t card = 0; card < 2; ++card) {
      RECT rect{};
      RECT rest{};
      ASSERT_TRUE(animator.GetCardRect(seat, card, &rect));
      ASSERT_TRUE(animator.GetRestRect(seat, card, &rest));
      EXPECT_EQ(rect.left, kStudCardRows[seat].closed[1][card]);
      EXPECT_EQ(rect.top, kStudCardRows[seat].y);
      EXPECT_EQ(rest.left, rect.left);
      EXPECT_EQ(animator.GetCardState(seat, card), SevenCardsAnimator::kResting);
    }
  }
}

TEST_F(StudAnimatorTest, a_deal_without_new_cards_ends_and_posts_in_the_next_step) {
  const int32_t counts[8] = {3, 3, 0, 0, 0, 0, 0, 0};
  const int32_t none[8] = {};
  ASSERT_TRUE(Deal(counts, none, kNoCards, 0.0));
  Frame(kTick);
  EXPECT_EQ(TakeDoneMessages(), 1);
  EXPECT_FALSE(animator.IsAnimating());
  EXPECT_EQ(animator.GetCardCount(0), 3);
}

TEST_F(StudAnimatorTest, a_face_up_card_shows_its_back_until_it_turns_between_sixty_and_eighty_percent) {
  // Seat 4 flies 0.25 s: at 1/256 s a tick, tick k is k / 64 of the way.
  struct Look {
    int32_t blue = -1;
    int32_t width = 0;
    int32_t height = 0;
  };
  const auto fly = [&](uint8_t value) {
    const int32_t counts[8] = {0, 0, 0, 0, 1, 0, 0, 0};
    uint8_t values[8][7] = {};
    values[4][0] = value;
    EXPECT_TRUE(Deal(counts, counts, values, 0.0));
    std::vector<Look> looks;
    for (int tick = 1; tick < 64; ++tick) {
      Frame(1.0f / 256.0f);
      RECT rect{};
      EXPECT_TRUE(animator.GetCardRect(4, 0, &rect));
      Look look;
      look.width = rect.right - rect.left + 1;
      look.height = rect.bottom - rect.top + 1;
      const int32_t middle_y = (rect.top + rect.bottom) / 2;
      // The deck lies above the window: the first moments of a flight are not on the picture.
      if (middle_y >= 0) look.blue = Blue(back_buffer.At((rect.left + rect.right) / 2, middle_y));
      looks.push_back(look);
    }
    RunToEnd();
    return looks;
  };

  const std::vector<Look> face_up = fly(7);
  for (int tick = 1; tick < 64; ++tick) {
    const Look& look = face_up[static_cast<size_t>(tick - 1)];
    const double percent = tick * 100.0 / 64.0;
    if (look.width < 16 || look.blue < 0) continue;  // too narrow to read its middle, or off the picture
    if (percent <= 70.0) {
      EXPECT_EQ(look.blue, 250) << "back at " << percent << "%";
    } else {
      EXPECT_EQ(look.blue, 7 * 4 + 10) << "face at " << percent << "%";
    }
  }
  // The back narrows from 60 % to 70 %, the face widens back by 80 %.
  EXPECT_LT(face_up[43].width, face_up[37].width);  // 68.75 % against 59.4 %
  EXPECT_GT(face_up[52].width, face_up[46].width);  // 82.8 % against 73.4 %

  const std::vector<Look> face_down = fly(kDown);
  for (size_t i = 1; i < face_down.size(); ++i) {
    if (face_down[i].blue >= 0) EXPECT_EQ(face_down[i].blue, 250) << i;
    EXPECT_GE(face_down[i].width, face_down[i - 1].width) << "a hidden card only grows: " << i;
    EXPECT_GE(face_down[i].height, face_down[i - 1].height) << i;
  }
}

TEST_F(StudAnimatorTest, a_folded_seven_card_hand_gathers_flies_to_the_deck_and_posts_exactly_once) {
  const uint8_t hand[7] = {kDown, kDown, 3, 17, 29, 40, kDown};
  animator.SetHand(3, 7, hand);
  Frame(kTick);
  ASSERT_TRUE(animator.StartFoldSeat(3, 0.0, true, window, kCardsDone, 2, 1));
  bool saw_pile = false;
  int posts = 0;
  for (int frame = 0; frame < 200 && animator.IsAnimating(); ++frame) {
    Frame(kTick);
    posts += TakeDoneMessages();
    saw_pile = saw_pile || animator.GetCardCount(3) == 1;
  }
  for (int frame = 0; frame < 10; ++frame) {
    Frame(kTick);
    posts += TakeDoneMessages();
  }
  EXPECT_EQ(posts, 1);
  EXPECT_TRUE(saw_pile) << "the hand becomes one pile before it flies";
  EXPECT_EQ(animator.GetCardCount(3), 0);
  EXPECT_FALSE(animator.StartFoldSeat(3, 0.0, true, window, kCardsDone, 2, 1)) << "no cards left";
}

TEST_F(StudAnimatorTest, a_showdown_lifts_the_winning_cards_dims_the_rest_and_never_posts) {
  const uint8_t low_seat[7] = {0, 13, 26, 1, 14, 27, 2};   // seat 3 lifts upward (+10)
  const uint8_t high_seat[7] = {5, 6, 7, 8, 9, 10, 11};    // seat 0 lifts downward (-10)
  animator.SetHand(3, 7, low_seat);
  animator.SetHand(0, 7, high_seat);
  Frame(kTick);
  const int32_t seats[2] = {3, 0};
  const uint8_t winning[2][7] = {{0, 13, 26, 1, 14, kDown, kDown}, {5, 6, 7, 8, 9, kDown, kDown}};
  ASSERT_TRUE(animator.StartShowdown(window, 2, seats, winning));
  EXPECT_EQ(RunToEnd(), 0);
  for (int32_t card = 0; card < 7; ++card) {
    RECT rect{};
    RECT rest{};
    ASSERT_TRUE(animator.GetCardRect(3, card, &rect));
    ASSERT_TRUE(animator.GetRestRect(3, card, &rest));
    if (card < 5) {
      EXPECT_EQ(animator.GetCardState(3, card), SevenCardsAnimator::kLifted) << card;
      EXPECT_EQ(rect.top, rest.top - 10) << card;
    } else {
      EXPECT_EQ(animator.GetCardState(3, card), SevenCardsAnimator::kRestingDimmed) << card;
      EXPECT_EQ(rect.top, rest.top) << card;
    }
    // On the top seat the losing cards move down instead, so the winners still stand higher.
    ASSERT_TRUE(animator.GetCardRect(0, card, &rect));
    ASSERT_TRUE(animator.GetRestRect(0, card, &rest));
    EXPECT_EQ(rect.top, card < 5 ? rest.top : rest.top + 10) << card;
    EXPECT_EQ(animator.GetCardState(0, card),
              card < 5 ? SevenCardsAnimator::kResting : SevenCardsAnimator::kLiftedDimmed)
        << card;
  }
  // A showdown the table did not show before (1), and its first change: seat 0 (w = 200), card 5
  // rising on a seat that lifts downward (200): 1 + 10 x (200 + 5 + 200).
  EXPECT_EQ(animator.GetShowdownReason(), 4051);

  // The same winners again: nothing moves, the dimming is done in the first step.
  ASSERT_TRUE(animator.StartShowdown(window, 2, seats, winning));
  EXPECT_EQ(animator.GetShowdownReason(), 0);
  Frame(kTick);
  EXPECT_FALSE(animator.IsAnimating());
  EXPECT_EQ(TakeDoneMessages(), 0);
  EXPECT_EQ(animator.GetCardState(3, 6), SevenCardsAnimator::kRestingDimmed);
}

TEST_F(StudAnimatorTest, with_more_than_eight_cards_to_dim_nothing_is_dimmed) {
  const uint8_t first[7] = {0, 1, 2, 3, 4, 5, 6};
  const uint8_t second[7] = {13, 14, 15, 16, 17, 18, 19};
  animator.SetHand(3, 7, first);
  animator.SetHand(4, 7, second);
  const int32_t seats[2] = {3, 4};
  // Five cards of each seat are not in the lists: ten to dim.
  const uint8_t winning[2][7] = {{0, 1, kDown, kDown, kDown, kDown, kDown},
                                 {13, 14, kDown, kDown, kDown, kDown, kDown}};
  ASSERT_TRUE(animator.StartShowdown(window, 2, seats, winning));
  EXPECT_EQ(RunToEnd(), 0);
  for (int32_t seat : {3, 4}) {
    for (int32_t card = 0; card < 7; ++card) {
      EXPECT_EQ(animator.GetCardState(seat, card),
                card < 2 ? SevenCardsAnimator::kLifted : SevenCardsAnimator::kResting)
          << seat << "/" << card;
    }
  }
  EXPECT_EQ(animator.GetLastDimmedIndex(), -1);
}

TEST_F(StudAnimatorTest, every_starter_and_hand_change_is_refused_while_an_animation_runs) {
  const uint8_t hand[7] = {kDown, kDown, 9, 0, 0, 0, 0};
  animator.SetHand(1, 3, hand);
  const int32_t counts[8] = {0, 3, 0, 3, 0, 0, 0, 0};
  uint8_t values[8][7] = {};
  ASSERT_TRUE(Deal(counts, counts, values, 1.0));
  Frame(kTick);
  ASSERT_TRUE(animator.IsAnimating());

  const int32_t seat_list[1] = {1};
  const uint8_t winning[1][7] = {{9, kDown, kDown, kDown, kDown, kDown, kDown}};
  struct Starter {
    const char* name;
    bool started;
  };
  const Starter starters[] = {
      {"deal", Deal(counts, counts, values, 0.0)},
      {"fold_seat", animator.StartFoldSeat(1, 0.0, true, window, kCardsDone, 2, 1)},
      {"fold_seats", animator.StartFoldSeats(1, seat_list, 0.0, true, window, kCardsDone, 2, 1)},
      {"fold_all", animator.StartFoldAll(0.0, true, window, kCardsDone, 2, 1)},
      {"show_cards", animator.StartShowCards(counts, values, true, window, kCardsDone, 3, 1)},
      {"showdown", animator.StartShowdown(window, 1, seat_list, winning)},
      {"community_card", animator.StartCommunityCard(30, true, window, kCardsDone, 1, 1)},
  };
  for (const Starter& starter : starters) EXPECT_FALSE(starter.started) << starter.name;
  EXPECT_EQ(animator.GetKind(), SevenCardsAnimator::kDeal);

  const uint8_t other[7] = {1, 2, 3, 4, 5, 6, 7};
  animator.SetHand(5, 7, other);
  EXPECT_EQ(animator.GetCardCount(5), 0) << "hand changes wait for the animation";
  animator.SetHand(SevenCardsAnimator::kCommunityPlace, 1, other);
  EXPECT_EQ(animator.GetCardCount(SevenCardsAnimator::kCommunityPlace), 0);

  animator.Stop();
  EXPECT_FALSE(animator.IsAnimating());
  EXPECT_EQ(TakeDoneMessages(), 0) << "a stopped animation posts nothing";
  EXPECT_EQ(animator.GetCardState(3, 2), SevenCardsAnimator::kResting);
}

TEST_F(StudAnimatorTest, more_than_a_hundred_rectangles_between_draws_ask_for_a_whole_redraw) {
  int32_t counts[8];
  std::fill(std::begin(counts), std::end(counts), 3);
  uint8_t values[8][7];
  std::fill(&values[0][0], &values[0][0] + 56, kDown);
  ASSERT_TRUE(Deal(counts, counts, values, 0.0));
  // Draw until seat 6's card flies (it leaves at 0.1 s and lands at 0.25 s): it then has a drawn
  // rectangle to erase each time it moves on.
  for (int frame = 0; frame < 7; ++frame) Frame(0.02f);
  // The game misses its draws: every step queues each flying card's last rectangle again.
  int32_t steps = 0;
  while (animator.GetDirtyCount() < SevenCardsAnimator::kDirtyCapacity && steps < 200) {
    animator.Step(back_buffer.dc, 0.0005f);
    ++steps;
  }
  ASSERT_EQ(animator.GetDirtyCount(), 100);
  EXPECT_FALSE(animator.DirtyListOverflowed());
  RECT rect{};
  int32_t place = -1;
  bool erase_only = false;
  ASSERT_TRUE(animator.GetDirtyRect(99, &rect, &place, &erase_only));
  EXPECT_TRUE(place >= 0 && place < 8);
  EXPECT_TRUE(erase_only) << "a moving card's old place is only erased";
  EXPECT_FALSE(animator.GetDirtyRect(100, &rect, &place, &erase_only));

  animator.Step(back_buffer.dc, 0.0005f);
  EXPECT_TRUE(animator.DirtyListOverflowed());
  EXPECT_EQ(animator.GetDirtyCount(), 100);
  for (int32_t seat = 0; seat < 8; ++seat) {
    for (int32_t card = 0; card < 3; ++card) EXPECT_TRUE(animator.IsCardDirty(seat, card)) << seat << "/" << card;
  }
  animator.Draw(back_buffer.dc, &sheet, true, true, true);
  EXPECT_FALSE(animator.DirtyListOverflowed());
  EXPECT_EQ(animator.GetDirtyCount(), 0);
}

TEST_F(StudAnimatorTest, a_show_turns_the_hidden_seventh_card_and_spreads_the_hand_into_the_open_layout) {
  const uint8_t hidden[7] = {kDown, kDown, 20, 21, 22, 23, kDown};
  animator.SetHand(5, 7, hidden);
  animator.SetHand(2, 7, hidden);
  animator.SetSeatLayout(2, 0);  // the local player's seat already shows everything
  Frame(kTick);
  int32_t counts[8] = {0, 0, 7, 0, 0, 7, 0, 0};
  uint8_t known[8][7] = {};
  const uint8_t shown[7] = {30, 31, 20, 21, 22, 23, 32};
  std::copy(std::begin(shown), std::end(shown), known[5]);
  std::copy(std::begin(shown), std::end(shown), known[2]);
  ASSERT_TRUE(animator.StartShowCards(counts, known, true, window, kCardsDone, 3, 1));
  // The hole cards show their faces at once; the seventh turns over in place.
  Frame(0.05f);
  EXPECT_EQ(animator.GetCardValue(5, 0), 30);
  EXPECT_EQ(animator.GetCardState(5, 6), SevenCardsAnimator::kMoving);
  EXPECT_EQ(animator.GetSeatLayout(5), 1);

  platform::WPARAM wparam = 0;
  int posts = 0;
  for (int frame = 0; frame < 200 && animator.IsAnimating(); ++frame) {
    Frame(kTick);
    posts += TakeDoneMessages(&wparam);
  }
  EXPECT_EQ(posts, 1);
  EXPECT_EQ(wparam, 3u);
  EXPECT_EQ(animator.GetSeatLayout(5), 0);
  EXPECT_EQ(animator.GetSeatLayout(2), 0);
  for (int32_t card = 0; card < 7; ++card) {
    RECT rect{};
    ASSERT_TRUE(animator.GetCardRect(5, card, &rect));
    EXPECT_EQ(rect.left, kStudCardRows[5].open[6][card]) << card;
    EXPECT_EQ(animator.GetCardState(5, card), SevenCardsAnimator::kResting);
  }
  // A seat whose hidden cards are known already takes no part: nothing to show.
  EXPECT_FALSE(animator.StartShowCards(counts, known, true, window, kCardsDone, 3, 1));
}

TEST_F(StudAnimatorTest, the_community_card_drops_in_from_above_and_leaves_upward_with_the_fold_of_all) {
  ASSERT_TRUE(animator.StartCommunityCard(20, true, window, kCardsDone, 1, 1));
  animator.Step(back_buffer.dc, kTick);
  animator.Draw(back_buffer.dc, &sheet, true, true, true);
  RECT rect{};
  ASSERT_TRUE(animator.GetMovingCardRect(SevenCardsAnimator::kCommunityPlace, 1, &rect));
  // 1/64 s of 0.2: y = trunc((132 + 78) x 0.078125) - 78, above the window's top edge.
  EXPECT_EQ(rect.left, 372);
  EXPECT_EQ(rect.top, 16 - 78);
  animator.ClearChangedFlags();
  for (int tick = 1; tick < 5; ++tick) Frame(kTick);
  animator.Step(back_buffer.dc, kTick);
  animator.Draw(back_buffer.dc, &sheet, true, true, true);
  ASSERT_TRUE(animator.GetMovingCardRect(SevenCardsAnimator::kCommunityPlace, 1, &rect));
  // 6/64 s: trunc(210 x 0.46875) - 78.
  EXPECT_EQ(rect.top, 98 - 78);
  animator.ClearChangedFlags();
  int posts = RunToEnd();
  EXPECT_EQ(posts, 1);
  ASSERT_TRUE(animator.GetRestRect(SevenCardsAnimator::kCommunityPlace, 0, &rect));
  EXPECT_EQ(rect.left, 372);
  EXPECT_EQ(rect.top, 132);
  EXPECT_EQ(animator.GetCardValue(SevenCardsAnimator::kCommunityPlace, 0), 20);

  ASSERT_TRUE(animator.StartFoldAll(0.0, true, window, kCardsDone, 2, 1));
  EXPECT_EQ(RunToEnd(), 1);
  EXPECT_EQ(animator.GetCardCount(SevenCardsAnimator::kCommunityPlace), 0);
  EXPECT_FALSE(animator.StartFoldAll(0.0, true, window, kCardsDone, 2, 1)) << "nothing left to fold";
}

TEST_F(StudAnimatorTest, places_and_cards_out_of_range_are_refused) {
  const uint8_t hand[7] = {1, 2, 3, 4, 5, 6, 7};
  animator.SetHand(-1, 3, hand);
  animator.SetHand(9, 3, hand);
  animator.SetHand(4, 12, hand);
  EXPECT_EQ(animator.GetCardCount(4), 7) << "a count is capped at seven";
  RECT rect{};
  EXPECT_FALSE(animator.GetCardRect(4, 7, &rect));
  EXPECT_FALSE(animator.GetCardRect(8, 0, &rect));
  EXPECT_FALSE(animator.GetCardRect(-1, 0, &rect));
  EXPECT_EQ(animator.GetCardState(12, 0), -1);
  EXPECT_EQ(animator.CountChangedCards(9), 0);
  EXPECT_FALSE(animator.GetMovingCardRect(4, 0, &rect));
  const int32_t bad_seats[2] = {8, -3};
  EXPECT_FALSE(animator.StartFoldSeats(2, bad_seats, 0.0, true, window, kCardsDone, 2, 1));
  EXPECT_FALSE(animator.StartFoldSeat(200, 0.0, true, window, kCardsDone, 2, 1));
}

}  // namespace
