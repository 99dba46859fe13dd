// How the Hold'em table paints itself each frame: every widget advances (UpdateFrame), erases
// what it left (EraseFrame) and is painted again when it changed or when something under or over
// it was erased (DrawFrame). Only the changed rectangles go to the window (GameFrame::Present),
// unless the whole picture is to be copied.
//
// Overlaps: every erased rectangle marks the widgets it touches for repainting; then every
// widget that will be repainted marks the widgets it touches in turn (twice, which reaches every
// widget of the table's small stacks), so that what lay under or over a changed widget is painted
// again in drawing order.
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <vector>

#include "cclient/games/holdem/holdem.h"
#include "cclient/games/holdem/holdem_draw_layout.h"
#include "cclient/table/table.h"
#include "cclient/widgets/table_layout.h"

namespace {

// The order in which the seats' bet piles are painted; the first six positions (the top of the
// table) before the pots, the last four after the working stacks.
constexpr int32_t kPileOrder[kHoldemSeats] = {0, 9, 1, 8, 2, 7, 5, 6, 3, 4};
constexpr int32_t kTopPileSeats = 6;

// The side of its piles on which each position's bet total stands.
constexpr int32_t kLabelSide[kHoldemSeats][2] = {{0, -1}, {1, -1}, {1, 0},  {1, 1},  {0, 1},
                                                 {0, 1},  {-1, 1}, {-1, 0}, {-1, -1}, {0, -1}};

constexpr platform::COLORREF kTextColour = 0xEEEEEE;
constexpr platform::COLORREF kTooltipTextColour = 0x0E0E0E;
constexpr platform::COLORREF kOverlayFill = platform::RGB(21, 78, 57);
constexpr platform::COLORREF kClockBar = platform::RGB(200, 0, 0);
constexpr platform::COLORREF kLabelBox = 0x606060;

bool IsNone(const platform::RECT& r) { return r.right < r.left || r.bottom < r.top; }

platform::RECT Inflate(const platform::RECT& r, int32_t by) {
  return platform::RECT{r.left - by, r.top - by, r.right + by, r.bottom + by};
}

void Restore(platform::HDC destination, platform::HDC background, const platform::RECT& r) {
  (void)platform::BitBlt(destination, r.left, r.top, r.right - r.left + 1, r.bottom - r.top + 1, background, r.left,
                         r.top, platform::SRCCOPY);
}

void FillColour(platform::HDC dc, const platform::RECT& r, platform::COLORREF colour) {
  platform::HBRUSH brush = platform::CreateSolidBrush(colour);
  (void)platform::FillRect(dc, &r, brush);
  (void)platform::DeleteObject(brush);
}

platform::RECT PlateRect(const HoldemPlayerSeat& plate) {
  return platform::RECT{plate.GetX(), plate.GetY(), plate.GetX() + plate.GetWidth() - 1,
                        plate.GetY() + plate.GetHeight() - 1};
}

bool StackTouches(const ChipStack& stack, const platform::RECT& r) {
  platform::RECT chips, label;
  stack.GetRects(&chips, &label);
  return (!IsNone(chips) && Rect_Overlaps(chips, r)) || (!IsNone(label) && Rect_Overlaps(label, r));
}

}  // namespace

// ---- Whole-picture redraw ----

