#include "platform/system/ascii_text.h"

#include <gtest/gtest.h>

namespace {

// Only the 26 ASCII letters have a case; the bytes of "Ä" in Latin-1 (0xC4 / 0xE4) and in UTF-8
// stay apart, and so do '@' and '`', '[' and '{', the neighbours of the letter ranges.
TEST(AsciiText, only_ascii_letters_compare_without_case) {
  struct Case {
    const char* name;
    const char* a;
    const char* b;
    bool equal;
  } const cases[] = {
      {"letters", "Check.WAV", "check.wav", true},
      {"empty", "", "", true},
      {"lengths_differ", "abc", "abcd", false},
      {"latin1_letters", "\xC4", "\xE4", false},
      {"utf8_letters", "\xC3\x84", "\xC3\xA4", false},
      {"at_and_grave", "@", "`", false},
      {"brackets", "[", "{", false},
  };
  for (const Case& c : cases) EXPECT_EQ(platform::EqualsIgnoringCase(c.a, c.b), c.equal) << c.name;
}

TEST(AsciiText, prefix_must_fit_inside_the_text) {
  EXPECT_TRUE(platform::StartsWithIgnoringCase("HTTPS://host", "https://"));
  EXPECT_TRUE(platform::StartsWithIgnoringCase("/Q+", "/q"));
  EXPECT_FALSE(platform::StartsWithIgnoringCase("http:", "http://"));
  EXPECT_FALSE(platform::StartsWithIgnoringCase("ftp://host", "http"));
}

TEST(AsciiText, lower_changes_capitals_only) {
  EXPECT_EQ(platform::AsciiLower("Sub\\Key Name\xC4Z@["), "sub\\key name\xC4z@[");
}

}  // namespace
