#include "cclient/widgets/button_bar.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace {

constexpr platform::COLORREF kEnabledText = 0xEEEEEE;
constexpr platform::COLORREF kDisabledText = 0xC0C0C0;
constexpr uint32_t kDefaultFormat = platform::DT_CENTER | platform::DT_BOTTOM | platform::DT_SINGLELINE;

}  // namespace

ButtonBar::ButtonBar() = default;

ButtonBar::~ButtonBar() { Free(); }

const char* ButtonBar::AddButtons(int32_t count, const int32_t* ids, const int32_t* xs, const int32_t* ys,
                                  const char* const* files) {
  return BuildButtons(count, ids, xs, ys, files, false, nullptr, nullptr, nullptr);
}

const char* ButtonBar::AddLabelledButtons(int32_t count, const int32_t* ids, const int32_t* xs, const int32_t* ys,
                                          const char* const* files, const platform::RECT* text_rects,
                                          platform::HFONT font, const uint32_t* formats) {
  return BuildButtons(count, ids, xs, ys, files, true, text_rects, font, formats);
}

const char* ButtonBar::BuildButtons(int32_t count, const int32_t* ids, const int32_t* xs, const int32_t* ys,
                                    const char* const* files, bool labelled, const platform::RECT* text_rects,
                                    platform::HFONT font, const uint32_t* formats) {
  if (count <= 0) return "No button is added";
  Free();
  buttons_.resize(static_cast<size_t>(count));
  labelled_ = labelled;
  font_ = font;
  has_formats_ = formats != nullptr;
  bar_height_ = 0;
  for (int32_t i = 0; i < count; ++i) {
    Button& b = buttons_[static_cast<size_t>(i)];
    if (files != nullptr && files[i] != nullptr) (void)LoadBitmapFile(files[i], &b.picture);
    const platform::SIZE size = GetBitmapFileSize(b.picture);
    b.width = size.cx / 3;
    b.height = size.cy;
    b.x = xs[i];
    b.y = ys[i];
    b.id = ids[i];
    for (int32_t cell = 0; cell < 3; ++cell) {
      b.text_rects[cell] = text_rects != nullptr ? text_rects[3 * i + cell]
                                                 : platform::RECT{0, 0, b.width - 1, b.height - 1};
    }
    b.format = formats != nullptr ? formats[i] : 0;
    bar_height_ = std::max(bar_height_, b.y + b.height);
    largest_width_ = std::max(largest_width_, b.width);
    largest_height_ = std::max(largest_height_, b.height);
    if (i == 0 || b.x < leftmost_) leftmost_ = b.x;
    if (i == 0 || b.x + b.width - 1 > rightmost_) rightmost_ = b.x + b.width - 1;
  }
  return nullptr;
}

void ButtonBar::Free() {
  for (Button& b : buttons_) ReleaseBitmapFile(&b.picture);
  buttons_.clear();
  platform::DeleteDC(work_dc_);
  platform::DeleteObject(work_bitmap_);
  work_dc_ = nullptr;
  work_bitmap_ = nullptr;
  largest_width_ = largest_height_ = 0;
  hover_ = pressed_ = -1;
}

ButtonBar::Button* ButtonBar::Find(int32_t id) {
  for (Button& b : buttons_) {
    if (b.id == id) return &b;
  }
  return nullptr;
}

const ButtonBar::Button* ButtonBar::Find(int32_t id) const {
  for (const Button& b : buttons_) {
    if (b.id == id) return &b;
  }
  return nullptr;
}

void ButtonBar::SetShownPosition(int32_t x, int32_t y) {
  shown_x_ = x;
  shown_y_ = y;
}

void ButtonBar::SetHiddenPosition(int32_t x, int32_t y) {
  hidden_x_ = x_ = x;
  hidden_y_ = y_ = y;
}

bool ButtonBar::ShowButton(int32_t id) {
  Button* b = Find(id);
  if (b == nullptr) return false;
  b->shown = true;
  if (y_ != hidden_y_) b->dirty = true;
  return true;
}

