#include "cclient/lobby/hot_picks_panel.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "cclient/base/options.h"
#include "cclient/base/startup_file.h"
#include "platform/system/registry.h"
#include "tests/cclient/lobby/lobby_chrome_support.h"

namespace {

using Bytes = std::vector<uint8_t>;

constexpr const char* kHotPicksKey = "SOFTWARE\\Gaming\\Hotpicks";

void Store(const char* key_path, const char* name, uint32_t type, const Bytes& bytes) {
  platform::HKEY key;
  ASSERT_EQ(platform::RegCreateKeyEx(platform::HKEY_CURRENT_USER, key_path, 0, nullptr, 0,
                                     platform::KEY_ALL_ACCESS, nullptr, &key, nullptr),
            platform::ERROR_SUCCESS);
  ASSERT_EQ(platform::RegSetValueEx(key, name, 0, type, bytes.data(),
                                    static_cast<uint32_t>(bytes.size())),
            platform::ERROR_SUCCESS);
  platform::RegCloseKey(key);
}

Bytes Stored(const char* key_path, const char* name) {
  Bytes bytes(512, 0);
  uint32_t size = static_cast<uint32_t>(bytes.size());
  if (Registry_ReadValue(platform::HKEY_CURRENT_USER, key_path, name, platform::REG_BINARY,
                         bytes.data(), &size) == 0) {
    return {};
  }
  bytes.resize(size);
  return bytes;
}

// A stored tile: table id, game type, label, host, port, server, age, real money.
Bytes Tile(uint32_t table_id, int8_t age, uint8_t last = 0) {
  Bytes bytes(180, 0);
  auto put32 = [&](size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i) bytes[at + i] = static_cast<uint8_t>(v >> (8 * i));
  };
  put32(0, table_id);
  put32(4, 2);
  put32(8, 0);
  std::memcpy(&bytes[12], "Table", 5);
  std::memcpy(&bytes[44], "games.example", 13);
  put32(172, 5001);
  bytes[176] = 1;
  bytes[177] = static_cast<uint8_t>(age);
  bytes[178] = 1;
  bytes[179] = last;
  return bytes;
}

std::vector<int> Ages(const HotPicksPanel& panel) {
  std::vector<int> ages;
  for (int32_t i = 0; i < HotPicksPanel::kSlots; ++i) ages.push_back(panel.Slot(i).age);
  return ages;
}

class HotPicksTest : public LobbyChromeTest {
 protected:
  void Load(HotPicksPanel* panel) {
    panel->Load(canvas_.back.dc, canvas_.window.dc, "hotpicks.a");
  }
  // Opens, joins and keeps a table as the lobby does.
  void Join(HotPicksPanel* panel, uint32_t table_id, int32_t* slot) {
    panel->MarkTableOpen(canvas_.back.dc, canvas_.window.dc, slot, table_id, 1, 1);
    panel->RememberTable(canvas_.back.dc, canvas_.window.dc, table_id, "$1/$2 Hold'em", 0, 1, 3,
                         "host.example", 5005);
  }
  LobbyCanvas canvas_;
};

