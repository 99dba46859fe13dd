#include "cclient/widgets/card_dealer.h"

#include <algorithm>
#include <cmath>

#include "cclient/widgets/card_bevel.h"
#include "platform/window/message_queue.h"

namespace {

constexpr platform::RECT kNoRect{-1, -1, -1, -1};

bool IsEmptyRect(const platform::RECT& rect) { return rect.left >= rect.right; }

bool Intersect(const platform::RECT& a, const platform::RECT& b) {
  return a.left <= b.right && b.left <= a.right && a.top <= b.bottom && b.top <= a.bottom;
}

std::vector<int32_t> CopyOf(const int32_t* values, int32_t count) {
  std::vector<int32_t> copy(static_cast<size_t>(std::max(count, 0)), 0);
  if (values != nullptr) std::copy(values, values + copy.size(), copy.begin());
  return copy;
}

}  // namespace

CardDealer::CardDealer(const CardDealerSetup& setup)
    : more_deals_allowed_(setup.more_deals_allowed),
      deck_origin_count_(setup.deck_origin_count),
      seat_count_(std::max(setup.seat_count, 0)),
      step_x_(setup.step_x),
      step_y_(setup.step_y),
      alt_y_is_seat_y_(setup.alt_y == nullptr),
      alt_step_x_(setup.alt_step_x),
      alt_step_y_(setup.alt_step_y),
      cards_per_seat_(std::max(setup.cards_per_seat, 0)),
      deal_passes_(std::max(setup.deal_passes, 1)),
      flight_time_(setup.flight_time),
      card_gap_(setup.card_gap),
      pass_gap_(setup.pass_gap),
      seat_gap_(setup.seat_gap),
      fly_face_down_(setup.fly_face_down),
      stop_at_end_(setup.stop_at_end),
      reverse_order_(setup.reverse_order),
      constant_flight_(setup.constant_flight) {
  deck_x_ = CopyOf(setup.deck_x, deck_origin_count_ == 1 ? 1 : seat_count_);
  deck_y_ = CopyOf(setup.deck_y, deck_origin_count_ == 1 ? 1 : seat_count_);
  seat_x_ = CopyOf(setup.seat_x, seat_count_);
  seat_y_ = CopyOf(setup.seat_y, seat_count_);
  clip_bottom_.assign(static_cast<size_t>(seat_count_), -1);
  if (setup.alt_x != nullptr) {
    alt_x_ = CopyOf(setup.alt_x, seat_count_);
  } else {
    alt_x_.resize(static_cast<size_t>(seat_count_));
    for (int32_t seat = 0; seat < seat_count_; ++seat) {
      const int32_t deck = deck_x_[static_cast<size_t>(DeckIndex(seat))];
      alt_x_[seat] = seat_x_[seat] > deck ? seat_x_[seat] - alt_step_x_ : seat_x_[seat];
    }
  }
  if (!alt_y_is_seat_y_) alt_y_ = CopyOf(setup.alt_y, seat_count_);
  slots_.resize(static_cast<size_t>(seat_count_) * static_cast<size_t>(cards_per_seat_));
  seat_flight_.assign(static_cast<size_t>(seat_count_), 0.0f);
  ComputeFlightTimes();
}

// ---- Geometry -------------------------------------------------------------------------------

void CardDealer::ComputeFlightTimes() {
  if (constant_flight_) {
    std::fill(seat_flight_.begin(), seat_flight_.end(), flight_time_);
    return;
  }
  std::vector<double> distance(static_cast<size_t>(seat_count_));
  double largest = 0.0;
  for (int32_t seat = 0; seat < seat_count_; ++seat) {
    const int64_t dx = int64_t{seat_x_[seat]} - deck_x_[static_cast<size_t>(DeckIndex(seat))];
    const int64_t dy = int64_t{seat_y_[seat]} - deck_y_[static_cast<size_t>(DeckIndex(seat))];
    distance[seat] = std::sqrt(static_cast<double>(dx * dx + dy * dy));
    largest = std::max(largest, distance[seat]);
  }
  for (int32_t seat = 0; seat < seat_count_; ++seat) {
    seat_flight_[seat] =
        largest == 0.0 ? flight_time_ : static_cast<float>(flight_time_ * distance[seat] / largest);
  }
}

