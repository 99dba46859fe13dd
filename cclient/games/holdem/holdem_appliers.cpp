// What each Hold'em packet does to the table: seats, cards, chip piles, the dealer button, the
// hand number, the local player's choices and the session statistics. The loop decides when.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "cclient/games/holdem/holdem.h"
#include "cclient/table/table.h"
#include "platform/window/activation.h"
#include "platform/window/window.h"

namespace {

// Money in the labels' form: "$%d" at whole-unit tables; else "$%d" for whole dollars,
// "$%4.2f" from a dollar, "$.%02d" below.
std::string Money(uint32_t amount, bool whole_units) {
  char text[32];
  if (whole_units) {
    std::snprintf(text, sizeof text, "$%u", amount);
  } else if (amount % 100 == 0) {
    std::snprintf(text, sizeof text, "$%u", amount / 100);
  } else if (amount >= 100) {
    std::snprintf(text, sizeof text, "$%4.2f", amount / 100.0);
  } else {
    std::snprintf(text, sizeof text, "$.%02u", amount);
  }
  return text;
}

bool InHand(uint32_t code) { return code == SEAT_IN_HAND || code == SEAT_ALL_IN; }

}  // namespace

void HoldemClass::SetHand(uint32_t hand) {
  if (hand == hand_number_) return;
  hand_number_ = hand;
  if (table_ != nullptr) table_->SetHandNumber(hand);
}

void HoldemClass::OneTimeSetUp(uint8_t table_type) {
  if (table_type_set_ != 0) return;
  table_type_ = table_type;
  fixed_limit_table_type_zero_ = table_type == 0 ? 1 : 0;
  fixed_limit_ = table_type == 0 ? 1 : 0;
  BuildActionBar();
  BuildOptionBar();
  widgets_built_ = 1;
  table_type_set_ = 1;
}

void HoldemClass::SetPots(uint32_t main, uint32_t side, uint32_t second_side) {
  if (second_side >= 1) {
    (void)pots_[0].SetPosition(514, 240);
    (void)pots_[1].SetPosition(390, 240);
  } else {
    (void)pots_[0].SetPosition(390, 240);
    (void)pots_[1].SetPosition(276, 240);
  }
  (void)pots_[0].SetAmount(static_cast<int32_t>(main));
  (void)pots_[1].SetAmount(static_cast<int32_t>(side));
  (void)pots_[2].SetAmount(static_cast<int32_t>(second_side));
}

void HoldemClass::UpdateSeatStatus(const uint8_t* status, const uint8_t* sit_out_marks) {
  bool changed = false;
  for (int32_t s = 0; s < kHoldemSeats; ++s) {
    if (sit_out_marks != nullptr) players_[s].sit_out = sit_out_marks[s] > 0 ? 1 : 0;
    const uint32_t code = Holdem_StatusCode(status[s]);
    if (code != players_[s].status) changed = true;
    players_[s].status = code;
    if (code == SEAT_EMPTY || code == SEAT_LEAVING || code == SEAT_SITTING_OUT) {
      (void)MuckSeatCards(s, false, 500);
      if (s == local_player_id_) WithdrawPlayNow();
    }
  }
  if (changed) UpdateSeats(true, true);
}

void HoldemClass::ApplyLocalPlayerStatus(uint8_t status_byte) {
  if (local_player_id_ < 0) return;
  HoldemPlayerRecord& player = players_[local_player_id_];
  player.sit_out = (status_byte & 32) != 0 ? 1 : 0;
  const uint32_t code = Holdem_StatusCode(status_byte);
  const bool changed = code != player.status;
  player.status = code;
  if (code == SEAT_EMPTY || code == SEAT_LEAVING || code == SEAT_SITTING_OUT) {
    (void)MuckSeatCards(local_player_id_, false, 500);
    WithdrawPlayNow();
  }
  if (changed) UpdateSeats(true, true);
}

void HoldemClass::ApplyPlayerStatus(const HoldemPlayerStatusRecord& r) {
  OneTimeSetUp(r.table_type);
  UpdateSeatStatus(r.status, r.sit_out);
  for (int32_t s = 0; s < kHoldemSeats; ++s) {
    players_[s].chips = r.chips[s];
    if (table_ != nullptr && players_[s].status >= 11) table_->seat_amounts[s] = r.chips[s];
    if (r.seat_flags[s] != players_[s].seat_flags) {
      players_[s].seat_flags = r.seat_flags[s];
      players_[s].changed = 1;
    }
  }
  UpdateSeats(true, true);
}

