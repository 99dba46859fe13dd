#include "rar/rar_switches.h"

#include <cctype>
#include <cstring>

namespace {

RarSwitches g_switches;

char Upper(char ch) { return static_cast<char>(std::toupper(static_cast<unsigned char>(ch))); }

}  // namespace

RarSwitches& RarSwitchState() { return g_switches; }

const char* RarSwitches_Apply(const char* text, const char** exclusion) {
  *exclusion = nullptr;
  if (text == nullptr) return "Unknown Switch";
  size_t length = std::strlen(text);
  RarSwitches& s = g_switches;
  // "C", "F", "R" and "U" act only when written exactly as in the table; anything longer is taken
  // without effect.
  switch (Upper(text[0])) {
    case 'C':
      if (length == 2 && text[1] == '-') s.show_comments = false;
      if (length == 2 && Upper(text[1]) == 'L') s.name_case = RAR_CASE_LOWER;
      if (length == 2 && Upper(text[1]) == 'U') s.name_case = RAR_CASE_UPPER;
      return nullptr;
    case 'F':
      if (length == 1) s.freshen = true;
      return nullptr;
    case 'K':
      if (Upper(text[1]) == 'B') s.keep_broken = true;
      return nullptr;
    case 'O':
      if (text[1] == '+') {
        s.overwrite = true;
      } else if (text[1] == '-') {
        s.overwrite = false;
      } else {
        return "+ or - expected after O Switch";
      }
      return nullptr;
    case 'P': {
      size_t keep = std::strlen(text + 1);
      if (keep > RarSwitches::kPasswordMaxLength) keep = RarSwitches::kPasswordMaxLength;
      std::memset(s.password, 0, sizeof s.password);
      std::memcpy(s.password, text + 1, keep);
      return nullptr;
    }
    case 'R':
      if (length == 1) s.recurse_exclusions = true;
      return nullptr;
    case 'U':
      if (length == 1) s.update = true;
      return nullptr;
    case 'V':
    case 'Y':
      return nullptr;
    case 'X':
      if (text[1] != '\0') *exclusion = text + 1;
      return nullptr;
    default:
      return "Unknown Switch";
  }
}

void RarSwitches_WipePassword() {
  volatile char* p = g_switches.password;
  for (size_t i = 0; i < sizeof g_switches.password; ++i) p[i] = 0;
}

void RarSwitches_Reset() {
  RarSwitches_WipePassword();
  g_switches = RarSwitches{};
}
