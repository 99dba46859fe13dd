// The Hold'em packet loop: what each packet does in each game state, the final and clear-table
// steps, the hand-number check, the per-frame tick, the software timers and the window messages.
#include <cstring>

#include "cclient/games/holdem/holdem.h"
#include "cclient/table/table.h"

LoopOutcome HoldemClass::FinishPacket() {
  if (local_player_id_ >= 0) SendSitOutNotice(false);
  return LoopOutcome::kYield;
}

bool HoldemClass::CheckHandNumber(uint32_t hand) {
  if (hand == hand_number_) return false;
  log_.LabelNumber("\t\tget unexpected hand number", hand);
  StopInTurnTimer();
  sound_timer_.Stop();
  ResetTable();
  SetHand(hand);
  (void)StartInstant();
  if (game_state_ != HOLDEM_FINISH_GAME) game_state_ = HOLDEM_INSIDE_GAME;
  return true;
}

void HoldemClass::StopAllTurnBlinks(int32_t except_seat) {
  for (int32_t s = 0; s < kHoldemSeats; ++s) {
    if (s != except_seat) seats_[players_[s].display_position].plate.StopTurnBlink();
  }
  if (except_seat < 0) StopInTurnTimer();
}

LoopOutcome HoldemClass::ProcessHead(uint32_t type, GameRecord* record) {
  bool handled = false;
  const LoopOutcome outcome = HandleAnyState(type, record, &handled);
  if (handled) return outcome;
  switch (game_state_) {
    case HOLDEM_INIT_TABLE:
      return HandleInitTable(type, record);
    case HOLDEM_IDLE:
      return HandleIdle(type, record);
    case HOLDEM_INSIDE_GAME:
      return HandleInsideGame(type, record);
    case HOLDEM_FINISH_GAME:
      return HandleFinishGame(type, record);
    default:
      return LoopOutcome::kNext;
  }
}

LoopOutcome HoldemClass::HandleAnyState(uint32_t type, GameRecord* record, bool* handled) {
  *handled = true;
  switch (type) {
    case HOLDEM_PACKET_ERROR: {
      const auto& r = *static_cast<HoldemErrorRecord*>(record);
      game_state_ = GAMESTATE_ERROR;
      if (table_ != nullptr) table_->AddDealerSummary("An error has occurred at this table.  Please contact support.");
      LogNamed("%s enters Error status", game_name_);
      log_.LabelNumber("Current handNumber", r.hand);
      log_.LabelNumber("Error Code", r.code);
      StopInTurnTimer();
      sound_timer_.Stop();
      ResetTable();
      return LoopOutcome::kNext;
    }
    case HOLDEM_PACKET_MOVE_D_BUTTON: {
      const auto& r = *static_cast<HoldemMoveButtonRecord*>(record);
      log_.LabelNumber("Get move D packet with target", r.to);
      if (r.from != r.to) {
        (void)MoveDealerButton(r.to, r.along_path != 0);
      } else {
        (void)PlaceDealerButton(r.to);
      }
      return LoopOutcome::kNext;
    }
    case HOLDEM_PACKET_SHOW_PLAY_NOW: {
      const auto& r = *static_cast<HoldemShowPlayNowRecord*>(record);
      log_.LabelNumber("Get show play now packet with show flag", r.show);
      if (r.show != 0) {
        ApplyShowPlayNow(r);
      } else {
        log_.Line("***--- push play now by server request");
        WithdrawPlayNow();
      }
      return LoopOutcome::kNext;
    }
    case HOLDEM_OPTION_INDICATE: {
      const auto& r = *static_cast<HoldemHandRecord*>(record);
      log_.Line("Received Option indicate packet...");
      if (r.hand == hand_number_) {
        ApplyOptionIndicate(r);
        return LoopOutcome::kNext;
      }
      (void)CheckHandNumber(r.hand);
      return LoopOutcome::kWait;
    }
    case HOLDEM_PACKET_DISPLAY_I_AM_BACK: {
      const auto& r = *static_cast<HoldemHandRecord*>(record);
      log_.Line("\tReceive Display I am back Packet");
      if (r.hand == hand_number_) {
        ApplyDisplayIAmBack(r);
        if (local_player_id_ >= 0) ShowIAmBack();
        return LoopOutcome::kNext;
      }
      (void)CheckHandNumber(r.hand);
      return LoopOutcome::kWait;
    }
    case HOLDEM_PACKET_LOCAL_PLAYER_STATUS_NOTIFICATION:
      log_.Line("\tReceive player status notification packet");
      ApplyLocalPlayerStatus(static_cast<HoldemLocalStatusRecord*>(record)->status);
      return LoopOutcome::kNext;
    case HOLDEM_PACKET_FORCE_TO_SHOW_BUY_MORE_WINDOW: {
      log_.Line("\tReceive force to show buy more window packet");
      const uint32_t amount = static_cast<HoldemBuyMoreRecord*>(record)->amount;
      if (local_player_id_ >= 0 && players_[local_player_id_].chips < amount) Post(TABLEMSG_SHOW_BUY_MORE, 0, 0);
      return LoopOutcome::kNext;
    }
    case HOLDEM_PACKET_PLAYER_STATUS:
      log_.Line("\tReceive Player Status Packet");
      ApplyPlayerStatus(*static_cast<HoldemPlayerStatusRecord*>(record));
      if (game_state_ == HOLDEM_INIT_TABLE) SyncSeats(false);
      return LoopOutcome::kNext;
    default:
      *handled = false;
      return LoopOutcome::kNext;
  }
}