void HoldemClass::ApplyGameState(const HoldemGameStateRecord& r, ApplyParts parts) {
  bool any_bet = false;
  for (const auto& bets : r.bets) any_bet = any_bet || bets[0] > 0;
  pots_shown_ = (r.main_pot >= 1 || r.side_pot >= 1 || r.second_side_pot >= 1 || r.dead_pot >= 1 ||
                 r.house_take >= 1 || any_bet)
                    ? 1
                    : 0;
  OneTimeSetUp(r.table_type);
  if (parts.seats) {
    for (int32_t s = 0; s < kHoldemSeats; ++s) {
      players_[s].chips = r.chips[s];
      if (table_ != nullptr && players_[s].status >= 11) table_->seat_amounts[s] = r.chips[s];
      if (r.seat_flags[s] != players_[s].seat_flags) {
        players_[s].seat_flags = r.seat_flags[s];
        players_[s].changed = 1;
      }
    }
    UpdateSeats(true, true);
  }
  if (parts.hole_cards) {
    if (r.dealer_status != -1) {
      for (int32_t s = 0; s < kHoldemSeats; ++s) {
        if (!InHand(players_[s].status)) {
          (void)hole_dealer_->RemoveCards(s, 0);
          continue;
        }
        bool known = true;
        for (int32_t c = 0; c < hole_layout_.cards; ++c) known = known && r.cards[s][c] >= 0;
        (void)hole_dealer_->PlaceAllCards(s);
        for (int32_t c = 0; c < hole_layout_.cards; ++c) hole_dealer_->SetCardFace(s, c, known ? r.cards[s][c] : -1);
        if (known) {
          hole_dealer_->TurnFaceUp(s);
        } else {
          hole_dealer_->TurnFaceDown(s);
        }
      }
      RedrawInPlace(hole_dealer_.get());
    } else {
      hole_dealer_->Finish();
      for (int32_t s = 0; s < kHoldemSeats; ++s) {
        (void)hole_dealer_->RemoveCards(s, 0);
        hole_dealer_->TurnFaceDown(s);
      }
      hole_dealer_->Stop(true);
    }
  }
  if (parts.board) {
    if (r.dealer_status < 3) {
      board_dealer_->Finish();
      for (int32_t c = 0; c < kHoldemBoardCards; ++c) {
        (void)board_dealer_->RemoveCards(c, 0);
        board_dealer_->TurnFaceUp(c);
      }
      board_dealer_->Stop(true);
    } else {
      for (int32_t c = 0; c < kHoldemBoardCards; ++c) {
        if (c < r.dealer_status && c < kHoldemBoardCards) {
          (void)board_dealer_->PlaceAllCards(c);
          board_dealer_->SetCardFace(c, 0, r.board[c]);
          board_dealer_->TurnFaceUp(c);
        } else {
          (void)board_dealer_->RemoveCards(c, 0);
        }
      }
      RedrawInPlace(board_dealer_.get());
    }
  }
  if (parts.bet_piles) {
    for (int32_t s = 0; s < kHoldemSeats; ++s) {
      HoldemSeatRecord& seat = seats_[players_[s].display_position];
      const uint32_t sum = r.bets[s][0] + r.bets[s][1] + r.bets[s][2] + r.bets[s][3];
      if (seat.uses_combined) {
        (void)seat.combined.SetAmount(static_cast<int32_t>(sum));
        for (ChipStack& pile : seat.bets) (void)pile.SetAmount(0);
      } else {
        int32_t portions[4] = {};
        (void)pots_[0].SplitAmount(static_cast<int32_t>(sum), 4, portions);
        SpreadBetPiles(static_cast<int32_t>(players_[s].display_position), portions);
      }
    }
  }
  if (parts.pots) {
    SetPots(r.main_pot, r.side_pot, r.second_side_pot);
    (void)pots_[4].SetAmount(static_cast<int32_t>(r.house_take));
    (void)pots_[3].SetAmount(static_cast<int32_t>(r.dead_pot));
  }
  if (parts.turn) {
    if (r.dealer < kHoldemSeats) {
      dealer_seat_ = static_cast<int32_t>(players_[r.dealer].display_position);
      (void)PlaceDealerButton(r.dealer);
    }
    dealer_status_ = r.dealer_status;
    next_player_ = r.next_player < kHoldemSeats ? r.next_player : -1;
    previous_player_ = r.previous_player < kHoldemSeats ? r.previous_player : -1;
    SetHand(r.hand);
    round_number_ = r.round;
    if (local_player_id_ >= 0) {
      offer_raise_ = r.next_flags[ACTION_RAISE];
      offer_raise2_ = r.next_flags[ACTION_RERAISE];
      offer_raise3_ = r.next_flags[ACTION_CAP];
      bet_amount_ = r.bet_amount;
      raise_amount_ = r.raise_amount;
      max_amount_ = r.max_amount;
      if (max_amount_ < bet_amount_) max_amount_ = bet_amount_;
      if (max_amount_ < raise_amount_) max_amount_ = raise_amount_;
      if (r.next_player != local_player_id_) std::memcpy(pre_action_, r.pre_action_flags, sizeof pre_action_);
    }
  }
  // Statistics.
  HoldemStatistics& st = stats_;
  if (r.hand != st.last_hand) {
    if (local_player_id_ >= 0 && players_[local_player_id_].status == SEAT_IN_HAND) {
      std::memset(st.marks, 0, sizeof st.marks);
    }
    st.last_hand = r.hand;
  }
  if (st.hand_counted == 0) return;
  if (local_player_id_ < 0) {
    st.hand_counted = 0;
    return;
  }
  const uint32_t code = players_[local_player_id_].status;
  if (tournament_ == 0 && code != SEAT_IN_HAND && code != SEAT_ALL_IN && code != SEAT_FOLDED) return;
  const bool acted = r.previous_player == local_player_id_;
  using S = HoldemStatistics;
  if (r.dealer_status < 3) {
    if (acted && r.previous_action == ACTION_POST_BIG) st.marks[S::POSTED_BIG] = 1;
    if (acted && r.previous_action == ACTION_POST_SMALL) st.marks[S::POSTED_SMALL] = 1;
    if (acted && r.previous_action == ACTION_FOLD) st.marks[S::FOLD_PREFLOP] = 1;
  } else if (st.marks[S::FOLD_PREFLOP] == 0) {
    if (r.dealer_status == 3) {
      if (st.marks[S::POSTED_BIG] != 0) {
        st.marks[S::FLOP_CLASS_1] = 1;
      } else if (st.marks[S::POSTED_SMALL] != 0) {
        st.marks[S::FLOP_CLASS_2] = 1;
      } else if (dealer_seat_ == local_player_id_) {
        st.marks[S::FLOP_CLASS_3] = 1;
      } else {
        st.marks[S::FLOP_CLASS_4] = 1;
      }
      st.marks[S::SAW_FLOP] = 1;
      if (acted && r.previous_action == ACTION_FOLD) st.marks[S::FOLD_FLOP] = 1;
    } else if (acted && r.previous_action == ACTION_FOLD) {
      st.marks[r.dealer_status == 4 ? S::FOLD_TURN : S::FOLD_RIVER] = 1;
    }
  }
}

