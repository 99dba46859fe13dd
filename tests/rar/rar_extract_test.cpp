#include "rar/rar_extract.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <utime.h>

#include <csignal>

#include <algorithm>
#include <atomic>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "rar/rar_switches.h"
#include "tests/rar/support/archive_builder.h"
#include "tests/rar/support/rar20_encoder.h"
#include "tests/rar/support/sample_data.h"
#include "tests/rar/support/rar_test_run.h"
#include "tests/support/temp_program_folder.h"

namespace {

using Tree = std::map<std::string, std::string>;

bool Contains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

// The rest of the message line that starts with `start` ("" when there is none).
std::string LineAfter(const std::string& text, const std::string& start) {
  size_t at = text.find(start);
  if (at == std::string::npos) return "";
  at += start.size();
  return text.substr(at, text.find('\n', at) - at);
}

class RarExtractTest : public ProgramFolderTest {
 protected:
  RarTestRun run_{folder_.Path()};
};

// Three files in two folder levels and one directory entry.
RarArchiveBuilder FoldersArchive() {
  RarArchiveBuilder builder;
  builder.AddFile(RarStoredEntry("top.txt", "top"))
      .AddFile(RarStoredEntry("sub\\a.txt", "aaa"))
      .AddFile(RarStoredEntry("sub\\deep\\b.log", "bbb"))
      .AddFile(RarDirectoryEntry("sub\\empty"));
  return builder;
}

TEST(RarInterface, commands_and_switches_answer_with_their_error_texts) {
  const std::pair<const char*, const char*> commands[] = {
      {"e", "Unknown Main Command For ExecuteCommand"},
      {"EX", "Invalid Main Command For ExecuteCommand"},
      {"TX", "Invalid Main Command For ExecuteCommand"},
      {"Q", "Unknown Main Command For ExecuteCommand"},
      {"", "Unknown Main Command For ExecuteCommand"},
  };
  for (const auto& [command, error] : commands) {
    RarInitialize(nullptr, nullptr);
    const char* result = ExecuteCommand(command, "missing.rar");
    ASSERT_NE(nullptr, result) << command;
    EXPECT_STREQ(error, result) << command;
  }
  const std::pair<const char*, const char*> switches[] = {
      {"o", "+ or - expected after O Switch"}, {"O*", "+ or - expected after O Switch"},
      {"Z", "Unknown Switch"},                 {"", "Unknown Switch"},
      {"y", nullptr},                          {"V123", nullptr},
      {"F1", nullptr},                         {"xsome.txt", nullptr},
      {"o+", nullptr},                         {"kb", nullptr},
  };
  for (const auto& [text, error] : switches) {
    const char* result = RarSetSwitch(text);
    if (error == nullptr) {
      EXPECT_EQ(nullptr, result) << text;
    } else {
      ASSERT_NE(nullptr, result) << text;
      EXPECT_STREQ(error, result) << text;
    }
  }
  RarRelease();
  RarResetSwitches();
}

TEST(RarInterface, switches_take_effect_only_as_written) {
  struct Case {
    const char* text;
    bool (*holds)(const RarSwitches&);
  };
  const Case cases[] = {
      {"c-", [](const RarSwitches& s) { return !s.show_comments; }},
      {"C", [](const RarSwitches& s) { return s.show_comments; }},
      {"cl", [](const RarSwitches& s) { return s.name_case == RAR_CASE_LOWER; }},
      {"CU", [](const RarSwitches& s) { return s.name_case == RAR_CASE_UPPER; }},
      {"F", [](const RarSwitches& s) { return s.freshen; }},
      {"F1", [](const RarSwitches& s) { return !s.freshen; }},
      {"f", [](const RarSwitches& s) { return s.freshen; }},
      {"u2", [](const RarSwitches& s) { return !s.update; }},
      {"U", [](const RarSwitches& s) { return s.update; }},
      {"R", [](const RarSwitches& s) { return s.recurse_exclusions; }},
      {"kB", [](const RarSwitches& s) { return s.keep_broken; }},
      {"o-", [](const RarSwitches& s) { return !s.overwrite; }},
      {"pSecret", [](const RarSwitches& s) { return std::strcmp(s.password, "Secret") == 0; }},
  };
  for (const Case& c : cases) {
    RarResetSwitches();
    EXPECT_EQ(nullptr, RarSetSwitch(c.text));
    EXPECT_TRUE(c.holds(RarSwitchState())) << c.text;
  }
  RarResetSwitches();
}

TEST_F(RarExtractTest, a_long_password_keeps_77_characters_and_is_wiped_after_the_command) {
  std::string password(100, 'k');
  for (size_t i = 0; i < password.size(); ++i) password[i] = static_cast<char>('a' + i % 26);
  std::string archive = run_.WriteArchive(
      "long.rar", RarArchiveBuilder().AddFile(RarEncryptedStoredEntry("f.txt", "payload", password.substr(0, 77), 20)));
  EXPECT_EQ(nullptr, run_.Run("E", archive, {"p" + password}));
  EXPECT_EQ((Tree{{"out/", ""}, {"out/f.txt", "payload"}}), run_.Tree()) << run_.Messages();
  EXPECT_EQ('\0', RarSwitchState().password[0]);
}

TEST_F(RarExtractTest, the_upgrade_call_extracts_into_the_current_folder_without_a_sink) {
  // Fetched as "<name>.r", encrypted with the upgrade password, extracted next to it.
  folder_.WriteFile("tvk.exe.r", RarArchiveBuilder()
                                     .SetComment("not shown")
                                     .AddFile(RarEncryptedStoredEntry("bin\\tvk.exe", "program bytes", "VRZD", 20))
                                     .Build());
  folder_.WriteFile("tvk.exe", "previous version");
  RarInitialize(nullptr, nullptr);
  EXPECT_EQ(nullptr, RarSetSwitch("y"));
  EXPECT_EQ(nullptr, RarSetSwitch("o+"));
  EXPECT_EQ(nullptr, RarSetSwitch("c-"));
  EXPECT_EQ(nullptr, RarSetSwitch("pVRZD"));
  EXPECT_EQ(nullptr, RarAddFileName("*.*"));
  EXPECT_EQ(nullptr, ExecuteCommand("E", "tvk.exe.r"));
  EXPECT_EQ("program bytes", folder_.ReadFile("tvk.exe"));
  struct stat info;
  ASSERT_EQ(0, ::stat(folder_.PathOf("tvk.exe").c_str(), &info));
  EXPECT_EQ(0644u, info.st_mode & 07777);
}

TEST_F(RarExtractTest, e_drops_folders_and_x_keeps_them) {
  std::string archive = run_.WriteArchive("f.rar", FoldersArchive());
  EXPECT_EQ(nullptr, run_.Run("E", archive));
  EXPECT_EQ((Tree{{"out/", ""}, {"out/top.txt", "top"}, {"out/a.txt", "aaa"}, {"out/b.log", "bbb"}}), run_.Tree());
  EXPECT_TRUE(Contains(run_.Messages(), "\nAll OK")) << run_.Messages();

  std::filesystem::remove_all(run_.OutputFolder());
  EXPECT_EQ(nullptr, run_.Run("X", archive));
  EXPECT_EQ((Tree{{"out/", ""},
                  {"out/top.txt", "top"},
                  {"out/sub/", ""},
                  {"out/sub/a.txt", "aaa"},
                  {"out/sub/deep/", ""},
                  {"out/sub/deep/b.log", "bbb"},
                  {"out/sub/empty/", ""}}),
            run_.Tree());
  std::string expected_line = "\nExtracting  " + run_.OutputFolder() + "sub/a.txt";
  EXPECT_TRUE(Contains(run_.Messages(), expected_line)) << run_.Messages();
}

TEST_F(RarExtractTest, masks_exclusions_and_recursion_select_files) {
  struct Case {
    const char* label;
    std::vector<std::string> masks;
    std::vector<std::string> switches;
    std::vector<std::string> extracted;
  };
  const Case cases[] = {
      {"everything", {"*.*"}, {}, {"top.txt", "sub/a.txt", "sub/deep/b.log"}},
      {"by_extension", {"*.txt"}, {}, {"top.txt", "sub/a.txt"}},
      {"folder_wildcard_reaches_below", {"sub\\*.*"}, {}, {"sub/a.txt", "sub/deep/b.log"}},
      {"folder_plain_name_only_there", {"sub\\a.txt"}, {}, {"sub/a.txt"}},
      {"plain_name_not_in_folders", {"a.txt"}, {}, {}},
      {"two_masks", {"top.txt", "sub/deep/*.log"}, {}, {"top.txt", "sub/deep/b.log"}},
      {"wildcard_exclusion", {"*.*"}, {"x*.log"}, {"top.txt", "sub/a.txt"}},
      {"plain_exclusion_stays_in_its_folder", {"*.*"}, {"xb.log"}, {"top.txt", "sub/a.txt", "sub/deep/b.log"}},
      {"plain_exclusion_with_r_reaches_below", {"*.*"}, {"R", "xsub\\b.log"}, {"top.txt", "sub/a.txt"}},
      {"plain_exclusion_without_r", {"*.*"}, {"xsub\\b.log"}, {"top.txt", "sub/a.txt", "sub/deep/b.log"}},
  };
  RarArchiveBuilder builder;
  builder.AddFile(RarStoredEntry("top.txt", "top"))
      .AddFile(RarStoredEntry("sub\\a.txt", "aaa"))
      .AddFile(RarStoredEntry("sub\\deep\\b.log", "bbb"));
  std::string archive = run_.WriteArchive("m.rar", builder);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    std::filesystem::remove_all(run_.OutputFolder());
    EXPECT_EQ(nullptr, run_.Run("X", archive, c.switches, c.masks));
    std::vector<std::string> files;
    for (const auto& [path, bytes] : run_.Tree()) {
      if (path.back() != '/') files.push_back(path.substr(4));
    }
    std::vector<std::string> expected = c.extracted;
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(expected, files) << run_.Messages();
    if (c.extracted.empty()) {
      EXPECT_TRUE(Contains(run_.Messages(), "\nNo files to extract")) << run_.Messages();
    }
  }
}

