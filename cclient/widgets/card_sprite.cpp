#include "cclient/widgets/card_sprite.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>

namespace {

constexpr double kDegreesToRadians = 0.017453292519943295;
// Sizes asked of the anti-aliased transforms are cut to this before any conversion to integers;
// every frame is far smaller (the scratch holds 134 x 134 pixels).
constexpr double kLargestAskedSize = 1.0e6;

int32_t live_sprites = 0;
uint8_t* scratch = nullptr;

void MakeScratch() {
  if (scratch == nullptr) scratch = new uint8_t[CardSprite::kScratchBytes];
}

int32_t Trunc(double value) {
  if (!(value > -kLargestAskedSize)) return static_cast<int32_t>(-kLargestAskedSize);
  if (!(value < kLargestAskedSize)) return static_cast<int32_t>(kLargestAskedSize);
  return static_cast<int32_t>(value);
}

int32_t RoundHalfAway(double value) { return Trunc(value >= 0.0 ? value + 0.5 : value - 0.5); }

int32_t Ceil(double value) {
  const int32_t whole = Trunc(value);
  return whole < value ? whole + 1 : whole;
}

bool IsWhole(double value) { return value == std::floor(value); }

uint8_t ToByte(double value) { return static_cast<uint8_t>(std::clamp(Trunc(value), 0, 255)); }

// The first source index and the weight of the next one for one output pixel on one axis, as the
// resampling walks a running source position P in steps of g = 1 / f. A weight of 1 or more means
// the first pixel alone.
struct AxisTap {
  int32_t index;
  double weight;
};

AxisTap ResampleTap(double f, double g, double p, int32_t output_index) {
  if (f == 1.0) return {output_index, 1.0};
  const int32_t whole = Trunc(p);
  if (f > 1.0) {
    const double e = p + g;
    const int32_t end = Trunc(e);
    if (end == whole) return {whole, 1.0};
    return {end - 1, (e - end) / g};
  }
  if (f > 0.5) {
    const double e = p + g;
    int32_t spanned = Trunc(e) - whole + 1;
    if (IsWhole(e)) --spanned;
    if (spanned == 2) return {whole, (e - whole - 1.0) / g};
    if (spanned == 3) {
      const double d = whole + 1.0 - p;
      const double h = g - 1.0;
      if (4.0 * d <= h) return {whole + 1, (h - d) / (g - d)};
      if (0.75 * h <= d) return {whole, 1.0 / (d + 1.0)};
      return {whole + 1, 1.0};
    }
    return {whole, 1.0};
  }
  const double q = p + 0.5 * g;
  const int32_t k = Trunc(q);
  if (q == k) return {k - 1, 0.5};
  const double r = q - k;
  if (r < 0.5) return {k - 1, r + 0.5};
  if (r == 0.5) return {k, 1.0};
  return {k, r - 0.5};
}

// The column spread of the integer transforms: how many dropped columns lie before a shown one.
// A step of exactly 1 spreads nothing.
int32_t SpreadBefore(int32_t position, int32_t size, int32_t shift) {
  if (shift >= 0) return 0;
  const int64_t k = (int64_t{size} * 10000 + 9999) / (1 - int64_t{shift});
  const double step = static_cast<double>(k) * 0.0001;
  if (step - 1.0 == 0.0) return 0;
  const int32_t q = Trunc((position + 1 - step) / (step - 1.0));
  return q > 0 ? q : 0;
}

}  // namespace

struct CardSprite::Frame {
  int32_t shown = 0;          // columns that show the card
  int32_t width = 0;          // the frame's width
  int32_t height = 0;         // rows kept in the scratch
  int32_t cut_rows = 0;       // rows the scratch could not hold
  int32_t bitmap_width = 0;   // the scratch's row length in pixels
  int32_t bitmap_height = 0;
  int32_t stride = 0;         // bytes per scratch row
  platform::HDC dc = nullptr;  // where the frame will be drawn, for the edge blend
  int32_t x = 0;
  int32_t y = 0;
  bool blended = false;       // an anti-aliased frame
};

// One source row's share of a frame pixel: its colour and how much of it is card.
struct CardSprite::RowSample {
  double blue = 0.0;
  double green = 0.0;
  double red = 0.0;
  double coverage = 0.0;
};

CardSprite::CardSprite() { ++live_sprites; }

CardSprite::~CardSprite() {
  --live_sprites;
  Release();
}

void CardSprite::Release() {
  if (source_ == owned_) source_ = nullptr;
  delete[] owned_;
  owned_ = nullptr;
  owned_bytes_ = 0;
  if (live_sprites == 0) {
    delete[] scratch;
    scratch = nullptr;
  }
}

