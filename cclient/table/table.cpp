#include "cclient/table/table.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <strings.h>

#include "cclient/base/client_globals.h"
#include "cclient/base/debug_log.h"
#include "cclient/base/core_access.h"
#include "cclient/base/startup_file.h"
#include "cclient/net/packet_types.h"
#include "cclient/table/player_notes.h"
#include "cclient/table/rebuy_dialog.h"
#include "cclient/table/stats_window.h"
#include "cclient/table/table_list.h"
#include "cclient/table/table_neighbours.h"
#include "cclient/table/table_packets.h"
#include "platform/text/text.h"
#include "platform/window/activation.h"
#include "platform/window/message_box.h"
#include "platform/window/message_queue.h"
#include "platform/window/paint.h"
#include "platform/window/virtual_keys.h"
#include "platform/window/window.h"
#include "platform/window/window_messages.h"

namespace {

constexpr uint32_t kTableWindowStyle = platform::WS_CAPTION | platform::WS_SYSMENU | platform::WS_MINIMIZEBOX;
constexpr int32_t kTableOuterWidth = 800;
constexpr int32_t kTableOuterHeight = 580;

struct CommonButton {
  int32_t id;
  int32_t x, y, width, height;
  const char* normal;
  const char* hover;
  const char* down;
};

// In the order they are added.
constexpr CommonButton kCommonButtons[] = {
    {TABLEBUTTON_STATISTICS, 354, 9, 93, 16, nullptr, "ostat.b", "dstat.b"},
    {TABLEBUTTON_CASHIER, 569, 9, 61, 16, nullptr, "ocashier.b", "dcashier.b"},
    {TABLEBUTTON_LOBBY, 630, 9, 74, 16, nullptr, "ogotolob.b", "dgotolob.b"},
    {TABLEBUTTON_LEAVE, 704, 9, 76, 16, nullptr, "oleavetb.b", "dleavetb.b"},
    {TABLEBUTTON_HELP, 87, 470, 24, 24, nullptr, "ohelp.b", "dhelp.b"},
    {TABLEBUTTON_MORE_MONEY, 114, 470, 24, 24, nullptr, "omoremo.b", "dmoremo.b"},
    {TABLEBUTTON_FLOOR_PERSON, 8, 470, 76, 24, nullptr, "ofloorpe.b", "dfloorpe.b"},
    {TABLEBUTTON_JOIN_WAITING_LIST, 8, 444, 76, 24, "btjoinwa.b", "otjoinwa.b", "dtjoinwa.b"},
    {TABLEBUTTON_LEAVE_WAITING_LIST, 8, 444, 76, 24, "btleavew.b", "otleavew.b", "dtleavew.b"},
    {TABLEBUTTON_CHAT_UP, 769, 387, 13, 13, nullptr, nullptr, "dupscrol.b"},
    {TABLEBUTTON_CHAT_DOWN, 769, 478, 13, 13, nullptr, nullptr, "ddownscr.b"},
    {TABLEBUTTON_DEALER_OFF, 649, 523, 102, 17, "bdealery.b", "odealery.b", "ddealery.b"},
    {TABLEBUTTON_DEALER_ON, 649, 523, 102, 17, "bdealern.b", "odealern.b", "ddealern.b"},
    {TABLEBUTTON_PLAYER_OFF, 538, 523, 106, 17, "bplayery.b", "oplayery.b", "dplayery.b"},
    {TABLEBUTTON_PLAYER_ON, 538, 523, 106, 17, "bplayern.b", "oplayern.b", "dplayern.b"},
};

const char* const kTitleFormats[kGameTypeCount] = {
    "Pan Table:  %s%s - %s",           "Hold'em Table:  %s%s - %s",       "Guts Table:  %s%s - %s",
    "Big 2 Table:  %s%s - %s",         "Chinese Poker Table:  %s%s - %s", "Blackjack Table:  %s%s - %s",
    "7 Card Stud Table:  %s%s - %s",   "Omaha Table:  %s%s - %s",
};

// The site whose floor-person button opens its own support page.
constexpr uint32_t kSupportPageSiteId = 27;

char* CopyText(const char* text) {
  const size_t length = std::strlen(text);
  char* copy = new char[length + 1];
  std::memcpy(copy, text, length + 1);
  return copy;
}

void CopyBounded(char* out, size_t size, const char* text) {
  std::snprintf(out, size, "%s", text != nullptr ? text : "");
}

void Append(platform::RECT* rects, int32_t* count, int32_t maximum, const platform::RECT& rect) {
  if (rects == nullptr || count == nullptr || *count >= maximum) return;
  rects[*count] = rect;
  ++*count;
}

void PutU32(uint8_t* out, uint32_t value) {
  out[0] = static_cast<uint8_t>(value >> 24);
  out[1] = static_cast<uint8_t>(value >> 16);
  out[2] = static_cast<uint8_t>(value >> 8);
  out[3] = static_cast<uint8_t>(value);
}

platform::HFONT NoticeFont() { return Main_GetPanelTitleFont(); }

}  // namespace

