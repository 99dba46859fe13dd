// Archive names: the mask and exclusion lists, cleaning of stored names, mask matching, and the
// check that keeps output inside the destination folder.
//
// Names read from an archive use "\" between folders (stored "/" is turned into "\" when the
// header is read); masks may use either separator.
#pragma once

#include <string>
#include <string_view>
#include <vector>

// A list of masks (or exclusions) in the order they were added.
class RarNameList {
 public:
  // Appends a mask; false when memory ran out.
  [[nodiscard]] bool Add(const char* name);
  void Clear();
  [[nodiscard]] const std::vector<std::string>& Names() const { return names_; }
  [[nodiscard]] bool HasWildcards() const { return has_wildcards_; }

 private:
  std::vector<std::string> names_;
  bool has_wildcards_ = false;
};

// Removes, in this order and each at most once: a drive prefix "X:", a leading ".\", a leading
// "..\", a leading "\". The result may still begin with "..\" or "\": see IsSafeOutputName.
[[nodiscard]] std::string CleanStoredName(std::string_view name);

// The part after the last "\" or "/".
[[nodiscard]] std::string_view NamePart(std::string_view name);

// True when `name` is selected by `mask`. Name parts are compared without regard to case with "?"
// and "*" wildcards; the folder parts must be equal, or the file's folder must lie in or below the
// mask's folder when the mask's name part has a wildcard or `reach_below` is set.
[[nodiscard]] bool MatchName(std::string_view mask, std::string_view name, bool reach_below);

// True when `name` matches an entry of `exclusions`; with `recurse` an exclusion without
// wildcards also reaches the folders below its folder.
[[nodiscard]] bool IsExcluded(const RarNameList& exclusions, std::string_view name, bool recurse);

// True when `name` (already cleaned) can be placed below a destination folder: it is not empty,
// does not start with a separator, and has no ".." part.
[[nodiscard]] bool IsSafeOutputName(std::string_view name);
