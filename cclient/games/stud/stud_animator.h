// Every card that lies on a Seven Card Stud table, and its animations: the deal of new cards from
// above the table's top edge to the seats (each card turning face up in flight when it is one),
// the show (a seat's hidden cards turned over and spread into the open layout), the showdown (the
// winning cards lifted, the others dimmed), the fold (a hand gathered into a pile that flies back
// to the deck) and the community card dealt to the middle when the deck runs short.
//
// It knows nothing of packets or game rules. The game sets it up once, starts animations from its
// packet loop, advances it once per frame (Step), erases the rectangles it queues, draws it (Draw)
// and presents the rectangles of the cards that changed. When an animation ends, Step posts the
// message the game gave its starter (the Stud game passes 9000).
//
// Places: seats 0-7 hold up to 7 cards each (values 0-51, 255 face down); place 8 is the community
// card. Each seat has two layouts (per hand size, the top-left corner of every card): the closed
// layout, in which the hidden cards overlap, and the open layout. Layout select 1 is closed.
//
// Card states: 1 folding, 2 in flight or turning in place, 3 moved by the show, 4 rising and 5
// sinking at a showdown, 11 resting, 12 resting dimmed, 13 resting lifted, 14 lifted and dimmed.
//
// Dirty list: up to 100 rectangles between two draws, each with its place and an erase-only flag;
// one more marks the list overflowed, every card is then marked for drawing and the game must
// redraw the whole table. Draw empties it.
//
// Seat, card and place numbers from callers are checked: out of range is refused. UI thread only.
#pragma once

#include <cstdint>

#include "cclient/widgets/card_animation.h"
#include "cclient/widgets/card_sheet.h"
#include "cclient/widgets/transparent_draw.h"
#include "platform/draw/gdi.h"
#include "platform/window/window_types.h"

// Rows n - 1 = 0..6 hold the n card corners of a hand of n cards.
struct SevenCardsSeatLayout {
  platform::POINT rows[7][7];
};

// In the order of SevenCardsAnimator::SetParameters. Times in seconds, sizes and turn points in
// percent, the skew in degrees.
struct SevenCardsAnimatorParameters {
  double card_gap = 0.0;
  double round_gap = 0.0;
  double turn_time = 0.0;
  double show_pause = 0.0;
  double show_slide = 0.0;
  double gather_time = 0.0;
  double pile_pause = 0.0;
  double community_time = 0.0;
  int32_t deck_x = 0;
  int32_t deck_y = 0;
  int32_t community_x = 0;
  int32_t community_y = 0;
  double start_size = 100.0;
  double skew_angle = 0.0;
  double turn_start = 0.0;
  double turn_span = 0.0;
};

class SevenCardsAnimator {
 public:
  static constexpr int32_t kSeats = 8;
  static constexpr int32_t kCommunityPlace = 8;
  static constexpr int32_t kMaxCards = 7;
  static constexpr int32_t kWorkSlots = 8;
  static constexpr int32_t kDirtyCapacity = 100;
  static constexpr uint8_t kFaceDown = 255;

  enum Kind : int32_t {
    kIdle = 1,
    kDeal = 2,
    kShow = 3,
    kShowdown = 4,
    kFoldSeats = 5,
    kCommunityIn = 6,
    kFoldAll = 7,
  };
  enum CardState : uint8_t {
    kFolding = 1,
    kMoving = 2,
    kShowMoving = 3,
    kRising = 4,
    kSinking = 5,
    kResting = 11,
    kRestingDimmed = 12,
    kLifted = 13,
    kLiftedDimmed = 14,
  };

  SevenCardsAnimator();
  ~SevenCardsAnimator() = default;
  SevenCardsAnimator(const SevenCardsAnimator&) = delete;
  SevenCardsAnimator& operator=(const SevenCardsAnimator&) = delete;

  // ---- Set-up, in this order --------------------------------------------------------------------
  void SetTransparentDraw(TransparentDraw* draw) { core_.SetTransparentDraw(draw); }
  // Loads "cardbacs.b", points the faces at the sheet and makes the eight work bitmaps (see
  // CardAnimation::Setup). False when the back does not load.
  bool Setup(platform::HDC dc, const CardSheet* sheet, int32_t min_width, int32_t min_height);
  void SetSeatLayoutTables(int32_t seat, const SevenCardsSeatLayout& closed, const SevenCardsSeatLayout& open);
  void SetTurnMirror(const uint8_t mirror[kSeats]);
  void SetFlightTimes(const double seconds[kSeats]);
  void SetShowdownLifts(const int32_t lifts[kSeats], double lift_time, double dim_delay);
  void SetSeatLayouts(const uint8_t selects[kSeats]);
  void SetSeatLayout(int32_t seat, uint8_t select);
  void SetParameters(const SevenCardsAnimatorParameters& parameters);