TableClass::TableClass() {
  DebugLog_WriteLevel(1, "TableClass::Constructor Start\n");
  chat_box = std::make_unique<ChatBox>(538, 381, 231, 109);
  buy_in_dialog = std::make_unique<BuyInDialog>(this);
  more_cash_dialog = std::make_unique<MoreCashDialog>(this);
  waiting_list_request = std::make_unique<WaitingListRequest>();
  stats_window = std::make_unique<StatsWindow>();
  rebuy_dialog = std::make_unique<RebuyDialog>(this);
  ClearSeats();
  DebugLog_WriteLevel(1, "TableClass::Constructor End\n");
}

TableClass::~TableClass() {
  DebugLog_WriteLevel(1, "TableClass::Destructor Starts\n");
  game_type = -1;
  table_id = 0xFFFFFFFFu;
  current_game.reset();
  DebugLog_WriteLevel(1, "TableClass::Destructor game type done.\n");
  chat_box.reset();
  if (buy_in_dialog) buy_in_dialog->Destroy();
  buy_in_dialog.reset();
  if (more_cash_dialog) more_cash_dialog->Destroy();
  more_cash_dialog.reset();
  if (waiting_list_request) waiting_list_request->dialog.Close();
  waiting_list_request.reset();
  stats_window.reset();
  if (rebuy_dialog) rebuy_dialog->Destroy();
  rebuy_dialog.reset();
  DebugLog_WriteLevel(1, "TableClass::Destructor aux windows done.\n");
  if (clock_brush != nullptr) platform::DeleteObject(clock_brush);
  if (link_icon_dc != nullptr) platform::DeleteDC(link_icon_dc);
  if (link_icon_bitmap != nullptr) platform::DeleteObject(link_icon_bitmap);
  back_buffer_dc = nullptr;
  background_dc = nullptr;
  delete[] notification_title;
  delete[] notification_text;
  DebugLog_WriteLevel(1, "TableClass::Destructor End\n");
  buttons.Clear();
}

void TableClass::RegisterWindowClass(platform::HINSTANCE instance) {
  platform::WNDCLASS window_class;
  window_class.style = platform::CS_VREDRAW | platform::CS_HREDRAW | platform::CS_DBLCLKS;
  window_class.lpfnWndProc = &TableClass::WndProc;
  window_class.hInstance = instance;
  window_class.hbrBackground = platform::GetSysColorBrush(platform::COLOR_WINDOW);
  window_class.lpszClassName = kTableClassName;
  (void)platform::RegisterClass(&window_class);
}

const char* TableClass::Create(platform::HINSTANCE instance, platform::HWND owner, int32_t type,
                               uint32_t id, const char* name, int32_t seat, uint8_t index,
                               const char* server_host, uint32_t server_port, uint8_t kind) {
  DebugLog_WriteLevel(1, "TableClass::Create 1\n");
  TableNeighbours& neighbours = Table_GetNeighbours();
  instance_ = instance;
  server_list_index = index;
  CopyBounded(host, sizeof host, server_host);
  port = server_port & 0xFFFF;
  connection_id = neighbours.Network_Init(owner, host, port, server_list_index);
  connection_released_ = false;
  table_id = id;
  CopyBounded(short_title, sizeof short_title, name);
  CopyBounded(window_title, sizeof window_title, name);
  CopyBounded(table_name, sizeof table_name, name);
  DebugLog_WriteLevel(1, "TableClass::Create 2\n");

  if (type < 0 || type >= kGameTypeCount) return "Unsupported Game Type Specified For Table";
  std::unique_ptr<TableGameClass> game = TableGame_Make(type, this);
  if (!game) return "Unsupported Game Type Specified For Table";
  if (const char* error = game->Create(instance); error != nullptr) {
    // The text may belong to the game object, which goes now: the caller gets a copy that
    // outlives it (tables are made on the user-interface thread only).
    static char create_error[256];
    CopyBounded(create_error, sizeof create_error, error);
    game.reset();
    return create_error;
  }
  current_game = std::move(game);
  back_buffer_dc = current_game->GetBackBufferDC();
  background_dc = current_game->GetBackgroundDC();

  game_type = type;
  RegisterWindowClass(instance);
  platform::RECT frame{0, 0, kTableClientWidth, kTableClientHeight};
  platform::AdjustWindowRect(&frame, kTableWindowStyle, false);
  const int32_t outer_width = frame.right - frame.left;
  const int32_t outer_height = frame.bottom - frame.top;
  const int32_t screen_width = platform::GetSystemMetrics(platform::SM_CXSCREEN);
  const int32_t screen_height = platform::GetSystemMetrics(platform::SM_CYSCREEN);
  const int32_t x = screen_width > kTableOuterWidth ? (screen_width - outer_width) / 2 : 0;
  const int32_t y = screen_height > kTableOuterHeight ? (screen_height - outer_height) / 2 : 0;
  window = platform::CreateWindow(kTableClassName, window_title, kTableWindowStyle, std::max(0, x),
                                  std::max(0, y), outer_width, outer_height, nullptr, nullptr, instance,
                                  nullptr);
  if (window == nullptr) return "Unable to create window.";

  AddCommonButtons();
  UpdateTableButtons();

  clock_brush = platform::CreateSolidBrush(platform::RGB(255, 60, 60));
  link_icon_dc = platform::CreateCompatibleDC(nullptr);
  link_icon_bitmap = static_cast<platform::HBITMAP>(platform::LoadImage(
      "goodnone.b", platform::IMAGE_BITMAP, 0, 0, platform::LR_LOADFROMFILE | platform::LR_DEFAULTSIZE));
  if (link_icon_bitmap != nullptr) {
    platform::SelectObject(link_icon_dc, link_icon_bitmap);
  } else {
    platform::DeleteDC(link_icon_dc);
    link_icon_dc = nullptr;
  }

  platform::ShowWindow(window, platform::SW_SHOW);
  platform::UpdateWindow(window);
  platform::SetCursor(platform::LoadCursor(nullptr, platform::IDC_ARROW));
  picked_seat = seat;
  table_kind = kind;
  return nullptr;
}