bool CardDealer::SetDeckOrigins(const int32_t* x, const int32_t* y) {
  if (x != nullptr) std::copy(x, x + deck_x_.size(), deck_x_.begin());
  if (y != nullptr) std::copy(y, y + deck_y_.size(), deck_y_.begin());
  ComputeFlightTimes();
  return true;
}

bool CardDealer::SetSeatOrigins(const int32_t* x, const int32_t* y) {
  if (x != nullptr) std::copy(x, x + seat_x_.size(), seat_x_.begin());
  if (y != nullptr) std::copy(y, y + seat_y_.size(), seat_y_.begin());
  ComputeFlightTimes();
  return true;
}

bool CardDealer::SetAltSeatOrigins(const int32_t* x, const int32_t* y) {
  if (x != nullptr) std::copy(x, x + alt_x_.size(), alt_x_.begin());
  // Without alternative y values of its own the dealer shares the seats' y array.
  std::vector<int32_t>& alt_y = alt_y_is_seat_y_ ? seat_y_ : alt_y_;
  if (y != nullptr) std::copy(y, y + alt_y.size(), alt_y.begin());
  return true;
}

bool CardDealer::SetFlightTime(float seconds) {
  flight_time_ = seconds;
  ComputeFlightTimes();
  return true;
}

void CardDealer::SetSeatClipY(int32_t seat, int32_t y) {
  if (SeatInRange(seat)) clip_bottom_[seat] = y;
}

// ---- Hands ----------------------------------------------------------------------------------

void CardDealer::SetHands(const uint8_t* face_up, const int32_t* faces, const uint8_t* empty) {
  for (size_t i = 0; i < slots_.size(); ++i) {
    slots_[i].face_up = face_up != nullptr ? face_up[i] : 0;
    slots_[i].face = faces != nullptr ? faces[i] : -1;
    slots_[i].empty = empty != nullptr ? empty[i] : 1;
  }
  force_alt_layout_ = false;
  hands_set_ = true;
  started_ = false;
  mode_ = 0;
}

void CardDealer::ScheduleDeal(int32_t start_seat) {
  if (start_seat == -1) start_seat = reverse_order_ ? seat_count_ - 1 : 0;
  const int32_t direction = reverse_order_ ? -1 : 1;
  float t = 0.0f;
  for (int32_t pass = 0; pass < deal_passes_; ++pass) {
    const int32_t first = cards_per_seat_ * pass / deal_passes_;
    const int32_t end = cards_per_seat_ * (pass + 1) / deal_passes_;
    for (int32_t i = 0; i < seat_count_; ++i) {
      const int32_t seat = ((start_seat + direction * i) % seat_count_ + seat_count_) % seat_count_;
      bool dealt = false;
      for (int32_t card = first; card < end; ++card) {
        Slot& slot = At(seat, card);
        if (slot.empty || slot.arrived) continue;
        slot.start_offset = -t;
        t += card_gap_;
        dealt = true;
      }
      if (dealt) t += seat_gap_;
    }
    t += pass_gap_;
  }
}

void CardDealer::StoreEndMessage(bool post, platform::HWND window, uint32_t message, platform::WPARAM wparam,
                                 platform::LPARAM lparam) {
  post_ = post;
  window_ = window;
  message_ = message;
  wparam_ = wparam;
  lparam_ = lparam;
}

