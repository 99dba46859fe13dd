// The player's choices, the seat plates' texts, drawing and input of the Hold'em table are their
// own files, which this build does not have yet. Until they are in, the loop reaches them through
// the minimal bodies here: each does only what the packet loop needs to go on (a bet's chips fly,
// a fold's cards leave, the animations advance, the frame is copied) and offers the player no
// choice. This whole file goes when those files land.
#include <cstdio>

#include "cclient/games/holdem/holdem.h"
#include "cclient/table/table.h"

void HoldemClass::ShowTurnButtons(bool, bool, bool, bool, bool, bool, bool, bool, const char*, const char*) {
  log_.Line("(no action buttons in this build)");
}
void HoldemClass::ShowPostBlind(bool, const char*, bool) {}
void HoldemClass::ShowPostDead(bool, const char*, bool) {}
void HoldemClass::ShowPostNow(bool, const char*, bool, bool) {}
void HoldemClass::ShowShowMuck(bool, bool) {}
void HoldemClass::ShowIAmBack() {}
void HoldemClass::ShowPlayNow(const char*) {}
void HoldemClass::WithdrawPlayNow() {}
bool HoldemClass::PushButtonBar(bool log) {
  if (log) log_.Line("========= push button bar is called");
  return game_started_ != 0;
}

void HoldemClass::ShowSeatAction(int32_t seat, const char* text, int32_t pile, uint32_t amount, bool resume) {
  if (seat < 0 || seat >= kHoldemSeats) return;
  HoldemPlayerSeat& plate = seats_[players_[seat].display_position].plate;
  plate.HideAction();
  plate.SetActionText(text);
  (void)plate.ShowAction();
  if (amount > 0) (void)AnimatePlayerBet(seat, pile, amount, resume);
}

void HoldemClass::ShowSeatFold(int32_t seat, bool silent) {
  if (seat < 0 || seat >= kHoldemSeats) return;
  if (!silent) {
    HoldemPlayerSeat& plate = seats_[players_[seat].display_position].plate;
    plate.HideAction();
    plate.SetActionText("Fold");
    (void)plate.ShowAction();
  }
  (void)MuckSeatCards(seat, false, 0);
}

void HoldemClass::StartTurn(int32_t seat, int32_t previous_seat, double seconds) {
  if (previous_seat >= 0 && previous_seat < kHoldemSeats) StopTurn(previous_seat);
  if (seat < 0 || seat >= kHoldemSeats) return;
  HoldemPlayerSeat& plate = seats_[players_[seat].display_position].plate;
  plate.HideAction();
  (void)plate.StartTurnBlink();
  if (seconds > 0) {
    StopInTurnTimer();
    (void)StartInTurnTimer(seconds, false);
  }
}

void HoldemClass::StopTurn(int32_t seat) {
  StopInTurnTimer();
  if (seat >= 0 && seat < kHoldemSeats) seats_[players_[seat].display_position].plate.StopTurnBlink();
}

void HoldemClass::MapSeat(int32_t server_seat) {
  if (server_seat < 0 || server_seat >= kHoldemSeats) return;
  for (int32_t p = 0; p < kHoldemSeats; ++p) {
    if (seats_[p].server_seat == static_cast<uint32_t>(server_seat)) players_[server_seat].display_position = p;
  }
}

void HoldemClass::SendSitOutNotice(bool on_change) {
  if (local_player_id_ < 0) return;
  const uint8_t wanted = tournament_ != 0 ? tournament_sit_out_ : sit_out_next_hand_;
  if (on_change) {
    if (wanted == sit_out_last_sent_ || sit_out_clock_ < 0.5f || game_state_ == HOLDEM_INSIDE_GAME ||
        game_state_ == HOLDEM_FINISH_GAME) {
      return;
    }
  }
  sit_out_last_sent_ = wanted;
  sit_out_clock_ = 0;
  (void)SendSitOutNextHand(wanted);
}

