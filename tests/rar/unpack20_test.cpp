// Packed streams of the 2.0 method composed bit by bit, with the output worked out by hand.
#include <gtest/gtest.h>

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "rar/unpack.h"
#include "tests/rar/support/unpack_test_io.h"

using namespace std::string_literals;

namespace {

constexpr int kLzTableSize = 298 + 48 + 28;

// The block used by most cases below, with these codes:
//   main:     0000 'a'  0001 'b'  0010 'c'  0011 repeat last match
//             0100-0111 old distance 1-4 back  1000 short distance 1-4 (2 more bits)
//             1001 short distance 193-256 (6 more bits)  1010 new tables
//             1011 length 3  1100 length 10  1101 length 13-14 (1 more bit)
//             1110 length 31-34 (2 more bits)  1111 length 227-258 (5 more bits)
//   distance: 00 6145-8192 (11 more bits)  01 196609-262144 (16 more bits)
//             100 1  101 2  110 3  111 4
//   lengths at an old distance: 00 2  01 3  10 10-11 (1 more bit)  11 226-257 (5 more bits)
void PutLzBlock(HandBitStream& s) {
  s.Bits("00");  // no multimedia, previous lengths cleared
  std::map<int, int> lengths;
  for (int symbol : {97, 98, 99, 256, 257, 258, 259, 260, 261, 268, 269, 270, 277, 279, 285, 297}) {
    lengths[symbol] = 4;
  }
  for (int symbol : {25, 35}) lengths[298 + symbol] = 2;
  for (int symbol : {0, 1, 2, 3}) lengths[298 + symbol] = 3;
  for (int symbol : {0, 1, 8, 27}) lengths[298 + 48 + symbol] = 2;
  PutRar20Table(s, lengths, kLzTableSize);
}

std::string Bytes(std::initializer_list<int> values) {
  std::string text;
  for (int v : values) text += static_cast<char>(v);
  return text;
}

TEST(Unpack20, literal_then_match_of_distance_1_and_length_10_written_out_in_full) {
  HandBitStream s;
  s.Bits("0 0");  // no multimedia; previous lengths cleared
  // Bit-length code: symbols 1 and 18 have 1-bit codes, "0" and "1".
  s.Bits("0000 0001 0000 0000 0000 0000 0000 0000 0000 0000");
  s.Bits("0000 0000 0000 0000 0000 0000 0000 0000 0001");
  s.Bits("1 1010110");  // 18: 11 + 86 = 97 zero lengths, symbols 0-96
  s.Bits("0");          // 'a' (97) has length 1
  s.Bits("1 1111111");  // 138 zeros, 98-235
  s.Bits("1 0011110");  // 41 zeros, 236-276
  s.Bits("0");          // 277 (length index 7) has length 1
  s.Bits("1 0001001");  // 20 zeros, 278-297
  s.Bits("0");          // distance symbol 0 has length 1
  s.Bits("1 1000000");  // 75 zeros: the rest of the distances and all repeat lengths
  // Main codes: 'a' "0", 277 "1"; distance code: symbol 0 "0".
  s.Bits("0");    // 'a'
  s.Bits("1 0");  // length 7 + 3 = 10, distance 0 + 1 = 1
  const UnpackedFile run = UnpackOneFile(20, s.Bytes(), 11);
  EXPECT_EQ(run.result, UNPACK_OK);
  EXPECT_EQ(run.output, "aaaaaaaaaaa");
}

TEST(Unpack20, lz_codes_produce_hand_computed_bytes) {
  struct Case {
    const char* name;
    const char* codes;
    std::string expected;
  } const cases[] = {
      {"distance_1_length_10", "0000 | 1100 100", "aaaaaaaaaaa"},
      {"overlapping_distance_2", "0000 0001 | 1011 101", "ababa"},
      {"repeat_last_match", "0000 0001 | 1011 101 | 0011", "abababab"},
      // Old distances after matches at 2 then 4: two back is 2.
      {"second_newest_old_distance", "0000 0001 0010 | 1011 101 | 0000 | 1011 111 | 0101 00",
       "abcbcbabcbcb"},
      {"short_distance", "0000 0001 0010 | 1000 10", "abcab"},
      {"short_distance_193", "0000 | 1001 000000 | 0001", "a\0\0b"s},
      {"length_with_extra_bit", "0000 | 1101 1 100", std::string(15, 'a')},
      {"longest_length", "0000 | 1111 11111 100", std::string(259, 'a')},
      // A match gains a byte at distances from 8,192 and another from 262,144.
      {"distance_8191_copies_3", "0000 | 1011 00 11111111110 | 0001", "a\0\0\0b"s},
      {"distance_8192_copies_4", "0000 | 1011 00 11111111111 | 0001", "a\0\0\0\0b"s},
      {"distance_262143_copies_4", "0000 | 1011 01 1111111111111110 | 0001", "a\0\0\0\0b"s},
      {"distance_262144_copies_5", "0000 | 1011 01 1111111111111111 | 0001", "a\0\0\0\0\0b"s},
      // At an old distance: 2 + 1 (257 or more) + 1 (8,192 or more).
      {"old_distance_8192_copies_4", "0000 | 1011 00 11111111111 | 0100 00 | 0001",
       "a\0\0\0\0\0\0\0\0b"s},
  };
  for (const Case& c : cases) {
    HandBitStream s;
    PutLzBlock(s);
    s.Bits(c.codes);
    for (int piece : {0, 1}) {
      const UnpackedFile run = UnpackOneFile(20, s.Bytes(), static_cast<int64_t>(c.expected.size()), piece);
      EXPECT_EQ(run.result, UNPACK_OK) << c.name << " piece " << piece;
      EXPECT_EQ(run.output, c.expected) << c.name << " piece " << piece;
    }
  }
}

TEST(Unpack20, match_past_the_file_size_is_cut_at_the_size) {
  HandBitStream s;
  PutLzBlock(s);
  s.Bits("0000 | 1100 100");  // 'a', then ten more at distance 1
  const UnpackedFile run = UnpackOneFile(20, s.Bytes(), 5);
  EXPECT_EQ(run.result, UNPACK_OK);
  EXPECT_EQ(run.output, "aaaaa");
}

TEST(Unpack20, repeat_length_code_copies_the_previous_length_and_runs_stop_at_the_table_end) {
  HandBitStream s;
  s.Bits("00");
  s.Bits("0011 0011 0011 0011 0011").Repeat("0000", 11).Bits("0011 0011 0011");
  s.Bits("111 1010110");  // 97 zeros
  s.Bits("010");          // 'a': length 2
  s.Bits("101 00");       // the previous length three more times: 'b', 'c', 'd'
  s.Bits("111 1111111");  // 138 zeros, 101-238
  s.Bits("111 1111111");  // 138 zeros asked, 135 left: 239-373
  s.Bits("00 01 10 11");  // a b c d
  const UnpackedFile run = UnpackOneFile(20, s.Bytes(), 4);
  EXPECT_EQ(run.result, UNPACK_OK);
  EXPECT_EQ(run.output, "abcd");
}

TEST(Unpack20, repeat_length_code_at_the_first_position_is_corrupt) {
  HandBitStream s;
  s.Bits("00");
  s.Bits("0011 0011 0011 0011 0011").Repeat("0000", 11).Bits("0011 0011 0011");
  s.Bits("101 00").Repeat("000", 400);
  const UnpackedFile run = UnpackOneFile(20, s.Bytes(), 4);
  EXPECT_EQ(run.result, UNPACK_CORRUPT);
  EXPECT_EQ(run.output, "");
}

TEST(Unpack20, kept_lengths_are_changed_by_adding_modulo_16) {
  HandBitStream s;
  s.Bits("00");
  PutRar20Table(s, {{97, 1}, {269, 1}}, kLzTableSize);  // 'a' "0", new tables "1"
  s.Bits("0 1");
  s.Bits("01");           // no multimedia; previous lengths kept
  s.Bits("0011 0011 0011 0011 0011").Repeat("0000", 11).Bits("0011 0011 0011");
  s.Bits("111 1010110");  // 97 zeros
  s.Bits("001");          // 'a': 1 + 1 = 2
  s.Bits("010");          // 'b': 2 + 0 = 2
  s.Bits("111 1111111");  // 138 zeros, 99-236
  s.Bits("111 0010101");  // 32 zeros, 237-268
  s.Bits("000");          // 269: 0 + 1 = 1
  s.Bits("111 1011101");  // 104 zeros, 270-373
  s.Bits("10 11");        // new codes: 269 "0", 'a' "10", 'b' "11"
  const UnpackedFile run = UnpackOneFile(20, s.Bytes(), 3);
  EXPECT_EQ(run.result, UNPACK_OK);
  EXPECT_EQ(run.output, "aab");
}

// Deltas of 0xF8 (-8) from a cleared predictor add 8 to each byte. After 32 bytes the error
// sums favour raising K1 (|d + D1| is smallest, ahead of the tie with |d + ChannelDelta|), so
// byte 33 is predicted as (8 x 0 + 1 x 8) >> 3 = 1 and comes out as 9, and byte 34 as
// (8 x 9 + 1 x 9) >> 3 = 10 plus 8.
TEST(Unpack20, block_starting_with_bits_1_0_switches_to_multimedia_with_lengths_from_zero) {
  HandBitStream s;
  s.Bits("00");
  PutRar20Table(s, {{65, 1}, {269, 1}}, kLzTableSize);  // 'A' "0", new tables "1"
  s.Bits("0 1");
  s.Bits("10");  // multimedia; previous lengths cleared ('A' would otherwise keep length 1)
  s.Bits("00");  // one channel
  PutRar20Table(s, {{0xF8, 1}, {256, 1}}, 257);  // delta 0xF8 "0", new tables "1"
  s.Repeat("0", 34);

  std::string expected = "A";
  for (int n = 1; n <= 31; ++n) expected += static_cast<char>(8 * n);
  expected += Bytes({0, 9, 18});
  const UnpackedFile run = UnpackOneFile(20, s.Bytes(), static_cast<int64_t>(expected.size()));
  EXPECT_EQ(run.result, UNPACK_OK);
  EXPECT_EQ(run.output, expected);
}

// Channel 0 gets deltas of -8, channel 1 deltas of +1; each channel predicts from its own last
// byte, so the two sequences interleave.
TEST(Unpack20, multimedia_channels_interleave_with_their_own_predictors) {
  HandBitStream s;
  s.Bits("10");  // multimedia, lengths cleared
  s.Bits("01");  // two channels
  PutRar20Table(s, {{0xF8, 1}, {256, 1}, {257 + 1, 1}, {257 + 256, 1}}, 2 * 257);
  s.Repeat("0", 8);
  const UnpackedFile run = UnpackOneFile(20, s.Bytes(), 8);
  EXPECT_EQ(run.result, UNPACK_OK);
  EXPECT_EQ(run.output, Bytes({8, 255, 16, 254, 24, 253, 32, 252}));
}

// Four channels fill the whole 1,028-length table; its last code repeats a length past the end.
TEST(Unpack20, four_channel_table_ending_in_a_repeat_past_its_end) {
  HandBitStream s;
  s.Bits("10");  // multimedia, lengths cleared
  s.Bits("11");  // four channels
  // Channel c codes delta c + 1 as "0" (channel 3: "00", with 254-256 sharing length 2).
  PutRar20Table(s, {{1, 1}, {256, 1}, {259, 1}, {513, 1}, {517, 1}, {770, 1}, {775, 2}, {1025, 2}}, 1026);
  s.Bits("101 11");  // length 2 six times; two places are left
  s.Bits("0 0 0 00 | 0 0 0 00");
  const UnpackedFile run = UnpackOneFile(20, s.Bytes(), 8);
  EXPECT_EQ(run.result, UNPACK_OK);
  EXPECT_EQ(run.output, Bytes({255, 254, 253, 252, 254, 252, 250, 248}));
}

TEST(Unpack20, solid_file_continues_with_the_window_and_tables_of_the_previous_file) {
  HandBitStream first;
  PutLzBlock(first);
  first.Bits("0000 0001 0010");  // abc
  HandBitStream second;
  second.Bits("1011 110");  // length 3 at distance 3, back into the first file

  const UnpackedSolidPair run = UnpackSolidPair(20, first.Bytes(), 3, second.Bytes(), 3);
  ASSERT_EQ(run.first_result, UNPACK_OK);
  EXPECT_EQ(run.second_result, UNPACK_OK);
  EXPECT_EQ(run.output, "abcabc");
}

TEST(Unpack20, tables_after_the_last_code_are_read_for_the_next_solid_file) {
  HandBitStream first;
  first.Bits("00");
  PutRar20Table(first, {{97, 1}, {269, 1}}, kLzTableSize);  // 'a' "0", new tables "1"
  first.Bits("0 0");  // aa
  first.Bits("1 00");
  PutRar20Table(first, {{98, 1}, {99, 1}}, kLzTableSize);  // 'b' "0", 'c' "1"
  HandBitStream second;
  second.Bits("0 1 0");

  const UnpackedSolidPair run = UnpackSolidPair(20, first.Bytes(), 2, second.Bytes(), 3);
  ASSERT_EQ(run.first_result, UNPACK_OK);
  EXPECT_EQ(run.second_result, UNPACK_OK);
  EXPECT_EQ(run.output, "aabcb");
}

// "ab", a 258-byte match at distance 2, then the same match repeated: over 5 MB, so the window
// wraps several times and is handed out in pieces of nearly its whole size.
TEST(Unpack20, long_output_wraps_the_window_and_is_written_in_large_pieces) {
  HandBitStream s;
  PutLzBlock(s);
  s.Bits("0000 0001 | 1111 11111 101");
  const int repeats = 20000;
  s.Repeat("0011", repeats);
  const int64_t size = 2 + 258 * int64_t{repeats + 1};

  UnpackTestIO io;
  io.SetPacked(s.Bytes());
  auto unpacker = CreateUnpacker(&io);
  EXPECT_EQ(unpacker->Unpack(20, size, false), UNPACK_OK);
  ASSERT_EQ(static_cast<int64_t>(io.output().size()), size);
  size_t wrong = 0;
  for (size_t i = 0; i < io.output().size(); ++i) wrong += io.output()[i] != "ab"[i % 2];
  EXPECT_EQ(wrong, 0u);
  EXPECT_GE(io.largest_write(), 1'000'000);
}

// After a window's worth of output, a match of 11 at distance 8,192 is followed by a match at
// the longest distance, 1,048,576, which yields the bytes a whole window back: the 'b's of the
// start, not anything the first match wrote or left behind.
TEST(Unpack20, longest_distance_reads_the_bytes_a_window_back) {
  HandBitStream s;
  s.Bits("00");
  // Main: repeat last "0", 'a' "100", 'b' "101", length 10 "110", length 227-258 "111";
  // distance: 1 "0", 6145-8192 "10", 983041-1048576 "11".
  PutRar20Table(s, {{97, 3}, {98, 3}, {256, 1}, {277, 3}, {297, 3}, {298, 1}, {298 + 25, 2}, {298 + 47, 2}},
           kLzTableSize);
  s.Bits("101 | 111 11111 0");  // 'b', then 258 more at distance 1
  s.Bits("100 | 111 11111 0");  // 'a', then 258 more
  s.Repeat("0", 4063);          // 258 more 'a' each: 1,048,783 bytes so far
  s.Bits("110 10 11111111111");       // 10 + 1 at distance 8,192
  s.Bits("110 11 1111111111111111");  // 10 + 2 at distance 1,048,576: bytes 207-218, 'b's
  s.Repeat("100 | 111 11111 0", 2);
  const std::string expected = std::string(259, 'b') + std::string(259 + 258 * 4063 + 11, 'a') +
                               std::string(12, 'b') + std::string(518, 'a');

  UnpackTestIO io;
  io.SetPacked(s.Bytes());
  auto unpacker = CreateUnpacker(&io);
  EXPECT_EQ(unpacker->Unpack(20, static_cast<int64_t>(expected.size()), false), UNPACK_OK);
  ASSERT_EQ(io.output().size(), expected.size());
  EXPECT_EQ(io.Output().substr(1048700), expected.substr(1048700));
  EXPECT_TRUE(io.Output() == expected);
}

// A non-solid file starts from a cleared window, whatever the file before it left there (on the
// same unpacker, or on one that went away and left its window to the next): a match reaching back
// before the file's first byte reads zeros, after a short file as well as after one that filled
// the whole window.
TEST(Unpack20, non_solid_file_reads_zeros_before_its_first_byte) {
  // Main: repeat last "0", 'a' "100", 'b' "101", length 10 "110", length 227-258 "111";
  // distance: 1 "0", 6145-8192 "10", 983041-1048576 "11".
  const std::map<int, int> table = {{97, 3},  {98, 3},  {256, 1},       {277, 3},
                                    {297, 3}, {298, 1}, {298 + 25, 2}, {298 + 47, 2}};
  struct Case {
    const char* label;
    int repeats;
    bool new_unpacker;
  } const cases[] = {{"after_a_short_file", 0, false},
                     {"after_a_window_of_output", 4100, false},
                     {"after_a_short_file_of_another_unpacker", 0, true},
                     {"after_a_window_of_output_of_another_unpacker", 4100, true}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    HandBitStream first;
    first.Bits("00");
    PutRar20Table(first, table, kLzTableSize);
    first.Bits("101 | 111 11111 0");  // 'b', then 258 more at distance 1
    first.Repeat("0", c.repeats);     // 258 more 'b' each
    const int64_t first_size = 259 + 258 * int64_t{c.repeats};
    HandBitStream second;
    second.Bits("00");
    PutRar20Table(second, table, kLzTableSize);
    second.Bits("100");                          // 'a'
    second.Bits("110 11").Put(65530, 16);        // 10 + 2 at distance 1,048,571: bytes 6-17
    UnpackTestIO io;
    auto unpacker = CreateUnpacker(&io);
    io.SetPacked(first.Bytes());
    ASSERT_EQ(unpacker->Unpack(20, first_size, false), UNPACK_OK);
    ASSERT_EQ(io.Output(), std::string(static_cast<size_t>(first_size), 'b'));
    io.ClearOutput();
    if (c.new_unpacker) {
      unpacker.reset();
      unpacker = CreateUnpacker(&io);
    }
    io.SetPacked(second.Bytes());
    EXPECT_EQ(unpacker->Unpack(20, 13, false), UNPACK_OK);
    EXPECT_EQ(io.Output(), "a" + std::string(12, '\0'));
  }
}

TEST(Unpack20, truncated_stream_ends_with_an_error_and_no_more_than_the_size) {
  HandBitStream s;
  s.Bits("10 00");
  PutRar20Table(s, {{0xF8, 1}, {256, 1}}, 257);
  s.Repeat("0", 40);
  const std::vector<uint8_t> whole = s.Bytes();
  ASSERT_EQ(UnpackOneFile(20, whole, 40).result, UNPACK_OK);
  for (size_t cut = 0; cut < whole.size(); ++cut) {
    const std::vector<uint8_t> part(whole.begin(), whole.begin() + static_cast<long>(cut));
    const UnpackedFile run = UnpackOneFile(20, part, 40);
    EXPECT_EQ(run.result, UNPACK_CORRUPT) << "cut at " << cut;
    EXPECT_LE(run.output.size(), 40u) << "cut at " << cut;
  }
}

TEST(Unpack20, meaningless_streams_end_with_an_error) {
  struct Case {
    const char* name;
    uint8_t fill;
  } const cases[] = {{"zeros", 0x00}, {"ones", 0xFF}, {"alternating", 0x55}, {"mixed", 0x9C}};
  for (const Case& c : cases) {
    const std::vector<uint8_t> packed(3000, c.fill);
    const int64_t size = int64_t{1} << 40;
    const UnpackedFile run = UnpackOneFile(20, packed, size);
    EXPECT_EQ(run.result, UNPACK_CORRUPT) << c.name;
  }
}

TEST(Unpack20, failed_read_ends_with_an_error) {
  HandBitStream s;
  PutLzBlock(s);
  s.Bits("0000 | 1100 100");
  UnpackTestIO io;
  io.SetPacked(s.Bytes(), 1);
  io.FailReadsAfter(20);
  auto unpacker = CreateUnpacker(&io);
  EXPECT_EQ(unpacker->Unpack(20, 11, false), UNPACK_CORRUPT);
  EXPECT_EQ(io.Output(), "");
}

TEST(Unpack, versions_outside_13_to_20_are_refused) {
  for (int version : {0, 10, 12, 21, 29, 36}) {
    UnpackTestIO io;
    io.SetPacked({0x12, 0x34});
    auto unpacker = CreateUnpacker(&io);
    EXPECT_EQ(unpacker->Unpack(version, 2, false), UNPACK_BAD_VERSION) << version;
    EXPECT_EQ(io.Output(), "") << version;
  }
}

TEST(Unpack, empty_file_without_packed_data_is_complete) {
  for (int version : {15, 20}) {
    const UnpackedFile run = UnpackOneFile(version, {}, 0);
    EXPECT_EQ(run.result, UNPACK_OK) << version;
    EXPECT_EQ(run.output, "") << version;
  }
}

}  // namespace