bool CardDealer::StartDeal(int32_t start_seat, float delay, bool post, platform::HWND window, uint32_t message,
                           platform::WPARAM wparam, platform::LPARAM lparam, bool repaint_present) {
  if (!hands_set_ || started_ || seat_count_ == 0) return false;
  if (start_seat != -1 && !SeatInRange(start_seat)) return false;
  started_ = true;
  mode_ = 0;
  if (delay >= 0.0f) {
    delay_ = delay;
    elapsed_ = 0.0f;
    for (Slot& slot : slots_) slot.arrived = 0;
    ScheduleDeal(start_seat);
    StoreEndMessage(post, window, message, wparam, lparam);
    finished_ = false;
  } else {
    for (Slot& slot : slots_) {
      if (!slot.empty) slot.arrived = 1;
    }
    finished_ = true;
    settled_ = false;
    post_ = false;
  }
  for (Slot& slot : slots_) {
    if (repaint_present) {
      if (!slot.empty) {
        slot.redraw_pending = 1;
        slot.changed = 1;
      }
    } else {
      slot.redraw_pending = 0;
      slot.erase_pending = 0;
      slot.rect = kNoRect;
    }
  }
  return true;
}

bool CardDealer::DealMore(int32_t count, const int32_t* seats, const int32_t* first_cards, const int32_t* last_cards,
                          int32_t start_seat, float delay, bool post, platform::HWND window, uint32_t message,
                          platform::WPARAM wparam, platform::LPARAM lparam) {
  if (!more_deals_allowed_ || !started_ || !finished_ || count < 0 || (count > 0 && seats == nullptr)) return false;
  if (start_seat != -1 && !SeatInRange(start_seat)) return false;
  const auto first_of = [&](int32_t i) { return first_cards != nullptr ? first_cards[i] : 0; };
  const auto last_of = [&](int32_t i) { return last_cards != nullptr ? last_cards[i] : cards_per_seat_ - 1; };
  // Every entry is checked before anything changes.
  for (int32_t i = 0; i < count; ++i) {
    if (!SeatInRange(seats[i]) || first_of(i) < 0 || last_of(i) >= cards_per_seat_) return false;
  }
  for (int32_t i = 0; i < count; ++i) {
    for (int32_t card = first_of(i); card <= last_of(i); ++card) {
      Slot& slot = At(seats[i], card);
      slot.empty = 0;
      slot.arrived = delay < 0.0f ? 1 : 0;
      slot.redraw_pending = 0;
      slot.erase_pending = 0;
      slot.changed = 0;
      slot.rect = kNoRect;
    }
  }
  mode_ = 0;
  if (delay >= 0.0f) {
    delay_ = delay;
    elapsed_ = 0.0f;
    ScheduleDeal(start_seat);
    StoreEndMessage(post, window, message, wparam, lparam);
    finished_ = false;
  } else {
    post_ = false;
    settled_ = false;
  }
  return true;
}

void CardDealer::Stop(bool repaint) {
  if (!started_) return;
  if (repaint) {
    for (int32_t seat = 0; seat < seat_count_; ++seat) {
      for (int32_t card = 0; card < cards_per_seat_; ++card) {
        if (!At(seat, card).empty) MarkCardDirty(seat, card);
      }
    }
  }
  started_ = false;
  drawn_once_ = false;
}

void CardDealer::Finish() {
  if (!started_) return;
  finished_ = true;
  settled_ = false;
}

bool CardDealer::PlaceCards(int32_t seat, int32_t first, int32_t last) {
  if (!hands_set_ || DealRunning() || !SeatInRange(seat) || first < 0 || last >= cards_per_seat_) return false;
  for (int32_t card = 0; card < first; ++card) {
    if (At(seat, card).empty) return false;
  }
  for (int32_t card = first; card <= last; ++card) {
    Slot& slot = At(seat, card);
    if (!slot.empty) continue;
    slot.empty = 0;
    slot.arrived = 1;
    slot.redraw_pending = 1;
    slot.changed = 1;
  }
  return true;
}

