#include "cclient/games/stud/stud_animator.h"

#include <algorithm>
#include <cmath>

#include "cclient/widgets/table_layout.h"

namespace {

constexpr platform::RECT kNoRect{-1, -1, -1, -1};
constexpr double kDegreesToRadians = 3.14159265358979323846 / 180.0;

bool IsFace(uint8_t value) { return value < 52; }

int32_t Trunc(double value) { return static_cast<int32_t>(std::trunc(value)); }

platform::RECT RectAt(int32_t x, int32_t y, int32_t width, int32_t height) {
  return {x, y, x + width - 1, y + height - 1};
}

int32_t Along(int32_t from, int32_t to, double part) { return from + Trunc((to - from) * part); }

bool ListHolds(const uint8_t (&list)[SevenCardsAnimator::kMaxCards], uint8_t value) {
  if (!IsFace(value)) return false;
  return std::find(std::begin(list), std::end(list), value) != std::end(list);
}

}  // namespace

SevenCardsAnimator::SevenCardsAnimator() : core_(kWorkSlots, kDirtyCapacity) {}

// ---- Set-up ---------------------------------------------------------------------------------------

bool SevenCardsAnimator::Setup(platform::HDC dc, const CardSheet* sheet, int32_t min_width, int32_t min_height) {
  return core_.Setup(dc, sheet, min_width, min_height);
}

void SevenCardsAnimator::SetSeatLayoutTables(int32_t seat, const SevenCardsSeatLayout& closed,
                                             const SevenCardsSeatLayout& open) {
  if (!SeatInRange(seat)) return;
  seats_[seat].closed = closed;
  seats_[seat].open = open;
}

void SevenCardsAnimator::SetTurnMirror(const uint8_t mirror[kSeats]) {
  for (int32_t seat = 0; seat < kSeats; ++seat) seats_[seat].mirror = mirror[seat] != 0;
}

void SevenCardsAnimator::SetFlightTimes(const double seconds[kSeats]) {
  for (int32_t seat = 0; seat < kSeats; ++seat) seats_[seat].flight_time = seconds[seat];
}

void SevenCardsAnimator::SetShowdownLifts(const int32_t lifts[kSeats], double lift_time, double dim_delay) {
  for (int32_t seat = 0; seat < kSeats; ++seat) seats_[seat].lift = lifts[seat];
  lift_time_ = lift_time;
  dim_delay_ = dim_delay;
}

void SevenCardsAnimator::SetParameters(const SevenCardsAnimatorParameters& parameters) {
  parameters_ = parameters;
  community_.rest = {parameters.community_x, parameters.community_y};
}

void SevenCardsAnimator::SetSeatLayouts(const uint8_t selects[kSeats]) {
  for (int32_t seat = 0; seat < kSeats; ++seat) SetSeatLayout(seat, selects[seat]);
}

void SevenCardsAnimator::SetSeatLayout(int32_t seat, uint8_t select) {
  if (!SeatInRange(seat)) return;
  Seat& s = seats_[seat];
  if (s.layout_select == select) return;
  if (s.count > 0) Queue(SeatUnionRect(s), seat, false);
  s.layout_select = select;
  for (int32_t card = 0; card < s.count; ++card) {
    s.cards[card].dirty = true;
    s.cards[card].changed = true;
  }
}

// ---- Places and rectangles ------------------------------------------------------------------------

platform::POINT SevenCardsAnimator::LayoutPlace(const Seat& seat, uint8_t select, int32_t card) const {
  if (seat.count < 1 || card < 0 || card >= seat.count) return {0, 0};
  const SevenCardsSeatLayout& layout = select == 1 ? seat.closed : seat.open;
  return layout.rows[seat.count - 1][card];
}

platform::RECT SevenCardsAnimator::PresentRect(int32_t seat, int32_t card) const {
  const Seat& s = seats_[seat];
  const Card& c = s.cards[card];
  const platform::POINT place = LayoutPlace(s, card);
  const CardAnimation::WorkSlot* slot = core_.Slot(c.slot);
  switch (c.state) {
    case kResting:
      return RectAt(place.x, place.y, CardWidth(), CardHeight());
    case kLifted:
      return RectAt(place.x, place.y - s.lift, CardWidth(), CardHeight());
    case kRestingDimmed:
    case kLiftedDimmed: {
      const int32_t y = c.state == kLiftedDimmed ? place.y - s.lift : place.y;
      if (slot == nullptr) return RectAt(place.x, y, CardWidth(), CardHeight());
      return RectAt(place.x, y, slot->size.cx, slot->size.cy);
    }
    case kMoving:
      if (slot == nullptr) return kNoRect;
      return RectAt(c.x, c.y, slot->size.cx, slot->size.cy);
    default:
      return RectAt(c.x, c.y, CardWidth(), CardHeight());
  }
}

platform::RECT SevenCardsAnimator::CommunityRect() const {
  if (!community_.present) return kNoRect;
  return RectAt(community_.card.x, community_.card.y, CardWidth(), CardHeight());
}

platform::RECT SevenCardsAnimator::SeatUnionRect(const Seat& seat) const {
  platform::RECT bound = kNoRect;
  bool any = false;
  for (const Card& card : seat.cards) {
    if (CardRect_IsEmpty(card.rect)) continue;
    bound = any ? CardRect_Bound(bound, card.rect) : card.rect;
    any = true;
  }
  return bound;
}

// ---- Dirty bookkeeping ----------------------------------------------------------------------------

void SevenCardsAnimator::Queue(const platform::RECT& rect, int32_t place, bool erase_only) {
  if (CardRect_IsEmpty(rect)) return;
  if (!core_.QueueRect(rect, place, erase_only ? 1 : 0) && core_.DirtyOverflowed()) {
    // The erase of this rectangle is lost: the game redraws the whole table, cards and all.
    MarkAllDirty();
  }
}

