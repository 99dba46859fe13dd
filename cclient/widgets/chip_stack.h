// An amount of money at a table shown as piles of chips with a money label, and its animations:
// a flight from home to a place (bets to the pot, the pot to a winner), a collect into the table's
// slot, and a sink chip by chip below that slot. Every seat, bet and pot of the poker tables is a
// chip stack; the end of an animation is posted to the table window.
//
// Frame protocol, each tick: Update (seconds), Erase (restores the rectangles saved this frame),
// Draw (paints when marked; call it every tick, it also closes the frame), GetDirtyRects.
// Changes of amount and position and new animations are refused (false) while a move or a sink
// runs; an empty stack (amount below 1) neither animates nor draws.
//
// Rectangles are inclusive of right and bottom; a saved or reported rectangle of -1s means none.
// The stack keeps pointers to the ChipImages given to Init; they must outlive it. UI thread only.
#pragma once

#include <cstdint>
#include <vector>

#include "cclient/widgets/chip_image.h"
#include "platform/draw/gdi.h"
#include "platform/text/text.h"
#include "platform/window/window_types.h"

class ChipStack {
 public:
  static constexpr int32_t kMaxKinds = 32;
  static constexpr int32_t kLabelSize = 32;

  ChipStack();
  ~ChipStack();
  ChipStack(const ChipStack&) = delete;
  ChipStack& operator=(const ChipStack&) = delete;

  // ---- Set-up ----
  // Keeps the pictures with a value above 0 as the chip kinds, sorted by value, largest first
  // (equal values keep their order), and a value-0 picture as the marker. `multiples` (or none)
  // holds a group multiple per picture. Max piles is capped at the kind count.
  void Init(int32_t kind_count, ChipImage* const* images, int32_t min_step_x, int32_t min_step_y,
            const int32_t* multiples, int32_t max_piles, int32_t max_single_pile_chips);
  // Pile offsets: x_tables[k - 1] and y_tables[k - 1] hold the k offsets of a k-item layout, for
  // k = 1 up to max piles + 1 (as ChipLayout_FillTable makes them). Ignored in single-pile mode.
  void SetLayout(const int32_t* const* x_tables, const int32_t* const* y_tables, int32_t chip_step_x,
                 int32_t chip_step_y, int32_t label_mode);
  void SetChipStep(int32_t x, int32_t y);
  void SetPileMode(bool single_pile, bool keep_kind_order);
  void SetUseMultiples(bool use);
  void EnableRemainderChip();
  // Only with a marker in single-pile mode; else false.
  bool SetMarkerOffset(int32_t x, int32_t y, bool under);
  void SetMarkerApart(bool apart);
  // The side of the chips the label sits on, by the signs of dx and dy; (0, 0) is ignored.
  void SetLabelSide(int32_t dx, int32_t dy, bool show);
  void SetLabelCharSize(int32_t char_width, int32_t char_height);
  void SetLabelColours(platform::COLORREF normal, platform::COLORREF pulse);
  void SetLabelBackground(bool transparent, platform::COLORREF colour);
  void ShowLabel(bool show);
  void SetWholeUnits(bool whole_units);
  // The label of a move started with the pulse flag: for (1 + extra) x the move's time it is drawn
  // in `font` in the pulse colour, its height stepping through sizes[2 x i + 1] (a negative
  // sizes[2 x i] means the plain font) for percents[i] of that time.
  void SetLabelPulse(const platform::LOGFONT& font, float extra, int32_t count, const int32_t* sizes,
                     const int32_t* percents);
  void SetCollectSlot(int32_t left, int32_t top, int32_t right, int32_t bottom);
  void SetAlwaysRedraw(bool always) { always_redraw_ = always; }

  // ---- Amount and position (false while moving) ----
  bool SetAmount(int32_t cents);
  bool AddAmount(int32_t cents);
  bool SetPosition(int32_t x, int32_t y);
  bool SetDrawPosition(int32_t x, int32_t y);
  bool ReturnHome();

