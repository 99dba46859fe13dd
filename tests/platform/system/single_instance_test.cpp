#include "platform/system/single_instance.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdlib>
#include <string>

#include "tests/support/temp_program_folder.h"

namespace {

using platform::SingleInstanceLock;

class SingleInstanceTest : public ProgramFolderTest {
 protected:
  void SetUp() override { ::setenv("TVK_CONFIG_ROOT", folder_.Path().c_str(), 1); }
  void TearDown() override { ::unsetenv("TVK_CONFIG_ROOT"); }
};

// Locks on one file taken through two opens conflict even inside one process, so two objects
// stand for two copies of the program.
TEST_F(SingleInstanceTest, second_copy_is_refused_and_brings_the_first_forward) {
  SingleInstanceLock first;
  SingleInstanceLock second;
  ASSERT_EQ(first.Acquire("TarvikEXEInstanceMutex"), SingleInstanceLock::Result::kAcquired);
  EXPECT_EQ(second.Acquire("TarvikEXEInstanceMutex"), SingleInstanceLock::Result::kHeldElsewhere);
  EXPECT_FALSE(second.Held());
  EXPECT_EQ(second.Acquire("OtherProgram"), SingleInstanceLock::Result::kAcquired);
  second.Release();

  EXPECT_FALSE(first.TakeComeForwardRequest());
  EXPECT_TRUE(SingleInstanceLock::AskHolderToComeForward("TarvikEXEInstanceMutex"));
  EXPECT_TRUE(SingleInstanceLock::AskHolderToComeForward("TarvikEXEInstanceMutex"));
  EXPECT_TRUE(first.TakeComeForwardRequest());  // both requests, taken at once
  EXPECT_FALSE(first.TakeComeForwardRequest());

  first.Release();
  EXPECT_FALSE(SingleInstanceLock::AskHolderToComeForward("TarvikEXEInstanceMutex"));
  EXPECT_EQ(second.Acquire("TarvikEXEInstanceMutex"), SingleInstanceLock::Result::kAcquired);
}

TEST_F(SingleInstanceTest, runtime_folder_open_to_others_is_not_trusted) {
  ASSERT_EQ(::mkdir(folder_.PathOf("run").c_str(), 0777), 0);
  ASSERT_EQ(::chmod(folder_.PathOf("run").c_str(), 0777), 0);
  SingleInstanceLock lock;
  EXPECT_EQ(lock.Acquire("TarvikEXEInstanceMutex"), SingleInstanceLock::Result::kUnavailable);
}

}  // namespace
