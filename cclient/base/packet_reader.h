// Field readers over a received payload.
//
// A parser keeps a cursor (read pointer, bytes left) in locals and passes both by address to each
// reader, which advances the pointer and lowers the count by what it consumed. Every reader returns
// 0 on success; a parser drops the packet on the first nonzero result. Readers never look at bytes
// beyond the count left, and a negative count fails every reader without reading.
#pragma once

#include <cstdint>

struct PacketCursor {
  const uint8_t* read;
  int32_t left;
};

// 4 bytes big-endian. 1 when fewer than 4 bytes are left (nothing consumed).
int PacketReadU32(uint32_t* out, const uint8_t** read, int32_t* left);
// The same reader under a second name; both give the same result.
int PacketReadU32Alt(uint32_t* out, const uint8_t** read, int32_t* left);
// 2 bytes big-endian. 1 when fewer than 2 bytes are left (nothing consumed).
int PacketReadU16(uint16_t* out, const uint8_t** read, int32_t* left);
int PacketReadI16(int16_t* out, const uint8_t** read, int32_t* left);
// 1 byte. 1 when no byte is left.
int PacketReadU8(uint8_t* out, const uint8_t** read, int32_t* left);
// Exactly `count` bytes as they stand; 0 bytes succeeds. 1 when fewer than `count` bytes are left
// or `count` is negative (nothing consumed).
int PacketReadBytes(void* out, int32_t count, const uint8_t** read, int32_t* left);
// A NUL-terminated text, NUL included, into a buffer of `limit` bytes (at most limit - 1
// characters). 2 when limit is 0 or less; 1 when nothing is left, when the payload ends before the
// NUL, or when the text does not fit. After a failure the cursor may stand inside the text.
int PacketReadString(char* out, int32_t limit, const uint8_t** read, int32_t* left);
