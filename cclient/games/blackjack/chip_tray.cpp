#include "cclient/games/blackjack/chip_tray.h"

#include <algorithm>

#include "cclient/widgets/dirty_rect_list.h"
#include "cclient/widgets/table_layout.h"

namespace {
constexpr platform::RECT kNone{-1, -1, -1, -1};
constexpr int32_t kCellsPerChip = 3;  // normal, hovered, pressed
}  // namespace

ChipTray::~ChipTray() {
  ReleaseCappedPicture(&bar_);
  ReleaseBitmapFile(&sheet_);
  ReleaseBitmapFile(&second_sheet_);
}

const char* ChipTray::LoadBar(const char* file, int32_t left_cap, int32_t right_cap, platform::COLORREF key) {
  if (bar_.Loaded()) return "already loaded before!";
  if (file == nullptr || !LoadCappedPicture(file, left_cap, right_cap, key, &bar_)) {
    return "load failed by not finding Bar image file name";
  }
  if (drawer_ != nullptr) drawer_->Reserve(bar_.width, bar_.height);
  return nullptr;
}

const char* ChipTray::LoadChips(int32_t count, const int32_t* values, const char* sheet, const char* second_sheet,
                                const int32_t* xs, const int32_t* ys, platform::COLORREF key) {
  if (count < 1) return "No chip is loaded";
  if (values == nullptr) return "No chip value is offered!";
  chip_count_ = std::min(count, kMaxChips);
  for (int32_t i = 0; i < chip_count_; ++i) {
    values_[i] = values[i];
    chip_x_[i] = xs[i];
    chip_y_[i] = ys[i];
  }
  chip_key_ = key;
  ReleaseBitmapFile(&sheet_);
  ReleaseBitmapFile(&second_sheet_);
  (void)LoadBitmapFile(sheet, &sheet_);
  (void)LoadBitmapFile(second_sheet, &second_sheet_);
  const platform::SIZE size = GetBitmapFileSize(sheet_);
  chip_width_ = size.cx / (count * kCellsPerChip);
  chip_height_ = size.cy;
  if (drawer_ != nullptr) drawer_->Reserve(chip_width_, chip_height_);
  full_redraw_ = true;
  return nullptr;
}

void ChipTray::SetPosition(int32_t x, int32_t hidden_y, int32_t shown_y) {
  Moved();
  x_ = x;
  hidden_y_ = hidden_y;
  shown_y_ = shown_y;
  y_ = hidden_y;
  slide_ = SlideState::kNone;
}

// The bar's middle reaches from the left cap to as far past the last chip as the first chip
// stands past the left cap, so the chips sit centred on it.
int32_t ChipTray::BodyWidth() const {
  if (chip_count_ < 1) return std::max(bar_.width - bar_.left_cap - bar_.right_cap, 0);
  const int32_t margin = chip_x_[0] - bar_.left_cap;
  const int32_t last_right = chip_x_[chip_count_ - 1] + chip_width_;
  return std::max(last_right + margin - bar_.left_cap, 0);
}

platform::RECT ChipTray::ChipRect(int32_t chip) const {
  const int32_t left = x_ + chip_x_[chip];
  const int32_t top = y_ + chip_y_[chip];
  return {left, top, left + chip_width_ - 1, top + chip_height_ - 1};
}

platform::RECT ChipTray::BarRect() const {
  return {x_, y_, x_ + bar_.WidthFor(BodyWidth()) - 1, y_ + bar_.height - 1};
}

platform::RECT ChipTray::GetRect() const {
  platform::RECT rect = kNone;
  if (bar_.Loaded()) rect = BarRect();
  if (chip_width_ > 0) {
    for (int32_t i = 0; i < chip_count_; ++i) Rect_Union(&rect, ChipRect(i));
  }
  return rect;
}

