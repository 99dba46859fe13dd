#include "cclient/core/server_list.h"

#include <strings.h>

#include <cstdio>
#include <cstring>
#include <ctime>

#include "cclient/core/debug_log.h"

ServerList::ServerList() = default;

void ServerList::Load(const char* options_key, const char* default_hosts, uint32_t stride,
                      const uint32_t* default_ports) {}
int ServerList::Save(const char* options_key) { return 0; }
uint8_t ServerList::Pick() { return kNoServer; }
uint8_t ServerList::Pick(const std::function<int()>& draw15) { return kNoServer; }
void ServerList::SetEntry(uint32_t index, const char* host, uint16_t port, uint8_t preferred) {}
void ServerList::SetCommandLineServer(const char* host, int32_t port) {}
const char* ServerList::GetHost(uint32_t index) const { return nullptr; }
uint16_t ServerList::GetPort(uint32_t index) const { return 0xFFFF; }
bool ServerList::IsPreferred(uint32_t index) const { return false; }
void ServerList::MarkFailed(uint32_t index) {}
void ServerList::ClearFailed() {}
void ServerList::ClearPreferred() {}

ServerList& GlobalServerList() {
  static ServerList list;
  return list;
}
