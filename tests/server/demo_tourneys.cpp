// The demo room's tournaments: every tourney id the client asks about gets a tournament of its own,
// made on first use, whose kind follows the id's last digit: 2 running (players seated at tables,
// chips moving, now and then a player out), 3 announced (registration not open yet), 4 a Pan
// tournament, anything else registering (120 players answered in pages; now and then the room
// drops a player without saying so, so that the client finds its copy short and asks for a whole
// new one). Registration offers three ways to pay; a join adds a player called "demo".
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "tests/server/demo_room.h"

namespace {

constexpr uint16_t kDetailsRequest = 1097;
constexpr uint16_t kStatusRequest = 1098;
constexpr uint16_t kDetails = 1099;
constexpr uint16_t kCostRequest = 1063;
constexpr uint16_t kCostResult = 1064;
constexpr uint16_t kJoinRequest = 1065;
constexpr uint16_t kJoinResult = 1053;
constexpr uint16_t kUnjoinRequest = 1054;
constexpr uint16_t kUnjoinResult = 1055;
constexpr uint32_t kFirstPage = 50;
constexpr uint32_t kLaterPage = 100;
constexpr uint32_t kTicksPerSecond = 50;  // the room ticks about every 20 ms

enum class Kind { kRegistering, kRunning, kAnnounced, kPan };

struct DemoPlayer {
  uint32_t id;
  std::string name;
  int32_t table_id;
  int32_t finish;
  int32_t chips;
};

struct DemoTourney {
  uint32_t id = 0;
  Kind kind = Kind::kRegistering;
  std::vector<DemoPlayer> players;
  uint32_t next_id = 1;
  uint32_t eliminated = 0;
  uint32_t ticks = 0;
  std::vector<int> watching;
  std::map<int, uint32_t> joined;  // connection -> player id of its "demo" player
};

struct TourneyDemo {
  std::map<uint32_t, DemoTourney> tourneys;
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
    return U32(p.id).Text(p.name).Text("").U32(static_cast<uint32_t>(p.table_id)).U32(static_cast<uint32_t>(p.finish))
        .U32(static_cast<uint32_t>(p.chips)).Text("$");
  }
  std::vector<uint8_t> b;
};

uint32_t ReadU32(const std::vector<uint8_t>& p, size_t at) {
  if (p.size() < at + 4) return 0;
  return (uint32_t{p[at]} << 24) | (uint32_t{p[at + 1]} << 16) | (uint32_t{p[at + 2]} << 8) | p[at + 3];
}

uint8_t StateOf(const DemoTourney& t) {
  switch (t.kind) {
    case Kind::kRunning: return 5;
    case Kind::kAnnounced: return 1;
    default: return 2;
  }
}

bool Seated(const DemoTourney& t) { return t.kind == Kind::kRunning; }

DemoTourney& Tourney(DemoRoom& room, uint32_t id) {
  DemoTourney& t = room.Part<TourneyDemo>().tourneys[id];
  if (t.id == id && !t.players.empty()) return t;
  t.id = id;
  switch (id % 10) {
    case 2: t.kind = Kind::kRunning; break;
    case 3: t.kind = Kind::kAnnounced; break;
    case 4: t.kind = Kind::kPan; break;
    default: t.kind = Kind::kRegistering; break;
  }
  const int count = t.kind == Kind::kRunning ? 54 : t.kind == Kind::kRegistering ? 120 : 12;
  for (int i = 0; i < count; ++i) {
    const int32_t table = Seated(t) ? 101 + i % 6 : -1;
    t.players.push_back({t.next_id, "player" + std::to_string(t.next_id), table, 0, 150000 + i * 250});
    ++t.next_id;
  }
  return t;
}

uint32_t Remaining(uint32_t total_seconds, uint32_t ticks) {
  const uint32_t gone = ticks / kTicksPerSecond;
  return gone < total_seconds ? total_seconds - gone : 1;
}