LoopOutcome HoldemClass::HandleInitTable(uint32_t type, GameRecord* record) {
  LogNamed("gameState = %s_INIT_TABLE:", state_prefix_);
  switch (type) {
    case HOLDEM_PACKET_GAME_STATE: {
      const auto& r = *static_cast<HoldemGameStateRecord*>(record);
      log_.Line("\tReceive GameState Packet");
      UpdateSeatStatus(r.status, r.sit_out);
      SyncSeats(false);
      if (r.dealer < kHoldemSeats) {
        dealer_seat_ = r.dealer;
        (void)PlaceDealerButton(r.dealer);
      }
      ApplyGameState(r, ApplyParts{});
      OfferNextPlayerChoices(r);
      game_state_ = HOLDEM_INSIDE_GAME;
      return LoopOutcome::kYield;
    }
    case HOLDEM_PACKET_FINAL:
      log_.Line("\tReceive FinalState Packet");
      game_state_ = HOLDEM_FINISH_GAME;
      SendSitOutNotice(false);
      return LoopOutcome::kAgain;
    case HOLDEM_COLLECT_PACKET:
    case HOLDEM_PACKET_CLEAR_TABLE:
      return LoopOutcome::kNext;
    default:
      log_.LabelNumber("\tReceive Unexpected Packet", type);
      return LoopOutcome::kNext;
  }
}

void HoldemClass::ClearTableChips(const HoldemClearTableRecord& record) {
  for (int32_t s = 0; s < kHoldemSeats; ++s) {
    players_[s].chips = record.chips[s];
    if (table_ != nullptr && players_[s].status >= 11) table_->seat_amounts[s] = record.chips[s];
  }
  UpdateSeats(false, true);
}

LoopOutcome HoldemClass::HandleIdle(uint32_t type, GameRecord* record) {
  LogNamed("gameState = %s_IDLE:", state_prefix_);
  switch (type) {
    case HOLDEM_PACKET_GAME_STATE: {
      const auto& r = *static_cast<HoldemGameStateRecord*>(record);
      log_.Line("\tReceive GameState Packet");
      UpdateSeatStatus(r.status, r.sit_out);
      StopInTurnTimer();
      HideLocalChoices();
      game_state_ = HOLDEM_INSIDE_GAME;
      dealer_seat_ = r.dealer < kHoldemSeats ? r.dealer : -1;
      dealer_status_ = -1;
      next_player_ = -1;
      previous_player_ = -1;
      SetHand(r.hand);
      (void)PlaceDealerButton(r.dealer);
      return LoopOutcome::kAgain;
    }
    case HOLDEM_PACKET_FINAL:
      log_.Line("\tReceive unexpected FinalState Packet");
      game_state_ = HOLDEM_FINISH_GAME;
      return LoopOutcome::kAgain;
    case HOLDEM_PACKET_CLEAR_TABLE:
      ClearTableChips(*static_cast<HoldemClearTableRecord*>(record));
      return LoopOutcome::kNext;
    default:
      log_.Line("\tReceive Unexpected Packet");
      return LoopOutcome::kNext;
  }
}