void SevenCardsAnimator::MarkAllDirty() {
  for (Seat& seat : seats_) {
    for (int32_t card = 0; card < seat.count; ++card) seat.cards[card].dirty = true;
  }
  if (community_.present) community_.card.dirty = true;
}

void SevenCardsAnimator::MarkFromCard(Seat& seat, int32_t card) {
  for (int32_t later = std::max(card, 0); later < seat.count; ++later) seat.cards[later].dirty = true;
}

bool SevenCardsAnimator::MarkSeatOverlap(int32_t seat, const platform::RECT& rect, bool stop_at_left_edge) {
  Seat& s = seats_[seat];
  int32_t lowest = -1;
  for (int32_t card = s.count - 1; card >= 0; --card) {
    Card& c = s.cards[card];
    if (c.state < kResting) continue;
    const platform::RECT present = PresentRect(seat, card);
    if (CardRect_IsEmpty(present) || !Rect_Overlaps(present, rect)) continue;
    c.dirty = true;
    lowest = card;
    // A card whose left edge is at or left of the rectangle's covers the ones under it.
    if (stop_at_left_edge && present.left <= rect.left) break;
  }
  if (lowest < 0) return false;
  for (int32_t card = lowest + 1; card < s.count; ++card) {
    if (s.cards[card].state > 10) s.cards[card].dirty = true;
  }
  return true;
}

void SevenCardsAnimator::MarkAfterQueue(int32_t place, const platform::RECT& rect) {
  if (CardRect_IsEmpty(rect)) return;
  if (community_.present && Rect_Overlaps(CommunityRect(), rect)) community_.card.dirty = true;
  if (!SeatInRange(place)) return;
  if (MarkSeatOverlap(place, rect, false)) return;
  // The neighbours whose cards reach over a seat's own.
  if (place >= 1 && place <= 3) (void)MarkSeatOverlap(0, rect, false);
  if (place >= 4 && place <= 6) (void)MarkSeatOverlap(7, rect, false);
}

void SevenCardsAnimator::Touch(int32_t seat, Card& card) {
  if (!CardRect_IsEmpty(card.rect)) {
    Queue(card.rect, seat + 100, true);
    MarkAfterQueue(seat, card.rect);
  }
  card.dirty = true;
  card.changed = true;
}

void SevenCardsAnimator::TouchCommunity() {
  Card& card = community_.card;
  if (!CardRect_IsEmpty(card.rect)) {
    Queue(card.rect, kCommunityPlace + 100, true);
    MarkAfterQueue(kCommunityPlace, card.rect);
  }
  card.dirty = true;
  card.changed = true;
}

// ---- Hands ----------------------------------------------------------------------------------------

void SevenCardsAnimator::LayCardsAtRest(Seat& seat) {
  for (int32_t card = 0; card < kMaxCards; ++card) {
    core_.HoldSlot(seat.cards[card].slot, false);
    seat.cards[card] = Card{};
    if (card < seat.count) {
      seat.cards[card].dirty = true;
      seat.cards[card].changed = true;
    }
  }
}

void SevenCardsAnimator::SetHand(int32_t place, int32_t count, const uint8_t* values) {
  if (!idle_) return;
  if (place == kCommunityPlace) {
    const bool show = count >= 1 && values != nullptr && IsFace(values[0]);
    if (show) {
      if (!community_.present) {
        community_.present = true;
        community_.card = Card{};
        community_.card.x = community_.rest.x;
        community_.card.y = community_.rest.y;
        community_.card.dirty = true;
        community_.card.changed = true;
      } else if (community_.value != values[0]) {
        community_.card.dirty = true;
      }
      community_.value = values[0];
    } else if (community_.present) {
      Queue(community_.card.rect, kCommunityPlace, false);
      community_.present = false;
      community_.value = kFaceDown;
      community_.card = Card{};
    }
    return;
  }
  if (!SeatInRange(place)) return;
  Seat& s = seats_[place];
  count = std::clamp(count, 0, kMaxCards);
  if (count == s.count) {
    for (int32_t card = 0; card < count; ++card) {
      const uint8_t value = values != nullptr ? values[card] : kFaceDown;
      if (s.values[card] == value) continue;
      s.values[card] = value;
      MarkFromCard(s, card);
    }
    return;
  }
  Queue(SeatUnionRect(s), place, false);
  s.count = count;
  for (int32_t card = 0; card < kMaxCards; ++card) {
    s.values[card] = card < count && values != nullptr ? values[card] : kFaceDown;
  }
  LayCardsAtRest(s);
}

void SevenCardsAnimator::SettleAll() {
  for (int32_t seat = 0; seat < kSeats; ++seat) {
    Seat& s = seats_[seat];
    s.folding = false;
    s.show = false;
    bool moved = false;
    for (int32_t card = 0; card < s.count; ++card) moved = moved || s.cards[card].state != kResting;
    if (!moved) continue;
    const platform::RECT old_area = SeatUnionRect(s);
    for (int32_t card = 0; card < s.count; ++card) {
      Card& c = s.cards[card];
      core_.HoldSlot(c.slot, false);
      c.state = kResting;
      c.slot = -1;
      c.turning = false;
      c.dirty = true;
      c.changed = true;
    }
    const bool erase_only = !idle_;
    Queue(old_area, erase_only ? seat + 100 : seat, erase_only);
    MarkAfterQueue(seat, old_area);
  }
  if (community_.present && community_.card.state != kResting) {
    TouchCommunity();
    community_.card.state = kResting;
    community_.card.x = community_.rest.x;
    community_.card.y = community_.rest.y;
  }
}

