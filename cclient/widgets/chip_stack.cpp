#include "cclient/widgets/chip_stack.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "cclient/widgets/money_text.h"
#include "platform/window/message_queue.h"

namespace {

constexpr platform::RECT kNone{-1, -1, -1, -1};
constexpr int32_t kDefaultBoxWidth = 200;
constexpr int32_t kDefaultBoxHeight = 40;

bool IsNone(const platform::RECT& r) { return r.left == -1 && r.top == -1 && r.right == -1 && r.bottom == -1; }

void CopyFromBackground(platform::HDC destination, platform::HDC background, const platform::RECT& r) {
  const int32_t width = r.right - r.left + 1;
  const int32_t height = r.bottom - r.top + 1;
  if (width <= 0 || height <= 0) return;
  platform::BitBlt(destination, r.left, r.top, width, height, background, r.left, r.top, platform::SRCCOPY);
}

}  // namespace

ChipStack::ChipStack() = default;
ChipStack::~ChipStack() = default;

// ---- Set-up ---------------------------------------------------------------------------------

void ChipStack::Init(int32_t kind_count, ChipImage* const* images, int32_t min_step_x, int32_t min_step_y,
                     const int32_t* multiples, int32_t max_piles, int32_t max_single_pile_chips) {
  kind_count_ = 0;
  has_marker_ = false;
  kinds_[0] = nullptr;
  ChipImage* marker = nullptr;
  for (int32_t i = 0; i < kind_count && images != nullptr; ++i) {
    ChipImage* image = images[i];
    if (image == nullptr) continue;
    if (image->GetValue() > 0) {
      if (kind_count_ >= kMaxKinds) continue;
      kinds_[kind_count_] = image;
      values_[kind_count_] = image->GetValue();
      multiples_[kind_count_] = multiples != nullptr ? multiples[i] : 0;
      ++kind_count_;
    } else if (image->GetValue() == 0) {
      marker = image;
    }
  }
  // A stable exchange sort: a later kind moves up only past a strictly smaller value.
  for (int32_t i = 0; i < kind_count_; ++i) {
    for (int32_t j = kind_count_ - 1; j > i; --j) {
      if (values_[j] > values_[j - 1]) {
        std::swap(kinds_[j], kinds_[j - 1]);
        std::swap(values_[j], values_[j - 1]);
        std::swap(multiples_[j], multiples_[j - 1]);
      }
    }
  }
  kinds_[kind_count_] = marker;
  has_marker_ = marker != nullptr;
  use_multiples_ = multiples != nullptr;
  min_step_x_ = min_step_x;
  min_step_y_ = min_step_y;
  chip_width_ = kind_count_ > 0 ? kinds_[0]->GetWidth() : 0;
  chip_height_ = kind_count_ > 0 ? kinds_[0]->GetHeight() : 0;
  max_piles_ = std::min(max_piles, kind_count_);
  max_single_ = max_single_pile_chips;
  Relayout();
}

void ChipStack::SetLayout(const int32_t* const* x_tables, const int32_t* const* y_tables, int32_t chip_step_x,
                          int32_t chip_step_y, int32_t /*label_mode*/) {
  if (single_pile_) return;
  layouts_x_.clear();
  layouts_y_.clear();
  const int32_t tables = max_piles_ + 1;
  for (int32_t k = 1; k <= tables; ++k) {
    layouts_x_.emplace_back(x_tables[k - 1], x_tables[k - 1] + k);
    layouts_y_.emplace_back(y_tables[k - 1], y_tables[k - 1] + k);
  }
  step_x_ = chip_step_x;
  step_y_ = chip_step_y;
  Relayout();
}

void ChipStack::SetChipStep(int32_t x, int32_t y) {
  step_x_ = x;
  step_y_ = y;
  Relayout();
}

void ChipStack::SetPileMode(bool single_pile, bool keep_kind_order) {
  if (single_pile_ == single_pile && keep_kind_order_ == keep_kind_order) return;
  single_pile_ = single_pile;
  keep_kind_order_ = keep_kind_order;
  Relayout();
}

void ChipStack::SetUseMultiples(bool use) {
  if (use_multiples_ == use) return;
  use_multiples_ = use;
  Relayout();
}

void ChipStack::EnableRemainderChip() {
  if (remainder_chip_) return;
  remainder_chip_ = true;
  Relayout();
}