TEST_F(RarExtractTest, freshen_and_update_compare_with_the_archived_time) {
  std::tm parts{};
  parts.tm_year = 2020 - 1900;
  parts.tm_mon = 5;
  parts.tm_mday = 15;
  parts.tm_hour = 12;
  parts.tm_min = 30;
  parts.tm_isdst = -1;
  const std::time_t archived = std::mktime(&parts);  // kRarTestTime
  struct Case {
    const char* label;
    const char* mode_switch;
    int existing;  // -1 none, 0 older, 1 newer
    bool replaced;
  };
  const Case cases[] = {
      {"freshen_older", "F", 0, true},   {"freshen_newer", "F", 1, false}, {"freshen_missing", "F", -1, false},
      {"update_older", "U", 0, true},    {"update_newer", "U", 1, false},  {"update_missing", "U", -1, true},
      {"neither_newer", "Y", 1, true},
  };
  std::string archive =
      run_.WriteArchive("t.rar", RarArchiveBuilder().AddFile(RarStoredEntry("f.txt", "archived")));
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    std::filesystem::remove_all(run_.OutputFolder());
    std::filesystem::create_directories(run_.OutputFolder());
    std::string path = run_.OutputFolder() + "f.txt";
    if (c.existing >= 0) {
      folder_.WriteFile("out/f.txt", "existing");
      std::time_t when = archived + (c.existing == 1 ? 3600 : -3600);
      struct utimbuf times{when, when};
      ASSERT_EQ(0, ::utime(path.c_str(), &times));
    }
    EXPECT_EQ(nullptr, run_.Run("E", archive, {c.mode_switch}));
    std::string expected = c.replaced ? "archived" : (c.existing >= 0 ? "existing" : "");
    EXPECT_EQ(expected, folder_.ReadFile("out/f.txt")) << run_.Messages();
  }
}