void CardSprite::CopyPixels(const uint8_t* pixels, int32_t width, int32_t height, platform::COLORREF key) {
  source_ = nullptr;
  if (pixels == nullptr || width <= 0 || height <= 0 || int64_t{width} * height > int64_t{1} << 26) return;
  const size_t bytes = static_cast<size_t>(width) * static_cast<size_t>(height) * 3;
  // A later, larger picture gets a block of its size rather than overrunning the first one.
  if (bytes > owned_bytes_) {
    delete[] owned_;
    owned_ = new uint8_t[bytes];
    owned_bytes_ = bytes;
  }
  std::memcpy(owned_, pixels, bytes);
  source_ = owned_;
  width_ = width;
  height_ = height;
  stride_ = width * 3;
  bits_ = 24;
  key_ = key;
  MakeScratch();
}

void CardSprite::SetStrip(const uint8_t* pixels, int32_t width, int32_t height, int32_t row_stride,
                          platform::COLORREF key) {
  source_ = nullptr;
  if (pixels == nullptr || width <= 0 || height <= 0 || row_stride < width * 3) return;
  source_ = pixels;
  width_ = width;
  height_ = height;
  stride_ = row_stride;
  bits_ = 24;
  key_ = key;
  MakeScratch();
}

bool CardSprite::IsKey(const uint8_t* pixel) const {
  return pixel[0] == platform::GetBValue(key_) && pixel[1] == platform::GetGValue(key_) &&
         pixel[2] == platform::GetRValue(key_);
}

bool CardSprite::IsEmptyAt(int32_t column, int32_t row) const {
  return column < 0 || column >= width_ || row < 0 || row >= height_ || IsKey(Pixel(column, row));
}

void CardSprite::PutKey(uint8_t* pixel) const {
  pixel[0] = platform::GetBValue(key_);
  pixel[1] = platform::GetGValue(key_);
  pixel[2] = platform::GetRValue(key_);
}

// ---- Frames ---------------------------------------------------------------------------------

bool CardSprite::FitFrame(platform::HBITMAP target, int32_t shown_width, int32_t frame_height, Frame* frame) const {
  platform::BITMAP record{};
  if (scratch == nullptr || platform::GetObject(target, sizeof record, &record) == 0 || record.bmWidth <= 0) {
    return false;
  }
  frame->bitmap_width = record.bmWidth;
  frame->bitmap_height = record.bmHeight;
  // Rows of a pixel block are padded to whole 4-byte words.
  frame->stride = (record.bmWidth * 3 + 3) & ~3;
  frame->shown = std::max(shown_width, 0);
  frame->width = (frame->shown + 3) & ~3;
  if (frame->width > record.bmWidth) {
    frame->width = record.bmWidth;
    frame->shown = std::min(frame->shown, record.bmWidth);
  }
  const int32_t rows_that_fit = kScratchBytes / frame->stride;
  frame_height = std::max(frame_height, 0);
  frame->height = std::min(frame_height, rows_that_fit);
  frame->cut_rows = frame_height - frame->height;
  return true;
}

uint8_t* CardSprite::Out(const Frame& frame, int32_t column, int32_t row_from_top) const {
  return scratch + static_cast<size_t>(frame.height - 1 - row_from_top) * static_cast<size_t>(frame.stride) +
         static_cast<size_t>(column) * 3;
}

void CardSprite::KeyRestOfRow(const Frame& frame, int32_t row_from_top, int32_t from_column) const {
  for (int32_t column = std::max(from_column, 0); column < frame.bitmap_width; ++column) {
    PutKey(Out(frame, column, row_from_top));
  }
}

void CardSprite::HandOver(platform::HDC dc, platform::HBITMAP target, const Frame& frame,
                          platform::SIZE* out) const {
  // The integer transforms report the frame's width, the anti-aliased ones the shown width.
  if (frame.height > 0) {
    platform::BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(platform::BITMAPINFOHEADER);
    info.bmiHeader.biWidth = frame.bitmap_width;
    info.bmiHeader.biHeight = frame.height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = static_cast<uint16_t>(bits_);
    info.bmiHeader.biCompression = platform::BI_RGB;
    platform::SetDIBits(dc, target, 0, static_cast<uint32_t>(frame.height), scratch, &info,
                        platform::DIB_RGB_COLORS);
  }
  if (out != nullptr) {
    *out = {frame.blended ? frame.shown : frame.width, std::min(frame.height, frame.bitmap_height)};
  }
}

// ---- Integer transforms -----------------------------------------------------------------------

int32_t CardSprite::PlainCopy(platform::HDC dc, platform::HBITMAP target, platform::SIZE* out) {
  Frame frame;
  if (!FitFrame(target, width_, height_, &frame)) return 0;
  frame.width = frame.shown;
  for (int32_t y = 0; y < frame.height; ++y) {
    const int32_t row = height_ - 1 - y;
    std::memcpy(Out(frame, 0, y), Pixel(0, row), static_cast<size_t>(frame.shown) * 3);
    KeyRestOfRow(frame, y, frame.shown);
  }
  RecordEdgeRuns(frame);
  HandOver(dc, target, frame, out);
  return frame.shown;
}

