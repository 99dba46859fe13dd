#include "cclient/app/splash_window.h"

#include <cstdio>
#include <cstring>

#include "cclient/base/client_globals.h"
#include "cclient/base/debug_log.h"
#include "cclient/app/main_window.h"
#include "cclient/lobby/web_pages.h"
#include "cclient/net/net_thread.h"
#include "cclient/widgets/jpeg_file.h"
#include "platform/controls/control_types.h"
#include "platform/http/http.h"
#include "platform/system/paths.h"
#include "platform/text/text.h"
#include "platform/window/activation.h"
#include "platform/window/message_box.h"
#include "platform/window/paint.h"
#include "platform/window/window.h"

namespace {

using namespace platform;

constexpr const char* kSplashClass = "SplashWin";
constexpr const char* kSplashPictureFile = "splash.a";
constexpr uint32_t kMessageBytes = 2048;
constexpr uint32_t kStatusAddressBytes = 260;
constexpr uint32_t kStatusBytes = 4096;
// Without a picture the window keeps room for its text and its buttons.
constexpr int kPlainWidth = 330;
constexpr int kPlainHeight = 320;
constexpr int kMessageTop = 237;
constexpr COLORREF kVersionColour = RGB(200, 200, 200);
constexpr COLORREF kMessageColour = RGB(255, 255, 255);
// The status page is fetched on the UI thread: it may take no longer than this.
constexpr uint32_t kStatusTimeoutMs = 10000;
constexpr const char* kStatusAgent = "TarvikEXE";
constexpr const char* kStatusHeaders = "Accept: */*\r\n\r\n";
constexpr const char* kStatusFallback =
    "The game server is operating normally,\nbut you are unable to connect to it.\n\nPlease check "
    "your Internet connection.\nAlso, if you have any firewall software\ninstalled, ensure that "
    "it is allowing\nthis program to access the Internet.\n\nIf the problem persists after "
    "trying\nagain, please contact support for\nfurther assistance.\n\nThank you.\n";

enum SplashButton : int { kButtonClose = 1, kButtonRetry, kButtonServerStatus, kButtonFullUpgrade };

struct ButtonPlace {
  int id;
  const char* caption;
  RECT rect;  // x, y, width, height
  uint32_t shown_by;
};
constexpr ButtonPlace kButtons[] = {
    {kButtonServerStatus, "Server Status", {30, 277, 110, 20}, kSplashRetry},
    {kButtonRetry, "Retry", {160, 277, 60, 20}, kSplashRetry},
    {kButtonClose, "Close", {240, 277, 60, 20}, kSplashClose},
    {kButtonFullUpgrade, "Full Upgrade", {50, 277, 120, 20}, kSplashFullUpgrade},
};
constexpr size_t kButtonCount = sizeof kButtons / sizeof kButtons[0];

struct Splash {
  HWND window = nullptr;
  HWND buttons[kButtonCount] = {};
  uint8_t* pixels = nullptr;  // blue, green, red, top-down
  int32_t width = 0;
  int32_t height = 0;
  char message[kMessageBytes] = "";
  char status_address[kStatusAddressBytes] = "";
  char status[kStatusBytes] = "";
};

Splash splash;

// Counts the splash's handlers among those a closing main window waits for.
class SplashHandlerScope {
 public:
  SplashHandlerScope() { Main_EnterSplashHandler(); }
  ~SplashHandlerScope() { Main_LeaveSplashHandler(); }
  SplashHandlerScope(const SplashHandlerScope&) = delete;
  SplashHandlerScope& operator=(const SplashHandlerScope&) = delete;
};

void LoadPicture() {
  int32_t bits = 0;
  if (const char* error = DecodeJpegFile(NativePath(kSplashPictureFile).c_str(), &splash.width,
                                         &splash.height, &bits, &splash.pixels)) {
    DebugLog_Write("Unable to load splash.a (%s).\n", error);
    splash.pixels = nullptr;
    return;
  }
  if (splash.width % 4 != 0 || bits != 24) {
    DebugLog_Write("Invalid splash background width or depth.\n");
    FreeDecodedImage(&splash.pixels);
    return;
  }
  SwapRedBlue(splash.pixels, splash.width * splash.height);
}

void Paint(HWND hwnd, HDC dc) {
  RECT client;
  GetClientRect(hwnd, &client);
  SetBkMode(dc, TRANSPARENT);
  if (splash.pixels != nullptr) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = splash.width;
    info.bmiHeader.biHeight = -splash.height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = BI_RGB;
    SetDIBitsToDevice(dc, 0, 0, static_cast<uint32_t>(splash.width),
                      static_cast<uint32_t>(splash.height), 0, 0, 0,
                      static_cast<uint32_t>(splash.height), splash.pixels, &info, DIB_RGB_COLORS);
  } else {
    FillRect(dc, &client, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
  }
  char version[32];
  std::snprintf(version, sizeof version, "v%ld.%02ld", static_cast<long>(kClientVersionMajor),
                static_cast<long>(kClientVersionMinor));
  RECT version_rect{client.left, client.top, client.right - 5, client.bottom - 2};
  SetTextColor(dc, kVersionColour);
  DrawText(dc, version, -1, &version_rect, DT_RIGHT | DT_BOTTOM | DT_SINGLELINE);
  RECT message_rect{client.left, kMessageTop, client.right, client.bottom};
  SetTextColor(dc, kMessageColour);
  DrawText(dc, splash.message, -1, &message_rect, DT_CENTER);
}

// Registered before each creation: a second registration fails and leaves the first in force.
void RegisterSplashClass(HINSTANCE instance) {
  WNDCLASS window_class{};
  window_class.style = CS_HREDRAW | CS_VREDRAW;
  window_class.lpfnWndProc = &SplashWndProc;
  window_class.hInstance = instance;
  window_class.hCursor = LoadCursor(nullptr, IDC_ARROW);
  window_class.hbrBackground = GetSysColorBrush(COLOR_WINDOW);
  window_class.lpszClassName = kSplashClass;
  (void)RegisterClass(&window_class);
}

bool CreateSplash(HINSTANCE instance, HWND owner) {
  LoadPicture();
  RegisterSplashClass(instance);
  const int width = splash.pixels != nullptr ? splash.width : kPlainWidth;
  const int height = splash.pixels != nullptr ? splash.height : kPlainHeight;
  const int screen_width = GetSystemMetrics(SM_CXSCREEN);
  const int screen_height = GetSystemMetrics(SM_CYSCREEN);
  const int x = screen_width > width ? (screen_width - width) / 2 : 0;
  const int y = screen_height > height ? (screen_height - height) / 2 : 0;
  splash.window = CreateWindow(kSplashClass, "", WS_POPUP, x, y, width, height, owner, nullptr,
                               instance, nullptr);
  if (splash.window == nullptr) {
    FreeDecodedImage(&splash.pixels);
    return false;
  }
  for (size_t i = 0; i < kButtonCount; ++i) {
    const ButtonPlace& place = kButtons[i];
    splash.buttons[i] =
        CreateWindow(WC_BUTTON, place.caption, WS_CHILD | BS_PUSHBUTTON, place.rect.left,
                     place.rect.top, place.rect.right, place.rect.bottom, splash.window,
                     reinterpret_cast<HMENU>(static_cast<intptr_t>(place.id)), instance, nullptr);
  }
  return true;
}

// Whether the fetched status text is a page of HTML: its first character after blanks is "<".
bool LooksLikeHtml(const char* text) {
  while (*text == ' ' || *text == '\t' || *text == '\r' || *text == '\n') ++text;
  return *text == '<';
}

// Fetches the status text into splash.status; an unusable answer gives the fixed text.
void CheckServerStatus() {
  (void)InternetGetConnectedState();
  bool usable = false;
  splash.status[0] = '\0';
  HINTERNET session = InternetOpen(kStatusAgent);
  HINTERNET request = nullptr;
  if (session != nullptr) {
    (void)InternetSetOption(session, INTERNET_OPTION_CONNECT_TIMEOUT, kStatusTimeoutMs);
    (void)InternetSetOption(session, INTERNET_OPTION_DATA_RECEIVE_TIMEOUT, kStatusTimeoutMs);
    request = InternetOpenUrl(session, splash.status_address, kStatusHeaders, nullptr);
  }
  if (request != nullptr) {
    uint32_t total = 0;
    bool failed = false;
    while (total < kStatusBytes - 1) {
      uint32_t read = 0;
      if (!InternetReadFile(request, splash.status + total, kStatusBytes - 1 - total, &read)) {
        failed = true;
        break;
      }
      if (read == 0) break;
      total += read;
    }
    splash.status[total] = '\0';
    usable = !failed && total > 0 && !LooksLikeHtml(splash.status);
  }
  InternetCloseHandle(request);
  InternetCloseHandle(session);
  if (!usable) std::snprintf(splash.status, sizeof splash.status, "%s", kStatusFallback);
}

void OnButton(int id) {
  switch (id) {
    case kButtonClose:
      Main_HandleSplashEsc();
      break;
    case kButtonRetry:
      Main_RetryConnect();
      break;
    case kButtonFullUpgrade:
      Main_HandleSplashClick();
      break;
    case kButtonServerStatus:
      CheckServerStatus();
      MessageBox(splash.window, splash.status, "Server Status", MB_OK);
      break;
    default:
      break;
  }
}

}  // namespace

