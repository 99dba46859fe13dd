// One tournament window: it follows its tournament through the details packets (the copy and its
// state machine live in `TourneyDetails`) and shows the players in list views.
//
// Owned by `TourneyListClass`. UI thread only.
#pragma once

#include <cstdint>

#include "cclient/lobby/tourney_details.h"
#include "platform/window/window_types.h"

class TourneyClass {
 public:
  // Takes a connection reference on the game server. No request goes out yet: the tourney id is
  // given to Create.
  TourneyClass(uint8_t server_list_index, const char* host, uint16_t port);
  // Frees what the object holds and drops its connection reference; the window is already gone.
  ~TourneyClass();
  TourneyClass(const TourneyClass&) = delete;
  TourneyClass& operator=(const TourneyClass&) = delete;

  // Makes the window and asks for the tournament's details: 0 on success, 1 on failure (any
  // window made is destroyed again).
  [[nodiscard]] int Create(uint32_t tourney_id, const char* title);
  void Tick(float elapsed_seconds);

  int OnDetails(const uint8_t* payload, uint32_t length);
  int OnJoinResult(const uint8_t* payload, uint32_t length);
  int OnUnjoinResult(const uint8_t* payload, uint32_t length);
  int OnRegistrationOptions(const uint8_t* payload, uint32_t length);

  uint32_t GetTourneyId() const { return details_.tourney_id; }
  platform::HWND GetHwnd() const { return window_; }
  const TourneyDetails& Details() const { return details_; }

  // The member window procedure.
  platform::LRESULT WindowProc(platform::HWND hwnd, platform::UINT message, platform::WPARAM wparam,
                               platform::LPARAM lparam);

 private:
  void Paint();
  void FillPlayerList();
  void FillOwnRow();
  void PlayerText(const TourneyPlayer& player, int32_t rank, int column, char* out, int size) const;
  void OnNotify(const void* header);

  TourneyDetails details_;
  uint8_t server_list_index_;
  char host_[128] = {};
  uint16_t port_;
  uint8_t connection_id_ = 255;
  platform::HWND window_ = nullptr;
  platform::HWND player_list_ = nullptr;
  platform::HWND own_row_list_ = nullptr;
  uint8_t* background_ = nullptr;  // 800 x 560, 24 bits, top-down
};
