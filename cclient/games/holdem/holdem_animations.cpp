// The Hold'em table's animations: card deals and mucks, chip moves between seats, pots and the
// house take, the dealer button, the table sounds, and the two handlers that turn the end of an
// animation (messages 9000 and 10000) into the next step of the packet loop.
#include <algorithm>
#include <cmath>

#include "cclient/games/holdem/holdem.h"
#include "cclient/table/table.h"

namespace {

constexpr int32_t kChipWidth = 20;
constexpr int32_t kChipHeight = 19;
// The resume parameter of a card animation: pause in the high 16 bits, resume flag in the low.
platform::LPARAM CardResume(bool resume, uint32_t pause_ms) {
  return resume ? static_cast<platform::LPARAM>((pause_ms << 16) | 1u) : 0;
}

}  // namespace

void HoldemClass::RedrawInPlace(CardDealer* dealer) {
  if (dealer == nullptr || !dealer->IsIdle()) return;
  dealer->Stop(false);
  (void)dealer->StartDeal(0, -1.0f, false, nullptr, 0, 0, 0, true);
}

void HoldemClass::OnCardAnimationDone(platform::WPARAM wParam, platform::LPARAM lParam) {
  if (wParam == 1 && !board_dealer_->HasCard(3, 0) && board_copy_dealer_->HasCard(1, 0)) {
    // The first flop card has landed: the three spread out of it.
    board_copy_dealer_->Stop(false);
    (void)board_copy_dealer_->StartDeal(0, 0.2f, true, Window(), TABLEMSG_CARD_ANIMATION_DONE, 4, 1, true);
    return;
  }
  if (wParam == 4) {
    board_dealer_->Stop(false);
    for (int32_t c = 0; c < kHoldemBoardCards; ++c) {
      if (!board_copy_dealer_->HasCard(c, 0)) continue;
      const int32_t face = board_copy_dealer_->GetCard(c, 0);
      (void)board_dealer_->RemoveCards(c, 0);
      (void)board_dealer_->PlaceAllCards(c);
      board_dealer_->SetCardFace(c, 0, face);
      board_dealer_->TurnFaceUp(c);
    }
    RedrawInPlace(board_dealer_.get());
    board_copy_dealer_->Stop(false);
    for (int32_t c = 0; c < kHoldemBoardCards; ++c) (void)board_copy_dealer_->RemoveCards(c, 0);
  }
  const uint32_t resume = static_cast<uint32_t>(lParam);
  if ((resume & 0xFFFF) == 0) return;
  ResumeAfter(resume >> 16, "card animation leads to packetloop",
              "card animation start delay timer that will lead to packetloop");
}

void HoldemClass::OnChipAnimationDone(platform::WPARAM wParam, platform::LPARAM lParam) {
  const uint32_t kind = static_cast<uint32_t>(wParam) >> 16;
  const uint32_t sub = static_cast<uint32_t>(wParam) & 0xFFFF;
  const uint32_t pause = static_cast<uint32_t>(lParam);
  if (kind < 10) {
    const int32_t plate = static_cast<int32_t>(kind);
    switch (sub) {
      case 0:
        for (HoldemSeatRecord& seat : seats_) {
          if (seat.hand_flags[0] == 0) continue;
          for (ChipStack& pile : seat.bets) {
            pile.StopMove();
            (void)pile.SetAmount(0);
            (void)pile.ReturnHome();
          }
          seat.hand_flags[0] = 0;
          seat.hand_flags[1] = 1;
        }
        ResumeAfter(pause, "chip animation leads to packetLoop",
                    "chip animation(towards ports) starts delay timer that will lead to packetLoop");
        return;
      case 4: {
        const int32_t pile = static_cast<int32_t>(pause & 0xFFFF);
        if (deal_plate_ >= 0 && deal_plate_ < kHoldemSeats && pile >= 0 && pile < 4) {
          (void)seats_[deal_plate_].bets[pile].AddAmount(deal_pile_.GetAmount());
        }
        (void)deal_pile_.SetAmount(0);
        deal_plate_ = -1;
        if ((pause >> 16) == 0) ResumeAfter(0, "player deals chips leads to packetLoop", nullptr);
        return;
      }
      case 5:
        if (pause > 0) {
          (void)StartRefundTimer(pause / 1000.0);
          if (refund_seat_ >= 0 && refund_seat_ < kHoldemSeats) {
            players_[refund_seat_].chips = static_cast<uint32_t>(refund_balance_);
            UpdateSeats(false, true);
          }
        } else {
          (void)refund_pile_.SetAmount(0);
          refund_plate_ = -1;
        }
        (void)plate;
        return;
      case 6:
        (void)refund_pile_.SetAmount(0);
        refund_plate_ = -1;
        refund_dead_chips_ = 0;
        ResumeAfter(pause, "player deals dead chips leads to packetLoop", nullptr);
        return;
      default:
        return;
    }
  }
  switch (kind) {
    case 10:
      ResumeAfter(pause, "Winner chip animation leads to packetLoop",
                  "Winner chip animation starts delay timer that will lead to packetLoop");
      return;
    case 11:
      for (int32_t k = 0; k < 3; ++k) (void)working_[k].SetAmount(0);
      ResumeAfter(pause, "chip to houseTake animation leads to packetLoop",
                  "chip to houseTake animation starts delay timer that will lead to packetLoop");
      return;
    case 12:
      for (ChipStack& pile : working_) pile.ShowLabel(true);
      ResumeAfter(pause, "rakes return animation leads to packetLoop",
                  "rake return chip animation starts delay timer that will lead to packetLoop");
      return;
    case 13:
      ResumeAfter(pause, nullptr, "rake return chip sink animation starts delay timer that will lead to packetLoop");
      return;
    case 20:
      ResumeAfter(pause, "house take to slot + sink animation leads to packetLoop",
                  "house take to slot + sink animation starts delay timer that will lead to packetLoop");
      return;
    default:
      ResumeAfter(pause, nullptr, nullptr);
      return;
  }
}

