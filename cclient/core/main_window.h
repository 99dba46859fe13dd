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

#include "cclient/lobby/hot_picks_panel.h"
#include "cclient/lobby/lobby_banner.h"
#include "cclient/widgets/button_list.h"
#include "platform/draw/gdi.h"
#include "platform/window/window_types.h"

// The main window's states; 3 and 5 are not used.
enum MainState : int32_t {
  MAIN_STATE_NONE = 0,
  MAIN_STATE_CONNECTING = 1,
  MAIN_STATE_CANNOT_CONNECT = 2,
  MAIN_STATE_UPGRADING = 4,
  MAIN_STATE_FULL_UPGRADE = 6,
  MAIN_STATE_LOBBY = 7,
};

constexpr const char* kMainClassName = "TarvikEXEClass";
constexpr int32_t kMainClientWidth = 800;
constexpr int32_t kMainClientHeight = 516;
// The main window's frame: a caption with the system menu and a minimise box.
constexpr uint32_t kMainWindowStyle =
    platform::WS_CAPTION | platform::WS_SYSMENU | platform::WS_MINIMIZEBOX;
// Whether the frame leaves room for the main menu's band. The main menu is set when the lobby is
// entered; this build has no main menu yet, so the frame holds the 800 x 516 client area alone.
constexpr bool kMainWindowHasMenu = false;
// The main timer: it runs the pump and the lobby's tick.
constexpr uintptr_t kMainTimerId = 123;
constexpr uint8_t kNoLobbyConnection = 255;

// What the main window keeps: its drawing surfaces, fonts and buttons (made by Main_Init and
// released by Main_Cleanup), and the lobby's connection. Owned by the UI thread.
struct MainWindowState {
  // The lobby picture without what changes (a one-pixel bitmap until the lobby is entered).
  platform::HDC background_dc = nullptr;
  platform::HBITMAP background_bitmap = nullptr;
  platform::HGDIOBJ old_background_bitmap = nullptr;
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
  platform::HFONT title_font = nullptr;  // "MS Sans Serif" 16, bold
  platform::HFONT small_font = nullptr;  // "MS Sans Serif" 8, bold; selected into the back buffer
  platform::HFONT list_font = nullptr;   // "MS Sans Serif" 12, normal
  ButtonList lobby_buttons;
  LobbyBanner left_banner;
  LobbyBanner right_banner;
  HotPicksPanel hot_picks;

  uint8_t lobby_connection = kNoLobbyConnection;
  uint8_t server_list_index = 0;
  int32_t connect_retry_counter = 0;
  int32_t initial_sub_lobby = 0;
  int32_t lobby_music_slot = -1;
  uint32_t menu_not_set = 0;
  uint32_t first_tick = 1;
  uint32_t last_tick_ms = 0;
  // Set while the pump runs: a nested message loop inside a packet handler must not pump again.
  uint32_t pump_guard = 0;
};

extern MainWindowState g_Main;

// The main window procedure.
platform::LRESULT Main_WndProc(platform::HWND hwnd, platform::UINT message, platform::WPARAM wParam,
                               platform::LPARAM lParam);

// Changes the main state; the only way the state changes.
void Main_SetState(int32_t state);

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

// Creates the lobby's panels: the menu strip, the navigation tree with its selection, the list
// view and the other panels.
void Main_CreateLobbyPanels();

// Sets up both lobby banners from the site images: the links file's first two lines and the
// banners' pictures.
void Main_SetUpLobbyBanners();

// Destroys the main window, which ends the program through WM_DESTROY.
void Main_ReturnToHostOrExit();

// Restores the main window when it is minimised and brings it to the front.
void Main_BringToFront();

// Makes `connection_id` the lobby's connection (the hello and log-out paths).
void Main_AdoptLobbyConnection(uint8_t connection_id);

// The game type of a game code ("HO", "OM", ... optionally with "T" or "C" in front), compared as
// a whole NUL-terminated text; -1 for any other text.
int32_t Main_GameCodeToType(const char* code);
