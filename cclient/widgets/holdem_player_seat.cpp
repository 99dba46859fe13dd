#include "cclient/widgets/holdem_player_seat.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

#include "cclient/base/player_flags.h"
#include "cclient/widgets/bitmap_file.h"

namespace {

using platform::HDC;
using platform::RECT;

constexpr platform::COLORREF kTextColour = platform::RGB(250, 250, 250);

// What every seat shares.
struct SharedSeatState {
  int32_t live_seats = 0;
  bool image_loaded = false;
  BitmapFile plate;
  int32_t taken_width = 0, taken_height = 0;
  int32_t open_width = 0, open_height = 0;
  int32_t taken_inset = 0, open_inset = 0;
  platform::COLORREF key = platform::RGB(255, 255, 255);
  RECT text_rect{0, 0, 0, 0};
  RECT name_rect{0, 0, 0, 0};
  float grow = 0.5f, hold = 1.0f, shrink = 0.5f;
  platform::HFONT name_font = nullptr;
  platform::HFONT winner_font = nullptr;
  platform::HFONT action_font = nullptr;
  platform::HFONT reserved_font = nullptr;
  // The descriptions the three given fonts were made from, and smaller fonts of the same faces for
  // texts that are wider than their rectangle in the given size.
  platform::LOGFONT described[3] = {};
  bool has_description[3] = {};
  struct Smaller {
    int32_t kind;
    int32_t height;
    platform::HFONT font;
  };
  std::vector<Smaller> smaller;
  HDC work_dc = nullptr;
  platform::HBITMAP work_bitmap = nullptr;
};

SharedSeatState& Shared() {
  static SharedSeatState state;
  return state;
}

void UpdateNameRect() {
  SharedSeatState& s = Shared();
  s.name_rect = s.text_rect;
  if (s.taken_width > 0) {
    s.name_rect.left = 0;
    s.name_rect.right = s.taken_width - 1;
  }
}

void DrawLine(HDC dc, const char* text, RECT rect, uint32_t format) {
  platform::DrawText(dc, text, static_cast<int32_t>(std::strlen(text)), &rect, format);
}

// The font kinds whose descriptions are kept.
enum FontKind : int32_t { kNameFont = 0, kWinnerFont = 1, kActionFont = 2 };

int32_t TextWidth(HDC dc, const char* text) {
  platform::SIZE size{0, 0};
  if (!platform::GetTextExtentPoint32(dc, text, static_cast<int32_t>(std::strlen(text)), &size)) return 0;
  return size.cx;
}

// Selects the font of `kind` (`font`) into the DC, or, when `text` is wider than `width` in it, the
// largest smaller font of the same face in which it fits (never below 8 pixels).
void SelectFitting(HDC dc, int32_t kind, platform::HFONT font, const char* text, int32_t width) {
  SharedSeatState& s = Shared();
  if (font == nullptr) return;
  platform::SelectObject(dc, font);
  if (!s.has_description[kind] || TextWidth(dc, text) <= width) return;
  const platform::LOGFONT& described = s.described[kind];
  const int32_t sign = described.lfHeight < 0 ? -1 : 1;
  const int32_t start = described.lfHeight != 0 ? described.lfHeight * sign : 16;
  for (int32_t height = start - 1; height >= 8; --height) {
    platform::HFONT smaller = nullptr;
    for (const auto& made : s.smaller) {
      if (made.kind == kind && made.height == height) smaller = made.font;
    }
    if (smaller == nullptr) {
      platform::LOGFONT description = described;
      description.lfHeight = height * sign;
      smaller = platform::CreateFontIndirect(&description);
      if (smaller == nullptr) return;
      s.smaller.push_back({kind, height, smaller});
    }
    platform::SelectObject(dc, smaller);
    if (TextWidth(dc, text) <= width) return;
  }
}

int32_t RectWidth(const RECT& rect) { return rect.right - rect.left; }

// Restricts drawing to the ellipse inscribed in `rect` (minus the ellipse in `hole` when given),
// offset by the work surface's origin.
void ClipToEllipse(HDC dc, const RECT& rect, const RECT* hole) {
  const platform::HRGN region = platform::CreateEllipticRgnIndirect(&rect);
  if (hole != nullptr) {
    const platform::HRGN inner = platform::CreateEllipticRgnIndirect(hole);
    platform::CombineRgn(region, region, inner, platform::RGN_DIFF);
    platform::DeleteObject(inner);
  }
  platform::SelectClipRgn(dc, region);
  platform::DeleteObject(region);
}

}  // namespace

