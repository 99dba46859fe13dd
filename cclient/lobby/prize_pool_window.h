// The "Complete Prize Table" window of a tournament window: one row of text per prize place.
//
// Held inside its tournament window object. UI thread only.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/window/window_types.h"

class PrizePoolWindow {
 public:
  PrizePoolWindow() = default;
  ~PrizePoolWindow() { Destroy(); }
  PrizePoolWindow(const PrizePoolWindow&) = delete;
  PrizePoolWindow& operator=(const PrizePoolWindow&) = delete;

  // Opens the window at (x, y) owned by `parent` with the rows held; nothing when it is open.
  void Open(platform::HINSTANCE instance, platform::HWND parent, int32_t x, int32_t y);
  // Replaces the rows (only while open; a null array changes nothing).
  void SetRows(std::vector<std::string>* rows);
  bool IsOpen() const { return window_ != nullptr; }
  platform::HWND GetHwnd() const { return window_; }
  int32_t GetRowCount() const { return static_cast<int32_t>(rows_.size()); }
  // Destroys the window when open and frees the rows.
  void Destroy();

  platform::LRESULT WindowProc(platform::HWND hwnd, platform::UINT message, platform::WPARAM wparam,
                               platform::LPARAM lparam);

 private:
  void FillRows();

  platform::HWND window_ = nullptr;
  platform::HWND list_ = nullptr;
  std::vector<std::string> rows_;
};

// Adds a centred text column; true when it could NOT be added.
bool ListView_AddColumnFailed(platform::HWND list, int index, const char* title, int width);
// Retitles an existing column.
bool ListView_SetColumn(platform::HWND list, int index, const char* title, int width);
// Inserts a row at `index` with a callback or given text and `index` as its parameter; with
// `selected` the row is selected and focused.
void ListView_AddRow(platform::HWND list, bool selected, const char* text, int index);
