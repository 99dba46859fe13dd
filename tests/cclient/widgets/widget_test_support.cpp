#include "tests/cclient/widgets/widget_test_support.h"

#include <cstdlib>
#include <filesystem>

#include "cclient/widgets/table_layout.h"
#include "platform/draw/png_writer.h"
#include "tools/widget-gallery/table_art.h"

const int32_t kTableChipValues[15] = {0,      25,      100,      500,      1000,     2500,      10000,     50000,
                                      100000, 500000, 2500000, 10000000, 50000000, 200000000, 1000000000};

TableChipSet::TableChipSet() {
  (void)LoadBitmapFile("4001.b", &strip_);
  for (int32_t i = 0; i < 15; ++i) {
    chips_[i] = std::make_unique<ChipImage>(kTableChipValues[i]);
    chips_[i]->SetFromStrip(&strip_.dc, 20, 19, 20 * i, 0, 0x00FF00, nullptr);
    pointers_[i] = chips_[i].get();
  }
}

TableChipSet::~TableChipSet() { ReleaseBitmapFile(&strip_); }

void TableChipSet::SetUpStack(ChipStack* stack) {
  stack->Init(15, pointers_, 0, 0, nullptr, 9, 9);
  int32_t storage_x[15][15] = {};
  int32_t storage_y[15][15] = {};
  int32_t* xs[15];
  int32_t* ys[15];
  for (int k = 0; k < 15; ++k) {
    xs[k] = storage_x[k];
    ys[k] = storage_y[k];
  }
  ChipLayout_FillTable(11, xs, ys);
  stack->SetLayout(xs, ys, 1, -3, 0);
  stack->SetPileMode(false, true);
  stack->SetAlwaysRedraw(false);
}

void TableArtTest::SetUp() { ASSERT_TRUE(WriteTableArt(folder_.Path())); }

void SaveForPerson(platform::HDC dc, const std::string& name) {
  const char* env = std::getenv("TVK_WIDGET_PNG_DIR");
  std::filesystem::path folder;
  if (env != nullptr && *env != '\0') {
    folder = env;
  } else {
    folder = std::filesystem::canonical("/proc/self/exe").parent_path() / "widget_pngs";
  }
  std::error_code error;
  std::filesystem::create_directories(folder, error);
  EXPECT_TRUE(platform::SaveDCPng(dc, (folder / (name + ".png")).string())) << name;
}

#include "platform/window/headless.h"
#include "platform/window/activation.h"
#include "platform/window/window.h"
#include "platform/window/window_messages.h"

namespace {

InputWindow* g_input_window = nullptr;

}  // namespace

InputWindow::InputWindow(Handler handler) : handler_(std::move(handler)) {
  platform::headless::Reset();
  platform::WNDCLASS window_class;
  window_class.lpfnWndProc = Procedure;
  window_class.lpszClassName = "WidgetInputWindow";
  (void)platform::RegisterClass(&window_class);
  g_input_window = this;
  hwnd_ = platform::CreateWindow("WidgetInputWindow", "table", platform::WS_VISIBLE, 0, 0, 800, 560, nullptr,
                                 nullptr, nullptr, nullptr);
  EXPECT_NE(hwnd_, nullptr);
  platform::SetFocus(hwnd_);
  Deliver();
}

InputWindow::~InputWindow() {
  g_input_window = nullptr;
  platform::headless::Reset();
}

void InputWindow::Deliver() { (void)platform::headless::RunUntilIdle(); }

platform::LRESULT InputWindow::Procedure(platform::HWND hwnd, platform::UINT message, platform::WPARAM wparam,
                                         platform::LPARAM lparam) {
  switch (message) {
    case platform::WM_MOUSEMOVE:
    case platform::WM_LBUTTONDOWN:
    case platform::WM_LBUTTONUP:
      if (g_input_window != nullptr) {
        g_input_window->handler_(message, wparam, platform::GET_X_LPARAM(lparam), platform::GET_Y_LPARAM(lparam));
      }
      return 0;
    case platform::WM_CHAR:
      if (g_input_window != nullptr) g_input_window->handler_(message, wparam, 0, 0);
      return 0;
    default:
      return platform::DefWindowProc(hwnd, message, wparam, lparam);
  }
}
