#include "platform/system/user_folders.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <map>
#include <optional>
#include <string>

#include "tests/support/temp_program_folder.h"

namespace {

const char* const kVariables[] = {"TVK_CONFIG_ROOT", "HOME",           "XDG_CONFIG_HOME", "XDG_DATA_HOME",
                                  "XDG_RUNTIME_DIR", "XDG_CACHE_HOME", "XDG_DATA_DIRS"};

// Sets the variables of one case and puts the test runner's values back afterwards.
class UserFoldersTest : public ProgramFolderTest {
 protected:
  void SetUp() override {
    for (const char* name : kVariables) {
      const char* value = std::getenv(name);
      saved_[name] = value != nullptr ? std::optional<std::string>(value) : std::nullopt;
    }
  }
  void TearDown() override {
    for (const auto& [name, value] : saved_) Set(name, value);
  }
  static void Set(const std::string& name, const std::optional<std::string>& value) {
    if (value) {
      ::setenv(name.c_str(), value->c_str(), 1);
    } else {
      ::unsetenv(name.c_str());
    }
  }

  std::map<std::string, std::optional<std::string>> saved_;
};

TEST_F(UserFoldersTest, folders_follow_the_test_root_or_the_xdg_rules) {
  const std::string home = folder_.Path() + "home";
  folder_.WriteFile("user-dirs.dirs", "# written by xdg-user-dirs-update\nXDG_DESKTOP_DIR=\"$HOME/Schreibtisch\"\n");
  struct Case {
    const char* what;
    std::map<std::string, std::optional<std::string>> environment;
    std::string config, data, desktop, applications, runtime, home, cache, system_applications;
  };
  const Case cases[] = {
      {"test root",
       {{"TVK_CONFIG_ROOT", "/tmp/root"}, {"HOME", home}},
       "/tmp/root/", "/tmp/root/data/", "/tmp/root/Desktop/", "/tmp/root/applications/", "/tmp/root/run/",
       "/tmp/root/home/", "/tmp/root/cache/", "/tmp/root/system-applications/"},
      {"home defaults",
       {{"TVK_CONFIG_ROOT", std::nullopt}, {"HOME", home}, {"XDG_CONFIG_HOME", std::nullopt},
        {"XDG_DATA_HOME", std::nullopt}, {"XDG_RUNTIME_DIR", "/run/user/1000"}, {"XDG_CACHE_HOME", std::nullopt},
        {"XDG_DATA_DIRS", std::nullopt}},
       home + "/.config/tarvik/", home + "/.local/share/tarvik/", home + "/Desktop/",
       home + "/.local/share/applications/", "/run/user/1000/", home + "/", home + "/.cache/",
       "/usr/local/share/applications/"},
      {"xdg folders, a relative one ignored, desktop from user-dirs.dirs",
       {{"TVK_CONFIG_ROOT", std::nullopt}, {"HOME", home}, {"XDG_CONFIG_HOME", folder_.Path()},
        {"XDG_DATA_HOME", "relative/data"}, {"XDG_RUNTIME_DIR", "/run/user/1000/"}, {"XDG_CACHE_HOME", "/var/cache/u"},
        {"XDG_DATA_DIRS", "share:/usr/share/:/usr/local/share"}},
       folder_.Path() + "tarvik/", home + "/.local/share/tarvik/", home + "/Schreibtisch/",
       home + "/.local/share/applications/", "/run/user/1000/", home + "/", "/var/cache/u/",
       "/usr/share/applications/"},
  };
  for (const Case& c : cases) {
    for (const auto& [name, value] : c.environment) Set(name, value);
    EXPECT_EQ(platform::UserConfigFolder(), c.config) << c.what;
    EXPECT_EQ(platform::UserDataFolder(), c.data) << c.what;
    EXPECT_EQ(platform::UserDesktopFolder(), c.desktop) << c.what;
    EXPECT_EQ(platform::UserApplicationsFolder(), c.applications) << c.what;
    EXPECT_EQ(platform::UserRuntimeFolder(), c.runtime) << c.what;
    EXPECT_EQ(platform::UserHomeFolder(), c.home) << c.what;
    EXPECT_EQ(platform::UserCacheFolder(), c.cache) << c.what;
    EXPECT_EQ(platform::SystemApplicationsFolder(), c.system_applications) << c.what;
  }
  EXPECT_FALSE(platform::GetUserName().empty());
}

TEST_F(UserFoldersTest, missing_folders_are_made_with_their_parents) {
  const std::string deep = folder_.Path() + "a/b/c/";
  EXPECT_TRUE(platform::EnsureFolder(deep));
  EXPECT_TRUE(folder_.Exists("a/b/c"));
  EXPECT_TRUE(platform::EnsureFolder(deep));  // already there
  folder_.WriteFile("file", "x");
  EXPECT_FALSE(platform::EnsureFolder(folder_.Path() + "file/sub"));
}

}  // namespace
