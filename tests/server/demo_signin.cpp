// The demo room's sign-in and lists: any name with the password "demo" signs in (an account made
// by sign-up in this run with its own password instead); a name
// "result<N>" gets LOGINRESULT code N (for tests of each code); signing out is answered with the
// same server session; the lobby's game lists hold the dealt tables (dealt_tables.h) with who sits
// there now, the tournament lists come from the table below; lists go zlib-packed on even
// requests and gzip-packed on odd ones.
#include <cstring>
#include <string>
#include <vector>

#include "cclient/net/packet_types.h"
#include "tests/server/dealt_tables.h"
#include "tests/server/demo_room.h"
#include "tests/server/lobby_list_builder.h"

namespace {

using lobby_list::Cell;

// The server the tables are played on: the one server of the room's server map (demo_lobby.cpp).
constexpr uint8_t kDemoServerId = 1;

struct SignInState {
  uint32_t next_user_id = 5000;
  uint32_t list_requests = 0;
};

constexpr uint32_t kLoginRequestLength = 36;
constexpr uint32_t kLoginResultLength = 64;
// The demo room's one server session.
constexpr char kSession[12] = {'d', 'e', 'm', 'o', 's', 'e', 's', 's', 'i', 'o', 'n', '1'};

std::vector<uint8_t> LoginResult(uint8_t code, uint32_t user_id, const std::string& name) {
  std::vector<uint8_t> payload(kLoginResultLength, 0);
  payload[0] = code;
  for (int i = 0; i < 4; ++i) payload[1 + i] = static_cast<uint8_t>(user_id >> (24 - 8 * i));
  std::memcpy(&payload[5], name.data(), name.size() < 10 ? name.size() : 10);
  std::memcpy(&payload[48], kSession, sizeof kSession);
  return payload;
}

std::string Trimmed(const uint8_t* field, size_t size) {
  size_t length = 0;
  while (length < size && field[length] != 0) ++length;
  return std::string(reinterpret_cast<const char*>(field), length);
}

// How many text columns a game's list carries after the player count, by list code.
struct ListLayout {
  const char* code;
  size_t figures;
};
constexpr ListLayout kListLayouts[] = {{"HO", 5}, {"OM", 5}, {"P7", 4}, {"MC", 3},
                                       {"CP", 4}, {"B2", 3}, {"PA", 3}, {"BJ", 2}};

// A dealt table's list row: server, table id, seats, a zero byte, the name, the stakes columns,
// money ("Real" or "Play"), who sits there now, and the figures of the game's list.
std::vector<Cell> ListRow(DemoRoom& room, const demo::DealtTable& table, size_t figures) {
  std::vector<Cell> row = {lobby_list::U8(kDemoServerId), lobby_list::U32(table.table_id),
                           lobby_list::U8(static_cast<uint32_t>(table.seats)), lobby_list::U8(0),
                           lobby_list::Text(table.name)};
  if (table.list_stakes.empty()) {
    row.push_back(lobby_list::Text(table.stakes_text));
  } else {
    for (const std::string& stakes : table.list_stakes) row.push_back(lobby_list::Text(stakes));
  }
  row.push_back(lobby_list::Text(table.real_money ? "Real" : "Play"));
  row.push_back(lobby_list::Text(std::to_string(DemoPlayersAt(room, table.table_id).size())));
  for (size_t i = 0; i < figures; ++i) {
    row.push_back(lobby_list::Text(i < table.list_figures.size() ? table.list_figures[i] : "0"));
  }
  return row;
}

// The tournaments are played on the server the server map names 1 (this one).
constexpr uint8_t kTourneyServerId = 1;

std::vector<std::vector<Cell>> TourneyRows(uint32_t selector) {
  using lobby_list::Text;
  using lobby_list::U32;
  using lobby_list::U8;
  const uint32_t base = 9000 + 10 * (selector - 100);
  return {
      {U8(kTourneyServerId), U32(base + 1), Text("18:00 Mon"), Text("Hold'em Freeroll"), Text("Play"),
       Text("$0"), Text("Registering"), Text("134"), Text("500")},
      {U8(kTourneyServerId), U32(base + 2), Text("19:30 Mon"), Text("Hold'em Classic"), Text("Hold'em"),
       Text("$20+2"), Text("Running"), Text("54"), Text("960")},
      {U8(kTourneyServerId), U32(base + 3), Text("21:00 Mon"), Text("Hold'em Turbo"), Text("Hold'em"),
       Text("$5+0.50"), Text("Announced"), Text("12"), Text("60")},
      {U8(kTourneyServerId), U32(base + 4), Text("22:15 Mon"), Text("Pan Night"), Text("Pan"), Text("$10+1"),
       Text("Registering"), Text("12"), Text("60")},
  };
}

// The rows of the list `request` asks for: the dealt tables on it.
std::vector<uint8_t> GameListFor(DemoRoom& room, const std::vector<uint8_t>& request) {
  const std::string code = Trimmed(request.data(), request.size() < 4 ? request.size() : 4);
  std::vector<std::vector<Cell>> rows;
  for (const ListLayout& layout : kListLayouts) {
    if (code != layout.code) continue;
    for (const demo::DealtTable& table : demo::DealtTables()) {
      if (table.list_code == layout.code) rows.push_back(ListRow(room, table, layout.figures));
    }
  }
  return lobby_list::Body(lobby_list::GameCode(code.c_str()), rows);
}

}  // namespace

