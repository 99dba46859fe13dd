#include "platform/system/web_page.h"

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <mutex>
#include <string>

#include "platform/system/system_log.h"
#include "tests/support/temp_program_folder.h"

namespace {

std::mutex log_mutex;
std::string log_text;

void CaptureLog(const char* line) {
  std::lock_guard<std::mutex> lock(log_mutex);
  log_text += line;
}

// The probe stands in for the browser and writes the arguments it was given.
class WebPageTest : public ProgramFolderTest {
 protected:
  void SetUp() override {
    ::setenv("BROWSER", PROCESS_PROBE_PATH, 1);
    ::setenv("PROBE_OUTPUT", folder_.PathOf("browser.txt").c_str(), 1);
    log_text.clear();
    platform::SetSystemLogSink(&CaptureLog);
  }
  void TearDown() override {
    platform::SetSystemLogSink(nullptr);
    ::unsetenv("BROWSER");
    ::unsetenv("PROBE_OUTPUT");
  }
};

TEST_F(WebPageTest, only_http_and_https_addresses_are_opened) {
  const char* refused[] = {
      "",
      "ftp://example.test/file",
      "file:///etc/passwd",
      "javascript:alert(1)",
      "mailto:help@example.test",
      "-http://example.test/",
      "http:/example.test",
      "http://",
      "https:///etc/passwd",
      "http://example.test/a page",
      "http://example.test/\nsecond",
      "/usr/bin/xterm",
  };
  for (const char* url : refused) {
    log_text.clear();
    EXPECT_FALSE(platform::OpenWebPage(url)) << url;
    EXPECT_NE(log_text.find("refused"), std::string::npos) << url;
  }
  EXPECT_FALSE(folder_.Exists("browser.txt"));
}

TEST_F(WebPageTest, address_reaches_the_browser_as_one_argument_untouched_by_any_shell) {
  const std::string urls[] = {
      "https://secure.example.test/cashier?PAGE=PURCHASECHIPS&SID=ab;c$(id)`x`|y&UID=42",
      "HTTP://www.example.test/thegames/holdem.html",
  };
  for (const std::string& url : urls) {
    ASSERT_TRUE(platform::OpenWebPage(url)) << url;
    int status = 0;
    ASSERT_GT(::waitpid(-1, &status, 0), 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    EXPECT_EQ(folder_.ReadFile("browser.txt"), url + "\n");
  }
}

}  // namespace
