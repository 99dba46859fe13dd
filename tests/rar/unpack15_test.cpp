// Packed streams of the 1.5 method composed bit by bit, with the output worked out by hand.
//
// Codes used below, from a fresh state (averages at their start values):
//   flag byte (code HF2, place p gives the byte 256 - p):
//     "00001" place 1: 0xFF   "110001011" place 128: 0x80   "10101011" place 96: 0xA0
//     "10001011" place 64: 0xC0   "111001011" place 192: 0x40   "110001010" place 127: 0x81
//     "110000111" place 124: 0x84   "0110111" place 44: 0xD4   "0101011" place 32: 0xE0
//     "1111111111" place 256: none
//     After place 1 is used, 0xFF moves to place 0: "00000".
//   literal (AvrPlc 0x3500-0x35FF, code HF1; place p holds byte p until used):
//     "11110100001" place 97 'a' (afterwards 'a' is at place 0: "00000")
//     "11110100010" place 98 'b'   "11110100011" place 99 'c'
//   flag bits: "1" literal, "01" long match, "00" short match (while Nlzb <= Nhfb).
//   short match index (code 1): "0" index 0 (length 2), "1000" index 10, "1100" index 9
//     (repeat the last match); with Buf60 set, "1011" index 14.
//   short distance place (HF2): "00000" place 0, "00001" place 1, "000100" place 2 (short
//     distance = entry + 1).
//   long match length: "1" 0, "001" 2; then place (HF0) "0000" 0, "0010" 2, "0101" 5, with high
//   distance bytes 0, 2, 5; then 7 more distance bits.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "rar/unpack.h"
#include "tests/rar/support/unpack_test_io.h"

using namespace std::string_literals;