int32_t CardSprite::RenderRotateSkew(platform::HDC dc, platform::HBITMAP target, int32_t rotation_degrees,
                                     int32_t skew_degrees, int32_t percent_across, int32_t percent_down,
                                     platform::SIZE* out) {
  if (!HasPixels()) return 0;
  // Columns and rows are dropped, never added, and never more than the card has.
  const auto shift = [](int32_t percent, int32_t size) {
    if (percent >= 100) return 0;
    return std::clamp(-RoundHalfAway((100 - percent) * size * 0.01), -size, 0);
  };
  const int32_t shift_across = shift(percent_across, width_);
  const int32_t shift_down = shift(percent_down, height_);
  if (rotation_degrees == 0 && skew_degrees == 0 && shift_across == 0 && shift_down == 0) {
    return PlainCopy(dc, target, out);
  }
  if (rotation_degrees == 0) {
    const double slant = skew_degrees == 0 ? 0.0 : width_ * std::tan(skew_degrees * kDegreesToRadians);
    return SlantCore(dc, target, Trunc(slant), shift_across, shift_down, skew_degrees == 0, out);
  }
  return RotateSkewCore(dc, target, rotation_degrees, skew_degrees, shift_across, shift_down, out);
}

int32_t CardSprite::RenderSlanted(platform::HDC dc, platform::HBITMAP target, int32_t slant_rows, int32_t narrowing,
                                  platform::SIZE* out) {
  if (!HasPixels()) return 0;
  if (narrowing < 0) return -1;
  return SlantCore(dc, target, slant_rows, -std::min(narrowing, width_), 0, false, out);
}

int32_t CardSprite::SlantCore(platform::HDC dc, platform::HBITMAP target, int32_t slant_rows, int32_t shift_across,
                              int32_t shift_down, bool record_edges, platform::SIZE* out) {
  const int32_t shown_width = width_ + shift_across;
  const int32_t column_height = height_ + shift_down;
  slant_rows = std::clamp(slant_rows, -static_cast<int32_t>(kLargestAskedSize), static_cast<int32_t>(kLargestAskedSize));
  Frame frame;
  if (!FitFrame(target, std::max(shown_width, 1), column_height + std::abs(slant_rows), &frame)) return 0;
  // The slant gives up the rows the scratch could not hold.
  if (frame.cut_rows > 0) {
    const int32_t kept = std::max(std::abs(slant_rows) - frame.cut_rows, 0);
    slant_rows = slant_rows < 0 ? -kept : kept;
  }
  const int32_t frame_height = column_height + std::abs(slant_rows);

  // A source row (counted from the top) read at frame row r of a column, after evenly dropping
  // rows for a negative shift down.
  const int64_t row_k =
      shift_down < 0 ? (int64_t{height_} * 10000 - shift_down) / (1 - int64_t{shift_down}) : 10000;
  const auto source_row = [&](int32_t r) {
    if (shift_down < 0 && row_k != 10000) {
      const int64_t numerator = (int64_t{r} + 1) * 10000 - row_k;
      int64_t t = numerator / (row_k - 10000);
      if (numerator % (row_k - 10000) != 0) ++t;
      if (t > 0) r += static_cast<int32_t>(std::min<int64_t>(t, height_));
    }
    return std::clamp(r, 0, height_ - 1);
  };

  for (int32_t y = 0; y < frame.height; ++y) KeyRestOfRow(frame, y, 0);

  if (shown_width < 2) {
    // Edge-on: one column of the card's edge pixels.
    const int32_t first_column = slant_rows >= 0 ? 0 : width_ - 1;
    const int32_t second_column = slant_rows >= 0 ? width_ - 1 : 0;
    for (int32_t y = 0; y < frame.height; ++y) {
      const bool upper = y <= height_ - 3;
      const int32_t column = upper ? first_column : second_column;
      const int32_t row = std::clamp(upper ? y : y - frame_height + height_, 0, height_ - 1);
      std::memcpy(Out(frame, 0, y), Pixel(column, height_ - 1 - row), 3);
    }
    if (record_edges) RecordEdgeRuns(frame);
    HandOver(dc, target, frame, out);
    return frame.shown;
  }

  const int64_t k = (int64_t{width_} * 10000 - 10001) / (1 - int64_t{shift_across});
  const double step = static_cast<double>(k) * 0.0001;
  for (int32_t x = 0; x < frame.shown; ++x) {
    int32_t d = 0;
    if (x == shown_width - 1) {
      d = width_ - shown_width;
    } else if (x > 0 && step - 1.0 != 0.0) {
      if (slant_rows < 0) {
        const double q = (x - 1 + 0.5) / (step - 1.0);
        if (q > 1.0) d = IsWhole(q) ? Trunc(q) - 1 : Trunc(q);
      } else {
        const double q = (x - 1 + 0.5 - step) / (step - 1.0);
        if (q > 0.0) d = Ceil(q);
      }
    }
    const int32_t column = std::clamp(x + d, 0, width_ - 1);
    int32_t lowered = 0;
    if (slant_rows > 0) {
      lowered = slant_rows - Trunc(static_cast<double>(x) * slant_rows / (shown_width - 1) + 0.5);
    } else if (slant_rows < 0) {
      lowered = Trunc(0.5 - static_cast<double>(x) * slant_rows / (shown_width - 1));
    }
    for (int32_t y = std::max(lowered, 0); y < std::min(lowered + column_height, frame.height); ++y) {
      const int32_t row = source_row(y - lowered);
      std::memcpy(Out(frame, x, y), Pixel(column, height_ - 1 - row), 3);
    }
  }
  if (record_edges) RecordEdgeRuns(frame);
  HandOver(dc, target, frame, out);
  return frame.shown;
}

