// The tray of chips that slides up from the table's bottom edge while the player bets: a
// stretchable bar ("5200.b") with five chips standing on it, each drawn from a sheet that holds
// three cells per chip (normal, hovered, pressed). The selected chip (the value a press on the
// betting circle adds) is drawn from the second sheet.
//
// A chip is hit only strictly inside its cell (not on the cell's border). A chip is clicked when
// the button is pressed and released over the same chip; it then becomes the selected chip.
// While hidden or sliding the tray takes no input.
//
// The tray hides downward; no row at or below its hidden y is ever painted, and while it stands
// hidden it paints nothing. A hover or press change repaints only the chips whose look changed.
//
// Frame protocol, each tick: Update, Erase, Draw, GetDirtyRect. Rectangles are inclusive of right
// and bottom. UI thread only.
#pragma once

#include <cstdint>

#include "cclient/games/blackjack/capped_picture.h"
#include "cclient/widgets/bitmap_file.h"
#include "cclient/widgets/transparent_draw.h"
#include "platform/draw/gdi.h"

class ChipTray {
 public:
  static constexpr int32_t kMaxChips = 8;
  static constexpr int32_t kNoChip = -1;
  static constexpr int32_t kTrayNotChip = -2;
  enum class SlideState { kNone, kToHidden, kToShown };

  ChipTray() = default;
  ~ChipTray();
  ChipTray(const ChipTray&) = delete;
  ChipTray& operator=(const ChipTray&) = delete;

  void SetTransparentDraw(TransparentDraw* drawer) { drawer_ = drawer; }
  // nullptr, "already loaded before!" or "load failed by not finding Bar image file name".
  [[nodiscard]] const char* LoadBar(const char* file, int32_t left_cap, int32_t right_cap, platform::COLORREF key);
  // `count` chips with values in cents, standing at (xs[i], ys[i]) from the tray's top-left. The
  // sheets hold count x 3 cells side by side; a sheet that does not load draws nothing. nullptr,
  // "No chip is loaded" (count below 1) or "No chip value is offered!" (no values).
  [[nodiscard]] const char* LoadChips(int32_t count, const int32_t* values, const char* sheet,
                                      const char* second_sheet, const int32_t* xs, const int32_t* ys,
                                      platform::COLORREF key);
  // Puts the tray at its hidden place.
  void SetPosition(int32_t x, int32_t hidden_y, int32_t shown_y);

  // The chip strictly under the point, kTrayNotChip elsewhere on the bar or a chip's cell, kNoChip
  // outside them and whenever the tray is hidden, sliding or without chips.
  int32_t HitTest(int32_t x, int32_t y) const;
  // Hover follows the mouse; returns HitTest's answer.
  int32_t OnMouseMove(int32_t x, int32_t y);
  // Presses the chip under the point; returns HitTest's answer.
  int32_t OnMouseDown(int32_t x, int32_t y);
  // The chip clicked (released over the chip that was pressed), which becomes the selected chip;
  // kNoChip otherwise, the press dropped.
  int32_t OnMouseUp(int32_t x, int32_t y);
  int32_t GetSelected() const { return selected_; }
  // The selected chip's value in cents; 0 when none.
  int32_t GetSelectedValue() const;
  int32_t GetChipValue(int32_t chip) const;
  int32_t GetChipCount() const { return chip_count_; }
  // Hover, press and selection cleared.
  void Reset();

  // Starts a linear slide to the hidden (hide) or shown place over `seconds`; 0 or less jumps
  // there. False while sliding or when already there.
  bool Slide(bool hide, double seconds);
  SlideState GetSlideState() const { return slide_; }
  // Standing at its shown place.
  bool IsShown() const { return slide_ == SlideState::kNone && y_ == shown_y_; }
  int32_t GetY() const { return y_; }

  void Update(double seconds);
  bool Erase(platform::HDC destination, platform::HDC background, platform::RECT* out);
  bool NeedsRedraw() const;
  void Draw(platform::HDC dc);
  bool GetDirtyRect(platform::RECT* out) const;
  // Repaints the whole tray when the rectangle touches it.
  void Invalidate(const platform::RECT& rect);
  // The tray's rectangle where it stands now (bar and chips).
  platform::RECT GetRect() const;

 private:
  bool Visible() const { return slide_ != SlideState::kNone || y_ != hidden_y_; }
  bool TakesInput() const { return IsShown() && chip_count_ > 0; }
  platform::RECT ChipRect(int32_t chip) const;
  platform::RECT BarRect() const;
  // What may be painted: rows above the hidden y.
  platform::RECT Clip(const platform::RECT& rect) const;
  int32_t BodyWidth() const;
  void Moved();
  void MarkChip(int32_t chip);
  void SetHover(int32_t chip);
  void DrawChip(platform::HDC dc, int32_t chip);

  TransparentDraw* drawer_ = nullptr;
  CappedPicture bar_;
  BitmapFile sheet_;
  BitmapFile second_sheet_;
  platform::COLORREF chip_key_ = 0;
  int32_t chip_width_ = 0;
  int32_t chip_height_ = 0;
  int32_t chip_count_ = 0;
  int32_t values_[kMaxChips] = {};
  int32_t chip_x_[kMaxChips] = {};
  int32_t chip_y_[kMaxChips] = {};
  bool chip_redraw_[kMaxChips] = {};
  int32_t hovered_ = kNoChip;
  int32_t pressed_ = kNoChip;
  int32_t selected_ = kNoChip;

  int32_t x_ = 0;
  int32_t y_ = 0;
  int32_t hidden_y_ = 0;
  int32_t shown_y_ = 0;
  SlideState slide_ = SlideState::kNone;
  int32_t slide_from_ = 0;
  double slide_seconds_ = 0;
  double slide_elapsed_ = 0;

  bool full_redraw_ = true;
  bool erase_pending_ = false;
  platform::RECT painted_ = {-1, -1, -1, -1};
  platform::RECT drawn_ = {-1, -1, -1, -1};
};