namespace {

std::vector<uint8_t> Stream(const std::string& bits) {
  HandBitStream s;
  s.Bits(bits);
  return s.Bytes();
}

TEST(Unpack15, hand_made_streams_produce_hand_computed_bytes) {
  struct Case {
    const char* name;
    const char* bits;
    std::string expected;
  } const cases[] = {
      // Flags 0xA0: literal, long match. Length 0 + 3, + 8 for a distance up to 256.
      {"literal_then_long_match", "10101011 | 11110100001 | 1 0000 0000001", std::string(12, 'a')},
      // High byte 2 of the distance: (0x200 | 0x00) >> 1 = 256, still short enough for + 8.
      {"long_match_distance_256", "10101011 | 11110100001 | 1 0010 0000000",
       "a" + std::string(11, '\0')},
      // (0x200 | 0x02) >> 1 = 257: no bonus for a short distance; length 2 + 3.
      {"long_match_distance_257", "10101011 | 11110100001 | 001 0010 0000001",
       "a" + std::string(5, '\0')},
      // Flags 0x80: literal, short match of length 2 at distance entry 0 + 1.
      {"short_match", "110001011 | 11110100001 | 0 00000", "aaa"},
      // Flags 0xC0: two literals and three short matches. The first uses place 1 (distance 2)
      // and moves it up to place 0, so the second finds distance 2 at place 0; the third repeats.
      {"short_distance_moves_up", "10001011 | 11110100001 11110100010 | 0 00001 | 0 00000 | 1100",
       "abababab"},
      // Flags 0xE0 then 0x00 (moved to place 32, read for the third short match's second flag
      // bit): three literals, a short match at place 2 (distance 3), two repeats of it (index
      // 9); after two repeats a short match starts with one bit, here "1": repeat once more.
      // The trailing "0 00000" is not needed.
      {"repeat_after_two_repeats_takes_one_bit",
       "0101011 | 11110100001 11110100010 11110100011 | 0 000100 | 1100 | 0101011 | 1100 | 1 | 0 00000",
       "abcabcabcab"},
      // Flags 0xC0: two literals, then index 10 with length code 255 (0x101 after + 2): no
      // output, but index 1 now has a 4-bit code "1010": length 3 at place 1, distance 2.
      {"buf60_toggle_lengthens_index_1", "10001011 | 11110100001 11110100010 | 1000 111111111111 | 1010 00001",
       "ababa"},
      // Flags 0x84: literal, the toggle, then "1011" is index 14: length 0 + 5 at distance
      // 0x8000 | 0; then a literal.
      {"buf60_toggle_frees_index_14", "110000111 | 11110100001 | 1000 111111111111 | 1011 000 000000000000000 | 11110100010",
       "a" + std::string(5, '\0') + "b"},
      // Flags 0xD4: two literals, two long matches. The first takes long place 5 (high byte 5:
      // distance 640, three zeros) and moves it to the front, so place 5 then holds high byte
      // 0: distance 10 >> 1 = 5, length 0 + 3 + 8.
      {"long_places_move_to_front", "0110111 | 11110100001 11110100010 | 1 0101 0000000 | 1 0101 0000101",
       "ab\0\0\0ab\0\0\0ab\0\0\0a"s},
  };
  for (const Case& c : cases) {
    for (int piece : {0, 1}) {
      const UnpackedFile run =
          UnpackOneFile(15, Stream(c.bits), static_cast<int64_t>(c.expected.size()), piece);
      EXPECT_EQ(run.result, UNPACK_OK) << c.name << " piece " << piece;
      EXPECT_EQ(run.output, c.expected) << c.name << " piece " << piece;
    }
  }
}

// Flags 0x81: a literal, three short matches (each "0 00000": two more 'a'), a literal; then
// flags 0xFF twice. The last of those sixteen literals is the 17th since the last match and is
// taken with no flag bit left, so the literal run mode starts. There places are coded one higher,
// the code's 257th value stands for place 255, and place 0 escapes: "0 1" a match of length 4
// (distance HF2 x 32 + 5 bits), "1" the end of the run.
TEST(Unpack15, literal_run_mode_starts_after_sixteen_literals_and_ends_on_its_escape) {
  HandBitStream s;
  s.Bits("110001010");                  // flags 0x81 (place 127)
  s.Bits("11110100001");                // 'a'
  s.Repeat("0 00000", 3);               // short matches: 6 x 'a'
  s.Bits("00000");                      // 'a' from place 0
  s.Bits("00001");                      // flags 0xFF (place 1)
  s.Repeat("00000", 8);
  s.Bits("00001");                      // flags 0xFF (still place 1)
  s.Repeat("00000", 8);                 // the last one enters the run mode
  s.Bits("00001");                      // 'a' (place 0, coded as 1)
  s.Bits("111111111111");               // place 255: 0xFF
  s.Bits("00000 0 1 00000 00001");      // escape: match of 4 at distance 0 x 32 + 1
  s.Bits("00000 1");                    // escape: end of the run
  s.Bits("00000");                      // flags 0xFF (moved to place 0)
  s.Bits("11110100010");                // 'b'
  const std::string expected = std::string(25, 'a') + std::string(5, '\xFF') + "b";
  const UnpackedFile run = UnpackOneFile(13, s.Bytes(), static_cast<int64_t>(expected.size()));
  EXPECT_EQ(run.result, UNPACK_OK);
  EXPECT_EQ(run.output, expected);
}

// The second file starts with a new flag byte but keeps the symbol sets: 0xFF and 'a' are at
// place 0 now.
TEST(Unpack15, solid_file_keeps_the_symbol_sets_and_reads_a_new_flag_byte) {
  const UnpackedSolidPair run =
      UnpackSolidPair(15, Stream("00001 | 11110100001"), 1, Stream("00000 | 00000 | 11110100010"), 2);
  ASSERT_EQ(run.first_result, UNPACK_OK);
  EXPECT_EQ(run.second_result, UNPACK_OK);
  EXPECT_EQ(run.output, "aab");
}

// The fixed codes can name a 257th place; flag bytes and long distances have only 256.
TEST(Unpack15, code_naming_a_place_beyond_the_set_is_corrupt) {
  struct Case {
    const char* name;
    const char* bits;
  } const cases[] = {
      {"flag_byte", "1111111111 | 00000000000000000000"},
      // Flags 0x40: long match; length "1", then place 256 of HF0.
      {"long_distance", "111001011 | 1 | 111111111111 | 00000000000000000000"},
  };
  for (const Case& c : cases) {
    const UnpackedFile run = UnpackOneFile(15, Stream(c.bits), 20);
    EXPECT_EQ(run.result, UNPACK_CORRUPT) << c.name;
    EXPECT_EQ(run.output, "") << c.name;
  }
}

TEST(Unpack15, truncated_stream_ends_with_an_error_and_no_more_than_the_size) {
  const std::vector<uint8_t> whole = Stream("10001011 | 11110100001 11110100010 | 0 00001 | 0 00000 | 1100");
  ASSERT_EQ(UnpackOneFile(15, whole, 8).result, UNPACK_OK);
  for (size_t cut = 0; cut < whole.size(); ++cut) {
    const std::vector<uint8_t> part(whole.begin(), whole.begin() + static_cast<long>(cut));
    const UnpackedFile run = UnpackOneFile(15, part, 8);
    EXPECT_EQ(run.result, UNPACK_CORRUPT) << "cut at " << cut;
    EXPECT_LE(run.output.size(), 8u) << "cut at " << cut;
  }
}

TEST(Unpack15, meaningless_streams_end_with_an_error) {
  struct Case {
    const char* name;
    uint8_t fill;
  } const cases[] = {{"zeros", 0x00}, {"ones", 0xFF}, {"alternating", 0x55}, {"mixed", 0x9C}};
  for (const Case& c : cases) {
    const UnpackedFile run = UnpackOneFile(15, std::vector<uint8_t>(3000, c.fill), int64_t{1} << 40);
    EXPECT_EQ(run.result, UNPACK_CORRUPT) << c.name;
  }
}

}  // namespace
