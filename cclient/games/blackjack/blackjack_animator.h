// Every card on a Black Jack table, and its animations: the deal out of the shoe at the top
// right (each card sliding out of the shoe, then flying to its place, growing, turning level and
// turning face up on the way), one card added to a hand, the dealer peeking at the hole card and
// revealing it, a split hand spreading into two, and the collect that gathers each hand into a
// pile, joins a split seat's piles and flies them into the discard tray.
//
// It knows nothing of packets or rules. The table sets it up once, starts animations from its
// packet loop, advances it once per frame (Step), erases the rectangles it queues, draws it (Draw)
// and presents the rectangles it erased and drew. When an animation ends, Step posts the message
// given to its starter (the table passes 8000).
//
// Positions: seats 0 to n - 1, one of them the dealer (the table: five seats and the dealer at 5).
// Each holds two hands of up to 15 cards (values 0-51, -1 face down); a seat plays its second
// hand only once it has split. A card's place is its hand layout's origin for the hand's size
// plus the card's offset (blackjack_layout); the single hand and the two split hands each have
// their layout.
//
// Card states: -1 gone into the tray, 0 waiting or sliding out of the shoe, 1 flying (the hole
// card: turning on a reveal), 2 at rest, 3 gathering into a pile, 4 the pile flying to the tray,
// 5 peeking.
//
// Dirty list: up to 30 rectangles (seat, and a flag: 1 for a moving card's last place, 0 for a
// hand's area). A rectangle that is empty or lies inside a queued one is not added; one more than
// the list holds marks it overflowed: every card is then marked for drawing and the table must
// redraw everything. The table empties it every frame.
//
// Every starter refuses (false) unless the animator is idle; indexes are checked by every call.
// UI thread only.
#pragma once

#include <cstdint>
#include <vector>

#include "cclient/games/blackjack/blackjack_layout.h"
#include "cclient/games/blackjack/blackjack_motion.h"
#include "cclient/widgets/bitmap_file.h"
#include "cclient/widgets/card_animation.h"
#include "cclient/widgets/card_sheet.h"
#include "cclient/widgets/transparent_draw.h"
#include "platform/draw/gdi.h"
#include "platform/window/window_types.h"

// A seat's times (seconds) and the points of its flights and collect (percent).
struct BlackJackSeatTimes {
  double flight = 0.3;
  double rotation_end = 15;
  double turn_start = 25;
  double turn_span = 40;
  double growth_span = 100;
  double collect = 0.3;
  double collect_turn_start = 10;
  double collect_turn_span = 50;
  double warp_start = 70;
};

// The shoe, the tray and the reveal, in the order of BlackJackAnimator::SetParameters.
struct BlackJackAnimatorParameters {
  platform::POINT shoe_exit{567, 70};     // where a card comes out (top-left at shoe size)
  platform::POINT flight_start{543, 106};  // where its flight begins
  double start_size = 78.5;                // percent
  double start_angle = -57.0;              // degrees
  platform::COLORREF card_key = 0x00FF00;
  const char* shoe_file = "5502.b";
  platform::POINT shoe{563, 56};
  platform::COLORREF shoe_key = 0xFFFFFF;
  platform::POINT tray{164, 46};
  double tray_shape[5] = {9.0, 47.0, 0.0, 49.0, 48.0};  // top offset, top length, bottom offset, bottom length, height
  int32_t reveal_drop = 45;
  double reveal_seconds = 0.5;
};

class BlackJackAnimator {
 public:
  static constexpr int32_t kMaxCards = blackjack_layout::kMaxCards;
  static constexpr int32_t kWorkSlots = 6;
  static constexpr int32_t kDirtyCapacity = 30;
  static constexpr int32_t kFaceDown = -1;
  static constexpr int32_t kPeekLift = -22;

