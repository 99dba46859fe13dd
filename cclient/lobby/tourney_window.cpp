#include "cclient/lobby/tourney_window.h"

#include <cstdio>
#include <cstring>

#include "cclient/base/client_globals.h"
#include "cclient/base/debug_log.h"
#include "cclient/lobby/tourney_list.h"
#include "cclient/lobby/tourney_neighbours.h"
#include "cclient/lobby/tourney_texts.h"
#include "cclient/net/packet_frame.h"
#include "cclient/net/packet_types.h"
#include "cclient/widgets/jpeg_file.h"
#include "platform/controls/control_messages.h"
#include "platform/system/paths.h"
#include "platform/text/text.h"
#include "platform/window/activation.h"
#include "platform/window/message_box.h"
#include "platform/window/paint.h"
#include "platform/window/window.h"

using namespace platform;

namespace {

constexpr const char* kTourneyClass = "TarvikEXETourney";
constexpr int kWidth = 800;
constexpr int kHeight = 560;
constexpr int kPanelWidth = 256;
constexpr int kPanelHeight = 298;
// "MS Sans Serif" has no face below its 8-point one, so the design's request for 8 pixels draws
// at that face's size; 12 pixels of our stand-in face keep the texts of the design's grid apart.
constexpr int kSmallFontHeight = 12;
constexpr RECT kLink{277, 142, 400, 153};
constexpr RECT kPlayerListArea{536, 197, 789, 423};
constexpr RECT kOwnRowArea{536, 424, 789, 465};
constexpr double kWatchSeconds = 60.0;
constexpr uint32_t kMostRows = 10000;

LRESULT TourneyWindowProc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
  if (TourneyClass* tourney = GlobalTourneyList().FindByHwnd(hwnd)) {
    return tourney->WindowProc(hwnd, message, wparam, lparam);
  }
  return DefWindowProc(hwnd, message, wparam, lparam);
}

void TextAt(HDC dc, int x, int y, const char* text) {
  RECT rect{x, y, kWidth, y + 40};
  DrawText(dc, text, -1, &rect, DT_LEFT | DT_SINGLELINE | DT_NOCLIP);
}

// Centred between `left` and `right`, from `top` down (line breaks kept).
void CentredText(HDC dc, int left, int right, int top, const char* text) {
  RECT rect{left, top, right, top + 80};
  DrawText(dc, text, -1, &rect, DT_CENTER | DT_NOCLIP);
}

bool BitmapFromJpeg(const char* name, int width, int height, HDC* dc, HBITMAP* bitmap) {
  int32_t w = 0, h = 0, bits = 0;
  uint8_t* pixels = nullptr;
  if (const char* error = DecodeJpegFile(NativePath(name).c_str(), &w, &h, &bits, &pixels)) {
    DebugLog_Write("Unable to load %s (%s).\n", name, error);
    return false;
  }
  if (w != width || h != height || bits != 24) {
    DebugLog_Write("Invalid %s size or depth.\n", name);
    FreeDecodedImage(&pixels);
    return false;
  }
  SwapRedBlue(pixels, w * h);
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;  // rows top-down, as decoded
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 24;
  info.bmiHeader.biCompression = BI_RGB;
  *dc = CreateCompatibleDC(nullptr);
  *bitmap = CreateCompatibleBitmap(*dc, width, height);
  SelectObject(*dc, *bitmap);
  SetDIBits(*dc, *bitmap, 0, static_cast<uint32_t>(height), pixels, &info, DIB_RGB_COLORS);
  FreeDecodedImage(&pixels);
  return true;
}

void FreeBitmapDc(HDC* dc, HBITMAP* bitmap) {
  if (*dc != nullptr) DeleteDC(*dc);
  if (*bitmap != nullptr) DeleteObject(*bitmap);
  *dc = nullptr;
  *bitmap = nullptr;
}

HWND MakeList(HWND parent, int x, int y, int width, int height, bool visible) {
  const uint32_t style = WS_CHILD | (visible ? WS_VISIBLE : 0u) | WS_BORDER | LVS_REPORT | LVS_SINGLESEL |
                         LVS_SHOWSELALWAYS;
  return CreateWindow(WC_LISTVIEW, "", style, x, y, width, height, parent, nullptr, ProgramInstance, nullptr);
}

struct Column {
  const char* title;
  int width;
};

bool AddColumns(HWND list, const Column* columns, int count) {
  if (list == nullptr) return false;
  for (int i = 0; i < count; ++i) {
    if (ListView_AddColumnFailed(list, i, columns[i].title, columns[i].width)) return false;
  }
  return true;
}

constexpr Column kPlayerColumns[] = {{"Player Name", 80}, {"Table", 54}, {"Chips", 72}, {"Rank", 36}};
constexpr Column kTableColumns[] = {{"Table", 50}, {"Players", 50}, {"Biggest", 75}, {"Smallest", 62}};
constexpr Column kTablePlayerColumns[] = {{"Player Name", 83}, {"Chips", 104}, {"Rank", 41}};

// A row whose every column's text is asked of the window.
void AddCallbackRow(HWND list, bool selected, int index, int columns) {
  ListView_AddRow(list, selected, LPSTR_TEXTCALLBACK, index);
  LVITEM item;
  item.pszText = LPSTR_TEXTCALLBACK;
  for (int column = 1; column < columns; ++column) {
    item.iSubItem = column;
    SendMessage(list, LVM_SETITEMTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
  }
}

int Reversed(int row, int count, int32_t sort) { return sort < 0 ? count - 1 - row : row; }

bool SameText(char* text, size_t size, const char* made) {
  if (std::strcmp(text, made) == 0) return true;
  std::snprintf(text, size, "%s", made);
  return false;
}

}  // namespace

