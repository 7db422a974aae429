#pragma once
#include "fire/palette_record.h"

// A palette whose three channels are given as four control points each.
inline PaletteRecord MakePalette(const PalettePoint (&red)[4], const PalettePoint (&green)[4],
                                 const PalettePoint (&blue)[4]) {
  PaletteRecord palette;
  for (int i = 0; i < 4; ++i) {
    palette.points[PaletteRecord::kRed + i] = red[i];
    palette.points[PaletteRecord::kGreen + i] = green[i];
    palette.points[PaletteRecord::kBlue + i] = blue[i];
  }
  return palette;
}

// Every channel a flat line at `level` across the whole index range.
inline PaletteRecord FlatPalette(int red, int green, int blue) {
  return MakePalette({{0, red}, {85, red}, {170, red}, {255, red}},
                     {{0, green}, {85, green}, {170, green}, {255, green}},
                     {{0, blue}, {85, blue}, {170, blue}, {255, blue}});
}
