#include "fire/sse2_flame_filter.h"

#include <algorithm>
#include <cstddef>
#include <utility>

#include "fire/avx2_flame_step.h"
#include "fire/flame_step_kernels.h"

Sse2FlameFilter::Sse2FlameFilter(bool useAvx2) : useAvx2_(useAvx2 && Avx2Available()) { PrepareSteps(); }

void Sse2FlameFilter::SpreadUp(const ByteImage& heat, std::uint8_t* other) {
  const SpreadRegion region(heat);
  if (region.columns == 0 || heat.data == nullptr || other == nullptr) return;
  std::int32_t y = 0;
  auto out = [&](std::int32_t row) { return other + static_cast<std::ptrdiff_t>(row) * heat.pitch; };
  for (; y + 1 <= region.lastRow; y += 2) SpreadUpRows(heat, y, region.columns, true, out(y), out(y + 1), Unchanged{});
  if (y == region.lastRow) SpreadUpRows(heat, y, region.columns, false, out(y), nullptr, Unchanged{});
}

void Sse2FlameFilter::Blur(ByteImage& heat, std::uint8_t*& other, std::int32_t /*unused*/) {
  if (other != nullptr && heat.pitch > 0 && heat.height > 0) {
    const std::size_t count = static_cast<std::size_t>(heat.pitch) * static_cast<std::size_t>(heat.height);
    WithAttenuator([&](const auto& attenuate) { attenuate.Apply(other, count); });
  }
  std::swap(heat.data, other);
}

void Sse2FlameFilter::Reserve(std::int32_t pitch) {
  if (static_cast<std::size_t>(std::max(pitch, 0)) > scratch_.size()) scratch_.resize(static_cast<std::size_t>(pitch));
}

void Sse2FlameFilter::Step(ByteImage& heat, std::uint8_t*& other, HeatSeeder* seeder) {
  // A field too small to spread is only attenuated: the plain step does that.
  if (other == nullptr || heat.data == nullptr || heat.pitch <= 0 || SpreadRegion(heat).columns == 0) {
    FlameFilter::Step(heat, other, seeder);
    return;
  }
  Reserve(heat.pitch);  // only when the flame did not reserve for this pitch
  std::uint8_t* scratch = scratch_.data();
  if (seeder != nullptr) seeder->BeginSeeding();
  if (useAvx2_) {
    Avx2StepInPlace(heat, other, scratch, seeder, baseAmount_, stepCount_, stepThresholds_, stepAmounts_);
    return;
  }
  WithAttenuator([&](const auto& attenuate) {
    StepInPlace(heat, other, scratch, seeder, attenuate,
                [&](std::int32_t y, std::int32_t columns, bool pair, std::uint8_t* top, std::uint8_t* bottom) {
                  SpreadUpRows(heat, y, columns, pair, top, bottom, attenuate);
                });
  });
}

template <class Work>
void Sse2FlameFilter::WithAttenuator(const Work& work) const {
  const std::uint8_t* t = stepThresholds_;
  const std::uint8_t* a = stepAmounts_;
  switch (stepCount_) {
    case 0:
      return work(Attenuator<0>(baseAmount_, t, a));
    case 1:
      return work(Attenuator<1>(baseAmount_, t, a));
    case 2:
      return work(Attenuator<2>(baseAmount_, t, a));
    case 3:
      return work(Attenuator<3>(baseAmount_, t, a));
    case 4:
      return work(Attenuator<4>(baseAmount_, t, a));
    case 5:
      return work(Attenuator<5>(baseAmount_, t, a));
    case 6:
      return work(Attenuator<6>(baseAmount_, t, a));
    case 7:
      return work(Attenuator<7>(baseAmount_, t, a));
    default:
      return work(Attenuator<8>(baseAmount_, t, a));
  }
}

void Sse2FlameFilter::SetStyle(const std::uint8_t temperatures[8], const std::uint8_t modes[8]) {
  ScalarFlameFilter::SetStyle(temperatures, modes);
  PrepareSteps();
}

void Sse2FlameFilter::PrepareSteps() {
  // Keep the areas that can win a first match: each must be colder than every
  // earlier one. The attenuation of v is then the wrapping byte sum, over the
  // kept areas at or below v, of each area's mode minus the next colder one's.
  std::uint8_t temps[FireStyle::kAreas];
  std::uint8_t modes[FireStyle::kAreas];
  int count = 0;
  for (int k = 0; k < FireStyle::kAreas; ++k) {
    if (count == 0 || style_.temperatures[k] < temps[count - 1]) {
      temps[count] = style_.temperatures[k];
      modes[count] = style_.modes[k];
      ++count;
    }
  }
  baseAmount_ = 0;
  stepCount_ = 0;
  for (int j = 0; j < count; ++j) {
    const std::uint8_t colder = j + 1 < count ? modes[j + 1] : 0;
    const std::uint8_t step = static_cast<std::uint8_t>(modes[j] - colder);
    if (temps[j] == 0) {
      baseAmount_ = static_cast<std::uint8_t>(baseAmount_ + step);  // every value reaches it
    } else {
      stepThresholds_[stepCount_] = static_cast<std::uint8_t>((temps[j] - 1) ^ 0x80);
      stepAmounts_[stepCount_] = step;
      ++stepCount_;
    }
  }
}
