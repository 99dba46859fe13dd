#include "cclient/base/grid_list_model.h"

#include <cstdio>
#include <cstring>
#include <utility>

namespace {

const char kEmpty[] = "";

uint32_t TypeSize(uint8_t type) {
  switch (type) {
    case GRID_COLUMN_U8:
      return 1;
    case GRID_COLUMN_U16:
      return 2;
    case GRID_COLUMN_U32:
      return 4;
    default:
      return 1;  // a text is at least its NUL
  }
}

bool BeginsWith(const char* text, const char* prefix) {
  return std::strncmp(text, prefix, std::strlen(prefix)) == 0;
}

// Whether `word` stands in `list` as a whole word: at its start or after a blank, and followed by
// a blank or the end.
bool HoldsWord(const char* list, size_t list_length, const char* word) {
  const size_t word_length = std::strlen(word);
  for (size_t at = 0; at + word_length <= list_length; ++at) {
    if (std::memcmp(list + at, word, word_length) != 0) continue;
    const bool starts = at == 0 || list[at - 1] == ' ';
    const bool ends = at + word_length == list_length || list[at + word_length] == ' ';
    if (starts && ends) return true;
  }
  return false;
}

}  // namespace

double GridList_CellValue(const char* text) {
  double whole = 0.0;
  double fraction = 0.0;
  double scale = 0.1;
  bool decimal = false;
  bool read = false;
  for (const char* at = text; *at != '\0'; ++at) {
    const char c = *at;
    if (c >= '0' && c <= '9') {
      if (decimal) {
        fraction += (c - '0') * scale;
        scale /= 10.0;
      } else {
        whole = whole * 10.0 + (c - '0');
      }
      read = true;
    } else if (c == '.') {
      decimal = true;
    } else if (c == ',') {
      continue;
    } else if (read && whole != 0.0) {
      decimal = true;
    }
  }
  return whole + fraction;
}

void GridListModel::SetSite(int32_t site_id, bool play_money_edition) {
  site_id_ = site_id;
  play_money_edition_ = play_money_edition;
}

GridListModel::SiteTag GridListModel::ReadSiteTag(Cell* name) const {
  const char* text = name->text;
  if (text[0] != '[') return kNoTag;
  const char* close = std::strchr(text, ']');
  if (close == nullptr) return kNoTag;
  const char* list = text + 1;
  const size_t list_length = static_cast<size_t>(close - list);
  name->text = close + 1;
  const char letter = play_money_edition_ ? 'P' : 'R';
  char word[16];
  if (std::memchr(list, letter, list_length) == nullptr) {
    std::snprintf(word, sizeof word, "%d", site_id_);
    return HoldsWord(list, list_length, word) ? kTagMatches : kTagHides;
  }
  std::snprintf(word, sizeof word, "-%d", site_id_);
  return HoldsWord(list, list_length, word) ? kTagHides : kTagPasses;
}

