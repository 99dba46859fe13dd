#include "cclient/base/options.h"

#include <cctype>
#include <cstdio>
#include <cstring>

#include "cclient/base/debug_log.h"
#include "cclient/base/login_record.h"

UserOptions g_UserOptions;

namespace {

using platform::HKEY;

constexpr const char* kCannotOpenKey = "Unable to open registry key";
constexpr const char* kDefaultUserName = "USERNAME";
// The characters of the options key's own name, taken off its path to reach a sibling key.
constexpr size_t kOptionsKeyNameLength = 7;
// An older client stored each password byte i raised by i + 10.
constexpr uint8_t kOldCheckSumOffset = 10;

char g_options_key[kOptionsKeyBytes] = "SOFTWARE\\Gaming\\Options";

// Reads a value of an open key; see Registry_ReadValue.
int QueryValue(HKEY key, const char* value_name, uint32_t expected_type, void* buffer,
               uint32_t* size) {
  const uint32_t room = *size;
  uint32_t type = platform::REG_NONE;
  if (platform::RegQueryValueEx(key, value_name, nullptr, &type, static_cast<uint8_t*>(buffer),
                                size) != platform::ERROR_SUCCESS ||
      type != expected_type) {
    return 0;
  }
  if (type == platform::REG_SZ) {
    // The store keeps a text's bytes as they were given; the reader gets a terminated text.
    if (room == 0) return 0;
    char* text = static_cast<char*>(buffer);
    text[*size < room ? *size : room - 1] = '\0';
  }
  return 1;
}

// Takes a DWORD value into `out` only when it is there with that type.
void QueryDword(HKEY key, const char* value_name, uint32_t* out) {
  uint32_t value = 0;
  uint32_t size = sizeof value;
  if (QueryValue(key, value_name, platform::REG_DWORD, &value, &size) && size == sizeof value) {
    *out = value;
  }
}

void QueryDword(HKEY key, const char* value_name, int32_t* out) {
  uint32_t value = static_cast<uint32_t>(*out);
  QueryDword(key, value_name, &value);
  *out = static_cast<int32_t>(value);
}

// The remembered password as this client keeps it: scrambled, with a NUL 21st byte. An older
// client's form (a nonzero 21st byte) is turned back and scrambled afresh; anything that is not
// a 21-byte BINARY value remembers nothing.
void QueryCheckSum(HKEY key, uint8_t check_sum[kCheckSumBytes]) {
  uint32_t size = kCheckSumBytes;
  if (!QueryValue(key, "CheckSum", platform::REG_BINARY, check_sum, &size) ||
      size != kCheckSumBytes) {
    std::memset(check_sum, 0, kCheckSumBytes);
    return;
  }
  if (check_sum[kCheckSumBytes - 1] == 0) return;
  for (uint32_t i = 0; i < kCheckSumBytes; ++i) {
    check_sum[i] = static_cast<uint8_t>(check_sum[i] - (i + kOldCheckSumOffset));
  }
  Login_ScramblePassword(check_sum);
}

void SetDword(HKEY key, const char* value_name, uint32_t value) {
  if (platform::RegSetValueEx(key, value_name, 0, platform::REG_DWORD,
                              reinterpret_cast<const uint8_t*>(&value),
                              sizeof value) != platform::ERROR_SUCCESS) {
    DebugLog_Write("Unable to write registry key.\n");
  }
}

void SetBytes(HKEY key, const char* value_name, uint32_t type, const void* data, uint32_t size) {
  if (platform::RegSetValueEx(key, value_name, 0, type, static_cast<const uint8_t*>(data),
                              size) != platform::ERROR_SUCCESS) {
    DebugLog_Write("Unable to write registry key.\n");
  }
}

HKEY CreateForWriting(const char* path, const char* key_class) {
  HKEY key = nullptr;
  if (platform::RegCreateKeyEx(platform::HKEY_CURRENT_USER, path, 0, key_class,
                               platform::REG_OPTION_NON_VOLATILE, platform::KEY_WRITE, nullptr,
                               &key, nullptr) != platform::ERROR_SUCCESS) {
    return nullptr;
  }
  return key;
}

}  // namespace