// ---- Shared -----------------------------------------------------------------------------------

bool HoldemPlayerSeat::LoadSharedImage(const char* file_name, int32_t width, int32_t height,
                                       platform::COLORREF key, int32_t inset) {
  SharedSeatState& s = Shared();
  if (s.image_loaded) return true;
  (void)LoadBitmapFile(file_name, &s.plate);
  s.taken_width = s.open_width = width;
  s.taken_height = s.open_height = height;
  s.taken_inset = s.open_inset = inset;
  s.key = key;
  s.image_loaded = true;
  UpdateNameRect();
  return true;
}

void HoldemPlayerSeat::SetTextRect(int32_t left, int32_t top, int32_t right, int32_t bottom) {
  Shared().text_rect = {left, top, right, bottom};
  UpdateNameRect();
}

void HoldemPlayerSeat::SetActionTiming(float grow, float hold, float shrink) {
  SharedSeatState& s = Shared();
  s.grow = grow;
  s.hold = hold;
  s.shrink = shrink;
}

void HoldemPlayerSeat::CreateFonts(platform::LOGFONT name_font, platform::LOGFONT winner_font,
                                   platform::LOGFONT action_font) {
  SharedSeatState& s = Shared();
  if (s.name_font == nullptr) s.name_font = platform::CreateFontIndirect(&name_font);
  if (s.winner_font == nullptr) s.winner_font = platform::CreateFontIndirect(&winner_font);
  if (s.action_font == nullptr) s.action_font = platform::CreateFontIndirect(&action_font);
  const platform::LOGFONT given[3] = {name_font, winner_font, action_font};
  for (int32_t kind = 0; kind < 3; ++kind) {
    if (s.has_description[kind]) continue;
    s.described[kind] = given[kind];
    s.has_description[kind] = true;
  }
}

int32_t HoldemPlayerSeat::LiveSeats() { return Shared().live_seats; }

// ---- One seat -------------------------------------------------------------------------------

HoldemPlayerSeat::HoldemPlayerSeat() {
  SharedSeatState& s = Shared();
  if (s.live_seats++ == 0 && s.reserved_font == nullptr) {
    s.reserved_font = platform::CreateFont(18, 0, 0, 0, 700, 0, 0, 0, 0, 0, 0, 0, platform::VARIABLE_PITCH, "Arial");
  }
}

HoldemPlayerSeat::~HoldemPlayerSeat() {
  SharedSeatState& s = Shared();
  if (--s.live_seats > 0) return;
  ReleaseBitmapFile(&s.plate);
  for (platform::HFONT* font : {&s.name_font, &s.winner_font, &s.action_font, &s.reserved_font}) {
    platform::DeleteObject(*font);
    *font = nullptr;
  }
  for (const auto& made : s.smaller) platform::DeleteObject(made.font);
  s.smaller.clear();
  for (bool& has : s.has_description) has = false;
  platform::DeleteDC(s.work_dc);
  platform::DeleteObject(s.work_bitmap);
  s.work_dc = nullptr;
  s.work_bitmap = nullptr;
  s.image_loaded = false;
}

void HoldemPlayerSeat::CopyText(char* out, int32_t size, const char* text) {
  if (text == nullptr) text = "";
  const size_t length = std::min(std::strlen(text), static_cast<size_t>(size - 1));
  std::memcpy(out, text, length);
  out[length] = '\0';
}

void HoldemPlayerSeat::SetTransparentDraw(TransparentDraw* drawer) {
  drawer_ = drawer;
  if (drawer_ == nullptr) return;
  const SharedSeatState& s = Shared();
  drawer_->Reserve(std::max(s.taken_width, s.open_width), std::max(s.taken_height, s.open_height));
}

void HoldemPlayerSeat::SetPositions(int32_t taken_x, int32_t taken_y, int32_t open_x, int32_t open_y) {
  taken_x_ = taken_x;
  taken_y_ = taken_y;
  open_x_ = open_x;
  open_y_ = open_y;
}

void HoldemPlayerSeat::SetOpen(bool open) {
  if (!(visible_ && open_ == open)) {
    redraw_level_ = kFullRedraw;
    dirty_ = true;
    visible_ = true;
    open_ = open;
  }
  if (open) {
    turn_blink_ = false;
    action_showing_ = false;
    winner_ = false;
    name_[0] = chips_[0] = action_[0] = '\0';
  }
}

