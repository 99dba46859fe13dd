// The demo room's undealt tables: joins, seats, chat, leaving, the buy-in balance, rebuys and the
// play-money refill, for any table id the client asks for that the lobby does not list (the dealt
// tables' runner, demo_dealer.cpp, hands those on here), and rebuys and refills at every table.
// Each joined table has a dealer who greets the player, seats two house players and talks now and
// then, but deals no hand: these tables are for tests of what every table has.
#include <cstdint>
#include <cstring>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "tests/server/demo_room.h"

namespace {

// Table packet types (client to server and back).
constexpr uint16_t kJoinRequest = 2100;
constexpr uint16_t kJoinResult = 2101;
constexpr uint16_t kDealerMessage = 2102;
constexpr uint16_t kDealerSummary = 2103;
constexpr uint16_t kPlayerMessage = 2104;
constexpr uint16_t kSitRequest = 2105;
constexpr uint16_t kSitResult = 2106;
constexpr uint16_t kChatMessage = 2107;
constexpr uint16_t kAddPlayer = 2108;
constexpr uint16_t kLeaveRequest = 2110;
constexpr uint16_t kLeaveResponse = 2111;
constexpr uint16_t kBalanceRequest = 2112;
constexpr uint16_t kBalanceResponse = 2113;
constexpr uint16_t kBringMoreRequest = 2120;
constexpr uint16_t kPlayerBalance = 2122;
constexpr uint16_t kRebuyReply = 2131;
constexpr uint16_t kTopUpRequest = 2150;
constexpr uint16_t kTopUpResult = 2151;

constexpr uint32_t kMinimumSitCents = 2000;
constexpr uint32_t kMaximumSitCents = 20000;
constexpr uint32_t kDemoBalanceCents = 100000;
// About every 15 s (the room ticks every 20 ms) the dealer says something.
constexpr int kDealerTalkTicks = 750;

struct Packet {
  std::vector<uint8_t> bytes;
  Packet& U8(uint8_t value) {
    bytes.push_back(value);
    return *this;
  }
  Packet& U32(uint32_t value) {
    for (int shift = 24; shift >= 0; shift -= 8) bytes.push_back(static_cast<uint8_t>(value >> shift));
    return *this;
  }
  Packet& Fixed(const std::string& text, size_t size) {
    for (size_t i = 0; i < size; ++i) bytes.push_back(i + 1 < size && i < text.size() ? static_cast<uint8_t>(text[i]) : 0);
    return *this;
  }
  Packet& Text(const std::string& text) {
    bytes.insert(bytes.end(), text.begin(), text.end());
    bytes.push_back(0);
    return *this;
  }
};

struct Seat {
  uint8_t seat;
  std::string name;
  uint32_t cents;
};

const Seat kHousePlayers[] = {{1, "Dora", 15000}, {6, "Hal", 8800}};

struct DemoTablesState {
  // Joined tables by connection, with each table's tick count.
  std::map<int, std::map<uint32_t, int>> joined;
};

uint32_t ReadU32(const std::vector<uint8_t>& payload, size_t at) {
  if (payload.size() < at + 4) return 0;
  return (uint32_t{payload[at]} << 24) | (uint32_t{payload[at + 1]} << 16) | (uint32_t{payload[at + 2]} << 8) |
         payload[at + 3];
}

Packet ForTable(uint32_t table_id) { return Packet().U32(table_id); }

Packet SeatRecord(Packet packet, const Seat& seat) {
  return packet.U8(seat.seat).Fixed(seat.name, 11).U32(seat.cents).Fixed("", 32).U32(1);
}

// The tables here are none the lobby lists: each gets a made-up name.
std::vector<uint8_t> JoinResult(uint32_t table_id) {
  const std::string name = "Demo Table " + std::to_string(table_id);
  const std::string stakes = "$10/$20";
  Packet packet = ForTable(table_id);
  packet.U8(0).U32(0).Fixed(name, 32).Fixed(stakes, 32);
  packet.U32(0).U32(1000 + table_id).U32(0).U32(kMinimumSitCents).U32(kMaximumSitCents).U32(0);
  packet.U8(10).U8(0).U8(static_cast<uint8_t>(std::size(kHousePlayers)));
  for (const Seat& seat : kHousePlayers) packet = SeatRecord(std::move(packet), seat);
  return packet.bytes;
}

void OnJoin(const DemoPacket& packet) {
  const uint32_t table_id = ReadU32(packet.payload, 0);
  if (packet.payload.size() < 4) return;
  packet.room.Part<DemoTablesState>().joined[packet.connection][table_id] = 0;
  packet.Reply(kJoinResult, JoinResult(table_id));
  packet.Reply(kDealerMessage, ForTable(table_id).Text("Dealer: Welcome to the demo table.").bytes);
  packet.Reply(kPlayerMessage, ForTable(table_id).Text("Dora>good luck everyone").bytes);
}

void OnSit(const DemoPacket& packet) {
  if (packet.payload.size() < 9) return;
  const uint32_t table_id = ReadU32(packet.payload, 0);
  const uint8_t seat = packet.payload[4];
  const uint32_t cents = ReadU32(packet.payload, 5);
  const bool taken = seat >= 10 || seat == kHousePlayers[0].seat || seat == kHousePlayers[1].seat;
  packet.Reply(kSitResult, ForTable(table_id).U8(taken ? 1 : 0).bytes);
  if (taken) return;
  packet.Reply(kAddPlayer, SeatRecord(ForTable(table_id), Seat{seat, "You", cents}).bytes);
  packet.Reply(kDealerSummary, ForTable(table_id).Text("You take a seat.").bytes);
}

void OnChat(const DemoPacket& packet) {
  if (packet.payload.size() < 5) return;
  const uint32_t table_id = ReadU32(packet.payload, 0);
  std::string text(packet.payload.begin() + 4, packet.payload.end());
  text = text.c_str();  // up to the NUL
  packet.Reply(kPlayerMessage, ForTable(table_id).Text("You>" + text).bytes);
}

void OnLeave(const DemoPacket& packet) {
  const uint32_t table_id = ReadU32(packet.payload, 0);
  packet.room.Part<DemoTablesState>().joined[packet.connection].erase(table_id);
  packet.Reply(kLeaveResponse, ForTable(table_id).bytes);
}

void OnBalance(const DemoPacket& packet) {
  const uint32_t table_id = ReadU32(packet.payload, 0);
  packet.Reply(kBalanceResponse,
               ForTable(table_id).U8(0).U32(kDemoBalanceCents).U32(kMinimumSitCents).U32(kMaximumSitCents).bytes);
}

void OnBringMore(const DemoPacket& packet) {
  const uint32_t table_id = ReadU32(packet.payload, 0);
  packet.Reply(kDealerSummary, ForTable(table_id).Text("Your money will be added before the next hand.").bytes);
}

void OnRebuyReply(const DemoPacket& packet) {
  const uint32_t table_id = ReadU32(packet.payload, 0);
  packet.Reply(kDealerSummary, ForTable(table_id).Text("Your rebuy is noted.").bytes);
}

void OnTopUp(const DemoPacket& packet) {
  const uint32_t table_id = ReadU32(packet.payload, 0);
  packet.Reply(kTopUpResult, ForTable(table_id).U8(0).bytes);
}

void DealerTalk(DemoRoom& room, int connection) {
  auto& tables = room.Part<DemoTablesState>().joined[connection];
  for (auto& [table_id, ticks] : tables) {
    if (++ticks % kDealerTalkTicks != 0) continue;
    const int round = ticks / kDealerTalkTicks;
    room.SendTo(connection, kDealerMessage,
                ForTable(table_id).Text("Dealer: Hand #" + std::to_string(1000 + table_id + round) +
                                        " is about to start.").bytes);
    room.SendTo(connection, kPlayerBalance,
                ForTable(table_id).U8(kHousePlayers[round % 2].seat).U32(10000 + 100 * static_cast<uint32_t>(round)).bytes);
  }
}

}  // namespace

void AddDemoTables(DemoRoom& room) {
  room.On(kJoinRequest, OnJoin);
  room.On(kSitRequest, OnSit);
  room.On(kChatMessage, OnChat);
  room.On(kLeaveRequest, OnLeave);
  room.On(kBalanceRequest, OnBalance);
  room.On(kBringMoreRequest, OnBringMore);
  room.On(kRebuyReply, OnRebuyReply);
  room.On(kTopUpRequest, OnTopUp);
  room.Every(DealerTalk);
  room.WhenClosed([](DemoRoom& closing_room, int connection) {
    closing_room.Part<DemoTablesState>().joined.erase(connection);
  });
}
