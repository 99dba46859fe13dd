#include "cclient/app/main_window.h"

#include <cstdio>
#include <cstring>
#include <iterator>
#include <vector>

#include "cclient/base/banner_image_set.h"
#include "cclient/base/client_globals.h"
#include "cclient/base/debug_log.h"
#include "cclient/base/dialog_holder.h"
#include "cclient/app/game_list_view.h"
#include "cclient/base/hidden_picture.h"
#include "cclient/base/line_file.h"
#include "cclient/app/login.h"
#include "cclient/base/main_message_box.h"
#include "cclient/base/options.h"
#include "cclient/base/sound_bank.h"
#include "cclient/app/startup.h"
#include "cclient/base/startup_file.h"
#include "cclient/lobby/buddy_list.h"
#include "cclient/app/game_list.h"
#include "cclient/lobby/history_bonus_window.h"
#include "cclient/lobby/menu_strip.h"
#include "cclient/lobby/nav_tree.h"
#include "cclient/lobby/pending_bonus_window.h"
#include "cclient/lobby/account_dialogs.h"
#include "cclient/lobby/sign_up_dialog.h"
#include "cclient/lobby/tourney_list.h"
#include "cclient/lobby/web_pages.h"
#include "cclient/net/network.h"
#include "cclient/table/table_list.h"
#include "cclient/widgets/dirty_rect_list.h"
#include "cclient/widgets/image_button.h"
#include "platform/controls/menu.h"
#include "platform/controls/scroll_bar.h"
#include "platform/sound/sound.h"
#include "platform/system/clock.h"
#include "platform/system/paths.h"
#include "platform/text/text.h"
#include "platform/window/activation.h"
#include "platform/window/message_box.h"
#include "platform/window/message_queue.h"
#include "platform/window/paint.h"
#include "platform/window/window.h"

MainWindowState g_Main;

