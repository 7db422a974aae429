#include "editing/style_areas.h"

int StyleAreas::PullDownAfter(FireStyle& style, int moved) {
  int lowered = 0;
  for (int a = moved; a >= 0 && a + 1 < FireStyle::kAreas; ++a) {
    if (style.temperatures[a + 1] <= style.temperatures[a]) break;
    style.temperatures[a + 1] = style.temperatures[a];
    ++lowered;
  }
  return lowered;
}

std::string StyleAreas::Description(const FireStyle& style) {
  std::string text;
  int bound = 255;
  for (int a = 0; a < FireStyle::kAreas; ++a) {
    const int temperature = style.temperatures[a];
    if (temperature >= bound) continue;
    text += "The temperature in area [" + std::to_string(bound) + "," + std::to_string(temperature);
    const int mode = style.modes[a];
    text += mode == 0 ? "] will not be attenuated.\r\n" : "] will be attenuated  " + std::to_string(mode) + ".\r\n";
    bound = temperature;
  }
  return text;
}