void HoldemPlayerSeat::TextsChanged() {
  if (redraw_level_ != kFullRedraw) redraw_level_ = kTextRedraw;
  dirty_ = true;
}

void HoldemPlayerSeat::SetName(const char* text) {
  char copy[kTextSize];
  CopyText(copy, kTextSize, text);
  if (std::strcmp(copy, name_) == 0) return;
  std::memcpy(name_, copy, sizeof name_);
  TextsChanged();
}

void HoldemPlayerSeat::SetChipsText(const char* text) {
  char copy[kTextSize];
  CopyText(copy, kTextSize, text);
  if (std::strcmp(copy, chips_) == 0) return;
  std::memcpy(chips_, copy, sizeof chips_);
  TextsChanged();
}

void HoldemPlayerSeat::SetActionText(const char* text) {
  CopyText(action_, kTextSize, text);
  if (redraw_level_ == kNoRedraw) redraw_level_ = kFullRedraw;
  dirty_ = true;
}

void HoldemPlayerSeat::SetUserName(const char* name) {
  if (name == nullptr || std::strlen(name) >= static_cast<size_t>(kUserNameSize)) {
    user_name_[0] = '\0';
    return;
  }
  CopyText(user_name_, kUserNameSize, name);
}

void HoldemPlayerSeat::SetReserved(bool reserved) {
  if (reserved_ == reserved) return;
  reserved_ = reserved;
  if (open_) {
    redraw_level_ = kFullRedraw;
  } else {
    TextsChanged();
  }
  dirty_ = true;
}

void HoldemPlayerSeat::SetWinner() {
  winner_ = true;
  TextsChanged();
}

void HoldemPlayerSeat::ClearWinner() {
  winner_ = false;
  TextsChanged();
}

bool HoldemPlayerSeat::StartTurnBlink() {
  if (!visible_ || open_ || action_showing_) {
    turn_blink_ = false;
    return false;
  }
  if (!turn_blink_) {
    turn_blink_ = true;
    blink_lit_ = false;
    blink_timer_ = 0;
    redraw_level_ = kFullRedraw;
    dirty_ = true;
  }
  return true;
}

void HoldemPlayerSeat::StopTurnBlink() {
  turn_blink_ = false;
  if (!open_ && !blink_lit_) {
    blink_lit_ = true;
    redraw_level_ = kFullRedraw;
    dirty_ = true;
  }
}

bool HoldemPlayerSeat::ShowAction() {
  if (!visible_ || open_ || action_showing_) return false;
  action_elapsed_ = 0;
  turn_blink_ = false;
  action_showing_ = true;
  return true;
}

void HoldemPlayerSeat::HideAction() {
  if (!action_showing_) return;
  action_showing_ = false;
  redraw_level_ = kFullRedraw;
  dirty_ = true;
}

void HoldemPlayerSeat::Hide() {
  visible_ = false;
  erase_pending_ = true;
}

void HoldemPlayerSeat::Show() {
  visible_ = true;
  redraw_level_ = kFullRedraw;
  dirty_ = true;
}

bool HoldemPlayerSeat::GetIris(platform::RECT* out) const {
  if (!iris_active_) return false;
  *out = iris_;
  return true;
}

int32_t HoldemPlayerSeat::GetWidth() const { return open_ ? Shared().open_width : Shared().taken_width; }
int32_t HoldemPlayerSeat::GetHeight() const { return open_ ? Shared().open_height : Shared().taken_height; }

// ---- Mouse ----------------------------------------------------------------------------------

int32_t HoldemPlayerSeat::HitTest(int32_t x, int32_t y) {
  const SharedSeatState& s = Shared();
  const bool over = open_x_ < x && x < open_x_ + s.open_width && open_y_ < y && y < open_y_ + s.open_height;
  if (over != hover_) {
    hover_ = over;
    InvalidateOpenSeat();
  }
  if (!over) {
    pressed_ = false;
    return 0;
  }
  if (!visible_) return -1;
  if (!open_ || reserved_) return 2;
  return 1;
}

bool HoldemPlayerSeat::OnMouseDown(int32_t x, int32_t y) {
  const int32_t hit = HitTest(x, y);
  pressed_ = hit > 0;
  return hit != 0;
}

