#include "cclient/base/core_access.h"

#include "cclient/app/game_list_view.h"
#include "cclient/app/main_window.h"
#include "cclient/base/startup_file.h"

uint8_t Main_GetLobbyConnection() { return g_Main.lobby_connection; }
platform::HFONT Main_GetPanelTitleFont() { return g_Main.title_font; }
platform::HFONT Main_GetPanelBodyFont() { return g_Main.small_font; }

void Main_ShowSignUpButton(bool shown) {
  if (shown) {
    // Drawn afresh: what stands under it may have been painted over.
    g_Main.lobby_buttons.ShowButton(LOBBY_BUTTON_SIGN_UP);
    g_Main.lobby_buttons.InvalidateButton(LOBBY_BUTTON_SIGN_UP);
  } else {
    g_Main.lobby_buttons.HideButton(LOBBY_BUTTON_SIGN_UP);
  }
}

GameListView& Main_GetShownListView() { return GameListView_Get(g_Main.shown_sub_lobby); }
bool Main_IsPlayMoneyEdition() { return PlayMoneyEdition != 0; }
