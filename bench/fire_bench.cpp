// The stages of one fire frame at 1080p and 4K, each beside its plain scalar
// reference and beside a memcpy that moves as many bytes as the stage must read
// and write (a copy of n bytes reads n and writes n). SeededStep is the walk
// FireManager::Update makes: seeding, spreading and attenuating in one pass.
// The whole frame through the fire manager, with its ratio to a memcpy of the
// surface, is fire_manager_bench. Build with the bench preset (Release, no
// sanitizers): cmake --preset bench && cmake --build --preset bench
#include <benchmark/benchmark.h>

#include <cstring>
#include <memory>
#include <random>
#include <vector>

#include "diagnostics/performance_monitor.h"
#include "fire/depth_image_copyer.h"
#include "fire/flame.h"
#include "fire/flame_render.h"
#include "fire/insert_bright.h"
#include "fire/scalar_flame_filter.h"
#include "fire/scalar_flame_render.h"
#include "fire/scalar_insert_bright.h"
#include "fire/sse2_flame_filter.h"
#include "image/byte_image.h"
#include "image/memory_surface.h"

namespace {

class ScalarFlame : public Flame {
 protected:
  std::unique_ptr<FlameFilter> MakeFilter() override { return std::make_unique<ScalarFlameFilter>(); }
};

// The 32-bit copy one pixel at a time, as the reference for the copier.
void PlainCopy32(const ByteImage& image, const std::uint8_t* table, MemorySurface& surface) {
  for (std::int32_t y = 0; y < image.height; ++y) {
    std::uint8_t* out = surface.FirstPixel() + static_cast<std::ptrdiff_t>(y) * surface.PitchBytes();
    for (std::int32_t x = 0; x < image.width; ++x) std::memcpy(out + 4 * x, table + 4 * image.Row(y)[x], 4);
  }
}

// Everything one frame needs, warmed up so that the field holds real fire.
struct Scene {
  Scene(int width, int height, bool scalar) : plain(scalar) {
    if (!PerformanceMonitor::IsInitialized()) PerformanceMonitor::Init(false, false, "mf.pm.log");
    grey.Create(width, height);
    // Blocks of hashed brightness: plenty of edges, like a photograph's outlines.
    for (int y = 0; y < height; ++y) {
      for (int x = 0; x < width; ++x) {
        std::uint32_t h = static_cast<std::uint32_t>((y / 24) * 7919 + x / 40) * 2654435761u;
        grey.Row(y)[x] = static_cast<std::uint8_t>(h >> 24);
      }
    }
    output.Create(width, height);
    flame = scalar ? std::unique_ptr<Flame>(new ScalarFlame) : std::make_unique<Flame>();
    flame->Create(grey);
    bright = scalar ? std::unique_ptr<InsertBright>(new ScalarInsertBright) : std::make_unique<InsertBright>();
    bright->Prepare(grey);
    render = scalar ? std::unique_ptr<FlameRender>(new ScalarFlameRender) : std::make_unique<FlameRender>();
    for (int i = 0; i < 256; ++i) {
      table[4 * i] = static_cast<std::uint8_t>(i);
      table[4 * i + 1] = static_cast<std::uint8_t>(i / 2);
      table[4 * i + 2] = static_cast<std::uint8_t>(255 - i);
    }
    copyer = std::make_unique<FireImageCopyer32>(table);
    surface = std::make_unique<MemorySurface>(width, height, 32);
    for (int i = 0; i < 3; ++i) Frame();
    // The two halves of the step on a copy of the warmed-up field.
    filter = scalar ? std::unique_ptr<FlameFilter>(new ScalarFlameFilter) : std::make_unique<Sse2FlameFilter>();
    const ByteImage& field = flame->HeatImage();
    const std::size_t size = static_cast<std::size_t>(field.pitch) * static_cast<std::size_t>(field.height);
    fieldCopy.assign(field.data, field.data + size);
    otherBuffer.assign(size, 0);
    fieldImage.data = fieldCopy.data();
    fieldImage.width = field.width;
    fieldImage.height = field.height;
    fieldImage.pitch = field.pitch;
    otherPointer = otherBuffer.data();
  }
  ~Scene() { fieldImage.data = nullptr; }

  void Frame() {
    bright->Update(flame->HeatImage());
    flame->Update(33);
    render->Rander(flame->HeatImage(), grey, output);
    Copy();
  }

  void Copy() {
    if (plain) {
      PlainCopy32(output, table, *surface);
    } else {
      copyer->CopyImageToSurface(output, *surface);
    }
  }

