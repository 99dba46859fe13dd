#include "platform/controls/list_navigation.h"

#include <gtest/gtest.h>

#include <optional>

#include "platform/window/virtual_keys.h"

namespace {

using platform::controls::RowAfterKey;

// Ten rows, five shown: a page key moves four rows.
TEST(ListNavigation, keys_move_within_the_rows) {
  struct Case {
    const char* name;
    int key;
    int current;
    std::optional<int> row;
  } const cases[] = {
      {"down", platform::VK_DOWN, 3, 4},
      {"up", platform::VK_UP, 3, 2},
      {"down_from_none_is_the_first_row", platform::VK_DOWN, -1, 0},
      {"up_from_none_is_the_first_row", platform::VK_UP, -1, 0},
      {"up_stops_at_the_first_row", platform::VK_UP, 0, 0},
      {"down_stops_at_the_last_row", platform::VK_DOWN, 9, 9},
      {"page_down", platform::VK_NEXT, 2, 6},
      {"page_down_stops_at_the_last_row", platform::VK_NEXT, 8, 9},
      {"page_up", platform::VK_PRIOR, 7, 3},
      {"page_up_from_none", platform::VK_PRIOR, -1, 0},
      {"home", platform::VK_HOME, 6, 0},
      {"end", platform::VK_END, 2, 9},
      {"other_keys_do_nothing", platform::VK_RETURN, 2, std::nullopt},
  };
  for (const Case& c : cases) EXPECT_EQ(RowAfterKey(c.key, c.current, 5, 10), c.row) << c.name;
}

TEST(ListNavigation, a_page_of_one_row_still_moves_one_row) {
  EXPECT_EQ(RowAfterKey(platform::VK_NEXT, 2, 1, 10), 3);
  EXPECT_EQ(RowAfterKey(platform::VK_PRIOR, 2, 1, 10), 1);
}

TEST(ListNavigation, an_empty_list_has_nowhere_to_go) {
  EXPECT_EQ(RowAfterKey(platform::VK_DOWN, -1, 5, 0), std::nullopt);
  EXPECT_EQ(RowAfterKey(platform::VK_END, -1, 5, 0), std::nullopt);
}

// Rows 4 to 8 are shown (top 4, page 5).
TEST(ListNavigation, top_moves_just_enough_to_show_the_row) {
  using platform::controls::TopShowing;
  EXPECT_EQ(TopShowing(6, 4, 5), 4);
  EXPECT_EQ(TopShowing(2, 4, 5), 2);
  EXPECT_EQ(TopShowing(9, 4, 5), 5);
  EXPECT_EQ(TopShowing(-1, 4, 5), 4);
}

TEST(ListNavigation, top_keeps_the_last_page_full) {
  using platform::controls::ClampTop;
  EXPECT_EQ(ClampTop(7, 10, 5), 5);
  EXPECT_EQ(ClampTop(-2, 10, 5), 0);
  EXPECT_EQ(ClampTop(3, 4, 5), 0);  // fewer rows than a page
}

TEST(ListNavigation, a_row_follows_its_item_through_inserts_and_removals) {
  using platform::controls::FollowInsert;
  using platform::controls::FollowRemove;
  struct Case {
    const char* name;
    bool insert;
    int changed;
    int row;
    int expected;
  } const cases[] = {
      {"insert_before", true, 1, 3, 4},
      {"insert_at", true, 3, 3, 4},
      {"insert_after", true, 5, 3, 3},
      {"failed_insert", true, -1, 3, 3},
      {"insert_with_no_row", true, 0, -1, -1},
      {"remove_before", false, 1, 3, 2},
      {"remove_the_row", false, 3, 3, -1},
      {"remove_after", false, 5, 3, 3},
      {"remove_with_no_row", false, 0, -1, -1},
  };
  for (const Case& c : cases) {
    int row = c.row;
    if (c.insert) {
      FollowInsert(&row, c.changed);
    } else {
      FollowRemove(&row, c.changed);
    }
    EXPECT_EQ(row, c.expected) << c.name;
  }
}

}  // namespace
