// Builds GAMELIST and TOURNEYLIST payloads from rows of cells, the way the game server packs
// them: code, headings, row count and rows, compressed with a zlib or gzip wrapper and followed
// by the unpacked length as a little-endian u32. For the demo room and the tests.
#pragma once

#include <zlib.h>

#include <cstdint>
#include <string>
#include <vector>

namespace lobby_list {

// A cell of a row: an integer of `size` bytes (1, 2 or 4, big-endian) or a text.
struct Cell {
  int size = 0;  // 0 for a text
  uint32_t value = 0;
  std::string text;
};
inline Cell U8(uint32_t value) { return Cell{1, value, {}}; }
inline Cell U32(uint32_t value) { return Cell{4, value, {}}; }
inline Cell Text(std::string text) { return Cell{0, 0, std::move(text)}; }

inline void PutU32(std::vector<uint8_t>* out, uint32_t value) {
  for (int shift = 24; shift >= 0; shift -= 8) out->push_back(static_cast<uint8_t>(value >> shift));
}

// The unpacked body: the 4-byte code, `headings` heading entries, the row count and the rows.
inline std::vector<uint8_t> Body(const std::vector<uint8_t>& code,
                                 const std::vector<std::vector<Cell>>& rows, int headings = 2) {
  std::vector<uint8_t> body(code);
  body.resize(4, 0);
  PutU32(&body, static_cast<uint32_t>(headings));
  for (int heading = 0; heading < headings; ++heading) {
    PutU32(&body, static_cast<uint32_t>(heading));
    const std::string name = "Heading " + std::to_string(heading);
    body.insert(body.end(), name.begin(), name.end());
    body.push_back(0);
  }
  PutU32(&body, static_cast<uint32_t>(rows.size()));
  for (const std::vector<Cell>& row : rows) {
    for (const Cell& cell : row) {
      if (cell.size == 0) {
        body.insert(body.end(), cell.text.begin(), cell.text.end());
        body.push_back(0);
      } else {
        for (int shift = (cell.size - 1) * 8; shift >= 0; shift -= 8) {
          body.push_back(static_cast<uint8_t>(cell.value >> shift));
        }
      }
    }
  }
  return body;
}

inline std::vector<uint8_t> GameCode(const char* code) {
  std::vector<uint8_t> bytes(4, 0);
  for (int i = 0; i < 4 && code[i] != '\0'; ++i) bytes[i] = static_cast<uint8_t>(code[i]);
  return bytes;
}
inline std::vector<uint8_t> Selector(uint32_t selector) {
  std::vector<uint8_t> bytes;
  PutU32(&bytes, selector);
  return bytes;
}

// Compresses `body` (gzip wrapper when `gzip`) and appends its length; `declared` overrides the
// length written.
inline std::vector<uint8_t> Pack(const std::vector<uint8_t>& body, bool gzip = false,
                                 int64_t declared = -1) {
  z_stream stream{};
  deflateInit2(&stream, Z_BEST_COMPRESSION, Z_DEFLATED, gzip ? 31 : 15, 8, Z_DEFAULT_STRATEGY);
  std::vector<uint8_t> out(deflateBound(&stream, body.size()) + 32);
  stream.next_in = const_cast<Bytef*>(body.data());
  stream.avail_in = static_cast<uInt>(body.size());
  stream.next_out = out.data();
  stream.avail_out = static_cast<uInt>(out.size());
  deflate(&stream, Z_FINISH);
  out.resize(stream.total_out);
  deflateEnd(&stream);
  const uint32_t length = declared >= 0 ? static_cast<uint32_t>(declared)
                                        : static_cast<uint32_t>(body.size());
  for (int shift = 0; shift < 32; shift += 8) out.push_back(static_cast<uint8_t>(length >> shift));
  return out;
}

// A ring-game row of the Hold'em and Omaha lists: server, table id, seats, name, limit text
// ("N/L $1/$2"), money ("Real" or "Play"), players, average pot, players per flop, hands per
// hour, waiting.
inline std::vector<Cell> HoldemRow(uint8_t server, uint32_t id, uint8_t seats, std::string name,
                                   std::string limit, bool real, int players, std::string pot,
                                   std::string flop, std::string hands, std::string waiting) {
  return {U8(server),     U32(id),         U8(seats),      U8(0),
          Text(name),     Text(limit),     Text(real ? "Real" : "Play"),
          Text(std::to_string(players)),   Text(pot),      Text("0"),
          Text(flop),     Text(hands),     Text(waiting)};
}

}  // namespace lobby_list
