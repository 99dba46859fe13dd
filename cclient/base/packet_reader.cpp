#include "cclient/base/packet_reader.h"

#include <cstring>

int PacketReadU32(uint32_t* out, const uint8_t** read, int32_t* left) {
  if (*left < 4) return 1;  // a negative count fails too
  const uint8_t* p = *read;
  *out = (uint32_t{p[0]} << 24) | (uint32_t{p[1]} << 16) | (uint32_t{p[2]} << 8) | p[3];
  *read += 4;
  *left -= 4;
  return 0;
}

int PacketReadU32Alt(uint32_t* out, const uint8_t** read, int32_t* left) {
  return PacketReadU32(out, read, left);
}

int PacketReadU16(uint16_t* out, const uint8_t** read, int32_t* left) {
  if (*left < 2) return 1;
  const uint8_t* p = *read;
  *out = static_cast<uint16_t>((p[0] << 8) | p[1]);
  *read += 2;
  *left -= 2;
  return 0;
}

int PacketReadI16(int16_t* out, const uint8_t** read, int32_t* left) {
  uint16_t value;
  if (PacketReadU16(&value, read, left) != 0) return 1;
  *out = static_cast<int16_t>(value);
  return 0;
}

int PacketReadU8(uint8_t* out, const uint8_t** read, int32_t* left) {
  if (*left < 1) return 1;
  *out = **read;
  *read += 1;
  *left -= 1;
  return 0;
}

int PacketReadBytes(void* out, int32_t count, const uint8_t** read, int32_t* left) {
  if (count < 0 || *left < count) return 1;
  if (count > 0) std::memcpy(out, *read, static_cast<size_t>(count));
  *read += count;
  *left -= count;
  return 0;
}

int PacketReadString(char* out, int32_t limit, const uint8_t** read, int32_t* left) {
  if (*left <= 0) return 1;
  if (limit <= 0) return 2;
  for (int32_t i = 0; i < limit; ++i) {
    if (*left <= 0) return 1;
    const char c = static_cast<char>(**read);
    out[i] = c;
    *read += 1;
    *left -= 1;
    if (c == '\0') return 0;
  }
  return 1;
}
