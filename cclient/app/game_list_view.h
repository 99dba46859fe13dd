// The lobby's list views: one per sub-lobby, each showing its game or tournament list in the
// rectangle (243, 145)-(632, 400) of the main window, with its column headings above it.
//
// UI thread only.
#pragma once

#include <cstdint>

#include "cclient/base/grid_list_model.h"
#include "cclient/base/lobby_list_body.h"
#include "platform/draw/gdi.h"
#include "platform/window/window_types.h"

// Where the rows are drawn.
constexpr int32_t kListLeft = 243;
constexpr int32_t kListTop = 145;
constexpr int32_t kListRight = 632;
constexpr int32_t kListBottom = 400;
constexpr int32_t kListRowHeight = 14;
constexpr int32_t kListPageRows = 18;
constexpr int32_t kListHeadingTop = 121;

class GameListView {
 public:
  virtual ~GameListView() = default;

  // Sets the list kind (0-11) and its column layout; only while the kind is unset.
  void SetListKind(int32_t kind);
  // Takes a list body after its 4-byte code: parses, filters and sorts, keeps the list code and
  // finds the selected row again. 1 when the body is too short for its counts, else 0.
  int SetRows(const uint8_t* rows, uint32_t length, int tournament, int32_t list_code,
              int32_t sort_column, int32_t sort_direction, int32_t sub_lobby);
  // Sets the view up for a navigation entry: places the headings, filters and sorts, and returns
  // the sort state in force (2 x heading id + direction bit - 18).
  int32_t Setup(int32_t money_kind, int32_t limit_kind, int32_t tourney_family, int32_t sort_column,
                int32_t sort_direction, int32_t sub_lobby, platform::HDC window_dc,
                platform::HDC back_dc, platform::HDC background_dc);
  // Sorts by column (heading id - 9) and direction (+1 descending, -1 ascending).
  void SetSort(int32_t column, int32_t direction);
  void Draw(platform::HDC window_dc, platform::HDC back_dc, platform::HDC background_dc,
            int32_t top_row, int32_t sub_lobby);
  // 1 when (x, y) is outside the shown rows; else the row there becomes the selected one and 0.
  int HitTest(int32_t x, int32_t y);
  void OnVScroll(platform::WPARAM wParam);
  // 1 when the top row did not change.
  int OnMouseWheel(platform::WPARAM wParam, platform::LPARAM lParam);
  // Makes the row with `id` the selected one (none when no row has it).
  void SelectRowById(int32_t id);

  int32_t GetRowCount() const;
  int32_t GetPageSize() const;
  int32_t GetTopRow() const;
  int32_t GetSelectedRow() const;
  int32_t GetSelectedRowId() const;
  int32_t GetRowId(int32_t row) const;
  int32_t GetRowSeats(int32_t row) const;
  // The type byte of a row (column 3 of a game list; 0 in a tournament list).
  int32_t GetRowGameType(int32_t row) const;
  int32_t GetRowServerId(int32_t row) const;
  bool IsRealMoneyRow(int32_t row) const;
  const char* GetCell(int32_t row, int32_t column) const;
  const char* GetRowName(int32_t row) const;
  const char* GetRowLabel(int32_t row) const;
  int32_t GetListCode() const;
  bool IsTournamentList() const;
  bool HasData() const { return has_data_ != 0; }
  int32_t GetListKind() const { return kind_; }
  // The sort position in force (a shown column) and its direction.
  int32_t GetSortPosition() const { return sort_position_; }
  int32_t GetSortDirection() const { return sort_direction_; }
  void SetWaitListState(int32_t state);
  int32_t GetWaitListState() const;
  // Up to four hot-pick suggestions, slot 3 first: rows whose players cell is exactly one digit,
  // in the order 5, 4, 6, 3, 7, 2, 8, 1, 9. Slots left over are cleared (id 0, texts empty).
  void FillHotPickDefaults(uint8_t server_ids[4], uint32_t table_ids[4], int32_t list_codes[4],
                           int32_t real_money[4], const char* labels[4]) const;

 private:
  // The shown position of a requested column (heading id - 9), with the default position and
  // direction when no shown column has that heading.
  void ChooseSort(int32_t column, int32_t direction);
  void ApplySort();
  void FindSelection();
  int32_t ClampTop(int32_t top) const;

  int32_t kind_ = -1;
  const ListLayout* layout_ = nullptr;
  int32_t wait_list_state_ = 0;
  uint32_t tournament_ = 0;
  int32_t list_code_ = -1;
  int32_t top_row_ = 0;
  int32_t selected_row_ = -1;
  int32_t selected_id_ = -1;
  uint32_t has_data_ = 0;
  int32_t sort_position_ = 0;
  int32_t sort_direction_ = 1;
  int32_t money_kind_ = GRID_MONEY_ANY;
  int32_t limit_kind_ = GRID_LIMIT_ANY;
  int32_t tourney_family_ = GRID_FAMILY_ANY;
  int32_t drawn_rows_ = 0;
  GridListModel model_;
};

// The view of a sub-lobby 0-11 (a value outside that range gives the view of 0).
GameListView& GameListView_Get(int32_t sub_lobby);
// The list view of the sub-lobby the lobby shows.
GameListView& Main_GetShownListView();
