// The one list of open tournament windows (at most four).
//
// UI thread only.
#pragma once

#include <cstdint>

#include "platform/window/window_types.h"

class TourneyClass;

constexpr int32_t kTourneySlots = 4;

class TourneyListClass {
 public:
  TourneyListClass() = default;
  // Does no network work: the windows are closed by CloseAll during clean-up, before this runs.
  ~TourneyListClass() = default;
  TourneyListClass(const TourneyListClass&) = delete;
  TourneyListClass& operator=(const TourneyListClass&) = delete;

  // A tournament packet (1049, 1051, 1053, 1055, 1058, 1064, 1099), routed by its leading u32
  // tourney id to that tournament's window: the window's result, 0 for an id that is not open.
  int HandlePacket(uint32_t type, const uint8_t* payload, uint32_t length);
  // The tournament whose window it is, else nullptr.
  TourneyClass* FindByHwnd(platform::HWND window);
  // The tournament whose prize pool window it is, else nullptr.
  TourneyClass* FindByPrizePoolHwnd(platform::HWND window);
  // The tournament whose registration dialog it is, else nullptr.
  TourneyClass* FindByRegistrationDialog(platform::HWND dialog);
  // Destroys every open tournament window.
  void CloseAll();
  // Brings forward or opens the window of a tournament (at most four are open).
  void Open(uint32_t tourney_id, uint8_t server_list_index, const char* host, uint16_t port);
  // Steps every open tournament window.
  void Tick(float elapsed_seconds);
  // The window of `window` was destroyed: its object is deleted and its slot emptied.
  void OnWindowDestroyed(platform::HWND window);
  // The tournament window object shown for a tourney id, else nullptr.
  TourneyClass* FindByTourneyId(uint32_t tourney_id);

 private:
  TourneyClass* slots_[kTourneySlots] = {};
};

// The program's list of open tournament windows.
TourneyListClass& GlobalTourneyList();
