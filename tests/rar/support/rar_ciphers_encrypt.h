// The encrypting side of the archive ciphers, for building encrypted test archives. Each call
// keys its cipher from the password afresh, as an archiver does for every file.
#pragma once

#include <cstdint>
#include <string>

// The 16-byte block cipher of unpack version 20. The data is padded with zeros to whole blocks.
std::string RarEncryptBlocks20(const std::string& password, const std::string& plain);

// The byte stream cipher of unpack version 15.
std::string RarEncryptStream15(const std::string& password, const std::string& plain);

// The older byte stream cipher of unpack version 13.
std::string RarEncryptStream13(const std::string& password, const std::string& plain);

// The cipher an archiver picks for `unpack_version`: 20 and above blocks, 15 the newer stream,
// anything else the older stream.
std::string RarEncryptForVersion(int unpack_version, const std::string& password, const std::string& plain);

// The block cipher's keys and substitution table right after keying with `password`.
struct RarBlockCipherState {
  uint32_t keys[4];
  uint8_t table[256];
};
RarBlockCipherState RarBlockCipherAfterKeying(const std::string& password);
