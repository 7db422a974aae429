#include "settings/monitor_fire.h"

#include <utility>

#include "settings/change_periods.h"

MonitorFire::MonitorFire(const ScreenRect& monitorArea, int bitsPerPixel)
    : area(monitorArea),
      bpp(bitsPerPixel),
      source(area.width, area.height, bitsPerPixel),
      fire(settings),
      surface(area.width, area.height, bitsPerPixel) {}

bool MonitorFire::Load(const std::string& folder, std::optional<DecodedImage> desktop) {
  if (!settings.LoadFromFolder(folder)) return false;
  if (desktop) source.SetDesktopSnapshot(std::move(*desktop));
  return true;
}

int MonitorFire::CreateFire() {
  FireParameters parameters;
  parameters.width = area.width;
  parameters.height = area.height;
  parameters.bitsPerPixel = bpp;
  if (const int code = fire.Create(parameters, source); code != 0) return code;
  HandChangePeriods(settings, fire);
  return 0;
}
