#include "cclient/widgets/table_layout.h"

#include <cstdio>
#include <cstring>

#include "cclient/widgets/chip_stack.h"

namespace {

struct Offset {
  int8_t x;
  int8_t y;
};

// Row k - 1 holds the k offsets of a k-pile layout. The back rows of 7, 9 and 11 piles are not
// symmetric about x 0; the values are kept as the tables have always been laid out.
constexpr Offset kLayouts[kChipLayoutMaxPiles][kChipLayoutMaxPiles] = {
    {{0, 0}},
    {{10, 0}, {-10, 0}},
    {{20, 0}, {0, 0}, {-20, 0}},
    {{30, 0}, {10, 0}, {-10, 0}, {-30, 0}},
    {{40, 0}, {20, 0}, {0, 0}, {-20, 0}, {-40, 0}},
    {{20, 18}, {0, 18}, {-20, 18}, {-30, 0}, {-10, 0}, {10, 0}},
    {{28, 20}, {8, 20}, {-12, 20}, {-32, 20}, {-30, 0}, {-10, 0}, {10, 0}},
    {{30, 18}, {10, 18}, {-10, 18}, {-30, 18}, {-40, 0}, {-20, 0}, {0, 0}, {20, 0}},
    {{37, 20}, {17, 20}, {-3, 20}, {-23, 20}, {-43, 20}, {-40, 0}, {-20, 0}, {0, 0}, {20, 0}},
    {{40, 18}, {20, 18}, {0, 18}, {-20, 18}, {-40, 18}, {-50, 0}, {-30, 0}, {-10, 0}, {10, 0}, {30, 0}},
    {{47, 20}, {27, 20}, {7, 20}, {-13, 20}, {-33, 20}, {-53, 20}, {-50, 0}, {-30, 0}, {-10, 0}, {10, 0}, {30, 0}},
};

bool IsEmpty(const platform::RECT& r) { return r.left >= r.right || r.top >= r.bottom; }

}  // namespace

void MakeFont(platform::LOGFONT* font, int32_t height, int32_t weight, const char* face_name) {
  std::memset(font, 0, sizeof *font);
  font->lfHeight = height;
  font->lfWeight = weight;
  font->lfPitchAndFamily = 2;
  std::snprintf(font->lfFaceName, sizeof font->lfFaceName, "%s", face_name != nullptr ? face_name : "Arial");
}

void ChipLayout_Offsets(int32_t pile_count, int32_t* x_offsets, int32_t* y_offsets) {
  if (pile_count < 1 || pile_count > kChipLayoutMaxPiles) return;
  for (int32_t i = 0; i < pile_count; ++i) {
    x_offsets[i] = kLayouts[pile_count - 1][i].x;
    y_offsets[i] = kLayouts[pile_count - 1][i].y;
  }
}

void ChipLayout_FillTable(int32_t count, int32_t* const* x_tables, int32_t* const* y_tables) {
  for (int32_t k = 1; k <= count; ++k) ChipLayout_Offsets(k, x_tables[k - 1], y_tables[k - 1]);
}

bool Rect_Overlaps(const platform::RECT& a, const platform::RECT& b) {
  if (a.left < b.left && a.right < b.left) return false;
  if (a.left > b.left && a.left > b.right) return false;
  if (a.top < b.top && a.bottom < b.top) return false;
  if (a.top <= b.top) return true;
  return a.top <= b.bottom;
}

void Rect_Union(platform::RECT* a, const platform::RECT& b) {
  if (IsEmpty(*a)) {
    *a = b;
    return;
  }
  if (IsEmpty(b)) return;
  if (b.left < a->left) a->left = b.left;
  if (b.top < a->top) a->top = b.top;
  if (b.right > a->right) a->right = b.right;
  if (b.bottom > a->bottom) a->bottom = b.bottom;
}

int32_t ChipStacks_TouchesRect(const ChipStack* stacks, const platform::RECT& seat, const platform::RECT& dirty) {
  for (int32_t i = 0; i < 4; ++i) {
    platform::RECT rect;
    if (!stacks[i].GetStackRect(&rect)) continue;
    if (Rect_Overlaps(rect, dirty) || Rect_Overlaps(seat, dirty)) return i;
  }
  return -1;
}
