#include "cclient/net/network.h"

#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <string>
#include <vector>

#include "cclient/base/server_list.h"
#include "cclient/net/packet_frame.h"
#include "cclient/net/packet_types.h"
#include "tests/cclient/net/net_test_support.h"

namespace {

struct Dispatched {
  uint8_t connection;
  uint32_t type;
  std::vector<uint8_t> payload;
  bool operator==(const Dispatched& other) const {
    return connection == other.connection && type == other.type && payload == other.payload;
  }
};

std::ostream& operator<<(std::ostream& out, const Dispatched& d) {
  return out << "(" << int{d.connection} << ", " << d.type << ", " << d.payload.size() << " bytes)";
}

int CountPackets(const std::vector<ServerEvent>& events, int connection, uint16_t type) {
  int count = 0;
  for (const ServerEvent& event : events) {
    count +=
        event.kind == ServerEvent::kPacket && event.connection == connection && event.type == type;
  }
  return count;
}

int CountKind(const std::vector<ServerEvent>& events, ServerEvent::Kind kind) {
  int count = 0;
  for (const ServerEvent& event : events) count += event.kind == kind;
  return count;
}

bool HelloSeen(const GameServer& server, int connection = 0) {
  return server.WaitFor([&](const std::vector<ServerEvent>& events) {
    return CountPackets(events, connection, PACKETTYPE_HELLOFROMCLIENT) > 0;
  });
}

// The disconnect packet is the last thing the server got on `connection`, and then the link
// went down.
bool DisconnectThenClosed(const GameServer& server, int connection) {
  return server.WaitFor([&](const std::vector<ServerEvent>& events) {
    int last_packet_type = -1;
    bool closed_after = false;
    for (const ServerEvent& event : events) {
      if (event.connection != connection) continue;
      if (event.kind == ServerEvent::kPacket) {
        last_packet_type = event.type;
        closed_after = false;
      }
      if (event.kind == ServerEvent::kPeerClosed) closed_after = true;
    }
    return last_packet_type == PACKETTYPE_DISCONNECT && closed_after;
  });
}

class NetworkTest : public NetTest {
 protected:
  void SetUp() override {
    NetTest::SetUp();
    list_ = std::make_unique<ServerList>();
    network_ = std::make_unique<Network>(list_.get());
    network_->SetDispatch([this](uint8_t connection, uint32_t type, const uint8_t* payload,
                                 uint32_t length) {
      dispatched_.push_back({connection, type, std::vector<uint8_t>(payload, payload + length)});
      return 0;
    });
  }
  void TearDown() override {
    network_.reset();
    list_.reset();
    NetTest::TearDown();
  }

