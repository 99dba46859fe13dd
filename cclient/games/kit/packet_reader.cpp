#include "cclient/games/kit/packet_reader.h"

#include "cclient/base/packet_reader.h"
#include "cclient/games/kit/game_log.h"

const PacketSizeRule* PacketRules_Find(const PacketSizeRule* rules, size_t count, uint32_t type, GameLog* log) {
  for (size_t i = 0; i < count; ++i) {
    if (rules[i].type == type) return &rules[i];
  }
  if (log != nullptr) log->LabelNumber("Unknow packet", type);
  return nullptr;
}

void PacketRules_RefuseSize(const PacketSizeRule& rule, uint32_t length, GameLog* log) {
  if (log != nullptr) log->LabelNumber(rule.text, length);
}

const PacketSizeRule* PacketRules_Check(const PacketSizeRule* rules, size_t count, uint32_t type, uint32_t length,
                                        GameLog* log) {
  const PacketSizeRule* rule = PacketRules_Find(rules, count, type, log);
  if (rule == nullptr) return nullptr;
  if (length < rule->min_len || length > rule->max_len) {
    PacketRules_RefuseSize(*rule, length, log);
    return nullptr;
  }
  return rule;
}

void PacketFieldReader::U8(uint8_t* out) { ok_ = ok_ && PacketReadU8(out, &read_, &left_) == 0; }

void PacketFieldReader::I8(int8_t* out) {
  uint8_t value = 0;
  U8(&value);
  if (ok_) *out = static_cast<int8_t>(value);
}

void PacketFieldReader::U16(uint16_t* out) { ok_ = ok_ && PacketReadU16(out, &read_, &left_) == 0; }

void PacketFieldReader::U32(uint32_t* out) { ok_ = ok_ && PacketReadU32(out, &read_, &left_) == 0; }

void PacketFieldReader::I32(int32_t* out) {
  uint32_t value = 0;
  U32(&value);
  if (ok_) *out = static_cast<int32_t>(value);
}

void PacketFieldReader::Bytes(void* out, int32_t count) {
  ok_ = ok_ && PacketReadBytes(out, count, &read_, &left_) == 0;
}

void PacketFieldReader::U32s(uint32_t* out, int32_t count) {
  for (int32_t i = 0; i < count; ++i) U32(&out[i]);
}