// ---- Starters -------------------------------------------------------------------------------------

bool SevenCardsAnimator::StoreStart(Kind kind, bool post, platform::HWND window, platform::UINT message,
                                    platform::WPARAM wparam, platform::LPARAM lparam) {
  core_.StoreDoneMessage(post, window, message, wparam, lparam);
  kind_ = kind;
  idle_ = false;
  phase_ = 0;
  clock_ = 0.0;
  return true;
}

bool SevenCardsAnimator::StartDeal(const uint8_t* layout_selects, const int32_t counts[kSeats],
                                   const int32_t new_counts[kSeats], const uint8_t values[kSeats][kMaxCards],
                                   int32_t start_seat, double start_delay, bool post, platform::HWND window,
                                   platform::UINT message, platform::WPARAM wparam, platform::LPARAM lparam) {
  if (!idle_ || kind_ != kIdle || counts == nullptr || new_counts == nullptr) return false;
  previous_showdown_seats_ = 0;
  if (layout_selects != nullptr) SetSeatLayouts(layout_selects);
  for (int32_t seat = 0; seat < kSeats; ++seat) SetHand(seat, counts[seat], values != nullptr ? values[seat] : nullptr);
  SettleAll();

  int32_t rounds = 0;
  int32_t dealt[kSeats];
  for (int32_t seat = 0; seat < kSeats; ++seat) {
    dealt[seat] = std::clamp(new_counts[seat], 0, seats_[seat].count);
    rounds = std::max(rounds, dealt[seat]);
  }
  const int32_t first_seat = ((start_seat % kSeats) + kSeats) % kSeats;
  double clock = -start_delay;
  for (int32_t round = 0; round < rounds; ++round) {
    bool first_of_round = true;
    for (int32_t i = 0; i < kSeats; ++i) {
      const int32_t seat = (first_seat - i + kSeats) % kSeats;
      Seat& s = seats_[seat];
      if (dealt[seat] < round + 1) continue;
      if (!first_of_round) clock -= parameters_.card_gap;
      first_of_round = false;
      Card& c = s.cards[s.count - dealt[seat] + round];
      c.state = kMoving;
      c.turning = false;
      c.slot = -1;
      c.clock = clock;
    }
    clock -= parameters_.round_gap;
  }
  return StoreStart(kDeal, post, window, message, wparam, lparam);
}

void SevenCardsAnimator::UndimSeat(Seat& seat) {
  for (int32_t card = 0; card < seat.count; ++card) {
    Card& c = seat.cards[card];
    if (c.state != kRestingDimmed && c.state != kLiftedDimmed) continue;
    c.state = c.state == kRestingDimmed ? kResting : kLifted;
    core_.HoldSlot(c.slot, false);
    c.slot = -1;
    MarkFromCard(seat, card);
  }
}

void SevenCardsAnimator::Undim(int32_t seat) {
  if (seat == -1) {
    for (Seat& s : seats_) UndimSeat(s);
  } else if (SeatInRange(seat)) {
    UndimSeat(seats_[seat]);
  }
}

void SevenCardsAnimator::PrepareFold(int32_t seat) {
  Seat& s = seats_[seat];
  UndimSeat(s);
  for (int32_t card = 0; card < s.count; ++card) {
    Card& c = s.cards[card];
    Touch(seat, c);
    const platform::POINT place = LayoutPlace(s, card);
    c.state = kFolding;
    c.x = place.x;
    c.y = place.y;
    c.slot = -1;
    c.turning = false;
  }
  s.last = s.count - 1;
  s.gather = s.mirror ? s.count / 2 : (s.count - 1) / 2;
  s.folding = true;
}

void SevenCardsAnimator::BeginFold(double delay) {
  if (delay > 0.0) {
    phase_ = 0;
    clock_ = -delay;
  } else {
    phase_ = 1;
    clock_ = 0.0;
  }
}

bool SevenCardsAnimator::StartFoldSeat(int32_t seat, double delay, bool post, platform::HWND window,
                                       platform::UINT message, platform::WPARAM wparam, platform::LPARAM lparam) {
  return StartFoldSeats(1, &seat, delay, post, window, message, wparam, lparam);
}

bool SevenCardsAnimator::StartFoldSeats(int32_t count, const int32_t* seats, double delay, bool post,
                                        platform::HWND window, platform::UINT message, platform::WPARAM wparam,
                                        platform::LPARAM lparam) {
  if (!idle_ || kind_ != kIdle || seats == nullptr) return false;
  bool any = false;
  for (int32_t i = 0; i < count; ++i) any = any || (SeatInRange(seats[i]) && seats_[seats[i]].count > 0);
  if (!any) return false;
  previous_showdown_seats_ = 0;
  for (int32_t i = 0; i < count; ++i) {
    if (SeatInRange(seats[i]) && seats_[seats[i]].count > 0 && !seats_[seats[i]].folding) PrepareFold(seats[i]);
  }
  StoreStart(kFoldSeats, post, window, message, wparam, lparam);
  BeginFold(delay);
  return true;
}

bool SevenCardsAnimator::StartFoldAll(double delay, bool post, platform::HWND window, platform::UINT message,
                                      platform::WPARAM wparam, platform::LPARAM lparam) {
  if (!idle_ || kind_ != kIdle) return false;
  bool any_seat = false;
  for (const Seat& s : seats_) any_seat = any_seat || s.count > 0;
  if (!any_seat && !community_.present) return false;
  previous_showdown_seats_ = 0;
  for (int32_t seat = 0; seat < kSeats; ++seat) {
    if (seats_[seat].count > 0) PrepareFold(seat);
  }
  StoreStart(kFoldAll, post, window, message, wparam, lparam);
  BeginFold(delay);
  if (!any_seat) {
    // Only the community card leaves.
    phase_ = 3;
    community_.card.state = kMoving;
    community_.card.clock = delay > 0.0 ? -delay : 0.0;
  }
  return true;
}

