#include "platform/system/text_file.h"

#include <gtest/gtest.h>

#include "tests/support/temp_program_folder.h"

namespace {

TEST(ToCrLf, converts_bare_lf_only) {
  struct Case {
    const char* in;
    const char* out;
  } const cases[] = {
      {"", ""}, {"a\n", "a\r\n"}, {"a\r\nb\n", "a\r\nb\r\n"}, {"\n\n", "\r\n\r\n"}, {"no end", "no end"},
  };
  for (const Case& c : cases) EXPECT_EQ(platform::ToCrLf(c.in), c.out) << c.in;
}

using AppendTextTest = ProgramFolderTest;

TEST_F(AppendTextTest, appends_and_creates) {
  ASSERT_TRUE(platform::AppendText(folder_.PathOf("x.log"), "one\n"));
  ASSERT_TRUE(platform::AppendText(folder_.PathOf("x.log"), "two\n"));
  EXPECT_EQ(folder_.ReadFile("x.log"), "one\r\ntwo\r\n");
  EXPECT_FALSE(platform::AppendText(folder_.PathOf("no/such/folder.log"), "x"));
}

}  // namespace
