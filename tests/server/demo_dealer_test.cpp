// The demo room's dealt tables, driven without a network on the room's own fake clock: what the
// lobby lists is what deals, the lists and the player's wallet follow who sits where, and the
// turn clock acts for a player who lets it run out.
#include <zlib.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <functional>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "tests/server/demo_room.h"

namespace {

// Packet types, as the protocol numbers them.
constexpr uint16_t kLoginRequest = 1009;
constexpr uint16_t kGameListRequest = 1015;
constexpr uint16_t kGameList = 1016;
constexpr uint16_t kTableDetailRequest = 1020;
constexpr uint16_t kTableDetail = 1021;
constexpr uint16_t kUserBalancesRequest = 1066;
constexpr uint16_t kUserBalances = 1067;
constexpr uint16_t kJoinRequest = 2100;
constexpr uint16_t kJoinResult = 2101;
constexpr uint16_t kPlayerMessage = 2104;
constexpr uint16_t kSitRequest = 2105;
constexpr uint16_t kSitResult = 2106;
constexpr uint16_t kChat = 2107;
constexpr uint16_t kLeaveRequest = 2110;
constexpr uint16_t kBalanceRequest = 2112;
constexpr uint16_t kBalanceResponse = 2113;

struct Sent {
  int connection;
  uint16_t type;
  std::vector<uint8_t> payload;
};

uint32_t U32At(const std::vector<uint8_t>& bytes, size_t at) {
  return (uint32_t{bytes[at]} << 24) | (uint32_t{bytes[at + 1]} << 16) | (uint32_t{bytes[at + 2]} << 8) |
         bytes[at + 3];
}

std::vector<uint8_t> U32(uint32_t value) {
  return {static_cast<uint8_t>(value >> 24), static_cast<uint8_t>(value >> 16), static_cast<uint8_t>(value >> 8),
          static_cast<uint8_t>(value)};
}

// One list, as the lobby reads it: the row's game (by the list it came on), table id, seat count
// and the player count text.
struct ListedTable {
  std::string code;
  uint32_t table_id;
  int seats;
  int players;
};

// The text columns each game's list carries after its four leading integer columns (the packet
// columns of the lobby's list layouts less the derived ones), and which of them is the player
// count.
struct ListShape {
  const char* code;
  int game_type;
  int texts;
  int players_text;
};
constexpr ListShape kListShapes[] = {{"HO", 1, 9, 3}, {"OM", 7, 9, 3}, {"P7", 6, 8, 3}, {"MC", 2, 7, 3},
                                     {"CP", 4, 8, 3}, {"B2", 3, 7, 3}, {"PA", 0, 7, 3}, {"BJ", 5, 7, 4}};

// Whether a game packet (table id in front) shows the player their own cards: the first of the
// seated player's hole cards is a card (0-51).
bool DealsThePlayerCards(int game_type, uint16_t type, const std::vector<uint8_t>& payload) {
  switch (game_type) {
    case 1:  // Hold'em game state: hand, round, ten status bytes, ten seat flags, the board's state
      return type == 2402 && payload.size() > 4 + 29 && static_cast<int8_t>(payload[4 + 29]) >= 0;
    case 7:  // Omaha game state: Hold'em's, with ten sit-out flags before the four hole cards
      return type == 2502 && payload.size() > 4 + 39 && static_cast<int8_t>(payload[4 + 39]) >= 0;
    default:
      ADD_FAILURE() << "no way to see the player's cards at a table of game " << game_type;
      return false;
  }
}

class DemoDealerTest : public ::testing::Test {
 protected:
  DemoDealerTest() : room_(MakeDemoRoom()) {
    room_->SetClock([this] { return now_; });
  }
  ~DemoDealerTest() override {
    for (int connection : {1, 2}) room_->CloseConnection(Sink(), connection);
  }

