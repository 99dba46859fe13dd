#include "cclient/games/holdem/holdem_choices.h"

#include <cstdio>
#include <cstring>

#include "cclient/widgets/money_text.h"

int32_t HoldemOffer::RaiseButton() const {
  if (raise) return HOLDEM_BUTTON_RAISE;
  if (raise2) return HOLDEM_BUTTON_RAISE2;
  if (raise3) return HOLDEM_BUTTON_RAISE3;
  return 0;
}

namespace {

HoldemChoice Send(int32_t button, uint32_t amount) {
  return HoldemChoice{HoldemCommand::kSendAction, button, amount};
}

HoldemChoice Do(HoldemCommand command, int32_t button = 0) { return HoldemChoice{command, button, 0}; }

// The raise button of the offered kind; a raise clicked with no kind offered still goes out as
// the plain raise, which the server judges.
int32_t RaiseButtonOrPlain(const HoldemOffer& offer) {
  const int32_t button = offer.RaiseButton();
  return button != 0 ? button : HOLDEM_BUTTON_RAISE;
}

}  // namespace

HoldemChoice HoldemChoices_ActionBarClick(int32_t id, const HoldemOffer& offer, bool check_shown) {
  switch (id) {
    case HOLDEM_BUTTON_I_AM_BACK:
      return Do(HoldemCommand::kSendIAmBack);
    case HOLDEM_BUTTON_PLAY_NOW:
      return Do(HoldemCommand::kSendPlayNow);
    case HOLDEM_BUTTON_SHOW:
    case HOLDEM_BUTTON_MUCK:
      return Do(HoldemCommand::kSendShowMuck, id);
    case HOLDEM_BUTTON_RAISE_AMOUNT:
      return Do(HoldemCommand::kOpenRaiseWindow);
    case HOLDEM_BUTTON_BET_AMOUNT:
      return Do(HoldemCommand::kOpenBetWindow);
    case HOLDEM_BUTTON_BET:
    case HOLDEM_BUTTON_CALL:
      return Send(id, offer.bet_amount);
    case HOLDEM_BUTTON_RAISE:
      return Send(RaiseButtonOrPlain(offer), offer.raise_amount);
    case HOLDEM_BUTTON_FOLD:
      if (check_shown) return Do(HoldemCommand::kFoldConfirm);
      return Send(id, 0);
    default:
      return Send(id, 0);
  }
}

HoldemChoice HoldemChoices_PopUpClick(int32_t id, const HoldemOffer& offer, uint32_t window_amount) {
  switch (id) {
    case HOLDEM_POPUP_FOLD:
      return Send(HOLDEM_BUTTON_FOLD, 0);
    case HOLDEM_POPUP_CHECK:
      return Send(HOLDEM_BUTTON_CHECK, 0);
    case HOLDEM_POPUP_MORE_MONEY:
      return Do(HoldemCommand::kMoreMoney);
    case HOLDEM_POPUP_SIT_OUT:
      return Send(HOLDEM_BUTTON_SIT_OUT, 0);
    case HOLDEM_POPUP_POST_SMALL:
      return Send(HOLDEM_BUTTON_POST_SMALL, 0);
    case HOLDEM_BETWINDOW_BET:
      return Send(HOLDEM_BUTTON_BET, window_amount);
    case HOLDEM_BETWINDOW_RAISE:
      return Send(RaiseButtonOrPlain(offer), window_amount);
    case HOLDEM_BETWINDOW_CLOSE:
      return Do(HoldemCommand::kCloseBetWindow);
    default:
      return Do(HoldemCommand::kNothing);
  }
}

HoldemChoice HoldemChoices_BetWindowEnter(const HoldemOffer& offer, uint32_t window_amount) {
  if (offer.AnyRaise()) return Send(offer.RaiseButton(), window_amount);
  return Send(HOLDEM_BUTTON_BET, window_amount);
}

// ---- Seat options ----

