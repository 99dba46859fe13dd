#include "cclient/widgets/card_animation.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "platform/window/message_queue.h"

namespace {

constexpr int32_t kCornerRadius = 2;

bool IsFace(int32_t card) { return card >= 0 && card < 52; }

int32_t RoundUpTo4(int32_t value) { return (value + 3) & ~3; }

bool Covers(const platform::RECT& outer, const platform::RECT& inner) {
  return outer.left <= inner.left && outer.top <= inner.top && outer.right >= inner.right &&
         outer.bottom >= inner.bottom;
}

}  // namespace

CardAnimation::CardAnimation(int32_t slot_count, int32_t dirty_capacity)
    : dirty_capacity_(std::max(dirty_capacity, 0)) {
  slots_.resize(static_cast<size_t>(std::max(slot_count, 0)));
  dirty_.reserve(static_cast<size_t>(dirty_capacity_));
}

CardAnimation::~CardAnimation() { Release(); }

// ---- Set-up ---------------------------------------------------------------------------------------

bool CardAnimation::Setup(platform::HDC dc, const CardSheet* sheet, int32_t min_width, int32_t min_height) {
  Release();
  sheet_ = sheet;
  (void)images_.Load(nullptr, "cardbacs.b", kCornerRadius);
  const platform::SIZE loaded = images_.GetCardSize();
  const bool back_loaded = loaded.cx > 0 && loaded.cy > 0;
  if (back_loaded) card_size_ = loaded;
  const uint8_t* back_pixels = back_loaded ? images_.GetBackPixels() : nullptr;
  if (back_pixels != nullptr) back_sprite_.CopyPixels(back_pixels, card_size_.cx, card_size_.cy, kCardAnimationKey);

  int32_t width = 0;
  int32_t height = 0;
  if (min_width >= card_size_.cx && min_height >= card_size_.cy) {
    width = RoundUpTo4(min_width);
    height = min_height;
  } else {
    width = RoundUpTo4(card_size_.cx + card_size_.cy);
    height = card_size_.cx + card_size_.cy;
  }
  MakeSlots(dc, width, height);
  if (transparent_draw_ != nullptr) transparent_draw_->Reserve(width, height);
  return back_loaded;
}

void CardAnimation::Release() {
  FreeSlots();
  back_sprite_.Release();
  for (CardSprite& face : face_sprites_) face.Release();
  images_.Release();
  sheet_ = nullptr;
}

void CardAnimation::MakeSlots(platform::HDC dc, int32_t width, int32_t height) {
  slot_bitmap_size_ = {width, height};
  for (WorkSlot& slot : slots_) {
    slot = WorkSlot{};
    slot.dc = platform::CreateCompatibleDC(dc);
    slot.bitmap = platform::CreateCompatibleBitmap(dc, width, height);
    if (slot.dc != nullptr && slot.bitmap != nullptr) slot.old_bitmap = platform::SelectObject(slot.dc, slot.bitmap);
  }
}

void CardAnimation::FreeSlots() {
  for (WorkSlot& slot : slots_) {
    if (slot.dc != nullptr) {
      if (slot.old_bitmap != nullptr) (void)platform::SelectObject(slot.dc, slot.old_bitmap);
      platform::DeleteDC(slot.dc);
    }
    if (slot.bitmap != nullptr) platform::DeleteObject(slot.bitmap);
    slot = WorkSlot{};
  }
  slot_bitmap_size_ = {0, 0};
}

CardSprite* CardAnimation::Sprite(int32_t card) {
  if (!IsFace(card)) return back_sprite_.HasPixels() ? &back_sprite_ : nullptr;
  CardSprite& face = face_sprites_[card];
  const uint8_t* cell = sheet_ != nullptr ? sheet_->CellPixels(card) : nullptr;
  if (cell == nullptr) {
    face.Release();
    return nullptr;
  }
  face.SetStrip(cell, CardSheet::kCardWidth, CardSheet::kCardHeight, CardSheet::kRowStride, kCardAnimationKey);
  return &face;
}

// ---- Work slots -----------------------------------------------------------------------------------

CardAnimation::WorkSlot* CardAnimation::Slot(int32_t slot) {
  return SlotInRange(slot) ? &slots_[static_cast<size_t>(slot)] : nullptr;
}

const CardAnimation::WorkSlot* CardAnimation::Slot(int32_t slot) const {
  return SlotInRange(slot) ? &slots_[static_cast<size_t>(slot)] : nullptr;
}

int32_t CardAnimation::NextSlot() {
  while (next_slot_ < SlotCount()) {
    const int32_t slot = next_slot_++;
    if (!slots_[static_cast<size_t>(slot)].held && slots_[static_cast<size_t>(slot)].bitmap != nullptr) return slot;
  }
  return -1;
}

void CardAnimation::HoldSlot(int32_t slot, bool held) {
  if (SlotInRange(slot)) slots_[static_cast<size_t>(slot)].held = held;
}