namespace {

constexpr platform::UINT kExitConfirmationFlags =
    platform::MB_YESNO | platform::MB_ICONEXCLAMATION | platform::MB_DEFBUTTON2;
constexpr uint32_t kTimerPeriodsMs[] = {20, 40, 80, 160, 320};
constexpr uint32_t kDefaultTimerSpeed = 1;
// Every tick ends with a short rest of the UI thread.
constexpr uint32_t kTickRestMs = 10;

// The scroll banner's strip and speed.
constexpr platform::RECT kScrollBannerStrip{0, 94, kMainClientWidth, 110};
constexpr float kScrollBannerPixelsPerSecond = 30.0f;
constexpr int32_t kScrollBannerTextReach = 10000;
// The link-quality strip: one row per quality, "Good" (3) at the top.
constexpr int32_t kLinkStripX = 12;
constexpr int32_t kLinkStripY = 483;
constexpr int32_t kLinkStripRowHeight = 26;
constexpr uint32_t kBestLinkQuality = 3;
// The lobby counters: the first and the fourth are shown.
constexpr platform::RECT kCounterRects[] = {{158, 439, 221, 458}, {158, 458, 221, 475}};
constexpr int32_t kCounterShown[] = {0, 3};
constexpr platform::RECT kCounterArea{158, 439, 158 + 64, 439 + 37};
constexpr platform::COLORREF kCounterShadow = platform::RGB(32, 32, 32);
constexpr platform::COLORREF kWhite = platform::RGB(255, 255, 255);
// The cashier corner and where the built-in picture goes.
constexpr platform::RECT kCashierArea{649, 409, 793, 515};
constexpr int32_t kHiddenPictureX = 250;
constexpr int32_t kHiddenPictureY = 375;
constexpr int32_t kGeneralHelpPage = -1;
constexpr int32_t kFirstTourneyListSelector = 100;

// Keeps the count of the main window's and the splash's handlers on the stack, and destroys a main
// window marked closing once the outermost one returns.
class HandlerScope {
 public:
  HandlerScope() { ++g_Main.handler_depth; }
  ~HandlerScope() {
    if (--g_Main.handler_depth == 0 && g_Main.closing) {
      g_Main.closing = false;
      if (MainWindow != nullptr) platform::DestroyWindow(MainWindow);
    }
  }
  HandlerScope(const HandlerScope&) = delete;
  HandlerScope& operator=(const HandlerScope&) = delete;
};

// Hands at most one received packet per connection to the dispatch, unless a handler further up
// this thread's stack is still running (it may have opened a modal box whose loop brought this
// message).
void PumpNetwork() {
  if (g_Main.pump_guard != 0 || g_Main.closing) return;
  g_Main.pump_guard = 1;
  GlobalNetwork().Pump();
  g_Main.pump_guard = 0;
}

void Paint(platform::HWND hwnd) {
  platform::PAINTSTRUCT paint;
  const platform::HDC dc = platform::BeginPaint(hwnd, &paint);
  if (g_Main.back_dc != nullptr) {
    platform::BitBlt(dc, 0, 0, g_Main.background_width, g_Main.background_height, g_Main.back_dc,
                     0, 0, platform::SRCCOPY);
  }
  platform::EndPaint(hwnd, &paint);
}

void ConfirmClose(platform::HWND hwnd) {
  if (platform::MessageBox(hwnd, "Are you sure you want to leave the cardroom?",
                           "Exit Confirmation", kExitConfirmationFlags) == platform::IDYES) {
    (void)main_ExitIfOK(0);
  }
}

// The lobby's music plays only while the main window is active.
void FollowActivation(bool active) {
  const UserOptions& options = g_UserOptions;
  if (options.disable_sound != 0 || options.disable_music != 0 || g_Main.lobby_music_slot < 0) {
    return;
  }
  if (active) {
    (void)GlobalSoundBank().PlayLoopMusic(g_Main.lobby_music_slot);
  } else {
    (void)GlobalSoundBank().StopMusic(g_Main.lobby_music_slot);
  }
}

// Copies a rectangle (exclusive right and bottom) of the back buffer to the window.
void CopyToWindow(const platform::RECT& rect) {
  if (MainWindow == nullptr || g_Main.back_dc == nullptr) return;
  const platform::HDC dc = platform::GetDC(MainWindow);
  platform::BitBlt(dc, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top,
                   g_Main.back_dc, rect.left, rect.top, platform::SRCCOPY);
  platform::ReleaseDC(MainWindow, dc);
}

// A rectangle of the back buffer gets the lobby picture back, or black without one.
void RestoreFromBackground(const platform::RECT& rect) {
  if (g_Main.lobby_picture != nullptr) {
    platform::BitBlt(g_Main.back_dc, rect.left, rect.top, rect.right - rect.left,
                     rect.bottom - rect.top, g_Main.background_dc, rect.left, rect.top,
                     platform::SRCCOPY);
  } else {
    platform::FillRect(g_Main.back_dc, &rect,
                       static_cast<platform::HBRUSH>(platform::GetStockObject(platform::BLACK_BRUSH)));
  }
}

// Copies the rectangles a widget list reported (inclusive right and bottom) to the window.
void CopyDirtyToWindow(const DirtyRectList& dirty) {
  for (int32_t i = 0; i < dirty.Count(); ++i) {
    const platform::RECT& r = dirty[i];
    if (r.right < r.left || r.bottom < r.top) continue;
    CopyToWindow(platform::RECT{r.left, r.top, r.right + 1, r.bottom + 1});
  }
}

void DrawButtonList(ButtonList& buttons) {
  if (g_Main.back_dc == nullptr) return;
  DirtyRectList dirty(ButtonList::kMaxButtons * 2);
  buttons.Draw(g_Main.back_dc, g_Main.lobby_picture != nullptr ? g_Main.background_dc : nullptr,
               false, &dirty);
  CopyDirtyToWindow(dirty);
}

void DrawNavigationPanel() {
  if (MainWindow == nullptr) return;
  const platform::HDC window_dc = platform::GetDC(MainWindow);
  GlobalNavTree().DrawPanel(window_dc, g_Main.back_dc, g_Main.background_dc);
  platform::ReleaseDC(MainWindow, window_dc);
}

void DrawMenuStrip() {
  if (MainWindow == nullptr) return;
  const platform::HDC window_dc = platform::GetDC(MainWindow);
  GlobalMenuStrip().Draw(window_dc, g_Main.back_dc, g_Main.background_dc);
  platform::ReleaseDC(MainWindow, window_dc);
}

void DrawBanner(LobbyBanner& banner) {
  if (MainWindow == nullptr) return;
  const platform::HDC window_dc = platform::GetDC(MainWindow);
  banner.Draw(window_dc, g_Main.back_dc);
  platform::ReleaseDC(MainWindow, window_dc);
}

// The row of the link-quality strip for quality q, copied to its place.
void DrawLinkQuality(uint32_t quality) {
  const MainWindowState& main = g_Main;
  if (main.connect_pixels == nullptr || main.back_dc == nullptr) return;
  const int32_t row = static_cast<int32_t>(kBestLinkQuality - quality);
  if ((row + 1) * kLinkStripRowHeight > main.connect_height) return;
  // Device-independent rows are padded to four bytes and hold blue, green, red.
  const int32_t stride = (main.connect_width * 3 + 3) & ~3;
  std::vector<uint8_t> rows(static_cast<size_t>(stride) * kLinkStripRowHeight, 0);
  for (int32_t y = 0; y < kLinkStripRowHeight; ++y) {
    const uint8_t* in = main.connect_pixels +
                        (static_cast<size_t>(row * kLinkStripRowHeight + y) * main.connect_width * 3);
    uint8_t* out = rows.data() + static_cast<size_t>(y) * stride;
    for (int32_t x = 0; x < main.connect_width; ++x) {
      out[x * 3] = in[x * 3 + 2];
      out[x * 3 + 1] = in[x * 3 + 1];
      out[x * 3 + 2] = in[x * 3];
    }
  }
  platform::BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(platform::BITMAPINFOHEADER);
  info.bmiHeader.biWidth = main.connect_width;
  info.bmiHeader.biHeight = -kLinkStripRowHeight;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 24;
  info.bmiHeader.biCompression = platform::BI_RGB;
  platform::SetDIBitsToDevice(main.back_dc, kLinkStripX, kLinkStripY,
                              static_cast<uint32_t>(main.connect_width), kLinkStripRowHeight, 0, 0,
                              0, kLinkStripRowHeight, rows.data(), &info, platform::DIB_RGB_COLORS);
  CopyToWindow(platform::RECT{kLinkStripX, kLinkStripY, kLinkStripX + main.connect_width,
                              kLinkStripY + kLinkStripRowHeight});
}

void UpdateLinkQuality() {
  const uint32_t quality = GlobalNetwork().GetLinkQuality(g_Main.lobby_connection);
  if (static_cast<int32_t>(quality) == g_Main.last_link_quality) return;
  g_Main.last_link_quality = static_cast<int32_t>(quality);
  DrawLinkQuality(quality);
}

void DrawScrollBanner(float seconds) {
  MainWindowState& main = g_Main;
  if (main.back_dc == nullptr) return;
  main.banner_x -= kScrollBannerPixelsPerSecond * seconds;
  if (main.banner_width == 0 && main.banner_text[0] != '\0') {
    platform::SIZE size{};
    if (platform::GetTextExtentPoint32(main.back_dc, main.banner_text,
                                       static_cast<int32_t>(std::strlen(main.banner_text)), &size)) {
      main.banner_width = size.cx;
    }
  }
  if (main.banner_x < static_cast<float>(-main.banner_width)) {
    main.banner_x = static_cast<float>(kScrollBannerStrip.right - kScrollBannerStrip.left);
  }
  // A tick that moves the text by less than a pixel (or has no text to move) changes nothing.
  const int32_t x = main.banner_text[0] != '\0' ? static_cast<int32_t>(main.banner_x) : 0;
  if (x == main.banner_drawn_x) return;
  main.banner_drawn_x = x;
  RestoreFromBackground(kScrollBannerStrip);
  platform::IntersectClipRect(main.back_dc, kScrollBannerStrip.left, kScrollBannerStrip.top,
                              kScrollBannerStrip.right, kScrollBannerStrip.bottom);
  const platform::COLORREF old_colour = platform::SetTextColor(main.back_dc, kWhite);
  platform::RECT text_rect{x, kScrollBannerStrip.top, x + kScrollBannerTextReach,
                           kScrollBannerStrip.bottom};
  platform::DrawText(main.back_dc, main.banner_text, -1, &text_rect,
                     platform::DT_SINGLELINE | platform::DT_VCENTER);
  platform::SetTextColor(main.back_dc, old_colour);
  platform::SelectClipRgn(main.back_dc, nullptr);
  CopyToWindow(kScrollBannerStrip);
}

// 1. New site pictures: the banners and every open table take them.
void TakeNewSiteImages() {
  if (GlobalBannerImageSet().Poll() != 1) return;
  Main_SetUpLobbyBanners();
  DrawBanner(g_Main.left_banner);
  DrawBanner(g_Main.right_banner);
  GlobalTableList().RedrawAll(1);
}

// 2. The time since the last tick, in ms.
int32_t ElapsedMs() {
  const uint32_t now = platform::GetTickCount();
  if (g_Main.first_tick != 0) {
    g_Main.first_tick = 0;
    g_Main.last_tick_ms = now;
  }
  int32_t elapsed_ms = static_cast<int32_t>(now - g_Main.last_tick_ms);
  if (elapsed_ms < 0) elapsed_ms = 0;
  g_Main.last_tick_ms = now;
  return elapsed_ms;
}

// 3. The navigation tree's slide and the menu strip's animation.
void StepLobbyAnimations() {
  const uint32_t now = platform::GetTickCount();
  if (GlobalNavTree().Animate(now)) DrawNavigationPanel();
  if (GlobalMenuStrip().Tick(now)) DrawMenuStrip();
}

// 4. Lingering connections, tables, tournaments, the buddy list and the bonus windows.
void StepOtherWindows(int32_t elapsed_ms, float seconds) {
  GlobalNetwork().TickLinger(elapsed_ms);
  GlobalTableList().Tick(seconds);
  GlobalTourneyList().Tick(seconds);
  BuddyList_Tick(seconds);
  PendingBonusWindow_Tick(seconds);
  HistoryBonusWindow_Redraw(seconds);
}

// 9. The list refresh, only while the lobby is the foreground window.
void StepRefresh(float seconds) {
  MainWindowState& main = g_Main;
  if (main.refresh_countdown_s < 0.0f) {
    main.refresh_countdown_s = kLobbyRefreshSeconds;
    return;
  }
  if (platform::GetForegroundWindow() != MainWindow) return;
  main.refresh_countdown_s -= seconds;
  if (main.refresh_countdown_s < 0.0f) Main_RequestLobbyRefresh();
}

// The hidden key sequence: the first five characters typed into the main window, each with F12
// held while the lobby is shown, show the built-in picture when they spell the stored sequence.
void OnCharacter(uint8_t character) {
  MainWindowState& main = g_Main;
  if (main.f12_held && main.state == MAIN_STATE_LOBBY && main.typed_count >= 0 &&
      main.typed_count < static_cast<int32_t>(kHiddenSequenceLength)) {
    main.hidden_sequence[main.typed_count] =
        static_cast<uint8_t>(main.hidden_sequence[main.typed_count] - character);
  }
  if (main.typed_count < static_cast<int32_t>(kHiddenSequenceLength) + 1) ++main.typed_count;
  if (main.typed_count != static_cast<int32_t>(kHiddenSequenceLength)) return;
  for (uint8_t left : main.hidden_sequence) {
    if (left != 0) return;
  }
  DrawHiddenPicture(main.background_dc, main.back_dc, kHiddenPictureX, kHiddenPictureY);
}

bool InRect(const platform::RECT& rect, int32_t x, int32_t y) {
  return x >= rect.left && x < rect.right && y >= rect.top && y < rect.bottom;
}

int32_t LastRequestedListSelector() {
  return g_Main.requested_sub_lobby >= kFirstTourneySubLobby
             ? kFirstTourneyListSelector + g_Main.requested_sub_lobby - kFirstTourneySubLobby
             : 0;
}

// A click on a list row: a new selection asks for its details.
void SelectListRow() {
  MainWindowState& main = g_Main;
  GameListView& view = GameListView_Get(main.shown_sub_lobby);
  const int32_t row = view.GetSelectedRow();
  if (row == main.remembered_row) return;
  main.remembered_row = row;
  GameList_UpdateSpecificTableDetails(row, LastRequestedListSelector());
  Main_UpdateJoinButtons();
  view.SetWaitListState(0);
  Main_ShowWaitListButtons(view.GetWaitListState());
  Main_RedrawGameList();
}

void OnLeftButtonDown(int32_t x, int32_t y) {
  MainWindowState& main = g_Main;
  for (LobbyBanner* banner : {&main.left_banner, &main.right_banner}) {
    if (banner->HitTest(x, y) && banner->GetLink()[0] != '\0') {
      OpenWebPage(MainWindow, banner->GetLink());
      return;
    }
  }
  if (InRect(kScrollBannerStrip, x, y)) {
    if (main.banner_link[0] != '\0') OpenWebPage(MainWindow, main.banner_link);
    return;
  }
  if (InRect(kCashierArea, x, y)) {
    if (!Login_IsLoggedIn()) {
      Login_ShowDialog(ProgramInstance, MainWindow, LOGIN_MODE_PLAIN, -1, -1);
    } else if (PlayMoneyEdition != 0) {
      OpenGameHelp(MainWindow, kGeneralHelpPage);
    } else {
      OpenCashier(MainWindow);
    }
    return;
  }
  if (main.state == MAIN_STATE_LOBBY && GameListView_Get(main.shown_sub_lobby).HitTest(x, y) == 0) {
    SelectListRow();
    return;
  }
  (void)main.lobby_buttons.OnMouseDown(x, y);
  (void)GlobalNavTree().OnMouseDown(x, y);
  Main_RedrawLobbyButtons();
}

void OnLeftButtonUp(int32_t x, int32_t y) {
  const int32_t clicked = g_Main.lobby_buttons.OnMouseUp(x, y);
  Main_DoButtonDown(clicked);
  GlobalNavTree().OnMouseUp(x, y);
  Main_RedrawLobbyButtons();
}

void OnMouseMove(int32_t x, int32_t y, bool left_button_held) {
  MainWindowState& main = g_Main;
  GlobalMenuStrip().MouseMove(x, y);
  (void)main.lobby_buttons.OnMouseMove(x, y, left_button_held);
  (void)GlobalNavTree().OnMouseMove(x, y, left_button_held);
  Main_RedrawLobbyButtons();
  for (LobbyBanner* banner : {&main.left_banner, &main.right_banner}) {
    banner->MouseMove(x, y);
    if (banner->NeedsRedraw()) DrawBanner(*banner);
  }
}

void OnLeftDoubleClick(int32_t x, int32_t y) {
  if (g_Main.state != MAIN_STATE_LOBBY) return;
  GameListView& view = GameListView_Get(g_Main.shown_sub_lobby);
  if (view.HitTest(x, y) != 0) return;
  const int32_t row = view.GetSelectedRow();
  if (row >= 0) Main_OpenListRow(row);
}

void OnMouseWheel(platform::WPARAM wParam, platform::LPARAM lParam) {
  GameListView& view = GameListView_Get(g_Main.shown_sub_lobby);
  if (view.OnMouseWheel(wParam, lParam) != 0) return;
  if (g_Main.list_scroll_bar != nullptr) {
    platform::SetScrollPos(g_Main.list_scroll_bar, platform::SB_CTL, view.GetTopRow(), true);
  }
  Main_RedrawGameList();
}

int32_t LowSigned(platform::LPARAM value) {
  return static_cast<int16_t>(static_cast<uint16_t>(value & 0xFFFF));
}
int32_t HighSigned(platform::LPARAM value) {
  return static_cast<int16_t>(static_cast<uint16_t>((value >> 16) & 0xFFFF));
}

void PlaySlot(int32_t slot) {
  if (!Main_IsSoundEnabled()) return;
  (void)GlobalSoundBank().Play(slot);
}

// The lobby's sounds in load order; each keeps the slot the sound bank gave it.
enum LobbySound { kClickSound, kCheckSound, kYourTurnSound, kPassSound, kCardSound, kLobbySoundCount = 9 };
constexpr const char* kLobbySoundFiles[kLobbySoundCount] = {
    "butclick.wav", "check.wav", "yourturn.wav", "pass.wav",  "playcard.wav",
    "fold.wav",     "keep.wav",  "pluck.wav",    "bdeal.wav"};
int32_t lobby_sound_slots[kLobbySoundCount] = {-1, -1, -1, -1, -1, -1, -1, -1, -1};
constexpr const char* kLobbyMusicFile = "lobby.mid";

}  // namespace

