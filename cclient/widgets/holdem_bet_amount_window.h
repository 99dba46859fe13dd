// The panel on a no-limit or pot-limit table in which the player chooses the amount of a bet or
// raise: a slider with a thumb, two arrows that step the amount (held, they repeat), the amount
// as selected text that typing overwrites, the minimum and maximum at the ends, and a few image
// buttons (the tables use two that carry out the bet or raise, labelled with the amount, and one
// that closes the panel). It opens and closes with a 0.2 s zoom from its centre.
//
// It has no window: the table forwards mouse and character input and paints it into its back
// buffer. Positions given to the mouse operations are the table's client coordinates; the layout
// is relative to the panel. Amounts are cents, worked out in 64 bits before any range check.
//
// Frame protocol, each tick: Update, Erase, NeedsRedraw, Draw, GetDirtyRect. Rectangles reported
// are inclusive of right and bottom. UI thread only.
#pragma once

#include <cstdint>
#include <vector>

#include "cclient/widgets/bitmap_file.h"
#include "platform/draw/gdi.h"
#include "platform/text/text.h"

class HoldemBetAmountWindow {
 public:
  static constexpr int32_t kTypedSize = 16;   // 15 characters and the terminator
  static constexpr int32_t kLabelSize = 15;   // 14 characters and the terminator
  // Hit test results.
  enum Hit : int32_t { kOutside = -1, kNothing = 0, kTrack = 1, kDownArrow = 2, kUpArrow = 3, kThumb = 4, kButton = 5 };

  HoldemBetAmountWindow();
  ~HoldemBetAmountWindow();
  HoldemBetAmountWindow(const HoldemBetAmountWindow&) = delete;
  HoldemBetAmountWindow& operator=(const HoldemBetAmountWindow&) = delete;

  // ---- Set-up ----
  void SetAlwaysRedraw(bool always) { always_redraw_ = always; }
  // Each named file is loaded; an empty or null name loads nothing. The panel takes the
  // background's size, the thumb its own, the arrows the size of the first down picture loaded.
  void LoadImages(const char* background, const char* thumb, const char* down_normal, const char* down_pressed,
                  const char* up_normal, const char* up_pressed);
  // The sheet holds two cells per button (normal, pressed) side by side in button order;
  // text_rects two per button (normal, pressed) or none. All buttons start disabled.
  [[nodiscard]] const char* AddButtons(int32_t count, const int32_t* ids, const int32_t* xs, const int32_t* ys,
                                       const char* sheet_file, int32_t width, int32_t height,
                                       const platform::RECT* text_rects, platform::HFONT font);
  void SetScrollListMode(bool on) { scroll_list_ = on; }
  struct Layout {
    platform::RECT track;  // the thumb runs along its top
    platform::RECT amount;
    platform::HFONT range_font;
    int32_t down_x, down_y;
    int32_t up_x, up_y;
    platform::RECT minimum_label;
    platform::RECT maximum_label;
    platform::HFONT amount_font;
  };
  void SetLayout(const Layout& layout);
  // Installed only when count > 0 and the first threshold is 0.
  void SetNotches(int32_t count, const int32_t* amounts, const int32_t* steps);
  void SetPosition(int32_t x, int32_t y);
  // While the thumb is dragged the drag goes on anywhere inside this rectangle (an empty one means
  // everywhere); elsewhere the pointer must stay over the panel.
  void SetEditRect(int32_t left, int32_t top, int32_t right, int32_t bottom);
  void SetButtonShowsAmount(int32_t id);
  void EnableButton(int32_t id);
  void DisableButton(int32_t id);
  void SetRange(int32_t minimum, int32_t maximum, int32_t step);

  // ---- Use ----
  bool Open(int32_t initial_amount);
  bool Close();
  bool IsOpen() const { return open_ && !in_transition_; }
  int32_t GetTransition() const;
  int32_t GetAmount() const { return amount_; }
  bool WasAmountInRange() const { return amount_accepted_; }
  bool GetRect(platform::RECT* out) const;
  const char* GetTypedText() const { return typed_; }
  const char* GetButtonText(int32_t id) const;
  int32_t GetThumbX() const { return thumb_x_; }