  // Render and copy in one walk; the plain version is the two one after the other.
  void RenderCopy() {
    if (plain) {
      render->Rander(flame->HeatImage(), grey, output);
      PlainCopy32(output, table, *surface);
    } else {
      copyer->RenderToSurface(flame->HeatImage(), grey, *surface);
    }
  }

  bool plain;
  ByteImage grey, output;
  std::unique_ptr<Flame> flame;
  std::unique_ptr<InsertBright> bright;
  std::unique_ptr<FlameRender> render;
  std::uint8_t table[1024] = {};
  std::unique_ptr<FireImageCopyer32> copyer;
  std::unique_ptr<MemorySurface> surface;
  std::unique_ptr<FlameFilter> filter;
  std::vector<std::uint8_t> fieldCopy, otherBuffer;
  ByteImage fieldImage;  // does not own fieldCopy's bytes
  std::uint8_t* otherPointer = nullptr;
};

enum Stage { kSeeding, kHeatStep, kRender, kCopy32, kFrame, kSpreadUp, kBlur, kSeededStep, kRenderCopy32 };

// Bytes each stage reads plus writes, in units of width x height.
constexpr double kTraffic[] = {
    4.0,  // seeding: edge map, spark rows and heat read, heat written
    2.0,  // heat step: the field read and written back in place
    3.0,  // render: heat and grey read, indices written
    5.0,  // 32-bit copy: indices read, four bytes a pixel written
    16.0,
    2.0,  // the spread alone: field read, other buffer written
    2.0,  // the attenuation alone: other buffer read and written
    3.0,  // seeding and step in one walk: field and lit sparks read, field written back
    6.0,  // rendering on the way to a 32-bit surface: heat and grey read, four bytes a pixel written
};

void RunStage(benchmark::State& state, Stage stage, bool scalar) {
  const int width = static_cast<int>(state.range(0));
  const int height = static_cast<int>(state.range(1));
  Scene scene(width, height, scalar);
  for (auto _ : state) {
    switch (stage) {
      case kSeeding:
        scene.bright->Update(scene.flame->HeatImage());
        break;
      case kHeatStep:
        scene.flame->Update(33);
        break;
      case kRender:
        scene.render->Rander(scene.flame->HeatImage(), scene.grey, scene.output);
        break;
      case kCopy32:
        scene.Copy();
        break;
      case kFrame:
        scene.Frame();
        break;
      case kSpreadUp:
        scene.filter->SpreadUp(scene.fieldImage, scene.otherPointer);
        break;
      case kRenderCopy32:
        scene.RenderCopy();
        break;
      case kSeededStep:
        scene.flame->Update(33, *scene.bright);
        break;
      case kBlur:
        // Swaps the two buffers each time: alternately attenuates each of them.
        scene.filter->Blur(scene.fieldImage, scene.otherPointer, 0);
        break;
    }
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * kTraffic[stage] * width * height));
}

void RunMemcpy(benchmark::State& state, Stage stage) {
  const std::size_t pixels = static_cast<std::size_t>(state.range(0)) * static_cast<std::size_t>(state.range(1));
  const std::size_t bytes = static_cast<std::size_t>(kTraffic[stage] / 2 * static_cast<double>(pixels));
  std::vector<std::uint8_t> from(bytes, 1), to(bytes, 0);
  for (auto _ : state) {
    std::memcpy(to.data(), from.data(), bytes);
    benchmark::DoNotOptimize(to.data());
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * 2 * bytes));
}

void Sizes(benchmark::internal::Benchmark* b) {
  b->Args({1920, 1080})->Args({3840, 2160})->Unit(benchmark::kMicrosecond);
}

#define FIRE_STAGE(name, stage)                                         \
  void name##_Sse2(benchmark::State& s) { RunStage(s, stage, false); }  \
  void name##_Scalar(benchmark::State& s) { RunStage(s, stage, true); } \
  void name##_Memcpy(benchmark::State& s) { RunMemcpy(s, stage); }      \
  BENCHMARK(name##_Sse2)->Apply(Sizes);                                 \
  BENCHMARK(name##_Scalar)->Apply(Sizes);                               \
  BENCHMARK(name##_Memcpy)->Apply(Sizes);

FIRE_STAGE(Seeding, kSeeding)
FIRE_STAGE(HeatStep, kHeatStep)
FIRE_STAGE(HeatSpreadUp, kSpreadUp)
FIRE_STAGE(HeatBlur, kBlur)
FIRE_STAGE(Render, kRender)
FIRE_STAGE(Copy32, kCopy32)
FIRE_STAGE(RenderCopy32, kRenderCopy32)
FIRE_STAGE(SeededStep, kSeededStep)
FIRE_STAGE(WholeFrame, kFrame)

}  // namespace

BENCHMARK_MAIN();
