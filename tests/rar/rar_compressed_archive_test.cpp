// Compressed files through the whole extractor: archives made by the test-side builder from
// streams of the test-side encoders, extracted with the same calls the launcher makes.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "tests/rar/support/archive_builder.h"
#include "tests/rar/support/rar15_encoder.h"
#include "tests/rar/support/rar20_encoder.h"
#include "tests/rar/support/rar_ciphers_encrypt.h"
#include "tests/rar/support/rar_test_run.h"
#include "tests/rar/support/sample_data.h"
#include "tests/support/temp_program_folder.h"

namespace {

using Tree = std::map<std::string, std::string>;

constexpr uint16_t kMainSolid = 0x08;
constexpr uint16_t kFileEncrypted = 0x04;
constexpr uint16_t kFileSolid = 0x10;

std::string AsString(const std::vector<uint8_t>& bytes) { return std::string(bytes.begin(), bytes.end()); }

struct PlainFile {
  std::string name;
  std::string data;
};

// A compressed entry of `version` whose packed bytes are `packed` (encrypted first when a
// password is given).
RarEntry CompressedEntry(const PlainFile& file, const std::vector<uint8_t>& packed, int version, uint16_t flags,
                         const std::string& password = "") {
  RarEntry entry;
  entry.name = file.name;
  entry.packed = password.empty() ? AsString(packed) : RarEncryptForVersion(version, password, AsString(packed));
  entry.unpacked_size = static_cast<uint32_t>(file.data.size());
  entry.crc = RarDataCrc(file.data);
  entry.unpack_version = version;
  entry.method = '3';
  entry.flags = static_cast<uint16_t>(flags | (password.empty() ? 0 : kFileEncrypted));
  return entry;
}

std::vector<PlainFile> SampleFiles(uint32_t seed) {
  return {
      {"readme.txt", AsString(SampleText(70000, seed))},
      {"table.bin", AsString(SampleRecords(150000, seed + 1))},
      {"mixed.dat", AsString(SampleMixed(1200000, seed + 2))},  // over 1 MB: the window wraps
  };
}

Tree ExpectedTree(const std::vector<PlainFile>& files) {
  Tree tree{{"out/", ""}};
  for (const PlainFile& f : files) tree["out/" + f.name] = f.data;
  return tree;
}

class RarCompressedArchiveTest : public ProgramFolderTest {
 protected:
  RarTestRun run_{folder_.Path()};
};

TEST_F(RarCompressedArchiveTest, files_of_both_methods_extract_plain_and_encrypted) {
  const auto files = SampleFiles(7);
  struct Case {
    const char* name;
    int version;
    std::string password;
  } const cases[] = {
      {"method_20", 20, ""},
      {"method_15", 15, ""},
      {"method_20_encrypted", 20, "VRZD"},
      {"method_15_encrypted", 15, "VRZD"},
      {"method_13_cipher_on_15_stream", 13, "secret"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    RarArchiveBuilder builder;
    for (const PlainFile& f : files) {
      const std::vector<uint8_t> data(f.data.begin(), f.data.end());
      std::vector<uint8_t> packed;
      if (c.version >= 20) {
        Rar20Encoder encoder;
        packed = encoder.EncodeData(data, false);
      } else {
        Rar15Encoder encoder;
        packed = encoder.EncodeData(data, false);
      }
      ASSERT_FALSE(packed.empty());
      builder.AddFile(CompressedEntry(f, packed, c.version, 0, c.password));
    }
    const std::string archive = run_.WriteArchive("c.rar", builder);
    std::filesystem::remove_all(run_.OutputFolder());
    std::vector<std::string> switches = {"y", "o+", "c-"};
    if (!c.password.empty()) switches.push_back("p" + c.password);
    EXPECT_EQ(nullptr, run_.Run("X", archive, switches)) << run_.Messages();
    EXPECT_EQ(ExpectedTree(files), run_.Tree()) << run_.Messages();
    EXPECT_EQ(nullptr, run_.Run("T", archive, switches));
    EXPECT_EQ(std::string::npos, run_.Messages().find("CRC failed")) << run_.Messages();
  }
}

TEST_F(RarCompressedArchiveTest, solid_set_carries_state_from_file_to_file) {
  // Each later file repeats much of the first, so its stream refers back into earlier files.
  const std::string common = AsString(SampleText(40000, 3));
  const std::vector<PlainFile> files = {
      {"one.txt", common},
      {"two.txt", common.substr(1000, 20000) + AsString(SampleRecords(30000, 4))},
      {"three.txt", common.substr(5000) + common.substr(0, 5000)},
  };
  for (int version : {20, 15}) {
    SCOPED_TRACE(version);
    Rar20Encoder encoder20;
    Rar15Encoder encoder15;
    RarArchiveBuilder builder;
    builder.SetMainFlags(kMainSolid);
    for (size_t i = 0; i < files.size(); ++i) {
      const std::vector<uint8_t> data(files[i].data.begin(), files[i].data.end());
      const bool solid = i > 0;
      const auto packed = version == 20 ? encoder20.EncodeData(data, solid) : encoder15.EncodeData(data, solid);
      ASSERT_FALSE(packed.empty());
      builder.AddFile(CompressedEntry(files[i], packed, version, solid ? kFileSolid : 0));
    }
    const std::string archive = run_.WriteArchive("solid.rar", builder);
    std::filesystem::remove_all(run_.OutputFolder());
    EXPECT_EQ(nullptr, run_.Run("X", archive, {"y", "o+"})) << run_.Messages();
    EXPECT_EQ(ExpectedTree(files), run_.Tree()) << run_.Messages();
  }
}

TEST_F(RarCompressedArchiveTest, corrupt_or_cut_streams_leave_no_file) {
  const PlainFile file{"data.txt", AsString(SampleText(60000, 11))};
  Rar20Encoder encoder;
  const auto packed = encoder.EncodeData(std::vector<uint8_t>(file.data.begin(), file.data.end()), false);
  ASSERT_GT(packed.size(), 200u);

  std::vector<uint8_t> flipped = packed;
  for (size_t i = 40; i < flipped.size(); i += 97) flipped[i] ^= 0x5A;
  const std::vector<uint8_t> cut(packed.begin(), packed.begin() + static_cast<long>(packed.size() / 2));
  const std::vector<uint8_t>* const streams[] = {&flipped, &cut};

  for (const std::vector<uint8_t>* stream : streams) {
    const std::string archive =
        run_.WriteArchive("bad.rar", RarArchiveBuilder().AddFile(CompressedEntry(file, *stream, 20, 0)));
    std::filesystem::remove_all(run_.OutputFolder());
    run_.Run("E", archive, {"y"});
    EXPECT_EQ((Tree{{"out/", ""}}), run_.Tree());
    EXPECT_NE(std::string::npos, run_.Messages().find("CRC failed")) << run_.Messages();
  }
}

}  // namespace
