#include "cclient/base/startup_file.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "cclient/base/debug_log.h"
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

// Every token in double quotes ("1", "host1.test", ...): a quoted token reads as the bare one.
std::vector<std::string> QuotedTokens() {
  std::vector<std::string> tokens = GoodTokens();
  for (std::string& token : tokens)
    if (token.front() != '"') token = '"' + token + '"';
  return tokens;
}

TEST_F(StartupFileTest, same_values_whatever_the_layout) {
  struct Layout {
    const char* name;
    std::string text;
  } const layouts[] = {
      {"one_line", Join(GoodTokens(), " ")},
      {"one_per_line_crlf", Join(GoodTokens(), "\r\n")},
      {"one_per_line_lf", Join(GoodTokens(), "\n")},
      {"mixed_blanks", Join(GoodTokens(), "\t \r\n  ")},
      {"all_quoted_one_line", Join(QuotedTokens(), " ")},
      {"all_quoted_one_per_line", Join(QuotedTokens(), "\r\n")},
  };
  for (const Layout& layout : layouts) {
    SetUp();
    SCOPED_TRACE(layout.name);
    ASSERT_EQ(ReadWith(layout.text), nullptr);
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
      // Ports outside 1-65535 are refused, not cut to 16 bits.
      {"port_0", 7, "0", "Unable to read INI file"},
      {"port_65536", 9, "65536", "Unable to read INI file"},
      {"port_70000", 11, "70000", "Unable to read INI file"},
      {"port_minus_1", 13, "-1", "Unable to read INI file"},
      {"port_1_fits", 7, "1", nullptr},
      {"port_65535_fits", 13, "65535", nullptr},
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

TEST_F(StartupFileTest, the_log_names_the_file_and_the_token_that_failed) {
  struct Case {
    const char* name;
    int token;
    std::string value;
    std::string log;
  } const cases[] = {
      {"port_out_of_range", 9, "70000", "tarvik.ini: token 10 (server 2 port) is not a port (1-65535).\r\n"},
      {"long_host", 10, std::string(128, 'h'), "tarvik.ini: token 11 (server 3 host) cannot be read.\r\n"},
      {"version", 0, "7", "tarvik.ini: token 1 (version) is not 0 or 1.\r\n"},
      {"end_marker", 20, "END", "tarvik.ini: token 21 (end marker) is not END_OF_FILE.\r\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    DebugLog_Init("tvk.log");
    auto tokens = GoodTokens();
    tokens[c.token] = c.value;
    EXPECT_NE(ReadWith(Join(tokens, "\n")), nullptr);
    EXPECT_EQ(folder_.ReadFile("tvk.log"), c.log);
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

// A token may have at most size - 1 characters; the byte after the buffer is never written.
TEST(ReadFileToken, token_that_does_not_fit_is_refused) {
  struct Case {
    const char* name;
    const char* text;
    int size;
    int result;
  } const cases[] = {
      {"six_in_six", "abcdef", 6, -2},
      {"five_in_six", "abcde", 6, 0},
      {"quoted_six_in_six", "\"abc ef\"", 6, -2},
      {"empty_quoted_in_one", "\"\"", 1, 0},
      {"empty_quoted_in_none", "\"\"", 0, -2},
      {"one_in_none", "a", 0, -2},
  };
  for (const Case& c : cases) {
    std::string text = c.text;
    FILE* f = fmemopen(text.data(), text.size(), "r");
    char token[8];
    std::memset(token, 'z', sizeof token);
    EXPECT_EQ(ReadFileToken(f, token + 1, c.size), c.result) << c.name;
    EXPECT_EQ(token[0], 'z') << c.name;
    EXPECT_EQ(token[1 + c.size], 'z') << c.name;
    std::fclose(f);
  }
}

}  // namespace