  int32_t GetAmount() const { return amount_; }
  int32_t GetX() const { return x_; }
  int32_t GetY() const { return y_; }
  int32_t GetHomeX() const { return home_x_; }
  int32_t GetHomeY() const { return home_y_; }
  bool IsIdle() const { return !moving_; }
  int32_t GetPileCount() const { return pile_count_; }
  int32_t GetChipCount() const;
  platform::RECT GetLabelRect() const { return label_rect_; }
  uint32_t GetLabelFormat() const { return label_format_; }
  const char* GetLabelText() const { return label_text_; }
  // The chips of the layout by kind (largest value first), the marker's count after them.
  int32_t GetKindCount(int32_t kind) const;
  int32_t GetKindValue(int32_t kind) const;
  // Spreads an amount over up to max_parts parts, a part per chip kind that takes a count
  // (largest first, by group multiples); what no part takes goes into the next free part, or
  // onto the last. Returns the number of parts written.
  int32_t SplitAmount(int32_t cents, int32_t max_parts, int32_t* parts) const;

  // ---- Animations ----
  // Flies from home to (x, y) in `duration` seconds after `delay`; at the first tick after the
  // arrival stops there and, with `post`, posts (message, wparam, lparam) to the window. A
  // negative delay puts the stack there at once and returns false. False while moving or empty.
  bool StartMove(int32_t x, int32_t y, float duration, float delay, bool post, platform::HWND window,
                 platform::UINT message, platform::WPARAM wparam, platform::LPARAM lparam, bool pulse,
                 bool keep_label);
  // Ends a move or a sink where the stack stands; hides the label unless the move keeps it.
  void StopMove();
  // Hides the label and moves to the collect slot's top-left corner.
  bool StartCollect(float duration, float delay, bool post, platform::HWND window, platform::UINT message,
                    platform::WPARAM wparam, platform::LPARAM lparam);
  // Lets the chips sink, one pile, below the collect slot's bottom line, then empties the stack.
  bool StartSink(double delay, double seconds_per_chip, bool post, platform::HWND window, platform::UINT message,
                 platform::WPARAM wparam, platform::LPARAM lparam);
  bool HasPendingMessage() const { return moving_ && post_; }
  int32_t GetSinkState() const { return sink_state_; }

  // ---- Frame protocol ----
  void Update(float seconds);
  bool Erase(platform::HDC destination, platform::HDC background, platform::RECT* chips_out,
             platform::RECT* label_out);
  bool NeedsRedraw() const { return amount_ >= 1 && marked_; }
  bool Draw(platform::HDC dc);
  bool GetDirtyRects(platform::RECT* chips_out, platform::RECT* label_out) const;
  bool GetStackRect(platform::RECT* out) const;
  void GetRects(platform::RECT* chips_out, platform::RECT* label_out) const;
  // Marks the stack for drawing; with `save`, once per frame, remembers where its chips and its
  // label stand now so that Erase can restore them.
  void Invalidate(bool save);
  void MarkDirty() { Invalidate(false); }

 private:
  void Relayout();
  void BreakDown(int64_t* remaining);
  void LayOutSinglePile(bool remainder_left);
  void LayOutPiles(bool remainder_left);
  void ComputeChipsRect();
  void PlaceLabel();
  void WriteLabelText();
  bool LabelVisible() const;
  void Paint(platform::HDC dc);
  void PaintPiles(platform::HDC dc);
  void PaintSinglePile(platform::HDC dc);
  void PaintLabel(platform::HDC dc);
  void UpdateSink(float seconds);
  void Finish();  // posts the end message when asked
  platform::RECT Screen(const platform::RECT& relative) const;
  // Each picture to paint for the current layout, relative to the position, in painting order.
  struct Placed {
    ChipImage* image;
    int32_t x;
    int32_t y;
  };
  void ListPictures(std::vector<Placed>* out) const;