TEST_F(HotPicksTest, a_kept_tile_is_stored_byte_for_byte_and_comes_back) {
  HotPicksPanel panel;
  Load(&panel);
  EXPECT_TRUE(panel.NeedsDefaults());
  int32_t slot = -2;
  panel.MarkTableOpen(canvas_.back.dc, canvas_.window.dc, &slot, 0x01020304, 2, 1);
  EXPECT_EQ(slot, 0);
  panel.RememberTable(canvas_.back.dc, canvas_.window.dc, 0x01020304, "Table", 0, 2, 1,
                      "games.example", 5001);
  panel.MarkTableClosed(canvas_.back.dc, canvas_.window.dc, canvas_.background.dc, &slot,
                        0x01020304);
  panel.Save();
  Bytes want = Tile(0x01020304, 3);
  EXPECT_EQ(Stored(kHotPicksKey, "Hotpick0"), want);
  EXPECT_TRUE(Stored(kHotPicksKey, "Hotpick1").empty());

  HotPicksPanel again;
  Load(&again);
  EXPECT_EQ(again.GetTableId(0), 0x01020304u);
  EXPECT_EQ(again.GetOpenTableId(0), 0u);
  EXPECT_STREQ(again.GetServerHost(0), "games.example");
  EXPECT_EQ(again.GetServerPort(0), 5001);
  EXPECT_EQ(again.GetServerId(0), 1);
  EXPECT_EQ(again.GetGameType(0), 2);
  EXPECT_EQ(again.IsRealMoney(0), 1);
  EXPECT_TRUE(again.NeedsDefaults());  // three tiles had nothing stored
}

TEST_F(HotPicksTest, load_refuses_bad_values_tile_by_tile) {
  Bytes short_tile = Tile(11, 0);
  short_tile.pop_back();
  Store(kHotPicksKey, "Hotpick0", platform::REG_BINARY, short_tile);
  Store(kHotPicksKey, "Hotpick1", platform::REG_BINARY, Tile(12, 1, 7));
  Store(kHotPicksKey, "Hotpick2", platform::REG_SZ, Tile(13, 2));
  Store(kHotPicksKey, "Hotpick3", platform::REG_BINARY, Tile(14, 3));
  // The play-money edition's tiles are separate.
  Store(kHotPicksKey, "Hotpicp0", platform::REG_BINARY, Tile(99, 3));
  HotPicksPanel panel;
  Load(&panel);
  EXPECT_EQ(panel.GetTableId(0), 0u);
  EXPECT_EQ(panel.GetTableId(1), 0u);
  EXPECT_EQ(panel.GetTableId(2), 0u);
  EXPECT_EQ(panel.GetTableId(3), 14u);
  EXPECT_TRUE(panel.NeedsDefaults());

  PlayMoneyEdition = 1;
  HotPicksPanel play;
  Load(&play);
  EXPECT_EQ(play.GetTableId(0), 99u);
  EXPECT_EQ(play.GetTableId(3), 0u);
}

TEST_F(HotPicksTest, stored_ages_become_an_order_again) {
  struct Case {
    std::vector<int8_t> stored;
    std::vector<int> want;
  };
  const std::vector<Case> cases = {
      {{3, 2, 1, 0}, {3, 2, 1, 0}},
      {{3, 3, 3, 3}, {0, 1, 2, 3}},
      {{-5, 100, 7, 7}, {0, 3, 1, 2}},
  };
  for (const Case& c : cases) {
    for (int32_t i = 0; i < 4; ++i) {
      Store(kHotPicksKey, ("Hotpick" + std::to_string(i)).c_str(), platform::REG_BINARY,
            Tile(static_cast<uint32_t>(20 + i), c.stored[static_cast<size_t>(i)]));
    }
    HotPicksPanel panel;
    Load(&panel);
    EXPECT_EQ(Ages(panel), c.want);
    EXPECT_FALSE(panel.NeedsDefaults());
  }
}

TEST_F(HotPicksTest, options_key_of_any_length_loses_seven_characters) {
  const struct {
    const char* options_key;
    const char* hot_picks_key;
  } cases[] = {{"SOFTWARE\\Other\\Settings", "SOFTWARE\\Other\\SHotpicks"}, {"Abc", "Hotpicks"}};
  for (const auto& c : cases) {
    Registry_SetOptionsKey(c.options_key);
    HotPicksPanel panel;
    Load(&panel);
    int32_t slot = 0;
    Join(&panel, 77, &slot);
    panel.Save();
    EXPECT_EQ(Stored(c.hot_picks_key, "Hotpick0").size(), 180u) << c.options_key;
  }
}

