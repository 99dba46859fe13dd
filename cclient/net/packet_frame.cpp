#include "cclient/net/packet_frame.h"

#include <zlib.h>

#include <cstring>

uint32_t PacketCrc32Update(uint32_t crc, const void* bytes, size_t count) {
  // zlib inverts the register on entry and on exit; inverting around the call leaves the plain
  // register update, which is what a seeded CRC without final inversion needs.
  const auto* p = static_cast<const Bytef*>(bytes);
  uLong reg = ~crc & 0xFFFFFFFFu;
  while (count > 0) {
    const uInt chunk = count > 0x40000000u ? 0x40000000u : static_cast<uInt>(count);
    reg = crc32(reg, p, chunk);
    p += chunk;
    count -= chunk;
  }
  return ~static_cast<uint32_t>(reg);
}

uint32_t PacketCrc32(const void* bytes, long count) {
  if (count < 1 || bytes == nullptr) return kPacketCrcSeed;
  return PacketCrc32Update(kPacketCrcSeed, bytes, static_cast<size_t>(count));
}

uint32_t BuildFrame(uint16_t type, const void* payload, uint32_t payload_len, uint8_t* out) {
  const uint32_t length = payload_len + kFrameHeaderSize;
  StoreBE32(out, length);
  StoreBE16(out + 8, type);
  if (payload_len > 0) std::memcpy(out + kFrameHeaderSize, payload, payload_len);
  StoreBE32(out + 4, PacketCrc32(out + 8, static_cast<long>(payload_len) + 2));
  return length;
}

FrameVerdict VerifyFrame(const uint8_t* frame, uint32_t length, uint16_t* type,
                         const uint8_t** payload, uint32_t* payload_len) {
  if (length < kFrameHeaderSize) return FRAME_TOO_SHORT;
  const uint32_t want = LoadBE32(frame + 4);
  if (PacketCrc32(frame + 8, static_cast<long>(length) - 8) != want) return FRAME_BAD_CRC;
  *type = LoadBE16(frame + 8);
  *payload = frame + kFrameHeaderSize;
  *payload_len = length - kFrameHeaderSize;
  return FRAME_OK;
}