  // ---- Hands ------------------------------------------------------------------------------------
  // Ignored while an animation runs. Seats 0-7: the count is capped at 7; an unchanged count takes
  // the changed values (marking those cards and the later ones); a changed count queues the old
  // cards' area and lays the new cards at rest. Place 8: a count of 1 or more with a value 0-51
  // shows the community card, anything else removes it.
  void SetHand(int32_t place, int32_t count, const uint8_t* values);
  // Every card of every seat at rest (state 11) at its layout place.
  void SettleAll();

  // ---- Starters: each refuses (false) unless idle -----------------------------------------------
  // Takes the layouts (when given) and every hand, settles all, then deals the last new_counts[s]
  // cards of each seat: round by round, seats from start_seat downward (wrapping 0 -> 7), the
  // first card of the first round after start_delay, card_gap between the cards of a round and a
  // further round_gap after each round. With no new card the next Step ends the deal and posts.
  bool StartDeal(const uint8_t* layout_selects, const int32_t counts[kSeats], const int32_t new_counts[kSeats],
                 const uint8_t values[kSeats][kMaxCards], int32_t start_seat, double start_delay, bool post,
                 platform::HWND window, platform::UINT message, platform::WPARAM wparam, platform::LPARAM lparam);
  // False when the seat holds no cards.
  bool StartFoldSeat(int32_t seat, double delay, bool post, platform::HWND window, platform::UINT message,
                     platform::WPARAM wparam, platform::LPARAM lparam);
  // False when none of the seats holds cards.
  bool StartFoldSeats(int32_t count, const int32_t* seats, double delay, bool post, platform::HWND window,
                      platform::UINT message, platform::WPARAM wparam, platform::LPARAM lparam);
  // Every seat with cards, and the community card. False when there is neither.
  bool StartFoldAll(double delay, bool post, platform::HWND window, platform::UINT message, platform::WPARAM wparam,
                    platform::LPARAM lparam);
  // Takes every hand; the seats whose hidden cards become known turn them over (a hidden seventh
  // card in place) and spread into the open layout. False when no seat takes part.
  bool StartShowCards(const int32_t counts[kSeats], const uint8_t values[kSeats][kMaxCards], bool post,
                      platform::HWND window, platform::UINT message, platform::WPARAM wparam,
                      platform::LPARAM lparam);
  // For each of `count` entries, a seat and the up to seven cards of its winning hand (255 none):
  // those cards end higher on the screen than the seat's others, which are dimmed when few enough.
  // Never posts. The window is not used.
  bool StartShowdown(platform::HWND window, int32_t count, const int32_t* seats, const uint8_t (*cards)[kMaxCards]);
  bool StartCommunityCard(uint8_t card, bool post, platform::HWND window, platform::UINT message,
                          platform::WPARAM wparam, platform::LPARAM lparam);

  // ---- Frame ------------------------------------------------------------------------------------
  // Advances the running animation; nothing when idle or when seconds is not above 0. `dc` is only
  // the reference for the work bitmaps.
  void Step(platform::HDC dc, float seconds);
  bool IsAnimating() const { return !idle_; }
  int32_t GetKind() const { return kind_; }
  // Ends any animation at once, without its message.
  void Stop();
  // Empties the dirty list, then draws every card marked for drawing: the seats' cards with
  // `draw_seats`, the community card when it rests with `draw_resting_community` and when it moves
  // with `draw_moving_community`. True when anything was drawn.
  bool Draw(platform::HDC dc, const CardSheet* sheet, bool draw_resting_community, bool draw_moving_community,
            bool draw_seats);

  // ---- Rectangles (inclusive right and bottom; -1 all round when none) ----------------------------
  bool GetCardRect(int32_t seat, int32_t card, platform::RECT* out) const;
  int32_t GetDirtyCount() const { return core_.DirtyCount(); }
  bool GetDirtyRect(int32_t index, platform::RECT* out, int32_t* place, bool* erase_only) const;
  bool DirtyListOverflowed() const { return core_.DirtyOverflowed(); }
  void EraseDirtyRects(platform::HDC dc, platform::HDC background) const { core_.EraseDirtyRects(dc, background); }
  int32_t CountChangedCards(int32_t place) const;
  bool GetChangedCardRect(int32_t place, int32_t card, platform::RECT* out) const;
  void ClearChangedFlags();
  bool GetChangedRestRect(int32_t seat, platform::RECT* out) const;
  // The n-th (1-based) changed card of the place that is in flight; place 8 the moving community card.
  bool GetMovingCardRect(int32_t place, int32_t n, platform::RECT* out) const;
  int32_t GetCardCount(int32_t place) const;
  // Where the card lies at rest in its seat's present layout (place 8: the community card's place).
  bool GetRestRect(int32_t place, int32_t card, platform::RECT* out) const;
  // Marks for drawing the cards of the place that the rectangle touches, and the cards above them.
  void MarkOverlapping(int32_t place, const platform::RECT& rect);
  // Seat, or -1 for all: dimmed cards are shown plain again.
  void Undim(int32_t seat);
  int32_t GetShowdownReason() const { return showdown_reason_; }
  int32_t GetLastDimmedIndex() const { return last_dimmed_; }

