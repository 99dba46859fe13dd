#include "cclient/net/network.h"

#include <strings.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <thread>

#include "cclient/base/debug_log.h"
#include "cclient/base/server_list.h"
#include "cclient/net/packet_types.h"

// ---------------------------------------------------------------------------------------------
// NetConnection

const char* NetConnection::Start(NetOwnerWindow owner_window, const char* host, uint32_t port) {
  owner = owner_window;
  session_word = 0;
  std::memset(pending_tables, 0, sizeof pending_tables);
  return thread.Start(owner_window, host, port);
}

void NetConnection::Poll(const PacketDispatch& dispatch) {
  uint32_t type = 0;
  const int length = thread.ReadPacket(&type, poll_buffer, sizeof poll_buffer);
  if (length < 0) return;
  if (dispatch) (void)dispatch(connection_id, type, poll_buffer, static_cast<uint32_t>(length));
}

// ---------------------------------------------------------------------------------------------
// Network

Network::Network(ServerList* server_list) : server_list_(server_list), dispatch_(&UsePacket) {
  tls_ready_ = TCPSSL_GlobalInit(1, 0) == nullptr;
  for (uint8_t id = 0; id < kNetworkSlots; ++id) {
    connections_[id].connection_id = id;
    connections_[id].thread.SetConnectionId(id);
  }
}

Network::~Network() {
  // Every connection thread ends before the TLS library is cleaned up under it.
  for (NetConnection& connection : connections_) connection.thread.Stop();
  if (tls_ready_) TCPSSL_GlobalCleanup();
}

uint8_t Network::Init(NetOwnerWindow owner, const char* host, uint32_t port,
                      uint8_t server_list_index) {
  if (host == nullptr || std::strlen(host) >= kSlotHostBytes) return kNoConnection;
  uint8_t free_slot = kNoConnection;
  for (uint8_t id = 0; id < kNetworkSlots; ++id) {
    const NetServerSlot& slot = slots_[id];
    if (slot.in_use && slot.port == static_cast<uint16_t>(port) &&
        ::strcasecmp(slot.host, host) == 0) {
      ++slots_[id].references;
      return id;
    }
    if (!slot.in_use && free_slot == kNoConnection) free_slot = id;
  }
  if (free_slot == kNoConnection) return kNoConnection;

  if (connections_[free_slot].Start(owner, host, port) != nullptr) return kNoConnection;
  NetServerSlot& slot = slots_[free_slot];
  std::snprintf(slot.host, sizeof slot.host, "%s", host);
  slot.port = static_cast<uint16_t>(port);
  slot.server_list_index = server_list_index;
  slot.in_use = 1;
  slot.references = 1;
  slot.linger = 0;
  slot.latest_unrecorded = 1;
  DebugLog_WriteLevel(1, "Network::Init success: %s:%d.\n", host, static_cast<int>(port));
  return free_slot;
}

void Network::Release(uint8_t connection_id, bool immediately) {
  if (!ValidId(connection_id) || slots_[connection_id].references <= 0) return;
  NetServerSlot& slot = slots_[connection_id];
  if (--slot.references > 0) return;
  if (immediately) {
    QueueDisconnect(connection_id);
    WaitForDisconnectSent(&connection_id, 1);
    CloseSlot(connection_id);
  } else {
    slot.linger = kLingerMs;
  }
}

void Network::TickLinger(int32_t elapsed_ms) {
  for (uint8_t id = 0; id < kNetworkSlots; ++id) {
    NetServerSlot& slot = slots_[id];
    if (!slot.in_use || slot.references != 0) continue;
    slot.linger -= elapsed_ms;
    if (slot.linger < 1) {
      QueueDisconnect(id);
      WaitForDisconnectSent(&id, 1);
      CloseSlot(id);
    }
  }
}

void Network::CloseUnreferenced() {
  uint8_t closing[kNetworkSlots];
  uint32_t count = 0;
  for (uint8_t id = 0; id < kNetworkSlots; ++id) {
    if (slots_[id].in_use && slots_[id].references == 0) {
      QueueDisconnect(id);
      closing[count++] = id;
    }
  }
  if (count == 0) return;
  WaitForDisconnectSent(closing, count);
  for (uint32_t i = 0; i < count; ++i) CloseSlot(closing[i]);
}