uint32_t HoldemChoices_SeatOptionButtons(bool seated, bool tournament, HoldemSeatOptions* options) {
  if (!seated) return 0;
  if (tournament) options->auto_post = true;
  uint32_t shown = 0;
  auto show = [&shown](int32_t id) { shown |= 1u << id; };
  show(options->auto_post ? HOLDEM_SEATOPT_AUTO_POST_OFF : HOLDEM_SEATOPT_AUTO_POST_ON);
  if (tournament) {
    show(options->tourney_sit_out ? HOLDEM_SEATOPT_TOURNEY_SIT_OUT_OFF : HOLDEM_SEATOPT_TOURNEY_SIT_OUT_ON);
  } else {
    show(options->sit_out_next ? HOLDEM_SEATOPT_SIT_OUT_OFF : HOLDEM_SEATOPT_SIT_OUT_ON);
  }
  show(options->auto_muck ? HOLDEM_SEATOPT_AUTO_MUCK_OFF : HOLDEM_SEATOPT_AUTO_MUCK_ON);
  return shown;
}

HoldemSeatOptionEffect HoldemChoices_SeatOptionClick(int32_t id, const HoldemBarButtons& shown,
                                                     HoldemSeatOptions* options) {
  HoldemSeatOptionEffect effect;
  auto push_and = [&effect](HoldemChoice action) {
    effect.push_bar = true;
    effect.send = action;
  };
  switch (id) {
    case HOLDEM_SEATOPT_AUTO_POST_ON:
      options->auto_post = true;
      options->sit_out_next = false;
      options->tourney_sit_out = false;
      if (shown.i_am_back) {
        push_and(Do(HoldemCommand::kSendIAmBack));
      } else if (shown.post_small) {
        push_and(Send(HOLDEM_BUTTON_POST_SMALL, 0));
      } else if (shown.post_big) {
        push_and(Send(HOLDEM_BUTTON_POST_BIG, 0));
      }
      break;
    case HOLDEM_SEATOPT_AUTO_POST_OFF:
      options->auto_post = false;
      break;
    case HOLDEM_SEATOPT_SIT_OUT_ON:
      options->sit_out_next = true;
      options->auto_post = false;
      if (shown.post_small || shown.post_big) push_and(Send(HOLDEM_BUTTON_SIT_OUT, 0));
      break;
    case HOLDEM_SEATOPT_SIT_OUT_OFF:
    case HOLDEM_SEATOPT_TOURNEY_SIT_OUT_OFF:
      if (id == HOLDEM_SEATOPT_SIT_OUT_OFF) {
        options->sit_out_next = false;
      } else {
        options->tourney_sit_out = false;
      }
      if (shown.i_am_back) push_and(Do(HoldemCommand::kSendIAmBack));
      break;
    case HOLDEM_SEATOPT_TOURNEY_SIT_OUT_ON:
      options->tourney_sit_out = true;
      options->auto_post = false;
      break;
    case HOLDEM_SEATOPT_AUTO_MUCK_ON:
      options->auto_muck = true;
      break;
    case HOLDEM_SEATOPT_AUTO_MUCK_OFF:
      options->auto_muck = false;
      break;
    default:
      break;
  }
  return effect;
}

bool HoldemChoices_ShouldSendSitOut(bool on_change, bool seated, bool wanted, bool last_sent,
                                    float seconds_since_sent, bool hand_in_play) {
  if (!seated) return false;
  if (!on_change) return true;
  return wanted != last_sent && seconds_since_sent >= 0.5f && !hand_in_play;
}

// ---- Pre-action options ----

void HoldemChoices_OptionLabel(char* out, size_t size, const char* word, uint32_t amount, bool whole_units) {
  const int64_t cents = whole_units ? static_cast<int64_t>(amount) * 100 : static_cast<int64_t>(amount);
  char money[32];
  MoneyText_Label(money, sizeof money, cents);
  std::snprintf(out, size, "%s %s", word, money);
}

