// Unpacking speed of the 2.0 method in MB/s of output, on a 16 MB mix of text and binary data
// packed by the test-side encoder, next to zlib's inflate of the same data deflated at zlib's
// default level. The launcher unpacks whole installations, so the unpacker should keep up with
// inflate. Every call's output is checked by its size and CRC-32 (computed on both sides, so the
// figures include one CRC pass over the output).
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

// Packed bytes from memory; unpacked bytes are counted and their CRC-32 kept, so that every call
// is checked without copying its output.
class MemoryIO final : public RarUnpackIO {
 public:
  explicit MemoryIO(const std::vector<uint8_t>& packed) : packed_(packed) {}
  void Rewind() {
    read_ = 0;
    written_ = 0;
    crc_ = crc32(0, nullptr, 0);
  }
  int ReadPackedData(uint8_t* buffer, int count) override {
    const size_t take = std::min(static_cast<size_t>(count), packed_.size() - read_);
    std::memcpy(buffer, packed_.data() + read_, take);
    read_ += take;
    return static_cast<int>(take);
  }
  void WriteUnpacked(const uint8_t* buffer, int count) override {
    written_ += static_cast<size_t>(count);
    crc_ = crc32(crc_, buffer, static_cast<uInt>(count));
  }
  bool Gave(size_t size, uLong crc) const { return written_ == size && crc_ == crc; }

 private:
  const std::vector<uint8_t>& packed_;
  size_t read_ = 0;
  size_t written_ = 0;
  uLong crc_ = 0;
};

uLong DataCrc(const std::vector<uint8_t>& data) {
  return crc32(crc32(0, nullptr, 0), data.data(), static_cast<uInt>(data.size()));
}

void BM_Unpack20(benchmark::State& state) {
  const Fixture& files = Files();
  if (files.packed.empty()) {
    state.SkipWithError("the encoder failed");
    return;
  }
  const uLong expected_crc = DataCrc(files.data);
  MemoryIO io(files.packed);
  std::unique_ptr<Unpacker> unpacker = CreateUnpacker(&io);
  if (!unpacker) {
    state.SkipWithError("no memory for the unpacker");
    return;
  }
  for (auto _ : state) {
    io.Rewind();
    const UnpackResult result = unpacker->Unpack(20, static_cast<int64_t>(files.data.size()), false);
    if (result != UNPACK_OK || !io.Gave(files.data.size(), expected_crc)) {
      state.SkipWithError("the packed file did not unpack to its data");
      break;
    }
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(files.data.size()));
  state.counters["ratio"] = static_cast<double>(files.packed.size()) / static_cast<double>(files.data.size());
}
BENCHMARK(BM_Unpack20)->Unit(benchmark::kMillisecond);

void BM_ZlibInflate(benchmark::State& state) {
  const Fixture& files = Files();
  const uLong expected_crc = DataCrc(files.data);
  std::vector<uint8_t> out(files.data.size());
  for (auto _ : state) {
    uLongf length = static_cast<uLongf>(out.size());
    const int result =
        uncompress(out.data(), &length, files.deflated.data(), static_cast<uLong>(files.deflated.size()));
    if (result != Z_OK || length != files.data.size() ||
        crc32(crc32(0, nullptr, 0), out.data(), static_cast<uInt>(length)) != expected_crc) {
      state.SkipWithError("inflate did not give back the data");
      break;
    }
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(files.data.size()));
  state.counters["ratio"] = static_cast<double>(files.deflated.size()) / static_cast<double>(files.data.size());
}
BENCHMARK(BM_ZlibInflate)->Unit(benchmark::kMillisecond);

}  // namespace
