#include "cclient/games/blackjack/blackjack_animator.h"

#include <algorithm>
#include <cmath>

#include "cclient/widgets/table_layout.h"

namespace bm = blackjack_motion;

namespace {

constexpr platform::RECT kNoRect{-1, -1, -1, -1};
constexpr int32_t kHandAreaFlag = 0;
constexpr int32_t kMovingCardFlag = 1;

bool IsFace(int32_t value) { return value >= 0 && value < 52; }

}  // namespace

BlackJackAnimator::BlackJackAnimator() : core_(kWorkSlots, kDirtyCapacity) {}

BlackJackAnimator::~BlackJackAnimator() { Release(true, true, true); }

// ---- Set-up -------------------------------------------------------------------------------------------

void BlackJackAnimator::CreateSeats(int32_t count) {
  seats_.assign(static_cast<size_t>(std::max(count, 0)), Seat{});
  for (std::vector<uint8_t>& selection : selection_) selection.assign(seats_.size(), 0);
  dealer_ = -1;
}

void BlackJackAnimator::SetSeat(int32_t seat, bool dealer, const blackjack_layout::PositionCards& tables,
                                const BlackJackSeatTimes& times) {
  if (!SeatInRange(seat)) return;
  Seat& s = seats_[seat];
  s.dealer = dealer;
  s.tables = tables;
  s.times = times;
  s.flight_time = times.flight;
  if (dealer) dealer_ = seat;
}

void BlackJackAnimator::SetTimes(double slide, double card_gap, double collect_phase) {
  slide_seconds_ = slide;
  card_gap_ = card_gap;
  collect_phase_ = collect_phase;
}

bool BlackJackAnimator::SetParameters(const BlackJackAnimatorParameters& parameters) {
  parameters_ = parameters;
  parameters_.shoe_file = nullptr;  // the name is the caller's; only the picture is kept
  ReleaseBitmapFile(&shoe_);
  if (parameters.shoe_file == nullptr || !LoadBitmapFile(parameters.shoe_file, &shoe_)) return false;
  if (core_.GetTransparentDraw() != nullptr) {
    const platform::SIZE size = GetBitmapFileSize(shoe_);
    core_.GetTransparentDraw()->Reserve(size.cx, size.cy);
  }
  return true;
}

bool BlackJackAnimator::Setup(platform::HDC dc, const CardSheet* sheet, int32_t min_width, int32_t min_height) {
  const bool loaded = core_.Setup(dc, sheet, min_width, min_height);
  (void)core_.Images().AttachSheet(sheet);
  return loaded;
}

void BlackJackAnimator::Release(bool bitmaps, bool selection, bool seats) {
  if (bitmaps) {
    ReleaseBitmapFile(&shoe_);
    core_.Release();
  }
  if (selection) {
    for (std::vector<uint8_t>& s : selection_) s.clear();
  }
  if (seats) {
    seats_.clear();
    dealer_ = -1;
    kind_ = kIdle;
    sub_kind_ = kNoSubKind;
  }
}

// ---- Places and rectangles ----------------------------------------------------------------------------

const blackjack_layout::HandTable& BlackJackAnimator::TableOf(const Seat& seat, bool split, int32_t hand) const {
  return split ? seat.tables.split[hand == 1 ? 1 : 0] : seat.tables.single;
}

platform::POINT BlackJackAnimator::PlaceOf(int32_t seat, int32_t hand, int32_t count, int32_t index) const {
  if (!SeatInRange(seat) || !HandInRange(hand)) return {-1, -1};
  const Seat& s = seats_[seat];
  return blackjack_layout::CardPlace(TableOf(s, !s.single, hand), count, index);
}

platform::POINT BlackJackAnimator::RestPlace(int32_t seat, int32_t hand, int32_t card) const {
  return PlaceOf(seat, hand, seats_[seat].hands[hand].count, card);
}

platform::RECT BlackJackAnimator::RestRect(int32_t seat, int32_t hand, int32_t card) const {
  const platform::POINT at = RestPlace(seat, hand, card);
  const platform::SIZE size = core_.CardSize();
  return {at.x, at.y, at.x + size.cx - 1, at.y + size.cy - 1};
}

platform::RECT BlackJackAnimator::PresentRect(int32_t seat, int32_t hand, int32_t index) const {
  const Card& card = seats_[seat].hands[hand].cards[index];
  switch (card.state) {
    case kGone: return kNoRect;
    case kWaiting:
      if (card.clock <= 0) return kNoRect;
      break;
    default: break;
  }
  const bool plain = card.state == kResting || card.state == kGathering || card.state == kPeeking ||
                     card.look.kind == bm::kPlain;
  if (plain) {
    const platform::SIZE size = core_.CardSize();
    return {card.x, card.y, card.x + size.cx - 1, card.y + size.cy - 1};
  }
  if (card.slot < 0 || card.size.cx <= 0 || card.size.cy <= 0) return kNoRect;
  return {card.x, card.y, card.x + card.size.cx - 1, card.y + card.size.cy - 1};
}