int Registry_ReadValue(HKEY root, const char* key_path, const char* value_name,
                       uint32_t expected_type, void* buffer, uint32_t* size) {
  HKEY key = nullptr;
  if (platform::RegOpenKeyEx(root, key_path, 0, platform::KEY_READ, &key) !=
      platform::ERROR_SUCCESS) {
    return 0;
  }
  const int read = QueryValue(key, value_name, expected_type, buffer, size);
  platform::RegCloseKey(key);
  return read;
}

int Registry_WriteValue(HKEY root, const char* key_path, const char* value_name, uint32_t type,
                        const void* data, uint32_t size) {
  HKEY key = nullptr;
  if (platform::RegOpenKeyEx(root, key_path, 0, platform::KEY_WRITE, &key) !=
      platform::ERROR_SUCCESS) {
    return 0;
  }
  const int32_t result =
      platform::RegSetValueEx(key, value_name, 0, type, static_cast<const uint8_t*>(data), size);
  platform::RegCloseKey(key);
  return result == platform::ERROR_SUCCESS ? 1 : 0;
}

void Registry_SetOptionsKey(const char* path) {
  if (path == nullptr) return;
  std::snprintf(g_options_key, sizeof g_options_key, "%s", path);
}

const char* Registry_GetOptionsKey() { return g_options_key; }

std::string Registry_SiblingKeyPath(const char* name) {
  const size_t length = std::strlen(g_options_key);
  const size_t kept = length >= kOptionsKeyNameLength ? length - kOptionsKeyNameLength : 0;
  return std::string(g_options_key, kept) + (name != nullptr ? name : "");
}

uint32_t Registry_ReadAffiliateId() {
  char text[kAffiliateIdBytes + 3] = {};
  uint32_t size = sizeof text;
  if (!Registry_ReadValue(platform::HKEY_CURRENT_USER, Registry_SiblingKeyPath("Install").c_str(),
                          "AffiliateID", platform::REG_SZ, text, &size) ||
      size != kAffiliateIdBytes) {
    return 0;
  }
  // Six digits written twice.
  uint32_t id = 0;
  for (int i = 0; i < 6; ++i) {
    if (!std::isdigit(static_cast<unsigned char>(text[i])) || text[i] != text[i + 6]) return 0;
    id = id * 10 + static_cast<uint32_t>(text[i] - '0');
  }
  return id;
}

const char* Registry_Load(uint32_t* sound_off, uint32_t* music_off, uint32_t* four_colour,
                          uint32_t* classic, char* user_name, uint32_t name_size,
                          uint8_t* password, uint32_t password_size, uint32_t* timer_rate,
                          uint32_t* option_flags, int32_t sort_states[kSortGroups]) {
  *sound_off = 0;
  *music_off = 1;
  *four_colour = 0;
  *classic = 0;
  if (name_size > 0) std::snprintf(user_name, name_size, "%s", kDefaultUserName);
  uint8_t check_sum[kCheckSumBytes] = {};
  const uint32_t password_bytes = password_size < kCheckSumBytes ? password_size : kCheckSumBytes;
  std::memcpy(password, check_sum, password_bytes);

  HKEY key = nullptr;
  if (platform::RegOpenKeyEx(platform::HKEY_CURRENT_USER, g_options_key, 0, platform::KEY_READ,
                             &key) != platform::ERROR_SUCCESS) {
    return kCannotOpenKey;
  }
  QueryDword(key, "DisableSound", sound_off);
  QueryDword(key, "DisableMusic", music_off);
  QueryDword(key, "FourColourDeck", four_colour);
  QueryDword(key, "ClassicDeck", classic);
  uint32_t size = name_size;
  if (name_size > 0 && !QueryValue(key, "DefaultUserName", platform::REG_SZ, user_name, &size)) {
    std::snprintf(user_name, name_size, "%s", kDefaultUserName);
  }
  QueryCheckSum(key, check_sum);
  std::memcpy(password, check_sum, password_bytes);
  QueryDword(key, "TimerRate", timer_rate);
  QueryDword(key, "UserOptionFlags", option_flags);
  QueryDword(key, "ColumnSortStateRingGame", &sort_states[kSortRingGames]);
  QueryDword(key, "ColumnSortStateTourney", &sort_states[kSortTourneys]);
  platform::RegCloseKey(key);
  return nullptr;
}