TEST_F(RarExtractTest, never_overwrite_leaves_an_existing_file_alone) {
  std::string archive =
      run_.WriteArchive("o.rar", RarArchiveBuilder().AddFile(RarStoredEntry("f.txt", "new")).AddFile(RarStoredEntry("g.txt", "g")));
  std::filesystem::create_directories(run_.OutputFolder());
  folder_.WriteFile("out/f.txt", "old");
  EXPECT_EQ(nullptr, run_.Run("E", archive, {"O-"}));
  EXPECT_EQ((Tree{{"out/", ""}, {"out/f.txt", "old"}, {"out/g.txt", "g"}}), run_.Tree());
  EXPECT_EQ(nullptr, run_.Run("E", archive, {"o+"}));
  EXPECT_EQ("new", folder_.ReadFile("out/f.txt"));
}

TEST_F(RarExtractTest, a_file_failing_its_crc_is_deleted_unless_keep_broken) {
  RarEntry broken = RarStoredEntry("bad.txt", "contents");
  broken.crc ^= 1;
  std::string archive = run_.WriteArchive("c.rar", RarArchiveBuilder().AddFile(broken).AddFile(RarStoredEntry("good.txt", "g")));
  for (bool keep : {false, true}) {
    SCOPED_TRACE(keep ? "KB" : "default");
    std::filesystem::remove_all(run_.OutputFolder());
    EXPECT_EQ(nullptr, run_.Run("E", archive, keep ? std::vector<std::string>{"KB"} : std::vector<std::string>{}));
    Tree expected{{"out/", ""}, {"out/good.txt", "g"}};
    if (keep) expected["out/bad.txt"] = "contents";
    EXPECT_EQ(expected, run_.Tree());
    std::string path = run_.OutputFolder() + "bad.txt";
    EXPECT_TRUE(Contains(run_.Messages(), "\n" + path + " - CRC failed")) << run_.Messages();
    EXPECT_EQ(std::string(56 - path.size(), ' '), LineAfter(run_.Messages(), "\nExtracting  " + path));
    EXPECT_EQ(std::string(56 - (path.size() + 1), ' ') + " Ok",
              LineAfter(run_.Messages(), "\nExtracting  " + run_.OutputFolder() + "good.txt"));
    EXPECT_TRUE(Contains(run_.Messages(), "\nTotal errors: 1")) << run_.Messages();
  }
}