LoopOutcome HoldemClass::HandleInsideGame(uint32_t type, GameRecord* record) {
  LogNamed("gameState = %s_INSIDE_GAME:", state_prefix_);
  switch (type) {
    case HOLDEM_PACKET_GAME_STATE:
      return GameStateInsideGame(*static_cast<HoldemGameStateRecord*>(record));
    case HOLDEM_COLLECT_PACKET: {
      const auto& r = *static_cast<HoldemCollectRecord*>(record);
      if (r.hand != hand_number_) {
        ClearOptionSelection();
        (void)CheckHandNumber(r.hand);
        return LoopOutcome::kWait;
      }
      return CollectionInsideGame(r);
    }
    case HOLDEM_PACKET_FINAL:
      StopAllTurnBlinks(-1);
      log_.Line("\tReceive FinalState Packet");
      ClearOptionSelection();
      HideLocalChoices();
      HidePreActionBar();
      game_state_ = HOLDEM_FINISH_GAME;
      SendSitOutNotice(false);
      return LoopOutcome::kAgain;
    case HOLDEM_PACKET_ASK_SHOW_MUCK: {
      const auto& r = *static_cast<HoldemAskShowMuckRecord*>(record);
      log_.Line("\tReceive Asking Show Muck Packet");
      if (r.hand != hand_number_) {
        (void)CheckHandNumber(r.hand);
        return LoopOutcome::kWait;
      }
      return AskShowMuck(r, true);
    }
    case HOLDEM_PACKET_REFUND: {
      const auto& r = *static_cast<HoldemRefundRecord*>(record);
      log_.Line("\tReceive chip refund packet");
      if (r.hand != hand_number_) {
        (void)CheckHandNumber(r.hand);
        return LoopOutcome::kWait;
      }
      ApplyRefund(r);
      return LoopOutcome::kYield;
    }
    case HOLDEM_PACKET_CLEAR_TABLE:
      return ClearTableSteps(*static_cast<HoldemClearTableRecord*>(record));
    default:
      return LoopOutcome::kNext;
  }
}

LoopOutcome HoldemClass::AskShowMuck(const HoldemAskShowMuckRecord& r, bool stop_blinks) {
  if (stop_blinks) StopAllTurnBlinks(-1);
  ApplyAskShowMuck(r);
  if (auto_muck_ != 0 && r.muck != 0) {
    (void)SendShowMuck(34);
    return LoopOutcome::kNext;
  }
  ShowShowMuck(r.show != 0, r.muck != 0);
  StopInTurnTimer();
  (void)StartInTurnTimer(r.timer, false);
  return LoopOutcome::kNext;
}

LoopOutcome HoldemClass::GameStateInsideGame(const HoldemGameStateRecord& r) {
  log_.Line("\tReceive GameState Packet");
  StopInTurnTimer();
  // A new hand, or a change of the board that is not a step of the deal, is applied in full.
  bool full = r.hand != hand_number_;
  const bool status_changed = r.dealer_status != dealer_status_;
  if (!full && status_changed) {
    const int32_t held = dealer_status_;
    const int32_t now = r.dealer_status;
    bool step = false;
    if (held == 1 || held == 2) {
      step = true;
    } else if (held != 5) {
      step = (held == -1 && now == 0) || (held == 0 && now == 3) || (held == 3 && now == 4) || (held == 4 && now == 5);
    }
    if (step && now > 0) {
      for (int32_t s = 0; s < kHoldemSeats && step; ++s) {
        for (uint32_t bet : r.bets[s]) {
          if (bet > 0) step = false;
        }
      }
    }
    full = !step;
  }
  if (full) {
    ClearOptionSelection();
    UpdateSeatStatus(r.status, r.sit_out);
    ApplyGameState(r, ApplyParts{});
    OfferNextPlayerChoices(r);
    return LoopOutcome::kYield;
  }
  UpdateSeatStatus(r.status, r.sit_out);
  StopAllTurnBlinks(r.next_player < kHoldemSeats ? r.next_player : -1);
  if (!status_changed) {
    if (r.next_player == next_player_ && r.previous_player == previous_player_) {
      log_.Line("\t\tmight be in case of post blind");
      ApplyGameState(r, ApplyParts{});
      OfferNextPlayerChoices(r);
      return LoopOutcome::kYield;
    }
    log_.LabelNumber("\t\tgo to next player, currentStep", ring_.step);
    if (next_player_ != r.previous_player) ClearOptionSelection();
    ApplyParts seats_only;
    seats_only.hole_cards = seats_only.board = seats_only.bet_piles = seats_only.pots = seats_only.turn = false;
    ApplyGameState(r, seats_only);
    if (ring_.step == -1) {
      ring_.step = 0;
      if (ShowPreviousAction(r)) return LoopOutcome::kWait;
    }
    ApplyGameState(r, ApplyParts{});
    OfferNextPlayerChoices(r);
    return LoopOutcome::kYield;
  }
  log_.LabelNumber("\t\tDealer Deals Cards, currentStep", ring_.step);
  ClearOptionSelection();
  if (ring_.step == -1) {
    ring_.step = 0;
    switch (r.dealer_status) {
      case 0:
        // The hole deal starts from the dealer seat: without a known dealer the cards are placed.
        if (dealer_seat_ >= 0 || r.dealer < kHoldemSeats) {
          if (dealer_seat_ < 0) dealer_seat_ = r.dealer;
          (void)DealHoleCards(r);
          return LoopOutcome::kWait;
        }
        break;
      case 3:
        if (DealBoardCards(0, 2, r.board)) return LoopOutcome::kWait;
        break;
      case 4:
      case 5:
        if (DealBoardCards(r.dealer_status - 1, r.dealer_status - 1, r.board)) return LoopOutcome::kWait;
        break;
      default:
        log_.Line("\t\t\tUnexpected Dealer status changes");
        break;
    }
  }
  ApplyGameState(r, ApplyParts{});
  OfferNextPlayerChoices(r);
  SendSitOutNotice(false);
  return LoopOutcome::kYield;
}

