#include "platform/system/registry.h"

#include <gtest/gtest.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>

#include <cstdlib>
#include <mutex>
#include <string>
#include <vector>

#include "platform/system/system_log.h"
#include "tests/support/temp_program_folder.h"

extern char** environ;

namespace {

using namespace platform;

std::mutex log_mutex;
std::string log_text;

void CaptureLog(const char* line) {
  std::lock_guard<std::mutex> lock(log_mutex);
  log_text += line;
}

struct StoredValue {
  int32_t result = -1;
  uint32_t type = 0;
  std::string bytes;
};

StoredValue Query(HKEY key, const char* name) {
  StoredValue value;
  uint32_t size = 0;
  value.result = RegQueryValueEx(key, name, nullptr, &value.type, nullptr, &size);
  if (value.result != ERROR_SUCCESS) return value;
  value.bytes.resize(size);
  value.result = RegQueryValueEx(key, name, nullptr, &value.type,
                                 reinterpret_cast<uint8_t*>(value.bytes.data()), &size);
  return value;
}

int32_t Set(HKEY key, const char* name, uint32_t type, const std::string& bytes) {
  return RegSetValueEx(key, name, 0, type, reinterpret_cast<const uint8_t*>(bytes.data()),
                       static_cast<uint32_t>(bytes.size()));
}

std::string Dword(uint32_t value) { return std::string(reinterpret_cast<const char*>(&value), 4); }

HKEY Create(HKEY root, const char* path) {
  HKEY key = nullptr;
  EXPECT_EQ(RegCreateKeyEx(root, path, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, nullptr, &key,
                           nullptr),
            ERROR_SUCCESS)
      << path;
  return key;
}

class RegistryTest : public ProgramFolderTest {
 protected:
  void SetUp() override {
    config_ = folder_.Path() + "config/";
    ::setenv("TVK_CONFIG_ROOT", config_.c_str(), 1);
    log_text.clear();
    SetSystemLogSink(&CaptureLog);
  }
  void TearDown() override {
    SetSystemLogSink(nullptr);
    ::unsetenv("TVK_CONFIG_ROOT");
  }

