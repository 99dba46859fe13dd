// The client's command line read into its words, and the "/z" parameter file that takes its place.
#include "cclient/base/client_command_line.h"

#include <gtest/gtest.h>

#include <string>

#include "cclient/base/debug_log.h"
#include "tests/support/temp_program_folder.h"

namespace {

constexpr const char* kIncorrect = "Incorrect parameters entered\n";

class ClientCommandLineTest : public ProgramFolderTest {};

TEST_F(ClientCommandLineTest, words_set_the_options_port_and_host) {
  struct Case {
    const char* name;
    const char* text;
    const char* error;  // nullptr: accepted
    int32_t debug_level;
    bool music_off;
    bool sound_off;
    bool net_logging;
    int32_t port;
    const char* host;
  } const cases[] = {
      {"nothing", "", nullptr, 0, false, false, false, -1, ""},
      {"port_after_capital_p", "/P8090", nullptr, 0, false, false, false, 8090, ""},
      {"debuglog_after_dash", "-debuglog", nullptr, 100, false, false, false, -1, ""},
      {"highest_port", "/p65535", nullptr, 0, false, false, false, 65535, ""},
      {"lowest_port", "-P1", nullptr, 0, false, false, false, 1, ""},
      // Ports outside 1-65535 are refused, not cut to 16 bits.
      {"letters_after_p_give_0", "/pxyz", kIncorrect, 0, false, false, false, -1, ""},
      {"port_0", "/p0", kIncorrect, 0, false, false, false, -1, ""},
      {"port_65536", "/p65536", kIncorrect, 0, false, false, false, -1, ""},
      {"port_70000", "/p70000 alpha", kIncorrect, 0, false, false, false, -1, ""},
      {"port_minus_1", "/p-1", kIncorrect, 0, false, false, false, -1, ""},
      {"number_stops_at_a_letter", "/p80a90", nullptr, 0, false, false, false, 80, ""},
      {"flags_in_any_case", "/M -N /NetLog", nullptr, 0, true, true, true, -1, ""},
      {"host_and_port", "/p8090 127.0.0.1", nullptr, 0, false, false, false, 8090, "127.0.0.1"},
      {"tabs_separate", "\t/m\thost\t", nullptr, 0, true, false, false, -1, "host"},
      // A parameter file's lines: the breaks separate words and stay out of them.
      {"crlf_lines", "/p8090\r\n127.0.0.1\r\n", nullptr, 0, false, false, false, 8090, "127.0.0.1"},
      {"lf_lines", "-netlog\nalpha\n", nullptr, 0, false, false, true, -1, "alpha"},
      {"unknown_option", "/x", kIncorrect, 0, false, false, false, -1, ""},
      {"lone_sign", "/ alpha", kIncorrect, 0, false, false, false, -1, ""},
      {"two_hosts", "alpha beta", kIncorrect, 0, false, false, false, -1, "alpha"},
      {"two_hosts_on_lines", "alpha\r\nbeta\r\n", kIncorrect, 0, false, false, false, -1, "alpha"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    CommandLineWords words;
    const char* error = ReadCommandLineWords(c.text, &words);
    if (c.error == nullptr) {
      EXPECT_EQ(error, nullptr) << error;
    } else {
      ASSERT_NE(error, nullptr);
      EXPECT_STREQ(error, c.error);
      continue;
    }
    EXPECT_EQ(words.debug_level, c.debug_level);
    EXPECT_EQ(words.music_off, c.music_off);
    EXPECT_EQ(words.sound_off, c.sound_off);
    EXPECT_EQ(words.net_logging, c.net_logging);
    EXPECT_EQ(words.port, c.port);
    EXPECT_EQ(words.host, c.host);
  }
}

TEST_F(ClientCommandLineTest, a_refused_port_and_an_unknown_option_are_logged) {
  DebugLog_Init("tvk.log");
  CommandLineWords words;
  EXPECT_NE(ReadCommandLineWords("/p70000", &words), nullptr);
  EXPECT_NE(ReadCommandLineWords("/q", &words), nullptr);
  EXPECT_EQ(folder_.ReadFile("tvk.log"),
            "Server port of 'p70000' is out of range (1-65535).\r\n"
            "Unknown command line option of 'q'\r\n");
}

TEST_F(ClientCommandLineTest, parameter_file_text_is_followed_by_the_rest_of_the_line) {
  folder_.WriteFile("my params.txt", "/p8090\r\n");
  folder_.WriteFile("plain.txt", "-m");
  folder_.WriteFile("empty.txt", "");
  struct Case {
    const char* name;
    const char* command_line;
    const char* error;
    std::string text;
    bool force_full_upgrade;
  } const cases[] = {
      {"no_file", "/u  /m host", nullptr, "/m host", true},
      {"quoted_name_with_blanks", "/z\"my params.txt\" host", nullptr, "/p8090\r\n host", false},
      {"dash_and_capital_z", "-Zplain.txt /n", nullptr, "-m /n", false},
      {"upgrade_then_file", "/U /zplain.txt", nullptr, "-m", true},
      {"blank_after_z", "/z plain.txt", "Input parameter file name expected for /Z option.", "",
       false},
      {"missing_file", "/zmissing.txt", "Unable to open input parameter file for /Z option.", "",
       false},
      {"empty_file", "/zempty.txt", "Unable to read input parameters from file for /Z option.", "",
       false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::string text;
    bool force_full_upgrade = false;
    const char* error = ReadCommandText(c.command_line, &text, &force_full_upgrade);
    EXPECT_EQ(force_full_upgrade, c.force_full_upgrade);
    if (c.error != nullptr) {
      ASSERT_NE(error, nullptr);
      EXPECT_STREQ(error, c.error);
      continue;
    }
    EXPECT_EQ(error, nullptr) << error;
    EXPECT_EQ(text, c.text);
  }
}

}  // namespace
