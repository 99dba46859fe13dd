// The cards of a group of seats (player hands, or board cards as seats of one card each): their
// faces, face-up state and screen rectangles, and the deal that flies them from a deck position to
// their places in passes around the table. When a deal ends the dealer posts its owner a window
// message (the games post 9000, Black Jack 8000, with the animation's kind as wParam), which is
// how a game's packet loop learns that the animation is over.
//
// Each seat has a card origin on the normal layout and one on the alternative layout (a seat
// showing cards face up: the local player's hand drawn larger); a seat's card j rests at its
// origin plus j steps of that layout.
//
// Frame protocol, per card: Update (seconds) advances the deal and marks the cards that move;
// EraseCards copies the background over the cards to erase (marking the cards they overlapped);
// Draw paints the cards that need it through a CardPainter and records their rectangles;
// GetChangedCardRect / GetSeatEraseRect give the owner the rectangles to present, and
// ClearChangedFlags ends the frame. Rectangles are inclusive (right = x + width - 1); a rectangle
// with left >= right is empty.
//
// Seat and card indexes from callers are checked: an index out of range is refused (false, -1 or
// nothing). Time is float seconds summed per tick. UI thread only.
#pragma once

#include <cstdint>
#include <vector>

#include "cclient/widgets/card_painter.h"
#include "platform/draw/gdi.h"
#include "platform/window/window_types.h"

// Everything a dealer is made with, in the order the games give it.
struct CardDealerSetup {
  bool more_deals_allowed = false;
  // 1: one deck position for all seats; otherwise one per seat.
  int32_t deck_origin_count = 1;
  const int32_t* deck_x = nullptr;
  const int32_t* deck_y = nullptr;
  int32_t seat_count = 0;
  const int32_t* seat_x = nullptr;
  const int32_t* seat_y = nullptr;
  int32_t step_x = 0;
  int32_t step_y = 0;
  // Null: each seat's alternative x is its x less the alternative step for seats right of their
  // deck origin, else its x. Null y: the seats' y array itself serves as the alternative y.
  const int32_t* alt_x = nullptr;
  const int32_t* alt_y = nullptr;
  int32_t alt_step_x = 0;
  int32_t alt_step_y = 0;
  int32_t cards_per_seat = 0;
  int32_t deal_passes = 1;
  bool fly_face_down = false;
  bool stop_at_end = false;
  bool reverse_order = false;
  bool constant_flight = false;
  float flight_time = 0.0f;
  float seat_gap = 0.0f;
  float card_gap = 0.0f;
  float pass_gap = 0.0f;
};

class CardDealer {
 public:
  explicit CardDealer(const CardDealerSetup& setup);
  CardDealer(const CardDealer&) = delete;
  CardDealer& operator=(const CardDealer&) = delete;

  // ---- Geometry ---------------------------------------------------------------------------
  // Each array holds one entry per deck origin or seat. All return true.
  bool SetDeckOrigins(const int32_t* x, const int32_t* y);
  bool SetSeatOrigins(const int32_t* x, const int32_t* y);
  bool SetAltSeatOrigins(const int32_t* x, const int32_t* y);
  bool SetFlightTime(float seconds);
  void SetRedrawAll(bool on) { redraw_all_ = on; }
  void SetForceAltLayout(bool on) { force_alt_layout_ = on; }
  // The row below which the seat's cards are not painted; -1 paints whole cards.
  void SetSeatClipY(int32_t seat, int32_t y);

