#include "cclient/base/module_log.h"

#include <gtest/gtest.h>

#include "cclient/base/debug_log.h"
#include "tests/support/temp_program_folder.h"

namespace {

class ModuleLogTest : public ProgramFolderTest {
 protected:
  void TearDown() override { DebugLevel = 0; }
  static void CreateRun(int run) {
    ModuleLog log;
    ASSERT_TRUE(log.Open("holdemLog.log", "holdemLog%d.log"));
    log.Write("run %d\n", run);
  }
};

TEST_F(ModuleLogTest, nothing_is_written_at_debug_level_0) {
  DebugLevel = 0;
  ModuleLog log;
  EXPECT_FALSE(log.Open("holdemLog.log", "holdemLog%d.log"));
  log.Write("lost\n");
  EXPECT_FALSE(folder_.Exists("holdemLog.log"));
}

TEST_F(ModuleLogTest, eleven_runs_keep_plain_and_ten_copies_then_oldest_drops) {
  DebugLevel = 100;
  for (int run = 1; run <= 11; ++run) CreateRun(run);
  EXPECT_EQ(folder_.ReadFile("holdemLog.log"), "run 11\r\n");
  for (int n = 0; n <= 9; ++n) {
    EXPECT_EQ(folder_.ReadFile("holdemLog" + std::to_string(n) + ".log"),
              "run " + std::to_string(10 - n) + "\r\n")
        << "copy " << n;
  }
  CreateRun(12);
  EXPECT_EQ(folder_.ReadFile("holdemLog9.log"), "run 2\r\n");
  EXPECT_EQ(folder_.ReadFile("holdemLog0.log"), "run 11\r\n");
}

}  // namespace
