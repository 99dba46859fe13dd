// The drawing layer's everyday work on a table-sized picture, each set against a plain memcpy of
// the same bytes: a full 800 x 560 SRCCOPY, a full 800 x 560 keyed copy, and DrawText of a
// 40-character line. The "vs_memcpy" counter is the time of one call divided by the memcpy case's
// time for copying as many bytes as the call writes (the keyed copy should stay at 6 or below).
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstring>
#include <map>
#include <vector>

#include "platform/draw/gdi.h"
#include "platform/text/text.h"

using namespace platform;

namespace {

constexpr int32_t kWidth = 800;
constexpr int32_t kHeight = 560;
constexpr COLORREF kKey = RGB(255, 0, 255);
const char kLine[] = "Player One raises to $25.00 - pot $147.5";  // 40 characters

struct Picture {
  Surface surface;
  HDC dc;
  explicit Picture(uint32_t seed) : surface(kWidth, kHeight), dc(CreateSurfaceDC(&surface)) {
    // About a third of the pixels are the key, scattered one by one: the worst case for a keyed
    // copy, whose key test cannot be predicted.
    uint32_t state = seed;
    for (size_t i = 0; i < surface.pixels.size(); i += 3) {
      state = state * 1103515245u + 12345u;
      const bool key = ((state >> 16) % 3) == 0;
      surface.pixels[i] = key ? 255 : static_cast<uint8_t>(state >> 8);
      surface.pixels[i + 1] = key ? 0 : static_cast<uint8_t>(state >> 16);
      surface.pixels[i + 2] = key ? 255 : static_cast<uint8_t>(state >> 24);
    }
  }
  ~Picture() { DeleteDC(dc); }
};

// Seconds per call of the memcpy case, by the number of bytes copied. The memcpy case runs first
// and leaves its own figure here; any other size is measured with the same loop when first needed.
std::map<size_t, double>& MemcpySecondsBySize() {
  static std::map<size_t, double> seconds;
  return seconds;
}

// The memcpy case's loop body: one copy of the whole buffer.
void CopyOnce(std::vector<uint8_t>& to, const std::vector<uint8_t>& from) {
  std::memcpy(to.data(), from.data(), from.size());
  benchmark::ClobberMemory();
}

double MemcpySeconds(size_t bytes) {
  auto& known = MemcpySecondsBySize();
  if (const auto found = known.find(bytes); found != known.end()) return found->second;
  std::vector<uint8_t> from(bytes, 1), to(bytes, 2);
  // As many calls as fill about a tenth of a second, averaged as the benchmark loop averages them.
  int64_t calls = 0;
  const auto start = std::chrono::steady_clock::now();
  double elapsed = 0;
  while (elapsed < 0.1) {
    for (int i = 0; i < 16; ++i) CopyOnce(to, from);
    calls += 16;
    elapsed = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  }
  return known[bytes] = elapsed / static_cast<double>(calls);
}

// Runs `body` as the benchmark loop and sets "vs_memcpy": its time per call over the memcpy
// case's time per call for the same number of bytes, both averaged over their loops.
template <typename Body>
void Measure(benchmark::State& state, size_t bytes, Body&& body) {
  const double baseline = MemcpySeconds(bytes);
  const auto start = std::chrono::steady_clock::now();
  for (auto _ : state) body();
  const double each =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count() / state.iterations();
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(bytes));
  state.counters["vs_memcpy"] = each / baseline;
}

void BM_Memcpy_800x560(benchmark::State& state) {
  const size_t bytes = static_cast<size_t>(kWidth) * kHeight * 3;
  std::vector<uint8_t> from(bytes, 1), to(bytes, 2);
  const auto start = std::chrono::steady_clock::now();
  for (auto _ : state) CopyOnce(to, from);
  const double each =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count() / state.iterations();
  // Google Benchmark runs the case more than once while it sizes the loop; the last run counts.
  MemcpySecondsBySize()[bytes] = each;
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(bytes));
  state.counters["vs_memcpy"] = 1.0;
}
BENCHMARK(BM_Memcpy_800x560);

void BM_BitBlt_SrcCopy_800x560(benchmark::State& state) {
  Picture source(1), destination(2);
  Measure(state, source.surface.pixels.size(),
          [&] { BitBlt(destination.dc, 0, 0, kWidth, kHeight, source.dc, 0, 0, SRCCOPY); });
}
BENCHMARK(BM_BitBlt_SrcCopy_800x560);

void BM_TransparentBlt_800x560(benchmark::State& state) {
  Picture source(1), destination(2);
  Measure(state, source.surface.pixels.size(), [&] {
    TransparentBlt(destination.dc, 0, 0, kWidth, kHeight, source.dc, 0, 0, kWidth, kHeight, kKey);
  });
}
BENCHMARK(BM_TransparentBlt_800x560);

void BM_DrawText_40_characters(benchmark::State& state) {
  Picture destination(2);
  HFONT font = CreateFont(15, 0, 0, 0, FW_BOLD, 0, 0, 0, ANSI_CHARSET, 0, 0, 0, VARIABLE_PITCH, "Arial");
  HFONT old = SelectObject(destination.dc, font);
  SetBkMode(destination.dc, TRANSPARENT);
  SetTextColor(destination.dc, RGB(0xEE, 0xEE, 0xEE));
  SIZE extent{};
  GetTextExtentPoint32(destination.dc, kLine, 40, &extent);
  RECT warm{10, 10, 790, 40};
  DrawText(destination.dc, kLine, 40, &warm, DT_SINGLELINE);  // glyphs cached before timing
  Measure(state, static_cast<size_t>(extent.cx) * extent.cy * 3, [&] {
    RECT rect{10, 10, 790, 40};
    DrawText(destination.dc, kLine, 40, &rect, DT_SINGLELINE);
  });
  SelectObject(destination.dc, old);
  DeleteObject(font);
}
BENCHMARK(BM_DrawText_40_characters);

}  // namespace