bool CardDealer::RemoveCards(int32_t seat, int32_t from_card) {
  if (!hands_set_ || DealRunning() || !SeatInRange(seat) || from_card < 0) return false;
  for (int32_t card = from_card; card < cards_per_seat_; ++card) {
    Slot& slot = At(seat, card);
    if (slot.empty) continue;
    slot.empty = 1;
    slot.arrived = 0;
    MarkCardDirty(seat, card);
  }
  return true;
}

void CardDealer::SetCardFace(int32_t seat, int32_t card, int32_t face) {
  if (!CardInRange(seat, card) || At(seat, card).face == face) return;
  Slot& slot = At(seat, card);
  slot.face = face;
  slot.redraw_pending = 1;
  slot.changed = 1;
  // Later cards lie on top of this one.
  for (int32_t later = card + 1; later < cards_per_seat_ && !At(seat, later).empty; ++later) {
    At(seat, later).redraw_pending = 1;
  }
}

void CardDealer::TurnSeat(int32_t seat, bool face_up) {
  if (!SeatInRange(seat)) return;
  for (int32_t card = 0; card < cards_per_seat_; ++card) {
    if (static_cast<bool>(At(seat, card).face_up) == face_up) continue;
    At(seat, card).face_up = face_up ? 1 : 0;
    MarkCardDirty(seat, card);
  }
}

bool CardDealer::IsFaceUp(int32_t seat, int32_t card) const {
  return CardInRange(seat, card) && At(seat, card).face_up != 0;
}

int32_t CardDealer::GetCard(int32_t seat, int32_t card) const {
  if (!CardInRange(seat, card) || At(seat, card).empty) return -1;
  return At(seat, card).face;
}

bool CardDealer::HasCard(int32_t seat, int32_t card) const {
  return started_ && CardInRange(seat, card) && !At(seat, card).empty;
}

int32_t CardDealer::GetCardCount(int32_t seat) const {
  if (!SeatInRange(seat)) return 0;
  for (int32_t card = 0; card < cards_per_seat_; ++card) {
    if (At(seat, card).empty) return card;
  }
  return cards_per_seat_;
}

bool CardDealer::UsesAltLayout(int32_t seat) const {
  if (force_alt_layout_) return true;
  if (!SeatInRange(seat)) return false;
  for (int32_t card = 0; card < cards_per_seat_; ++card) {
    if (At(seat, card).face_up) return true;
  }
  return false;
}

int32_t CardDealer::GetCardX(int32_t seat, int32_t card) const {
  if (!CardInRange(seat, card)) return -1;
  return UsesAltLayout(seat) ? alt_x_[seat] + alt_step_x_ * card : seat_x_[seat] + step_x_ * card;
}

int32_t CardDealer::GetCardY(int32_t seat, int32_t card) const {
  if (!CardInRange(seat, card)) return -1;
  return UsesAltLayout(seat) ? AltY(seat) + alt_step_y_ * card : seat_y_[seat] + step_y_ * card;
}

bool CardDealer::IsCardInFlight(int32_t seat, int32_t card) const {
  return CardInRange(seat, card) && !At(seat, card).arrived;
}

bool CardDealer::IsHiddenCardAtRest(int32_t seat, int32_t card) const {
  return CardInRange(seat, card) && At(seat, card).arrived && !UsesAltLayout(seat) && At(seat, card).face == -1;
}

// ---- Update ---------------------------------------------------------------------------------

void CardDealer::Update(float seconds) {
  if (!started_) return;
  if (!finished_) {
    if (mode_ == 1) {
      UpdateRaising(seconds);
    } else {
      UpdateDealing(seconds);
    }
  } else if (!settled_) {
    Settle();
  }
}

