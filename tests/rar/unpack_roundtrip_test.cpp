// Round trips through the unpackers: streams from the test-side encoders must unpack to exactly the
// bytes they stand for, with the same CRC.
//
// Scripted streams pin single symbols and state changes; their expected output is built here from
// the meaning of each token (a literal is itself, a match copies byte by byte from `distance` back),
// with the distances of repeat and old-distance tokens worked out by hand in the comments. Bulk
// streams pack sample files greedily and must come back unchanged.
#include <gtest/gtest.h>
#include <zlib.h>

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "rar/unpack.h"
#include "tests/rar/support/rar15_encoder.h"
#include "tests/rar/support/rar20_encoder.h"
#include "tests/rar/support/roundtrip_io.h"
#include "tests/rar/support/sample_data.h"

namespace {

using Bytes = std::vector<uint8_t>;

constexpr int kVersion15 = 15;
constexpr int kVersion20 = 20;

uint32_t Crc(const Bytes& bytes) {
  return static_cast<uint32_t>(crc32(0, bytes.data(), static_cast<uInt>(bytes.size())));
}

Bytes ToBytes(std::string_view text) { return Bytes(text.begin(), text.end()); }

Bytes Slice(const Bytes& bytes, size_t begin, size_t end) {
  return Bytes(bytes.begin() + static_cast<std::ptrdiff_t>(begin), bytes.begin() + static_cast<std::ptrdiff_t>(end));
}

// One file of a script: its tokens, where its output lies in the whole set's output, and notes
// naming the token that produced each stretch of it (for failure messages).
template <typename Token>
struct ScriptFile {
  std::vector<Token> tokens;
  bool solid = false;
  size_t begin = 0;
  size_t end = 0;
};

// Tokens and the output they stand for, file by file. `Script` is the class of one method's
// tokens, which adds a method of its own for each kind of token.
template <typename Token, typename Script>
class ScriptBase {
 public:
  std::vector<ScriptFile<Token>> files;
  Bytes output;
  std::vector<std::pair<size_t, std::string>> notes;

  Script& File(bool solid) {
    StartFile(solid);
    return Self();
  }
  Script& Literals(const Bytes& bytes) {
    Add(Token::Literals(bytes), "literals");
    Append(bytes);
    return Self();
  }
  Script& Text(std::string_view text) { return Literals(ToBytes(text)); }

