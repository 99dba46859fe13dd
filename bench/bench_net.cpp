// How fast packets get from the socket to the dispatch, against how fast a bare TLS socket reads
// the same bytes from the same server, in one run.
//
// Both sides time one burst the same way: from the moment the first byte of the burst has been
// read off the socket to the moment the last byte (raw) or the last packet handed to the dispatch
// (engine) is in. The server's own queueing and poll interval fall before the first byte and are
// not counted; neither side sleeps while it waits (the pump side calls Pump in a tight loop, the
// raw side reads again at once).
//
// The engine's rate has a bound of its own: the connection thread steps every 25 ms and takes at
// most an input ring's worth (64 packets) a step, so a burst longer than the ring waits a step for
// every 64 packets. `vs_raw_tls` shows the engine's rate as a share of the raw socket's rate for
// the same packet size and burst (raw runs first).
#include <benchmark/benchmark.h>

#include <chrono>
#include <map>
#include <thread>
#include <utility>
#include <vector>

#include "cclient/base/debug_log.h"
#include "cclient/net/network.h"
#include "cclient/net/packet_frame.h"
#include "cclient/util/tcpssl.h"
#include "tests/server/game_server.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr uint16_t kBenchType = 2900;

// Packets a second of the raw socket, by (payload bytes, burst), for the engine's ratio.
std::map<std::pair<int64_t, int64_t>, double>& RawRates() {
  static std::map<std::pair<int64_t, int64_t>, double> rates;
  return rates;
}

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

void SetRates(benchmark::State& state, double seconds, uint32_t burst, uint32_t payload_bytes) {
  const double packets = static_cast<double>(burst) * static_cast<double>(state.iterations());
  state.counters["packets_per_second"] = packets / seconds;
  state.counters["MB_per_second"] =
      packets * (payload_bytes + kFrameHeaderSize) / seconds / (1024.0 * 1024.0);
}

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
    double total_seconds = 0;
    for (auto _ : state) {
      QueueBurst(server, burst, payload_bytes);
      uint64_t received = 0;
      Clock::time_point first{};
      while (received < burst_bytes) {
        const int count = socket.Read(buffer.data(), static_cast<int>(buffer.size()));
        if (count > 0) {
          if (received == 0) first = Clock::now();
          received += static_cast<uint64_t>(count);
        } else if (count != -1) {
          state.SkipWithError("link lost");
          break;
        }
      }
      const double seconds = std::chrono::duration<double>(Clock::now() - first).count();
      state.SetIterationTime(seconds);
      total_seconds += seconds;
    }
    if (total_seconds > 0) {
      SetRates(state, total_seconds, burst, payload_bytes);
      RawRates()[{state.range(0), state.range(1)}] =
          static_cast<double>(burst) * static_cast<double>(state.iterations()) / total_seconds;
    }
  }
  TCPSSL_GlobalCleanup();
}

void BM_ServerToDispatch(benchmark::State& state) {
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
  network.SetDispatch([&](uint8_t, uint32_t type, const uint8_t*, uint32_t) {
    if (type == kBenchType) ++dispatched;
    return 0;
  });
  const uint8_t id = network.Init(nullptr, "127.0.0.1", server.Port(), 0);
  if (id == kNoConnection || !HelloArrived(server)) {
    state.SkipWithError("no connection");
    return;
  }
  const NetThreadClass& thread = network.GetConnection(id)->thread;
  double total_seconds = 0;
  for (auto _ : state) {
    dispatched = 0;
    const uint32_t bytes_before = thread.GetBytesReceived();
    QueueBurst(server, burst, payload_bytes);
    while (thread.GetBytesReceived() == bytes_before) std::this_thread::yield();
    const Clock::time_point first = Clock::now();
    while (dispatched < burst) network.Pump();
    const double seconds = std::chrono::duration<double>(Clock::now() - first).count();
    state.SetIterationTime(seconds);
    total_seconds += seconds;
  }
  if (total_seconds <= 0) return;
  SetRates(state, total_seconds, burst, payload_bytes);
  const auto raw = RawRates().find({state.range(0), state.range(1)});
  if (raw != RawRates().end() && raw->second > 0) {
    const double packets = static_cast<double>(burst) * static_cast<double>(state.iterations());
    state.counters["vs_raw_tls"] = packets / total_seconds / raw->second;
  }
}

// Small packets, a burst within one ring's worth and one far beyond it, and 8 KB packets.
void Bursts(benchmark::internal::Benchmark* bench) {
  bench->Args({64, 60})->Args({64, 1000})->Args({8192, 60})->Args({8192, 200});
  bench->Iterations(5)->UseManualTime()->Unit(benchmark::kMillisecond);
}

BENCHMARK(BM_RawTlsRead)->Apply(Bursts);
BENCHMARK(BM_ServerToDispatch)->Apply(Bursts);

}  // namespace
