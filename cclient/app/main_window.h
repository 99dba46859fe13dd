// The main window: the lobby of the card room and its state machine.
//
// Start-up (startup.h) registers the window class, creates the window and fills MainWindowState;
// shut-down releases it. The window procedure runs the packet pump from its timer and mouse
// messages, guarded against re-entry, so that no packet is dispatched while a handler's modal box
// or dialog runs a nested message loop.
//
// UI thread only.
#pragma once

#include <cstdint>

#include "cclient/base/lobby_sounds.h"
#include "cclient/lobby/hot_picks_panel.h"
#include "cclient/lobby/lobby_banner.h"
#include "cclient/net/dispatch_neighbours.h"
#include "cclient/widgets/button_list.h"
#include "platform/draw/gdi.h"
#include "platform/window/window_messages.h"
#include "platform/window/window_types.h"

constexpr const char* kMainClassName = "TarvikEXEClass";
constexpr int32_t kMainClientWidth = 800;
constexpr int32_t kMainClientHeight = 516;
// The main window's frame: a caption with the system menu and a minimise box.
constexpr uint32_t kMainWindowStyle =
    platform::WS_CAPTION | platform::WS_SYSMENU | platform::WS_MINIMIZEBOX;
// The frame leaves room for the main menu's band above the 800 x 516 client area; the menu itself
// is set when the lobby is first entered.
constexpr bool kMainWindowHasMenu = true;
// The main timer: it runs the pump and the lobby's tick.
constexpr uintptr_t kMainTimerId = 123;
constexpr uint8_t kNoLobbyConnection = 255;

// The navigation tree posts this with its chosen entry in wParam.
constexpr platform::UINT kMainSwitchSubLobbyMessage = platform::WM_APP + 2;

// Sub-lobbies: 0-7 the ring games of each game, 8-11 the four tournament lists.
constexpr int32_t kSubLobbies = 12;
constexpr int32_t kFirstTourneySubLobby = 8;
constexpr int32_t kNoSubLobby = -1;  // no refresh requested yet

// The lobby's buttons.
enum LobbyButtonId : int32_t {
  LOBBY_BUTTON_JOIN_TABLE = 1,
  LOBBY_BUTTON_JOIN_WAITING_LIST = 2,
  LOBBY_BUTTON_LEAVE_WAITING_LIST = 3,
  LOBBY_BUTTON_GO_TO_TOURNAMENT = 5,
  LOBBY_BUTTON_LOG_OUT = 7,
  LOBBY_BUTTON_SIGN_UP = 8,
  LOBBY_BUTTON_FIRST_HEADING = 9,
  LOBBY_BUTTON_LAST_RING_HEADING = 22,
  LOBBY_BUTTON_LAST_HEADING = 30,
  LOBBY_BUTTON_FIRST_HOT_PICK_VIEW = 31,
  LOBBY_BUTTON_FIRST_HOT_PICK_JOIN = 35,
};
constexpr int32_t kHotPickSlots = 4;

// The lobby's countdowns, in seconds.
constexpr float kConnectTimeoutSeconds = 60.0f;
constexpr float kLinkCheckSeconds = 10.0f;
constexpr float kLobbyRefreshSeconds = 25.0f;

constexpr uint32_t kLobbyCounters = 6;
// The scroll banner's text and link: at most 1,023 characters each, and the NUL.
constexpr uint32_t kScrollBannerBytes = 1025;
constexpr uint32_t kHiddenSequenceLength = 5;

