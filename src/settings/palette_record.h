#pragma once
#include <cstdint>

// One control point of a palette curve: x is the table index (0 cold, 255 hottest),
// y the channel's intensity. Values outside 0..255 are allowed and clamped where
// the curve is drawn into the table.
struct PalettePoint {
  std::int32_t x = 0;
  std::int32_t y = 0;

  friend bool operator==(const PalettePoint&, const PalettePoint&) = default;
};

// A palette: per colour channel the four control points of a cubic Bezier curve
// over the palette index, points 0 and 3 the ends, 1 and 2 the handles. Laid out
// as twelve points, red 0..3, green 0..3, blue 0..3 (96 bytes), the order in which
// they are stored in the settings files.
struct PaletteRecord {
  PalettePoint red[4];
  PalettePoint green[4];
  PalettePoint blue[4];

  static constexpr int kPointCount = 12;

  // The twelve points in file order, red first.
  PalettePoint& Point(int i) { return i < 4 ? red[i] : i < 8 ? green[i - 4] : blue[i - 8]; }
  const PalettePoint& Point(int i) const { return i < 4 ? red[i] : i < 8 ? green[i - 4] : blue[i - 8]; }

  friend bool operator==(const PaletteRecord&, const PaletteRecord&) = default;
};

static_assert(sizeof(PaletteRecord) == 96, "twelve points of two 32-bit integers");
