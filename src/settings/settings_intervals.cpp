#include <algorithm>

#include "settings/change_interval.h"
#include "settings/settings.h"
#include "settings/settings_store.h"

namespace {

const char kTimeSection[] = "TimeSection";
const char* const kIntervalKeys[kRotationCount] = {"changeBackgroundTime", "changeColorTime", "changeBlurTime"};

}  // namespace

void Settings::SetInterval(Rotation rotation, std::uint32_t position) {
  intervals_[Slot(rotation)] = std::min(position, kMaxPosition);
}

std::uint32_t Settings::IntervalMs(Rotation rotation) const {
  return IntervalMilliseconds(Interval(rotation), kMinIntervalSeconds, kMaxIntervalSeconds);
}

std::string Settings::IntervalText(Rotation rotation) const {
  return ::IntervalText(Interval(rotation), kMinIntervalSeconds, kMaxIntervalSeconds);
}

// Positions are stored as the file has them, with no range check: the conversions
// define every value.
void Settings::ReadTimes(SettingsStore& config) {
  for (Rotation rotation : kRotations) {
    intervals_[Slot(rotation)] =
        static_cast<std::uint32_t>(config.ReadInt(kTimeSection, kIntervalKeys[Slot(rotation)], 50));
  }
  showFire_ = config.ReadBool(kTimeSection, "ShowFire", true);
}

void Settings::WriteTimes(SettingsStore& config) const {
  for (Rotation rotation : kRotations) {
    config.WriteInt(kTimeSection, kIntervalKeys[Slot(rotation)], static_cast<int>(Interval(rotation)));
  }
  config.WriteBool(kTimeSection, "ShowFire", showFire_);
}
