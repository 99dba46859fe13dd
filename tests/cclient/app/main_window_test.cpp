// The main window in the program's own process, headless: the state machine with its splash, the
// connect supervision and the list refresh on the fake clock against loopback servers, the lobby
// session packets, the menu switches, the hidden key sequence and the button click sound.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <functional>
#include <new>
#include <string>
#include <thread>
#include <vector>

#include "cclient/base/client_globals.h"
#include "cclient/app/game_list_view.h"
#include "cclient/base/hidden_picture.h"
#include "cclient/app/lobby_lists.h"
#include "cclient/app/login.h"
#include "cclient/app/lobby_session.h"
#include "cclient/base/main_message_box.h"
#include "cclient/app/main_window.h"
#include "cclient/base/options.h"
#include "cclient/base/server_list.h"
#include "cclient/base/sound_bank.h"
#include "cclient/app/splash_window.h"
#include "cclient/app/startup.h"
#include "cclient/base/startup_file.h"
#include "cclient/net/network.h"
#include "cclient/net/packet_types.h"
#include "cclient/net/use_packet.h"
#include "cclient/widgets/image_button.h"
#include "platform/controls/menu.h"
#include "platform/draw/gdi.h"
#include "platform/sound/sound.h"
#include "platform/system/registry.h"
#include "platform/system/user_folders.h"
#include "platform/text/text.h"
#include "platform/window/activation.h"
#include "platform/controls/control_messages.h"
#include "platform/window/headless.h"
#include "platform/window/message_box.h"
#include "platform/window/message_queue.h"
#include "platform/window/paint.h"
#include "platform/window/window.h"
#include "tests/server/game_server.h"
#include "tests/server/lobby_list_builder.h"
#include "tests/support/loopback_http_server.h"
#include "tests/support/temp_program_folder.h"

namespace {

using platform::headless::AdvanceClock;
using platform::headless::MessageBoxes;
using platform::headless::RunUntilIdle;

constexpr auto kPatience = std::chrono::seconds(20);

bool Eventually(const std::function<bool()>& done) {
  const auto give_up = std::chrono::steady_clock::now() + kPatience;
  while (!done()) {
    if (std::chrono::steady_clock::now() > give_up) return false;
    AdvanceClock(40);
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
  return true;
}

uint16_t ClosedPort() {
  GameServer probe;
  EXPECT_TRUE(probe.Start());
  const uint16_t port = probe.Port();
  probe.Stop();
  return port;
}

std::vector<uint8_t> Bytes(const std::string& text) { return {text.begin(), text.end()}; }

class MainWindowTest : public ProgramFolderTest {
 protected:
  void SetUp() override {
    TestCertificates::Get();
    ::setenv("TVK_CONFIG_ROOT", folder_.Path().c_str(), 1);
    platform::headless::Reset();
    platform::ClearRecordedSoundRequests();
    g_Main.~MainWindowState();
    new (&g_Main) MainWindowState();
    g_UserOptions = UserOptions();
    g_StartupSettings = StartupSettings_BuiltIn();
    std::snprintf(ProgramFolderPath, sizeof ProgramFolderPath, "%s", folder_.Path().c_str());
    ASSERT_NE(MyRegisterClass(nullptr), 0);
    ASSERT_NE(InitInstance(platform::SW_SHOWNORMAL), 0);
    Main_SetTimer(1);
    MakeSurfaces();
    for (int32_t id : {5, 1, 2, 3}) {
      ASSERT_EQ(g_Main.lobby_buttons.Add(id, 653, id == 2 || id == 3 ? 350 : 374, 133, 22, nullptr,
                                         nullptr, nullptr, nullptr),
                nullptr);
    }
    ASSERT_EQ(g_Main.lobby_buttons.Add(8, 653, 213, 133, 43, nullptr, nullptr, nullptr, nullptr),
              nullptr);
  }

  void TearDown() override {
    Splash_Destroy();
    GlobalNetwork().SetDispatch(&UsePacket);
    if (g_Main.lobby_connection != kNoLobbyConnection) GlobalNetwork().Release(g_Main.lobby_connection, true);
    g_Main.lobby_connection = kNoLobbyConnection;
    Main_ReleaseLobbyPicture();
    g_Main.lobby_buttons.Clear();
    ReleaseSurfaces();
    if (MainWindow != nullptr) {
      if (const platform::HMENU menu = platform::GetMenu(MainWindow)) {
        platform::SetMenu(MainWindow, nullptr);
        platform::DestroyMenu(menu);
      }
    }
    ImageButton_SetClickSound(nullptr);
    GlobalSoundBank().ReleaseAll();
    platform::headless::Reset();
    MainWindow = nullptr;
    ProgramFolderPath[0] = '\0';
    ForceExitText[0] = '\0';
    ::unsetenv("TVK_CONFIG_ROOT");
  }

  static void MakeSurfaces() {
    MainWindowState& main = g_Main;
    main.background_dc = platform::CreateCompatibleDC(nullptr);
    main.background_bitmap = platform::CreateCompatibleBitmap(main.background_dc, 1, 1);
    main.old_background_bitmap = platform::SelectObject(main.background_dc, main.background_bitmap);
    main.back_dc = platform::CreateCompatibleDC(main.background_dc);
    main.back_bitmap = platform::CreateCompatibleBitmap(main.background_dc, 800, 516);
    main.old_back_bitmap = platform::SelectObject(main.back_dc, main.back_bitmap);
    main.source_dc = platform::CreateCompatibleDC(main.background_dc);
    main.title_font = platform::CreateFont(16, 0, 0, 0, platform::FW_BOLD, 0, 0, 0, 0, 0, 0, 0, 0,
                                           "MS Sans Serif");
    main.small_font = platform::CreateFont(8, 0, 0, 0, platform::FW_BOLD, 0, 0, 0, 0, 0, 0, 0, 0,
                                           "MS Sans Serif");
    main.list_font = platform::CreateFont(12, 0, 0, 0, platform::FW_NORMAL, 0, 0, 0, 0, 0, 0, 0, 0,
                                          "MS Sans Serif");
    main.old_back_font = platform::SelectObject(main.back_dc, main.small_font);
  }

  static void ReleaseSurfaces() {
    MainWindowState& main = g_Main;
    platform::SelectObject(main.back_dc, main.old_back_font);
    platform::SelectObject(main.back_dc, static_cast<platform::HBITMAP>(main.old_back_bitmap));
    platform::SelectObject(main.background_dc, static_cast<platform::HBITMAP>(main.old_background_bitmap));
    for (platform::HFONT font : {main.title_font, main.small_font, main.list_font}) platform::DeleteObject(font);
    platform::DeleteObject(main.back_bitmap);
    platform::DeleteObject(main.background_bitmap);
    for (platform::HDC dc : {main.back_dc, main.background_dc, main.source_dc}) platform::DeleteDC(dc);
  }

  // The four default servers of the list at `ports`.
  static void UseServers(const std::vector<uint16_t>& ports) {
    ServerList& servers = GlobalServerList();
    servers = ServerList();
    for (size_t i = 0; i < ports.size(); ++i) {
      servers.SetEntry(static_cast<uint32_t>(kFirstDefaultServer + i), "127.0.0.1", ports[i], 0);
    }
  }

  static void ConnectLobby(uint16_t port) {
    g_Main.lobby_connection = GlobalNetwork().Init(MainWindow, "127.0.0.1", port, kFirstDefaultServer);
    g_Main.server_list_index = kFirstDefaultServer;
    ASSERT_NE(g_Main.lobby_connection, kNoLobbyConnection);
  }
  // Waits until the lobby connection reports a link.
  static bool LobbyLinkUp() {
    return Eventually([] { return GlobalNetwork().GetLinkQuality(g_Main.lobby_connection) != 0; });
  }
};

// ---------------------------------------------------------------------------------------------
// The state machine.

TEST_F(MainWindowTest, each_state_shows_its_splash_and_buttons_and_the_same_state_again_does_nothing) {
  struct Case {
    int32_t state;
    const char* text;
    std::vector<const char*> buttons;
    bool main_visible;
  } const cases[] = {
      {MAIN_STATE_CONNECTING, "Welcome.\n\nConnecting to server.", {}, false},
      {MAIN_STATE_CANNOT_CONNECT, "Unable to connect to server.", {"Close", "Retry", "Server Status"}, false},
      {MAIN_STATE_UPGRADING, "Upgrading (0% complete)\n\nPlease Wait...", {"Close"}, false},
      {MAIN_STATE_FULL_UPGRADE, "Full upgrade required.", {"Close", "Full Upgrade"}, false},
      {MAIN_STATE_LOBBY, nullptr, {}, true},
  };
  const char* all_buttons[] = {"Close", "Retry", "Server Status", "Full Upgrade"};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.state);
    Main_SetState(MAIN_STATE_NONE);
    platform::ShowWindow(MainWindow, platform::SW_HIDE);
    g_Main.refresh_countdown_s = 12.0f;
    g_Main.remembered_row = 4;
    g_Main.lobby_buttons.ShowButton(LOBBY_BUTTON_JOIN_WAITING_LIST);
    Main_SetState(c.state);
    // Read before the loop runs: the lobby's tick counts the countdown on in real time.
    EXPECT_EQ(g_Main.refresh_countdown_s, 0.0f);
    RunUntilIdle();
    EXPECT_EQ(g_Main.state, c.state);
    EXPECT_EQ(g_Main.remembered_row, -1);
    EXPECT_FALSE(g_Main.lobby_buttons.IsButtonShown(LOBBY_BUTTON_JOIN_WAITING_LIST));
    EXPECT_EQ(platform::IsWindowVisible(MainWindow), c.main_visible);
    if (c.text == nullptr) {
      EXPECT_EQ(Splash_GetWindow(), nullptr);  // the lobby removes the splash
      continue;
    }
    ASSERT_NE(Splash_GetWindow(), nullptr);
    EXPECT_STREQ(Splash_GetText(), c.text);
    for (const char* button : all_buttons) {
      bool wanted = false;
      for (const char* shown : c.buttons) wanted = wanted || std::strcmp(shown, button) == 0;
      EXPECT_EQ(Splash_IsButtonShown(button), wanted) << button;
    }
    // The same state again shows nothing and changes nothing.
    Splash_Destroy();
    g_Main.refresh_countdown_s = 12.0f;
    Main_SetState(c.state);
    EXPECT_EQ(Splash_GetWindow(), nullptr);
    EXPECT_EQ(g_Main.refresh_countdown_s, 12.0f);
  }
}