void Main_UpdateJoinButtons() {
  MainWindowState& main = g_Main;
  const bool selected = GameListView_Get(main.shown_sub_lobby).GetSelectedRow() >= 0;
  if (main.shown_sub_lobby >= kFirstTourneySubLobby) {
    main.lobby_buttons.HideButton(LOBBY_BUTTON_JOIN_TABLE);
    if (selected) {
      main.lobby_buttons.ShowButton(LOBBY_BUTTON_GO_TO_TOURNAMENT);
    } else {
      main.lobby_buttons.HideButton(LOBBY_BUTTON_GO_TO_TOURNAMENT);
    }
  } else {
    main.lobby_buttons.HideButton(LOBBY_BUTTON_GO_TO_TOURNAMENT);
    if (selected) {
      main.lobby_buttons.ShowButton(LOBBY_BUTTON_JOIN_TABLE);
    } else {
      main.lobby_buttons.HideButton(LOBBY_BUTTON_JOIN_TABLE);
    }
  }
}

platform::LRESULT Main_WndProc(platform::HWND hwnd, platform::UINT message, platform::WPARAM wParam,
                               platform::LPARAM lParam) {
  // While the window is marked closing nothing but its destruction reaches the lobby.
  if (g_Main.closing && hwnd == MainWindow && message != platform::WM_DESTROY &&
      message != platform::WM_PAINT) {
    return platform::DefWindowProc(hwnd, message, wParam, lParam);
  }
  const HandlerScope scope;
  switch (message) {
    case platform::WM_DESTROY:
      // The menu goes with the window; nothing shows it any more.
      if (const platform::HMENU menu = platform::GetMenu(hwnd)) {
        platform::SetMenu(hwnd, nullptr);
        platform::DestroyMenu(menu);
      }
      platform::PostQuitMessage(0);
      if (MainWindow == hwnd) MainWindow = nullptr;
      return 0;
    case platform::WM_ACTIVATE:
      FollowActivation(platform::LOWORD(wParam) != platform::WA_INACTIVE);
      return 0;
    case platform::WM_PAINT:
      Paint(hwnd);
      return 0;
    case platform::WM_CLOSE:
      ConfirmClose(hwnd);
      return 0;
    case platform::WM_ERASEBKGND:
      return 0;
    case platform::WM_KEYDOWN:
      if (wParam == platform::VK_F1) {
        OpenGameHelp(hwnd, kGeneralHelpPage);
        return 0;
      }
      if (wParam == platform::VK_F12) {
        g_Main.f12_held = true;
        return 0;
      }
      return platform::DefWindowProc(hwnd, message, wParam, lParam);
    case platform::WM_KEYUP:
      if (wParam == platform::VK_F12) {
        g_Main.f12_held = false;
        return 0;
      }
      return platform::DefWindowProc(hwnd, message, wParam, lParam);
    case platform::WM_CHAR:
      OnCharacter(static_cast<uint8_t>(wParam));
      return 0;
    case platform::WM_COMMAND:
      Main_OnCommand(platform::LOWORD(wParam));
      return 0;
    case platform::WM_TIMER:
      PumpNetwork();
      if (wParam == kMainTimerId && !g_Main.closing) {
        CheckComeForwardRequest();
        CheckCloseSignal();
        Main_Tick();
      }
      return 0;
    case platform::WM_VSCROLL: {
      GameListView& view = GameListView_Get(g_Main.shown_sub_lobby);
      view.OnVScroll(wParam);
      if (g_Main.list_scroll_bar != nullptr) {
        platform::SetScrollPos(g_Main.list_scroll_bar, platform::SB_CTL, view.GetTopRow(), true);
      }
      Main_RedrawGameList();
      return 0;
    }
    case platform::WM_MOUSEMOVE:
      PumpNetwork();
      if (!g_Main.closing) {
        OnMouseMove(LowSigned(lParam), HighSigned(lParam), (wParam & platform::MK_LBUTTON) != 0);
      }
      return 0;
    case platform::WM_LBUTTONDOWN:
      OnLeftButtonDown(LowSigned(lParam), HighSigned(lParam));
      return 0;
    case platform::WM_LBUTTONUP:
      OnLeftButtonUp(LowSigned(lParam), HighSigned(lParam));
      return 0;
    case platform::WM_LBUTTONDBLCLK:
      OnLeftDoubleClick(LowSigned(lParam), HighSigned(lParam));
      return 0;
    case platform::WM_MOUSEWHEEL:
      OnMouseWheel(wParam, lParam);
      return 0;
    case platform::MM_MCINOTIFY:
      GlobalSoundBank().OnMusicNotify(static_cast<uint32_t>(wParam), static_cast<uint32_t>(lParam));
      return 0;
    case kMainSwitchSubLobbyMessage:
      Main_SwitchSubLobby(static_cast<int32_t>(wParam));
      return 0;
    default:
      return platform::DefWindowProc(hwnd, message, wParam, lParam);
  }
}

