// The demo room's dealt tables: a few tables of the lobby's lists (a fixed-limit and a no-limit
// Hold'em table and an Omaha table) have a dealer and three robots who play hands as soon as a
// client joins. The client may take any free seat and play; its turn's clock is kept, and a player
// who lets it run out checks or folds. Every other table is left to the tables part.
#include <algorithm>
#include <chrono>
#include <cstring>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "cclient/net/packet_types.h"
#include "tests/server/dealer/dealer.h"
#include "tests/server/dealer/omaha_wire.h"
#include "tests/server/demo_room.h"
#include "tests/server/holdem_wire.h"

namespace {

namespace hw = holdem_wire;
using Clock = std::chrono::steady_clock;

struct DealtTableKind {
  uint32_t table_id;
  const char* name;
  const char* stakes;
  dealer::Game game;
  dealer::Stakes blinds;
};

// Ids and names as the lobby lists them. A fixed limit of $1/$2 has blinds of $0.50 and $1.
const DealtTableKind kDealtTables[] = {
    {1001, "Aberdeen", "$1/$2", dealer::Game::kHoldem, {50, 100, true}},
    {1008, "Hull", "N/L $1/$2", dealer::Game::kHoldem, {100, 200, false}},
    {2001, "Omaha Ash", "$1/$2", dealer::Game::kOmaha, {50, 100, true}},
};

struct Robot {
  uint8_t seat;
  const char* name;
  uint32_t cents;
};
const Robot kRobots[] = {{1, "Dora", 15000}, {6, "Hal", 8800}, {8, "Kit", 12000}};

constexpr uint32_t kMinimumSitCents = 2000;
constexpr uint32_t kMaximumSitCents = 20000;
constexpr uint32_t kTurnSeconds = 20;
// The player's turn is given up this long after its clock ran out on the table.
constexpr auto kTurnGrace = std::chrono::seconds(5);

struct DealtTable {
  const DealtTableKind* kind = nullptr;
  std::unique_ptr<dealer::Dealer> dealer;
  std::string player_name;
  Clock::time_point next_step;
  Clock::time_point turn_started;
  bool waiting = false;
};

struct DemoDealerState {
  std::map<int, std::string> names;  // signed-in name by connection
  std::string last_name;             // for a table connection that did not sign in itself
  std::map<int, std::map<uint32_t, DealtTable>> tables;  // by connection and table id
};

const DealtTableKind* KindOf(uint32_t table_id) {
  for (const DealtTableKind& kind : kDealtTables) {
    if (kind.table_id == table_id) return &kind;
  }
  return nullptr;
}

uint32_t ReadU32(const std::vector<uint8_t>& payload) {
  if (payload.size() < 4) return 0;
  return (uint32_t{payload[0]} << 24) | (uint32_t{payload[1]} << 16) | (uint32_t{payload[2]} << 8) | payload[3];
}

DealtTable* Find(DemoRoom& room, int connection, uint32_t table_id) {
  auto& tables = room.Part<DemoDealerState>().tables[connection];
  const auto found = tables.find(table_id);
  return found != tables.end() ? &found->second : nullptr;
}

void Send(DemoRoom& room, int connection, uint32_t table_id, const hw::Packet& packet) {
  room.SendTo(connection, packet.type, hw::ForTable(table_id, packet.bytes));
}

// Sets when the table moves next from what the dealer asked for (-1: it waits for the player or
// for players).
void Rest(DealtTable& table, int rest_ms) {
  const Clock::time_point now = Clock::now();
  table.next_step = now + std::chrono::milliseconds(rest_ms < 0 ? 500 : rest_ms);
  const bool waiting = table.dealer->WaitingForPlayer();
  if (waiting && !table.waiting) table.turn_started = now;
  table.waiting = waiting;
}

hw::table::JoinResult JoinResult(const DealtTable& table) {
  hw::table::JoinResult join;
  join.name = table.kind->name;
  join.stakes = table.kind->stakes;
  join.hand = table.dealer->hand_number();
  join.minimum_sit = kMinimumSitCents;
  join.maximum_sit = kMaximumSitCents;
  for (const Robot& robot : kRobots) join.players.push_back({robot.seat, robot.name, table.dealer->ChipsAt(robot.seat), "", 1});
  const int seat = table.dealer->player_seat();
  if (seat >= 0) {
    join.players.push_back({static_cast<uint8_t>(seat), table.player_name, table.dealer->ChipsAt(seat), "", 1});
  }
  return join;
}

void OnJoin(const DemoPacket& packet, const DemoRoom::Handler& others) {
  const uint32_t table_id = ReadU32(packet.payload);
  const DealtTableKind* kind = KindOf(table_id);
  if (kind == nullptr) {
    if (others) others(packet);
    return;
  }
  DemoRoom& room = packet.room;
  const int connection = packet.connection;
  DealtTable& table = room.Part<DemoDealerState>().tables[connection][table_id];
  if (!table.dealer) {
    dealer::DealerConfig config;
    config.game = kind->game;
    config.stakes = kind->blinds;
    config.seed = table_id * 7919u + static_cast<uint32_t>(connection);
    config.first_hand = 1000 * table_id + 1;
    config.turn_seconds = kTurnSeconds;
    table.kind = kind;
    table.dealer = std::make_unique<dealer::Dealer>(config, [&room, connection, table_id](const hw::Packet& p) {
      Send(room, connection, table_id, p);
    });
    for (const Robot& robot : kRobots) table.dealer->SeatRobot(robot.seat, robot.name, robot.cents);
    table.next_step = Clock::now() + std::chrono::seconds(2);
  }
  Send(room, connection, table_id, hw::table::Encode(JoinResult(table)));
  Send(room, connection, table_id,
       hw::table::EncodeText(hw::table::kDealerMessage, std::string("Dealer: Welcome to ") + kind->name + "."));
  table.dealer->SendPlayerStatus();
}

void OnSit(const DemoPacket& packet, const DemoRoom::Handler& others) {
  const auto request = hw::table::DecodeSitRequest(packet.payload);
  DealtTable* table = request ? Find(packet.room, packet.connection, request->table_id) : nullptr;
  if (table == nullptr) {
    if (others) others(packet);
    return;
  }
  DemoDealerState& state = packet.room.Part<DemoDealerState>();
  const bool taken = request->seat >= 10 || table->dealer->player_seat() >= 0 ||
                     std::any_of(std::begin(kRobots), std::end(kRobots), [&](const Robot& r) { return r.seat == request->seat; });
  const uint32_t table_id = request->table_id;
  Send(packet.room, packet.connection, table_id, hw::table::EncodeSitResult(taken ? 1 : 0));
  if (taken) return;
  const auto name = state.names.find(packet.connection);
  table->player_name = name != state.names.end() ? name->second : state.last_name;
  Send(packet.room, packet.connection, table_id,
       hw::table::EncodeAddPlayer({request->seat, table->player_name, request->cents, "", 1}));
  (void)table->dealer->SeatPlayer(request->seat, table->player_name, request->cents);
  Send(packet.room, packet.connection, table_id,
       hw::table::EncodeText(hw::table::kDealerSummary, table->player_name + " takes a seat."));
}

void OnLeave(const DemoPacket& packet, const DemoRoom::Handler& others) {
  const uint32_t table_id = ReadU32(packet.payload);
  DealtTable* table = Find(packet.room, packet.connection, table_id);
  if (table == nullptr) {
    if (others) others(packet);
    return;
  }
  (void)table->dealer->UnseatPlayer();
  packet.room.Part<DemoDealerState>().tables[packet.connection].erase(table_id);
  Send(packet.room, packet.connection, table_id, {hw::table::kLeaveResponse, {}});
}

void OnGamePacket(const DemoPacket& packet) {
  const bool omaha = packet.type >= omaha_wire::kAction;
  const auto decoded = omaha ? omaha_wire::DecodeClient(packet.type, packet.payload)
                             : hw::DecodeClient(packet.type, packet.payload);
  if (!decoded) return;
  DealtTable* table = Find(packet.room, packet.connection, decoded->table_id);
  if (table == nullptr) return;
  const int rest = table->dealer->OnClientPacket(*decoded);
  if (rest >= 0) Rest(*table, rest);
}

void StepTables(DemoRoom& room, int connection) {
  auto& tables = room.Part<DemoDealerState>().tables[connection];
  const Clock::time_point now = Clock::now();
  for (auto& [table_id, table] : tables) {
    if (now < table.next_step) continue;
    if (table.dealer->WaitingForPlayer()) {
      if (now - table.turn_started >= std::chrono::seconds(kTurnSeconds) + kTurnGrace) {
        Rest(table, table.dealer->ActForPlayerOnTimeout());
      }
      continue;
    }
    Rest(table, table.dealer->Step());
  }
}

}  // namespace