uint32_t GridListModel::SetRows(const uint8_t* data, uint32_t length, uint32_t row_count,
                                uint32_t column_count, const uint8_t* column_types,
                                int32_t list_kind, int32_t name_column, int32_t tie_break_column,
                                int32_t limit_column, int32_t real_money_column,
                                int32_t sort_column, int32_t sort_direction, bool numeric_sort) {
  list_kind_ = list_kind;
  name_column_ = name_column;
  tie_break_column_ = tie_break_column;
  limit_column_ = limit_column;
  sort_column_ = sort_column;
  sort_direction_ = sort_direction;
  numeric_sort_ = numeric_sort;
  columns_ = column_count;

  const bool holdem_like = list_kind == 0 || list_kind == 1;
  const bool stud = list_kind == 2;
  const bool tourney = list_kind >= kGridFirstTourneyKind;
  const int32_t stakes_column = holdem_like && limit_column >= 0 ? limit_column + 1 : -1;
  const int32_t hi_lo_column = stud && name_column >= 0 ? name_column + 1 : -1;
  auto derived = [&](uint32_t column) {
    return static_cast<int32_t>(column) == stakes_column ||
           static_cast<int32_t>(column) == hi_lo_column;
  };

  // The copy keeps one NUL past the data: empty cells point at it.
  if (copy_.size() < static_cast<size_t>(length) + 1) copy_.resize(static_cast<size_t>(length) + 1);
  if (length > 0) std::memcpy(copy_.data(), data, length);
  copy_[length] = '\0';
  char* bytes = copy_.data();

  uint32_t least_row_bytes = 0;
  for (uint32_t column = 0; column < column_count; ++column) {
    if (!derived(column)) least_row_bytes += TypeSize(column_types[column]);
  }
  if (least_row_bytes == 0) {
    row_count = 0;
  } else if (row_count > length / least_row_bytes) {
    row_count = length / least_row_bytes;
  }

  cells_.assign(static_cast<size_t>(row_count) * column_count, Cell{kEmpty, 0});
  real_money_.assign(row_count, 0);
  site_tag_.assign(row_count, kNoTag);
  parsed_rows_ = 0;
  uint32_t at = 0;
  bool broken = false;
  for (uint32_t row = 0; row < row_count && !broken; ++row) {
    Cell* cells = &cells_[static_cast<size_t>(row) * column_count];
    uint32_t read = 0;
    for (uint32_t column = 0; column < column_count; ++column) {
      if (derived(column)) {
        ++read;
        continue;
      }
      const uint8_t type = column_types[column];
      const uint32_t left = length - at;
      const uint8_t* here = reinterpret_cast<const uint8_t*>(bytes + at);
      if (type == GRID_COLUMN_TEXT) {
        const void* end = std::memchr(bytes + at, '\0', left);
        if (end == nullptr) {
          broken = true;
          break;
        }
        cells[column].text = bytes + at;
        at = static_cast<uint32_t>(static_cast<const char*>(end) - bytes) + 1;
      } else if (type == GRID_COLUMN_U8 || type == GRID_COLUMN_U16 || type == GRID_COLUMN_U32) {
        const uint32_t size = TypeSize(type);
        if (left < size) {
          broken = true;
          break;
        }
        uint32_t value = 0;
        for (uint32_t i = 0; i < size; ++i) value = (value << 8) | here[i];
        cells[column].value = value;
        at += size;
      } else {
        broken = true;
        break;
      }
      ++read;
    }
    // A row cut short is kept when it got as far as its id.
    if (broken && read < 2) break;
    ++parsed_rows_;

    if (stakes_column >= 0 && static_cast<uint32_t>(stakes_column) < column_count) {
      const char* limit = cells[limit_column].text;
      const char* blank = std::strchr(limit, ' ');
      cells[stakes_column].text = blank != nullptr ? blank + 1 : limit;
    }
    if (hi_lo_column >= 0 && static_cast<uint32_t>(hi_lo_column) < column_count) {
      char* name = const_cast<char*>(cells[name_column].text);
      char* hi_lo = std::strstr(name, "Hi/Lo");
      if (hi_lo != nullptr) {
        cells[hi_lo_column].text = hi_lo;
        if (hi_lo == name) {
          cells[name_column].text = kEmpty;
        } else {
          hi_lo[-1] = '\0';
        }
      }
    }
    if (tourney && column_count > 2 && column_types[2] == GRID_COLUMN_TEXT) {
      char* blank = std::strchr(const_cast<char*>(cells[2].text), ' ');
      if (blank != nullptr) *blank = '\0';
    }
    if (name_column >= 0 && static_cast<uint32_t>(name_column) < column_count &&
        column_types[name_column] == GRID_COLUMN_TEXT) {
      site_tag_[row] = ReadSiteTag(&cells[name_column]);
    }
    if (real_money_column >= 0 && static_cast<uint32_t>(real_money_column) < column_count) {
      real_money_[row] = cells[real_money_column].text[0] == 'R' ? 1 : 0;
    } else {
      uint8_t real = 1;
      for (uint32_t column = 0; column < column_count; ++column) {
        if (column_types[column] == GRID_COLUMN_TEXT &&
            std::strstr(cells[column].text, "Play") != nullptr) {
          real = 0;
        }
      }
      real_money_[row] = real;
    }
  }
  Filter();
  Sort();
  return parsed_rows_;
}

void GridListModel::SetFilter(int32_t money_kind, int32_t limit_kind, int32_t tourney_family,
                              int32_t sort_column, int32_t sort_direction, bool numeric_sort) {
  money_kind_ = money_kind;
  limit_kind_ = limit_kind;
  tourney_family_ = tourney_family;
  sort_column_ = sort_column;
  sort_direction_ = sort_direction;
  numeric_sort_ = numeric_sort;
  Filter();
  Sort();
}