bool TableClass::ReleaseConnection() {
  if (connection_released_ || connection_id == kTableNoConnection) return false;
  connection_released_ = true;
  Table_GetNeighbours().Network_Release(connection_id, false);
  return true;
}

void TableClass::AddCommonButtons() {
  for (const CommonButton& b : kCommonButtons) {
    if (const char* error = buttons.Add(b.id, b.x, b.y, b.width, b.height, b.normal, b.hover, b.down, nullptr);
        error != nullptr) {
      DebugLog_Write("%s\n", error);
    }
  }
}

int TableClass::SendTablePacket(uint32_t type, const void* payload, uint32_t length) {
  return Table_GetNeighbours().Network_SendPacket(type, payload, length, connection_id);
}

// Game forwarders.

int TableClass::HandleGamePacket(uint32_t type, int32_t expected_game_type, const uint8_t* payload,
                                 uint32_t length) {
  if (game_type != expected_game_type || game_type < 0 || game_type >= kGameTypeCount || !current_game) return 1;
  return current_game->HandlePacket(type, payload, length);
}

void TableClass::OnChar(int character) {
  if (current_game) current_game->OnChar(character);
}

void TableClass::OnPaint() {
  if (current_game) current_game->OnPaint();
}

void TableClass::OnLButtonDblClk(int32_t x, int32_t y) {
  if (current_game) current_game->OnLButtonDblClk(x, y);
}

void TableClass::OnRButtonUp(int32_t x, int32_t y) {
  if (current_game) current_game->OnRButtonUp(instance_, window, x, y);
}

void TableClass::SoundOff() {
  if (current_game) current_game->SoundOff();
}

void TableClass::SoundOn() {
  if (current_game) current_game->SoundOn();
}

void TableClass::RefreshPlayer(const char* name) {
  if (current_game) current_game->RefreshPlayer(name);
}

void TableClass::RedrawAll(bool reload) {
  if (!current_game) return;
  if (reload && current_game->ReloadBackground()) {
    // Both surfaces may be new after a reload: take them again.
    back_buffer_dc = current_game->GetBackBufferDC();
    background_dc = current_game->GetBackgroundDC();
  }
  current_game->RedrawAll();
}

// Input.

void TableClass::OnMouseMove(int32_t x, int32_t y, int left_button_held) {
  if (chat_box->ScrollBarDrag(x, y, left_button_held != 0) == 0) return;
  if (current_game && current_game->OnMouseMove(x, y, left_button_held) == 0) return;
  buttons.OnMouseMove(x, y, left_button_held != 0);
}

void TableClass::OnLButtonDown(int32_t x, int32_t y) {
  if (chat_box->ScrollBarClick(x, y) == 0) return;
  buttons.CancelPress();
  if (current_game && current_game->OnLButtonDown(x, y) == 0) return;
  buttons.OnMouseDown(x, y);
}

void TableClass::OnLButtonUp(platform::HWND from, int32_t x, int32_t y) {
  if (chat_box->ScrollBarClick(x, y) == 0) return;
  if (current_game && current_game->OnLButtonUp(from, x, y) == 0) {
    buttons.CancelPress();
    return;
  }
  const int command = buttons.OnMouseUp(x, y);
  if (command >= 0) RunCommand(command);
}

