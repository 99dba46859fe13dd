#include "rar/rar_names.h"

#include <gtest/gtest.h>

namespace {

struct MatchCase {
  const char* mask;
  const char* name;
  bool reach_below;
  bool selected;
};

TEST(RarNames, masks_select_by_name_part_and_folder) {
  const MatchCase cases[] = {
      {"*.*", "readme", false, true},               // also names without a dot
      {"*.*", "sub\\deep\\a.txt", false, true},     // and every folder
      {"*.txt", "A.TXT", false, true},              // case does not matter
      {"*.txt", "a.txt.bak", false, false},
      {"?.txt", "ab.txt", false, false},
      {"a?c", "abc", false, true},
      {"abc.", "abc", false, true},                 // "." with no partner: no extension
      {"*.", "abc", false, true},
      {"*.", "abc.d", false, false},
      {"readme.txt", "readme.txt", false, true},
      {"readme.txt", "sub\\readme.txt", false, false},
      {"sub\\*.txt", "sub\\a.txt", false, true},
      {"sub/*.txt", "SUB\\a.txt", false, true},     // either separator, any case
      {"sub\\*.txt", "sub\\deeper\\a.txt", false, true},
      {"sub\\*.txt", "a.txt", false, false},
      {"sub\\*.txt", "subway\\a.txt", false, false},  // a folder that only starts alike
      {"sub\\a.txt", "sub\\a.txt", false, true},
      {"sub\\a.txt", "sub\\deeper\\a.txt", false, false},
      {"sub\\a.txt", "sub\\deeper\\a.txt", true, true},
      {"*", "x.y", false, true},
      {"*a*b*c", "xxaxxbxxc", false, true},
      {"*a*b*c", "xxaxxbxxcd", false, false},
  };
  for (const MatchCase& c : cases) {
    EXPECT_EQ(c.selected, MatchName(c.mask, c.name, c.reach_below)) << c.mask << " / " << c.name;
  }
}

TEST(RarNames, exclusions_reach_below_only_with_wildcards_or_recursion) {
  RarNameList exclusions;
  ASSERT_TRUE(exclusions.Add("docs\\notes.txt"));
  ASSERT_TRUE(exclusions.Add("tmp\\*.bak"));
  EXPECT_TRUE(IsExcluded(exclusions, "docs\\notes.txt", false));
  EXPECT_FALSE(IsExcluded(exclusions, "docs\\old\\notes.txt", false));
  EXPECT_TRUE(IsExcluded(exclusions, "docs\\old\\notes.txt", true));
  EXPECT_TRUE(IsExcluded(exclusions, "tmp\\x\\y.bak", false));
  EXPECT_FALSE(IsExcluded(exclusions, "y.bak", false));
}

TEST(RarNames, cleaning_removes_each_prefix_once_in_order) {
  const std::pair<const char*, const char*> cases[] = {
      {"C:\\dir\\a.txt", "dir\\a.txt"},
      {".\\a.txt", "a.txt"},
      {"..\\a.txt", "a.txt"},
      {"\\a.txt", "a.txt"},
      {"C:.\\..\\\\a.txt", "a.txt"},
      {"..\\..\\a.txt", "..\\a.txt"},  // only one "..\" goes; the rest is refused later
      {"\\\\a.txt", "\\a.txt"},
      {"sub\\..\\a.txt", "sub\\..\\a.txt"},
  };
  for (const auto& [stored, cleaned] : cases) EXPECT_EQ(cleaned, CleanStoredName(stored)) << stored;
}

TEST(RarNames, names_that_leave_the_destination_are_unsafe) {
  const std::pair<const char*, bool> cases[] = {
      {"a.txt", true},        {"sub\\a.txt", true},     {"a..b", true},        {".\\a", true},
      {"..\\a.txt", false},   {"sub\\..\\..\\a", false}, {"\\etc\\passwd", false}, {"/etc/passwd", false},
      {"sub/../a", false},    {"..", false},            {"", false},
  };
  for (const auto& [name, safe] : cases) EXPECT_EQ(safe, IsSafeOutputName(name)) << name;
}

}  // namespace
