#include "cclient/base/packet_reader.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

struct Cursor {
  const uint8_t* read;
  int32_t left;
  Cursor(const uint8_t* bytes, int32_t n) : read(bytes), left(n) {}
};

TEST(PacketReaders, read_big_endian_fields_in_order) {
  const uint8_t bytes[] = {0x12, 0x34, 0x56, 0x78, 0xAB, 0xCD, 0xEF, 'h', 'i', 0, 9, 8};
  Cursor c(bytes, sizeof bytes);
  uint32_t u32;
  uint16_t u16;
  uint8_t u8;
  char text[8];
  uint8_t raw[2];
  ASSERT_EQ(PacketReadU32(&u32, &c.read, &c.left), 0);
  ASSERT_EQ(PacketReadU16(&u16, &c.read, &c.left), 0);
  ASSERT_EQ(PacketReadU8(&u8, &c.read, &c.left), 0);
  ASSERT_EQ(PacketReadString(text, sizeof text, &c.read, &c.left), 0);
  ASSERT_EQ(PacketReadBytes(raw, 2, &c.read, &c.left), 0);
  EXPECT_EQ(u32, 0x12345678u);
  EXPECT_EQ(u16, 0xABCD);
  EXPECT_EQ(u8, 0xEF);
  EXPECT_STREQ(text, "hi");
  EXPECT_EQ(raw[0], 9);
  EXPECT_EQ(raw[1], 8);
  EXPECT_EQ(c.left, 0);
  EXPECT_EQ(c.read, bytes + sizeof bytes);
}

TEST(PacketReaders, alternate_and_signed_readers_match) {
  const uint8_t bytes[] = {0xFF, 0xFE, 0x80, 0x00, 0x00, 0x01};
  Cursor a(bytes, 6), b(bytes, 6);
  uint32_t x, y;
  ASSERT_EQ(PacketReadU32(&x, &a.read, &a.left), 0);
  ASSERT_EQ(PacketReadU32Alt(&y, &b.read, &b.left), 0);
  EXPECT_EQ(x, y);
  int16_t s;
  Cursor c(bytes, 2);
  ASSERT_EQ(PacketReadI16(&s, &c.read, &c.left), 0);
  EXPECT_EQ(s, -2);
}

// Every fixed-size reader refuses when too few bytes are left, or when the count is negative, and
// consumes nothing then.
TEST(PacketReaders, short_or_negative_counts_fail_without_consuming) {
  const uint8_t bytes[4] = {1, 2, 3, 4};
  struct Case {
    const char* name;
    int32_t left;
    int (*read)(const uint8_t**, int32_t*);
  } const cases[] = {
      {"u32_3", 3, [](const uint8_t** r, int32_t* l) { uint32_t v; return PacketReadU32(&v, r, l); }},
      {"u32_neg", -1, [](const uint8_t** r, int32_t* l) { uint32_t v; return PacketReadU32(&v, r, l); }},
      {"u16_1", 1, [](const uint8_t** r, int32_t* l) { uint16_t v; return PacketReadU16(&v, r, l); }},
      {"u16_neg", -2, [](const uint8_t** r, int32_t* l) { uint16_t v; return PacketReadU16(&v, r, l); }},
      {"i16_0", 0, [](const uint8_t** r, int32_t* l) { int16_t v; return PacketReadI16(&v, r, l); }},
      {"u8_0", 0, [](const uint8_t** r, int32_t* l) { uint8_t v; return PacketReadU8(&v, r, l); }},
      {"u8_neg", -7, [](const uint8_t** r, int32_t* l) { uint8_t v; return PacketReadU8(&v, r, l); }},
      {"bytes_more", 3, [](const uint8_t** r, int32_t* l) { uint8_t v[4]; return PacketReadBytes(v, 4, r, l); }},
      {"bytes_neg_n", 3, [](const uint8_t** r, int32_t* l) { uint8_t v[4]; return PacketReadBytes(v, -1, r, l); }},
      {"bytes_neg_left", -1, [](const uint8_t** r, int32_t* l) { uint8_t v[4]; return PacketReadBytes(v, 1, r, l); }},
  };
  for (const Case& c : cases) {
    const uint8_t* read = bytes;
    int32_t left = c.left;
    EXPECT_EQ(c.read(&read, &left), 1) << c.name;
    EXPECT_EQ(read, bytes) << c.name;
    EXPECT_EQ(left, c.left) << c.name;
  }
}

TEST(PacketReaders, zero_bytes_succeeds_and_consumes_nothing) {
  const uint8_t bytes[1] = {5};
  Cursor c(bytes, 1);
  EXPECT_EQ(PacketReadBytes(nullptr, 0, &c.read, &c.left), 0);
  EXPECT_EQ(c.left, 1);
}

TEST(PacketReadString, limits_and_endings) {
  struct Case {
    const char* name;
    const char* bytes;
    int32_t len;
    int32_t limit;
    int result;
    const char* text;  // expected text on success
  } const cases[] = {
      {"lone_nul_limit_1", "\0", 1, 1, 0, ""},
      {"one_char_limit_1", "a\0", 2, 1, 1, nullptr},
      {"fits_exactly", "abc\0", 4, 4, 0, "abc"},
      {"one_too_long", "abcd\0", 5, 4, 1, nullptr},
      {"limit_0", "a\0", 2, 0, 2, nullptr},
      {"limit_negative", "a\0", 2, -3, 2, nullptr},
      {"nothing_left", "", 0, 8, 1, nullptr},
      {"no_nul_before_end", "abc", 3, 8, 1, nullptr},
  };
  for (const Case& c : cases) {
    const uint8_t* read = reinterpret_cast<const uint8_t*>(c.bytes);
    int32_t left = c.len;
    char out[16] = {};
    EXPECT_EQ(PacketReadString(out, c.limit, &read, &left), c.result) << c.name;
    if (c.result == 0) {
      EXPECT_STREQ(out, c.text) << c.name;
      EXPECT_EQ(left, c.len - static_cast<int32_t>(std::strlen(c.text)) - 1) << c.name;
    }
  }
}

}  // namespace
