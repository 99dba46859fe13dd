#include "platform/system/guid.h"

#include <gtest/gtest.h>

#include <cctype>
#include <string>

namespace {

using platform::GUID;

// 8-4-4-4-12 upper-case hexadecimal digits; the third group starts with 4 (version 4) and the
// fourth with 8, 9, A or B (the standard variant).
bool HasRandomGuidForm(const std::string& text) {
  if (text.size() != 36) return false;
  for (size_t i = 0; i < text.size(); ++i) {
    const bool dash_place = i == 8 || i == 13 || i == 18 || i == 23;
    const char c = text[i];
    if (dash_place != (c == '-')) return false;
    if (!dash_place && !(std::isdigit(static_cast<unsigned char>(c)) || (c >= 'A' && c <= 'F'))) return false;
  }
  return text[14] == '4' && std::string("89AB").find(text[19]) != std::string::npos;
}

TEST(Guid, text_shows_the_fields_in_upper_case_eight_four_four_four_twelve) {
  const GUID guid{0x01234567, 0x89AB, 0x0DEF, {0x01, 0x23, 0x45, 0x67, 0x89, 0xAB, 0xCD, 0xEF}};
  EXPECT_EQ(platform::GuidText(guid), "01234567-89AB-0DEF-0123-456789ABCDEF");
  const GUID small{0x1, 0x2, 0x3, {0, 0, 0, 0, 0, 0, 0, 0x4}};
  EXPECT_EQ(platform::GuidText(small), "00000001-0002-0003-0000-000000000004");
}

TEST(Guid, new_identifiers_are_random_version_four_and_differ) {
  GUID first{};
  GUID second{};
  ASSERT_EQ(platform::CoCreateGuid(&first), 0);
  ASSERT_EQ(platform::CoCreateGuid(&second), 0);
  const std::string a = platform::GuidText(first);
  const std::string b = platform::GuidText(second);
  EXPECT_TRUE(HasRandomGuidForm(a)) << a;
  EXPECT_TRUE(HasRandomGuidForm(b)) << b;
  EXPECT_NE(a, b);
}

}  // namespace
