// Opens two windows and animates a rectangle in each on a 40 ms timer, for a person to look at the
// window core with a real display. A left click shows a message box (the other window keeps
// moving while it is open); Esc or the close box closes a window; the program ends when both are
// closed.
//
// Usage: windemo [--screenshot FILE.png --frames N]
//   With --screenshot the program saves both windows' pictures side by side after N ticks of the
//   first window and ends.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "platform/draw/gdi.h"
#include "platform/draw/png_writer.h"
#include "platform/text/text.h"
#include "platform/window/activation.h"
#include "platform/window/headless.h"
#include "platform/window/message_box.h"
#include "platform/window/message_queue.h"
#include "platform/window/paint.h"
#include "platform/window/window.h"

using namespace platform;

namespace {

constexpr const char* kClassName = "WinDemo";
constexpr int kClientWidth = 360;
constexpr int kClientHeight = 240;
constexpr int kBoxSize = 48;
constexpr uintptr_t kTimerId = 1;
constexpr UINT kTimerMs = 40;

struct Animation {
  HWND hwnd = nullptr;
  HDC dc = nullptr;  // taken once, drawn into on every tick
  COLORREF background = 0;
  COLORREF colour = 0;
  int x = 0;
  int y = 0;
  int dx = 0;
  int dy = 0;
  int frame = 0;
};

Animation g_windows[2];
int g_open_windows = 0;
std::string g_screenshot_path;
int g_screenshot_frames = 0;

Animation* AnimationOf(HWND hwnd) {
  for (Animation& animation : g_windows) {
    if (animation.hwnd == hwnd) return &animation;
  }
  return nullptr;
}

void Fill(HDC dc, RECT rect, COLORREF colour) {
  const HBRUSH brush = CreateSolidBrush(colour);
  FillRect(dc, &rect, brush);
  DeleteObject(brush);
}

void DrawFrame(Animation& a) {
  Fill(a.dc, RECT{0, 0, kClientWidth, kClientHeight}, a.background);
  Fill(a.dc, RECT{a.x, a.y, a.x + kBoxSize, a.y + kBoxSize}, a.colour);
  Fill(a.dc, RECT{a.x + 6, a.y + 6, a.x + kBoxSize - 6, a.y + kBoxSize - 6}, RGB(255, 255, 255));
  char text[64];
  std::snprintf(text, sizeof(text), "frame %d", a.frame);
  SetBkMode(a.dc, TRANSPARENT);
  SetTextColor(a.dc, RGB(255, 255, 255));
  RECT line{8, kClientHeight - 24, kClientWidth - 8, kClientHeight - 4};
  DrawText(a.dc, text, -1, &line, DT_LEFT | DT_VCENTER | DT_SINGLELINE);
}

void Step(Animation& a) {
  a.x += a.dx;
  a.y += a.dy;
  if (a.x < 0 || a.x + kBoxSize > kClientWidth) {
    a.dx = -a.dx;
    a.x += 2 * a.dx;
  }
  if (a.y < 0 || a.y + kBoxSize > kClientHeight - 28) {
    a.dy = -a.dy;
    a.y += 2 * a.dy;
  }
  ++a.frame;
  DrawFrame(a);
}

// Both windows' pictures side by side, 8 pixels apart.
bool SaveScreenshot() {
  const int gap = 8;
  Surface sheet(2 * kClientWidth + gap, kClientHeight);
  for (int i = 0; i < 2; ++i) {
    const Surface* picture = GetDCSurface(g_windows[i].dc);
    if (picture == nullptr) return false;
    for (int y = 0; y < kClientHeight && y < picture->height; ++y) {
      std::memcpy(sheet.Row(y) + static_cast<size_t>(i) * (kClientWidth + gap) * 3, picture->Row(y),
                  static_cast<size_t>(std::min(kClientWidth, picture->width)) * 3);
    }
  }
  return SaveSurfacePng(sheet, g_screenshot_path);
}

LRESULT DemoProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  Animation* a = AnimationOf(hwnd);
  switch (message) {
    case WM_ERASEBKGND:
      return 1;  // every tick draws the whole window
    case WM_TIMER:
      if (a == nullptr) return 0;
      Step(*a);
      if (!g_screenshot_path.empty() && a == &g_windows[0] && a->frame == g_screenshot_frames) {
        const bool saved = SaveScreenshot();
        std::printf("%s %s after %d frames\n", saved ? "Saved" : "Could not save", g_screenshot_path.c_str(),
                    a->frame);
        DestroyWindow(g_windows[1].hwnd);
        DestroyWindow(g_windows[0].hwnd);
      }
      return 0;
    case WM_LBUTTONDOWN: {
      char text[96];
      std::snprintf(text, sizeof(text), "Clicked at (%d, %d).\nThe other window keeps moving.",
                    GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
      MessageBox(hwnd, text, "Window demo", MB_OK | MB_ICONINFORMATION);
      return 0;
    }
    case WM_KEYDOWN:
      if (wParam == static_cast<WPARAM>(VK_ESCAPE)) DestroyWindow(hwnd);
      return 0;
    case WM_DESTROY:
      KillTimer(hwnd, kTimerId);
      if (a != nullptr) a->hwnd = nullptr;
      if (--g_open_windows == 0) PostQuitMessage(0);
      return 0;
    default:
      return DefWindowProc(hwnd, message, wParam, lParam);
  }
}

bool OpenWindow(Animation& a, const char* title, int left, int top) {
  const uint32_t style = WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
  RECT rect{left, top, left + kClientWidth, top + kClientHeight};
  AdjustWindowRect(&rect, style, false);
  a.hwnd = CreateWindowEx(0, kClassName, title, style, rect.left, rect.top, rect.right - rect.left,
                          rect.bottom - rect.top, nullptr, nullptr, nullptr, nullptr);
  if (a.hwnd == nullptr) return false;
  ++g_open_windows;
  a.dc = GetDC(a.hwnd);
  DrawFrame(a);
  ShowWindow(a.hwnd, SW_SHOW);
  return SetTimer(a.hwnd, kTimerId, kTimerMs) != 0;
}

}  // namespace