bool ButtonBar::HideButton(int32_t id) {
  Button* b = Find(id);
  if (b == nullptr) return false;
  b->shown = false;
  if (y_ != hidden_y_) {
    ExtendEraseBand(y_, hidden_y_);
    full_redraw_ = true;
  }
  return true;
}

void ButtonBar::HideAllButtons() {
  bool any = false;
  for (Button& b : buttons_) {
    any = any || b.shown;
    b.shown = false;
  }
  if (any && y_ != hidden_y_) ExtendEraseBand(y_, hidden_y_);
}

bool ButtonBar::IsButtonShown(int32_t id) const {
  const Button* b = Find(id);
  return b != nullptr && b->shown;
}

bool ButtonBar::NoButtonShown() const {
  for (const Button& b : buttons_) {
    if (b.shown) return false;
  }
  return true;
}

bool ButtonBar::SetButtonText(int32_t id, const char* text) {
  if (!labelled_) return false;
  Button* b = Find(id);
  if (b == nullptr) return false;
  if (text == nullptr) text = "";
  int32_t length = 0;
  int32_t first_line = -1;
  for (const char* p = text; *p != '\0'; ++p) {
    if (*p == '\r' || *p == '\n') {
      if (first_line < 0) first_line = length;
      continue;
    }
    // Labels longer than the buffer are cut; the owners' labels are short.
    if (length < kLabelSize - 1) b->label[length++] = *p;
  }
  b->label[length] = '\0';
  b->first_line_length = first_line < 0 ? length : std::min(first_line, length);
  b->dirty = true;
  return true;
}

const char* ButtonBar::GetButtonText(int32_t id) const {
  const Button* b = Find(id);
  return b != nullptr ? b->label : nullptr;
}

// ---- Sliding --------------------------------------------------------------------------------

bool ButtonBar::Slide(bool hide, float seconds) {
  if (sliding_) return false;
  if (hide && y_ == hidden_y_) return false;
  if (!hide && (NoButtonShown() || y_ == shown_y_)) return false;
  hiding_ = hide;
  duration_ = seconds;
  hover_ = pressed_ = -1;
  elapsed_ = 0;
  sliding_ = true;
  if (seconds <= 0) FinishSlide();
  return true;
}

void ButtonBar::FinishSlide() {
  if (!sliding_) return;
  sliding_ = false;
  if (hiding_) {
    if (y_ != hidden_y_) ExtendEraseBand(y_, hidden_y_);
    x_ = hidden_x_;
    y_ = hidden_y_;
    for (Button& b : buttons_) b.shown = false;
  } else {
    if (y_ != shown_y_) full_redraw_ = true;
    x_ = shown_x_;
    y_ = shown_y_;
  }
}

int32_t ButtonBar::GetSlideState() const {
  if (!sliding_) return 0;
  return hiding_ ? -1 : 1;
}

void ButtonBar::Update(float seconds, int32_t mouse_x, int32_t mouse_y) {
  if (!sliding_) return;
  elapsed_ += seconds;
  full_redraw_ = true;
  changed_pending_ = true;
  if (elapsed_ < duration_) {
    const double share = (duration_ - elapsed_) / static_cast<double>(duration_);
    if (hiding_) {
      x_ = hidden_x_;
      const int32_t new_y = hidden_y_ + static_cast<int32_t>(std::trunc((shown_y_ - hidden_y_) * share));
      ExtendEraseBand(y_, new_y);
      y_ = new_y;
    } else {
      x_ = shown_x_;
      y_ = shown_y_ + static_cast<int32_t>(std::trunc((hidden_y_ - shown_y_) * share));
    }
    return;
  }
  const bool showing = !hiding_;
  FinishSlide();
  if (showing) (void)HitTest(mouse_x, mouse_y);
}

