#include "cclient/games/omaha/omaha.h"

#include "cclient/games/kit/packet_writer.h"
#include "cclient/table/table.h"

OmahaClass::OmahaClass(TableClass* table) : HoldemClass(table) {
  game_name_ = "Omaha";
  state_prefix_ = "OMAHA";
  log_name_ = "OmahaLog.log";
  log_copies_ = "OmahaLog%d.log";
  leave_caption_ = "Omaha Table";
  hole_layout_.cards = kOmahaHoleCards;
  hole_layout_.step_x = 2;
  hole_layout_.step_y = 0;
  hole_layout_.rest_dx = 1;
  hole_layout_.rest_dy = -34;
  hole_layout_.rest_step_x = 11;
  button_speed_ = 600.0;
  button_longest_ = 0.2;
  option_id_shift_ = kOmahaOptionShift;
  countdown_holds_option_ = false;
  play_now_buttons_ = false;
  card_sheet_ = 0;
  sent_types_ = {OMAHA_PACKET_ACTION, OMAHA_PACKET_SIT_OUT_NEXT_HAND, OMAHA_PACKET_FINISH_GAME, OMAHA_PACKET_I_AM_BACK,
                 OMAHA_PACKET_SHOW_MUCK_RESPONSE};
}

const char* OmahaClass::Create(platform::HINSTANCE instance) {
  const char* error = HoldemClass::Create(instance);
  if (error != nullptr) return error;
  // Omaha's button waits in the middle of the table until a packet names the dealer; it has no
  // route of its own and goes straight to a seat's button point.
  (void)dealer_button_.SetPosition(383, 211);
  button_seat_ = -1;
  button_move_ = 0;
  return nullptr;
}

void OmahaClass::OnResetToCreated() {
  HoldemClass::OnResetToCreated();
  (void)dealer_button_.SetPosition(383, 211);
  table_kind_ = 0;
  i_am_back_requested_ = 0;
  button_seat_ = -1;
  button_move_ = 0;
}

std::unique_ptr<TableGameClass> Omaha_Make(TableClass* table) { return std::make_unique<OmahaClass>(table); }

int OmahaClass::OnMessage(platform::UINT message, platform::WPARAM wParam, platform::LPARAM lParam) {
  // Omaha has no buy-more request and no automatic-blind question.
  if (message == TABLEMSG_SHOW_BUY_MORE || message == TABLEMSG_AUTO_POST_ACCEPTED) return 0;
  const uint32_t kind = static_cast<uint32_t>(wParam) >> 16;
  if (message == TABLEMSG_CHIP_ANIMATION_DONE && kind < kHoldemSeats && (wParam & 0xFFFF) == 4) {
    // A player's chips reached the seat's bet pile. The high half of the parameter is 0 to
    // resume the loop, 1 not to (the post of a dead blind, whose dead part resumes it), else a
    // pause in milliseconds before the loop goes on.
    const uint32_t pause = static_cast<uint32_t>(lParam) >> 16;
    log_.Line("deals chip finish0");
    HoldemClass::OnChipAnimationDone(wParam, static_cast<platform::LPARAM>((lParam & 0xFFFF) | 0x10000));
    log_.Line("deals chip finish1");
    if (pause == 0) {
      ResumeAfter(0, "player deals chips leads to packetLoop", nullptr);
    } else if (pause > 1) {
      (void)StartDelay(pause / 1000.0);
    }
    return 1;
  }
  return HoldemClass::OnMessage(message, wParam, lParam);
}

void OmahaClass::Tick(platform::HWND table_window, float seconds) {
  i_am_back_seconds_ = -1.0f;
  HoldemClass::Tick(table_window, seconds);
}

// ---- Packets ----

std::unique_ptr<GameRecord> OmahaClass::ParsePacket(uint32_t type, const uint8_t* payload, uint32_t length) {
  return Omaha_ParsePacket(type, payload, length, local_player_id_, &table_kind_, &log_);
}

void OmahaClass::DumpPacket(uint32_t type, const GameRecord* record) {
  if (record != nullptr) Omaha_DumpPacket(type, *record, &log_);
}

int OmahaClass::SendAction(int32_t choice, uint32_t amount) {
  const char* line = nullptr;
  const uint8_t code = Omaha_ActionOfChoice(choice, &line);
  if (line == nullptr) {
    // No action code belongs to the choice: nothing is sent.
    log_.LabelNumber("Action UNKNOWN is sent. Crazy!", choice);
    return -1;
  }
  log_.Line(line);
  return GamePacket_Send(table_, sent_types_.action, Holdem_ActionPacket(GamePacket_TableId(table_), hand_number_, round_number_, code, amount));
}

int OmahaClass::SendIAmBack() {
  i_am_back_requested_ = 1;
  return HoldemClass::SendIAmBack();
}