LoopOutcome HoldemClass::CollectionInsideGame(const HoldemCollectRecord& r) {
  StopAllTurnBlinks(-1);
  log_.LabelNumber("\tReceive Collection Packet, currentStep", ring_.step);
  ClearOptionSelection();
  HideLocalChoices();
  HidePreActionBar();
  const uint32_t to_house = r.to_house[0] + r.to_house[1] + r.to_house[2];
  if (ring_.step == -1) {
    UpdateSeatStatus(r.status, nullptr);
    if (next_player_ >= 0) next_player_ = previous_player_ = -1;
    const bool started = AnimateBetsToPots(r, 0);
    if (started && to_house > 0) {
      ring_.step = 0;
      return LoopOutcome::kWait;
    }
    ring_.step = 1;
    if (started) return LoopOutcome::kWait;
  }
  if (ring_.step == 0) {
    SetPots(r.pots[0] + r.to_house[0], r.pots[1] + r.to_house[1], r.pots[2] + r.to_house[2]);
    (void)pots_[3].SetAmount(0);
    (void)StartDelay(0.3);
    ring_.step = 1;
    return LoopOutcome::kWait;
  }
  if (ring_.step == 1) {
    SetPots(r.pots[0], r.pots[1], r.pots[2]);
    (void)pots_[3].SetAmount(0);
    ring_.step = 2;
    if (to_house > 0 && AnimatePotsToHouse(r.to_house[0], r.to_house[1], r.to_house[2], 0)) return LoopOutcome::kWait;
  }
  ApplyCollection(r, false);
  pots_total_ = r.pots[0] + r.pots[1] + r.pots[2];
  return LoopOutcome::kYield;
}

LoopOutcome HoldemClass::HandleFinishGame(uint32_t type, GameRecord* record) {
  switch (type) {
    case HOLDEM_PACKET_FINAL: {
      auto& r = *static_cast<HoldemFinalRecord*>(record);
      LogNamed("gameState = %s_FINISH_GAME", state_prefix_);
      log_.LabelNumber("Packet current step", ring_.step);
      if (r.hand != hand_number_) {
        (void)CheckHandNumber(r.hand);
        return LoopOutcome::kWait;
      }
      return FinalSteps(r);
    }
    case HOLDEM_PACKET_GAME_STATE:
    case HOLDEM_PACKET_REFUND: {
      const uint32_t hand = type == HOLDEM_PACKET_GAME_STATE ? static_cast<HoldemGameStateRecord*>(record)->hand
                                                             : static_cast<HoldemRefundRecord*>(record)->hand;
      log_.Line(type == HOLDEM_PACKET_GAME_STATE ? "\t\tReceive GameState packet at Final Game state"
                                                 : "\t\tReceive Chip Refund packet at Final Game state");
      if (hand == hand_number_) return LoopOutcome::kNext;
      (void)CheckHandNumber(hand);
      game_state_ = HOLDEM_INSIDE_GAME;
      return LoopOutcome::kWait;
    }
    case HOLDEM_COLLECT_PACKET: {
      const auto& r = *static_cast<HoldemCollectRecord*>(record);
      log_.Line("\t\tReceive Collection packet at Final Game state");
      log_.LabelNumber("Packet current step", ring_.step);
      if (r.hand != hand_number_) {
        (void)CheckHandNumber(r.hand);
        game_state_ = HOLDEM_INSIDE_GAME;
        return LoopOutcome::kWait;
      }
      if (ring_.step == -1) {
        ring_.step = 0;
        SetPots(r.pots[0], r.pots[1], r.pots[2]);
        (void)pots_[3].SetAmount(0);
        if (r.to_house[0] + r.to_house[1] + r.to_house[2] > 0 &&
            AnimatePotsToHouse(r.to_house[0], r.to_house[1], r.to_house[2], 0)) {
          return LoopOutcome::kWait;
        }
      }
      ApplyCollection(r, false);
      pots_total_ = r.pots[0] + r.pots[1] + r.pots[2];
      return LoopOutcome::kYield;
    }
    case HOLDEM_PACKET_ASK_SHOW_MUCK: {
      const auto& r = *static_cast<HoldemAskShowMuckRecord*>(record);
      log_.Line("\tReceive Asking Show Muck Packet");
      if (r.hand != hand_number_) {
        (void)CheckHandNumber(r.hand);
        game_state_ = HOLDEM_INSIDE_GAME;
        return LoopOutcome::kWait;
      }
      return AskShowMuck(r, false);
    }
    case HOLDEM_PACKET_CLEAR_TABLE:
      return ClearTableSteps(*static_cast<HoldemClearTableRecord*>(record));
    default:
      log_.Line("\t\tReceive Unexpected Packet");
      return LoopOutcome::kNext;
  }
}

