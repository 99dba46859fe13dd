#include "platform/system/process.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

#include "platform/system/files.h"
#include "platform/system/single_instance.h"
#include "tests/support/temp_program_folder.h"

namespace {

const std::string kProbe = PROCESS_PROBE_PATH;

// Which of standard input, output and error this process has open, in the form the probe
// writes its list of descriptors.
std::string StandardStreams() {
  std::string text;
  for (int number = 0; number < 3; ++number) {
    if (::fcntl(number, F_GETFD) >= 0) text += std::to_string(number) + " ";
  }
  return text;
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

class ProcessTest : public ProgramFolderTest {
 protected:
  void SetUp() override { ::setenv("TVK_CONFIG_ROOT", (folder_.Path() + "config").c_str(), 1); }
  void TearDown() override { ::unsetenv("TVK_CONFIG_ROOT"); }
};

TEST_F(ProcessTest, spawn_and_wait_returns_the_exit_code) {
  const std::string probe_folder = kProbe.substr(0, kProbe.rfind('/') + 1);
  struct Case {
    std::string program;
    std::vector<std::string> arguments;
    int expected;
  };
  const std::vector<Case> cases = {
      {kProbe, {"probe", "exit", "0"}, 0},
      {kProbe, {"probe", "exit", "7"}, 7},
      {kProbe, {"probe", "exit", "255"}, 255},
      {kProbe, {"probe", "exit 3"}, 3},  // one text, split by the receiver
      {kProbe, {"probe", "sigpipe"}, 0},  // a reader gone is an error, not the end of the program
      {probe_folder + "PROCESS_PROBE.EXE", {"process_probe.exe", "exit", "9"}, 9},
      {folder_.Path() + "missing.exe", {"missing.exe"}, -1},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(platform::SpawnProgramAndWait(c.program, c.arguments), c.expected) << c.program;
  }
}

TEST_F(ProcessTest, spawn_without_waiting_returns_at_once_and_can_be_waited_for_later) {
  const int first = platform::SpawnProgram(kProbe, {"probe", "exit", "4"});
  ASSERT_GT(first, 0);
  // Another start collects finished children; the first one's code is still there to be had.
  EXPECT_EQ(platform::SpawnProgramAndWait(kProbe, {"probe", "exit", "0"}), 0);
  EXPECT_EQ(platform::WaitForProgram(first), 4);
  EXPECT_EQ(platform::WaitForProgram(first), -1);
}

TEST_F(ProcessTest, children_inherit_only_the_standard_streams) {
  // Not what the program opens, nor what a library opened without close-on-exec, nor what the
  // test runner left open.
  const std::string expected = StandardStreams();
  const int library_descriptor = ::open("/dev/null", O_RDONLY);
  ASSERT_GE(library_descriptor, 0);
  std::FILE* file = platform::FileOpen("open.txt", "w");
  ASSERT_NE(file, nullptr);
  platform::SingleInstanceLock lock;
  ASSERT_EQ(lock.Acquire("test"), platform::SingleInstanceLock::Result::kAcquired);

  const std::string report = folder_.PathOf("fds.txt");
  ASSERT_EQ(platform::SpawnProgramAndWait(kProbe, {"probe", "list-fds", report}), 0);
  EXPECT_EQ(Lines(folder_.ReadFile("fds.txt")), std::vector<std::string>{expected});
  std::fclose(file);
  ::close(library_descriptor);
}

TEST_F(ProcessTest, exec_keeps_no_descriptor_and_releases_the_instance_lock) {
  const std::string report = folder_.PathOf("exec.txt");
  ASSERT_EQ(platform::SpawnProgramAndWait(kProbe, {kProbe, "hold-and-exec", report}), 0);
  const std::vector<std::string> lines = Lines(folder_.ReadFile("exec.txt"));
  ASSERT_EQ(lines.size(), 3u) << folder_.ReadFile("exec.txt");
  // What the probe was started with is all the program it became still has, though it held a
  // file, a lock and a descriptor opened without close-on-exec.
  EXPECT_EQ(lines[0].substr(7), lines[1].substr(6)) << lines[0] << " / " << lines[1];
  EXPECT_EQ(lines[2], "lock taken");
}

TEST(CommandLine, arguments_after_the_name_join_with_one_blank) {
  struct Case {
    std::vector<const char*> argv;
    std::string expected;
  };
  const Case cases[] = {
      {{"tarvik.exe"}, ""},
      {{"tvk", "/debuglog"}, "/debuglog"},
      {{"tvk", "/q- abc def"}, "/q- abc def"},
      {{"tvk", "/zparams", "host", "/p8090"}, "/zparams host /p8090"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(platform::CommandLineText(static_cast<int>(c.argv.size()), c.argv.data()), c.expected);
  }
}

}  // namespace