void HoldemClass::RedrawAll() {
  if (!frame_.HasSurfaces()) return;
  auto mark_stack = [](ChipStack& stack) { stack.MarkDirty(); };
  for (ChipStack& pot : pots_) mark_stack(pot);
  for (HoldemSeatRecord& seat : seats_) {
    for (ChipStack& pile : seat.bets) mark_stack(pile);
    mark_stack(seat.combined);
    seat.plate.RequestFullRedraw();
    if (std::strcmp(seat.plate.GetUserName(), players_[seat.server_seat % kHoldemSeats].name) == 0) {
      RefreshPlayer(seat.plate.GetUserName());
    }
    draw_.bet_label_redraw[&seat - seats_] = true;
  }
  for (ChipStack& pile : working_) mark_stack(pile);
  mark_stack(deal_pile_);
  mark_stack(refund_pile_);
  for (CardDealer* dealer : Dealers()) {
    for (int32_t s = 0; s < dealer->SeatCount(); ++s) dealer->MarkSeatDirty(s);
  }
  dealer_button_.Invalidate();
  option_bar_.InvalidateOptions();
  for (HoldemPopUpWindow* window : {&fold_confirm_, &more_money3_, &more_money2_}) window->Invalidate();
  bet_window_.Invalidate();
  action_bar_.RequestFullRedraw();
  for (int32_t id = 0; id < 8; ++id) seat_options_.InvalidateButton(id);
  draw_.overlay_draw = draw_.overlay_length > 0;
  draw_.all_ins_draw = draw_.all_ins_shown >= 0;
  draw_.tooltip_draw = draw_.tooltip_placed;
  frame_.RedrawEverything();
}

std::vector<CardDealer*> HoldemClass::Dealers() const {
  std::vector<CardDealer*> dealers;
  for (CardDealer* dealer : {hole_dealer_.get(), board_dealer_.get(), board_copy_dealer_.get(),
                             board_muck_dealer_.get()}) {
    if (dealer != nullptr) dealers.push_back(dealer);
  }
  for (const auto& dealer : seat_muck_dealers_) {
    if (dealer != nullptr) dealers.push_back(dealer.get());
  }
  return dealers;
}

// ---- Update ----

void HoldemClass::UpdateFrame(float seconds) {
  if (game_started_ == 0 || game_state_ == GAMESTATE_ERROR) return;
  dealer_button_.Update(seconds);
  pots_[4].Update(seconds);
  for (CardDealer* dealer : Dealers()) dealer->Update(seconds);
  for (ChipStack& pile : working_) pile.Update(seconds);
  for (int32_t p = 0; p < kHoldemSeats; ++p) {
    HoldemSeatRecord& seat = seats_[p];
    for (ChipStack& pile : seat.bets) pile.Update(seconds);
    seat.combined.Update(seconds);
    if (deal_plate_ == p) deal_pile_.Update(seconds);
    if (refund_plate_ == p) refund_pile_.Update(seconds);
  }
  for (int32_t i = 0; i < 4; ++i) pots_[i].Update(seconds);
  if (widgets_built_ != 0) {
    (void)option_bar_.Update(seconds, -1, -1);
    action_bar_.Update(seconds, mouse_x_, mouse_y_);
  }
  for (HoldemSeatRecord& seat : seats_) seat.plate.Update(seconds);
  for (HoldemPopUpWindow* window : {&fold_confirm_, &more_money3_, &more_money2_}) {
    window->Update(seconds, mouse_x_, mouse_y_);
  }
  bet_window_.Update(seconds, mouse_x_, mouse_y_);
  UpdateSeatOptionButtons();
  UpdateAllInsText();
  UpdateOverlayCopy();
  UpdateTooltip(seconds);
}

void HoldemClass::UpdateAllInsText() {
  if (tournament_ != 0 || local_player_id_ < 0) return;
  const int32_t count = players_[local_player_id_].all_ins_remaining;
  if (count < 0 || count == draw_.all_ins_shown) return;
  std::snprintf(draw_.all_ins_text, sizeof draw_.all_ins_text, "All-Ins Remaining:%d", count);
  draw_.all_ins_erase = draw_.all_ins_shown >= 0;
  draw_.all_ins_shown = count;
  draw_.all_ins_draw = true;
}