bool HoldemPlayerSeat::OnMouseUp(int32_t x, int32_t y) {
  if (!pressed_) return false;
  return HitTest(x, y) != 0;
}

// ---- Frame ----------------------------------------------------------------------------------

void HoldemPlayerSeat::Update(float seconds) {
  // A hidden seat paints nothing, so nothing of an earlier frame stays to report.
  painted_ = 0;
  iris_active_ = false;
  if (!visible_) return;
  const SharedSeatState& s = Shared();
  if (action_showing_) {
    action_elapsed_ += seconds;
    redraw_level_ = kFullRedraw;
    dirty_ = true;
    const float total = s.grow + s.hold + s.shrink;
    if (action_elapsed_ >= total) {
      action_showing_ = false;
    } else {
      // f is how far the name has closed: 0 the iris is the whole text rectangle, 1 it is gone.
      float f = -1;
      if (action_elapsed_ < s.grow) {
        f = s.grow > 0 ? action_elapsed_ / s.grow : 1;
      } else if (action_elapsed_ > s.grow + s.hold) {
        f = s.shrink > 0 ? (total - action_elapsed_) / s.shrink : 0;
      }
      if (f >= 0) {
        const int32_t w = s.text_rect.right - s.text_rect.left + 1;
        const int32_t h = s.text_rect.bottom - s.text_rect.top + 1;
        const int32_t dx = static_cast<int32_t>(std::trunc(w * f * 0.5));
        const int32_t dy = static_cast<int32_t>(std::trunc(h * f * 0.5));
        iris_ = {s.text_rect.left + dx, s.text_rect.top + dy, s.text_rect.right - dx, s.text_rect.bottom - dy};
        iris_active_ = iris_.left < iris_.right && iris_.top < iris_.bottom;
      }
    }
  }
  if (!open_ && !action_showing_) {
    if (!turn_blink_) {
      blink_lit_ = true;
    } else {
      blink_timer_ += seconds;
      if (blink_timer_ >= 0.5f) {
        blink_lit_ = !blink_lit_;
        redraw_level_ = kFullRedraw;
        dirty_ = true;
        blink_timer_ -= 0.5f;
      }
    }
  }
  if (open_ && reserved_) {
    blink_lit_ = true;
    action_showing_ = false;
  }
}

bool HoldemPlayerSeat::Draw(HDC dc) {
  const SharedSeatState& s = Shared();
  if (!visible_ || s.plate.dc == nullptr) return false;
  if (!always_redraw_ && redraw_level_ == kNoRedraw) return false;
  const bool full = always_redraw_ || redraw_level_ == kFullRedraw;
  if (open_ && !reserved_) {
    PaintOpen(dc, full);
  } else {
    PaintTaken(dc, full);
  }
  const int32_t inset = open_ ? s.open_inset : s.taken_inset;
  painted_ = (inset > 0 && !full) ? kTextRedraw : kFullRedraw;
  redraw_level_ = kNoRedraw;
  return true;
}

void HoldemPlayerSeat::CopyPlate(HDC source, int32_t source_x, HDC dc, bool full) {
  const SharedSeatState& s = Shared();
  const int32_t width = GetWidth();
  const int32_t height = GetHeight();
  const int32_t inset = std::min(open_ ? s.open_inset : s.taken_inset, width / 2);
  auto keyed = [&](int32_t from, int32_t columns) {
    if (columns <= 0) return;
    if (drawer_ != nullptr) {
      drawer_->Draw(source, source_x + from, 0, columns, height, dc, GetX() + from, GetY(), s.key);
    } else {
      DrawTransparentBitmap(source, source_x + from, 0, columns, height, dc, GetX() + from, GetY(), s.key);
    }
  };
  if (inset <= 0) {
    keyed(0, width);
    return;
  }
  // The edges may hold the key colour (rounded corners) and are redrawn only with the whole
  // plate; the middle is copied as it is.
  if (full) {
    keyed(0, inset);
    keyed(width - inset, inset);
  }
  platform::BitBlt(dc, GetX() + inset, GetY(), width - 2 * inset, height, source, source_x + inset, 0,
                   platform::SRCCOPY);
}

void HoldemPlayerSeat::PaintOpen(HDC dc, bool full) {
  const SharedSeatState& s = Shared();
  CopyPlate(s.plate.dc, hover_ ? s.open_width : 0, dc, full);
}