int32_t CardSprite::RotateSkewCore(platform::HDC dc, platform::HBITMAP target, int32_t rotation_degrees,
                                   int32_t skew_degrees, int32_t shift_across, int32_t shift_down,
                                   platform::SIZE* out) {
  const int32_t shown_width = width_ + shift_across;
  const int32_t shown_height = height_ + shift_down;
  const double t = skew_degrees == 0 ? 0.0 : std::tan(skew_degrees * kDegreesToRadians);
  const int32_t sheared_height = shown_height + std::abs(Trunc(width_ * t));
  const double c = std::cos(rotation_degrees * kDegreesToRadians);
  const double s = std::sin(rotation_degrees * kDegreesToRadians);
  const double corners[4][2] = {{0.0, 0.0},
                                {shown_width - 1.0, 0.0},
                                {shown_width - 1.0, sheared_height - 1.0},
                                {0.0, sheared_height - 1.0}};
  int32_t min_x = 0, max_x = 0, min_y = 0, max_y = 0;
  for (const auto& corner : corners) {
    const int32_t rx = RoundHalfAway(corner[0] * c - corner[1] * s);
    const int32_t ry = RoundHalfAway(corner[0] * s + corner[1] * c);
    min_x = std::min(min_x, rx);
    max_x = std::max(max_x, rx);
    min_y = std::min(min_y, ry);
    max_y = std::max(max_y, ry);
  }
  Frame frame;
  if (!FitFrame(target, max_x - min_x + 1, max_y - min_y + 1, &frame)) return 0;

  for (int32_t y = 0; y < frame.height; ++y) {
    KeyRestOfRow(frame, y, 0);
    for (int32_t x = 0; x < frame.shown; ++x) {
      const double big_x = x + min_x;
      const double big_y = y + min_y;
      const double u = big_y * s + big_x * c;
      const double v = big_y * c - big_x * s;
      if (u <= -0.5 || v <= -0.5) continue;
      const int32_t a0 = Trunc(u);
      const int32_t b0 = Trunc(v);
      const int32_t a1 = u - a0 > 0.3 ? a0 + 1 : a0;
      const int32_t b1 = v - b0 > 0.3 ? b0 + 1 : b0;
      int32_t points[4][2];
      int32_t count = 0;
      points[count][0] = a0, points[count][1] = b0, ++count;
      if (a1 != a0) points[count][0] = a1, points[count][1] = b0, ++count;
      if (b1 != b0) {
        points[count][0] = a0, points[count][1] = b1, ++count;
        if (a1 != a0) points[count][0] = a1, points[count][1] = b1, ++count;
      }
      int32_t sum[3] = {0, 0, 0};
      int32_t counted = 0;
      for (int32_t i = 0; i < count; ++i) {
        int32_t px = points[i][0];
        int32_t py = points[i][1];
        if (t > 0.0) {
          py -= RoundHalfAway(px * t);
        } else if (t < 0.0) {
          py += Trunc((shown_width - px - 1) * t - 0.5);
        }
        if (px >= shown_width || py < 0 || py >= shown_height) continue;
        px = std::min(px + SpreadBefore(px, width_, shift_across), width_ - 1);
        py = std::min(py + SpreadBefore(py, height_, shift_down), height_ - 1);
        const uint8_t* pixel = Pixel(px, height_ - 1 - py);
        if (IsKey(pixel)) continue;
        sum[0] += pixel[0];
        sum[1] += pixel[1];
        sum[2] += pixel[2];
        ++counted;
      }
      if (counted == 0) continue;
      uint8_t* target_pixel = Out(frame, x, y);
      target_pixel[0] = static_cast<uint8_t>(sum[0] / counted);
      target_pixel[1] = static_cast<uint8_t>(sum[1] / counted);
      target_pixel[2] = static_cast<uint8_t>(sum[2] / counted);
    }
  }
  HandOver(dc, target, frame, out);
  return frame.shown;
}

int32_t CardSprite::RenderDimmed(platform::HDC dc, platform::HBITMAP target, int32_t percent, platform::SIZE* out) {
  if (!HasPixels()) return 0;
  Frame frame;
  if (!FitFrame(target, width_, height_, &frame)) return 0;
  frame.width = frame.shown;
  for (int32_t y = 0; y < frame.height; ++y) {
    const uint8_t* in = Pixel(0, height_ - 1 - y);
    uint8_t* to = Out(frame, 0, y);
    for (int32_t i = 0; i < frame.shown * 3; ++i) {
      to[i] = static_cast<uint8_t>(std::clamp(in[i] * percent / 100, 0, 255));
    }
    KeyRestOfRow(frame, y, frame.shown);
  }
  HandOver(dc, target, frame, out);
  return frame.shown;
}

