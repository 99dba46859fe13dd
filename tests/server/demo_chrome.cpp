// The demo room's answers for the lobby's information panel: who plays at a table the player
// selects (its robots and whoever sits there), and the signed-in player's balances (the wallet
// the tables take buy-ins from). With DEMO_BIRTHDAY set, the first
// balances request of a connection is followed by a birthday greeting with that text ("1" for a
// greeting of the room's own).
#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <set>
#include <string>
#include <vector>

#include "cclient/net/packet_types.h"
#include "tests/server/demo_room.h"

namespace {

constexpr size_t kPlayerNameBytes = 32;
constexpr char kRoomGreeting[] = "Happy birthday from everyone at the demo card room!";

struct ChromeState {
  std::set<int> greeted;
};

void PutU32(std::vector<uint8_t>* out, uint32_t value) {
  for (int shift = 24; shift >= 0; shift -= 8) out->push_back(static_cast<uint8_t>(value >> shift));
}

void PutName(std::vector<uint8_t>* out, const char* name, size_t size) {
  std::vector<uint8_t> field(size, 0);
  std::memcpy(field.data(), name, std::min(std::strlen(name), size));
  out->insert(out->end(), field.begin(), field.end());
}

// A table's players (nobody waits: a dealt table always has a free seat or none to wait for).
std::vector<uint8_t> TableDetail(DemoRoom& room, uint32_t table_id) {
  const std::vector<std::string> players = DemoPlayersAt(room, table_id);
  std::vector<uint8_t> payload;
  PutU32(&payload, table_id);
  PutU32(&payload, static_cast<uint32_t>(players.size()));
  for (const std::string& name : players) PutName(&payload, name.c_str(), kPlayerNameBytes);
  PutU32(&payload, 0);
  PutU32(&payload, 0);
  PutU32(&payload, 0);
  return payload;
}

// Real money and play money from the wallet, then promo bucks, POP and the treasures from copper
// coins to black pearls.
std::vector<uint8_t> Balances(const DemoWallet& wallet) {
  std::vector<uint8_t> payload;
  for (uint32_t value : {wallet.real_cents, wallet.play_cents, 2575u, 1200u, 1700u, 800u, 300u, 200u, 100u, 0u, 0u,
                         0u}) {
    PutU32(&payload, value);
  }
  return payload;
}

}  // namespace

void AddDemoChrome(DemoRoom& room) {
  room.On(PACKETTYPE_TABLEDETAILREQUEST, [](const DemoPacket& packet) {
    if (packet.payload.size() < 4) return;
    const uint32_t table_id = (uint32_t{packet.payload[0]} << 24) | (uint32_t{packet.payload[1]} << 16) |
                              (uint32_t{packet.payload[2]} << 8) | packet.payload[3];
    packet.Reply(PACKETTYPE_TABLEDETAIL, TableDetail(packet.room, table_id));
  });
  room.On(PACKETTYPE_USERBALANCESREQUEST, [](const DemoPacket& packet) {
    packet.Reply(PACKETTYPE_USERBALANCES, Balances(DemoWalletOf(packet.room, packet.connection)));
    const char* birthday = std::getenv("DEMO_BIRTHDAY");
    ChromeState& state = packet.room.Part<ChromeState>();
    if (birthday == nullptr || birthday[0] == '\0' || !state.greeted.insert(packet.connection).second) {
      return;
    }
    const std::string text = std::strcmp(birthday, "1") == 0 ? kRoomGreeting : birthday;
    std::vector<uint8_t> greeting(text.begin(), text.end());
    greeting.push_back(0);
    packet.Reply(PACKETTYPE_BIRTHDAYMESSAGE, greeting);
  });
  room.WhenClosed([](DemoRoom& room, int connection) {
    room.Part<ChromeState>().greeted.erase(connection);
  });
}