void HoldemClass::UpdateOverlayCopy() {
  if (table_ == nullptr) return;
  char text[sizeof draw_.overlay_text];
  const size_t length = strnlen(table_->overlay_text, sizeof text - 1);
  std::memcpy(text, table_->overlay_text, length);
  text[length] = '\0';
  if (std::strcmp(text, draw_.overlay_text) == 0) return;
  std::memcpy(draw_.overlay_text, text, sizeof text);
  draw_.overlay_length = static_cast<int32_t>(std::strlen(text));
  draw_.overlay_changed = true;
}

void HoldemClass::UpdateTooltip(float seconds) {
  if (hovered_seat_ < 0) return;
  const int32_t s = static_cast<int32_t>(seats_[hovered_seat_].server_seat % kHoldemSeats);
  if (players_[s].status == SEAT_EMPTY) {
    hovered_seat_ = -1;
    draw_.tooltip_erase = true;
    return;
  }
  tooltip_timer_ += seconds;
  if (tooltip_timer_ >= 2.0f) {
    tooltip_timer_ = 0;
    std::snprintf(draw_.tooltip_text, sizeof draw_.tooltip_text, "%s",
                  table_ != nullptr ? table_->seat_names[s] : players_[s].name);
    draw_.tooltip_erase = true;
    draw_.tooltip_placed = false;
  }
  if (!draw_.tooltip_placed && frame_.HasSurfaces()) {
    platform::HDC dc = frame_.BackBuffer();
    platform::HFONT old = platform::SelectObject(dc, fonts_[1]);
    platform::RECT measure{0, 0, 0, 0};
    (void)platform::DrawText(dc, draw_.tooltip_text, -1, &measure, platform::DT_CALCRECT);
    (void)platform::SelectObject(dc, old);
    draw_.tooltip_box = HoldemDraw_PlaceTooltip(mouse_x_, mouse_y_, measure.right - measure.left,
                                                measure.bottom - measure.top);
    draw_.tooltip_placed = true;
    draw_.tooltip_draw = true;
    draw_.tooltip_list = true;
  }
}

// ---- Erase ----

void HoldemClass::NoteErased(const platform::RECT& r) {
  if (IsNone(r)) return;
  frame_.AddDirty(r);
  for (int32_t i = 0; i < 4; ++i) {
    if (Rect_Overlaps(r, status_areas_[i])) status_area_flags_[i] = 1;
  }
  erased_.push_back(r);
}

void HoldemClass::EraseFrame() {
  if (game_started_ == 0 || game_state_ == GAMESTATE_ERROR || !frame_.HasSurfaces()) return;
  platform::HDC back = frame_.BackBuffer();
  platform::HDC background = frame_.Background();
  for (uint8_t& flag : status_area_flags_) flag = 0;
  erased_.clear();
  platform::RECT r, label;
  auto erase_stack = [&](ChipStack& stack) {
    if (stack.Erase(back, background, &r, &label)) {
      NoteErased(r);
      NoteErased(label);
    }
  };
  if (dealer_button_.Erase(back, background, &r)) NoteErased(r);
  erase_stack(pots_[4]);
  for (CardDealer* dealer : Dealers()) {
    for (int32_t s = 0; s < dealer->SeatCount(); ++s) {
      for (int32_t c = 0; c < dealer->CardsPerSeat(); ++c) {
        if (dealer->GetCardEraseRect(s, c, &r)) NoteErased(r);
      }
    }
    (void)dealer->EraseCards(back, background);
  }
  for (ChipStack& pile : working_) erase_stack(pile);
  erase_stack(deal_pile_);
  erase_stack(refund_pile_);
  for (int32_t p = 0; p < kHoldemSeats; ++p) {
    HoldemSeatRecord& seat = seats_[p];
    const size_t before = erased_.size();
    for (ChipStack& pile : seat.bets) erase_stack(pile);
    erase_stack(seat.combined);
    if (erased_.size() != before) draw_.bet_label_redraw[p] = true;
    EraseBetLabel(p);
  }
  for (int32_t i = 0; i < 4; ++i) erase_stack(pots_[i]);
  if (action_bar_.EraseUncovered(back, background, &r)) NoteErased(r);
  for (HoldemSeatRecord& seat : seats_) {
    if (seat.plate.Erase(back, background, &r)) NoteErased(r);
  }
  for (HoldemPopUpWindow* window : {&fold_confirm_, &more_money3_, &more_money2_}) {
    if (window->Erase(back, background, &r)) NoteErased(r);
  }
  if (bet_window_.Erase(back, background, &r)) NoteErased(r);
  if (draw_.all_ins_erase && tournament_ == 0) {
    const platform::RECT area{all_ins_rect_.left, all_ins_rect_.top, all_ins_rect_.right - 1, all_ins_rect_.bottom - 1};
    Restore(back, background, area);
    NoteErased(area);
    draw_.all_ins_erase = false;
  }
  if (draw_.overlay_changed) EraseOverlay();
  if (draw_.tooltip_erase) {
    if (!IsNone(draw_.tooltip_drawn)) {
      Restore(back, background, draw_.tooltip_drawn);
      NoteErased(draw_.tooltip_drawn);
      draw_.tooltip_drawn = platform::RECT{0, 0, -1, -1};
    }
    draw_.tooltip_erase = false;
  }
  // What lay under or over an erased area, then what lies over a widget that is repainted.
  for (const platform::RECT& area : erased_) MarkOverlapping(area);
  for (int32_t round = 0; round < 2; ++round) {
    std::vector<platform::RECT> repainted;
    CollectRepainted(&repainted);
    for (const platform::RECT& area : repainted) MarkOverlapping(area);
  }
}