bool HoldemOptionPlan::IsEnabled(int32_t id) const {
  for (int32_t i = 0; i < enabled_count; ++i) {
    if (enabled[i] == id) return true;
  }
  return false;
}

const char* HoldemOptionPlan::LabelOf(int32_t id) const {
  for (int32_t i = 0; i < label_count; ++i) {
    if (labels[i].id == id) return labels[i].text;
  }
  return nullptr;
}

HoldemOptionPlan HoldemChoices_PlanOptionBar(const HoldemOffer& offer_in, bool fixed_limit, bool whole_units,
                                             int32_t selected) {
  HoldemOptionPlan plan;
  auto enable = [&plan](int32_t id) {
    if (plan.enabled_count < HoldemOptionPlan::kMaxOptions && !plan.IsEnabled(id)) plan.enabled[plan.enabled_count++] = id;
  };
  auto label = [&plan, whole_units](int32_t id, const char* word, uint32_t amount) {
    HoldemOptionPlan::Label& l = plan.labels[plan.label_count++];
    l.id = id;
    HoldemChoices_OptionLabel(l.text, sizeof l.text, word, amount, whole_units);
  };
  // A bet and a raise, or a check and a call, are never offered side by side.
  HoldemOffer offer = offer_in;
  if (offer.bet && offer.AnyRaise()) {
    if (offer.bet_amount > 0 || offer.raise_amount < 1) {
      offer.raise = offer.raise2 = offer.raise3 = false;
    } else {
      offer.bet = false;
    }
  }
  if (offer.check && offer.call) {
    if (offer.bet_amount < 1) {
      offer.call = false;
    } else {
      offer.check = false;
    }
  }
  if (offer.check) {
    enable(HOLDEM_OPTION_CHECK);
    if (fixed_limit) enable(HOLDEM_OPTION_CHECK_CALL_ANY);
  }
  if (offer.bet) {
    if (offer.bet_amount > 0) {
      label(HOLDEM_OPTION_BET, "Bet", offer.bet_amount);
      enable(HOLDEM_OPTION_BET);
    }
    if (fixed_limit) enable(HOLDEM_OPTION_BET_RAISE_ANY);
  }
  if (offer.call) {
    if (offer.bet_amount > 0) {
      label(HOLDEM_OPTION_CALL, "Call", offer.bet_amount);
      enable(HOLDEM_OPTION_CALL);
    }
    if (fixed_limit) {
      enable(HOLDEM_OPTION_CALL_ANY);
      if (selected == HOLDEM_OPTION_CHECK_CALL_ANY && !offer.check) plan.select = HOLDEM_OPTION_CALL_ANY;
    }
  }
  if (offer.AnyRaise()) {
    if (offer.raise_amount > 0) {
      label(HOLDEM_OPTION_RAISE, "Raise To", offer.raise_amount);
      enable(HOLDEM_OPTION_RAISE);
    }
    if (fixed_limit) {
      enable(HOLDEM_OPTION_RAISE_ANY);
      if (selected == HOLDEM_OPTION_BET_RAISE_ANY && !offer.bet) plan.select = HOLDEM_OPTION_RAISE_ANY;
    }
  }
  if (offer.fold) {
    enable(HOLDEM_OPTION_FOLD);
    if (offer.check) enable(HOLDEM_OPTION_CHECK_FOLD);
    if (selected == HOLDEM_OPTION_CHECK_FOLD && !offer.check) plan.select = HOLDEM_OPTION_FOLD;
  }
  // The selection that stands after the moves above must still be offered. (A moved selection
  // is checked, not the one it replaced, or no move would ever survive.)
  const int32_t standing = plan.select >= 0 ? plan.select : selected;
  if (standing >= 0 && !plan.IsEnabled(standing)) {
    plan.select = -1;
    plan.clear_selection = true;
  }
  return plan;
}

// ---- The selected option at the turn ----

