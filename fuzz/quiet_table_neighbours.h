// Table neighbours for the fuzz targets that play a table: nobody is reached, every send goes
// nowhere, the link is always good and the signed-in player is "fuzzer".
#pragma once

#include <cstdint>

#include "cclient/table/table_neighbours.h"
#include "platform/window/window_types.h"

class QuietNeighbours final : public TableNeighbours {
 public:
  uint8_t Network_Init(platform::HWND, const char*, uint32_t, uint8_t) override { return 2; }
  void Network_Release(uint8_t, bool) override {}
  int Network_SendPacket(uint32_t, const void*, uint32_t, uint8_t) override { return 0; }
  bool Network_IsServerLinked(const char*, uint32_t) override { return true; }
  void Network_AddPendingTable(uint32_t, uint8_t) override {}
  uint32_t Network_GetLinkQuality(uint8_t) override { return 3; }
  void Main_HotPickTableOpened(uint32_t, int32_t, int) override {}
  void Main_HotPickTableClosed(uint32_t) override {}
  void Main_HotPickRemember(uint32_t, const char*, int, int32_t, uint8_t, const char*, uint16_t) override {}
  void Main_HotPickForget(uint32_t) override {}
  void Main_SetLobbyConnection(uint8_t, uint8_t) override {}
  void Main_MoveLobbyConnection() override {}
  void Main_BringToFront() override {}
  void Main_RedrawButtons() override {}
  void Main_EnterLobbyIfNotThere() override {}
  void Main_ErrorBox(const char*) override {}
  const char* Login_GetSignedInName() override { return "fuzzer"; }
  void Login_ShowDialog(platform::HINSTANCE, platform::HWND, int32_t, int32_t, int32_t) override {}
  void Login_CancelDialog() override {}
  void OpenGameHelp(platform::HWND, int32_t) override {}
  void OpenSitePage(platform::HWND, const char*) override {}
  void OpenCashier(platform::HWND) override {}
};