void HoldemClass::ApplyFinalState(const HoldemFinalRecord& r, int32_t mode, bool seats) {
  OneTimeSetUp(r.table_type);
  if (r.button_seat >= 0 && r.button_seat < kHoldemSeats) (void)PlaceDealerButton(r.button_seat);
  const int32_t n = r.Winners();
  if (mode == 1) {
    for (int32_t s = 0; s < kHoldemSeats; ++s) {
      (void)hole_dealer_->RemoveCards(s, 0);
      bool absent = false, known = true;
      for (int32_t c = 0; c < hole_layout_.cards; ++c) {
        absent = absent || r.cards[s][c] < -1;
        known = known && r.cards[s][c] >= 0;
      }
      if (!InHand(players_[s].status) || absent) continue;
      (void)hole_dealer_->PlaceAllCards(s);
      for (int32_t c = 0; c < hole_layout_.cards; ++c) {
        hole_dealer_->SetCardFace(s, c, r.cards[s][c] >= 0 ? r.cards[s][c] : -1);
      }
      if (known) {
        hole_dealer_->TurnFaceUp(s);
      } else {
        hole_dealer_->TurnFaceDown(s);
      }
    }
    RedrawInPlace(hole_dealer_.get());
    dealer_status_ = r.dealer_status;
    if (board_copy_dealer_->IsIdle()) {
      if (r.dealer_status < 3) {
        board_dealer_->Finish();
        for (int32_t c = 0; c < kHoldemBoardCards; ++c) (void)board_dealer_->RemoveCards(c, 0);
        board_dealer_->Stop(true);
      } else {
        for (int32_t c = 0; c < kHoldemBoardCards; ++c) {
          if (c < r.dealer_status) {
            (void)board_dealer_->PlaceAllCards(c);
            board_dealer_->SetCardFace(c, 0, r.board[c]);
            board_dealer_->TurnFaceUp(c);
          } else {
            (void)board_dealer_->RemoveCards(c, 0);
          }
        }
        RedrawInPlace(board_dealer_.get());
      }
    }
    SetHand(r.hand);
    round_number_ = r.round;
    winner_count_ = n;
    for (int32_t i = 0; i < kHoldemMaxWinners; ++i) winner_seats_[i] = i < n ? r.winners[i] : -1;
    if (n > 0 && r.winners[0] >= 0) std::memcpy(winner_cards_[r.winners[0]], r.winner_cards, kHoldemBoardCards);
    uint32_t returns = 0;
    for (int32_t i = 0; i < n; ++i) returns += r.rake_returns[i];
    (void)pots_[4].SetAmount(static_cast<int32_t>(r.house_take + returns));
    uint32_t won = 0;
    for (int32_t i = 0; i < n; ++i) won += r.winning_chips[i];
    uint32_t pots[3] = {r.pots[0], r.pots[1], r.pots[2]};
    if (won > 0 && r.paying_pot < 3) pots[r.paying_pot] += won;
    SetPots(pots[0], pots[1], pots[2]);
    for (HoldemSeatRecord& seat : seats_) {
      for (ChipStack& pile : seat.bets) (void)pile.SetAmount(0);
    }
    return;
  }
  if (seats) {
    for (int32_t s = 0; s < kHoldemSeats; ++s) {
      players_[s].chips = r.chips[s];
      if (table_ != nullptr && players_[s].status >= 11) table_->seat_amounts[s] = r.chips[s];
      players_[s].seat_flags = r.seat_flags[s];
    }
    UpdateSeats(true, true);
  }
  SetPots(r.pots[0], r.pots[1], r.pots[2]);
  (void)pots_[4].SetAmount(static_cast<int32_t>(r.house_take));
  OnFinalStateApplied(r);
  HoldemStatistics& st = stats_;
  using S = HoldemStatistics;
  if (st.hand_counted == 0) return;
  if (local_player_id_ < 0) {
    st.hand_counted = 0;
    return;
  }
  const uint32_t code = players_[local_player_id_].status;
  if (tournament_ == 0 && code != SEAT_IN_HAND && code != SEAT_ALL_IN && code != SEAT_FOLDED) return;
  if (n > 0 && r.winning_chips[0] >= 1) {
    if (st.marks[S::FOLD_PREFLOP] == 0 && st.marks[S::FOLD_FLOP] == 0 && st.marks[S::FOLD_TURN] == 0 &&
        st.marks[S::FOLD_RIVER] == 0) {
      st.marks[S::NO_FOLD] = 1;
    }
    bool local_won = false;
    for (int32_t i = 0; i < n; ++i) local_won = local_won || r.winners[i] == local_player_id_;
    if (local_won) {
      bool others = false;
      for (int32_t s = 0; s < kHoldemSeats; ++s) {
        if (s != local_player_id_ && InHand(players_[s].status)) others = true;
      }
      ++st.marks[others ? S::WON_SHOWDOWN : S::WON_ALL_FOLDED];
    }
  }
  if (r.last_packet != 0) {
    for (int32_t m = 0; m < S::kMarks; ++m) st.totals[m] += st.marks[m];
    ++st.hands_dealt;
    RefreshStatistics(0.0f, true);
  }
  for (HoldemSeatRecord& seat : seats_) {
    for (ChipStack& pile : seat.bets) (void)pile.SetAmount(0);
  }
}

