// Two monitors at 4K each: one frame of both fires stepped side by side on the
// frame workers (as many threads as fires, up to the cores), against one frame
// of one fire alone, measured in the same run in wall time:
//   pair_x_alone       mean frame of both / mean frame of one
//   best_pair_x_alone  fastest frame of both / fastest of one: other work on a
//                      shared machine only ever slows a frame down, so the two
//                      minimums are the steadiest figure on a busy host
//   alone_ms, pair_ms  the means behind them; threads: the pool's size
// The goal is a pair that costs at most 1.2 times one fire on two cores.
// Build with the bench preset: cmake --preset bench && cmake --build --preset bench
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "diagnostics/debug_log.h"
#include "diagnostics/performance_monitor.h"
#include "fire/background_source.h"
#include "fire/fire_manager.h"
#include "fire/frame_workers.h"
#include "fire/random_sequence.h"
#include "image/memory_surface.h"
#include "settings/settings.h"

namespace {

// A desktop of stripes and blocks, so that every row has edges to seed.
class StripedDesktop : public BackgroundSource {
 public:
  StripedDesktop(std::int32_t width, std::int32_t height) : surface_(width, height, 32) {
    for (std::int32_t y = 0; y < height; ++y) {
      std::uint8_t* row = surface_.Bytes().data() + static_cast<std::size_t>(y) * surface_.PitchBytes();
      for (std::int32_t x = 0; x < width; ++x) {
        std::memset(row + 4 * x, ((x / 48) + (y / 32)) % 2 == 0 ? 210 : 25, 4);
      }
    }
  }
  Surface* Load(const std::string&) override { return &surface_; }
  void Release() override {}

 private:
  MemorySurface surface_;
};

// One monitor's fire with what it owns, as the full-screen mode keeps it.
struct MonitorFire {
  MonitorFire(std::int32_t width, std::int32_t height)
      : desktop(width, height), fire(settings), surface(width, height, 32) {
    FireParameters parameters;
    parameters.width = width;
    parameters.height = height;
    parameters.bitsPerPixel = 32;
    created = fire.Create(parameters, desktop) == 0;
    fire.SetBackgroundPeriod(3'600'000);
    fire.SetPalettePeriod(3'600'000);
    fire.SetStylePeriod(3'600'000);
  }
  void Step() {
    random.Run([this] {
      fire.Update(33);
      fire.Render();
      fire.CopyToSurface(surface);
    });
    benchmark::DoNotOptimize(surface.Bytes().data());
  }

  Settings settings;
  StripedDesktop desktop;
  FireManager fire;
  MemorySurface surface;
  RandomSequence random;
  bool created = false;
};

double Seconds(std::chrono::steady_clock::time_point from, std::chrono::steady_clock::time_point to) {
  return std::chrono::duration<double>(to - from).count();
}

void TwoMonitors(benchmark::State& state) {
  const auto width = static_cast<std::int32_t>(state.range(0));
  const auto height = static_cast<std::int32_t>(state.range(1));
  TraceLog().SetOutputs(0);
  PerformanceMonitor::Init(false, false, "mf.pm.log");
  MonitorFire alone(width, height);
  std::vector<std::unique_ptr<MonitorFire>> pair;
  pair.push_back(std::make_unique<MonitorFire>(width, height));
  pair.push_back(std::make_unique<MonitorFire>(width, height));
  if (!alone.created || !pair[0]->created || !pair[1]->created) {
    state.SkipWithError("a fire could not be created");
    return;
  }
  FrameWorkers workers(FrameWorkers::ThreadsFor(2));
  auto job = [&](int index) {
    // As in the saver: only the primary's frame is timed.
    if (index == 0) {
      pair[0]->Step();
    } else {
      const UntimedScope untimed;
      pair[static_cast<std::size_t>(index)]->Step();
    }
  };
  for (int warm = 0; warm < 10; ++warm) {
    alone.Step();
    workers.Run(2, job);
  }
  double aloneSeconds = 0, pairSeconds = 0, bestAlone = 1e9, bestPair = 1e9;
  for (auto _ : state) {
    const auto start = std::chrono::steady_clock::now();
    alone.Step();
    const auto middle = std::chrono::steady_clock::now();
    workers.Run(2, job);
    const auto end = std::chrono::steady_clock::now();
    aloneSeconds += Seconds(start, middle);
    pairSeconds += Seconds(middle, end);
    bestAlone = std::min(bestAlone, Seconds(start, middle));
    bestPair = std::min(bestPair, Seconds(middle, end));
  }
  const double n = static_cast<double>(state.iterations());
  state.counters["pair_x_alone"] = pairSeconds / aloneSeconds;
  state.counters["best_pair_x_alone"] = bestPair / bestAlone;
  state.counters["alone_ms"] = 1e3 * aloneSeconds / n;
  state.counters["pair_ms"] = 1e3 * pairSeconds / n;
  state.counters["threads"] = workers.Threads();
}

BENCHMARK(TwoMonitors)->Args({3840, 2160})->ArgNames({"w", "h"})->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
