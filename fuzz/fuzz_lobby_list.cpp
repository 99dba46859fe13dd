// Feeds arbitrary bytes to the lobby list reader as a GAMELIST or TOURNEYLIST payload would reach
// it: unpacked when the bytes are a compressed stream, else taken as an unpacked body; then parsed
// as every list kind, sorted by every column both ways, and every cell read.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "cclient/base/grid_list_model.h"
#include "cclient/base/lobby_list_body.h"

namespace {

void Exercise(const uint8_t* rows, uint32_t length) {
  uint32_t offset = 0;
  uint32_t count = 0;
  if (!LobbyList_ReadRowsStart(rows, length, &offset, &count)) return;
  if (offset > length) std::abort();
  for (int32_t kind = 0; kind < kListKinds; kind += (kind >= 8 ? 4 : 1)) {
    const ListLayout& layout = LobbyList_Layout(kind);
    GridListModel model;
    model.SetSite(7, kind % 2 != 0);
    const uint32_t parsed = model.SetRows(
        rows + offset, length - offset, count, static_cast<uint32_t>(layout.columns), layout.types,
        kind, layout.name_column, layout.players_column, layout.limit_column,
        layout.real_money_column, layout.shown_column[0], 1, false);
    if (parsed > count) std::abort();
    for (int32_t position = 0; position < layout.shown; ++position) {
      const int32_t column = layout.shown_column[position];
      for (int32_t direction : {-1, 1}) {
        model.SetFilter(kind % 3, kind % 3, kind % 3, column, direction, layout.numeric[column] != 0);
        if (model.GetRowCount() > static_cast<int32_t>(parsed)) std::abort();
      }
    }
    for (int32_t row = -1; row <= model.GetRowCount(); ++row) {
      for (int32_t column = -1; column <= layout.columns; ++column) {
        const char* cell = model.GetCell(row, column);
        (void)GridList_CellValue(cell);
        (void)std::strlen(cell);
        (void)model.GetValue(row, column);
      }
      (void)model.IsRealMoneyRow(row);
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size > (1u << 20)) return 0;
  static std::vector<uint8_t> buffer;
  uint32_t body_length = 0;
  if (LobbyList_Unpack(data, static_cast<uint32_t>(size), &buffer, &body_length) == 0) {
    if (body_length > buffer.size()) std::abort();
    if (body_length >= 4) Exercise(buffer.data() + 4, body_length - 4);
  }
  // The same bytes as an unpacked body, so that the row parser sees them without a valid stream.
  if (size >= 4) Exercise(data + 4, static_cast<uint32_t>(size - 4));
  return 0;
}