bool SevenCardsAnimator::StartShowCards(const int32_t counts[kSeats], const uint8_t values[kSeats][kMaxCards],
                                        bool post, platform::HWND window, platform::UINT message,
                                        platform::WPARAM wparam, platform::LPARAM lparam) {
  if (!idle_ || kind_ != kIdle || counts == nullptr || values == nullptr) return false;
  // Who takes part is decided on the hands as they lie before the new values are taken.
  bool takes_part[kSeats] = {};
  bool any = false;
  bool any_seventh = false;
  for (int32_t seat = 0; seat < kSeats; ++seat) {
    const Seat& s = seats_[seat];
    const int32_t count = std::clamp(counts[seat], 0, kMaxCards);
    bool take = count == s.count && count >= 3 && s.values[0] == kFaceDown && s.values[1] == kFaceDown &&
                IsFace(values[seat][0]) && IsFace(values[seat][1]) && s.layout_select == 1;
    if (take && count == 7) take = s.values[6] == kFaceDown && IsFace(values[seat][6]);
    takes_part[seat] = take;
    any = any || take;
    any_seventh = any_seventh || (take && count == 7);
  }
  for (int32_t seat = 0; seat < kSeats; ++seat) SetHand(seat, counts[seat], values[seat]);
  if (!any) return false;

  StoreStart(kShow, post, window, message, wparam, lparam);
  for (int32_t seat = 0; seat < kSeats; ++seat) seats_[seat].show = takes_part[seat];
  if (!any_seventh) {
    phase_ = 1;
    clock_ = parameters_.turn_time;
    for (int32_t seat = 0; seat < kSeats; ++seat) {
      Seat& s = seats_[seat];
      if (!s.show) continue;
      for (int32_t card = 0; card < s.count; ++card) {
        Card& c = s.cards[card];
        Touch(seat, c);
        const platform::POINT place = LayoutPlace(s, 1, card);
        c.state = kShowMoving;
        c.x = place.x;
        c.y = place.y;
      }
    }
  }
  return true;
}

bool SevenCardsAnimator::StartShowdown(platform::HWND window, int32_t count, const int32_t* seats,
                                       const uint8_t (*cards)[kMaxCards]) {
  (void)window;
  if (!idle_ || kind_ != kIdle) return false;
  // The entries that name a seat and at least one known card.
  int32_t entry_of[kSeats];
  std::fill(std::begin(entry_of), std::end(entry_of), -1);
  int32_t listed = 0;
  for (int32_t i = 0; i < count && seats != nullptr && cards != nullptr; ++i) {
    if (!SeatInRange(seats[i]) || entry_of[seats[i]] >= 0) continue;
    if (std::none_of(std::begin(cards[i]), std::end(cards[i]), IsFace)) continue;
    entry_of[seats[i]] = i;
    ++listed;
  }
  Undim(-1);

  // The diagnostic: does the table already show this showdown?
  int32_t reason = 0;
  if (listed != previous_showdown_seats_) reason = 1;
  for (int32_t seat = 0; seat < kSeats && reason == 0; ++seat) {
    const Seat& s = seats_[seat];
    const bool is_listed = entry_of[seat] >= 0;
    int32_t lifted = 0;
    for (int32_t card = 0; card < s.count; ++card) lifted += s.cards[card].state == kLifted ? 1 : 0;
    if (is_listed && lifted == 0) reason = 3;
    if (!is_listed && lifted > 0) reason = 4;
    if (!is_listed || lifted == 0 || reason != 0) continue;
    const auto& list = cards[entry_of[seat]];
    const int32_t known = static_cast<int32_t>(std::count_if(std::begin(list), std::end(list), IsFace));
    int32_t highlighted = 0;
    bool all_listed = true;
    for (int32_t card = 0; card < s.count; ++card) {
      const bool is_lifted = s.cards[card].state == kLifted;
      if (is_lifted != (s.lift > 0)) continue;
      ++highlighted;
      all_listed = all_listed && ListHolds(list, s.values[card]);
    }
    if (known != highlighted) {
      reason = 5;
    } else if (!all_listed) {
      reason = s.lift > 0 ? 6 : 7;
    }
  }

  int32_t missing = 0;
  for (int32_t seat = 0; seat < kSeats; ++seat) {
    if (entry_of[seat] < 0) continue;
    const Seat& s = seats_[seat];
    for (int32_t card = 0; card < s.count; ++card) missing += ListHolds(cards[entry_of[seat]], s.values[card]) ? 0 : 1;
  }
  dim_ = missing < 9;

  bool changed = false;
  for (int32_t seat = 0; seat < kSeats; ++seat) {
    Seat& s = seats_[seat];
    s.listed = entry_of[seat] >= 0;
    const int32_t w = 200 + 10 * seat;
    for (int32_t card = 0; card < s.count; ++card) {
      Card& c = s.cards[card];
      const bool is_lifted = c.state == kLifted;
      const bool in_list = s.listed && ListHolds(cards[entry_of[seat]], s.values[card]);
      s.winning[card] = in_list;
      uint8_t next = c.state;
      int32_t k = 0;
      if (!s.listed) {
        if (is_lifted) next = kSinking, k = -100;
      } else if (s.lift > 0) {
        if (!in_list && is_lifted) next = kSinking, k = 0;
        if (in_list && !is_lifted) next = kRising, k = 100;
      } else {
        if (in_list && is_lifted) next = kSinking, k = 300;
        if (!in_list && !is_lifted) next = kRising, k = 200;
      }
      if (next == c.state) continue;
      if (!changed) reason += 10 * (w + card + k);
      changed = true;
      const platform::POINT place = LayoutPlace(s, card);
      c.x = place.x;
      c.y = is_lifted ? place.y - s.lift : place.y;
      c.state = next;
    }
  }
  showdown_reason_ = reason;
  previous_showdown_seats_ = listed;
  last_dimmed_ = -1;
  StoreStart(kShowdown, false, nullptr, 0, 0, 0);
  showdown_clock_ = changed ? 0.0 : lift_time_ + dim_delay_;
  return true;
}

