#include "tests/platform/window/recording_window.h"

#include "platform/draw/png_writer.h"
#include "platform/system/clock.h"
#include "platform/window/activation.h"

namespace windowtest {

using namespace platform;

void WindowTest::SetUp() {
  ASSERT_TRUE(headless::IsHeadless());
  ASSERT_TRUE(IsFakeClock());
  headless::Reset();
  log().clear();
  handlers().clear();
  names().clear();
}

void WindowTest::TearDown() {
  // The handlers may refer to the test's locals, which are gone by now.
  handlers().clear();
  headless::Reset();
}

std::map<HWND, std::string>& WindowTest::names() {
  static std::map<HWND, std::string> entries;
  return entries;
}

std::vector<Recorded>& WindowTest::log() {
  static std::vector<Recorded> entries;
  return entries;
}

std::map<HWND, Handler>& WindowTest::handlers() {
  static std::map<HWND, Handler> entries;
  return entries;
}

LRESULT WindowTest::RecordingProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  log().push_back(Recorded{hwnd, message, wParam, lParam, GetTickCount()});
  const auto it = handlers().find(hwnd);
  if (it != handlers().end()) {
    // A copy: the handler may replace itself or destroy its window.
    const Handler handler = it->second;
    if (const std::optional<LRESULT> result = handler(hwnd, message, wParam, lParam)) return *result;
  }
  return DefWindowProc(hwnd, message, wParam, lParam);
}

void WindowTest::RegisterRecordingClass(const char* name, UINT class_style, HBRUSH background) {
  WNDCLASS window_class;
  window_class.style = class_style;
  window_class.lpfnWndProc = RecordingProcedure;
  window_class.hCursor = LoadCursor(nullptr, IDC_ARROW);
  window_class.hbrBackground = background;
  window_class.lpszClassName = name;
  RegisterClass(&window_class);
}

HWND WindowTest::CreateTopLevel(const char* title, int client_width, int client_height, const char* class_name,
                                HWND owner) {
  RegisterRecordingClass(class_name);
  const uint32_t style = WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
  RECT rect{100, 100, 100 + client_width, 100 + client_height};
  AdjustWindowRect(&rect, style, false);
  const HWND hwnd = CreateWindowEx(0, class_name, title, style | WS_VISIBLE, rect.left, rect.top,
                                   rect.right - rect.left, rect.bottom - rect.top, owner, nullptr, nullptr, nullptr);
  EXPECT_NE(hwnd, nullptr);
  names()[hwnd] = title;
  return hwnd;
}

HWND WindowTest::CreateChild(HWND parent, int id, int x, int y, int width, int height, const char* class_name) {
  RegisterRecordingClass(class_name);
  const HWND hwnd = CreateWindowEx(0, class_name, "", WS_CHILD | WS_VISIBLE, x, y, width, height, parent,
                                   reinterpret_cast<HMENU>(static_cast<intptr_t>(id)), nullptr, nullptr);
  EXPECT_NE(hwnd, nullptr);
  names()[hwnd] = "child" + std::to_string(id);
  return hwnd;
}

std::vector<Recorded> WindowTest::Messages(const std::vector<UINT>& kinds) const {
  std::vector<Recorded> selected;
  for (const Recorded& entry : log()) {
    if (kinds.empty() || std::find(kinds.begin(), kinds.end(), entry.message) != kinds.end()) {
      selected.push_back(entry);
    }
  }
  return selected;
}

std::vector<std::string> WindowTest::Trace(const std::vector<UINT>& kinds) const {
  std::vector<std::string> trace;
  for (const Recorded& entry : Messages(kinds)) {
    const auto name = WindowTest::names().find(entry.hwnd);
    trace.push_back(NameOf(entry.message) + "@" + (name != WindowTest::names().end() ? name->second : "?"));
  }
  return trace;
}

std::string WindowTest::NameOf(UINT message) {
  switch (message) {
    case WM_CREATE: return "CREATE";
    case WM_DESTROY: return "DESTROY";
    case WM_NCDESTROY: return "NCDESTROY";
    case WM_PAINT: return "PAINT";
    case WM_ERASEBKGND: return "ERASE";
    case WM_TIMER: return "TIMER";
    case WM_KEYDOWN: return "KEYDOWN";
    case WM_KEYUP: return "KEYUP";
    case WM_CHAR: return "CHAR";
    case WM_MOUSEMOVE: return "MOUSEMOVE";
    case WM_LBUTTONDOWN: return "LDOWN";
    case WM_LBUTTONUP: return "LUP";
    case WM_LBUTTONDBLCLK: return "LDBL";
    case WM_RBUTTONUP: return "RUP";
    case WM_MOUSEWHEEL: return "WHEEL";
    case WM_ACTIVATE: return "ACTIVATE";
    case WM_SETFOCUS: return "SETFOCUS";
    case WM_KILLFOCUS: return "KILLFOCUS";
    case WM_CLOSE: return "CLOSE";
    default: return std::to_string(message);
  }
}

COLORREF ColourAt(const Surface& picture, int x, int y) {
  if (x < 0 || y < 0 || x >= picture.width || y >= picture.height) return 0xFFFFFFFF;
  const uint8_t* pixel = picture.Row(y) + static_cast<size_t>(x) * 3;
  return RGB(pixel[2], pixel[1], pixel[0]);
}

::testing::AssertionResult PictureHas(const Surface& picture, const std::vector<Probe>& probes,
                                      const std::string& name) {
  for (const Probe& probe : probes) {
    const COLORREF actual = ColourAt(picture, probe.x, probe.y);
    if (actual == probe.colour) continue;
    const bool saved = SaveSurfacePng(picture, name + ".png");
    return ::testing::AssertionFailure() << "pixel (" << probe.x << ", " << probe.y << ") is 0x" << std::hex
                                         << actual << ", expected 0x" << probe.colour << std::dec
                                         << (saved ? "; picture written to " + name + ".png" : "");
  }
  return ::testing::AssertionSuccess();
}

}  // namespace windowtest
