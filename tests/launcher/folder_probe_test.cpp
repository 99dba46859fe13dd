#include "launcher/folder_probe.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdlib>
#include <map>
#include <string>
#include <vector>

#include "tests/support/temp_program_folder.h"

namespace {

bool IsFolder(const std::string& path) {
  struct stat info {};
  return ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

// The user's folders inside the test folder; table A's data folder and desktop exist.
class FolderProbeTest : public ProgramFolderTest {
 protected:
  void SetUp() override {
    root_ = folder_.Path() + "user";
    ::setenv("TVK_CONFIG_ROOT", root_.c_str(), 1);
    for (const char* name : {"user", "user/data", "user/home", "user/Desktop", "user/cache", "user/applications",
                             "user/system-applications"}) {
      ASSERT_EQ(0, ::mkdir(folder_.PathOf(name).c_str(), 0755));
    }
  }
  void TearDown() override { ::unsetenv("TVK_CONFIG_ROOT"); }

  std::string root_;
};

TEST_F(FolderProbeTest, the_real_probe_program_runs_and_sets_all_four_bits) {
  const std::vector<uint8_t> program = FolderProbe_ProgramBytes();
  ASSERT_FALSE(program.empty()) << "no probe program for this machine";
  EXPECT_EQ(FOLDERPROBE_USABLE, FolderProbe_RunProgramIn(program, folder_.Path() + "user"));
  EXPECT_FALSE(folder_.Exists("user/fst"));

  FolderProbe probe;
  FolderProbe_Init(&probe, "Tarvik Cards");
  EXPECT_TRUE(FolderProbe_IsUsable(&probe, root_ + "/cache"));
  EXPECT_EQ(FOLDERPROBE_USABLE, FolderProbe_TestSubFolder(&probe, root_ + "/cache", "Tarvik Cards"));
  EXPECT_FALSE(folder_.Exists("user/cache/Tarvik Cards"));
  // A folder that is not there cannot be written.
  EXPECT_EQ(0, FolderProbe_TestFolder(&probe, root_ + "/missing"));
  FolderProbe_Release(&probe);
}

TEST_F(FolderProbeTest, table_paths_stand_for_the_users_folders) {
  FolderProbe probe;
  FolderProbe_Init(&probe, "Tarvik Cards");
  const std::string current = folder_.Path().substr(0, folder_.Path().size() - 1);
  const std::map<int, std::string> expected = {
      {CSIDL_PROGRAM_FILES, root_ + "/data"},          {FOLDER_CURRENT, current},
      {FOLDER_ROOT, root_ + "/home"},                  {CSIDL_COMMON_DESKTOPDIRECTORY, root_ + "/Desktop"},
      {CSIDL_DESKTOPDIRECTORY, root_ + "/Desktop"},    {CSIDL_INTERNET_CACHE, root_ + "/cache"},
      {CSIDL_COMMON_STARTMENU, root_ + "/system-applications"},
      {CSIDL_COMMON_PROGRAMS, root_ + "/system-applications"},
      {CSIDL_STARTMENU, root_ + "/applications"},      {CSIDL_PROGRAMS, root_ + "/applications"}};
  for (const auto& [id, path] : expected) EXPECT_EQ(path, FolderProbe_PathOf(&probe, id)) << id;
  EXPECT_EQ("", FolderProbe_PathOf(&probe, 99));
}

// The fake probe gives bits per folder: a noexec folder is written, read and overwritten but its
// program does not run.
TEST_F(FolderProbeTest, first_usable_skips_folders_missing_a_bit_in_table_order) {
  constexpr uint8_t kNoExec = FOLDERPROBE_WRITTEN | FOLDERPROBE_READ_BACK | FOLDERPROBE_OVERWRITTEN;
  const std::string current = folder_.Path().substr(0, folder_.Path().size() - 1);
  struct Case {
    const char* name;
    std::map<std::string, uint8_t> bits;  // others: 0
    std::string first_usable;
  };
  const Case cases[] = {
      {"data_folder_first", {{root_ + "/data/P", 15}, {root_ + "/home/P", 15}}, root_ + "/data"},
      {"noexec_data_folder_then_current", {{root_ + "/data/P", kNoExec}, {current, 15}}, current},
      {"then_home", {{root_ + "/data/P", kNoExec}, {current, 7}, {root_ + "/home/P", 15}}, root_ + "/home"},
      {"table_b_after_table_a", {{root_ + "/applications", 15}}, root_ + "/applications"},
      {"current_is_probed_in_itself_not_below", {{current + "/P", 15}}, ""},
      {"none", {}, ""},
  };
  for (const Case& c : cases) {
    std::vector<std::string> probed;
    FolderProbe probe;
    FolderProbe_Init(&probe, "P", [&](const std::string& folder) -> uint8_t {
      probed.push_back(folder);
      // Table A's sub-folders exist while they are probed.
      EXPECT_TRUE(IsFolder(folder)) << folder;
      const auto found = c.bits.find(folder);
      return found == c.bits.end() ? 0 : found->second;
    });
    EXPECT_TRUE(probed.empty()) << c.name;
    EXPECT_EQ(c.first_usable, FolderProbe_FirstUsable(&probe, FOLDERPROBE_USABLE)) << c.name;
    EXPECT_EQ(10u, probed.size()) << c.name;
    // The tables are probed once.
    EXPECT_EQ(c.first_usable, FolderProbe_FirstUsable(&probe, FOLDERPROBE_USABLE)) << c.name;
    EXPECT_EQ(10u, probed.size()) << c.name;
    FolderProbe_Release(&probe);
  }
  // The probe sub-folders are gone again.
  for (const char* name : {"user/data/P", "user/home/P", "user/Desktop/P", "user/cache/P"}) {
    EXPECT_FALSE(folder_.Exists(name)) << name;
  }
}

TEST_F(FolderProbeTest, a_sub_folder_that_was_there_stays_and_bad_names_probe_nothing) {
  ASSERT_EQ(0, ::mkdir(folder_.PathOf("user/home/Kept").c_str(), 0755));
  int calls = 0;
  FolderProbe probe;
  FolderProbe_Init(&probe, "Kept", [&](const std::string&) -> uint8_t {
    ++calls;
    return 15;
  });
  EXPECT_EQ(15, FolderProbe_TestSubFolder(&probe, root_ + "/home", "Kept"));
  EXPECT_TRUE(folder_.Exists("user/home/Kept"));
  EXPECT_EQ(0, FolderProbe_TestSubFolder(&probe, root_ + "/home", ""));
  EXPECT_EQ(0, FolderProbe_TestSubFolder(&probe, "", "Kept"));
  EXPECT_EQ(0, FolderProbe_TestFolder(&probe, ""));
  EXPECT_EQ(0, FolderProbe_TestFolder(&probe, "/" + std::string(251, 'x')));  // with "/fst.exe": 260
  EXPECT_EQ(15, FolderProbe_TestFolder(&probe, "/" + std::string(250, 'x')));
  EXPECT_EQ(2, calls);
}

}  // namespace