bool SevenCardsAnimator::StartCommunityCard(uint8_t card, bool post, platform::HWND window, platform::UINT message,
                                            platform::WPARAM wparam, platform::LPARAM lparam) {
  if (!idle_ || kind_ != kIdle) return false;
  if (community_.present) TouchCommunity();
  community_.present = true;
  community_.value = card;
  Card& c = community_.card;
  c.state = kMoving;
  c.clock = 0.0;
  c.x = community_.rest.x;
  c.y = -CardHeight();
  c.dirty = true;
  c.changed = true;
  return StoreStart(kCommunityIn, post, window, message, wparam, lparam);
}

// ---- Frame ----------------------------------------------------------------------------------------

void SevenCardsAnimator::Step(platform::HDC dc, float seconds) {
  (void)dc;
  if (idle_ || !(seconds > 0.0f)) return;
  core_.BeginSlots();
  switch (kind_) {
    case kDeal:
      StepDeal(seconds);
      break;
    case kShow:
      StepShow(seconds);
      break;
    case kShowdown:
      StepShowdown(seconds);
      break;
    case kFoldSeats:
    case kFoldAll:
      StepFold(seconds);
      break;
    case kCommunityIn:
      StepCommunityIn(seconds);
      break;
    case kIdle:
      break;
  }
}

void SevenCardsAnimator::RenderFlight(int32_t seat_index, Card& card, uint8_t value, double part,
                                      platform::POINT from, platform::POINT to, int32_t size_percent, bool turn) {
  const Seat& s = seats_[seat_index];
  int32_t skew = 0;
  int32_t across = size_percent;
  bool show_face = IsFace(value) && !turn;
  card.turning = false;
  if (turn && IsFace(value)) {
    const CardTurn at = CardTurnAt(100.0 * part, parameters_.turn_start, parameters_.turn_span);
    show_face = at.second_side;
    if (at.turning) {
      card.turning = true;
      if (!at.second_side) {
        skew = Trunc(at.u * parameters_.skew_angle);
        across = Trunc((1.0 - at.u) * size_percent);
      } else {
        skew = -Trunc((1.0 - at.u) * parameters_.skew_angle);
        across = Trunc(at.u * size_percent);
      }
    }
  }
  if (s.mirror) skew = -skew;
  const platform::POINT centre = CardFlightPoint(from, to, part);
  card.slot = core_.NextSlot();
  platform::SIZE size{CardWidth(), CardHeight()};
  if (card.slot >= 0 &&
      core_.RenderRotateSkew(card.slot, show_face ? value : kFaceDown, skew, across, size_percent, !card.turning)) {
    size = core_.Slot(card.slot)->size;
  }
  card.x = centre.x - size.cx / 2;
  card.y = centre.y - size.cy / 2;
}

void SevenCardsAnimator::StepDeal(double seconds) {
  const platform::POINT deck_centre{
      parameters_.deck_x + Trunc(CardWidth() * parameters_.start_size / 200.0),
      parameters_.deck_y + Trunc(CardHeight() * parameters_.start_size / 200.0)};
  bool active = false;
  for (int32_t seat = 0; seat < kSeats; ++seat) {
    Seat& s = seats_[seat];
    for (int32_t card = 0; card < s.count; ++card) {
      Card& c = s.cards[card];
      if (c.state != kMoving) continue;
      c.clock += seconds;
      c.turning = false;
      if (c.clock <= 0.0) {
        c.slot = -1;
        active = true;
        continue;
      }
      Touch(seat, c);
      const platform::POINT place = LayoutPlace(s, card);
      if (c.clock >= s.flight_time) {
        c.state = kResting;
        c.slot = -1;
        c.x = place.x;
        c.y = place.y;
        continue;
      }
      active = true;
      const double part = c.clock / s.flight_time;
      const int32_t size = Trunc(CardGrowPercent(parameters_.start_size, part));
      const platform::POINT end{place.x + CardWidth() / 2, place.y + CardHeight() / 2};
      RenderFlight(seat, c, s.values[card], part, deck_centre, end, size, true);
    }
  }
  if (!active) EndAnimation();
}