TourneyClass::TourneyClass(uint8_t server_list_index, const char* host, uint16_t port)
    : server_list_index_(server_list_index), port_(port) {
  std::snprintf(host_, sizeof(host_), "%s", host != nullptr ? host : "");
  TourneyNeighbours& outside = Tourney_GetNeighbours();
  connection_id_ = outside.Network_Init(host_, port_, server_list_index_);
  details_.Reset(outside.Login_IsLoggedIn());
  details_.user_name = outside.Login_GetUserName();
  details_.send = [this](uint32_t type, const uint8_t* payload, uint32_t length) { Send(type, payload, length); };
  details_.before_apply = [this](uint8_t tourney_state) { MakeExtraLists(tourney_state); };
  font_small_ = CreateFont(kSmallFontHeight, 0, 0, 0, FW_NORMAL, 0, 0, 0, ANSI_CHARSET, 0, 0, 0, VARIABLE_PITCH,
                           "MS Sans Serif");
  font18_ = CreateFont(18, 0, 0, 0, FW_BOLD, 0, 0, 0, ANSI_CHARSET, 0, 0, 0, VARIABLE_PITCH, "MS Sans Serif");
  font20_ = CreateFont(20, 0, 0, 0, FW_BOLD, 0, 0, 0, ANSI_CHARSET, 0, 0, 0, VARIABLE_PITCH, "MS Sans Serif");
  font30_ = CreateFont(30, 0, 0, 0, FW_BOLD, 0, 0, 0, ANSI_CHARSET, 0, 0, 0, VARIABLE_PITCH, "MS Sans Serif");
}

TourneyClass::~TourneyClass() {
  CloseRegistration();
  prize_pool_.Destroy();
  buttons_.Clear();
  if (back_dc_ != nullptr && old_font_ != nullptr) SelectObject(back_dc_, old_font_);
  FreeBitmapDc(&back_dc_, &back_bitmap_);
  FreeBitmapDc(&background_dc_, &background_bitmap_);
  FreeBitmapDc(&panel_dc_, &panel_bitmap_);
  for (HFONT* font : {&font_small_, &font18_, &font20_, &font30_}) {
    if (*font != nullptr) DeleteObject(*font);
    *font = nullptr;
  }
  details_.SendStatus(0);
  TourneyNeighbours& outside = Tourney_GetNeighbours();
  if (connection_id_ != 255) outside.Network_Release(connection_id_, false);
  outside.Main_MoveLobbyConnection();
}

void TourneyClass::Send(uint32_t type, const uint8_t* payload, uint32_t length) {
  if (connection_id_ == 255) return;
  (void)Tourney_GetNeighbours().Network_SendPacket(type, payload, length, connection_id_);
}

void TourneyClass::SendTourneyId(uint32_t type) {
  const uint32_t wire = ByteSwap32(details_.tourney_id);
  Send(type, reinterpret_cast<const uint8_t*>(&wire), 4);
}

int TourneyClass::Create(uint32_t tourney_id, const char* title) {
  details_.tourney_id = tourney_id;
  if (!BitmapFromJpeg("tourney.a", kWidth, kHeight, &background_dc_, &background_bitmap_)) return 1;
  back_dc_ = CreateCompatibleDC(nullptr);
  back_bitmap_ = CreateCompatibleBitmap(back_dc_, kWidth, kHeight);
  SelectObject(back_dc_, back_bitmap_);
  BitBlt(back_dc_, 0, 0, kWidth, kHeight, background_dc_, 0, 0, SRCCOPY);
  (void)BitmapFromJpeg("tourneya.a", kPanelWidth, kPanelHeight, &panel_dc_, &panel_bitmap_);
  SetBkMode(back_dc_, TRANSPARENT);
  old_font_ = SelectObject(back_dc_, font_small_);

  static constexpr struct {
    int32_t id, x;
    const char* stem;
  } kButtons[] = {{TOURNEY_BUTTON_SIGN_IN, 442, "login"},  {TOURNEY_BUTTON_REGISTER, 442, "join"},
                  {TOURNEY_BUTTON_UNREGISTER, 442, "unjoin"}, {TOURNEY_BUTTON_MY_TABLE, 442, "take"},
                  {TOURNEY_BUTTON_GO_TO_TABLE, 263, "goto"}, {TOURNEY_BUTTON_CLOSE, 621, "close"}};
  for (const auto& button : kButtons) {
    char normal[24], hover[24], down[24];
    std::snprintf(normal, sizeof normal, "tb%s.b", button.stem);
    std::snprintf(hover, sizeof hover, "to%s.b", button.stem);
    std::snprintf(down, sizeof down, "td%s.b", button.stem);
    (void)buttons_.Add(button.id, button.x, 473, 170, 34, normal, hover, down, nullptr);
  }
  (void)UpdateButtons();

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
  window_ = CreateWindow(kTourneyClass, title, WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX, x, y, 800, 580, nullptr,
                         nullptr, ProgramInstance, nullptr);
  if (window_ == nullptr) return 1;

  player_list_ = MakeList(window_, 536, 197, 253, 226, true);
  own_row_list_ = MakeList(window_, 536, 424, 253, 41, true);
  if (!AddColumns(player_list_, kPlayerColumns, 4) || !AddColumns(own_row_list_, kPlayerColumns, 4)) {
    // Forget the handle first: the window's WM_DESTROY must not find (and free) this object while
    // Create is still running; the caller deletes it.
    HWND made = window_;
    window_ = nullptr;
    player_list_ = own_row_list_ = nullptr;
    DestroyWindow(made);
    return 1;
  }
  ShowWindow(window_, SW_SHOW);
  UpdateWindow(window_);
  details_.RequestDetails(true, false, false, false);
  return 0;
}

bool TourneyClass::UpdateButtons() {
  uint32_t shown = 0;
  if (!TourneyShownButtons(details_, &shown)) return false;
  bool changed = false;
  for (int32_t id = TOURNEY_BUTTON_SIGN_IN; id <= TOURNEY_BUTTON_GO_TO_TABLE; ++id) {
    const bool show = (shown & (1u << id)) != 0;
    if (show == buttons_.IsButtonShown(id)) continue;
    changed = true;
    show ? buttons_.ShowButton(id) : buttons_.HideButton(id);
  }
  return changed;
}

