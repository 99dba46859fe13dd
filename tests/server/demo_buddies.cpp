// The demo room's buddy lists and bonuses. Each connection is one player here (the demo room has
// no accounts to key them by) and keeps its own buddy list, starting with five buddies at
// different tables and in the lobby; the other demo players may be added by name. Each player
// also has pending bonuses in every state, which the up/down action reorders, and a bonus
// history, each long enough to scroll.
#include <algorithm>
#include <chrono>
#include <iterator>
#include <cstring>
#include <map>
#include <strings.h>
#include <string>
#include <vector>

#include "tests/server/demo_room.h"

namespace {

constexpr uint16_t kBuddyListRequest = 1024;
constexpr uint16_t kBuddyList = 1025;
constexpr uint16_t kAddBuddy = 1026;
constexpr uint16_t kAddBuddyResult = 1027;
constexpr uint16_t kRemoveBuddy = 1028;
constexpr uint16_t kRemoveBuddyResult = 1029;
constexpr uint16_t kPendingBonusRequest = 1100;
constexpr uint16_t kPendingBonusData = 1101;
constexpr uint16_t kPendingBonusAction = 1103;
constexpr uint16_t kBonusHistoryRequest = 1104;
constexpr uint16_t kBonusHistoryData = 1105;

constexpr size_t kNameBytes = 11;  // ten letters and a NUL
constexpr uint8_t kDemoServerId = 1;  // the server map's one server (demo_lobby.cpp)
constexpr uint32_t kRealMoneyFlag = 1u << 2;

// The players a buddy list may name.
struct DemoPlayer {
  uint32_t buddy_id;
  const char* name;
  int32_t table_id;  // negative: in the lobby
  const char* game_code;
  uint32_t flags;
};

// Where they play: tables of the demo lobby (the dealt Hold'em and Omaha tables, the scripted
// Bristol, a plain table and a play-money one), or the lobby.
constexpr DemoPlayer kPlayers[] = {
    {101, "alice", 1001, "HO", kRealMoneyFlag},  // Aberdeen
    {102, "bob", -1, "", 0},
    {103, "carol", 2001, "OM", kRealMoneyFlag},  // Omaha Ash
    {104, "dave", 1002, "HO", kRealMoneyFlag},   // Bristol
    {105, "erin", -1, "", 0},
    {106, "frank", 1013, "HO", 0},  // Newport, play money
    {107, "grace", 1003, "HO", kRealMoneyFlag},  // Cardiff
    {108, "heidi", 2005, "OM", 0},  // Omaha Oak, play money
};
// A new player's list: somebody at each kind of place.
constexpr uint32_t kFirstBuddies[] = {101, 102, 103, 104, 106};

struct DemoBonus {
  std::string key;
  uint32_t image_index;
  std::string title;
  std::string value_text;
  uint32_t seconds_left;
  std::string description;
  uint32_t required;  // hundredths
  uint32_t earned;    // hundredths
  uint8_t state;      // 1 earning, 2 frozen, 3 completed, 4 cancelled, 5 expired
  std::string note;
};

struct PlayerState {
  std::vector<uint32_t> buddies;  // buddy ids, in the order the list is sent
  std::vector<DemoBonus> pending;
  std::vector<DemoBonus> history;
  std::chrono::steady_clock::time_point since;
};

struct BuddyState {
  std::map<int, PlayerState> players;  // by connection
};

// Enough rows to scroll, in every state a window shows: being earned (with days, hours, minutes
// and seconds left), frozen, cancelled, completed and expired.
std::vector<DemoBonus> FirstPending() {
  return {
      {"WELCOME", 1, "Welcome Bonus", "$25.00", 3 * 86400 + 5 * 3600,
       "Earn 250 player points within 30 days of your first deposit.", 25000, 9050, 1, ""},
      {"WEEKEND", 3, "Weekend Special", "$5", 2 * 3600 + 15 * 60,
       "Play 50 raked hands this weekend.", 5000, 4800, 1, ""},
      {"RELOAD10", 2, "Reload Bonus", "$10.00", 6 * 86400,
       "Earn 100 player points after your second deposit. It waits until the Welcome Bonus is "
       "earned.",
       10000, 2500, 2, ""},
      {"LOYALTY", 7, "Loyalty Reward", "Free Entry", 86400 + 3600,
       "Earn 40 player points for a free seat in the Sunday tournament.", 4000, 1275, 1, ""},
      {"HAPPYHOUR", 8, "Happy Hour", "$2", 10 * 60 + 30,
       "Play 10 raked hands before the hour is up.", 1000, 700, 1, ""},
      {"SUMMER", 9, "Summer Reload", "$50.00", 0,
       "Earn 500 player points in July.", 50000, 3000, 4, ""},
  };
}

std::vector<DemoBonus> FirstHistory() {
  return {
      {"SIGNUP", 4, "Sign-Up Bonus", "$10.00", 0, "Play 20 raked hands.", 2000, 2000, 3,
       "Paid 2 Mar 2026"},
      {"SPRING", 5, "Spring Reload", "$20.00", 0, "Earn 200 player points.", 20000, 12575, 5,
       "Ran out of time 30 Apr 2026"},
      {"FRIEND", 6, "Refer a Friend", "$15.00", 0, "Your friend plays 100 hands.", 10000, 0, 4,
       "Cancelled by support"},
      {"FIRSTDEP", 10, "First Deposit", "$100.00", 0,
       "Earn 1000 player points within 60 days of your first deposit.", 100000, 100000, 3,
       "Paid 14 Jan 2026"},
      {"FREEROLL", 11, "Freeroll Ticket", "Free Entry", 0, "Play 30 raked hands in a week.", 3000,
       3000, 3, "Paid 21 Jan 2026"},
      {"WINTER", 12, "Winter Reload", "$30.00", 0, "Earn 300 player points in February.", 30000,
       8000, 5, "Ran out of time 28 Feb 2026"},
      {"OMAHA", 13, "Omaha Week", "$5.00", 0, "Play 40 raked Omaha hands.", 4000, 4000, 3,
       "Paid 9 Jun 2026"},
  };
}

PlayerState& Player(DemoRoom& room, int connection) {
  auto& players = room.Part<BuddyState>().players;
  auto found = players.find(connection);
  if (found != players.end()) return found->second;
  PlayerState& player = players[connection];
  player.buddies.assign(std::begin(kFirstBuddies), std::end(kFirstBuddies));
  player.pending = FirstPending();
  player.history = FirstHistory();
  player.since = std::chrono::steady_clock::now();
  return player;
}

void PutU32(std::vector<uint8_t>* out, uint32_t value) {
  for (int shift = 24; shift >= 0; shift -= 8) out->push_back(static_cast<uint8_t>(value >> shift));
}

void PutText(std::vector<uint8_t>* out, const std::string& text) {
  out->insert(out->end(), text.begin(), text.end());
  out->push_back(0);
}

const DemoPlayer* FindPlayer(uint32_t buddy_id) {
  for (const DemoPlayer& player : kPlayers) {
    if (player.buddy_id == buddy_id) return &player;
  }
  return nullptr;
}

const DemoPlayer* FindPlayer(const std::string& name) {
  for (const DemoPlayer& player : kPlayers) {
    if (strcasecmp(player.name, name.c_str()) == 0) return &player;
  }
  return nullptr;
}

std::vector<uint8_t> BuddyListPayload(const PlayerState& player) {
  std::vector<uint8_t> payload;
  PutU32(&payload, static_cast<uint32_t>(player.buddies.size()));
  for (uint32_t id : player.buddies) {
    const DemoPlayer* buddy = FindPlayer(id);
    PutU32(&payload, buddy->buddy_id);
    PutU32(&payload, static_cast<uint32_t>(buddy->table_id));
    char code[4] = {};
    std::strncpy(code, buddy->game_code, 3);
    payload.insert(payload.end(), code, code + 4);
    PutText(&payload, buddy->name);
    payload.push_back(kDemoServerId);
    PutU32(&payload, buddy->flags);
  }
  return payload;
}

// The rows of a bonus window; pending rows carry their time left, counted from the player's
// first request.
std::vector<uint8_t> BonusPayload(const PlayerState& player, bool pending) {
  const auto elapsed = static_cast<uint32_t>(std::chrono::duration_cast<std::chrono::seconds>(
                                                 std::chrono::steady_clock::now() - player.since)
                                                 .count());
  const std::vector<DemoBonus>& rows = pending ? player.pending : player.history;
  std::vector<uint8_t> payload;
  PutU32(&payload, 0);
  payload.push_back(static_cast<uint8_t>(rows.size()));
  for (const DemoBonus& bonus : rows) {
    PutText(&payload, bonus.key);
    PutU32(&payload, 0);
    PutU32(&payload, bonus.image_index);
    PutText(&payload, bonus.title);
    PutText(&payload, bonus.value_text);
    if (pending) PutU32(&payload, bonus.seconds_left > elapsed ? bonus.seconds_left - elapsed : 0);
    PutText(&payload, bonus.description);
    PutU32(&payload, bonus.required);
    PutU32(&payload, bonus.earned);
    payload.push_back(bonus.state);
    PutText(&payload, bonus.note);
  }
  return payload;
}

void OnAddBuddy(const DemoPacket& packet) {
  PlayerState& player = Player(packet.room, packet.connection);
  const size_t length = std::min(packet.payload.size(), kNameBytes);
  const std::string name(reinterpret_cast<const char*>(packet.payload.data()),
                         strnlen(reinterpret_cast<const char*>(packet.payload.data()), length));
  const DemoPlayer* buddy = FindPlayer(name);
  uint8_t result = 0;
  if (buddy == nullptr) {
    result = 1;
  } else if (std::find(player.buddies.begin(), player.buddies.end(), buddy->buddy_id) !=
             player.buddies.end()) {
    result = 2;
  } else {
    player.buddies.push_back(buddy->buddy_id);
  }
  packet.Reply(kAddBuddyResult, {result});
  if (result == 0) packet.Reply(kBuddyList, BuddyListPayload(player));
}

void OnRemoveBuddy(const DemoPacket& packet) {
  PlayerState& player = Player(packet.room, packet.connection);
  uint8_t result = 1;
  if (packet.payload.size() == 4) {
    const uint32_t id = (uint32_t{packet.payload[0]} << 24) | (uint32_t{packet.payload[1]} << 16) |
                        (uint32_t{packet.payload[2]} << 8) | packet.payload[3];
    auto found = std::find(player.buddies.begin(), player.buddies.end(), id);
    if (found != player.buddies.end()) {
      player.buddies.erase(found);
      result = 0;
    }
  }
  packet.Reply(kRemoveBuddyResult, {result});
}

// Moves the named pending bonus one place up (+1) or down (-1).
void OnPendingBonusAction(const DemoPacket& packet) {
  PlayerState& player = Player(packet.room, packet.connection);
  const std::vector<uint8_t>& in = packet.payload;
  if (in.size() >= 9) {
    const char* key = reinterpret_cast<const char*>(in.data() + 4);
    const size_t key_length = strnlen(key, in.size() - 4);
    if (key_length + 9 == in.size()) {
      const size_t at = 4 + key_length + 1;
      const bool up = in[at + 3] == 1 && in[at] == 0;
      auto& rows = player.pending;
      for (size_t row = 0; row < rows.size(); ++row) {
        if (rows[row].key != std::string(key, key_length)) continue;
        if (up && row > 0) std::swap(rows[row], rows[row - 1]);
        if (!up && row + 1 < rows.size()) std::swap(rows[row], rows[row + 1]);
        break;
      }
    }
  }
  packet.Reply(kPendingBonusData, BonusPayload(player, true));
}

}  // namespace

void AddDemoBuddies(DemoRoom& room) {
  room.On(kBuddyListRequest, [](const DemoPacket& packet) {
    packet.Reply(kBuddyList, BuddyListPayload(Player(packet.room, packet.connection)));
  });
  room.On(kAddBuddy, OnAddBuddy);
  room.On(kRemoveBuddy, OnRemoveBuddy);
  room.On(kPendingBonusRequest, [](const DemoPacket& packet) {
    packet.Reply(kPendingBonusData, BonusPayload(Player(packet.room, packet.connection), true));
  });
  room.On(kPendingBonusAction, OnPendingBonusAction);
  room.On(kBonusHistoryRequest, [](const DemoPacket& packet) {
    packet.Reply(kBonusHistoryData, BonusPayload(Player(packet.room, packet.connection), false));
  });
  room.WhenClosed([](DemoRoom& room, int connection) {
    room.Part<BuddyState>().players.erase(connection);
  });
}
