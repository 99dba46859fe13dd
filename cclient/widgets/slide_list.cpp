#include "cclient/widgets/slide_list.h"

#include <algorithm>
#include <cmath>

#include "cclient/widgets/image_button.h"

namespace {

void LoadIfNamed(const char* file_name, BitmapFile* picture) {
  if (file_name != nullptr) (void)LoadBitmapFile(file_name, picture);
}

void Copy(platform::HDC destination, const BitmapFile& picture, int32_t x, int32_t y, int32_t width, int32_t height) {
  platform::BitBlt(destination, x, y, width, height, picture.dc, 0, 0, platform::SRCCOPY);
}

}  // namespace

// ---- SlideButton ----------------------------------------------------------------------------

SlideButton::SlideButton(int32_t id, int32_t anchor_x, int32_t anchor_y, int32_t width, int32_t height,
                         const char* normal_file, const char* hover_file, const char* pressed_file, bool slide_across,
                         bool slide_up_down)
    : id_(id),
      anchor_x_(anchor_x),
      anchor_y_(anchor_y),
      width_(width),
      height_(height),
      shown_left_(anchor_x),
      shown_top_(anchor_y),
      slide_width_(slide_across ? width : 0),
      slide_height_(slide_up_down ? height : 0) {
  LoadIfNamed(normal_file, &normal_);
  LoadIfNamed(hover_file, &hover_picture_);
  LoadIfNamed(pressed_file, &pressed_picture_);
}

SlideButton::~SlideButton() { FreeImages(); }

void SlideButton::FreeImages() {
  ReleaseBitmapFile(&normal_);
  ReleaseBitmapFile(&hover_picture_);
  ReleaseBitmapFile(&pressed_picture_);
}

void SlideButton::SetEnabled(bool enabled) {
  if (enabled_ == enabled) return;
  enabled_ = enabled;
  redraw_state_ = kSliding;
}

void SlideButton::ReleasePress() {
  if (!pressed_) return;
  pressed_ = false;
  NeedsDrawing();
}

int32_t SlideButton::OnMouseDown(int32_t x, int32_t y) {
  if (enabled_ && InShown(x, y)) {
    hover_ = true;
    pressed_ = true;
    NeedsDrawing();
    return 0;
  }
  ReleasePress();
  return -1;
}

int32_t SlideButton::OnMouseMove(int32_t x, int32_t y, bool left_button_held) {
  const bool on = enabled_ && InShown(x, y);
  if (left_button_held) {
    if (!pressed_) return -1;
    if (on) return 0;
    hover_ = false;
    pressed_ = false;
    NeedsDrawing();
    return 0;
  }
  ReleasePress();
  if (on != hover_) {
    hover_ = on;
    NeedsDrawing();
  }
  return 0;
}

int32_t SlideButton::OnMouseUp(int32_t x, int32_t y) {
  if (!pressed_) return -1;
  pressed_ = false;
  NeedsDrawing();
  if (!enabled_ || !InShown(x, y)) return -1;
  ImageButton_PlayClickSound();
  return id_;
}

void SlideButton::Draw(platform::HDC destination, float seconds, platform::HDC background, platform::RECT* out) {
  if (out != nullptr) *out = {0, 0, -1, -1};
  if (background != nullptr) {
    if (redraw_state_ == kIdle) return;
    if (redraw_state_ == kDrawnOnce) {
      redraw_state_ = kIdle;
      return;
    }
  }
  const float step = seconds * speed_;
  if (enabled_) {
    hidden_share_ -= step;
    if (hidden_share_ <= 0) {
      hidden_share_ = 0;
      if (redraw_state_ == kSliding) redraw_state_ = kNeedsDrawing;
    }
  } else {
    hidden_share_ += step;
    if (hidden_share_ >= 1.0f) {
      hidden_share_ = 1.0f;
      redraw_state_ = kIdle;
      shown_width_ = shown_height_ = 0;
      shown_left_ = anchor_x_;
      shown_top_ = anchor_y_;
      return;
    }
  }
  shown_width_ = width_ - static_cast<int32_t>(std::trunc(slide_width_ * hidden_share_));
  shown_height_ = height_ - static_cast<int32_t>(std::trunc(slide_height_ * hidden_share_));
  shown_left_ = anchor_x_ - shown_width_;
  shown_top_ = anchor_y_ - shown_height_;
  if (redraw_state_ == kNeedsDrawing) redraw_state_ = kDrawnOnce;
  if (shown_width_ <= 0 || shown_height_ <= 0) return;
  Paint(destination);
  if (out == nullptr) return;
  const platform::RECT shown{shown_left_, shown_top_, shown_left_ + shown_width_ - 1, shown_top_ + shown_height_ - 1};
  if (out->left > out->right) {
    *out = shown;
  } else {
    *out = {std::min(out->left, shown.left), std::min(out->top, shown.top), std::max(out->right, shown.right),
            std::max(out->bottom, shown.bottom)};
  }
}

