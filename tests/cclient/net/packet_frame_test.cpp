#include "cclient/net/packet_frame.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

TEST(PacketCrc32, known_values) {
  struct Case {
    const char* name;
    std::string bytes;
    uint32_t crc;
  } const cases[] = {
      {"no_bytes", "", 0x20585053u},
      {"abc", "abc", 0x7B948C8Bu},
      {"digits", "123456789", 0x2492011Bu},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(PacketCrc32(c.bytes.data(), static_cast<long>(c.bytes.size())), c.crc) << c.name;
  }
}

TEST(PacketCrc32, negative_count_returns_seed) {
  EXPECT_EQ(PacketCrc32("abc", -5), kPacketCrcSeed);
}

TEST(PacketCrc32, continues_over_pieces) {
  const std::string text = "The quick brown fox jumps over the lazy dog";
  const uint32_t whole = PacketCrc32(text.data(), static_cast<long>(text.size()));
  const uint32_t head = PacketCrc32(text.data(), 10);
  EXPECT_EQ(PacketCrc32Update(head, text.data() + 10, text.size() - 10), whole);
}

TEST(ByteSwap, reverses_bytes_and_is_its_own_inverse) {
  EXPECT_EQ(ByteSwap16(0x1234), 0x3412);
  EXPECT_EQ(ByteSwap32(0x12345678u), 0x78563412u);
  EXPECT_EQ(ByteSwap16(ByteSwap16(0xBEEF)), 0xBEEF);
  EXPECT_EQ(ByteSwap32(ByteSwap32(0xDEADBEEFu)), 0xDEADBEEFu);
}

TEST(Frame, built_frame_has_big_endian_header_and_verifies) {
  const uint8_t payload[] = {1, 2, 3};
  uint8_t frame[13];
  ASSERT_EQ(BuildFrame(0x0410, payload, 3, frame), 13u);
  const uint8_t header[] = {0, 0, 0, 13};
  EXPECT_EQ(0, std::memcmp(frame, header, 4));
  EXPECT_EQ(frame[8], 0x04);
  EXPECT_EQ(frame[9], 0x10);
  EXPECT_EQ(LoadBE32(frame + 4), PacketCrc32(frame + 8, 5));

  uint16_t type = 0;
  const uint8_t* body = nullptr;
  uint32_t body_len = 0;
  ASSERT_EQ(VerifyFrame(frame, 13, &type, &body, &body_len), FRAME_OK);
  EXPECT_EQ(type, 0x0410);
  EXPECT_EQ(body_len, 3u);
  EXPECT_EQ(0, std::memcmp(body, payload, 3));
}

TEST(Frame, empty_payload_crc_covers_type_only) {
  uint8_t frame[10];
  ASSERT_EQ(BuildFrame(1041, nullptr, 0, frame), 10u);
  const uint8_t type_bytes[] = {0x04, 0x11};
  EXPECT_EQ(LoadBE32(frame + 4), PacketCrc32(type_bytes, 2));
  uint16_t type;
  const uint8_t* body;
  uint32_t body_len = 99;
  EXPECT_EQ(VerifyFrame(frame, 10, &type, &body, &body_len), FRAME_OK);
  EXPECT_EQ(body_len, 0u);
}

TEST(Frame, rejects_short_and_corrupt_frames) {
  uint8_t frame[16];
  BuildFrame(7, "abcdef", 6, frame);
  uint16_t type;
  const uint8_t* body;
  uint32_t body_len;
  EXPECT_EQ(VerifyFrame(frame, 9, &type, &body, &body_len), FRAME_TOO_SHORT);
  for (int i : {4, 8, 9, 15}) {
    uint8_t bad[16];
    std::memcpy(bad, frame, 16);
    bad[i] ^= 0x01;
    EXPECT_EQ(VerifyFrame(bad, 16, &type, &body, &body_len), FRAME_BAD_CRC) << "byte " << i;
  }
}

}  // namespace
