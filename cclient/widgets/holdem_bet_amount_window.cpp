#include "cclient/widgets/holdem_bet_amount_window.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstring>

#include "cclient/widgets/money_text.h"

namespace {

using platform::RECT;

constexpr double kTransitionSeconds = 0.2;
constexpr double kFirstRepeat = -0.2;
constexpr double kNextRepeat = -0.03;
constexpr platform::COLORREF kWhite = 0xFFFFFF;
constexpr platform::COLORREF kSelection = 0xFF0000;
constexpr platform::COLORREF kLabelColour = 0xEEEEEE;

bool Inside(const RECT& r, int32_t x, int32_t y) { return x >= r.left && x <= r.right && y >= r.top && y <= r.bottom; }

void LoadNamed(const char* file_name, BitmapFile* picture) {
  if (file_name != nullptr && file_name[0] != '\0') (void)LoadBitmapFile(file_name, picture);
}

}  // namespace

HoldemBetAmountWindow::HoldemBetAmountWindow() = default;
HoldemBetAmountWindow::~HoldemBetAmountWindow() { FreeResources(); }

void HoldemBetAmountWindow::FreeResources() {
  for (BitmapFile* p : {&background_, &thumb_, &down_normal_, &down_pressed_, &up_normal_, &up_pressed_, &sheet_}) {
    ReleaseBitmapFile(p);
  }
  buttons_.clear();
  notches_.clear();
}

// ---- Set-up ---------------------------------------------------------------------------------

void HoldemBetAmountWindow::LoadImages(const char* background, const char* thumb, const char* down_normal,
                                       const char* down_pressed, const char* up_normal, const char* up_pressed) {
  LoadNamed(background, &background_);
  LoadNamed(thumb, &thumb_);
  LoadNamed(down_normal, &down_normal_);
  LoadNamed(down_pressed, &down_pressed_);
  LoadNamed(up_normal, &up_normal_);
  LoadNamed(up_pressed, &up_pressed_);
  const platform::SIZE back = GetBitmapFileSize(background_);
  width_ = back.cx;
  height_ = back.cy;
  const platform::SIZE thumb_size = GetBitmapFileSize(thumb_);
  thumb_width_ = thumb_size.cx;
  thumb_height_ = thumb_size.cy;
  const platform::SIZE arrow =
      down_normal_.bitmap != nullptr ? GetBitmapFileSize(down_normal_) : GetBitmapFileSize(down_pressed_);
  arrow_width_ = arrow.cx;
  arrow_height_ = arrow.cy;
}

const char* HoldemBetAmountWindow::AddButtons(int32_t count, const int32_t* ids, const int32_t* xs,
                                              const int32_t* ys, const char* sheet_file, int32_t width,
                                              int32_t height, const RECT* text_rects, platform::HFONT font) {
  if (count < 1) return "No button is added";
  ReleaseBitmapFile(&sheet_);
  LoadNamed(sheet_file, &sheet_);
  button_width_ = width;
  button_height_ = height;
  label_font_ = font;
  buttons_.assign(static_cast<size_t>(count), Button{});
  for (int32_t i = 0; i < count; ++i) {
    Button& b = buttons_[static_cast<size_t>(i)];
    b.x = xs[i];
    b.y = ys[i];
    b.id = ids[i];
    for (int32_t s = 0; s < 2; ++s) {
      b.text_rects[s] = text_rects != nullptr ? text_rects[2 * i + s] : RECT{0, 0, width - 1, height - 1};
    }
  }
  return nullptr;
}

void HoldemBetAmountWindow::SetLayout(const Layout& layout) {
  track_ = layout.track;
  thumb_y_ = layout.track.top;
  thumb_x_ = layout.track.left;
  amount_rect_ = layout.amount;
  range_font_ = layout.range_font;
  down_x_ = layout.down_x;
  down_y_ = layout.down_y;
  up_x_ = layout.up_x;
  up_y_ = layout.up_y;
  minimum_label_ = layout.minimum_label;
  maximum_label_ = layout.maximum_label;
  amount_font_ = layout.amount_font;
}

void HoldemBetAmountWindow::SetNotches(int32_t count, const int32_t* amounts, const int32_t* steps) {
  if (count <= 0 || amounts == nullptr || steps == nullptr || amounts[0] != 0) return;
  notches_.clear();
  for (int32_t i = 0; i < count; ++i) notches_.push_back({amounts[i], steps[i]});
}