void CardSprite::RecordEdgeRuns(const Frame& frame) {
  std::memset(edge_runs_, 0, sizeof edge_runs_);
  const auto runs = [&](int32_t row_from_top, int8_t* left, int8_t* right) {
    if (row_from_top < 0 || row_from_top >= frame.height) return;
    int32_t from_left = 0;
    while (from_left < frame.shown && IsKey(Out(frame, from_left, row_from_top))) ++from_left;
    int32_t from_right = 0;
    while (from_right < frame.shown && IsKey(Out(frame, frame.shown - 1 - from_right, row_from_top))) ++from_right;
    *left = static_cast<int8_t>(std::min(from_left, 127));
    *right = static_cast<int8_t>(std::min(from_right, 127));
  };
  // Groups: top-left, top-right, bottom-left, bottom-right; outermost row first.
  for (int32_t i = 0; i < 2; ++i) {
    runs(i, &edge_runs_[0 + i], &edge_runs_[2 + i]);
    runs(frame.height - 1 - i, &edge_runs_[4 + i], &edge_runs_[6 + i]);
  }
}

int32_t CardSprite::GetEdgeRuns(int32_t n, int32_t* out) const {
  if (n <= 0 || out == nullptr) return 0;
  const int32_t copied = std::min(n, 2);
  for (int32_t group = 0; group < 4; ++group) {
    for (int32_t i = 0; i < n; ++i) out[group * n + i] = i < copied ? edge_runs_[group * 2 + i] : 0;
  }
  return copied;
}

// ---- Anti-aliased transforms ------------------------------------------------------------------

CardSprite::RowSample CardSprite::SampleRow(int32_t row, int32_t column, double across_weight) const {
  RowSample sample;
  const auto take = [&](const uint8_t* pixel, double coverage) {
    sample.blue = pixel[0];
    sample.green = pixel[1];
    sample.red = pixel[2];
    sample.coverage = coverage;
  };
  if (across_weight >= 1.0) {
    if (!IsEmptyAt(column, row)) take(Pixel(column, row), 1.0);
    return sample;
  }
  const bool first = !IsEmptyAt(column, row);
  const bool second = !IsEmptyAt(column + 1, row);
  if (first && second) {
    const uint8_t* p = Pixel(column, row);
    const uint8_t* q = Pixel(column + 1, row);
    sample.blue = Trunc(p[0] * (1.0 - across_weight) + q[0] * across_weight);
    sample.green = Trunc(p[1] * (1.0 - across_weight) + q[1] * across_weight);
    sample.red = Trunc(p[2] * (1.0 - across_weight) + q[2] * across_weight);
    sample.coverage = 1.0;
  } else if (first) {
    take(Pixel(column, row), 1.0 - across_weight);
  } else if (second) {
    take(Pixel(column + 1, row), across_weight);
  }
  return sample;
}

namespace {

// The frame pixel from two source rows' samples with their down weights: key colour when no card
// covers it, the card alone when it covers it fully, else blended with what lies under the frame.
template <typename Sample, typename Background>
void BlendRows(const Sample& first, double first_weight, const Sample& second, double second_weight,
               const Background& background, const uint8_t* key, uint8_t* out) {
  const double w1 = first_weight * first.coverage;
  const double w2 = second_weight * second.coverage;
  const double total = w1 + w2;
  if (total <= 0.0) {
    std::memcpy(out, key, 3);
    return;
  }
  double blue = first.blue * w1 + second.blue * w2;
  double green = first.green * w1 + second.green * w2;
  double red = first.red * w1 + second.red * w2;
  if (total < 1.0 - 1e-9) {
    const platform::COLORREF under = background();
    blue += platform::GetBValue(under) * (1.0 - total);
    green += platform::GetGValue(under) * (1.0 - total);
    red += platform::GetRValue(under) * (1.0 - total);
  }
  out[0] = ToByte(blue + 1e-9);
  out[1] = ToByte(green + 1e-9);
  out[2] = ToByte(red + 1e-9);
}

}  // namespace

