#include "launcher/shell_link.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <string>

#include "tests/support/temp_program_folder.h"

namespace {

using ShellLinkTest = ProgramFolderTest;

TEST(ShellLinkFilePath, lnk_becomes_desktop) {
  EXPECT_EQ("/d/Tarvik Cards.desktop", ShellLink_FilePath("/d/Tarvik Cards.lnk"));
  EXPECT_EQ("/d/Tarvik Cards.desktop", ShellLink_FilePath("/d/Tarvik Cards.LNK"));
  EXPECT_EQ("/d/Tarvik.desktop", ShellLink_FilePath("/d/Tarvik"));
}

// The expected text follows the desktop entry format: the program quoted, '$', '"', '`' and '\'
// escaped inside the quotes, '%' doubled, and then every backslash of the value escaped again.
TEST_F(ShellLinkTest, a_program_entry_runs_the_program_in_its_folder) {
  const std::string link = folder_.PathOf("Tarvik Cards.desktop");
  ASSERT_TRUE(ShellLink_Create(link, "/opt/my $cards/100%/tarvik.exe", "/q \"a\\b\"", "/opt/icons/tarvik.ico",
                               "Tarvik Cards", 0));
  EXPECT_EQ(
      "[Desktop Entry]\n"
      "Type=Application\n"
      "Exec=\"/opt/my \\\\$cards/100%%/tarvik\" \"/q \\\\\"a\\\\\\\\b\\\\\"\"\n"
      "Path=/opt/my $cards/100%\n"
      "Terminal=false\n"
      "Name=Tarvik Cards\n"
      "Comment=Tarvik Cards\n"
      "Icon=/opt/icons/tarvik.ico\n",
      folder_.ReadFile("Tarvik Cards.desktop"));
  struct stat info {};
  ASSERT_EQ(0, ::stat(link.c_str(), &info));
  EXPECT_EQ(0755u, info.st_mode & 0777u);

  EXPECT_TRUE(ShellLink_PointsTo(link, "/opt/my $cards/100%/tarvik.exe"));
  EXPECT_FALSE(ShellLink_PointsTo(link, "/opt/my $cards/100%/Tarvik.exe"));  // case matters here
  EXPECT_FALSE(ShellLink_PointsTo(link, "/opt/other/tarvik.exe"));
  EXPECT_FALSE(ShellLink_PointsTo(folder_.PathOf("missing.desktop"), "/opt/my $cards/100%/tarvik.exe"));
}

TEST_F(ShellLinkTest, targets_read_back_from_their_entries) {
  const std::string targets[] = {
      "/plain/tarvik.exe",
      "/with blank/and\ttab/tarvik.exe",
      "/quotes\"back\\slash`tick/tarvik.exe",
      "/per%cent %%/tarvik.exe",
      "/docs/License.txt",
      "/docs/a b%20c#?.txt",
  };
  int i = 0;
  for (const std::string& target : targets) {
    const std::string link = folder_.PathOf("entry" + std::to_string(i++) + ".desktop");
    ASSERT_TRUE(ShellLink_Create(link, target, nullptr, nullptr, nullptr, 0)) << target;
    EXPECT_TRUE(ShellLink_PointsTo(link, target)) << target << "\n" << folder_.ReadFile(link.substr(folder_.Path().size()));
    EXPECT_FALSE(ShellLink_PointsTo(link, target + "x")) << target;
  }
}

TEST_F(ShellLinkTest, a_document_entry_links_to_the_file) {
  ASSERT_TRUE(ShellLink_Create(folder_.PathOf("View License Agreement.desktop"), "/opt/cards/License 1.txt", nullptr,
                               "/opt/cards/License.ico", nullptr, 0));
  EXPECT_EQ(
      "[Desktop Entry]\n"
      "Type=Link\n"
      "URL=file:///opt/cards/License%201.txt\n"
      "Name=View License Agreement\n"
      "Comment=View License Agreement\n"
      "Icon=/opt/cards/License.ico\n",
      folder_.ReadFile("View License Agreement.desktop"));
}

TEST_F(ShellLinkTest, nothing_is_written_without_a_link_or_a_target_or_a_folder) {
  EXPECT_FALSE(ShellLink_Create("", "/opt/tarvik.exe", nullptr, nullptr, nullptr, 0));
  EXPECT_FALSE(ShellLink_Create(folder_.PathOf("a.desktop"), "", nullptr, nullptr, nullptr, 0));
  EXPECT_FALSE(ShellLink_Create(folder_.PathOf("missing/a.desktop"), "/opt/tarvik.exe", nullptr, nullptr, nullptr, 0));
  EXPECT_FALSE(folder_.Exists("a.desktop"));
}

}  // namespace
