#include "cclient/app/game_list_view.h"

#include <cstdio>
#include <cstring>

#include "cclient/base/debug_log.h"
#include "cclient/app/main_window.h"
#include "cclient/base/startup_file.h"
#include "platform/controls/control_messages.h"
#include "platform/text/text.h"

namespace {

constexpr platform::COLORREF kSelectedBack = platform::RGB(0x00, 0x57, 0x8C);
constexpr platform::COLORREF kRealMoneyBack = platform::RGB(0xD8, 0xE9, 0xFA);
constexpr platform::COLORREF kPlayMoneyBack = platform::RGB(0xEF, 0xF2, 0xEE);
constexpr platform::COLORREF kWhite = platform::RGB(0xFF, 0xFF, 0xFF);
constexpr platform::COLORREF kBlack = platform::RGB(0, 0, 0);
constexpr platform::COLORREF kBlue = platform::RGB(0, 0, 0xFF);
constexpr platform::COLORREF kYellow = platform::RGB(0xFF, 0xFF, 0);
constexpr int32_t kHeadingStripWidth = 389;
constexpr int32_t kHeadingStripHeight = 24;

void FillSolid(platform::HDC dc, const platform::RECT& rect, platform::COLORREF colour) {
  const platform::HBRUSH brush = platform::CreateSolidBrush(colour);
  platform::FillRect(dc, &rect, brush);
  platform::DeleteObject(brush);
}

}  // namespace

void GameListView::SetListKind(int32_t kind) {
  if (kind_ != -1 || kind < 0 || kind >= kListKinds) return;
  kind_ = kind;
  layout_ = &LobbyList_Layout(kind);
  tournament_ = kind >= kFirstTourneySubLobby ? 1 : 0;
  sort_position_ = layout_->default_position;
  sort_direction_ = layout_->default_direction;
}

void GameListView::ChooseSort(int32_t column, int32_t direction) {
  for (int32_t position = 0; position < layout_->shown; ++position) {
    if (layout_->shown_heading[position] - LOBBY_BUTTON_FIRST_HEADING == column) {
      sort_position_ = position;
      sort_direction_ = direction == -1 ? -1 : 1;
      return;
    }
  }
  sort_position_ = layout_->default_position;
  sort_direction_ = layout_->default_direction;
}

void GameListView::ApplySort() {
  const int32_t column = layout_->shown_column[sort_position_];
  model_.SetFilter(money_kind_, limit_kind_, tourney_family_, column, sort_direction_,
                   layout_->numeric[column] != 0);
}

void GameListView::FindSelection() {
  selected_row_ = -1;
  if (selected_id_ == -1) return;
  for (int32_t row = 0; row < model_.GetRowCount(); ++row) {
    if (GetRowId(row) == selected_id_) {
      selected_row_ = row;
      return;
    }
  }
  selected_id_ = -1;
}

void GameListView::SelectRowById(int32_t id) {
  selected_id_ = id;
  FindSelection();
}

int GameListView::SetRows(const uint8_t* rows, uint32_t length, int tournament, int32_t list_code,
                          int32_t sort_column, int32_t sort_direction, int32_t sub_lobby) {
  SetListKind(sub_lobby);
  if (layout_ == nullptr) return 1;
  uint32_t rows_offset = 0;
  uint32_t row_count = 0;
  if (!LobbyList_ReadRowsStart(rows, length, &rows_offset, &row_count)) return 1;
  list_code_ = list_code;
  tournament_ = tournament != 0 ? 1 : 0;
  has_data_ = 1;
  ChooseSort(sort_column, sort_direction);
  const int32_t column = layout_->shown_column[sort_position_];
  model_.SetSite(static_cast<int32_t>(g_StartupSettings.site_id), PlayMoneyEdition != 0);
  model_.SetFilter(money_kind_, limit_kind_, tourney_family_, column, sort_direction_,
                   layout_->numeric[column] != 0);
  model_.SetRows(rows + rows_offset, length - rows_offset, row_count,
                 static_cast<uint32_t>(layout_->columns), layout_->types, kind_,
                 layout_->name_column, layout_->players_column, layout_->limit_column,
                 layout_->real_money_column, column, sort_direction_, layout_->numeric[column] != 0);
  top_row_ = ClampTop(top_row_);
  FindSelection();
  return 0;
}