void CardDealer::UpdateDealing(float seconds) {
  elapsed_ += seconds;
  bool all_arrived = true;
  for (int32_t seat = 0; seat < seat_count_; ++seat) {
    for (int32_t card = 0; card < cards_per_seat_; ++card) {
      Slot& slot = At(seat, card);
      if (slot.empty || slot.arrived) continue;
      const float clock = elapsed_ - delay_ + slot.start_offset;
      if (clock <= 0.0f) {
        if (!slot.redraw_pending) ClearCardFlags(seat, card);
        all_arrived = false;
        continue;
      }
      MarkCardDirty(seat, card);
      // A flight of no length has arrived as soon as the card leaves the deck.
      if (clock >= seat_flight_[seat]) {
        slot.arrived = 1;
      } else {
        all_arrived = false;
      }
    }
  }
  if (!redraw_all_) {
    for (Slot& slot : slots_) {
      if (slot.arrived && !slot.redraw_pending) slot.changed = 0;
    }
  }
  if (all_arrived) EndDeal();
}

void CardDealer::EndDeal() {
  finished_ = true;
  settled_ = false;
  if (stop_at_end_) Stop(true);
  if (post_) platform::PostMessage(window_, message_, wparam_, lparam_);
}

void CardDealer::Settle() {
  for (int32_t seat = 0; seat < seat_count_; ++seat) {
    for (int32_t card = 0; card < cards_per_seat_; ++card) {
      Slot& slot = At(seat, card);
      if (slot.empty) continue;
      slot.arrived = 1;
      if (slot.rect.left != GetCardX(seat, card) || slot.rect.top != GetCardY(seat, card)) {
        MarkCardDirty(seat, card);
      }
    }
  }
  settled_ = true;
}

void CardDealer::UpdateRaising(float seconds) {
  elapsed_ += seconds;
  const double f = raise_duration_ > 0.0 ? elapsed_ / raise_duration_ : 1.0;
  const bool done = elapsed_ >= raise_duration_;
  for (int32_t seat = 0; seat < seat_count_; ++seat) {
    if (cards_per_seat_ == 0 || At(seat, 0).empty || !At(seat, 0).face_up) continue;
    SeatRaise& raise = raise_[seat];
    raise.active = 1;
    for (int32_t card = 0; card < cards_per_seat_; ++card) {
      if (At(seat, card).empty) continue;
      const int32_t base_x = alt_x_[seat] + alt_step_x_ * card;
      const int32_t base_y = AltY(seat) + alt_step_y_ * card;
      int32_t from = 0;
      int32_t to = 0;
      if (raise.marks[card]) {
        from = raise.marked_up ? base_y : base_y + raise_distance_;
        to = raise.marked_up ? base_y - raise_distance_ : base_y;
      } else {
        from = raise.others_down ? base_y : base_y - raise_distance_;
        to = raise.others_down ? base_y + raise_distance_ : base_y;
      }
      platform::POINT& position = raise.positions[card];
      const platform::POINT old = position;
      if (f < 1.0 && position.x == base_x) {
        position.y = from + static_cast<int32_t>((to - from) * f);
      } else {
        position = {base_x, to};
      }
      if (old.x != position.x || old.y != position.y) MarkCardDirty(seat, card);
    }
  }
  if (done) EndDeal();
}

// ---- Painting -------------------------------------------------------------------------------

int32_t CardDealer::EraseCards(platform::HDC destination, platform::HDC background) {
  if (!started_ && drawn_once_) return 0;
  int32_t erased = 0;
  for (int32_t seat = 0; seat < seat_count_; ++seat) {
    for (int32_t card = 0; card < cards_per_seat_; ++card) {
      const Slot& slot = At(seat, card);
      if (!slot.erase_pending || IsEmptyRect(slot.rect)) continue;
      platform::BitBlt(destination, slot.rect.left, slot.rect.top, slot.rect.right - slot.rect.left + 1,
                       slot.rect.bottom - slot.rect.top + 1, background, slot.rect.left, slot.rect.top,
                       platform::SRCCOPY);
      MarkOverlappingCards(seat, card);
      ++erased;
    }
  }
  return erased;
}

