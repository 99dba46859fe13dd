// The demo room's lobby: what a client sees once it is in the lobby. Each new connection gets the
// scroll banner and the lobby counters; the counters and the server map answer their requests;
// and an upgrade notice follows the hello when DEMO_LOBBY_UPGRADE asks for one ("full" for a full
// upgrade, "required" for an upgrade the client may fetch itself, "http" for the web upgrade).
#include <cstdlib>
#include <cstring>
#include <set>
#include <string>

#include "cclient/net/packet_types.h"
#include "tests/server/dealt_tables.h"
#include "tests/server/demo_room.h"

namespace {

constexpr char kBannerText[] =
    "Welcome to the demo card room!  Every table here is played against the scripted game server.";
constexpr char kBannerLink[] = "http://127.0.0.1/promotions/index.html";
// The server map's one server: this one, as the servers' own list knows it.
constexpr uint8_t kDemoServerId = 1;
constexpr size_t kServerMapHostBytes = 128;

struct LobbyState {
  std::set<int> greeted;
};

void PutU32(std::vector<uint8_t>* out, uint32_t value) {
  for (int shift = 24; shift >= 0; shift -= 8) out->push_back(static_cast<uint8_t>(value >> shift));
}

void PutU16(std::vector<uint8_t>* out, uint16_t value) {
  out->push_back(static_cast<uint8_t>(value >> 8));
  out->push_back(static_cast<uint8_t>(value));
}

std::vector<uint8_t> ScrollBanner() {
  std::vector<uint8_t> payload(kBannerText, kBannerText + sizeof kBannerText);
  payload.insert(payload.end(), kBannerLink, kBannerLink + sizeof kBannerLink);
  return payload;
}

// Six counters; the lobby shows the first (players) and the fourth (tables): who sits at the dealt
// tables now, and how many there are.
std::vector<uint8_t> LobbyCounters(DemoRoom& room) {
  uint32_t players = 0;
  for (const demo::DealtTable& table : demo::DealtTables()) {
    players += static_cast<uint32_t>(DemoPlayersAt(room, table.table_id).size());
  }
  const uint32_t tables = static_cast<uint32_t>(demo::DealtTables().size());
  std::vector<uint8_t> payload;
  for (uint32_t counter : {players, 3u, 12u, tables, 0u, 0u}) PutU32(&payload, counter);
  return payload;
}

std::vector<uint8_t> ServerMap(uint16_t port) {
  std::vector<uint8_t> payload = {1, kDemoServerId};
  std::vector<uint8_t> host(kServerMapHostBytes, 0);
  std::memcpy(host.data(), "127.0.0.1", 9);
  payload.insert(payload.end(), host.begin(), host.end());
  PutU16(&payload, port);
  return payload;
}

// Versions as the notices carry them: (major, minor) of A, B and C.
std::vector<uint8_t> UpgradeVersions() {
  std::vector<uint8_t> payload;
  for (uint16_t value : {6, 0, 6, 49, 6, 0}) PutU16(&payload, value);
  return payload;
}

void SendUpgradeNotice(DemoRoom& room, int connection) {
  const char* wanted = std::getenv("DEMO_LOBBY_UPGRADE");
  if (wanted == nullptr) return;
  const std::string kind = wanted;
  if (kind == "full") {
    room.SendTo(connection, PACKETTYPE_FULLUPGRADEREQUIRED);
  } else if (kind == "required") {
    room.SendTo(connection, PACKETTYPE_UPGRADEREQUIRED, UpgradeVersions());
  } else if (kind == "http") {
    std::vector<uint8_t> payload = UpgradeVersions();
    const char address[] = "http://127.0.0.1/upgrade/";
    payload.insert(payload.end(), address, address + sizeof address);
    room.SendTo(connection, PACKETTYPE_HTTPUPGRADEREQUIRED, payload);
  }
}

}  // namespace

void AddDemoLobby(DemoRoom& room) {
  // The hello is a connection's first packet; its first tick follows it.
  room.Every([](DemoRoom& room, int connection) {
    LobbyState& lobby = room.Part<LobbyState>();
    if (!lobby.greeted.insert(connection).second) return;
    room.SendTo(connection, PACKETTYPE_SETSCROLLBANNER, ScrollBanner());
    room.SendTo(connection, PACKETTYPE_MAINLOBBYINFO, LobbyCounters(room));
    SendUpgradeNotice(room, connection);
  });
  room.WhenClosed([](DemoRoom& room, int connection) { room.Part<LobbyState>().greeted.erase(connection); });
  room.On(PACKETTYPE_MAINLOBBYINFOREQUEST, [](const DemoPacket& packet) {
    packet.Reply(PACKETTYPE_MAINLOBBYINFO, LobbyCounters(packet.room));
  });
  room.On(PACKETTYPE_REQUESTSERVERIDIPMAP, [](const DemoPacket& packet) {
    packet.Reply(PACKETTYPE_REQUESTSERVERIDIPMAPRESULT, ServerMap(packet.room.ServerPort()));
  });
}