platform::RECT BlackJackAnimator::HandArea(int32_t seat, int32_t hand) const {
  const Hand& h = seats_[seat].hands[hand];
  platform::RECT area = kNoRect;
  for (int32_t i = 0; i < h.count; ++i) {
    const platform::RECT shown = PresentRect(seat, hand, i);
    if (!CardRect_IsEmpty(shown)) area = CardRect_IsEmpty(area) ? shown : CardRect_Bound(area, shown);
    const platform::RECT last = h.cards[i].rect;
    if (!CardRect_IsEmpty(last)) area = CardRect_IsEmpty(area) ? last : CardRect_Bound(area, last);
  }
  return area;
}

bool BlackJackAnimator::AnyCards() const {
  for (const Seat& seat : seats_) {
    if (seat.hands[0].count > 0 || seat.hands[1].count > 0) return true;
  }
  return false;
}

// ---- Dirty bookkeeping --------------------------------------------------------------------------------

void BlackJackAnimator::Queue(const platform::RECT& rect, int32_t seat, int32_t flag) {
  if (CardRect_IsEmpty(rect)) return;
  if (!core_.QueueRectUnlessCovered(rect, seat, flag) && core_.DirtyOverflowed()) MarkAll();
}

void BlackJackAnimator::QueueHand(int32_t seat, int32_t hand) { Queue(HandArea(seat, hand), seat, kHandAreaFlag); }

void BlackJackAnimator::Touch(int32_t seat, Card& card) {
  Queue(card.rect, seat, kMovingCardFlag);
  card.dirty = true;
  card.changed = true;
}

void BlackJackAnimator::MarkAll() {
  for (Seat& seat : seats_) {
    for (Hand& hand : seat.hands) {
      for (int32_t i = 0; i < hand.count; ++i) hand.cards[i].dirty = true;
    }
  }
}

void BlackJackAnimator::LayAtRest(int32_t seat, int32_t hand) {
  Hand& h = seats_[seat].hands[hand];
  for (int32_t i = 0; i < h.count; ++i) {
    Card& card = h.cards[i];
    const platform::POINT at = RestPlace(seat, hand, i);
    card = Card{};
    card.x = at.x;
    card.y = at.y;
    card.dirty = true;
    card.changed = true;
  }
}

bool BlackJackAnimator::GetDirtyRect(int32_t index, platform::RECT* out, int32_t* seat, int32_t* flag) const {
  const CardAnimation::DirtyEntry* entry = core_.DirtyAt(index);
  if (entry == nullptr) return false;
  if (out != nullptr) *out = entry->rect;
  if (seat != nullptr) *seat = entry->seat;
  if (flag != nullptr) *flag = entry->flag;
  return true;
}

bool BlackJackAnimator::GetCardRect(int32_t seat, int32_t hand, int32_t card, platform::RECT* out) const {
  if (!CardInRange(seat, hand, card)) {
    *out = kNoRect;
    return false;
  }
  *out = PresentRect(seat, hand, card);
  return !CardRect_IsEmpty(*out);
}

bool BlackJackAnimator::GetChangedCardRect(int32_t seat, int32_t hand, int32_t n, platform::RECT* out) const {
  *out = kNoRect;
  if (!SeatInRange(seat) || !HandInRange(hand) || n < 1) return false;
  const Hand& h = seats_[seat].hands[hand];
  for (int32_t i = 0, seen = 0; i < h.count; ++i) {
    if (!h.cards[i].changed || ++seen < n) continue;
    *out = PresentRect(seat, hand, i);
    return !CardRect_IsEmpty(*out);
  }
  return false;
}

bool BlackJackAnimator::GetHandChangedRect(int32_t seat, int32_t hand, platform::RECT* out) const {
  *out = kNoRect;
  if (!SeatInRange(seat) || !HandInRange(hand)) return false;
  const Hand& h = seats_[seat].hands[hand];
  for (int32_t i = 0; i < h.count; ++i) {
    const platform::RECT r = PresentRect(seat, hand, i);
    if (!h.cards[i].changed || CardRect_IsEmpty(r)) continue;
    *out = CardRect_IsEmpty(*out) ? r : CardRect_Bound(*out, r);
  }
  return !CardRect_IsEmpty(*out);
}

bool BlackJackAnimator::GetHandRect(int32_t seat, int32_t hand, platform::RECT* out) const {
  *out = kNoRect;
  if (!SeatInRange(seat) || !HandInRange(hand)) return false;
  for (int32_t i = 0; i < seats_[seat].hands[hand].count; ++i) {
    const platform::RECT r = PresentRect(seat, hand, i);
    if (!CardRect_IsEmpty(r)) *out = CardRect_IsEmpty(*out) ? r : CardRect_Bound(*out, r);
  }
  return !CardRect_IsEmpty(*out);
}

void BlackJackAnimator::ClearChangedFlags() {
  for (Seat& seat : seats_) {
    for (Hand& hand : seat.hands) {
      for (Card& card : hand.cards) card.changed = false;
    }
  }
}

void BlackJackAnimator::MarkHandDirty(int32_t seat, int32_t hand) {
  if (!SeatInRange(seat) || !HandInRange(hand)) return;
  Hand& h = seats_[seat].hands[hand];
  for (int32_t i = 0; i < h.count; ++i) h.cards[i].dirty = true;
}