  enum Kind : int32_t { kIdle = 0, kDealOrAdd = 1, kPeek = 2, kReveal = 3, kCollect = 4 };
  enum SubKind : int32_t { kNoSubKind = 0, kDealing = 1, kAddingFirst = 2, kAddingSecond = 3 };
  enum CardState : int32_t {
    kGone = -1,
    kWaiting = 0,
    kFlying = 1,
    kResting = 2,
    kGathering = 3,
    kPileFlying = 4,
    kPeeking = 5,
  };

  BlackJackAnimator();
  ~BlackJackAnimator();
  BlackJackAnimator(const BlackJackAnimator&) = delete;
  BlackJackAnimator& operator=(const BlackJackAnimator&) = delete;

  // ---- Set-up, in this order ---------------------------------------------------------------------
  void SetTransparentDraw(TransparentDraw* draw) { core_.SetTransparentDraw(draw); }
  // n positions, each with a single hand and no cards.
  void CreateSeats(int32_t count);
  // The seat's three hand layouts and times; a set dealer flag makes it the dealer's position.
  void SetSeat(int32_t seat, bool dealer, const blackjack_layout::PositionCards& tables, const BlackJackSeatTimes& times);
  void SetTimes(double slide, double card_gap, double collect_phase);
  // Loads the shoe picture (false when it does not load: nothing is drawn over a leaving card).
  bool SetParameters(const BlackJackAnimatorParameters& parameters);
  // Loads "cardbacs.b", attaches the card sheet for cards at rest and makes the six work bitmaps
  // (see CardAnimation::Setup). False when the back does not load.
  bool Setup(platform::HDC dc, const CardSheet* sheet, int32_t min_width, int32_t min_height);
  // Frees the shoe picture and the work bitmaps, the collect selection, the seats.
  void Release(bool bitmaps, bool selection, bool seats);

  // ---- Hands (refused while animating) --------------------------------------------------------------
  // Lays the hand's cards at rest when they differ from what is shown (or the count does).
  bool SetHand(int32_t seat, int32_t hand, int32_t count, const int32_t* values);
  // Lays the seat's hands out as a split pair (or as one hand); its cards stay.
  bool SetSplit(int32_t seat, bool split);
  // Every hand empty, every seat single, any animation stopped without its message.
  void ClearAllHands();
  // A single two-card hand of a seat (not the dealer's) becomes two one-card hands.
  bool SplitHand(int32_t seat);
  // Both hands empty, the seat single again.
  bool JoinHands(int32_t seat);
  int32_t GetCard(int32_t seat, int32_t hand, int32_t index) const;
  int32_t GetCardCount(int32_t seat, int32_t hand) const;
  bool IsSplit(int32_t seat) const;
  int32_t GetCardState(int32_t seat, int32_t hand, int32_t index) const;
  bool IsIdle() const { return kind_ == kIdle; }
  Kind GetKind() const { return kind_; }
  SubKind GetSubKind() const { return sub_kind_; }

  // ---- Geometry for the labels ------------------------------------------------------------------------
  // Of the hand's last card in the single (split false) or split layout; -1 for a seat out of range.
  int32_t GetLastCardX(bool split, int32_t seat, int32_t hand) const;
  int32_t GetLastCardY(bool split, int32_t seat, int32_t hand) const;
  // The middle of the hand's cards across.
  int32_t GetHandCentreX(bool split, int32_t seat, int32_t hand) const;
  int32_t GetCardHeight() const { return core_.CardSize().cy; }
  // Where card `index` of a hand of `count` cards rests.
  platform::POINT PlaceOf(int32_t seat, int32_t hand, int32_t count, int32_t index) const;