int32_t CardSprite::RenderScaled(platform::HDC dc, platform::HBITMAP target, double width, double height,
                                 bool measure_only, int32_t x, int32_t y, platform::SIZE* out) {
  if (!HasPixels()) return 0;
  if (width == width_ && height == height_) return 0;
  if (!(width > 0.0) || !(height > 0.0)) return 0;
  width = std::min(width, kLargestAskedSize);
  height = std::min(height, kLargestAskedSize);
  Frame frame;
  if (!FitFrame(target, Ceil(width), Ceil(height), &frame)) return 0;
  frame.blended = true;
  if (measure_only) {
    if (out != nullptr) *out = {frame.shown, std::min(frame.height, frame.bitmap_height)};
    return frame.shown;
  }
  frame.dc = dc;
  frame.x = x;
  frame.y = y;
  const int32_t wanted_rows = Ceil(height);
  const double f_across = width / width_;
  const double g_across = 1.0 / f_across;
  const uint8_t key[3] = {platform::GetBValue(key_), platform::GetGValue(key_), platform::GetRValue(key_)};

  // Rows are resampled bottom-up, as the picture is stored; the frame keeps its top rows when the
  // scratch cuts it.
  const double f_down = height / height_;
  const double g_down = 1.0 / f_down;
  double p_down = 0.0;
  for (int32_t buffer_row = 0; buffer_row < wanted_rows; ++buffer_row, p_down += g_down) {
    const int32_t row_from_top = wanted_rows - 1 - buffer_row;
    if (row_from_top >= frame.height) continue;
    const AxisTap down = ResampleTap(f_down, g_down, p_down, buffer_row);
    KeyRestOfRow(frame, row_from_top, frame.shown);
    double p_across = 0.0;
    for (int32_t column = 0; column < frame.shown; ++column, p_across += g_across) {
      uint8_t* pixel = Out(frame, column, row_from_top);
      const AxisTap tap = ResampleTap(f_across, g_across, p_across, column);
      if (tap.index < 0 || tap.index >= width_ || down.index < 0 || down.index >= height_) {
        PutKey(pixel);
        continue;
      }
      if (tap.weight >= 1.0 && down.weight >= 1.0) {
        std::memcpy(pixel, Pixel(tap.index, down.index), 3);
        continue;
      }
      const RowSample first = SampleRow(down.index, tap.index, tap.weight);
      const RowSample second = down.weight >= 1.0 ? RowSample{} : SampleRow(down.index + 1, tap.index, tap.weight);
      const double first_weight = down.weight >= 1.0 ? 1.0 : 1.0 - down.weight;
      const double second_weight = down.weight >= 1.0 ? 0.0 : down.weight;
      BlendRows(first, first_weight, second, second_weight,
                [&] { return platform::GetPixel(dc, x + column, y + row_from_top); }, key, pixel);
    }
  }
  HandOver(dc, target, frame, out);
  return frame.shown;
}

int32_t CardSprite::RenderRotated(platform::HDC dc, platform::HBITMAP target, double angle_degrees,
                                  bool measure_only, int32_t x, int32_t y, platform::SIZE* out) {
  if (!HasPixels()) return 0;
  return RotateCore(dc, target, width_, height_, angle_degrees, measure_only, x, y, out);
}

int32_t CardSprite::RenderScaledRotated(platform::HDC dc, platform::HBITMAP target, double width, double height,
                                        double angle_degrees, bool measure_only, int32_t x, int32_t y,
                                        platform::SIZE* out) {
  if (!HasPixels() || !(width > 0.0) || !(height > 0.0)) return 0;
  return RotateCore(dc, target, std::min(width, kLargestAskedSize), std::min(height, kLargestAskedSize),
                    angle_degrees, measure_only, x, y, out);
}

int32_t CardSprite::RotateCore(platform::HDC dc, platform::HBITMAP target, double width, double height,
                               double angle_degrees, bool measure_only, int32_t x, int32_t y,
                               platform::SIZE* out) {
  if (angle_degrees == 0.0 || !(std::fabs(angle_degrees) < 90.0)) return 0;
  const double a = angle_degrees * std::acos(-1.0) / 180.0;
  const double c = std::cos(a);
  const double s = std::sin(a);
  const double corners[4][2] = {{0.0, 0.0}, {0.0, height}, {width, height}, {width, 0.0}};
  double min_x = std::numeric_limits<double>::max(), max_x = -min_x;
  double min_y = min_x, max_y = -min_x;
  for (const auto& corner : corners) {
    const double u = corner[0] * c + corner[1] * s;
    const double v = corner[1] * c - corner[0] * s;
    min_x = std::min(min_x, u);
    max_x = std::max(max_x, u);
    min_y = std::min(min_y, v);
    max_y = std::max(max_y, v);
  }
  Frame frame;
  if (!FitFrame(target, Ceil(max_x - min_x), Ceil(max_y - min_y), &frame)) return 0;
  frame.blended = true;
  if (measure_only) {
    if (out != nullptr) *out = {frame.shown, std::min(frame.height, frame.bitmap_height)};
    return frame.shown;
  }
  const int32_t wanted_rows = Ceil(max_y - min_y);
  const double scale_x = width_ / width;
  const double scale_y = height_ / height;
  const uint8_t key[3] = {platform::GetBValue(key_), platform::GetGValue(key_), platform::GetRValue(key_)};
  struct Tap {
    double blue = 0.0, green = 0.0, red = 0.0, coverage = 0.0;
  };
  for (int32_t buffer_row = 0; buffer_row < wanted_rows; ++buffer_row) {
    const int32_t row_from_top = wanted_rows - 1 - buffer_row;
    if (row_from_top >= frame.height) continue;
    KeyRestOfRow(frame, row_from_top, 0);
    for (int32_t column = 0; column < frame.shown; ++column) {
      const double fx = column + min_x;
      const double fy = buffer_row + min_y;
      double sx = fx * c - fy * s - 0.5;
      double sy = fx * s + fy * c - 0.5;
      if (sx <= -1.0 || sy <= -1.0 || sx >= width || sy >= height) continue;
      sx *= scale_x;
      sy *= scale_y;
      const int32_t ix = sx >= 0.0 ? Trunc(sx) : -1;
      const int32_t iy = sy >= 0.0 ? Trunc(sy) : -1;
      const double wx = IsWhole(sx) ? 1.0 : (ix + 1) - sx;
      const double wy = IsWhole(sy) ? 1.0 : (iy + 1) - sy;
      // All four taps gathered as one weighted sum; empty taps leave their weight to what is under.
      Tap sum;
      const auto add = [&](int32_t tap_x, int32_t tap_y, double weight) {
        if (weight <= 0.0 || IsEmptyAt(tap_x, tap_y)) return;
        const uint8_t* pixel = Pixel(tap_x, tap_y);
        sum.blue += pixel[0] * weight;
        sum.green += pixel[1] * weight;
        sum.red += pixel[2] * weight;
        sum.coverage += weight;
      };
      add(ix, iy, wx * wy);
      add(ix + 1, iy, (1.0 - wx) * wy);
      add(ix, iy + 1, wx * (1.0 - wy));
      add(ix + 1, iy + 1, (1.0 - wx) * (1.0 - wy));
      const Tap none;
      BlendRows(Tap{sum.blue / std::max(sum.coverage, 1e-12), sum.green / std::max(sum.coverage, 1e-12),
                    sum.red / std::max(sum.coverage, 1e-12), sum.coverage},
                1.0, none, 0.0, [&] { return platform::GetPixel(dc, x + column, y + row_from_top); }, key,
                Out(frame, column, row_from_top));
    }
  }
  HandOver(dc, target, frame, out);
  return frame.shown;
}

