// The machinery that every card animator of a table shares (Seven Card Stud, Black Jack): the card
// pictures as sprites, a few work bitmaps into which the cards that move or change are rendered
// each frame, the way a flying card's centre advances pixel by pixel, the turn-over and scaling
// arithmetic, the bounded list of rectangles to erase, and the message posted when an animation
// ends. An animator embeds one and keeps its own cards, schedules and rules.
//
// Pictures: the back is "cardbacs.b" (its size is the card size; its pixels are copied into the back
// sprite), the faces are the 56 x 78 cells of a card sheet, borrowed by the face sprites. The
// sheet's pixels are re-read when the deck option reloads it, so a face sprite is pointed at the
// sheet's cell again every time it is handed out.
//
// Work slots: each is a bitmap selected into its own memory context, with the size its last
// rendering produced and the edge runs of that rendering (the key-coloured pixels at the ends of
// its two top and two bottom rows). Slots are handed out afresh every frame (BeginSlots, NextSlot);
// a slot that must keep its picture across frames (a dimmed card at rest) is held and skipped.
//
// Dirty list: rectangles (inclusive right and bottom) with a seat number and a flag of the
// animator's choosing, to be erased from the background before the cards are drawn again. It holds
// a fixed number; one more marks it overflowed, and the owner must then redraw the whole table (the
// animator marks all its cards too). The owner empties it every frame.
//
// UI thread only.
#pragma once

#include <cstdint>
#include <vector>

#include "cclient/widgets/black_jack_card.h"
#include "cclient/widgets/card_sheet.h"
#include "cclient/widgets/card_sprite.h"
#include "cclient/widgets/transparent_draw.h"
#include "platform/draw/gdi.h"
#include "platform/window/window_types.h"

// The colour that marks the empty pixels of a rendered card.
constexpr platform::COLORREF kCardAnimationKey = 0x00FF00;

class CardAnimation {
 public:
  struct WorkSlot {
    platform::HDC dc = nullptr;
    platform::HBITMAP bitmap = nullptr;
    platform::HBITMAP old_bitmap = nullptr;
    platform::SIZE size{0, 0};  // of the last rendering
    int32_t edge_runs[8] = {};  // top-left, top-right, bottom-left, bottom-right; two rows each
    bool held = false;
  };
  struct DirtyEntry {
    platform::RECT rect{-1, -1, -1, -1};
    int32_t seat = 0;
    int32_t flag = 0;
  };

  CardAnimation(int32_t slot_count, int32_t dirty_capacity);
  ~CardAnimation();
  CardAnimation(const CardAnimation&) = delete;
  CardAnimation& operator=(const CardAnimation&) = delete;

  // ---- Set-up -------------------------------------------------------------------------------
  // Not owned; turning cards are drawn through it. Null draws them plainly.
  void SetTransparentDraw(TransparentDraw* draw) { transparent_draw_ = draw; }
  TransparentDraw* GetTransparentDraw() const { return transparent_draw_; }
  // Loads the back "cardbacs.b" (corner radius 2), takes the card size from it, copies its pixels
  // into the back sprite, keeps the sheet for the faces and makes the work bitmaps, compatible
  // with `dc`: min_width (rounded up to a multiple of 4) by min_height when that is at least the
  // card size both ways, else card width + card height square (the width rounded up likewise). The
  // slot size is reserved in the transparent copier. A second call releases the first set-up.
  // False when the back does not load (the slots are made at the minimum size all the same).
  bool Setup(platform::HDC dc, const CardSheet* sheet, int32_t min_width, int32_t min_height);
  void Release();

  platform::SIZE CardSize() const { return card_size_; }
  platform::SIZE SlotBitmapSize() const { return slot_bitmap_size_; }
  BlackJackCard& Images() { return images_; }
  const CardSheet* Sheet() const { return sheet_; }
  // The face sprite of a card 0-51, else the back sprite. Null when it has no pixels.
  CardSprite* Sprite(int32_t card);

  // ---- Work slots ---------------------------------------------------------------------------
  int32_t SlotCount() const { return static_cast<int32_t>(slots_.size()); }
  bool SlotInRange(int32_t slot) const { return slot >= 0 && slot < SlotCount(); }
  // Null for a slot out of range.
  WorkSlot* Slot(int32_t slot);
  const WorkSlot* Slot(int32_t slot) const;
  // Starts the frame's hand-out at slot 0.
  void BeginSlots() { next_slot_ = 0; }
  // The next slot that is not held, or -1 when none is left this frame (or none was made).
  int32_t NextSlot();
  void HoldSlot(int32_t slot, bool held);
  void ReleaseHeldSlots();
  // Renders the card `card` (face or back) into the slot with CardSprite::RenderRotateSkew and
  // keeps the size it produced; with `take_edges` also the sprite's edge runs. False without
  // pixels or slot.
  bool RenderRotateSkew(int32_t slot, int32_t card, int32_t skew_degrees, int32_t percent_across,
                        int32_t percent_down, bool take_edges);
  bool RenderSlanted(int32_t slot, int32_t card, int32_t slant_rows, int32_t narrowing);
  bool RenderDimmed(int32_t slot, int32_t card, int32_t percent);

