#include "rar/rar_crypt.h"

#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <string>

#include "tests/rar/support/rar_ciphers_encrypt.h"

namespace {

constexpr uint32_t kStartKeys[4] = {0xD3A3B879u, 0x3F6D12F7u, 0x7515A235u, 0xA4E7F123u};

std::string RandomBytes(size_t count, uint32_t seed) {
  std::mt19937 generator(seed);
  std::string bytes(count, '\0');
  for (char& ch : bytes) ch = static_cast<char>(generator() & 0xFF);
  return bytes;
}

std::string Decrypt(int version, const std::string& password, std::string bytes) {
  RarCryptClass crypt;
  crypt.SetKey(version, password.c_str());
  crypt.Decrypt(reinterpret_cast<uint8_t*>(bytes.data()), bytes.size());
  return bytes;
}

TEST(RarCrypt, empty_password_leaves_block_keys_and_table_as_they_start) {
  RarCryptClass crypt;
  crypt.SetKey(20, "");
  EXPECT_EQ(0, std::memcmp(crypt.BlockKeys(), kStartKeys, sizeof kStartKeys));
  RarBlockCipherState expected = RarBlockCipherAfterKeying("");
  EXPECT_EQ(0, std::memcmp(crypt.SubstitutionTable(), expected.table, sizeof expected.table));
  // The first row of the table as published.
  const uint8_t first_row[8] = {0xd7, 0x13, 0x95, 0x23, 0x49, 0xc5, 0xc0, 0xcd};
  EXPECT_EQ(0, std::memcmp(crypt.SubstitutionTable(), first_row, sizeof first_row));
}

TEST(RarCrypt, block_keying_matches_the_encrypting_side) {
  const std::string passwords[] = {"a", "VRZD", "odd length", std::string(77, 'q')};
  for (const std::string& password : passwords) {
    SCOPED_TRACE(password);
    RarCryptClass crypt;
    crypt.SetKey(20, password.c_str());
    RarBlockCipherState expected = RarBlockCipherAfterKeying(password);
    EXPECT_EQ(0, std::memcmp(crypt.BlockKeys(), expected.keys, sizeof expected.keys));
    EXPECT_EQ(0, std::memcmp(crypt.SubstitutionTable(), expected.table, sizeof expected.table));
  }
}

struct RoundTripCase {
  const char* label;
  int version;
  std::string password;
  size_t size;
};

void PrintTo(const RoundTripCase& c, std::ostream* out) { *out << c.label; }

class RarCryptRoundTrip : public ::testing::TestWithParam<RoundTripCase> {};

TEST_P(RarCryptRoundTrip, decrypts_what_the_archiver_encrypted) {
  const RoundTripCase& c = GetParam();
  const uint32_t seed = 0x5eed0000u + static_cast<uint32_t>(c.size);
  SCOPED_TRACE("seed " + std::to_string(seed));
  std::string plain = RandomBytes(c.size, seed);
  std::string cipher = RarEncryptForVersion(c.version, c.password, plain);
  ASSERT_NE(plain, cipher.substr(0, plain.size()));
  std::string decrypted = Decrypt(c.version, c.password, cipher);
  EXPECT_EQ(plain, decrypted.substr(0, plain.size()));
}

INSTANTIATE_TEST_SUITE_P(
    Ciphers, RarCryptRoundTrip,
    ::testing::Values(RoundTripCase{"blocks_short_password", 20, "pw", 64},
                      RoundTripCase{"blocks_launcher_password", 20, "VRZD", 4096},
                      RoundTripCase{"blocks_longest_password", 20, std::string(77, 'Z'), 48},
                      RoundTripCase{"blocks_version_above_20", 29, "x", 32},
                      RoundTripCase{"stream15", 15, "secret", 3000},
                      RoundTripCase{"stream13", 13, "secret", 3001},
                      RoundTripCase{"stream13_one_letter", 13, "x", 100}),
    [](const auto& info) { return std::string(info.param.label); });

TEST(RarCrypt, the_same_block_decrypts_differently_the_second_time) {
  std::string block = RarEncryptBlocks20("key", std::string(16, 'A'));
  std::string twice = block + block;
  std::string decrypted = Decrypt(20, "key", twice);
  EXPECT_EQ(std::string(16, 'A'), decrypted.substr(0, 16));
  EXPECT_NE(decrypted.substr(0, 16), decrypted.substr(16, 16));
}

TEST(RarCrypt, a_wrong_password_does_not_decrypt) {
  for (int version : {13, 15, 20}) {
    std::string plain(64, 'p');
    std::string cipher = RarEncryptForVersion(version, "right", plain);
    EXPECT_NE(plain, Decrypt(version, "wrong", cipher).substr(0, 64)) << version;
  }
}

}  // namespace