void AddGeneral(Bytes& out, const DemoTourney& t) {
  const bool pan = t.kind == Kind::kPan;
  const bool running = t.kind == Kind::kRunning;
  uint32_t fields = (1u << 0) | (1u << 1) | (1u << 2) | (1u << 4) | (1u << 5) | (1u << 6) | (1u << 8) | (1u << 9) |
                    (1u << 10) | (1u << 17) | (1u << 18) | (1u << 19) | (1u << 20) | (1u << 23) | (1u << 24);
  if (!running) fields |= 1u << 7;
  if (running) fields |= (1u << 12) | (1u << 13) | (1u << 14) | (1u << 15) | (1u << 16);
  out.U32(fields);
  out.Text(pan ? "Pan Night [demo] Special" : running ? "Monday Turbo [demo] Series" : "Sunday Demo [test] Freeroll");
  out.Text(pan ? "Pan" : "No Limit Hold'em");
  out.U32(running ? 2400 + t.ticks / kTicksPerSecond : Remaining(t.kind == Kind::kAnnounced ? 86400 + 7200 : 5400, t.ticks));
  out.Text(pan ? "Pan" : "Hold'em").Text("Monday").Text("8:00 PM");
  if (!running) out.U32(Remaining(3600, t.ticks));
  out.Text("$10 + $1").Text(running ? "$10" : "N/A").Text("N/A");
  if (running) out.Text("Level 4").U32(Remaining(600, t.ticks)).Text("100/200").Text("150/300").U32(Remaining(1500, t.ticks));
  out.U8(StateOf(t)).U32(200).U32(10).U32(t.eliminated);
  if (pan) {
    out.U8('T').U8('P').U8('A').U8(0);
  } else {
    out.U8('T').U8('H').U8('E').U8(0);
  }
  out.U32(150000);
}

void AddTables(Bytes& out) {
  out.U32(6);
  for (uint32_t table = 0; table < 6; ++table) out.U32(101 + table).Text("Table " + std::to_string(101 + table));
}

void AddPrizes(Bytes& out) {
  out.U8(0x3F | 0x40).Text("$1,000").Text("$1,200").Text("10").Text("$400").Text("$250").Text("$150");
}

uint8_t Registration(const DemoTourney& t, int connection) {
  const bool open = t.kind != Kind::kAnnounced && t.kind != Kind::kRunning;
  return static_cast<uint8_t>((open ? 0x01 : 0) | (t.joined.count(connection) != 0 ? 0x04 : 0));
}

std::vector<uint8_t> Page(const DemoTourney& t, int connection, uint32_t after_id, bool complete) {
  Bytes out;
  out.U32(t.id).U32(static_cast<uint32_t>(t.players.size()));
  uint8_t parts = 0x02 | 0x20;
  if (complete) parts |= 0x01 | 0x04 | 0x08 | 0x40 | (Seated(t) ? 0x80 : 0);
  out.U8(parts);
  if (complete) AddGeneral(out, t);
  std::vector<const DemoPlayer*> page;
  const uint32_t limit = complete ? kFirstPage : kLaterPage;
  for (const DemoPlayer& p : t.players) {
    if (p.id > after_id && page.size() < limit) page.push_back(&p);
  }
  const bool last = page.empty() || page.back() == &t.players.back();
  out.U8(static_cast<uint8_t>(0x02 | (complete ? 0 : 0x08) | (last ? 0x10 : 0))).U32(static_cast<uint32_t>(page.size()));
  for (const DemoPlayer* p : page) out.Player(*p);
  if (complete) {
    AddTables(out);
    AddPrizes(out);
  }
  out.U8(Registration(t, connection));
  return out.b;
}

void SendPrizeTable(const DemoPacket& packet, const DemoTourney& t) {
  Bytes out;
  out.U32(t.id).U32(static_cast<uint32_t>(t.players.size())).U8(0x10);
  const char* rows[] = {"1st  $400", "2nd  $250", "3rd  $150", "4th  $100", "5th  $80",
                        "6th  $70",  "7th  $50",  "8th  $40",  "9th  $30",  "10th $30"};
  out.U32(10);
  for (const char* row : rows) out.Text(row);
  packet.Reply(kDetails, out.b);
}

