// The one list of open tournament windows (at most four).
//
// UI thread only.
#pragma once

#include <cstdint>

#include "platform/window/window_types.h"

class TourneyClass;

class TourneyListClass {
 public:
  // A tournament packet (1049, 1051, 1053, 1055, 1058, 1064, 1099), routed by its leading u32
  // tourney id to that tournament's window: the window's result, 0 for an id that is not open.
  int HandlePacket(uint32_t type, const uint8_t* payload, uint32_t length);
  // The tournament whose window it is, else nullptr.
  TourneyClass* FindByHwnd(platform::HWND window);
  // Destroys every open tournament window.
  void CloseAll();
  // Brings forward or opens the window of a tournament (at most four are open).
  void Open(uint32_t tourney_id, uint8_t server_list_index, const char* host, uint16_t port);
  // Steps every open tournament window.
  void Tick(float elapsed_seconds);
};

// The program's list of open tournament windows.
TourneyListClass& GlobalTourneyList();