  std::unique_ptr<ServerList> list_;
  std::unique_ptr<Network> network_;
  std::vector<Dispatched> dispatched_;
};

TEST_F(NetworkTest, one_server_in_any_letter_case_shares_one_connection) {
  GameServer server;
  ASSERT_TRUE(server.Start());
  const uint8_t first = network_->Init(nullptr, "LOCALHOST", server.Port(), 3);
  const uint8_t second = network_->Init(nullptr, "localhost", server.Port(), 3);
  ASSERT_NE(first, kNoConnection);
  EXPECT_EQ(second, first);
  EXPECT_EQ(network_->GetRefCount(first), 2);
  EXPECT_EQ(network_->GetTotalRefs(), 2);
  ASSERT_TRUE(HelloSeen(server)) << server.Describe();
  EXPECT_EQ(CountKind(server.Events(), ServerEvent::kAccepted), 1) << server.Describe();
}

TEST_F(NetworkTest, ninth_server_gets_no_connection_while_eight_slots_are_taken) {
  const uint16_t port = ClosedPort();
  for (uint32_t i = 0; i < kNetworkSlots; ++i) {
    const std::string host = "127.0.0." + std::to_string(i + 1);
    ASSERT_EQ(network_->Init(nullptr, host.c_str(), port, 0), i);
  }
  network_->Release(3, false);  // lingering still holds its slot
  EXPECT_TRUE(network_->IsInUse(3));
  EXPECT_EQ(network_->Init(nullptr, "127.0.0.9", port, 0), kNoConnection);
  EXPECT_EQ(network_->Init(nullptr, std::string(kSlotHostBytes, 'h').c_str(), port, 0),
            kNoConnection);
}

TEST_F(NetworkTest, released_connection_lingers_is_reused_and_closes_after_120_s_of_ticks) {
  GameServer server;
  ASSERT_TRUE(server.Start());
  const uint8_t id = network_->Init(nullptr, "127.0.0.1", server.Port(), 0);
  ASSERT_NE(id, kNoConnection);
  ASSERT_TRUE(HelloSeen(server));

  network_->Release(id, false);
  EXPECT_TRUE(network_->IsInUse(id));
  EXPECT_EQ(network_->Init(nullptr, "127.0.0.1", server.Port(), 0), id);  // no new connect
  EXPECT_EQ(network_->GetRefCount(id), 1);

  network_->Release(id, false);
  for (int tick = 0; tick < 2999; ++tick) network_->TickLinger(40);
  EXPECT_TRUE(network_->IsInUse(id));
  EXPECT_EQ(CountPackets(server.Events(), 0, PACKETTYPE_DISCONNECT), 0);
  network_->TickLinger(40);  // 120,000 ms in all
  EXPECT_FALSE(network_->IsInUse(id));
  EXPECT_TRUE(DisconnectThenClosed(server, 0)) << server.Describe();
  EXPECT_EQ(CountKind(server.Events(), ServerEvent::kAccepted), 1);
}

TEST_F(NetworkTest, immediate_release_of_the_last_reference_closes_after_a_disconnect) {
  GameServer server;
  ASSERT_TRUE(server.Start());
  const uint8_t id = network_->Init(nullptr, "127.0.0.1", server.Port(), 0);
  network_->AddRef(id);
  ASSERT_TRUE(HelloSeen(server));
  network_->Release(id, true);
  EXPECT_TRUE(network_->IsInUse(id));  // one reference is left
  network_->Release(id, true);
  EXPECT_FALSE(network_->IsInUse(id));
  EXPECT_TRUE(DisconnectThenClosed(server, 0)) << server.Describe();
}

TEST_F(NetworkTest, broadcast_skips_lingering_connections_except_for_a_disconnect) {
  GameServer kept;
  GameServer lingering;
  ASSERT_TRUE(kept.Start());
  ASSERT_TRUE(lingering.Start());
  const uint8_t kept_id = network_->Init(nullptr, "127.0.0.1", kept.Port(), 0);
  const uint8_t lingering_id = network_->Init(nullptr, "127.0.0.1", lingering.Port(), 0);
  ASSERT_TRUE(HelloSeen(kept));
  ASSERT_TRUE(HelloSeen(lingering));
  network_->Release(lingering_id, false);

  network_->Broadcast(2020, "abc", 3);
  network_->Broadcast(PACKETTYPE_DISCONNECT, nullptr, 0);
  for (GameServer* server : {&kept, &lingering}) {
    EXPECT_TRUE(server->WaitFor([](const std::vector<ServerEvent>& events) {
      return CountPackets(events, 0, PACKETTYPE_DISCONNECT) == 1;
    }));
  }
  EXPECT_EQ(CountPackets(kept.Events(), 0, 2020), 1);
  EXPECT_EQ(CountPackets(lingering.Events(), 0, 2020), 0);
  EXPECT_TRUE(network_->IsInUse(kept_id));
}

// Quitting waits only for connections that are connected: one whose server cannot be reached
// does not hold the end up.
TEST_F(NetworkTest, goodbyes_are_waited_for_only_on_connected_connections) {
  GameServer server;
  ASSERT_TRUE(server.Start());
  const uint8_t connected = network_->Init(nullptr, "127.0.0.1", server.Port(), 0);
  const uint8_t unreachable = network_->Init(nullptr, "127.0.0.1", ClosedPort(), 0);
  ASSERT_NE(connected, kNoConnection);
  ASSERT_NE(unreachable, kNoConnection);
  ASSERT_TRUE(HelloSeen(server));

  network_->Broadcast(PACKETTYPE_DISCONNECT, nullptr, 0);
  const auto started = std::chrono::steady_clock::now();
  EXPECT_TRUE(network_->WaitForOutputSent(2500));
  // A generous bound: the wait lasts as long as one write on loopback, not the whole 2.5 s.
  EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::milliseconds(2000));
  EXPECT_TRUE(server.WaitFor([](const std::vector<ServerEvent>& events) {
    return CountPackets(events, 0, PACKETTYPE_DISCONNECT) == 1;
  })) << server.Describe();
}

TEST_F(NetworkTest, pump_hands_over_one_packet_per_connection_per_call_in_slot_order) {
  GameServer first;
  GameServer second;
  first.SetScript(0, {ScriptStep::Expect(1040), ScriptStep::Send(2101, {1}),
                      ScriptStep::Send(2102, {2}), ScriptStep::Send(2103, {3})});
  second.SetScript(0, {ScriptStep::Expect(1040), ScriptStep::Send(2201, {9})});
  ASSERT_TRUE(first.Start());
  ASSERT_TRUE(second.Start());
  const uint8_t a = network_->Init(nullptr, "127.0.0.1", first.Port(), 0);
  const uint8_t b = network_->Init(nullptr, "127.0.0.1", second.Port(), 0);
  ASSERT_EQ(a, 0);
  ASSERT_EQ(b, 1);
  ASSERT_TRUE(WaitUntil([&] {
    return network_->GetConnection(a)->thread.PendingInput() == 3 &&
           network_->GetConnection(b)->thread.PendingInput() == 1;
  }));

  const std::vector<std::vector<Dispatched>> expected = {
      {{0, 2101, {1}}, {1, 2201, {9}}},
      {{0, 2102, {2}}},
      {{0, 2103, {3}}},
      {},
  };
  for (size_t call = 0; call < expected.size(); ++call) {
    dispatched_.clear();
    network_->Pump();
    EXPECT_EQ(dispatched_, expected[call]) << "call " << call;
  }
}