platform::RECT ChipTray::Clip(const platform::RECT& rect) const {
  platform::RECT clipped = rect;
  clipped.bottom = std::min(clipped.bottom, hidden_y_ - 1);
  return clipped;
}

int32_t ChipTray::HitTest(int32_t x, int32_t y) const {
  if (!TakesInput()) return kNoChip;
  for (int32_t i = 0; i < chip_count_; ++i) {
    const platform::RECT r = ChipRect(i);
    if (x > r.left && x < r.right && y > r.top && y < r.bottom) return i;
  }
  const auto inside = [x, y](const platform::RECT& r) {
    return x >= r.left && x <= r.right && y >= r.top && y <= r.bottom;
  };
  if (bar_.Loaded() && inside(BarRect())) return kTrayNotChip;
  for (int32_t i = 0; i < chip_count_; ++i) {
    if (inside(ChipRect(i))) return kTrayNotChip;
  }
  return kNoChip;
}

void ChipTray::MarkChip(int32_t chip) {
  if (chip >= 0 && chip < chip_count_) chip_redraw_[chip] = true;
}

void ChipTray::SetHover(int32_t chip) {
  if (chip == hovered_) return;
  MarkChip(hovered_);
  MarkChip(chip);
  hovered_ = chip;
}

int32_t ChipTray::OnMouseMove(int32_t x, int32_t y) {
  const int32_t hit = HitTest(x, y);
  SetHover(hit >= 0 ? hit : kNoChip);
  return hit;
}

int32_t ChipTray::OnMouseDown(int32_t x, int32_t y) {
  const int32_t hit = HitTest(x, y);
  if (hit >= 0 && hit != pressed_) {
    MarkChip(pressed_);
    MarkChip(hit);
    pressed_ = hit;
  }
  return hit;
}

int32_t ChipTray::OnMouseUp(int32_t x, int32_t y) {
  if (pressed_ == kNoChip) return kNoChip;
  const int32_t pressed = pressed_;
  pressed_ = kNoChip;
  MarkChip(pressed);
  if (HitTest(x, y) != pressed) return kNoChip;
  if (selected_ != pressed) {
    MarkChip(selected_);
    selected_ = pressed;
  }
  return pressed;
}

int32_t ChipTray::GetSelectedValue() const { return GetChipValue(selected_); }

int32_t ChipTray::GetChipValue(int32_t chip) const {
  return chip >= 0 && chip < chip_count_ ? values_[chip] : 0;
}

void ChipTray::Reset() {
  SetHover(kNoChip);
  MarkChip(pressed_);
  MarkChip(selected_);
  pressed_ = selected_ = kNoChip;
}

void ChipTray::Moved() {
  erase_pending_ = !DirtyRectList::IsEmpty(painted_);
  full_redraw_ = true;
}

bool ChipTray::Slide(bool hide, double seconds) {
  if (slide_ != SlideState::kNone) return false;
  const int32_t target = hide ? hidden_y_ : shown_y_;
  if (y_ == target) return false;
  SetHover(kNoChip);
  MarkChip(pressed_);
  pressed_ = kNoChip;
  Moved();
  if (seconds <= 0) {
    y_ = target;
    return true;
  }
  slide_ = hide ? SlideState::kToHidden : SlideState::kToShown;
  slide_from_ = y_;
  slide_seconds_ = seconds;
  slide_elapsed_ = 0;
  return true;
}

void ChipTray::Update(double seconds) {
  if (slide_ == SlideState::kNone || seconds <= 0) return;
  const int32_t target = slide_ == SlideState::kToHidden ? hidden_y_ : shown_y_;
  slide_elapsed_ += seconds;
  int32_t y = target;
  if (slide_elapsed_ < slide_seconds_) {
    y = slide_from_ + static_cast<int32_t>((target - slide_from_) * slide_elapsed_ / slide_seconds_);
  } else {
    slide_ = SlideState::kNone;
  }
  if (y != y_) {
    y_ = y;
    Moved();
  }
}