void Main_SetTimer(uint32_t speed) {
  if (speed >= std::size(kTimerPeriodsMs)) speed = kDefaultTimerSpeed;
  g_UserOptions.timer_rate = speed;
  if (platform::SetTimer(MainWindow, kMainTimerId, kTimerPeriodsMs[speed]) == 0) {
    DebugLog_Write("Timer initialization failure.\n");
    Main_ErrorBox("Timer initialization failure.");
    return;
  }
  DebugLog_Write("Timer Set.\n");
}

void Main_Tick() {
  TakeNewSiteImages();
  const int32_t elapsed_ms = ElapsedMs();
  const float seconds = static_cast<float>(elapsed_ms) * 0.001f;
  StepLobbyAnimations();
  StepOtherWindows(elapsed_ms, seconds);
  UpdateLinkQuality();
  if (g_Main.state == MAIN_STATE_CONNECTING) Main_SuperviseConnect(seconds);
  DrawScrollBanner(seconds);
  if (g_Main.state == MAIN_STATE_LOBBY) Main_CheckLobbyLink(seconds);
  StepRefresh(seconds);
  platform::Sleep(kTickRestMs);
}

int Main_PreTranslateMessage(platform::MSG* message) {
  if (Login_PreTranslate(message) == 0) return 0;
  if (BuddyList_PreTranslate(message) == 0) return 0;
  if (SignUpDialog_PreTranslate(message) == 0) return 0;
  if (AccountDialogs_PreTranslate(message) == 0) return 0;
  if (BadSignInDialogHolder != nullptr && BadSignInDialogHolder->PreTranslate(message) == 0) {
    return 0;
  }
  return 1;
}

