#include "platform/controls/edit_text.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace platform::controls {
namespace {

// Every character one pixel wide, so a wrap width is a number of characters.
CharacterWidths UnitWidths() {
  CharacterWidths widths;
  widths.fill(1);
  return widths;
}

std::vector<std::string> ShownTexts(const std::string& text, int wrap_width) {
  std::vector<std::string> shown;
  for (const ShownLine& line : LayOutLines(text, UnitWidths(), wrap_width)) {
    shown.push_back(text.substr(line.start, line.end - line.start));
  }
  return shown;
}

TEST(EditTextTest, lines_break_at_line_ends_and_between_words) {
  struct Case {
    const char* name;
    std::string text;
    int wrap_width;
    std::vector<std::string> lines;
  };
  const Case cases[] = {
      {"empty text is one empty line", "", 0, {""}},
      {"CR LF ends a line", "one\r\ntwo", 0, {"one", "two"}},
      {"a trailing CR LF leaves an empty last line", "one\r\n", 0, {"one", ""}},
      {"a bare LF or CR ends a line as well", "a\nb\rc", 0, {"a", "b", "c"}},
      {"two CR LF make an empty line between", "a\r\n\r\nb", 0, {"a", "", "b"}},
      {"a line wraps before the word that passes the width", "the quick fox", 9, {"the quick ", "fox"}},
      {"blanks may hang past the edge", "abc     def", 4, {"abc     ", "def"}},
      {"a word longer than the line is broken", "abcdefghij", 4, {"abcd", "efgh", "ij"}},
      {"wrapping restarts after each line end", "ab cd\r\nef gh", 3, {"ab ", "cd", "ef ", "gh"}},
  };
  for (const Case& test : cases) {
    SCOPED_TRACE(test.name);
    EXPECT_EQ(ShownTexts(test.text, test.wrap_width), test.lines);
  }
}

TEST(EditTextTest, caret_steps_over_cr_lf_as_one_character) {
  EditText text;
  text.SetText("ab\r\ncd");
  EXPECT_EQ(text.Next(2), 4u);
  EXPECT_EQ(text.Previous(4), 2u);
  text.Select(0, 3);  // inside the pair: moved before it
  EXPECT_EQ(text.caret(), 2u);
  const std::vector<ShownLine> lines = LayOutLines(text.text(), UnitWidths(), 0);
  EXPECT_EQ(LineOf(lines, 2), 0u);
  EXPECT_EQ(LineOf(lines, 4), 1u);
  EXPECT_EQ(LineOf(lines, 6), 1u);
}

TEST(EditTextTest, replacing_obeys_the_limit_without_splitting_cr_lf) {
  EditText text;
  text.set_limit(4);
  text.SetText("ab");
  text.MoveCaret(2, false);
  EXPECT_FALSE(text.ReplaceSelection("c\r\nd", true));
  EXPECT_EQ(text.text(), "abc") << "the CR of a pair that does not fit whole stays out";
  text.Select(0, 3);
  EXPECT_TRUE(text.ReplaceSelection("wxyz", true)) << "the selection's room counts";
  EXPECT_EQ(text.text(), "wxyz");
  EXPECT_TRUE(text.ReplaceSelection("more than the limit", false));
  EXPECT_EQ(text.text(), "wxyzmore than the limit");
}

}  // namespace
}  // namespace platform::controls
