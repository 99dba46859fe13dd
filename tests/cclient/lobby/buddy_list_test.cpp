#include "cclient/lobby/buddy_list.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "platform/controls/common_controls.h"
#include "platform/controls/control_messages.h"
#include "platform/controls/dialog.h"
#include "platform/window/headless.h"
#include "platform/window/activation.h"
#include "platform/window/message_queue.h"
#include "platform/window/window.h"
#include "tests/cclient/lobby/lobby_test_support.h"

namespace {

struct Buddy {
  uint32_t id;
  int32_t table;
  const char* code;
  std::string name;
  uint8_t server;
  uint32_t flags;
};

Bytes BuddyListPayload(const std::vector<Buddy>& buddies) {
  Bytes bytes;
  bytes.U32(static_cast<uint32_t>(buddies.size()));
  for (const Buddy& b : buddies) {
    char code[4] = {};
    std::memcpy(code, b.code, std::strlen(b.code) < 4 ? std::strlen(b.code) : 4);
    bytes.U32(b.id).U32(static_cast<uint32_t>(b.table)).Raw(code, 4).Text(b.name).U8(b.server).U32(b.flags);
  }
  return bytes;
}

const std::vector<Buddy> kTwo = {{11, 501, "HO", "alice", 3, 0}, {22, 502, "OM", "bob", 4, 4}};

class BuddyListTest : public ::testing::Test {
 protected:
  void SetUp() override {
    platform::headless::Reset();
    platform::InitCommonControls();
    BuddyList_Close();
    const Bytes empty = BuddyListPayload({});
    ASSERT_EQ(BuddyList_OnBuddyList(empty.data(), empty.size()), 0);
  }
  void TearDown() override {
    BuddyList_Close();
    platform::headless::Reset();
  }
  platform::HWND OpenWith(const std::vector<Buddy>& buddies) {
    BuddyList_Open(nullptr, nullptr);
    const Bytes list = BuddyListPayload(buddies);
    EXPECT_EQ(BuddyList_OnBuddyList(list.data(), list.size()), 0);
    return BuddyList_GetDialog();
  }
  static void Command(int id, int code = 0) {
    platform::SendMessage(BuddyList_GetDialog(), platform::WM_COMMAND,
                          platform::MAKEWPARAM(id, code),
                          reinterpret_cast<platform::LPARAM>(platform::GetDlgItem(BuddyList_GetDialog(), id)));
    platform::headless::RunUntilIdle();
  }
  static void Choose(int row) {
    platform::SendDlgItemMessage(BuddyList_GetDialog(), kBuddyListBox, platform::LB_SETCURSEL, row, 0);
    Command(kBuddyListBox, platform::LBN_SELCHANGE);
  }
  static void Type(const char* text) {
    platform::SetDlgItemText(BuddyList_GetDialog(), kBuddyNameEdit, text);
    Command(kBuddyNameEdit, platform::EN_CHANGE);
  }
  static std::vector<std::string> Rows() {
    std::vector<std::string> rows;
    const auto n = platform::SendDlgItemMessage(BuddyList_GetDialog(), kBuddyListBox, platform::LB_GETCOUNT, 0, 0);
    for (int i = 0; i < n; ++i) {
      char text[130] = {};
      platform::SendDlgItemMessage(BuddyList_GetDialog(), kBuddyListBox, platform::LB_GETTEXT, i,
                                   reinterpret_cast<platform::LPARAM>(text));
      rows.emplace_back(text);
    }
    return rows;
  }
  static bool AddEnabled() {
    return platform::IsWindowEnabled(platform::GetDlgItem(BuddyList_GetDialog(), kBuddyAddButton));
  }
  static std::string LastBox() {
    const auto& boxes = platform::headless::MessageBoxes();
    return boxes.empty() ? "" : boxes.back().text;
  }

