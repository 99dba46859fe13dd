#include "rar/rar_archive.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "rar/rar_extract.h"
#include "tests/rar/support/archive_builder.h"
#include "tests/rar/support/rar_ciphers_encrypt.h"
#include "tests/rar/support/rar_test_run.h"
#include "tests/support/temp_program_folder.h"

namespace {

using Tree = std::map<std::string, std::string>;

bool Contains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

class RarArchiveTest : public ProgramFolderTest {
 protected:
  // Extracts everything with E into a fresh "out/".
  const char* ExtractAll(const std::string& archive, const std::vector<std::string>& switches = {}) {
    std::filesystem::remove_all(run_.OutputFolder());
    return run_.Run("E", archive, switches);
  }

  RarTestRun run_{folder_.Path()};
};

// A program stub of `size` bytes that holds no signature.
std::string Stub(size_t size) {
  std::string stub(size, '\0');
  for (size_t i = 0; i < size; ++i) stub[i] = static_cast<char>("MZ stub "[i % 8]);
  return stub;
}

TEST_F(RarArchiveTest, the_signature_is_found_behind_a_program) {
  struct Case {
    const char* label;
    RarArchiveBuilder builder;
    const char* error;
  };
  std::string old_stub = Stub(64);
  old_stub.replace(28, 4, "RSFX");
  std::vector<Case> cases;
  cases.push_back({"block_layout_at_40000",
                   std::move(RarArchiveBuilder().SetPrefix(Stub(40000)).AddFile(RarStoredEntry("f.txt", "sfx"))),
                   nullptr});
  cases.push_back({"old_layout_with_mark",
                   std::move(RarArchiveBuilder(RarArchiveBuilder::OLD_LAYOUT)
                                 .SetPrefix(old_stub)
                                 .AddFile(RarOldStoredEntry("F.TXT", "sfx"))),
                   nullptr});
  cases.push_back({"old_layout_without_mark",
                   std::move(RarArchiveBuilder(RarArchiveBuilder::OLD_LAYOUT)
                                 .SetPrefix(Stub(64))
                                 .AddFile(RarOldStoredEntry("F.TXT", "sfx"))),
                   "Not A Valid RAR Archive File"});
  // The search starts after the first seven bytes and looks for a signature starting in the next
  // 131,056 (bytes 7 to 131,062); a signature starting near the end reaches beyond them.
  cases.push_back({"inside_the_first_seven_bytes",
                   std::move(RarArchiveBuilder().SetPrefix(Stub(3)).AddFile(RarStoredEntry("f.txt", "sfx"))),
                   "Not A Valid RAR Archive File"});
  cases.push_back({"ending_at_the_last_searched_byte",
                   std::move(RarArchiveBuilder().SetPrefix(Stub(131056)).AddFile(RarStoredEntry("f.txt", "sfx"))),
                   nullptr});
  cases.push_back({"reaching_one_byte_beyond_the_search",
                   std::move(RarArchiveBuilder().SetPrefix(Stub(131057)).AddFile(RarStoredEntry("f.txt", "sfx"))),
                   nullptr});
  cases.push_back({"last_start_in_the_search",
                   std::move(RarArchiveBuilder().SetPrefix(Stub(131062)).AddFile(RarStoredEntry("f.txt", "sfx"))),
                   nullptr});
  cases.push_back({"first_start_beyond_the_search",
                   std::move(RarArchiveBuilder().SetPrefix(Stub(131063)).AddFile(RarStoredEntry("f.txt", "sfx"))),
                   "Not A Valid RAR Archive File"});
  cases.push_back({"beyond_the_search",
                   std::move(RarArchiveBuilder().SetPrefix(Stub(131072)).AddFile(RarStoredEntry("f.txt", "sfx"))),
                   "Not A Valid RAR Archive File"});
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    std::string archive = run_.WriteArchive("sfx.exe", c.builder);
    const char* result = ExtractAll(archive);
    if (c.error == nullptr) {
      EXPECT_EQ(nullptr, result);
      Tree files = run_.Tree();
      EXPECT_TRUE(files["out/f.txt"] == "sfx" || files["out/F.TXT"] == "sfx") << run_.Messages();
    } else {
      ASSERT_NE(nullptr, result);
      EXPECT_STREQ(c.error, result);
    }
  }
}

