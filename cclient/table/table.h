// One open table: its window (class "TarvikEXETable"), its connection to the game server that
// hosts it, the server's view of the ten seats, the chat box, the table's common buttons and
// dialogs, and the one game object that plays the table's game (table_game.h).
//
// The list of open tables (table_list.h) owns every TableClass: it constructs one, calls Create,
// and destroys it once its window is gone, at a point where no code of the table is running (see
// TableListClass). A table therefore never deletes itself; leaving destroys its window.
//
// The public fields that game modules read (joined, table id, table flags) or write (the clock)
// are documented where they stand. UI thread only.
#pragma once

#include <cstdint>
#include <memory>

#include "cclient/base/dialog_holder.h"
#include "cclient/table/table_game.h"
#include "cclient/widgets/button_list.h"
#include "cclient/widgets/cash_dialog.h"
#include "cclient/widgets/chat_box.h"
#include "platform/draw/gdi.h"
#include "platform/window/window_types.h"

class RebuyDialog;
class StatsWindow;

constexpr const char* kTableClassName = "TarvikEXETable";
// The table window's fixed client area; the game's back buffer is as large.
constexpr int32_t kTableClientWidth = 800;
constexpr int32_t kTableClientHeight = 560;
constexpr int32_t kTableSeats = 10;
constexpr uint8_t kTableNoConnection = 255;
// The connection filter of Leave and CloseAll that takes every connection.
constexpr int32_t kAnyConnection = -1;

// Table flags from the join result, by bit value.
constexpr uint32_t kTableFlagNoWaitingList = 4;
constexpr uint32_t kTableFlagWholeUnits = 8;
constexpr uint32_t kTableFlagNoMoreMoney = 16;
constexpr uint32_t kTableFlagTournament = 32;

// Seat flags, by bit value.
constexpr uint32_t kSeatOccupied = 1;

// Common button ids (also the commands they carry out).
enum TableButton : int32_t {
  TABLEBUTTON_CHAT_UP = 1,
  TABLEBUTTON_CHAT_DOWN = 2,
  TABLEBUTTON_DEALER_ON = 3,
  TABLEBUTTON_DEALER_OFF = 4,
  TABLEBUTTON_PLAYER_ON = 5,
  TABLEBUTTON_PLAYER_OFF = 6,
  TABLEBUTTON_CASHIER = 7,
  TABLEBUTTON_LOBBY = 8,
  TABLEBUTTON_LEAVE = 9,
  TABLEBUTTON_HELP = 10,
  TABLEBUTTON_MORE_MONEY = 11,
  TABLEBUTTON_FLOOR_PERSON = 12,
  TABLEBUTTON_JOIN_WAITING_LIST = 13,
  TABLEBUTTON_LEAVE_WAITING_LIST = 14,
  TABLEBUTTON_STATISTICS = 15,
};

// Chat colours.
constexpr platform::COLORREF kDealerChatColour = 0x80FFFF;
constexpr platform::COLORREF kSummaryChatColour = 0xFFFFFF;
constexpr platform::COLORREF kPlayerChatColour = 0xFFFF80;

// Box flags of the table's boxes (caption "Game Table").
constexpr platform::UINT kTableErrorBoxFlags = 0x50010;   // stop icon, set foreground, topmost
constexpr platform::UINT kTableNoticeBoxFlags = 0x50040;  // information icon, set foreground, topmost
constexpr const char* kTableBoxCaption = "Game Table";

// The record of a waiting-list request the table sends.
struct WaitingListRequest {
  DialogHolder dialog;
  uint32_t table_id = 0;
  uint8_t choice = 0;
  int32_t last_seat = 0;  // seat count - 1
};

class TableClass final : public CashDialogOwner {
 public:
  TableClass();
  ~TableClass() override;
  TableClass(const TableClass&) = delete;
  TableClass& operator=(const TableClass&) = delete;

  // Connects, makes the game object and the window. nullptr on success, else the text to show:
  // "Unsupported Game Type Specified For Table", the game's own text, or "Unable to create
  // window.". After a failure the caller destroys the table (ReleaseConnection first).
  [[nodiscard]] const char* Create(platform::HINSTANCE instance, platform::HWND owner, int32_t game_type,
                                   uint32_t table_id, const char* name, int32_t picked_seat,
                                   uint8_t server_list_index, const char* host, uint32_t port,
                                   uint8_t table_kind);
  static void RegisterWindowClass(platform::HINSTANCE instance);
  // Drops the table's reference on its connection; only the first call does anything.
  // True when this call released it.
  bool ReleaseConnection();

