// Copies between contexts: BitBlt with raster operations and the colour-keyed TransparentBlt.
#include <algorithm>
#include <cstring>
#include <utility>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif
#include <optional>
#include <vector>

#include "platform/draw/device_context.h"
#include "platform/draw/gdi.h"

namespace platform {

namespace {

enum class Conversion { kNone, kColourToMono, kMonoToColour };

// The part of a copy left after clipping to the source picture and to the reach of any
// destination picture, with the destination moved by the same amount. Empty when width or height
// is not positive. The clipping is done in 64 bits, so any 32-bit arguments are safe.
struct CopyArea {
  int32_t x, y, width, height;
  int32_t source_x, source_y;
};

// Clips one axis: [at, at + length) on the destination, [from, from + length) on the source.
void ClipAxis(int64_t& at, int64_t& from, int64_t& length, int64_t source_length) {
  constexpr int64_t kReach = kMaxBitmapSide;
  if (from < 0) {
    length += from;
    at -= from;
    from = 0;
  }
  length = std::min(length, source_length - from);
  if (at < -kReach) {  // far beyond any destination's left or top edge
    const int64_t cut = -kReach - at;
    length -= cut;
    from += cut;
    at = -kReach;
  }
  length = std::min(length, 2 * kReach - at);
}

CopyArea ClipToSource(int32_t x, int32_t y, int32_t width, int32_t height, int32_t source_x, int32_t source_y,
                      const Surface& source) {
  int64_t at_x = x, at_y = y, from_x = source_x, from_y = source_y, w = width, h = height;
  ClipAxis(at_x, from_x, w, source.width);
  ClipAxis(at_y, from_y, h, source.height);
  if (w <= 0 || h <= 0) return {0, 0, 0, 0, 0, 0};
  return {static_cast<int32_t>(at_x), static_cast<int32_t>(at_y), static_cast<int32_t>(w), static_cast<int32_t>(h),
          static_cast<int32_t>(from_x), static_cast<int32_t>(from_y)};
}

Conversion ConversionBetween(const DeviceContext& source, const DeviceContext& destination) {
  if (source.Monochrome() == destination.Monochrome()) return Conversion::kNone;
  return source.Monochrome() ? Conversion::kMonoToColour : Conversion::kColourToMono;
}

// Turns `count` source pixels into what they mean on the destination (see BitBlt in gdi.h).
void ConvertRun(const uint8_t* in, uint8_t* out, size_t count, Conversion conversion, const DeviceContext& source,
                const DeviceContext& destination) {
  if (conversion == Conversion::kColourToMono) {
    const PixelBytes key = ToPixel(source.background_colour);
    for (size_t i = 0; i < count; ++i, in += 3, out += 3) {
      const uint8_t bit = (in[0] == key.b && in[1] == key.g && in[2] == key.r) ? 255 : 0;
      out[0] = out[1] = out[2] = bit;
    }
    return;
  }
  const PixelBytes zero = ToPixel(destination.text_colour);
  const PixelBytes one = ToPixel(destination.background_colour);
  for (size_t i = 0; i < count; ++i, in += 3, out += 3) {
    const PixelBytes& p = in[0] != 0 ? one : zero;
    out[0] = p.b;
    out[1] = p.g;
    out[2] = p.r;
  }
}

void CombineRun(const uint8_t* in, uint8_t* out, size_t bytes, uint32_t operation) {
  switch (operation) {
    case SRCCOPY: std::memcpy(out, in, bytes); break;
    case SRCAND:
      for (size_t i = 0; i < bytes; ++i) out[i] &= in[i];
      break;
    case SRCPAINT:
      for (size_t i = 0; i < bytes; ++i) out[i] |= in[i];
      break;
    case NOTSRCCOPY:
      for (size_t i = 0; i < bytes; ++i) out[i] = static_cast<uint8_t>(~in[i]);
      break;
  }
}

// Copies pixels one at a time; the choice is made without a branch, because keyed sprites mix
// key and picture pixels too finely to predict.
void CopyUnlessKeyScalar(const uint8_t* __restrict raw, const uint8_t* __restrict in, uint8_t* __restrict out,
                         size_t count, uint32_t key) {
  for (size_t i = 0; i < count * 3; i += 3) {
    const uint32_t source_pixel = raw[i] | (raw[i + 1] << 8) | (raw[i + 2] << 16);
    const uint32_t keep = 0u - static_cast<uint32_t>(source_pixel == key);  // all ones on the key
    out[i] = static_cast<uint8_t>((out[i] & keep) | (in[i] & ~keep));
    out[i + 1] = static_cast<uint8_t>((out[i + 1] & keep) | (in[i + 1] & ~keep));
    out[i + 2] = static_cast<uint8_t>((out[i + 2] & keep) | (in[i + 2] & ~keep));
  }
}

// Copies `count` pixels from `in` to `out` except where the pixel at the same place of `raw` (the
// source before conversion, or `in` itself) equals the key. Source and destination never overlap:
// a copy within one picture reads from a copy of the source.
void CopyUnlessKey(const uint8_t* __restrict raw, const uint8_t* __restrict in, uint8_t* __restrict out, size_t count,
                   uint32_t key) {
  size_t done = 0;  // bytes
#if defined(__SSE2__)
  // Five whole pixels (15 bytes) per step, read as 16: the bytes are compared with the key, a
  // pixel is the key where all three of its bytes are, and that answer, spread back over the
  // pixel's bytes, selects between the destination and the source. The sixteenth byte always
  // keeps the destination's value; the next step, which starts there, decides it. A step reads
  // and writes 16 bytes, so it runs only while they lie inside the span.
  const uint8_t b = static_cast<uint8_t>(key), g = static_cast<uint8_t>(key >> 8), r = static_cast<uint8_t>(key >> 16);
  const __m128i key_bytes = _mm_setr_epi8(static_cast<char>(b), static_cast<char>(g), static_cast<char>(r),
                                          static_cast<char>(b), static_cast<char>(g), static_cast<char>(r),
                                          static_cast<char>(b), static_cast<char>(g), static_cast<char>(r),
                                          static_cast<char>(b), static_cast<char>(g), static_cast<char>(r),
                                          static_cast<char>(b), static_cast<char>(g), static_cast<char>(r), 0);
  // The first byte of each of the five pixels; and the sixteenth byte.
  const __m128i pixel_starts = _mm_setr_epi8(-1, 0, 0, -1, 0, 0, -1, 0, 0, -1, 0, 0, -1, 0, 0, 0);
  const __m128i last_byte = _mm_setr_epi8(0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, -1);
  const size_t bytes = count * 3;
  // The decision for the five pixels at `at`: all ones on the bytes that keep the destination.
  const auto keep_mask = [&](size_t at) {
    const __m128i source = _mm_loadu_si128(reinterpret_cast<const __m128i*>(raw + at));
    const __m128i equal = _mm_cmpeq_epi8(source, key_bytes);
    // At each pixel's first byte: all three bytes equal.
    __m128i pixel_key = _mm_and_si128(equal, _mm_srli_si128(equal, 1));
    pixel_key = _mm_and_si128(_mm_and_si128(pixel_key, _mm_srli_si128(equal, 2)), pixel_starts);
    // Over the pixel's three bytes, plus the sixteenth byte.
    const __m128i keep = _mm_or_si128(pixel_key, _mm_slli_si128(pixel_key, 1));
    return _mm_or_si128(_mm_or_si128(keep, _mm_slli_si128(pixel_key, 2)), last_byte);
  };
  const auto select = [](__m128i keep, __m128i background, __m128i picture) {
    return _mm_or_si128(_mm_and_si128(keep, background), _mm_andnot_si128(keep, picture));
  };
  if (bytes >= 16) {
    // The destination's bytes for a step are read before the previous step's bytes are stored:
    // reading sixteen bytes that overlap a store just made (the sixteenth byte) would wait for
    // that store to finish.
    __m128i background = _mm_loadu_si128(reinterpret_cast<const __m128i*>(out));
    for (; done + 31 <= bytes; done += 15) {
      const __m128i next_background = _mm_loadu_si128(reinterpret_cast<const __m128i*>(out + done + 15));
      const __m128i picture = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in + done));
      _mm_storeu_si128(reinterpret_cast<__m128i*>(out + done), select(keep_mask(done), background, picture));
      background = next_background;
    }
    const __m128i picture = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in + done));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out + done), select(keep_mask(done), background, picture));
    done += 15;
  }
