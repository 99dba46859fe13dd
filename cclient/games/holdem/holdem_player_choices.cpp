// The local player's side of the Hold'em table on the game object's widgets: the action bar and
// what its buttons show, the pre-action option bar, the seat-option toggles, the seat plates'
// texts and turn blinks, the per-hand reset of the picture, and the module's click log lines.
// The decisions themselves are in holdem_choices.cpp.
#include <cstdio>
#include <cstring>

#include "cclient/games/holdem/holdem.h"
#include "cclient/games/holdem/holdem_choices.h"
#include "cclient/games/holdem/holdem_draw_layout.h"
#include "cclient/table/table.h"

namespace {

constexpr float kBarSeconds = 0.1f;

}  // namespace

HoldemOffer HoldemClass::TurnOffer() const {
  HoldemOffer offer;
  offer.raise = offer_raise_ != 0;
  offer.raise2 = offer_raise2_ != 0;
  offer.raise3 = offer_raise3_ != 0;
  offer.bet_amount = bet_amount_;
  offer.raise_amount = raise_amount_;
  offer.max_amount = max_amount_;
  return offer;
}

HoldemOffer HoldemClass::PreActionOffer() const {
  HoldemOffer offer = TurnOffer();
  offer.check = pre_action_[ACTION_CHECK] != 0;
  offer.bet = pre_action_[ACTION_BET] != 0;
  offer.call = pre_action_[ACTION_CALL] != 0;
  offer.raise = pre_action_[ACTION_RAISE] != 0;
  offer.raise2 = pre_action_[ACTION_RERAISE] != 0;
  offer.raise3 = pre_action_[ACTION_CAP] != 0;
  offer.fold = pre_action_[ACTION_FOLD] != 0;
  return offer;
}

// ---- The action bar ----

bool HoldemClass::BeginActionBar() {
  if (game_started_ == 0) return false;
  option_bar_.FoldOptions(kBarSeconds);
  action_bar_.FinishSlide();
  action_bar_.HideAllButtons();
  return true;
}

void HoldemClass::ShowLabelled(int32_t id, const char* label) {
  (void)action_bar_.SetButtonText(id, label != nullptr ? label : "");
  (void)action_bar_.ShowButton(id);
}

void HoldemClass::ShowTurnButtons(bool check, bool bet, bool call, bool raise, bool raise2, bool raise3, bool fold,
                                  bool complete, const char* bet_label, const char* raise_label) {
  if (!BeginActionBar()) return;
  const bool no_limit = fixed_limit_ == 0;
  if (check) (void)action_bar_.ShowButton(HOLDEM_BUTTON_CHECK);
  if (bet) {
    ShowLabelled(HOLDEM_BUTTON_BET, bet_label);
    if (no_limit) (void)action_bar_.ShowButton(HOLDEM_BUTTON_BET_AMOUNT);
  }
  if (call) ShowLabelled(HOLDEM_BUTTON_CALL, bet_label);
  if (raise || raise2 || raise3) {
    ShowLabelled(HOLDEM_BUTTON_RAISE, raise_label);
    if (no_limit) (void)action_bar_.ShowButton(HOLDEM_BUTTON_RAISE_AMOUNT);
  }
  if (fold) (void)action_bar_.ShowButton(HOLDEM_BUTTON_FOLD);
  if (complete) ShowLabelled(HOLDEM_BUTTON_COMPLETE, raise_label);
  (void)action_bar_.Slide(false, kBarSeconds);
}

void HoldemClass::ShowPostBlind(bool small, const char* label, bool sit_out) {
  if (!BeginActionBar()) return;
  ShowLabelled(small ? HOLDEM_BUTTON_POST_SMALL : HOLDEM_BUTTON_POST_BIG, label);
  if (sit_out) (void)action_bar_.ShowButton(HOLDEM_BUTTON_SIT_OUT);
  (void)action_bar_.Slide(false, kBarSeconds);
}

