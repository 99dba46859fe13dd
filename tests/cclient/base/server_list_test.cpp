#include "cclient/base/server_list.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "cclient/base/startup_file.h"
#include "platform/system/registry.h"
#include "tests/support/temp_program_folder.h"

namespace {

using platform::HKEY;

constexpr const char* kOptionsKey = "SOFTWARE\\Gaming\\Options";
constexpr const char* kInstall2 = "SOFTWARE\\Gaming\\Install2";

std::vector<uint8_t> Record(uint16_t port, uint8_t preferred, const std::string& host) {
  std::vector<uint8_t> record(kServerRecordBytes, 0);
  std::memcpy(record.data(), &port, 2);
  record[2] = preferred;
  std::memcpy(record.data() + 3, host.data(), std::min<size_t>(host.size(), kServerHostBytes));
  return record;
}

void Store(HKEY root, const char* name, uint32_t type, const std::vector<uint8_t>& bytes) {
  HKEY key;
  ASSERT_EQ(platform::RegCreateKeyEx(root, kInstall2, 0, nullptr, 0, platform::KEY_ALL_ACCESS,
                                     nullptr, &key, nullptr),
            platform::ERROR_SUCCESS);
  ASSERT_EQ(platform::RegSetValueEx(key, name, 0, type, bytes.data(),
                                    static_cast<uint32_t>(bytes.size())),
            platform::ERROR_SUCCESS);
  platform::RegCloseKey(key);
}

void StoreLatest(uint32_t index) {
  std::vector<uint8_t> bytes(4);
  std::memcpy(bytes.data(), &index, 4);
  Store(platform::HKEY_CURRENT_USER, "LatestConnectedServerID", platform::REG_DWORD, bytes);
}

// A stored value: -1 when missing.
std::vector<uint8_t> Stored(HKEY root, const char* name, uint32_t* type = nullptr) {
  HKEY key;
  if (platform::RegOpenKeyEx(root, kInstall2, 0, platform::KEY_READ, &key) !=
      platform::ERROR_SUCCESS) {
    return {};
  }
  std::vector<uint8_t> bytes(512);
  uint32_t size = static_cast<uint32_t>(bytes.size());
  uint32_t stored_type = 0;
  const int32_t result =
      platform::RegQueryValueEx(key, name, nullptr, &stored_type, bytes.data(), &size);
  platform::RegCloseKey(key);
  if (result != platform::ERROR_SUCCESS) return {};
  if (type != nullptr) *type = stored_type;
  bytes.resize(size);
  return bytes;
}

class ServerListTest : public ProgramFolderTest {
 protected:
  void SetUp() override { ::setenv("TVK_CONFIG_ROOT", folder_.Path().c_str(), 1); }
  void TearDown() override { ::unsetenv("TVK_CONFIG_ROOT"); }

  void Load(ServerList* list) {
    list->Load(kOptionsKey, defaults_[0].host, sizeof(StartupServer), &defaults_[0].port);
  }