void BlackJackAnimator::Invalidate(const platform::RECT& rect) {
  for (int32_t s = 0; s < static_cast<int32_t>(seats_.size()); ++s) {
    for (int32_t h = 0; h < 2; ++h) {
      for (int32_t i = 0; i < seats_[s].hands[h].count; ++i) {
        const platform::RECT r = PresentRect(s, h, i);
        if (!CardRect_IsEmpty(r) && Rect_Overlaps(r, rect)) seats_[s].hands[h].cards[i].dirty = true;
      }
    }
  }
}

bool BlackJackAnimator::IsCardDirty(int32_t seat, int32_t hand, int32_t card) const {
  return CardInRange(seat, hand, card) && seats_[seat].hands[hand].cards[card].dirty;
}

platform::RECT BlackJackAnimator::DrawnAt(int32_t index) const {
  return index >= 0 && index < DrawnCount() ? drawn_[static_cast<size_t>(index)] : kNoRect;
}

// ---- Hands ------------------------------------------------------------------------------------------------

bool BlackJackAnimator::SetHand(int32_t seat, int32_t hand, int32_t count, const int32_t* values) {
  if (!IsIdle() || !SeatInRange(seat) || !HandInRange(hand) || count < 0) return false;
  count = std::min(count, kMaxCards);
  if (count > 0 && values == nullptr) return false;
  Hand& h = seats_[seat].hands[hand];
  bool same = count == h.count;
  for (int32_t i = 0; same && i < count; ++i) same = IsFace(values[i]) ? h.values[i] == values[i] : h.values[i] < 0;
  if (same) return true;
  QueueHand(seat, hand);
  h.count = count;
  for (int32_t i = 0; i < count; ++i) h.values[i] = IsFace(values[i]) ? values[i] : kFaceDown;
  LayAtRest(seat, hand);
  return true;
}

bool BlackJackAnimator::SetSplit(int32_t seat, bool split) {
  if (!IsIdle() || !SeatInRange(seat) || (split && seats_[seat].dealer)) return false;
  Seat& s = seats_[seat];
  if (s.single == !split) return true;
  QueueHand(seat, 0);
  QueueHand(seat, 1);
  s.single = !split;
  LayAtRest(seat, 0);
  LayAtRest(seat, 1);
  return true;
}

void BlackJackAnimator::ClearAllHands() {
  for (int32_t s = 0; s < static_cast<int32_t>(seats_.size()); ++s) {
    for (int32_t h = 0; h < 2; ++h) {
      QueueHand(s, h);
      seats_[s].hands[h].count = 0;
    }
    seats_[s].single = true;
  }
  kind_ = kIdle;
  sub_kind_ = kNoSubKind;
  core_.StoreDoneMessage(false, nullptr, 0, 0, 0);
}

bool BlackJackAnimator::SplitHand(int32_t seat) {
  if (!IsIdle() || !SeatInRange(seat)) return false;
  Seat& s = seats_[seat];
  if (s.dealer || !s.single || s.hands[0].count != 2) return false;
  QueueHand(seat, 0);
  QueueHand(seat, 1);
  s.hands[1].count = 1;
  s.hands[1].values[0] = s.hands[0].values[1];
  s.hands[0].count = 1;
  s.single = false;
  LayAtRest(seat, 0);
  LayAtRest(seat, 1);
  return true;
}

bool BlackJackAnimator::JoinHands(int32_t seat) {
  if (!IsIdle() || !SeatInRange(seat)) return false;
  QueueHand(seat, 0);
  QueueHand(seat, 1);
  seats_[seat].hands[0].count = 0;
  seats_[seat].hands[1].count = 0;
  seats_[seat].single = true;
  return true;
}

int32_t BlackJackAnimator::GetCard(int32_t seat, int32_t hand, int32_t index) const {
  return CardInRange(seat, hand, index) ? seats_[seat].hands[hand].values[index] : kFaceDown;
}

int32_t BlackJackAnimator::GetCardCount(int32_t seat, int32_t hand) const {
  return SeatInRange(seat) && HandInRange(hand) ? seats_[seat].hands[hand].count : 0;
}

bool BlackJackAnimator::IsSplit(int32_t seat) const { return SeatInRange(seat) && !seats_[seat].single; }

int32_t BlackJackAnimator::GetCardState(int32_t seat, int32_t hand, int32_t index) const {
  return CardInRange(seat, hand, index) ? seats_[seat].hands[hand].cards[index].state : kGone;
}

// ---- Geometry for the labels --------------------------------------------------------------------------

int32_t BlackJackAnimator::GetLastCardX(bool split, int32_t seat, int32_t hand) const {
  if (!SeatInRange(seat) || !HandInRange(hand)) return -1;
  const int32_t count = std::max(seats_[seat].hands[hand].count, 1);
  return blackjack_layout::CardPlace(TableOf(seats_[seat], split, hand), count, count - 1).x;
}

int32_t BlackJackAnimator::GetLastCardY(bool split, int32_t seat, int32_t hand) const {
  if (!SeatInRange(seat) || !HandInRange(hand)) return -1;
  const int32_t count = std::max(seats_[seat].hands[hand].count, 1);
  return blackjack_layout::CardPlace(TableOf(seats_[seat], split, hand), count, count - 1).y;
}

