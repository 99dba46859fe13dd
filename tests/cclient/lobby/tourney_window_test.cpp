// The tournament windows on the headless backend: the list of windows, the window's buttons,
// lists and painting, the prize table and registration. The game server is a recording set of
// neighbours; details packets are fed as the packet dispatch would.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "cclient/lobby/tourney_list.h"
#include "cclient/lobby/tourney_neighbours.h"
#include "cclient/lobby/tourney_texts.h"
#include "cclient/lobby/tourney_window.h"
#include "cclient/net/packet_types.h"
#include "platform/controls/common_controls.h"
#include "platform/controls/control_messages.h"
#include "platform/controls/dialog.h"
#include "platform/window/activation.h"
#include "platform/window/headless.h"
#include "platform/window/message_queue.h"
#include "platform/window/window.h"
#include "tests/cclient/lobby/tourney_packet_builder.h"
#include "tests/support/temp_program_folder.h"

namespace {

using platform::HWND;

struct Packet {
  uint32_t type;
  std::vector<uint8_t> bytes;
  uint8_t connection;
};

struct TableOpen {
  uint32_t table_id;
  int32_t game_type;
  int table_kind;
};

class RecordingTourney : public TourneyNeighbours {
 public:
  RecordingTourney() { Tourney_SetNeighbours(this); }
  ~RecordingTourney() override { Tourney_SetNeighbours(nullptr); }

  uint8_t Network_Init(const char*, uint16_t, uint8_t) override { return next_connection++; }
  void Network_Release(uint8_t connection_id, bool) override { released.push_back(connection_id); }
  int Network_SendPacket(uint32_t type, const void* payload, uint32_t length, uint8_t connection) override {
    const auto* bytes = static_cast<const uint8_t*>(payload);
    sent.push_back({type, std::vector<uint8_t>(bytes, bytes + length), connection});
    return 0;
  }
  uint32_t Network_GetLinkQuality(uint8_t) override { return link; }
  void Main_MoveLobbyConnection() override {}
  void Main_BringToFront() override {}
  int32_t Main_GameCodeToType(const char* code) override { return std::string(code) == "THE" ? 1 : -1; }
  bool Login_IsLoggedIn() override { return !user.empty(); }
  const char* Login_GetUserName() override { return user.c_str(); }
  void Login_ShowDialog(HWND, int32_t, int32_t, int32_t) override { ++sign_in_dialogs; }
  void OpenOrForegroundTable(uint32_t table_id, int32_t game_type, int32_t, uint8_t, const char*, uint16_t,
                             int table_kind) override {
    tables.push_back({table_id, game_type, table_kind});
  }
  bool PlayMoneyEdition() override { return false; }

  std::vector<Packet> sent;
  std::vector<uint8_t> released;
  std::vector<TableOpen> tables;
  std::string user;
  uint32_t link = 100;
  uint8_t next_connection = 3;
  int sign_in_dialogs = 0;

