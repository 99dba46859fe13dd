// Packets per second from the scripted game server on loopback, through a connection thread's
// input ring, to the pump's dispatch; against the rate at which a bare TLS socket reads the same
// packets from the same kind of server. The first is bounded by design (at most a ring's worth of
// frames per 25 ms step, and one packet per connection per pump call); the second shows what the
// link itself would carry.
#include <benchmark/benchmark.h>

#include <chrono>
#include <thread>
#include <vector>

#include "cclient/core/debug_log.h"
#include "cclient/net/network.h"
#include "cclient/net/packet_frame.h"
#include "cclient/util/tcpssl.h"
#include "tests/server/game_server.h"

namespace {

constexpr uint16_t kBenchType = 2900;

// Queues `count` packets of `payload_bytes` on the server's first connection.
void QueueBurst(GameServer& server, uint32_t count, uint32_t payload_bytes) {
  const std::vector<uint8_t> payload(payload_bytes, 0x42);
  for (uint32_t i = 0; i < count; ++i) server.Send(0, kBenchType, payload);
}

bool HelloArrived(const GameServer& server) {
  return server.WaitFor([](const std::vector<ServerEvent>& events) {
    for (const ServerEvent& event : events) {
      if (event.kind == ServerEvent::kPacket && event.type == 1040) return true;
    }
    return false;
  });
}

void BM_ServerToPump(benchmark::State& state) {
  const auto payload_bytes = static_cast<uint32_t>(state.range(0));
  const auto burst = static_cast<uint32_t>(state.range(1));
  DebugLevel = -1;
  TestCertificates::Get();
  GameServer server;
  server.SetAnswerPings(true);
  if (!server.Start()) {
    state.SkipWithError("server did not start");
    return;
  }
  Network network;
  uint32_t dispatched = 0;
  network.SetDispatch([&](uint8_t, uint32_t, const uint8_t*, uint32_t) {
    ++dispatched;
    return 0;
  });
  if (network.Init(nullptr, "127.0.0.1", server.Port(), 0) == kNoConnection ||
      !HelloArrived(server)) {
    state.SkipWithError("no connection");
    return;
  }
  for (auto _ : state) {
    dispatched = 0;
    QueueBurst(server, burst, payload_bytes);
    while (dispatched < burst) {
      network.Pump();
      std::this_thread::sleep_for(std::chrono::microseconds(200));
    }
  }
  state.counters["packets_per_second"] = benchmark::Counter(
      static_cast<double>(state.iterations()) * burst, benchmark::Counter::kIsRate);
}
BENCHMARK(BM_ServerToPump)
    ->Args({64, 1000})
    ->Args({8192, 100})
    ->Iterations(3)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

void BM_RawTlsRead(benchmark::State& state) {
  const auto payload_bytes = static_cast<uint32_t>(state.range(0));
  const auto burst = static_cast<uint32_t>(state.range(1));
  DebugLevel = -1;
  TestCertificates::Get();
  if (TCPSSL_GlobalInit(1, 0) != nullptr) {
    state.SkipWithError("no TLS context");
    return;
  }
  {
    GameServer server;
    if (!server.Start()) {
      state.SkipWithError("server did not start");
      return;
    }
    TCPSSLClass socket;
    if (socket.OpenClient("127.0.0.1", server.Port()) != TCPSSL_OK) {
      state.SkipWithError("no connection");
      return;
    }
    const uint64_t burst_bytes = uint64_t{burst} * (payload_bytes + kFrameHeaderSize);
    std::vector<uint8_t> buffer(kMaxFrameSize);
    for (auto _ : state) {
      QueueBurst(server, burst, payload_bytes);
      uint64_t received = 0;
      while (received < burst_bytes) {
        const int count = socket.Read(buffer.data(), static_cast<int>(buffer.size()));
        if (count > 0) {
          received += static_cast<uint64_t>(count);
        } else if (count == -1) {
          std::this_thread::yield();
        } else {
          state.SkipWithError("link lost");
          break;
        }
      }
    }
    state.counters["packets_per_second"] = benchmark::Counter(
        static_cast<double>(state.iterations()) * burst, benchmark::Counter::kIsRate);
  }
  TCPSSL_GlobalCleanup();
}
BENCHMARK(BM_RawTlsRead)
    ->Args({64, 1000})
    ->Args({8192, 100})
    ->Iterations(3)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

}  // namespace
