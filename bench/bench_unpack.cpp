// Unpacking speed of the 2.0 method in MB/s of output, on a 16 MB mix of text and binary data
// packed by the test-side encoder, next to zlib's inflate of the same data deflated at zlib's
// default level. The launcher unpacks whole installations, so the unpacker should keep up with
// inflate.
#include <benchmark/benchmark.h>
#include <zlib.h>

#include <cstring>
#include <memory>
#include <vector>

#include "rar/unpack.h"
#include "tests/rar/support/rar20_encoder.h"
#include "tests/rar/support/sample_data.h"

namespace {

constexpr size_t kFileSize = 16u << 20;

struct Fixture {
  std::vector<uint8_t> data;
  std::vector<uint8_t> packed;    // 2.0 method
  std::vector<uint8_t> deflated;  // zlib stream
};

const Fixture& Files() {
  static const Fixture fixture = [] {
    Fixture f;
    f.data = SampleMixed(kFileSize, 2024);
    Rar20Encoder encoder;
    f.packed = encoder.EncodeData(f.data, false);
    uLongf length = compressBound(static_cast<uLong>(f.data.size()));
    f.deflated.resize(length);
    if (compress2(f.deflated.data(), &length, f.data.data(), static_cast<uLong>(f.data.size()),
                  Z_DEFAULT_COMPRESSION) != Z_OK) {
      length = 0;
    }
    f.deflated.resize(length);
    return f;
  }();
  return fixture;
}

// Packed bytes from memory, unpacked bytes into a buffer of the file's size.
class MemoryIO final : public RarUnpackIO {
 public:
  MemoryIO(const std::vector<uint8_t>& packed, size_t unpacked_size) : packed_(packed), out_(unpacked_size) {}
  void Rewind() {
    read_ = 0;
    written_ = 0;
  }
  int ReadPackedData(uint8_t* buffer, int count) override {
    const size_t take = std::min(static_cast<size_t>(count), packed_.size() - read_);
    std::memcpy(buffer, packed_.data() + read_, take);
    read_ += take;
    return static_cast<int>(take);
  }
  void WriteUnpacked(const uint8_t* buffer, int count) override {
    const size_t take = std::min(static_cast<size_t>(count), out_.size() - written_);
    std::memcpy(out_.data() + written_, buffer, take);
    written_ += take;
  }
  bool Holds(const std::vector<uint8_t>& expected) const { return written_ == expected.size() && out_ == expected; }

 private:
  const std::vector<uint8_t>& packed_;
  size_t read_ = 0;
  std::vector<uint8_t> out_;
  size_t written_ = 0;
};

void BM_Unpack20(benchmark::State& state) {
  const Fixture& files = Files();
  if (files.packed.empty()) {
    state.SkipWithError("the encoder failed");
    return;
  }
  MemoryIO io(files.packed, files.data.size());
  std::unique_ptr<Unpacker> unpacker = CreateUnpacker(&io);
  if (!unpacker || unpacker->Unpack(20, static_cast<int64_t>(files.data.size()), false) != UNPACK_OK ||
      !io.Holds(files.data)) {
    state.SkipWithError("the packed file does not unpack to its data");
    return;
  }
  for (auto _ : state) {
    io.Rewind();
    benchmark::DoNotOptimize(unpacker->Unpack(20, static_cast<int64_t>(files.data.size()), false));
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(files.data.size()));
  state.counters["ratio"] = static_cast<double>(files.packed.size()) / static_cast<double>(files.data.size());
}
BENCHMARK(BM_Unpack20)->Unit(benchmark::kMillisecond);

void BM_ZlibInflate(benchmark::State& state) {
  const Fixture& files = Files();
  std::vector<uint8_t> out(files.data.size());
  for (auto _ : state) {
    uLongf length = static_cast<uLongf>(out.size());
    benchmark::DoNotOptimize(
        uncompress(out.data(), &length, files.deflated.data(), static_cast<uLong>(files.deflated.size())));
  }
  if (out != files.data) state.SkipWithError("inflate did not give back the data");
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(files.data.size()));
  state.counters["ratio"] = static_cast<double>(files.deflated.size()) / static_cast<double>(files.data.size());
}
BENCHMARK(BM_ZlibInflate)->Unit(benchmark::kMillisecond);

}  // namespace