  // The packets of one type sent since the last call.
  std::vector<Packet> Take(uint32_t type) {
    std::vector<Packet> taken, kept;
    for (Packet& p : sent) (p.type == type ? taken : kept).push_back(p);
    sent = kept;
    return taken;
  }
};

std::vector<uint8_t> U32Bytes(uint32_t v) {
  return {static_cast<uint8_t>(v >> 24), static_cast<uint8_t>(v >> 16), static_cast<uint8_t>(v >> 8),
          static_cast<uint8_t>(v)};
}

// A complete copy of a tournament: `players` players named p1, p2, ... at tables 101/102 (or none
// while registering), the general fields, tables, prizes and registration.
std::vector<uint8_t> FullCopy(uint32_t tourney_id, uint8_t state, uint32_t players, uint8_t registration,
                              bool watch = false, const std::string& game_code = "THE") {
  TourneyBytes b;
  b.U32(tourney_id).U32(players);
  b.U8(TOURNEY_PART_GENERAL | TOURNEY_PART_PLAYERS | TOURNEY_PART_TABLES | TOURNEY_PART_PRIZES |
       TOURNEY_PART_REGISTRATION | TOURNEY_PART_COMPLETE | (watch ? TOURNEY_PART_WATCH : 0));
  const uint32_t fields = (1u << 0) | (1u << 1) | (1u << 2) | (1u << 4) | (1u << 5) | (1u << 6) | (1u << 8) |
                          (1u << 9) | (1u << 10) | (1u << 12) | (1u << 13) | (1u << 14) | (1u << 15) |
                          (1u << 16) | (1u << 17) | (1u << 18) | (1u << 19) | (1u << 20) | (1u << 23) | (1u << 24);
  b.U32(fields);
  b.Text("Sunday [x] Special").Text("No Limit Hold'em").U32(5400).Text("Hold'em").Text("Sunday").Text("8:00 PM");
  b.Text("$10 + $1").Text("N/A").Text("$10").Text("Level 3").U32(300).Text("50/100").Text("100/200").U32(1800);
  b.U8(state).U32(100).U32(2).U32(0);
  b.U8(game_code[0]).U8(game_code[1]).U8(game_code[2]).U8(0).U32(150000);
  b.U8(TOURNEY_PLAYERS_NEW).U32(players);
  const bool seated = state == TOURNEY_STATE_RUNNING || state == TOURNEY_STATE_FULL;
  for (uint32_t i = 1; i <= players; ++i) {
    b.Player(i, "p" + std::to_string(i), seated ? static_cast<int32_t>(101 + (i - 1) % 2) : -1, 0,
             100000 + static_cast<int32_t>(i) * 50);
  }
  b.U32(2).U32(101).Text("Table 101").U32(102).Text("Table 102");
  b.U8(0x3F).Text("$1,000").Text("$1,200").Text("10").Text("$400").Text("$250").Text("$150");
  b.U8(registration);
  return b.bytes;
}

class TourneyWindowTest : public ::testing::Test {
 protected:
  // The placeholder art is laid out once, beside the test program, when it is built.
  static std::string Art(const std::string& name) {
    std::ifstream in(std::string(TOURNEY_ART_DIR "/") + name, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }
  void SetUp() override {
    platform::headless::Reset();
    platform::InitCommonControls();
    for (const char* name : {"tourney.a", "tourneya.a"}) folder_.WriteFile(name, Art(name));
    for (const char* stem : {"login", "join", "unjoin", "take", "goto", "close"}) {
      for (const char* look : {"tb", "to", "td"}) {
        const std::string name = std::string(look) + stem + ".b";
        folder_.WriteFile(name, Art(name));
      }
    }
  }
  void TearDown() override {
    GlobalTourneyList().CloseAll();
    platform::headless::Reset();
  }

  TourneyClass* Open(uint32_t id) {
    GlobalTourneyList().Open(id, 0, "game.test", 9000);
    return GlobalTourneyList().FindByTourneyId(id);
  }
  int Feed(uint32_t type, const std::vector<uint8_t>& bytes) {
    return GlobalTourneyList().HandlePacket(type, bytes.data(), static_cast<uint32_t>(bytes.size()));
  }
  static std::string Cell(HWND list, int row, int column) {
    char text[128] = {};
    platform::LVITEM item;
    item.iSubItem = column;
    item.pszText = text;
    item.cchTextMax = sizeof text;
    platform::SendMessage(list, platform::LVM_GETITEMTEXT, static_cast<platform::WPARAM>(row),
                          reinterpret_cast<platform::LPARAM>(&item));
    return text;
  }
  // A click of its own (not the second half of a double click).
  static void Click(HWND window, int x, int y) {
    (void)platform::headless::AdvanceClock(1000);
    platform::headless::InjectMouse(window, platform::WM_MOUSEMOVE, x, y);
    platform::headless::InjectClick(window, x, y);
    (void)platform::headless::RunUntilIdle();
  }
  static void SavePicture(HWND window, const std::string& name) {
    (void)platform::headless::RunUntilIdle();
    const char* env = std::getenv("TVK_WIDGET_PNG_DIR");
    const std::filesystem::path folder =
        env != nullptr && *env != '\0' ? std::filesystem::path(env)
                                       : std::filesystem::canonical("/proc/self/exe").parent_path() / "widget_pngs";
    std::filesystem::create_directories(folder);
    EXPECT_TRUE(platform::headless::SaveWindowPicture(window, (folder / (name + ".png")).string()));
  }

  TempProgramFolder folder_;
  RecordingTourney net_;
};

TEST_F(TourneyWindowTest, opening_asks_once_and_the_same_id_brings_the_window_forward) {
  TourneyClass* first = Open(77);
  ASSERT_NE(first, nullptr);
  const std::vector<Packet> asked = net_.Take(PACKETTYPE_TOURNEYDETAILSREQUEST);
  ASSERT_EQ(asked.size(), 1u);
  EXPECT_EQ(asked[0].bytes, (std::vector<uint8_t>{0, 0, 0, 0x4D, 1, 0, 0, 0, 0, 0}));
  EXPECT_EQ(asked[0].connection, 3);
  platform::SetForegroundWindow(nullptr);
  EXPECT_EQ(Open(77), first);
  EXPECT_EQ(platform::GetForegroundWindow(), first->GetHwnd());
  EXPECT_TRUE(net_.Take(PACKETTYPE_TOURNEYDETAILSREQUEST).empty());
  EXPECT_EQ(net_.next_connection, 4);  // no second connection
}

TEST_F(TourneyWindowTest, four_windows_at_most_and_a_closed_one_frees_its_slot) {
  for (uint32_t id = 1; id <= 4; ++id) ASSERT_NE(Open(id), nullptr);
  EXPECT_EQ(Open(5), nullptr);
  ASSERT_EQ(platform::headless::MessageBoxes().size(), 1u);
  EXPECT_EQ(platform::headless::MessageBoxes()[0].text,
            "You have already opened the maximum of four tournament windows.\n"
            "Please close a tournament window before opening a new one.");
  // The window of tournament 2 closes: its object goes, it tells the server and drops its
  // connection; the next tournament takes the freed slot.
  platform::PostMessage(GlobalTourneyList().FindByTourneyId(2)->GetHwnd(), platform::WM_CLOSE, 0, 0);
  (void)platform::headless::RunUntilIdle();
  EXPECT_EQ(GlobalTourneyList().FindByTourneyId(2), nullptr);
  const std::vector<Packet> status = net_.Take(PACKETTYPE_TOURNEYSTATUSREQUEST);
  ASSERT_EQ(status.size(), 1u);
  EXPECT_EQ(status[0].bytes, (std::vector<uint8_t>{0, 0, 0, 2, 0, 0}));
  EXPECT_EQ(net_.released, (std::vector<uint8_t>{4}));
  EXPECT_NE(Open(5), nullptr);
  EXPECT_EQ(platform::headless::MessageBoxes().size(), 1u);

  GlobalTourneyList().CloseAll();
  for (uint32_t id = 1; id <= 5; ++id) EXPECT_EQ(GlobalTourneyList().FindByTourneyId(id), nullptr);
  EXPECT_EQ(net_.released.size(), 5u);
  GlobalTourneyList().CloseAll();  // nothing open: nothing happens
  EXPECT_EQ(net_.released.size(), 5u);
}

TEST_F(TourneyWindowTest, a_window_that_cannot_be_made_frees_its_slot_and_says_so) {
  folder_.WriteFile("tourney.a", Art("tourneya.a"));  // wrong size
  EXPECT_EQ(Open(9), nullptr);
  ASSERT_EQ(platform::headless::MessageBoxes().size(), 1u);
  EXPECT_EQ(platform::headless::MessageBoxes()[0].text,
            "Unable to open the tournament window at this time, please try again later.");
  EXPECT_EQ(net_.released, (std::vector<uint8_t>{3}));
  EXPECT_TRUE(platform::headless::ListWindows().empty());
}

TEST_F(TourneyWindowTest, packets_are_routed_by_tourney_id) {
  ASSERT_NE(Open(77), nullptr);
  EXPECT_EQ(Feed(PACKETTYPE_TOURNEYDATA, U32Bytes(77)), 0);
  EXPECT_EQ(Feed(PACKETTYPE_TOURNEYTABLEDATA, U32Bytes(77)), 0);
  EXPECT_EQ(Feed(PACKETTYPE_TOURNEYBALANCERESULT, U32Bytes(77)), 0);
  EXPECT_EQ(Feed(1234, U32Bytes(77)), 1);
  EXPECT_EQ(Feed(PACKETTYPE_TOURNEYDETAILS, U32Bytes(78)), 0);  // not open: dropped
  EXPECT_EQ(Feed(PACKETTYPE_TOURNEYDETAILS, {0, 0, 0}), 1);
  EXPECT_EQ(Feed(PACKETTYPE_JOINTOURNEYRESULT, U32Bytes(77)), 1);  // no result byte
  EXPECT_EQ(GlobalTourneyList().FindByTourneyId(77)->Details().state, TOURNEY_DETAILS_NONE);
}

TEST_F(TourneyWindowTest, running_tournament_fills_the_lists_and_own_row_and_opens_tables) {
  net_.user = "P4";  // letter case does not matter
  TourneyClass* t = Open(77);
  ASSERT_NE(t, nullptr);
  ASSERT_EQ(Feed(PACKETTYPE_TOURNEYDETAILS, FullCopy(77, TOURNEY_STATE_RUNNING, 6, 0)), 0);
  t->Tick(0.04f);
  EXPECT_EQ(t->Details().state, TOURNEY_DETAILS_UP_TO_DATE);
  ASSERT_NE(t->TableList(), nullptr);
  ASSERT_NE(t->TablePlayerList(), nullptr);
  EXPECT_EQ(platform::ListView_GetItemCount(t->PlayerList()), 6);
  // Ranked by chips: p6 has the most.
  EXPECT_EQ(Cell(t->PlayerList(), 0, 0), "p6");
  EXPECT_EQ(Cell(t->PlayerList(), 0, 1), "Table 102");
  EXPECT_EQ(Cell(t->PlayerList(), 0, 2), "1003");
  EXPECT_EQ(Cell(t->PlayerList(), 0, 3), "1");
  ASSERT_EQ(platform::ListView_GetItemCount(t->OwnRowList()), 1);
  EXPECT_EQ(Cell(t->OwnRowList(), 0, 0), "p4");
  EXPECT_EQ(Cell(t->OwnRowList(), 0, 3), "3");
  ASSERT_EQ(platform::ListView_GetItemCount(t->TableList()), 2);
  EXPECT_EQ(Cell(t->TableList(), 0, 0), "Table 101");
  EXPECT_EQ(Cell(t->TableList(), 0, 1), "3");
  EXPECT_EQ(Cell(t->TableList(), 0, 2), "1002.50");
  EXPECT_EQ(Cell(t->TableList(), 0, 3), "1000.50");
  EXPECT_TRUE(t->IsButtonShown(TOURNEY_BUTTON_MY_TABLE));
  EXPECT_FALSE(t->IsButtonShown(TOURNEY_BUTTON_GO_TO_TABLE));

  // Go To My Table opens p4's table as a real-money table of the tournament's game.
  Click(t->GetHwnd(), 442 + 20, 473 + 10);
  ASSERT_EQ(net_.tables.size(), 1u);
  EXPECT_EQ(net_.tables[0].table_id, 102u);
  EXPECT_EQ(net_.tables[0].game_type, 1);
  EXPECT_EQ(net_.tables[0].table_kind, 1);

  // Go To Table without a chosen table says so; choosing one in the table list fills its players.
  platform::NMITEMACTIVATE click;
  click.hdr.hwndFrom = t->TableList();
  click.hdr.code = platform::NM_CLICK;
  click.iItem = 1;
  platform::SendMessage(t->GetHwnd(), platform::WM_NOTIFY, 0, reinterpret_cast<platform::LPARAM>(&click));
  EXPECT_EQ(t->Details().chosen_table_id, 102);
  EXPECT_TRUE(t->IsButtonShown(TOURNEY_BUTTON_GO_TO_TABLE));
  EXPECT_EQ(platform::ListView_GetItemCount(t->TablePlayerList()), 3);
  EXPECT_EQ(Cell(t->TablePlayerList(), 0, 0), "p2");
  EXPECT_EQ(Cell(t->TablePlayerList(), 0, 2), "5");
  click.hdr.code = platform::NM_DBLCLK;
  click.iItem = 0;
  platform::SendMessage(t->GetHwnd(), platform::WM_NOTIFY, 0, reinterpret_cast<platform::LPARAM>(&click));
  ASSERT_EQ(net_.tables.size(), 2u);
  EXPECT_EQ(net_.tables[1].table_id, 101u);
  ASSERT_EQ(platform::ListView_GetItemCount(t->TablePlayerList()), 3);
  EXPECT_EQ(Cell(t->TablePlayerList(), 0, 0), "p1");

  // A click on the Rank column header shows the same order reversed.
  platform::NMLISTVIEW column;
  column.hdr.hwndFrom = t->PlayerList();
  column.hdr.code = platform::LVN_COLUMNCLICK;
  column.iSubItem = 3;
  platform::SendMessage(t->GetHwnd(), platform::WM_NOTIFY, 0, reinterpret_cast<platform::LPARAM>(&column));
  EXPECT_EQ(t->Details().player_sort, -4);
  EXPECT_EQ(Cell(t->PlayerList(), 0, 0), "p1");
  EXPECT_EQ(Cell(t->PlayerList(), 5, 0), "p6");
  SavePicture(t->GetHwnd(), "tourney_running");

  // The tournament is gone: registered count 0 with only the complete-copy bit closes the window.
  TourneyBytes gone;
  gone.U32(77).U32(0).U8(TOURNEY_PART_COMPLETE);
  EXPECT_EQ(Feed(PACKETTYPE_TOURNEYDETAILS, gone.bytes), 0);
  (void)platform::headless::RunUntilIdle();
  EXPECT_EQ(GlobalTourneyList().FindByTourneyId(77), nullptr);
}

TEST_F(TourneyWindowTest, paging_shows_fetching_rows_and_signing_in_finds_the_own_row) {
  TourneyClass* t = Open(77);
  ASSERT_NE(t, nullptr);
  EXPECT_TRUE(t->IsButtonShown(TOURNEY_BUTTON_CLOSE));
  EXPECT_FALSE(t->IsButtonShown(TOURNEY_BUTTON_SIGN_IN));
  // 60 registered, the first page brings 50.
  std::vector<uint8_t> first = FullCopy(77, TOURNEY_STATE_REGISTERING, 50, 0x01);
  first[7] = 60;  // registered count
  ASSERT_EQ(Feed(PACKETTYPE_TOURNEYDETAILS, first), 0);
  EXPECT_EQ(t->Details().state, TOURNEY_DETAILS_COLLECTING);
  t->Tick(0.04f);
  EXPECT_EQ(platform::ListView_GetItemCount(t->PlayerList()), 60);
  EXPECT_EQ(Cell(t->PlayerList(), 55, 0), "Fetching...");
  EXPECT_EQ(Cell(t->PlayerList(), 55, 2), "");
  EXPECT_TRUE(t->IsButtonShown(TOURNEY_BUTTON_SIGN_IN));
  EXPECT_FALSE(t->IsButtonShown(TOURNEY_BUTTON_REGISTER));
  Click(t->GetHwnd(), 442 + 20, 473 + 10);
  EXPECT_EQ(net_.sign_in_dialogs, 1);

  // Signing in as a registered player: a details request without parts, the own row, Unregister.
  net_.user = "p7";
  net_.sent.clear();
  t->Tick(0.04f);
  EXPECT_TRUE(net_.Take(PACKETTYPE_TOURNEYDETAILSREQUEST).empty());  // registration flags known
  EXPECT_TRUE(t->Details().registered);
  EXPECT_EQ(platform::ListView_GetItemCount(t->OwnRowList()), 1);
  EXPECT_TRUE(t->IsButtonShown(TOURNEY_BUTTON_UNREGISTER));
  Click(t->GetHwnd(), 442 + 20, 473 + 10);
  const std::vector<Packet> unjoin = net_.Take(PACKETTYPE_UNJOINTOURNEYREQUEST);
  ASSERT_EQ(unjoin.size(), 1u);
  EXPECT_EQ(unjoin[0].bytes, U32Bytes(77));
  SavePicture(t->GetHwnd(), "tourney_registering");

  // Signing out forgets the registration.
  net_.user.clear();
  t->Tick(0.04f);
  EXPECT_FALSE(t->Details().registered);
  EXPECT_EQ(platform::ListView_GetItemCount(t->OwnRowList()), 0);
  EXPECT_TRUE(t->IsButtonShown(TOURNEY_BUTTON_SIGN_IN));
}

TEST_F(TourneyWindowTest, prize_table_link_asks_once_and_rows_wait_for_the_window) {
  TourneyClass* t = Open(77);
  ASSERT_NE(t, nullptr);
  ASSERT_EQ(Feed(PACKETTYPE_TOURNEYDETAILS, FullCopy(77, TOURNEY_STATE_REGISTERING, 3, 0x01)), 0);
  net_.sent.clear();
  Click(t->GetHwnd(), 300, 148);
  const std::vector<Packet> asked = net_.Take(PACKETTYPE_TOURNEYDETAILSREQUEST);
  ASSERT_EQ(asked.size(), 1u);
  EXPECT_EQ(asked[0].bytes[4], TOURNEY_ASK_PRIZE_TABLE);
  ASSERT_TRUE(t->PrizePool().IsOpen());
  EXPECT_EQ(t->PrizePool().GetRowCount(), 0);

  TourneyBytes rows;
  rows.U32(77).U32(3).U8(TOURNEY_PART_PRIZE_TABLE).U32(3).Text("1st  $400").Text("2nd  $250").Text("3rd  $150");
  ASSERT_EQ(Feed(PACKETTYPE_TOURNEYDETAILS, rows.bytes), 0);
  EXPECT_EQ(t->PrizePool().GetRowCount(), 3);
  SavePicture(t->PrizePool().GetHwnd(), "tourney_prize_table");

  // A second click while open asks nothing and makes no second window.
  const size_t windows = platform::headless::ListWindows().size();
  Click(t->GetHwnd(), 300, 148);
  EXPECT_TRUE(net_.Take(PACKETTYPE_TOURNEYDETAILSREQUEST).empty());
  EXPECT_EQ(platform::headless::ListWindows().size(), windows);

  // Closed, the window keeps its rows; new rows wait in the tournament window until it opens.
  platform::DestroyWindow(t->PrizePool().GetHwnd());
  EXPECT_FALSE(t->PrizePool().IsOpen());
  TourneyBytes more;
  more.U32(77).U32(3).U8(TOURNEY_PART_PRIZE_TABLE).U32(2).Text("1st  $500").Text("2nd  $300");
  ASSERT_EQ(Feed(PACKETTYPE_TOURNEYDETAILS, more.bytes), 0);
  EXPECT_EQ(t->PrizePool().GetRowCount(), 3);
  EXPECT_EQ(t->Details().pending_prize_rows.size(), 2u);
  Click(t->GetHwnd(), 300, 148);
  EXPECT_TRUE(net_.Take(PACKETTYPE_TOURNEYDETAILSREQUEST).empty());
  ASSERT_TRUE(t->PrizePool().IsOpen());
  EXPECT_EQ(t->PrizePool().GetRowCount(), 2);
}

TEST_F(TourneyWindowTest, registration_offers_the_pay_options_and_sends_the_choice) {
  net_.user = "alice";
  TourneyClass* t = Open(77);
  ASSERT_NE(t, nullptr);
  ASSERT_EQ(Feed(PACKETTYPE_TOURNEYDETAILS, FullCopy(77, TOURNEY_STATE_REGISTERING, 3, 0x01)), 0);
  t->Tick(0.04f);
  ASSERT_TRUE(t->IsButtonShown(TOURNEY_BUTTON_REGISTER));
  net_.sent.clear();
  Click(t->GetHwnd(), 442 + 20, 473 + 10);
  const std::vector<Packet> cost = net_.Take(PACKETTYPE_TOURNEYCOSTREQUEST);
  ASSERT_EQ(cost.size(), 1u);
  EXPECT_EQ(cost[0].bytes, U32Bytes(77));

  TourneyBytes options;
  options.U32(77).U8(3);
  options.U8(0).U8(3).U8(1).Text("$10 + $1").Text("You have $250.00");
  options.U8(1).U8(1).U8(1).Text("Ticket").Text("You have 2 tickets");
  options.U8(2).U8(10).U8(0).Text("500 points").Text("You have 120 points");
  ASSERT_EQ(Feed(PACKETTYPE_TOURNEYCOSTRESULT, options.bytes), 0);
  const HWND dialog = t->GetRegistrationDialog();
  ASSERT_NE(dialog, nullptr);
  char text[96];
  platform::GetDlgItemText(dialog, 1053, text, sizeof text);
  EXPECT_STREQ(text, "$10 + $1");
  platform::GetDlgItemText(dialog, 1059, text, sizeof text);
  EXPECT_STREQ(text, "You have 2 tickets");
  EXPECT_TRUE(platform::IsWindowVisible(platform::GetDlgItem(dialog, 1062)));
  EXPECT_FALSE(platform::IsWindowEnabled(platform::GetDlgItem(dialog, 1062)));  // cannot pay this way
  EXPECT_FALSE(platform::IsWindowVisible(platform::GetDlgItem(dialog, 1066)));  // group D unused
  SavePicture(dialog, "tourney_registration");

  // OK before a choice does nothing; a choice enables OK and OK sends the pay code.
  auto command = [&](int id) {
    platform::SendMessage(dialog, platform::WM_COMMAND, platform::MAKEWPARAM(id, platform::BN_CLICKED),
                          reinterpret_cast<platform::LPARAM>(platform::GetDlgItem(dialog, id)));
  };
  command(1);
  EXPECT_TRUE(net_.sent.empty());
  EXPECT_EQ(t->GetRegistrationDialog(), dialog);
  command(1058);
  EXPECT_TRUE(platform::IsWindowEnabled(platform::GetDlgItem(dialog, 1)));
  EXPECT_EQ(platform::IsDlgButtonChecked(dialog, 1058), platform::BST_CHECKED);
  command(1);
  const std::vector<Packet> join = net_.Take(PACKETTYPE_JOINTOURNEYREQUEST);
  ASSERT_EQ(join.size(), 1u);
  EXPECT_EQ(join[0].bytes, (std::vector<uint8_t>{0, 0, 0, 77, 1}));
  EXPECT_EQ(t->GetRegistrationDialog(), nullptr);

  // The result is shown in a box.
  std::vector<uint8_t> result = U32Bytes(77);
  result.push_back(1);
  ASSERT_EQ(Feed(PACKETTYPE_JOINTOURNEYRESULT, result), 0);
  ASSERT_FALSE(platform::headless::MessageBoxes().empty());
  EXPECT_EQ(platform::headless::MessageBoxes().back().text,
            "You have insufficent funds to register for this tournament.");
  EXPECT_EQ(platform::headless::MessageBoxes().back().caption, "Tournament");
}

TEST_F(TourneyWindowTest, a_pan_tournament_asks_first_and_cancel_sends_nothing) {
  net_.user = "alice";
  TourneyClass* t = Open(77);
  ASSERT_NE(t, nullptr);
  ASSERT_EQ(Feed(PACKETTYPE_TOURNEYDETAILS, FullCopy(77, TOURNEY_STATE_REGISTERING, 3, 0x01, false, "TPA")), 0);
  t->Tick(0.04f);
  net_.sent.clear();
  platform::headless::AnswerMessageBox(platform::IDCANCEL);
  Click(t->GetHwnd(), 442 + 20, 473 + 10);
  ASSERT_EQ(platform::headless::MessageBoxes().size(), 1u);
  EXPECT_EQ(platform::headless::MessageBoxes()[0].caption, "PAN Tournament Confirmation");
  EXPECT_TRUE(net_.Take(PACKETTYPE_TOURNEYCOSTREQUEST).empty());
  platform::headless::AnswerMessageBox(platform::IDOK);
  Click(t->GetHwnd(), 442 + 20, 473 + 10);
  EXPECT_EQ(net_.Take(PACKETTYPE_TOURNEYCOSTREQUEST).size(), 1u);

  // The tournament ends while the question is open: the window goes, and nothing is sent after.
  TourneyBytes gone;
  gone.U32(77).U32(0).U8(TOURNEY_PART_COMPLETE);
  platform::headless::AnswerMessageBox(platform::IDOK, [&] {
    EXPECT_EQ(Feed(PACKETTYPE_TOURNEYDETAILS, gone.bytes), 0);
    (void)platform::headless::RunUntilIdle();
  });
  Click(t->GetHwnd(), 442 + 20, 473 + 10);
  EXPECT_EQ(GlobalTourneyList().FindByTourneyId(77), nullptr);
  EXPECT_TRUE(net_.Take(PACKETTYPE_TOURNEYCOSTREQUEST).empty());
}

TEST_F(TourneyWindowTest, a_window_in_the_background_for_a_minute_reports_and_resumes_in_front) {
  TourneyClass* t = Open(77);
  ASSERT_NE(t, nullptr);
  ASSERT_EQ(Feed(PACKETTYPE_TOURNEYDETAILS, FullCopy(77, TOURNEY_STATE_RUNNING, 4, 0, true)), 0);
  const HWND other = platform::CreateWindow(platform::WC_STATIC, "other", platform::WS_POPUP | platform::WS_VISIBLE, 0, 0, 50, 50,
                                            nullptr, nullptr, nullptr, nullptr);
  platform::SetForegroundWindow(other);
  ASSERT_EQ(platform::GetForegroundWindow(), other);
  net_.sent.clear();
  for (int i = 0; i < 59; ++i) t->Tick(1.0f);
  EXPECT_TRUE(net_.Take(PACKETTYPE_TOURNEYSTATUSREQUEST).empty());
  t->Tick(1.0f);
  t->Tick(1.0f);
  const std::vector<Packet> status = net_.Take(PACKETTYPE_TOURNEYSTATUSREQUEST);
  ASSERT_EQ(status.size(), 1u);
  EXPECT_EQ(status[0].bytes, (std::vector<uint8_t>{0, 0, 0, 77, 1, 0}));
  for (int i = 0; i < 120; ++i) t->Tick(1.0f);
  EXPECT_TRUE(net_.Take(PACKETTYPE_TOURNEYSTATUSREQUEST).empty());  // reported once
  platform::SetForegroundWindow(t->GetHwnd());
  t->Tick(1.0f);
  const std::vector<Packet> resume = net_.Take(PACKETTYPE_TOURNEYDETAILSREQUEST);
  ASSERT_EQ(resume.size(), 1u);
  EXPECT_EQ(resume[0].bytes[4], TOURNEY_ASK_RESUME);
  // The countdowns ran: the level clock shows what is left of it.
  EXPECT_LT(t->Details().general.level_time_left.seconds - t->Details().general.level_time_left.clock, 300 - 170);
}

TEST_F(TourneyWindowTest, countdowns_run_on_the_timer_and_stop_at_their_end) {
  TourneyClass* t = Open(77);
  ASSERT_NE(t, nullptr);
  ASSERT_EQ(Feed(PACKETTYPE_TOURNEYDETAILS, FullCopy(77, TOURNEY_STATE_REGISTERING, 3, 0x01)), 0);
  // Before any details the countdowns stand still; the first copy restarts them.
  for (int i = 0; i < 1800; ++i) t->Tick(1.0f);  // 30 minutes
  const TourneyGeneral& g = t->Details().general;
  EXPECT_NEAR(g.start.clock, 1800.0, 0.01);
  EXPECT_EQ(g.start.seconds, 5400);
  EXPECT_EQ(g.next_break.seconds, 0);  // 1800 s: ended, and stays at 0
  EXPECT_EQ(g.level_time_left.seconds, 0);
  for (int i = 0; i < 3600; ++i) t->Tick(1.0f);
  EXPECT_EQ(g.start.seconds, 0);
  // Running, the start clock counts the time since the start and has no end.
  std::vector<uint8_t> running = FullCopy(77, TOURNEY_STATE_RUNNING, 3, 0);
  ASSERT_EQ(Feed(PACKETTYPE_TOURNEYDETAILS, running), 0);
  for (int i = 0; i < 6000; ++i) t->Tick(1.0f);
  EXPECT_EQ(t->Details().general.start.seconds, 5400);
  EXPECT_NEAR(t->Details().general.start.clock, 6000.0, 0.01);
}

}  // namespace
