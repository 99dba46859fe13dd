// Building a packet the client sends: big-endian fields appended in wire order, and the send on
// the table's connection that every game's senders share.
//
// UI thread only.
#pragma once

#include <cstdint>
#include <vector>

class TableClass;

class PacketWriter {
 public:
  PacketWriter& U8(uint8_t value) {
    bytes_.push_back(value);
    return *this;
  }
  PacketWriter& U16(uint16_t value) {
    bytes_.push_back(static_cast<uint8_t>(value >> 8));
    bytes_.push_back(static_cast<uint8_t>(value));
    return *this;
  }
  PacketWriter& U32(uint32_t value) {
    bytes_.push_back(static_cast<uint8_t>(value >> 24));
    bytes_.push_back(static_cast<uint8_t>(value >> 16));
    bytes_.push_back(static_cast<uint8_t>(value >> 8));
    bytes_.push_back(static_cast<uint8_t>(value));
    return *this;
  }
  PacketWriter& Bytes(const void* data, uint32_t count) {
    const auto* from = static_cast<const uint8_t*>(data);
    bytes_.insert(bytes_.end(), from, from + count);
    return *this;
  }
  const std::vector<uint8_t>& Payload() const { return bytes_; }
  std::vector<uint8_t> Take() { return std::move(bytes_); }

 private:
  std::vector<uint8_t> bytes_;
};

// Sends `payload` as a packet of `type` on the table's connection: the table's answer, or -1
// without a table.
int GamePacket_Send(TableClass* table, uint32_t type, const std::vector<uint8_t>& payload);
// The table's id, 0 without a table (every game's packets start with it).
uint32_t GamePacket_TableId(const TableClass* table);
