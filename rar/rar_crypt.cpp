#include "rar/rar_crypt.h"

#include <cstring>

#include "rar/rar_checksum.h"

namespace {

constexpr int kRounds = 32;  // of the block cipher

constexpr uint32_t kInitialBlockKeys[4] = {0xD3A3B879u, 0x3F6D12F7u, 0x7515A235u, 0xA4E7F123u};

constexpr uint8_t kInitialSubstitution[256] = {
    0xd7, 0x13, 0x95, 0x23, 0x49, 0xc5, 0xc0, 0xcd, 0xf9, 0x1c, 0x10, 0x77, 0x30, 0xdd, 0x02, 0x2a,
    0xe8, 0x01, 0xb1, 0xe9, 0x0e, 0x58, 0xdb, 0x19, 0xdf, 0xc3, 0xf4, 0x5a, 0x57, 0xef, 0x99, 0x89,
    0xff, 0xc7, 0x93, 0x46, 0x5c, 0x42, 0xf6, 0x0d, 0xd8, 0x28, 0x3e, 0x1d, 0xd9, 0xe6, 0x56, 0x06,
    0x47, 0x18, 0xab, 0xc4, 0x65, 0x71, 0xda, 0x7b, 0x5d, 0x5b, 0xa3, 0xb2, 0xca, 0x43, 0x2c, 0xeb,
    0x6b, 0xfa, 0x4b, 0xea, 0x31, 0xa7, 0x7d, 0xd3, 0x53, 0x72, 0x9d, 0x90, 0x20, 0xc1, 0x8f, 0x24,
    0x9e, 0x7c, 0xf7, 0xbb, 0x59, 0xd6, 0x8d, 0x2f, 0x79, 0xe4, 0x3d, 0x82, 0xd5, 0xc2, 0xae, 0xfb,
    0x61, 0x6e, 0x36, 0xe5, 0x73, 0x39, 0x98, 0x5e, 0x69, 0xf3, 0xd4, 0x37, 0xd1, 0xf5, 0x3f, 0x0b,
    0xa4, 0xc8, 0x1f, 0x9c, 0x51, 0xb0, 0xe3, 0x15, 0x4c, 0x63, 0x8b, 0xbc, 0x7f, 0x11, 0xf8, 0x33,
    0xcf, 0x78, 0xbd, 0xd2, 0x08, 0xe2, 0x29, 0x48, 0xb7, 0xcb, 0x87, 0xa5, 0xa6, 0x3c, 0x62, 0x07,
    0x7a, 0x26, 0x9b, 0xaa, 0x45, 0xac, 0xfc, 0xee, 0x27, 0x86, 0x3b, 0x80, 0xec, 0x1b, 0xf0, 0x50,
    0x83, 0x03, 0x55, 0xce, 0x91, 0x4f, 0x9a, 0x8e, 0x9f, 0xdc, 0xc9, 0x85, 0x4a, 0x40, 0x14, 0x81,
    0xe0, 0xb9, 0x8a, 0x67, 0xad, 0xb6, 0x2b, 0x22, 0xfe, 0x52, 0xc6, 0x97, 0xe7, 0xb4, 0x3a, 0x0a,
    0x76, 0x1a, 0x66, 0x0c, 0x32, 0x84, 0x16, 0xbf, 0x88, 0x6f, 0xa2, 0xb3, 0x2d, 0x04, 0x94, 0x6c,
    0xa1, 0x38, 0x4e, 0x7e, 0xf2, 0xde, 0x0f, 0xaf, 0x92, 0x17, 0x21, 0xf1, 0xb5, 0xbe, 0x4d, 0xe1,
    0x00, 0x2e, 0xa9, 0xba, 0x44, 0x5f, 0xed, 0x41, 0x35, 0xd0, 0xfd, 0xa8, 0x09, 0x12, 0x64, 0x34,
    0x74, 0xb8, 0xa0, 0x60, 0x6d, 0x25, 0x1e, 0x6a, 0x8c, 0x68, 0x96, 0x05, 0xcc, 0x75, 0x70, 0x54,
};

uint32_t RotateLeft32(uint32_t value, int bits) { return (value << bits) | (value >> (32 - bits)); }

uint16_t RotateRight16(uint16_t value) { return static_cast<uint16_t>((value >> 1) | (value << 15)); }

uint32_t LoadLE32(const uint8_t* p) {
  return uint32_t{p[0]} | (uint32_t{p[1]} << 8) | (uint32_t{p[2]} << 16) | (uint32_t{p[3]} << 24);
}

void StoreLE32(uint8_t* p, uint32_t value) {
  p[0] = static_cast<uint8_t>(value);
  p[1] = static_cast<uint8_t>(value >> 8);
  p[2] = static_cast<uint8_t>(value >> 16);
  p[3] = static_cast<uint8_t>(value >> 24);
}

// Overwrites key material so that it cannot linger in freed memory; the volatile stores keep the
// compiler from dropping the writes to an object about to die.
void WipeBytes(void* bytes, size_t count) {
  volatile auto* p = static_cast<volatile uint8_t*>(bytes);
  for (size_t i = 0; i < count; ++i) p[i] = 0;
}

}  // namespace

