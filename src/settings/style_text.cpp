// Style texts: eight "temperature,mode" pairs joined by "|", the form in which
// styles are listed, stored and compared.
#include <algorithm>
#include <boost/algorithm/string/classification.hpp>
#include <boost/algorithm/string/split.hpp>
#include <iterator>
#include <vector>

#include "settings/number_text.h"
#include "settings/settings.h"

FireStyle Settings::DefaultStyle() {
  // Heat 255 burns off fast and every heat from 50 to 254 loses 2 per step.
  static constexpr std::uint8_t kTemperatures[FireStyle::kAreas] = {255, 255, 50, 75, 100, 150, 180, 200};
  static constexpr std::uint8_t kModes[FireStyle::kAreas] = {80, 0, 2, 1, 0, 2, 0, 1};
  FireStyle style;
  std::copy(std::begin(kTemperatures), std::end(kTemperatures), style.temperatures);
  std::copy(std::begin(kModes), std::end(kModes), style.modes);
  return style;
}

FireStyle Settings::ParseStyle(const std::string& text) {
  FireStyle style = DefaultStyle();
  std::vector<std::string> pieces;
  // "," and "|" both separate; empty pieces count, so "1,,2" is three pieces.
  boost::algorithm::split(pieces, text, boost::algorithm::is_any_of(",|"), boost::algorithm::token_compress_off);
  if (pieces.size() % 2 != 0) return style;
  for (std::size_t k = 0; 2 * k + 1 < pieces.size() && k < FireStyle::kAreas; ++k) {
    style.temperatures[k] = static_cast<std::uint8_t>(TextToInt(pieces[2 * k]));
    style.modes[k] = static_cast<std::uint8_t>(TextToInt(pieces[2 * k + 1]));
  }
  return style;
}

std::string Settings::FormatStyle(const std::uint8_t temperature[8], const std::uint8_t mode[8]) {
  std::string text;
  for (int k = 0; k < FireStyle::kAreas; ++k) {
    if (k > 0) text += "|";
    text += std::to_string(temperature[k]) + "," + std::to_string(mode[k]);
  }
  return text;
}

std::string Settings::FormatStyle(const FireStyle& style) { return FormatStyle(style.temperatures, style.modes); }