void HoldemClass::UpdateSeatOptionButtons() {}
void HoldemClass::OnSeatOptionClick(int32_t) {}
void HoldemClass::UpdateOptionBar() {}
void HoldemClass::FoldOptions() {}
void HoldemClass::UnfoldOptions() {}
void HoldemClass::ClearOptionSelection() { (void)option_bar_.ClearSelection(); }
void HoldemClass::HidePreActionBar() {}
void HoldemClass::ShowPreActionBar() {}
void HoldemClass::HideLocalChoices() {}

void HoldemClass::UpdateSeats(bool names, bool) {
  for (int32_t p = 0; p < kHoldemSeats; ++p) {
    const int32_t s = static_cast<int32_t>(seats_[p].server_seat);
    HoldemPlayerSeat& plate = seats_[p].plate;
    if (players_[s].status < 10 && (table_->seat_flags[s] & kSeatOccupied) == 0) {
      plate.SetOpen(true);
      plate.SetName("");
      continue;
    }
    plate.SetOpen(false);
    if (names && players_[s].name[0] != '\0') plate.SetName(players_[s].name);
    char chips[32];
    if (whole_units_ != 0) {
      std::snprintf(chips, sizeof chips, "$%u", players_[s].chips);
    } else {
      std::snprintf(chips, sizeof chips, "$%4.2f", players_[s].chips / 100.0);
    }
    plate.SetChipsText(chips);
  }
}

void HoldemClass::ResetHandDisplay() { ResetTable(); }
void HoldemClass::RaiseWinningBoardCards() { log_.Line("show Deck Cards is visited!"); }
bool HoldemClass::LowerWinningBoardCards() { return false; }
void HoldemClass::LogButtonClick(int32_t) {}
void HoldemClass::LogOptionChoice(int32_t) {}

void HoldemClass::UpdateFrame(float seconds) {
  if (game_started_ == 0 || game_state_ == GAMESTATE_ERROR) return;
  dealer_button_.Update(seconds);
  hole_dealer_->Update(seconds);
  board_dealer_->Update(seconds);
  board_copy_dealer_->Update(seconds);
  board_muck_dealer_->Update(seconds);
  for (auto& dealer : seat_muck_dealers_) dealer->Update(seconds);
  for (auto& pile : working_) pile.Update(seconds);
  for (auto& seat : seats_) {
    for (auto& pile : seat.bets) pile.Update(seconds);
    seat.combined.Update(seconds);
    seat.plate.Update(seconds);
  }
  deal_pile_.Update(seconds);
  refund_pile_.Update(seconds);
  for (auto& pot : pots_) pot.Update(seconds);
}

void HoldemClass::EraseFrame() {}

void HoldemClass::DrawFrame(float) {
  // Without the drawing file the table shows its picture and the status strip only.
  if (table_ == nullptr || !frame_.HasSurfaces()) return;
  platform::RECT rects[GameFrame::kMaxDirty];
  int32_t count = 0;
  table_->PaintStatus(frame_.BackBuffer(), 0.0f, "", frame_.Background(), frame_.RedrawAllPending(), rects, &count,
                      GameFrame::kMaxDirty);
  for (int32_t i = 0; i < count; ++i) frame_.AddDirty(rects[i]);
}

void HoldemClass::RedrawAll() { frame_.RedrawEverything(); }
void HoldemClass::OnChar(int) {}
int HoldemClass::OnMouseMove(int32_t, int32_t, int) { return -1; }
int HoldemClass::OnLButtonDown(int32_t, int32_t) { return -1; }
int HoldemClass::OnLButtonUp(platform::HWND, int32_t, int32_t) { return -1; }
void HoldemClass::OnRButtonUp(platform::HINSTANCE, platform::HWND, int32_t, int32_t) {}
int HoldemClass::ConfirmLeave() {
  log_.Line("Want to leave table");
  ring_.Clear();
  return 0;
}