void HoldemClass::ShowPostDead(bool flag, const char* label, bool wait) {
  if (!BeginActionBar()) return;
  if (flag) ShowLabelled(HOLDEM_BUTTON_POST_DEAD, label);
  if (wait) (void)action_bar_.ShowButton(HOLDEM_BUTTON_WAIT_BIG_BLIND);
  (void)action_bar_.Slide(false, kBarSeconds);
}

void HoldemClass::ShowPostNow(bool flag, const char* label, bool wait, bool after_dealer) {
  if (!BeginActionBar()) return;
  if (flag) ShowLabelled(HOLDEM_BUTTON_POST_NOW, label);
  if (wait) (void)action_bar_.ShowButton(HOLDEM_BUTTON_WAIT_BIG_BLIND);
  if (after_dealer) (void)action_bar_.ShowButton(HOLDEM_BUTTON_POST_AFTER_DEALER);
  (void)action_bar_.Slide(false, kBarSeconds);
}

void HoldemClass::ShowShowMuck(bool show, bool muck) {
  if (!BeginActionBar()) return;
  if (show) (void)action_bar_.ShowButton(HOLDEM_BUTTON_SHOW);
  if (muck) (void)action_bar_.ShowButton(HOLDEM_BUTTON_MUCK);
  (void)action_bar_.Slide(false, kBarSeconds);
}

void HoldemClass::ShowIAmBack() {
  if (!BeginActionBar()) return;
  (void)action_bar_.ShowButton(HOLDEM_BUTTON_I_AM_BACK);
  (void)action_bar_.Slide(false, kBarSeconds);
  if (tournament_ != 0) {
    tournament_sit_out_ = 1;
  } else {
    sit_out_next_hand_ = 1;
    auto_post_blind_ = 0;
  }
  i_am_back_seconds_ = 0;
}

void HoldemClass::ShowPlayNow(const char* label) {
  if (game_started_ == 0) return;
  const bool shown = action_bar_.IsButtonShown(HOLDEM_BUTTON_PLAY_NOW);
  if (shown) {
    log_.Line("--- play now button is on");
    (void)action_bar_.SetButtonText(HOLDEM_BUTTON_PLAY_NOW, label != nullptr ? label : "");
    return;
  }
  // Another choice on the bar comes first; the offer is repeated by the server.
  if (action_bar_.GetSlideState() == 1 || !action_bar_.NoButtonShown()) return;
  log_.Line("--- try to pop up play now button");
  action_bar_.FinishSlide();
  action_bar_.HideAllButtons();
  ShowLabelled(HOLDEM_BUTTON_PLAY_NOW, label);
  if (!action_bar_.Slide(false, kBarSeconds)) log_.Line("--- can not pop up play now button");
}

void HoldemClass::WithdrawPlayNow() {
  if (!action_bar_.IsButtonShown(HOLDEM_BUTTON_PLAY_NOW)) return;
  log_.Line("********** push playe now button is called");
  if (!PushButtonBar(true)) (void)action_bar_.HideButton(HOLDEM_BUTTON_PLAY_NOW);
}

bool HoldemClass::PushButtonBar(bool log) {
  if (log) log_.Line("========= push button bar is called");
  if (game_started_ == 0) return false;
  (void)fold_confirm_.Close();
  (void)more_money3_.Close();
  (void)more_money2_.Close();
  (void)bet_window_.Close();
  const bool i_am_back = action_bar_.IsButtonShown(HOLDEM_BUTTON_I_AM_BACK);
  // The in-turn timer's expiry leaves the I-am-back and play-now offers standing.
  if (!log && (i_am_back || action_bar_.IsButtonShown(HOLDEM_BUTTON_PLAY_NOW))) return true;
  if (action_bar_.GetSlideState() != -1) {
    action_bar_.FinishSlide();
    (void)action_bar_.Slide(true, kBarSeconds);
  }
  if (i_am_back) {
    if (tournament_ != 0) {
      tournament_sit_out_ = 0;
    } else {
      sit_out_next_hand_ = 0;
    }
  }
  return true;
}

