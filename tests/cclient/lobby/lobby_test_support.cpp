#include "tests/cclient/lobby/lobby_test_support.h"

#include <cstring>

int RecordingLobby::SendLobbyPacket(uint32_t type, const void* payload, uint32_t length) {
  const auto* bytes = static_cast<const uint8_t*>(payload);
  sent.push_back({type, std::vector<uint8_t>(bytes, bytes + length)});
  return 0;
}

int32_t RecordingLobby::Main_GameCodeToType(const char* code) {
  if (std::strcmp(code, "HO") == 0) return 1;
  if (std::strcmp(code, "OM") == 0) return 7;
  return -1;
}

const char* RecordingLobby::ServerList_GetHost(uint8_t index) {
  static std::string host;
  host = "server" + std::to_string(index) + ".test";
  return host.c_str();
}

void RecordingLobby::OpenOrForegroundTable(uint32_t table_id, int32_t game_type, int32_t seat,
                                           uint8_t server_list_index, const char* host,
                                           uint16_t port, int table_kind) {
  tables.push_back({table_id, game_type, seat, server_list_index, host, port, table_kind});
}

Bytes& Bytes::U8(uint8_t value) {
  bytes_.push_back(value);
  return *this;
}

Bytes& Bytes::U32(uint32_t value) {
  for (int shift = 24; shift >= 0; shift -= 8) bytes_.push_back(static_cast<uint8_t>(value >> shift));
  return *this;
}

Bytes& Bytes::Raw(const void* data, size_t size) {
  const auto* bytes = static_cast<const uint8_t*>(data);
  bytes_.insert(bytes_.end(), bytes, bytes + size);
  return *this;
}

Bytes& Bytes::Text(const std::string& text) { return Raw(text.c_str(), text.size() + 1); }