void HoldemClass::EraseOverlay() {
  platform::HDC back = frame_.BackBuffer();
  if (!IsNone(draw_.overlay_box)) {
    Restore(back, frame_.Background(), draw_.overlay_box);
    NoteErased(draw_.overlay_box);
    draw_.overlay_box = platform::RECT{0, 0, -1, -1};
  }
  draw_.overlay_changed = false;
  draw_.overlay_draw = false;
  if (draw_.overlay_length == 0) return;
  platform::HFONT old = platform::SelectObject(back, fonts_[1]);
  platform::RECT measure{0, 0, 0, 0};
  (void)platform::DrawText(back, draw_.overlay_text, draw_.overlay_length, &measure, platform::DT_CALCRECT);
  (void)platform::SelectObject(back, old);
  const platform::RECT box = HoldemDraw_PlaceOverlay(measure.right - measure.left, measure.bottom - measure.top);
  // Kept inclusive like every other listed rectangle.
  draw_.overlay_box = platform::RECT{box.left, box.top, box.right - 1, box.bottom - 1};
  draw_.overlay_draw = true;
  draw_.overlay_list = true;
}

void HoldemClass::EraseBetLabel(int32_t position) {
  const uint64_t amount = BetTotal(position);
  if (amount != draw_.bet_label_amount[position]) draw_.bet_label_redraw[position] = true;
  if (!draw_.bet_label_redraw[position]) return;
  platform::RECT& old = bet_label_rects_[position];
  if (old.left >= 0 && !IsNone(old)) {
    Restore(frame_.BackBuffer(), frame_.Background(), old);
    NoteErased(old);
  }
  old = platform::RECT{-1, -1, -1, -1};
}

uint64_t HoldemClass::BetTotal(int32_t position) const {
  const HoldemSeatRecord& seat = seats_[position];
  uint64_t total = seat.combined.GetAmount();
  for (const ChipStack& pile : seat.bets) total += pile.GetAmount();
  return total;
}

