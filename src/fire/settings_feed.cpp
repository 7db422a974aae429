#include "fire/settings_feed.h"

#include "settings/settings.h"

namespace {

void Flatten(const PaletteRecord& record, SettingsFeed::PalettePoints points) {
  for (int i = 0; i < PaletteRecord::kPointCount; ++i) {
    points[2 * i] = record.Point(i).x;
    points[2 * i + 1] = record.Point(i).y;
  }
}

}  // namespace

std::string SettingsFeed::CurrentBackground() { return settings_.CurrentBackground(); }

std::string SettingsFeed::NextBackground() { return settings_.NextBackground(); }

void SettingsFeed::CurrentPalette(PalettePoints points) { Flatten(settings_.CurrentPalette(), points); }

void SettingsFeed::NextPalette(PalettePoints points) { Flatten(settings_.NextPalette(), points); }

void SettingsFeed::CurrentStyle(std::uint8_t temperatures[8], std::uint8_t modes[8]) {
  const FireStyle style = settings_.CurrentStyle();
  for (int k = 0; k < FireStyle::kAreas; ++k) {
    temperatures[k] = style.temperature[k];
    modes[k] = style.mode[k];
  }
}

void SettingsFeed::NextStyle() { settings_.NextStyle(); }