void AddDemoSignIn(DemoRoom& room) {
  room.On(PACKETTYPE_LOGINREQUEST, [](const DemoPacket& packet) {
    if (packet.payload.size() != kLoginRequestLength) return;
    const std::string name = Trimmed(packet.payload.data(), 11);
    const std::string password = Trimmed(packet.payload.data() + 11, 21);
    SignInState& state = packet.room.Part<SignInState>();
    if (name.rfind("result", 0) == 0 && name.size() > 6) {
      const uint8_t code = static_cast<uint8_t>(std::stoi(name.substr(6)));
      packet.Reply(PACKETTYPE_LOGINRESULT, LoginResult(code, state.next_user_id++, name));
      return;
    }
    // An account made by sign-up in this run signs in with its own password.
    const std::string* own = DemoAccountPassword(packet.room, name);
    const uint8_t code = password == (own != nullptr ? *own : std::string("demo")) ? 0 : 1;
    packet.Reply(PACKETTYPE_LOGINRESULT, LoginResult(code, state.next_user_id++, name));
  });
  // Signing out keeps the server session, so the tables stay open.
  room.On(PACKETTYPE_LOGOUTREQUEST, [](const DemoPacket& packet) {
    std::vector<uint8_t> result(1, 0);
    result.insert(result.end(), kSession, kSession + sizeof kSession);
    packet.Reply(PACKETTYPE_LOGOUTRESULT, result);
  });
  room.On(PACKETTYPE_GAMELISTREQUEST, [](const DemoPacket& packet) {
    SignInState& state = packet.room.Part<SignInState>();
    const bool gzip = (state.list_requests++ % 2) != 0;
    packet.Reply(PACKETTYPE_GAMELIST, lobby_list::Pack(GameListFor(packet.room, packet.payload), gzip));
  });
  room.On(PACKETTYPE_TOURNEYLISTREQUEST, [](const DemoPacket& packet) {
    if (packet.payload.size() < 4) return;
    const uint32_t selector = packet.payload[3];
    SignInState& state = packet.room.Part<SignInState>();
    const bool gzip = (state.list_requests++ % 2) != 0;
    packet.Reply(PACKETTYPE_TOURNEYLIST,
                 lobby_list::Pack(lobby_list::Body(lobby_list::Selector(selector),
                                                   TourneyRows(selector)),
                                  gzip));
  });
}