namespace {

HoldemAutoResult AutoSend(int32_t button, uint32_t amount) {
  return HoldemAutoResult{HoldemAutoKind::kSendOption, button, amount};
}

// The selected option's action; kNone when the offer does not allow it.
HoldemAutoResult MapOption(const HoldemTurnState& state) {
  const HoldemOffer& o = state.offer;
  // The label reads dollars; on a whole-units table its number is the chips times 100.
  const int64_t label_amount = state.whole_units ? state.option_amount / 100 : state.option_amount;
  const int32_t raise_button = o.RaiseButton();
  switch (state.selected) {
    case HOLDEM_OPTION_FOLD:
      if (!o.fold) break;
      if (o.check) return HoldemAutoResult{HoldemAutoKind::kFoldConfirm, 0, 0};
      return AutoSend(HOLDEM_BUTTON_FOLD, 0);
    case HOLDEM_OPTION_CHECK:
      if (o.check) return AutoSend(HOLDEM_BUTTON_CHECK, 0);
      break;
    case HOLDEM_OPTION_CHECK_FOLD:
      if (o.check) return AutoSend(HOLDEM_BUTTON_CHECK, 0);
      if (o.fold) return AutoSend(HOLDEM_BUTTON_FOLD, 0);
      break;
    case HOLDEM_OPTION_CHECK_CALL_ANY:
      if (o.check) return AutoSend(HOLDEM_BUTTON_CHECK, 0);
      if (o.call) return AutoSend(HOLDEM_BUTTON_CALL, o.bet_amount);
      break;
    case HOLDEM_OPTION_BET:
      if (o.bet && label_amount == static_cast<int64_t>(o.bet_amount)) return AutoSend(HOLDEM_BUTTON_BET, o.bet_amount);
      break;
    case HOLDEM_OPTION_BET_RAISE_ANY:
      if (o.bet) return AutoSend(HOLDEM_BUTTON_BET, o.bet_amount);
      if (raise_button != 0) return AutoSend(raise_button, o.raise_amount);
      break;
    case HOLDEM_OPTION_RAISE:
      if (raise_button != 0 && label_amount == static_cast<int64_t>(o.raise_amount)) {
        return AutoSend(raise_button, o.raise_amount);
      }
      break;
    case HOLDEM_OPTION_RAISE_ANY:
      if (raise_button != 0) return AutoSend(raise_button, o.raise_amount);
      break;
    case HOLDEM_OPTION_CALL:
      if (o.call && label_amount == static_cast<int64_t>(o.bet_amount)) return AutoSend(HOLDEM_BUTTON_CALL, o.bet_amount);
      break;
    case HOLDEM_OPTION_CALL_ANY:
      if (o.call) return AutoSend(HOLDEM_BUTTON_CALL, o.bet_amount);
      break;
    default:
      break;
  }
  return HoldemAutoResult{};
}

}  // namespace

HoldemAutoResult HoldemChoices_AutoAction(const HoldemTurnState& state) {
  if (state.tournament && state.options.tourney_sit_out && state.i_am_back_shown) {
    return HoldemAutoResult{HoldemAutoKind::kSpecialCase, 0, 0};
  }
  if (!state.post_small && !state.post_big) {
    if (state.selected < 0 || state.countdown_running) return HoldemAutoResult{HoldemAutoKind::kNoOption, 0, 0};
    return MapOption(state);
  }
  if (!state.tournament && state.options.sit_out_next) {
    return HoldemAutoResult{HoldemAutoKind::kSendBlindChoice, HOLDEM_BUTTON_SIT_OUT, 0};
  }
  if (state.options.auto_post) {
    const int32_t button = state.post_big ? HOLDEM_BUTTON_POST_BIG : HOLDEM_BUTTON_POST_SMALL;
    return HoldemAutoResult{HoldemAutoKind::kSendBlindChoice, button, 0};
  }
  return HoldemAutoResult{HoldemAutoKind::kNoBlindChoice, 0, 0};
}