  DemoRoom::Sink Sink() {
    return [this](int connection, uint16_t type, std::vector<uint8_t> payload) {
      sent_.push_back({connection, type, std::move(payload)});
    };
  }
  void Deliver(int connection, uint16_t type, const std::vector<uint8_t>& payload) {
    room_->Deliver(Sink(), connection, type, payload);
  }
  // The payloads of `type` sent to `connection` since `from`.
  std::vector<std::vector<uint8_t>> SentOf(int connection, uint16_t type, size_t from = 0) const {
    std::vector<std::vector<uint8_t>> found;
    for (size_t i = from; i < sent_.size(); ++i) {
      if (sent_[i].connection == connection && sent_[i].type == type) found.push_back(sent_[i].payload);
    }
    return found;
  }
  // Runs the room's ticks for `ms` of the fake clock, 100 ms at a time, until `done` holds.
  bool RunFor(int ms, const std::function<bool()>& done, int connection = 1) {
    for (int passed = 0; passed < ms; passed += 100) {
      if (done()) return true;
      now_ += std::chrono::milliseconds(100);
      room_->TickConnection(Sink(), connection);
    }
    return done();
  }

  void SignIn(int connection, const std::string& name) {
    std::vector<uint8_t> request(36, 0);
    std::memcpy(request.data(), name.data(), name.size());
    std::memcpy(request.data() + 11, "demo", 4);
    Deliver(connection, kLoginRequest, request);
  }

  std::vector<ListedTable> Listed(int connection) {
    std::vector<ListedTable> tables;
    for (const ListShape& shape : kListShapes) {
      const size_t from = sent_.size();
      std::vector<uint8_t> code(4, 0);
      std::memcpy(code.data(), shape.code, 2);
      Deliver(connection, kGameListRequest, code);
      const auto lists = SentOf(connection, kGameList, from);
      EXPECT_EQ(lists.size(), 1u) << shape.code;
      if (lists.size() != 1) continue;
      for (const std::vector<std::string>& row : Rows(lists[0], shape)) {
        tables.push_back({shape.code, U32At(std::vector<uint8_t>(row[1].begin(), row[1].end()), 0), row[2][0],
                          std::stoi(row[4 + shape.players_text])});
      }
    }
    return tables;
  }

  // A list packet's rows: four integer columns (kept as their bytes) and the texts.
  static std::vector<std::vector<std::string>> Rows(const std::vector<uint8_t>& packed, const ListShape& shape) {
    const uint32_t length = packed[packed.size() - 4] | (packed[packed.size() - 3] << 8) |
                            (packed[packed.size() - 2] << 16) | (uint32_t{packed[packed.size() - 1]} << 24);
    std::vector<uint8_t> body(length);
    z_stream stream{};
    inflateInit2(&stream, 47);
    stream.next_in = const_cast<uint8_t*>(packed.data());
    stream.avail_in = static_cast<uInt>(packed.size() - 4);
    stream.next_out = body.data();
    stream.avail_out = length;
    EXPECT_EQ(inflate(&stream, Z_FINISH), Z_STREAM_END);
    inflateEnd(&stream);
    size_t at = 4;
    const auto text = [&] {
      std::string value(reinterpret_cast<const char*>(&body[at]));
      at += value.size() + 1;
      return value;
    };
    const uint32_t headings = U32At(body, at);
    at += 4;
    for (uint32_t i = 0; i < headings; ++i) {
      at += 4;
      (void)text();
    }
    const uint32_t count = U32At(body, at);
    at += 4;
    std::vector<std::vector<std::string>> rows;
    for (uint32_t r = 0; r < count; ++r) {
      std::vector<std::string> row;
      for (size_t size : {1, 4, 1, 1}) {
        row.emplace_back(reinterpret_cast<const char*>(&body[at]), size);
        at += size;
      }
      for (int t = 0; t < shape.texts; ++t) row.push_back(text());
      rows.push_back(row);
    }
    EXPECT_EQ(at, body.size()) << shape.code << ": the rows fill the list";
    return rows;
  }