void SlideButton::Paint(platform::HDC destination) const {
  const bool has_hover = hover_picture_.dc != nullptr;
  const bool has_normal = normal_.dc != nullptr;
  const int32_t w = shown_width_;
  const int32_t h = shown_height_;
  if (!pressed_) {
    if (hover_ && has_hover) {
      Copy(destination, hover_picture_, shown_left_, shown_top_, w, h);
    } else if (has_normal) {
      Copy(destination, normal_, shown_left_, shown_top_, w, h);
    } else {
      platform::Rectangle(destination, shown_left_, shown_top_, shown_left_ + w, shown_top_ + h);
    }
    return;
  }
  if (pressed_picture_.dc != nullptr) {
    Copy(destination, pressed_picture_, shown_left_, shown_top_, w, h);
  } else if (!has_hover && !has_normal) {
    platform::Rectangle(destination, shown_left_ + 2, shown_top_ + 2, shown_left_ + w + 2, shown_top_ + h + 2);
  } else {
    Copy(destination, has_hover ? hover_picture_ : normal_, shown_left_ + 2, shown_top_ + 2, w, h);
  }
}

bool SlideButton::Erase(platform::HDC destination, float seconds, platform::HDC background, platform::RECT* out) {
  if (enabled_ || shown_width_ < 1 || shown_height_ < 1) return false;
  platform::RECT strip{shown_left_, shown_top_, shown_left_ + shown_width_ - 1, shown_top_ + shown_height_ - 1};
  // A button that slides only up and down leaves behind the rows above its next top; any other
  // (one that slides across, or one that does not slide and simply goes) its whole shown part.
  if (slide_height_ > 0 && slide_width_ == 0) {
    const float next_share = std::min(1.0f, hidden_share_ + seconds * speed_);
    const int32_t next_top = anchor_y_ - height_ + static_cast<int32_t>(std::trunc(slide_height_ * next_share));
    if (next_top <= shown_top_) return false;
    strip.bottom = next_top - 1;
  }
  platform::BitBlt(destination, strip.left, strip.top, strip.right - strip.left + 1, strip.bottom - strip.top + 1,
                   background, strip.left, strip.top, platform::SRCCOPY);
  *out = strip;
  return true;
}

void SlideButton::InvalidateIfOverlaps(int32_t left, int32_t top, int32_t right, int32_t bottom) {
  if (!enabled_) return;
  const bool across = left > shown_left_ ? left < shown_left_ + shown_width_ : right >= shown_left_;
  const bool down = top > shown_top_ ? top < shown_top_ + shown_height_ : bottom >= shown_top_;
  if (across && down) NeedsDrawing();
}

void SlideButton::GetRect(platform::RECT* out) const {
  *out = {shown_left_, shown_top_, shown_left_ + shown_width_ - 1, shown_top_ + shown_height_ - 1};
}

// ---- SlideListClass -------------------------------------------------------------------------

const char* SlideListClass::AddSlide(int32_t id, int32_t anchor_x, int32_t anchor_y, int32_t width, int32_t height,
                                     const char* normal_file, const char* hover_file, const char* pressed_file,
                                     bool slide_across, bool slide_up_down) {
  if (count_ >= kMaxSlides) return "Maximum slides for slide list reached";
  slots_[static_cast<size_t>(count_)] = std::make_unique<SlideButton>(
      id, anchor_x, anchor_y, width, height, normal_file, hover_file, pressed_file, slide_across, slide_up_down);
  ++count_;
  return nullptr;
}

