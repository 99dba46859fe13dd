// netprobe as a program: what it says and how it ends when a connection cannot be made, against
// servers on loopback (the scripted game server with a trusted or an untrusted certificate, and a
// server that does not speak TLS).
#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <string>
#include <thread>

#include "tests/server/game_server.h"
#include "tests/server/test_certificates.h"
#include "tests/support/run_command.h"

namespace {

CommandResult Netprobe(const std::string& arguments) {
  return RunCommand(std::string(NETPROBE_PATH) + " " + arguments + " 2>&1");
}

bool Contains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

// A loopback port with nothing listening.
uint16_t ClosedPort() {
  GameServer probe;
  EXPECT_TRUE(probe.Start());
  const uint16_t port = probe.Port();
  probe.Stop();
  return port;
}

// A loopback listener that answers every connection at once with a line of plain text and closes
// it, as a server that does not speak TLS would.
class PlainTextServer {
 public:
  PlainTextServer() {
    listener_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    if (::bind(listener_, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 || ::listen(listener_, 4) != 0 ||
        ::getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
      return;
    }
    port_ = ntohs(address.sin_port);
    thread_ = std::thread([this] {
      for (;;) {
        const int connection = ::accept(listener_, nullptr, nullptr);
        if (connection < 0) return;  // the listener was shut down
        const char answer[] = "HTTP/1.1 400 Bad Request\r\n\r\n";
        (void)::send(connection, answer, sizeof answer - 1, MSG_NOSIGNAL);
        ::close(connection);
      }
    });
  }
  ~PlainTextServer() {
    ::shutdown(listener_, SHUT_RDWR);
    if (thread_.joinable()) thread_.join();
    ::close(listener_);
  }
  uint16_t Port() const { return port_; }

 private:
  int listener_ = -1;
  uint16_t port_ = 0;
  std::thread thread_;
};

class NetprobeTest : public ::testing::Test {
 protected:
  void SetUp() override { TestCertificates::Get(); }  // netprobe inherits the trust store
};

TEST_F(NetprobeTest, a_connection_that_cannot_be_made_says_why_and_fails) {
  GameServer untrusted(ServerIdentity::kUntrusted);
  ASSERT_TRUE(untrusted.Start());
  PlainTextServer not_tls;
  ASSERT_NE(not_tls.Port(), 0);
  struct Case {
    const char* name;
    std::string arguments;
    int status;
    std::string says;
  } const cases[] = {
      {"refused", "127.0.0.1 " + std::to_string(ClosedPort()), 1, "cannot connect to 127.0.0.1:"},
      {"refused_reason", "127.0.0.1 " + std::to_string(ClosedPort()), 1, ": connection refused\n"},
      {"unknown_host", "no-such-host.invalid 8085", 1, ": unknown host\n"},
      {"untrusted", "127.0.0.1 " + std::to_string(untrusted.Port()), 1, ": certificate not trusted ("},
      {"not_tls", "127.0.0.1 " + std::to_string(not_tls.Port()), 1, ": not TLS"},
      {"port_not_a_number", "127.0.0.1 80x", 2, "the port '80x' is not a number from 1 to 65535"},
      {"port_out_of_range", "127.0.0.1 70000", 2, "the port '70000' is not a number from 1 to 65535"},
      {"seconds_not_a_number", "127.0.0.1 8085 soon", 2, "the seconds 'soon' are not a whole number"},
      {"no_port", "127.0.0.1", 2, "usage: netprobe HOST PORT [SECONDS]"},
  };
  for (const Case& c : cases) {
    const CommandResult result = Netprobe(c.arguments);
    EXPECT_EQ(result.status, c.status) << c.name << "\n" << result.output;
    EXPECT_TRUE(Contains(result.output, c.says)) << c.name << "\n" << result.output;
  }
}

TEST_F(NetprobeTest, a_server_that_answers_is_shown_and_the_run_ends_well) {
  GameServer server;
  server.SetScript(0, {ScriptStep::Expect(1040), ScriptStep::Send(2345, {1, 2, 3})});
  ASSERT_TRUE(server.Start());
  const CommandResult result = Netprobe("127.0.0.1 " + std::to_string(server.Port()) + " 2");
  EXPECT_EQ(result.status, 0) << result.output;
  EXPECT_TRUE(Contains(result.output, "connected (reconnects 0)")) << result.output;
  EXPECT_TRUE(Contains(result.output, "received type 2345, 3 bytes:\n  01 02 03")) << result.output;
}

}  // namespace
