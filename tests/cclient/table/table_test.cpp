#include "cclient/table/table.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "cclient/base/player_flags.h"
#include "cclient/table/player_notes.h"
#include "cclient/table/rebuy_dialog.h"
#include "cclient/table/stats_window.h"
#include "cclient/table/table_packets.h"
#include "platform/window/headless.h"
#include "platform/window/message_queue.h"
#include "platform/window/window.h"
#include "platform/window/window_messages.h"
#include "tests/cclient/table/table_fixture.h"

namespace {

using TableTest = TableHostTest;

std::string ItemText(platform::HWND dialog, int id) {
  char text[512] = {};
  platform::GetDlgItemText(dialog, id, text, sizeof text);
  return text;
}

void SavePictureForPeople(platform::HWND window, const char* name) {
  if (const char* folder = std::getenv("TVK_PICTURE_DIR"); folder != nullptr) {
    platform::headless::RunUntilIdle();
    EXPECT_TRUE(platform::headless::SaveWindowPicture(window, std::string(folder) + "/" + name));
  }
}

TEST_F(TableTest, the_join_result_fills_the_title_seats_and_chat) {
  TableClass* table = Open(77);
  ASSERT_EQ(Deliver(2101, 77,
                    JoinResultBytes("[Real] High Rollers", "$1/$2 NL", 6,
                                    {{0, "alice", 12345}, {4, "bob", 500}}, 0, 4711).bytes),
            0);
  EXPECT_EQ(table->joined, 1u);
  EXPECT_STREQ(table->table_name, " High Rollers");
  EXPECT_EQ(Title(table), "Hold'em Table:   High Rollers - $1/$2 NL    Hand # 4711   Prev # 0");
  EXPECT_EQ(table->seat_count, 6);
  EXPECT_STREQ(table->seat_names[4], "bob");
  EXPECT_EQ(table->seat_amounts[0], 12345u);
  EXPECT_EQ(table->minimum_sit, 2000u);
  EXPECT_EQ(ChatSince(table, 0), "To play, click SIT at an open seat.");
  EXPECT_EQ(neighbours_.Count("Main_SetLobbyConnection(3)"), 1);
  EXPECT_EQ(neighbours_.Count("Main_HotPickRemember(77, $1/$2 NL)"), 1);

  table->SetHandNumber(4712);
  table->SetHandNumber(4712);
  EXPECT_EQ(Title(table), "Hold'em Table:   High Rollers - $1/$2 NL    Hand # 4712   Prev # 4711");
  GlobalTableList().Tick(0.02f);
  SavePictureForPeople(table->Window(), "table_joined.png");
}

TEST_F(TableTest, fixed_texts_without_their_nul_and_a_huge_seat_count_are_kept_in_bounds) {
  TableClass* table = Open(77);
  const std::string name(32, 'N');
  const std::string stakes(32, 'S');
  PacketBytes packet = JoinResultBytes(name, stakes, 200, {{9, "abcdefghijk", 100}});
  ASSERT_EQ(Deliver(2101, 77, packet.bytes), 0);
  EXPECT_EQ(table->seat_count, 10);
  EXPECT_EQ(std::string(table->table_name), std::string(31, 'N'));
  EXPECT_EQ(std::string(table->stakes_text), std::string(31, 'S'));
  EXPECT_STREQ(table->seat_names[9], "abcdefghij");
  EXPECT_LE(Title(table).size(), 79u);
  EXPECT_EQ(Title(table).rfind("Hold'em Table:  NNNN", 0), 0u);
}

TEST_F(TableTest, the_join_results_reserved_seats_and_what_follows_them) {
  struct Case {
    const char* name;
    std::vector<uint8_t> tail;
    int result;
    bool stays;
  } const cases[] = {
      {"no_reserved_list", {}, 0, true},
      {"empty_reserved_list", {0}, 0, true},
      {"two_reserved_seats", {2, 3, 12}, 0, true},
      {"a_byte_after_the_list", {1, 3, 0}, 1, false},
      {"a_list_cut_short", {2, 3}, 1, false},
  };
  for (const Case& c : cases) {
    GlobalTableList().Clear();
    TableClass* table = Open(77);
    neighbours_.sent.clear();
    EXPECT_EQ(Deliver(2101, 77, JoinResultBytes("T", "S", 10, {{1, "al", 1}}, 0, 1, 0, c.tail).bytes), c.result)
        << c.name;
    EXPECT_EQ(GlobalTableList().GetTable(0) != nullptr, c.stays) << c.name;
    EXPECT_EQ(neighbours_.SentOf(PACKETTYPE_TABLELEAVEREQUEST).size(), c.stays ? 0u : 1u) << c.name;
    if (c.stays && c.tail.size() == 3) {
      EXPECT_EQ(table->seat_reserved[3], 1) << c.name;
      EXPECT_EQ(table->CountFreeSeats(), 8) << c.name;
    }
  }
  GlobalTableList().Clear();
  Open(77);
  EXPECT_EQ(Deliver(2101, 77, JoinResultBytes("T", "S", 10, {{10, "al", 1}}).bytes), 1);  // seat 10
  EXPECT_EQ(GlobalTableList().GetTable(0), nullptr);
  Open(78);
  EXPECT_EQ(Deliver(2101, 78, {3}), 0);  // refused by the server
  EXPECT_EQ(GlobalTableList().GetTable(0), nullptr);
  EXPECT_EQ(neighbours_.Count("Main_HotPickForget(78)"), 1);
}

TEST_F(TableTest, chat_lines_follow_the_filters_and_blocked_players) {
  TableClass* table = Open(77);
  ASSERT_EQ(Join(77), 0);
  PlayerFlagsSet("Mallory", -1, 1);
  struct Case {
    const char* name;
    uint32_t type;
    bool dealer_on;
    bool player_on;
    const char* text;
    const char* shown;  // nullptr: nothing added
    platform::COLORREF colour;
  } const cases[] = {
      {"dealer", 2102, true, true, "Dealer: bob wins", "Dealer: bob wins", 0x80FFFF},
      {"dealer_off", 2102, false, true, "Dealer: hidden", nullptr, 0},
      {"summary_always", 2103, false, false, "Hand over", "Hand over", 0xFFFFFF},
      {"player", 2104, true, true, "alice>hi all", "alice>hi all", 0xFFFF80},
      {"player_off", 2104, true, false, "alice>hidden", nullptr, 0},
      {"blocked_any_case", 2104, true, true, "mallory>spam", nullptr, 0},
      {"no_sender_mark", 2104, true, true, "just words", "just words", 0xFFFF80},
  };
  for (const Case& c : cases) {
    table->show_dealer_messages = c.dealer_on;
    table->show_player_messages = c.player_on;
    const int32_t before = table->Chat()->LinesWritten();
    PacketBytes text;
    text.Text(c.text);
    EXPECT_EQ(Deliver(c.type, 77, text.bytes), 0) << c.name;
    if (c.shown == nullptr) {
      EXPECT_EQ(table->Chat()->LinesWritten(), before) << c.name;
    } else {
      EXPECT_STREQ(table->Chat()->LineFromNewest(0), c.shown) << c.name;
      EXPECT_EQ(table->Chat()->ColourFromNewest(0), c.colour) << c.name;
    }
  }
  EXPECT_EQ(Deliver(2102, 77, {'n', 'o'}), 1);  // no NUL
  EXPECT_EQ(Deliver(2102, 77, {}), 1);
}

TEST_F(TableTest, the_filter_buttons_swap_and_chat_is_sent_cut_to_79_characters) {
  TableClass* table = Open(77);
  EXPECT_TRUE(table->Buttons().IsButtonShown(TABLEBUTTON_DEALER_OFF));
  EXPECT_FALSE(table->Buttons().IsButtonShown(TABLEBUTTON_DEALER_ON));
  table->RunCommand(TABLEBUTTON_DEALER_OFF);
  EXPECT_EQ(table->show_dealer_messages, 0u);
  EXPECT_TRUE(table->Buttons().IsButtonShown(TABLEBUTTON_DEALER_ON));
  EXPECT_FALSE(table->Buttons().IsButtonShown(TABLEBUTTON_DEALER_OFF));

  EXPECT_EQ(table->SendChat(std::string(100, 'c').c_str()), 0);
  const auto chats = neighbours_.SentOf(PACKETTYPE_TABLECHATMESSAGE);
  ASSERT_EQ(chats.size(), 1u);
  ASSERT_EQ(chats[0].payload.size(), 84u);
  EXPECT_EQ(chats[0].payload[83], 0);
  EXPECT_EQ(chats[0].payload[82], 'c');
}

TEST_F(TableTest, the_waiting_list_buttons_show_only_when_every_seat_is_taken) {
  TableClass* table = Open(77);
  ASSERT_EQ(Join(77, {{0, "a", 1}, {1, "b", 1}}, 2), 0);
  EXPECT_TRUE(table->Buttons().IsButtonShown(TABLEBUTTON_JOIN_WAITING_LIST));
  EXPECT_EQ(ChatSince(table, 0),
            "All seats at this table are occupied.  Click 'Join Waiting List' to be added to the waiting list "
            "for this table.");
  neighbours_.signed_in = "Carol";
  table->RunCommand(TABLEBUTTON_JOIN_WAITING_LIST);
  const auto requests = neighbours_.SentOf(PACKETTYPE_TABLEWAITLISTREQUEST);
  ASSERT_EQ(requests.size(), 1u);
  EXPECT_EQ(requests[0].payload, (std::vector<uint8_t>{0, 0, 0, 77, 0}));
  GlobalTableList().SetWaitingList(77, 1);
  EXPECT_TRUE(table->Buttons().IsButtonShown(TABLEBUTTON_LEAVE_WAITING_LIST));
  EXPECT_FALSE(table->Buttons().IsButtonShown(TABLEBUTTON_JOIN_WAITING_LIST));
  EXPECT_EQ(Deliver(PACKETTYPE_TABLEREMOVEPLAYER, 77, {1}), 0);
  EXPECT_FALSE(table->Buttons().IsButtonShown(TABLEBUTTON_LEAVE_WAITING_LIST));
  EXPECT_EQ(Deliver(PACKETTYPE_TABLEREMOVEPLAYER, 77, {10}), 1);
  EXPECT_EQ(Deliver(PACKETTYPE_TABLEUPDATEPLAYERBALANCE, 77, {12, 0, 0, 0, 1}), 0);

  table->table_flags = kTableFlagNoWaitingList;
  neighbours_.sent.clear();
  table->RunCommand(TABLEBUTTON_JOIN_WAITING_LIST);
  table->RunCommand(TABLEBUTTON_LEAVE_WAITING_LIST);
  EXPECT_TRUE(neighbours_.sent.empty());
}

TEST_F(TableTest, the_join_countdown_gives_up_once) {
  TableClass* table = Open(77);
  GlobalTableList().Tick(0.02f);
  EXPECT_EQ(table->connecting_notice_shown, 1);
  for (int i = 0; i < 4; ++i) GlobalTableList().Tick(30.0f);
  EXPECT_EQ(neighbours_.Count("Main_HotPickForget(77)"), 1);
}

TEST_F(TableTest, the_clock_bar_shrinks_from_full_width_and_never_grows_past_it) {
  TableClass* table = Open(77);
  RecordingGame* game = RecordingGame::Alive().back();
  const platform::HDC back = game->GetBackBufferDC();
  struct Case {
    const char* name;
    float total;
    float left;
    int32_t first_red_x;
  } const cases[] = {
      {"start_of_turn", 20.0f, 20.0f, 19},
      {"half_way", 20.0f, 10.0f, 19 + 57 - 28},
      {"more_left_than_total", 20.0f, 40.0f, 19},
  };
  for (const Case& c : cases) {
    table->clock_total = c.total;
    table->clock_left = c.left;
    table->PaintStatus(back, 0.0f, "", game->GetBackgroundDC(), false, nullptr, nullptr, 0);
    int32_t first_red = -1;
    for (int32_t x = 0; x < 200 && first_red < 0; ++x) {
      if (platform::GetPixel(back, x, 507) == platform::RGB(255, 60, 60)) first_red = x;
    }
    EXPECT_EQ(first_red, c.first_red_x) << c.name;
  }
  table->PaintStatus(back, 50.0f, "", game->GetBackgroundDC(), false, nullptr, nullptr, 0);
  EXPECT_EQ(table->clock_left, -1.0f);
}

TEST_F(TableTest, the_seat_notification_and_auto_post_question_are_the_tables_own) {
  TableClass* table = Open(77);
  RecordingGame* game = RecordingGame::Alive().back();
  platform::PostMessage(table->Window(), TABLEMSG_SEAT_NOTIFICATION, 0, 0);
  platform::headless::RunUntilIdle();
  EXPECT_EQ(game->messages, (std::vector<platform::UINT>{TABLEMSG_SEAT_NOTIFICATION}));
  EXPECT_TRUE(table->SetSeatNotification("Seat Open", "A seat is open."));
  EXPECT_FALSE(table->SetSeatNotification("Again", "Again"));
  platform::PostMessage(table->Window(), TABLEMSG_SEAT_NOTIFICATION, 0, 0);
  platform::headless::AnswerMessageBox(platform::IDYES);
  platform::PostMessage(table->Window(), TABLEMSG_ASK_AUTO_POST, 0, 0);
  platform::headless::RunUntilIdle();
  const auto& boxes = platform::headless::MessageBoxes();
  ASSERT_EQ(boxes.size(), 2u);
  EXPECT_EQ(boxes[0].caption, "Seat Open");
  EXPECT_EQ(boxes[1].text, "Would you like to have your blinds posted automatically?");
  EXPECT_EQ(game->messages.back(), TABLEMSG_AUTO_POST_ACCEPTED);
}

PacketBytes RebuyOffer(uint32_t flags, uint32_t time_limit_ms) {
  PacketBytes out;
  out.U32(111).U32(flags).U32(222).U32(time_limit_ms).Text("Rebuy").Text("Buy more chips?").Text("Choose one.");
  out.Text("Rebuy $10").U32(1000).Text("Add-on $20").U32(2000).Text("").U32(3000);
  return out;
}

TEST_F(TableTest, a_rebuy_choice_is_answered_with_its_value) {
  TableClass* table = Open(77);
  ASSERT_EQ(Deliver(PACKETTYPE_TABLESHOWREBUYWINDOW, 77, RebuyOffer(0x3F, 60000).bytes), 0);
  const platform::HWND dialog = table->Rebuy()->Window();
  ASSERT_NE(dialog, nullptr);
  EXPECT_FALSE(platform::IsWindowEnabled(platform::GetDlgItem(dialog, platform::IDOK)));
  EXPECT_FALSE(platform::IsWindowVisible(platform::GetDlgItem(dialog, kRebuyOption3)));  // no text
  EXPECT_EQ(ItemText(dialog, kRebuyTopText), "Buy more chips?");
  GlobalTableList().Tick(0.5f);
  EXPECT_EQ(ItemText(dialog, kRebuyTimeText), "Time Limit:  0:59");
  SavePictureForPeople(dialog, "rebuy_dialog.png");
  platform::SendMessage(dialog, platform::WM_COMMAND, kRebuyOption2, 0);
  EXPECT_TRUE(platform::IsWindowEnabled(platform::GetDlgItem(dialog, platform::IDOK)));
  platform::SendMessage(dialog, platform::WM_COMMAND, platform::IDOK, 0);
  EXPECT_EQ(table->Rebuy()->Window(), nullptr);
  const auto replies = neighbours_.SentOf(PACKETTYPE_TABLEREBUYREPLY);
  ASSERT_EQ(replies.size(), 1u);
  PacketBytes expected;
  expected.U32(77).U32(0).U32(111).U32(222).U32(2000);
  EXPECT_EQ(replies[0].payload, expected.bytes);
}

TEST_F(TableTest, a_rebuy_offer_times_out_or_is_extended_by_the_server) {
  TableClass* table = Open(77);
  ASSERT_EQ(Deliver(PACKETTYPE_TABLESHOWREBUYWINDOW, 77, RebuyOffer(0, 2000).bytes), 0);
  PacketBytes extend;
  extend.U32(0).U32(30000);
  EXPECT_EQ(Deliver(PACKETTYPE_TABLECLOSEREBUYWINDOW, 77, extend.bytes), 0);
  EXPECT_EQ(ItemText(table->Rebuy()->Window(), kRebuyTimeText), "Time Limit:  0:30");
  GlobalTableList().Tick(29.5f);
  EXPECT_NE(table->Rebuy()->Window(), nullptr);
  GlobalTableList().Tick(0.6f);
  EXPECT_EQ(table->Rebuy()->Window(), nullptr);
  EXPECT_TRUE(neighbours_.SentOf(PACKETTYPE_TABLEREBUYREPLY).empty());

  EXPECT_EQ(Deliver(PACKETTYPE_TABLESHOWREBUYWINDOW, 77, RebuyOffer(0, 0xFFFFFFFFu).bytes), 0);  // signed: -1 ms
  GlobalTableList().Tick(0.02f);
  EXPECT_EQ(table->Rebuy()->Window(), nullptr);
  PacketBytes cut = RebuyOffer(0x3F, 1000);
  cut.bytes.resize(cut.bytes.size() - 2);
  EXPECT_EQ(Deliver(PACKETTYPE_TABLESHOWREBUYWINDOW, 77, cut.bytes), 1);
  EXPECT_EQ(table->Rebuy()->Window(), nullptr);
}

TEST_F(TableTest, the_statistics_window_shows_resets_and_closes) {
  TableClass* table = Open(77);
  table->Stats()->SetTexts("Session", "12 hands", "Won:\nLost:", "3\n9", "Best:", "$40");
  table->RunCommand(TABLEBUTTON_STATISTICS);
  const platform::HWND window = table->Stats()->Window();
  ASSERT_NE(window, nullptr);
  EXPECT_FALSE(table->Stats()->HasPicture());  // no "statswin.a" here: the gray fill
  char caption[64] = {};
  platform::GetWindowText(window, caption, sizeof caption);
  EXPECT_STREQ(caption, "Session");
  platform::headless::RunUntilIdle();
  SavePictureForPeople(window, "stats_window.png");
  table->RunCommand(TABLEBUTTON_STATISTICS);
  EXPECT_EQ(table->Stats()->Window(), window);

  platform::SendMessage(window, platform::WM_COMMAND, kStatsResetButton, 0);
  EXPECT_EQ(table->Stats()->reset_requested, 1u);
  EXPECT_STREQ(table->Stats()->Values1(), "");
  EXPECT_STREQ(table->Stats()->Values2(), "");
  EXPECT_STREQ(table->Stats()->Labels1(), "Won:\nLost:");
  EXPECT_STREQ(table->Stats()->Summary(), "12 hands");
  platform::SendMessage(window, platform::WM_COMMAND, kStatsCloseButton, 0);
  EXPECT_FALSE(platform::IsWindow(window));
  EXPECT_EQ(table->Stats()->Window(), nullptr);
}

TEST_F(TableTest, notes_are_saved_reloaded_and_deleted) {
  TableClass* table = Open(77);
  PlayerNotes_Open(nullptr, table->Window(), "Bob.B 2");
  platform::HWND dialog = platform::FindWindow(nullptr, "Player Notes for 'Bob.B 2'");
  ASSERT_NE(dialog, nullptr);
  PlayerNotes_Open(nullptr, table->Window(), "Bob.B 2");  // the open one comes forward
  EXPECT_EQ(platform::FindWindow(nullptr, "Player Notes for 'Bob.B 2'"), dialog);
  platform::SetDlgItemText(dialog, kNotesTextEdit, "bluffs a lot\r\nfolds to raises");
  platform::CheckDlgButton(dialog, kNotesMuteCheck, 1);
  platform::SendMessage(dialog, platform::WM_COMMAND, platform::IDOK, 0);
  EXPECT_FALSE(platform::IsWindow(dialog));
  EXPECT_EQ(folder_.ReadFile("Bob_2EB_202.not"), "bluffs a lot\r\nfolds to raises");
  EXPECT_EQ(PlayerFlagsGet("bob.b 2"), kPlayerFlagNotes | kPlayerFlagBlocked);
  EXPECT_EQ(RecordingGame::Alive().back()->refreshed, (std::vector<std::string>{"Bob.B 2"}));

  PlayerNotes_Open(nullptr, table->Window(), "Bob.B 2");
  dialog = platform::FindWindow(nullptr, "Player Notes for 'Bob.B 2'");
  ASSERT_NE(dialog, nullptr);
  EXPECT_EQ(ItemText(dialog, kNotesTextEdit), "bluffs a lot\r\nfolds to raises");
  EXPECT_EQ(platform::IsDlgButtonChecked(dialog, kNotesMuteCheck), 1u);
  platform::SetDlgItemText(dialog, kNotesTextEdit, "");
  platform::CheckDlgButton(dialog, kNotesMuteCheck, 0);
  platform::SendMessage(dialog, platform::WM_COMMAND, platform::IDOK, 0);
  EXPECT_FALSE(folder_.Exists("Bob_2EB_202.not"));
  EXPECT_EQ(PlayerFlagsGet("Bob.B 2"), 0);
}

TEST_F(TableTest, notes_kept_under_the_older_file_name_are_still_read) {
  folder_.WriteFile("a_b.not", "old notes\n");
  PlayerNotes_Open(nullptr, main_window_, "a.b");
  const platform::HWND dialog = platform::FindWindow(nullptr, "Player Notes for 'a.b'");
  ASSERT_NE(dialog, nullptr);
  EXPECT_EQ(ItemText(dialog, kNotesTextEdit), "old notes\r\n");
}

TEST(PlayerNotesFileTest, distinct_players_get_distinct_files_and_names_come_back) {
  struct Case {
    const char* player;
    const char* file;
    const char* legacy;
  } const cases[] = {
      {"a.b", "a_2Eb.not", "a_b.not"},
      {"a b", "a_20b.not", "a_b.not"},
      {"a_b", "a_5Fb.not", "a_b.not"},
      {"Bob42", "Bob42.not", "Bob42.not"},
  };
  for (const Case& c : cases) {
    char file[64];
    PlayerNotes_FileName(c.player, false, file, sizeof file);
    EXPECT_STREQ(file, c.file) << c.player;
    PlayerNotes_FileName(c.player, true, file, sizeof file);
    EXPECT_STREQ(file, c.legacy) << c.player;
    char name[64];
    std::string stem(c.file);
    PlayerNotes_NameFromFile(stem.substr(0, stem.size() - 4).c_str(), name, sizeof name);
    EXPECT_STREQ(name, c.player) << c.player;
  }
  char name[64];
  PlayerNotes_NameFromFile("old_name", name, sizeof name);
  EXPECT_STREQ(name, "old_name");
}

}  // namespace
