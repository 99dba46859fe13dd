#include "cclient/lobby/tourney_window.h"

#include <cstdio>
#include <cstring>

#include "cclient/core/client_globals.h"
#include "cclient/core/debug_log.h"
#include "cclient/core/login.h"
#include "cclient/core/main_window.h"
#include "cclient/lobby/tourney_list.h"
#include "cclient/lobby/tourney_registration.h"
#include "cclient/net/network.h"
#include "cclient/net/packet_types.h"
#include "cclient/core/startup_file.h"
#include "cclient/widgets/jpeg_file.h"
#include "platform/controls/control_messages.h"
#include "platform/controls/control_types.h"
#include "platform/system/paths.h"
#include "platform/text/text.h"
#include "platform/window/activation.h"
#include "platform/window/message_box.h"
#include "platform/window/paint.h"
#include "platform/window/window.h"

using namespace platform;

namespace {

constexpr const char* kTourneyClass = "TarvikEXETourney";
constexpr int kBackgroundWidth = 800;
constexpr int kBackgroundHeight = 560;

LRESULT TourneyWindowProc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
  if (TourneyClass* tourney = GlobalTourneyList().FindByHwnd(hwnd)) {
    return tourney->WindowProc(hwnd, message, wparam, lparam);
  }
  return DefWindowProc(hwnd, message, wparam, lparam);
}

void TextAt(HDC dc, int x, int y, const char* text) {
  RECT rect{x, y, kBackgroundWidth, y + 40};
  DrawText(dc, text, -1, &rect, DT_LEFT | DT_SINGLELINE);
}

}  // namespace

// Adds a centred text column; true when it could not be added.
bool ListView_AddColumnFailed(HWND list, int index, const char* title, int width) {
  LVCOLUMN column;
  column.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT | LVCF_SUBITEM;
  column.fmt = LVCFMT_CENTER;
  column.cx = width;
  column.pszText = title;
  column.iSubItem = index;
  return ListView_InsertColumn(list, index, &column) < 0;
}

TourneyClass::TourneyClass(uint8_t server_list_index, const char* host, uint16_t port)
    : server_list_index_(server_list_index), port_(port) {
  std::snprintf(host_, sizeof(host_), "%s", host != nullptr ? host : "");
  connection_id_ = GlobalNetwork().Init(MainWindow, host_, port_, server_list_index_);
  details_.Reset(Login_IsLoggedIn());
  const uint8_t connection = connection_id_;
  details_.send = [connection](uint32_t type, const uint8_t* payload, uint32_t length) {
    (void)GlobalNetwork().SendPacket(type, payload, length, connection);
  };
}

TourneyClass::~TourneyClass() {
  details_.SendStatus(0);
  FreeDecodedImage(&background_);
  if (connection_id_ != 255) GlobalNetwork().Release(connection_id_, false);
  Main_MoveLobbyConnection();
}

int TourneyClass::Create(uint32_t tourney_id, const char* title) {
  details_.tourney_id = tourney_id;
  int32_t width = 0, height = 0, bits = 0;
  if (const char* error = DecodeJpegFile(NativePath("tourney.a").c_str(), &width, &height, &bits,
                                         &background_)) {
    DebugLog_Write("Unable to load tourney.a (%s).\n", error);
    background_ = nullptr;
    return 1;
  }
  if (width != kBackgroundWidth || height != kBackgroundHeight || bits != 24) {
    DebugLog_Write("Invalid tourney.a size or depth.\n");
    FreeDecodedImage(&background_);
    return 1;
  }
  SwapRedBlue(background_, width * height);

  WNDCLASS window_class{};
  window_class.style = CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS;
  window_class.lpfnWndProc = TourneyWindowProc;
  window_class.hInstance = ProgramInstance;
  window_class.hCursor = LoadCursor(nullptr, IDC_ARROW);
  window_class.lpszClassName = kTourneyClass;
  (void)RegisterClass(&window_class);
  const int screen_width = GetSystemMetrics(SM_CXSCREEN);
  const int screen_height = GetSystemMetrics(SM_CYSCREEN);
  const int x = screen_width > 800 ? (screen_width - 800) / 2 : 0;
  const int y = screen_height > 580 ? (screen_height - 580) / 2 : 0;
  window_ = CreateWindow(kTourneyClass, title, WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX, x, y, 800,
                         580, nullptr, nullptr, ProgramInstance, nullptr);
  if (window_ == nullptr) return 1;

  const uint32_t list_style = WS_CHILD | WS_VISIBLE | WS_BORDER | LVS_REPORT | LVS_SINGLESEL |
                              LVS_SHOWSELALWAYS;
  player_list_ = CreateWindow(WC_LISTVIEW, "", list_style, 536, 197, 253, 226, window_, nullptr,
                              ProgramInstance, nullptr);
  own_row_list_ = CreateWindow(WC_LISTVIEW, "", list_style, 536, 424, 253, 41, window_, nullptr,
                               ProgramInstance, nullptr);
  static constexpr struct {
    const char* title;
    int width;
  } kColumns[] = {{"Player Name", 80}, {"Table", 54}, {"Chips", 72}, {"Rank", 36}};
  bool failed = player_list_ == nullptr || own_row_list_ == nullptr;
  for (int i = 0; i < 4 && !failed; ++i) {
    failed = ListView_AddColumnFailed(player_list_, i, kColumns[i].title, kColumns[i].width) ||
             ListView_AddColumnFailed(own_row_list_, i, kColumns[i].title, kColumns[i].width);
  }
  if (failed) {
    // Forget the handle first: the window's WM_DESTROY must not find (and free) this object while
    // Create is still running; the caller deletes it.
    HWND made = window_;
    window_ = nullptr;
    DestroyWindow(made);
    return 1;
  }
  ShowWindow(window_, SW_SHOW);
  UpdateWindow(window_);
  details_.RequestDetails(true, false, false, false);
  return 0;
}

