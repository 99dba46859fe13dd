// The frame every packet travels in, both ways, its checksum and the byte-order swaps.
//
//   offset 0  u32  total length (payload + 10)
//   offset 4  u32  PacketCrc32 over bytes 8..end (type and payload)
//   offset 8  u16  packet type
//   offset 10      payload
//
// Every multi-byte field is big-endian.
#pragma once

#include <cstddef>
#include <cstdint>

constexpr uint32_t kFrameHeaderSize = 10;
// Largest frame accepted from a server, header included.
constexpr uint32_t kMaxFrameSize = 0x10000;
// Largest payload the client sends (the size of an output ring slot).
constexpr uint32_t kMaxOutgoingPayload = 8192;
// Register value the packet checksum starts from; also the checksum of no bytes.
constexpr uint32_t kPacketCrcSeed = 0x20585053;

struct FrameHeader {
  uint32_t length;  // header plus payload
  uint32_t crc;
  uint16_t type;
};

// Reflected CRC-32 (polynomial 0xEDB88320) whose register starts at kPacketCrcSeed and is not
// inverted at the end. A count below 1 returns the seed. The launcher checks installed files with
// the same function, so its results must never change.
uint32_t PacketCrc32(const void* bytes, long count);

// Continues a checksum over more bytes: PacketCrc32Update(PacketCrc32(a), b) == PacketCrc32(a + b).
uint32_t PacketCrc32Update(uint32_t crc, const void* bytes, size_t count);

// Swap between host and network order. Each is its own inverse.
constexpr uint16_t ByteSwap16(uint16_t value) {
  return static_cast<uint16_t>((value >> 8) | (value << 8));
}
constexpr uint32_t ByteSwap32(uint32_t value) {
  return (value >> 24) | ((value >> 8) & 0x0000FF00u) | ((value << 8) & 0x00FF0000u) | (value << 24);
}

// Big-endian loads and stores on unaligned bytes.
inline uint32_t LoadBE32(const uint8_t* p) {
  return (uint32_t{p[0]} << 24) | (uint32_t{p[1]} << 16) | (uint32_t{p[2]} << 8) | p[3];
}
inline uint16_t LoadBE16(const uint8_t* p) { return static_cast<uint16_t>((p[0] << 8) | p[1]); }
inline void StoreBE32(uint8_t* p, uint32_t v) {
  p[0] = static_cast<uint8_t>(v >> 24);
  p[1] = static_cast<uint8_t>(v >> 16);
  p[2] = static_cast<uint8_t>(v >> 8);
  p[3] = static_cast<uint8_t>(v);
}
inline void StoreBE16(uint8_t* p, uint16_t v) {
  p[0] = static_cast<uint8_t>(v >> 8);
  p[1] = static_cast<uint8_t>(v);
}

// Writes the frame of (type, payload) into `out`, which must hold payload_len + 10 bytes.
// Returns the frame length.
uint32_t BuildFrame(uint16_t type, const void* payload, uint32_t payload_len, uint8_t* out);

// Verdict on a received frame of `length` bytes (the whole frame, header included).
enum FrameVerdict {
  FRAME_OK = 0,
  FRAME_TOO_SHORT = 1,  // fewer than 10 bytes: "Packet too short."
  FRAME_BAD_CRC = 2,    // "CRC Failure on packet verify"
};

// Checks a whole received frame. On FRAME_OK fills `type`, `payload` (points into `frame`) and
// `payload_len`. Never reads beyond `length` bytes.
FrameVerdict VerifyFrame(const uint8_t* frame, uint32_t length, uint16_t* type,
                         const uint8_t** payload, uint32_t* payload_len);