void HoldemBetAmountWindow::SetPosition(int32_t x, int32_t y) {
  x_ = x;
  y_ = y;
}

void HoldemBetAmountWindow::SetEditRect(int32_t left, int32_t top, int32_t right, int32_t bottom) {
  edit_rect_ = {left, top, right, bottom};
}

HoldemBetAmountWindow::Button* HoldemBetAmountWindow::Find(int32_t id) {
  for (Button& b : buttons_) {
    if (b.id == id) return &b;
  }
  return nullptr;
}

void HoldemBetAmountWindow::SetButtonShowsAmount(int32_t id) {
  if (Button* b = Find(id)) b->shows_amount = true;
}

void HoldemBetAmountWindow::EnableButton(int32_t id) {
  if (Button* b = Find(id)) {
    b->enabled = true;
    b->dirty = true;
    Changed();
  }
}

void HoldemBetAmountWindow::DisableButton(int32_t id) {
  if (Button* b = Find(id)) {
    b->enabled = false;
    b->dirty = true;
    Changed();
  }
}

const char* HoldemBetAmountWindow::GetButtonText(int32_t id) const {
  for (const Button& b : buttons_) {
    if (b.id == id) return b.label;
  }
  return nullptr;
}

void HoldemBetAmountWindow::SetRange(int32_t minimum, int32_t maximum, int32_t step) {
  minimum_ = minimum;
  maximum_ = std::max(minimum, maximum);
  step_ = step;
  if (scroll_list_) {
    const int32_t row_step = std::max(1, step);
    rows_ = static_cast<int32_t>((static_cast<int64_t>(maximum_) - minimum_) / row_step + 1);
    const int32_t visible = rows_ > 0 ? std::min(rows_, 10) : 1;
    thumb_list_height_ = std::max(thumb_height_ * visible / std::max(1, rows_), 2 * arrow_height_ + 1);
    first_row_ = 0;
  }
  amount_ = std::clamp(amount_, minimum_, maximum_);
  Refresh(false);
}

// ---- Amounts --------------------------------------------------------------------------------

const HoldemBetAmountWindow::Notch* HoldemBetAmountWindow::NotchFor(int64_t amount, const Notch** previous) const {
  const Notch* found = nullptr;
  if (previous != nullptr) *previous = nullptr;
  for (const Notch& n : notches_) {
    if (n.threshold > amount) break;
    if (previous != nullptr) *previous = found;
    found = &n;
  }
  return found;
}

int32_t HoldemBetAmountWindow::AmountFromThumb() const {
  if (thumb_x_ <= track_.left) return minimum_;
  if (thumb_x_ >= ThumbRightEnd()) return maximum_;
  const int32_t span = ThumbRightEnd() - track_.left;
  if (span <= 0) return minimum_;
  const int64_t range = static_cast<int64_t>(maximum_) - minimum_;
  const int64_t raw =
      minimum_ + static_cast<int64_t>(std::trunc(static_cast<double>(thumb_x_ - track_.left) / span * range + 0.5));
  int64_t amount = raw;
  if (const Notch* notch = NotchFor(raw, nullptr); notch != nullptr && notch->step > 0) {
    amount = notch->threshold + (raw - notch->threshold + notch->step / 2) / notch->step * notch->step;
  } else if (notches_.empty() && step_ > 0) {
    amount = minimum_ + (raw - minimum_ + step_ / 2) / step_ * step_;
  }
  return static_cast<int32_t>(std::min<int64_t>(amount, maximum_));
}

int32_t HoldemBetAmountWindow::ThumbFromAmount() const {
  if (amount_ <= minimum_) return track_.left;
  if (amount_ >= maximum_) return ThumbRightEnd();
  const int64_t range = static_cast<int64_t>(maximum_) - minimum_;
  const int32_t span = ThumbRightEnd() - track_.left;
  const int32_t x = track_.left + static_cast<int32_t>(std::trunc(static_cast<double>(span) *
                                                                   (static_cast<int64_t>(amount_) - minimum_) / range +
                                                               0.5));
  return std::min(x, ThumbRightEnd());
}

void HoldemBetAmountWindow::Refresh(bool keep_thumb) {
  for (Button& b : buttons_) {
    if (!b.enabled || !b.shows_amount) continue;
    MoneyText_Padded(b.label, sizeof b.label, amount_, 4);
    b.dirty = true;
  }
  if (!(keep_thumb && AmountFromThumb() == amount_)) thumb_x_ = ThumbFromAmount();
  Changed();
}

