#include "cclient/table/table_list.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "cclient/base/player_flags.h"
#include "cclient/net/packet_types.h"
#include "cclient/table/table_packets.h"
#include "platform/window/headless.h"
#include "platform/window/message_box.h"
#include "platform/window/window.h"
#include "tests/cclient/table/table_fixture.h"

namespace {

using TableListTest = TableHostTest;

const std::vector<uint8_t> kJoinRequest77{0, 0, 0, 77};

TEST_F(TableListTest, opening_a_table_makes_its_window_and_asks_to_join) {
  OpenOrForegroundTable(77, GAMETYPE_HOLDEM, -1, 5, "tables.example", 9005, 0);
  TableClass* table = GlobalTableList().GetTable(0);
  ASSERT_NE(table, nullptr);
  EXPECT_EQ(neighbours_.Count("Network_Init(tables.example:9005)"), 1);
  const auto joins = neighbours_.SentOf(PACKETTYPE_JOINTABLEREQUEST);
  ASSERT_EQ(joins.size(), 1u);
  EXPECT_EQ(joins[0].payload, kJoinRequest77);
  EXPECT_EQ(joins[0].connection, 3);
  EXPECT_EQ(neighbours_.Count("Main_HotPickTableOpened(77)"), 1);

  platform::RECT client{};
  ASSERT_TRUE(platform::GetClientRect(table->Window(), &client));
  EXPECT_EQ(client.right, kTableClientWidth);
  EXPECT_EQ(client.bottom, kTableClientHeight);
  EXPECT_TRUE(platform::IsWindowVisible(table->Window()));
  EXPECT_EQ(Title(table), "Table");
  EXPECT_EQ(platform::FindWindow(kTableClassName, "Table"), table->Window());
}

TEST_F(TableListTest, a_table_on_a_server_not_yet_linked_joins_after_the_hello) {
  neighbours_.linked = false;
  ASSERT_NE(Open(77), nullptr);
  EXPECT_TRUE(neighbours_.SentOf(PACKETTYPE_JOINTABLEREQUEST).empty());
  EXPECT_EQ(neighbours_.Count("Network_AddPendingTable(77, 3)"), 1);
}

TEST_F(TableListTest, an_open_table_comes_forward_with_its_buy_in_instead_of_a_second_join) {
  TableClass* table = Open(77);
  ASSERT_EQ(Join(77), 0);
  neighbours_.sent.clear();
  OpenOrForegroundTable(77, GAMETYPE_HOLDEM, 3, 5, "tables.example", 9005, 0);
  EXPECT_TRUE(neighbours_.SentOf(PACKETTYPE_JOINTABLEREQUEST).empty());
  EXPECT_EQ(neighbours_.SentOf(2112).size(), 1u);
  EXPECT_EQ(table->buy_in_seat, 3);
  EXPECT_EQ(GlobalTableList().GetTable(1), nullptr);
}

TEST_F(TableListTest, a_fifth_table_is_refused_and_the_others_stay) {
  for (uint32_t id = 1; id <= 4; ++id) ASSERT_NE(Open(id), nullptr);
  OpenOrForegroundTable(5, GAMETYPE_HOLDEM, -1, 5, "tables.example", 9005, 0);
  ASSERT_EQ(neighbours_.error_boxes.size(), 1u);
  EXPECT_EQ(neighbours_.error_boxes[0],
            "You have already opened the maximum of 4 tables.\nPlease close a table before opening a new one.");
  for (int slot = 0; slot < 4; ++slot) EXPECT_EQ(GlobalTableList().GetTableId(slot), slot + 1);
  EXPECT_EQ(neighbours_.calls.end() - std::remove_if(neighbours_.calls.begin(), neighbours_.calls.end(),
                                                     [](const std::string& call) {
                                                       return call.rfind("Network_Init", 0) != 0;
                                                     }),
            4);
}

TEST_F(TableListTest, a_failed_create_shows_the_games_text_and_gives_the_connection_back) {
  RecordingGame::create_error = "Unable to load the table background.";
  OpenOrForegroundTable(77, GAMETYPE_HOLDEM, -1, 5, "tables.example", 9005, 0);
  ASSERT_EQ(neighbours_.error_boxes.size(), 1u);
  EXPECT_EQ(neighbours_.error_boxes[0], "Unable to load the table background.");
  EXPECT_EQ(GlobalTableList().GetTable(0), nullptr);
  EXPECT_EQ(neighbours_.releases_by_connection[3], 1);
  EXPECT_TRUE(RecordingGame::Alive().empty());

  neighbours_.error_boxes.clear();
  RecordingGame::create_error.clear();
  EXPECT_STREQ(GlobalTableList().NewTable(nullptr, main_window_, 8, 78, "Table", -1, 5, "tables.example", 9005, 0),
               "Unsupported Game Type Specified For Table");
  EXPECT_EQ(neighbours_.releases_by_connection[3], 2);
}

TEST_F(TableListTest, a_forced_close_ends_only_its_table_and_drops_one_connection_reference) {
  for (uint32_t id = 1; id <= 4; ++id) ASSERT_NE(Open(id), nullptr);
  const platform::HWND window = GlobalTableList().GetWindow(2);
  EXPECT_EQ(Deliver(PACKETTYPE_FORCECLOSETABLE, 3), 0);
  EXPECT_FALSE(platform::IsWindow(window));
  EXPECT_EQ(GlobalTableList().GetTable(2), nullptr);
  EXPECT_EQ(GlobalTableList().RetiredCount(), 0u);
  EXPECT_EQ(GlobalTableList().GetTableId(0), 1);
  EXPECT_EQ(GlobalTableList().GetTableId(1), 2);
  EXPECT_EQ(GlobalTableList().GetTableId(3), 4);
  EXPECT_EQ(neighbours_.releases_by_connection[3], 1);
  EXPECT_EQ(neighbours_.Count("Main_HotPickTableClosed(3)"), 1);
  // The slot is free again and the next table takes it.
  ASSERT_NE(Open(9), nullptr);
  EXPECT_EQ(GlobalTableList().GetTableId(2), 9);
}

TEST_F(TableListTest, leaving_from_the_leave_button_sends_the_leave_and_ends_the_table_after_its_handler) {
  TableClass* table = Open(77);
  ASSERT_EQ(Join(77), 0);
  platform::RECT leave{};
  ASSERT_TRUE(table->Buttons().GetButtonRect(TABLEBUTTON_LEAVE, &leave));
  const platform::HWND window = table->Window();
  platform::headless::InjectClick(window, leave.left + 3, leave.top + 3);
  platform::headless::RunUntilIdle();
  EXPECT_FALSE(platform::IsWindow(window));
  EXPECT_EQ(GlobalTableList().GetTable(0), nullptr);
  EXPECT_EQ(GlobalTableList().RetiredCount(), 0u);
  const auto leaves = neighbours_.SentOf(PACKETTYPE_TABLELEAVEREQUEST);
  ASSERT_EQ(leaves.size(), 1u);
  EXPECT_EQ(leaves[0].payload, kJoinRequest77);
  EXPECT_EQ(neighbours_.releases_by_connection[3], 1);
  EXPECT_EQ(neighbours_.Count("Main_MoveLobbyConnection"), 1);
}

TEST_F(TableListTest, the_game_can_refuse_a_leave) {
  TableClass* table = Open(77);
  RecordingGame::Alive().back()->stay = 1;
  platform::headless::InjectClose(table->Window());
  platform::headless::RunUntilIdle();
  EXPECT_EQ(GlobalTableList().GetTable(0), table);
  EXPECT_TRUE(neighbours_.SentOf(PACKETTYPE_TABLELEAVEREQUEST).empty());
  EXPECT_EQ(table->Leave(1, 1, 5), 1);  // another connection's filter passes the table over
  EXPECT_EQ(GlobalTableList().CloseAll(0, 1, kAnyConnection), 1);
  EXPECT_EQ(GlobalTableList().CloseAll(1, 1, kAnyConnection), 0);
  EXPECT_EQ(GlobalTableList().GetTable(0), nullptr);
}

TEST_F(TableListTest, a_table_left_while_its_box_is_open_ends_once_the_box_returns) {
  TableClass* table = Open(77);
  ASSERT_EQ(Join(77), 0);
  const platform::HWND window = table->Window();
  platform::headless::AnswerMessageBox(platform::IDOK, [] {
    // The player leaves every table from the lobby while the table's box waits.
    EXPECT_EQ(GlobalTableList().CloseAll(1, 1, kAnyConnection), 0);
  });
  EXPECT_EQ(Deliver(PACKETTYPE_TABLESITRESULT, 77, {1}), 0);
  ASSERT_EQ(platform::headless::MessageBoxes().size(), 1u);
  EXPECT_EQ(platform::headless::MessageBoxes()[0].text,
            "The seat you have selected is not available.\nPlease choose a different seat.");
  EXPECT_FALSE(platform::IsWindow(window));
  EXPECT_EQ(GlobalTableList().GetTable(0), nullptr);
  EXPECT_EQ(GlobalTableList().RetiredCount(), 0u);
  EXPECT_EQ(neighbours_.releases_by_connection[3], 1);
}

PacketBytes ResumeList(const std::vector<uint32_t>& ids, uint32_t count_field) {
  PacketBytes out;
  out.U32(count_field);
  for (const uint32_t id : ids) out.U8(5).U32(id).Fixed("HO", 4).U32(1);
  return out;
}

TEST_F(TableListTest, resuming_reopens_at_most_four_tables_and_keeps_spare_slots_for_open_ones) {
  struct Case {
    const char* name;
    std::vector<uint32_t> open;
    std::vector<uint32_t> listed;
    std::vector<long> slots_after;
    size_t leaves;
  } const cases[] = {
      {"six_listed_two_unlisted_open", {90, 91}, {1, 2, 3, 4, 5, 6}, {1, 2, 3, 4}, 2},
      {"three_listed_two_unlisted_open", {90, 91}, {1, 2, 3}, {90, 1, 2, 3}, 1},
      {"listed_twice_opens_once", {}, {1, 1, 2}, {1, 2, -1, -1}, 0},
      {"an_open_table_is_joined_again", {2}, {1, 2}, {2, 1, -1, -1}, 0},
  };
  for (const Case& c : cases) {
    GlobalTableList().Clear();
    neighbours_.sent.clear();
    for (const uint32_t id : c.open) ASSERT_NE(Open(id), nullptr) << c.name;
    neighbours_.sent.clear();
    const PacketBytes packet = ResumeList(c.listed, static_cast<uint32_t>(c.listed.size()));
    EXPECT_EQ(GlobalTableList().ResumeTables(packet.bytes.data(), static_cast<uint32_t>(packet.bytes.size())), 0)
        << c.name;
    for (int slot = 0; slot < 4; ++slot) EXPECT_EQ(GlobalTableList().GetTableId(slot), c.slots_after[slot]) << c.name;
    EXPECT_EQ(neighbours_.SentOf(PACKETTYPE_TABLELEAVEREQUEST).size(), c.leaves) << c.name;
    const size_t listed_once = std::min<size_t>(
        4, std::set<uint32_t>(c.listed.begin(), c.listed.begin() + std::min<size_t>(4, c.listed.size())).size());
    EXPECT_EQ(neighbours_.SentOf(PACKETTYPE_JOINTABLEREQUEST).size(), listed_once) << c.name;
  }
  EXPECT_GT(neighbours_.Count("Main_EnterLobbyIfNotThere"), 0);
}

TEST_F(TableListTest, a_resume_list_that_claims_too_much_changes_nothing) {
  ASSERT_NE(Open(90), nullptr);
  neighbours_.sent.clear();
  for (const auto& packet : {ResumeList({1}, 101), ResumeList({1, 2}, 3)}) {
    EXPECT_EQ(GlobalTableList().ResumeTables(packet.bytes.data(), static_cast<uint32_t>(packet.bytes.size())), 1);
  }
  EXPECT_EQ(GlobalTableList().GetTableId(0), 90);
  EXPECT_EQ(GlobalTableList().GetTable(1), nullptr);
  EXPECT_TRUE(neighbours_.sent.empty());
}

TEST_F(TableListTest, packets_go_to_their_table_and_game_by_type) {
  ASSERT_NE(Open(77), nullptr);
  RecordingGame* game = RecordingGame::Alive().back();
  struct Case {
    const char* name;
    uint32_t type;
    uint32_t table_id;
    int result;
    size_t game_packets;
  } const cases[] = {
      {"holdem_packet", 2401, 77, 0, 1},
      {"another_games_packet", 2501, 77, 1, 1},
      {"unknown_table", 2401, 78, 0, 1},
      {"client_to_server_type", 2120, 77, 1, 1},
      {"unused_table_type", 2123, 77, 1, 1},
      {"past_the_table_types", 2152, 77, 1, 1},
      {"seat_state_change", 2114, 77, 0, 1},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Deliver(c.type, c.table_id), c.result) << c.name;
    EXPECT_EQ(game->packets.size(), c.game_packets) << c.name;
  }
  const uint8_t short_payload[3] = {0, 0, 0};
  EXPECT_EQ(GlobalTableList().HandlePacket(2101, short_payload, sizeof short_payload), 1);
}

TEST_F(TableListTest, the_tick_reaches_every_table_and_the_game_draws_the_status_strip) {
  ASSERT_NE(Open(1), nullptr);
  ASSERT_NE(Open(2), nullptr);
  GlobalTableList().Tick(0.02f);
  for (RecordingGame* game : RecordingGame::Alive()) EXPECT_EQ(game->ticks, 1);
  EXPECT_STREQ(GlobalTableList().GetTable(0)->last_status_text, "Waiting for players_");
}

}  // namespace
