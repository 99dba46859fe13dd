#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <vector>

#include "launcher/upgrade_engine.h"
#include "tests/launcher/support/upgrade_fixture.h"
#include "tests/support/loopback_http_server.h"

namespace {

struct FetchCase {
  const char* name;
  LoopbackHttpServer::Answer answer;
  long expected;
};

void PrintTo(const FetchCase& c, std::ostream* os) { *os << c.name; }

class FetchTest : public ::testing::TestWithParam<FetchCase> {};

const std::string kFull(kDownloadBufferSize, 'f');
const std::string kOneMore(kDownloadBufferSize + 1, 'f');

LoopbackHttpServer::Answer Ok(const std::string& body, bool with_length = true) {
  return {LoopbackHttpServer::Response(200, "OK", {}, body, with_length)};
}

TEST_P(FetchTest, accepts_only_a_whole_200_answer_that_fits) {
  const FetchCase& c = GetParam();
  UpgradeServer server;
  server.ServeAnswer("/file.r", c.answer);
  platform::HINTERNET session = platform::InternetOpen("DoreVIV");
  ASSERT_NE(nullptr, session);
  std::vector<uint8_t> buffer(kDownloadBufferSize);
  const std::atomic<bool> abort{false};
  EXPECT_EQ(c.expected, FetchUrlToBuffer(session, server.Url("/file.r").c_str(), buffer.data(), buffer.size(), abort));
  platform::InternetCloseHandle(session);
}

INSTANTIATE_TEST_SUITE_P(
    Answers, FetchTest,
    ::testing::Values(
        FetchCase{"small", Ok("abc"), 3},
        FetchCase{"exactly_the_buffer", Ok(kFull), static_cast<long>(kDownloadBufferSize)},
        FetchCase{"one_byte_more_declared", Ok(kOneMore), -4},
        FetchCase{"one_byte_more_undeclared", Ok(kOneMore, false), -4},
        FetchCase{"not_found_page", {LoopbackHttpServer::Response(404, "Not Found", {}, "<html>gone</html>")}, -2},
        FetchCase{"server_error_page", {LoopbackHttpServer::Response(500, "Oops", {}, "0 -2\"\"tvk.exe\"\"")}, -2},
        // The answer promises 1000 bytes, sends 500 and closes.
        FetchCase{"cut_short", {LoopbackHttpServer::Response(200, "OK", {"Content-Length: 1000"}, std::string(500, 'c'), false)},
                  -3}),
    [](const ::testing::TestParamInfo<FetchCase>& info) { return std::string(info.param.name); });

TEST(FetchFailureTest, refused_connection_and_raised_abort) {
  platform::HINTERNET session = platform::InternetOpen("DoreVIV");
  ASSERT_NE(nullptr, session);
  std::vector<uint8_t> buffer(64);
  const std::atomic<bool> not_aborted{false};
  EXPECT_EQ(-2, FetchUrlToBuffer(session, RefusedUrl("/upgrade.ini").c_str(), buffer.data(), buffer.size(), not_aborted));

  UpgradeServer server;
  server.Serve("/upgrade.ini", "0");
  const std::atomic<bool> aborted{true};
  EXPECT_EQ(-1, FetchUrlToBuffer(session, server.Url("/upgrade.ini").c_str(), buffer.data(), buffer.size(), aborted));
  platform::InternetCloseHandle(session);
}

}  // namespace
