#include "launcher/root_ini.h"

#include <gtest/gtest.h>

#include <string>

#include "tests/launcher/support/upgrade_fixture.h"
#include "tests/support/temp_program_folder.h"

namespace {

// The client's template up to (and without) its end marker.
std::string TemplateWithoutMarker() {
  std::string text = ClientRootIni("http://upgrade.example/upgrade5/upgrade.ini");
  return text.substr(0, text.find("END_OF_FILE"));
}

struct RootIniCase {
  const char* name;
  std::string text;
  int expected;
  std::string product_name = "";
  std::string registry_key = "";
  std::string shortcut_file_name = "";
};

void PrintTo(const RootIniCase& c, std::ostream* os) { *os << c.name; }

class RootIniTest : public ProgramFolderTest, public ::testing::WithParamInterface<RootIniCase> {};

TEST_P(RootIniTest, reads_result_and_optional_tokens) {
  const RootIniCase& c = GetParam();
  folder_.WriteFile("root.ini", c.text);
  RootIniSettings settings;
  EXPECT_EQ(c.expected, ReadRootIni("root.ini", &settings));
  if (c.expected != ROOTINI_OK) return;
  EXPECT_EQ(c.product_name, settings.product_name);
  EXPECT_EQ(c.registry_key, settings.registry_key);
  EXPECT_EQ(c.shortcut_file_name, settings.shortcut_file_name);
}

const std::string kPath259(259, 'p');
const std::string kPath260(260, 'p');

INSTANTIATE_TEST_SUITE_P(
    Files, RootIniTest,
    ::testing::Values(
        RootIniCase{"client_template", ClientRootIni("http://upgrade.example/upgrade5/upgrade.ini"), ROOTINI_OK},
        RootIniCase{"ends_right_after_the_marker", TemplateWithoutMarker() + "END_OF_FILE", ROOTINI_OK},
        RootIniCase{"version_1", "1" + TemplateWithoutMarker().substr(1) + "END_OF_FILE\r\n", ROOTINI_BAD_VERSION},
        RootIniCase{"version_not_a_number", "x" + TemplateWithoutMarker().substr(1) + "END_OF_FILE\r\n",
                    ROOTINI_NO_VERSION},
        RootIniCase{"empty_file", "", ROOTINI_NO_VERSION},
        RootIniCase{"marker_in_lower_case", TemplateWithoutMarker() + "end_of_file\r\n", ROOTINI_NO_END_MARKER},
        RootIniCase{"marker_missing", TemplateWithoutMarker(), ROOTINI_MISSING_TOKEN},
        RootIniCase{"button_width_not_a_number", "0 i s FFFFFF 230 Cancel 244 290 wide 20 u \"\" \"\" p \"\" END_OF_FILE",
                    ROOTINI_MISSING_TOKEN},
        RootIniCase{"unterminated_quote", "0 i s FFFFFF 230 \"Cancel 244 290 64 20 u", ROOTINI_MISSING_TOKEN},
        RootIniCase{"path_of_259_characters", "0 i " + kPath259 + " FFFFFF 230 Cancel 244 290 64 20 u \"\" \"\" p \"\" END_OF_FILE",
                    ROOTINI_OK},
        RootIniCase{"path_of_260_characters", "0 i " + kPath260 + " FFFFFF 230 Cancel 244 290 64 20 u \"\" \"\" p \"\" END_OF_FILE",
                    ROOTINI_MISSING_TOKEN},
        RootIniCase{"quoted_path_of_260_characters",
                    "0 i \"" + kPath260 + "\" FFFFFF 230 Cancel 244 290 64 20 u \"\" \"\" p \"\" END_OF_FILE",
                    ROOTINI_MISSING_TOKEN},
        RootIniCase{"all_optional_tokens",
                    TemplateWithoutMarker() + "END_OF_FILE\r\n\"Tarvik Poker\" \"SOFTWARE\\Tarvik\" \"Tarvik Poker.lnk\" END\r\n",
                    ROOTINI_OK, "Tarvik Poker", "SOFTWARE\\Tarvik", "Tarvik Poker.lnk"},
        RootIniCase{"optional_tokens_without_closing_token",
                    TemplateWithoutMarker() + "END_OF_FILE\r\n\"Tarvik Poker\" \"SOFTWARE\\Tarvik\" \"Tarvik Poker.lnk\"\r\n",
                    ROOTINI_OK},
        RootIniCase{"product_and_key_only", TemplateWithoutMarker() + "END_OF_FILE \"Tarvik Poker\" SOFTWARE\\Tarvik",
                    ROOTINI_OK},
        RootIniCase{"closing_token_too_long",
                    TemplateWithoutMarker() + "END_OF_FILE P K S " + std::string(32, 'c'), ROOTINI_OK}),
    [](const ::testing::TestParamInfo<RootIniCase>& info) { return std::string(info.param.name); });

TEST_F(ProgramFolderTest, a_failure_names_the_token_that_failed) {
  struct Case {
    const char* name;
    std::string text;
    int failed_token;
  } const cases[] = {
      {"version_not_a_number", "x i s", 1},
      {"version_1", "1 i s", 1},
      {"button_width_not_a_number", "0 i s FFFFFF 230 Cancel 244 290 wide 20 u \"\" \"\" p \"\" END_OF_FILE", 9},
      {"unterminated_quote", "0 i s FFFFFF 230 \"Cancel 244 290 64 20 u", 6},
      {"marker_missing", TemplateWithoutMarker(), 16},
      {"marker_in_lower_case", TemplateWithoutMarker() + "end_of_file\r\n", 16},
  };
  for (const Case& c : cases) {
    folder_.WriteFile("root.ini", c.text);
    RootIniSettings settings;
    int failed_token = -1;
    EXPECT_NE(ROOTINI_OK, ReadRootIni("root.ini", &settings, &failed_token)) << c.name;
    EXPECT_EQ(c.failed_token, failed_token) << c.name;
  }
  RootIniSettings settings;
  int failed_token = -1;
  EXPECT_EQ(ROOTINI_CANNOT_OPEN, ReadRootIni("absent.ini", &settings, &failed_token));
  EXPECT_EQ(0, failed_token);
}

TEST_F(ProgramFolderTest, client_template_gives_every_setting) {
  folder_.WriteFile("root.ini", ClientRootIni("http://upgrade.example/upgrade5/upgrade.ini"));
  RootIniSettings settings;
  ASSERT_EQ(ROOTINI_OK, ReadRootIni("root.ini", &settings));
  EXPECT_EQ(0, settings.version);
  EXPECT_STREQ("tarvik.ico", settings.icon_file);
  EXPECT_STREQ("splash.a", settings.background_picture);
  EXPECT_EQ(0xFFFFFFul, settings.status_text_colour);
  EXPECT_EQ(230, settings.status_text_top);
  EXPECT_STREQ("Cancel", settings.button_caption);
  EXPECT_EQ(244, settings.button_left);
  EXPECT_EQ(290, settings.button_top);
  EXPECT_EQ(64, settings.button_width);
  EXPECT_EQ(20, settings.button_height);
  EXPECT_STREQ("http://upgrade.example/upgrade5/upgrade.ini", settings.meta_file_url_1);
  EXPECT_STREQ("", settings.meta_file_url_2);
  EXPECT_STREQ("", settings.default_program_folder);
  EXPECT_STREQ("tvk.exe", settings.default_program);
  EXPECT_STREQ("", settings.default_program_arguments);
  EXPECT_STREQ("", settings.product_name);
}

TEST_F(ProgramFolderTest, missing_settings_file_gives_1) {
  RootIniSettings settings;
  EXPECT_EQ(ROOTINI_CANNOT_OPEN, ReadRootIni("root.ini", &settings));
}

}  // namespace
