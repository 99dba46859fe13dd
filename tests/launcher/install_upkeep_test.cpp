// Install upkeep with a fake folder probe (bits per folder), the registry store and the user's
// folders in the test folder, and an install in its "install" folder. Restarts start the
// stand-in client, which records its folder and arguments.
#include "launcher/install_upkeep.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "launcher/launcher_log.h"
#include "launcher/shell_link.h"
#include "platform/system/registry.h"
#include "tests/support/temp_program_folder.h"

namespace {

using platform::HKEY;

constexpr const char* kKey = "SOFTWARE\\Tarvik\\Cards";
constexpr const char* kInstallKey = "SOFTWARE\\Tarvik\\Cards\\Install";

std::string ReadWholeFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

// The value's text, "(none)" when it is missing.
std::string RegString(HKEY root, const char* key, const char* name) {
  HKEY handle = nullptr;
  if (platform::RegOpenKeyEx(root, key, 0, platform::KEY_READ, &handle) != platform::ERROR_SUCCESS) return "(none)";
  char value[300] = "";
  uint32_t size = sizeof value - 1;
  const int32_t result = platform::RegQueryValueEx(handle, name, nullptr, nullptr, reinterpret_cast<uint8_t*>(value), &size);
  platform::RegCloseKey(handle);
  return result == platform::ERROR_SUCCESS ? std::string(value) : "(none)";
}

void SetRegString(HKEY root, const char* key, const char* name, const std::string& value) {
  HKEY handle = nullptr;
  ASSERT_EQ(platform::ERROR_SUCCESS, platform::RegCreateKeyEx(root, key, 0, nullptr, 0, platform::KEY_ALL_ACCESS,
                                                              nullptr, &handle, nullptr));
  platform::RegSetValueEx(handle, name, 0, platform::REG_SZ, reinterpret_cast<const uint8_t*>(value.c_str()),
                          static_cast<uint32_t>(value.size() + 1));
  platform::RegCloseKey(handle);
}

uint32_t RegDword(HKEY root, const char* key, const char* name) {
  HKEY handle = nullptr;
  if (platform::RegOpenKeyEx(root, key, 0, platform::KEY_READ, &handle) != platform::ERROR_SUCCESS) return 0;
  uint32_t value = 0;
  uint32_t size = sizeof value;
  (void)platform::RegQueryValueEx(handle, name, nullptr, nullptr, reinterpret_cast<uint8_t*>(&value), &size);
  platform::RegCloseKey(handle);
  return value;
}

void SetPropagated() {
  HKEY handle = nullptr;
  ASSERT_EQ(platform::ERROR_SUCCESS, platform::RegCreateKeyEx(platform::HKEY_CURRENT_USER, kInstallKey, 0, nullptr, 0,
                                                              platform::KEY_ALL_ACCESS, nullptr, &handle, nullptr));
  const uint32_t one = 1;
  platform::RegSetValueEx(handle, "Propagated", 0, platform::REG_DWORD, reinterpret_cast<const uint8_t*>(&one), 4);
  platform::RegCloseKey(handle);
}

class InstallUpkeepTest : public ProgramFolderTest {
 protected:
  void SetUp() override {
    root_ = folder_.Path() + "user";
    install_ = folder_.Path() + "install";
    ::setenv("TVK_CONFIG_ROOT", root_.c_str(), 1);
    for (const char* name : {"user", "user/data", "user/home", "user/Desktop", "user/cache", "user/applications",
                             "user/system-applications", "install", "install/sounds"}) {
      ASSERT_EQ(0, ::mkdir(folder_.PathOf(name).c_str(), 0755));
    }
    const std::string standin = ReadWholeFile(STANDIN_CLIENT_PATH);
    ASSERT_FALSE(standin.empty());
    WriteProgram("install/tarvik", standin);
    WriteProgram("install/tvk", standin);
    folder_.WriteFile("install/root.ini", "0 settings\r\n");
    folder_.WriteFile("install/tarvik.ico", "icon");
    folder_.WriteFile("install/sounds/chip.wav", "RIFF");
    ASSERT_EQ(0, ::chdir(install_.c_str()));
    Log_Reset("root.log");
    record_ = folder_.PathOf("standin-record.txt");
    ::setenv("TARVIK_STANDIN_RECORD", record_.c_str(), 1);

    std::strcpy(settings_.icon_file, "tarvik.ico");
    std::strcpy(settings_.default_program, "tvk.exe");
    std::strcpy(settings_.product_name, "Tarvik Cards");
    std::strcpy(settings_.registry_key, kKey);
    std::strcpy(settings_.shortcut_file_name, "Tarvik Cards.lnk");
  }
  void TearDown() override {
    ::unsetenv("TVK_CONFIG_ROOT");
    ::unsetenv("TARVIK_STANDIN_RECORD");
  }

