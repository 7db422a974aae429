// One whole frame of the fire (Update, Render, CopyToSurface) at full HD and
// 4K, optimised against the scalar reference pieces and against a memcpy of the
// frame's surface bytes, with the background and palette still (calm) and with
// a wipe and a palette fade running (busy).
//
// The machine these run on is shared, so times alone say little. Each
// iteration therefore also copies one surface's worth of bytes with memcpy,
// right after the frame, and the counters give the ratios of the two, summed
// over the run in thread CPU time:
//   x_memcpy       whole frame / memcpy of the surface (w x h x bytes per pixel)
//   copy_x_memcpy  CopyToSurface alone / the same memcpy
//   best_x_memcpy  the fastest frame / the fastest memcpy of the run: other
//                  work on the machine only ever slows an iteration down, so
//                  the two minimums are the steadiest figure on a busy host
//   frame_ms, memcpy_ms  the mean CPU times behind them
// Build with the bench preset: cmake --preset bench && cmake --build --preset bench
#include <benchmark/benchmark.h>
#include <time.h>

#include <algorithm>
#include <cstring>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "diagnostics/debug_log.h"
#include "diagnostics/performance_monitor.h"
#include "fire/background_source.h"
#include "fire/fire_manager.h"
#include "fire/scalar_fire_manager.h"
#include "image/memory_surface.h"
#include "settings/settings.h"

namespace {

// Two generated pictures with plenty of edges: bright rings on a dark field.
class BenchBackgrounds : public BackgroundSource {
 public:
  BenchBackgrounds(std::int32_t width, std::int32_t height, int bitsPerPixel) {
    const int bytes = bitsPerPixel / 8;
    for (int k = 0; k < 2; ++k) {
      auto surface = std::make_unique<MemorySurface>(width, height, bitsPerPixel);
      for (std::int32_t y = 0; y < height; ++y) {
        std::uint8_t* p = surface->Bytes().data() + static_cast<std::size_t>(y) * surface->PitchBytes();
        for (std::int32_t x = 0; x < width; ++x, p += bytes) {
          const std::int64_t dx = x - width / 2, dy = y - height / 2;
          const std::uint8_t v = static_cast<std::uint8_t>(((dx * dx + dy * dy) / (400 + 300 * k)) % 3 == 0 ? 220 : 30);
          std::memset(p, v, static_cast<std::size_t>(bytes));
        }
      }
      surfaces_[k == 0 ? "one" : "two"] = std::move(surface);
    }
  }
  Surface* Load(const std::string& name) override {
    const auto found = surfaces_.find(name);
    return found == surfaces_.end() ? nullptr : found->second.get();
  }
  void Release() override {}

