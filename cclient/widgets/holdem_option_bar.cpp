#include "cclient/widgets/holdem_option_bar.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstring>

#include "cclient/widgets/money_text.h"

namespace {

constexpr platform::COLORREF kLabelColour = 0xEEEEEE;
constexpr uint32_t kDefaultFormat = platform::DT_CENTER | platform::DT_BOTTOM | platform::DT_SINGLELINE;

}  // namespace

HoldemOptionBar::HoldemOptionBar() = default;
HoldemOptionBar::~HoldemOptionBar() { Free(); }

const char* HoldemOptionBar::LoadBackground(const char* file_name, bool transparent, platform::COLORREF key) {
  if (HasBackground()) return "already loaded before";
  if (file_name == nullptr || !LoadBitmapFile(file_name, &background_)) return "file name does not exist";
  const platform::SIZE size = GetBitmapFileSize(background_);
  width_ = size.cx;
  height_ = size.cy;
  transparent_ = transparent;
  key_ = key;
  return nullptr;
}

const char* HoldemOptionBar::AddButtons(int32_t count, const int32_t* ids, const int32_t* xs, const int32_t* ys,
                                        const int32_t* cell_indexes, const char* sheet_file,
                                        const int32_t* cell_sizes, const platform::RECT* text_rects,
                                        platform::HFONT font, const uint32_t* formats) {
  if (count <= 0) return "No button is added";
  options_.assign(static_cast<size_t>(count), Option{});
  font_ = font;
  has_formats_ = formats != nullptr;
  for (int32_t i = 0; i < count; ++i) {
    Option& o = options_[static_cast<size_t>(i)];
    const int32_t entry = cell_indexes != nullptr && cell_indexes[i] >= 0 ? cell_indexes[i] : i;
    int32_t before = 0;
    for (int32_t e = 0; e < entry; ++e) before += cell_sizes[2 * e];
    o.cell_x = 2 * before;
    o.width = cell_sizes[2 * entry];
    o.height = cell_sizes[2 * entry + 1];
    o.x = xs[i];
    o.y = ys[i];
    o.id = ids[i];
    for (int32_t s = 0; s < 3; ++s) {
      o.text_rects[s] = text_rects != nullptr ? text_rects[3 * i + s] : platform::RECT{0, 0, o.width - 1, o.height - 1};
    }
    o.format = formats != nullptr ? formats[i] : 0;
    widest_ = std::max(widest_, o.width);
    tallest_ = std::max(tallest_, o.height);
    if (!HasBackground()) {
      width_ = std::max(width_, o.x + o.width);
      height_ = std::max(height_, o.y + o.height);
    }
  }
  (void)LoadBitmapFile(sheet_file, &sheet_);
  return nullptr;
}

void HoldemOptionBar::Free() {
  ReleaseBitmapFile(&background_);
  ReleaseBitmapFile(&sheet_);
  platform::DeleteDC(work_dc_);
  platform::DeleteObject(work_bitmap_);
  work_dc_ = nullptr;
  work_bitmap_ = nullptr;
  options_.clear();
  for (const auto& made : smaller_fonts_) platform::DeleteObject(made.second);
  smaller_fonts_.clear();
}

// Selects the labels' font, or, for a label wider than `width` in it, the largest smaller size of
// the same font in which it fits (never below 8 pixels).
void HoldemOptionBar::SelectLabelFont(const char* label, int32_t length, int32_t width) {
  if (font_ == nullptr) return;
  platform::SelectObject(work_dc_, font_);
  platform::SIZE size{0, 0};
  if (!platform::GetTextExtentPoint32(work_dc_, label, length, &size) || size.cx <= width) return;
  platform::LOGFONT description{};
  if (platform::GetObject(font_, sizeof description, &description) == 0) return;
  const int32_t sign = description.lfHeight < 0 ? -1 : 1;
  const int32_t start = description.lfHeight != 0 ? description.lfHeight * sign : 16;
  for (int32_t height = start - 1; height >= 8; --height) {
    platform::HFONT smaller = nullptr;
    for (const auto& made : smaller_fonts_) {
      if (made.first == height) smaller = made.second;
    }
    if (smaller == nullptr) {
      description.lfHeight = height * sign;
      smaller = platform::CreateFontIndirect(&description);
      if (smaller == nullptr) return;
      smaller_fonts_.emplace_back(height, smaller);
    }
    platform::SelectObject(work_dc_, smaller);
    if (platform::GetTextExtentPoint32(work_dc_, label, length, &size) && size.cx <= width) return;
  }
}