void HoldemClass::HideLocalChoices() {
  (void)fold_confirm_.Close();
  (void)bet_window_.Close();
  if (action_bar_.GetSlideState() != -1) {
    action_bar_.FinishSlide();
    (void)action_bar_.Slide(true, kBarSeconds);
  }
}

// ---- Seat actions and turns ----

void HoldemClass::ShowSeatAction(int32_t seat, const char* text, int32_t pile, uint32_t amount, bool resume) {
  if (seat < 0 || seat >= kHoldemSeats) return;
  HoldemPlayerSeat& plate = seats_[players_[seat].display_position % kHoldemSeats].plate;
  plate.HideAction();
  plate.SetActionText(text);
  (void)plate.ShowAction();
  if (amount > 0) (void)AnimatePlayerBet(seat, pile, amount, resume);
}

void HoldemClass::ShowSeatFold(int32_t seat, bool silent) {
  if (seat < 0 || seat >= kHoldemSeats) return;
  if (!silent) {
    HoldemPlayerSeat& plate = seats_[players_[seat].display_position % kHoldemSeats].plate;
    plate.HideAction();
    plate.SetActionText(HoldemDraw_SeatActionText(HoldemSeatAction::kFold));
    (void)plate.ShowAction();
  } else if (seat == local_player_id_) {
    FoldOptions();
  }
  (void)MuckSeatCards(seat, false, 0);
}

void HoldemClass::StartTurn(int32_t seat, int32_t previous_seat, double seconds) {
  if (previous_seat >= 0 && previous_seat < kHoldemSeats) StopTurn(previous_seat);
  if (seat < 0 || seat >= kHoldemSeats) return;
  HoldemPlayerSeat& plate = seats_[players_[seat].display_position % kHoldemSeats].plate;
  plate.HideAction();
  (void)plate.StartTurnBlink();
  if (seconds > 0) {
    StopInTurnTimer();
    (void)StartInTurnTimer(seconds, false);
  }
}

void HoldemClass::StopTurn(int32_t seat) {
  StopInTurnTimer();
  if (seat >= 0 && seat < kHoldemSeats) {
    seats_[players_[seat].display_position % kHoldemSeats].plate.StopTurnBlink();
  }
}

void HoldemClass::MapSeat(int32_t server_seat) {
  if (server_seat < 0 || server_seat >= kHoldemSeats) return;
  for (int32_t p = 0; p < kHoldemSeats; ++p) {
    if (seats_[p].server_seat == static_cast<uint32_t>(server_seat)) players_[server_seat].display_position = p;
  }
}

// ---- Sit out next hand ----

void HoldemClass::SendSitOutNotice(bool on_change) {
  const uint8_t wanted = tournament_ != 0 ? tournament_sit_out_ : sit_out_next_hand_;
  const bool in_hand = game_state_ == HOLDEM_INSIDE_GAME || game_state_ == HOLDEM_FINISH_GAME;
  if (!HoldemChoices_ShouldSendSitOut(on_change, local_player_id_ >= 0, wanted != 0, sit_out_last_sent_ != 0,
                                      sit_out_clock_, in_hand)) {
    return;
  }
  sit_out_last_sent_ = wanted;
  sit_out_clock_ = 0;
  (void)SendSitOutNextHand(wanted);
}

// ---- Seat options ----

HoldemSeatOptions HoldemClass::SeatOptions() const {
  HoldemSeatOptions options;
  options.auto_post = auto_post_blind_ != 0;
  options.sit_out_next = sit_out_next_hand_ != 0;
  options.tourney_sit_out = tournament_sit_out_ != 0;
  options.auto_muck = auto_muck_ != 0;
  return options;
}

void HoldemClass::SetSeatOptions(const HoldemSeatOptions& options) {
  auto_post_blind_ = options.auto_post ? 1 : 0;
  sit_out_next_hand_ = options.sit_out_next ? 1 : 0;
  tournament_sit_out_ = options.tourney_sit_out ? 1 : 0;
  auto_muck_ = options.auto_muck ? 1 : 0;
}