int32_t BlackJackAnimator::GetHandCentreX(bool split, int32_t seat, int32_t hand) const {
  if (!SeatInRange(seat) || !HandInRange(hand)) return -1;
  const blackjack_layout::HandTable& table = TableOf(seats_[seat], split, hand);
  const int32_t count = std::max(seats_[seat].hands[hand].count, 1);
  int32_t left = blackjack_layout::CardPlace(table, count, 0).x;
  int32_t right = left;
  for (int32_t i = 1; i < count; ++i) {
    const int32_t x = blackjack_layout::CardPlace(table, count, i).x;
    left = std::min(left, x);
    right = std::max(right, x);
  }
  return (left + right + core_.CardSize().cx) / 2;
}

// ---- Starters ---------------------------------------------------------------------------------------------

bool BlackJackAnimator::StoreStart(Kind kind, SubKind sub_kind, bool post, platform::HWND window,
                                   platform::UINT message, platform::WPARAM wparam, platform::LPARAM lparam) {
  kind_ = kind;
  sub_kind_ = sub_kind;
  clock_ = 0.0;
  core_.StoreDoneMessage(post, window, message, wparam, lparam);
  return true;
}

bool BlackJackAnimator::StartDeal(const int32_t* counts, const int32_t (*values)[kMaxCards], bool reverse,
                                  int32_t start_seat, double delay, bool post, platform::HWND window,
                                  platform::UINT message, platform::WPARAM wparam, platform::LPARAM lparam) {
  if (!IsIdle() || counts == nullptr || values == nullptr || AnyCards()) return false;
  const int32_t n = static_cast<int32_t>(seats_.size());
  std::vector<int32_t> dealt(static_cast<size_t>(n));
  bool any = false;
  for (int32_t s = 0; s < n; ++s) {
    dealt[static_cast<size_t>(s)] = std::clamp(counts[s], 0, kMaxCards);
    any = any || dealt[static_cast<size_t>(s)] > 0;
  }
  if (!any) return false;
  for (int32_t s = 0; s < n; ++s) {
    Seat& seat = seats_[s];
    seat.single = true;
    seat.flight_time = seat.times.flight;
    seat.hands[1].count = 0;
    Hand& hand = seat.hands[0];
    hand.count = dealt[static_cast<size_t>(s)];
    for (int32_t i = 0; i < hand.count; ++i) {
      hand.values[i] = IsFace(values[s][i]) ? values[s][i] : kFaceDown;
      hand.cards[i] = Card{};
    }
  }
  const int32_t start = std::clamp(start_seat, 0, std::max(n - 1, 0));
  for (const bm::ScheduledCard& scheduled :
       bm::DealSchedule(dealt.data(), n, dealer_, start, reverse, delay, card_gap_)) {
    Card& card = seats_[scheduled.position].hands[0].cards[scheduled.card];
    card.state = kWaiting;
    card.clock = scheduled.clock;
  }
  return StoreStart(kDealOrAdd, kDealing, post, window, message, wparam, lparam);
}

bool BlackJackAnimator::StartAddCard(bool second_hand, int32_t seat, int32_t value, bool post, platform::HWND window,
                                     platform::UINT message, platform::WPARAM wparam, platform::LPARAM lparam) {
  if (!IsIdle() || !SeatInRange(seat)) return false;
  Seat& s = seats_[seat];
  const int32_t hand_index = second_hand ? 1 : 0;
  if (second_hand && s.single) return false;
  Hand& hand = s.hands[hand_index];
  if (hand.count >= kMaxCards) return false;
  // A new row moves the hand's cards: their old area is erased and they rest at their new places.
  QueueHand(seat, hand_index);
  hand.values[hand.count] = IsFace(value) ? value : kFaceDown;
  ++hand.count;
  LayAtRest(seat, hand_index);
  Card& card = hand.cards[hand.count - 1];
  card = Card{};
  card.state = kWaiting;
  card.clock = 0.0;
  const platform::POINT start = ShoeCardCentre(parameters_.flight_start);
  s.flight_time = bm::AddedCardFlightTime(s.times.flight, start, CentreOf(RestPlace(seat, hand_index, 0)),
                                          CentreOf(RestPlace(seat, hand_index, hand.count - 1)));
  return StoreStart(kDealOrAdd, second_hand ? kAddingSecond : kAddingFirst, post, window, message, wparam, lparam);
}

bool BlackJackAnimator::StartCollect(const uint8_t* const* selection, bool post, platform::HWND window,
                                     platform::UINT message, platform::WPARAM wparam, platform::LPARAM lparam) {
  if (!IsIdle()) return false;
  for (std::vector<uint8_t>& taken : selection_) taken.resize(seats_.size());
  bool any = false;
  for (int32_t h = 0; h < 2; ++h) {
    for (int32_t s = 0; s < static_cast<int32_t>(seats_.size()); ++s) {
      const bool wanted = selection == nullptr || (selection[h] != nullptr && selection[h][s] != 0);
      const bool taken = wanted && seats_[s].hands[h].count > 0;
      selection_[h][static_cast<size_t>(s)] = taken ? 1 : 0;
      any = any || taken;
    }
  }
  // Nothing to take: no animation and no message, so no caller waits for one.
  if (!any) return false;
  for (int32_t s = 0; s < static_cast<int32_t>(seats_.size()); ++s) {
    for (int32_t h = 0; h < 2; ++h) {
      if (selection_[h][static_cast<size_t>(s)] == 0) continue;
      Hand& hand = seats_[s].hands[h];
      for (int32_t i = 0; i < hand.count; ++i) {
        hand.cards[i].state = kGathering;
        hand.cards[i].from = {hand.cards[i].x, hand.cards[i].y};
      }
    }
  }
  collect_stage_ = 1;
  return StoreStart(kCollect, kNoSubKind, post, window, message, wparam, lparam);
}

