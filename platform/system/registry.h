// The registry: a small store of keys and typed values kept in files.
//
// HKEY_CURRENT_USER lives in "user.reg" in the user's configuration folder and HKEY_LOCAL_MACHINE
// in "machine.reg" beside it (see user_folders.h; TVK_CONFIG_ROOT moves both into a test folder).
// The calls have the shape of the system registry calls the program was designed against:
//
//   HKEY key;
//   if (RegOpenKeyEx(HKEY_CURRENT_USER, "SOFTWARE\\Gaming\\Options", 0, KEY_READ, &key) ==
//       ERROR_SUCCESS) {
//     uint32_t type = 0, value = 0, size = sizeof value;
//     RegQueryValueEx(key, "TimerRate", nullptr, &type, reinterpret_cast<uint8_t*>(&value), &size);
//     RegCloseKey(key);
//   }
//
// Key paths are names separated by "\"; key and value names compare without regard to letter case
// (ASCII) and keep the case they were created with. Values are typed: REG_DWORD (exactly 4 bytes),
// REG_SZ (the bytes as given, normally with their NUL) and REG_BINARY (any length, also none).
//
// Every change (a value set or deleted, a key created or deleted) is saved at once: the file is
// locked, read again, changed, written to a temporary file, flushed to disk and renamed over the
// old one, so two processes saving at once each keep their own changes, and a crash leaves the old
// file or the new one, never half of one. Files are mode 0600. A file that cannot be read back is
// reported to the system log and renamed aside (".damaged", ".damaged1", ...), never overwritten;
// the store then starts empty.
//
// Calls may be made from any thread; a handle is used by one thread at a time.
#pragma once

#include <cstdint>

namespace platform {

struct RegistryKey;
using HKEY = RegistryKey*;

// The two roots. They are never closed (RegCloseKey on them does nothing).
extern HKEY const HKEY_CURRENT_USER;
extern HKEY const HKEY_LOCAL_MACHINE;

// Results of every call.
enum : int32_t {
  ERROR_SUCCESS = 0,
  ERROR_FILE_NOT_FOUND = 1,     // no such key or value
  ERROR_ACCESS_DENIED = 2,      // handle lacks the access, or a key with sub-keys was deleted
  ERROR_INVALID_HANDLE = 3,
  ERROR_INVALID_PARAMETER = 4,
  ERROR_MORE_DATA = 5,          // the buffer is too small; the size needed was returned
  ERROR_NO_MORE_ITEMS = 6,      // enumeration index past the end
  ERROR_KEY_DELETED = 7,        // the key of this handle no longer exists
  ERROR_CANTWRITE = 8,          // the file could not be saved
};

// Value types. (The file stores their names, not these numbers.)
enum : uint32_t {
  REG_NONE = 0,
  REG_SZ = 1,
  REG_BINARY = 2,
  REG_DWORD = 3,
};

// Access rights of a handle.
enum : uint32_t {
  KEY_QUERY_VALUE = 0x0001,
  KEY_SET_VALUE = 0x0002,
  KEY_CREATE_SUB_KEY = 0x0004,
  KEY_ENUMERATE_SUB_KEYS = 0x0008,
  KEY_READ = KEY_QUERY_VALUE | KEY_ENUMERATE_SUB_KEYS,
  KEY_WRITE = KEY_SET_VALUE | KEY_CREATE_SUB_KEY,
  KEY_ALL_ACCESS = KEY_READ | KEY_WRITE,
};

// RegCreateKeyEx options and dispositions.
enum : uint32_t {
  REG_OPTION_NON_VOLATILE = 0,
  REG_CREATED_NEW_KEY = 1,
  REG_OPENED_EXISTING_KEY = 2,
};

// Opens the existing key `sub_key` under `key` (nullptr or "" opens `key` itself again).
// `options` must be 0.
[[nodiscard]] int32_t RegOpenKeyEx(HKEY key, const char* sub_key, uint32_t options, uint32_t access,
                                   HKEY* result);

// Opens `sub_key` under `key`, creating it and any missing key on its path. `key_class` and
// `security` are accepted and not stored. `disposition` (may be nullptr) says which happened.
[[nodiscard]] int32_t RegCreateKeyEx(HKEY key, const char* sub_key, uint32_t reserved,
                                     const char* key_class, uint32_t options, uint32_t access,
                                     const void* security, HKEY* result, uint32_t* disposition);

int32_t RegCloseKey(HKEY key);

// Reads the value `name` (nullptr or "" is the key's default value). `type`, `data` and `size`
// may each be nullptr. On entry *size is the room in `data`; on return it is the value's length.
// A too-small `data` gives ERROR_MORE_DATA and leaves `data` untouched.
[[nodiscard]] int32_t RegQueryValueEx(HKEY key, const char* name, uint32_t* reserved,
                                      uint32_t* type, uint8_t* data, uint32_t* size);

// Writes the value `name` (replacing any value of that name, whatever its type). REG_DWORD needs
// exactly 4 bytes; other types other than REG_SZ and REG_BINARY are refused.
int32_t RegSetValueEx(HKEY key, const char* name, uint32_t reserved, uint32_t type, const uint8_t* data,
                      uint32_t size);

// The `index`-th value of the key, in the order values were first created. On entry *name_size is
// the room in `name` counting its NUL; on return the name's length without it. `type`, `data` and
// `data_size` may be nullptr and behave as in RegQueryValueEx. ERROR_NO_MORE_ITEMS past the end.
[[nodiscard]] int32_t RegEnumValue(HKEY key, uint32_t index, char* name, uint32_t* name_size,
                                   uint32_t* reserved, uint32_t* type, uint8_t* data,
                                   uint32_t* data_size);

// The `index`-th direct sub-key's name, in order of their names ignoring case. `key_class`,
// `class_size` and `last_write_time` are accepted for the usual shape; *class_size becomes 0.
[[nodiscard]] int32_t RegEnumKeyEx(HKEY key, uint32_t index, char* name, uint32_t* name_size,
                                   uint32_t* reserved, char* key_class, uint32_t* class_size,
                                   void* last_write_time);

int32_t RegDeleteValue(HKEY key, const char* name);

// Deletes the key `sub_key` under `key` with its values. A key that still has sub-keys is not
// deleted (ERROR_ACCESS_DENIED).
int32_t RegDeleteKey(HKEY key, const char* sub_key);

}  // namespace platform