  // Kinds, largest value first; the marker (if any) after them in kinds_[kind_count_].
  int32_t kind_count_ = 0;
  ChipImage* kinds_[kMaxKinds + 1] = {};
  int32_t values_[kMaxKinds] = {};
  int32_t multiples_[kMaxKinds] = {};
  bool has_marker_ = false;
  bool use_multiples_ = false;
  int32_t chip_width_ = 0;
  int32_t chip_height_ = 0;

  // layouts_x_[k - 1] holds the k offsets of a k-item layout.
  std::vector<std::vector<int32_t>> layouts_x_;
  std::vector<std::vector<int32_t>> layouts_y_;
  int32_t step_x_ = 0;
  int32_t step_y_ = 0;

  int32_t home_x_ = 0, home_y_ = 0, x_ = 0, y_ = 0;
  int32_t amount_ = 0;

  int32_t counts_[kMaxKinds + 1] = {};  // the marker's count last
  int32_t pile_order_[kMaxKinds] = {};  // kind index per pile
  int32_t pile_count_ = 0;
  bool marker_shown_ = false;
  int32_t max_piles_ = 0;
  int32_t max_single_ = 0;

  bool single_pile_ = false;
  bool keep_kind_order_ = false;
  bool remainder_chip_ = false;
  bool marker_under_ = false;
  bool marker_apart_ = true;
  int32_t marker_offset_x_ = 0, marker_offset_y_ = 0;

  // The move.
  int32_t target_x_ = 0, target_y_ = 0;
  float delay_ = 0, duration_ = 0, elapsed_ = 0;
  bool moving_ = false;
  bool arrived_ = false;  // the position reached the target at an earlier tick
  bool post_ = false;
  platform::HWND window_ = nullptr;
  platform::UINT message_ = 0;
  platform::WPARAM wparam_ = 0;
  platform::LPARAM lparam_ = 0;
  bool keep_label_ = false;
  bool pulse_ = false;

  // The label.
  char label_text_[kLabelSize] = {};
  platform::RECT label_rect_{-1, -1, -1, -1};
  uint32_t label_format_ = 0;
  bool show_label_ = false;
  int32_t side_dx_ = 0, side_dy_ = -2;
  int32_t char_width_ = -1, char_height_ = -1;
  platform::COLORREF colour_ = 0xEEEEEE, pulse_colour_ = 0xEEEEEE;
  bool label_transparent_ = true;
  platform::COLORREF label_background_ = 0;
  bool whole_units_ = false;
  bool label_visible_while_moving_ = false;

  // The label pulse.
  bool pulse_set_ = false;
  platform::LOGFONT pulse_font_{};
  float pulse_factor_ = 1;
  std::vector<int32_t> pulse_sizes_;
  std::vector<int32_t> pulse_percents_;
  int32_t pulse_step_ = -1;  // -1: no pulse font

  int32_t min_step_x_ = 0, min_step_y_ = 0;

  // Drawing.
  platform::RECT chips_rect_{-1, -1, -1, -1};  // relative to the position
  platform::RECT saved_chips_{-1, -1, -1, -1};  // screen
  platform::RECT saved_label_{-1, -1, -1, -1};
  bool marked_ = true;
  bool saved_this_frame_ = false;
  bool erased_this_frame_ = false;
  bool label_drawn_ = false;
  bool drew_marked_ = false;
  bool always_redraw_ = true;

  platform::RECT collect_{0, 0, 0, 0};

  // The sink.
  int32_t sink_state_ = 0;
  bool sink_started_ = false;
  double sink_delay_ = 0, seconds_per_chip_ = 0, sink_timer_ = 0, sink_elapsed_ = 0, sink_duration_ = 0;
  int32_t sink_distance_ = 0;
  int32_t chips_hidden_ = 0;
  int32_t sink_start_x_ = 0, sink_start_y_ = 0;
};