void GridListModel::SetSort(int32_t sort_column, int32_t sort_direction, bool numeric_sort) {
  sort_column_ = sort_column;
  sort_direction_ = sort_direction;
  numeric_sort_ = numeric_sort;
  Filter();
  Sort();
}

void GridListModel::Filter() {
  order_.clear();
  const bool tourney = list_kind_ >= kGridFirstTourneyKind;
  for (uint32_t row = 0; row < parsed_rows_; ++row) {
    const Cell* cells = RowCells(row);
    const uint8_t tag = site_tag_[row];
    if (tag == kTagHides) continue;
    const bool money_passes = money_kind_ == GRID_MONEY_REAL   ? real_money_[row] != 0
                              : money_kind_ == GRID_MONEY_PLAY ? real_money_[row] == 0
                                                               : true;
    if (!money_passes && !(play_money_edition_ && tag == kTagMatches)) continue;
    if (!tourney && limit_column_ >= 0 && static_cast<uint32_t>(limit_column_) < columns_ &&
        limit_kind_ != GRID_LIMIT_ANY) {
      const char* limit = cells[limit_column_].text;
      const bool no_or_pot = BeginsWith(limit, "N/L") || BeginsWith(limit, "P/L");
      if ((limit_kind_ == GRID_LIMIT_FIXED) == no_or_pot) continue;
    }
    if (tourney && columns_ > 4 &&
        (tourney_family_ == GRID_FAMILY_HOLDEM || tourney_family_ == GRID_FAMILY_PAN)) {
      const char* family = tourney_family_ == GRID_FAMILY_HOLDEM ? "Hold'em" : "Pan";
      if (!BeginsWith(cells[4].text, family)) continue;
    }
    order_.push_back(row);
  }
}

bool GridListModel::ComesFirst(uint32_t j, uint32_t i) const {
  if (real_money_[i] != real_money_[j]) return real_money_[j] != 0;
  const Cell* at_i = RowCells(i);
  const Cell* at_j = RowCells(j);
  const bool sorting = sort_column_ >= 0 && static_cast<uint32_t>(sort_column_) < columns_;
  if (sorting) {
    int order = 0;
    if (numeric_sort_) {
      const double difference =
          GridList_CellValue(at_j[sort_column_].text) - GridList_CellValue(at_i[sort_column_].text);
      order = difference > 0 ? 1 : difference < 0 ? -1 : 0;
    } else {
      const int compared = std::strcmp(at_j[sort_column_].text, at_i[sort_column_].text);
      order = compared > 0 ? 1 : compared < 0 ? -1 : 0;
    }
    if (order * sort_direction_ > 0) return true;
    if (order != 0) return false;
  }
  const bool tie_break = tie_break_column_ >= 0 &&
                         static_cast<uint32_t>(tie_break_column_) < columns_ &&
                         tie_break_column_ != sort_column_;
  if (!tie_break) {
    if (name_column_ < 0 || static_cast<uint32_t>(name_column_) >= columns_ ||
        name_column_ == sort_column_) {
      return false;
    }
    return std::strcmp(at_j[name_column_].text, at_i[name_column_].text) < 0;
  }
  return GridList_CellValue(at_j[tie_break_column_].text) >
         GridList_CellValue(at_i[tie_break_column_].text);
}

void GridListModel::Sort() {
  const size_t count = order_.size();
  for (size_t i = 0; i < count; ++i) {
    for (size_t j = i + 1; j < count; ++j) {
      if (ComesFirst(order_[j], order_[i])) std::swap(order_[i], order_[j]);
    }
  }
}

const GridListModel::Cell* GridListModel::At(int32_t row, int32_t column) const {
  if (row < 0 || row >= GetRowCount() || column < 0 || static_cast<uint32_t>(column) >= columns_) {
    return nullptr;
  }
  return &RowCells(order_[row])[column];
}

const char* GridListModel::GetCell(int32_t row, int32_t column) const {
  const Cell* cell = At(row, column);
  return cell != nullptr ? cell->text : kEmpty;
}

uint32_t GridListModel::GetValue(int32_t row, int32_t column) const {
  const Cell* cell = At(row, column);
  return cell != nullptr ? cell->value : 0;
}

bool GridListModel::IsRealMoneyRow(int32_t row) const {
  return row >= 0 && row < GetRowCount() && real_money_[order_[row]] != 0;
}
