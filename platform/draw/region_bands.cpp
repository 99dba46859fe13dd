#include "platform/draw/region_bands.h"

#include <algorithm>
#include <cmath>

namespace platform {

namespace {

const std::vector<RegionSpan> kNoSpans;

bool Covered(const std::vector<RegionSpan>& spans, size_t& cursor, int32_t x) {
  while (cursor < spans.size() && spans[cursor].right <= x) ++cursor;
  return cursor < spans.size() && spans[cursor].left <= x;
}

bool Keep(RegionBands::Operation operation, bool in_a, bool in_b) {
  switch (operation) {
    case RegionBands::Operation::kIntersect: return in_a && in_b;
    case RegionBands::Operation::kUnion: return in_a || in_b;
    case RegionBands::Operation::kDifference: return in_a && !in_b;
    case RegionBands::Operation::kExclusiveOr: return in_a != in_b;
  }
  return false;
}

std::vector<RegionSpan> CombineSpans(const std::vector<RegionSpan>& a, const std::vector<RegionSpan>& b,
                                     RegionBands::Operation operation) {
  std::vector<int32_t> edges;
  edges.reserve((a.size() + b.size()) * 2);
  for (const RegionSpan& s : a) edges.insert(edges.end(), {s.left, s.right});
  for (const RegionSpan& s : b) edges.insert(edges.end(), {s.left, s.right});
  std::sort(edges.begin(), edges.end());
  edges.erase(std::unique(edges.begin(), edges.end()), edges.end());

  std::vector<RegionSpan> out;
  size_t cursor_a = 0;
  size_t cursor_b = 0;
  for (size_t i = 0; i + 1 < edges.size(); ++i) {
    const int32_t x = edges[i];
    const bool keep = Keep(operation, Covered(a, cursor_a, x), Covered(b, cursor_b, x));
    if (!keep) continue;
    if (!out.empty() && out.back().right == x) {
      out.back().right = edges[i + 1];
    } else {
      out.push_back({x, edges[i + 1]});
    }
  }
  return out;
}

int64_t FloorDiv2(int64_t v) { return v >= 0 ? v / 2 : -((-v + 1) / 2); }
int64_t CeilDiv2(int64_t v) { return -FloorDiv2(-v); }

}  // namespace

RegionBands RegionBands::FromRect(const RECT& rect) {
  RegionBands r;
  if (rect.left < rect.right && rect.top < rect.bottom) r.AppendBand(rect.top, rect.bottom, {{rect.left, rect.right}});
  return r;
}

RegionBands RegionBands::FromEllipse(const RECT& rect) {
  RegionBands r;
  if (rect.left >= rect.right || rect.top >= rect.bottom) return r;
  // Pixel (x, y) is inside when its centre satisfies
  //   ((x + 0.5 - cx) / rx)^2 + ((y + 0.5 - cy) / ry)^2 <= 1,
  // which, doubled to stay in integers with d = 2x + 1 - (left + right) and e likewise, reads
  //   d^2 h^2 + e^2 w^2 <= w^2 h^2.
  // Rows lie inside the rectangle, so |e| < h and |d| <= w: with w and h below 2^32 every product
  // below stays at most w^2 h^2 < 2^128 and fits an unsigned 128-bit integer.
  using Wide = unsigned __int128;
  const uint64_t w = static_cast<uint64_t>(static_cast<int64_t>(rect.right) - rect.left);
  const uint64_t h = static_cast<uint64_t>(static_cast<int64_t>(rect.bottom) - rect.top);
  const Wide w2 = static_cast<Wide>(w) * w;
  const Wide h2 = static_cast<Wide>(h) * h;
  const int64_t sum_x = static_cast<int64_t>(rect.left) + rect.right;
  const int64_t sum_y = static_cast<int64_t>(rect.top) + rect.bottom;
  // Rows far outside any picture are left out, so that a wild rectangle cannot make this loop run
  // for billions of rows.
  constexpr int64_t kReach = int64_t{1} << 20;
  const int64_t first_row = std::max<int64_t>(rect.top, -kReach);
  const int64_t end_row = std::min<int64_t>(rect.bottom, kReach);
  for (int64_t y = first_row; y < end_row; ++y) {
    const int64_t e = 2 * y + 1 - sum_y;
    const uint64_t e_size = static_cast<uint64_t>(e < 0 ? -e : e);
    const Wide room = w2 * (h2 - static_cast<Wide>(e_size) * e_size);  // d^2 h^2 may not exceed this
    // Largest d with d^2 h^2 <= room; it is at most w.
    uint64_t d = std::min<uint64_t>(w, static_cast<uint64_t>(std::sqrt(static_cast<double>(room) /
                                                                          static_cast<double>(h2))));
    while (d < w && static_cast<Wide>(d + 1) * (d + 1) * h2 <= room) ++d;
    while (d > 0 && static_cast<Wide>(d) * d * h2 > room) --d;
    const int64_t x_first = CeilDiv2(sum_x - 1 - static_cast<int64_t>(d));
    const int64_t x_last = FloorDiv2(sum_x - 1 + static_cast<int64_t>(d));
    if (x_first > x_last) continue;
    r.AppendBand(static_cast<int32_t>(y), static_cast<int32_t>(y + 1),
                 {{static_cast<int32_t>(x_first), static_cast<int32_t>(x_last + 1)}});
  }
  return r;
}

RegionBands RegionBands::Combine(const RegionBands& a, const RegionBands& b, Operation operation) {
  std::vector<int32_t> rows;
  rows.reserve((a.bands_.size() + b.bands_.size()) * 2);
  for (const RegionBand& band : a.bands_) rows.insert(rows.end(), {band.top, band.bottom});
  for (const RegionBand& band : b.bands_) rows.insert(rows.end(), {band.top, band.bottom});
  std::sort(rows.begin(), rows.end());
  rows.erase(std::unique(rows.begin(), rows.end()), rows.end());

  RegionBands out;
  size_t index_a = 0;
  size_t index_b = 0;
  for (size_t i = 0; i + 1 < rows.size(); ++i) {
    const int32_t top = rows[i];
    while (index_a < a.bands_.size() && a.bands_[index_a].bottom <= top) ++index_a;
    while (index_b < b.bands_.size() && b.bands_[index_b].bottom <= top) ++index_b;
    const bool in_a = index_a < a.bands_.size() && a.bands_[index_a].top <= top;
    const bool in_b = index_b < b.bands_.size() && b.bands_[index_b].top <= top;
    if (!in_a && !in_b) continue;
    out.AppendBand(top, rows[i + 1],
                   CombineSpans(in_a ? a.bands_[index_a].spans : kNoSpans,
                                in_b ? b.bands_[index_b].spans : kNoSpans, operation));
  }
  return out;
}

bool RegionBands::Contains(int32_t x, int32_t y) const {
  for (const RegionBand& band : bands_) {
    if (y < band.top) return false;
    if (y >= band.bottom) continue;
    for (const RegionSpan& span : band.spans) {
      if (x < span.left) return false;
      if (x < span.right) return true;
    }
    return false;
  }
  return false;
}

RECT RegionBands::Bounds() const {
  if (bands_.empty()) return {0, 0, 0, 0};
  RECT r{bands_.front().spans.front().left, bands_.front().top, bands_.front().spans.back().right,
         bands_.back().bottom};
  for (const RegionBand& band : bands_) {
    r.left = std::min(r.left, band.spans.front().left);
    r.right = std::max(r.right, band.spans.back().right);
  }
  return r;
}

void RegionBands::AppendBand(int32_t top, int32_t bottom, std::vector<RegionSpan>&& spans) {
  if (spans.empty() || top >= bottom) return;
  if (!bands_.empty() && bands_.back().bottom == top && bands_.back().spans == spans) {
    bands_.back().bottom = bottom;
    return;
  }
  bands_.push_back({top, bottom, std::move(spans)});
}

}  // namespace platform
