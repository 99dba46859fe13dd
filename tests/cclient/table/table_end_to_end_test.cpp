// Two tables against the scripted server's demo room, over real connections: the tables join,
// show the dealer's and players' chat, send the player's chat, and leave.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <string>

#include "cclient/net/network.h"
#include "cclient/table/table_list.h"
#include "platform/window/headless.h"
#include "tests/cclient/net/net_test_support.h"
#include "tests/cclient/table/table_fixture.h"
#include "tests/server/demo_room.h"

namespace {

std::unique_ptr<TableGameClass> MakeRecordingGame(int32_t, TableClass* table) {
  return std::make_unique<RecordingGame>(table);
}

class TableEndToEndTest : public NetTest {
 protected:
  void SetUp() override {
    NetTest::SetUp();
    DebugLevel = 1;
    platform::headless::Reset();
    TableGame_SetMaker(&MakeRecordingGame);
    room_ = MakeDemoRoom();
    server_.SetResponder(room_.get());
    ASSERT_TRUE(server_.Start());
  }
  void TearDown() override {
    GlobalTableList().Clear();
    // Every connection ends here, the lobby's and any a table still holds, so that no connection
    // thread outlives the test.
    for (uint8_t id = 0; id < kNetworkSlots; ++id) {
      while (GlobalNetwork().GetRefCount(id) > 0) GlobalNetwork().Release(id, true);
    }
    lobby_ = kNoConnection;
    GlobalNetwork().CloseUnreferenced();
    server_.Stop();
    TableGame_SetMaker(nullptr);
    platform::headless::Reset();
    DebugLevel = 0;
    NetTest::TearDown();
  }
  // Pumps packets and the tables' frames until `done` holds.
  bool RunUntil(const std::function<bool()>& done) {
    return WaitUntil([&] {
      GlobalNetwork().Pump();
      GlobalTableList().Tick(0.02f);
      platform::headless::RunUntilIdle();
      return done();
    });
  }
  static bool ChatShows(const TableClass* table, const std::string& text) {
    for (int32_t back = 0; back < table->Chat()->LinesWritten() && back < 10; ++back) {
      if (table->Chat()->LineFromNewest(back) == text) return true;
    }
    return false;
  }

  // The lobby's connection, as the program has one; released when the test ends.
  bool ConnectLobby() {
    lobby_ = GlobalNetwork().Init(nullptr, "127.0.0.1", server_.Port(), 0);
    return lobby_ != kNoConnection;
  }

