// The strip of check boxes that lets the local player choose an action before the turn comes
// ("Check/Fold", "Call $1.15" and the like; labels and ids are the game's). The bar slides
// between a hidden and a shown position, unfolds and folds its options in a band that opens from
// the middle, keeps at most one option selected, and reports the selection.
//
// Every option shows an entry of one sheet: two cells side by side, normal and selected; entry
// c starts at x = 2 x (the widths of entries 0 .. c - 1).
//
// Frame protocol, each tick: Update, Draw, GetShownRect. Rectangles are inclusive of right and
// bottom. UI thread only.
#pragma once

#include <cstdint>
#include <utility>
#include <vector>

#include "cclient/widgets/bitmap_file.h"
#include "platform/draw/gdi.h"
#include "platform/text/text.h"

class HoldemOptionBar {
 public:
  static constexpr int32_t kLabelSize = 30;  // 29 characters and the terminator

  HoldemOptionBar();
  ~HoldemOptionBar();
  HoldemOptionBar(const HoldemOptionBar&) = delete;
  HoldemOptionBar& operator=(const HoldemOptionBar&) = delete;

  void SetAlwaysRedraw(bool always) { always_redraw_ = always; }
  // The picture behind the options, which gives the bar its size. "already loaded before", "file
  // name does not exist", or nullptr. The transparency flag and key are kept, not used.
  [[nodiscard]] const char* LoadBackground(const char* file_name, bool transparent, platform::COLORREF key);
  // Makes `count` options, all enabled with empty labels. cell_indexes (or none: option i shows
  // entry i) chooses each option's sheet entry; cell_sizes holds a (width, height) pair per
  // sheet entry; text_rects three rectangles per option (normal, hover, pressed) or none (each
  // the whole option); formats a DrawText format per option or none (centred, bottom, single
  // line). "No button is added" for a count below 1.
  [[nodiscard]] const char* AddButtons(int32_t count, const int32_t* ids, const int32_t* xs, const int32_t* ys,
                                       const int32_t* cell_indexes, const char* sheet_file,
                                       const int32_t* cell_sizes, const platform::RECT* text_rects,
                                       platform::HFONT font, const uint32_t* formats);

  void SetShownPosition(int32_t x, int32_t y);
  // Also puts the bar there.
  void SetHiddenPosition(int32_t x, int32_t y);

  // The label is cut to 29 characters. A new text on the selected option clears the selection.
  bool SetOptionText(int32_t id, const char* text);
  bool SetOption(int32_t id, const char* text) { return SetOptionText(id, text); }
  const char* GetOptionText(int32_t id) const;
  // The amount in a label, in cents: "Call 50c" gives 50, "Call $1.15" 115, "Raise to $12" 1200;
  // 0 for a label with neither, or an unknown id.
  int32_t GetOptionAmount(int32_t id) const;
  static int32_t ParseOptionAmount(const char* label);
  bool EnableOption(int32_t id);
  bool ActivateOption(int32_t id) { return EnableOption(id); }
  bool IsOptionEnabled(int32_t id) const;
  void DisableAllOptions();
  void ClearOptions() { DisableAllOptions(); }
  bool NoOptionEnabled() const;

  // Toward the hidden (true) or shown position over `seconds`; 0 or less puts the bar there at
  // the next Update. False while sliding, when already there, or when showing a bar with neither
  // a background nor an enabled option.
  bool Slide(bool hide, float seconds);
  void UnfoldOptions(float seconds);
  void FoldOptions(float seconds);
  bool AreOptionsShown() const { return options_shown_; }
  bool IsSliding() const { return sliding_; }
  bool IsAnimating() const { return animating_; }

  int32_t HitTest(int32_t x, int32_t y);
  // Toggles the option under the point; its id, or -1.
  int32_t OnClick(int32_t x, int32_t y);
  // Index -1 (or out of range): found by id. Selecting the selected option clears the selection.
  void SelectOption(int32_t id, int32_t index);
  int32_t ClearSelection();
  int32_t GetSelectedOption() const;
  bool IsSelectionCountdownRunning() const { return countdown_ > 0; }
  void StopSelectionCountdown() { countdown_ = 0; }

  // Returns the hit test's result when a show-slide ended this tick, else -1.
  int32_t Update(float seconds, int32_t mouse_x, int32_t mouse_y);
  bool Draw(platform::HDC dc);
  bool GetShownRect(platform::RECT* out) const;
  void GetRect(platform::RECT* out) const;
  void InvalidateOptions();
  int32_t GetX() const { return x_; }
  int32_t GetY() const { return y_; }
  void Free();

 private:
  struct Option {
    int32_t cell_x = 0;  // the entry's normal cell in the sheet
    int32_t x = 0, y = 0;
    int32_t id = 0;
    bool enabled = true;
    int32_t width = 0, height = 0;
    char label[kLabelSize] = {};
    int32_t label_length = 0;
    platform::RECT text_rects[3] = {};
    uint32_t format = 0;
    bool dirty = true;
  };

  int32_t FindIndex(int32_t id) const;
  void FinishSlide();
  bool DrawAt(platform::HDC dc, int32_t x, int32_t y);
  void MarkDirty(int32_t index);
  bool HasBackground() const { return background_.dc != nullptr; }

  BitmapFile background_;
  int32_t shown_x_ = 0, shown_y_ = 0;
  int32_t hidden_x_ = 0, hidden_y_ = 0;
  int32_t x_ = 0, y_ = 0;
  platform::COLORREF key_ = 0;
  bool transparent_ = false;
  int32_t width_ = 0, height_ = 0;
  BitmapFile sheet_;
  int32_t hover_ = -1, pressed_ = -1;
  std::vector<Option> options_;
  bool has_formats_ = false;
  platform::HFONT font_ = nullptr;
  // Smaller sizes of the labels' font, by height, for labels too wide for their option.
  std::vector<std::pair<int32_t, platform::HFONT>> smaller_fonts_;
  void SelectLabelFont(const char* label, int32_t length, int32_t width);
  bool sliding_ = false;
  bool hidden_ = true;
  float timer_ = 0, duration_ = 0;
  int32_t selected_ = -1;
  bool animating_ = false;
  bool options_shown_ = false;
  platform::HDC work_dc_ = nullptr;
  platform::HBITMAP work_bitmap_ = nullptr;
  int32_t widest_ = 0, tallest_ = 0;
  bool bar_dirty_ = true;
  bool painted_ = false;
  bool always_redraw_ = true;
  double countdown_ = 0;
};
