// The rows of a list box or drop-down list: texts with a value each, and the list messages that
// work on them. Rows are counted from 0; a bad row gives LB_ERR (CB_ERR, the same value).
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/window/window_types.h"

namespace platform::controls {

class ListItems {
 public:
  int Count() const { return static_cast<int>(rows_.size()); }
  bool Valid(int row) const { return row >= 0 && row < Count(); }
  const std::string& Text(int row) const { return rows_[static_cast<size_t>(row)].text; }

  // Returns the new row.
  int Add(std::string text);
  // At `row` (-1 or the count: at the end); LB_ERR beyond the end.
  int Insert(int row, std::string text);
  // Returns the rows left, LB_ERR for a bad row.
  int Delete(int row);
  void Reset() { rows_.clear(); }
  // Copies the text with its terminator into `buffer` (which must hold TextLength + 1 bytes).
  int CopyText(int row, char* buffer) const;
  int TextLength(int row) const;
  bool SetData(int row, LPARAM data);
  LPARAM Data(int row) const;  // LB_ERR for a bad row
  // The first row after `start` (-1: from the top) whose text equals `text`, case ignored; the
  // search wraps round. LB_ERR when none does.
  int FindExact(int start, std::string_view text) const;
  // The next row after `start` whose text begins with `character` (case ignored), wrapping; -1 when none.
  int FindByInitial(int start, char character) const;

 private:
  struct Row {
    std::string text;
    LPARAM data = 0;
  };
  std::vector<Row> rows_;
};

}  // namespace platform::controls