 protected:
  Script& Self() { return static_cast<Script&>(*this); }
  void StartFile(bool solid) {
    files.push_back({});
    files.back().solid = solid;
    files.back().begin = files.back().end = output.size();
  }
  void Add(Token token, std::string note) {
    notes.push_back({output.size(), std::to_string(files.size() - 1) + ":" +
                                        std::to_string(files.back().tokens.size()) + " " + note});
    files.back().tokens.push_back(std::move(token));
  }
  void Append(const Bytes& bytes) {
    output.insert(output.end(), bytes.begin(), bytes.end());
    files.back().end = output.size();
  }
  // A token that copies `length` bytes from `distance` back; its note reads "<what> length@distance".
  void AddCopy(Token token, const std::string& what, int length, uint32_t distance) {
    Add(std::move(token), what + " " + std::to_string(length) + "@" + std::to_string(distance));
    Copy(length, distance);
  }
  void Copy(int length, uint32_t distance) {
    if (distance == 0 || distance > output.size()) {
      ADD_FAILURE() << "the script copies from before its first byte";
      return;
    }
    for (int i = 0; i < length; ++i) output.push_back(output[output.size() - distance]);
    files.back().end = output.size();
  }
};

class Script20 : public ScriptBase<Rar20Token, Script20> {
 public:
  Script20& Tables(Rar20Tables tables = {}) {
    Add(Rar20Token::Tables(std::move(tables)), "tables");
    return *this;
  }
  Script20& Match(int length, uint32_t distance) {
    AddCopy(Rar20Token::Match(length, distance), "match", length, distance);
    return *this;
  }
  // The length and distance that the repeat symbol must reproduce, worked out by hand.
  Script20& RepeatLast(int length, uint32_t distance) {
    AddCopy(Rar20Token::RepeatLast(), "repeat", length, distance);
    return *this;
  }
  // `distance` is the one old distance `index` must refer to, worked out by hand.
  Script20& Old(int index, int length, uint32_t distance) {
    AddCopy(Rar20Token::OldDistance(index, length), "old " + std::to_string(index), length, distance);
    return *this;
  }
  Script20& Short(uint32_t distance) {
    AddCopy(Rar20Token::ShortDistance(distance), "short", 2, distance);
    return *this;
  }
  Script20& Audio(const Bytes& bytes) {
    Add(Rar20Token::Multimedia(bytes), "multimedia");
    Append(bytes);
    return *this;
  }
  // A token that produces nothing in this file (padding, a symbol past the file's end).
  Script20& Silent(Rar20Token token) {
    Add(std::move(token), "silent");
    return *this;
  }
};

class Script15 : public ScriptBase<Rar15Token, Script15> {
 public:
  Script15& ShortMatch(int length, uint32_t distance) {
    AddCopy(Rar15Token::ShortMatch(length, distance), "short", length, distance);
    return *this;
  }
  Script15& ShortRepeat(int length, uint32_t distance) {
    AddCopy(Rar15Token::ShortRepeat(), "repeat", length, distance);
    return *this;
  }
  Script15& RepeatBit(int length, uint32_t distance) {
    AddCopy(Rar15Token::RepeatBit(), "repeat bit", length, distance);
    return *this;
  }
  Script15& ShortOld(int index, int length, uint32_t distance) {
    AddCopy(Rar15Token::ShortOld(index, length), "old " + std::to_string(index), length, distance);
    return *this;
  }
  Script15& ShortFar(int length, uint32_t distance) {
    AddCopy(Rar15Token::ShortFar(length, distance), "far", length, distance);
    return *this;
  }
  Script15& ToggleBuf60() {
    Add(Rar15Token::ToggleBuf60(), "toggle");
    return *this;
  }
  Script15& LongMatch(int length, uint32_t distance) {
    AddCopy(Rar15Token::LongMatch(length, distance), "long", length, distance);
    return *this;
  }
  Script15& StreamExit() {
    Add(Rar15Token::StreamExit(), "stream exit");
    return *this;
  }
  Script15& StreamMatch(int length, uint32_t distance) {
    AddCopy(Rar15Token::StreamMatch(length, distance), "stream", length, distance);
    return *this;
  }
};

// Compares an unpacked file with what it should be; on a difference names the first wrong byte
// and the token that should have produced it.
void ExpectSameOutput(const Bytes& got, const Bytes& expected, size_t offset_in_set,
                      const std::vector<std::pair<size_t, std::string>>& notes) {
  EXPECT_EQ(Crc(got), Crc(expected));
  if (got == expected) return;
  size_t first = 0;
  while (first < got.size() && first < expected.size() && got[first] == expected[first]) ++first;
  std::string token = "-";
  for (const auto& [at, note] : notes) {
    if (at <= offset_in_set + first) token = note;
  }
  std::string around;
  for (size_t i = first; i < first + 8 && i < got.size(); ++i) around += std::to_string(got[i]) + " ";
  around += "/ expected ";
  for (size_t i = first; i < first + 8 && i < expected.size(); ++i) around += std::to_string(expected[i]) + " ";
  ADD_FAILURE() << "got " << got.size() << " bytes, expected " << expected.size() << "; first difference at "
                << first << " (" << around << ") in the output of token " << token;
}

template <typename Encoder, typename Script>
void RunScript(const char* name, const Script& script, int version) {
  SCOPED_TRACE(name);
  Encoder encoder;
  RoundtripIO io;
  std::unique_ptr<Unpacker> unpacker = CreateUnpacker(&io);
  ASSERT_NE(unpacker, nullptr);
  for (size_t i = 0; i < script.files.size(); ++i) {
    SCOPED_TRACE("file " + std::to_string(i));
    const auto& file = script.files[i];
    Bytes packed = encoder.EncodeScript(file.tokens, file.solid);
    ASSERT_EQ(encoder.error(), "");
    io.SetPacked(std::move(packed));
    const Bytes expected = Slice(script.output, file.begin, file.end);
    EXPECT_EQ(unpacker->Unpack(version, static_cast<int64_t>(expected.size()), file.solid), UNPACK_OK);
    ExpectSameOutput(io.TakeUnpacked(), expected, file.begin, script.notes);
  }
}

// 251 is prime, so copies from most distances land on a different phase of the pattern and a
// wrong distance or length shows in the bytes.
Script20& FillWithPattern(Script20& script, size_t size) {
  Bytes pattern;
  for (int i = 0; i < 251; ++i) pattern.push_back(static_cast<uint8_t>(i * 7 + 3));
  script.Literals(pattern);
  while (script.output.size() + 258 <= size) script.Match(258, 251);
  if (script.output.size() + 3 <= size) script.Match(static_cast<int>(size - script.output.size()), 251);
  return script;
}

Rar20Tables AudioTables(int channels, bool keep_previous = true) {
  Rar20Tables tables;
  tables.multimedia = true;
  tables.channels = channels;
  tables.keep_previous = keep_previous;
  return tables;
}

Rar20Tables LzTables(bool keep_previous = true) {
  Rar20Tables tables;
  tables.keep_previous = keep_previous;
  return tables;
}

// Main table lengths 1, 2, ..., 14 for 'a' to 'n', and 15 for 'o' and the table code: a complete
// code whose longest codes use all 15 bits.
Rar20Tables FifteenBitTables() {
  Rar20Tables tables;
  tables.source = Rar20Tables::LENGTHS_GIVEN;
  tables.given.assign(kRar20LzTableSize, 0);
  for (int i = 0; i < 14; ++i) tables.given['a' + i] = static_cast<uint8_t>(i + 1);
  tables.given['o'] = 15;
  tables.given[269] = 15;
  return tables;
}

// A main table with a single symbol: a 1-bit code.
Rar20Tables SingleSymbolTables(uint8_t symbol) {
  Rar20Tables tables;
  tables.source = Rar20Tables::LENGTHS_GIVEN;
  tables.keep_previous = false;
  tables.given.assign(kRar20LzTableSize, 0);
  tables.given[symbol] = 1;
  return tables;
}

Rar20Tables AllSymbolTables(bool multimedia = false, int channels = 1) {
  Rar20Tables tables;
  tables.source = Rar20Tables::LENGTHS_ALL_SYMBOLS;
  tables.multimedia = multimedia;
  tables.channels = channels;
  return tables;
}

Bytes Range(const Bytes& bytes, size_t begin, size_t end) { return Slice(bytes, begin, end); }

TEST(Rar20Unpack, scripted_streams_unpack_to_their_tokens) {
  struct Case {
    const char* name;
    Script20 script;
  };
  std::vector<Case> cases;

  {
    Script20 s;
    s.File(false).Tables().Text("hello, world");
    cases.push_back({"literals", s});
  }
  {
    Script20 s;
    s.File(false).Tables().Text("x").Match(10, 1).Text("y");
    cases.push_back({"match_of_distance_one_repeats_a_byte", s});
  }
  {
    // Every length slot with every distance slot that 300 bytes of history allow.
    Script20 s;
    s.File(false).Tables().Literals(SampleText(300, 11));
    const int lengths[] = {3,  4,  5,  6,  7,  8,  9,  10, 11, 12,  13,  14,  15,  16,  18,  19,  22, 23,
                           27, 30, 31, 35, 42, 50, 58, 66, 67, 82, 98, 114, 130, 131, 162, 194, 226, 258};
    const uint32_t distances[] = {1,  2,  3,  4,  5,  6,  7,  8,   9,   12,  13,  16,  17, 24,
                                  25, 32, 33, 48, 49, 64, 65, 96, 97, 128, 129, 192, 193, 256, 257, 300};
    int n = 0;
    for (uint32_t distance : distances) {
      for (int k = 0; k < 3; ++k) s.Match(lengths[(n++ * 7) % 36], distance);
    }
    for (int length : lengths) s.Match(length, 299);
    cases.push_back({"every_length_and_near_distance_slot", s});
  }
  {
    // The ring of old distances, oldest to latest after each token.
    Script20 s;
    s.File(false).Tables().Text("abcdefghijklmnopqrstuvwxyz");
    s.Match(4, 26);         // 26
    s.Match(3, 10);         // 26 10
    s.RepeatLast(3, 10);    // 26 10 10
    s.Match(5, 20);         // 26 10 10 20
    s.Old(3, 4, 26);        // 10 10 20 26
    s.Old(2, 2, 10);        // 10 20 26 10
    s.Old(1, 3, 26);        // 20 26 10 26
    s.Old(3, 2, 20);        // 26 10 26 20
    s.Old(0, 6, 20);        // 10 26 20 20
    s.Short(4);             // 26 20 20 4
    s.RepeatLast(2, 4);     // 20 20 4 4
    s.Old(2, 5, 20);        // 20 4 4 20
    s.Text("!");
    cases.push_back({"repeat_and_old_distances", s});
  }
  {
    // Lowest and highest distance of each short slot.
    Script20 s;
    s.File(false).Tables().Literals(SampleText(300, 12));
    for (uint32_t distance : {1u, 4u, 5u, 8u, 9u, 16u, 17u, 32u, 33u, 64u, 65u, 128u, 129u, 192u, 193u, 256u}) {
      s.Short(distance);
    }
    s.Text(".");
    cases.push_back({"short_distances", s});
  }
  {
    // Lengths grow by one at distances of 0x2000 and again at 0x40000 (old distances also at
    // 0x101); each token here uses the shortest or longest length its distance allows.
    Script20 s;
    s.File(false).Tables();
    FillWithPattern(s, 0x40000 + 400);
    s.Match(3, 0x1FFF).Match(258, 0x1FFF).Match(4, 0x2000).Match(259, 0x2000);
    s.Match(4, 0x3FFFF).Match(259, 0x3FFFF).Match(5, 0x40000).Match(260, 0x40000).Match(77, 0x40123);
    s.Match(3, 0x100).Old(0, 2, 0x100).Old(0, 257, 0x100);
    s.Match(3, 0x101).Old(0, 3, 0x101).Old(0, 258, 0x101);
    s.Match(4, 0x2000).Old(0, 4, 0x2000);
    s.Match(5, 0x40000).Old(0, 5, 0x40000).Old(0, 260, 0x40000);
    s.Text("end");
    cases.push_back({"lengths_grow_with_distance", s});
  }
  {
    // Past 1 MB the window wraps: a match whose destination crosses the wrap, one whose source
    // does, and the farthest distances.
    Script20 s;
    s.File(false).Tables();
    FillWithPattern(s, kRar20WindowSize - 100);
    s.Match(258, 251);  // writes across the wrap
    s.Match(250, 0xFFFFF).Match(200, 0xFFFFF - 77).Match(60, 0x80000).Old(0, 100, 0x80000);
    s.Match(100, static_cast<uint32_t>(s.output.size() - (kRar20WindowSize - 16)));  // reads across it
    s.Match(258, kRar20WindowSize);  // the whole window back: each byte is read just before it is replaced
    s.Text("tail");
    cases.push_back({"window_wraps", s});
  }
  {
    Script20 s;
    s.File(false).Tables(LzTables(false)).Text("first block of text");
    s.Tables(LzTables(true)).Text("second block, lengths coded against the first");
    Rar20Tables plain;
    plain.repeat_codes = false;
    s.Tables(plain).Text("third block without run codes");
    s.Tables(FifteenBitTables()).Text("abcdefghijklmnoonmlkjihgfedcba");
    Bytes every_byte;
    for (int i = 0; i < 256; ++i) every_byte.push_back(static_cast<uint8_t>(255 - i));
    s.Tables(AllSymbolTables()).Literals(every_byte).Match(100, 256).Short(3).Old(1, 7, 256).RepeatLast(7, 256);
    s.Tables(SingleSymbolTables('z')).Text("zzzzzzz");
    cases.push_back({"table_changes", s});
  }
  for (int channels = 1; channels <= 4; ++channels) {
    // The first block's header bits are 1 then 0: multimedia, lengths from zero. The second keeps
    // the channel count, so the channel carries on where the first block stopped.
    const Bytes audio = SampleAudio(static_cast<size_t>(700 * channels + 1), channels, static_cast<uint32_t>(20 + channels));
    Script20 s;
    s.File(false).Tables(AudioTables(channels, false)).Audio(Range(audio, 0, 333));
    s.Tables(AudioTables(channels)).Audio(Range(audio, 333, audio.size()));
    static const char* const kNames[] = {"multimedia_1_channel", "multimedia_2_channels", "multimedia_3_channels",
                                         "multimedia_4_channels"};
    cases.push_back({kNames[channels - 1], s});
  }
  {
    Script20 s;
    s.File(false).Tables(AudioTables(2, false)).Audio(SampleSteeredAudio(2 * 1200, 2, 33));
    cases.push_back({"multimedia_coefficients_stop_at_their_limits", s});
  }
  {
    const Bytes three = SampleAudio(600, 3, 31);
    const Bytes two = SampleAudio(400, 2, 32);
    Script20 s;
    s.File(false).Tables(AudioTables(3, false)).Audio(Range(three, 0, 7));  // stops before channel 1
    s.Tables(LzTables()).Text("between").Match(4, 3);
    s.Tables(AudioTables(3)).Audio(Range(three, 7, 599));  // same count: carries on at channel 1
    s.Tables(AudioTables(2)).Audio(two);                   // new count: back to channel 0, not 2
    s.Tables(LzTables()).Text("end").Match(40, 500);
    cases.push_back({"mode_switches", s});
  }
  {
    // A solid file starts with the previous file's tables, old distances and window.
    Script20 s;
    s.File(false).Tables(AllSymbolTables()).Text("The quick brown fox jumps over the lazy dog. ").Match(9, 45);
    s.File(true).Text("Then ").Old(0, 12, 45).Match(20, 50).RepeatLast(20, 50);
    s.File(true).Tables(LzTables(true)).Text("new tables, old window: ").Match(30, 120);
    cases.push_back({"solid_files_carry_state", s});
  }
  {
    // The last data symbol of the first file is followed by tables: the unpacker reads them at
    // the end of that file, and the next file starts with them.
    Script20 s;
    s.File(false).Tables().Text("first file").Tables(AllSymbolTables());
    s.File(true).Text("second file, coded with tables read at the end of the first").Match(10, 60);
    cases.push_back({"tables_read_at_the_end_of_a_file", s});
  }
  {
    Script20 s;
    s.File(false).Tables(AudioTables(2, false)).Audio(SampleAudio(100, 2, 41)).Tables(AllSymbolTables(true, 2));
    s.File(true).Audio(SampleAudio(100, 2, 42));
    cases.push_back({"multimedia_tables_read_at_the_end_of_a_file", s});
  }
  {
    // With 5 or more bytes after the file's last symbol one more symbol is read; anything but the
    // table code is dropped.
    Script20 s;
    s.File(false).Tables(AllSymbolTables()).Text("kept").Silent(Rar20Token::Literals("x")).Silent(Rar20Token::Padding(6));
    s.File(true).Text("next").Match(4, 8);
    cases.push_back({"symbol_after_the_end_is_dropped", s});
  }
  {
    Script20 s;
    Rar20Tables tables = AllSymbolTables(true, 2);
    tables.keep_previous = false;
    s.File(false).Tables(tables).Audio(SampleAudio(150, 2, 51));
    s.File(true).Audio(SampleAudio(150, 2, 52));
    cases.push_back({"multimedia_state_carries_over", s});
  }
  {
    // Each file is non-solid on the same unpacker: the previous lengths, predictors, channel and
    // old distances must all start from zero again. The second file's lengths are sent as deltas,
    // which only decode if the old lengths were cleared.
    Script20 s;
    s.File(false).Tables(AudioTables(2, false)).Audio(SampleAudio(301, 2, 61));
    s.File(false).Tables(LzTables(true)).Text("a fresh start, a fresh start").Match(8, 14);
    s.File(false).Tables(AudioTables(2, true)).Audio(SampleAudio(300, 2, 61));
    cases.push_back({"non_solid_files_start_afresh", s});
  }

  for (const Case& c : cases) RunScript<Rar20Encoder>(c.name, c.script, kVersion20);
}

struct BulkFile {
  Bytes data;
  Rar20DataOptions options;
};

void RunBulk20(const char* name, const std::vector<BulkFile>& files, int read_limit = 0) {
  SCOPED_TRACE(name);
  Rar20Encoder encoder;
  RoundtripIO io;
  std::unique_ptr<Unpacker> unpacker = CreateUnpacker(&io);
  ASSERT_NE(unpacker, nullptr);
  for (size_t i = 0; i < files.size(); ++i) {
    SCOPED_TRACE("file " + std::to_string(i));
    const bool solid = i > 0;
    Bytes packed = encoder.EncodeData(files[i].data, solid, files[i].options);
    ASSERT_EQ(encoder.error(), "");
    io.SetPacked(std::move(packed), read_limit);
    EXPECT_EQ(unpacker->Unpack(kVersion20, static_cast<int64_t>(files[i].data.size()), solid), UNPACK_OK);
    ExpectSameOutput(io.TakeUnpacked(), files[i].data, 0, {});
  }
}

Rar20DataOptions Blocks(int block_symbols, int channels = 0) {
  Rar20DataOptions options;
  options.block_symbols = block_symbols;
  options.multimedia_channels = channels;
  return options;
}

TEST(Rar20Unpack, greedy_streams_round_trip) {
  RunBulk20("text", {{SampleText(300000, 1), Blocks(4096)}});
  RunBulk20("mixed_over_a_megabyte", {{SampleMixed(1400000, 2), Blocks(1 << 15)}});
  RunBulk20("noise", {{SampleNoise(40000, 3), Blocks(1 << 15)}});
  for (int channels = 1; channels <= 4; ++channels) {
    RunBulk20("multimedia", {{SampleAudio(static_cast<size_t>(30000 * channels), channels, 70u + static_cast<uint32_t>(channels)),
                              Blocks(3001, channels)}});
  }
  RunBulk20("short_reads", {{SampleText(60000, 4), Blocks(2048)}}, 3);
}

TEST(Rar20Unpack, solid_set_round_trips) {
  // Over 1 MB in all, so the window wraps between files; the fifth file repeats the first, far back.
  RunBulk20("solid_set", {{SampleText(250000, 5), Blocks(8192)},
                          {SampleRecords(300000, 6), Blocks(1 << 15)},
                          {SampleAudio(80000, 2, 7), Blocks(1 << 14, 2)},
                          {SampleMixed(500000, 8), Blocks(1 << 15)},
                          {SampleText(100000, 5), Blocks(1 << 15)},
                          {SampleAudio(40000, 4, 9), Blocks(1 << 14, 4)},
                          {SampleText(20000, 10), Blocks(1 << 15)}});
}

TEST(Rar15Unpack, scripted_streams_unpack_to_their_tokens) {
  struct Case {
    const char* name;
    Script15 script;
  };
  std::vector<Case> cases;

  {
    Script15 s;
    s.File(false).Text("abracadabra");
    cases.push_back({"literals", s});
  }
  {
    // Short matches of every length; a distance used again has moved up in its set.
    Script15 s;
    s.File(false).Text("abcdefghijklmnopqrst");
    for (int length = 2; length <= 10; ++length) s.ShortMatch(length, static_cast<uint32_t>(length * 2 + 1));
    s.ShortMatch(4, 7).ShortMatch(4, 7).ShortMatch(3, 7).ShortMatch(2, 1).ShortMatch(10, 1).ShortMatch(5, 60);
    cases.push_back({"short_matches", s});
  }
  {
    // Two short repeats in a row: each later short step starts with one bit, set to repeat again.
    Script15 s;
    s.File(false).Text("0123456789");
    s.ShortMatch(3, 10).ShortRepeat(3, 10).ShortRepeat(3, 10);
    s.RepeatBit(3, 10).RepeatBit(3, 10);
    s.ShortMatch(2, 1).Text("end");
    cases.push_back({"short_repeats_and_the_repeat_bit", s});
  }
  {
    // The ring of old distances, oldest to latest after each token. Short repeats and far matches
    // do not add to it.
    Script15 s;
    s.File(false).Text("abcdefghijklmnopqrst");
    s.LongMatch(266, 20);      // 20
    s.LongMatch(200, 150);     // 20 150
    s.ShortMatch(4, 26);       // 20 150 26
    s.ShortMatch(3, 10);       // 20 150 26 10
    s.LongMatch(20, 300);      // 150 26 10 300
    s.ShortRepeat(20, 300);    // 150 26 10 300
    s.LongMatch(15, 350);      // 26 10 300 350
    s.ShortOld(0, 5, 350);     // 10 300 350 350
    s.ShortOld(3, 4, 10);      // 300 350 350 10
    s.ShortOld(2, 6, 350);     // 350 350 10 350
    s.ShortOld(1, 3, 10);      // 350 10 350 10
    s.ShortOld(3, 3, 350);     // 10 350 10 350
    s.Text(".");
    cases.push_back({"old_distances", s});
  }
  {
    // 24 literals from the start of a file: the 24th takes the last bit of the third flag byte
    // with 23 literals counted before it, so the stream mode starts after it. 0xFF still sits at
    // the last place of the literal set, which the stream mode codes as 256.
    Script15 s;
    s.File(false).Text("Stream mode starts here.");
    s.Literals({0xFF}).Text("no flags").StreamMatch(3, 5).StreamMatch(4, 31).StreamMatch(4, 40);
    s.StreamExit().ShortMatch(2, 3).Text("flags again");
    cases.push_back({"stream_mode_entry_and_exit", s});
  }
  {
    // Index 14 (far matches) is only readable while Buf60 is 1; the toggle is index 10 with
    // length 0x101 and produces nothing. Both short tables are used with both Buf60 values.
    Script15 s;
    s.File(false);
    Bytes all_bytes;
    for (int i = 0; i < 256; ++i) all_bytes.push_back(static_cast<uint8_t>(i * 167 + 13));
    s.Literals(all_bytes).StreamExit();  // 256 literals in a row end in the stream mode
    while (s.output.size() < 0x10000 + 300) s.LongMatch(266, 256);
    s.ToggleBuf60().ShortFar(5, 0x8000).ShortFar(260, 0xFFFF).ShortMatch(3, 7);
    for (int i = 0; i < 6; ++i) s.ShortMatch(10, 1);  // lifts the short average into the second table
    // A far match leaves the old distances alone: the latest is still the short match's 2.
    s.ShortMatch(5, 2).ShortFar(100, 0x9ABC).ShortOld(0, 4, 2);
    s.ToggleBuf60().ShortMatch(5, 3).ShortMatch(3, 4).Text("!");
    cases.push_back({"buf60_and_far_matches", s});
  }
  {
    // Long matches of growing length move their length coding to the first and then the second
    // table and make the flags favour long matches; the distance limit for the extra length
    // follows the averages.
    Script15 s;
    s.File(false).Literals(SampleText(12000, 14)).StreamExit();
    for (int i = 0; i < 80; ++i) {
      const uint32_t reach = static_cast<uint32_t>(std::min<size_t>(s.output.size() - 1, 0x7FFF));
      const uint32_t distance = 257 + static_cast<uint32_t>(i * 7919) % (reach - 257);
      s.LongMatch(4 + (i * 5) % 250, distance);
    }
    s.Text("after long ones").LongMatch(11, 256).LongMatch(12, 1).LongMatch(9, 0x2500);
    cases.push_back({"long_matches", s});
  }
  {
    // Long matches of length code 0 at a distance of exactly the limit (0x2001, which still counts
    // as within it) raise the third length average by one each; past 0xB0 the limit moves to
    // 0x7F00, which changes the extra length of the matches after it. Literals at the front of
    // the literal set first bring the place average below 0x2A00, so that only the third length
    // average can move the limit.
    Script15 s;
    std::string ab;
    for (int i = 0; i < 150; ++i) ab += "ab";
    s.File(false).Text(ab).StreamExit().Text("cdefghijklmnopq");
    for (int i = 0; i < 125; ++i) s.LongMatch(266, 15);
    for (int i = 0; i < 200; ++i) s.LongMatch(4, 0x2001);
    s.LongMatch(10, 0x3000).LongMatch(10, 0x7F00).LongMatch(10, 0x7EFF).LongMatch(5, 0x2001).Text("end");
    cases.push_back({"third_length_average_moves_the_distance_limit", s});
  }
  {
    // Between files of a solid set the flags, the stream mode and the repeat count restart while
    // the literal count goes on: the first file ends with 12 literals after its last match, so
    // the second file's 8th literal (the last bit of its first flag byte) starts the stream mode.
    // Old distances carry over; stream-mode matches and repeats do not add to them, so after the
    // third file's first token they are 16 3 3 (oldest to latest).
    Script15 s;
    s.File(false).Text("sixteen literals").ShortMatch(3, 16).ShortRepeat(3, 16).ShortRepeat(3, 16);
    s.Text("0123456789AB");
    s.File(true).Text("abcdefgh").Text("ijk").StreamMatch(3, 10).StreamExit().ShortMatch(2, 3);
    s.File(true).ShortOld(0, 2, 3).ShortOld(2, 3, 16).Text("xyz").LongMatch(40, 50);
    cases.push_back({"solid_files_restart_flags_and_modes", s});
  }

  for (const Case& c : cases) RunScript<Rar15Encoder>(c.name, c.script, kVersion15);
}

void RunBulk15(const char* name, const std::vector<Bytes>& files, Rar15Coverage* coverage) {
  SCOPED_TRACE(name);
  Rar15Encoder encoder;
  RoundtripIO io;
  std::unique_ptr<Unpacker> unpacker = CreateUnpacker(&io);
  ASSERT_NE(unpacker, nullptr);
  for (size_t i = 0; i < files.size(); ++i) {
    SCOPED_TRACE("file " + std::to_string(i));
    const bool solid = i > 0;
    Bytes packed = encoder.EncodeData(files[i], solid);
    ASSERT_EQ(encoder.error(), "");
    io.SetPacked(std::move(packed));
    EXPECT_EQ(unpacker->Unpack(kVersion15, static_cast<int64_t>(files[i].size()), solid), UNPACK_OK);
    ExpectSameOutput(io.TakeUnpacked(), files[i], 0, {});
  }
  const Rar15Coverage& seen = encoder.coverage();
  for (auto member : {&Rar15Coverage::stream_mode_entered, &Rar15Coverage::stream_mode_left,
                      &Rar15Coverage::stream_match, &Rar15Coverage::repeat_bit, &Rar15Coverage::buf60_toggled,
                      &Rar15Coverage::far_match, &Rar15Coverage::second_short_table,
                      &Rar15Coverage::long_lengths_table1, &Rar15Coverage::long_lengths_table2,
                      &Rar15Coverage::flags_swapped, &Rar15Coverage::raised_max_distance,
                      &Rar15Coverage::literal_set_reset, &Rar15Coverage::distance_set_reset}) {
    coverage->*member = coverage->*member || seen.*member;
  }
}

TEST(Rar15Unpack, greedy_streams_round_trip) {
  Rar15Coverage coverage;
  RunBulk15("text", {SampleText(200000, 21)}, &coverage);
  RunBulk15("mixed", {SampleMixed(300000, 22)}, &coverage);
  // Over 1 MB in all, so the window wraps between files.
  RunBulk15("solid_set", {SampleText(300000, 23), SampleRecords(300000, 24), SampleMixed(500000, 25)}, &coverage);
  // The data must reach every adaptive path, or the round trips above prove less than they seem.
  EXPECT_TRUE(coverage.stream_mode_entered);
  EXPECT_TRUE(coverage.stream_mode_left);
  EXPECT_TRUE(coverage.stream_match);
  EXPECT_TRUE(coverage.repeat_bit);
  EXPECT_TRUE(coverage.buf60_toggled);
  EXPECT_TRUE(coverage.far_match);
  EXPECT_TRUE(coverage.second_short_table);
  EXPECT_TRUE(coverage.long_lengths_table1);
  EXPECT_TRUE(coverage.long_lengths_table2);
  EXPECT_TRUE(coverage.flags_swapped);
  EXPECT_TRUE(coverage.raised_max_distance);
  EXPECT_TRUE(coverage.literal_set_reset);
  EXPECT_TRUE(coverage.distance_set_reset);
}

}  // namespace