  void WriteProgram(const std::string& name, const std::string& bytes) {
    folder_.WriteFile(name, bytes);
    ASSERT_EQ(0, ::chmod(folder_.PathOf(name).c_str(), 0755));
  }

  // The fake probe: the bits set for a folder, else `default_bits_`; every probe is recorded.
  FolderTester Tester() {
    return [this](const std::string& folder) -> uint8_t {
      probed_.push_back(folder);
      const auto found = bits_.find(folder);
      return found == bits_.end() ? default_bits_ : found->second;
    };
  }

  bool RunUpkeep(bool relocated = false) {
    InstallUpkeep* upkeep = InstallUpkeep_Create(Tester());
    (void)InstallUpkeep_Init(upkeep, settings_, relocated);
    const bool go_on = InstallUpkeep_Run(upkeep);
    InstallUpkeep_Destroy(upkeep);
    return go_on;
  }

  // What the restarted program recorded: its folder, then its arguments; waits for it a while.
  std::vector<std::string> Restarted() {
    for (int i = 0; i < 200 && Lines(ReadWholeFile(record_)).size() < 3; ++i) {
      std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return Lines(ReadWholeFile(record_));
  }

  std::string Log() { return ReadWholeFile(install_ + "/root.log"); }

  std::string root_;
  std::string install_;
  std::string record_;
  RootIniSettings settings_;
  std::map<std::string, uint8_t> bits_;
  uint8_t default_bits_ = FOLDERPROBE_USABLE;
  std::vector<std::string> probed_;
};

TEST_F(InstallUpkeepTest, without_the_optional_tokens_nothing_is_probed_or_written) {
  settings_.product_name[0] = settings_.registry_key[0] = settings_.shortcut_file_name[0] = '\0';
  default_bits_ = 0;  // even an unusable folder is left alone
  EXPECT_TRUE(RunUpkeep());
  EXPECT_TRUE(probed_.empty());
  EXPECT_FALSE(folder_.Exists("user/user.reg"));
  EXPECT_FALSE(folder_.Exists("user/machine.reg"));
  EXPECT_FALSE(folder_.Exists("user/Desktop/Tarvik Cards.desktop"));
}

// A product or shortcut name that is not a plain file name would make the group's clean-up empty
// the user's whole menu folder, or relocation copy into the usable folder itself.
TEST_F(InstallUpkeepTest, names_that_are_not_plain_file_names_keep_upkeep_off) {
  folder_.WriteFile("user/applications/other.desktop", "keep me");
  const std::pair<const char*, const char*> names[] = {
      {"", "Tarvik Cards.lnk"}, {".", "Tarvik Cards.lnk"},   {"..", "Tarvik Cards.lnk"},
      {"a/b", "Tarvik Cards.lnk"}, {"a\\b", "Tarvik Cards.lnk"}, {"Tarvik Cards", "../../x.lnk"},
      {"Tarvik Cards", ""}};
  bits_[install_] = 0;
  for (const auto& [product, shortcut] : names) {
    std::strcpy(settings_.product_name, product);
    std::strcpy(settings_.shortcut_file_name, shortcut);
    InstallUpkeep* upkeep = InstallUpkeep_Create(Tester());
    EXPECT_EQ(-1, InstallUpkeep_Init(upkeep, settings_, false)) << product << " " << shortcut;
    EXPECT_TRUE(InstallUpkeep_Run(upkeep));
    InstallUpkeep_Destroy(upkeep);
  }
  EXPECT_TRUE(probed_.empty());
  EXPECT_FALSE(folder_.Exists("user/user.reg"));
  EXPECT_EQ("keep me", folder_.ReadFile("user/applications/other.desktop"));
  EXPECT_NE(std::string::npos, Log().find("Install upkeep is off"));
}

TEST_F(InstallUpkeepTest, the_first_run_moves_the_entries_to_all_users_and_records_the_location) {
  folder_.WriteFile("install/INSTALL.LOG", "");
  // The user's own entries from before: the top one and a group with an uninstaller.
  folder_.WriteFile("user/applications/Tarvik Cards.desktop", "old");
  ASSERT_EQ(0, ::mkdir(folder_.PathOf("user/applications/Tarvik Cards").c_str(), 0755));
  folder_.WriteFile("user/applications/Tarvik Cards/Uninstall Tarvik Cards.desktop", "old");

  EXPECT_TRUE(RunUpkeep());

  const std::string desktop = root_ + "/Desktop/Tarvik Cards.desktop";
  const std::string menu = root_ + "/system-applications/Tarvik Cards.desktop";
  const std::string group = root_ + "/system-applications/Tarvik Cards";
  const std::string launcher = install_ + "/tarvik.exe";
  EXPECT_TRUE(ShellLink_PointsTo(desktop, launcher));
  EXPECT_TRUE(ShellLink_PointsTo(menu, launcher));
  EXPECT_TRUE(ShellLink_PointsTo(group + "/Tarvik Cards.desktop", launcher));
  EXPECT_TRUE(ShellLink_PointsTo(group + "/View License Agreement.desktop", install_ + "/License.txt"));
  EXPECT_TRUE(ShellLink_PointsTo(group + "/Uninstall Tarvik Cards.desktop", install_ + "/Unwise.exe"));
  EXPECT_NE(std::string::npos, ReadWholeFile(desktop).find("Icon=" + install_ + "/tarvik.ico\n"));
  EXPECT_FALSE(folder_.Exists("user/applications/Tarvik Cards.desktop"));
  EXPECT_FALSE(folder_.Exists("user/applications/Tarvik Cards"));

  EXPECT_EQ("Shell Link: " + desktop + "\r\nShell Link: " + menu + "\r\nMade Dir: " + group + "\r\nShell Link: " + group +
                "/Tarvik Cards.desktop\r\nShell Link: " + group + "/View License Agreement.desktop\r\n",
            folder_.ReadFile("install/INSTALL.LOG"));
  EXPECT_EQ(1u, RegDword(platform::HKEY_CURRENT_USER, kInstallKey, "Propagated"));
  EXPECT_EQ(install_, RegString(platform::HKEY_LOCAL_MACHINE, kInstallKey, "Location"));
  EXPECT_EQ("(none)", RegString(platform::HKEY_CURRENT_USER, kInstallKey, "Location"));
  EXPECT_EQ("(none)", RegString(platform::HKEY_CURRENT_USER, kKey, "RelocatingPath"));
}

TEST_F(InstallUpkeepTest, where_the_location_goes_follows_the_last_all_users_entry) {
  struct Case {
    const char* name;
    bool desktop_usable;
    bool menu_usable;
    bool desktop_entry;
    bool menu_entry;
    bool machine_location;
  };
  const Case cases[] = {
      {"menu_not_usable_desktop_made", true, false, true, false, true},
      {"nothing_usable", false, false, false, false, false},
      {"only_the_menu", false, true, false, true, true},
  };
  for (const Case& c : cases) {
    ::unlink((root_ + "/user.reg").c_str());
    ::unlink((root_ + "/machine.reg").c_str());
    for (const char* folder : {"/system-applications", "/Desktop"}) {
      std::filesystem::remove_all(root_ + folder);
      std::filesystem::create_directory(root_ + folder);
    }
    bits_[root_ + "/Desktop"] = c.desktop_usable ? 15 : 14;
    bits_[root_ + "/system-applications"] = c.menu_usable ? 15 : 0;
    EXPECT_TRUE(RunUpkeep()) << c.name;
    EXPECT_EQ(c.desktop_entry, folder_.Exists("user/Desktop/Tarvik Cards.desktop")) << c.name;
    EXPECT_EQ(c.menu_entry, folder_.Exists("user/system-applications/Tarvik Cards/Tarvik Cards.desktop")) << c.name;
    EXPECT_EQ(c.machine_location ? install_ : "(none)", RegString(platform::HKEY_LOCAL_MACHINE, kInstallKey, "Location"))
        << c.name;
    EXPECT_EQ(c.machine_location ? "(none)" : install_, RegString(platform::HKEY_CURRENT_USER, kInstallKey, "Location"))
        << c.name;
  }
}

TEST_F(InstallUpkeepTest, once_propagated_no_entry_is_touched_and_the_location_stays) {
  SetPropagated();
  folder_.WriteFile("user/Desktop/Tarvik Cards.desktop", "the user's own");
  EXPECT_TRUE(RunUpkeep());
  EXPECT_EQ("the user's own", folder_.ReadFile("user/Desktop/Tarvik Cards.desktop"));
  EXPECT_FALSE(folder_.Exists("user/system-applications/Tarvik Cards.desktop"));
  EXPECT_EQ("(none)", RegString(platform::HKEY_LOCAL_MACHINE, kInstallKey, "Location"));
  EXPECT_EQ("(none)", RegString(platform::HKEY_CURRENT_USER, kInstallKey, "Location"));
  EXPECT_EQ(std::vector<std::string>{install_}, probed_);  // only where to run was asked
}

TEST_F(InstallUpkeepTest, check_location_decides_where_to_run) {
  const std::string copy = root_ + "/data/Tarvik Cards";
  struct Case {
    const char* name;
    bool program_folder_usable;
    const char* stored;  // "" none, "copy", or "other"
    bool copy_has_root_ini;
    bool copy_has_launcher;
    bool copy_usable;
    int expected;
    const char* stored_after;  // "", "copy" or "install"
  };
  const Case cases[] = {
      {"usable_with_nothing_stored", true, "", true, true, true, UPKEEP_STAY, ""},
      {"usable_with_another_path_stored", true, "copy", true, true, true, UPKEEP_STAY, "install"},
      {"not_usable_nothing_stored", false, "", true, true, true, UPKEEP_RELOCATE, ""},
      {"stored_copy_lost_root_ini", false, "copy", false, true, true, UPKEEP_RELOCATE, "copy"},
      {"stored_copy_lost_the_launcher", false, "copy", true, false, true, UPKEEP_RELOCATE, "copy"},
      {"stored_copy_not_usable", false, "copy", true, true, false, UPKEEP_RELOCATE, "copy"},
      {"stored_folder_missing", false, "other", true, true, true, UPKEEP_RELOCATE, "other"},
      {"stored_copy_usable", false, "copy", true, true, true, UPKEEP_GO_TO_COPY, "copy"},
  };
  ASSERT_EQ(0, ::mkdir(copy.c_str(), 0755));
  auto path_of = [&](const std::string& which) {
    return which == "copy" ? copy : which == "install" ? install_ : which == "other" ? root_ + "/gone" : "";
  };
  for (const Case& c : cases) {
    ::unlink((root_ + "/user.reg").c_str());
    ::unlink((copy + "/root.ini").c_str());
    ::unlink((copy + "/tarvik").c_str());
    if (c.copy_has_root_ini) folder_.WriteFile("user/data/Tarvik Cards/root.ini", "0");
    if (c.copy_has_launcher) folder_.WriteFile("user/data/Tarvik Cards/tarvik", "launcher");
    if (*c.stored != '\0') SetRegString(platform::HKEY_CURRENT_USER, kKey, "RelocatingPath", path_of(c.stored));
    bits_[install_] = c.program_folder_usable ? 15 : 0;
    bits_[copy] = c.copy_usable ? 15 : 0;

    InstallUpkeep* upkeep = InstallUpkeep_Create(Tester());
    ASSERT_EQ(0, InstallUpkeep_Init(upkeep, settings_, false));
    EXPECT_EQ(c.expected, InstallUpkeep_CheckLocation(upkeep)) << c.name;
    const std::string after = path_of(c.stored_after);
    EXPECT_EQ(after.empty() ? "(none)" : after, RegString(platform::HKEY_CURRENT_USER, kKey, "RelocatingPath"))
        << c.name;
    if (c.expected == UPKEEP_GO_TO_COPY) {
      EXPECT_EQ(copy + "/tarvik", upkeep->next_program) << c.name;
    }
    InstallUpkeep_Destroy(upkeep);
  }
}

TEST_F(InstallUpkeepTest, relocation_copies_the_files_and_restarts_there_and_the_copy_goes_on) {
  SetPropagated();
  bits_[install_] = 0;  // read-only here
  EXPECT_FALSE(RunUpkeep());

  const std::string copy = root_ + "/data/Tarvik Cards";
  EXPECT_EQ((std::vector<std::string>{copy, "tarvik.exe", "relocated"}), Restarted());
  EXPECT_EQ(copy, RegString(platform::HKEY_CURRENT_USER, kKey, "RelocatingPath"));
  for (const char* name : {"root.ini", "tarvik", "tvk", "tarvik.ico"}) {
    EXPECT_EQ(folder_.ReadFile(std::string("install/") + name),
              folder_.ReadFile(std::string("user/data/Tarvik Cards/") + name))
        << name;
  }
  EXPECT_FALSE(folder_.Exists("user/data/Tarvik Cards/sounds"));

  // The restarted launcher finds itself where it was copied to and goes on, probing only there.
  ASSERT_EQ(0, ::chdir(copy.c_str()));
  probed_.clear();
  EXPECT_TRUE(RunUpkeep(true));
  EXPECT_EQ(std::vector<std::string>{copy}, probed_);
}

TEST_F(InstallUpkeepTest, with_no_usable_folder_the_default_program_starts_relocated) {
  SetPropagated();
  default_bits_ = 0;
  EXPECT_FALSE(RunUpkeep());
  EXPECT_EQ((std::vector<std::string>{install_, "tvk.exe", "relocated"}), Restarted());
  EXPECT_EQ("(none)", RegString(platform::HKEY_CURRENT_USER, kKey, "RelocatingPath"));
}

TEST_F(InstallUpkeepTest, a_relocated_launcher_never_relocates_again) {
  SetPropagated();
  bits_[install_] = 0;
  EXPECT_TRUE(RunUpkeep(true));
  EXPECT_FALSE(folder_.Exists("user/data/Tarvik Cards"));
  EXPECT_FALSE(folder_.Exists("standin-record.txt"));
  EXPECT_NE(std::string::npos, Log().find("Not relocating again from '" + install_ + "'.\r\n")) << Log();
}

TEST_F(InstallUpkeepTest, a_copy_that_fails_leaves_the_original_running) {
  SetPropagated();
  bits_[install_] = 0;
  // A folder where the copy of "tvk" must go.
  ASSERT_EQ(0, ::mkdir(folder_.PathOf("user/data/Tarvik Cards").c_str(), 0755));
  ASSERT_EQ(0, ::mkdir(folder_.PathOf("user/data/Tarvik Cards/tvk").c_str(), 0755));
  EXPECT_TRUE(RunUpkeep());
  EXPECT_EQ("(none)", RegString(platform::HKEY_CURRENT_USER, kKey, "RelocatingPath"));
  EXPECT_FALSE(folder_.Exists("standin-record.txt"));
  EXPECT_NE(std::string::npos, Log().find("Unable to copy '" + install_ + "/tvk' to '" + root_ + "/data/Tarvik Cards/tvk'.\r\n"))
      << Log();
  char here[4096];
  ASSERT_NE(nullptr, ::getcwd(here, sizeof here));
  EXPECT_EQ(install_, std::string(here));
}

}  // namespace
