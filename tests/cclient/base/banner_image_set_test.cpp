// The site images against a loopback HTTP server: what is installed under which name, what a
// refused answer leaves alone, and which copies are not fetched at all.
#include "cclient/base/banner_image_set.h"

#include <gtest/gtest.h>
#include <sys/time.h>

#include <chrono>
#include <ctime>
#include <functional>
#include <map>
#include <string>
#include <thread>
#include <vector>

#include "cclient/base/client_globals.h"
#include "cclient/base/line_file.h"
#include "platform/http/http.h"
#include "platform/system/files.h"
#include "tests/support/loopback_http_server.h"
#include "tests/support/temp_program_folder.h"

namespace {

constexpr int32_t kSite = 7;
constexpr int32_t kAffiliate = 42;

// The names the site serves for site 7 and affiliate 42, by entry.
const char* const kRemoteNames[kBannerEntries] = {
    "007000042.txt", "00700004200.a", "00700004201.a", "00700004210.a",
    "00700004211.a", "0070000422.a",  "0070000423.a",  "0070000424.a",
    "0070000425.a",  "0070000426.a",  "0070000427.a",  "0070000428.a",
};

// Polls `done` until it holds; false when `timeout_ms` of real time pass first. A bound on a wait
// for the workers, never a speed goal.
bool WaitUntil(const std::function<bool()>& done, uint32_t timeout_ms = 20000) {
  const auto give_up = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeout_ms);
  while (!done()) {
    if (std::chrono::steady_clock::now() >= give_up) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
  return true;
}

std::string HttpDate(time_t utc) {
  char text[64];
  tm parts{};
  gmtime_r(&utc, &parts);
  std::strftime(text, sizeof text, "%a, %d %b %Y %H:%M:%S GMT", &parts);
  return text;
}

std::string Ok(const std::string& body, const std::vector<std::string>& headers = {}) {
  return LoopbackHttpServer::Response(200, "OK", headers, body);
}

std::string NotFound() { return LoopbackHttpServer::Response(404, "Not Found", {}, "no such file"); }

class BannerImageSetTest : public ProgramFolderTest {
 protected:
  void SetUp() override {
    std::snprintf(ProgramFolderPath, sizeof ProgramFolderPath, "%s", folder_.Path().c_str());
    platform::OverrideConnectedState(true, true);
  }
  void TearDown() override {
    platform::OverrideConnectedState(false);
    ProgramFolderPath[0] = '\0';
  }

  // Serves `answers` by file name (anything else is a 404) and runs one whole fetch.
  void Fetch(LoopbackHttpServer* server, BannerImageSet* set,
             const std::map<std::string, std::string>& answers,
             const std::string& base_path = "/site") {
    ASSERT_TRUE(server->Start([answers](const LoopbackHttpServer::Request& request) {
      LoopbackHttpServer::Answer answer;
      const std::string name = request.path.substr(request.path.find_last_of('/') + 1);
      const auto found = answers.find(name);
      answer.bytes = found != answers.end() ? found->second : NotFound();
      return answer;
    }));
    FetchAgain(*server, set, base_path);
  }
  static void FetchAgain(const LoopbackHttpServer& server, BannerImageSet* set,
                         const std::string& base_path = "/site") {
    set->Configure(server.Url(base_path).c_str(), kSite, kAffiliate);
    ASSERT_TRUE(WaitUntil([set] { return set->Poll() == 1; }));
  }