void Main_CreateLobbyPanels() {
  GlobalMenuStrip().Create(g_Main.back_dc);
  GlobalNavTree().Create(g_Main.back_dc, MainWindow);
}

void Main_SetUpLobbyBanners() {
  const BannerImageSet& images = GlobalBannerImageSet();
  LineFile links;
  (void)links.Read(platform::NativePath(images.GetPath(kBannerLinksEntry)).c_str());
  const char* left_link = links.GetLine(0) != nullptr ? links.GetLine(0) : "";
  const char* right_link = links.GetLine(1) != nullptr ? links.GetLine(1) : "";
  g_Main.left_banner.Setup(g_Main.back_dc, g_Main.background_dc, images.GetFile(1),
                           images.GetFile(2), left_link, kLeftBanner);
  g_Main.right_banner.Setup(g_Main.back_dc, g_Main.background_dc, images.GetFile(3),
                            images.GetFile(4), right_link, kRightBanner);
}

void Main_ReturnToHostOrExit() {
  DebugLog_WriteLevel(1, "void Main_ReturnToHostOrExit (void)\n");
  if (g_Main.handler_depth > 0) {
    // Code of the main window or the splash is on the stack: the window goes when it returns.
    g_Main.closing = true;
    return;
  }
  if (MainWindow != nullptr) platform::DestroyWindow(MainWindow);
}

