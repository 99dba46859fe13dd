// The packet checksum over a full 64 KB frame, against zlib's own CRC-32 of the same bytes: the
// seeded checksum should cost no more than the library call it wraps.
#include <benchmark/benchmark.h>
#include <zlib.h>

#include <vector>

#include "cclient/net/packet_frame.h"

namespace {

std::vector<uint8_t> Frame() {
  std::vector<uint8_t> bytes(kMaxFrameSize);
  for (size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<uint8_t>(i * 131 + 7);
  return bytes;
}

void BM_PacketCrc32(benchmark::State& state) {
  const auto bytes = Frame();
  for (auto _ : state) benchmark::DoNotOptimize(PacketCrc32(bytes.data(), static_cast<long>(bytes.size())));
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(bytes.size()));
}
BENCHMARK(BM_PacketCrc32);

void BM_ZlibCrc32(benchmark::State& state) {
  const auto bytes = Frame();
  for (auto _ : state) benchmark::DoNotOptimize(crc32(0, bytes.data(), static_cast<uInt>(bytes.size())));
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(bytes.size()));
}
BENCHMARK(BM_ZlibCrc32);

}  // namespace
