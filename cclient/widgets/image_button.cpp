#include "cclient/widgets/image_button.h"

namespace {

void (*g_play_click_sound)() = nullptr;

}  // namespace

void ImageButton_SetClickSound(void (*play_click_sound)()) { g_play_click_sound = play_click_sound; }

void ImageButton_PlayClickSound() {
  if (g_play_click_sound != nullptr) g_play_click_sound();
}

ImageButton::ImageButton(int32_t id, int32_t x, int32_t y, int32_t width, int32_t height, const char* normal_file,
                         const char* hover_file, const char* down_file, const char* alternative_down_file)
    : id_(id),
      x_(x),
      y_(y),
      width_(width),
      height_(height),
      has_normal_(normal_file != nullptr),
      has_hover_(hover_file != nullptr),
      has_down_(down_file != nullptr) {
  // A picture that does not load is left missing; Draw falls back for it.
  if (normal_file != nullptr) (void)LoadBitmapFile(normal_file, &normal_);
  if (hover_file != nullptr) (void)LoadBitmapFile(hover_file, &hover_picture_);
  if (down_file != nullptr) (void)LoadBitmapFile(down_file, &down_);
  if (alternative_down_file != nullptr) (void)LoadBitmapFile(alternative_down_file, &alternative_down_);
  current_down_dc_ = down_.dc;
}

ImageButton::~ImageButton() { Release(); }

int ImageButton::OnMouseDown(int32_t x, int32_t y) {
  if (shown_ && Contains(x, y)) {
    pressed_ = true;
    hover_ = true;
    dirty_ = true;
    return 0;
  }
  if (pressed_) {
    pressed_ = false;
    dirty_ = true;
  }
  return -1;
}

int ImageButton::OnMouseUp(int32_t x, int32_t y) {
  if (!pressed_) return -1;
  pressed_ = false;
  dirty_ = true;
  if (!shown_ || !Contains(x, y)) return -1;
  if (g_play_click_sound != nullptr) g_play_click_sound();
  return id_;
}

int ImageButton::OnMouseMove(int32_t x, int32_t y, bool left_button_held) {
  if (left_button_held) {
    if (!pressed_) return -1;
    if (!Contains(x, y)) {
      pressed_ = false;
      hover_ = false;
      dirty_ = true;
    }
    return 0;
  }
  if (pressed_) {
    pressed_ = false;
    dirty_ = true;
  }
  const bool over = shown_ && Contains(x, y);
  if (over != hover_) {
    hover_ = over;
    dirty_ = true;
  }
  return 0;
}

void ImageButton::Erase(platform::HDC destination, platform::HDC background, platform::RECT* out) {
  *out = {0, 0, -1, -1};
  if (!dirty_ || !drawn_ || background == nullptr) return;
  // Where it was painted: a button that moved since leaves its old place to the background.
  platform::BitBlt(destination, drawn_x_, drawn_y_, width_, height_, background, drawn_x_, drawn_y_,
                   platform::SRCCOPY);
  *out = {drawn_x_, drawn_y_, drawn_x_ + width_ - 1, drawn_y_ + height_ - 1};
}

void ImageButton::Draw(platform::HDC destination, platform::RECT* out) {
  dirty_ = false;
  drawn_ = false;
  *out = {0, 0, -1, -1};
  if (!shown_) return;

  if (latched_ || pressed_) {
    if (has_down_) {
      if (current_down_dc_ != nullptr) {
        Copy(destination, current_down_dc_, x_, y_);
      } else if (hover_picture_.dc != nullptr) {
        // Without a down picture the button looks pushed in: another picture 2 pixels over.
        Copy(destination, hover_picture_.dc, x_ + 2, y_ + 2);
      } else if (normal_.dc != nullptr) {
        Copy(destination, normal_.dc, x_ + 2, y_ + 2);
      } else {
        Outline(destination, x_ + 2, y_ + 2);
      }
    }
  } else if (hover_) {
    if (has_hover_) {
      if (hover_picture_.dc != nullptr) {
        Copy(destination, hover_picture_.dc, x_, y_);
      } else if (normal_.dc != nullptr) {
        Copy(destination, normal_.dc, x_, y_);
      } else {
        Outline(destination, x_, y_);
      }
    }
  } else if (has_normal_) {
    if (normal_.dc != nullptr) {
      Copy(destination, normal_.dc, x_, y_);
    } else {
      Outline(destination, x_, y_);
    }
  }
  drawn_ = true;
  drawn_x_ = x_;
  drawn_y_ = y_;
  *out = Rect();
}

void ImageButton::Release() {
  ReleaseBitmapFile(&normal_);
  ReleaseBitmapFile(&hover_picture_);
  ReleaseBitmapFile(&down_);
  ReleaseBitmapFile(&alternative_down_);
  current_down_dc_ = nullptr;
}

void ImageButton::SetDownImage(int32_t which) {
  platform::HDC chosen = nullptr;
  if (which == 0) chosen = down_.dc;
  if (which == 1) chosen = alternative_down_.dc;
  if (chosen == nullptr || chosen == current_down_dc_) return;
  current_down_dc_ = chosen;
  dirty_ = true;
}

void ImageButton::SetShown(bool shown) {
  if (shown_ == shown) return;
  shown_ = shown;
  dirty_ = true;
}

void ImageButton::SetLatched(bool latched) {
  if (latched_ == latched) return;
  latched_ = latched;
  dirty_ = true;
}

void ImageButton::Move(int32_t x, int32_t y) {
  if (x_ == x && y_ == y) return;
  x_ = x;
  y_ = y;
  dirty_ = true;
}

void ImageButton::CancelPress() {
  if (!pressed_) return;
  pressed_ = false;
  dirty_ = true;
}

void ImageButton::Copy(platform::HDC destination, platform::HDC picture, int32_t x, int32_t y) const {
  platform::BitBlt(destination, x, y, width_, height_, picture, 0, 0, platform::SRCCOPY);
}

void ImageButton::Outline(platform::HDC destination, int32_t x, int32_t y) const {
  platform::Rectangle(destination, x, y, x + width_, y + height_);
}