int32_t GameListView::Setup(int32_t money_kind, int32_t limit_kind, int32_t tourney_family,
                            int32_t sort_column, int32_t sort_direction, int32_t sub_lobby,
                            platform::HDC window_dc, platform::HDC back_dc,
                            platform::HDC background_dc) {
  SetListKind(sub_lobby);
  ButtonList& buttons = g_Main.lobby_buttons;
  for (int32_t id = LOBBY_BUTTON_FIRST_HEADING; id <= LOBBY_BUTTON_LAST_HEADING; ++id) {
    buttons.HideButton(id);
  }
  if (layout_ == nullptr) return 2 * sort_column + (sort_direction != -1 ? 1 : 0);
  if (background_dc != nullptr) {
    for (platform::HDC dc : {back_dc, window_dc}) {
      if (dc == nullptr) continue;
      platform::BitBlt(dc, kListLeft, kListHeadingTop, kHeadingStripWidth, kHeadingStripHeight,
                       background_dc, kListLeft, kListHeadingTop, platform::SRCCOPY);
    }
  }
  int32_t x = kListLeft;
  for (int32_t position = 0; position < layout_->shown; ++position) {
    buttons.MoveButton(layout_->shown_heading[position], x, kListHeadingTop);
    buttons.ShowButton(layout_->shown_heading[position]);
    x += layout_->shown_width[position];
  }
  ChooseSort(sort_column, sort_direction);
  // The name column's heading differs between layouts: a request for the other layout's name
  // heading picks this layout's first column.
  const int32_t first_heading = layout_->shown_heading[0];
  if ((sort_column == 0 && first_heading == 11) || (sort_column == 2 && first_heading == 9)) {
    sort_position_ = 0;
    sort_direction_ = sort_direction == -1 ? -1 : 1;
  }
  money_kind_ = money_kind;
  limit_kind_ = limit_kind;
  tourney_family_ = tourney_family;
  ApplySort();
  top_row_ = ClampTop(top_row_);
  FindSelection();
  return 2 * layout_->shown_heading[sort_position_] + (sort_direction_ != -1 ? 1 : 0) - 18;
}

void GameListView::SetSort(int32_t column, int32_t direction) {
  if (layout_ == nullptr) return;
  ChooseSort(column, direction);
  ApplySort();
  FindSelection();
}

