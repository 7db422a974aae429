#pragma once
#include <cstdint>

struct PalettePoint {
  std::int32_t x = 0;
  std::int32_t y = 0;

  friend bool operator==(const PalettePoint&, const PalettePoint&) = default;
};

// A palette: per channel the four control points of a cubic Bézier curve whose x
// is the table index (0 cold .. 255 hottest) and y the channel's intensity.
// Points 0..3 are red, 4..7 green, 8..11 blue. Values outside 0..255 are allowed;
// they are clamped where the curve is written into a table.
struct PaletteRecord {
  static constexpr int kPoints = 12;
  static constexpr int kRed = 0;
  static constexpr int kGreen = 4;
  static constexpr int kBlue = 8;

  PalettePoint points[kPoints];

  // Palettes are equal when all twelve points are.
  friend bool operator==(const PaletteRecord&, const PaletteRecord&) = default;
};

static_assert(sizeof(PalettePoint) == 8);
static_assert(sizeof(PaletteRecord) == 96);