bool CardDealer::GetSeatEraseRect(int32_t seat, platform::RECT* out) const {
  if (!SeatInRange(seat) || (!started_ && drawn_once_)) return false;
  bool any = false;
  platform::RECT all{};
  for (int32_t card = 0; card < cards_per_seat_; ++card) {
    const Slot& slot = At(seat, card);
    if (!slot.erase_pending || IsEmptyRect(slot.rect)) continue;
    if (!any) {
      all = slot.rect;
    } else {
      all = {std::min(all.left, slot.rect.left), std::min(all.top, slot.rect.top),
             std::max(all.right, slot.rect.right), std::max(all.bottom, slot.rect.bottom)};
    }
    any = true;
  }
  if (any) *out = all;
  return any;
}

bool CardDealer::GetCardEraseRect(int32_t seat, int32_t card, platform::RECT* out) const {
  if (!CardInRange(seat, card) || !At(seat, card).erase_pending) return false;
  *out = At(seat, card).rect;
  return true;
}

float CardDealer::FlightFraction(int32_t seat, const Slot& slot) const {
  const float clock = elapsed_ - delay_ + slot.start_offset;
  if (seat_flight_[seat] <= 0.0f) return clock > 0.0f ? 1.0f : 0.0f;
  return std::clamp(clock / seat_flight_[seat], 0.0f, 1.0f);
}

CardDealer::Placement CardDealer::PlaceFor(int32_t seat, int32_t card) const {
  const Slot& slot = At(seat, card);
  Placement place;
  place.clip = clip_bottom_[seat];
  const int32_t rest_x = GetCardX(seat, card);
  const int32_t rest_y = GetCardY(seat, card);
  if (!slot.arrived) {
    const float f = FlightFraction(seat, slot);
    const int32_t deck = DeckIndex(seat);
    place.kind = 0;
    place.face = fly_face_down_ || !slot.face_up ? -1 : slot.face;
    place.sheet_back = force_alt_layout_;
    place.x = static_cast<int32_t>(deck_x_[deck] + (rest_x - deck_x_[deck]) * f);
    place.y = static_cast<int32_t>(deck_y_[deck] + (rest_y - deck_y_[deck]) * f);
    return place;
  }
  place.x = rest_x;
  place.y = rest_y;
  if (slot.face_up && IsCardFace(slot.face)) {
    place.kind = 1;
    place.face = slot.face;
    place.sheet_back = UsesAltLayout(seat);
  } else {
    place.kind = 2;
    place.face = -1;
  }
  return place;
}

void CardDealer::RecordPainted(Slot& slot, int32_t x, int32_t y, platform::SIZE size) {
  slot.rect = {x, y, x + size.cx - 1, y + size.cy - 1};
  slot.redraw_pending = 0;
}

bool CardDealer::Draw(platform::HDC dc, const CardPainter* painter, bool draw_moving, bool draw_face_up,
                      bool draw_face_down, const int32_t* seat_order) {
  if (!started_) {
    if (!drawn_once_) {
      for (Slot& slot : slots_) slot.erase_pending = 0;
      drawn_once_ = true;
    }
    return false;
  }
  if (painter == nullptr) return false;
  if (mode_ == 1) return DrawRaising(dc, painter, seat_order);
  bool painted = false;
  for (int32_t i = 0; i < seat_count_; ++i) {
    const int32_t seat = seat_order != nullptr ? seat_order[i] : i;
    if (!SeatInRange(seat)) continue;
    for (int32_t card = 0; card < cards_per_seat_; ++card) {
      Slot& slot = At(seat, card);
      slot.erase_pending = 0;
      if (slot.empty) {
        slot.rect = kNoRect;
        slot.redraw_pending = 0;
        slot.changed = 0;
        continue;
      }
      if (!redraw_all_ && !slot.redraw_pending) continue;
      const Placement place = PlaceFor(seat, card);
      const bool wanted = place.kind == 0 ? draw_moving : place.kind == 1 ? draw_face_up : draw_face_down;
      if (!wanted) continue;
      const platform::SIZE size = painter->Draw(dc, place.x, place.y, place.face, place.sheet_back, place.clip);
      RecordPainted(slot, place.x, place.y, size);
      painted = true;
    }
  }
  return painted;
}

