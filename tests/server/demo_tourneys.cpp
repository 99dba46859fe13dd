// The demo room's tournaments: tournament 77 with 120 registered players, answered in pages, then
// kept moving with chip updates; now and then the room drops a player without saying so, so that
// the client finds its copy short and asks for a whole new one. Registration offers three ways to
// pay and answers join and unjoin requests.
#include <cstdint>
#include <string>
#include <vector>

#include "tests/server/demo_room.h"

namespace {

constexpr uint16_t kDetailsRequest = 1097;
constexpr uint16_t kDetails = 1099;
constexpr uint16_t kCostRequest = 1063;
constexpr uint16_t kCostResult = 1064;
constexpr uint16_t kJoinRequest = 1065;
constexpr uint16_t kJoinResult = 1053;
constexpr uint16_t kUnjoinRequest = 1054;
constexpr uint16_t kUnjoinResult = 1055;
constexpr uint32_t kFirstPage = 50;
constexpr uint32_t kLaterPage = 100;

struct DemoPlayer {
  uint32_t id;
  std::string name;
  int32_t table_id;
  int32_t chips;
};

struct TourneyDemo {
  bool made = false;
  std::vector<DemoPlayer> players;
  uint32_t next_id = 1;
  uint32_t ticks = 0;
  std::vector<int> watching;
};

class Bytes {
 public:
  Bytes& U8(uint8_t v) { b.push_back(v); return *this; }
  Bytes& U32(uint32_t v) {
    for (int s = 24; s >= 0; s -= 8) b.push_back(static_cast<uint8_t>(v >> s));
    return *this;
  }
  Bytes& Text(const std::string& s) {
    b.insert(b.end(), s.begin(), s.end());
    b.push_back(0);
    return *this;
  }
  Bytes& Player(const DemoPlayer& p) {
    return U32(p.id).Text(p.name).Text("").U32(static_cast<uint32_t>(p.table_id)).U32(0)
        .U32(static_cast<uint32_t>(p.chips)).Text("$");
  }
  std::vector<uint8_t> b;
};

TourneyDemo& State(DemoRoom& room) {
  TourneyDemo& demo = room.Part<TourneyDemo>();
  if (!demo.made) {
    demo.made = true;
    for (int i = 0; i < 120; ++i) {
      demo.players.push_back({demo.next_id, "player" + std::to_string(demo.next_id),
                              101 + i / 10, 150000 + i * 250});
      ++demo.next_id;
    }
  }
  return demo;
}

void AddGeneral(Bytes& out) {
  out.U32((1u << 0) | (1u << 1) | (1u << 4) | (1u << 5) | (1u << 6) | (1u << 8) | (1u << 9) |
          (1u << 10) | (1u << 17) | (1u << 18) | (1u << 19) | (1u << 23) | (1u << 24));
  out.Text("Sunday Demo [test] Freeroll").Text("No Limit Hold'em").Text("Hold'em")
      .Text("Sunday").Text("8:00 PM").Text("$10 + $1").Text("N/A").Text("N/A").U8(5)
      .U32(200).U32(10);
  out.U8('T').U8('H').U8('E').U8(0).U32(150000);
}

void AddTables(Bytes& out) {
  out.U32(12);
  for (uint32_t t = 0; t < 12; ++t) out.U32(101 + t).Text("Table " + std::to_string(101 + t));
}

void AddPrizes(Bytes& out) {
  out.U8(0x3F | 0x40).Text("$1,000").Text("$1,200").Text("10").Text("$400").Text("$250")
      .Text("$150");
}

std::vector<uint8_t> Page(const TourneyDemo& demo, uint32_t after_id, bool complete) {
  Bytes out;
  out.U32(77).U32(static_cast<uint32_t>(demo.players.size()));
  uint8_t parts = 0x02 | 0x20;
  if (complete) parts |= 0x01 | 0x04 | 0x08 | 0x40;
  out.U8(parts);
  if (complete) AddGeneral(out);
  std::vector<const DemoPlayer*> page;
  const uint32_t limit = complete ? kFirstPage : kLaterPage;
  for (const DemoPlayer& p : demo.players) {
    if (p.id > after_id && page.size() < limit) page.push_back(&p);
  }
  const bool last = page.empty() || page.back() == &demo.players.back();
  out.U8(static_cast<uint8_t>(0x02 | (complete ? 0 : 0x08) | (last ? 0x10 : 0)))
      .U32(static_cast<uint32_t>(page.size()));
  for (const DemoPlayer* p : page) out.Player(*p);
  if (complete) {
    AddTables(out);
    AddPrizes(out);
  }
  out.U8(0x01);  // registration open
  return out.b;
}

void SendPrizeTable(const DemoPacket& packet) {
  Bytes out;
  out.U32(77).U32(static_cast<uint32_t>(packet.room.Part<TourneyDemo>().players.size())).U8(0x10);
  const char* rows[] = {"1st  $400", "2nd  $250", "3rd  $150", "4th  $100", "5th  $80",
                        "6th  $70",  "7th  $50",  "8th  $40",  "9th  $30",  "10th $30"};
  out.U32(10);
  for (const char* row : rows) out.Text(row);
  packet.Reply(kDetails, out.b);
}

uint32_t ReadU32(const std::vector<uint8_t>& p, size_t at) {
  if (p.size() < at + 4) return 0;
  return (uint32_t{p[at]} << 24) | (uint32_t{p[at + 1]} << 16) | (uint32_t{p[at + 2]} << 8) |
         p[at + 3];
}

void OnDetailsRequest(const DemoPacket& packet) {
  if (ReadU32(packet.payload, 0) != 77 || packet.payload.size() < 10) return;
  TourneyDemo& demo = State(packet.room);
  const uint8_t parts = packet.payload[4];
  if (parts & 0x01) {
    packet.Reply(kDetails, Page(demo, 0, true));
    bool known = false;
    for (int c : demo.watching) known = known || c == packet.connection;
    if (!known) demo.watching.push_back(packet.connection);
  } else if (parts & 0x02) {
    packet.Reply(kDetails, Page(demo, ReadU32(packet.payload, 5), false));
  }
  if (parts & 0x04) SendPrizeTable(packet);
}

// Every few seconds a chip update; every so often a removal that is not announced, which the
// client notices as a short copy.
void Step(DemoRoom& room, int connection) {
  TourneyDemo& demo = State(room);
  bool watching = false;
  for (int c : demo.watching) watching = watching || c == connection;
  if (!watching) return;
  if (++demo.ticks % 150 != 0) return;  // about every 3 s
  const size_t i = (demo.ticks / 150) % demo.players.size();
  demo.players[i].chips += 5000;
  Bytes out;
  out.U32(77).U32(static_cast<uint32_t>(demo.players.size())).U8(0x02).U8(0x04).U32(1)
      .U32(demo.players[i].id).U8(0x10).U32(static_cast<uint32_t>(demo.players[i].chips));
  room.SendTo(connection, kDetails, out.b);
  if (demo.ticks % 3000 == 0 && demo.players.size() > 60) {
    demo.players.pop_back();  // the next update's count no longer matches the client's copy
  }
}

void OnCostRequest(const DemoPacket& packet) {
  Bytes out;
  out.U32(ReadU32(packet.payload, 0)).U8(3);
  out.U8(0).U8(3).U8(1).Text("$10 + $1 from your real money").Text("You have $250.00");
  out.U8(1).U8(1).U8(1).Text("One tournament ticket").Text("You have 2 tickets");
  out.U8(2).U8(10).U8(0).Text("500 player points").Text("You have 120 points");
  packet.Reply(kCostResult, out.b);
}

void OnJoinRequest(const DemoPacket& packet) {
  TourneyDemo& demo = State(packet.room);
  demo.players.push_back({demo.next_id++, "demo", 101, 150000});
  Bytes result;
  result.U32(77).U8(0);
  packet.Reply(kJoinResult, result.b);
  Bytes out;
  out.U32(77).U32(static_cast<uint32_t>(demo.players.size())).U8(0x02 | 0x20).U8(0x02).U32(1)
      .Player(demo.players.back()).U8(0x01 | 0x04);
  packet.Reply(kDetails, out.b);
}

void OnUnjoinRequest(const DemoPacket& packet) {
  TourneyDemo& demo = State(packet.room);
  Bytes result;
  result.U32(77);
  for (size_t i = 0; i < demo.players.size(); ++i) {
    if (demo.players[i].name != "demo") continue;
    const uint32_t id = demo.players[i].id;
    demo.players.erase(demo.players.begin() + static_cast<long>(i));
    result.U8(0);
    packet.Reply(kUnjoinResult, result.b);
    Bytes out;
    out.U32(77).U32(static_cast<uint32_t>(demo.players.size())).U8(0x02 | 0x20).U8(0x01).U32(1)
        .U32(id).U8(0x01);
    packet.Reply(kDetails, out.b);
    return;
  }
  result.U8(1);
  packet.Reply(kUnjoinResult, result.b);
}

}  // namespace

void AddDemoTourneys(DemoRoom& room) {
  room.On(kDetailsRequest, OnDetailsRequest);
  room.On(kCostRequest, OnCostRequest);
  room.On(kJoinRequest, OnJoinRequest);
  room.On(kUnjoinRequest, OnUnjoinRequest);
  room.Every(Step);
  room.WhenClosed([](DemoRoom& r, int connection) {
    auto& watching = r.Part<TourneyDemo>().watching;
    for (size_t i = 0; i < watching.size(); ++i) {
      if (watching[i] == connection) {
        watching.erase(watching.begin() + static_cast<long>(i));
        break;
      }
    }
  });
}