void Main_EnterSplashHandler() { ++g_Main.handler_depth; }

void Main_LeaveSplashHandler() {
  if (--g_Main.handler_depth == 0 && g_Main.closing) {
    g_Main.closing = false;
    if (MainWindow != nullptr) platform::DestroyWindow(MainWindow);
  }
}

void Main_BringToFront() {
  if (MainWindow == nullptr) return;
  if (platform::IsWindowVisible(MainWindow) && platform::IsIconic(MainWindow)) {
    platform::OpenIcon(MainWindow);
  }
  platform::SetForegroundWindow(MainWindow);
}

void Main_RedrawCounters() {
  MainWindowState& main = g_Main;
  if (main.back_dc == nullptr || main.counters_valid == 0) return;
  RestoreFromBackground(kCounterArea);
  const platform::HFONT old_font = platform::SelectObject(main.back_dc, main.title_font);
  const platform::COLORREF old_colour = platform::GetTextColor(main.back_dc);
  for (size_t i = 0; i < std::size(kCounterRects); ++i) {
    char text[16];
    std::snprintf(text, sizeof text, "%ld", static_cast<long>(main.lobby_counters[kCounterShown[i]]));
    const platform::RECT& at = kCounterRects[i];
    platform::RECT shadow{at.left + 1, at.top + 1, at.right + 1, at.bottom + 1};
    platform::SetTextColor(main.back_dc, kCounterShadow);
    platform::DrawText(main.back_dc, text, -1, &shadow, platform::DT_SINGLELINE);
    platform::RECT face = kCounterRects[i];
    platform::SetTextColor(main.back_dc, kWhite);
    platform::DrawText(main.back_dc, text, -1, &face, platform::DT_SINGLELINE);
  }
  platform::SetTextColor(main.back_dc, old_colour);
  platform::SelectObject(main.back_dc, old_font);
  CopyToWindow(kCounterArea);
}

