#include "cclient/games/kit/packet_dump.h"

#include <cstdio>
#include <string>

#include "cclient/games/kit/game_log.h"

namespace {

// Rows hold at most a seat count's or a board's values.
constexpr int32_t kMaxCells = 16;

}  // namespace

void PacketDump_Row(GameLog* log, const char* label, const char* format, const uint32_t* values, int32_t count) {
  std::string line = label;
  char cell[32];
  for (int32_t i = 0; i < count; ++i) {
    std::snprintf(cell, sizeof cell, format, static_cast<int32_t>(values[i]));
    line += cell;
  }
  log->Line(line.c_str());
}

void PacketDump_RowBytes(GameLog* log, const char* label, const char* format, const uint8_t* values,
                         int32_t count) {
  uint32_t wide[kMaxCells];
  if (count > kMaxCells) count = kMaxCells;
  for (int32_t i = 0; i < count; ++i) wide[i] = values[i];
  PacketDump_Row(log, label, format, wide, count);
}

void PacketDump_RowCards(GameLog* log, const char* label, const char* format, const int8_t* values,
                         int32_t count) {
  uint32_t wide[kMaxCells];
  if (count > kMaxCells) count = kMaxCells;
  for (int32_t i = 0; i < count; ++i) wide[i] = static_cast<uint32_t>(static_cast<int32_t>(values[i]));
  PacketDump_Row(log, label, format, wide, count);
}