// What the main window keeps: its drawing surfaces, fonts and buttons (made by Main_Init and
// released by Main_Cleanup), the main state, and the lobby's connection, countdowns, counters and
// scroll banner. Owned by the UI thread.
struct MainWindowState {
  // The lobby picture without what changes (a one-pixel bitmap until the lobby is entered).
  platform::HDC background_dc = nullptr;
  platform::HBITMAP background_bitmap = nullptr;
  platform::HGDIOBJ old_background_bitmap = nullptr;
  // The decoded lobby picture, selected into background_dc while the lobby has one.
  platform::HBITMAP lobby_picture = nullptr;
  // The lobby picture's pixels between decoding and becoming lobby_picture; freed on every state
  // change.
  uint8_t* background_pixels = nullptr;
  int32_t background_width = kMainClientWidth;
  int32_t background_height = kMainClientHeight;
  // What the window shows: WM_PAINT copies it to the window.
  platform::HDC back_dc = nullptr;
  platform::HBITMAP back_bitmap = nullptr;
  platform::HGDIOBJ old_back_bitmap = nullptr;
  platform::HFONT old_back_font = nullptr;
  // A third context for the lobby panels' pictures.
  platform::HDC source_dc = nullptr;
  // The link-quality strip "connect.a": rows of 26 pixels, red, green, blue; null when missing.
  uint8_t* connect_pixels = nullptr;
  int32_t connect_width = 0;
  int32_t connect_height = 0;
  platform::HFONT title_font = nullptr;  // "MS Sans Serif" 16, bold: the lobby counters
  platform::HFONT small_font = nullptr;  // "MS Sans Serif" 8, bold; selected into the back buffer
  platform::HFONT list_font = nullptr;   // "MS Sans Serif" 12, normal
  ButtonList lobby_buttons;
  LobbyBanner left_banner;
  LobbyBanner right_banner;
  HotPicksPanel hot_picks;
  // The list's vertical scroll bar: none until the first list arrives.
  platform::HWND list_scroll_bar = nullptr;

  int32_t state = MAIN_STATE_NONE;
  int32_t shown_sub_lobby = 0;
  // None until the first refresh request: counters or lists the server sends unasked must not
  // hold back the first request.
  int32_t requested_sub_lobby = kNoSubLobby;
  uint8_t lobby_connection = kNoLobbyConnection;
  uint8_t server_list_index = 0;
  int32_t connect_retry_counter = 0;
  int32_t initial_sub_lobby = 0;
  float connect_countdown_s = kConnectTimeoutSeconds;
  float link_check_countdown_s = kLinkCheckSeconds;
  float refresh_countdown_s = kLobbyRefreshSeconds;
  int32_t remembered_row = -1;
  int32_t last_link_quality = -1;
  uint32_t lobby_counters[kLobbyCounters] = {};
  uint32_t counters_valid = 0;
  char banner_text[kScrollBannerBytes] = "Welcome...";
  char banner_link[kScrollBannerBytes] = "";
  float banner_x = static_cast<float>(kMainClientWidth);
  int32_t banner_width = 0;
  // Where the strip last drew the text (the text moves by whole pixels); INT32_MIN: draw it at
  // the next tick.
  int32_t banner_drawn_x = INT32_MIN;
  // The hidden key sequence: each stored byte counts down to 0 as its character is typed with F12
  // held.
  uint8_t hidden_sequence[kHiddenSequenceLength] = {'p', 'l', 'o', 'n', 'k'};
  int32_t typed_count = 0;
  bool f12_held = false;
  int32_t lobby_music_slot = -1;
  uint32_t menu_not_set = 0;
  uint32_t show_sign_in_on_first_lobby = 1;
  uint32_t first_tick = 1;
  uint32_t last_tick_ms = 0;
  // Set while the pump runs: a nested message loop inside a packet handler must not pump again.
  uint32_t pump_guard = 0;
  // How many calls of the main window's or the splash's procedure are on the stack, and whether
  // the main window is to be destroyed once none is: a window closed from inside its own
  // handlers goes at a safe point.
  int32_t handler_depth = 0;
  bool closing = false;
};

extern MainWindowState g_Main;

// The main window procedure.
platform::LRESULT Main_WndProc(platform::HWND hwnd, platform::UINT message, platform::WPARAM wParam,
                               platform::LPARAM lParam);

// Changes the main state; the only way the state changes. The same state again does nothing.
void Main_SetState(int32_t state);
// Enters the lobby (state 7) after the server's RESUMETABLES; nothing when the lobby is shown.
void Main_EnterLobbyIfNotThere();
void Main_EnterLobby();
// Shows the sub-lobby of a navigation entry (posted by the navigation tree); below 0 nothing.
void Main_SwitchSubLobby(int32_t entry);
// Asks the lobby's server for the counters, the server map and the shown list (state 7 only).
void Main_RequestLobbyRefresh();
// The splash's Retry: connecting again from the first usable server.
void Main_RetryConnect();
// The splash's Esc and Close, and its Full Upgrade.
void Main_HandleSplashEsc();
void Main_HandleSplashClick();
// Returns to the lobby state.
void main_ReturnToMainLobby(long force);