void Network::Shutdown(uint8_t connection_id) {
  if (!ValidId(connection_id)) return;
  DebugLog_WriteLevel(1, "Network::Shutdown: Server = %s:%d\n", slots_[connection_id].host,
                      static_cast<int>(slots_[connection_id].port));
  connections_[connection_id].thread.Stop();
}

void Network::QueueDisconnect(uint8_t connection_id) {
  (void)connections_[connection_id].thread.SendPacket(PACKETTYPE_DISCONNECT, nullptr, 0);
}

// Gives the connections up to kDisconnectGraceMs of real time to send what they have queued
// (their disconnect packets among it), returning as soon as all have. Real time, since it waits
// for other threads' real writes.
void Network::WaitForDisconnectSent(const uint8_t* ids, uint32_t count) {
  const auto deadline =
      std::chrono::steady_clock::now() + std::chrono::milliseconds(kDisconnectGraceMs);
  for (;;) {
    bool all_sent = true;
    for (uint32_t i = 0; i < count; ++i) {
      if (connections_[ids[i]].thread.PendingOutput() != 0) all_sent = false;
    }
    if (all_sent || std::chrono::steady_clock::now() >= deadline) return;
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
}

void Network::CloseSlot(uint8_t connection_id) {
  Shutdown(connection_id);
  slots_[connection_id].in_use = 0;
  slots_[connection_id].references = 0;
  slots_[connection_id].latest_unrecorded = 0;
}

int Network::SendPacket(uint32_t type, const void* payload, uint32_t length,
                        uint8_t connection_id) {
  if (!ValidId(connection_id) || !slots_[connection_id].in_use) return kSendNoConnection;
  return connections_[connection_id].thread.SendPacket(type, payload, length);
}

void Network::Broadcast(uint32_t type, const void* payload, uint32_t length) {
  for (uint8_t id = 0; id < kNetworkSlots; ++id) {
    const NetServerSlot& slot = slots_[id];
    if (!slot.in_use) continue;
    if (slot.references > 0 || type == PACKETTYPE_DISCONNECT) {
      (void)connections_[id].thread.SendPacket(type, payload, length);
    }
  }
}

bool Network::WaitForOutputSent(uint32_t timeout_ms) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeout_ms);
  for (;;) {
    bool all_sent = true;
    for (uint8_t id = 0; id < kNetworkSlots; ++id) {
      // A connection that is not connected has nothing to put on the wire until it is; its
      // packets are not waited for.
      const NetThreadClass& thread = connections_[id].thread;
      if (slots_[id].in_use && thread.GetState() == NET_CONNECTED && thread.PendingOutput() != 0) {
        all_sent = false;
      }
    }
    if (all_sent) return true;
    if (std::chrono::steady_clock::now() >= deadline) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
}

void Network::Pump() {
  for (uint8_t id = 0; id < kNetworkSlots; ++id) {
    NetServerSlot& slot = slots_[id];
    if (!slot.in_use) continue;
    // The server has answered on this connection: it is the one to favour next time.
    if (slot.latest_unrecorded && connections_[id].thread.GetPacketsReceived() > 0) {
      slot.latest_unrecorded = 0;
      if (server_list_ != nullptr) server_list_->SetLatestConnected(slot.server_list_index);
    }
    connections_[id].Poll(dispatch_);
  }
}

void Network::AddRef(uint8_t connection_id) {
  if (ValidId(connection_id)) ++slots_[connection_id].references;
}

void Network::AddPendingTable(uint32_t table_id, uint8_t connection_id) {
  if (!ValidId(connection_id)) return;
  for (uint32_t& pending : connections_[connection_id].pending_tables) {
    if (pending == 0) {
      pending = table_id;
      return;
    }
  }
}

void Network::RequestHelloExcept(uint8_t connection_id) {
  for (uint8_t id = 0; id < kNetworkSlots; ++id) {
    if (id != connection_id && slots_[id].in_use && slots_[id].references > 0) {
      connections_[id].thread.RequestHello();
    }
  }
}

