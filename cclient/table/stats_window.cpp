#include "cclient/table/stats_window.h"

#include <cstdio>
#include <cstring>

#include "cclient/base/debug_log.h"
#include "cclient/base/core_access.h"
#include "cclient/table/table_list.h"
#include "cclient/widgets/jpeg_file.h"
#include "platform/controls/control_types.h"
#include "platform/text/text.h"
#include "platform/window/activation.h"
#include "platform/window/paint.h"
#include "platform/window/window.h"
#include "platform/window/window_messages.h"

namespace {

constexpr int32_t kStatsWidth = 300;
constexpr int32_t kStatsHeight = 232;

void Keep(char* out, const char* text) {
  std::snprintf(out, StatsWindow::kTextBytes, "%s", text != nullptr ? text : "");
}

void DrawShadowed(platform::HDC dc, const char* text, platform::RECT shadow, platform::RECT face, uint32_t format) {
  platform::SetTextColor(dc, 0x000000);
  platform::DrawText(dc, text, -1, &shadow, format);
  platform::SetTextColor(dc, 0xFFFFFF);
  platform::DrawText(dc, text, -1, &face, format);
}

}  // namespace

StatsWindow::StatsWindow() = default;

StatsWindow::~StatsWindow() {
  if (window_ != nullptr) {
    const platform::HWND window = window_;
    window_ = nullptr;
    platform::DestroyWindow(window);
  }
  FreeDecodedImage(&picture_);
}

void StatsWindow::SetTexts(const char* title, const char* summary, const char* labels_1, const char* values_1,
                           const char* labels_2, const char* values_2) {
  char new_title[kTextBytes];
  Keep(new_title, title);
  if (std::strcmp(new_title, title_) != 0) {
    std::memcpy(title_, new_title, sizeof title_);
    if (window_ != nullptr) platform::SetWindowText(window_, title_);
  }
  Keep(summary_, summary);
  Keep(labels_1_, labels_1);
  Keep(values_1_, values_1);
  Keep(labels_2_, labels_2);
  Keep(values_2_, values_2);
  if (window_ != nullptr) platform::InvalidateRect(window_, nullptr, true);
}

void StatsWindow::LoadPicture() {
  // The picture is read once for the window's life, however often the window is opened.
  if (picture_tried_) return;
  picture_tried_ = true;
  const char* error = DecodeJpegFile("statswin.a", &picture_width_, &picture_height_, &picture_depth_, &picture_);
  if (error != nullptr) {
    DebugLog_Write("Unable to load stats background JPEG (%s).\n", error);
    return;
  }
  if (picture_width_ % 4 != 0 || picture_depth_ != 24) {
    FreeDecodedImage(&picture_);
    DebugLog_Write("Invalid stats background JPEG width or depth.\n");
    return;
  }
  SwapRedBlue(picture_, picture_width_ * picture_height_);
}

void StatsWindow::Show(platform::HINSTANCE instance, platform::HWND parent) {
  if (window_ != nullptr) {
    platform::SetWindowText(window_, title_);
    platform::InvalidateRect(window_, nullptr, true);
    platform::SetForegroundWindow(window_);
    return;
  }
  LoadPicture();
  platform::WNDCLASS window_class;
  window_class.style = platform::CS_HREDRAW | platform::CS_VREDRAW;
  window_class.lpfnWndProc = &StatsWindow::WndProc;
  window_class.hInstance = instance;
  window_class.hCursor = platform::LoadCursor(nullptr, platform::IDC_ARROW);
  window_class.hbrBackground = platform::GetSysColorBrush(platform::COLOR_WINDOW);
  window_class.lpszClassName = kStatsWindowClassName;
  (void)platform::RegisterClass(&window_class);
  window_ = platform::CreateWindow(kStatsWindowClassName, title_, platform::WS_CAPTION | platform::WS_SYSMENU, 0, 0,
                                   kStatsWidth, kStatsHeight, parent, nullptr, instance, nullptr);
  if (window_ == nullptr) return;
  close_button_ = platform::CreateWindow(platform::WC_BUTTON, "Close", platform::WS_CHILD | platform::WS_VISIBLE,
                                         200, 175, 64, 20, window_,
                                         reinterpret_cast<platform::HMENU>(static_cast<uintptr_t>(kStatsCloseButton)),
                                         instance, nullptr);
  reset_button_ = platform::CreateWindow(
      platform::WC_BUTTON, "Reset Stats", platform::WS_CHILD | platform::WS_VISIBLE, 20, 175, 96, 20, window_,
      reinterpret_cast<platform::HMENU>(static_cast<uintptr_t>(kStatsResetButton)), instance, nullptr);
  platform::ShowWindow(window_, platform::SW_SHOW);
  platform::UpdateWindow(window_);
}

