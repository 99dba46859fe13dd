#include "cclient/lobby/prize_pool_window.h"

#include <cstdio>

#include "cclient/lobby/tourney_list.h"
#include "cclient/lobby/tourney_window.h"
#include "platform/controls/control_messages.h"
#include "platform/controls/control_types.h"
#include "platform/draw/gdi.h"
#include "platform/window/activation.h"
#include "platform/window/paint.h"
#include "platform/window/window.h"

using namespace platform;

namespace {

constexpr const char* kClassName = "PrizePoolWindow";

LRESULT PrizePoolProc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
  if (TourneyClass* tourney = GlobalTourneyList().FindByPrizePoolHwnd(hwnd)) {
    return tourney->PrizePool().WindowProc(hwnd, message, wparam, lparam);
  }
  return DefWindowProc(hwnd, message, wparam, lparam);
}

}  // namespace

bool ListView_AddColumnFailed(HWND list, int index, const char* title, int width) {
  LVCOLUMN column;
  column.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT | LVCF_SUBITEM;
  column.fmt = LVCFMT_CENTER;
  column.cx = width;
  column.pszText = title;
  column.iSubItem = index;
  return platform::ListView_InsertColumn(list, index, &column) < 0;
}

bool ListView_SetColumn(HWND list, int index, const char* title, int width) {
  LVCOLUMN column;
  column.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT | LVCF_SUBITEM;
  column.fmt = LVCFMT_CENTER;
  column.cx = width;
  column.pszText = title;
  column.iSubItem = index;
  return platform::ListView_SetColumn(list, index, &column);
}

void ListView_AddRow(HWND list, bool selected, const char* text, int index) {
  LVITEM item;
  item.mask = LVIF_TEXT | LVIF_PARAM;
  item.iItem = index;
  item.pszText = const_cast<char*>(text);
  item.lParam = index;
  if (selected) {
    item.mask |= LVIF_STATE;
    item.state = LVIS_SELECTED | LVIS_FOCUSED;
    item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
  }
  (void)ListView_InsertItem(list, &item);
}

void PrizePoolWindow::Open(HINSTANCE instance, HWND parent, int32_t x, int32_t y) {
  if (window_ != nullptr) return;
  WNDCLASS window_class{};
  window_class.style = CS_HREDRAW | CS_VREDRAW;
  window_class.lpfnWndProc = PrizePoolProc;
  window_class.hInstance = instance;
  window_class.hCursor = LoadCursor(nullptr, IDC_ARROW);
  window_class.hbrBackground = GetSysColorBrush(COLOR_WINDOW);
  window_class.lpszClassName = kClassName;
  (void)RegisterClass(&window_class);
  window_ = CreateWindow(kClassName, "Complete Prize Table", WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU, x, y,
                         300, 300, parent, nullptr, instance, nullptr);
  if (window_ == nullptr) return;
  ShowWindow(window_, SW_SHOW);
  UpdateWindow(window_);
  list_ = CreateWindow(WC_LISTVIEW, "",
                       WS_CHILD | WS_VISIBLE | WS_BORDER | LVS_REPORT | LVS_SINGLESEL | LVS_NOCOLUMNHEADER |
                           LVS_SHOWSELALWAYS,
                       0, 0, 295, 275, window_, nullptr, instance, nullptr);
  if (list_ == nullptr) {
    HWND made = window_;
    window_ = nullptr;
    DestroyWindow(made);
    return;
  }
  (void)ListView_AddColumnFailed(list_, 0, "Prize Pool Info", 260);
  FillRows();
}

void PrizePoolWindow::FillRows() {
  (void)ListView_DeleteAllItems(list_);
  for (size_t i = 0; i < rows_.size(); ++i) ListView_AddRow(list_, false, LPSTR_TEXTCALLBACK, static_cast<int>(i));
}

void PrizePoolWindow::SetRows(std::vector<std::string>* rows) {
  if (rows == nullptr || window_ == nullptr) return;
  rows_ = std::move(*rows);
  rows->clear();
  FillRows();
}

void PrizePoolWindow::Destroy() {
  if (window_ != nullptr) {
    HWND gone = window_;
    window_ = nullptr;
    list_ = nullptr;
    DestroyWindow(gone);
  }
  rows_.clear();
}

LRESULT PrizePoolWindow::WindowProc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_DESTROY:
      window_ = nullptr;
      list_ = nullptr;
      return 0;
    case WM_NOTIFY: {
      const NMHDR* header = reinterpret_cast<const NMHDR*>(lparam);
      if (header == nullptr || header->code != LVN_GETDISPINFO || header->hwndFrom != list_) break;
      const NMLVDISPINFO* info = reinterpret_cast<const NMLVDISPINFO*>(lparam);
      char* out = info->item.pszText;
      const int size = info->item.cchTextMax;
      if (out == nullptr || size <= 0) return 0;
      const int row = info->item.iItem;
      const bool inside = row >= 0 && static_cast<size_t>(row) < rows_.size() && info->item.iSubItem == 0;
      std::snprintf(out, static_cast<size_t>(size), "%s", inside ? rows_[static_cast<size_t>(row)].c_str() : "");
      return 0;
    }
    default:
      break;
  }
  return DefWindowProc(hwnd, message, wparam, lparam);
}