void TableClass::RunCommand(int32_t command) {
  TableNeighbours& neighbours = Table_GetNeighbours();
  switch (command) {
    case TABLEBUTTON_CHAT_UP:
      chat_box->Scroll(-1);
      break;
    case TABLEBUTTON_CHAT_DOWN:
      chat_box->Scroll(1);
      break;
    case TABLEBUTTON_DEALER_ON:
    case TABLEBUTTON_DEALER_OFF:
      show_dealer_messages = command == TABLEBUTTON_DEALER_ON ? 1 : 0;
      UpdateTableButtons();
      break;
    case TABLEBUTTON_PLAYER_ON:
    case TABLEBUTTON_PLAYER_OFF:
      show_player_messages = command == TABLEBUTTON_PLAYER_ON ? 1 : 0;
      UpdateTableButtons();
      break;
    case TABLEBUTTON_CASHIER:
      if (PlayMoneyEdition != 0) {
        neighbours.Main_BringToFront();
      } else {
        neighbours.OpenCashier(window);
      }
      break;
    case TABLEBUTTON_LOBBY:
      neighbours.Main_BringToFront();
      break;
    case TABLEBUTTON_LEAVE:
      (void)Leave(0, 1, kAnyConnection);
      break;
    case TABLEBUTTON_HELP:
      OpenHelp();
      break;
    case TABLEBUTTON_MORE_MONEY:
      if ((table_flags & kTableFlagNoMoreMoney) != 0) {
        (void)MessageBox("You are not permitted to bring more money to a tournament table.");
      } else {
        OpenMoreCashDialog();
      }
      break;
    case TABLEBUTTON_FLOOR_PERSON:
      OpenSupport();
      break;
    case TABLEBUTTON_JOIN_WAITING_LIST:
      if ((table_flags & kTableFlagNoWaitingList) != 0) break;
      if (neighbours.Login_GetSignedInName() == nullptr) {
        neighbours.Login_ShowDialog(instance_, window, 3, static_cast<int32_t>(table_id), seat_count);
      } else {
        JoinWaitingList();
      }
      break;
    case TABLEBUTTON_LEAVE_WAITING_LIST:
      if ((table_flags & kTableFlagNoWaitingList) == 0) {
        uint8_t payload[4];
        PutU32(payload, table_id);
        (void)SendTablePacket(PACKETTYPE_TABLELEAVEWAITLISTREQUEST, payload, sizeof payload);
      }
      break;
    case TABLEBUTTON_STATISTICS:
      ShowStatistics();
      break;
    default:
      break;
  }
}

int TableClass::OnMessage(platform::UINT message, platform::WPARAM wParam, platform::LPARAM lParam) {
  if (message == TABLEMSG_SEAT_NOTIFICATION && notification_title != nullptr && notification_text != nullptr) {
    char* title = notification_title;
    char* text = notification_text;
    notification_title = nullptr;
    notification_text = nullptr;
    platform::MessageBox(window, text, title, 0x40020);
    delete[] title;
    delete[] text;
    return 1;
  }
  if (message == TABLEMSG_ASK_AUTO_POST) {
    if (platform::MessageBox(window, "Would you like to have your blinds posted automatically?", table_name,
                             0x40024) == platform::IDYES) {
      platform::PostMessage(window, TABLEMSG_AUTO_POST_ACCEPTED, 0, 0);
    }
    return 1;
  }
  if (!current_game) return 0;
  return current_game->OnMessage(message, wParam, lParam) & 0xFF;
}

platform::LRESULT TableClass::WndProc(platform::HWND hwnd, platform::UINT message, platform::WPARAM wParam,
                                      platform::LPARAM lParam) {
  TableListClass& list = GlobalTableList();
  const TableListClass::BusyScope busy = list.EnterTableCode();
  TableClass* table = list.FindByWindow(hwnd);
  if (table == nullptr) return platform::DefWindowProc(hwnd, message, wParam, lParam);
  const int32_t x = platform::GET_X_LPARAM(lParam);
  const int32_t y = platform::GET_Y_LPARAM(lParam);
  switch (message) {
    case platform::WM_DESTROY:
      list.OnTableWindowDestroyed(hwnd);
      return 0;
    case platform::WM_PAINT: {
      platform::PAINTSTRUCT paint;
      platform::BeginPaint(hwnd, &paint);
      platform::EndPaint(hwnd, &paint);
      table->OnPaint();
      return 0;
    }
    case platform::WM_CLOSE:
      (void)table->Leave(0, 1, kAnyConnection);
      return 0;
    case platform::WM_ERASEBKGND:
      return 0;
    case platform::WM_KEYDOWN:
      if (wParam == platform::VK_F1) {
        table->OpenHelp();
        return 0;
      }
      return platform::DefWindowProc(hwnd, message, wParam, lParam);
    case platform::WM_CHAR:
      table->OnChar(static_cast<int>(wParam));
      return 0;
    case platform::WM_MOUSEMOVE:
      table->OnMouseMove(x, y, (wParam & platform::MK_LBUTTON) != 0 ? 1 : 0);
      return 0;
    case platform::WM_LBUTTONDOWN:
      table->OnLButtonDown(x, y);
      return 0;
    case platform::WM_LBUTTONUP:
      table->OnLButtonUp(hwnd, x, y);
      return 0;
    case platform::WM_LBUTTONDBLCLK:
      table->OnLButtonDblClk(x, y);
      return 0;
    case platform::WM_RBUTTONUP:
      table->OnRButtonUp(x, y);
      return 0;
    default:
      if (table->OnMessage(message, wParam, lParam) != 0) return 0;
      return platform::DefWindowProc(hwnd, message, wParam, lParam);
  }
}