void AddDemoDealer(DemoRoom& room) {
  const DemoRoom::Handler login = room.HandlerFor(PACKETTYPE_LOGINREQUEST);
  room.On(PACKETTYPE_LOGINREQUEST, [login](const DemoPacket& packet) {
    if (packet.payload.size() >= 11) {
      char name[12] = {};
      std::memcpy(name, packet.payload.data(), 11);
      DemoDealerState& state = packet.room.Part<DemoDealerState>();
      state.names[packet.connection] = name;
      state.last_name = name;
    }
    if (login) login(packet);
  });
  const DemoRoom::Handler join = room.HandlerFor(hw::table::kJoinRequest);
  room.On(hw::table::kJoinRequest, [join](const DemoPacket& packet) { OnJoin(packet, join); });
  const DemoRoom::Handler sit = room.HandlerFor(hw::table::kSitRequest);
  room.On(hw::table::kSitRequest, [sit](const DemoPacket& packet) { OnSit(packet, sit); });
  const DemoRoom::Handler leave = room.HandlerFor(hw::table::kLeaveRequest);
  room.On(hw::table::kLeaveRequest, [leave](const DemoPacket& packet) { OnLeave(packet, leave); });
  for (uint16_t type : {hw::kAction, hw::kSitOutNextHand, hw::kFinishGame, hw::kIAmBack, hw::kShowMuckResponse,
                        hw::kPlayNow, omaha_wire::kAction, omaha_wire::kSitOutNextHand, omaha_wire::kFinishGame,
                        omaha_wire::kIAmBack, omaha_wire::kShowMuckResponse}) {
    room.On(type, OnGamePacket);
  }
  room.Every(StepTables);
  room.WhenClosed([](DemoRoom& closing, int connection) {
    DemoDealerState& state = closing.Part<DemoDealerState>();
    state.tables.erase(connection);
    state.names.erase(connection);
  });
}