bool BlackJackAnimator::StartCollectHand(int32_t seat, int32_t hand, bool post, platform::HWND window,
                                         platform::UINT message, platform::WPARAM wparam, platform::LPARAM lparam) {
  if (!SeatInRange(seat) || !HandInRange(hand)) return false;
  std::vector<uint8_t> chosen[2] = {std::vector<uint8_t>(seats_.size()), std::vector<uint8_t>(seats_.size())};
  chosen[hand][static_cast<size_t>(seat)] = 1;
  const uint8_t* const selection[2] = {chosen[0].data(), chosen[1].data()};
  return StartCollect(selection, post, window, message, wparam, lparam);
}

bool BlackJackAnimator::StartPeek(double move_seconds, double hold_seconds, bool post, platform::HWND window,
                                  platform::UINT message, platform::WPARAM wparam, platform::LPARAM lparam) {
  if (!IsIdle() || !SeatInRange(dealer_)) return false;
  Hand& hand = seats_[dealer_].hands[0];
  if (hand.count != 2 || hand.values[1] != kFaceDown || hand.cards[1].state != kResting) return false;
  hand.cards[1].state = kPeeking;
  peek_move_ = move_seconds;
  peek_hold_ = hold_seconds;
  return StoreStart(kPeek, kNoSubKind, post, window, message, wparam, lparam);
}

bool BlackJackAnimator::StartReveal(int32_t value, bool post, platform::HWND window, platform::UINT message,
                                    platform::WPARAM wparam, platform::LPARAM lparam) {
  if (!IsIdle() || !SeatInRange(dealer_)) return false;
  Hand& hand = seats_[dealer_].hands[0];
  if (hand.count != 2 || hand.values[1] != kFaceDown || hand.cards[1].state != kResting) return false;
  hand.cards[1].state = kFlying;
  reveal_value_ = IsFace(value) ? value : kFaceDown;
  return StoreStart(kReveal, kNoSubKind, post, window, message, wparam, lparam);
}

// ---- Frame ------------------------------------------------------------------------------------------------

platform::POINT BlackJackAnimator::ShoeCardCentre(platform::POINT top_left) const {
  const platform::SIZE card = core_.CardSize();
  return {top_left.x + static_cast<int32_t>(card.cx * parameters_.start_size / 200),
          top_left.y + static_cast<int32_t>(card.cy * parameters_.start_size / 200)};
}

platform::POINT BlackJackAnimator::CentreOf(platform::POINT top_left) const {
  const platform::SIZE card = core_.CardSize();
  return {top_left.x + card.cx / 2, top_left.y + card.cy / 2};
}

int32_t BlackJackAnimator::RenderSlot(platform::HDC dc, const Card& card, bool measure_only, platform::SIZE* out) {
  CardSprite* sprite = core_.Sprite(card.sprite);
  CardAnimation::WorkSlot* slot = core_.Slot(card.slot);
  if (sprite == nullptr || slot == nullptr) return 0;
  const bm::Look& l = card.look;
  const platform::HBITMAP target = slot->bitmap;
  switch (l.kind) {
    case bm::kScaled: return sprite->RenderScaled(dc, target, l.width, l.height, measure_only, card.x, card.y, out);
    case bm::kTurned:
      return sprite->RenderTurned(dc, target, l.width_ratio, l.slant_ratio, measure_only, card.x, card.y, out);
    case bm::kRotated: return sprite->RenderRotated(dc, target, l.angle, measure_only, card.x, card.y, out);
    case bm::kScaledTurned:
      return sprite->RenderScaledTurned(dc, target, l.width, l.height, l.width_ratio, l.slant_ratio, measure_only,
                                        card.x, card.y, out);
    case bm::kScaledRotated:
      return sprite->RenderScaledRotated(dc, target, l.width, l.height, l.angle, measure_only, card.x, card.y, out);
    case bm::kWarped:
      return sprite->RenderWarped(dc, target, l.warp[0], l.warp[1], l.warp[2], l.warp[3], l.warp[4], measure_only,
                                  card.x, card.y, out);
    default: return 0;
  }
}

bool BlackJackAnimator::PlaceInSlot(platform::HDC dc, Card& card, int32_t sprite, const bm::Look& look,
                                    platform::POINT centre) {
  card.look = look;
  card.sprite = sprite;
  if (look.kind == bm::kPlain) {
    const platform::SIZE size = core_.CardSize();
    card.slot = -1;
    card.size = size;
    card.x = centre.x - size.cx / 2;
    card.y = centre.y - size.cy / 2;
    return true;
  }
  card.slot = core_.NextSlot();
  platform::SIZE size{0, 0};
  if (card.slot < 0 || RenderSlot(dc, card, true, &size) <= 0) {
    card.slot = -1;
    return false;
  }
  card.size = size;
  card.x = centre.x - size.cx / 2;
  card.y = centre.y - size.cy / 2;
  return true;
}