  // ---- Hands --------------------------------------------------------------------------------
  // Three [seat][card] tables, seat-major, each optional (none: all face down, all faces -1, all
  // slots empty). The hands are set and no deal is started.
  void SetHands(const uint8_t* face_up, const int32_t* faces, const uint8_t* empty);
  // Deals every present card from `start_seat` (-1: the last seat in reverse order, else seat 0)
  // after `delay` seconds; at the end, with `post`, posts (message, wparam, lparam) to `window`.
  // A negative delay puts every card in place at once and posts nothing. With `repaint_present`
  // every present card is to be repainted; without it every card forgets its rectangle. False
  // without hands, while a deal is started and not stopped, or for a start seat out of range.
  bool StartDeal(int32_t start_seat, float delay, bool post, platform::HWND window, uint32_t message,
                 platform::WPARAM wparam, platform::LPARAM lparam, bool repaint_present);
  // Later streets: for entry i, slots first[i] (none: 0) to last[i] (none: the last) of seat
  // seats[i] get new cards, dealt as StartDeal deals. Only with more deals allowed, after a
  // started deal finished, and with every index in range.
  bool DealMore(int32_t count, const int32_t* seats, const int32_t* first_cards, const int32_t* last_cards,
                int32_t start_seat, float delay, bool post, platform::HWND window, uint32_t message,
                platform::WPARAM wparam, platform::LPARAM lparam);
  // Ends the deal state without posting; with `repaint` every present card is marked first.
  void Stop(bool repaint);
  // Ends a running deal: the next Update puts every card in place without posting.
  void Finish();
  bool IsStarted() const { return started_; }
  bool IsIdle() const { return finished_ || !started_; }
  bool HasPendingMessage() const { return started_ && !finished_ && post_; }
  bool PlaceAllCards(int32_t seat) { return PlaceCards(seat, 0, cards_per_seat_ - 1); }
  // Fills the empty slots first..last, in place. Refused without hands, during a deal, or when a
  // slot before `first` is empty.
  bool PlaceCards(int32_t seat, int32_t first, int32_t last);
  // Empties the seat's slots from `from_card` on, marking them for erasing.
  bool RemoveCards(int32_t seat, int32_t from_card);
  void SetCardFace(int32_t seat, int32_t card, int32_t face);
  void TurnFaceUp(int32_t seat) { TurnSeat(seat, true); }
  void TurnFaceDown(int32_t seat) { TurnSeat(seat, false); }

  bool IsFaceUp(int32_t seat, int32_t card) const;
  int32_t GetCard(int32_t seat, int32_t card) const;
  bool HasCard(int32_t seat, int32_t card) const;
  int32_t GetCardCount(int32_t seat) const;
  int32_t GetCardX(int32_t seat, int32_t card) const;
  int32_t GetCardY(int32_t seat, int32_t card) const;
  bool UsesAltLayout(int32_t seat) const;
  bool IsCardInFlight(int32_t seat, int32_t card) const;
  bool IsHiddenCardAtRest(int32_t seat, int32_t card) const;

  // ---- Painting -----------------------------------------------------------------------------
  void Update(float seconds);
  int32_t EraseCards(platform::HDC destination, platform::HDC background);
  bool GetSeatEraseRect(int32_t seat, platform::RECT* out) const;
  bool GetCardEraseRect(int32_t seat, int32_t card, platform::RECT* out) const;
  // Paints the cards that need it, seats in `seat_order` (seat_count entries) or 0 .. n - 1:
  // cards in flight only with `draw_moving`, resting face-up cards only with `draw_face_up`,
  // other resting cards (as backs) only with `draw_face_down`. True when anything was painted.
  bool Draw(platform::HDC dc, const CardPainter* painter, bool draw_moving, bool draw_face_up, bool draw_face_down,
            const int32_t* seat_order);
  bool GetChangedCardRect(int32_t seat, int32_t card, platform::RECT* out) const;
  void ClearChangedFlags();
  void MarkCardDirty(int32_t seat, int32_t card);
  void ClearCardFlags(int32_t seat, int32_t card);
  void MarkOverlappingCards(int32_t seat, int32_t card);
  void MarkSeatDirty(int32_t seat);
  bool IsSeatDirty(int32_t seat) const;
  bool IsCardDirty(int32_t seat, int32_t card) const;
  bool GetCardRect(platform::RECT* out, int32_t seat, int32_t card) const;
  void SetCardRect(int32_t seat, int32_t card, int32_t left, int32_t top, int32_t right, int32_t bottom);
  // Where the card is now, for hit tests: false unless a deal started and the slot holds a card.
  bool GetCardScreenRect(int32_t seat, int32_t card, platform::RECT* out) const;

  // ---- Raising (Omaha: 10 pixels, 0.2 s) ------------------------------------------------------
  void SetRaiseParams(int32_t pixels, double seconds);
  void SetSeatRaise(int32_t seat, bool marked_up, bool others_down);
  void ClearRaiseMarks();
  // cards_per_seat marks for the seat.
  void SetRaiseMarks(int32_t seat, const uint8_t* marks);
  // Only after a finished deal: the face-up seats' marked cards rise and the others sink.
  bool StartRaise();

  int32_t SeatCount() const { return seat_count_; }
  int32_t CardsPerSeat() const { return cards_per_seat_; }