namespace {

template <typename Cards>
int32_t PlaceHoleCards(CardDealer* dealer, const uint32_t* codes, const Cards& cards, int32_t per_seat) {
  for (int32_t s = 0; s < kHoldemSeats; ++s) (void)dealer->RemoveCards(s, 0);
  int32_t placed = 0;
  for (int32_t s = 0; s < kHoldemSeats; ++s) {
    if (codes[s] != SEAT_IN_HAND && codes[s] != SEAT_ALL_IN) continue;
    bool known = true;
    for (int32_t c = 0; c < per_seat; ++c) known = known && cards[s][c] >= 0;
    (void)dealer->PlaceAllCards(s);
    for (int32_t c = 0; c < per_seat; ++c) dealer->SetCardFace(s, c, known ? cards[s][c] : -1);
    if (known) {
      dealer->TurnFaceUp(s);
    } else {
      dealer->TurnFaceDown(s);
    }
    ++placed;
  }
  return placed;
}

}  // namespace

int32_t HoldemClass::DealHoleCards(const HoldemGameStateRecord& record) {
  uint32_t codes[kHoldemSeats];
  for (int32_t s = 0; s < kHoldemSeats; ++s) codes[s] = players_[s].status;
  stats_.hand_counted = 0;
  (void)PlaceHoleCards(hole_dealer_.get(), codes, record.cards, hole_layout_.cards);
  if (local_player_id_ >= 0 && record.cards[local_player_id_][0] >= 0 && record.cards[local_player_id_][1] >= 0 &&
      (codes[local_player_id_] == SEAT_IN_HAND || codes[local_player_id_] == SEAT_ALL_IN)) {
    stats_.hand_counted = 1;
  }
  hole_dealer_->Stop(true);
  const int32_t dealer = dealer_seat_ >= 0 ? dealer_seat_ : 0;
  const int32_t start = dealer == 0 ? kHoldemSeats - 1 : dealer - 1;
  const bool started =
      hole_dealer_->StartDeal(start, 1.1f, true, Window(), TABLEMSG_CARD_ANIMATION_DONE, 0, 1, false);
  sound_timer_.Stop();
  (void)StartSoundTimer(1.1, TIMERSLOT_SOUND_DEAL_TICK);
  PlayTableSound(SOUND_DEAL_START);
  return started ? 1 : 0;
}

