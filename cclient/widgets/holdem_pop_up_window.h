// A small panel of image buttons drawn over a poker table (a confirmation, a choice offered to
// the player). It opens with a zoom from its centre and closes with a zoom back into it, each in
// 0.2 s, and then behaves as a row of buttons with hover and press looks and optional labels.
//
// Frame protocol, each tick: Update, Erase (before Draw, which clears its flag), Draw,
// GetDirtyRect. Rectangles are inclusive of right and bottom. UI thread only.
#pragma once

#include <cstdint>
#include <vector>

#include "cclient/widgets/bitmap_file.h"
#include "platform/draw/gdi.h"

class HoldemPopUpWindow {
 public:
  static constexpr int32_t kLabelSize = 30;  // 29 characters and the terminator

  HoldemPopUpWindow();
  ~HoldemPopUpWindow();
  HoldemPopUpWindow(const HoldemPopUpWindow&) = delete;
  HoldemPopUpWindow& operator=(const HoldemPopUpWindow&) = delete;

  void SetAlwaysRedraw(bool always) { always_redraw_ = always; }
  // The panel picture, placed with its top-left corner at (x, y).
  const char* LoadBackground(const char* file_name, int32_t x, int32_t y);
  // Pictures with an empty or null name are skipped; a button's size comes from its hover
  // picture, else its normal one, else its pressed one. text_rects: three per button (normal,
  // hover, pressed) or none. "No button is added" for a count below 1.
  [[nodiscard]] const char* AddButtons(int32_t count, const int32_t* ids, const int32_t* xs, const int32_t* ys,
                                       const char* const* pressed_files, const char* const* hover_files,
                                       const char* const* normal_files, const platform::RECT* text_rects,
                                       platform::HFONT font);
  // The label is cut to 29 characters; false for an unknown id.
  bool SetButtonText(int32_t id, const char* text);

  bool Open();
  bool Close();
  bool IsOpen() const { return open_; }
  // 1 opening, -1 closing, 0 none.
  int32_t GetTransition() const;

  // The id of the button under the point; -2 on the panel between buttons; -1 elsewhere, while
  // closed or during a transition.
  int32_t HitTest(int32_t x, int32_t y);
  int32_t OnMouseDown(int32_t x, int32_t y);
  int32_t OnMouseUp(int32_t x, int32_t y);

  void Update(float seconds, int32_t mouse_x, int32_t mouse_y);
  bool Draw(platform::HDC dc);
  bool Erase(platform::HDC destination, platform::HDC background, platform::RECT* out);
  void Invalidate();
  bool NeedsRedraw() const { return in_transition_ || (open_ && all_dirty_); }
  bool GetDirtyRect(platform::RECT* out) const;
  bool GetRect(platform::RECT* out) const;
  void Free();

 private:
  struct Button {
    BitmapFile pressed, hover, normal;
    int32_t width = 0, height = 0;
    int32_t x = 0, y = 0, id = 0;
    char label[kLabelSize] = {};
    int32_t label_length = 0;
    platform::RECT text_rects[3] = {};
    bool dirty = true;
  };
  void DrawButton(platform::HDC dc, int32_t index);

  BitmapFile background_;
  int32_t width_ = 0, height_ = 0;
  int32_t x_ = 0, y_ = 0;
  std::vector<Button> buttons_;
  platform::HFONT font_ = nullptr;
  int32_t hover_ = -1, pressed_ = -1;
  float timer_ = 0;
  bool in_transition_ = false;
  bool open_ = false;
  platform::RECT last_painted_{0, 0, -1, -1};
  bool all_dirty_ = true;
  bool erase_pending_ = false;
  bool painted_ = false;
  platform::RECT dirty_rect_{0, 0, -1, -1};
  bool dirty_ = false;
  bool always_redraw_ = true;
};
