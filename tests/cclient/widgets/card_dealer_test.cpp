#include "cclient/widgets/card_dealer.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "cclient/widgets/card_painter.h"
#include "cclient/widgets/card_sheet.h"
#include "platform/draw/gdi.h"
#include "platform/draw/png_writer.h"
#include "platform/system/paths.h"
#include "platform/window/headless.h"
#include "platform/window/message_queue.h"
#include "platform/window/window.h"
#include "tests/cclient/widgets/card_fixtures.h"
#include "tests/platform/draw/memory_picture.h"
#include "tests/support/temp_program_folder.h"

namespace {

using platform::RECT;

constexpr uint32_t kCardsArrived = 9000;
constexpr float kTick = 1.0f / 64.0f;

platform::LRESULT PlainProcedure(platform::HWND hwnd, platform::UINT message, platform::WPARAM wParam,
                                 platform::LPARAM lParam) {
  return platform::DefWindowProc(hwnd, message, wParam, lParam);
}

// The Hold'em hand dealer's geometry: ten seats around a 800 x 580 table, the deck in the middle.
const int32_t kDeckX[] = {372};
const int32_t kDeckY[] = {150};
const int32_t kSeatX[] = {470, 620, 680, 620, 470, 250, 100, 40, 100, 250};
const int32_t kSeatY[] = {420, 380, 250, 110, 40, 40, 110, 250, 380, 420};

CardDealerSetup HoldemHands() {
  CardDealerSetup setup;
  setup.deck_origin_count = 1;
  setup.deck_x = kDeckX;
  setup.deck_y = kDeckY;
  setup.seat_count = 10;
  setup.seat_x = kSeatX;
  setup.seat_y = kSeatY;
  setup.step_x = 3;
  setup.step_y = 2;
  setup.alt_step_x = 20;
  setup.cards_per_seat = 2;
  setup.deal_passes = 2;
  setup.fly_face_down = true;
  setup.reverse_order = true;
  setup.flight_time = 0.1f;
  setup.seat_gap = 0.03f;
  return setup;
}

class CardDealerTest : public ProgramFolderTest {
 protected:
  void SetUp() override {
    platform::headless::Reset();
    platform::WNDCLASS window_class;
    window_class.lpfnWndProc = PlainProcedure;
    window_class.lpszClassName = "CardDealerTestWindow";
    (void)platform::RegisterClass(&window_class);
    window = platform::CreateWindow("CardDealerTestWindow", "table", 0, 0, 0, 200, 100, nullptr, nullptr, nullptr,
                                    nullptr);
    ASSERT_NE(window, nullptr);
    folder_.WriteFile("cardssml.b", FaceSheetBmp(56, 78).Bytes());
    folder_.WriteFile("cardbacs.b", BackBmp(56, 78).Bytes());
    folder_.WriteFile("4000.b", BackBmp(56, 78).Bytes());
    ASSERT_EQ(sheet.Load("cardssml.b", "cardbacs.b"), nullptr);
    ASSERT_TRUE(painter.Load(&sheet, "4000.b", 1));
  }
  void TearDown() override { platform::headless::Reset(); }

  int TakeArrivals() {
    int posts = 0;
    platform::MSG message;
    while (platform::PeekMessage(&message, window, kCardsArrived, kCardsArrived, platform::PM_REMOVE)) {
      EXPECT_EQ(message.wParam, 1u);
      ++posts;
    }
    return posts;
  }

  // One frame of the owner: advance, erase, draw, end the frame.
  void Frame(CardDealer& dealer, float seconds) {
    dealer.Update(seconds);
    dealer.EraseCards(back_buffer.dc, background.dc);
    dealer.Draw(back_buffer.dc, &painter, true, true, true, nullptr);
    dealer.ClearChangedFlags();
  }