  RecordingLobby lobby_;
};

TEST_F(BuddyListTest, buddy_list_packet_results_and_the_countdown) {
  const Bytes two = BuddyListPayload(kTwo);
  Bytes spare = two;
  spare.U8(0);
  Bytes too_many;
  too_many.U32(1025);
  const std::vector<uint8_t> short_entry(two.get().begin(), two.get().end() - 2);
  struct Case {
    const char* name;
    std::vector<uint8_t> payload;
    int result;
    int32_t count;
  } const cases[] = {
      {"two buddies", two.get(), 0, 2},
      {"count field short", {0, 0, 1}, 1, 0},
      {"entry short", short_entry, 1, 0},
      {"count above 1024", too_many.get(), 2, 0},
      {"bytes left after the last entry", spare.get(), 3, 0},
  };
  for (const Case& c : cases) {
    BuddyList_Open(nullptr, nullptr);
    ASSERT_FLOAT_EQ(BuddyList_GetCountdown(), 1.0f) << c.name;
    EXPECT_EQ(BuddyList_OnBuddyList(c.payload.data(), static_cast<uint32_t>(c.payload.size())), c.result)
        << c.name;
    EXPECT_EQ(BuddyList_GetCount(), c.count) << c.name;
    EXPECT_FLOAT_EQ(BuddyList_GetCountdown(), c.result == 0 ? 10.0f : 1.0f) << c.name;
    BuddyList_Close();
  }
  // The entries of a good list, fourth code byte forced to NUL.
  Bytes odd_code;
  odd_code.U32(1).U32(7).U32(0xFFFFFFFF).Raw("P7X?", 4).Text("carol").U8(9).U32(4);
  ASSERT_EQ(BuddyList_OnBuddyList(odd_code.data(), odd_code.size()), 0);
  const BuddyEntry* entry = BuddyList_GetEntry(0);
  ASSERT_NE(entry, nullptr);
  EXPECT_EQ(entry->buddy_id, 7u);
  EXPECT_EQ(entry->table_id, -1);
  EXPECT_STREQ(entry->game_code, "P7X");
  EXPECT_STREQ(entry->user_name, "carol");
  EXPECT_EQ(entry->server_id, 9);
}

TEST_F(BuddyListTest, opening_needs_a_signed_in_user_and_the_list_is_asked_for_on_the_tick) {
  lobby_.logged_in = false;
  BuddyList_Open(nullptr, nullptr);
  EXPECT_EQ(BuddyList_GetDialog(), nullptr);
  EXPECT_EQ(LastBox(), "Please log in before accessing your buddy list.");

  lobby_.logged_in = true;
  BuddyList_Open(nullptr, nullptr);
  ASSERT_NE(BuddyList_GetDialog(), nullptr);
  BuddyList_Tick(0.5f);
  EXPECT_TRUE(lobby_.sent.empty());
  BuddyList_Tick(0.5f);
  ASSERT_EQ(lobby_.sent.size(), 1u);
  EXPECT_EQ(lobby_.sent[0], (LobbySent{1024, {}}));
  // Only a list renews the countdown.
  BuddyList_Tick(5.0f);
  EXPECT_EQ(lobby_.sent.size(), 1u);
  const Bytes list = BuddyListPayload(kTwo);
  ASSERT_EQ(BuddyList_OnBuddyList(list.data(), list.size()), 0);
  EXPECT_EQ(Rows(), (std::vector<std::string>{"alice", "bob"}));
  // Rows keep the packet's order, not the alphabet's.
  const Bytes unsorted = BuddyListPayload({{5, -1, "", "zed", 1, 0}, {6, -1, "", "amy", 1, 0}});
  ASSERT_EQ(BuddyList_OnBuddyList(unsorted.data(), unsorted.size()), 0);
  EXPECT_EQ(Rows(), (std::vector<std::string>{"zed", "amy"}));
  BuddyList_Tick(9.9f);
  EXPECT_EQ(lobby_.sent.size(), 1u);
  BuddyList_Tick(0.2f);
  EXPECT_EQ(lobby_.sent.size(), 2u);
  // A closed dialog asks nothing.
  BuddyList_Close();
  ASSERT_EQ(BuddyList_OnBuddyList(list.data(), list.size()), 0);
  BuddyList_Tick(20.0f);
  EXPECT_EQ(lobby_.sent.size(), 2u);
}

TEST_F(BuddyListTest, adding_trims_the_name_and_sends_each_new_name_once) {
  OpenWith({{11, 501, "HO", "Alice Smith", 3, 0}});
  const std::vector<uint8_t> bob = {'b', 'o', 'b', 0, 0, 0, 0, 0, 0, 0, 0};
  struct Step {
    const char* typed;
    std::vector<LobbySent> sent_after;
    const char* box;  // the box it shows, or nullptr
  } const steps[] = {
      {"  bob  ", {{1026, bob}}, nullptr},
      {"BOB", {{1026, bob}}, nullptr},                     // the pending add, case ignored
      {"alice", {{1026, bob}}, nullptr},                   // listed: the name ends at its blank
      {"   ", {{1026, bob}}, "Please enter a user name."},  // blanks only
      {"", {{1026, bob}}, "Please enter a user name."},
  };
  for (const Step& step : steps) {
    const size_t boxes = platform::headless::MessageBoxes().size();
    Type(step.typed);
    EXPECT_TRUE(AddEnabled()) << step.typed;
    Command(kBuddyAddButton);
    EXPECT_EQ(lobby_.sent, step.sent_after) << step.typed;
    EXPECT_FALSE(AddEnabled()) << step.typed;
    if (step.box != nullptr) {
      ASSERT_EQ(platform::headless::MessageBoxes().size(), boxes + 1) << step.typed;
      EXPECT_EQ(LastBox(), step.box);
      EXPECT_EQ(platform::headless::MessageBoxes().back().caption, "Buddy List");
    } else {
      EXPECT_EQ(platform::headless::MessageBoxes().size(), boxes) << step.typed;
    }
  }
  // The edit field keeps at most ten characters.
  Type("");
  platform::SetFocus(platform::GetDlgItem(BuddyList_GetDialog(), kBuddyNameEdit));
  platform::headless::TypeText("abcdefghijklm");
  platform::headless::RunUntilIdle();
  char typed[32] = {};
  platform::GetDlgItemText(BuddyList_GetDialog(), kBuddyNameEdit, typed, sizeof typed);
  EXPECT_STREQ(typed, "abcdefghij");
}

TEST_F(BuddyListTest, removing_a_buddy_keeps_every_later_row_on_its_own_buddy) {
  OpenWith(kTwo);
  Command(kBuddyRemoveButton);
  EXPECT_EQ(LastBox(), "Please select a buddy in your buddy list first.");
  EXPECT_TRUE(lobby_.sent.empty());

  Type("carol");
  Command(kBuddyAddButton);  // pending add "carol", cleared by the remove
  Choose(0);
  Command(kBuddyRemoveButton);
  ASSERT_EQ(lobby_.sent.size(), 2u) << LastBox();
  EXPECT_EQ(lobby_.sent[1], (LobbySent{1028, {0, 0, 0, 11}}));
  EXPECT_EQ(Rows(), (std::vector<std::string>{"bob"}));
  char typed[16] = {};
  platform::GetDlgItemText(BuddyList_GetDialog(), kBuddyNameEdit, typed, sizeof typed);
  EXPECT_STREQ(typed, "");
  Type("carol");
  Command(kBuddyAddButton);
  EXPECT_EQ(lobby_.sent.size(), 3u);

  Choose(0);
  Command(kBuddyGoToTableButton);
  ASSERT_EQ(lobby_.tables.size(), 1u);
  EXPECT_EQ(lobby_.tables[0], (TableOpened{502, 7, -1, 4, "server4.test", 9004, 1}));
  EXPECT_EQ(BuddyList_GetDialog(), nullptr);
}

TEST_F(BuddyListTest, going_to_a_table_needs_a_buddy_at_one) {
  OpenWith({{11, -1, "HO", "alice", 3, 0}, {22, 77, "HO", "bob", 1, 0}});
  Command(kBuddyGoToTableButton);
  EXPECT_EQ(LastBox(), "Please select a buddy in your buddy list first.");
  Choose(0);
  Command(kBuddyGoToTableButton);
  EXPECT_EQ(LastBox(), "The selected buddy is not currently at a table.");
  EXPECT_TRUE(lobby_.tables.empty());
  EXPECT_NE(BuddyList_GetDialog(), nullptr);
  // A click with the mouse acts once: the button's focus notices are no clicks.
  const size_t boxes = platform::headless::MessageBoxes().size();
  platform::headless::InjectClick(platform::GetDlgItem(BuddyList_GetDialog(), kBuddyGoToTableButton), 5, 5);
  platform::headless::RunUntilIdle();
  EXPECT_EQ(platform::headless::MessageBoxes().size(), boxes + 1);
  Command(kBuddyRemoveButton, platform::BN_SETFOCUS);
  Command(kBuddyCloseButton, platform::BN_KILLFOCUS);
  EXPECT_EQ(platform::headless::MessageBoxes().size(), boxes + 1);
  EXPECT_TRUE(lobby_.sent.empty());
  EXPECT_NE(BuddyList_GetDialog(), nullptr);
  // A double click goes as the button does.
  Choose(1);
  Command(kBuddyListBox, platform::LBN_DBLCLK);
  ASSERT_EQ(lobby_.tables.size(), 1u);
  EXPECT_EQ(lobby_.tables[0], (TableOpened{77, 1, -1, 1, "server1.test", 9001, 0}));
}

TEST_F(BuddyListTest, the_ten_second_refresh_keeps_the_chosen_buddy) {
  OpenWith({{11, -1, "HO", "alice", 3, 0}, {22, 77, "HO", "bob", 1, 0}});
  Choose(1);
  const auto cursel = [] {
    return platform::SendDlgItemMessage(BuddyList_GetDialog(), kBuddyListBox, platform::LB_GETCURSEL, 0, 0);
  };
  // The refreshed list puts a new buddy before bob: the choice moves with him.
  const Bytes again = BuddyListPayload({{33, -1, "", "carol", 1, 0}, {11, -1, "HO", "alice", 3, 0},
                                        {22, 77, "HO", "bob", 1, 0}});
  ASSERT_EQ(BuddyList_OnBuddyList(again.data(), again.size()), 0);
  EXPECT_EQ(cursel(), 2);
  Command(kBuddyGoToTableButton);
  ASSERT_EQ(lobby_.tables.size(), 1u);
  EXPECT_EQ(lobby_.tables[0].table_id, 77u);
  // A list without him leaves nothing chosen.
  OpenWith({{11, -1, "HO", "alice", 3, 0}, {22, 77, "HO", "bob", 1, 0}});
  Choose(1);
  const Bytes gone = BuddyListPayload({{11, -1, "HO", "alice", 3, 0}});
  ASSERT_EQ(BuddyList_OnBuddyList(gone.data(), gone.size()), 0);
  EXPECT_EQ(cursel(), -1);
  Command(kBuddyGoToTableButton);
  EXPECT_EQ(LastBox(), "Please select a buddy in your buddy list first.");
  EXPECT_EQ(lobby_.tables.size(), 1u);
}

TEST_F(BuddyListTest, result_packets_show_their_boxes) {
  struct Case {
    bool add;
    std::vector<uint8_t> payload;
    int result;
    const char* box;
  } const cases[] = {
      {true, {0}, 0, "The user has been successfully added to your buddy list."},
      {true, {1}, 0, "Unable to add user to your buddy list.\nUnknown user name."},
      {true, {2}, 0, "Unable to add user to your buddy list.\nUser already in your list."},
      {true, {9}, 0, "Unable to add user to your buddy list."},
      {true, {0, 0}, -1, nullptr},
      {false, {0}, 0, "The buddy has been successfully removed from your list."},
      {false, {3}, 0, "Unable to remove buddy from your list."},
      {false, {}, -1, nullptr},
  };
  for (const Case& c : cases) {
    const size_t boxes = platform::headless::MessageBoxes().size();
    const auto length = static_cast<uint32_t>(c.payload.size());
    EXPECT_EQ(c.add ? BuddyList_OnAddBuddyResult(c.payload.data(), length)
                    : BuddyList_OnRemoveBuddyResult(c.payload.data(), length),
              c.result);
    if (c.box == nullptr) {
      EXPECT_EQ(platform::headless::MessageBoxes().size(), boxes);
    } else {
      EXPECT_EQ(LastBox(), c.box);
    }
  }
}

}  // namespace