void TourneyClass::MakeExtraLists(uint8_t tourney_state) {
  if (window_ == nullptr) return;
  const bool wanted = tourney_state == TOURNEY_STATE_FULL || tourney_state == TOURNEY_STATE_RUNNING;
  if (table_list_ == nullptr && table_player_list_ == nullptr) {
    if (!wanted) return;
    table_list_ = MakeList(window_, 273, 197, 250, 75, true);
    table_player_list_ = MakeList(window_, 273, 310, 250, 155, true);
    (void)AddColumns(table_list_, kTableColumns, 4);
    (void)AddColumns(table_player_list_, kTablePlayerColumns, 3);
    extra_lists_shown_ = true;
    return;
  }
  for (HWND list : {table_list_, table_player_list_}) {
    if (list != nullptr) ShowWindow(list, wanted ? SW_SHOW : SW_HIDE);
  }
  extra_lists_shown_ = wanted;
}

void TourneyClass::Tick(float elapsed_seconds) {
  if (window_ == nullptr) return;
  const double elapsed = elapsed_seconds;
  TourneyNeighbours& outside = Tourney_GetNeighbours();
  const uint32_t link = connection_id_ == 255 ? 0 : outside.Network_GetLinkQuality(connection_id_);
  details_.prize_pool_open = prize_pool_.IsOpen();
  details_.TickState(elapsed, link);
  if (details_.state != TOURNEY_DETAILS_NONE) {
    StepCountdowns(elapsed);
    const bool now_logged_in = outside.Login_IsLoggedIn();
    if (now_logged_in && !details_.logged_in) {
      details_.logged_in = true;
      details_.user_name = outside.Login_GetUserName();
      if (!details_.registration_known) details_.RequestDetails(false, false, false, false);
      details_.FindOwnRow();
      FillOwnRow();
    } else if (!now_logged_in && details_.logged_in) {
      details_.logged_in = false;
      details_.registration_known = false;
      details_.user_name.clear();
      details_.FindOwnRow();
      FillOwnRow();
    }
    if (UpdateButtons()) details_.redraw = true;
  }
  if (details_.redraw) Redraw();
  if (table_list_ != nullptr && ListView_GetItemCount(table_list_) != static_cast<int>(details_.table_entries.size())) {
    FillTableList();
  }
  if (table_player_list_ != nullptr &&
      ListView_GetItemCount(table_player_list_) != static_cast<int>(details_.table_players.size())) {
    FillTablePlayerList();
  }
  const uint32_t player_rows = details_.registered_count < kMostRows ? details_.registered_count : kMostRows;
  if (details_.state != TOURNEY_DETAILS_COLLECTING &&
      ListView_GetItemCount(player_list_) != static_cast<int>(player_rows)) {
    FillPlayerList();
  }
  StepBackgroundWatch(elapsed);
}

void TourneyClass::StepCountdowns(double elapsed) {
  TourneyGeneral& g = details_.general;
  const uint8_t state = g.state;
  char made[96];
  auto step = [&](TourneyCountdown& countdown, char* text, size_t size, bool running, int32_t style, bool clock) {
    if (!running || countdown.seconds <= 0) return;
    countdown.clock += elapsed;
    const double left = countdown.seconds - countdown.clock;
    if (left > 0.0) {
      clock ? FormatClock(left, made, sizeof made) : FormatDuration(left, made, sizeof made, style);
      if (!SameText(text, size, made)) details_.redraw = true;
    } else {
      countdown.seconds = 0;
      text[0] = '\0';
      details_.redraw = true;
    }
  };
  if (!g.start_text_given) {
    if (state == TOURNEY_STATE_RUNNING) {
      // Counts the time since the start: it has no end.
      if (g.start.seconds >= 0) {
        g.start.clock += elapsed;
        FormatDuration(g.start.seconds + g.start.clock, made, sizeof made, TOURNEY_DURATION_LONG);
        if (!SameText(start_text_, sizeof start_text_, made)) details_.redraw = true;
      }
    } else {
      step(g.start, start_text_, sizeof start_text_, true, TOURNEY_DURATION_LONG, false);
    }
  }
  step(g.second, second_text_, sizeof second_text_,
       state == TOURNEY_STATE_ANNOUNCED || state == TOURNEY_STATE_REGISTERING, TOURNEY_DURATION_LONG, false);
  step(g.level_time_left, level_text_, sizeof level_text_, true, TOURNEY_DURATION_SHORT, false);
  step(g.next_break, break_text_, sizeof break_text_, true, TOURNEY_DURATION_SHORT, false);
}

void TourneyClass::StepBackgroundWatch(double elapsed) {
  if (GetForegroundWindow() == window_) {
    if (details_.watch_reported) {
      details_.watch_reported = false;
      details_.RequestDetails(false, false, false, true);
    }
    watch_clock_ = -1.0;
    return;
  }
  if (!details_.watch_applies || details_.watch_reported) return;
  const bool up_to_date = details_.state == TOURNEY_DETAILS_UP_TO_DATE;
  if (watch_clock_ < 0.0) {
    if (up_to_date) watch_clock_ = 0.0;
    return;
  }
  if (watch_clock_ < kWatchSeconds) watch_clock_ += elapsed;
  if (up_to_date && details_.general.state == TOURNEY_STATE_RUNNING && watch_clock_ >= kWatchSeconds) {
    details_.SendStatus(1);
    details_.watch_reported = true;
  }
}

int TourneyClass::OnDetails(const uint8_t* payload, uint32_t length) {
  details_.prize_pool_open = prize_pool_.IsOpen();
  const int result = details_.OnDetails(payload, length);
  if (details_.close_requested) {
    details_.close_requested = false;
    PostMessage(window_, WM_CLOSE, 0, 0);
    return result;
  }
  if (result == 0) AfterDetails();
  return result;
}