 private:
  struct Slot {
    uint8_t face_up = 0;
    uint8_t empty = 1;
    int32_t face = -1;
    float start_offset = 0.0f;  // minus the time after the deal's start at which the card leaves
    uint8_t arrived = 0;
    uint8_t redraw_pending = 0;
    uint8_t erase_pending = 0;
    uint8_t changed = 0;
    platform::RECT rect{-1, -1, -1, -1};
  };
  struct SeatRaise {
    uint8_t marked_up = 0;
    uint8_t others_down = 0;
    uint8_t active = 0;
    std::vector<uint8_t> marks;
    std::vector<platform::POINT> positions;
  };
  // What a card shows and where, as Draw would paint it now.
  struct Placement {
    int32_t x = 0;
    int32_t y = 0;
    int32_t face = -1;
    bool sheet_back = false;
    int32_t clip = -1;
    int kind = 0;  // 0 in flight, 1 face up at rest, 2 back at rest
  };

  bool SeatInRange(int32_t seat) const { return seat >= 0 && seat < seat_count_; }
  bool CardInRange(int32_t seat, int32_t card) const {
    return SeatInRange(seat) && card >= 0 && card < cards_per_seat_;
  }
  Slot& At(int32_t seat, int32_t card) { return slots_[static_cast<size_t>(seat * cards_per_seat_ + card)]; }
  const Slot& At(int32_t seat, int32_t card) const {
    return slots_[static_cast<size_t>(seat * cards_per_seat_ + card)];
  }
  int32_t DeckIndex(int32_t seat) const { return deck_origin_count_ == 1 ? 0 : seat; }
  int32_t AltY(int32_t seat) const { return alt_y_is_seat_y_ ? seat_y_[seat] : alt_y_[seat]; }
  bool DealRunning() const { return started_ && !finished_; }
  void ComputeFlightTimes();
  // The per-seat raise state, made on first use.
  void MakeRaiseState();
  void ScheduleDeal(int32_t start_seat);
  void StoreEndMessage(bool post, platform::HWND window, uint32_t message, platform::WPARAM wparam,
                       platform::LPARAM lparam);
  void UpdateDealing(float seconds);
  void UpdateRaising(float seconds);
  void EndDeal();
  void Settle();
  void TurnSeat(int32_t seat, bool face_up);
  float FlightFraction(int32_t seat, const Slot& slot) const;
  Placement PlaceFor(int32_t seat, int32_t card) const;
  bool DrawRaising(platform::HDC dc, const CardPainter* painter, const int32_t* seat_order);
  void RecordPainted(Slot& slot, int32_t x, int32_t y, platform::SIZE size);

  bool more_deals_allowed_;
  int32_t deck_origin_count_;
  std::vector<int32_t> deck_x_;
  std::vector<int32_t> deck_y_;
  int32_t seat_count_;
  std::vector<int32_t> seat_x_;
  std::vector<int32_t> seat_y_;
  int32_t step_x_;
  int32_t step_y_;
  std::vector<int32_t> clip_bottom_;
  std::vector<int32_t> alt_x_;
  std::vector<int32_t> alt_y_;
  bool alt_y_is_seat_y_;
  int32_t alt_step_x_;
  int32_t alt_step_y_;
  int32_t cards_per_seat_;
  int32_t deal_passes_;
  float flight_time_;
  float card_gap_;
  float pass_gap_;
  float seat_gap_;
  bool fly_face_down_;
  bool force_alt_layout_ = false;
  float delay_ = 0.0f;
  bool hands_set_ = false;
  bool started_ = false;
  bool finished_ = false;
  float elapsed_ = 0.0f;
  bool stop_at_end_;
  std::vector<float> seat_flight_;
  bool post_ = false;
  platform::HWND window_ = nullptr;
  uint32_t message_ = 0;
  platform::WPARAM wparam_ = 0;
  platform::LPARAM lparam_ = 0;
  bool reverse_order_;
  bool constant_flight_;
  std::vector<Slot> slots_;
  bool drawn_once_ = true;
  bool redraw_all_ = true;
  bool settled_ = false;
  int32_t mode_ = 0;  // 0 dealing, 1 raising
  int32_t raise_distance_ = 0;
  double raise_duration_ = 0.0;
  std::vector<SeatRaise> raise_;  // empty until first used
};
