// The network object: the client's eight game-server connections.
//
// A caller (the lobby, a table, a tournament window) asks for a connection to a host and port and
// gets a connection id 0-7; connections to the same host (in any letter case) and port are shared
// with a reference count, and a connection nobody references any more lingers for two minutes
// before it is closed with a disconnect packet. Packets are sent by connection id; the pump takes
// at most one received packet per connection per call to the central dispatch.
//
// Every operation runs on the UI thread. The connection threads are reached only through their
// rings and flags (net_thread.h).
#pragma once

#include <cstdint>

#include "cclient/net/net_session.h"
#include "cclient/net/net_thread.h"
#include "cclient/net/use_packet.h"

class ServerList;

constexpr uint32_t kNetworkSlots = 8;
constexpr uint32_t kSlotHostBytes = 128;
constexpr uint32_t kPendingTables = 4;
constexpr int32_t kLingerMs = 120000;
// How long a closing connection is given to put its disconnect packet on the wire.
constexpr uint32_t kDisconnectGraceMs = 250;

// Network::SendPacket on an id outside 0-7 or a slot with no connection.
constexpr int kSendNoConnection = -3;

// Bookkeeping of one connection slot.
class NetServerSlot {
 public:
  virtual ~NetServerSlot() = default;

  int32_t linger = 0;      // ms left before an unreferenced connection is closed
  int32_t references = 0;  // users of the connection
  char host[kSlotHostBytes] = {};
  uint16_t port = 0;
  uint8_t in_use = 0;             // the slot's connection thread has been started
  uint8_t server_list_index = 0;  // the ServerList entry the connection was made for
  // The server list has not yet been told that this connection works; it is told when the
  // server's first packet has arrived.
  uint8_t latest_unrecorded = 0;
};

// One connection: its thread and what the session packets keep for it.
class NetConnection {
 public:
  // Keeps the owner, clears the session word and pending tables, starts the thread.
  // nullptr or the thread's error text.
  [[nodiscard]] const char* Start(NetOwnerWindow owner, const char* host, uint32_t port);
  // Takes at most one received packet into the poll buffer and hands it to `dispatch`.
  void Poll(const PacketDispatch& dispatch);

  uint32_t session_word = 0;                     // the session counter of the server's last hello
  uint32_t pending_tables[kPendingTables] = {};  // tables to re-join on the next hello; 0 = empty
  NetOwnerWindow owner = nullptr;
  uint8_t server_seen_address[4] = {};  // the client's address as the server reported it
  uint8_t poll_buffer[kInputSlotBytes];
  NetThreadClass thread;
  uint8_t connection_id = 0;
};

class Network {
 public:
  // Sets up the TLS library (the result is ignored: without a client context every connect
  // fails and is retried) and numbers the connections. `server_list` (may be null) learns which
  // server last worked; it must outlive this object.
  explicit Network(ServerList* server_list = nullptr);
  // Stops every connection thread, then cleans up the TLS library.
  virtual ~Network();
  Network(const Network&) = delete;
  Network& operator=(const Network&) = delete;

  // A connection id for (host, port): an open one is shared, else the first free slot is started.
  // 255 when all eight slots are taken, the thread cannot start, or the host has more than 127
  // characters.
  uint8_t Init(NetOwnerWindow owner, const char* host, uint32_t port, uint8_t server_list_index);
  // Drops one reference; the last one either lingers or (immediately) closes the connection
  // after a disconnect packet.
  void Release(uint8_t connection_id, bool immediately);
  // Counts down lingering connections by `elapsed_ms`; closes those whose time ran out.
  void TickLinger(int32_t elapsed_ms);
  // Closes every lingering connection after a disconnect packet.
  void CloseUnreferenced();
  // Stops one connection's thread.
  void Shutdown(uint8_t connection_id);

  // Queues a packet (copied): kSendQueued, kSendTooLarge above 8,192 bytes, kSendQueueFull with
  // 20 waiting, kSendNoConnection for an id outside 0-7 or a slot not in use.
  [[nodiscard]] int SendPacket(uint32_t type, const void* payload, uint32_t length,
                               uint8_t connection_id);
  // Queues a packet on every referenced connection; a disconnect goes to lingering ones too.
  void Broadcast(uint32_t type, const void* payload, uint32_t length);
  // Waits until every connected connection has written all its queued packets to its socket, or
  // `timeout_ms` of real time have passed. Connections that are not connected (still connecting,
  // or waiting to reconnect) are not waited for. True when all were written.
  bool WaitForOutputSent(uint32_t timeout_ms);
  // For each slot in use, in slot order, hands at most one received packet to the dispatch.
  // The caller guards against re-entry.
  void Pump();
  // Replaces the dispatch (UsePacket by default); tests put their own in place.
  void SetDispatch(PacketDispatch dispatch) { dispatch_ = std::move(dispatch); }

  void AddRef(uint8_t connection_id);
  void AddPendingTable(uint32_t table_id, uint8_t connection_id);
  // Every other referenced connection sends its hello again on its next step.
  void RequestHelloExcept(uint8_t connection_id);
  // A live connection (a link quality above 0): referenced ones first, then lingering ones.
  // 1 when found (outputs set), else 0.
  int FindLiveConnection(uint8_t* connection_id, uint8_t* server_list_index) const;
  bool IsServerLinked(const char* host, uint32_t port) const;

  // Accessors by connection id; an id outside 0-7 gives 0, "" or leaves the outputs alone.
  uint32_t GetLinkQuality(uint8_t connection_id) const;
  const char* GetLinkQualityText(uint8_t connection_id) const;
  uint32_t GetReconnectCount(uint8_t connection_id) const;
  uint32_t GetFailedConnectCount(uint8_t connection_id) const;
  float GetFrameProgress(uint8_t connection_id) const;
  int GetLocalAddress(uint8_t connection_id, uint8_t address[4]) const;
  int GetServerSeenAddress(uint8_t connection_id, uint8_t address[4]) const;
  void GetPingTimes(uint8_t connection_id, uint32_t* count, uint32_t* last, uint32_t* worst,
                    uint32_t* total) const;
  // Copies the texts of the last connect into `text` of `size` bytes ("" for a bad id).
  void GetSslCipher(uint8_t connection_id, char* text, uint32_t size) const;
  void GetSslSubject(uint8_t connection_id, char* text, uint32_t size) const;
  void GetSslIssuer(uint8_t connection_id, char* text, uint32_t size) const;
  uint8_t GetServerListIndex(uint8_t connection_id) const;
  int32_t GetRefCount(uint8_t connection_id) const;
  int32_t GetTotalRefs() const;
  bool IsInUse(uint8_t connection_id) const;

  // The connection behind an id, for the session packets' handlers and tests; nullptr for an id
  // outside 0-7.
  NetConnection* GetConnection(uint8_t connection_id);

 private:
  static bool ValidId(uint8_t connection_id) { return connection_id < kNetworkSlots; }
  void QueueDisconnect(uint8_t connection_id);
  void WaitForDisconnectSent(const uint8_t* ids, uint32_t count);
  void CloseSlot(uint8_t connection_id);

  NetServerSlot slots_[kNetworkSlots];
  NetConnection connections_[kNetworkSlots];
  ServerList* server_list_;
  PacketDispatch dispatch_;
  bool tls_ready_ = false;
};

// The program's network object, built on first use (after the server list it reports to) and
// destroyed at exit before it.
Network& GlobalNetwork();
