#include "cclient/util/tcpssl.h"

#include <gtest/gtest.h>
#include <openssl/err.h>
#include <arpa/inet.h>
#include <netdb.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "cclient/net/packet_frame.h"
#include "cclient/util/address_lookup.h"
#include "tests/server/game_server.h"

namespace {

// A port on loopback with nothing listening.
uint16_t ClosedPort() {
  GameServer probe;
  EXPECT_TRUE(probe.Start());
  const uint16_t port = probe.Port();
  probe.Stop();
  return port;
}

class TcpSslTest : public ::testing::Test {
 protected:
  void SetUp() override {
    TestCertificates::Get();  // trust store first
    ASSERT_EQ(TCPSSL_GlobalInit(1, 0), nullptr);
  }
  void TearDown() override { TCPSSL_GlobalCleanup(); }
};

TEST_F(TcpSslTest, peer_certificate_and_name_are_checked) {
  struct Case {
    const char* name;
    ServerIdentity identity;
    const char* host;
    int result;
  } const cases[] = {
      {"trusted_by_address", ServerIdentity::kTrusted, "127.0.0.1", TCPSSL_OK},
      {"trusted_by_name", ServerIdentity::kTrusted, "localhost", TCPSSL_OK},
      {"name_in_other_case", ServerIdentity::kTrusted, "LocalHost", TCPSSL_OK},
      {"unknown_authority", ServerIdentity::kUntrusted, "127.0.0.1", TCPSSL_HANDSHAKE_FAILED},
      {"certificate_for_another_name", ServerIdentity::kWrongName, "localhost",
       TCPSSL_HANDSHAKE_FAILED},
      {"certificate_for_another_address", ServerIdentity::kWrongName, "127.0.0.1",
       TCPSSL_HANDSHAKE_FAILED},
  };
  for (const Case& c : cases) {
    GameServer server(c.identity);
    ASSERT_TRUE(server.Start()) << c.name;
    TCPSSLClass socket;
    EXPECT_EQ(socket.OpenClient(c.host, server.Port()), c.result) << c.name;
    EXPECT_EQ(socket.IsConnected(), c.result == TCPSSL_OK) << c.name;
    if (c.result == TCPSSL_OK) {
      ASSERT_NE(socket.GetCipher(), nullptr);
      EXPECT_NE(std::string(socket.GetCipher()), "") << c.name;
      EXPECT_EQ(std::string(socket.GetSubject()), "/O=Loopback Test/CN=localhost") << c.name;
      EXPECT_EQ(std::string(socket.GetIssuer()), "/O=Loopback Test/CN=Loopback Test Authority")
          << c.name;
    } else {
      EXPECT_TRUE(server.WaitFor([](const std::vector<ServerEvent>& events) {
        for (const ServerEvent& event : events) {
          if (event.kind == ServerEvent::kHandshakeFailed) return true;
        }
        return false;
      })) << c.name;
    }
  }
}

TEST_F(TcpSslTest, failures_before_the_handshake_are_told_apart) {
  struct Case {
    const char* name;
    std::string host;
    uint16_t port;
    int result;
  } const cases[] = {
      {"unknown_host", "no-such-host.invalid", 8085, TCPSSL_LOOKUP_FAILED},
      {"nothing_listening", "127.0.0.1", ClosedPort(), TCPSSL_CONNECT_FAILED},
  };
  for (const Case& c : cases) {
    TCPSSLClass socket;
    EXPECT_EQ(socket.OpenClient(c.host.c_str(), c.port), c.result) << c.name;
    EXPECT_FALSE(socket.IsConnected()) << c.name;
    EXPECT_EQ(socket.Read(nullptr, 0), -1) << c.name;
  }
}

TEST(TcpSslWithoutSetUp, open_without_client_context_gives_444) {
  TCPSSLClass socket;
  EXPECT_EQ(socket.OpenClient("127.0.0.1", 1), TCPSSL_NO_CONTEXT);
}

TEST_F(TcpSslTest, frames_go_both_ways_and_no_data_reads_as_minus_one) {
  GameServer server;
  server.SetScript(0, {ScriptStep::ExpectExact(2000, {1, 2, 3}), ScriptStep::Send(2001, {9, 8}),
                       ScriptStep::Close()});
  ASSERT_TRUE(server.Start());
  TCPSSLClass socket;
  ASSERT_EQ(socket.OpenClient("127.0.0.1", server.Port()), TCPSSL_OK);
  uint8_t scratch[64];
  EXPECT_EQ(socket.Read(scratch, sizeof scratch), -1);  // nothing sent yet
  // An error some earlier library call left in this thread's queue is not the session's.
  ERR_raise(ERR_LIB_SSL, ERR_R_INTERNAL_ERROR);
  EXPECT_EQ(socket.Read(scratch, sizeof scratch), -1);

  const std::vector<uint8_t> frame = GoodFrame(2000, {1, 2, 3});
  EXPECT_EQ(socket.Write(frame.data(), static_cast<int>(frame.size())),
            static_cast<int>(frame.size()));

  // Read until the server's orderly close: its frame, then 0.
  std::vector<uint8_t> received;
  int last = -1;
  const auto give_up = std::chrono::steady_clock::now() + std::chrono::seconds(20);
  while (std::chrono::steady_clock::now() < give_up) {
    last = socket.Read(scratch, sizeof scratch);
    if (last > 0) received.insert(received.end(), scratch, scratch + last);
    if (last == 0 || last == -2) break;
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  EXPECT_EQ(received, GoodFrame(2001, {9, 8}));
  EXPECT_EQ(last, 0);
  EXPECT_EQ(server.Packets(0).size(), 1u) << server.Describe();
}

TEST_F(TcpSslTest, write_waits_for_a_peer_that_reads_late) {
  GameServer server;
  server.SetScript(0, {ScriptStep::Stall(500)});
  ASSERT_TRUE(server.Start());
  TCPSSLClass socket;
  ASSERT_EQ(socket.OpenClient("127.0.0.1", server.Port()), TCPSSL_OK);
  // Far more than the socket buffers hold, so some writes find no room until the peer reads.
  const std::vector<uint8_t> frame = GoodFrame(2002, std::vector<uint8_t>(60000, 0xA5));
  constexpr int kFrames = 400;
  for (int i = 0; i < kFrames; ++i) {
    ASSERT_EQ(socket.Write(frame.data(), static_cast<int>(frame.size())),
              static_cast<int>(frame.size()))
        << "frame " << i;
  }
  EXPECT_TRUE(server.WaitFor([](const std::vector<ServerEvent>& events) {
    int packets = 0;
    for (const ServerEvent& event : events) packets += event.kind == ServerEvent::kPacket;
    return packets == kFrames;
  })) << server.Describe();
}

TEST_F(TcpSslTest, handshake_gives_up_on_a_silent_peer) {
  GameServer server;
  server.SetScript(0, {ScriptStep::Silent()});
  ASSERT_TRUE(server.Start());
  TCPSSLClass socket;
  socket.SetTimeouts(kTcpSslConnectTimeoutMs, 200);
  EXPECT_EQ(socket.OpenClient("127.0.0.1", server.Port()), TCPSSL_HANDSHAKE_FAILED);
}

TEST_F(TcpSslTest, interrupt_descriptor_ends_a_wait_on_a_silent_peer) {
  GameServer server;
  server.SetScript(0, {ScriptStep::Silent()});
  ASSERT_TRUE(server.Start());
  const int interrupt = ::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
  ASSERT_GE(interrupt, 0);
  TCPSSLClass socket;
  socket.SetInterruptDescriptor(interrupt);
  socket.SetTimeouts(600000, 600000);
  std::thread interrupter([&] {
    server.WaitFor([](const std::vector<ServerEvent>& events) { return !events.empty(); });
    const uint64_t one = 1;
    EXPECT_EQ(::write(interrupt, &one, sizeof one), static_cast<ssize_t>(sizeof one));
  });
  const auto start = std::chrono::steady_clock::now();
  // The signal may find the connect still finishing (-4) or the handshake waiting (-60).
  const int result = socket.OpenClient("127.0.0.1", server.Port());
  EXPECT_TRUE(result == TCPSSL_CONNECT_FAILED || result == TCPSSL_HANDSHAKE_FAILED) << result;
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2));
  interrupter.join();
  ::close(interrupt);
}