void SevenCardsAnimator::StepFold(double seconds) {
  clock_ += seconds;
  if (phase_ == 0) {
    if (clock_ < 0.0) return;
    phase_ = 1;
  }
  if (phase_ == 1) {
    const double part = parameters_.gather_time > 0.0 ? std::min(clock_ / parameters_.gather_time, 1.0) : 1.0;
    for (int32_t seat = 0; seat < kSeats; ++seat) {
      Seat& s = seats_[seat];
      if (!s.folding) continue;
      const platform::POINT gather = LayoutPlace(s, s.gather);
      for (int32_t card = 0; card < s.count; ++card) {
        Card& c = s.cards[card];
        Touch(seat, c);
        const platform::POINT place = LayoutPlace(s, card);
        c.x = Along(place.x, gather.x, part);
        c.y = Along(place.y, gather.y, part);
      }
    }
    if (clock_ < parameters_.gather_time) return;
    for (Seat& s : seats_) {
      if (!s.folding) continue;
      const platform::POINT gather = LayoutPlace(s, s.gather);
      const uint8_t value = s.values[s.last];
      // The pile keeps the rectangle of the card it lies on, so that its first move erases it.
      const platform::RECT pile_rect = s.cards[s.gather].rect;
      s.count = 1;
      std::fill(std::begin(s.values), std::end(s.values), kFaceDown);
      s.values[0] = value;
      LayCardsAtRest(s);
      Card& pile = s.cards[0];
      pile.state = kFolding;
      pile.x = gather.x;
      pile.y = gather.y;
      pile.rect = pile_rect;
      s.fold_from = gather;
    }
    clock_ = 0.0;
    phase_ = 2;
    return;
  }
  if (phase_ == 2) {
    if (clock_ <= parameters_.pile_pause) return;
    clock_ -= parameters_.pile_pause;
    for (Seat& s : seats_) {
      if (!s.folding || s.count < 1) continue;
      s.cards[0].state = kMoving;
      s.cards[0].clock = clock_;
    }
    if (kind_ == kFoldAll && community_.present) {
      community_.card.state = kMoving;
      community_.card.clock = clock_;
    }
    phase_ = 3;
    return;
  }
  StepPiles(seconds);
}

void SevenCardsAnimator::StepPiles(double seconds) {
  const platform::POINT deck_centre{
      parameters_.deck_x + Trunc(CardWidth() * parameters_.start_size / 200.0),
      parameters_.deck_y + Trunc(CardHeight() * parameters_.start_size / 200.0)};
  bool active = false;
  for (int32_t seat = 0; seat < kSeats; ++seat) {
    Seat& s = seats_[seat];
    if (!s.folding || s.count < 1 || s.cards[0].state != kMoving) continue;
    Card& pile = s.cards[0];
    pile.clock += seconds;
    Touch(seat, pile);
    if (pile.clock >= s.flight_time) {
      s.count = 0;
      s.folding = false;
      std::fill(std::begin(s.values), std::end(s.values), kFaceDown);
      LayCardsAtRest(s);
      continue;
    }
    active = true;
    if (pile.clock <= 0.0) continue;
    const double part = pile.clock / s.flight_time;
    const int32_t size = Trunc(CardShrinkPercent(parameters_.start_size, part));
    const platform::POINT start{s.fold_from.x + CardWidth() / 2, s.fold_from.y + CardHeight() / 2};
    RenderFlight(seat, pile, s.values[0], part, start, deck_centre, size, false);
  }
  if (kind_ == kFoldAll && community_.present && community_.card.state == kMoving) {
    Card& c = community_.card;
    c.clock += seconds;
    TouchCommunity();
    if (c.clock >= parameters_.community_time) {
      community_.present = false;
      community_.value = kFaceDown;
      community_.card = Card{};
    } else {
      active = true;
      const double part = std::max(c.clock, 0.0) / parameters_.community_time;
      c.x = community_.rest.x;
      c.y = community_.rest.y - Trunc((community_.rest.y + CardHeight()) * part);
    }
  }
  if (!active) EndAnimation();
}

void SevenCardsAnimator::StepShow(double seconds) {
  clock_ += seconds;
  if (phase_ == 0) {
    if (clock_ >= parameters_.turn_time) {
      clock_ = 0.0;
      phase_ = 1;
      for (int32_t seat = 0; seat < kSeats; ++seat) {
        Seat& s = seats_[seat];
        if (!s.show) continue;
        for (int32_t card = 0; card < s.count; ++card) {
          Card& c = s.cards[card];
          Touch(seat, c);
          const platform::POINT place = LayoutPlace(s, 1, card);
          c.state = kShowMoving;
          c.x = place.x;
          c.y = place.y;
          c.slot = -1;
          c.turning = false;
        }
      }
      return;
    }
    // The hidden seventh card turns over where it lies: the back narrows and slants, then the face
    // widens back the same way.
    const double half = parameters_.turn_time / 2.0;
    const double u = half > 0.0 ? clock_ / half : 2.0;
    const bool face_side = u >= 1.0;
    const double amount = face_side ? std::max(2.0 - u, 0.0) : u;
    const int32_t narrowing = Trunc(CardWidth() * amount);
    const int32_t slant = static_cast<int32_t>(
        std::lround(CardWidth() * std::tan(amount * parameters_.skew_angle * kDegreesToRadians)));
    int32_t shared_back = -1;
    for (int32_t seat = 0; seat < kSeats; ++seat) {
      Seat& s = seats_[seat];
      if (!s.show || s.count != kMaxCards) continue;
      Card& c = s.cards[kMaxCards - 1];
      Touch(seat, c);
      c.state = kMoving;
      c.turning = true;
      if (!face_side) {
        if (shared_back < 0) {
          shared_back = core_.NextSlot();
          if (!core_.RenderSlanted(shared_back, kFaceDown, slant, narrowing)) shared_back = -1;
        }
        c.slot = shared_back;
      } else {
        c.slot = core_.NextSlot();
        if (!core_.RenderSlanted(c.slot, s.values[kMaxCards - 1], slant, narrowing)) c.slot = -1;
      }
      const platform::POINT place = LayoutPlace(s, 1, kMaxCards - 1);
      const int32_t shown = c.slot >= 0 ? core_.Slot(c.slot)->size.cx : CardWidth();
      c.x = place.x + (CardWidth() - shown) / 2;
      c.y = place.y - slant;
    }
    return;
  }
  if (phase_ == 1) {
    if (clock_ < parameters_.show_pause) return;
    clock_ = 0.0;
    phase_ = 2;
    for (Seat& s : seats_) {
      if (s.show) s.layout_select = 0;
    }
    return;
  }
  const double part = parameters_.show_slide > 0.0 ? std::min(clock_ / parameters_.show_slide, 1.0) : 1.0;
  for (int32_t seat = 0; seat < kSeats; ++seat) {
    Seat& s = seats_[seat];
    if (!s.show) continue;
    for (int32_t card = 0; card < s.count; ++card) {
      Card& c = s.cards[card];
      Touch(seat, c);
      const platform::POINT from = LayoutPlace(s, 1, card);
      const platform::POINT to = LayoutPlace(s, 0, card);
      c.x = Along(from.x, to.x, part);
      c.y = Along(from.y, to.y, part);
    }
  }
  if (clock_ >= parameters_.show_slide) EndAnimation();
}

