// netprobe HOST PORT [SECONDS]: connects to a game server (or any TLS peer) with the client's own
// network engine and prints the hello it sent on each connection and every packet it receives
// (type, length, bytes in hexadecimal). It sends nothing of its own; the engine's pings every
// 5 seconds still go out, and their echoes are counted by the engine, not printed. Runs until
// interrupted, or for SECONDS; a link lost after the first connection is reconnected.
//
// When the first connection cannot be made it says why (refused, unknown host, certificate not
// trusted, not TLS, ...) and exits with 1; wrong arguments exit with 2.
//
// The peer's certificate must be trusted: point SSL_CERT_FILE at its authority for a test server.
#include <openssl/x509.h>

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>

#include "cclient/base/debug_log.h"
#include "cclient/net/network.h"
#include "cclient/util/tcpssl.h"

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

// A whole decimal number from `lowest` to `highest`, else -1.
long WholeNumber(const char* text, long lowest, long highest) {
  char* end = nullptr;
  errno = 0;
  const long value = std::strtol(text, &end, 10);
  if (errno != 0 || end == text || *end != '\0' || value < lowest || value > highest) return -1;
  return value;
}

// Why a connection to host:port cannot be made, found by making one the way the engine does.
// Empty when this one worked.
std::string ConnectFailure(const char* host, uint32_t port) {
  TCPSSLClass socket;
  const int result = socket.OpenClient(host, port, 1);
  const int error = socket.GetLastError();
  switch (result) {
    case TCPSSL_OK: socket.Close(); return "";
    case TCPSSL_NO_CONTEXT: return "the TLS library could not be set up";
    case TCPSSL_LOOKUP_FAILED: return "unknown host";
    case TCPSSL_SOCKET_FAILED: return std::string("no socket (") + std::strerror(error) + ")";
    case TCPSSL_CONNECT_FAILED:
      if (error == ECONNREFUSED) return "connection refused";
      if (error == ETIMEDOUT) return "no answer (connect timed out)";
      return std::string("cannot connect (") + std::strerror(error) + ")";
    case TCPSSL_NO_CERTIFICATE: return "the server presented no certificate";
    case TCPSSL_HANDSHAKE_FAILED:
      if (socket.GetVerifyResult() != X509_V_OK) {
        return std::string("certificate not trusted (") + X509_verify_cert_error_string(socket.GetVerifyResult()) + ")";
      }
      return "not TLS (the handshake failed)";
    default: return "TLS session failed (" + std::to_string(result) + ")";
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3 || argc > 4) {
    std::fprintf(stderr, "usage: netprobe HOST PORT [SECONDS]\n");
    return 2;
  }
  const char* host = argv[1];
  const long port_number = WholeNumber(argv[2], 1, 65535);
  if (port_number < 0) {
    std::fprintf(stderr, "netprobe: the port '%s' is not a number from 1 to 65535\n", argv[2]);
    return 2;
  }
  const long seconds_number = argc > 3 ? WholeNumber(argv[3], 0, 86400 * 365) : 0;
  if (seconds_number < 0) {
    std::fprintf(stderr, "netprobe: the seconds '%s' are not a whole number\n", argv[3]);
    return 2;
  }
  const auto port = static_cast<uint32_t>(port_number);
  const auto seconds = static_cast<int>(seconds_number);
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
  bool connected = false;
  bool ever_connected = false;
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
    ever_connected = ever_connected || now_connected;
    if (!ever_connected && thread.GetFailedConnectCount() > 0) {
      // The engine only backs off and tries again; the reason is found by one more attempt.
      network.Shutdown(id);
      std::string reason = ConnectFailure(host, port);
      if (reason.empty()) reason = "the connection failed, then worked on a second try";
      std::fprintf(stderr, "netprobe: cannot connect to %s:%u: %s\n", host, port, reason.c_str());
      return 1;
    }
    std::fflush(stdout);
    network.Pump();
    std::this_thread::sleep_for(std::chrono::milliseconds(40));
  }
  uint32_t count = 0, last = 0, worst = 0, total = 0;
  thread.GetPingTimes(&count, &last, &worst, &total);
  std::printf("netprobe: done; %u ping echoes, last %u ms\n", count, last);
  if (!ever_connected) {
    std::fprintf(stderr, "netprobe: no connection to %s:%u was made\n", host, port);
    return 1;
  }
  return 0;
}
