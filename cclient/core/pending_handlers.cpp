// The main window's, sign-in's and the lobby's operations that this build does not have yet.
// Each one logs its call and does nothing else (a packet handler answers "not handled"), except
// where it says what it stands in for. Each function moves out of this file into its own module
// when that module is written.
#include <cstdint>

#include "cclient/core/debug_log.h"
#include "cclient/core/lobby_lists.h"
#include "cclient/core/login.h"
#include "cclient/core/main_window.h"
#include "cclient/core/main_message_box.h"
#include "cclient/core/player_flags.h"
#include "cclient/core/game_list_view.h"
#include "cclient/lobby/buddy_list.h"
#include "cclient/lobby/history_bonus_window.h"
#include "cclient/lobby/pending_bonus_window.h"
#include "cclient/net/use_packet.h"

namespace {

int NotHandled(const char* handler, uint32_t length) {
  DebugLog_WriteLevel(1, "%s(%ld bytes): not in this build.\n", handler,
                      static_cast<long>(length));
  return kPacketUnknown;
}

}  // namespace


// Only the closing of the bonus windows is built: nobody stays signed in without them.
void Login_SetUserLoggedOut() {
  PendingBonusWindow_Close();
  HistoryBonusWindow_Close();
  DebugLog_WriteLevel(1, "Login_SetUserLoggedOut: not in this build.\n");
}

void Login_ScramblePassword(uint8_t* buffer) {
  DebugLog_WriteLevel(1, "Login_ScramblePassword: not in this build.\n");
}

int Login_HandleLoginResult(const uint8_t* payload, uint32_t length) {
  return NotHandled("Login_HandleLoginResult", length);
}

int Login_HandleLogoutResult(uint8_t connection_id, const uint8_t* payload, uint32_t length) {
  return NotHandled("Login_HandleLogoutResult", length);
}

int Login_HandleTempPasswordEntrySuccessful(const uint8_t* payload, uint32_t length) {
  return NotHandled("Login_HandleTempPasswordEntrySuccessful", length);
}

int Login_HandleSendEmailAddressResult(const uint8_t* payload, uint32_t length) {
  return NotHandled("Login_HandleSendEmailAddressResult", length);
}

int Main_HandleLobbyList(const uint8_t* payload, uint32_t length, int tournament) {
  return NotHandled(tournament ? "Main_HandleLobbyList (tournaments)" : "Main_HandleLobbyList",
                    length);
}

void Login_ShowDialog(platform::HINSTANCE instance, platform::HWND parent, int32_t mode,
                      int32_t table_id, int32_t seat) {
  DebugLog_WriteLevel(1, "Login_ShowDialog(mode %ld): not in this build.\n",
                      static_cast<long>(mode));
}

bool Login_IsLoggedIn() { return false; }
const char* Login_GetUserName() { return ""; }

// Only the closing of the signed-in user's windows is built; the rest of log-out is not.
void Login_LogOut() {
  BuddyList_Close();
  PendingBonusWindow_Close();
  HistoryBonusWindow_Close();
  DebugLog_WriteLevel(1, "Login_LogOut: not in this build.\n");
}

void Login_OpenSignUp() { DebugLog_WriteLevel(1, "Login_OpenSignUp: not in this build.\n"); }

int Login_PreTranslate(platform::MSG* message) { return 1; }

void Main_OpenJoinWaitList(uint32_t table_id, uint32_t seats) {
  DebugLog_WriteLevel(1, "Main_OpenJoinWaitList(%lu, %lu): not in this build.\n",
                      static_cast<unsigned long>(table_id), static_cast<unsigned long>(seats));
}

// The list views. Until they are built every view is empty: no rows, no selection, and the sort
// state asked for stays in force.
GameListView& GameListView_Get(int32_t sub_lobby) {
  static GameListView views[kSubLobbies];
  return views[sub_lobby >= 0 && sub_lobby < kSubLobbies ? sub_lobby : 0];
}

int32_t GameListView::Setup(int32_t money_kind, int32_t limit_kind, int32_t tourney_family,
                            int32_t sort_column, int32_t sort_direction, int32_t sub_lobby,
                            platform::HDC window_dc, platform::HDC back_dc,
                            platform::HDC background_dc) {
  DebugLog_WriteLevel(1, "GameListView::Setup(sub-lobby %ld): not in this build.\n",
                      static_cast<long>(sub_lobby));
  // The view places the headings of its columns; with no columns none is shown.
  for (int32_t id = LOBBY_BUTTON_FIRST_HEADING; id <= LOBBY_BUTTON_LAST_HEADING; ++id) {
    g_Main.lobby_buttons.HideButton(id);
  }
  return 2 * sort_column + (sort_direction != -1 ? 1 : 0);
}

void GameListView::SetSort(int32_t column, int32_t direction) {
  DebugLog_WriteLevel(1, "GameListView::SetSort: not in this build.\n");
}

void GameListView::Draw(platform::HDC window_dc, platform::HDC back_dc,
                        platform::HDC background_dc, int32_t top_row, int32_t sub_lobby) {}

int GameListView::HitTest(int32_t x, int32_t y) { return 1; }
void GameListView::OnVScroll(platform::WPARAM wParam) {}
int GameListView::OnMouseWheel(platform::WPARAM wParam, platform::LPARAM lParam) { return 1; }
int32_t GameListView::GetRowCount() const { return 0; }
int32_t GameListView::GetPageSize() const { return 18; }
int32_t GameListView::GetTopRow() const { return 0; }
int32_t GameListView::GetSelectedRow() const { return -1; }
int32_t GameListView::GetRowId(int32_t row) const { return -1; }
int32_t GameListView::GetRowSeats(int32_t row) const { return 0; }
int32_t GameListView::GetRowServerId(int32_t row) const { return -1; }
bool GameListView::IsRealMoneyRow(int32_t row) const { return false; }
bool GameListView::IsTournamentList() const { return false; }
void GameListView::SetWaitListState(int32_t state) {}
int32_t GameListView::GetWaitListState() const { return 0; }
