// One card picture held as 24-bit pixels, from which the Stud and Black Jack card animators compute
// animation frames in software: the card turned over, slanted, rotated, scaled, warped or dimmed.
//
// A sprite either owns a copy of its picture (CopyPixels) or borrows a card's cell of a card
// sheet's raw pixels (SetStrip, with the sheet's row stride). Pixels are blue, green, red; rows
// bottom-up (row 0 is the picture's bottom row). Pixels of the colour key are transparent.
//
// Every transform writes one frame into a scratch buffer shared by all sprites (134 x 134 x 3
// bytes, made with the first pixels given to any sprite and freed when the last sprite goes) and
// hands it to the caller's target bitmap with SetDIBits; the caller then copies that bitmap to the
// table with the colour key. The frame's rows are as long as the target bitmap is wide; the frame
// width is the shown width rounded up to a multiple of 4 and capped at the bitmap's width, and its
// height is cut so that it fits the scratch. Frame pixels that show nothing get the key colour.
//
// The integer transforms (Stud) take their pixels from the card alone. The anti-aliased ones
// (Black Jack) blend the card's edges with what lies under the frame on `dc` at (x, y), where the
// frame will be drawn, and can be asked for the frame's size only (measure_only).
//
// A sprite without pixels refuses every transform (result 0, nothing drawn). UI thread only: one
// frame must be handed over before the next transform runs.
#pragma once

#include <cstdint>

#include "platform/draw/gdi.h"

class CardSprite {
 public:
  static constexpr int32_t kScratchSide = 134;
  static constexpr int32_t kScratchBytes = kScratchSide * kScratchSide * 3;

  CardSprite();
  ~CardSprite();
  CardSprite(const CardSprite&) = delete;
  CardSprite& operator=(const CardSprite&) = delete;

  // Frees the owned copy; when no sprite is left, the scratch too.
  void Release();
  // Takes a copy of width x height x 3 bytes (rows packed, bottom-up) and the colour key
  // (0x00BBGGRR). A null block or a size that is not positive leaves the sprite without pixels.
  void CopyPixels(const uint8_t* pixels, int32_t width, int32_t height, platform::COLORREF key);
  // Borrows a cell without copying: row r of it begins at pixels + r x row_stride. The block must
  // outlive the sprite's use of it.
  void SetStrip(const uint8_t* pixels, int32_t width, int32_t height, int32_t row_stride, platform::COLORREF key);
  bool HasPixels() const { return source_ != nullptr; }
  int32_t Width() const { return width_; }
  int32_t Height() const { return height_; }

  // ---- Integer transforms ---------------------------------------------------------------------
  // Both angles 0 and both percentages 100: the card as it is (and its edge runs recorded).
  // Rotation 0: a horizontal skew whose far edge is width x tan(skew) rows lower; percentages
  // below 100 drop evenly spread columns and rows. Otherwise rotated and skewed. Returns the
  // shown width; the out size is the frame's width and height (the height capped at the bitmap's).
  int32_t RenderRotateSkew(platform::HDC dc, platform::HBITMAP target, int32_t rotation_degrees,
                           int32_t skew_degrees, int32_t percent_across, int32_t percent_down, platform::SIZE* out);
  // The card turned part way over: narrowed by `narrowing` columns, one vertical edge `slant_rows`
  // rows lower than the other (the right edge for a positive slant). A negative narrowing (which
  // would widen the card) is refused with -1.
  int32_t RenderSlanted(platform::HDC dc, platform::HBITMAP target, int32_t slant_rows, int32_t narrowing,
                        platform::SIZE* out);
  // Every colour byte scaled by percent / 100 (kept within 0-255). The frame is the card's size.
  int32_t RenderDimmed(platform::HDC dc, platform::HBITMAP target, int32_t percent, platform::SIZE* out);
  // The key-coloured runs at the ends of the outer rows of the last plain frame, in groups of
  // top-left, top-right, bottom-left, bottom-right (outermost row first): the first min(n, 2) of
  // each group go to out[k x n ...], the rest of the group is zero. Returns min(n, 2).
  int32_t GetEdgeRuns(int32_t n, int32_t* out) const;

