#pragma once
#include "fire/scalar_flame_filter.h"

// The filter the flame uses: the upward spread and the attenuation run sixteen
// bytes at a time with SSE2; the other directions are the plain ones (nothing
// in the program calls them). Agrees with ScalarFlameFilter bit for bit.
class Sse2FlameFilter : public ScalarFlameFilter {
 public:
  Sse2FlameFilter();

  void SpreadUp(const ByteImage& heat, std::uint8_t* other) override;
  void Blur(ByteImage& heat, std::uint8_t*& other, std::int32_t unused) override;
  void SetStyle(const std::uint8_t temperatures[8], const std::uint8_t modes[8]) override;

 private:
  void PrepareSteps();

  // The style reduced to the areas that can ever apply (strictly falling
  // temperatures), coldest first, each with the amount it adds on top of the
  // colder ones, so that the attenuation of v is the wrapping byte sum of the
  // steps whose temperature is at or below v.
  int stepCount_ = 0;
  std::uint8_t stepTemperatures_[FireStyle::kAreas] = {};
  std::uint8_t stepAmounts_[FireStyle::kAreas] = {};
};