TEST_F(RarExtractTest, encrypted_stored_files_extract_with_the_right_password_only) {
  const std::string data = "The quick brown fox jumps over the lazy dog, twice over for length.";
  for (int version : {13, 15, 20}) {
    SCOPED_TRACE(version);
    std::string archive = run_.WriteArchive(
        "e.rar", RarArchiveBuilder().AddFile(RarEncryptedStoredEntry("secret.txt", data, "VRZD", version)));
    std::filesystem::remove_all(run_.OutputFolder());
    EXPECT_EQ(nullptr, run_.Run("E", archive, {"y", "o+", "c-", "pVRZD"}));
    EXPECT_EQ((Tree{{"out/", ""}, {"out/secret.txt", data}}), run_.Tree()) << run_.Messages();

    std::filesystem::remove_all(run_.OutputFolder());
    EXPECT_EQ(nullptr, run_.Run("E", archive, {"pWRONG"}));
    EXPECT_EQ((Tree{{"out/", ""}}), run_.Tree());
    EXPECT_TRUE(Contains(run_.Messages(), "\nEncrypted file:  CRC failed in " + run_.OutputFolder() +
                                              "secret.txt (password incorrect ?)"))
        << run_.Messages();

    EXPECT_STREQ("Password Required", run_.Run("T", archive, {}));
  }
}

TEST_F(RarExtractTest, an_encrypted_folder_entry_needs_the_password_before_it_is_made) {
  RarEntry folder = RarDirectoryEntry("locked");
  folder.flags |= 0x04;
  std::string archive = run_.WriteArchive(
      "d.rar", RarArchiveBuilder().AddFile(folder).AddFile(RarStoredEntry("plain.txt", "p")));
  EXPECT_STREQ("Password Required", run_.Run("X", archive));
  EXPECT_EQ((Tree{}), run_.Tree()) << run_.Messages();
  EXPECT_EQ(nullptr, run_.Run("X", archive, {"pany"}));
  EXPECT_EQ((Tree{{"out/", ""}, {"out/locked/", ""}, {"out/plain.txt", "p"}}), run_.Tree()) << run_.Messages();
}