void TourneyClass::AfterDetails() {
  if (details_.wins_column && !wins_titled_) {
    wins_titled_ = true;
    (void)ListView_SetColumn(player_list_, 2, "Wins", 72);
    (void)ListView_SetColumn(own_row_list_, 2, "Wins", 72);
  }
  if (details_.prize_rows_arrived) {
    details_.prize_rows_arrived = false;
    HandPrizeRows();
  }
  FillPlayerList();
  FillOwnRow();
  FillTableList();
  FillTablePlayerList();
  if (UpdateButtons()) details_.redraw = true;
}

void TourneyClass::HandPrizeRows() {
  if (prize_pool_.IsOpen() && !details_.pending_prize_rows.empty()) {
    prize_pool_.SetRows(&details_.pending_prize_rows);
  }
}

// ---- list views ----

int32_t TourneyClass::PlayerIndexOfRow(int row) const {
  return Reversed(row, ListView_GetItemCount(player_list_), details_.player_sort);
}

int32_t TourneyClass::RankOf(uint32_t player_id) const {
  const int32_t row = details_.FindPlayer(player_id);
  if (row < 0 || static_cast<size_t>(row) >= details_.ranks.size()) return 0;
  return details_.ranks[static_cast<size_t>(row)];
}

void TourneyClass::FillPlayerList() {
  if (player_list_ == nullptr) return;
  (void)ListView_DeleteAllItems(player_list_);
  const uint32_t rows = details_.registered_count < kMostRows ? details_.registered_count : kMostRows;
  const int32_t chosen =
      details_.chosen_player_id >= 0 ? details_.FindPlayer(static_cast<uint32_t>(details_.chosen_player_id)) : -1;
  const int chosen_row = chosen < 0 ? -1 : Reversed(chosen, static_cast<int>(rows), details_.player_sort);
  for (uint32_t i = 0; i < rows; ++i) {
    AddCallbackRow(player_list_, static_cast<int>(i) == chosen_row, static_cast<int>(i), 4);
  }
}

void TourneyClass::FillOwnRow() {
  if (own_row_list_ == nullptr) return;
  (void)ListView_DeleteAllItems(own_row_list_);
  if (!details_.logged_in || !details_.registered || details_.own_row < 0) return;
  AddCallbackRow(own_row_list_, false, 0, 4);
}

void TourneyClass::FillTableList() {
  if (table_list_ == nullptr) return;
  (void)ListView_DeleteAllItems(table_list_);
  const int count = static_cast<int>(details_.table_entries.size());
  const int chosen = details_.chosen_table_row < 0 ? -1 : Reversed(details_.chosen_table_row, count, details_.table_sort);
  for (int i = 0; i < count; ++i) AddCallbackRow(table_list_, i == chosen, i, 4);
}

void TourneyClass::FillTablePlayerList() {
  if (table_player_list_ == nullptr) return;
  (void)ListView_DeleteAllItems(table_player_list_);
  const int count = static_cast<int>(details_.table_players.size());
  int chosen = -1;
  for (int i = 0; i < count; ++i) {
    if (details_.table_players[static_cast<size_t>(i)].player_id == details_.chosen_table_player_id) {
      chosen = Reversed(i, count, details_.table_player_sort);
    }
  }
  for (int i = 0; i < count; ++i) AddCallbackRow(table_player_list_, i == chosen, i, 3);
}

void TourneyClass::PlayerText(const TourneyPlayer& player, int32_t rank, int column, char* out, int size) const {
  const size_t room = static_cast<size_t>(size);
  out[0] = '\0';
  switch (column) {
    case 0:
      if (player.extra_text[0] != '\0') {
        std::snprintf(out, room, "%s (%s)", player.name, player.extra_text);
      } else {
        std::snprintf(out, room, "%s", player.name);
      }
      break;
    case 1: {
      const int32_t table = details_.FindTable(player.table_id);
      if (table >= 0) std::snprintf(out, room, "%s", details_.tables[static_cast<size_t>(table)].name);
      break;
    }
    case 2:
      TourneyChipsText(player, out, room);
      break;
    case 3:
      if (details_.general.ranks_kept && rank >= 1) std::snprintf(out, room, "%ld", static_cast<long>(rank));
      break;
    default:
      break;
  }
}

void TourneyClass::OnDisplayText(const NMHDR* header) {
  const NMLVDISPINFO* info = reinterpret_cast<const NMLVDISPINFO*>(header);
  char* out = info->item.pszText;
  const int size = info->item.cchTextMax;
  if (out == nullptr || size <= 0) return;
  out[0] = '\0';
  const size_t room = static_cast<size_t>(size);
  const int column = info->item.iSubItem;
  const HWND list = header->hwndFrom;
  if (list == player_list_ || list == own_row_list_) {
    int32_t row = list == own_row_list_ ? details_.own_row : PlayerIndexOfRow(info->item.iItem);
    if (row < 0) return;
    if (static_cast<size_t>(row) >= details_.players.size()) {
      if (column == 0 && list == player_list_) std::snprintf(out, room, "Fetching...");
      return;
    }
    const int32_t rank = static_cast<size_t>(row) < details_.ranks.size() ? details_.ranks[static_cast<size_t>(row)] : 0;
    PlayerText(details_.players[static_cast<size_t>(row)], rank, column, out, size);
  } else if (list == table_list_) {
    const int count = static_cast<int>(details_.table_entries.size());
    const int row = Reversed(info->item.iItem, count, details_.table_sort);
    if (row < 0 || row >= count) return;
    const TourneyTableEntry& entry = details_.table_entries[static_cast<size_t>(row)];
    switch (column) {
      case 0:
        if (entry.table_index >= 0 && static_cast<size_t>(entry.table_index) < details_.tables.size()) {
          std::snprintf(out, room, "%s", details_.tables[static_cast<size_t>(entry.table_index)].name);
        } else {
          std::snprintf(out, room, "Unknown");
        }
        break;
      case 1: std::snprintf(out, room, "%ld", static_cast<long>(entry.player_count)); break;
      case 2: TourneyMoneyText(entry.biggest_chips, out, room); break;
      case 3: TourneyMoneyText(entry.smallest_chips, out, room); break;
      default: break;
    }
  } else if (list == table_player_list_) {
    const int count = static_cast<int>(details_.table_players.size());
    const int row = Reversed(info->item.iItem, count, details_.table_player_sort);
    if (row < 0 || row >= count) return;
    const TourneyPlayer& player = details_.table_players[static_cast<size_t>(row)];
    // The table-player list's columns are the player list's name, chips and rank.
    static constexpr int kAsPlayerColumn[] = {0, 2, 3};
    if (column >= 0 && column < 3) PlayerText(player, RankOf(player.player_id), kAsPlayerColumn[column], out, size);
  }
}