  // ---- Queries --------------------------------------------------------------------------------------
  int32_t GetCardState(int32_t place, int32_t card) const;
  int32_t GetCardValue(int32_t place, int32_t card) const;
  uint8_t GetSeatLayout(int32_t seat) const { return SeatInRange(seat) ? seats_[seat].layout_select : 0; }
  bool IsCardDirty(int32_t place, int32_t card) const;

 private:
  struct Card {
    uint8_t state = kResting;
    double clock = 0.0;
    int32_t x = 0;
    int32_t y = 0;
    int32_t slot = -1;
    bool turning = false;
    bool dirty = false;
    bool changed = false;
    platform::RECT rect{-1, -1, -1, -1};
  };
  struct Seat {
    uint8_t layout_select = 1;
    SevenCardsSeatLayout closed{};
    SevenCardsSeatLayout open{};
    int32_t count = 0;
    uint8_t values[kMaxCards] = {kFaceDown, kFaceDown, kFaceDown, kFaceDown, kFaceDown, kFaceDown, kFaceDown};
    Card cards[kMaxCards];
    double flight_time = 0.0;
    bool mirror = false;
    int32_t gather = 0;
    int32_t last = 0;
    bool folding = false;
    platform::POINT fold_from{0, 0};
    bool show = false;
    int32_t lift = 0;
    bool listed = false;       // named by the running showdown
    bool winning[kMaxCards] = {};
  };
  struct Community {
    bool present = false;
    uint8_t value = kFaceDown;
    Card card;
    platform::POINT rest{0, 0};
  };

  static bool SeatInRange(int32_t seat) { return seat >= 0 && seat < kSeats; }
  bool CardInRange(int32_t seat, int32_t card) const {
    return SeatInRange(seat) && card >= 0 && card < seats_[seat].count;
  }
  int32_t CardWidth() const { return core_.CardSize().cx; }
  int32_t CardHeight() const { return core_.CardSize().cy; }
  platform::POINT LayoutPlace(const Seat& seat, uint8_t select, int32_t card) const;
  platform::POINT LayoutPlace(const Seat& seat, int32_t card) const {
    return LayoutPlace(seat, seat.layout_select, card);
  }
  platform::RECT PresentRect(int32_t seat, int32_t card) const;
  platform::RECT CommunityRect() const;
  platform::RECT SeatUnionRect(const Seat& seat) const;
  bool StoreStart(Kind kind, bool post, platform::HWND window, platform::UINT message, platform::WPARAM wparam,
                  platform::LPARAM lparam);
  void LayCardsAtRest(Seat& seat);
  // Queues the card's last rectangle as erase-only, marks what it overlapped and the card itself.
  void Touch(int32_t seat, Card& card);
  void TouchCommunity();
  void Queue(const platform::RECT& rect, int32_t place, bool erase_only);
  bool MarkSeatOverlap(int32_t seat, const platform::RECT& rect, bool stop_at_left_edge);
  void MarkAfterQueue(int32_t place, const platform::RECT& rect);
  void MarkAllDirty();
  void MarkFromCard(Seat& seat, int32_t card);
  void PrepareFold(int32_t seat);
  void BeginFold(double delay);
  void UndimSeat(Seat& seat);

  void StepDeal(double seconds);
  void StepFold(double seconds);
  void StepPiles(double seconds);
  void StepShow(double seconds);
  void StepShowdown(double seconds);
  void StepCommunityIn(double seconds);
  void EndAnimation();
  void RenderFlight(int32_t seat_index, Card& card, uint8_t value, double part, platform::POINT from,
                    platform::POINT to, int32_t size_percent, bool turn);

  CardAnimation core_;
  SevenCardsAnimatorParameters parameters_;
  Seat seats_[kSeats];
  Community community_;
  bool idle_ = true;
  Kind kind_ = kIdle;
  int32_t phase_ = 0;
  double clock_ = 0.0;
  double showdown_clock_ = 0.0;
  double lift_time_ = 0.0;
  double dim_delay_ = 0.0;
  bool dim_ = false;
  int32_t previous_showdown_seats_ = 0;
  int32_t showdown_reason_ = 0;
  int32_t last_dimmed_ = -1;
};
