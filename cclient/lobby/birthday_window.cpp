#include "cclient/lobby/birthday_window.h"

#include <cstdio>
#include <cstring>

#include "cclient/base/core_access.h"
#include "cclient/base/debug_log.h"
#include "cclient/widgets/jpeg_file.h"
#include "platform/draw/gdi.h"
#include "platform/text/text.h"
#include "platform/window/activation.h"
#include "platform/window/window.h"
#include "platform/window/paint.h"

namespace {

constexpr const char* kClassName = "HappyBirthday";
constexpr const char* kPictureFile = "birthday.a";
constexpr int32_t kTextTop = 82;

struct BirthdayState {
  char text[kBirthdayTextBytes] = {};
  platform::HWND window = nullptr;
  uint8_t* pixels = nullptr;  // blue, green, red rows top-down; null without a picture
  int32_t width = 0;
  int32_t height = 0;
  int32_t bits = 0;
  bool class_registered = false;
};

BirthdayState& State() {
  static BirthdayState state;
  return state;
}

void LoadPicture() {
  BirthdayState& state = State();
  FreeDecodedImage(&state.pixels);
  const char* error = DecodeJpegFile(kPictureFile, &state.width, &state.height, &state.bits,
                                     &state.pixels);
  if (error != nullptr) {
    DebugLog_WriteLevel(1, "Unable to load birthday background JPEG (%s).\n", error);
    return;
  }
  if (state.width % 4 != 0 || state.bits != 24) {
    DebugLog_WriteLevel(1, "Invalid birthday background JPEG width or depth.\n");
    FreeDecodedImage(&state.pixels);
    return;
  }
  SwapRedBlue(state.pixels, state.width * state.height);
}

void Paint(platform::HWND hwnd, platform::HDC dc) {
  const BirthdayState& state = State();
  platform::RECT client{};
  platform::GetClientRect(hwnd, &client);
  const int32_t old_mode = platform::SetBkMode(dc, platform::TRANSPARENT);
  platform::FillRect(dc, &client,
                     static_cast<platform::HBRUSH>(platform::GetStockObject(platform::WHITE_BRUSH)));
  if (state.pixels != nullptr) {
    platform::BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = state.width;
    info.bmiHeader.biHeight = -state.height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = platform::BI_RGB;
    (void)platform::SetDIBitsToDevice(dc, 0, 0, static_cast<uint32_t>(state.width),
                                      static_cast<uint32_t>(state.height), 0, 0, 0,
                                      static_cast<uint32_t>(state.height), state.pixels, &info,
                                      platform::DIB_RGB_COLORS);
  }
  const platform::COLORREF old_colour = platform::SetTextColor(dc, platform::RGB(0, 0, 0));
  platform::RECT text_area = client;
  text_area.top = kTextTop;
  (void)platform::DrawText(dc, state.text, -1, &text_area,
                           platform::DT_CENTER | platform::DT_WORDBREAK | platform::DT_NOPREFIX);
  platform::SetTextColor(dc, old_colour);
  platform::SetBkMode(dc, old_mode);
}

platform::LRESULT Procedure(platform::HWND hwnd, platform::UINT message, platform::WPARAM wparam,
                            platform::LPARAM lparam) {
  switch (message) {
    case platform::WM_DESTROY:
      State().window = nullptr;
      return 0;
    case platform::WM_ERASEBKGND:
      Paint(hwnd, reinterpret_cast<platform::HDC>(wparam));
      return 1;
    default:
      return platform::DefWindowProc(hwnd, message, wparam, lparam);
  }
}

}  // namespace

void BirthdayWindow_Show(platform::HINSTANCE instance, platform::HWND owner, const char* text) {
  BirthdayState& state = State();
  // A longer greeting is cut at the buffer's end.
  std::snprintf(state.text, sizeof state.text, "%s", text != nullptr ? text : "");
  if (state.window != nullptr) {
    platform::InvalidateRect(state.window, nullptr, true);
    platform::SetForegroundWindow(state.window);
    return;
  }
  LoadPicture();
  if (!state.class_registered) {
    platform::WNDCLASS window_class;
    window_class.style = platform::CS_HREDRAW | platform::CS_VREDRAW;
    window_class.lpfnWndProc = Procedure;
    window_class.hInstance = instance;
    window_class.hIcon = Main_GetProgramIcon();
    window_class.hCursor = platform::LoadCursor(nullptr, platform::IDC_ARROW);
    window_class.hbrBackground = platform::GetSysColorBrush(platform::COLOR_WINDOW);
    window_class.lpszClassName = kClassName;
    state.class_registered = platform::RegisterClass(&window_class) != 0;
  }
  state.window = platform::CreateWindow(kClassName, "Happy Birthday",
                                        platform::WS_CAPTION | platform::WS_SYSMENU, 50, 50, 328,
                                        268, owner, nullptr, instance, nullptr);
  if (state.window == nullptr) return;
  platform::ShowWindow(state.window, platform::SW_SHOW);
  platform::UpdateWindow(state.window);
}

platform::HWND BirthdayWindow_GetWindow() { return State().window; }
const char* BirthdayWindow_GetText() { return State().text; }
