#include "launcher/file_cache.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <string>
#include <vector>

#include "tests/launcher/support/upgrade_fixture.h"
#include "tests/support/temp_program_folder.h"

namespace {

const std::string kInstalled = "installed file bytes";

TEST_F(ProgramFolderTest, cache_lines_read_back) {
  const std::string text = FileCacheLine("data\\cards.b", 1234, 4000000000u) + FileCacheLine("My Files\\a b.txt", 0, 7);
  EXPECT_EQ("\"data\\cards.b\" 1234 4000000000\r\n\"My Files\\a b.txt\" 0 7\r\n", text);
  folder_.WriteFile("root.fc", text + "\"cut.txt\" 12\r\n");  // an incomplete last line is dropped
  const std::vector<FileCacheEntry> cache = LoadFileCache("root.fc");
  ASSERT_EQ(2u, cache.size());
  EXPECT_EQ("data\\cards.b", cache[0].path);
  EXPECT_EQ(1234, cache[0].size);
  EXPECT_EQ(4000000000ul, cache[0].crc);
  EXPECT_EQ("My Files\\a b.txt", cache[1].path);
  EXPECT_EQ(0, cache[1].size);
  EXPECT_EQ(7ul, cache[1].crc);
  EXPECT_TRUE(LoadFileCache("missing.fc").empty());
}

struct CheckCase {
  const char* name;
  bool file_exists;
  std::string file_bytes;
  std::vector<FileCacheEntry> cache;
  uint32_t listed_size;
  uint32_t listed_crc;
  int expected;
};

void PrintTo(const CheckCase& c, std::ostream* os) { *os << c.name; }

class CheckLocalFileTest : public ProgramFolderTest, public ::testing::WithParamInterface<CheckCase> {};

// The file is "data/file.b"; the record names it "data\file.b".
TEST_P(CheckLocalFileTest, compares_size_and_crc) {
  const CheckCase& c = GetParam();
  if (c.file_exists) {
    ASSERT_EQ(0, ::mkdir(folder_.PathOf("data").c_str(), 0755));
    folder_.WriteFile("data/file.b", c.file_bytes);
  }
  std::vector<uint8_t> buffer(7);  // a small buffer makes the check read in several pieces
  const std::atomic<bool> abort{false};
  EXPECT_EQ(c.expected,
            CheckLocalFile("data\\file.b", c.listed_size, c.listed_crc, c.cache, buffer.data(), buffer.size(), abort));
}

const uint32_t kSize = static_cast<uint32_t>(kInstalled.size());

INSTANTIATE_TEST_SUITE_P(
    Files, CheckLocalFileTest,
    ::testing::Values(
        CheckCase{"good_when_read", true, kInstalled, {}, kSize, SeededCrc(kInstalled), LOCALFILE_GOOD},
        CheckCase{"missing", false, "", {}, kSize, SeededCrc(kInstalled), LOCALFILE_MISSING},
        CheckCase{"size_differs", true, kInstalled + "!", {}, kSize, SeededCrc(kInstalled), LOCALFILE_SIZE_DIFFERS},
        CheckCase{"crc_differs", true, "installed file bytez", {}, kSize, SeededCrc(kInstalled),
                  LOCALFILE_CRC_DIFFERS},
        CheckCase{"empty_file_needs_no_crc", true, "", {}, 0, 0x12345678, LOCALFILE_GOOD},
        // The cache answers without reading: the file on disk does not even match.
        CheckCase{"cached_in_other_letter_case_saves_the_read", true, "installed file bytez",
                  {{"DATA\\File.B", static_cast<long>(kSize), SeededCrc(kInstalled)}}, kSize, SeededCrc(kInstalled),
                  LOCALFILE_GOOD},
        CheckCase{"cached_file_need_not_exist", false, "",
                  {{"data\\file.b", static_cast<long>(kSize), SeededCrc(kInstalled)}}, kSize, SeededCrc(kInstalled),
                  LOCALFILE_GOOD},
        CheckCase{"first_cache_entry_counts", true, "installed file bytez",
                  {{"data\\file.b", static_cast<long>(kSize), 1}, {"data\\file.b", static_cast<long>(kSize), SeededCrc(kInstalled)}},
                  kSize, SeededCrc(kInstalled), LOCALFILE_CRC_DIFFERS},
        CheckCase{"cache_with_another_crc_reads_the_file", true, kInstalled,
                  {{"data\\file.b", static_cast<long>(kSize), 1}}, kSize, SeededCrc(kInstalled), LOCALFILE_GOOD}),
    [](const ::testing::TestParamInfo<CheckCase>& info) { return std::string(info.param.name); });

}  // namespace