void HoldemPlayerSeat::PaintTaken(HDC dc, bool full) {
  SharedSeatState& s = Shared();
  const int32_t width = std::max(s.taken_width, s.open_width);
  const int32_t height = std::max(s.taken_height, s.open_height);
  if (s.work_dc == nullptr) {
    s.work_dc = platform::CreateCompatibleDC(dc);
    s.work_bitmap = platform::CreateCompatibleBitmap(dc, width, height);
    platform::SelectObject(s.work_dc, s.work_bitmap);
    platform::SetMapMode(s.plate.dc, platform::GetMapMode(dc));
  }
  const int32_t flags = PlayerFlagsGet(user_name_) & 3;
  const bool lit = action_showing_ || blink_lit_;
  const int32_t cell_x = (flags + 1) * 2 * s.taken_width + (lit ? 0 : s.taken_width);
  platform::BitBlt(s.work_dc, 0, 0, GetWidth(), GetHeight(), s.plate.dc, cell_x, 0, platform::SRCCOPY);
  ComposeTexts(s.work_dc);
  CopyPlate(s.work_dc, 0, dc, full);
}

void HoldemPlayerSeat::ComposeTexts(HDC work) {
  using namespace platform;
  const SharedSeatState& s = Shared();
  SetBkMode(work, TRANSPARENT);
  SetTextColor(work, kTextColour);
  const HFONT old_font = SelectObject(work, s.reserved_font);
  // A name or an amount wider than the plate is drawn in a smaller size of its font.
  auto name_and_chips = [&]() {
    SelectFitting(work, kNameFont, s.name_font, name_, RectWidth(s.name_rect) - 6);
    DrawLine(work, name_, s.name_rect, DT_TOP | DT_CENTER | DT_SINGLELINE);
    SelectFitting(work, kNameFont, s.name_font, chips_, RectWidth(s.name_rect) - 6);
    DrawLine(work, chips_, s.name_rect, DT_BOTTOM | DT_CENTER | DT_SINGLELINE);
  };
  if (action_showing_) {
    if (iris_active_) {
      ClipToEllipse(work, iris_, nullptr);
      name_and_chips();
    }
    ClipToEllipse(work, s.text_rect, iris_active_ ? &iris_ : nullptr);
    SelectFitting(work, kActionFont, s.action_font, action_, RectWidth(s.text_rect));
    DrawLine(work, action_, s.text_rect, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    SelectClipRgn(work, nullptr);
  } else if (open_ && reserved_) {
    if (s.reserved_font != nullptr) SelectObject(work, s.reserved_font);
    DrawLine(work, "Reserved", s.text_rect, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
  } else if (winner_) {
    SelectFitting(work, kWinnerFont, s.winner_font, "Winner", RectWidth(s.text_rect));
    DrawLine(work, "Winner", s.text_rect, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
  } else if (name_[0] != '\0') {
    name_and_chips();
  }
  if (old_font != nullptr) SelectObject(work, old_font);
}

bool HoldemPlayerSeat::Erase(HDC destination, HDC background, platform::RECT* out) {
  if (!erase_pending_) return false;
  erase_pending_ = false;
  const int32_t width = GetWidth();
  const int32_t height = GetHeight();
  platform::BitBlt(destination, GetX(), GetY(), width, height, background, GetX(), GetY(), platform::SRCCOPY);
  *out = {GetX(), GetY(), GetX() + width - 1, GetY() + height - 1};
  return width > 0 && height > 0;
}

bool HoldemPlayerSeat::GetDirtyRect(platform::RECT* out) const {
  if (painted_ == 0 || !dirty_) return false;
  const int32_t inset = painted_ == kTextRedraw ? (open_ ? Shared().open_inset : Shared().taken_inset) : 0;
  *out = {GetX() + inset, GetY(), GetX() + GetWidth() - 1 - inset, GetY() + GetHeight() - 1};
  return true;
}

void HoldemPlayerSeat::RequestFullRedraw() {
  if (redraw_level_ == kNoRedraw) dirty_ = false;
  redraw_level_ = kFullRedraw;
}

void HoldemPlayerSeat::Invalidate() {
  redraw_level_ = kFullRedraw;
  dirty_ = true;
}

void HoldemPlayerSeat::InvalidateOpenSeat() {
  if (open_ && !reserved_) Invalidate();
}