void HoldemBetAmountWindow::StepAmount(bool up) {
  if (up ? amount_ >= maximum_ : amount_ <= minimum_) return;
  int64_t amount = amount_;
  const Notch* previous = nullptr;
  const Notch* notch = NotchFor(amount, &previous);
  if (notch != nullptr && notch->step > 0) {
    const int64_t offset = amount - notch->threshold;
    if (up) {
      amount = notch->threshold + (offset / notch->step + 1) * notch->step;
    } else if (offset % notch->step != 0) {
      amount = notch->threshold + offset / notch->step * notch->step;
    } else if (offset == 0 && previous != nullptr && previous->step > 0) {
      amount -= previous->step;
    } else {
      amount -= notch->step;
    }
  } else {
    // A range without a step moves by one cent.
    const int32_t step = std::max(1, step_);
    amount += up ? step : -step;
  }
  amount_ = static_cast<int32_t>(std::clamp<int64_t>(amount, minimum_, maximum_));
  Refresh(false);
}

void HoldemBetAmountWindow::MoveThumbTo(int32_t thumb_x) {
  thumb_x_ = std::clamp(thumb_x, track_.left, std::max(track_.left, ThumbRightEnd()));
  amount_ = AmountFromThumb();
  Refresh(true);
}

void HoldemBetAmountWindow::Changed() {
  redraw_pending_ = true;
  changed_ = true;
}

// ---- Use ------------------------------------------------------------------------------------

bool HoldemBetAmountWindow::Open(int32_t initial_amount) {
  if (open_) return false;
  open_ = true;
  in_transition_ = true;
  closing_ = false;
  transition_timer_ = 0;
  hover_ = pressed_ = -1;
  dragging_ = down_held_ = up_held_ = false;
  amount_ = std::clamp(initial_amount, minimum_, maximum_);
  Refresh(false);
  return true;
}

bool HoldemBetAmountWindow::Close() {
  if (!open_) return false;
  open_ = false;
  in_transition_ = true;
  closing_ = true;
  transition_timer_ = 0;
  dragging_ = down_held_ = up_held_ = false;
  Changed();
  return true;
}

int32_t HoldemBetAmountWindow::GetTransition() const {
  if (!in_transition_) return 0;
  return closing_ ? -1 : 1;
}

bool HoldemBetAmountWindow::GetRect(RECT* out) const {
  if (!open_ && !in_transition_) return false;
  *out = painted_rect_;
  return true;
}

int32_t HoldemBetAmountWindow::HitTest(int32_t x, int32_t y) {
  if (!open_ || in_transition_) return kOutside;
  const int32_t px = x - x_;
  const int32_t py = y - y_;
  for (int32_t i = 0; i < static_cast<int32_t>(buttons_.size()); ++i) {
    const Button& b = buttons_[static_cast<size_t>(i)];
    if (!b.enabled) continue;
    if (b.x < px && px < b.x + button_width_ && b.y < py && py < b.y + button_height_) {
      if (hover_ != i) {
        if (hover_ >= 0) buttons_[static_cast<size_t>(hover_)].dirty = true;
        buttons_[static_cast<size_t>(i)].dirty = true;
        Changed();
      }
      if (pressed_ >= 0 && pressed_ != i) pressed_ = -1;
      hover_ = i;
      return kButton;
    }
  }
  if (hover_ >= 0) {
    buttons_[static_cast<size_t>(hover_)].dirty = true;
    Changed();
  }
  hover_ = -1;
  if (px < 0 || py < 0 || px >= width_ || py >= height_) return kOutside;
  if (Inside({thumb_x_, thumb_y_, thumb_x_ + thumb_width_ - 1, thumb_y_ + thumb_height_ - 1}, px, py)) return kThumb;
  if (Inside(track_, px, py)) return kTrack;
  if (Inside({down_x_, down_y_, down_x_ + arrow_width_ - 1, down_y_ + arrow_height_ - 1}, px, py)) return kDownArrow;
  if (Inside({up_x_, up_y_, up_x_ + arrow_width_ - 1, up_y_ + arrow_height_ - 1}, px, py)) return kUpArrow;
  return kNothing;
}