TEST_F(MainWindowTest, a_state_outside_zero_to_seven_changes_nothing) {
  Main_SetState(MAIN_STATE_CANNOT_CONNECT);
  g_Main.refresh_countdown_s = 12.0f;
  Main_SetState(8);
  Main_SetState(-1);
  EXPECT_EQ(g_Main.state, MAIN_STATE_CANNOT_CONNECT);
  EXPECT_EQ(g_Main.refresh_countdown_s, 12.0f);
}

TEST_F(MainWindowTest, entering_the_lobby_sets_the_menu_once_and_the_frame_keeps_an_800_by_516_client_area) {
  g_Main.menu_not_set = 1;
  Main_EnterLobbyIfNotThere();
  RunUntilIdle();
  EXPECT_EQ(g_Main.state, MAIN_STATE_LOBBY);
  const platform::HMENU menu = platform::GetMenu(MainWindow);
  ASSERT_NE(menu, nullptr);
  platform::RECT client{};
  platform::GetClientRect(MainWindow, &client);
  EXPECT_EQ(client.right, 800);
  EXPECT_EQ(client.bottom, 516);
  // The menu of the ordinary edition has the cashier.
  EXPECT_NE(platform::GetMenuState(menu, 32800, platform::MF_BYCOMMAND), platform::kMenuItemNotFound);
  Main_SetState(MAIN_STATE_CONNECTING);
  Main_EnterLobbyIfNotThere();
  EXPECT_EQ(platform::GetMenu(MainWindow), menu);
}

// ---------------------------------------------------------------------------------------------
// Connection supervision.

TEST_F(MainWindowTest, a_failed_connect_moves_to_the_next_server_and_the_last_round_ends_in_state_2) {
  // Four servers that refuse: each failure moves on; with all failed and the retry counter below 4
  // one more round starts; after it the state is 2.
  UseServers({ClosedPort(), ClosedPort(), ClosedPort(), ClosedPort()});
  g_Main.connect_retry_counter = 3;
  Main_SetState(MAIN_STATE_CONNECTING);
  ConnectLobby(GlobalServerList().GetPort(kFirstDefaultServer));
  std::vector<uint8_t> tried = {g_Main.server_list_index};
  ASSERT_TRUE(Eventually([&] {
    if (g_Main.lobby_connection != kNoLobbyConnection && g_Main.server_list_index != tried.back()) {
      tried.push_back(g_Main.server_list_index);
    }
    return g_Main.state == MAIN_STATE_CANNOT_CONNECT;
  }));
  EXPECT_EQ(g_Main.connect_retry_counter, 4);
  EXPECT_GE(tried.size(), 4u);
  EXPECT_EQ(g_Main.lobby_connection, kNoLobbyConnection);
  EXPECT_STREQ(Splash_GetText(), "Unable to connect to server.");
}

TEST_F(MainWindowTest, sixty_seconds_without_an_answer_move_to_the_next_server) {
  // Servers that shake hands and then never say a word (pings included): the connect itself never
  // fails, so only the countdown on the program clock moves the lobby on. A server that does not
  // even shake hands would fail the connect after the handshake's time limit in real time, which
  // a loaded machine can reach while the fake minute is being stepped.
  GameServer quiet_a;
  GameServer quiet_b;
  for (GameServer* server : {&quiet_a, &quiet_b}) {
    server->SetAnswerPings(false);
    ASSERT_TRUE(server->Start());
  }
  UseServers({quiet_a.Port(), quiet_b.Port()});
  Main_SetState(MAIN_STATE_CONNECTING);
  ConnectLobby(quiet_a.Port());
  const uint8_t first_index = g_Main.server_list_index;
  AdvanceClock(59000);
  EXPECT_EQ(g_Main.server_list_index, first_index);
  EXPECT_EQ(GlobalNetwork().GetFailedConnectCount(g_Main.lobby_connection), 0u);
  AdvanceClock(1500);
  EXPECT_NE(g_Main.server_list_index, first_index);
  EXPECT_EQ(g_Main.state, MAIN_STATE_CONNECTING);
  EXPECT_NE(g_Main.lobby_connection, kNoLobbyConnection);
}

// ---------------------------------------------------------------------------------------------
// The list refresh.

std::vector<std::pair<uint16_t, std::vector<uint8_t>>> Requests(const GameServer& server) {
  std::vector<std::pair<uint16_t, std::vector<uint8_t>>> found;
  for (const ServerEvent& event : server.Events()) {
    if (event.kind != ServerEvent::kPacket) continue;
    if (event.type == PACKETTYPE_REQUESTSERVERIDIPMAP || event.type == PACKETTYPE_MAINLOBBYINFOREQUEST ||
        event.type == PACKETTYPE_GAMELISTREQUEST || event.type == PACKETTYPE_TOURNEYLISTREQUEST) {
      found.emplace_back(event.type, event.payload);
    }
  }
  return found;
}

// A plain top-level window of another program part, to stand in front of the lobby.
platform::HWND OtherWindow() {
  platform::WNDCLASS other_class;
  other_class.lpfnWndProc = platform::DefWindowProc;
  other_class.lpszClassName = "OtherWindow";
  (void)platform::RegisterClass(&other_class);  // the class may be left from an earlier test
  return platform::CreateWindow("OtherWindow", "", platform::WS_VISIBLE, 0, 0, 50, 50, nullptr, nullptr,
                                nullptr, nullptr);
}

TEST_F(MainWindowTest, the_lists_are_refreshed_every_25_seconds_only_while_the_lobby_is_in_front) {
  GameServer server;
  ASSERT_TRUE(server.Start());
  ConnectLobby(server.Port());
  ASSERT_TRUE(LobbyLinkUp());

  // Another window in front: an hour passes without a request.
  const platform::HWND other = OtherWindow();
  ASSERT_NE(other, nullptr);
  Main_EnterLobby();
  platform::SetForegroundWindow(other);
  AdvanceClock(60000);
  std::this_thread::sleep_for(std::chrono::milliseconds(200));
  EXPECT_TRUE(Requests(server).empty());

  // In front: the first tick asks (the switch to the sub-lobby cleared the countdown).
  const std::vector<std::pair<uint16_t, std::vector<uint8_t>>> one_round = {
      {PACKETTYPE_REQUESTSERVERIDIPMAP, {}},
      {PACKETTYPE_MAINLOBBYINFOREQUEST, {}},
      {PACKETTYPE_GAMELISTREQUEST, {'H', 'O', 0, 0}}};
  platform::SetForegroundWindow(MainWindow);
  AdvanceClock(100);
  ASSERT_TRUE(server.WaitFor([](const std::vector<ServerEvent>& events) {
    for (const ServerEvent& e : events) {
      if (e.kind == ServerEvent::kPacket && e.type == PACKETTYPE_GAMELISTREQUEST) return true;
    }
    return false;
  }));
  EXPECT_EQ(Requests(server), one_round);
  AdvanceClock(24000);
  std::this_thread::sleep_for(std::chrono::milliseconds(200));
  EXPECT_EQ(Requests(server).size(), 3u);
  AdvanceClock(1500);
  ASSERT_TRUE(server.WaitFor([](const std::vector<ServerEvent>& events) {
    int lists = 0;
    for (const ServerEvent& e : events) lists += e.kind == ServerEvent::kPacket && e.type == PACKETTYPE_GAMELISTREQUEST;
    return lists == 2;
  }));
  EXPECT_EQ(Requests(server).size(), 6u);
}

TEST_F(MainWindowTest, counters_that_arrive_before_any_request_do_not_hold_back_the_first_lists) {
  GameServer server;
  ASSERT_TRUE(server.Start());
  ConnectLobby(server.Port());
  ASSERT_TRUE(LobbyLinkUp());
  const platform::HWND other = OtherWindow();
  ASSERT_NE(other, nullptr);
  // The lobby is entered behind the sign-in dialog, and the server sends its counters unasked.
  Main_EnterLobby();
  platform::SetForegroundWindow(other);
  AdvanceClock(1000);
  const std::vector<uint8_t> counters(24, 0);
  ASSERT_EQ(Main_HandleMainLobbyInfo(counters.data(), static_cast<uint32_t>(counters.size())), 0);

  // The dialog closes: the lists are asked for at once, not 25 seconds later.
  platform::DestroyWindow(other);
  platform::SetForegroundWindow(MainWindow);
  AdvanceClock(100);
  ASSERT_TRUE(server.WaitFor([](const std::vector<ServerEvent>& events) {
    for (const ServerEvent& e : events) {
      if (e.kind == ServerEvent::kPacket && e.type == PACKETTYPE_GAMELISTREQUEST) return true;
    }
    return false;
  }));
  EXPECT_EQ(Requests(server).front().first, PACKETTYPE_REQUESTSERVERIDIPMAP);
}

