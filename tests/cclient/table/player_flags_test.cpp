#include "cclient/base/player_flags.h"

#include <gtest/gtest.h>

#include <string>

#include "cclient/base/options.h"
#include "platform/system/registry.h"
#include "tests/cclient/table/table_fixture.h"

namespace {

using PlayerFlagsTest = TableHostTest;

bool BlockedValueExists(const char* name) {
  platform::HKEY key = nullptr;
  const std::string path = Registry_SiblingKeyPath("Blocked");
  if (platform::RegOpenKeyEx(platform::HKEY_CURRENT_USER, path.c_str(), 0, platform::KEY_READ, &key) !=
      platform::ERROR_SUCCESS) {
    return false;
  }
  const bool exists = platform::RegQueryValueEx(key, name, nullptr, nullptr, nullptr, nullptr) ==
                      platform::ERROR_SUCCESS;
  platform::RegCloseKey(key);
  return exists;
}

TEST_F(PlayerFlagsTest, names_are_kept_without_regard_to_case_up_to_31_characters) {
  PlayerFlagsSet("Alice", 1, -1);
  EXPECT_EQ(PlayerFlagsGet("ALICE"), kPlayerFlagNotes);
  PlayerFlagsSet("alice", -1, 1);
  EXPECT_EQ(PlayerFlagsGet("Alice"), kPlayerFlagNotes | kPlayerFlagBlocked);
  PlayerFlagsSet("alice", 0, -1);
  EXPECT_EQ(PlayerFlagsGet("alice"), kPlayerFlagBlocked);
  PlayerFlagsSet("Fresh", 0, 1);
  EXPECT_EQ(PlayerFlagsGet("fresh"), kPlayerFlagBlocked);

  const std::string longest(31, 'x');
  const std::string too_long(32, 'y');
  PlayerFlagsSet(longest.c_str(), 1, 1);
  PlayerFlagsSet(too_long.c_str(), 1, 1);
  EXPECT_EQ(PlayerFlagsGet(longest.c_str()), 3);
  EXPECT_EQ(PlayerFlagsGet(too_long.c_str()), 0);

  neighbours_.signed_in = "alice";
  EXPECT_EQ(PlayerFlagsGet("Alice"), 0);  // the user's own name always reads 0
}

TEST_F(PlayerFlagsTest, blocked_marks_survive_the_registry_and_notes_come_from_the_files) {
  PlayerFlagsSet("Mallory", -1, 1);
  PlayerFlagsSet("Trent", -1, 1);
  PlayerFlagsSet("Notes Only", 1, -1);
  PlayerFlagsSave();
  EXPECT_TRUE(BlockedValueExists("mallory"));
  EXPECT_FALSE(BlockedValueExists("notes only"));

  PlayerFlagsSet("Trent", -1, 0);
  PlayerFlagsSave();
  EXPECT_FALSE(BlockedValueExists("trent"));

  folder_.WriteFile("Dave_20Smith.not", "x");
  folder_.WriteFile("old_style.not", "x");
  PlayerFlagsClear();
  PlayerFlagsLoad();
  EXPECT_EQ(PlayerFlagsGet("mallory"), kPlayerFlagBlocked);
  EXPECT_EQ(PlayerFlagsGet("trent"), 0);
  EXPECT_EQ(PlayerFlagsGet("Dave Smith"), kPlayerFlagNotes);
  EXPECT_EQ(PlayerFlagsGet("old_style"), kPlayerFlagNotes);
}

}  // namespace
