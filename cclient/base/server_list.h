// The game servers the client may connect to.
//
// Entries 1-250 are handed out by the servers and kept in the registry between runs (one BINARY
// value per entry under the "Install2" key beside the options key), entries 251-254 hold the four
// default servers of the start-up file, and entry 0 a server named on the command line. Pick
// chooses the lobby's first server, favouring the one that last worked.
//
// UI thread only.
#pragma once

#include <cstdint>
#include <functional>

namespace platform {
struct RegistryKey;
}

constexpr uint32_t kServerListEntries = 255;
constexpr uint8_t kNoServer = 255;
constexpr uint32_t kServerHostBytes = 128;
// Registry record of one entry: port (u16, host order), preferred flag (u8), host (128 bytes).
constexpr uint32_t kServerRecordBytes = 131;
constexpr uint8_t kLastStoredServer = 250;
constexpr uint8_t kFirstDefaultServer = 251;
constexpr uint32_t kDefaultServers = 4;
constexpr uint16_t kCommandLineDefaultPort = 8085;

struct ServerListEntry {
  char host[kServerHostBytes];  // empty = unused
  uint16_t port;                // 0 = unused
  uint8_t preferred;
  uint8_t failed;
};

class ServerList {
 public:
  ServerList();
  virtual ~ServerList() = default;

  // Reads entries 1-254 from the registry and puts the four defaults into 251-254: the i-th
  // default host is `default_hosts` + i * `stride` and its port lies `stride` bytes after the
  // (i-1)-th port (the layout of the start-up file's server table). Removes duplicates and reads
  // the latest connected index.
  void Load(const char* options_key, const char* default_hosts, uint32_t stride,
            const uint32_t* default_ports);
  // Writes entries 1-250 and the latest connected index under the local machine and under the
  // current user. Returns the result of the last registry write (nonzero = written).
  [[nodiscard]] int Save(const char* options_key);

  // The server to connect to, or kNoServer. Seeds the process's generator with the time when it
  // has to draw.
  uint8_t Pick();
  // The same with the draws of 0-32,767 taken from `draw15`.
  uint8_t Pick(const std::function<int()>& draw15);

  void SetEntry(uint32_t index, const char* host, uint16_t port, uint8_t preferred);
  void SetCommandLineServer(const char* host, int32_t port);
  // The entry's host (nullptr for 255 or more) and port (0xFFFF for 255 or more).
  const char* GetHost(uint32_t index) const;
  uint16_t GetPort(uint32_t index) const;
  uint32_t GetEntryCount() const { return entry_count_; }
  bool IsPreferred(uint32_t index) const;
  void MarkFailed(uint32_t index);
  void ClearFailed();
  void ClearPreferred();
  void SetLatestConnected(uint8_t index) { latest_connected_ = index; }
  uint8_t GetLatestConnected() const { return latest_connected_; }

 private:
  bool HasServer(uint32_t index) const;
  bool Usable(uint32_t index) const;
  uint32_t ReadEntries(platform::RegistryKey* key);
  void RemoveDuplicates();

  uint32_t entry_count_ = 0;
  ServerListEntry entries_[kServerListEntries] = {};
  uint8_t command_line_server_ = 0;
  uint8_t latest_connected_ = kNoServer;
};

// The program's server list, built on first use.
ServerList& GlobalServerList();