bool ChipTray::Erase(platform::HDC destination, platform::HDC background, platform::RECT* out) {
  if (erase_pending_) {
    erase_pending_ = false;
    platform::BitBlt(destination, painted_.left, painted_.top, painted_.right - painted_.left + 1,
                     painted_.bottom - painted_.top + 1, background, painted_.left, painted_.top, platform::SRCCOPY);
    *out = painted_;
    painted_ = kNone;
    return true;
  }
  if (full_redraw_ || !Visible()) return false;
  // Only some chips change: their cells go back to the table, and Draw lays bar and chip again.
  platform::RECT erased = kNone;
  for (int32_t i = 0; i < chip_count_; ++i) {
    if (!chip_redraw_[i]) continue;
    const platform::RECT r = Clip(ChipRect(i));
    if (DirtyRectList::IsEmpty(r)) continue;
    platform::BitBlt(destination, r.left, r.top, r.right - r.left + 1, r.bottom - r.top + 1, background, r.left,
                     r.top, platform::SRCCOPY);
    Rect_Union(&erased, r);
  }
  if (DirtyRectList::IsEmpty(erased)) return false;
  *out = erased;
  return true;
}

bool ChipTray::NeedsRedraw() const {
  if (!Visible()) return false;
  if (full_redraw_) return true;
  return std::any_of(chip_redraw_, chip_redraw_ + chip_count_, [](bool b) { return b; });
}

void ChipTray::DrawChip(platform::HDC dc, int32_t chip) {
  const BitmapFile& sheet = chip == selected_ && second_sheet_.dc != nullptr ? second_sheet_ : sheet_;
  if (sheet.dc == nullptr || drawer_ == nullptr || chip_width_ <= 0) return;
  const int32_t cell = chip == pressed_ ? 2 : (chip == hovered_ ? 1 : 0);
  const platform::RECT r = ChipRect(chip);
  drawer_->Draw(sheet.dc, (chip * kCellsPerChip + cell) * chip_width_, 0, chip_width_, chip_height_, dc, r.left,
                r.top, chip_key_);
}

void ChipTray::Draw(platform::HDC dc) {
  drawn_ = kNone;
  if (!Visible()) {
    full_redraw_ = false;
    std::fill(chip_redraw_, chip_redraw_ + kMaxChips, false);
    return;
  }
  if (full_redraw_) {
    const platform::RECT rect = Clip(GetRect());
    platform::IntersectClipRect(dc, rect.left, rect.top, rect.right + 1, rect.bottom + 1);
    DrawCappedPicture(bar_, drawer_, dc, x_, y_, BodyWidth());
    for (int32_t i = 0; i < chip_count_; ++i) DrawChip(dc, i);
    platform::SelectClipRgn(dc, nullptr);
    painted_ = drawn_ = rect;
  } else {
    for (int32_t i = 0; i < chip_count_; ++i) {
      if (!chip_redraw_[i]) continue;
      const platform::RECT r = Clip(ChipRect(i));
      if (DirtyRectList::IsEmpty(r)) continue;
      platform::IntersectClipRect(dc, r.left, r.top, r.right + 1, r.bottom + 1);
      DrawCappedPicture(bar_, drawer_, dc, x_, y_, BodyWidth());
      DrawChip(dc, i);
      platform::SelectClipRgn(dc, nullptr);
      Rect_Union(&drawn_, r);
    }
  }
  full_redraw_ = false;
  std::fill(chip_redraw_, chip_redraw_ + kMaxChips, false);
}

bool ChipTray::GetDirtyRect(platform::RECT* out) const {
  if (DirtyRectList::IsEmpty(drawn_)) return false;
  *out = drawn_;
  return true;
}

void ChipTray::Invalidate(const platform::RECT& rect) {
  if (Visible() && Rect_Overlaps(GetRect(), rect)) full_redraw_ = true;
}