TEST_F(HotPicksTest, open_tables_take_the_oldest_free_tile) {
  HotPicksPanel panel;
  Load(&panel);
  int32_t slot = -1;
  for (uint32_t table = 1; table <= 4; ++table) {
    Join(&panel, table, &slot);
    EXPECT_EQ(slot, static_cast<int32_t>(table - 1));
  }
  EXPECT_EQ(Ages(panel), (std::vector<int>{0, 1, 2, 3}));
  // All four are open: a fifth table gets no tile.
  panel.MarkTableOpen(canvas_.back.dc, canvas_.window.dc, &slot, 5, 1, 1);
  EXPECT_EQ(slot, -1);
  // Closing table 3 frees its tile; the next table reuses the oldest free one.
  panel.MarkTableClosed(canvas_.back.dc, canvas_.window.dc, canvas_.background.dc, &slot, 3);
  EXPECT_EQ(slot, 2);
  panel.MarkTableClosed(canvas_.back.dc, canvas_.window.dc, canvas_.background.dc, &slot, 1);
  EXPECT_EQ(slot, 0);
  Join(&panel, 5, &slot);
  EXPECT_EQ(slot, 0);
  EXPECT_EQ(panel.GetTableId(0), 5u);
  // Reopening a kept table finds its own tile.
  panel.MarkTableOpen(canvas_.back.dc, canvas_.window.dc, &slot, 3, 1, 1);
  EXPECT_EQ(slot, 2);
  // The frame: yellow around an open tile.
  EXPECT_EQ(canvas_.window.At(244 + 99 * 2, 413 + 40), platform::RGB(255, 255, 0));
  EXPECT_EQ(canvas_.window.At(244 + 99 * 2 + 1, 413 + 40), platform::RGB(255, 255, 0));
  // A failed join empties the tile and makes it the oldest.
  EXPECT_EQ(panel.ForgetTable(canvas_.background.dc, canvas_.back.dc, canvas_.window.dc, 5), 0);
  EXPECT_EQ(panel.Slot(0).table_id, 0u);
  EXPECT_EQ(panel.Slot(0).age, 0);
  EXPECT_EQ(panel.ForgetTable(canvas_.background.dc, canvas_.back.dc, canvas_.window.dc, 5), -1);
}

TEST_F(HotPicksTest, ages_stay_an_order_under_any_sequence) {
  std::mt19937 random(19);
  HotPicksPanel panel;
  Load(&panel);
  for (int step = 0; step < 2000; ++step) {
    const uint32_t table = 1 + random() % 9;
    int32_t slot = -1;
    switch (random() % 4) {
      case 0:
        Join(&panel, table, &slot);
        break;
      case 1:
        panel.MarkTableClosed(canvas_.back.dc, canvas_.window.dc, canvas_.background.dc, &slot,
                              table);
        break;
      case 2:
        (void)panel.ForgetTable(canvas_.background.dc, canvas_.back.dc, canvas_.window.dc, table);
        break;
      default:
        panel.MarkTableOpen(canvas_.back.dc, canvas_.window.dc, &slot, table, 0, 0);
        break;
    }
    std::vector<int> ages = Ages(panel);
    std::sort(ages.begin(), ages.end());
    ASSERT_EQ(ages, (std::vector<int>{0, 1, 2, 3})) << "step " << step;
  }
}

