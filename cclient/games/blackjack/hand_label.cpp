#include "cclient/games/blackjack/hand_label.h"

#include <algorithm>

#include "cclient/games/blackjack/capped_picture.h"
#include "cclient/widgets/table_layout.h"

namespace {

struct RegisteredState {
  int32_t id = HandLabel::kHidden;
  int32_t width = 0;
  std::string text;
};

// What every label shares. Lives while a label does; the last label's destructor empties it.
struct SharedPart {
  CappedPicture plate;
  int32_t min_width = 0;
  RegisteredState states[HandLabel::kMaxStates];
  int32_t state_count = 0;
  int32_t live = 0;
};

SharedPart& Shared() {
  static SharedPart shared;
  return shared;
}

const RegisteredState* FindState(int32_t id) {
  const SharedPart& shared = Shared();
  for (int32_t i = 0; i < shared.state_count; ++i) {
    if (shared.states[i].id == id) return &shared.states[i];
  }
  return nullptr;
}

}  // namespace

HandLabel::HandLabel() {
  ++Shared().live;
  frame_.SetAlwaysRedraw(false);
}

HandLabel::~HandLabel() {
  SharedPart& shared = Shared();
  if (--shared.live > 0) return;
  ReleaseCappedPicture(&shared.plate);
  for (RegisteredState& state : shared.states) state = RegisteredState{};
  shared.state_count = 0;
  shared.min_width = 0;
}

bool HandLabel::LoadShared(const char* file, platform::COLORREF key, int32_t left_cap, int32_t right_cap,
                           int32_t min_width) {
  SharedPart& shared = Shared();
  if (shared.plate.Loaded()) return true;
  if (!LoadCappedPicture(file, left_cap, right_cap, key, &shared.plate)) return false;
  shared.min_width = std::max(min_width, 0);
  return true;
}

int32_t HandLabel::LiveCount() { return Shared().live; }

bool HandLabel::Register(int32_t id, bool own, int32_t width, const char* text) {
  if (own) {
    own_id_ = id;
    own_width_ = width;
    return true;
  }
  SharedPart& shared = Shared();
  if (id == kHidden || FindState(id) != nullptr || shared.state_count >= kMaxStates) return false;
  RegisteredState& entry = shared.states[shared.state_count++];
  entry.id = id;
  entry.width = width;
  entry.text = text != nullptr ? text : "";
  return true;
}

bool HandLabel::SetState(int32_t id, bool redraw, const char* text) {
  if (id == kHidden) {
    Apply(kHidden, body_width_, std::string(), redraw);
    return true;
  }
  if (id == own_id_) {
    Apply(id, own_width_, text != nullptr ? std::string(text) : text_, redraw);
    return true;
  }
  const RegisteredState* state = FindState(id);
  if (state == nullptr) return false;
  Apply(id, state->width, text != nullptr ? std::string(text) : state->text, redraw);
  return true;
}

void HandLabel::Apply(int32_t id, int32_t width, const std::string& text, bool redraw) {
  const bool was_shown = IsShown();
  const platform::RECT before = RectNow();
  const bool same_look = id == shown_id_ && text == text_;
  shown_id_ = id;
  if (id != kHidden) {
    text_ = text;
    body_width_ = std::max(width, Shared().min_width);
  }
  const platform::RECT after = RectNow();
  const bool same_place = was_shown == IsShown() && before.left == after.left && before.top == after.top &&
                          before.right == after.right && before.bottom == after.bottom;
  if (!same_place) {
    frame_.Moved();
  } else if (!same_look || redraw) {
    frame_.Changed();
  }
}

const char* HandLabel::GetText() const { return IsShown() ? text_.c_str() : ""; }

void HandLabel::SetStyle(bool picture, platform::COLORREF box_colour, int32_t box_height) {
  picture_style_ = picture;
  box_colour_ = box_colour;
  box_height_ = box_height;
  if (IsShown()) frame_.Moved();
}

void HandLabel::SetTextColour(platform::COLORREF colour) {
  if (colour == text_colour_) return;
  text_colour_ = colour;
  frame_.Changed();
}

void HandLabel::SetPosition(int32_t x, int32_t y) {
  if (x == x_ && y == y_) return;
  x_ = x;
  y_ = y;
  if (IsShown()) frame_.Moved();
}

void HandLabel::SetWidth(int32_t width) {
  const int32_t body = std::max(width, Shared().min_width);
  if (body == body_width_) return;
  body_width_ = body;
  if (IsShown()) frame_.Moved();
}

platform::RECT HandLabel::RectNow() const {
  if (!IsShown()) return {-1, -1, -1, -1};
  const CappedPicture& plate = Shared().plate;
  if (!picture_style_) {
    return {x_ - kBoxMargin, y_, x_ + body_width_ + kBoxMargin - 1, y_ + box_height_ - 1};
  }
  if (!plate.Loaded()) return {x_, y_, x_ + body_width_ - 1, y_ + box_height_ - 1};
  return {x_, y_, x_ + plate.WidthFor(body_width_) - 1, y_ + plate.height - 1};
}

bool HandLabel::GetRect(platform::RECT* out) const {
  if (!IsShown()) return false;
  *out = RectNow();
  return true;
}

void HandLabel::Invalidate(const platform::RECT& rect) {
  if (IsShown() && Rect_Overlaps(RectNow(), rect)) frame_.Invalidate();
}

void HandLabel::Draw(platform::HDC dc) {
  if (!IsShown()) {
    frame_.Painted({-1, -1, -1, -1});
    return;
  }
  const platform::RECT rect = RectNow();
  const CappedPicture& plate = Shared().plate;
  platform::RECT text_rect{x_, y_, x_ + body_width_, y_ + box_height_};
  if (!picture_style_) {
    const platform::HBRUSH brush = platform::CreateSolidBrush(box_colour_);
    const platform::RECT box{rect.left, rect.top, rect.right + 1, rect.bottom + 1};
    platform::FillRect(dc, &box, brush);
    platform::DeleteObject(brush);
  } else if (plate.Loaded()) {
    DrawCappedPicture(plate, drawer_, dc, x_, y_, body_width_);
    text_rect = {x_ + plate.left_cap, y_, x_ + plate.left_cap + body_width_, y_ + plate.height};
  }
  const platform::HFONT old_font = font_ != nullptr ? platform::SelectObject(dc, font_) : nullptr;
  const platform::COLORREF old_colour = platform::SetTextColor(dc, text_colour_);
  const int32_t old_mode = platform::SetBkMode(dc, platform::TRANSPARENT);
  platform::DrawText(dc, text_.c_str(), -1, &text_rect,
                     platform::DT_CENTER | platform::DT_VCENTER | platform::DT_SINGLELINE);
  platform::SetBkMode(dc, old_mode);
  platform::SetTextColor(dc, old_colour);
  if (font_ != nullptr) platform::SelectObject(dc, old_font);
  frame_.Painted(rect);
}