bool HoldemBetAmountWindow::OnMouseDown(int32_t x, int32_t y) {
  const int32_t hit = HitTest(x, y);
  const int32_t px = x - x_;
  switch (hit) {
    case kOutside:
      dragging_ = down_held_ = up_held_ = false;
      pressed_ = -1;
      return false;
    case kButton:
      pressed_ = hover_;
      buttons_[static_cast<size_t>(pressed_)].dirty = true;
      Changed();
      return true;
    case kThumb: {
      typed_[0] = '\0';
      dragging_ = true;
      grab_offset_ = px - thumb_x_;
      const int32_t centre = thumb_x_ + thumb_width_ / 2;
      if (thumb_x_ <= track_.left && px < centre) {
        amount_ = minimum_;
        Refresh(false);
      } else if (thumb_x_ >= ThumbRightEnd() && px > centre) {
        amount_ = maximum_;
        Refresh(false);
      }
      Changed();
      return true;
    }
    case kTrack:
      typed_[0] = '\0';
      grab_offset_ = thumb_width_ / 2;
      MoveThumbTo(px - grab_offset_);
      dragging_ = true;
      return true;
    case kDownArrow:
    case kUpArrow:
      typed_[0] = '\0';
      down_held_ = hit == kDownArrow;
      up_held_ = hit == kUpArrow;
      StepAmount(up_held_);
      repeat_timer_ = kFirstRepeat;
      Changed();
      return true;
    default:
      dragging_ = down_held_ = up_held_ = false;
      return false;
  }
}

void HoldemBetAmountWindow::OnMouseMove(int32_t x, int32_t y) {
  if (!open_ || in_transition_) return;
  const int32_t px = x - x_;
  const int32_t py = y - y_;
  const int32_t old_hover = hover_;
  const bool over_panel = px >= 0 && py >= 0 && px < width_ && py < height_;
  if (dragging_) {
    const bool edit_everywhere = edit_rect_.left >= edit_rect_.right || edit_rect_.top >= edit_rect_.bottom;
    const bool in_edit = edit_everywhere || Inside(edit_rect_, x, y);
    if (!in_edit && !over_panel) {
      dragging_ = false;
      Refresh(false);
      return;
    }
    MoveThumbTo(px - grab_offset_);
    return;
  }
  const int32_t hit = HitTest(x, y);
  if (down_held_ && hit != kDownArrow) {
    down_held_ = false;
    Changed();
  }
  if (up_held_ && hit != kUpArrow) {
    up_held_ = false;
    Changed();
  }
  if (hover_ != old_hover) Changed();
}

int32_t HoldemBetAmountWindow::OnMouseUp(int32_t x, int32_t y) {
  const bool ended_drag = dragging_;
  if (dragging_ || down_held_ || up_held_) Changed();
  dragging_ = down_held_ = up_held_ = false;
  const int32_t was_pressed = pressed_;
  const int32_t hit = HitTest(x, y);
  pressed_ = -1;
  if (was_pressed >= 0) buttons_[static_cast<size_t>(was_pressed)].dirty = true;
  if (hit == kButton && was_pressed >= 0 && hover_ == was_pressed) {
    Changed();
    return buttons_[static_cast<size_t>(was_pressed)].id;
  }
  if (hit == kOutside && !ended_drag) return -1;
  Refresh(true);
  return -2;
}

void HoldemBetAmountWindow::OnChar(int32_t character) {
  if (!open_ || scroll_list_) return;
  const size_t length = std::strlen(typed_);
  const char* dot = std::strchr(typed_, '.');
  if (character >= '0' && character <= '9') {
    if (length >= kTypedSize - 1) return;
    if (dot != nullptr && std::strlen(dot + 1) >= 2) return;
    if (length == 1 && typed_[0] == '0') {
      typed_[0] = static_cast<char>(character);
    } else {
      typed_[length] = static_cast<char>(character);
      typed_[length + 1] = '\0';
    }
  } else if (character == '.') {
    if (dot != nullptr || length == 0 || length >= kTypedSize - 1) return;
    typed_[length] = '.';
    typed_[length + 1] = '\0';
  } else if (character == 8) {
    if (length > 0) typed_[length - 1] = '\0';
  } else if (character == '-' || character == 3 || character == '=' || character == 4) {
    if (length != 0) return;
    const bool up = character == '=' || character == 4;
    const int64_t amount = static_cast<int64_t>(amount_) + (up ? step_ : -static_cast<int64_t>(step_));
    amount_ = static_cast<int32_t>(std::clamp<int64_t>(amount, minimum_, maximum_));
    Refresh(false);
  } else if (character == 13) {
    SetAmountFromTyped();
  } else {
    return;
  }
  Changed();
}