void HoldemClass::UpdateSeatOptionButtons() {
  HoldemSeatOptions options = SeatOptions();
  const uint32_t shown = HoldemChoices_SeatOptionButtons(local_player_id_ >= 0, tournament_ != 0, &options);
  SetSeatOptions(options);
  for (int32_t id = 0; id < 8; ++id) {
    const bool show = (shown & (1u << id)) != 0;
    if (show == seat_options_.IsButtonShown(id)) continue;
    if (show) {
      seat_options_.ShowButton(id);
    } else {
      seat_options_.HideButton(id);
    }
  }
}

void HoldemClass::OnSeatOptionClick(int32_t id) {
  HoldemSeatOptions options = SeatOptions();
  HoldemBarButtons shown;
  shown.i_am_back = action_bar_.IsButtonShown(HOLDEM_BUTTON_I_AM_BACK);
  shown.post_small = action_bar_.IsButtonShown(HOLDEM_BUTTON_POST_SMALL);
  shown.post_big = action_bar_.IsButtonShown(HOLDEM_BUTTON_POST_BIG);
  const HoldemSeatOptionEffect effect = HoldemChoices_SeatOptionClick(id, shown, &options);
  SetSeatOptions(options);
  if (effect.push_bar) (void)PushButtonBar(true);
  CarryOut(effect.send);
}

void HoldemClass::CarryOut(const HoldemChoice& choice) {
  switch (choice.command) {
    case HoldemCommand::kSendAction:
      (void)SendAction(choice.button, choice.amount);
      break;
    case HoldemCommand::kSendIAmBack:
      (void)SendIAmBack();
      i_am_back_seconds_ = 3.0f;
      break;
    case HoldemCommand::kSendPlayNow:
      (void)SendPlayNow();
      break;
    case HoldemCommand::kSendShowMuck:
      (void)SendShowMuck(choice.button);
      break;
    default:
      break;
  }
}

// ---- The pre-action option bar ----

void HoldemClass::UpdateOptionBar() {
  if (game_started_ == 0) return;
  const int32_t selected = option_bar_.GetSelectedOption();
  const HoldemOptionPlan plan =
      HoldemChoices_PlanOptionBar(PreActionOffer(), fixed_limit_ != 0, whole_units_ != 0, selected);
  option_bar_.DisableAllOptions();
  for (int32_t i = 0; i < plan.label_count; ++i) (void)option_bar_.SetOptionText(plan.labels[i].id, plan.labels[i].text);
  for (int32_t i = 0; i < plan.enabled_count; ++i) (void)option_bar_.EnableOption(plan.enabled[i]);
  if (plan.select >= 0) {
    if (option_bar_.GetSelectedOption() != plan.select) option_bar_.SelectOption(plan.select, -1);
    option_bar_.StopSelectionCountdown();
  }
  if (plan.clear_selection) (void)option_bar_.ClearSelection();
}

void HoldemClass::FoldOptions() {
  if (game_started_ != 0) option_bar_.FoldOptions(kBarSeconds);
}

void HoldemClass::UnfoldOptions() {
  if (game_started_ != 0) option_bar_.UnfoldOptions(kBarSeconds);
}

void HoldemClass::ClearOptionSelection() { (void)option_bar_.ClearSelection(); }

void HoldemClass::HidePreActionBar() { FoldOptions(); }

void HoldemClass::ShowPreActionBar() {
  if (game_started_ == 0) return;
  UpdateOptionBar();
  (void)option_bar_.Slide(false, kBarSeconds);
  UnfoldOptions();
}

// ---- Seat plates ----

