// The lobby's list views: one per sub-lobby, each showing its game or tournament list in the
// rectangle (243, 145)-(632, 400) of the main window, with its column headings above it.
//
// UI thread only.
#pragma once

#include <cstdint>

#include "platform/draw/gdi.h"
#include "platform/window/window_types.h"

class GameListView {
 public:
  virtual ~GameListView() = default;

  // Sets the view up for a navigation entry: places the headings, filters and sorts, and returns
  // the sort state in force (2 x heading id + direction bit - 18).
  int32_t Setup(int32_t money_kind, int32_t limit_kind, int32_t tourney_family, int32_t sort_column,
                int32_t sort_direction, int32_t sub_lobby, platform::HDC window_dc,
                platform::HDC back_dc, platform::HDC background_dc);
  // Sorts by column (heading id - 9) and direction (+1 descending, -1 ascending).
  void SetSort(int32_t column, int32_t direction);
  void Draw(platform::HDC window_dc, platform::HDC back_dc, platform::HDC background_dc,
            int32_t top_row, int32_t sub_lobby);
  // 1 when (x, y) is outside the rows; else the row there becomes the selected one and 0.
  int HitTest(int32_t x, int32_t y);
  void OnVScroll(platform::WPARAM wParam);
  // 1 when the top row did not change.
  int OnMouseWheel(platform::WPARAM wParam, platform::LPARAM lParam);

  int32_t GetRowCount() const;
  int32_t GetPageSize() const;
  int32_t GetTopRow() const;
  int32_t GetSelectedRow() const;
  int32_t GetRowId(int32_t row) const;
  int32_t GetRowSeats(int32_t row) const;
  int32_t GetRowServerId(int32_t row) const;
  bool IsRealMoneyRow(int32_t row) const;
  bool IsTournamentList() const;
  void SetWaitListState(int32_t state);
  int32_t GetWaitListState() const;
};

// The view of a sub-lobby 0-11 (a value outside that range gives the view of 0).
GameListView& GameListView_Get(int32_t sub_lobby);