void HoldemBetAmountWindow::SetAmountFromTyped() {
  if (typed_[0] == '\0') {
    amount_accepted_ = true;
    return;
  }
  // The typed text is read exactly in cents; a number too long for any amount is cut to just
  // above the maximum, which the range check then brings down.
  const int64_t cents = MoneyText_ParseDollars(typed_, std::strlen(typed_), static_cast<int64_t>(INT32_MAX) + 1);
  if (cents < minimum_) {
    amount_ = minimum_;
    amount_accepted_ = false;
  } else if (cents > maximum_) {
    amount_ = maximum_;
    amount_accepted_ = false;
  } else {
    amount_ = static_cast<int32_t>(cents);
    amount_accepted_ = true;
  }
  typed_[0] = '\0';
  Refresh(false);
}

// ---- Frame ----------------------------------------------------------------------------------

void HoldemBetAmountWindow::Update(double seconds, int32_t mouse_x, int32_t mouse_y) {
  if (in_transition_) {
    transition_timer_ += seconds;
    if (closing_) erase_pending_ = true;
    Changed();
    if (transition_timer_ >= kTransitionSeconds) {
      in_transition_ = false;
      if (open_) (void)HitTest(mouse_x, mouse_y);
    }
  } else if (open_) {
    redraw_pending_ = true;
  }
  if (open_ && (down_held_ || up_held_)) {
    repeat_timer_ += seconds;
    if (repeat_timer_ >= 0) {
      StepAmount(up_held_);
      repeat_timer_ = kNextRepeat;
    }
  }
}

bool HoldemBetAmountWindow::Erase(platform::HDC destination, platform::HDC background, RECT* out) {
  if (!erase_pending_) return false;
  erase_pending_ = false;
  const int32_t w = painted_rect_.right - painted_rect_.left + 1;
  const int32_t h = painted_rect_.bottom - painted_rect_.top + 1;
  if (w <= 0 || h <= 0) return false;
  platform::BitBlt(destination, painted_rect_.left, painted_rect_.top, w, h, background, painted_rect_.left,
                   painted_rect_.top, platform::SRCCOPY);
  *out = painted_rect_;
  return true;
}

void HoldemBetAmountWindow::Invalidate() {
  redraw_pending_ = true;
  bool any_dirty = false;
  for (const Button& b : buttons_) any_dirty = any_dirty || b.dirty;
  if (any_dirty) changed_ = true;
}

bool HoldemBetAmountWindow::NeedsRedraw() const {
  if (background_.dc == nullptr) return false;
  return (open_ || in_transition_) && redraw_pending_;
}