TEST_F(RarArchiveTest, old_layout_files_use_the_16_bit_checksum_and_its_own_version_numbers) {
  RarEntry bad_sum = RarOldStoredEntry("BAD.TXT", "bad");
  bad_sum.crc ^= 1;
  RarEntry version_10 = RarOldStoredEntry("OLD.TXT", "old");
  version_10.unpack_version = 1;
  RarEntry encrypted = RarOldStoredEntry("ENC.TXT", "secret text");
  encrypted.packed = RarEncryptForVersion(13, "pw", "secret text");
  encrypted.flags = 0x04;
  RarArchiveBuilder builder(RarArchiveBuilder::OLD_LAYOUT);
  builder.AddFile(RarOldStoredEntry("GOOD.TXT", "good")).AddFile(bad_sum).AddFile(version_10).AddFile(encrypted);
  std::string archive = run_.WriteArchive("old.rar", builder);
  EXPECT_EQ(nullptr, ExtractAll(archive, {"ppw"}));
  EXPECT_EQ((Tree{{"out/", ""}, {"out/GOOD.TXT", "good"}, {"out/ENC.TXT", "secret text"}}), run_.Tree())
      << run_.Messages();
  EXPECT_TRUE(Contains(run_.Messages(), "BAD.TXT - CRC failed")) << run_.Messages();
  EXPECT_TRUE(Contains(run_.Messages(), "\nUnknown method in OLD.TXT")) << run_.Messages();
  EXPECT_TRUE(Contains(run_.Messages(), "\nTotal errors: 2")) << run_.Messages();
}