  std::string config_;
};

TEST_F(RegistryTest, typed_values_round_trip_through_the_file) {
  struct Case {
    const char* name;
    uint32_t type;
    std::string bytes;
  };
  const std::vector<Case> cases = {
      {"TimerRate", REG_DWORD, Dword(0xDEADBEEF)},
      {"DefaultUserName", REG_SZ, std::string("USERNAME\0", 9)},
      {"CheckSum", REG_BINARY, std::string("\x00\x01\xFF\x7F%\"\n", 7) + std::string(14, '\0')},
      {"Empty binary", REG_BINARY, std::string()},
      {"Odd \"name\" = 100%", REG_SZ, std::string("quote \" percent % tab \t\r\n\0", 27)},
      {"", REG_SZ, std::string("the default value\0", 18)},
  };
  HKEY key = Create(HKEY_CURRENT_USER, "SOFTWARE\\Gaming\\Options");
  for (const Case& c : cases) ASSERT_EQ(Set(key, c.name, c.type, c.bytes), ERROR_SUCCESS) << c.name;
  RegCloseKey(key);

  ASSERT_EQ(RegOpenKeyEx(HKEY_CURRENT_USER, "SOFTWARE\\Gaming\\Options", 0, KEY_READ, &key), ERROR_SUCCESS);
  for (const Case& c : cases) {
    const StoredValue stored = Query(key, c.name);
    EXPECT_EQ(stored.result, ERROR_SUCCESS) << c.name;
    EXPECT_EQ(stored.type, c.type) << c.name;
    EXPECT_EQ(stored.bytes, c.bytes) << c.name;
  }
  // A buffer one byte short is refused with the size needed, and left as it was.
  uint8_t buffer[8] = {0};
  uint32_t size = 3;
  EXPECT_EQ(RegQueryValueEx(key, "TimerRate", nullptr, nullptr, buffer, &size), ERROR_MORE_DATA);
  EXPECT_EQ(size, 4u);
  EXPECT_EQ(buffer[0], 0);
  RegCloseKey(key);

  struct stat info {};
  ASSERT_EQ(::stat((config_ + "user.reg").c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0600u);
}

TEST_F(RegistryTest, hand_written_file_in_the_documented_form_is_read) {
  ASSERT_EQ(::mkdir(config_.c_str(), 0700), 0);
  folder_.WriteFile("config/user.reg",
                    "TVKREG 1\n"
                    "key \"SOFTWARE\\Gaming\\Install2\"\n"
                    "value \"LatestConnectedServerID\" dword 0000000C\n"
                    "value \"Name\" sz \"abc%00\"\n"
                    "value \"1\" binary \"8D1F01\"\n"
                    "end\n");
  HKEY key = nullptr;
  ASSERT_EQ(RegOpenKeyEx(HKEY_CURRENT_USER, "SOFTWARE\\Gaming\\Install2", 0, KEY_READ, &key), ERROR_SUCCESS);
  EXPECT_EQ(Query(key, "LatestConnectedServerID").bytes, Dword(12));
  EXPECT_EQ(Query(key, "Name").bytes, std::string("abc\0", 4));
  const StoredValue binary = Query(key, "1");
  EXPECT_EQ(binary.type, static_cast<uint32_t>(REG_BINARY));
  EXPECT_EQ(binary.bytes, std::string("\x8D\x1F\x01", 3));
  RegCloseKey(key);
}

TEST_F(RegistryTest, key_paths_and_value_names_ignore_letter_case) {
  HKEY key = Create(HKEY_CURRENT_USER, "SOFTWARE\\Gaming\\Options");
  ASSERT_EQ(Set(key, "TimerRate", REG_DWORD, Dword(3)), ERROR_SUCCESS);
  ASSERT_EQ(Set(key, "TIMERRATE", REG_DWORD, Dword(4)), ERROR_SUCCESS);  // the same value
  RegCloseKey(key);

  uint32_t disposition = 0;
  ASSERT_EQ(RegCreateKeyEx(HKEY_CURRENT_USER, "software\\GAMING\\options", 0, nullptr, 0, KEY_READ, nullptr,
                           &key, &disposition),
            ERROR_SUCCESS);
  EXPECT_EQ(disposition, static_cast<uint32_t>(REG_OPENED_EXISTING_KEY));
  EXPECT_EQ(Query(key, "timerrate").bytes, Dword(4));
  char name[32];
  uint32_t name_size = sizeof name;
  ASSERT_EQ(RegEnumValue(key, 0, name, &name_size, nullptr, nullptr, nullptr, nullptr), ERROR_SUCCESS);
  EXPECT_STREQ(name, "TimerRate");  // the case it was created with
  EXPECT_EQ(RegEnumValue(key, 1, name, &name_size, nullptr, nullptr, nullptr, nullptr), ERROR_NO_MORE_ITEMS);
  RegCloseKey(key);

  ASSERT_EQ(RegOpenKeyEx(HKEY_CURRENT_USER, "Software\\gaming", 0, KEY_READ, &key), ERROR_SUCCESS);
  name_size = sizeof name;
  ASSERT_EQ(RegEnumKeyEx(key, 0, name, &name_size, nullptr, nullptr, nullptr, nullptr), ERROR_SUCCESS);
  EXPECT_STREQ(name, "Options");
  RegCloseKey(key);
}

TEST_F(RegistryTest, enumeration_lists_values_in_creation_order_and_subkeys_by_name) {
  HKEY parent = Create(HKEY_CURRENT_USER, "SOFTWARE\\Gaming");
  for (const char* sub : {"Options", "install2", "Install", "Blocked"}) RegCloseKey(Create(parent, sub));
  HKEY key = Create(parent, "Install2");
  ASSERT_EQ(Set(key, "250", REG_BINARY, std::string(131, 'x')), ERROR_SUCCESS);
  ASSERT_EQ(Set(key, "1", REG_BINARY, std::string(131, 'y')), ERROR_SUCCESS);
  ASSERT_EQ(Set(key, "LatestConnectedServerID", REG_DWORD, Dword(1)), ERROR_SUCCESS);

  const std::vector<std::pair<std::string, uint32_t>> expected_values = {
      {"250", REG_BINARY}, {"1", REG_BINARY}, {"LatestConnectedServerID", REG_DWORD}};
  for (uint32_t i = 0; i <= expected_values.size(); ++i) {
    char name[32];
    uint32_t name_size = sizeof name;
    uint32_t type = 0;
    uint32_t data_size = 0;
    const int32_t result = RegEnumValue(key, i, name, &name_size, nullptr, &type, nullptr, &data_size);
    if (i == expected_values.size()) {
      EXPECT_EQ(result, ERROR_NO_MORE_ITEMS);
      break;
    }
    ASSERT_EQ(result, ERROR_SUCCESS) << i;
    EXPECT_EQ(name, expected_values[i].first);
    EXPECT_EQ(type, expected_values[i].second);
    EXPECT_EQ(data_size, type == REG_DWORD ? 4u : 131u);
  }
  char short_name[4];
  uint32_t short_size = sizeof short_name;
  EXPECT_EQ(RegEnumValue(key, 2, short_name, &short_size, nullptr, nullptr, nullptr, nullptr), ERROR_MORE_DATA);
  RegCloseKey(key);

  std::vector<std::string> subkeys;
  for (uint32_t i = 0;; ++i) {
    char name[32];
    uint32_t name_size = sizeof name;
    if (RegEnumKeyEx(parent, i, name, &name_size, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
    subkeys.push_back(name);
  }
  // "install2" and "Install2" are one key, named as first created.
  EXPECT_EQ(subkeys, (std::vector<std::string>{"Blocked", "Install", "install2", "Options"}));
  RegCloseKey(parent);
}

TEST_F(RegistryTest, deletes_and_refusals) {
  HKEY gaming = Create(HKEY_CURRENT_USER, "SOFTWARE\\Gaming");
  HKEY options = Create(gaming, "Options");
  ASSERT_EQ(Set(options, "DisableSound", REG_DWORD, Dword(1)), ERROR_SUCCESS);
  HKEY read_only = nullptr;
  ASSERT_EQ(RegOpenKeyEx(gaming, "Options", 0, KEY_READ, &read_only), ERROR_SUCCESS);
  HKEY reopened = nullptr;

  struct Case {
    const char* what;
    int32_t result;
    int32_t expected;
  };
  const Case cases[] = {
      {"write through a read-only handle", Set(read_only, "X", REG_DWORD, Dword(1)), ERROR_ACCESS_DENIED},
      {"DWORD of 3 bytes", Set(options, "X", REG_DWORD, "abc"), ERROR_INVALID_PARAMETER},
      {"unknown type", Set(options, "X", 7, "abc"), ERROR_INVALID_PARAMETER},
      {"delete a missing value", RegDeleteValue(options, "Missing"), ERROR_FILE_NOT_FOUND},
      {"delete a key with sub-keys", RegDeleteKey(HKEY_CURRENT_USER, "SOFTWARE\\Gaming"), ERROR_ACCESS_DENIED},
      {"delete a missing key", RegDeleteKey(gaming, "Missing"), ERROR_FILE_NOT_FOUND},
      {"delete a value", RegDeleteValue(options, "disablesound"), ERROR_SUCCESS},
      {"query the deleted value", Query(options, "DisableSound").result, ERROR_FILE_NOT_FOUND},
      {"delete a leaf key", RegDeleteKey(gaming, "OPTIONS"), ERROR_SUCCESS},
      {"write to the deleted key", Set(options, "X", REG_DWORD, Dword(1)), ERROR_KEY_DELETED},
      {"open the deleted key", RegOpenKeyEx(gaming, "Options", 0, KEY_READ, &reopened), ERROR_FILE_NOT_FOUND},
  };
  for (const Case& c : cases) EXPECT_EQ(c.result, c.expected) << c.what;
  EXPECT_EQ(reopened, nullptr);
  RegCloseKey(read_only);
  RegCloseKey(options);
  RegCloseKey(gaming);
}

TEST_F(RegistryTest, current_user_and_local_machine_are_kept_apart) {
  HKEY user = Create(HKEY_CURRENT_USER, "SOFTWARE\\Gaming\\Install2");
  HKEY machine = Create(HKEY_LOCAL_MACHINE, "SOFTWARE\\Gaming\\Install2");
  ASSERT_EQ(Set(user, "LatestConnectedServerID", REG_DWORD, Dword(1)), ERROR_SUCCESS);
  ASSERT_EQ(Set(machine, "LatestConnectedServerID", REG_DWORD, Dword(2)), ERROR_SUCCESS);
  EXPECT_EQ(Query(user, "LatestConnectedServerID").bytes, Dword(1));
  EXPECT_EQ(Query(machine, "LatestConnectedServerID").bytes, Dword(2));
  RegCloseKey(user);
  RegCloseKey(machine);
  struct stat info {};
  ASSERT_EQ(::stat((config_ + "machine.reg").c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0600u);
}

TEST_F(RegistryTest, damaged_file_is_kept_aside_reported_and_never_overwritten) {
  const std::string good = "TVKREG 1\nkey \"A\"\nvalue \"V\" dword 00000001\nend\n";
  struct Case {
    const char* what;
    std::string bytes;
  };
  const std::vector<Case> cases = {
      {"not a registry file", "hello\n"},
      {"empty", ""},
      {"cut before its end line", good.substr(0, good.size() - 4)},
      {"cut inside a line", good.substr(0, 30)},
      {"bad hexadecimal", "TVKREG 1\nkey \"A\"\nvalue \"V\" binary \"0G\"\nend\n"},
      {"short DWORD", "TVKREG 1\nkey \"A\"\nvalue \"V\" dword 0001\nend\n"},
      {"value before any key", "TVKREG 1\nvalue \"V\" dword 00000001\nend\n"},
      {"the same value twice", "TVKREG 1\nkey \"A\"\nvalue \"V\" sz \"\"\nvalue \"v\" sz \"\"\nend\n"},
      {"lines after the end", good + "key \"B\"\n"},
  };
  ASSERT_EQ(::mkdir(config_.c_str(), 0700), 0);
  for (size_t i = 0; i < cases.size(); ++i) {
    const Case& c = cases[i];
    folder_.WriteFile("config/user.reg", c.bytes);
    log_text.clear();
    HKEY key = nullptr;
    EXPECT_EQ(RegOpenKeyEx(HKEY_CURRENT_USER, "A", 0, KEY_READ, &key), ERROR_FILE_NOT_FOUND) << c.what;
    // Each damaged file gets its own name beside the store; none replaces an earlier one.
    const std::string aside = "config/user.reg.damaged" + (i == 0 ? std::string() : std::to_string(i));
    EXPECT_TRUE(folder_.Exists(aside)) << c.what;
    EXPECT_EQ(folder_.ReadFile(aside), c.bytes) << c.what;
    EXPECT_NE(log_text.find("damaged"), std::string::npos) << c.what;
    // The store goes on empty and saves a good file.
    key = Create(HKEY_CURRENT_USER, "A");
    EXPECT_EQ(Set(key, "V", REG_DWORD, Dword(1)), ERROR_SUCCESS) << c.what;
    RegCloseKey(key);
    EXPECT_EQ(folder_.ReadFile("config/user.reg"), good) << c.what;
  }
}

TEST_F(RegistryTest, two_processes_saving_at_once_keep_all_their_values) {
  constexpr int kValues = 40;
  const std::vector<std::string> writers = {"First", "Second"};
  std::vector<pid_t> children;
  for (const std::string& name : writers) {
    const std::string count = std::to_string(kValues);
    std::vector<char*> argv = {const_cast<char*>(PROCESS_PROBE_PATH), const_cast<char*>("registry-writer"),
                               const_cast<char*>(name.c_str()), const_cast<char*>(count.c_str()), nullptr};
    pid_t pid = 0;
    ASSERT_EQ(::posix_spawn(&pid, PROCESS_PROBE_PATH, nullptr, nullptr, argv.data(), environ), 0);
    children.push_back(pid);
  }
  for (const pid_t pid : children) {
    int status = 0;
    ASSERT_EQ(::waitpid(pid, &status, 0), pid);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "writer failed, status " << status;
  }
  HKEY shared = nullptr;
  ASSERT_EQ(RegOpenKeyEx(HKEY_CURRENT_USER, "Concurrent\\Shared", 0, KEY_READ, &shared), ERROR_SUCCESS);
  for (const std::string& name : writers) {
    HKEY own = nullptr;
    ASSERT_EQ(RegOpenKeyEx(HKEY_CURRENT_USER, ("Concurrent\\" + name).c_str(), 0, KEY_READ, &own), ERROR_SUCCESS);
    for (int i = 0; i < kValues; ++i) {
      EXPECT_EQ(Query(own, ("V" + std::to_string(i)).c_str()).bytes, Dword(i)) << name << " " << i;
      EXPECT_EQ(Query(shared, (name + "-" + std::to_string(i)).c_str()).bytes, Dword(i)) << name << " " << i;
    }
    RegCloseKey(own);
  }
  RegCloseKey(shared);
}

}  // namespace