void HoldemOptionBar::SetShownPosition(int32_t x, int32_t y) {
  shown_x_ = x;
  shown_y_ = y;
}

void HoldemOptionBar::SetHiddenPosition(int32_t x, int32_t y) {
  hidden_x_ = x_ = x;
  hidden_y_ = y_ = y;
}

int32_t HoldemOptionBar::FindIndex(int32_t id) const {
  for (size_t i = 0; i < options_.size(); ++i) {
    if (options_[i].id == id) return static_cast<int32_t>(i);
  }
  return -1;
}

void HoldemOptionBar::MarkDirty(int32_t index) {
  if (index >= 0 && index < static_cast<int32_t>(options_.size())) options_[static_cast<size_t>(index)].dirty = true;
}

bool HoldemOptionBar::SetOptionText(int32_t id, const char* text) {
  const int32_t index = FindIndex(id);
  if (index < 0) return false;
  Option& o = options_[static_cast<size_t>(index)];
  if (text == nullptr) text = "";
  char copy[kLabelSize];
  const size_t length = std::min(std::strlen(text), sizeof copy - 1);
  std::memcpy(copy, text, length);
  copy[length] = '\0';
  o.dirty = true;
  if (index == selected_ && std::strcmp(copy, o.label) != 0) (void)ClearSelection();
  std::memcpy(o.label, copy, length + 1);
  o.label_length = static_cast<int32_t>(length);
  return true;
}

const char* HoldemOptionBar::GetOptionText(int32_t id) const {
  const int32_t index = FindIndex(id);
  return index < 0 ? nullptr : options_[static_cast<size_t>(index)].label;
}

int32_t HoldemOptionBar::GetOptionAmount(int32_t id) const {
  const int32_t index = FindIndex(id);
  return index < 0 ? 0 : ParseOptionAmount(options_[static_cast<size_t>(index)].label);
}

int32_t HoldemOptionBar::ParseOptionAmount(const char* label) {
  const size_t n = std::strlen(label);
  if (n == 0) return 0;
  if (label[n - 1] == 'c') {
    // "Call 50c": the digits between the last blank and the "c" are cents.
    size_t blank = n - 1;
    while (blank > 0 && label[blank - 1] != ' ') --blank;
    if (blank == 0) return 0;
    int64_t cents = 0;
    for (size_t i = blank; i < n - 1; ++i) {
      if (label[i] < '0' || label[i] > '9') break;
      cents = std::min<int64_t>(cents * 10 + (label[i] - '0'), INT32_MAX);
    }
    return static_cast<int32_t>(cents);
  }
  const char* dollar = std::strrchr(label, '$');
  if (dollar == nullptr) return 0;
  const char* number = dollar + 1;
  return static_cast<int32_t>(MoneyText_ParseDollars(number, std::strlen(number), INT32_MAX));
}

bool HoldemOptionBar::EnableOption(int32_t id) {
  const int32_t index = FindIndex(id);
  if (index < 0) return false;
  Option& o = options_[static_cast<size_t>(index)];
  if (!o.enabled) o.dirty = true;
  o.enabled = true;
  return true;
}

bool HoldemOptionBar::IsOptionEnabled(int32_t id) const {
  const int32_t index = FindIndex(id);
  return index >= 0 && options_[static_cast<size_t>(index)].enabled;
}

void HoldemOptionBar::DisableAllOptions() {
  for (Option& o : options_) {
    if (o.enabled) bar_dirty_ = true;
    o.enabled = false;
  }
}

bool HoldemOptionBar::NoOptionEnabled() const {
  for (const Option& o : options_) {
    if (o.enabled) return false;
  }
  return true;
}

// ---- Slide, unfold and fold -----------------------------------------------------------------

bool HoldemOptionBar::Slide(bool hide, float seconds) {
  if (sliding_) return false;
  if (hide && y_ == hidden_y_) return false;
  if (!hide && ((!HasBackground() && NoOptionEnabled()) || y_ == shown_y_)) return false;
  animating_ = false;
  hidden_ = hide;
  hover_ = pressed_ = -1;
  if (seconds > 0) {
    timer_ = 0;
    duration_ = seconds;
    sliding_ = true;
    return true;
  }
  if (!hide) bar_dirty_ = true;
  return true;
}

