#include "launcher/command_line.h"

#include <gtest/gtest.h>

#include <string>

namespace {

struct CommandLineCase {
  const char* name;
  std::string line;
  bool skip;
  std::string settings_file;
  std::string rest;
  bool relocated = false;
};

void PrintTo(const CommandLineCase& c, std::ostream* os) { *os << c.name; }

class CommandLineTest : public ::testing::TestWithParam<CommandLineCase> {};

TEST_P(CommandLineTest, gives_skip_settings_file_and_rest) {
  const CommandLineCase& c = GetParam();
  const LauncherCommandLine parsed = ParseLauncherCommandLine(c.line);
  EXPECT_EQ(c.skip, parsed.skip_upgrade);
  EXPECT_EQ(c.settings_file, parsed.settings_file);
  EXPECT_EQ(c.rest, parsed.rest);
  EXPECT_EQ(c.relocated, parsed.relocated);
}

INSTANTIATE_TEST_SUITE_P(
    Lines, CommandLineTest,
    ::testing::Values(
        CommandLineCase{"empty", "", false, "root.ini", ""},
        CommandLineCase{"words_without_q", "  abc def", false, "root.ini", "abc def"},
        CommandLineCase{"q_alone", "/q", true, "root.ini", ""},
        CommandLineCase{"upper_case_q_alone_then_words", "\t/Q abc", true, "root.ini", " abc"},
        CommandLineCase{"q_plus_runs_the_upgrade", "/q+", false, "root.ini", ""},
        CommandLineCase{"q_minus_skips", "/q-", true, "root.ini", ""},
        CommandLineCase{"last_sign_minus_wins", "/q+-", true, "root.ini", ""},
        CommandLineCase{"last_sign_plus_wins", "/q-+", false, "root.ini", ""},
        CommandLineCase{"quoted_name_runs_the_upgrade", "/q\"other.ini\"", false, "other.ini", ""},
        CommandLineCase{"minus_and_name_then_rest", "/q-\"my root.ini\" abc", true, "my root.ini", " abc"},
        CommandLineCase{"unterminated_name_runs_to_the_end", "/q\"open ended", false, "open ended", ""},
        CommandLineCase{"name_kept_to_255_characters", "/q\"" + std::string(300, 'n') + "\"", false,
                        std::string(255, 'n'), ""},
        CommandLineCase{"other_character_ends_the_modifiers", "/qx-", true, "root.ini", "x-"},
        CommandLineCase{"q_not_first_is_rest", "abc /q-", false, "root.ini", "abc /q-"},
        CommandLineCase{"relocated_is_part_of_the_rest", "relocated", false, "root.ini", "relocated", true},
        CommandLineCase{"relocated_first_after_q", "/q- relocated abc", true, "root.ini", " relocated abc", true},
        CommandLineCase{"relocated_later_is_a_users_word", "abc relocated", false, "root.ini", "abc relocated", false},
        CommandLineCase{"relocated_in_other_case_is_a_users_word", "Relocated", false, "root.ini", "Relocated", false},
        CommandLineCase{"longer_word_is_not_relocated", "relocatedhost", false, "root.ini", "relocatedhost", false}),
    [](const ::testing::TestParamInfo<CommandLineCase>& info) { return std::string(info.param.name); });

struct ArgumentsCase {
  const char* name;
  std::string program_arguments;
  std::string rest;
  std::string expected;
};

void PrintTo(const ArgumentsCase& c, std::ostream* os) { *os << c.name; }

class StartedArgumentsTest : public ::testing::TestWithParam<ArgumentsCase> {};

TEST_P(StartedArgumentsTest, joins_arguments_blank_and_rest) {
  const ArgumentsCase& c = GetParam();
  EXPECT_EQ(c.expected, StartedProgramArguments(c.program_arguments, c.rest));
}

INSTANTIATE_TEST_SUITE_P(
    Texts, StartedArgumentsTest,
    ::testing::Values(ArgumentsCase{"rest_only", "", "abc def", " abc def"},
                      ArgumentsCase{"arguments_only", "-n", "", "-n "},
                      ArgumentsCase{"both", "/p9000", "abc def", "/p9000 abc def"},
                      ArgumentsCase{"relocated_alone_is_dropped", "/p9000", "relocated", "/p9000 "},
                      ArgumentsCase{"relocated_before_a_host_is_dropped", "", "relocated lobby.example",
                                    " lobby.example"},
                      ArgumentsCase{"relocated_typed_later_stays", "-n", "abc relocated", "-n abc relocated"},
                      ArgumentsCase{"relocated_in_other_case_stays", "-n", "RELOCATED abc", "-n RELOCATED abc"},
                      ArgumentsCase{"only_the_first_relocated_is_dropped", "", "relocated relocated", " relocated"},
                      ArgumentsCase{"longer_word_is_kept", "", "relocatedhost", " relocatedhost"}),
    [](const ::testing::TestParamInfo<ArgumentsCase>& info) { return std::string(info.param.name); });

}  // namespace
