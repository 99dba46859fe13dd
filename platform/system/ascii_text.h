// Letter case of ASCII text: names of files, registry keys and values, HTTP headers and the
// words of command strings. Only 'A'-'Z' and 'a'-'z' are letters here, whatever the locale;
// every other byte (UTF-8 sequences included) stays as it is and compares as itself.
#pragma once

#include <string>
#include <string_view>

namespace platform {

[[nodiscard]] constexpr char AsciiLower(char c) {
  return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// `text` with its capital letters made small.
[[nodiscard]] std::string AsciiLower(std::string_view text);

[[nodiscard]] bool EqualsIgnoringCase(std::string_view a, std::string_view b);
[[nodiscard]] bool StartsWithIgnoringCase(std::string_view text, std::string_view prefix);

}  // namespace platform