void ButtonBar::ExtendEraseBand(int32_t a, int32_t b) {
  const int32_t low = std::min(a, b);
  const int32_t high = std::max(a, b);
  if (band_top_ >= band_bottom_) {
    if (a != b) {
      band_top_ = low;
      band_bottom_ = high;
    }
    return;
  }
  band_top_ = std::min(band_top_, low);
  band_bottom_ = std::max(band_bottom_, high);
}

// ---- Mouse ----------------------------------------------------------------------------------

void ButtonBar::MarkDirty(int32_t index) {
  if (index >= 0 && index < static_cast<int32_t>(buttons_.size())) buttons_[static_cast<size_t>(index)].dirty = true;
}

int32_t ButtonBar::HitTest(int32_t x, int32_t y) {
  if (sliding_ || buttons_.empty() || hiding_) {
    hover_ = pressed_ = -1;
    return -1;
  }
  for (int32_t i = 0; i < static_cast<int32_t>(buttons_.size()); ++i) {
    const Button& b = buttons_[static_cast<size_t>(i)];
    if (!b.shown || !b.enabled) continue;
    const int32_t bx = b.x + x_;
    const int32_t by = b.y + y_;
    if (bx < x && x < bx + b.width && by < y && y < by + b.height) {
      if (pressed_ != -1 && pressed_ != i) pressed_ = -1;
      if (hover_ != i) {
        MarkDirty(hover_);
        MarkDirty(i);
        changed_pending_ = true;
      }
      hover_ = i;
      return b.id;
    }
  }
  if (hover_ != -1) {
    MarkDirty(hover_);
    changed_pending_ = true;
  }
  hover_ = pressed_ = -1;
  return -1;
}

int32_t ButtonBar::OnMouseDown(int32_t x, int32_t y) {
  (void)HitTest(x, y);
  const int32_t old = pressed_;
  pressed_ = hover_;
  if (pressed_ != old) {
    MarkDirty(old);
    MarkDirty(pressed_);
    changed_pending_ = true;
  }
  return pressed_ >= 0 ? buttons_[static_cast<size_t>(pressed_)].id : -1;
}

int32_t ButtonBar::OnMouseUp(int32_t x, int32_t y) {
  if (pressed_ < 0) return -1;
  const int32_t was_pressed = pressed_;
  (void)HitTest(x, y);
  if (hover_ == was_pressed && pressed_ == was_pressed) {
    MarkDirty(was_pressed);
    changed_pending_ = true;
    pressed_ = -1;
    return buttons_[static_cast<size_t>(was_pressed)].id;
  }
  pressed_ = -1;
  return -1;
}

// ---- Painting -------------------------------------------------------------------------------

bool ButtonBar::EraseUncovered(platform::HDC destination, platform::HDC background, platform::RECT* out) {
  if (band_top_ >= band_bottom_) return false;
  *out = {leftmost_ + x_, band_top_, rightmost_ + x_, band_bottom_ - 1};
  platform::BitBlt(destination, out->left, out->top, out->right - out->left + 1, out->bottom - out->top + 1,
                   background, out->left, out->top, platform::SRCCOPY);
  ClearEraseBand();
  return true;
}

bool ButtonBar::Draw(platform::HDC destination) {
  ClearEraseBand();
  return DrawAt(destination, x_, y_);
}