void TourneyClass::OnColumnClick(HWND list, int column) {
  if (list == player_list_) {
    if (details_.state == TOURNEY_DETAILS_COLLECTING) return;
    if (column == 3 && !details_.RanksComputed()) return;
    if (column == 1 && details_.general.state != TOURNEY_STATE_RUNNING) return;
    if (column < 0 || column > 3) return;
    details_.player_sort = TourneyNextSortCode(details_.player_sort, column + 1, true);
    details_.RankPlayers();
    FillPlayerList();
  } else if (list == table_list_) {
    if (column < 0 || column > 3) return;
    details_.table_sort = TourneyNextSortCode(details_.table_sort, column + 1, false);
    details_.BuildTableEntries();
    FillTableList();
    FillTablePlayerList();
  } else if (list == table_player_list_) {
    if (column < 0 || column > 2) return;
    details_.table_player_sort = TourneyNextSortCode(details_.table_player_sort, column + 1, false);
    details_.BuildTablePlayers();
    FillTablePlayerList();
  }
}

void TourneyClass::OnRowClick(HWND list, int row, bool twice) {
  if (list == player_list_) {
    const int32_t index = row < 0 ? -1 : PlayerIndexOfRow(row);
    if (index < 0 || static_cast<size_t>(index) >= details_.players.size()) return;
    const TourneyPlayer& player = details_.players[static_cast<size_t>(index)];
    details_.chosen_player_id = player.player_id;
    if (twice && player.table_id >= 0) OpenTable(player.table_id);
  } else if (list == own_row_list_) {
    if (twice) OnButton(TOURNEY_BUTTON_MY_TABLE);
  } else if (list == table_list_) {
    const int count = static_cast<int>(details_.table_entries.size());
    const int entry = row < 0 ? -1 : Reversed(row, count, details_.table_sort);
    if (entry < 0 || entry >= count) return;
    const int32_t table_index = details_.table_entries[static_cast<size_t>(entry)].table_index;
    if (table_index < 0 || static_cast<size_t>(table_index) >= details_.tables.size()) return;
    details_.chosen_table_row = entry;
    details_.chosen_table_id = details_.tables[static_cast<size_t>(table_index)].table_id;
    details_.BuildTablePlayers();
    FillTablePlayerList();
    if (UpdateButtons()) details_.redraw = true;
    details_.redraw = true;
    if (twice) OnButton(TOURNEY_BUTTON_GO_TO_TABLE);
  } else if (list == table_player_list_) {
    const int count = static_cast<int>(details_.table_players.size());
    const int index = row < 0 ? -1 : Reversed(row, count, details_.table_player_sort);
    if (index < 0 || index >= count) return;
    details_.chosen_table_player_id = details_.table_players[static_cast<size_t>(index)].player_id;
  }
}

void TourneyClass::OnNotify(const NMHDR* header) {
  if (header == nullptr) return;
  switch (header->code) {
    case LVN_GETDISPINFO:
      OnDisplayText(header);
      break;
    case LVN_COLUMNCLICK:
      OnColumnClick(header->hwndFrom, reinterpret_cast<const NMLISTVIEW*>(header)->iSubItem);
      break;
    case NM_CLICK:
    case NM_DBLCLK:
      OnRowClick(header->hwndFrom, reinterpret_cast<const NMITEMACTIVATE*>(header)->iItem, header->code == NM_DBLCLK);
      break;
    default:
      break;
  }
}

// ---- buttons and mouse ----

void TourneyClass::OpenTable(int64_t table_id) {
  if (table_id < 0) return;
  TourneyNeighbours& outside = Tourney_GetNeighbours();
  outside.OpenOrForegroundTable(static_cast<uint32_t>(table_id), outside.Main_GameCodeToType(details_.general.game_code),
                                -1, server_list_index_, host_, port_, 1);
}

void TourneyClass::Register() {
  if (std::strcmp(details_.general.game_code, "TPA") == 0) {
    const HWND self = window_;
    const int answer =
        MessageBox(window_, "This is a PAN tournament, not Poker, are you sure that you wish to register?",
                   "PAN Tournament Confirmation", MB_OKCANCEL | MB_ICONQUESTION | MB_DEFBUTTON2 | MB_TOPMOST);
    // The box runs its own message loop: the tournament may have ended and its window gone.
    if (GlobalTourneyList().FindByHwnd(self) != this || answer != IDOK) return;
  }
  CloseRegistration();
  SendTourneyId(PACKETTYPE_TOURNEYCOSTREQUEST);
  (void)UpdateButtons();
}

void TourneyClass::OnButton(int32_t id) {
  TourneyNeighbours& outside = Tourney_GetNeighbours();
  const bool logged_in = outside.Login_IsLoggedIn();
  switch (id) {
    case TOURNEY_BUTTON_SIGN_IN:
      if (!logged_in) outside.Login_ShowDialog(window_, 0, -1, -1);
      break;
    case TOURNEY_BUTTON_REGISTER:
      if (logged_in) Register();
      break;
    case TOURNEY_BUTTON_UNREGISTER:
      if (!logged_in) break;
      SendTourneyId(PACKETTYPE_UNJOINTOURNEYREQUEST);
      (void)UpdateButtons();
      break;
    case TOURNEY_BUTTON_MY_TABLE:
      if (logged_in && details_.registered && details_.own_row >= 0 &&
          static_cast<size_t>(details_.own_row) < details_.players.size()) {
        const int32_t table_id = details_.players[static_cast<size_t>(details_.own_row)].table_id;
        if (table_id != -1) OpenTable(table_id);
      }
      break;
    case TOURNEY_BUTTON_GO_TO_TABLE:
      if (details_.chosen_table_id < 0) {
        MessageBox(window_, "Please select a table in the tournament table list first.", "Tournament",
                   MB_OK | MB_ICONSTOP | MB_SETFOREGROUND | MB_TOPMOST);
      } else {
        OpenTable(details_.chosen_table_id);
      }
      break;
    case TOURNEY_BUTTON_CLOSE:
      DestroyWindow(window_);
      break;
    default:
      break;
  }
}

