#include "cclient/lobby/nav_tree.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "cclient/base/options.h"
#include "cclient/base/startup_file.h"
#include "platform/system/registry.h"
#include "tests/cclient/lobby/lobby_chrome_support.h"

namespace {

using Flags = std::vector<uint8_t>;

Flags RowsSet(std::initializer_list<int32_t> rows) {
  Flags flags(NavTree::kRows, 0);
  for (int32_t row : rows) flags[static_cast<size_t>(row)] = 1;
  return flags;
}

void Store(const char* name, const Flags& bytes) {
  platform::HKEY key;
  ASSERT_EQ(platform::RegCreateKeyEx(platform::HKEY_CURRENT_USER, kDefaultOptionsKey, 0, nullptr, 0,
                                     platform::KEY_ALL_ACCESS, nullptr, &key, nullptr),
            platform::ERROR_SUCCESS);
  ASSERT_EQ(platform::RegSetValueEx(key, name, 0, platform::REG_BINARY, bytes.data(),
                                    static_cast<uint32_t>(bytes.size())),
            platform::ERROR_SUCCESS);
  platform::RegCloseKey(key);
}

Flags Stored(const char* name) {
  Flags bytes(64, 0);
  uint32_t size = static_cast<uint32_t>(bytes.size());
  uint32_t type = 0;
  EXPECT_EQ(Registry_ReadValue(platform::HKEY_CURRENT_USER, kDefaultOptionsKey, name,
                               platform::REG_BINARY, bytes.data(), &size),
            1)
      << name;
  bytes.resize(size);
  (void)type;
  return bytes;
}

Flags ExpandedOf(const NavTree& tree) {
  Flags flags;
  for (int32_t row = 0; row < NavTree::kRows; ++row) flags.push_back(tree.IsExpanded(row) ? 1 : 0);
  return flags;
}

Flags LockedOf(const NavTree& tree) {
  Flags flags;
  for (int32_t row = 0; row < NavTree::kRows; ++row) flags.push_back(tree.IsLockedDown(row) ? 1 : 0);
  return flags;
}

// A point inside the row's button.
void Click(NavTree* tree, int32_t row, int* result) {
  platform::RECT rect{};
  ASSERT_TRUE(tree->GetButtonRect(row, &rect));
  (void)tree->OnMouseDown(rect.left + 3, rect.top + 2);
  *result = tree->OnMouseUp(rect.left + 3, rect.top + 2);
}

class NavTreeTest : public LobbyChromeTest {
 protected:
  std::unique_ptr<NavTree> MakeTree() {
    auto tree = std::make_unique<NavTree>();
    tree->Create(canvas_.back.dc, main_window());
    return tree;
  }
  LobbyCanvas canvas_;
};

TEST_F(NavTreeTest, separators_fill_the_panel_below_an_open_group) {
  NavTree tree;
  // Hold'em: its root, three groups and six leaves stand with it.
  EXPECT_EQ(tree.RowHeight(8), 289 - (29 + 3 * 28 + 6 * 20));
  EXPECT_EQ(tree.RowHeight(15), 289 - (29 + 3 * 28 + 5 * 20));
  EXPECT_EQ(tree.RowHeight(38), 289 - (29 + 4 * 28 + 5 * 20));
  EXPECT_EQ(tree.RowHeight(48), 289 - (29 + 4 * 28 + 1 * 20));
  // The play-money root is pushed to the panel's bottom edge and not shown.
  auto made = MakeTree();
  EXPECT_EQ(made->RowTop(23), NavTree::kPanelBottom);
  EXPECT_FALSE(made->IsButtonShown(23));
  EXPECT_TRUE(made->IsButtonShown(16));
  EXPECT_FALSE(made->IsButtonShown(10));
}

TEST_F(NavTreeTest, stored_state_or_defaults_by_edition) {
  const Flags default_expanded = RowsSet({0, 1, 24});
  const Flags default_locked = RowsSet({0, 1, 2, 10, 17, 24, 25, 33, 40, 47});
  // A sound stored state: More poker open with Guts chosen.
  const Flags good_expanded = RowsSet({0, 9, 24});
  const Flags good_locked = RowsSet({0, 9, 3, 12, 17, 24, 25, 33, 40, 47});
  Flags short_expanded = good_expanded;
  short_expanded.pop_back();
  struct Case {
    const char* name;
    uint8_t play_money;
    bool store;
    Flags expanded, locked;
    int32_t want_selected;
    Flags want_expanded, want_locked;
  };
  const std::vector<Case> cases = {
      {"first start", 0, false, {}, {}, 2, default_expanded, default_locked},
      {"first start, play money", 1, false, {}, {}, 25, RowsSet({1, 23, 24}),
       RowsSet({0, 1, 2, 10, 17, 23, 24, 25, 33, 40, 47})},
      {"stored", 0, true, good_expanded, good_locked, 12, good_expanded, good_locked},
      {"48 bytes", 0, true, short_expanded, good_locked, 2, default_expanded, default_locked},
      {"leaf expanded", 0, true, RowsSet({0, 9, 12, 24}), good_locked, 2, default_expanded,
       default_locked},
      {"run without lock", 0, true, good_expanded, RowsSet({0, 9, 3, 17, 24, 25, 33, 40, 47}), 2,
       default_expanded, default_locked},
      {"run with two locks", 0, true, good_expanded,
       RowsSet({0, 9, 3, 11, 12, 17, 24, 25, 33, 40, 47}), 2, default_expanded, default_locked},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    PlayMoneyEdition = c.play_money;
    if (c.store) {
      Store("NavExpand", c.expanded);
      Store("NavLockDown", c.locked);
    }
    auto tree = MakeTree();
    EXPECT_EQ(tree->GetSelectedEntry(), c.want_selected);
    EXPECT_EQ(ExpandedOf(*tree), c.want_expanded);
    EXPECT_EQ(LockedOf(*tree), c.want_locked);
    platform::HKEY key;
    ASSERT_EQ(platform::RegOpenKeyEx(platform::HKEY_CURRENT_USER, kDefaultOptionsKey, 0,
                                     platform::KEY_ALL_ACCESS, &key),
              platform::ERROR_SUCCESS);
    (void)platform::RegDeleteValue(key, "NavExpand");
    (void)platform::RegDeleteValue(key, "NavLockDown");
    platform::RegCloseKey(key);
  }
}

TEST_F(NavTreeTest, the_editions_keep_their_own_values_and_a_save_comes_back) {
  PlayMoneyEdition = 1;
  {
    auto tree = MakeTree();
    int result = 0;
    Click(tree.get(), 26, &result);  // play-money Hold'em, no limit
    EXPECT_EQ(result, 26);
    tree->SaveState();
  }
  EXPECT_EQ(Stored("NavLockDownp").size(), 49u);
  EXPECT_EQ(Stored("NavExpandp"), RowsSet({1, 23, 24}));
  auto again = MakeTree();
  EXPECT_EQ(again->GetSelectedEntry(), 26);
  PlayMoneyEdition = 0;
  auto real = MakeTree();
  EXPECT_EQ(real->GetSelectedEntry(), 2);
}

TEST_F(NavTreeTest, mouse_up_cases) {
  struct Case {
    const char* name;
    int32_t row;  // clicked
    int want_result;
    std::vector<int32_t> want_switches;
    int32_t want_selected;
  };
  const std::vector<Case> cases = {
      {"separator", 8, -1, {}, 2},
      {"the locked leaf", 2, 2, {}, 2},
      {"another leaf", 4, 4, {4}, 4},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    auto tree = MakeTree();
    (void)TakeSwitches();
    int result = 0;
    Click(tree.get(), c.row, &result);
    EXPECT_EQ(result, c.want_result);
    EXPECT_EQ(TakeSwitches(), c.want_switches);
    EXPECT_EQ(tree->GetSelectedEntry(), c.want_selected);
    int32_t locked_in_run = 0;
    for (int32_t row = 2; row <= 7; ++row) locked_in_run += tree->IsLockedDown(row) ? 1 : 0;
    EXPECT_EQ(locked_in_run, 1);
  }
}

TEST_F(NavTreeTest, a_leaf_in_a_run_with_no_lock_is_locked_and_reported) {
  Flags locked = RowsSet({0, 1, 10, 17, 24, 25, 33, 40, 47});
  Store("NavExpand", RowsSet({0, 1, 24}));
  Store("NavLockDown", locked);  // refused: the Hold'em run has no locked leaf
  auto tree = MakeTree();
  EXPECT_EQ(tree->GetSelectedEntry(), 2);
  // The same situation reached at run time: release the lock by hand, then click a leaf.
  tree->Unlatch(2);
  int result = 0;
  Click(tree.get(), 3, &result);
  EXPECT_EQ(result, 3);
  EXPECT_EQ(TakeSwitches(), (std::vector<int32_t>{3}));
  EXPECT_TRUE(tree->IsLockedDown(3));
  EXPECT_FALSE(tree->IsLockedDown(2));
}

TEST_F(NavTreeTest, expanding_a_group_slides_for_300_ms_and_collapses_its_sibling) {
  auto tree = MakeTree();
  (void)TakeSwitches();
  const int32_t more_poker_top = tree->RowTop(9);
  int result = 0;
  Click(tree.get(), 9, &result);
  EXPECT_EQ(result, -2);
  EXPECT_TRUE(tree->IsSliding());
  // A group click while sliding waits for the end of the slide.
  Click(tree.get(), 16, &result);
  EXPECT_EQ(result, -2);
  EXPECT_TRUE(tree->Animate(1000));
  EXPECT_EQ(tree->RowTop(9), more_poker_top);
  EXPECT_TRUE(tree->Animate(1150));
  const int32_t halfway = tree->RowTop(9);
  EXPECT_LT(halfway, more_poker_top);
  EXPECT_GT(halfway, 114 + 29 + 28);
  EXPECT_TRUE(tree->Animate(1300));
  EXPECT_TRUE(tree->IsSliding());
  EXPECT_TRUE(TakeSwitches().empty());
  EXPECT_TRUE(tree->Animate(1301));
  // The first slide ended (Hold'em shut, More poker open), and the kept click on Pan started the
  // next one.
  EXPECT_FALSE(tree->IsExpanded(1));
  EXPECT_TRUE(tree->IsExpanded(9));
  EXPECT_EQ(tree->RowTop(9), 114 + 29 + 28);
  EXPECT_EQ(TakeSwitches(), (std::vector<int32_t>{10}));
  EXPECT_TRUE(tree->IsSliding());
  EXPECT_TRUE(tree->Animate(2000));
  EXPECT_TRUE(tree->Animate(2301));
  EXPECT_FALSE(tree->IsSliding());
  EXPECT_FALSE(tree->Animate(2400));
  EXPECT_TRUE(tree->IsExpanded(16));
  EXPECT_FALSE(tree->IsExpanded(9));
  EXPECT_EQ(tree->GetSelectedEntry(), 17);
  EXPECT_EQ(TakeSwitches(), (std::vector<int32_t>{17}));
  tree->DrawPanel(canvas_.window.dc, canvas_.back.dc, canvas_.background.dc);

  // Collapsing the open group leaves nothing selected.
  Click(tree.get(), 16, &result);
  EXPECT_TRUE(tree->Animate(3000));
  EXPECT_TRUE(tree->Animate(3301));
  EXPECT_FALSE(tree->IsExpanded(16));
  EXPECT_EQ(tree->GetSelectedEntry(), -1);
  EXPECT_EQ(TakeSwitches(), (std::vector<int32_t>{-1}));
}

TEST_F(NavTreeTest, panel_picture_shows_the_rows_and_nothing_below_its_bottom) {
  WriteArt();
  canvas_.back.Fill(0x0000FF);
  auto tree = MakeTree();
  tree->DrawPanel(canvas_.window.dc, canvas_.back.dc, canvas_.background.dc);
  SaveForPerson(canvas_.window.dc, "nav_tree_panel");
  // Rows were drawn over the background, and the panel's bottom edge is the last row drawn.
  EXPECT_NE(canvas_.window.At(100, 120), 0x505050u);
  EXPECT_EQ(canvas_.window.At(100, 404), 0x000000u);
  // Halfway through a slide the moving rows are cut at the panel's bottom.
  int result = 0;
  Click(tree.get(), 9, &result);
  (void)tree->Animate(0);
  (void)tree->Animate(150);
  tree->DrawPanel(canvas_.window.dc, canvas_.back.dc, canvas_.background.dc);
  SaveForPerson(canvas_.window.dc, "nav_tree_sliding");
  EXPECT_EQ(canvas_.window.At(100, 404), 0x000000u);
  EXPECT_EQ(canvas_.back.At(100, 404), 0x0000FFu);
}

}  // namespace
