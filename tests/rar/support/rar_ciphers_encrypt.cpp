#include "tests/rar/support/rar_ciphers_encrypt.h"

#include <array>
#include <cstring>

namespace {

// The reflected CRC-32 table, computed here from its polynomial.
const std::array<uint32_t, 256>& CrcTable() {
  static const std::array<uint32_t, 256> table = [] {
    std::array<uint32_t, 256> t{};
    for (uint32_t i = 0; i < 256; ++i) {
      uint32_t c = i;
      for (int bit = 0; bit < 8; ++bit) c = (c & 1) ? (c >> 1) ^ 0xEDB88320u : c >> 1;
      t[i] = c;
    }
    return t;
  }();
  return table;
}

uint32_t PasswordRegister(const std::string& password) {
  uint32_t reg = 0xFFFFFFFFu;
  for (unsigned char ch : password) reg = CrcTable()[(reg ^ ch) & 0xFF] ^ (reg >> 8);
  return reg;
}

const uint8_t kStartTable[256] = {
    0xd7, 0x13, 0x95, 0x23, 0x49, 0xc5, 0xc0, 0xcd, 0xf9, 0x1c, 0x10, 0x77, 0x30, 0xdd, 0x02, 0x2a, 0xe8, 0x01, 0xb1,
    0xe9, 0x0e, 0x58, 0xdb, 0x19, 0xdf, 0xc3, 0xf4, 0x5a, 0x57, 0xef, 0x99, 0x89, 0xff, 0xc7, 0x93, 0x46, 0x5c, 0x42,
    0xf6, 0x0d, 0xd8, 0x28, 0x3e, 0x1d, 0xd9, 0xe6, 0x56, 0x06, 0x47, 0x18, 0xab, 0xc4, 0x65, 0x71, 0xda, 0x7b, 0x5d,
    0x5b, 0xa3, 0xb2, 0xca, 0x43, 0x2c, 0xeb, 0x6b, 0xfa, 0x4b, 0xea, 0x31, 0xa7, 0x7d, 0xd3, 0x53, 0x72, 0x9d, 0x90,
    0x20, 0xc1, 0x8f, 0x24, 0x9e, 0x7c, 0xf7, 0xbb, 0x59, 0xd6, 0x8d, 0x2f, 0x79, 0xe4, 0x3d, 0x82, 0xd5, 0xc2, 0xae,
    0xfb, 0x61, 0x6e, 0x36, 0xe5, 0x73, 0x39, 0x98, 0x5e, 0x69, 0xf3, 0xd4, 0x37, 0xd1, 0xf5, 0x3f, 0x0b, 0xa4, 0xc8,
    0x1f, 0x9c, 0x51, 0xb0, 0xe3, 0x15, 0x4c, 0x63, 0x8b, 0xbc, 0x7f, 0x11, 0xf8, 0x33, 0xcf, 0x78, 0xbd, 0xd2, 0x08,
    0xe2, 0x29, 0x48, 0xb7, 0xcb, 0x87, 0xa5, 0xa6, 0x3c, 0x62, 0x07, 0x7a, 0x26, 0x9b, 0xaa, 0x45, 0xac, 0xfc, 0xee,
    0x27, 0x86, 0x3b, 0x80, 0xec, 0x1b, 0xf0, 0x50, 0x83, 0x03, 0x55, 0xce, 0x91, 0x4f, 0x9a, 0x8e, 0x9f, 0xdc, 0xc9,
    0x85, 0x4a, 0x40, 0x14, 0x81, 0xe0, 0xb9, 0x8a, 0x67, 0xad, 0xb6, 0x2b, 0x22, 0xfe, 0x52, 0xc6, 0x97, 0xe7, 0xb4,
    0x3a, 0x0a, 0x76, 0x1a, 0x66, 0x0c, 0x32, 0x84, 0x16, 0xbf, 0x88, 0x6f, 0xa2, 0xb3, 0x2d, 0x04, 0x94, 0x6c, 0xa1,
    0x38, 0x4e, 0x7e, 0xf2, 0xde, 0x0f, 0xaf, 0x92, 0x17, 0x21, 0xf1, 0xb5, 0xbe, 0x4d, 0xe1, 0x00, 0x2e, 0xa9, 0xba,
    0x44, 0x5f, 0xed, 0x41, 0x35, 0xd0, 0xfd, 0xa8, 0x09, 0x12, 0x64, 0x34, 0x74, 0xb8, 0xa0, 0x60, 0x6d, 0x25, 0x1e,
    0x6a, 0x8c, 0x68, 0x96, 0x05, 0xcc, 0x75, 0x70, 0x54,
};

// The two older stream ciphers share their keying.
struct StreamKeys {
  uint16_t k[4];
  uint8_t p1, p2, p3;
};

StreamKeys KeyStreams(const std::string& password) {
  StreamKeys s{};
  uint32_t reg = PasswordRegister(password);
  s.k[0] = reg & 0xFFFF;
  s.k[1] = reg >> 16;
  for (unsigned char ch : password) {
    s.p1 = uint8_t(s.p1 + ch);
    s.p2 = uint8_t(s.p2 ^ ch);
    uint8_t sum = uint8_t(s.p3 + ch);
    s.p3 = uint8_t((sum << 1) | (sum >> 7));
    s.k[2] = uint16_t(s.k[2] ^ ch ^ (CrcTable()[ch] & 0xFFFF));
    s.k[3] = uint16_t(s.k[3] + ch + (CrcTable()[ch] >> 16));
  }
  return s;
}

uint32_t Rol(uint32_t v, int n) { return (v << n) | (v >> (32 - n)); }

struct BlockCipher {
  uint32_t key[4];
  uint8_t table[256];