TEST_F(RarExtractTest, unpack_versions_outside_13_to_20_are_unknown_methods) {
  for (int version : {12, 21, 29}) {
    SCOPED_TRACE(version);
    RarEntry entry = RarStoredEntry("f.txt", "data");
    entry.unpack_version = version;
    std::string archive = run_.WriteArchive("v.rar", RarArchiveBuilder().AddFile(entry));
    EXPECT_EQ(nullptr, run_.Run("E", archive));
    EXPECT_TRUE(Contains(run_.Messages(), "\nUnknown method in f.txt")) << run_.Messages();
    EXPECT_TRUE(Contains(run_.Messages(), "\nTotal errors: 1")) << run_.Messages();
    EXPECT_FALSE(folder_.Exists("out/f.txt"));
  }
}

TEST_F(RarExtractTest, names_reaching_outside_the_destination_are_refused) {
  struct Case {
    const char* command;
    const char* stored;
  };
  const Case cases[] = {
      {"X", "..\\..\\escape.txt"}, {"X", "sub\\..\\..\\escape.txt"}, {"X", "\\\\escape.txt"},
      {"X", "/../escape.txt"},     {"X", "C:..\\..\\escape.txt"},    {"E", ".."},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.stored);
    std::string archive = run_.WriteArchive(
        "p.rar", RarArchiveBuilder().AddFile(RarStoredEntry(c.stored, "evil")).AddFile(RarStoredEntry("ok.txt", "ok")));
    std::filesystem::remove_all(run_.OutputFolder());
    EXPECT_EQ(nullptr, run_.Run(c.command, archive));
    EXPECT_EQ((Tree{{"out/", ""}, {"out/ok.txt", "ok"}}), run_.Tree()) << run_.Messages();
    EXPECT_TRUE(Contains(run_.Messages(), "\nRefused unsafe name ")) << run_.Messages();
    EXPECT_TRUE(Contains(run_.Messages(), "\nTotal errors: 1")) << run_.Messages();
  }
}

TEST_F(RarExtractTest, compressed_files_that_do_not_unpack_leave_nothing) {
  RarEntry packed;
  packed.name = "packed.bin";
  packed.packed = std::string("\x13\x57\x9b\xdf\x02\x46\x8a\xce", 8);
  packed.unpacked_size = 100;
  packed.crc = 0x12345678;
  packed.method = '3';
  std::string archive = run_.WriteArchive("z.rar", RarArchiveBuilder().AddFile(packed));
  EXPECT_EQ(nullptr, run_.Run("E", archive));
  EXPECT_EQ((Tree{{"out/", ""}}), run_.Tree());
  EXPECT_TRUE(Contains(run_.Messages(), " - CRC failed")) << run_.Messages();
}

// No entry comes out writable by anyone but the owner, or unreadable by the owner, or as a link,
// device or pipe: whatever its stored mode, the real extraction makes a plain file or a folder.
TEST_F(RarExtractTest, mode_bits_follow_the_host_system) {
  struct Case {
    const char* label;
    uint8_t host_os;
    uint32_t attributes;
    unsigned mode;
    bool folder = false;
  };
  const Case cases[] = {
      {"unix_0755", 3, 0100755, 0755},
      {"unix_0777", 3, 0100777, 0755},
      {"unix_0777_without_type", 3, 0777, 0755},
      {"unix_0666", 3, 0100666, 0644},
      {"unix_0775", 3, 0100775, 0755},
      {"unix_setuid_0755", 3, 0104755, 0755},
      {"unix_all_special_bits_0777", 3, 0107777, 0755},
      {"unix_0640", 3, 0101640, 0640},
      {"unix_0600", 3, 0100600, 0600},
      {"unix_0000", 3, 0100000, 0600},
      {"unix_0444", 3, 0100444, 0644},
      {"unix_link_0777", 3, 0120777, 0644},
      {"unix_pipe_0666", 3, 0010666, 0644},
      {"unix_device_0666", 3, 0020666, 0644},
      {"unix_folder_0777", 3, 040777, 0755, true},
      {"msdos", 0, 0x21, 0644},
      {"win32", 2, 0x20, 0644},
      {"unknown_host", 5, 0x0, 0644},
  };
  const mode_t old_umask = ::umask(022);  // folders are made with 0755 through the umask
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    RarEntry entry = c.folder ? RarDirectoryEntry("f.bin") : RarStoredEntry("f.bin", "target/of/a/link");
    entry.host_os = c.host_os;
    entry.attributes = c.attributes;
    std::string archive = run_.WriteArchive("u.rar", RarArchiveBuilder().AddFile(entry));
    std::filesystem::remove_all(run_.OutputFolder());
    EXPECT_EQ(nullptr, run_.Run("X", archive));
    EXPECT_TRUE(Contains(run_.Messages(), "\nAll OK")) << run_.Messages();
    struct stat info;
    ASSERT_EQ(0, ::lstat((run_.OutputFolder() + "f.bin").c_str(), &info)) << run_.Messages();
    EXPECT_EQ(c.folder ? S_IFDIR : S_IFREG, info.st_mode & S_IFMT);
    EXPECT_EQ(c.mode, info.st_mode & 07777);
    EXPECT_EQ(0u, info.st_mode & 022) << "writable by others";
    if (!c.folder) {
      EXPECT_EQ("target/of/a/link", run_.Tree()["out/f.bin"]);
    }
  }
  ::umask(old_umask);
}