bool ChipStack::SetMarkerOffset(int32_t x, int32_t y, bool under) {
  if (!has_marker_ || !single_pile_) return false;
  marker_offset_x_ = x;
  marker_offset_y_ = y;
  marker_under_ = under;
  Relayout();
  return true;
}

void ChipStack::SetMarkerApart(bool apart) {
  if (marker_apart_ == apart) return;
  marker_apart_ = apart;
  Relayout();
}

void ChipStack::SetLabelSide(int32_t dx, int32_t dy, bool show) {
  if (dx == 0 && dy == 0) return;
  side_dx_ = dx;
  side_dy_ = dy;
  show_label_ = show;
  Relayout();
}

void ChipStack::SetLabelCharSize(int32_t char_width, int32_t char_height) {
  char_width_ = char_width;
  char_height_ = char_height;
  Relayout();
}

void ChipStack::SetLabelColours(platform::COLORREF normal, platform::COLORREF pulse) {
  colour_ = normal;
  pulse_colour_ = pulse;
}

void ChipStack::SetLabelBackground(bool transparent, platform::COLORREF colour) {
  label_transparent_ = transparent;
  label_background_ = colour;
}

void ChipStack::ShowLabel(bool show) {
  if (show_label_ == show) return;
  show_label_ = show;
  Invalidate(true);
}

void ChipStack::SetWholeUnits(bool whole_units) {
  whole_units_ = whole_units;
  WriteLabelText();
}

void ChipStack::SetLabelPulse(const platform::LOGFONT& font, float extra, int32_t count, const int32_t* sizes,
                              const int32_t* percents) {
  pulse_set_ = count > 0 && sizes != nullptr;
  pulse_font_ = font;
  pulse_factor_ = 1 + extra;
  pulse_sizes_.assign(sizes, sizes + (pulse_set_ ? 2 * count : 0));
  pulse_percents_.assign(percents, percents + (pulse_set_ && percents != nullptr ? count - 1 : 0));
}

void ChipStack::SetCollectSlot(int32_t left, int32_t top, int32_t right, int32_t bottom) {
  collect_ = {left, top, right, bottom};
}

// ---- Amount and position --------------------------------------------------------------------

bool ChipStack::SetAmount(int32_t cents) {
  if (moving_) return false;
  if (cents == amount_) return true;
  Invalidate(true);
  amount_ = cents;
  Relayout();
  return true;
}

bool ChipStack::AddAmount(int32_t cents) {
  if (moving_) return false;
  const int64_t sum = static_cast<int64_t>(amount_) + cents;
  return SetAmount(static_cast<int32_t>(std::clamp<int64_t>(sum, INT32_MIN, INT32_MAX)));
}

bool ChipStack::SetPosition(int32_t x, int32_t y) {
  if (moving_) return false;
  Invalidate(true);
  home_x_ = x_ = x;
  home_y_ = y_ = y;
  return true;
}

bool ChipStack::SetDrawPosition(int32_t x, int32_t y) {
  if (moving_) return false;
  Invalidate(true);
  x_ = x;
  y_ = y;
  return true;
}

bool ChipStack::ReturnHome() {
  if (moving_ || (x_ == home_x_ && y_ == home_y_)) return false;
  Invalidate(true);
  x_ = home_x_;
  y_ = home_y_;
  return true;
}

int32_t ChipStack::GetChipCount() const {
  if (amount_ < 1) return 0;
  int32_t total = 0;
  if (single_pile_) {
    for (int32_t i = 0; i < kind_count_; ++i) total += counts_[i];
  } else {
    for (int32_t p = 0; p < pile_count_; ++p) total += counts_[pile_order_[p]];
  }
  return total + (marker_shown_ ? 1 : 0);
}

int32_t ChipStack::GetKindCount(int32_t kind) const {
  return kind >= 0 && kind <= kind_count_ ? counts_[kind] : 0;
}

int32_t ChipStack::GetKindValue(int32_t kind) const { return kind >= 0 && kind < kind_count_ ? values_[kind] : 0; }