// The frame.

void TableClass::Tick(float seconds) {
  if (rebuy_dialog) rebuy_dialog->Tick(seconds);
  if (window == nullptr || !platform::IsWindow(window)) return;
  if (overlay_seconds >= 0.0f) {
    overlay_seconds -= seconds;
    if (overlay_seconds <= 0.0f) overlay_text[0] = '\0';
  }
  if (joined == 0) {
    if (join_countdown >= 0.0f) {
      join_countdown -= seconds;
      if (join_countdown <= 0.0f) {
        // Once: the countdown stays below zero from here on.
        join_countdown = -1.0f;
        ShowNotice("This table has been shutdown.");
        Table_GetNeighbours().Main_HotPickForget(table_id);
      }
    }
    if (connecting_notice_shown == 0) {
      ShowNotice("Connecting to table...");
      connecting_notice_shown = 1;
    }
  }
  if (current_game) current_game->Tick(window, seconds);
}

void TableClass::ShowNotice(const char* text) {
  if (window == nullptr) return;
  const platform::HDC window_dc = platform::GetDC(window);
  const int32_t old_width = notice_rect.right - notice_rect.left;
  const int32_t old_height = notice_rect.bottom - notice_rect.top;
  if (background_dc != nullptr && old_width > 0 && old_height > 0) {
    platform::BitBlt(window_dc, notice_rect.left, notice_rect.top, old_width, old_height, background_dc,
                     notice_rect.left, notice_rect.top, platform::SRCCOPY);
    if (back_buffer_dc != nullptr) {
      platform::BitBlt(back_buffer_dc, notice_rect.left, notice_rect.top, old_width, old_height, background_dc,
                       notice_rect.left, notice_rect.top, platform::SRCCOPY);
    }
  }
  notice_rect = platform::RECT{0, 0, 1, 1};
  if (text != nullptr && text[0] != '\0' && back_buffer_dc != nullptr) {
    const platform::HFONT font = NoticeFont();
    const platform::HFONT old_font = font != nullptr ? platform::SelectObject(back_buffer_dc, font) : nullptr;
    platform::RECT measure{0, 0, 0, 0};
    platform::DrawText(back_buffer_dc, text, -1, &measure, platform::DT_CALCRECT);
    platform::RECT client{0, 0, 0, 0};
    const int32_t client_width =
        platform::GetClientRect(window, &client) && client.right > 0 ? client.right : kTableClientWidth;
    const int32_t text_width = measure.right - measure.left;
    const int32_t text_height = measure.bottom - measure.top;
    const int32_t left = (client_width - text_width - 1) / 2;
    notice_rect = platform::RECT{left - 4, 176, left + text_width + 4, text_height + 184};
    const platform::HBRUSH brush = platform::CreateSolidBrush(platform::RGB(21, 77, 57));
    platform::FillRect(back_buffer_dc, &notice_rect, brush);
    platform::DeleteObject(brush);
    platform::RECT inside{notice_rect.left + 4, notice_rect.top + 4, notice_rect.right - 4, notice_rect.bottom - 4};
    const int32_t old_mode = platform::SetBkMode(back_buffer_dc, platform::TRANSPARENT);
    const platform::COLORREF old_colour = platform::SetTextColor(back_buffer_dc, 0xEEEEEE);
    platform::DrawText(back_buffer_dc, text, -1, &inside, platform::DT_LEFT | platform::DT_TOP);
    platform::SetTextColor(back_buffer_dc, old_colour);
    platform::SetBkMode(back_buffer_dc, old_mode);
    if (font != nullptr) platform::SelectObject(back_buffer_dc, old_font);
    platform::BitBlt(window_dc, notice_rect.left, notice_rect.top, notice_rect.right - notice_rect.left,
                     notice_rect.bottom - notice_rect.top, back_buffer_dc, notice_rect.left, notice_rect.top,
                     platform::SRCCOPY);
  }
  platform::ReleaseDC(window, window_dc);
}