void HoldemClass::MarkOverlapping(const platform::RECT& area) {
  platform::RECT r;
  if (dealer_button_.GetRect(&r) && Rect_Overlaps(r, area)) dealer_button_.Invalidate();
  auto mark_stack = [&area](ChipStack& stack) {
    if (StackTouches(stack, area)) stack.MarkDirty();
  };
  for (ChipStack& pot : pots_) mark_stack(pot);
  for (ChipStack& pile : working_) mark_stack(pile);
  mark_stack(deal_pile_);
  mark_stack(refund_pile_);
  for (int32_t p = 0; p < kHoldemSeats; ++p) {
    HoldemSeatRecord& seat = seats_[p];
    for (ChipStack& pile : seat.bets) mark_stack(pile);
    mark_stack(seat.combined);
    if (bet_label_rects_[p].left >= 0 && Rect_Overlaps(bet_label_rects_[p], area)) draw_.bet_label_redraw[p] = true;
    if (seat.plate.IsVisible() && Rect_Overlaps(PlateRect(seat.plate), area)) seat.plate.RequestFullRedraw();
  }
  for (CardDealer* dealer : Dealers()) {
    for (int32_t s = 0; s < dealer->SeatCount(); ++s) {
      for (int32_t c = 0; c < dealer->CardsPerSeat(); ++c) {
        if (dealer->HasCard(s, c) && dealer->GetCardRect(&r, s, c) && !IsNone(r) && Rect_Overlaps(r, area) &&
            !dealer->IsCardDirty(s, c)) {
          dealer->MarkCardDirty(s, c);
        }
      }
    }
  }
  for (HoldemPopUpWindow* window : {&fold_confirm_, &more_money3_, &more_money2_}) {
    if (window->GetRect(&r) && Rect_Overlaps(r, area)) window->Invalidate();
  }
  if (bet_window_.GetRect(&r) && Rect_Overlaps(r, area)) bet_window_.Invalidate();
  if (widgets_built_ != 0) {
    option_bar_.GetRect(&r);
    if (!IsNone(r) && Rect_Overlaps(r, area)) option_bar_.InvalidateOptions();
    const platform::RECT bar{0, action_bar_.GetY(), GameFrame::kWidth - 1, GameFrame::kHeight - 1};
    if (Rect_Overlaps(bar, area)) action_bar_.RequestFullRedraw();
  }
  for (int32_t id = 0; id < 8; ++id) {
    if (seat_options_.IsButtonShown(id) && seat_options_.GetButtonRect(id, &r) && Rect_Overlaps(r, area)) {
      seat_options_.InvalidateButton(id);
    }
  }
  if (draw_.tooltip_placed && !IsNone(draw_.tooltip_drawn) && Rect_Overlaps(draw_.tooltip_drawn, area)) {
    draw_.tooltip_draw = true;
  }
  if (!IsNone(draw_.overlay_box) && Rect_Overlaps(draw_.overlay_box, area)) draw_.overlay_draw = true;
  const platform::RECT all_ins{all_ins_rect_.left, all_ins_rect_.top, all_ins_rect_.right - 1, all_ins_rect_.bottom - 1};
  if (draw_.all_ins_shown >= 0 && Rect_Overlaps(all_ins, area)) draw_.all_ins_draw = true;
}

void HoldemClass::CollectRepainted(std::vector<platform::RECT>* out) {
  platform::RECT r, label;
  auto stack = [&](const ChipStack& s) {
    if (!s.NeedsRedraw()) return;
    s.GetRects(&r, &label);
    if (!IsNone(r)) out->push_back(r);
    if (!IsNone(label)) out->push_back(label);
  };
  if (dealer_button_.NeedsRedraw() && dealer_button_.GetRect(&r)) out->push_back(r);
  for (const ChipStack& pot : pots_) stack(pot);
  for (const ChipStack& pile : working_) stack(pile);
  stack(deal_pile_);
  stack(refund_pile_);
  for (const HoldemSeatRecord& seat : seats_) {
    for (const ChipStack& pile : seat.bets) stack(pile);
    stack(seat.combined);
    if (seat.plate.IsVisible() && seat.plate.NeedsRedraw()) out->push_back(PlateRect(seat.plate));
  }
  for (CardDealer* dealer : Dealers()) {
    for (int32_t s = 0; s < dealer->SeatCount(); ++s) {
      for (int32_t c = 0; c < dealer->CardsPerSeat(); ++c) {
        if (dealer->HasCard(s, c) && dealer->IsCardDirty(s, c) && dealer->GetCardRect(&r, s, c) && !IsNone(r)) {
          out->push_back(r);
        }
      }
    }
  }
  for (HoldemPopUpWindow* window : {&fold_confirm_, &more_money3_, &more_money2_}) {
    if (window->NeedsRedraw() && window->GetRect(&r)) out->push_back(r);
  }
  if (bet_window_.NeedsRedraw() && bet_window_.GetRect(&r)) out->push_back(r);
}

