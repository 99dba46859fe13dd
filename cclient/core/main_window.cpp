#include "cclient/core/main_window.h"

#include <iterator>

#include "cclient/core/banner_image_set.h"
#include "cclient/core/client_globals.h"
#include "cclient/core/debug_log.h"
#include "cclient/core/line_file.h"
#include "cclient/core/main_message_box.h"
#include "cclient/core/options.h"
#include "cclient/core/sound_bank.h"
#include "cclient/core/startup.h"
#include "cclient/net/network.h"
#include "platform/sound/sound.h"
#include "platform/system/clock.h"
#include "platform/system/paths.h"
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

// Hands at most one received packet per connection to the dispatch, unless a handler further up
// this thread's stack is still running (it may have opened a modal box whose loop brought this
// message).
void PumpNetwork() {
  if (g_Main.pump_guard != 0) return;
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

}  // namespace

// The lobby's own input (keys, buttons, lists, banners, menu commands) goes to the default
// procedure until the lobby handles it.
platform::LRESULT Main_WndProc(platform::HWND hwnd, platform::UINT message, platform::WPARAM wParam,
                               platform::LPARAM lParam) {
  switch (message) {
    case platform::WM_DESTROY:
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
    case platform::WM_TIMER:
      PumpNetwork();
      if (wParam == kMainTimerId) {
        CheckComeForwardRequest();
        CheckCloseSignal();
        Main_Tick();
      }
      return 0;
    case platform::WM_MOUSEMOVE:
      PumpNetwork();
      return 0;
    case platform::MM_MCINOTIFY:
      GlobalSoundBank().OnMusicNotify(static_cast<uint32_t>(wParam), static_cast<uint32_t>(lParam));
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

// The lobby's own steps (its animations, the link-quality strip, the connect supervision, the
// scroll banner and the list refresh) join this tick with the lobby, and the open tables' steps
// (and their new backgrounds after a fetch) with the table host.
void Main_Tick() {
  if (GlobalBannerImageSet().Poll() == 1) Main_SetUpLobbyBanners();

  const uint32_t now = platform::GetTickCount();
  if (g_Main.first_tick != 0) {
    g_Main.first_tick = 0;
    g_Main.last_tick_ms = now;
  }
  int32_t elapsed_ms = static_cast<int32_t>(now - g_Main.last_tick_ms);
  if (elapsed_ms < 0) elapsed_ms = 0;
  g_Main.last_tick_ms = now;
  GlobalNetwork().TickLinger(elapsed_ms);

  platform::Sleep(kTickRestMs);
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
  platform::DestroyWindow(MainWindow);
}

void Main_BringToFront() {
  if (MainWindow == nullptr) return;
  if (platform::IsIconic(MainWindow)) platform::OpenIcon(MainWindow);
  platform::SetForegroundWindow(MainWindow);
}