void HoldemOptionBar::UnfoldOptions(float seconds) {
  if (options_shown_) return;
  options_shown_ = true;
  if (sliding_ || animating_) return;
  timer_ = 0;
  duration_ = seconds;
  animating_ = true;
}

void HoldemOptionBar::FoldOptions(float seconds) {
  (void)ClearSelection();
  if (!options_shown_) return;
  options_shown_ = false;
  if (sliding_ || animating_) return;
  timer_ = 0;
  duration_ = seconds;
  animating_ = true;
}

void HoldemOptionBar::FinishSlide() {
  sliding_ = false;
  if (hidden_) {
    y_ = hidden_y_;
    for (Option& o : options_) o.enabled = false;
  } else {
    y_ = shown_y_;
    bar_dirty_ = true;
  }
}

int32_t HoldemOptionBar::Update(float seconds, int32_t mouse_x, int32_t mouse_y) {
  const int32_t target_x = hidden_ ? hidden_x_ : shown_x_;
  const int32_t target_y = hidden_ ? hidden_y_ : shown_y_;
  if (sliding_) {
    timer_ += seconds;
    if (timer_ < duration_) {
      bar_dirty_ = true;
      x_ = target_x;
      const double share = (duration_ - timer_) / static_cast<double>(duration_);
      y_ = hidden_ ? hidden_y_ + static_cast<int32_t>(std::trunc((shown_y_ - hidden_y_) * share))
                   : shown_y_ + static_cast<int32_t>(std::trunc((hidden_y_ - shown_y_) * share));
      return -1;
    }
    FinishSlide();
    x_ = target_x;
    y_ = target_y;
    return hidden_ ? -1 : HitTest(mouse_x, mouse_y);
  }
  if (animating_) {
    timer_ += seconds;
    bar_dirty_ = true;
    for (Option& o : options_) o.dirty = true;
    if (timer_ >= duration_) animating_ = false;
  } else if (countdown_ >= 0) {
    countdown_ -= seconds;
  }
  if (x_ != target_x || y_ != target_y) bar_dirty_ = true;
  x_ = target_x;
  y_ = target_y;
  return -1;
}

// ---- Mouse and selection --------------------------------------------------------------------

int32_t HoldemOptionBar::HitTest(int32_t x, int32_t y) {
  if (sliding_ || hidden_ || y_ == hidden_y_) {
    MarkDirty(hover_);
    hover_ = pressed_ = -1;
    return -1;
  }
  for (int32_t i = 0; i < static_cast<int32_t>(options_.size()); ++i) {
    const Option& o = options_[static_cast<size_t>(i)];
    if (!o.enabled) continue;
    const int32_t left = x_ + o.x;
    const int32_t top = y_ + o.y;
    if (x >= left && x < left + o.width && y >= top && y < top + o.height) {
      if (hover_ != i) {
        MarkDirty(hover_);
        MarkDirty(i);
        if (pressed_ != i) pressed_ = -1;
      }
      hover_ = i;
      return o.id;
    }
  }
  MarkDirty(hover_);
  MarkDirty(pressed_);
  hover_ = pressed_ = -1;
  return -1;
}

int32_t HoldemOptionBar::OnClick(int32_t x, int32_t y) {
  const int32_t id = HitTest(x, y);
  if (id < 0) {
    pressed_ = -1;
    return -1;
  }
  pressed_ = hover_;
  SelectOption(id, hover_);
  return id;
}

void HoldemOptionBar::SelectOption(int32_t id, int32_t index) {
  if (index < 0 || index >= static_cast<int32_t>(options_.size())) index = FindIndex(id);
  if (index < 0) return;
  if (index == selected_) {
    (void)ClearSelection();
    return;
  }
  MarkDirty(selected_);
  selected_ = index;
  countdown_ = 0.5;
  MarkDirty(index);
}

int32_t HoldemOptionBar::ClearSelection() {
  const int32_t old = selected_;
  MarkDirty(old);
  selected_ = -1;
  countdown_ = 0;
  return old;
}

int32_t HoldemOptionBar::GetSelectedOption() const {
  return selected_ >= 0 ? options_[static_cast<size_t>(selected_)].id : -1;
}

// ---- Painting -------------------------------------------------------------------------------

bool HoldemOptionBar::Draw(platform::HDC dc) { return DrawAt(dc, x_, y_); }