void BlackJackAnimator::Step(platform::HDC dc, float seconds) {
  if (!(seconds > 0) || IsIdle() || !AnyCards()) return;
  shoe_over_card_ = false;
  core_.BeginSlots();
  switch (kind_) {
    case kDealOrAdd: StepDeal(dc, seconds); break;
    case kPeek: StepPeek(seconds); break;
    case kReveal: StepReveal(dc, seconds); break;
    case kCollect: StepCollect(dc, seconds); break;
    default: break;
  }
}

void BlackJackAnimator::StepDeal(platform::HDC dc, double seconds) {
  bool moving = false;
  for (int32_t s = 0; s < static_cast<int32_t>(seats_.size()); ++s) {
    for (int32_t h = 0; h < 2; ++h) {
      for (int32_t i = 0; i < seats_[s].hands[h].count; ++i) moving |= StepCard(dc, s, h, i, seconds);
    }
  }
  if (!moving) EndAnimation();
}

// One card of a deal or an add; true while it is still waiting or moving.
bool BlackJackAnimator::StepCard(platform::HDC dc, int32_t seat, int32_t hand, int32_t index, double seconds) {
  Seat& s = seats_[seat];
  Card& card = s.hands[hand].cards[index];
  if (card.state != kWaiting && card.state != kFlying) return false;
  card.clock += seconds;
  if (card.state == kWaiting) {
    if (card.clock <= 0) return true;  // not out of the shoe yet
    Touch(seat, card);
    if (card.clock < slide_seconds_) {
      const double part = bm::SlidePart(card.clock, slide_seconds_);
      const platform::POINT exit = parameters_.shoe_exit;
      const platform::POINT start = parameters_.flight_start;
      const platform::POINT top_left{exit.x + static_cast<int32_t>((start.x - exit.x) * part),
                                     exit.y + static_cast<int32_t>((start.y - exit.y) * part)};
      bm::Look look;
      look.width = parameters_.start_size * bm::kCardWidth / 100;
      look.height = parameters_.start_size * bm::kCardHeight / 100;
      look.angle = parameters_.start_angle;
      look.kind = bm::KindFor(false, parameters_.start_size < 100, parameters_.start_angle != 0);
      (void)PlaceInSlot(dc, card, kFaceDown, look, ShoeCardCentre(top_left));
      shoe_over_card_ = true;
      return true;
    }
    card.state = kFlying;
    card.clock -= slide_seconds_;
  } else {
    Touch(seat, card);
  }
  const double p = s.flight_time > 0 ? card.clock * 100 / s.flight_time : 100.0;
  if (p >= 100) {
    const platform::POINT at = RestPlace(seat, hand, index);
    card.state = kResting;
    card.slot = -1;
    card.look = bm::Look{};
    card.x = at.x;
    card.y = at.y;
    return false;
  }
  const int32_t value = s.hands[hand].values[index];
  const BlackJackSeatTimes& t = s.times;
  const bm::Look look = bm::FlightLook(p, {t.rotation_end, t.turn_start, t.turn_span, t.growth_span},
                                       parameters_.start_size, parameters_.start_angle, IsFace(value));
  const platform::POINT centre = CardFlightPoint(ShoeCardCentre(parameters_.flight_start),
                                                 CentreOf(RestPlace(seat, hand, index)), look.part);
  (void)PlaceInSlot(dc, card, look.face ? value : kFaceDown, look, centre);
  return true;
}

void BlackJackAnimator::StepPeek(double seconds) {
  Card& card = seats_[dealer_].hands[0].cards[1];
  const platform::POINT at = RestPlace(dealer_, 0, 1);
  clock_ += seconds;
  const bool over = clock_ >= bm::PeekSeconds(peek_move_, peek_hold_);
  const int32_t y = over ? at.y : at.y + bm::PeekLift(clock_, peek_move_, peek_hold_, kPeekLift);
  if (y != card.y || over) {
    Touch(dealer_, card);
    card.x = at.x;
    card.y = y;
  }
  if (!over) return;
  card.state = kResting;
  EndAnimation();
}

void BlackJackAnimator::StepReveal(platform::HDC dc, double seconds) {
  Hand& hand = seats_[dealer_].hands[0];
  Card& card = hand.cards[1];
  const platform::POINT at = RestPlace(dealer_, 0, 1);
  clock_ += seconds;
  Touch(dealer_, card);
  if (clock_ >= parameters_.reveal_seconds) {
    hand.values[1] = reveal_value_;
    card.state = kResting;
    card.slot = -1;
    card.look = bm::Look{};
    card.x = at.x;
    card.y = at.y;
    EndAnimation();
    return;
  }
  const bm::RevealLook turn = bm::RevealAt(clock_, parameters_.reveal_seconds, parameters_.reveal_drop);
  if (turn.face) hand.values[1] = reveal_value_;  // the card shows its value from the middle on
  bm::Look look;
  look.kind = bm::kTurned;
  look.face = turn.face;
  look.width_ratio = turn.width_ratio;
  look.slant_ratio = turn.slant_ratio;
  if (!PlaceInSlot(dc, card, turn.face ? hand.values[1] : kFaceDown, look, CentreOf(at))) return;
  // Centred across its place, lowered by the drop and by four fifths of the height it lost.
  const platform::SIZE full = core_.CardSize();
  card.x = at.x + (full.cx - card.size.cx) / 2;
  card.y = at.y + turn.down + (full.cy - card.size.cy) * 4 / 5;
}