void TableClass::PaintStatus(platform::HDC dc, float seconds, const char* status_text, platform::HDC background,
                             bool force, platform::RECT* rects, int32_t* count, int32_t maximum) {
  if (background == nullptr) force = true;
  uint32_t quality = Table_GetNeighbours().Network_GetLinkQuality(connection_id);
  if (quality == 0 && server_shutting_down != 0) {
    (void)Leave(1, 1, kAnyConnection);
    return;
  }
  if (link_icon_dc != nullptr) {
    if (quality > 3) quality = 2;
    if (static_cast<int32_t>(quality) != last_link_quality || force) {
      if (last_link_quality == 0 && background != nullptr) {
        platform::BitBlt(dc, 169, 523, 219, 14, background, 169, 523, platform::SRCCOPY);
      }
      last_link_quality = static_cast<int32_t>(quality);
      platform::BitBlt(dc, 132, 523, 32, 17, link_icon_dc, 0, static_cast<int32_t>(quality) * 17,
                       platform::SRCCOPY);
      Append(rects, count, maximum, platform::RECT{132, 523, 164, 540});
      if (quality == 0) {
        platform::RECT text_rect{169, 523, 388, 537};
        const int32_t old_mode = platform::SetBkMode(dc, platform::TRANSPARENT);
        const platform::COLORREF old_colour = platform::SetTextColor(dc, platform::RGB(238, 238, 16));
        platform::DrawText(dc, "(Reconnecting to Server...)", -1, &text_rect, platform::DT_SINGLELINE);
        platform::SetTextColor(dc, old_colour);
        platform::SetBkMode(dc, old_mode);
      }
      Append(rects, count, maximum, platform::RECT{169, 523, 388, 537});
    }
  }

  char shown[sizeof last_status_text];
  std::snprintf(shown, sizeof shown, "%s_", status_text != nullptr ? status_text : "");
  if (std::strcmp(shown, last_status_text) != 0 || force) {
    if (background != nullptr) platform::BitBlt(dc, 546, 498, 229, 17, background, 546, 498, platform::SRCCOPY);
    std::memcpy(last_status_text, shown, sizeof last_status_text);
    platform::RECT text_rect{546, 498, 775, 515};
    const int32_t old_mode = platform::SetBkMode(dc, platform::TRANSPARENT);
    const platform::COLORREF old_colour = platform::SetTextColor(dc, 0xFFFFFF);
    platform::DrawText(dc, shown, -1, &text_rect,
                       platform::DT_RIGHT | platform::DT_VCENTER | platform::DT_SINGLELINE);
    platform::SetTextColor(dc, old_colour);
    platform::SetBkMode(dc, old_mode);
    Append(rects, count, maximum, text_rect);
  }

  if (chat_box->IsDirty() || force) {
    chat_box->Draw(dc, seconds, background, rects, count, maximum);
  }

  if (clock_left >= 0.0f) clock_left -= seconds;
  DrawClock(dc, background, force, rects, count, maximum);

  UpdateTableButtons();
  DirtyRectList dirty(ButtonList::kMaxButtons * 2);
  buttons.Draw(dc, background, force, &dirty);
  for (int32_t index = 0; index < dirty.Count(); ++index) Append(rects, count, maximum, dirty[index]);
}

void TableClass::DrawClock(platform::HDC dc, platform::HDC background, bool force, platform::RECT* rects,
                           int32_t* count, int32_t maximum) {
  if (clock_total == last_clock_total && clock_left == last_clock_left && !force) return;
  if (background != nullptr) platform::BitBlt(dc, 19, 499, 115, 17, background, 546, 498, platform::SRCCOPY);
  if (clock_left < 0.0f) clock_left = 0.0f;
  if (clock_left > 0.0f && clock_total > 0.0f) {
    // A clock longer than its total still draws a full bar, never a wider one.
    const float ratio = std::clamp(clock_left / clock_total, 0.0f, 1.0f);
    if (ratio > 0.0f) {
      const int32_t half = static_cast<int32_t>(115.0f * 0.5f * ratio);
      const int32_t inset = 57 - half;
      platform::RECT bar{19 + inset, 502, 134 - inset, 513};
      platform::FillRect(dc, &bar, clock_brush);
    }
  }
  if (clock_left > 0.0f) {
    const long whole = static_cast<long>(clock_left);
    char text[32];
    std::snprintf(text, sizeof text, "%ld:%02ld", whole / 60, whole % 60);
    platform::RECT text_rect{19, 499, 134, 516};
    const int32_t old_mode = platform::SetBkMode(dc, platform::TRANSPARENT);
    const platform::COLORREF old_colour = platform::SetTextColor(dc, 0xFFFFFF);
    platform::DrawText(dc, text, -1, &text_rect, platform::DT_CENTER | platform::DT_SINGLELINE);
    platform::SetTextColor(dc, old_colour);
    platform::SetBkMode(dc, old_mode);
  } else {
    clock_left = -1.0f;
  }
  last_clock_total = clock_total;
  last_clock_left = clock_left;
  Append(rects, count, maximum, platform::RECT{19, 499, 134, 516});
}

// Services.

void TableClass::SetHandNumber(uint32_t hand) {
  if (hand == current_hand) return;
  previous_hand = current_hand;
  current_hand = hand;
  UpdateTitle();
}

int32_t TableClass::FindMySeat() const {
  const char* me = Table_GetNeighbours().Login_GetSignedInName();
  if (me == nullptr) return -1;
  for (int32_t seat = 0; seat < kTableSeats; ++seat) {
    if ((seat_flags[seat] & kSeatOccupied) != 0 && strcasecmp(seat_names[seat], me) == 0) return seat;
  }
  return -1;
}

void TableClass::RequestSeat(int32_t seat) {
  if (seat < 0 || seat >= kTableSeats) return;
  if ((seat_flags[seat] & kSeatOccupied) != 0 || seat_reserved[seat] != 0) return;
  TableNeighbours& neighbours = Table_GetNeighbours();
  if (neighbours.Login_GetSignedInName() == nullptr) {
    neighbours.Login_ShowDialog(instance_, window, 1, static_cast<int32_t>(table_id), seat);
    return;
  }
  OpenBuyInDialog(seat);
}

