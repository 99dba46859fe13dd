#include "launcher/splash_window.h"

#include <algorithm>

#include "cclient/widgets/jpeg_file.h"
#include "launcher/fallback_picture.h"
#include "launcher/splash_status.h"
#include "launcher/upgrade_engine.h"
#include "platform/system/clock.h"
#include "platform/controls/common_controls.h"
#include "platform/controls/control_types.h"
#include "platform/system/paths.h"
#include "platform/text/text.h"
#include "platform/window/activation.h"
#include "platform/window/message_queue.h"
#include "platform/window/paint.h"
#include "platform/window/window.h"

namespace {

using namespace platform;

constexpr int kBackgroundSide = 320;
constexpr int kCancelWaitSteps = 60;
constexpr uint32_t kCancelWaitStepMs = 100;
// Settings numbers are window coordinates; anything beyond this is far outside the window.
constexpr long kCoordinateReach = 32767;

struct SplashState {
  const RootIniSettings* settings = nullptr;
  // Either the decoded picture (blue, green, red, top-down) or the built-in bitmap in a context.
  uint8_t* pixels = nullptr;
  HDC fallback_dc = nullptr;
  HBITMAP fallback_bitmap = nullptr;
  HGDIOBJ fallback_old_bitmap = nullptr;
  int width = 0;
  int height = 0;
  HICON icon = nullptr;
  HINSTANCE instance = nullptr;
  bool class_registered = false;
  HWND window = nullptr;
  HWND button = nullptr;
  std::string status_text;
  float ratio = -1.0f;
};

SplashState splash;

int Clamped(long value, long low, long high) { return static_cast<int>(std::clamp(value, low, high)); }

void FillWithStock(HDC dc, RECT rect, int32_t stock) {
  FillRect(dc, &rect, static_cast<HBRUSH>(GetStockObject(stock)));
}

void DrawBackground(HDC dc, const RECT& client) {
  if (splash.fallback_dc != nullptr) {
    // A monochrome copy takes the destination's colours: set bits white, clear bits black.
    SetTextColor(dc, RGB(0, 0, 0));
    SetBkColor(dc, RGB(255, 255, 255));
    BitBlt(dc, 0, 0, splash.width, splash.height, splash.fallback_dc, 0, 0, SRCCOPY);
  } else if (splash.pixels != nullptr) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = splash.width;
    info.bmiHeader.biHeight = -splash.height;  // top-down
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = BI_RGB;
    SetDIBitsToDevice(dc, 0, 0, static_cast<uint32_t>(splash.width), static_cast<uint32_t>(splash.height), 0, 0,
                      0, static_cast<uint32_t>(splash.height), splash.pixels, &info, DIB_RGB_COLORS);
  } else {
    FillWithStock(dc, client, BLACK_BRUSH);
  }
}