  int32_t HitTest(int32_t x, int32_t y);
  bool OnMouseDown(int32_t x, int32_t y);
  // The id of the pressed button when released over it; -1 for a release outside the panel that
  // ended no drag; -2 otherwise.
  int32_t OnMouseUp(int32_t x, int32_t y);
  void OnMouseMove(int32_t x, int32_t y);
  void OnChar(int32_t character);

  // ---- Frame protocol ----
  void Update(double seconds, int32_t mouse_x, int32_t mouse_y);
  bool Erase(platform::HDC destination, platform::HDC background, platform::RECT* out);
  void Invalidate();
  bool NeedsRedraw() const;
  bool Draw(platform::HDC dc);
  bool GetDirtyRect(platform::RECT* out) const;
  void FreeResources();

 private:
  struct Button {
    int32_t x = 0, y = 0, id = 0;
    char label[kLabelSize] = {};
    platform::RECT text_rects[2] = {};
    bool enabled = false;
    bool shows_amount = false;
    bool dirty = false;
  };
  struct Notch {
    int32_t threshold;
    int32_t step;
  };

  Button* Find(int32_t id);
  int32_t ThumbRightEnd() const { return track_.right - thumb_width_ + 1; }
  int32_t AmountFromThumb() const;
  int32_t ThumbFromAmount() const;
  const Notch* NotchFor(int64_t amount, const Notch** previous) const;
  void Refresh(bool keep_thumb);
  void StepAmount(bool up);
  void MoveThumbTo(int32_t thumb_x);
  void SetAmountFromTyped();
  void Changed();
  void PaintText(platform::HDC dc, int32_t px, int32_t py);

  BitmapFile background_, thumb_, down_normal_, down_pressed_, up_normal_, up_pressed_;
  bool scroll_list_ = false;
  platform::RECT track_{0, 0, 0, 0};
  int32_t thumb_x_ = 0, thumb_y_ = 0;
  platform::RECT amount_rect_{0, 0, 0, 0};
  platform::HFONT range_font_ = nullptr, amount_font_ = nullptr;
  int32_t down_x_ = 0, down_y_ = 0, up_x_ = 0, up_y_ = 0;
  platform::RECT minimum_label_{0, 0, 0, 0}, maximum_label_{0, 0, 0, 0};
  int32_t minimum_ = 0, maximum_ = 0, step_ = 1;
  int32_t amount_ = 0;
  int32_t first_row_ = 0, rows_ = 0, thumb_list_height_ = 0;
  bool dragging_ = false, down_held_ = false, up_held_ = false;
  int32_t grab_offset_ = 0;
  int32_t width_ = 0, height_ = 0;
  int32_t thumb_width_ = 0, thumb_height_ = 0;
  int32_t arrow_width_ = 0, arrow_height_ = 0;
  bool open_ = false;
  int32_t x_ = 0, y_ = 0;
  double repeat_timer_ = 0;
  char typed_[kTypedSize] = {};
  BitmapFile sheet_;
  int32_t button_width_ = 0, button_height_ = 0;
  std::vector<Button> buttons_;
  platform::HFONT label_font_ = nullptr;
  int32_t hover_ = -1, pressed_ = -1;
  double transition_timer_ = 0;
  bool in_transition_ = false;
  bool closing_ = false;
  bool amount_accepted_ = true;
  platform::RECT painted_rect_{0, 0, -1, -1};
  bool erase_pending_ = false;
  bool painted_ = false;
  bool redraw_pending_ = false;
  bool changed_ = false;
  bool reported_change_ = false;
  bool always_redraw_ = true;
  std::vector<Notch> notches_;
  platform::RECT edit_rect_{0, 0, 0, 0};
};
