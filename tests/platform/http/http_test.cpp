#include "platform/http/http.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "platform/http/connected_state.h"
#include "platform/system/process.h"
#include "tests/support/temp_program_folder.h"
#include "tests/support/loopback_http_server.h"

namespace {

using platform::HttpError;
using Answer = LoopbackHttpServer::Answer;

struct Fetched {
  bool opened = false;
  HttpError error = HttpError::kNone;  // of the open or of the failed read
  int status = 0;
  std::optional<uint64_t> content_length;
  std::optional<int64_t> last_modified;
  std::string body;
  bool body_complete = false;
};

// Reads a URL the way the program's downloads do: open, query, read 16 KB at a time.
Fetched Fetch(const std::string& url, uint32_t receive_timeout_ms = 30000, std::atomic<bool>* cancel = nullptr,
              size_t cancel_after_bytes = SIZE_MAX) {
  Fetched result;
  platform::HINTERNET session = platform::InternetOpen("TvkEXE");
  EXPECT_NE(session, nullptr);
  EXPECT_TRUE(platform::InternetSetOption(session, platform::INTERNET_OPTION_DATA_RECEIVE_TIMEOUT,
                                          receive_timeout_ms));
  platform::HINTERNET request = platform::InternetOpenUrl(session, url.c_str(), "Accept: */*\r\n\r\n", cancel);
  if (request == nullptr) {
    result.error = platform::HttpLastError();
    platform::InternetCloseHandle(session);
    return result;
  }
  result.opened = true;
  result.status = platform::HttpQueryStatusCode(request);
  uint64_t length = 0;
  if (platform::HttpQueryContentLength(request, &length)) result.content_length = length;
  int64_t modified = 0;
  if (platform::HttpQueryLastModified(request, &modified)) result.last_modified = modified;
  char buffer[16384];
  for (;;) {
    if (cancel != nullptr && result.body.size() >= cancel_after_bytes) cancel->store(true);
    uint32_t read = 0;
    if (!platform::InternetReadFile(request, buffer, sizeof buffer, &read)) {
      result.error = platform::HttpLastError();
      break;
    }
    if (read == 0) {
      result.body_complete = true;
      break;
    }
    result.body.append(buffer, read);
  }
  platform::InternetCloseHandle(request);
  platform::InternetCloseHandle(session);
  return result;
}

std::string Pattern(size_t size) {
  std::string bytes(size, '\0');
  for (size_t i = 0; i < size; ++i) bytes[i] = static_cast<char>((i * 7 + i / 251) & 0xFF);
  return bytes;
}

class HttpTest : public ::testing::Test {
 protected:
  void SetUp() override {
    // Loopback only: a proxy from the environment must not come between.
    for (const char* name : {"http_proxy", "HTTP_PROXY", "https_proxy", "HTTPS_PROXY", "all_proxy", "ALL_PROXY"}) {
      ::unsetenv(name);
    }
  }
};

TEST_F(HttpTest, answers_come_back_with_status_headers_and_body_whatever_the_status) {
  const std::string big = Pattern(100000);
  const std::string not_found = "<html><body>No such page</body></html>";
  LoopbackHttpServer server;
  ASSERT_TRUE(server.Start([&](const LoopbackHttpServer::Request& request) -> Answer {
    using S = LoopbackHttpServer;
    if (request.path == "/big.a") {
      // 1,000,000,000 seconds after the epoch is this date.
      return {S::Response(200, "OK", {"Last-Modified: Sun, 09 Sep 2001 01:46:40 GMT"}, big)};
    }
    if (request.path == "/unsized.txt") return {S::Response(200, "OK", {}, "line one\nline two\n", false)};
    if (request.path == "/old") return {S::Response(302, "Found", {"Location: /new"}, "<html>moved</html>")};
    if (request.path == "/new") return {S::Response(200, "OK", {}, "moved here")};
    if (request.path == "/empty") return {S::Response(200, "OK", {}, "")};
    return {S::Response(404, "Not Found", {}, not_found)};
  }));

  struct Case {
    const char* path;
    int status;
    std::string body;
    std::optional<uint64_t> content_length;
    std::optional<int64_t> last_modified;
  };
  const std::vector<Case> cases = {
      {"/big.a", 200, big, big.size(), 1000000000},
      {"/unsized.txt", 200, "line one\nline two\n", std::nullopt, std::nullopt},
      {"/missing.a", 404, not_found, not_found.size(), std::nullopt},
      {"/old", 200, "moved here", 10, std::nullopt},
      {"/empty", 200, "", 0, std::nullopt},
  };
  for (const Case& c : cases) {
    const Fetched fetched = Fetch(server.Url(c.path));
    ASSERT_TRUE(fetched.opened) << c.path;
    EXPECT_TRUE(fetched.body_complete) << c.path;
    EXPECT_EQ(fetched.status, c.status) << c.path;
    EXPECT_EQ(fetched.body, c.body) << c.path;
    EXPECT_EQ(fetched.content_length, c.content_length) << c.path;
    EXPECT_EQ(fetched.last_modified, c.last_modified) << c.path;
  }

  // Every request asks past any cache for a fresh copy, with the caller's header and agent.
  const std::vector<LoopbackHttpServer::Request> requests = server.Requests();
  ASSERT_EQ(requests.size(), cases.size() + 1);  // the redirect took two
  EXPECT_EQ(requests[3].path, "/old");
  EXPECT_EQ(requests[4].path, "/new");
  for (const LoopbackHttpServer::Request& request : requests) {
    EXPECT_EQ(request.method, "GET");
    auto header = [&](const char* name) {
      const auto found = request.headers.find(name);
      return found == request.headers.end() ? std::string("(none)") : found->second;
    };
    EXPECT_EQ(header("cache-control"), "no-cache") << request.path;
    EXPECT_EQ(header("pragma"), "no-cache") << request.path;
    EXPECT_EQ(header("accept"), "*/*") << request.path;
    EXPECT_EQ(header("user-agent"), "TvkEXE") << request.path;
  }
}

TEST_F(HttpTest, silence_longer_than_the_receive_time_out_fails_the_wait) {
  const std::string answer = LoopbackHttpServer::Response(200, "OK", {}, std::string(100, 'b'));
  const size_t head = answer.size() - 100;
  LoopbackHttpServer server;
  ASSERT_TRUE(server.Start([&](const LoopbackHttpServer::Request& request) -> Answer {
    if (request.path == "/no-headers") return {answer, 0};
    return {answer, head + 10};  // headers and 10 bytes of the body, then silence
  }));

  const Fetched before_headers = Fetch(server.Url("/no-headers"), 300);
  EXPECT_FALSE(before_headers.opened);
  EXPECT_EQ(before_headers.error, HttpError::kTimedOut);

  const Fetched in_body = Fetch(server.Url("/part"), 300);
  ASSERT_TRUE(in_body.opened);
  EXPECT_EQ(in_body.status, 200);
  EXPECT_EQ(in_body.body, std::string(10, 'b'));
  EXPECT_FALSE(in_body.body_complete);
  EXPECT_EQ(in_body.error, HttpError::kTimedOut);
}

// The time-out here is far longer than the test's own limit: only the cancel flag can end it.
TEST_F(HttpTest, cancel_flag_ends_a_waiting_request) {
  const std::string answer = LoopbackHttpServer::Response(200, "OK", {}, std::string(50000, 'c'));
  LoopbackHttpServer server;
  ASSERT_TRUE(server.Start([&](const LoopbackHttpServer::Request&) -> Answer {
    return {answer, answer.size() - 20000};
  }));

  std::atomic<bool> cancel{false};
  const Fetched cancelled = Fetch(server.Url("/upgrade.ini"), 600000, &cancel, 1);
  ASSERT_TRUE(cancelled.opened);
  EXPECT_FALSE(cancelled.body_complete);
  EXPECT_EQ(cancelled.error, HttpError::kCancelled);
  EXPECT_LT(cancelled.body.size(), 50000u);

  std::atomic<bool> raised{true};
  const Fetched never_opened = Fetch(server.Url("/upgrade.ini"), 600000, &raised);
  EXPECT_FALSE(never_opened.opened);
  EXPECT_EQ(never_opened.error, HttpError::kCancelled);
}

// The HTTP library keeps sockets of its own open during a request; a program started meanwhile
// (a browser, the launcher) must inherit none of them.
TEST_F(HttpTest, programs_started_during_a_request_inherit_none_of_its_sockets) {
  const std::string answer = LoopbackHttpServer::Response(200, "OK", {}, std::string(100, 'b'));
  LoopbackHttpServer server;
  ASSERT_TRUE(server.Start([&](const LoopbackHttpServer::Request&) -> Answer { return {answer, answer.size() - 50}; }));
  platform::HINTERNET session = platform::InternetOpen("TvkEXE");
  platform::HINTERNET request = platform::InternetOpenUrl(session, server.Url("/").c_str(), nullptr, nullptr);
  ASSERT_NE(request, nullptr);

  TempProgramFolder folder;
  ASSERT_EQ(platform::SpawnProgramAndWait(PROCESS_PROBE_PATH, {"probe", "list-fds", folder.PathOf("fds.txt")}), 0);
  std::istringstream listed(folder.ReadFile("fds.txt"));
  for (int number = 0; listed >> number;) EXPECT_LT(number, 3) << "inherited descriptor " << number;
  platform::InternetCloseHandle(request);
  platform::InternetCloseHandle(session);
}

TEST_F(HttpTest, unreachable_servers_and_other_schemes_fail_to_open) {
  // A port that was just free: nothing listens there.
  uint16_t closed_port = 0;
  {
    LoopbackHttpServer probe;
    ASSERT_TRUE(probe.Start([](const LoopbackHttpServer::Request&) { return Answer{}; }));
    closed_port = probe.Port();
  }
  struct Case {
    std::string url;
    HttpError error;
  };
  const Case cases[] = {
      {"http://127.0.0.1:" + std::to_string(closed_port) + "/upgrade.ini", HttpError::kConnectFailed},
      {"ftp://127.0.0.1/upgrade.ini", HttpError::kBadArgument},
      {"file:///etc/passwd", HttpError::kBadArgument},
      {"", HttpError::kBadArgument},
  };
  for (const Case& c : cases) {
    const Fetched fetched = Fetch(c.url);
    EXPECT_FALSE(fetched.opened) << c.url;
    EXPECT_EQ(fetched.error, c.error) << c.url;
  }
}

TEST(ConnectedState, only_routes_that_are_up_beyond_loopback_count) {
  const std::string heading = "Iface\tDestination\tGateway \tFlags\tRefCnt\tUse\tMetric\tMask\t\tMTU\tWindow\tIRTT\n";
  const std::string loopback_v6 =
      "00000000000000000000000000000001 80 00000000000000000000000000000000 00 "
      "00000000000000000000000000000000 00000000 00000001 00000000 80200001       lo\n";
  const std::string link_local_v6 =
      "fe800000000000000000000000000000 40 00000000000000000000000000000000 00 "
      "00000000000000000000000000000000 00000100 00000001 00000000 00000001     eth0\n";
  const std::string default_v6 =
      "00000000000000000000000000000000 00 00000000000000000000000000000000 00 "
      "fe800000000000000000000000000001 00000400 00000001 00000000 00000003     eth0\n";
  struct Case {
    const char* what;
    std::string ipv4;
    std::string ipv6;
    bool connected;
  };
  const Case cases[] = {
      {"nothing", heading, "", false},
      {"loopback only", heading + "lo\t0000007F\t00000000\t0001\t0\t0\t0\t000000FF\t0\t0\t0\n", loopback_v6, false},
      {"default route", heading + "eth0\t00000000\t010200C0\t0003\t0\t0\t0\t00000000\t0\t0\t0\n", "", true},
      {"local network", heading + "wlan0\t000200C0\t00000000\t0001\t0\t0\t0\t00FFFFFF\t0\t0\t0\n", "", true},
      {"route not up", heading + "eth0\t00000000\t010200C0\t0002\t0\t0\t0\t00000000\t0\t0\t0\n", "", false},
      {"IPv6 link-local only", heading, loopback_v6 + link_local_v6, false},
      {"IPv6 default route", heading, loopback_v6 + default_v6, true},
  };
  for (const Case& c : cases) EXPECT_EQ(platform::RoutesShowConnection(c.ipv4, c.ipv6), c.connected) << c.what;

  platform::OverrideConnectedState(true, false);
  EXPECT_FALSE(platform::InternetGetConnectedState());
  platform::OverrideConnectedState(true, true);
  EXPECT_TRUE(platform::InternetGetConnectedState());
  platform::OverrideConnectedState(false);
}

}  // namespace