TEST_F(RarArchiveTest, old_layout_headers_out_of_range_end_the_archive) {
  struct Case {
    const char* label;
    void (*damage)(RarEntry*);
  };
  const Case cases[] = {
      {"method_above_7", [](RarEntry* e) { e->method = 8; }},
      {"version_0", [](RarEntry* e) { e->unpack_version = 0; }},
      {"version_above_20", [](RarEntry* e) { e->unpack_version = 21; }},
      {"name_size_0", [](RarEntry* e) { e->name_size_override = 0; }},
      {"name_longer_than_80", [](RarEntry* e) { e->name = std::string(81, 'N'); }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    RarEntry damaged = RarOldStoredEntry("BAD.TXT", "bad");
    c.damage(&damaged);
    RarArchiveBuilder builder(RarArchiveBuilder::OLD_LAYOUT);
    builder.AddFile(RarOldStoredEntry("FIRST.TXT", "1")).AddFile(damaged).AddFile(RarOldStoredEntry("LAST.TXT", "3"));
    EXPECT_EQ(nullptr, ExtractAll(run_.WriteArchive("old.rar", builder)));
    EXPECT_EQ((Tree{{"out/", ""}, {"out/FIRST.TXT", "1"}}), run_.Tree()) << run_.Messages();
  }
}

TEST_F(RarArchiveTest, other_blocks_are_passed_over_by_their_sizes) {
  RarArchiveBuilder builder;
  builder.AddFile(RarStoredEntry("a.txt", "a"))
      .AddRecoveryRecord(2, std::string(1024, 'r'))
      .AddBlock(0x7A, 0, "extra header bytes", "")
      .AddBlock(0x7B, 0, "", std::string(300, 'd'))
      .AddFile(RarStoredEntry("b.txt", "b"));
  EXPECT_EQ(nullptr, ExtractAll(run_.WriteArchive("blocks.rar", builder)));
  EXPECT_EQ((Tree{{"out/", ""}, {"out/a.txt", "a"}, {"out/b.txt", "b"}}), run_.Tree()) << run_.Messages();
}

TEST_F(RarArchiveTest, broken_header_checks_are_reported_and_reading_goes_on) {
  RarEntry broken = RarStoredEntry("f.txt", "still here");
  broken.break_header_crc = true;
  RarArchiveBuilder builder;
  builder.BreakMainHeaderCrc().AddFile(broken);
  EXPECT_EQ(nullptr, ExtractAll(run_.WriteArchive("broken.rar", builder)));
  EXPECT_EQ((Tree{{"out/", ""}, {"out/f.txt", "still here"}}), run_.Tree());
  EXPECT_TRUE(Contains(run_.Messages(), "\n\nArchive header broken")) << run_.Messages();
  EXPECT_TRUE(Contains(run_.Messages(), "\nf.txt - file header broken\n")) << run_.Messages();
}

TEST_F(RarArchiveTest, a_header_check_word_may_cover_the_name_or_the_whole_header) {
  struct Case {
    const char* label;
    std::string extra;  // header bytes after the name
    bool whole;         // the check word covers the whole header
    bool broken;
  };
  // Extended times as later archivers write them after the name: flags and a few time bytes.
  const std::string times("\x00\xF0\x12\x34\x56\x78\x9A", 7);
  const Case cases[] = {
      {"name_only", "", false, false},
      {"whole_header_with_extra_fields", times, true, false},
      {"name_only_with_extra_fields", times, false, false},
      {"neither", times, true, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    RarEntry entry = RarStoredEntry("f.txt", "intact");
    entry.extra_header = c.extra;
    entry.crc_over_whole_header = c.whole;
    entry.break_header_crc = c.broken;
    EXPECT_EQ(nullptr, ExtractAll(run_.WriteArchive("ext.rar", RarArchiveBuilder().AddFile(entry))));
    EXPECT_EQ((Tree{{"out/", ""}, {"out/f.txt", "intact"}}), run_.Tree()) << run_.Messages();
    EXPECT_EQ(c.broken, Contains(run_.Messages(), "file header broken")) << run_.Messages();
  }
}

TEST_F(RarArchiveTest, sizes_reaching_past_the_end_of_the_file_end_the_archive) {
  struct Case {
    const char* label;
    void (*damage)(RarEntry*);
    const char* message;
  };
  const Case cases[] = {
      {"packed_size", [](RarEntry* e) { e->packed_size_override = 0x7FFFFFF0; }, "\nUnexpected end of archive\n"},
      {"name_size", [](RarEntry* e) { e->name_size_override = 0xFFFF; }, " - file header broken\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    RarEntry damaged = RarStoredEntry("big.txt", "small");
    c.damage(&damaged);
    RarArchiveBuilder builder;
    builder.AddFile(RarStoredEntry("first.txt", "1")).AddFile(damaged);
    EXPECT_EQ(nullptr, ExtractAll(run_.WriteArchive("big.rar", builder)));
    EXPECT_EQ((Tree{{"out/", ""}, {"out/first.txt", "1"}}), run_.Tree());
    EXPECT_TRUE(Contains(run_.Messages(), c.message)) << run_.Messages();
  }
}

TEST_F(RarArchiveTest, comments_are_shown_unless_switched_off) {
  struct Case {
    const char* label;
    std::string comment_block;
    std::string file_comment;
    std::vector<std::string> switches;
    std::vector<std::string> shown;
    std::vector<std::string> hidden;
  };
  const std::vector<Case> cases = {
      {"stored", RarCommentBlock("Archive says hi"), "file says hi", {}, {"\nArchive says hi\n", "\nfile says hi\n"}, {}},
      {"switched_off", RarCommentBlock("Archive says hi"), "file says hi", {"c-"}, {}, {"says hi"}},
      {"header_broken", RarCommentBlock("x", true, false), "", {}, {"\nComment header broken\n"}, {}},
      {"text_broken", RarCommentBlock("x", false, true), "", {}, {"\nComment broken\n"}, {}},
      {"packed_not_unpacked", RarPackedCommentBlock("\x01\x02\x03", "abc", 20, '3'), "", {}, {"\nComment broken\n"}, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    RarEntry entry = RarStoredEntry("f.txt", "data");
    entry.comment = c.file_comment;
    RarArchiveBuilder builder;
    builder.SetCommentBlock(c.comment_block).AddFile(entry);
    EXPECT_EQ(nullptr, ExtractAll(run_.WriteArchive("cmt.rar", builder), c.switches));
    EXPECT_EQ((Tree{{"out/", ""}, {"out/f.txt", "data"}}), run_.Tree());
    for (const std::string& text : c.shown) EXPECT_TRUE(Contains(run_.Messages(), text)) << run_.Messages();
    for (const std::string& text : c.hidden) EXPECT_FALSE(Contains(run_.Messages(), text)) << run_.Messages();
  }
}

TEST_F(RarArchiveTest, names_stored_with_slashes_and_case_switches) {
  RarArchiveBuilder builder;
  builder.AddFile(RarStoredEntry("Sub/Dir/File.Txt", "x"));
  std::string archive = run_.WriteArchive("names.rar", builder);
  EXPECT_EQ(nullptr, run_.Run("T", archive));
  EXPECT_TRUE(Contains(run_.Messages(), "\nTesting     Sub\\Dir\\File.Txt")) << run_.Messages();
  EXPECT_EQ(nullptr, run_.Run("X", archive, {"CL"}));
  EXPECT_EQ("x", run_.Tree()["out/sub/dir/file.txt"]);
  EXPECT_EQ(nullptr, run_.Run("X", archive, {"cu"}, {"SUB\\DIR\\*.*"}));
  EXPECT_EQ("x", run_.Tree()["out/SUB/DIR/FILE.TXT"]);
}

TEST_F(RarArchiveTest, unselected_files_of_a_solid_archive_are_read_but_not_written) {
  RarEntry label = RarStoredEntry("LABEL", "");
  label.attributes = 0x08;
  RarArchiveBuilder builder;
  builder.SetMainFlags(0x08)
      .AddFile(label)
      .AddFile(RarStoredEntry("first.txt", "1"))
      .AddFile(RarStoredEntry("second.txt", "2"));
  std::string archive = run_.WriteArchive("solid.rar", builder);
  std::filesystem::remove_all(run_.OutputFolder());
  EXPECT_EQ(nullptr, run_.Run("E", archive, {}, {"second.txt", "LABEL"}));
  EXPECT_EQ((Tree{{"out/", ""}, {"out/second.txt", "2"}}), run_.Tree()) << run_.Messages();
  EXPECT_TRUE(Contains(run_.Messages(), "\nSkipping    first.txt" + std::string(47, ' '))) << run_.Messages();
  EXPECT_FALSE(Contains(run_.Messages(), "LABEL")) << run_.Messages();
}

TEST_F(RarArchiveTest, a_file_continued_in_the_next_volume_fails_and_ends_the_volume) {
  RarEntry first_part = RarStoredEntry("split.bin", "first half second half");
  first_part.packed = "first half";
  first_part.flags = 0x02;
  RarArchiveBuilder builder;
  builder.SetMainFlags(0x01)
      .AddFile(RarStoredEntry("before.txt", "b"))
      .AddFile(first_part)
      .AddFile(RarStoredEntry("after.txt", "a"));
  EXPECT_EQ(nullptr, ExtractAll(run_.WriteArchive("vol.rar", builder)));
  EXPECT_EQ((Tree{{"out/", ""}, {"out/before.txt", "b"}}), run_.Tree()) << run_.Messages();
  EXPECT_TRUE(Contains(run_.Messages(), "split.bin - CRC failed")) << run_.Messages();
}

// Three volumes as archivers write them: the first and middle parts of a split file carry the CRC
// of their own bytes, the last part that of the whole file.
TEST_F(RarArchiveTest, a_file_split_across_three_volumes_is_never_taken_for_whole) {
  const std::string whole = "first part|middle part|last part";
  RarEntry first_part = RarStoredEntry("split.bin", "first part|");
  first_part.unpacked_size = static_cast<uint32_t>(whole.size());
  first_part.flags = 0x02;
  RarEntry middle_part = RarStoredEntry("split.bin", "middle part|");
  middle_part.unpacked_size = static_cast<uint32_t>(whole.size());
  middle_part.flags = 0x03;
  RarEntry last_part = RarStoredEntry("split.bin", whole);
  last_part.packed = "last part";
  last_part.flags = 0x01;
  const std::string volumes[] = {
      run_.WriteArchive("set.rar", RarArchiveBuilder().SetMainFlags(0x01).AddFile(RarStoredEntry("before.txt", "b")).AddFile(first_part)),
      run_.WriteArchive("set.r00", RarArchiveBuilder().SetMainFlags(0x01).AddFile(middle_part)),
      run_.WriteArchive("set.r01", RarArchiveBuilder().SetMainFlags(0x01).AddFile(last_part).AddFile(RarStoredEntry("after.txt", "a"))),
  };
  struct Case {
    const char* label;
    int volume;
    std::vector<std::string> switches;
    Tree tree;
    const char* end;  // the last line of the messages
  };
  const Case cases[] = {
      {"first_volume", 0, {}, {{"out/", ""}, {"out/before.txt", "b"}}, "\nTotal errors: 1"},
      {"first_volume_keeping_broken_files", 0, {"kb"},
       {{"out/", ""}, {"out/before.txt", "b"}, {"out/split.bin", "first part|"}}, "\nTotal errors: 1"},
      {"middle_volume", 1, {}, {}, "\nNo files to extract"},
      {"last_volume", 2, {}, {{"out/", ""}, {"out/after.txt", "a"}}, "\nAll OK"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    EXPECT_EQ(nullptr, ExtractAll(volumes[c.volume], c.switches));
    EXPECT_EQ(c.tree, run_.Tree()) << run_.Messages();
    const std::string& messages = run_.Messages();
    EXPECT_EQ(c.end, messages.substr(messages.rfind('\n'))) << messages;
    if (c.volume == 0) {
      EXPECT_TRUE(Contains(messages, "split.bin - CRC failed")) << messages;
      const size_t at = messages.find("out/split.bin");
      ASSERT_NE(std::string::npos, at) << messages;
      EXPECT_EQ(std::string::npos, messages.substr(at, messages.find('\n', at) - at).find(" Ok")) << messages;
    }
  }
  EXPECT_EQ(nullptr, run_.Run("T", volumes[0]));
  EXPECT_TRUE(Contains(run_.Messages(), "\nTotal errors: 1")) << run_.Messages();
}

TEST_F(RarArchiveTest, a_file_continued_from_a_previous_volume_is_not_selected) {
  RarEntry second_part = RarStoredEntry("split.bin", "whole");
  second_part.packed = "le";
  second_part.flags = 0x01;
  RarArchiveBuilder builder;
  builder.SetMainFlags(0x01).AddFile(second_part).AddFile(RarStoredEntry("next.txt", "n"));
  EXPECT_EQ(nullptr, ExtractAll(run_.WriteArchive("vol2.rar", builder)));
  EXPECT_EQ((Tree{{"out/", ""}, {"out/next.txt", "n"}}), run_.Tree()) << run_.Messages();
}

TEST_F(RarArchiveTest, a_solid_volume_starting_mid_file_needs_the_first_volume) {
  RarEntry second_part = RarStoredEntry("split.bin", "whole");
  second_part.packed = "le";
  second_part.flags = 0x01;
  RarArchiveBuilder later;
  later.SetMainFlags(0x01 | 0x08).AddFile(second_part).AddFile(RarStoredEntry("next.txt", "n"));
  RarArchiveBuilder first;
  first.SetMainFlags(0x01 | 0x08).AddFile(RarStoredEntry("one.txt", "1"));

  struct Case {
    const char* label;
    const char* later_name;
    const char* first_name;  // nullptr: no first volume on disk
    const char* error;
    Tree tree;
  };
  const Case cases[] = {
      {"named_rar", "set.RAR", nullptr, "Fatal error", {}},
      {"rar_found", "set.r01", "set.rar", nullptr, {{"out/", ""}, {"out/one.txt", "1"}}},
      {"exe_found", "set.r01", "set.exe", nullptr, {{"out/", ""}, {"out/one.txt", "1"}}},
      {"no_extension", "set", "set.rar", nullptr, {{"out/", ""}, {"out/one.txt", "1"}}},
      {"none_found", "set.r01", nullptr, "Fatal error", {}},
      {"first_is_also_later", "set.r01", "set.exe*", "Fatal error", {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    std::filesystem::remove_all(folder_.PathOf("arc"));
    std::filesystem::create_directories(folder_.PathOf("arc"));
    std::string later_path = run_.WriteArchive(c.later_name, later);
    if (c.first_name != nullptr) {
      std::string name = c.first_name;
      // "*": the candidate is itself a volume that starts mid-file.
      if (name.back() == '*') {
        name.pop_back();
        run_.WriteArchive(name, later);
      } else {
        run_.WriteArchive(name, first);
      }
    }
    const char* result = ExtractAll(later_path);
    if (c.error == nullptr) {
      EXPECT_EQ(nullptr, result) << run_.Messages();
    } else {
      ASSERT_NE(nullptr, result);
      EXPECT_STREQ(c.error, result);
      EXPECT_TRUE(Contains(run_.Messages(), "\nERROR: Solid archive. First volume required\n"));
    }
    EXPECT_EQ(c.tree, run_.Tree()) << run_.Messages();
  }
}

TEST_F(RarArchiveTest, truncated_archives_end_cleanly_at_every_length) {
  RarEntry unix_file = RarStoredEntry("sub/u.sh", "#!/bin/sh\necho hi\n");
  unix_file.host_os = 3;
  unix_file.attributes = 0100755;
  RarArchiveBuilder builder;
  builder.SetComment("comment")
      .AddFile(RarStoredEntry("a.txt", "alpha alpha alpha"))
      .AddRecoveryRecord(1, std::string(40, 'r'))
      .AddFile(RarEncryptedStoredEntry("e.txt", "encrypted contents here", "pw", 20))
      .AddFile(RarEncryptedStoredEntry("s.txt", "stream cipher text", "pw", 15))
      .AddFile(unix_file);
  const std::string whole = builder.Build();
  const std::map<std::string, std::string> originals = {{"out/a.txt", "alpha alpha alpha"},
                                                        {"out/e.txt", "encrypted contents here"},
                                                        {"out/s.txt", "stream cipher text"},
                                                        {"out/u.sh", "#!/bin/sh\necho hi\n"}};
  for (size_t length = 0; length < whole.size(); ++length) {
    SCOPED_TRACE(length);
    std::string archive = run_.WriteArchive("cut.rar", whole.substr(0, length));
    const char* result = ExtractAll(archive, {"ppw"});
    if (result != nullptr) {
      EXPECT_STREQ("Not A Valid RAR Archive File", result);
    }
    // Whatever was written is whole: a cut file never stays behind.
    for (const auto& [path, bytes] : run_.Tree()) {
      if (path == "out/") continue;
      auto original = originals.find(path);
      ASSERT_NE(originals.end(), original) << path;
      EXPECT_EQ(original->second, bytes) << path;
    }
    result = run_.Run("L", archive);
    if (result != nullptr) {
      EXPECT_STREQ("Not A Valid RAR File", result);
    }
  }
  EXPECT_EQ(nullptr, ExtractAll(run_.WriteArchive("whole.rar", whole), {"ppw"}));
  Tree expected(originals.begin(), originals.end());
  expected["out/"] = "";
  EXPECT_EQ(expected, run_.Tree()) << run_.Messages();
}

}  // namespace