void Splash_Show(HINSTANCE instance, HWND owner, const char* text, uint32_t flags) {
  if (text == nullptr) return;
  // Callers pass short texts; a longer one is cut rather than overrun the buffer.
  std::snprintf(splash.message, sizeof splash.message, "%s", text);
  if (splash.window != nullptr && !IsWindow(splash.window)) splash.window = nullptr;
  if (splash.window == nullptr && !CreateSplash(instance, owner)) return;
  ShowWindow(splash.window, SW_SHOW);
  for (size_t i = 0; i < kButtonCount; ++i) {
    ShowWindow(splash.buttons[i], (flags & kButtons[i].shown_by) != 0 ? SW_SHOW : SW_HIDE);
  }
  InvalidateRect(splash.window, nullptr, true);
  SetForegroundWindow(splash.window);
  UpdateWindow(splash.window);
}

void Splash_Destroy() {
  if (splash.window != nullptr && IsWindow(splash.window)) DestroyWindow(splash.window);
  splash.window = nullptr;
  FreeDecodedImage(&splash.pixels);
}

void Splash_SetServerStatusUrl(const char* url) {
  std::snprintf(splash.status_address, sizeof splash.status_address, "%s",
                url != nullptr ? url : "");
}

HWND Splash_GetWindow() { return splash.window; }

