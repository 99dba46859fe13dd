#include "cclient/base/player_note_names.h"

#include <cctype>
#include <cstdio>
#include <string>

namespace {

bool IsKeptCharacter(char c) { return std::isalnum(static_cast<unsigned char>(c)) != 0; }

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

}  // namespace

void PlayerNotes_FileName(const char* player, bool legacy, char* out, uint32_t size) {
  std::string name;
  for (const char* c = player; *c != '\0'; ++c) {
    if (IsKeptCharacter(*c)) {
      name += *c;
    } else if (legacy) {
      name += '_';
    } else {
      char escaped[4];
      std::snprintf(escaped, sizeof escaped, "_%02X", static_cast<unsigned char>(*c));
      name += escaped;
    }
  }
  std::snprintf(out, size, "%s.not", name.c_str());
}

void PlayerNotes_NameFromFile(const char* file_stem, char* out, uint32_t size) {
  std::string name;
  bool escaped_form = true;
  for (const char* c = file_stem; *c != '\0'; ++c) {
    if (IsKeptCharacter(*c)) {
      name += *c;
      continue;
    }
    const int high = *c == '_' ? HexValue(c[1]) : -1;
    const int low = high >= 0 ? HexValue(c[2]) : -1;
    if (low < 0 || IsKeptCharacter(static_cast<char>(high * 16 + low))) {
      escaped_form = false;
      break;
    }
    name += static_cast<char>(high * 16 + low);
    c += 2;
  }
  std::snprintf(out, size, "%s", escaped_form ? name.c_str() : file_stem);
}
