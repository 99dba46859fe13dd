#include "platform/system/paths.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <string>

#include "tests/support/temp_program_folder.h"

namespace {

class PathsTest : public ProgramFolderTest {
 protected:
  void SetUp() override {
    ASSERT_EQ(::mkdir(folder_.PathOf("Sub").c_str(), 0755), 0);
    for (const char* name : {"Check.WAV", "Sub/Pic.A", "000000000.txt", "Tarvik"}) folder_.WriteFile(name, "x");
  }
};

TEST_F(PathsTest, stored_names_find_the_program_folder_files) {
  struct Case {
    const char* stored;
    std::string expected;
  };
  const Case cases[] = {
      {"check.wav", "Check.WAV"},
      {"CHECK.wav", "Check.WAV"},
      {"Check.WAV", "Check.WAV"},
      {"sub\\pic.a", "Sub/Pic.A"},
      {"SUB/PIC.A", "Sub/Pic.A"},
      {"000000000.txt ", "000000000.txt"},
      {"check.wav  ", "Check.WAV"},
      {"missing.wav", "missing.wav"},
      {"sub\\New.a", "Sub/New.a"},
      {"Missing\\Pic.a", "Missing/Pic.a"},
      {"./sub/../CHECK.WAV", "./Sub/../Check.WAV"},
  };
  for (const Case& c : cases) EXPECT_EQ(platform::NativePath(c.stored), c.expected) << c.stored;
  // Absolute paths with "\" resolve the same way from the root.
  std::string stored = folder_.Path() + "sub\\PIC.a";
  EXPECT_EQ(platform::NativePath(stored), folder_.Path() + "Sub/Pic.A");
}

TEST_F(PathsTest, program_names_ending_in_exe_are_the_native_binaries) {
  struct Case {
    const char* stored;
    std::string expected;
  };
  const Case cases[] = {
      {"tarvik.exe", "Tarvik"},
      {"TARVIK.EXE", "Tarvik"},
      {"tarvik", "Tarvik"},
      {"tvk.exe", "tvk"},
      {"sub\\tool.exe ", "Sub/tool"},
  };
  for (const Case& c : cases) EXPECT_EQ(platform::NativeProgramPath(c.stored), c.expected) << c.stored;
}

TEST_F(PathsTest, current_folder_changes_by_stored_name) {
  ASSERT_TRUE(platform::SetCurrentDirectory("SUB"));
  EXPECT_EQ(platform::GetCurrentDirectory(), folder_.Path() + "Sub/");
  EXPECT_FALSE(platform::SetCurrentDirectory("no such folder"));
  EXPECT_EQ(platform::GetCurrentDirectory(), folder_.Path() + "Sub/");
}

}  // namespace