int32_t ChipStack::SplitAmount(int32_t cents, int32_t max_parts, int32_t* parts) const {
  if (max_parts < 1 || parts == nullptr) return 0;
  for (int32_t i = 0; i < max_parts; ++i) parts[i] = 0;
  int64_t rest = cents;
  int32_t used = 0;
  for (int32_t k = 0; k < kind_count_ && rest > 0; ++k) {
    int64_t count = rest / values_[k];
    if (multiples_[k] > 0) count = count / multiples_[k] * multiples_[k];
    if (count <= 0) continue;
    const int64_t portion = count * values_[k];
    if (used < max_parts) {
      parts[used++] = static_cast<int32_t>(portion);
    } else {
      parts[max_parts - 1] += static_cast<int32_t>(portion);
    }
    rest -= portion;
  }
  if (rest != 0 || used == 0) {
    if (used < max_parts) {
      parts[used++] = static_cast<int32_t>(rest);
    } else {
      parts[max_parts - 1] += static_cast<int32_t>(rest);
    }
  }
  return used;
}

// ---- Layout ---------------------------------------------------------------------------------

void ChipStack::BreakDown(int64_t* remaining) {
  for (int32_t i = 0; i <= kind_count_; ++i) counts_[i] = 0;
  *remaining = amount_ > 0 ? amount_ : 0;
  for (int32_t k = 0; k < kind_count_ && *remaining > 0; ++k) {
    int64_t count = *remaining / values_[k];
    if (use_multiples_ && multiples_[k] > 0) count = count / multiples_[k] * multiples_[k];
    counts_[k] = static_cast<int32_t>(count);
    *remaining -= count * values_[k];
  }
}

void ChipStack::Relayout() {
  int64_t remaining = 0;
  BreakDown(&remaining);
  const bool remainder_left = remaining != 0;
  if (remainder_left && remainder_chip_ && !has_marker_ && kind_count_ > 0) ++counts_[kind_count_ - 1];
  marker_shown_ = false;
  pile_count_ = 0;
  if (single_pile_) {
    LayOutSinglePile(remainder_left);
  } else {
    LayOutPiles(remainder_left);
  }
  counts_[kind_count_] = marker_shown_ ? 1 : 0;
  ComputeChipsRect();
  WriteLabelText();
  PlaceLabel();
}

void ChipStack::LayOutSinglePile(bool remainder_left) {
  int32_t total = 0;
  int32_t largest = 0;  // the count of the largest kind that takes chips
  for (int32_t k = 0; k < kind_count_; ++k) {
    if (largest == 0) largest = counts_[k];
    total += counts_[k];
  }
  marker_shown_ = has_marker_ && (remainder_left || (total > max_single_ && largest <= max_single_));
  const int32_t limit = std::max(0, max_single_ - (marker_shown_ ? 1 : 0));
  int32_t running = 0;
  for (int32_t k = 0; k < kind_count_; ++k) {
    if (running >= limit) {
      counts_[k] = 0;
      continue;
    }
    if (running + counts_[k] >= limit) counts_[k] = limit - running;
    running += counts_[k];
  }
  pile_count_ = running > 0 ? 1 : 0;
}

void ChipStack::LayOutPiles(bool remainder_left) {
  int32_t piles = 0;
  for (int32_t k = 0; k < kind_count_; ++k) {
    if (counts_[k] > 0) pile_order_[piles++] = k;
  }
  if (keep_kind_order_) {
    if (piles > 0 && max_single_ > 0 && counts_[pile_order_[0]] > max_single_) counts_[pile_order_[0]] = max_single_;
  } else {
    // An exchange sort by count that swaps only on a strictly smaller count, so equal counts keep
    // the larger value first.
    for (int32_t i = 0; i < piles; ++i) {
      for (int32_t j = i + 1; j < piles; ++j) {
        if (counts_[pile_order_[i]] < counts_[pile_order_[j]]) std::swap(pile_order_[i], pile_order_[j]);
      }
    }
  }
  marker_shown_ = has_marker_ && remainder_left;
  if (piles > max_piles_) {
    for (int32_t p = max_piles_; p < piles; ++p) counts_[pile_order_[p]] = 0;
    piles = max_piles_;
    marker_shown_ = has_marker_;
  }
  // The layouts hold at most max piles + 1 items: a marker beside a full row takes a pile's place.
  if (marker_shown_ && piles > 0 && piles + 1 > static_cast<int32_t>(layouts_x_.size())) {
    counts_[pile_order_[--piles]] = 0;
  }
  pile_count_ = piles;
}