void HoldemClass::ApplyCollection(const HoldemCollectRecord& r, bool seats) {
  SetHand(r.hand);
  if (seats) UpdateSeatStatus(r.status, nullptr);
  SetPots(r.pots[0], r.pots[1], r.pots[2]);
  (void)pots_[4].SetAmount(static_cast<int32_t>(r.house_take));
  for (HoldemSeatRecord& seat : seats_) {
    for (ChipStack& pile : seat.bets) (void)pile.SetAmount(0);
    (void)seat.combined.SetAmount(0);
  }
}

int32_t HoldemClass::ClassifyFinalPacket(const HoldemFinalRecord& r) const {
  const int32_t held = dealer_status_;
  const int32_t now = r.dealer_status;
  bool changed = false;
  if (now != held) {
    bool step;
    if (held == -1) {
      step = now == 0;
    } else if (held == 0) {
      step = now == 3;
    } else if (held == 3 || held == 4) {
      step = now == held + 1;
    } else if (held == 5) {
      step = false;
    } else {
      step = true;
    }
    if (!step) return 0;
    changed = true;
  }
  const int32_t weak = changed ? 1 : 0;
  if (static_cast<int64_t>(r.house_take) <= pots_[4].GetAmount()) return weak;
  for (int32_t p = 0; p < 3; ++p) {
    if (pots_[p].GetAmount() < static_cast<int64_t>(r.pots[p])) return weak;
  }
  const int64_t shown = static_cast<int64_t>(pots_[0].GetAmount()) + pots_[1].GetAmount() + pots_[2].GetAmount() +
                        pots_[4].GetAmount();
  const int64_t wanted = static_cast<int64_t>(r.pots[0]) + r.pots[1] + r.pots[2] + r.house_take;
  if (shown != wanted) return weak;
  return changed ? 3 : 2;
}