void HoldemClass::RaiseWinningCards(const HoldemFinalRecord& r) {
  if (r.Winners() == 1 && r.winners[0] >= 0 && r.dealer_status == 5) {
    board_raise_state_ = 1;
    RaiseWinningBoardCards();
  }
}

double HoldemClass::WinnerWaitSeconds(const HoldemFinalRecord& r) const { return r.show_card_seconds; }

LoopOutcome HoldemClass::FinalSteps(HoldemFinalRecord& r) {
  const int32_t n = r.Winners();
  auto winner_seat = [&](int32_t i) -> int32_t { return r.winners[i] >= 0 ? r.winners[i] : -1; };
  const bool one_seatless = n == 1 && r.winners[0] < 0;
  for (;;) {
    switch (ring_.step) {
      case -1: {
        bool differs;
        int32_t klass = 0;
        if (winner_count_ == 0) {
          differs = n > 0;
          if (r.last_packet == 0 && n == 0) klass = ClassifyFinalPacket(r);
        } else {
          differs = n != winner_count_;
          for (int32_t i = 0; i < n && !differs; ++i) differs = r.winners[i] != winner_seats_[i];
        }
        if (klass != 0) {
          UpdateSeatStatus(r.status, r.sit_out);
          ring_.step = (klass == 1 || klass == 3) ? -5 : -3;
          final_class_ = klass;
          continue;
        }
        if (differs) {
          if (winner_count_ == 1 && n >= 2) (void)LowerWinningBoardCards();
          UpdateSeatStatus(r.status, r.sit_out);
          ApplyFinalState(r, 1, true);
          if (n > 0 && r.winning_chips[0] > 0) {
            RaiseWinningCards(r);
            for (int32_t i = 0; i < n; ++i) {
              const int32_t seat = winner_seat(i);
              if (seat < 0) continue;
              HoldemPlayerSeat& plate = seats_[players_[seat].display_position].plate;
              plate.HideAction();
              (void)plate.StartTurnBlink();
              plate.SetWinner();
            }
          }
          if (n != 0) StopInTurnTimer();
        } else {
          UpdateSeatStatus(r.status, r.sit_out);
          ApplyFinalState(r, 1, true);
          for (int32_t i = 0; i < n; ++i) {
            const int32_t seat = winner_seat(i);
            if (seat < 0 || r.winning_chips[0] < 1) continue;
            HoldemPlayerSeat& plate = seats_[players_[seat].display_position].plate;
            plate.HideAction();
            (void)plate.StartTurnBlink();
            plate.SetWinner();
          }
        }
        ring_.step = 0;
        const double wait = WinnerWaitSeconds(r);
        if (wait >= 1) {
          (void)StartDelay(wait);
          return LoopOutcome::kWait;
        }
        continue;
      }
      case -5:
        if (r.dealer_status >= 1) {
          for (int32_t s = 0; s < kHoldemSeats; ++s) {
            const uint32_t code = Holdem_StatusCode(r.status[s]);
            (void)hole_dealer_->RemoveCards(s, 0);
            bool absent = false, known = true;
            for (int32_t c = 0; c < hole_layout_.cards; ++c) {
              absent = absent || r.cards[s][c] < -1;
              known = known && r.cards[s][c] >= 0;
            }
            if ((code != SEAT_IN_HAND && code != SEAT_ALL_IN) || absent) continue;
            (void)hole_dealer_->PlaceAllCards(s);
            for (int32_t c = 0; c < hole_layout_.cards; ++c) hole_dealer_->SetCardFace(s, c, known ? r.cards[s][c] : -1);
            if (known) {
              hole_dealer_->TurnFaceUp(s);
            } else {
              hole_dealer_->TurnFaceDown(s);
            }
          }
          RedrawInPlace(hole_dealer_.get());
        }
        ring_.step = -4;
        continue;
      case -4: {
        dealer_status_ = r.dealer_status;
        bool started = false;
        bool dealt = true;
        switch (r.dealer_status) {
          case 0:
            started = DealHoleCardsFromFinal(r) >= 0 && hole_dealer_->HasPendingMessage();
            break;
          case 3:
            started = DealBoardCards(0, 2, r.board);
            break;
          case 4:
          case 5:
            started = DealBoardCards(r.dealer_status - 1, r.dealer_status - 1, r.board);
            break;
          default:
            dealt = false;
            break;
        }
        if (dealt && r.show_card_seconds > -128) --r.show_card_seconds;
        ring_.step = final_class_ == 1 ? -2 : -3;
        if (started) return LoopOutcome::kWait;
        continue;
      }
      case -3: {
        const auto diff = [](int32_t shown, uint32_t wanted) -> uint32_t {
          return shown > static_cast<int32_t>(wanted) ? static_cast<uint32_t>(shown) - wanted : 0;
        };
        const uint32_t d0 = diff(pots_[0].GetAmount(), r.pots[0]);
        const uint32_t d1 = diff(pots_[1].GetAmount(), r.pots[1]);
        const uint32_t d2 = diff(pots_[2].GetAmount(), r.pots[2]);
        const bool started = AnimatePotsToHouse(d0, d1, d2, 0);
        SetPots(r.pots[0], r.pots[1], r.pots[2]);
        ring_.step = -2;
        if (started) return LoopOutcome::kWait;
        continue;
      }
      case -2:
        (void)pots_[4].SetAmount(static_cast<int32_t>(r.house_take));
        // Classified once more, the packet now matches what is shown.
        ring_.step = -1;
        continue;
      case 0: {
        if (r.show_muck_seconds > 0) {
          if (auto_muck_ != 0) {
            (void)SendShowMuck(34);
          } else {
            ShowShowMuck(true, true);
            StopInTurnTimer();
            (void)StartInTurnTimer(r.show_muck_seconds, false);
          }
        }
        ring_.step = 1;
        if (n == 0 || one_seatless) continue;
        if (AnimatePotToWinners(r.paying_pot + 1, pots_[r.paying_pot].GetAmount(), r.winning_chips, n, r.winners, 1000)) {
          return LoopOutcome::kWait;
        }
        continue;
      }
      case 1: {
        for (int32_t i = 0; i < n; ++i) {
          const int32_t seat = winner_seat(i);
          if (seat < 0) continue;
          const uint32_t chips = r.chips[seat] > r.rake_returns[i] ? r.chips[seat] - r.rake_returns[i] : 0;
          players_[seat].chips = chips;
          if (table_ != nullptr) table_->seat_amounts[seat] = chips;
          (void)working_[i].SetAmount(0);
        }
        UpdateSeats(false, true);
        ring_.step = 2;
        if (n == 0 || one_seatless) continue;
        if (AnimateRakeReturn(r.house_take, n, r.winners, r.rake_returns) && !working_[0].IsIdle()) {
          return LoopOutcome::kWait;
        }
        continue;
      }
      case 2: {
        for (int32_t i = 0; i < n; ++i) {
          const int32_t seat = winner_seat(i);
          if (seat < 0) continue;
          players_[seat].chips = r.chips[seat];
        }
        UpdateSeats(false, true);
        ring_.step = 3;
        if (working_[0].GetAmount() > 0 &&
            working_[0].StartSink(0.0, 0.02, true, Window(), TABLEMSG_CHIP_ANIMATION_DONE, 13 << 16, 0)) {
          return LoopOutcome::kWait;
        }
        continue;
      }
      case 3: {
        for (int32_t i = 0; i < n; ++i) {
          (void)working_[i].SetAmount(0);
          const int32_t seat = winner_seat(i);
          if (seat < 0) continue;
          HoldemPlayerSeat& plate = seats_[players_[seat].display_position].plate;
          plate.StopTurnBlink();
          plate.ClearWinner();
        }
        ring_.step = 4;
        if (r.last_packet == 0) continue;
        bool any_seat = false;
        for (int32_t s = 0; s < kHoldemSeats; ++s) {
          if (MuckSeatCards(s, !any_seat, 0)) any_seat = true;
        }
        const bool board = MuckBoard(!any_seat, any_seat ? 0 : 500);
        if (!any_seat && !board) continue;
        return LoopOutcome::kWait;
      }
      case 4:
        if (r.last_packet != 0 &&
            pots_[4].StartCollect(0.09f, 0.0f, true, Window(), TABLEMSG_CHIP_ANIMATION_DONE, 20 << 16, 100)) {
          ring_.step = 5;
          return LoopOutcome::kWait;
        }
        ring_.step = 6;
        continue;
      case 5: {
        ring_.step = 6;
        const int32_t chips = pots_[4].GetChipCount();
        const double per_chip = chips < 4 ? 0.02 : chips <= 5 ? 0.015 : 0.012;
        if (pots_[4].StartSink(0.0, per_chip, true, Window(), TABLEMSG_CHIP_ANIMATION_DONE, 20 << 16, 0)) {
          return LoopOutcome::kWait;
        }
        continue;
      }
      default: {
        ApplyFinalState(r, 0, true);
        delay_timer_.Stop();
        sound_timer_.Stop();
        if (r.last_packet == 0) {
          for (ChipStack& pile : working_) (void)pile.SetAmount(0);
          return FinishPacket();
        }
        StopInTurnTimer();
        if (local_player_id_ >= 0 && static_cast<int8_t>(r.status[local_player_id_]) >= 0) (void)SendFinishGame();
        game_state_ = HOLDEM_IDLE;
        ResetTable();
        return FinishPacket();
      }
    }
  }
}