TEST_F(RarExtractTest, outputs_that_cannot_be_made_are_counted_and_skipped) {
  RarArchiveBuilder builder;
  builder.AddFile(RarDirectoryEntry("blocker\\dir"))
      .AddFile(RarStoredEntry("blocker\\f.txt", "f"))
      .AddFile(RarStoredEntry("ok.txt", "ok"));
  std::string archive = run_.WriteArchive("b.rar", builder);
  std::filesystem::create_directories(run_.OutputFolder());
  folder_.WriteFile("out/blocker", "a file where a folder should be");
  EXPECT_EQ(nullptr, run_.Run("X", archive));
  EXPECT_EQ((Tree{{"out/", ""}, {"out/blocker", "a file where a folder should be"}, {"out/ok.txt", "ok"}}),
            run_.Tree());
  EXPECT_TRUE(Contains(run_.Messages(), "\nCannot create directory " + run_.OutputFolder() + "blocker/dir"))
      << run_.Messages();
  EXPECT_TRUE(Contains(run_.Messages(), "\nCannot create " + run_.OutputFolder() + "blocker/f.txt"))
      << run_.Messages();
  EXPECT_TRUE(Contains(run_.Messages(), "\nTotal errors: 2")) << run_.Messages();
}

TEST_F(RarExtractTest, a_failed_write_stops_the_command_and_removes_the_partial_file) {
  std::string archive = run_.WriteArchive(
      "w.rar", RarArchiveBuilder().AddFile(RarStoredEntry("big.bin", std::string(5000, 'b'))).AddFile(RarStoredEntry("next.txt", "n")));
  std::filesystem::create_directories(run_.OutputFolder());
  // Writes past 1,000 bytes fail (with the signal ignored) for the length of the command.
  struct rlimit old_limit;
  ASSERT_EQ(0, ::getrlimit(RLIMIT_FSIZE, &old_limit));
  struct rlimit small_limit = old_limit;
  small_limit.rlim_cur = 1000;
  auto old_handler = std::signal(SIGXFSZ, SIG_IGN);
  ASSERT_EQ(0, ::setrlimit(RLIMIT_FSIZE, &small_limit));
  const char* result = run_.Run("E", archive);
  ::setrlimit(RLIMIT_FSIZE, &old_limit);
  std::signal(SIGXFSZ, old_handler);
  ASSERT_NE(nullptr, result);
  EXPECT_STREQ("Write Error", result);
  EXPECT_EQ((Tree{{"out/", ""}}), run_.Tree());
}

TEST_F(RarExtractTest, test_and_print_write_no_files) {
  std::string archive = run_.WriteArchive("f.rar", FoldersArchive());
  EXPECT_EQ(nullptr, run_.Run("T", archive));
  EXPECT_EQ((Tree{}), run_.Tree());
  EXPECT_TRUE(Contains(run_.Messages(), "\n\nTesting archive " + archive + "\n")) << run_.Messages();
  EXPECT_TRUE(Contains(run_.Messages(), "\nTesting     sub\\a.txt" + std::string(47, ' ') + " Ok")) << run_.Messages();
  EXPECT_TRUE(Contains(run_.Messages(), "\nAll OK"));

  ::testing::internal::CaptureStdout();
  const char* result = run_.Run("P", archive, {}, {"sub\\*.txt"});
  std::string printed = ::testing::internal::GetCapturedStdout();
  EXPECT_EQ(nullptr, result);
  EXPECT_EQ("aaa", printed);
  EXPECT_TRUE(Contains(run_.Messages(), "\n------ Printing sub\\a.txt\n\n")) << run_.Messages();
  EXPECT_EQ((Tree{}), run_.Tree());
}