void TableClass::OpenBuyInDialog(int32_t seat) {
  pending_cash_dialog = 0;
  buy_in_seat = seat;
  buy_in_dialog->Request(table_id, static_cast<uint32_t>(seat), static_cast<int32_t>(minimum_sit),
                         static_cast<int32_t>(maximum_sit));
}

void TableClass::OpenMoreCashDialog() {
  if (FindMySeat() < 0) {
    (void)MessageBox("Please Sit At The Table First.");
    return;
  }
  pending_cash_dialog = 1;
  more_cash_dialog->Request(table_id);
}

int TableClass::SendChat(const char* text) {
  uint8_t payload[4 + 80] = {};
  PutU32(payload, table_id);
  const size_t length = text != nullptr ? strnlen(text, 79) : 0;
  if (length > 0) std::memcpy(payload + 4, text, length);
  payload[4 + length] = '\0';
  return SendTablePacket(PACKETTYPE_TABLECHATMESSAGE, payload, static_cast<uint32_t>(length + 5));
}

void TableClass::AddChatText(const char* text, platform::COLORREF colour) {
  chat_box->AddLine(back_buffer_dc, text, colour);
}

void TableClass::AddDealerSummary(const char* text) { AddChatText(text, kSummaryChatColour); }

int TableClass::MessageBox(const char* text) {
  return platform::MessageBox(window, text, kTableBoxCaption, kTableErrorBoxFlags);
}

void TableClass::ShowTableBox(platform::HWND owner, const char* text, platform::UINT flags) {
  platform::MessageBox(owner, text, kTableBoxCaption, flags);
}

void TableClass::GetOverlayRect(platform::RECT* out, platform::HDC dc, int32_t centre_x, int32_t centre_y,
                                int32_t padding) const {
  if (overlay_text[0] == '\0') {
    *out = platform::RECT{0, 0, -1, -1};
    return;
  }
  platform::RECT measure{0, 0, 1, 1};
  platform::DrawText(dc, overlay_text, -1, &measure, platform::DT_CALCRECT | platform::DT_CENTER);
  const int32_t width = measure.right - measure.left;
  const int32_t height = measure.bottom - measure.top;
  const int32_t left = centre_x - width / 2;
  const int32_t top = centre_y - height / 2;
  *out = platform::RECT{left - padding, top - padding, left + width + padding, top + height + padding};
}

void TableClass::DrawOverlay(platform::HDC dc, int32_t centre_x, int32_t centre_y, platform::COLORREF colour,
                             int32_t padding) const {
  if (overlay_text[0] == '\0') return;
  platform::RECT rect;
  GetOverlayRect(&rect, dc, centre_x, centre_y, padding);
  platform::FillRect(dc, &rect, static_cast<platform::HBRUSH>(platform::GetStockObject(platform::BLACK_BRUSH)));
  platform::RECT inside{rect.left + padding, rect.top + padding, rect.right - padding, rect.bottom - padding};
  const int32_t old_mode = platform::SetBkMode(dc, platform::TRANSPARENT);
  const platform::COLORREF old_colour = platform::SetTextColor(dc, colour);
  platform::DrawText(dc, overlay_text, -1, &inside, platform::DT_CENTER);
  platform::SetTextColor(dc, old_colour);
  platform::SetBkMode(dc, old_mode);
}

bool TableClass::SetSeatNotification(const char* title, const char* text) {
  if (notification_title != nullptr || notification_text != nullptr) return false;
  notification_title = CopyText(title != nullptr ? title : "");
  notification_text = CopyText(text != nullptr ? text : "");
  return true;
}

void TableClass::UpdateTitle() {
  // Each title is cut where its buffer ends.
  if (std::snprintf(short_title, sizeof short_title, "%s - %s", table_name, stakes_text) < 0) short_title[0] = '\0';
  const char* tournament = (table_flags & kTableFlagTournament) != 0 ? " Tournament" : "";
  char title[256];
  if (game_type >= 0 && game_type < kGameTypeCount) {
    std::snprintf(title, sizeof title, kTitleFormats[game_type], table_name, tournament, stakes_text);
  } else {
    std::snprintf(title, sizeof title, "%s%s - %s", table_name, tournament, stakes_text);
  }
  if (std::snprintf(window_title, sizeof window_title, "%s    Hand # %ld   Prev # %ld", title,
                    static_cast<long>(current_hand), static_cast<long>(previous_hand)) < 0) {
    window_title[0] = '\0';
  }
  if (window != nullptr) platform::SetWindowText(window, window_title);
}

