#include "cclient/base/options.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "cclient/app/login.h"
#include "platform/system/registry.h"
#include "tests/support/temp_program_folder.h"

namespace {

using Bytes = std::vector<uint8_t>;
using platform::HKEY;

constexpr const char* kOptionsKey = "SOFTWARE\\Gaming\\Options";
constexpr const char* kInstallKey = "SOFTWARE\\Gaming\\Install";

Bytes Dword(uint32_t value) {
  Bytes bytes(4);
  std::memcpy(bytes.data(), &value, 4);
  return bytes;
}

Bytes Sz(const std::string& text) {  // with its NUL
  Bytes bytes(text.begin(), text.end());
  bytes.push_back(0);
  return bytes;
}

void Store(const char* key_path, const char* name, uint32_t type, const Bytes& bytes) {
  HKEY key;
  ASSERT_EQ(platform::RegCreateKeyEx(platform::HKEY_CURRENT_USER, key_path, 0, nullptr, 0,
                                     platform::KEY_ALL_ACCESS, nullptr, &key, nullptr),
            platform::ERROR_SUCCESS);
  ASSERT_EQ(platform::RegSetValueEx(key, name, 0, type, bytes.data(),
                                    static_cast<uint32_t>(bytes.size())),
            platform::ERROR_SUCCESS);
  platform::RegCloseKey(key);
}

struct StoredValue {
  bool found = false;
  uint32_t type = platform::REG_NONE;
  Bytes bytes;
};

StoredValue Stored(const char* key_path, const char* name) {
  StoredValue value;
  HKEY key;
  if (platform::RegOpenKeyEx(platform::HKEY_CURRENT_USER, key_path, 0, platform::KEY_READ, &key) !=
      platform::ERROR_SUCCESS) {
    return value;
  }
  value.bytes.resize(4096);
  uint32_t size = static_cast<uint32_t>(value.bytes.size());
  value.found = platform::RegQueryValueEx(key, name, nullptr, &value.type, value.bytes.data(),
                                          &size) == platform::ERROR_SUCCESS;
  value.bytes.resize(value.found ? size : 0);
  platform::RegCloseKey(key);
  return value;
}

// What Registry_Load gives, with the timer rate, option flags and sort states coming in as
// `start`'s.
struct Loaded {
  const char* error = nullptr;
  UserOptions options;
};

Loaded Load(const UserOptions& start = UserOptions()) {
  Loaded loaded;
  UserOptions& o = loaded.options;
  o = start;
  // Values the load must replace with its defaults.
  o.disable_sound = o.disable_music = o.four_colour_deck = o.classic_deck = 77;
  std::snprintf(o.default_user_name, sizeof o.default_user_name, "stale");
  std::memset(o.check_sum, 0x77, sizeof o.check_sum);
  loaded.error = Registry_Load(&o.disable_sound, &o.disable_music, &o.four_colour_deck,
                               &o.classic_deck, o.default_user_name, sizeof o.default_user_name,
                               o.check_sum, sizeof o.check_sum, &o.timer_rate,
                               &o.user_option_flags, o.column_sort_states);
  return loaded;
}

void ExpectDefaults(const UserOptions& o, const std::string& name) {
  EXPECT_EQ(o.disable_sound, 0u) << name;
  EXPECT_EQ(o.disable_music, 1u) << name;
  EXPECT_EQ(o.four_colour_deck, 0u) << name;
  EXPECT_EQ(o.classic_deck, 0u) << name;
  EXPECT_STREQ(o.default_user_name, "USERNAME") << name;
  EXPECT_EQ(Bytes(o.check_sum, o.check_sum + kCheckSumBytes), Bytes(kCheckSumBytes, 0)) << name;
  EXPECT_EQ(o.timer_rate, 1u) << name;
  EXPECT_EQ(o.user_option_flags, 0u) << name;
  EXPECT_EQ(o.column_sort_states[kSortRingGames], 3) << name;
  EXPECT_EQ(o.column_sort_states[kSortTourneys], 20) << name;
}

class OptionsTest : public ProgramFolderTest {
 protected:
  void SetUp() override {
    ::setenv("TVK_CONFIG_ROOT", folder_.Path().c_str(), 1);
    Registry_SetOptionsKey(kDefaultOptionsKey);
    g_UserOptions = UserOptions();
  }
  void TearDown() override {
    Registry_SetOptionsKey(kDefaultOptionsKey);
    g_UserOptions = UserOptions();
    ::unsetenv("TVK_CONFIG_ROOT");
  }
};

TEST_F(OptionsTest, first_run_gives_every_default_and_writes_nothing) {
  const Loaded loaded = Load();
  EXPECT_STREQ(loaded.error, "Unable to open registry key");
  ExpectDefaults(loaded.options, "load");

  EXPECT_STREQ(UserOptions_Load(0), "Unable to open registry key");
  ExpectDefaults(g_UserOptions, "program options");
  EXPECT_FALSE(folder_.Exists("user.reg"));
  EXPECT_EQ(Registry_ReadAffiliateId(), 0u);
}

TEST_F(OptionsTest, save_writes_each_value_with_its_type) {
  uint8_t check_sum[kCheckSumBytes];
  for (uint32_t i = 0; i < kCheckSumBytes; ++i) check_sum[i] = static_cast<uint8_t>(0xC0 + i);
  check_sum[kCheckSumBytes - 1] = 0;
  const int32_t sort_states[kSortGroups] = {7, 4};
  EXPECT_EQ(Registry_Save("TarvikEXEClass", 1, 0, 1, 0, "Player One", check_sum, 3, 1,
                          sort_states, 42),
            nullptr);

  struct Case {
    const char* key;
    const char* name;
    uint32_t type;
    Bytes bytes;
  } const cases[] = {
      {kOptionsKey, "DisableSound", platform::REG_DWORD, Dword(1)},
      {kOptionsKey, "DisableMusic", platform::REG_DWORD, Dword(0)},
      {kOptionsKey, "FourColourDeck", platform::REG_DWORD, Dword(1)},
      {kOptionsKey, "ClassicDeck", platform::REG_DWORD, Dword(0)},
      {kOptionsKey, "DefaultUserName", platform::REG_SZ, Sz("Player One")},
      {kOptionsKey, "CheckSum", platform::REG_BINARY, Bytes(check_sum, check_sum + 21)},
      {kOptionsKey, "TimerRate", platform::REG_DWORD, Dword(3)},
      {kOptionsKey, "UserOptionFlags", platform::REG_DWORD, Dword(1)},
      {kOptionsKey, "ColumnSortStateRingGame", platform::REG_DWORD, Dword(7)},
      {kOptionsKey, "ColumnSortStateTourney", platform::REG_DWORD, Dword(4)},
      {kInstallKey, "AffiliateID", platform::REG_SZ, Sz("000042000042")},
  };
  for (const Case& c : cases) {
    const StoredValue value = Stored(c.key, c.name);
    EXPECT_TRUE(value.found) << c.name;
    EXPECT_EQ(value.type, c.type) << c.name;
    EXPECT_EQ(value.bytes, c.bytes) << c.name;
  }

  const Loaded loaded = Load();
  EXPECT_EQ(loaded.error, nullptr);
  EXPECT_EQ(loaded.options.disable_sound, 1u);
  EXPECT_EQ(loaded.options.disable_music, 0u);
  EXPECT_STREQ(loaded.options.default_user_name, "Player One");
  EXPECT_EQ(Bytes(loaded.options.check_sum, loaded.options.check_sum + 21),
            Bytes(check_sum, check_sum + 21));
  EXPECT_EQ(loaded.options.timer_rate, 3u);
  EXPECT_EQ(loaded.options.column_sort_states[kSortTourneys], 4);
  EXPECT_EQ(Registry_ReadAffiliateId(), 42u);
}

TEST_F(OptionsTest, value_stored_with_another_type_falls_back) {
  struct Case {
    const char* name;
    uint32_t type;
    Bytes bytes;
  } const cases[] = {
      {"DisableSound", platform::REG_SZ, Sz("1")},
      {"DisableMusic", platform::REG_BINARY, {0, 0, 0, 0}},
      {"FourColourDeck", platform::REG_SZ, Sz("1")},
      {"ClassicDeck", platform::REG_BINARY, Dword(1)},
      {"DefaultUserName", platform::REG_DWORD, Dword(0x41414141)},
      {"CheckSum", platform::REG_SZ, Sz("twenty bytes of text")},
      {"TimerRate", platform::REG_SZ, Sz("4")},
      {"UserOptionFlags", platform::REG_BINARY, Dword(1)},
      {"ColumnSortStateRingGame", platform::REG_SZ, Sz("9")},
      {"ColumnSortStateTourney", platform::REG_BINARY, Dword(9)},
  };
  for (const Case& c : cases) Store(kOptionsKey, c.name, c.type, c.bytes);
  const Loaded loaded = Load();
  EXPECT_EQ(loaded.error, nullptr);
  ExpectDefaults(loaded.options, "every value of the wrong type");

  // The timer rate, option flags and sort states keep what they had, whatever that was.
  UserOptions start;
  start.timer_rate = 4;
  start.user_option_flags = 1;
  start.column_sort_states[kSortRingGames] = 0;
  const Loaded kept = Load(start);
  EXPECT_EQ(kept.options.timer_rate, 4u);
  EXPECT_EQ(kept.options.user_option_flags, 1u);
  EXPECT_EQ(kept.options.column_sort_states[kSortRingGames], 0);
  EXPECT_EQ(kept.options.column_sort_states[kSortTourneys], 20);
}

TEST_F(OptionsTest, remembered_password_of_the_wrong_size_remembers_nothing) {
  for (const size_t size : {size_t{0}, size_t{20}, size_t{22}}) {
    Store(kOptionsKey, "CheckSum", platform::REG_BINARY, Bytes(size, 0x33));
    const Loaded loaded = Load();
    EXPECT_EQ(Bytes(loaded.options.check_sum, loaded.options.check_sum + 21), Bytes(21, 0))
        << size;
  }
}

TEST_F(OptionsTest, older_password_form_is_turned_back_and_scrambled_afresh) {
  uint8_t plain[kCheckSumBytes] = {};
  std::memcpy(plain, "hunter2", 7);
  Bytes older(kCheckSumBytes);
  for (uint32_t i = 0; i < kCheckSumBytes; ++i) older[i] = static_cast<uint8_t>(plain[i] + i + 10);
  Store(kOptionsKey, "CheckSum", platform::REG_BINARY, older);

  // The three passes over the plain text: even bytes plus the table's first half, odd bytes XOR
  // the byte before, then every byte XOR the table's second half.
  const uint8_t* table = Login_ScrambleTable();
  uint8_t expected[kCheckSumBytes];
  std::memcpy(expected, plain, sizeof expected);
  for (uint32_t i = 0; i < 20; i += 2) expected[i] = static_cast<uint8_t>(expected[i] + table[i]);
  for (uint32_t i = 1; i < 20; i += 2) expected[i] ^= expected[i - 1];
  for (uint32_t i = 0; i < 20; ++i) expected[i] ^= table[20 + i];
  EXPECT_NE(std::memcmp(expected, plain, 20), 0);
  const Loaded loaded = Load();
  EXPECT_EQ(Bytes(loaded.options.check_sum, loaded.options.check_sum + 21),
            Bytes(expected, expected + 21));
  EXPECT_EQ(loaded.options.check_sum[20], 0);
}

TEST_F(OptionsTest, scrambling_a_password_is_undone_exactly) {
  uint32_t seed = 12345;
  for (int round = 0; round < 200; ++round) {
    uint8_t plain[kCheckSumBytes] = {};
    for (uint32_t i = 0; i < 20; ++i) {
      seed = seed * 1664525u + 1013904223u;
      plain[i] = static_cast<uint8_t>(seed >> 24);
    }
    uint8_t scrambled[kCheckSumBytes];
    std::memcpy(scrambled, plain, sizeof scrambled);
    Login_ScramblePassword(scrambled);
    Login_SetRecord("someone", scrambled);
    Login_UnscramblePassword();
    EXPECT_EQ(std::memcmp(Login_GetRecordPassword(), plain, 20), 0) << round;
  }
}

TEST_F(OptionsTest, stored_texts_come_back_terminated_within_their_buffer) {
  struct Case {
    const char* name;
    Bytes stored;
    const char* user_name;
  } const cases[] = {
      {"with_nul", Sz("Dealer"), "Dealer"},
      {"without_nul", {'D', 'e', 'a', 'l'}, "Deal"},
      {"63_characters", Sz(std::string(63, 'x')), nullptr},
      {"64_characters_without_nul", Bytes(64, 'y'), nullptr},
      {"too_long", Sz(std::string(64, 'z')), "USERNAME"},
      {"empty", {}, ""},
  };
  for (const Case& c : cases) {
    Store(kOptionsKey, "DefaultUserName", platform::REG_SZ, c.stored);
    const Loaded loaded = Load();
    const std::string name = loaded.options.default_user_name;
    if (c.user_name != nullptr) {
      EXPECT_EQ(name, c.user_name) << c.name;
    } else {
      EXPECT_EQ(name.size(), 63u) << c.name;
    }
  }

  // A text read into a small buffer never runs past it.
  Store(kOptionsKey, "Note", platform::REG_SZ, {'a', 'b', 'c', 'd'});
  char buffer[6];
  std::memset(buffer, '#', sizeof buffer);
  uint32_t size = 4;
  EXPECT_EQ(Registry_ReadValue(platform::HKEY_CURRENT_USER, kOptionsKey, "Note", platform::REG_SZ,
                               buffer, &size),
            1);
  EXPECT_STREQ(buffer, "abc");
  EXPECT_EQ(buffer[4], '#');
}

TEST_F(OptionsTest, affiliate_id_is_six_digits_written_twice) {
  struct Case {
    const char* name;
    uint32_t type;
    Bytes stored;
    uint32_t id;
  } const cases[] = {
      {"forty_two", platform::REG_SZ, Sz("000042000042"), 42},
      {"largest", platform::REG_SZ, Sz("999999999999"), 999999},
      {"halves_differ", platform::REG_SZ, Sz("000042000043"), 0},
      {"shorter", platform::REG_SZ, Sz("00004200004"), 0},
      {"longer", platform::REG_SZ, Sz("0000420000420"), 0},
      {"not_digits", platform::REG_SZ, Sz("00x04200x042"), 0},
      {"signed", platform::REG_SZ, Sz("-00042-00042"), 0},
      {"dword", platform::REG_DWORD, Dword(42), 0},
  };
  for (const Case& c : cases) {
    Store(kInstallKey, "AffiliateID", c.type, c.stored);
    EXPECT_EQ(Registry_ReadAffiliateId(), c.id) << c.name;
  }
  // An id too large for six digits is not written as anything that reads back as another id.
  const uint8_t check_sum[kCheckSumBytes] = {};
  const int32_t sort_states[kSortGroups] = {3, 20};
  EXPECT_EQ(Registry_Save("TarvikEXEClass", 0, 1, 0, 0, "u", check_sum, 1, 0, sort_states,
                          1234567),
            nullptr);
  EXPECT_EQ(Stored(kInstallKey, "AffiliateID").bytes.size(), kAffiliateIdBytes);
  EXPECT_EQ(Registry_ReadAffiliateId(), 0u);
}

TEST_F(OptionsTest, sibling_keys_stand_beside_the_options_key) {
  struct Case {
    const char* options_key;
    const char* sibling;
    const char* path;
  } const cases[] = {
      {"SOFTWARE\\Gaming\\Options", "Install", "SOFTWARE\\Gaming\\Install"},
      {"SOFTWARE\\Gaming\\Options", "Hotpicks", "SOFTWARE\\Gaming\\Hotpicks"},
      {"SOFTWARE\\Other\\Options", "Blocked", "SOFTWARE\\Other\\Blocked"},
      {"Options", "Install2", "Install2"},
      {"Opt", "Install", "Install"},
      {"", "Install", "Install"},
  };
  for (const Case& c : cases) {
    Registry_SetOptionsKey(c.options_key);
    EXPECT_EQ(Registry_SiblingKeyPath(c.sibling), c.path) << c.options_key;
  }

  // A short options key still saves its affiliate id under a sibling of its own.
  Registry_SetOptionsKey("Opt");
  const uint8_t check_sum[kCheckSumBytes] = {};
  const int32_t sort_states[kSortGroups] = {3, 20};
  EXPECT_EQ(Registry_Save("TarvikEXEClass", 0, 1, 0, 0, "u", check_sum, 1, 0, sort_states, 7),
            nullptr);
  EXPECT_EQ(Stored("Install", "AffiliateID").bytes, Sz("000007000007"));
  EXPECT_EQ(Registry_ReadAffiliateId(), 7u);

  // The options key keeps at most 127 characters.
  Registry_SetOptionsKey(std::string(200, 'k').c_str());
  EXPECT_EQ(std::string(Registry_GetOptionsKey()), std::string(127, 'k'));
}

TEST_F(OptionsTest, forced_sound_and_music_off_hold_through_the_save) {
  Store(kOptionsKey, "DisableSound", platform::REG_DWORD, Dword(0));
  Store(kOptionsKey, "DisableMusic", platform::REG_DWORD, Dword(0));
  struct Case {
    const char* name;
    uint32_t force_flags;
    uint32_t sound_off;
    uint32_t music_off;
  } const cases[] = {
      {"none", 0, 0, 0},
      {"/n", kForceSoundOff, 1, 0},
      {"/m", kForceMusicOff, 0, 1},
      {"both", kForceSoundOff | kForceMusicOff, 1, 1},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(UserOptions_Load(c.force_flags), nullptr) << c.name;
    EXPECT_EQ(g_UserOptions.disable_sound, c.sound_off) << c.name;
    EXPECT_EQ(g_UserOptions.disable_music, c.music_off) << c.name;
    UserOptions_Save("TarvikEXEClass", 0);
    EXPECT_EQ(Stored(kOptionsKey, "DisableSound").bytes, Dword(c.sound_off)) << c.name;
    EXPECT_EQ(Stored(kOptionsKey, "DisableMusic").bytes, Dword(c.music_off)) << c.name;
    // The next run starts from what the user had.
    Store(kOptionsKey, "DisableSound", platform::REG_DWORD, Dword(0));
    Store(kOptionsKey, "DisableMusic", platform::REG_DWORD, Dword(0));
  }
}

}  // namespace