void CardAnimation::ReleaseHeldSlots() {
  for (WorkSlot& slot : slots_) slot.held = false;
}

bool CardAnimation::RenderRotateSkew(int32_t slot, int32_t card, int32_t skew_degrees, int32_t percent_across,
                                     int32_t percent_down, bool take_edges) {
  WorkSlot* work = Slot(slot);
  CardSprite* sprite = Sprite(card);
  if (work == nullptr || work->bitmap == nullptr || sprite == nullptr) return false;
  platform::SIZE size{0, 0};
  (void)sprite->RenderRotateSkew(work->dc, work->bitmap, 0, skew_degrees, percent_across, percent_down, &size);
  work->size = size;
  if (take_edges) {
    (void)sprite->GetEdgeRuns(2, work->edge_runs);
  } else {
    std::fill(std::begin(work->edge_runs), std::end(work->edge_runs), 0);
  }
  return true;
}

bool CardAnimation::RenderSlanted(int32_t slot, int32_t card, int32_t slant_rows, int32_t narrowing) {
  WorkSlot* work = Slot(slot);
  CardSprite* sprite = Sprite(card);
  if (work == nullptr || work->bitmap == nullptr || sprite == nullptr) return false;
  platform::SIZE size{0, 0};
  (void)sprite->RenderSlanted(work->dc, work->bitmap, slant_rows, std::max(narrowing, 0), &size);
  work->size = size;
  std::fill(std::begin(work->edge_runs), std::end(work->edge_runs), 0);
  return true;
}

bool CardAnimation::RenderDimmed(int32_t slot, int32_t card, int32_t percent) {
  WorkSlot* work = Slot(slot);
  CardSprite* sprite = Sprite(card);
  if (work == nullptr || work->bitmap == nullptr || sprite == nullptr) return false;
  platform::SIZE size{0, 0};
  (void)sprite->RenderDimmed(work->dc, work->bitmap, percent, &size);
  work->size = size;
  std::fill(std::begin(work->edge_runs), std::end(work->edge_runs), 0);
  return true;
}

void CardAnimation::DrawSlotKeyed(platform::HDC dc, int32_t slot, int32_t x, int32_t y) const {
  const WorkSlot* work = Slot(slot);
  if (work == nullptr || work->dc == nullptr) return;
  if (transparent_draw_ != nullptr) {
    transparent_draw_->Draw(work->dc, 0, 0, work->size.cx, work->size.cy, dc, x, y, kCardAnimationKey);
  } else {
    platform::BitBlt(dc, x, y, work->size.cx, work->size.cy, work->dc, 0, 0, platform::SRCCOPY);
  }
}

void CardAnimation::DrawSlotEdged(platform::HDC dc, int32_t slot, int32_t x, int32_t y) const {
  const WorkSlot* work = Slot(slot);
  if (work == nullptr || work->dc == nullptr) return;
  const int32_t width = work->size.cx;
  const int32_t height = work->size.cy;
  const auto row = [&](int32_t r, int32_t left_run, int32_t right_run) {
    const int32_t shown = width - left_run - right_run;
    if (r < 0 || r >= height || shown <= 0) return;
    platform::BitBlt(dc, x + left_run, y + r, shown, 1, work->dc, left_run, r, platform::SRCCOPY);
  };
  const int32_t* runs = work->edge_runs;
  // Rows 0 and 1 from the top-left and top-right runs, the last and last but one from the bottom
  // runs; a card shorter than four rows is all edge.
  if (height < 4) {
    for (int32_t r = 0; r < height; ++r) row(r, 0, 0);
    return;
  }
  row(0, runs[0], runs[2]);
  row(1, runs[1], runs[3]);
  platform::BitBlt(dc, x, y + 2, width, height - 4, work->dc, 0, 2, platform::SRCCOPY);
  row(height - 1, runs[4], runs[6]);
  row(height - 2, runs[5], runs[7]);
}

void CardAnimation::DrawSlotRounded(platform::HDC dc, int32_t slot, int32_t x, int32_t y) const {
  const WorkSlot* work = Slot(slot);
  if (work == nullptr || work->dc == nullptr) return;
  const int32_t width = work->size.cx;
  const int32_t height = work->size.cy;
  for (int32_t r = 0; r < height; ++r) {
    const int32_t from_edge = std::min(r, height - 1 - r);
    const int32_t inset = from_edge == 0 ? 2 : from_edge == 1 ? 1 : 0;
    if (width - 2 * inset <= 0) continue;
    platform::BitBlt(dc, x + inset, y + r, width - 2 * inset, 1, work->dc, inset, r, platform::SRCCOPY);
  }
}

// ---- Dirty list -----------------------------------------------------------------------------------

bool CardAnimation::QueueRect(const platform::RECT& rect, int32_t seat, int32_t flag) {
  if (CardRect_IsEmpty(rect)) return false;
  if (DirtyCount() >= dirty_capacity_) {
    dirty_overflowed_ = true;
    return false;
  }
  dirty_.push_back(DirtyEntry{rect, seat, flag});
  return true;
}

