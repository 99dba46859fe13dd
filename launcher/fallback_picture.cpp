#include "launcher/fallback_picture.h"

#include <cstdint>
#include <algorithm>
#include <cstdlib>
#include <vector>

namespace {

// A double frame and a card diamond inside a ring, above the status text's place.
bool FallbackPixelIsSet(int x, int y) {
  const int last = kFallbackPictureSide - 1;
  const int edge = std::min(std::min(x, y), std::min(last - x, last - y));
  if ((edge >= 6 && edge < 10) || (edge >= 14 && edge < 16)) return true;
  const int dx = x - kFallbackPictureSide / 2;
  const int dy = y - 110;
  if (std::abs(dx) * 72 + std::abs(dy) * 48 <= 48 * 72) return true;
  const int distance_squared = dx * dx + dy * dy;
  return distance_squared >= 84 * 84 && distance_squared < 88 * 88;
}

}  // namespace

platform::HBITMAP CreateFallbackPicture() {
  constexpr int kRowBytes = kFallbackPictureSide / 8;  // already an even number of bytes
  std::vector<uint8_t> rows(static_cast<size_t>(kRowBytes) * kFallbackPictureSide, 0);
  for (int y = 0; y < kFallbackPictureSide; ++y) {
    for (int x = 0; x < kFallbackPictureSide; ++x) {
      if (FallbackPixelIsSet(x, y)) rows[static_cast<size_t>(y) * kRowBytes + x / 8] |= static_cast<uint8_t>(0x80 >> (x % 8));
    }
  }
  return platform::CreateBitmap(kFallbackPictureSide, kFallbackPictureSide, 1, 1, rows.data());
}