LoopOutcome HoldemClass::ClearTableSteps(const HoldemClearTableRecord& r) {
  log_.LabelNumber("Packet current step", ring_.step);
  if (ring_.step == -1) {
    for (ChipStack& pot : pots_) (void)pot.SetAmount(0);
    for (ChipStack& pile : working_) (void)pile.SetAmount(0);
    for (HoldemSeatRecord& seat : seats_) {
      for (ChipStack& pile : seat.bets) (void)pile.SetAmount(0);
      (void)seat.combined.SetAmount(0);
      seat.plate.StopTurnBlink();
      seat.plate.ClearWinner();
    }
    (void)deal_pile_.SetAmount(0);
    (void)refund_pile_.SetAmount(0);
    ClearTableChips(r);
    HideLocalChoices();
    HidePreActionBar();
    StopInTurnTimer();
    (void)StartDelay(1.0);
    ring_.step = 0;
    return LoopOutcome::kWait;
  }
  if (ring_.step == 0) {
    ring_.step = 1;
    bool any_seat = false;
    for (int32_t s = 0; s < kHoldemSeats; ++s) {
      if (MuckSeatCards(s, !any_seat, 0)) any_seat = true;
    }
    const bool board = MuckBoard(!any_seat, any_seat ? 0 : 500);
    if (any_seat || board) return LoopOutcome::kWait;
  }
  StopInTurnTimer();
  delay_timer_.Stop();
  sound_timer_.Stop();
  game_state_ = HOLDEM_IDLE;
  ResetTable();
  return FinishPacket();
}