void HoldemClass::UpdateSeats(bool names, bool chips_while_playing) {
  const bool seated = local_player_id_ >= 0;
  const uint32_t table_flags = table_ != nullptr ? table_->table_flags : 0;
  for (int32_t p = 0; p < kHoldemSeats; ++p) {
    const int32_t s = static_cast<int32_t>(seats_[p].server_seat % kHoldemSeats);
    HoldemPlayerRecord& player = players_[s];
    HoldemPlayerSeat& plate = seats_[p].plate;
    const bool occupied = table_ != nullptr && (table_->seat_flags[s] & kSeatOccupied) != 0;
    if (player.status < 10 && !occupied) {
      const bool reserved = table_ != nullptr && table_->seat_reserved[s] != 0;
      bool offered = (!seated || reserved) && (table_flags & kTableFlagNoWaitingList) == 0;
      if (single_open_seat_ != 0 && static_cast<uint32_t>(p) != single_open_seat_position_) offered = false;
      if (offered) {
        plate.Show();
        plate.SetOpen(true);
        plate.SetName("");
      } else {
        plate.Hide();
      }
      continue;
    }
    plate.Show();
    plate.SetOpen(false);
    if (names && player.name[0] != '\0') plate.SetName(player.name);
    plate.SetUserName(player.name);
    const char* status_text = HoldemDraw_StatusText(player.status, plate.IsMouseOver());
    if (status_text != nullptr) {
      plate.SetChipsText(status_text);
      continue;
    }
    if (player.status > 10 && !chips_while_playing && player.status != SEAT_SITTING_OUT &&
        player.status != SEAT_LEAVING && player.status != SEAT_ALL_IN) {
      continue;
    }
    if (player.status <= 10 && table_ != nullptr) player.chips = table_->seat_amounts[s];
    char chips[32];
    HoldemDraw_ChipsText(chips, sizeof chips, player.chips, whole_units_ != 0);
    plate.SetChipsText(chips);
  }
  if (!seated || players_[local_player_id_].status != SEAT_IN_HAND) {
    (void)more_money3_.Close();
    (void)more_money2_.Close();
  }
}

// ---- The hand's picture ----

void HoldemClass::ResetHandDisplay() {
  ResetTable();
  board_raise_state_ = 0;
  bet_window_start_[0] = bet_window_start_[1] = 0;
}

namespace {

constexpr int32_t kBoardX[kHoldemBoardCards] = {250, 309, 368, 427, 486};
constexpr int32_t kBoardY = 149;
constexpr int32_t kWinningCardRise = 12;

}  // namespace

void HoldemClass::RaiseWinningBoardCards() {
  log_.Line("");
  log_.Line("show Deck Cards is visited!");
  log_.Line("");
  if (board_raise_state_ != 1 || board_dealer_ == nullptr || board_copy_dealer_ == nullptr) return;
  CardDealer& copy = *board_copy_dealer_;
  // The winning hand of the only winner (its five cards are kept at the winner's seat).
  const int32_t winner_seat = winner_count_ > 0 ? winner_seats_[0] : -1;
  const int8_t* winner = winner_seat >= 0 && winner_seat < kHoldemSeats ? winner_cards_[winner_seat] : nullptr;
  int32_t from_x[kHoldemBoardCards], from_y[kHoldemBoardCards], to_x[kHoldemBoardCards], to_y[kHoldemBoardCards];
  copy.Stop(false);
  for (int32_t c = 0; c < kHoldemBoardCards; ++c) {
    // From where the copy lies when it was raised before, else from the board's places.
    const bool lying = copy.HasCard(c, 0);
    from_x[c] = lying ? copy.GetCardX(c, 0) : kBoardX[c];
    from_y[c] = lying ? copy.GetCardY(c, 0) : kBoardY;
    const int32_t face = board_dealer_->GetCard(c, 0);
    bool wins = false;
    for (int32_t k = 0; winner != nullptr && k < kHoldemBoardCards; ++k) wins = wins || (face >= 0 && winner[k] == face);
    to_x[c] = kBoardX[c];
    to_y[c] = kBoardY - (wins ? kWinningCardRise : 0);
    (void)copy.RemoveCards(c, 0);
    if (!board_dealer_->HasCard(c, 0)) continue;
    (void)copy.PlaceAllCards(c);
    copy.SetCardFace(c, 0, face);
    copy.TurnFaceUp(c);
  }
  (void)copy.SetDeckOrigins(from_x, from_y);
  (void)copy.SetSeatOrigins(to_x, to_y);
  (void)copy.SetAltSeatOrigins(to_x, to_y);
  (void)copy.SetFlightTime(0.2f);
  (void)copy.StartDeal(0, 0.0f, false, nullptr, 0, 0, 0, true);
  // The board's own cards are erased as they go: the raised copy does not cover their lower edge.
  board_dealer_->Stop(true);
  for (int32_t c = 0; c < kHoldemBoardCards; ++c) (void)board_dealer_->RemoveCards(c, 0);
}

