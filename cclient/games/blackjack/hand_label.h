// The label that shows a Black Jack hand's total or its result ("Black Jack", "Bust (26)",
// "Dealer wins", "Push"...). Twelve live at a table, two per position.
//
// The labels share one plate picture (a stretchable "5100.b" with caps) and a registry of up to
// 20 states, each an id, a body width and a default text. The shared part is loaded once by the
// first caller and released with the last label. Besides the registry, each label has one state
// of its own (the hand's running total) whose text is the label's alone.
//
// A registry state shown with a text shows that text on this label only: the registry keeps its
// default text, so two hands shown in the same state never borrow each other's text.
//
// Two styles: the picture (the plate's caps and a tiled middle, the text centred on the middle)
// and the plain box (a filled box reaching 3 pixels past the body on both sides). A label without
// the plate picture in picture style draws only its text.
//
// Frame protocol, each tick: Erase, NeedsRedraw, Draw, GetDirtyRect (see WidgetFrame).
// Rectangles are inclusive of right and bottom. UI thread only.
#pragma once

#include <cstdint>
#include <string>

#include "cclient/widgets/transparent_draw.h"
#include "cclient/widgets/widget_frame.h"
#include "platform/draw/gdi.h"
#include "platform/text/text.h"

class HandLabel {
 public:
  static constexpr int32_t kMaxStates = 20;
  static constexpr int32_t kHidden = -1;
  static constexpr int32_t kBoxMargin = 3;

  HandLabel();
  ~HandLabel();
  HandLabel(const HandLabel&) = delete;
  HandLabel& operator=(const HandLabel&) = delete;

  // Loads the shared plate: true when it loaded now or had loaded before (the later arguments are
  // then ignored). The minimum body width applies to every state shown from then on.
  [[nodiscard]] static bool LoadShared(const char* file, platform::COLORREF key, int32_t left_cap, int32_t right_cap,
                                       int32_t min_width);
  // The number of labels alive; the shared part lives while it is above 0.
  static int32_t LiveCount();

  void SetTransparentDraw(TransparentDraw* drawer) { drawer_ = drawer; }
  // Without `own`: enters (id, width, text) in the shared registry; false when the id is there
  // already or the registry is full. With `own`: the label's own state takes the id and width
  // (the text is set when the state is shown).
  bool Register(int32_t id, bool own, int32_t width, const char* text);

  // Shows the state `id` (kHidden hides the label). A text that is not null replaces the state's
  // text on this label. An id that is neither registered nor the label's own changes nothing
  // (false). `redraw` repaints the label even when nothing changed.
  bool SetState(int32_t id, bool redraw, const char* text);
  int32_t GetState() const { return shown_id_; }
  bool IsShown() const { return shown_id_ != kHidden; }
  // The text shown, or "" while hidden.
  const char* GetText() const;

  void SetStyle(bool picture, platform::COLORREF box_colour, int32_t box_height);
  void SetFont(platform::HFONT font) { font_ = font; }
  void SetTextColour(platform::COLORREF colour);
  // The top-left corner: of the left cap in picture style, of the body in box style.
  void SetPosition(int32_t x, int32_t y);
  int32_t GetX() const { return x_; }
  int32_t GetY() const { return y_; }
  // The body width of the state now shown (never below the minimum width).
  void SetWidth(int32_t width);
  int32_t GetWidth() const { return body_width_; }

  bool Erase(platform::HDC destination, platform::HDC background, platform::RECT* out) {
    return frame_.Erase(destination, background, out);
  }
  bool NeedsRedraw() const { return frame_.NeedsRedraw(IsShown()); }
  void Draw(platform::HDC dc);
  bool GetDirtyRect(platform::RECT* out) const { return frame_.GetDirtyRect(out); }
  void Invalidate() { frame_.Invalidate(); }
  // Repaints the label when the rectangle touches it.
  void Invalidate(const platform::RECT& rect);
  // The rectangle the label covers where it stands now; false while hidden.
  bool GetRect(platform::RECT* out) const;

 private:
  platform::RECT RectNow() const;
  // Takes the new look; the frame is told whether the rectangle moved or only the look changed.
  void Apply(int32_t id, int32_t width, const std::string& text, bool redraw);

  int32_t own_id_ = kHidden;
  int32_t own_width_ = 0;
  int32_t shown_id_ = kHidden;
  std::string text_;
  int32_t body_width_ = 0;
  int32_t x_ = 0;
  int32_t y_ = 0;
  bool picture_style_ = true;
  platform::COLORREF box_colour_ = 0;
  int32_t box_height_ = 14;
  platform::COLORREF text_colour_ = 0xFFFFFF;
  platform::HFONT font_ = nullptr;
  TransparentDraw* drawer_ = nullptr;
  WidgetFrame frame_;
};
