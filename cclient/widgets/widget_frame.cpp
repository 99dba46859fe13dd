#include "cclient/widgets/widget_frame.h"

#include "cclient/widgets/dirty_rect_list.h"

void WidgetFrame::Moved() {
  erase_pending_ = !DirtyRectList::IsEmpty(painted_);
  redraw_pending_ = true;
}

bool WidgetFrame::Erase(platform::HDC destination, platform::HDC background, platform::RECT* out) {
  if (!erase_pending_ || background == nullptr) return false;
  erase_pending_ = false;
  platform::BitBlt(destination, painted_.left, painted_.top, painted_.right - painted_.left + 1,
                   painted_.bottom - painted_.top + 1, background, painted_.left, painted_.top, platform::SRCCOPY);
  *out = painted_;
  painted_ = kNothing;
  return true;
}

void WidgetFrame::Painted(const platform::RECT& rect) {
  painted_ = rect;
  // The widget now stands where it was painted: an erase still pending from an earlier move would
  // wipe it, so a paint settles both flags.
  redraw_pending_ = false;
  erase_pending_ = false;
}

bool WidgetFrame::GetDirtyRect(platform::RECT* out) const {
  if (DirtyRectList::IsEmpty(painted_)) return false;
  *out = painted_;
  return true;
}