bool CardAnimation::QueueRectUnlessCovered(const platform::RECT& rect, int32_t seat, int32_t flag) {
  for (const DirtyEntry& entry : dirty_) {
    if (Covers(entry.rect, rect)) return false;
  }
  return QueueRect(rect, seat, flag);
}

const CardAnimation::DirtyEntry* CardAnimation::DirtyAt(int32_t index) const {
  return index >= 0 && index < DirtyCount() ? &dirty_[static_cast<size_t>(index)] : nullptr;
}

void CardAnimation::ClearDirty() {
  dirty_.clear();
  dirty_overflowed_ = false;
}

void CardAnimation::EraseDirtyRects(platform::HDC dc, platform::HDC background) const {
  for (const DirtyEntry& entry : dirty_) {
    const platform::RECT& r = entry.rect;
    platform::BitBlt(dc, r.left, r.top, r.right - r.left + 1, r.bottom - r.top + 1, background, r.left, r.top,
                     platform::SRCCOPY);
  }
}

// ---- Done message ---------------------------------------------------------------------------------

void CardAnimation::StoreDoneMessage(bool post, platform::HWND window, platform::UINT message,
                                     platform::WPARAM wparam, platform::LPARAM lparam) {
  post_ = post;
  window_ = window;
  message_ = message;
  wparam_ = wparam;
  lparam_ = lparam;
}

bool CardAnimation::PostDoneMessage() {
  if (!post_) return false;
  post_ = false;
  return platform::PostMessage(window_, message_, wparam_, lparam_);
}

// ---- Arithmetic -----------------------------------------------------------------------------------

double CardGrowPercent(double start_percent, double part) {
  return (100.0 - start_percent) * part + start_percent;
}

double CardShrinkPercent(double start_percent, double part) {
  return (100.0 - start_percent) * (1.0 - part) + start_percent;
}

CardTurn CardTurnAt(double percent, double turn_start, double turn_span) {
  CardTurn turn;
  const double half = turn_span / 2.0;
  if (percent <= turn_start) return turn;
  if (percent <= turn_start + half) {
    turn.turning = true;
    turn.u = half > 0.0 ? std::clamp((percent - turn_start) / half, 0.0, 1.0) : 1.0;
    return turn;
  }
  turn.second_side = true;
  if (percent <= turn_start + turn_span) {
    const double rest = turn_span - half;
    turn.turning = true;
    turn.u = rest > 0.0 ? std::clamp((percent - turn_start - half) / rest, 0.0, 1.0) : 1.0;
    return turn;
  }
  turn.u = 1.0;
  return turn;
}

platform::POINT CardFlightPoint(platform::POINT start, platform::POINT end, double part) {
  const auto along = [part](int32_t from, int32_t to) {
    return from + static_cast<int32_t>(std::trunc(static_cast<double>(to - from) * part));
  };
  const platform::POINT centre{along(start.x, end.x), along(start.y, end.y)};
  const double path_x = static_cast<double>(end.x) - start.x;
  const double path_y = static_cast<double>(end.y) - start.y;
  if (path_x == 0.0 && path_y == 0.0) return centre;
  const auto toward = [](int32_t at, int32_t to) { return at < to ? 1 : at > to ? -1 : 0; };
  const int32_t step_x = toward(centre.x, end.x);
  const int32_t step_y = toward(centre.y, end.y);
  const platform::POINT candidates[4] = {{centre.x, centre.y},
                                         {centre.x + step_x, centre.y},
                                         {centre.x, centre.y + step_y},
                                         {centre.x + step_x, centre.y + step_y}};
  // The slope of the way left, compared with the path's as the angle between the two directions.
  platform::POINT best = centre;
  double best_angle = 10.0;
  for (const platform::POINT& candidate : candidates) {
    const double left_x = static_cast<double>(end.x) - candidate.x;
    const double left_y = static_cast<double>(end.y) - candidate.y;
    double angle = 0.0;
    if (left_x != 0.0 || left_y != 0.0) {
      angle = std::fabs(std::atan2(path_x * left_y - path_y * left_x, path_x * left_x + path_y * left_y));
    }
    if (angle < best_angle - 1e-12) {
      best_angle = angle;
      best = candidate;
    }
  }
  return best;
}

platform::RECT CardRect_Bound(const platform::RECT& a, const platform::RECT& b) {
  return {std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right),
          std::max(a.bottom, b.bottom)};
}

platform::RECT CardRects_Bound(int32_t count, const platform::RECT* rects) {
  if (count < 1 || rects == nullptr) return {-1, -1, -1, -1};
  platform::RECT bound = rects[0];
  for (int32_t i = 1; i < count; ++i) bound = CardRect_Bound(bound, rects[i]);
  return bound;
}