// A bar 250 pixels wide hanging below the status text's top, centred on the window.
void DrawProgressBar(HDC dc, int centre_x, int top, float ratio) {
  FillWithStock(dc, RECT{centre_x - 125, top + 18, centre_x + 125, top + 32}, LTGRAY_BRUSH);
  FillWithStock(dc, RECT{centre_x - 124, top + 19, centre_x + 124, top + 31}, DKGRAY_BRUSH);
  const int filled = static_cast<int>(246.0f * ratio);
  FillWithStock(dc, RECT{centre_x - 123, top + 20, centre_x - 123 + filled, top + 30}, WHITE_BRUSH);
  const uint8_t grey = static_cast<uint8_t>(255 - static_cast<int>(ratio * 255.0f));
  SetTextColor(dc, RGB(grey, grey, grey));
  RECT text_rect{centre_x - 123, top + 18, centre_x + 123, top + 32};
  const std::string text = ProgressBarText(ratio);
  DrawText(dc, text.c_str(), -1, &text_rect, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
}

// Everything is drawn on erase, which every invalidation of the splash brings.
void PaintSplash(HWND hwnd, HDC dc) {
  RECT client;
  GetClientRect(hwnd, &client);
  SetBkMode(dc, TRANSPARENT);
  DrawBackground(dc, client);
  if (splash.settings == nullptr) return;
  const int top = Clamped(splash.settings->status_text_top, -kCoordinateReach, kCoordinateReach);
  SetTextColor(dc, static_cast<COLORREF>(splash.settings->status_text_colour & 0x00FFFFFF));
  RECT text_rect{0, top, client.right, client.bottom};
  DrawText(dc, splash.status_text.c_str(), -1, &text_rect, DT_CENTER);
  if (splash.ratio >= 0.0f) DrawProgressBar(dc, client.right / 2, top, splash.ratio);
}

// The button: stop the upgrade thread (asking, then waiting for it; it is never killed) and
// close. The upgrade state stays as the thread left it, so only a thread that had already
// finished its work has something started afterwards.
void OnCancel() {
  ShowWindow(splash.button, SW_HIDE);
  Splash_SetStatus("Closing Please Wait...", splash.ratio);
  UpdateWindow(splash.window);
  Upgrade_RequestAbort();
  for (int step = 0; step < kCancelWaitSteps && Upgrade_IsRunning(); ++step) Sleep(kCancelWaitStepMs);
  if (Upgrade_IsRunning()) Upgrade_Kill();
  DestroyWindow(splash.window);
  Splash_Release();
}

void FreeBackground() {
  FreeDecodedImage(&splash.pixels);
  if (splash.fallback_dc != nullptr) {
    SelectObject(splash.fallback_dc, splash.fallback_old_bitmap);
    DeleteDC(splash.fallback_dc);
    splash.fallback_dc = nullptr;
  }
  if (splash.fallback_bitmap != nullptr) {
    DeleteObject(splash.fallback_bitmap);
    splash.fallback_bitmap = nullptr;
  }
  splash.width = 0;
  splash.height = 0;
}

bool TakeFallbackPicture() {
  splash.fallback_bitmap = CreateFallbackPicture();
  if (splash.fallback_bitmap == nullptr) return false;
  splash.fallback_dc = CreateCompatibleDC(nullptr);
  splash.fallback_old_bitmap = SelectObject(splash.fallback_dc, splash.fallback_bitmap);
  BITMAP description{};
  if (GetObject(splash.fallback_bitmap, sizeof description, &description) == sizeof description) {
    splash.width = description.bmWidth;
    splash.height = description.bmHeight;
  } else {
    splash.width = kBackgroundSide;
    splash.height = kBackgroundSide;
  }
  return true;
}

}  // namespace

void Splash_SetSettings(const RootIniSettings* settings) { splash.settings = settings; }

SplashBackground Splash_LoadBackground(const char* file_name) {
  FreeBackground();
  int32_t width = 0;
  int32_t height = 0;
  int32_t bits = 0;
  const std::string path = NativePath(file_name);
  if (DecodeJpegFile(path.c_str(), &width, &height, &bits, &splash.pixels) != nullptr) {
    return TakeFallbackPicture() ? SplashBackground::kFallback : SplashBackground::kMissing;
  }
  if (width != kBackgroundSide || height != kBackgroundSide || bits != 24) {
    FreeDecodedImage(&splash.pixels);
    return SplashBackground::kInvalid;
  }
  SwapRedBlue(splash.pixels, width * height);
  splash.width = width;
  splash.height = height;
  return SplashBackground::kDecoded;
}

bool Splash_HasBackground() { return splash.pixels != nullptr || splash.fallback_dc != nullptr; }

bool RegisterSplashClass(HINSTANCE instance, HICON icon) {
  splash.icon = icon;
  WNDCLASS window_class{};
  window_class.style = CS_HREDRAW | CS_VREDRAW;
  window_class.lpfnWndProc = &SplashWndProc;
  window_class.hInstance = instance;
  window_class.hIcon = icon;
  window_class.hCursor = LoadCursor(nullptr, IDC_ARROW);
  window_class.hbrBackground = GetSysColorBrush(COLOR_WINDOW);
  window_class.lpszClassName = kSplashClassName;
  InitCommonControls();
  splash.instance = instance;
  splash.class_registered = RegisterClass(&window_class) != 0;
  return splash.class_registered;
}

