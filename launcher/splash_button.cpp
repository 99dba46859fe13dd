#include "launcher/splash_button.h"

#include "platform/text/text.h"
#include "platform/window/activation.h"
#include "platform/window/input.h"
#include "platform/window/message_queue.h"
#include "platform/window/paint.h"
#include "platform/window/window.h"

namespace {

using namespace platform;

// GWLP_USERDATA of a button: 1 while it is shown pressed.
bool IsPressed(HWND hwnd) { return GetWindowLongPtr(hwnd, GWLP_USERDATA) != 0; }

void SetPressed(HWND hwnd, bool pressed) {
  if (IsPressed(hwnd) == pressed) return;
  SetWindowLongPtr(hwnd, GWLP_USERDATA, pressed ? 1 : 0);
  InvalidateRect(hwnd, nullptr, true);
}

bool PointInClient(HWND hwnd, LPARAM lParam) {
  RECT client;
  GetClientRect(hwnd, &client);
  const int x = GET_X_LPARAM(lParam);
  const int y = GET_Y_LPARAM(lParam);
  return x >= client.left && x < client.right && y >= client.top && y < client.bottom;
}

void FillWith(HDC dc, RECT rect, int32_t system_colour) { FillRect(dc, &rect, GetSysColorBrush(system_colour)); }

// A face with a one-pixel dark outline and a bevel: light on the top and left, shadow on the
// bottom and right; swapped while pressed, with the caption one pixel down and right.
void DrawButton(HWND hwnd, HDC dc) {
  RECT client;
  GetClientRect(hwnd, &client);
  const int w = client.right;
  const int h = client.bottom;
  const bool pressed = IsPressed(hwnd);
  FillWith(dc, client, COLOR_3DDKSHADOW);
  if (w > 2 && h > 2) {
    FillWith(dc, RECT{1, 1, w - 1, h - 1}, pressed ? COLOR_BTNSHADOW : COLOR_BTNHIGHLIGHT);
    FillWith(dc, RECT{2, 2, w - 1, h - 1}, pressed ? COLOR_BTNHIGHLIGHT : COLOR_BTNSHADOW);
    FillWith(dc, RECT{2, 2, w - 2, h - 2}, COLOR_BTNFACE);
  }
  char caption[256];
  const int length = GetWindowText(hwnd, caption, sizeof caption);
  RECT text_rect{pressed ? 1 : 0, pressed ? 1 : 0, w + (pressed ? 1 : 0), h + (pressed ? 1 : 0)};
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
  DrawText(dc, caption, length, &text_rect, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
}

LRESULT SplashButtonProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_ERASEBKGND:
      DrawButton(hwnd, reinterpret_cast<HDC>(wParam));
      return 1;
    case WM_PAINT: {
      PAINTSTRUCT paint;
      BeginPaint(hwnd, &paint);
      EndPaint(hwnd, &paint);
      return 0;
    }
    case WM_SETTEXT: {
      const LRESULT result = DefWindowProc(hwnd, message, wParam, lParam);
      InvalidateRect(hwnd, nullptr, true);
      return result;
    }
    case WM_LBUTTONDOWN:
      SetCapture(hwnd);
      SetPressed(hwnd, true);
      return 0;
    case WM_MOUSEMOVE:
      if (GetCapture() == hwnd) SetPressed(hwnd, PointInClient(hwnd, lParam));
      return 0;
    case WM_LBUTTONUP: {
      if (GetCapture() != hwnd) return 0;
      ReleaseCapture();
      SetPressed(hwnd, false);
      if (PointInClient(hwnd, lParam)) {
        const int id = GetDlgCtrlID(hwnd);
        PostMessage(GetParent(hwnd), WM_COMMAND, MAKEWPARAM(id, static_cast<int>(BN_CLICKED)),
                    reinterpret_cast<LPARAM>(hwnd));
      }
      return 0;
    }
    case WM_CAPTURECHANGED:
      SetPressed(hwnd, false);
      return 0;
    default:
      return DefWindowProc(hwnd, message, wParam, lParam);
  }
}

}  // namespace

void RegisterSplashButtonClass(HINSTANCE instance) {
  WNDCLASS button_class{};
  button_class.lpfnWndProc = &SplashButtonProc;
  button_class.hInstance = instance;
  button_class.hCursor = LoadCursor(nullptr, IDC_ARROW);
  button_class.lpszClassName = kSplashButtonClass;
  // A second registration fails and leaves the first, identical one in force.
  (void)RegisterClass(&button_class);
}