bool HoldemClass::ShowPreviousAction(const HoldemGameStateRecord& r) {
  if (r.previous_player == 255) {
    if (previous_player_ >= 0) StopTurn(previous_player_);
    return false;
  }
  const int32_t seat = r.previous_player;
  StopTurn(seat);
  if (seat == local_player_id_) HideLocalChoices();
  const uint8_t* f = r.previous_flags;
  bool moved = false;
  HoldemSeatRecord& record = seats_[players_[seat].display_position];
  int32_t filled = 0;
  for (const ChipStack& pile : record.bets) filled += pile.GetAmount() > 0 ? 1 : 0;
  int32_t pile = filled == 1 ? 2 : filled == 2 ? 0 : filled == 3 ? 3 : 1;
  if (record.uses_combined) pile = 1;
  if (f[ACTION_SIT_OUT] != 0) {
    ShowSeatAction(seat, "Sitting Out", pile, 0, false);
  } else if (f[ACTION_CHECK] != 0) {
    ShowSeatAction(seat, "Check", pile, 0, false);
  } else if (f[ACTION_FOLD] != 0) {
    ShowSeatFold(seat, false);
    if (seat == local_player_id_) {
      HideLocalChoices();
      HidePreActionBar();
    }
  } else if (f[ACTION_WAIT_FOR_BIG_BLIND] != 0) {
    if (seat == local_player_id_) {
      HideLocalChoices();
      HidePreActionBar();
    }
  } else {
    const char* text = nullptr;
    if (f[ACTION_CALL] != 0) text = "Call";
    else if (f[ACTION_POST_SMALL] != 0) text = "Sml Blind";
    else if (f[ACTION_POST_BIG] != 0) text = "Big Blind";
    else if (f[ACTION_BET] != 0) text = "Bet";
    else if (f[ACTION_RAISE] != 0) text = "Raise";
    else if (f[ACTION_RERAISE] != 0 || f[ACTION_CAP] != 0) text = "Reraise";
    else if (f[ACTION_POST_NOW] != 0 || f[ACTION_POST_DEAD] != 0 || f[ACTION_POST_AFTER_DEALER] != 0) text = "Post";
    else if (f[ACTION_COMPLETE_TO] != 0) text = "Complete";
    if (text != nullptr) {
      bool resume = true;
      if (f[ACTION_POST_DEAD] != 0 && r.previous_dead > 0 && AnimateDeadChips(seat, r.previous_dead)) {
        moved = true;
        resume = false;
      }
      const uint32_t amount = r.previous_amount;
      ShowSeatAction(seat, text, pile, amount, resume);
      if (amount > 0 && deal_plate_ >= 0) moved = true;
    }
  }
  if (seat == local_player_id_ && auto_post_asked_ == 0 && players_[seat].status != SEAT_LEAVING &&
      players_[seat].status != SEAT_SITTING_OUT &&
      (f[ACTION_POST_SMALL] != 0 || f[ACTION_POST_BIG] != 0 || f[ACTION_POST_NOW] != 0 || f[ACTION_POST_DEAD] != 0)) {
    if (auto_post_blind_ == 0) {
      auto_post_countdown_ = 0.5;
    } else {
      auto_post_asked_ = 1;
    }
  }
  return moved;
}

