#include "cclient/core/startup_file.h"

#include <gtest/gtest.h>

#include <string>

#include "tests/support/temp_program_folder.h"

namespace {

// The 21 tokens of a good file, in order.
std::vector<std::string> GoodTokens() {
  return {"1",           "2",          "3",         "44",        "5",
          "\"Card Room\"", "host1.test", "8085",      "host2.test", "8086",
          "host3.test",  "8087",       "host4.test", "8088",      "https://site.test/",
          "https://secure.test/", "https://site.test/splash", "SOFTWARE\\Room\\Options",
          "https://status.test/", "https://banners.test/", "END_OF_FILE"};
}

std::string Join(const std::vector<std::string>& tokens, const std::string& sep) {
  std::string out;
  for (size_t i = 0; i < tokens.size(); ++i) out += (i ? sep : "") + tokens[i];
  return out;
}

class StartupFileTest : public ProgramFolderTest {
 protected:
  void SetUp() override {
    g_StartupSettings = StartupSettings_BuiltIn();
    PlayMoneyEdition = 0;
  }
  const char* ReadWith(const std::string& text) {
    folder_.WriteFile("tarvik.ini", text);
    return ReadStartupFile("tarvik.ini");
  }
};

TEST_F(StartupFileTest, same_values_whatever_the_layout) {
  for (const char* sep : {" ", "\r\n", "\n", "\t \r\n  "}) {
    SetUp();
    ASSERT_EQ(ReadWith(Join(GoodTokens(), sep)), nullptr) << "separator " << sep;
    const StartupSettings& s = g_StartupSettings;
    EXPECT_EQ(PlayMoneyEdition, 1);
    EXPECT_EQ(s.os_id, 2u);
    EXPECT_EQ(s.variant_id, 3u);
    EXPECT_EQ(s.site_id, 44u);
    EXPECT_EQ(s.upgrade_series, 5u);
    EXPECT_STREQ(s.display_name, "Card Room");
    EXPECT_STREQ(s.servers[0].host, "host1.test");
    EXPECT_EQ(s.servers[3].port, 8088u);
    EXPECT_STREQ(s.options_key, "SOFTWARE\\Room\\Options");
    EXPECT_STREQ(s.banner_base_address, "https://banners.test/");
  }
}

TEST_F(StartupFileTest, built_in_values_stand_before_reading) {
  const StartupSettings s = StartupSettings_BuiltIn();
  EXPECT_STREQ(s.display_name, "Gaming");
  EXPECT_STREQ(s.servers[2].host, "server");
  EXPECT_EQ(s.servers[2].port, 8085u);
  EXPECT_EQ(s.variant_id, 1u);
  EXPECT_EQ(s.site_id, 1u);
  EXPECT_EQ(s.upgrade_series, 0xFFFFFFFFu);
  EXPECT_STREQ(s.options_key, "SOFTWARE\\Gaming\\Options");
}

TEST_F(StartupFileTest, long_display_name_is_cut_to_63) {
  auto tokens = GoodTokens();
  tokens[5] = std::string(70, 'n');
  ASSERT_EQ(ReadWith(Join(tokens, " ")), nullptr);
  EXPECT_EQ(std::string(g_StartupSettings.display_name), std::string(63, 'n'));
}

TEST_F(StartupFileTest, failures_leave_built_in_values) {
  struct Case {
    const char* name;
    int token;            // index to replace, or -1 to drop the last token
    std::string value;
    const char* error;
  } const cases[] = {
      {"host_of_128", 6, std::string(128, 'h'), "Unable to read INI file"},
      {"host_of_127_fits", 6, std::string(127, 'h'), nullptr},
      {"missing_end", -1, "", "Unable to read INI file"},
      {"end_in_other_case", 20, "end_of_file", "Unable to read INI file"},
      {"version_2", 0, "2", "Unsupported INI version"},
      {"version_not_number", 0, "x", "Unable to read INI file"},
      {"port_not_number", 7, "http", "Unable to read INI file"},
      {"unterminated_quote", 14, "\"https://site", "Unable to read INI file"},
  };
  for (const Case& c : cases) {
    SetUp();
    auto tokens = GoodTokens();
    if (c.token < 0) tokens.pop_back(); else tokens[c.token] = c.value;
    const char* error = ReadWith(Join(tokens, "\n"));
    if (c.error == nullptr) {
      EXPECT_EQ(error, nullptr) << c.name;
      continue;
    }
    ASSERT_NE(error, nullptr) << c.name;
    EXPECT_STREQ(error, c.error) << c.name;
    EXPECT_STREQ(g_StartupSettings.display_name, "Gaming") << c.name;
    EXPECT_EQ(PlayMoneyEdition, 0) << c.name;
  }
}

TEST_F(StartupFileTest, missing_file_cannot_be_opened) {
  EXPECT_STREQ(ReadStartupFile("tarvik.ini"), "Unable to open INI file");
}

TEST(ReadFileToken, quoted_text_keeps_blanks_and_eats_next_char) {
  char text[] = "  \"a b\"X next";
  FILE* f = fmemopen(text, sizeof text - 1, "r");
  char token[16];
  ASSERT_EQ(ReadFileToken(f, token, sizeof token), 0);
  EXPECT_STREQ(token, "a b");
  ASSERT_EQ(ReadFileToken(f, token, sizeof token), 0);
  EXPECT_STREQ(token, "next");
  EXPECT_EQ(ReadFileToken(f, token, sizeof token), -1);
  std::fclose(f);
}

TEST(ReadFileToken, token_longer_than_buffer_is_refused) {
  char text[] = "abcdef";
  FILE* f = fmemopen(text, sizeof text - 1, "r");
  char token[6];
  EXPECT_EQ(ReadFileToken(f, token, sizeof token), -2);
  std::fclose(f);
}

}  // namespace
