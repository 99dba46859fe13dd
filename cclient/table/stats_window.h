// The table's statistics window: a small window (300 x 232) in which the game module shows its
// session statistics as a title, a centred summary line and two columns of labels and values,
// with a "Close" and a "Reset Stats" button. Each table owns one; the statistics button opens it.
//
// UI thread only.
#pragma once

#include <cstdint>

#include "platform/draw/gdi.h"
#include "platform/window/window_types.h"

constexpr const char* kStatsWindowClassName = "StatsWindow";
constexpr int kStatsCloseButton = 1;
constexpr int kStatsResetButton = 2;

class StatsWindow {
 public:
  static constexpr uint32_t kTextBytes = 1024;

  StatsWindow();
  ~StatsWindow();
  StatsWindow(const StatsWindow&) = delete;
  StatsWindow& operator=(const StatsWindow&) = delete;

  // Keeps the texts (each cut to 1023 characters); a new title also becomes the open window's
  // caption. An open window is redrawn.
  void SetTexts(const char* title, const char* summary, const char* labels_1, const char* values_1,
                const char* labels_2, const char* values_2);
  // Opens the window owned by `parent`, or refreshes an open one and brings it forward.
  void Show(platform::HINSTANCE instance, platform::HWND parent);

  platform::HWND Window() const { return window_; }
  const char* Title() const { return title_; }
  const char* Values1() const { return values_1_; }
  const char* Values2() const { return values_2_; }
  const char* Labels1() const { return labels_1_; }
  const char* Summary() const { return summary_; }
  bool HasPicture() const { return picture_ != nullptr; }

  // Set by "Reset Stats"; the game module reads and clears it.
  uint32_t reset_requested = 0;

  static platform::LRESULT WndProc(platform::HWND hwnd, platform::UINT message, platform::WPARAM wParam,
                                   platform::LPARAM lParam);

 private:
  void LoadPicture();
  void Paint(platform::HDC dc);

  platform::HWND window_ = nullptr;
  platform::HWND close_button_ = nullptr;
  platform::HWND reset_button_ = nullptr;
  int32_t picture_width_ = 0;
  int32_t picture_height_ = 0;
  int32_t picture_depth_ = 0;
  uint8_t* picture_ = nullptr;
  bool picture_tried_ = false;
  char title_[kTextBytes] = "Statistics";
  char summary_[kTextBytes] = {};
  char labels_1_[kTextBytes] = {};
  char values_1_[kTextBytes] = {};
  char labels_2_[kTextBytes] = {};
  char values_2_[kTextBytes] = {};
};