void TourneyClass::Tick(float elapsed_seconds) {
  details_.TickState(elapsed_seconds, GlobalNetwork().GetLinkQuality(connection_id_));
  if (details_.close_requested) {
    details_.close_requested = false;
    PostMessage(window_, WM_CLOSE, 0, 0);
    return;
  }
  const bool now_logged_in = Login_IsLoggedIn();
  if (now_logged_in != details_.logged_in) {
    details_.logged_in = now_logged_in;
    if (now_logged_in && !details_.registration_known) details_.RequestDetails(false, false, false, false);
    if (!now_logged_in) details_.registration_known = false;
    details_.FindOwnRow();
    details_.redraw = true;
  }
  if (details_.state != TOURNEY_DETAILS_COLLECTING &&
      ListView_GetItemCount(player_list_) != static_cast<int>(details_.registered_count)) {
    FillPlayerList();
  }
  if (details_.redraw) {
    details_.redraw = false;
    FillPlayerList();
    FillOwnRow();
    InvalidateRect(window_, nullptr, false);
    UpdateWindow(window_);
  }
}

int TourneyClass::OnDetails(const uint8_t* payload, uint32_t length) {
  const int result = details_.OnDetails(payload, length);
  if (details_.close_requested) {
    details_.close_requested = false;
    PostMessage(window_, WM_CLOSE, 0, 0);
  }
  return result;
}

int TourneyClass::OnJoinResult(const uint8_t* payload, uint32_t length) {
  if (length < 1) return 1;
  bool success = false;
  const char* text = TourneyJoinResultText(payload[0], &success);
  MessageBox(window_, text, "Tournament",
             (success ? MB_ICONINFORMATION : MB_ICONSTOP) | MB_SETFOREGROUND | MB_TOPMOST);
  return 0;
}

int TourneyClass::OnUnjoinResult(const uint8_t* payload, uint32_t length) {
  if (length < 1) return 1;
  bool success = false;
  const char* text = TourneyUnjoinResultText(payload[0], &success);
  MessageBox(window_, text, "Tournament",
             (success ? MB_ICONINFORMATION : MB_ICONSTOP) | MB_SETFOREGROUND | MB_TOPMOST);
  return 0;
}

int TourneyClass::OnRegistrationOptions(const uint8_t* payload, uint32_t length) {
  TourneyPayOptions placed;
  const int32_t left = length > INT32_MAX ? INT32_MAX : static_cast<int32_t>(length);
  (void)TourneyPlacePayOptions(payload, left, PlayMoneyEdition != 0, &placed);
  // The "Tournament Registration" dialog that offers these options is not in this build.
  DebugLog_WriteLevel(1, "Tournament registration dialog: not in this build.\n");
  return 0;
}

void TourneyClass::PlayerText(const TourneyPlayer& player, int32_t rank, int column, char* out,
                              int size) const {
  out[0] = '\0';
  switch (column) {
    case 0:
      if (player.extra_text[0] != '\0') {
        std::snprintf(out, static_cast<size_t>(size), "%s (%s)", player.name, player.extra_text);
      } else {
        std::snprintf(out, static_cast<size_t>(size), "%s", player.name);
      }
      break;
    case 1: {
      const int32_t table = details_.FindTable(player.table_id);
      if (table >= 0) std::snprintf(out, static_cast<size_t>(size), "%s", details_.tables[table].name);
      break;
    }
    case 2:
      if (std::strcmp(player.chips_text, "$") == 0) {
        if (player.chips % 100 != 0) {
          std::snprintf(out, static_cast<size_t>(size), "%5.2f", player.chips / 100.0);
        } else {
          std::snprintf(out, static_cast<size_t>(size), "%ld", static_cast<long>(player.chips / 100));
        }
      } else {
        std::snprintf(out, static_cast<size_t>(size), "%s", player.chips_text);
      }
      break;
    case 3:
      if (details_.general.ranks_kept && rank >= 1) {
        std::snprintf(out, static_cast<size_t>(size), "%ld", static_cast<long>(rank));
      }
      break;
    default:
      break;
  }
}