// ---- Draw ----

void HoldemClass::ListDrawn(bool drawn, const platform::RECT& r) {
  if (drawn && !IsNone(r)) frame_.AddDirty(r);
}

void HoldemClass::DrawStack(ChipStack& stack) {
  if (!stack.NeedsRedraw()) return;
  (void)stack.Draw(frame_.BackBuffer());
  platform::RECT chips, label;
  if (stack.GetDirtyRects(&chips, &label)) {
    ListDrawn(true, chips);
    ListDrawn(true, label);
  }
}

void HoldemClass::DrawDealer(CardDealer* dealer, bool moving, bool face_up, bool face_down, bool list) {
  if (dealer == nullptr) return;
  (void)dealer->Draw(frame_.BackBuffer(), &card_painter_, moving, face_up, face_down, nullptr);
  if (!list) return;
  platform::RECT r;
  for (int32_t s = 0; s < dealer->SeatCount(); ++s) {
    for (int32_t c = 0; c < dealer->CardsPerSeat(); ++c) {
      if (dealer->GetChangedCardRect(s, c, &r)) ListDrawn(true, r);
    }
  }
  dealer->ClearChangedFlags();
}

void HoldemClass::DrawSeatPiles(int32_t position) {
  HoldemSeatRecord& seat = seats_[position];
  ChipStack* mover = nullptr;
  if (deal_plate_ == position) mover = &deal_pile_;
  if (refund_plate_ == position) mover = &refund_pile_;
  if (mover != nullptr && seat.layout_flags[1] != 0) DrawStack(*mover);
  if (seat.layout_flags[0] != 0) {
    for (int32_t k = 0; k < 4; ++k) DrawStack(seat.bets[k]);
  } else {
    for (int32_t k = 3; k >= 0; --k) DrawStack(seat.bets[k]);
  }
  DrawStack(seat.combined);
  if (mover != nullptr && seat.layout_flags[1] == 0) DrawStack(*mover);
  DrawBetLabel(position);
}

