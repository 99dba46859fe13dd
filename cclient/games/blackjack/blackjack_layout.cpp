#include "cclient/games/blackjack/blackjack_layout.h"

#include <algorithm>

namespace blackjack_layout {

namespace {

// A hand's shape: rows of `columns` cards, `step_x` apart, each row `step_y` below the last and
// drawn over it, so every card shows its top-left corner. The hand's first card stands at
// first_x, and its last row's cards end at `bottom` (inclusive).
struct HandShape {
  int32_t first_x;
  int32_t bottom;
  int32_t columns;
  int32_t step_x;
  int32_t step_y;
};

constexpr HandTable MakeTable(const HandShape& shape) {
  HandTable table{};
  for (int32_t i = 0; i < kMaxCards; ++i) {
    const int32_t rows = i / shape.columns;  // rows begun before the last of a hand of i + 1
    table.origins[i] = {shape.first_x, shape.bottom - (kCardHeight - 1) - rows * shape.step_y};
    table.offsets[i] = {(i % shape.columns) * shape.step_x, (i / shape.columns) * shape.step_y};
  }
  return table;
}

// A single hand: five to a row; a split hand: four to a row, narrower steps. A split's second
// hand stands kSplitSpacing left of its first; their total labels (at the first card + 28) then
// stay clear of each other.
constexpr int32_t kSplitSpacing = 58;
constexpr HandShape Single(int32_t first_x, int32_t bottom) { return {first_x, bottom, 5, 13, 15}; }
constexpr HandShape SplitFirst(int32_t second_x, int32_t bottom) {
  return {second_x + kSplitSpacing, bottom, 4, 9, 11};
}
constexpr HandShape SplitSecond(int32_t second_x, int32_t bottom) { return {second_x, bottom, 4, 9, 11}; }

// Every seat's hands end 3 pixels above its total label; the split pair's left edge is chosen to
// keep clear of the neighbours, the shoe (seat 0) and the discard tray (seat 4).
constexpr PositionCards Seat(int32_t single_x, int32_t split_x, int32_t bottom) {
  return {MakeTable(Single(single_x, bottom)),
          {MakeTable(SplitFirst(split_x, bottom)), MakeTable(SplitSecond(split_x, bottom))}};
}

// The dealer's hand: five to a row, its last row ending above the dealer's label.
constexpr HandShape kDealerShape{368, 190, 5, 15, 14};
constexpr PositionCards Dealer() {
  return {MakeTable(kDealerShape), {MakeTable(kDealerShape), MakeTable(kDealerShape)}};
}

constexpr PositionCards kTables[kPositions] = {
    Seat(640, 637, 200), Seat(505, 485, 298), Seat(360, 338, 333),
    Seat(215, 194, 297), Seat(36, 8, 200),    Dealer(),
};

}  // namespace

const PositionCards& CardTables(int32_t position) {
  return kTables[position >= 0 && position < kPositions ? position : kDealer];
}

platform::POINT CardPlace(const HandTable& table, int32_t count, int32_t index) {
  const int32_t n = std::clamp(count, 1, kMaxCards);
  const int32_t i = std::clamp(index, 0, kMaxCards - 1);
  return {table.origins[n - 1].x + table.offsets[i].x, table.origins[n - 1].y + table.offsets[i].y};
}

}  // namespace blackjack_layout