#endif
  CopyUnlessKeyScalar(raw + done, in + done, out + done, count - done / 3, key);
}

bool KnownOperation(uint32_t operation) {
  return operation == SRCCOPY || operation == SRCAND || operation == SRCPAINT || operation == NOTSRCCOPY;
}

// When source and destination share a picture, the source rectangle is read from a copy so that
// overlapping copies see the picture as it was before the call.
struct SourceView {
  const Surface* surface;
  int32_t x, y;
  std::optional<Surface> copy;
};

SourceView ViewOfSource(const DeviceContext& source, const DeviceContext& destination, const CopyArea& a) {
  SourceView view{source.surface, a.source_x, a.source_y, std::nullopt};
  if (source.surface != destination.surface) return view;
  view.copy.emplace(a.width, a.height);
  for (int32_t row = 0; row < a.height; ++row) {
    std::memcpy(view.copy->Row(row), std::as_const(*source.surface).Row(a.source_y + row) + static_cast<size_t>(a.source_x) * 3,
                static_cast<size_t>(a.width) * 3);
  }
  view.surface = &*view.copy;
  view.x = 0;
  view.y = 0;
  return view;
}

}  // namespace

bool BitBlt(HDC destination, int32_t x, int32_t y, int32_t width, int32_t height, HDC source, int32_t source_x,
            int32_t source_y, uint32_t operation) {
  if (destination == nullptr || source == nullptr || !KnownOperation(operation)) return false;
  const CopyArea a = ClipToSource(x, y, width, height, source_x, source_y, *source->surface);
  if (a.width <= 0 || a.height <= 0) return true;

  const SourceView view = ViewOfSource(*source, *destination, a);
  const Conversion conversion = ConversionBetween(*source, *destination);
  std::vector<uint8_t> converted(conversion == Conversion::kNone ? 0 : static_cast<size_t>(a.width) * 3);
  Surface& out = *destination->surface;

  destination->ForEachVisibleSpan(RECT{a.x, a.y, a.x + a.width, a.y + a.height},
                                  [&](int32_t row, int32_t left, int32_t right) {
    const size_t count = static_cast<size_t>(right - left);
    const uint8_t* in =
        view.surface->Row(view.y + row - a.y) + static_cast<size_t>(view.x + left - a.x) * 3;
    if (conversion != Conversion::kNone) {
      ConvertRun(in, converted.data(), count, conversion, *source, *destination);
      in = converted.data();
    }
    CombineRun(in, out.Row(row) + static_cast<size_t>(left) * 3, count * 3, operation);
  });
  return true;
}

}  // namespace platform