void TableClass::UpdateTableButtons() {
  const bool dealer = show_dealer_messages != 0;
  const bool player = show_player_messages != 0;
  auto show = [this](int32_t id, bool shown) {
    if (buttons.IsButtonShown(id) == shown) return;
    if (shown) {
      buttons.ShowButton(id);
    } else {
      buttons.HideButton(id);
    }
  };
  show(TABLEBUTTON_DEALER_ON, !dealer);
  show(TABLEBUTTON_DEALER_OFF, dealer);
  show(TABLEBUTTON_PLAYER_ON, !player);
  show(TABLEBUTTON_PLAYER_OFF, player);
  const bool offer = FindMySeat() < 0 && (table_flags & kTableFlagNoWaitingList) == 0 && CountFreeSeats() < 1;
  show(TABLEBUTTON_JOIN_WAITING_LIST, offer && on_waiting_list == 0);
  show(TABLEBUTTON_LEAVE_WAITING_LIST, offer && on_waiting_list != 0);
}

int32_t TableClass::CountFreeSeats() const {
  int32_t free_seats = 0;
  for (int32_t seat = 0; seat < std::min(seat_count, kTableSeats); ++seat) {
    if ((seat_flags[seat] & kSeatOccupied) == 0 && seat_reserved[seat] == 0) ++free_seats;
  }
  return free_seats;
}

void TableClass::ClearSeats() {
  std::memset(seat_flags, 0, sizeof seat_flags);
  std::memset(seat_names, 0, sizeof seat_names);
  std::memset(seat_texts, 0, sizeof seat_texts);
  std::memset(seat_amounts, 0, sizeof seat_amounts);
  std::memset(seat_reserved, 0, sizeof seat_reserved);
}

int TableClass::AddPlayer(int32_t seat, const char* name, const char* text, uint32_t amount, uint32_t flags) {
  if (seat < 0 || seat >= kTableSeats) return -1;
  DebugLog_WriteLevel(1, "Add Player (%s) Seat Index %ld\n", name, static_cast<long>(seat));
  CopyBounded(seat_names[seat], sizeof seat_names[seat], name);
  CopyBounded(seat_texts[seat], sizeof seat_texts[seat], text);
  seat_amounts[seat] = amount;
  seat_flags[seat] = flags;
  seat_reserved[seat] = 0;
  return 0;
}

void TableClass::OpenHelp() { Table_GetNeighbours().OpenGameHelp(window, game_type); }

void TableClass::OpenSupport() {
  if (g_StartupSettings.site_id == kSupportPageSiteId) {
    Table_GetNeighbours().OpenSitePage(window, "POKER/support.php");
  } else {
    Table_GetNeighbours().OpenGameHelp(window, -1);
  }
}

void TableClass::JoinWaitingList() {
  (void)SendJoinWaitingList(waiting_list_request.get(), instance_, window, table_id, seat_count, connection_id);
}

void TableClass::ShowStatistics() { stats_window->Show(instance_, window); }

int TableClass::PreTranslateDialogs(platform::MSG* message) {
  DialogHolder holder;
  const platform::HWND dialogs[] = {buy_in_dialog->Window(), more_cash_dialog->Window(),
                                    waiting_list_request->dialog.dialog, rebuy_dialog->Window()};
  for (const platform::HWND dialog : dialogs) {
    if (dialog == nullptr) continue;
    holder.dialog = dialog;
    if (holder.PreTranslate(message) == 0) return 0;
  }
  return 1;
}

void TableClass::ShowServerMessage(uint8_t index, uint32_t id_or_zero, const char* text) {
  if (index != server_list_index || (id_or_zero != 0 && id_or_zero != table_id)) return;
  platform::MessageBox(window, text, g_StartupSettings.display_name, kTableNoticeBoxFlags);
}

void TableClass::SetServerShuttingDown(uint8_t index) {
  if (index == server_list_index || index == 0) server_shutting_down = 1;
}

int TableClass::Leave(int skip_confirmation, int send_leave, int32_t connection_filter) {
  if (connection_filter >= 0 && connection_filter <= 127 && connection_filter != connection_id) return 1;
  if (skip_confirmation == 0 && current_game && current_game->ConfirmLeave() != 0) return 1;
  TableNeighbours& neighbours = Table_GetNeighbours();
  if (send_leave != 0 && !connection_released_) {
    uint8_t payload[4];
    PutU32(payload, table_id);
    (void)SendTablePacket(PACKETTYPE_TABLELEAVEREQUEST, payload, sizeof payload);
  }
  if (ReleaseConnection()) neighbours.Main_MoveLobbyConnection();
  neighbours.Login_CancelDialog();
  if (window != nullptr) {
    const platform::HWND gone = window;
    platform::DestroyWindow(gone);
  }
  neighbours.Main_BringToFront();
  return 0;
}

void TableClass::SetStatsTexts(const char* title, const char* summary, const char* labels_1,
                               const char* values_1, const char* labels_2, const char* values_2) {
  if (stats_window != nullptr) stats_window->SetTexts(title, summary, labels_1, values_1, labels_2, values_2);
}

void TableClass::OpenPlayerNotes(platform::HINSTANCE instance, platform::HWND parent, const char* player) {
  PlayerNotes_Open(instance, parent, player);
}
