#include "rar/rar_names.h"

#include <cctype>
#include <new>

namespace {

bool IsSeparator(char ch) { return ch == '\\' || ch == '/'; }

bool HasWildcard(std::string_view text) { return text.find_first_of("*?") != std::string_view::npos; }

char Lower(char ch) { return static_cast<char>(std::tolower(static_cast<unsigned char>(ch))); }

// The folder part including its final separator ("" for a bare name).
std::string_view FolderPart(std::string_view name) {
  size_t last = name.find_last_of("\\/");
  return last == std::string_view::npos ? std::string_view{} : name.substr(0, last + 1);
}

bool SameChar(char a, char b) {
  if (IsSeparator(a) && IsSeparator(b)) return true;
  return Lower(a) == Lower(b);
}

bool SameFolder(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (!SameChar(a[i], b[i])) return false;
  }
  return true;
}

bool FolderStartsWith(std::string_view folder, std::string_view prefix) {
  return folder.size() >= prefix.size() && SameFolder(folder.substr(0, prefix.size()), prefix);
}

// Whether what is left of a mask once the name is used up matches nothing: only "*" runs, with one
// "." among them allowed when the name has no extension (a "." with no partner ends such a name,
// so "*.*" also selects names without a dot).
bool MatchesEmptyRest(std::string_view rest, bool name_has_dot) {
  size_t i = 0;
  while (i < rest.size() && rest[i] == '*') ++i;
  if (i < rest.size() && rest[i] == '.' && !name_has_dot) ++i;
  while (i < rest.size() && rest[i] == '*') ++i;
  return i == rest.size();
}

// Wildcard match of one name part, linear in practice: on a mismatch only the most recent "*"
// is retried one character further.
bool MatchNamePart(std::string_view mask, std::string_view name) {
  size_t m = 0;
  size_t n = 0;
  size_t star = std::string_view::npos;
  size_t star_name = 0;
  while (n < name.size()) {
    if (m < mask.size() && mask[m] == '*') {
      star = m++;
      star_name = n;
    } else if (m < mask.size() && (mask[m] == '?' || Lower(mask[m]) == Lower(name[n]))) {
      ++m;
      ++n;
    } else if (star != std::string_view::npos) {
      m = star + 1;
      n = ++star_name;
    } else {
      return false;
    }
  }
  return MatchesEmptyRest(mask.substr(m), name.find('.') != std::string_view::npos);
}

}  // namespace

bool RarNameList::Add(const char* name) {
  try {
    names_.emplace_back(name);
  } catch (const std::bad_alloc&) {
    return false;
  }
  if (HasWildcard(names_.back())) has_wildcards_ = true;
  return true;
}

void RarNameList::Clear() {
  names_.clear();
  names_.shrink_to_fit();
  has_wildcards_ = false;
}

std::string CleanStoredName(std::string_view name) {
  if (name.size() >= 2 && name[1] == ':') name.remove_prefix(2);
  if (name.substr(0, 2) == ".\\") name.remove_prefix(2);
  if (name.substr(0, 3) == "..\\") name.remove_prefix(3);
  if (name.substr(0, 1) == "\\") name.remove_prefix(1);
  return std::string(name);
}

std::string_view NamePart(std::string_view name) {
  size_t last = name.find_last_of("\\/");
  return last == std::string_view::npos ? name : name.substr(last + 1);
}

bool MatchName(std::string_view mask, std::string_view name, bool reach_below) {
  std::string_view mask_name = NamePart(mask);
  if (!MatchNamePart(mask_name, NamePart(name))) return false;
  std::string_view mask_folder = FolderPart(mask);
  std::string_view folder = FolderPart(name);
  if (SameFolder(mask_folder, folder)) return true;
  return (reach_below || HasWildcard(mask_name)) && FolderStartsWith(folder, mask_folder);
}

bool IsExcluded(const RarNameList& exclusions, std::string_view name, bool recurse) {
  for (const std::string& mask : exclusions.Names()) {
    if (MatchName(mask, name, recurse)) return true;
  }
  return false;
}

bool IsSafeOutputName(std::string_view name) {
  if (name.empty() || IsSeparator(name[0])) return false;
  size_t start = 0;
  while (start <= name.size()) {
    size_t end = name.find_first_of("\\/", start);
    if (end == std::string_view::npos) end = name.size();
    if (name.substr(start, end - start) == "..") return false;
    start = end + 1;
  }
  return true;
}
