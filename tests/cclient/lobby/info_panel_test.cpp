#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "cclient/lobby/game_list.h"
#include "cclient/lobby/info_panel_state.h"

namespace {

using Bytes = std::vector<uint8_t>;

void Put32(Bytes* bytes, uint32_t value) {
  for (int shift = 24; shift >= 0; shift -= 8) bytes->push_back(static_cast<uint8_t>(value >> shift));
}

void PutName(Bytes* bytes, const std::string& name, size_t size) {
  for (size_t i = 0; i < size; ++i) bytes->push_back(i < name.size() ? static_cast<uint8_t>(name[i]) : 0);
}

Bytes Detail(const std::vector<std::string>& players, uint32_t waiting,
             const std::vector<std::string>& waiting_names, size_t extra = 0) {
  Bytes bytes;
  Put32(&bytes, 42);
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

}  // namespace