// ---- Timers ----

bool HoldemClass::StartInTurnTimer(double seconds, bool warning) {
  return turn_clock_.Start(seconds, warning, &log_);
}

void HoldemClass::StopInTurnTimer() {
  turn_clock_.Stop();
}

bool HoldemClass::StartSoundTimer(double seconds, uint32_t slot) { return sound_timer_.Start(seconds, slot, &log_); }

void HoldemClass::TimerStep(double seconds) {
  if (turn_clock_.Countdown(seconds)) Post(TABLEMSG_TIMER, TIMERSLOT_IN_TURN, 0);
  if (sound_timer_.Countdown(seconds)) {
    const uint32_t slot = sound_timer_.Slot();
    sound_timer_.Stop();
    Post(TABLEMSG_TIMER, slot, 0);
  }
  if (refund_timer_.Countdown(seconds)) Post(TABLEMSG_TIMER, TIMERSLOT_REFUND, 0);
  CountDownLoopTimers(seconds);
}

void HoldemClass::OnTimerExpired(uint32_t slot) {
  switch (slot) {
    case TIMERSLOT_IN_TURN:
      turn_clock_.EraseFace();
      (void)PushButtonBar(false);
      break;
    case TIMERSLOT_SOUND_REFUND:
      PlayTableSound(SOUND_REFUND);
      break;
    case TIMERSLOT_SOUND_POT:
      PlayTableSound(SOUND_POT);
      break;
    case TIMERSLOT_SOUND_DEAL_TICK:
      if (hole_dealer_ != nullptr && !hole_dealer_->IsIdle()) {
        PlayTableSound(SOUND_DEAL_TICK);
        (void)StartSoundTimer(0.06, TIMERSLOT_SOUND_DEAL_TICK);
      }
      break;
    case TIMERSLOT_REFUND:
      if (refund_timer_.IsFree()) break;
      refund_timer_.Stop();
      (void)refund_pile_.SetAmount(0);
      refund_plate_ = -1;
      break;
    default:
      break;
  }
}

bool HoldemClass::AnimationsAtRest() const {
  if (hole_dealer_ == nullptr) return true;
  for (const CardDealer* dealer : {hole_dealer_.get(), board_dealer_.get(), board_copy_dealer_.get(),
                                   board_muck_dealer_.get()}) {
    if (!dealer->IsIdle()) return false;
  }
  for (const auto& dealer : seat_muck_dealers_) {
    if (!dealer->IsIdle()) return false;
  }
  for (const ChipStack& pot : pots_) {
    if (!pot.IsIdle()) return false;
  }
  for (const ChipStack& pile : working_) {
    if (!pile.IsIdle()) return false;
  }
  if (deal_plate_ >= 0 && !deal_pile_.IsIdle()) return false;
  if (refund_plate_ >= 0 && !refund_pile_.IsIdle()) return false;
  for (const HoldemSeatRecord& seat : seats_) {
    for (const ChipStack& pile : seat.bets) {
      if (!pile.IsIdle()) return false;
    }
  }
  return true;
}

