#include "rar/rar_checksum.h"

#include <zlib.h>

#include <climits>

uint32_t RarCrc32(uint32_t crc, const void* bytes, size_t count) {
  const auto* data = static_cast<const Bytef*>(bytes);
  uLong value = crc;
  // zlib takes its length as uInt; feed very large runs in pieces.
  while (count > 0) {
    uInt piece = count > UINT_MAX ? UINT_MAX : static_cast<uInt>(count);
    value = crc32(value, data, piece);
    data += piece;
    count -= piece;
  }
  return static_cast<uint32_t>(value);
}

uint16_t RarHeaderCrc16(const void* bytes, size_t count) {
  return static_cast<uint16_t>(RarCrc32(0, bytes, count) & 0xFFFF);
}

uint16_t RarOldChecksum(uint16_t sum, const void* bytes, size_t count) {
  const auto* data = static_cast<const uint8_t*>(bytes);
  for (size_t i = 0; i < count; ++i) {
    sum = static_cast<uint16_t>(sum + data[i]);
    sum = static_cast<uint16_t>((sum << 1) | (sum >> 15));
  }
  return sum;
}

uint32_t RarCrcTableEntry(uint8_t index) { return static_cast<uint32_t>(get_crc_table()[index]); }
