#include "tests/platform/controls/controls_fixture.h"

#include <ostream>

#include "platform/system/clock.h"
#include "platform/window/input.h"

namespace controlstest {

namespace {

std::vector<Notice>& RecordedNotices() {
  static std::vector<Notice> notices;
  return notices;
}

ControlsTest::Handler& CurrentHandler() {
  static ControlsTest::Handler handler;
  return handler;
}

bool IsFocusNotice(const Notice& notice) {
  if (notice.message == WM_COMMAND) {
    switch (notice.code) {
      case BN_SETFOCUS:
      case BN_KILLFOCUS:
      case EN_SETFOCUS:
      case EN_KILLFOCUS:
      case LBN_SETFOCUS:
      case LBN_KILLFOCUS:
      case CBN_SETFOCUS:
      case CBN_KILLFOCUS: return true;
      default: return false;
    }
  }
  return notice.message == WM_NOTIFY &&
         (notice.code == static_cast<int>(NM_SETFOCUS) || notice.code == static_cast<int>(NM_KILLFOCUS));
}

void Record(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_COMMAND:
      RecordedNotices().push_back(Command(LOWORD(wParam), HIWORD(wParam)));
      break;
    case WM_NOTIFY: {
      const auto* header = reinterpret_cast<const NMHDR*>(lParam);
      Notice notice{WM_NOTIFY, static_cast<int>(header->idFrom), static_cast<int>(header->code), 0, 0};
      if (header->code == LVN_GETDISPINFO) return;  // asked for while drawing; not a user action
      if (header->code == NM_CLICK || header->code == NM_DBLCLK) {
        const auto* activate = reinterpret_cast<const NMITEMACTIVATE*>(lParam);
        notice.value = activate->iItem;
        notice.column = activate->iSubItem;
      } else if (header->code == LVN_COLUMNCLICK || header->code == LVN_ITEMCHANGED) {
        const auto* change = reinterpret_cast<const NMLISTVIEW*>(lParam);
        notice.value = change->iItem;
        notice.column = header->code == LVN_COLUMNCLICK ? change->iSubItem : static_cast<int>(change->uNewState);
      }
      RecordedNotices().push_back(notice);
      break;
    }
    case WM_VSCROLL:
      RecordedNotices().push_back(Scroll(GetDlgCtrlID(reinterpret_cast<HWND>(lParam)), LOWORD(wParam),
                                         static_cast<int16_t>(HIWORD(wParam))));
      break;
    default: break;
  }
}

bool HandleFirst(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  const ControlsTest::Handler handler = CurrentHandler();
  return handler && handler(hwnd, message, wParam, lParam);
}

INT_PTR RecordingDialogProcedure(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  if (HandleFirst(dialog, message, wParam, lParam)) return 1;
  Record(message, wParam, lParam);
  return message == WM_INITDIALOG ? 1 : 0;
}

LRESULT HostProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (HandleFirst(hwnd, message, wParam, lParam)) return 0;
  Record(message, wParam, lParam);
  return DefWindowProc(hwnd, message, wParam, lParam);
}

bool OfferToDialog(MSG* msg) {
  return ControlsTest::dialog_ != nullptr && IsDialogMessage(ControlsTest::dialog_, msg);
}

}  // namespace

HWND ControlsTest::dialog_ = nullptr;

std::ostream& operator<<(std::ostream& out, const Notice& notice) {
  const char* kind = notice.message == WM_COMMAND ? "COMMAND" : notice.message == WM_NOTIFY ? "NOTIFY" : "VSCROLL";
  return out << kind << "{id " << notice.id << ", code " << notice.code << ", value " << notice.value
             << ", column " << notice.column << "}";
}

void ControlsTest::SetUp() {
  ASSERT_TRUE(headless::IsHeadless());
  ASSERT_TRUE(IsFakeClock());
  headless::Reset();
  InitCommonControls();
  SetPreTranslateHook(OfferToDialog);
  dialog_ = nullptr;
  RecordedNotices().clear();
  CurrentHandler() = nullptr;
}