namespace platform {

bool TransparentBlt(HDC destination, int32_t x, int32_t y, int32_t width, int32_t height, HDC source,
                    int32_t source_x, int32_t source_y, int32_t source_width, int32_t source_height,
                    COLORREF key) {
  if (destination == nullptr || source == nullptr) return false;
  if (width != source_width || height != source_height) return false;  // no stretching
  const CopyArea a = ClipToSource(x, y, width, height, source_x, source_y, *source->surface);
  if (a.width <= 0 || a.height <= 0) return true;

  const SourceView view = ViewOfSource(*source, *destination, a);
  const Conversion conversion = ConversionBetween(*source, *destination);
  std::vector<uint8_t> converted(conversion == Conversion::kNone ? 0 : static_cast<size_t>(a.width) * 3);
  const PixelBytes k = ToPixel(key);
  const uint32_t key_pixel = k.b | (k.g << 8) | (k.r << 16);
  Surface& out = *destination->surface;

  destination->ForEachVisibleSpan(RECT{a.x, a.y, a.x + a.width, a.y + a.height},
                                  [&](int32_t row, int32_t left, int32_t right) {
    const size_t count = static_cast<size_t>(right - left);
    const uint8_t* raw = view.surface->Row(view.y + row - a.y) + static_cast<size_t>(view.x + left - a.x) * 3;
    const uint8_t* in = raw;
    if (conversion != Conversion::kNone) {
      ConvertRun(raw, converted.data(), count, conversion, *source, *destination);
      in = converted.data();
    }
    uint8_t* o = out.Row(row) + static_cast<size_t>(left) * 3;
    CopyUnlessKey(raw, in, o, count, key_pixel);
  });
  return true;
}

}  // namespace platform