const char* Splash_GetText() { return splash.message; }

bool Splash_IsButtonShown(const char* caption) {
  for (size_t i = 0; i < kButtonCount; ++i) {
    if (std::strcmp(kButtons[i].caption, caption) == 0) {
      return splash.buttons[i] != nullptr && IsWindowVisible(splash.buttons[i]);
    }
  }
  return false;
}

const char* Splash_CheckServerStatus() {
  CheckServerStatus();
  return splash.status;
}

LRESULT SplashWndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  const SplashHandlerScope scope;
  switch (message) {
    case WM_ERASEBKGND:
      Paint(hwnd, reinterpret_cast<HDC>(wParam));
      return 0;
    case WM_DESTROY:
      if (hwnd == splash.window) {
        splash.window = nullptr;
        for (HWND& button : splash.buttons) button = nullptr;
        FreeDecodedImage(&splash.pixels);
      }
      return 0;
    case WM_HELP:
      OpenGameHelp(MainWindow, -1);
      return 0;
    case WM_CHAR:
      if (wParam == VK_ESCAPE) Main_HandleSplashEsc();
      return 0;
    case WM_COMMAND:
      OnButton(LOWORD(wParam));
      return 0;
    default:
      return DefWindowProc(hwnd, message, wParam, lParam);
  }
}