  // Files of the folder left behind by downloads: "_" copies and temporary files.
  std::vector<std::string> Leftovers() const {
    std::vector<std::string> left;
    for (const std::string& name : platform::ListFiles(folder_.Path(), "*.*")) {
      if (name[0] == '_' || name.find(".tmp") != std::string::npos) left.push_back(name);
    }
    return left;
  }
};

TEST_F(BannerImageSetTest, new_site_files_are_installed_under_their_site_names) {
  std::map<std::string, std::string> answers;
  for (int32_t entry = 0; entry < kBannerEntries; ++entry) {
    answers[kRemoteNames[entry]] = Ok(std::string("picture ") + std::to_string(entry));
  }
  answers[kRemoteNames[0]] = Ok("http://site/left\r\nhttp://site/right");
  LoopbackHttpServer server;
  BannerImageSet set;
  Fetch(&server, &set, answers);

  for (int32_t entry = 1; entry < kBannerEntries; ++entry) {
    EXPECT_STREQ(set.GetFile(entry), kRemoteNames[entry]) << entry;
    EXPECT_EQ(folder_.ReadFile(kRemoteNames[entry]), "picture " + std::to_string(entry)) << entry;
  }
  EXPECT_EQ(set.GetPath(5), folder_.Path() + "0070000422.a");
  LineFile links;
  ASSERT_EQ(links.Read(set.GetPath(0).c_str()), 2);
  EXPECT_STREQ(links.GetLine(1), "http://site/right");
  EXPECT_TRUE(Leftovers().empty());
  // The links file's URL carries no trailing blank, and every request asks for any type.
  const std::vector<LoopbackHttpServer::Request> requests = server.Requests();
  ASSERT_FALSE(requests.empty());
  bool links_requested = false;
  for (const auto& request : requests) {
    if (request.path == "/site/007000042.txt") links_requested = true;
    EXPECT_EQ(request.headers.at("accept"), "*/*") << request.path;
  }
  EXPECT_TRUE(links_requested);
  // The finished fetch is reported once.
  EXPECT_EQ(set.Poll(), 0);
}

TEST_F(BannerImageSetTest, a_base_address_ending_in_a_slash_gives_no_doubled_slash) {
  LoopbackHttpServer server;
  BannerImageSet set;
  Fetch(&server, &set, {}, "/site/banners/");
  const std::vector<LoopbackHttpServer::Request> requests = server.Requests();
  ASSERT_EQ(requests.size(), static_cast<size_t>(kBannerEntries));
  for (const auto& request : requests) {
    EXPECT_EQ(request.path.rfind("/site/banners/007000042", 0), 0u) << request.path;
    EXPECT_EQ(request.path.find("//"), std::string::npos) << request.path;
  }
}

TEST_F(BannerImageSetTest, a_refused_answer_leaves_the_installed_picture_untouched) {
  const std::string full = std::string(5000, 'j');
  struct Case {
    const char* name;
    std::string answer;
  } const cases[] = {
      {"html_error_page", Ok("<HTML><body>Sorry, the page is gone.</body></HTML>")},
      {"not_found", LoopbackHttpServer::Response(404, "Not Found", {}, std::string(900, 'x'))},
      {"cut_short", "HTTP/1.1 200 OK\r\nContent-Length: 5000\r\nConnection: close\r\n\r\n" +
                        full.substr(0, 1200)},
      {"no_length", LoopbackHttpServer::Response(200, "OK", {}, full, false)},
  };
  for (const Case& c : cases) {
    folder_.WriteFile(kRemoteNames[5], "old background");
    LoopbackHttpServer server;
    BannerImageSet set;
    Fetch(&server, &set, {{kRemoteNames[5], c.answer}});
    EXPECT_EQ(folder_.ReadFile(kRemoteNames[5]), "old background") << c.name;
    EXPECT_STREQ(set.GetFile(5), kRemoteNames[5]) << c.name;
    EXPECT_TRUE(Leftovers().empty()) << c.name;
  }
}

TEST_F(BannerImageSetTest, a_copy_is_fetched_only_when_it_may_differ_from_the_local_file) {
  const time_t local_time = 1577836800;  // 2020-01-01 00:00:00 UTC
  struct Case {
    const char* name;
    size_t local_size;
    size_t server_size;
    time_t server_modified;
    bool fetched;
  } const cases[] = {
      {"same_size_older", 300, 300, local_time - 86400, false},
      {"same_size_newer", 300, 300, local_time + 86400, true},
      {"small_same_size_older", 200, 200, local_time - 86400, true},
      {"other_size_older", 300, 400, local_time - 86400, true},
  };
  for (const Case& c : cases) {
    folder_.WriteFile(kRemoteNames[6], std::string(c.local_size, 'L'));
    const timeval times[2] = {{local_time, 0}, {local_time, 0}};
    ASSERT_EQ(::utimes(folder_.PathOf(kRemoteNames[6]).c_str(), times), 0);
    LoopbackHttpServer server;
    BannerImageSet set;
    Fetch(&server, &set,
          {{kRemoteNames[6], Ok(std::string(c.server_size, 'S'),
                                {"Last-Modified: " + HttpDate(c.server_modified)})}});
    const std::string expected = c.fetched ? std::string(c.server_size, 'S') : std::string(c.local_size, 'L');
    EXPECT_EQ(folder_.ReadFile(kRemoteNames[6]), expected) << c.name;
  }
}

TEST_F(BannerImageSetTest, a_second_fetch_in_the_same_run_requests_nothing) {
  // A long base address makes URLs that agree in their first 255 characters and differ after
  // them: each is still its own request.
  for (const std::string& base_path : {std::string("/site"), "/" + std::string(250, 'd')}) {
    SCOPED_TRACE(base_path.size());
    folder_.WriteFile(kRemoteNames[5], "old");
    LoopbackHttpServer server;
    BannerImageSet set;
    Fetch(&server, &set, {{kRemoteNames[5], Ok("first")}}, base_path);
    const size_t asked = server.Requests().size();
    EXPECT_EQ(asked, static_cast<size_t>(kBannerEntries));
    EXPECT_EQ(folder_.ReadFile(kRemoteNames[5]), "first");

    FetchAgain(server, &set, base_path);
    EXPECT_EQ(server.Requests().size(), asked);
    EXPECT_EQ(folder_.ReadFile(kRemoteNames[5]), "first");
  }
}

TEST_F(BannerImageSetTest, a_banner_keeps_a_matching_pair_and_the_link_that_goes_with_it) {
  folder_.WriteFile(kRemoteNames[0], "http://old/left\r\nhttp://old/right");
  LoopbackHttpServer server;
  BannerImageSet set;
  // The left banner's hover picture and both right pictures are missing on the site.
  Fetch(&server, &set,
        {{kRemoteNames[0], Ok("http://new/left\r\nhttp://new/right")},
         {kRemoteNames[1], Ok("left normal")}});

  EXPECT_EQ(folder_.ReadFile(kRemoteNames[1]), "left normal");
  EXPECT_EQ(folder_.ReadFile(kRemoteNames[2]), "left normal");
  LineFile links;
  ASSERT_EQ(links.Read(set.GetPath(0).c_str()), 2);
  EXPECT_STREQ(links.GetLine(0), "http://new/left");
  EXPECT_STREQ(links.GetLine(1), "http://old/right");
  EXPECT_STREQ(set.GetFile(3), "00000000010.a");
  EXPECT_STREQ(set.GetFile(4), "00000000011.a");
  EXPECT_TRUE(Leftovers().empty());
}

TEST_F(BannerImageSetTest, without_a_connection_every_entry_keeps_what_it_had) {
  folder_.WriteFile(kRemoteNames[7], "fetched in an earlier run");
  platform::OverrideConnectedState(true, false);
  LoopbackHttpServer server;
  BannerImageSet set;
  Fetch(&server, &set, {});
  EXPECT_TRUE(server.Requests().empty());
  EXPECT_STREQ(set.GetFile(0), "000000000.txt");
  EXPECT_STREQ(set.GetFile(5), "10table.a");
  EXPECT_STREQ(set.GetFile(7), kRemoteNames[7]);
}

}  // namespace
