#include "launcher/meta_file.h"

#include <gtest/gtest.h>

#include <string>

namespace {

struct MetaCase {
  const char* name;
  std::string text;
  int expected;
};

void PrintTo(const MetaCase& c, std::ostream* os) { *os << c.name; }

class MetaFileTest : public ::testing::TestWithParam<MetaCase> {};

TEST_P(MetaFileTest, gives_result_code) {
  const MetaCase& c = GetParam();
  MetaFileContents contents;
  EXPECT_EQ(c.expected, ParseMetaFile(c.text.data(), c.text.size(), &contents));
}

const std::string kFolder = "-1\"\"http://up.example/u/\"\r\n";
const std::string kEnd = "-2\"\"tvk.exe\"\"";

INSTANTIATE_TEST_SUITE_P(
    Files, MetaFileTest,
    ::testing::Values(
        MetaCase{"list", "0\r\n" + kFolder + "1A\"BEEF\"a.b\"\r\n" + kEnd, META_LIST},
        MetaCase{"list_without_files", "0 " + kEnd, META_LIST},
        MetaCase{"anything_after_the_end_line_is_ignored", "0 " + kEnd + "\r\n\"\"-9 junk", META_LIST},
        MetaCase{"message", "1   Closed for maintenance.", META_SERVER_MESSAGE},
        MetaCase{"message_mode_with_nothing_after", "1 \r\n\t ", META_EMPTY_MESSAGE},
        MetaCase{"empty_file", "", META_NO_MODE},
        MetaCase{"no_mode_number", "<html>Not Found</html>", META_NO_MODE},
        MetaCase{"mode_2", "2", META_NO_MODE},
        MetaCase{"mode_0_alone", "0", META_SYNTAX_ERROR},
        MetaCase{"no_end_line", "0 " + kFolder + "1\"2\"a\"", META_SYNTAX_ERROR},
        MetaCase{"file_line_before_a_folder_line", "0 1\"2\"a\"" + kEnd, META_SYNTAX_ERROR},
        MetaCase{"empty_base_url", "0 -1\"data\\\"\"" + kEnd, META_SYNTAX_ERROR},
        MetaCase{"empty_file_name", "0 " + kFolder + "1\"2\"\"" + kEnd, META_SYNTAX_ERROR},
        MetaCase{"missing_quote_after_size", "0 " + kFolder + "1 2\"a\"" + kEnd, META_SYNTAX_ERROR},
        MetaCase{"end_line_missing_its_last_quote", "0 -2\"\"tvk.exe\"args", META_SYNTAX_ERROR},
        MetaCase{"name_of_259_characters", "0 " + kFolder + "1\"2\"" + std::string(259, 'n') + "\"" + kEnd, META_LIST},
        MetaCase{"name_of_260_characters", "0 " + kFolder + "1\"2\"" + std::string(260, 'n') + "\"" + kEnd,
                 META_SYNTAX_ERROR},
        MetaCase{"size_beyond_32_bits", "0 " + kFolder + "100000000\"2\"a\"" + kEnd, META_SYNTAX_ERROR},
        MetaCase{"file_in_a_subfolder", "0 -1\"sounds\\\"http://up.example/u/\"1\"2\"chip.wav\"" + kEnd, META_LIST},
        MetaCase{"name_with_dots_inside", "0 " + kFolder + "1\"2\"..a..b\"" + kEnd, META_LIST},
        MetaCase{"folder_leading_up", "0 -1\"..\\\"http://up.example/u/\"1\"2\"a\"" + kEnd, META_SYNTAX_ERROR},
        MetaCase{"folder_leading_up_further_in", "0 -1\"data\\..\\..\\\"http://up.example/u/\"1\"2\"a\"" + kEnd,
                 META_SYNTAX_ERROR},
        MetaCase{"name_leading_up", "0 " + kFolder + "1\"2\"../.bashrc\"" + kEnd, META_SYNTAX_ERROR},
        MetaCase{"name_that_is_dot_dot", "0 " + kFolder + "1\"2\"..\"" + kEnd, META_SYNTAX_ERROR},
        MetaCase{"absolute_folder", "0 -1\"/etc/\"http://up.example/u/\"1\"2\"a\"" + kEnd, META_SYNTAX_ERROR},
        MetaCase{"folder_with_a_drive", "0 -1\"C:\\tvk\\\"http://up.example/u/\"1\"2\"a\"" + kEnd, META_SYNTAX_ERROR},
        MetaCase{"dash_3_line", "0 " + kFolder + "-3\"x\"", META_BAD_DASH_LINE},
        MetaCase{"dash_without_digits", "0 -\"x\"", META_BAD_DASH_LINE}),
    [](const ::testing::TestParamInfo<MetaCase>& info) { return std::string(info.param.name); });

TEST(MetaFileContentsTest, folder_lines_apply_to_the_files_after_them) {
  const std::string text =
      "0\r\n"
      "-1\"\"http://up.example/upgrade5/\"\r\n"
      "1A2b\"DEADbeef\"tvk\"\r\n"
      "\t-1\"data\\\"http://up.example/upgrade5/data/\"\r\n"
      "\"\"empty.txt\"\r\n"
      "-2\"bin\" tvk.exe\" /p9000 -n\"\r\n";
  MetaFileContents contents;
  ASSERT_EQ(META_LIST, ParseMetaFile(text.data(), text.size(), &contents));
  ASSERT_EQ(2u, contents.files.size());
  EXPECT_EQ(0x1A2Bu, contents.files[0].size);
  EXPECT_EQ(0xDEADBEEFu, contents.files[0].crc);
  EXPECT_EQ("tvk", contents.files[0].name);
  EXPECT_EQ("", contents.files[0].local_folder);
  EXPECT_EQ("http://up.example/upgrade5/", contents.files[0].base_url);
  EXPECT_EQ(0u, contents.files[1].size);
  EXPECT_EQ(0u, contents.files[1].crc);
  EXPECT_EQ("empty.txt", contents.files[1].name);
  EXPECT_EQ("data\\", contents.files[1].local_folder);
  EXPECT_EQ("http://up.example/upgrade5/data/", contents.files[1].base_url);
  EXPECT_EQ("bin", contents.run_folder);
  EXPECT_EQ("tvk.exe", contents.run_program);
  EXPECT_EQ("/p9000 -n", contents.run_arguments);
}

TEST(MetaFileContentsTest, message_is_the_rest_after_the_blanks_up_to_2047_bytes) {
  MetaFileContents contents;
  const std::string text = "1 \t Closed for maintenance.\r\nBack at noon.";
  ASSERT_EQ(META_SERVER_MESSAGE, ParseMetaFile(text.data(), text.size(), &contents));
  EXPECT_EQ("Closed for maintenance.\r\nBack at noon.", contents.server_message);

  const std::string long_text = "1 " + std::string(3000, 'm');
  ASSERT_EQ(META_SERVER_MESSAGE, ParseMetaFile(long_text.data(), long_text.size(), &contents));
  EXPECT_EQ(std::string(2047, 'm'), contents.server_message);
}

}  // namespace
