#include "platform/controls/list_items.h"

#include <cctype>
#include <cstring>
#include <strings.h>

#include "platform/controls/control_types.h"

namespace platform::controls {

int ListItems::Add(std::string text) {
  rows_.push_back(Row{std::move(text), 0});
  return Count() - 1;
}

int ListItems::Insert(int row, std::string text) {
  if (row < 0 || row == Count()) return Add(std::move(text));
  if (row > Count()) return LB_ERR;
  rows_.insert(rows_.begin() + row, Row{std::move(text), 0});
  return row;
}

int ListItems::Delete(int row) {
  if (!Valid(row)) return LB_ERR;
  rows_.erase(rows_.begin() + row);
  return Count();
}

int ListItems::CopyText(int row, char* buffer) const {
  if (!Valid(row) || buffer == nullptr) return LB_ERR;
  const std::string& text = Text(row);
  std::memcpy(buffer, text.c_str(), text.size() + 1);
  return static_cast<int>(text.size());
}

int ListItems::TextLength(int row) const { return Valid(row) ? static_cast<int>(Text(row).size()) : LB_ERR; }

bool ListItems::SetData(int row, LPARAM data) {
  if (!Valid(row)) return false;
  rows_[static_cast<size_t>(row)].data = data;
  return true;
}

LPARAM ListItems::Data(int row) const { return Valid(row) ? rows_[static_cast<size_t>(row)].data : LB_ERR; }

int ListItems::FindExact(int start, std::string_view text) const {
  const int count = Count();
  for (int step = 1; step <= count; ++step) {
    const int row = ((start < 0 ? -1 : start) + step) % count;
    const std::string& candidate = Text(row);
    if (candidate.size() == text.size() && strncasecmp(candidate.data(), text.data(), text.size()) == 0) return row;
  }
  return LB_ERR;
}

int ListItems::FindByInitial(int start, char character) const {
  const int count = Count();
  const int wanted = std::tolower(static_cast<unsigned char>(character));
  for (int step = 1; step <= count; ++step) {
    const int row = ((start < 0 ? -1 : start) + step) % count;
    const std::string& candidate = Text(row);
    if (!candidate.empty() && std::tolower(static_cast<unsigned char>(candidate[0])) == wanted) return row;
  }
  return -1;
}

}  // namespace platform::controls
