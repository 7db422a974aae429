// One whole frame of the fire (Update, Render, CopyToSurface at 32 bits) at
// full HD and 4K, optimised against the scalar reference pieces and against a
// memcpy of the frame's surface bytes, with the background and palette still
// (calm) and with a wipe and a palette fade running (busy).
#include <benchmark/benchmark.h>

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
  BenchBackgrounds(std::int32_t width, std::int32_t height) {
    for (int k = 0; k < 2; ++k) {
      auto surface = std::make_unique<MemorySurface>(width, height, 32);
      for (std::int32_t y = 0; y < height; ++y) {
        std::uint8_t* p = surface->Bytes().data() + static_cast<std::size_t>(y) * surface->PitchBytes();
        for (std::int32_t x = 0; x < width; ++x, p += 4) {
          const std::int64_t dx = x - width / 2, dy = y - height / 2;
          const std::uint8_t v = static_cast<std::uint8_t>(((dx * dx + dy * dy) / (400 + 300 * k)) % 3 == 0 ? 220 : 30);
          p[0] = p[1] = p[2] = v;
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

template <class Manager>
void Frame(benchmark::State& state) {
  const std::int32_t width = static_cast<std::int32_t>(state.range(0));
  const std::int32_t height = static_cast<std::int32_t>(state.range(1));
  const bool busy = state.range(2) != 0;
  TraceLog().SetOutputs(0);
  PerformanceMonitor::Init(false, false, "mf.pm.log");
  Settings settings;
  settings.SetBackgrounds({"one", "two"}, 0);
  settings.AddPalette(FirePalette(0));
  settings.AddPalette(FirePalette(1));
  BenchBackgrounds source(width, height);
  Manager fire(settings);
  FireParameters parameters;
  parameters.width = width;
  parameters.height = height;
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
  MemorySurface surface(width, height, 32);
  for (int warm = 0; warm < 30; ++warm) {
    fire.Update(33);
    fire.Render();
    fire.CopyToSurface(surface);
  }
  for (auto _ : state) {
    fire.Update(33);
    fire.Render();
    fire.CopyToSurface(surface);
    benchmark::DoNotOptimize(surface.Bytes().data());
  }
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

void Sizes(benchmark::internal::Benchmark* b) {
  for (const auto& size : {std::pair{1920, 1080}, std::pair{3840, 2160}}) {
    b->Args({size.first, size.second, 0});
    b->Args({size.first, size.second, 1});
  }
  b->ArgNames({"w", "h", "busy"})->Unit(benchmark::kMillisecond);
}

BENCHMARK_TEMPLATE(Frame, FireManager)->Apply(Sizes);
BENCHMARK_TEMPLATE(Frame, ScalarFireManager)->Apply(Sizes);
BENCHMARK(Memcpy)->Args({1920, 1080})->Args({3840, 2160})->ArgNames({"w", "h"})->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
