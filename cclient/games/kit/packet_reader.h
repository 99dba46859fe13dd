// Reading a game packet: the size rules a game checks before anything reads a payload, with the
// log lines a refused packet leaves in the module log, and a field reader in wire order.
//
// Each game keeps its own table of rules (one row per packet type it takes); the kit finds the
// row, checks the length against it and logs "Unknow packet" with the type, or the row's own text
// with the length. A game whose length rule depends on its state (one of two sizes, say) finds
// the row, decides itself, and logs the refusal through PacketRules_RefuseSize.
//
// UI thread only.
#pragma once

#include <cstddef>
#include <cstdint>

class GameLog;

// One packet type's length rule: min_len <= length <= max_len. `text` is logged with the length
// when the rule refuses a packet ("Holdem Game State Packet Wrong size").
struct PacketSizeRule {
  uint32_t type;
  uint32_t min_len;
  uint32_t max_len;
  const char* text;
};

// A length with no upper bound.
constexpr uint32_t kPacketNoMaximum = 0xFFFFFFFFu;

// The row of `type`, or nullptr after logging "Unknow packet" = type (log may be null).
const PacketSizeRule* PacketRules_Find(const PacketSizeRule* rules, size_t count, uint32_t type, GameLog* log);
// Logs the row's text = length (log may be null).
void PacketRules_RefuseSize(const PacketSizeRule& rule, uint32_t length, GameLog* log);
// The row of `type` when it exists and the length fits it; else nullptr, with the refusal logged.
const PacketSizeRule* PacketRules_Check(const PacketSizeRule* rules, size_t count, uint32_t type, uint32_t length,
                                        GameLog* log);

template <size_t N>
const PacketSizeRule* PacketRules_Check(const PacketSizeRule (&rules)[N], uint32_t type, uint32_t length,
                                        GameLog* log) {
  return PacketRules_Check(rules, N, type, length, log);
}
template <size_t N>
const PacketSizeRule* PacketRules_Find(const PacketSizeRule (&rules)[N], uint32_t type, GameLog* log) {
  return PacketRules_Find(rules, N, type, log);
}

// Reads big-endian fields in wire order; after the first read past the end every read fails and
// leaves its output as it was.
class PacketFieldReader {
 public:
  PacketFieldReader(const uint8_t* payload, uint32_t length)
      : read_(payload), left_(static_cast<int32_t>(length)) {}
  bool ok() const { return ok_; }
  int32_t left() const { return left_; }
  void U8(uint8_t* out);
  void I8(int8_t* out);
  void U16(uint16_t* out);
  void U32(uint32_t* out);
  void I32(int32_t* out);
  void Bytes(void* out, int32_t count);
  void U32s(uint32_t* out, int32_t count);

 private:
  const uint8_t* read_;
  int32_t left_;
  bool ok_ = true;
};