  // Drawing a slot's picture at (x, y) of `dc`, at the size of its last rendering:
  // keyed: through the transparent copier with the key (plainly without one);
  void DrawSlotKeyed(platform::HDC dc, int32_t slot, int32_t x, int32_t y) const;
  // edged: the two top and two bottom rows without their key-coloured end runs, the rest in one
  // block (for cards rendered straight, whose only key pixels are their rounded corners);
  void DrawSlotEdged(platform::HDC dc, int32_t slot, int32_t x, int32_t y) const;
  // rounded: the first and last rows inset 2 pixels each side, the second and last but one 1.
  void DrawSlotRounded(platform::HDC dc, int32_t slot, int32_t x, int32_t y) const;

  // ---- Dirty list ---------------------------------------------------------------------------
  // Keeps a non-empty rectangle; when the list is full it marks it overflowed instead. Returns
  // whether it was kept.
  bool QueueRect(const platform::RECT& rect, int32_t seat, int32_t flag);
  // The same, but a rectangle that an entry already covers is not kept either.
  bool QueueRectUnlessCovered(const platform::RECT& rect, int32_t seat, int32_t flag);
  int32_t DirtyCount() const { return static_cast<int32_t>(dirty_.size()); }
  int32_t DirtyCapacity() const { return dirty_capacity_; }
  // Null for an index out of range.
  const DirtyEntry* DirtyAt(int32_t index) const;
  bool DirtyOverflowed() const { return dirty_overflowed_; }
  void ClearDirty();
  // Copies the background over every queued rectangle.
  void EraseDirtyRects(platform::HDC dc, platform::HDC background) const;

  // ---- Done message -------------------------------------------------------------------------
  void StoreDoneMessage(bool post, platform::HWND window, platform::UINT message, platform::WPARAM wparam,
                        platform::LPARAM lparam);
  // Posts the stored message when its post flag is set; the flag is cleared, so one animation
  // posts once. Returns whether it posted.
  bool PostDoneMessage();
  bool HasPendingDoneMessage() const { return post_; }

 private:
  void MakeSlots(platform::HDC dc, int32_t width, int32_t height);
  void FreeSlots();

  TransparentDraw* transparent_draw_ = nullptr;
  const CardSheet* sheet_ = nullptr;
  BlackJackCard images_;
  CardSprite back_sprite_;
  CardSprite face_sprites_[52];
  platform::SIZE card_size_{CardSheet::kCardWidth, CardSheet::kCardHeight};
  platform::SIZE slot_bitmap_size_{0, 0};
  std::vector<WorkSlot> slots_;
  int32_t next_slot_ = 0;

  int32_t dirty_capacity_;
  bool dirty_overflowed_ = false;
  std::vector<DirtyEntry> dirty_;

  bool post_ = false;
  platform::HWND window_ = nullptr;
  platform::UINT message_ = 0;
  platform::WPARAM wparam_ = 0;
  platform::LPARAM lparam_ = 0;
};

// ---- Arithmetic the animators share ---------------------------------------------------------------

// A card's size in percent at flight part p (0..1) that grows from `start_percent` to 100.
double CardGrowPercent(double start_percent, double part);
// ... and one that shrinks from 100 to `start_percent`.
double CardShrinkPercent(double start_percent, double part);

// Where a card stands in its turn-over at `percent` of its flight: before the turn it shows its
// first side; in the first half of the turn span it shows the first side narrowing (u 0 -> 1);
// in the second half the other side widening (u 0 -> 1); after it the other side.
struct CardTurn {
  bool turning = false;
  bool second_side = false;
  double u = 0.0;
};
CardTurn CardTurnAt(double percent, double turn_start, double turn_span);

// The pixel a flying card's centre stands on at `part` (0..1) of the way from `start` to `end`:
// the point start + trunc((end - start) x part) per axis, moved one pixel toward the end on either
// axis, both or neither, whichever leaves the remaining way's slope closest to the whole path's.
// It never passes the end.
platform::POINT CardFlightPoint(platform::POINT start, platform::POINT end, double part);

// The rectangle that bounds both (left and top the smaller, right and bottom the larger).
platform::RECT CardRect_Bound(const platform::RECT& a, const platform::RECT& b);
// The rectangle that bounds all n; (-1, -1, -1, -1) for n < 1.
platform::RECT CardRects_Bound(int32_t count, const platform::RECT* rects);
// Rectangles as the animators keep them: empty when left >= right or top >= bottom.
inline bool CardRect_IsEmpty(const platform::RECT& rect) { return rect.left >= rect.right || rect.top >= rect.bottom; }
