// The rows of one lobby list: parsed in place from the list body, filtered by the chosen
// navigation entry, sorted, and handed out cell by cell.
//
// UI thread only.
#pragma once

#include <cstdint>
#include <vector>

// How a column is stored in a list row.
enum GridColumnType : uint8_t {
  GRID_COLUMN_TEXT = 0,  // NUL-terminated text
  GRID_COLUMN_U8 = 1,
  GRID_COLUMN_U16 = 2,   // big-endian
  GRID_COLUMN_U32 = 4,   // big-endian
};

// List kinds: 0-7 the ring games of each sub-lobby, 8-11 the tournament lists.
constexpr int32_t kGridFirstTourneyKind = 8;

// Filters: money kind, limit kind and tournament family.
enum GridMoneyKind : int32_t { GRID_MONEY_REAL = 0, GRID_MONEY_PLAY = 1, GRID_MONEY_ANY = 2 };
enum GridLimitKind : int32_t { GRID_LIMIT_FIXED = 0, GRID_LIMIT_NO_OR_POT = 1, GRID_LIMIT_ANY = 2 };
enum GridTourneyFamily : int32_t {
  GRID_FAMILY_HOLDEM = 0,
  GRID_FAMILY_PAN = 1,
  GRID_FAMILY_ANY = 2
};

// What a cell's text is worth when a numeric column sorts: digits make the whole part, "." starts
// the decimal part, "," is skipped, any other character is skipped before a value was read and
// starts the decimal part after ("$1/$2" is 1.2, "10/20" is 10.2).
double GridList_CellValue(const char* text);

class GridListModel {
 public:
  // The site whose tagged rows are shown, and which edition this is (tags name the edition by "R"
  // in the real-money edition and "P" in the play-money edition).
  void SetSite(int32_t site_id, bool play_money_edition);

  // Parses `row_count` rows of `column_count` columns of `column_types` from a copy of `data`,
  // marks the real-money rows, filters and sorts. Columns derived from others (the stakes after
  // the limit in kinds 0 and 1, the "Hi/Lo" cell after the name in kind 2) are not read from the
  // data. The row count is bounded by what the data can hold; a row cut short keeps the cells read
  // before the break and empty texts after it. Returns the number of rows parsed.
  uint32_t SetRows(const uint8_t* data, uint32_t length, uint32_t row_count, uint32_t column_count,
                   const uint8_t* column_types, int32_t list_kind, int32_t name_column,
                   int32_t tie_break_column, int32_t limit_column, int32_t real_money_column,
                   int32_t sort_column, int32_t sort_direction, bool numeric_sort);
  void SetFilter(int32_t money_kind, int32_t limit_kind, int32_t tourney_family,
                 int32_t sort_column, int32_t sort_direction, bool numeric_sort);
  void SetSort(int32_t sort_column, int32_t sort_direction, bool numeric_sort);

  // Filtered rows, in sorted order.
  int32_t GetRowCount() const { return static_cast<int32_t>(order_.size()); }
  // A text cell; an empty text for an integer column or a row or column out of range.
  const char* GetCell(int32_t row, int32_t column) const;
  // An integer cell in host order; 0 for a text column or a row or column out of range.
  uint32_t GetValue(int32_t row, int32_t column) const;
  bool IsRealMoneyRow(int32_t row) const;
  int32_t GetSortColumn() const { return sort_column_; }
  int32_t GetSortDirection() const { return sort_direction_; }

 private:
  struct Cell {
    const char* text;
    uint32_t value;
  };
  enum SiteTag : uint8_t { kNoTag, kTagMatches, kTagPasses, kTagHides };

  const Cell* RowCells(uint32_t parsed_row) const { return &cells_[parsed_row * columns_]; }
  const Cell* At(int32_t row, int32_t column) const;
  void Filter();
  void Sort();
  bool ComesFirst(uint32_t j, uint32_t i) const;
  SiteTag ReadSiteTag(Cell* name) const;

  std::vector<char> copy_;
  std::vector<Cell> cells_;
  std::vector<uint8_t> real_money_;
  std::vector<uint8_t> site_tag_;
  std::vector<uint32_t> order_;  // parsed row of each filtered row, sorted
  uint32_t parsed_rows_ = 0;
  uint32_t columns_ = 0;
  int32_t list_kind_ = -1;
  int32_t name_column_ = -1;
  int32_t tie_break_column_ = -1;
  int32_t limit_column_ = -1;
  int32_t sort_column_ = -1;
  int32_t sort_direction_ = 1;
  bool numeric_sort_ = false;
  int32_t money_kind_ = GRID_MONEY_ANY;
  int32_t limit_kind_ = GRID_LIMIT_ANY;
  int32_t tourney_family_ = GRID_FAMILY_ANY;
  int32_t site_id_ = 0;
  bool play_money_edition_ = false;
};