int32_t CardSprite::RenderTurned(platform::HDC dc, platform::HBITMAP target, double width_ratio,
                                 double slant_ratio, bool measure_only, int32_t x, int32_t y,
                                 platform::SIZE* out) {
  if (!HasPixels()) return 0;
  return TurnCore(dc, target, width_, height_, width_ratio, slant_ratio, measure_only, x, y, out);
}

int32_t CardSprite::RenderScaledTurned(platform::HDC dc, platform::HBITMAP target, double width, double height,
                                       double width_ratio, double slant_ratio, bool measure_only, int32_t x,
                                       int32_t y, platform::SIZE* out) {
  if (!HasPixels() || !(width > 0.0) || !(height > 0.0)) return 0;
  return TurnCore(dc, target, std::min(width, kLargestAskedSize), std::min(height, kLargestAskedSize), width_ratio,
                  slant_ratio, measure_only, x, y, out);
}

int32_t CardSprite::TurnCore(platform::HDC dc, platform::HBITMAP target, double width, double height,
                             double width_ratio, double slant_ratio, bool measure_only, int32_t x, int32_t y,
                             platform::SIZE* out) {
  if (!(width_ratio >= 0.0 && width_ratio <= 1.0) || !(slant_ratio >= -1.0 && slant_ratio <= 1.0)) return 0;
  const double shown = std::max(width * width_ratio, 1.0);
  const double drop = std::fabs(width * slant_ratio);
  Frame frame;
  if (!FitFrame(target, std::max(Ceil(shown), 1), Ceil(height + drop), &frame)) return 0;
  frame.blended = true;
  if (measure_only) {
    if (out != nullptr) *out = {frame.shown, std::min(frame.height, frame.bitmap_height)};
    return frame.shown;
  }
  const uint8_t key[3] = {platform::GetBValue(key_), platform::GetGValue(key_), platform::GetRValue(key_)};
  for (int32_t row = 0; row < frame.height; ++row) KeyRestOfRow(frame, row, 0);

  if (frame.shown == 1 || !(shown > 1.0)) {
    // Edge-on: one column of the card's middle-row edge pixel.
    const uint8_t* pixel = Pixel(0, height_ / 2);
    for (int32_t row = 0; row < frame.height; ++row) std::memcpy(Out(frame, 0, row), pixel, 3);
    HandOver(dc, target, frame, out);
    return frame.shown;
  }

  const double f_across = shown / width_;
  const double g_across = 1.0 / f_across;
  double p_across = 0.0;
  const double rows_per_frame_row = height_ / height;
  for (int32_t column = 0; column < frame.shown; ++column, p_across += g_across) {
    const double lowered = slant_ratio >= 0.0 ? (column + 0.5) * drop / shown : drop - (column + 0.5) * drop / shown;
    const int32_t first_row = Trunc(lowered);
    int32_t last_row = Trunc(height + lowered);
    if (IsWhole(height + lowered)) --last_row;
    const AxisTap tap = ResampleTap(f_across, g_across, p_across, column);
    for (int32_t row = std::max(first_row, 0); row <= std::min(last_row, frame.height - 1); ++row) {
      // Down, the column is sampled between the two source rows around its position; a column
      // lowered by a fraction of a row has partial first and last rows.
      const double position = (row + 0.5 - lowered) * rows_per_frame_row - 0.5;
      const int32_t upper = static_cast<int32_t>(std::floor(position));
      const double lower_weight = position - upper;
      // Rows from the top; the picture is stored bottom-up.
      const RowSample first = SampleRow(height_ - 1 - upper, tap.index, tap.weight);
      const RowSample second = SampleRow(height_ - 2 - upper, tap.index, tap.weight);
      BlendRows(first, 1.0 - lower_weight, second, lower_weight,
                [&] { return platform::GetPixel(dc, x + column, y + row); }, key, Out(frame, column, row));
    }
  }
  HandOver(dc, target, frame, out);
  return frame.shown;
}

