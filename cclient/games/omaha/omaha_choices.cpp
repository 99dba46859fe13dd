#include "cclient/games/omaha/omaha_choices.h"

#include "cclient/games/omaha/omaha_packets.h"

HoldemOptionPlan OmahaChoices_PlanOptionBar(const HoldemOffer& offer, bool fixed_limit, bool whole_units,
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
  if (offer.check) {
    enable(OMAHA_OPTION_CHECK);
    if (fixed_limit) enable(OMAHA_OPTION_CHECK_CALL_ANY);
  }
  if (offer.bet && offer.bet_amount > 0) {
    label(OMAHA_OPTION_BET, "Bet", offer.bet_amount);
    enable(OMAHA_OPTION_BET);
    if (fixed_limit) enable(OMAHA_OPTION_BET_RAISE_ANY);
  }
  if (offer.call && offer.bet_amount > 0) {
    label(OMAHA_OPTION_CALL, "Call", offer.bet_amount);
    enable(OMAHA_OPTION_CALL);
    if (fixed_limit) {
      enable(OMAHA_OPTION_CALL_ANY);
      if (selected == OMAHA_OPTION_CHECK_CALL_ANY && !offer.check) plan.select = OMAHA_OPTION_CALL_ANY;
    }
  }
  if (offer.AnyRaise() && offer.raise_amount > 0) {
    label(OMAHA_OPTION_RAISE, "Raise To", offer.raise_amount);
    enable(OMAHA_OPTION_RAISE);
    if (fixed_limit) {
      enable(OMAHA_OPTION_RAISE_ANY);
      if (selected == OMAHA_OPTION_BET_RAISE_ANY && !offer.bet) plan.select = OMAHA_OPTION_RAISE_ANY;
    }
  }
  if (offer.fold) {
    enable(OMAHA_OPTION_FOLD);
    if (offer.check) enable(OMAHA_OPTION_CHECK_FOLD);
    if (selected == OMAHA_OPTION_CHECK_FOLD && !offer.check) plan.select = OMAHA_OPTION_FOLD;
  }
  return plan;
}

namespace {

bool IsCard(int8_t card) { return card >= 0 && card < 52; }

}  // namespace

bool OmahaChoices_HandHasNoCard(const int8_t* nine) {
  for (int32_t i = 0; i < kOmahaWinnerCards; ++i) {
    if (!IsCard(nine[i])) return true;
  }
  return false;
}

OmahaWinningMarks OmahaChoices_MatchWinningCards(const int8_t* nine, const int8_t* board, const int8_t* hole) {
  uint8_t byte_marks[kOmahaWinnerCards] = {};
  for (int32_t c = 0; c < kHoldemBoardCards; ++c) {
    if (!IsCard(board[c])) continue;
    for (int32_t i = 0; i < kOmahaWinnerCards; ++i) {
      if (byte_marks[i] == 0 && nine[i] == board[c]) {
        byte_marks[i] = 1;
        break;
      }
    }
  }
  for (int32_t c = 0; c < kOmahaHoleCards; ++c) {
    if (!IsCard(hole[c])) continue;
    for (int32_t i = 0; i < kOmahaWinnerCards; ++i) {
      if (byte_marks[i] < 2 && nine[i] == hole[c]) {
        byte_marks[i] = static_cast<uint8_t>(byte_marks[i] + 2);
        break;
      }
    }
  }
  // A card rises when a byte that holds it kept the mark of its own kind alone.
  OmahaWinningMarks marks;
  for (int32_t c = 0; c < kHoldemBoardCards; ++c) {
    for (int32_t i = 0; i < kOmahaWinnerCards && IsCard(board[c]); ++i) {
      if (byte_marks[i] == 1 && nine[i] == board[c]) marks.board[c] = 1;
    }
  }
  for (int32_t c = 0; c < kOmahaHoleCards; ++c) {
    for (int32_t i = 0; i < kOmahaWinnerCards && IsCard(hole[c]); ++i) {
      if (byte_marks[i] == 2 && nine[i] == hole[c]) marks.hole[c] = 1;
    }
  }
  return marks;
}

double OmahaChoices_WinnerWait(uint32_t timer_seconds, bool rake_taken, bool kind1_house_take) {
  double wait = static_cast<double>(timer_seconds) - 0.2 - 0.5 - 1.0;
  if (rake_taken) wait -= 2.0;
  if (kind1_house_take) wait -= 1.0;
  return wait < 1.0 ? 1.0 : wait;
}
