// The bytes of the lobby's list packets: unpacking the compressed body, reading its headings and
// row count, and the column layout of each list kind.
//
// UI thread only (the unpack buffer is shared).
#pragma once

#include <cstdint>
#include <vector>

// The largest unpacked list body accepted.
constexpr uint32_t kLobbyListMaxBody = 1310720;

// Unpacks a GAMELIST or TOURNEYLIST payload: a zlib or gzip stream followed by the unpacked length
// as a little-endian u32. The body goes to `buffer` (grown when needed, never shrunk) and its length
// to `body_length`. 1 when refused: a payload shorter than the length field, a declared length
// above the limit, or a stream that does not unpack.
int LobbyList_Unpack(const uint8_t* payload, uint32_t length, std::vector<uint8_t>* buffer,
                     uint32_t* body_length);

// Reads the heading count, skips the headings and reads the row count of a list body after its
// 4-byte code. false when the body is too short for its counts.
bool LobbyList_ReadRowsStart(const uint8_t* rows, uint32_t length, uint32_t* rows_offset,
                             uint32_t* row_count);

constexpr int32_t kListKinds = 12;
constexpr int32_t kMaxShownColumns = 7;
constexpr int32_t kMaxListColumns = 14;

// The columns of a list kind.
struct ListLayout {
  int32_t columns;            // columns of a row, derived ones included
  int32_t shown;              // shown columns
  int32_t shown_column[kMaxShownColumns];
  int32_t shown_width[kMaxShownColumns];
  int32_t shown_heading[kMaxShownColumns];
  int32_t name_column;
  int32_t limit_column;       // -1 when none
  int32_t players_column;     // -1 when none
  int32_t real_money_column;  // -1 when none
  int32_t label_column;       // the hot-pick label; -1 when none
  int32_t default_position;
  int32_t default_direction;
  uint8_t types[kMaxListColumns];
  uint8_t numeric[kMaxListColumns];
};

// The layout of list kind 0-11 (0-7 the games, 8-11 the tournament lists).
const ListLayout& LobbyList_Layout(int32_t kind);