void SevenCardsAnimator::StepShowdown(double seconds) {
  showdown_clock_ += seconds;
  for (int32_t seat = 0; seat < kSeats; ++seat) {
    Seat& s = seats_[seat];
    for (int32_t card = 0; card < s.count; ++card) {
      Card& c = s.cards[card];
      if (c.state != kRising && c.state != kSinking) continue;
      Touch(seat, c);
      const platform::POINT place = LayoutPlace(s, card);
      const int32_t moved =
          showdown_clock_ < lift_time_ ? Trunc(s.lift * showdown_clock_ / lift_time_) : s.lift;
      c.x = place.x;
      c.y = c.state == kRising ? place.y - moved : place.y - s.lift + moved;
    }
  }
  if (showdown_clock_ < lift_time_ + dim_delay_) return;
  if (dim_) {
    for (int32_t seat = 0; seat < kSeats; ++seat) {
      Seat& s = seats_[seat];
      if (!s.listed) continue;
      for (int32_t card = 0; card < s.count; ++card) {
        Card& c = s.cards[card];
        const bool lifted = c.state == kRising || c.state == kLifted;
        // The winning cards end higher on the screen: lifted on seats that lift upward.
        const bool winning = s.lift > 0 ? lifted : !lifted;
        if (winning) continue;
        const int32_t slot = core_.NextSlot();
        const uint8_t value = s.values[card];
        if (slot < 0 || !core_.RenderDimmed(slot, value, IsFace(value) ? 85 : 70)) continue;
        core_.HoldSlot(slot, true);
        c.slot = slot;
        c.state = lifted ? kLiftedDimmed : kRestingDimmed;
        c.changed = true;
        MarkFromCard(s, card);
        last_dimmed_ = slot;
      }
    }
  }
  EndAnimation();
}

void SevenCardsAnimator::StepCommunityIn(double seconds) {
  Card& c = community_.card;
  c.clock += seconds;
  TouchCommunity();
  if (c.clock >= parameters_.community_time) {
    c.state = kResting;
    c.x = community_.rest.x;
    c.y = community_.rest.y;
    EndAnimation();
    return;
  }
  c.x = community_.rest.x;
  c.y = Trunc((community_.rest.y + CardHeight()) * c.clock / parameters_.community_time) - CardHeight();
}

void SevenCardsAnimator::EndAnimation() {
  for (int32_t seat = 0; seat < kSeats; ++seat) {
    Seat& s = seats_[seat];
    for (int32_t card = 0; card < s.count; ++card) {
      Card& c = s.cards[card];
      if (kind_ == kShowdown && c.state == kRising) c.state = kLifted;
      if (c.state >= kResting) continue;
      Touch(seat, c);
      c.state = kResting;
      c.slot = -1;
      c.turning = false;
    }
    s.folding = false;
    s.show = false;
  }
  if (community_.present && community_.card.state < kResting) {
    TouchCommunity();
    community_.card.state = kResting;
    community_.card.x = community_.rest.x;
    community_.card.y = community_.rest.y;
  }
  idle_ = true;
  kind_ = kIdle;
  phase_ = 0;
  (void)core_.PostDoneMessage();
}

void SevenCardsAnimator::Stop() {
  if (idle_) return;
  SettleAll();
  core_.StoreDoneMessage(false, nullptr, 0, 0, 0);
  idle_ = true;
  kind_ = kIdle;
  phase_ = 0;
}

bool SevenCardsAnimator::Draw(platform::HDC dc, const CardSheet* sheet, bool draw_resting_community,
                              bool draw_moving_community, bool draw_seats) {
  core_.ClearDirty();
  bool drawn = false;
  for (int32_t seat = 0; seat < kSeats && draw_seats; ++seat) {
    Seat& s = seats_[seat];
    for (int32_t card = 0; card < s.count; ++card) {
      Card& c = s.cards[card];
      if (!c.dirty) continue;
      c.dirty = false;
      const platform::RECT rect = PresentRect(seat, card);
      if (CardRect_IsEmpty(rect)) continue;
      switch (c.state) {
        case kMoving:
          if (c.turning) {
            core_.DrawSlotKeyed(dc, c.slot, rect.left, rect.top);
          } else {
            core_.DrawSlotEdged(dc, c.slot, rect.left, rect.top);
          }
          break;
        case kRestingDimmed:
        case kLiftedDimmed:
          core_.DrawSlotRounded(dc, c.slot, rect.left, rect.top);
          break;
        default:
          if (sheet != nullptr) sheet->DrawCard(dc, rect.left, rect.top, s.values[card]);
          break;
      }
      c.rect = rect;
      c.changed = true;
      drawn = true;
    }
  }
  Card& community = community_.card;
  const bool resting = community.state == kResting;
  if (community_.present && community.dirty &&
      ((resting && draw_resting_community) || (!resting && draw_moving_community))) {
    community.dirty = false;
    const platform::RECT rect = CommunityRect();
    if (sheet != nullptr) sheet->DrawCard(dc, rect.left, rect.top, community_.value);
    community.rect = rect;
    community.changed = true;
    drawn = true;
  }
  return drawn;
}