void BlackJackAnimator::StepCollect(platform::HDC dc, double seconds) {
  clock_ += seconds;
  const int32_t n = static_cast<int32_t>(seats_.size());
  if (collect_stage_ == 1) {
    // Gather: every card of a taken hand slides onto its first card's place.
    const double t = collect_phase_ > 0 ? std::min(clock_ / collect_phase_, 1.0) : 1.0;
    for (int32_t s = 0; s < n; ++s) {
      for (int32_t h = 0; h < 2; ++h) {
        if (selection_[h][static_cast<size_t>(s)] == 0) continue;
        Hand& hand = seats_[s].hands[h];
        const platform::POINT first = hand.cards[0].from;
        for (int32_t i = 1; i < hand.count; ++i) {
          Card& card = hand.cards[i];
          Touch(s, card);
          card.x = card.from.x + static_cast<int32_t>((first.x - card.from.x) * t);
          card.y = card.from.y + static_cast<int32_t>((first.y - card.from.y) * t);
        }
      }
    }
    if (clock_ < collect_phase_) return;
    clock_ -= collect_phase_;
    FinishGather();
    collect_stage_ = 2;
    return;
  }
  if (collect_stage_ == 2) {
    // Join: a split seat's first pile slides onto its second.
    const double t = collect_phase_ > 0 ? std::min(clock_ / collect_phase_, 1.0) : 1.0;
    for (int32_t s = 0; s < n; ++s) {
      if (selection_[0][static_cast<size_t>(s)] == 0 || selection_[1][static_cast<size_t>(s)] == 0) continue;
      Card& pile = seats_[s].hands[0].cards[0];
      const Card& onto = seats_[s].hands[1].cards[0];
      Touch(s, pile);
      pile.x = pile.from.x + static_cast<int32_t>((onto.x - pile.from.x) * t);
      pile.y = pile.from.y + static_cast<int32_t>((onto.y - pile.from.y) * t);
      seats_[s].hands[1].cards[0].dirty = true;
    }
    if (clock_ < collect_phase_) return;
    clock_ -= collect_phase_;
    FinishJoin();
    collect_stage_ = 3;
    seconds = clock_;  // the piles start with what is left of this frame
  }
  // Fly: each pile shrinks, turns to its back and warps into the tray.
  bool flying = false;
  for (int32_t s = 0; s < n; ++s) {
    const BlackJackSeatTimes& t = seats_[s].times;
    bm::CollectSettings settings;
    settings.turn_start = t.collect_turn_start;
    settings.turn_span = t.collect_turn_span;
    settings.warp_start = t.warp_start;
    std::copy(std::begin(parameters_.tray_shape), std::end(parameters_.tray_shape), settings.tray);
    for (int32_t h = 0; h < 2; ++h) {
      Hand& hand = seats_[s].hands[h];
      if (hand.count < 1 || hand.cards[0].state != kPileFlying) continue;
      Card& pile = hand.cards[0];
      pile.clock += seconds;
      Touch(s, pile);
      const double p = t.collect > 0 ? pile.clock * 100 / t.collect : 100.0;
      if (p >= 100) {
        pile.state = kGone;
        continue;
      }
      flying = true;
      const bm::Look look = bm::CollectLook(p, settings);
      const platform::POINT centre = CardFlightPoint(CentreOf(pile.from), parameters_.tray, look.part);
      (void)PlaceInSlot(dc, pile, look.face ? hand.values[0] : kFaceDown, look, centre);
    }
  }
  if (flying) return;
  for (int32_t s = 0; s < n; ++s) {
    for (int32_t h = 0; h < 2; ++h) {
      if (selection_[h][static_cast<size_t>(s)] != 0) seats_[s].hands[h].count = 0;
    }
  }
  EndAnimation();
}

// Each taken hand becomes one card at its first card's place, showing its last card when that
// card is face up.
void BlackJackAnimator::FinishGather() {
  for (int32_t s = 0; s < static_cast<int32_t>(seats_.size()); ++s) {
    for (int32_t h = 0; h < 2; ++h) {
      if (selection_[h][static_cast<size_t>(s)] == 0) continue;
      Hand& hand = seats_[s].hands[h];
      QueueHand(s, h);
      const int32_t last = hand.values[hand.count - 1];
      const platform::POINT at = hand.cards[0].from;
      hand.count = 1;
      hand.values[0] = IsFace(last) ? last : kFaceDown;
      Card& pile = hand.cards[0];
      pile = Card{};
      pile.state = kGathering;
      pile.x = pile.from.x = at.x;
      pile.y = pile.from.y = at.y;
      pile.dirty = pile.changed = true;
    }
  }
}