void Watch(DemoTourney& t, int connection) {
  for (int c : t.watching) {
    if (c == connection) return;
  }
  t.watching.push_back(connection);
}

void OnDetailsRequest(const DemoPacket& packet) {
  if (packet.payload.size() < 10) return;
  DemoTourney& t = Tourney(packet.room, ReadU32(packet.payload, 0));
  const uint8_t parts = packet.payload[4];
  if (parts & 0x01) {
    packet.Reply(kDetails, Page(t, packet.connection, 0, true));
    Watch(t, packet.connection);
  } else if (parts & 0x02) {
    packet.Reply(kDetails, Page(t, packet.connection, ReadU32(packet.payload, 5), false));
  } else if ((parts & 0x0C) == 0) {
    // Only the registration flags (the user signed in).
    Bytes out;
    out.U32(t.id).U32(static_cast<uint32_t>(t.players.size())).U8(0x20).U8(Registration(t, packet.connection));
    packet.Reply(kDetails, out.b);
  }
  if (parts & 0x04) SendPrizeTable(packet, t);
}

void OnStatusRequest(const DemoPacket& packet) {
  if (packet.payload.size() < 5 || packet.payload[4] != 0) return;
  DemoTourney& t = Tourney(packet.room, ReadU32(packet.payload, 0));
  for (size_t i = 0; i < t.watching.size(); ++i) {
    if (t.watching[i] == packet.connection) {
      t.watching.erase(t.watching.begin() + static_cast<long>(i));
      break;
    }
  }
}

// One step of a registering tournament: about every 3 s a player tops up. Returns the change to
// send (empty when nothing changed).
std::vector<uint8_t> StepRegistering(DemoTourney& t) {
  if (t.ticks % 150 != 0) return {};
  const size_t i = (t.ticks / 150) % t.players.size();
  t.players[i].chips += 5000;
  Bytes out;
  out.U32(t.id).U32(static_cast<uint32_t>(t.players.size())).U8(0x02).U8(0x04).U32(1)
      .U32(t.players[i].id).U8(0x10).U32(static_cast<uint32_t>(t.players[i].chips));
  if (t.kind == Kind::kRegistering && t.ticks % 3000 == 0 && t.players.size() > 60 &&
      t.players.back().name != "demo") {
    t.players.pop_back();  // the next update's count no longer matches the client's copy
  }
  return out.b;
}

// One step of a running tournament: about every 2 s a pot moves between two players still in,
// and about every 30 s the one who loses is out.
std::vector<uint8_t> StepRunning(DemoTourney& t) {
  if (t.ticks % 100 != 0) return {};
  std::vector<size_t> in;
  for (size_t i = 0; i < t.players.size(); ++i) {
    if (t.players[i].finish == 0) in.push_back(i);
  }
  if (in.size() < 3) return {};
  const size_t winner = in[(t.ticks / 100) % in.size()];
  const size_t loser = in[(t.ticks / 100 + 1) % in.size()];
  const bool out_now = t.ticks % 1500 == 0;
  const int32_t pot = out_now || t.players[loser].chips < 4000 ? t.players[loser].chips : 4000;
  t.players[winner].chips += pot;
  t.players[loser].chips -= pot;
  Bytes out;
  out.U32(t.id).U32(static_cast<uint32_t>(t.players.size())).U8(out_now ? 0x03 : 0x02);
  if (out_now) {
    t.players[loser].finish = static_cast<int32_t>(in.size());
    t.players[loser].table_id = -1;
    ++t.eliminated;
    out.U32(1u << 20).U32(t.eliminated);
  }
  out.U8(0x04).U32(2);
  out.U32(t.players[winner].id).U8(0x10).U32(static_cast<uint32_t>(t.players[winner].chips));
  if (out_now) {
    out.U32(t.players[loser].id).U8(0x04 | 0x08 | 0x10).U32(0xFFFFFFFFu)
        .U32(static_cast<uint32_t>(t.players[loser].finish)).U32(0);
  } else {
    out.U32(t.players[loser].id).U8(0x10).U32(static_cast<uint32_t>(t.players[loser].chips));
  }
  return out.b;
}