// ---- Rectangles and queries -------------------------------------------------------------------------

bool SevenCardsAnimator::GetCardRect(int32_t seat, int32_t card, platform::RECT* out) const {
  if (out == nullptr || !CardInRange(seat, card)) return false;
  *out = PresentRect(seat, card);
  return true;
}

bool SevenCardsAnimator::GetDirtyRect(int32_t index, platform::RECT* out, int32_t* place, bool* erase_only) const {
  const CardAnimation::DirtyEntry* entry = core_.DirtyAt(index);
  if (entry == nullptr) return false;
  if (out != nullptr) *out = entry->rect;
  if (place != nullptr) *place = entry->seat >= 100 ? entry->seat - 100 : entry->seat;
  if (erase_only != nullptr) *erase_only = entry->flag != 0;
  return true;
}

int32_t SevenCardsAnimator::CountChangedCards(int32_t place) const {
  if (place == kCommunityPlace) return community_.present && community_.card.changed ? 1 : 0;
  if (!SeatInRange(place)) return 0;
  int32_t changed = 0;
  for (int32_t card = 0; card < seats_[place].count; ++card) changed += seats_[place].cards[card].changed ? 1 : 0;
  return changed;
}

bool SevenCardsAnimator::GetChangedCardRect(int32_t place, int32_t card, platform::RECT* out) const {
  const Card* c = nullptr;
  if (place == kCommunityPlace && card == 0 && community_.present) c = &community_.card;
  if (CardInRange(place, card)) c = &seats_[place].cards[card];
  if (c == nullptr || !c->changed || CardRect_IsEmpty(c->rect) || out == nullptr) return false;
  *out = c->rect;
  return true;
}

void SevenCardsAnimator::ClearChangedFlags() {
  for (Seat& s : seats_) {
    for (Card& c : s.cards) c.changed = false;
  }
  community_.card.changed = false;
}

bool SevenCardsAnimator::GetChangedRestRect(int32_t seat, platform::RECT* out) const {
  if (!SeatInRange(seat) || out == nullptr) return false;
  const Seat& s = seats_[seat];
  bool any = false;
  platform::RECT bound = kNoRect;
  for (int32_t card = 0; card < s.count; ++card) {
    const Card& c = s.cards[card];
    if (!c.changed || c.state == kMoving || CardRect_IsEmpty(c.rect)) continue;
    bound = any ? CardRect_Bound(bound, c.rect) : c.rect;
    any = true;
  }
  *out = bound;
  return any;
}

bool SevenCardsAnimator::GetMovingCardRect(int32_t place, int32_t n, platform::RECT* out) const {
  if (out == nullptr || n < 1) return false;
  if (place == kCommunityPlace) {
    const Card& c = community_.card;
    if (n != 1 || !community_.present || !c.changed || c.state != kMoving || CardRect_IsEmpty(c.rect)) return false;
    *out = c.rect;
    return true;
  }
  if (!SeatInRange(place)) return false;
  const Seat& s = seats_[place];
  int32_t seen = 0;
  for (int32_t card = 0; card < s.count; ++card) {
    const Card& c = s.cards[card];
    if (!c.changed || c.state != kMoving || CardRect_IsEmpty(c.rect)) continue;
    if (++seen == n) {
      *out = c.rect;
      return true;
    }
  }
  return false;
}

int32_t SevenCardsAnimator::GetCardCount(int32_t place) const {
  if (place == kCommunityPlace) return community_.present ? 1 : 0;
  return SeatInRange(place) ? seats_[place].count : 0;
}

bool SevenCardsAnimator::GetRestRect(int32_t place, int32_t card, platform::RECT* out) const {
  if (out == nullptr) return false;
  if (place == kCommunityPlace) {
    if (card != 0) return false;
    *out = RectAt(community_.rest.x, community_.rest.y, CardWidth(), CardHeight());
    return true;
  }
  if (!CardInRange(place, card)) return false;
  const platform::POINT at = LayoutPlace(seats_[place], card);
  *out = RectAt(at.x, at.y, CardWidth(), CardHeight());
  return true;
}

void SevenCardsAnimator::MarkOverlapping(int32_t place, const platform::RECT& rect) {
  if (CardRect_IsEmpty(rect)) return;
  if (community_.present && Rect_Overlaps(CommunityRect(), rect)) community_.card.dirty = true;
  if (!SeatInRange(place)) return;
  const Seat& s = seats_[place];
  bool lifted = false;
  for (int32_t card = 0; card < s.count; ++card) {
    lifted = lifted || s.cards[card].state == kLifted || s.cards[card].state == kLiftedDimmed;
  }
  (void)MarkSeatOverlap(place, rect, !lifted);
}

int32_t SevenCardsAnimator::GetCardState(int32_t place, int32_t card) const {
  if (place == kCommunityPlace) return community_.present && card == 0 ? community_.card.state : -1;
  return CardInRange(place, card) ? seats_[place].cards[card].state : -1;
}

int32_t SevenCardsAnimator::GetCardValue(int32_t place, int32_t card) const {
  if (place == kCommunityPlace) return community_.present && card == 0 ? community_.value : -1;
  return CardInRange(place, card) ? seats_[place].values[card] : -1;
}

bool SevenCardsAnimator::IsCardDirty(int32_t place, int32_t card) const {
  if (place == kCommunityPlace) return community_.present && card == 0 && community_.card.dirty;
  return CardInRange(place, card) && seats_[place].cards[card].dirty;
}