const char* Registry_Save(const char* key_class, uint32_t sound_off, uint32_t music_off,
                          uint32_t four_colour, uint32_t classic, const char* user_name,
                          const uint8_t* password, uint32_t timer_rate, uint32_t option_flags,
                          const int32_t sort_states[kSortGroups], uint32_t affiliate_id) {
  HKEY key = CreateForWriting(g_options_key, key_class);
  if (key == nullptr) return kCannotOpenKey;
  SetDword(key, "DisableSound", sound_off);
  SetDword(key, "DisableMusic", music_off);
  SetDword(key, "FourColourDeck", four_colour);
  SetDword(key, "ClassicDeck", classic);
  const size_t name_length = strnlen(user_name, kUserNameBytes - 1);
  char name[kUserNameBytes] = {};
  std::memcpy(name, user_name, name_length);
  SetBytes(key, "DefaultUserName", platform::REG_SZ, name,
           static_cast<uint32_t>(name_length + 1));
  SetBytes(key, "CheckSum", platform::REG_BINARY, password, kCheckSumBytes);
  SetDword(key, "TimerRate", timer_rate);
  SetDword(key, "UserOptionFlags", option_flags);
  SetDword(key, "ColumnSortStateRingGame", static_cast<uint32_t>(sort_states[kSortRingGames]));
  SetDword(key, "ColumnSortStateTourney", static_cast<uint32_t>(sort_states[kSortTourneys]));
  platform::RegCloseKey(key);

  key = CreateForWriting(Registry_SiblingKeyPath("Install").c_str(), key_class);
  if (key == nullptr) return kCannotOpenKey;
  // An id of more than six digits cannot be kept in this form; the text is cut to its 13 bytes
  // (and then reads back as no id).
  char affiliate[kAffiliateIdBytes];
  std::snprintf(affiliate, sizeof affiliate, "%06u%06u", affiliate_id, affiliate_id);
  SetBytes(key, "AffiliateID", platform::REG_SZ, affiliate, sizeof affiliate);
  platform::RegCloseKey(key);
  return nullptr;
}

const char* UserOptions_Load(uint32_t force_flags) {
  UserOptions& options = g_UserOptions;
  const char* error =
      Registry_Load(&options.disable_sound, &options.disable_music, &options.four_colour_deck,
                    &options.classic_deck, options.default_user_name,
                    sizeof options.default_user_name, options.check_sum,
                    sizeof options.check_sum, &options.timer_rate, &options.user_option_flags,
                    options.column_sort_states);
  if (force_flags & kForceSoundOff) options.disable_sound = 1;
  if (force_flags & kForceMusicOff) options.disable_music = 1;
  return error;
}

void UserOptions_Save(const char* key_class, uint32_t affiliate_id) {
  const UserOptions& options = g_UserOptions;
  if (const char* error = Registry_Save(
          key_class, options.disable_sound, options.disable_music, options.four_colour_deck,
          options.classic_deck, options.default_user_name, options.check_sum, options.timer_rate,
          options.user_option_flags, options.column_sort_states, affiliate_id)) {
    DebugLog_Write("Registry_Save error (%s).\n", error);
  }
}