  // ---- Starters ---------------------------------------------------------------------------------------
  // Deals counts[s] cards (values[s]) to the first hand of each position, two rounds from the
  // start seat (downward with `reverse`), the dealer last in each round, a card gap apart, the first
  // after `delay`. Refused when any hand holds cards or no count is above 0.
  bool StartDeal(const int32_t* counts, const int32_t (*values)[kMaxCards], bool reverse, int32_t start_seat,
                 double delay, bool post, platform::HWND window, platform::UINT message, platform::WPARAM wparam,
                 platform::LPARAM lparam);
  // One card to a hand (the second only of a split seat), flying for the seat's flight time scaled
  // by its distance over the distance to the hand's first place.
  bool StartAddCard(bool second_hand, int32_t seat, int32_t value, bool post, platform::HWND window,
                    platform::UINT message, platform::WPARAM wparam, platform::LPARAM lparam);
  // Collects the hands whose selection byte is set (selection[hand][seat]; every hand with cards
  // when null). False, with nothing started and nothing posted, when no hand with cards is taken.
  bool StartCollect(const uint8_t* const* selection, bool post, platform::HWND window, platform::UINT message,
                    platform::WPARAM wparam, platform::LPARAM lparam);
  bool StartCollectHand(int32_t seat, int32_t hand, bool post, platform::HWND window, platform::UINT message,
                        platform::WPARAM wparam, platform::LPARAM lparam);
  // Both only when the dealer's hand holds exactly two cards, the second face down and at rest.
  bool StartPeek(double move_seconds, double hold_seconds, bool post, platform::HWND window, platform::UINT message,
                 platform::WPARAM wparam, platform::LPARAM lparam);
  bool StartReveal(int32_t value, bool post, platform::HWND window, platform::UINT message, platform::WPARAM wparam,
                   platform::LPARAM lparam);

  // ---- Frame ------------------------------------------------------------------------------------------
  // Advances the running animation; nothing when seconds is not above 0, when idle, or with no card
  // on the table. `dc` is where the cards will be drawn (the frames are measured against it).
  void Step(platform::HDC dc, float seconds);
  // Draws every card marked for drawing, and every card above one drawn or over a queued
  // rectangle, then the shoe over a card leaving it. Records what it drew (DrawnCount, DrawnAt).
  void Draw(platform::HDC dc);
  int32_t DrawnCount() const { return static_cast<int32_t>(drawn_.size()); }
  platform::RECT DrawnAt(int32_t index) const;

  // ---- Rectangles (inclusive right and bottom; -1 all round when none) --------------------------------
  int32_t GetDirtyCount() const { return core_.DirtyCount(); }
  bool GetDirtyRect(int32_t index, platform::RECT* out, int32_t* seat, int32_t* flag) const;
  bool DirtyListOverflowed() const { return core_.DirtyOverflowed(); }
  void EraseDirtyRects(platform::HDC dc, platform::HDC background) const { core_.EraseDirtyRects(dc, background); }
  void ClearDirtyList() { core_.ClearDirty(); }
  bool GetCardRect(int32_t seat, int32_t hand, int32_t card, platform::RECT* out) const;
  // The n-th (1-based) changed card of the hand.
  bool GetChangedCardRect(int32_t seat, int32_t hand, int32_t n, platform::RECT* out) const;
  bool GetHandChangedRect(int32_t seat, int32_t hand, platform::RECT* out) const;
  bool GetHandRect(int32_t seat, int32_t hand, platform::RECT* out) const;
  void ClearChangedFlags();
  void MarkHandDirty(int32_t seat, int32_t hand);
  // Marks for drawing every card the rectangle touches (something over or under it changed).
  void Invalidate(const platform::RECT& rect);
  bool IsCardDirty(int32_t seat, int32_t hand, int32_t card) const;

 private:
  struct Card {
    int32_t state = kResting;
    double clock = 0.0;
    int32_t x = 0;
    int32_t y = 0;
    int32_t slot = -1;
    blackjack_motion::Look look;  // of a card drawn from a work slot
    int32_t sprite = kFaceDown;   // the side the slot shows
    platform::SIZE size{0, 0};    // of that rendering
    bool dirty = false;
    bool changed = false;
    platform::RECT rect{-1, -1, -1, -1};  // where it was last drawn
    platform::POINT from{0, 0};           // where a gather or join began
  };
  struct Hand {
    int32_t count = 0;
    int32_t values[kMaxCards] = {};
    Card cards[kMaxCards];
  };
  struct Seat {
    bool dealer = false;
    bool single = true;
    blackjack_layout::PositionCards tables{};
    BlackJackSeatTimes times;
    Hand hands[2];
    double flight_time = 0.3;
  };

