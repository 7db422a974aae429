#include <algorithm>

#include "settings/change_interval.h"
#include "settings/settings.h"
#include "settings/settings_store.h"

namespace {

const char kTimeSection[] = "TimeSection";

}  // namespace

void Settings::SetBackgroundInterval(std::uint32_t position) { backgroundInterval_ = std::min(position, kMaxPosition); }
void Settings::SetPaletteInterval(std::uint32_t position) { paletteInterval_ = std::min(position, kMaxPosition); }
void Settings::SetStyleInterval(std::uint32_t position) { styleInterval_ = std::min(position, kMaxPosition); }

std::uint32_t Settings::GetBackgroundIntervalMs() const {
  return IntervalMilliseconds(backgroundInterval_, kMinIntervalSeconds, kMaxIntervalSeconds);
}
std::uint32_t Settings::GetPaletteIntervalMs() const {
  return IntervalMilliseconds(paletteInterval_, kMinIntervalSeconds, kMaxIntervalSeconds);
}
std::uint32_t Settings::GetStyleIntervalMs() const {
  return IntervalMilliseconds(styleInterval_, kMinIntervalSeconds, kMaxIntervalSeconds);
}

std::string Settings::GetBackgroundIntervalText() const {
  return IntervalText(backgroundInterval_, kMinIntervalSeconds, kMaxIntervalSeconds);
}
std::string Settings::GetPaletteIntervalText() const {
  return IntervalText(paletteInterval_, kMinIntervalSeconds, kMaxIntervalSeconds);
}
std::string Settings::GetStyleIntervalText() const {
  return IntervalText(styleInterval_, kMinIntervalSeconds, kMaxIntervalSeconds);
}

// Positions are stored as the file has them, with no range check: the conversions
// define every value.
void Settings::ReadTimes(SettingsStore& config) {
  backgroundInterval_ = static_cast<std::uint32_t>(config.ReadInt(kTimeSection, "changeBackgroundTime", 50));
  paletteInterval_ = static_cast<std::uint32_t>(config.ReadInt(kTimeSection, "changeColorTime", 50));
  styleInterval_ = static_cast<std::uint32_t>(config.ReadInt(kTimeSection, "changeBlurTime", 50));
  showFire_ = config.ReadBool(kTimeSection, "ShowFire", true);
}

void Settings::WriteTimes(SettingsStore& config) const {
  config.WriteInt(kTimeSection, "changeBackgroundTime", static_cast<int>(backgroundInterval_));
  config.WriteInt(kTimeSection, "changeColorTime", static_cast<int>(paletteInterval_));
  config.WriteInt(kTimeSection, "changeBlurTime", static_cast<int>(styleInterval_));
  config.WriteBool(kTimeSection, "ShowFire", showFire_);
}
