// One full table frame against a memcpy of the same 800 x 560 frame, in one run: the table
// picture, ten seat plates, the chip stacks, the dealer button, a dealt board and the two bars,
// all painted again; and one ordinary tick of the frame protocol, which repaints only what
// changed. The "vs_memcpy" counter is the time of one frame divided by the time of copying the
// frame's bytes with memcpy. The pictures are the plain stand-ins, written to a temporary folder.
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <chrono>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "tools/widget-gallery/table_art.h"
#include "tools/widget-gallery/table_scene.h"

namespace {

namespace fs = std::filesystem;

constexpr size_t kFrameBytes = static_cast<size_t>(TableScene::kWidth) * TableScene::kHeight * 3;

// Seconds for one memcpy of `bytes` bytes, the best of many tries.
double MemcpySeconds(size_t bytes) {
  std::vector<uint8_t> from(bytes, 1), to(bytes, 2);
  double best = 1e9;
  for (int round = 0; round < 50; ++round) {
    const auto start = std::chrono::steady_clock::now();
    std::memcpy(to.data(), from.data(), bytes);
    benchmark::DoNotOptimize(to.data());
    benchmark::ClobberMemory();
    best = std::min(best, std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
  }
  return best;
}

template <typename Body>
void Measure(benchmark::State& state, Body&& body) {
  const double baseline = MemcpySeconds(kFrameBytes);
  const auto start = std::chrono::steady_clock::now();
  for (auto _ : state) body();
  const double each =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count() / state.iterations();
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(kFrameBytes));
  state.counters["vs_memcpy"] = each / baseline;
}

// The stand-in pictures in a folder of their own, made the current folder while it lives.
class PictureFolder {
 public:
  PictureFolder() : old_(fs::current_path()) {
    path_ = fs::temp_directory_path() / ("bench-table-frame-" + std::to_string(::getpid()));
    fs::create_directories(path_);
    (void)WriteTableArt(path_.string() + "/");
    fs::current_path(path_);
  }
  ~PictureFolder() {
    std::error_code error;
    fs::current_path(old_, error);
    fs::remove_all(path_, error);
  }

 private:
  fs::path old_;
  fs::path path_;
};

void BM_Memcpy_800x560(benchmark::State& state) {
  std::vector<uint8_t> from(kFrameBytes, 1), to(kFrameBytes, 2);
  Measure(state, [&] {
    std::memcpy(to.data(), from.data(), kFrameBytes);
    benchmark::ClobberMemory();
  });
}
BENCHMARK(BM_Memcpy_800x560);

void BM_TableFrame_Full(benchmark::State& state) {
  PictureFolder folder;
  TableScene scene;
  scene.SetUpHand();
  scene.DrawFullFrame();
  Measure(state, [&] { scene.DrawFullFrame(); });
}
BENCHMARK(BM_TableFrame_Full);

void BM_TableFrame_Tick(benchmark::State& state) {
  PictureFolder folder;
  TableScene scene;
  scene.SetUpHand();
  scene.DrawFullFrame();
  Measure(state, [&] { benchmark::DoNotOptimize(scene.Tick(0.02f)); });
}
BENCHMARK(BM_TableFrame_Tick);

}  // namespace