bool HoldemBetAmountWindow::Draw(platform::HDC dc) {
  painted_ = false;
  reported_change_ = false;
  if (background_.dc == nullptr || (!open_ && !in_transition_)) return false;
  if (!redraw_pending_ && !always_redraw_) return false;
  RECT rect{x_, y_, x_ + width_ - 1, y_ + height_ - 1};
  if (in_transition_) {
    double f = transition_timer_ * 5;
    if (closing_) f = 1 - f;
    f = std::clamp(f, 0.0, 1.0);
    const int32_t w = static_cast<int32_t>(std::trunc(width_ * f + 0.5));
    const int32_t h = static_cast<int32_t>(std::trunc(height_ * f + 0.5));
    rect.left = x_ + (width_ - w) / 2;
    rect.top = y_ + (height_ - h) / 2;
    rect.right = rect.left + w - 1;
    rect.bottom = rect.top + h - 1;
  }
  painted_rect_ = rect;
  if (rect.right < rect.left || rect.bottom < rect.top) {
    redraw_pending_ = false;
    return false;
  }
  platform::IntersectClipRect(dc, rect.left, rect.top, rect.right + 1, rect.bottom + 1);
  platform::BitBlt(dc, x_, y_, width_, height_, background_.dc, 0, 0, platform::SRCCOPY);
  const BitmapFile& down = down_held_ && down_pressed_.dc != nullptr ? down_pressed_ : down_normal_;
  if (down.dc != nullptr) {
    platform::BitBlt(dc, x_ + down_x_, y_ + down_y_, arrow_width_, arrow_height_, down.dc, 0, 0, platform::SRCCOPY);
  }
  const BitmapFile& up = up_held_ && up_pressed_.dc != nullptr ? up_pressed_ : up_normal_;
  if (up.dc != nullptr) {
    platform::BitBlt(dc, x_ + up_x_, y_ + up_y_, arrow_width_, arrow_height_, up.dc, 0, 0, platform::SRCCOPY);
  }
  if (thumb_.dc != nullptr) {
    platform::BitBlt(dc, x_ + thumb_x_, y_ + thumb_y_, thumb_width_, thumb_height_, thumb_.dc, 0, 0,
                     platform::SRCCOPY);
  }
  PaintText(dc, x_, y_);
  for (int32_t i = 0; i < static_cast<int32_t>(buttons_.size()); ++i) {
    Button& b = buttons_[static_cast<size_t>(i)];
    b.dirty = false;
    if (!b.enabled || sheet_.dc == nullptr) continue;
    const bool pressed_look = hover_ == i && pressed_ == i;
    platform::BitBlt(dc, x_ + b.x, y_ + b.y, button_width_, button_height_, sheet_.dc,
                     (2 * i + (pressed_look ? 1 : 0)) * button_width_, 0, platform::SRCCOPY);
    if (b.label[0] == '\0') continue;
    const RECT& t = b.text_rects[pressed_look ? 1 : 0];
    RECT r{x_ + b.x + t.left, y_ + b.y + t.top, x_ + b.x + t.right, y_ + b.y + t.bottom};
    const platform::HFONT old = label_font_ != nullptr ? platform::SelectObject(dc, label_font_) : nullptr;
    platform::SetBkMode(dc, platform::TRANSPARENT);
    platform::SetTextColor(dc, kLabelColour);
    platform::DrawText(dc, b.label, static_cast<int32_t>(std::strlen(b.label)), &r,
                       platform::DT_CENTER | platform::DT_BOTTOM | platform::DT_SINGLELINE);
    if (old != nullptr) platform::SelectObject(dc, old);
  }
  platform::SelectClipRgn(dc, nullptr);
  redraw_pending_ = false;
  reported_change_ = changed_;
  changed_ = false;
  painted_ = true;
  return true;
}

void HoldemBetAmountWindow::PaintText(platform::HDC dc, int32_t px, int32_t py) {
  using namespace platform;
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, kWhite);
  char text[48];
  const HFONT old = range_font_ != nullptr ? SelectObject(dc, range_font_) : nullptr;
  MoneyText_Padded(text, sizeof text, minimum_, 5);
  RECT r{px + minimum_label_.left, py + minimum_label_.top, px + minimum_label_.right, py + minimum_label_.bottom};
  DrawText(dc, text, static_cast<int32_t>(std::strlen(text)), &r, DT_LEFT | DT_SINGLELINE);
  MoneyText_Padded(text, sizeof text, maximum_, 5);
  r = {px + maximum_label_.left, py + maximum_label_.top, px + maximum_label_.right, py + maximum_label_.bottom};
  DrawText(dc, text, static_cast<int32_t>(std::strlen(text)), &r, DT_RIGHT | DT_SINGLELINE);
  if (amount_font_ != nullptr) SelectObject(dc, amount_font_);
  r = {px + amount_rect_.left, py + amount_rect_.top, px + amount_rect_.right, py + amount_rect_.bottom};
  if (typed_[0] != '\0') {
    std::snprintf(text, sizeof text, "$%s_", typed_);
    DrawText(dc, text, static_cast<int32_t>(std::strlen(text)), &r, DT_RIGHT | DT_SINGLELINE);
  } else {
    MoneyText_Padded(text, sizeof text, amount_, 5);
    // The amount stands as selected text: typing replaces it.
    RECT extent = r;
    DrawText(dc, text, static_cast<int32_t>(std::strlen(text)), &extent, DT_CALCRECT | DT_SINGLELINE);
    const int32_t w = extent.right - extent.left;
    const int32_t h = extent.bottom - extent.top;
    RECT selection{r.left + (r.right - r.left - w) / 2, r.top + (r.bottom - r.top - h) / 2, 0, 0};
    selection.right = selection.left + w;
    selection.bottom = selection.top + h;
    const HBRUSH brush = CreateSolidBrush(kSelection);
    FillRect(dc, &selection, brush);
    DeleteObject(brush);
    DrawText(dc, text, static_cast<int32_t>(std::strlen(text)), &r, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
  }
  if (old != nullptr) SelectObject(dc, old);
}

bool HoldemBetAmountWindow::GetDirtyRect(RECT* out) const {
  if (!painted_ || !reported_change_) return false;
  *out = painted_rect_;
  return true;
}
