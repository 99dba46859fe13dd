#include "cclient/base/server_list.h"

#include <strings.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <string>

#include "platform/system/crt_rand.h"
#include "platform/system/registry.h"

namespace {

constexpr const char* kLatestValueName = "LatestConnectedServerID";
constexpr uint32_t kValueNameBytes = 32;  // names of up to 31 characters
constexpr uint32_t kLongestValueName = 3;

// The key "Install2" beside the options key: the options key path without its last 7 characters
// (its own name, "Options"), then the sibling's name. A shorter path keeps nothing of itself.
std::string Install2KeyPath(const char* options_key) {
  const size_t length = options_key != nullptr ? std::strlen(options_key) : 0;
  const size_t kept = length >= 7 ? length - 7 : 0;
  return std::string(options_key != nullptr ? options_key : "", kept) + "Install2";
}

void CopyHost(char* to, const char* from, size_t from_bytes) {
  size_t length = 0;
  while (length < from_bytes && length < kServerHostBytes - 1 && from[length] != '\0') ++length;
  std::memcpy(to, from, length);
  std::memset(to + length, 0, kServerHostBytes - length);
}

}  // namespace

ServerList::ServerList() = default;

bool ServerList::HasServer(uint32_t index) const {
  return index < kServerListEntries && entries_[index].host[0] != '\0' && entries_[index].port != 0;
}

bool ServerList::Usable(uint32_t index) const {
  return index >= 1 && HasServer(index) && !entries_[index].failed;
}

void ServerList::Load(const char* options_key, const char* default_hosts, uint32_t stride,
                      const uint32_t* default_ports) {
  entry_count_ = 0;
  for (uint32_t index = 1; index < kServerListEntries; ++index) entries_[index] = {};
  const std::string path = Install2KeyPath(options_key);

  platform::HKEY last_key = nullptr;
  platform::HKEY user_key = nullptr;
  uint32_t values_seen = 0;
  if (platform::RegCreateKeyEx(platform::HKEY_CURRENT_USER, path.c_str(), 0, nullptr, 0,
                               platform::KEY_READ, nullptr, &user_key,
                               nullptr) == platform::ERROR_SUCCESS) {
    values_seen = ReadEntries(user_key);
    last_key = user_key;
  }
  platform::HKEY machine_key = nullptr;
  if (values_seen == 0 &&
      platform::RegOpenKeyEx(platform::HKEY_LOCAL_MACHINE, path.c_str(), 0, platform::KEY_READ,
                             &machine_key) == platform::ERROR_SUCCESS) {
    ReadEntries(machine_key);
    last_key = machine_key;
  }

  const auto* host_bytes = reinterpret_cast<const uint8_t*>(default_hosts);
  const auto* port_bytes = reinterpret_cast<const uint8_t*>(default_ports);
  for (uint32_t i = 0; i < kDefaultServers; ++i) {
    uint32_t port = 0;
    std::memcpy(&port, port_bytes + size_t{i} * stride, sizeof port);
    SetEntry(kFirstDefaultServer + i,
             reinterpret_cast<const char*>(host_bytes + size_t{i} * stride),
             static_cast<uint16_t>(port), 0);
  }
  entry_count_ += kDefaultServers;

  RemoveDuplicates();

  if (last_key != nullptr) {
    uint32_t type = 0;
    uint32_t latest = 0;
    uint32_t size = sizeof latest;
    if (platform::RegQueryValueEx(last_key, kLatestValueName, nullptr, &type,
                                  reinterpret_cast<uint8_t*>(&latest),
                                  &size) == platform::ERROR_SUCCESS &&
        type == platform::REG_DWORD && latest >= 1 && latest < kServerListEntries &&
        HasServer(latest)) {
      latest_connected_ = static_cast<uint8_t>(latest);
    }
  }
  if (machine_key != nullptr) platform::RegCloseKey(machine_key);
  if (user_key != nullptr) platform::RegCloseKey(user_key);
}

// Takes the entries stored under `key`; returns how many values the key holds of any kind.
uint32_t ServerList::ReadEntries(platform::HKEY key) {
  uint32_t values = 0;
  for (uint32_t value_index = 0;; ++value_index) {
    char name[kValueNameBytes];
    uint32_t name_size = sizeof name;
    uint8_t data[kServerRecordBytes];
    uint32_t data_size = sizeof data;
    uint32_t type = 0;
    const int32_t result = platform::RegEnumValue(key, value_index, name, &name_size, nullptr,
                                                  &type, data, &data_size);
    if (result == platform::ERROR_NO_MORE_ITEMS) break;
    ++values;
    if (result != platform::ERROR_SUCCESS) continue;  // a longer name or larger data
    if (type != platform::REG_BINARY || name_size > kLongestValueName ||
        data_size != kServerRecordBytes) {
      continue;
    }
    const long index = std::strtol(name, nullptr, 10);
    if (index < 1 || index >= static_cast<long>(kServerListEntries)) continue;
    ServerListEntry& entry = entries_[index];
    uint16_t port;
    std::memcpy(&port, data, sizeof port);
    entry.port = port;
    entry.preferred = data[2] != 0 ? 1 : 0;
    // The stored host need not end in a NUL: at most 127 characters are taken.
    CopyHost(entry.host, reinterpret_cast<const char*>(data + 3), kServerHostBytes);
    ++entry_count_;
  }
  return values;
}