int32_t HoldemClass::DealHoleCardsFromFinal(const HoldemFinalRecord& record) {
  uint32_t codes[kHoldemSeats];
  for (int32_t s = 0; s < kHoldemSeats; ++s) codes[s] = Holdem_StatusCode(record.status[s]);
  stats_.hand_counted = 0;
  (void)PlaceHoleCards(hole_dealer_.get(), codes, record.cards, hole_layout_.cards);
  hole_dealer_->Stop(true);
  const int32_t dealer = dealer_seat_ >= 0 ? dealer_seat_ : 0;
  const int32_t start = dealer == 0 ? kHoldemSeats - 1 : dealer - 1;
  const bool started =
      hole_dealer_->StartDeal(start, 1.1f, true, Window(), TABLEMSG_CARD_ANIMATION_DONE, 0, 1, false);
  sound_timer_.Stop();
  (void)StartSoundTimer(1.1, TIMERSLOT_SOUND_DEAL_TICK);
  PlayTableSound(SOUND_DEAL_START);
  return started ? 1 : 0;
}

bool HoldemClass::DealBoardCards(int32_t first, int32_t last, const int8_t* board) {
  if (first < 0 || last >= kHoldemBoardCards || first > last) return false;
  bool started = false;
  if (first > 0) {
    int32_t seats[kHoldemBoardCards], firsts[kHoldemBoardCards], lasts[kHoldemBoardCards];
    int32_t count = 0;
    for (int32_t c = first; c <= last; ++c) {
      (void)board_dealer_->RemoveCards(c, 0);
      board_dealer_->SetCardFace(c, 0, board[c]);
      board_dealer_->TurnFaceUp(c);
      seats[count] = c;
      firsts[count] = 0;
      lasts[count] = 0;
      ++count;
    }
    if (board_dealer_->IsStarted() && !board_dealer_->IsIdle()) board_dealer_->Finish();
    if (!board_dealer_->IsStarted()) RedrawInPlace(board_dealer_.get());
    started = board_dealer_->DealMore(count, seats, firsts, lasts, first, 0.0f, true, Window(),
                                      TABLEMSG_CARD_ANIMATION_DONE, 1, 1);
    if (started) {
      for (int32_t c = first; c <= last; ++c) {
        board_dealer_->SetCardFace(c, 0, board[c]);
        board_dealer_->TurnFaceUp(c);
      }
    }
  } else {
    // The flop: one card flies in from the deck, then the three spread out of it.
    board_copy_dealer_->Stop(true);
    int32_t deck_x[kHoldemBoardCards], deck_y[kHoldemBoardCards];
    for (int32_t c = 0; c < kHoldemBoardCards; ++c) {
      deck_x[c] = 250;
      deck_y[c] = 149;
    }
    (void)board_copy_dealer_->SetDeckOrigins(deck_x, deck_y);
    (void)board_copy_dealer_->SetFlightTime(0.5f);
    for (int32_t c = 0; c < kHoldemBoardCards; ++c) {
      (void)board_copy_dealer_->RemoveCards(c, 0);
      if (c <= last) {
        (void)board_copy_dealer_->PlaceAllCards(c);
        board_copy_dealer_->SetCardFace(c, 0, board[c]);
        board_copy_dealer_->TurnFaceUp(c);
      }
    }
    board_dealer_->Stop(true);
    for (int32_t c = 0; c < kHoldemBoardCards; ++c) (void)board_dealer_->RemoveCards(c, 0);
    (void)board_dealer_->PlaceAllCards(0);
    board_dealer_->SetCardFace(0, 0, board[last]);
    board_dealer_->TurnFaceUp(0);
    started = board_dealer_->StartDeal(0, 0.0f, true, Window(), TABLEMSG_CARD_ANIMATION_DONE, 1, 1, false);
  }
  if (!started) {
    log_.Line("Card animation can not start");
    return false;
  }
  PlayTableSound(SOUND_CARD);
  return true;
}