void HoldemClass::DrawBetLabel(int32_t position) {
  if (!draw_.bet_label_redraw[position]) return;
  draw_.bet_label_redraw[position] = false;
  const uint64_t amount = BetTotal(position);
  draw_.bet_label_amount[position] = amount;
  if (amount == 0) return;
  HoldemSeatRecord& seat = seats_[position];
  platform::RECT piles{0, 0, -1, -1};
  auto add = [&piles](const ChipStack& pile) {
    platform::RECT r;
    if (pile.GetStackRect(&r)) Rect_Union(&piles, r);
  };
  for (const ChipStack& pile : seat.bets) add(pile);
  add(seat.combined);
  if (IsNone(piles)) return;
  char text[32];
  HoldemDraw_BetTotalText(text, sizeof text, amount, whole_units_ != 0);
  platform::HDC dc = frame_.BackBuffer();
  platform::HFONT old = platform::SelectObject(dc, fonts_[1]);
  platform::RECT measure{0, 0, 0, 0};
  (void)platform::DrawText(dc, text, -1, &measure, platform::DT_CALCRECT);
  const int32_t w = measure.right - measure.left;
  const int32_t h = measure.bottom - measure.top;
  const int32_t dx = kLabelSide[position][0];
  const int32_t dy = kLabelSide[position][1];
  const int32_t x = dx > 0 ? piles.right + 3 : dx < 0 ? piles.left - 3 - w : (piles.left + piles.right + 1 - w) / 2;
  const int32_t y = dy > 0 ? piles.bottom + 2 : dy < 0 ? piles.top - 2 - h : (piles.top + piles.bottom + 1 - h) / 2;
  platform::RECT box{x, y, x + w, y + h};
  const int32_t s = static_cast<int32_t>(seat.server_seat % kHoldemSeats);
  const bool holds_cards = hole_dealer_ != nullptr && hole_dealer_->HasCard(s, 0);
  if ((position == 4 || position == 5) && s != local_player_id_ && holds_cards) FillColour(dc, box, kLabelBox);
  (void)platform::DrawText(dc, text, -1, &box, 0);
  (void)platform::SelectObject(dc, old);
  bet_label_rects_[position] = platform::RECT{box.left, box.top, box.right - 1, box.bottom - 1};
  ListDrawn(true, bet_label_rects_[position]);
}

