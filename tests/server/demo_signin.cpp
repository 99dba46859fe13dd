// The demo room's sign-in and lists: any name with the password "demo" signs in (an account made
// by sign-up in this run with its own password instead); a name
// "result<N>" gets LOGINRESULT code N (for tests of each code); signing out is answered with the
// same server session; the lobby's game and tournament lists come from the tables below,
// zlib-packed on even requests and gzip-packed on odd ones.
#include <cstring>
#include <string>
#include <vector>

#include "cclient/net/packet_types.h"
#include "tests/server/demo_room.h"
#include "tests/server/lobby_list_builder.h"

namespace {

using lobby_list::Cell;
using lobby_list::HoldemRow;

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

std::vector<std::vector<Cell>> HoldemRows() {
  return {
      HoldemRow(kDemoServerId, 1001, 10, "Aberdeen", "$1/$2", true, 7, "$18", "32%", "64", "0"),
      HoldemRow(kDemoServerId, 1002, 10, "Bristol", "$2/$4", true, 9, "$41", "28%", "58", "2"),
      HoldemRow(kDemoServerId, 1003, 6, "Cardiff", "N/L $0.50/$1", true, 5, "$36", "24%", "71", "0"),
      HoldemRow(kDemoServerId, 1004, 10, "Dundee", "$5/$10", true, 4, "$120", "21%", "52", "0"),
      HoldemRow(kDemoServerId, 1005, 10, "Exeter", "$10/$20", true, 8, "$310", "27%", "49", "3"),
      HoldemRow(kDemoServerId, 1006, 6, "Falkirk", "P/L $1/$2", true, 6, "$52", "35%", "77", "1"),
      HoldemRow(kDemoServerId, 1007, 10, "Glasgow", "$1/$2", true, 3, "$11", "44%", "66", "0"),
      HoldemRow(kDemoServerId, 1008, 10, "Hull", "N/L $1/$2", true, 10, "$95", "30%", "55", "4"),
      HoldemRow(kDemoServerId, 1009, 2, "Inverness", "$3/$6", true, 2, "$22", "90%", "140", "0"),
      HoldemRow(kDemoServerId, 1010, 10, "Kendal", "$0.25/$0.50", true, 6, "$4", "38%", "70", "0"),
      HoldemRow(kDemoServerId, 1011, 10, "Leeds", "$15/$30", true, 7, "$460", "25%", "48", "0"),
      HoldemRow(kDemoServerId, 1012, 6, "Morecambe", "N/L $2/$5", true, 4, "$210", "26%", "68", "0"),
      HoldemRow(kDemoServerId, 1013, 10, "Newport", "$1/$2", false, 9, "$30", "40%", "60", "0"),
      HoldemRow(kDemoServerId, 1014, 10, "Oxford", "$10/$20", false, 5, "$150", "33%", "50", "0"),
      HoldemRow(kDemoServerId, 1015, 10, "Perth", "$2/$4", true, 0, "$0", "0%", "0", "0"),
      HoldemRow(kDemoServerId, 1016, 10, "Ripon", "$1/$2", true, 5, "$19", "36%", "61", "0"),
      HoldemRow(kDemoServerId, 1017, 6, "Salford", "$5/$10", true, 6, "$98", "31%", "74", "0"),
      HoldemRow(kDemoServerId, 1018, 10, "Truro", "N/L $5/$10", true, 9, "$880", "22%", "51", "5"),
      HoldemRow(kDemoServerId, 1019, 10, "Wells", "$1/$2", true, 1, "$3", "100%", "20", "0"),
      HoldemRow(kDemoServerId, 1020, 10, "York", "$3/$6", true, 10, "$66", "29%", "57", "2"),
  };
}

std::vector<std::vector<Cell>> OmahaRows() {
  return {
      HoldemRow(kDemoServerId, 2001, 10, "Omaha Ash", "$1/$2", true, 6, "$40", "45%", "60", "0"),
      HoldemRow(kDemoServerId, 2002, 10, "Omaha Birch", "P/L $2/$5", true, 8, "$260", "50%", "55", "1"),
      HoldemRow(kDemoServerId, 2003, 6, "Omaha Cedar", "$5/$10", true, 4, "$190", "48%", "70", "0"),
      HoldemRow(kDemoServerId, 2004, 10, "Omaha Elm", "P/L $0.50/$1", true, 9, "$55", "52%", "62", "0"),
      HoldemRow(kDemoServerId, 2005, 10, "Omaha Oak", "$1/$2", false, 7, "$33", "47%", "58", "0"),
  };
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

std::vector<uint8_t> GameListFor(const std::vector<uint8_t>& request) {
  std::string code = Trimmed(request.data(), request.size() < 4 ? request.size() : 4);
  std::vector<std::vector<Cell>> rows;
  if (code == "HO") {
    rows = HoldemRows();
  } else if (code == "OM") {
    rows = OmahaRows();
  }
  return lobby_list::Body(lobby_list::GameCode(code.c_str()), rows);
}

}  // namespace

bool DemoTableListing(uint32_t table_id, std::string* name, std::string* stakes) {
  // A game row holds the server id, the table id, the seats, a flag, the name and the stakes.
  for (const auto& rows : {HoldemRows(), OmahaRows()}) {
    for (const std::vector<Cell>& row : rows) {
      if (row.size() < 6 || row[1].value != table_id) continue;
      *name = row[4].text;
      *stakes = row[5].text;
      return true;
    }
  }
  return false;
}

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
    packet.Reply(PACKETTYPE_GAMELIST, lobby_list::Pack(GameListFor(packet.payload), gzip));
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