TEST_F(NetworkTest, send_results_by_size_and_connection) {
  GameServer server;
  const std::vector<uint8_t> largest(kMaxOutgoingPayload, 0x5C);
  server.SetScript(0, {ScriptStep::Expect(1040), ScriptStep::ExpectExact(2030, largest)});
  ASSERT_TRUE(server.Start());
  const uint8_t id = network_->Init(nullptr, "127.0.0.1", server.Port(), 0);
  ASSERT_EQ(id, 0);

  const std::vector<uint8_t> too_large(kMaxOutgoingPayload + 1, 0x5C);
  struct Case {
    const char* name;
    const std::vector<uint8_t>* payload;
    uint8_t connection;
    int result;
  } const cases[] = {
      {"8193_bytes", &too_large, id, kSendTooLarge},
      {"8192_bytes", &largest, id, kSendQueued},
      {"unused_slot", &largest, 5, kSendNoConnection},
      {"id_8", &largest, 8, kSendNoConnection},
      {"id_255", &largest, kNoConnection, kSendNoConnection},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(network_->SendPacket(2030, c.payload->data(),
                                   static_cast<uint32_t>(c.payload->size()), c.connection),
              c.result)
        << c.name;
  }
  EXPECT_TRUE(server.WaitFor([](const std::vector<ServerEvent>& events) {
    return CountPackets(events, 0, 2030) == 1;
  })) << server.Describe();
  EXPECT_EQ(CountKind(server.Events(), ServerEvent::kExpectMismatch), 0) << server.Describe();
}

TEST_F(NetworkTest, latest_connected_server_is_recorded_when_the_server_first_answers) {
  GameServer server;
  ASSERT_TRUE(server.Start());
  const uint8_t id = network_->Init(nullptr, "127.0.0.1", server.Port(), 42);
  ASSERT_TRUE(HelloSeen(server));
  network_->Pump();
  EXPECT_EQ(list_->GetLatestConnected(), kNoServer);  // connected, but not a word back yet

  server.Send(0, 2040, {});
  ASSERT_TRUE(WaitUntil([&] { return network_->GetConnection(id)->thread.PendingInput() == 1; }));
  network_->Pump();
  EXPECT_EQ(list_->GetLatestConnected(), 42);
  EXPECT_EQ(network_->GetLinkQuality(id), static_cast<uint32_t>(LINK_GOOD));
  EXPECT_STREQ(network_->GetLinkQualityText(id), "Good");
}

TEST_F(NetworkTest, hello_is_requested_again_on_every_other_referenced_connection) {
  GameServer lobby;
  GameServer table;
  ASSERT_TRUE(lobby.Start());
  ASSERT_TRUE(table.Start());
  const uint8_t lobby_id = network_->Init(nullptr, "127.0.0.1", lobby.Port(), 0);
  network_->Init(nullptr, "127.0.0.1", table.Port(), 0);
  ASSERT_TRUE(HelloSeen(lobby));
  ASSERT_TRUE(HelloSeen(table));
  network_->RequestHelloExcept(lobby_id);
  EXPECT_TRUE(table.WaitFor([](const std::vector<ServerEvent>& events) {
    return CountPackets(events, 0, PACKETTYPE_HELLOFROMCLIENT) == 2;
  }));
  EXPECT_EQ(CountPackets(lobby.Events(), 0, PACKETTYPE_HELLOFROMCLIENT), 1);
}

TEST_F(NetworkTest, live_connection_search_prefers_referenced_ones) {
  GameServer first;
  GameServer second;
  for (GameServer* server : {&first, &second}) {
    server->SetScript(0, {ScriptStep::Expect(1040), ScriptStep::Send(2050, {})});
    ASSERT_TRUE(server->Start());
  }
  const uint8_t a = network_->Init(nullptr, "127.0.0.1", first.Port(), 11);
  const uint8_t b = network_->Init(nullptr, "127.0.0.1", second.Port(), 22);
  ASSERT_TRUE(WaitUntil(
      [&] { return network_->GetLinkQuality(a) > 0 && network_->GetLinkQuality(b) > 0; }));
  EXPECT_TRUE(network_->IsServerLinked("127.0.0.1", second.Port()));

  network_->Release(a, false);
  uint8_t id = kNoConnection;
  uint8_t index = 0;
  ASSERT_EQ(network_->FindLiveConnection(&id, &index), 1);
  EXPECT_EQ(id, b);
  EXPECT_EQ(index, 22);
  network_->Release(b, false);
  ASSERT_EQ(network_->FindLiveConnection(&id, &index), 1);
  EXPECT_EQ(id, a);  // both linger: the first slot
  EXPECT_EQ(index, 11);
}

}  // namespace