  platform::HWND window = nullptr;
  CardSheet sheet;
  CardPainter painter;
  MemoryPicture back_buffer{800, 580};
  MemoryPicture background{800, 580};
};

std::vector<uint8_t> AllPresent(int32_t cards) { return std::vector<uint8_t>(static_cast<size_t>(cards), 0); }

TEST_F(CardDealerTest, a_holdem_deal_posts_its_message_at_the_tick_the_last_card_arrives) {
  CardDealer dealer(HoldemHands());
  const std::vector<uint8_t> present = AllPresent(20);
  dealer.SetHands(nullptr, nullptr, present.data());
  ASSERT_TRUE(dealer.StartDeal(-1, 0.0f, true, window, kCardsArrived, 1, 0, true));

  // Seats 9 .. 0 leave 0.03 s apart in each pass, the second pass 0.30 s after the first; each
  // flight is 0.1 s scaled by the seat's distance from the deck against the farthest seat's.
  double farthest = 0.0;
  double distance[10];
  for (int seat = 0; seat < 10; ++seat) {
    distance[seat] = std::hypot(kSeatX[seat] - kDeckX[0], kSeatY[seat] - kDeckY[0]);
    farthest = std::max(farthest, distance[seat]);
  }
  double last_arrival = 0.0;
  for (int seat = 0; seat < 10; ++seat) {
    const double second_pass_offset = 0.30 + (9 - seat) * 0.03;
    last_arrival = std::max(last_arrival, second_pass_offset + 0.1 * distance[seat] / farthest);
  }
  const double ticks = last_arrival * 64.0;
  ASSERT_GT(std::fabs(ticks - std::round(ticks)), 0.01) << "the arrival must not fall on a tick";
  const int expected_tick = static_cast<int>(std::ceil(ticks));

  int posted_at = -1;
  for (int tick = 1; tick <= 80; ++tick) {
    Frame(dealer, kTick);
    const int posts = TakeArrivals();
    if (posts > 0) {
      EXPECT_EQ(posts, 1);
      EXPECT_EQ(posted_at, -1) << "posted twice";
      posted_at = tick;
    }
    EXPECT_EQ(dealer.HasPendingMessage(), posted_at < 0) << tick;
  }
  EXPECT_EQ(posted_at, expected_tick);
  EXPECT_TRUE(dealer.IsIdle());
  // Every card rests at its seat's place on the normal layout.
  for (int seat = 0; seat < 10; ++seat) {
    for (int card = 0; card < 2; ++card) {
      RECT rect{};
      ASSERT_TRUE(dealer.GetCardRect(&rect, seat, card));
      EXPECT_EQ(rect.left, kSeatX[seat] + 3 * card);
      EXPECT_EQ(rect.top, kSeatY[seat] + 2 * card);
      EXPECT_EQ(rect.right, rect.left + 55);
    }
  }
}

TEST_F(CardDealerTest, passes_deal_seats_in_reverse_order_with_the_seat_gap) {
  CardDealer dealer(HoldemHands());
  const std::vector<uint8_t> present = AllPresent(20);
  dealer.SetHands(nullptr, nullptr, present.data());
  ASSERT_TRUE(dealer.StartDeal(-1, 0.0f, false, nullptr, 0, 0, 0, false));
  // A card that has left the deck is marked every tick until it arrives; the first tick it is
  // marked is the first tick past its start offset.
  constexpr float kFine = 1.0f / 256.0f;
  int left_at[10][2];
  for (auto& seat : left_at) seat[0] = seat[1] = -1;
  for (int tick = 1; tick <= 256; ++tick) {
    dealer.Update(kFine);
    for (int seat = 0; seat < 10; ++seat) {
      for (int card = 0; card < 2; ++card) {
        if (left_at[seat][card] < 0 && dealer.IsCardDirty(seat, card)) left_at[seat][card] = tick;
      }
    }
    dealer.Draw(back_buffer.dc, &painter, true, true, true, nullptr);
  }
  for (int seat = 0; seat < 10; ++seat) {
    const double first = (9 - seat) * 0.03;
    const double second = 0.30 + (9 - seat) * 0.03;
    EXPECT_EQ(left_at[seat][0], static_cast<int>(std::floor(first * 256.0)) + 1) << seat;
    EXPECT_EQ(left_at[seat][1], static_cast<int>(std::floor(second * 256.0)) + 1) << seat;
  }
}

TEST_F(CardDealerTest, a_seat_at_half_the_distance_flies_half_as_long) {
  const int32_t deck_x[] = {0};
  const int32_t deck_y[] = {0};
  const int32_t seat_x[] = {100, 0, 30};
  const int32_t seat_y[] = {0, 50, 40};
  CardDealerSetup setup;
  setup.deck_x = deck_x;
  setup.deck_y = deck_y;
  setup.seat_count = 3;
  setup.seat_x = seat_x;
  setup.seat_y = seat_y;
  setup.cards_per_seat = 1;
  setup.flight_time = 0.5f;
  CardDealer dealer(setup);
  const std::vector<uint8_t> present = AllPresent(3);
  dealer.SetHands(nullptr, nullptr, present.data());
  ASSERT_TRUE(dealer.StartDeal(0, 0.0f, false, nullptr, 0, 0, 0, true));
  int arrived_at[3] = {-1, -1, -1};
  for (int tick = 1; tick <= 40; ++tick) {
    dealer.Update(kTick);
    for (int seat = 0; seat < 3; ++seat) {
      if (arrived_at[seat] < 0 && !dealer.IsCardInFlight(seat, 0)) arrived_at[seat] = tick;
    }
  }
  EXPECT_EQ(arrived_at[0], 32);  // 100 pixels: the whole 0.5 s
  EXPECT_EQ(arrived_at[1], 16);  // 50 pixels: 0.25 s
  EXPECT_EQ(arrived_at[2], 16);  // 50 pixels again

  setup.constant_flight = true;
  CardDealer constant(setup);
  constant.SetHands(nullptr, nullptr, present.data());
  ASSERT_TRUE(constant.StartDeal(0, 0.0f, false, nullptr, 0, 0, 0, true));
  for (int tick = 1; tick < 32; ++tick) constant.Update(kTick);
  EXPECT_TRUE(constant.IsCardInFlight(1, 0));
  constant.Update(kTick);
  EXPECT_FALSE(constant.IsCardInFlight(1, 0));
}

TEST_F(CardDealerTest, a_negative_delay_puts_every_card_in_place_at_once_and_posts_nothing) {
  CardDealer dealer(HoldemHands());
  std::vector<uint8_t> empty = AllPresent(20);
  empty[1] = empty[3] = 1;  // seats 0 and 1 hold one card
  dealer.SetHands(nullptr, nullptr, empty.data());
  ASSERT_TRUE(dealer.StartDeal(-1, -1.0f, true, window, kCardsArrived, 1, 0, true));
  EXPECT_TRUE(dealer.IsIdle());
  EXPECT_FALSE(dealer.HasPendingMessage());
  Frame(dealer, kTick);
  EXPECT_EQ(TakeArrivals(), 0);
  RECT rect{};
  ASSERT_TRUE(dealer.GetCardRect(&rect, 4, 1));
  EXPECT_EQ(rect.left, kSeatX[4] + 3);
  EXPECT_EQ(rect.top, kSeatY[4] + 2);
  EXPECT_EQ(dealer.GetCardCount(0), 1);
  EXPECT_FALSE(dealer.HasCard(0, 1));
  EXPECT_TRUE(dealer.HasCard(0, 0));
}

TEST_F(CardDealerTest, a_second_deal_waits_for_stop_and_more_deals_for_the_end_of_the_first) {
  CardDealerSetup setup = HoldemHands();
  CardDealer plain(setup);
  std::vector<uint8_t> empty = AllPresent(20);
  plain.SetHands(nullptr, nullptr, empty.data());
  EXPECT_FALSE(CardDealer(setup).StartDeal(-1, 0.0f, false, nullptr, 0, 0, 0, true)) << "no hands";
  ASSERT_TRUE(plain.StartDeal(-1, 0.0f, false, nullptr, 0, 0, 0, true));
  EXPECT_FALSE(plain.StartDeal(-1, 0.0f, false, nullptr, 0, 0, 0, true));
  plain.Stop(false);
  EXPECT_FALSE(plain.IsStarted());
  EXPECT_TRUE(plain.StartDeal(-1, 0.0f, false, nullptr, 0, 0, 0, true));
  for (int tick = 0; tick < 80; ++tick) plain.Update(kTick);
  const int32_t seats[] = {3};
  EXPECT_FALSE(plain.DealMore(1, seats, nullptr, nullptr, -1, 0.0f, false, nullptr, 0, 0, 0))
      << "more deals not allowed";

  // The board: five seats of one card, the flop first, then the turn.
  const int32_t board_x[] = {250, 310, 370, 430, 490};
  const int32_t board_y[] = {200, 200, 200, 200, 200};
  CardDealerSetup board_setup;
  board_setup.more_deals_allowed = true;
  board_setup.deck_x = kDeckX;
  board_setup.deck_y = kDeckY;
  board_setup.seat_count = 5;
  board_setup.seat_x = board_x;
  board_setup.seat_y = board_y;
  board_setup.cards_per_seat = 1;
  board_setup.flight_time = 0.25f;
  board_setup.constant_flight = true;
  CardDealer board(board_setup);
  const uint8_t up[5] = {1, 1, 1, 1, 1};
  const int32_t faces[5] = {12, 25, 38, 51, 0};
  const uint8_t flop_only[5] = {0, 0, 0, 1, 1};
  board.SetHands(up, faces, flop_only);
  ASSERT_TRUE(board.StartDeal(0, 0.0f, true, window, kCardsArrived, 1, 0, true));
  const int32_t turn[] = {3};
  EXPECT_FALSE(board.DealMore(1, turn, nullptr, nullptr, -1, 0.0f, true, window, kCardsArrived, 1, 0))
      << "the flop still flies";
  for (int tick = 0; tick < 16; ++tick) Frame(board, kTick);
  EXPECT_EQ(TakeArrivals(), 1);
  ASSERT_TRUE(board.DealMore(1, turn, nullptr, nullptr, -1, 0.0f, true, window, kCardsArrived, 1, 0));
  EXPECT_TRUE(board.IsCardInFlight(3, 0));
  EXPECT_FALSE(board.IsCardInFlight(0, 0)) << "cards on the table stay";
  int posted_at = -1;
  for (int tick = 1; tick <= 20 && posted_at < 0; ++tick) {
    Frame(board, kTick);
    if (TakeArrivals() == 1) posted_at = tick;
  }
  EXPECT_EQ(posted_at, 16);  // 0.25 s at 1/64 s a tick
  EXPECT_EQ(board.GetCard(3, 0), 51);
}

TEST_F(CardDealerTest, seats_and_cards_out_of_range_are_refused) {
  CardDealerSetup setup = HoldemHands();
  setup.more_deals_allowed = true;
  CardDealer dealer(setup);
  std::vector<uint8_t> empty = AllPresent(20);
  dealer.SetHands(nullptr, nullptr, empty.data());
  EXPECT_FALSE(dealer.StartDeal(10, 0.0f, false, nullptr, 0, 0, 0, true));
  EXPECT_FALSE(dealer.StartDeal(-2, 0.0f, false, nullptr, 0, 0, 0, true));
  ASSERT_TRUE(dealer.StartDeal(9, -1.0f, false, nullptr, 0, 0, 0, true));
  dealer.Update(kTick);

  const int32_t bad_seat[] = {10};
  const int32_t good_seat[] = {2};
  const int32_t bad_first[] = {-1};
  const int32_t bad_last[] = {2};
  EXPECT_FALSE(dealer.DealMore(1, bad_seat, nullptr, nullptr, -1, 0.0f, false, nullptr, 0, 0, 0));
  EXPECT_FALSE(dealer.DealMore(1, good_seat, bad_first, nullptr, -1, 0.0f, false, nullptr, 0, 0, 0));
  EXPECT_FALSE(dealer.DealMore(1, good_seat, nullptr, bad_last, -1, 0.0f, false, nullptr, 0, 0, 0));
  EXPECT_FALSE(dealer.DealMore(1, good_seat, nullptr, nullptr, 12, 0.0f, false, nullptr, 0, 0, 0));
  EXPECT_FALSE(dealer.PlaceCards(10, 0, 1));
  EXPECT_FALSE(dealer.PlaceCards(0, 0, 2));
  EXPECT_FALSE(dealer.RemoveCards(-1, 0));
  EXPECT_FALSE(dealer.RemoveCards(0, -1));

  EXPECT_EQ(dealer.GetCard(-1, 0), -1);
  EXPECT_EQ(dealer.GetCard(0, 2), -1);
  EXPECT_EQ(dealer.GetCardX(10, 0), -1);
  EXPECT_EQ(dealer.GetCardY(0, -1), -1);
  EXPECT_FALSE(dealer.IsFaceUp(0, 2));
  EXPECT_FALSE(dealer.HasCard(10, 0));
  EXPECT_FALSE(dealer.IsCardDirty(0, 5));
  EXPECT_FALSE(dealer.IsSeatDirty(11));
  RECT rect{7, 7, 7, 7};
  EXPECT_FALSE(dealer.GetCardScreenRect(0, 2, &rect));
  EXPECT_FALSE(dealer.GetCardRect(&rect, -3, 0));
  EXPECT_FALSE(dealer.GetSeatEraseRect(10, &rect));
  EXPECT_EQ(rect.left, 7);

  // Setters with bad indexes change nothing.
  dealer.SetCardFace(0, 2, 5);
  dealer.SetCardFace(12, 0, 5);
  dealer.MarkCardDirty(0, 9);
  dealer.SetSeatClipY(-1, 100);
  dealer.TurnFaceUp(40);
  dealer.SetCardRect(10, 0, 1, 2, 3, 4);
  const int32_t wild_order[10] = {0, 1, 2, 3, 4, 5, 6, 7, 8, 99};
  dealer.Draw(back_buffer.dc, &painter, true, true, true, wild_order);
  EXPECT_EQ(dealer.GetCardCount(0), 2);
}

TEST_F(CardDealerTest, a_flight_of_no_length_arrives_as_the_card_leaves) {
  CardDealer dealer(HoldemHands());
  ASSERT_TRUE(dealer.SetFlightTime(0.0f));
  std::vector<uint8_t> empty = AllPresent(20);
  dealer.SetHands(nullptr, nullptr, empty.data());
  ASSERT_TRUE(dealer.StartDeal(-1, 0.0f, true, window, kCardsArrived, 1, 0, true));
  int posted_at = -1;
  for (int tick = 1; tick <= 64 && posted_at < 0; ++tick) {
    dealer.Update(kTick);
    // A card is on the deck until it leaves, then at its place at once, never part way.
    for (int seat = 0; seat < 10; ++seat) {
      RECT rect{};
      ASSERT_TRUE(dealer.GetCardScreenRect(seat, 0, &rect));
      EXPECT_TRUE(rect.left == kDeckX[0] || rect.left == kSeatX[seat]) << rect.left;
      EXPECT_EQ(rect.left == kSeatX[seat], !dealer.IsCardInFlight(seat, 0)) << seat;
    }
    dealer.Draw(back_buffer.dc, &painter, true, true, true, nullptr);
    if (TakeArrivals() == 1) posted_at = tick;
  }
  // The last card leaves at 0.57 s: the first tick past it.
  EXPECT_EQ(posted_at, static_cast<int>(std::floor(0.57 * 64.0)) + 1);
}

TEST_F(CardDealerTest, erasing_a_card_repaints_the_cards_it_overlapped_and_those_above_them) {
  // Two seats whose hands overlap, and one apart from them.
  const int32_t seat_x[] = {100, 130, 400};
  const int32_t seat_y[] = {100, 110, 300};
  CardDealerSetup setup;
  setup.deck_x = kDeckX;
  setup.deck_y = kDeckY;
  setup.seat_count = 3;
  setup.seat_x = seat_x;
  setup.seat_y = seat_y;
  setup.step_x = 15;
  setup.cards_per_seat = 3;
  setup.flight_time = 0.1f;
  CardDealer dealer(setup);
  dealer.SetRedrawAll(false);
  std::vector<uint8_t> empty = AllPresent(9);
  dealer.SetHands(nullptr, nullptr, empty.data());
  ASSERT_TRUE(dealer.StartDeal(-1, -1.0f, false, nullptr, 0, 0, 0, true));
  Frame(dealer, kTick);
  Frame(dealer, kTick);
  for (int seat = 0; seat < 3; ++seat) {
    for (int card = 0; card < 3; ++card) EXPECT_FALSE(dealer.IsCardDirty(seat, card));
  }
  // Seat 0's last card (x 130 to 185) is taken away: the cards under it and those above them are
  // repainted; the seat apart is not.
  ASSERT_TRUE(dealer.RemoveCards(0, 2));
  RECT erase{};
  ASSERT_TRUE(dealer.GetSeatEraseRect(0, &erase));
  EXPECT_EQ(erase.left, 130);
  EXPECT_EQ(erase.right, 185);
  EXPECT_EQ(dealer.EraseCards(back_buffer.dc, background.dc), 1);
  EXPECT_TRUE(dealer.IsCardDirty(0, 0));
  EXPECT_TRUE(dealer.IsCardDirty(0, 1));
  EXPECT_FALSE(dealer.IsCardDirty(0, 2)) << "no card there any more";
  for (int card = 0; card < 3; ++card) EXPECT_TRUE(dealer.IsCardDirty(1, card)) << card;
  for (int card = 0; card < 3; ++card) EXPECT_FALSE(dealer.IsCardDirty(2, card)) << card;
  EXPECT_TRUE(dealer.Draw(back_buffer.dc, &painter, true, true, true, nullptr));
  RECT changed{};
  EXPECT_FALSE(dealer.GetChangedCardRect(1, 0, &changed)) << "a repaint for an overlap is not a change";

  // A new face repaints the card and the ones above it.
  dealer.SetCardFace(1, 1, 30);
  EXPECT_TRUE(dealer.GetChangedCardRect(1, 1, &changed));
  EXPECT_TRUE(dealer.IsCardDirty(1, 2));
  EXPECT_FALSE(dealer.IsCardDirty(1, 0));
  EXPECT_FALSE(dealer.GetChangedCardRect(1, 2, &changed));
}

TEST_F(CardDealerTest, cards_taken_away_after_a_stop_are_still_erased_where_they_were_drawn) {
  CardDealer dealer(HoldemHands());
  dealer.SetRedrawAll(false);
  std::vector<uint8_t> present = AllPresent(20);
  dealer.SetHands(nullptr, nullptr, present.data());
  ASSERT_TRUE(dealer.StartDeal(-1, -1.0f, false, nullptr, 0, 0, 0, true));
  Frame(dealer, kTick);
  Frame(dealer, kTick);
  // The end of a hand: the dealer stops with a repaint, then its cards are taken away.
  dealer.Stop(true);
  for (int seat = 0; seat < 10; ++seat) ASSERT_TRUE(dealer.RemoveCards(seat, 0));
  RECT erase{};
  ASSERT_TRUE(dealer.GetCardEraseRect(4, 0, &erase));
  EXPECT_EQ(erase.left, 470);
  EXPECT_EQ(erase.top, 40);
  EXPECT_EQ(dealer.EraseCards(back_buffer.dc, background.dc), 20) << "every drawn card is erased";
}

TEST_F(CardDealerTest, face_up_seats_use_the_alternative_layout) {
  CardDealer dealer(HoldemHands());
  std::vector<uint8_t> face_up(20, 0);
  face_up[0] = face_up[1] = 1;  // seat 0, right of the deck
  face_up[14] = face_up[15] = 1;  // seat 7, left of it
  std::vector<int32_t> faces(20, -1);
  faces[0] = faces[1] = faces[14] = faces[15] = 7;
  std::vector<uint8_t> empty = AllPresent(20);
  dealer.SetHands(face_up.data(), faces.data(), empty.data());
  ASSERT_TRUE(dealer.StartDeal(-1, -1.0f, false, nullptr, 0, 0, 0, true));
  EXPECT_TRUE(dealer.UsesAltLayout(0));
  EXPECT_FALSE(dealer.UsesAltLayout(1));
  // Right of the deck the hand starts one alternative step to the left.
  EXPECT_EQ(dealer.GetCardX(0, 0), kSeatX[0] - 20);
  EXPECT_EQ(dealer.GetCardX(0, 1), kSeatX[0]);
  EXPECT_EQ(dealer.GetCardY(0, 1), kSeatY[0]);
  EXPECT_EQ(dealer.GetCardX(7, 1), kSeatX[7] + 20);
  EXPECT_EQ(dealer.GetCardX(1, 1), kSeatX[1] + 3);
  EXPECT_TRUE(dealer.IsHiddenCardAtRest(1, 0));
  EXPECT_FALSE(dealer.IsHiddenCardAtRest(0, 0));
  dealer.TurnFaceDown(0);
  EXPECT_FALSE(dealer.UsesAltLayout(0));
  EXPECT_TRUE(dealer.IsCardDirty(0, 1));
}

TEST_F(CardDealerTest, raised_cards_rise_by_the_distance_over_the_duration) {
  CardDealerSetup setup = HoldemHands();
  setup.cards_per_seat = 4;
  setup.deal_passes = 4;
  setup.alt_step_x = 11;
  CardDealer dealer(setup);
  std::vector<uint8_t> face_up(40, 0);
  for (int card = 0; card < 4; ++card) face_up[card] = 1;
  const std::vector<int32_t> faces(40, 3);
  std::vector<uint8_t> empty = AllPresent(40);
  dealer.SetHands(face_up.data(), faces.data(), empty.data());
  ASSERT_TRUE(dealer.StartDeal(-1, -1.0f, false, nullptr, 0, 0, 0, true));
  Frame(dealer, kTick);
  dealer.SetRaiseParams(10, 0.25);
  dealer.SetSeatRaise(0, true, false);
  const uint8_t marks[4] = {0, 1, 0, 1};
  dealer.SetRaiseMarks(0, marks);
  ASSERT_TRUE(dealer.StartRaise());
  for (int tick = 0; tick < 8; ++tick) Frame(dealer, kTick);  // 0.125 s: half way
  RECT rect{};
  ASSERT_TRUE(dealer.GetCardRect(&rect, 0, 1));
  EXPECT_EQ(rect.top, kSeatY[0] - 5);
  // Unmarked cards come down from the raised place to their own.
  ASSERT_TRUE(dealer.GetCardRect(&rect, 0, 0));
  EXPECT_EQ(rect.top, kSeatY[0] - 5);
  EXPECT_EQ(rect.left, kSeatX[0] - 11);
  for (int tick = 0; tick < 8; ++tick) Frame(dealer, kTick);
  ASSERT_TRUE(dealer.GetCardRect(&rect, 0, 3));
  EXPECT_EQ(rect.top, kSeatY[0] - 10);
  ASSERT_TRUE(dealer.GetCardRect(&rect, 0, 2));
  EXPECT_EQ(rect.top, kSeatY[0]);
  EXPECT_TRUE(dealer.IsIdle());
}

// A picture for a person to look at: a Hold'em deal part way, and the dealt hands with the
// player's own hand face up on the larger layout.
TEST_F(CardDealerTest, picture_of_a_dealt_hand) {
  background.Fill(platform::RGB(0, 90, 30));
  platform::BitBlt(back_buffer.dc, 0, 0, 800, 580, background.dc, 0, 0, platform::SRCCOPY);
  CardDealer dealer(HoldemHands());
  std::vector<uint8_t> face_up(20, 0);
  face_up[0] = face_up[1] = 1;
  std::vector<int32_t> faces(20, -1);
  faces[0] = 0;
  faces[1] = 25;
  std::vector<uint8_t> empty = AllPresent(20);
  empty[10] = empty[11] = 1;  // seat 5 is free
  dealer.SetHands(face_up.data(), faces.data(), empty.data());
  ASSERT_TRUE(dealer.StartDeal(-1, 0.0f, true, window, kCardsArrived, 1, 0, true));
  for (int tick = 0; tick < 24; ++tick) Frame(dealer, kTick);
  EXPECT_TRUE(platform::SaveDCPng(back_buffer.dc, platform::ProgramFolder() + "card_dealer_in_flight.png"));
  for (int tick = 0; tick < 40; ++tick) Frame(dealer, kTick);
  EXPECT_EQ(TakeArrivals(), 1);
  EXPECT_TRUE(platform::SaveDCPng(back_buffer.dc, platform::ProgramFolder() + "card_dealer_hand.png"));
  // The picture holds nothing but the felt where no card rests.
  EXPECT_EQ(back_buffer.At(kDeckX[0] + 10, kDeckY[0] + 10), platform::RGB(0, 90, 30));
  EXPECT_NE(back_buffer.At(kSeatX[3] + 10, kSeatY[3] + 10), platform::RGB(0, 90, 30));
  EXPECT_EQ(back_buffer.At(kSeatX[5] + 10, kSeatY[5] + 10), platform::RGB(0, 90, 30));
}

}  // namespace