bool ButtonBar::DrawAt(platform::HDC destination, int32_t x, int32_t y) {
  x_ = x;
  y_ = y;
  painted_ = false;
  if (y == hidden_y_) {
    full_redraw_ = false;
    for (Button& b : buttons_) b.dirty = false;
    return false;
  }
  const int32_t visible = (y + bar_height_ > hidden_y_) ? hidden_y_ - y : bar_height_;
  if (work_dc_ == nullptr && largest_width_ > 0 && largest_height_ > 0) {
    work_dc_ = platform::CreateCompatibleDC(destination);
    work_bitmap_ = platform::CreateCompatibleBitmap(destination, largest_width_, largest_height_);
    platform::SelectObject(work_dc_, work_bitmap_);
  }
  bool any_dirty = false;
  platform::RECT dirty_box{0, 0, -1, -1};
  for (int32_t i = 0; i < static_cast<int32_t>(buttons_.size()); ++i) {
    const Button& b = buttons_[static_cast<size_t>(i)];
    if (!b.shown || !(b.dirty || always_redraw_ || full_redraw_)) continue;
    PaintButton(destination, i, x, y, visible);
    if (!b.dirty) continue;
    const platform::RECT r{b.x + x, b.y + y, b.x + x + b.width - 1, b.y + y + b.height - 1};
    if (!any_dirty) {
      dirty_box = r;
      any_dirty = true;
    } else {
      // Left and right from all of them, top and bottom from the first.
      dirty_box.left = std::min(dirty_box.left, r.left);
      dirty_box.right = std::max(dirty_box.right, r.right);
    }
  }
  if (full_redraw_) {
    const int32_t first_height = buttons_.empty() ? 0 : buttons_[0].height;
    changed_ = {leftmost_ + x, shown_y_, rightmost_ + x, shown_y_ + first_height - 1};
  } else if (painted_) {
    changed_ = dirty_box;
  }
  full_redraw_ = false;
  for (Button& b : buttons_) b.dirty = false;
  return painted_;
}

void ButtonBar::PaintButton(platform::HDC destination, int32_t index, int32_t x, int32_t y, int32_t visible_rows) {
  const Button& b = buttons_[static_cast<size_t>(index)];
  if (b.picture.dc == nullptr || work_dc_ == nullptr || b.width <= 0) return;
  const bool hovered = hover_ == index && b.enabled;
  const int32_t cell = hovered && pressed_ == index ? 2 : (hovered ? 1 : 0);
  platform::BitBlt(work_dc_, 0, 0, b.width, b.height, b.picture.dc, cell * b.width, 0, platform::SRCCOPY);
  if (labelled_ && b.label[0] != '\0') PaintLabel(b, cell);
  // No row at or below the hidden y is painted.
  const int32_t rows = std::min(b.height, visible_rows - b.y);
  if (rows <= 0) return;
  platform::BitBlt(destination, x + b.x, y + b.y, b.width, rows, work_dc_, 0, 0, platform::SRCCOPY);
  painted_ = true;
}

void ButtonBar::PaintLabel(const Button& b, int32_t cell) {
  using namespace platform;
  const HFONT old_font = font_ != nullptr ? SelectObject(work_dc_, font_) : nullptr;
  SetBkMode(work_dc_, TRANSPARENT);
  SetTextColor(work_dc_, b.enabled ? kEnabledText : kDisabledText);
  RECT r = b.text_rects[cell];
  const int32_t length = static_cast<int32_t>(std::strlen(b.label));
  if (b.first_line_length >= length) {
    DrawText(work_dc_, b.label, length, &r, has_formats_ ? b.format : kDefaultFormat);
  } else {
    const uint32_t format = has_formats_ ? b.format : 0;
    // The first line keeps to the top even when the button's format aligns its text to the
    // bottom, so that the two lines never fall on one another.
    DrawText(work_dc_, b.label, b.first_line_length, &r, (format & ~(DT_BOTTOM | DT_VCENTER)) | DT_SINGLELINE);
    r = b.text_rects[cell];
    DrawText(work_dc_, b.label + b.first_line_length, length - b.first_line_length, &r,
             format | DT_SINGLELINE | DT_BOTTOM);
  }
  if (old_font != nullptr) SelectObject(work_dc_, old_font);
}

bool ButtonBar::GetDrawnRect(platform::RECT* out) const {
  if (!painted_ || !changed_pending_) return false;
  *out = changed_;
  return true;
}

void ButtonBar::RequestFullRedraw() {
  if (sliding_ || y_ != shown_y_ || full_redraw_) return;
  full_redraw_ = true;
  bool any_dirty = false;
  for (const Button& b : buttons_) any_dirty = any_dirty || b.dirty;
  if (!any_dirty) changed_pending_ = false;
}
