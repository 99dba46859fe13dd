#include "platform/system/registry.h"

#include <cstring>
#include <string>

#include "platform/system/ascii_text.h"
#include "platform/system/registry_file.h"
#include "platform/system/user_folders.h"

namespace platform {

enum class RegistryRoot { kUser, kMachine };

// What a handle holds: which root, the key's path (as stored), and the access it was opened with.
// The file is looked up at each call, so a test that moves TVK_CONFIG_ROOT needs no reopen.
struct RegistryKey {
  RegistryRoot root;
  std::string path;
  uint32_t access;
  bool predefined;
};

namespace {

RegistryKey user_root{RegistryRoot::kUser, "", KEY_ALL_ACCESS, true};
RegistryKey machine_root{RegistryRoot::kMachine, "", KEY_ALL_ACCESS, true};

std::string FileOf(RegistryRoot root) {
  return UserConfigFolder() + (root == RegistryRoot::kUser ? "user.reg" : "machine.reg");
}

std::string SubKeyPath(const RegistryKey& key, const char* sub_key) {
  const std::string sub = NormaliseKeyPath(sub_key != nullptr ? sub_key : "");
  if (key.path.empty()) return sub;
  if (sub.empty()) return key.path;
  return key.path + "\\" + sub;
}

RegistryValue* FindValue(RegistryKeyEntry& entry, const char* name) {
  const std::string_view wanted = name != nullptr ? name : "";
  for (RegistryValue& value : entry.values) {
    if (EqualsIgnoringCase(value.name, wanted)) return &value;
  }
  return nullptr;
}

// Hands a value's type and bytes out through the optional pointers of the query calls.
int32_t CopyValueOut(const RegistryValue& value, uint32_t* type, uint8_t* data, uint32_t* size) {
  if (type != nullptr) *type = value.type;
  if (data != nullptr && size == nullptr) return ERROR_INVALID_PARAMETER;
  if (size == nullptr) return ERROR_SUCCESS;
  const auto length = static_cast<uint32_t>(value.data.size());
  if (data != nullptr) {
    if (*size < length) {
      *size = length;
      return ERROR_MORE_DATA;
    }
    if (length > 0) std::memcpy(data, value.data.data(), length);
  }
  *size = length;
  return ERROR_SUCCESS;
}

int32_t CopyNameOut(const std::string& text, char* name, uint32_t* name_size) {
  if (name == nullptr || name_size == nullptr) return ERROR_INVALID_PARAMETER;
  const auto length = static_cast<uint32_t>(text.size());
  if (*name_size < length + 1) {
    *name_size = length;
    return ERROR_MORE_DATA;
  }
  std::memcpy(name, text.c_str(), length + 1);
  *name_size = length;
  return ERROR_SUCCESS;
}

// Reads the tree of the handle's root and finds the handle's key in it.
int32_t LoadKey(HKEY key, RegistryTree* tree, RegistryKeyEntry** entry) {
  if (!RegistryFile::Load(FileOf(key->root), tree)) return ERROR_FILE_NOT_FOUND;
  *entry = tree->Find(key->path);
  return *entry != nullptr ? ERROR_SUCCESS : ERROR_KEY_DELETED;
}

}  // namespace

HKEY const HKEY_CURRENT_USER = &user_root;
HKEY const HKEY_LOCAL_MACHINE = &machine_root;

int32_t RegOpenKeyEx(HKEY key, const char* sub_key, uint32_t options, uint32_t access, HKEY* result) {
  if (key == nullptr) return ERROR_INVALID_HANDLE;
  if (result == nullptr || options != 0) return ERROR_INVALID_PARAMETER;
  *result = nullptr;
  RegistryTree tree;
  if (!RegistryFile::Load(FileOf(key->root), &tree)) return ERROR_FILE_NOT_FOUND;
  const RegistryKeyEntry* entry = tree.Find(SubKeyPath(*key, sub_key));
  if (entry == nullptr) return ERROR_FILE_NOT_FOUND;
  *result = new RegistryKey{key->root, entry->path, access, false};
  return ERROR_SUCCESS;
}

int32_t RegCreateKeyEx(HKEY key, const char* sub_key, uint32_t reserved, const char* key_class,
                       uint32_t options, uint32_t access, const void* security, HKEY* result,
                       uint32_t* disposition) {
  if (key == nullptr) return ERROR_INVALID_HANDLE;
  if (result == nullptr || options != REG_OPTION_NON_VOLATILE) return ERROR_INVALID_PARAMETER;
  *result = nullptr;
  const std::string path = SubKeyPath(*key, sub_key);

  // Most opens find the key already there; only a creation takes the lock and saves.
  RegistryTree tree;
  const RegistryKeyEntry* existing =
      RegistryFile::Load(FileOf(key->root), &tree) ? tree.Find(path) : nullptr;
  std::string stored_path = existing != nullptr ? existing->path : std::string();
  bool created = false;
  if (existing == nullptr) {
    if ((key->access & KEY_CREATE_SUB_KEY) == 0) return ERROR_ACCESS_DENIED;
    const int32_t saved = RegistryFile::Update(FileOf(key->root), [&](RegistryTree& locked, bool& modified) {
      if (!key->path.empty() && locked.Find(key->path) == nullptr) return int32_t{ERROR_KEY_DELETED};
      if (const RegistryKeyEntry* found = locked.Find(path)) {
        stored_path = found->path;
      } else {
        stored_path = locked.Create(path).path;
        created = modified = true;
      }
      return int32_t{ERROR_SUCCESS};
    });
    if (saved != ERROR_SUCCESS) return saved;
  }
  if (disposition != nullptr) *disposition = created ? REG_CREATED_NEW_KEY : REG_OPENED_EXISTING_KEY;
  *result = new RegistryKey{key->root, stored_path, access, false};
  return ERROR_SUCCESS;
}

int32_t RegCloseKey(HKEY key) {
  if (key == nullptr) return ERROR_INVALID_HANDLE;
  if (!key->predefined) delete key;
  return ERROR_SUCCESS;
}

int32_t RegQueryValueEx(HKEY key, const char* name, uint32_t* reserved, uint32_t* type, uint8_t* data,
                        uint32_t* size) {
  if (key == nullptr) return ERROR_INVALID_HANDLE;
  if ((key->access & KEY_QUERY_VALUE) == 0) return ERROR_ACCESS_DENIED;
  RegistryTree tree;
  RegistryKeyEntry* entry = nullptr;
  if (const int32_t loaded = LoadKey(key, &tree, &entry); loaded != ERROR_SUCCESS) return loaded;
  const RegistryValue* value = FindValue(*entry, name);
  if (value == nullptr) return ERROR_FILE_NOT_FOUND;
  return CopyValueOut(*value, type, data, size);
}

int32_t RegSetValueEx(HKEY key, const char* name, uint32_t reserved, uint32_t type, const uint8_t* data,
                      uint32_t size) {
  if (key == nullptr) return ERROR_INVALID_HANDLE;
  if ((key->access & KEY_SET_VALUE) == 0) return ERROR_ACCESS_DENIED;
  if (type != REG_SZ && type != REG_BINARY && type != REG_DWORD) return ERROR_INVALID_PARAMETER;
  if (type == REG_DWORD && size != 4) return ERROR_INVALID_PARAMETER;
  if (data == nullptr && size != 0) return ERROR_INVALID_PARAMETER;
  const std::string bytes(reinterpret_cast<const char*>(data), data != nullptr ? size : 0);
  return RegistryFile::Update(FileOf(key->root), [&](RegistryTree& tree, bool& modified) {
    RegistryKeyEntry* entry = tree.Find(key->path);
    if (entry == nullptr) return int32_t{ERROR_KEY_DELETED};
    if (RegistryValue* value = FindValue(*entry, name)) {
      if (value->type == type && value->data == bytes) return int32_t{ERROR_SUCCESS};  // unchanged
      value->type = type;
      value->data = bytes;
    } else {
      entry->values.push_back(RegistryValue{name != nullptr ? name : "", type, bytes});
    }
    modified = true;
    return int32_t{ERROR_SUCCESS};
  });
}

int32_t RegEnumValue(HKEY key, uint32_t index, char* name, uint32_t* name_size, uint32_t* reserved,
                     uint32_t* type, uint8_t* data, uint32_t* data_size) {
  if (key == nullptr) return ERROR_INVALID_HANDLE;
  if ((key->access & KEY_QUERY_VALUE) == 0) return ERROR_ACCESS_DENIED;
  RegistryTree tree;
  RegistryKeyEntry* entry = nullptr;
  if (const int32_t loaded = LoadKey(key, &tree, &entry); loaded != ERROR_SUCCESS) return loaded;
  if (index >= entry->values.size()) return ERROR_NO_MORE_ITEMS;
  const RegistryValue& value = entry->values[index];
  if (const int32_t named = CopyNameOut(value.name, name, name_size); named != ERROR_SUCCESS) return named;
  return CopyValueOut(value, type, data, data_size);
}

int32_t RegEnumKeyEx(HKEY key, uint32_t index, char* name, uint32_t* name_size, uint32_t* reserved,
                     char* key_class, uint32_t* class_size, void* last_write_time) {
  if (key == nullptr) return ERROR_INVALID_HANDLE;
  if ((key->access & KEY_ENUMERATE_SUB_KEYS) == 0) return ERROR_ACCESS_DENIED;
  RegistryTree tree;
  RegistryKeyEntry* entry = nullptr;
  if (const int32_t loaded = LoadKey(key, &tree, &entry); loaded != ERROR_SUCCESS) return loaded;
  const std::vector<std::string> names = tree.SubKeyNames(key->path);
  if (index >= names.size()) return ERROR_NO_MORE_ITEMS;
  if (class_size != nullptr) {
    *class_size = 0;
    if (key_class != nullptr) key_class[0] = '\0';
  }
  return CopyNameOut(names[index], name, name_size);
}

int32_t RegDeleteValue(HKEY key, const char* name) {
  if (key == nullptr) return ERROR_INVALID_HANDLE;
  if ((key->access & KEY_SET_VALUE) == 0) return ERROR_ACCESS_DENIED;
  return RegistryFile::Update(FileOf(key->root), [&](RegistryTree& tree, bool& modified) {
    RegistryKeyEntry* entry = tree.Find(key->path);
    if (entry == nullptr) return int32_t{ERROR_KEY_DELETED};
    const RegistryValue* value = FindValue(*entry, name);
    if (value == nullptr) return int32_t{ERROR_FILE_NOT_FOUND};
    entry->values.erase(entry->values.begin() + (value - entry->values.data()));
    modified = true;
    return int32_t{ERROR_SUCCESS};
  });
}

int32_t RegDeleteKey(HKEY key, const char* sub_key) {
  if (key == nullptr) return ERROR_INVALID_HANDLE;
  if (NormaliseKeyPath(sub_key != nullptr ? sub_key : "").empty()) return ERROR_INVALID_PARAMETER;
  const std::string path = SubKeyPath(*key, sub_key);
  return RegistryFile::Update(FileOf(key->root), [&](RegistryTree& tree, bool& modified) {
    if (tree.Find(path) == nullptr) return int32_t{ERROR_FILE_NOT_FOUND};
    if (!tree.SubKeyNames(path).empty()) return int32_t{ERROR_ACCESS_DENIED};
    tree.Erase(path);
    modified = true;
    return int32_t{ERROR_SUCCESS};
  });
}

}  // namespace platform