void GameListView::Draw(platform::HDC window_dc, platform::HDC back_dc,
                        platform::HDC background_dc, int32_t top_row, int32_t sub_lobby) {
  if (back_dc == nullptr) return;
  const platform::RECT area{kListLeft, kListTop, kListRight, kListBottom};
  if (has_data_ == 0 || layout_ == nullptr) {
    const platform::RECT first{kListLeft, kListTop, kListRight, kListTop + kListRowHeight};
    FillSolid(back_dc, first, kBlue);
    platform::SetBkMode(back_dc, platform::TRANSPARENT);
    platform::SetTextColor(back_dc, kYellow);
    platform::RECT text = first;
    platform::DrawText(back_dc, "Downloading Table List...", -1, &text,
                       platform::DT_LEFT | platform::DT_SINGLELINE | platform::DT_VCENTER);
    if (window_dc != nullptr) {
      platform::BitBlt(window_dc, kListLeft, kListTop, kListRight - kListLeft, kListRowHeight,
                       back_dc, kListLeft, kListTop, platform::SRCCOPY);
    }
    return;
  }
  top_row_ = ClampTop(top_row);
  const int32_t rows = GetRowCount();
  int32_t shown = rows - top_row_;
  if (shown > kListPageRows) shown = kListPageRows;
  if (shown < 0) shown = 0;
  // Below the rows the list goes back to the background: the views of all sub-lobbies share this
  // place, so another view's longer list may stand there.
  if (background_dc != nullptr) {
    const int32_t y = kListTop + shown * kListRowHeight;
    platform::BitBlt(back_dc, kListLeft, y, kListRight - kListLeft, kListBottom - y, background_dc,
                     kListLeft, y, platform::SRCCOPY);
  }
  platform::SetBkMode(back_dc, platform::TRANSPARENT);
  for (int32_t index = 0; index < shown; ++index) {
    const int32_t row = top_row_ + index;
    const int32_t y = kListTop + index * kListRowHeight;
    const platform::RECT line{kListLeft, y, kListRight, y + kListRowHeight};
    const bool selected = row == selected_row_;
    FillSolid(back_dc, line,
              selected ? kSelectedBack : IsRealMoneyRow(row) ? kRealMoneyBack : kPlayMoneyBack);
    platform::SetTextColor(back_dc, selected ? kWhite : kBlack);
    int32_t x = kListLeft;
    for (int32_t position = 0; position < layout_->shown; ++position) {
      const int32_t column = layout_->shown_column[position];
      const int32_t width = layout_->shown_width[position];
      const char* cell = model_.GetCell(row, column);
      char text[64];
      if (column == layout_->limit_column) {
        if (kind_ == 2) {
          cell = std::strncmp(cell, "Hi/Lo", 5) == 0 ? "Hi/Lo" : "7 Stud";
        } else {
          cell = std::strncmp(cell, "N/L", 3) == 0   ? "NL"
                 : std::strncmp(cell, "P/L", 3) == 0 ? "PL"
                                                     : "Fixed";
        }
      } else if (column == layout_->players_column) {
        std::snprintf(text, sizeof text, "%s/%ld", cell, static_cast<long>(GetRowSeats(row)));
        cell = text;
      }
      uint32_t format = platform::DT_SINGLELINE | platform::DT_VCENTER | platform::DT_CENTER;
      platform::RECT box{x, y, x + width, y + kListRowHeight};
      if (position == 0 && tournament_ == 0) {
        format = platform::DT_SINGLELINE | platform::DT_VCENTER | platform::DT_LEFT;
        box.left += 2;
      } else if (position == 1 && tournament_ != 0) {
        format = platform::DT_SINGLELINE | platform::DT_VCENTER | platform::DT_LEFT;
      }
      platform::DrawText(back_dc, cell, -1, &box, format);
      x += width;
    }
  }
  drawn_rows_ = shown;
  if (window_dc != nullptr) {
    platform::BitBlt(window_dc, area.left, area.top, area.right - area.left,
                     area.bottom - area.top, back_dc, area.left, area.top, platform::SRCCOPY);
  }
}

int GameListView::HitTest(int32_t x, int32_t y) {
  if (x < kListLeft || x >= kListRight || y < kListTop) return 1;
  int32_t shown = GetRowCount() - top_row_;
  if (shown > kListPageRows) shown = kListPageRows;
  // Only the rows drawn answer: below the last one nothing is selected.
  if (shown <= 0 || y >= kListTop + shown * kListRowHeight) return 1;
  selected_row_ = (y - kListTop) / kListRowHeight + top_row_;
  selected_id_ = GetRowId(selected_row_);
  return 0;
}

int32_t GameListView::ClampTop(int32_t top) const {
  const int32_t last = GetRowCount() - kListPageRows;
  if (top > last) top = last;
  if (top < 0) top = 0;
  return top;
}

void GameListView::OnVScroll(platform::WPARAM wParam) {
  switch (static_cast<int>(wParam & 0xFFFF)) {
    case platform::SB_LINEUP:
      top_row_ -= 1;
      break;
    case platform::SB_LINEDOWN:
      top_row_ += 1;
      break;
    case platform::SB_PAGEUP:
      top_row_ -= kListPageRows - 1;
      break;
    case platform::SB_PAGEDOWN:
      top_row_ += kListPageRows - 1;
      break;
    case platform::SB_THUMBTRACK:
      top_row_ = static_cast<int32_t>((wParam >> 16) & 0xFFFF);
      break;
    default:
      break;
  }
  top_row_ = ClampTop(top_row_);
}