bool HoldemClass::MuckSeatCards(int32_t seat, bool resume, uint32_t pause_ms) {
  if (seat < 0 || seat >= kHoldemSeats || hole_dealer_ == nullptr) return false;
  const int32_t plate = static_cast<int32_t>(players_[seat].display_position);
  if (!hole_dealer_->HasCard(seat, 0)) return false;
  CardDealer& muck = *seat_muck_dealers_[plate];
  muck.Finish();
  muck.Stop(false);
  const bool face_up = hole_dealer_->IsFaceUp(seat, 0);
  int32_t deck_x = hole_dealer_->GetCardX(seat, 0);
  int32_t deck_y = hole_dealer_->GetCardY(seat, 0);
  (void)muck.SetDeckOrigins(&deck_x, &deck_y);
  int32_t target_x = face_up ? 372 : 391;
  int32_t target_y = face_up ? -78 : -25;
  (void)muck.SetSeatOrigins(&target_x, &target_y);
  (void)muck.SetAltSeatOrigins(&target_x, &target_y);
  static const float kFlight[kHoldemSeats] = {0.05f, 0.1f, 0.13f, 0.17f, 0.2f, 0.2f, 0.17f, 0.13f, 0.1f, 0.05f};
  (void)muck.SetFlightTime(kFlight[plate]);
  (void)muck.RemoveCards(0, 0);
  for (int32_t c = 0; c < hole_layout_.cards; ++c) {
    if (!hole_dealer_->HasCard(seat, c)) break;
    (void)muck.PlaceCards(0, c, c);
    muck.SetCardFace(0, c, hole_dealer_->GetCard(seat, c));
  }
  if (face_up) {
    muck.TurnFaceUp(0);
  } else {
    muck.TurnFaceDown(0);
  }
  (void)hole_dealer_->RemoveCards(seat, 0);
  const bool started =
      muck.StartDeal(0, 0.0f, true, Window(), TABLEMSG_CARD_ANIMATION_DONE, 2, CardResume(resume, pause_ms), false);
  PlayTableSound(SOUND_MUCK);
  if (!started && resume) {
    // The cards are gone either way; the resume must not be lost.
    log_.Line("Card animation can not start");
    return false;
  }
  return true;
}

bool HoldemClass::MuckBoard(bool resume, uint32_t pause_ms) {
  board_muck_dealer_->Finish();
  board_muck_dealer_->Stop(false);
  int32_t deck_x[kHoldemBoardCards], deck_y[kHoldemBoardCards];
  bool any = false;
  for (int32_t c = 0; c < kHoldemBoardCards; ++c) {
    (void)board_muck_dealer_->RemoveCards(c, 0);
    const CardDealer* source = board_dealer_->HasCard(c, 0)        ? board_dealer_.get()
                               : board_copy_dealer_->HasCard(c, 0) ? board_copy_dealer_.get()
                                                                   : nullptr;
    deck_x[c] = source != nullptr ? source->GetCardX(c, 0) : 0;
    deck_y[c] = source != nullptr ? source->GetCardY(c, 0) : 0;
    if (source == nullptr) continue;
    (void)board_muck_dealer_->PlaceAllCards(c);
    board_muck_dealer_->SetCardFace(c, 0, source->GetCard(c, 0));
    board_muck_dealer_->TurnFaceUp(c);
    any = true;
  }
  (void)board_muck_dealer_->SetDeckOrigins(deck_x, deck_y);
  board_dealer_->Stop(true);
  board_copy_dealer_->Stop(true);
  for (int32_t c = 0; c < kHoldemBoardCards; ++c) {
    (void)board_dealer_->RemoveCards(c, 0);
    (void)board_copy_dealer_->RemoveCards(c, 0);
  }
  if (!any) return false;
  return board_muck_dealer_->StartDeal(0, 0.0f, true, Window(), TABLEMSG_CARD_ANIMATION_DONE, 3,
                                       CardResume(resume, pause_ms), false);
}