void Main_RedrawLobbyButtons() {
  DrawButtonList(g_Main.lobby_buttons);
  if (GlobalNavTree().IsAnyDirty()) DrawNavigationPanel();
}

void Main_RedrawInfoPanel() {
  if (g_Main.state != MAIN_STATE_LOBBY || MainWindow == nullptr) return;
  const platform::HDC window_dc = platform::GetDC(MainWindow);
  GameList_DrawInfoPanel(window_dc, g_Main.back_dc, g_Main.background_dc);
  platform::ReleaseDC(MainWindow, window_dc);
}

void Main_RedrawGameList() {
  MainWindowState& main = g_Main;
  if (main.state != MAIN_STATE_LOBBY || MainWindow == nullptr) return;
  const int32_t top_row = main.list_scroll_bar != nullptr
                              ? platform::GetScrollPos(main.list_scroll_bar, platform::SB_CTL)
                              : 0;
  const platform::HFONT old_font = platform::SelectObject(main.back_dc, main.list_font);
  const platform::HDC window_dc = platform::GetDC(MainWindow);
  GameListView_Get(main.shown_sub_lobby)
      .Draw(window_dc, main.back_dc, main.background_dc, top_row, main.shown_sub_lobby);
  platform::ReleaseDC(MainWindow, window_dc);
  platform::SelectObject(main.back_dc, old_font);
}

void Main_ShowWaitListButtons(int32_t state) {
  ButtonList& buttons = g_Main.lobby_buttons;
  if (state == 1) {
    buttons.ShowButton(LOBBY_BUTTON_JOIN_WAITING_LIST);
  } else {
    buttons.HideButton(LOBBY_BUTTON_JOIN_WAITING_LIST);
  }
  if (state == 2) {
    buttons.ShowButton(LOBBY_BUTTON_LEAVE_WAITING_LIST);
  } else {
    buttons.HideButton(LOBBY_BUTTON_LEAVE_WAITING_LIST);
  }
}

int32_t Main_GameCodeToType(const char* code) {
  struct GameCode {
    const char* code;
    int32_t type;
  };
  static constexpr GameCode kCodes[] = {{"PA", 0}, {"HO", 1}, {"MC", 2}, {"B2", 3},
                                        {"CP", 4}, {"BJ", 5}, {"P7", 6}, {"OM", 7}};
  if (code == nullptr) return -1;
  const char* bare = (code[0] == 'T' || code[0] == 'C') ? code + 1 : code;
  for (const GameCode& known : kCodes) {
    if (std::strcmp(code, known.code) == 0 || std::strcmp(bare, known.code) == 0) return known.type;
  }
  return -1;
}

void Main_AppendMoneyText(char* text, uint32_t size, long amount, int plain) {
  const size_t used = std::strlen(text);
  if (used + 1 >= size) return;
  char* end = text + used;
  const size_t room = size - used;
  if (plain != 0) {
    std::snprintf(end, room, "%ld", amount);
    return;
  }
  const unsigned long magnitude =
      amount < 0 ? 0UL - static_cast<unsigned long>(amount) : static_cast<unsigned long>(amount);
  std::snprintf(end, room, "$%s%lu.%02lu", amount < 0 ? "-" : "", magnitude / 100, magnitude % 100);
}

bool Main_IsSoundEnabled() { return g_UserOptions.disable_sound == 0; }