void TourneyClass::OpenPrizePool(int32_t pointer_x, int32_t pointer_y) {
  RECT frame{};
  GetWindowRect(window_, &frame);
  int32_t x = frame.left - 300 + pointer_x + 15;
  if (x < 0) x = 0;
  const int32_t y = frame.top + pointer_y + 10;
  if (!details_.prize_table_changed && (prize_pool_.GetRowCount() > 0 || !details_.pending_prize_rows.empty())) {
    prize_pool_.Open(ProgramInstance, window_, x, y);
    HandPrizeRows();
    return;
  }
  details_.RequestDetails(false, false, true, false);
  prize_pool_.Open(ProgramInstance, window_, x, y);
  details_.prize_pool_open = prize_pool_.IsOpen();
}

void TourneyClass::OnMouseMove(int32_t x, int32_t y, bool left_held) {
  (void)buttons_.OnMouseMove(x, y, left_held);
  if (buttons_.IsAnyDirty()) details_.redraw = true;
  const bool over = x >= kLink.left && x <= kLink.right && y >= kLink.top && y <= kLink.bottom;
  if (over != link_hover_) {
    link_hover_ = over;
    details_.redraw = true;
  }
  if (details_.redraw) Redraw();
}

void TourneyClass::OnMouseUp(int32_t x, int32_t y) {
  const int id = buttons_.OnMouseUp(x, y);
  const bool on_link = link_pressed_ && x >= kLink.left && x <= kLink.right && y >= kLink.top && y <= kLink.bottom;
  link_pressed_ = false;
  const HWND self = window_;
  if (id >= 0) {
    OnButton(id);
    // The window (and this object) may be gone: the close button, or a box's loop that closed it.
    if (GlobalTourneyList().FindByHwnd(self) != this) return;
  }
  if (on_link) OpenPrizePool(x, y);
  if (buttons_.IsAnyDirty()) details_.redraw = true;
  if (details_.redraw) Redraw();
}

// ---- painting ----

void TourneyClass::Redraw() {
  details_.redraw = false;
  if (window_ == nullptr) return;
  Render();
  HDC dc = GetDC(window_);
  PaintToWindow(dc);
  ReleaseDC(window_, dc);
}

void TourneyClass::PaintToWindow(HDC window_dc) {
  ExcludeClipRect(window_dc, kPlayerListArea.left, kPlayerListArea.top, kPlayerListArea.right, kPlayerListArea.bottom);
  ExcludeClipRect(window_dc, kOwnRowArea.left, kOwnRowArea.top, kOwnRowArea.right, kOwnRowArea.bottom);
  if (extra_lists_shown_ && table_list_ != nullptr) {
    ExcludeClipRect(window_dc, 273, 197, 523, 272);
    ExcludeClipRect(window_dc, 273, 310, 523, 465);
  }
  BitBlt(window_dc, 0, 0, kWidth, kHeight, back_dc_, 0, 0, SRCCOPY);
  SelectClipRgn(window_dc, nullptr);
}

void TourneyClass::Render() {
  HDC dc = back_dc_;
  BitBlt(dc, 0, 0, kWidth, kHeight, background_dc_, 0, 0, SRCCOPY);
  if (panel_dc_ != nullptr && (table_list_ == nullptr || !extra_lists_shown_)) {
    BitBlt(dc, 271, 169, 254, kPanelHeight, panel_dc_, 0, 0, SRCCOPY);
  }
  if (details_.state != TOURNEY_DETAILS_NONE) DrawInfo(dc);
  // The buttons are live from the start, so they are drawn even before any details arrive.
  buttons_.Draw(dc, nullptr, true, nullptr);
}