bool CardDealer::DrawRaising(platform::HDC dc, const CardPainter* painter, const int32_t* seat_order) {
  bool painted = false;
  for (int32_t i = 0; i < seat_count_; ++i) {
    const int32_t seat = seat_order != nullptr ? seat_order[i] : i;
    if (!SeatInRange(seat)) continue;
    const bool active = !raise_.empty() && raise_[seat].active;
    const bool alt = UsesAltLayout(seat);
    for (int32_t card = 0; card < cards_per_seat_; ++card) {
      Slot& slot = At(seat, card);
      slot.erase_pending = 0;
      if (slot.empty) {
        slot.rect = kNoRect;
        slot.redraw_pending = 0;
        slot.changed = 0;
        continue;
      }
      if (!redraw_all_ && !slot.redraw_pending) continue;
      int32_t x = GetCardX(seat, card);
      int32_t y = GetCardY(seat, card);
      platform::SIZE size{};
      if (active) {
        x = raise_[seat].positions[card].x;
        y = raise_[seat].positions[card].y;
        size = painter->Draw(dc, x, y, slot.face, true, -1);
      } else {
        size = painter->Draw(dc, x, y, alt ? slot.face : -1, alt, -1);
      }
      RecordPainted(slot, x, y, size);
      painted = true;
    }
  }
  return painted;
}

bool CardDealer::GetChangedCardRect(int32_t seat, int32_t card, platform::RECT* out) const {
  if (!CardInRange(seat, card) || !At(seat, card).changed) return false;
  *out = At(seat, card).rect;
  return true;
}

void CardDealer::ClearChangedFlags() {
  for (Slot& slot : slots_) slot.changed = 0;
}

void CardDealer::MarkCardDirty(int32_t seat, int32_t card) {
  if (!CardInRange(seat, card)) return;
  Slot& slot = At(seat, card);
  // A card already waiting to be erased keeps the place it was drawn at: taking it away after a
  // stop must still erase it, or its picture stays on the table.
  const bool erase_was_pending = slot.erase_pending != 0;
  slot.erase_pending = 1;
  slot.redraw_pending = 1;
  slot.changed = 1;
  if (!started_ && !erase_was_pending) slot.rect = kNoRect;
}

void CardDealer::ClearCardFlags(int32_t seat, int32_t card) {
  if (!CardInRange(seat, card)) return;
  Slot& slot = At(seat, card);
  slot.erase_pending = 0;
  slot.redraw_pending = 0;
  slot.changed = 0;
}

void CardDealer::MarkOverlappingCards(int32_t seat, int32_t card) {
  if (!CardInRange(seat, card)) return;
  const platform::RECT erased = At(seat, card).rect;
  for (int32_t other_seat = 0; other_seat < seat_count_; ++other_seat) {
    for (int32_t other = 0; other < cards_per_seat_ && !At(other_seat, other).empty; ++other) {
      if (other_seat == seat && other == card) continue;
      const Slot& slot = At(other_seat, other);
      if (slot.erase_pending || slot.redraw_pending || !Intersect(erased, slot.rect)) continue;
      // The later cards of that seat lie on top of it.
      for (int32_t later = other; later < cards_per_seat_ && !At(other_seat, later).empty; ++later) {
        At(other_seat, later).redraw_pending = 1;
      }
    }
  }
}

void CardDealer::MarkSeatDirty(int32_t seat) {
  if (!SeatInRange(seat)) return;
  for (int32_t card = 0; card < cards_per_seat_; ++card) At(seat, card).redraw_pending = 1;
}

