// A list of up to 64 image buttons that an owner window drives: it forwards the owner's mouse
// events to every button and paints them into the owner's back-buffer context. Game tables, the
// lobby, and the bonus and tournament windows build their fixed buttons from button lists.
//
// Operations that take an id act on the first button with that id; an id that no button has does
// nothing (queries give false).
//
// Instead of the separate erase and draw steps of other widgets, the list paints in one call
// (Draw), which erases and repaints the buttons that changed and reports the rectangles it
// touched. UI thread only.
#pragma once

#include <array>
#include <cstdint>
#include <memory>

#include "cclient/widgets/dirty_rect_list.h"
#include "cclient/widgets/image_button.h"
#include "platform/draw/gdi.h"

class ButtonList {
 public:
  static constexpr int32_t kMaxButtons = 64;

  ButtonList() = default;
  virtual ~ButtonList();
  ButtonList(const ButtonList&) = delete;
  ButtonList& operator=(const ButtonList&) = delete;

  // Paints the buttons. With a background context, first every button that needs a repaint
  // (every button with `draw_all`) that was painted before is erased to the background, then
  // every such button is drawn. Without one every button is drawn. Each non-empty rectangle
  // erased or drawn goes to `dirty` when one is given.
  virtual void Draw(platform::HDC destination, platform::HDC background, bool draw_all, DirtyRectList* dirty);
  // Presses the shown button under the point; always -1.
  virtual int OnMouseDown(int32_t x, int32_t y);
  // Releases every button; the id of the last button in list order that was clicked, or -1.
  virtual int OnMouseUp(int32_t x, int32_t y);
  // Moves the pointer over every button (`left_button_held`: the MK_LBUTTON bit); always -1.
  virtual int OnMouseMove(int32_t x, int32_t y, bool left_button_held);

  // Appends a button with its pictures (any file name may be nullptr). Returns nullptr, or
  // "Maximum buttons for button list reached" (and a log line) when the list is full.
  [[nodiscard]] const char* Add(int32_t id, int32_t x, int32_t y, int32_t width, int32_t height,
                                const char* normal_file, const char* hover_file, const char* down_file,
                                const char* alternative_down_file);
  // Releases and deletes every button.
  void Clear();

  // Marks a shown button for repainting.
  void InvalidateButton(int32_t id);
  bool IsAnyDirty() const;
  bool IsButtonShown(int32_t id) const;
  void ShowButton(int32_t id);
  void HideButton(int32_t id);
  // A latched button is drawn down whatever the mouse does.
  void Latch(int32_t id);
  void Unlatch(int32_t id);
  void MoveButton(int32_t id, int32_t x, int32_t y);
  void SetButtonX(int32_t id, int32_t x);
  // Every pressed button loses its press.
  void CancelPress();
  // False for an unknown id; else true and, when `rect` is given, (x, y, x + width - 1,
  // y + height - 1).
  bool GetButtonRect(int32_t id, platform::RECT* rect) const;
  // 0 the down picture, 1 the alternative down picture (see ImageButton::SetDownImage).
  void SetDownImage(int32_t id, int32_t which);

  int32_t Count() const { return count_; }

 protected:
  // The button in slot `index` (below Count); null for a slot whose button could not be made.
  ImageButton* Slot(int32_t index) const { return slots_[static_cast<size_t>(index)].get(); }

 private:
  ImageButton* Find(int32_t id) const;

  int32_t count_ = 0;
  std::array<std::unique_ptr<ImageButton>, kMaxButtons> slots_;
};