void TourneyClass::DrawInfo(HDC dc) {
  const TourneyGeneral& g = details_.general;
  const TourneyPrizes& p = details_.prizes;
  const uint8_t state = g.state;
  const int32_t registered = static_cast<int32_t>(details_.registered_count);
  const int32_t maximum = static_cast<int32_t>(g.maximum_players);
  const int32_t eliminated = static_cast<int32_t>(g.players_eliminated);
  const bool start_running = !g.start_text_given && g.start.seconds > 0;
  char line[192];
  char made[96];

  SelectObject(dc, font20_);
  SetTextColor(dc, RGB(255, 255, 255));
  TextAt(dc, 19, 70, g.name);
  SelectObject(dc, font_small_);
  SetTextColor(dc, RGB(0, 0, 0));

  std::snprintf(line, sizeof line, p.current_pool[0] == '$' ? "Prize Pool: %s" : "Prize Pool:", p.current_pool);
  TextAt(dc, 278, 55, line);
  if (state == TOURNEY_STATE_REGISTERING) {
    std::snprintf(line, sizeof line, "Available Entries: %d", maximum - registered);
    TextAt(dc, 541, 55, line);
  } else if (state == TOURNEY_STATE_RUNNING) {
    std::snprintf(line, sizeof line, "Players Remaining: %d", registered - eliminated);
    TextAt(dc, 541, 55, line);
  }

  if (state == TOURNEY_STATE_RUNNING && g.level_time_left.seconds > 0) {
    FormatDuration(g.level_time_left.seconds - g.level_time_left.clock, made, sizeof made, TOURNEY_DURATION_TIGHT);
    std::snprintf(line, sizeof line, "Time Left At This %s: %s", g.level_word, made);
    TextAt(dc, 11, 173, line);
  } else if ((state == TOURNEY_STATE_ANNOUNCED || state == TOURNEY_STATE_REGISTERING) && g.second.seconds > 0 &&
             !(state == TOURNEY_STATE_REGISTERING && g.start_text_given)) {
    FormatClock(g.second.seconds - g.second.clock, made, sizeof made);
    std::snprintf(line, sizeof line, "Starts in: %s", made);
    TextAt(dc, 11, 173, line);
  } else if (state == TOURNEY_STATE_REGISTERING && g.start_text_given) {
    std::snprintf(line, sizeof line, "%d of %d Players Registered", registered, maximum);
    if (std::strlen(line) > 29) SelectObject(dc, font18_);
    CentredText(dc, 11, 265, 173, line);
    SelectObject(dc, font_small_);
  }
  if (!details_.table_entries.empty()) {
    std::snprintf(line, sizeof line, "Tables Remaining: %d", static_cast<int>(details_.table_entries.size()));
    TextAt(dc, 285, 173, line);
  }
  if (state == TOURNEY_STATE_REGISTERING) {
    TextAt(dc, 548, 173, "Registered Players");
  } else if (details_.logged_in && details_.registered && details_.own_row >= 0 &&
             (state == TOURNEY_STATE_RUNNING || state == TOURNEY_STATE_COMPLETED) && details_.RanksComputed() &&
             static_cast<size_t>(details_.own_row) < details_.ranks.size()) {
    std::snprintf(line, sizeof line, "Your Current Ranking: %d",
                  static_cast<int>(details_.ranks[static_cast<size_t>(details_.own_row)]));
    TextAt(dc, 548, 173, line);
  }
  if (details_.chosen_table_id >= 0) {
    const int32_t table = details_.FindTable(static_cast<int32_t>(details_.chosen_table_id));
    if (table >= 0) {
      std::snprintf(line, sizeof line, "%s info", details_.tables[static_cast<size_t>(table)].name);
      TextAt(dc, 285, 287, line);
    }
  }

  SelectObject(dc, font30_);
  if ((state == TOURNEY_STATE_ANNOUNCED || state == TOURNEY_STATE_REGISTERING) && start_running) {
    CentredText(dc, 315, 500, 355, g.subtitle);
    FormatClock(g.start.seconds - g.start.clock, made, sizeof made);
    CentredText(dc, 315, 500, 375, made);
  } else if (state == TOURNEY_STATE_REGISTERING && g.start_text_given) {
    std::snprintf(line, sizeof line, "%d out of %d\nseats remaining", maximum - registered, maximum);
    CentredText(dc, 300, 500, 355, line);
  }
  if (state == TOURNEY_STATE_COMPLETED && details_.winner_name[0] != '\0') {
    CentredText(dc, 300, 500, 335, "Congratulations");
    SelectObject(dc, font_small_);
    CentredText(dc, 300, 500, 375, details_.winner_name);
    CentredText(dc, 300, 500, 405, "Winner of");
    CentredText(dc, 300, 500, 425, p.first);
  }
  SelectObject(dc, font_small_);

  TextAt(dc, 50, 95, g.subtitle);
  TextAt(dc, 15, 137, "Your Status:");
  TextAt(dc, 80, 137, details_.registered ? "Registered" : details_.logged_in ? "Logged In" : "Not Logged In");
  TextAt(dc, 75, 113, g.start_text_given ? g.start_text : start_text_);

  // The grid of numbers and prizes.
  std::snprintf(line, sizeof line, "Guaranteed Prize:  %s", p.guaranteed);
  TextAt(dc, 277, 80, line);
  std::snprintf(line, sizeof line, "Max Players: %d", maximum);
  TextAt(dc, 542, 80, line);
  if (state == TOURNEY_STATE_ANNOUNCED || state == TOURNEY_STATE_REGISTERING) {
    std::snprintf(line, sizeof line, "Available Entries: %d", maximum - registered);
  } else if (state == TOURNEY_STATE_CANCELED) {
    std::snprintf(line, sizeof line, "Available Entries: 0");
  } else {
    std::snprintf(line, sizeof line, "Players Remaining: %d", registered - eliminated);
  }
  TextAt(dc, 667, 80, line);
  std::snprintf(line, sizeof line, "Current Prize Pool: %s", p.current_pool);
  TextAt(dc, 277, 95, line);
  std::snprintf(line, sizeof line, "Min Players: %d", static_cast<int>(g.minimum_players));
  TextAt(dc, 542, 95, line);
  if (registered != 0) {
    std::snprintf(line, sizeof line, "# of Entries: %d", registered);
  } else {
    std::snprintf(line, sizeof line, "# of Entries:");
  }
  TextAt(dc, 667, 95, line);
  std::snprintf(line, sizeof line, "Place Paid: %s", p.places_paid);
  TextAt(dc, 277, 110, line);
  if (p.first[0] != '\0') {
    std::snprintf(line, sizeof line, "1st: %s", p.first);
    TextAt(dc, 420, 110, line);
  }
  std::snprintf(line, sizeof line, "Total Registered: %d", registered);
  TextAt(dc, 542, 110, line);
  const COLORREF grey = RGB(128, 128, 128);
  SetTextColor(dc, g.rebuys_available ? RGB(0, 0, 0) : grey);
  if (g.rebuys_count != 0) {
    std::snprintf(line, sizeof line, "# of Re-Buys: %d", static_cast<int>(g.rebuys_count));
  } else {
    std::snprintf(line, sizeof line, "# of Re-Buys:");
  }
  TextAt(dc, 667, 110, line);
  SetTextColor(dc, RGB(0, 0, 0));
  if (p.second[0] != '\0') {
    std::snprintf(line, sizeof line, "2nd:%s", p.second);
    TextAt(dc, 420, 125, line);
  }
  if (eliminated > 0 || state == TOURNEY_STATE_RUNNING) {
    std::snprintf(line, sizeof line, "Players Eliminated: %d", eliminated);
  } else {
    std::snprintf(line, sizeof line, "Players Eliminated:");
  }
  TextAt(dc, 542, 125, line);
  SetTextColor(dc, g.addons_available ? RGB(0, 0, 0) : grey);
  if (g.addons_count != 0) {
    std::snprintf(line, sizeof line, "# of Add-Ons: %d", static_cast<int>(g.addons_count));
  } else {
    std::snprintf(line, sizeof line, "# of Add-Ons:");
  }
  TextAt(dc, 667, 125, line);
  SetTextColor(dc, RGB(0, 0, 0));
  if (p.third[0] != '\0') {
    std::snprintf(line, sizeof line, "3rd: %s", p.third);
    TextAt(dc, 420, 140, line);
  }

  TextAt(dc, 277, 140, "See Complete Prize Table");
  HBRUSH underline = CreateSolidBrush(link_hover_ ? RGB(0, 0, 255) : RGB(0, 0, 0));
  const RECT under{277, 153, 402, 154};
  FillRect(dc, &under, underline);
  DeleteObject(underline);

  DrawLeftColumn(dc);
}