bool HoldemOptionBar::DrawAt(platform::HDC dc, int32_t x, int32_t y) {
  painted_ = false;
  auto clear_dirty = [this]() {
    bar_dirty_ = false;
    for (Option& o : options_) o.dirty = false;
  };
  if (y == hidden_y_) {
    clear_dirty();
    return false;
  }
  // The rows of the bar that stand clear of its hidden edge.
  const int32_t h = height_;
  int32_t first_row = 0;
  int32_t last_row = h;  // exclusive
  if (hidden_y_ > shown_y_) {
    last_row = std::min(h, hidden_y_ - y);
  } else {
    first_row = std::clamp(hidden_y_ + h - y, 0, h);
  }
  if (last_row <= first_row) {
    clear_dirty();
    return false;
  }
  const bool background_painted = HasBackground() && (always_redraw_ || bar_dirty_);
  if (background_painted) {
    platform::BitBlt(dc, x, y + first_row, width_, last_row - first_row, background_.dc, 0, first_row,
                     platform::SRCCOPY);
    painted_ = true;
  }
  if ((!options_shown_ && !animating_) || NoOptionEnabled() || sheet_.dc == nullptr) {
    clear_dirty();
    return painted_;
  }
  int32_t clip_top = y + first_row;
  int32_t clip_bottom = y + last_row;  // exclusive
  if (animating_ && duration_ > 0) {
    const double t = std::min(1.0, static_cast<double>(timer_) / duration_);
    const double open = options_shown_ ? h * t : (1 - t) * h;
    const int32_t band = h - static_cast<int32_t>(std::trunc(open + 0.5));
    clip_top = std::max(clip_top, y + band / 2);
    clip_bottom = std::min(clip_bottom, y + h - band / 2);
  }
  if (work_dc_ == nullptr && widest_ > 0 && tallest_ > 0) {
    work_dc_ = platform::CreateCompatibleDC(dc);
    work_bitmap_ = platform::CreateCompatibleBitmap(dc, widest_, tallest_);
    platform::SelectObject(work_dc_, work_bitmap_);
  }
  for (int32_t i = 0; i < static_cast<int32_t>(options_.size()) && work_dc_ != nullptr; ++i) {
    const Option& o = options_[static_cast<size_t>(i)];
    // A repainted background has covered every option, so each is painted again.
    if (!o.enabled || !(o.dirty || always_redraw_ || background_painted)) continue;
    const int32_t cell_x = o.cell_x + (i == selected_ ? o.width : 0);
    platform::BitBlt(work_dc_, 0, 0, o.width, o.height, sheet_.dc, cell_x, 0, platform::SRCCOPY);
    if (o.label_length > 0) {
      const int32_t state = (hover_ == i && pressed_ == i) ? 2 : (hover_ == i ? 1 : 0);
      platform::RECT r = o.text_rects[state];
      const platform::HFONT old = font_ != nullptr ? platform::SelectObject(work_dc_, font_) : nullptr;
      // A label centred over the whole option keeps clear of the check box at the option's left
      // (as wide as the option is high): a longer one is drawn in a smaller size.
      const int32_t room = r.right - r.left + 1 - (r.left <= 0 ? 2 * o.height + 2 : 0);
      SelectLabelFont(o.label, o.label_length, room);
      platform::SetBkMode(work_dc_, platform::TRANSPARENT);
      platform::SetTextColor(work_dc_, kLabelColour);
      platform::DrawText(work_dc_, o.label, o.label_length, &r, has_formats_ ? o.format : kDefaultFormat);
      if (old != nullptr) platform::SelectObject(work_dc_, old);
    }
    const int32_t top = std::max(y + o.y, clip_top);
    const int32_t bottom = std::min(y + o.y + o.height, clip_bottom);
    if (bottom <= top) continue;
    platform::BitBlt(dc, x + o.x, top, o.width, bottom - top, work_dc_, 0, top - (y + o.y), platform::SRCCOPY);
    painted_ = true;
  }
  clear_dirty();
  return painted_;
}

bool HoldemOptionBar::GetShownRect(platform::RECT* out) const {
  if (!painted_) return false;
  *out = {shown_x_, shown_y_, shown_x_ + width_ - 1, shown_y_ + height_ - 1};
  return true;
}

void HoldemOptionBar::GetRect(platform::RECT* out) const {
  *out = {x_, y_, x_ + width_ - 1, std::min(y_ + height_ - 1, hidden_y_ - 1)};
}

void HoldemOptionBar::InvalidateOptions() {
  bar_dirty_ = true;
  for (Option& o : options_) {
    if (o.enabled) o.dirty = true;
  }
}
