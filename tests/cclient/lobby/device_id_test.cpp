#include "cclient/lobby/device_id.h"

#include <dlfcn.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "tests/cclient/lobby/lobby_test_support.h"
#include "tests/support/temp_program_folder.h"

namespace {

const std::string kKey = kDeviceIdFixedKey;

std::vector<uint8_t> Response(uint8_t number, const std::string& text) {
  const auto declared = static_cast<uint16_t>(text.size() + 1);
  std::vector<uint8_t> bytes{number, 0, static_cast<uint8_t>(declared >> 8), static_cast<uint8_t>(declared)};
  bytes.insert(bytes.end(), text.begin(), text.end());
  bytes.push_back(0);
  bytes.push_back(0xFF);  // the trailing spare byte
  return bytes;
}

class DeviceIdTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ::unsetenv("DEVIDENT_TEST_VERSION");
    ::unsetenv("DEVIDENT_TEST_STRING");
    ::unsetenv("DEVIDENT_TEST_NO_REGISTER");
  }
  void TearDown() override {
    device_.Shutdown();
    if (component_ != nullptr) ::dlclose(component_);
  }
  // Starts `device_` with the stand-in component and keeps a handle for reading what it got.
  void StartWithStandIn() {
    device_.Start(DEVIDENT_TEST_COMPONENT_PATH);
    component_ = ::dlopen(DEVIDENT_TEST_COMPONENT_PATH, RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE(component_, nullptr);
    take_ = reinterpret_cast<const char* (*)()>(::dlsym(component_, "DeviceIdentTest_TakeResponses"));
    ASSERT_NE(take_, nullptr);
  }
  std::string Handed() { return take_(); }
  int Handle(const std::vector<uint8_t>& payload) {
    return device_.HandleResponse(payload.data(), static_cast<uint32_t>(payload.size()));
  }

  RecordingLobby lobby_;
  DeviceIdClass device_;
  void* component_ = nullptr;
  const char* (*take_)() = nullptr;
};

TEST_F(DeviceIdTest, request_golden_bytes) {
  EXPECT_EQ(DeviceId_BuildRequest(3, "abc"), (std::vector<uint8_t>{3, 0, 0, 4, 'a', 'b', 'c', 0}));
  const std::vector<uint8_t> long_request = DeviceId_BuildRequest(255, std::string(300, 'z').c_str());
  ASSERT_EQ(long_request.size(), 305u);
  EXPECT_EQ(long_request[2], 0x01);
  EXPECT_EQ(long_request[3], 0x2D);
}

TEST_F(DeviceIdTest, string_goes_out_after_sign_in_and_the_answer_comes_back) {
  StartWithStandIn();
  ASSERT_TRUE(device_.IsComponentReady());
  device_.SendDeviceString();
  EXPECT_EQ(lobby_.sent, (std::vector<LobbySent>{{1117, DeviceId_BuildRequest(0, "device-string-1")}}));
  EXPECT_TRUE(device_.IsResponseAwaited());
  EXPECT_EQ(Handle(Response(0, "welcome back")), 0);
  EXPECT_EQ(Handed(), "welcome back|");
  EXPECT_EQ(device_.RequestNumber(), 1);
  EXPECT_FALSE(device_.IsResponseAwaited());
  EXPECT_EQ(Handle(Response(1, "late")), 0) << "nothing awaited: ignored";
  EXPECT_EQ(Handed(), "");
}

TEST_F(DeviceIdTest, a_bad_answer_hands_over_the_fixed_key_and_still_advances) {
  StartWithStandIn();
  std::vector<uint8_t> not_terminated = Response(0, "abc");
  not_terminated[7] = 'd';  // the NUL
  std::vector<uint8_t> no_trailing = Response(0, "abc");
  no_trailing.pop_back();
  struct Case {
    const char* name;
    std::vector<uint8_t> payload;
    int result;
    std::string handed;
  } const cases[] = {
      {"another request number", Response(7, "abc"), 1, kKey},
      {"text without its NUL", not_terminated, 1, kKey},
      {"no trailing byte", no_trailing, 1, kKey},
      {"zero text length", {0, 0, 0, 0, 0}, 1, kKey},
      {"length beyond the packet", {0, 0, 0, 9, 'a', 0, 0}, 1, kKey},
      {"empty packet: answer missing", {}, 0, kKey},
      {"good, with bytes after it", [] { auto b = Response(0, "ok"); b.push_back(1); return b; }(), 0, "ok"},
  };
  uint8_t number = 0;
  for (const Case& c : cases) {
    device_.SendDeviceString();
    ASSERT_EQ(lobby_.sent.back().payload[0], number) << c.name;
    std::vector<uint8_t> payload = c.payload;
    if (!payload.empty() && std::string(c.name) != "another request number") payload[0] = number;
    EXPECT_EQ(device_.HandleResponse(payload.empty() ? nullptr : payload.data(),
                                     static_cast<uint32_t>(payload.size())),
              c.result)
        << c.name;
    EXPECT_EQ(Handed(), c.handed + "|") << c.name;
    EXPECT_EQ(device_.RequestNumber(), ++number) << c.name;
  }
}