// ---------------------------------------------------------------------------------------------
TEST_F(MainWindowTest, a_game_list_in_either_wrapper_shows_the_same_sorted_rows_and_others_change_nothing) {
  using lobby_list::HoldemRow;
  const std::vector<uint8_t> body = lobby_list::Body(
      lobby_list::GameCode("HO"),
      {HoldemRow(0, 11, 10, "Bristol", "$2/$4", true, 5, "$40", "30%", "60", "0"),
       HoldemRow(0, 12, 10, "Aberdeen", "$1/$2", true, 7, "$12", "25%", "55", "1"),
       HoldemRow(0, 13, 6, "Cardiff", "N/L $10/$20", true, 3, "$300", "20%", "70", "0"),
       HoldemRow(0, 14, 10, "Dundee", "$1/$2", false, 9, "$5", "50%", "45", "0")});
  const std::vector<uint8_t> zlib_list = lobby_list::Pack(body, false);
  const std::vector<uint8_t> gzip_list = lobby_list::Pack(body, true);
  // Outside the lobby a list is dropped.
  EXPECT_EQ(Main_HandleLobbyList(zlib_list.data(), static_cast<uint32_t>(zlib_list.size()), 0), 0);
  Main_EnterLobby();
  GameListView& view = GameListView_Get(0);
  EXPECT_FALSE(view.HasData());

  std::vector<std::vector<std::string>> shown;
  std::vector<platform::Surface> pictures;
  for (const std::vector<uint8_t>* list : {&zlib_list, &gzip_list}) {
    ASSERT_EQ(Main_HandleLobbyList(list->data(), static_cast<uint32_t>(list->size()), 0), 0);
    std::vector<std::string> names;
    for (int32_t row = 0; row < view.GetRowCount(); ++row) names.push_back(view.GetRowName(row));
    shown.push_back(names);
    pictures.push_back(platform::headless::GetWindowPicture(MainWindow));
  }
  // Stakes descending by default; the play-money row last.
  EXPECT_EQ(shown[0], (std::vector<std::string>{"Cardiff", "Bristol", "Aberdeen", "Dundee"}));
  EXPECT_EQ(shown[0], shown[1]);
  ASSERT_EQ(pictures[0].width, pictures[1].width);
  EXPECT_TRUE(pictures[0].pixels == pictures[1].pixels);
  const platform::HDC window_dc = platform::GetDC(MainWindow);
  EXPECT_EQ(platform::GetPixel(window_dc, 630, 150), platform::RGB(0xD8, 0xE9, 0xFA));
  EXPECT_EQ(platform::GetPixel(window_dc, 630, 150 + 3 * 14), platform::RGB(0xEF, 0xF2, 0xEE));
  if (const char* folder = std::getenv("TVK_PICTURES")) {
    (void)platform::headless::SaveWindowPicture(MainWindow, std::string(folder) + "/lobby_list.png");
  }

  // A row click selects; a click below the last row does not.
  platform::SendMessage(MainWindow, platform::WM_LBUTTONDOWN, 0, platform::MAKELPARAM(300, 145 + 14 + 3));
  EXPECT_EQ(view.GetSelectedRowId(), 11);
  EXPECT_EQ(platform::GetPixel(window_dc, 630, 150 + 14), platform::RGB(0x00, 0x57, 0x8C));
  platform::SendMessage(MainWindow, platform::WM_LBUTTONDOWN, 0, platform::MAKELPARAM(300, 399));
  EXPECT_EQ(view.GetSelectedRowId(), 11);
  platform::ReleaseDC(MainWindow, window_dc);

  // An Omaha list while Hold'em is shown, and a declared length past the limit, change nothing.
  const std::vector<uint8_t> omaha = lobby_list::Pack(lobby_list::Body(lobby_list::GameCode("OM"), {}));
  EXPECT_EQ(Main_HandleLobbyList(omaha.data(), static_cast<uint32_t>(omaha.size()), 0), 0);
  const std::vector<uint8_t> oversize = lobby_list::Pack(body, false, 1310721);
  EXPECT_EQ(Main_HandleLobbyList(oversize.data(), static_cast<uint32_t>(oversize.size()), 0), 1);
  // A tournament-prefixed code belongs to the same game.
  const std::vector<uint8_t> prefixed = lobby_list::Pack(lobby_list::Body(lobby_list::GameCode("THO"), {}));
  EXPECT_EQ(view.GetRowCount(), 4);
  EXPECT_EQ(Main_HandleLobbyList(prefixed.data(), static_cast<uint32_t>(prefixed.size()), 0), 0);
  EXPECT_EQ(view.GetRowCount(), 0);
}

TEST_F(MainWindowTest, the_first_list_suggests_hot_picks_for_the_empty_tiles) {
  using lobby_list::HoldemRow;
  for (int32_t slot = 0; slot < kHotPickSlots; ++slot) {
    ASSERT_EQ(g_Main.lobby_buttons.Add(LOBBY_BUTTON_FIRST_HOT_PICK_JOIN + slot, 258 + 99 * slot, 481, 71, 24,
                                       nullptr, nullptr, nullptr, nullptr),
              nullptr);
    g_Main.lobby_buttons.HideButton(LOBBY_BUTTON_FIRST_HOT_PICK_JOIN + slot);
  }
  GlobalServerList().SetEntry(2, "tables.example", 9001, 0);
  Main_EnterLobby();
  ASSERT_TRUE(g_Main.hot_picks.NeedsDefaults());
  // Five players first, then four, six, three, seven...; a count of two digits is never suggested.
  const std::vector<uint8_t> list = lobby_list::Pack(lobby_list::Body(
      lobby_list::GameCode("HO"),
      {HoldemRow(2, 11, 10, "Bristol", "$2/$4", true, 5, "$40", "30%", "60", "0"),
       HoldemRow(2, 12, 10, "Aberdeen", "$1/$2", true, 7, "$12", "25%", "55", "1"),
       HoldemRow(2, 13, 6, "Cardiff", "N/L $10/$20", true, 3, "$300", "20%", "70", "0"),
       HoldemRow(2, 14, 10, "Dundee", "$1/$2", true, 10, "$9", "25%", "55", "0")}));
  ASSERT_EQ(Main_HandleLobbyList(list.data(), static_cast<uint32_t>(list.size()), 0), 0);
  EXPECT_FALSE(g_Main.hot_picks.NeedsDefaults());
  const uint32_t expected[kHotPickSlots] = {0, 12, 13, 11};
  for (int32_t slot = 0; slot < kHotPickSlots; ++slot) {
    EXPECT_EQ(g_Main.hot_picks.GetTableId(slot), expected[slot]) << slot;
    EXPECT_EQ(g_Main.lobby_buttons.IsButtonShown(LOBBY_BUTTON_FIRST_HOT_PICK_JOIN + slot), expected[slot] != 0)
        << slot;
  }
  EXPECT_STREQ(g_Main.hot_picks.GetServerHost(3), "tables.example");
  EXPECT_EQ(g_Main.hot_picks.GetServerPort(3), 9001);
  // Later lists leave the tiles alone.
  const std::vector<uint8_t> other = lobby_list::Pack(lobby_list::Body(
      lobby_list::GameCode("HO"), {HoldemRow(2, 21, 10, "Exeter", "$2/$4", true, 5, "$40", "30%", "60", "0")}));
  ASSERT_EQ(Main_HandleLobbyList(other.data(), static_cast<uint32_t>(other.size()), 0), 0);
  EXPECT_EQ(g_Main.hot_picks.GetTableId(0), 0u);
  EXPECT_EQ(g_Main.hot_picks.GetTableId(3), 11u);
}

// ---------------------------------------------------------------------------------------------
// Sign-in.

std::vector<uint8_t> LoginResult(uint8_t code) {
  std::vector<uint8_t> payload(kLoginResultBytes, 0);
  payload[0] = code;
  payload[4] = 42;
  // An 11-byte name with no NUL in it.
  std::memcpy(&payload[5], "ABCDEFGHIJK", 11);
  return payload;
}