void StatsWindow::Paint(platform::HDC dc) {
  platform::SetBkMode(dc, platform::TRANSPARENT);
  if (picture_ != nullptr) {
    platform::BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = picture_width_;
    info.bmiHeader.biHeight = -picture_height_;  // top-down rows
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = platform::BI_RGB;
    platform::SetDIBitsToDevice(dc, 0, 0, static_cast<uint32_t>(picture_width_),
                                static_cast<uint32_t>(picture_height_), 0, 0, 0,
                                static_cast<uint32_t>(picture_height_), picture_, &info, platform::DIB_RGB_COLORS);
  } else {
    platform::RECT client{0, 0, 0, 0};
    platform::GetClientRect(window_, &client);
    platform::FillRect(dc, &client, static_cast<platform::HBRUSH>(platform::GetStockObject(platform::GRAY_BRUSH)));
  }
  const platform::HFONT font = Main_GetPanelTitleFont();
  const platform::HFONT old_font = font != nullptr ? platform::SelectObject(dc, font) : nullptr;
  DrawShadowed(dc, summary_, platform::RECT{0, 6, 292, 38}, platform::RECT{-1, 5, 291, 37}, platform::DT_CENTER);
  platform::SetTextColor(dc, 0x000000);
  platform::RECT left_labels{0, 40, 146, 232};
  platform::DrawText(dc, labels_1_, -1, &left_labels, platform::DT_RIGHT);
  DrawShadowed(dc, values_1_, platform::RECT{1, 41, 147, 233}, platform::RECT{0, 40, 146, 232}, platform::DT_RIGHT);
  platform::SetTextColor(dc, 0x000000);
  platform::RECT right_labels{150, 40, 292, 232};
  platform::DrawText(dc, labels_2_, -1, &right_labels, platform::DT_RIGHT);
  DrawShadowed(dc, values_2_, platform::RECT{151, 41, 293, 233}, platform::RECT{150, 40, 292, 232}, platform::DT_LEFT);
  if (font != nullptr) platform::SelectObject(dc, old_font);
}

platform::LRESULT StatsWindow::WndProc(platform::HWND hwnd, platform::UINT message, platform::WPARAM wParam,
                                       platform::LPARAM lParam) {
  StatsWindow* stats = GlobalTableList().FindStatsWindow(hwnd);
  if (stats == nullptr) return platform::DefWindowProc(hwnd, message, wParam, lParam);
  switch (message) {
    case platform::WM_DESTROY:
      stats->window_ = nullptr;
      stats->close_button_ = nullptr;
      stats->reset_button_ = nullptr;
      return 0;
    case platform::WM_ERASEBKGND:
      stats->Paint(reinterpret_cast<platform::HDC>(wParam));
      return 0;
    case platform::WM_COMMAND: {
      const int id = platform::LOWORD(wParam);
      if (id == kStatsCloseButton) {
        platform::DestroyWindow(hwnd);
      } else if (id == kStatsResetButton) {
        stats->values_1_[0] = '\0';
        stats->values_2_[0] = '\0';
        platform::InvalidateRect(hwnd, nullptr, true);
        stats->reset_requested = 1;
      }
      return 0;
    }
    default:
      return platform::DefWindowProc(hwnd, message, wParam, lParam);
  }
}