// The main timer at `speed` 0-4 (20, 40, 80, 160 or 320 ms; anything else counts as 1), kept as
// the "TimerRate" option. A failure is logged and shown.
void Main_SetTimer(uint32_t speed);

// The lobby's step on each tick of the main timer.
void Main_Tick();

// Offers the message to each modeless dialog in turn: 0 when one consumed it, else 1.
int Main_PreTranslateMessage(platform::MSG* message);

// Loads the four card image sets; the number of sets that failed.
int32_t Main_LoadCards();
// Releases the four card image sets.
void Main_ReleaseCards();

// The lobby's sounds into the sound bank, and the lobby's music (when music is on).
void Main_LoadLobbySounds();
void Main_StartLobbyMusic();
void Main_StopLobbyMusic();

// Creates the lobby's panels: the menu strip, the navigation tree with its selection, the list
// view and the other panels.
void Main_CreateLobbyPanels();

// Sets up both lobby banners from the site images: the links file's first two lines and the
// banners' pictures.
void Main_SetUpLobbyBanners();

// Destroys the main window, which ends the program through WM_DESTROY. Called from inside one of
// the main window's or the splash's handlers, it only marks the window closing: the window goes
// once that handler has returned.
void Main_ReturnToHostOrExit();

// Hosted mode: nonzero when a hosting program gave its window; the cashier request then goes to
// that program.
int Main_IsHosted();
void Main_HostShowCashier();

// Restores the main window when it is minimised and brings it to the front.
void Main_BringToFront();

// Makes `connection_id` the lobby's connection (the hello and log-out paths).
void Main_AdoptLobbyConnection(uint8_t connection_id);
// A table or tournament window opened a connection: the lobby moves to it.
void Main_SetLobbyConnection(uint8_t server_list_index, uint8_t connection_id);
// A table or tournament window closed: the lobby moves off a connection only it still uses.
void Main_MoveLobbyConnection();

// The game type of a game code ("HO", "OM", ... optionally with "T" or "C" in front), compared as
// a whole NUL-terminated text; -1 for any other text.
int32_t Main_GameCodeToType(const char* code);

// Appends "%ld" of `amount` when `plain` is set, else "$", a "-" for a negative amount and
// "%ld.%02ld" of dollars and cents, to the NUL-terminated `text` of `size` bytes.
void Main_AppendMoneyText(char* text, uint32_t size, long amount, int plain);

// The main menu's commands and check marks, and the lobby's buttons.
void Main_OnCommand(uint32_t command);
void Main_UpdateMenu();
void Main_DoButtonDown(int32_t button_id);
void Main_OpenListRow(int32_t row);
// Asks to join the waiting list of a table for `seats` players.
void Main_OpenJoinWaitList(uint32_t table_id, uint32_t seats);

// The hot-pick glue used by the table host and the list view.
void Main_HotPickTableOpened(uint32_t table_id, int32_t game_type, int real_money);
void Main_HotPickTableClosed(uint32_t table_id);
void Main_HotPickRemember(uint32_t table_id, const char* name, int redraw_only, int32_t game_type,
                          uint8_t server_id, const char* host, uint16_t port);
void Main_HotPickForget(uint32_t table_id);

// Redraws of parts of the lobby; the information panel and the list only in state 7.
void Main_RedrawLobbyButtons();
void Main_RedrawInfoPanel();
void Main_RedrawGameList();
// 0 hides both waiting-list buttons, 1 shows "join", 2 shows "leave".
void Main_ShowWaitListButtons(int32_t state);
// Shows the join or go-to-tournament button for the shown list when a row is selected.
void Main_UpdateJoinButtons();
// Draws the lobby counters while they are valid.
void Main_RedrawCounters();

// Steps of Main_Tick: the connect supervision while connecting, and the link check in the lobby.
void Main_SuperviseConnect(float seconds);
void Main_CheckLobbyLink(float seconds);

// The splash's procedure counts itself among the handlers a closing main window waits for.
void Main_EnterSplashHandler();
void Main_LeaveSplashHandler();

// Puts the one-pixel bitmap back into the background context and deletes the lobby's picture.
void Main_ReleaseLobbyPicture();

// The main menu: menu 177 of the play-money edition, else menu 109.
platform::HMENU Main_CreateMainMenu(bool play_money_edition);

// The lobby sounds' slots are forgotten (the sound bank released them).
void Main_ReleaseLobbySoundSlots();