int32_t CardSprite::RenderWarped(platform::HDC dc, platform::HBITMAP target, double offset_1, double length_1,
                                 double offset_2, double length_2, double height, bool measure_only, int32_t x,
                                 int32_t y, platform::SIZE* out) {
  if (!HasPixels()) return 0;
  if (!(length_1 > 0.0) || !(length_2 > 0.0) || !(height > 0.0) || !std::isfinite(offset_1) ||
      !std::isfinite(offset_2)) {
    return 0;
  }
  if (offset_1 < 0.0 || offset_2 < 0.0 || (offset_1 > 0.0 && offset_2 > 0.0)) {
    const double smaller = std::min(offset_1, offset_2);
    offset_1 -= smaller;
    offset_2 -= smaller;
  }
  if (offset_1 == offset_2 && length_1 == length_2) {
    return RenderScaled(dc, target, length_1, height, measure_only, x, y, out);
  }
  const double right_1 = std::min(offset_1 + length_1, kLargestAskedSize);
  const double right_2 = std::min(offset_2 + length_2, kLargestAskedSize);
  height = std::min(height, kLargestAskedSize);
  Frame frame;
  if (!FitFrame(target, Ceil(std::max(right_1, right_2)), Ceil(height), &frame)) return 0;
  frame.blended = true;
  if (measure_only) {
    if (out != nullptr) *out = {frame.shown, std::min(frame.height, frame.bitmap_height)};
    return frame.shown;
  }
  const uint8_t key[3] = {platform::GetBValue(key_), platform::GetGValue(key_), platform::GetRValue(key_)};
  const int32_t wanted_rows = Ceil(height);
  const double f_down = height / height_;
  const double g_down = 1.0 / f_down;
  double p_down = 0.0;
  for (int32_t buffer_row = 0; buffer_row < wanted_rows; ++buffer_row, p_down += g_down) {
    const int32_t row_from_top = wanted_rows - 1 - buffer_row;
    if (row_from_top >= frame.height) continue;
    KeyRestOfRow(frame, row_from_top, 0);
    const AxisTap down = ResampleTap(f_down, g_down, p_down, buffer_row);
    const double along = (buffer_row + 0.5) / height;
    double left = offset_1 == offset_2 ? offset_1 : offset_2 + (offset_1 - offset_2) * along;
    double right = right_2 + (right_1 - right_2) * along;
    if (left - std::floor(left) > 0.99) left = std::ceil(left);
    if (right - std::floor(right) < 0.01) right = std::floor(right);
    if (!(right > left)) continue;
    int32_t last_column = Trunc(right);
    if (IsWhole(right)) --last_column;
    const double pixels_per_column = width_ / (right - left);
    for (int32_t column = std::max(Trunc(left), 0); column <= std::min(last_column, frame.shown - 1); ++column) {
      // The share of the frame pixel the card covers across: less than whole only at the row's ends.
      const double coverage = std::min(column + 1.0, right) - std::max(static_cast<double>(column), left);
      if (coverage <= 0.0) continue;
      const double centre = (std::max(static_cast<double>(column), left) + std::min(column + 1.0, right)) / 2.0;
      const double position = std::clamp((centre - left) * pixels_per_column - 0.5, 0.0, width_ - 1.0);
      const int32_t source_column = static_cast<int32_t>(position);
      const double across_weight = IsWhole(position) ? 1.0 : position - source_column;
      RowSample first = SampleRow(down.index, source_column, across_weight >= 1.0 ? 1.0 : across_weight);
      RowSample second = down.weight >= 1.0 ? RowSample{} : SampleRow(down.index + 1, source_column,
                                                                      across_weight >= 1.0 ? 1.0 : across_weight);
      first.coverage *= coverage;
      second.coverage *= coverage;
      BlendRows(first, down.weight >= 1.0 ? 1.0 : 1.0 - down.weight, second, down.weight >= 1.0 ? 0.0 : down.weight,
                [&] { return platform::GetPixel(dc, x + column, y + row_from_top); }, key,
                Out(frame, column, row_from_top));
    }
  }
  HandOver(dc, target, frame, out);
  return frame.shown;
}
