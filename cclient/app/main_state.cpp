// The main state machine: the splash's states, entering the lobby, the sub-lobby switch, and the
// lobby's connection (its supervision while connecting, its link check, its moves between
// connections and its list refresh).
#include <cstdio>
#include <cstring>

#include "cclient/base/client_globals.h"
#include "cclient/base/debug_log.h"
#include "cclient/app/game_list_view.h"
#include "cclient/app/login.h"
#include "cclient/app/main_window.h"
#include "cclient/base/options.h"
#include "cclient/base/server_list.h"
#include "cclient/app/splash_window.h"
#include "cclient/base/startup_file.h"
#include "cclient/app/game_list.h"
#include "cclient/lobby/nav_tree.h"
#include "cclient/lobby/web_pages.h"
#include "cclient/net/network.h"
#include "cclient/net/packet_types.h"
#include "cclient/table/table_list.h"
#include "cclient/widgets/jpeg_file.h"
#include "platform/controls/menu.h"
#include "platform/controls/scroll_bar.h"
#include "platform/system/clock.h"
#include "platform/system/paths.h"
#include "platform/window/paint.h"
#include "platform/window/window.h"

namespace {

constexpr const char* kLobbyPictureFile = "sublobby.a";
constexpr const char* kHotPicksPictureFile = "hotpicks.a";
constexpr uint32_t kRetryPauseMs = 3000;
// The retry counter at which the connect supervision stops clearing the failure marks.
constexpr int32_t kLastRetryRound = 4;
constexpr uint32_t kNotATourneyFamily = 2;
constexpr int32_t kFirstTourneyListSelector = 100;
// The sub-lobbies' game codes in GAMELISTREQUEST: two letters and two NUL bytes.
constexpr char kGameCodes[kFirstTourneySubLobby][3] = {"HO", "OM", "P7", "MC",
                                                       "CP", "B2", "PA", "BJ"};

void SetLobbyConnection(uint8_t connection_id, uint8_t server_list_index) {
  g_Main.lobby_connection = connection_id;
  g_Main.server_list_index = server_list_index;
  NetSession_SetLobbyConnectionId(connection_id);
}

// Drops the lobby's connection at once and marks its server failed.
void DropLobbyConnection() {
  if (g_Main.lobby_connection != kNoLobbyConnection) {
    GlobalNetwork().Release(g_Main.lobby_connection, true);
  }
  GlobalServerList().MarkFailed(g_Main.server_list_index);
  SetLobbyConnection(kNoLobbyConnection, g_Main.server_list_index);
}

// The next usable server, clearing the failure marks and picking once more when none is usable.
uint8_t PickAgainWhenNoneLeft() {
  ServerList& servers = GlobalServerList();
  uint8_t index = servers.Pick();
  if (index == kNoServer) {
    servers.ClearFailed();
    index = servers.Pick();
  }
  return index;
}

// Connects the lobby to a server of the list. A connection that cannot be made leaves the lobby
// without one (255 is never kept as a connection); false then.
bool ConnectLobbyTo(uint8_t index) {
  const ServerList& servers = GlobalServerList();
  const uint8_t id =
      GlobalNetwork().Init(MainWindow, servers.GetHost(index), servers.GetPort(index), index);
  if (id == kNoConnection) {
    SetLobbyConnection(kNoLobbyConnection, index);
    return false;
  }
  SetLobbyConnection(id, index);
  return true;
}

// The lobby's picture: decoded, checked, and made the background; a picture that cannot be used
// leaves a black background of the lobby's size.
void LoadLobbyPicture() {
  MainWindowState& main = g_Main;
  int32_t width = 0;
  int32_t height = 0;
  int32_t bits = 0;
  bool usable = false;
  if (const char* error = DecodeJpegFile(platform::NativePath(kLobbyPictureFile).c_str(), &width,
                                         &height, &bits, &main.background_pixels)) {
    DebugLog_Write("Unable to load background JPEG (%s).\n", error);
  } else if (width % 4 != 0 || bits != 24) {
    DebugLog_Write("Invalid background JPEG width or depth.\n");
    FreeDecodedImage(&main.background_pixels);
  } else {
    usable = true;
  }
  if (!usable) {
    width = kMainClientWidth;
    height = kMainClientHeight;
  }
  main.background_width = width;
  main.background_height = height;

  const platform::HBITMAP picture =
      platform::CreateCompatibleBitmap(main.background_dc, width, height);
  if (usable) {
    SwapRedBlue(main.background_pixels, width * height);
    platform::BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(platform::BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // top-down
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = platform::BI_RGB;
    platform::SetDIBits(main.background_dc, picture, 0, static_cast<uint32_t>(height),
                        main.background_pixels, &info, platform::DIB_RGB_COLORS);
    FreeDecodedImage(&main.background_pixels);
  }
  Main_ReleaseLobbyPicture();
  main.lobby_picture = picture;
  platform::SelectObject(main.background_dc, picture);
  if (!usable) {
    const platform::RECT whole{0, 0, width, height};
    platform::FillRect(main.background_dc, &whole,
                       static_cast<platform::HBRUSH>(platform::GetStockObject(platform::BLACK_BRUSH)));
  }
  platform::BitBlt(main.back_dc, 0, 0, width, height, main.background_dc, 0, 0, platform::SRCCOPY);
}

void LoadHotPicks() {
  MainWindowState& main = g_Main;
  if (main.hot_picks.IsLoaded()) return;
  const platform::HDC window_dc = platform::GetDC(MainWindow);
  main.hot_picks.Load(main.back_dc, window_dc, kHotPicksPictureFile);
  platform::ReleaseDC(MainWindow, window_dc);
  for (int32_t slot = 0; slot < kHotPickSlots; ++slot) {
    if (main.hot_picks.GetTableId(slot) != 0) {
      main.lobby_buttons.ShowButton(LOBBY_BUTTON_FIRST_HOT_PICK_JOIN + slot);
    }
  }
}

void DrawBanners() {
  const platform::HDC window_dc = platform::GetDC(MainWindow);
  g_Main.left_banner.Draw(window_dc, g_Main.back_dc);
  g_Main.right_banner.Draw(window_dc, g_Main.back_dc);
  platform::ReleaseDC(MainWindow, window_dc);
}

// The lobby after a sub-lobby switch or on entry: no row selected, fresh lists on the next tick.
void ResetSelection() {
  g_Main.remembered_row = -1;
  GameList_BuildBalancesText();
  Main_UpdateJoinButtons();
  g_Main.refresh_countdown_s = 0.0f;
}

void ShowLobby() {
  MainWindowState& main = g_Main;
  if (MainWindow == nullptr || main.back_dc == nullptr) {
    main.state = MAIN_STATE_LOBBY;
    return;
  }
  LoadLobbyPicture();
  main.last_link_quality = -1;
  LoadHotPicks();
  DrawBanners();
  platform::ShowWindow(MainWindow, platform::SW_SHOW);
  platform::UpdateWindow(MainWindow);
  if (main.shown_sub_lobby >= kFirstTourneySubLobby) {
    main.lobby_buttons.ShowButton(LOBBY_BUTTON_GO_TO_TOURNAMENT);
  } else {
    main.lobby_buttons.ShowButton(LOBBY_BUTTON_JOIN_TABLE);
  }
  ResetSelection();
  main.state = MAIN_STATE_LOBBY;
  // Everything that is drawn over the picture, drawn afresh.
  main.lobby_buttons.Draw(main.back_dc, main.background_dc, true, nullptr);
  Main_RedrawCounters();
  Main_RedrawInfoPanel();
  const platform::HDC window_dc = platform::GetDC(MainWindow);
  GlobalNavTree().DrawPanel(window_dc, main.back_dc, main.background_dc);
  platform::ReleaseDC(MainWindow, window_dc);
  platform::InvalidateRect(MainWindow, nullptr, false);
  Splash_Destroy();
}

void ShowFullUpgrade() {
  (void)GlobalTableList().CloseAll(1, 0, kAnyConnection);
  if (g_Main.lobby_connection != kNoLobbyConnection) {
    GlobalNetwork().Release(g_Main.lobby_connection, true);
  }
  SetLobbyConnection(kNoLobbyConnection, g_Main.server_list_index);
  GlobalNetwork().CloseUnreferenced();
  if (MainWindow != nullptr) platform::ShowWindow(MainWindow, platform::SW_HIDE);
  Splash_Show(ProgramInstance, MainWindow, "Full upgrade required.",
              kSplashClose | kSplashFullUpgrade);
}

void ShowUpgrading() {
  char text[128];
  const long percent =
      static_cast<long>(GlobalNetwork().GetFrameProgress(g_Main.lobby_connection) * 100.0f);
  std::snprintf(text, sizeof text, "Upgrading (%ld%% complete)\n\nPlease Wait...", percent);
  Splash_Show(ProgramInstance, MainWindow, text, kSplashClose);
}

// A heading latched for sort state s shows the down picture of its direction: the text columns
// start ascending, the others descending.
void LatchHeading(int32_t sort_state) {
  ButtonList& buttons = g_Main.lobby_buttons;
  const int32_t heading = sort_state / 2 + LOBBY_BUTTON_FIRST_HEADING;
  const bool text_column = heading == 9 || heading == 11 || heading == 25;
  const int32_t bit = sort_state % 2;
  buttons.Latch(heading);
  buttons.SetDownImage(heading, ((bit == 0 && !text_column) || (bit == 1 && text_column)) ? 1 : 0);
}

}  // namespace

void Main_ReleaseLobbyPicture() {
  MainWindowState& main = g_Main;
  if (main.lobby_picture == nullptr) return;
  if (main.background_dc != nullptr && main.background_bitmap != nullptr) {
    platform::SelectObject(main.background_dc, main.background_bitmap);
  }
  platform::DeleteObject(main.lobby_picture);
  main.lobby_picture = nullptr;
}

void Main_SetState(int32_t state) {
  MainWindowState& main = g_Main;
  if (state == main.state || state < MAIN_STATE_NONE || state > MAIN_STATE_LOBBY) return;
  DebugLog_WriteLevel(1, "Main_SetState(%ld)\n", static_cast<long>(state));
  for (int32_t id : {LOBBY_BUTTON_GO_TO_TOURNAMENT, LOBBY_BUTTON_JOIN_TABLE,
                     LOBBY_BUTTON_JOIN_WAITING_LIST, LOBBY_BUTTON_LEAVE_WAITING_LIST}) {
    main.lobby_buttons.HideButton(id);
  }
  main.remembered_row = -1;
  main.refresh_countdown_s = 0.0f;
  main.requested_sub_lobby = kNoSubLobby;
  FreeDecodedImage(&main.background_pixels);
  if (main.list_scroll_bar != nullptr) {
    platform::DestroyWindow(main.list_scroll_bar);
    main.list_scroll_bar = nullptr;
  }
  switch (state) {
    case MAIN_STATE_CONNECTING:
      Splash_Show(ProgramInstance, MainWindow, "Welcome.\n\nConnecting to server.", 0);
      break;
    case MAIN_STATE_CANNOT_CONNECT:
      Splash_Show(ProgramInstance, MainWindow, "Unable to connect to server.",
                  kSplashClose | kSplashRetry);
      break;
    case MAIN_STATE_UPGRADING:
      ShowUpgrading();
      break;
    case MAIN_STATE_FULL_UPGRADE:
      ShowFullUpgrade();
      break;
    case MAIN_STATE_LOBBY:
      ShowLobby();
      return;
    default:
      break;
  }
  main.state = state;
}

void Main_EnterLobbyIfNotThere() {
  if (g_Main.state != MAIN_STATE_LOBBY) Main_EnterLobby();
}

void Main_EnterLobby() {
  MainWindowState& main = g_Main;
  if (main.menu_not_set != 0 && MainWindow != nullptr) {
    main.menu_not_set = 0;
    platform::SetMenu(MainWindow, Main_CreateMainMenu(PlayMoneyEdition != 0));
  }
  Main_UpdateMenu();
  main.shown_sub_lobby = main.initial_sub_lobby >= 0 && main.initial_sub_lobby < kSubLobbies
                             ? main.initial_sub_lobby
                             : 0;
  Main_SetState(MAIN_STATE_LOBBY);
  Main_SwitchSubLobby(GlobalNavTree().GetSelectedEntry());
  Main_BringToFront();
  if (main.show_sign_in_on_first_lobby != 0) {
    main.show_sign_in_on_first_lobby = 0;
    if (!Login_IsLoggedIn()) {
      Login_ShowDialog(ProgramInstance, MainWindow, LOGIN_MODE_PLAIN, -1, -1);
    }
  }
}

void main_ReturnToMainLobby(long force) {
  DebugLog_WriteLevel(1, "main_ReturnToMainLobby (long ForceFlag)\n");
  Main_SetState(MAIN_STATE_LOBBY);
}

void Main_SwitchSubLobby(int32_t entry) {
  if (entry < 0) return;
  MainWindowState& main = g_Main;
  const int32_t sub_lobby = NavTree_GetGameKind(entry);
  if (sub_lobby < 0 || sub_lobby >= kSubLobbies) return;
  main.shown_sub_lobby = sub_lobby;
  const int32_t family = NavTree_GetTourneyFamily(entry);
  const uint32_t group = family != static_cast<int32_t>(kNotATourneyFamily) ? kSortTourneys
                                                                              : kSortRingGames;
  int32_t& sort_state = g_UserOptions.column_sort_states[group];
  GameListView& view = GameListView_Get(sub_lobby);
  const platform::HDC window_dc = MainWindow != nullptr ? platform::GetDC(MainWindow) : nullptr;
  const int32_t new_state =
      view.Setup(NavTree_GetMoneyKind(entry), NavTree_GetLimitKind(entry), family, sort_state / 2,
                 sort_state % 2 != 0 ? 1 : -1, sub_lobby, window_dc, main.back_dc,
                 main.background_dc);
  if (window_dc != nullptr) platform::ReleaseDC(MainWindow, window_dc);
  main.lobby_buttons.Unlatch(sort_state / 2 + LOBBY_BUTTON_FIRST_HEADING);
  sort_state = new_state;
  LatchHeading(new_state);

  if (main.list_scroll_bar != nullptr) {
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
  Main_RedrawGameList();
  ResetSelection();
  Main_ShowWaitListButtons(view.GetWaitListState());
  Main_RedrawInfoPanel();
  Main_RedrawLobbyButtons();
}

void Main_SuperviseConnect(float seconds) {
  MainWindowState& main = g_Main;
  main.connect_countdown_s -= seconds;
  const bool failed = main.lobby_connection != kNoLobbyConnection &&
                      GlobalNetwork().GetFailedConnectCount(main.lobby_connection) > 0;
  if (!failed && main.connect_countdown_s >= 0.0f) return;
  if (main.connect_countdown_s < 0.0f) main.connect_countdown_s = kConnectTimeoutSeconds;

  DropLobbyConnection();
  ServerList& servers = GlobalServerList();
  uint8_t index = servers.Pick();
  if (index == kNoServer && main.connect_retry_counter < kLastRetryRound) {
    servers.ClearFailed();
    index = servers.Pick();
    main.connect_retry_counter = kLastRetryRound;
  }
  if (index == kNoServer || !ConnectLobbyTo(index)) Main_SetState(MAIN_STATE_CANNOT_CONNECT);
}

void Main_CheckLobbyLink(float seconds) {
  MainWindowState& main = g_Main;
  if (main.link_check_countdown_s >= 0.0f) {
    main.link_check_countdown_s -= seconds;
    if (main.link_check_countdown_s >= 0.0f) return;
  }
  Network& network = GlobalNetwork();
  if (network.GetLinkQuality(main.lobby_connection) == 0) {
    DropLobbyConnection();
    uint8_t id = kNoConnection;
    uint8_t index = 0;
    if (network.FindLiveConnection(&id, &index) != 0) {
      SetLobbyConnection(id, index);
      network.AddRef(id);
    } else {
      index = PickAgainWhenNoneLeft();
      if (index != kNoServer) {
        (void)ConnectLobbyTo(index);
        main.refresh_countdown_s = kLobbyRefreshSeconds;
      }
    }
  }
  main.link_check_countdown_s = kLinkCheckSeconds;
}

void Main_RequestLobbyRefresh() {
  MainWindowState& main = g_Main;
  if (main.state != MAIN_STATE_LOBBY) return;
  main.requested_sub_lobby = main.shown_sub_lobby;
  Network& network = GlobalNetwork();
  DebugLog_WriteLevel(1, "Requesting lobby info refresh.\n");
  (void)network.SendPacket(PACKETTYPE_REQUESTSERVERIDIPMAP, nullptr, 0, main.lobby_connection);
  (void)network.SendPacket(PACKETTYPE_MAINLOBBYINFOREQUEST, nullptr, 0, main.lobby_connection);
  DebugLog_WriteLevel(1, "Requesting game list refresh.\n");
  int32_t selector = 0;
  if (main.shown_sub_lobby >= kFirstTourneySubLobby) {
    selector = kFirstTourneyListSelector + main.shown_sub_lobby - kFirstTourneySubLobby;
    const uint8_t payload[4] = {0, 0, 0, static_cast<uint8_t>(selector)};
    (void)network.SendPacket(PACKETTYPE_TOURNEYLISTREQUEST, payload, sizeof payload,
                             main.lobby_connection);
  } else {
    uint8_t code[4] = {};
    std::memcpy(code, kGameCodes[main.shown_sub_lobby], 2);
    (void)network.SendPacket(PACKETTYPE_GAMELISTREQUEST, code, sizeof code, main.lobby_connection);
  }
  GameList_RefreshDetails(selector, 0);
}

void Main_RetryConnect() {
  MainWindowState& main = g_Main;
  Main_SetState(MAIN_STATE_CONNECTING);
  platform::Sleep(kRetryPauseMs);
  main.connect_countdown_s = kConnectTimeoutSeconds;
  ServerList& servers = GlobalServerList();
  servers.ClearFailed();
  main.connect_retry_counter = static_cast<int32_t>(kDefaultServers);
  const uint8_t index = servers.Pick();
  if (index == kNoServer || !ConnectLobbyTo(index)) Main_SetState(MAIN_STATE_CANNOT_CONNECT);
}

void Main_HandleSplashEsc() {
  DebugLog_WriteLevel(1, "Main_HandleSplashEsc (void)\n");
  Main_ReturnToHostOrExit();
}

void Main_HandleSplashClick() {
  DebugLog_WriteLevel(1, "Main_HandleSplashClick (void)\n");
  if (g_Main.state == MAIN_STATE_CANNOT_CONNECT) {
    Main_ReturnToHostOrExit();
  } else if (g_Main.state == MAIN_STATE_FULL_UPGRADE) {
    OpenSplashPage(MainWindow);
    Main_ReturnToHostOrExit();
  }
}

void Main_AdoptLobbyConnection(uint8_t connection_id) {
  Network& network = GlobalNetwork();
  if (connection_id < kNetworkSlots && connection_id != g_Main.lobby_connection) {
    if (g_Main.lobby_connection != kNoLobbyConnection) {
      network.Release(g_Main.lobby_connection, false);
    }
    SetLobbyConnection(connection_id, network.GetServerListIndex(connection_id));
    network.AddRef(connection_id);
  }
  network.CloseUnreferenced();
}

void Main_SetLobbyConnection(uint8_t server_list_index, uint8_t connection_id) {
  if (connection_id >= kNetworkSlots || connection_id == g_Main.lobby_connection) return;
  Network& network = GlobalNetwork();
  network.AddRef(connection_id);
  if (g_Main.lobby_connection != kNoLobbyConnection) {
    network.Release(g_Main.lobby_connection, false);
  }
  SetLobbyConnection(connection_id, server_list_index);
}

void Main_MoveLobbyConnection() {
  MainWindowState& main = g_Main;
  Network& network = GlobalNetwork();
  if (main.lobby_connection == kNoLobbyConnection ||
      network.GetRefCount(main.lobby_connection) != 1 || network.GetTotalRefs() <= 1) {
    return;
  }
  network.Release(main.lobby_connection, false);
  SetLobbyConnection(kNoLobbyConnection, main.server_list_index);
  uint8_t id = kNoConnection;
  uint8_t index = 0;
  if (network.FindLiveConnection(&id, &index) != 0) {
    SetLobbyConnection(id, index);
    network.AddRef(id);
    return;
  }
  index = PickAgainWhenNoneLeft();
  if (index != kNoServer) (void)ConnectLobbyTo(index);
}