 private:
  std::map<std::string, std::unique_ptr<MemorySurface>> surfaces_;
};

PaletteRecord FirePalette(int shift) {
  PaletteRecord p;
  const int ys[3][4] = {{0, 180, 255, 255}, {0, 90, 220, 255}, {0, 40, 160, 255}};
  for (int c = 0; c < 3; ++c) {
    for (int i = 0; i < 4; ++i) {
      p.points[c * 4 + i].x = 85 * i;
      p.points[c * 4 + i].y = ys[(c + shift) % 3][i];
    }
  }
  return p;
}

double ThreadSeconds() {
  timespec now{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
  return static_cast<double>(now.tv_sec) + 1e-9 * static_cast<double>(now.tv_nsec);
}

template <class Manager>
void Frame(benchmark::State& state) {
  const std::int32_t width = static_cast<std::int32_t>(state.range(0));
  const std::int32_t height = static_cast<std::int32_t>(state.range(1));
  const bool busy = state.range(2) != 0;
  const int bitsPerPixel = static_cast<int>(state.range(3));
  TraceLog().SetOutputs(0);
  PerformanceMonitor::Init(false, false, "mf.pm.log");
  Settings settings;
  settings.SetBackgrounds({"one", "two"}, 0);
  settings.AddPalette(FirePalette(0));
  settings.AddPalette(FirePalette(1));
  BenchBackgrounds source(width, height, bitsPerPixel);
  Manager fire(settings);
  FireParameters parameters;
  parameters.width = width;
  parameters.height = height;
  parameters.bitsPerPixel = bitsPerPixel;
  if (fire.Create(parameters, source) != 0) {
    state.SkipWithError("the fire could not be created");
    return;
  }
  // Busy: a change falls due at every idle frame, so a wipe and a fade (each
  // far longer than the frames measured between them) are nearly always running.
  const std::uint32_t period = busy ? 0 : 3'600'000;
  fire.SetBackgroundPeriod(period);
  fire.SetPalettePeriod(period);
  fire.SetStylePeriod(3'600'000);
  MemorySurface surface(width, height, bitsPerPixel);
  std::vector<std::uint8_t> from(surface.Bytes().size(), 1), to(surface.Bytes().size());
  for (int warm = 0; warm < 30; ++warm) {
    fire.Update(33);
    fire.Render();
    fire.CopyToSurface(surface);
  }
  double frameSeconds = 0, copySeconds = 0, memcpySeconds = 0;
  double bestFrame = 1e9, bestMemcpy = 1e9;
  for (auto _ : state) {
    const double start = ThreadSeconds();
    fire.Update(33);
    fire.Render();
    const double copyStart = ThreadSeconds();
    fire.CopyToSurface(surface);
    benchmark::DoNotOptimize(surface.Bytes().data());
    const double frameEnd = ThreadSeconds();
    std::memcpy(to.data(), from.data(), to.size());
    benchmark::DoNotOptimize(to.data());
    benchmark::ClobberMemory();
    const double memcpyEnd = ThreadSeconds();
    frameSeconds += frameEnd - start;
    copySeconds += frameEnd - copyStart;
    memcpySeconds += memcpyEnd - frameEnd;
    bestFrame = std::min(bestFrame, frameEnd - start);
    bestMemcpy = std::min(bestMemcpy, memcpyEnd - frameEnd);
  }
  const double n = static_cast<double>(state.iterations());
  state.counters["x_memcpy"] = frameSeconds / memcpySeconds;
  state.counters["best_x_memcpy"] = bestFrame / bestMemcpy;
  state.counters["copy_x_memcpy"] = copySeconds / memcpySeconds;
  state.counters["frame_ms"] = 1e3 * frameSeconds / n;
  state.counters["memcpy_ms"] = 1e3 * memcpySeconds / n;
  state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(surface.Bytes().size()));
  fire.Release();
}

void Memcpy(benchmark::State& state) {
  const std::size_t bytes = static_cast<std::size_t>(state.range(0) * state.range(1) * 4);
  std::vector<std::uint8_t> from(bytes, 1), to(bytes);
  for (auto _ : state) {
    std::memcpy(to.data(), from.data(), bytes);
    benchmark::DoNotOptimize(to.data());
  }
  state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(bytes));
}

// Calm and busy at 32 bits; the 16- and 24-bit copies calm, against their own memcpy.
void Sizes(benchmark::internal::Benchmark* b) {
  for (const auto& size : {std::pair{1920, 1080}, std::pair{3840, 2160}}) {
    b->Args({size.first, size.second, 0, 32});
    b->Args({size.first, size.second, 1, 32});
    b->Args({size.first, size.second, 0, 24});
    b->Args({size.first, size.second, 0, 16});
  }
  b->ArgNames({"w", "h", "busy", "bpp"})->Unit(benchmark::kMillisecond);
}

void ScalarSizes(benchmark::internal::Benchmark* b) {
  for (const auto& size : {std::pair{1920, 1080}, std::pair{3840, 2160}}) b->Args({size.first, size.second, 0, 32});
  b->ArgNames({"w", "h", "busy", "bpp"})->Unit(benchmark::kMillisecond);
}

BENCHMARK_TEMPLATE(Frame, FireManager)->Apply(Sizes);
BENCHMARK_TEMPLATE(Frame, ScalarFireManager)->Apply(ScalarSizes);
BENCHMARK(Memcpy)->Args({1920, 1080})->Args({3840, 2160})->ArgNames({"w", "h"})->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
