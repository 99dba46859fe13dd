#include "cclient/games/holdem/holdem_choices.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "cclient/widgets/holdem_option_bar.h"

namespace {

HoldemOffer Offer(const char* kinds, uint32_t bet = 0, uint32_t raise = 0, uint32_t max = 0) {
  HoldemOffer o;
  for (const char* k = kinds; *k != '\0'; ++k) {
    switch (*k) {
      case 'b': o.bet = true; break;
      case 'c': o.call = true; break;
      case 'k': o.check = true; break;
      case 'r': o.raise = true; break;
      case '2': o.raise2 = true; break;
      case '3': o.raise3 = true; break;
      case 'f': o.fold = true; break;
      default: ADD_FAILURE() << "unknown kind " << *k;
    }
  }
  o.bet_amount = bet;
  o.raise_amount = raise;
  o.max_amount = max;
  return o;
}

// ---- Clicks ----

struct ClickCase {
  const char* name;
  int32_t id;
  const char* kinds;
  bool check_shown;
  HoldemCommand command;
  int32_t button;
  uint32_t amount;
};

TEST(HoldemChoicesTest, action_bar_click_maps_to_the_packet_it_sends) {
  const ClickCase cases[] = {
      {"check", 16, "kf", true, HoldemCommand::kSendAction, 16, 0},
      {"bet sends the bet amount", 17, "bf", false, HoldemCommand::kSendAction, 17, 250},
      {"call sends the call amount", 19, "cf", false, HoldemCommand::kSendAction, 19, 250},
      {"raise sends the raise-to amount", 21, "crf", false, HoldemCommand::kSendAction, 21, 500},
      {"raise as the re-raise", 21, "c2f", false, HoldemCommand::kSendAction, 23, 500},
      {"raise as the cap", 21, "c3f", false, HoldemCommand::kSendAction, 26, 500},
      {"plain raise preferred", 21, "cr23f", false, HoldemCommand::kSendAction, 21, 500},
      {"complete to", 25, "cf", false, HoldemCommand::kSendAction, 25, 0},
      {"fold while check is shown asks first", 28, "kf", true, HoldemCommand::kFoldConfirm, 0, 0},
      {"fold", 28, "cf", false, HoldemCommand::kSendAction, 28, 0},
      {"sit out", 29, "", false, HoldemCommand::kSendAction, 29, 0},
      {"post small", 30, "", false, HoldemCommand::kSendAction, 30, 0},
      {"post big", 31, "", false, HoldemCommand::kSendAction, 31, 0},
      {"post now", 35, "", false, HoldemCommand::kSendAction, 35, 0},
      {"wait for big blind", 36, "", false, HoldemCommand::kSendAction, 36, 0},
      {"post dead", 37, "", false, HoldemCommand::kSendAction, 37, 0},
      {"post after the dealer passed", 40, "", false, HoldemCommand::kSendAction, 40, 0},
      {"I am back", 32, "", false, HoldemCommand::kSendIAmBack, 0, 0},
      {"play now", 41, "", false, HoldemCommand::kSendPlayNow, 0, 0},
      {"show", 33, "", false, HoldemCommand::kSendShowMuck, 33, 0},
      {"muck", 34, "", false, HoldemCommand::kSendShowMuck, 34, 0},
      {"raise amount window", 38, "crf", false, HoldemCommand::kOpenRaiseWindow, 0, 0},
      {"bet amount window", 39, "bf", false, HoldemCommand::kOpenBetWindow, 0, 0},
  };
  for (const ClickCase& c : cases) {
    SCOPED_TRACE(c.name);
    const HoldemChoice a = HoldemChoices_ActionBarClick(c.id, Offer(c.kinds, 250, 500, 2000), c.check_shown);
    EXPECT_EQ(a.command, c.command);
    EXPECT_EQ(a.button, c.button);
    EXPECT_EQ(a.amount, c.amount);
  }
}

TEST(HoldemChoicesTest, pop_up_click_maps_to_the_packet_it_sends) {
  const ClickCase cases[] = {
      {"fold confirmation: fold", 8, "kf", false, HoldemCommand::kSendAction, 28, 0},
      {"fold confirmation: check", 9, "kf", false, HoldemCommand::kSendAction, 16, 0},
      {"bring more money", 10, "", false, HoldemCommand::kMoreMoney, 0, 0},
      {"sit out", 11, "", false, HoldemCommand::kSendAction, 29, 0},
      {"post small", 12, "", false, HoldemCommand::kSendAction, 30, 0},
      {"bet window: bet", 13, "bf", false, HoldemCommand::kSendAction, 17, 1234},
      {"bet window: raise", 14, "crf", false, HoldemCommand::kSendAction, 21, 1234},
      {"bet window: re-raise", 14, "c2f", false, HoldemCommand::kSendAction, 23, 1234},
      {"bet window: close", 15, "bf", false, HoldemCommand::kCloseBetWindow, 0, 0},
      {"unknown id", 99, "bf", false, HoldemCommand::kNothing, 0, 0},
  };
  for (const ClickCase& c : cases) {
    SCOPED_TRACE(c.name);
    const HoldemChoice a = HoldemChoices_PopUpClick(c.id, Offer(c.kinds, 250, 500, 2000), 1234);
    EXPECT_EQ(a.command, c.command);
    EXPECT_EQ(a.button, c.button);
    EXPECT_EQ(a.amount, c.amount);
  }
}

TEST(HoldemChoicesTest, enter_in_the_bet_window_bets_unless_a_raise_is_offered) {
  EXPECT_EQ(HoldemChoices_BetWindowEnter(Offer("bf"), 700).button, 17);
  EXPECT_EQ(HoldemChoices_BetWindowEnter(Offer("crf"), 700).button, 21);
  EXPECT_EQ(HoldemChoices_BetWindowEnter(Offer("c3f"), 700).button, 26);
  EXPECT_EQ(HoldemChoices_BetWindowEnter(Offer("c3f"), 700).amount, 700u);
}

// ---- Seat options ----

uint32_t Bits(std::initializer_list<int32_t> ids) {
  uint32_t bits = 0;
  for (int32_t id : ids) bits |= 1u << id;
  return bits;
}

TEST(HoldemChoicesTest, seat_option_buttons_show_one_of_each_pair) {
  struct Case {
    const char* name;
    bool seated, tournament;
    HoldemSeatOptions options;
    uint32_t shown;
  } cases[] = {
      {"not seated", false, false, {true, true, true, true}, 0},
      {"all off", true, false, {false, false, false, false}, Bits({0, 1, 2})},
      {"all on", true, false, {true, true, false, true}, Bits({3, 4, 5})},
      {"tournament forces auto-post", true, true, {false, false, false, true}, Bits({3, 6, 5})},
      {"tournament sit-out on", true, true, {true, true, true, false}, Bits({3, 7, 2})},
  };
  for (Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(HoldemChoices_SeatOptionButtons(c.seated, c.tournament, &c.options), c.shown);
  }
  HoldemSeatOptions options{false, false, false, true};
  (void)HoldemChoices_SeatOptionButtons(true, true, &options);
  EXPECT_TRUE(options.auto_post);
}

TEST(HoldemChoicesTest, seat_option_click_changes_options_and_may_send) {
  struct Case {
    const char* name;
    int32_t id;
    HoldemBarButtons shown;
    HoldemSeatOptions before, after;
    bool push;
    HoldemCommand command;
    int32_t button;
  } cases[] = {
      {"auto-post on, nothing shown", 0, {}, {false, true, true, true}, {true, false, false, true}, false,
       HoldemCommand::kNothing, 0},
      {"auto-post on with I am back shown", 0, {true, true, true}, {false, false, false, true},
       {true, false, false, true}, true, HoldemCommand::kSendIAmBack, 0},
      {"auto-post on with post small shown", 0, {false, true, true}, {}, {true, false, false, true}, true,
       HoldemCommand::kSendAction, 30},
      {"auto-post on with post big shown", 0, {false, false, true}, {}, {true, false, false, true}, true,
       HoldemCommand::kSendAction, 31},
      {"auto-post off", 3, {true, true, true}, {true, false, false, true}, {false, false, false, true}, false,
       HoldemCommand::kNothing, 0},
      {"sit out next hand with a blind shown sends sit out", 1, {false, false, true}, {true, false, false, true},
       {false, true, false, true}, true, HoldemCommand::kSendAction, 29},
      {"sit out next hand between hands", 1, {}, {true, false, false, true}, {false, true, false, true}, false,
       HoldemCommand::kNothing, 0},
      {"sit out off with I am back shown", 4, {true, false, false}, {false, true, false, true},
       {false, false, false, true}, true, HoldemCommand::kSendIAmBack, 0},
      {"tournament sit-out on", 6, {}, {true, false, false, true}, {false, false, true, true}, false,
       HoldemCommand::kNothing, 0},
      {"tournament sit-out off with I am back shown", 7, {true, false, false}, {false, false, true, true},
       {false, false, false, true}, true, HoldemCommand::kSendIAmBack, 0},
      {"auto-muck on", 2, {}, {false, false, false, false}, {false, false, false, true}, false,
       HoldemCommand::kNothing, 0},
      {"auto-muck off", 5, {}, {false, false, false, true}, {false, false, false, false}, false,
       HoldemCommand::kNothing, 0},
  };
  for (Case& c : cases) {
    SCOPED_TRACE(c.name);
    HoldemSeatOptions options = c.before;
    const HoldemSeatOptionEffect e = HoldemChoices_SeatOptionClick(c.id, c.shown, &options);
    EXPECT_EQ(options.auto_post, c.after.auto_post);
    EXPECT_EQ(options.sit_out_next, c.after.sit_out_next);
    EXPECT_EQ(options.tourney_sit_out, c.after.tourney_sit_out);
    EXPECT_EQ(options.auto_muck, c.after.auto_muck);
    EXPECT_EQ(e.push_bar, c.push);
    EXPECT_EQ(e.send.command, c.command);
    EXPECT_EQ(e.send.button, c.button);
  }
}

TEST(HoldemChoicesTest, sit_out_notice_goes_once_the_value_settled_between_hands) {
  struct Case {
    const char* name;
    bool on_change, seated, wanted, last;
    float since;
    bool in_hand;
    bool send;
  } cases[] = {
      {"not seated", false, false, true, false, 9, false, false},
      {"end of hand always sends", false, true, false, false, 0, true, true},
      {"unchanged", true, true, true, true, 9, false, false},
      {"changed, too soon", true, true, true, false, 0.49f, false, false},
      {"changed, settled", true, true, true, false, 0.5f, false, true},
      {"changed during a hand", true, true, true, false, 9, true, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(HoldemChoices_ShouldSendSitOut(c.on_change, c.seated, c.wanted, c.last, c.since, c.in_hand), c.send);
  }
}

// ---- Option bar ----

TEST(HoldemChoicesTest, option_labels_read_as_the_table_shows_money) {
  struct Case {
    const char* word;
    uint32_t amount;
    bool whole;
    const char* text;
  } cases[] = {
      {"Bet", 250, false, "Bet $2.50"},       {"Bet", 300, false, "Bet $3"},
      {"Bet", 75, false, "Bet $.75"},         {"Bet", 5, true, "Bet $5"},
      {"Call", 1005, false, "Call $10.05"},   {"Raise To", 100, false, "Raise To $1"},
      {"Raise To", 0, false, "Raise To $.00"}, {"Call", 4000000000u, false, "Call $40000000"},
  };
  for (const Case& c : cases) {
    char text[30];
    HoldemChoices_OptionLabel(text, sizeof text, c.word, c.amount, c.whole);
    EXPECT_STREQ(text, c.text);
  }
}

// The amount written into a label is the amount the option bar reads back when the turn comes,
// so a pre-selected bet or call acts exactly when the amount is still the same.
TEST(HoldemChoicesTest, label_amount_round_trips_through_the_option_bar) {
  for (uint32_t amount : {1u, 5u, 75u, 99u, 100u, 101u, 250u, 300u, 1234u, 99999u, 100000u, 2147483u}) {
    for (bool whole : {false, true}) {
      SCOPED_TRACE(std::to_string(amount) + (whole ? " whole units" : " cents"));
      for (const char* word : {"Bet", "Call", "Raise To"}) {
        char text[30];
        HoldemChoices_OptionLabel(text, sizeof text, word, amount, whole);
        const int32_t read = HoldemOptionBar::ParseOptionAmount(text);
        EXPECT_EQ(whole ? read / 100 : read, static_cast<int32_t>(amount)) << text;
      }
      HoldemTurnState state;
      state.offer = Offer("bf", amount);
      state.whole_units = whole;
      state.selected = HOLDEM_OPTION_BET;
      const HoldemOptionPlan plan = HoldemChoices_PlanOptionBar(state.offer, false, whole, -1);
      ASSERT_NE(plan.LabelOf(HOLDEM_OPTION_BET), nullptr);
      state.option_amount = HoldemOptionBar::ParseOptionAmount(plan.LabelOf(HOLDEM_OPTION_BET));
      EXPECT_EQ(HoldemChoices_AutoAction(state).button, HOLDEM_BUTTON_BET);
    }
  }
}

std::vector<int32_t> Sorted(const HoldemOptionPlan& plan) {
  std::vector<int32_t> ids(plan.enabled, plan.enabled + plan.enabled_count);
  std::sort(ids.begin(), ids.end());
  return ids;
}

TEST(HoldemChoicesTest, option_bar_offers_the_options_of_the_game_state) {
  struct Case {
    const char* name;
    HoldemOffer offer;
    bool fixed_limit;
    bool whole_units;
    int32_t selected;
    std::vector<int32_t> enabled;
    std::vector<std::pair<int32_t, std::string>> labels;
    int32_t select;
    bool clear;
  } cases[] = {
      {"check or fold, fixed limit", Offer("kf"), true, false, -1, {42, 43, 44, 45}, {}, -1, false},
      {"check or fold, no limit", Offer("kf"), false, false, -1, {42, 43, 44}, {}, -1, false},
      {"call, raise or fold, fixed limit", Offer("crf", 50, 100), true, false, -1, {42, 49, 50, 51, 52},
       {{51, "Call $.50"}, {49, "Raise To $1"}}, -1, false},
      {"call, re-raise or fold, no limit", Offer("c2f", 50, 150), false, false, -1, {42, 49, 51},
       {{51, "Call $.50"}, {49, "Raise To $1.50"}}, -1, false},
      {"bet and raise with a bet amount drop the raise", Offer("brkf", 250, 500), true, false, -1,
       {42, 43, 44, 45, 46, 47}, {{46, "Bet $2.50"}}, -1, false},
      {"bet and raise without a bet amount drop the bet", Offer("brf", 0, 500), true, false, -1, {42, 49, 50},
       {{49, "Raise To $5"}}, -1, false},
      {"bet and raise with nothing to raise to drop the raise", Offer("brf", 0, 0), true, false, -1, {42, 47}, {},
       -1, false},
      {"check and call with nothing to call drop the call", Offer("kcf", 0), true, false, -1, {42, 43, 44, 45}, {},
       -1, false},
      {"check and call with an amount drop the check", Offer("kcf", 100), true, false, -1, {42, 51, 52},
       {{51, "Call $1"}}, -1, false},
      {"bet of zero is not labelled", Offer("bf", 0), false, false, -1, {42}, {}, -1, false},
      {"whole units", Offer("bkf", 5), false, true, -1, {42, 43, 44, 46}, {{46, "Bet $5"}}, -1, false},
      {"check/call any becomes call any", Offer("cf", 100), true, false, 45, {42, 51, 52}, {{51, "Call $1"}}, 52,
       false},
      {"bet/raise any becomes raise any", Offer("crf", 100, 200), true, false, 47, {42, 49, 50, 51, 52},
       {{51, "Call $1"}, {49, "Raise To $2"}}, 50, false},
      {"check/fold becomes fold", Offer("cf", 100), false, false, 44, {42, 51}, {{51, "Call $1"}}, 42, false},
      {"a check no longer offered is cleared", Offer("cf", 100), false, false, 43, {42, 51}, {{51, "Call $1"}}, -1,
       true},
      {"a call still offered stays", Offer("cf", 100), true, false, 51, {42, 51, 52}, {{51, "Call $1"}}, -1, false},
      {"nothing offered clears", Offer(""), true, false, 42, {}, {}, -1, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const HoldemOptionPlan plan = HoldemChoices_PlanOptionBar(c.offer, c.fixed_limit, c.whole_units, c.selected);
    EXPECT_EQ(Sorted(plan), c.enabled);
    EXPECT_EQ(plan.label_count, static_cast<int32_t>(c.labels.size()));
    for (const auto& [id, text] : c.labels) {
      ASSERT_NE(plan.LabelOf(id), nullptr) << id;
      EXPECT_EQ(std::string(plan.LabelOf(id)), text);
    }
    EXPECT_EQ(plan.select, c.select);
    EXPECT_EQ(plan.clear_selection, c.clear);
  }
}

// ---- The selected option at the turn ----

TEST(HoldemChoicesTest, auto_action_sends_the_selected_option_when_the_offer_allows_it) {
  struct Case {
    const char* name;
    int32_t selected;
    const char* kinds;
    int32_t label_amount;
    HoldemAutoKind kind;
    int32_t button;
    uint32_t amount;
  } cases[] = {
      {"fold", 42, "cf", 0, HoldemAutoKind::kSendOption, 28, 0},
      {"fold while check is offered asks first", 42, "kf", 0, HoldemAutoKind::kFoldConfirm, 0, 0},
      {"fold not offered", 42, "k", 0, HoldemAutoKind::kNone, 0, 0},
      {"check", 43, "kf", 0, HoldemAutoKind::kSendOption, 16, 0},
      {"check not offered", 43, "cf", 0, HoldemAutoKind::kNone, 0, 0},
      {"check/fold checks", 44, "kf", 0, HoldemAutoKind::kSendOption, 16, 0},
      {"check/fold folds", 44, "cf", 0, HoldemAutoKind::kSendOption, 28, 0},
      {"check/call any checks", 45, "kf", 0, HoldemAutoKind::kSendOption, 16, 0},
      {"check/call any calls", 45, "cf", 0, HoldemAutoKind::kSendOption, 19, 200},
      {"bet of the same amount", 46, "bf", 200, HoldemAutoKind::kSendOption, 17, 200},
      {"bet of another amount sends nothing", 46, "bf", 150, HoldemAutoKind::kNone, 0, 0},
      {"bet/raise any bets", 47, "bf", 0, HoldemAutoKind::kSendOption, 17, 200},
      {"bet/raise any raises", 47, "crf", 0, HoldemAutoKind::kSendOption, 21, 400},
      {"bet/raise any re-raises", 47, "c2f", 0, HoldemAutoKind::kSendOption, 23, 400},
      {"bet/raise any caps", 47, "c3f", 0, HoldemAutoKind::kSendOption, 26, 400},
      {"raise of the same amount", 49, "crf", 400, HoldemAutoKind::kSendOption, 21, 400},
      {"raise of another amount", 49, "crf", 300, HoldemAutoKind::kNone, 0, 0},
      {"raise any", 50, "c3f", 0, HoldemAutoKind::kSendOption, 26, 400},
      {"raise any, no raise", 50, "cf", 0, HoldemAutoKind::kNone, 0, 0},
      {"call of the same amount", 51, "cf", 200, HoldemAutoKind::kSendOption, 19, 200},
      {"call of another amount", 51, "cf", 100, HoldemAutoKind::kNone, 0, 0},
      {"call any", 52, "crf", 0, HoldemAutoKind::kSendOption, 19, 200},
      {"call any, no call", 52, "kf", 0, HoldemAutoKind::kNone, 0, 0},
      {"an option no table shows", 48, "crf", 0, HoldemAutoKind::kNone, 0, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    HoldemTurnState state;
    state.offer = Offer(c.kinds, 200, 400, 1000);
    state.selected = c.selected;
    state.option_amount = c.label_amount;
    const HoldemAutoResult r = HoldemChoices_AutoAction(state);
    EXPECT_EQ(r.kind, c.kind);
    EXPECT_EQ(r.button, c.button);
    EXPECT_EQ(r.amount, c.amount);
  }
}

TEST(HoldemChoicesTest, auto_action_without_a_settled_selection_or_with_blinds) {
  struct Case {
    const char* name;
    bool post_small, post_big, tournament, tourney_sit_out, i_am_back, sit_out_next, auto_post;
    int32_t selected;
    bool countdown;
    HoldemAutoKind kind;
    int32_t button;
  } cases[] = {
      {"no option", false, false, false, false, false, false, false, -1, false, HoldemAutoKind::kNoOption, 0},
      {"selection still counting down", false, false, false, false, false, false, false, 43, true,
       HoldemAutoKind::kNoOption, 0},
      {"tournament sit-out with I am back", false, false, true, true, true, false, false, 43, false,
       HoldemAutoKind::kSpecialCase, 0},
      {"blind, sit out next hand", true, false, false, false, false, true, true, -1, false,
       HoldemAutoKind::kSendBlindChoice, 29},
      {"blind, sit out next hand ignored in a tournament", false, true, true, false, false, true, true, -1, false,
       HoldemAutoKind::kSendBlindChoice, 31},
      {"small blind, auto-post", true, false, false, false, false, false, true, -1, false,
       HoldemAutoKind::kSendBlindChoice, 30},
      {"big blind, auto-post", false, true, false, false, false, false, true, -1, false,
       HoldemAutoKind::kSendBlindChoice, 31},
      {"both blinds offered posts the big", true, true, false, false, false, false, true, -1, false,
       HoldemAutoKind::kSendBlindChoice, 31},
      {"blind without a choice", true, false, false, false, false, false, false, 43, false,
       HoldemAutoKind::kNoBlindChoice, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    HoldemTurnState state;
    state.offer = Offer("kf");
    state.post_small = c.post_small;
    state.post_big = c.post_big;
    state.tournament = c.tournament;
    state.options.tourney_sit_out = c.tourney_sit_out;
    state.i_am_back_shown = c.i_am_back;
    state.options.sit_out_next = c.sit_out_next;
    state.options.auto_post = c.auto_post;
    state.selected = c.selected;
    state.countdown_running = c.countdown;
    const HoldemAutoResult r = HoldemChoices_AutoAction(state);
    EXPECT_EQ(r.kind, c.kind);
    EXPECT_EQ(r.button, c.button);
  }
}

TEST(HoldemChoicesTest, whole_unit_labels_compare_after_division_by_100) {
  HoldemTurnState state;
  state.offer = Offer("cf", 5);
  state.whole_units = true;
  state.selected = HOLDEM_OPTION_CALL;
  state.option_amount = 500;  // "Call $5"
  EXPECT_EQ(HoldemChoices_AutoAction(state).button, HOLDEM_BUTTON_CALL);
  state.option_amount = 5;  // "Call $.05" would be another amount
  EXPECT_EQ(HoldemChoices_AutoAction(state).kind, HoldemAutoKind::kNone);
}

}  // namespace
