#pragma once
#include <string>

#include "fire/fire_style.h"

// What the style editor does with the eight areas of a fire style, apart from
// the controls that show them: the slider rule and the plain-language
// description. Windows-free and stateless.
class StyleAreas {
 public:
  // After the temperature of area `moved` changed: each area to its right that is
  // hotter than its left neighbour comes down to that neighbour's temperature,
  // up to the first one that is not hotter. Areas left of `moved` never change,
  // so raising an area never pushes the one before it. Returns the number of
  // areas it lowered.
  static int PullDownAfter(FireStyle& style, int moved);

  // One line per area whose temperature lies strictly below that of the last
  // area described (255 before the first), naming the range and the amount the
  // fire takes off a heat value in it at every step; lines end in CR LF.
  static std::string Description(const FireStyle& style);
};
