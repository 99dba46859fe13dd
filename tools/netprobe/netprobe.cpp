// netprobe HOST PORT [SECONDS]: connects to a game server (or any TLS peer) with the client's own
// network engine and prints the hello it sent on each connection and every packet it receives
// (type, length, bytes in hexadecimal). It sends nothing of its own; the engine's pings every
// 5 seconds still go out, and their echoes are counted by the engine, not printed. Runs until
// interrupted, or for SECONDS.
//
// The peer's certificate must be trusted: point SSL_CERT_FILE at its authority for a test server.
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <thread>

#include "cclient/core/debug_log.h"
#include "cclient/net/network.h"

namespace {

volatile std::sig_atomic_t g_stop = 0;

void OnSignal(int) { g_stop = 1; }

void PrintBytes(const uint8_t* bytes, uint32_t length) {
  for (uint32_t i = 0; i < length; ++i) std::printf("%s%02X", i % 16 == 0 ? "\n  " : " ", bytes[i]);
  std::printf("\n");
}

int PrintPacket(uint8_t connection, uint32_t type, const uint8_t* payload, uint32_t length) {
  std::printf("received type %u, %u bytes:", type, length);
  PrintBytes(payload, length);
  std::fflush(stdout);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: netprobe HOST PORT [SECONDS]\n");
    return 2;
  }
  const char* host = argv[1];
  const auto port = static_cast<uint32_t>(std::atoi(argv[2]));
  const int seconds = argc > 3 ? std::atoi(argv[3]) : 0;
  DebugLevel = -1;  // no debug log file; what matters is printed here
  std::signal(SIGINT, OnSignal);
  std::signal(SIGTERM, OnSignal);

  Network network;
  network.SetDispatch(&PrintPacket);
  const uint8_t id = network.Init(nullptr, host, port, 0);
  if (id == kNoConnection) {
    std::fprintf(stderr, "netprobe: no connection slot for %s:%u\n", host, port);
    return 1;
  }
  NetThreadClass& thread = network.GetConnection(id)->thread;
  std::printf("netprobe: connecting to %s:%u\n", host, port);
  std::fflush(stdout);

  const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
  uint32_t shown_failures = 0;
  bool connected = false;
  while (!g_stop && (seconds <= 0 || std::chrono::steady_clock::now() < end)) {
    const bool now_connected = thread.GetState() == NET_CONNECTED;
    if (now_connected && !connected) {
      char cipher[kNetTextBytes], subject[kNetTextBytes], issuer[kNetTextBytes];
      thread.GetSslCipher(cipher, sizeof cipher);
      thread.GetSslSubject(subject, sizeof subject);
      thread.GetSslIssuer(issuer, sizeof issuer);
      std::printf("connected (reconnects %u): cipher %s\n  subject %s\n  issuer %s\n",
                  thread.GetReconnectCount(), cipher, subject, issuer);
      uint8_t hello[kHelloPayloadSize];
      thread.BuildHello(hello);
      std::printf("sent hello, type 1040, %u bytes:", kHelloPayloadSize);
      PrintBytes(hello, kHelloPayloadSize);
    } else if (!now_connected && connected) {
      std::printf("link lost; reconnecting\n");
    }
    connected = now_connected;
    if (thread.GetFailedConnectCount() != shown_failures) {
      shown_failures = thread.GetFailedConnectCount();
      std::printf("connect failed (%u so far); backing off\n", shown_failures);
    }
    std::fflush(stdout);
    network.Pump();
    std::this_thread::sleep_for(std::chrono::milliseconds(40));
  }
  uint32_t count = 0, last = 0, worst = 0, total = 0;
  thread.GetPingTimes(&count, &last, &worst, &total);
  std::printf("netprobe: done; %u ping echoes, last %u ms\n", count, last);
  return 0;
}
