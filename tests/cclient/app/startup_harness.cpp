// The client's start-up path as a program for the start-up tests: WinMain with the command line
// this program was given, run headless in the folder the test copied it into (so that folder is
// the program folder), and a driver that plays the user's part once the lobby's connection has
// data from the server. TVK_HARNESS_SCENARIO names the part:
//   close    looks at the main window, minimises it and asks the running copy to come forward,
//            then closes it twice: declining the confirmation, then accepting it
//   upgrade  an upgrade notice hands over to the launcher
//   (none)   nothing: start-up runs alone (and ends when it fails)
// When WinMain returns, the report goes to the file TVK_HARNESS_REPORT names: "exit CODE", the
// driver's findings, the splash's last text, then one line per message box and per sound request,
// in order.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "cclient/base/client_globals.h"
#include "cclient/app/game_list_view.h"
#include "cclient/app/login.h"
#include "platform/controls/dialog.h"
#include "cclient/app/main_window.h"
#include "cclient/app/splash_window.h"
#include "cclient/app/startup.h"
#include "cclient/net/network.h"
#include "platform/sound/sound.h"
#include "platform/system/process.h"
#include "platform/system/single_instance.h"
#include "platform/draw/surface.h"
#include "platform/window/headless.h"
#include "platform/window/message_queue.h"
#include "platform/window/window.h"

