#include "cclient/base/debug_log.h"

#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

#include "tests/support/temp_program_folder.h"

namespace {

class DebugLogTest : public ProgramFolderTest {
 protected:
  void SetUp() override { DebugLevel = 0; }
  void TearDown() override { DebugLevel = 0; }
};

TEST_F(DebugLogTest, init_deletes_old_log_and_uses_full_path) {
  folder_.WriteFile("tvk.log", "old run\r\n");
  DebugLog_Init("tvk.log");
  EXPECT_FALSE(folder_.Exists("tvk.log"));
  EXPECT_EQ(std::string(DebugLog_GetPath()), folder_.PathOf("tvk.log"));
}

TEST_F(DebugLogTest, levelled_lines_follow_debug_level_and_end_in_crlf) {
  DebugLog_Init("tvk.log");
  DebugLog_Write("always %d\n", 1);
  DebugLog_WriteLevel(1, "trace\n");
  DebugLevel = 100;
  DebugLog_WriteLevel(1, "trace %s\n", "now");
  DebugLog_WriteLevel(101, "too detailed\n");
  EXPECT_EQ(folder_.ReadFile("tvk.log"), "always 1\r\ntrace now\r\n");
}

TEST_F(DebugLogTest, lines_from_several_threads_never_interleave) {
  DebugLog_Init("tvk.log");
  const std::string body(200, 'x');
  std::vector<std::thread> threads;
  for (int t = 0; t < 4; ++t) {
    threads.emplace_back([&body, t] {
      for (int i = 0; i < 100; ++i) DebugLog_Write("%d %s\n", t, body.c_str());
    });
  }
  for (auto& th : threads) th.join();
  const std::string log = folder_.ReadFile("tvk.log");
  size_t lines = 0;
  for (size_t at = 0; at < log.size();) {
    const size_t end = log.find("\r\n", at);
    ASSERT_NE(end, std::string::npos);
    EXPECT_EQ(log.substr(at + 2, end - at - 2), body);
    at = end + 2;
    ++lines;
  }
  EXPECT_EQ(lines, 400u);
}

}  // namespace
