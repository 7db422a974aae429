#pragma once
#include <vector>

#include "fire/scalar_flame_filter.h"

// The filter the flame uses: the upward spread and the attenuation run sixteen
// bytes at a time with SSE2; the other directions are the plain ones (nothing
// in the program calls them). Agrees with ScalarFlameFilter bit for bit.
// Step walks the field once, two rows at a time, and works in place: it has
// the seeder seed the rows the next pair reads, spreads the pair and
// attenuates it before storing it back into the field, so each row passes
// through the cache once per frame and the other buffer is touched only at
// the cells the spread leaves alone (see StepInPlace). Where the processor
// has AVX2 that walk runs 32 bytes at a time (see avx2_flame_step.h); SSE2
// stays the baseline and gives the same bytes.
class Sse2FlameFilter : public ScalarFlameFilter {
 public:
  // `useAvx2` false keeps to SSE2 even where AVX2 is present (tests of that path).
  explicit Sse2FlameFilter(bool useAvx2 = true);

  void SpreadUp(const ByteImage& heat, std::uint8_t* other) override;
  void Blur(ByteImage& heat, std::uint8_t*& other, std::int32_t unused) override;
  void Step(ByteImage& heat, std::uint8_t*& other, HeatSeeder* seeder) override;
  void Reserve(std::int32_t pitch) override;
  void SetStyle(const std::uint8_t temperatures[8], const std::uint8_t modes[8]) override;

 private:
  void PrepareSteps();
  // Calls `work` with the attenuator of the current style, specialised for its
  // number of steps.
  template <class Work>
  void WithAttenuator(const Work& work) const;

  // The style reduced to the areas that can ever apply, as steps: a value at or
  // above a step's temperature gets its amount added to the attenuation.
  // Thresholds are (temperature - 1) with the top bit flipped, for a signed
  // compare; areas at temperature 0 apply to every value and form the base.
  bool useAvx2_;
  std::vector<std::uint8_t> scratch_;  // one row: the lower row of a pair on its way back
  int stepCount_ = 0;
  std::uint8_t baseAmount_ = 0;
  std::uint8_t stepThresholds_[FireStyle::kAreas] = {};
  std::uint8_t stepAmounts_[FireStyle::kAreas] = {};
};
