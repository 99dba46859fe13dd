// A recording stand-in for what the buddy list and the bonus windows reach outside themselves,
// and payload builders for their packets.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "cclient/lobby/lobby_neighbours.h"

struct LobbySent {
  uint32_t type;
  std::vector<uint8_t> payload;
  bool operator==(const LobbySent& other) const = default;
};

struct TableOpened {
  uint32_t table_id;
  int32_t game_type;
  int32_t seat;
  uint8_t server_list_index;
  std::string host;
  uint16_t port;
  int table_kind;
  bool operator==(const TableOpened& other) const = default;
};

class RecordingLobby : public LobbyNeighbours {
 public:
  RecordingLobby() { Lobby_SetNeighbours(this); }
  ~RecordingLobby() override { Lobby_SetNeighbours(nullptr); }

  std::vector<LobbySent> sent;
  std::vector<TableOpened> tables;
  bool logged_in = true;

  int SendLobbyPacket(uint32_t type, const void* payload, uint32_t length) override;
  bool Login_IsLoggedIn() override { return logged_in; }
  int32_t Main_GameCodeToType(const char* code) override;
  const char* ServerList_GetHost(uint8_t index) override;
  uint16_t ServerList_GetPort(uint8_t index) override { return static_cast<uint16_t>(9000 + index); }
  void OpenOrForegroundTable(uint32_t table_id, int32_t game_type, int32_t seat,
                             uint8_t server_list_index, const char* host, uint16_t port,
                             int table_kind) override;

  // The account dialogs' neighbours.
  uint8_t session_id[12] = {'S', 'E', 'S', 'S', 'I', 'O', 'N', '-', '0', '0', '4', '2'};
  uint32_t user_id = 4242;
  bool hosted = false;
  std::vector<std::string> calls;     // sign-in shown, accounts counted, host cashier
  std::vector<std::string> browsed;   // addresses handed to the browser
  const uint8_t* Login_GetSessionId() override { return session_id; }
  uint32_t Login_GetUserId() override { return user_id; }
  void Login_ShowSignIn() override { calls.push_back("Login_ShowSignIn"); }
  void Login_CountNewAccount() override { calls.push_back("Login_CountNewAccount"); }
  bool Main_IsHosted() override { return hosted; }
  void Main_HostShowCashier() override { calls.push_back("Main_HostShowCashier"); }
  bool OpenBrowser(const char* address) override {
    browsed.emplace_back(address);
    return true;
  }
};

// Big-endian payload building.
class Bytes {
 public:
  Bytes& U8(uint8_t value);
  Bytes& U32(uint32_t value);
  Bytes& Raw(const void* data, size_t size);
  Bytes& Text(const std::string& text);  // with its NUL
  const std::vector<uint8_t>& get() const { return bytes_; }
  const uint8_t* data() const { return bytes_.data(); }
  uint32_t size() const { return static_cast<uint32_t>(bytes_.size()); }

 private:
  std::vector<uint8_t> bytes_;
};
