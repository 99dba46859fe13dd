#include "rar/rar_list.h"

#include <gtest/gtest.h>

#include <string>

#include "rar/rar_extract.h"
#include "tests/rar/support/archive_builder.h"
#include "tests/rar/support/rar_ciphers_encrypt.h"
#include "tests/rar/support/rar_test_run.h"
#include "tests/support/temp_program_folder.h"

namespace {

const std::string kColumns = "      Size   Packed Ratio  Date   Time     Attr      CRC   Meth Ver\n";
const std::string kRule(79, '-');

class RarListTest : public ProgramFolderTest {
 protected:
  RarTestRun run_{folder_.Path()};
};

// Five entries covering the columns: a plain file, a long encrypted Unix name, a directory, a
// packed file large enough to scale the ratio, and a file continued in the next volume.
RarArchiveBuilder ColumnsArchive() {
  RarEntry script = RarEncryptedStoredEntry("docs\\a-rather-long-name.txt", "#!/bin/sh\n", "pw", 20);
  script.host_os = 3;
  script.attributes = 0104755;
  script.comment = "run me";
  RarEntry big;
  big.name = "big.bin";
  big.packed = std::string(20000, 'z');
  big.unpacked_size = 50000;
  big.crc = 0x1234ABCD;
  big.unpack_version = 15;
  big.method = '3';
  RarEntry part;
  part.name = "part.dat";
  part.packed = "part ";
  part.unpacked_size = 9;
  part.crc = 0xDEADBEEF;
  part.flags = 0x02;
  RarArchiveBuilder builder;
  builder.SetMainFlags(0x01 | 0x08)
      .SetComment("Hi")
      .AddFile(RarStoredEntry("readme.txt", "hello world\n"))
      .AddFile(script)
      .AddFile(RarDirectoryEntry("docs"))
      .AddFile(big)
      .AddFile(part);
  return builder;
}

TEST_F(RarListTest, l_lists_name_parts_in_columns) {
  std::string archive = run_.WriteArchive("cols.rar", ColumnsArchive());
  EXPECT_EQ(nullptr, run_.Run("L", archive, {"c-"}));
  const std::string expected =
      "Solid volume " + archive + "\n" +
      "\n Name       " + kColumns + kRule +
      "\n readme.txt         12       12 100% 15-06-20 12:30   .....A   AF083B2D m0 2.0"
      "\n*a-rather-long-name.txt"
      "\n                    10       16 100% 15-06-20 12:30 -rwsr-xr-x 04FB9D1D m0 2.0"
      "\n docs                0        0   0% 15-06-20 12:30   .D....   00000000 m0 2.0"
      "\n big.bin         50000    20000  40% 15-06-20 12:30   .....A   1234ABCD m3 1.5"
      "\n part.dat            9        5  --> 15-06-20 12:30   .....A   DEADBEEF m0 2.0"
      "\n" + kRule +
      "\n    5            50031    20033  40%\n";
  EXPECT_EQ(expected, run_.Messages());
}

TEST_F(RarListTest, v_lists_full_names_and_comments) {
  RarEntry from_before = RarStoredEntry("sub\\cont.txt", "tail");
  from_before.flags = 0x01;
  RarEntry both_ways = RarStoredEntry("mid.txt", "middle");
  both_ways.flags = 0x03;
  RarArchiveBuilder builder;
  builder.SetComment("Hi").AddFile(from_before).AddFile(both_ways);
  std::string archive = run_.WriteArchive("v.rar", builder);
  EXPECT_EQ(nullptr, run_.Run("V", archive));
  const std::string expected =
      "Archive " + archive + "\n" + "\nHi\n" +
      "\nPathname/Comment\n            " + kColumns + kRule +
      "\n sub\\cont.txt"
      "\n                     4        4  <-- 15-06-20 12:30   .....A   7C37B45D m0 2.0"
      "\n mid.txt"
      "\n                     6        6  <-> 15-06-20 12:30   .....A   9E801ACF m0 2.0"
      "\n" + kRule +
      "\n    2               10       10 100%\n";
  EXPECT_EQ(expected, run_.Messages());
}

TEST_F(RarListTest, v_shows_file_comments_below_their_row) {
  std::string archive = run_.WriteArchive("cols.rar", ColumnsArchive());
  EXPECT_EQ(nullptr, run_.Run("V", archive));
  const std::string row =
      "\n*docs\\a-rather-long-name.txt"
      "\n                    10       16 100% 15-06-20 12:30 -rwsr-xr-x 04FB9D1D m0 2.0"
      "\nrun me\n";
  EXPECT_NE(std::string::npos, run_.Messages().find(row)) << run_.Messages();
}

TEST_F(RarListTest, headings_name_the_kind_of_archive) {
  struct Case {
    uint16_t flags;
    bool sfx;
    const char* heading;
  };
  const Case cases[] = {
      {0x00, false, "Archive"},      {0x01, false, "Volume"},      {0x08, false, "Solid archive"},
      {0x00, true, "SFX archive"},   {0x08, true, "Solid SFX archive"},
  };
  for (const Case& c : cases) {
    RarArchiveBuilder builder;
    builder.SetMainFlags(c.flags);
    if (c.sfx) builder.SetPrefix(std::string(100, 'M'));
    std::string archive = run_.WriteArchive("h.rar", builder);
    EXPECT_EQ(nullptr, run_.Run("L", archive));
    const std::string expected = std::string(c.heading) + " " + archive + "\n" + "\n Name       " + kColumns +
                                 kRule + "\n" + kRule + "  0 files\n";
    EXPECT_EQ(expected, run_.Messages()) << c.heading;
  }
}

// The first letter of a Unix mode names the kind of entry; links and other special files are
// extracted as plain files, and the listing says what they were.
TEST_F(RarListTest, unix_modes_name_the_kind_of_entry) {
  struct Case {
    uint32_t mode;
    const char* shown;
  };
  const Case cases[] = {
      {0100644, "-rw-r--r--"}, {0644, "-rw-r--r--"},     {040755, "drwxr-xr-x"}, {0120777, "lrwxrwxrwx"},
      {010644, "prw-r--r--"},  {020600, "crw-------"},    {060660, "brw-rw----"}, {0140755, "srwxr-xr-x"},
      {0102755, "-rwxr-sr-x"}, {0101700, "-rwx------"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.shown);
    RarEntry entry = RarStoredEntry("f", "x");
    entry.host_os = 3;
    entry.attributes = c.mode;
    EXPECT_EQ(nullptr, run_.Run("L", run_.WriteArchive("u.rar", RarArchiveBuilder().AddFile(entry))));
    EXPECT_NE(std::string::npos, run_.Messages().find(std::string(" 15-06-20 12:30 ") + c.shown + " ")) << run_.Messages();
  }
}

}  // namespace