int CreateSplashWindow(HINSTANCE instance, int show_command, const char* title) {
  splash.status_text.clear();
  splash.ratio = -1.0f;
  const int screen_width = GetSystemMetrics(SM_CXSCREEN);
  const int screen_height = GetSystemMetrics(SM_CYSCREEN);
  const int x = splash.width < screen_width ? (screen_width - splash.width) / 2 : 0;
  const int y = splash.height < screen_height ? (screen_height - splash.height) / 2 : 0;
  splash.window = CreateWindow(kSplashClassName, title, WS_POPUP, x, y, splash.width, splash.height, nullptr,
                               nullptr, instance, nullptr);
  if (splash.window == nullptr) return 0;
  ShowWindow(splash.window, show_command);
  UpdateWindow(splash.window);
  return 1;
}

HWND Splash_CreateButton(HINSTANCE instance) {
  const RootIniSettings& settings = *splash.settings;
  splash.button = CreateWindow(WC_BUTTON, settings.button_caption, WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON,
                               Clamped(settings.button_left, -kBackgroundSide, kBackgroundSide),
                               Clamped(settings.button_top, -kBackgroundSide, kBackgroundSide),
                               Clamped(settings.button_width, 0, kBackgroundSide),
                               Clamped(settings.button_height, 0, kBackgroundSide), splash.window,
                               reinterpret_cast<HMENU>(static_cast<intptr_t>(kSplashButtonId)), instance, nullptr);
  return splash.button;
}

bool Splash_StartTimer() { return SetTimer(splash.window, kSplashTimerId, kSplashTimerPeriodMs) != 0; }

HWND Splash_GetWindow() { return splash.window; }
HWND Splash_GetButton() { return splash.button; }

void UpdateStatusText() {
  UpgradeProgress progress;
  progress.state = Upgrade_GetState();
  progress.files_checked = Upgrade_GetFilesChecked();
  progress.files_listed = Upgrade_GetFileCount();
  progress.bytes_done = Upgrade_GetBytesDone();
  progress.bytes_to_fetch = Upgrade_GetBytesToFetch();
  if (progress.state == UPGRADE_SERVER_MESSAGE) progress.server_message = Upgrade_GetServerMessage();
  const SplashStatus status = StatusForUpgrade(progress);
  if (status.close_window) {
    DestroyWindow(splash.window);
    return;
  }
  Splash_SetStatus(status.text, status.ratio);
}

void Splash_SetStatus(const std::string& text, float ratio) {
  if (ratio > 1.0f) ratio = 1.0f;
  if (text == splash.status_text && ratio == splash.ratio) return;
  splash.status_text = text;
  splash.ratio = ratio;
  InvalidateRect(splash.window, nullptr, true);
}

const std::string& Splash_GetStatusText() { return splash.status_text; }
float Splash_GetRatio() { return splash.ratio; }

void Splash_Release() {
  if (IsWindow(splash.window)) DestroyWindow(splash.window);
  splash.window = nullptr;
  splash.button = nullptr;
  FreeBackground();
  // The class goes before its icon, so that no class is left holding a freed icon.
  if (splash.class_registered) {
    UnregisterClass(kSplashClassName, splash.instance);
    splash.class_registered = false;
  }
  if (splash.icon != nullptr) {
    DestroyIcon(splash.icon);
    splash.icon = nullptr;
  }
}

LRESULT SplashWndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_ERASEBKGND:
      PaintSplash(hwnd, reinterpret_cast<HDC>(wParam));
      return 1;
    case WM_PAINT: {
      PAINTSTRUCT paint;
      BeginPaint(hwnd, &paint);
      EndPaint(hwnd, &paint);
      return 0;
    }
    case WM_TIMER:
      if (wParam == kSplashTimerId) UpdateStatusText();
      return 0;
    case WM_COMMAND:
      if (LOWORD(wParam) == kSplashButtonId) OnCancel();
      return 0;
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
    default:
      return DefWindowProc(hwnd, message, wParam, lParam);
  }
}
