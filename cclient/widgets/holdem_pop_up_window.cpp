#include "cclient/widgets/holdem_pop_up_window.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "platform/text/text.h"

namespace {

constexpr float kTransitionSeconds = 0.2f;
constexpr platform::COLORREF kLabelColour = 0xEEEEEE;

void LoadNamed(const char* const* names, int32_t i, BitmapFile* picture) {
  if (names != nullptr && names[i] != nullptr && names[i][0] != '\0') (void)LoadBitmapFile(names[i], picture);
}

}  // namespace

HoldemPopUpWindow::HoldemPopUpWindow() = default;
HoldemPopUpWindow::~HoldemPopUpWindow() { Free(); }

void HoldemPopUpWindow::Free() {
  ReleaseBitmapFile(&background_);
  for (Button& b : buttons_) {
    ReleaseBitmapFile(&b.pressed);
    ReleaseBitmapFile(&b.hover);
    ReleaseBitmapFile(&b.normal);
  }
  buttons_.clear();
}

const char* HoldemPopUpWindow::LoadBackground(const char* file_name, int32_t x, int32_t y) {
  ReleaseBitmapFile(&background_);
  (void)LoadBitmapFile(file_name, &background_);
  const platform::SIZE size = GetBitmapFileSize(background_);
  width_ = size.cx;
  height_ = size.cy;
  x_ = x;
  y_ = y;
  return nullptr;
}

const char* HoldemPopUpWindow::AddButtons(int32_t count, const int32_t* ids, const int32_t* xs, const int32_t* ys,
                                          const char* const* pressed_files, const char* const* hover_files,
                                          const char* const* normal_files, const platform::RECT* text_rects,
                                          platform::HFONT font) {
  if (count <= 0) return "No button is added";
  buttons_.resize(static_cast<size_t>(count));
  font_ = font;
  for (int32_t i = 0; i < count; ++i) {
    Button& b = buttons_[static_cast<size_t>(i)];
    LoadNamed(pressed_files, i, &b.pressed);
    LoadNamed(hover_files, i, &b.hover);
    LoadNamed(normal_files, i, &b.normal);
    const BitmapFile& sizing = b.hover.bitmap != nullptr ? b.hover : (b.normal.bitmap != nullptr ? b.normal : b.pressed);
    const platform::SIZE size = GetBitmapFileSize(sizing);
    b.width = size.cx;
    b.height = size.cy;
    b.x = xs[i];
    b.y = ys[i];
    b.id = ids[i];
    for (int32_t s = 0; s < 3; ++s) {
      b.text_rects[s] = text_rects != nullptr ? text_rects[3 * i + s] : platform::RECT{0, 0, b.width - 1, b.height - 1};
    }
  }
  return nullptr;
}

bool HoldemPopUpWindow::SetButtonText(int32_t id, const char* text) {
  for (Button& b : buttons_) {
    if (b.id != id) continue;
    if (text == nullptr) text = "";
    const size_t length = std::min(std::strlen(text), sizeof b.label - 1);
    std::memcpy(b.label, text, length);
    b.label[length] = '\0';
    b.label_length = static_cast<int32_t>(length);
    b.dirty = true;
    dirty_ = true;
    return true;
  }
  return false;
}

bool HoldemPopUpWindow::Open() {
  if (open_) return false;
  open_ = true;
  if (!in_transition_) {
    in_transition_ = true;
    timer_ = 0;
  }
  hover_ = pressed_ = -1;
  return true;
}

bool HoldemPopUpWindow::Close() {
  if (!open_) return false;
  open_ = false;
  if (!in_transition_) {
    in_transition_ = true;
    timer_ = 0;
  }
  hover_ = pressed_ = -1;
  return true;
}

int32_t HoldemPopUpWindow::GetTransition() const {
  if (!in_transition_) return 0;
  return open_ ? 1 : -1;
}

int32_t HoldemPopUpWindow::HitTest(int32_t x, int32_t y) {
  if (in_transition_ || buttons_.empty() || !open_) {
    hover_ = pressed_ = -1;
    return -1;
  }
  for (int32_t i = 0; i < static_cast<int32_t>(buttons_.size()); ++i) {
    const Button& b = buttons_[static_cast<size_t>(i)];
    if (x_ + b.x < x && x < x_ + b.x + b.width && y_ + b.y < y && y < y_ + b.y + b.height) {
      if (hover_ != i) {
        if (hover_ >= 0) buttons_[static_cast<size_t>(hover_)].dirty = true;
        buttons_[static_cast<size_t>(i)].dirty = true;
        dirty_ = true;
      }
      hover_ = i;
      if (pressed_ >= 0 && pressed_ != i) {
        pressed_ = -1;
        all_dirty_ = true;
      }
      return b.id;
    }
  }
  if (pressed_ >= 0) all_dirty_ = true;
  if (hover_ >= 0) {
    buttons_[static_cast<size_t>(hover_)].dirty = true;
    dirty_ = true;
  }
  hover_ = pressed_ = -1;
  const bool on_panel = x_ <= x && x < x_ + width_ && y_ <= y && y < y_ + height_;
  return on_panel ? -2 : -1;
}

int32_t HoldemPopUpWindow::OnMouseDown(int32_t x, int32_t y) {
  const int32_t hit = HitTest(x, y);
  if (hit >= 0) {
    pressed_ = hover_;
    buttons_[static_cast<size_t>(pressed_)].dirty = true;
    dirty_ = true;
    return hit;
  }
  pressed_ = -1;
  return -1;
}

int32_t HoldemPopUpWindow::OnMouseUp(int32_t x, int32_t y) {
  if (pressed_ < 0) return -1;
  const int32_t was_pressed = pressed_;
  const int32_t hit = HitTest(x, y);
  pressed_ = -1;
  if (hover_ != was_pressed) all_dirty_ = true;
  if (hit < 0) return -1;
  if (hover_ == was_pressed) {
    all_dirty_ = true;
    return hit;
  }
  return -1;
}

