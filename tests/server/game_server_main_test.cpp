// game_server as a program: a client connection that trusts the server's authority goes on
// trusting it after the server is stopped and started again in the same folder, because the
// server keeps its authority and certificate there.
#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <signal.h>
#include <spawn.h>
#include <stdlib.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <string>
#include <thread>
#include <vector>

#include "cclient/net/net_thread.h"
#include "cclient/net/packet_types.h"
#include "cclient/util/tcpssl.h"
#include "tests/cclient/net/net_test_support.h"
#include "tests/server/test_certificates.h"
#include "tests/support/temp_program_folder.h"

extern char** environ;

namespace {

// A loopback port nothing listens on now.
uint16_t FreePort() {
  const int probe = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t length = sizeof address;
  uint16_t port = 0;
  if (::bind(probe, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 &&
      ::getsockname(probe, reinterpret_cast<sockaddr*>(&address), &length) == 0) {
    port = ntohs(address.sin_port);
  }
  ::close(probe);
  return port;
}

// The demo room's game server, run as a program in `folder` until it is stopped.
class ServerProcess {
 public:
  ServerProcess(const TempProgramFolder& folder, uint16_t port, const std::string& log) : log_(folder.PathOf(log)) {
    const std::string command = std::string("exec '") + GAME_SERVER_PATH + "' " + std::to_string(port) +
                                " --demo --ca '" + folder.PathOf("game-server-ca.pem") + "' >'" + log_ + "' 2>&1";
    const char* argv[] = {"sh", "-c", command.c_str(), nullptr};
    if (::posix_spawn(&pid_, "/bin/sh", nullptr, nullptr, const_cast<char**>(argv), environ) != 0) pid_ = -1;
  }
  ~ServerProcess() { Stop(); }
  bool Listening(const TempProgramFolder& folder) const {
    const std::string name = log_.substr(folder.Path().size());
    return pid_ > 0 && WaitUntil([&] { return folder.ReadFile(name).find("listening") != std::string::npos; });
  }
  void Stop() {
    if (pid_ <= 0) return;
    ::kill(pid_, SIGTERM);
    int status = 0;
    ::waitpid(pid_, &status, 0);
    pid_ = -1;
  }

 private:
  std::string log_;
  pid_t pid_ = -1;
};

// Counts the server hellos a connection thread has received; back-off pauses are cut short.
int HellosIn(NetThreadClass& thread, int* seen) {
  std::vector<uint8_t> buffer(kInputSlotBytes);
  uint32_t type = 0;
  while (thread.ReadPacket(&type, buffer.data(), static_cast<uint32_t>(buffer.size())) >= 0) {
    if (type == PACKETTYPE_HELLOFROMSERVER) ++*seen;
  }
  return *seen;
}

class GameServerProgramTest : public ProgramFolderTest {};

TEST_F(GameServerProgramTest, a_restarted_server_is_trusted_by_a_connected_client) {
  const uint16_t port = FreePort();
  ASSERT_NE(port, 0);
  ServerProcess first(folder_, port, "first.log");
  ASSERT_TRUE(first.Listening(folder_)) << folder_.ReadFile("first.log");
  const std::string authority = folder_.ReadFile("game-server-ca.pem");
  ASSERT_NE(authority.find("BEGIN CERTIFICATE"), std::string::npos);

  // The client trusts this authority alone, as `make run` sets it up.
  ::setenv("SSL_CERT_FILE", folder_.PathOf("game-server-ca.pem").c_str(), 1);
  ::setenv("SSL_CERT_DIR", folder_.Path().c_str(), 1);
  ASSERT_EQ(TCPSSL_GlobalInit(1, 0), nullptr);
  DebugLog_Init(folder_.PathOf("client.log").c_str());
  NetThreadClass thread;
  thread.SetPauseHookForTest([](NetPause why, uint32_t ms) {
    std::this_thread::sleep_for(std::chrono::milliseconds(why == NetPause::kStep ? 2 : std::min<uint32_t>(ms, 100)));
  });
  ASSERT_EQ(thread.Start(nullptr, "127.0.0.1", port), nullptr);
  int hellos = 0;
  ASSERT_TRUE(WaitUntil([&] { return HellosIn(thread, &hellos) == 1; })) << folder_.ReadFile("client.log");

  first.Stop();
  ServerProcess second(folder_, port, "second.log");
  ASSERT_TRUE(second.Listening(folder_)) << folder_.ReadFile("second.log");
  EXPECT_EQ(folder_.ReadFile("game-server-ca.pem"), authority) << "the same authority";
  EXPECT_TRUE(WaitUntil([&] { return HellosIn(thread, &hellos) == 2; }, 60000))
      << "reconnected\n" << folder_.ReadFile("client.log");

  thread.Stop();
  second.Stop();
  TCPSSL_GlobalCleanup();
}

// The kept authority and identity are used again only when all four files are there and belong
// together; anything else is replaced by a new set.
TEST_F(GameServerProgramTest, a_kept_identity_is_used_again_only_when_whole) {
  TempProgramFolder other;
  ASSERT_EQ(TestCertificates::KeepIn(other.PathOf("game-server-ca.pem")), "");
  const struct {
    const char* name;
    void (*spoil)(const TempProgramFolder& folder, const TempProgramFolder& other);
    bool kept;
  } rows[] = {
      {"whole", [](const TempProgramFolder&, const TempProgramFolder&) {}, true},
      {"the server's certificate is another authority's",
       [](const TempProgramFolder& folder, const TempProgramFolder& other) {
         folder.WriteFile("game-server.pem", other.ReadFile("game-server.pem"));
       },
       false},
      {"the server's key is another's",
       [](const TempProgramFolder& folder, const TempProgramFolder& other) {
         folder.WriteFile("game-server.key", other.ReadFile("game-server.key"));
       },
       false},
      {"the authority's key is missing",
       [](const TempProgramFolder& folder, const TempProgramFolder&) {
         std::remove(folder.PathOf("game-server-ca.key").c_str());
       },
       false},
      {"the authority is not a certificate",
       [](const TempProgramFolder& folder, const TempProgramFolder&) {
         folder.WriteFile("game-server-ca.pem", "not a certificate\n");
       },
       false},
  };
  const std::string authority_file = folder_.PathOf("game-server-ca.pem");
  for (const auto& row : rows) {
    std::remove(authority_file.c_str());
    ASSERT_EQ(TestCertificates::KeepIn(authority_file), "") << row.name;
    const std::string authority = folder_.ReadFile("game-server-ca.pem");
    ASSERT_NE(authority.find("BEGIN CERTIFICATE"), std::string::npos) << row.name;
    row.spoil(folder_, other);
    ASSERT_EQ(TestCertificates::KeepIn(authority_file), "") << row.name;
    EXPECT_EQ(folder_.ReadFile("game-server-ca.pem") == authority, row.kept) << row.name;
    for (const char* key : {"game-server-ca.key", "game-server.key"}) {
      struct stat status {};
      ASSERT_EQ(::stat(folder_.PathOf(key).c_str(), &status), 0) << row.name << ": " << key;
      EXPECT_EQ(status.st_mode & 0777, 0600u) << row.name << ": " << key;
    }
  }
}

}  // namespace
