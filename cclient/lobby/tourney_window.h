// One tournament window: it follows its tournament through the details packets (the copy and its
// state machine live in `TourneyDetails`), paints the tournament's information into an 800 x 560
// back buffer, shows the players and tables in list views, and offers sign-in, registration, the
// player's own table, a chosen table and the complete prize table.
//
// Owned by `TourneyListClass`. UI thread only.
#pragma once

#include <cstdint>

#include "cclient/lobby/prize_pool_window.h"
#include "cclient/lobby/tourney_details.h"
#include "cclient/widgets/button_list.h"
#include "platform/controls/control_types.h"
#include "platform/draw/gdi.h"
#include "platform/window/window_types.h"

class TourneyClass {
 public:
  // Takes a connection reference on the game server. No request goes out yet: the tourney id is
  // given to Create.
  TourneyClass(uint8_t server_list_index, const char* host, uint16_t port);
  // Frees what the object holds, tells the server it no longer follows the tournament and drops
  // its connection reference; the window is already gone.
  ~TourneyClass();
  TourneyClass(const TourneyClass&) = delete;
  TourneyClass& operator=(const TourneyClass&) = delete;

  // Makes the window and asks for the tournament's details: 0 on success, 1 on failure (any
  // window made is destroyed again).
  [[nodiscard]] int Create(uint32_t tourney_id, const char* title);
  // The timer step.
  void Tick(float elapsed_seconds);

  int OnDetails(const uint8_t* payload, uint32_t length);
  int OnJoinResult(const uint8_t* payload, uint32_t length);
  int OnUnjoinResult(const uint8_t* payload, uint32_t length);
  int OnRegistrationOptions(const uint8_t* payload, uint32_t length);

  uint32_t GetTourneyId() const { return details_.tourney_id; }
  platform::HWND GetHwnd() const { return window_; }
  platform::HWND GetRegistrationDialog() const { return registration_dialog_; }
  const TourneyDetails& Details() const { return details_; }
  PrizePoolWindow& PrizePool() { return prize_pool_; }
  bool IsButtonShown(int32_t id) const { return buttons_.IsButtonShown(id); }
  // The list views (nullptr for the table lists until the tournament is full or running).
  platform::HWND PlayerList() const { return player_list_; }
  platform::HWND OwnRowList() const { return own_row_list_; }
  platform::HWND TableList() const { return table_list_; }
  platform::HWND TablePlayerList() const { return table_player_list_; }
  // The back buffer as last painted.
  platform::HDC BackBuffer() const { return back_dc_; }

  // The member window procedure and the registration dialog's procedure.
  platform::LRESULT WindowProc(platform::HWND hwnd, platform::UINT message, platform::WPARAM wparam,
                               platform::LPARAM lparam);
  platform::INT_PTR RegistrationProc(platform::HWND dialog, platform::UINT message, platform::WPARAM wparam,
                                     platform::LPARAM lparam);

 private:
  void Send(uint32_t type, const uint8_t* payload, uint32_t length);
  void SendTourneyId(uint32_t type);
  // Shows the buttons the copy allows; true when any changed.
  bool UpdateButtons();
  void MakeExtraLists(uint8_t tourney_state);
  void AfterDetails();
  void StepCountdowns(double elapsed);
  void StepBackgroundWatch(double elapsed);
  void Render();
  void PaintToWindow(platform::HDC window_dc);
  void Redraw();
  void DrawInfo(platform::HDC dc);
  void DrawLeftColumn(platform::HDC dc);

  void FillPlayerList();
  void FillOwnRow();
  void FillTableList();
  void FillTablePlayerList();
  void OnNotify(const platform::NMHDR* header);
  void OnDisplayText(const platform::NMHDR* header);
  void OnColumnClick(platform::HWND list, int column);
  void OnRowClick(platform::HWND list, int row, bool twice);
  int32_t PlayerIndexOfRow(int row) const;
  int32_t RankOf(uint32_t player_id) const;
  void PlayerText(const TourneyPlayer& player, int32_t rank, int column, char* out, int size) const;

  void OnMouseMove(int32_t x, int32_t y, bool left_held);
  void OnMouseUp(int32_t x, int32_t y);
  void OnButton(int32_t id);
  void OpenTable(int64_t table_id);
  void OpenPrizePool(int32_t pointer_x, int32_t pointer_y);
  void HandPrizeRows();
  void Register();
  void CloseRegistration();
  void ShowRegistration(const uint8_t* payload, uint32_t length);

  TourneyDetails details_;
  uint8_t server_list_index_;
  char host_[128] = {};
  uint16_t port_;
  uint8_t connection_id_ = 255;
  platform::HWND window_ = nullptr;
  platform::HWND registration_dialog_ = nullptr;
  uint8_t group_codes_[4] = {};  // A, B, C, D: pay code + 1, 0 for none
  uint8_t chosen_code_ = 0;

  platform::HDC back_dc_ = nullptr;
  platform::HBITMAP back_bitmap_ = nullptr;
  platform::HDC background_dc_ = nullptr;
  platform::HBITMAP background_bitmap_ = nullptr;
  platform::HDC panel_dc_ = nullptr;
  platform::HBITMAP panel_bitmap_ = nullptr;
  platform::HGDIOBJ old_font_ = nullptr;
  platform::HFONT font_small_ = nullptr;
  platform::HFONT font18_ = nullptr;
  platform::HFONT font20_ = nullptr;
  platform::HFONT font30_ = nullptr;

  platform::HWND player_list_ = nullptr;
  platform::HWND own_row_list_ = nullptr;
  platform::HWND table_list_ = nullptr;
  platform::HWND table_player_list_ = nullptr;
  bool extra_lists_shown_ = false;
  bool wins_titled_ = false;
  ButtonList buttons_;
  PrizePoolWindow prize_pool_;

  bool link_hover_ = false;
  bool link_pressed_ = false;
  double watch_clock_ = -1.0;
  // Countdown texts as last made.
  char start_text_[96] = {};
  char second_text_[96] = {};
  char level_text_[96] = {};
  char break_text_[96] = {};
};
