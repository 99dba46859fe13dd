// The rows a game writes to its module log when it dumps a packet record: a label followed by one
// cell per value, each cell formatted by the game's own format for one int ("%4d", "%7d").
//
// UI thread only.
#pragma once

#include <cstdint>

class GameLog;

void PacketDump_Row(GameLog* log, const char* label, const char* format, const uint32_t* values, int32_t count);
void PacketDump_RowBytes(GameLog* log, const char* label, const char* format, const uint8_t* values,
                         int32_t count);
// Card bytes are signed (-1 no card).
void PacketDump_RowCards(GameLog* log, const char* label, const char* format, const int8_t* values,
                         int32_t count);