namespace {

constexpr uintptr_t kDriverTimer = 1;
constexpr uint32_t kDriverPeriodMs = 10;
// A run whose server never sends anything still ends: the driver acts after this much real time.
constexpr auto kConnectPatience = std::chrono::seconds(20);
// Main-timer ticks the driver waits for the main window to come forward.
constexpr int kForwardPatienceTicks = 200;

std::string scenario;
std::vector<std::string> findings;
int step = 0;
int waited_ticks = 0;
// Ticks waited in the lobby for the shown list before looking, when TVK_HARNESS_WAIT_FOR_LIST is
// set (only a server that sends lists is waited for).
int list_ticks = 0;
constexpr int kListPatienceTicks = 300;
std::chrono::steady_clock::time_point started;

std::string Escaped(const std::string& text) {
  std::string escaped;
  for (char c : text) {
    if (c == '\n') {
      escaped += "\\n";
    } else {
      escaped.push_back(c);
    }
  }
  return escaped;
}

// The server's hello and RESUMETABLES have entered the lobby.
bool LobbyHasData() { return g_Main.state == MAIN_STATE_LOBBY; }

void LookAtMainWindow() {
  platform::RECT client{};
  platform::GetClientRect(MainWindow, &client);
  char title[128] = "";
  platform::GetWindowText(MainWindow, title, sizeof title);
  findings.push_back("client " + std::to_string(client.right - client.left) + " " +
                     std::to_string(client.bottom - client.top));
  findings.push_back(std::string("visible ") + (platform::IsWindowVisible(MainWindow) ? "1" : "0"));
  findings.push_back(std::string("title ") + title);
  // Two pixels of what the window shows, as red, green, blue.
  findings.push_back("state " + std::to_string(g_Main.state));
  findings.push_back("rows " + std::to_string(GameListView_Get(g_Main.shown_sub_lobby).GetRowCount()));
  findings.push_back(std::string("signed in ") + (Login_IsLoggedIn() ? "1" : "0"));
  const platform::Surface shown = platform::headless::GetWindowPicture(MainWindow);
  // The corners, then the middle of the link-quality strip.
  for (const platform::POINT at :
       {platform::POINT{0, 0}, platform::POINT{799, 515}, platform::POINT{12 + 106, 483 + 13}}) {
    if (at.x >= shown.width || at.y >= shown.height) continue;
    const uint8_t* pixel = shown.Row(at.y) + at.x * 3;
    char text[32];
    std::snprintf(text, sizeof text, "pixel %02X%02X%02X", pixel[2], pixel[1], pixel[0]);
    findings.push_back(text);
  }
  if (const char* picture = std::getenv("TVK_HARNESS_PICTURE")) {
    findings.push_back(std::string("picture ") +
                       (platform::headless::SaveWindowPicture(MainWindow, picture) ? "1" : "0"));
  }
}

void PlayClose() {
  switch (step) {
    case 0:
      // Signs in through the dialog the first lobby shows (a picture of it first, when asked):
      // while it is in front the lobby asks for no lists.
      if (std::getenv("TVK_HARNESS_WAIT_FOR_LIST") != nullptr && Login_GetDialog() != nullptr) {
        const platform::HWND dialog = Login_GetDialog();
        if (const char* picture = std::getenv("TVK_HARNESS_SIGN_IN_PICTURE")) {
          findings.push_back(std::string("sign-in picture ") +
                             (platform::headless::SaveWindowPicture(dialog, picture) ? "1" : "0"));
        }
        platform::SetDlgItemText(dialog, 1001, "  player  ");
        platform::SetDlgItemText(dialog, 1002, "demo");
        platform::SendMessage(dialog, platform::WM_COMMAND, 1003, 0);
        break;
      }
      if (std::getenv("TVK_HARNESS_WAIT_FOR_LIST") != nullptr &&
          !(GameListView_Get(g_Main.shown_sub_lobby).HasData() && Login_IsLoggedIn()) &&
          ++list_ticks < kListPatienceTicks) {
        break;
      }
      LookAtMainWindow();
      platform::ShowWindow(MainWindow, platform::SW_MINIMIZE);
      (void)platform::SingleInstanceLock::AskHolderToComeForward(kInstanceMutexName);
      step = 1;
      break;
    case 1:
      if (platform::IsIconic(MainWindow) && ++waited_ticks < kForwardPatienceTicks) break;
      findings.push_back(std::string("came forward ") + (platform::IsIconic(MainWindow) ? "0" : "1"));
      platform::headless::AnswerMessageBox(platform::IDNO);
      platform::headless::InjectClose(MainWindow);
      step = 2;
      break;
    case 2:
      // The declined box must have closed first.
      if (platform::headless::MessageBoxes().empty() ||
          platform::headless::MessageBoxes().back().result == 0) {
        break;
      }
      findings.push_back(std::string("open after no ") + (platform::IsWindow(MainWindow) ? "1" : "0"));
      platform::headless::AnswerMessageBox(platform::IDYES);
      platform::headless::InjectClose(MainWindow);
      step = 3;
      break;
    default:
      break;
  }
}

platform::LRESULT DriverProcedure(platform::HWND hwnd, platform::UINT message, platform::WPARAM wParam,
                                  platform::LPARAM lParam) {
  if (message != platform::WM_TIMER) return platform::DefWindowProc(hwnd, message, wParam, lParam);
  if (MainWindow == nullptr) return 0;
  if (step == 0 && !LobbyHasData() && std::chrono::steady_clock::now() - started < kConnectPatience) {
    return 0;
  }
  if (scenario == "close") {
    PlayClose();
  } else if (scenario == "upgrade" && step == 0) {
    step = 1;
    Main_InitiateSpawnSwitch();
  }
  return 0;
}

void StartDriver() {
  platform::WNDCLASS window_class;
  window_class.lpfnWndProc = DriverProcedure;
  window_class.lpszClassName = "StartupHarnessDriver";
  (void)platform::RegisterClass(&window_class);
  const platform::HWND driver = platform::CreateWindow("StartupHarnessDriver", "", 0, 0, 0, 10, 10,
                                                       nullptr, nullptr, nullptr, nullptr);
  platform::SetTimer(driver, kDriverTimer, kDriverPeriodMs);
}

void WriteReport(int exit_code) {
  const char* path = std::getenv("TVK_HARNESS_REPORT");
  if (path == nullptr) return;
  std::FILE* report = std::fopen(path, "w");
  if (report == nullptr) return;
  std::fprintf(report, "exit %d\n", exit_code);
  for (const std::string& finding : findings) std::fprintf(report, "%s\n", finding.c_str());
  if (Splash_GetText()[0] != '\0') std::fprintf(report, "splash %s\n", Escaped(Splash_GetText()).c_str());
  for (const auto& box : platform::headless::MessageBoxes()) {
    std::fprintf(report, "box %X %s|%s\n", box.flags, box.caption.c_str(), Escaped(box.text).c_str());
  }
  for (const std::string& request : platform::RecordedSoundRequests()) {
    std::fprintf(report, "sound %s\n", request.c_str());
  }
  std::fclose(report);
}

}  // namespace

int main(int argc, char** argv) {
  platform::PrepareProcess();
  const char* named = std::getenv("TVK_HARNESS_SCENARIO");
  scenario = named != nullptr ? named : "";
  started = std::chrono::steady_clock::now();
  if (!scenario.empty()) StartDriver();
  const std::string command_line = platform::CommandLineText(argc, argv);
  const int exit_code = WinMain(nullptr, nullptr, command_line.c_str(), platform::SW_SHOWNORMAL);
  WriteReport(exit_code);
  return exit_code;
}