TEST_F(MainWindowTest, signing_in_sends_the_36_byte_request_with_the_trimmed_name_and_site) {
  GameServer server;
  ASSERT_TRUE(server.Start());
  ConnectLobby(server.Port());
  ASSERT_TRUE(LobbyLinkUp());
  g_StartupSettings.site_id = 0x01020304;
  // Nothing is sent for a blank name, or without a password.
  EXPECT_FALSE(Login_SubmitSignIn("     ", "pw", true, false));
  EXPECT_FALSE(Login_SubmitSignIn("bob", "", true, false));
  EXPECT_FALSE(Login_SubmitSignIn("bob", nullptr, false, false));
  ASSERT_TRUE(Login_SubmitSignIn("  bob  ", "pw", true, false));
  ASSERT_TRUE(server.WaitFor([](const std::vector<ServerEvent>& events) {
    for (const ServerEvent& e : events) {
      if (e.kind == ServerEvent::kPacket && e.type == PACKETTYPE_LOGINREQUEST) return true;
    }
    return false;
  }));
  std::vector<uint8_t> expected(kLoginRequestBytes, 0);
  std::memcpy(&expected[0], "bob", 3);
  std::memcpy(&expected[11], "pw", 2);
  expected[32] = 1;
  expected[33] = 2;
  expected[34] = 3;
  expected[35] = 4;
  for (const ServerEvent& e : server.Events()) {
    if (e.kind == ServerEvent::kPacket && e.type == PACKETTYPE_LOGINREQUEST) EXPECT_EQ(e.payload, expected);
  }
  // The record keeps the password scrambled.
  EXPECT_STREQ(Login_GetRecordName(), "bob");
  EXPECT_NE(std::memcmp(Login_GetRecordPassword(), "pw", 2), 0);
  // Remembering was off: nothing of the password is saved.
  Login_StoreInOptions();
  EXPECT_EQ(std::vector<uint8_t>(g_UserOptions.check_sum, g_UserOptions.check_sum + kCheckSumBytes),
            std::vector<uint8_t>(kCheckSumBytes, 0));
  EXPECT_STREQ(g_UserOptions.default_user_name, "bob");

  // Remembered: the placeholder is enough, and the same request goes again.
  ASSERT_TRUE(Login_SubmitSignIn("bob", "pw", true, true));
  Login_StoreInOptions();
  EXPECT_EQ(std::memcmp(g_UserOptions.check_sum, Login_GetRecordPassword(), 20), 0);
  uint8_t stored[kCheckSumBytes];
  std::memcpy(stored, g_UserOptions.check_sum, sizeof stored);
  // A restart: the record comes back from the options and signs in without typing.
  Login_SetRecord("nobody", nullptr);
  Login_SetRecord(g_UserOptions.default_user_name, stored);
  ASSERT_TRUE(Login_SubmitSignIn("bob", nullptr, false, true));
  ASSERT_TRUE(server.WaitFor([](const std::vector<ServerEvent>& events) {
    int count = 0;
    for (const ServerEvent& e : events) count += e.kind == ServerEvent::kPacket && e.type == PACKETTYPE_LOGINREQUEST;
    return count == 3;
  }));
  for (const ServerEvent& e : server.Events()) {
    if (e.kind == ServerEvent::kPacket && e.type == PACKETTYPE_LOGINREQUEST) EXPECT_EQ(e.payload, expected);
  }
  // Unticked: the placeholder alone sends nothing.
  EXPECT_FALSE(Login_SubmitSignIn("bob", nullptr, false, false));
}

TEST_F(MainWindowTest, each_login_result_code_gives_its_box_and_success_signs_in) {
  struct Case {
    uint8_t code;
    const char* text;  // nullptr: no box
  };
  const Case cases[] = {
      {3, "Your account is currently disabled.\n\nPlease contact Customer Support."},
      {4, "There has been a server error accessing this account.\n\nPlease try again later.\n\n"
          "If the problem persists, please contact Customer Support."},
      {5, "This account is already in use.\n\nIf you need further assistance, please contact Customer Support."},
      {6, "This account has not yet been validated.\n\nPlease contact Customer Support if you have not received "
          "your validation E-Mail."},
      {7, "Your account data is temporarily unavailable.\n\nPlease contact Customer Support."},
      {11, "An error occurred when attempting to reset your new password.\n\nPlease contact Customer Support."},
      {2, nullptr},
      {12, nullptr},
  };
  for (const Case& c : cases) {
    const size_t boxes = MessageBoxes().size();
    const std::vector<uint8_t> result = LoginResult(c.code);
    platform::headless::AnswerMessageBox(platform::IDOK);
    EXPECT_EQ(Login_HandleLoginResult(result.data(), kLoginResultBytes), 0);
    EXPECT_FALSE(Login_IsLoggedIn());
    if (c.text == nullptr) {
      EXPECT_EQ(MessageBoxes().size(), boxes) << int(c.code);
    } else {
      ASSERT_EQ(MessageBoxes().size(), boxes + 1) << int(c.code);
      EXPECT_EQ(MessageBoxes().back().text, c.text);
    }
  }
  // A wrong length changes nothing.
  const std::vector<uint8_t> success = LoginResult(0);
  EXPECT_EQ(Login_HandleLoginResult(success.data(), 63), 1);
  EXPECT_FALSE(Login_IsLoggedIn());
  EXPECT_EQ(Login_HandleLoginResult(success.data(), kLoginResultBytes), 0);
  EXPECT_TRUE(Login_IsLoggedIn());
  EXPECT_EQ(Login_GetUserId(), 42u);
  // The server's 11-byte spelling comes back terminated.
  EXPECT_STREQ(Login_GetUserName(), "ABCDEFGHIJK");
  // Code 10 says the password changed, then signs in.
  Login_SetUserLoggedOut();
  EXPECT_FALSE(Login_IsLoggedIn());
  const std::vector<uint8_t> changed = LoginResult(10);
  platform::headless::AnswerMessageBox(platform::IDOK);
  EXPECT_EQ(Login_HandleLoginResult(changed.data(), kLoginResultBytes), 0);
  EXPECT_EQ(MessageBoxes().back().text, "Welcome back. Your password has been changed.");
  EXPECT_TRUE(Login_IsLoggedIn());
  Login_SetUserLoggedOut();
}

TEST_F(MainWindowTest, an_upgrade_result_writes_root_ini_then_starts_the_launcher_unless_the_write_fails) {
  char previous[4096];
  ASSERT_NE(::getcwd(previous, sizeof previous), nullptr);
  ASSERT_EQ(::chdir(folder_.Path().c_str()), 0);
  g_StartupSettings.upgrade_series = 31;
  std::snprintf(g_StartupSettings.site_base_address, sizeof g_StartupSettings.site_base_address,
                "http://site.example/");
  SpawnLauncherOnExit = 0;
  std::FILE* fc = std::fopen("root.fc", "wb");
  ASSERT_NE(fc, nullptr);
  std::fclose(fc);
  const std::vector<uint8_t> result = LoginResult(8);
  EXPECT_EQ(Login_HandleLoginResult(result.data(), kLoginResultBytes), 0);
  std::FILE* ini = std::fopen("root.ini", "rb");
  ASSERT_NE(ini, nullptr);
  char text[512] = {};
  const size_t read = std::fread(text, 1, sizeof text - 1, ini);
  std::fclose(ini);
  EXPECT_EQ(std::string(text, read),
            "0\r\ntarvik.ico splash.a FFFFFF 230\r\nCancel 244 290 64 20\r\n"
            "http://site.example/upgrade31/upgrade.ini\r\n\"\"\r\n\"\" tvk.exe \"\"\r\nEND_OF_FILE\r\n");
  EXPECT_EQ(std::fopen("root.fc", "rb"), nullptr);
  EXPECT_NE(SpawnLauncherOnExit, 0u);
  EXPECT_FALSE(Login_IsLoggedIn());

  // "root.ini" cannot be written (a folder holds its name): the client stays and says so.
  SpawnLauncherOnExit = 0;
  std::remove("root.ini");
  ASSERT_EQ(::mkdir("root.ini", 0700), 0);
  fc = std::fopen("root.fc", "wb");
  std::fclose(fc);
  const size_t boxes = MessageBoxes().size();
  platform::headless::AnswerMessageBox(platform::IDOK);
  EXPECT_EQ(Login_HandleLoginResult(result.data(), kLoginResultBytes), 0);
  EXPECT_EQ(SpawnLauncherOnExit, 0u);
  EXPECT_EQ(MessageBoxes().size(), boxes + 1);
  std::FILE* kept = std::fopen("root.fc", "rb");
  EXPECT_NE(kept, nullptr);
  if (kept != nullptr) std::fclose(kept);
  ::rmdir("root.ini");
  ASSERT_EQ(::chdir(previous), 0);
}

