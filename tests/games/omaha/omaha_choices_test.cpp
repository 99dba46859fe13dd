// Omaha's own decisions: the option bar's plan (its ids and the selection it keeps), the cards
// that a single winner's nine bytes raise, and the wait after the winners show.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "cclient/games/omaha/omaha_choices.h"

namespace {

std::vector<int32_t> Enabled(const HoldemOptionPlan& plan) {
  std::vector<int32_t> ids(plan.enabled, plan.enabled + plan.enabled_count);
  std::sort(ids.begin(), ids.end());
  return ids;
}

HoldemOffer Offer(bool check, bool bet, bool call, bool raise, bool fold, uint32_t amount, uint32_t raise_to) {
  HoldemOffer o;
  o.check = check;
  o.bet = bet;
  o.call = call;
  o.raise = raise;
  o.fold = fold;
  o.bet_amount = amount;
  o.raise_amount = raise_to;
  return o;
}

TEST(OmahaChoicesTest, option_bar_plan_uses_omaha_ids_and_keeps_the_selection) {
  struct Case {
    const char* name;
    HoldemOffer offer;
    bool fixed_limit;
    int32_t selected;
    std::vector<int32_t> enabled;
    int32_t select;
  };
  const Case cases[] = {
      {"check and bet, fixed limit", Offer(true, true, false, false, true, 200, 0), true, -1,
       {40, 41, 42, 43, 44, 45}, -1},
      // Hold'em thins a check next to a call out; Omaha offers both.
      {"check and call side by side", Offer(true, false, true, false, true, 100, 0), false, -1, {40, 41, 42, 49}, -1},
      // And a bet next to a raise.
      {"bet and raise side by side", Offer(false, true, false, true, true, 100, 300), true, -1,
       {40, 44, 45, 47, 48}, -1},
      {"a bet of 0 offers neither bet option", Offer(false, true, false, false, true, 0, 0), true, -1, {40}, -1},
      {"a raise to 0 offers neither raise option", Offer(false, false, true, true, true, 100, 0), true, -1,
       {40, 49, 50}, -1},
      {"check/call any becomes call any", Offer(false, false, true, false, true, 100, 0), true, 43, {40, 49, 50}, 50},
      {"check/call any stays while check is offered", Offer(true, false, true, false, true, 100, 0), true, 43,
       {40, 41, 42, 43, 49, 50}, -1},
      {"bet/raise any becomes raise any", Offer(false, false, true, true, true, 100, 300), true, 45,
       {40, 47, 48, 49, 50}, 48},
      {"check/fold becomes fold", Offer(false, false, true, false, true, 100, 0), false, 42, {40, 49}, 40},
      // The option that is no longer offered stays selected: no clearing.
      {"a selection no longer offered stays", Offer(false, false, true, false, false, 100, 0), false, 41, {49}, -1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const HoldemOptionPlan plan = OmahaChoices_PlanOptionBar(c.offer, c.fixed_limit, false, c.selected);
    EXPECT_EQ(Enabled(plan), c.enabled);
    EXPECT_EQ(plan.select, c.select);
    EXPECT_FALSE(plan.clear_selection);
    EXPECT_FALSE(plan.IsEnabled(46));
  }
  const HoldemOptionPlan plan = OmahaChoices_PlanOptionBar(Offer(false, false, true, true, true, 250, 500), false, false, -1);
  ASSERT_NE(plan.LabelOf(OMAHA_OPTION_CALL), nullptr);
  EXPECT_STREQ(plan.LabelOf(OMAHA_OPTION_CALL), "Call $2.50");
  ASSERT_NE(plan.LabelOf(OMAHA_OPTION_RAISE), nullptr);
  EXPECT_STREQ(plan.LabelOf(OMAHA_OPTION_RAISE), "Raise To $5");
  // Each Omaha id is Hold'em's for the same option less 2.
  EXPECT_EQ(OMAHA_OPTION_CALL_ANY - kOmahaOptionShift, HOLDEM_OPTION_CALL_ANY);
  EXPECT_EQ(OMAHA_OPTION_FOLD - kOmahaOptionShift, HOLDEM_OPTION_FOLD);
}

TEST(OmahaChoicesTest, nine_card_bytes_pick_the_raised_board_and_hole_cards) {
  const int8_t board[5] = {10, 20, 30, 40, 50};
  const int8_t hole[4] = {1, 2, 3, 4};
  struct Case {
    const char* name;
    int8_t nine[9];
    uint8_t board_marks[5];
    uint8_t hole_marks[4];
  };
  const Case cases[] = {
      {"two from the hand, three from the board", {2, 20, 4, 40, 50, -1, -1, -1, -1}, {0, 1, 0, 1, 1}, {0, 1, 0, 1}},
      {"order does not matter", {-1, 50, -1, 3, 10, -1, 1, 30, -1}, {1, 0, 1, 0, 1}, {1, 0, 1, 0}},
      {"a byte counts for one card only", {20, 20, 2, 2, -1, -1, -1, -1, -1}, {0, 1, 0, 0, 0}, {0, 1, 0, 0}},
      {"no card bytes: nothing rises", {-1, -1, -1, -1, -1, -1, -1, -1, -1}, {0, 0, 0, 0, 0}, {0, 0, 0, 0}},
      {"52 and above are no cards", {52, 127, -128, 20, 2, -1, -1, -1, -1}, {0, 1, 0, 0, 0}, {0, 1, 0, 0}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const OmahaWinningMarks marks = OmahaChoices_MatchWinningCards(c.nine, board, hole);
    EXPECT_TRUE(std::equal(marks.board, marks.board + 5, c.board_marks));
    EXPECT_TRUE(std::equal(marks.hole, marks.hole + 4, c.hole_marks));
  }
  // An unknown board card or hole card (-1) is not matched against a no-card byte.
  const int8_t open_board[5] = {10, 20, 30, -1, -1};
  const int8_t hidden[4] = {-1, -1, -1, -1};
  const int8_t nine[9] = {10, -1, -1, -1, -1, -1, -1, -1, -1};
  const OmahaWinningMarks marks = OmahaChoices_MatchWinningCards(nine, open_board, hidden);
  const uint8_t board_want[5] = {1, 0, 0, 0, 0};
  const uint8_t hole_want[4] = {0, 0, 0, 0};
  EXPECT_TRUE(std::equal(marks.board, marks.board + 5, board_want));
  EXPECT_TRUE(std::equal(marks.hole, marks.hole + 4, hole_want));
  // The raise needs a byte that is not a card.
  const int8_t full[9] = {0, 1, 2, 3, 4, 5, 6, 7, 51};
  const int8_t one_short[9] = {0, 1, 2, 3, 4, 5, 6, 7, 52};
  EXPECT_FALSE(OmahaChoices_HandHasNoCard(full));
  EXPECT_TRUE(OmahaChoices_HandHasNoCard(one_short));
}

TEST(OmahaChoicesTest, wait_after_the_winners_follows_the_timer) {
  struct Case {
    uint32_t timer;
    bool rake, kind1_house;
    double wait;
  };
  const Case cases[] = {
      {5, false, false, 3.3}, {5, true, false, 1.3}, {6, false, true, 3.3}, {6, true, true, 1.3},
      {5, true, true, 1.0},   {0, false, false, 1.0}, {2, false, false, 1.0}, {30, false, false, 28.3},
  };
  for (const Case& c : cases) {
    EXPECT_NEAR(OmahaChoices_WinnerWait(c.timer, c.rake, c.kind1_house), c.wait, 1e-9)
        << c.timer << " " << c.rake << " " << c.kind1_house;
  }
}

}  // namespace
