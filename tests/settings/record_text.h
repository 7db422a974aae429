#pragma once
#include <string>

#include "settings/settings.h"

// Records as texts, so that comparisons in tests print what differs.
inline std::string Text(const PaletteRecord& record) {
  std::string text;
  for (const PalettePoint& point : record.points) text += std::to_string(point.x) + "," + std::to_string(point.y) + " ";
  return text;
}

inline std::string Text(const FireStyle& style) { return Settings::FormatStyle(style); }