TEST_F(RarExtractTest, missing_and_foreign_files_are_refused) {
  EXPECT_STREQ("Unable To Open RAR Archive File", run_.Run("E", folder_.PathOf("arc/none.rar")));
  EXPECT_TRUE(Contains(run_.Messages(), "\nCannot open " + folder_.PathOf("arc/none.rar") + "\n"));
  std::string text = run_.WriteArchive("text.rar", std::string(1000, 'R'));
  EXPECT_STREQ("Not A Valid RAR Archive File", run_.Run("E", text));
  EXPECT_STREQ("Not A Valid RAR File", run_.Run("L", text));
}

// The abort flag, raised from the message sink by the first message after the announcement of
// "first.txt" that holds `g_stop_word`, as the launcher's user-interface thread raises it while a
// command runs.
std::atomic<bool> g_stop{false};
std::string g_stop_messages;
const char* g_stop_word = "";

void StopOnWord(const char* text) {
  const bool after_first = g_stop_messages.find("first.txt") != std::string::npos;
  g_stop_messages += text;
  if (after_first && std::strstr(text, g_stop_word) != nullptr) g_stop.store(true, std::memory_order_release);
}

TEST_F(RarExtractTest, a_raised_abort_flag_stops_between_files_and_inside_a_file) {
  const std::vector<uint8_t> data = SampleMixed(1u << 20, 7);
  const std::string plain(data.begin(), data.end());
  RarEntry stored = RarStoredEntry("big.bin", plain);
  RarEntry packed = stored;
  Rar20Encoder encoder;
  const std::vector<uint8_t> stream = encoder.EncodeData(data, false);
  ASSERT_FALSE(stream.empty()) << encoder.error();
  packed.packed.assign(stream.begin(), stream.end());
  packed.method = '3';

  struct Case {
    const char* label;
    const char* command;
    const RarEntry* big;
    const char* stop_word;
    Tree tree;
  };
  const Tree first_only{{"out/", ""}, {"out/first.txt", "1"}};
  const Case cases[] = {
      {"between_files", "E", &stored, " Ok", first_only},
      {"inside_a_stored_file", "E", &stored, "big.bin", first_only},
      {"inside_a_packed_file", "E", &packed, "big.bin", first_only},
      {"inside_a_tested_file", "T", &packed, "big.bin", {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    const std::string archive = run_.WriteArchive(
        "stop.rar",
        RarArchiveBuilder().AddFile(RarStoredEntry("first.txt", "1")).AddFile(*c.big).AddFile(RarStoredEntry("last.txt", "2")));
    std::filesystem::remove_all(run_.OutputFolder());
    g_stop.store(false);
    g_stop_messages.clear();
    g_stop_word = c.stop_word;
    RarInitialize(run_.OutputFolder().c_str(), StopOnWord);
    ASSERT_EQ(nullptr, RarAddFileName("*.*"));
    RarSetAbortFlag(&g_stop);
    const char* result = ExecuteCommand(c.command, archive.c_str());
    RarSetAbortFlag(nullptr);
    ASSERT_NE(nullptr, result);
    EXPECT_STREQ("Aborted", result);
    EXPECT_EQ(c.tree, run_.Tree()) << g_stop_messages;
    // Nothing is reported after the message that raised the flag: no verdict on the file, no
    // later file, no totals.
    const size_t raised = g_stop_messages.rfind(c.stop_word);
    ASSERT_NE(std::string::npos, raised) << g_stop_messages;
    const std::string after = g_stop_messages.substr(raised + std::strlen(c.stop_word));
    EXPECT_EQ(std::string::npos, after.find_first_not_of(' ')) << g_stop_messages;
  }
}

}  // namespace