  // Game forwarders.
  // The game's HandlePacket when the table plays `expected_game_type`; else 1.
  int HandleGamePacket(uint32_t type, int32_t expected_game_type, const uint8_t* payload,
                       uint32_t length);
  void OnChar(int character);
  void OnPaint();
  void OnLButtonDblClk(int32_t x, int32_t y);
  void OnRButtonUp(int32_t x, int32_t y);
  void SoundOff();
  void SoundOn();
  void RefreshPlayer(const char* name);
  void RedrawAll(bool reload);

  // Input, in the order the table offers it: chat scroll bar, game, common buttons.
  void OnMouseMove(int32_t x, int32_t y, int left_button_held);
  void OnLButtonDown(int32_t x, int32_t y);
  void OnLButtonUp(platform::HWND window, int32_t x, int32_t y);
  // A window message the window procedure does not handle itself: nonzero when handled.
  int OnMessage(platform::UINT message, platform::WPARAM wParam, platform::LPARAM lParam);
  void RunCommand(int32_t command);

  // The per-frame step from the list of open tables.
  void Tick(float seconds);

  // Services for game modules and widgets.
  uint8_t GetConnectionIndex() const { return connection_id; }
  bool IsRealMoney() const override { return table_kind != 0; }
  int SendTablePacket(uint32_t type, const void* payload, uint32_t length) override;
  void SetHandNumber(uint32_t hand);
  void SetBackBufferDC(platform::HDC dc) { back_buffer_dc = dc; }
  void SetBackgroundDC(platform::HDC dc) { background_dc = dc; }
  int32_t FindMySeat() const;
  void RequestSeat(int32_t seat);
  void OpenBuyInDialog(int32_t seat);
  void OpenMoreCashDialog();
  // Sends the text (cut to 79 characters) as table chat; the send result.
  int SendChat(const char* text);
  void AddDealerSummary(const char* text);
  int MessageBox(const char* text);
  void GetOverlayRect(platform::RECT* out, platform::HDC dc, int32_t centre_x, int32_t centre_y,
                      int32_t padding) const;
  void DrawOverlay(platform::HDC dc, int32_t centre_x, int32_t centre_y, platform::COLORREF colour,
                   int32_t padding) const;
  // The common status strip: link icon, status text, chat box, in-turn clock and buttons, drawn
  // into `dc`; each painted rectangle is appended while `*count` is below `maximum`.
  void PaintStatus(platform::HDC dc, float seconds, const char* status_text, platform::HDC background,
                   bool force, platform::RECT* rects, int32_t* count, int32_t maximum);
  bool SetSeatNotification(const char* title, const char* text);
  void ShowNotice(const char* text);
  void UpdateTitle();
  void UpdateTableButtons();
  int32_t CountFreeSeats() const;
  void ClearSeats();
  int AddPlayer(int32_t seat, const char* name, const char* text, uint32_t amount, uint32_t flags);
  void OpenHelp();
  void OpenSupport();
  void JoinWaitingList();
  void ShowStatistics();
  int PreTranslateDialogs(platform::MSG* message);
  void ShowServerMessage(uint8_t server_list_index, uint32_t table_id_or_zero, const char* text);
  void SetServerShuttingDown(uint8_t server_list_index);
  // 1 when the table stays, 0 when it left (its window is destroyed).
  int Leave(int skip_confirmation, int send_leave, int32_t connection_filter);

  // Table-level packets (the payload after the table id): 0 accepted, 1 bad packet.
  int HandleJoinTableResult(const uint8_t* payload, uint32_t length);
  int AddDealerMessage(const uint8_t* payload, uint32_t length);
  int AddDealerSummary(const uint8_t* payload, uint32_t length);
  int AddPlayerMessage(const uint8_t* payload, uint32_t length);
  int HandleTableSitResult(const uint8_t* payload, uint32_t length);
  int HandleTableAddPlayer(const uint8_t* payload, uint32_t length);
  int HandleTableRemovePlayer(const uint8_t* payload, uint32_t length);
  int HandleTableLeaveResponse(const uint8_t* payload, uint32_t length);
  int HandleTableBalanceResponse(const uint8_t* payload, uint32_t length);
  int HandleTableUpdatePlayerBalance(const uint8_t* payload, uint32_t length);
  int HandleTableUpdatePlayerFlags(const uint8_t* payload, uint32_t length);
  int HandleOverlayMessage(const uint8_t* payload, uint32_t length);
  int HandleUpdateStakesString(const uint8_t* payload, uint32_t length);
  int HandleUpdateWinnerSeat(const uint8_t* payload, uint32_t length);
  int ShowRebuyWindow(const uint8_t* payload, uint32_t length);
  int CloseRebuyWindow(const uint8_t* payload, uint32_t length);
  int HandlePlayMoneyTopupResult(const uint8_t* payload, uint32_t length);