void TourneyClass::DrawLeftColumn(HDC dc) {
  const TourneyGeneral& g = details_.general;
  const uint8_t state = g.state;
  char line[192];
  int y = 210;
  auto next = [&](const char* text) {
    TextAt(dc, 16, y, text);
    y += 15;
  };
  auto with = [&](const char* format, const char* text, const char* bare) {
    if (text[0] != '\0') {
      std::snprintf(line, sizeof line, format, text);
    } else {
      std::snprintf(line, sizeof line, "%s", bare);
    }
    next(line);
  };
  TextAt(dc, 16, y, "Game: ");
  TextAt(dc, 53, y, g.game);
  y += 15;
  std::snprintf(line, sizeof line, "Start Date: %s", g.start_date);
  next(line);
  std::snprintf(line, sizeof line, "Start Time: %s", g.start_time);
  next(line);
  if (state == TOURNEY_STATE_ANNOUNCED || state == TOURNEY_STATE_REGISTERING) {
    std::snprintf(line, sizeof line, "Starts in: %s", g.start_text_given ? g.start_text : start_text_);
    next(line);
  } else if (state != TOURNEY_STATE_COMPLETED) {
    with("Running: %s", g.start_text_given ? "" : start_text_, "Running:");
  } else {
    y += 15;
  }
  TextAt(dc, 16, y, "Buy-in:");
  TextAt(dc, 53, y, g.buy_in);
  y += 15;
  if (g.starting_chips == 0) {
    std::snprintf(line, sizeof line, "Starting Chips:");
  } else if (g.starting_chips % 100 == 0) {
    std::snprintf(line, sizeof line, "Starting Chips: %d", static_cast<int>(g.starting_chips / 100));
  } else {
    std::snprintf(line, sizeof line, "Starting Chips: %5.2f", g.starting_chips / 100.0);
  }
  next(line);
  SetTextColor(dc, g.rebuys_available ? RGB(0, 0, 0) : RGB(128, 128, 128));
  std::snprintf(line, sizeof line, "Re-buys: %s", g.rebuys);
  next(line);
  SetTextColor(dc, g.addons_available ? RGB(0, 0, 0) : RGB(128, 128, 128));
  std::snprintf(line, sizeof line, "Add-ons: %s", g.addons);
  next(line);
  SetTextColor(dc, RGB(0, 0, 0));
  next(g.level_text);
  char format[128];
  std::snprintf(format, sizeof format, "Time left at this %s: %%s", g.level_word);
  char bare[128];
  std::snprintf(bare, sizeof bare, "Time left at this %s:", g.level_word);
  with(format, level_text_, bare);
  std::snprintf(format, sizeof format, "Current %s: %%s", g.level_word);
  std::snprintf(bare, sizeof bare, "Current %s:", g.level_word);
  with(format, g.current_level, bare);
  std::snprintf(format, sizeof format, "Next %s: %%s", g.level_word);
  std::snprintf(bare, sizeof bare, "Next %s:", g.level_word);
  with(format, g.next_level, bare);
  with("Next Break: %s", break_text_, "Next Break:");
  static const char* const kStatus[] = {"Tournament Status:",           "Tournament Status: Announced",
                                        "Tournament Status: Registering", "Tournament Status:",
                                        "Tournament Status: Full",       "Tournament Status: Running",
                                        "Tournament Status: Completed",  "Tournament Status: Canceled"};
  next(state < 8 ? kStatus[state] : kStatus[0]);
}

// ---- window procedure ----

LRESULT TourneyClass::WindowProc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
  const int x = GET_X_LPARAM(lparam);
  const int y = GET_Y_LPARAM(lparam);
  switch (message) {
    case WM_MOUSEMOVE:
      OnMouseMove(x, y, (wparam & MK_LBUTTON) != 0);
      return 0;
    case WM_LBUTTONDOWN:
      buttons_.CancelPress();
      (void)buttons_.OnMouseDown(x, y);
      link_pressed_ = x >= kLink.left && x <= kLink.right && y >= kLink.top && y <= kLink.bottom;
      if (buttons_.IsAnyDirty()) Redraw();
      return 0;
    case WM_LBUTTONUP:
      OnMouseUp(x, y);
      return 0;
    case WM_NOTIFY:
      OnNotify(reinterpret_cast<const NMHDR*>(lparam));
      if (details_.redraw) Redraw();
      return 0;
    case WM_PAINT: {
      PAINTSTRUCT paint;
      HDC dc = BeginPaint(hwnd, &paint);
      Render();
      PaintToWindow(dc);
      EndPaint(hwnd, &paint);
      return 0;
    }
    case WM_ERASEBKGND:
      return 1;
    case WM_CLOSE:
      DestroyWindow(hwnd);
      return 0;
    case WM_DESTROY:
      // The list deletes this object: nothing of it may be touched after this call.
      GlobalTourneyList().OnWindowDestroyed(hwnd);
      Tourney_GetNeighbours().Main_BringToFront();
      return 0;
    default:
      return DefWindowProc(hwnd, message, wparam, lparam);
  }
}