TEST_F(MainWindowTest, the_upgrade_address_takes_the_host_of_the_site_address) {
  struct Case {
    const char* site;
    const char* first_server;
    const char* host;
  } const cases[] = {
      {"http://updates.example:8086/", "server", "updates.example:8086"},
      {"https://www.example.com/poker/index.html", "server", "www.example.com"},
      {"http://site.example?x=1", "server", "site.example"},
      {"", "lobby.example", "lobby.example"},
  };
  for (const Case& c : cases) {
    std::snprintf(g_StartupSettings.site_base_address, sizeof g_StartupSettings.site_base_address, "%s", c.site);
    std::snprintf(g_StartupSettings.servers[0].host, sizeof g_StartupSettings.servers[0].host, "%s",
                  c.first_server);
    EXPECT_EQ(Login_UpgradeServerHost(), c.host) << c.site;
  }

  // Code 9 at site 1 fetches the fixed upgrade from there.
  char previous[4096];
  ASSERT_NE(::getcwd(previous, sizeof previous), nullptr);
  ASSERT_EQ(::chdir(folder_.Path().c_str()), 0);
  std::snprintf(g_StartupSettings.site_base_address, sizeof g_StartupSettings.site_base_address,
                "http://updates.example:8086/");
  g_StartupSettings.site_id = 1;
  SpawnLauncherOnExit = 0;
  const std::vector<uint8_t> result = LoginResult(9);
  EXPECT_EQ(Login_HandleLoginResult(result.data(), kLoginResultBytes), 0);
  EXPECT_NE(SpawnLauncherOnExit, 0u);
  std::FILE* ini = std::fopen("root.ini", "rb");
  ASSERT_NE(ini, nullptr);
  char text[512] = {};
  const size_t read = std::fread(text, 1, sizeof text - 1, ini);
  std::fclose(ini);
  EXPECT_NE(std::string(text, read).find("\r\nhttp://updates.example:8086/upgrade23n/upgrade.ini\r\n"),
            std::string::npos);
  // Any other site, and code 8 without a series, sign in again instead.
  SpawnLauncherOnExit = 0;
  g_StartupSettings.site_id = 2;
  EXPECT_EQ(Login_HandleLoginResult(result.data(), kLoginResultBytes), 0);
  g_StartupSettings.upgrade_series = static_cast<uint32_t>(-1);
  const std::vector<uint8_t> series = LoginResult(8);
  EXPECT_EQ(Login_HandleLoginResult(series.data(), kLoginResultBytes), 0);
  EXPECT_EQ(SpawnLauncherOnExit, 0u);
  ASSERT_EQ(::chdir(previous), 0);
}

// Sends every packet the client queued and waits until the server has `count` of `type`.
bool ServerGot(GameServer& server, uint16_t type, size_t count) {
  return server.WaitFor([type, count](const std::vector<ServerEvent>& events) {
    size_t seen = 0;
    for (const ServerEvent& e : events) seen += e.kind == ServerEvent::kPacket && e.type == type;
    return seen >= count;
  });
}

std::vector<std::vector<uint8_t>> Payloads(const GameServer& server, uint16_t type) {
  std::vector<std::vector<uint8_t>> found;
  for (const ServerEvent& e : server.Events()) {
    if (e.kind == ServerEvent::kPacket && e.type == type) found.push_back(e.payload);
  }
  return found;
}

std::vector<uint8_t> LogoutResult(uint8_t kind, const char (&session)[13]) {
  std::vector<uint8_t> payload = {kind};
  payload.insert(payload.end(), session, session + 12);
  return payload;
}

TEST_F(MainWindowTest, signing_in_asks_for_the_balances_and_logging_out_tells_the_server) {
  GameServer server;
  ASSERT_TRUE(server.Start());
  ConnectLobby(server.Port());
  ASSERT_TRUE(LobbyLinkUp());
  g_Main.menu_not_set = 1;
  Main_EnterLobby();
  std::vector<uint8_t> success = LoginResult(0);
  std::memcpy(&success[48], "session-0001", 12);
  success[63] = 77;
  ASSERT_EQ(Login_HandleLoginResult(success.data(), kLoginResultBytes), 0);
  EXPECT_TRUE(Login_IsLoggedIn());
  EXPECT_EQ(std::memcmp(Login_GetSessionId(), "session-0001", 12), 0);
  EXPECT_EQ(AffiliateId, 77u);
  // The information panel asks for the balances at once; the menu offers Log Out.
  ASSERT_TRUE(ServerGot(server, PACKETTYPE_USERBALANCESREQUEST, 1));
  const platform::HMENU menu = platform::GetMenu(MainWindow);
  ASSERT_NE(menu, nullptr);
  EXPECT_EQ(platform::GetMenuState(menu, 32776, platform::MF_BYCOMMAND) & platform::MF_GRAYED, 0u);
  EXPECT_NE(platform::GetMenuState(menu, 1003, platform::MF_BYCOMMAND) & platform::MF_GRAYED, 0u);

  Login_LogOut();
  EXPECT_FALSE(Login_IsLoggedIn());
  ASSERT_TRUE(ServerGot(server, PACKETTYPE_LOGOUTREQUEST, 1));
  EXPECT_EQ(Payloads(server, PACKETTYPE_LOGOUTREQUEST), std::vector<std::vector<uint8_t>>{{}});
  EXPECT_NE(platform::GetMenuState(menu, 32776, platform::MF_BYCOMMAND) & platform::MF_GRAYED, 0u);
  EXPECT_EQ(platform::GetMenuState(menu, 1003, platform::MF_BYCOMMAND) & platform::MF_GRAYED, 0u);
}

TEST_F(MainWindowTest, a_logout_result_signs_out_and_a_new_server_session_moves_the_lobby) {
  GameServer server;
  ASSERT_TRUE(server.Start());
  ConnectLobby(server.Port());
  std::vector<uint8_t> success = LoginResult(0);
  std::memcpy(&success[48], "session-0001", 12);
  ASSERT_EQ(Login_HandleLoginResult(success.data(), kLoginResultBytes), 0);
  const uint8_t lobby = g_Main.lobby_connection;

  // Wrong lengths change nothing.
  const std::vector<uint8_t> same = LogoutResult(0, "session-0001");
  EXPECT_EQ(Login_HandleLogoutResult(lobby, same.data(), 12), 1);
  EXPECT_EQ(Login_HandleLogoutResult(lobby, same.data(), 14), 1);
  EXPECT_TRUE(Login_IsLoggedIn());
  // The same session: signed out, the lobby stays where it is.
  EXPECT_EQ(Login_HandleLogoutResult(lobby, same.data(), 13), 0);
  EXPECT_FALSE(Login_IsLoggedIn());
  EXPECT_EQ(g_Main.lobby_connection, lobby);

  // A new session arriving on another connection: kept, and the lobby moves to that connection.
  ASSERT_EQ(Login_HandleLoginResult(success.data(), kLoginResultBytes), 0);
  GameServer second;
  ASSERT_TRUE(second.Start());
  const uint8_t other = GlobalNetwork().Init(MainWindow, "127.0.0.1", second.Port(), kFirstDefaultServer + 1);
  ASSERT_NE(other, kNoLobbyConnection);
  ASSERT_NE(other, lobby);
  const std::vector<uint8_t> changed = LogoutResult(1, "session-0002");
  EXPECT_EQ(Login_HandleLogoutResult(other, changed.data(), 13), 0);
  EXPECT_FALSE(Login_IsLoggedIn());
  EXPECT_EQ(std::memcmp(Login_GetSessionId(), "session-0002", 12), 0);
  EXPECT_EQ(g_Main.lobby_connection, other);
}

TEST_F(MainWindowTest, the_forgotten_password_answers_show_their_boxes) {
  struct Case {
    uint8_t code;
    const char* text;  // nullptr: no box
    uint32_t flags;
  } const cases[] = {
      {0, "Check your e-mail for your temporary password.", 0x50040},
      {1, "The e-mail address you've entered does not match our records. Please confirm the information and "
          "try again or contact Customer Support.", 0x50010},
      {2, "The temporary password has already been sent to your e-mail. Please check your e-mail.", 0x50010},
      {3, "Failed to send the temporary password to your e-mail. Try again or contact Customer Support.", 0x50010},
      {4, "Failed to send the temporary password to your e-mail. Try again or contact Customer Support.", 0x50010},
      {5, nullptr, 0},
      {255, nullptr, 0},
  };
  std::snprintf(g_StartupSettings.display_name, sizeof g_StartupSettings.display_name, "Tarvik Poker");
  for (const Case& c : cases) {
    const size_t boxes = MessageBoxes().size();
    platform::headless::AnswerMessageBox(platform::IDOK);
    EXPECT_EQ(Login_HandleSendEmailAddressResult(&c.code, 1), 0);
    if (c.text == nullptr) {
      EXPECT_EQ(MessageBoxes().size(), boxes) << int(c.code);
      continue;
    }
    ASSERT_EQ(MessageBoxes().size(), boxes + 1) << int(c.code);
    EXPECT_EQ(MessageBoxes().back().text, c.text);
    EXPECT_EQ(MessageBoxes().back().caption, "Tarvik Poker");
    EXPECT_EQ(MessageBoxes().back().flags, c.flags);
  }
  const uint8_t two[2] = {0, 0};
  EXPECT_EQ(Login_HandleSendEmailAddressResult(two, 2), 1);
  EXPECT_EQ(Login_HandleSendEmailAddressResult(two, 0), 1);
  // The temporary-password answer has no payload.
  EXPECT_EQ(Login_HandleTempPasswordEntrySuccessful(two, 1), 1);
  EXPECT_EQ(Login_HandleTempPasswordEntrySuccessful(nullptr, 0), 0);
}

TEST_F(MainWindowTest, the_sign_in_dialog_is_forgotten_when_cancelled_or_destroyed_and_opens_again) {
  GameServer server;
  ASSERT_TRUE(server.Start());
  ConnectLobby(server.Port());
  ASSERT_TRUE(LobbyLinkUp());
  // A table that closes cancels the dialog; a second cancel finds nothing to do.
  Login_ShowDialog(nullptr, MainWindow, 1, 1234, 3);
  ASSERT_NE(Login_GetDialog(), nullptr);
  const platform::HWND dialog = Login_GetDialog();
  Login_CancelDialog();
  EXPECT_EQ(Login_GetDialog(), nullptr);
  EXPECT_FALSE(platform::IsWindow(dialog));
  Login_CancelDialog();
  // An owner going away takes the dialog with it; the next sign-in must show a live window,
  // not try to reuse the dead handle.
  Login_ShowDialog(nullptr, MainWindow, 1, 1234, 3);
  ASSERT_NE(Login_GetDialog(), nullptr);
  platform::DestroyWindow(Login_GetDialog());
  EXPECT_EQ(Login_GetDialog(), nullptr);
  Login_ShowDialog(nullptr, MainWindow, 1, 1234, 3);
  ASSERT_NE(Login_GetDialog(), nullptr);
  EXPECT_TRUE(platform::IsWindow(Login_GetDialog()));
  Login_CancelDialog();
  EXPECT_EQ(Login_GetDialog(), nullptr);
}

