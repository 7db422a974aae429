#pragma once
#include <cstdint>

// A fire style: eight areas of the heat range, area 1 first. An area applies to heat
// values at or above its temperature (unless an earlier area applies) and takes
// `mode[k]` off such a value at every step; 0 leaves it alone.
struct FireStyle {
  static constexpr int kAreas = 8;

  std::uint8_t temperature[kAreas] = {};
  std::uint8_t mode[kAreas] = {};

  friend bool operator==(const FireStyle&, const FireStyle&) = default;
};