int OmahaClass::SendShowMuck(int32_t button_id) {
  log_.Line("show muck response packet is sent");
  uint8_t choice = 0;
  if (button_id == 33) {
    choice = 1;
  } else if (button_id == 34) {
    choice = 2;
  }
  return GamePacket_Send(table_, sent_types_.show_muck,
              Holdem_FlagPacket(GamePacket_TableId(table_), hand_number_, round_number_, choice));
}

// ---- The loop ----

bool OmahaClass::NoChipsOnTable(const HoldemGameStateRecord& r) {
  if (r.main_pot != 0 || r.side_pot != 0 || r.second_side_pot != 0 || r.dead_pot != 0) return false;
  for (const auto& parts : r.bets) {
    for (uint32_t part : parts) {
      if (part != 0) return false;
    }
  }
  return true;
}

void OmahaClass::CheckLocalSitOut(const uint8_t* sit_out, bool* checked) {
  if (checked != nullptr) {
    if (*checked) return;
    *checked = true;
  }
  if (local_player_id_ < 0 || local_player_id_ >= kHoldemSeats) return;
  if (sit_out[local_player_id_] != 3) {
    i_am_back_requested_ = 0;
    return;
  }
  if (i_am_back_requested_ != 0) {
    (void)SendIAmBack();
  } else {
    ShowIAmBack();
  }
}

bool OmahaClass::PlaceDealerButton(int32_t seat) {
  if (seat < 0 || seat >= kHoldemSeats) return false;
  const bool moved = seat != button_seat_;
  const int32_t how = button_move_;
  button_move_ = 0;
  if (!moved && how == 2) return true;  // a player status leaves a button that stays put alone
  button_seat_ = seat;
  if (moved && how != 0) return MoveDealerButton(seat, false);
  return HoldemClass::PlaceDealerButton(seat);
}

// ---- Choices and the show-down ----

void OmahaClass::UpdateOptionBar() {
  if (game_started_ == 0) return;
  const int32_t selected = option_bar_.GetSelectedOption();
  const HoldemOptionPlan plan =
      OmahaChoices_PlanOptionBar(PreActionOffer(), fixed_limit_ != 0, whole_units_ != 0, selected);
  option_bar_.DisableAllOptions();
  for (int32_t i = 0; i < plan.label_count; ++i) (void)option_bar_.SetOptionText(plan.labels[i].id, plan.labels[i].text);
  for (int32_t i = 0; i < plan.enabled_count; ++i) (void)option_bar_.EnableOption(plan.enabled[i]);
  if (plan.select >= 0 && option_bar_.GetSelectedOption() != plan.select) option_bar_.SelectOption(plan.select, -1);
}

bool OmahaClass::StartChoiceBar(int32_t seat) {
  if (!HoldemClass::StartChoiceBar(seat)) return false;
  HoldemSeatRecord& record = seats_[players_[seat].display_position % kHoldemSeats];
  for (ChipStack& pile : record.bets) (void)pile.SetAmount(0);
  (void)record.combined.SetAmount(0);
  return true;
}

int32_t OmahaClass::ClassifyFinalPacket(const HoldemFinalRecord& record) const {
  if (static_cast<const OmahaFinalRecord&>(record).show_result == 0) return 0;
  return HoldemClass::ClassifyFinalPacket(record);
}

bool OmahaClass::ShowPreviousAction(const HoldemGameStateRecord& record) {
  if (record.previous_player != 255) {
    if (record.previous_flags[ACTION_POST_NOW] != 0) log_.Line("PostNow Entered!");
    if (record.previous_flags[ACTION_COMPLETE_TO] != 0) log_.Line("CompleteTo Entered!");
    if (record.previous_flags[ACTION_POST_DEAD] != 0) log_.Line("Post Dead Entered!");
  }
  const double countdown = auto_post_countdown_;
  const uint8_t asked = auto_post_asked_;
  const bool moved = HoldemClass::ShowPreviousAction(record);
  auto_post_countdown_ = countdown;
  auto_post_asked_ = asked;
  return moved;
}

void OmahaClass::RaiseWinningCards(const HoldemFinalRecord& base) {
  const auto& r = static_cast<const OmahaFinalRecord&>(base);
  if (r.Winners() != 1 || r.winners[0] < 0 || r.winners[0] >= kHoldemSeats) return;
  if (!OmahaChoices_HandHasNoCard(r.winner_hands[0])) return;
  const int32_t seat = r.winners[0];
  const OmahaWinningMarks marks = OmahaChoices_MatchWinningCards(r.winner_hands[0], r.board, r.cards[seat]);
  // The board's raise is Hold'em's, over the board cards the winner's bytes hold.
  for (int32_t c = 0; c < kHoldemBoardCards; ++c) winner_cards_[seat][c] = marks.board[c] != 0 ? r.board[c] : -1;
  board_raise_state_ = 1;
  RaiseWinningBoardCards();
  if (hole_dealer_ == nullptr) return;
  hole_dealer_->ClearRaiseMarks();
  hole_dealer_->SetRaiseMarks(seat, marks.hole);
  for (int32_t s = 0; s < kHoldemSeats; ++s) hole_dealer_->SetSeatRaise(s, true, false);
  hole_dealer_->SetRaiseParams(10, 0.2);
  if (!hole_dealer_->StartRaise()) log_.Line("Card animation can not start");
}