// A tournament steps once per room tick, on its first watcher's connection; every watcher hears
// about the change.
void Step(DemoRoom& room, int connection) {
  for (auto& [id, t] : room.Part<TourneyDemo>().tourneys) {
    if (t.watching.empty() || t.watching.front() != connection) continue;
    ++t.ticks;
    const std::vector<uint8_t> change = t.kind == Kind::kRunning ? StepRunning(t) : StepRegistering(t);
    if (change.empty()) continue;
    for (int c : t.watching) room.SendTo(c, kDetails, change);
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

void Announce(const DemoPacket& packet, DemoTourney& t, const Bytes& change) {
  for (int c : t.watching) {
    std::vector<uint8_t> bytes = change.b;
    bytes.push_back(Registration(t, c));
    packet.room.SendTo(c, kDetails, bytes);
  }
}

void OnJoinRequest(const DemoPacket& packet) {
  if (packet.payload.size() < 5) return;
  DemoTourney& t = Tourney(packet.room, ReadU32(packet.payload, 0));
  Bytes result;
  result.U32(t.id);
  if (t.joined.count(packet.connection) != 0) {
    result.U8(2);
    packet.Reply(kJoinResult, result.b);
    return;
  }
  if (packet.payload[4] == 2) {  // the points option: not enough of them
    result.U8(1);
    packet.Reply(kJoinResult, result.b);
    return;
  }
  t.players.push_back({t.next_id++, "demo", -1, 0, 150000});
  t.joined[packet.connection] = t.players.back().id;
  result.U8(0);
  packet.Reply(kJoinResult, result.b);
  Bytes change;
  change.U32(t.id).U32(static_cast<uint32_t>(t.players.size())).U8(0x02 | 0x20).U8(0x02).U32(1).Player(t.players.back());
  Announce(packet, t, change);
}

void OnUnjoinRequest(const DemoPacket& packet) {
  DemoTourney& t = Tourney(packet.room, ReadU32(packet.payload, 0));
  Bytes result;
  result.U32(t.id);
  const auto joined = t.joined.find(packet.connection);
  if (joined == t.joined.end()) {
    result.U8(1);
    packet.Reply(kUnjoinResult, result.b);
    return;
  }
  const uint32_t id = joined->second;
  t.joined.erase(joined);
  for (size_t i = 0; i < t.players.size(); ++i) {
    if (t.players[i].id == id) t.players.erase(t.players.begin() + static_cast<long>(i));
  }
  result.U8(0);
  packet.Reply(kUnjoinResult, result.b);
  Bytes change;
  change.U32(t.id).U32(static_cast<uint32_t>(t.players.size())).U8(0x02 | 0x20).U8(0x01).U32(1).U32(id);
  Announce(packet, t, change);
}

}  // namespace

void AddDemoTourneys(DemoRoom& room) {
  room.On(kDetailsRequest, OnDetailsRequest);
  room.On(kStatusRequest, OnStatusRequest);
  room.On(kCostRequest, OnCostRequest);
  room.On(kJoinRequest, OnJoinRequest);
  room.On(kUnjoinRequest, OnUnjoinRequest);
  room.Every(Step);
  room.WhenClosed([](DemoRoom& r, int connection) {
    for (auto& [id, t] : r.Part<TourneyDemo>().tourneys) {
      for (size_t i = 0; i < t.watching.size(); ++i) {
        if (t.watching[i] == connection) {
          t.watching.erase(t.watching.begin() + static_cast<long>(i));
          break;
        }
      }
      t.joined.erase(connection);
    }
  });
}
