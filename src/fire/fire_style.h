#pragma once
#include <cstdint>

// A fire style: eight temperature areas, hottest first. A heat value belongs to
// the first area whose temperature is at or below it and loses that area's mode
// at every step; below every temperature it is not attenuated.
struct FireStyle {
  static constexpr int kAreas = 8;

  std::uint8_t temperatures[kAreas] = {200, 180, 150, 100, 75, 50, 255, 255};
  std::uint8_t modes[kAreas] = {1, 0, 2, 0, 1, 2, 0, 2};
};