void ChipStack::ListPictures(std::vector<Placed>* out) const {
  out->clear();
  if (amount_ < 1) return;
  if (single_pile_) {
    ChipImage* marker = kinds_[kind_count_];
    const bool apart = marker_shown_ && marker_apart_ && (marker_offset_x_ != 0 || marker_offset_y_ != 0);
    if (apart && marker_under_) out->push_back({marker, marker_offset_x_, marker_offset_y_});
    int32_t j = 0;
    for (int32_t k = 0; k < kind_count_; ++k) {
      for (int32_t c = 0; c < counts_[k]; ++c, ++j) {
        const int32_t shift = std::max(0, j - chips_hidden_);
        out->push_back({kinds_[k], step_x_ * shift, step_y_ * j});
      }
    }
    if (apart && !marker_under_) {
      out->push_back({marker, marker_offset_x_, marker_offset_y_});
    } else if (marker_shown_ && !apart) {
      out->push_back({marker, step_x_ * std::max(0, j - chips_hidden_), step_y_ * j});
    }
    return;
  }
  const int32_t items = pile_count_ + (marker_shown_ ? 1 : 0);
  if (items < 1 || items > static_cast<int32_t>(layouts_x_.size())) return;
  const std::vector<int32_t>& xs = layouts_x_[static_cast<size_t>(items - 1)];
  const std::vector<int32_t>& ys = layouts_y_[static_cast<size_t>(items - 1)];
  const int32_t first = marker_shown_ ? 1 : 0;
  for (int32_t i = 0; i < pile_count_; ++i) {
    const size_t slot = static_cast<size_t>(first + pile_count_ - 1 - i);
    const int32_t kind = pile_order_[i];
    for (int32_t j = 0; j < counts_[kind]; ++j) {
      out->push_back({kinds_[kind], xs[slot] + step_x_ * j, ys[slot] + step_y_ * j});
    }
  }
  if (marker_shown_) out->push_back({kinds_[kind_count_], xs[0], ys[0]});
}

void ChipStack::ComputeChipsRect() {
  std::vector<Placed> pictures;
  ListPictures(&pictures);
  chips_rect_ = kNone;
  bool any = false;
  for (const Placed& p : pictures) {
    const bool is_marker = p.image == kinds_[kind_count_] && has_marker_;
    const int32_t w = is_marker ? p.image->GetWidth() : chip_width_;
    const int32_t h = is_marker ? p.image->GetHeight() : chip_height_;
    if (w <= 0 || h <= 0) continue;
    const platform::RECT r{p.x, p.y, p.x + w - 1, p.y + h - 1};
    if (!any) {
      chips_rect_ = r;
      any = true;
      continue;
    }
    chips_rect_.left = std::min(chips_rect_.left, r.left);
    chips_rect_.top = std::min(chips_rect_.top, r.top);
    chips_rect_.right = std::max(chips_rect_.right, r.right);
    chips_rect_.bottom = std::max(chips_rect_.bottom, r.bottom);
  }
}

void ChipStack::WriteLabelText() {
  if (whole_units_) {
    std::snprintf(label_text_, sizeof label_text_, "$%d", amount_);
  } else {
    MoneyText_Label(label_text_, sizeof label_text_, amount_);
  }
}

