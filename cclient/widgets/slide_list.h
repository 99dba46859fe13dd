// The game buttons of the Big 2, Chinese Poker and Pan tables: up to 32 image buttons, each
// anchored at a corner of the table, that slide out of that corner when the game enables them
// and back into it when it disables them. The list takes the table's mouse events, reports which
// button was clicked, and paints only what changed into the table's back buffer, reporting the
// rectangles that the table must copy to the window.
//
// A button's anchor is the right edge plus 1 and the bottom edge plus 1 of the fully shown
// button: it is drawn to the left of and above its anchor, and the part that shows while it slides
// is the top-left part of its picture. It slides across by its width, or up and down by its
// height, at 2.0 of its size per second.
//
// Rectangles are inclusive of right and bottom; an empty one has left greater than right. UI
// thread only.
#pragma once

#include <array>
#include <cstdint>
#include <memory>

#include "cclient/widgets/bitmap_file.h"
#include "cclient/widgets/dirty_rect_list.h"
#include "platform/draw/gdi.h"

class SlideButton {
 public:
  // Redraw states.
  enum : int32_t { kIdle = 0, kDrawnOnce = 1, kNeedsDrawing = 2, kSliding = 3 };

  // Starts enabled but fully hidden (it slides out at the first frames). Each file name that is
  // not null is loaded; one that does not load leaves that picture missing.
  SlideButton(int32_t id, int32_t anchor_x, int32_t anchor_y, int32_t width, int32_t height, const char* normal_file,
              const char* hover_file, const char* pressed_file, bool slide_across, bool slide_up_down);
  ~SlideButton();
  SlideButton(const SlideButton&) = delete;
  SlideButton& operator=(const SlideButton&) = delete;

  void FreeImages();
  int32_t OnMouseDown(int32_t x, int32_t y);
  int32_t OnMouseMove(int32_t x, int32_t y, bool left_button_held);
  // The id when the press ends over the enabled button (the click sound plays), else -1.
  int32_t OnMouseUp(int32_t x, int32_t y);
  // Advances the slide by `seconds` and paints the visible part. With a background context only
  // a button that needs it is painted. `out` (when given) gets the painted rectangle, or grows to
  // include it.
  void Draw(platform::HDC destination, float seconds, platform::HDC background, platform::RECT* out);
  // For a disabled button, copies the background over the part that this frame's slide uncovers.
  bool Erase(platform::HDC destination, float seconds, platform::HDC background, platform::RECT* out);
  void InvalidateIfOverlaps(int32_t left, int32_t top, int32_t right, int32_t bottom);
  void GetRect(platform::RECT* out) const;

  int32_t Id() const { return id_; }
  bool IsEnabled() const { return enabled_; }
  bool IsPressed() const { return pressed_; }
  bool IsHover() const { return hover_; }
  int32_t RedrawState() const { return redraw_state_; }
  float HiddenShare() const { return hidden_share_; }
  void SetEnabled(bool enabled);
  void ReleasePress();

 private:
  bool InShown(int32_t x, int32_t y) const {
    return x >= shown_left_ && x < shown_left_ + shown_width_ && y >= shown_top_ && y < shown_top_ + shown_height_;
  }
  void NeedsDrawing() {
    if (redraw_state_ != kSliding) redraw_state_ = kNeedsDrawing;
  }
  void Paint(platform::HDC destination) const;

  int32_t id_;
  int32_t anchor_x_, anchor_y_;
  int32_t width_, height_;
  bool enabled_ = true;
  bool pressed_ = false;
  bool hover_ = false;
  // A new button is enabled and hidden, so it starts sliding out: a plain "needs drawing" would
  // stop it after two frames of dirty-only painting.
  int32_t redraw_state_ = kSliding;
  int32_t shown_left_, shown_top_;
  int32_t shown_width_ = 0, shown_height_ = 0;
  BitmapFile normal_, hover_picture_, pressed_picture_;
  int32_t slide_width_, slide_height_;
  float hidden_share_ = 1.0f;
  float speed_ = 2.0f;
};

class SlideListClass {
 public:
  static constexpr int32_t kMaxSlides = 32;

  SlideListClass() = default;
  ~SlideListClass() { Clear(); }
  SlideListClass(const SlideListClass&) = delete;
  SlideListClass& operator=(const SlideListClass&) = delete;

  // "Maximum slides for slide list reached" when 32 buttons exist (nothing is added), else
  // nullptr.
  [[nodiscard]] const char* AddSlide(int32_t id, int32_t anchor_x, int32_t anchor_y, int32_t width, int32_t height,
                                     const char* normal_file, const char* hover_file, const char* pressed_file,
                                     bool slide_across, bool slide_up_down);
  void Clear();
  void EnableSlide(int32_t id);
  void DisableSlide(int32_t id);
  void ClearPressed();
  int32_t OnMouseDown(int32_t x, int32_t y);
  int32_t OnMouseMove(int32_t x, int32_t y, bool left_button_held);
  int32_t OnMouseUp(int32_t x, int32_t y);
  void InvalidateArea(int32_t left, int32_t top, int32_t right, int32_t bottom);
  // -1 for a position outside 0 .. 31 or an empty one; else the shown rectangle and 0.
  int32_t GetSlideRect(int32_t index, platform::RECT* out) const;
  // Grows `a` over `b` when both have the same left and right and they overlap vertically.
  static bool MergeRects(platform::RECT* a, const platform::RECT& b);
  // Erases (with a background) and draws what needs it; every rectangle painted is first merged
  // into those this call has already reported and then appended to `dirty` (when given).
  void Draw(platform::HDC destination, float seconds, platform::HDC background, bool draw_all, DirtyRectList* dirty);

  int32_t Count() const { return count_; }
  const SlideButton* Slot(int32_t index) const {
    return index >= 0 && index < kMaxSlides ? slots_[static_cast<size_t>(index)].get() : nullptr;
  }

 private:
  static void Report(DirtyRectList* dirty, int32_t first, const platform::RECT& rect);

  int32_t count_ = 0;
  std::array<std::unique_ptr<SlideButton>, kMaxSlides> slots_;
};