int Network::FindLiveConnection(uint8_t* connection_id, uint8_t* server_list_index) const {
  for (const bool referenced : {true, false}) {
    for (uint8_t id = 0; id < kNetworkSlots; ++id) {
      const NetServerSlot& slot = slots_[id];
      if (!slot.in_use || (slot.references > 0) != referenced) continue;
      if (connections_[id].thread.GetLinkQuality() > LINK_NONE) {
        *connection_id = id;
        *server_list_index = slot.server_list_index;
        return 1;
      }
    }
  }
  return 0;
}

bool Network::IsServerLinked(const char* host, uint32_t port) const {
  for (uint8_t id = 0; id < kNetworkSlots; ++id) {
    const NetServerSlot& slot = slots_[id];
    if (slot.port == static_cast<uint16_t>(port) && ::strcasecmp(slot.host, host) == 0 &&
        connections_[id].thread.GetLinkQuality() > LINK_NONE) {
      return true;
    }
  }
  return false;
}

uint32_t Network::GetLinkQuality(uint8_t connection_id) const {
  return ValidId(connection_id) ? connections_[connection_id].thread.GetLinkQuality() : 0;
}

const char* Network::GetLinkQualityText(uint8_t connection_id) const {
  return ValidId(connection_id) ? connections_[connection_id].thread.GetLinkQualityText() : "";
}

uint32_t Network::GetReconnectCount(uint8_t connection_id) const {
  return ValidId(connection_id) ? connections_[connection_id].thread.GetReconnectCount() : 0;
}

uint32_t Network::GetFailedConnectCount(uint8_t connection_id) const {
  return ValidId(connection_id) ? connections_[connection_id].thread.GetFailedConnectCount() : 0;
}

float Network::GetFrameProgress(uint8_t connection_id) const {
  return ValidId(connection_id) ? connections_[connection_id].thread.GetFrameProgress() : 0.0f;
}

int Network::GetLocalAddress(uint8_t connection_id, uint8_t address[4]) const {
  if (ValidId(connection_id)) connections_[connection_id].thread.GetLocalAddress(address);
  return 0;
}

int Network::GetServerSeenAddress(uint8_t connection_id, uint8_t address[4]) const {
  if (ValidId(connection_id)) {
    std::memcpy(address, connections_[connection_id].server_seen_address, 4);
  }
  return 0;
}

void Network::GetPingTimes(uint8_t connection_id, uint32_t* count, uint32_t* last, uint32_t* worst,
                           uint32_t* total) const {
  if (ValidId(connection_id)) {
    connections_[connection_id].thread.GetPingTimes(count, last, worst, total);
  }
}

void Network::GetSslCipher(uint8_t connection_id, char* text, uint32_t size) const {
  if (ValidId(connection_id)) {
    connections_[connection_id].thread.GetSslCipher(text, size);
  } else if (size > 0) {
    text[0] = '\0';
  }
}

void Network::GetSslSubject(uint8_t connection_id, char* text, uint32_t size) const {
  if (ValidId(connection_id)) {
    connections_[connection_id].thread.GetSslSubject(text, size);
  } else if (size > 0) {
    text[0] = '\0';
  }
}

void Network::GetSslIssuer(uint8_t connection_id, char* text, uint32_t size) const {
  if (ValidId(connection_id)) {
    connections_[connection_id].thread.GetSslIssuer(text, size);
  } else if (size > 0) {
    text[0] = '\0';
  }
}

uint8_t Network::GetServerListIndex(uint8_t connection_id) const {
  return ValidId(connection_id) ? slots_[connection_id].server_list_index : 0;
}

int32_t Network::GetRefCount(uint8_t connection_id) const {
  return ValidId(connection_id) ? slots_[connection_id].references : 0;
}

int32_t Network::GetTotalRefs() const {
  int32_t total = 0;
  for (const NetServerSlot& slot : slots_) {
    if (slot.in_use) total += slot.references;
  }
  return total;
}

bool Network::IsInUse(uint8_t connection_id) const {
  return ValidId(connection_id) && slots_[connection_id].in_use != 0;
}

NetConnection* Network::GetConnection(uint8_t connection_id) {
  return ValidId(connection_id) ? &connections_[connection_id] : nullptr;
}

Network& GlobalNetwork() {
  // The server list is built first so that it is destroyed after the network object.
  static Network* network = [] {
    ServerList& list = GlobalServerList();
    static Network instance(&list);
    return &instance;
  }();
  return *network;
}