void Main_LoadLobbySounds() {
  for (int32_t i = 0; i < kLobbySoundCount; ++i) {
    lobby_sound_slots[i] = GlobalSoundBank().Load(kLobbySoundFiles[i]);
  }
}

void Main_ReleaseLobbySoundSlots() {
  for (int32_t& slot : lobby_sound_slots) slot = -1;
}

void Main_StartLobbyMusic() {
  if (!Main_IsSoundEnabled() || g_UserOptions.disable_music != 0) return;
  if (g_Main.lobby_music_slot < 0) g_Main.lobby_music_slot = GlobalSoundBank().LoadMusic(kLobbyMusicFile);
  if (g_Main.lobby_music_slot >= 0) (void)GlobalSoundBank().PlayLoopMusic(g_Main.lobby_music_slot);
}

void Main_StopLobbyMusic() {
  if (g_Main.lobby_music_slot < 0) return;
  (void)GlobalSoundBank().FreeMusic(g_Main.lobby_music_slot);
  g_Main.lobby_music_slot = -1;
}

void Main_PlayClickSound() { PlaySlot(lobby_sound_slots[kClickSound]); }
void Main_PlayYourTurnSound() { PlaySlot(lobby_sound_slots[kYourTurnSound]); }
void Main_PlayPassSound() { PlaySlot(lobby_sound_slots[kPassSound]); }
void Main_PlayCardSound() { PlaySlot(lobby_sound_slots[kCardSound]); }

void Main_HotPickTableOpened(uint32_t table_id, int32_t game_type, int real_money) {
  MainWindowState& main = g_Main;
  int32_t slot = -1;
  const platform::HDC window_dc = MainWindow != nullptr ? platform::GetDC(MainWindow) : nullptr;
  main.hot_picks.MarkTableOpen(main.back_dc, window_dc, &slot, table_id, game_type, real_money);
  if (window_dc != nullptr) platform::ReleaseDC(MainWindow, window_dc);
  if (slot >= 0 && slot < kHotPickSlots) {
    main.lobby_buttons.HideButton(LOBBY_BUTTON_FIRST_HOT_PICK_JOIN + slot);
    main.lobby_buttons.ShowButton(LOBBY_BUTTON_FIRST_HOT_PICK_VIEW + slot);
  }
  Main_RedrawLobbyButtons();
}

void Main_HotPickTableClosed(uint32_t table_id) {
  MainWindowState& main = g_Main;
  int32_t slot = -1;
  const platform::HDC window_dc = MainWindow != nullptr ? platform::GetDC(MainWindow) : nullptr;
  main.hot_picks.MarkTableClosed(main.back_dc, window_dc, main.background_dc, &slot, table_id);
  if (window_dc != nullptr) platform::ReleaseDC(MainWindow, window_dc);
  if (slot >= 0 && slot < kHotPickSlots) {
    main.lobby_buttons.HideButton(LOBBY_BUTTON_FIRST_HOT_PICK_VIEW + slot);
    if (main.hot_picks.GetTableId(slot) != 0) {
      main.lobby_buttons.ShowButton(LOBBY_BUTTON_FIRST_HOT_PICK_JOIN + slot);
    }
  }
  Main_RedrawLobbyButtons();
}

void Main_HotPickRemember(uint32_t table_id, const char* name, int redraw_only, int32_t game_type,
                          uint8_t server_id, const char* host, uint16_t port) {
  constexpr size_t kLabelCharacters = 31;
  char label[kLabelCharacters + 1] = "";
  const char* from = name != nullptr ? name : "";
  // "Real ..." and "Play ..." lose their first four characters when more follows.
  if ((std::strncmp(from, "Real", 4) == 0 || std::strncmp(from, "Play", 4) == 0) && from[4] != '\0') {
    from += 4;
  }
  std::snprintf(label, sizeof label, "%s", from);
  if (char* per = std::strstr(label, "per")) *per = '\0';
  MainWindowState& main = g_Main;
  const platform::HDC window_dc = MainWindow != nullptr ? platform::GetDC(MainWindow) : nullptr;
  main.hot_picks.RememberTable(main.back_dc, window_dc, table_id, label, redraw_only, game_type,
                               server_id, host, port);
  if (window_dc != nullptr) platform::ReleaseDC(MainWindow, window_dc);
  Main_RedrawLobbyButtons();
}

void Main_HotPickForget(uint32_t table_id) {
  MainWindowState& main = g_Main;
  const platform::HDC window_dc = MainWindow != nullptr ? platform::GetDC(MainWindow) : nullptr;
  const int32_t slot =
      main.hot_picks.ForgetTable(main.background_dc, main.back_dc, window_dc, table_id);
  if (window_dc != nullptr) platform::ReleaseDC(MainWindow, window_dc);
  if (slot >= 0 && slot < kHotPickSlots) {
    main.lobby_buttons.HideButton(LOBBY_BUTTON_FIRST_HOT_PICK_VIEW + slot);
  }
  Main_RedrawLobbyButtons();
}
