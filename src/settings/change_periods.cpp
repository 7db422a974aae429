#include "settings/change_periods.h"

#include "fire/fire_manager.h"
#include "settings/settings.h"

void HandChangePeriod(const Settings& settings, Rotation rotation, FireManager& fire) {
  const std::uint32_t periodMs = settings.IntervalMs(rotation);
  switch (rotation) {
    case Rotation::kBackground:
      fire.SetBackgroundPeriod(periodMs);
      break;
    case Rotation::kPalette:
      fire.SetPalettePeriod(periodMs);
      break;
    case Rotation::kStyle:
      fire.SetStylePeriod(periodMs);
      break;
  }
}

void HandChangePeriods(const Settings& settings, FireManager& fire) {
  for (Rotation rotation : kRotations) HandChangePeriod(settings, rotation, fire);
}