void HoldemPopUpWindow::Update(float seconds, int32_t mouse_x, int32_t mouse_y) {
  if (!in_transition_) return;
  all_dirty_ = true;
  dirty_ = true;
  if (!open_) erase_pending_ = true;
  timer_ += seconds;
  if (timer_ >= kTransitionSeconds) {
    in_transition_ = false;
    if (open_) (void)HitTest(mouse_x, mouse_y);
  }
}

void HoldemPopUpWindow::DrawButton(platform::HDC dc, int32_t i) {
  Button& b = buttons_[static_cast<size_t>(i)];
  const bool hovered = hover_ == i;
  const bool pressed_look = hovered && pressed_ == i;
  const BitmapFile* picture = pressed_look ? &b.pressed : (hovered ? &b.hover : &b.normal);
  if (picture->dc == nullptr) picture = b.normal.dc != nullptr ? &b.normal : (b.hover.dc != nullptr ? &b.hover : &b.pressed);
  if (picture->dc != nullptr) {
    platform::BitBlt(dc, x_ + b.x, y_ + b.y, b.width, b.height, picture->dc, 0, 0, platform::SRCCOPY);
  }
  if (b.label_length > 0) {
    const int32_t state = pressed_look ? 2 : (hovered ? 1 : 0);
    const platform::RECT& t = b.text_rects[state];
    platform::RECT r{x_ + b.x + t.left, y_ + b.y + t.top, x_ + b.x + t.right, y_ + b.y + t.bottom};
    const platform::HFONT old = font_ != nullptr ? platform::SelectObject(dc, font_) : nullptr;
    platform::SetBkMode(dc, platform::TRANSPARENT);
    platform::SetTextColor(dc, kLabelColour);
    platform::DrawText(dc, b.label, b.label_length, &r,
                       platform::DT_CENTER | platform::DT_BOTTOM | platform::DT_SINGLELINE);
    if (old != nullptr) platform::SelectObject(dc, old);
  }
}

bool HoldemPopUpWindow::Draw(platform::HDC dc) {
  painted_ = false;
  erase_pending_ = false;
  if (background_.dc == nullptr) return false;
  if (in_transition_) {
    const float f = open_ ? 1 - 5 * timer_ : 5 * timer_;
    const int32_t hx = static_cast<int32_t>(std::trunc((width_ * f + 1) * 0.5));
    const int32_t vy = static_cast<int32_t>(std::trunc((height_ * f + 1) * 0.5));
    const int32_t w = width_ - 2 * hx;
    const int32_t h = height_ - 2 * vy;
    last_painted_ = {x_ + hx, y_ + vy, x_ + hx + w - 1, y_ + vy + h - 1};
    dirty_rect_ = last_painted_;
    // A band of no width or height is a blit of nothing.
    if (w > 0 && h > 0) platform::BitBlt(dc, x_ + hx, y_ + vy, w, h, background_.dc, hx, vy, platform::SRCCOPY);
    painted_ = true;
    return true;
  }
  if (!open_) {
    all_dirty_ = false;
    return false;
  }
  const bool whole = always_redraw_ || all_dirty_;
  if (whole) {
    platform::BitBlt(dc, x_, y_, width_, height_, background_.dc, 0, 0, platform::SRCCOPY);
    last_painted_ = dirty_rect_ = {x_, y_, x_ + width_ - 1, y_ + height_ - 1};
    painted_ = true;
  }
  bool first_single = true;
  for (int32_t i = 0; i < static_cast<int32_t>(buttons_.size()); ++i) {
    Button& b = buttons_[static_cast<size_t>(i)];
    if (!(whole || b.dirty)) continue;
    DrawButton(dc, i);
    painted_ = true;
    if (!whole) {
      const platform::RECT r{x_ + b.x, y_ + b.y, x_ + b.x + b.width - 1, y_ + b.y + b.height - 1};
      if (first_single) {
        dirty_rect_ = r;
        first_single = false;
      } else {
        dirty_rect_ = {std::min(dirty_rect_.left, r.left), std::min(dirty_rect_.top, r.top),
                       std::max(dirty_rect_.right, r.right), std::max(dirty_rect_.bottom, r.bottom)};
      }
    }
  }
  all_dirty_ = false;
  for (Button& b : buttons_) b.dirty = false;
  if (painted_) dirty_ = true;
  return painted_;
}

bool HoldemPopUpWindow::Erase(platform::HDC destination, platform::HDC background, platform::RECT* out) {
  if (!erase_pending_) return false;
  erase_pending_ = false;
  const int32_t w = last_painted_.right - last_painted_.left + 1;
  const int32_t h = last_painted_.bottom - last_painted_.top + 1;
  if (w > 0 && h > 0) {
    platform::BitBlt(destination, last_painted_.left, last_painted_.top, w, h, background, last_painted_.left,
                     last_painted_.top, platform::SRCCOPY);
  }
  *out = last_painted_;
  return true;
}

void HoldemPopUpWindow::Invalidate() {
  bool any_dirty = false;
  for (const Button& b : buttons_) any_dirty = any_dirty || b.dirty;
  all_dirty_ = true;
  if (!any_dirty) dirty_ = false;
}

bool HoldemPopUpWindow::GetDirtyRect(platform::RECT* out) const {
  if (!painted_ || !dirty_) return false;
  *out = dirty_rect_;
  return true;
}

bool HoldemPopUpWindow::GetRect(platform::RECT* out) const {
  if (!open_ && !in_transition_) return false;
  *out = last_painted_;
  return true;
}