void ChipStack::PlaceLabel() {
  using namespace platform;
  const bool default_box = char_width_ < 0 || char_height_ < 0;
  const int32_t w = default_box ? kDefaultBoxWidth : static_cast<int32_t>(std::strlen(label_text_)) * char_width_;
  const int32_t h = default_box ? kDefaultBoxHeight : char_height_;
  const RECT c = IsNone(chips_rect_) ? RECT{0, 0, 0, 0} : chips_rect_;
  const int32_t chips_width = c.right - c.left + 1;
  const int32_t chips_height = c.bottom - c.top + 1;
  int32_t left = 0;
  int32_t top = 0;
  uint32_t format = 0;
  const int32_t dx = side_dx_;
  const int32_t dy = side_dy_;
  if (dx == 0) {
    left = c.left + (chips_width - w) / 2;
    format = DT_CENTER;
    if (dy <= 0) {
      top = c.bottom + 1;
      if (default_box) format |= DT_TOP;
    } else {
      top = c.top - h - 1;
      if (default_box) format |= DT_BOTTOM;
    }
  } else if (dy == 0) {
    top = c.top + (chips_height - h) / 2;
    if (dx > 0) {
      left = c.right + 3;
      format = DT_LEFT;
    } else {
      left = c.left - 3 - w;
      format = DT_RIGHT;
    }
    if (default_box) format |= DT_VCENTER;
  } else {
    const int32_t ax = std::abs(dx);
    const int32_t ay = std::abs(dy);
    if (ax > ay) {
      // Beside the chips, aligned with their top (dy > 0) or bottom (dy < 0).
      left = dx > 0 ? c.right + 1 : c.left - w - 1;
      top = dy > 0 ? c.top : c.bottom - h;
      format = dx > 0 ? DT_LEFT : DT_RIGHT;
      if (default_box && dy < 0) format |= DT_BOTTOM;
    } else if (ay > ax) {
      // Above or below, aligned with the chips' right (dx > 0) or left (dx < 0) edge.
      top = dy > 0 ? c.top - h - 1 : c.bottom + 1;
      left = dx > 0 ? c.right - w : c.left;
      format = dx > 0 ? DT_RIGHT : DT_LEFT;
      if (default_box && dy > 0) format |= DT_BOTTOM;
    } else {
      // A corner: beside the chips, centred on their top or bottom line.
      left = dx > 0 ? c.right + 1 : c.left - w - 1;
      top = (dy > 0 ? c.top : c.bottom) - h / 2;
      format = dx > 0 ? DT_LEFT : DT_RIGHT;
      if (default_box) format |= DT_VCENTER;
    }
  }
  if (default_box) format |= DT_SINGLELINE | DT_NOCLIP;
  label_rect_ = {left, top, left + w, top + h};
  label_format_ = format;
}

// ---- Animations -----------------------------------------------------------------------------

bool ChipStack::StartMove(int32_t x, int32_t y, float duration, float delay, bool post, platform::HWND window,
                          platform::UINT message, platform::WPARAM wparam, platform::LPARAM lparam, bool pulse,
                          bool keep_label) {
  if (moving_ || amount_ < 1) return false;
  if (delay < 0) {
    Invalidate(true);
    x_ = x;
    y_ = y;
    return false;
  }
  target_x_ = x;
  target_y_ = y;
  duration_ = duration > 0 ? duration : 0;
  delay_ = delay;
  elapsed_ = 0;
  post_ = post;
  window_ = window;
  message_ = message;
  wparam_ = wparam;
  lparam_ = lparam;
  pulse_ = pulse;
  keep_label_ = keep_label;
  pulse_step_ = -1;
  label_visible_while_moving_ = true;
  arrived_ = false;
  moving_ = true;
  sink_state_ = 0;
  Invalidate(true);
  return true;
}

void ChipStack::StopMove() {
  if (!keep_label_) show_label_ = false;
  moving_ = false;
  sink_state_ = 0;
  sink_started_ = false;
  chips_hidden_ = 0;
  pulse_step_ = -1;
  Invalidate(true);
  Relayout();
}

bool ChipStack::StartCollect(float duration, float delay, bool post, platform::HWND window, platform::UINT message,
                             platform::WPARAM wparam, platform::LPARAM lparam) {
  if (moving_ || amount_ < 1) return false;
  show_label_ = false;
  return StartMove(collect_.left, collect_.top, duration, delay, post, window, message, wparam, lparam, false,
                   false);
}

bool ChipStack::StartSink(double delay, double seconds_per_chip, bool post, platform::HWND window,
                          platform::UINT message, platform::WPARAM wparam, platform::LPARAM lparam) {
  if (moving_ || amount_ < 1) return false;
  moving_ = true;
  post_ = post;
  window_ = window;
  message_ = message;
  wparam_ = wparam;
  lparam_ = lparam;
  keep_label_ = false;
  pulse_ = false;
  sink_delay_ = delay;
  seconds_per_chip_ = seconds_per_chip;
  sink_started_ = false;
  chips_hidden_ = 0;
  sink_state_ = single_pile_ ? 3 : 1;
  return true;
}

void ChipStack::Finish() {
  if (post_ && window_ != nullptr) platform::PostMessage(window_, message_, wparam_, lparam_);
}