void OmahaClass::OnFinalStateApplied(const HoldemFinalRecord& base) {
  const auto& r = static_cast<const OmahaFinalRecord&>(base);
  CheckLocalSitOut(r.sit_out, &r.sit_out_checked);
}

double OmahaClass::WinnerWaitSeconds(const HoldemFinalRecord& base) const {
  const auto& r = static_cast<const OmahaFinalRecord&>(base);
  bool rake = false;
  for (int32_t i = 0; i < r.Winners(); ++i) rake = rake || r.rake_returns[i] != 0;
  return OmahaChoices_WinnerWait(r.timer, rake, table_kind_ == 1 && pots_[4].GetAmount() > 0);
}

LoopOutcome OmahaClass::ProcessHead(uint32_t type, GameRecord* record) {
  const uint32_t holdem_type = Omaha_HoldemType(type);
  if (game_state_ == GAMESTATE_ERROR) return HoldemClass::ProcessHead(holdem_type, record);
  if (game_state_ == OMAHA_INIT_TABLE && type == OMAHA_PACKET_COLLECTION) {
    LogNamed("gameState = %s_INIT_TABLE:", state_prefix_);
    log_.Line("\tReceive collection packet");
    return LoopOutcome::kNext;
  }
  if (game_state_ == OMAHA_IDLE && type == OMAHA_PACKET_FINAL) {
    LogNamed("gameState = %s_IDLE:", state_prefix_);
    log_.Line("\tReceive Unexpected Packet");
    return LoopOutcome::kNext;
  }
  switch (type) {
    case OMAHA_PACKET_GAME_STATE: {
      auto& r = *static_cast<OmahaGameStateRecord*>(record);
      // The button moves with the animation at the start of a hand and during play when no
      // chips lie on the table; it is placed at once when the table opens.
      button_move_ = game_state_ == OMAHA_INIT_TABLE ? 0 : game_state_ == OMAHA_IDLE || NoChipsOnTable(r) ? 1 : 0;
      const LoopOutcome outcome = HoldemClass::ProcessHead(holdem_type, record);
      button_move_ = 0;
      if (r.hand == hand_number_) round_number_ = r.round;
      CheckLocalSitOut(r.sit_out, &r.sit_out_checked);
      return outcome;
    }
    case OMAHA_PACKET_FINAL: {
      auto& r = *static_cast<OmahaFinalRecord*>(record);
      const LoopOutcome outcome = HoldemClass::ProcessHead(holdem_type, record);
      if (r.hand == hand_number_) round_number_ = r.round;
      return outcome;
    }
    case OMAHA_PACKET_OPTION_INDICATE: {
      // The hand and round are taken whatever the hand number; no wait for a new hand.
      auto& r = *static_cast<OmahaHandRecord*>(record);
      log_.Line("Received Option indicate packet...");
      ApplyOptionIndicate(r);
      round_number_ = r.round;
      return LoopOutcome::kNext;
    }
    case OMAHA_PACKET_DISPLAY_I_AM_BACK: {
      auto& r = *static_cast<OmahaHandRecord*>(record);
      const bool expected = r.hand == hand_number_;
      const LoopOutcome outcome = HoldemClass::ProcessHead(holdem_type, record);
      if (expected) {
        round_number_ = r.round;
        if (local_player_id_ >= 0) i_am_back_requested_ = 0;
      }
      return outcome;
    }
    case OMAHA_PACKET_ASK_SHOW_MUCK: {
      auto& r = *static_cast<OmahaAskShowMuckRecord*>(record);
      const LoopOutcome outcome = HoldemClass::ProcessHead(holdem_type, record);
      if (r.hand == hand_number_) round_number_ = r.round;
      return outcome;
    }
    case OMAHA_PACKET_PLAYER_STATUS: {
      auto& r = *static_cast<OmahaPlayerStatusRecord*>(record);
      const LoopOutcome outcome = HoldemClass::ProcessHead(holdem_type, record);
      if (game_started_ != 0) CheckLocalSitOut(r.sit_out, nullptr);
      // Omaha has no dealer-button packet: the player status names the dealer too.
      if (game_state_ != OMAHA_INIT_TABLE) {
        button_move_ = 2;
        (void)PlaceDealerButton(r.dealer);
        button_move_ = 0;
      }
      return outcome;
    }
    default:
      return HoldemClass::ProcessHead(holdem_type, record);
  }
}