bool HoldemClass::LowerWinningBoardCards() {
  log_.Line("recover Deck Cards is visited!");
  if (board_copy_dealer_ == nullptr || board_dealer_ == nullptr) return false;
  CardDealer& copy = *board_copy_dealer_;
  if (!copy.IsStarted()) {
    board_dealer_->Stop(true);
    return false;
  }
  int32_t from_x[kHoldemBoardCards], from_y[kHoldemBoardCards], to_x[kHoldemBoardCards], to_y[kHoldemBoardCards];
  for (int32_t c = 0; c < kHoldemBoardCards; ++c) {
    const bool lying = copy.HasCard(c, 0);
    from_x[c] = lying ? copy.GetCardX(c, 0) : kBoardX[c];
    from_y[c] = lying ? copy.GetCardY(c, 0) : kBoardY;
    to_x[c] = kBoardX[c];
    to_y[c] = kBoardY;
  }
  copy.Stop(false);
  (void)copy.SetDeckOrigins(from_x, from_y);
  (void)copy.SetSeatOrigins(to_x, to_y);
  (void)copy.SetAltSeatOrigins(to_x, to_y);
  (void)copy.SetFlightTime(0.2f);
  return copy.StartDeal(0, 0.0f, true, Window(), TABLEMSG_CARD_ANIMATION_DONE, 5, 0, true);
}

// ---- Log lines ----

void HoldemClass::LogButtonClick(int32_t id) {
  static const struct {
    int32_t id;
    const char* line;
  } kLines[] = {
      {16, "You click button: CHECK"},       {17, "You click button: BET"},
      {19, "You click button: CALL"},        {21, "You click button: RAISE"},
      {28, "You click button: FOLD"},        {29, "You click button: SIT OUT"},
      {30, "You click button: POST SMALL"},  {31, "You click button: POST BIG"},
      {32, "You click button: I AM BACK"},   {33, "You click button: SHOW CARD"},
      {34, "You click button: MUCK CARD"},   {35, "You click button: POST NOW"},
      {36, "You click button: WAIT FOR BIG BLIND"},
  };
  for (const auto& line : kLines) {
    if (line.id == id) {
      log_.Line(line.line);
      return;
    }
  }
  log_.LabelNumber("You click button: UNKNOWN  ButtonID", id);
}

void HoldemClass::LogOptionChoice(int32_t id) {
  switch (id - option_id_shift_) {
    case HOLDEM_OPTION_FOLD:
      log_.Line("Your option choice is: FOLD");
      break;
    case HOLDEM_OPTION_CHECK:
      log_.Line("Your option choice is: CHECK");
      break;
    case HOLDEM_OPTION_BET:
      log_.LabelNumber("Your option choice is: BET  amount", option_bar_.GetOptionAmount(id));
      break;
    case HOLDEM_OPTION_RAISE:
      log_.LabelNumber("Your option choice is: RAISE  amount", option_bar_.GetOptionAmount(id));
      break;
    case HOLDEM_OPTION_RAISE_ANY:
      log_.Line("Your option choice is: RAISE ANY");
      break;
    case HOLDEM_OPTION_CALL:
      log_.LabelNumber("Your option choice is: CALL  amount", option_bar_.GetOptionAmount(id));
      break;
    case HOLDEM_OPTION_CALL_ANY:
      log_.Line("Your option choice is: CALL ANY");
      break;
    default:
      log_.LabelNumber("Your option choice is: UNKNOWN  itemID", id);
      break;
  }
}