bool HoldemClass::AnimateBetsToPots(const HoldemCollectRecord& record, uint32_t pause_ms) {
  uint32_t towards[kHoldemSeats][3];
  for (int32_t s = 0; s < kHoldemSeats; ++s) {
    const HoldemSeatRecord& seat = seats_[players_[s].display_position];
    int64_t left = 0;
    for (const ChipStack& pile : seat.bets) left += pile.GetAmount();
    for (int32_t pot = 2; pot >= 0; --pot) {
      const int64_t part = std::min<int64_t>(record.towards[s][pot], left);
      towards[s][pot] = static_cast<uint32_t>(part > 0 ? part : 0);
      left -= towards[s][pot];
    }
  }
  uint32_t totals[3] = {};
  for (const auto& seat : towards) {
    for (int32_t pot = 0; pot < 3; ++pot) totals[pot] += seat[pot];
  }
  if (totals[2] > 0) {
    (void)pots_[0].SetPosition(514, 240);
    (void)pots_[1].SetPosition(390, 240);
  }
  const int32_t receiving = (totals[0] > 0) + (totals[1] > 0) + (totals[2] > 0);
  if (receiving == 0) return false;
  const float delay = receiving == 1 ? 0.3f : 0.2f;
  bool any_started = false;
  auto pot_y = [&](int32_t pot) { return pots_[pot].GetY() + (pots_[pot].GetPileCount() > 4 ? kChipHeight / 2 : 0); };
  for (int32_t s = 0; s < kHoldemSeats; ++s) {
    const int32_t plate = static_cast<int32_t>(players_[s].display_position);
    HoldemSeatRecord& seat = seats_[plate];
    const int32_t pots_hit = (towards[s][0] > 0) + (towards[s][1] > 0) + (towards[s][2] > 0);
    if (pots_hit == 0) continue;
    const platform::WPARAM wparam = static_cast<platform::WPARAM>(plate) << 16;
    const bool left_to_right = plate <= 2 || plate >= 7;
    auto start = [&](ChipStack& pile, int32_t x, int32_t y) {
      const bool post = !any_started;
      if (pile.StartMove(x, y, 0.4f, delay, post, Window(), TABLEMSG_CHIP_ANIMATION_DONE, wparam,
                         static_cast<platform::LPARAM>(pause_ms), false, false)) {
        seat.hand_flags[0] = 1;
        any_started = true;
      }
    };
    if (pots_hit == 1) {
      const int32_t target = towards[s][0] > 0 ? 0 : towards[s][1] > 0 ? 1 : 2;
      int32_t filled[4], count = 0;
      for (int32_t k = 0; k < 4; ++k) {
        if (seat.bets[k].GetAmount() > 0) filled[count++] = k;
      }
      const int32_t first_x = pots_[target].GetX() - (count - 1) * kChipWidth / 2;
      for (int32_t i = 0; i < count; ++i) {
        const int32_t order = left_to_right ? i : count - 1 - i;
        start(seat.bets[filled[i]], first_x + order * kChipWidth, pot_y(target));
      }
    } else {
      for (ChipStack& pile : seat.bets) (void)pile.SetAmount(0);
      const int32_t order_a[3] = {1, 0, 2};
      const int32_t order_b[3] = {2, 0, 1};
      const int32_t* order = left_to_right ? order_a : order_b;
      int32_t next_pile = 0;
      for (int32_t i = 0; i < 3; ++i) {
        const int32_t pot = order[i];
        if (towards[s][pot] == 0) continue;
        ChipStack& pile = seat.bets[next_pile++];
        (void)pile.SetAmount(static_cast<int32_t>(towards[s][pot]));
        start(pile, pots_[pot].GetX() - kChipWidth / 2, pot_y(pot));
      }
    }
  }
  if (!any_started) return false;
  if (delay > 0) {
    sound_timer_.Stop();
    (void)StartSoundTimer(delay, TIMERSLOT_SOUND_POT);
  } else {
    PlayTableSound(SOUND_POT);
  }
  return true;
}

bool HoldemClass::AnimatePotsToHouse(uint32_t main, uint32_t side, uint32_t second_side, uint32_t pause_ms) {
  const uint32_t amounts[3] = {main, side, second_side};
  bool any_started = false;
  for (int32_t k = 0; k < 3; ++k) {
    if (amounts[k] == 0) continue;
    ChipStack& pile = working_[k];
    pile.StopMove();
    (void)pile.SetAmount(static_cast<int32_t>(amounts[k]));
    pile.ShowLabel(false);
    (void)pile.SetPosition(pots_[k].GetX() - kChipWidth / 2, pots_[k].GetY() - kChipHeight);
    if (pile.StartMove(322, 107, 0.15f, 0.0f, !any_started, Window(), TABLEMSG_CHIP_ANIMATION_DONE, 11 << 16,
                       static_cast<platform::LPARAM>(pause_ms), false, false)) {
      any_started = true;
    }
  }
  return any_started;
}