  GameServer server_;
  std::unique_ptr<DemoRoom> room_;
  uint8_t lobby_ = kNoConnection;
};

TEST_F(TableEndToEndTest, two_tables_join_chat_and_leave) {
  // The lobby's connection meets the server first, as it does when the program runs.
  ASSERT_TRUE(ConnectLobby());
  ASSERT_TRUE(RunUntil([&] { return GlobalNetwork().IsServerLinked("127.0.0.1", server_.Port()); }));
  ASSERT_TRUE(RunUntil([&] {
    for (const ServerEvent& event : server_.Packets(0)) {
      if (event.type == 1040) return true;
    }
    return false;
  }));
  ASSERT_TRUE(RunUntil([&] { return LogText().find("PACKETTYPE_HELLOFROMSERVER") != std::string::npos; }));

  OpenOrForegroundTable(11, GAMETYPE_HOLDEM, -1, 0, "127.0.0.1", server_.Port(), 0);
  OpenOrForegroundTable(12, GAMETYPE_HOLDEM, -1, 0, "127.0.0.1", server_.Port(), 0);
  TableClass* first = GlobalTableList().FindById(11);
  TableClass* second = GlobalTableList().FindById(12);
  ASSERT_NE(first, nullptr);
  ASSERT_NE(second, nullptr);
  EXPECT_EQ(first->connection_id, second->connection_id);  // one server, one shared connection

  auto joined = [](uint32_t id) {
    const TableClass* table = GlobalTableList().FindById(id);
    return table != nullptr && table->joined != 0;
  };
  ASSERT_TRUE(RunUntil([&] {
    return joined(11) && joined(12);
  })) << server_.Describe() << LogText();
  ASSERT_EQ(GlobalTableList().FindById(11), first);
  ASSERT_EQ(GlobalTableList().FindById(12), second);
  EXPECT_STREQ(first->table_name, "Demo Table 11");
  EXPECT_STREQ(second->seat_names[1], "Dora");
  ASSERT_TRUE(RunUntil([&] { return ChatShows(second, "Dora>good luck everyone"); }));

  EXPECT_EQ(first->SendChat("nice hand"), 0);
  ASSERT_TRUE(RunUntil([&] { return ChatShows(first, "You>nice hand"); }));
  if (const char* folder = std::getenv("TVK_PICTURE_DIR"); folder != nullptr) {
    EXPECT_TRUE(platform::headless::SaveWindowPicture(first->Window(), std::string(folder) + "/demo_table_11.png"));
    EXPECT_TRUE(platform::headless::SaveWindowPicture(second->Window(), std::string(folder) + "/demo_table_12.png"));
  }

  const uint8_t connection = first->connection_id;
  EXPECT_EQ(connection, lobby_);
  const int32_t references = GlobalNetwork().GetRefCount(connection);
  EXPECT_EQ(first->Leave(1, 1, kAnyConnection), 0);
  EXPECT_EQ(GlobalNetwork().GetRefCount(connection), references - 1);
  EXPECT_EQ(GlobalTableList().FindById(11), nullptr);
  EXPECT_EQ(GlobalTableList().CloseAll(1, 1, kAnyConnection), 0);
  EXPECT_EQ(GlobalNetwork().GetRefCount(connection), references - 2);
  ASSERT_TRUE(WaitUntil([&] {
    int leaves = 0;
    for (const ServerEvent& event : server_.Packets(0)) leaves += event.type == 2110 ? 1 : 0;
    return leaves == 2;
  })) << server_.Describe();
}

// Each table the lobby lists is titled with its own name and stakes; an id no list holds gets a
// made-up name.
TEST_F(TableEndToEndTest, each_listed_table_is_titled_with_its_own_name_and_stakes) {
  const struct {
    uint32_t id;
    const char* name;
    const char* stakes;
  } cases[] = {
      {1002, "Bristol", "$2/$4"},          // fixed limit
      {1003, "Cardiff", "N/L $0.50/$1"},   // six seats, no limit
      {1008, "Hull", "N/L $1/$2"},
      {2002, "Omaha Birch", "P/L $2/$5"},  // on the Omaha list
      {11, "Demo Table 11", "$10/$20"},    // on no list
  };
  // The lobby's connection meets the server first, as it does when the program runs.
  ASSERT_TRUE(ConnectLobby());
  ASSERT_TRUE(RunUntil([&] { return LogText().find("PACKETTYPE_HELLOFROMSERVER") != std::string::npos; }));
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    OpenOrForegroundTable(c.id, GAMETYPE_HOLDEM, -1, 0, "127.0.0.1", server_.Port(), 0);
    ASSERT_TRUE(RunUntil([&] {
      const TableClass* table = GlobalTableList().FindById(c.id);
      return table != nullptr && table->joined != 0;
    })) << server_.Describe();
    const TableClass* table = GlobalTableList().FindById(c.id);
    EXPECT_STREQ(table->table_name, c.name);
    EXPECT_STREQ(table->stakes_text, c.stakes);
    EXPECT_EQ(std::string(table->short_title), std::string(c.name) + " - " + c.stakes);
    EXPECT_EQ(GlobalTableList().CloseAll(1, 1, kAnyConnection), 0);
  }
}

TEST_F(TableEndToEndTest, a_dealt_table_plays_hands_for_an_observer) {
  ASSERT_TRUE(ConnectLobby());
  ASSERT_TRUE(RunUntil([&] { return LogText().find("PACKETTYPE_HELLOFROMSERVER") != std::string::npos; }));

  // Aberdeen (1001) has the demo room's dealer and three robots, who start a hand soon after the join.
  OpenOrForegroundTable(1001, GAMETYPE_HOLDEM, -1, 0, "127.0.0.1", server_.Port(), 0);
  TableClass* table = GlobalTableList().FindById(1001);
  ASSERT_NE(table, nullptr);
  ASSERT_TRUE(RunUntil([&] { return table->joined != 0; })) << server_.Describe() << LogText();
  EXPECT_STREQ(table->table_name, "Aberdeen");
  EXPECT_STREQ(table->seat_names[8], "Kit");
  ASSERT_FALSE(RecordingGame::Alive().empty());
  const RecordingGame* game = RecordingGame::Alive().back();
  auto received = [&](uint32_t type) {
    return std::find(game->packets.begin(), game->packets.end(), type) != game->packets.end();
  };
  ASSERT_TRUE(RunUntil([&] { return received(2415) && received(2402); })) << server_.Describe();
  EXPECT_EQ(game->packets.front(), 2415u) << "the seats come before the first hand";
  EXPECT_EQ(GlobalTableList().CloseAll(1, 1, kAnyConnection), 0);
}

}  // namespace