TEST_F(MainWindowTest, sign_in_buttons_act_on_a_click_not_on_a_focus_notice) {
  GameServer server;
  ASSERT_TRUE(server.Start());
  ConnectLobby(server.Port());
  ASSERT_TRUE(LobbyLinkUp());
  Login_ShowDialog(nullptr, MainWindow, 1, 1234, 3);
  const platform::HWND dialog = Login_GetDialog();
  ASSERT_NE(dialog, nullptr);
  const auto forgotten_windows = [] {
    int count = 0;
    for (const auto& window : platform::headless::ListWindows()) {
      if (window.title == "Forgotten Password") ++count;
    }
    return count;
  };
  constexpr int kHelpButton = 32772;
  constexpr int kCancelButton = 2;
  // Taking and losing the focus reports under the button's id, and must not press it.
  platform::SendMessage(dialog, platform::WM_COMMAND, platform::MAKEWPARAM(kHelpButton, platform::BN_SETFOCUS), 0);
  platform::SendMessage(dialog, platform::WM_COMMAND, platform::MAKEWPARAM(kHelpButton, platform::BN_KILLFOCUS), 0);
  platform::SendMessage(dialog, platform::WM_COMMAND, platform::MAKEWPARAM(kCancelButton, platform::BN_SETFOCUS), 0);
  EXPECT_EQ(forgotten_windows(), 0);
  EXPECT_EQ(Login_GetDialog(), dialog);
  platform::SendMessage(dialog, platform::WM_COMMAND, platform::MAKEWPARAM(kHelpButton, platform::BN_CLICKED), 0);
  EXPECT_EQ(forgotten_windows(), 1);
  Login_CancelDialog();
  EXPECT_EQ(Login_GetDialog(), nullptr);
}

// The account counts in the registry and the per-user count file.
uint32_t StoredCount(const char* key_path, const char* value) {
  platform::HKEY key = nullptr;
  if (platform::RegOpenKeyEx(platform::HKEY_CURRENT_USER, key_path, 0, platform::KEY_READ, &key) !=
      platform::ERROR_SUCCESS) {
    return 0;
  }
  uint32_t count = 0;
  uint32_t size = sizeof count;
  (void)platform::RegQueryValueEx(key, value, nullptr, nullptr, reinterpret_cast<uint8_t*>(&count), &size);
  platform::RegCloseKey(key);
  return count;
}

void SetCount(platform::HKEY root, const char* key_path, const char* value, uint32_t type,
              const std::vector<uint8_t>& bytes) {
  platform::HKEY key = nullptr;
  ASSERT_EQ(platform::RegCreateKeyEx(root, key_path, 0, nullptr, 0, platform::KEY_ALL_ACCESS, nullptr,
                                     &key, nullptr),
            platform::ERROR_SUCCESS);
  if (!value[0]) {
    platform::RegCloseKey(key);
    return;
  }
  platform::RegSetValueEx(key, value, 0, type, bytes.data(), static_cast<uint32_t>(bytes.size()));
  platform::RegCloseKey(key);
}

std::vector<uint8_t> Dword(uint32_t value) {
  std::vector<uint8_t> bytes(4);
  std::memcpy(bytes.data(), &value, 4);
  return bytes;
}

constexpr const char* kNetOptions = "SOFTWARE\\Net\\Options";
constexpr const char* kUninstall = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall";