bool HoldemClass::AnimatePotToWinners(int32_t pot, uint32_t value, const uint32_t* amounts, int32_t count,
                                      const int8_t* seats, uint32_t pause_ms) {
  if (pot < 1 || pot > 3) return false;
  ChipStack& source = pots_[pot - 1];
  (void)source.SetAmount(static_cast<int32_t>(value));
  if (count < 1 || amounts[0] < 1) return false;
  count = std::min(count, kHoldemMaxWinners);
  static const int32_t kOrder[kHoldemSeats] = {9, 7, 5, 3, 1, 0, 2, 4, 6, 8};
  int32_t order[kHoldemMaxWinners];
  for (int32_t i = 0; i < count; ++i) order[i] = i;
  auto rank = [&](int32_t i) { return seats[i] >= 0 && seats[i] < kHoldemSeats ? kOrder[seats[i]] : -1; };
  std::stable_sort(order, order + count, [&](int32_t a, int32_t b) { return rank(a) > rank(b); });
  bool first_started = false;
  uint32_t paid = 0;
  for (int32_t k = 0; k < count; ++k) {
    const int32_t i = order[k];
    const int32_t seat = seats[i];
    ChipStack& pile = working_[k];
    pile.StopMove();
    (void)pile.SetAmount(static_cast<int32_t>(amounts[i]));
    pile.ShowLabel(true);
    (void)pile.SetPosition(source.GetX(), source.GetY() - (count / 2) * kChipHeight + k * kChipHeight);
    paid += amounts[i];
    if (seat < 0 || seat >= kHoldemSeats) continue;
    const platform::POINT target = seats_[players_[seat].display_position].points[0];
    const bool post = k == 0;
    const bool started = pile.StartMove(target.x, target.y, 0.5f, 0.0f, post, Window(), TABLEMSG_CHIP_ANIMATION_DONE,
                                        static_cast<platform::WPARAM>((10 << 16) + pot),
                                        static_cast<platform::LPARAM>(pause_ms), true, true);
    if (post) first_started = started;
  }
  (void)source.SetAmount(value > paid ? static_cast<int32_t>(value - paid) : 0);
  return first_started;
}

bool HoldemClass::AnimateRakeReturn(uint32_t house_take, int32_t count, const int8_t* seats, const uint32_t* returns) {
  (void)pots_[4].SetAmount(static_cast<int32_t>(house_take));
  bool filled = false;
  for (int32_t i = 0; i < count && i < kHoldemMaxWinners; ++i) {
    if (returns[i] == 0 || seats[i] < 0 || seats[i] >= kHoldemSeats) continue;
    ChipStack& pile = working_[i];
    (void)pile.SetAmount(static_cast<int32_t>(returns[i]));
    (void)pile.SetPosition(pots_[4].GetX(), pots_[4].GetY());
    const HoldemSeatRecord& seat = seats_[players_[seats[i]].display_position];
    const int32_t x = (seat.bets[0].GetHomeX() + seat.bets[3].GetHomeX()) / 2;
    const int32_t y = (seat.bets[0].GetHomeY() + seat.bets[3].GetHomeY()) / 2;
    if (pile.StartMove(x, y, 0.3f, 0.2f, !filled, Window(), TABLEMSG_CHIP_ANIMATION_DONE, 12 << 16, 1500, false,
                       true)) {
      filled = true;
    }
  }
  // Returns are never on this module's wire: the piles not used are emptied.
  for (int32_t i = 0; i < kHoldemSeats; ++i) {
    if (i >= count || returns[i] == 0) (void)working_[i].SetAmount(0);
  }
  return filled;
}

bool HoldemClass::AnimatePlayerBet(int32_t seat, int32_t pile, uint32_t amount, bool resume) {
  if (amount == 0 || seat < 0 || seat >= kHoldemSeats || pile < 0 || pile > 3) return false;
  const int32_t plate = static_cast<int32_t>(players_[seat].display_position);
  HoldemSeatRecord& record = seats_[plate];
  deal_pile_.StopMove();
  (void)deal_pile_.SetAmount(static_cast<int32_t>(amount));
  (void)deal_pile_.SetPosition(record.points[2].x, record.points[2].y);
  deal_plate_ = plate;
  const ChipStack& target = record.bets[pile];
  const bool started = deal_pile_.StartMove(
      target.GetHomeX(), target.GetHomeY(), 0.08f, 0.0f, true, Window(), TABLEMSG_CHIP_ANIMATION_DONE,
      static_cast<platform::WPARAM>((plate << 16) + 4),
      static_cast<platform::LPARAM>(pile + (resume ? 0 : 65536)), false, false);
  if (started) {
    PlayTableSound(SOUND_CHIPS);
  } else {
    (void)deal_pile_.SetAmount(0);
    deal_plate_ = -1;
  }
  return started;
}