void HoldemClass::OfferNextPlayerChoices(const HoldemGameStateRecord& r) {
  if (r.next_player >= kHoldemSeats) return;
  const int32_t next = r.next_player;
  const uint8_t* f = r.next_flags;
  if (next == local_player_id_) {
    WithdrawPlayNow();
    if (r.enough_chips != 0 && AutoAction(r)) {
      ClearOptionSelection();
      return;
    }
    ClearOptionSelection();
    if (Window() != nullptr) {
      (void)platform::ShowWindow(Window(), platform::SW_SHOW);
      (void)platform::SetForegroundWindow(Window());
    }
    HidePreActionBar();
    const bool whole = whole_units_ != 0;
    if (f[ACTION_POST_SMALL] == 0 && f[ACTION_POST_BIG] == 0) {
      if (f[ACTION_POST_NOW] != 0) {
        ShowPostNow(true, Money(r.bet_amount, whole).c_str(), f[ACTION_WAIT_FOR_BIG_BLIND] != 0,
                    f[ACTION_POST_AFTER_DEALER] != 0);
        PlayTableSound(SOUND_YOUR_TURN);
      } else if (f[ACTION_POST_DEAD] != 0) {
        std::string label;
        if (whole) {
          char text[48];
          std::snprintf(text, sizeof text, "$%u\n%u", r.bet_amount, r.raise_amount);
          label = text;
        } else {
          label = Money(r.bet_amount, false) + "\n" + Money(r.raise_amount, false);
        }
        ShowPostDead(true, label.c_str(), f[ACTION_WAIT_FOR_BIG_BLIND] != 0);
      } else if (f[ACTION_BET] || f[ACTION_CALL] || f[ACTION_RAISE] || f[ACTION_RERAISE] || f[ACTION_CAP] ||
                 f[ACTION_COMPLETE_TO] || f[ACTION_CHECK] || f[ACTION_FOLD]) {
        const std::string first = Money(r.bet_amount, whole);
        const std::string second = Money(r.raise_amount, whole);
        ShowTurnButtons(f[ACTION_CHECK], f[ACTION_BET], f[ACTION_CALL], f[ACTION_RAISE], f[ACTION_RERAISE],
                        f[ACTION_CAP], f[ACTION_FOLD], f[ACTION_COMPLETE_TO], first.c_str(), second.c_str());
        PlayTableSound(SOUND_YOUR_TURN);
      }
    } else if (r.enough_chips != 0) {
      ShowPostBlind(f[ACTION_POST_SMALL] != 0, Money(r.bet_amount, whole).c_str(), f[ACTION_SIT_OUT] != 0);
      PlayTableSound(SOUND_YOUR_TURN);
    } else {
      log_.Line("add more money window pops up");
      HoldemPopUpWindow& window = f[ACTION_POST_SMALL] != 0 ? more_money3_ : more_money2_;
      (void)window.Open();
      PlayTableSound(SOUND_YOUR_TURN);
    }
  } else if (local_player_id_ >= 0 && players_[local_player_id_].status == SEAT_IN_HAND) {
    ShowPreActionBar();
  }
  if (players_[next].status == SEAT_IN_HAND) {
    const bool local = next == local_player_id_;
    StartTurn(next, -1, local ? r.timer : 0);
    if (local) {
      bool offered = false;
      for (int32_t code = 1; code < kHoldemActionCodes; ++code) offered = offered || f[code] != 0;
      turn_clock_.SetWarning(offered);
    }
  }
}

bool HoldemClass::AutoAction(const HoldemGameStateRecord& r) {
  if (r.next_player != local_player_id_ || local_player_id_ < 0) return false;
  const uint8_t* f = r.next_flags;
  HoldemTurnState state;
  state.offer.check = f[ACTION_CHECK] != 0;
  state.offer.bet = f[ACTION_BET] != 0;
  state.offer.call = f[ACTION_CALL] != 0;
  state.offer.raise = f[ACTION_RAISE] != 0;
  state.offer.raise2 = f[ACTION_RERAISE] != 0;
  state.offer.raise3 = f[ACTION_CAP] != 0;
  state.offer.fold = f[ACTION_FOLD] != 0;
  state.offer.bet_amount = r.bet_amount;
  state.offer.raise_amount = r.raise_amount;
  state.offer.max_amount = r.max_amount;
  state.post_small = f[ACTION_POST_SMALL] != 0;
  state.post_big = f[ACTION_POST_BIG] != 0;
  state.tournament = tournament_ != 0;
  state.whole_units = whole_units_ != 0;
  state.i_am_back_shown = action_bar_.IsButtonShown(HOLDEM_BUTTON_I_AM_BACK);
  state.options = SeatOptions();
  // The decision reads Hold'em's option ids; the bar and the log keep the bar's own.
  const int32_t selected = option_bar_.GetSelectedOption();
  state.selected = selected >= 0 ? selected - option_id_shift_ : -1;
  state.countdown_running = countdown_holds_option_ && option_bar_.IsSelectionCountdownRunning();
  state.option_amount = selected >= 0 ? option_bar_.GetOptionAmount(selected) : 0;
  const HoldemAutoResult result = HoldemChoices_AutoAction(state);
  switch (result.kind) {
    case HoldemAutoKind::kSpecialCase:
      log_.Line("Enter special case");
      HidePreActionBar();
      return true;
    case HoldemAutoKind::kNoOption:
      log_.Line("You did not choose any options");
      return false;
    case HoldemAutoKind::kNoBlindChoice:
      log_.Line("You did not choose either Auto Post Blind or Sit out Next Hand");
      return false;
    case HoldemAutoKind::kFoldConfirm:
      LogOptionChoice(selected);
      (void)fold_confirm_.Open();
      return false;
    case HoldemAutoKind::kSendOption:
      LogOptionChoice(selected);
      ClearOptionSelection();
      HidePreActionBar();
      (void)SendAction(result.button, result.amount);
      return true;
    case HoldemAutoKind::kSendBlindChoice:
      (void)SendAction(result.button, result.amount);
      return true;
    case HoldemAutoKind::kNone:
      LogOptionChoice(selected);
      return false;
  }
  return false;
}