TEST_F(DeviceIdTest, two_sign_ins_without_an_answer_and_exit_with_one_outstanding) {
  StartWithStandIn();
  device_.SendDeviceString();
  device_.SendDeviceString();
  EXPECT_EQ(Handed(), kKey + "|") << "the first request is closed before the second goes";
  EXPECT_EQ(lobby_.sent, (std::vector<LobbySent>{{1117, DeviceId_BuildRequest(0, "device-string-1")},
                                                 {1117, DeviceId_BuildRequest(1, "device-string-1")}}));
  device_.Shutdown();
  EXPECT_EQ(Handed(), kKey + "|");
  device_.Shutdown();
  EXPECT_EQ(Handed(), "") << "handed over once";
}

TEST_F(DeviceIdTest, without_a_working_component_nothing_is_sent) {
  struct Case {
    const char* name;
    const char* path;
    const char* variable;
    const char* value;
  } const cases[] = {
      {"no library", "/nonexistent/devident.so", nullptr, nullptr},
      {"another version", DEVIDENT_TEST_COMPONENT_PATH, "DEVIDENT_TEST_VERSION", "2.10.0023"},
      {"registration fails", DEVIDENT_TEST_COMPONENT_PATH, "DEVIDENT_TEST_NO_REGISTER", "1"},
      {"empty device string", DEVIDENT_TEST_COMPONENT_PATH, "DEVIDENT_TEST_STRING", ""},
  };
  for (const Case& c : cases) {
    if (c.variable != nullptr) ::setenv(c.variable, c.value, 1);
    DeviceIdClass device;
    device.Start(c.path);
    device.SendDeviceString();
    EXPECT_TRUE(lobby_.sent.empty()) << c.name;
    EXPECT_EQ(device.HandleResponse(nullptr, 0), 0) << c.name;
    EXPECT_EQ(device.RequestNumber(), 0) << c.name;
    device.Shutdown();
    if (c.variable != nullptr) ::unsetenv(c.variable);
  }
}

TEST_F(DeviceIdTest, the_component_derives_a_string_that_does_not_show_the_machine_id) {
  TempProgramFolder folder;
  folder.WriteFile("machine-id", "0123456789abcdef0123456789abcdef\n");
  folder.WriteFile("other-id", "fedcba9876543210fedcba9876543210\n");
  ::setenv("DEVIDENT_MACHINE_ID_FILE", folder.PathOf("machine-id").c_str(), 1);
  device_.Start(DEVIDENT_COMPONENT_PATH);
  ASSERT_TRUE(device_.IsComponentReady()) << "version 2.10.0022";
  device_.SendDeviceString();
  device_.SendDeviceString();
  ASSERT_EQ(lobby_.sent.size(), 2u);
  const std::string first(lobby_.sent[0].payload.begin() + 4, lobby_.sent[0].payload.end() - 1);
  const std::string again(lobby_.sent[1].payload.begin() + 4, lobby_.sent[1].payload.end() - 1);
  EXPECT_EQ(first.size(), 64u);
  EXPECT_EQ(first.find_first_not_of("0123456789abcdef"), std::string::npos);
  EXPECT_EQ(first, again) << "the same machine gives the same string";
  EXPECT_EQ(first.find("0123456789abcdef"), std::string::npos);

  ::setenv("DEVIDENT_MACHINE_ID_FILE", folder.PathOf("other-id").c_str(), 1);
  device_.SendDeviceString();
  const std::string other(lobby_.sent[2].payload.begin() + 4, lobby_.sent[2].payload.end() - 1);
  EXPECT_NE(other, first);

  ::setenv("DEVIDENT_MACHINE_ID_FILE", folder.PathOf("missing").c_str(), 1);
  device_.SendDeviceString();
  EXPECT_EQ(lobby_.sent.size(), 3u) << "no machine id: no string";
  ::unsetenv("DEVIDENT_MACHINE_ID_FILE");
}

}  // namespace