  uint32_t Sub(uint32_t w) const {
    uint8_t b[4];
    std::memcpy(b, &w, 4);
    for (uint8_t& x : b) x = table[x];
    uint32_t out;
    std::memcpy(&out, b, 4);
    return out;
  }

  void Encrypt(uint8_t* block) {
    uint32_t w[4];
    for (int i = 0; i < 4; ++i) {
      w[i] = uint32_t(block[4 * i]) | uint32_t(block[4 * i + 1]) << 8 | uint32_t(block[4 * i + 2]) << 16 |
             uint32_t(block[4 * i + 3]) << 24;
      w[i] ^= key[i];
    }
    for (int r = 0; r < 32; ++r) {
      uint32_t k = key[r & 3];
      uint32_t new_c = w[0] ^ Sub((w[2] + Rol(w[3], 11)) ^ k);
      uint32_t new_d = w[1] ^ Sub((w[3] ^ Rol(w[2], 17)) + k);
      w[0] = w[2];
      w[1] = w[3];
      w[2] = new_c;
      w[3] = new_d;
    }
    const uint32_t out[4] = {w[2] ^ key[0], w[3] ^ key[1], w[0] ^ key[2], w[1] ^ key[3]};
    for (int i = 0; i < 4; ++i) {
      for (int j = 0; j < 4; ++j) block[4 * i + j] = uint8_t(out[i] >> (8 * j));
    }
    for (int i = 0; i < 16; ++i) key[i % 4] ^= CrcTable()[block[i]];
  }
};

BlockCipher KeyBlocks(const std::string& password) {
  BlockCipher c{{0xD3A3B879u, 0x3F6D12F7u, 0x7515A235u, 0xA4E7F123u}, {}};
  std::memcpy(c.table, kStartTable, 256);
  uint8_t pw[256] = {};
  size_t n = password.size();
  std::memcpy(pw, password.data(), n);
  for (int j = 0; j < 256; ++j) {
    for (size_t i = 0; i < n; i += 2) {
      uint8_t n2 = uint8_t(CrcTable()[uint8_t(pw[i + 1] + j)]);
      uint8_t n1 = uint8_t(CrcTable()[uint8_t(pw[i] - j)]);
      for (int k = 1; n1 != n2; ++k, ++n1) std::swap(c.table[n1], c.table[uint8_t(n1 + i + k)]);
    }
  }
  for (size_t i = 0; i < n; i += 16) c.Encrypt(pw + i);
  return c;
}

}  // namespace

std::string RarEncryptBlocks20(const std::string& password, const std::string& plain) {
  BlockCipher cipher = KeyBlocks(password);
  std::string out = plain;
  out.resize((plain.size() + 15) / 16 * 16, '\0');
  for (size_t i = 0; i < out.size(); i += 16) cipher.Encrypt(reinterpret_cast<uint8_t*>(&out[i]));
  return out;
}

std::string RarEncryptStream15(const std::string& password, const std::string& plain) {
  StreamKeys s = KeyStreams(password);
  std::string out = plain;
  for (char& ch : out) {
    s.k[0] = uint16_t(s.k[0] + 0x1234);
    uint32_t x = CrcTable()[(s.k[0] >> 1) & 0xFF];
    s.k[1] = uint16_t(s.k[1] ^ x);
    s.k[2] = uint16_t(s.k[2] - (x >> 16));
    s.k[0] = uint16_t(s.k[0] ^ s.k[2]);
    uint16_t r = uint16_t((s.k[3] >> 1) | (s.k[3] << 15));
    r = uint16_t(r ^ s.k[1]);
    s.k[3] = uint16_t((r >> 1) | (r << 15));
    s.k[0] = uint16_t(s.k[0] ^ s.k[3]);
    ch = char(uint8_t(ch) ^ (s.k[0] >> 8));
  }
  return out;
}

std::string RarEncryptStream13(const std::string& password, const std::string& plain) {
  StreamKeys s = KeyStreams(password);
  std::string out = plain;
  for (char& ch : out) {
    s.p2 = uint8_t(s.p2 + s.p3);
    s.p1 = uint8_t(s.p1 + s.p2);
    ch = char(uint8_t(uint8_t(ch) + s.p1));
  }
  return out;
}

std::string RarEncryptForVersion(int unpack_version, const std::string& password, const std::string& plain) {
  if (unpack_version >= 20) return RarEncryptBlocks20(password, plain);
  if (unpack_version == 15) return RarEncryptStream15(password, plain);
  return RarEncryptStream13(password, plain);
}

RarBlockCipherState RarBlockCipherAfterKeying(const std::string& password) {
  BlockCipher c = KeyBlocks(password);
  RarBlockCipherState state{};
  std::memcpy(state.keys, c.key, sizeof state.keys);
  std::memcpy(state.table, c.table, sizeof state.table);
  return state;
}
