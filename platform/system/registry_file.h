// The registry's keys and values in memory, their text form, and the file that holds one root.
//
// The file is text, one line per key or value, so a person can read it:
//
//   TVKREG 1
//   key "SOFTWARE\Gaming\Options"
//   value "DisableSound" dword 00000000
//   value "DefaultUserName" sz "USERNAME%00"
//   value "CheckSum" binary "0000ff"
//   end
//
// Texts are quoted; a byte below 0x20 or above 0x7E, "%" and the double quote are written as "%"
// and two upper-case hexadecimal digits. A DWORD is written as 8 hexadecimal digits of its value,
// binary data as two digits per byte. The "end" line makes a cut-off file detectable.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

struct RegistryValue {
  std::string name;  // as first created
  uint32_t type = 0;
  std::string data;  // the value's bytes
};

struct RegistryKeyEntry {
  std::string path;                   // names joined by "\", as first created; "" is the root
  std::vector<RegistryValue> values;  // in order of creation
};

// Key paths given to RegistryTree are normalised (see NormaliseKeyPath) and compared without
// regard to ASCII letter case. The root key "" always exists.
class RegistryTree {
 public:
  RegistryTree();

  RegistryKeyEntry* Find(std::string_view path);
  // Creates the key and every missing key on its path; returns the key.
  RegistryKeyEntry& Create(std::string_view path);
  // The names of the direct sub-keys of `path`, ordered by their folded names.
  std::vector<std::string> SubKeyNames(std::string_view path) const;
  // Removes the key and its values. The caller has checked that it has no sub-keys.
  void Erase(std::string_view path);

  std::string Serialize() const;
  // nullopt when `text` is not a whole, well-formed registry file.
  static std::optional<RegistryTree> Parse(std::string_view text);

 private:
  std::map<std::string, RegistryKeyEntry> keys_;  // by path in small letters (AsciiLower)
};

// "a\\b\\" and "\\a\\b" become "a\\b": empty names are dropped.
std::string NormaliseKeyPath(std::string_view path);

// The file of one root.
class RegistryFile {
 public:
  enum class ReadResult { kRead, kMissing, kDamaged, kUnreadable };

  // Reads the tree in `path` without locking (saves replace the file whole, so a reader sees the
  // old or the new one). A missing file gives an empty tree; a damaged one is moved aside first.
  // Returns false (with an empty tree) only when the file exists but cannot be read.
  [[nodiscard]] static bool Load(const std::string& path, RegistryTree* tree);

  // Read-modify-write under the file's lock: reads the tree, lets `change` alter it, and saves it
  // when `change` returned ERROR_SUCCESS and set its `modified` argument. Returns the result of
  // `change`, or ERROR_CANTWRITE when the file could not be read or saved.
  [[nodiscard]] static int32_t Update(
      const std::string& path, const std::function<int32_t(RegistryTree& tree, bool& modified)>& change);
};

}  // namespace platform
