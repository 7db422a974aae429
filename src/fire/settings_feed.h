#pragma once
#include <cstdint>
#include <string>

class Settings;

// What the fire manager takes from the settings, in plain numbers: the rotating
// lists' current and next entries. Kept in its own translation unit because the
// settings and the fire engine each declare a palette record and a style record
// of their own (the same layout, different member names), which cannot meet in
// one file.
class SettingsFeed {
 public:
  // x, y of red points 0..3, then green, then blue.
  using PalettePoints = std::int32_t[24];

  explicit SettingsFeed(Settings& settings) : settings_(settings) {}

  std::string CurrentBackground();
  // Advances the list; an empty list gives an empty name.
  std::string NextBackground();
  void CurrentPalette(PalettePoints points);
  // Advances the list; an empty list gives the built-in default palette.
  void NextPalette(PalettePoints points);
  void CurrentStyle(std::uint8_t temperatures[8], std::uint8_t modes[8]);
  void NextStyle();

 private:
  Settings& settings_;
};
