// A card sprite's frames, each against the plain copy of the same card in the same run: the
// anti-aliased scaled-and-rotated frame that a Black Jack card in flight costs per tick, the
// anti-aliased rotation, and the integer rotate-and-skew of the Stud animator. The card is a full
// 56 x 78 face with cut corners, drawn into a 132 x 134 work bitmap over felt.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <vector>

#include "cclient/widgets/card_sprite.h"
#include "platform/draw/gdi.h"

using namespace platform;

namespace {

constexpr COLORREF kKey = RGB(0, 255, 0);
constexpr int32_t kCardWidth = 56;
constexpr int32_t kCardHeight = 78;

std::vector<uint8_t> CardPixels() {
  std::vector<uint8_t> pixels(static_cast<size_t>(kCardWidth) * kCardHeight * 3);
  for (int32_t y = 0; y < kCardHeight; ++y) {
    for (int32_t x = 0; x < kCardWidth; ++x) {
      uint8_t* p = pixels.data() + (static_cast<size_t>(y) * kCardWidth + x) * 3;
      const int32_t inset = std::max(0, 2 - std::min(y, kCardHeight - 1 - y));
      const bool key = x < inset || x >= kCardWidth - inset;
      p[0] = key ? 0 : static_cast<uint8_t>(200 + x % 40);
      p[1] = key ? 255 : static_cast<uint8_t>(180 + y % 60);
      p[2] = key ? 0 : 240;
    }
  }
  return pixels;
}

struct Scene {
  std::vector<uint8_t> pixels = CardPixels();
  CardSprite sprite;
  HDC table = CreateCompatibleDC(nullptr);
  HBITMAP table_bitmap = CreateCompatibleBitmap(nullptr, 300, 300);
  HDC work = CreateCompatibleDC(nullptr);
  HBITMAP work_bitmap = CreateCompatibleBitmap(nullptr, 132, 134);
  Scene() {
    sprite.CopyPixels(pixels.data(), kCardWidth, kCardHeight, kKey);
    SelectObject(table, table_bitmap);
    SelectObject(work, work_bitmap);
    const HBRUSH felt = CreateSolidBrush(RGB(0, 90, 30));
    const RECT all{0, 0, 300, 300};
    FillRect(table, &all, felt);
    DeleteObject(felt);
  }
  ~Scene() {
    DeleteDC(work);
    DeleteDC(table);
    DeleteObject(work_bitmap);
    DeleteObject(table_bitmap);
  }
};

void BM_PlainCopy(benchmark::State& state) {
  Scene scene;
  SIZE size{};
  for (auto _ : state) {
    benchmark::DoNotOptimize(scene.sprite.RenderRotateSkew(scene.work, scene.work_bitmap, 0, 0, 100, 100, &size));
  }
}
BENCHMARK(BM_PlainCopy);

void BM_ScaledRotated(benchmark::State& state) {
  Scene scene;
  SIZE size{};
  for (auto _ : state) {
    benchmark::DoNotOptimize(
        scene.sprite.RenderScaledRotated(scene.table, scene.work_bitmap, 70.0, 97.5, 27.0, false, 40, 40, &size));
  }
}
BENCHMARK(BM_ScaledRotated);

void BM_Rotated(benchmark::State& state) {
  Scene scene;
  SIZE size{};
  for (auto _ : state) {
    benchmark::DoNotOptimize(scene.sprite.RenderRotated(scene.table, scene.work_bitmap, 27.0, false, 40, 40, &size));
  }
}
BENCHMARK(BM_Rotated);

void BM_RotateSkew(benchmark::State& state) {
  Scene scene;
  SIZE size{};
  for (auto _ : state) {
    benchmark::DoNotOptimize(scene.sprite.RenderRotateSkew(scene.work, scene.work_bitmap, 27, 8, 100, 100, &size));
  }
}
BENCHMARK(BM_RotateSkew);

}  // namespace