bool HoldemClass::AnimateDeadChips(int32_t seat, uint32_t amount) {
  if (seat < 0 || seat >= kHoldemSeats || amount == 0) return false;
  const int32_t plate = static_cast<int32_t>(players_[seat].display_position);
  refund_pile_.StopMove();
  (void)refund_pile_.SetAmount(static_cast<int32_t>(amount));
  (void)refund_pile_.SetPosition(seats_[plate].points[1].x, seats_[plate].points[1].y);
  refund_plate_ = plate;
  refund_dead_chips_ = 1;
  return refund_pile_.StartMove(pots_[0].GetX() - kChipWidth / 2, pots_[0].GetY(), 0.4f, 0.3f, true, Window(),
                                TABLEMSG_CHIP_ANIMATION_DONE, static_cast<platform::WPARAM>((plate << 16) + 6), 0,
                                false, false);
}

bool HoldemClass::AnimateRefund(int32_t seat, uint32_t amount) {
  if (seat < 0 || seat >= kHoldemSeats) return false;
  const int32_t plate = static_cast<int32_t>(players_[seat].display_position);
  HoldemSeatRecord& record = seats_[plate];
  int32_t x = record.combined.GetHomeX(), y = record.combined.GetHomeY();
  int32_t filled[4], count = 0;
  for (int32_t k = 0; k < 4; ++k) {
    if (record.bets[k].GetAmount() > 0) filled[count++] = k;
  }
  if (count > 0) {
    auto at = [&](int32_t k) { return platform::POINT{record.bets[k].GetHomeX(), record.bets[k].GetHomeY()}; };
    platform::POINT p = at(filled[0]);
    if (count == 2) p = {(at(filled[0]).x + at(filled[1]).x) / 2, (at(filled[0]).y + at(filled[1]).y) / 2};
    if (count == 3) p = at(filled[1]);
    if (count == 4) p = {(at(1).x + at(2).x) / 2, (at(1).y + at(2).y) / 2};
    // One chip towards the seat.
    const platform::POINT chip = record.points[0];
    const double dx = chip.x - p.x, dy = chip.y - p.y;
    const double length = std::sqrt(dx * dx + dy * dy);
    if (length > 0) {
      x = p.x + static_cast<int32_t>(std::lround(dx / length * kChipWidth));
      y = p.y + static_cast<int32_t>(std::lround(dy / length * kChipHeight));
    } else {
      x = p.x;
      y = p.y;
    }
  }
  refund_pile_.StopMove();
  (void)refund_pile_.SetAmount(static_cast<int32_t>(amount));
  (void)refund_pile_.SetPosition(x, y);
  refund_plate_ = plate;
  refund_dead_chips_ = 0;
  const bool started = refund_pile_.StartMove(record.points[0].x, record.points[0].y, 0.1f, 0.3f, true, Window(),
                                              TABLEMSG_CHIP_ANIMATION_DONE,
                                              static_cast<platform::WPARAM>((plate << 16) + 5), 400, false, false);
  sound_timer_.Stop();
  (void)StartSoundTimer(0.3, TIMERSLOT_SOUND_REFUND);
  PlayTableSound(SOUND_CHIPS);
  return started;
}

bool HoldemClass::PlaceDealerButton(int32_t seat) {
  if (seat < 0 || seat >= kHoldemSeats) return false;
  dealer_button_.Show();
  return dealer_button_.SetPathPoint(static_cast<int32_t>(players_[seat].display_position));
}

bool HoldemClass::MoveDealerButton(int32_t seat, bool along_path) {
  if (seat < 0 || seat >= kHoldemSeats) return false;
  const int32_t point = static_cast<int32_t>(players_[seat].display_position);
  dealer_button_.Show();
  if (along_path) {
    return dealer_button_.MoveAlongPath(point, true, Window(), TABLEMSG_DEALER_BUTTON_DONE, 0, 0);
  }
  static const int32_t kRestX[kHoldemSeats] = {241, 120, 86, 160, 338, 526, 685, 681, 597, 453};
  static const int32_t kRestY[kHoldemSeats] = {84, 126, 245, 314, 323, 324, 262, 161, 92, 85};
  const double dx = kRestX[point] - dealer_button_.GetX();
  const double dy = kRestY[point] - dealer_button_.GetY();
  const double seconds = std::min(std::sqrt(dx * dx + dy * dy) / button_speed_, button_longest_);
  return dealer_button_.MoveToPathPoint(point, seconds, true, Window(), TABLEMSG_DEALER_BUTTON_DONE, 0, 0);
}