void SlideListClass::Clear() {
  for (auto& slot : slots_) slot.reset();
  count_ = 0;
}

void SlideListClass::EnableSlide(int32_t id) {
  for (int32_t i = 0; i < count_; ++i) {
    if (slots_[static_cast<size_t>(i)]->Id() == id) slots_[static_cast<size_t>(i)]->SetEnabled(true);
  }
}

void SlideListClass::DisableSlide(int32_t id) {
  for (int32_t i = 0; i < count_; ++i) {
    if (slots_[static_cast<size_t>(i)]->Id() == id) slots_[static_cast<size_t>(i)]->SetEnabled(false);
  }
}

void SlideListClass::ClearPressed() {
  for (int32_t i = 0; i < count_; ++i) slots_[static_cast<size_t>(i)]->ReleasePress();
}

int32_t SlideListClass::OnMouseDown(int32_t x, int32_t y) {
  for (int32_t i = 0; i < count_; ++i) (void)slots_[static_cast<size_t>(i)]->OnMouseDown(x, y);
  return -1;
}

int32_t SlideListClass::OnMouseMove(int32_t x, int32_t y, bool left_button_held) {
  for (int32_t i = 0; i < count_; ++i) (void)slots_[static_cast<size_t>(i)]->OnMouseMove(x, y, left_button_held);
  return -1;
}

int32_t SlideListClass::OnMouseUp(int32_t x, int32_t y) {
  int32_t result = -1;
  for (int32_t i = 0; i < count_; ++i) {
    const int32_t id = slots_[static_cast<size_t>(i)]->OnMouseUp(x, y);
    if (id != -1) result = id;
  }
  return result;
}

void SlideListClass::InvalidateArea(int32_t left, int32_t top, int32_t right, int32_t bottom) {
  for (int32_t i = 0; i < count_; ++i) slots_[static_cast<size_t>(i)]->InvalidateIfOverlaps(left, top, right, bottom);
}

int32_t SlideListClass::GetSlideRect(int32_t index, platform::RECT* out) const {
  const SlideButton* button = Slot(index);
  if (button == nullptr) return -1;
  button->GetRect(out);
  return 0;
}

bool SlideListClass::MergeRects(platform::RECT* a, const platform::RECT& b) {
  if (a->left != b.left || a->right != b.right) return false;
  const platform::RECT& upper = a->top <= b.top ? *a : b;
  const platform::RECT& lower = a->top <= b.top ? b : *a;
  if (lower.top > upper.bottom) return false;
  a->top = std::min(a->top, b.top);
  a->bottom = std::max(a->bottom, b.bottom);
  return true;
}

void SlideListClass::Report(DirtyRectList* dirty, int32_t first, const platform::RECT& rect) {
  if (dirty == nullptr) return;
  for (int32_t i = first; i < dirty->Count(); ++i) (void)MergeRects(&dirty->At(i), rect);
  dirty->Add(rect);
}

void SlideListClass::Draw(platform::HDC destination, float seconds, platform::HDC background, bool draw_all,
                          DirtyRectList* dirty) {
  const int32_t first = dirty != nullptr ? dirty->Count() : 0;
  if (background != nullptr) {
    for (int32_t i = 0; i < count_; ++i) {
      platform::RECT erased;
      if (slots_[static_cast<size_t>(i)]->Erase(destination, seconds, background, &erased)) {
        Report(dirty, first, erased);
      }
    }
  } else {
    draw_all = true;
  }
  for (int32_t i = 0; i < count_; ++i) {
    SlideButton* button = slots_[static_cast<size_t>(i)].get();
    if (!draw_all && button->RedrawState() == SlideButton::kIdle) continue;
    platform::RECT painted;
    button->Draw(destination, seconds, background, &painted);
    if (painted.left <= painted.right) Report(dirty, first, painted);
  }
}