RarCryptClass::~RarCryptClass() { Wipe(); }

void RarCryptClass::Wipe() {
  WipeBytes(key_, sizeof key_);
  WipeBytes(substitution_, sizeof substitution_);
  WipeBytes(old_key_, sizeof old_key_);
  WipeBytes(&pn1_, 1);
  WipeBytes(&pn2_, 1);
  WipeBytes(&pn3_, 1);
}

void RarCryptClass::SetKey(int unpack_version, const char* password) {
  Wipe();
  version_ = unpack_version;
  block_cipher_ = unpack_version >= 20;
  if (block_cipher_) {
    SetBlockKeys(password);
  } else {
    SetOldKeys(password);
  }
}

void RarCryptClass::SetOldKeys(const char* password) {
  size_t length = std::strlen(password);
  // The register of the password's CRC, not inverted at the end.
  uint32_t crc = ~RarCrc32(0, password, length);
  old_key_[0] = static_cast<uint16_t>(crc);
  old_key_[1] = static_cast<uint16_t>(crc >> 16);
  old_key_[2] = 0;
  old_key_[3] = 0;
  pn1_ = pn2_ = pn3_ = 0;
  for (size_t i = 0; i < length; ++i) {
    uint8_t ch = static_cast<uint8_t>(password[i]);
    uint32_t entry = RarCrcTableEntry(ch);
    pn1_ = static_cast<uint8_t>(pn1_ + ch);
    pn2_ = static_cast<uint8_t>(pn2_ ^ ch);
    pn3_ = static_cast<uint8_t>(pn3_ + ch);
    pn3_ = static_cast<uint8_t>((pn3_ << 1) | (pn3_ >> 7));
    old_key_[2] = static_cast<uint16_t>(old_key_[2] ^ ch ^ static_cast<uint16_t>(entry));
    old_key_[3] = static_cast<uint16_t>(old_key_[3] + ch + (entry >> 16));
  }
}

void RarCryptClass::SetBlockKeys(const char* password) {
  SetOldKeys(password);
  std::memcpy(key_, kInitialBlockKeys, sizeof key_);
  std::memcpy(substitution_, kInitialSubstitution, sizeof substitution_);

  // The password is kept to 77 characters upstream; the buffer has room for one odd byte past it.
  uint8_t buffer[256] = {};
  size_t length = std::strlen(password);
  if (length > sizeof buffer - 1) length = sizeof buffer - 1;
  std::memcpy(buffer, password, length);

  for (unsigned j = 0; j < 256; ++j) {
    for (size_t i = 0; i < length; i += 2) {
      unsigned n2 = RarCrcTableEntry(static_cast<uint8_t>(buffer[i + 1] + j)) & 0xFF;
      unsigned n1 = RarCrcTableEntry(static_cast<uint8_t>(buffer[i] - j)) & 0xFF;
      for (unsigned k = 1; n1 != n2; ++k) {
        uint8_t& a = substitution_[n1];
        uint8_t& b = substitution_[(n1 + i + k) & 0xFF];
        uint8_t held = a;
        a = b;
        b = held;
        n1 = (n1 + 1) & 0xFF;
      }
    }
  }
  for (size_t i = 0; i < length; i += kBlockSize) EncryptBlock(buffer + i);
  WipeBytes(buffer, sizeof buffer);
}