void HoldemClass::SpreadBetPiles(int32_t plate, const int32_t* portions) {
  if (plate < 0 || plate >= kHoldemSeats) return;
  int32_t highest = -1;
  for (int32_t i = 0; i < 4; ++i) {
    if (portions[i] > 0) highest = i;
  }
  int32_t piles[4];
  switch (highest) {
    case 0:
      piles[0] = 0, piles[1] = portions[0], piles[2] = portions[2], piles[3] = portions[3];
      break;
    case 1:
      piles[0] = 0, piles[1] = portions[0], piles[2] = portions[1], piles[3] = portions[3];
      break;
    case 2:
      piles[0] = portions[0], piles[1] = portions[1], piles[2] = portions[2], piles[3] = portions[3];
      break;
    default:
      piles[0] = portions[0], piles[1] = portions[1], piles[2] = portions[2], piles[3] = portions[3];
      break;
  }
  for (int32_t i = 0; i < 4; ++i) (void)seats_[plate].bets[i].SetAmount(piles[i]);
}

void HoldemClass::ApplyOptionIndicate(const HoldemHandRecord& r) {
  SetHand(r.hand);
  if (tournament_ == 0) {
    auto_post_blind_ = 0;
  } else {
    tournament_sit_out_ = 1;
  }
}

void HoldemClass::ApplyDisplayIAmBack(const HoldemHandRecord& r) { SetHand(r.hand); }

void HoldemClass::ApplyAskShowMuck(const HoldemAskShowMuckRecord& r) {
  SetHand(r.hand);
  UpdateSeatStatus(r.status, nullptr);
}

void HoldemClass::ApplyRefund(const HoldemRefundRecord& r) {
  if (r.seat >= kHoldemSeats) return;
  const int32_t seat = r.seat;
  HoldemSeatRecord& record = seats_[players_[seat].display_position];
  int64_t sum = 0;
  for (const ChipStack& pile : record.bets) sum += pile.GetAmount();
  if (sum < 1 || sum < static_cast<int64_t>(r.refund)) return;
  // The record's bet parts as they stand after the refund (Hold'em sends one, Omaha four).
  const int64_t parts = static_cast<int64_t>(r.bets[0]) + r.bets[1] + r.bets[2] + r.bets[3];
  if (static_cast<int64_t>(r.refund) + parts != sum) {
    const int64_t left = sum - r.refund > 0 ? sum - r.refund : 0;
    if (record.uses_combined) {
      for (ChipStack& pile : record.bets) (void)pile.SetAmount(0);
      (void)record.combined.SetAmount(static_cast<int32_t>(left));
    } else {
      int32_t portions[4] = {};
      (void)pots_[0].SplitAmount(static_cast<int32_t>(left), 4, portions);
      SpreadBetPiles(static_cast<int32_t>(players_[seat].display_position), portions);
    }
  } else if (record.uses_combined) {
    (void)record.combined.SetAmount(static_cast<int32_t>(parts));
  } else {
    for (int32_t i = 0; i < 4; ++i) (void)record.bets[i].SetAmount(static_cast<int32_t>(r.bets[i]));
  }
  if (r.balance >= 0) {
    refund_seat_ = seat;
    refund_balance_ = r.balance;
    (void)AnimateRefund(seat, r.refund);
  }
}

void HoldemClass::ApplyShowPlayNow(const HoldemShowPlayNowRecord& r) {
  std::string label;
  if (whole_units_ != 0) {
    char text[48];
    std::snprintf(text, sizeof text, "$%u\n%u", r.first, r.second);
    label = text;
  } else {
    label = Money(r.first, false) + "\n" + Money(r.second, false);
  }
  play_now_choice_ = (r.first != 0 ? 2u : 0u) + (r.second != 0 ? 1u : 0u);
  ShowPlayNow(label.c_str());
}