// A name server that does not answer: look-ups wait until the test lets them go.
struct SilentResolver {
  static inline std::mutex mutex;
  static inline std::condition_variable changed;
  static inline bool released = false;
  static inline int waiting = 0;

  static int Resolve(const char*, in_addr*) {
    std::unique_lock<std::mutex> lock(mutex);
    ++waiting;
    changed.notify_all();
    changed.wait(lock, [] { return released; });
    --waiting;
    changed.notify_all();
    return EAI_AGAIN;
  }
};

TEST_F(TcpSslTest, interrupt_descriptor_ends_a_host_name_look_up_that_gets_no_answer) {
  SilentResolver::released = false;
  SetAddressResolverForTests(&SilentResolver::Resolve);
  const int interrupt = ::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
  ASSERT_GE(interrupt, 0);
  std::thread interrupter([&] {
    {
      std::unique_lock<std::mutex> lock(SilentResolver::mutex);
      SilentResolver::changed.wait(lock, [] { return SilentResolver::waiting == 1; });
    }
    const uint64_t one = 1;
    EXPECT_EQ(::write(interrupt, &one, sizeof one), static_cast<ssize_t>(sizeof one));
  });
  {
    TCPSSLClass socket;
    socket.SetInterruptDescriptor(interrupt);
    EXPECT_EQ(socket.OpenClient("game.example", 443), TCPSSL_LOOKUP_FAILED);
    uint8_t address[4] = {1, 2, 3, 4};
    EXPECT_EQ(socket.GetLocalAddress(address), 3) << "the stop still stands";
    EXPECT_EQ(address[0], 0);
  }
  interrupter.join();

  // The abandoned look-ups finish by themselves once the name server answers.
  {
    std::unique_lock<std::mutex> lock(SilentResolver::mutex);
    SilentResolver::released = true;
    SilentResolver::changed.notify_all();
    SilentResolver::changed.wait(lock, [] { return SilentResolver::waiting == 0; });
  }
  SetAddressResolverForTests(nullptr);
  ::close(interrupt);
}

int NoSuchHost(const char*, in_addr*) { return EAI_NONAME; }

TEST(AddressLookup, answers_and_failures_come_back_with_or_without_an_interrupt_descriptor) {
  const int interrupt = ::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
  ASSERT_GE(interrupt, 0);
  for (const int fd : {-1, interrupt}) {
    in_addr address{};
    int error = -1;
    EXPECT_EQ(LookUpIPv4Address("localhost", fd, &address, &error), ADDRESS_FOUND) << fd;
    EXPECT_EQ(ntohl(address.s_addr), 0x7F000001u) << fd;
    EXPECT_EQ(error, 0) << fd;
    SetAddressResolverForTests(&NoSuchHost);
    EXPECT_EQ(LookUpIPv4Address("game.example", fd, &address, &error), ADDRESS_NOT_FOUND) << fd;
    EXPECT_EQ(error, EAI_NONAME) << fd;
    SetAddressResolverForTests(nullptr);
  }
  ::close(interrupt);
}

}  // namespace