void HoldemClass::DrawFrame(float seconds) {
  if (table_ == nullptr || !frame_.HasSurfaces()) return;
  platform::HDC back = frame_.BackBuffer();
  platform::HFONT old_font = platform::SelectObject(back, fonts_[1]);
  // 1. The table host's status strip.
  {
    bool full = frame_.RedrawAllPending();
    for (uint8_t flag : status_area_flags_) full = full || flag != 0;
    const int32_t room = std::max(0, GameFrame::kMaxDirty - frame_.Dirty().Count());
    std::vector<platform::RECT> rects(static_cast<size_t>(room) + 1);
    int32_t count = 0;
    table_->PaintStatus(back, seconds, chat_line_ != nullptr ? chat_line_->GetText() : "", frame_.Background(), full,
                        rects.data(), &count, room);
    for (int32_t i = 0; i < count && i < room; ++i) frame_.AddDirty(rects[static_cast<size_t>(i)]);
  }
  (void)platform::SetTextColor(back, kTextColour);
  platform::RECT r;
  if (game_started_ != 0 && game_state_ != GAMESTATE_ERROR) {
    // 2. The widgets, bottom to top.
    if (dealer_button_.NeedsRedraw()) ListDrawn(dealer_button_.Draw(back) && dealer_button_.GetDirtyRect(&r), r);
    {
      platform::HFONT label_font = platform::SelectObject(back, fonts_[0]);
      DrawStack(pots_[4]);
      (void)platform::SelectObject(back, label_font);
    }
    DrawDealer(hole_dealer_.get(), false, false, true, false);
    DrawDealer(board_dealer_.get(), true, true, true, true);
    DrawDealer(board_copy_dealer_.get(), true, true, true, true);
    DrawDealer(board_muck_dealer_.get(), true, true, true, true);
    for (int32_t i = 0; i < kTopPileSeats; ++i) DrawSeatPiles(kPileOrder[i]);
    for (int32_t i = 0; i < 4; ++i) DrawStack(pots_[i]);
    for (ChipStack& pile : working_) DrawStack(pile);
    for (int32_t i = kTopPileSeats; i < kHoldemSeats; ++i) DrawSeatPiles(kPileOrder[i]);
    DrawDealer(hole_dealer_.get(), true, true, false, true);
    for (auto& dealer : seat_muck_dealers_) DrawDealer(dealer.get(), true, true, true, true);
    if (widgets_built_ != 0) {
      ListDrawn(option_bar_.Draw(back) && option_bar_.GetShownRect(&r), r);
      ListDrawn(action_bar_.Draw(back) && action_bar_.GetDrawnRect(&r), r);
    }
    for (HoldemSeatRecord& seat : seats_) {
      if (!seat.plate.NeedsRedraw()) continue;
      ListDrawn(seat.plate.Draw(back) && seat.plate.GetDirtyRect(&r), r);
    }
    for (HoldemPopUpWindow* window : {&fold_confirm_, &more_money3_, &more_money2_}) {
      const bool closing = window->GetTransition() == -1;
      const bool drawn = window->NeedsRedraw() && window->Draw(back);
      if (!closing) ListDrawn(drawn && window->GetDirtyRect(&r), r);
    }
    {
      const bool closing = bet_window_.GetTransition() == -1;
      const bool drawn = bet_window_.NeedsRedraw() && bet_window_.Draw(back);
      if (!closing) ListDrawn(drawn && bet_window_.GetDirtyRect(&r), r);
    }
    seat_options_.Draw(back, frame_.Background(), frame_.RedrawAllPending(), &frame_.Dirty());
  }
  // 3. "All-Ins Remaining".
  if (tournament_ == 0 && draw_.all_ins_draw && draw_.all_ins_shown >= 0) {
    platform::RECT area = all_ins_rect_;
    (void)platform::DrawText(back, draw_.all_ins_text, -1, &area, all_ins_format_);
    ListDrawn(true, platform::RECT{all_ins_rect_.left, all_ins_rect_.top, all_ins_rect_.right - 1,
                                   all_ins_rect_.bottom - 1});
  }
  draw_.all_ins_draw = false;
  // 4. The overlay text.
  if (draw_.overlay_draw && draw_.overlay_length > 0 && !IsNone(draw_.overlay_box)) {
    const platform::RECT fill{draw_.overlay_box.left, draw_.overlay_box.top, draw_.overlay_box.right + 1,
                              draw_.overlay_box.bottom + 1};
    FillColour(back, fill, kOverlayFill);
    platform::RECT inside = Inflate(fill, -4);
    (void)platform::DrawText(back, draw_.overlay_text, draw_.overlay_length, &inside, 0);
    ListDrawn(true, draw_.overlay_box);
  }
  draw_.overlay_draw = false;
  draw_.overlay_list = false;
  // 5. Statistics.
  RefreshStatistics(seconds, false);
  // 6. The tooltip.
  if (tooltip_timer_ >= 0 && hovered_seat_ >= 0 && draw_.tooltip_draw && draw_.tooltip_placed) {
    const platform::RECT frame = Inflate(draw_.tooltip_box, 2);
    (void)platform::Rectangle(back, frame.left, frame.top, frame.right, frame.bottom);
    (void)platform::SetTextColor(back, kTooltipTextColour);
    platform::RECT text = draw_.tooltip_box;
    (void)platform::DrawText(back, draw_.tooltip_text, -1, &text, platform::DT_CENTER);
    (void)platform::SetTextColor(back, kTextColour);
    draw_.tooltip_drawn = platform::RECT{frame.left, frame.top, frame.right - 1, frame.bottom - 1};
    ListDrawn(true, draw_.tooltip_drawn);
    draw_.tooltip_draw = false;
    draw_.tooltip_list = false;
  }
  // 7. The in-turn clock.
  DrawInTurnClock();
  // 8. The low-time warning, once per turn.
  if (turn_clock_.TakeHurryWarning()) {
    PlayTableSound(SOUND_HURRY);
    if (table_->Chat() != nullptr) {
      table_->Chat()->AddLine(back, "Time is running out.", kDealerChatColour);
      table_->Chat()->AddLine(back, "Please make your selection.", kDealerChatColour);
    }
  }
  (void)platform::SelectObject(back, old_font);
}

void HoldemClass::DrawInTurnClock() {
  platform::RECT drawn;
  if (turn_clock_.Draw(frame_.BackBuffer(), frame_.Background(), kClockBar, &drawn)) ListDrawn(true, drawn);
}