void ServerList::RemoveDuplicates() {
  for (uint32_t i = 1; i < kServerListEntries; ++i) {
    if (!HasServer(i)) continue;
    for (uint32_t j = i + 1; j < kServerListEntries; ++j) {
      if (!HasServer(j) || entries_[j].port != entries_[i].port ||
          ::strcasecmp(entries_[j].host, entries_[i].host) != 0) {
        continue;
      }
      if (entry_count_ > 0) --entry_count_;
      if (!entries_[i].preferred && entries_[j].preferred) {
        entries_[i] = {};
        break;
      }
      entries_[j] = {};
    }
  }
}

int ServerList::Save(const char* options_key) {
  const std::string path = Install2KeyPath(options_key);
  int written = 0;
  for (platform::HKEY root : {platform::HKEY_LOCAL_MACHINE, platform::HKEY_CURRENT_USER}) {
    platform::HKEY key = nullptr;
    if (platform::RegCreateKeyEx(root, path.c_str(), 0, nullptr, 0, platform::KEY_ALL_ACCESS,
                                 nullptr, &key, nullptr) != platform::ERROR_SUCCESS) {
      continue;
    }
    for (uint32_t index = 1; index <= kLastStoredServer; ++index) {
      char name[8];
      std::snprintf(name, sizeof name, "%u", index);
      if (!HasServer(index)) {
        (void)platform::RegDeleteValue(key, name);
        continue;
      }
      const ServerListEntry& entry = entries_[index];
      uint8_t record[kServerRecordBytes] = {};
      std::memcpy(record, &entry.port, sizeof entry.port);
      record[2] = entry.preferred;
      std::memcpy(record + 3, entry.host, kServerHostBytes);
      written = platform::RegSetValueEx(key, name, 0, platform::REG_BINARY, record,
                                        sizeof record) == platform::ERROR_SUCCESS;
    }
    const uint32_t latest = latest_connected_;
    written = platform::RegSetValueEx(key, kLatestValueName, 0, platform::REG_DWORD,
                                      reinterpret_cast<const uint8_t*>(&latest),
                                      sizeof latest) == platform::ERROR_SUCCESS;
    platform::RegCloseKey(key);
  }
  return written;
}

uint8_t ServerList::Pick() {
  bool seeded = false;
  return Pick([&seeded] {
    if (!seeded) {
      platform::srand(static_cast<uint32_t>(std::time(nullptr)));
      seeded = true;
    }
    return platform::rand();
  });
}

uint8_t ServerList::Pick(const std::function<int()>& draw15) {
  if (command_line_server_ && HasServer(0) && !entries_[0].failed) return 0;

  uint32_t preferred = 0;
  uint32_t others = 0;
  for (uint32_t index = 1; index < kServerListEntries; ++index) {
    if (!Usable(index)) continue;
    if (entries_[index].preferred) {
      ++preferred;
    } else {
      ++others;
    }
  }
  const bool pool_preferred = preferred > 0;
  const uint32_t pool_size = pool_preferred ? preferred : others;
  if (pool_size == 0) return kNoServer;
  auto in_pool = [&](uint32_t index) {
    return Usable(index) && (entries_[index].preferred != 0) == pool_preferred;
  };
  if (in_pool(latest_connected_)) return latest_connected_;

  // Draws at or above the largest multiple of the pool size below 32,767 would favour the
  // first entries.
  const uint32_t limit = (32767u / pool_size) * pool_size;
  uint32_t draw;
  do {
    draw = static_cast<uint32_t>(draw15());
  } while (draw >= limit);
  uint32_t wanted = draw % pool_size;
  for (uint32_t index = 1; index < kServerListEntries; ++index) {
    if (!in_pool(index)) continue;
    if (wanted == 0) return static_cast<uint8_t>(index);
    --wanted;
  }
  return kNoServer;
}

void ServerList::SetEntry(uint32_t index, const char* host, uint16_t port, uint8_t preferred) {
  if (index >= kServerListEntries) return;
  ServerListEntry& entry = entries_[index];
  CopyHost(entry.host, host != nullptr ? host : "", kServerHostBytes);
  entry.port = port;
  entry.preferred = preferred;
}

void ServerList::SetCommandLineServer(const char* host, int32_t port) {
  command_line_server_ = 1;
  SetEntry(0, host, port == -1 ? kCommandLineDefaultPort : static_cast<uint16_t>(port), 0);
}

const char* ServerList::GetHost(uint32_t index) const {
  return index < kServerListEntries ? entries_[index].host : nullptr;
}

uint16_t ServerList::GetPort(uint32_t index) const {
  return index < kServerListEntries ? entries_[index].port : 0xFFFF;
}

bool ServerList::IsPreferred(uint32_t index) const {
  return index < kServerListEntries && entries_[index].preferred != 0;
}

void ServerList::MarkFailed(uint32_t index) {
  if (index < kServerListEntries) entries_[index].failed = 1;
}

void ServerList::ClearFailed() {
  for (uint32_t index = 1; index < kServerListEntries; ++index) entries_[index].failed = 0;
}

void ServerList::ClearPreferred() {
  for (uint32_t index = 1; index < kServerListEntries; ++index) entries_[index].preferred = 0;
}

ServerList& GlobalServerList() {
  static ServerList list;
  return list;
}
