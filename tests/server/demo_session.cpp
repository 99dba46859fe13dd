// The demo room's session: the server's hello to every connection, followed by RESUMETABLES, which
// enters the client's lobby (no table to resume).
#include <cstring>

#include "cclient/net/packet_types.h"
#include "tests/server/demo_room.h"

namespace {

// One session for the server's life: a client that reconnects stays signed in and keeps its tables.
constexpr char kSessionId[12] = {'D', 'E', 'M', 'O', '-', 'S', 'E', 'S', 'S', 'I', 'O', 'N'};

std::vector<uint8_t> ServerHello() {
  std::vector<uint8_t> payload(24, 0);
  const uint8_t loopback[4] = {127, 0, 0, 1};
  std::memcpy(payload.data(), loopback, 4);
  std::memcpy(payload.data() + 4, kSessionId, sizeof kSessionId);
  payload[23] = 1;  // session counter
  return payload;
}

}  // namespace

void AddDemoSession(DemoRoom& room) {
  room.On(PACKETTYPE_HELLOFROMCLIENT, [](const DemoPacket& packet) {
    packet.Reply(PACKETTYPE_HELLOFROMSERVER, ServerHello());
    packet.Reply(PACKETTYPE_RESUMETABLES, {0, 0, 0, 0});
  });
}