int main(int argc, char** argv) {
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--screenshot") == 0 && i + 1 < argc) {
      g_screenshot_path = argv[++i];
    } else if (std::strcmp(argv[i], "--frames") == 0 && i + 1 < argc) {
      g_screenshot_frames = std::atoi(argv[++i]);
    } else {
      std::fprintf(stderr, "Usage: %s [--screenshot FILE.png --frames N]\n", argv[0]);
      return 2;
    }
  }
  if (!g_screenshot_path.empty() && g_screenshot_frames <= 0) g_screenshot_frames = 25;

  WNDCLASS window_class;
  window_class.style = CS_DBLCLKS;
  window_class.lpfnWndProc = DemoProcedure;
  window_class.hCursor = LoadCursor(nullptr, IDC_ARROW);
  window_class.lpszClassName = kClassName;
  if (RegisterClass(&window_class) == 0) return 1;

  g_windows[0] = Animation{nullptr, nullptr, RGB(20, 90, 50), RGB(220, 60, 40), 10, 20, 6, 4, 0};
  g_windows[1] = Animation{nullptr, nullptr, RGB(30, 40, 110), RGB(240, 200, 40), 200, 100, -5, 3, 0};
  std::printf("Backend: %s\n", headless::IsHeadless() ? "headless" : "SDL2");
  if (!OpenWindow(g_windows[0], "Window demo: one", 60, 80) ||
      !OpenWindow(g_windows[1], "Window demo: two", 60 + kClientWidth + 40, 80)) {
    std::fprintf(stderr, "Cannot open the windows.\n");
    return 1;
  }
  return RunMessageLoop();
}