  bool SeatInRange(int32_t seat) const { return seat >= 0 && seat < static_cast<int32_t>(seats_.size()); }
  static bool HandInRange(int32_t hand) { return hand == 0 || hand == 1; }
  bool CardInRange(int32_t seat, int32_t hand, int32_t card) const {
    return SeatInRange(seat) && HandInRange(hand) && card >= 0 && card < seats_[seat].hands[hand].count;
  }
  const blackjack_layout::HandTable& TableOf(const Seat& seat, bool split, int32_t hand) const;
  platform::POINT RestPlace(int32_t seat, int32_t hand, int32_t card) const;
  platform::RECT RestRect(int32_t seat, int32_t hand, int32_t card) const;
  platform::RECT PresentRect(int32_t seat, int32_t hand, int32_t card) const;
  platform::RECT HandArea(int32_t seat, int32_t hand) const;
  bool AnyCards() const;
  bool StoreStart(Kind kind, SubKind sub_kind, bool post, platform::HWND window, platform::UINT message,
                  platform::WPARAM wparam, platform::LPARAM lparam);
  void Queue(const platform::RECT& rect, int32_t seat, int32_t flag);
  void QueueHand(int32_t seat, int32_t hand);
  void Touch(int32_t seat, Card& card);
  void MarkAll();
  void LayAtRest(int32_t seat, int32_t hand);
  void EndAnimation();

  platform::POINT ShoeCardCentre(platform::POINT top_left) const;
  platform::POINT CentreOf(platform::POINT top_left) const;
  // Measures the card's slot rendering and places it centred on `centre`; false without a slot.
  bool PlaceInSlot(platform::HDC dc, Card& card, int32_t sprite, const blackjack_motion::Look& look,
                   platform::POINT centre);
  int32_t RenderSlot(platform::HDC dc, const Card& card, bool measure_only, platform::SIZE* out);
  void StepDeal(platform::HDC dc, double seconds);
  bool StepCard(platform::HDC dc, int32_t seat, int32_t hand, int32_t index, double seconds);
  void StepPeek(double seconds);
  void StepReveal(platform::HDC dc, double seconds);
  void StepCollect(platform::HDC dc, double seconds);
  void FinishGather();
  void FinishJoin();
  void DrawCard(platform::HDC dc, int32_t seat, int32_t hand, int32_t index);

  CardAnimation core_;
  std::vector<Seat> seats_;
  std::vector<uint8_t> selection_[2];
  int32_t dealer_ = -1;
  BlackJackAnimatorParameters parameters_;
  BitmapFile shoe_;
  bool shoe_over_card_ = false;  // a card slid under the shoe this frame: draw the shoe over it
  double slide_seconds_ = 0.1;
  double card_gap_ = 0.2;
  double collect_phase_ = 0.2;
  Kind kind_ = kIdle;
  SubKind sub_kind_ = kNoSubKind;
  double clock_ = 0.0;  // of a peek, reveal or collect
  int32_t collect_stage_ = 0;
  double peek_move_ = 0.0;
  double peek_hold_ = 0.0;
  int32_t reveal_value_ = kFaceDown;
  std::vector<platform::RECT> drawn_;
};

// Sets the animator up as the Black Jack table uses it: six positions (seats 0-4 and the dealer
// at 5) with the table's card places, flight and collect times of 0.3 s times each position's
// distance factor, the times 0.1, 0.2 and 0.2 s, the shoe "5502.b" and the tray, and work
// bitmaps of at least 78 x 102. False when the card back does not load.
bool BlackJackAnimator_SetUpTable(BlackJackAnimator* animator, TransparentDraw* draw, platform::HDC dc,
                                  const CardSheet* sheet);
