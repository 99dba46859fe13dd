// The row of action buttons (fold, call, bet, raise and the like) that slides up from the bottom
// edge of a game table when the local player has to act, and back down when the choice is made.
// Each button is one bitmap holding three equal cells side by side (normal, hover, pressed),
// optionally with a one- or two-line label drawn over the cell.
//
// The bar hides downward: its hidden y lies below its shown y, and no row at or below the hidden
// y is ever painted. Frame protocol, each tick: Update, EraseUncovered (restores the rows the bar
// has just left), Draw, GetDrawnRect. Rectangles are inclusive of right and bottom.
//
// Buttons are found by id; an id that no button has is refused (false). UI thread only.
#pragma once

#include <cstdint>
#include <vector>

#include "cclient/widgets/bitmap_file.h"
#include "platform/draw/gdi.h"
#include "platform/text/text.h"

class ButtonBar {
 public:
  static constexpr int32_t kLabelSize = 30;  // 29 characters and the terminator

  ButtonBar();
  ~ButtonBar();
  ButtonBar(const ButtonBar&) = delete;
  ButtonBar& operator=(const ButtonBar&) = delete;

  // Builds the buttons from their files (a null name leaves a button without a picture); all
  // enabled and hidden. "No button is added" for a count below 1, else nullptr.
  [[nodiscard]] const char* AddButtons(int32_t count, const int32_t* ids, const int32_t* xs, const int32_t* ys,
                                       const char* const* files);
  // The same with labels: text_rects holds three rectangles (normal, hover, pressed cell) per
  // button or is null (each the whole cell); formats holds a DrawText format per button or is
  // null.
  [[nodiscard]] const char* AddLabelledButtons(int32_t count, const int32_t* ids, const int32_t* xs,
                                               const int32_t* ys, const char* const* files,
                                               const platform::RECT* text_rects, platform::HFONT font,
                                               const uint32_t* formats);

  void SetShownPosition(int32_t x, int32_t y);
  // Also puts the bar there.
  void SetHiddenPosition(int32_t x, int32_t y);
  void SetAlwaysRedraw(bool always) { always_redraw_ = always; }

  bool ShowButton(int32_t id);
  bool HideButton(int32_t id);
  void HideAllButtons();
  bool IsButtonShown(int32_t id) const;
  bool NoButtonShown() const;
  // Labelled bars only. The label is the text without its CR and LF characters, cut to 29
  // characters; the text before its first CR or LF is the first line, the rest the second.
  bool SetButtonText(int32_t id, const char* text);
  const char* GetButtonText(int32_t id) const;

  // Starts a slide toward the hidden (true) or shown position over `seconds`; 0 or less
  // finishes at once. False while sliding, when already there, or when showing with no button
  // shown.
  bool Slide(bool hide, float seconds);
  void FinishSlide();
  // 0 not sliding, -1 toward hidden, 1 toward shown.
  int32_t GetSlideState() const;
  bool IsFullyShown() const { return y_ == shown_y_; }
  int32_t GetX() const { return x_; }
  int32_t GetY() const { return y_; }

  // The id of the shown, enabled button under the point (edges excluded), tracking the hover;
  // -1 while sliding, hidden or on no button.
  int32_t HitTest(int32_t x, int32_t y);
  int32_t OnMouseDown(int32_t x, int32_t y);
  // The id of the pressed button when released over it (a click), else -1.
  int32_t OnMouseUp(int32_t x, int32_t y);

  void Update(float seconds, int32_t mouse_x, int32_t mouse_y);
  bool EraseUncovered(platform::HDC destination, platform::HDC background, platform::RECT* out);
  bool Draw(platform::HDC destination);
  bool GetDrawnRect(platform::RECT* out) const;
  void RequestFullRedraw();
  void Free();

 private:
  struct Button {
    BitmapFile picture;
    int32_t x = 0, y = 0;
    int32_t id = 0;
    bool enabled = true;
    bool shown = false;
    int32_t width = 0, height = 0;
    bool dirty = false;
    char label[kLabelSize] = {};
    int32_t first_line_length = 0;
    platform::RECT text_rects[3] = {};
    uint32_t format = 0;
  };

  const char* BuildButtons(int32_t count, const int32_t* ids, const int32_t* xs, const int32_t* ys,
                           const char* const* files, bool labelled, const platform::RECT* text_rects,
                           platform::HFONT font, const uint32_t* formats);
  Button* Find(int32_t id);
  const Button* Find(int32_t id) const;
  bool DrawAt(platform::HDC destination, int32_t x, int32_t y);
  void PaintButton(platform::HDC destination, int32_t index, int32_t x, int32_t y, int32_t visible_rows);
  void PaintLabel(const Button& button, int32_t cell);
  void ExtendEraseBand(int32_t a, int32_t b);
  void ClearEraseBand() { band_top_ = band_bottom_ = 0; }
  void MarkDirty(int32_t index);

  int32_t shown_x_ = 0, shown_y_ = 0;
  int32_t hidden_x_ = 0, hidden_y_ = 0;
  int32_t x_ = 0, y_ = 0;
  int32_t bar_height_ = 0;
  std::vector<Button> buttons_;
  int32_t hover_ = -1;
  int32_t pressed_ = -1;
  platform::HFONT font_ = nullptr;
  bool has_formats_ = false;
  bool sliding_ = false;
  bool hiding_ = true;
  float elapsed_ = 0, duration_ = 0;
  bool labelled_ = false;
  platform::HDC work_dc_ = nullptr;
  platform::HBITMAP work_bitmap_ = nullptr;
  int32_t largest_width_ = 0, largest_height_ = 0;
  int32_t band_top_ = 0, band_bottom_ = 0;  // empty when top >= bottom
  int32_t leftmost_ = 0, rightmost_ = 0;
  bool full_redraw_ = true;
  bool painted_ = false;
  platform::RECT changed_{0, 0, -1, -1};
  bool changed_pending_ = true;
  bool always_redraw_ = true;
};