uint32_t RarCryptClass::Substitute(uint32_t word) const {
  return uint32_t{substitution_[word & 0xFF]} | (uint32_t{substitution_[(word >> 8) & 0xFF]} << 8) |
         (uint32_t{substitution_[(word >> 16) & 0xFF]} << 16) |
         (uint32_t{substitution_[(word >> 24) & 0xFF]} << 24);
}

void RarCryptClass::UpdateBlockKeys(const uint8_t* block) {
  for (size_t i = 0; i < kBlockSize; i += 4) {
    key_[0] ^= RarCrcTableEntry(block[i]);
    key_[1] ^= RarCrcTableEntry(block[i + 1]);
    key_[2] ^= RarCrcTableEntry(block[i + 2]);
    key_[3] ^= RarCrcTableEntry(block[i + 3]);
  }
}

void RarCryptClass::RunRounds(uint8_t* block, bool backwards) const {
  uint32_t a = LoadLE32(block) ^ key_[0];
  uint32_t b = LoadLE32(block + 4) ^ key_[1];
  uint32_t c = LoadLE32(block + 8) ^ key_[2];
  uint32_t d = LoadLE32(block + 12) ^ key_[3];
  for (int step = 0; step < kRounds; ++step) {
    const int round = backwards ? kRounds - 1 - step : step;
    uint32_t round_key = key_[round & 3];
    uint32_t ta = a ^ Substitute((c + RotateLeft32(d, 11)) ^ round_key);
    uint32_t tb = b ^ Substitute((d ^ RotateLeft32(c, 17)) + round_key);
    a = c;
    b = d;
    c = ta;
    d = tb;
  }
  StoreLE32(block, c ^ key_[0]);
  StoreLE32(block + 4, d ^ key_[1]);
  StoreLE32(block + 8, a ^ key_[2]);
  StoreLE32(block + 12, b ^ key_[3]);
}

// Either way, the keys move with the ciphertext block.
void RarCryptClass::DecryptBlock(uint8_t* block) {
  uint8_t ciphertext[kBlockSize];
  std::memcpy(ciphertext, block, kBlockSize);
  RunRounds(block, true);
  UpdateBlockKeys(ciphertext);
}

void RarCryptClass::EncryptBlock(uint8_t* block) {
  RunRounds(block, false);
  UpdateBlockKeys(block);
}

void RarCryptClass::DecryptStream15(uint8_t* bytes, size_t count) {
  for (size_t i = 0; i < count; ++i) {
    old_key_[0] = static_cast<uint16_t>(old_key_[0] + 0x1234);
    uint32_t x = RarCrcTableEntry(static_cast<uint8_t>((old_key_[0] & 0x1FE) >> 1));
    old_key_[1] = static_cast<uint16_t>(old_key_[1] ^ static_cast<uint16_t>(x));
    old_key_[2] = static_cast<uint16_t>(old_key_[2] - (x >> 16));
    old_key_[0] = static_cast<uint16_t>(old_key_[0] ^ old_key_[2]);
    old_key_[3] = static_cast<uint16_t>(RotateRight16(old_key_[3]) ^ old_key_[1]);
    old_key_[3] = RotateRight16(old_key_[3]);
    old_key_[0] = static_cast<uint16_t>(old_key_[0] ^ old_key_[3]);
    bytes[i] = static_cast<uint8_t>(bytes[i] ^ (old_key_[0] >> 8));
  }
}

void RarCryptClass::DecryptStream13(uint8_t* bytes, size_t count) {
  for (size_t i = 0; i < count; ++i) {
    pn2_ = static_cast<uint8_t>(pn2_ + pn3_);
    pn1_ = static_cast<uint8_t>(pn1_ + pn2_);
    bytes[i] = static_cast<uint8_t>(bytes[i] - pn1_);
  }
}

void RarCryptClass::Decrypt(uint8_t* bytes, size_t count) {
  if (block_cipher_) {
    for (size_t i = 0; i + kBlockSize <= count; i += kBlockSize) DecryptBlock(bytes + i);
  } else if (version_ == 15) {
    DecryptStream15(bytes, count);
  } else {
    DecryptStream13(bytes, count);
  }
}