int GameListView::OnMouseWheel(platform::WPARAM wParam, platform::LPARAM lParam) {
  (void)lParam;
  const int32_t delta = static_cast<int16_t>(static_cast<uint16_t>((wParam >> 16) & 0xFFFF));
  const int32_t before = top_row_;
  top_row_ = ClampTop(top_row_ - delta / 40);
  return top_row_ == before ? 1 : 0;
}

int32_t GameListView::GetRowCount() const { return model_.GetRowCount(); }
int32_t GameListView::GetPageSize() const { return kListPageRows; }
int32_t GameListView::GetTopRow() const { return top_row_; }
int32_t GameListView::GetSelectedRow() const { return selected_row_; }
int32_t GameListView::GetSelectedRowId() const { return selected_row_ >= 0 ? selected_id_ : -1; }

int32_t GameListView::GetRowId(int32_t row) const {
  if (row < 0 || row >= GetRowCount()) return -1;
  return static_cast<int32_t>(model_.GetValue(row, 1));
}

int32_t GameListView::GetRowSeats(int32_t row) const {
  if (tournament_ != 0 || row < 0 || row >= GetRowCount()) return 0;
  return static_cast<int32_t>(model_.GetValue(row, 2));
}

int32_t GameListView::GetRowGameType(int32_t row) const {
  if (tournament_ != 0 || row < 0 || row >= GetRowCount()) return 0;
  return static_cast<int32_t>(model_.GetValue(row, 3));
}

int32_t GameListView::GetRowServerId(int32_t row) const {
  if (row < 0 || row >= GetRowCount()) return -1;
  return static_cast<int32_t>(model_.GetValue(row, 0));
}

bool GameListView::IsRealMoneyRow(int32_t row) const { return model_.IsRealMoneyRow(row); }

const char* GameListView::GetCell(int32_t row, int32_t column) const {
  return model_.GetCell(row, column);
}

const char* GameListView::GetRowName(int32_t row) const {
  return layout_ != nullptr ? model_.GetCell(row, layout_->name_column) : "";
}

const char* GameListView::GetRowLabel(int32_t row) const {
  if (layout_ == nullptr || layout_->label_column < 0) return "";
  return model_.GetCell(row, layout_->label_column);
}

int32_t GameListView::GetListCode() const { return list_code_; }
bool GameListView::IsTournamentList() const { return tournament_ != 0; }
void GameListView::SetWaitListState(int32_t state) { wait_list_state_ = state; }

int32_t GameListView::GetWaitListState() const {
  return selected_row_ >= 0 ? wait_list_state_ : 0;
}

void GameListView::FillHotPickDefaults(uint8_t server_ids[4], uint32_t table_ids[4],
                                       int32_t list_codes[4], int32_t real_money[4],
                                       const char* labels[4]) const {
  for (int32_t slot = 0; slot < 4; ++slot) {
    server_ids[slot] = 0;
    table_ids[slot] = 0;
    list_codes[slot] = 0;
    real_money[slot] = 0;
    labels[slot] = "";
  }
  if (layout_ == nullptr || layout_->players_column < 0) return;
  static constexpr char kPreferred[] = "546372819";
  int32_t slot = 3;
  for (const char* players = kPreferred; *players != '\0' && slot >= 0; ++players) {
    for (int32_t row = 0; row < GetRowCount() && slot >= 0; ++row) {
      const char* cell = model_.GetCell(row, layout_->players_column);
      if (cell[0] != *players || cell[1] != '\0') continue;
      server_ids[slot] = static_cast<uint8_t>(GetRowServerId(row));
      table_ids[slot] = static_cast<uint32_t>(GetRowId(row));
      list_codes[slot] = list_code_;
      real_money[slot] = IsRealMoneyRow(row) ? 1 : 0;
      labels[slot] = GetRowLabel(row);
      --slot;
    }
  }
}

GameListView& GameListView_Get(int32_t sub_lobby) {
  static GameListView views[kSubLobbies];
  return views[sub_lobby >= 0 && sub_lobby < kSubLobbies ? sub_lobby : 0];
}
