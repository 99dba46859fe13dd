// What the table host's tests share: a recording set of neighbours, a recording game module behind
// the real game-module interface, packet builders, and a fixture that opens tables in the
// program's list with both in force.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "cclient/table/table.h"
#include "cclient/table/table_game.h"
#include "cclient/table/table_list.h"
#include "cclient/table/table_neighbours.h"
#include "tests/support/temp_program_folder.h"

struct SentPacket {
  uint32_t type;
  std::vector<uint8_t> payload;
  uint8_t connection;
};

class RecordingTableNeighbours final : public TableNeighbours {
 public:
  uint8_t Network_Init(platform::HWND, const char* host, uint32_t port, uint8_t) override;
  void Network_Release(uint8_t connection_id, bool immediately) override;
  int Network_SendPacket(uint32_t type, const void* payload, uint32_t length, uint8_t connection_id) override;
  bool Network_IsServerLinked(const char*, uint32_t) override { return linked; }
  void Network_AddPendingTable(uint32_t table_id, uint8_t connection_id) override;
  uint32_t Network_GetLinkQuality(uint8_t) override { return link_quality; }
  void Main_HotPickTableOpened(uint32_t table_id, int32_t, int) override;
  void Main_HotPickTableClosed(uint32_t table_id) override;
  void Main_HotPickRemember(uint32_t table_id, const char* name, int, int32_t, uint8_t, const char*,
                            uint16_t) override;
  void Main_HotPickForget(uint32_t table_id) override;
  void Main_SetLobbyConnection(uint8_t, uint8_t connection_id) override;
  void Main_MoveLobbyConnection() override { calls.push_back("Main_MoveLobbyConnection"); }
  void Main_BringToFront() override { calls.push_back("Main_BringToFront"); }
  void Main_RedrawButtons() override {}
  void Main_EnterLobbyIfNotThere() override { calls.push_back("Main_EnterLobbyIfNotThere"); }
  void Main_ErrorBox(const char* text) override { error_boxes.push_back(text); }
  int32_t Main_GameCodeToType(const char* code) override;
  bool ServerList_GetServer(uint8_t index, const char** host, uint16_t* port) override;
  const char* Login_GetSignedInName() override { return signed_in.empty() ? nullptr : signed_in.c_str(); }
  void Login_ShowDialog(platform::HINSTANCE, platform::HWND, int32_t mode, int32_t, int32_t) override;
  void Login_CancelDialog() override {}
  void OpenGameHelp(platform::HWND, int32_t game) override;
  void OpenSitePage(platform::HWND, const char* path) override;
  void OpenCashier(platform::HWND) override { calls.push_back("OpenCashier"); }

  // Sent packets of one type, in order.
  std::vector<SentPacket> SentOf(uint32_t type) const;
  int Count(const std::string& call) const;

  bool linked = true;
  uint32_t link_quality = 3;
  std::string signed_in;
  uint8_t next_connection = 3;
  std::vector<SentPacket> sent;
  std::vector<std::string> calls;
  std::vector<std::string> error_boxes;
  std::vector<int> releases_by_connection = std::vector<int>(8, 0);
};

// A game module that records what the table hands it and draws its table as a plain green felt.
class RecordingGame final : public TableGameClass {
 public:
  explicit RecordingGame(TableClass* table);
  ~RecordingGame() override;

  bool ReloadBackground() override { return true; }
  void RedrawAll() override { ++redraws; }
  const char* Create(platform::HINSTANCE) override;
  platform::HDC GetBackBufferDC() const override { return back_dc_; }
  platform::HDC GetBackgroundDC() const override { return background_dc_; }
  int HandlePacket(uint32_t type, const uint8_t*, uint32_t) override;
  // Draws the status strip and shows the whole back buffer in the window.
  void Tick(platform::HWND table_window, float seconds) override;
  int OnMessage(platform::UINT message, platform::WPARAM, platform::LPARAM) override;
  int ConfirmLeave() override { return stay; }
  void RefreshPlayer(const char* name) override { refreshed.push_back(name); }

  TableClass* table;
  std::vector<uint32_t> packets;
  std::vector<platform::UINT> messages;
  std::vector<std::string> refreshed;
  int ticks = 0;
  int redraws = 0;
  int stay = 0;
  std::string status = "Waiting for players";

  // The next game made fails its Create with this text (empty: succeeds).
  static std::string create_error;
  // Every game object alive, in order of making.
  static std::vector<RecordingGame*>& Alive();

 private:
  platform::HDC back_dc_ = nullptr;
  platform::HBITMAP back_bitmap_ = nullptr;
  platform::HDC background_dc_ = nullptr;
  platform::HBITMAP background_bitmap_ = nullptr;
  platform::HFONT font_ = nullptr;
};

// Big-endian packet building.
struct PacketBytes {
  std::vector<uint8_t> bytes;
  PacketBytes& U8(uint8_t value);
  PacketBytes& U32(uint32_t value);
  PacketBytes& Fixed(const std::string& text, size_t size);  // padded with NULs, never cut
  PacketBytes& Text(const std::string& text);                 // with its NUL
  PacketBytes& Raw(const std::vector<uint8_t>& raw);
};

struct SeatSpec {
  uint8_t seat;
  std::string name;
  uint32_t amount;
  uint32_t flags = kSeatOccupied;
};

PacketBytes SeatRecordBytes(const SeatSpec& seat);
// A successful join result; `tail` follows the seat records.
PacketBytes JoinResultBytes(const std::string& name, const std::string& stakes, uint8_t seat_count,
                            const std::vector<SeatSpec>& seats, uint32_t flags = 0, uint32_t hand = 77,
                            uint8_t on_waiting_list = 0, const std::vector<uint8_t>& tail = {});

class TableHostTest : public ProgramFolderTest {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Opens a Hold'em table in the program's list; the table or nullptr.
  TableClass* Open(uint32_t table_id, int32_t picked_seat = -1, int32_t game_type = GAMETYPE_HOLDEM);
  // Hands a packet for `table_id` to the list: its result.
  int Deliver(uint32_t type, uint32_t table_id, const std::vector<uint8_t>& rest = {});
  int Join(uint32_t table_id, const std::vector<SeatSpec>& seats = {}, uint8_t seat_count = 10);
  std::string Title(const TableClass* table) const;
  // The chat lines written since the box held `before` lines, joined with blanks.
  static std::string ChatSince(const TableClass* table, int32_t before);

  RecordingTableNeighbours neighbours_;
  platform::HWND main_window_ = nullptr;
};
