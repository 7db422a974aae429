#include "fire/flame.h"

#include <algorithm>

#include "diagnostics/performance_monitor.h"
#include "fire/sse2_flame_filter.h"
#include "fire/unseen_time.h"

Flame::~Flame() { Destroy(); }

std::unique_ptr<FlameFilter> Flame::MakeFilter() { return std::make_unique<Sse2FlameFilter>(); }

bool Flame::Create(const ByteImage& reference) {
  Destroy();
  filter_ = MakeFilter();
  const std::int32_t width = std::max(reference.width, 0);
  const std::int32_t height = std::max(reference.height, 0);
  const std::int32_t pitch = (width + 7) / 8 * 8;
  const std::size_t size = static_cast<std::size_t>(pitch) * static_cast<std::size_t>(height);
  try {
    // The heat image does not own its buffer: the plain step swaps the two pointers.
    heat_.data = new std::uint8_t[std::max<std::size_t>(size, 1)]();
    other_ = new std::uint8_t[std::max<std::size_t>(size, 1)]();
  } catch (...) {
    Destroy();
    throw;
  }
  heat_.owned = false;
  heat_.width = width;
  heat_.height = height;
  heat_.pitch = pitch;
  filter_->Reserve(pitch);
  return true;
}

void Flame::Destroy() {
  filter_.reset();
  delete[] heat_.data;
  delete[] other_;
  heat_.data = nullptr;
  other_ = nullptr;
  heat_.Release();
}

bool Flame::Update(std::uint32_t elapsedMs) { return Step(elapsedMs, nullptr); }

bool Flame::Update(std::uint32_t elapsedMs, HeatSeeder& seeder) { return Step(elapsedMs, &seeder); }

bool Flame::Step(std::uint32_t elapsedMs, HeatSeeder* seeder) {
  // Spreading and attenuating run in one walk over the field (together with
  // the seeding when a seeder is given), so there is one scope for all of it.
  PerformanceScope scope("Flame::Update()");
  if (!filter_) return false;
  filter_->Step(heat_, other_, seeder);
  if (!styleChangeEnabled_) return false;
  styleElapsed_ += elapsedMs;
  if (styleElapsed_ < stylePeriod_) return false;
  // Unlike the palette and background timers, the excess is dropped.
  styleElapsed_ = 0;
  return true;
}

void Flame::SetStyle(const std::uint8_t temperatures[8], const std::uint8_t modes[8]) {
  if (filter_) filter_->SetStyle(temperatures, modes);
}

void Flame::SetStylePeriod(std::uint32_t periodMs) {
  stylePeriod_ = periodMs;
  styleElapsed_ = 0;
}

std::uint32_t Flame::CountUnseen(std::uint32_t elapsedMs) {
  if (!styleChangeEnabled_) return 0;
  return CountPeriods(styleElapsed_, elapsedMs, stylePeriod_);
}

void Flame::EnableStyleChange(bool enable) { styleChangeEnabled_ = enable; }