void HoldemClass::SyncSeats(bool force) {
  if (table_ == nullptr) return;
  if (tournament_ != 0 && table_->winner_seat >= 0 && table_->winner_seat < kHoldemSeats) {
    local_player_id_ = -1;
    for (int32_t p = 0; p < kHoldemSeats; ++p) {
      HoldemPlayerSeat& plate = seats_[p].plate;
      if (static_cast<int32_t>(seats_[p].server_seat) != table_->winner_seat) {
        plate.Hide();
        continue;
      }
      plate.Show();
      plate.SetOpen(false);
      plate.SetName(table_->winner_name);
      plate.SetChipsText("Winner");
    }
    return;
  }
  int32_t mine = table_->FindMySeat();
  if (mine < 0 || mine >= kHoldemSeats) mine = -1;
  bool just_started = false;
  if (mine != local_player_id_) {
    log_.Line("localPlayerIndex does not equal to localPlayerID");
    log_.LabelNumber("localPlayerIndex", mine);
    log_.LabelNumber("localPlayerID", local_player_id_);
    if (local_player_id_ < 0) {
      auto_post_countdown_ = -1.0;
      auto_post_asked_ = 0;
      if (!StartChoiceBar(mine)) {
        local_player_id_ = mine;
        if (table_type_set_ != 0) ShowPreActionBar();
      } else {
        just_started = true;
      }
      SendSitOutNotice(false);
    } else {
      HideLocalChoices();
      local_player_id_ = mine;
      if (mine == -1) left_seat_ = 1;
    }
    if (local_player_id_ >= 0) players_[local_player_id_].chips = table_->seat_amounts[local_player_id_];
  }
  for (int32_t s = 0; s < kHoldemSeats; ++s) {
    HoldemPlayerSeat& plate = seats_[players_[s].display_position].plate;
    if ((table_->seat_flags[s] & kSeatOccupied) != 0) {
      std::snprintf(players_[s].name, sizeof players_[s].name, "%s", table_->seat_names[s]);
      plate.SetName(players_[s].name);
      plate.SetUserName(table_->seat_names[s]);
      if (force) players_[s].chips = table_->seat_amounts[s];
      plate.SetReserved(false);
    } else {
      plate.SetReserved(table_->seat_reserved[s] != 0);
    }
  }
  UpdateSeats(true, force);
  if (just_started && !force && local_player_id_ >= 0) {
    char chips[32];
    std::snprintf(chips, sizeof chips, "$%4.2f", players_[local_player_id_].chips / 100.0);
    seats_[players_[local_player_id_].display_position].plate.SetChipsText(chips);
  }
}

bool HoldemClass::StartChoiceBar(int32_t seat) {
  if (local_player_id_ >= 0 || seat < 0 || seat >= kHoldemSeats) return false;
  if (tournament_ == 0 && seat_clicked_ == 0) return false;
  seat_clicked_ = 0;
  local_player_id_ = seat;
  MapSeat(seat);
  auto_muck_ = 1;
  if (table_type_set_ != 0) ShowPreActionBar();
  log_.Line("choiceBar is started!");
  return true;
}

void HoldemClass::ResetTable() {
  for (HoldemSeatRecord& seat : seats_) {
    for (ChipStack& pile : seat.bets) {
      pile.StopMove();
      (void)pile.SetAmount(0);
      (void)pile.ReturnHome();
    }
    seat.combined.StopMove();
    (void)seat.combined.SetAmount(0);
    seat.hand_flags[0] = seat.hand_flags[1] = 0;
  }
  deal_pile_.StopMove();
  (void)deal_pile_.SetAmount(0);
  deal_plate_ = -1;
  refund_pile_.StopMove();
  (void)refund_pile_.SetAmount(0);
  refund_plate_ = -1;
  for (ChipStack& pot : pots_) {
    pot.StopMove();
    (void)pot.SetAmount(0);
  }
  (void)pots_[0].SetPosition(390, 240);
  (void)pots_[1].SetPosition(276, 240);
  pots_[4].ShowLabel(true);
  (void)pots_[4].SetPosition(322, 107);
  for (ChipStack& pile : working_) {
    pile.StopMove();
    (void)pile.SetAmount(0);
  }
  if (hole_dealer_ != nullptr) {
    hole_dealer_->Finish();
    for (int32_t s = 0; s < kHoldemSeats; ++s) {
      (void)hole_dealer_->RemoveCards(s, 0);
      hole_dealer_->TurnFaceDown(s);
    }
    hole_dealer_->Stop(true);
    for (CardDealer* dealer : {board_dealer_.get(), board_copy_dealer_.get(), board_muck_dealer_.get()}) {
      dealer->Finish();
      for (int32_t c = 0; c < kHoldemBoardCards; ++c) {
        (void)dealer->RemoveCards(c, 0);
        dealer->TurnFaceUp(c);
      }
      dealer->Stop(true);
    }
    for (auto& dealer : seat_muck_dealers_) {
      dealer->Finish();
      (void)dealer->RemoveCards(0, 0);
      dealer->Stop(true);
    }
  }
  board_raise_state_ = 0;
  dealer_status_ = -1;
  next_player_ = -1;
  previous_player_ = -1;
  winner_count_ = 0;
  sit_out_clock_ = 0;
  pots_shown_ = 0;
  pots_total_ = 0;
}