bool CardDealer::IsSeatDirty(int32_t seat) const {
  if (!SeatInRange(seat)) return false;
  for (int32_t card = 0; card < cards_per_seat_; ++card) {
    if (!At(seat, card).redraw_pending) return false;
  }
  return true;
}

bool CardDealer::IsCardDirty(int32_t seat, int32_t card) const {
  return CardInRange(seat, card) && !At(seat, card).empty && At(seat, card).redraw_pending;
}

bool CardDealer::GetCardRect(platform::RECT* out, int32_t seat, int32_t card) const {
  if (!CardInRange(seat, card)) return false;
  *out = At(seat, card).rect;
  return true;
}

void CardDealer::SetCardRect(int32_t seat, int32_t card, int32_t left, int32_t top, int32_t right, int32_t bottom) {
  if (CardInRange(seat, card)) At(seat, card).rect = {left, top, right, bottom};
}

bool CardDealer::GetCardScreenRect(int32_t seat, int32_t card, platform::RECT* out) const {
  if (!hands_set_ || !started_ || !CardInRange(seat, card) || At(seat, card).empty) return false;
  Placement place = PlaceFor(seat, card);
  if (mode_ == 1 && !raise_.empty() && raise_[seat].active) {
    // A raised seat's cards are where the raise put them.
    place.x = raise_[seat].positions[card].x;
    place.y = raise_[seat].positions[card].y;
  }
  const platform::SIZE size =
      UnpackDrawSize(CardPainter::GetDrawSize(place.y, place.face, place.sheet_back, place.clip));
  *out = {place.x, place.y, place.x + size.cx - 1, place.y + size.cy - 1};
  return true;
}

// ---- Raising --------------------------------------------------------------------------------

void CardDealer::SetRaiseParams(int32_t pixels, double seconds) {
  raise_distance_ = pixels;
  raise_duration_ = seconds;
}

void CardDealer::MakeRaiseState() {
  if (!raise_.empty()) return;
  raise_.resize(static_cast<size_t>(seat_count_));
  for (SeatRaise& raise : raise_) {
    raise.marks.assign(static_cast<size_t>(cards_per_seat_), 0);
    raise.positions.assign(static_cast<size_t>(cards_per_seat_), platform::POINT{0, 0});
  }
}

void CardDealer::SetSeatRaise(int32_t seat, bool marked_up, bool others_down) {
  if (!SeatInRange(seat)) return;
  MakeRaiseState();
  raise_[seat].marked_up = marked_up ? 1 : 0;
  raise_[seat].others_down = others_down ? 1 : 0;
}

void CardDealer::ClearRaiseMarks() {
  for (SeatRaise& raise : raise_) std::fill(raise.marks.begin(), raise.marks.end(), 0);
}

void CardDealer::SetRaiseMarks(int32_t seat, const uint8_t* marks) {
  if (!SeatInRange(seat) || marks == nullptr) return;
  MakeRaiseState();
  std::copy(marks, marks + cards_per_seat_, raise_[seat].marks.begin());
}

bool CardDealer::StartRaise() {
  if (!started_ || !finished_ || seat_count_ == 0) return false;
  MakeRaiseState();
  mode_ = 1;
  // Only the seats this raise moves draw at raised places (a seat raised in an earlier hand no
  // longer does).
  for (SeatRaise& raise : raise_) raise.active = 0;
  for (int32_t seat = 0; seat < seat_count_; ++seat) {
    if (cards_per_seat_ == 0 || At(seat, 0).empty || !At(seat, 0).face_up) continue;
    for (int32_t card = 0; card < cards_per_seat_; ++card) {
      raise_[seat].positions[card] = {At(seat, card).rect.left, At(seat, card).rect.top};
    }
  }
  post_ = false;
  elapsed_ = 0.0f;
  finished_ = false;
  return true;
}