  // Joins `table_id`; returns the join result (empty when none came).
  std::vector<uint8_t> Join(int connection, uint32_t table_id) {
    const size_t from = sent_.size();
    Deliver(connection, kJoinRequest, U32(table_id));
    const auto results = SentOf(connection, kJoinResult, from);
    return results.empty() ? std::vector<uint8_t>() : results[0];
  }
  uint8_t Sit(int connection, uint32_t table_id, uint8_t seat, uint32_t cents) {
    const size_t from = sent_.size();
    std::vector<uint8_t> request = U32(table_id);
    request.push_back(seat);
    for (uint8_t byte : U32(cents)) request.push_back(byte);
    Deliver(connection, kSitRequest, request);
    seat_at_[table_id] = seat;
    const auto results = SentOf(connection, kSitResult, from);
    return results.size() == 1 && results[0].size() == 5 ? results[0][4] : 0xFF;
  }
  // Posts every blind the player was asked for since `from` and has not posted yet: a Hold'em or
  // Omaha game state whose next player is the player, offering post small (bit 7) or post big
  // (bit 8). The action goes back with the state's hand and round numbers.
  void PostBlindsAsked(size_t from) {
    for (size_t i = std::max(from, blinds_seen_); i < sent_.size(); ++i) {
      const Sent sent = sent_[i];
      const bool omaha = sent.type == 2502;
      const size_t tail = 4 + (omaha ? 149 : 137);  // the previous player, then the next at + 10
      if ((sent.type != 2402 && !omaha) || sent.payload.size() < tail + 15) continue;
      const uint8_t next = sent.payload[tail + 10];
      const uint32_t mask = U32At(sent.payload, tail + 11);
      const uint32_t table_id = U32At(sent.payload, 0);
      if (next != seat_at_[table_id] || (mask & (3u << 7)) == 0) continue;
      std::vector<uint8_t> action = U32(table_id);
      for (size_t at = 4; at < 12; ++at) action.push_back(sent.payload[at]);  // hand and round
      action.push_back((mask & (1u << 7)) != 0 ? 8 : 9);
      for (int b = 0; b < 5; ++b) action.push_back(0);  // amount, then the closing zero
      Deliver(1, omaha ? 2501 : 2401, action);
    }
    blinds_seen_ = sent_.size();
  }
  uint32_t RealBalance(int connection) {
    const size_t from = sent_.size();
    Deliver(connection, kUserBalancesRequest, {});
    const auto balances = SentOf(connection, kUserBalances, from);
    return balances.empty() ? 0 : U32At(balances[0], 0);
  }

