// One picture button on an owner's back buffer: a rectangle drawn from up to four ".b" pictures
// (normal, hover, down, alternative down) that follows the mouse. It has no window: the owner,
// through a ButtonList, passes mouse positions in client coordinates and paints it into its
// back-buffer context.
//
// Pictures that were named but do not load keep their "named" flag; the button then draws a
// rectangle outline (or falls back to another picture) in that state. A button without a normal
// picture is drawn only while hovered or pressed.
//
// UI thread only.
#pragma once

#include <cstdint>

#include "cclient/widgets/bitmap_file.h"
#include "platform/draw/gdi.h"

class ImageButton {
 public:
  // Loads each named picture; a file name may be nullptr (no such picture). The button starts
  // shown and needing a paint.
  ImageButton(int32_t id, int32_t x, int32_t y, int32_t width, int32_t height, const char* normal_file,
              const char* hover_file, const char* down_file, const char* alternative_down_file);
  ~ImageButton();
  ImageButton(const ImageButton&) = delete;
  ImageButton& operator=(const ImageButton&) = delete;

  // A press inside the shown button makes it pressed and hovered (0); a press elsewhere takes the
  // pressed state from a pressed button (-1).
  int OnMouseDown(int32_t x, int32_t y);
  // Ends a press: the id when the button is still shown and under the pointer (the click sound
  // plays), else -1. A button that is not pressed gives -1 and changes nothing.
  int OnMouseUp(int32_t x, int32_t y);
  // With the left button held a pressed button that the pointer leaves loses its press; -1 for a
  // button that is not pressed. Without it the press is dropped and the hover follows the
  // pointer. Every change marks the button for repainting.
  int OnMouseMove(int32_t x, int32_t y, bool left_button_held);

  // When the button needs a repaint and was painted before, copies the background over the
  // rectangle it was painted in (its old place when it has moved since) and reports that
  // rectangle; else reports the empty (0, 0, -1, -1).
  void Erase(platform::HDC destination, platform::HDC background, platform::RECT* out);
  // Paints the picture of the button's state and reports its rectangle (empty for a hidden
  // button). Clears the repaint mark.
  void Draw(platform::HDC destination, platform::RECT* out);
  // Deletes every picture.
  void Release();
  // 0 selects the down picture, 1 the alternative one, as the picture of the pressed state;
  // only a picture that loaded, and only when it changes the choice.
  void SetDownImage(int32_t which);

  int32_t Id() const { return id_; }
  bool IsDirty() const { return dirty_; }
  bool IsShown() const { return shown_; }
  bool IsPressed() const { return pressed_; }
  bool IsHover() const { return hover_; }
  // (x, y, x + width - 1, y + height - 1).
  platform::RECT Rect() const { return {x_, y_, x_ + width_ - 1, y_ + height_ - 1}; }

  // The list's operations on one button; each marks it for repainting when something changed.
  void MarkDirty() { dirty_ = true; }
  void SetShown(bool shown);
  void SetLatched(bool latched);
  void Move(int32_t x, int32_t y);
  void CancelPress();

 private:
  bool Contains(int32_t x, int32_t y) const {
    return x >= x_ && x < x_ + width_ && y >= y_ && y < y_ + height_;
  }
  void Copy(platform::HDC destination, platform::HDC picture, int32_t x, int32_t y) const;
  void Outline(platform::HDC destination, int32_t x, int32_t y) const;

  int32_t id_;
  int32_t x_, y_, width_, height_;
  bool shown_ = true;
  bool pressed_ = false;
  bool hover_ = false;
  bool latched_ = false;  // drawn down whatever the mouse does (a toggle, a selected tab)
  bool dirty_ = true;
  bool has_normal_, has_hover_, has_down_;
  BitmapFile normal_;
  BitmapFile hover_picture_;
  BitmapFile down_;
  BitmapFile alternative_down_;
  platform::HDC current_down_dc_ = nullptr;  // down_ or alternative_down_, whichever is chosen
  bool drawn_ = false;  // painted since the last Draw that cleared it; its rectangle may need erasing
  int32_t drawn_x_ = 0;  // where it was painted; a move leaves that place to be erased
  int32_t drawn_y_ = 0;
};

// The sound of a click, played by OnMouseUp. The main window installs its own at start-up;
// until then clicks are silent. nullptr silences them again.
void ImageButton_SetClickSound(void (*play_click_sound)());
// Plays the click sound installed above (nothing when none is); for other clickable widgets.
void ImageButton_PlayClickSound();