void HoldemClass::ForceEndAnimations() {
  for (HoldemSeatRecord& seat : seats_) {
    for (ChipStack& pile : seat.bets) {
      pile.StopMove();
      (void)pile.ReturnHome();
    }
    if (seat.hand_flags[0] != 0) {
      seat.hand_flags[1] = 1;
      seat.hand_flags[0] = 0;
    }
  }
  for (ChipStack& pile : working_) {
    pile.StopMove();
    (void)pile.SetAmount(0);
  }
  deal_pile_.StopMove();
  (void)deal_pile_.SetAmount(0);
  deal_plate_ = -1;
  refund_pile_.StopMove();
  (void)refund_pile_.SetAmount(0);
  refund_plate_ = -1;
  for (ChipStack& pot : pots_) pot.StopMove();
  for (CardDealer* dealer : {hole_dealer_.get(), board_dealer_.get(), board_copy_dealer_.get(),
                             board_muck_dealer_.get()}) {
    dealer->Finish();
    dealer->Stop(true);
  }
  for (auto& dealer : seat_muck_dealers_) {
    dealer->Finish();
    dealer->Stop(true);
  }
}

// ---- The frame and the messages ----

void HoldemClass::Tick(platform::HWND table_window, float seconds) { RunFrame(table_window, seconds); }

const TableClass* HoldemClass::HostTable() const { return table_; }

bool HoldemClass::FrameReady() const { return frame_.HasSurfaces(); }

void HoldemClass::FrameBeforeWatchdog(float seconds) {
  (void)seconds;
  SyncSeats(false);
}

void HoldemClass::FrameSteps(float seconds) {
  if (action_bar_.IsButtonShown(32)) {
    const bool sitting_out = tournament_ != 0
                                 ? (local_player_id_ >= 0 && players_[local_player_id_].sit_out != 0)
                                 : (local_player_id_ >= 0 && players_[local_player_id_].status == SEAT_SITTING_OUT);
    if (local_player_id_ >= 0 && !sitting_out) {
      (void)PushButtonBar(false);
    }
  } else if (i_am_back_seconds_ >= 0) {
    i_am_back_seconds_ -= seconds;
    if (i_am_back_seconds_ <= 0 && local_player_id_ >= 0 && players_[local_player_id_].status == SEAT_SITTING_OUT) {
      ShowIAmBack();
    }
  }
  if (auto_post_asked_ == 0 && auto_post_countdown_ > 0) {
    // The question is asked once, when its countdown passes from above 0 to 0 or below.
    if (auto_post_blind_ != 0) {
      auto_post_asked_ = 1;
    } else {
      auto_post_countdown_ -= seconds;
      if (auto_post_countdown_ <= 0) {
        auto_post_asked_ = 1;
        Post(TABLEMSG_ASK_AUTO_POST, 0, 0);
      }
    }
  }
  UpdateFrame(seconds);
  EraseFrame();
  DrawFrame(seconds);
  TimerStep(seconds);
}

void HoldemClass::OnTableJoined(bool tournament, bool whole_units) {
  tournament_ = tournament ? 1 : 0;
  whole_units_ = whole_units ? 1 : 0;
  for (ChipStack& pot : pots_) pot.SetWholeUnits(whole_units);
  for (ChipStack& pile : working_) pile.SetWholeUnits(whole_units);
  for (HoldemSeatRecord& seat : seats_) {
    for (ChipStack& pile : seat.bets) pile.SetWholeUnits(whole_units);
    seat.combined.SetWholeUnits(whole_units);
  }
  deal_pile_.SetWholeUnits(whole_units);
  refund_pile_.SetWholeUnits(whole_units);
}

void HoldemClass::FrameAfterSteps(float seconds) {
  sit_out_clock_ += seconds;
  SendSitOutNotice(true);
}

void HoldemClass::PresentFrame(platform::HWND table_window) { Present(table_window); }

void HoldemClass::OnGameStart() {
  log_.Line("Game start right now");
  SyncSeats(true);
}

int HoldemClass::OnMessage(platform::UINT message, platform::WPARAM wParam, platform::LPARAM lParam) {
  if (OnLoopMessage(message, wParam, lParam)) return 1;
  switch (message) {
    case TABLEMSG_TIMER:
      OnTimerExpired(static_cast<uint32_t>(wParam));
      return 1;
    case TABLEMSG_DEALER_BUTTON_DONE:
      return 1;
    case TABLEMSG_CARD_ANIMATION_DONE:
      OnCardAnimationDone(wParam, lParam);
      return 1;
    case TABLEMSG_CHIP_ANIMATION_DONE:
      OnChipAnimationDone(wParam, lParam);
      return 1;
    case TABLEMSG_SHOW_BUY_MORE:
      if (table_ != nullptr) table_->OpenMoreCashDialog();
      return 1;
    case TABLEMSG_AUTO_POST_ACCEPTED:
      OnSeatOptionClick(0);
      return 1;
    default:
      return 0;
  }
}
