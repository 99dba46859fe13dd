// The demo room's dealt tables: every table of the registry (dealt_tables.h) is run here for each
// connection that opens it, by the dealer its row names, with the row's robots, who play as soon
// as two can. The runner keeps what every game's table has: the join and its result, the seats
// and the buy-in from the player's wallet, bringing more money, leaving (the chips go back to the
// wallet), chat, the turn clock (a player who lets it run out is acted for as the game does) and
// the rests between the dealer's steps. Tables the registry does not hold are left to the tables
// part (demo_tables.cpp).
#include <algorithm>
#include <cctype>
#include <chrono>
#include <cstring>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "cclient/net/packet_types.h"
#include "tests/server/dealt_tables.h"
#include "tests/server/demo_room.h"
#include "tests/server/holdem_wire.h"

namespace {

namespace hw = holdem_wire;
using Clock = DemoRoom::Clock;

// The player's turn is given up this long after its clock ran out on the table.
constexpr auto kTurnGrace = std::chrono::seconds(5);
// A dealer that could not move is asked again after this long.
constexpr auto kIdleRest = std::chrono::milliseconds(500);
// The first hand waits this long after the join, so the table is drawn first.
constexpr auto kFirstRest = std::chrono::seconds(2);
// The first packet type of each game's block, by game type (0 Pan to 7 Omaha).
constexpr uint16_t kGameBlocks[] = {2700, 2400, 3000, 2600, 2200, 2800, 2900, 2500};
// Sit results.
constexpr uint8_t kSeated = 0;
constexpr uint8_t kSeatNotAvailable = 1;
constexpr uint8_t kFundsUnavailable = 2;

struct RunningTable {
  const demo::DealtTable* row = nullptr;
  std::unique_ptr<dealer::TableDealer> dealer;
  std::string player_name;  // while the player sits
  Clock::time_point next_step;
  Clock::time_point turn_started;
  bool waiting = false;
};

struct DemoDealerState {
  std::map<int, std::string> names;  // signed-in name by connection
  std::string last_name;             // for a table connection that did not sign in itself
  std::map<int, std::map<uint32_t, RunningTable>> tables;  // by connection and table id
  std::map<std::string, DemoWallet> wallets;               // by lower-cased name
};

uint32_t ReadU32(const std::vector<uint8_t>& payload, size_t at = 0) {
  if (payload.size() < at + 4) return 0;
  return (uint32_t{payload[at]} << 24) | (uint32_t{payload[at + 1]} << 16) | (uint32_t{payload[at + 2]} << 8) |
         payload[at + 3];
}

std::string Lowered(std::string text) {
  for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

std::string PlayerName(DemoRoom& room, int connection) {
  DemoDealerState& state = room.Part<DemoDealerState>();
  const auto name = state.names.find(connection);
  return name != state.names.end() ? name->second : state.last_name;
}

RunningTable* Find(DemoRoom& room, int connection, uint32_t table_id) {
  auto& tables = room.Part<DemoDealerState>().tables[connection];
  const auto found = tables.find(table_id);
  return found != tables.end() ? &found->second : nullptr;
}

void Send(DemoRoom& room, int connection, uint32_t table_id, const hw::Packet& packet) {
  room.SendTo(connection, packet.type, hw::ForTable(table_id, packet.bytes));
}

uint32_t& WalletCents(DemoRoom& room, int connection, const demo::DealtTable& row) {
  DemoWallet& wallet = DemoWalletOf(room, connection);
  return row.real_money ? wallet.real_cents : wallet.play_cents;
}

// Sets when the table moves next from the rest the dealer asked for, and starts the player's
// turn clock when a turn begins.
void Rest(RunningTable& table, Clock::time_point now, int rest_ms) {
  table.next_step = rest_ms < 0 ? now + kIdleRest : now + std::chrono::milliseconds(rest_ms);
  const bool waiting = table.dealer->WaitingForPlayer();
  if (waiting && !table.waiting) table.turn_started = now;
  table.waiting = waiting;
}

RunningTable& OpenTable(DemoRoom& room, int connection, const demo::DealtTable& row) {
  RunningTable& table = room.Part<DemoDealerState>().tables[connection][row.table_id];
  if (table.dealer) return table;
  dealer::TableSetup setup;
  setup.table_id = row.table_id;
  setup.seats = row.seats;
  setup.stakes = row.stakes;
  setup.variant = row.variant;
  setup.seed = row.table_id * 7919u + static_cast<uint32_t>(connection);
  setup.first_hand = 1000 * row.table_id + 1;
  setup.turn_seconds = row.turn_seconds;
  setup.table_flags = row.table_flags;
  const uint32_t table_id = row.table_id;
  table.row = &row;
  table.dealer = row.make(setup, [&room, connection, table_id](uint16_t type, std::vector<uint8_t> payload) {
    room.SendTo(connection, type, hw::ForTable(table_id, payload));
  });
  for (const demo::Robot& robot : row.robots) (void)table.dealer->SeatRobot(robot.seat, robot.name, robot.chips);
  table.next_step = room.Now() + kFirstRest;
  return table;
}

hw::table::JoinResult JoinResult(const RunningTable& table) {
  const demo::DealtTable& row = *table.row;
  hw::table::JoinResult join;
  join.flags = row.table_flags;
  join.name = row.name;
  join.stakes = row.stakes_text;
  join.hand = table.dealer->HandNumber();
  join.minimum_sit = row.minimum_buy_in;
  join.maximum_sit = row.maximum_buy_in;
  join.seat_count = static_cast<uint8_t>(row.seats);
  for (int seat = 0; seat < row.seats; ++seat) {
    const dealer::SeatView view = table.dealer->SeatAt(seat);
    if (view.occupied) join.players.push_back({static_cast<uint8_t>(seat), view.name, view.chips, "", 1});
  }
  return join;
}

void OnJoin(const DemoPacket& packet, const DemoRoom::Handler& others) {
  const demo::DealtTable* row = packet.payload.size() >= 4 ? demo::FindDealtTable(ReadU32(packet.payload)) : nullptr;
  if (row == nullptr) {
    if (others) others(packet);
    return;
  }
  RunningTable& table = OpenTable(packet.room, packet.connection, *row);
  Send(packet.room, packet.connection, row->table_id, hw::table::Encode(JoinResult(table)));
  Send(packet.room, packet.connection, row->table_id,
       hw::table::EncodeText(hw::table::kDealerMessage, "Dealer: Welcome to " + row->name + "."));
  table.dealer->OnPlayerJoined();
}

// Why the player may not sit at `seat` with `cents`, or kSeated when they may.
uint8_t SitAnswer(DemoRoom& room, int connection, const RunningTable& table, uint8_t seat, uint32_t cents) {
  const demo::DealtTable& row = *table.row;
  if (table.dealer->PlayerSeat() >= 0 || seat >= row.seats || table.dealer->SeatAt(seat).occupied) {
    return kSeatNotAvailable;
  }
  const uint32_t wallet = WalletCents(room, connection, row);
  if (cents < row.minimum_buy_in || cents > row.maximum_buy_in || cents > wallet) return kFundsUnavailable;
  return kSeated;
}

void OnSit(const DemoPacket& packet, const DemoRoom::Handler& others) {
  const auto request = hw::table::DecodeSitRequest(packet.payload);
  RunningTable* table = request ? Find(packet.room, packet.connection, request->table_id) : nullptr;
  if (table == nullptr) {
    if (others) others(packet);
    return;
  }
  DemoRoom& room = packet.room;
  const int connection = packet.connection;
  const uint32_t table_id = request->table_id;
  const uint8_t answer = SitAnswer(room, connection, *table, request->seat, request->cents);
  Send(room, connection, table_id, hw::table::EncodeSitResult(answer));
  if (answer != kSeated) return;
  // The seat is announced before the dealer's packets for it.
  const std::string name = PlayerName(room, connection);
  Send(room, connection, table_id, hw::table::EncodeAddPlayer({request->seat, name, request->cents, "", 1}));
  if (!table->dealer->SeatPlayer(request->seat, name, request->cents)) {
    Send(room, connection, table_id, hw::table::EncodeRemovePlayer(request->seat));
    return;
  }
  WalletCents(room, connection, *table->row) -= request->cents;
  table->player_name = name;
  Send(room, connection, table_id, hw::table::EncodeText(hw::table::kDealerSummary, name + " takes a seat."));
}

// The player stands up (leaving the table, or the connection ending): the chips behind go back to
// the wallet.
void StandUp(DemoRoom& room, int connection, RunningTable& table) {
  const uint32_t chips = table.dealer->UnseatPlayer();
  if (!table.player_name.empty()) WalletCents(room, connection, *table.row) += chips;
  table.player_name.clear();
}

void OnLeave(const DemoPacket& packet, const DemoRoom::Handler& others) {
  const uint32_t table_id = ReadU32(packet.payload);
  RunningTable* table = Find(packet.room, packet.connection, table_id);
  if (table == nullptr) {
    if (others) others(packet);
    return;
  }
  StandUp(packet.room, packet.connection, *table);
  packet.room.Part<DemoDealerState>().tables[packet.connection].erase(table_id);
  Send(packet.room, packet.connection, table_id, {hw::table::kLeaveResponse, {}});
}

void OnBalance(const DemoPacket& packet, const DemoRoom::Handler& others) {
  const uint32_t table_id = ReadU32(packet.payload);
  const RunningTable* table = Find(packet.room, packet.connection, table_id);
  if (table == nullptr) {
    if (others) others(packet);
    return;
  }
  const demo::DealtTable& row = *table->row;
  hw::Writer answer(hw::table::kBalanceResponse);
  answer.U8(0).U32(WalletCents(packet.room, packet.connection, row)).U32(row.minimum_buy_in).U32(row.maximum_buy_in);
  Send(packet.room, packet.connection, table_id, answer.Done());
}

void OnBringMore(const DemoPacket& packet, const DemoRoom::Handler& others) {
  const uint32_t table_id = ReadU32(packet.payload);
  RunningTable* table = Find(packet.room, packet.connection, table_id);
  if (table == nullptr || packet.payload.size() < 8) {
    if (others) others(packet);
    return;
  }
  const uint32_t cents = ReadU32(packet.payload, 4);
  uint32_t& wallet = WalletCents(packet.room, packet.connection, *table->row);
  std::string text;
  if (cents == 0 || cents > wallet) {
    text = "You do not have that much money available.";
  } else if (table->dealer->PlayerSeat() < 0 || !table->dealer->AddPlayerChips(cents)) {
    text = "No money can be added now.";
  } else {
    wallet -= cents;
    text = "Your money will be added before the next hand.";
  }
  Send(packet.room, packet.connection, table_id, hw::table::EncodeText(hw::table::kDealerSummary, text));
}

void OnChat(const DemoPacket& packet, const DemoRoom::Handler& others) {
  const uint32_t table_id = ReadU32(packet.payload);
  if (packet.payload.size() < 5 || Find(packet.room, packet.connection, table_id) == nullptr) {
    if (others) others(packet);
    return;
  }
  std::string text(packet.payload.begin() + 4, packet.payload.end());
  text = text.c_str();  // up to the NUL
  Send(packet.room, packet.connection, table_id,
       hw::table::EncodeText(hw::table::kPlayerMessage, PlayerName(packet.room, packet.connection) + ">" + text));
}

void OnGamePacket(const DemoPacket& packet) {
  RunningTable* table = packet.payload.size() >= 4 ? Find(packet.room, packet.connection, ReadU32(packet.payload))
                                                   : nullptr;
  if (table == nullptr) return;
  const std::vector<uint8_t> rest(packet.payload.begin() + 4, packet.payload.end());
  const int rest_ms = table->dealer->OnPlayerPacket(packet.type, rest);
  if (rest_ms >= 0) {
    Rest(*table, packet.room.Now(), rest_ms);
  } else {
    table->waiting = table->dealer->WaitingForPlayer();
  }
}

void StepTables(DemoRoom& room, int connection) {
  auto& tables = room.Part<DemoDealerState>().tables[connection];
  const Clock::time_point now = room.Now();
  for (auto& [table_id, table] : tables) {
    if (now < table.next_step) continue;
    if (table.dealer->WaitingForPlayer()) {
      if (!table.waiting) {
        Rest(table, now, -1);  // a turn the last step began: its clock starts now
      } else if (now - table.turn_started >= std::chrono::seconds(table.row->turn_seconds) + kTurnGrace) {
        Rest(table, now, table.dealer->ActForPlayerOnTimeout());
      }
      continue;
    }
    Rest(table, now, table.dealer->Step());
  }
}

void WrapTableLevel(DemoRoom& room, uint16_t type, void (*handler)(const DemoPacket&, const DemoRoom::Handler&)) {
  const DemoRoom::Handler others = room.HandlerFor(type);
  room.On(type, [others, handler](const DemoPacket& packet) { handler(packet, others); });
}

}  // namespace

DemoWallet& DemoWalletOf(DemoRoom& room, int connection) {
  return room.Part<DemoDealerState>().wallets[Lowered(PlayerName(room, connection))];
}

std::vector<std::string> DemoPlayersAt(DemoRoom& room, uint32_t table_id) {
  std::vector<std::string> players;
  const demo::DealtTable* row = demo::FindDealtTable(table_id);
  if (row == nullptr) return players;
  for (const demo::Robot& robot : row->robots) players.push_back(robot.name);
  for (auto& [connection, tables] : room.Part<DemoDealerState>().tables) {
    const auto found = tables.find(table_id);
    if (found != tables.end() && !found->second.player_name.empty()) players.push_back(found->second.player_name);
  }
  return players;
}

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
  WrapTableLevel(room, hw::table::kJoinRequest, OnJoin);
  WrapTableLevel(room, hw::table::kSitRequest, OnSit);
  WrapTableLevel(room, hw::table::kLeaveRequest, OnLeave);
  WrapTableLevel(room, hw::table::kBalanceRequest, OnBalance);
  WrapTableLevel(room, hw::table::kBringMoreRequest, OnBringMore);
  WrapTableLevel(room, hw::table::kChatMessage, OnChat);
  // Every packet of the blocks of the games the registry deals goes to the table's dealer.
  bool dealt[std::size(kGameBlocks)] = {};
  for (const demo::DealtTable& row : demo::DealtTables()) {
    if (row.game_type < 0 || row.game_type >= static_cast<int>(std::size(kGameBlocks)) || dealt[row.game_type]) continue;
    dealt[row.game_type] = true;
    for (uint16_t type = kGameBlocks[row.game_type]; type < kGameBlocks[row.game_type] + 100; ++type) {
      room.On(type, OnGamePacket);
    }
  }
  room.Every(StepTables);
  room.WhenClosed([](DemoRoom& closing, int connection) {
    DemoDealerState& state = closing.Part<DemoDealerState>();
    for (auto& [table_id, table] : state.tables[connection]) StandUp(closing, connection, table);
    state.tables.erase(connection);
    state.names.erase(connection);
  });
}
