#include "cclient/base/lobby_list_body.h"

#include <zlib.h>

#include "cclient/base/grid_list_model.h"

namespace {

uint32_t ReadU32(const uint8_t* at) {
  return (static_cast<uint32_t>(at[0]) << 24) | (static_cast<uint32_t>(at[1]) << 16) |
         (static_cast<uint32_t>(at[2]) << 8) | at[3];
}

constexpr uint8_t T = GRID_COLUMN_TEXT;
constexpr uint8_t B = GRID_COLUMN_U8;
constexpr uint8_t L = GRID_COLUMN_U32;

constexpr ListLayout kHoldemLayout = {
    14, 7,
    {4, 6, 5, 8, 9, 11, 12}, {107, 60, 45, 49, 34, 55, 39}, {9, 10, 12, 13, 14, 15, 16},
    4, 5, 8, 7, 5, 1, 1,
    {B, L, B, B, T, T, T, T, T, T, T, T, T, T},
    {0, 0, 0, 0, 0, 0, 1, 0, 1, 1, 1, 1, 1, 1}};
constexpr ListLayout kStudLayout = {
    13, 6,
    {4, 6, 5, 8, 9, 11}, {107, 60, 45, 49, 34, 55}, {9, 10, 12, 13, 14, 15},
    4, 5, 8, 7, 5, 1, 1,
    {B, L, B, B, T, T, T, T, T, T, T, T, T},
    {0, 0, 0, 0, 0, 0, 1, 0, 1, 1, 1, 1, 1}};
constexpr ListLayout kGutsLayout = {
    11, 5,
    {4, 5, 7, 8, 10}, {142, 69, 49, 34, 55}, {11, 17, 13, 14, 15},
    4, -1, 7, 6, 5, 1, 1,
    {B, L, B, B, T, T, T, T, T, T, T},
    {0, 0, 0, 0, 0, 1, 0, 1, 1, 1, 1}};
constexpr ListLayout kChineseLayout = {
    12, 6,
    {4, 5, 11, 7, 8, 10}, {107, 70, 60, 49, 34, 55}, {9, 19, 18, 13, 14, 20},
    4, -1, 7, 6, 5, 1, 1,
    {B, L, B, B, T, T, T, T, T, T, T, T},
    {0, 0, 0, 0, 0, 1, 0, 1, 1, 1, 1, 0}};
constexpr ListLayout kBig2Layout = {
    11, 5,
    {4, 5, 7, 8, 10}, {107, 70, 49, 34, 55}, {9, 19, 13, 14, 20},
    4, -1, 7, 6, 5, 1, 1,
    {B, L, B, B, T, T, T, T, T, T, T},
    {0, 0, 0, 0, 0, 1, 0, 1, 1, 1, 1}};
constexpr ListLayout kPanLayout = {
    11, 5,
    {4, 5, 7, 8, 10}, {107, 70, 49, 34, 55}, {9, 21, 13, 14, 20},
    4, -1, 7, 6, 5, 1, 1,
    {B, L, B, B, T, T, T, T, T, T, T},
    {0, 0, 0, 0, 0, 1, 0, 1, 1, 1, 1}};
constexpr ListLayout kBlackJackLayout = {
    11, 5,
    {4, 5, 6, 8, 9}, {107, 69, 69, 49, 34}, {9, 17, 22, 13, 14},
    4, -1, 8, 7, -1, 1, 1,
    {B, L, B, B, T, T, T, T, T, T, T},
    {0, 0, 0, 0, 0, 1, 1, 0, 1, 1, 1}};
constexpr ListLayout kTourneyLayout = {
    9, 7,
    {2, 3, 4, 5, 6, 7, 8}, {29, 94, 45, 67, 58, 43, 51}, {24, 25, 26, 27, 28, 29, 30},
    3, -1, -1, -1, -1, 1, -1,
    {B, L, T, T, T, T, T, T, T},
    {0, 0, 1, 0, 0, 1, 0, 0, 1}};

}  // namespace

int LobbyList_Unpack(const uint8_t* payload, uint32_t length, std::vector<uint8_t>* buffer,
                     uint32_t* body_length) {
  *body_length = 0;
  if (payload == nullptr || length < 4) return 1;
  const uint8_t* tail = payload + length - 4;
  const uint32_t declared = static_cast<uint32_t>(tail[0]) | (static_cast<uint32_t>(tail[1]) << 8) |
                            (static_cast<uint32_t>(tail[2]) << 16) |
                            (static_cast<uint32_t>(tail[3]) << 24);
  if (declared > kLobbyListMaxBody) return 1;
  if (buffer->size() < declared) {
    buffer->clear();
    buffer->shrink_to_fit();
    buffer->resize(declared);
  }
  z_stream stream{};
  // Window bits 15 + 32: a zlib or a gzip wrapper, found from the header.
  if (inflateInit2(&stream, 47) != Z_OK) return 1;
  stream.next_in = const_cast<Bytef*>(payload);
  stream.avail_in = length;
  stream.next_out = buffer->data();
  stream.avail_out = declared;
  const int result = inflate(&stream, Z_FINISH);
  const uint32_t produced = static_cast<uint32_t>(stream.total_out);
  inflateEnd(&stream);
  if (result != Z_STREAM_END) return 1;
  *body_length = produced;
  return 0;
}

bool LobbyList_ReadRowsStart(const uint8_t* rows, uint32_t length, uint32_t* rows_offset,
                             uint32_t* row_count) {
  *rows_offset = 0;
  *row_count = 0;
  if (length < 4) return false;
  const uint32_t headings = ReadU32(rows);
  uint32_t at = 4;
  for (uint32_t heading = 0; heading < headings; ++heading) {
    if (length - at < 5) return false;
    at += 4;
    while (at < length && rows[at] != 0) ++at;
    if (at >= length) return false;
    ++at;
  }
  if (length - at < 4) return false;
  *row_count = ReadU32(rows + at);
  *rows_offset = at + 4;
  return true;
}

const ListLayout& LobbyList_Layout(int32_t kind) {
  switch (kind) {
    case 1:
      return kHoldemLayout;
    case 2:
      return kStudLayout;
    case 3:
      return kGutsLayout;
    case 4:
      return kChineseLayout;
    case 5:
      return kBig2Layout;
    case 6:
      return kPanLayout;
    case 7:
      return kBlackJackLayout;
    case 8:
    case 9:
    case 10:
    case 11:
      return kTourneyLayout;
    default:
      return kHoldemLayout;
  }
}
