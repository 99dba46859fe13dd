#include "cclient/base/player_flags.h"

#include <cctype>
#include <cstring>
#include <map>
#include <string>
#include <strings.h>

#include "cclient/base/options.h"
#include "cclient/base/player_note_names.h"
#include "platform/system/files.h"
#include "platform/system/registry.h"

namespace {

PlayerFlagsOwnName g_own_name = nullptr;

std::map<std::string, uint8_t>& Store() {
  static std::map<std::string, uint8_t> store;
  return store;
}

bool MakeKey(const char* name, std::string* key) {
  if (name == nullptr) return false;
  const size_t length = strnlen(name, kPlayerFlagsMaxName + 1);
  if (length > kPlayerFlagsMaxName) return false;
  key->assign(name, length);
  for (char& c : *key) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return true;
}

}  // namespace

uint8_t PlayerFlagsGet(const char* name) {
  std::string key;
  if (!MakeKey(name, &key)) return 0;
  const char* me = g_own_name != nullptr ? g_own_name() : nullptr;
  if (me != nullptr && strcasecmp(me, name) == 0) return 0;
  const auto found = Store().find(key);
  return found != Store().end() ? found->second : 0;
}

void PlayerFlagsSet(const char* name, int notes, int blocked) {
  if (notes == -1 && blocked == -1) return;
  std::string key;
  if (!MakeKey(name, &key)) return;
  auto found = Store().find(key);
  if (found == Store().end()) {
    Store()[key] = static_cast<uint8_t>((notes == 1 ? kPlayerFlagNotes : 0) | (blocked == 1 ? kPlayerFlagBlocked : 0));
    return;
  }
  uint8_t& flags = found->second;
  if (notes == 1) flags |= kPlayerFlagNotes;
  if (notes == 0) flags &= static_cast<uint8_t>(~kPlayerFlagNotes);
  if (blocked == 1) flags |= kPlayerFlagBlocked;
  if (blocked == 0) flags &= static_cast<uint8_t>(~kPlayerFlagBlocked);
}

void PlayerFlagsClear() { Store().clear(); }

void PlayerFlags_SetOwnName(PlayerFlagsOwnName own_name) { g_own_name = own_name; }

int32_t PlayerFlagsLoad() {
  for (const std::string& file : platform::ListFiles(".", "*.not")) {
    if (file.size() <= 4) continue;
    char name[256];
    PlayerNotes_NameFromFile(file.substr(0, file.size() - 4).c_str(), name, sizeof name);
    PlayerFlagsSet(name, 1, -1);
  }
  const std::string path = Registry_SiblingKeyPath("Blocked");
  platform::HKEY key = nullptr;
  const int32_t result = platform::RegCreateKeyEx(platform::HKEY_CURRENT_USER, path.c_str(), 0, nullptr, 0,
                                                  platform::KEY_QUERY_VALUE, nullptr, &key, nullptr);
  if (result != platform::ERROR_SUCCESS) return result;
  for (uint32_t index = 0;; ++index) {
    char name[32];
    uint32_t name_size = sizeof name;
    if (platform::RegEnumValue(key, index, name, &name_size, nullptr, nullptr, nullptr, nullptr) !=
        platform::ERROR_SUCCESS) {
      break;
    }
    PlayerFlagsSet(name, -1, 1);
  }
  platform::RegCloseKey(key);
  return result;
}

void PlayerFlagsSave() {
  const std::string path = Registry_SiblingKeyPath("Blocked");
  platform::HKEY key = nullptr;
  if (platform::RegCreateKeyEx(platform::HKEY_CURRENT_USER, path.c_str(), 0, nullptr, 0, platform::KEY_SET_VALUE,
                               nullptr, &key, nullptr) != platform::ERROR_SUCCESS) {
    return;
  }
  for (const auto& [name, flags] : Store()) {
    if ((flags & kPlayerFlagBlocked) != 0) {
      platform::RegSetValueEx(key, name.c_str(), 0, platform::REG_BINARY, nullptr, 0);
    } else {
      platform::RegDeleteValue(key, name.c_str());
    }
  }
  platform::RegCloseKey(key);
}