void TourneyClass::FillPlayerList() {
  ListView_DeleteAllItems(player_list_);
  for (uint32_t i = 0; i < details_.registered_count && i < 10000; ++i) {
    LVITEM item;
    item.mask = LVIF_TEXT | LVIF_PARAM;
    item.iItem = static_cast<int>(i);
    item.pszText = LPSTR_TEXTCALLBACK;
    item.lParam = static_cast<LPARAM>(i);
    ListView_InsertItem(player_list_, &item);
  }
}

void TourneyClass::FillOwnRow() {
  ListView_DeleteAllItems(own_row_list_);
  if (!details_.logged_in || !details_.registered || details_.own_row < 0) return;
  LVITEM item;
  item.mask = LVIF_TEXT | LVIF_PARAM;
  item.pszText = LPSTR_TEXTCALLBACK;
  ListView_InsertItem(own_row_list_, &item);
}

void TourneyClass::OnNotify(const void* header_pointer) {
  const NMHDR* header = static_cast<const NMHDR*>(header_pointer);
  if (header->code != LVN_GETDISPINFO) return;
  const NMLVDISPINFO* info = static_cast<const NMLVDISPINFO*>(header_pointer);
  char* out = info->item.pszText;
  const int size = info->item.cchTextMax;
  if (out == nullptr || size <= 0) return;
  out[0] = '\0';
  int row = info->item.iItem;
  if (header->hwndFrom == own_row_list_) {
    row = details_.own_row;
  } else if (header->hwndFrom == player_list_) {
    if (details_.player_sort < 0) row = static_cast<int>(details_.registered_count) - 1 - row;
  } else {
    return;
  }
  if (row < 0) return;
  if (static_cast<size_t>(row) >= details_.players.size()) {
    if (info->item.iSubItem == 0) std::snprintf(out, static_cast<size_t>(size), "Fetching...");
    return;
  }
  const int32_t rank = static_cast<size_t>(row) < details_.ranks.size() ? details_.ranks[row] : 0;
  PlayerText(details_.players[row], rank, info->item.iSubItem, out, size);
}

void TourneyClass::Paint() {
  PAINTSTRUCT paint;
  HDC dc = BeginPaint(window_, &paint);
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = kBackgroundWidth;
  info.bmiHeader.biHeight = -kBackgroundHeight;  // top-down, as decoded
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 24;
  info.bmiHeader.biCompression = BI_RGB;
  SetDIBitsToDevice(dc, 0, 0, kBackgroundWidth, kBackgroundHeight, 0, 0, 0, kBackgroundHeight,
                    background_, &info, DIB_RGB_COLORS);
  SetBkMode(dc, TRANSPARENT);
  if (details_.state != TOURNEY_DETAILS_NONE) {
    SetTextColor(dc, RGB(255, 255, 255));
    TextAt(dc, 19, 70, details_.general.name);
    SetTextColor(dc, RGB(0, 0, 0));
    char line[128];
    const TourneyPrizes& prizes = details_.prizes;
    std::snprintf(line, sizeof(line), prizes.current_pool[0] == '$' ? "Prize Pool: %s" : "Prize Pool:",
                  prizes.current_pool);
    TextAt(dc, 278, 55, line);
    TextAt(dc, 50, 95, details_.general.subtitle);
    const char* status = details_.registered ? "Registered"
                         : details_.logged_in ? "Logged In" : "Not Logged In";
    TextAt(dc, 15, 137, "Your Status:");
    TextAt(dc, 80, 137, status);
    std::snprintf(line, sizeof(line), "Total Registered: %d", static_cast<int>(details_.registered_count));
    TextAt(dc, 542, 110, line);
    static const char* const kStatus[] = {"Tournament Status:", "Tournament Status: Announced",
                                          "Tournament Status: Registering", "Tournament Status:",
                                          "Tournament Status: Full", "Tournament Status: Running",
                                          "Tournament Status: Completed", "Tournament Status: Canceled"};
    const char* state_text = details_.general.state < 8 ? kStatus[details_.general.state] : kStatus[0];
    TextAt(dc, 16, 420, state_text);
  }
  EndPaint(window_, &paint);
}

LRESULT TourneyClass::WindowProc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_NOTIFY:
      OnNotify(reinterpret_cast<const void*>(lparam));
      return 0;
    case WM_PAINT:
      Paint();
      return 0;
    case WM_ERASEBKGND:
      return 1;
    case WM_CLOSE:
      DestroyWindow(hwnd);
      return 0;
    case WM_DESTROY:
      // The list deletes this object: nothing of it may be touched after this call.
      GlobalTourneyList().OnWindowDestroyed(hwnd);
      Main_BringToFront();
      return 0;
    default:
      return DefWindowProc(hwnd, message, wparam, lparam);
  }
}
