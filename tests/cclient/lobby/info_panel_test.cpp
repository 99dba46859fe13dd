#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <iterator>
#include <string>
#include <vector>

#include "cclient/app/game_list_view.h"
#include "cclient/app/login.h"
#include "cclient/app/main_window.h"
#include "cclient/app/game_list.h"
#include "cclient/app/info_panel_state.h"
#include "platform/system/clock.h"
#include "tests/cclient/lobby/lobby_chrome_support.h"
#include "tests/server/lobby_list_builder.h"

namespace {

using Bytes = std::vector<uint8_t>;

void Put32(Bytes* bytes, uint32_t value) {
  for (int shift = 24; shift >= 0; shift -= 8) bytes->push_back(static_cast<uint8_t>(value >> shift));
}

void PutName(Bytes* bytes, const std::string& name, size_t size) {
  for (size_t i = 0; i < size; ++i) bytes->push_back(i < name.size() ? static_cast<uint8_t>(name[i]) : 0);
}

Bytes Detail(const std::vector<std::string>& players, uint32_t waiting,
             const std::vector<std::string>& waiting_names, size_t extra = 0,
             uint32_t table_id = 42) {
  Bytes bytes;
  Put32(&bytes, table_id);
  Put32(&bytes, static_cast<uint32_t>(players.size()));
  for (const std::string& name : players) PutName(&bytes, name, 32);
  Put32(&bytes, waiting);
  Put32(&bytes, static_cast<uint32_t>(waiting_names.size()));
  for (const std::string& name : waiting_names) PutName(&bytes, name, 11);
  Put32(&bytes, 7);
  bytes.resize(bytes.size() + extra, 0);
  return bytes;
}

TEST(InfoPanelTest, table_detail_texts) {
  struct Case {
    const char* name;
    Bytes packet;
    int want_result;
    std::string want_text;
    bool want_user_waits;
  };
  Bytes short_names = Detail({"ann", "bob"}, 0, {});
  short_names.resize(8 + 40);
  const std::string full_name(32, 'z');       // no NUL in its field
  const std::string full_waiting(11, 'w');
  const std::vector<Case> cases = {
      {"players and waiting", Detail({"ann", "bob"}, 3, {"carl", "DAVE"}), 0,
       "Table 5\n\nPlaying This Table: 2\n  ann\n  bob\nWaiting For This Table: 3\n  carl\n  DAVE\n",
       true},
      {"extra bytes are used", Detail({}, 0, {}, 4), 0,
       "Table 5\n\nPlaying This Table: 0\nWaiting For This Table: 0\n", false},
      {"names filling their fields", Detail({full_name}, 1, {full_waiting}), 0,
       "Table 5\n\nPlaying This Table: 1\n  " + full_name + "\nWaiting For This Table: 1\n  " +
           full_waiting + "\n",
       false},
      {"short player names", short_names, 1, "", false},
      {"player count past the end", [] { Bytes b; Put32(&b, 42); Put32(&b, 0xFFFFFFFF); return b; }(), 1, "",
       false},
      {"no trailing field", [] { Bytes b = Detail({}, 0, {}); b.resize(b.size() - 4); return b; }(), 1,
       "", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::string text;
    bool user_waits = false;
    EXPECT_EQ(InfoPanel_FormatTableDetail(c.packet.data(), static_cast<uint32_t>(c.packet.size()),
                                          "Table 5", "dave", &text, &user_waits),
              c.want_result);
    EXPECT_EQ(text, c.want_text);
    EXPECT_EQ(user_waits, c.want_user_waits);
  }
}

TEST(InfoPanelTest, a_thousand_players_stay_within_the_panel_text) {
  std::vector<std::string> players(1000, std::string(31, 'p'));
  const Bytes packet = Detail(players, 0, {});
  std::string text;
  bool user_waits = false;
  ASSERT_EQ(InfoPanel_FormatTableDetail(packet.data(), static_cast<uint32_t>(packet.size()), "T",
                                        "", &text, &user_waits),
            0);
  EXPECT_EQ(text.size(), InfoPanelState::kTextBytes - 1);
}

TEST(InfoPanelTest, balances_texts) {
  uint32_t balances[12] = {123456, 5, 250, 1999, 100, 200, 0, 150, 100, 1, 2, 3};
  EXPECT_EQ(InfoPanel_FormatBalances(balances, "ann", false),
            "ann\nYou're Currently Logged In.\nBalances:\n  Real Money: $1234.56\n  Promo Bucks: "
            "2.50\n  Play Money: $0.05\n  POP: 19.99\nTreasure:\n  1 Black Pearl \n  1 Gem Stone \n"
            "  0 Gold Bars\n  2 Silver Rings\n  1 Copper Coin \n");
  EXPECT_EQ(InfoPanel_FormatBalances(balances, "ann", true),
            "ann\nYou're Currently Logged In.\nBalances:\n  Promo Bucks: 2.50\n  Play Money: "
            "$0.05\nTreasure:\n  1 Black Pearl \n  1 Gem Stone \n  0 Gold Bars\n  2 Silver Rings\n"
            "  1 Copper Coin \n");
}

TEST(InfoPanelTest, details_text_and_short_packets) {
  InfoPanelState& state = InfoPanel_State();
  struct Case {
    Bytes packet;
    int want_result;
    std::string want_text;
  };
  auto details = [](const std::string& text) {
    Bytes b;
    Put32(&b, 0);
    b.insert(b.end(), text.begin(), text.end());
    b.push_back(0);
    return b;
  };
  const std::vector<Case> cases = {
      {details("Title\n\nline\n\nmore\n\nend"), 0, "Title\n\nline \nmore \nend"},
      {details(std::string(3000, 'x')), 0, std::string(InfoPanelState::kTextBytes - 1, 'x')},
      {Bytes{0, 0}, 1, ""},
  };
  for (const Case& c : cases) {
    state.text = "old";
    EXPECT_EQ(GameList_OnDetailsText(c.packet.data(), static_cast<uint32_t>(c.packet.size())),
              c.want_result);
    EXPECT_EQ(state.text, c.want_text);
  }
  // A short balances packet leaves the balances invalid.
  state.balances_valid = true;
  const Bytes short_balances(12 * 4 - 1, 0);
  EXPECT_EQ(GameList_OnUserBalances(short_balances.data(), 47), 1);
  EXPECT_FALSE(state.balances_valid);
  EXPECT_EQ(GameList_OnTableDetail(short_balances.data(), 3), 1);
}


using lobby_list::Cell;
using lobby_list::HoldemRow;
using lobby_list::Text;
using lobby_list::U32;
using lobby_list::U8;

// The Hold'em sub-lobby's rows; Bravo's type byte is 3.
std::vector<std::vector<Cell>> HoldemRows() {
  std::vector<std::vector<Cell>> rows = {
      HoldemRow(1, 101, 10, "Alpha", "$2/$4", true, 5, "$40", "30%", "60", "0"),
      HoldemRow(2, 102, 6, "Bravo", "$1/$2", true, 7, "$12", "25%", "55", "1"),
      HoldemRow(1, 103, 10, "Charlie", "N/L $1/$2", true, 3, "$30", "35%", "80", "0"),
  };
  rows[1][3] = U8(3);
  return rows;
}

std::vector<Cell> TourneyRow(uint32_t id, const char* enrolled, const char* name, const char* game,
                             const char* state, const char* number) {
  return {U8(0),       U32(id),         Text(enrolled), Text(name),  Text(game),
          Text("$5"),  Text("1000"),    Text(state),    Text(number)};
}

// The panel and the lobby's shown list view, as the lobby holds them.
class InfoPanelLobbyTest : public LobbyChromeTest {
 protected:
  void SetUp() override {
    LobbyChromeTest::SetUp();
    g_Main.~MainWindowState();
    new (&g_Main) MainWindowState();
    InfoPanel_State() = InfoPanelState();
    platform::UseFakeClock(true, 1000);
  }
  void TearDown() override {
    Login_SetUserLoggedOut();
    platform::UseFakeClock(false);
    g_Main.~MainWindowState();
    new (&g_Main) MainWindowState();
    InfoPanel_State() = InfoPanelState();
    LobbyChromeTest::TearDown();
  }
  // Shows sub-lobby `sub_lobby` holding `rows` (list code `code`), with the row `selected_id`
  // selected (-1 none).
  GameListView& Show(int32_t sub_lobby, const std::vector<uint8_t>& code,
                     const std::vector<std::vector<Cell>>& rows, int32_t list_code,
                     int32_t selected_id) {
    g_Main.shown_sub_lobby = sub_lobby;
    GameListView& view = GameListView_Get(sub_lobby);
    const std::vector<uint8_t> body = lobby_list::Body(code, rows);
    EXPECT_EQ(view.SetRows(body.data() + 4, static_cast<uint32_t>(body.size() - 4),
                           sub_lobby >= kFirstTourneySubLobby ? 1 : 0, list_code, 0, -1, sub_lobby),
              0);
    view.SelectRowById(selected_id);
    return view;
  }
  static void SignIn(const char* name) {
    std::vector<uint8_t> result(kLoginResultBytes, 0);
    result[4] = 7;
    std::memcpy(&result[5], name, std::strlen(name));
    ASSERT_EQ(Login_HandleLoginResult(result.data(), kLoginResultBytes), 0);
    ASSERT_TRUE(Login_IsLoggedIn());
  }
};

TEST_F(InfoPanelLobbyTest, a_tournament_row_shows_its_summary) {
  struct Case {
    const char* enrolled;
    const char* want_enrolled;
  };
  const Case cases[] = {{"12", "12"}, {"12 of 40", "12"}, {"123456789", "1234567"}, {"full", ""}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.enrolled);
    const GameListView& view =
        Show(8, lobby_list::Selector(100),
             {TourneyRow(501, c.enrolled, "Sunday Special", "Hold'em", "Registering", "8812"),
              TourneyRow(502, "3", "Pan Night", "Pan", "Running", "8813")},
             100, 501);
    const int32_t row = view.GetSelectedRow();
    ASSERT_GE(row, 0);
    GameList_UpdateSpecificTableDetails(row, 100);
    EXPECT_EQ(InfoPanel_State().wanted_table_id, 501);
    EXPECT_EQ(InfoPanel_State().text,
              std::string("\n\n\n\n   #8812\n   Sunday Special\n\n   Game:  Hold'em\n   State:   "
                          "Registering\n\n   Enrolled:  ") +
                  c.want_enrolled +
                  "\n\n   Click 'Go To Tournament'\n   button to see full details\n   in the "
                  "tournament lobby.");
  }
  // The row goes from the list: the next refresh empties the panel.
  Show(8, lobby_list::Selector(100), {TourneyRow(502, "3", "Pan Night", "Pan", "Running", "8813")},
       100, 501);
  GameList_RefreshDetails(100, 0);
  EXPECT_EQ(InfoPanel_State().text, "");
}

TEST_F(InfoPanelLobbyTest, a_table_detail_is_titled_with_the_selected_row_name) {
  const GameListView& view = Show(0, lobby_list::GameCode("HO"), HoldemRows(), 1, 102);
  GameList_UpdateSpecificTableDetails(view.GetSelectedRow(), 0);
  EXPECT_EQ(InfoPanel_State().wanted_table_id, 102);
  EXPECT_EQ(InfoPanel_State().text, "\n");
  const Bytes detail = Detail({"ann"}, 0, {}, 0, 102);
  EXPECT_EQ(GameList_OnTableDetail(detail.data(), static_cast<uint32_t>(detail.size())), 0);
  EXPECT_EQ(InfoPanel_State().text,
            "Bravo\n\nPlaying This Table: 1\n  ann\nWaiting For This Table: 0\n");
  // A detail of another table, marked new by the next selection, leaves the panel empty.
  Show(0, lobby_list::GameCode("HO"), HoldemRows(), 1, 101);
  GameList_UpdateSpecificTableDetails(GameListView_Get(0).GetSelectedRow(), 0);
  EXPECT_EQ(GameList_OnTableDetail(detail.data(), static_cast<uint32_t>(detail.size())), 0);
  EXPECT_EQ(InfoPanel_State().text, "");
}

TEST_F(InfoPanelLobbyTest, row_accessors_read_the_shown_list) {
  Show(0, lobby_list::GameCode("OM"), HoldemRows(), 7, -1);
  struct Case {
    int32_t row;
    int want_bad;
    uint32_t want_id;
    int32_t want_code;
    const char* want_name;
    int32_t want_type;
    int32_t want_seats;
  };
  // Sorted by name ascending: Alpha, Bravo, Charlie.
  const Case ring[] = {{0, 0, 101, 7, "Alpha", 0, 10},
                       {1, 0, 102, 7, "Bravo", 3, 6},
                       {3, 1, 0, 0, "", -1, -1},
                       {-1, 1, 0, 0, "", -1, -1}};
  for (const Case& c : ring) {
    SCOPED_TRACE(c.row);
    uint32_t id = 0;
    int32_t code = 0;
    int tournament = -1;
    const char* name = "";
    EXPECT_EQ(GameList_GetRowInfo(c.row, &id, &code, &tournament, &name), c.want_bad);
    EXPECT_EQ(GameList_GetRowTableId(c.row), c.want_bad != 0 ? -1 : static_cast<int32_t>(c.want_id));
    EXPECT_EQ(GameList_GetRowGameType(c.row), c.want_type);
    EXPECT_EQ(GameList_GetRowSeats(c.row), c.want_seats);
    if (c.want_bad != 0) continue;
    EXPECT_EQ(id, c.want_id);
    EXPECT_EQ(code, c.want_code);
    EXPECT_EQ(tournament, 0);
    EXPECT_STREQ(name, c.want_name);
  }
  Show(9, lobby_list::Selector(101), {TourneyRow(601, "4", "Late Turbo", "Hold'em", "Open", "7")},
       101, -1);
  uint32_t id = 0;
  int32_t code = 0;
  int tournament = 0;
  ASSERT_EQ(GameList_GetRowInfo(0, &id, &code, &tournament, nullptr), 0);
  EXPECT_EQ(id, 601u);
  EXPECT_EQ(code, 101);
  EXPECT_EQ(tournament, 1);
  EXPECT_EQ(GameList_GetRowGameType(0), 0);
  EXPECT_EQ(GameList_GetRowSeats(0), 0);
}

TEST_F(InfoPanelLobbyTest, balances_are_asked_for_every_30_seconds_while_signed_in) {
  InfoPanelState& state = InfoPanel_State();
  // Signed out: never.
  GameList_RefreshDetails(0, 1);
  EXPECT_EQ(state.balances_requests, 0u);
  SignIn("ann");
  EXPECT_EQ(state.text, "\n");  // signed in, no balances yet
  struct Step {
    uint32_t advance_ms;
    int force;
    uint32_t want_requests;
  };
  const Step steps[] = {
      {0, 0, 1},       // the first refresh asks at once
      {10000, 0, 1},   {19999, 0, 1}, {1, 0, 2},  // 30 s after the last request
      {0, 0, 2},       {0, 1, 3},                 // forced: at once, and the wait starts again
      {29999, 0, 3},   {1, 0, 4},
      {90000, 0, 5},   {0, 0, 5},                 // a long gap asks once, not once per 30 s
  };
  for (size_t i = 0; i < std::size(steps); ++i) {
    platform::AdvanceFakeClock(steps[i].advance_ms);
    GameList_RefreshDetails(0, steps[i].force);
    EXPECT_EQ(state.balances_requests, steps[i].want_requests) << "step " << i;
  }
  // While a table is wanted, an unforced refresh asks for its details instead.
  const GameListView& view = Show(0, lobby_list::GameCode("HO"), HoldemRows(), 1, 101);
  GameList_UpdateSpecificTableDetails(view.GetSelectedRow(), 0);
  platform::AdvanceFakeClock(60000);
  GameList_RefreshDetails(0, 0);
  EXPECT_EQ(state.balances_requests, 5u);
  // The answer builds the signed-in text and forgets the wanted table.
  Bytes balances;
  for (uint32_t value : {12345u, 0u, 250u, 0u, 0u, 0u, 0u, 0u, 100u, 0u, 0u, 0u}) {
    Put32(&balances, value);
  }
  EXPECT_EQ(GameList_OnUserBalances(balances.data(), static_cast<uint32_t>(balances.size())), 0);
  EXPECT_EQ(state.wanted_table_id, -1);
  EXPECT_EQ(state.text.rfind("ann\nYou're Currently Logged In.\nBalances:\n  Real Money: $123.45\n", 0),
            0u)
      << state.text;
}

TEST_F(InfoPanelLobbyTest, the_sign_up_button_stands_over_an_empty_panel_and_leaves_before_text) {
  WriteArt();
  LobbyCanvas canvas;
  const platform::HBITMAP picture = platform::CreateCompatibleBitmap(canvas.background.dc, 1, 1);
  g_Main.back_dc = canvas.back.dc;
  g_Main.background_dc = canvas.background.dc;
  g_Main.lobby_picture = picture;  // the lobby has its picture: buttons erase to the background
  g_Main.state = MAIN_STATE_LOBBY;
  ASSERT_EQ(g_Main.lobby_buttons.Add(LOBBY_BUTTON_SIGN_UP, 653, 213, 133, 43, "msignupb.b",
                                     "msignupo.b", "msignupd.b", nullptr),
            nullptr);
  g_Main.lobby_buttons.Draw(canvas.back.dc, canvas.background.dc, true, nullptr);
  const platform::COLORREF background = canvas.background.At(719, 234);
  const platform::COLORREF button = canvas.back.At(719, 234);
  ASSERT_NE(button, background);

  // Nobody signed in: the panel is cleared and the button drawn again over it.
  InfoPanel_State().text.clear();
  GameList_DrawInfoPanel(nullptr, canvas.back.dc, canvas.background.dc);
  EXPECT_TRUE(g_Main.lobby_buttons.IsButtonShown(LOBBY_BUTTON_SIGN_UP));
  EXPECT_EQ(canvas.back.At(719, 234), button);

  // A text: the button goes, and a later button redraw leaves the text where it stood.
  InfoPanel_State().text = "alice";
  for (int line = 0; line < 20; ++line) InfoPanel_State().text += "\nWWWWWWWWWWWWWWW";
  GameList_DrawInfoPanel(nullptr, canvas.back.dc, canvas.background.dc);
  EXPECT_FALSE(g_Main.lobby_buttons.IsButtonShown(LOBBY_BUTTON_SIGN_UP));
  auto button_area = [&canvas] {
    std::vector<platform::COLORREF> pixels;
    for (int32_t y = 213; y < 256; ++y) {
      for (int32_t x = 653; x < 786; ++x) pixels.push_back(canvas.back.At(x, y));
    }
    return pixels;
  };
  const std::vector<platform::COLORREF> drawn = button_area();
  Main_RedrawLobbyButtons();
  const std::vector<platform::COLORREF> after = button_area();
  EXPECT_TRUE(after == drawn);
  EXPECT_NE(std::count(after.begin(), after.end(), platform::RGB(255, 255, 255)), 0);

  g_Main.lobby_buttons.Clear();
  g_Main.lobby_picture = nullptr;
  platform::DeleteObject(picture);
}

}  // namespace