void ChipStack::Update(float seconds) {
  if (amount_ < 1 || !moving_) return;
  if (sink_state_ != 0) {
    UpdateSink(seconds);
    return;
  }
  const float pulse_time = pulse_factor_ * duration_;
  const bool pulsing = pulse_ && pulse_set_;
  if (arrived_ && !(pulsing && elapsed_ - delay_ < pulse_time)) {
    // The stack arrived at the previous tick: its message comes now.
    StopMove();
    Finish();
    return;
  }
  elapsed_ += seconds;
  const float t = elapsed_ - delay_;
  label_visible_while_moving_ = t < 0 || pulse_;
  if (t <= 0) return;
  Invalidate(true);
  int32_t new_x = target_x_;
  int32_t new_y = target_y_;
  // A move of no time still reaches its target at a tick of its own before it stops.
  arrived_ = t >= duration_;
  if (!arrived_) {
    const double f = static_cast<double>(t) / duration_;
    new_x = static_cast<int32_t>(std::trunc(home_x_ + (target_x_ - home_x_) * f + 0.5));
    new_y = static_cast<int32_t>(std::trunc(home_y_ + (target_y_ - home_y_) * f + 0.5));
  }
  if (!arrived_ && (min_step_x_ > 0 || min_step_y_ > 0) && std::abs(new_x - x_) < min_step_x_ &&
      std::abs(new_y - y_) < min_step_y_) {
    return;
  }
  x_ = new_x;
  y_ = new_y;
  if (!pulsing) return;
  const int32_t steps = static_cast<int32_t>(pulse_sizes_.size() / 2);
  if (t >= pulse_time || pulse_time <= 0) {
    pulse_step_ = steps - 1;
    return;
  }
  float p = t * 100 / pulse_time;
  int32_t step = 0;
  while (step < steps - 1 && step < static_cast<int32_t>(pulse_percents_.size()) &&
         pulse_percents_[static_cast<size_t>(step)] <= p) {
    p -= pulse_percents_[static_cast<size_t>(step)];
    ++step;
  }
  pulse_step_ = step;
}

void ChipStack::UpdateSink(float seconds) {
  switch (sink_state_) {
    case 1:
      single_pile_ = true;
      keep_kind_order_ = false;
      Invalidate(true);
      Relayout();
      sink_timer_ = 0;
      sink_state_ = 2;
      return;
    case 2:
      sink_timer_ += seconds;
      if (sink_timer_ >= sink_delay_) sink_state_ = 3;
      return;
    default:
      break;
  }
  if (!sink_started_) {
    const int32_t total = GetChipCount();
    const int32_t step = std::abs(step_y_);
    // A pile without a vertical step sinks by the chip height alone.
    const int32_t rows_per_chip = step > 0 ? (chip_height_ + step - 1) / step : chip_height_;
    sink_distance_ = chip_height_ + step * (total - 1);
    sink_duration_ = seconds_per_chip_ > 0 ? (total - 1 + rows_per_chip) * seconds_per_chip_ : 0;
    sink_elapsed_ = 0;
    sink_start_x_ = x_;
    sink_start_y_ = y_;
    sink_started_ = true;
    return;
  }
  sink_elapsed_ += seconds;
  if (sink_elapsed_ < sink_duration_) {
    Invalidate(true);
    chips_hidden_ = static_cast<int32_t>(sink_elapsed_ / seconds_per_chip_);
    y_ = sink_start_y_ + static_cast<int32_t>(sink_elapsed_ / sink_duration_ * sink_distance_ + 0.5);
    return;
  }
  Invalidate(true);
  moving_ = false;
  sink_state_ = 0;
  sink_started_ = false;
  chips_hidden_ = 0;
  amount_ = 0;
  Relayout();
  Finish();
}

// ---- Frame protocol -------------------------------------------------------------------------

platform::RECT ChipStack::Screen(const platform::RECT& r) const {
  if (IsNone(r)) return kNone;
  return {r.left + x_, r.top + y_, r.right + x_, r.bottom + y_};
}

void ChipStack::Invalidate(bool save) {
  marked_ = true;
  if (!save || saved_this_frame_) return;
  saved_this_frame_ = true;
  saved_chips_ = amount_ >= 1 ? Screen(chips_rect_) : kNone;
  saved_label_ = label_drawn_ ? platform::RECT{label_rect_.left + x_, label_rect_.top + y_, label_rect_.right + x_,
                                               label_rect_.bottom + y_}
                              : kNone;
}

bool ChipStack::Erase(platform::HDC destination, platform::HDC background, platform::RECT* chips_out,
                      platform::RECT* label_out) {
  *chips_out = kNone;
  *label_out = kNone;
  if (erased_this_frame_ || !saved_this_frame_) return false;
  erased_this_frame_ = true;
  bool copied = false;
  if (!IsNone(saved_chips_)) {
    CopyFromBackground(destination, background, saved_chips_);
    *chips_out = saved_chips_;
    copied = true;
  }
  if (!IsNone(saved_label_)) {
    CopyFromBackground(destination, background, saved_label_);
    *label_out = saved_label_;
    copied = true;
  }
  return copied;
}