TEST_F(MainWindowTest, accounts_made_on_this_machine_are_counted_up_to_three) {
  struct Case {
    const char* name;
    std::function<void()> before;
    uint32_t counted;
  };
  const Case cases[] = {
      {"first", [] {}, 1},
      {"first_on_a_machine_that_had_one", [] { SetCount(platform::HKEY_LOCAL_MACHINE, kNetOptions, "", 0, {}); }, 2},
      {"second", [] { SetCount(platform::HKEY_CURRENT_USER, kNetOptions, "Cache7.1", platform::REG_DWORD, Dword(1)); }, 2},
      {"the_larger_count_wins",
       [] {
         SetCount(platform::HKEY_CURRENT_USER, kNetOptions, "Cache7.1", platform::REG_DWORD, Dword(1));
         SetCount(platform::HKEY_CURRENT_USER, kUninstall, "SystemEx", platform::REG_DWORD, Dword(2));
       },
       3},
      {"a_count_that_is_not_a_dword_is_none",
       [] {
         SetCount(platform::HKEY_CURRENT_USER, kNetOptions, "Cache7.1", platform::REG_SZ, {'7', 0});
         SetCount(platform::HKEY_CURRENT_USER, kUninstall, "SystemEx", platform::REG_BINARY, {1, 2});
       },
       1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ::unlink((folder_.Path() + "/user.reg").c_str());
    ::unlink((folder_.Path() + "/machine.reg").c_str());
    ::unlink(Login_AccountCountFile().c_str());
    c.before();
    Login_CountNewAccount();
    EXPECT_EQ(StoredCount(kNetOptions, "Cache7.1"), c.counted);
    EXPECT_EQ(StoredCount(kUninstall, "SystemEx"), c.counted);
    std::FILE* file = std::fopen(Login_AccountCountFile().c_str(), "rb");
    ASSERT_NE(file, nullptr);
    uint32_t in_file = 0;
    EXPECT_EQ(std::fread(&in_file, 1, 8, file), 4u);
    std::fclose(file);
    EXPECT_EQ(in_file, c.counted);
    EXPECT_EQ(Login_CanCreateAccount(), c.counted < 3);
  }
  // "<folder>/<user>.dat", with one separator whether or not the folder's path ends in one.
  const std::string file = Login_AccountCountFile();
  EXPECT_EQ(file.substr(file.rfind('/') + 1), platform::GetUserName() + ".dat");
  EXPECT_EQ(file.find("//"), std::string::npos);
  EXPECT_EQ(file.substr(0, file.rfind('/')), folder_.Path().substr(0, folder_.Path().find_last_not_of('/') + 1));

  // At three, either count refuses a fourth account and offers help instead of the form.
  for (const char* which : {"Cache7.1", "SystemEx"}) {
    ::unlink((folder_.Path() + "/user.reg").c_str());
    EXPECT_TRUE(Login_CanCreateAccount());
    SetCount(platform::HKEY_CURRENT_USER, which[0] == 'C' ? kNetOptions : kUninstall, which,
             platform::REG_DWORD, Dword(3));
    EXPECT_FALSE(Login_CanCreateAccount()) << which;
  }
  const size_t boxes = MessageBoxes().size();
  platform::headless::AnswerMessageBox(platform::IDCANCEL);
  Login_OpenSignUp();
  ASSERT_EQ(MessageBoxes().size(), boxes + 1);
  EXPECT_EQ(MessageBoxes().back().caption, "Create New User Account");
  EXPECT_EQ(MessageBoxes().back().flags, 0x40121u);
  EXPECT_EQ(MessageBoxes().back().text,
            "It appears you already have three accounts with our poker network.\nPlayers are restricted to up "
            "to three accounts.  Please use your existing accounts.\n\nIf you require further assistance "
            "click OK to contact Customer Support.");
}

// ---------------------------------------------------------------------------------------------
// Lobby session packets.

TEST_F(MainWindowTest, pop_up_messages_for_the_lobby_show_an_information_box) {
  struct Case {
    const char* name;
    std::vector<uint8_t> payload;
    int result;
    std::vector<std::string> boxes;
  } const cases[] = {
      {"lobby", {0, 0, 0, 0, 7, 'H', 'i', '!', 0}, 0, {"Hi!"}},
      {"table_index_zero_is_the_lobby", {0, 0, 0, 0x10, 0, 'Y', 'o', 0}, 0, {"Yo"}},
      {"table_server", {2, 0, 0, 0, 0, 'T', 0}, 0, {}},
      {"no_terminator", {0, 0, 0, 0, 1, 'x'}, 1, {}},
      {"no_text", {0, 0, 0, 0, 1}, 1, {}},
      {"too_short", {0, 0, 0}, 1, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    platform::headless::Reset();
    ASSERT_NE(MyRegisterClass(nullptr), 0);
    ASSERT_NE(InitInstance(platform::SW_SHOWNORMAL), 0);
    EXPECT_EQ(Main_HandlePopupMessage(c.payload.data(), static_cast<uint32_t>(c.payload.size())), c.result);
    std::vector<std::string> shown;
    for (const auto& box : MessageBoxes()) {
      EXPECT_EQ(box.flags, 0x50040u);
      EXPECT_EQ(box.caption, "Gaming");
      shown.push_back(box.text);
    }
    EXPECT_EQ(shown, c.boxes);
  }
}

TEST_F(MainWindowTest, the_lobby_counters_take_exactly_24_bytes) {
  std::vector<uint8_t> payload;
  for (uint32_t value : {1234u, 2u, 3u, 87u, 5u, 6u}) {
    for (int shift = 24; shift >= 0; shift -= 8) payload.push_back(static_cast<uint8_t>(value >> shift));
  }
  EXPECT_EQ(Main_HandleMainLobbyInfo(payload.data(), 23), 1);
  EXPECT_EQ(g_Main.counters_valid, 0u);
  g_Main.requested_sub_lobby = 0;
  g_Main.shown_sub_lobby = 0;
  g_Main.refresh_countdown_s = 3.0f;
  EXPECT_EQ(Main_HandleMainLobbyInfo(payload.data(), 24), 0);
  EXPECT_EQ(g_Main.counters_valid, 1u);
  EXPECT_EQ(g_Main.lobby_counters[0], 1234u);
  EXPECT_EQ(g_Main.lobby_counters[3], 87u);
  EXPECT_EQ(g_Main.refresh_countdown_s, 25.0f);
  // Counters for another sub-lobby than the one asked for leave the countdown.
  g_Main.requested_sub_lobby = 1;
  g_Main.refresh_countdown_s = 3.0f;
  EXPECT_EQ(Main_HandleMainLobbyInfo(payload.data(), 24), 0);
  EXPECT_EQ(g_Main.refresh_countdown_s, 3.0f);
}

TEST_F(MainWindowTest, the_scroll_banner_takes_a_text_and_a_link_within_their_limits) {
  const std::string long_text(1024, 'a');
  const std::string long_link(1024, 'l');
  struct Case {
    const char* name;
    std::vector<uint8_t> payload;
    int result;
    bool changed;
    const char* text;
    const char* link;
  } const cases[] = {
      {"text_and_link", Bytes(std::string("News\0http://x/\0", 15)), 0, true, "News", "http://x/"},
      {"empty_text_and_link", {0, 0}, 0, true, "", ""},
      {"no_terminator", Bytes("News"), 1, false, nullptr, nullptr},
      {"empty", {}, 1, false, nullptr, nullptr},
      {"text_only", Bytes(std::string("News\0", 5)), 0, false, nullptr, nullptr},
      {"text_of_1024", Bytes(long_text + std::string("\0\0", 2)), 0, false, nullptr, nullptr},
      {"text_of_1023", Bytes(long_text.substr(1) + std::string("\0\0", 2)), 0, true, nullptr, ""},
      {"link_of_1024", Bytes(std::string("t\0", 2) + long_link + std::string("\0", 1)), 0, false, nullptr, nullptr},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::snprintf(g_Main.banner_text, sizeof g_Main.banner_text, "old");
    std::snprintf(g_Main.banner_link, sizeof g_Main.banner_link, "old link");
    g_Main.banner_x = 17.0f;
    g_Main.banner_width = 99;
    EXPECT_EQ(Main_HandleSetScrollBanner(c.payload.data(), static_cast<uint32_t>(c.payload.size())), c.result);
    if (!c.changed) {
      EXPECT_STREQ(g_Main.banner_text, "old");
      EXPECT_STREQ(g_Main.banner_link, "old link");
      EXPECT_EQ(g_Main.banner_x, 17.0f);
      continue;
    }
    if (c.text != nullptr) {
      EXPECT_STREQ(g_Main.banner_text, c.text);
    }
    EXPECT_STREQ(g_Main.banner_link, c.link);
    EXPECT_EQ(g_Main.banner_x, 800.0f);
    EXPECT_EQ(g_Main.banner_width, 0);
  }
}

TEST_F(MainWindowTest, a_forced_exit_keeps_at_most_1024_bytes_and_closes_the_main_window) {
  struct Case {
    const char* name;
    std::string payload;
    std::string kept;
  } const cases[] = {
      {"text", "Server closing.", "Server closing."},
      {"empty", "", ""},
      {"long", std::string(1500, 'z'), std::string(1024, 'z')},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    platform::headless::Reset();
    ASSERT_NE(MyRegisterClass(nullptr), 0);
    ASSERT_NE(InitInstance(platform::SW_SHOWNORMAL), 0);
    std::snprintf(ForceExitText, sizeof ForceExitText, "stale");
    const std::vector<uint8_t> payload = Bytes(c.payload);
    EXPECT_EQ(Main_HandleForceExit(payload.data(), static_cast<uint32_t>(payload.size())), 0);
    EXPECT_EQ(std::string(ForceExitText), c.kept);
    EXPECT_EQ(MainWindow, nullptr);
  }
}

TEST_F(MainWindowTest, a_window_closed_from_inside_a_packet_handler_goes_after_the_handler_returns) {
  GameServer server;
  server.SetScript(0, {ScriptStep::Expect(PACKETTYPE_HELLOFROMCLIENT),
                       ScriptStep::Send(PACKETTYPE_FORCEEXIT, Bytes("Bye"))});
  ASSERT_TRUE(server.Start());
  Main_SetTimer(1);
  std::vector<bool> window_during_handler;
  GlobalNetwork().SetDispatch([&](uint8_t, uint32_t type, const uint8_t* payload, uint32_t length) {
    if (type != PACKETTYPE_FORCEEXIT) return kPacketHandled;
    const int result = Main_HandleForceExit(payload, length);
    window_during_handler.push_back(MainWindow != nullptr && platform::IsWindow(MainWindow));
    return result;
  });
  ConnectLobby(server.Port());
  const platform::HWND main_window = MainWindow;
  ASSERT_TRUE(Eventually([&] { return !window_during_handler.empty(); }));
  EXPECT_EQ(window_during_handler, std::vector<bool>{true});
  EXPECT_FALSE(platform::IsWindow(main_window));
  EXPECT_STREQ(ForceExitText, "Bye");
}

TEST_F(MainWindowTest, the_membership_result_box_shows_its_text_with_the_icon_of_the_result) {
  const std::vector<uint8_t> success = {0, 'W', 'e', 'l', 'c', 'o', 'm', 'e', 0};
  const std::vector<uint8_t> failure = {3, 'N', 'o', 0};
  const std::vector<uint8_t> short_one = {0};
  EXPECT_EQ(Main_HandleBuyMembershipResult(short_one.data(), 1), 1);
  EXPECT_EQ(Main_HandleBuyMembershipResult(success.data(), static_cast<uint32_t>(success.size())), 0);
  EXPECT_EQ(Main_HandleBuyMembershipResult(failure.data(), static_cast<uint32_t>(failure.size())), 0);
  ASSERT_EQ(MessageBoxes().size(), 2u);
  EXPECT_EQ(MessageBoxes()[0].text, "Welcome");
  EXPECT_EQ(MessageBoxes()[0].caption, "Gaming");
  EXPECT_EQ(MessageBoxes()[0].flags, 0x50040u);
  EXPECT_EQ(MessageBoxes()[1].text, "No");
  EXPECT_EQ(MessageBoxes()[1].flags, 0x50010u);
}

std::vector<uint8_t> ServerMapEntry(uint8_t id, const char* host, uint16_t port) {
  std::vector<uint8_t> entry = {id};
  std::vector<uint8_t> host_bytes(128, 'h');
  std::memcpy(host_bytes.data(), host, std::strlen(host) + 1);
  entry.insert(entry.end(), host_bytes.begin(), host_bytes.end());
  entry.push_back(static_cast<uint8_t>(port >> 8));
  entry.push_back(static_cast<uint8_t>(port));
  return entry;
}

TEST_F(MainWindowTest, the_server_map_replaces_the_marked_entries_and_keeps_what_came_before_a_fault) {
  ServerList& servers = GlobalServerList();
  servers = ServerList();
  servers.SetEntry(5, "old.example", 9000, 1);

  const std::vector<uint8_t> none = {0};
  EXPECT_EQ(Main_HandleServerIdIpMapResult(none.data(), 1), 1);
  EXPECT_TRUE(servers.IsPreferred(5));

  std::vector<uint8_t> map = {2};
  for (const auto& entry : {ServerMapEntry(7, "a.example", 8100), ServerMapEntry(9, "b.example", 8200)}) {
    map.insert(map.end(), entry.begin(), entry.end());
  }
  EXPECT_EQ(Main_HandleServerIdIpMapResult(map.data(), static_cast<uint32_t>(map.size())), 0);
  EXPECT_FALSE(servers.IsPreferred(5));
  EXPECT_TRUE(servers.IsPreferred(7));
  EXPECT_STREQ(servers.GetHost(9), "b.example");
  EXPECT_EQ(servers.GetPort(9), 8200);

  // A host of 128 bytes without terminator is cut; an entry cut short fails after the first.
  std::vector<uint8_t> cut = {2};
  std::vector<uint8_t> first = ServerMapEntry(11, "c.example", 8300);
  std::fill(first.begin() + 1, first.begin() + 129, 'c');
  cut.insert(cut.end(), first.begin(), first.end());
  const std::vector<uint8_t> second = ServerMapEntry(12, "d.example", 8400);
  cut.insert(cut.end(), second.begin(), second.begin() + 50);
  EXPECT_EQ(Main_HandleServerIdIpMapResult(cut.data(), static_cast<uint32_t>(cut.size())), 1);
  EXPECT_EQ(std::strlen(servers.GetHost(11)), 127u);
  EXPECT_TRUE(servers.IsPreferred(11));
  EXPECT_FALSE(servers.IsPreferred(12));
}

TEST_F(MainWindowTest, upgrade_orders_and_shutdown_notices_check_their_sizes) {
  EXPECT_EQ(Main_HandleShutdownServer(nullptr, 0), 1);
  const uint8_t two[2] = {1, 2};
  EXPECT_EQ(Main_HandleShutdownServer(two, 2), 1);
  EXPECT_EQ(Main_HandleShutdownServer(two, 1), 0);
  EXPECT_EQ(Main_HandlePopupHtml(two, 2), 1);
  EXPECT_EQ(Main_HandleUpgradeData(nullptr, 0), 0);
  EXPECT_EQ(g_Main.state, MAIN_STATE_FULL_UPGRADE);
  EXPECT_FALSE(platform::IsWindowVisible(MainWindow));
  EXPECT_STREQ(Splash_GetText(), "Full upgrade required.");
}

// ---------------------------------------------------------------------------------------------
// Menu, sound, and the hidden picture.

TEST_F(MainWindowTest, menu_switches_change_the_options_that_are_saved_and_their_check_marks) {
  g_Main.menu_not_set = 1;
  Main_EnterLobby();
  const platform::HMENU menu = platform::GetMenu(MainWindow);
  ASSERT_NE(menu, nullptr);
  struct Case {
    uint32_t command;
    const char* option;
    uint32_t UserOptions::*field;
  } const cases[] = {
      {32818, "ClassicDeck", &UserOptions::classic_deck},
      {32771, "FourColourDeck", &UserOptions::four_colour_deck},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.option);
    platform::SendMessage(MainWindow, platform::WM_COMMAND, c.command, 0);
    EXPECT_EQ(g_UserOptions.*c.field, 1u);
    EXPECT_EQ(platform::GetMenuState(menu, c.command, platform::MF_BYCOMMAND) & platform::MF_CHECKED,
              platform::MF_CHECKED);
    UserOptions_Save("TarvikEXEClass", 0);
    uint32_t value = 0;
    uint32_t size = sizeof value;
    EXPECT_EQ(Registry_ReadValue(platform::HKEY_CURRENT_USER, Registry_GetOptionsKey(), c.option,
                                 platform::REG_DWORD, &value, &size),
              1);
    EXPECT_EQ(value, 1u);
  }
  // Speed "Lowest": the timer rate 4, checked alone.
  platform::SendMessage(MainWindow, platform::WM_COMMAND, 32792, 0);
  EXPECT_EQ(g_UserOptions.timer_rate, 4u);
  for (uint32_t item : {32793u, 32789u, 32790u, 32791u}) {
    EXPECT_EQ(platform::GetMenuState(menu, item, platform::MF_BYCOMMAND) & platform::MF_CHECKED, 0u);
  }
  EXPECT_NE(platform::GetMenuState(menu, 32792, platform::MF_BYCOMMAND) & platform::MF_CHECKED, 0u);
  // Sound off: "Enable Music" greyed, keeping its check mark.
  g_UserOptions.disable_music = 0;
  platform::SendMessage(MainWindow, platform::WM_COMMAND, 32773, 0);
  EXPECT_EQ(g_UserOptions.disable_sound, 1u);
  const platform::UINT music = platform::GetMenuState(menu, 32777, platform::MF_BYCOMMAND);
  EXPECT_NE(music & platform::MF_GRAYED, 0u);
  EXPECT_NE(music & platform::MF_CHECKED, 0u);
  // "Request All-Ins Reset..." does nothing while nobody is signed in.
  platform::SendMessage(MainWindow, platform::WM_COMMAND, 32797, 0);
  EXPECT_TRUE(MessageBoxes().empty());
}

TEST_F(MainWindowTest, a_lobby_button_click_plays_the_click_sound) {
  folder_.WriteFile("butclick.wav", "RIFF");
  ASSERT_EQ(GlobalSoundBank().Init(nullptr, MainWindow), nullptr);
  Main_LoadLobbySounds();
  ImageButton_SetClickSound(&Main_PlayClickSound);
  Main_EnterLobby();
  platform::ClearRecordedSoundRequests();
  platform::headless::InjectClick(MainWindow, 700, 230);  // the sign-up button
  RunUntilIdle();
  const std::vector<std::string> requests = platform::RecordedSoundRequests();
  ASSERT_EQ(requests.size(), 1u);
  EXPECT_NE(requests[0].find("butclick.wav"), std::string::npos) << requests[0];
  // A click beside every button is silent.
  platform::headless::InjectClick(MainWindow, 20, 300);
  RunUntilIdle();
  EXPECT_EQ(platform::RecordedSoundRequests().size(), 1u);
}

TEST_F(MainWindowTest, the_hidden_sequence_shows_the_built_in_picture_unsheared_only_as_the_first_five_characters) {
  struct Case {
    const char* name;
    const char* before;  // typed without F12 first
    const char* with_f12;
    bool shown;
  } const cases[] = {
      {"sequence", "", "plonk", true},
      {"wrong_letter", "", "plonx", false},
      {"without_f12", "plonk", "", false},
      {"not_the_first_characters", "a", "plonk", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TearDown();
    SetUp();
    Main_EnterLobby();
    platform::SetFocus(MainWindow);
    platform::headless::TypeText(c.before);
    platform::headless::InjectKey(platform::WM_KEYDOWN, platform::VK_F12);
    platform::headless::TypeText(c.with_f12);
    platform::headless::InjectKey(platform::WM_KEYUP, platform::VK_F12);
    RunUntilIdle();
    // Every row's first and last pixel is the frame colour when the picture is shown unsheared;
    // the rows below the lobby's 516 pixels are cut off.
    constexpr int32_t kShownRows = 516 - 375;
    int frame_rows = 0;
    for (int32_t y = 0; y < kShownRows; ++y) {
      bool framed = true;
      for (int32_t x : {0, kHiddenPictureWidth - 1}) {
        const platform::COLORREF pixel = platform::GetPixel(g_Main.back_dc, 250 + x, 375 + y);
        framed = framed && pixel == platform::RGB(kHiddenPictureFrame[2], kHiddenPictureFrame[1],
                                                  kHiddenPictureFrame[0]);
      }
      frame_rows += framed ? 1 : 0;
    }
    EXPECT_EQ(frame_rows, c.shown ? kShownRows : 0);
    if (c.shown) {
      // An inner pixel: red grows to the right, green downwards.
      const platform::COLORREF pixel = platform::GetPixel(g_Main.back_dc, 250 + 100, 375 + 50);
      EXPECT_EQ(pixel, platform::RGB(100 * 200 / 333, 50 * 200 / 185, 0x60));
    }
  }
}

// ---------------------------------------------------------------------------------------------
// The splash's server status.

TEST_F(MainWindowTest, the_server_status_shows_a_plain_text_page_and_the_fixed_text_otherwise) {
  std::string body;
  LoopbackHttpServer http;
  ASSERT_TRUE(http.Start([&](const LoopbackHttpServer::Request&) {
    return LoopbackHttpServer::Answer{LoopbackHttpServer::Response(200, "OK", {}, body)};
  }));
  Splash_SetServerStatusUrl(http.Url("/status.txt").c_str());
  const std::string fixed_start = "The game server is operating normally,\nbut you are unable";
  struct Case {
    const char* name;
    std::string body;
    std::string shown;  // prefix of what is shown
  } const cases[] = {
      {"plain", "All servers up.\n", "All servers up.\n"},
      {"long", std::string(5000, 'q'), std::string(4095, 'q')},
      {"html_after_blanks", " \r\n\t<html>down</html>", fixed_start},
      {"empty", "", fixed_start},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    body = c.body;
    const std::string shown = Splash_CheckServerStatus();
    EXPECT_EQ(shown.substr(0, c.shown.size()), c.shown);
    if (std::string(c.name) == "long") {
      EXPECT_EQ(shown.size(), 4095u);
    }
  }
  http.Stop();
  EXPECT_EQ(std::string(Splash_CheckServerStatus()).substr(0, fixed_start.size()), fixed_start);
}

TEST_F(MainWindowTest, money_texts_and_game_codes) {
  struct Money {
    long amount;
    int plain;
    const char* text;
  } const amounts[] = {{12345, 0, "Pot $123.45"}, {-5, 0, "Pot $-0.05"}, {700, 1, "Pot 700"}, {0, 0, "Pot $0.00"}};
  for (const Money& m : amounts) {
    char text[32] = "Pot ";
    Main_AppendMoneyText(text, sizeof text, m.amount, m.plain);
    EXPECT_STREQ(text, m.text);
  }
  char small[8] = "Pot ";
  Main_AppendMoneyText(small, sizeof small, 123456789, 0);
  EXPECT_STREQ(small, "Pot $12");
  struct Code {
    const char* code;
    int32_t type;
  } const codes[] = {{"PA", 0}, {"HO", 1}, {"MC", 2}, {"B2", 3}, {"CP", 4}, {"BJ", 5}, {"P7", 6},
                     {"OM", 7}, {"THO", 1}, {"CCP", 4}, {"TOM", 7}, {"HOX", -1}, {"XHO", -1}, {"", -1}, {"H", -1}};
  for (const Code& c : codes) EXPECT_EQ(Main_GameCodeToType(c.code), c.type) << c.code;
}

}  // namespace
