// The demo room's scripted Hold'em table: whoever joins Bristol (table 1002) watches the demo hand
// replayed from its script, one packet about every 1.2 s, and then the next hand, for as long as
// the table is open. The table's join, seats and chat stay the tables part's; a third house player
// sits down for the hands.
#include <cstdint>
#include <map>
#include <vector>

#include "tests/server/demo_room.h"
#include "tests/server/holdem_hands.h"
#include "tests/server/holdem_wire.h"

namespace {

namespace hw = holdem_wire;

constexpr uint32_t kScriptedTable = 1002;
// The room ticks every 20 ms.
constexpr int kTicksPerPacket = 60;
constexpr int kTicksBetweenHands = 250;

const std::vector<holdem_hands::Player> kPlayers = {
    {1, 15000, {{0, 13}}}, {6, 8800, {{26, 39}}}, {8, 12000, {{5, 6}}}};

struct Replay {
  uint32_t hand = 100;
  std::vector<hw::Packet> packets;
  size_t next = 0;
  int wait = kTicksPerPacket;
};

struct DemoHoldemHandsState {
  std::map<int, Replay> replays;  // by connection
};

uint32_t TableIdOf(const std::vector<uint8_t>& payload) {
  if (payload.size() < 4) return 0;
  return (uint32_t{payload[0]} << 24) | (uint32_t{payload[1]} << 16) | (uint32_t{payload[2]} << 8) | payload[3];
}

void Step(DemoRoom& room, int connection) {
  auto& replays = room.Part<DemoHoldemHandsState>().replays;
  const auto found = replays.find(connection);
  if (found == replays.end()) return;
  Replay& replay = found->second;
  if (--replay.wait > 0) return;
  if (replay.next >= replay.packets.size()) {
    ++replay.hand;
    replay.packets = holdem_hands::Render(holdem_hands::DemoHand(replay.hand, kPlayers));
    replay.next = 0;
  }
  const hw::Packet& packet = replay.packets[replay.next++];
  room.SendTo(connection, packet.type, hw::ForTable(kScriptedTable, packet.bytes));
  replay.wait = replay.next == replay.packets.size() ? kTicksBetweenHands : kTicksPerPacket;
}

}  // namespace

void AddDemoHoldemHands(DemoRoom& room) {
  const DemoRoom::Handler join = room.HandlerFor(hw::table::kJoinRequest);
  const DemoRoom::Handler leave = room.HandlerFor(hw::table::kLeaveRequest);
  room.On(hw::table::kJoinRequest, [join](const DemoPacket& packet) {
    if (join) join(packet);
    if (TableIdOf(packet.payload) != kScriptedTable) return;
    const hw::Packet kit = hw::table::EncodeAddPlayer({8, "Kit", 12000, "", 1});
    packet.room.SendTo(packet.connection, kit.type, hw::ForTable(kScriptedTable, kit.bytes));
    Replay replay;
    replay.packets = holdem_hands::Render(holdem_hands::DemoHand(replay.hand, kPlayers));
    packet.room.Part<DemoHoldemHandsState>().replays[packet.connection] = replay;
  });
  room.On(hw::table::kLeaveRequest, [leave](const DemoPacket& packet) {
    if (TableIdOf(packet.payload) == kScriptedTable) {
      packet.room.Part<DemoHoldemHandsState>().replays.erase(packet.connection);
    }
    if (leave) leave(packet);
  });
  room.Every(Step);
  room.WhenClosed([](DemoRoom& closing, int connection) {
    closing.Part<DemoHoldemHandsState>().replays.erase(connection);
  });
}