bool ChipStack::LabelVisible() const {
  if (!show_label_) return false;
  return !moving_ || label_visible_while_moving_;
}

bool ChipStack::Draw(platform::HDC dc) {
  saved_this_frame_ = false;
  erased_this_frame_ = false;
  drew_marked_ = false;
  if (!marked_ && !always_redraw_) return false;
  if (amount_ < 1) {
    marked_ = false;
    label_drawn_ = false;
    return false;
  }
  drew_marked_ = marked_;
  marked_ = false;
  Paint(dc);
  return true;
}

void ChipStack::Paint(platform::HDC dc) {
  if (single_pile_ && sink_state_ == 3) {
    // While sinking the chips vanish below the slot's bottom line.
    platform::IntersectClipRect(dc, 0, 0, collect_.left + chip_width_, collect_.bottom + 1);
    PaintSinglePile(dc);
    platform::SelectClipRgn(dc, nullptr);
  } else {
    std::vector<Placed> pictures;
    ListPictures(&pictures);
    for (const Placed& p : pictures) p.image->DrawTransparent(dc, x_ + p.x, y_ + p.y);
  }
  label_drawn_ = LabelVisible();
  if (label_drawn_) PaintLabel(dc);
}

void ChipStack::PaintSinglePile(platform::HDC dc) {
  std::vector<Placed> pictures;
  ListPictures(&pictures);
  for (const Placed& p : pictures) p.image->DrawTransparent(dc, x_ + p.x, y_ + p.y);
}

void ChipStack::PaintLabel(platform::HDC dc) {
  platform::RECT r{label_rect_.left + x_, label_rect_.top + y_, label_rect_.right + x_, label_rect_.bottom + y_};
  platform::HFONT font = nullptr;
  platform::HFONT old_font = nullptr;
  const bool pulsing = moving_ && pulse_ && pulse_set_ && pulse_step_ >= 0;
  if (pulsing && static_cast<size_t>(2 * pulse_step_ + 1) < pulse_sizes_.size() &&
      pulse_sizes_[static_cast<size_t>(2 * pulse_step_)] >= 0) {
    platform::LOGFONT description = pulse_font_;
    description.lfHeight = pulse_sizes_[static_cast<size_t>(2 * pulse_step_ + 1)];
    font = platform::CreateFontIndirect(&description);
    old_font = platform::SelectObject(dc, font);
  }
  const platform::COLORREF old_colour = platform::SetTextColor(dc, pulsing ? pulse_colour_ : colour_);
  if (!label_transparent_) {
    platform::SetBkMode(dc, platform::OPAQUE);
    platform::SetBkColor(dc, label_background_);
  }
  platform::DrawText(dc, label_text_, static_cast<int32_t>(std::strlen(label_text_)), &r, label_format_);
  platform::SetBkMode(dc, platform::TRANSPARENT);
  platform::SetTextColor(dc, old_colour);
  if (font != nullptr) {
    platform::SelectObject(dc, old_font);
    platform::DeleteObject(font);
  }
}

bool ChipStack::GetDirtyRects(platform::RECT* chips_out, platform::RECT* label_out) const {
  *chips_out = kNone;
  *label_out = kNone;
  if (!drew_marked_) return false;
  *chips_out = Screen(chips_rect_);
  if (label_drawn_) *label_out = {label_rect_.left + x_, label_rect_.top + y_, label_rect_.right + x_,
                                  label_rect_.bottom + y_};
  return true;
}

bool ChipStack::GetStackRect(platform::RECT* out) const {
  if (amount_ < 1 || IsNone(chips_rect_)) return false;
  *out = Screen(chips_rect_);
  return true;
}

void ChipStack::GetRects(platform::RECT* chips_out, platform::RECT* label_out) const {
  *chips_out = amount_ >= 1 ? Screen(chips_rect_) : kNone;
  *label_out = amount_ >= 1 ? platform::RECT{label_rect_.left + x_, label_rect_.top + y_, label_rect_.right + x_,
                                             label_rect_.bottom + y_}
                            : kNone;
}