TEST_F(HotPicksTest, defaults_fill_from_tile_3_down) {
  HotPicksPanel panel;
  Load(&panel);
  const uint8_t servers[4] = {1, 2, 3, 4};
  const char* hosts[4] = {"a", "b", "c", "d"};
  const uint16_t ports[4] = {1, 2, 3, 4};
  const uint32_t tables[4] = {101, 0, 103, 104};
  const char* labels[4] = {"$5 Stud", "x", "Free Hold'em", "$1 Omaha"};
  const int32_t games[4] = {2, 0, 0, 1};
  const uint8_t real[4] = {1, 0, 0, 1};
  panel.FillDefaults(canvas_.back.dc, canvas_.window.dc, servers, hosts, ports, tables, labels,
                     games, real);
  EXPECT_FALSE(panel.NeedsDefaults());
  EXPECT_EQ(panel.GetTableId(3), 104u);
  EXPECT_STREQ(panel.Slot(3).label, "$1 Omaha");
  EXPECT_EQ(panel.GetTableId(2), 103u);
  EXPECT_STREQ(panel.Slot(2).label, "");  // only "$" labels are copied
  EXPECT_EQ(panel.GetTableId(1), 101u);
  EXPECT_EQ(panel.GetTableId(0), 0u);
  // A second list does not take a table twice.
  panel.FillDefaults(canvas_.back.dc, canvas_.window.dc, servers, hosts, ports, tables, labels,
                     games, real);
  EXPECT_EQ(panel.GetTableId(0), 0u);
}

TEST_F(HotPicksTest, a_joined_table_label_replaces_the_label_of_the_table_that_had_its_tile) {
  WriteArt();
  const uint8_t servers[4] = {1, 1, 1, 1};
  const char* hosts[4] = {"a", "a", "a", "a"};
  const uint16_t ports[4] = {1, 1, 1, 1};
  const int32_t games[4] = {0, 0, 0, 0};
  const uint8_t real[4] = {1, 1, 1, 1};
  // Tile 0 holds another table when table 7 opens and is joined, or table 7 from the start
  // (joined twice: its label drawn once more).
  const uint32_t other_tables[4] = {101, 102, 103, 104};
  const uint32_t own_tables[4] = {7, 102, 103, 104};
  const char* other_labels[4] = {"$0.25/$0.50", "$2", "$3", "$4"};
  const char* own_labels[4] = {"$1/$2", "$2", "$3", "$4"};
  LobbyCanvas own_canvas;
  struct Run {
    LobbyCanvas* canvas;
    const uint32_t* tables;
    const char* const* labels;
    int joins;
  };
  HotPicksPanel taken, own;
  for (auto [panel, run] : {std::pair{&taken, Run{&canvas_, other_tables, other_labels, 1}},
                            std::pair{&own, Run{&own_canvas, own_tables, own_labels, 2}}}) {
    panel->Load(run.canvas->back.dc, run.canvas->window.dc, "hotpicks.a");
    panel->FillDefaults(run.canvas->back.dc, run.canvas->window.dc, servers, hosts, ports, run.tables,
                        run.labels, games, real);
    int32_t slot = -1;
    panel->MarkTableOpen(run.canvas->back.dc, run.canvas->window.dc, &slot, 7, 0, 1);
    ASSERT_EQ(slot, 0);
    for (int join = 0; join < run.joins; ++join) {
      panel->RememberTable(run.canvas->back.dc, run.canvas->window.dc, 7, "$1/$2", 0, 0, 1, "a", 1);
    }
  }
  int differing = 0;
  for (int32_t y = 413; y < 509; ++y) {
    for (int32_t x = 244; x < 340; ++x) differing += canvas_.window.At(x, y) != own_canvas.window.At(x, y);
  }
  EXPECT_EQ(differing, 0);
}

TEST_F(HotPicksTest, tiles_picture) {
  WriteArt();
  HotPicksPanel panel;
  Load(&panel);
  int32_t slot = 0;
  Join(&panel, 1, &slot);
  Join(&panel, 2, &slot);
  panel.MarkTableClosed(canvas_.back.dc, canvas_.window.dc, canvas_.background.dc, &slot, 2);
  SaveForPerson(canvas_.window.dc, "hot_picks");
  EXPECT_NE(canvas_.window.At(244 + 50, 413 + 20), 0u);
  EXPECT_EQ(canvas_.window.At(244 + 99 * 2 + 50, 413 + 20), 0u);
}

}  // namespace