  platform::HWND Window() const { return window; }
  TableGameClass* Game() const { return current_game.get(); }
  ChatBox* Chat() const { return chat_box.get(); }
  ButtonList& Buttons() { return buttons; }
  BuyInDialog* BuyIn() const { return buy_in_dialog.get(); }
  MoreCashDialog* MoreCash() const { return more_cash_dialog.get(); }
  StatsWindow* Stats() const { return stats_window.get(); }
  RebuyDialog* Rebuy() const { return rebuy_dialog.get(); }
  WaitingListRequest* WaitingList() const { return waiting_list_request.get(); }

  // Services for the game modules, which see the table's own windows only through these.
  // Puts a game's statistics texts into the statistics window; nothing while it is closed.
  void SetStatsTexts(const char* title, const char* summary, const char* labels_1, const char* values_1,
                     const char* labels_2, const char* values_2);
  // Opens the notes dialog on `player` over `parent`.
  void OpenPlayerNotes(platform::HINSTANCE instance, platform::HWND parent, const char* player);

  // What the table keeps. Game modules read joined, table_id and table_flags and write
  // clock_total and clock_left; everything else is the table's own.
  platform::RECT notice_rect{0, 0, 0, 0};
  uint8_t connecting_notice_shown = 0;
  uint8_t server_shutting_down = 0;
  uint8_t server_list_index = 0;
  char host[128] = {};
  uint32_t port = 0;
  uint8_t table_kind = 0;  // 1 real money, 0 play money
  uint8_t connection_id = kTableNoConnection;
  int32_t seat_count = kTableSeats;
  int32_t players_seated = 0;
  uint32_t seat_flags[kTableSeats] = {};
  char seat_names[kTableSeats][11] = {};
  char seat_texts[kTableSeats][32] = {};
  uint32_t seat_amounts[kTableSeats] = {};
  uint8_t seat_reserved[kTableSeats] = {};
  uint32_t on_waiting_list = 0;
  platform::HWND window = nullptr;
  platform::HBRUSH clock_brush = nullptr;
  platform::HDC link_icon_dc = nullptr;
  platform::HBITMAP link_icon_bitmap = nullptr;
  platform::HDC back_buffer_dc = nullptr;  // the game's
  platform::HDC background_dc = nullptr;   // the game's
  uint32_t joined = 0;
  int32_t game_type = -1;
  uint32_t table_id = 0xFFFFFFFFu;
  uint32_t table_flags = 0;
  char stakes_text[32] = {};
  char table_name[64] = {};
  char window_title[80] = {};
  char short_title[64] = {};
  float overlay_seconds = 0.0f;
  char overlay_text[2048] = {};
  uint32_t previous_hand = 0;
  uint32_t current_hand = 0;
  float clock_total = -1.0f;  // seconds; -1 = no clock
  float clock_left = -1.0f;   // seconds; -1 = no clock; counted down by PaintStatus
  uint32_t minimum_sit = 0;
  uint32_t maximum_sit = 0;
  int32_t picked_seat = -1;
  int32_t winner_seat = -1;
  char winner_name[12] = {};
  uint32_t show_dealer_messages = 1;
  uint32_t show_player_messages = 1;
  int32_t last_link_quality = -1;
  char last_status_text[1024] = {};
  float last_clock_total = 0.0f;
  float last_clock_left = 0.0f;
  int32_t buy_in_seat = -1;
  uint32_t pending_cash_dialog = 0;  // 0 buy-in, 1 more cash
  uint8_t refilled = 0;
  float join_countdown = 60.0f;

 private:
  void AddCommonButtons();
  void DrawClock(platform::HDC dc, platform::HDC background, bool force, platform::RECT* rects,
                 int32_t* count, int32_t maximum);
  void ShowTableBox(platform::HWND owner, const char* text, platform::UINT flags);
  void AddChatText(const char* text, platform::COLORREF colour);
  static platform::LRESULT WndProc(platform::HWND hwnd, platform::UINT message, platform::WPARAM wParam,
                                   platform::LPARAM lParam);

  platform::HINSTANCE instance_ = nullptr;
  bool connection_released_ = false;
  std::unique_ptr<ChatBox> chat_box;
  ButtonList buttons;
  std::unique_ptr<TableGameClass> current_game;
  std::unique_ptr<BuyInDialog> buy_in_dialog;
  std::unique_ptr<MoreCashDialog> more_cash_dialog;
  std::unique_ptr<WaitingListRequest> waiting_list_request;
  std::unique_ptr<StatsWindow> stats_window;
  std::unique_ptr<RebuyDialog> rebuy_dialog;
  char* notification_title = nullptr;
  char* notification_text = nullptr;
};