  std::unique_ptr<DemoRoom> room_;
  DemoRoom::Clock::time_point now_ = DemoRoom::Clock::time_point() + std::chrono::hours(1);
  std::vector<Sent> sent_;
  size_t blinds_seen_ = 0;
  std::map<uint32_t, int> seat_at_;  // the player's seat by table, as Sit took it
};

// A join result's seats (table id first): seat count at 4 + 93, players at 4 + 95, then 52-byte
// seat records whose first byte is the seat.
struct JoinedTable {
  uint32_t minimum;
  int seats;
  std::set<int> taken;
};
JoinedTable ReadJoin(const std::vector<uint8_t>& join) {
  JoinedTable table{U32At(join, 4 + 81), join[4 + 93], {}};
  for (int i = 0; i < join[4 + 95]; ++i) table.taken.insert(join[4 + 96 + 52 * i]);
  return table;
}

// Four tables at a time, as the client opens them: each sits the player and deals them a hand
// (a player who is to post a blind posts it).
TEST_F(DemoDealerTest, every_listed_table_deals_a_hand_to_a_seated_player) {
  SignIn(1, "alice");
  const std::vector<ListedTable> listed = Listed(1);
  ASSERT_GE(listed.size(), 20u);
  for (size_t first = 0; first < listed.size(); first += 4) {
    std::map<uint32_t, int> game_of;  // table id to game type, of this group
    for (size_t i = first; i < listed.size() && i < first + 4; ++i) {
      const ListedTable& table = listed[i];
      SCOPED_TRACE(table.table_id);
      const std::vector<uint8_t> join = Join(1, table.table_id);
      ASSERT_GT(join.size(), 4u + 96) << "a listed table answers its join";
      ASSERT_EQ(join[4], 0) << "joined";
      const JoinedTable joined = ReadJoin(join);
      EXPECT_EQ(joined.seats, table.seats) << "the list and the table agree on the seats";
      EXPECT_EQ(static_cast<int>(joined.taken.size()), table.players) << "and on who sits there";
      int seat = 0;
      while (joined.taken.count(seat) != 0) ++seat;
      ASSERT_LT(seat, joined.seats) << "a listed table has a free seat";
      ASSERT_EQ(Sit(1, table.table_id, static_cast<uint8_t>(seat), joined.minimum), 0) << "seated";
      for (const ListShape& shape : kListShapes) {
        if (table.code == shape.code) game_of[table.table_id] = shape.game_type;
      }
    }
    const size_t from = sent_.size();
    std::set<uint32_t> dealt;
    const auto all_dealt = [&] {
      for (size_t i = from; i < sent_.size(); ++i) {
        const Sent& sent = sent_[i];
        if (sent.payload.size() < 4) continue;
        const uint32_t table_id = U32At(sent.payload, 0);
        const auto game = game_of.find(table_id);
        if (game != game_of.end() && DealsThePlayerCards(game->second, sent.type, sent.payload)) dealt.insert(table_id);
      }
      return dealt.size() == game_of.size();
    };
    EXPECT_TRUE(RunFor(5 * 60 * 1000, [&] {
      PostBlindsAsked(from);
      return all_dealt();
    })) << dealt.size() << " of " << game_of.size() << " tables from " << listed[first].table_id << " dealt";
    for (const auto& [table_id, game] : game_of) Deliver(1, kLeaveRequest, U32(table_id));
  }
}

// The lobby's lists and details, and the player's balance, follow the player from table to table.
TEST_F(DemoDealerTest, the_lobby_follows_who_sits_where_and_the_wallet_follows_buy_ins) {
  SignIn(1, "alice");
  const uint32_t start = RealBalance(1);
  ASSERT_GT(start, 5000u);
  const ListedTable before = Listed(1).front();
  const std::vector<uint8_t> join = Join(1, before.table_id);
  const JoinedTable joined = ReadJoin(join);
  int seat = 0;
  while (joined.taken.count(seat) != 0) ++seat;

  // The buy-in dialog's balance is the wallet's.
  size_t from = sent_.size();
  Deliver(1, kBalanceRequest, U32(before.table_id));
  ASSERT_EQ(SentOf(1, kBalanceResponse, from).size(), 1u);
  EXPECT_EQ(U32At(SentOf(1, kBalanceResponse, from)[0], 5), start);

  ASSERT_EQ(Sit(1, before.table_id, static_cast<uint8_t>(seat), joined.minimum), 0);
  EXPECT_EQ(RealBalance(1), start - joined.minimum);
  EXPECT_EQ(Listed(1).front().players, before.players + 1);
  from = sent_.size();
  Deliver(1, kTableDetailRequest, U32(before.table_id));
  const auto details = SentOf(1, kTableDetail, from);
  ASSERT_EQ(details.size(), 1u);
  // Table id, player count, then 32-byte names: the player is the last.
  ASSERT_EQ(U32At(details[0], 4), static_cast<uint32_t>(before.players + 1));
  EXPECT_STREQ(reinterpret_cast<const char*>(&details[0][8 + 32 * before.players]), "alice");

  // Another player's lobby counts alice too; leaving gives the chips back to the wallet.
  SignIn(2, "bob");
  EXPECT_EQ(Listed(2).front().players, before.players + 1);
  Deliver(1, kLeaveRequest, U32(before.table_id));
  EXPECT_EQ(RealBalance(1), start);
  EXPECT_EQ(Listed(2).front().players, before.players);

  // So does a connection that ends while the player sits.
  Join(1, before.table_id);
  ASSERT_EQ(Sit(1, before.table_id, static_cast<uint8_t>(seat), joined.minimum), 0);
  room_->CloseConnection(Sink(), 1);
  SignIn(1, "Alice");
  EXPECT_EQ(RealBalance(1), start) << "the wallet is the name's, in any letter case";
}

TEST_F(DemoDealerTest, a_seat_is_refused_when_taken_or_beyond_the_table_or_the_money_is_wrong) {
  SignIn(1, "alice");
  const ListedTable table = Listed(1).front();
  const JoinedTable joined = ReadJoin(Join(1, table.table_id));
  int free_seat = 0;
  while (joined.taken.count(free_seat) != 0) ++free_seat;
  const int taken = *joined.taken.begin();
  const uint32_t wallet = RealBalance(1);
  const struct {
    const char* name;
    int seat;
    uint32_t cents;
    uint8_t result;
  } rows[] = {
      {"a robot's seat", taken, joined.minimum, 1},
      {"beyond the table's seats", joined.seats, joined.minimum, 1},
      {"below the minimum buy-in", free_seat, joined.minimum - 1, 2},
      {"more than the wallet holds", free_seat, wallet + 1, 2},
      {"a free seat", free_seat, joined.minimum, 0},
      {"a second seat for the same player", free_seat == 0 ? 9 : 0, joined.minimum, 1},
  };
  for (const auto& row : rows) {
    EXPECT_EQ(Sit(1, table.table_id, static_cast<uint8_t>(row.seat), row.cents), row.result) << row.name;
  }
  EXPECT_EQ(RealBalance(1), wallet - joined.minimum) << "only the seat taken cost money";
}

// Chat at a dealt table comes back under the player's own name.
TEST_F(DemoDealerTest, chat_at_a_dealt_table_shows_under_the_players_name) {
  SignIn(1, "alice");
  const ListedTable table = Listed(1).front();
  Join(1, table.table_id);
  const size_t from = sent_.size();
  std::vector<uint8_t> chat = U32(table.table_id);
  for (char c : std::string("good luck")) chat.push_back(static_cast<uint8_t>(c));
  chat.push_back(0);
  Deliver(1, kChat, chat);
  const auto messages = SentOf(1, kPlayerMessage, from);
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_STREQ(reinterpret_cast<const char*>(&messages[0][4]), "alice>good luck");
}

// A player who lets the turn's clock run out is acted for once the table's clock and a few
// seconds of grace have passed, not before.
TEST_F(DemoDealerTest, the_turn_clock_acts_for_a_player_only_after_it_runs_out) {
  SignIn(1, "alice");
  const uint32_t aberdeen = 1001;  // Hold'em, a 20-second clock
  const JoinedTable joined = ReadJoin(Join(1, aberdeen));
  int seat = 0;
  while (joined.taken.count(seat) != 0) ++seat;
  ASSERT_EQ(Sit(1, aberdeen, static_cast<uint8_t>(seat), joined.minimum), 0);
  // The player's turn: a game state (table id first) whose next player (at 4 + 147) is the player.
  const auto turn_of = [&](const std::vector<uint8_t>& state) { return state.size() > 4 + 147 ? state[4 + 147] : 255; };
  ASSERT_TRUE(RunFor(5 * 60 * 1000, [&] {
    const auto states = SentOf(1, 2402);
    return !states.empty() && turn_of(states.back()) == seat;
  }));
  const size_t states = SentOf(1, 2402).size();
  // Still the player's turn just before the clock and its grace are out (ticks come 100 ms apart,
  // so the turn began up to 100 ms before it was seen).
  RunFor(24800, [] { return false; });
  EXPECT_EQ(SentOf(1, 2402).size(), states);
  RunFor(400, [] { return false; });
  const auto after = SentOf(1, 2402);
  ASSERT_GT(after.size(), states) << "acted for";
  EXPECT_EQ(after[states][4 + 137], seat) << "the move reported is the player's";
}

}  // namespace
