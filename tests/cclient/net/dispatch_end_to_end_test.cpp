// The program's own path for received packets: a scripted server's packets come through a real
// connection and the program's network object's pump into the central dispatch and its session
// handlers, and the dispatch's answers go back over the same connection.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "cclient/net/network.h"
#include "cclient/net/packet_types.h"
#include "tests/cclient/net/net_test_support.h"

namespace {

class DispatchEndToEndTest : public NetTest {
 protected:
  void SetUp() override {
    NetTest::SetUp();
    DebugLevel = 100;
  }
  void TearDown() override {
    DebugLevel = 0;
    NetTest::TearDown();
  }
};

bool ServerGot(const GameServer& server, uint16_t type, const std::vector<uint8_t>& payload) {
  for (const ServerEvent& event : server.Packets(0)) {
    if (event.type == type && event.payload == payload) return true;
  }
  return false;
}

// True when line `second` comes somewhere after line `first` in `log`. The connection thread
// writes to the same log, so its lines may fall between two of the dispatch's.
bool LineFollows(const std::string& log, const std::string& first, const std::string& second) {
  const size_t at = log.find(first + "\r\n");
  return at != std::string::npos && log.find(second + "\r\n", at) != std::string::npos;
}

TEST_F(DispatchEndToEndTest, server_hello_and_ping_reach_the_dispatch_through_the_pump) {
  std::vector<uint8_t> session_id(kServerSessionIdSize);
  for (uint32_t i = 0; i < kServerSessionIdSize; ++i) session_id[i] = static_cast<uint8_t>(0xA0 + i);
  std::vector<uint8_t> hello = {192, 0, 2, 7};
  hello.insert(hello.end(), session_id.begin(), session_id.end());
  for (uint8_t byte : {0, 0, 0, 0, 0, 0, 0, 9}) hello.push_back(byte);
  const std::vector<uint8_t> ping = {8, 7, 6, 5, 4, 3, 2, 1};

  GameServer server;
  server.SetScript(0, {ScriptStep::Expect(PACKETTYPE_HELLOFROMCLIENT),
                       ScriptStep::Send(PACKETTYPE_HELLOFROMSERVER, hello),
                       ScriptStep::Send(PACKETTYPE_PINGFROMSERVER, ping)});
  ASSERT_TRUE(server.Start());
  Network& network = GlobalNetwork();
  const uint8_t id = network.Init(nullptr, "127.0.0.1", server.Port(), 0);
  ASSERT_NE(id, kNoConnection);

  const bool answered = WaitUntil([&] {
    network.Pump();
    return ServerGot(server, PACKETTYPE_PINGFROMSERVERREPLY, ping);
  });
  EXPECT_TRUE(answered) << server.Describe();

  uint8_t stored[kServerSessionIdSize];
  NetSession_GetServerSessionId(stored);
  EXPECT_EQ(std::vector<uint8_t>(stored, stored + kServerSessionIdSize), session_id);
  uint8_t seen[4];
  network.GetServerSeenAddress(id, seen);
  EXPECT_EQ(std::vector<uint8_t>(seen, seen + 4), (std::vector<uint8_t>{192, 0, 2, 7}));
  const std::string log = LogText();
  EXPECT_TRUE(LineFollows(log, "UsePacket(1001)", "PACKETTYPE_HELLOFROMSERVER")) << log;
  EXPECT_TRUE(LineFollows(log, "UsePacket(1041)", "PACKETTYPE_PINGFROMSERVER")) << log;

  network.Release(id, true);
}

}  // namespace
