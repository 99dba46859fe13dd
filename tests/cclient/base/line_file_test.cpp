#include "cclient/base/line_file.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/support/temp_program_folder.h"

namespace {

using LineFileTest = ProgramFolderTest;

TEST_F(LineFileTest, reads_crlf_and_bare_lf_alike) {
  struct Case {
    const char* name;
    std::string bytes;
    std::vector<std::string> lines;
  } const cases[] = {
      {"crlf_no_trailing", "a\r\nb", {"a", "b"}},
      {"crlf_trailing", "a\r\nb\r\n", {"a", "b"}},
      {"bare_lf", "a\nb\n", {"a", "b"}},
      {"mixed", "a\nb\r\nc", {"a", "b", "c"}},
      {"empty_middle_line", "a\r\n\r\nc", {"a", "", "c"}},
      {"lone_cr_is_text", "a\rb", {"a\rb"}},
      {"empty_file", "", {}},
  };
  for (const Case& c : cases) {
    folder_.WriteFile("links.txt", c.bytes);
    LineFile file;
    ASSERT_EQ(file.Read("links.txt"), static_cast<int>(c.lines.size())) << c.name;
    for (size_t i = 0; i < c.lines.size(); ++i) EXPECT_STREQ(file.GetLine(i), c.lines[i].c_str()) << c.name;
  }
}

TEST_F(LineFileTest, long_line_keeps_first_512_and_reading_goes_on) {
  folder_.WriteFile("links.txt", std::string(700, 'x') + "\r\nnext");
  LineFile file;
  ASSERT_EQ(file.Read("links.txt"), 2);
  EXPECT_EQ(std::string(file.GetLine(0)), std::string(512, 'x'));
  EXPECT_STREQ(file.GetLine(1), "next");
}

TEST_F(LineFileTest, missing_file_and_no_name) {
  LineFile file;
  EXPECT_EQ(file.Read("absent.txt"), 0);
  EXPECT_EQ(file.Read(nullptr), -1);
  EXPECT_EQ(file.GetCount(), 0u);
}

TEST_F(LineFileTest, get_line_past_the_end_is_none) {
  folder_.WriteFile("links.txt", "a\r\nb\r\nc");
  LineFile file;
  ASSERT_EQ(file.Read("links.txt"), 3);
  EXPECT_EQ(file.GetLine(5), nullptr);
  EXPECT_EQ(file.GetLine(3), nullptr);
}

TEST_F(LineFileTest, write_uses_crlf_between_lines_and_none_after_last) {
  folder_.WriteFile("links.txt", "one\ntwo\n");
  LineFile file;
  ASSERT_EQ(file.Read("links.txt"), 2);
  file.SetLine(1, "second");
  ASSERT_TRUE(file.Write());
  EXPECT_EQ(folder_.ReadFile("links.txt"), "one\r\nsecond");
  ASSERT_TRUE(file.Write("copy.txt"));
  EXPECT_EQ(folder_.ReadFile("copy.txt"), "one\r\nsecond");
}

TEST_F(LineFileTest, set_line_cuts_at_512_and_ignores_bad_calls) {
  folder_.WriteFile("links.txt", "a\r\nb");
  LineFile file;
  file.Read("links.txt");
  file.SetLine(0, std::string(600, 'y').c_str());
  EXPECT_EQ(std::string(file.GetLine(0)).size(), 512u);
  file.SetLine(2, "ignored");
  file.SetLine(1, nullptr);
  EXPECT_STREQ(file.GetLine(1), "b");
}

TEST_F(LineFileTest, write_does_nothing_without_lines) {
  LineFile file;
  EXPECT_FALSE(file.Write("out.txt"));
  EXPECT_FALSE(folder_.Exists("out.txt"));
  folder_.WriteFile("links.txt", "a");
  file.Read("links.txt");
  file.Clear();
  EXPECT_FALSE(file.Write("out.txt"));
}

}  // namespace
