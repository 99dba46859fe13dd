// game_server [PORT] [--ca FILE] [--demo]: the scripted game server as a program, for local runs of
// the client. Listens on 127.0.0.1 (PORT 0 or none: a free port), answers pings, and prints every
// connection event and packet it receives. With --demo it plays the demo room
// (tests/server/demo_room.h): the lobby, tables and games a person can use. The authority that
// signed its certificate is FILE (default "game-server-ca.pem"); point the client's SSL_CERT_FILE
// at it. The authority, its key and the server's certificate and key are kept beside FILE and
// used again by the next run, so a client goes on trusting a restarted server. Runs until
// interrupted.
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

#include "tests/server/demo_room.h"
#include "tests/server/game_server.h"

namespace {

volatile std::sig_atomic_t g_stop = 0;

void OnSignal(int) { g_stop = 1; }

void Print(const ServerEvent& event) {
  std::printf("#%d %s", event.connection, ServerEventKindName(event.kind));
  if (event.kind == ServerEvent::kPacket) {
    std::printf(" type %u length %zu:", event.type, event.payload.size());
    for (uint8_t byte : event.payload) std::printf(" %02X", byte);
  }
  if (!event.note.empty()) std::printf(" %s", event.note.c_str());
  std::printf("\n");
  std::fflush(stdout);
}

}  // namespace

int main(int argc, char** argv) {
  uint16_t port = 0;
  std::string ca_file = "game-server-ca.pem";
  bool demo = false;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--demo") == 0) {
      demo = true;
    } else if (std::strcmp(argv[i], "--ca") == 0 && i + 1 < argc) {
      ca_file = argv[++i];
    } else {
      port = static_cast<uint16_t>(std::atoi(argv[i]));
    }
  }
  if (const std::string failure = TestCertificates::KeepIn(ca_file); !failure.empty()) {
    std::fprintf(stderr, "game_server: %s\n", failure.c_str());
    return 1;
  }
  GameServer server;
  std::unique_ptr<DemoRoom> room;
  if (demo) {
    room = MakeDemoRoom();
    server.SetResponder(room.get());
  }
  if (!server.Start(port)) {
    std::fprintf(stderr, "game_server: cannot listen on port %u\n", port);
    return 1;
  }
  std::signal(SIGINT, OnSignal);
  std::signal(SIGTERM, OnSignal);
  std::printf("game_server: listening on 127.0.0.1:%u; trust %s (SSL_CERT_FILE)\n", server.Port(),
              ca_file.c_str());
  std::fflush(stdout);

  size_t printed = 0;
  while (!g_stop) {
    server.WaitFor([&](const std::vector<ServerEvent>& events) { return events.size() > printed; },
                   200);
    const std::vector<ServerEvent> events = server.Events();
    for (; printed < events.size(); ++printed) Print(events[printed]);
  }
  server.Stop();
  return 0;
}