  StartupServer defaults_[kDefaultServers] = {{"one.example", 8085},
                                              {"two.example", 8086},
                                              {"three.example", 8087},
                                              {"four.example", 8088}};
};

TEST_F(ServerListTest, only_well_formed_values_become_entries) {
  struct Case {
    const char* name;
    uint32_t type;
    std::vector<uint8_t> bytes;
    int taken_index;  // -1: ignored
  } const cases[] = {
      {"7", platform::REG_BINARY, Record(9001, 1, "seven.example"), 7},
      {"250", platform::REG_BINARY, Record(9002, 0, "last.example"), 250},
      {"0", platform::REG_BINARY, Record(9003, 0, "zero.example"), -1},
      {"255", platform::REG_BINARY, Record(9004, 0, "big.example"), -1},
      {"1000", platform::REG_BINARY, Record(9005, 0, "huge.example"), -1},
      {"8", platform::REG_BINARY, std::vector<uint8_t>(130, 'a'), -1},
      {"9", platform::REG_SZ, Record(9006, 0, "text.example"), -1},
  };
  for (const Case& c : cases) Store(platform::HKEY_CURRENT_USER, c.name, c.type, c.bytes);
  ServerList list;
  Load(&list);

  EXPECT_EQ(list.GetEntryCount(), 2u + kDefaultServers);
  EXPECT_STREQ(list.GetHost(7), "seven.example");
  EXPECT_EQ(list.GetPort(7), 9001);
  EXPECT_TRUE(list.IsPreferred(7));
  EXPECT_STREQ(list.GetHost(250), "last.example");
  for (uint32_t index : {0u, 8u, 9u}) EXPECT_STREQ(list.GetHost(index), "") << index;
  EXPECT_EQ(list.GetHost(255), nullptr);
  EXPECT_EQ(list.GetPort(255), 0xFFFF);
  for (uint32_t i = 0; i < kDefaultServers; ++i) {
    EXPECT_STREQ(list.GetHost(kFirstDefaultServer + i), defaults_[i].host);
    EXPECT_EQ(list.GetPort(kFirstDefaultServer + i), defaults_[i].port);
  }
}

TEST_F(ServerListTest, stored_host_without_terminator_is_cut_to_127_characters) {
  Store(platform::HKEY_CURRENT_USER, "3", platform::REG_BINARY,
        Record(9000, 0, std::string(kServerHostBytes, 'h')));
  ServerList list;
  Load(&list);
  EXPECT_EQ(std::string(list.GetHost(3)), std::string(kServerHostBytes - 1, 'h'));
}

TEST_F(ServerListTest, duplicates_leave_one_entry_favouring_the_preferred) {
  struct Case {
    const char* name;
    const char* first_host;
    uint8_t first_preferred;
    const char* second_host;
    uint8_t second_preferred;
    bool first_kept;
  } const cases[] = {
      {"later_preferred_wins", "dup.example", 0, "dup.example", 1, false},
      {"both_plain_keep_first", "dup.example", 0, "dup.example", 0, true},
      {"earlier_preferred_wins", "dup.example", 1, "dup.example", 0, true},
      {"letter_case_ignored", "Dup.Example", 0, "dup.EXAMPLE", 1, false},
  };
  for (const Case& c : cases) {
    TempProgramFolder folder;
    ::setenv("TVK_CONFIG_ROOT", folder.Path().c_str(), 1);
    Store(platform::HKEY_CURRENT_USER, "10", platform::REG_BINARY,
          Record(7000, c.first_preferred, c.first_host));
    Store(platform::HKEY_CURRENT_USER, "20", platform::REG_BINARY,
          Record(7000, c.second_preferred, c.second_host));
    ServerList list;
    Load(&list);
    EXPECT_EQ(list.GetEntryCount(), 1u + kDefaultServers) << c.name;
    EXPECT_EQ(list.GetHost(10)[0] != '\0', c.first_kept) << c.name;
    EXPECT_EQ(list.GetHost(20)[0] != '\0', !c.first_kept) << c.name;
  }
}

TEST_F(ServerListTest, machine_key_is_read_only_when_the_user_key_is_empty) {
  Store(platform::HKEY_LOCAL_MACHINE, "5", platform::REG_BINARY, Record(7005, 0, "machine"));
  {
    ServerList list;
    Load(&list);
    EXPECT_STREQ(list.GetHost(5), "machine");
  }
  Store(platform::HKEY_CURRENT_USER, "6", platform::REG_BINARY, Record(7006, 0, "user"));
  ServerList list;
  Load(&list);
  EXPECT_STREQ(list.GetHost(5), "");
  EXPECT_STREQ(list.GetHost(6), "user");
}

TEST_F(ServerListTest, latest_connected_is_taken_only_for_a_stored_server) {
  struct Case {
    const char* name;
    uint32_t stored;
    uint8_t expected;
  } const cases[] = {
      {"stored_entry", 12, 12},
      {"empty_entry", 13, kNoServer},
      {"zero", 0, kNoServer},
      {"out_of_range", 300, kNoServer},
  };
  Store(platform::HKEY_CURRENT_USER, "12", platform::REG_BINARY, Record(7012, 0, "twelve"));
  for (const Case& c : cases) {
    StoreLatest(c.stored);
    ServerList list;
    Load(&list);
    EXPECT_EQ(list.GetLatestConnected(), c.expected) << c.name;
  }
}

TEST_F(ServerListTest, save_writes_entries_removes_the_rest_and_reads_back) {
  Store(platform::HKEY_CURRENT_USER, "3", platform::REG_BINARY, Record(7003, 0, "three"));
  Store(platform::HKEY_CURRENT_USER, "4", platform::REG_BINARY, Record(7004, 0, "four"));
  ServerList list;
  Load(&list);
  list.SetEntry(4, "", 0, 0);
  list.SetEntry(200, "new.example", 9200, 1);
  list.SetCommandLineServer("command.example", -1);
  list.SetLatestConnected(200);
  EXPECT_NE(list.Save(kOptionsKey), 0);

  for (HKEY root : {platform::HKEY_CURRENT_USER, platform::HKEY_LOCAL_MACHINE}) {
    uint32_t type = 0;
    EXPECT_EQ(Stored(root, "3", &type), Record(7003, 0, "three"));
    EXPECT_EQ(type, platform::REG_BINARY);
    EXPECT_EQ(Stored(root, "200"), Record(9200, 1, "new.example"));
    for (const char* absent : {"4", "0", "251", "254"}) {
      EXPECT_TRUE(Stored(root, absent).empty()) << absent;
    }
    const std::vector<uint8_t> latest = Stored(root, "LatestConnectedServerID", &type);
    ASSERT_EQ(latest.size(), 4u);
    EXPECT_EQ(type, platform::REG_DWORD);
    uint32_t value;
    std::memcpy(&value, latest.data(), 4);
    EXPECT_EQ(value, 200u);
  }

  ServerList again;
  Load(&again);
  EXPECT_STREQ(again.GetHost(200), "new.example");
  EXPECT_STREQ(again.GetHost(4), "");
  EXPECT_EQ(again.GetLatestConnected(), 200);
}

TEST_F(ServerListTest, pick_follows_command_line_latest_preferred_and_draws) {
  struct Case {
    const char* name;
    std::vector<const char*> setup;  // "cl", "cl-failed", "pref10", "pref20", "plain30",
                                     // "latest252", "latest30", "all-failed"
    std::vector<int> draws;          // the generator's outputs in order
    uint8_t expected;
  } const cases[] = {
      {"command_line_first", {"cl"}, {}, 0},
      {"failed_command_line_skipped", {"cl-failed"}, {32765, 6}, 253},
      {"defaults_drawn_with_rejection", {}, {32765, 6}, 253},
      {"defaults_first_draw_kept", {}, {32763}, 254},
      {"usable_latest_needs_no_draw", {"latest252"}, {}, 252},
      {"preferred_pool_only", {"pref10", "pref20", "plain30"}, {1}, 20},
      {"latest_outside_the_pool_ignored", {"pref10", "pref20", "plain30", "latest30"}, {2}, 10},
      {"nothing_usable", {"all-failed"}, {}, kNoServer},
  };
  for (const Case& c : cases) {
    ServerList list;
    Load(&list);
    for (const std::string step : c.setup) {
      if (step == "cl") list.SetCommandLineServer("command.example", 9999);
      if (step == "cl-failed") {
        list.SetCommandLineServer("command.example", 9999);
        list.MarkFailed(0);
      }
      if (step == "pref10") list.SetEntry(10, "ten", 1, 1);
      if (step == "pref20") list.SetEntry(20, "twenty", 1, 1);
      if (step == "plain30") list.SetEntry(30, "thirty", 1, 0);
      if (step == "latest252") list.SetLatestConnected(252);
      if (step == "latest30") list.SetLatestConnected(30);
      if (step == "all-failed") {
        for (uint32_t i = 0; i < kDefaultServers; ++i) list.MarkFailed(kFirstDefaultServer + i);
      }
    }
    size_t next = 0;
    const uint8_t picked = list.Pick([&] {
      if (next >= c.draws.size()) {
        ADD_FAILURE() << c.name << ": more draws than expected";
        return 0;
      }
      return c.draws[next++];
    });
    EXPECT_EQ(picked, c.expected) << c.name;
    EXPECT_EQ(next, c.draws.size()) << c.name;
  }
}

}  // namespace