void ControlsTest::TearDown() {
  CurrentHandler() = nullptr;
  dialog_ = nullptr;
  headless::Reset();
}

HWND ControlsTest::OpenDialog(const DialogTemplate& dialog) {
  dialog_ = CreateDialogIndirect(nullptr, &dialog, nullptr, RecordingDialogProcedure);
  headless::RunUntilIdle();
  return dialog_;
}

HWND ControlsTest::CreateHost(int client_width, int client_height) {
  WNDCLASS window_class;
  window_class.lpfnWndProc = HostProcedure;
  window_class.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
  window_class.lpszClassName = "ControlsHost";
  RegisterClass(&window_class);
  RECT outer{0, 0, client_width, client_height};
  AdjustWindowRect(&outer, WS_CAPTION, false);
  const HWND host = CreateWindow("ControlsHost", "host", WS_CAPTION | WS_VISIBLE, 50, 50, outer.right - outer.left,
                                 outer.bottom - outer.top, nullptr, nullptr, nullptr, nullptr);
  headless::RunUntilIdle();
  return host;
}

HWND ControlsTest::CreateControl(HWND parent, const char* class_name, const char* text, uint32_t style, int id, int x,
                                 int y, int width, int height) {
  const HWND control = CreateWindowEx(0, class_name, text, WS_CHILD | WS_VISIBLE | style, x, y, width, height, parent,
                                      reinterpret_cast<HMENU>(static_cast<intptr_t>(id)), nullptr, nullptr);
  headless::RunUntilIdle();
  return control;
}

void ControlsTest::Press(int virtual_key) {
  headless::InjectKeyPress(virtual_key);
  headless::RunUntilIdle();
}

// The modifier is held while the key's messages are handled, as a person would hold it.
void ControlsTest::PressWith(int modifier, int virtual_key) {
  headless::InjectKey(WM_KEYDOWN, modifier);
  headless::RunUntilIdle();
  headless::InjectKeyPress(virtual_key);
  headless::RunUntilIdle();
  headless::InjectKey(WM_KEYUP, modifier);
  headless::RunUntilIdle();
}

void ControlsTest::Type(const char* text) {
  headless::TypeText(text);
  headless::RunUntilIdle();
}

void ControlsTest::Click(HWND hwnd, int x, int y) {
  headless::InjectClick(hwnd, x, y);
  headless::RunUntilIdle();
  // Clicks far apart in time: the next one is never part of a double click.
  headless::AdvanceClock(1000);
}

void ControlsTest::DoubleClick(HWND hwnd, int x, int y) {
  headless::InjectClick(hwnd, x, y);
  headless::InjectClick(hwnd, x, y);
  headless::RunUntilIdle();
  headless::AdvanceClock(1000);
}

void ControlsTest::Drag(HWND hwnd, int from_x, int from_y, int to_x, int to_y) {
  headless::InjectMouse(hwnd, WM_LBUTTONDOWN, from_x, from_y);
  headless::RunUntilIdle();
  headless::InjectMouse(hwnd, WM_MOUSEMOVE, to_x, to_y);
  headless::RunUntilIdle();
  headless::InjectMouse(hwnd, WM_LBUTTONUP, to_x, to_y);
  headless::RunUntilIdle();
  headless::AdvanceClock(1000);
}

std::string ControlsTest::TextOf(HWND hwnd) {
  const int length = GetWindowTextLength(hwnd);
  std::string text(static_cast<size_t>(length) + 1, '\0');
  text.resize(static_cast<size_t>(GetWindowText(hwnd, text.data(), length + 1)));
  return text;
}

std::vector<Notice> ControlsTest::Notices(bool with_focus_notices) {
  std::vector<Notice> notices;
  for (const Notice& notice : RecordedNotices()) {
    if (with_focus_notices || !IsFocusNotice(notice)) notices.push_back(notice);
  }
  return notices;
}

void ControlsTest::ClearNotices() { RecordedNotices().clear(); }

void ControlsTest::SetHandler(Handler handler) { CurrentHandler() = std::move(handler); }

}  // namespace controlstest