// A joined seat's first hand is empty and its second pile shows the first pile's card; then every
// pile starts its flight.
void BlackJackAnimator::FinishJoin() {
  for (int32_t s = 0; s < static_cast<int32_t>(seats_.size()); ++s) {
    const bool joined = selection_[0][static_cast<size_t>(s)] != 0 && selection_[1][static_cast<size_t>(s)] != 0;
    if (joined) {
      Hand& first = seats_[s].hands[0];
      Hand& second = seats_[s].hands[1];
      QueueHand(s, 0);
      second.values[0] = first.values[0];
      second.cards[0].dirty = true;
      first.count = 0;
    }
    for (int32_t h = 0; h < 2; ++h) {
      if (selection_[h][static_cast<size_t>(s)] == 0 || seats_[s].hands[h].count < 1) continue;
      Card& pile = seats_[s].hands[h].cards[0];
      pile.state = kPileFlying;
      pile.clock = 0.0;
      pile.from = {pile.x, pile.y};
    }
  }
}

void BlackJackAnimator::EndAnimation() {
  kind_ = kIdle;
  sub_kind_ = kNoSubKind;
  (void)core_.PostDoneMessage();
}

// ---- Drawing ----------------------------------------------------------------------------------------------

void BlackJackAnimator::DrawCard(platform::HDC dc, int32_t seat, int32_t hand, int32_t index) {
  Card& card = seats_[seat].hands[hand].cards[index];
  const bool plain = card.state == kResting || card.state == kGathering || card.state == kPeeking ||
                     card.look.kind == bm::kPlain;
  if (plain) {
    const int32_t value = card.state == kFlying || card.state == kPileFlying || card.state == kWaiting
                              ? card.sprite
                              : seats_[seat].hands[hand].values[index];
    core_.Images().DrawCard(dc, card.x, card.y, value);
    return;
  }
  CardAnimation::WorkSlot* slot = core_.Slot(card.slot);
  if (slot == nullptr || core_.GetTransparentDraw() == nullptr) return;
  platform::SIZE size{0, 0};
  if (RenderSlot(dc, card, false, &size) <= 0) return;
  slot->size = size;
  core_.DrawSlotKeyed(dc, card.slot, card.x, card.y);
}

void BlackJackAnimator::Draw(platform::HDC dc) {
  drawn_.clear();
  const auto under_something = [this](const platform::RECT& rect) {
    for (int32_t i = 0; i < core_.DirtyCount(); ++i) {
      if (Rect_Overlaps(core_.DirtyAt(i)->rect, rect)) return true;
    }
    for (const platform::RECT& drawn : drawn_) {
      if (Rect_Overlaps(drawn, rect)) return true;
    }
    return false;
  };
  // Seats from the last to the first; a split seat's second hand (the left one) under its first;
  // each hand's later cards over the earlier ones.
  for (int32_t s = static_cast<int32_t>(seats_.size()) - 1; s >= 0; --s) {
    for (int32_t h = 1; h >= 0; --h) {
      for (int32_t i = 0; i < seats_[s].hands[h].count; ++i) {
        Card& card = seats_[s].hands[h].cards[i];
        const platform::RECT rect = PresentRect(s, h, i);
        if (CardRect_IsEmpty(rect)) continue;
        if (!card.dirty && !under_something(rect)) continue;
        DrawCard(dc, s, h, i);
        card.dirty = false;
        card.rect = rect;
        drawn_.push_back(rect);
      }
    }
  }
  if (shoe_over_card_ && shoe_.dc != nullptr && core_.GetTransparentDraw() != nullptr) {
    const platform::SIZE size = GetBitmapFileSize(shoe_);
    core_.GetTransparentDraw()->Draw(shoe_.dc, 0, 0, size.cx, size.cy, dc, parameters_.shoe.x, parameters_.shoe.y,
                                     parameters_.shoe_key);
    drawn_.push_back({parameters_.shoe.x, parameters_.shoe.y, parameters_.shoe.x + size.cx - 1,
                      parameters_.shoe.y + size.cy - 1});
  }
  shoe_over_card_ = false;
}

bool BlackJackAnimator_SetUpTable(BlackJackAnimator* animator, TransparentDraw* draw, platform::HDC dc,
                                  const CardSheet* sheet) {
  // Each position's share of the base 0.3 s: farther from the shoe, a longer flight; farther from
  // the discard tray (top left), a longer collect.
  constexpr double kBase = 0.3;
  constexpr double kFlightFactor[blackjack_layout::kPositions] = {1.0, 1.3, 1.6, 1.9, 2.1, 1.0};
  constexpr double kCollectFactor[blackjack_layout::kPositions] = {2.1, 1.9, 1.6, 1.3, 1.0, 1.3};
  animator->SetTransparentDraw(draw);
  animator->CreateSeats(blackjack_layout::kPositions);
  for (int32_t position = 0; position < blackjack_layout::kPositions; ++position) {
    BlackJackSeatTimes times;
    times.flight = kBase * kFlightFactor[position];
    times.collect = kBase * kCollectFactor[position];
    animator->SetSeat(position, position == blackjack_layout::kDealer, blackjack_layout::CardTables(position), times);
  }
  animator->SetTimes(0.1, 0.2, 0.2);
  (void)animator->SetParameters(BlackJackAnimatorParameters{});
  return animator->Setup(dc, sheet, 78, 102);
}
