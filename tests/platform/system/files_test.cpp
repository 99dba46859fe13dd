#include "platform/system/files.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <string>
#include <vector>

#include "tests/support/temp_program_folder.h"

namespace {

using Names = std::vector<std::string>;

class FilesTest : public ProgramFolderTest {};

TEST_F(FilesTest, listing_matches_patterns_ignoring_case_and_skips_folders) {
  for (const char* name : {"Bob.not", "ALICE.NOT", "notes.txt", "README"}) folder_.WriteFile(name, "x");
  ASSERT_EQ(::mkdir(folder_.PathOf("Dir.not").c_str(), 0755), 0);
  struct Case {
    const char* pattern;
    Names expected;
  };
  const Case cases[] = {
      {"*.not", {"ALICE.NOT", "Bob.not"}},
      {"*.NOT", {"ALICE.NOT", "Bob.not"}},
      {"*.*", {"ALICE.NOT", "Bob.not", "README", "notes.txt"}},
      {"b?b.*", {"Bob.not"}},
      {"*.wav", {}},
  };
  for (const Case& c : cases) EXPECT_EQ(platform::ListFiles(folder_.Path(), c.pattern), c.expected) << c.pattern;
  EXPECT_EQ(platform::ListFiles("no such folder", "*"), Names{});
}

TEST_F(FilesTest, copy_rename_and_delete_follow_the_replace_rules) {
  folder_.WriteFile("program", "new program");
  folder_.WriteFile("Installed", "old");
  ASSERT_EQ(::chmod(folder_.PathOf("program").c_str(), 04755), 0);

  // Copies keep the permission bits less set-user-id; an existing target is refused on request.
  EXPECT_FALSE(platform::CopyFile("program", "installed", true));
  EXPECT_EQ(folder_.ReadFile("Installed"), "old");
  ASSERT_TRUE(platform::CopyFile("PROGRAM", "copy", true));
  EXPECT_EQ(folder_.ReadFile("copy"), "new program");
  struct stat info {};
  ASSERT_EQ(::stat(folder_.PathOf("copy").c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 07777, 0755u);
  ASSERT_TRUE(platform::CopyFile("program", "INSTALLED", false));  // the existing "Installed"
  EXPECT_EQ(folder_.ReadFile("Installed"), "new program");
  EXPECT_FALSE(folder_.Exists("INSTALLED"));

  // A plain rename never replaces; the replacing one does.
  folder_.WriteFile("_download", "fresh");
  EXPECT_FALSE(platform::MoveFile("_download", "installed"));
  EXPECT_EQ(folder_.ReadFile("Installed"), "new program");
  ASSERT_TRUE(platform::MoveFileEx("_download", "installed", platform::MOVEFILE_REPLACE_EXISTING));
  EXPECT_EQ(folder_.ReadFile("Installed"), "fresh");
  EXPECT_FALSE(folder_.Exists("_download"));
  ASSERT_TRUE(platform::MoveFile("installed", "moved"));
  EXPECT_EQ(folder_.ReadFile("moved"), "fresh");

  EXPECT_TRUE(platform::DeleteFile("MOVED"));
  EXPECT_FALSE(folder_.Exists("moved"));
  EXPECT_FALSE(platform::DeleteFile("moved"));
}

TEST_F(FilesTest, folders_are_made_once_and_removed_only_when_empty) {
  EXPECT_TRUE(platform::CreateDirectory("Group"));
  EXPECT_FALSE(platform::CreateDirectory("group"));  // exists already, in any case
  EXPECT_FALSE(platform::CreateDirectory("a\\b"));   // parent missing
  folder_.WriteFile("Group/link", "x");
  EXPECT_FALSE(platform::RemoveDirectory("GROUP"));
  EXPECT_TRUE(platform::DeleteFile("group\\LINK"));
  EXPECT_TRUE(platform::RemoveDirectory("GROUP"));
  EXPECT_FALSE(platform::FileExists("Group"));
}

TEST_F(FilesTest, size_and_modification_time_are_reported_in_utc) {
  folder_.WriteFile("Banner.a", std::string(257, 'j'));
  // 2001-09-09 01:46:40 UTC is 1,000,000,000 seconds after the epoch.
  const timespec times[2] = {{1000000000, 0}, {1000000000, 0}};
  ASSERT_EQ(::utimensat(AT_FDCWD, folder_.PathOf("Banner.a").c_str(), times, 0), 0);
  const platform::FileInfo info = platform::GetFileInfo("banner.A");
  EXPECT_TRUE(info.exists);
  EXPECT_FALSE(info.is_folder);
  EXPECT_EQ(info.size, 257u);
  EXPECT_EQ(info.modified_utc, 1000000000);
  EXPECT_FALSE(platform::GetFileInfo("missing.a").exists);
}

TEST_F(FilesTest, opened_files_are_close_on_exec) {
  std::FILE* file = platform::FileOpen("log.txt", "a");
  ASSERT_NE(file, nullptr);
  EXPECT_NE(::fcntl(fileno(file), F_GETFD) & FD_CLOEXEC, 0);
  std::fclose(file);
}

}  // namespace
