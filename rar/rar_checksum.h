// The checksums of RAR archives: the standard CRC-32 of file data and block headers, the 16-bit
// header check derived from it, the rotating 16-bit sum of old-layout files, and the CRC-32 table
// the ciphers draw key material from.
#pragma once

#include <cstddef>
#include <cstdint>

// Standard CRC-32 (reflected polynomial 0xEDB88320, register started at 0xFFFFFFFF, result
// inverted): the value archives store for a file. Continue it by passing the previous result;
// RarCrc32(0, ...) starts a new one.
[[nodiscard]] uint32_t RarCrc32(uint32_t crc, const void* bytes, size_t count);

// The check word of a block header: the low 16 bits of RarCrc32 over `count` bytes.
[[nodiscard]] uint16_t RarHeaderCrc16(const void* bytes, size_t count);

// The old-layout file checksum, started at 0: for each byte, add it, then rotate the 16-bit value
// left by one.
[[nodiscard]] uint16_t RarOldChecksum(uint16_t sum, const void* bytes, size_t count);

// The 256-entry reflected CRC-32 table (entry i is the CRC register step for byte i).
[[nodiscard]] uint32_t RarCrcTableEntry(uint8_t index);
