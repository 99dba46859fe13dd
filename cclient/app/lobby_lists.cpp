#include "cclient/app/lobby_lists.h"

#include <vector>

#include "cclient/base/client_globals.h"
#include "cclient/base/debug_log.h"
#include "cclient/app/game_list_view.h"
#include "cclient/base/lobby_list_body.h"
#include "cclient/app/main_window.h"
#include "cclient/base/options.h"
#include "cclient/base/server_list.h"
#include "platform/controls/control_types.h"
#include "platform/controls/scroll_bar.h"
#include "platform/window/paint.h"
#include "platform/window/window.h"

namespace {

// The list value each sub-lobby expects: the game type of its game, or the tournament list
// selector.
constexpr int32_t kExpectedListValue[kSubLobbies] = {1, 7, 6, 2, 4, 3, 0, 5, 100, 101, 102, 103};

constexpr int32_t kScrollBarX = 632;
constexpr int32_t kScrollBarY = 146;
constexpr int32_t kScrollBarWidth = 14;
constexpr int32_t kScrollBarHeight = 252;

// The unpacked body of the last list; kept for the program's life, grown to the largest list.
std::vector<uint8_t>& UnpackBuffer() {
  static std::vector<uint8_t> buffer;
  return buffer;
}

void UpdateScrollBar(const GameListView& view) {
  MainWindowState& main = g_Main;
  if (main.list_scroll_bar == nullptr && MainWindow != nullptr) {
    main.list_scroll_bar = platform::CreateWindow(
        platform::WC_SCROLLBAR, "", platform::WS_CHILD | platform::SBS_VERT, kScrollBarX,
        kScrollBarY, kScrollBarWidth, kScrollBarHeight, MainWindow, nullptr, ProgramInstance,
        nullptr);
    if (main.list_scroll_bar != nullptr) platform::ShowWindow(main.list_scroll_bar, platform::SW_SHOW);
  }
  if (main.list_scroll_bar == nullptr) return;
  platform::SCROLLINFO info{};
  info.cbSize = sizeof info;
  info.fMask = platform::SIF_RANGE | platform::SIF_PAGE | platform::SIF_POS |
               platform::SIF_DISABLENOSCROLL;
  info.nMin = 0;
  info.nMax = view.GetRowCount() - 1;
  info.nPage = static_cast<uint32_t>(view.GetPageSize());
  info.nPos = view.GetTopRow();
  platform::SetScrollInfo(main.list_scroll_bar, platform::SB_CTL, &info, true);
}

// Gives the hot-picks panel its first suggestions from the list, with their servers' addresses
// from the game-server list; each suggested table that is not open gets its join button.
void FillHotPickDefaults(const GameListView& view) {
  MainWindowState& main = g_Main;
  uint8_t server_ids[kHotPickSlots] = {};
  uint32_t table_ids[kHotPickSlots] = {};
  int32_t list_codes[kHotPickSlots] = {};
  int32_t real_money[kHotPickSlots] = {};
  const char* labels[kHotPickSlots] = {};
  view.FillHotPickDefaults(server_ids, table_ids, list_codes, real_money, labels);
  const char* hosts[kHotPickSlots] = {};
  uint16_t ports[kHotPickSlots] = {};
  uint8_t real[kHotPickSlots] = {};
  const ServerList& servers = GlobalServerList();
  for (int32_t slot = 0; slot < kHotPickSlots; ++slot) {
    hosts[slot] = servers.GetHost(server_ids[slot]);
    ports[slot] = servers.GetPort(server_ids[slot]);
    real[slot] = real_money[slot] != 0 ? 1 : 0;
  }
  const platform::HDC window_dc = MainWindow != nullptr ? platform::GetDC(MainWindow) : nullptr;
  main.hot_picks.FillDefaults(main.back_dc, window_dc, server_ids, hosts, ports, table_ids, labels,
                              list_codes, real);
  if (window_dc != nullptr) platform::ReleaseDC(MainWindow, window_dc);
  for (int32_t slot = 0; slot < kHotPickSlots; ++slot) {
    if (main.hot_picks.GetTableId(slot) != 0 && main.hot_picks.GetOpenTableId(slot) == 0) {
      main.lobby_buttons.ShowButton(LOBBY_BUTTON_FIRST_HOT_PICK_JOIN + slot);
    }
  }
}

}  // namespace

int Main_HandleLobbyList(const uint8_t* payload, uint32_t length, int tournament) {
  MainWindowState& main = g_Main;
  if (main.state != MAIN_STATE_LOBBY) return 0;
  std::vector<uint8_t>& buffer = UnpackBuffer();
  uint32_t body_length = 0;
  if (LobbyList_Unpack(payload, length, &buffer, &body_length) != 0) return 1;
  if (body_length < 5) return 1;
  const uint8_t* body = buffer.data();

  int32_t list_value = -1;
  if (tournament != 0) {
    list_value = static_cast<int32_t>((static_cast<uint32_t>(body[0]) << 24) |
                                      (static_cast<uint32_t>(body[1]) << 16) |
                                      (static_cast<uint32_t>(body[2]) << 8) | body[3]);
  } else {
    char code[5] = {static_cast<char>(body[0]), static_cast<char>(body[1]),
                    static_cast<char>(body[2]), static_cast<char>(body[3]), '\0'};
    list_value = Main_GameCodeToType(code);
  }
  const int32_t sub_lobby = main.shown_sub_lobby;
  if (sub_lobby < 0 || sub_lobby >= kSubLobbies || list_value != kExpectedListValue[sub_lobby]) {
    return 0;
  }

  GameListView& view = GameListView_Get(sub_lobby);
  DebugLog_WriteLevel(2, "Trying ID %ld for new list view create.\n",
                      static_cast<long>(view.GetSelectedRowId()));
  const int32_t state =
      g_UserOptions.column_sort_states[tournament != 0 ? kSortTourneys : kSortRingGames];
  if (view.SetRows(body + 4, body_length - 4, tournament, list_value, state / 2,
                   state % 2 != 0 ? 1 : -1, sub_lobby) != 0) {
    return 1;
  }
  if (main.remembered_row != -1) main.remembered_row = view.GetSelectedRow();
  Main_UpdateJoinButtons();
  Main_ShowWaitListButtons(view.GetWaitListState());
  UpdateScrollBar(view);
  if (main.requested_sub_lobby == sub_lobby) main.refresh_countdown_s = kLobbyRefreshSeconds;
  if (main.hot_picks.NeedsDefaults()) FillHotPickDefaults(view);
  Main_RedrawGameList();
  Main_RedrawLobbyButtons();
  return 0;
}