  // ---- Anti-aliased transforms ------------------------------------------------------------------
  // Each returns the shown width (0 when refused) and reports (shown width, frame height) in out.
  // The card scaled to width x height; refused for the card's own size.
  int32_t RenderScaled(platform::HDC dc, platform::HBITMAP target, double width, double height, bool measure_only,
                       int32_t x, int32_t y, platform::SIZE* out);
  // Rotated by -90 < angle < 90 degrees, not 0, framed by its bounding box.
  int32_t RenderRotated(platform::HDC dc, platform::HBITMAP target, double angle_degrees, bool measure_only,
                        int32_t x, int32_t y, platform::SIZE* out);
  int32_t RenderScaledRotated(platform::HDC dc, platform::HBITMAP target, double width, double height,
                              double angle_degrees, bool measure_only, int32_t x, int32_t y, platform::SIZE* out);
  // One step of turning the card over: its width scaled by 0 <= width_ratio <= 1, one vertical edge
  // width x |slant_ratio| rows lower than the other (-1 <= slant_ratio <= 1).
  int32_t RenderTurned(platform::HDC dc, platform::HBITMAP target, double width_ratio, double slant_ratio,
                       bool measure_only, int32_t x, int32_t y, platform::SIZE* out);
  int32_t RenderScaledTurned(platform::HDC dc, platform::HBITMAP target, double width, double height,
                             double width_ratio, double slant_ratio, bool measure_only, int32_t x, int32_t y,
                             platform::SIZE* out);
  // The card drawn between a top edge of length_1 at offset_1 and a bottom edge of length_2 at
  // offset_2, height rows apart. Equal offsets and lengths give RenderScaled (length_1, height).
  int32_t RenderWarped(platform::HDC dc, platform::HBITMAP target, double offset_1, double length_1,
                       double offset_2, double length_2, double height, bool measure_only, int32_t x, int32_t y,
                       platform::SIZE* out);

 private:
  struct Frame;
  struct RowSample;

  const uint8_t* Pixel(int32_t column, int32_t row) const {
    return source_ + static_cast<size_t>(row) * static_cast<size_t>(stride_) + static_cast<size_t>(column) * 3;
  }
  bool IsKey(const uint8_t* pixel) const;
  bool IsEmptyAt(int32_t column, int32_t row) const;
  RowSample SampleRow(int32_t row, int32_t column, double across_weight) const;

  bool FitFrame(platform::HBITMAP target, int32_t shown_width, int32_t frame_height, Frame* frame) const;
  void HandOver(platform::HDC dc, platform::HBITMAP target, const Frame& frame, platform::SIZE* out) const;
  uint8_t* Out(const Frame& frame, int32_t column, int32_t row_from_top) const;
  void PutKey(uint8_t* pixel) const;
  void KeyRestOfRow(const Frame& frame, int32_t row_from_top, int32_t from_column) const;

  int32_t PlainCopy(platform::HDC dc, platform::HBITMAP target, platform::SIZE* out);
  int32_t SlantCore(platform::HDC dc, platform::HBITMAP target, int32_t slant_rows, int32_t shift_across,
                    int32_t shift_down, bool record_edges, platform::SIZE* out);
  int32_t RotateSkewCore(platform::HDC dc, platform::HBITMAP target, int32_t rotation_degrees,
                         int32_t skew_degrees, int32_t shift_across, int32_t shift_down, platform::SIZE* out);
  int32_t RotateCore(platform::HDC dc, platform::HBITMAP target, double width, double height,
                     double angle_degrees, bool measure_only, int32_t x, int32_t y, platform::SIZE* out);
  int32_t TurnCore(platform::HDC dc, platform::HBITMAP target, double width, double height, double width_ratio,
                   double slant_ratio, bool measure_only, int32_t x, int32_t y, platform::SIZE* out);
  void RecordEdgeRuns(const Frame& frame);

  uint8_t* owned_ = nullptr;
  size_t owned_bytes_ = 0;
  const uint8_t* source_ = nullptr;  // the owned copy or the borrowed cell; null without pixels
  int32_t width_ = 0;
  int32_t height_ = 0;
  int32_t bits_ = 24;
  int32_t stride_ = 0;
  platform::COLORREF key_ = 0;
  int8_t edge_runs_[8] = {};
};
